// First start: what the installer creates, and that it never overwrites an installation.
// FITROVA_DB_TEST

#include "foundation/connections.h"
#include "foundation/installer.h"
#include "foundation/password.h"
#include "foundation/programlist.h"
#include "testinstall.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QtTest>

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
