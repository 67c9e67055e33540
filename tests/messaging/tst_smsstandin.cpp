// FITROVA_DB_TEST
// The provider stand-in: its tables and account, the result of each queued
// message, the queue and the results in two databases, the program
// fitrova-sms-standin (create, deliver, stop on a signal), and the demo
// installation's stand-in that the SMS login reaches out of the box.

#include <QtTest>

#include "foundation/inifile.h"
#include "messaging/smsaccounts.h"
#include "messaging/smsdesk.h"
#include "messaging/smsmessages.h"
#include "messaging/smsstandin.h"
#include "smsfixture.h"

#include <QProcess>
#include <csignal>

using namespace fitrova;
using namespace fitrova::test;

namespace {

QString standInProgram()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../src/fitrova-sms-standin");
}

// The options that name one endpoint to the stand-in program.
QStringList endpointOptions(const SmsEndpoint &e)
{
    if (e.engine == Engine::SQLite)
        return {"--sqlite", e.database};
    return {"--postgres", e.database, "--host", e.host, "--port", QString::number(e.port), "--user", e.user};
}

} // namespace

class TstSmsStandIn : public QObject {
    Q_OBJECT
    TestInstall m_inst;
    std::unique_ptr<SmsProviderFixture> m_sms;
    const QDateTime m_now{QDate(2024, 5, 10), QTime(9, 0)};

private slots:
    void initTestCase() { m_sms = std::make_unique<SmsProviderFixture>(m_inst); }
    void cleanupTestCase() { m_sms.reset(); }
    void init() { m_sms->reset(100); }

    void resultTexts_data()
    {
        QTest::addColumn<QString>("tel");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("result");
        QTest::newRow("mobile") << "010-1234-5678" << "안녕" << "성공";
        QTest::newRow("ten digits") << "016-123-4567" << "안녕" << "성공";
        QTest::newRow("landline") << "02-123-4567" << "안녕" << "번호오류";
        QTest::newRow("garbage") << "abc" << "안녕" << "번호오류";
        QTest::newRow("no number") << "" << "안녕" << "번호없음";
        QTest::newRow("no text") << "010-1234-5678" << " " << "내용없음";
    }
    // Each queued row becomes one result with the row's columns and the times.
    void resultTexts()
    {
        QFETCH(QString, tel);
        QFETCH(QString, text);
        QFETCH(QString, result);
        const Db &db = m_sms->primary();
        db.exec("INSERT INTO send_zelmar (user_id, sub_id, user_tel, custom_id, custom_nam, custom_tel, msg, typ, y_time) "
                "VALUES ('zelmar', 'centre', '02-555-0101', 'centre', '홍길동', ?, ?, '1', '')",
                {tel, text});
        const DeliveryRound r = deliverDueMessages(db, db, m_now);
        QCOMPARE(r.taken, 1);
        QCOMPARE(r.succeeded, result == "성공" ? 1 : 0);
        const auto row = db.queryOne("SELECT * FROM result_zelmar");
        QCOMPARE(row->str("custom_id"), QString("centre"));
        QCOMPARE(row->str("user_tel"), QString("02-555-0101"));
        QCOMPARE(row->str("custom_nam"), QString("홍길동"));
        QCOMPARE(row->str("custom_tel"), tel);
        QCOMPARE(row->str("msg"), text);
        QCOMPARE(row->str("result_msg"), result);
        QCOMPARE(row->num("fee2"), result == "성공" ? 1 : 0);
        QCOMPARE(row->str("i_time"), QString("2024-05-10 09:00:00"));
        QCOMPARE(row->str("s_time"), QString("2024-05-10 09:00:00"));
        QCOMPARE(m_sms->count("send_zelmar"), 0);
    }

    // With a secondary the results land there, and the desk's copy brings them over.
    void queueAndResultsApart()
    {
        SmsProviderFixture two(m_inst, true);
        QVERIFY(sendSmsMessages(two.primary(), "zelmar", two.desk->login,
                                {{"01012345678", "가", "a"}, {"01012345679", "나", "b"}}, {}, m_now)
                    .outcome.saved);
        QCOMPARE(deliverDueMessages(two.primary(), two.results(), m_now, 1).taken, 1);
        QCOMPARE(deliverDueMessages(two.primary(), two.results(), m_now, 1).taken, 1);
        QCOMPARE(deliverDueMessages(two.primary(), two.results(), m_now, 1).taken, 0);
        QCOMPARE(two.count("send_zelmar"), 0);
        QCOMPARE(two.count("result_zelmar", &two.results()), 2);
        QCOMPARE(two.count("result_zelmar"), 0);
        QCOMPARE(copyNewSmsResults(two.primary(), two.results()), 2);
    }

    // The program: --create makes the tables and the account, the loop
    // delivers what is queued, SIGTERM ends it cleanly.
    void theProgram()
    {
        QVERIFY2(QFileInfo(standInProgram()).isExecutable(), qPrintable(standInProgram()));
        QTemporaryDir dir;
        QString pgDb;
        const SmsEndpoint e = newSmsEndpoint(dir, "standin.db", &pgDb);
        if (e.engine == Engine::SQLite)
            QFile::remove(e.database); // the program makes the file itself

        QProcess create;
        create.start(standInProgram(), endpointOptions(e) + QStringList{"--create", "--account", "gym", "--password",
                                                                          "gym1234", "--balance", "25"});
        QVERIFY(create.waitForFinished(30000));
        QCOMPARE(create.exitCode(), 0);
        // A second --create refuses, touching nothing.
        create.start(standInProgram(), endpointOptions(e) + QStringList{"--create"});
        QVERIFY(create.waitForFinished(30000));
        QCOMPARE(create.exitCode(), 3);

        Db db;
        QVERIFY(!openSmsEndpoint(e, "program_check", db));
        const SmsLoginResult login = smsCustomerLogin(db, "gym", "gym1234");
        QVERIFY(login.outcome.saved);
        QCOMPARE(smsBalance(db, "gym"), 25);
        QCOMPARE(smsDeposits(db, "gym").size(), 1);
        QVERIFY(sendSmsMessages(db, "zelmar", login.login, {{"01012345678", "가", "안녕"}}, {},
                                QDateTime::currentDateTime())
                    .outcome.saved);

        QProcess loop;
        loop.start(standInProgram(), endpointOptions(e) + QStringList{"--interval", "0.05"});
        QVERIFY(loop.waitForStarted());
        QTRY_COMPARE_WITH_TIMEOUT(db.scalar("SELECT COUNT(*) FROM result_zelmar").toLongLong(), 1, 20000);
        QCOMPARE(db.scalar("SELECT result_msg FROM result_zelmar").toString(), QString("성공"));
        QCOMPARE(db.scalar("SELECT COUNT(*) FROM send_zelmar").toLongLong(), 0);
        ::kill(pid_t(loop.processId()), SIGTERM);
        QVERIFY(loop.waitForFinished(20000));
        QCOMPARE(loop.exitStatus(), QProcess::NormalExit);
        QCOMPARE(loop.exitCode(), 0);
        QVERIFY(QString::fromUtf8(loop.readAllStandardOutput()).contains("마칩니다 (1건)"));

        db = Db();
        closeSmsConnection("program_check");
        if (!pgDb.isEmpty())
            TestInstall::dropServerDatabase(pgDb);
    }

    // The demo installation's stand-in: configured in [SMS], the demo account
    // logs in with its balance and templates.
    void demoStandIn()
    {
        TestInstall inst;
        setUpDemoSmsStandIn(inst.ctx());
        QVERIFY(QFileInfo::exists(demoSmsStandInFile(inst.ctx())));
        const IniFile ini(Paths::iniPathFor(inst.installDir()));
        QCOMPARE(ini.value("SMS", "PrimaryEngine"), QString("sqlite"));
        QCOMPARE(ini.value("DATABASE", "Type").isEmpty(), false);
        SmsDesk desk;
        QVERIFY(!desk.connect(inst.ctx()));
        QVERIFY(desk.link.providerLogin());
        const SmsLoginResult r = smsCustomerLogin(desk.link.primary(), "demo", "demo1234");
        QVERIFY(r.outcome.saved);
        QCOMPARE(smsBalance(desk.link.primary(), r.login.subId), 1000);
        QCOMPARE(smsTemplates(desk.link.primary(), "demo").size(), 2);
        // Run again: the file is kept as it is.
        desk.link.primary().exec("UPDATE tblAccount SET M_PastG = 7");
        setUpDemoSmsStandIn(inst.ctx());
        QCOMPARE(smsBalance(desk.link.primary(), "demo"), 7);
    }

    // SMS without a configured connection is off; a missing file is not created.
    void unconfiguredOrMissing()
    {
        TestInstall inst;
        SmsDesk desk;
        QVERIFY(!SmsDesk::configured(inst.ctx()));
        QVERIFY(desk.connect(inst.ctx()).has_value());
        SmsConfig c;
        c.primary.database = inst.installDir() + "/nowhere.db";
        writeSmsConfig(IniFile(Paths::iniPathFor(inst.installDir())), c);
        QVERIFY(SmsDesk::configured(inst.ctx()));
        QVERIFY(desk.connect(inst.ctx()).value().contains("nowhere.db"));
        QVERIFY(!QFileInfo::exists(c.primary.database));
        QVERIFY(!desk.link.providerLogin());
    }
};

QTEST_GUILESS_MAIN(TstSmsStandIn)
#include "tst_smsstandin.moc"
