#pragma once
// A thin wrapper over one QSqlDatabase connection. Every value is bound;
// errors become DbError exceptions that carry the failing statement.

#include "data/schema.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlField>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <QList>
#include <QPair>
#include <memory>
#include <optional>
#include <stdexcept>

namespace fitrova {

class DbError : public std::runtime_error {
public:
    enum class Kind {
        Statement,
        Connection,
        UniqueViolation,
        // Another desk held what this action needed: a deadlock or a lock
        // waited on for too long (PostgreSQL), a database busy beyond the
        // busy timeout (SQLite). Trying the action again may succeed.
        Conflict,
        DiskFull,  // no room left on the disk (or quota) of the database
        ReadOnly,  // the database file or its folder cannot be written
    };
    DbError(Kind kind, QString message, QString sql = {}, QString nativeCode = {});
    Kind kind() const { return m_kind; }
    bool isUniqueViolation() const { return m_kind == Kind::UniqueViolation; }
    bool isConflict() const { return m_kind == Kind::Conflict; }
    const QString &message() const { return m_message; }
    const QString &sql() const { return m_sql; }
    const QString &nativeCode() const { return m_native; }
private:
    Kind m_kind;
    QString m_message, m_sql, m_native;
};

// The column names of one result, shared by all its rows: a name is looked
// up without regard to case, so the mixed-case names work on PostgreSQL
// (which folds them to lower case) as on SQLite.
class RowColumns {
public:
    explicit RowColumns(const QSqlRecord &rec);
    int count() const { return int(m_names.size()); }
    const QString &name(int i) const { return m_names.at(i); }
    // Position of the column; -1 when the result has none of that name.
    int indexOf(const QString &column) const;
private:
    QStringList m_names;
    QHash<QString, int> m_exact, m_folded;
};

// One row of a result: its values by position, the names resolved once per
// statement (RowColumns), so a long list costs its values and little more.
class Row {
public:
    Row() = default;
    explicit Row(const QSqlRecord &rec);
    Row(std::shared_ptr<const RowColumns> columns, QVariantList values)
        : m_cols(std::move(columns)), m_values(std::move(values)) {}
    QVariant value(const QString &column) const;
    bool isNull(const QString &column) const;
    // Text; "" for null.
    QString str(const QString &column) const;
    // Whole number; 0 for null, blank or not a number.
    qint64 num(const QString &column) const;
    double dbl(const QString &column) const;
    bool has(const QString &column) const { return m_cols && m_cols->indexOf(column) >= 0; }
    int columnCount() const { return int(m_values.size()); }
    // The value at a position (0-based); an invalid QVariant outside the row.
    QVariant at(int i) const { return i >= 0 && i < m_values.size() ? m_values.at(i) : QVariant(); }
    // The row as a record (made on demand).
    QSqlRecord record() const;
private:
    std::shared_ptr<const RowColumns> m_cols;
    QVariantList m_values;
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
    //
    // The outermost transaction is one desk action. When PostgreSQL ends it
    // because of another desk (a deadlock between two actions that lock the
    // same rows in a different order), fn is rolled back and called again, up
    // to kConflictAttempts times in all: keep what fn does inside the database
    // or inside fn itself, so that a second call starts afresh.
    template <typename Fn>
    auto transaction(Fn &&fn) const -> decltype(fn())
    {
        for (int attempt = 1;; ++attempt) {
            const bool outermost = transactionDepth() == 0;
            begin();
            try {
                if constexpr (std::is_void_v<decltype(fn())>) {
                    fn();
                    commit();
                    return;
                } else {
                    auto r = fn();
                    commit();
                    return r;
                }
            } catch (const DbError &e) {
                rollback();
                if (!outermost || !retriesConflict(e) || attempt >= kConflictAttempts)
                    throw;
            } catch (...) {
                rollback();
                throw;
            }
        }
    }
    static constexpr int kConflictAttempts = 4;
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

    // SQLite in WAL mode with files attached (schema name of each): makes a
    // transaction that writes the main file and attached ones all or nothing
    // across the files, also when the process dies between their commits
    // (see the commit log in db.cpp). Settles what a process that died left.
    void enableCrossFileLog(const QList<QPair<DbFile, QString>> &attached) const;
    // How many transactions left half-committed by a process that died this
    // process has completed so far.
    static int completedCrossFileTransactions();
    // Forgets what is kept about a connection of that name (transaction
    // depth, commit log): called when the name is given to a new connection.
    static void resetConnectionState(const QString &connectionName);

private:
    void begin() const;
    void commit() const;
    void rollback() const;
    void noteWrite(const QString &sql, const Params &params, const QString &idColumn = {}, qint64 id = 0) const;
    void writeCrossFileLog() const;
    void settleCrossFileLog() const;
    // True for a conflict worth trying the whole action again (PostgreSQL
    // deadlocks and serialization failures); waits a little first.
    bool retriesConflict(const DbError &e) const;

    QString m_name;
    Engine m_engine = Engine::SQLite;
};

// The text as it is stored: without NUL and the other control characters
// (C0 and DEL) but tab, line feed and carriage return. Every text value bound
// to a statement passes through it, so a stray control character typed or
// read by a card reader never reaches the database (PostgreSQL refuses NUL).
QString withoutControlCharacters(const QString &text);

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
