#pragma once
// Shifts (교대): a user's turn at the counter, from the moment it opens to
// the blind count that closes it. Each shift is a Finish row with FnCnt the
// shift's number ("1", "2", … per workstation and day); the daily closing
// sums the closed shifts of its window (closing/closing.h).
//
// Opening. A shift opens for the user at the first sale of a user who has
// none open (ensureShift, inside the sale's transaction), by hand
// (openShiftByHand), or when the user's count is taken without one
// (closeShift). A user has one open shift at a time (decided under a lock on
// the user's row). The float brought forward (BefAmt) is proposed from the
// last closed shift of the workstation: what that shift left in the drawer.
// fDate stays "0000-00-00" and FnChk "0" while the shift is open.
//
// Which takings are the shift's: the user's takings rows (closingwindow.h)
// from the shift's start to its end. A shift starts where the user's earlier
// takings stop being covered: at the user's first takings row after the end
// of the user's last shift, within the business day (or the bounds a closing
// screen gives), or at the moment it opens when there is none. So payments
// taken on the enrollment screen before the first sale of the day belong to
// the shift, and no row of the user falls between two shifts.
//
// Closing is a blind count: the clerk gives the cash counted by denomination,
// the card slips total and the float left for the next shift, and only then
// sees what was recorded (readShift gives the same figures as an X reading at
// any time). Recorded, received, difference and closed amounts are written,
// FnChk becomes "1", and the shift's sale lines are marked closed (Sale.FnChk
// "1"): they can no longer be corrected or deleted.

#include "closing/closingsettings.h"
#include "closing/closingwindow.h"
#include "data/db.h"
#include "foundation/outcome.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <array>
#include <optional>

namespace fitrova {

class AppContext;

// One Finish row: a shift (FnCnt "1", "2", …) or a daily closing (FnCnt "0").
struct FinishRow {
    qint64 fnid = 0;
    QString fDate, fnCnt, fnChk;
    QString sDate1, time1, sDate2, time2;
    QString psCode, userName;
    int posNo = 0;
    qint64 befAmt = 0, totCnt = 0;
    qint64 cashAmt1 = 0, cardAmt1 = 0, totAmt1 = 0; // recorded
    qint64 cashAmt2 = 0, cardAmt2 = 0, totAmt2 = 0; // received
    qint64 cashAmt3 = 0, cardAmt3 = 0, totAmt3 = 0; // difference
    qint64 cashAmt4 = 0, totAmt4 = 0;               // closed
    QString remark;                                 // reason of a difference

    bool isDaily() const { return fnCnt.trimmed() == QLatin1String("0"); }
    bool isOpen() const { return !isDaily() && fnChk != QLatin1String("1"); }
    // In a daily closing: the closing date stamped.
    bool isDayClosed() const { return !fDate.isEmpty() && fDate != QLatin1String("0000-00-00"); }
    TimeWindow window() const { return {sDate1, time1, sDate2, time2}; }
};
FinishRow finishRowFrom(const Row &r);
// The columns finishRowFrom reads, with the user name joined: use as
// "SELECT " + finishColumns() + " FROM Finish f LEFT JOIN UserM u ON …".
QString finishColumns();

std::optional<FinishRow> loadFinish(const Db &db, qint64 fnid);

// Who works where and when.
struct ShiftStamp {
    QString psCode;
    int posNo = 0;
    QDateTime now;
    QString date() const;
    QString time() const;
};
ShiftStamp shiftStamp(const AppContext &ctx);

inline QString openShiftDate() { return QStringLiteral("0000-00-00"); }
inline QString shiftTitle() { return QStringLiteral("교대마감"); }

// The user's open shift; the oldest when there are several.
std::optional<FinishRow> openShiftOf(const Db &db, const QString &psCode);
// "N 교대"; "0 교대" when no shift is open.
QString shiftText(const std::optional<FinishRow> &shift);

// What the last closed shift of the workstation left in the drawer: its float
// and counted cash less the cash it handed in. 0 when there is none.
qint64 proposedFloat(const Db &db, int posNo);

// The user's open shift, opened now when there is none; to be called inside
// the transaction that writes the user's sale. `lowerBound` is where the new
// shift may start at the earliest (by default the start of the business day).
FinishRow ensureShift(const Db &db, const ShiftStamp &st, const ClosingSettings &settings,
                      const QString &lowerBound = {});

// Takings (a sale, an enrollment payment or refund, a locker deposit, fee or
// refund) were just written for the stamp's user inside the caller's
// transaction: opens the user's shift when none is open, so no takings wait
// outside a shift. Nothing when no money moved or nobody is signed in.
void openShiftForTakings(const Db &db, const ShiftStamp &st, bool moneyMoved);
// The stamp of a row written at `date` ("YYYY-MM-DD") and `time` ("hh:mm:ss").
ShiftStamp shiftStampAt(const QString &psCode, int posNo, const QString &date, const QString &time);

// Opens a shift by hand with the float given. Refused when the user already
// has one open.
Outcome openShiftByHand(const Db &db, const ShiftStamp &st, const ClosingSettings &settings, qint64 befAmt);

// --- recorded takings ----------------------------------------------------------------

struct ShiftFigures {
    Takings goods, courses, lockers;
    Takings total() const
    {
        Takings t = goods;
        t += courses;
        t += lockers;
        return t;
    }
    bool operator==(const ShiftFigures &) const = default;
};
// The takings of the window, of one user ("" for all users). A shift counts
// only rows no daily closing has closed yet (openOnly).
ShiftFigures recordedTakings(const Db &db, const TimeWindow &w, const QString &psCode, bool openOnly = false);

// A shift read without closing it: its window up to now (or to the end of
// the given bounds when now is past them) and what was recorded in it.
struct ShiftReading {
    FinishRow shift;
    TimeWindow window;
    ShiftFigures figures;
};
// The user's shift as it stands: the open one, or the one a count would open
// now. `bounds` (optional) limit where it starts and ends.
ShiftReading readShiftOf(const Db &db, const ShiftStamp &st, const ClosingSettings &settings,
                         const std::optional<TimeWindow> &bounds = {});
// A given shift: closed ones as closed, open ones up to now.
std::optional<ShiftReading> readShift(const Db &db, qint64 fnid, const ShiftStamp &st,
                                      const std::optional<TimeWindow> &bounds = {});

// --- the blind count ------------------------------------------------------------------

// Notes and coins counted in the drawer.
struct CashCount {
    static constexpr std::array<qint64, 8> kUnits{50000, 10000, 5000, 1000, 500, 100, 50, 10};
    std::array<qint64, 8> qty{};
    qint64 cash() const;
    bool operator==(const CashCount &) const = default;
};

struct ShiftCount {
    qint64 befAmt = 0;    // the float the shift began with
    CashCount cash;       // everything in the drawer
    qint64 cardSlips = 0; // total of the card slips
    qint64 floatLeft = 0; // cash left in the drawer for the next shift
    QString reason;       // why the money differs from the records
};

// The amounts of a closed shift, from what was recorded and what was counted.
struct ShiftBalance {
    qint64 counted = 0;                        // cash in the drawer
    qint64 cashAmt2 = 0, cardAmt2 = 0, totAmt2 = 0; // received: counted less the float, card slips
    qint64 cashAmt3 = 0, cardAmt3 = 0, totAmt3 = 0; // received less recorded
    qint64 cashAmt4 = 0, totAmt4 = 0;          // handed in: counted less the float left; with the card slips
    // A difference of cash or card above the limit needs a reason.
    bool needsReason(qint64 limit) const;
    bool operator==(const ShiftBalance &) const = default;
};
ShiftBalance balanceOf(const ShiftFigures &recorded, const ShiftCount &count);

// Checks of a count before anything is shown (0 none, else the field).
enum class CountField { None, Float, Cash, Card, FloatLeft, Reason };
Outcome checkCount(const ShiftCount &count);

struct ShiftCloseRequest {
    qint64 fnid = 0;                    // the shift; 0: the user's own (opened now when none)
    ShiftCount count;
    std::optional<TimeWindow> bounds;   // the closing window the shift must lie in
};
// Closes the shift in one transaction: the recorded figures taken again under
// the lock, the difference checked against the limit, the Finish row written,
// the denominations kept, the shift's sale lines marked closed. Outcome.id is
// the shift's Fnid.
Outcome closeShift(const Db &db, const ShiftCloseRequest &req, const ShiftStamp &st, const ClosingSettings &settings);

// The denominations counted at a shift's close (empty when none were kept).
CashCount storedCashCount(const Db &db, qint64 fnid);

} // namespace fitrova
