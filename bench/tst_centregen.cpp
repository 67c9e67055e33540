// The benchmark centre generator on a small centre: it follows the schema
// (the program's own check-in runs on it), its rows hang together the way
// the desk's would, and a seed always gives the same centre.
// FITROVA_DB_TEST

#include "centregen.h"

#include "foundation/connections.h"
#include "entrance/checkin.h"
#include "testinstall.h"

#include <QCryptographicHash>
#include <QtTest>

using namespace fitrova;
using namespace fitrova::bench;
using fitrova::test::TestInstall;

namespace {

CentreShape smallShape(quint32 seed = 7)
{
    CentreShape s;
    s.seed = seed;
    s.members = 400;
    s.enrollments = 1200;
    s.visits = 12000;
    s.saleLines = 800;
    return s;
}

// Generates into a fresh installation and connects it again.
void generate(TestInstall &inst, const CentreShape &shape)
{
    generateInto(inst.ctx(), shape);
    const auto failure = connectDatabases(inst.ctx());
    if (failure)
        QFAIL(qPrintable(failure->text + QLatin1Char(' ') + failure->detail));
}

qint64 count(const Db &db, const QString &sql, const Params &p = {})
{
    return db.scalar(sql, p).toLongLong();
}

} // namespace

class TestCentreGen : public QObject {
    Q_OBJECT
    std::unique_ptr<TestInstall> inst;
    CentreShape shape = smallShape();
    const Db &db() { return inst->db(); }

private Q_SLOTS:
    void initTestCase()
    {
        inst = std::make_unique<TestInstall>();
        generate(*inst, shape);
    }
    void cleanupTestCase() { inst.reset(); }

    void sizesAreMet()
    {
        QCOMPARE(count(db(), QStringLiteral("SELECT COUNT(*) FROM Member")), qint64(shape.members));
        const qint64 lectures = count(db(), QStringLiteral("SELECT COUNT(*) FROM Lecture"));
        QVERIFY2(lectures > shape.enrollments * 9 / 10 && lectures < shape.enrollments * 11 / 10, qPrintable(QString::number(lectures)));
        const qint64 visits = count(db(), QStringLiteral("SELECT COUNT(*) FROM entrance"));
        QVERIFY2(visits > shape.visits * 8 / 10 && visits < shape.visits * 12 / 10, qPrintable(QString::number(visits)));
        QVERIFY(count(db(), QStringLiteral("SELECT COUNT(*) FROM Sale")) >= shape.saleLines);
        QVERIFY(count(db(), QStringLiteral("SELECT COUNT(*) FROM Program")) >= 40);
        // The benchmark's lockers, every renter a member of the centre.
        QCOMPARE(count(db(), QStringLiteral("SELECT COUNT(*) FROM PerBoxS")), qint64(2000));
        QVERIFY(count(db(), QStringLiteral("SELECT COUNT(*) FROM RqPerBox")) > 2000);
        QCOMPARE(count(db(), QStringLiteral("SELECT COUNT(*) FROM PerBoxS S LEFT JOIN Member M ON M.MbCode = S.MbCode "
                                            "WHERE S.UUse = '1' AND M.MbCode IS NULL")),
                 qint64(0));
        // Nothing on or after the centre's today: that day belongs to the benchmarks.
        QCOMPARE(count(db(), QStringLiteral("SELECT COUNT(*) FROM entrance WHERE InDate >= ?"),
                       {shape.today.toString(Qt::ISODate)}), qint64(0));
    }

    // Each state the desk meets is there, linked both ways.
    void enrollmentStatesAreLinked_data()
    {
        QTest::addColumn<QString>("ltGubun");
        QTest::addColumn<QString>("link");
        QTest::newRow("postponed") << "3" << "Delay";
        QTest::newRow("refunded") << "4" << "Cancel";
        QTest::newRow("transferred") << "0" << "Transfer";
        QTest::newRow("class changed") << "2" << "Change";
    }
    void enrollmentStatesAreLinked()
    {
        QFETCH(QString, ltGubun);
        QFETCH(QString, link);
        const qint64 rows = count(db(), QStringLiteral("SELECT COUNT(*) FROM Lecture WHERE LtGubun = ?"), {ltGubun});
        QVERIFY2(rows > 0, "state missing");
        // Every dependent row's base points back at it.
        QCOMPARE(count(db(), QStringLiteral("SELECT COUNT(*) FROM Lecture D JOIN Lecture B ON B.Ltid = D.BLtid "
                                            "WHERE D.LtGubun = ? AND B.LtGubun = '1' AND B.") + link + QStringLiteral(" = D.Ltid"),
                       {ltGubun}),
                 rows);
    }

    void otherStatesArePresent()
    {
        QVERIFY(count(db(), QStringLiteral("SELECT COUNT(*) FROM Lecture WHERE LtGubun = '1' AND MisuAmt > 0")) > 0);
        QVERIFY(count(db(), QStringLiteral("SELECT COUNT(*) FROM Lecture WHERE PgGubun = '4'")) > 0);
        QVERIFY(count(db(), QStringLiteral("SELECT COUNT(*) FROM Lecture WHERE PgGubun = '2' AND uPgCnt > 0")) > 0);
        QVERIFY(count(db(), QStringLiteral("SELECT COUNT(*) FROM ItemTrs")) > 0);
        // Member outstanding amounts are those of their enrollments.
        QCOMPARE(count(db(), QStringLiteral("SELECT COUNT(*) FROM Member WHERE MisuAmt < 0")), qint64(0));
    }

    // Visits fall where the gate would have admitted them.
    void visitsFollowTheirEnrollments()
    {
        QCOMPARE(count(db(), QStringLiteral("SELECT COUNT(*) FROM entrance E LEFT JOIN Lecture L ON L.Ltid = E.Ltid "
                                            "WHERE L.Ltid IS NULL OR L.MbCode <> E.MbCode OR E.InDate < L.Sdate1 "
                                            "OR E.InDate > L.Sdate2 OR L.LtGubun NOT IN ('0', '1', '2')")),
                 qint64(0));
        // Never inside a postponement.
        QCOMPARE(count(db(), QStringLiteral("SELECT COUNT(*) FROM entrance E JOIN Lecture L ON L.Ltid = E.Ltid "
                                            "JOIN Lecture D ON D.Ltid = L.Delay "
                                            "WHERE E.InDate >= D.Sdate1 AND E.InDate <= D.Sdate2")),
                 qint64(0));
        // Only on the program's days.
        int wrong = 0;
        for (const Row &r : db().query(QStringLiteral("SELECT E.InDate, P.Mon, P.Tue, P.Wed, P.Thu, P.Fri, P.Sat, P.Sun "
                                                      "FROM entrance E JOIN Program P ON P.Pgid = E.Pgid"))) {
            static const char *const days[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
            const int dow = QDate::fromString(r.str(QStringLiteral("InDate")), Qt::ISODate).dayOfWeek();
            if (r.num(QString::fromLatin1(days[dow - 1])) != 1)
                ++wrong;
        }
        QCOMPARE(wrong, 0);
        // Minutes used on a time pass are its visits' minutes.
        QCOMPARE(count(db(), QStringLiteral("SELECT COUNT(*) FROM Lecture L WHERE L.PgGubun = '2' AND L.LtGubun = '1' "
                                            "AND L.uPgCnt <> (SELECT COALESCE(SUM(E.uTime), 0) FROM entrance E WHERE E.Ltid = L.Ltid)")),
                 qint64(0));
        // Cards and mobile numbers are distinct.
        QCOMPARE(count(db(), QStringLiteral("SELECT COUNT(DISTINCT MbCard) FROM Member")), qint64(shape.members));
    }

    // The program's own check-in runs on the generated data and admits.
    void gateAdmitsAMemberOfToday()
    {
        const QStringList cards = admittedCards(db(), shape.today, 20);
        QVERIFY(!cards.isEmpty());
        GateOptions opt;
        for (const QString &card : cards) {
            const CheckInResult r = checkInByCard(inst->ctx().ent, card, QDateTime(shape.today, QTime(10, 0)), opt);
            QCOMPARE(r.status, CheckInStatus::Decided);
            QVERIFY2(r.entid > 0, qPrintable(card + QLatin1Char(' ') + r.decision.message));
        }
        const auto day = dayWithVisits(db(), 20, shape.today);
        QVERIFY(day.first.isValid() && day.first < shape.today && day.second > 0);
    }

    // The same seed gives the same centre; another seed another.
    void seedDecidesTheCentre()
    {
        // (The visits of today are the gate test's, not the generator's.)
        const QString today = shape.today.toString(Qt::ISODate);
        auto digest = [&](const Db &db) {
            QCryptographicHash h(QCryptographicHash::Sha1);
            for (const QString &sql : {QStringLiteral("SELECT MbCode || MbName || MbCard || Tel2 AS x FROM Member WHERE MbCode > ? ORDER BY MbCode"),
                                       QStringLiteral("SELECT Ltid || MbCode || Sdate1 || Sdate2 || TAmt AS x FROM Lecture WHERE RqDate > ? ORDER BY Ltid"),
                                       QStringLiteral("SELECT CAST(COUNT(*) AS TEXT) || '/' || CAST(MAX(Entid) AS TEXT) || '/' || CAST(SUM(uTime) AS TEXT) AS x FROM entrance WHERE InDate < ?")})
                for (const Row &r : db.query(sql, {sql.contains(QStringLiteral("entrance")) ? today : QStringLiteral("0")}))
                    h.addData(r.str(QStringLiteral("x")).toUtf8());
            return h.result();
        };
        const QByteArray mine = digest(db());
        TestInstall same;
        generate(same, smallShape());
        QCOMPARE(digest(same.db()), mine);
        TestInstall other;
        generate(other, smallShape(8));
        QVERIFY(digest(other.db()) != mine);
    }
};

QTEST_GUILESS_MAIN(TestCentreGen)
#include "tst_centregen.moc"
