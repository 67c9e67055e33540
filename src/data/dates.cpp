#include "data/dates.h"

#include <QStringList>

namespace fitrova {

namespace {

bool allDigits(QStringView s)
{
    if (s.isEmpty())
        return false;
    for (QChar c : s)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

// Splits a month number that may lie outside 1..12 into (year, month).
void carryMonth(int &y, int &m)
{
    const int zeroBased = m - 1;
    int years = zeroBased / 12;
    int month = zeroBased % 12;
    if (month < 0) {
        month += 12;
        --years;
    }
    y += years;
    m = month + 1;
}

bool isLeap(int y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

QString dateText(int y, int m, int d)
{
    if (y < 1 || y > 9999)
        return QString();
    return fmtDate(QDate(y, m, d));
}

} // namespace

QString fmtDate(const QDate &d)
{
    return d.isValid() ? d.toString(QStringLiteral("yyyy-MM-dd")) : QString();
}

QString nowTime(const Clock &clock)
{
    return clock.time().toString(QStringLiteral("HH:mm:ss"));
}

QString currentMonth(const Clock &clock)
{
    return fmtDate(clock.today()).left(7);
}

QDate dateFromText(const QString &text)
{
    if (text.size() != 10 || text.at(4) != QLatin1Char('-') || text.at(7) != QLatin1Char('-'))
        return QDate();
    const QStringView v(text);
    if (!allDigits(v.mid(0, 4)) || !allDigits(v.mid(5, 2)) || !allDigits(v.mid(8, 2)))
        return QDate();
    const int y = v.mid(0, 4).toInt();
    if (y < 1)
        return QDate();
    return QDate(y, v.mid(5, 2).toInt(), v.mid(8, 2).toInt());
}

bool isValidDateText(const QString &text)
{
    return dateFromText(text).isValid();
}

QString weekdayName(const QDate &d)
{
    static const char16_t *const names[] = {u"일요일", u"월요일", u"화요일", u"수요일",
                                            u"목요일", u"금요일", u"토요일"};
    if (!d.isValid())
        return QString();
    return QString::fromUtf16(names[d.dayOfWeek() % 7]);
}

int weekdayOf(int y, int m, int d)
{
    const QDate date(y, m, d);
    return date.isValid() ? date.dayOfWeek() % 7 + 1 : 0;
}

int daysInMonth(int y, int m)
{
    carryMonth(y, m);
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : days[m - 1];
}

QDate monthEnd(int y, int m)
{
    carryMonth(y, m);
    return QDate(y, m, daysInMonth(y, m));
}

QString endDateAfterMonths(const QString &start, int k)
{
    const QDate s = dateFromText(start);
    if (!s.isValid())
        return QString();
    int y = s.year();
    int m = s.month() + (k - 1);
    carryMonth(y, m);
    const int day = s.day() - 1;
    if (day == 0) {
        // The day before the 1st: the last day of the month before.
        int py = y, pm = m - 1;
        carryMonth(py, pm);
        return dateText(py, pm, daysInMonth(py, pm));
    }
    return dateText(y, m, qMin(day, daysInMonth(y, m)));
}

QString normalizeDate(const QString &text, const QDate &today)
{
    QString t = text.trimmed();
    t.remove(QLatin1Char('-'));
    if (!allDigits(t))
        return QString();

    int y = 0, m = 0, d = 0;
    if (t.size() <= 4) {
        if (!today.isValid())
            return QString();
        t = t.rightJustified(4, QLatin1Char('0'));
        y = today.year();
        m = t.left(2).toInt();
        d = t.mid(2, 2).toInt();
    } else if (t.size() == 6) {
        if (!today.isValid())
            return QString();
        const int yy = t.left(2).toInt();
        y = today.year() / 100 * 100 + yy;
        if (y > today.year() + 20)
            y -= 100;
        else if (y <= today.year() - 80)
            y += 100;
        m = t.mid(2, 2).toInt();
        d = t.mid(4, 2).toInt();
    } else if (t.size() == 8) {
        y = t.left(4).toInt();
        m = t.mid(4, 2).toInt();
        d = t.mid(6, 2).toInt();
    } else {
        return QString();
    }
    if (y < 1)
        return QString();
    return fmtDate(QDate(y, m, d));
}

QString minutesText(int minutes)
{
    const qint64 whole = minutes;   // -INT_MIN does not fit an int
    const qint64 a = whole < 0 ? -whole : whole;
    const QString sign = whole < 0 ? QStringLiteral("-") : QString();
    if (a >= 60)
        return sign + QString::number(a / 60) + u"시간 " + QString::number(a % 60) + u"분";
    return sign + QString::number(a) + u" 분";
}

int ageFromBirth(const QString &birth, const QString &digit, const QDate &today)
{
    constexpr int unknown = 999;
    QString s = birth.trimmed();
    if (s.isEmpty() || !today.isValid())
        return unknown;
    if (s.size() == 6 && !s.contains(QLatin1Char('-')))
        s = s.left(2) + u'-' + s.mid(2, 2) + u'-' + s.mid(4, 2);

    const QStringList parts = s.split(QLatin1Char('-'));
    const QString yearPart = s.contains(QLatin1Char('-')) ? parts.first() : s.left(2);
    int year = 0;
    if (yearPart.size() == 2 && allDigits(yearPart)) {
        const QString d = digit.trimmed();
        const int century = (d == u"3" || d == u"4") ? 2000 : 1900;
        year = century + yearPart.toInt();
    } else if (yearPart.size() == 4 && allDigits(yearPart)) {
        year = yearPart.toInt();
    }
    if (year < 1)
        return unknown;

    QDate born;
    if (parts.size() == 3 && allDigits(parts[1]) && allDigits(parts[2])
        && parts[1].size() <= 2 && parts[2].size() <= 2)
        born = QDate(year, parts[1].toInt(), parts[2].toInt());
    if (!born.isValid())
        born = QDate(year, 1, 1);

    int age = today.year() - born.year();
    if (born.month() > today.month() || (born.month() == today.month() && born.day() > today.day()))
        --age;
    return qMax(age, 0);
}

} // namespace fitrova
