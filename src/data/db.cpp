#include "data/db.h"

#include <QHash>
#include <QMutex>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <cmath>
#include <list>
#include <memory>

namespace fitrova {

DbError::DbError(Kind kind, QString message, QString sql, QString nativeCode)
    : std::runtime_error(QString(message + (sql.isEmpty() ? QString() : QString(QStringLiteral(" [") + sql + QStringLiteral("]"))))
                             .toStdString()),
      m_kind(kind), m_message(std::move(message)), m_sql(std::move(sql)), m_native(std::move(nativeCode))
{
}

QVariant Row::value(const QString &column) const
{
    const int i = m_rec.indexOf(column);
    return i < 0 ? QVariant() : m_rec.value(i);
}

bool Row::isNull(const QString &column) const
{
    const QVariant v = value(column);
    return !v.isValid() || v.isNull();
}

QString Row::str(const QString &column) const
{
    const QVariant v = value(column);
    return v.isNull() ? QString() : v.toString();
}

qint64 Row::num(const QString &column) const
{
    const QVariant v = value(column);
    if (v.isNull())
        return 0;
    bool ok = false;
    const QString s = v.toString().trimmed();
    qint64 n = s.toLongLong(&ok);
    if (ok)
        return n;
    const double d = s.toDouble(&ok);
    return ok && std::isfinite(d) ? static_cast<qint64>(d) : 0;
}

double Row::dbl(const QString &column) const
{
    const QVariant v = value(column);
    if (v.isNull())
        return 0.0;
    bool ok = false;
    const double d = v.toString().trimmed().toDouble(&ok);
    return ok ? d : 0.0;
}

namespace {

QMutex depthMutex;
QHash<QString, int> &depths()
{
    static QHash<QString, int> d;
    return d;
}

DbError makeError(const QSqlError &err, const QString &sql)
{
    const QString native = err.nativeErrorCode();
    const QString text = err.text();
    DbError::Kind kind = DbError::Kind::Statement;
    if (native == QLatin1String("23505") || native == QLatin1String("2067") || native == QLatin1String("1555")
        || (native == QLatin1String("19") && text.contains(QLatin1String("UNIQUE"), Qt::CaseInsensitive)))
        kind = DbError::Kind::UniqueViolation;
    else if (err.type() == QSqlError::ConnectionError)
        kind = DbError::Kind::Connection;
    return DbError(kind, text, sql, native);
}

// ---------------------------------------------------------------------------
// Prepared statements, kept per connection and reused by SQL text.
//
// A statement is taken out of the cache while it runs and put back (finished,
// so that it holds no cursor or lock) once its rows are read; a statement
// that failed is dropped unless it failed on the data it met (see
// stillUsable). The cache of a connection is emptied when its driver goes
// away (removeDatabase) or when the connection below it changed (closed, or
// closed and opened again).
// ---------------------------------------------------------------------------

constexpr int kCachedStatements = 96;

class StatementCache {
public:
    StatementCache(QSqlDriver *driver, const void *native) : m_driver(driver), m_native(native) {}
    bool belongsTo(const QSqlDriver *driver, const void *native) const
    {
        return driver == m_driver && native == m_native;
    }
    std::unique_ptr<QSqlQuery> take(const QString &sql)
    {
        const auto it = m_index.find(sql);
        if (it == m_index.end())
            return nullptr;
        auto entry = *it;
        std::unique_ptr<QSqlQuery> q = std::move(entry->second);
        m_lru.erase(entry);
        m_index.erase(it);
        return q;
    }
    void put(const QString &sql, std::unique_ptr<QSqlQuery> q)
    {
        if (m_index.contains(sql))
            return; // the same text ran nested; one copy is enough
        m_lru.emplace_front(sql, std::move(q));
        m_index.insert(sql, m_lru.begin());
        while (m_lru.size() > size_t(kCachedStatements)) {
            m_index.remove(m_lru.back().first);
            m_lru.pop_back();
        }
    }
    const QSqlDriver *driver() const { return m_driver; }

private:
    using Entry = std::pair<QString, std::unique_ptr<QSqlQuery>>;
    QSqlDriver *m_driver;
    const void *m_native;
    std::list<Entry> m_lru; // most recently used first
    QHash<QString, std::list<Entry>::iterator> m_index;
};

// Both live until the process ends: a driver may still be destroyed (and
// call dropCache) while the statics of the program are being torn down.
QMutex &cacheMutex()
{
    static auto *m = new QMutex;
    return *m;
}
QHash<QString, std::shared_ptr<StatementCache>> &caches()
{
    static auto *c = new QHash<QString, std::shared_ptr<StatementCache>>;
    return *c;
}

// The driver's own connection (sqlite3*, PGconn*): it changes when the
// connection is closed and opened again.
const void *nativeHandle(const QSqlDriver *driver)
{
    const QVariant h = driver->handle();
    return h.isValid() && h.constData() ? *static_cast<void *const *>(h.constData()) : nullptr;
}

void dropCache(const QString &name, const QSqlDriver *driver)
{
    std::shared_ptr<StatementCache> gone;
    QMutexLocker lock(&cacheMutex());
    const auto it = caches().find(name);
    if (it != caches().end() && (*it)->driver() == driver) {
        gone = std::move(*it);
        caches().erase(it);
    }
}

// The cache of a connection, made on first use; nullptr when the connection is not open.
std::shared_ptr<StatementCache> cacheFor(const QString &name, const QSqlDatabase &db)
{
    QSqlDriver *driver = db.driver();
    if (!driver || !driver->isOpen())
        return nullptr;
    const void *native = nativeHandle(driver);
    QMutexLocker lock(&cacheMutex());
    std::shared_ptr<StatementCache> &c = caches()[name];
    if (c && c->belongsTo(driver, native))
        return c;
    const bool watched = c && c->driver() == driver;
    c = std::make_shared<StatementCache>(driver, native);
    if (!watched) {
        // Dropped with the driver, before another connection can take its
        // name (and perhaps its address).
        QObject::connect(driver, &QObject::destroyed, [name, driver] { dropCache(name, driver); });
    }
    return c;
}

// Statements worth keeping: the ones that carry values. Transaction control,
// pragmas and schema changes run as they are.
bool cacheable(const QString &sql, const Params &params)
{
    if (params.isEmpty())
        return false;
    const QStringView s = QStringView(sql).trimmed();
    for (const char *kw : {"SELECT", "INSERT", "UPDATE", "DELETE", "WITH"})
        if (s.startsWith(QLatin1String(kw), Qt::CaseInsensitive))
            return true;
    return false;
}

// A statement that failed on the data it met (a key already taken, a lock,
// a transaction that an earlier statement aborted) is still good and stays
// kept; after any other failure (a schema change, a lost connection) it is
// prepared afresh next time.
bool stillUsable(const QSqlError &err, Engine engine)
{
    const QString code = err.nativeErrorCode();
    if (err.type() == QSqlError::ConnectionError || code.isEmpty())
        return false;
    if (engine == Engine::PostgreSQL) {
        // SQLSTATE: integrity (23), data (22), aborted transaction (25P02),
        // serialization and deadlock (40), lock not available (55P03).
        return code.startsWith(QLatin1String("23")) || code.startsWith(QLatin1String("22"))
            || code == QLatin1String("25P02") || code.startsWith(QLatin1String("40"))
            || code == QLatin1String("55P03");
    }
    // SQLite result codes: busy (5), locked (6), constraint (19), with their extended codes.
    bool ok = false;
    const int primary = code.toInt(&ok) & 0xff;
    return ok && (primary == 5 || primary == 6 || primary == 19);
}

// A statement for one call: taken from the connection's cache (or prepared),
// and given back finished when the call is done with it.
class Lease {
public:
    Lease(const Db &db, const QString &sql, const Params &params) : m_sql(sql), m_engine(db.engine())
    {
        const QSqlDatabase h = db.handle();
        if (params.isEmpty()) {
            // Statements without values run as they are (PostgreSQL cannot prepare BEGIN and the like).
            m_q = std::make_unique<QSqlQuery>(h);
            m_q->setForwardOnly(true);
            if (!m_q->exec(sql))
                throw failed();
            return;
        }
        if (cacheable(sql, params)) {
            m_cache = cacheFor(db.connectionName(), h);
            if (m_cache)
                m_q = m_cache->take(sql);
        }
        if (m_q) {
            if (run(params))
                return;
            // A kept statement can go stale under a schema change (PostgreSQL:
            // "cached plan must not change result type"). A failed statement
            // changed nothing, so it is prepared afresh and run once more,
            // unless it failed on the data (it would fail again) or inside a
            // PostgreSQL transaction, which the failure has aborted anyway.
            if (stillUsable(m_q->lastError(), m_engine)
                || (m_engine == Engine::PostgreSQL && db.transactionDepth() > 0))
                throw failed();
            m_q.reset();
        }
        m_q = std::make_unique<QSqlQuery>(h);
        m_q->setForwardOnly(true);
        if (!m_q->prepare(sql))
            throw failed();
        if (!run(params))
            throw failed();
    }
    ~Lease()
    {
        if (!m_q)
            return;
        m_q->finish();
        if (m_cache)
            m_cache->put(m_sql, std::move(m_q));
    }
    Lease(const Lease &) = delete;
    Lease &operator=(const Lease &) = delete;
    QSqlQuery *operator->() { return m_q.get(); }

private:
    bool run(const Params &params)
    {
        for (int i = 0; i < params.size(); ++i)
            m_q->bindValue(i, params.at(i));
        return m_q->exec();
    }
    DbError failed()
    {
        const QSqlError err = m_q->lastError();
        if (!stillUsable(err, m_engine))
            m_cache.reset();
        DbError e = makeError(err, m_sql);
        if (m_cache) {
            m_q->finish();
            m_cache->put(m_sql, std::move(m_q));
        }
        m_q.reset();
        return e;
    }

    QString m_sql;
    Engine m_engine;
    std::shared_ptr<StatementCache> m_cache;
    std::unique_ptr<QSqlQuery> m_q;
};

} // namespace

Db::Db(const QString &connectionName, Engine engine) : m_name(connectionName), m_engine(engine) {}

QSqlDatabase Db::handle() const
{
    return QSqlDatabase::database(m_name, false);
}

int Db::exec(const QString &sql, const Params &params) const
{
    Lease q(*this, sql, params);
    return q->numRowsAffected();
}

Rows Db::query(const QString &sql, const Params &params) const
{
    Lease q(*this, sql, params);
    Rows rows;
    while (q->next())
        rows.append(Row(q->record()));
    return rows;
}

std::optional<Row> Db::queryOne(const QString &sql, const Params &params) const
{
    Lease q(*this, sql, params);
    if (!q->next())
        return std::nullopt;
    return Row(q->record());
}

QVariant Db::scalar(const QString &sql, const Params &params) const
{
    Lease q(*this, sql, params);
    if (!q->next())
        return QVariant();
    return q->value(0);
}

qint64 Db::insertId(const QString &insertSql, const Params &params, const QString &idColumn) const
{
    const QString sql = insertSql + QStringLiteral(" RETURNING ") + idColumn;
    Lease q(*this, sql, params);
    if (!q->next())
        throw DbError(DbError::Kind::Statement, QStringLiteral("no id returned"), sql);
    return q->value(0).toLongLong();
}

int Db::transactionDepth() const
{
    QMutexLocker lock(&depthMutex);
    return depths().value(m_name);
}

void Db::begin() const
{
    int depth;
    {
        QMutexLocker lock(&depthMutex);
        depth = depths().value(m_name);
    }
    if (depth == 0)
        exec(m_engine == Engine::SQLite ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"));
    else
        exec(QStringLiteral("SAVEPOINT sp%1").arg(depth));
    QMutexLocker lock(&depthMutex);
    depths()[m_name] = depth + 1;
}

void Db::commit() const
{
    int depth;
    {
        QMutexLocker lock(&depthMutex);
        depth = depths().value(m_name);
    }
    if (depth <= 0)
        return;
    if (depth == 1)
        exec(QStringLiteral("COMMIT"));
    else
        exec(QStringLiteral("RELEASE SAVEPOINT sp%1").arg(depth - 1));
    QMutexLocker lock(&depthMutex);
    depths()[m_name] = depth - 1;
}

void Db::rollback() const
{
    int depth;
    {
        QMutexLocker lock(&depthMutex);
        depth = depths().value(m_name);
        if (depth > 0)
            depths()[m_name] = depth - 1;
    }
    if (depth <= 0)
        return;
    QSqlQuery q(handle());
    if (depth == 1) {
        q.exec(QStringLiteral("ROLLBACK"));
    } else {
        q.exec(QStringLiteral("ROLLBACK TO SAVEPOINT sp%1").arg(depth - 1));
        q.exec(QStringLiteral("RELEASE SAVEPOINT sp%1").arg(depth - 1));
    }
}

bool Db::tableExists(const QString &table) const
{
    if (m_engine == Engine::SQLite) {
        // Looks in the main file and in every attached file.
        const Rows files = query(QStringLiteral("PRAGMA database_list"));
        for (const Row &f : files) {
            const QString schema = f.str(QStringLiteral("name"));
            const QString sql = QStringLiteral("SELECT 1 FROM \"%1\".sqlite_master WHERE type = 'table' AND lower(name) = lower(?)")
                                    .arg(schema);
            if (scalar(sql, {table}).isValid())
                return true;
        }
        return false;
    }
    return scalar(QStringLiteral("SELECT 1 FROM information_schema.tables WHERE table_schema = current_schema() "
                                 "AND table_name = lower(?)"),
                  {table})
        .isValid();
}

} // namespace fitrova
