#pragma once
// The editors of the SMS account administration: a customer login
// (SMS사용처Sub), the deposits of an account (sms입금1) and one deposit
// (SMS입금Sub).

#include "messaging/smsaccounts.h"
#include "messaging/smsdesk.h"
#include "widgets/uicontext.h"

#include <QDialog>

class QLabel;
class QLineEdit;

namespace fitrova {

class DataGrid;
class DateEdit;
class MoneyEdit;

// JobGubun "N" adds a login, "C" changes the login of idx (its id stays).
class SmsAccountDialog : public QDialog {
    Q_OBJECT
public:
    SmsAccountDialog(UiContext &ui, SmsDesk &desk, const QString &jobGubun, qint64 idx = 0, QWidget *parent = nullptr);
    bool save();
    bool tf() const { return m_tf; }
    qint64 savedIdx() const { return m_idx; }

private:
    UiContext &m_ui;
    SmsDesk &m_desk;
    bool m_isNew;
    qint64 m_idx;
    bool m_tf = false;
    QLineEdit *m_id, *m_password, *m_name, *m_tel, *m_hp;
};

class SmsDepositDialog : public QDialog {
    Q_OBJECT
public:
    // A new deposit of the account when deposit.idx is 0, else that deposit.
    SmsDepositDialog(UiContext &ui, SmsDesk &desk, const SmsDeposit &deposit, QWidget *parent = nullptr);
    bool save();

private:
    UiContext &m_ui;
    SmsDesk &m_desk;
    SmsDeposit m_deposit;
    DateEdit *m_date;
    MoneyEdit *m_amount, *m_messages;
};

// The deposits of one account, with new, change and delete.
class SmsDepositListDialog : public QDialog {
    Q_OBJECT
public:
    SmsDepositListDialog(UiContext &ui, SmsDesk &desk, const SmsAccount &account, QWidget *parent = nullptr);
    void refresh();
    void addDeposit();
    void editDeposit();
    void deleteDeposit();
    bool tf() const { return m_tf; }
    DataGrid *grid() const { return m_grid; }

private:
    UiContext &m_ui;
    SmsDesk &m_desk;
    SmsAccount m_account;
    QList<SmsDeposit> m_rows;
    bool m_tf = false;
    DataGrid *m_grid;
    QLabel *m_balance;
};

} // namespace fitrova
