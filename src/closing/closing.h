#pragma once
// The daily closing (일일마감): the closed shifts of a window summed into the
// day's row of Finish (FnCnt "0", one per closing date), and the closing date
// stamped on every takings row of the window (Sale.SlfDate, Lecture.fDate,
// RqPerBox.fDate) and on the shifts it counted (Finish.fDate).
//
// The day is closed whole or not at all: one transaction that first holds
// the takings tables against writers (lockTakingsTables), then checks, clears
// the stamps of an earlier closing of the same date, stamps and writes the
// day's row. So a second closing of a date replaces the first, a sale made
// meanwhile lands wholly before or after it, and rows already closed under
// another date keep that date.
//
// The closing sums shifts and stamps rows, so the two must cover the same
// takings: it is refused while a shift that could hold takings of the window
// is still open, while a closed shift lies partly outside the window, or
// while takings of the window belong to no closed shift (their user's count
// has not been taken); the refusal names each of them.
//
// Deleting a closing takes the delete right. Deleting a day clears the
// stamps it wrote in the same transaction, so a later closing of that date is
// complete; a shift counted in a daily closing is deleted only after that
// closing; deleting a closed shift makes its sale lines correctable again.

#include "closing/closingsettings.h"
#include "closing/closingwindow.h"
#include "closing/shift.h"
#include "data/db.h"
#include "foundation/outcome.h"

#include <QList>
#include <QString>

namespace fitrova {

inline QString dayClosingTitle() { return QStringLiteral("일일마감작업"); }

struct DayClosingInput {
    TimeWindow window;
    QString closingDate; // "YYYY-MM-DD": the window's first day, or its last in the second mode
};

// "2024-05-10일 06:00:00시 부터\n2024-05-11일 06:00:00시 까지의\n판매자료를 2024-05-10 일자로 마감처리 하시겠읍니까? "
QString dayClosingQuestion(const DayClosingInput &in);

// What stands in the way of closing the window.
struct ClosingProblem {
    enum class Kind { OpenShift, PartlyOutside, NotCounted };
    Kind kind = Kind::NotCounted;
    QString psCode, userName;
    FinishRow shift; // OpenShift, PartlyOutside
    Takings takings; // NotCounted: the user's takings no closed shift holds
};
QList<ClosingProblem> dayClosingProblems(const Db &db, const DayClosingInput &in);
// The refusal's text: one line per problem under a heading.
QString problemsText(const QList<ClosingProblem> &problems);

// Closes the day (see above). Refused when the window or date is invalid, or
// for the problems above. Outcome.id is the day's Fnid.
Outcome closeDay(const Db &db, const DayClosingInput &in, const ShiftStamp &st);

// --- lists -----------------------------------------------------------------------------

struct ClosingListCriteria {
    bool byClosingDate = false;    // else by sale date and time
    TimeWindow window;             // sale dates and times
    QString fromDate, toDate;      // closing dates
    bool shifts = false;           // the shift list; else the daily list
    bool includeNotClosed = false; // shifts: also those not yet counted (교대마감안된자료포함)
};
// Daily rows ordered by closing date, shifts by their start; with the user's name.
QList<FinishRow> listClosings(const Db &db, const ClosingListCriteria &c);

// --- deletion ---------------------------------------------------------------------------

inline QString closingDeleteTitle() { return QStringLiteral("마감자료삭제"); }
// The delete right of the takings lists (closings, goods lines): the
// administrator grade "1".
inline bool mayDeleteTakings(const QString &grCode) { return grCode.trimmed() == QLatin1String("1"); }
// Deletes a closing (see above). Refused without the delete right.
Outcome deleteClosing(const Db &db, qint64 fnid, bool mayDelete);

} // namespace fitrova
