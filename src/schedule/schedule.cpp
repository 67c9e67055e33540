#include "schedule/schedule.h"

#include <QRegularExpression>

namespace fitrova {

namespace {

constexpr int kSlots = 48;

const QString kColumns = QStringLiteral("SELECT ScID, ScGubun, ScUserCode, ScDate, ScTime1, ScTime2, ScTit, ScDetail "
                                        "FROM Schedule ");

ScheduleEntry entryOf(const Row &r)
{
    ScheduleEntry e;
    e.id = r.num(QStringLiteral("ScID"));
    e.gubun = r.str(QStringLiteral("ScGubun"));
    e.userCode = r.str(QStringLiteral("ScUserCode"));
    e.date = r.str(QStringLiteral("ScDate"));
    e.time1 = r.str(QStringLiteral("ScTime1"));
    e.time2 = r.str(QStringLiteral("ScTime2"));
    e.title = r.str(QStringLiteral("ScTit"));
    e.detail = r.str(QStringLiteral("ScDetail"));
    return e;
}

QList<ScheduleEntry> entriesOf(const Rows &rows)
{
    QList<ScheduleEntry> out;
    out.reserve(rows.size());
    for (const Row &r : rows)
        out << entryOf(r);
    return out;
}

// The calendar's condition: personal entries only of their maker.
QList<ScheduleEntry> calendarQuery(const Db &db, const QString &gubun, const QString &userCode, const QString &from,
                                   const QString &to)
{
    QString sql = kColumns + QStringLiteral("WHERE ScGubun = ?");
    Params params{gubun};
    if (gubun == QLatin1String("1")) {
        sql += QStringLiteral(" AND ScUserCode = ?");
        params << userCode;
    }
    sql += QStringLiteral(" AND ScDate >= ? AND ScDate <= ? ORDER BY ScDate, ScID");
    params << from << to;
    return entriesOf(db.query(sql, params));
}

} // namespace

const QStringList &scheduleTimeSlots()
{
    static const QStringList texts = [] {
        QStringList l;
        for (int i = 0; i < kSlots; ++i) {
            const int hour = (i % 24) / 2;
            l << QStringLiteral("%1 %2:%3")
                     .arg(i < 24 ? QStringLiteral("오전") : QStringLiteral("오후"))
                     .arg(hour == 0 ? 12 : hour, 2, 10, QLatin1Char('0'))
                     .arg(i % 2 == 0 ? QStringLiteral("00") : QStringLiteral("30"));
        }
        return l;
    }();
    return texts;
}

int defaultStartSlot(const QTime &now)
{
    if (!now.isValid())
        return 0;
    const int minutes = now.hour() * 60 + now.minute();
    const int slot = (minutes + 29) / 30;
    return qMin(slot, kSlots - 1);
}

int defaultEndSlot(int startSlot)
{
    return qMin(qMax(startSlot, 0) + 1, kSlots - 1);
}

QString scheduleKindItem(const QString &gubun)
{
    return gubun == QLatin1String("1") ? QStringLiteral("1.개인일정") : QStringLiteral("0.공용일정");
}

QList<ScheduleEntry> monthSchedule(const Db &db, const QString &gubun, const QString &userCode, int year, int month)
{
    const QDate first(year, month, 1);
    if (!first.isValid())
        return {};
    return calendarQuery(db, gubun, userCode, first.toString(QStringLiteral("yyyy-MM-dd")),
                         first.addDays(first.daysInMonth() - 1).toString(QStringLiteral("yyyy-MM-dd")));
}

QList<ScheduleEntry> daySchedule(const Db &db, const QString &gubun, const QString &userCode, const QString &date)
{
    return calendarQuery(db, gubun, userCode, date, date);
}

QString scheduleLine(const ScheduleEntry &e)
{
    const QString half = e.time1.left(2);
    QString prefix;
    if (half == QStringLiteral("오전"))
        prefix = QStringLiteral("AM ");
    else if (half == QStringLiteral("오후"))
        prefix = QStringLiteral("PM ");
    if (e.time1.trimmed().isEmpty())
        return e.title;
    return prefix + e.time1.right(5) + QLatin1Char(' ') + e.title;
}

QStringList scheduleDayLines(const QList<ScheduleEntry> &entries, bool withDetails)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QStringList lines;
    for (const ScheduleEntry &e : entries) {
        lines << scheduleLine(e);
        if (withDetails && !e.detail.trimmed().isEmpty())
            lines << e.detail.split(lineBreak);
    }
    return lines;
}

QList<ScheduleEntry> ownSchedule(const Db &db, const QString &gubun, const QString &userCode, const QString &from,
                                 const QString &to)
{
    return entriesOf(db.query(kColumns + QStringLiteral("WHERE ScGubun = ? AND ScUserCode = ? AND ScDate >= ? "
                                                        "AND ScDate <= ? ORDER BY ScID"),
                              {gubun, userCode, from, to}));
}

Outcome saveSchedule(const Db &db, const ScheduleInput &in)
{
    if (in.title.trimmed().isEmpty())
        return Outcome::refused(QStringLiteral("제목을 입력하세요"), QStringLiteral("저장"));
    if (!QDate::fromString(in.date, QStringLiteral("yyyy-MM-dd")).isValid())
        return Outcome::refused(QStringLiteral("일자를 확인하세요."), QStringLiteral("저장"));
    const QString gubun = in.gubun == QLatin1String("1") ? QStringLiteral("1") : QStringLiteral("0");
    const Params values{gubun, in.userCode, in.date, in.time1, in.time2, in.title.trimmed(), in.detail};
    return db.transaction([&]() -> Outcome {
        if (in.id > 0) {
            if (!db.queryOne(QStringLiteral("SELECT ScID FROM Schedule WHERE ScID = ?") + db.forUpdate(), {in.id}))
                return Outcome::refused(QStringLiteral("자료를 찾을수 없읍니다"), QStringLiteral("일정저장"));
            db.exec(QStringLiteral("UPDATE Schedule SET ScGubun = ?, ScUserCode = ?, ScDate = ?, ScTime1 = ?, "
                                   "ScTime2 = ?, ScTit = ?, ScDetail = ? WHERE ScID = ?"),
                    values + Params{in.id});
            return Outcome::done(in.id);
        }
        const qint64 id = db.insertId(QStringLiteral("INSERT INTO Schedule (ScGubun, ScUserCode, ScDate, ScTime1, "
                                                     "ScTime2, ScTit, ScDetail) VALUES (?, ?, ?, ?, ?, ?, ?)"),
                                      values, QStringLiteral("ScID"));
        return Outcome::done(id);
    });
}

Outcome deleteSchedule(const Db &db, qint64 id, const QString &userCode)
{
    db.exec(QStringLiteral("DELETE FROM Schedule WHERE ScID = ? AND ScUserCode = ?"), {id, userCode});
    return Outcome::done(id);
}

QList<QDate> monthCalendarCells(int year, int month)
{
    const QDate first(year, month, 1);
    if (!first.isValid())
        return {};
    const int lead = first.dayOfWeek() % 7; // Sunday 0 … Saturday 6
    const int used = lead + first.daysInMonth();
    const int cells = (used + 6) / 7 * 7;
    QList<QDate> out;
    out.reserve(cells);
    for (int i = 0; i < cells; ++i) {
        const int day = i - lead + 1;
        out << (day >= 1 && day <= first.daysInMonth() ? QDate(year, month, day) : QDate());
    }
    return out;
}

} // namespace fitrova
