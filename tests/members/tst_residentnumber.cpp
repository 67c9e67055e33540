// The resident registration number check of the member card: century, date
// validity, age, sex.

#include <QtTest>

#include "members/residentnumber.h"

using namespace fitrova;

class TstResidentNumber : public QObject {
    Q_OBJECT
private slots:
    void check_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("birth");  // "" when not accepted
        QTest::addColumn<int>("age");
        QTest::addColumn<QString>("sex");
        QTest::addColumn<int>("outcome");    // 0 skipped, 1 refused (focus second), 2 refused (focus first), 3 accepted
        // Today is 2024-05-10.
        QTest::newRow("1900s man") << "850315" << "1234567" << "1985-03-15" << 40 << "1" << 3;
        QTest::newRow("birthday still ahead") << "850615" << "2234567" << "1985-06-15" << 39 << "2" << 3;
        QTest::newRow("birthday today") << "850510" << "1" << "1985-05-10" << 40 << "1" << 3;
        QTest::newRow("2000s boy") << "030101" << "3123456" << "2003-01-01" << 22 << "1" << 3;
        QTest::newRow("2000s girl") << "200229" << "4123456" << "2020-02-29" << 5 << "2" << 3;
        QTest::newRow("foreign resident 1900s") << "900101" << "5123456" << "1990-01-01" << 35 << "1" << 3;
        QTest::newRow("foreign resident 2000s") << "100101" << "8123456" << "2010-01-01" << 15 << "2" << 3;
        QTest::newRow("1800s") << "991231" << "9123456" << "1899-12-31" << 125 << "" << 3;
        QTest::newRow("born today counts one") << "240510" << "3" << "2024-05-10" << 1 << "1" << 3;
        QTest::newRow("second part empty") << "850315" << "  " << "" << 0 << "" << 0;
        QTest::newRow("first part short") << "8503" << "1234567" << "" << 0 << "" << 1;
        QTest::newRow("month 13") << "991332" << "1234567" << "" << 0 << "" << 2;
        QTest::newRow("feb 29 in a common year") << "010229" << "3234567" << "" << 0 << "" << 2;
        QTest::newRow("letters") << "85O315" << "1234567" << "" << 0 << "" << 2;
        QTest::newRow("born after today") << "991231" << "3234567" << "" << 0 << "" << 2;
        QTest::newRow("second part not a digit") << "850315" << "X234567" << "" << 0 << "" << 2;
    }
    void check()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, birth);
        QFETCH(int, age);
        QFETCH(QString, sex);
        QFETCH(int, outcome);
        const ResidentCheck r = checkResidentNumber(first, second, QDate(2024, 5, 10));
        switch (outcome) {
        case 0:
            QCOMPARE(r.outcome, ResidentCheck::Outcome::Skipped);
            break;
        case 1:
        case 2:
            QVERIFY(r.refused());
            QCOMPARE(r.text, QString("주민등록번호가 틀렸습니다."));
            QCOMPARE(r.title, QString("주민번호"));
            QCOMPARE(r.focusFirstPart, outcome == 2);
            break;
        default:
            QVERIFY(r.accepted());
            QCOMPARE(r.birthDate, birth);
            QCOMPARE(r.age, age);
            QCOMPARE(r.sexCode, sex);
        }
    }
};

QTEST_GUILESS_MAIN(TstResidentNumber)
#include "tst_residentnumber.moc"
