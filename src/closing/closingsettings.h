#pragma once
// The centre's closing settings (table UserEnv, one row): the default start
// and end time of the daily closing window, and the difference between the
// counted and the recorded money above which closing a shift needs a reason.
//
// The business day follows from the two times: it begins at the start time
// and ends at the end time of the same day when that is later, else at the
// end time of the next day ("06:00" to "06:00" is a day of 24 hours).

#include "closing/closingwindow.h"
#include "data/db.h"
#include "foundation/outcome.h"

#include <QDate>
#include <QDateTime>
#include <QString>

namespace fitrova {

struct ClosingSettings {
    QString time1 = QStringLiteral("06:00:00"); // "hh:mm:ss"
    QString time2 = QStringLiteral("06:00:00");
    qint64 diffLimit = 0; // won; a difference above it needs a reason
    bool operator==(const ClosingSettings &) const = default;
};

// The stored settings; the defaults above where there is no row or a time is
// empty or unreadable.
ClosingSettings loadClosingSettings(const Db &db);

inline QString closingSettingsTitle() { return QStringLiteral("마감환경"); }
// Stores the settings (times kept as "hh:mm"). Refused when a time is not a
// time of day or the limit is negative.
Outcome saveClosingSettings(const Db &db, const ClosingSettings &s);

// The business day that begins on `day`.
TimeWindow businessDay(const ClosingSettings &s, const QDate &day);
// The business day `now` falls in: the one beginning today, or before its
// start time the one that began yesterday.
TimeWindow businessDayAt(const ClosingSettings &s, const QDateTime &now);

} // namespace fitrova
