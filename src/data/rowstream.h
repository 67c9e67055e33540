#pragma once
// Long results read a row at a time without being kept: for lists of tens of
// thousands of lines that turn each row into a line of their own at once,
// so the rows never exist twice (as values and as lines).

#include "data/db.h"
#include "data/reportquery.h"

#include <QSqlQuery>
#include <functional>

struct sqlite3_stmt;

namespace fitrova {

// The row a statement is on, read by position. Its values are what the
// connection's driver gives for the column (text, a whole number, a
// fraction, null), so a row reads the same through either engine's path.
class StreamRow {
public:
    explicit StreamRow(const QSqlQuery &query) : m_query(&query) {}
    explicit StreamRow(sqlite3_stmt *stmt) : m_stmt(stmt) {}

    QVariant value(int column) const;
    bool isNull(int column) const;
    // "" for null (as textOf), and a whole number (as numOf).
    QString text(int column) const;
    qint64 num(int column) const;
    // Appends text(column) to out; on SQLite without a string of its own
    // (a long list joins its cells into one text a row).
    void appendText(int column, QString &out) const;

private:
    const QSqlQuery *m_query = nullptr;
    sqlite3_stmt *m_stmt = nullptr;
};

// Runs the statement like Db::query (bound values, a DbError on failure) and
// calls fn on each row in turn. On SQLite the rows are read straight from
// the engine's statement rather than through a value cache, which halves the
// cost of a long list.
void forEachRow(const Db &db, const QString &sql, const Params &params,
                const std::function<void(const StreamRow &row)> &fn);

// The current row's value at a position, as textAt and numAt read a Row.
inline QString textAt(const StreamRow &r, int column) { return r.text(column); }
inline qint64 numAt(const StreamRow &r, int column) { return r.num(column); }

} // namespace fitrova
