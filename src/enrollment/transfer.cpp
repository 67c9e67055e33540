#include "members/memberhistory.h"
#include "enrollment/transfer.h"

#include "foundation/appcontext.h"
#include "data/dates.h"
#include "data/ledger.h"
#include "data/lookups.h"
#include "enrollment/waitlist.h"

namespace fitrova {

Outcome transferEligible(const LectureInfo &l, bool transferInUse)
{
    const QString title = transferTitle();
    if (!transferInUse)
        return Outcome::refused(QStringLiteral("강좌양도를 사용하지 않습니다"), title);
    if (!isEnrollmentLike(l.kind))
        return Outcome::refused(QStringLiteral("양도할 강좌가 없읍니다"), title);
    if (!l.useTransfer)
        return Outcome::refused(QStringLiteral("양도할수 없는 강좌입니다"), title);
    if (l.transfer > 0)
        return Outcome::refused(QStringLiteral("이미 양도된 강좌입니다"), title);
    if (l.cancel > 0)
        return Outcome::refused(QStringLiteral("환불된 강좌는 양도할수 없읍니다"), title);
    return Outcome::pass();
}

ReceiverSearch searchReceivers(const Db &db, MemberSearchKind kind, const QString &text)
{
    ReceiverSearch s;
    if (text.trimmed().isEmpty()) {
        s.check = Outcome::refused(QStringLiteral("검색어를 입력하세요"), QStringLiteral("회원검색"));
        return s;
    }
    s.members = searchMembers(db, kind, text);
    if (s.members.isEmpty())
        s.check = Outcome::refused(QStringLiteral("해당회원을 찾을수 없읍니다"), QStringLiteral("회원찾기"));
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
    return l.programKind == ProgramKind::TimeBased ? l.pgCnt - l.uPgCnt : 0;
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
        // The transfer row, then the enrollment given, locked: a second desk
        // giving the same enrollment away waits and then finds it given.
        std::optional<LectureRecord> row;
        qint64 baseId = in.ltid;
        if (modify) {
            row = loadLecture(db, in.ltid, RowLock::ForUpdate);
            if (!row || row->kind != LectureKind::TransferIn)
                return EnrollResult::refuse(lectureGoneText(), transferTitle());
            baseId = row->bLtid;
        }
        const auto base = loadLectureInfo(db, baseId, RowLock::ForUpdate);
        if (!base)
            return EnrollResult::refuse(lectureGoneText(), transferTitle());
        if (!modify) {
            const Outcome ok = transferEligible(*base, ctx.options.opt5 != 0);
            if (!ok)
                return ok;
        }
        if (in.receiverMbCode == base->mbCode)
            return EnrollResult::refuse(QStringLiteral("본인에게는 양도할수 없읍니다"), saveTitle);
        const auto receiver = loadMember(db, in.receiverMbCode);
        if (!receiver)
            return EnrollResult::refuse(QStringLiteral("해당회원을 찾을수 없읍니다"), QStringLiteral("회원찾기"));

        LectureRecord r = modify ? *row : derivedRow(*base, LectureKind::TransferIn);
        const QString oldReceiver = modify ? row->mbCode : QString();
        r.ltyymm = in.sDate1.left(7);
        r.mbCode = receiver->mbCode;
        r.mbName = receiver->mbName;
        r.age = receiver->age;
        r.sex = receiver->sex.trimmed().right(1);
        r.ageGubun = getAgeCode(db, receiver->age);
        r.mbGubun = receiver->mbGubun;
        r.rqDate = in.rqDate;
        r.bMbCode = base->mbCode;
        r.amtGubun = base->amtGubun;
        r.lectGubun = base->lectGubun;
        r.sDate1 = in.sDate1;
        r.sDate2 = in.sDate2;
        r.dDate1 = base->dDate1;
        r.dDate2 = base->dDate2;
        stampRow(r, stampOf(ctx));
        LectureRecord b = *base;
        b.sDate2 = in.rqDate;
        if (!modify) {
            r.ltid = insertLecture(db, r);
            b.transfer = r.ltid;
            updateLecture(db, b, {LectureField::Transfer, LectureField::Sdate2});
        } else {
            using F = LectureField;
            updateLecture(db, r,
                          {F::LTyymm, F::MbCode, F::MbName, F::Age, F::Sex, F::AgeGubun, F::MbGubun, F::RqDate,
                           F::BMbCode, F::AmtGubun, F::Lectgubun, F::Sdate1, F::Sdate2, F::ddate1, F::ddate2,
                           F::LastDate, F::LastUser, F::LastTime});
            updateLecture(db, b, {LectureField::Sdate2});
        }
        EnrollResult out;
        out.misuAmt = updateMemberUnpaid(db, receiver->mbCode);
        if (!oldReceiver.isEmpty() && oldReceiver != receiver->mbCode)
            updateMemberUnpaid(db, oldReceiver);
        out.point = receiver->point;
        out.saved = true;
        out.id = r.ltid;
        out.info(QStringLiteral("양도자료를 저장했읍니다.."), transferTitle());
        if (!modify)
            if (const Notice n = placeFreedNotice(db, base->pgid, stampOf(ctx).date); !n.isEmpty())
                out.notices.append(n);
        return out;
    });
}

} // namespace fitrova
