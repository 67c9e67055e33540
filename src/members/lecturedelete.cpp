#include "members/lecturedelete.h"

#include "data/dates.h"
#include "data/ledger.h"

#include <algorithm>

namespace fitrova {

namespace {

const QString kRefuseTitle = QStringLiteral("삭제불가");
const QString kOpenEnd = QStringLiteral("9999-12-31");

QString capEnd(const QDate &d)
{
    if (!d.isValid() || d > QDate(9999, 12, 31))
        return kOpenEnd;
    return fmtDate(d);
}

// The latest row of a kind, or nullptr.
const DependentRow *latestOf(const QList<DependentRow> &rows, const QString &kind)
{
    const DependentRow *best = nullptr;
    for (const DependentRow &r : rows)
        if (r.ltGubun == kind && (!best || r.ltid > best->ltid))
            best = &r;
    return best;
}

} // namespace

Outcome lectureDeleteCheck(qint64 delay, qint64 cancel, qint64 transfer, qint64 change)
{
    if (delay > 0)
        return Outcome::refused(QStringLiteral("연기처리된 강좌입니다.\n 연기자료를 먼저 삭제하세요."), kRefuseTitle);
    if (cancel > 0)
        return Outcome::refused(QStringLiteral("환불처리된 강좌입니다. 환불자료를 먼저 삭제하세요."), kRefuseTitle);
    if (transfer > 0)
        return Outcome::refused(QStringLiteral("양도된 강좌입니다. 양도된 자료를 먼저 삭제하세요."), kRefuseTitle);
    if (change > 0)
        return Outcome::refused(QStringLiteral("반변경된 강좌입니다. 반변경 자료를 먼저 삭제하세요."), kRefuseTitle);
    return Outcome::pass();
}

QString linkColumnOf(const QString &ltGubun)
{
    if (ltGubun == QLatin1String("0"))
        return QStringLiteral("Transfer");
    if (ltGubun == QLatin1String("2"))
        return QStringLiteral("Change");
    if (ltGubun == QLatin1String("3"))
        return QStringLiteral("Delay");
    if (ltGubun == QLatin1String("4"))
        return QStringLiteral("Cancel");
    return {};
}

BaseRepair repairedBase(const BaseState &base, const QString &deletedKind, const QList<DependentRow> &remaining)
{
    BaseRepair r{base.delay, base.cancel, base.transfer, base.change, base.sDate2};

    const DependentRow *sameKind = latestOf(remaining, deletedKind);
    const qint64 link = sameKind ? sameKind->ltid : 0;
    if (deletedKind == QLatin1String("0"))
        r.transfer = link;
    else if (deletedKind == QLatin1String("2"))
        r.change = link;
    else if (deletedKind == QLatin1String("3"))
        r.delay = link;
    else if (deletedKind == QLatin1String("4"))
        r.cancel = link;

    if (const DependentRow *refund = latestOf(remaining, QStringLiteral("4"))) {
        const QString end = isValidDateText(refund->sDate2) ? refund->sDate2 : refund->rqDate;
        if (isValidDateText(end))
            r.sDate2 = end;
        return r;
    }
    if (const DependentRow *transfer = latestOf(remaining, QStringLiteral("0"))) {
        if (isValidDateText(transfer->rqDate))
            r.sDate2 = transfer->rqDate;
        return r;
    }
    if (const DependentRow *change = latestOf(remaining, QStringLiteral("2"))) {
        const QDate start = dateFromText(change->sDate1);
        if (start.isValid())
            r.sDate2 = change->sDate1 == base.sDate1 ? change->sDate1 : fmtDate(start.addDays(-1));
        return r;
    }
    const QDate sold = dateFromText(base.dDate2);
    if (!sold.isValid())
        return r;
    if (base.dDate2 == kOpenEnd) {
        r.sDate2 = kOpenEnd;
        return r;
    }
    qint64 days = 0;
    for (const DependentRow &d : remaining)
        if (d.ltGubun == QLatin1String("3"))
            days += std::max<qint64>(0, d.rday);
    r.sDate2 = capEnd(sold.addDays(days));
    return r;
}

void repairBase(const Db &db, qint64 baseLtid, const QString &deletedKind)
{
    if (baseLtid <= 0 || (!deletedKind.isEmpty() && linkColumnOf(deletedKind).isEmpty()))
        return;
    db.transaction([&] {
        const auto b = db.queryOne(QStringLiteral("SELECT Ltid, Sdate1, Sdate2, ddate2, Delay, Cancel, Transfer, "
                                                  "Change FROM Lecture WHERE Ltid = ?"),
                                   {baseLtid});
        if (!b)
            return;
        BaseState base;
        base.ltid = baseLtid;
        base.sDate1 = b->str(QStringLiteral("Sdate1"));
        base.sDate2 = b->str(QStringLiteral("Sdate2"));
        base.dDate2 = b->str(QStringLiteral("ddate2"));
        base.delay = b->num(QStringLiteral("Delay"));
        base.cancel = b->num(QStringLiteral("Cancel"));
        base.transfer = b->num(QStringLiteral("Transfer"));
        base.change = b->num(QStringLiteral("Change"));

        QList<DependentRow> remaining;
        const Rows rows = db.query(QStringLiteral("SELECT Ltid, LtGubun, RqDate, Sdate1, Sdate2, ddate2, Rday "
                                                  "FROM Lecture WHERE BLtid = ? AND LtGubun <> '1' ORDER BY Ltid"),
                                   {baseLtid});
        for (const Row &x : rows)
            remaining.append({x.num(QStringLiteral("Ltid")), x.str(QStringLiteral("LtGubun")),
                              x.str(QStringLiteral("RqDate")), x.str(QStringLiteral("Sdate1")),
                              x.str(QStringLiteral("Sdate2")), x.str(QStringLiteral("ddate2")),
                              x.num(QStringLiteral("Rday"))});

        const BaseRepair r = repairedBase(base, deletedKind, remaining);
        db.exec(QStringLiteral("UPDATE Lecture SET Delay = ?, Cancel = ?, Transfer = ?, Change = ?, Sdate2 = ? "
                               "WHERE Ltid = ?"),
                {r.delay, r.cancel, r.transfer, r.change, r.sDate2, baseLtid});
    });
}

QString pointKindOfLecture(const QString &pgGubun)
{
    return pgGubun == QLatin1String("4") ? QStringLiteral("3") : QStringLiteral("1");
}

namespace {

std::optional<Row> lectureRow(const Db &db, qint64 ltid)
{
    return db.queryOne(QStringLiteral("SELECT Ltid, MbCode, LtGubun, PgGubun, BLtid, Delay, Cancel, Transfer, Change "
                                      "FROM Lecture WHERE Ltid = ?"),
                       {ltid});
}

Outcome checkRow(const std::optional<Row> &row)
{
    if (!row)
        return Outcome::refused(QStringLiteral("해당자료를 찾을수 없읍니다"), kRefuseTitle);
    return lectureDeleteCheck(row->num(QStringLiteral("Delay")), row->num(QStringLiteral("Cancel")),
                              row->num(QStringLiteral("Transfer")), row->num(QStringLiteral("Change")));
}

// Removes the ledger row of a paid item, whatever its date and whether or not
// points are collected today: the item it was earned on is gone.
void removePoints(const Db &db, const QString &mbCode, const QString &kind, qint64 joinId)
{
    db.exec(QStringLiteral("DELETE FROM UserPoint WHERE MbCode = ? AND PgGubun = ? AND JoinId = ?"),
            {mbCode, kind, joinId});
}

} // namespace

Outcome lectureDeleteCheck(const Db &db, qint64 ltid)
{
    return checkRow(lectureRow(db, ltid));
}

RowDeleteResult deleteLecture(const Db &db, qint64 ltid)
{
    return db.transaction([&] {
        RowDeleteResult r;
        const auto row = lectureRow(db, ltid);
        const Outcome check = checkRow(row);
        if (!check.saved) {
            r.message = check.last();
            return r;
        }
        r.mbCode = row->str(QStringLiteral("MbCode"));
        const QString kind = row->str(QStringLiteral("LtGubun"));
        const qint64 base = row->num(QStringLiteral("BLtid"));

        db.exec(QStringLiteral("DELETE FROM Lecture WHERE Ltid = ?"), {ltid});
        if (kind != QLatin1String("1") && base != 0)
            repairBase(db, base, kind);
        removePoints(db, r.mbCode, pointKindOfLecture(row->str(QStringLiteral("PgGubun"))), ltid);
        r.point = recalcMemberPoint(db, r.mbCode);
        r.misuAmt = updateMemberUnpaid(db, r.mbCode);
        r.deleted = true;
        return r;
    });
}

RowDeleteResult deleteSale(const Db &db, qint64 slid)
{
    return db.transaction([&] {
        RowDeleteResult r;
        const auto row = db.queryOne(QStringLiteral("SELECT MbCode FROM Sale WHERE SlId = ?"), {slid});
        if (!row) {
            r.message = {Notice::Kind::Warn, QStringLiteral("해당자료를 찾을수 없읍니다"), kRefuseTitle};
            return r;
        }
        r.mbCode = row->str(QStringLiteral("MbCode"));
        db.exec(QStringLiteral("DELETE FROM Sale WHERE SlId = ?"), {slid});
        removePoints(db, r.mbCode, QStringLiteral("4"), slid);
        r.point = recalcMemberPoint(db, r.mbCode);
        r.misuAmt = updateMemberUnpaid(db, r.mbCode);
        r.deleted = true;
        return r;
    });
}

RowDeleteResult deletePointRow(const Db &db, qint64 ptid)
{
    return db.transaction([&] {
        RowDeleteResult r;
        const auto row = db.queryOne(QStringLiteral("SELECT MbCode FROM UserPoint WHERE Ptid = ?"), {ptid});
        if (!row) {
            r.message = {Notice::Kind::Warn, QStringLiteral("해당자료를 찾을수 없읍니다"), kRefuseTitle};
            return r;
        }
        r.mbCode = row->str(QStringLiteral("MbCode"));
        db.exec(QStringLiteral("DELETE FROM UserPoint WHERE Ptid = ?"), {ptid});
        r.point = recalcMemberPoint(db, r.mbCode);
        r.deleted = true;
        return r;
    });
}

} // namespace fitrova
