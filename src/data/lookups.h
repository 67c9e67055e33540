#pragma once
// Code-to-name lookups on the main connection, called per row while grids are
// filled. Each is one statement that selects only what it shows. A lookup that
// does not find exactly one row gives its default; a found row whose name is
// null gives "".

#include "data/db.h"

#include <QString>
#include <Qt>

namespace fitrova {

inline constexpr auto kNoProgramName = "**********";
inline constexpr auto kNoCourseName = "****";
inline constexpr auto kNoCourseNameShort = "**";

// Code of the age band age1 <= age <= age2; "" when none. Overlapping bands
// give the one with the lowest code.
QString getAgeCode(const Db &db, qint64 age);

QString getMemberName(const Db &db, const QString &mbCode);    // "" when unknown
QString getUserName(const Db &db, const QString &psCode);      // "" when unknown
QString getCardName(const Db &db, const QString &code);        // right-trimmed; "" when unknown
QString getProgramName(const Db &db, qint64 pgId);             // kNoProgramName when unknown
QString getCourseName(const Db &db, const QString &code, const QString &psGroup);      // kNoCourseName
QString getCourseNameShort(const Db &db, const QString &code, const QString &psGroup); // kNoCourseNameShort
QString getSclassName(const Db &db, const QString &psGroup, const QString &course, const QString &sclass); // ""

// "name(member code)" of the member who holds the enrollment; "" when the
// enrollment is unknown. When the member row is gone the enrollment's own copy
// of the name stands in.
QString getLectureOwnerText(const Db &db, qint64 ltId);

// Whether the program runs (and so admits) on the weekday, given as "Mon" …
// "Sun" or "월" … "일". False for an unknown program or weekday text.
bool programDayMatch(const Db &db, qint64 pgId, const QString &weekday);
bool programDayMatch(const Db &db, qint64 pgId, Qt::DayOfWeek day);
// The same with the weekday numbered Sunday = 1 … Saturday = 7 (as weekdayOf gives it).
bool programDayMatchSundayFirst(const Db &db, qint64 pgId, int weekday);

} // namespace fitrova
