#include "enrollment/postponement.h"

#include "foundation/appcontext.h"
#include "data/dates.h"
#include "members/lecturedelete.h"

namespace fitrova {

Outcome postponeEligible(const LectureInfo &l)
{
    const bool pause = l.kind == LectureKind::Postponement;
    if (!isEnrollmentLike(l.kind) && !pause)
        return Outcome::refused(QStringLiteral("연기처리할 강좌가 없읍니다"), postponeTitle());
    if (!pause && !l.useDelay)
        return Outcome::refused(QStringLiteral("연기할수 없는 강좌입니다"), postponeTitle());
    if (l.cancel > 0)
        return Outcome::refused(QStringLiteral("환불된 강좌는 연기할수 없읍니다"), postponeTitle());
    return Outcome::pass();
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
        const QString failed = QStringLiteral("연기내역을 저장하는데 실패하였읍니다");
        const QString failedTitle = QStringLiteral("연기내역저장");
        std::optional<LectureRecord> row;
        if (modify) {
            row = loadLecture(db, in.ltid, RowLock::ForUpdate);
            if (!row || row->kind != LectureKind::Postponement)
                return EnrollResult::refuse(failed, failedTitle);
        }
        // Locked: two pauses saved at once both move the end, one after the other.
        const auto base = loadLectureInfo(db, modify ? in.bLtid : in.ltid, RowLock::ForUpdate);
        if (!base)
            return EnrollResult::refuse(failed, failedTitle);
        const Stamp st = stampOf(ctx);
        LectureRecord r;
        if (!modify) {
            const Outcome ok = postponeEligible(*base);
            if (!ok)
                return ok;
            r = derivedRow(*base, LectureKind::Postponement);
            r.rqDate = in.rqDate;
            r.sDate1 = in.from;
            r.sDate2 = in.to;
            r.remark = in.reason;
            r.rday = days;
            stampRow(r, st);
            r.ltid = insertLecture(db, r);
            LectureRecord b = *base;
            b.delay = r.ltid;
            b.sDate2 = base->sDate2 == QLatin1String(kOpenEndDate) ? base->sDate2 : addDaysText(base->sDate2, days);
            updateLecture(db, b, {LectureField::Delay, LectureField::Sdate2});
        } else {
            r = *row;
            r.rqDate = in.rqDate;
            r.sDate1 = in.from;
            r.sDate2 = in.to;
            r.dDate1 = addDaysText(in.to, 1);
            r.dDate2 = addDaysText(r.dDate1, days - 1);
            r.rday = days;
            r.remark = in.reason;
            stampRow(r, st);
            using F = LectureField;
            updateLecture(db, r,
                          {F::RqDate, F::Sdate1, F::Sdate2, F::ddate1, F::ddate2, F::Rday, F::Remark, F::LastUser,
                           F::LastDate, F::LastTime});
            // From the period as sold and every postponement that stands,
            // as the deletion repair computes it.
            repairBase(db, base->ltid, LectureKind::Postponement);
        }
        EnrollResult out;
        const auto member = db.queryOne(QStringLiteral("SELECT MisuAmt, Point FROM Member WHERE MbCode = ?"),
                                        {base->mbCode});
        out.misuAmt = member ? member->num(QStringLiteral("MisuAmt")) : 0;
        out.point = member ? member->num(QStringLiteral("Point")) : 0;
        out.saved = true;
        out.id = r.ltid;
        out.info(QStringLiteral("연기자료를 저장했읍니다.."), title);
        return out;
    });
}

} // namespace fitrova
