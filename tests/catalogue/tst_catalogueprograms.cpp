// FITROVA_DB_TEST
// Period and time-based programs with their fee rows, the program list,
// lesson times, the checks before saving, and the instructors.

#include <QtTest>

#include "catalogue/classification.h"
#include "catalogue/lecturers.h"
#include "catalogue/programs.h"
#include "catalogue/timeprograms.h"
#include "testinstall.h"

using namespace fitrova;
using fitrova::test::TestInstall;

namespace {

const QDate kToday(2024, 5, 10);

Program swimProgram()
{
    Program p;
    p.course = "1";
    p.sclass = "01";
    p.pgName = "새벽 수영";
    p.time1 = "06:00";
    p.time2 = "06:50";
    p.days = {true, false, true, false, true, false, false};
    p.ltCode = "0001";
    p.maxNum = 20;
    p.maxNumChk = true;
    p.fees = {{1, 80000, 70000, 0}, {2, 0, 0, 0}, {3, 220000, 0, 0}, {6, 400000, 0, 350000}};
    return p;
}

} // namespace

class TstCataloguePrograms : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        for (const char *table : {"Course", "Sclass", "Program", "ProgAmt", "Lecturer", "Lecture"})
            db().exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
        CourseItem swim = defaultCourseItem("1");
        swim.name = "수영";
        swim.months[1] = true; // 1, 2, 3, 6, 12 months
        QVERIFY(saveCourseItem(db(), swim, true).saved);
        addSmallClass(db(), "P", "1", "성인반");
        QVERIFY(saveLecturer(db(), {"0001", "김수영", "010-1234-5678", "", true}, true).saved);
    }

    void lessonTime_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::newRow("930") << "930" << "09:30" << true;
        QTest::newRow("0930") << "0930" << "09:30" << true;
        QTest::newRow("2400") << "2400" << "24:00" << true;
        QTest::newRow("2500") << "2500" << "00:00" << false;
        QTest::newRow("2430") << "2430" << "00:00" << false;
        QTest::newRow("0975 minutes") << "0975" << "00:00" << false;
        QTest::newRow("first four digits") << "18305" << "18:30" << true;
        QTest::newRow("h:mm") << "9:30" << "09:30" << true;
        QTest::newRow("hh:mm") << "21:00" << "21:00" << true;
        QTest::newRow("letters") << "abc" << "00:00" << false;
        QTest::newRow("blank stays") << " " << "" << true;
    }
    void lessonTime()
    {
        QFETCH(QString, typed);
        QFETCH(QString, text);
        QFETCH(bool, ok);
        const LessonTime t = normalizeLessonTime(typed);
        QCOMPARE(t.text, text);
        QCOMPARE(t.ok, ok);
    }

    void checkOrder_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("field");
        QTest::newRow("everything missing") << "name course lecturer time1 maxnum time2" << "강좌명을 입력하세요" << int(ProgramNameField);
        QTest::newRow("course") << "course lecturer time1" << "강좌항목을 선택하세요" << int(ProgramCourseField);
        QTest::newRow("lecturer") << "lecturer time1 time2" << "강사명을 선택하세요" << int(ProgramLecturerField);
        QTest::newRow("start time") << "time1 maxnum time2" << "강습시간을 입력하세요" << int(ProgramTime1Field);
        QTest::newRow("capacity") << "maxnum time2" << "정원을 입력하세요" << int(ProgramMaxNumField);
        QTest::newRow("end time") << "time2" << "강습시간을 입력하세요" << int(ProgramTime2Field);
        QTest::newRow("bad time") << "badtime" << "시간설정이 잘못되었읍니다" << int(ProgramTime2Field);
    }
    void checkOrder()
    {
        QFETCH(QString, change);
        QFETCH(QString, text);
        QFETCH(int, field);
        Program p = swimProgram();
        const QStringList c = change.split(u' ');
        if (c.contains("name")) p.pgName = "  ";
        if (c.contains("course")) p.course.clear();
        if (c.contains("lecturer")) p.ltCode.clear();
        if (c.contains("time1")) p.time1.clear();
        if (c.contains("maxnum")) p.maxNum = 0;
        if (c.contains("time2")) p.time2.clear();
        if (c.contains("badtime")) p.time2 = "25:10";
        const Outcome r = saveProgram(db(), p, true, kToday);
        QVERIFY(!r.saved);
        QCOMPARE(r.last().text, text);
        QCOMPARE(r.field, field);
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM Program").toInt(), 0);
    }

    void newProgram()
    {
        Program p = swimProgram();
        p.time1 = "600";
        const Outcome r = saveProgram(db(), p, true, kToday);
        QVERIFY(r.saved);
        QCOMPARE(r.last().text, QString("저장되었읍니다"));
        const Program back = *loadProgram(db(), r.id);
        QCOMPARE(back.pgGubun, QString("1"));
        QCOMPARE(back.pgCode, QString("1000001"));
        QCOMPARE(back.time1, QString("06:00"));
        QCOMPARE(back.ltName, QString("김수영"));
        QCOMPARE(back.sdate, QString("2024-05-10"));
        QCOMPARE(back.yymm, QString("2024-05"));
        QCOMPARE(back.days, p.days);
        QVERIFY(back.maxNumChk && back.pgUse);
        // The all-zero two-month row is not stored.
        QCOMPARE(back.fees, QList<FeeRow>({{1, 80000, 70000, 0}, {3, 220000, 0, 0}, {6, 400000, 0, 350000}}));
    }

    void withoutClass()
    {
        Program p = swimProgram();
        p.sclass.clear();
        p.maxNumChk = false;
        p.maxNum = 0;
        const Program back = *loadProgram(db(), saveProgram(db(), p, true, kToday).id);
        QCOMPARE(back.sclass, QString("00"));
        QCOMPARE(back.pgCode, QString("1000000"));
        QCOMPARE(back.maxNumChk, false);
    }

    void changeProgram()
    {
        const qint64 id = saveProgram(db(), swimProgram(), true, kToday).id;
        Program p = *loadProgram(db(), id);
        p.pgName = "새벽 수영 A";
        p.pgUse = false;
        p.fees = {{1, 90000, 0, 0}, {3, 0, 0, 0}};
        QVERIFY(saveProgram(db(), p, false, kToday.addDays(30)).saved);
        const Program back = *loadProgram(db(), id);
        QCOMPARE(back.pgName, QString("새벽 수영 A"));
        QCOMPARE(back.sdate, QString("2024-05-10"));
        QVERIFY(!back.pgUse);
        QCOMPARE(back.fees, QList<FeeRow>({{1, 90000, 0, 0}}));
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM ProgAmt").toInt(), 1);
    }

    // The editor shows the months the item allows, plus months already
    // holding fees, with their amounts.
    void feeRowsOfEditor()
    {
        const QList<FeeRow> rows = feeRowsForCourse(db(), "1", {{3, 1000, 0, 0}, {4, 5000, 0, 0}});
        QList<int> months;
        for (const FeeRow &r : rows)
            months << r.monthCnt;
        QCOMPARE(months, QList<int>({1, 2, 3, 4, 6, 12}));
        QCOMPARE(rows[2], FeeRow({3, 1000, 0, 0}));
        QCOMPARE(rows[0], FeeRow({1, 0, 0, 0}));
        QCOMPARE(feeRowLabel(12), QString("12 개월"));
        QCOMPARE(monthsOfLabel("12 개월"), 12);
        QCOMPARE(monthsOfLabel(feeRowLabel(1)), 1);
    }

    void deleteGuardedByEnrollment()
    {
        const qint64 used = saveProgram(db(), swimProgram(), true, kToday).id;
        const qint64 unused = saveProgram(db(), swimProgram(), true, kToday).id;
        db().exec("INSERT INTO Lecture (LtGubun, PgGubun, MbCode, Pgid) VALUES ('1', '1', '00000001', ?)", {used});
        const Outcome r = deleteProgram(db(), used);
        QVERIFY(!r.saved);
        QCOMPARE(r.last().text, QString("사용된 강좌는 삭제할수 없읍니다"));
        QCOMPARE(r.last().title, QString("강좌삭제"));
        QVERIFY(deleteProgram(db(), unused).saved);
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM ProgAmt WHERE Pgid = ?", {unused}).toInt(), 0);
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM ProgAmt WHERE Pgid = ?", {used}).toInt(), 3);
        QCOMPARE(deleteProgramQuestion("새벽 수영"), QString("새벽 수영 강좌를 삭제하시겠읍니까? "));
    }

    void programList()
    {
        const qint64 period = saveProgram(db(), swimProgram(), true, kToday).id;
        TimeProgram t{0, "2", "1", "자유수영 10시간", 3, 10, 0, false};
        const qint64 timeBased = saveTimeProgram(db(), t, true, kToday).id;

        const QList<ProgramListRow> all = listProgramRows(db(), false);
        QCOMPARE(all.size(), 4); // three fee rows, one row for the program without a price
        QCOMPARE(all[0].pgId, period);
        QCOMPARE(all[0].courseName, QString("수영"));
        QCOMPARE(all[2].monthCnt, 6);
        QCOMPARE(all[2].amt3, 350000);
        QCOMPARE(all[3].pgId, timeBased);
        QVERIFY(!all[3].hasFee);
        QCOMPARE(all[3].pgCnt1, 10);
        QCOMPARE(listProgramRows(db(), true).size(), 3);
        QCOMPARE(listAmountText(1234567), QString("1,234,567"));
        QCOMPARE(listAmountText(0), QString());
    }

    void timeProgramChecks_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("months");
        QTest::addColumn<QString>("course");
        QTest::addColumn<int>("hours");
        QTest::addColumn<QString>("text");
        QTest::newRow("all missing") << "" << 0 << "" << 0 << "프로그램명을 입력하세요";
        QTest::newRow("validity") << "자유수영" << 0 << "" << 0 << "유효기간을 입력하세요";
        QTest::newRow("course") << "자유수영" << 3 << "" << 0 << "항목을 선택하세요";
        QTest::newRow("hours") << "자유수영" << 3 << "1" << 0 << "사용시간을 입력하세요";
    }
    void timeProgramChecks()
    {
        QFETCH(QString, name);
        QFETCH(int, months);
        QFETCH(QString, course);
        QFETCH(int, hours);
        QFETCH(QString, text);
        const Outcome r = saveTimeProgram(db(), {0, "2", course, name, months, hours, 50000, true}, true, kToday);
        QVERIFY(!r.saved);
        QCOMPARE(r.last().text, text);
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM Program").toInt(), 0);
    }

    void timeProgram()
    {
        const Outcome r = saveTimeProgram(db(), {0, "2", "1", "자유수영 10시간", 3, 10, 99000, true}, true, kToday);
        QVERIFY(r.saved);
        const auto row = db().queryOne("SELECT * FROM Program WHERE Pgid = ?", {r.id});
        QCOMPARE(row->str("PgGubun"), QString("2"));
        QCOMPARE(row->str("PgCode"), QString("1000000"));
        QCOMPARE(row->num("PgCnt1"), 10);
        QCOMPARE(row->num("PgCnt"), 600);
        for (const char *day : {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"})
            QCOMPARE(row->num(QString::fromLatin1(day)), 1);
        TimeProgram back = *loadTimeProgram(db(), r.id);
        QCOMPARE(back.validityMonths, 3);
        QCOMPARE(back.price, 99000);

        // A change to price 0 takes the program off sale; a price puts it back.
        back.price = 0;
        back.hours = 5;
        QVERIFY(saveTimeProgram(db(), back, false, kToday).saved);
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM ProgAmt WHERE Pgid = ?", {r.id}).toInt(), 0);
        QCOMPARE(db().scalar("SELECT PgCnt FROM Program WHERE Pgid = ?", {r.id}).toInt(), 300);
        back.price = 45000;
        back.validityMonths = 12;
        QVERIFY(saveTimeProgram(db(), back, false, kToday).saved);
        QCOMPARE(loadTimeProgram(db(), r.id)->validityMonths, 12);
        QCOMPARE(db().scalar("SELECT Amt1 FROM ProgAmt WHERE Pgid = ?", {r.id}).toInt(), 45000);
    }

    void timeProgramWithoutPrice()
    {
        const Outcome r = saveTimeProgram(db(), {0, "2", "1", "체험", 1, 2, 0, true}, true, kToday);
        QVERIFY(r.saved);
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM ProgAmt WHERE Pgid = ?", {r.id}).toInt(), 0);
        QCOMPARE(validityItems().first(), QString("1  개월"));
        QCOMPARE(validityItems().last(), QString("12 개월"));
        QCOMPARE(monthsOfLabel(validityItem(9)), 9);
    }

    void lecturers()
    {
        const Outcome noCode = saveLecturer(db(), {"", "이강사", "", "", true}, true);
        QCOMPARE(noCode.last().text, QString("신규버튼을 누른후 입력하세요"));
        const Outcome noName = saveLecturer(db(), {"0002", " ", "", "", true}, true);
        QCOMPARE(noName.last().text, QString("강사명은 필수입력 항목입니다."));
        QCOMPARE(noName.last().title, QString("강사저장"));
        QVERIFY(saveLecturer(db(), {"0002", "이강사", "", "", false}, true).saved);
        QCOMPARE(listLecturers(db(), false).size(), 2);
        QCOMPARE(listLecturers(db(), true).size(), 1);

        db().exec("UPDATE Lecturer SET Course = '1' WHERE LTcode = '0001'");
        QCOMPARE(pickableLecturers(db(), "1").size(), 1);
        QCOMPARE(pickableLecturers(db(), "2").size(), 0);
        QCOMPARE(pickableLecturers(db(), "0").size(), 1); // in use only

        saveProgram(db(), swimProgram(), true, kToday);
        const Outcome used = deleteLecturer(db(), "0001");
        QCOMPARE(used.last().text, QString("이미사용된 강사코드는 삭제할수 없읍니다"));
        QCOMPARE(used.last().title, QString("강사삭제"));
        QVERIFY(deleteLecturer(db(), "0002").saved);
        QCOMPARE(listLecturers(db(), false).size(), 1);
    }

private:
    const Db &db() const { return m_inst.db(); }
    TestInstall m_inst;
};

QTEST_GUILESS_MAIN(TstCataloguePrograms)
#include "tst_catalogueprograms.moc"
