// FITROVA_DB_TEST
// Desks die where they stand: worker processes do a mixture of desk work
// (enrollments with and without points, refunds, payments, postponements,
// class changes, transfers, goods, new members, the gate) on one centre and
// are killed with SIGKILL at random moments, many times over, each replaced
// by a fresh desk. Afterwards every invariant must hold: every paid row has
// its ledger row, balances equal their ledgers, nothing is refunded twice,
// no visit beyond the daily limit, and the database files are sound.
// FITROVA_SOAK=1 kills five times as often.

#include "desks.h"
#include "testinstall.h"
#include "../enrollment/enrollbuilders.h"

#include "enrollment/enrollment.h"
#include "foundation/connections.h"

#include <QRandomGenerator>
#include <QStandardPaths>
#include <QThread>
#include <QtTest>

using namespace fitrova;
using namespace fitrova::test;

namespace {
const QDate kToday(2024, 5, 10);
}

class TestCrash : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The moment that matters on the file databases, made to happen: a desk
    // saves an enrollment with points (main file and point file) and is
    // killed as it starts writing the point file, after the main file has
    // committed (strace stops it at that file's first write).
    void deskKilledBetweenTheFilesCommits()
    {
        if (testEngine() != Engine::SQLite)
            QSKIP("the server commits one database");
        const QString strace = QStandardPaths::findExecutable(QStringLiteral("strace"));
        if (strace.isEmpty())
            QSKIP("strace is not installed (scripts/install-deps.sh installs it)");
        TestInstall inst;
        inst.clock().set(QDateTime(kToday, QTime(9, 0)));
        setDeskOptions(inst.ctx());
        const Db &db = inst.db();
        const qint64 program = addProgram(db, QStringLiteral("아침수영"));
        addEnrollMember(db, QStringLiteral("K0000001"), QStringLiteral("김영희"));

        DeskProcess desk(inst.installDir(), QStringLiteral("DESK1"), kToday);
        QVERIFY(desk.waitReady());
        QProcess tracer;
        tracer.setProgram(strace);
        tracer.setArguments({QStringLiteral("-p"), QString::number(desk.pid()), QStringLiteral("-P"),
                             inst.ctx().paths.pointDb + QStringLiteral("-wal"), QStringLiteral("-e"),
                             QStringLiteral("trace=write,pwrite64,writev,pwritev"), QStringLiteral("-e"),
                             QStringLiteral("inject=write,pwrite64,writev,pwritev:signal=KILL:when=1")});
        tracer.setProcessChannelMode(QProcess::MergedChannels);
        tracer.start();
        // strace says when it holds the desk.
        QByteArray said;
        while (!said.contains("attached") && tracer.waitForReadyRead(10000))
            said += tracer.readAll();
        if (!said.contains("attached"))
            QSKIP(qPrintable(QStringLiteral("strace cannot trace here: ") + QString::fromUtf8(said)));

        desk.send({QStringLiteral("enroll"), QStringLiteral("K0000001"), QString::number(program), QStringLiteral("1"),
                   QStringLiteral("60000"), kToday.toString(Qt::ISODate), kToday.toString(Qt::ISODate),
                   kToday.addMonths(1).addDays(-1).toString(Qt::ISODate), QStringLiteral("60000")});
        QCOMPARE(desk.reply(), QString()); // it died before answering
        tracer.waitForFinished(10000);

        // Read outside any transaction: the main file's part stands, the point
        // file's part does not.
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM Lecture WHERE MbCode = 'K0000001'")).toInt(), 1);
        QCOMPARE(db.scalar(QStringLiteral("SELECT Point FROM Member WHERE MbCode = 'K0000001'")).toInt(), 3000);
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM UserPoint WHERE MbCode = 'K0000001'")).toInt(), 0);
        // The next action on any desk completes it first.
        db.transaction([] {});
        QCOMPARE(db.scalar(QStringLiteral("SELECT uPoint FROM UserPoint WHERE MbCode = 'K0000001'")).toInt(), 3000);
        const QStringList faults = allFaults(db, 1);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.value(0)));
    }

    void killedDesksLeaveNothingHalfWritten()
    {
        TestInstall inst;
        inst.clock().set(QDateTime(kToday, QTime(9, 0)));
        setDeskOptions(inst.ctx());
        const Db &db = inst.db();
        const qint64 program = addProgram(db, QStringLiteral("아침수영"));
        addProgram(db, QStringLiteral("저녁수영"));
        addItem(db, QStringLiteral("수경"), 3000);
        for (int i = 1; i <= 24; ++i) {
            const QString code = QStringLiteral("C%1").arg(i, 7, 10, QLatin1Char('0'));
            addEnrollMember(db, code, QStringLiteral("회원%1").arg(i), 30, QStringLiteral("남"),
                            QStringLiteral("5%1").arg(i, 7, 10, QLatin1Char('0')));
            EnrollmentInput in;
            in.mbCode = code;
            in.pgid = program;
            in.monthCnt = 1;
            in.fee = 60000;
            in.rqDate = in.sDate1 = kToday.toString(Qt::ISODate);
            in.sDate2 = kToday.addMonths(1).addDays(-1).toString(Qt::ISODate);
            in.cashAmt = 60000;
            QVERIFY(saveEnrollment(inst.ctx(), in).saved);
        }

        const int kills = 30 * soakFactor();
        QRandomGenerator rng(20240510);
        std::vector<std::unique_ptr<DeskProcess>> desks;
        int started = 0;
        auto startDesk = [&] {
            ++started;
            auto d = std::make_unique<DeskProcess>(inst.installDir(), QStringLiteral("DESK%1").arg(started), kToday,
                                                   QStringList{QStringLiteral("--mix"), QString::number(rng.generate())});
            return d;
        };
        for (int i = 0; i < 3; ++i)
            desks.push_back(startDesk());
        // SQLite: transactions over several files whose main file had
        // committed when their desk died, completed by the next desk.
        int actions = 0, errors = 0, halfCommitted = 0;
        QStringList errorSamples;
        auto tally = [&](DeskProcess &d) {
            for (const QString &a : d.replies()) {
                if (saved(a))
                    ++actions;
                else if (a == QLatin1String("completed"))
                    ++halfCommitted;
                else if (a.startsWith(QLatin1String("error"))) {
                    ++errors;
                    if (errorSamples.size() < 5)
                        errorSamples << a;
                }
            }
        };
        for (int k = 0; k < kills; ++k) {
            // Let the desks work a while, then one of them dies mid-stride.
            QThread::msleep(40 + rng.bounded(160));
            auto &victim = desks[rng.bounded(quint32(desks.size()))];
            // A desk still connecting has nothing to lose yet: it dies once it works.
            victim->waitForOutput();
            victim->kill();
            tally(*victim);
            victim = startDesk();
            for (auto &d : desks)
                tally(*d);
        }
        for (auto &d : desks) {
            d->kill();
            tally(*d);
        }
        desks.clear();

        // A new action settles whatever a dead desk left behind, as the next
        // desk to work would.
        inst.ctx().closeConnections();
        const int atStart = Db::completedCrossFileTransactions();
        AppContext after(inst.installDir());
        QVERIFY(!connectDatabases(after));
        halfCommitted += Db::completedCrossFileTransactions() - atStart;
        const int before = Db::completedCrossFileTransactions();
        after.main.transaction([] {});
        halfCommitted += Db::completedCrossFileTransactions() - before;
        const QStringList faults = allFaults(after.main, 1);
        if (after.engine == Engine::SQLite) {
            for (const QString &schema : {QStringLiteral("main"), QStringLiteral("ent"), QStringLiteral("pnt")})
                QCOMPARE(after.main.scalar(QStringLiteral("PRAGMA %1.integrity_check").arg(schema)).toString(),
                         QStringLiteral("ok"));
        }
        qInfo("%s: %d kills of %d desks, %d actions saved, %d errors, %d actions found half-committed after a kill, "
              "%lld faults",
              qPrintable(engineName()), kills, started, actions, errors, halfCommitted, qint64(faults.size()));
        for (const QString &e : errorSamples)
            qInfo("  error seen: %s", qPrintable(e));
        for (const QString &f : faults.mid(0, 10))
            qWarning("%s", qPrintable(f));
        QVERIFY(actions > 0);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.value(0)));
    }
};

QTEST_GUILESS_MAIN(TestCrash)
#include "tst_crash.moc"
