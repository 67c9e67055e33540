#pragma once
// The cash book's accounts (회계_계정과목, caption "계정과목등록") and the
// standard descriptions of an account (회계_적요코드), with the two pick lists
// the entry screen uses (회계_과목조회, 회계_적요조회).

#include "closing/cashbook.h"
#include "widgets/uicontext.h"

#include <QDialog>
#include <QWidget>

class QComboBox;
class QLineEdit;

namespace fitrova {

class DataGrid;

class CashAccountScreen : public QWidget {
    Q_OBJECT
public:
    explicit CashAccountScreen(UiContext &ui, QWidget *parent = nullptr);

    void reload();
    void newAccount();
    void save();
    void deleteSelected();
    DataGrid *grid() const { return m_grid; }

private:
    void showRow(int row);
    void kindChosen();

    UiContext &m_ui;
    QComboBox *m_filter, *m_kind, *m_pay;
    QLineEdit *m_code, *m_name;
    DataGrid *m_grid;
    bool m_editing = false;
};

class CashDescriptionScreen : public QWidget {
    Q_OBJECT
public:
    explicit CashDescriptionScreen(UiContext &ui, QWidget *parent = nullptr);

    void reloadAccounts();
    void reloadDescriptions();
    void newDescription();
    void save();
    void deleteSelected();
    DataGrid *accounts() const { return m_accounts; }
    DataGrid *descriptions() const { return m_list; }

private:
    QString accountCode() const;

    UiContext &m_ui;
    QComboBox *m_kind;
    DataGrid *m_accounts, *m_list;
    QLineEdit *m_no, *m_text;
};

// A pick list of the cash book: accounts of a kind, or descriptions of an
// account. A double click, Enter or 선택 picks the row.
class CashPickDialog : public QDialog {
    Q_OBJECT
public:
    enum class Kind { Accounts, Descriptions };
    // Accounts: `key` is the kind ("1", "2"; "" all). Descriptions: the account code.
    CashPickDialog(UiContext &ui, Kind kind, const QString &key, QWidget *parent = nullptr);

    bool TF = false;
    // The picked account code or description text.
    QString picked() const { return m_picked; }
    DataGrid *grid() const { return m_grid; }

private:
    void pick();

    DataGrid *m_grid;
    Kind m_kind;
    QString m_picked;
};

} // namespace fitrova
