#pragma once
// 상품판매조회: the vouchers of a day, the latest first, each a row of its
// number, payment, user, POS, time and cash-receipt state followed by its
// lines. The tick of a voucher row (or 현금영수증) sets or clears its
// cash-receipt flag. 선택 (or a double click) hands the voucher to the point
// of sale ("Menu26" with SlNo, SlDate, SlUser) and closes. Opened with
// UserCode, Course and sDate.

#include "sales/salesreports.h"
#include "widgets/uicontext.h"

#include <QDialog>

class QComboBox;

namespace fitrova {

class DataGrid;
class DateEdit;

class SalesInquiryDialog : public QDialog {
    Q_OBJECT
public:
    enum Column { ColNumber = 0, ColCash = 4, ColCard = 5, ColReceipt = 9 };
    SalesInquiryDialog(UiContext &ui, const ScreenArgs &args, QWidget *parent = nullptr);

    // Given by the opener.
    QString UserCode, Course, sDate;
    // Set when a voucher was picked.
    QString SlNo, SlDate, SlUser;

    DataGrid *grid() const { return m_grid; }
    const QList<DayVoucher> &vouchers() const { return m_vouchers; }

    void search();
    bool pick(int row);
    // Sets the cash-receipt flag of the voucher of the row.
    bool setReceipt(int row, bool issued);

private:
    const DayVoucher *voucherAt(int row) const;

    UiContext &m_ui;
    DateEdit *m_date;
    QComboBox *m_course, *m_user;
    DataGrid *m_grid;
    QList<DayVoucher> m_vouchers;
    bool m_filling = false;
};

} // namespace fitrova
