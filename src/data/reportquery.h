#pragma once
// Pieces of the report queries: the periods they cover and the conditions of
// their WHERE clauses.
//
// The conditions of a list's WHERE clause, each with its bound values, for
// queries whose filters are chosen on a screen:
//
//     SqlFilter f;
//     f.add(QStringLiteral("e.InDate >= ? AND e.InDate <= ?"), {from, to});
//     f.equalIfSet(QStringLiteral("e.Course"), course);   // only when a course is chosen
//     db.query(QStringLiteral("SELECT … FROM entrance e") + f.where() + QStringLiteral(" ORDER BY …"), f.params());

#include "data/db.h"
#include "data/dates.h"

#include <QDate>

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

class SqlFilter {
public:
    SqlFilter &add(const QString &condition, const Params &values = {})
    {
        m_parts << condition;
        m_params += values;
        return *this;
    }
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
