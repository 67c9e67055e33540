#include "entrance/checkout.h"

#include <algorithm>

#include "data/dates.h"
#include "data/lookups.h"

#include <QTime>

namespace fitrova {

namespace {

// "hh:mm" (or "hh:mm:ss") as minutes of the day; -1 when unreadable.
int minuteOfDay(const QString &text)
{
    const QStringList parts = text.trimmed().split(QLatin1Char(':'));
    if (parts.size() < 2)
        return -1;
    bool okH = false, okM = false;
    const int h = parts.at(0).toInt(&okH), m = parts.at(1).toInt(&okM);
    if (!okH || !okM || h < 0 || h > 23 || m < 0 || m > 59)
        return -1;
    return h * 60 + m;
}

} // namespace

qint64 minutesBetween(const QString &inDate, const QString &inTime, const QDate &outDate, const QString &outTime)
{
    const int a = minuteOfDay(inTime), b = minuteOfDay(outTime);
    if (a < 0 || b < 0)
        return 0;
    qint64 days = 0;
    const QDate in = dateFromText(inDate);
    if (in.isValid() && outDate.isValid() && in < outDate)
        days = in.daysTo(outDate);
    return qMax<qint64>(0, days * 24 * 60 + b - a);
}

CheckOutInfo loadCheckOut(const Db &db, qint64 entid, const QDateTime &now)
{
    CheckOutInfo info;
    const Rows rows = db.query(QStringLiteral("SELECT Entid, MbCode, Pgid, Ltid, InDate, InTime, OutTime, uTime, Memo, "
                                              "PgGubun FROM entrance WHERE Entid = ? LIMIT 2"),
                               {entid});
    if (rows.size() != 1)
        return info;
    const Row &r = rows.first();
    info.found = true;
    info.entid = entid;
    info.mbCode = r.str(QStringLiteral("MbCode"));
    info.pgid = r.num(QStringLiteral("Pgid"));
    info.ltid = r.num(QStringLiteral("Ltid"));
    info.inDate = r.str(QStringLiteral("InDate"));
    info.inTime = r.str(QStringLiteral("InTime"));
    info.pgGubun = r.str(QStringLiteral("PgGubun"));
    info.memo = r.str(QStringLiteral("Memo"));
    info.memberName = getMemberName(db, info.mbCode);
    info.programName = getProgramName(db, info.pgid);

    const QString storedOut = r.str(QStringLiteral("OutTime")).trimmed();
    const qint64 storedUsed = r.num(QStringLiteral("uTime"));
    if (!storedOut.isEmpty()) {
        // A visit checked out before keeps its exit and minutes when it is opened again.
        info.alreadyOut = true;
        info.outTime = storedOut;
        info.usedMinutes = storedUsed;
    } else {
        info.outTime = now.time().toString(QStringLiteral("hh:mm"));
        info.usedMinutes = minutesBetween(info.inDate, info.inTime, now.date(), info.outTime);
    }

    if (const auto lec = loadLecture(db, info.ltid)) {
        info.lectureFound = true;
        info.lectureKind = lec->programKind;
        info.pgCnt = lec->pgCnt;
        // uPgCnt already holds this visit's minutes when it was checked out before.
        info.otherUsed = lec->uPgCnt - (info.alreadyOut ? storedUsed : 0);
    }
    return info;
}

CheckOutFigures checkOutFigures(const CheckOutInfo &info, qint64 used)
{
    CheckOutFigures f;
    f.used = used;
    f.usedText = minutesText(int(used));
    if (!info.lectureFound)
        return f;
    f.hasLecture = true;
    // The time left never shows below zero; what goes past it is the extra time.
    f.remain = std::max<qint64>(0, info.pgCnt - info.otherUsed - used);
    f.remainText = minutesText(int(f.remain));
    if (info.otherUsed + used > info.pgCnt) {
        f.hasExtra = true;
        f.extra = info.otherUsed + used - info.pgCnt;
        f.extraText = minutesText(int(f.extra));
    }
    return f;
}

QString overrunQuestion(const CheckOutFigures &f)
{
    return QStringLiteral("사용시간이 잔여시간을 %1 초과합니다.\n초과한 시간을 사용시간으로 저장하시겠습니까?")
        .arg(f.extraText);
}

std::optional<qint64> parseMinutes(const QString &typed)
{
    const QString t = typed.trimmed();
    if (t.isEmpty() || t.size() > 9)
        return std::nullopt;
    for (QChar c : t)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    return t.toLongLong();
}

void recomputeVisitTotals(const Db &db, qint64 ltid, const QString &mbCode)
{
    // The enrollment is locked before the member, the order every action keeps.
    auto lec = loadLecture(db, ltid, RowLock::ForUpdate);
    const auto last = db.queryOne(QStringLiteral("SELECT InDate, InTime FROM entrance WHERE MbCode = ? "
                                                 "ORDER BY InDate DESC, InTime DESC, Entid DESC LIMIT 1"),
                                  {mbCode});
    db.exec(QStringLiteral("UPDATE Member SET LastDate = ?, LastTime = ? WHERE MbCode = ?"),
            {last ? last->str(QStringLiteral("InDate")) : QString(),
             last ? last->str(QStringLiteral("InTime")) : QString(), mbCode});

    if (!lec || lec->programKind != ProgramKind::TimeBased)
        return;
    lec->uPgCnt =
        db.scalar(QStringLiteral("SELECT COALESCE(SUM(uTime), 0) FROM entrance WHERE Ltid = ?"), {ltid}).toLongLong();
    updateLecture(db, *lec, {LectureField::uPgCnt});
}

bool saveCheckOut(const Db &db, qint64 entid, const QString &outTime, qint64 usedMinutes, const QString &memo)
{
    return db.transaction([&] {
        const Rows rows =
            db.query(QStringLiteral("SELECT MbCode, Ltid FROM entrance WHERE Entid = ? LIMIT 2"), {entid});
        if (rows.size() != 1)
            return false;
        db.exec(QStringLiteral("UPDATE entrance SET OutTime = ?, uTime = ?, Memo = ? WHERE Entid = ?"),
                {outTime, usedMinutes, memo, entid});
        const qint64 ltid = rows.first().num(QStringLiteral("Ltid"));
        const auto lec = loadLecture(db, ltid);
        if (lec && lec->programKind == ProgramKind::TimeBased)
            recomputeVisitTotals(db, ltid, rows.first().str(QStringLiteral("MbCode")));
        return true;
    });
}

} // namespace fitrova
