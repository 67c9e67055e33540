// FITROVA_DB_TEST
// The takings summaries: what counts as money (recorded cash and card of a
// mixed voucher, refunds summed apart, locker changes not counted), the
// closing-date basis, hundreds of won whose totals add up as shown, the
// income report summed and itemised, and the member settlement.

#include <QtTest>

#include "../members/memberbuilders.h"
#include "closing/takingsreports.h"
#include "testinstall.h"

#include <random>

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

struct Money {
    QString ltGubun{}, pgGubun = QStringLiteral("1");
    qint64 cash = 0, card = 0, tAmt = 0;
    QString rqDate{}, fDate{}, lectGubun = QStringLiteral("1"), user = QStringLiteral("0001");
    int months = 1;
    qint64 pgid = 0;
};

qint64 addMoney(const Db &db, const Money &m)
{
    Lect l;
    l.ltGubun = m.ltGubun;
    l.pgGubun = m.pgGubun;
    l.cashAmt = m.cash;
    l.cardAmt = m.card;
    l.tAmt = m.tAmt ? m.tAmt : m.cash + m.card;
    l.rqDate = m.rqDate;
    l.monthCnt = m.months;
    l.pgid = m.pgid;
    const qint64 id = addLecture(db, l);
    db.exec(QStringLiteral("UPDATE Lecture SET fDate = ?, Lectgubun = ?, LastUser = ? WHERE Ltid = ?"),
            {m.fDate.isEmpty() ? QVariant() : QVariant(m.fDate), m.lectGubun, m.user, id});
    return id;
}

// One voucher line; the payment stands on the first line (seq 1).
void addLine(const Db &db, const QString &date, const QString &no, int seq, const QString &course, qint64 amount,
             const QString &cardChk, qint64 cash = 0, qint64 card = 0, const QString &fDate = {}, int qty = 1,
             qint64 itId = 0)
{
    db.exec(QStringLiteral("INSERT INTO Sale (SlNo, SEQ, ItId, Course, SlDate, LastUser, MbCode, Slqty, SlAmt, CashAmt, "
                           "CardAmt, SLTAmt, CardChk, SlfDate) VALUES (?, ?, ?, ?, ?, '0001', '00000000', ?, ?, ?, ?, ?, ?, ?)"),
            {no, seq, itId, course, date, qty, amount, cash, card, cash + card, cardChk,
             fDate.isEmpty() ? QVariant() : QVariant(fDate)});
}

void addLocker(const Db &db, const QString &date, const QString &kind, qint64 deposit, qint64 fee, qint64 refund,
               const QString &fDate = {})
{
    db.exec(QStringLiteral("INSERT INTO RqPerBox (RqDate, MbCode, BoxCode, BoxNum, RqGubun, RqBox, UseDate1, UseDate2, "
                           "Samt, Uamt, Ramt, fDate, LastUser) VALUES (?, '00000001', '1', '7', ?, 7, ?, ?, ?, ?, ?, ?, '0001')"),
            {date, kind, date, date, deposit, fee, refund, fDate.isEmpty() ? QVariant() : QVariant(fDate)});
}

} // namespace

class TstTakingsReports : public QObject {
    Q_OBJECT

    const Db &db() { return m_inst.db(); }

private slots:
    void init()
    {
        for (const char *t : {"Lecture", "Sale", "RqPerBox", "Item", "Program", "PerBox"})
            db().exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(t)));
        db().exec(QStringLiteral("DELETE FROM Course WHERE PsGroup = 'S'"));
        db().exec(QStringLiteral("UPDATE Course SET Name = '수영' WHERE PsGroup = 'P' AND Code = '1'"));
        for (const auto &[code, name] : {std::pair("1", "입장권"), std::pair("2", "수영용품"), std::pair("3", "음료")})
            db().exec(QStringLiteral("INSERT INTO Course (PsGroup, Code, Name) VALUES ('S', ?, ?)"),
                      {QString(code), QString::fromUtf8(name)});
    }

    void hundreds_data()
    {
        QTest::addColumn<qint64>("won");
        QTest::addColumn<qint64>("shown");
        for (const auto &[w, h] : std::initializer_list<std::pair<qint64, qint64>>{
                 {0, 0}, {49, 0}, {50, 1}, {149, 1}, {150, 2}, {1249, 12}, {1250, 13}, {-49, 0}, {-50, -1}, {-1250, -13},
                 {123456789, 1234568}})
            QTest::newRow(qPrintable(QString::number(w))) << w << h;
    }

    void hundreds()
    {
        QFETCH(qint64, won);
        QFETCH(qint64, shown);
        QCOMPARE(toHundreds(won), shown);
    }

    // Every total of the summary in hundreds is the sum of the figures shown
    // above it, and each row's 계 the sum of its columns as shown.
    void hundredsAddUpAsShown()
    {
        std::mt19937 rnd(7);
        std::uniform_int_distribution<int> amount(-2000, 90000);
        for (int d = 1; d <= 30; ++d) {
            const QString day = QStringLiteral("2024-06-%1").arg(d, 2, 10, QLatin1Char('0'));
            addMoney(db(), {"1", "1", amount(rnd) * 10 + 50, amount(rnd) * 10 + 50, 0, day});
            addLine(db(), day, "0001", 1, "1", amount(rnd) + 50, "1");
            addLine(db(), day, "0002", 1, "2", amount(rnd) + 50, "2");
            addLocker(db(), day, "1", 10050, amount(rnd) * 10, 0);
        }
        const MonthlySales won = monthlySales(db(), {2024, 6, TakingsBasis::SaleDate});
        const MonthlySales shown = inHundreds(won);
        Payment course, locker, goods1, goods2, total;
        for (const MonthlySalesLine &l : shown.days) {
            course += l.course;
            locker += l.locker;
            goods1 += l.goods1;
            goods2 += l.goods2;
            total += l.total();
            QCOMPARE(l.total().cash, l.course.cash + l.locker.cash + l.goods1.cash + l.goods2.cash + l.goodsOther.cash);
        }
        QCOMPARE(shown.total.course, course);
        QCOMPARE(shown.total.locker, locker);
        QCOMPARE(shown.total.goods1, goods1);
        QCOMPARE(shown.total.goods2, goods2);
        QCOMPARE(shown.total.total(), total);
        // Rounding each figure may drift from the rounded grand total; the
        // figures shown are what adds up.
        QVERIFY(qAbs(shown.total.total().sum() - toHundreds(won.total.total().sum())) <= 2 * 30 * 4);
    }

    // A sale of the last evening of May closed on the first of June counts in
    // June on the closing basis and in May on the sale basis.
    void closingBasis()
    {
        addMoney(db(), {"1", "1", 50000, 0, 0, "2024-05-31", "2024-06-01"});
        addLine(db(), "2024-05-31", "0001", 1, "1", 8000, "1", 8000, 0, "2024-06-01");
        addLocker(db(), "2024-05-31", "1", 10000, 30000, 0, "2024-06-01");
        addMoney(db(), {"1", "1", 20000, 0, 0, "2024-05-31"}); // not closed yet

        const MonthlySales mayClosed = monthlySales(db(), {2024, 5, TakingsBasis::ClosingDate});
        QCOMPARE(mayClosed.total.total().sum(), qint64(0));
        const MonthlySales juneClosed = monthlySales(db(), {2024, 6, TakingsBasis::ClosingDate});
        QCOMPARE(juneClosed.days[0].course, (Payment{50000, 0}));
        QCOMPARE(juneClosed.days[0].goods1, (Payment{8000, 0}));
        QCOMPARE(juneClosed.days[0].locker, (Payment{40000, 0}));
        const MonthlySales maySold = monthlySales(db(), {2024, 5, TakingsBasis::SaleDate});
        QCOMPARE(maySold.days[30].course, (Payment{70000, 0}));
        QCOMPARE(maySold.days[30].total().sum(), qint64(118000));
        QCOMPARE(monthlySales(db(), {2024, 6, TakingsBasis::SaleDate}).total.total().sum(), qint64(0));
    }

    // A voucher paid partly by card and partly in cash counts its recorded
    // payment; a voucher of one kind counts its lines; goods columns by course.
    void goodsPayments()
    {
        addLine(db(), "2024-05-02", "0001", 1, "1", 10000, "3", 6000, 9000);
        addLine(db(), "2024-05-02", "0001", 2, "2", 5000, "3");
        addLine(db(), "2024-05-02", "0002", 1, "1", 3000, "1", 3000, 0);
        addLine(db(), "2024-05-02", "0002", 2, "2", 4000, "1");
        addLine(db(), "2024-05-02", "0003", 1, "3", 2500, "2", 0, 2500);
        addLine(db(), "2024-05-02", "0004", 1, "0", 1000, "1", 1000, 0); // goods without a goods course
        addLine(db(), "2024-05-02", "0005", 1, "2", -4000, "1", -4000, 0, {}, -1); // a refund voucher
        const MonthlySales m = monthlySales(db(), {2024, 5, TakingsBasis::SaleDate});
        QCOMPARE(m.goods1Name, QStringLiteral("입장권"));
        QCOMPARE(m.goods2Name, QStringLiteral("수영용품"));
        const MonthlySalesLine &d = m.days[1];
        QCOMPARE(d.goods1, (Payment{6000 + 3000, 9000}));
        QCOMPARE(d.goods2, (Payment{4000 - 4000, 0}));
        QCOMPARE(d.goodsOther, (Payment{1000, 2500}));
        QCOMPARE(d.total().sum(), qint64(15000 + 7000 + 2500 + 1000 - 4000));

        const IncomeSummary s = incomeSummary(db(), {"2024-05-02", "2024-05-02"});
        QCOMPARE(s.goodsTotal, (Payment{6000 + 3000 + 4000 + 1000 - 4000, 9000 + 2500}));
        const IncomeDetail detail = incomeDetail(db(), {"2024-05-02", "2024-05-02"});
        QCOMPARE(detail.goodsTotal, s.goodsTotal);
        QCOMPARE(detail.goods.size(), 7);
        QCOMPARE(detail.goods.last().kind, QStringLiteral("환불"));
    }

    // Refund rows are money paid back, summed apart from enrollments and
    // class changes; payments of outstanding amounts are money taken.
    void refundSummedApart()
    {
        const qint64 swim = db().insertId("INSERT INTO Program (PgGubun, Course, PgName) VALUES ('1', '1', '수영 초급')", {},
                                          "Pgid");
        addMoney(db(), {"1", "1", 100000, 0, 0, "2024-05-03", {}, "1", "0001", 3, swim});
        addMoney(db(), {"1", "1", 0, 60000, 0, "2024-05-04", {}, "2", "0002", 1, swim});
        addMoney(db(), {"2", "1", 0, 20000, 0, "2024-05-05", {}, "1", "0001", 3, swim});
        addMoney(db(), {"4", "1", 30000, 0, 0, "2024-05-06", {}, "1", "0001", 3, swim});
        addMoney(db(), {"1", "4", 15000, 0, 0, "2024-05-07"}); // payment of an outstanding amount
        addMoney(db(), {"0", "1", 0, 0, 0, "2024-05-08"});     // a transfer carries no money
        addMoney(db(), {"1", "1", 70000, 0, 0, "2024-06-01"});

        const MonthlySales m = monthlySales(db(), {2024, 5, TakingsBasis::SaleDate});
        QCOMPARE(m.total.course, (Payment{100000 - 30000 + 15000, 60000 + 20000}));
        QCOMPARE(m.days[5].course, (Payment{-30000, 0}));

        const IncomeSummary s = incomeSummary(db(), {"2024-05-01", "2024-05-31"});
        QStringList kinds;
        for (const IncomeSumLine &l : s.courses)
            kinds << l.kind + ' ' + QString::number(l.count) + ' ' + QString::number(l.pay.sum());
        QCOMPARE(kinds, (QStringList{"신청 2 160000", "입금 1 15000", "반변경 1 20000", "환불 1 -30000"}));
        QCOMPARE(s.courseTotal, m.total.course);
        QCOMPARE(s.total.sum(), qint64(165000));

        const IncomeDetail d = incomeDetail(db(), {"2024-05-01", "2024-05-31"});
        QStringList detailKinds;
        for (const IncomeDetailLine &l : d.courses)
            detailKinds << l.kind;
        QCOMPARE(detailKinds, (QStringList{"신규", "재등록", "반변경", "환불", "입금"}));
        QCOMPARE(d.courseTotal, s.courseTotal);
        QCOMPARE(d.courses[0].name, QStringLiteral("수영 초급"));

        IncomeCriteria byUser{"2024-05-01", "2024-05-31", "0002"};
        QCOMPARE(incomeSummary(db(), byUser).total.sum(), qint64(60000));
        IncomeCriteria threeMonths{"2024-05-01", "2024-05-31", {}, 3};
        QCOMPARE(incomeSummary(db(), threeMonths).courseTotal.sum(), qint64(100000 + 20000 - 30000));
    }

    // New rentals and renewals bring deposit and fee, cancellations pay the
    // deposit back; a change of locker repeats the amounts and is not money.
    void lockerMoney()
    {
        addLocker(db(), "2024-05-02", "1", 10000, 30000, 0);
        addLocker(db(), "2024-05-03", "2", 10000, 30000, 0);
        addLocker(db(), "2024-05-04", "3", 0, 30000, 0);
        addLocker(db(), "2024-05-05", "4", 0, 0, 10000);
        addLocker(db(), "2024-05-06", "5", 0, 0, 0);
        const MonthlySales m = monthlySales(db(), {2024, 5, TakingsBasis::SaleDate});
        QCOMPARE(m.total.locker, (Payment{60000, 0}));
        QCOMPARE(m.days[2].locker.sum(), qint64(0));
        const IncomeSummary s = incomeSummary(db(), {"2024-05-01", "2024-05-31"});
        QStringList kinds;
        for (const IncomeSumLine &l : s.lockers)
            kinds << l.kind + ' ' + QString::number(l.pay.cash);
        QCOMPARE(kinds, (QStringList{"신규 40000", "재등록 30000", "해지 -10000"}));
        const IncomeDetail d = incomeDetail(db(), {"2024-05-01", "2024-05-31"});
        QCOMPARE(d.lockers.size(), 3);
        QCOMPARE(d.lockers[0].name, QStringLiteral("사물함 7 번"));
        QCOMPARE(d.lockerTotal, s.lockerTotal);
    }

    // An empty period is an empty report with zero totals, never an error.
    void emptyPeriod()
    {
        const MonthlySales m = monthlySales(db(), {2030, 2, TakingsBasis::ClosingDate});
        QCOMPARE(m.days.size(), 28);
        QCOMPARE(m.total.total(), Payment{});
        const IncomeSummary s = incomeSummary(db(), {"2030-01-01", "2030-01-31"});
        QVERIFY(s.courses.isEmpty() && s.goods.isEmpty() && s.lockers.isEmpty());
        QCOMPARE(s.total, Payment{});
        QCOMPARE(incomeDetail(db(), {"2030-01-01", "2030-01-31"}).total, Payment{});
        const Settlement st = memberSettlement(db(), {"2030-01", "2030-12"});
        QVERIFY(st.groups.isEmpty());
        QCOMPARE(st.total.enrollAmt, qint64(0));
    }

    void settlementPerProgram()
    {
        db().exec("DELETE FROM Course WHERE PsGroup = 'P' AND Code <> '1'");
        db().exec("INSERT INTO Course (PsGroup, Code, Name) VALUES ('P', '2', '헬스')");
        const auto program = [&](const QString &name, const QString &course, const QString &kind = QStringLiteral("1")) {
            return db().insertId("INSERT INTO Program (PgGubun, Course, PgName) VALUES (?, ?, ?)", {kind, course, name},
                                 "Pgid");
        };
        const qint64 swim = program(QStringLiteral("수영 초급"), "1");
        const qint64 gym = program(QStringLiteral("헬스 종일"), "2");
        const qint64 box = program(QStringLiteral("사물함 박스"), "2", "3");
        const auto row = [&](const QString &lt, qint64 pgid, qint64 cash, qint64 card, const QString &lect,
                             const QString &date, int months = 1, const QString &pgGubun = QStringLiteral("1")) {
            const qint64 id = addMoney(db(), {lt, pgGubun, cash, card, 0, date, {}, lect, "0001", months, pgid});
            db().exec("UPDATE Lecture SET Course = (SELECT Course FROM Program WHERE Pgid = ?) WHERE Ltid = ?", {pgid, id});
        };
        row("1", swim, 60000, 0, "1", "2024-05-02");
        row("1", swim, 0, 170000, "2", "2024-05-03", 3);
        row("1", swim, 0, 0, "1", "2024-05-04"); // nothing due: not counted as new
        row("2", swim, 5000, 10000, "1", "2024-05-05");
        row("4", swim, 20000, 0, "1", "2024-05-06");
        row("0", swim, 0, 0, "1", "2024-05-07");
        row("1", gym, 50000, 0, "2", "2024-05-08");
        row("1", box, 9000, 0, "1", "2024-05-08", 1, "3");
        row("1", gym, 50000, 0, "1", "2024-06-01");

        const Settlement s = memberSettlement(db(), {"2024-05", "2024-05"});
        QCOMPARE(s.groups.size(), 2);
        QCOMPARE(s.groups[0].courseName, QStringLiteral("수영"));
        const SettlementLine &l = s.groups[0].lines[0];
        QCOMPARE(l.pgName, QStringLiteral("수영 초급"));
        QCOMPARE(l.newCount, qint64(1));
        QCOMPARE(l.renewCount, qint64(1));
        QCOMPARE(l.enrollCount, qint64(2));
        QCOMPARE(l.enrollAmt, qint64(230000));
        QCOMPARE(l.cashCount, qint64(1));
        QCOMPARE(l.cashAmt, qint64(60000));
        QCOMPARE(l.cardAmt, qint64(170000));
        QCOMPARE(l.changeCount, qint64(1));
        QCOMPARE(l.changeAmt, qint64(15000));
        QCOMPARE(l.refundCount, qint64(1));
        QCOMPARE(l.refundAmt, qint64(20000));
        QCOMPARE(l.transferCount, qint64(1));
        QCOMPARE(s.groups[1].lines.size(), 1); // the box program is not listed
        QCOMPARE(s.total.enrollAmt, qint64(280000));
        QCOMPARE(s.groups[0].subtotal.enrollAmt + s.groups[1].subtotal.enrollAmt, s.total.enrollAmt);

        const Settlement range = memberSettlement(db(), {"2024-05", "2024-06", true});
        QCOMPARE(range.total.enrollAmt, qint64(330000));
        QCOMPARE(range.groups[0].lines.size(), 2); // 1 month and 3 months
        QCOMPARE(range.groups[0].lines[1].monthCnt, qint64(3));
    }

private:
    TestInstall m_inst;
};

QTEST_GUILESS_MAIN(TstTakingsReports)
#include "tst_takingsreports.moc"
