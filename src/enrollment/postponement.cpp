#include "enrollment/postponement.h"

#include "foundation/appcontext.h"
#include "data/dates.h"
#include "enrollment/lecturewrite.h"
#include "members/lecturedelete.h"

namespace fitrova {

EnrollCheck postponeEligible(const LectureInfo &l)
{
    const QString &g = l.ltGubun;
    if (g != QLatin1String("0") && g != QLatin1String("1") && g != QLatin1String("2") && g != QLatin1String("3"))
        return EnrollCheck::refuse(QStringLiteral("연기처리할 강좌가 없읍니다"), postponeTitle());
    if (g != QLatin1String("3") && !l.useDelay)
        return EnrollCheck::refuse(QStringLiteral("연기할수 없는 강좌입니다"), postponeTitle());
    if (l.cancel > 0)
        return EnrollCheck::refuse(QStringLiteral("환불된 강좌는 연기할수 없읍니다"), postponeTitle());
    return EnrollCheck::pass();
}

namespace {
PauseDates settle(PauseDates d)
{
    d.days = daysBetween(d.from, d.to) + 1;
    d.addFrom = addDaysText(d.to, 1);
    d.addTo = addDaysText(d.addFrom, d.days - 1);
    return d;
}
} // namespace

PauseDates pauseForApplication(const QString &rqDate)
{
    PauseDates d;
    d.rqDate = rqDate;
    d.from = rqDate;
    d.to = rqDate;
    return settle(d);
}

PauseDates pauseStartChanged(PauseDates d, const QString &from)
{
    d.error = false;
    d.from = from;
    d.to = from;
    return settle(d);
}

PauseDates pauseEndChanged(PauseDates d, const QString &to)
{
    d.error = to < d.from;
    d.to = d.error ? d.from : to;
    return settle(d);
}

EnrollResult savePostponement(const AppContext &ctx, const PostponementInput &in)
{
    const Db &db = ctx.main;
    const QString title = postponeTitle();
    if (!isValidDateText(in.rqDate) || !isValidDateText(in.from) || !isValidDateText(in.to))
        return EnrollResult::refuse(QStringLiteral("연기일자가 잘못되었읍니다"), title);
    if (in.to < in.from)
        return EnrollResult::refuse(pauseDateErrorText(), title);
    const bool modify = in.jobGubun == QLatin1String("C");
    const qint64 days = daysBetween(in.from, in.to) + 1;

    return db.transaction([&]() -> EnrollResult {
        const qint64 baseId = modify ? in.bLtid : in.ltid;
        const auto base = loadLectureInfo(db, baseId);
        if (!base)
            return EnrollResult::refuse(QStringLiteral("연기내역을 저장하는데 실패하였읍니다"),
                                        QStringLiteral("연기내역저장"));
        const Stamp st = stampOf(ctx);
        qint64 rowId = in.ltid;
        if (!modify) {
            const EnrollCheck ok = postponeEligible(*base);
            if (!ok.ok)
                return EnrollResult::refuse(ok.message.text, ok.message.title);
            rowId = insertColumns(
                db, QStringLiteral("Lecture"),
                {{QStringLiteral("PgGubun"), QStringLiteral("1")},
                 {QStringLiteral("LTyymm"), base->ltyymm},
                 {QStringLiteral("MbCode"), base->mbCode},
                 {QStringLiteral("MbName"), base->mbName},
                 {QStringLiteral("PgCode"), base->pgCode},
                 {QStringLiteral("Pgid"), base->pgid},
                 {QStringLiteral("PgName"), base->pgName},
                 {QStringLiteral("Course"), base->course},
                 {QStringLiteral("Lclass"), base->lclass},
                 {QStringLiteral("Mclass"), base->mclass},
                 {QStringLiteral("Sclass"), base->sclass},
                 {QStringLiteral("Time1"), base->time1},
                 {QStringLiteral("Time2"), base->time2},
                 {QStringLiteral("Age"), base->age},
                 {QStringLiteral("AmtGubun"), base->amtGubun},
                 {QStringLiteral("Sex"), base->sex},
                 {QStringLiteral("RqDate"), in.rqDate},
                 {QStringLiteral("LtGubun"), QStringLiteral("3")},
                 {QStringLiteral("MonthCnt"), base->monthCnt},
                 {QStringLiteral("BLtid"), base->ltid},
                 {QStringLiteral("Bpgid"), base->pgid},
                 {QStringLiteral("DcYul"), base->dcYul},
                 {QStringLiteral("BMbCode"), base->mbCode},
                 {QStringLiteral("Sdate1"), in.from},
                 {QStringLiteral("Sdate2"), in.to},
                 {QStringLiteral("ddate1"), base->dDate1},
                 {QStringLiteral("ddate2"), base->dDate2},
                 {QStringLiteral("Remark"), in.reason},
                 {QStringLiteral("Rday"), days},
                 {QStringLiteral("LastUser"), st.psCode},
                 {QStringLiteral("LastDate"), st.date},
                 {QStringLiteral("LastTime"), st.time},
                 {QStringLiteral("Delay"), 0},
                 {QStringLiteral("Cancel"), 0},
                 {QStringLiteral("Transfer"), 0},
                 {QStringLiteral("Change"), 0}},
                QStringLiteral("Ltid"));
            db.exec(QStringLiteral("UPDATE Lecture SET Delay = ?, Sdate2 = ? WHERE Ltid = ?"),
                    {rowId, base->sDate2 == QLatin1String(kOpenEndDate) ? base->sDate2 : addDaysText(base->sDate2, days),
                     base->ltid});
        } else {
            if (!db.queryOne(QStringLiteral("SELECT Ltid FROM Lecture WHERE Ltid = ? AND LtGubun = '3'"), {rowId}))
                return EnrollResult::refuse(QStringLiteral("연기내역을 저장하는데 실패하였읍니다"),
                                            QStringLiteral("연기내역저장"));
            const QString addFrom = addDaysText(in.to, 1);
            updateColumns(db, QStringLiteral("Lecture"),
                          {{QStringLiteral("RqDate"), in.rqDate},
                           {QStringLiteral("Sdate1"), in.from},
                           {QStringLiteral("Sdate2"), in.to},
                           {QStringLiteral("ddate1"), addFrom},
                           {QStringLiteral("ddate2"), addDaysText(addFrom, days - 1)},
                           {QStringLiteral("Rday"), days},
                           {QStringLiteral("Remark"), in.reason},
                           {QStringLiteral("LastUser"), st.psCode},
                           {QStringLiteral("LastDate"), st.date},
                           {QStringLiteral("LastTime"), st.time}},
                          QStringLiteral("Ltid"), rowId);
            // From the period as sold and every postponement that stands,
            // as the deletion repair computes it.
            repairBase(db, base->ltid, QStringLiteral("3"));
        }
        EnrollResult r;
        r.misuAmt = db.scalar(QStringLiteral("SELECT MisuAmt FROM Member WHERE MbCode = ?"), {base->mbCode}).toLongLong();
        r.point = db.scalar(QStringLiteral("SELECT Point FROM Member WHERE MbCode = ?"), {base->mbCode}).toLongLong();
        r.saved = true;
        r.id = rowId;
        r.messages.append({QStringLiteral("연기자료를 저장했읍니다.."), title, false});
        return r;
    });
}

} // namespace fitrova
