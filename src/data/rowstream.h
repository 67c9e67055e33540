#pragma once
// Long results read a row at a time without being kept: for lists of tens of
// thousands of lines that turn each row into a line of their own at once,
// so the rows never exist twice (as values and as lines).

#include "data/db.h"
#include "data/reportquery.h"

#include <QSqlQuery>
#include <functional>

namespace fitrova {

// Runs the statement like Db::query (bound values, the connection's kept
// statements, a DbError on failure) and calls fn on each row in turn; fn
// reads the row's values by position (q.value(i)) and must not move the query.
void forEachRow(const Db &db, const QString &sql, const Params &params,
                const std::function<void(const QSqlQuery &row)> &fn);

// The current row's value at a position, as textAt and numAt read a Row.
inline QString textAt(const QSqlQuery &q, int column) { return textOf(q.value(column)); }
inline qint64 numAt(const QSqlQuery &q, int column) { return numOf(q.value(column)); }

} // namespace fitrova
