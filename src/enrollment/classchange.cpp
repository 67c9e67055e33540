#include "enrollment/classchange.h"

#include "closing/shift.h"
#include "enrollment/capacity.h"
#include "enrollment/waitlist.h"

#include "foundation/appcontext.h"
#include "data/dates.h"
#include "data/ledger.h"

#include <algorithm>
#include <cstdlib>

namespace fitrova {

Outcome classChangeEligible(const LectureInfo &l)
{
    if (isEnrollmentLike(l.kind))
        return Outcome::pass();
    return Outcome::refused(QStringLiteral("반변경할 강좌가 없읍니다"), classChangeTitle());
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
        std::optional<LectureRecord> row;
        if (modify) {
            row = loadLecture(db, in.ltid, RowLock::ForUpdate);
            if (!row || row->kind != LectureKind::ClassChange)
                return EnrollResult::refuse(QStringLiteral("해당자료를 찾을수 없읍니다"), title);
        }
        const auto base = loadLectureInfo(db, baseId, RowLock::ForUpdate);
        if (!base)
            return EnrollResult::refuse(lectureGoneText(), title);
        if (!modify) {
            const Outcome ok = classChangeEligible(*base);
            if (!ok)
                return ok;
        }
        const auto prog = db.queryOne(QStringLiteral("SELECT * FROM Program WHERE Pgid = ?"), {in.newPgid});
        if (!prog)
            return EnrollResult::refuse(QStringLiteral("강좌자료를 찾을수 없읍니다"), QStringLiteral("강좌내역"));
        if (const CapacityCheck cap = checkCapacity(db, in.newPgid, in.sDate1, in.sDate2, modify ? in.ltid : baseId);
            cap.full) {
            EnrollResult full = EnrollResult::refuse(capacityRefusalText(cap), capacityTitle());
            full.waitOffer = EnrollResult::WaitOffer{in.newPgid, base->mbCode, in.sDate1, in.sDate2};
            return full;
        }

        const Stamp st = stampOf(ctx);
        const bool card = in.payKind.left(1) == QLatin1String("2");
        const QString pgName = prog->str(QStringLiteral("PgName"));
        LectureRecord r = modify ? *row : derivedRow(*base, LectureKind::ClassChange);
        r.pgCode = prog->str(QStringLiteral("PgCode"));
        r.pgid = in.newPgid;
        r.pgName = pgName;
        r.course = prog->str(QStringLiteral("Course"));
        r.lclass = prog->str(QStringLiteral("Lclass"));
        r.mclass = prog->str(QStringLiteral("Mclass"));
        r.sclass = prog->str(QStringLiteral("Sclass"));
        r.time1 = prog->str(QStringLiteral("Time1"));
        r.time2 = prog->str(QStringLiteral("Time2"));
        r.ltCode = prog->str(QStringLiteral("LtCode"));
        r.monthCnt = in.monthCnt;
        r.rqDate = in.rqDate;
        r.tAmt = in.extra;
        r.cashAmt = card ? 0 : in.extra;
        r.cardAmt = card ? in.extra : 0;
        stampRow(r, st);
        r.sDate1 = r.dDate1 = in.sDate1;
        r.sDate2 = r.dDate2 = in.sDate2;

        LectureRecord b = *base;
        b.sDate2 = in.sDate1 == base->sDate1 ? in.sDate1 : addDaysText(in.sDate1, -1);
        if (!modify) {
            r.ltid = insertLecture(db, r);
            // The enrollment ends before the new class when this is its first change.
            if (base->change == 0) {
                b.change = r.ltid;
                updateLecture(db, b, {LectureField::Sdate2, LectureField::Change});
            }
        } else {
            using F = LectureField;
            updateLecture(db, r,
                          {F::PgCode, F::Pgid, F::PgName, F::Course, F::Lclass, F::Mclass, F::Sclass, F::Time1,
                           F::Time2, F::LtCode, F::MonthCnt, F::RqDate, F::TAmt, F::CashAmt, F::CardAmt, F::LastDate,
                           F::LastTime, F::Sdate1, F::Sdate2, F::ddate1, F::ddate2, F::LastUser});
            b.change = r.ltid;
            updateLecture(db, b, {LectureField::Sdate2, LectureField::Change});
        }

        // In the new class: the member no longer waits for it.
        leaveWaitList(db, in.newPgid, base->mbCode);

        EnrollResult out;
        out.misuAmt = updateMemberUnpaid(db, base->mbCode);
        const qint64 amount = in.extra < 0 ? -in.extra : in.extra;
        out.point = savePointEntry(db, ctx.options.opt7_1, QStringLiteral("1"), base->mbCode, base->mbName,
                                   in.rqDate, r.ltid, amount, pgName, 0)
                        .value_or(recalcMemberPoint(db, base->mbCode));
        openShiftForTakings(db, shiftStamp(ctx), in.extra != 0);
        out.saved = true;
        out.id = r.ltid;
        out.info(QStringLiteral("변경자료를 저장했읍니다.."), title);
        // The class left has a free place from the day after the member's
        // last day in it.
        if (base->pgid != in.newPgid)
            if (const Notice n = placeFreedNotice(db, base->pgid, std::max(st.date, addDaysText(b.sDate2, 1)));
                !n.isEmpty())
                out.notices.append(n);
        return out;
    });
}

} // namespace fitrova
