#pragma once
// The cash book over a period (회계_출납조회): kind, account and payment kind
// filters, the balance brought forward, the entries with their running
// balance and the totals; printed as the report "수입지출현황" or as the
// list, and exported to a spreadsheet.

#include "closing/cashbook.h"
#include "widgets/uicontext.h"

#include <QWidget>

class QComboBox;

namespace fitrova {

class DataGrid;
class DateEdit;
struct CashBookReportData;

class CashQueryScreen : public QWidget {
    Q_OBJECT
public:
    explicit CashQueryScreen(UiContext &ui, QWidget *parent = nullptr);

    void query();
    void printReport();
    // What the report prints for the current criteria and rows.
    CashBookReportData reportData() const;

    DataGrid *grid() const { return m_grid; }
    const CashBook &book() const { return m_book; }

private:
    void reloadAccounts();
    CashBookFilter filter() const;

    UiContext &m_ui;
    DateEdit *m_from, *m_to;
    QComboBox *m_kind, *m_account, *m_pay;
    DataGrid *m_grid;
    CashBook m_book;
    CashBookFilter m_shown; // the criteria of the rows shown
};

} // namespace fitrova
