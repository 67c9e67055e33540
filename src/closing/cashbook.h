#pragma once
// The cash book: income and expenses that are not sales of the centre (rent,
// supplies, other income), kept under accounts of their own with numbered
// standard descriptions, entered day by day and read over a period with the
// balance brought forward.
//
//   계정과목  accounts: kind "1" income / "2" expense, three-digit code (the
//             kind digit + "00" for the first, then the highest + 1), name of at
//             most 12 characters, payment kind "1" cash / "2" card
//   적요코드  numbered descriptions of an account
//   수입지출  entries: the amount stands in 수입 or 지출 by the account's kind,
//             0 in the other; 순번 (given by the database) with 일자 addresses one
//
// Every balance is computed from the entries, never stored: the balance
// brought forward to a day counts every entry before it, whatever its kind,
// account or payment kind.

#include "data/db.h"
#include "foundation/outcome.h"

#include <QList>
#include <QString>
#include <optional>

namespace fitrova {

struct CashAccount {
    QString kind;    // "1" income, "2" expense
    QString code;    // "100", "101", "200" …
    QString name;
    QString payKind; // "1" cash, "2" card
    bool operator==(const CashAccount &) const = default;
};

struct CashDescription {
    QString accountCode;
    int no = 0;
    QString text;
    bool operator==(const CashDescription &) const = default;
};

struct CashEntry {
    QString date;        // "YYYY-MM-DD"
    qint64 seq = 0;      // 순번
    QString kind;        // "1" income, "2" expense
    QString accountCode;
    QString accountName; // the account's current name (the entry's own when the account is gone)
    QString payKind;
    QString text;
    qint64 income = 0;
    qint64 expense = 0;
    qint64 balance = 0;  // running balance after this entry
};

// A period with optional filters; "A" (or empty) means every kind, account or
// payment kind.
struct CashBookFilter {
    QString from, to;
    QString kind = QStringLiteral("A");
    QString account = QStringLiteral("A");
    QString payKind = QStringLiteral("A");
};

struct CashBook {
    qint64 broughtForward = 0; // balance of every entry before the period
    QList<CashEntry> entries;  // in date and entry order, running balance from broughtForward
    qint64 totalIncome = 0;
    qint64 totalExpense = 0;
    qint64 closingBalance() const { return broughtForward + totalIncome - totalExpense; }
};

// "수입" / "지출", "현금" / "카드"; "" for other codes.
QString cashKindText(const QString &kind);
QString cashPayText(const QString &payKind);

// Longest account name and description.
constexpr int kCashAccountNameMax = 12;
constexpr int kCashTextMax = 30;

// --- accounts ----------------------------------------------------------------

// Accounts by code; kind "1" or "2" keeps to that kind, anything else lists all.
QList<CashAccount> listCashAccounts(const Db &db, const QString &kind = {});
std::optional<CashAccount> findCashAccount(const Db &db, const QString &code);
// The code a new account of the kind gets: the kind digit + "00" for the first,
// else the highest of the kind + 1 as three digits; "" when the kind's hundred
// is used up (or the kind is not "1"/"2").
QString nextCashAccountCode(const Db &db, const QString &kind);

enum class CashAccountField { None = 0, Kind, Code, Name };
// Adds the account, or changes the account of that kind and code.
Outcome saveCashAccount(const Db &db, const CashAccount &account);
// Deletes the account with its descriptions. An account that entries use is kept.
Outcome deleteCashAccount(const Db &db, const QString &kind, const QString &code);

// --- descriptions ------------------------------------------------------------

QList<CashDescription> listCashDescriptions(const Db &db, const QString &accountCode);
// no 0 adds a description under the next number (Outcome::id); otherwise
// changes the text of that number.
Outcome saveCashDescription(const Db &db, const QString &accountCode, int no, const QString &text);
Outcome deleteCashDescription(const Db &db, const QString &accountCode, int no);

// --- entries -----------------------------------------------------------------

// Balance of every entry before the day ("YYYY-MM-DD").
qint64 cashBalanceBefore(const Db &db, const QString &date);
// The entries of the period that pass the filter, with the running balance
// starting from the balance brought forward to the period's first day.
CashBook readCashBook(const Db &db, const CashBookFilter &filter);

struct CashEntryInput {
    qint64 seq = 0;       // 0: a new entry
    QString date;         // "YYYY-MM-DD"
    QString accountCode;
    qint64 amount = 0;
    QString text;
};
enum class CashEntryField { None = 0, Account, Amount, Text };
// Adds the entry (Outcome::id is its 순번) or changes the entry of that date and
// number. Kind and payment kind follow the account.
Outcome saveCashEntry(const Db &db, const CashEntryInput &in);
Outcome deleteCashEntry(const Db &db, const QString &date, qint64 seq);

// The lines a printed cash book carries under its title: the period
// "from~to" and the chosen filters as the user picked them.
QString cashBookPeriodText(const QString &from, const QString &to);
QString cashBookConditionText(const QString &kindItem, const QString &accountItem, const QString &payItem);

} // namespace fitrova
