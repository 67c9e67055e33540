// FITROVA_DB_TEST
// Code-to-name lookups, the program weekday check and the attendance calendar.

#include <QtTest>

#include "data/attendance.h"
#include "data/lookups.h"
#include "testinstall.h"

using namespace fitrova;
using fitrova::test::TestInstall;

Q_DECLARE_METATYPE(QList<fitrova::AttendanceMark>)

namespace {

void addMember(const Db &db, const QString &code, const QString &name)
{
    db.exec(QStringLiteral("INSERT INTO Member (MbCode, MbName) VALUES (?, ?)"), {code, name});
}

qint64 addProgram(const Db &db, const QString &name, const QList<int> &days) // days: Mon = 0 … Sun = 6
{
    Params p{name};
    for (int d = 0; d < 7; ++d)
        p << (days.contains(d) ? 1 : 0);
    return db.insertId(QStringLiteral("INSERT INTO Program (PgName, Mon, Tue, Wed, Thu, Fri, Sat, Sun) "
                                      "VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
                       p, QStringLiteral("Pgid"));
}

qint64 addLecture(const Db &db, const QString &mbCode, const QString &mbName)
{
    return db.insertId(QStringLiteral("INSERT INTO Lecture (LtGubun, MbCode, MbName) VALUES ('1', ?, ?)"),
                       {mbCode, mbName}, QStringLiteral("Ltid"));
}

void addVisit(const Db &db, const QString &mbCode, const QString &date)
{
    db.exec(QStringLiteral("INSERT INTO entrance (MbCode, InDate, InTime) VALUES (?, ?, '09:00')"), {mbCode, date});
}

} // namespace

class TstLookups : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        const Db &db = m_inst.db();
        addMember(db, "00000001", "홍길동");
        addMember(db, "00000002", "O'Neil 김");
        db.exec("INSERT INTO UserM (PsCode, UserID, UserName, Uuse) VALUES ('0002', 'kim', '김직원', '1')");
        db.exec("INSERT INTO Card (Code, Name) VALUES ('1', '  BC카드   ')");
        db.exec("INSERT INTO Course (PsGroup, Code, Name) VALUES ('P', '2', '수영')");
        db.exec("INSERT INTO Sclass (PsGroup, Course, Sclass, SclassN) VALUES ('P', '2', '01', '초급')");
        db.exec("INSERT INTO Age (Code, Name, age1, age2) VALUES ('01', '10대', 10, 19), ('02', '20대', 20, 29), "
                "('09', '청년', 25, 34)");
        m_program = addProgram(db, "아침수영", {0, 2, 6});
        m_lecture = addLecture(db, "00000001", "홍길동");
        m_orphanLecture = addLecture(db, "00000099", "탈퇴회원");
    }

    void lookupGivesNameOrDefault_data()
    {
        QTest::addColumn<QString>("lookup");
        QTest::addColumn<QStringList>("key");
        QTest::addColumn<QString>("expected");
        QTest::newRow("member") << "member" << QStringList{"00000001"} << "홍길동";
        QTest::newRow("member with apostrophe") << "member" << QStringList{"00000002"} << "O'Neil 김";
        QTest::newRow("member quote is data") << "member" << QStringList{"' OR '1'='1"} << "";
        QTest::newRow("user") << "user" << QStringList{"0002"} << "김직원";
        QTest::newRow("card right-trimmed only") << "card" << QStringList{"1"} << "  BC카드";
        QTest::newRow("course") << "course" << QStringList{"2", "P"} << "수영";
        QTest::newRow("course of other group") << "course" << QStringList{"2", "S"} << "****";
        QTest::newRow("course short missing") << "courseShort" << QStringList{"9", "S"} << "**";
        QTest::newRow("sclass") << "sclass" << QStringList{"P", "2", "01"} << "초급";
        QTest::newRow("age lower bound") << "age" << QStringList{"10"} << "01";
        QTest::newRow("age below every band") << "age" << QStringList{"9"} << "";
        QTest::newRow("age in overlapping bands takes lowest code") << "age" << QStringList{"27"} << "02";
    }
    void lookupGivesNameOrDefault()
    {
        QFETCH(QString, lookup);
        QFETCH(QStringList, key);
        QFETCH(QString, expected);
        const Db &db = m_inst.db();
        QString got;
        if (lookup == "member")
            got = getMemberName(db, key[0]);
        else if (lookup == "user")
            got = getUserName(db, key[0]);
        else if (lookup == "card")
            got = getCardName(db, key[0]);
        else if (lookup == "course")
            got = getCourseName(db, key[0], key[1]);
        else if (lookup == "courseShort")
            got = getCourseNameShort(db, key[0], key[1]);
        else if (lookup == "sclass")
            got = getSclassName(db, key[0], key[1], key[2]);
        else if (lookup == "age")
            got = getAgeCode(db, key[0].toLongLong());
        QCOMPARE(got, expected);
    }

    void programAndLectureById()
    {
        const Db &db = m_inst.db();
        QCOMPARE(getProgramName(db, m_program), QString("아침수영"));
        QCOMPARE(getProgramName(db, m_program + 1000), QString("**********"));
        QCOMPARE(getLectureOwnerText(db, m_lecture), QString("홍길동(00000001)"));
        QCOMPARE(getLectureOwnerText(db, m_orphanLecture), QString("탈퇴회원(00000099)"));
        QCOMPARE(getLectureOwnerText(db, m_lecture + 1000), QString());
    }

    // The "exactly one row" rule of the course lookups can only meet a second
    // row if the key allowed it; it does not, so a name is never ambiguous.
    void courseName_secondRowWithSameCodeIsRefusedByKey()
    {
        try {
            m_inst.db().exec("INSERT INTO Course (PsGroup, Code, Name) VALUES ('P', '2', '다른이름')");
            QFAIL("duplicate course code accepted");
        } catch (const DbError &e) {
            QVERIFY(e.isUniqueViolation());
        }
        QCOMPARE(getCourseName(m_inst.db(), "2", "P"), QString("수영"));
    }

    void programDayMatch_data()
    {
        QTest::addColumn<QString>("weekday");
        QTest::addColumn<bool>("expected");
        QTest::newRow("Mon") << "Mon" << true;
        QTest::newRow("Sun") << "Sun" << true;
        QTest::newRow("월") << "월" << true;
        QTest::newRow("토") << "토" << false;
        QTest::newRow("unknown") << "Xyz" << false;
    }
    void programDayMatch()
    {
        QFETCH(QString, weekday);
        QFETCH(bool, expected);
        QCOMPARE(fitrova::programDayMatch(m_inst.db(), m_program, weekday), expected);
    }

    void programDayMatch_numbered()
    {
        const Db &db = m_inst.db();
        QVERIFY(fitrova::programDayMatch(db, m_program, Qt::Wednesday));
        QVERIFY(!fitrova::programDayMatch(db, m_program, Qt::Thursday));
        QVERIFY(programDayMatchSundayFirst(db, m_program, 1));  // Sunday
        QVERIFY(programDayMatchSundayFirst(db, m_program, 2));  // Monday
        QVERIFY(!programDayMatchSundayFirst(db, m_program, 3)); // Tuesday
        QVERIFY(!fitrova::programDayMatch(db, m_program + 1000, "Mon"));
    }

    void attendanceCalendar_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<QList<AttendanceMark>>("expected");
        // 2024-05-01 is a Wednesday; two visits on the 10th give one mark.
        QTest::newRow("2024-05") << 2024 << 5
                                 << QList<AttendanceMark>{{1, 0, 3}, {5, 1, 0}, {10, 1, 5}, {31, 4, 5}};
        // 2024-06-01 is a Saturday: the 30th falls on the sixth row.
        QTest::newRow("2024-06 uses sixth row") << 2024 << 6 << QList<AttendanceMark>{{1, 0, 6}, {30, 5, 0}};
        QTest::newRow("2024-12 ends before next year") << 2024 << 12 << QList<AttendanceMark>{{31, 4, 2}};
        QTest::newRow("no such month") << 2024 << 13 << QList<AttendanceMark>{};
    }
    void attendanceCalendar()
    {
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(QList<AttendanceMark>, expected);
        if (!m_visitsAdded) {
            const Db &db = m_inst.db();
            for (const char *d : {"2024-04-30", "2024-05-01", "2024-05-05", "2024-05-10", "2024-05-10",
                                  "2024-05-31", "2024-06-01", "2024-06-30", "2024-12-31", "2025-01-01"})
                addVisit(db, "00000001", d);
            addVisit(db, "00000002", "2024-05-02");
            m_visitsAdded = true;
        }
        QVERIFY(markAttendanceCalendar(m_inst.db(), year, month, "00000001") == expected);
    }

private:
    TestInstall m_inst;
    qint64 m_program = 0, m_lecture = 0, m_orphanLecture = 0;
    bool m_visitsAdded = false;
};

QTEST_GUILESS_MAIN(TstLookups)
#include "tst_lookups.moc"
