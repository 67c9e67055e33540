#pragma once
// A thin wrapper over one QSqlDatabase connection. Every value is bound;
// errors become DbError exceptions that carry the failing statement.

#include "data/schema.h"

#include <QSqlDatabase>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <QList>
#include <optional>
#include <stdexcept>

namespace fitrova {

class DbError : public std::runtime_error {
public:
    enum class Kind { Statement, Connection, UniqueViolation };
    DbError(Kind kind, QString message, QString sql = {}, QString nativeCode = {});
    Kind kind() const { return m_kind; }
    bool isUniqueViolation() const { return m_kind == Kind::UniqueViolation; }
    const QString &message() const { return m_message; }
    const QString &sql() const { return m_sql; }
    const QString &nativeCode() const { return m_native; }
private:
    Kind m_kind;
    QString m_message, m_sql, m_native;
};

// One row of a result. Column lookups are case-insensitive, so the mixed-case
// names work on PostgreSQL (which folds them to lower case) as on SQLite.
class Row {
public:
    Row() = default;
    explicit Row(QSqlRecord rec) : m_rec(std::move(rec)) {}
    QVariant value(const QString &column) const;
    bool isNull(const QString &column) const;
    // Text; "" for null.
    QString str(const QString &column) const;
    // Whole number; 0 for null, blank or not a number.
    qint64 num(const QString &column) const;
    double dbl(const QString &column) const;
    bool has(const QString &column) const { return m_rec.indexOf(column) >= 0; }
    const QSqlRecord &record() const { return m_rec; }
private:
    QSqlRecord m_rec;
};
using Rows = QList<Row>;
using Params = QVariantList;

class Db {
public:
    Db() = default;
    Db(const QString &connectionName, Engine engine);

    bool isValid() const { return !m_name.isEmpty() && handle().isOpen(); }
    Engine engine() const { return m_engine; }
    bool isPostgres() const { return m_engine == Engine::PostgreSQL; }
    QSqlDatabase handle() const;
    const QString &connectionName() const { return m_name; }

    // Runs a statement; returns the number of rows it changed.
    int exec(const QString &sql, const Params &params = {}) const;
    Rows query(const QString &sql, const Params &params = {}) const;
    std::optional<Row> queryOne(const QString &sql, const Params &params = {}) const;
    // First column of the first row; an invalid QVariant when there is no row.
    QVariant scalar(const QString &sql, const Params &params = {}) const;
    // Runs an INSERT and returns the id the database gave the new row.
    qint64 insertId(const QString &insertSql, const Params &params, const QString &idColumn) const;

    // Calls fn inside a transaction: committed when fn returns, rolled back when
    // it throws. Nested calls become savepoints, so an inner failure can be
    // recovered from (a failed statement aborts a whole PostgreSQL transaction).
    template <typename Fn>
    auto transaction(Fn &&fn) const -> decltype(fn())
    {
        begin();
        try {
            if constexpr (std::is_void_v<decltype(fn())>) {
                fn();
                commit();
            } else {
                auto r = fn();
                commit();
                return r;
            }
        } catch (...) {
            rollback();
            throw;
        }
    }
    int transactionDepth() const;

    // Appended to a SELECT inside a transaction, locks the rows it reads until
    // the transaction ends: " FOR UPDATE" on PostgreSQL, "" on SQLite, whose
    // transactions take the write lock when they begin. An action that reads
    // and then writes on what it read reads those rows this way:
    //
    //     db.transaction([&] {
    //         const auto base = db.queryOne("SELECT Cancel FROM Lecture WHERE Ltid = ?" + db.forUpdate(), {id});
    //         if (base->num("Cancel") > 0) return refused(...);
    //         ... write ...
    //     });
    QString forUpdate() const
    {
        return m_engine == Engine::PostgreSQL ? QStringLiteral(" FOR UPDATE") : QString();
    }

    // True when a table of that name exists on this connection.
    bool tableExists(const QString &table) const;

private:
    void begin() const;
    void commit() const;
    void rollback() const;

    QString m_name;
    Engine m_engine = Engine::SQLite;
};

// Runs fn, retrying it (at most `attempts` times) while it fails on a unique key;
// used where a new number is taken as the highest plus one.
template <typename Fn>
auto retryOnUniqueViolation(const Db &db, Fn &&fn, int attempts = 8) -> decltype(fn())
{
    for (int i = 1;; ++i) {
        try {
            return db.transaction(fn);
        } catch (const DbError &e) {
            if (!e.isUniqueViolation() || i >= attempts)
                throw;
        }
    }
}

} // namespace fitrova
