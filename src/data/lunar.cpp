#include "data/lunar.h"

#include <QStringView>
#include <algorithm>
#include <array>
#include <iterator>

// The calendar is a table rather than an astronomical computation. ICU's
// Korean ("dangi") calendar agrees with the published Korean calendar of the
// Korea Astronomy and Space Science Institute on almost every day of these
// years, but not all: it starts the 2nd month of 2017 on 02-27 instead of
// 02-26 (the new moon fell at 23:58 Seoul time), moves the leap month of 1890
// into 1889, and shifts the 12th month of 1841 and the new year of 1896 by a
// day. Member birthdays need the published calendar, so it is kept here.

namespace fitrova {
namespace {

// One string per lunar year from 1841, one digit per month 1..12:
//   1 = 29 days          2 = 30 days
//   3 = 29, then a leap month of 29     4 = 29, then a leap month of 30
//   5 = 30, then a leap month of 29     6 = 30, then a leap month of 30
constexpr const char *kMonthKinds[] = {
    "124112121221", "221211212121", "222121412121", "221212121212", // 1841-1844
    "121221212121", "212152122121", "211212122212", "121121212221", // 1845-1848
    "212321212122", "212112112212", "221211232122", "212211212112", // 1849-1852
    "212212121212", "121212521212", "112122122121", "211212122212", // 1853-1856
    "121152121222", "121121122122", "212112112122", "216112112122", // 1857-1860
    "122121212112", "212122152112", "122121221212", "112121221221", // 1861-1864
    "211241221221", "211211221222", "121121121222", "122321121221", // 1865-1868
    "222112112121", "222121211521", "221221212112", "121221212212", // 1869-1872
    "112124212212", "112121212221", "211211212221", "221151212212", // 1873-1876
    "221121121212", "221212112121", "224212112121", "212212212112", // 1877-1880
    "121212522121", "121212122122", "112112122212", "211232122122", // 1881-1884
    "211211212122", "212121121212", "221521121212", "212212112121", // 1885-1888
    "212212121212", "152122121212", "121212122122", "112115221222", // 1889-1892
    "112112121222", "121211212122", "212151212121", "222121121212", // 1893-1896
    "122121212121", "215221212121", "212121221212", "121121252212", // 1897-1900
    "121121212221", "212112121222", "121232112212", "221211211221", // 1901-1904
    "221221121212", "122412121212", "121212212121", "211221212212", // 1905-1908
    "151212122212", "121121212221", "212115122122", "212112112212", // 1909-1912
    "221211211212", "221251212112", "212212121212", "121212212121", // 1913-1916
    "232122122121", "211212122212", "121121522122", "121121122122", // 1917-1920
    "212112112122", "212232112122", "122121212112", "212122121211", // 1921-1924
    "212521221212", "112121221221", "211212122122", "151211221222", // 1925-1928
    "121121121222", "122115121221", "222112112121", "222121211212", // 1929-1932
    "122161212112", "121221221212", "112121221221", "214121212221", // 1933-1936
    "211211212221", "221121412212", "221121121212", "221212112121", // 1937-1940
    "221224112121", "212212212112", "121212212212", "112412122122", // 1941-1944
    "112112122212", "211211212212", "251211212122", "212121121212", // 1945-1948
    "221212321212", "212212112121", "212212121212", "121242121212", // 1949-1952
    "121122122122", "112112122122", "214112121222", "121211212122", // 1953-1956
    "212121152122", "122121121212", "122121212121", "212125212121", // 1957-1960
    "212121221212", "121121221221", "212321212221", "212112121222", // 1961-1964
    "121211211222", "125211211221", "221221121212", "122121521212", // 1965-1968
    "121212212121", "211221212212", "121152122212", "121121212221", // 1969-1972
    "212112112221", "221512112212", "221211211212", "221212152112", // 1973-1976
    "212212121211", "221212212121", "211216122121", "211212122122", // 1977-1980
    "121121122122", "212321122122", "212112112122", "212211211522", // 1981-1984
    "122121211212", "122122121211", "212215221212", "112121221221", // 1985-1988
    "211212122122", "121151221222", "121121121222", "122112112122", // 1989-1992
    "125212112121", "222121211212", "122122152112", "121221212212", // 1993-1996
    "112121221221", "211232212221", "211211212221", "221121121221", // 1997-2000
    "222321121212", "221212112121", "221221211212", "152212121212", // 2001-2004
    "121212212211", "212121522122", "112112122212", "211211212212", // 2005-2008
    "221151212122", "212121121212", "212212112121", "216212112121", // 2009-2012
    "212212121212", "121212125212", "121121222121", "212112122122", // 2013-2016
    "121232121222", "121211212122", "212121121212", "212521121212", // 2017-2020
    "122121212121", "212122121212", "152121221212", "121121221221", // 2021-2024
    "212115212221", "212112121222", "121211211222", "122151211221", // 2025-2028
    "221221121122", "121221212121", "215212212121", "211212212212", // 2029-2032
    "121121212252", "121121212221", "212112112212", "221214112212", // 2033-2036
    "221211211212", "221212121121", "221252121211", "212212212121", // 2037-2040
    "211212212212", "151212122122", "121121122122", // 2041-2043
};
constexpr int kYears = kLunarLastYear - kLunarFirstYear + 1;
static_assert(std::size(kMonthKinds) == kYears);

// Julian day of lunar 1841-01-01, which is the Gregorian 1841-01-23.
constexpr qint64 kBaseJulianDay = 2393494;

constexpr int kindOf(int yearIndex, int month) { return kMonthKinds[yearIndex][month - 1] - '0'; }
constexpr int regularDays(int kind) { return (kind == 2 || kind == 5 || kind == 6) ? 30 : 29; }
constexpr int leapDays(int kind)
{
    switch (kind) {
    case 3: case 5: return 29;
    case 4: case 6: return 30;
    default: return 0;
    }
}

// kYearStart[i]: days from lunar 1841-01-01 to the first day of year 1841 + i;
// the last entry is the day after the end of 2043.
constexpr std::array<int, kYears + 1> kYearStart = [] {
    std::array<int, kYears + 1> starts{};
    int days = 0;
    for (int i = 0; i < kYears; ++i) {
        starts[i] = days;
        for (int m = 1; m <= 12; ++m) {
            const int kind = kindOf(i, m);
            if (kind < 1 || kind > 6)
                throw "bad month kind in the lunar table";
            days += regularDays(kind) + leapDays(kind);
        }
    }
    starts[kYears] = days;
    return starts;
}();
static_assert(kYearStart[kYears] == 74151, "the table must end on 2044-01-29");

bool inRange(int year) { return year >= kLunarFirstYear && year <= kLunarLastYear; }

// "YYYY-M-D" with a four-digit year and one- or two-digit month and day.
bool parseDate(const QString &text, int &y, int &m, int &d)
{
    const QStringView s = QStringView(text).trimmed();
    int fields[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    int f = 0;
    for (QChar c : s) {
        if (c == u'-') {
            if (++f > 2)
                return false;
        } else if (c >= u'0' && c <= u'9') {
            if (++digits[f] > 4)
                return false;
            fields[f] = fields[f] * 10 + (c.unicode() - u'0');
        } else {
            return false;
        }
    }
    if (f != 2 || digits[0] != 4 || digits[1] < 1 || digits[1] > 2 || digits[2] < 1 || digits[2] > 2)
        return false;
    y = fields[0];
    m = fields[1];
    d = fields[2];
    return true;
}

QString formatDate(int y, int m, int d)
{
    const char text[10] = {char('0' + y / 1000), char('0' + y / 100 % 10), char('0' + y / 10 % 10),
                           char('0' + y % 10), '-', char('0' + m / 10), char('0' + m % 10), '-',
                           char('0' + d / 10), char('0' + d % 10)};
    return QLatin1StringView(text, 10).toString();
}

} // namespace

int lunarLeapMonth(int year)
{
    if (!inRange(year))
        return 0;
    const int i = year - kLunarFirstYear;
    for (int m = 1; m <= 12; ++m) {
        if (leapDays(kindOf(i, m)) > 0)
            return m;
    }
    return 0;
}

int lunarMonthDays(int year, int month, bool leap)
{
    if (!inRange(year) || month < 1 || month > 12)
        return 0;
    const int kind = kindOf(year - kLunarFirstYear, month);
    return leap ? leapDays(kind) : regularDays(kind);
}

QDate lunarToSolar(const LunarDate &lunar)
{
    const int length = lunarMonthDays(lunar.year, lunar.month, lunar.leap);
    if (length == 0 || lunar.day < 1 || lunar.day > length)
        return {};
    const int i = lunar.year - kLunarFirstYear;
    int days = kYearStart[i];
    for (int m = 1; m < lunar.month; ++m) {
        const int kind = kindOf(i, m);
        days += regularDays(kind) + leapDays(kind);
    }
    if (lunar.leap)
        days += regularDays(kindOf(i, lunar.month));
    return QDate::fromJulianDay(kBaseJulianDay + days + lunar.day - 1);
}

LunarDate solarToLunar(const QDate &solar)
{
    if (!solar.isValid())
        return {};
    const qint64 offset = solar.toJulianDay() - kBaseJulianDay;
    if (offset < 0 || offset >= kYearStart[kYears])
        return {};
    int days = int(offset);
    // The first year whose start lies after the date, minus one.
    const int i = int(std::upper_bound(kYearStart.begin(), kYearStart.end(), days) - kYearStart.begin()) - 1;
    days -= kYearStart[i];
    for (int m = 1; m <= 12; ++m) {
        const int kind = kindOf(i, m);
        if (days < regularDays(kind))
            return {kLunarFirstYear + i, m, days + 1, false};
        days -= regularDays(kind);
        if (days < leapDays(kind))
            return {kLunarFirstYear + i, m, days + 1, true};
        days -= leapDays(kind);
    }
    return {}; // not reached: kYearStart covers every month
}

QString lunarToSolar(const QString &lunarDate, bool leapMonth)
{
    int y = 0, m = 0, d = 0;
    if (!parseDate(lunarDate, y, m, d))
        return {};
    const QDate solar = lunarToSolar(LunarDate{y, m, d, leapMonth});
    return solar.isValid() ? formatDate(solar.year(), solar.month(), solar.day()) : QString();
}

QString solarToLunar(const QString &solarDate, bool *isLeapMonth)
{
    if (isLeapMonth)
        *isLeapMonth = false;
    int y = 0, m = 0, d = 0;
    if (!parseDate(solarDate, y, m, d))
        return {};
    const LunarDate lunar = solarToLunar(QDate(y, m, d));
    if (lunar.isNull())
        return {};
    if (isLeapMonth)
        *isLeapMonth = lunar.leap;
    return formatDate(lunar.year, lunar.month, lunar.day);
}

} // namespace fitrova
