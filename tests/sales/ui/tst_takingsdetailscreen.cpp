// FITROVA_DB_TEST
// The detailed takings screen over more lines than a page: the count and the
// totals of every line at once with the first page, the rest read as the
// grid scrolls, and a payment, a card company and a deleted line corrected
// where they stand in the grid, the totals following.

#include "uitest.h"
#include <QtTest>

#include "../../closing/takingsbuilders.h"
#include "sales/ui/salesreportsdetail.h"
#include "scriptedmessages.h"
#include "testinstall.h"
#include "widgets/datagrid.h"
#include "widgets/dateedit.h"
#include "widgets/gridstream.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

using namespace fitrova;
using namespace fitrova::test;

namespace {

const QString kMe = QStringLiteral("0001"); // the logged-in administrator
const QString kDay = QStringLiteral("2024-05-10");
constexpr int kVouchers = 400;

qint64 money(const QString &cell) { return QString(cell).remove(QLatin1Char(',')).toLongLong(); }

} // namespace

class TstTakingsDetailScreen : public QObject {
    Q_OBJECT

    const Db &db() { return m_inst.db(); }

    // The grid's total row against the sums of every line in the database.
    void totalsAgree(const DataGrid *g)
    {
        const int t = g->rowCount() - 1;
        QVERIFY(g->isTotalRow(t));
        const qint64 cash = db().scalar("SELECT SUM(CashAmt) FROM Sale").toLongLong() + 60000;
        const qint64 card = db().scalar("SELECT SUM(CardAmt) FROM Sale").toLongLong();
        QCOMPARE(money(g->cell(t, DetailedTakingsReport::ColCash)), cash);
        QCOMPARE(money(g->cell(t, DetailedTakingsReport::ColCard)), card);
        QCOMPARE(money(g->cell(t, 9)), db().scalar("SELECT SUM(SlAmt) FROM Sale").toLongLong());
    }

private slots:
    void initTestCase()
    {
        m_inst.clock().set(QDateTime(QDate(2024, 5, 10), QTime(23, 0)));
        db().exec("INSERT INTO Card (Code, Name) VALUES ('1', '비씨'), ('2', '국민')");
        // 400 vouchers of one item through the day, every tenth of two lines,
        // and an enrollment: more than a page in item order.
        db().transaction([&] {
            for (int i = 0; i < kVouchers; ++i) {
                const QString time = QTime(8, 0).addSecs(i * 60).toString(QStringLiteral("HH:mm:ss"));
                QList<Line> lines{Line{0, 1, 1000}};
                if (i % 10 == 0)
                    lines << Line{0, 2, 500};
                addVoucher(db(), VoucherSpec(kDay, time, kMe, QStringLiteral("%1").arg(i + 1, 4, 10, QLatin1Char('0')), lines));
            }
            addLecture(db(), {QStringLiteral("1"), kDay, QStringLiteral("12:00:00"), kMe, 60000});
        });
    }

    void init() { m_msg.clear(); }

    void streamsWithTheTotalsOfEveryLine()
    {
        DetailedTakingsReport r(m_ui);
        QVERIFY(r.waitForQuery());
        child<DateEdit>(&r, "TxtSdate1")->setDateText(kDay);
        child<DateEdit>(&r, "TxtSdate2")->setDateText(kDay);
        QVERIFY(r.query());
        QVERIFY(r.waitForQuery());
        const DataGrid *g = r.grid();
        const int lines = kVouchers + kVouchers / 10 + 1;
        // The first page only, and no total row under it yet; the count and
        // the totals already of every line.
        QCOMPARE(g->rowCount(), kGridPageRows);
        QVERIFY(!g->isTotalRow(kGridPageRows - 1));
        QCOMPARE(r.head().lines, qint64(lines));
        QCOMPARE(r.head().total, (Takings{kVouchers * 1000 + kVouchers / 10 * 1000 + 60000, 0, kVouchers + 1}));
        QCOMPARE(child<QLabel>(&r, "Pnl건수")->text(), QStringLiteral("%1 건").arg(kVouchers + 1));

        // The rest as it scrolls, the total row after the last line.
        r.readAllLines();
        r.grid()->scrollToBottom();
        shoot(r, QStringLiteral("detailed-takings-streamed"));
        QCOMPARE(g->rowCount(), lines + 1);
        QCOMPARE(r.lines().size(), lines);
        totalsAgree(g);
        QCOMPARE(g->cell(lines - 1, 0), QStringLiteral("강좌접수"));
    }

    // Corrections far down a streamed list: the rows change where they are,
    // nothing is read again from the top, the totals follow.
    void correctionsWhereTheyStand()
    {
        DetailedTakingsReport r(m_ui);
        QVERIFY(r.waitForQuery());
        child<DateEdit>(&r, "TxtSdate1")->setDateText(kDay);
        child<DateEdit>(&r, "TxtSdate2")->setDateText(kDay);
        QVERIFY(r.query());
        QVERIFY(r.waitForQuery());
        DataGrid *g = r.grid();
        g->model()->fetchMore({});
        const int shown = g->rowCount();
        QVERIFY(shown > 250);
        QVERIFY(!g->isTotalRow(shown - 1));

        // Voucher 0241 has two lines (rows 264 and 265 in item order); its
        // second line corrects the payment on its first.
        const int first = 264;
        QCOMPARE(g->cell(first, 4), kMe + QStringLiteral("-0241"));
        QCOMPARE(g->cell(first + 1, 4), kMe + QStringLiteral("-0241"));
        qint64 asked = 0;
        r.askPayment = [&asked](qint64 &cash, qint64 &card) {
            asked = cash + card;
            cash = 500;
            card = 1500;
            return true;
        };
        m_msg.answer(true);
        QVERIFY(r.correctPayment(first + 1));
        QCOMPARE(g->rowCount(), shown);
        QCOMPARE(money(g->cell(first, DetailedTakingsReport::ColCash)), 500);
        QCOMPARE(money(g->cell(first, DetailedTakingsReport::ColCard)), 1500);
        QCOMPARE(asked, 2000);
        QCOMPARE(r.head().total.card, 1500);
        QCOMPARE(child<QLabel>(&r, "Pnl건수")->text(), QStringLiteral("%1 건").arg(kVouchers + 1));

        r.askCardCompany = [] { return QStringLiteral("2"); };
        QVERIFY(r.correctCardCompany(first + 1));
        QCOMPARE(g->cell(first, 13), QStringLiteral("국민"));

        // Its second line deleted: the row goes, the rows below keep their
        // lines, the payment drops on the first line (cash first).
        const QString below = g->cell(first + 2, 4);
        m_msg.answer(true);
        QVERIFY(r.deleteLine(first + 1));
        QCOMPARE(g->cell(first + 1, 4), below);
        for (int row = 0; row < g->rowCount() && !g->isTotalRow(row); ++row) {
            const TakingsLine &l = r.lines().at(g->rowKey(row).toInt());
            QCOMPARE(g->cell(row, 4), l.kind == TakingsKind::Goods ? l.voucher : l.mbCode);
        }
        QCOMPARE(r.lines().at(g->rowKey(first + 1).toInt()).voucher, below);
        QCOMPARE(money(g->cell(first, DetailedTakingsReport::ColCash)), 0);
        QCOMPARE(money(g->cell(first, DetailedTakingsReport::ColCard)), 1000);
        QCOMPARE(r.head().lines, qint64(kVouchers + kVouchers / 10));

        // What the grid reads afterwards and the totals agree with the
        // database to the won.
        r.readAllLines();
        QCOMPARE(g->rowCount(), kVouchers + kVouchers / 10 + 1);
        totalsAgree(g);
        QCOMPARE(money(g->cell(g->rowCount() - 1, DetailedTakingsReport::ColCard)), 1000);
    }

    // With a payment-kind filter a correction may take lines in or out of
    // the list: it is read again. (The voucher left paid by card alone above
    // is the one card voucher of the day.)
    void aFilteredListIsReadAgain()
    {
        DetailedTakingsReport r(m_ui);
        QVERIFY(r.waitForQuery());
        child<DateEdit>(&r, "TxtSdate1")->setDateText(kDay);
        child<DateEdit>(&r, "TxtSdate2")->setDateText(kDay);
        child<QComboBox>(&r, "Cob결재")->setCurrentIndex(2); // card
        QVERIFY(r.query());
        QVERIFY(r.waitForQuery());
        QCOMPARE(r.head().lines, 1);
        r.askPayment = [](qint64 &cash, qint64 &card) {
            cash = 1000;
            card = 0;
            return true;
        };
        m_msg.answer(true);
        QVERIFY(r.correctPayment(0));
        QVERIFY(r.waitForQuery());
        QCOMPARE(r.head().lines, 0);
        QCOMPARE(r.grid()->rowCount(), 1); // the total row alone
    }

private:
    TestInstall m_inst;
    ScriptedMessages m_msg;
    UiContext m_ui{m_inst.ctx(), m_msg};
};

QTEST_MAIN(TstTakingsDetailScreen)
#include "tst_takingsdetailscreen.moc"
