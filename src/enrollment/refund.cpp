#include "enrollment/refund.h"

#include "foundation/appcontext.h"
#include "data/dates.h"
#include "data/ledger.h"
#include "enrollment/lecturewrite.h"
#include "members/lecturedelete.h"

#include <algorithm>

namespace fitrova {

EnrollCheck refundEligible(const LectureInfo &l)
{
    const QString title = QStringLiteral("수강취소");
    const QString &g = l.ltGubun;
    if (g != QLatin1String("0") && g != QLatin1String("1") && g != QLatin1String("2"))
        return EnrollCheck::refuse(QStringLiteral("환불처리할 강좌가 없읍니다"), title);
    if (!l.useCancel)
        return EnrollCheck::refuse(QStringLiteral("환불할수 없는 강좌입니다"), title);
    if (l.cancel > 0)
        return EnrollCheck::refuse(QStringLiteral("이미 환불된 강좌입니다"), title);
    return EnrollCheck::pass();
}

qint64 refundAmountForDays(qint64 cash, qint64 card, qint64 totalDays, qint64 remainDays, int cashCutPercent,
                           int cardCutPercent)
{
    if (totalDays <= 0)
        return cash + card;
    const qint64 r = std::clamp<qint64>(remainDays, 0, totalDays);
    // cash·R/T − cash·p/100 + card·R/T − card·q/100 over one denominator 100·T.
    const __int128 num = __int128(100) * r * (cash + card) -
                         __int128(totalDays) * (__int128(cash) * cashCutPercent + __int128(card) * cardCutPercent);
    const __int128 whole = num / (__int128(100) * totalDays); // towards zero, as the whole part
    qint64 amount = qint64(whole);
    amount -= amount % 10;
    return std::max<qint64>(0, amount);
}

RefundFigures refundFigures(qint64 cash, qint64 card, const QString &sDate1, const QString &sDate2,
                            const QString &refundDate, int cashCutPercent, int cardCutPercent)
{
    RefundFigures f;
    f.totalDays = std::max<qint64>(0, daysBetween(sDate1, sDate2));
    f.remainDays = std::clamp<qint64>(daysBetween(refundDate, sDate2), 0, f.totalDays);
    f.amount = refundAmountForDays(cash, card, f.totalDays, f.remainDays, cashCutPercent, cardCutPercent);
    return f;
}

EnrollResult saveRefund(const AppContext &ctx, const RefundInput &in)
{
    const Db &db = ctx.main;
    const QString title = refundTitle();
    if (!isValidDateText(in.refundDate))
        return EnrollResult::refuse(QStringLiteral("환불일자가 잘못되었읍니다"), title);
    if (in.amount < 0)
        return EnrollResult::refuse(QStringLiteral("환불금액이 잘못되었읍니다"), title);
    const bool modify = in.jobGubun == QLatin1String("C");

    return db.transaction([&]() -> EnrollResult {
        const qint64 baseId = modify ? in.bLtid : in.ltid;
        const auto base = loadLectureInfo(db, baseId);
        if (!base)
            return EnrollResult::refuse(QStringLiteral("환불할 강좌자료를 찾을수 없읍니다"), title);
        if (!modify) {
            const EnrollCheck ok = refundEligible(*base);
            if (!ok.ok)
                return EnrollResult::refuse(ok.message.text, ok.message.title);
        } else if (!db.queryOne(QStringLiteral("SELECT Ltid FROM Lecture WHERE Ltid = ? AND LtGubun = '4'"),
                                {in.ltid})) {
            return EnrollResult::refuse(QStringLiteral("해당자료를 찾을수 없읍니다"), title);
        }
        // An enrollment cannot give back more than was paid for it; a class
        // change or a received transfer carries only part of the payment, so
        // there the desk's figure stands.
        if (base->ltGubun == QLatin1String("1") && in.amount > base->cashAmt + base->cardAmt)
            return EnrollResult::refuse(QStringLiteral("환불금액이 입금액보다 많읍니다"), title);

        const Stamp st = stampOf(ctx);
        const bool card = in.payKind.left(1) == QLatin1String("2");
        qint64 rowId = in.ltid;
        qint64 rday = refundFigures(0, 0, base->sDate1, base->sDate2, in.refundDate, 0, 0).remainDays;
        if (modify) {
            // The enrollment now ends on the old refund date: the remaining
            // days move by as much as the refund date moves.
            const auto old = db.queryOne(QStringLiteral("SELECT RqDate, Sdate2, Rday FROM Lecture WHERE Ltid = ?"),
                                         {rowId});
            const QString oldDate = old->str(QStringLiteral("Sdate2")).isEmpty() ? old->str(QStringLiteral("RqDate"))
                                                                                   : old->str(QStringLiteral("Sdate2"));
            rday = std::max<qint64>(0, old->num(QStringLiteral("Rday")) + daysBetween(in.refundDate, oldDate));
        }
        ColumnValues cols = {
            {QStringLiteral("RqDate"), in.refundDate},
            {QStringLiteral("Sdate2"), in.refundDate},
            {QStringLiteral("CashAmt"), card ? 0 : in.amount},
            {QStringLiteral("CardAmt"), card ? in.amount : 0},
            {QStringLiteral("TAmt"), in.amount},
            {QStringLiteral("Rday"), rday},
            {QStringLiteral("LastUser"), st.psCode},
            {QStringLiteral("LastDate"), st.date},
            {QStringLiteral("LastTime"), st.time},
        };
        if (!modify) {
            cols += ColumnValues{
                {QStringLiteral("PgGubun"), QStringLiteral("1")},
                {QStringLiteral("LTyymm"), base->ltyymm},
                {QStringLiteral("MbCode"), base->mbCode},
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
                {QStringLiteral("MbName"), base->mbName},
                {QStringLiteral("AmtGubun"), base->amtGubun},
                {QStringLiteral("Sex"), base->sex},
                {QStringLiteral("MonthCnt"), base->monthCnt},
                {QStringLiteral("Lectgubun"), base->lectGubun},
                {QStringLiteral("BLtid"), base->ltid},
                {QStringLiteral("Bpgid"), base->pgid},
                {QStringLiteral("DcYul"), base->dcYul},
                {QStringLiteral("BMbCode"), base->mbCode},
                {QStringLiteral("Sdate1"), base->sDate1},
                {QStringLiteral("ddate1"), base->dDate1},
                {QStringLiteral("ddate2"), base->dDate2},
                {QStringLiteral("LtGubun"), QStringLiteral("4")},
                {QStringLiteral("Delay"), 0},
                {QStringLiteral("Cancel"), 0},
                {QStringLiteral("Transfer"), 0},
                {QStringLiteral("Change"), 0},
            };
            rowId = insertColumns(db, QStringLiteral("Lecture"), cols, QStringLiteral("Ltid"));
            db.exec(QStringLiteral("UPDATE Lecture SET Cancel = ?, Sdate2 = ? WHERE Ltid = ?"),
                    {rowId, in.refundDate, base->ltid});
        } else {
            updateColumns(db, QStringLiteral("Lecture"), cols, QStringLiteral("Ltid"), rowId);
            repairBase(db, base->ltid, QStringLiteral("4"));
        }
        EnrollResult r;
        r.misuAmt = updateMemberUnpaid(db, base->mbCode);
        // A refund takes back the points its amount had earned.
        r.point = savePointEntry(db, ctx.options.opt7_1, QStringLiteral("1"), base->mbCode, base->mbName,
                                 in.refundDate, rowId, -in.amount, base->pgName, 0)
                      .value_or(db.scalar(QStringLiteral("SELECT Point FROM Member WHERE MbCode = ?"), {base->mbCode})
                                    .toLongLong());
        r.saved = true;
        r.id = rowId;
        r.messages.append({QStringLiteral("환불자료를 저장했읍니다.."), title, false});
        return r;
    });
}

} // namespace fitrova
