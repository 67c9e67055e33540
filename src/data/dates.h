#pragma once
// Dates and times as the program stores and shows them: dates "YYYY-MM-DD",
// months "YYYY-MM", times "hh:mm:ss", all plain text compared as text.

#include "data/clock.h"

#include <QDate>
#include <QString>

namespace fitrova {

// "YYYY-MM-DD"; "" for an invalid date.
QString fmtDate(const QDate &d);

// The clock's time of day, "hh:mm:ss".
QString nowTime(const Clock &clock);

// The clock's month, "YYYY-MM".
QString currentMonth(const Clock &clock);

// True for text of exactly the form "YYYY-MM-DD" naming a real day.
bool isValidDateText(const QString &text);

// The date of a "YYYY-MM-DD" text; an invalid QDate for anything else.
QDate dateFromText(const QString &text);

// "일요일", "월요일", … "토요일"; "" for an invalid date.
QString weekdayName(const QDate &d);

// Weekday of the date, Sunday = 1 … Saturday = 7; 0 when there is no such date.
int weekdayOf(int y, int m, int d);

// Days of month m of year y (leap years by the Gregorian rule). A month outside
// 1..12 is carried into the neighbouring years: month 13 is January of y + 1,
// month 0 December of y - 1.
int daysInMonth(int y, int m);

// The last day of month m of year y, with the same carrying of m.
QDate monthEnd(int y, int m);

// End date of a period that starts on `start` ("YYYY-MM-DD"). The second
// argument is the number of months PLUS ONE, which is how every caller counts:
// one month is k = 2, three months k = 4.
// The period ends the day before the same day of the month that many months
// later: 2024-03-15 for one month ends 2024-04-14, 2024-01-01 ends 2024-01-31.
// Where the target month is too short for that day, the period ends on the
// target month's last day (2024-01-31 for one month ends 2024-02-29,
// 2023-01-31 ends 2023-02-28). Months carry over year ends in either
// direction. An empty or invalid start, or an end beyond year 9999, gives "".
QString endDateAfterMonths(const QString &start, int k);

// A typed date as "YYYY-MM-DD", or "" when it is no valid date. Hyphens and
// surrounding blanks are ignored; then the digits are read as
//   up to 4 digits  MMDD of today's year (a 3-digit text is MDD: "105" = Jan 5),
//   6 digits        YYMMDD,
//   8 digits        YYYYMMDD.
// Any other length, or any other character, gives "". A two-digit year is put
// in the century that places it within the 100 years ending 20 years after
// today: with today in 2024, "44" is 2044 and "45" is 1945.
QString normalizeDate(const QString &text, const QDate &today);

// A duration for display: at least one hour as "1시간 5분", "2시간 0분";
// under one hour as "45 분". A negative duration (time overdrawn) has a
// leading "-" before the same form: -90 gives "-1시간 30분", -5 "-5 분".
QString minutesText(int minutes);

// Age in full years on `today` from the first part of a resident registration
// number ("YYMMDD", or a date text without century such as "85-03-15").
// `digit` is the first digit of the number's second part: "3" or "4" means born
// in the 2000s, anything else the 1900s. A birth whose month or day is not a
// real date counts from January 1 of its year. Gives 999 when there is no
// usable year, and never less than 0.
int ageFromBirth(const QString &birth, const QString &digit, const QDate &today);

} // namespace fitrova
