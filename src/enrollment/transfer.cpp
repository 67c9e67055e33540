#include "members/memberhistory.h"
#include "enrollment/transfer.h"

#include "foundation/appcontext.h"
#include "data/dates.h"
#include "data/ledger.h"
#include "data/lookups.h"
#include "enrollment/lecturewrite.h"

namespace fitrova {

EnrollCheck transferEligible(const LectureInfo &l, bool transferInUse)
{
    const QString title = transferTitle();
    if (!transferInUse)
        return EnrollCheck::refuse(QStringLiteral("강좌양도를 사용하지 않습니다"), title);
    if (l.ltGubun != QLatin1String("0") && l.ltGubun != QLatin1String("1") && l.ltGubun != QLatin1String("2"))
        return EnrollCheck::refuse(QStringLiteral("양도할 강좌가 없읍니다"), title);
    if (!l.useTransfer)
        return EnrollCheck::refuse(QStringLiteral("양도할수 없는 강좌입니다"), title);
    if (l.transfer > 0)
        return EnrollCheck::refuse(QStringLiteral("이미 양도된 강좌입니다"), title);
    if (l.cancel > 0)
        return EnrollCheck::refuse(QStringLiteral("환불된 강좌는 양도할수 없읍니다"), title);
    return EnrollCheck::pass();
}

ReceiverSearch searchReceivers(const Db &db, MemberSearchKind kind, const QString &text)
{
    ReceiverSearch s;
    if (text.trimmed().isEmpty()) {
        s.check = EnrollCheck::refuse(QStringLiteral("검색어를 입력하세요"), QStringLiteral("회원검색"));
        return s;
    }
    s.members = searchMembers(db, kind, text);
    if (s.members.isEmpty())
        s.check = EnrollCheck::refuse(QStringLiteral("해당회원을 찾을수 없읍니다"), QStringLiteral("회원찾기"));
    return s;
}

QStringList receiverEnrollmentLines(const Db &db, const QString &mbCode)
{
    QStringList out;
    for (const Row &r : db.query(QStringLiteral("SELECT Lecture.LtGubun, Lecture.RqDate, Lecture.Sdate1, "
                                                "Lecture.Sdate2, COALESCE(Program.PgName, Lecture.PgName) AS Name "
                                                "FROM (Lecture LEFT JOIN Program ON Lecture.Pgid = Program.Pgid) "
                                                "LEFT JOIN Course ON Lecture.Course = Course.Code "
                                                "WHERE Lecture.MbCode = ? AND Course.PsGroup = 'P' "
                                                "ORDER BY Lecture.Ltid DESC"),
                                 {mbCode}))
        out << QString(historyStateName(QString(), r.str(QStringLiteral("LtGubun"))) + QLatin1Char(' ') +
                       r.str(QStringLiteral("RqDate")) + QLatin1Char(' ') + r.str(QStringLiteral("Name")) +
                       QLatin1Char(' ') + r.str(QStringLiteral("Sdate1")) + QStringLiteral(" ~ ") +
                       r.str(QStringLiteral("Sdate2")));
    return out;
}

qint64 remainingCount(const LectureInfo &l)
{
    return l.pgGubun == QLatin1String("2") ? l.pgCnt - l.uPgCnt : 0;
}

EnrollResult saveTransfer(const AppContext &ctx, const TransferInput &in)
{
    const Db &db = ctx.main;
    const QString saveTitle = QStringLiteral("양도양수 저장");
    if (in.receiverMbCode.trimmed().isEmpty())
        return EnrollResult::refuse(QStringLiteral("양도할 회원을 선택하세요"), saveTitle);
    if (!isValidDateText(in.rqDate))
        return EnrollResult::refuse(QStringLiteral("신청일자가 잘못되었읍니다"), saveTitle);
    if (!isValidDateText(in.sDate1) || !isValidDateText(in.sDate2) || in.sDate1 > in.sDate2)
        return EnrollResult::refuse(QStringLiteral("수강기간이 잘못되었읍니다"), saveTitle);
    const bool modify = in.jobGubun == QLatin1String("C");

    return db.transaction([&]() -> EnrollResult {
        std::optional<LectureInfo> row, base;
        if (modify) {
            row = loadLectureInfo(db, in.ltid);
            if (!row || row->ltGubun != QLatin1String("0"))
                return EnrollResult::refuse(QStringLiteral("강좌자료를 찾을수 없읍니다."), transferTitle());
            base = loadLectureInfo(db, row->bLtid);
        } else {
            base = loadLectureInfo(db, in.ltid);
        }
        if (!base)
            return EnrollResult::refuse(QStringLiteral("강좌자료를 찾을수 없읍니다."), transferTitle());
        if (!modify) {
            const EnrollCheck ok = transferEligible(*base, ctx.options.opt5 != 0);
            if (!ok.ok)
                return EnrollResult::refuse(ok.message.text, ok.message.title);
        }
        if (in.receiverMbCode == base->mbCode)
            return EnrollResult::refuse(QStringLiteral("본인에게는 양도할수 없읍니다"), saveTitle);
        const auto receiver = loadMember(db, in.receiverMbCode);
        if (!receiver)
            return EnrollResult::refuse(QStringLiteral("해당회원을 찾을수 없읍니다"), QStringLiteral("회원찾기"));

        const Stamp st = stampOf(ctx);
        const QString sex = receiver->sex.trimmed().right(1);
        ColumnValues cols = {
            {QStringLiteral("LTyymm"), in.sDate1.left(7)},
            {QStringLiteral("MbCode"), receiver->mbCode},
            {QStringLiteral("MbName"), receiver->mbName},
            {QStringLiteral("Age"), receiver->age},
            {QStringLiteral("Sex"), sex},
            {QStringLiteral("AgeGubun"), getAgeCode(db, receiver->age)},
            {QStringLiteral("MbGubun"), receiver->mbGubun},
            {QStringLiteral("RqDate"), in.rqDate},
            {QStringLiteral("BMbCode"), base->mbCode},
            {QStringLiteral("AmtGubun"), base->amtGubun},
            {QStringLiteral("Lectgubun"), base->lectGubun},
            {QStringLiteral("Sdate1"), in.sDate1},
            {QStringLiteral("Sdate2"), in.sDate2},
            {QStringLiteral("ddate1"), base->dDate1},
            {QStringLiteral("ddate2"), base->dDate2},
            {QStringLiteral("LastDate"), st.date},
            {QStringLiteral("LastUser"), st.psCode},
            {QStringLiteral("LastTime"), st.time},
        };
        qint64 rowId = in.ltid;
        const QString oldReceiver = modify ? row->mbCode : QString();
        if (!modify) {
            cols += ColumnValues{
                {QStringLiteral("PgGubun"), base->pgGubun},
                {QStringLiteral("PgCode"), base->pgCode},
                {QStringLiteral("Pgid"), base->pgid},
                {QStringLiteral("PgName"), base->pgName},
                {QStringLiteral("MonthCnt"), base->monthCnt},
                {QStringLiteral("Course"), base->course},
                {QStringLiteral("Lclass"), base->lclass},
                {QStringLiteral("Mclass"), base->mclass},
                {QStringLiteral("Sclass"), base->sclass},
                {QStringLiteral("Time1"), base->time1},
                {QStringLiteral("Time2"), base->time2},
                {QStringLiteral("LtCode"), base->ltCode},
                {QStringLiteral("PgCnt"), base->pgCnt},
                {QStringLiteral("PgCnt1"), base->pgCnt1},
                {QStringLiteral("uPgCnt"), base->uPgCnt},
                {QStringLiteral("BLtid"), base->ltid},
                {QStringLiteral("Bpgid"), base->pgid},
                {QStringLiteral("LtGubun"), QStringLiteral("0")},
                {QStringLiteral("CashAmt"), 0},
                {QStringLiteral("CardAmt"), 0},
                {QStringLiteral("TAmt"), 0},
                {QStringLiteral("Delay"), 0},
                {QStringLiteral("Cancel"), 0},
                {QStringLiteral("Transfer"), 0},
                {QStringLiteral("Change"), 0},
            };
            rowId = insertColumns(db, QStringLiteral("Lecture"), cols, QStringLiteral("Ltid"));
            db.exec(QStringLiteral("UPDATE Lecture SET Transfer = ?, Sdate2 = ? WHERE Ltid = ?"),
                    {rowId, in.rqDate, base->ltid});
        } else {
            updateColumns(db, QStringLiteral("Lecture"), cols, QStringLiteral("Ltid"), rowId);
            db.exec(QStringLiteral("UPDATE Lecture SET Sdate2 = ? WHERE Ltid = ?"), {in.rqDate, base->ltid});
        }
        EnrollResult r;
        r.misuAmt = updateMemberUnpaid(db, receiver->mbCode);
        if (!oldReceiver.isEmpty() && oldReceiver != receiver->mbCode)
            updateMemberUnpaid(db, oldReceiver);
        r.point = receiver->point;
        r.saved = true;
        r.id = rowId;
        r.messages.append({QStringLiteral("양도자료를 저장했읍니다.."), transferTitle(), false});
        return r;
    });
}

} // namespace fitrova
