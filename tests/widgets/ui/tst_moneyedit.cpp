// The amount input: what it reads, what it refuses to take, and the check a
// screen runs before saving.

#include "uitest.h"
#include "widgets/deskguard.h"
#include "widgets/moneyedit.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

using namespace fitrova;

class TestMoneyEdit : public QObject {
    Q_OBJECT
private slots:
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("negative");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<qint64>("value");
        QTest::newRow("blank") << "" << false << true << qint64(0);
        QTest::newRow("separators") << "157,000" << false << true << qint64(157000);
        QTest::newRow("blanks around") << "  5000 " << false << true << qint64(5000);
        QTest::newRow("letter O") << "1O0,000" << false << false << qint64(0);
        QTest::newRow("hangul unit") << QStringLiteral("5천") << false << false << qint64(0);
        QTest::newRow("decimal") << "1000.5" << false << false << qint64(0);
        QTest::newRow("minus refused") << "-500" << false << false << qint64(0);
        QTest::newRow("minus allowed") << "-1,500" << true << true << qint64(-1500);
        QTest::newRow("sign only") << "-" << true << false << qint64(0);
        QTest::newRow("too long") << "9999999999999999" << false << false << qint64(0);
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(bool, negative);
        QFETCH(bool, readable);
        QFETCH(qint64, value);
        const auto v = parseAmountText(text, negative);
        QCOMPARE(v.has_value(), readable);
        if (readable)
            QCOMPARE(*v, value);
    }

    // Typed letters never reach the field; when it is left the amount shows won formatting.
    void typing()
    {
        QWidget w;
        auto *a = new MoneyEdit(&w, QStringLiteral("TxtCash"), QStringLiteral("현금"));
        auto *b = new MoneyEdit(&w, QStringLiteral("TxtCard"), QStringLiteral("카드"));
        auto *lay = new QVBoxLayout(&w);
        lay->addWidget(a);
        lay->addWidget(b);
        w.show();
        a->setFocus();
        QTest::keyClicks(a, "1O0000");
        QCOMPARE(a->text(), QStringLiteral("10000"));
        QTest::keyClick(a, Qt::Key_Return); // the field is left (editing finished)
        QCOMPARE(a->text(), QStringLiteral("10,000"));
        QCOMPARE(a->amount(), qint64(10000));
    }

    // The first unreadable field is named and gets the focus; readable ones pass.
    void checkBeforeSave()
    {
        QWidget w;
        auto *a = new MoneyEdit(&w, QStringLiteral("TxtCash"), QStringLiteral("현금"));
        auto *b = new MoneyEdit(&w, QStringLiteral("TxtDc"), QStringLiteral("할인금액"));
        auto *lay = new QVBoxLayout(&w);
        lay->addWidget(a);
        lay->addWidget(b);
        w.show();
        ScriptedMessages msg;
        a->setText(QStringLiteral("12,000"));
        QVERIFY(checkNumberFields(&w, msg));
        b->setText(QStringLiteral("5천")); // pasted past the validator's reach
        QVERIFY(!checkNumberFields(&w, msg));
        QCOMPARE(msg.lastText(), QStringLiteral("할인금액 금액을 숫자로 입력하십시요."));
        QVERIFY(b->hasFocus() || !QApplication::focusWidget());
    }

    // Every save and update through the desk guard refuses an unreadable
    // amount of the screen being worked in, naming the field; reads and
    // deletions, and other screens' fields, are not concerned.
    void guardRefusesUnreadableAmounts_data()
    {
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("cash");
        QTest::addColumn<bool>("runs");
        QTest::newRow("save, letter O") << int(DbAction::Save) << "1O0,000" << false;
        QTest::newRow("update, hangul unit") << int(DbAction::Update) << QStringLiteral("5천") << false;
        QTest::newRow("save, readable") << int(DbAction::Save) << "100,000" << true;
        QTest::newRow("read, letter O") << int(DbAction::Read) << "1O0,000" << true;
        QTest::newRow("delete, letter O") << int(DbAction::Delete) << "1O0,000" << true;
    }
    void guardRefusesUnreadableAmounts()
    {
        QFETCH(int, action);
        QFETCH(QString, cash);
        QFETCH(bool, runs);
        QWidget screen, other;
        auto *amount = new MoneyEdit(&screen, QStringLiteral("TxtCashAmt"), QStringLiteral("현금"));
        auto *name = new QLineEdit(&screen);
        auto *lay = new QVBoxLayout(&screen);
        lay->addWidget(amount);
        lay->addWidget(name);
        auto *elsewhere = new MoneyEdit(&other, QStringLiteral("TxtOther"), QStringLiteral("다른금액"));
        new QVBoxLayout(&other);
        other.layout()->addWidget(elsewhere);
        elsewhere->setText(QStringLiteral("x"));
        other.show();
        screen.show();
        screen.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&screen));
        amount->setText(cash);
        name->setFocus();
        ScriptedMessages msg;
        AppContext ctx(QDir::tempPath());
        UiContext ui{ctx, msg};
        bool ran = false;
        const auto r = guard(ui, DbAction(action), [&] { ran = true; return 1; });
        QCOMPARE(ran, runs);
        QCOMPARE(bool(r), runs);
        if (!runs) {
            QCOMPARE(msg.lastText(), QStringLiteral("현금 금액을 숫자로 입력하십시요."));
            QVERIFY(amount->hasFocus());
        }
    }

    // A database failure reaches the desk as the action's standard text.
    void guardTurnsDbErrorIntoText()
    {
        ScriptedMessages msg;
        AppContext ctx(QDir::tempPath());
        UiContext ui{ctx, msg};
        const auto r = guard(ui, DbAction::Save, []() -> int {
            throw DbError(DbError::Kind::Statement, QStringLiteral("disk I/O error"), QStringLiteral("INSERT …"));
        });
        QVERIFY(!r);
        QCOMPARE(msg.lastText(), QStringLiteral("자료저장중 오류가 발생하였습니다."));
        QCOMPARE(msg.last().title, QStringLiteral("저장오류"));
        const bool ok = guard(ui, DbAction::Read, [] {});
        QVERIFY(ok);
    }
};

QTEST_MAIN(TestMoneyEdit)
#include "tst_moneyedit.moc"
