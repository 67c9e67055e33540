#include "entrance/checkin.h"

#include "foundation/appcontext.h"
#include "data/codetexts.h"
#include "data/dates.h"

#include <functional>

namespace fitrova {

namespace {

QString hourMinute(const QDateTime &now) { return now.time().toString(QStringLiteral("hh:mm")); }

// Korean one-syllable name of a weekday numbered Monday = 1 … Sunday = 7.
QString dayNameMondayFirst(int day)
{
    // weekdayShortName counts from Sunday = 1.
    return weekdayShortName(day == 7 ? 1 : day + 1);
}

GateDecision refuse(const QString &text)
{
    GateDecision d;
    d.verdict = GateVerdict::Refused;
    d.message = text;
    d.tone = GateTone::Red;
    return d;
}

QString noLectureText(const GateFacts &f)
{
    return f.member.mbName + QStringLiteral(" 님은 입장가능한 유효강좌가 없읍니다.");
}

VisitToWrite visitOf(const GateFacts &f, const QDateTime &now)
{
    const GateLecture &l = *f.lecture;
    VisitToWrite v;
    v.inDate = fmtDate(now.date());
    v.inTime = hourMinute(now);
    v.pgGubun = l.pgGubun;
    v.mbCode = f.member.mbCode;
    v.mbCard = f.member.mbCard;
    v.course = l.course;
    v.ltid = l.ltid;
    v.pgid = l.pgid;
    return v;
}

constexpr int kDailyOnceWithCheckOut = 4;

// The limit a site option sets on today's visits of one enrollment; 0 none.
// Option 3 means no limit; option 4 is once a day with check-out required.
int effectiveDailyLimit(int option)
{
    if (option == 3 || option <= 0)
        return 0;
    return option == kDailyOnceWithCheckOut ? 1 : option;
}

GateMember memberOf(const Row &r)
{
    return GateMember{r.str(QStringLiteral("MbCode")), r.str(QStringLiteral("MbName")),
                      r.str(QStringLiteral("MbCard"))};
}

// The visit and its equipment, inside the caller's transaction.
qint64 insertVisit(const Db &db, const VisitToWrite &v, const QList<qint64> &itemIds)
{
    const qint64 entid = db.insertId(
        QStringLiteral("INSERT INTO entrance (InDate, InTime, PgGubun, MbCode, MbCard, Ltid, Pgid, Course, "
                       "uTime, Memo) VALUES (?, ?, ?, ?, ?, ?, ?, ?, 0, '')"),
        {v.inDate, v.inTime, v.pgGubun, v.mbCode, v.mbCard, v.ltid, v.pgid, v.course}, QStringLiteral("Entid"));
    for (qint64 item : itemIds)
        db.exec(QStringLiteral("INSERT INTO ItemTrs (Entid, ItId) VALUES (?, ?)"), {entid, item});
    return entid;
}

using Decide = std::function<GateDecision(const GateFacts &)>;

// Member → facts → decision → visit, as one transaction. The member rows are
// read locked (PostgreSQL; SQLite holds the write lock from the start), so a
// card presented at two gates at once is decided at one gate after the other,
// each seeing the visits the other wrote.
CheckInResult findDecideWrite(const Db &db, const QString &findSql, const QString &key, const QDate &today,
                              const Decide &decide, const QList<qint64> &itemIds)
{
    return db.transaction([&] {
        CheckInResult r;
        const Rows found = db.query(findSql + db.forUpdate(), {key});
        if (found.isEmpty())
            return r;
        if (found.size() > 1) {
            r.status = CheckInStatus::Several;
            for (const Row &row : found)
                r.candidates.append(memberOf(row));
            return r;
        }
        r.status = CheckInStatus::Decided;
        r.member = memberOf(found.first());
        r.decision = decide(loadGateFacts(db, r.member, today));
        if (r.decision.writeVisit)
            r.entid = insertVisit(db, r.decision.visit, itemIds);
        return r;
    });
}

const QString kByCard = QStringLiteral("SELECT MbCode, MbName, MbCard FROM Member WHERE MbCard = ? ORDER BY MbCode LIMIT 50");
const QString kByCode = QStringLiteral("SELECT MbCode, MbName, MbCard FROM Member WHERE MbCode = ?");

} // namespace

GateOptions GateOptions::fromUserOptions(const UserOptions &o)
{
    GateOptions g;
    g.dailyLimit = o.opt6;
    g.weekdayCheck = o.opt7_5;
    return g;
}

GateFacts loadGateFacts(const Db &db, const GateMember &member, const QDate &today)
{
    GateFacts f;
    f.member = member;
    const QString day = fmtDate(today);

    // Today's visits of the member (index on MbCode, InDate): the open ones,
    // and later the count on the examined enrollment.
    const Rows visits = db.query(QStringLiteral("SELECT Entid, PgGubun, Ltid, InTime, OutTime FROM entrance "
                                                "WHERE MbCode = ? AND InDate = ? ORDER BY Entid DESC"),
                                 {member.mbCode, day});

    // The newest valid enrollment, its program's weekdays and its postponement
    // row, in one statement (index on MbCode, Sdate2).
    const auto lec = db.queryOne(
        QStringLiteral(
            "SELECT L.Ltid, L.Pgid, L.PgGubun, L.Course, L.RqDate, L.Sdate1, L.Sdate2, L.ddate2, L.PgCnt, "
            "L.uPgCnt, L.Delay, L.Cancel, L.PgName AS LtPgName, P.Pgid AS ProgId, P.PgName, "
            "P.Mon, P.Tue, P.Wed, P.Thu, P.Fri, P.Sat, P.Sun, "
            "D.Ltid AS DelayId, D.Sdate1 AS DelayFrom, D.Sdate2 AS DelayTo "
            "FROM Lecture L LEFT JOIN Program P ON P.Pgid = L.Pgid "
            "LEFT JOIN Lecture D ON D.Ltid = L.Delay AND L.Delay > 0 "
            "WHERE L.MbCode = ? AND L.LtGubun < '3' AND L.Sdate1 <= ? AND L.Sdate2 >= ? "
            "AND L.Transfer = 0 AND L.Cancel = 0 "
            "ORDER BY L.RqDate DESC, L.Ltid DESC LIMIT 1"),
        {member.mbCode, day, day});

    if (lec) {
        const Row &r = *lec;
        GateLecture l;
        l.ltid = r.num(QStringLiteral("Ltid"));
        l.pgid = r.num(QStringLiteral("Pgid"));
        l.pgGubun = r.str(QStringLiteral("PgGubun"));
        l.course = r.str(QStringLiteral("Course"));
        l.pgName = r.isNull(QStringLiteral("ProgId")) ? r.str(QStringLiteral("LtPgName"))
                                                     : r.str(QStringLiteral("PgName"));
        l.rqDate = r.str(QStringLiteral("RqDate"));
        l.sDate1 = r.str(QStringLiteral("Sdate1"));
        l.sDate2 = r.str(QStringLiteral("Sdate2"));
        l.dDate2 = r.str(QStringLiteral("ddate2"));
        l.pgCnt = r.num(QStringLiteral("PgCnt"));
        l.uPgCnt = r.num(QStringLiteral("uPgCnt"));
        l.delay = r.num(QStringLiteral("Delay"));
        l.cancel = r.num(QStringLiteral("Cancel"));
        l.delayFound = !r.isNull(QStringLiteral("DelayId"));
        l.delayFrom = r.str(QStringLiteral("DelayFrom"));
        l.delayTo = r.str(QStringLiteral("DelayTo"));
        static const char *const cols[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
        for (int i = 0; i < 7; ++i)
            l.days[i + 1] = r.num(QLatin1String(cols[i])) != 0;
        f.lecture = l;
    }

    for (const Row &v : visits) {
        const QString out = v.str(QStringLiteral("OutTime")).trimmed();
        if (out.isEmpty())
            f.openVisits.append(OpenVisit{v.num(QStringLiteral("Entid")), v.str(QStringLiteral("PgGubun")),
                                          v.str(QStringLiteral("InTime"))});
        if (f.lecture && v.num(QStringLiteral("Ltid")) == f.lecture->ltid)
            ++f.todayCount;
    }
    return f;
}

GateDecision decideAdmission(const GateFacts &f, const QDateTime &now, const GateOptions &options,
                             bool weekdayConfirmed)
{
    const QDate today = now.date();
    const QString day = fmtDate(today);

    // 1. A time-based member inside presents the card to leave.
    for (const OpenVisit &v : f.openVisits) {
        if (v.pgGubun == QLatin1String("2")) {
            GateDecision d;
            d.verdict = GateVerdict::CheckOut;
            d.checkOutEntid = v.entid;
            d.tone = GateTone::Blue;
            return d;
        }
    }

    // 2. Only the newest valid enrollment counts.
    if (!f.lecture)
        return refuse(noLectureText(f));
    const GateLecture &l = *f.lecture;

    // 3. Bought time used up.
    if (l.pgGubun == QLatin1String("2") && l.pgCnt - l.uPgCnt <= 0) {
        GateDecision d = refuse(QStringLiteral("사용시간이 다 소진되었읍니다."));
        d.messageBox = true;
        d.boxTitle = QStringLiteral("회원입장");
        return d;
    }

    // 4. Inside the postponement period.
    if (l.delay > 0 && l.delayFound && l.delayFrom <= day && day <= l.delayTo)
        return refuse(QStringLiteral("(") + l.delayFrom + QStringLiteral("~") + l.delayTo
                      + QStringLiteral(")강좌 연기기간 중에는 입장하실수 없습니다."));

    // 5. Visits of today on this enrollment. The limit refuses once it is
    // reached, also when visits admitted by hand went past it.
    // With check-out required, a visit still open is named first.
    if (options.dailyLimit == kDailyOnceWithCheckOut && !f.openVisits.isEmpty()) {
        GateDecision d = refuse(QStringLiteral("퇴실처리되지 않은 입장이 있읍니다.. (입장 ") +
                                f.openVisits.first().inTime.left(5) + QStringLiteral(")"));
        d.todayCount = f.todayCount;
        return d;
    }
    const int limit = effectiveDailyLimit(options.dailyLimit);
    if (limit > 0 && f.todayCount >= limit) {
        GateDecision d = refuse(QStringLiteral("일일 입장횟수를 초과했읍니다.."));
        d.todayCount = f.todayCount;
        return d;
    }

    // 6. The program's weekdays.
    if (options.weekdayCheck != 1 && !weekdayConfirmed) {
        const int dow = today.dayOfWeek(); // 1 Monday … 7 Sunday
        if (!l.days[dow]) {
            const QString name = dayNameMondayFirst(dow);
            if (options.weekdayCheck == 2) {
                GateDecision d;
                d.verdict = GateVerdict::AskWeekday;
                d.message = QStringLiteral("[") + name + QStringLiteral("] 요일은 입장가능한 요일이 아닙니다. 입장하시겠습니까?");
                d.boxTitle = QStringLiteral("회원입장");
                d.tone = GateTone::Red;
                d.todayCount = f.todayCount;
                return d;
            }
            return refuse(QStringLiteral("[") + name + QStringLiteral("] 요일은 입장하실수 없습니다. "));
        }
    }

    // 7. Admitted.
    GateDecision d;
    d.tone = GateTone::Blue;
    d.todayCount = f.todayCount;
    d.visit = visitOf(f, now);
    if (l.pgGubun != QLatin1String("1")) {
        d.verdict = GateVerdict::AdmitPending;
        d.message = QStringLiteral("입장가능한 회원입니다..");
        return d;
    }
    d.verdict = GateVerdict::Admitted;
    d.writeVisit = true;
    d.remainDays = lectureRemainDays(l.cancel, l.dDate2, today);
    if (d.remainDays < 8)
        d.message = QStringLiteral("정상입장.. [ 만기 ") + QString::number(d.remainDays) + QStringLiteral(" 일전 ]");
    else
        d.message = QStringLiteral("정상입장..( ") + QString::number(f.todayCount + 1) + QStringLiteral(" 회)");
    return d;
}

GateDecision decideManualAdmission(const GateFacts &f, const QDateTime &now)
{
    if (f.member.isEmpty())
        return refuse(QString());
    if (!f.lecture)
        return refuse(noLectureText(f));
    GateDecision d;
    d.verdict = GateVerdict::Admitted;
    d.tone = GateTone::Blue;
    d.message = QStringLiteral("정상입장 처리되었읍니다");
    d.todayCount = f.todayCount;
    d.remainDays = lectureRemainDays(f.lecture->cancel, f.lecture->dDate2, now.date());
    d.writeVisit = true;
    d.visit = visitOf(f, now);
    return d;
}

qint64 writeVisit(const Db &db, const VisitToWrite &v, const QList<qint64> &itemIds)
{
    return db.transaction([&] { return insertVisit(db, v, itemIds); });
}

CheckInResult checkInByCard(const Db &db, const QString &cardNo, const QDateTime &now, const GateOptions &options,
                            const CheckInRequest &request)
{
    const QString card = cardNo.trimmed();
    if (card.isEmpty())
        return {};
    return findDecideWrite(
        db, kByCard, card, now.date(),
        [&](const GateFacts &f) { return decideAdmission(f, now, options, request.weekdayConfirmed); },
        request.itemIds);
}

CheckInResult checkInByCard(AppContext &ctx, const QString &cardNo, const CheckInRequest &request)
{
    return checkInByCard(ctx.ent, cardNo, ctx.clock().now(), GateOptions::fromUserOptions(ctx.options), request);
}

CheckInResult checkInMember(const Db &db, const QString &mbCode, const QDateTime &now, const GateOptions &options,
                            const CheckInRequest &request)
{
    return findDecideWrite(
        db, kByCode, mbCode.trimmed(), now.date(),
        [&](const GateFacts &f) { return decideAdmission(f, now, options, request.weekdayConfirmed); },
        request.itemIds);
}

CheckInResult checkInMember(AppContext &ctx, const QString &mbCode, const CheckInRequest &request)
{
    return checkInMember(ctx.ent, mbCode, ctx.clock().now(), GateOptions::fromUserOptions(ctx.options), request);
}

CheckInResult admitByHand(const Db &db, const QString &mbCode, const QDateTime &now, const QList<qint64> &itemIds)
{
    return findDecideWrite(
        db, kByCode, mbCode.trimmed(), now.date(), [&](const GateFacts &f) { return decideManualAdmission(f, now); },
        itemIds);
}

} // namespace fitrova
