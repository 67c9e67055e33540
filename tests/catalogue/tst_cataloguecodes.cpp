// FITROVA_DB_TEST
// New codes of the catalogue: one-character codes with and without the jump
// from "9" to "A", two-digit class codes, four-digit instructor codes, and a
// code taken by another workstation between 신규 and 저장.

#include <QtTest>

#include "catalogue/classification.h"
#include "catalogue/codesequence.h"
#include "catalogue/codetables.h"
#include "catalogue/lecturers.h"
#include "testinstall.h"

using namespace fitrova;
using fitrova::test::TestInstall;

class TstCatalogueCodes : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        for (const char *table : {"Course", "Sclass", "MbGubun", "Card", "Lecturer", "Program"})
            db().exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
    }

    void nextCharCode_data()
    {
        QTest::addColumn<QString>("last");
        QTest::addColumn<bool>("nineToA");
        QTest::addColumn<QString>("expected");
        QTest::newRow("none yet") << "" << true << "1";
        QTest::newRow("digit") << "1" << true << "2";
        QTest::newRow("9 to A") << "9" << true << "A";
        QTest::newRow("9 to colon") << "9" << false << ":";
        QTest::newRow("colon") << ":" << true << ";";
        QTest::newRow("letter") << "A" << false << "B";
        QTest::newRow("Z") << "Z" << true << "[";
        QTest::newRow("run out") << "~" << true << "";
    }
    void nextCharCode()
    {
        QFETCH(QString, last);
        QFETCH(bool, nineToA);
        QFETCH(QString, expected);
        QCOMPARE(fitrova::nextCharCode(last, nineToA ? NineRule::ToLetterA : NineRule::NextCharacter), expected);
    }

    void highestCharCode()
    {
        QCOMPARE(fitrova::highestCharCode({"3", "A", ":", "9"}), QString("A"));
        QCOMPARE(fitrova::highestCharCode({"", "12", "가", "2"}), QString("2"));
        QCOMPARE(fitrova::highestCharCode({}), QString());
    }

    // The classification screen runs 1 … 9, ":", ";"; the course-item screen
    // continues after "9" with "A"; each group counts on its own.
    void courseCodes_acrossNine()
    {
        QStringList given;
        for (int i = 0; i < 11; ++i) {
            const Outcome r = addClassificationItem(db(), "P", QStringLiteral("항목%1").arg(i));
            QVERIFY(r.saved);
            given << r.code;
        }
        QCOMPARE(given, QStringList({"1", "2", "3", "4", "5", "6", "7", "8", "9", ":", ";"}));
        QCOMPARE(addClassificationItem(db(), "S", "교구").code, QString("1"));

        db().exec("DELETE FROM Course WHERE PsGroup = 'P' AND Code IN (':', ';')");
        QCOMPARE(newCourseItemCode(db()), QString("A"));
        CourseItem item = defaultCourseItem(newCourseItemCode(db()));
        item.name = "요가";
        QCOMPARE(saveCourseItem(db(), item, true).code, QString("A"));
        QCOMPARE(newCourseItemCode(db()), QString("B"));
    }

    void codeTableCodes_acrossNine()
    {
        for (int i = 1; i <= 9; ++i)
            QVERIFY(addCodeRow(db(), CodeTable::CardCompany, QStringLiteral("카드%1").arg(i), 1.5).saved);
        const Outcome r = addCodeRow(db(), CodeTable::CardCompany, "BC카드", 2);
        QCOMPARE(r.code, QString("A"));
        QCOMPARE(addCodeRow(db(), CodeTable::MemberKind, "일반회원", 0).code, QString("1"));
    }

    void sclassCodes()
    {
        addClassificationItem(db(), "P", "수영");
        QCOMPARE(addSmallClass(db(), "P", "1", "성인반").code, QString("01"));
        db().exec("INSERT INTO Sclass (PsGroup, Course, Sclass, SclassN) VALUES ('P', '1', '09', '유아반')");
        QCOMPARE(addSmallClass(db(), "P", "1", "어린이반").code, QString("10"));
        // Another item and the goods group keep their own numbers.
        addClassificationItem(db(), "P", "헬스");
        QCOMPARE(addSmallClass(db(), "P", "2", "오전반").code, QString("01"));

        db().exec("INSERT INTO Sclass (PsGroup, Course, Sclass, SclassN) VALUES ('P', '1', '99', '마지막')");
        const Outcome full = addSmallClass(db(), "P", "1", "넘침");
        QVERIFY(!full.saved);
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM Sclass WHERE Course = '1' AND PsGroup = 'P'").toInt(), 4);
    }

    void lecturerCodes()
    {
        QCOMPARE(nextLecturerCode(db()), QString("0001"));
        db().exec("INSERT INTO Lecturer (LTcode, LTName, Resign) VALUES ('0009', '김강사', '1')");
        QCOMPARE(nextLecturerCode(db()), QString("0010"));
        db().exec("INSERT INTO Lecturer (LTcode, LTName, Resign) VALUES ('9999', '끝', '1')");
        QCOMPARE(nextLecturerCode(db()), QString());
    }

    // Two desks press 신규 at the same time and see the same code; the second
    // to save gets the next code instead of overwriting the first one's row.
    void codeTakenMeanwhile()
    {
        const QString seen = newCourseItemCode(db());
        CourseItem mine = defaultCourseItem(seen);
        mine.name = "필라테스";
        CourseItem theirs = defaultCourseItem(seen);
        theirs.name = "스피닝";
        QVERIFY(saveCourseItem(db(), theirs, true).saved);
        const Outcome r = saveCourseItem(db(), mine, true);
        QVERIFY(r.saved);
        QVERIFY(r.code != seen);
        QCOMPARE(loadCourseItem(db(), "P", seen)->name, QString("스피닝"));
        QCOMPARE(loadCourseItem(db(), "P", r.code)->name, QString("필라테스"));

        const QString code = nextLecturerCode(db());
        QVERIFY(saveLecturer(db(), {code, "박강사", "", "", true}, true).saved);
        const Outcome l = saveLecturer(db(), {code, "최강사", "", "", true}, true);
        QCOMPARE(l.code, QString("0002"));
        QCOMPARE(loadLecturer(db(), code)->name, QString("박강사"));
    }

private:
    const Db &db() const { return m_inst.db(); }
    TestInstall m_inst;
};

QTEST_GUILESS_MAIN(TstCatalogueCodes)
#include "tst_cataloguecodes.moc"
