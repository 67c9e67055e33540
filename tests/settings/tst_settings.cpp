// Business details, site options, the workstation row and the network role.
// FITROVA_DB_TEST

#include "foundation/inifile.h"
#include "settings/settings.h"
#include "testinstall.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace fitrova;
using fitrova::test::TestInstall;

class TestSettings : public QObject {
    Q_OBJECT

    static OptionsForm goodOptions()
    {
        OptionsForm f;
        f.refundCash = QStringLiteral("15");
        f.refundCard = QStringLiteral("20");
        f.cardDigits = QStringLiteral("10");
        f.pointRate = QStringLiteral("2.5");
        f.receiptCode = QStringLiteral("2");
        f.checkinCode = QStringLiteral("4");
        f.weekdayCode = QStringLiteral("1");
        f.lockers = false;
        f.transfer = true;
        return f;
    }

private Q_SLOTS:
    void businessAddedThenUpdated()
    {
        TestInstall inst;
        AppContext &ctx = inst.ctx();
        QCOMPARE(loadBusinessDetails(ctx.main).name, QString());

        BusinessDetails d{QStringLiteral("한빛's 스포츠센터"), QStringLiteral("123-45-67890"), QStringLiteral("서울시 중구"),
                          QStringLiteral("100-011"), QStringLiteral("02-123-4567"), QStringLiteral("02-123-4568"),
                          QStringLiteral("김대표")};
        QCOMPARE(saveBusinessDetails(ctx, d), SaveMode::Added);
        QCOMPARE(ctx.business.name, d.name);
        QCOMPARE(ctx.business.tel, d.tel);

        d.name = QStringLiteral("한빛 수영장");
        d.tel = QStringLiteral("031-555-0000");
        QCOMPARE(saveBusinessDetails(ctx, d), SaveMode::Updated);
        QCOMPARE(inst.db().scalar(QStringLiteral("SELECT COUNT(*) FROM Place")).toInt(), 1);
        const BusinessDetails back = loadBusinessDetails(ctx.main);
        QCOMPARE(back.name, d.name);
        QCOMPARE(back.bizNo, d.bizNo);
        QCOMPARE(back.postCode, d.postCode);
        QCOMPARE(back.ceo, d.ceo);
        QCOMPARE(ctx.business.name, QStringLiteral("한빛 수영장"));
        QCOMPARE(ctx.business.tel, QStringLiteral("031-555-0000"));
        QVERIFY(mainCaption(ctx).contains(QStringLiteral("한빛 수영장")));
    }

    void optionsSaved()
    {
        TestInstall inst;
        AppContext &ctx = inst.ctx();
        QVERIFY(!saveOptions(ctx, goodOptions()));
        const Row r = *inst.db().queryOne(QStringLiteral("SELECT * FROM UserOpt WHERE Gubun = '1'"));
        QCOMPARE(r.num(QStringLiteral("UserOpt1_1")), 15);
        QCOMPARE(r.num(QStringLiteral("UserOpt1_2")), 20);
        QCOMPARE(r.num(QStringLiteral("UserOpt2")), 10);
        QCOMPARE(r.num(QStringLiteral("UserOpt3")), 2);
        QCOMPARE(r.num(QStringLiteral("UserOpt4")), 0);
        QCOMPARE(r.num(QStringLiteral("UserOpt5")), 1);
        QCOMPARE(r.num(QStringLiteral("UserOpt6")), 4);
        QCOMPARE(r.dbl(QStringLiteral("UserOpt7_1")), 2.5);
        QCOMPARE(r.num(QStringLiteral("UserOpt7_5")), 1);
        // The options in memory follow at once.
        QCOMPARE(ctx.options.opt1_1, 15);
        QCOMPARE(ctx.options.opt2, 10);
        QCOMPARE(ctx.options.opt4, 0);
        QCOMPARE(ctx.options.opt6, 4);
        QCOMPARE(ctx.options.opt7_1, 2.5);
        QCOMPARE(ctx.options.opt7_5, 1);
        // What was saved is what the page shows next time.
        const OptionsForm back = *loadOptionsForm(ctx.main);
        QCOMPARE(back.refundCash, QStringLiteral("15"));
        QCOMPARE(back.pointRate, QStringLiteral("2.5"));
        QCOMPARE(back.checkinCode, QStringLiteral("4"));
        QVERIFY(back.transfer);
        QVERIFY(!back.lockers);
    }

    void optionsRefused_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::newRow("cash rate not a number") << "Txt11" << "abc";
        QTest::newRow("cash rate over 100") << "Txt11" << "101";
        QTest::newRow("cash rate negative") << "Txt11" << "-5";
        QTest::newRow("card rate empty") << "Txt12" << "";
        QTest::newRow("card rate with decimals") << "Txt12" << "7.5";
        QTest::newRow("card digits zero") << "Txt2" << "0";
        QTest::newRow("card digits text") << "Txt2" << "8자리";
        QTest::newRow("point rate garbage") << "Txt71" << "1,5%";
        QTest::newRow("check-in code unknown") << "Cob6" << "9";
    }
    void optionsRefused()
    {
        QFETCH(QString, field);
        QFETCH(QString, value);
        TestInstall inst;
        AppContext &ctx = inst.ctx();
        OptionsForm f = goodOptions();
        if (field == QLatin1String("Txt11"))
            f.refundCash = value;
        else if (field == QLatin1String("Txt12"))
            f.refundCard = value;
        else if (field == QLatin1String("Txt2"))
            f.cardDigits = value;
        else if (field == QLatin1String("Txt71"))
            f.pointRate = value;
        else
            f.checkinCode = value;
        const auto refusal = saveOptions(ctx, f);
        QVERIFY(refusal);
        QCOMPARE(refusal->field, field);
        QCOMPARE(refusal->title, QStringLiteral("자료저장"));
        // Nothing of the page was stored.
        QCOMPARE(inst.db().scalar(QStringLiteral("SELECT UserOpt1_1 FROM UserOpt WHERE Gubun = '1'")).toInt(), 10);
        QCOMPARE(ctx.options.opt1_1, 10);
    }

    void optionsWithoutRow()
    {
        TestInstall inst;
        AppContext &ctx = inst.ctx();
        inst.db().exec(QStringLiteral("DELETE FROM UserOpt"));
        QVERIFY(!loadOptionsForm(ctx.main));
        const auto refusal = saveOptions(ctx, goodOptions());
        QVERIFY(refusal);
        QCOMPARE(refusal->text, QStringLiteral("저장할 자료를 찾을수 없읍니다"));
        QCOMPARE(refusal->title, QStringLiteral("자료저장"));
        QCOMPARE(inst.db().scalar(QStringLiteral("SELECT COUNT(*) FROM UserOpt")).toInt(), 0);
    }

    void workstationCreatedWithNextNumber()
    {
        TestInstall inst;
        AppContext &ctx = inst.ctx();
        const Db &db = inst.db();
        db.exec(QStringLiteral("INSERT INTO Pos (PcName, PosNo, PosName) VALUES ('OTHER1', 1, '안내'), ('OTHER3', 3, '매점')"));
        QCOMPARE(getNewPosNo(db), 4);
        QVERIFY(!ctx.workstation.found);

        WorkstationForm f;
        f.pcName = ctx.pcName;
        f.posName = QStringLiteral("프론트");
        f.cardReader = true;
        f.cardType = QStringLiteral("1");
        f.cardPort = QStringLiteral("3");
        f.posPrint = true;
        f.printType = QStringLiteral("2");
        f.printPort = QStringLiteral("1");
        const WorkstationSaveResult r = saveWorkstation(ctx, f);
        QVERIFY(!r.refusal);
        QVERIFY(r.created);
        QCOMPARE(r.posNo, 4);

        const Row row = *db.queryOne(QStringLiteral("SELECT * FROM Pos WHERE PcName = ?"), {ctx.pcName});
        const QList<QPair<const char *, const char *>> expected = {
            {"chkprint", "0"},  {"PosCour", "1"},    {"InUpdate", "1"},     {"InPrint", "1"},   {"HeadTitle", "2"},
            {"PrintGroup", "1"}, {"posprint2", "0"}, {"PrintType2", "0"},   {"PrintPort2", "0"}, {"BarPrint", "0"},
            {"BarPrintType", "0"}, {"BarPrintPort", "0"}, {"PrintMsg", ""}, {"Cam", "0"},
            {"PosName", "프론트"}, {"Cardreader", "1"}, {"CardType", "1"},  {"CardPort", "3"},  {"posprint", "1"},
            {"PrintType", "2"},  {"PrintPort", "1"},
        };
        for (const auto &[col, value] : expected)
            QVERIFY2(row.str(QString::fromLatin1(col)) == QString::fromUtf8(value), col);
        // This workstation's settings were reloaded from the saved row.
        QVERIFY(ctx.workstation.found);
        QCOMPARE(ctx.workstation.posNo, 4);
        QCOMPARE(ctx.workstation.posName, QStringLiteral("프론트"));
        QCOMPARE(ctx.workstation.cardType, QStringLiteral("1"));
        QCOMPARE(ctx.workstation.headTitle, QStringLiteral("2"));

        // Saving again changes the row and keeps its number.
        f.posName = QStringLiteral("안내데스크");
        f.posPrint = false;
        const WorkstationSaveResult again = saveWorkstation(ctx, f);
        QVERIFY(!again.created);
        QCOMPARE(again.posNo, 4);
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM Pos")).toInt(), 3);
        QCOMPARE(ctx.workstation.posName, QStringLiteral("안내데스크"));
        QCOMPARE(ctx.workstation.posPrint, QStringLiteral("0"));
    }

    void workstationRequiredFields_data()
    {
        QTest::addColumn<QString>("pcName");
        QTest::addColumn<QString>("posName");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("field");
        QTest::newRow("no computer name") << "  " << "프론트" << "컴퓨터 이름은 필수 입력항목입니다.." << "TxtPcname";
        QTest::newRow("no workstation name") << "DESK1" << "" << "POS명칭은 필수 입력항목입니다.." << "TxtPosName";
    }
    void workstationRequiredFields()
    {
        QFETCH(QString, pcName);
        QFETCH(QString, posName);
        QFETCH(QString, text);
        QFETCH(QString, field);
        TestInstall inst;
        WorkstationForm f;
        f.pcName = pcName;
        f.posName = posName;
        const WorkstationSaveResult r = saveWorkstation(inst.ctx(), f);
        QVERIFY(r.refusal);
        QCOMPARE(r.refusal->text, text);
        QCOMPARE(r.refusal->title, QStringLiteral("POS 설정"));
        QCOMPARE(r.refusal->field, field);
        QCOMPARE(inst.db().scalar(QStringLiteral("SELECT COUNT(*) FROM Pos")).toInt(), 0);
    }

    void settingsPassword_data()
    {
        QTest::addColumn<QString>("stored"); // "" none, "plain:" plain text, else the secret to hash
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("configured");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("not configured") << "" << "KLAR516" << false << false;
        QTest::newRow("plain value does not count") << "plain:KLAR516" << "KLAR516" << false << false;
        QTest::newRow("exact") << "Klar516" << "KLAR516" << true << true;
        QTest::newRow("lower case typed") << "Klar516" << "klar516" << true << true;
        QTest::newRow("wrong") << "Klar516" << "klar517" << true << false;
        QTest::newRow("empty typed") << "Klar516" << "" << true << false;
        QTest::newRow("Hangul secret") << "설정암호" << "설정암호" << true << true;
    }
    void settingsPassword()
    {
        QFETCH(QString, stored);
        QFETCH(QString, typed);
        QFETCH(bool, configured);
        QFETCH(bool, accepted);
        QTemporaryDir dir;
        const IniFile ini(dir.filePath(QStringLiteral("Pginfo.Ini")));
        ini.setValue(QStringLiteral("DATABASE"), QStringLiteral("Type"), QStringLiteral("ACCESS"));
        if (stored.startsWith(QLatin1String("plain:")))
            ini.setValue(QStringLiteral("MAINTENANCE"), QStringLiteral("SettingsPassword"), stored.mid(6));
        else if (!stored.isEmpty())
            QVERIFY(setSettingsPassword(ini, stored));
        QCOMPARE(settingsPasswordConfigured(ini), configured);
        QCOMPARE(checkSettingsPassword(ini, typed), accepted);
        if (configured) // the secret itself is never written
            QVERIFY(!ini.value(QStringLiteral("MAINTENANCE"), QStringLiteral("SettingsPassword")).contains(stored.toUpper()));
    }

    void networkFolder()
    {
        TestInstall inst;
        AppContext &ctx = inst.ctx();
        const IniFile ini(ctx.paths.iniFile);
        const QString before = ini.value(QStringLiteral("DATABASE"), QStringLiteral("ServerPath"));

        // A server shares its own install folder, whatever was typed.
        QCOMPARE(networkFolderFor(ctx, NetworkRole::Server, QStringLiteral("/elsewhere")), ctx.paths.installDir);
        QCOMPARE(networkFolderFor(ctx, NetworkRole::Client, QStringLiteral("  /mnt/센터/  ")), QStringLiteral("/mnt/센터"));
        QCOMPARE(networkFolderFor(ctx, NetworkRole::Client, QStringLiteral("   ")), QString());

        QTemporaryDir other;
        const auto missing = checkNetworkFolder(ctx, NetworkRole::Client, other.filePath(QStringLiteral("nothere")));
        QVERIFY(missing);
        QCOMPARE(missing->title, QStringLiteral("클라이언트설정"));
        QVERIFY(!checkNetworkFolder(ctx, NetworkRole::Server, ctx.paths.installDir));
        const auto noDatabase = checkNetworkFolder(ctx, NetworkRole::Client, other.path());
        QCOMPARE(bool(noDatabase), ctx.engine == Engine::SQLite); // the server engine keeps no files there
        QCOMPARE(ini.value(QStringLiteral("DATABASE"), QStringLiteral("ServerPath")), before);

        QVERIFY(writeServerPath(ctx, QStringLiteral("/mnt/Brenmoor")));
        QCOMPARE(ini.value(QStringLiteral("DATABASE"), QStringLiteral("ServerPath")), QStringLiteral("/mnt/Brenmoor"));
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
