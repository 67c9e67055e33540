// FITROVA_DB_TEST
// One month of the demo centre: the visit list, the visitors per day, the
// visit counts and the chart agree on the number of visits; the monthly
// summary, the income report summed and itemised agree on the takings; and
// all of them equal sums made here from the raw rows, without SQL sums.

#include <QtTest>

#include "closing/takingsreports.h"
#include "entrance/reports.h"
#include "testinstall.h"

#include <QHash>

namespace fitrova {
// Cash and card when a comparison fails.
char *toString(const Payment &p)
{
    return qstrdup(qPrintable(QStringLiteral("cash %1 card %2").arg(p.cash).arg(p.card)));
}
} // namespace fitrova

using namespace fitrova;
using namespace fitrova::test;

namespace {

const QString kMonth = QStringLiteral("2024-04"); // the demo's clock stands on 2024-05-10

bool inMonth(const QString &date) { return date.startsWith(kMonth + QLatin1Char('-')); }

} // namespace

class TstDemoMonth : public QObject {
    Q_OBJECT

    const Db &db() { return m_inst.db(); }

private slots:
    void visitsAgree()
    {
        QHash<QString, qint64> perDay;
        qint64 visits = 0;
        for (const Row &r : db().query(QStringLiteral("SELECT InDate FROM entrance")))
            if (inMonth(r.str("InDate"))) {
                ++perDay[r.str("InDate")];
                ++visits;
            }
        QVERIFY2(visits > 500, "the demo month has visits");

        const VisitList list = visitList(db(), {kMonth + "-01", kMonth + "-30"});
        QCOMPARE(list.count, visits);
        QCOMPARE(list.lines.size(), visits);

        const DailyVisitors days = dailyVisitors(db(), {2024, 4, true, false});
        QCOMPARE(days.total.members, visits);
        for (const DailyVisitorsLine &d : days.days)
            QCOMPARE(d.members, perDay.value(d.day.toString(Qt::ISODate)));

        VisitCountCriteria counts{kMonth + "-01", kMonth + "-30"};
        QCOMPARE(visitCounts(db(), counts).visits, visits);
        counts.perDay = false;
        QCOMPARE(visitCounts(db(), counts).visits, visits);

        VisitChartCriteria chart;
        chart.period = ChartPeriod::DaysOfMonth;
        chart.year = 2024;
        chart.month = 4;
        const VisitChart c = visitChart(db(), chart);
        QCOMPARE(c.total, visits);
        qint64 seriesSum = 0;
        for (const VisitSeries &s : c.series)
            seriesSum += s.total;
        QCOMPARE(seriesSum, visits);
    }

    void takingsAgree()
    {
        Payment course, goods, locker;
        for (const Row &r : db().query(QStringLiteral("SELECT LtGubun, RqDate, CashAmt, CardAmt FROM Lecture"))) {
            if (!inMonth(r.str("RqDate")))
                continue;
            const Payment p{r.num("CashAmt"), r.num("CardAmt")};
            const QString kind = r.str("LtGubun");
            if (kind == "0" || kind == "1" || kind == "2")
                course += p;
            else if (kind == "4")
                course += -p;
        }
        for (const Row &r : db().query(QStringLiteral("SELECT SlDate, CardChk, SlAmt, CashAmt, CardAmt FROM Sale"))) {
            if (!inMonth(r.str("SlDate")))
                continue;
            const QString kind = r.str("CardChk");
            if (kind == "1")
                goods += Payment{r.num("SlAmt"), 0};
            else if (kind == "2")
                goods += Payment{0, r.num("SlAmt")};
            else if (kind == "3")
                goods += Payment{r.num("CashAmt"), r.num("CardAmt")};
        }
        for (const Row &r : db().query(QStringLiteral("SELECT RqDate, RqGubun, Samt, Uamt, Ramt FROM RqPerBox"))) {
            const QString kind = r.str("RqGubun");
            if (inMonth(r.str("RqDate")) && (kind == "1" || kind == "3" || kind == "4"))
                locker += Payment{r.num("Samt") + r.num("Uamt") - r.num("Ramt"), 0};
        }
        QVERIFY2(course.sum() > 0 && goods.sum() > 0, "the demo month has takings");

        const MonthlySales m = monthlySales(db(), {2024, 4, TakingsBasis::SaleDate});
        QCOMPARE(m.total.course, course);
        Payment allGoods = m.total.goods1;
        allGoods += m.total.goods2;
        allGoods += m.total.goodsOther;
        QCOMPARE(allGoods, goods);
        QCOMPARE(m.total.locker, locker);

        const IncomeCriteria c{kMonth + "-01", kMonth + "-30"};
        const IncomeSummary s = incomeSummary(db(), c);
        QCOMPARE(s.courseTotal, course);
        QCOMPARE(s.goodsTotal, goods);
        QCOMPARE(s.lockerTotal, locker);
        QCOMPARE(s.total, m.total.total());
        const IncomeDetail d = incomeDetail(db(), c);
        QCOMPARE(d.total, s.total);

        // In hundreds of won the 합계 row is the sum of the days as shown.
        const MonthlySales shown = inHundreds(m);
        Payment days;
        for (const MonthlySalesLine &l : shown.days)
            days += l.total();
        QCOMPARE(shown.total.total(), days);
    }

private:
    TestInstall m_inst{true};
};

QTEST_GUILESS_MAIN(TstDemoMonth)
#include "tst_demomonth.moc"
