#include "data/codetexts.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

using namespace fitrova;
using namespace Qt::StringLiterals;

class TstCodeTexts : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void rowTexts();
    void lectureStateFilter_data();
    void lectureStateFilter();
};

void TstCodeTexts::rowTexts()
{
    QCOMPARE(incomeKindName(u"1"_s, u"4"_s), u"환불"_s);
    QCOMPARE(incomeKindName(u"2"_s, u"9"_s), u"****"_s);
    QCOMPARE(incomeKindName(u"3"_s, u"1"_s), u"입금"_s);
    QCOMPARE(incomeKindName(u"3"_s, u"4"_s), u"****"_s);
    QCOMPARE(incomeKindName(u"4"_s, u"1"_s), QString());
    QCOMPARE(ltGubunName(u"4"_s), u"취소"_s);
    QCOMPARE(ltGubunName(u"5"_s), QString());
    QCOMPARE(periodKindName(u"2"_s), u"시간제"_s);

    QCOMPARE(lectureStateRemark(1, 1, 0, 0, u"1"_s), u"연기.취소."_s);
    QCOMPARE(lectureStateRemark(7, 8, 9, 10, u"0"_s), u"연기.취소.양도.반변경.양수."_s);

    const QDate today(2024, 5, 10);
    QCOMPARE(lectureRemainDays(0, u"2025-01-01"_s, today), 236);
    QCOMPARE(lectureRemainDays(0, u"2024-05-01"_s, today), 0);
    QCOMPARE(lectureRemainDays(12, u"2024-06-30"_s, today), 0);
    QCOMPARE(lectureRemainDays(0, QString(), today), 0);

    QCOMPARE(programDaysText(true, false, true, false, true, false, false), u"월,수,금"_s);
    QCOMPARE(programDaysText(false, false, false, false, false, true, true), u",토,일"_s);

    QCOMPARE(weekdayColumn(1), u"Sun"_s);
    QCOMPARE(weekdayColumn(7), u"Sat"_s);
    QCOMPARE(weekdayColumn(8), QString());
    QCOMPARE(weekdayColumn(u"월"_s), u"Mon"_s);
    QCOMPARE(weekdayColumn(u"일요일"_s), u"Sun"_s);
    QCOMPARE(weekdayColumn(u"THU"_s), u"Thu"_s);
    QCOMPARE(weekdayColumn(u"Sunday"_s), QString());
    QCOMPARE(weekdayShortName(2), u"월"_s);
}

// The condition text, and what it selects when run on a Lecture table joined
// as the reports join it: Ltid 1 normal, 2 postponed, 3 refunded, 4 a
// postponement row.
void TstCodeTexts::lectureStateFilter_data()
{
    QTest::addColumn<bool>("normal");
    QTest::addColumn<bool>("postponed");
    QTest::addColumn<bool>("cancelled");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QList<int>>("ids");
    const QString normal = u" (Lecture.LtGubun < '3' AND (Lecture.Delay + Cancel) = 0)"_s;
    QTest::newRow("none") << false << false << false << QString() << QList<int>{1, 2, 3, 4};
    QTest::newRow("normal") << true << false << false << u"("_s + normal + u")"_s << QList<int>{1};
    QTest::newRow("postponed") << false << true << false << u"( (Lecture.Delay > 0) )"_s << QList<int>{2};
    QTest::newRow("normal or cancelled") << true << false << true
                                         << u"("_s + normal + u" OR  (Lecture.Cancel > 0) )"_s
                                         << QList<int>{1, 3};
    QTest::newRow("all") << true << true << true
                         << u"("_s + normal + u" OR  (Lecture.Delay > 0)  OR  (Lecture.Cancel > 0) )"_s
                         << QList<int>{1, 2, 3};
}

void TstCodeTexts::lectureStateFilter()
{
    QFETCH(bool, normal);
    QFETCH(bool, postponed);
    QFETCH(bool, cancelled);
    QFETCH(QString, sql);
    QFETCH(QList<int>, ids);
    const QString cond = fitrova::lectureStateFilter(normal, postponed, cancelled);
    QCOMPARE(cond, sql);

    QList<int> got;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"filter"_s);
        db.setDatabaseName(u":memory:"_s);
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec(u"CREATE TABLE Lecture (Ltid INTEGER, MbCode TEXT, LtGubun TEXT, "
                       "Delay INTEGER, Cancel INTEGER)"_s));
        QVERIFY(q.exec(u"CREATE TABLE Member (MbCode TEXT, MbName TEXT)"_s));
        QVERIFY(q.exec(u"INSERT INTO Member VALUES ('00000001', 'a')"_s));
        QVERIFY(q.exec(u"INSERT INTO Lecture VALUES (1, '00000001', '1', 0, 0), "
                       "(2, '00000001', '1', 4, 0), (3, '00000001', '2', 0, 5), "
                       "(4, '00000001', '3', 0, 0)"_s));
        QString select = u"SELECT Lecture.Ltid FROM Lecture LEFT JOIN Member "
                         "ON Lecture.MbCode = Member.MbCode"_s;
        if (!cond.isEmpty())
            select += u" WHERE "_s + cond;
        QVERIFY2(q.exec(select + u" ORDER BY Lecture.Ltid"_s), qPrintable(q.lastError().text()));
        while (q.next())
            got << q.value(0).toInt();
    }
    QSqlDatabase::removeDatabase(u"filter"_s);
    QCOMPARE(got, ids);
}

QTEST_GUILESS_MAIN(TstCodeTexts)
#include "tst_codetexts.moc"
