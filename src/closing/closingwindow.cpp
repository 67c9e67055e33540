#include "closing/closingwindow.h"

#include "data/dates.h"

#include <QRegularExpression>
#include <QTime>

namespace fitrova {

namespace {

bool isTimeText(const QString &t)
{
    return t.size() == 8 && QTime::fromString(t, QStringLiteral("HH:mm:ss")).isValid();
}

} // namespace

bool TimeWindow::isValid() const
{
    return isValidDateText(fromDate) && isValidDateText(toDate) && isTimeText(fromTime) && isTimeText(toTime)
        && from() <= to();
}

bool TimeWindow::contains(const QString &date, const QString &time) const
{
    const QString at = date + time;
    return at >= from() && at <= to();
}

bool TimeWindow::contains(const TimeWindow &inner) const
{
    return inner.from() >= from() && inner.to() <= to();
}

QString TimeWindow::condition(const QString &d, const QString &t) const
{
    return QStringLiteral("(%1 >= ? AND %1 <= ? AND (%1 > ? OR %2 >= ?) AND (%1 < ? OR %2 <= ?))").arg(d, t);
}

Params TimeWindow::params() const
{
    return {fromDate, toDate, fromDate, fromTime, toDate, toTime};
}

QString normalizeTime(const QString &text)
{
    const QString s = text.trimmed();
    int h = 0, m = 0, sec = 0;
    static const QRegularExpression withColons(QStringLiteral("^(\\d{1,2})(?::(\\d{1,2}))?(?::(\\d{1,2}))?$"));
    static const QRegularExpression digits(QStringLiteral("^(\\d{3,6})$"));
    if (const auto mt = withColons.match(s); mt.hasMatch() && (s.contains(QLatin1Char(':')) || s.size() <= 2)) {
        h = mt.captured(1).toInt();
        m = mt.captured(2).isEmpty() ? 0 : mt.captured(2).toInt();
        sec = mt.captured(3).isEmpty() ? 0 : mt.captured(3).toInt();
    } else if (const auto md = digits.match(s); md.hasMatch()) {
        // hmm, hhmm, hhmmss
        QString d = md.captured(1);
        if (d.size() == 3 || d.size() == 5)
            d.prepend(QLatin1Char('0'));
        h = d.left(2).toInt();
        m = d.mid(2, 2).toInt();
        sec = d.size() == 6 ? d.mid(4, 2).toInt() : 0;
    } else {
        return {};
    }
    if (h == 24 && m == 0 && sec == 0)
        return QStringLiteral("23:59:59");
    if (h > 23 || m > 59 || sec > 59)
        return {};
    return QTime(h, m, sec).toString(QStringLiteral("HH:mm:ss"));
}

const TakingsSource &takingsSource(TakingsKind kind)
{
    static const TakingsSource goods{
        TakingsKind::Goods,
        QStringLiteral("Sale"),
        QStringLiteral("SlDate"),
        QStringLiteral("LastTime"),
        QStringLiteral("SlfDate"),
        QStringLiteral("1 = 1"),
        QStringLiteral("CashAmt"),
        QStringLiteral("CardAmt"),
        QStringLiteral("CASE WHEN SEQ = 1 THEN 1 ELSE 0 END"),
    };
    static const TakingsSource courses{
        TakingsKind::Courses,
        QStringLiteral("Lecture"),
        QStringLiteral("RqDate"),
        QStringLiteral("LastTime"),
        QStringLiteral("fDate"),
        QStringLiteral("LtGubun IN ('1', '2', '4')"),
        QStringLiteral("CASE WHEN LtGubun = '4' THEN -CashAmt ELSE CashAmt END"),
        QStringLiteral("CASE WHEN LtGubun = '4' THEN -CardAmt ELSE CardAmt END"),
        QStringLiteral("1"),
    };
    static const TakingsSource lockers{
        TakingsKind::Lockers,
        QStringLiteral("RqPerBox"),
        QStringLiteral("RqDate"),
        QStringLiteral("LastTime"),
        QStringLiteral("fDate"),
        QStringLiteral("RqGubun IN ('1', '3', '4', '5') AND (Samt + Uamt + Ramt) <> 0"),
        QStringLiteral("Samt + Uamt - Ramt"),
        QStringLiteral("0"),
        QStringLiteral("1"),
    };
    switch (kind) {
    case TakingsKind::Goods:
        return goods;
    case TakingsKind::Courses:
        return courses;
    case TakingsKind::Lockers:
        break;
    }
    return lockers;
}

QString unstampedCondition(const QString &stampColumn)
{
    return QStringLiteral("(%1 IS NULL OR %1 = '')").arg(stampColumn);
}

void lockTakingsTables(const Db &db)
{
    if (db.isPostgres())
        db.exec(QStringLiteral("LOCK TABLE Lecture, RqPerBox, Sale, Finish IN SHARE ROW EXCLUSIVE MODE"));
}

} // namespace fitrova
