#include "centregen.h"

#include "foundation/connections.h"
#include "foundation/inifile.h"
#include "foundation/installer.h"
#include "foundation/startup.h"
#include "data/db.h"
#include "data/schemamigrate.h"
#include "demo/lockergen.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTextStream>
#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <optional>
#include <random>
#include <stdexcept>
#include <vector>

namespace fitrova::bench {

namespace {

using namespace Qt::StringLiterals;

[[noreturn]] void fail(const QString &what) { throw std::runtime_error(what.toStdString()); }

// ---------------------------------------------------------------------------
// Cache
// ---------------------------------------------------------------------------
const char *const kMarkerFile = "centre.complete";

QString pgHost() { return qEnvironmentVariable("FITROVA_PG_HOST"); }
int pgPort() { return qEnvironmentVariableIntValue("FITROVA_PG_PORT"); }
QString pgUser() { return qEnvironmentVariable("FITROVA_PG_USER"); }

// Runs one statement on the server's maintenance database.
void adminExec(const QString &sql)
{
    const QString name = u"fitrova_bench_admin"_s;
    {
        QSqlDatabase db = QSqlDatabase::contains(name) ? QSqlDatabase::database(name, false)
                                                       : QSqlDatabase::addDatabase(u"QPSQL"_s, name);
        db.setHostName(pgHost());
        db.setPort(pgPort());
        db.setUserName(pgUser());
        db.setDatabaseName(u"postgres"_s);
        if (!db.isOpen() && !db.open())
            fail(u"cannot reach the PostgreSQL server: "_s + db.lastError().text());
        QSqlQuery q(db);
        if (!q.exec(sql))
            fail(sql + u": "_s + q.lastError().text());
    }
}

bool serverDatabaseExists(const QString &name)
{
    const QString conn = u"fitrova_bench_admin"_s;
    adminExec(u"SELECT 1"_s);
    QSqlQuery q(QSqlDatabase::database(conn, false));
    q.prepare(u"SELECT 1 FROM pg_database WHERE datname = ?"_s);
    q.addBindValue(name);
    return q.exec() && q.next();
}

// The completion mark of a server centre: a row in its own database, written
// after everything else was committed.
QSqlDatabase markerConnection(const QString &database)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(u"QPSQL"_s, u"fitrova_bench_marker"_s);
    db.setHostName(pgHost());
    db.setPort(pgPort());
    db.setUserName(pgUser());
    db.setDatabaseName(database);
    return db;
}

std::optional<QString> readServerMarker(const QString &database, const QString &key)
{
    std::optional<QString> out;
    {
        QSqlDatabase db = markerConnection(database);
        if (db.open()) {
            QSqlQuery q(db);
            q.prepare(u"SELECT v FROM bench_centre WHERE k = ?"_s);
            q.addBindValue(key);
            if (q.exec() && q.next())
                out = q.value(0).toString();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(u"fitrova_bench_marker"_s);
    return out;
}

void writeServerMarker(const QString &database, const QString &key, const QString &text)
{
    QString error;
    {
        QSqlDatabase db = markerConnection(database);
        if (!db.open()) {
            error = db.lastError().text();
        } else {
            QSqlQuery q(db);
            if (!q.exec(u"CREATE TABLE bench_centre (k TEXT PRIMARY KEY, v TEXT)"_s))
                error = q.lastError().text();
            q.prepare(u"INSERT INTO bench_centre (k, v) VALUES (?, ?)"_s);
            q.addBindValue(key);
            q.addBindValue(text);
            if (error.isEmpty() && !q.exec())
                error = q.lastError().text();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(u"fitrova_bench_marker"_s);
    if (!error.isEmpty())
        fail(u"cannot mark the centre complete: "_s + error);
}

void writeConfig(const QString &dir, Engine engine, const QString &pgDatabase)
{
    QDir().mkpath(dir);
    const IniFile ini(Paths::iniPathFor(dir));
    const QString S = u"DATABASE"_s;
    ini.setValue(S, u"Version"_s, u"1.0"_s);
    ini.setValue(S, u"NetWork"_s, u"NO"_s);
    ini.setValue(S, u"ServerPath"_s, dir);
    if (engine == Engine::PostgreSQL) {
        ini.setValue(S, u"Type"_s, u"SQL"_s);
        ini.setValue(S, u"Source"_s, pgHost() + u":"_s + QString::number(pgPort()));
        ini.setValue(S, u"Name"_s, pgDatabase);
        ini.setValue(S, u"User"_s, pgUser());
        ini.setValue(S, u"Password"_s, QString());
    } else {
        ini.setValue(S, u"Type"_s, u"ACCESS"_s);
    }
}

QString timesText(const QList<PhaseTime> &times)
{
    QString s;
    for (const PhaseTime &t : times)
        s += u"%1\t%2\n"_s.arg(t.phase).arg(t.seconds, 0, 'f', 2);
    return s;
}

QList<PhaseTime> parseTimes(const QString &text)
{
    QList<PhaseTime> out;
    for (const QString &line : text.split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList f = line.split(u'\t');
        if (f.size() == 2 && !f[0].startsWith(u"key"_s))
            out.append({f[0], f[1].toDouble()});
    }
    return out;
}

} // namespace

// ---------------------------------------------------------------------------

CentreShape CentreShape::fromEnvironment()
{
    CentreShape s;
    bool ok = false;
    const quint32 seed = qEnvironmentVariable("FITROVA_BENCH_SEED").toUInt(&ok);
    if (ok)
        s.seed = seed;
    const double scale = qEnvironmentVariable("FITROVA_BENCH_SCALE").toDouble(&ok);
    if (ok && scale > 0 && scale != 1.0)
        s = s.scaled(scale);
    return s;
}

CentreShape CentreShape::scaled(double f) const
{
    CentreShape s = *this;
    s.members = std::max(50, int(std::lround(members * f)));
    s.enrollments = std::max(100, int(std::lround(enrollments * f)));
    s.visits = std::max<qint64>(500, qint64(std::llround(double(visits) * f)));
    s.saleLines = saleLines > 0 ? std::max<qint64>(100, qint64(std::llround(double(saleLines) * f))) : 0;
    return s;
}

QString CentreShape::key() const
{
    // The schema version is not part of the key: a centre made under an older
    // schema is brought forward by the program's own upgrade steps on opening
    // (adding an index or a table must not cost a new generation).
    QString k = u"g%1-%2"_s.arg(kGeneratorVersion).arg(seed);
    const CentreShape full;
    if (members != full.members || enrollments != full.enrollments || visits != full.visits
        || saleLines != full.saleLines || years != full.years || today != full.today)
        k += u"-m%1e%2v%3s%4y%5d%6"_s.arg(members).arg(enrollments).arg(visits).arg(saleLines).arg(years)
                 .arg(today.toString(u"yyyyMMdd"_s));
    return k;
}

demo::CentreScale CentreShape::scale() const
{
    demo::CentreScale s;
    s.members = members;
    s.historyDays = s.visitDays = s.saleDays = int(today.addYears(-years).daysTo(today));
    s.visitsToday = false;
    s.lectures = enrollments;
    s.visits = visits;
    s.saleLines = saleLines;
    s.largeCatalogue = true;
    s.deskUsers = true;
    s.closedBeforeToday = true;
    s.bulk = true;
    s.lockers = false; // the benchmark's own 2,000 lockers follow (generateInto)
    s.at = QDateTime(today, QTime(10, 0));
    return s;
}

QList<PhaseTime> generateInto(AppContext &ctx, const CentreShape &shape, const Progress &progress)
{
    QList<PhaseTime> times;
    demo::generateCentre(ctx, shape.seed, shape.scale(), [&](const QString &phase, double seconds) {
        times.append({phase, seconds});
        if (progress)
            progress(u"%1: %2 s"_s.arg(phase).arg(seconds, 0, 'f', 1));
    });
    // The generator loaded the big tables over connections of its own.
    if (auto f = connectDatabases(ctx))
        fail(u"connect failed: "_s + f->text + u" "_s + f->detail);
    QElapsedTimer t;
    t.start();
    generateBenchLockers(ctx.main, shape.today, shape.members, shape.years, shape.seed);
    times.append({u"lockers"_s, double(t.nsecsElapsed()) / 1e9});
    if (progress)
        progress(u"lockers: %1 s"_s.arg(times.last().seconds, 0, 'f', 1));
    ctx.closeConnections();
    return times;
}

QList<Engine> BenchCentre::enginesFromEnvironment()
{
    QList<Engine> e{Engine::SQLite};
    if (!pgHost().isEmpty() && pgPort() > 0 && !pgUser().isEmpty())
        e << Engine::PostgreSQL;
    return e;
}

QString BenchCentre::cacheRoot()
{
    const QString env = qEnvironmentVariable("FITROVA_BENCH_CACHE");
    if (!env.isEmpty())
        return QDir::cleanPath(env);
    return QDir::homePath() + u"/.cache/fitrova-bench"_s;
}

BenchCentre BenchCentre::open(Engine engine, const CentreShape &shape, const Progress &progress)
{
    BenchCentre c;
    c.m_engine = engine;
    c.m_shape = shape;
    c.m_clock = std::make_shared<FixedClock>(QDateTime(shape.today, QTime(10, 0)));
    const QString root = cacheRoot();
    QDir().mkpath(root);
    const bool pg = engine == Engine::PostgreSQL;
    const QString key = shape.key();
    c.m_installDir = root + u"/"_s + key + (pg ? u"-pg"_s : QString());
    if (pg) {
        // PostgreSQL keeps 63 characters of a name: a longer key (a scaled
        // centre) keeps its head and a digest of the whole.
        c.m_pgDatabase = u"fitrova_bench_"_s + key.toLower().replace(u'-', u'_');
        if (c.m_pgDatabase.size() > 63)
            c.m_pgDatabase = c.m_pgDatabase.left(44) + u"_"_s
                             + QString::fromLatin1(QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1)
                                                       .toHex()
                                                       .left(16));
    }

    // One generation at a time per centre, also across processes.
    QLockFile lock(c.m_installDir + u".lock"_s);
    lock.setStaleLockTime(0);
    if (!lock.lock())
        fail(u"cannot lock "_s + lock.fileName());

    auto say = [&](const QString &s) {
        if (progress)
            progress(s);
    };
    const QString marker = c.m_installDir + u"/"_s + QString::fromLatin1(kMarkerFile);
    // The marker is written last, after the data is committed; without it the
    // folder (and the server database) is a half-made centre and is made anew.
    if (pg) {
        if (serverDatabaseExists(c.m_pgDatabase)) {
            if (const auto text = readServerMarker(c.m_pgDatabase, key)) {
                writeConfig(c.m_installDir, engine, c.m_pgDatabase);
                c.m_times = parseTimes(*text);
                c.upgradeSchema(say);
                return c;
            }
        }
    } else if (QFileInfo::exists(marker)) {
        QFile f(marker);
        if (f.open(QIODevice::ReadOnly))
            c.m_times = parseTimes(QString::fromUtf8(f.readAll()));
        c.upgradeSchema(say);
        return c;
    }

    say(u"generating the benchmark centre %1 (%2) into %3"_s.arg(key, pg ? u"PostgreSQL"_s : u"SQLite"_s,
                                                                  pg ? c.m_pgDatabase : c.m_installDir));
    QDir(c.m_installDir).removeRecursively();
    if (pg) {
        adminExec(u"DROP DATABASE IF EXISTS %1 WITH (FORCE)"_s.arg(c.m_pgDatabase));
        adminExec(u"CREATE DATABASE %1 ENCODING 'UTF8' TEMPLATE template0"_s.arg(c.m_pgDatabase));
        writeConfig(c.m_installDir, engine, c.m_pgDatabase);
    }
    QElapsedTimer total;
    total.start();
    InstallOptions opt;
    opt.installDir = c.m_installDir;
    opt.adminId = u"admin"_s;
    opt.adminPassword = u"admin1234"_s;
    opt.clock = c.m_clock;
    QElapsedTimer t;
    t.start();
    const InstallResult r = runInstall(opt);
    if (r.exitCode != 0)
        fail(u"install failed: "_s + r.message);
    c.m_times.append({u"install"_s, double(t.nsecsElapsed()) / 1e9});
    {
        AppContext ctx(c.m_installDir);
        ctx.setClock(c.m_clock);
        if (auto f = connectDatabases(ctx))
            fail(u"connect failed: "_s + f->text + u" "_s + f->detail);
        c.m_times += generateInto(ctx, shape, progress);
    }
    c.m_times.append({u"total"_s, double(total.nsecsElapsed()) / 1e9});
    if (pg) {
        writeServerMarker(c.m_pgDatabase, key, timesText(c.m_times));
    } else {
        QFile f(marker);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            fail(u"cannot write "_s + marker);
        f.write(QString(u"key\t"_s + key + u"\n"_s + timesText(c.m_times)).toUtf8());
        f.close();
    }
    c.m_generatedNow = true;
    say(u"benchmark centre ready in %1 s"_s.arg(c.m_times.last().seconds, 0, 'f', 1));
    return c;
}

void BenchCentre::upgradeSchema(const Progress &say) const
{
    AppContext ctx(m_installDir);
    ctx.setClock(m_clock);
    if (auto f = connectDatabases(ctx))
        fail(u"connect failed: "_s + f->text + u" "_s + f->detail);
    const int stored = storedSchemaVersion(ctx.main);
    if (stored >= schemaVersion())
        return;
    say(u"bringing the benchmark centre from schema %1 to %2"_s.arg(stored).arg(schemaVersion()));
    migrateSchema(ctx.main, stored);
}

std::unique_ptr<AppContext> BenchCentre::connect(QTime time) const
{
    m_clock->set(QDateTime(m_shape.today, time));
    auto ctx = std::make_unique<AppContext>(m_installDir);
    ctx->setClock(m_clock);
    if (auto f = connectDatabases(*ctx))
        fail(u"connect failed: "_s + f->text + u" "_s + f->detail);
    ctx->pcName = u"DESK1"_s;
    ctx->user = CurrentUser{u"desk1"_s, u"김안내"_s, u"0002"_s, u"1"_s};
    loadWorkstation(*ctx);
    loadBusinessInfo(*ctx);
    return ctx;
}

QString BenchCentre::describe() const
{
    QString s = u"%1 centre %2: %3 members, %4 enrollments, %5 visits, %6 sale lines, today %7"_s
                    .arg(m_engine == Engine::PostgreSQL ? u"PostgreSQL"_s : u"SQLite"_s, m_shape.key())
                    .arg(m_shape.members)
                    .arg(m_shape.enrollments)
                    .arg(m_shape.visits)
                    .arg(m_shape.saleLines)
                    .arg(m_shape.today.toString(Qt::ISODate));
    s += m_generatedNow ? u" (generated now)"_s : u" (from the cache)"_s;
    for (const PhaseTime &t : m_times)
        s += u"\n  generation %1: %2 s"_s.arg(t.phase).arg(t.seconds, 0, 'f', 1);
    return s;
}

QStringList admittedCards(const Db &db, const QDate &day, int count, quint32 seed)
{
    const QString d = day.toString(Qt::ISODate);
    static const char *const dayColumn[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    const QString col = QString::fromLatin1(dayColumn[day.dayOfWeek() - 1]);
    // Members whose newest valid enrollment is a period one held on that weekday
    // and not postponed over the day.
    const Rows rows = db.query(
        u"SELECT m.MbCard, l.Ltid, l.PgGubun, l.Delay, p."_s + col
            + u" AS onDay FROM Lecture l JOIN Member m ON m.MbCode = l.MbCode "
              "LEFT JOIN Program p ON p.Pgid = l.Pgid "
              "WHERE l.LtGubun < '3' AND l.Sdate1 <= ? AND l.Sdate2 >= ? AND l.Transfer = 0 AND l.Cancel = 0 "
              "ORDER BY l.MbCode, l.RqDate DESC, l.Ltid DESC"_s,
        {d, d});
    QStringList cards;
    QString last;
    QSet<QString> seen;
    for (const Row &r : rows) {
        const QString card = r.str(u"MbCard"_s);
        if (seen.contains(card))
            continue;
        seen.insert(card);
        if (r.str(u"PgGubun"_s) != u"1"_s || r.num(u"onDay"_s) != 1 || r.num(u"Delay"_s) != 0)
            continue;
        cards << card;
    }
    std::mt19937 gen(seed);
    for (qsizetype i = cards.size(); i > 1; --i)
        cards.swapItemsAt(i - 1, qsizetype(gen() % quint32(i)));
    if (count > 0 && cards.size() > count)
        cards.resize(count);
    return cards;
}

QPair<QDate, int> dayWithVisits(const Db &db, int visits, const QDate &before)
{
    const Rows rows = db.query(u"SELECT InDate, COUNT(*) AS n FROM entrance WHERE InDate < ? GROUP BY InDate"_s,
                               {before.toString(Qt::ISODate)});
    QPair<QDate, int> best{QDate(), -1};
    for (const Row &r : rows) {
        const int n = int(r.num(u"n"_s));
        if (best.second < 0 || std::abs(n - visits) < std::abs(best.second - visits))
            best = {QDate::fromString(r.str(u"InDate"_s), Qt::ISODate), n};
    }
    return best;
}

} // namespace fitrova::bench
