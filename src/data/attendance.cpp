#include "data/attendance.h"

#include <QDate>

namespace fitrova {

namespace {
QString monthText(int year, int month)
{
    return QStringLiteral("%1-%2").arg(year, 4, 10, QLatin1Char('0')).arg(month, 2, 10, QLatin1Char('0'));
}
} // namespace

QList<AttendanceMark> markAttendanceCalendar(const Db &db, int year, int month, const QString &mbCode)
{
    const QDate first(year, month, 1);
    if (!first.isValid())
        return {};
    // Every "YYYY-MM-DD" of the month sorts between "YYYY-MM" and the next
    // month's "YYYY-MM", so the (MbCode, InDate) index serves the range.
    const QDate next = first.addMonths(1);
    const Rows rows = db.query(QStringLiteral("SELECT DISTINCT InDate FROM entrance "
                                              "WHERE MbCode = ? AND InDate >= ? AND InDate < ? ORDER BY InDate"),
                               {mbCode, monthText(year, month), monthText(next.year(), next.month())});

    const int offset = first.dayOfWeek() % 7; // Sunday is 7 in QDate, column 0 here
    QList<AttendanceMark> marks;
    for (const Row &r : rows) {
        const int day = r.str(QStringLiteral("InDate")).right(2).toInt();
        if (day < 1 || day > first.daysInMonth() || (!marks.isEmpty() && marks.last().day >= day))
            continue;
        const int cell = offset + day - 1;
        marks.append(AttendanceMark{day, cell / 7, cell % 7});
    }
    return marks;
}

} // namespace fitrova
