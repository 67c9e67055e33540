#pragma once
// The member's visits of one month placed on a month calendar of six weeks of
// seven days, Sunday first.

#include "data/db.h"

#include <QList>
#include <QString>

namespace fitrova {

struct AttendanceMark {
    int day = 0;     // day of the month, 1..31
    int row = 0;     // week row of the calendar, 0..5
    int column = 0;  // 0 Sunday … 6 Saturday
    bool operator==(const AttendanceMark &) const = default;
};

// One mark per day on which the member has a visit (entrance rows) in the
// month, in date order; several visits on a day give one mark. Empty for a
// month outside 1..12.
QList<AttendanceMark> markAttendanceCalendar(const Db &db, int year, int month, const QString &mbCode);

} // namespace fitrova
