// Users, grades, granted programs, the login check and the maintenance logins.
// FITROVA_DB_TEST

#include "foundation/connections.h"
#include "foundation/password.h"
#include "shell/users.h"
#include "testinstall.h"

#include <QtTest>
#include <QThread>
#include <atomic>
#include <thread>

using namespace fitrova;
using fitrova::test::TestInstall;

namespace {

QString addUser(const Db &db, const QString &id, const QString &pw, const QString &grade = QStringLiteral("1"),
                bool active = true, const QString &name = QStringLiteral("직원"))
{
    UserRecord rec;
    rec.userId = id;
    rec.password = pw;
    rec.grCode = grade;
    rec.active = active;
    rec.userName = name;
    const Outcome r = saveUser(db, JobMode::New, rec);
    if (!r.saved)
        qFatal("adding user %s failed: %s", qPrintable(id), qPrintable(r.last().text));
    return r.code;
}

int count(const Db &db, const QString &sql, const Params &p = {}) { return db.scalar(sql, p).toInt(); }

QString storedPass(const Db &db, const QString &id)
{
    return db.scalar(QStringLiteral("SELECT UserPass FROM UserM WHERE UserID = ?"), {id}).toString();
}

// A second grade holding two programs.
void addGradeTwo(const Db &db)
{
    db.exec(QStringLiteral("INSERT INTO GradeM (GrCode, GrName) VALUES ('2', '데스크')"));
    setGradeProgram(db, QStringLiteral("2"), QStringLiteral("13"), true);
    setGradeProgram(db, QStringLiteral("2"), QStringLiteral("15"), true);
}

} // namespace

class TestUsers : public QObject {
    Q_OBJECT

    // One installation for the checks that only read users (and the
    // configuration), and for the data-driven rows, each of which starts from
    // the same users and grades.
    std::unique_ptr<TestInstall> m_shared;
    QString m_kim;
    QString m_oldPasswordHash; // of "old#1", the password of user "chg" before each row

private Q_SLOTS:
    void initTestCase()
    {
        m_shared = std::make_unique<TestInstall>();
        const Db &db = m_shared->db();
        m_kim = addUser(db, QStringLiteral("kim"), QStringLiteral("Desk#1234"), QStringLiteral("1"), true,
                        QStringLiteral("김직원"));
        addUser(db, QStringLiteral("lee"), QStringLiteral("lee1"), QStringLiteral("1"), false);
        addUser(db, QStringLiteral("chg"), QStringLiteral("old#1"));
        m_oldPasswordHash = storedPass(db, QStringLiteral("chg"));
        addGradeTwo(db);
        addUser(db, QStringLiteral("desk"), QStringLiteral("pw"), QStringLiteral("2"));
    }
    void cleanupTestCase() { m_shared.reset(); }

    // --- login ---------------------------------------------------------------

    void login_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("pw");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("focus");
        const int idF = int(LoginField::UserId), pwF = int(LoginField::Password);
        QTest::newRow("right") << "kim" << "Desk#1234" << true << "" << int(LoginField::None);
        QTest::newRow("wrong password") << "kim" << "Desk#12345" << false << kWrongPasswordText << pwF;
        QTest::newRow("password in other case") << "kim" << "desk#1234" << false << kWrongPasswordText << pwF;
        QTest::newRow("ID in other case") << "KIM" << "Desk#1234" << false << kUnknownUserText << idF;
        QTest::newRow("inactive user") << "lee" << "lee1" << false << kUnknownUserText << idF;
        QTest::newRow("unknown user") << "nobody" << "x" << false << kUnknownUserText << idF;
        QTest::newRow("empty ID") << "" << "x" << false << kEnterUserIdText << idF;
        QTest::newRow("blank ID") << "  " << "x" << false << kEnterUserIdText << idF;
        QTest::newRow("apostrophe") << "o'k' OR '1'='1" << "x" << false << kUnknownUserText << idF;
    }
    void login()
    {
        QFETCH(QString, id);
        QFETCH(QString, pw);
        QFETCH(bool, ok);
        QFETCH(QString, text);
        QFETCH(int, focus);
        AppContext &c = m_shared->ctx();
        c.user = {};
        const LoginResult r = fitrova::login(c, id, pw);
        QCOMPARE(r.ok, ok);
        QCOMPARE(r.maintenance, MaintenanceTarget::None);
        QCOMPARE(int(r.focus), focus);
        QCOMPARE(r.message.text, text);
        if (ok) {
            QCOMPARE(c.user.userId, QStringLiteral("kim"));
            QCOMPARE(c.user.userName, QStringLiteral("김직원"));
            QCOMPARE(c.user.psCode, m_kim);
            QCOMPARE(c.user.grCode, QStringLiteral("1"));
            QVERIFY(!c.pcName.isEmpty());
        } else {
            QCOMPARE(r.message.title, QStringLiteral("로그인"));
            QCOMPARE(r.message.kind, Notice::Kind::Warn);
            QVERIFY(!c.user.loggedIn());
        }
    }

    void plainTextPasswordIsRehashedOnce()
    {
        TestInstall inst;
        AppContext &c = inst.ctx();
        const Db &db = inst.db();
        addUser(db, QStringLiteral("old"), QStringLiteral("unused"));
        db.exec(QStringLiteral("UPDATE UserM SET UserPass = 'Legacy9' WHERE UserID = 'old'"));

        // A wrong password leaves the plain value alone.
        QVERIFY(!userChk1(c, QStringLiteral("old"), QStringLiteral("legacy9")).ok);
        QCOMPARE(storedPass(db, QStringLiteral("old")), QStringLiteral("Legacy9"));

        LoginResult r = userChk1(c, QStringLiteral("old"), QStringLiteral("Legacy9"));
        QVERIFY(r.ok);
        QVERIFY(r.rehashed);
        const QString hash = storedPass(db, QStringLiteral("old"));
        QVERIFY(isPasswordHash(hash));

        r = userChk1(c, QStringLiteral("old"), QStringLiteral("Legacy9"));
        QVERIFY(r.ok);
        QVERIFY(!r.rehashed);
        QCOMPARE(storedPass(db, QStringLiteral("old")), hash);
    }

    // --- maintenance logins ------------------------------------------------------

    void maintenance_data()
    {
        QTest::addColumn<int>("configure");   // target written into the configuration, 0 none
        QTest::addColumn<QString>("cfgId");
        QTest::addColumn<QString>("cfgPw");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("pw");
        QTest::addColumn<int>("expected");
        const int S = int(MaintenanceTarget::Settings), D = int(MaintenanceTarget::DataDeletion),
                  M = int(MaintenanceTarget::SmsUsage), N = int(MaintenanceTarget::None);
        QTest::newRow("nothing configured") << N << "" << "" << "SETUPX" << "ABCDEFGHIJKL" << N;
        QTest::newRow("settings") << S << "SETUPX" << "Abcdefghijk1" << "SETUPX" << "ABCDEFGHIJK1" << S;
        QTest::newRow("settings typed in lower case") << S << "SETUPX" << "ABCDEFGHIJK1" << "setupx" << "abcdefghijk1" << S;
        QTest::newRow("settings wrong password") << S << "SETUPX" << "ABCDEFGHIJK1" << "SETUPX" << "ABCDEFGHIJK2" << N;
        QTest::newRow("deletion") << D << "DELETE" << "ZQ7RT2" << "DELETE" << "zq7rt2" << D;
        QTest::newRow("deletion id of the settings") << D << "DELETE" << "ZQ7RT2" << "SETUPX" << "ZQ7RT2" << N;
        QTest::newRow("sms") << M << "7" << "3" << "7" << "3" << M;
        QTest::newRow("sms wrong digit") << M << "7" << "3" << "7" << "4" << N;
    }
    void maintenance()
    {
        QFETCH(int, configure);
        QFETCH(QString, cfgId);
        QFETCH(QString, cfgPw);
        QFETCH(QString, id);
        QFETCH(QString, pw);
        QFETCH(int, expected);
        TestInstall &inst = *m_shared;
        const IniFile ini(inst.ctx().paths.iniFile);
        for (const MaintenanceTarget t : {MaintenanceTarget::Settings, MaintenanceTarget::DataDeletion,
                                          MaintenanceTarget::SmsUsage})
            setMaintenanceLogin(ini, t, QString(), QString());
        if (configure)
            QVERIFY(setMaintenanceLogin(ini, MaintenanceTarget(configure), cfgId, cfgPw));
        // The secret never lands in the configuration as typed.
        if (cfgPw.size() >= 6) {
            QFile f(ini.path());
            QVERIFY(f.open(QIODevice::ReadOnly));
            QVERIFY(!QString::fromUtf8(f.readAll()).contains(cfgPw.toUpper(), Qt::CaseInsensitive));
        }
        inst.ctx().user = {};
        const LoginResult r = fitrova::login(inst.ctx(), id, pw);
        QCOMPARE(int(r.maintenance), expected);
        QVERIFY(!r.ok);
        QVERIFY(!inst.ctx().user.loggedIn());
        if (expected != int(MaintenanceTarget::None))
            QVERIFY(r.message.isEmpty());
    }

    void maintenanceNeedsAHashAndTheRightForm()
    {
        TestInstall inst;
        const IniFile ini(inst.ctx().paths.iniFile);
        const QString sec = QString::fromUtf8(kMaintenanceSection);
        // A password written in plain text into the file does not switch the login on.
        ini.setValue(sec, QStringLiteral("SettingsId"), QStringLiteral("SETUPX"));
        ini.setValue(sec, QStringLiteral("SettingsPassword"), QStringLiteral("ABCDEFGHIJKL"));
        QCOMPARE(checkMaintenanceLogin(ini, QStringLiteral("SETUPX"), QStringLiteral("ABCDEFGHIJKL")),
                 MaintenanceTarget::None);
        // Logins of the wrong form are refused when configured.
        QVERIFY(!setMaintenanceLogin(ini, MaintenanceTarget::Settings, QStringLiteral("SETUP1"),
                                     QStringLiteral("ABCDEFGHIJKL")));
        QVERIFY(!setMaintenanceLogin(ini, MaintenanceTarget::DataDeletion, QStringLiteral("DELETE"),
                                     QStringLiteral("TOOLONG")));
        QVERIFY(!setMaintenanceLogin(ini, MaintenanceTarget::SmsUsage, QStringLiteral("12"), QStringLiteral("3")));
        // Configured, then switched off again with an empty password.
        QVERIFY(setMaintenanceLogin(ini, MaintenanceTarget::SmsUsage, QStringLiteral("7"), QStringLiteral("3")));
        QCOMPARE(checkMaintenanceLogin(ini, QStringLiteral("7"), QStringLiteral("3")), MaintenanceTarget::SmsUsage);
        QVERIFY(setMaintenanceLogin(ini, MaintenanceTarget::SmsUsage, QStringLiteral("7"), QString()));
        QCOMPARE(checkMaintenanceLogin(ini, QStringLiteral("7"), QStringLiteral("3")), MaintenanceTarget::None);
    }

    // --- staff numbers and saving users -------------------------------------------

    void firstUserGets0001()
    {
        TestInstall inst;
        const Db &db = inst.db();
        db.exec(QStringLiteral("DELETE FROM UserPG"));
        db.exec(QStringLiteral("DELETE FROM UserM"));
        QCOMPARE(nextStaffCode(db), QStringLiteral("0001"));
        QCOMPARE(addUser(db, QStringLiteral("first"), QStringLiteral("pw")), QStringLiteral("0001"));
        QCOMPARE(addUser(db, QStringLiteral("second"), QStringLiteral("pw")), QStringLiteral("0002"));
        db.exec(QStringLiteral("UPDATE UserM SET PsCode = '0041' WHERE UserID = 'second'"));
        QCOMPARE(nextStaffCode(db), QStringLiteral("0042"));
    }

    // The other workstation takes its number while this one holds the same
    // number in an open transaction: it must end with the next one.
    void numberTakenMeanwhileIsSkipped()
    {
        TestInstall inst;
        const Db &db = inst.db();
        const QString dir = inst.installDir();
        std::atomic<int> stage{0}; // 1: other workstation connected, 2: this one holds the number
        Outcome other;
        std::thread b([&] {
            AppContext c(dir);
            const auto failure = connectDatabases(c);
            if (failure)
                other = Outcome::refused(failure->text + QLatin1Char(' ') + failure->detail, QString());
            stage = 1;
            while (stage < 2)
                QThread::msleep(10);
            if (failure)
                return;
            UserRecord rec;
            rec.userId = QStringLiteral("second");
            rec.password = QStringLiteral("pw");
            rec.grCode = QStringLiteral("1");
            other = saveUser(c.main, JobMode::New, rec);
        });
        while (stage < 1)
            QThread::msleep(10);
        db.transaction([&] {
            db.exec(QStringLiteral("INSERT INTO UserM (PsCode, UserID, UserPass, UserName, GrCode, Uuse) "
                                   "VALUES ('0002', 'first', 'x', '', '1', '1')"));
            stage = 2;
            QThread::msleep(1200); // time for the other to reach its insert and wait on this transaction
        });
        b.join();
        QVERIFY2(other.saved, qPrintable(other.last().text));
        QCOMPARE(other.code, QStringLiteral("0003"));
    }

    void saveChecks_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("pw");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("focus");
        const int N = int(JobMode::New), C = int(JobMode::Change), None = int(JobMode::None);
        const int idF = UserIdField, pwF = UserPasswordField, noF = UserNoField;
        QTest::newRow("no job") << None << "x" << "y" << "신규버튼을 누른후 입력하여 주십시요." << "사용자등록" << noF;
        QTest::newRow("new without ID") << N << " " << "y" << "UserID를 입력하여 주십시요." << "사용자등록" << idF;
        QTest::newRow("new without password") << N << "x" << "" << "Password를 입력하여 주십시요." << "사용자등록" << pwF;
        QTest::newRow("new with a used ID") << N << "kim" << "y" << "이미 사용된 사용자ID 입니다." << "UserID" << idF;
        QTest::newRow("change to another's ID") << C << "admin" << "" << "이미 사용된 사용자ID 입니다." << "UserID" << idF;
        QTest::newRow("change without ID") << C << "" << "" << "UserID를 입력하여 주십시요." << "사용자등록" << idF;
    }
    void saveChecks()
    {
        QFETCH(int, mode);
        QFETCH(QString, id);
        QFETCH(QString, pw);
        QFETCH(QString, text);
        QFETCH(QString, title);
        QFETCH(int, focus);
        const Db &db = m_shared->db();
        const QString kim = m_kim;
        const int before = count(db, QStringLiteral("SELECT COUNT(*) FROM UserM"));
        UserRecord rec;
        rec.psCode = JobMode(mode) == JobMode::Change ? kim : QString();
        rec.userId = id;
        rec.password = pw;
        rec.grCode = QStringLiteral("1");
        const Outcome r = saveUser(db, JobMode(mode), rec);
        QVERIFY(!r.saved);
        QCOMPARE(r.last().text, text);
        QCOMPARE(r.last().title, title);
        QCOMPARE(r.field, focus);
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM UserM")), before);
        QCOMPARE(db.scalar(QStringLiteral("SELECT UserID FROM UserM WHERE PsCode = ?"), {kim}).toString(),
                 QStringLiteral("kim"));
    }

    // Keeping the password on an empty field is driven through the editor.
    void changeReplacesPasswordAndCarriesPrograms()
    {
        TestInstall inst;
        AppContext &c = inst.ctx();
        const Db &db = inst.db();
        const QString code = addUser(db, QStringLiteral("kim"), QStringLiteral("first#1"));
        UserRecord rec = *loadUser(db, code);
        QVERIFY(rec.password.isEmpty());
        rec.userName = QStringLiteral("O'Brien 김");
        rec.userId = QStringLiteral("kim2");
        rec.password = QStringLiteral("second#2");
        const Outcome r = saveUser(db, JobMode::Change, rec);
        QVERIFY(r.saved);
        QCOMPARE(r.last().text, QStringLiteral("수정되었읍니다.."));
        QCOMPARE(r.last().kind, Notice::Kind::Brief);
        QCOMPARE(loadUser(db, code)->userName, QStringLiteral("O'Brien 김"));
        QVERIFY(!userChk1(c, QStringLiteral("kim2"), QStringLiteral("first#1")).ok);
        QVERIFY(userChk1(c, QStringLiteral("kim2"), QStringLiteral("second#2")).ok);
        QVERIFY(isPasswordHash(storedPass(db, QStringLiteral("kim2"))));
        // The program rows follow the new ID.
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM UserPG WHERE UserID = 'kim'")), 0);
        QVERIFY(count(db, QStringLiteral("SELECT COUNT(*) FROM UserPG WHERE UserID = 'kim2'")) > 0);
    }

    void newUserCopiesTheGradeProgramsOnce()
    {
        TestInstall inst;
        const Db &db = inst.db();
        addGradeTwo(db);
        UserRecord rec;
        rec.userId = QStringLiteral("desk");
        rec.password = QStringLiteral("pw");
        rec.grCode = QStringLiteral("2");
        const Outcome r = saveUser(db, JobMode::New, rec);
        QVERIFY(r.saved);
        QCOMPARE(r.last().text, QStringLiteral("저장되었읍니다.."));
        const QString pgs = QStringLiteral("SELECT COUNT(*) FROM UserPG WHERE UserID = 'desk'");
        QCOMPARE(count(db, pgs), 2);
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM UserPG WHERE UserID = 'desk' AND PgID = '13'")), 1);
        // Later changes of the grade are not copied, nor is the user saved again.
        setGradeProgram(db, QStringLiteral("2"), QStringLiteral("16"), true);
        rec.psCode = r.code;
        QVERIFY(saveUser(db, JobMode::Change, rec).saved);
        QCOMPARE(count(db, pgs), 2);

        // An ID that already has program rows gets no second copy.
        db.exec(QStringLiteral("INSERT INTO UserPG (UserID, PgID, UUse) VALUES ('back', '28', '1')"));
        rec = {};
        rec.userId = QStringLiteral("back");
        rec.password = QStringLiteral("pw");
        rec.grCode = QStringLiteral("2");
        QVERIFY(saveUser(db, JobMode::New, rec).saved);
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM UserPG WHERE UserID = 'back'")), 1);
    }

    // --- deleting users ----------------------------------------------------------

    void deleteUser_data()
    {
        QTest::addColumn<QString>("carrier");
        QTest::addColumn<QString>("text");
        QTest::newRow("free") << "" << "";
        QTest::newRow("sale") << "Sale" << "이미 사용자 아이디로 발생한 판매자료가 있어 삭제가 불가능합니다";
        QTest::newRow("enrollment") << "Lecture" << "이미 사용자 아이디로 발생한 강좌접수자료가 있어 삭제가 불가능합니다";
    }
    void deleteUser()
    {
        QFETCH(QString, carrier);
        QFETCH(QString, text);
        // Each row has users of its own on the shared installation.
        const Db &db = m_shared->db();
        const QString tag = QString::fromLatin1(QTest::currentDataTag());
        const QString kimId = QStringLiteral("dk_") + tag, leeId = QStringLiteral("dl_") + tag;
        const QString code = addUser(db, kimId, QStringLiteral("pw"));
        const QString other = addUser(db, leeId, QStringLiteral("pw"));
        if (carrier == QLatin1String("Sale"))
            db.exec(QStringLiteral("INSERT INTO Sale (SlNo, SEQ, SlDate, MbCode, LastUser) "
                                   "VALUES ('0001', 1, '2024-05-10', '00000000', ?)"),
                    {code});
        if (carrier == QLatin1String("Lecture"))
            db.exec(QStringLiteral("INSERT INTO Lecture (LtGubun, MbCode, LastUser) VALUES ('1', '00000001', ?)"),
                    {code});
        const Outcome r = fitrova::deleteUser(db, code);
        QCOMPARE(r.saved, text.isEmpty());
        QCOMPARE(r.last().text, text);
        const int left = text.isEmpty() ? 0 : 1;
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM UserM WHERE PsCode = ?"), {code}), left);
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM UserPG WHERE UserID = ?"), {kimId}) > 0, bool(left));
        if (!text.isEmpty()) {
            QCOMPARE(r.last().title, QStringLiteral("사용자삭제"));
            QCOMPARE(r.last().kind, Notice::Kind::Info);
        }
        // Nobody else is touched.
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM UserM WHERE PsCode = ?"), {other}), 1);
        QVERIFY(count(db, QStringLiteral("SELECT COUNT(*) FROM UserPG WHERE UserID = ?"), {leeId}) > 0);
    }

    // --- grades --------------------------------------------------------------------

    void gradeRow_data()
    {
        QTest::addColumn<QString>("oldCode");
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("gradesAfter");
        QTest::newRow("new") << "" << "3" << true << true << "" << "" << "1,2,3";
        QTest::newRow("new, letter") << "" << "A" << true << false << "숫자만 입력가능합니다" << "확인" << "1,2";
        QTest::newRow("new, taken") << "" << "1" << true << false << "이미 등록된 자료입니다." << "코드중복" << "1,2";
        QTest::newRow("new, two digits") << "" << "12" << true << false << "등급코드는 숫자 한 자리로 입력하여 주십시요."
                                         << "확인" << "1,2";
        QTest::newRow("new, no code") << "" << "" << true << false << "" << "" << "1,2";
        QTest::newRow("rename") << "2" << "5" << true << true << "" << "" << "1,5";
        QTest::newRow("rename declined") << "2" << "5" << false << false << "" << "" << "1,2";
        QTest::newRow("rename onto a taken code") << "2" << "1" << true << false << "이미 등록된 자료입니다."
                                                  << "코드중복" << "1,2";
        QTest::newRow("name only") << "2" << "2" << true << true << "" << "" << "1,2";
    }
    void gradeRow()
    {
        QFETCH(QString, oldCode);
        QFETCH(QString, code);
        QFETCH(bool, confirm);
        QFETCH(bool, ok);
        QFETCH(QString, text);
        QFETCH(QString, title);
        QFETCH(QString, gradesAfter);
        // Every row starts from the grades 1 and 2; user "desk" and the
        // programs of grade 2 were added with the shared installation.
        const Db &db = m_shared->db();
        db.exec(QStringLiteral("DELETE FROM GradeM WHERE GrCode <> '1'"));
        db.exec(QStringLiteral("INSERT INTO GradeM (GrCode, GrName) VALUES ('2', '데스크')"));
        int asked = 0;
        const Outcome r = saveGradeRow(db, oldCode, code, QStringLiteral("새이름"), [&] {
            ++asked;
            return confirm;
        });
        QCOMPARE(r.saved, ok);
        QCOMPARE(r.last().text, text);
        QCOMPARE(r.last().title, title);
        QStringList codes;
        for (const GradeRow &g : listGrades(db))
            codes << g.grCode;
        QCOMPARE(codes.join(QLatin1Char(',')), gradesAfter);
        // Only a change of an existing row is confirmed.
        QCOMPARE(asked > 0, !oldCode.isEmpty() && text.isEmpty());
        if (ok)
            QCOMPARE(db.scalar(QStringLiteral("SELECT GrName FROM GradeM WHERE GrCode = ?"), {code}).toString(),
                     QStringLiteral("새이름"));
        // Users and granted programs keep the code they had.
        QCOMPARE(db.scalar(QStringLiteral("SELECT GrCode FROM UserM WHERE UserID = 'desk'")).toString(),
                 QStringLiteral("2"));
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM Grade WHERE GrCode = '2'")), 2);
    }

    // --- granted programs ----------------------------------------------------------

    // Ticking and the "all" box are driven through the screen; these are the edges.
    void rightsEdges()
    {
        TestInstall inst;
        const Db &db = inst.db();
        const int listed = count(db, QStringLiteral("SELECT COUNT(*) FROM PgList WHERE UUSE = '1'"));
        const QString two = QStringLiteral("2");
        const QString ofTwo = QStringLiteral("SELECT COUNT(*) FROM Grade WHERE GrCode = '2'");
        db.exec(QStringLiteral("INSERT INTO GradeM (GrCode, GrName) VALUES ('2', '데스크')"));

        setGradeProgram(db, two, QStringLiteral("13"), true);
        setGradeProgram(db, two, QStringLiteral("13"), true);
        QCOMPARE(count(db, ofTwo), 1);
        QCOMPARE(db.scalar(QStringLiteral("SELECT PgName FROM Grade WHERE GrCode = '2' AND PgID = '13'")).toString(),
                 QStringLiteral("회원접수"));
        // "All" adds only what is missing, and leaves other grades alone.
        setAllGradePrograms(db, two, true);
        QCOMPARE(count(db, ofTwo), listed);
        setAllGradePrograms(db, two, false);
        QCOMPARE(count(db, ofTwo), 0);
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM Grade WHERE GrCode = '1'")), listed);
        // The "*" item does nothing.
        setAllGradePrograms(db, QStringLiteral("*"), true);
        setGradeProgram(db, QStringLiteral("*"), QStringLiteral("13"), true);
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM Grade WHERE GrCode = '*'")), 0);
        // A program taken off the list is neither offered nor granted by "all".
        QVERIFY(removeProgramFromList(db, QStringLiteral("35")).saved);
        QCOMPARE(gradePrograms(db, two).size(), listed - 1);
        setAllGradePrograms(db, two, true);
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM Grade WHERE GrCode = '2' AND PgID = '35'")), 0);
    }

    // --- password change -----------------------------------------------------------

    void changePassword_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("new1");
        QTest::addColumn<QString>("new2");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("focus");
        QTest::newRow("changed") << "chg" << "old#1" << "new#2" << "new#2" << "비밀번호가 변경 되었습니다."
                                 << int(PasswordNoField);
        QTest::newRow("unknown user") << "nobody" << "old#1" << "new#2" << "new#2" << kUnknownUserText
                                      << int(PasswordUserIdField);
        QTest::newRow("wrong current") << "chg" << "OLD#1" << "new#2" << "new#2" << kWrongPasswordText
                                       << int(PasswordCurrentField);
        QTest::newRow("entries differ") << "chg" << "old#1" << "new#2" << "new#3" << "비밀번호를 확인하십시요"
                                        << int(PasswordNew2Field);
        QTest::newRow("empty new") << "chg" << "old#1" << "" << "" << "Password를 입력하여 주십시요."
                                   << int(PasswordNew1Field);
    }
    void changePassword()
    {
        QFETCH(QString, id);
        QFETCH(QString, current);
        QFETCH(QString, new1);
        QFETCH(QString, new2);
        QFETCH(QString, text);
        QFETCH(int, focus);
        AppContext &c = m_shared->ctx();
        const Db &db = m_shared->db();
        db.exec(QStringLiteral("UPDATE UserM SET UserPass = ? WHERE UserID = 'chg'"), {m_oldPasswordHash});
        const Outcome r = fitrova::changePassword(db, id, current, new1, new2);
        QCOMPARE(r.last().text, text);
        QCOMPARE(r.field, focus);
        const bool changed = focus == int(PasswordNoField);
        QCOMPARE(r.saved, changed);
        QCOMPARE(userChk1(c, QStringLiteral("chg"), QStringLiteral("old#1")).ok, !changed);
        if (changed) {
            QCOMPARE(r.last().kind, Notice::Kind::Brief);
            QVERIFY(userChk1(c, QStringLiteral("chg"), new1).ok);
            QVERIFY(isPasswordHash(storedPass(db, QStringLiteral("chg"))));
        } else {
            QCOMPARE(storedPass(db, QStringLiteral("chg")), m_oldPasswordHash);
        }
    }
};

QTEST_GUILESS_MAIN(TestUsers)
#include "tst_users.moc"
