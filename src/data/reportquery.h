#pragma once
// Pieces of the report queries: the periods they cover and the conditions of
// their WHERE clauses.
//
// The conditions of a list's WHERE clause, each with its bound values, for
// queries whose filters are chosen on a screen:
//
//     SqlFilter f;
//     f.between(QStringLiteral("e.InDate"), from, to);
//     f.equalIfSet(QStringLiteral("e.Course"), course);   // only when a course is chosen
//     db.query(QStringLiteral("SELECT … FROM entrance e") + f.where() + QStringLiteral(" ORDER BY …"), f.params());

#include "data/db.h"
#include "data/dates.h"

#include <QDate>
#include <QMetaType>
#include <cmath>
#include <utility>

#include <QString>
#include <QStringList>

namespace fitrova {

// First and last day ("YYYY-MM-DD") of a period. Every date of the period
// lies between them as text, so a date index serves the range (a text cut
// of the date column would not).
struct DateRange {
    QString from{}, to{};
    bool isValid() const { return !from.isEmpty() && !to.isEmpty(); }
};

inline DateRange monthRange(int year, int month)
{
    const QDate first(year, month, 1);
    if (!first.isValid())
        return {};
    return {fmtDate(first), fmtDate(first.addMonths(1).addDays(-1))};
}

// The month of a "YYYY-MM" text.
inline DateRange monthRange(const QString &yyyymm)
{
    const QDate first = dateFromText(yyyymm + QStringLiteral("-01"));
    return first.isValid() ? monthRange(first.year(), first.month()) : DateRange{};
}

inline DateRange yearRange(int year)
{
    const QDate first(year, 1, 1);
    if (!first.isValid())
        return {};
    return {fmtDate(first), fmtDate(QDate(year, 12, 31))};
}

// A value of a result as text ("" for null) and as a whole number (0 for
// null, blank or what is not a number): what Row::str and Row::num give.
inline QString textOf(const QVariant &v) { return v.isNull() ? QString() : v.toString(); }

inline qint64 numOf(const QVariant &v)
{
    if (v.isNull())
        return 0;
    switch (v.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
        return v.toLongLong();
    default: {
        bool ok = false;
        const QString s = v.toString().trimmed();
        const qint64 n = s.toLongLong(&ok);
        if (ok)
            return n;
        const double d = s.toDouble(&ok);
        return ok && std::isfinite(d) ? static_cast<qint64>(d) : 0;
    }
    }
}

// A long list's values read by their place in its SELECT (0-based): looking
// a column up by name costs more than the rest of the row. (The same for the
// row a statement hands over as it reads: data/rowstream.h.)
inline QString textAt(const Row &r, int column) { return textOf(r.at(column)); }
inline qint64 numAt(const Row &r, int column) { return numOf(r.at(column)); }

// The condition that reads a list on after a line: the rows that come after
// it in the list's ORDER BY. Every key is an expression that is never NULL
// (COALESCE the nullable ones, in the ORDER BY as here), and the last key is
// unique, so no row is skipped or read twice between two pages.

// "(k1 > ? OR (k1 = ? AND (k2 > ? OR (k2 = ? AND … kn > ?))))" and its
// values: keys are the ORDER BY's expressions, values theirs on the last line
// read.
inline std::pair<QString, Params> afterKeys(const QStringList &keys, const Params &values)
{
    QString sql;
    Params params;
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const QString &k = keys.at(i);
        QVariant v = values.value(i);
        // A line's text read from NULL is a null string, which would bind as
        // NULL; its key expression gives "" there.
        if (v.typeId() == QMetaType::QString && v.toString().isNull())
            v = QString(QLatin1String(""));
        if (i + 1 == keys.size()) {
            sql += k + QStringLiteral(" > ?");
            params << v;
        } else {
            sql += QLatin1Char('(') + k + QStringLiteral(" > ? OR (") + k + QStringLiteral(" = ? AND ");
            params << v << v;
        }
    }
    for (qsizetype i = 0; i + 1 < keys.size(); ++i)
        sql += QStringLiteral("))");
    return {QLatin1Char('(') + sql + QLatin1Char(')'), params};
}

class SqlFilter {
public:
    SqlFilter &add(const QString &condition, const Params &values = {})
    {
        m_parts << condition;
        m_params += values;
        return *this;
    }
    // "column >= ? AND column <= ?": a range an index on the column serves.
    SqlFilter &between(const QString &column, const QString &from, const QString &to)
    {
        return add(column + QStringLiteral(" >= ? AND ") + column + QStringLiteral(" <= ?"), {from, to});
    }
    SqlFilter &between(const QString &column, const DateRange &range) { return between(column, range.from, range.to); }
    // "column = ?" when the value is not empty.
    SqlFilter &equalIfSet(const QString &column, const QString &value)
    {
        if (!value.isEmpty())
            add(column + QStringLiteral(" = ?"), {value});
        return *this;
    }
    // "column = ?" when the value is not 0.
    SqlFilter &equalIfSet(const QString &column, qint64 value)
    {
        if (value != 0)
            add(column + QStringLiteral(" = ?"), {value});
        return *this;
    }
    bool isEmpty() const { return m_parts.isEmpty(); }
    // " WHERE a AND b", or "" without conditions.
    QString where() const { return isEmpty() ? QString() : QStringLiteral(" WHERE ") + conditions(); }
    // " AND a AND b", or "".
    QString andClause() const { return isEmpty() ? QString() : QStringLiteral(" AND ") + conditions(); }
    QString conditions() const { return m_parts.join(QStringLiteral(" AND ")); }
    const Params &params() const { return m_params; }

private:
    QStringList m_parts;
    Params m_params;
};

} // namespace fitrova
