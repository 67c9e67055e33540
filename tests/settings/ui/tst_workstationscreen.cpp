// The workstation settings screen: the three pages of Tab1 and Cmd저장 on
// the visible one.
// FITROVA_DB_TEST
// FITROVA_TEST_TIMEOUT 120: its cases build installations of their own, on PostgreSQL each a
// database created and dropped.

#include "foundation/inifile.h"
#include "settings/settings.h"
#include "settings/ui/workstationscreen.h"
#include "testinstall.h"
#include "uitest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace fitrova;
using fitrova::test::TestInstall;

class TestWorkstationScreen : public QObject {
    Q_OBJECT

    struct Fixture {
        TestInstall inst;
        ScriptedMessages msg;
        UiContext ui{inst.ctx(), msg};
        bool ended = false;
        std::unique_ptr<WorkstationScreen> screen;
        void build()
        {
            screen = std::make_unique<WorkstationScreen>(ui);
            screen->setEndProgram([this] { ended = true; });
            screen->show();
        }
        template <typename T> T *get(const char *name) const
        {
            T *w = screen->findChild<T *>(QString::fromUtf8(name));
            if (!w)
                qFatal("no control %s", name);
            return w;
        }
        void page(int index) { get<QTabWidget>("Tab1")->setCurrentIndex(index); }
        void save() { get<QPushButton>("Cmd저장")->click(); }
        QString serverPath()
        {
            return IniFile(inst.ctx().paths.iniFile).value(QStringLiteral("DATABASE"), QStringLiteral("ServerPath"));
        }
    };

private Q_SLOTS:
    void loadsWhatIsStored()
    {
        Fixture f;
        f.inst.db().exec(QStringLiteral("UPDATE UserOpt SET UserOpt6 = 3, UserOpt7_5 = 2, UserOpt3 = 1, UserOpt4 = 0, "
                                        "UserOpt5 = 0, UserOpt7_1 = 1.5"));
        f.build();
        QCOMPARE(f.get<QTabWidget>("Tab1")->count(), 3);
        QCOMPARE(f.get<QComboBox>("Cob6")->currentText(), QStringLiteral("3.입장횟수제한없음"));
        QCOMPARE(f.get<QComboBox>("Cob8")->currentText(), QStringLiteral("2.입장가능여부 선택"));
        QCOMPARE(f.get<QComboBox>("Cob3")->currentText(), QStringLiteral("1.1매 발행"));
        QVERIFY(!f.get<QCheckBox>("Chk4")->isChecked());
        QVERIFY(f.get<QRadioButton>("Opt5_0")->isChecked());
        QCOMPARE(f.get<QLineEdit>("Txt71")->text(), QStringLiteral("1.5"));
        QCOMPARE(f.get<QLineEdit>("Txt11")->text(), QStringLiteral("10"));
        QCOMPARE(f.get<QLineEdit>("Txt2")->text(), QStringLiteral("8"));
        // No Pos row yet: this computer's name, nothing ticked.
        QCOMPARE(f.get<QLineEdit>("TxtPcname")->text(), QStringLiteral("DESK1"));
        QVERIFY(!f.get<QCheckBox>("ChkCardreader")->isChecked());
        QVERIFY(!f.get<QCheckBox>("ChkPosPrint")->isChecked());
        QCOMPARE(f.get<QComboBox>("CobCardPort")->itemText(7), QStringLiteral("8.Comm8"));
    }

    void optionsPage()
    {
        Fixture f;
        f.build();
        f.page(WorkstationScreen::OptionsPage);
        f.get<QLineEdit>("Txt11")->setText(QStringLiteral("열"));
        f.save();
        QCOMPARE(f.msg.last().kind, QStringLiteral("warn"));
        QCOMPARE(f.msg.last().title, QStringLiteral("자료저장"));
        QCOMPARE(f.inst.db().scalar(QStringLiteral("SELECT UserOpt1_1 FROM UserOpt")).toInt(), 10);

        f.get<QLineEdit>("Txt11")->setText(QStringLiteral("30"));
        f.get<QComboBox>("Cob6")->setCurrentIndex(3);
        f.get<QRadioButton>("Opt5_0")->setChecked(true);
        f.save();
        QCOMPARE(f.msg.last().text, QStringLiteral("저장되었읍니다"));
        QCOMPARE(f.msg.last().title, QStringLiteral("자료저장"));
        const Row r = *f.inst.db().queryOne(QStringLiteral("SELECT * FROM UserOpt WHERE Gubun = '1'"));
        QCOMPARE(r.num(QStringLiteral("UserOpt1_1")), 30);
        QCOMPARE(r.num(QStringLiteral("UserOpt6")), 4);
        QCOMPARE(r.num(QStringLiteral("UserOpt5")), 0);
        QCOMPARE(f.inst.ctx().options.opt6, 4);

        f.inst.db().exec(QStringLiteral("DELETE FROM UserOpt"));
        f.save();
        QCOMPARE(f.msg.last().text, QStringLiteral("저장할 자료를 찾을수 없읍니다"));
        QCOMPARE(f.inst.db().scalar(QStringLiteral("SELECT COUNT(*) FROM UserOpt")).toInt(), 0);
    }

    void workstationPage()
    {
        Fixture f;
        f.build();
        f.page(WorkstationScreen::WorkstationPage);
        f.get<QLineEdit>("TxtPcname")->clear();
        f.save();
        QCOMPARE(f.msg.last().text, QStringLiteral("컴퓨터 이름은 필수 입력항목입니다.."));
        QCOMPARE(f.msg.last().title, QStringLiteral("POS 설정"));

        qputenv("FITROVA_PCNAME", "DESK1");
        f.get<QPushButton>("Command1")->click();
        QCOMPARE(f.get<QLineEdit>("TxtPcname")->text(), QStringLiteral("DESK1"));
        QCOMPARE(f.get<QLineEdit>("TxtPosName")->text(), QStringLiteral("프론트"));
        f.get<QCheckBox>("ChkPosPrint")->setChecked(true);
        f.get<QComboBox>("CobPrintType")->setCurrentIndex(2);
        f.get<QComboBox>("CobPrintPort")->setCurrentIndex(4);
        f.save();
        QCOMPARE(f.msg.last().text, QStringLiteral("저장되었읍니다"));
        QCOMPARE(f.get<QLineEdit>("TxtPosNo")->text(), QStringLiteral("1"));
        const Row r = *f.inst.db().queryOne(QStringLiteral("SELECT * FROM Pos WHERE PcName = 'DESK1'"));
        QCOMPARE(r.str(QStringLiteral("PosName")), QStringLiteral("프론트"));
        QCOMPARE(r.str(QStringLiteral("posprint")), QStringLiteral("1"));
        QCOMPARE(r.str(QStringLiteral("PrintType")), QStringLiteral("3"));
        QCOMPARE(r.str(QStringLiteral("PrintPort")), QStringLiteral("5"));
        QCOMPARE(r.str(QStringLiteral("Cardreader")), QStringLiteral("0"));
        QCOMPARE(f.inst.ctx().workstation.printType, QStringLiteral("3"));
    }

    void networkPageOffWithoutPassword()
    {
        Fixture f;
        f.build();
        f.page(WorkstationScreen::NetworkPage);
        QVERIFY(!f.get<QLineEdit>("TxtPwd")->isEnabled());
        QVERIFY(!f.get<QPushButton>("Cmd경로")->isEnabled());
        QVERIFY(f.get<QLabel>("LblNetworkNote")->isVisible());
        QVERIFY(f.get<QLabel>("LblPostgresAdvice")->text().contains(QStringLiteral("PostgreSQL")));
        QVERIFY(!f.get<QPushButton>("Cmd저장")->isEnabled());
        const QString before = f.serverPath();
        QVERIFY(!f.screen->save());
        QCOMPARE(f.msg.last().kind, QStringLiteral("warn"));
        QCOMPARE(f.serverPath(), before);
        QVERIFY(!f.ended);
    }

    void networkPage_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("role");   // "server", "client"
        QTest::addColumn<QString>("folder"); // "shared": a folder holding the databases
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("written"); // "" unchanged, "install", "shared"
        QTest::newRow("wrong password") << "klar" << "client" << "shared" << true
                                        << QStringList{"암호가 틀립니다"} << "";
        QTest::newRow("client without folder") << "setup-Key1" << "client" << "" << true
                                               << QStringList{"공유폴더를 선택하여 주십시요."} << "";
        QTest::newRow("client, answered no") << "SETUP-KEY1" << "client" << "shared" << false
                                             << QStringList{"이컴퓨터를 클라이언트PC로 설정하시겠읍니까?"} << "";
        QTest::newRow("client") << "setup-key1" << "client" << "shared" << true
                                << QStringList{"이컴퓨터를 클라이언트PC로 설정하시겠읍니까?",
                                               "클라이언트 PC로 설정이 완료되었읍니다..프로그램을 다시시작해 주세요"}
                                << "shared";
        QTest::newRow("server") << "setup-key1" << "server" << "shared" << true
                                << QStringList{"이컴퓨터를 서버PC로 설정하시겠읍니까?",
                                               "서버PC로 설정이 완료되었읍니다..프로그램을 다시시작해 주세요"}
                                << "install";
    }
    void networkPage()
    {
        QFETCH(QString, password);
        QFETCH(QString, role);
        QFETCH(QString, folder);
        QFETCH(bool, yes);
        QFETCH(QStringList, messages);
        QFETCH(QString, written);
        Fixture f;
        QVERIFY(setSettingsPassword(IniFile(f.inst.ctx().paths.iniFile), QStringLiteral("Setup-Key1")));
        QTemporaryDir shared;
        QDir().mkpath(shared.filePath(QStringLiteral("Dbs")));
        QFile db(shared.filePath(QStringLiteral("Dbs/DbMain.db")));
        QVERIFY(db.open(QIODevice::WriteOnly));
        db.close();
        IniFile(f.inst.ctx().paths.iniFile).setValue(QStringLiteral("DATABASE"), QStringLiteral("ServerPath"),
                                                     QStringLiteral("/old/place"));
        const QString before = f.serverPath();

        f.build();
        f.page(WorkstationScreen::NetworkPage);
        QVERIFY(f.get<QLineEdit>("TxtPwd")->isEnabled());
        QVERIFY(!f.get<QLabel>("LblNetworkNote")->isVisible());
        f.get<QLineEdit>("TxtPwd")->setText(password);
        f.get<QRadioButton>(role == QLatin1String("server") ? "Opt1_0" : "Opt1_1")->setChecked(true);
        f.get<QLineEdit>("TxtServerPath")->setText(folder == QLatin1String("shared") ? shared.path() + QLatin1Char('/') : QString());
        f.msg.answer(yes);
        f.save();

        QCOMPARE(f.msg.texts(), messages);
        const QString expected = written.isEmpty() ? before
            : written == QLatin1String("install")  ? f.inst.ctx().paths.installDir
                                                   : shared.path();
        QCOMPARE(f.serverPath(), expected);
        QCOMPARE(f.ended, !written.isEmpty());
    }
};

QTEST_MAIN(TestWorkstationScreen)
#include "tst_workstationscreen.moc"
