// FITROVA_DB_TEST
// Deleting rows of a member's history: the refusals while dependent rows
// exist, the repair of the base enrollment for every kind of dependent row,
// and the points and outstanding amount that follow.

#include <QtTest>

#include "memberbuilders.h"
#include "members/lecturedelete.h"
#include "testinstall.h"

using namespace fitrova;
using namespace fitrova::test;

namespace {

// "kind:ltid:rqDate:sDate1:sDate2:dDate2:rday"
QList<DependentRow> rowsOf(const QStringList &specs)
{
    QList<DependentRow> out;
    for (const QString &s : specs) {
        const QStringList f = s.split(u':');
        out.append({f[1].toLongLong(), lectureKindOf(f[0]), f[2], f[3], f[4], f[5], f[6].toLongLong()});
    }
    return out;
}

} // namespace

Q_DECLARE_METATYPE(BaseRepair)

class TstLectureDelete : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        for (const char *t : {"Member", "Lecture", "Sale", "UserPoint"})
            db().exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(t)));
        addMember(db(), "00000001", QStringLiteral("홍길동"));
    }

    void refusalOrder_data()
    {
        QTest::addColumn<QList<qint64>>("links"); // delay, cancel, transfer, change
        QTest::addColumn<QString>("text");
        QTest::newRow("all set: postponement first") << QList<qint64>{5, 6, 7, 8}
                                                     << "연기처리된 강좌입니다.\n 연기자료를 먼저 삭제하세요.";
        QTest::newRow("refund before transfer") << QList<qint64>{0, 6, 7, 8} << "환불처리된 강좌입니다. 환불자료를 먼저 삭제하세요.";
        QTest::newRow("transfer before change") << QList<qint64>{0, 0, 7, 8} << "양도된 강좌입니다. 양도된 자료를 먼저 삭제하세요.";
        QTest::newRow("change") << QList<qint64>{0, 0, 0, 8} << "반변경된 강좌입니다. 반변경 자료를 먼저 삭제하세요.";
        QTest::newRow("none") << QList<qint64>{0, 0, 0, 0} << "";
    }
    void refusalOrder()
    {
        QFETCH(QList<qint64>, links);
        QFETCH(QString, text);
        const Outcome c = lectureDeleteCheck(links[0], links[1], links[2], links[3]);
        QCOMPARE(c.saved, text.isEmpty());
        QCOMPARE(c.last().text, text);
        if (!c.saved)
            QCOMPARE(c.last().title, QString("삭제불가"));
    }

    // The base runs 2024-05-01 .. 2024-07-31 as sold.
    void repairedBase_data()
    {
        QTest::addColumn<QString>("deletedKind");
        QTest::addColumn<QList<qint64>>("links"); // before: delay, cancel, transfer, change
        QTest::addColumn<QStringList>("remaining");
        QTest::addColumn<BaseRepair>("expected");
        QTest::newRow("last postponement: end as sold, link cleared")
            << "3" << QList<qint64>{10, 0, 0, 0} << QStringList{} << BaseRepair{0, 0, 0, 0, "2024-07-31"};
        QTest::newRow("one of two postponements: the other's days stay")
            << "3" << QList<qint64>{12, 0, 0, 0} << QStringList{"3:10:2024-06-01:2024-06-01:2024-06-10:2024-07-31:10"}
            << BaseRepair{10, 0, 0, 0, "2024-08-10"};
        QTest::newRow("one of three postponements: all remaining days")
            << "3" << QList<qint64>{14, 0, 0, 0}
            << QStringList{"3:10:2024-06-01:2024-06-01:2024-06-10:2024-07-31:10",
                           "3:12:2024-06-20:2024-06-20:2024-06-24:2024-07-31:5"}
            << BaseRepair{12, 0, 0, 0, "2024-08-15"};
        QTest::newRow("last class change: end as sold")
            << "2" << QList<qint64>{0, 0, 0, 20} << QStringList{} << BaseRepair{0, 0, 0, 0, "2024-07-31"};
        QTest::newRow("one of two class changes: day before the latest remaining one")
            << "2" << QList<qint64>{0, 0, 0, 22}
            << QStringList{"2:20:2024-05-10:2024-05-10:2024-07-31::0", "2:21:2024-06-10:2024-06-10:2024-07-31::0"}
            << BaseRepair{0, 0, 0, 21, "2024-06-09"};
        QTest::newRow("class change starting on the base's own start")
            << "2" << QList<qint64>{0, 0, 0, 22} << QStringList{"2:20:2024-05-01:2024-05-01:2024-07-31::0"}
            << BaseRepair{0, 0, 0, 20, "2024-05-01"};
        QTest::newRow("last transfer: end as sold")
            << "0" << QList<qint64>{0, 0, 30, 0} << QStringList{} << BaseRepair{0, 0, 0, 0, "2024-07-31"};
        QTest::newRow("last refund: end as sold")
            << "4" << QList<qint64>{0, 40, 0, 0} << QStringList{} << BaseRepair{0, 0, 0, 0, "2024-07-31"};
        QTest::newRow("refund deleted, postponement stays")
            << "4" << QList<qint64>{10, 40, 0, 0} << QStringList{"3:10:2024-06-01:2024-06-01:2024-06-10:2024-07-31:10"}
            << BaseRepair{10, 0, 0, 0, "2024-08-10"};
        QTest::newRow("postponement deleted, refund stays: still ends on the refund date")
            << "3" << QList<qint64>{10, 40, 0, 0} << QStringList{"4:40:2024-06-15:2024-05-01:2024-06-15::46"}
            << BaseRepair{0, 40, 0, 0, "2024-06-15"};
        QTest::newRow("postponement deleted, transfer stays")
            << "3" << QList<qint64>{10, 0, 30, 0} << QStringList{"0:30:2024-06-20:2024-06-20:2024-08-10:2024-08-10:0"}
            << BaseRepair{0, 0, 30, 0, "2024-06-20"};
        QTest::newRow("open-ended program stays open")
            << "3" << QList<qint64>{10, 0, 0, 0} << QStringList{} << BaseRepair{0, 0, 0, 0, "9999-12-31"};
    }
    void repairedBase()
    {
        QFETCH(QString, deletedKind);
        QFETCH(QList<qint64>, links);
        QFETCH(QStringList, remaining);
        QFETCH(BaseRepair, expected);
        BaseState base;
        base.ltid = 1;
        base.sDate1 = "2024-05-01";
        base.sDate2 = "2024-09-30";
        base.dDate2 = QString(QTest::currentDataTag()).startsWith("open") ? "9999-12-31" : "2024-07-31";
        base.delay = links[0];
        base.cancel = links[1];
        base.transfer = links[2];
        base.change = links[3];
        const BaseRepair got = fitrova::repairedBase(base, lectureKindOf(deletedKind), rowsOf(remaining));
        QCOMPARE(got.delay, expected.delay);
        QCOMPARE(got.cancel, expected.cancel);
        QCOMPARE(got.transfer, expected.transfer);
        QCOMPARE(got.change, expected.change);
        QCOMPARE(got.sDate2, expected.sDate2);
    }

    void repairedBase_legacyWithoutSoldEnd()
    {
        BaseState base;
        base.sDate2 = "2024-09-30";
        base.delay = 3;
        const BaseRepair r = fitrova::repairedBase(base, LectureKind::Postponement, {});
        QCOMPARE(r.delay, 0);
        QCOMPARE(r.sDate2, QString("2024-09-30"));
    }

    // Every kind of dependent row, deleted through the store: the refusal
    // while it exists, then the base back to its own period.
    void deleteDependent_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("cutEnd");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("transfer") << "0" << "Transfer" << "2024-06-01" << "양도된 강좌입니다. 양도된 자료를 먼저 삭제하세요.";
        QTest::newRow("class change") << "2" << "Change" << "2024-06-09" << "반변경된 강좌입니다. 반변경 자료를 먼저 삭제하세요.";
        QTest::newRow("postponement") << "3" << "Delay" << "2024-08-10"
                                      << "연기처리된 강좌입니다.\n 연기자료를 먼저 삭제하세요.";
        QTest::newRow("refund") << "4" << "Cancel" << "2024-06-15" << "환불처리된 강좌입니다. 환불자료를 먼저 삭제하세요.";
    }
    void deleteDependent()
    {
        QFETCH(QString, kind);
        QFETCH(QString, link);
        QFETCH(QString, cutEnd);
        QFETCH(QString, refusal);
        Lect base;
        base.tAmt = 90000;
        base.cashAmt = 90000;
        const qint64 baseId = addLecture(db(), base);
        Lect dep;
        dep.ltGubun = kind;
        dep.rqDate = "2024-06-10";
        dep.sDate1 = "2024-06-10";
        dep.rday = 10;
        const qint64 depId = addDependent(db(), baseId, dep, link, cutEnd);

        const Outcome c = lectureDeleteCheck(db(), baseId);
        QVERIFY(!c.saved);
        QCOMPARE(c.last().text, refusal);
        const RowDeleteResult refused = deleteLecture(db(), baseId);
        QVERIFY(!refused.deleted);
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM Lecture").toInt(), 2);

        const RowDeleteResult r = deleteLecture(db(), depId);
        QVERIFY(r.deleted);
        const auto b = db().queryOne("SELECT Delay, Cancel, Transfer, Change, Sdate2 FROM Lecture WHERE Ltid = ?",
                                     {baseId});
        QCOMPARE(b->num(link), 0);
        QCOMPARE(b->str("Sdate2"), QString("2024-07-31"));
        QVERIFY(lectureDeleteCheck(db(), baseId).saved);
        QVERIFY(deleteLecture(db(), baseId).deleted);
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM Lecture").toInt(), 0);
    }

    // Deleting an enrollment removes its points (whatever their date) and the
    // unpaid part it carried; a payment row takes its payment points with it.
    void deleteLecture_pointsAndUnpaid()
    {
        Lect short1;
        short1.tAmt = 100000;
        short1.cashAmt = 60000;
        const qint64 a = addLecture(db(), short1);
        Lect pay;
        pay.pgGubun = "4";
        pay.cashAmt = 10000;
        const qint64 p = addLecture(db(), pay);
        addPoint(db(), "00000001", "1", a, 3000, 0, "2024-04-30");
        addPoint(db(), "00000001", "3", p, 500);
        addPoint(db(), "00000001", "4", a, 70); // a sale with the same id number stays
        db().exec("UPDATE Member SET MisuAmt = 30000, Point = 3570");

        RowDeleteResult r = deleteLecture(db(), p);
        QVERIFY(r.deleted);
        QCOMPARE(r.misuAmt, 40000);
        QCOMPARE(r.point, 3070);
        r = deleteLecture(db(), a);
        QCOMPARE(r.misuAmt, 0);
        QCOMPARE(r.point, 70);
        QCOMPARE(db().scalar("SELECT MisuAmt FROM Member").toLongLong(), 0);
        QCOMPARE(db().scalar("SELECT Point FROM Member").toLongLong(), 70);
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM UserPoint").toInt(), 1);
    }

    void deleteLecture_goneMeanwhile()
    {
        const RowDeleteResult r = deleteLecture(db(), 424242);
        QVERIFY(!r.deleted);
        QCOMPARE(r.message.title, QString("삭제불가"));
    }

    void deleteSaleAndPointRow()
    {
        const qint64 s = addSale(db(), "00000001", 20000, 15000, "2024-05-03");
        addPoint(db(), "00000001", "4", s, 750);
        const qint64 keep = addPoint(db(), "00000001", "1", 99, 1000, 200);
        RowDeleteResult r = deleteSale(db(), s);
        QVERIFY(r.deleted);
        QCOMPARE(r.misuAmt, 0);
        QCOMPARE(r.point, 800);
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM Sale").toInt(), 0);

        r = deletePointRow(db(), keep);
        QVERIFY(r.deleted);
        QCOMPARE(r.point, 0);
        QCOMPARE(db().scalar("SELECT Point FROM Member").toLongLong(), 0);
        QVERIFY(!deletePointRow(db(), keep).deleted);
    }

private:
    const Db &db() const { return m_inst.db(); }
    TestInstall m_inst;
};

QTEST_GUILESS_MAIN(TstLectureDelete)
#include "tst_lecturedelete.moc"
