#pragma once
// Conversion between the Korean lunar calendar (음력) and the Gregorian
// calendar (양력), for lunar years 1841 to 2043.
//
// Dates travel as text "YYYY-MM-DD" (month and day may also be written with
// one digit). A lunar date names a leap month (윤달) with a separate flag: the
// leap month follows the regular month of the same number. Every function
// answers "" (or a null value) for a date outside the covered years or one
// that does not exist, so callers can test the result instead of the input.
//
// The functions read only constant data and are safe to call from any thread.

#include <QDate>
#include <QString>

namespace fitrova {

inline constexpr int kLunarFirstYear = 1841;
inline constexpr int kLunarLastYear = 2043;

struct LunarDate {
    int year = 0;
    int month = 0;      // 1..12
    int day = 0;        // 1..30
    bool leap = false;  // the leap month that follows `month`

    bool isNull() const { return year == 0; }
    bool operator==(const LunarDate &) const = default;
};

// Gregorian date of a lunar date; a null QDate when the lunar date does not
// exist (day 30 of a short month, leap flag on a month without a leap month,
// year outside 1841..2043).
QDate lunarToSolar(const LunarDate &lunar);

// Lunar date of a Gregorian date; a null LunarDate outside the covered range
// (1841-01-23 .. 2044-01-29) or for an invalid QDate.
LunarDate solarToLunar(const QDate &solar);

// "YYYY-MM-DD" lunar -> "YYYY-MM-DD" Gregorian; "" when invalid or out of range.
QString lunarToSolar(const QString &lunarDate, bool leapMonth = false);

// "YYYY-MM-DD" Gregorian -> "YYYY-MM-DD" lunar; "" when invalid or out of
// range. *isLeapMonth (when given) tells whether the result lies in a leap
// month; it is set to false when the result is "".
QString solarToLunar(const QString &solarDate, bool *isLeapMonth = nullptr);

// The month number that is followed by a leap month in the lunar year, or 0
// when the year has none or lies outside the covered years.
int lunarLeapMonth(int year);

// Days in the lunar month (29 or 30), or 0 when that month does not exist.
int lunarMonthDays(int year, int month, bool leap = false);

} // namespace fitrova
