#include "data/db.h"
#include "data/rowstream.h"

#include <QHash>
#include <QMutex>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QAtomicInt>
#include <QDataStream>
#include <QIODevice>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QUuid>
#include <QThread>
#include <cmath>
#include <sqlite3.h>
#include <list>
#include <memory>

namespace fitrova {

DbError::DbError(Kind kind, QString message, QString sql, QString nativeCode)
    : std::runtime_error(QString(message + (sql.isEmpty() ? QString() : QString(QStringLiteral(" [") + sql + QStringLiteral("]"))))
                             .toStdString()),
      m_kind(kind), m_message(std::move(message)), m_sql(std::move(sql)), m_native(std::move(nativeCode))
{
}

RowColumns::RowColumns(const QSqlRecord &rec)
{
    m_names.reserve(rec.count());
    for (int i = 0; i < rec.count(); ++i) {
        const QString n = rec.fieldName(i);
        m_names << n;
        // The first column of a name (in any case) wins, as in QSqlRecord.
        const QString folded = n.toLower();
        if (!m_folded.contains(folded))
            m_folded.insert(folded, i);
        if (!m_exact.contains(n))
            m_exact.insert(n, m_folded.value(folded));
    }
}

int RowColumns::indexOf(const QString &column) const
{
    // The name as the statement wrote it (SQLite), else without case
    // (PostgreSQL gives the names in lower case).
    if (const auto it = m_exact.constFind(column); it != m_exact.cend())
        return *it;
    const auto f = m_folded.constFind(column.toLower());
    if (f != m_folded.cend())
        return *f;
    // "Table.Column" names the column.
    const qsizetype dot = column.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 ? indexOf(column.mid(dot + 1)) : -1;
}

Row::Row(const QSqlRecord &rec) : m_cols(std::make_shared<const RowColumns>(rec))
{
    m_values.reserve(rec.count());
    for (int i = 0; i < rec.count(); ++i)
        m_values << rec.value(i);
}

QSqlRecord Row::record() const
{
    QSqlRecord rec;
    for (int i = 0; i < columnCount(); ++i) {
        QSqlField f(m_cols->name(i), m_values.at(i).metaType());
        f.setValue(m_values.at(i));
        rec.append(f);
    }
    return rec;
}

QVariant Row::value(const QString &column) const
{
    return at(m_cols ? m_cols->indexOf(column) : -1);
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

// A dependent file's write inside an open transaction, kept for the commit log.
struct PendingWrite {
    QString part; // schema name of the attached file ("ent", "pnt")
    QString sql;
    Params params;
};

// What a connection's open transaction needs to know, by connection name.
struct ConnState {
    int depth = 0;
    // The commit log across attached files (see Db::enableCrossFileLog).
    bool crossFile = false;
    QHash<QString, QString> partOfTable; // lower-case table name → schema of its attached file
    QStringList parts;
    QList<PendingWrite> pending;
    QList<qsizetype> marks; // pending.size() as each savepoint began
    bool mainWritten = false;
    bool internal = false;  // the log's own statements are running
};

QMutex depthMutex;
QHash<QString, ConnState> &states()
{
    static QHash<QString, ConnState> d;
    return d;
}

QAtomicInt completedCount;

const QString kLogTable = QStringLiteral("DbCommitLog");
const QString kDoneTable = QStringLiteral("DbCommitDone");

// The table a statement writes to, "" for one that writes nothing; with the
// schema it names, if any. Kept by statement text: the same few statements
// run again and again.
struct Target {
    QString schema, table;
};
Target writtenTable(const QString &sql)
{
    const QStringView v = QStringView(sql).trimmed();
    if (v.isEmpty())
        return {};
    const QChar c = v.front().toUpper();
    if (c != u'I' && c != u'U' && c != u'D' && c != u'R' && c != u'W')
        return {};
    static QMutex mutex;
    static QHash<QString, Target> known;
    {
        QMutexLocker lock(&mutex);
        const auto it = known.constFind(sql);
        if (it != known.constEnd())
            return *it;
    }
    static const QRegularExpression re(
        QStringLiteral("^\\s*(?:WITH\\b.*?)?\\b(?:(?:INSERT|REPLACE)(?:\\s+OR\\s+\\w+)?\\s+INTO|UPDATE(?:\\s+OR\\s+\\w+)?|"
                       "DELETE\\s+FROM)\\s+(?:\"?([^\\s\".(]+)\"?\\.)?\"?([^\\s\".(]+)\"?"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption
            | QRegularExpression::UseUnicodePropertiesOption);
    const QRegularExpressionMatch m = re.match(sql);
    Target t;
    if (m.hasMatch())
        t = {m.captured(1), m.captured(2)};
    QMutexLocker lock(&mutex);
    if (known.size() > 4096)
        known.clear();
    known.insert(sql, t);
    return t;
}

// "INSERT INTO t (a, b) VALUES (?, ?)" with the id the row was given:
// "INSERT INTO t (id, a, b) VALUES (?, ?, ?)", so that writing it again gives
// the row the same id (rows written with it may refer to it).
bool withIdColumn(QString *sql, Params *params, const QString &idColumn, const QVariant &id)
{
    const qsizetype open = sql->indexOf(QLatin1Char('('));
    static const QRegularExpression values(QStringLiteral("\\)\\s*VALUES\\s*\\("),
                                           QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = values.match(*sql, open);
    if (open < 0 || !m.hasMatch())
        return false;
    sql->insert(m.capturedEnd(), QStringLiteral("?, "));
    sql->insert(open + 1, idColumn + QStringLiteral(", "));
    params->prepend(id);
    return true;
}

QByteArray packParams(const Params &params)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << params;
    return bytes;
}

Params unpackParams(const QByteArray &bytes)
{
    Params params;
    QDataStream in(bytes);
    in.setVersion(QDataStream::Qt_6_0);
    in >> params;
    return params;
}

// The kind of a failure from the driver's code: a SQLSTATE on PostgreSQL, an
// (extended) result code on SQLite.
DbError::Kind kindOf(const QSqlError &err, const QString &native)
{
    using K = DbError::Kind;
    if (native == QLatin1String("23505") || native == QLatin1String("2067") || native == QLatin1String("1555")
        || (native == QLatin1String("19") && err.text().contains(QLatin1String("UNIQUE"), Qt::CaseInsensitive)))
        return K::UniqueViolation;
    bool numeric = false;
    const int code = native.toInt(&numeric);
    if (numeric && native.size() < 5) {
        // SQLite: busy (5), locked (6), read-only (8), full (13), by their primary code.
        switch (code & 0xff) {
        case 5:
        case 6:
            return K::Conflict;
        case 8:
            return K::ReadOnly;
        case 13:
            return K::DiskFull;
        default:
            break;
        }
    } else if (native.size() == 5) {
        // SQLSTATE: deadlock, serialization failure, lock not available; disk
        // full; read-only transaction (a standby server).
        if (native == QLatin1String("40P01") || native == QLatin1String("40001") || native == QLatin1String("55P03"))
            return K::Conflict;
        if (native == QLatin1String("53100"))
            return K::DiskFull;
        if (native == QLatin1String("25006"))
            return K::ReadOnly;
    }
    return err.type() == QSqlError::ConnectionError ? K::Connection : K::Statement;
}

DbError makeError(const QSqlError &err, const QString &sql)
{
    const QString native = err.nativeErrorCode();
    return DbError(kindOf(err, native), err.text(), sql, native);
}

bool isControl(char16_t c)
{
    return c < 0x20 ? (c != u'\t' && c != u'\n' && c != u'\r') : c == 0x7f;
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
        for (int i = 0; i < params.size(); ++i) {
            const QVariant &v = params.at(i);
            if (v.typeId() == QMetaType::QString)
                m_q->bindValue(i, withoutControlCharacters(v.toString()));
            else
                m_q->bindValue(i, v);
        }
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

QString withoutControlCharacters(const QString &text)
{
    const char16_t *p = reinterpret_cast<const char16_t *>(text.constData());
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && !isControl(p[i]))
        ++i;
    if (i == n)
        return text; // the usual case: nothing to drop, no copy
    QString out;
    out.reserve(n - 1);
    out.append(text.constData(), i);
    for (; i < n; ++i)
        if (!isControl(p[i]))
            out.append(QChar(p[i]));
    return out;
}

Db::Db(const QString &connectionName, Engine engine) : m_name(connectionName), m_engine(engine) {}

bool Db::retriesConflict(const DbError &e) const
{
    // SQLite waits for its lock itself (the busy timeout) and never deadlocks
    // under BEGIN IMMEDIATE; a busy error there means a desk held the files
    // for too long, which another try would only prolong.
    if (!isPostgres() || !e.isConflict() || e.nativeCode() == QLatin1String("55P03"))
        return false;
    // The desks that met stop together; a little random wait lets one go first.
    QThread::msleep(5 + QRandomGenerator::global()->bounded(40));
    return true;
}

QSqlDatabase Db::handle() const
{
    return QSqlDatabase::database(m_name, false);
}

int Db::exec(const QString &sql, const Params &params) const
{
    Lease q(*this, sql, params);
    const int changed = q->numRowsAffected();
    noteWrite(sql, params);
    return changed;
}

QVariant StreamRow::value(int column) const
{
    if (m_query)
        return m_query->value(column);
    // The values the SQLite driver gives for each kind of column.
    switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_INTEGER:
        return QVariant(qint64(sqlite3_column_int64(m_stmt, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_stmt, column));
    case SQLITE_NULL:
        return QVariant(QMetaType::fromType<QString>());
    case SQLITE_BLOB:
        return QByteArray(static_cast<const char *>(sqlite3_column_blob(m_stmt, column)),
                          sqlite3_column_bytes(m_stmt, column));
    default:
        return text(column);
    }
}

bool StreamRow::isNull(int column) const
{
    return m_query ? m_query->isNull(column) : sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

QString StreamRow::text(int column) const
{
    if (m_query || sqlite3_column_type(m_stmt, column) != SQLITE_TEXT)
        return textOf(value(column));
    const int bytes = sqlite3_column_bytes(m_stmt, column);
    if (bytes == 0)
        return QStringLiteral(""); // empty, not null
    return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column)), bytes);
}

void StreamRow::appendText(int column, QString &out) const
{
    if (m_query || sqlite3_column_type(m_stmt, column) != SQLITE_TEXT) {
        out += text(column);
        return;
    }
    const auto *bytes = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
    const int n = sqlite3_column_bytes(m_stmt, column);
    // UTF-8 never takes fewer bytes than UTF-16 takes code units.
    thread_local QStringDecoder utf8(QStringDecoder::Utf8,
                                     QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    const qsizetype at = out.size();
    out.resize(at + n);
    const QChar *end = utf8.appendToBuffer(out.data() + at, QByteArrayView(bytes, n));
    out.truncate(end - out.constData());
}

qint64 StreamRow::num(int column) const
{
    if (!m_query) {
        switch (sqlite3_column_type(m_stmt, column)) {
        case SQLITE_INTEGER:
            return sqlite3_column_int64(m_stmt, column);
        case SQLITE_NULL:
            return 0;
        default:
            break;
        }
    }
    return numOf(value(column));
}

namespace {

// A statement read straight from SQLite, finalized however the read ends.
class SqliteRead {
public:
    SqliteRead(sqlite3 *db, const QString &sql, const Params &params) : m_db(db), m_sql(sql)
    {
        int rc = sqlite3_prepare16_v2(db, sql.utf16(), int(sql.size() * sizeof(QChar)), &m_stmt, nullptr);
        if (rc != SQLITE_OK)
            throw failed("Unable to execute statement", rc);
        // The texts bound stay here until the statement is done with them.
        m_texts.reserve(params.size());
        for (int i = 0; i < params.size() && rc == SQLITE_OK; ++i)
            rc = bind(i + 1, params.at(i));
        if (rc != SQLITE_OK)
            throw failed("Unable to bind parameters", rc);
    }
    ~SqliteRead() { sqlite3_finalize(m_stmt); }
    SqliteRead(const SqliteRead &) = delete;
    SqliteRead &operator=(const SqliteRead &) = delete;

    // Steps to the next row: false at the end, a DbError on failure.
    bool next()
    {
        const int rc = sqlite3_step(m_stmt);
        if (rc == SQLITE_ROW)
            return true;
        if (rc == SQLITE_DONE)
            return false;
        throw failed("Unable to fetch row", rc);
    }
    sqlite3_stmt *statement() const { return m_stmt; }

private:
    // Values bind as the SQLite driver binds them (and as Lease does: texts
    // without control characters).
    int bind(int at, const QVariant &v)
    {
        const int type = v.typeId();
        if (v.isNull() || (type == QMetaType::QString && v.toString().isNull())
            || (type == QMetaType::QByteArray && v.toByteArray().isNull()))
            return sqlite3_bind_null(m_stmt, at);
        switch (type) {
        case QMetaType::QByteArray: {
            m_blobs.append(v.toByteArray());
            const QByteArray &b = m_blobs.last();
            return sqlite3_bind_blob(m_stmt, at, b.constData(), int(b.size()), SQLITE_STATIC);
        }
        case QMetaType::Int:
        case QMetaType::Bool:
            return sqlite3_bind_int(m_stmt, at, v.toInt());
        case QMetaType::Double:
            return sqlite3_bind_double(m_stmt, at, v.toDouble());
        case QMetaType::UInt:
        case QMetaType::LongLong:
            return sqlite3_bind_int64(m_stmt, at, v.toLongLong());
        default: {
            m_texts.append(type == QMetaType::QString ? withoutControlCharacters(v.toString()) : v.toString());
            const QString &t = m_texts.last();
            return sqlite3_bind_text16(m_stmt, at, t.utf16(), int(t.size() * sizeof(QChar)), SQLITE_STATIC);
        }
        }
    }
    DbError failed(const char *what, int rc) const
    {
        return makeError(QSqlError(QString::fromLatin1(what),
                                   QString::fromUtf16(static_cast<const char16_t *>(sqlite3_errmsg16(m_db))),
                                   QSqlError::StatementError, QString::number(rc)),
                         m_sql);
    }

    sqlite3 *m_db;
    QString m_sql;
    sqlite3_stmt *m_stmt = nullptr;
    QList<QString> m_texts;
    QList<QByteArray> m_blobs;
};

} // namespace

void forEachRow(const Db &db, const QString &sql, const Params &params,
                const std::function<void(const StreamRow &row)> &fn)
{
    if (db.engine() == Engine::SQLite) {
        const QSqlDatabase h = db.handle();
        if (QSqlDriver *driver = h.driver(); driver && driver->isOpen()) {
            if (auto *native = static_cast<sqlite3 *>(const_cast<void *>(nativeHandle(driver)))) {
                SqliteRead read(native, sql, params);
                const StreamRow row(read.statement());
                while (read.next())
                    fn(row);
                return;
            }
        }
    }
    Lease q(db, sql, params);
    const StreamRow row(*q.operator->());
    while (q->next())
        fn(row);
}

Rows Db::query(const QString &sql, const Params &params) const
{
    Lease q(*this, sql, params);
    Rows rows;
    std::shared_ptr<const RowColumns> columns;
    while (q->next()) {
        // Names once per statement; each row keeps only its values.
        if (!columns)
            columns = std::make_shared<const RowColumns>(q->record());
        QVariantList values;
        values.reserve(columns->count());
        for (int i = 0; i < columns->count(); ++i)
            values << q->value(i);
        rows.append(Row(columns, std::move(values)));
    }
    noteWrite(sql, params);
    return rows;
}

std::optional<Row> Db::queryOne(const QString &sql, const Params &params) const
{
    Lease q(*this, sql, params);
    std::optional<Row> row;
    if (q->next())
        row = Row(q->record());
    noteWrite(sql, params);
    return row;
}

QVariant Db::scalar(const QString &sql, const Params &params) const
{
    Lease q(*this, sql, params);
    QVariant v;
    if (q->next())
        v = q->value(0);
    noteWrite(sql, params);
    return v;
}

qint64 Db::insertId(const QString &insertSql, const Params &params, const QString &idColumn) const
{
    const QString sql = insertSql + QStringLiteral(" RETURNING ") + idColumn;
    Lease q(*this, sql, params);
    if (!q->next())
        throw DbError(DbError::Kind::Statement, QStringLiteral("no id returned"), sql);
    const qint64 id = q->value(0).toLongLong();
    noteWrite(insertSql, params, idColumn, id);
    return id;
}

int Db::transactionDepth() const
{
    QMutexLocker lock(&depthMutex);
    return states().value(m_name).depth;
}

void Db::begin() const
{
    int depth;
    bool crossFile;
    {
        QMutexLocker lock(&depthMutex);
        ConnState &st = states()[m_name];
        depth = st.depth;
        crossFile = st.crossFile;
    }
    if (depth == 0) {
        exec(m_engine == Engine::SQLite ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"));
        {
            QMutexLocker lock(&depthMutex);
            ConnState &st = states()[m_name];
            st.depth = 1;
            st.pending.clear();
            st.marks.clear();
            st.mainWritten = false;
        }
        if (crossFile) {
            try {
                settleCrossFileLog();
            } catch (...) {
                rollback();
                throw;
            }
        }
        return;
    }
    exec(QStringLiteral("SAVEPOINT sp%1").arg(depth));
    QMutexLocker lock(&depthMutex);
    ConnState &st = states()[m_name];
    st.depth = depth + 1;
    st.marks.append(st.pending.size());
}

void Db::commit() const
{
    int depth;
    bool logIt = false;
    {
        QMutexLocker lock(&depthMutex);
        ConnState &st = states()[m_name];
        depth = st.depth;
        logIt = depth == 1 && st.crossFile && st.mainWritten && !st.pending.isEmpty();
    }
    if (depth <= 0)
        return;
    if (depth == 1) {
        if (logIt)
            writeCrossFileLog();
        exec(QStringLiteral("COMMIT"));
    } else {
        exec(QStringLiteral("RELEASE SAVEPOINT sp%1").arg(depth - 1));
    }
    QMutexLocker lock(&depthMutex);
    ConnState &st = states()[m_name];
    st.depth = depth - 1;
    if (depth == 1) {
        st.pending.clear();
        st.marks.clear();
        st.mainWritten = false;
    } else if (!st.marks.isEmpty()) {
        st.marks.removeLast();
    }
}

void Db::rollback() const
{
    int depth;
    {
        QMutexLocker lock(&depthMutex);
        ConnState &st = states()[m_name];
        depth = st.depth;
        if (depth > 0)
            st.depth = depth - 1;
        if (depth == 1) {
            st.pending.clear();
            st.marks.clear();
            st.mainWritten = false;
        } else if (depth > 1 && !st.marks.isEmpty()) {
            // The savepoint's writes are gone: so are their log entries.
            st.pending.resize(std::min(st.pending.size(), st.marks.takeLast()));
        }
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

// ---------------------------------------------------------------------------
// The commit log across attached files.
//
// In WAL mode SQLite commits each attached file on its own, the main file
// first: a process that dies in between leaves the main file's part of the
// transaction without the other files' part. So a transaction that wrote the
// main file and an attached one writes, before it commits, the attached
// files' statements (with their values) into the main file's DbCommitLog,
// and into each attached file a row of DbCommitDone naming the transaction.
// Each file's part is then all or nothing with its own row of the log:
//
//   - the main file committed and an attached file did not: the log is there
//     and the file has no DbCommitDone row; the next transaction on any
//     connection (every one begins by looking) writes the statements again,
//     with the row, before doing its own work;
//   - the main file did not commit: neither did the others (they come after).
//
// A transaction finding every file done deletes the log and the rows. The
// main file is synchronous=FULL (the connection sets it): its part is on the
// disk before the attached files are written, so a power cut cannot keep an
// attached file's part and lose the main file's.
// ---------------------------------------------------------------------------

// The log's own statements: run as they are, never logged themselves.
class InternalStatements {
public:
    explicit InternalStatements(const QString &name) : m_name(name)
    {
        QMutexLocker lock(&depthMutex);
        states()[m_name].internal = true;
    }
    ~InternalStatements()
    {
        QMutexLocker lock(&depthMutex);
        states()[m_name].internal = false;
    }
    InternalStatements(const InternalStatements &) = delete;
    InternalStatements &operator=(const InternalStatements &) = delete;

private:
    QString m_name;
};

void Db::enableCrossFileLog(const QList<QPair<DbFile, QString>> &attached) const
{
    if (m_engine != Engine::SQLite || attached.isEmpty())
        return;
    QHash<QString, QString> partOfTable;
    QStringList parts;
    for (const auto &[file, schema] : attached) {
        parts << schema;
        for (const Table &t : allTables())
            if (t.file == file)
                partOfTable.insert(t.name.toLower(), schema);
    }
    {
        InternalStatements internal(m_name);
        exec(QStringLiteral("CREATE TABLE IF NOT EXISTS main.%1 (Tx TEXT NOT NULL, Seq INTEGER NOT NULL, "
                            "Part TEXT NOT NULL, Stmt TEXT NOT NULL, Params BLOB, PRIMARY KEY (Tx, Seq))")
                 .arg(kLogTable));
        for (const QString &part : parts)
            exec(QStringLiteral("CREATE TABLE IF NOT EXISTS %1.%2 (Tx TEXT PRIMARY KEY)").arg(part, kDoneTable));
    }
    {
        QMutexLocker lock(&depthMutex);
        ConnState &st = states()[m_name];
        st.crossFile = true;
        st.partOfTable = partOfTable;
        st.parts = parts;
    }
    // Settles what a process that died left, and clears rows of transactions
    // whose log is gone.
    transaction([&] {
        InternalStatements internal(m_name);
        for (const QString &part : parts)
            exec(QStringLiteral("DELETE FROM %1.%2 WHERE Tx NOT IN (SELECT Tx FROM main.%3)")
                     .arg(part, kDoneTable, kLogTable));
    });
}

int Db::completedCrossFileTransactions() { return completedCount.loadRelaxed(); }

void Db::resetConnectionState(const QString &connectionName)
{
    QMutexLocker lock(&depthMutex);
    states().remove(connectionName);
}

void Db::noteWrite(const QString &sql, const Params &params, const QString &idColumn, qint64 id) const
{
    if (m_engine != Engine::SQLite)
        return;
    QMutexLocker lock(&depthMutex);
    const auto it = states().find(m_name);
    if (it == states().end() || !it->crossFile || it->depth == 0 || it->internal)
        return;
    const Target t = writtenTable(sql);
    if (t.table.isEmpty())
        return;
    QString part = it->partOfTable.value(t.table.toLower());
    if (!t.schema.isEmpty())
        part = it->parts.contains(t.schema, Qt::CaseInsensitive) ? t.schema.toLower() : QString();
    if (part.isEmpty()) {
        it->mainWritten = true;
        return;
    }
    PendingWrite w{part, sql, params};
    if (!idColumn.isEmpty())
        withIdColumn(&w.sql, &w.params, idColumn, id);
    it->pending.append(std::move(w));
}

void Db::writeCrossFileLog() const
{
    QList<PendingWrite> pending;
    {
        QMutexLocker lock(&depthMutex);
        pending = states()[m_name].pending;
    }
    InternalStatements internal(m_name);
    const QString tx = QUuid::createUuid().toString(QUuid::WithoutBraces);
    QStringList parts;
    for (qsizetype i = 0; i < pending.size(); ++i) {
        const PendingWrite &w = pending.at(i);
        exec(QStringLiteral("INSERT INTO main.%1 (Tx, Seq, Part, Stmt, Params) VALUES (?, ?, ?, ?, ?)").arg(kLogTable),
             {tx, qint64(i), w.part, w.sql, packParams(w.params)});
        if (!parts.contains(w.part))
            parts << w.part;
    }
    for (const QString &part : parts)
        exec(QStringLiteral("INSERT INTO %1.%2 (Tx) VALUES (?)").arg(part, kDoneTable), {tx});
}

void Db::settleCrossFileLog() const
{
    InternalStatements internal(m_name);
    const Rows log = query(QStringLiteral("SELECT Tx, Seq, Part, Stmt, Params FROM main.%1 ORDER BY Tx, Seq")
                               .arg(kLogTable),
                           {});
    if (log.isEmpty())
        return;
    QString tx;
    QList<Row> rows;
    auto settle = [&] {
        QStringList parts;
        for (const Row &r : rows)
            if (!parts.contains(r.str(QStringLiteral("Part"))))
                parts << r.str(QStringLiteral("Part"));
        bool complete = true;
        for (const QString &part : parts) {
            if (scalar(QStringLiteral("SELECT 1 FROM %1.%2 WHERE Tx = ?").arg(part, kDoneTable), {tx}).isValid())
                continue;
            complete = false;
            // This file's part never committed: written again now, with its
            // row, as one piece. A statement that cannot be written again is
            // left in the log (and tried again later) rather than stopping
            // every desk.
            exec(QStringLiteral("SAVEPOINT commitlog"));
            try {
                for (const Row &r : rows)
                    if (r.str(QStringLiteral("Part")) == part)
                        exec(r.str(QStringLiteral("Stmt")),
                             unpackParams(r.value(QStringLiteral("Params")).toByteArray()));
                exec(QStringLiteral("INSERT INTO %1.%2 (Tx) VALUES (?)").arg(part, kDoneTable), {tx});
                exec(QStringLiteral("RELEASE SAVEPOINT commitlog"));
                completedCount.fetchAndAddRelaxed(1);
            } catch (const DbError &e) {
                QSqlQuery q(handle());
                q.exec(QStringLiteral("ROLLBACK TO SAVEPOINT commitlog"));
                q.exec(QStringLiteral("RELEASE SAVEPOINT commitlog"));
                qWarning("fitrova: a logged write of transaction %s could not be written again: %s", qPrintable(tx),
                         e.what());
            }
        }
        // Done in every file before this transaction began: the log goes.
        if (complete) {
            exec(QStringLiteral("DELETE FROM main.%1 WHERE Tx = ?").arg(kLogTable), {tx});
            for (const QString &part : parts)
                exec(QStringLiteral("DELETE FROM %1.%2 WHERE Tx = ?").arg(part, kDoneTable), {tx});
        }
    };
    for (const Row &r : log) {
        if (r.str(QStringLiteral("Tx")) != tx) {
            if (!rows.isEmpty())
                settle();
            tx = r.str(QStringLiteral("Tx"));
            rows.clear();
        }
        rows.append(r);
    }
    settle();
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
