#include "data/db.h"

#include <QHash>
#include <QMutex>
#include <QSqlError>
#include <QSqlQuery>
#include <cmath>

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

} // namespace

Db::Db(const QString &connectionName, Engine engine) : m_name(connectionName), m_engine(engine) {}

QSqlDatabase Db::handle() const
{
    return QSqlDatabase::database(m_name, false);
}

QSqlQuery Db::prepare(const QString &sql, const Params &params) const
{
    QSqlQuery q(handle());
    q.setForwardOnly(true);
    if (params.isEmpty()) {
        // Statements without values run as they are (PostgreSQL cannot prepare BEGIN and the like).
        if (!q.exec(sql))
            throw makeError(q.lastError(), sql);
        return q;
    }
    if (!q.prepare(sql))
        throw makeError(q.lastError(), sql);
    for (int i = 0; i < params.size(); ++i)
        q.bindValue(i, params.at(i));
    if (!q.exec())
        throw makeError(q.lastError(), sql);
    return q;
}

int Db::exec(const QString &sql, const Params &params) const
{
    QSqlQuery q = prepare(sql, params);
    return q.numRowsAffected();
}

Rows Db::query(const QString &sql, const Params &params) const
{
    QSqlQuery q = prepare(sql, params);
    Rows rows;
    while (q.next())
        rows.append(Row(q.record()));
    return rows;
}

std::optional<Row> Db::queryOne(const QString &sql, const Params &params) const
{
    QSqlQuery q = prepare(sql, params);
    if (!q.next())
        return std::nullopt;
    return Row(q.record());
}

QVariant Db::scalar(const QString &sql, const Params &params) const
{
    QSqlQuery q = prepare(sql, params);
    if (!q.next())
        return QVariant();
    return q.value(0);
}

qint64 Db::insertId(const QString &insertSql, const Params &params, const QString &idColumn) const
{
    const QString sql = insertSql + QStringLiteral(" RETURNING ") + idColumn;
    QSqlQuery q = prepare(sql, params);
    if (!q.next())
        throw DbError(DbError::Kind::Statement, QStringLiteral("no id returned"), sql);
    return q.value(0).toLongLong();
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
