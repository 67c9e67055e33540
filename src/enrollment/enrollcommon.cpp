#include "enrollment/enrollcommon.h"

#include "foundation/appcontext.h"
#include "data/dates.h"
#include "members/lecturedelete.h"
#include "members/memberhistory.h"

namespace fitrova {

std::optional<LectureInfo> loadLectureInfo(const Db &db, qint64 ltid)
{
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
    l.ltid = r->num(QStringLiteral("Ltid"));
    l.ltGubun = r->str(QStringLiteral("LtGubun"));
    l.pgGubun = r->str(QStringLiteral("PgGubun"));
    l.mbCode = r->str(QStringLiteral("MbCode"));
    l.mbName = r->str(QStringLiteral("MbName"));
    l.sex = r->str(QStringLiteral("Sex"));
    l.mbGubun = r->str(QStringLiteral("MbGubun"));
    l.ageGubun = r->str(QStringLiteral("AgeGubun"));
    l.age = r->num(QStringLiteral("Age"));
    l.pgid = r->num(QStringLiteral("Pgid"));
    l.bpgid = r->num(QStringLiteral("Bpgid"));
    l.bLtid = r->num(QStringLiteral("BLtid"));
    l.pgCode = r->str(QStringLiteral("PgCode"));
    l.pgName = r->str(QStringLiteral("ProgName"));
    if (l.pgName.isEmpty())
        l.pgName = r->str(QStringLiteral("PgName"));
    l.course = r->str(QStringLiteral("Course"));
    l.lclass = r->str(QStringLiteral("Lclass"));
    l.mclass = r->str(QStringLiteral("Mclass"));
    l.sclass = r->str(QStringLiteral("Sclass"));
    l.time1 = r->str(QStringLiteral("Time1"));
    l.time2 = r->str(QStringLiteral("Time2"));
    l.ltCode = r->str(QStringLiteral("LtCode"));
    l.ltName = r->str(QStringLiteral("ProgLtName"));
    l.bMbCode = r->str(QStringLiteral("BMbCode"));
    l.rqDate = r->str(QStringLiteral("RqDate"));
    l.sDate1 = r->str(QStringLiteral("Sdate1"));
    l.sDate2 = r->str(QStringLiteral("Sdate2"));
    l.dDate1 = r->str(QStringLiteral("ddate1"));
    l.dDate2 = r->str(QStringLiteral("ddate2"));
    l.ltyymm = r->str(QStringLiteral("LTyymm"));
    l.monthCnt = r->num(QStringLiteral("MonthCnt"));
    l.amtGubun = r->str(QStringLiteral("AmtGubun"));
    l.lectGubun = r->str(QStringLiteral("Lectgubun"));
    l.dcGubun = r->str(QStringLiteral("DcGubun"));
    l.card = r->str(QStringLiteral("Card"));
    l.dcYul = r->dbl(QStringLiteral("DcYul"));
    l.dcAmt = r->num(QStringLiteral("DcAmt"));
    l.tAmt = r->num(QStringLiteral("TAmt"));
    l.cashAmt = r->num(QStringLiteral("CashAmt"));
    l.cardAmt = r->num(QStringLiteral("CardAmt"));
    l.pgCnt = r->num(QStringLiteral("PgCnt"));
    l.pgCnt1 = r->num(QStringLiteral("PgCnt1"));
    l.uPgCnt = r->num(QStringLiteral("uPgCnt"));
    l.delay = r->num(QStringLiteral("Delay"));
    l.cancel = r->num(QStringLiteral("Cancel"));
    l.transfer = r->num(QStringLiteral("Transfer"));
    l.change = r->num(QStringLiteral("Change"));
    l.rday = r->num(QStringLiteral("Rday"));
    l.remark = r->str(QStringLiteral("Remark"));
    l.useCancel = r->num(QStringLiteral("CUseCancel")) != 0;
    l.useDelay = r->num(QStringLiteral("CUseDelay")) != 0;
    l.useTransfer = r->num(QStringLiteral("CUseTransfer")) != 0;
    return l;
}

QString lectureChoiceText(const LectureInfo &l)
{
    return QString(historyStateName(QString(), l.ltGubun) + QLatin1Char(' ') + l.rqDate + QLatin1Char(' ') + l.pgName +
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
