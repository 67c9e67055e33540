#pragma once
// Typed search text turned into bound LIKE conditions that behave the same on
// both engines: the text is matched literally ("%", "_" and "\" in it are
// escaped, with ESCAPE '\'), and Latin letters match without regard to case
// (SQLite's LIKE ignores ASCII case, PostgreSQL's does not, so both sides are
// lowered).

#include "data/db.h"

#include <QString>

namespace fitrova {

// A piece of a WHERE clause with its bound values, in order.
struct SqlCondition {
    QString sql;
    Params params;
    bool isEmpty() const { return sql.isEmpty(); }
};

// The text with "\", "%" and "_" escaped by "\".
QString escapeLike(const QString &text);

// "%" + escaped text + "%": contains the text.
QString containsPattern(const QString &text);

// "lower(column) LIKE lower(?) ESCAPE '\'" with the contains pattern bound.
// column is a constant of the calling code.
SqlCondition containsCondition(const QString &column, const QString &text);

// Joins conditions with AND (empty ones are skipped); "" when none.
SqlCondition andConditions(const QList<SqlCondition> &parts);

} // namespace fitrova
