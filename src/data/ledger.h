#pragma once
// A member's outstanding amount and point ledger.
//
// Both are recomputed from their rows, never adjusted in place: the outstanding
// amount from the enrollment and sale rows, the point balance from UserPoint.
// UserPoint and Member are reached through the one main connection. Every
// routine that writes runs in a transaction of its own, which becomes a
// savepoint when the caller's action already holds one.
//
// Two desks may write rows of the same member at once. The routines that
// store a total lock the member's row first and then sum the rows, so the
// desk that stores last waits for the other's commit and sums its rows too:
// the stored total always equals the rows, whoever wins.

#include "data/db.h"

#include <QString>
#include <optional>

namespace fitrova {

// Locks the member's row until the caller's transaction ends (see
// Db::forUpdate); false when there is no such member. Actions that decide on
// a member's totals (points spent) lock it before they read them.
bool lockMember(const Db &db, const QString &mbCode);

// Amount due minus cash and card over the member's enrollment rows (LtGubun
// "1") plus the same over the member's sale lines; nulls count as 0.
qint64 getMemberUnpaid(const Db &db, const QString &mbCode);
// Computes the outstanding amount, stores it in Member.MisuAmt and returns it.
qint64 updateMemberUnpaid(const Db &db, const QString &mbCode);

// Points earned on an amount at a rate in percent: rate / 100 × amount with the
// fraction dropped (towards zero, so a refund loses what the sale earned).
// Computed exactly for rates of up to six decimals, so 5 % of 19,990 is 999
// and 0.7 % of 1,000 is 7.
qint64 pointsEarned(double ratePercent, qint64 amount);

// One ledger row per paid item, identified by member, kind of item (PgGubun:
// "1" course, "2" coupon, "3" payment, "4" goods) and the paid row's id.
struct PointEntry {
    QString pgGubun;
    QString mbCode;
    QString mbName;
    QString pDate;      // "YYYY-MM-DD"
    qint64 joinId = 0;
    qint64 amount = 0;  // sales amount in won
    QString remark;
    qint64 usedPoint = 0;
    // Points earned when they are not the rate's share of the amount (a
    // refund takes back no more than its enrollment earned).
    std::optional<qint64> earned;
};

// Writes (adds or replaces) the item's ledger row and recomputes the member's
// balance, which it returns. With rate 0 points are not in use: nothing is
// written and the result is empty.
std::optional<qint64> savePointEntry(const Db &db, double rate, const PointEntry &entry);
std::optional<qint64> savePointEntry(const Db &db, double rate, const QString &pgGubun, const QString &mbCode,
                                     const QString &mbName, const QString &pDate, qint64 joinId, qint64 amount,
                                     const QString &remark, qint64 usedPoint);

// Removes the item's ledger row of that date and recomputes the balance, which
// it returns. With rate 0 nothing is done and the result is empty.
std::optional<qint64> deletePointEntry(const Db &db, double rate, const QString &mbCode, const QString &pDate,
                                       const QString &pgGubun, qint64 joinId);

// Points earned minus points used over the member's ledger.
qint64 memberPointBalance(const Db &db, const QString &mbCode);
// The same, stored in Member.Point when the member exists.
qint64 recalcMemberPoint(const Db &db, const QString &mbCode);

} // namespace fitrova
