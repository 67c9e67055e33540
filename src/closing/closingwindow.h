#pragma once
// The time window of a closing and the takings rows it covers.
//
// A window runs from a date and time to a date and time, both ends included.
// Rows are placed in time by their date column followed by their time
// column: Sale by SlDate + LastTime, Lecture and RqPerBox by RqDate +
// LastTime. Compared as one text ("2024-05-1006:00:00") the pair orders
// correctly because both parts have fixed widths, but such a comparison
// reads every row of the table. The conditions written here mean exactly the
// same and let an index on the date column (or on date and time) find the
// rows:
//
//     date >= fromDate AND date <= toDate
//     AND (date > fromDate OR time >= fromTime)
//     AND (date < toDate OR time <= toTime)
//
// Three kinds of rows are takings, each with the money it brings in:
//  - goods: every line of a voucher with its cash and card payment (only the
//    payment line carries one); refund vouchers carry negative amounts;
//  - courses: enrollments and payments of outstanding amounts (LtGubun "1")
//    and class changes ("2") with their cash and card amounts, refunds ("4")
//    with their amounts taken away;
//  - lockers: deposit and fee of new rentals ("1") and renewals ("3") less
//    the deposit paid back on a cancellation ("4") or a release on the locker
//    board ("5"); lockers are paid in cash. A move ("2") repeats the rental's
//    period without money changing hands.

#include "data/db.h"

#include <QString>

namespace fitrova {

struct TimeWindow {
    QString fromDate, fromTime; // "YYYY-MM-DD", "hh:mm:ss"
    QString toDate, toTime;

    QString from() const { return fromDate + fromTime; }
    QString to() const { return toDate + toTime; }
    // Dates are real days, times "hh:mm:ss", and the start is not after the end.
    bool isValid() const;
    bool contains(const QString &date, const QString &time) const;
    bool contains(const TimeWindow &inner) const;

    // The condition on a table's date and time columns (see above), and its
    // values in order.
    QString condition(const QString &dateColumn, const QString &timeColumn) const;
    Params params() const;

    bool operator==(const TimeWindow &) const = default;
};

// A typed time as "hh:mm:ss": "6" and "0600" give "06:00:00", "6:5" gives
// "06:05:00", "24:00" gives "23:59:59" (the end of the day); "" when the text
// is no time of day.
QString normalizeTime(const QString &text);

// Cash and card of a set of takings, and how many there were.
struct Takings {
    qint64 cash = 0, card = 0;
    qint64 count = 0;
    qint64 total() const { return cash + card; }
    Takings &operator+=(const Takings &o)
    {
        cash += o.cash;
        card += o.card;
        count += o.count;
        return *this;
    }
    bool operator==(const Takings &) const = default;
};

// The three kinds of takings rows.
enum class TakingsKind { Goods, Courses, Lockers };

struct TakingsSource {
    TakingsKind kind;
    QString table;
    QString dateColumn, timeColumn;
    QString stampColumn;     // the closing date the daily closing writes
    QString kindCondition;   // the rows of the table that are takings
    QString cashExpression;  // the cash a row brings in (negative when paid back)
    QString cardExpression;
    QString countExpression; // what one row adds to the count of takings
};
const TakingsSource &takingsSource(TakingsKind kind);
inline constexpr TakingsKind kAllTakingsKinds[] = {TakingsKind::Goods, TakingsKind::Courses, TakingsKind::Lockers};

// A row is not yet closed while its closing date is empty.
QString unstampedCondition(const QString &stampColumn);

// Called first in a transaction that counts takings and writes on what it
// counted (closing a shift or a day, deleting a closing): every sale,
// payment or rental another desk writes meanwhile lands wholly before or
// wholly after it. PostgreSQL takes the takings tables in a mode that lets
// readers on but makes writers wait (in the order the desks' own actions
// take them: Lecture, RqPerBox, Sale, Finish); SQLite's write transaction
// already excludes every other writer.
void lockTakingsTables(const Db &db);

} // namespace fitrova
