#include "demo/centresink.h"

#include "data/schema.h"

#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <set>

namespace fitrova::demo {

namespace {

using namespace Qt::StringLiterals;

QString columnsOf(const Fields &fields)
{
    QString cols;
    for (const Field &f : fields) {
        if (!cols.isEmpty())
            cols += u", "_s;
        cols += f.column;
    }
    return cols;
}

QString marks(qsizetype n)
{
    QString m = u"("_s;
    for (qsizetype i = 0; i < n; ++i)
        m += i ? u", ?"_s : u"?"_s;
    return m + u")"_s;
}

[[noreturn]] void fail(const QSqlQuery &q, const QString &sql)
{
    throw DbError(DbError::Kind::Statement, q.lastError().text(), sql, q.lastError().nativeErrorCode());
}

void run(const QSqlDatabase &db, const QString &sql)
{
    QSqlQuery q(db);
    if (!q.exec(sql))
        fail(q, sql);
}

// ---------------------------------------------------------------------------
// Row by row: each statement prepared once and reused for every row.
// ---------------------------------------------------------------------------
class RowSink final : public CentreSink {
public:
    explicit RowSink(const AppContext &ctx) : m_db(ctx.main) {}

    void add(const QString &table, const Fields &fields) override
    {
        QSqlQuery &q = prepared(insertSql(table, fields, nullptr), fields);
        q.finish();
        m_tables.insert(table);
    }
    qint64 addReturningId(const QString &table, const Fields &fields, const char *idColumn) override
    {
        const QString sql = insertSql(table, fields, idColumn);
        QSqlQuery &q = prepared(sql, fields);
        if (!q.next())
            throw DbError(DbError::Kind::Statement, u"no id returned"_s, sql);
        const qint64 id = q.value(0).toLongLong();
        q.finish();
        return id;
    }
    void exec(const QString &sql, const QVariantList &params) override
    {
        QSqlQuery &q = run(sql, params);
        q.finish();
    }
    void finish() override { continueIdentities(m_db, {m_tables.begin(), m_tables.end()}); }

private:
    static QString insertSql(const QString &table, const Fields &fields, const char *idColumn)
    {
        QString sql = u"INSERT INTO "_s + table + u" ("_s + columnsOf(fields) + u") VALUES "_s + marks(qsizetype(fields.size()));
        if (idColumn)
            sql += u" RETURNING "_s + QString::fromUtf8(idColumn);
        return sql;
    }
    QSqlQuery &prepared(const QString &sql, const Fields &fields)
    {
        QVariantList values;
        values.reserve(qsizetype(fields.size()));
        for (const Field &f : fields)
            values << f.value;
        return run(sql, values);
    }
    QSqlQuery &run(const QString &sql, const QVariantList &params)
    {
        auto it = m_prepared.find(sql);
        if (it == m_prepared.end()) {
            auto q = std::make_unique<QSqlQuery>(m_db.handle());
            q->setForwardOnly(true);
            if (!q->prepare(sql))
                fail(*q, sql);
            it = m_prepared.emplace(sql, std::move(q)).first;
        }
        QSqlQuery &q = *it->second;
        for (int i = 0; i < params.size(); ++i)
            q.bindValue(i, params.at(i));
        if (!q.exec())
            fail(q, sql);
        return q;
    }

    const Db &m_db;
    std::map<QString, std::unique_ptr<QSqlQuery>> m_prepared;
    std::set<QString> m_tables;
};

// ---------------------------------------------------------------------------
// In bulk: one prepared multi-row INSERT per table and column set, reused for
// every full batch.
// ---------------------------------------------------------------------------
class BulkInserter {
public:
    BulkInserter(const QSqlDatabase &db, QString table, const Fields &fields, int rowsPerStatement)
        : m_db(db), m_table(std::move(table)), m_columns(columnsOf(fields)), m_width(qsizetype(fields.size())),
          m_rows(rowsPerStatement)
    {
        for (const Field &f : fields)
            m_names << f.column;
        m_values.reserve(m_rows * m_width);
    }
    // True when the row has this inserter's columns.
    bool takes(const Fields &fields) const
    {
        if (qsizetype(fields.size()) != m_width)
            return false;
        for (qsizetype i = 0; i < m_width; ++i)
            if (fields[size_t(i)].column != m_names[i])
                return false;
        return true;
    }
    void add(const Fields &fields)
    {
        for (const Field &f : fields)
            m_values.append(f.value);
        if (m_values.size() == m_rows * m_width)
            flush();
    }
    void flush()
    {
        if (m_values.isEmpty())
            return;
        const qsizetype rows = m_values.size() / m_width;
        QSqlQuery once(m_db);
        QSqlQuery *q = &once;
        if (rows == m_rows) {
            if (!m_full) {
                m_full = std::make_unique<QSqlQuery>(m_db);
                prepare(*m_full, rows);
            }
            q = m_full.get();
        } else {
            prepare(once, rows);
        }
        for (qsizetype i = 0; i < m_values.size(); ++i)
            q->bindValue(int(i), m_values.at(i));
        if (!q->exec())
            fail(*q, m_table);
        q->finish();
        m_values.clear();
    }

private:
    void prepare(QSqlQuery &q, qsizetype rows) const
    {
        const QString one = marks(m_width);
        QStringList all;
        for (qsizetype r = 0; r < rows; ++r)
            all << one;
        const QString sql = u"INSERT INTO "_s + m_table + u" ("_s + m_columns + u") VALUES "_s + all.join(u", "_s);
        if (!q.prepare(sql))
            fail(q, sql);
    }

    QSqlDatabase m_db;
    QString m_table, m_columns;
    QStringList m_names;
    qsizetype m_width;
    qsizetype m_rows;
    QVariantList m_values;
    std::unique_ptr<QSqlQuery> m_full;
};

// The big tables, whose lookup indexes are built after loading.
const QStringList kIndexedLater{u"Member"_s, u"Lecture"_s, u"Sale"_s, u"entrance"_s, u"ItemTrs"_s, u"UserPoint"_s};

class BulkSink final : public CentreSink {
public:
    BulkSink(const AppContext &ctx, const PhaseReport &report) : m_ctx(ctx), m_report(report)
    {
        m_pg = ctx.engine == Engine::PostgreSQL;
        m_prefix = ctx.connectionPrefix() + u"bulk_"_s;
        m_main = open(u"main"_s, ctx.paths.mainDb);
        if (!m_pg) {
            m_files[int(DbFile::Entrance)] = open(u"ent"_s, ctx.paths.entDb);
            m_files[int(DbFile::Point)] = open(u"point"_s, ctx.paths.pointDb);
        }
        m_files[int(DbFile::Main)] = m_main;
        timed(u"drop indexes"_s, [&] {
            for (const QString &t : kIndexedLater)
                for (const QString &s : createTableStatements(*findTable(t), ctx.engine))
                    if (s.startsWith(u"CREATE INDEX"_s) || s.startsWith(u"CREATE UNIQUE INDEX"_s)) {
                        const QString name = s.section(u' ', s.startsWith(u"CREATE UNIQUE"_s) ? 3 : 2,
                                                       s.startsWith(u"CREATE UNIQUE"_s) ? 3 : 2);
                        run(connectionOf(t), u"DROP INDEX IF EXISTS "_s + name);
                        m_indexes.push_back({t, s});
                    }
        });
        for (const auto &[file, db] : m_files)
            if (file == int(DbFile::Main) || !m_pg)
                run(db, m_pg ? u"BEGIN"_s : u"BEGIN IMMEDIATE"_s);
    }
    ~BulkSink() override
    {
        m_inserters.clear();
        for (const QString &name : m_names) {
            if (!QSqlDatabase::contains(name))
                continue;
            {
                QSqlDatabase db = QSqlDatabase::database(name, false);
                if (!m_finished)
                    QSqlQuery(db).exec(u"ROLLBACK"_s);
                db.close();
            }
            QSqlDatabase::removeDatabase(name);
        }
    }

    void add(const QString &table, const Fields &fields) override
    {
        std::vector<std::unique_ptr<BulkInserter>> &mine = m_inserters[table];
        BulkInserter *ins = nullptr;
        for (const auto &i : mine)
            if (i->takes(fields))
                ins = i.get();
        if (!ins) {
            // Up to 2,200 values a statement on SQLite, 11,000 on PostgreSQL.
            const int batch = (m_pg ? 11000 : 2200) / int(fields.size());
            mine.push_back(std::make_unique<BulkInserter>(connectionOf(table), table, fields, std::max(1, batch)));
            ins = mine.back().get();
            m_order.push_back(ins);
        }
        QElapsedTimer t;
        t.start();
        ins->add(fields);
        if (m_loaded.insert(table).second)
            m_loadOrder.push_back(table);
        m_seconds[table] += double(t.nsecsElapsed()) / 1e9;
    }
    qint64 addReturningId(const QString &table, const Fields &fields, const char *idColumn) override
    {
        QVariantList values;
        for (const Field &f : fields)
            values << f.value;
        const QString sql = u"INSERT INTO "_s + table + u" ("_s + columnsOf(fields) + u") VALUES "_s +
                            marks(qsizetype(fields.size())) + u" RETURNING "_s + QString::fromUtf8(idColumn);
        QSqlQuery q(connectionOf(table));
        if (!q.prepare(sql))
            fail(q, sql);
        for (int i = 0; i < values.size(); ++i)
            q.bindValue(i, values.at(i));
        if (!q.exec() || !q.next())
            fail(q, sql);
        return q.value(0).toLongLong();
    }
    void exec(const QString &sql, const QVariantList &params) override
    {
        QSqlQuery q(m_main);
        if (!q.prepare(sql))
            fail(q, sql);
        for (int i = 0; i < params.size(); ++i)
            q.bindValue(i, params.at(i));
        if (!q.exec())
            fail(q, sql);
    }
    void finish() override
    {
        for (BulkInserter *i : m_order)
            i->flush();
        // The big tables one by one, the small ones together.
        double small = 0;
        for (const QString &t : m_loadOrder) {
            if (kIndexedLater.contains(t) && m_report)
                m_report(u"load "_s + t, m_seconds[t]);
            else
                small += m_seconds[t];
        }
        if (m_report)
            m_report(u"load the small tables"_s, small);
        timed(u"build indexes"_s, [&] {
            for (const auto &[table, create] : m_indexes)
                run(connectionOf(table), create);
        });
        timed(u"commit"_s, [&] {
            if (m_pg) {
                const Db db(m_prefix + u"main"_s, Engine::PostgreSQL);
                continueIdentities(db, m_loadOrder);
            }
            for (const auto &[file, db] : m_files)
                if (file == int(DbFile::Main) || !m_pg)
                    run(db, u"COMMIT"_s);
            m_finished = true;
            if (!m_pg)
                for (const auto &[file, db] : m_files)
                    run(db, u"PRAGMA journal_mode = WAL"_s);
        });
        if (m_pg)
            timed(u"analyze"_s, [&] { run(m_main, u"ANALYZE"_s); });
    }

private:
    QSqlDatabase open(const QString &role, const QString &file)
    {
        const QString name = m_prefix + role;
        m_names << name;
        QSqlDatabase db;
        if (!m_pg) {
            db = QSqlDatabase::addDatabase(u"QSQLITE"_s, name);
            db.setDatabaseName(file);
        } else {
            const QString source = m_ctx.dbSettings.source;
            db = QSqlDatabase::addDatabase(u"QPSQL"_s, name);
            db.setHostName(source.section(u':', 0, 0));
            db.setPort(source.contains(u':') ? source.section(u':', 1, 1).toInt() : 5432);
            db.setDatabaseName(m_ctx.dbSettings.name);
            db.setUserName(m_ctx.dbSettings.user);
            db.setPassword(m_ctx.dbSettings.password);
        }
        if (!db.open())
            throw DbError(DbError::Kind::Connection, db.lastError().text(), file);
        if (!m_pg) {
            // A half-made centre is never used, so the load need not survive a crash.
            run(db, u"PRAGMA journal_mode = OFF"_s);
            run(db, u"PRAGMA synchronous = OFF"_s);
            run(db, u"PRAGMA cache_size = -400000"_s);
            run(db, u"PRAGMA temp_store = MEMORY"_s);
        } else {
            run(db, u"SET synchronous_commit = off"_s);
            run(db, u"SET maintenance_work_mem = '512MB'"_s);
            run(db, u"SET client_min_messages = warning"_s);
        }
        return db;
    }
    QSqlDatabase &connectionOf(const QString &table)
    {
        const Table *t = findTable(table);
        if (m_pg || !t)
            return m_main;
        const auto it = m_files.find(int(t->file));
        return it == m_files.end() ? m_main : it->second;
    }
    template <typename Fn>
    void timed(const QString &phase, Fn &&fn)
    {
        QElapsedTimer t;
        t.start();
        fn();
        if (m_report)
            m_report(phase, double(t.nsecsElapsed()) / 1e9);
    }

    const AppContext &m_ctx;
    PhaseReport m_report;
    bool m_pg = false, m_finished = false;
    QString m_prefix;
    QStringList m_names;
    QSqlDatabase m_main;
    std::map<int, QSqlDatabase> m_files;
    std::map<QString, std::vector<std::unique_ptr<BulkInserter>>> m_inserters;
    std::vector<BulkInserter *> m_order;
    std::vector<std::pair<QString, QString>> m_indexes;
    std::set<QString> m_loaded;
    std::vector<QString> m_loadOrder;
    std::map<QString, double> m_seconds;
};

} // namespace

std::unique_ptr<CentreSink> rowSink(const AppContext &ctx) { return std::make_unique<RowSink>(ctx); }

std::unique_ptr<CentreSink> bulkSink(const AppContext &ctx, const PhaseReport &report)
{
    return std::make_unique<BulkSink>(ctx, report);
}

void continueIdentities(const Db &db, const std::vector<QString> &tables)
{
    if (!db.isPostgres())
        return;
    for (const QString &name : tables) {
        const Table *t = findTable(name);
        if (!t)
            continue;
        for (const Column &c : t->columns)
            if (c.type == ColType::Id)
                db.scalar(u"SELECT setval(pg_get_serial_sequence('%1', '%2'), "
                          "GREATEST(1, (SELECT COALESCE(MAX(%2), 0) FROM %1)))"_s
                              .arg(name.toLower(), c.name.toLower()));
    }
}

} // namespace fitrova::demo
