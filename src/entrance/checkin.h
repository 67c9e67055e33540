#pragma once
// The gate: what happens when a member card is presented.
//
// The admission decision is a pure function of a few facts about the member
// (today's visits, the newest valid enrollment, its postponement period) and
// the site options. One check-in is one transaction: the member is found with
// the row locked (PostgreSQL; on SQLite the transaction holds the write lock
// from its start), the facts are read, the decision taken and the visit
// written before the lock is let go. A card presented at two gates at the
// same moment is thus decided at one gate after the other, and the second
// sees the first one's visit: the daily limit holds.
//
// The desk calls one function per presented card, with the clock time and
// the site options:
//
//     const CheckInResult r = checkInByCard(ctx.ent, cardNo, ctx.clock().now(),
//                                           GateOptions::fromUserOptions(ctx.options));
//     switch (r.status) {
//     case CheckInStatus::NotFound: ... show gateNotFoundText() titled gateNotFoundTitle()
//     case CheckInStatus::Several:  ... r.candidates carry the card: let staff pick one,
//                                       then checkInMember(ctx.ent, mbCode, now, options)
//     case CheckInStatus::Decided:  ... r.decision.message in r.decision.tone;
//                                       r.entid > 0 when a visit was written
//     }
//
// checkInByCard(ctx, cardNo) and checkInMember(ctx, mbCode) do the same with
// the context's clock and options. A weekday question answered yes is passed
// back as CheckInRequest::weekdayConfirmed; the equipment lent goes in
// CheckInRequest::itemIds. The 입장 button admits by hand: admitByHand.
//
// On the file databases the entrance tables live in the entrance file, which
// the main connection attaches; on the server engine everything is one
// database. Pass ctx.ent: its statements reach Member, Lecture and Program as
// well as entrance and ItemTrs.

#include "data/db.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <array>
#include <optional>

namespace fitrova {

class AppContext;
struct UserOptions;

// --- options -----------------------------------------------------------------------

struct GateOptions {
    // Visits per day on one enrollment: 1 once, 2 twice, 3 no limit,
    // 4 once a day with check-out required (a member whose visit of today
    // has no check-out is told so); 0 (or any value below 1) no limit.
    int dailyLimit = 1;
    // Weekday check: 0 admit only on the program's days, 1 no check,
    // 2 ask the desk whether to admit on another day.
    int weekdayCheck = 0;

    static GateOptions fromUserOptions(const UserOptions &o);
};

// --- facts the decision is taken on ---------------------------------------------------

struct GateMember {
    QString mbCode, mbName, mbCard;
    bool isEmpty() const { return mbCode.isEmpty(); }
};

// A visit of today that has no exit time yet.
struct OpenVisit {
    qint64 entid = 0;
    QString pgGubun;
    QString inTime;
};

// The member's newest enrollment valid today (LtGubun 0..2, period holding
// today, not transferred away or refunded), with what the gate needs of its
// program and of its postponement row.
struct GateLecture {
    qint64 ltid = 0;
    qint64 pgid = 0;
    QString pgGubun;     // "1" period, "2" time-based
    QString course;
    QString pgName;
    QString rqDate, sDate1, sDate2, dDate2;
    qint64 pgCnt = 0, uPgCnt = 0;
    qint64 delay = 0, cancel = 0;
    // The postponement row named by delay, when it exists.
    bool delayFound = false;
    QString delayFrom, delayTo;
    // The program's weekdays, index 1 Monday … 7 Sunday (index 0 unused).
    // All false when the program row is gone.
    std::array<bool, 8> days{};
};

struct GateFacts {
    GateMember member;
    QList<OpenVisit> openVisits;       // today, newest first
    std::optional<GateLecture> lecture; // the newest valid enrollment
    int todayCount = 0;                 // today's visits on that enrollment
};

// Reads the facts of one member for the day (two indexed statements). To
// decide on them, read them inside the transaction that writes the visit.
GateFacts loadGateFacts(const Db &db, const GateMember &member, const QDate &today);

// --- the decision ----------------------------------------------------------------------

enum class GateVerdict {
    Admitted,      // a period member: the visit is written now
    AdmitPending,  // a time-based member may enter: written when staff press 입장
    CheckOut,      // a time-based member inside: open the check-out for checkOutEntid
    Refused,
    AskWeekday,    // not a program day and the site asks: confirm, then decide again
};

enum class GateTone { None, Blue, Red };

// The visit a decision admits.
struct VisitToWrite {
    QString inDate, inTime;  // "YYYY-MM-DD", "hh:mm"
    QString pgGubun, mbCode, mbCard, course;
    qint64 ltid = 0, pgid = 0;
    bool operator==(const VisitToWrite &) const = default;
};

struct GateDecision {
    GateVerdict verdict = GateVerdict::Refused;
    QString message;       // the message panel text
    GateTone tone = GateTone::None;
    // Refusals shown as a message box rather than in the panel only.
    bool messageBox = false;
    QString boxTitle;
    qint64 checkOutEntid = 0;
    bool writeVisit = false; // true for Admitted: write `visit`
    VisitToWrite visit;
    int todayCount = 0;      // visits already made today on the enrollment
    int remainDays = 0;      // period enrollments: days left

    bool admitted() const
    {
        return verdict == GateVerdict::Admitted || verdict == GateVerdict::AdmitPending
            || verdict == GateVerdict::CheckOut;
    }
};

// The admission decision; the first rule that applies ends it:
//   1. a time-based visit of today without exit → check-out;
//   2. no valid enrollment → refused;
//   3. time-based and no minutes left → refused (message box);
//   4. inside the postponement period → refused with its dates;
//   5. today's visits on the enrollment reached the daily limit → refused;
//   6. not one of the program's weekdays → refused (or asked);
//   7. admitted: a period visit is written at once.
// `now` gives the visit's date and time. With weekdayConfirmed the desk has
// already said yes to the weekday question.
GateDecision decideAdmission(const GateFacts &facts, const QDateTime &now, const GateOptions &options,
                             bool weekdayConfirmed = false);

// The 입장 button (F10): admits on the newest valid enrollment without the
// time, postponement, limit and weekday rules. Refused only without one.
GateDecision decideManualAdmission(const GateFacts &facts, const QDateTime &now);

// --- writing ---------------------------------------------------------------------------

// Writes the visit and one ItemTrs row per lent item in one transaction
// (a savepoint inside the caller's); returns the new Entid.
qint64 writeVisit(const Db &db, const VisitToWrite &visit, const QList<qint64> &itemIds = {});

// --- the one call of the desk ------------------------------------------------------------

enum class CheckInStatus { NotFound, Several, Decided };

struct CheckInRequest {
    QList<qint64> itemIds;         // equipment lent with the visit
    bool weekdayConfirmed = false; // the desk said yes to the weekday question
};

struct CheckInResult {
    CheckInStatus status = CheckInStatus::NotFound;
    GateMember member;             // the member found (Decided)
    QList<GateMember> candidates;  // Several: the members carrying the card
    GateDecision decision;
    qint64 entid = 0;              // the visit written, 0 when none
};

// Card → member → decision → visit, in one transaction. Finds the member by
// card number, takes the decision and writes the visit when the decision
// admits a period member. Nothing else (no screen texts, no history) is read.
CheckInResult checkInByCard(const Db &db, const QString &cardNo, const QDateTime &now, const GateOptions &options,
                            const CheckInRequest &request = {});
CheckInResult checkInByCard(AppContext &ctx, const QString &cardNo, const CheckInRequest &request = {});

// The same for a member already identified (by another search kind or a pick).
CheckInResult checkInMember(const Db &db, const QString &mbCode, const QDateTime &now, const GateOptions &options,
                            const CheckInRequest &request = {});
CheckInResult checkInMember(AppContext &ctx, const QString &mbCode, const CheckInRequest &request = {});

// The 입장 button (F10) for a member on the screen: decideManualAdmission
// on the facts read in the same transaction, and the visit written when it
// admits. NotFound when the member is gone.
CheckInResult admitByHand(const Db &db, const QString &mbCode, const QDateTime &now,
                          const QList<qint64> &itemIds = {});

// Texts and titles the gate shows.
inline QString gateNotFoundText() { return QStringLiteral("해당회원을 찾을수 없읍니다."); }
inline QString gateNotFoundTitle() { return QStringLiteral("회원찾기"); }

} // namespace fitrova
