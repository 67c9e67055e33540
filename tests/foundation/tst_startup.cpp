// Start-up: configuration, connections, site options, workstation, business,
// default catalogue rows, the single-instance guard.
// FITROVA_DB_TEST

#include "foundation/connections.h"
#include "foundation/inifile.h"
#include "foundation/startup.h"
#include "testinstall.h"

#include <QFile>
#include <QSet>
#include <QSqlDatabase>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace fitrova;
using fitrova::test::TestInstall;

class TestStartup : public QObject {
    Q_OBJECT
    static IniFile iniOf(const QString &dir) { return IniFile(Paths::iniPathFor(dir)); }

private Q_SLOTS:
    void engineForType_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<int>("engine"); // -1 none
        QTest::newRow("ACCESS") << "ACCESS" << int(Engine::SQLite);
        QTest::newRow("access") << "access" << int(Engine::SQLite);
        QTest::newRow("SQL") << "SQL" << int(Engine::PostgreSQL);
        QTest::newRow("sql") << "sql" << int(Engine::PostgreSQL);
        QTest::newRow("MSDE") << "MSDE" << int(Engine::PostgreSQL);
        QTest::newRow("msde") << "msde" << int(Engine::PostgreSQL);
        QTest::newRow("Access mixed case") << "Access" << -1;
        QTest::newRow("ORACLE") << "ORACLE" << -1;
        QTest::newRow("empty") << "" << -1;
    }
    void engineForType()
    {
        QFETCH(QString, type);
        QFETCH(int, engine);
        const auto e = fitrova::engineForType(type);
        QCOMPARE(e ? int(*e) : -1, engine);
    }

    void allConnectionsOpen()
    {
        TestInstall inst;
        AppContext &c = inst.ctx();
        for (const Db *db : {&c.main, &c.main2, &c.post, &c.ent, &c.print, &c.point})
            QVERIFY(db->isValid());
        QVERIFY(c.connected);
        QCOMPARE(c.engine, fitrova::test::testEngine());
        // The second main connection sees what the first one wrote.
        c.main.exec(QStringLiteral("INSERT INTO Member (MbCode, MbName) VALUES ('00000001', '가')"));
        QCOMPARE(c.main2.scalar(QStringLiteral("SELECT COUNT(*) FROM Member")).toInt(), 1);
    }

    // On the server a workstation holds one session, whatever role a screen
    // reads through, and one action over several roles' tables is one
    // transaction: a failure undoes the label rows with the member.
    void oneServerSessionPerWorkstation()
    {
        if (fitrova::test::testEngine() != Engine::PostgreSQL)
            QSKIP("the file databases are separate files, each with its connection");
        TestInstall inst;
        AppContext &c = inst.ctx();
        QSet<qint64> sessions;
        for (const Db *db : {&c.main, &c.main2, &c.post, &c.ent, &c.print, &c.point})
            sessions.insert(db->scalar(QStringLiteral("SELECT pg_backend_pid()")).toLongLong());
        QCOMPARE(sessions.size(), 1);
        try {
            c.main.transaction([&] {
                c.main.exec(QStringLiteral("INSERT INTO Member (MbCode, MbName) VALUES ('00000009', '가')"));
                c.print.exec(QStringLiteral("INSERT INTO DM인쇄 (성명, 순서) VALUES ('가', 1)"));
                throw std::runtime_error("refused");
            });
        } catch (const std::runtime_error &) {
        }
        QCOMPARE(c.main.scalar(QStringLiteral("SELECT COUNT(*) FROM Member WHERE MbCode = '00000009'")).toInt(), 0);
        QCOMPARE(c.print.scalar(QStringLiteral("SELECT COUNT(*) FROM DM인쇄")).toInt(), 0);
        // Closing lets the one session go for every role.
        const QString name = c.main.connectionName();
        c.closeConnections();
        QVERIFY(!QSqlDatabase::contains(name));
        for (const Db *db : {&c.main, &c.main2, &c.post, &c.ent, &c.print, &c.point})
            QVERIFY(!db->isValid());
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("breakWhat");
        QTest::addColumn<QString>("textContains");
        QTest::addColumn<QString>("detailContains");
        QTest::newRow("no configuration file") << "ini" << "설정파일" << "";
        QTest::newRow("unknown Type") << "type" << "Type=ORACLE" << "";
        QTest::newRow("unreachable server") << "server" << "DataBase에 연결할수 없읍니다" << "";
        QTest::newRow("file that is no database") << "garbage" << "DataBase에 연결할수 없읍니다" << "손상되었거나";
        QTest::newRow("missing database file") << "missing" << "DataBase에 연결할수 없읍니다" << "데이터베이스 파일이 없습니다";
    }
    void refusals()
    {
        QFETCH(QString, breakWhat);
        QFETCH(QString, textContains);
        QFETCH(QString, detailContains);
        if ((breakWhat == QLatin1String("garbage") || breakWhat == QLatin1String("missing"))
            && fitrova::test::testEngine() != Engine::SQLite)
            QSKIP("the file databases only");
        TestInstall inst;
        const QString dir = inst.installDir();
        const Paths paths = inst.ctx().paths;
        inst.ctx().closeConnections();
        const IniFile ini = iniOf(dir);
        if (breakWhat == QLatin1String("ini")) {
            QFile::remove(ini.path());
        } else if (breakWhat == QLatin1String("type")) {
            ini.setValue(QStringLiteral("DATABASE"), QStringLiteral("Type"), QStringLiteral("ORACLE"));
        } else if (breakWhat == QLatin1String("server")) {
            ini.setValue(QStringLiteral("DATABASE"), QStringLiteral("Type"), QStringLiteral("SQL"));
            ini.setValue(QStringLiteral("DATABASE"), QStringLiteral("Source"), QStringLiteral("127.0.0.1:1"));
        } else {
            ini.setValue(QStringLiteral("DATABASE"), QStringLiteral("Type"), QStringLiteral("ACCESS"));
            if (breakWhat == QLatin1String("missing"))
                QFile::remove(paths.entDb);
            if (breakWhat == QLatin1String("garbage")) {
                QFile::remove(paths.mainDb + QStringLiteral("-wal"));
                QFile::remove(paths.mainDb + QStringLiteral("-shm"));
                QFile f(paths.mainDb);
                QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
                f.write(QByteArray(4096, 'x'));
            }
        }
        AppContext c(dir);
        const auto f = connectDatabases(c);
        QVERIFY(f.has_value());
        QVERIFY2(f->text.contains(textContains), qPrintable(f->text));
        QVERIFY2(f->detail.contains(detailContains), qPrintable(f->detail));
        QCOMPARE(f->title, QStringLiteral("연결오류"));
        QVERIFY(!c.connected);
    }

    // The causes a desk can do something about are named in Korean, not in
    // the driver's English.
    void readOnlyDataFolderIsNamed()
    {
        if (fitrova::test::testEngine() != Engine::SQLite)
            QSKIP("the file databases only");
        TestInstall inst;
        const QString dbs = QFileInfo(inst.ctx().paths.mainDb).absolutePath();
        inst.ctx().closeConnections();
        // Even root cannot write into an immutable folder.
        if (QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), dbs}) != 0)
            QSKIP("chattr cannot make the folder read-only here");
        AppContext c(inst.installDir());
        const auto f = connectDatabases(c);
        QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), dbs});
        QVERIFY(f.has_value());
        QVERIFY2(f->detail.contains(QStringLiteral("읽기 전용")), qPrintable(f->detail));
        QVERIFY2(f->detail.contains(dbs), qPrintable(f->detail));
    }

    void fullDiskIsNamed()
    {
        if (fitrova::test::testEngine() != Engine::SQLite)
            QSKIP("the file databases only");
        TestInstall inst;
        const Paths p = inst.ctx().paths;
        inst.ctx().closeConnections();
        // The data folder on a small disk of its own, filled up.
        QTemporaryDir disk;
        if (QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                                        QStringLiteral("size=2m"), QStringLiteral("tmpfs"), disk.path()})
            != 0)
            QSKIP("cannot mount a small disk here");
        struct Unmount {
            QString path;
            ~Unmount() { QProcess::execute(QStringLiteral("umount"), {path}); }
        } unmount{disk.path()};
        QDir().mkpath(disk.path() + QStringLiteral("/Dbs"));
        for (const QString &f : {p.mainDb, p.entDb, p.postDb, p.pointDb})
            QVERIFY(QFile::copy(f, disk.path() + QStringLiteral("/Dbs/") + QFileInfo(f).fileName()));
        {
            QFile filler(disk.path() + QStringLiteral("/filler"));
            QVERIFY(filler.open(QIODevice::WriteOnly));
            const QByteArray block(64 * 1024, 'x');
            while (filler.write(block) == block.size() && filler.flush()) {
            }
        }
        iniOf(inst.installDir()).setValue(QStringLiteral("DATABASE"), QStringLiteral("ServerPath"), disk.path());
        {
            AppContext c(inst.installDir());
            const auto f = connectDatabases(c);
            QVERIFY(f.has_value());
            QVERIFY2(f->detail.contains(QStringLiteral("디스크 공간이 부족합니다")), qPrintable(f->detail));
        }
    }

    void configurationThatDoesNotReadCleanlyIsNotRewritten()
    {
        TestInstall inst;
        const IniFile ini = iniOf(inst.installDir());
        ini.setValue(QStringLiteral("DATABASE"), QStringLiteral("NetWork"), QString());
        // A comment in the Korean code page, as a Windows editor would write it.
        QFile f(ini.path());
        QVERIFY(f.open(QIODevice::Append));
        f.write("; \xBC\xBE\xC5\xCD \xBC\xB3\xC1\xA4\n");
        f.close();
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray before = f.readAll();
        f.close();
        AppContext c(inst.installDir());
        QVERIFY(!connectDatabases(c));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), before);
    }

    void networkKeyIsWrittenForTheNextStart()
    {
        TestInstall inst;
        const IniFile ini = iniOf(inst.installDir());
        ini.setValue(QStringLiteral("DATABASE"), QStringLiteral("NetWork"), QString());
        AppContext c(inst.installDir());
        QVERIFY(!connectDatabases(c));
        QCOMPARE(c.dbSettings.network, QString());
        QCOMPARE(ini.value(QStringLiteral("DATABASE"), QStringLiteral("NetWork")), QStringLiteral("YES"));
        AppContext next(inst.installDir());
        QVERIFY(!connectDatabases(next));
        QCOMPARE(next.dbSettings.network, QStringLiteral("YES"));
    }

    void emptyOptionsTableGetsTheDefaults()
    {
        TestInstall inst;
        AppContext &c = inst.ctx();
        c.main.exec(QStringLiteral("DELETE FROM UserOpt"));
        c.options = UserOptions{};
        c.options.opt2 = 99;
        loadUserOptions(c);
        QCOMPARE(c.main.scalar(QStringLiteral("SELECT COUNT(*) FROM UserOpt")).toInt(), 1);
        const UserOptions &o = c.options;
        QCOMPARE(o.opt1_1, 10);
        QCOMPARE(o.opt1_2, 10);
        QCOMPARE(o.opt2, 8);
        QCOMPARE(o.opt3, 0);
        QCOMPARE(o.opt4, 1);
        QCOMPARE(o.opt5, 1);
        QCOMPARE(o.opt6, 1);
        QCOMPARE(o.opt7_1, 0.0);
        QVERIFY(!o.pointsInUse());
        QCOMPARE(c.main.scalar(QStringLiteral("SELECT Gubun FROM UserOpt")).toString(), QStringLiteral("1"));
    }

    void oldTextsAreMigrated()
    {
        TestInstall inst;
        AppContext &c = inst.ctx();
        c.main.exec(QStringLiteral("UPDATE UserOpt SET UserTxt7 = '', UserTxt9 = ?, UserTxt8 = ?, UserTxt10 = ?"),
                    {QStringLiteral("안내문구"), QStringLiteral("그대로"), QStringLiteral("무시")});
        loadUserOptions(c);
        QCOMPARE(c.options.txt7, QStringLiteral("안내문구"));
        QCOMPARE(c.options.txt8, QStringLiteral("그대로"));
        QCOMPARE(c.main.scalar(QStringLiteral("SELECT UserTxt7 FROM UserOpt")).toString(), QStringLiteral("안내문구"));
    }

    void workstationRowOrNot()
    {
        TestInstall inst;
        AppContext &c = inst.ctx();
        c.pcName = QStringLiteral("NOPOS");
        c.workstation.posNo = 7;
        loadWorkstation(c);
        QCOMPARE(c.workstation.posNo, 0);
        QCOMPARE(c.workstation.cardType, QStringLiteral("0"));
        QCOMPARE(c.workstation.posPrint, QStringLiteral("0"));
        c.main.exec(QStringLiteral("INSERT INTO Pos (PcName, PosNo, PosName, CardType, posprint, PrintType, PrintPort) "
                                   "VALUES (?, 3, '프런트', '1', '1', '1', '2')"),
                    {QStringLiteral("FRONT-1")});
        c.pcName = QStringLiteral("FRONT-1");
        loadWorkstation(c);
        QCOMPARE(c.workstation.posNo, 3);
        QCOMPARE(c.workstation.posName, QStringLiteral("프런트"));
        QCOMPARE(c.workstation.cardType, QStringLiteral("1"));
        QCOMPARE(c.workstation.printPort, QStringLiteral("2"));
    }

    void businessAndCaption()
    {
        TestInstall inst;
        AppContext &c = inst.ctx();
        QCOMPARE(loadBusinessInfo(c), QString());
        c.main.exec(QStringLiteral("INSERT INTO Place (사용처명, 전화번호) VALUES (?, ?)"),
                    {QStringLiteral("피트로바 센터"), QStringLiteral("02-123-4567")});
        QCOMPARE(loadBusinessInfo(c), QStringLiteral("피트로바 센터"));
        QCOMPARE(c.business.tel, QStringLiteral("02-123-4567"));
        c.dbSettings.type = QStringLiteral("ACCESS");
        c.dbSettings.version = QStringLiteral("2.1");
        c.pcName = QStringLiteral("DESK1");
        c.user.userName = QStringLiteral("김직원");
        QCOMPARE(mainCaption(c), QStringLiteral("BrenmoorA Ver 2.1 피트로바 센터 DESK1-김직원"));
        c.dbSettings.type = QStringLiteral("MSDE");
        QVERIFY(mainCaption(c).startsWith(QStringLiteral("BrenmoorS Ver 2.1")));
    }

    void defaultCatalogueRowsOnce()
    {
        TestInstall inst;
        const Db &db = inst.db();
        db.exec(QStringLiteral("DELETE FROM Course"));
        db.exec(QStringLiteral("DELETE FROM Sclass WHERE PsGroup = 'S'"));
        ensureDefaultCatalogue(inst.ctx());
        ensureDefaultCatalogue(inst.ctx());
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM Course")).toInt(), 2);
        QCOMPARE(db.scalar(QStringLiteral("SELECT Name FROM Course WHERE PsGroup = 'S'")).toString(), QStringLiteral("교구"));
        QCOMPARE(db.scalar(QStringLiteral("SELECT mon6 FROM Course WHERE PsGroup = 'P'")).toInt(), 1);
        QCOMPARE(db.scalar(QStringLiteral("SELECT SclassN FROM Sclass WHERE PsGroup = 'S' AND Sclass = '02'")).toString(),
                 QStringLiteral("기본분류"));
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM Sclass")).toInt(), 2);
    }

    void newerSchemaIsRefused()
    {
        TestInstall inst;
        inst.db().exec(QStringLiteral("UPDATE DbVersion SET Version = Version + 1"));
        AppContext c(inst.installDir());
        const auto f = connectDatabases(c);
        QVERIFY(f.has_value());
        QVERIFY(f->text.contains(QStringLiteral("새 버전")));
    }

    void secondCopyIsRefused()
    {
        QTemporaryDir dir;
        SingleInstanceGuard first(dir.path());
        QVERIFY(first.acquire());
        SingleInstanceGuard second(dir.path());
        QVERIFY(!second.acquire());
        // The second copy is warned in the system's own words.
        QCOMPARE(QString::fromUtf8(kAlreadyRunningText), QStringLiteral("현재 실행중입니다."));
        QCOMPARE(QString::fromUtf8(kAlreadyRunningTitle), QStringLiteral("경고"));
        QTemporaryDir other;
        SingleInstanceGuard elsewhere(other.path());
        QVERIFY(elsewhere.acquire());
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
