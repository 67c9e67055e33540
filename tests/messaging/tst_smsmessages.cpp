// FITROVA_DB_TEST
// The SMS account and sending on the provider's database: the customer
// login, the balance checked and reduced with the rows written (also when
// two workstations race for the last messages), whole send rows with
// personal texts, deposits moving the balance, the account administration,
// templates, the copy of fresh results (idempotent) and the history.

#include <QtTest>

#include "foundation/password.h"
#include "messaging/smsaccounts.h"
#include "messaging/smsmessages.h"
#include "messaging/smsstandin.h"
#include "smsfixture.h"

#include <QAtomicInt>
#include <thread>

using namespace fitrova;
using namespace fitrova::test;

namespace {

QStringList sendRow(const Row &r)
{
    QStringList l;
    for (const char *c : {"user_id", "sub_id", "user_tel", "custom_id", "custom_nam", "custom_tel", "msg", "typ", "y_time"})
        l << r.str(QString::fromLatin1(c));
    return l;
}

QList<QStringList> queue(const Db &db)
{
    QList<QStringList> out;
    for (const Row &r : db.query("SELECT * FROM send_zelmar ORDER BY seq"))
        out << sendRow(r);
    return out;
}

void addResult(const Db &db, const QString &custom, const QString &name, const QString &tel, const QString &result,
               const QString &sTime)
{
    db.exec("INSERT INTO result_zelmar (custom_id, user_tel, custom_nam, msg, custom_tel, result_msg, fee2, i_time, "
            "s_time) VALUES (?, '02-555-0101', ?, 'm', ?, ?, 1, ?, ?)",
            {custom, name, tel, result, sTime, sTime});
}

// Runs fn on a thread of its own with its own connections to the endpoints.
template <typename Fn>
std::thread onOwnConnection(const SmsEndpoint &e, const QString &name, Fn fn)
{
    return std::thread([e, name, fn] {
        Db db;
        if (auto why = openSmsEndpoint(e, name, db))
            qFatal("thread connection: %s", qPrintable(*why));
        fn(db);
        db = Db();
        closeSmsConnection(name);
    });
}

} // namespace

class TstSmsMessages : public QObject {
    Q_OBJECT
    TestInstall m_inst;
    std::unique_ptr<SmsProviderFixture> m_sms;
    const QDateTime m_now{QDate(2024, 5, 10), QTime(9, 0)};

    const Db &db() const { return m_sms->primary(); }
    const SmsLogin &account() const { return m_sms->desk->login; }
    SmsSendReport send(const QList<SmsMessage> &m, const QString &at = {})
    {
        return sendSmsMessages(db(), QStringLiteral("zelmar"), account(), m, at, m_now);
    }

private slots:
    void initTestCase() { m_sms = std::make_unique<SmsProviderFixture>(m_inst); }
    void cleanupTestCase() { m_sms.reset(); }
    void init() { m_sms->reset(100); }

    void login_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<int>("field");
        QTest::newRow("no id") << "" << "pw1234" << "아이디와 비밀번호를 입력해주세요." << kSmsLoginIdField;
        QTest::newRow("no password") << "centre" << "" << "아이디와 비밀번호를 입력해주세요." << kSmsLoginPasswordField;
        QTest::newRow("unknown id") << "nobody" << "pw1234"
                                    << "등록되지 않은 아이디입니다..업체에 문의하여 ID와 Password를 부여받기 바랍니다."
                                    << kSmsLoginIdField;
        QTest::newRow("case differs") << "centre" << "PW1234" << "해당 아이디에 비밀번호가 맞지 않습니다."
                                      << kSmsLoginPasswordField;
        QTest::newRow("right") << " centre " << "pw1234" << "" << 0;
    }
    void login()
    {
        QFETCH(QString, id);
        QFETCH(QString, password);
        QFETCH(QString, refusal);
        QFETCH(int, field);
        const SmsLoginResult r = smsCustomerLogin(db(), id, password);
        QCOMPARE(r.outcome.saved, refusal.isEmpty());
        if (!refusal.isEmpty()) {
            QCOMPARE(r.outcome.last().text, refusal);
            QCOMPARE(r.outcome.field, field);
            QVERIFY(!r.login.loggedIn());
            return;
        }
        QCOMPARE(r.login.customId, QString("centre"));
        QCOMPARE(r.login.customName, QString("바다스포츠"));
        QCOMPARE(r.login.customTel, QString("02-555-0101"));
        QCOMPARE(r.login.subId, QString("centre"));
    }

    // A password an older administration left in plain text works once and is hashed then.
    void plainPasswordIsRehashed()
    {
        db().exec("INSERT INTO tblMember (custom_id, custom_pwd, custom_nam, custom_Tel, Sub_id) "
                  "VALUES ('old', 'abc', '옛센터', '02-1', 'old')");
        QVERIFY(smsCustomerLogin(db(), "old", "abc").outcome.saved);
        const QString stored = db().scalar("SELECT custom_pwd FROM tblMember WHERE custom_id = 'old'").toString();
        QVERIFY(isPasswordHash(stored));
        QVERIFY(smsCustomerLogin(db(), "old", "abc").outcome.saved);
        QVERIFY(!smsCustomerLogin(db(), "old", "abd").outcome.saved);
    }

    void loginIsCounted()
    {
        countSmsLogin(db(), "centre", m_now);
        countSmsLogin(db(), "centre", m_now.addSecs(61));
        const auto r = db().queryOne("SELECT loginN, loginD FROM tblMember WHERE custom_id = 'centre'");
        QCOMPARE(r->num("loginN"), 2);
        QCOMPARE(r->str("loginD"), QString("2024-05-10 09:01:01"));
    }

    // Every row as the provider reads it; the recipient's own text and name;
    // a number that fails the check is counted as failed and costs nothing.
    void bulkSendWritesWholeRows()
    {
        const QList<SmsRecipient> to{{"1", "홍길동", "0161234567", "2024-05-31"},
                                     {"2", "O'Brien", "010-9876-5432", "2024-06-01"},
                                     {"3", "김철수", "02-123-4567", "2024-06-02"}};
        const QList<SmsMessage> m =
            personalMessages(to, QStringLiteral("{{이름}}님 {{날짜}} 만기 - {{사용처}}"), QStringLiteral("바다스포츠"));
        QCOMPARE(m.at(1).text, QString("O'Brien님 2024-06-01 만기 - 바다스포츠"));
        const SmsSendReport r = send(m);
        QVERIFY(r.outcome.saved);
        QCOMPARE(r.outcome.last().text, QString("문자 발송을 완료하였습니다,\n성공:2건  실패:1건\n(09:00:00)"));
        QCOMPARE(r.outcome.last().title, QString("문자전송"));
        QCOMPARE(r.written, (QList<bool>{true, true, false}));
        QCOMPARE(r.balance, 98);
        QCOMPARE(m_sms->balance(), 98);
        QCOMPARE(queue(db()),
                 (QList<QStringList>{
                     {"zelmar", "centre", "02-555-0101", "centre", "홍길동", "016-123-4567",
                      "홍길동님 2024-05-31 만기 - 바다스포츠", "1", ""},
                     {"zelmar", "centre", "02-555-0101", "centre", "O'Brien", "010-9876-5432",
                      "O'Brien님 2024-06-01 만기 - 바다스포츠", "1", ""}}));
    }

    // Text that would break a statement built from text is stored as typed.
    void hostileTextIsSentAsTyped_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("quotes") << QStringLiteral("it's \"fine\" ''");
        QTest::newRow("statement") << QStringLiteral("'); DELETE FROM tblAccount; --");
        QTest::newRow("backslash percent") << QStringLiteral("100% \\ _ 끝");
    }
    void hostileTextIsSentAsTyped()
    {
        QFETCH(QString, text);
        QVERIFY(send({{"01012345678", "a'b", text}}).outcome.saved);
        const auto row = db().queryOne("SELECT msg, custom_nam FROM send_zelmar");
        QCOMPARE(row->str("msg"), text);
        QCOMPARE(row->str("custom_nam"), QString("a'b"));
        QCOMPARE(m_sms->count("tblAccount"), 1);
    }

    // With a balance of 3, five recipients are refused with the shortfall 2; nothing is written.
    void shortfallRefusesTheWholeList()
    {
        m_sms->reset(3);
        QList<SmsMessage> five;
        for (int i = 0; i < 5; ++i)
            five << SmsMessage{QStringLiteral("0101234567%1").arg(i), "n", "t"};
        QCOMPARE(smsShortfall(db(), "centre", 5), 2);
        QCOMPARE(composeShortfallText(2), QString("2만큼의 잔여 건수가 부족합니다."));
        const SmsSendReport r = send(five);
        QVERIFY(!r.outcome.saved);
        QCOMPARE(r.outcome.last().text, QString("보낼 건수가2만큼 부족합니다."));
        QCOMPARE(m_sms->count("send_zelmar"), 0);
        QCOMPARE(m_sms->balance(), 3);
        // An account without a balance row has none.
        QCOMPARE(smsShortfall(db(), "nobody", 1), 1);
        QCOMPARE(smsBalance(db(), "nobody"), 0);
    }

    void refusalsWriteNothing_data()
    {
        QTest::addColumn<bool>("loggedIn");
        QTest::addColumn<QString>("at");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("not logged in") << false << "" << "로그인이 필요합니다.";
        QTest::newRow("reservation past") << true << "202405100859" << "예약시간이 이미 지났습니다. 예약시간을 다시 선택해주세요.";
        QTest::newRow("reservation now") << true << "202405100900" << "예약시간이 이미 지났습니다. 예약시간을 다시 선택해주세요.";
        QTest::newRow("reservation garbage") << true << "2024-05-10" << "예약시간이 올바르지 않습니다.";
    }
    void refusalsWriteNothing()
    {
        QFETCH(bool, loggedIn);
        QFETCH(QString, at);
        QFETCH(QString, refusal);
        const SmsLogin who = loggedIn ? account() : SmsLogin{};
        const SmsSendReport r = sendSmsMessages(db(), "zelmar", who, {{"01012345678", "a", "b"}}, at, m_now);
        QCOMPARE(r.outcome.last().text, refusal);
        QCOMPARE(m_sms->count("send_zelmar"), 0);
        QCOMPARE(m_sms->balance(), 100);
    }

    void singleNumber_data()
    {
        QTest::addColumn<qint64>("balance");
        QTest::addColumn<QString>("tel");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<QString>("written");
        QTest::newRow("10 digits") << qint64(5) << "0161234567" << "안녕" << "" << "016-123-4567";
        QTest::newRow("11 digits") << qint64(5) << "01012345678" << "안녕" << "" << "010-1234-5678";
        QTest::newRow("empty message") << qint64(5) << "01012345678" << "  " << "메세지 내용을 적어주십시오" << "";
        QTest::newRow("no balance") << qint64(0) << "01012345678" << "안녕" << "1만큼의 잔여 건수가 부족합니다." << "";
        QTest::newRow("no number") << qint64(5) << "" << "안녕" << "보내실 연락처를 입력해주세요." << "";
        QTest::newRow("short") << qint64(5) << "01012345" << "안녕" << "보내실 휴대폰번호가 잘못되었습니다. 확인해주세요" << "";
        QTest::newRow("landline") << qint64(5) << "0212345678" << "안녕" << "번호가 형식에 맞지 않습니다." << "";
    }
    void singleNumber()
    {
        QFETCH(qint64, balance);
        QFETCH(QString, tel);
        QFETCH(QString, text);
        QFETCH(QString, refusal);
        QFETCH(QString, written);
        m_sms->reset(balance);
        const SmsSingleReport r = sendSingleSms(db(), "zelmar", account(), tel, text);
        QCOMPARE(r.outcome.saved, refusal.isEmpty());
        if (!refusal.isEmpty()) {
            QCOMPARE(r.outcome.last().text, refusal);
            QCOMPARE(m_sms->count("send_zelmar"), 0);
            QCOMPARE(m_sms->balance(), balance);
            return;
        }
        QCOMPARE(r.logLine, QString("SMS OK 즉시발송"));
        QCOMPARE(r.balance, balance - 1);
        QCOMPARE(m_sms->balance(), balance - 1);
        QCOMPARE(queue(db()), (QList<QStringList>{{"zelmar", "centre", "02-555-0101", "centre", "바다스포츠", written,
                                                   text, "1", ""}}));
    }

    // Two workstations send one message at a time until the balance is used
    // up: together they write exactly the balance, never more.
    void racersNeverOverdraw()
    {
        m_sms->reset(40);
        QAtomicInt sent;
        const SmsLogin who = account();
        auto racer = [&](const Db &mine) {
            for (;;) {
                const SmsSendReport r = sendSmsMessages(mine, "zelmar", who, {{"01012345678", "a", "b"}}, {}, m_now);
                if (!r.outcome.saved)
                    break;
                sent.fetchAndAddRelaxed(r.sent);
            }
        };
        std::thread a = onOwnConnection(m_sms->config.primary, "racer_a", racer);
        std::thread b = onOwnConnection(m_sms->config.primary, "racer_b", racer);
        a.join();
        b.join();
        QCOMPARE(sent.loadRelaxed(), 40);
        QCOMPARE(m_sms->count("send_zelmar"), 40);
        QCOMPARE(m_sms->balance(), 0);
    }

    // Bulk sends racing for the last messages: one of 7 and 7 with 10 left.
    void bulkRacersOneWins()
    {
        m_sms->reset(10);
        QList<SmsMessage> seven;
        for (int i = 0; i < 7; ++i)
            seven << SmsMessage{"01012345678", "a", "b"};
        QAtomicInt winners;
        const SmsLogin who = account();
        auto racer = [&](const Db &mine) {
            if (sendSmsMessages(mine, "zelmar", who, seven, {}, m_now).outcome.saved)
                winners.fetchAndAddRelaxed(1);
        };
        std::thread a = onOwnConnection(m_sms->config.primary, "bulk_a", racer);
        std::thread b = onOwnConnection(m_sms->config.primary, "bulk_b", racer);
        a.join();
        b.join();
        QCOMPARE(winners.loadRelaxed(), 1);
        QCOMPARE(m_sms->count("send_zelmar"), 7);
        QCOMPARE(m_sms->balance(), 3);
    }

    // A deposit changed from 100 to 150 messages raises the balance by 50;
    // deleting it takes its messages off again.
    void depositsMoveTheBalance()
    {
        SmsDeposit d{0, "centre", "2024-05-01", 20000, 100, 0};
        const Outcome added = saveSmsDeposit(db(), d);
        QVERIFY(added.saved);
        QCOMPARE(m_sms->balance(), 200);
        d.idx = added.id;
        d.messages = 150;
        d.amount = 30000;
        QVERIFY(saveSmsDeposit(db(), d).saved);
        QCOMPARE(m_sms->balance(), 250);
        const QList<SmsDeposit> list = smsDeposits(db(), "centre");
        QCOMPARE(list.size(), 1);
        QCOMPARE(list.at(0).messages, 150);
        QCOMPARE(list.at(0).amount, 30000);
        QCOMPARE(list.at(0).balanceAfter, 250);
        QCOMPARE(list.at(0).date, QString("2024-05-01"));
        QVERIFY(deleteSmsDeposit(db(), d.idx).saved);
        QCOMPARE(m_sms->balance(), 100);
        QCOMPARE(m_sms->count("tblReceipt"), 0);
        QCOMPARE(deleteSmsDeposit(db(), d.idx).last().text, QString("해당 입금자료가 없습니다."));
    }

    // An account without a balance row gets one with the deposit's messages.
    void firstDepositCreatesTheBalance()
    {
        QVERIFY(saveSmsDeposit(db(), SmsDeposit{0, "newbie", "2024-05-02", 5000, 30, 0}).saved);
        QCOMPARE(smsBalance(db(), "newbie"), 30);
        QVERIFY(saveSmsDeposit(db(), SmsDeposit{0, "newbie", "2024-05-03", 5000, 20, 0}).saved);
        QCOMPARE(smsBalance(db(), "newbie"), 50);
    }

    void depositRefusals_data()
    {
        QTest::addColumn<qint64>("amount");
        QTest::addColumn<qint64>("messages");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("no messages") << qint64(1000) << qint64(0) << "충전건수를 입력하세요";
        QTest::newRow("negative amount") << qint64(-1) << qint64(10) << "충전금액을 입력하세요";
    }
    void depositRefusals()
    {
        QFETCH(qint64, amount);
        QFETCH(qint64, messages);
        QFETCH(QString, refusal);
        QCOMPARE(saveSmsDeposit(db(), SmsDeposit{0, "centre", "2024-05-01", amount, messages, 0}).last().text, refusal);
        QCOMPARE(m_sms->balance(), 100);
    }

    void accounts()
    {
        SmsAccount a;
        a.customId = "gym2";
        a.name = "제2센터";
        a.tel = "031-111-2222";
        a.hp = "010-1111-2222";
        QCOMPARE(saveSmsAccount(db(), a, "", true).last().text, QString("패스워드는 필수 입력항목 입니다"));
        const Outcome added = saveSmsAccount(db(), a, "secret", true);
        QVERIFY(added.saved);
        const QString stored = db().scalar("SELECT custom_pwd FROM tblMember WHERE custom_id = 'gym2'").toString();
        QVERIFY(isPasswordHash(stored));
        QVERIFY(smsCustomerLogin(db(), "gym2", "secret").outcome.saved);
        QCOMPARE(saveSmsAccount(db(), a, "x", true).last().text, QString("이미 등록된 아이디입니다."));

        // A change keeps the id (its balance hangs on it) and, left empty, the password.
        SmsAccount changed = smsAccount(db(), added.id);
        QCOMPARE(changed.subId, QString("gym2"));
        changed.customId = "other";
        changed.name = "제2센터(수정)";
        QVERIFY(saveSmsAccount(db(), changed, "", false).saved);
        const SmsAccount back = smsAccount(db(), added.id);
        QCOMPARE(back.customId, QString("gym2"));
        QCOMPARE(back.name, QString("제2센터(수정)"));
        QVERIFY(smsCustomerLogin(db(), "gym2", "secret").outcome.saved);

        saveSmsDeposit(db(), SmsDeposit{0, "gym2", "2024-05-01", 1000, 7, 0});
        const QList<SmsAccount> all = smsAccounts(db());
        QCOMPARE(all.size(), 2);
        QCOMPARE(all.at(0).customId, QString("centre"));
        QCOMPARE(all.at(0).balance, 100);
        QCOMPARE(all.at(1).balance, 7);

        QVERIFY(deleteSmsAccount(db(), added.id).saved);
        QCOMPARE(smsAccounts(db()).size(), 1);
        QCOMPARE(smsBalance(db(), "gym2"), 7); // the provider's money stays
    }

    void accountRefusals_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("tel");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("id") << " " << "02-1" << "아이디는 필수 입력항목 입니다";
        QTest::newRow("tel") << "x" << "" << "전화번호는 필수 입력항목 입니다";
    }
    void accountRefusals()
    {
        QFETCH(QString, id);
        QFETCH(QString, tel);
        QFETCH(QString, refusal);
        SmsAccount a;
        a.customId = id;
        a.tel = tel;
        QCOMPARE(saveSmsAccount(db(), a, "pw", true).last().text, refusal);
    }

    void templates()
    {
        SmsTemplate t{0, "", "내용"};
        QCOMPARE(saveSmsTemplate(db(), "centre", t).last().text, QString("제목을 넣어주세요"));
        t = {0, "생일", ""};
        QCOMPARE(saveSmsTemplate(db(), "centre", t).last().text, QString("내용을 넣어주세요"));
        QString long41;
        for (int i = 0; i < 41; ++i)
            long41 += QStringLiteral("축");
        t = {0, "생일", long41};
        const Outcome added = saveSmsTemplate(db(), "centre", t);
        QVERIFY(added.saved);
        QCOMPARE(smsTemplates(db(), "centre").at(0).text, long41.left(40));

        t = {added.id, "생일2", "{{이름}}님"};
        QVERIFY(saveSmsTemplate(db(), "centre", t).saved);
        QCOMPARE(smsTemplates(db(), "centre").at(0).title, QString("생일2"));
        // Another customer's template is not theirs to change or delete.
        QCOMPARE(saveSmsTemplate(db(), "intruder", t).last().text, QString("해당 데이타 업데이트가 되지 않았습니다."));
        deleteSmsTemplate(db(), "intruder", added.id);
        QCOMPARE(smsTemplates(db(), "centre").size(), 1);
        QVERIFY(smsTemplates(db(), "intruder").isEmpty());
        deleteSmsTemplate(db(), "centre", added.id);
        QVERIFY(smsTemplates(db(), "centre").isEmpty());
    }

    void history_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<int>("by");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("names");
        const int all = int(SmsHistoryKind::All), ok = int(SmsHistoryKind::Success), err = int(SmsHistoryKind::Error);
        const int name = int(SmsSearchBy::Name), number = int(SmsSearchBy::Number);
        QTest::newRow("month, newest first") << all << "2024-05-01" << "2024-05-31" << name << ""
                                             << QStringList{"라", "다", "나", "가"};
        QTest::newRow("successes") << ok << "2024-05-01" << "2024-05-31" << name << "" << QStringList{"라", "나", "가"};
        QTest::newRow("errors, null result too") << err << "2024-05-01" << "2024-05-31" << name << ""
                                                 << QStringList{"다"};
        QTest::newRow("last day whole") << all << "2024-05-31" << "2024-05-31" << name << "" << QStringList{"라"};
        QTest::newRow("first day") << all << "2024-05-01" << "2024-05-01" << name << "" << QStringList{"가"};
        QTest::newRow("by name") << all << "2024-05-01" << "2024-06-30" << name << "나" << QStringList{"나"};
        QTest::newRow("percent is literal") << all << "2024-04-01" << "2024-06-30" << name << "%"
                                            << QStringList{"100%"};
        QTest::newRow("number without hyphens") << all << "2024-05-01" << "2024-05-31" << number << "98765432"
                                                << QStringList{"나"};
        QTest::newRow("number with hyphens") << all << "2024-05-01" << "2024-05-31" << number << "1111-2222"
                                             << QStringList{"가"};
    }
    void history()
    {
        QFETCH(int, kind);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(int, by);
        QFETCH(QString, text);
        QFETCH(QStringList, names);
        db().transaction([&] {
            addResult(db(), "centre", "가", "010-1111-2222", "성공", "2024-05-01 00:00:00");
            addResult(db(), "centre", "나", "010-9876-5432", "성공", "2024-05-15 10:00:00");
            addResult(db(), "centre", "다", "010-3333-4444", QString(), "2024-05-20 10:00:00");
            addResult(db(), "centre", "라", "010-5555-6666", "성공", "2024-05-31 23:59:59");
            addResult(db(), "centre", "마", "010-7777-8888", "성공", "2024-06-01 00:00:00");
            addResult(db(), "centre", "바", "010-7777-8888", "성공", "2024-04-30 23:59:59");
            addResult(db(), "centre", "100%", "010-1212-3434", "성공", "2024-04-15 12:00:00");
            addResult(db(), "other", "가", "010-1111-2222", "성공", "2024-05-15 10:00:00");
        });
        SmsHistoryQuery q;
        q.customId = "centre";
        q.kind = SmsHistoryKind(kind);
        q.from = from;
        q.to = to;
        q.by = SmsSearchBy(by);
        q.text = text;
        QStringList got;
        for (const SmsHistoryLine &l : smsHistory(db(), q))
            got << l.customName;
        QCOMPARE(got, names);
    }

    // Fresh results come from the secondary; copying twice, or from two
    // workstations at once, never duplicates one.
    void resultsCopyIsIdempotent()
    {
        SmsProviderFixture two(m_inst, true);
        two.results().transaction([&] {
            for (int i = 0; i < 30; ++i)
                addResult(two.results(), "centre", QString::number(i), "010-1111-2222", "성공", "2024-05-10 09:00:00");
        });
        QCOMPARE(two.count("result_zelmar"), 0);
        QCOMPARE(copyNewSmsResults(two.primary(), two.results()), 30);
        QCOMPARE(copyNewSmsResults(two.primary(), two.results()), 0);
        QCOMPARE(two.count("result_zelmar"), 30);
        // The copies keep the provider's ids and every column.
        QCOMPARE(two.primary().scalar("SELECT MAX(id) FROM result_zelmar").toLongLong(),
                 two.results().scalar("SELECT MAX(id) FROM result_zelmar").toLongLong());
        QCOMPARE(two.primary().scalar("SELECT custom_nam FROM result_zelmar WHERE id = "
                                      "(SELECT MAX(id) FROM result_zelmar)").toString(),
                 QString("29"));

        two.results().transaction([&] {
            for (int i = 30; i < 230; ++i)
                addResult(two.results(), "centre", QString::number(i), "010-1111-2222", "성공", "2024-05-10 09:00:00");
        });
        QAtomicInt copied;
        auto copier = [&](const QString &tag) {
            return [&, tag](const Db &mine) {
                Db results;
                const QString name = "copy_results_" + tag;
                if (auto why = openSmsEndpoint(*two.config.secondary, name, results))
                    qFatal("%s", qPrintable(*why));
                copied.fetchAndAddRelaxed(copyNewSmsResults(mine, results));
                results = Db();
                closeSmsConnection(name);
            };
        };
        std::thread a = onOwnConnection(two.config.primary, "copy_a", copier("a"));
        std::thread b = onOwnConnection(two.config.primary, "copy_b", copier("b"));
        a.join();
        b.join();
        QCOMPARE(copied.loadRelaxed(), 200);
        QCOMPARE(two.count("result_zelmar"), 230);
        QCOMPARE(two.primary().scalar("SELECT COUNT(DISTINCT id) FROM result_zelmar").toLongLong(), 230);
        // The same database on both sides copies nothing.
        QCOMPARE(copyNewSmsResults(two.primary(), two.primary()), 0);
    }

    // A bulk send of 1,000 through the stand-in: 1,000 results, the balance
    // down by 1,000, the history of the day showing them all.
    void thousandThroughTheStandIn()
    {
        m_sms->reset(1200);
        QList<SmsRecipient> to;
        for (int i = 0; i < 1000; ++i)
            to << SmsRecipient{QString::number(i), QStringLiteral("회원%1").arg(i),
                               QStringLiteral("010-%1-%2").arg(1000 + i / 10).arg(2000 + i), "2024-05-31"};
        const SmsSendReport r = send(personalMessages(to, "{{이름}}님 안녕하세요", "바다스포츠"));
        QCOMPARE(r.sent, 1000);
        QCOMPARE(m_sms->balance(), 200);
        int taken = 0;
        for (DeliveryRound round; (round = deliverDueMessages(db(), m_sms->results(), m_now, 300)).taken > 0;)
            taken += round.taken;
        QCOMPARE(taken, 1000);
        QCOMPARE(m_sms->count("send_zelmar"), 0);
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM result_zelmar WHERE result_msg = '성공'").toLongLong(), 1000);
        SmsHistoryQuery q;
        q.customId = "centre";
        q.from = q.to = "2024-05-10";
        const QList<SmsHistoryLine> h = smsHistory(db(), q);
        QCOMPARE(h.size(), 1000);
        QCOMPARE(h.last().msg, QString("회원0님 안녕하세요"));
        QCOMPARE(h.last().customTel, QString("010-1000-2000"));
        QCOMPARE(h.last().sTime, QString("2024-05-10 09:00:00"));
    }

    // A reserved message waits in the queue until its minute has come.
    void reservationsWaitUntilDue()
    {
        QVERIFY(send({{"01012345678", "a", "예약"}}, "202405101030").outcome.saved);
        QVERIFY(send({{"01012345679", "b", "즉시"}}).outcome.saved);
        QCOMPARE(queue(db()).at(0).at(8), QString("202405101030"));
        QCOMPARE(deliverDueMessages(db(), db(), m_now).taken, 1);
        QCOMPARE(deliverDueMessages(db(), db(), QDateTime(QDate(2024, 5, 10), QTime(10, 29, 59))).taken, 0);
        QCOMPARE(deliverDueMessages(db(), db(), QDateTime(QDate(2024, 5, 10), QTime(10, 30))).taken, 1);
        const auto late = db().queryOne("SELECT msg, i_time, s_time FROM result_zelmar WHERE msg = '예약'");
        QCOMPARE(late->str("i_time"), QString("2024-05-10 10:30:00"));
        QCOMPARE(late->str("s_time"), QString("2024-05-10 10:30:00"));
        QCOMPARE(m_sms->count("send_zelmar"), 0);
    }
};

QTEST_GUILESS_MAIN(TstSmsMessages)
#include "tst_smsmessages.moc"
