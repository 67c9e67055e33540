#include "foundation/connections.h"
#include "foundation/startup.h"
#include "data/schemamigrate.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStorageInfo>
#include <sys/vfs.h>
#include <unistd.h>

namespace fitrova {

const char *const kConnectTitle = "연결오류";
const char *const kConnectMessage = "DataBase에 연결할수 없읍니다.관리자에게 문의 하여주십시요";

namespace {

Failure connectFailure(const QString &detail)
{
    return Failure{QString::fromUtf8(kConnectTitle), QString::fromUtf8(kConnectMessage), detail};
}

// Less than this left on a disk, and a failing write is put down to it.
constexpr qint64 kNearlyFull = 4 * 1024 * 1024;

bool nearlyFull(const QString &folder)
{
    const QStorageInfo disk(folder);
    return disk.isValid() && disk.bytesAvailable() >= 0 && disk.bytesAvailable() < kNearlyFull;
}

QString folderOf(const QString &file) { return QFileInfo(file).absolutePath(); }

QString readOnlyText(const QString &where)
{
    return QStringLiteral("데이터 폴더에 쓸 수 없습니다(읽기 전용): %1\n"
                          "폴더와 데이터베이스 파일에 쓰기 권한이 있는지 확인하여 주십시요.")
        .arg(QDir::toNativeSeparators(where));
}

QString diskFullText(const QString &folder)
{
    return QStringLiteral("디스크 공간이 부족합니다: %1\n공간을 확보한 후 다시 실행하여 주십시요.")
        .arg(QDir::toNativeSeparators(folder));
}

// A file database that cannot be written: its folder (journal files are
// made beside it) or the file itself.
std::optional<QString> unwritable(const QString &file)
{
    const QString folder = folderOf(file);
    if (::access(QFile::encodeName(folder).constData(), W_OK) != 0)
        return folder;
    if (::access(QFile::encodeName(file).constData(), W_OK) != 0)
        return file;
    return std::nullopt;
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

QString databaseFailureText(const DbError &e, const QString &file)
{
    const QString folder = file.isEmpty() ? QString() : folderOf(file);
    if (e.kind() == DbError::Kind::DiskFull)
        return diskFullText(folder.isEmpty() ? QStringLiteral("데이터베이스 서버") : folder);
    if (!file.isEmpty()) {
        // SQLite: a failed write or open on a full disk often comes back as an
        // I/O error or as "cannot open" (the journal or WAL index could not be made).
        bool ok = false;
        const int primary = e.nativeCode().toInt(&ok) & 0xff;
        if (ok && (primary == 10 || primary == 14) && nearlyFull(folder))
            return diskFullText(folder);
        if (e.kind() == DbError::Kind::ReadOnly || (ok && primary == 14)) {
            if (const auto where = unwritable(file))
                return readOnlyText(*where);
        }
        if (e.kind() == DbError::Kind::ReadOnly)
            return readOnlyText(file);
        if (ok && (primary == 26 || primary == 11))
            return QStringLiteral("데이터베이스 파일이 손상되었거나 데이터베이스 파일이 아닙니다: %1")
                .arg(QDir::toNativeSeparators(file));
    } else if (e.kind() == DbError::Kind::ReadOnly) {
        return QStringLiteral("데이터베이스 서버가 읽기 전용입니다.");
    }
    return e.message();
}

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

SqliteJournal sqliteJournalFor(const QString &file, bool commitsFirst)
{
    // WAL needs shared memory, which a network folder cannot give: there the
    // rollback journal, whose super-journal makes a transaction over
    // attached files whole by itself.
    if (isNetworkFolder(file))
        return {QStringLiteral("DELETE"), QStringLiteral("FULL")};
    // WAL commits each file on its own, the main file first. The commit log
    // (Db::enableCrossFileLog) needs the main file's part on the disk before
    // the attached files are written: it is synchronised at every commit
    // that changes it; the others at checkpoints (the gate writes only the
    // entrance file).
    return {QStringLiteral("WAL"), commitsFirst ? QStringLiteral("FULL") : QStringLiteral("NORMAL")};
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
    s.groupAccess = ini.value(S, QStringLiteral("GroupAccess")).trimmed().toUpper() == QLatin1String("YES");
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
    Db::resetConnectionState(name);
    if (ctx.engine == Engine::SQLite) {
        QStringList files{path};
        for (const auto &a : attach)
            files << a.second;
        for (const QString &f : files) {
            if (!QFileInfo(f).isFile())
                return connectFailure(QStringLiteral("데이터베이스 파일이 없습니다: %1").arg(QDir::toNativeSeparators(f)));
            if (const auto where = unwritable(f))
                return connectFailure(readOnlyText(*where));
        }
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(path);
            db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=15000"));
            if (!db.open()) {
                const QSqlError err = db.lastError();
                return connectFailure(databaseFailureText(
                    DbError(DbError::Kind::Connection, err.text(), {}, err.nativeErrorCode()), path));
            }
        }
        target = Db(name, Engine::SQLite);
        QString failedFile = path;
        try {
            target.scalar(QStringLiteral("PRAGMA schema_version")); // fails on a file that is no database
            target.exec(QStringLiteral("PRAGMA foreign_keys = ON"));
            for (const auto &a : attach) {
                failedFile = a.second;
                target.exec(QStringLiteral("ATTACH DATABASE ? AS %1").arg(a.first), {a.second});
                target.scalar(QStringLiteral("PRAGMA %1.schema_version").arg(a.first));
            }
            QList<QPair<QString, QString>> schemas{{QStringLiteral("main"), path}};
            schemas += attach;
            bool wal = true;
            for (const auto &[schema, file] : schemas) {
                failedFile = file;
                const SqliteJournal j = sqliteJournalFor(file, schema == QLatin1String("main") && !attach.isEmpty());
                const QString mode =
                    target.scalar(QStringLiteral("PRAGMA %1.journal_mode = %2").arg(schema, j.mode)).toString();
                wal = wal && mode.compare(QLatin1String("wal"), Qt::CaseInsensitive) == 0;
                target.exec(QStringLiteral("PRAGMA %1.synchronous = %2").arg(schema, j.synchronous));
            }
            failedFile = path;
            if (wal && !attach.isEmpty()) {
                QList<QPair<DbFile, QString>> parts;
                for (const auto &a : attach)
                    parts.append({a.first == QLatin1String("pnt") ? DbFile::Point : DbFile::Entrance, a.first});
                target.enableCrossFileLog(parts);
            }
        } catch (const DbError &e) {
            target = Db();
            {
                QSqlDatabase::database(name, false).close();
            }
            QSqlDatabase::removeDatabase(name);
            return connectFailure(databaseFailureText(e, failedFile));
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
        // A desk waits for rows another desk has locked as long as the file
        // databases wait for their lock, then gives up with a message rather
        // than hanging.
        target.exec(QStringLiteral("SET lock_timeout = '15s'"));
        // The desk's statements read a few rows through indexes; a parallel
        // plan costs tens of milliseconds to start its workers even for eight
        // rows. A long report that gains from workers sets it for itself.
        target.exec(QStringLiteral("SET max_parallel_workers_per_gather = 0"));
    } catch (const DbError &e) {
        target = Db();
        {
            QSqlDatabase::database(name, false).close();
        }
        QSqlDatabase::removeDatabase(name);
        return connectFailure(databaseFailureText(e, {}));
    }
    return std::nullopt;
}

namespace {
// The files the main connection attaches on the file databases.
QList<QPair<QString, QString>> mainAttachments(const Paths &p)
{
    return {{QStringLiteral("ent"), p.entDb}, {QStringLiteral("pnt"), p.pointDb}};
}
} // namespace

std::optional<Failure> openWorkerConnection(AppContext &ctx, Db &target, const QString &role)
{
    if (ctx.engine == Engine::SQLite)
        return openConnection(ctx, target, role, ctx.paths.mainDb, mainAttachments(ctx.paths));
    return openConnection(ctx, target, role, {});
}

std::optional<Failure> connectDatabases(AppContext &ctx)
{
    ctx.closeConnections();
    if (auto f = readConfiguration(ctx))
        return f;
    if (auto f = openDatabases(ctx))
        return f;
    try {
        if (auto f = checkSchemaVersion(ctx))
            return f;
        loadUserOptions(ctx);
    } catch (const DbError &e) {
        return connectFailure(databaseFailureText(e, ctx.engine == Engine::SQLite ? ctx.paths.mainDb : QString()));
    }
    return std::nullopt;
}

std::optional<Failure> openDatabases(AppContext &ctx)
{
    ctx.closeConnections();
    const Paths &p = ctx.paths;
    if (ctx.engine == Engine::PostgreSQL) {
        // One server database holds every table: one connection serves all the
        // roles, so a workstation holds one session on the server (a report's
        // thread opens a short-lived one of its own while it runs), and one
        // desk action that touches several roles' tables is one transaction.
        if (auto f = openConnection(ctx, ctx.main, QStringLiteral("main"), {}))
            return f;
        ctx.main2 = ctx.post = ctx.ent = ctx.print = ctx.point = ctx.main;
        ctx.connected = true;
        return std::nullopt;
    }
    // The file databases: the entrance and point files are attached to the
    // main connection; postal codes and label printing are files of their own.
    const QList<QPair<QString, QString>> attach = mainAttachments(p);
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
    ctx.connected = true;
    return std::nullopt;
}

} // namespace fitrova
