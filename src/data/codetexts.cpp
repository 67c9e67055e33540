#include "data/codetexts.h"

#include "data/dates.h"

namespace fitrova {

namespace {

const char16_t *const kColumns[] = {u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"};
const char16_t *const kShortNames[] = {u"일", u"월", u"화", u"수", u"목", u"금", u"토"};

} // namespace

QString ltGubunName(const QString &ltGubun)
{
    if (ltGubun == u"0") return QStringLiteral("양수");
    if (ltGubun == u"1") return QStringLiteral("신청");
    if (ltGubun == u"2") return QStringLiteral("변경");
    if (ltGubun == u"3") return QStringLiteral("연청");
    if (ltGubun == u"4") return QStringLiteral("취소");
    return QString();
}

QString incomeKindName(const QString &pgGubun, const QString &ltGubun)
{
    if (pgGubun == u"1" || pgGubun == u"2") {
        if (ltGubun == u"0") return QStringLiteral("양수");
        if (ltGubun == u"1") return QStringLiteral("신청");
        if (ltGubun == u"2") return QStringLiteral("변경");
        if (ltGubun == u"3") return QStringLiteral("연청");
        if (ltGubun == u"4") return QStringLiteral("환불");
        if (ltGubun == u"5") return QStringLiteral("양도");
        return QStringLiteral("****");
    }
    if (pgGubun == u"3")
        return ltGubun == u"1" ? QStringLiteral("입금") : QStringLiteral("****");
    return QString();
}

QString periodKindName(const QString &pgGubun)
{
    if (pgGubun == u"1") return QStringLiteral("기간제");
    if (pgGubun == u"2") return QStringLiteral("시간제");
    return QString();
}

QString lectureStateRemark(qint64 delay, qint64 cancel, qint64 transfer, qint64 change,
                           const QString &ltGubun)
{
    QString s;
    if (delay > 0) s += u"연기.";
    if (cancel > 0) s += u"취소.";
    if (transfer > 0) s += u"양도.";
    if (change > 0) s += u"반변경.";
    if (ltGubun == u"0") s += u"양수.";
    return s;
}

QString lectureStateFilter(bool normal, bool postponed, bool cancelled)
{
    QString s;
    if (normal)
        s += QLatin1String(" (Lecture.LtGubun < '3' AND (Lecture.Delay + Cancel) = 0)");
    if (postponed) {
        if (!s.isEmpty())
            s += QLatin1String(" OR ");
        s += QLatin1String(" (Lecture.Delay > 0) ");
    }
    if (cancelled) {
        if (!s.isEmpty())
            s += QLatin1String(" OR ");
        s += QLatin1String(" (Lecture.Cancel > 0) ");
    }
    return s.isEmpty() ? s : QLatin1Char('(') + s + QLatin1Char(')');
}

int lectureRemainDays(qint64 cancel, const QString &dDate2, const QDate &today)
{
    if (cancel > 0)
        return 0;
    const QDate end = dateFromText(dDate2);
    if (!end.isValid() || !today.isValid())
        return 0;
    return int(qMax<qint64>(today.daysTo(end), 0));
}

QString programDaysText(bool mon, bool tue, bool wed, bool thu, bool fri, bool sat, bool sun)
{
    QString s;
    if (mon) s += u"월";
    if (tue) s += u",화";
    if (wed) s += u",수";
    if (thu) s += u",목";
    if (fri) s += u",금";
    if (sat) s += u",토";
    if (sun) s += u",일";
    return s;
}

QString weekdayColumn(int weekday)
{
    if (weekday < 1 || weekday > 7)
        return QString();
    return QString::fromUtf16(kColumns[weekday - 1]);
}

QString weekdayColumn(const QString &day)
{
    const QString t = day.trimmed();
    for (int i = 0; i < 7; ++i) {
        const QString col = QString::fromUtf16(kColumns[i]);
        const QString name = QString::fromUtf16(kShortNames[i]);
        if (t.compare(col, Qt::CaseInsensitive) == 0 || t == name || t == name + u"요일")
            return col;
    }
    return QString();
}

QString weekdayShortName(int weekday)
{
    if (weekday < 1 || weekday > 7)
        return QString();
    return QString::fromUtf16(kShortNames[weekday - 1]);
}

} // namespace fitrova
