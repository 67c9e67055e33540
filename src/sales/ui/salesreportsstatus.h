#pragma once
// 상품판매현황: the sales of a time window (sale date and time) of one user
// or all, shown three ways: the lines of each voucher with its payment on
// its first line ("상품판매현황"), the sum per item with a subtotal per goods
// class ("상품판매현황(집계)"), and the sum per day ("상품판매일보").

#include "sales/salesreports.h"
#include "widgets/reportscreen.h"

class QComboBox;
class QLineEdit;

namespace fitrova {

class DateEdit;

// A time input of the report criteria: "6" or "0600" becomes "06:00:00" when
// it is left.
QLineEdit *reportTimeInput(QWidget *parent, const QString &objectName, const QString &text);
// Chooses the item "code-…" of a list of codes ("0001-김은정"); false when
// there is none.
bool selectCodeItem(QComboBox *combo, const QString &code);

class SalesStatusReport : public ReportScreen {
    Q_OBJECT
public:
    enum class View { Lines = 0, Items = 1, Days = 2 };
    explicit SalesStatusReport(UiContext &ui, QWidget *parent = nullptr);

    void setView(View v);
    View view() const;
    // The window of the inputs; nothing after telling the user.
    std::optional<TimeWindow> window();

protected:
    bool startQuery() override;
    ReportPrint printSpec() const override;
    QString exportName() const override;

private:
    void viewChanged();

    DateEdit *m_from, *m_to;
    QLineEdit *m_time1, *m_time2;
    QComboBox *m_user, *m_view;
};

} // namespace fitrova
