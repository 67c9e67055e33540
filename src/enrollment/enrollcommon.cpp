#include "enrollment/enrollcommon.h"

#include "foundation/appcontext.h"
#include "data/dates.h"
#include "members/memberhistory.h"

namespace fitrova {

std::optional<LectureInfo> loadLectureInfo(const Db &db, qint64 ltid, RowLock lock)
{
    // The row is locked on its own: PostgreSQL does not lock through the outer joins.
    if (lock == RowLock::ForUpdate && !lockLecture(db, ltid))
        return std::nullopt;
    const auto r = db.queryOne(
        QStringLiteral("SELECT Lecture.*, Program.PgName AS ProgName, Program.LTName AS ProgLtName, "
                       "Course.UseCancel AS CUseCancel, Course.UseDelay AS CUseDelay, "
                       "Course.UseTransfer AS CUseTransfer "
                       "FROM (Lecture LEFT JOIN Program ON Lecture.Pgid = Program.Pgid) "
                       "LEFT JOIN Course ON Lecture.Course = Course.Code AND Course.PsGroup = 'P' "
                       "WHERE Lecture.Ltid = ?"),
        {ltid});
    if (!r)
        return std::nullopt;
    LectureInfo l;
    static_cast<LectureRecord &>(l) = lectureFromRow(*r);
    const QString programName = r->str(QStringLiteral("ProgName"));
    if (!programName.isEmpty())
        l.pgName = programName;
    l.ltName = r->str(QStringLiteral("ProgLtName"));
    l.useCancel = r->num(QStringLiteral("CUseCancel")) != 0;
    l.useDelay = r->num(QStringLiteral("CUseDelay")) != 0;
    l.useTransfer = r->num(QStringLiteral("CUseTransfer")) != 0;
    return l;
}

QString lectureChoiceText(const LectureInfo &l)
{
    return QString(historyStateName(QString(), lectureKindCode(l.kind)) + QLatin1Char(' ') + l.rqDate + QLatin1Char(' ') + l.pgName +
                   QLatin1Char(' ') + l.time1 + QLatin1Char('~') + l.time2 + QLatin1Char(' ') + l.ltName)
        .trimmed();
}

qint64 daysBetween(const QString &a, const QString &b)
{
    const QDate da = dateFromText(a), db = dateFromText(b);
    if (!da.isValid() || !db.isValid())
        return 0;
    return da.daysTo(db);
}

QString addDaysText(const QString &date, qint64 days)
{
    const QDate d = dateFromText(date);
    if (!d.isValid())
        return {};
    const QDate moved = d.addDays(days);
    if (!moved.isValid() || moved > QDate(9999, 12, 31))
        return QString::fromLatin1(kOpenEndDate);
    return fmtDate(moved);
}

PaymentCheck checkPayment(qint64 due, qint64 cash, qint64 card)
{
    const qint64 paid = cash + card;
    if (paid > due)
        return PaymentCheck::More;
    if (paid < due)
        return PaymentCheck::Less;
    return PaymentCheck::Exact;
}

Stamp stampOf(const AppContext &ctx)
{
    return {ctx.user.psCode, fmtDate(ctx.clock().today()), nowTime(ctx.clock())};
}

void stampRow(LectureRecord &row, const Stamp &st)
{
    row.lastUser = st.psCode;
    row.lastDate = st.date;
    row.lastTime = st.time;
}

} // namespace fitrova

namespace fitrova {
QStringList cardItems(const Db &db)
{
    QStringList out;
    for (const Row &r : db.query(QStringLiteral("SELECT Code, Name FROM Card ORDER BY Code")))
        out << QString(r.str(QStringLiteral("Code")) + QLatin1Char('.') + r.str(QStringLiteral("Name")));
    return out;
}
} // namespace fitrova
