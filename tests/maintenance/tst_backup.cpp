// FITROVA_DB_TEST
// Backup and restore of a whole installation: back up, change and delete data,
// restore, and every table is as it was backed up; the information file and
// the list of backups; a failed backup leaves nothing behind; a restore is
// refused over another workstation's session, for a damaged backup and for a
// backup of a newer program.

#include <QtTest>
#include <QThread>

#include "data/schema.h"
#include "maintenance/backup.h"
#include "maintenance/sqlitefiles.h"
#include "testinstall.h"
#include "../members/memberbuilders.h"

#include <QDirIterator>
#include <QProcess>
#include <QDate>
#include <QDateTime>
#include <sys/mount.h>

using namespace fitrova;
using namespace fitrova::test;

namespace {

const Db &dbFor(AppContext &ctx, const Table &t)
{
    if (ctx.engine == Engine::SQLite && t.file == DbFile::Post)
        return ctx.post;
    if (ctx.engine == Engine::SQLite && t.file == DbFile::Print)
        return ctx.print;
    return ctx.main;
}

// Every row of every table, as text, in a fixed order.
QMap<QString, QStringList> everyTable(AppContext &ctx)
{
    QMap<QString, QStringList> out;
    for (const Table &t : allTables()) {
        QStringList rows;
        for (const Row &r : dbFor(ctx, t).query(QStringLiteral("SELECT * FROM %1").arg(t.name))) {
            QStringList cells;
            for (const Column &c : t.columns)
                cells << (r.isNull(c.name) ? QStringLiteral("<null>") : r.value(c.name).toString());
            rows << cells.join(QLatin1Char('|'));
        }
        rows.sort();
        out.insert(t.name, rows);
    }
    return out;
}

// Every file below the folder (empty folders do not count).
QStringList filesUnder(const QString &folder)
{
    QStringList out;
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories); it.hasNext();)
        out << it.next();
    return out;
}

// A centre with a little of everything the backup must carry.
void fillCentre(AppContext &ctx)
{
    const Db &db = ctx.main;
    addMember(db, "00000001", "홍길동", "1001", "01012345678");
    addMember(db, "00000002", "김영희", "1002");
    addMember(db, "00000003", "O'Brien 박", "1003");
    Lect l;
    l.tAmt = 150000;
    l.cashAmt = 100000;
    const qint64 ltid = addLecture(db, l);
    l.mbCode = "00000002";
    addLecture(db, l);
    addPoint(db, "00000001", "1", ltid, 1500);
    addSale(db, "00000001", 12000, 12000, "2024-05-09");
    db.exec("INSERT INTO entrance (InDate, InTime, PgGubun, MbCode, Ltid) VALUES ('2024-05-09', '07:10', '1', '00000001', ?)",
            {ltid});
    db.exec("INSERT INTO 계정과목 (과목코드, 과목명, 과목구분, 금액구분) VALUES ('100', '회비', '1', '1')");
    db.exec("INSERT INTO 수입지출 (일자, 년월, 과목구분, 과목코드, 금액구분, 수입, 지출) VALUES ('2024-05-09', '2024-05', '1', "
            "'100', '1', 30000, 0)");
    db.exec("INSERT INTO Schedule (ScGubun, ScUserCode, ScDate, ScTit) VALUES ('0', '0001', '2024-05-10', '점검')");
    ctx.print.exec("INSERT INTO DM인쇄 (성명, 주소, 번지, 우편번호, 순서, 존칭) VALUES ('홍길동', '서울', '1층', '0 6 2 3 6 ', 1, '님')");
    ctx.post.exec("INSERT INTO Post (PostNum, SiDo, GuGun, Dong) VALUES ('06236', '서울', '강남구', '역삼동')");
}

// Changes in every kind of table after the backup.
void changeCentre(AppContext &ctx)
{
    const Db &db = ctx.main;
    db.exec("DELETE FROM Member WHERE MbCode = '00000002'");
    db.exec("UPDATE Member SET MbName = '홍길순' WHERE MbCode = '00000001'");
    addMember(db, "00000009", "새회원");
    db.exec("DELETE FROM Lecture");
    db.exec("DELETE FROM entrance");
    db.exec("DELETE FROM UserPoint");
    db.exec("UPDATE Sale SET SlAmt = 1");
    db.exec("DELETE FROM 수입지출");
    db.exec("INSERT INTO Schedule (ScGubun, ScUserCode, ScDate, ScTit) VALUES ('1', '0001', '2024-05-11', '새 일정')");
    ctx.print.exec("DELETE FROM DM인쇄");
    ctx.post.exec("DELETE FROM Post");
}

bool sqliteOnly() { return testEngine() == Engine::SQLite; }

} // namespace

class TstBackup : public QObject {
    Q_OBJECT
    std::unique_ptr<TestInstall> m_install;
    AppContext &ctx() { return m_install->ctx(); }

private slots:
    void initTestCase()
    {
        m_install = std::make_unique<TestInstall>();
        fillCentre(ctx());
    }
    void cleanupTestCase() { m_install.reset(); }

    // Back up, change and delete, restore: every table as it was backed up,
    // and the state before the restore kept as a backup of its own.
    void roundTrip()
    {
        QTemporaryDir folder;
        m_install->clock().set(QDateTime(QDate(2024, 5, 10), QTime(18, 30, 5)));
        const QMap<QString, QStringList> before = everyTable(ctx());
        const BackupResult b = backupInstallation(ctx(), folder.path());
        QVERIFY2(b.ok, qPrintable(b.text + " " + b.detail));
        QCOMPARE(b.set.counts, (BackupCounts{3, 2, 1, 1}));
        QVERIFY(b.set.bytes > 0);
        QCOMPARE(b.set.reason, QString("수동백업"));

        changeCentre(ctx());
        const QMap<QString, QStringList> changed = everyTable(ctx());
        QVERIFY(changed != before);

        m_install->clock().advanceSecs(600);
        const QList<BackupSet> sets = listBackups(folder.path(), ctx().engine);
        QCOMPARE(sets.size(), 1);
        const RestoreResult r = restoreInstallation(ctx(), sets.first(), folder.path());
        QVERIFY2(r.ok, qPrintable(r.text + " " + r.detail));
        QVERIFY(ctx().main.isValid());
        const QMap<QString, QStringList> after = everyTable(ctx());
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            QCOMPARE(after.value(it.key()), it.value());

        // The safety copy holds the changed state and is listed first.
        const QList<BackupSet> now = listBackups(folder.path(), ctx().engine);
        QCOMPARE(now.size(), 2);
        QCOMPARE(now.first().reason, QString("복원전 자동백업"));
        QCOMPARE(now.first().path, r.safety.path);
        QCOMPARE(now.first().counts, (BackupCounts{3, 0, 0, 1}));
        QCOMPARE(now.last().when, QDateTime(QDate(2024, 5, 10), QTime(18, 30, 5)));

        // And it restores the changed state in turn.
        QVERIFY(restoreInstallation(ctx(), now.first(), folder.path()).ok);
        QCOMPARE(everyTable(ctx()), changed);
        QVERIFY(restoreInstallation(ctx(), now.last(), folder.path()).ok);
        QCOMPARE(everyTable(ctx()), before);
    }

    // The copy is of one moment: rows committed but still only in the
    // write-ahead log are in it, rows of a transaction another desk has open
    // are not.
    void oneMomentWhileOthersWrite()
    {
        QTemporaryDir folder;
        m_install->clock().set(QDateTime(QDate(2024, 5, 14), QTime(7, 0)));
        addMember(ctx().main, "00000051", "커밋됨");
        if (sqliteOnly())
            QVERIFY(QFileInfo(ctx().paths.mainDb + "-wal").size() > 0);
        auto desk2 = m_install->openWorkstation("DESK2");
        BackupResult b;
        desk2->main.transaction([&] {
            addMember(desk2->main, "00000052", "진행중");
            b = backupInstallation(ctx(), folder.path());
        });
        QVERIFY2(b.ok, qPrintable(b.text + " " + b.detail));
        desk2.reset();
        const qint64 members = ctx().main.scalar("SELECT COUNT(*) FROM Member").toLongLong();
        QCOMPARE(b.set.counts.members, members - 1);
        ctx().main.exec("DELETE FROM Member WHERE MbCode IN ('00000051', '00000052')");
        QVERIFY(restoreInstallation(ctx(), b.set, folder.path()).ok);
        QCOMPARE(ctx().main.scalar("SELECT COUNT(*) FROM Member WHERE MbCode = '00000051'").toInt(), 1);
        QCOMPARE(ctx().main.scalar("SELECT COUNT(*) FROM Member WHERE MbCode = '00000052'").toInt(), 0);
        ctx().main.exec("DELETE FROM Member WHERE MbCode = '00000051'");
    }

    void infoFile()
    {
        const QDateTime when(QDate(2024, 5, 10), QTime(9, 5, 7));
        QCOMPARE(backupInfoLine(when), QString("작업일자 : 2024-05-10    작업시간 : 09:05:07"));
        BackupSet s;
        s.engine = ctx().engine;
        s.when = when;
        s.reason = backupReasonText(BackupReason::BeforeDeletion);
        s.schemaVersion = 1;
        s.counts = {10, 20, 30, 40};
        s.bytes = 4096;
        QTemporaryDir dir;
        const QString path = dir.filePath("info.txt");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(backupInfoText(s).toUtf8());
        f.close();
        QVERIFY(backupInfoText(s).startsWith(backupInfoLine(when) + "\n"));
        const BackupSet back = readBackupInfo(path, ctx().engine);
        QCOMPARE(back.when, when);
        QCOMPARE(back.reason, QString("삭제전 자동백업"));
        QCOMPARE(back.counts, s.counts);
        QCOMPARE(back.schemaVersion, 1);
        QCOMPARE(back.bytes, 4096);
        // The other engine's reader does not take it.
        QVERIFY(!readBackupInfo(path, ctx().engine == Engine::SQLite ? Engine::PostgreSQL : Engine::SQLite).when.isValid());
    }

    // Backups of one second do not overwrite each other; older backups stay
    // until removed; the newest is listed first.
    void listingAndRemoval()
    {
        QTemporaryDir folder;
        m_install->clock().set(QDateTime(QDate(2024, 5, 10), QTime(8, 0)));
        QVERIFY(backupInstallation(ctx(), folder.path()).ok);
        QVERIFY(backupInstallation(ctx(), folder.path()).ok);
        m_install->clock().set(QDateTime(QDate(2024, 5, 11), QTime(8, 0)));
        QVERIFY(backupInstallation(ctx(), folder.path()).ok);
        QList<BackupSet> sets = listBackups(folder.path(), ctx().engine);
        QCOMPARE(sets.size(), 3);
        QCOMPARE(sets.first().when.date(), QDate(2024, 5, 11));
        QVERIFY(sets[1].path != sets[2].path);
        const QString removed = sets[1].path;
        QVERIFY(removeBackup(sets[1]));
        QVERIFY(!QFileInfo::exists(removed));
        sets = listBackups(folder.path(), ctx().engine);
        QCOMPARE(sets.size(), 2);
        QVERIFY(listBackups(QString(), ctx().engine).isEmpty());
    }

    // A backup that fails says so in Korean and leaves nothing behind.
    void failureLeavesNothing()
    {
        QTemporaryDir dir;
        // The folder is a file.
        const QString file = dir.filePath("not-a-folder");
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("x");
        f.close();
        const BackupResult r1 = backupInstallation(ctx(), file);
        QVERIFY(!r1.ok);
        QVERIFY(r1.text.startsWith("백업 폴더를 만들 수 없습니다."));
        QCOMPARE(r1.title, QString("자료백업"));
        QCOMPARE(QFileInfo(file).size(), 1);

        // No folder chosen.
        QCOMPARE(backupInstallation(ctx(), "  ").text, QString("데이터 베이스 백업경로가 설정 되어 있지 않습니다."));

        // Stopped part-way, after the first files were written: they go again.
        const QString folder = dir.filePath("stopped");
        int calls = 0;
        const BackupResult r2 = backupInstallation(ctx(), folder, BackupReason::Manual, [&](int done, int total) {
            ++calls;
            return !(done > 0 && done < total);
        });
        QVERIFY(!r2.ok);
        QCOMPARE(r2.text, QString("백업을 중단하였습니다."));
        QCOMPARE(calls, 1);
        QCOMPARE(filesUnder(folder), QStringList{});
        QVERIFY(listBackups(folder, ctx().engine).isEmpty());
    }

    // The disk fills up: on a small file system the copies cannot be written.
    void diskFull()
    {
        if (!sqliteOnly())
            QSKIP("the server's archive is written by pg_dump; the file databases show the case");
        QTemporaryDir dir;
        const QByteArray mountPoint = QFile::encodeName(dir.path());
        if (::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=256k") != 0)
            QSKIP("no permission to mount a small file system here");
        const BackupResult r = backupInstallation(ctx(), dir.path());
        const QStringList left = filesUnder(dir.path());
        ::umount(mountPoint.constData());
        QVERIFY(!r.ok);
        QVERIFY2(r.text.contains("공간이 부족"), qPrintable(r.text));
        QCOMPARE(left, QStringList{});
    }

    // Refused before anything changes: a damaged backup, a backup of a newer
    // program, a backup of the other engine.
    void restoreRefusals()
    {
        QTemporaryDir folder;
        m_install->clock().set(QDateTime(QDate(2024, 5, 12), QTime(7, 0)));
        const BackupResult b = backupInstallation(ctx(), folder.path());
        QVERIFY(b.ok);
        addMember(ctx().main, "00000077", "나중회원");
        const QMap<QString, QStringList> now = everyTable(ctx());

        BackupSet other = b.set;
        other.engine = ctx().engine == Engine::SQLite ? Engine::PostgreSQL : Engine::SQLite;
        QCOMPARE(restoreInstallation(ctx(), other, folder.path()).text,
                 QString("다른 종류의 데이터베이스에서 만든 백업이라 복원할 수 없습니다."));

        BackupSet newer = b.set;
        if (sqliteOnly()) {
            sqlitefiles::Connection c(QDir(b.set.path).filePath("BAK_DbMain.db"), false);
            c.exec("UPDATE DbVersion SET Version = 999");
        } else {
            newer.schemaVersion = 999;
        }
        QCOMPARE(restoreInstallation(ctx(), newer, folder.path()).text,
                 QString("새 버전의 프로그램에서 만든 백업이라 복원할 수 없습니다."));

        // Damaged: the copy cut in half.
        const BackupResult b2 = backupInstallation(ctx(), folder.path());
        QVERIFY(b2.ok);
        const QString victim = sqliteOnly() ? QDir(b2.set.path).filePath("BAK_DbMain.db") : b2.set.path;
        QFile v(victim);
        QVERIFY(v.resize(v.size() / 2));
        const RestoreResult damaged = restoreInstallation(ctx(), b2.set, folder.path());
        QVERIFY(!damaged.ok);
        QVERIFY2(damaged.text.startsWith("백업 파일이 손상되어 복원할 수 없습니다."), qPrintable(damaged.text));

        QCOMPARE(everyTable(ctx()), now);
        // No safety copy was made for a refused restore.
        QCOMPARE(listBackups(folder.path(), ctx().engine).size(), 2);
        ctx().main.exec("DELETE FROM Member WHERE MbCode = '00000077'");
    }

    // Another workstation working on the data: no restore until it has gone.
    void refusedOverAnotherSession()
    {
        QTemporaryDir folder;
        m_install->clock().set(QDateTime(QDate(2024, 5, 13), QTime(7, 0)));
        const BackupResult b = backupInstallation(ctx(), folder.path());
        QVERIFY(b.ok);
        addMember(ctx().main, "00000088", "다른회원");
        const QMap<QString, QStringList> now = everyTable(ctx());

        std::unique_ptr<AppContext> desk2;
        QProcess other;
        if (sqliteOnly()) {
            // A program of another process with the main file open.
            other.start("sqlite3", {ctx().paths.mainDb});
            if (!other.waitForStarted(5000))
                QSKIP("the sqlite3 shell is not installed");
            other.write("SELECT 'ready', COUNT(*) FROM Member;\n");
            QVERIFY(other.waitForReadyRead(5000));
            QVERIFY(other.readAll().startsWith("ready"));
        } else {
            desk2 = m_install->openWorkstation("DESK2");
        }
        const RestoreResult refused = restoreInstallation(ctx(), b.set, folder.path());
        QVERIFY(!refused.ok);
        QVERIFY2(refused.text.startsWith("다른 컴퓨터에서 프로그램을 사용중입니다."), qPrintable(refused.text));
        QCOMPARE(everyTable(ctx()), now);
        QCOMPARE(listBackups(folder.path(), ctx().engine).size(), 1);

        if (sqliteOnly()) {
            other.write(".quit\n");
            other.closeWriteChannel();
            QVERIFY(other.waitForFinished(5000));
        } else {
            desk2.reset();
        }
        // The server ends a closed session's process a moment after the
        // client has gone: until then it still counts as another desk.
        RestoreResult r = restoreInstallation(ctx(), b.set, folder.path());
        for (int i = 0; i < 100 && !r.ok && !sqliteOnly() && r.text.startsWith("다른 컴퓨터에서"); ++i) {
            QThread::msleep(50);
            r = restoreInstallation(ctx(), b.set, folder.path());
        }
        QVERIFY2(r.ok, qPrintable(r.text + " " + r.detail));
        QCOMPARE(ctx().main.scalar("SELECT COUNT(*) FROM Member WHERE MbCode = '00000088'").toInt(), 0);
    }

    void counts()
    {
        const BackupCounts c = countData(ctx().main);
        QCOMPARE(c.members, ctx().main.scalar("SELECT COUNT(*) FROM Member").toLongLong());
        QCOMPARE(c.enrollments, ctx().main.scalar("SELECT COUNT(*) FROM Lecture WHERE LtGubun = '1'").toLongLong());
    }
};

QTEST_GUILESS_MAIN(TstBackup)
#include "tst_backup.moc"
