// FITROVA_DB_TEST
// Items, small classes and code tables: edits of rows that are gone, the
// guards that keep items and classes in use, and the two groups kept apart.

#include <QtTest>

#include "catalogue/classification.h"
#include "catalogue/codetables.h"
#include "testinstall.h"

using namespace fitrova;
using fitrova::test::TestInstall;

class TstCatalogueClassification : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        for (const char *table : {"Course", "Sclass", "MbGubun", "Card", "Program", "Item"})
            db().exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
        // Item "1" in both groups; course item 1 has two classes, goods class 1 one.
        addClassificationItem(db(), "P", "수영");
        addClassificationItem(db(), "P", "헬스");
        addClassificationItem(db(), "S", "수영용품");
        addSmallClass(db(), "P", "1", "성인반");
        addSmallClass(db(), "P", "1", "어린이반");
        addSmallClass(db(), "S", "1", "수경");
    }

    void newItemDefaults()
    {
        const CourseItem c = *loadCourseItem(db(), "P", "1");
        QCOMPARE(c.name, QString("수영"));
        for (int m = 1; m <= 12; ++m)
            QCOMPARE(c.months[size_t(m - 1)], m == 1 || m == 3 || m == 6 || m == 12);
        QVERIFY(c.useCancel && c.useDelay && c.useTransfer);
    }

    void editOfVanishedRow()
    {
        QVERIFY(renameClassificationItem(db(), "P", "2", "헬스장").saved);
        QCOMPARE(loadCourseItem(db(), "P", "2")->name, QString("헬스장"));

        const Outcome item = renameClassificationItem(db(), "P", "7", "없음");
        QVERIFY(!item.saved);
        QCOMPARE(item.last().text, QString("수정할 항목이 없읍니다"));
        QCOMPARE(item.last().title, QString("자료수정"));
        const Outcome cls = renameSmallClass(db(), "P", "1", "05", "없음");
        QCOMPARE(cls.last().text, QString("수정할 항목이 없읍니다"));
        QCOMPARE(updateCodeRow(db(), CodeTable::MemberKind, "5", "없음", 0).last().text,
                 QString("수정할 항목이 없읍니다"));
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM Course").toInt(), 3);
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM MbGubun").toInt(), 0);
    }

    void classNeedsItem_data()
    {
        QTest::addColumn<QString>("course");
        QTest::newRow("none selected") << "";
        QTest::newRow("item gone") << "8";
    }
    void classNeedsItem()
    {
        QFETCH(QString, course);
        const Outcome r = addSmallClass(db(), "P", course, "새반");
        QVERIFY(!r.saved);
        QCOMPARE(r.last().text, QString("항목을 선택하여 주십시요."));
        QCOMPARE(r.last().title, QString("항목선택"));
    }

    void deleteGuards_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("course");
        QTest::addColumn<QString>("sclass"); // "" deletes the item
        QTest::addColumn<QString>("refusal"); // "" when deleted
        QTest::newRow("item with classes") << "" << "P" << "1" << "" << "소분류코드 삭제후 항목을 삭제하십시요.";
        QTest::newRow("item free") << "" << "P" << "2" << "" << "";
        QTest::newRow("item of programs") << "INSERT INTO Program (PgGubun, Course, Sclass) VALUES ('1', '2', '00')"
                                          << "P" << "2" << "" << "이미사용된 강좌항목은 삭제할수 없읍니다";
        QTest::newRow("class of a program") << "INSERT INTO Program (PgGubun, Course, Sclass) VALUES ('1', '1', '02')"
                                            << "P" << "1" << "02" << "이미사용된 분류코드는 삭제할수 없읍니다";
        QTest::newRow("class free") << "INSERT INTO Program (PgGubun, Course, Sclass) VALUES ('1', '1', '02')"
                                    << "P" << "1" << "01" << "";
        QTest::newRow("goods class of an item") << "INSERT INTO Item (ItCode, Course, Sclass) VALUES ('00000001', '1', '01')"
                                                << "S" << "1" << "01" << "이미사용된 분류코드는 삭제할수 없읍니다";
        QTest::newRow("goods class, program of same code") << "INSERT INTO Program (PgGubun, Course, Sclass) VALUES ('1', '1', '01')"
                                                           << "S" << "1" << "01" << "";
    }
    void deleteGuards()
    {
        QFETCH(QString, setup);
        QFETCH(QString, group);
        QFETCH(QString, course);
        QFETCH(QString, sclass);
        QFETCH(QString, refusal);
        if (!setup.isEmpty())
            db().exec(setup);
        const Outcome r = sclass.isEmpty() ? deleteClassificationItem(db(), group, course)
                                                   : deleteSmallClass(db(), group, course, sclass);
        QCOMPARE(r.saved, refusal.isEmpty());
        QCOMPARE(r.last().text, refusal);
        const QVariant still = sclass.isEmpty()
            ? db().scalar("SELECT 1 FROM Course WHERE PsGroup = ? AND Code = ?", {group, course})
            : db().scalar("SELECT 1 FROM Sclass WHERE PsGroup = ? AND Course = ? AND Sclass = ?", {group, course, sclass});
        QCOMPARE(still.isValid(), !r.saved);
    }

    // The course-item screen works on the course group only: the goods class
    // of the same code is neither overwritten nor deleted with it.
    void courseItemScreenKeepsGoodsGroup()
    {
        CourseItem c = *loadCourseItem(db(), "P", "1");
        c.name = "수영(실내)";
        c.months.fill(false);
        c.months[1] = true;
        c.useTransfer = false;
        QVERIFY(saveCourseItem(db(), c, false).saved);
        const CourseItem back = *loadCourseItem(db(), "P", "1");
        QCOMPARE(back, c);
        QCOMPARE(loadCourseItem(db(), "S", "1")->name, QString("수영용품"));

        QVERIFY(deleteCourseItem(db(), "1").saved);
        QVERIFY(!loadCourseItem(db(), "P", "1"));
        QVERIFY(loadCourseItem(db(), "S", "1"));
        // Its classes go with it; those of the goods group stay.
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM Sclass WHERE PsGroup = 'P'").toInt(), 0);
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM Sclass WHERE PsGroup = 'S'").toInt(), 1);
    }

    void courseItemInUse()
    {
        db().exec("INSERT INTO Program (PgGubun, Course, Sclass, PgName) VALUES ('2', '2', '00', '자유수영')");
        const Outcome r = deleteCourseItem(db(), "2");
        QVERIFY(!r.saved);
        QCOMPARE(r.last().text, QString("이미사용된 강좌항목은 삭제할수 없읍니다"));
        QCOMPARE(r.last().title, QString("강좌항목삭제"));
        QVERIFY(loadCourseItem(db(), "P", "2"));
    }

    void codeRows()
    {
        QVERIFY(addCodeRow(db(), CodeTable::MemberKind, "일반회원", 0).saved);
        QVERIFY(addCodeRow(db(), CodeTable::MemberKind, "특별회원", 10).saved);
        QVERIFY(updateCodeRow(db(), CodeTable::MemberKind, "2", "특별회원", 12.5).saved);
        QVERIFY(addCodeRow(db(), CodeTable::CardCompany, "국민카드", 2.5).saved);
        const QList<CodeRow> kinds = listCodeRows(db(), CodeTable::MemberKind);
        QCOMPARE(kinds.size(), 2);
        QCOMPARE(kinds[1].code, QString("2"));
        QCOMPARE(kinds[1].rate, 12.5);
        QCOMPARE(listCodeRows(db(), CodeTable::CardCompany).value(0).name, QString("국민카드"));
        deleteCodeRow(db(), CodeTable::MemberKind, "1");
        QCOMPARE(listCodeRows(db(), CodeTable::MemberKind).size(), 1);
        QCOMPARE(listCodeRows(db(), CodeTable::CardCompany).size(), 1);
    }

private:
    const Db &db() const { return m_inst.db(); }
    TestInstall m_inst;
};

QTEST_GUILESS_MAIN(TstCatalogueClassification)
#include "tst_catalogueclassification.moc"
