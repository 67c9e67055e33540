#include "foundation/installer.h"
#include "foundation/appcontext.h"
#include "foundation/connections.h"
#include "foundation/password.h"
#include "foundation/programlist.h"
#include "foundation/startup.h"
#include "data/schemamigrate.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

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

void createSqliteFile(const QString &file, DbFile which)
{
    QDir().mkpath(QFileInfo(file).absolutePath());
    TempConnection c(QStringLiteral("fitrova_install_create"));
    {
        QSqlDatabase h = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), c.name);
        h.setDatabaseName(file);
        if (!h.open())
            throw DbError(DbError::Kind::Connection, h.lastError().text(), file);
    }
    const Db db(c.name, Engine::SQLite);
    createTables(db, which);
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

InstallResult runInstall(const InstallOptions &opt, const std::function<void(const QString &)> &progress)
{
    auto say = [&](const QString &s) {
        if (progress)
            progress(s);
    };
    if (opt.adminId.trimmed().isEmpty() || opt.adminPassword.isEmpty())
        return {2, QStringLiteral("관리자 ID와 비밀번호가 필요합니다.")};

    const QString installDir = QDir::cleanPath(QDir(opt.installDir).absolutePath());
    AppContext ctx(installDir);
    if (opt.clock)
        ctx.setClock(opt.clock);
    const IniFile ini(Paths::iniPathFor(installDir));
    const bool iniExisted = ini.exists();

    // Look before touching anything: an installed database is never overwritten.
    if (iniExisted) {
        if (auto f = readConfiguration(ctx))
            return {2, f->text};
    } else {
        ctx.dbSettings.type = QStringLiteral("ACCESS");
        ctx.engine = Engine::SQLite;
        ctx.paths = Paths::derive(installDir, installDir);
    }
    const Paths &p = ctx.paths;
    try {
        if (ctx.engine == Engine::SQLite) {
            for (const QString &f : {p.mainDb, p.entDb, p.postDb, p.pointDb, p.printDb})
                if (sqliteHasTables(f))
                    return {3, QStringLiteral("이미 설치된 데이터베이스가 있습니다: %1").arg(f)};
        } else {
            Db probe;
            if (auto f = openConnection(ctx, probe, QStringLiteral("install_probe"), {}))
                return {4, f->text + QLatin1Char('\n') + f->detail};
            const bool has = probe.tableExists(QStringLiteral("DbVersion"));
            ctx.closeConnections();
            QSqlDatabase::removeDatabase(ctx.connectionPrefix() + QStringLiteral("install_probe"));
            if (has)
                return {3, QStringLiteral("이미 설치된 데이터베이스가 있습니다: %1").arg(ctx.dbSettings.name)};
        }

        say(QStringLiteral("폴더를 만듭니다: %1").arg(installDir));
        for (const QString &d : QStringList{installDir + QStringLiteral("/Bin"), p.localDbDir, p.picMenuDir,
                                             p.picItemDir, p.excelDir, p.memberPicDir,
                                             p.serverPath + QStringLiteral("/Dbs")})
            if (!QDir().mkpath(d))
                return {4, QStringLiteral("폴더를 만들 수 없습니다: %1").arg(d)};
        if (!iniExisted) {
            const QString S = QStringLiteral("DATABASE");
            bool ok = ini.setValue(S, QStringLiteral("Type"), QStringLiteral("ACCESS"));
            ok = ok && ini.setValue(S, QStringLiteral("Class"), QString());
            ok = ok && ini.setValue(S, QStringLiteral("Version"), QStringLiteral("1.0"));
            ok = ok && ini.setValue(S, QStringLiteral("NetWork"), QStringLiteral("NO"));
            ok = ok && ini.setValue(S, QStringLiteral("ServerPath"), installDir);
            if (!ok)
                return {4, QStringLiteral("설정파일을 쓸 수 없습니다: %1").arg(ini.path())};
        }

        say(QStringLiteral("데이터베이스를 만듭니다."));
        if (ctx.engine == Engine::SQLite) {
            createSqliteFile(p.mainDb, DbFile::Main);
            createSqliteFile(p.entDb, DbFile::Entrance);
            createSqliteFile(p.postDb, DbFile::Post);
            createSqliteFile(p.pointDb, DbFile::Point);
            createSqliteFile(p.printDb, DbFile::Print);
        } else {
            Db db;
            if (auto f = openConnection(ctx, db, QStringLiteral("install_create"), {}))
                return {4, f->text + QLatin1Char('\n') + f->detail};
            createTables(db, std::nullopt);
            db = Db();
            QSqlDatabase::database(ctx.connectionPrefix() + QStringLiteral("install_create"), false).close();
            QSqlDatabase::removeDatabase(ctx.connectionPrefix() + QStringLiteral("install_create"));
        }

        if (auto f = connectDatabases(ctx))
            return {4, f->text + QLatin1Char('\n') + f->detail};
        seedSystemRows(ctx, opt.adminId.trimmed(), opt.adminPassword, opt.adminName);
        ensureDefaultCatalogue(ctx);
        if (opt.content) {
            say(QStringLiteral("체험용 자료를 만듭니다."));
            opt.content(ctx);
        }
    } catch (const DbError &e) {
        return {4, QStringLiteral("설치중 오류가 발생하였습니다.\n%1").arg(e.message())};
    }
    say(QStringLiteral("설치가 끝났습니다."));
    return {0, QStringLiteral("설치가 끝났습니다: %1").arg(installDir)};
}

} // namespace fitrova
