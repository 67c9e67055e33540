// FITROVA_DB_TEST
// Outstanding amounts and the point ledger.

#include <QtTest>

#include "data/ledger.h"
#include "testinstall.h"

using namespace fitrova;
using fitrova::test::TestInstall;

namespace {

const QString kMember = QStringLiteral("00000001");

void addMember(const Db &db, const QString &code)
{
    db.exec(QStringLiteral("INSERT INTO Member (MbCode, MbName, MisuAmt, Point) VALUES (?, '홍길동', -1, -1)"),
            {code});
}

// Amounts given as QVariant so that a test can store nulls.
void addLecture(const Db &db, const QString &mbCode, const QString &ltGubun, const QVariant &tAmt,
                const QVariant &card, const QVariant &cash)
{
    db.exec(QStringLiteral("INSERT INTO Lecture (LtGubun, MbCode, TAmt, CardAmt, CashAmt) VALUES (?, ?, ?, ?, ?)"),
            {ltGubun, mbCode, tAmt, card, cash});
}

void addSale(const Db &db, const QString &mbCode, int seq, qint64 slAmt, qint64 card, qint64 cash)
{
    db.exec(QStringLiteral("INSERT INTO Sale (SlNo, SEQ, SlDate, LastUser, MbCode, SlAmt, CardAmt, CashAmt) "
                           "VALUES ('0001', ?, '2024-05-10', '0001', ?, ?, ?, ?)"),
            {seq, mbCode, slAmt, card, cash});
}

qint64 memberValue(const Db &db, const QString &column)
{
    return db.scalar(QStringLiteral("SELECT %1 FROM Member WHERE MbCode = ?").arg(column), {kMember}).toLongLong();
}

qint64 ledgerRows(const Db &db)
{
    return db.scalar(QStringLiteral("SELECT COUNT(*) FROM UserPoint WHERE MbCode = ?"), {kMember}).toLongLong();
}

PointEntry entry(qint64 joinId, qint64 amount, qint64 used = 0, const QString &kind = QStringLiteral("1"))
{
    return PointEntry{kind, kMember, QStringLiteral("홍길동"), QStringLiteral("2024-05-10"), joinId, amount,
                      QStringLiteral("수영"), used};
}

} // namespace

class TstLedger : public QObject {
    Q_OBJECT
private slots:
    // One installation; every test starts from empty ledgers and one member.
    void init()
    {
        for (const char *table : {"UserPoint", "Lecture", "Sale", "Member"})
            db().exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
        addMember(db(), kMember);
    }

    void pointsEarned_data()
    {
        QTest::addColumn<double>("rate");
        QTest::addColumn<qint64>("amount");
        QTest::addColumn<qint64>("points");
        QTest::newRow("5% of 19,990") << 5.0 << qint64(19990) << qint64(999);
        QTest::newRow("57% of 100, floating gives 56") << 57.0 << qint64(100) << qint64(57);
        QTest::newRow("0.7% of 1,000, floating gives 6") << 0.7 << qint64(1000) << qint64(7);
        QTest::newRow("2.3% of 3,000, rate*amount/100 gives 68") << 2.3 << qint64(3000) << qint64(69);
        QTest::newRow("2.5% of 1,999 drops fraction") << 2.5 << qint64(1999) << qint64(49);
        QTest::newRow("under one point") << 10.0 << qint64(9) << qint64(0);
        QTest::newRow("refund truncates towards zero") << 5.0 << qint64(-19990) << qint64(-999);
    }
    void pointsEarned()
    {
        QFETCH(double, rate);
        QFETCH(qint64, amount);
        QFETCH(qint64, points);
        QCOMPARE(fitrova::pointsEarned(rate, amount), points);
    }

    void unpaidSumsEnrollmentsAndSales()
    {
        const Db &d = db();
        QCOMPARE(updateMemberUnpaid(d, kMember), qint64(0));
        addLecture(d, kMember, "1", 100000, 30000, 20000);      // 50,000 open
        addLecture(d, kMember, "1", 50000, QVariant(), 10000);  // null card: 40,000 open
        addLecture(d, kMember, "2", 70000, 0, 0);               // class change row: not counted
        addLecture(d, "00000002", "1", 90000, 0, 0);            // someone else
        addSale(d, kMember, 1, 30000, 0, 25000);                // 5,000 open
        addSale(d, kMember, 2, 8000, 0, 10000);                 // overpaid by 2,000
        QCOMPARE(getMemberUnpaid(d, kMember), qint64(93000));
        QCOMPARE(updateMemberUnpaid(d, kMember), qint64(93000));
        QCOMPARE(memberValue(d, "MisuAmt"), qint64(93000));
    }

    void savePointEntry_replacesRowOfSameItem()
    {
        const Db &d = db();
        QVERIFY(!savePointEntry(d, 0, entry(7, 19990))); // points not in use
        QCOMPARE(ledgerRows(d), qint64(0));
        QCOMPARE(savePointEntry(d, 5, entry(7, 19990)), std::optional<qint64>(999));
        QCOMPARE(savePointEntry(d, 5, entry(7, 10000, 100)), std::optional<qint64>(400));
        QCOMPARE(ledgerRows(d), qint64(1));
        // The same id in another table is another item.
        QCOMPARE(savePointEntry(d, 5, entry(7, 2000, 0, "4")), std::optional<qint64>(500));
        QCOMPARE(ledgerRows(d), qint64(2));
        QCOMPARE(memberValue(d, "Point"), qint64(500));
        const auto row = d.queryOne("SELECT PointYul, uPoint, mPoint, Amount FROM UserPoint WHERE PgGubun = '1'");
        QVERIFY(row);
        QCOMPARE(row->dbl("PointYul"), 5.0);
        QCOMPARE(row->num("uPoint"), qint64(500));
        QCOMPARE(row->num("mPoint"), qint64(100));
    }

    void ledgerKeepsOneRowPerPaidItem()
    {
        // Two desks saving the same item at once cannot leave two rows that count twice.
        const Db &d = db();
        d.exec("INSERT INTO UserPoint (MbCode, PgGubun, JoinId, pDate, uPoint, mPoint) "
               "VALUES ('00000001', '1', 7, '2024-05-01', 300, 0)");
        QVERIFY_THROWS_EXCEPTION(DbError, d.exec("INSERT INTO UserPoint (MbCode, PgGubun, JoinId, pDate, uPoint, mPoint) "
                                                 "VALUES ('00000001', '1', 7, '2024-05-02', 300, 0)"));
        QCOMPARE(savePointEntry(d, 5, entry(7, 19990)), std::optional<qint64>(999));
        QCOMPARE(ledgerRows(d), qint64(1));
    }

    void deletePointEntry_removesOnlyThatDatesRow()
    {
        const Db &d = db();
        savePointEntry(d, 5, entry(7, 19990));
        savePointEntry(d, 5, entry(8, 2000));
        QVERIFY(!deletePointEntry(d, 0, kMember, "2024-05-10", "1", 7));
        QCOMPARE(deletePointEntry(d, 5, kMember, "2024-05-11", "1", 7), std::optional<qint64>(1099));
        QCOMPARE(deletePointEntry(d, 5, kMember, "2024-05-10", "1", 7), std::optional<qint64>(100));
        QCOMPARE(ledgerRows(d), qint64(1));
        QCOMPARE(memberValue(d, "Point"), qint64(100));
    }

    void recalcMemberPoint_withoutMemberRowStillCounts()
    {
        const Db &d = db();
        d.exec("INSERT INTO UserPoint (MbCode, PgGubun, JoinId, uPoint, mPoint) VALUES ('00000077', '4', 1, 50, 80)");
        QCOMPARE(recalcMemberPoint(d, "00000077"), qint64(-30));
    }

    // Inside a caller's transaction the routine is a savepoint: the caller's
    // failure takes its rows away with everything else.
    void savePointEntry_rolledBackWithCallersAction()
    {
        const Db &d = db();
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, d.transaction([&] {
            savePointEntry(d, 5, entry(7, 19990));
            updateMemberUnpaid(d, kMember);
            throw std::runtime_error("receipt printer failed");
        }));
        QCOMPARE(ledgerRows(d), qint64(0));
        QCOMPARE(memberValue(d, "Point"), qint64(-1));
        QCOMPARE(memberValue(d, "MisuAmt"), qint64(-1));
    }

private:
    const Db &db() const { return m_inst.db(); }
    TestInstall m_inst;
};

QTEST_GUILESS_MAIN(TstLedger)
#include "tst_ledger.moc"
