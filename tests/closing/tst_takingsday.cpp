// FITROVA_DB_TEST
// A whole day at the counter: goods, enrollments and lockers taken by two
// clerks, each shift closed by a blind count (the afternoon 1,000 won short),
// the day closed; then every report of the takings agrees with the closing
// to the won.

#include <QtTest>

#include "closing/closing.h"
#include "sales/salesreports.h"
#include "takingsbuilders.h"
#include "testinstall.h"

using namespace fitrova;
using namespace fitrova::test;

namespace {

const QString kKim = QStringLiteral("0002");  // morning
const QString kPark = QStringLiteral("0003"); // afternoon
const QString kDay = QStringLiteral("2024-05-10");

ShiftStamp at(const QString &user, const QString &time)
{
    return {user, 1, QDateTime::fromString(kDay + QLatin1Char(' ') + time, QStringLiteral("yyyy-MM-dd HH:mm:ss"))};
}

// Counts `cash` (float included) in notes and coins, largest first.
CashCount notesFor(qint64 cash)
{
    CashCount c;
    for (size_t i = 0; i < CashCount::kUnits.size(); ++i) {
        c.qty[i] = cash / CashCount::kUnits[i];
        cash %= CashCount::kUnits[i];
    }
    return c;
}

} // namespace

class TstTakingsDay : public QObject {
    Q_OBJECT
private:
    TestInstall m_inst;
    const Db &db() { return m_inst.db(); }
    ClosingSettings m_settings;
    TimeWindow m_day;
    qint64 m_morning = 0, m_afternoon = 0, m_dayRow = 0;

private slots:
    void initTestCase()
    {
        addUser(db(), kKim, QStringLiteral("김은정"));
        addUser(db(), kPark, QStringLiteral("박서준"));
        m_day = businessDay(m_settings, QDate(2024, 5, 10));
    }

    void theMorningShift()
    {
        // An enrollment paid before the first sale of the day.
        addLecture(db(), {QStringLiteral("1"), kDay, QStringLiteral("06:40:00"), kKim, 40000, 20000, QStringLiteral("1")});
        addSimpleVoucher(db(), kDay, QStringLiteral("07:05:00"), kKim, QStringLiteral("0001"), 3500);
        db().transaction([&] { ensureShift(db(), at(kKim, QStringLiteral("07:05:00")), m_settings); });
        addSimpleVoucher(db(), kDay, QStringLiteral("07:30:00"), kKim, QStringLiteral("0002"), 12000, true, QStringLiteral("2"));
        addVoucher(db(), {kDay, QStringLiteral("08:00:00"), kKim, QStringLiteral("0003"), {Line(0, 2, 4500), Line(0, 1, 1000)},
                          6000, 4000, QStringLiteral("1")});
        addVoucher(db(), {kDay, QStringLiteral("08:30:00"), kKim, QStringLiteral("0004"), {Line(0, -1, 3500)}, -3500});
        LectureSpec unpaid(QStringLiteral("1"), kDay, QStringLiteral("09:00:00"), kKim, 15000);
        unpaid.pgGubun = QStringLiteral("4");
        addLecture(db(), unpaid);
        addLecture(db(), {QStringLiteral("2"), kDay, QStringLiteral("09:30:00"), kKim, 0, 8000, QStringLiteral("3")});
        addLecture(db(), {QStringLiteral("4"), kDay, QStringLiteral("10:00:00"), kKim, 0, 30000, QStringLiteral("1")});
        addLockerRow(db(), {QStringLiteral("1"), kDay, QStringLiteral("10:30:00"), kKim, 10000, 5000});
        addLockerRow(db(), {QStringLiteral("3"), kDay, QStringLiteral("11:00:00"), kKim, 0, 5000});
        addLecture(db(), {QStringLiteral("3"), kDay, QStringLiteral("11:30:00"), kKim}); // a postponement: no money

        const ShiftStamp st = at(kKim, QStringLiteral("14:00:00"));
        const ShiftReading r = readShiftOf(db(), st, m_settings, m_day);
        QCOMPARE(r.window.from(), QStringLiteral("2024-05-1006:40:00"));
        // Cash 40,000 + 3,500 + 6,000 - 3,500 + 15,000 + 10,000 + 5,000 + 5,000; card 20,000 + 12,000 + 4,000 + 8,000 - 30,000.
        QCOMPARE(r.figures.total(), (Takings{81000, 14000, 10}));
        ShiftCount c;
        c.befAmt = 50000;
        c.cash = notesFor(50000 + 81000);
        c.cardSlips = 14000;
        c.floatLeft = 50000;
        const Outcome o = closeShift(db(), {r.shift.fnid, c, m_day}, st, m_settings);
        QVERIFY2(o, qPrintable(o.last().text));
        m_morning = o.id;
        QCOMPARE(loadFinish(db(), m_morning)->totAmt3, 0);
    }

    void theAfternoonShift()
    {
        QCOMPARE(proposedFloat(db(), 1), 50000);
        const Outcome opened = openShiftByHand(db(), at(kPark, QStringLiteral("14:05:00")), m_settings, 50000);
        QVERIFY(opened);
        addSimpleVoucher(db(), kDay, QStringLiteral("14:10:00"), kPark, QStringLiteral("0001"), 2500);
        addSimpleVoucher(db(), kDay, QStringLiteral("15:00:00"), kPark, QStringLiteral("0002"), 9000, true, QStringLiteral("A"));
        addLecture(db(), {QStringLiteral("1"), kDay, QStringLiteral("16:00:00"), kPark, 120000});
        addLockerRow(db(), {QStringLiteral("4"), kDay, QStringLiteral("17:00:00"), kPark, 0, 0, 10000});
        addLockerRow(db(), {QStringLiteral("5"), kDay, QStringLiteral("18:00:00"), kPark, 0, 0, 10000});
        addLockerRow(db(), {QStringLiteral("2"), kDay, QStringLiteral("18:30:00"), kPark, 10000, 5000}); // a move

        const ShiftStamp st = at(kPark, QStringLiteral("22:00:00"));
        const auto r = readShift(db(), opened.id, st, m_day);
        QCOMPARE(r->figures.total(), (Takings{102500, 9000, 5}));
        ShiftCount c;
        c.befAmt = 50000;
        c.cash = notesFor(50000 + 102500 - 1000);
        c.cardSlips = 9000;
        c.floatLeft = 30000;
        QCOMPARE(closeShift(db(), {opened.id, c, m_day}, st, m_settings).field, int(CountField::Reason));
        c.reason = QStringLiteral("원인 미상");
        const Outcome o = closeShift(db(), {opened.id, c, m_day}, st, m_settings);
        QVERIFY(o);
        m_afternoon = o.id;
        const FinishRow f = *loadFinish(db(), m_afternoon);
        QCOMPARE((QList<qint64>{f.cashAmt2, f.cashAmt3, f.totAmt3, f.cashAmt4, f.totAmt4}),
                 (QList<qint64>{101500, -1000, -1000, 121500, 130500}));
        QCOMPARE(proposedFloat(db(), 1), 30000);
    }

    void theDay()
    {
        const Outcome o = closeDay(db(), {m_day, kDay}, at(QStringLiteral("0001"), QStringLiteral("22:10:00")));
        QVERIFY2(o, qPrintable(o.last().text));
        m_dayRow = o.id;
        const FinishRow d = *loadFinish(db(), m_dayRow);
        QCOMPARE((QList<qint64>{d.totCnt, d.cashAmt1, d.cardAmt1, d.totAmt1, d.cashAmt2, d.cardAmt2, d.totAmt2, d.cashAmt3,
                                d.cardAmt3, d.totAmt3, d.cashAmt4, d.totAmt4}),
                 (QList<qint64>{15, 183500, 23000, 206500, 182500, 23000, 205500, -1000, 0, -1000, 202500, 225500}));
        for (qint64 shift : {m_morning, m_afternoon})
            QCOMPARE(loadFinish(db(), shift)->fDate, kDay);
    }

    // Every report of the day says what the closing says.
    void everyReportAgrees()
    {
        const FinishRow d = *loadFinish(db(), m_dayRow);
        const Takings closed{d.cashAmt1, d.cardAmt1, d.totCnt};

        DetailedTakingsCriteria byDate;
        byDate.byClosingDate = true;
        byDate.fromDate = byDate.toDate = kDay;
        QCOMPARE(takingsTotal(detailedTakings(db(), byDate)), closed);

        DetailedTakingsCriteria bySale;
        bySale.window = m_day;
        QCOMPARE(takingsTotal(detailedTakings(db(), bySale)), closed);
        QCOMPARE(recordedTakings(db(), m_day, {}).total(), closed);

        for (qint64 shift : {m_morning, m_afternoon}) {
            const FinishRow f = *loadFinish(db(), shift);
            DetailedTakingsCriteria mine = byDate;
            mine.user = f.psCode;
            QCOMPARE(takingsTotal(detailedTakings(db(), mine)), (Takings{f.cashAmt1, f.cardAmt1, f.totCnt}));
        }

        const CardTakings cards = cardTakings(db(), 2024, 5, CardTakingsSource::Both);
        QCOMPARE(cards.dayTotal(9), d.cardAmt1);
        QCOMPARE(cards.total(), d.cardAmt1);

        const ShiftFigures figures = recordedTakings(db(), m_day, {});
        const SalesStatusCriteria status{m_day, {}, {}};
        const QList<SummaryLine> summary = summaryWithTotals(itemSummary(db(), status));
        QCOMPARE(summary.last().row.cash(), figures.goods.cash);
        QCOMPARE(summary.last().row.card(), figures.goods.card);
        const QList<DailySalesRow> days = dailySales(db(), status);
        QCOMPARE(days.size(), 1);
        QCOMPARE((Takings{days[0].cash, days[0].card, days[0].vouchers}), figures.goods);
        qint64 lineTotal = 0;
        for (const SaleLineRow &l : salesLines(db(), status))
            lineTotal += l.total;
        QCOMPARE(lineTotal, figures.goods.total());

        ClosingListCriteria shifts;
        shifts.byClosingDate = true;
        shifts.fromDate = shifts.toDate = kDay;
        shifts.shifts = true;
        qint64 sum = 0;
        for (const FinishRow &f : listClosings(db(), shifts))
            sum += f.totAmt1;
        QCOMPARE(sum, d.totAmt1);
    }
};

QTEST_GUILESS_MAIN(TstTakingsDay)
#include "tst_takingsday.moc"
