#pragma once
// The centre's SMS account at the provider: the customer login, the prepaid
// balance (in messages), the deposits that raise it, and the administration
// of the customer logins themselves. Every function takes the provider's
// primary connection (SmsLink::primary()).
//
// Customer passwords are stored as Argon2id hashes; a password an older
// administration stored in plain text is still accepted and rehashed at the
// next login. The account list never carries a password.

#include "data/db.h"
#include "foundation/outcome.h"

#include <QDateTime>
#include <QList>
#include <QString>

namespace fitrova {

// The login values kept after the customer login.
struct SmsLogin {
    QString customId, customName, customTel, subId;
    bool loggedIn() const { return !customId.isEmpty(); }
};

struct SmsLoginResult {
    Outcome outcome; // done, or the refusal to show
    SmsLogin login;  // set when done
};

inline QString smsLoginTitle() { return QStringLiteral("SMS 로그인"); }
// The field a refused login concerns (Outcome::field).
inline constexpr int kSmsLoginIdField = 1;
inline constexpr int kSmsLoginPasswordField = 2;

// Checks the customer id and password against tblMember.
SmsLoginResult smsCustomerLogin(const Db &primary, const QString &id, const QString &password);

// Counts a login of the customer: loginN + 1, loginD the time ("YYYY-MM-DD hh:mm:ss").
void countSmsLogin(const Db &primary, const QString &customId, const QDateTime &now);

// The prepaid balance of an account in messages; 0 when it has none.
qint64 smsBalance(const Db &primary, const QString &subId);

// --- deposits ------------------------------------------------------------------------

struct SmsDeposit {
    qint64 idx = 0;       // 0 for a new deposit
    QString subId;
    QString date;         // "YYYY-MM-DD"
    qint64 amount = 0;    // won paid
    qint64 messages = 0;  // messages bought
    qint64 balanceAfter = 0; // the balance right after the deposit was written (pastG)
};

inline QString smsDepositTitle() { return QStringLiteral("SMS입금"); }

// The deposits of an account, oldest first.
QList<SmsDeposit> smsDeposits(const Db &primary, const QString &subId);

// Writes a new deposit (idx 0) or changes one, and moves the balance by the
// difference in messages, in one transaction: a new deposit of n raises it by
// n; changing a deposit from a to b moves it by b - a. An account without a
// balance row gets one. Returns the deposit's idx.
Outcome saveSmsDeposit(const Db &primary, const SmsDeposit &deposit);

// Deletes a deposit and takes its messages off the balance, in one transaction.
Outcome deleteSmsDeposit(const Db &primary, qint64 idx);

// --- customer logins (the account administration) -------------------------------------

struct SmsAccount {
    qint64 idx = 0;
    QString customId;   // the login id; also the account (Sub_id) of its balance
    QString name;       // custom_nam
    QString tel;        // custom_Tel: the sender number of its messages
    QString hp;         // custom_Hp
    QString subId;
    qint64 balance = 0; // M_PastG of the account (list only)
    qint64 logins = 0;  // loginN (list only)
    QString lastLogin;  // loginD (list only)
};

inline QString smsAccountTitle() { return QStringLiteral("SMS사용처"); }

// Every customer login with its balance, in the order they were added.
QList<SmsAccount> smsAccounts(const Db &primary);
// One login; idx 0 when there is none.
SmsAccount smsAccount(const Db &primary, qint64 idx);

// Adds a login (isNew) or changes the one of account.idx. The id, the
// password (for a new login; an empty password keeps the stored one on a
// change) and the telephone are required; the id of an existing login does
// not change (its balance and deposits hang on it).
Outcome saveSmsAccount(const Db &primary, const SmsAccount &account, const QString &password, bool isNew);

// Deletes a login; its balance and deposits stay with the provider.
Outcome deleteSmsAccount(const Db &primary, qint64 idx);

} // namespace fitrova
