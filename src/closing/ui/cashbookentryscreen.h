#pragma once
// The cash book's daily entries (회계_수입지출): the balance brought forward
// to the day, the day's entries with their running balance, and the entry
// inputs (account code with its pick list, amount, description with the
// account's standard descriptions).

#include "closing/cashbook.h"
#include "widgets/uicontext.h"

#include <QWidget>

class QLabel;
class QLineEdit;

namespace fitrova {

class DataGrid;
class DateEdit;
class MoneyEdit;

class CashEntryScreen : public QWidget {
    Q_OBJECT
public:
    explicit CashEntryScreen(UiContext &ui, QWidget *parent = nullptr);

    void reload();
    void newEntry();
    bool save();
    void deleteSelected();
    // Looks the typed account code up; false (and told) when it is not one.
    bool lookupAccount();
    void pickAccount();
    void pickDescription();

    DataGrid *grid() const { return m_grid; }
    DateEdit *dateEdit() const { return m_date; }
    const CashBook &book() const { return m_book; }

private:
    void showRow(int row);
    void showAccount(const std::optional<CashAccount> &a);

    UiContext &m_ui;
    DateEdit *m_date;
    DataGrid *m_grid;
    QLineEdit *m_code, *m_text;
    QLabel *m_name, *m_kind, *m_pay, *m_totals;
    MoneyEdit *m_amount;
    CashBook m_book;
    qint64 m_seq = 0;     // entry being changed; 0 new
    bool m_carried = false; // the brought-forward row is selected
};

} // namespace fitrova
