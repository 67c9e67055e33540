// FITROVA_DB_TEST
// Deleting entered data: only an administrator with the own password; each
// group with the rows that depend on it; outstanding amounts and points
// computed again from what remains; the user "1" and the administrators never
// deleted; a run that fails part-way removes nothing.

#include <QtTest>
#include <QScopeGuard>

#include "data/schema.h"
#include "foundation/password.h"
#include "maintenance/datadeletion.h"
#include "testinstall.h"
#include "../members/memberbuilders.h"

using namespace fitrova;
using namespace fitrova::test;

Q_DECLARE_METATYPE(QList<fitrova::EnteredData>)
Q_DECLARE_METATYPE(QList<fitrova::MaintenanceData>)

namespace {

qint64 count(const Db &db, const char *table, const QString &where = {})
{
    return db.scalar(QStringLiteral("SELECT COUNT(*) FROM %1%2").arg(QString::fromUtf8(table), where.isEmpty() ? QString() : " WHERE " + where))
        .toLongLong();
}

void addUser(const Db &db, const char *psCode, const char *id, const char *grade, const QString &password = "pw1234")
{
    db.exec("INSERT INTO UserM (PsCode, UserID, UserPass, UserName, GrCode, Uuse) VALUES (?, ?, ?, ?, ?, '1')",
            {psCode, id, hashPassword(password), QString(QString("사용자") + id), grade});
    db.exec("INSERT INTO UserPG (UserID, PgID, UUse) VALUES (?, '13', '1')", {id});
}

// Two members with enrollments, points, visits, a locker, a sale with an
// unpaid part, programs, goods and the cash book.
void fillCentre(const Db &db)
{
    for (const char *t : {"Member", "Mday", "Lecture", "UserPoint", "entrance", "ItemTrs", "Sale", "PerBoxS", "RqPerBox",
                          "Program", "ProgAmt", "Item", "계정과목", "적요코드", "수입지출", "Deposit", "Place"})
        db.exec(QStringLiteral("DELETE FROM %1").arg(QString::fromUtf8(t)));
    addMember(db, "00000001", "홍길동");
    addMember(db, "00000002", "김영희");
    db.exec("INSERT INTO Mday (MbCode, Mday) VALUES ('00000001', '2024-05-05')");
    Lect l;
    l.tAmt = 150000;
    l.cashAmt = 100000; // 50,000 unpaid
    const qint64 lt1 = addLecture(db, l);
    l.mbCode = "00000002";
    l.cashAmt = 150000;
    const qint64 lt2 = addLecture(db, l);
    addPoint(db, "00000001", "1", lt1, 1500);
    addPoint(db, "00000002", "1", lt2, 1500, 300);
    const qint64 sale = addSale(db, "00000001", 20000, 15000, "2024-05-09"); // 5,000 unpaid
    addPoint(db, "00000001", "4", sale, 200);
    db.exec("UPDATE Member SET MisuAmt = 55000, Point = 1700 WHERE MbCode = '00000001'");
    db.exec("UPDATE Member SET MisuAmt = 0, Point = 1200 WHERE MbCode = '00000002'");
    const qint64 ent = db.insertId("INSERT INTO entrance (InDate, InTime, PgGubun, MbCode, Ltid) "
                                   "VALUES ('2024-05-09', '07:10', '1', '00000001', ?)",
                                   {lt1}, "Entid");
    db.exec("INSERT INTO ItemTrs (Entid, ItId) VALUES (?, 1)", {ent});
    db.exec("INSERT INTO PerBoxS (BoxCode, BoxNum, State, UUse, MbCode, StDate, EndDate, MonCnt) "
            "VALUES ('1', 7, '0', '1', '00000001', '2024-05-01', '2024-05-31', 1)");
    db.exec("INSERT INTO PerBoxS (BoxCode, BoxNum, State, UUse, MonCnt) VALUES ('1', 8, '0', '0', 0)");
    // Kept in use by the desk itself, with no renter.
    db.exec("INSERT INTO PerBoxS (BoxCode, BoxNum, State, UUse, MbCode, MonCnt) VALUES ('1', 9, '0', '1', '', 0)");
    db.exec("INSERT INTO RqPerBox (RqDate, MbCode, BoxCode, BoxNum, RqGubun, RqBox) "
            "VALUES ('2024-05-01', '00000001', '1', '7', '1', 7)");
    db.exec("INSERT INTO Program (PgCode, PgName) VALUES ('1010101', '아침수영')");
    db.exec("INSERT INTO Item (ItCode, ItName, ItAmt) VALUES ('S01-0001', '수경', 15000)");
    db.exec("INSERT INTO 계정과목 (과목코드, 과목명, 과목구분, 금액구분) VALUES ('100', '회비', '1', '1')");
    db.exec("INSERT INTO 적요코드 (과목코드, 적요코드, 적요) VALUES ('100', 1, '월회비')");
    db.exec("INSERT INTO 수입지출 (일자, 년월, 과목구분, 과목코드, 금액구분, 수입, 지출) "
            "VALUES ('2024-05-09', '2024-05', '1', '100', '1', 30000, 0)");
    db.exec("INSERT INTO Deposit (MbCode, DpDate, Amt) VALUES ('00000001', '2024-05-01', 10000)");
    db.exec("INSERT INTO Place (사용처명) VALUES ('브렌무어스포츠')");
}

} // namespace

class TstDataDeletion : public QObject {
    Q_OBJECT
    std::unique_ptr<TestInstall> m_install;
    AppContext &ctx() { return m_install->ctx(); }
    const Db &db() { return m_install->db(); }

private slots:
    void initTestCase()
    {
        m_install = std::make_unique<TestInstall>();
        addUser(db(), "0101", "boss", "1", "Boss!pw");
        addUser(db(), "0102", "clerk", "2", "Clerk!pw");
    }
    void cleanupTestCase() { m_install.reset(); }

    // Only a user of grade "1" (as stored now), and only with the own password
    // typed exactly; no letter added to it.
    void rights_data()
    {
        QTest::addColumn<QString>("userId");
        QTest::addColumn<QString>("grade"); // the grade the session believes
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("administrator, own password") << "boss" << "1" << "Boss!pw" << "";
        QTest::newRow("administrator, wrong password") << "boss" << "1" << "Boss!pwX" << "삭제 비밀번호가 틀립니다.";
        QTest::newRow("administrator, upper-cased") << "boss" << "1" << "BOSS!PW" << "삭제 비밀번호가 틀립니다.";
        QTest::newRow("administrator, empty") << "boss" << "1" << "" << "삭제 비밀번호가 틀립니다.";
        QTest::newRow("clerk with the own password") << "clerk" << "2" << "Clerk!pw" << "관리자만 삭제할수 있읍니다";
        QTest::newRow("clerk believing to be grade 1") << "clerk" << "1" << "Clerk!pw" << "관리자만 삭제할수 있읍니다";
        QTest::newRow("clerk with the administrator's password") << "clerk" << "2" << "Boss!pw" << "관리자만 삭제할수 있읍니다";
        QTest::newRow("nobody logged in") << "" << "1" << "x" << "관리자만 삭제할수 있읍니다";
    }
    void rights()
    {
        QFETCH(QString, userId);
        QFETCH(QString, grade);
        QFETCH(QString, typed);
        QFETCH(QString, refusal);
        const CurrentUser saved = ctx().user;
        ctx().user = CurrentUser{userId, "x", "0000", grade};
        const Outcome o = checkDeletionRights(ctx(), typed);
        ctx().user = saved;
        QCOMPARE(o.saved, refusal.isEmpty());
        if (!refusal.isEmpty()) {
            QCOMPARE(o.last().text, refusal);
            QCOMPARE(o.last().title, QString("자료삭제"));
        }
    }

    // "수강/사물함 내역": enrollments, visits with their equipment, locker
    // rentals and the whole point ledger go; rented lockers stay, freed (one
    // the desk keeps in use for itself stays in use); members stay with
    // points 0 and the outstanding amount of what remains (the sale).
    void enrollmentsAndLockers()
    {
        fillCentre(db());
        const Outcome o = deleteEnteredData(ctx(), {EnteredData::EnrollmentsLockers});
        QVERIFY(o.saved);
        QCOMPARE(o.last().text, QString("삭제되었읍니다.."));
        for (const char *t : {"Lecture", "entrance", "ItemTrs", "RqPerBox", "UserPoint"})
            QCOMPARE(count(db(), t), 0);
        QCOMPARE(count(db(), "Member"), 2);
        QCOMPARE(count(db(), "Sale"), 1);
        QCOMPARE(count(db(), "PerBoxS"), 3);
        QCOMPARE(count(db(), "PerBoxS", "MbCode <> '' OR StDate <> '' OR MonCnt <> 0"), 0);
        QCOMPARE(count(db(), "PerBoxS", "UUse = '1'"), 1);
        QCOMPARE(count(db(), "PerBoxS", "UUse = '1' AND BoxNum = 9"), 1);
        QCOMPARE(db().scalar("SELECT Point FROM Member WHERE MbCode = '00000001'").toLongLong(), 0);
        QCOMPARE(db().scalar("SELECT Point FROM Member WHERE MbCode = '00000002'").toLongLong(), 0);
        QCOMPARE(db().scalar("SELECT MisuAmt FROM Member WHERE MbCode = '00000001'").toLongLong(), 5000);
        QCOMPARE(db().scalar("SELECT MisuAmt FROM Member WHERE MbCode = '00000002'").toLongLong(), 0);

        // With the sales gone too, nothing is outstanding.
        fillCentre(db());
        QVERIFY(deleteEnteredData(ctx(), {EnteredData::EnrollmentsLockers, EnteredData::Sales}).saved);
        QCOMPARE(db().scalar("SELECT SUM(MisuAmt) FROM Member").toLongLong(), 0);
        QCOMPARE(db().scalar("SELECT SUM(Point) FROM Member").toLongLong(), 0);
    }

    // Each group removes its tables and leaves the others.
    void groups_data()
    {
        QTest::addColumn<QList<EnteredData>>("groups");
        QTest::addColumn<QStringList>("emptied");
        QTest::newRow("courses") << QList<EnteredData>{EnteredData::Courses} << QStringList{"Program", "ProgAmt"};
        QTest::newRow("goods") << QList<EnteredData>{EnteredData::Goods} << QStringList{"Item"};
        QTest::newRow("members") << QList<EnteredData>{EnteredData::Members} << QStringList{"Member", "Mday"};
        QTest::newRow("sales") << QList<EnteredData>{EnteredData::Sales} << QStringList{"Sale"};
        QTest::newRow("cash book") << QList<EnteredData>{EnteredData::CashBook} << QStringList{"계정과목", "적요코드", "수입지출"};
    }
    void groups()
    {
        QFETCH(QList<EnteredData>, groups);
        QFETCH(QStringList, emptied);
        fillCentre(db());
        QVERIFY(deleteEnteredData(ctx(), groups).saved);
        for (const char *t : {"Member", "Mday", "Lecture", "Sale", "Program", "Item", "계정과목", "적요코드", "수입지출", "entrance"}) {
            const QString name = QString::fromUtf8(t);
            if (emptied.contains(name))
                QCOMPARE(count(db(), t), 0);
            else
                QVERIFY2(count(db(), t) > 0, t);
        }
    }

    // Sales take their goods points along; the members' balances follow.
    void salesTakeTheirPoints()
    {
        fillCentre(db());
        QVERIFY(deleteEnteredData(ctx(), {EnteredData::Sales}).saved);
        QCOMPARE(count(db(), "UserPoint", "PgGubun = '4'"), 0);
        QCOMPARE(count(db(), "UserPoint", "PgGubun = '1'"), 2);
        QCOMPARE(db().scalar("SELECT Point FROM Member WHERE MbCode = '00000001'").toLongLong(), 1500);
        QCOMPARE(db().scalar("SELECT MisuAmt FROM Member WHERE MbCode = '00000001'").toLongLong(), 50000);
        QCOMPARE(db().scalar("SELECT Point FROM Member WHERE MbCode = '00000002'").toLongLong(), 1200);
    }

    void nothingTicked()
    {
        const Outcome o = deleteEnteredData(ctx(), {});
        QVERIFY(!o.saved);
        QCOMPARE(o.last().text, QString("삭제할 자료를 선택하세요."));
    }

    // The users go, but never the user "1" nor an administrator, and the
    // administrators keep their programs and their grade's rights.
    void usersSurvive()
    {
        addUser(db(), "0103", "1", "3");
        db().exec("INSERT INTO Grade (GrCode, PgID, PgBun, PgName, UUse) VALUES ('2', '13', '2', '회원접수', '1')");
        QVERIFY(deleteMaintenanceData(ctx(), {MaintenanceData::Users}).saved);
        QStringList ids;
        for (const Row &r : db().query("SELECT UserID FROM UserM ORDER BY UserID"))
            ids << r.str("UserID");
        QCOMPARE(ids, (QStringList{"1", "admin", "boss"}));
        QCOMPARE(count(db(), "UserPG", "UserID = 'clerk'"), 0);
        QVERIFY(count(db(), "UserPG", "UserID = 'boss'") > 0);
        QVERIFY(count(db(), "UserPG", "UserID = '1'") > 0);
        QCOMPARE(count(db(), "Grade", "GrCode <> '1'"), 0);
        QVERIFY(count(db(), "Grade", "GrCode = '1'") > 0);
        addUser(db(), "0102", "clerk", "2", "Clerk!pw");
    }

    void maintenanceGroups()
    {
        fillCentre(db());
        QVERIFY(deleteMaintenanceData(ctx(), {MaintenanceData::Visits, MaintenanceData::Lockers, MaintenanceData::Deposits,
                                              MaintenanceData::Business, MaintenanceData::Points})
                    .saved);
        for (const char *t : {"entrance", "ItemTrs", "PerBoxS", "RqPerBox", "Deposit", "Place", "UserPoint"})
            QCOMPARE(count(db(), t), 0);
        QCOMPARE(db().scalar("SELECT SUM(Point) FROM Member").toLongLong(), 0);
        QCOMPARE(count(db(), "Lecture"), 2);

        fillCentre(db());
        QVERIFY(deleteMaintenanceData(ctx(), {MaintenanceData::Enrollments}).saved);
        QCOMPARE(count(db(), "Lecture"), 0);
        QCOMPARE(count(db(), "UserPoint", "PgGubun = '1'"), 0);
        QCOMPARE(count(db(), "UserPoint", "PgGubun = '4'"), 1);
        QCOMPARE(db().scalar("SELECT Point FROM Member WHERE MbCode = '00000001'").toLongLong(), 200);
        QCOMPARE(db().scalar("SELECT MisuAmt FROM Member WHERE MbCode = '00000001'").toLongLong(), 5000);
    }

    // A statement failing part-way (here a table another hand removed) takes
    // the whole run back: the members deleted before it are there again.
    void allOrNothing()
    {
        fillCentre(db());
        db().exec("DROP TABLE Deposit");
        const auto restore = qScopeGuard([&] {
            for (const Table &t : allTables())
                if (t.name == QLatin1String("Deposit"))
                    for (const QString &sql : createTableStatements(t, ctx().engine))
                        db().exec(sql);
        });
        bool failed = false;
        try {
            deleteMaintenanceData(ctx(), {MaintenanceData::Members, MaintenanceData::Enrollments, MaintenanceData::Deposits});
        } catch (const DbError &) {
            failed = true;
        }
        QVERIFY(failed);
        QCOMPARE(count(db(), "Member"), 2);
        QCOMPARE(count(db(), "Lecture"), 2);
        QCOMPARE(db().scalar("SELECT MisuAmt FROM Member WHERE MbCode = '00000001'").toLongLong(), 55000);
    }

    void structureCheck()
    {
        db().exec("DROP TABLE Schedule");
        const StructureCheck r = repairDataStructure(ctx());
        QCOMPARE(r.created, QStringList{"Schedule"});
        QVERIFY(r.failed.isEmpty());
        QVERIFY(db().tableExists("Schedule"));
        QVERIFY(repairDataStructure(ctx()).created.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TstDataDeletion)
#include "tst_datadeletion.moc"
