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
const DependentRow *latestOf(const QList<DependentRow> &rows, LectureKind kind)
{
    const DependentRow *best = nullptr;
    for (const DependentRow &r : rows)
        if (r.kind == kind && (!best || r.ltid > best->ltid))
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

BaseRepair repairedBase(const BaseState &base, std::optional<LectureKind> deletedKind,
                        const QList<DependentRow> &remaining)
{
    BaseRepair r{base.delay, base.cancel, base.transfer, base.change, base.sDate2};

    if (deletedKind) {
        const DependentRow *sameKind = latestOf(remaining, *deletedKind);
        const qint64 link = sameKind ? sameKind->ltid : 0;
        switch (*deletedKind) {
        case LectureKind::TransferIn: r.transfer = link; break;
        case LectureKind::ClassChange: r.change = link; break;
        case LectureKind::Postponement: r.delay = link; break;
        case LectureKind::Refund: r.cancel = link; break;
        default: break;
        }
    }

    if (const DependentRow *refund = latestOf(remaining, LectureKind::Refund)) {
        const QString end = isValidDateText(refund->sDate2) ? refund->sDate2 : refund->rqDate;
        if (isValidDateText(end))
            r.sDate2 = end;
        return r;
    }
    if (const DependentRow *transfer = latestOf(remaining, LectureKind::TransferIn)) {
        if (isValidDateText(transfer->rqDate))
            r.sDate2 = transfer->rqDate;
        return r;
    }
    if (const DependentRow *change = latestOf(remaining, LectureKind::ClassChange)) {
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
        if (d.kind == LectureKind::Postponement)
            days += std::max<qint64>(0, d.rday);
    r.sDate2 = capEnd(sold.addDays(days));
    return r;
}

void repairBase(const Db &db, qint64 baseLtid, std::optional<LectureKind> deletedKind)
{
    if (baseLtid <= 0 || (deletedKind && !linkFieldOf(*deletedKind)))
        return;
    db.transaction([&] {
        auto b = loadLecture(db, baseLtid, RowLock::ForUpdate);
        if (!b)
            return;
        const BaseState base{baseLtid, b->sDate1, b->sDate2, b->dDate2, b->delay, b->cancel, b->transfer, b->change};

        QList<DependentRow> remaining;
        const Rows rows = db.query(QStringLiteral("SELECT Ltid, LtGubun, RqDate, Sdate1, Sdate2, ddate2, Rday "
                                                  "FROM Lecture WHERE BLtid = ? AND LtGubun <> '1' ORDER BY Ltid"),
                                   {baseLtid});
        for (const Row &x : rows) {
            const LectureRecord d = lectureFromRow(x);
            remaining.append({d.ltid, d.kind, d.rqDate, d.sDate1, d.sDate2, d.dDate2, d.rday});
        }

        const BaseRepair r = repairedBase(base, deletedKind, remaining);
        b->delay = r.delay;
        b->cancel = r.cancel;
        b->transfer = r.transfer;
        b->change = r.change;
        b->sDate2 = r.sDate2;
        using F = LectureField;
        updateLecture(db, *b, {F::Delay, F::Cancel, F::Transfer, F::Change, F::Sdate2});
    });
}

QString pointKindOfLecture(ProgramKind kind)
{
    return kind == ProgramKind::Payment ? QStringLiteral("3") : QStringLiteral("1");
}

namespace {

Outcome checkRow(const std::optional<LectureRecord> &row)
{
    if (!row)
        return Outcome::refused(QStringLiteral("해당자료를 찾을수 없읍니다"), kRefuseTitle);
    return lectureDeleteCheck(row->delay, row->cancel, row->transfer, row->change);
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
    return checkRow(loadLecture(db, ltid));
}

RowDeleteResult deleteLecture(const Db &db, qint64 ltid)
{
    return db.transaction([&] {
        RowDeleteResult r;
        // Locked, and checked again: another desk may have added a dependent row.
        const auto row = loadLecture(db, ltid, RowLock::ForUpdate);
        const Outcome check = checkRow(row);
        if (!check.saved) {
            r.message = check.last();
            return r;
        }
        r.mbCode = row->mbCode;

        deleteLectureRow(db, ltid);
        if (row->kind != LectureKind::Enrollment && row->bLtid != 0)
            repairBase(db, row->bLtid, row->kind);
        removePoints(db, r.mbCode, pointKindOfLecture(row->programKind), ltid);
        r.point = recalcMemberPoint(db, r.mbCode);
        r.misuAmt = updateMemberUnpaid(db, r.mbCode);
        if (isEnrollmentLike(row->kind) && row->programKind != ProgramKind::Payment)
            r.freedPgid = row->pgid;
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
