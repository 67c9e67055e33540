#include "enrollment/classchange.h"

#include "foundation/appcontext.h"
#include "data/dates.h"
#include "data/ledger.h"
#include "enrollment/lecturewrite.h"

#include <cstdlib>

namespace fitrova {

EnrollCheck classChangeEligible(const LectureInfo &l)
{
    if (l.ltGubun == QLatin1String("0") || l.ltGubun == QLatin1String("1") || l.ltGubun == QLatin1String("2"))
        return EnrollCheck::pass();
    return EnrollCheck::refuse(QStringLiteral("반변경할 강좌가 없읍니다"), classChangeTitle());
}

QList<ChangeProgram> changePrograms(const Db &db)
{
    QList<ChangeProgram> out;
    for (const Row &r : db.query(QStringLiteral("SELECT Pgid, PgName, Time1, Time2, LTName FROM Program "
                                                "WHERE PgGubun = '1' ORDER BY Course, Pgid")))
        out.append({r.num(QStringLiteral("Pgid")),
                    QString(r.str(QStringLiteral("PgName")) + QLatin1Char(' ') + r.str(QStringLiteral("Time1")) +
                            QLatin1Char('~') + r.str(QStringLiteral("Time2")) + QLatin1Char(' ') +
                            r.str(QStringLiteral("LTName")))
                        .simplified()});
    return out;
}

ChangeDefaults classChangeDefaults(const LectureInfo &base, const QString &today)
{
    return {today, today, base.sDate2};
}

QStringList payKindItems() { return {QStringLiteral("1.현금"), QStringLiteral("2.카드")}; }

EnrollResult saveClassChange(const AppContext &ctx, const ClassChangeInput &in)
{
    const Db &db = ctx.main;
    const QString title = classChangeTitle();
    if (!isValidDateText(in.sDate1) || !isValidDateText(in.sDate2) || in.sDate1 > in.sDate2)
        return EnrollResult::refuse(QStringLiteral("수강기간이 잘못되었읍니다"), title);
    if (!isValidDateText(in.rqDate))
        return EnrollResult::refuse(QStringLiteral("신청일자가 잘못되었읍니다"), title);
    const bool modify = in.jobGubun == QLatin1String("C");

    return db.transaction([&]() -> EnrollResult {
        const qint64 baseId = modify ? in.bLtid : in.ltid;
        const auto base = loadLectureInfo(db, baseId);
        if (!base)
            return EnrollResult::refuse(QStringLiteral("강좌자료를 찾을수 없읍니다."), title);
        if (!modify) {
            const EnrollCheck ok = classChangeEligible(*base);
            if (!ok.ok)
                return EnrollResult::refuse(ok.message.text, ok.message.title);
        } else if (!db.queryOne(QStringLiteral("SELECT Ltid FROM Lecture WHERE Ltid = ? AND LtGubun = '2'"),
                                {in.ltid})) {
            return EnrollResult::refuse(QStringLiteral("해당자료를 찾을수 없읍니다"), title);
        }
        const auto prog = db.queryOne(QStringLiteral("SELECT * FROM Program WHERE Pgid = ?"), {in.newPgid});
        if (!prog)
            return EnrollResult::refuse(QStringLiteral("강좌자료를 찾을수 없읍니다"), QStringLiteral("강좌내역"));

        const Stamp st = stampOf(ctx);
        const bool card = in.payKind.left(1) == QLatin1String("2");
        const QString pgName = prog->str(QStringLiteral("PgName"));
        ColumnValues cols = {
            {QStringLiteral("Pgcode"), prog->str(QStringLiteral("PgCode"))},
            {QStringLiteral("Pgid"), in.newPgid},
            {QStringLiteral("PgName"), pgName},
            {QStringLiteral("Course"), prog->str(QStringLiteral("Course"))},
            {QStringLiteral("Lclass"), prog->str(QStringLiteral("Lclass"))},
            {QStringLiteral("Mclass"), prog->str(QStringLiteral("Mclass"))},
            {QStringLiteral("Sclass"), prog->str(QStringLiteral("Sclass"))},
            {QStringLiteral("Time1"), prog->str(QStringLiteral("Time1"))},
            {QStringLiteral("Time2"), prog->str(QStringLiteral("Time2"))},
            {QStringLiteral("LtCode"), prog->str(QStringLiteral("LtCode"))},
            {QStringLiteral("MonthCnt"), in.monthCnt},
            {QStringLiteral("RqDate"), in.rqDate},
            {QStringLiteral("TAmt"), in.extra},
            {QStringLiteral("CashAmt"), card ? 0 : in.extra},
            {QStringLiteral("CardAmt"), card ? in.extra : 0},
            {QStringLiteral("LastDate"), st.date},
            {QStringLiteral("LastTime"), st.time},
            {QStringLiteral("Sdate1"), in.sDate1},
            {QStringLiteral("Sdate2"), in.sDate2},
            {QStringLiteral("ddate1"), in.sDate1},
            {QStringLiteral("ddate2"), in.sDate2},
        };
        qint64 rowId = in.ltid;
        if (!modify) {
            cols += ColumnValues{
                {QStringLiteral("PgGubun"), QStringLiteral("1")},
                {QStringLiteral("LTyymm"), base->ltyymm},
                {QStringLiteral("MbCode"), base->mbCode},
                {QStringLiteral("MbGubun"), base->mbGubun},
                {QStringLiteral("AgeGubun"), base->ageGubun},
                {QStringLiteral("Age"), base->age},
                {QStringLiteral("Sex"), base->sex},
                {QStringLiteral("MbName"), base->mbName},
                {QStringLiteral("AmtGubun"), base->amtGubun},
                {QStringLiteral("Lectgubun"), base->lectGubun},
                {QStringLiteral("DcYul"), base->dcYul},
                {QStringLiteral("LtGubun"), QStringLiteral("2")},
                {QStringLiteral("Bpgid"), base->pgid},
                {QStringLiteral("BMbCode"), base->mbCode},
                {QStringLiteral("BLtid"), base->ltid},
                {QStringLiteral("LastUser"), st.psCode},
                {QStringLiteral("Delay"), 0},
                {QStringLiteral("Cancel"), 0},
                {QStringLiteral("Transfer"), 0},
                {QStringLiteral("Change"), 0},
            };
            rowId = insertColumns(db, QStringLiteral("Lecture"), cols, QStringLiteral("Ltid"));
            if (base->change == 0) {
                const QString end = in.sDate1 == base->sDate1 ? in.sDate1 : addDaysText(in.sDate1, -1);
                db.exec(QStringLiteral("UPDATE Lecture SET Sdate2 = ?, Change = ? WHERE Ltid = ?"),
                        {end, rowId, base->ltid});
            }
        } else {
            cols.append({QStringLiteral("LastUser"), st.psCode});
            updateColumns(db, QStringLiteral("Lecture"), cols, QStringLiteral("Ltid"), rowId);
            const QString end = in.sDate1 == base->sDate1 ? in.sDate1 : addDaysText(in.sDate1, -1);
            db.exec(QStringLiteral("UPDATE Lecture SET Sdate2 = ?, Change = ? WHERE Ltid = ?"),
                    {end, rowId, base->ltid});
        }

        EnrollResult r;
        r.misuAmt = updateMemberUnpaid(db, base->mbCode);
        const qint64 amount = in.extra < 0 ? -in.extra : in.extra;
        r.point = savePointEntry(db, ctx.options.opt7_1, QStringLiteral("1"), base->mbCode, base->mbName, in.rqDate,
                                 rowId, amount, pgName, 0)
                      .value_or(recalcMemberPoint(db, base->mbCode));
        r.saved = true;
        r.id = rowId;
        r.messages.append({QStringLiteral("변경자료를 저장했읍니다.."), title, false});
        return r;
    });
}

} // namespace fitrova
