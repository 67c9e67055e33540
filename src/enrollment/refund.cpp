#include "enrollment/refund.h"

#include "closing/shift.h"
#include "foundation/appcontext.h"
#include "data/dates.h"
#include "data/ledger.h"
#include "enrollment/waitlist.h"
#include "members/lecturedelete.h"

#include <algorithm>

namespace fitrova {

Outcome refundEligible(const LectureInfo &l)
{
    const QString title = QStringLiteral("수강취소");
    if (!isEnrollmentLike(l.kind))
        return Outcome::refused(QStringLiteral("환불처리할 강좌가 없읍니다"), title);
    if (!l.useCancel)
        return Outcome::refused(QStringLiteral("환불할수 없는 강좌입니다"), title);
    if (l.cancel > 0)
        return Outcome::refused(QStringLiteral("이미 환불된 강좌입니다"), title);
    return Outcome::pass();
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
        // The refund row (when modified), then the enrollment, locked: a
        // second desk refunding the same enrollment waits and then finds it
        // refunded.
        std::optional<LectureRecord> row;
        if (modify) {
            row = loadLecture(db, in.ltid, RowLock::ForUpdate);
            if (!row || row->kind != LectureKind::Refund)
                return EnrollResult::refuse(QStringLiteral("해당자료를 찾을수 없읍니다"), title);
        }
        const auto base = loadLectureInfo(db, modify ? in.bLtid : in.ltid, RowLock::ForUpdate);
        if (!base)
            return EnrollResult::refuse(QStringLiteral("환불할 강좌자료를 찾을수 없읍니다"), title);
        if (!modify) {
            const Outcome ok = refundEligible(*base);
            if (!ok)
                return ok;
        }
        // An enrollment cannot give back more than was paid for it; a class
        // change or a received transfer carries only part of the payment, so
        // there the desk's figure stands.
        if (base->kind == LectureKind::Enrollment && in.amount > base->cashAmt + base->cardAmt)
            return EnrollResult::refuse(QStringLiteral("환불금액이 입금액보다 많읍니다"), title);

        const bool card = in.payKind.left(1) == QLatin1String("2");
        LectureRecord r = modify ? *row : derivedRow(*base, LectureKind::Refund);
        r.rday = refundFigures(0, 0, base->sDate1, base->sDate2, in.refundDate, 0, 0).remainDays;
        if (modify) {
            // The enrollment now ends on the old refund date: the remaining
            // days move by as much as the refund date moves.
            const QString oldDate = row->sDate2.isEmpty() ? row->rqDate : row->sDate2;
            r.rday = std::max<qint64>(0, row->rday + daysBetween(in.refundDate, oldDate));
        }
        r.rqDate = r.sDate2 = in.refundDate;
        r.cashAmt = card ? 0 : in.amount;
        r.cardAmt = card ? in.amount : 0;
        r.tAmt = in.amount;
        stampRow(r, stampOf(ctx));
        if (!modify) {
            r.ltid = insertLecture(db, r);
            LectureRecord b = *base;
            b.cancel = r.ltid;
            b.sDate2 = in.refundDate;
            updateLecture(db, b, {LectureField::Cancel, LectureField::Sdate2});
        } else {
            using F = LectureField;
            updateLecture(db, r,
                          {F::RqDate, F::Sdate2, F::CashAmt, F::CardAmt, F::TAmt, F::Rday, F::LastUser, F::LastDate,
                           F::LastTime});
            repairBase(db, base->ltid, LectureKind::Refund);
        }
        EnrollResult out;
        out.misuAmt = updateMemberUnpaid(db, base->mbCode);
        // A refund takes back the points its amount had earned, never more
        // than the enrollment itself earned.
        PointEntry points{QStringLiteral("1"), base->mbCode, base->mbName, in.refundDate, r.ltid, -in.amount,
                          base->pgName, 0};
        if (ctx.options.pointsInUse()) {
            const qint64 earned = std::max<qint64>(
                0, db.scalar(QStringLiteral("SELECT uPoint FROM UserPoint WHERE MbCode = ? AND PgGubun = '1' "
                                            "AND JoinId = ?"),
                             {base->mbCode, base->ltid})
                       .toLongLong());
            points.earned = -std::min(earned, -pointsEarned(ctx.options.opt7_1, -in.amount));
        }
        out.point = savePointEntry(db, ctx.options.opt7_1, points)
                        .value_or(db.scalar(QStringLiteral("SELECT Point FROM Member WHERE MbCode = ?"),
                                            {base->mbCode})
                                      .toLongLong());
        openShiftForTakings(db, shiftStamp(ctx), in.amount != 0);
        out.saved = true;
        out.id = r.ltid;
        out.info(QStringLiteral("환불자료를 저장했읍니다.."), title);
        if (!modify)
            if (const Notice n = placeFreedNotice(db, base->pgid, stampOf(ctx).date); !n.isEmpty())
                out.notices.append(n);
        return out;
    });
}

} // namespace fitrova
