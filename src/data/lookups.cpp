#include "data/lookups.h"

namespace fitrova {

namespace {

// The named column of the only row the statement finds; `fallback` when it
// finds none or more than one. The statement asks for two rows at most, which
// is enough to tell "exactly one" apart.
QString onlyRowText(const Db &db, const QString &sql, const Params &params, const QString &column,
                    const QString &fallback)
{
    const Rows rows = db.query(sql + QStringLiteral(" LIMIT 2"), params);
    return rows.size() == 1 ? rows.first().str(column) : fallback;
}

QString courseName(const Db &db, const QString &code, const QString &psGroup, const QString &fallback)
{
    return onlyRowText(db, QStringLiteral("SELECT Name FROM Course WHERE Code = ? AND PsGroup = ?"),
                       {code, psGroup}, QStringLiteral("Name"), fallback);
}

// Column of the program's weekday flag; "" for a text that names no weekday.
QString weekdayColumn(const QString &weekday)
{
    static const char *const english[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    static const char16_t korean[] = {u'월', u'화', u'수', u'목', u'금', u'토', u'일'};
    const QString w = weekday.trimmed();
    for (int i = 0; i < 7; ++i) {
        if (w.compare(QLatin1String(english[i]), Qt::CaseInsensitive) == 0
            || (w.size() == 1 && w.at(0) == QChar(korean[i])))
            return QLatin1String(english[i]);
    }
    return {};
}

} // namespace

QString getAgeCode(const Db &db, qint64 age)
{
    const QVariant code = db.scalar(
        QStringLiteral("SELECT Code FROM Age WHERE age1 <= ? AND age2 >= ? ORDER BY Code LIMIT 1"), {age, age});
    return code.isNull() ? QString() : code.toString();
}

QString getMemberName(const Db &db, const QString &mbCode)
{
    return onlyRowText(db, QStringLiteral("SELECT MbName FROM Member WHERE MbCode = ?"), {mbCode},
                       QStringLiteral("MbName"), QString());
}

QString getUserName(const Db &db, const QString &psCode)
{
    return onlyRowText(db, QStringLiteral("SELECT UserName FROM UserM WHERE PsCode = ?"), {psCode},
                       QStringLiteral("UserName"), QString());
}

QString getCardName(const Db &db, const QString &code)
{
    QString name = onlyRowText(db, QStringLiteral("SELECT Name FROM Card WHERE Code = ?"), {code},
                               QStringLiteral("Name"), QString());
    qsizetype end = name.size();
    while (end > 0 && name.at(end - 1).isSpace())
        --end;
    name.truncate(end);
    return name;
}

QString getProgramName(const Db &db, qint64 pgId)
{
    return onlyRowText(db, QStringLiteral("SELECT PgName FROM Program WHERE Pgid = ?"), {pgId},
                       QStringLiteral("PgName"), QString::fromLatin1(kNoProgramName));
}

QString getCourseName(const Db &db, const QString &code, const QString &psGroup)
{
    return courseName(db, code, psGroup, QString::fromLatin1(kNoCourseName));
}

QString getCourseNameShort(const Db &db, const QString &code, const QString &psGroup)
{
    return courseName(db, code, psGroup, QString::fromLatin1(kNoCourseNameShort));
}

QString getSclassName(const Db &db, const QString &psGroup, const QString &course, const QString &sclass)
{
    return onlyRowText(db,
                       QStringLiteral("SELECT SclassN FROM Sclass WHERE PsGroup = ? AND Course = ? AND Sclass = ?"),
                       {psGroup, course, sclass}, QStringLiteral("SclassN"), QString());
}

QString getLectureOwnerText(const Db &db, qint64 ltId)
{
    const Rows rows = db.query(QStringLiteral("SELECT Lecture.MbCode AS MbCode, "
                                              "COALESCE(Member.MbName, Lecture.MbName, '') AS MbName "
                                              "FROM Lecture LEFT JOIN Member ON Lecture.MbCode = Member.MbCode "
                                              "WHERE Lecture.Ltid = ? LIMIT 2"),
                               {ltId});
    if (rows.size() != 1)
        return {};
    const Row &r = rows.first();
    return r.str(QStringLiteral("MbName")) + QLatin1Char('(') + r.str(QStringLiteral("MbCode")) + QLatin1Char(')');
}

bool programDayMatch(const Db &db, qint64 pgId, const QString &weekday)
{
    const QString column = weekdayColumn(weekday);
    if (column.isEmpty())
        return false;
    const Rows rows = db.query(
        QStringLiteral("SELECT Mon, Tue, Wed, Thu, Fri, Sat, Sun FROM Program WHERE Pgid = ? LIMIT 2"), {pgId});
    return rows.size() == 1 && rows.first().num(column) != 0;
}

bool programDayMatch(const Db &db, qint64 pgId, Qt::DayOfWeek day)
{
    static const char *const names[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    const int i = static_cast<int>(day);
    return i >= 1 && i <= 7 && programDayMatch(db, pgId, QLatin1String(names[i - 1]));
}

bool programDayMatchSundayFirst(const Db &db, qint64 pgId, int weekday)
{
    if (weekday < 1 || weekday > 7)
        return false;
    return programDayMatch(db, pgId, static_cast<Qt::DayOfWeek>(weekday == 1 ? 7 : weekday - 1));
}

} // namespace fitrova
