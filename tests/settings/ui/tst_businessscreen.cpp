// The business details screen: what reaches the Place row from the postal
// code field, typed as the desk would type it.
// FITROVA_DB_TEST

#include "settings/settings.h"
#include "settings/ui/businessscreen.h"
#include "testinstall.h"
#include "uitest.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace fitrova;
using fitrova::test::TestInstall;

class TestBusinessScreen : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void postalCode_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored"); // empty with refused = the old value stays
        QTest::addColumn<bool>("refused");
        QTest::newRow("five digits") << "06236" << "06236" << false;
        QTest::newRow("old form") << "135-080" << "135-080" << false;
        QTest::newRow("six digits get the separator") << "135080" << "135-080" << false;
        QTest::newRow("empty") << "" << "" << false;
        QTest::newRow("letters never reach the field") << "ab06236" << "06236" << false;
        QTest::newRow("too short") << "0623" << "" << true;
        QTest::newRow("half an old code") << "135-0" << "" << true;
    }

    void postalCode()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QFETCH(bool, refused);
        TestInstall inst;
        ScriptedMessages msg;
        UiContext ui{inst.ctx(), msg};
        BusinessDetails before = loadBusinessDetails(inst.db());
        before.name = QStringLiteral("브렌무어 스포츠센터");
        before.postCode = QStringLiteral("999-999");
        saveBusinessDetails(inst.ctx(), before);

        BusinessScreen screen(ui);
        screen.show();
        auto *post = screen.findChild<QLineEdit *>(QStringLiteral("Txt우편번호"));
        QVERIFY(post);
        QCOMPARE(post->text(), QStringLiteral("999-999"));
        post->clear();
        QTest::keyClicks(post, typed);
        screen.findChild<QPushButton *>(QStringLiteral("Cmd저장"))->click();

        const BusinessDetails after = loadBusinessDetails(inst.db());
        if (refused) {
            QCOMPARE(msg.last().kind, QStringLiteral("warn"));
            QCOMPARE(after.postCode, QStringLiteral("999-999"));
            QCOMPARE(post->text(), typed); // what was typed stays for correction
        } else {
            QCOMPARE(msg.last().kind, QStringLiteral("info"));
            QCOMPARE(after.postCode, stored);
        }
        QCOMPARE(after.name, QStringLiteral("브렌무어 스포츠센터"));
    }
};

QTEST_MAIN(TestBusinessScreen)
#include "tst_businessscreen.moc"
