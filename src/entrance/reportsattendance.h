#pragma once
// The monthly attendance sheet of a course item (출석현황): one line per
// enrollment that touches the month, one column per day, each day marked
// when the member came in through the gate or was marked present by hand.
//
// A manual attendance (a double click on a day of the sheet) is a visit row
// like the gate's: the date, the lesson's start time (or the time it was
// entered when the program has none), the enrollment, its program and
// course, no card, no minutes, and the memo "수동출석" that tells it apart.
// So it shows on the sheet, in the visit list and in every visit count, and
// counts towards the day's entries at the gate. A time-based enrollment's
// manual visit is written closed (exit time = entry time), so it is never
// taken for a member still inside.

#include "data/db.h"
#include "foundation/outcome.h"
#include "members/membercontact.h"

#include <QDateTime>
#include <QList>
#include <QString>

namespace fitrova {

struct AttendanceCriteria {
    QString month{};   // "YYYY-MM"
    QString course{};  // course item (required)
    QString ltCode{};  // instructor ("" all)
    qint64 pgid = 0; // program (0 all)
};

enum class DayMark {
    None,
    Gate,   // at least one visit through the gate
    Manual  // marked present by hand only
};

struct AttendanceSheetLine {
    qint64 ltid = 0;
    QString ltGubun{};               // "3": a postponement (the pause) — listed, never marked by hand
    QString sDate1{}, sDate2{};        // the enrollment's period
    MemberContact member;          // code, name, mobile and address (SMS hand-over)
    QString tel2{};
    QList<DayMark> days;           // one per day of the month
    int visitDays = 0;             // days marked
};

struct AttendanceSheet {
    QString month{};               // "YYYY-MM"
    int daysInMonth = 0;
    QList<AttendanceSheetLine> lines;   // ordered by member name
    QList<int> perDay;             // enrollments marked on each day
    int total = 0;                 // marked days over all lines
    // Each member once, in the order listed, with the last day marked in the
    // month ("" when none): the SMS recipients of the sheet.
    MemberContacts contacts() const;
};

// Two statements whatever the number of members: the enrollments, then their
// visits of the month grouped by enrollment and day.
AttendanceSheet attendanceSheet(const Db &db, const AttendanceCriteria &c);

inline QString manualAttendanceTitle() { return QStringLiteral("수동출석"); }

// Marks the enrollment present on the date by hand. Refused (nothing
// written) for a date after today, outside the enrollment's period, for a
// postponement or refund row, or when the member already has a visit of the
// enrollment that day. One transaction; returns the visit's Entid.
Outcome addManualAttendance(const Db &db, qint64 ltid, const QString &date, const QDateTime &now);

// Takes back the manual attendance of the enrollment on the date (gate
// visits stay). Refused when there is none.
Outcome removeManualAttendance(const Db &db, qint64 ltid, const QString &date);

} // namespace fitrova
