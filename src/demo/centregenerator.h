#pragma once
// One generator of a sports centre, at any size: the demo centre of
// `fitrova --init --demo` (300 members, half a year of enrollments, two
// months of visits) and the benchmark centre (100,000 members, three years)
// are the same generator at two scales.
//
// Everything is computed in C++ from the seed and the context's clock:
// members with Korean names, enrollments and their later changes in the
// order the desk would have made them, the gate's visits replayed day by day,
// goods sales, points, lockers, the staff diary and the cash book. Rows that
// other rows refer to get their ids here, so a small centre written row by
// row and a large one loaded in bulk hold the same rows for the same scale.

#include "demo/centresink.h"

#include <QDateTime>
#include <QtGlobal>

namespace fitrova::demo {

struct CentreScale {
    int members = 300;
    int historyDays = 180; // first enrollments start at most this long ago
    int visitDays = 60;    // visits are recorded for this many days back
    int saleDays = 30;     // counter sales for this many days back
    int pointDays = 90;    // points were collected for this many days back
    bool visitsToday = true; // today's visits up to the clock's time; false leaves today to the caller
    // Targets of a large centre; 0 keeps what the plan gives on its own.
    int lectures = 0;      // Lecture rows, dependent rows included
    qint64 visits = 0;
    qint64 saleLines = 0;
    bool largeCatalogue = false;
    bool deskUsers = false;      // desk users besides the administrator (staff codes 0002, 0003)
    bool closedBeforeToday = false; // the daily closing stamped every day before today
    bool bulk = false;           // loaded in bulk over connections of its own
    bool lockers = true;         // the demo's three locker groups; false leaves the lockers to the caller
    QDateTime at;                // the moment the centre is made for; invalid: the context's clock

    static CentreScale demo() { return {}; }
};

// Fills an installed, empty, connected database with a centre. With
// scale.bulk the context's connections are closed while loading; the caller
// connects again afterwards. Deterministic for a given seed, scale and clock.
// Throws DbError (a database already holding a centre is refused with one).
void generateCentre(AppContext &ctx, quint32 seed, const CentreScale &scale, const PhaseReport &report = {});
// The same, always row by row on the context's own connections.
void generateCentre(const AppContext &ctx, quint32 seed, const CentreScale &scale);

} // namespace fitrova::demo
