// FITROVA_DB_TEST
// The items of the drop-down lists read from the database.

#include <QtTest>

#include "data/db.h"
#include "data/listitems.h"
#include "testinstall.h"

using namespace fitrova;
using fitrova::test::TestInstall;

namespace {

QStringList texts(const ListItems &items)
{
    QStringList l;
    for (const ListItem &i : items)
        l << i.text;
    return l;
}

QVariantList datas(const ListItems &items)
{
    QVariantList l;
    for (const ListItem &i : items)
        l << i.data;
    return l;
}

} // namespace

class TstListItems : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        const Db &db = m_inst.db();
        for (const char *t : {"Course", "Lclass", "Mclass", "Sclass", "Lecturer", "Program", "GradeM", "MbGubun",
                              "Area", "Age"})
            db.exec(QStringLiteral("DELETE FROM ") + QLatin1String(t));
        db.exec("DELETE FROM UserM WHERE UserID <> 'admin'");

        // Inserted out of order: the lists sort themselves.
        db.exec("INSERT INTO Course (PsGroup, Code, Name) VALUES ('P', '2', '헬스'), ('P', '1', '수영'), "
                "('S', '1', '교구')");
        db.exec("INSERT INTO Lclass (PSGroup, Course, Lclass, LclassN) VALUES ('P', '2', '01', '헬스대'), "
                "('P', '1', '02', '수영대2'), ('P', '1', '01', '수영대1'), ('S', '1', '01', '교구대')");
        db.exec("INSERT INTO Mclass (PSGroup, Course, Lclass, Mclass, MclassN, UUSE) VALUES "
                "('P', '1', '01', '02', '중2', '1'), ('P', '1', '01', '01', '중1', '1'), "
                "('P', '1', '01', '03', '안씀', '0'), ('P', '1', '02', '01', '다른대', '1')");
        db.exec("INSERT INTO Sclass (PsGroup, Course, Sclass, SclassN) VALUES ('P', '1', '02', '중급'), "
                "('P', '1', '01', '초급'), ('P', '2', '01', '헬스소')");
        db.exec("INSERT INTO Lecturer (LTcode, LTName, Course, Resign) VALUES ('0002', '이강사', '1', '0'), "
                "('0001', '김강사', '1', '1'), ('0003', 'O''Brien', '2', '1')");
        db.exec("INSERT INTO GradeM (GrCode, GrName) VALUES ('2', '직원'), ('1', '관리자')");
        db.exec("INSERT INTO MbGubun (Code, Name) VALUES ('2', '학생'), ('1', '일반')");
        db.exec("INSERT INTO Area (Area, AreaName) VALUES ('02', '서구'), ('01', '동구')");
        db.exec("INSERT INTO Age (Code, Name, age1, age2) VALUES ('2', '청소년', 14, 19), ('1', '어린이', 0, 13)");
        db.exec("INSERT INTO UserM (PsCode, UserID, UserName, Uuse) VALUES ('0009', 'old', '퇴사자', '0'), "
                "('0005', 'kim', '김직원', '1')");

        auto program = [&](const char *code, const char *name, const char *course, const char *lt,
                           const char *ltName, const char *use, const char *t1) {
            return db.insertId(QStringLiteral("INSERT INTO Program (PgCode, PgName, Course, LtCode, LTName, PgUse, "
                                              "Time1, Time2) VALUES (?, ?, ?, ?, ?, ?, ?, '10:00')"),
                               {code, name, course, lt, ltName, use, t1}, QStringLiteral("Pgid"));
        };
        m_swimB = program("1000002", "새벽수영", "1", "0001", "김강사", "1", "06:00");
        m_swimA = program("1000001", "아침수영", "1", "0002", "이강사", "1", "09:00");
        m_gym = program("2000001", "헬스", "2", "0001", "김강사", "1", "07:00");
        program("1000003", "폐강", "1", "0001", "김강사", "0", "08:00");
    }

    void classListsOfGroup()
    {
        const ClassLists lists = classLists(m_inst.db(), "P");
        QCOMPARE(texts(lists.l), QStringList({"101-수영대1", "102-수영대2", "201-헬스대"}));
        QCOMPARE(texts(lists.m), QStringList({"10101-중1", "10102-중2", "10103-안씀", "10201-다른대"}));
        QCOMPARE(texts(lists.s), QStringList({"101-초급", "102-중급", "201-헬스소"}));
        QCOMPARE(texts(classLists(m_inst.db(), "S").l), QStringList({"101-교구대"}));
    }

    void lecturers()
    {
        const ListItems all = lecturerItems(m_inst.db());
        QCOMPARE(texts(all), QStringList({"김강사", "이강사", "O'Brien"}));
        QCOMPARE(datas(all), QVariantList({"0001", "0002", "0003"}));
        QCOMPARE(texts(activeLecturerItems(m_inst.db())), QStringList({"0-모두보기", "0001-김강사", "0003-O'Brien"}));
        QCOMPARE(texts(activeLecturerItems(m_inst.db(), "2")), QStringList({"0-모두보기", "0003-O'Brien"}));
        QCOMPARE(texts(activeLecturerItems(m_inst.db(), "9")), QStringList({"0-모두보기"}));
    }

    // Member kinds, areas and age bands of the member card and lists.
    void memberLists()
    {
        const Db &db = m_inst.db();
        const ListItems kinds = memberKindItems(db, false);
        QCOMPARE(texts(kinds), QStringList({"1.일반", "2.학생"}));
        QCOMPARE(datas(kinds), QVariantList({"1", "2"}));
        const ListItems filter = memberKindItems(db, true);
        QCOMPARE(texts(filter).first(), QString("0.모두보기"));
        QVERIFY(filter.first().data.toString().isEmpty());
        const ListItems areas = areaItems(db);
        QCOMPARE(texts(areas), QStringList({"0-모두보기", "01-동구", "02-서구"}));
        QCOMPARE(areas.at(1).data.toString(), QString("01"));
        QCOMPARE(ageBands(db), QList<AgeBand>({{"1", "어린이", 0, 13}, {"2", "청소년", 14, 19}}));
    }

    void programs_data()
    {
        QTest::addColumn<QString>("course");
        QTest::addColumn<QString>("lecturer");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QList<qint64>>("ids");
        QTest::newRow("all") << "0-모두보기" << "0-모두보기"
                             << QStringList{"0-모두보기", "아침수영 09:00~10:00 이강사", "새벽수영 06:00~10:00 김강사",
                                            "헬스 07:00~10:00 김강사"}
                             << QList<qint64>{0, m_swimA, m_swimB, m_gym};
        QTest::newRow("empty means all") << "" << ""
                                         << QStringList{"0-모두보기", "아침수영 09:00~10:00 이강사",
                                                        "새벽수영 06:00~10:00 김강사", "헬스 07:00~10:00 김강사"}
                                         << QList<qint64>{0, m_swimA, m_swimB, m_gym};
        QTest::newRow("course item") << "1-수영" << "0-모두보기"
                                     << QStringList{"0-모두보기", "아침수영 09:00~10:00 이강사",
                                                    "새벽수영 06:00~10:00 김강사"}
                                     << QList<qint64>{0, m_swimA, m_swimB};
        QTest::newRow("course and lecturer") << "1-수영" << "0001-김강사"
                                             << QStringList{"0-모두보기", "새벽수영 06:00~10:00 김강사"}
                                             << QList<qint64>{0, m_swimB};
        QTest::newRow("nothing") << "3-없음" << "" << QStringList{"0-모두보기"} << QList<qint64>{0};
    }
    void programs()
    {
        QFETCH(QString, course);
        QFETCH(QString, lecturer);
        QFETCH(QStringList, expected);
        QFETCH(QList<qint64>, ids);
        const ListItems items = programItems(m_inst.db(), course, lecturer);
        QCOMPARE(texts(items), expected);
        QList<qint64> got;
        for (const ListItem &i : items)
            got << i.data.toLongLong();
        QCOMPARE(got, ids);
    }

    void usersGradesCourses()
    {
        const QStringList users = texts(userItems(m_inst.db()));
        QCOMPARE(users.first(), QString("0-모두보기"));
        QVERIFY(users.contains("0005-김직원"));
        QVERIFY(!users.contains("0009-퇴사자"));
        QCOMPARE(users.indexOf("0005-김직원"), users.size() - 1); // ordered by staff code, admin first

        QCOMPARE(texts(gradeItems(m_inst.db())), QStringList({"1-관리자", "2-직원"}));
        QCOMPARE(texts(courseItems(m_inst.db(), "P", true)), QStringList({"0-모두보기", "1-수영", "2-헬스"}));
        QCOMPARE(texts(courseItems(m_inst.db(), "S", false)), QStringList({"1-교구"}));
    }

    void classItemsBothStyles()
    {
        const Db &db = m_inst.db();
        QCOMPARE(texts(lclassItems(db, "P", "1", true)), QStringList({"0-모두보기", "01.수영대1", "02.수영대2"}));
        const ListItems named = lclassItems(db, "P", "1", true, ClassItemStyle::NameWithData);
        QCOMPARE(texts(named), QStringList({"모두보기", "수영대1", "수영대2"}));
        QCOMPARE(named.at(0).data.toInt(), 0);
        QCOMPARE(named.at(2).data.toString(), QString("02"));

        // Middle classes not in use are left out.
        QCOMPARE(texts(mclassItems(db, "P", "1", "01", false)), QStringList({"01.중1", "02.중2"}));
        QCOMPARE(datas(mclassItems(db, "P", "1", "01", false, ClassItemStyle::NameWithData)),
                 QVariantList({"01", "02"}));
        QCOMPARE(texts(sclassItems(db, "P", "1", true)), QStringList({"0-모두보기", "01.초급", "02.중급"}));
        QCOMPARE(texts(sclassItems(db, "P", "9", false)), QStringList());
    }

    void months()
    {
        int selected = 0;
        const ListItems items = monthItems("2024-03", &selected);
        QCOMPARE(items.size(), 12);
        QCOMPARE(items.first().text, QString("2024-01"));
        QCOMPARE(items.last().text, QString("2024-12"));
        QCOMPARE(selected, 2);
        QVERIFY(monthItems("abc", &selected).isEmpty());
        QCOMPARE(selected, -1);
    }

private:
    TestInstall m_inst;
    qint64 m_swimA = 0, m_swimB = 0, m_gym = 0;
};

QTEST_GUILESS_MAIN(TstListItems)
#include "tst_listitems.moc"
