#include "enrollment/waitlist.h"

#include "data/dates.h"
#include "enrollment/capacity.h"
#include "enrollment/enrollcommon.h"
#include "enrollment/enrollment.h"
#include "foundation/appcontext.h"

namespace fitrova {

namespace {

const QString kSelect = QStringLiteral(
    "SELECT w.WlId, w.Pgid, w.MbCode, w.WaitDate, w.WaitSeq, w.Remark, "
    "COALESCE(m.MbName, '') AS MbName, COALESCE(m.Tel1, '') AS Tel1, COALESCE(m.Tel2, '') AS Tel2, "
    "COALESCE(p.PgName, '') AS PgName "
    "FROM WaitList w LEFT JOIN Member m ON m.MbCode = w.MbCode LEFT JOIN Program p ON p.Pgid = w.Pgid ");

WaitEntry entryOf(const Row &r)
{
    WaitEntry e;
    e.wlId = r.num(QStringLiteral("WlId"));
    e.pgid = r.num(QStringLiteral("Pgid"));
    e.pgName = r.str(QStringLiteral("PgName"));
    e.mbCode = r.str(QStringLiteral("MbCode"));
    e.mbName = r.str(QStringLiteral("MbName"));
    e.tel1 = r.str(QStringLiteral("Tel1"));
    e.tel2 = r.str(QStringLiteral("Tel2"));
    e.waitDate = r.str(QStringLiteral("WaitDate"));
    e.remark = r.str(QStringLiteral("Remark"));
    return e;
}

} // namespace

Outcome addToWaitList(const AppContext &ctx, qint64 pgid, const QString &mbCode, const QString &from,
                      const QString &to, const QString &remark)
{
    const Db &db = ctx.main;
    const QString title = waitListTitle();
    if (!isValidDateText(from) || !isValidDateText(to) || from > to)
        return Outcome::refused(QStringLiteral("수강기간이 잘못되었습니다."), title);
    return db.transaction([&]() -> Outcome {
        // The program row locked first, as the enrollment locks it for its
        // capacity check: the list and the last place are decided in turn.
        const CapacityCheck cap = checkCapacity(db, pgid, from, to);
        if (cap.pgName.isEmpty() &&
            !db.scalar(QStringLiteral("SELECT 1 FROM Program WHERE Pgid = ?"), {pgid}).isValid())
            return Outcome::refused(QStringLiteral("강좌자료를 찾을수 없습니다."), title);
        if (!cap.full)
            return Outcome::refused(
                QStringLiteral("[%1]에 빈 자리가 있습니다. 대기하지 않고 수강등록할 수 있습니다.").arg(cap.pgName), title);
        if (!db.scalar(QStringLiteral("SELECT 1 FROM Member WHERE MbCode = ?"), {mbCode}).isValid())
            return Outcome::refused(QStringLiteral("회원인적 자료를 찾을수 없습니다."), title);
        if (db.scalar(QStringLiteral("SELECT 1 FROM WaitList WHERE Pgid = ? AND MbCode = ?"), {pgid, mbCode}).isValid())
            return Outcome::refused(QStringLiteral("이미 [%1]의 대기자로 등록되어 있습니다.").arg(cap.pgName), title);
        const qint64 seq =
            db.scalar(QStringLiteral("SELECT COALESCE(MAX(WaitSeq), 0) FROM WaitList WHERE Pgid = ?"), {pgid})
                .toLongLong() +
            1;
        const qint64 ahead =
            db.scalar(QStringLiteral("SELECT COUNT(*) FROM WaitList WHERE Pgid = ?"), {pgid}).toLongLong();
        const Stamp st = stampOf(ctx);
        const qint64 id = db.insertId(
            QStringLiteral("INSERT INTO WaitList (Pgid, MbCode, WaitDate, WaitSeq, Remark, LastUser, LastDate, "
                           "LastTime) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
            {pgid, mbCode, st.date, seq, remark, st.psCode, st.date, st.time}, QStringLiteral("WlId"));
        Outcome o = Outcome::done(id);
        o.info(QStringLiteral("[%1]의 대기자로 등록했습니다. (대기순번 %2번)").arg(cap.pgName).arg(ahead + 1), title);
        return o;
    });
}

Outcome removeFromWaitList(const Db &db, qint64 wlId)
{
    if (db.exec(QStringLiteral("DELETE FROM WaitList WHERE WlId = ?"), {wlId}) == 0)
        return Outcome::refused(QStringLiteral("대기자 자료를 찾을수 없습니다."), waitListTitle());
    return Outcome::done(wlId);
}

void leaveWaitList(const Db &db, qint64 pgid, const QString &mbCode)
{
    db.exec(QStringLiteral("DELETE FROM WaitList WHERE Pgid = ? AND MbCode = ?"), {pgid, mbCode});
}

qint64 freePlaces(const Db &db, qint64 pgid, const QString &from)
{
    const CapacityCheck cap = checkCapacity(db, pgid, from, enrollmentEndDate(from, 1, false), 0, false);
    if (!cap.checked)
        return -1;
    return std::max<qint64>(0, cap.capacity - cap.taken);
}

QList<WaitEntry> programWaitList(const Db &db, qint64 pgid, const QString &today)
{
    QList<WaitEntry> list;
    const Rows rows = db.query(kSelect + QStringLiteral("WHERE w.Pgid = ? ORDER BY w.WaitSeq, w.WlId"), {pgid});
    if (rows.empty())
        return list;
    const qint64 free = freePlaces(db, pgid, today);
    for (const Row &r : rows) {
        WaitEntry e = entryOf(r);
        e.order = int(list.size()) + 1;
        e.canEnroll = free < 0 || e.order <= free;
        list.append(e);
    }
    return list;
}

QList<WaitEntry> memberWaitList(const Db &db, const QString &mbCode)
{
    QList<WaitEntry> list;
    const Rows rows = db.query(kSelect + QStringLiteral("WHERE w.MbCode = ? ORDER BY w.WaitDate, w.WlId"), {mbCode});
    for (const Row &r : rows) {
        WaitEntry e = entryOf(r);
        e.order = int(db.scalar(QStringLiteral("SELECT COUNT(*) FROM WaitList WHERE Pgid = ? AND "
                                               "(WaitSeq < ? OR (WaitSeq = ? AND WlId <= ?))"),
                                {e.pgid, r.num(QStringLiteral("WaitSeq")), r.num(QStringLiteral("WaitSeq")), e.wlId})
                          .toLongLong());
        list.append(e);
    }
    return list;
}

Notice placeFreedNotice(const Db &db, qint64 pgid, const QString &from)
{
    const auto first = db.queryOne(kSelect + QStringLiteral("WHERE w.Pgid = ? ORDER BY w.WaitSeq, w.WlId LIMIT 1"),
                                   {pgid});
    if (!first || freePlaces(db, pgid, from) == 0)
        return {};
    const WaitEntry e = entryOf(*first);
    const qint64 waiting =
        db.scalar(QStringLiteral("SELECT COUNT(*) FROM WaitList WHERE Pgid = ?"), {pgid}).toLongLong();
    QString text = QStringLiteral("[%1]의 대기자가 있습니다. (대기 %2명)\n1번 대기자: %3 (%4)")
                       .arg(e.pgName)
                       .arg(waiting)
                       .arg(e.mbName, e.mbCode);
    if (!e.tel1.trimmed().isEmpty())
        text += QStringLiteral(" %1").arg(e.tel1.trimmed());
    return {Notice::Kind::Info, text, waitListTitle()};
}

} // namespace fitrova
