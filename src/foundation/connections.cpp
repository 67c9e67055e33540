#include "foundation/connections.h"
#include "foundation/startup.h"
#include "data/schemamigrate.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <sys/vfs.h>

namespace fitrova {

const char *const kConnectTitle = "연결오류";
const char *const kConnectMessage = "DataBase에 연결할수 없읍니다.관리자에게 문의 하여주십시요";

namespace {

Failure connectFailure(const QString &detail)
{
    return Failure{QString::fromUtf8(kConnectTitle), QString::fromUtf8(kConnectMessage), detail};
}

void splitHostPort(const QString &source, QString *host, int *port)
{
    *host = source.trimmed();
    *port = 5432;
    const int colon = host->lastIndexOf(QLatin1Char(':'));
    if (colon > 0) {
        bool ok = false;
        const int p = host->mid(colon + 1).toInt(&ok);
        if (ok) {
            *port = p;
            host->truncate(colon);
        }
    }
    if (host->isEmpty())
        *host = QStringLiteral("localhost");
}

} // namespace

std::optional<Engine> engineForType(const QString &type)
{
    if (type == QLatin1String("ACCESS") || type == QLatin1String("access"))
        return Engine::SQLite;
    if (type == QLatin1String("SQL") || type == QLatin1String("sql") || type == QLatin1String("MSDE")
        || type == QLatin1String("msde"))
        return Engine::PostgreSQL;
    return std::nullopt;
}

bool isNetworkFolder(const QString &path)
{
    struct statfs st {};
    QString p = path;
    while (!p.isEmpty() && !QFileInfo::exists(p))
        p = QFileInfo(p).absolutePath() == p ? QString() : QFileInfo(p).absolutePath();
    if (p.isEmpty() || statfs(QFile::encodeName(p).constData(), &st) != 0)
        return false;
    switch (static_cast<unsigned long>(st.f_type)) {
    case 0x6969UL:       // NFS
    case 0x517BUL:       // SMB
    case 0xFF534D42UL:   // CIFS
    case 0xFE534D42UL:   // SMB2
    case 0x65735546UL:   // FUSE
        return true;
    default:
        return false;
    }
}

std::optional<Failure> readConfiguration(AppContext &ctx)
{
    const IniFile ini(Paths::iniPathFor(ctx.paths.installDir));
    if (!ini.exists())
        return Failure{QString::fromUtf8(kConnectTitle),
                       QStringLiteral("설정파일이 없습니다. 설치 후 다시 실행하여 주십시요.\n%1").arg(ini.path()),
                       QStringLiteral("missing %1").arg(ini.path())};
    if (!QFileInfo(ini.path()).isReadable())
        return Failure{QString::fromUtf8(kConnectTitle),
                       QStringLiteral("설정파일을 읽을 수 없습니다.\n%1").arg(ini.path()),
                       QStringLiteral("unreadable %1").arg(ini.path())};
    const QString S = QStringLiteral("DATABASE");
    DbSettings &s = ctx.dbSettings;
    s.type = ini.value(S, QStringLiteral("Type"));
    s.dbClass = ini.value(S, QStringLiteral("Class"));
    s.version = ini.value(S, QStringLiteral("Version"));
    s.network = ini.value(S, QStringLiteral("NetWork"));
    if (s.network.isEmpty())
        ini.setValue(S, QStringLiteral("NetWork"), QStringLiteral("YES"));
    s.source = ini.value(S, QStringLiteral("Source"));
    s.name = ini.value(S, QStringLiteral("Name"));
    s.user = ini.value(S, QStringLiteral("User"));
    s.password = ini.value(S, QStringLiteral("Password"));
    s.serverPath = ini.value(S, QStringLiteral("ServerPath"));
    ctx.paths = Paths::derive(ctx.paths.installDir, s.serverPath);
    const auto engine = engineForType(s.type);
    if (!engine)
        return Failure{QString::fromUtf8(kConnectTitle),
                       QStringLiteral("데이터베이스 종류(Type=%1)가 올바르지 않습니다.\n"
                                      "설정파일의 [DATABASE] Type을 ACCESS 또는 SQL로 지정하여 주십시요.")
                           .arg(s.type),
                       QStringLiteral("unknown Type '%1'").arg(s.type)};
    ctx.engine = *engine;
    return std::nullopt;
}

QString buildConnectionString(const AppContext &ctx, const QString &path)
{
    if (ctx.engine == Engine::SQLite)
        return QStringLiteral("sqlite:%1").arg(path);
    QString host;
    int port;
    splitHostPort(ctx.dbSettings.source, &host, &port);
    return QStringLiteral("postgresql://%1@%2:%3/%4").arg(ctx.dbSettings.user, host, QString::number(port),
                                                          ctx.dbSettings.name);
}

std::optional<Failure> openConnection(AppContext &ctx, Db &target, const QString &role, const QString &path,
                                      const QList<QPair<QString, QString>> &attach)
{
    const QString name = ctx.connectionPrefix() + role;
    if (QSqlDatabase::contains(name))
        QSqlDatabase::removeDatabase(name);
    if (ctx.engine == Engine::SQLite) {
        for (const QString &f : QStringList{path} + [&] {
                 QStringList l;
                 for (const auto &a : attach)
                     l << a.second;
                 return l;
             }()) {
            if (!QFileInfo(f).isFile())
                return connectFailure(QStringLiteral("database file missing: %1").arg(f));
        }
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(path);
            db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=15000"));
            if (!db.open())
                return connectFailure(db.lastError().text());
        }
        target = Db(name, Engine::SQLite);
        const bool shared = isNetworkFolder(path);
        try {
            target.scalar(QStringLiteral("PRAGMA schema_version")); // fails on a file that is no database
            target.exec(QStringLiteral("PRAGMA foreign_keys = ON"));
            for (const auto &a : attach)
                target.exec(QStringLiteral("ATTACH DATABASE ? AS %1").arg(a.first), {a.second});
            QStringList schemas{QStringLiteral("main")};
            for (const auto &a : attach)
                schemas << a.first;
            for (const QString &sc : schemas) {
                // WAL is faster but needs shared memory, which a network folder cannot give.
                target.scalar(QStringLiteral("PRAGMA %1.journal_mode = %2")
                                  .arg(sc, shared ? QStringLiteral("DELETE") : QStringLiteral("WAL")));
                target.exec(QStringLiteral("PRAGMA %1.synchronous = %2")
                                .arg(sc, shared ? QStringLiteral("FULL") : QStringLiteral("NORMAL")));
            }
        } catch (const DbError &e) {
            target = Db();
            {
                QSqlDatabase::database(name, false).close();
            }
            QSqlDatabase::removeDatabase(name);
            return connectFailure(QStringLiteral("%1: %2").arg(path, e.message()));
        }
        return std::nullopt;
    }
    QString host;
    int port;
    splitHostPort(ctx.dbSettings.source, &host, &port);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(host);
        db.setPort(port);
        db.setDatabaseName(ctx.dbSettings.name);
        db.setUserName(ctx.dbSettings.user);
        db.setPassword(ctx.dbSettings.password);
        db.setConnectOptions(QStringLiteral("connect_timeout=5;application_name=fitrova"));
        if (!db.open())
            return connectFailure(db.lastError().text());
    }
    target = Db(name, Engine::PostgreSQL);
    try {
        target.exec(QStringLiteral("SET client_min_messages = warning"));
        // Random reads cost little more than sequential ones on the solid-state
        // disks of today's servers; with the default of 4 the planner scans
        // whole visit and item tables instead of using their indexes.
        target.exec(QStringLiteral("SET random_page_cost = 1.1"));
    } catch (const DbError &) {
    }
    return std::nullopt;
}

std::optional<Failure> connectDatabases(AppContext &ctx)
{
    ctx.closeConnections();
    if (auto f = readConfiguration(ctx))
        return f;
    const Paths &p = ctx.paths;
    if (ctx.engine == Engine::SQLite) {
        const QList<QPair<QString, QString>> attach{{QStringLiteral("ent"), p.entDb}, {QStringLiteral("pnt"), p.pointDb}};
        if (auto f = openConnection(ctx, ctx.main, QStringLiteral("main"), p.mainDb, attach))
            return f;
        if (auto f = openConnection(ctx, ctx.main2, QStringLiteral("main2"), p.mainDb, attach))
            return f;
        if (auto f = openConnection(ctx, ctx.post, QStringLiteral("post"), p.postDb))
            return f;
        ctx.ent = ctx.main;
        if (auto f = openConnection(ctx, ctx.print, QStringLiteral("print"), p.printDb))
            return f;
        ctx.point = ctx.main;
    } else {
        if (auto f = openConnection(ctx, ctx.main, QStringLiteral("main"), {}))
            return f;
        if (auto f = openConnection(ctx, ctx.main2, QStringLiteral("main2"), {}))
            return f;
        if (auto f = openConnection(ctx, ctx.post, QStringLiteral("post"), {}))
            return f;
        ctx.ent = ctx.main;
        if (auto f = openConnection(ctx, ctx.print, QStringLiteral("print"), {}))
            return f;
        ctx.point = ctx.main;
    }
    ctx.connected = true;
    try {
        if (auto f = checkSchemaVersion(ctx))
            return f;
        loadUserOptions(ctx);
    } catch (const DbError &e) {
        return connectFailure(e.message());
    }
    return std::nullopt;
}

} // namespace fitrova
