#include "data/dates.h"

#include <QtTest>

using namespace fitrova;
using namespace Qt::StringLiterals;

class TstDates : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void smallRoutines();
    void endDateAfterMonths_data();
    void endDateAfterMonths();
    void endDateAlwaysValid();
    void normalizeDate_data();
    void normalizeDate();
    void ageFromBirth_data();
    void ageFromBirth();
};

void TstDates::smallRoutines()
{
    FixedClock clock(QDateTime(QDate(2024, 1, 5), QTime(9, 5, 7)));
    QCOMPARE(nowTime(clock), u"09:05:07"_s);
    QCOMPARE(currentMonth(clock), u"2024-01"_s);
    QCOMPARE(weekdayOf(2024, 2, 4), 1);
    QCOMPARE(weekdayName(QDate(2024, 2, 4)), u"일요일"_s);
    QCOMPARE(weekdayOf(2024, 4, 13), 7);
    QCOMPARE(weekdayOf(2023, 2, 29), 0);
    QCOMPARE(daysInMonth(1900, 2), 28);
    QCOMPARE(daysInMonth(2000, 2), 29);
    QCOMPARE(monthEnd(2024, 13), QDate(2025, 1, 31));
    QCOMPARE(monthEnd(2024, 0), QDate(2023, 12, 31));
    QVERIFY(isValidDateText(u"9999-12-31"_s));
    QVERIFY(!isValidDateText(u"2023-02-29"_s));
    QVERIFY(!isValidDateText(u"2024-2-29"_s));
    QVERIFY(!isValidDateText(u"0000-01-01"_s));
    QCOMPARE(minutesText(59), u"59 분"_s);
    QCOMPARE(minutesText(60), u"1시간 0분"_s);
    QCOMPARE(minutesText(65), u"1시간 5분"_s);
    QCOMPARE(minutesText(-90), u"-1시간 30분"_s);
}

void TstDates::endDateAfterMonths_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("k");   // months + 1
    QTest::addColumn<QString>("end");
    QTest::newRow("mid month") << u"2024-03-15"_s << 2 << u"2024-04-14"_s;
    QTest::newRow("first of month") << u"2024-01-01"_s << 2 << u"2024-01-31"_s;
    QTest::newRow("into leap february") << u"2024-01-31"_s << 2 << u"2024-02-29"_s;
    QTest::newRow("30th into common february") << u"2023-01-30"_s << 2 << u"2023-02-28"_s;
    QTest::newRow("31st into 30-day month") << u"2024-03-31"_s << 2 << u"2024-04-30"_s;
    QTest::newRow("over new year") << u"2024-11-15"_s << 3 << u"2025-01-14"_s;
    QTest::newRow("first, december") << u"2024-12-01"_s << 2 << u"2024-12-31"_s;
    QTest::newRow("first, back a year") << u"2025-01-01"_s << 1 << u"2024-12-31"_s;
    QTest::newRow("two years into february") << u"2024-01-31"_s << 26 << u"2026-02-28"_s;
    QTest::newRow("empty") << QString() << 2 << QString();
    QTest::newRow("not a date") << u"2024-02-30"_s << 2 << QString();
    QTest::newRow("beyond 9999") << u"9999-12-15"_s << 2 << QString();
}

void TstDates::endDateAfterMonths()
{
    QFETCH(QString, start);
    QFETCH(int, k);
    QFETCH(QString, end);
    QCOMPARE(fitrova::endDateAfterMonths(start, k), end);
}

// Every start of four years with every period of 1..24 months ends on a real
// date: the day before the same day that many months later, or that day
// itself where the target month is too short for it.
void TstDates::endDateAlwaysValid()
{
    for (QDate s(2023, 1, 1); s <= QDate(2026, 12, 31); s = s.addDays(1)) {
        for (int months = 1; months <= 24; ++months) {
            const QDate e = dateFromText(fitrova::endDateAfterMonths(fmtDate(s), months + 1));
            const QDate sameDay = s.addMonths(months);
            QVERIFY2(e.isValid() && e >= sameDay.addDays(-1) && e <= sameDay && e > s,
                     qPrintable(fmtDate(s) + u" +" + QString::number(months)));
        }
    }
}

void TstDates::normalizeDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("expected");
    const QDate today(2024, 5, 10);
    QTest::newRow("eight digits") << u"20240105"_s << today << u"2024-01-05"_s;
    QTest::newRow("already formatted") << u" 2024-01-05 "_s << today << u"2024-01-05"_s;
    QTest::newRow("month and day") << u"12-31"_s << today << u"2024-12-31"_s;
    QTest::newRow("three digits") << u"105"_s << today << u"2024-01-05"_s;
    QTest::newRow("two digits") << u"15"_s << today << QString();
    QTest::newRow("yymmdd window end") << u"440105"_s << today << u"2044-01-05"_s;
    QTest::newRow("yymmdd last century") << u"450105"_s << today << u"1945-01-05"_s;
    QTest::newRow("yymmdd late today") << u"100101"_s << QDate(2095, 1, 1) << u"2110-01-01"_s;
    QTest::newRow("leap day in common year") << u"0229"_s << QDate(2023, 5, 1) << QString();
    QTest::newRow("invalid day") << u"20240230"_s << today << QString();
    QTest::newRow("letters") << u"2024a105"_s << today << QString();
    QTest::newRow("seven digits") << u"2024010"_s << today << QString();
}

void TstDates::normalizeDate()
{
    QFETCH(QString, text);
    QFETCH(QDate, today);
    QFETCH(QString, expected);
    QCOMPARE(fitrova::normalizeDate(text, today), expected);
}

void TstDates::ageFromBirth_data()
{
    QTest::addColumn<QString>("birth");
    QTest::addColumn<QString>("digit");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<int>("age");
    const QDate today(2024, 3, 15);
    QTest::newRow("birthday today") << u"850315"_s << u"1"_s << today << 39;
    QTest::newRow("day before birthday") << u"850316"_s << u"2"_s << today << 38;
    QTest::newRow("digit 3 means 2000s") << u"050315"_s << u"3"_s << today << 19;
    QTest::newRow("other digit means 1900s") << u"100401"_s << u"9"_s << today << 113;
    QTest::newRow("hyphenated") << u"85-12-01"_s << u"1"_s << today << 38;
    QTest::newRow("invalid month: jan 1") << u"851345"_s << u"1"_s << today << 39;
    QTest::newRow("leap birthday not yet") << u"000229"_s << u"4"_s << QDate(2023, 2, 28) << 22;
    QTest::newRow("future is 0") << u"300101"_s << u"3"_s << today << 0;
    QTest::newRow("empty") << QString() << u"1"_s << today << 999;
    QTest::newRow("no year") << u"ab0101"_s << u"1"_s << today << 999;
}

void TstDates::ageFromBirth()
{
    QFETCH(QString, birth);
    QFETCH(QString, digit);
    QFETCH(QDate, today);
    QFETCH(int, age);
    QCOMPARE(fitrova::ageFromBirth(birth, digit, today), age);
}

QTEST_GUILESS_MAIN(TstDates)
#include "tst_dates.moc"
