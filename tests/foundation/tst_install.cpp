// First start: what the installer creates, and that it never overwrites an installation.
// FITROVA_DB_TEST

#include "foundation/connections.h"
#include "foundation/inifile.h"
#include "data/schemamigrate.h"
#include "foundation/installer.h"
#include "foundation/password.h"
#include "foundation/programlist.h"
#include "testinstall.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QtTest>

#include <sys/stat.h>

using namespace fitrova;
using fitrova::test::TestInstall;

namespace {
// A fingerprint of every file under a folder (names, sizes, contents).
QByteArray folderFingerprint(const QString &dir)
{
    QCryptographicHash h(QCryptographicHash::Sha1);
    QStringList files;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    for (const QString &f : files) {
        QFile file(f);
        file.open(QIODevice::ReadOnly);
        h.addData(f.toUtf8());
        h.addData(file.readAll());
    }
    return h.result();
}
int modeOf(const QString &path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
}
} // namespace

class TestInstallation : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void createsSystemRows()
    {
        TestInstall inst;
        const Db &db = inst.db();
        const int programs = int(programEntries().size());
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM PgList WHERE UUSE = '1'")).toInt(), programs);
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM Grade WHERE GrCode = '1'")).toInt(), programs);
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM PgListM")).toInt(), int(programGroups().size()));
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM PgList LEFT JOIN PgListM ON PgList.PgBun = PgListM.PgBun "
                                          "WHERE PgListM.BunName IS NULL")).toInt(), 0);
        const auto admin = db.queryOne(QStringLiteral("SELECT * FROM UserM WHERE UserID = ?"), {QStringLiteral("admin")});
        QVERIFY(admin.has_value());
        QCOMPARE(admin->str(QStringLiteral("PsCode")), QStringLiteral("0001"));
        QCOMPARE(admin->str(QStringLiteral("GrCode")), QStringLiteral("1"));
        QCOMPARE(admin->str(QStringLiteral("Uuse")), QStringLiteral("1"));
        const QString stored = admin->str(QStringLiteral("UserPass"));
        QVERIFY(isPasswordHash(stored));
        QVERIFY(verifyPassword(stored, QString::fromLatin1(fitrova::test::kAdminPassword)).ok);
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM UserOpt")).toInt(), 1);
        for (const QString &d : {inst.ctx().paths.excelDir, inst.ctx().paths.memberPicDir, inst.ctx().paths.picMenuDir})
            QVERIFY2(QFileInfo(d).isDir(), qPrintable(d));
    }

    void secondInitTouchesNothing()
    {
        TestInstall inst;
        inst.db().exec(QStringLiteral("INSERT INTO Member (MbCode, MbName) VALUES ('00000001', '남아있음')"));
        inst.ctx().closeConnections();
        const QByteArray before = folderFingerprint(inst.installDir());
        InstallOptions opt;
        opt.installDir = inst.installDir();
        opt.adminId = QStringLiteral("other");
        opt.adminPassword = QStringLiteral("pw");
        const InstallResult r = runInstall(opt);
        QCOMPARE(r.exitCode, 3);
        QVERIFY(r.message.contains(QStringLiteral("이미 설치된")));
        QCOMPARE(folderFingerprint(inst.installDir()), before);
        AppContext c(inst.installDir());
        QVERIFY(!connectDatabases(c));
        QCOMPARE(c.main.scalar(QStringLiteral("SELECT MbName FROM Member")).toString(), QStringLiteral("남아있음"));
        QCOMPARE(c.main.scalar(QStringLiteral("SELECT COUNT(*) FROM UserM")).toInt(), 1);
    }

    void missingAdministratorIsRefused_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("password");
        QTest::newRow("no id") << "" << "pw";
        QTest::newRow("blank id") << "   " << "pw";
        QTest::newRow("no password") << "admin" << "";
    }
    void missingAdministratorIsRefused()
    {
        QFETCH(QString, id);
        QFETCH(QString, password);
        QTemporaryDir dir;
        InstallOptions opt;
        opt.installDir = dir.path();
        opt.adminId = id;
        opt.adminPassword = password;
        QCOMPARE(runInstall(opt).exitCode, 2);
        QVERIFY(!QFileInfo::exists(Paths::iniPathFor(dir.path())));
    }

    void failedInitLeavesNothingAndRunsAgain()
    {
        // A fresh folder for the file databases; an empty server database.
        QTemporaryDir dir;
        const bool server = fitrova::test::testEngine() == Engine::PostgreSQL;
        const QString pgDatabase = server ? TestInstall::createServerDatabase() : QString();
        if (server)
            TestInstall::writeConfig(dir.path(), pgDatabase);
        struct Drop {
            QString name;
            ~Drop()
            {
                if (!name.isEmpty())
                    TestInstall::dropServerDatabase(name);
            }
        } drop{pgDatabase};
        const QByteArray before = folderFingerprint(dir.path());

        InstallOptions opt;
        opt.installDir = dir.path();
        opt.adminId = QStringLiteral("boss");
        opt.adminPassword = QStringLiteral("pw");
        // The disk fills up while the demo centre is written.
        opt.content = [](const AppContext &) {
            throw DbError(DbError::Kind::DiskFull, QStringLiteral("database or disk is full"), {}, QStringLiteral("13"));
        };
        const InstallResult failed = runInstall(opt);
        QCOMPARE(failed.exitCode, 4);
        QVERIFY2(failed.message.contains(QStringLiteral("디스크 공간이 부족합니다")), qPrintable(failed.message));
        // Nothing it made is left: no database, no configuration, no folders.
        QCOMPARE(folderFingerprint(dir.path()), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 server ? QStringList{QStringLiteral("Bin")} : QStringList());
        if (server) {
            AppContext c(dir.path());
            QVERIFY(!readConfiguration(c));
            Db probe;
            QVERIFY(!openConnection(c, probe, QStringLiteral("probe"), {}));
            QVERIFY(!probe.tableExists(QStringLiteral("Member")));
            QVERIFY(!probe.tableExists(QStringLiteral("DbVersion")));
        }

        // Run again, it installs.
        opt.content = {};
        QCOMPARE(runInstall(opt).exitCode, 0);
        AppContext c(dir.path());
        QVERIFY(!connectDatabases(c));
        QCOMPARE(c.main.scalar(QStringLiteral("SELECT UserID FROM UserM")).toString(), QStringLiteral("boss"));
    }

    void halfMadeServerDatabaseIsMadeAgain()
    {
        if (fitrova::test::testEngine() != Engine::PostgreSQL)
            QSKIP("the file databases are built aside and moved into place whole");
        // An installation killed before its end: the tables, no version row.
        QTemporaryDir dir;
        const QString pgDatabase = TestInstall::createServerDatabase();
        TestInstall::writeConfig(dir.path(), pgDatabase);
        {
            AppContext c(dir.path());
            QVERIFY(!readConfiguration(c));
            Db db;
            QVERIFY(!openConnection(c, db, QStringLiteral("half"), {}));
            createTables(db, std::nullopt, false);
            db.exec(QStringLiteral("INSERT INTO Member (MbCode, MbName) VALUES ('00000001', '반쯤')"));
        }
        InstallOptions opt;
        opt.installDir = dir.path();
        opt.adminId = QStringLiteral("boss");
        opt.adminPassword = QStringLiteral("pw");
        const InstallResult r = runInstall(opt);
        {
            AppContext c(dir.path());
            QVERIFY(!connectDatabases(c));
            QCOMPARE(c.main.scalar(QStringLiteral("SELECT COUNT(*) FROM Member")).toInt(), 0);
            QCOMPARE(c.main.scalar(QStringLiteral("SELECT COUNT(*) FROM UserM")).toInt(), 1);
        }
        TestInstall::dropServerDatabase(pgDatabase);
        QCOMPARE(r.exitCode, 0);
    }

    void filesAreTheirOwnersAlone_data()
    {
        QTest::addColumn<QString>("groupAccess");
        QTest::addColumn<int>("fileMode");
        QTest::addColumn<int>("folderMode");
        QTest::newRow("owner only") << "" << 0600 << 0700;
        QTest::newRow("shared with the group") << "YES" << 0660 << 0770;
    }
    void filesAreTheirOwnersAlone()
    {
        if (fitrova::test::testEngine() != Engine::SQLite)
            QSKIP("the server keeps its own files");
        QFETCH(QString, groupAccess);
        QFETCH(int, fileMode);
        QFETCH(int, folderMode);
        QTemporaryDir dir;
        if (!groupAccess.isEmpty()) {
            const IniFile ini(Paths::iniPathFor(dir.path()));
            ini.setValue(QStringLiteral("DATABASE"), QStringLiteral("Type"), QStringLiteral("ACCESS"));
            ini.setValue(QStringLiteral("DATABASE"), QStringLiteral("ServerPath"), dir.path());
            ini.setValue(QStringLiteral("DATABASE"), QStringLiteral("GroupAccess"), groupAccess);
        }
        // A scratch folder an installation killed on its way left behind.
        QDir().mkpath(dir.path() + QStringLiteral("/Dbs/.fitrova-init-AbCdEf"));
        InstallOptions opt;
        opt.installDir = dir.path();
        opt.adminId = QStringLiteral("boss");
        opt.adminPassword = QStringLiteral("pw");
        QCOMPARE(runInstall(opt).exitCode, 0);
        const Paths p = Paths::derive(dir.path(), dir.path());
        for (const QString &f : {p.mainDb, p.entDb, p.postDb, p.pointDb, p.printDb})
            QCOMPARE(modeOf(f), fileMode);
        // Folders this run made (Dbs/ existed before it: its rights stay).
        QCOMPARE(modeOf(p.localDbDir), folderMode);
        QCOMPARE(modeOf(p.memberPicDir), folderMode);
        if (groupAccess.isEmpty())
            QCOMPARE(modeOf(Paths::iniPathFor(dir.path())), 0600);
        QCOMPARE(QDir(dir.path() + QStringLiteral("/Dbs")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 (QStringList{QStringLiteral("DbEnt.db"), QStringLiteral("DbMain.db"), QStringLiteral("DbPoint.db"),
                              QStringLiteral("DbPost.db")}));
    }

    void freshFolderGetsFileDatabasesAndConfiguration()
    {
        if (fitrova::test::testEngine() != Engine::SQLite)
            QSKIP("the default installation uses the file databases");
        QTemporaryDir dir;
        InstallOptions opt;
        opt.installDir = dir.path();
        opt.adminId = QStringLiteral("boss");
        opt.adminPassword = QStringLiteral("pw");
        QCOMPARE(runInstall(opt).exitCode, 0);
        const IniFile ini(Paths::iniPathFor(dir.path()));
        QCOMPARE(ini.value(QStringLiteral("DATABASE"), QStringLiteral("Type")), QStringLiteral("ACCESS"));
        QCOMPARE(ini.value(QStringLiteral("DATABASE"), QStringLiteral("NetWork")), QStringLiteral("NO"));
        QCOMPARE(ini.value(QStringLiteral("DATABASE"), QStringLiteral("ServerPath")), QDir(dir.path()).absolutePath());
        const Paths p = Paths::derive(dir.path(), dir.path());
        for (const QString &f : {p.mainDb, p.entDb, p.postDb, p.pointDb, p.printDb})
            QVERIFY2(QFileInfo(f).isFile(), qPrintable(f));
    }
};

QTEST_GUILESS_MAIN(TestInstallation)
#include "tst_install.moc"
