#include "data/lunar.h"

#include <QScopeGuard>
#include <QTest>

#include <algorithm>

#if __has_include(<unicode/ucal.h>)
#include <unicode/ucal.h>
#include <unicode/ustring.h>
#define FITROVA_HAVE_ICU 1
#endif

using namespace fitrova;

class TestLunar : public QObject {
    Q_OBJECT

private:
    // Checks one holiday in both directions.
    static void checkHoliday(int month, int day)
    {
        QFETCH(int, year);
        QFETCH(QString, solar);
        const QString lunar = QStringLiteral("%1-%2-%3").arg(year).arg(month, 2, 10, QLatin1Char('0'))
                                  .arg(day, 2, 10, QLatin1Char('0'));
        QCOMPARE(lunarToSolar(lunar), solar);
        bool leap = true;
        QCOMPARE(solarToLunar(solar, &leap), lunar);
        QCOMPARE(leap, false);
    }

    static void addSpans()
    {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::newRow("first lunar years") << QDate(1841, 1, 23) << QDate(1900, 12, 31);
        QTest::newRow("1901-1960") << QDate(1901, 1, 1) << QDate(1960, 12, 31);
        QTest::newRow("1961-2010") << QDate(1961, 1, 1) << QDate(2010, 12, 31);
        QTest::newRow("to the last lunar day") << QDate(2011, 1, 1) << QDate(2044, 1, 29);
    }

private Q_SLOTS:
    void seollal_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<QString>("solar");
        QTest::newRow("1989") << 1989 << "1989-02-06";
        QTest::newRow("1990") << 1990 << "1990-01-27";
        QTest::newRow("2000") << 2000 << "2000-02-05";
        QTest::newRow("2012") << 2012 << "2012-01-23";
        QTest::newRow("2016") << 2016 << "2016-02-08";
        QTest::newRow("2017") << 2017 << "2017-01-28";
        QTest::newRow("2018") << 2018 << "2018-02-16";
        QTest::newRow("2019") << 2019 << "2019-02-05";
        QTest::newRow("2020") << 2020 << "2020-01-25";
        QTest::newRow("2021") << 2021 << "2021-02-12";
        QTest::newRow("2022") << 2022 << "2022-02-01";
        QTest::newRow("2023") << 2023 << "2023-01-22";
        QTest::newRow("2024") << 2024 << "2024-02-10";
        QTest::newRow("2025") << 2025 << "2025-01-29";
        QTest::newRow("2026") << 2026 << "2026-02-17";
        // The new moon fell just after midnight Seoul time but before
        // midnight Beijing time: the Chinese new year is one day earlier.
        QTest::newRow("1988, a day after the Chinese") << 1988 << "1988-02-18";
        QTest::newRow("1997, a day after the Chinese") << 1997 << "1997-02-08";
        QTest::newRow("2028, a day after the Chinese") << 2028 << "2028-01-27";
    }
    void seollal() { checkHoliday(1, 1); }

    void chuseok_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<QString>("solar");
        QTest::newRow("2012") << 2012 << "2012-09-30";
        QTest::newRow("2016") << 2016 << "2016-09-15";
        QTest::newRow("2017") << 2017 << "2017-10-04";
        QTest::newRow("2018") << 2018 << "2018-09-24";
        QTest::newRow("2019") << 2019 << "2019-09-13";
        QTest::newRow("2020") << 2020 << "2020-10-01";
        QTest::newRow("2021") << 2021 << "2021-09-21";
        QTest::newRow("2022") << 2022 << "2022-09-10";
        QTest::newRow("2023") << 2023 << "2023-09-29";
        QTest::newRow("2024") << 2024 << "2024-09-17";
        QTest::newRow("2025") << 2025 << "2025-10-06";
        QTest::newRow("2026") << 2026 << "2026-09-25";
    }
    void chuseok() { checkHoliday(8, 15); }

    void knownDates_data()
    {
        QTest::addColumn<QString>("lunar");
        QTest::addColumn<bool>("leap");
        QTest::addColumn<QString>("solar");
        QTest::newRow("first day covered") << "1841-01-01" << false << "1841-01-23";
        QTest::newRow("last day covered") << "2043-12-30" << false << "2044-01-29";
        QTest::newRow("Imo incident") << "1882-06-09" << false << "1882-07-23";
        QTest::newRow("Gapsin coup") << "1884-10-17" << false << "1884-12-04";
        QTest::newRow("Eulmi incident") << "1895-08-20" << false << "1895-10-08";
        QTest::newRow("Gregorian calendar adopted") << "1895-11-17" << false << "1896-01-01";
        // New moon at 23:58 Seoul time on 02-26 (the annular eclipse day).
        QTest::newRow("month begun by a late new moon") << "2017-02-01" << false << "2017-02-26";
        QTest::newRow("day 30 of a long month") << "2024-02-30" << false << "2024-04-08";
        QTest::newRow("first day of leap 4th month 2020") << "2020-04-01" << true << "2020-05-23";
        QTest::newRow("last day of leap 4th month 2020") << "2020-04-29" << true << "2020-06-20";
        QTest::newRow("regular 4th month 2020") << "2020-04-30" << false << "2020-05-22";
        QTest::newRow("first day of leap 2nd month 2023") << "2023-02-01" << true << "2023-03-22";
        QTest::newRow("leap 11th month 2033") << "2033-11-01" << true << "2033-12-22";
        QTest::newRow("one-digit month and day") << "2024-8-5" << false << "2024-09-07";
    }
    void knownDates()
    {
        QFETCH(QString, lunar);
        QFETCH(bool, leap);
        QFETCH(QString, solar);
        QCOMPARE(lunarToSolar(lunar, leap), solar);
        const QStringList parts = lunar.split(u'-');
        const LunarDate expected{parts[0].toInt(), parts[1].toInt(), parts[2].toInt(), leap};
        QCOMPARE(solarToLunar(QDate::fromString(solar, Qt::ISODate)), expected);
        bool gotLeap = !leap;
        QCOMPARE(solarToLunar(solar, &gotLeap),
                 QStringLiteral("%1-%2-%3").arg(expected.year).arg(expected.month, 2, 10, QLatin1Char('0'))
                     .arg(expected.day, 2, 10, QLatin1Char('0')));
        QCOMPARE(gotLeap, leap);
    }

    void leapMonths_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("leapMonth");
        QTest::addColumn<int>("leapDays");
        QTest::newRow("1987") << 1987 << 6 << 29;
        QTest::newRow("1890, not the 12th of 1889") << 1890 << 2 << 29;
        QTest::newRow("1889") << 1889 << 0 << 0;
        QTest::newRow("2012, 3rd (China: 4th)") << 2012 << 3 << 30;
        QTest::newRow("2017, 5th (China: 6th)") << 2017 << 5 << 29;
        QTest::newRow("2020") << 2020 << 4 << 29;
        QTest::newRow("2021") << 2021 << 0 << 0;
        QTest::newRow("2023") << 2023 << 2 << 29;
        QTest::newRow("2024") << 2024 << 0 << 0;
        QTest::newRow("2025") << 2025 << 6 << 29;
        QTest::newRow("2033") << 2033 << 11 << 29;
        QTest::newRow("before the range") << 1840 << 0 << 0;
        QTest::newRow("after the range") << 2044 << 0 << 0;
    }
    void leapMonths()
    {
        QFETCH(int, year);
        QFETCH(int, leapMonth);
        QFETCH(int, leapDays);
        QCOMPARE(lunarLeapMonth(year), leapMonth);
        for (int m = 1; m <= 12; ++m) {
            QCOMPARE(lunarMonthDays(year, m, true), m == leapMonth ? leapDays : 0);
            if (year >= kLunarFirstYear && year <= kLunarLastYear)
                QVERIFY2(lunarMonthDays(year, m) == 29 || lunarMonthDays(year, m) == 30,
                         qPrintable(QString::number(m)));
        }
    }

    // Every day of the range: solar -> lunar -> solar is the identity, and
    // consecutive days step through the lunar calendar without gaps.
    void everyDay_data() { addSpans(); }
    void everyDay()
    {
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        LunarDate prev = solarToLunar(from.addDays(-1));
        for (QDate d = from; d <= to; d = d.addDays(1)) {
            const LunarDate l = solarToLunar(d);
            const QString where = d.toString(Qt::ISODate);
            QVERIFY2(!l.isNull(), qPrintable(where));
            QVERIFY2(lunarToSolar(l) == d, qPrintable(where));

            const QString text = solarToLunar(where);
            bool leap = false;
            solarToLunar(where, &leap);
            QVERIFY2(lunarToSolar(text, leap) == where, qPrintable(where));

            if (prev.isNull()) { // the day before the first covered day
                QCOMPARE(l, (LunarDate{kLunarFirstYear, 1, 1, false}));
            } else if (l.day != 1) {
                QVERIFY2(l == (LunarDate{prev.year, prev.month, prev.day + 1, prev.leap}), qPrintable(where));
            } else {
                // prev was the last day of its month
                QVERIFY2(prev.day == lunarMonthDays(prev.year, prev.month, prev.leap), qPrintable(where));
                LunarDate next;
                if (!prev.leap && lunarLeapMonth(prev.year) == prev.month)
                    next = {prev.year, prev.month, 1, true};
                else if (prev.month < 12)
                    next = {prev.year, prev.month + 1, 1, false};
                else
                    next = {prev.year + 1, 1, 1, false};
                QVERIFY2(l == next, qPrintable(where));
            }
            prev = l;
        }
    }

    // An independent check of the month table: ICU's Korean calendar computes
    // the same calendar astronomically and must agree on every day except
    // where it is known to differ from the published calendar.
    void agreesWithIcu_data() { addSpans(); }
    void agreesWithIcu()
    {
#ifndef FITROVA_HAVE_ICU
        QSKIP("ICU headers not available");
#else
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        const std::pair<QDate, QDate> icuDiffers[] = {
            {QDate(1842, 1, 11), QDate(1842, 2, 9)},   // 12th month of 1841 a day later
            {QDate(1890, 1, 21), QDate(1890, 4, 18)},  // leap month put after the 12th of 1889
            {QDate(1896, 2, 13), QDate(1896, 3, 13)},  // new year 1896 a day later
            {QDate(2017, 2, 26), QDate(2017, 3, 27)},  // new moon at 23:58 taken as after midnight
        };
        UErrorCode err = U_ZERO_ERROR;
        UChar zone[16];
        u_uastrcpy(zone, "Asia/Seoul");
        UCalendar *cal = ucal_open(zone, -1, "ko_KR@calendar=dangi", UCAL_DEFAULT, &err);
        QVERIFY(U_SUCCESS(err));
        const auto closeCal = qScopeGuard([cal] { ucal_close(cal); });
        for (QDate d = from; d <= to; d = d.addDays(1)) {
            if (std::any_of(std::begin(icuDiffers), std::end(icuDiffers),
                            [&](const auto &span) { return d >= span.first && d <= span.second; }))
                continue;
            // noon in Seoul (UTC+9; the historical offsets of 8 to 10 hours keep the same day)
            const UDate noon = UDate(d.toJulianDay() - 2440588) * 86400000.0 + 3 * 3600000.0;
            ucal_setMillis(cal, noon, &err);
            const LunarDate icu{ucal_get(cal, UCAL_EXTENDED_YEAR, &err) - 2333, ucal_get(cal, UCAL_MONTH, &err) + 1,
                                ucal_get(cal, UCAL_DATE, &err), ucal_get(cal, UCAL_IS_LEAP_MONTH, &err) != 0};
            QVERIFY(U_SUCCESS(err));
            QVERIFY2(solarToLunar(d) == icu, qPrintable(d.toString(Qt::ISODate)));
        }
#endif
    }

    void invalidLunar_data()
    {
        QTest::addColumn<QString>("lunar");
        QTest::addColumn<bool>("leap");
        QTest::newRow("day 30 of a 29-day month") << "2024-01-30" << false;
        QTest::newRow("day 30 of a 29-day leap month") << "2023-02-30" << true;
        QTest::newRow("leap flag, year without leap month") << "2024-04-01" << true;
        QTest::newRow("leap flag on the wrong month") << "2023-03-01" << true;
        QTest::newRow("month 13") << "2024-13-01" << false;
        QTest::newRow("month 0") << "2024-00-10" << false;
        QTest::newRow("day 0") << "2024-05-00" << false;
        QTest::newRow("day 31") << "2024-05-31" << false;
        QTest::newRow("year before the range") << "1840-12-01" << false;
        QTest::newRow("year after the range") << "2044-01-01" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("letters") << "abcd-ef-gh" << false;
        QTest::newRow("slashes") << "2024/01/01" << false;
        QTest::newRow("no separators") << "20240101" << false;
        QTest::newRow("two-digit year") << "24-01-01" << false;
        QTest::newRow("trailing part") << "2024-01-01-01" << false;
    }
    void invalidLunar()
    {
        QFETCH(QString, lunar);
        QFETCH(bool, leap);
        QCOMPARE(lunarToSolar(lunar, leap), QString());
    }

    void invalidSolar_data()
    {
        QTest::addColumn<QString>("solar");
        QTest::newRow("day before the range") << "1841-01-22";
        QTest::newRow("day after the range") << "2044-01-30";
        QTest::newRow("29 February of a common year") << "2023-02-29";
        QTest::newRow("month 13") << "2024-13-01";
        QTest::newRow("empty") << "";
        QTest::newRow("letters") << "2024-0a-01";
    }
    void invalidSolar()
    {
        QFETCH(QString, solar);
        bool leap = true;
        QCOMPARE(solarToLunar(solar, &leap), QString());
        QCOMPARE(leap, false);
        QVERIFY(solarToLunar(QDate::fromString(solar, Qt::ISODate)).isNull());
    }
};

QTEST_GUILESS_MAIN(TestLunar)
#include "tst_lunar.moc"
