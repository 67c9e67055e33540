#include "data/ledger.h"

#include <cmath>
#include <stdexcept>

namespace fitrova {

bool lockMember(const Db &db, const QString &mbCode)
{
    return db.queryOne(QStringLiteral("SELECT MbCode FROM Member WHERE MbCode = ?") + db.forUpdate(), {mbCode})
        .has_value();
}

qint64 getMemberUnpaid(const Db &db, const QString &mbCode)
{
    // Both parts in one round trip; each sum is over the rows' own differences,
    // which equals the difference of the sums with nulls counted as 0.
    return db
        .scalar(QStringLiteral(
                    "SELECT CAST("
                    "(SELECT COALESCE(SUM(COALESCE(TAmt, 0) - COALESCE(CardAmt, 0) - COALESCE(CashAmt, 0)), 0) "
                    "   FROM Lecture WHERE MbCode = ? AND LtGubun = '1') + "
                    "(SELECT COALESCE(SUM(COALESCE(SlAmt, 0) - COALESCE(CardAmt, 0) - COALESCE(CashAmt, 0)), 0) "
                    "   FROM Sale WHERE MbCode = ?) AS BIGINT)"),
                {mbCode, mbCode})
        .toLongLong();
}

qint64 updateMemberUnpaid(const Db &db, const QString &mbCode)
{
    return db.transaction([&] {
        lockMember(db, mbCode);
        const qint64 unpaid = getMemberUnpaid(db, mbCode);
        db.exec(QStringLiteral("UPDATE Member SET MisuAmt = ? WHERE MbCode = ?"), {unpaid, mbCode});
        return unpaid;
    });
}

qint64 pointsEarned(double ratePercent, qint64 amount)
{
    if (!std::isfinite(ratePercent) || std::fabs(ratePercent) > 1e6)
        throw std::invalid_argument("point rate out of range");
    // The rate in millionths of a percent is exact for any rate typed with up
    // to six decimals; the product then needs no floating point at all.
    const auto microPercent = static_cast<__int128>(std::llround(ratePercent * 1e6));
    const __int128 points = static_cast<__int128>(amount) * microPercent / 100'000'000;
    return static_cast<qint64>(points);
}

std::optional<qint64> savePointEntry(const Db &db, double rate, const PointEntry &e)
{
    if (!(rate > 0))
        return std::nullopt;
    const qint64 uPoint = e.earned ? *e.earned : pointsEarned(rate, e.amount);
    return db.transaction([&] {
        // The ledger holds one row per paid item (a unique key says so).
        const auto row = db.queryOne(QStringLiteral("SELECT Ptid FROM UserPoint "
                                                    "WHERE MbCode = ? AND PgGubun = ? AND JoinId = ?"),
                                     {e.mbCode, e.pgGubun, e.joinId});
        if (!row) {
            db.exec(QStringLiteral("INSERT INTO UserPoint (MbCode, MbName, pDate, PgGubun, JoinId, Remark, Amount, "
                                   "PointYul, uPoint, mPoint) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                    {e.mbCode, e.mbName, e.pDate, e.pgGubun, e.joinId, e.remark, e.amount, rate, uPoint,
                     e.usedPoint});
        } else {
            db.exec(QStringLiteral("UPDATE UserPoint SET MbName = ?, pDate = ?, Remark = ?, Amount = ?, "
                                   "PointYul = ?, uPoint = ?, mPoint = ? WHERE Ptid = ?"),
                    {e.mbName, e.pDate, e.remark, e.amount, rate, uPoint, e.usedPoint,
                     row->num(QStringLiteral("Ptid"))});
        }
        return recalcMemberPoint(db, e.mbCode);
    });
}

std::optional<qint64> savePointEntry(const Db &db, double rate, const QString &pgGubun, const QString &mbCode,
                                     const QString &mbName, const QString &pDate, qint64 joinId, qint64 amount,
                                     const QString &remark, qint64 usedPoint)
{
    return savePointEntry(db, rate, PointEntry{pgGubun, mbCode, mbName, pDate, joinId, amount, remark, usedPoint});
}

std::optional<qint64> deletePointEntry(const Db &db, double rate, const QString &mbCode, const QString &pDate,
                                       const QString &pgGubun, qint64 joinId)
{
    if (!(rate > 0))
        return std::nullopt;
    return db.transaction([&] {
        db.exec(QStringLiteral("DELETE FROM UserPoint WHERE MbCode = ? AND pDate = ? AND PgGubun = ? AND JoinId = ?"),
                {mbCode, pDate, pgGubun, joinId});
        return recalcMemberPoint(db, mbCode);
    });
}

qint64 memberPointBalance(const Db &db, const QString &mbCode)
{
    return db
        .scalar(QStringLiteral("SELECT CAST(COALESCE(SUM(uPoint), 0) - COALESCE(SUM(mPoint), 0) AS BIGINT) "
                               "FROM UserPoint WHERE MbCode = ?"),
                {mbCode})
        .toLongLong();
}

qint64 recalcMemberPoint(const Db &db, const QString &mbCode)
{
    return db.transaction([&] {
        lockMember(db, mbCode);
        const qint64 balance = memberPointBalance(db, mbCode);
        db.exec(QStringLiteral("UPDATE Member SET Point = ? WHERE MbCode = ?"), {balance, mbCode});
        return balance;
    });
}

} // namespace fitrova
