// FITROVA_DB_TEST
// The cash book on the database: account numbering by kind, the refusals of
// the account, description and entry inputs, entries stored in the column of
// their kind, running balances, the balance brought forward (every earlier
// entry, whatever the filter) and a month whose balance carries into the next.

#include <QtTest>

#include "closing/cashbook.h"
#include "testinstall.h"

using namespace fitrova;
using namespace fitrova::test;

namespace {

Outcome account(const Db &db, const char *kind, const QString &code, const QString &name, const char *pay = "1")
{
    return saveCashAccount(db, CashAccount{QString::fromLatin1(kind), code, name, QString::fromLatin1(pay)});
}

qint64 entry(const Db &db, const QString &date, const QString &code, qint64 amount, const QString &text = {})
{
    const Outcome o = saveCashEntry(db, CashEntryInput{0, date, code, amount, text});
    if (!o.saved)
        qFatal("entry refused: %s", qPrintable(o.last().text));
    return o.id;
}

} // namespace

class TstCashBook : public QObject {
    Q_OBJECT
    std::unique_ptr<TestInstall> m_install;
    const Db &db() { return m_install->db(); }

    void clear()
    {
        db().exec("DELETE FROM 수입지출");
        db().exec("DELETE FROM 적요코드");
        db().exec("DELETE FROM 계정과목");
    }
    // Accounts used by the entry tests: 100 회비 (cash income), 101 카드수입
    // (card income), 200 임대료 (cash expense).
    void standardAccounts()
    {
        clear();
        QVERIFY(account(db(), "1", "100", "회비").saved);
        QVERIFY(account(db(), "1", "101", "카드수입", "2").saved);
        QVERIFY(account(db(), "2", "200", "임대료").saved);
    }

private slots:
    void initTestCase() { m_install = std::make_unique<TestInstall>(); }
    void cleanupTestCase() { m_install.reset(); }

    void accountCodes_data()
    {
        QTest::addColumn<QStringList>("existing"); // "kind:code" already stored
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("next");
        QTest::newRow("first income") << QStringList{} << "1" << "100";
        QTest::newRow("second income") << QStringList{"1:100"} << "1" << "101";
        QTest::newRow("first expense beside incomes") << QStringList{"1:100", "1:101"} << "2" << "200";
        QTest::newRow("highest counts, not the latest") << QStringList{"1:100", "1:107", "1:103"} << "1" << "108";
        QTest::newRow("a short hand-typed code is ignored") << QStringList{"1:100", "1:99"} << "1" << "101";
        QTest::newRow("the hundred is full") << QStringList{"1:199"} << "1" << "";
        QTest::newRow("no such kind") << QStringList{} << "3" << "";
    }
    void accountCodes()
    {
        QFETCH(QStringList, existing);
        QFETCH(QString, kind);
        QFETCH(QString, next);
        clear();
        for (const QString &e : existing)
            db().exec("INSERT INTO 계정과목 (과목코드, 과목명, 과목구분, 금액구분) VALUES (?, 'x', ?, '1')",
                      {e.section(':', 1), e.section(':', 0, 0)});
        QCOMPARE(nextCashAccountCode(db(), kind), next);
    }

    void accountRefusals_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("field");
        const int code = int(CashAccountField::Code), name = int(CashAccountField::Name);
        QTest::newRow("no code") << "1" << " " << "회비" << "과목코드를 입력하셔야 합니다." << code;
        QTest::newRow("no name") << "1" << "100" << "" << "과목명을 입력하셔야 합니다." << name;
        QTest::newRow("code of four") << "1" << "1000" << "회비" << "3자리를 넘을수 없습니다." << code;
        QTest::newRow("name of thirteen") << "1" << "100" << "가나다라마바사아자차카타파" << "과목명의 최대글수는 12자를 넘을수 없습니다."
                                          << name;
        QTest::newRow("code of the other kind") << "2" << "100" << "임대료" << "이미 수입 계정으로 등록된 과목코드입니다." << code;
    }
    void accountRefusals()
    {
        QFETCH(QString, kind);
        QFETCH(QString, code);
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(int, field);
        clear();
        QVERIFY(account(db(), "1", "100", "회비").saved);
        const Outcome o = saveCashAccount(db(), CashAccount{kind, code, name, "1"});
        QVERIFY(!o.saved);
        QCOMPARE(o.last().text, text);
        QCOMPARE(o.field, field);
        QCOMPARE(listCashAccounts(db()), (QList<CashAccount>{{"1", "100", "회비", "1"}}));
    }

    void accountChangeAndDelete()
    {
        standardAccounts();
        // Twelve Hangul syllables is the longest name.
        const Outcome changed = account(db(), "1", "100", "가나다라마바사아자차카타", "2");
        QVERIFY(changed.saved);
        QCOMPARE(changed.last().text, QString("저장되었읍니다"));
        QCOMPARE(*findCashAccount(db(), "100"), (CashAccount{"1", "100", "가나다라마바사아자차카타", "2"}));
        QCOMPARE(listCashAccounts(db(), "2"), (QList<CashAccount>{{"2", "200", "임대료", "1"}}));

        // An account with entries stays; its descriptions go with it when it has none.
        QVERIFY(saveCashDescription(db(), "200", 0, "사무실 임대료").saved);
        entry(db(), "2024-05-02", "100", 30000);
        const Outcome used = deleteCashAccount(db(), "1", "100");
        QVERIFY(!used.saved);
        QVERIFY(findCashAccount(db(), "100").has_value());
        QVERIFY(deleteCashAccount(db(), "2", "200").saved);
        QVERIFY(!findCashAccount(db(), "200"));
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM 적요코드 WHERE 과목코드 = '200'").toInt(), 0);
    }

    void descriptions()
    {
        standardAccounts();
        const Outcome first = saveCashDescription(db(), "200", 0, "사무실 임대료");
        const Outcome second = saveCashDescription(db(), "200", 0, "창고 임대료");
        const Outcome other = saveCashDescription(db(), "100", 0, "월회비");
        QCOMPARE(first.id, 1);
        QCOMPARE(second.id, 2);
        QCOMPARE(other.id, 1);
        QVERIFY(saveCashDescription(db(), "200", 1, "본관 임대료").saved);
        QCOMPARE(saveCashDescription(db(), "200", 0, QString(31, QChar(u'가'))).last().text,
                 QString("적요의 최대글수는 30자를 넘을수 없습니다."));
        QCOMPARE(saveCashDescription(db(), "999", 0, "없는 과목").last().text, QString("등록되지 않은 과목코드 입니다."));
        QCOMPARE(saveCashDescription(db(), "200", 9, "없는 번호").last().text, QString("자료가 수정되지 않았습니다 "));
        QVERIFY(deleteCashDescription(db(), "200", 2).saved);
        QCOMPARE(listCashDescriptions(db(), "200"), (QList<CashDescription>{{"200", 1, "본관 임대료"}}));
        QVERIFY(!deleteCashDescription(db(), "200", 2).saved);
    }

    void entryRefusals_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<qint64>("amount");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("field");
        const int acct = int(CashEntryField::Account), amt = int(CashEntryField::Amount), txt = int(CashEntryField::Text);
        QTest::newRow("no account") << "" << qint64(1000) << "" << "계정과목을 입력하세요." << acct;
        QTest::newRow("unknown account") << "300" << qint64(1000) << "" << "등록되지 않은 과목코드 입니다." << acct;
        QTest::newRow("code of four") << "1000" << qint64(1000) << "" << "3자리를 넘을수 없습니다." << acct;
        QTest::newRow("no amount") << "100" << qint64(0) << "" << "금액을 입력하세요." << amt;
        QTest::newRow("negative amount") << "100" << qint64(-500) << "" << "금액을 입력하세요." << amt;
        QTest::newRow("description of 31") << "100" << qint64(1000) << QString(31, QChar(u'가'))
                                          << "적요의 최대글수는 30자를 넘을수 없습니다." << txt;
    }
    void entryRefusals()
    {
        QFETCH(QString, code);
        QFETCH(qint64, amount);
        QFETCH(QString, text);
        QFETCH(QString, message);
        QFETCH(int, field);
        standardAccounts();
        const Outcome o = saveCashEntry(db(), CashEntryInput{0, "2024-05-02", code, amount, text});
        QVERIFY(!o.saved);
        QCOMPARE(o.last().text, message);
        QCOMPARE(o.last().title, QString("저장오류"));
        QCOMPARE(o.field, field);
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM 수입지출").toInt(), 0);
    }

    // An expense of 5,000 stands in 지출 with 0 in 수입, its kind and payment
    // kind taken from the account, and lowers the running balance.
    void expenseStoredInItsColumn()
    {
        standardAccounts();
        entry(db(), "2024-05-02", "100", 30000, "5월 회비");
        const qint64 seq = entry(db(), "2024-05-02", "200", 5000, "임대료 일부");
        const auto row = db().queryOne("SELECT 일자, 년월, 과목구분, 과목코드, 과목명, 금액구분, 적요, 수입, 지출 FROM 수입지출 "
                                       "WHERE 순번 = ?",
                                       {seq});
        QVERIFY(row);
        QCOMPARE(row->str("일자"), QString("2024-05-02"));
        QCOMPARE(row->str("년월"), QString("2024-05"));
        QCOMPARE(row->str("과목구분"), QString("2"));
        QCOMPARE(row->str("과목코드"), QString("200"));
        QCOMPARE(row->str("과목명"), QString("임대료"));
        QCOMPARE(row->str("금액구분"), QString("1"));
        QCOMPARE(row->str("적요"), QString("임대료 일부"));
        QCOMPARE(row->num("수입"), 0);
        QCOMPARE(row->num("지출"), 5000);

        const CashBook day = readCashBook(db(), CashBookFilter{"2024-05-02", "2024-05-02"});
        QCOMPARE(day.entries.size(), 2);
        QCOMPARE(day.entries[0].balance, 30000);
        QCOMPARE(day.entries[1].balance, 25000);
        QCOMPARE(day.entries[1].kind, QString("2"));
        QCOMPARE(day.totalIncome, 30000);
        QCOMPARE(day.totalExpense, 5000);
    }

    // A changed entry follows its new account into the other column; an
    // entry removed meanwhile is not written again.
    void entryChanged()
    {
        standardAccounts();
        const qint64 seq = entry(db(), "2024-05-03", "100", 12000);
        QVERIFY(saveCashEntry(db(), CashEntryInput{seq, "2024-05-03", "200", 7000, "바뀜"}).saved);
        const auto row = db().queryOne("SELECT 과목구분, 수입, 지출, 적요 FROM 수입지출 WHERE 순번 = ?", {seq});
        QCOMPARE(row->str("과목구분"), QString("2"));
        QCOMPARE(row->num("수입"), 0);
        QCOMPARE(row->num("지출"), 7000);
        QCOMPARE(row->str("적요"), QString("바뀜"));

        QVERIFY(deleteCashEntry(db(), "2024-05-03", seq).saved);
        const Outcome gone = saveCashEntry(db(), CashEntryInput{seq, "2024-05-03", "100", 1000, ""});
        QVERIFY(!gone.saved);
        QCOMPARE(gone.last().text, QString("자료를 찾을수 없읍니다"));
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM 수입지출").toInt(), 0);
    }

    // The balance brought forward counts every earlier entry, whatever the
    // filter; the running balance then adds only the rows that pass it.
    void broughtForward_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("account");
        QTest::addColumn<QString>("pay");
        QTest::addColumn<QList<qint64>>("balances");
        QTest::newRow("all") << "A" << "A" << "A" << QList<qint64>{110000, 90000, 100000};
        QTest::newRow("income only") << "1" << "A" << "A" << QList<qint64>{110000, 120000};
        QTest::newRow("expense only") << "2" << "A" << "A" << QList<qint64>{80000};
        QTest::newRow("one account") << "A" << "101" << "A" << QList<qint64>{110000};
        QTest::newRow("card only") << "A" << "A" << "2" << QList<qint64>{110000};
        QTest::newRow("cash only") << "A" << "A" << "1" << QList<qint64>{110000, 90000};
    }
    void broughtForward()
    {
        QFETCH(QString, kind);
        QFETCH(QString, account);
        QFETCH(QString, pay);
        QFETCH(QList<qint64>, balances);
        standardAccounts();
        // Before the period: income 150,000 (cash and card), expense 50,000.
        entry(db(), "2024-04-05", "100", 120000);
        entry(db(), "2024-04-20", "101", 30000);
        entry(db(), "2024-04-30", "200", 50000);
        // The period.
        entry(db(), "2024-05-01", "100", 10000);
        entry(db(), "2024-05-10", "200", 20000);
        entry(db(), "2024-05-31", "101", 10000);
        // After it.
        entry(db(), "2024-06-01", "200", 99999);

        const CashBook book = readCashBook(db(), CashBookFilter{"2024-05-01", "2024-05-31", kind, account, pay});
        QCOMPARE(book.broughtForward, 100000);
        QList<qint64> got;
        for (const CashEntry &e : book.entries)
            got << e.balance;
        QCOMPARE(got, balances);
        QCOMPARE(book.closingBalance(), balances.last());
    }

    // The day's closing balance is the next day's balance brought forward,
    // and the last day of a month carries into the first of the next.
    void monthCarriesIntoNext()
    {
        standardAccounts();
        entry(db(), "2024-05-01", "100", 50000);
        entry(db(), "2024-05-15", "101", 25000);
        entry(db(), "2024-05-31", "200", 12500);
        entry(db(), "2024-06-01", "200", 2500);
        const CashBook may = readCashBook(db(), CashBookFilter{"2024-05-01", "2024-05-31"});
        QCOMPARE(may.broughtForward, 0);
        QCOMPARE(may.closingBalance(), 62500);
        const CashBook june = readCashBook(db(), CashBookFilter{"2024-06-01", "2024-06-30"});
        QCOMPARE(june.broughtForward, may.closingBalance());
        QCOMPARE(june.entries.size(), 1);
        QCOMPARE(june.entries.first().balance, 60000);
        const CashBook lastDay = readCashBook(db(), CashBookFilter{"2024-05-31", "2024-05-31"});
        QCOMPARE(lastDay.broughtForward, 75000);
        QCOMPARE(cashBalanceBefore(db(), "2024-06-01"), 62500);
    }

    void reportTexts()
    {
        QCOMPARE(cashBookPeriodText("2024-05-01", "2024-05-31"), QString("2024-05-01~2024-05-31"));
        QCOMPARE(cashBookConditionText("A-ALL", "101-카드수입", "2-카드"),
                 QString("계정구분 : A-ALL   계정과목 : 101-카드수입   현금/카드 : 2-카드"));
    }
};

QTEST_GUILESS_MAIN(TstCashBook)
#include "tst_cashbook.moc"
