#include "enrollment/payment.h"

#include "closing/shift.h"
#include "foundation/appcontext.h"
#include "data/dates.h"
#include "data/ledger.h"
#include "enrollment/enrollcommon.h"
#include "members/memberstore.h"

namespace fitrova {

EnrollResult savePayment(const AppContext &ctx, const PaymentInput &in)
{
    const Db &db = ctx.main;
    const QString title = paymentTitle();
    if (!isValidDateText(in.payDate))
        return EnrollResult::refuse(QStringLiteral("입금일자가 잘못되었읍니다"), title);
    if (in.cashAmt < 0 || in.cardAmt < 0)
        return EnrollResult::refuse(QStringLiteral("금액이 잘못되었읍니다"), title);
    if (in.cashAmt + in.cardAmt == 0)
        return EnrollResult::refuse(QStringLiteral("입금액을 입력하세요"), title);
    const bool modify = in.jobGubun == QLatin1String("C");

    return db.transaction([&]() -> EnrollResult {
        std::optional<LectureRecord> old;
        if (modify) {
            old = loadLecture(db, in.ltid, RowLock::ForUpdate);
            if (old && (old->programKind != ProgramKind::Payment || old->mbCode != in.mbCode))
                old.reset();
        }
        lockMember(db, in.mbCode);
        const auto member = loadMember(db, in.mbCode);
        if (!member)
            return EnrollResult::refuse(QStringLiteral("회원인적 자료를 찾을수 없읍니다"), QStringLiteral("회원인적"));
        if (modify && !old)
            return EnrollResult::refuse(QStringLiteral("해당자료를 찾을수 없읍니다"), title);
        LectureRecord r = old.value_or(LectureRecord{});
        r.programKind = ProgramKind::Payment;
        r.kind = LectureKind::Enrollment;
        r.rqDate = in.payDate;
        r.ltyymm = in.payDate.left(7);
        r.mbCode = member->mbCode;
        r.mbName = member->mbName;
        r.pgid = 0;
        r.tAmt = 0;
        r.cashAmt = in.cashAmt;
        r.cardAmt = in.cardAmt;
        r.card = in.cardAmt >= 1 ? in.card.left(1) : QString();
        stampRow(r, stampOf(ctx));
        if (modify) {
            using F = LectureField;
            updateLecture(db, r,
                          {F::PgGubun, F::LtGubun, F::RqDate, F::LTyymm, F::MbCode, F::MbName, F::Pgid, F::TAmt,
                           F::CashAmt, F::CardAmt, F::Card, F::LastUser, F::LastDate, F::LastTime});
        } else {
            r.ltid = insertLecture(db, r);
        }
        EnrollResult out;
        out.point = savePointEntry(db, ctx.options.opt7_1, QStringLiteral("3"), member->mbCode, member->mbName,
                                   in.payDate, r.ltid, in.cashAmt + in.cardAmt, QStringLiteral("미납입금"), 0)
                        .value_or(member->point);
        out.misuAmt = updateMemberUnpaid(db, member->mbCode);
        openShiftForTakings(db, shiftStamp(ctx), true);
        out.saved = true;
        out.id = r.ltid;
        out.info(QStringLiteral("미납금 자료를 저장했읍니다.."), title);
        return out;
    });
}

std::optional<PaymentInput> loadPayment(const Db &db, qint64 ltid)
{
    const auto r = loadLecture(db, ltid);
    if (!r || r->programKind != ProgramKind::Payment)
        return std::nullopt;
    PaymentInput p;
    p.jobGubun = QStringLiteral("C");
    p.ltid = ltid;
    p.mbCode = r->mbCode;
    p.payDate = r->rqDate;
    p.cashAmt = r->cashAmt;
    p.cardAmt = r->cardAmt;
    p.card = r->card;
    return p;
}

} // namespace fitrova
