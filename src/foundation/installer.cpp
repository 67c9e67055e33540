#include "foundation/installer.h"
#include "foundation/appcontext.h"
#include "foundation/connections.h"
#include "foundation/fileaccess.h"
#include "foundation/password.h"
#include "foundation/programlist.h"
#include "foundation/startup.h"
#include "data/schemamigrate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>
#include <map>
#include <memory>

namespace fitrova {

namespace {

struct TempConnection {
    QString name;
    explicit TempConnection(const QString &n) : name(n) {}
    ~TempConnection()
    {
        if (QSqlDatabase::contains(name)) {
            QSqlDatabase::database(name, false).close();
            QSqlDatabase::removeDatabase(name);
        }
    }
};

// Any file with content counts as a database of someone's: it is never opened
// (opening a database in WAL mode already writes beside it) and never overwritten.
bool sqliteHasTables(const QString &file)
{
    const QFileInfo fi(file);
    return fi.exists() && (!fi.isFile() || fi.size() > 0);
}

void createSqliteFile(const QString &file, DbFile which, FileAccess access)
{
    if (!createPrivateFile(file, access))
        throw DbError(DbError::Kind::Connection, QStringLiteral("cannot create %1").arg(file), file);
    TempConnection c(QStringLiteral("fitrova_install_create"));
    {
        QSqlDatabase h = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), c.name);
        h.setDatabaseName(file);
        if (!h.open())
            throw DbError(DbError::Kind::Connection, h.lastError().text(), file, h.lastError().nativeErrorCode());
    }
    const Db db(c.name, Engine::SQLite);
    createTables(db, which, false);
}

// What one run of the installer made, taken away again unless the run
// finishes: folders it created, database files it moved into place.
class MadeHere {
public:
    ~MadeHere()
    {
        if (m_kept)
            return;
        for (auto it = m_moved.rbegin(); it != m_moved.rend(); ++it)
            QFile::remove(*it);
        for (auto it = m_folders.rbegin(); it != m_folders.rend(); ++it)
            QDir().rmdir(*it); // only when empty: nothing of anyone else's goes
    }
    QStringList *folders() { return &m_folders; }
    void moved(const QString &file) { m_moved.append(file); }
    void keep() { m_kept = true; }

private:
    QStringList m_folders, m_moved;
    bool m_kept = false;
};

// Drops every table of the schema that exists: what an interrupted or failed
// installation left on the server.
void dropServerTables(const Db &db)
{
    db.transaction([&] {
        for (const Table &t : allTables())
            db.exec(QStringLiteral("DROP TABLE IF EXISTS %1 CASCADE").arg(t.name));
    });
}

// The server database's state: 0 empty, 1 an installation left half-made (the
// tables without the version row the installer writes last), 2 installed.
int serverState(const Db &db)
{
    if (!db.tableExists(QStringLiteral("DbVersion")))
        return 0;
    return db.scalar(QStringLiteral("SELECT COUNT(*) FROM DbVersion")).toLongLong() > 0 ? 2 : 1;
}

void closeNamed(const QString &name)
{
    if (QSqlDatabase::contains(name)) {
        QSqlDatabase::database(name, false).close();
        QSqlDatabase::removeDatabase(name);
    }
}

} // namespace

void seedSystemRows(const AppContext &ctx, const QString &adminId, const QString &adminPassword,
                    const QString &adminName)
{
    const Db &db = ctx.main;
    db.transaction([&] {
        for (const ProgramGroup &g : programGroups())
            db.exec(QStringLiteral("INSERT INTO PgListM (PgBun, BunName) VALUES (?, ?)"),
                    {QString::fromUtf8(g.bun), QString::fromUtf8(g.name)});
        db.exec(QStringLiteral("INSERT INTO GradeM (GrCode, GrName) VALUES ('1', ?)"), {QStringLiteral("관리자")});
        for (const ProgramEntry &e : programEntries()) {
            const QString id = QString::fromUtf8(e.pgId), bun = QString::fromUtf8(e.bun),
                          name = QString::fromUtf8(e.caption);
            db.exec(QStringLiteral("INSERT INTO PgList (PgID, PgBun, PgName, UUSE) VALUES (?, ?, ?, '1')"),
                    {id, bun, name});
            db.exec(QStringLiteral("INSERT INTO Grade (GrCode, PgID, PgBun, PgName, UUse) VALUES ('1', ?, ?, ?, '1')"),
                    {id, bun, name});
            db.exec(QStringLiteral("INSERT INTO UserPG (UserID, PgID, UUse) VALUES (?, ?, '1')"), {adminId, id});
        }
        db.exec(QStringLiteral("INSERT INTO UserM (PsCode, UserID, UserPass, UserName, GrCode, Uuse) "
                               "VALUES ('0001', ?, ?, ?, '1', '1')"),
                {adminId, hashPassword(adminPassword), adminName});
        db.exec(QStringLiteral("INSERT INTO Person (Pscode, Psname, resign) VALUES ('0001', ?, '1')"), {adminName});
    });
}

static void fillInstallation(AppContext &ctx, const InstallOptions &opt, const std::function<void(const QString &)> &say)
{
    seedSystemRows(ctx, opt.adminId.trimmed(), opt.adminPassword, opt.adminName);
    loadUserOptions(ctx);
    ensureDefaultCatalogue(ctx);
    if (opt.content) {
        say(QStringLiteral("체험용 자료를 만듭니다."));
        opt.content(ctx);
    }
    // Last: the mark of an installation made to its end.
    stampSchemaVersion(ctx.main);
}

InstallResult runInstall(const InstallOptions &opt, const std::function<void(const QString &)> &progress)
{
    auto say = [&](const QString &s) {
        if (progress)
            progress(s);
    };
    if (opt.adminId.trimmed().isEmpty() || opt.adminPassword.isEmpty())
        return {2, QStringLiteral("관리자 ID와 비밀번호가 필요합니다.")};

    const QString installDir = QDir::cleanPath(QDir(opt.installDir).absolutePath());
    const IniFile ini(Paths::iniPathFor(installDir));
    const bool iniExisted = ini.exists();
    MadeHere made; // declared before the context: its connections close first
    AppContext ctx(installDir);
    if (opt.clock)
        ctx.setClock(opt.clock);

    // Look before touching anything: an installed database is never overwritten.
    if (iniExisted) {
        if (auto f = readConfiguration(ctx))
            return {2, f->text};
    } else {
        ctx.dbSettings.type = QStringLiteral("ACCESS");
        ctx.engine = Engine::SQLite;
        ctx.paths = Paths::derive(installDir, installDir);
    }
    const FileAccess access = ctx.dbSettings.groupAccess ? FileAccess::Group : FileAccess::Owner;
    const Paths finalPaths = ctx.paths;
    try {
        if (ctx.engine == Engine::SQLite) {
            for (const QString &f : {finalPaths.mainDb, finalPaths.entDb, finalPaths.postDb, finalPaths.pointDb,
                                     finalPaths.printDb})
                if (sqliteHasTables(f))
                    return {3, QStringLiteral("이미 설치된 데이터베이스가 있습니다: %1").arg(f)};
        } else {
            const QString probeName = ctx.connectionPrefix() + QStringLiteral("install_probe");
            Db probe;
            if (auto f = openConnection(ctx, probe, QStringLiteral("install_probe"), {}))
                return {4, f->text + QLatin1Char('\n') + f->detail};
            const int state = serverState(probe);
            if (state == 1) {
                say(QStringLiteral("끝나지 않은 지난 설치의 표를 지웁니다."));
                dropServerTables(probe);
            }
            probe = Db();
            closeNamed(probeName);
            if (state == 2)
                return {3, QStringLiteral("이미 설치된 데이터베이스가 있습니다: %1").arg(ctx.dbSettings.name)};
        }

        say(QStringLiteral("폴더를 만듭니다: %1").arg(installDir));
        for (const QString &d : QStringList{installDir + QStringLiteral("/Bin"), finalPaths.localDbDir,
                                             finalPaths.picMenuDir, finalPaths.picItemDir, finalPaths.excelDir,
                                             finalPaths.memberPicDir, finalPaths.serverPath + QStringLiteral("/Dbs")})
            if (!makeFolders(d, access, made.folders()))
                return {4, QStringLiteral("폴더를 만들 수 없습니다: %1").arg(d)};

        say(QStringLiteral("데이터베이스를 만듭니다."));
        if (ctx.engine == Engine::SQLite) {
            // Built whole in a scratch folder beside each destination (so that
            // the move is a rename) and moved into place when complete; a
            // failure anywhere before leaves nothing behind.
            std::map<QString, std::unique_ptr<QTemporaryDir>> scratch;
            auto staged = [&](const QString &file) {
                const QString folder = QFileInfo(file).absolutePath();
                auto &dir = scratch[folder];
                if (!dir) {
                    // What an installation killed on its way left here.
                    for (const QString &old :
                         QDir(folder).entryList({QStringLiteral(".fitrova-init-*")}, QDir::Dirs | QDir::Hidden))
                        QDir(folder + QLatin1Char('/') + old).removeRecursively();
                    dir = std::make_unique<QTemporaryDir>(folder + QStringLiteral("/.fitrova-init-XXXXXX"));
                    if (!dir->isValid())
                        throw DbError(DbError::Kind::Connection, dir->errorString(), folder);
                    QFile::setPermissions(dir->path(), folderPermissions(access));
                }
                return dir->filePath(QFileInfo(file).fileName());
            };
            struct Part {
                QString final;
                DbFile which;
            };
            // The main file last: a database with its main file is an installation.
            const QList<Part> parts{{finalPaths.entDb, DbFile::Entrance},
                                    {finalPaths.postDb, DbFile::Post},
                                    {finalPaths.pointDb, DbFile::Point},
                                    {finalPaths.printDb, DbFile::Print},
                                    {finalPaths.mainDb, DbFile::Main}};
            Paths building = finalPaths;
            for (QString *f : {&building.mainDb, &building.entDb, &building.postDb, &building.pointDb,
                               &building.printDb})
                *f = staged(*f);
            for (const Part &part : parts)
                createSqliteFile(staged(part.final), part.which, access);
            ctx.paths = building;
            if (auto f = openDatabases(ctx))
                return {4, f->text + QLatin1Char('\n') + f->detail};
            try {
                fillInstallation(ctx, opt, say);
            } catch (...) {
                ctx.closeConnections(); // before the scratch folders go
                throw;
            }
            ctx.closeConnections();
            ctx.paths = finalPaths;
            for (const Part &part : parts) {
                if (::rename(QFile::encodeName(staged(part.final)).constData(),
                             QFile::encodeName(part.final).constData())
                    != 0)
                    return {4, QStringLiteral("데이터베이스 파일을 옮길 수 없습니다: %1").arg(part.final)};
                made.moved(part.final);
            }
        } else {
            if (auto f = openDatabases(ctx))
                return {4, f->text + QLatin1Char('\n') + f->detail};
            try {
                createTables(ctx.main, std::nullopt, false);
                fillInstallation(ctx, opt, say);
            } catch (...) {
                // Takes away what this run made, so that it can run again.
                ctx.closeConnections();
                Db db;
                const QString name = ctx.connectionPrefix() + QStringLiteral("install_undo");
                if (!openConnection(ctx, db, QStringLiteral("install_undo"), {})) {
                    try {
                        dropServerTables(db);
                    } catch (const DbError &) {
                        // the failure that brought us here is the one to report
                    }
                }
                db = Db();
                closeNamed(name);
                throw;
            }
            ctx.closeConnections();
        }

        if (!iniExisted) {
            const QString S = QStringLiteral("DATABASE");
            bool ok = ini.setValue(S, QStringLiteral("Type"), QStringLiteral("ACCESS"));
            ok = ok && ini.setValue(S, QStringLiteral("Class"), QString());
            ok = ok && ini.setValue(S, QStringLiteral("Version"), QStringLiteral("1.0"));
            ok = ok && ini.setValue(S, QStringLiteral("NetWork"), QStringLiteral("NO"));
            ok = ok && ini.setValue(S, QStringLiteral("ServerPath"), installDir);
            if (!ok) {
                QFile::remove(ini.path());
                return {4, QStringLiteral("설정파일을 쓸 수 없습니다: %1").arg(ini.path())};
            }
        }
    } catch (const DbError &e) {
        ctx.closeConnections();
        return {4, QStringLiteral("설치중 오류가 발생하였습니다.\n%1")
                       .arg(databaseFailureText(e, ctx.engine == Engine::SQLite ? finalPaths.mainDb : QString()))};
    } catch (const std::exception &e) {
        ctx.closeConnections();
        return {4, QStringLiteral("설치중 오류가 발생하였습니다.\n%1").arg(QString::fromUtf8(e.what()))};
    }
    made.keep();
    say(QStringLiteral("설치가 끝났습니다."));
    return {0, QStringLiteral("설치가 끝났습니다: %1").arg(installDir)};
}

} // namespace fitrova
