// FITROVA_DB_TEST
// The takings screens driven offscreen over one day at the counter: the
// shift counted blind (nothing recorded shows before the count), closed 1,000
// won short with its reason; the day closed from the closing screen; the
// sales of the closing, the detailed takings with their corrections and
// deletion, the sales status, the card takings, the graph and the sales
// inquiry all agreeing with it to the won; deletion without the right
// refused.

#include "uitest.h"
#include <QtTest>

#include "../takingsbuilders.h"
#include "closing/closing.h"
#include "closing/ui/closingscreen.h"
#include "closing/ui/closingscreens.h"
#include "closing/ui/shiftclosedialog.h"
#include "sales/ui/salesreportscard.h"
#include "sales/ui/salesreportscardpick.h"
#include "sales/ui/salesreportsdetail.h"
#include "sales/ui/salesreportsgraph.h"
#include "sales/ui/salesreportsinquiry.h"
#include "sales/ui/salesreportsstatus.h"
#include "scriptedmessages.h"
#include "testinstall.h"
#include "widgets/datagrid.h"
#include "widgets/dateedit.h"
#include "widgets/moneyedit.h"
#include "widgets/screenregistry.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>

using namespace fitrova;
using namespace fitrova::test;

namespace {

qint64 money(const QString &cell) { return QString(cell).remove(QLatin1Char(',')).toLongLong(); }

int totalRow(const DataGrid *g)
{
    for (int r = g->rowCount() - 1; r >= 0; --r)
        if (g->isTotalRow(r))
            return r;
    return -1;
}

const QString kMe = QStringLiteral("0001"); // the logged-in administrator
const QString kDay = QStringLiteral("2024-05-10");

} // namespace

class TstTakingsScreens : public QObject {
    Q_OBJECT

    const Db &db() { return m_inst.db(); }

private slots:
    void initTestCase()
    {
        m_inst.clock().set(QDateTime(QDate(2024, 5, 10), QTime(12, 0)));
        db().exec("INSERT INTO Card (Code, Name) VALUES ('1', '비씨'), ('2', '국민')");
        db().exec("INSERT INTO Course (PsGroup, Code, Name) VALUES ('S', 'A', '매점')");
        // The morning: two cash vouchers and a card one by the logged-in
        // clerk, 50,000 won in all.
        addVoucher(db(), VoucherSpec(kDay, "08:10:00", kMe, "0001", {Line{0, 2, 10000}}));
        addVoucher(db(), VoucherSpec(kDay, "09:20:00", kMe, "0002", {Line{0, 1, 7000}, Line{0, 1, 3000}}));
        addSimpleVoucher(db(), kDay, "10:30:00", kMe, "0003", 20000, true, "2");
    }

    void init() { m_msg.clear(); }

    // The count comes first: what was recorded shows only after it.
    void shiftCountedBlind()
    {
        ShiftCloseDialog d(m_ui, 0, std::nullopt);
        shoot(d, QStringLiteral("shift-count"));
        auto *recorded = child<DataGrid>(&d, "Sp매출내역");
        QVERIFY(!recorded->isVisibleTo(&d));
        QVERIFY(!child<QPushButton>(&d, "Cmd마감")->isEnabled());

        // 29,000 won in the drawer against 30,000 taken in cash; the card
        // slips make 20,000.
        child<MoneyEdit>(&d, "TxtBefAmt")->setAmount(0);
        child<MoneyEdit>(&d, "Txt매수10000")->setText("2");
        child<MoneyEdit>(&d, "Txt매수5000")->setText("1");
        child<MoneyEdit>(&d, "Txt매수1000")->setText("4");
        QCOMPARE(child<QLabel>(&d, "Pnl현금시재")->text(), QStringLiteral("29,000"));
        child<MoneyEdit>(&d, "TxtCardAmt")->setAmount(20000);
        QVERIFY(d.confirmCount());
        shoot(d, QStringLiteral("shift-figures"));
        QVERIFY(recorded->isVisibleTo(&d));
        QCOMPARE(recorded->cell(totalRow(recorded), 2), QStringLiteral("30,000"));
        QCOMPARE(recorded->cell(totalRow(recorded), 3), QStringLiteral("20,000"));
        QCOMPARE(child<QLabel>(&d, "Pnl오차현금")->text(), QStringLiteral("-1,000"));
        QCOMPARE(child<QLabel>(&d, "Pnl오차카드")->text(), QStringLiteral("0"));

        // A difference needs its reason.
        child<MoneyEdit>(&d, "TxtFloatLeft")->setAmount(0);
        QVERIFY(!d.closeShift());
        QCOMPARE(m_msg.shown().size(), 1);
        QCOMPARE(d.mode(), ShiftCloseDialog::Mode::Count);
        child<QLineEdit>(&d, "Txt사유")->setText(QStringLiteral("거스름돈 착오"));
        m_msg.clear();
        m_msg.answer(false); // no slip
        QVERIFY(d.closeShift());
        QVERIFY(d.TF);
        QCOMPARE(d.mode(), ShiftCloseDialog::Mode::Closed);
        const auto f = db().queryOne("SELECT FnChk, FnCnt, CashAmt1, CardAmt1, CashAmt2, CashAmt3, TotAmt4, Remark "
                                     "FROM Finish WHERE PsCode = ? AND FnCnt <> '0'",
                                     {kMe});
        QVERIFY(f);
        QCOMPARE(f->str("FnChk"), QStringLiteral("1"));
        QCOMPARE(f->str("FnCnt").trimmed(), QStringLiteral("1"));
        QCOMPARE(f->num("CashAmt1"), 30000);
        QCOMPARE(f->num("CardAmt1"), 20000);
        QCOMPARE(f->num("CashAmt2"), 29000);
        QCOMPARE(f->num("CashAmt3"), -1000);
        QCOMPARE(f->num("TotAmt4"), 49000);
        QCOMPARE(f->str("Remark"), QStringLiteral("거스름돈 착오"));
    }

    void closingScreenClosesTheDay()
    {
        ClosingScreen s(m_ui);
        QCOMPARE(s.saleWindow(false)->from(), kDay + "06:00:00");
        m_msg.answer(true);
        s.closeDay();
        QCOMPARE(m_msg.shown().first().text,
                 QStringLiteral("2024-05-10일 06:00:00시 부터\n2024-05-11일 06:00:00시 까지의\n"
                                "판매자료를 2024-05-10 일자로 마감처리 하시겠읍니까? "));
        const DataGrid *daily = s.dailyGrid();
        QCOMPARE(daily->rowCount(), 2); // the day and the total
        QCOMPARE(daily->cell(0, 0), kDay);
        QCOMPARE(money(daily->cell(0, 10)), 50000); // recorded
        QCOMPARE(money(daily->cell(0, 13)), 49000); // received
        QCOMPARE(money(daily->cell(0, 16)), -1000); // difference
        shoot(s, QStringLiteral("closing-daily"));

        s.findChild<QTabWidget *>("Tab마감")->setCurrentIndex(1);
        QCOMPARE(s.shiftGrid()->rowCount(), 2);
        QCOMPARE(s.shiftGrid()->cell(0, 19), QStringLiteral("거스름돈 착오"));
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM Sale WHERE SlfDate = ?", {kDay}).toInt(), 4);
    }

    // 매출조회 hands the closing to the detailed takings, which list what it
    // counted.
    void salesOfTheClosing()
    {
        const auto day = db().queryOne("SELECT Fnid, sDate1, Time1, sDate2, Time2 FROM Finish WHERE FnCnt = '0'");
        QVERIFY(day);
        DetailedTakingsReport r(m_ui);
        r.applyScreenArgs({{"uGubun", QStringLiteral("일일마감")}, {"uUserCode", QString()}, {"uFdate", kDay},
                           {"uSdate1", day->str("sDate1")}, {"uTime1", day->str("Time1")},
                           {"uSdate2", day->str("sDate2")}, {"uTime2", day->str("Time2")}});
        QVERIFY(r.waitForQuery());
        shoot(r, QStringLiteral("detailed-takings"));
        QCOMPARE(r.lines().size(), 4);
        const DataGrid *g = r.grid();
        const int t = totalRow(g);
        QCOMPARE(money(g->cell(t, DetailedTakingsReport::ColCash)), 30000);
        QCOMPARE(money(g->cell(t, DetailedTakingsReport::ColCard)), 20000);

        // Lines of the closed shift are neither corrected nor deleted.
        r.askCardCompany = [] { return QStringLiteral("1"); };
        QVERIFY(!r.correctCardCompany(0));
        QCOMPARE(m_msg.shown().last().text, QStringLiteral("교대마감된 자료는 수정할수 없읍니다"));
        m_msg.answer(true);
        QVERIFY(!r.deleteLine(0));
        QCOMPARE(r.lines().size(), 4);
    }

    // An afternoon voucher of the open shift: its payment corrected, its card
    // company changed, a line deleted; without the delete right nothing goes.
    void correctionsOfAnOpenVoucher()
    {
        addVoucher(db(), VoucherSpec(kDay, "13:00:00", kMe, "0004", {Line{0, 1, 6000}, Line{0, 1, 4000}}));
        DetailedTakingsReport r(m_ui);
        r.findChild<QLineEdit *>("TxtTime1")->setText("13:00");
        QVERIFY(r.query());
        QVERIFY(r.waitForQuery());
        QCOMPARE(r.lines().size(), 2);
        r.askPayment = [](qint64 &cash, qint64 &card) {
            cash = 3000;
            card = 7000;
            return true;
        };
        m_msg.answer(true);
        QVERIFY(r.correctPayment(1)); // the second line corrects the voucher's payment line
        QVERIFY(r.waitForQuery());
        QCOMPARE(db().scalar("SELECT CardChk FROM Sale WHERE SlNo = '0004' AND SEQ = 2").toString(), QStringLiteral("3"));
        r.askCardCompany = [] { return QStringLiteral("1"); };
        QVERIFY(r.correctCardCompany(0));
        QVERIFY(r.waitForQuery());
        QCOMPARE(db().scalar("SELECT CardGubun FROM Sale WHERE SlNo = '0004' AND SEQ = 1").toString(), QStringLiteral("1"));

        m_inst.ctx().user.grCode = QStringLiteral("2");
        QVERIFY(!r.deleteLine(1));
        QCOMPARE(m_msg.shown().last().text, QStringLiteral("삭제권한이 없읍니다"));
        m_inst.ctx().user.grCode = QStringLiteral("1");
        m_msg.answer(true);
        const qint64 deleted = r.lines().at(1).amount;
        QVERIFY(r.deleteLine(1));
        QVERIFY(r.waitForQuery());
        QCOMPARE(r.lines().size(), 1);
        // The voucher stays whole: its payment is what its lines sell.
        m_afternoon = 10000 - deleted;
        QCOMPARE(db().scalar("SELECT SUM(CashAmt) + SUM(CardAmt) FROM Sale WHERE SlNo = '0004'").toLongLong(), m_afternoon);
        QCOMPARE(db().scalar("SELECT SUM(SlAmt) FROM Sale WHERE SlNo = '0004'").toLongLong(), m_afternoon);
    }

    void closingDeletionNeedsTheRight()
    {
        ClosingScreen s(m_ui);
        s.query();
        QCOMPARE(s.dailyGrid()->rowCount(), 2);
        m_inst.ctx().user.grCode = QStringLiteral("2");
        s.deleteRow(s.dailyGrid(), 0);
        m_inst.ctx().user.grCode = QStringLiteral("1");
        QCOMPARE(m_msg.shown().last().text, QStringLiteral("삭제권한이 없읍니다"));
        QCOMPARE(m_msg.shown().last().title, QStringLiteral("마감자료삭제"));
        QCOMPARE(s.dailyGrid()->rowCount(), 2);
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM Sale WHERE SlfDate = ?", {kDay}).toInt(), 4);
    }

    void salesStatusThreeWays()
    {
        SalesStatusReport s(m_ui);
        QVERIFY(s.waitForQuery());
        QVERIFY(s.query());
        QVERIFY(s.waitForQuery());
        // 50,000 in the morning, 6,000 in the afternoon.
        const auto totalOf = [&](int col) { return money(s.grid()->cell(totalRow(s.grid()), col)); };
        QCOMPARE(totalOf(11), 50000 + m_afternoon);
        s.setView(SalesStatusReport::View::Items);
        QVERIFY(s.query());
        QVERIFY(s.waitForQuery());
        QCOMPARE(totalOf(10), 50000 + m_afternoon);
        s.setView(SalesStatusReport::View::Days);
        QVERIFY(s.query());
        QVERIFY(s.waitForQuery());
        QCOMPARE(totalOf(5), 50000 + m_afternoon);
        QCOMPARE(totalOf(1), 4);
        shoot(s, QStringLiteral("sales-status"));
    }

    void cardTakingsOfTheMonth()
    {
        CardTakingsReport r(m_ui);
        r.findChild<QSpinBox *>("TxtYear")->setValue(2024);
        r.findChild<QComboBox *>("CobMonth")->setCurrentIndex(4);
        QVERIFY(r.query());
        QVERIFY(r.waitForQuery());
        shoot(r, QStringLiteral("card-takings"));
        const DataGrid *g = r.grid();
        QCOMPARE(g->headerText(1), QStringLiteral("비씨"));
        QCOMPARE(g->headerText(2), QStringLiteral("국민"));
        const int day = g->findRow(0, kDay);
        // The afternoon's corrected card payment under its new company, the
        // morning's card voucher under its own.
        const qint64 afternoonCard = db().scalar("SELECT CardAmt FROM Sale WHERE SlNo = '0004' AND SEQ = 1").toLongLong();
        QVERIFY(afternoonCard > 0);
        QCOMPARE(money(g->cell(day, 1)), afternoonCard);
        QCOMPARE(money(g->cell(day, 2)), 20000);
        QCOMPARE(money(g->cell(totalRow(g), g->columnCount() - 1)), 20000 + afternoonCard);
    }

    void graphOfTheMonth()
    {
        SalesGraphReport r(m_ui);
        r.findChild<QComboBox *>("Cob자료")->setCurrentIndex(1);
        r.findChild<QSpinBox *>("TxtYear")->setValue(2024);
        r.findChild<QComboBox *>("CobMonth")->setCurrentIndex(4);
        QVERIFY(r.query());
        QVERIFY(r.waitForQuery());
        for (int style = 0; style < 5; ++style) {
            r.findChild<QComboBox *>("CobStyle")->setCurrentIndex(style);
            QVERIFY(!r.chartView()->chart()->series().isEmpty());
        }
        shoot(r, QStringLiteral("sales-graph"));
        const DataGrid *g = r.grid();
        QCOMPARE(money(g->cell(9, g->columnCount() - 1)), 50000 + m_afternoon);
        QCOMPARE(money(g->cell(totalRow(g), g->columnCount() - 1)), 50000 + m_afternoon);
    }

    void inquiryPicksAndFlags()
    {
        SalesInquiryDialog d(m_ui, {{"UserCode", kMe}, {"Course", QStringLiteral("0")}, {"sDate", kDay}});
        shoot(d, QStringLiteral("sales-inquiry"));
        QVERIFY(d.findChild<QComboBox *>("CobUser")->currentText().startsWith(kMe + "-"));
        QCOMPARE(d.vouchers().size(), 4);
        QCOMPARE(d.vouchers().first().slNo, QStringLiteral("0004")); // the latest first
        const DataGrid *g = d.grid();
        const int second = g->findRow(SalesInquiryDialog::ColNumber, kMe + "-0002");
        QCOMPARE(money(g->cell(second, SalesInquiryDialog::ColCash)), 10000);
        QCOMPARE(g->cell(second + 1, 1).isEmpty(), false); // its lines follow

        QVERIFY(d.setReceipt(second, true));
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM Sale WHERE SlNo = '0002' AND CashChk = '1'").toInt(), 2);
        QVERIFY(d.setReceipt(g->findRow(SalesInquiryDialog::ColNumber, kMe + "-0002"), false));
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM Sale WHERE SlNo = '0002' AND CashChk = '1'").toInt(), 0);

        QVERIFY(d.pick(g->findRow(SalesInquiryDialog::ColNumber, kMe + "-0003") + 0));
        QCOMPARE(d.SlNo, QStringLiteral("0003"));
        QCOMPARE(d.SlDate, kDay);
        QCOMPARE(d.SlUser, kMe);
    }

    void cardCompanyPickList()
    {
        CardCompanyPick p(m_ui);
        QCOMPARE(p.grid()->rowCount(), 2);
        QVERIFY(p.pick(1));
        QCOMPARE(p.code, QStringLiteral("2"));
    }

    void everyNameOpensItsScreen()
    {
        ScreenRegistry r;
        registerClosingScreens(r);
        for (const char *name : {"일일마감", "상품판매현황", "상품판매현황1", "Menu53", "Menu54", "Menu62", "카드사조회",
                                 "상품판매조회", "교대마감입력"}) {
            const ScreenEntry *e = r.find(QString::fromUtf8(name));
            QVERIFY2(e, name);
            std::unique_ptr<QWidget> w(e->factory(m_ui, nullptr, {}));
            QVERIFY2(w, name);
            if (auto *report = qobject_cast<ReportScreen *>(w.get()))
                QVERIFY(report->waitForQuery());
        }
    }

private:
    TestInstall m_inst;
    ScriptedMessages m_msg;
    UiContext m_ui{m_inst.ctx(), m_msg};
    qint64 m_afternoon = 0;
};

QTEST_MAIN(TstTakingsScreens)
#include "tst_takingsscreens.moc"
