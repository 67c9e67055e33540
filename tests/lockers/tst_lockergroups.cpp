// FITROVA_DB_TEST
// Locker groups and numbers on the core: codes past nine, the number range
// of a group, more numbers, a new group meeting lockers left under its code
// (a rented one is never deleted), deleting groups and lockers, and the
// 사용 mark that takes a locker out of service.

#include <QtTest>

#include "lockerbuilders.h"
#include "testinstall.h"

using namespace fitrova;
using namespace fitrova::test;

class TstLockerGroups : public QObject {
    Q_OBJECT
private:
    TestInstall m_inst;
    const Db &db() { return m_inst.db(); }
    AppContext &ctx() { return m_inst.ctx(); }

    QString rangeOf(const QString &code)
    {
        for (const LockerGroupLine &l : lockerGroupLines(db()))
            if (l.group.code == code)
                return lockerRangeText(l.lockers, l.minNum, l.maxNum);
        return QStringLiteral("(none)");
    }
    void rentDirectly(const QString &code, qint64 num, const QString &mb = QStringLiteral("00000001"))
    {
        db().exec("UPDATE PerBoxS SET UUse = '1', MbCode = ?, StDate = '2024-05-01', EndDate = '2024-05-31' "
                  "WHERE BoxCode = ? AND BoxNum = ?",
                  {mb, code, num});
    }
    QList<qint64> numbersOf(const QString &code)
    {
        QList<qint64> n;
        for (const LockerLine &l : lockerLines(db(), code))
            n << l.boxNum;
        return n;
    }
    static QList<qint64> span(qint64 from, qint64 to)
    {
        QList<qint64> n;
        for (qint64 i = from; i <= to; ++i)
            n << i;
        return n;
    }
    LockerGroupInput newGroup(const QString &name, qint64 from, qint64 to, const QString &code = {})
    {
        return LockerGroupInput{QStringLiteral("N"), LockerGroup{code, name, QStringLiteral("1"), 10000, 5000, 1},
                                from, to};
    }

private slots:
    void init() { clearLockers(db()); }

    void nextCode_data()
    {
        QTest::addColumn<QStringList>("codes");
        QTest::addColumn<QString>("next");
        QTest::newRow("first group") << QStringList{} << "1";
        QTest::newRow("after three") << QStringList{"1", "2", "3"} << "4";
        QTest::newRow("past nine") << QStringList{"1", "5", "9"} << "10";
        QTest::newRow("past ten") << QStringList{"9", "10", "2"} << "11";
        QTest::newRow("a code that is not a number") << QStringList{"A", "3"} << "4";
    }
    void nextCode()
    {
        QFETCH(QStringList, codes);
        QFETCH(QString, next);
        for (const QString &c : codes)
            addLockerGroup(db(), c, QStringLiteral("사물함 ") + c, 0, 0, 1, 0);
        QCOMPARE(nextLockerGroupCode(db()), next);
    }

    void groupsInNumericOrder()
    {
        for (const char *c : {"10", "2", "9", "1", "11"})
            addLockerGroup(db(), QString::fromLatin1(c), QStringLiteral("그룹"), 0, 0, 1, 0);
        QStringList order;
        for (const LockerGroup &g : lockerGroups(db()))
            order << g.code;
        QCOMPARE(order, QStringList({"1", "2", "9", "10", "11"}));
        order.clear();
        for (const LockerGroupLine &l : lockerGroupLines(db()))
            order << l.group.code;
        QCOMPARE(order, QStringList({"1", "2", "9", "10", "11"}));
    }

    void newGroupWithItsLockers()
    {
        const LockerGroupSave s = saveLockerGroup(ctx(), newGroup(QStringLiteral("남자탈의실"), 1, 50), ExistingNumbers::Ask);
        QVERIFY(s.outcome.saved);
        QVERIFY(!s.askReplace);
        QCOMPARE(s.outcome.code, QString("1"));
        QCOMPARE(s.outcome.last().text, QString("저장되었읍니다"));
        const auto g = findLockerGroup(db(), QStringLiteral("1"));
        QVERIFY(g);
        QCOMPARE(g->name, QString("남자탈의실"));
        QCOMPARE(g->deposit, 10000);
        QCOMPARE(g->monCnt, 1);
        QCOMPARE(numbersOf("1"), span(1, 50));
        for (const LockerLine &l : lockerLines(db(), "1"))
            QVERIFY(!l.rented());
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM PerBoxS WHERE State = '0' AND UUse = '0'").toInt(), 50);
        QCOMPARE(rangeOf("1"), QString("1 - 50"));

        // Without numbers the group has no lockers and shows "-".
        const LockerGroupSave empty = saveLockerGroup(ctx(), newGroup(QStringLiteral("여자탈의실"), 0, 0), ExistingNumbers::Ask);
        QCOMPARE(empty.outcome.code, QString("2"));
        QCOMPARE(rangeOf("2"), QString("-"));
    }

    void groupRefusals_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("from");
        QTest::addColumn<qint64>("to");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::newRow("no name") << "  " << qint64(1) << qint64(10) << "" << "자료저장중 오류가 발생하였습니다."
                                 << "사물함명을 입력하세요..";
        QTest::newRow("code taken") << "사물함" << qint64(1) << qint64(10) << "1" << "이미 등록된 자료입니다." << "BoxCode";
        QTest::newRow("reversed range") << "사물함" << qint64(10) << qint64(1) << "" << "사물함 번호를 확인하여 주십시요."
                                        << "번호확인";
        QTest::newRow("only a first number") << "사물함" << qint64(5) << qint64(0) << ""
                                             << "사물함 번호를 확인하여 주십시요." << "번호확인";
    }
    void groupRefusals()
    {
        QFETCH(QString, name);
        QFETCH(qint64, from);
        QFETCH(qint64, to);
        QFETCH(QString, code);
        QFETCH(QString, text);
        QFETCH(QString, title);
        addLockerGroup(db(), "1", "기존", 0, 0, 1, 3);
        const QStringList before = lockerTables(db()) + dump(db(), "SELECT BoxCode FROM PerBox");
        const LockerGroupSave s = saveLockerGroup(ctx(), newGroup(name, from, to, code), ExistingNumbers::Replace);
        QVERIFY(!s.outcome.saved);
        QCOMPARE(s.outcome.last().text, text);
        QCOMPARE(s.outcome.last().title, title);
        QCOMPARE(lockerTables(db()) + dump(db(), "SELECT BoxCode FROM PerBox"), before);
    }

    void changeKeepsTheLockers()
    {
        addLockerGroup(db(), "1", "헬스", 10000, 5000, 1, 5);
        rentDirectly("1", 2);
        LockerGroupInput in{QStringLiteral("C"), LockerGroup{"1", "헬스 개인사물함", "2", 20000, 8000, 3}, 1, 99};
        const LockerGroupSave s = saveLockerGroup(ctx(), in, ExistingNumbers::Ask);
        QVERIFY(s.outcome.saved);
        QCOMPARE(s.outcome.last().text, QString("수정되었읍니다"));
        const auto g = findLockerGroup(db(), "1");
        QCOMPARE(g->name, QString("헬스 개인사물함"));
        QCOMPARE(g->course, QString("2"));
        QCOMPARE(g->fee, 8000);
        QCOMPARE(g->monCnt, 1);
        QCOMPARE(numbersOf("1"), span(1, 5));
        QCOMPARE(lockerLines(db(), "1")[1].mbCode, QString("00000001"));
    }

    void makingMoreNumbers()
    {
        addLockerGroup(db(), "1", "남자탈의실", 0, 0, 1, 50);
        const Outcome overlap = makeLockerNumbers(ctx(), "1", 40, 60);
        QCOMPARE(overlap.last().text, QString("이미 생성된 번호가 있습니다.다시 한번 번호를 확인하십시요."));
        QCOMPARE(overlap.last().title, QString("번호확인"));
        QCOMPARE(rangeOf("1"), QString("1 - 50"));
        const Outcome more = makeLockerNumbers(ctx(), "1", 51, 60);
        QVERIFY(more.saved);
        QCOMPARE(more.last().text, QString("번호가 생성되었습니다."));
        QCOMPARE(rangeOf("1"), QString("1 - 60"));
        QCOMPARE(numbersOf("1"), span(1, 60));
        QCOMPARE(makeLockerNumbers(ctx(), "7", 1, 5).last().text, QString("사물함코드를 먼저 만든후 번호를 생성하세요"));
        QCOMPARE(makeLockerNumbers(ctx(), "1", 0, 5).last().text, QString("사물함 번호를 확인하여 주십시요."));
    }

    // Lockers left under a code (their group row gone) meet a new group of
    // that code: the question, and a rented locker is never deleted.
    void newGroupMeetsLeftLockers()
    {
        for (const char *c : {"1", "2", "3"})
            addLockerGroup(db(), QString::fromLatin1(c), QStringLiteral("그룹"), 0, 0, 1, 2);
        for (qint64 n = 1; n <= 12; ++n)
            db().exec("INSERT INTO PerBoxS (BoxCode, BoxNum, State, UUse) VALUES ('4', ?, '0', '0')", {n});
        rentDirectly("4", 8);
        const QString code = nextLockerGroupCode(db());
        QCOMPARE(code, QString("4"));

        const LockerGroupSave ask = saveLockerGroup(ctx(), newGroup("새 사물함", 1, 5, code), ExistingNumbers::Ask);
        QVERIFY(ask.askReplace);
        QVERIFY(!ask.outcome.saved);
        QVERIFY(!findLockerGroup(db(), "4"));

        const QStringList before = lockerTables(db());
        const LockerGroupSave refused = saveLockerGroup(ctx(), newGroup("새 사물함", 1, 5, code), ExistingNumbers::Replace);
        QVERIFY(!refused.outcome.saved);
        QVERIFY(refused.outcome.last().text.startsWith("사용중인 사물함(8번)이 있어 번호를 다시 생성할수 없습니다."));
        QCOMPARE(refused.outcome.last().title, QString("사물함번호확인"));
        QCOMPARE(lockerTables(db()), before);
        QVERIFY(!findLockerGroup(db(), "4"));

        const LockerGroupSave replaced = saveLockerGroup(ctx(), newGroup("새 사물함", 1, 10, code), ExistingNumbers::Replace);
        QVERIFY(replaced.outcome.saved);
        QCOMPARE(numbersOf("4"), span(1, 10));
        QCOMPARE(lockerLines(db(), "4")[7].mbCode, QString("00000001"));
        QVERIFY(lockerLines(db(), "4")[7].rented());

        // "No" to the question saves the group and leaves its lockers.
        for (qint64 n = 1; n <= 3; ++n)
            db().exec("INSERT INTO PerBoxS (BoxCode, BoxNum, State, UUse) VALUES ('5', ?, '0', '0')", {n});
        const LockerGroupSave kept = saveLockerGroup(ctx(), newGroup("또 사물함", 1, 20, "5"), ExistingNumbers::Keep);
        QVERIFY(kept.outcome.saved);
        QCOMPARE(numbersOf("5"), span(1, 3));
    }

    void deletingGroups()
    {
        addLockerGroup(db(), "1", "남자", 0, 0, 1, 5);
        addLockerGroup(db(), "2", "여자", 0, 0, 1, 5);
        rentDirectly("1", 3);
        db().exec("INSERT INTO RqPerBox (RqDate, MbCode, BoxCode, RqGubun, RqBox) VALUES ('2024-05-01', '00000002', '2', '1', 1)");
        const Outcome check = checkLockerGroupDelete(db(), "1");
        QCOMPARE(check.last().text, QString("사용중인 사물함은 삭제할수 없읍니다."));
        QCOMPARE(check.last().title, QString("삭제오류"));
        QVERIFY(!deleteLockerGroup(ctx(), "1").saved);
        QCOMPARE(numbersOf("1").size(), 5);

        QVERIFY(checkLockerGroupDelete(db(), "2").saved);
        QVERIFY(deleteLockerGroup(ctx(), "2").saved);
        QVERIFY(!findLockerGroup(db(), "2"));
        QVERIFY(numbersOf("2").isEmpty());
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM RqPerBox WHERE BoxCode = '2'").toInt(), 1); // history stays
    }

    void deletingLockers()
    {
        addLockerGroup(db(), "1", "남자", 0, 0, 1, 5);
        rentDirectly("1", 3);
        QCOMPARE(checkLockerDelete(db(), "1", 3).last().text, QString("사용중인 사물함번호는 삭제할수 없습니다."));
        QVERIFY(!deleteLocker(ctx(), "1", 3).saved);
        QVERIFY(checkLockerDelete(db(), "1", 4).saved);
        QVERIFY(deleteLocker(ctx(), "1", 4).saved);
        QCOMPARE(numbersOf("1"), (QList<qint64>{1, 2, 3, 5}));
    }

    void theUseMark_data()
    {
        QTest::addColumn<QString>("start"); // "free", "out of service", "rented"
        QTest::addColumn<bool>("inUse");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<QString>("uUse");
        QTest::newRow("free taken out of service") << "free" << true << true << "1";
        QTest::newRow("back in service") << "out of service" << false << true << "0";
        QTest::newRow("a renter's locker is not freed here") << "rented" << false << false << "1";
        QTest::newRow("no change") << "free" << false << true << "0";
    }
    void theUseMark()
    {
        QFETCH(QString, start);
        QFETCH(bool, inUse);
        QFETCH(bool, saved);
        QFETCH(QString, uUse);
        addLockerGroup(db(), "1", "남자", 0, 0, 1, 3);
        if (start == QLatin1String("out of service"))
            db().exec("UPDATE PerBoxS SET UUse = '1' WHERE BoxNum = 2");
        else if (start == QLatin1String("rented"))
            rentDirectly("1", 2);
        const Outcome o = setLockerInUse(ctx(), "1", 2, inUse);
        QCOMPARE(o.saved, saved);
        if (!saved)
            QCOMPARE(o.last().title, QString("수정불가"));
        QCOMPARE(lockerLines(db(), "1")[1].uUse, uUse);
        QCOMPARE(lockerLines(db(), "1")[1].mbCode.isEmpty(), start != QLatin1String("rented"));
    }
};

QTEST_GUILESS_MAIN(TstLockerGroups)
#include "tst_lockergroups.moc"
