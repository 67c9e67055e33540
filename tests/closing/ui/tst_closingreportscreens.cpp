// FITROVA_DB_TEST
// The takings and enrollment report screens driven offscreen: each menu item
// opens its screen, the grids carry their total rows as the core sums them,
// the print headings repeat the criteria, the enrollment status switches its
// lists by tab, and the valid members are handed to SMS.

#include "uitest.h"
#include <QtTest>

#include "../../members/memberbuilders.h"
#include "closing/ui/classlistreport.h"
#include "closing/ui/closingreportscreens.h"
#include "closing/ui/dailyvalidreport.h"
#include "closing/ui/enrollmentstatusreport.h"
#include "closing/ui/incomereport.h"
#include "closing/ui/monthlysalesreport.h"
#include "closing/ui/settlementreport.h"
#include "closing/ui/unpaidreport.h"
#include "closing/ui/validmembersreport.h"
#include "messaging/smsrecipients.h"
#include "messaging/ui/smsscreens.h"
#include "testinstall.h"
#include "data/text.h"
#include "widgets/datagrid.h"
#include "widgets/gridstream.h"
#include "widgets/dateedit.h"
#include "widgets/screenregistry.h"

#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabBar>

using namespace fitrova;
using namespace fitrova::test;

namespace {

qint64 money(const QString &grid) { return grid.isEmpty() ? 0 : QString(grid).remove(QLatin1Char(',')).toLongLong(); }

} // namespace

class TstClosingReportScreens : public QObject {
    Q_OBJECT

    const Db &db() { return m_inst.db(); }

private slots:
    void initTestCase()
    {
        m_inst.clock().set(QDateTime(QDate(2024, 5, 20), QTime(10, 0)));
        db().exec("UPDATE Course SET Name = '수영' WHERE PsGroup = 'P' AND Code = '1'");
        addMember(db(), "00000001", QStringLiteral("김수영"), {}, "010-1111-0001");
        addMember(db(), "00000002", QStringLiteral("이헬스"), {}, "010-1111-0002");
        db().exec("UPDATE Member SET Juno1 = '800408', Juno2 = '2123456', MisuAmt = 20000 WHERE MbCode = '00000001'");
        m_pgid = db().insertId("INSERT INTO Program (PgGubun, Course, Sclass, PgCode, PgName, Time1, Time2, LtCode, "
                               "LTName, PgUse) VALUES ('1', '1', '01', '1000001', '수영 초급', '07:00', '07:50', '0001', "
                               "'박강사', '1')",
                               {}, "Pgid");
        const auto enroll = [&](const QString &mb, const QString &lt, qint64 tAmt, qint64 cash, qint64 card,
                                const QString &rq, const QString &lect) {
            Lect l;
            l.mbCode = mb;
            l.ltGubun = lt;
            l.pgid = m_pgid;
            l.tAmt = tAmt;
            l.cashAmt = cash;
            l.cardAmt = card;
            l.rqDate = rq;
            l.sDate1 = l.dDate1 = "2024-05-01";
            l.sDate2 = l.dDate2 = "2024-05-31";
            l.ltyymm = "2024-05";
            l.monthCnt = 1;
            const qint64 id = addLecture(db(), l);
            db().exec("UPDATE Lecture SET Lectgubun = ?, LastUser = '0001', Sclass = '01' WHERE Ltid = ?", {lect, id});
            return id;
        };
        enroll("00000001", "1", 80000, 60000, 0, "2024-05-02", "1");   // 20,000 unpaid
        enroll("00000002", "1", 60000, 0, 60000, "2024-05-03", "2");
        enroll("00000002", "4", 15000, 15000, 0, "2024-05-04", "1");
        db().exec("INSERT INTO Sale (SlNo, SEQ, ItId, Course, SlDate, LastUser, MbCode, Slqty, SlAmt, CashAmt, CardAmt, "
                  "CardChk) VALUES ('0001', 1, 0, '1', '2024-05-02', '0001', '00000000', 1, 12345, 12345, 0, '1')");
    }

    void init() { m_msg.clear(); }

    void everyMenuItemOpensItsScreen()
    {
        ScreenRegistry r;
        registerClosingReportScreens(r);
        for (const char *name : {"Menu25", "Menu41", "Menu42", "Menu51", "Menu52", "Menu55", "Menu63", "Menu65"}) {
            const ScreenEntry *e = r.find(QString::fromUtf8(name));
            QVERIFY2(e, name);
            std::unique_ptr<QWidget> w(e->factory(m_ui, nullptr, {}));
            auto *report = qobject_cast<ReportScreen *>(w.get());
            QVERIFY(report);
            QVERIFY(report->waitForQuery());
        }
    }

    // In hundreds of won; the 합계 row adds up the days as shown.
    void monthlySummary()
    {
        MonthlySalesReport s(m_ui);
        child<QRadioButton>(&s, "Opt판매일")->setChecked(true);
        QVERIFY(s.query());
        QVERIFY(s.waitForQuery());
        QCOMPARE(s.grid()->rowCount(), 32);
        QCOMPARE(s.grid()->cell(1, 2), QString("600"));  // course cash on the 2nd
        QCOMPARE(s.grid()->cell(1, 8), QString("123"));  // goods (12,345 won)
        QCOMPARE(s.grid()->cell(3, 2), QString("-150")); // the refund on the 4th
        const int totalCol = s.grid()->columnCount() - 1;
        qint64 sum = 0;
        for (int r = 0; r < 31; ++r)
            sum += money(s.grid()->cell(r, totalCol));
        QCOMPARE(money(s.grid()->cell(31, totalCol)), sum);
        QCOMPARE(sum, qint64(600 + 600 - 150 + 123));
        s.preparePrint();
        QVERIFY(s.grid()->printSettings().header.contains(QStringLiteral("판매일 기준 (단위 : 백원)")));
        shoot(s, "월매출집계표");
    }

    void incomeSummedAndItemised()
    {
        IncomeReport s(m_ui);
        child<DateEdit>(&s, "Dtp1")->setDateText("2024-05-01");
        QVERIFY(s.query());
        QVERIFY(s.waitForQuery());
        const int last = s.grid()->rowCount() - 1;
        QCOMPARE(s.grid()->cell(last, 0), QStringLiteral("[수 입 총 계]"));
        QCOMPARE(s.grid()->cell(last, 6), QStringLiteral("117,345"));
        QCOMPARE(s.grid()->cell(2, 0), QStringLiteral("[강좌 수입계]"));
        shoot(s, "강좌수입현황");
        child<QRadioButton>(&s, "Opt내역")->setChecked(true);
        QVERIFY(s.query());
        QVERIFY(s.waitForQuery());
        QCOMPARE(s.grid()->cell(s.grid()->rowCount() - 1, 10), QStringLiteral("117,345"));
        QCOMPARE(s.grid()->cell(2, 0), QStringLiteral("환불"));
        QCOMPARE(s.grid()->cell(2, 10), QStringLiteral("-15,000"));
        s.preparePrint();
        const QString header = s.grid()->printSettings().header;
        QVERIFY(header.contains(QStringLiteral("매출일보(내역별)")));
        QVERIFY(header.contains(QStringLiteral("( 2024-05-01 ~ 2024-05-20 )")));
        QVERIFY(header.contains(QStringLiteral("담당자 : 모두보기")));
    }

    void enrollmentStatusTabs()
    {
        EnrollmentStatusReport s(m_ui);
        QVERIFY(s.query());
        QVERIFY(s.waitForQuery());
        QCOMPARE(s.grid()->rowCount(), 2 + 3);
        QCOMPARE(s.grid()->cell(0, 9), QString("800408-2******"));
        QCOMPARE(s.grid()->cell(2, 0), QStringLiteral("[합    계]"));
        QCOMPARE(s.grid()->cell(2, 1), QStringLiteral("2 건"));
        QCOMPARE(s.grid()->cell(3, 0), QStringLiteral("[신    규]"));
        QCOMPARE(s.grid()->cell(4, 1), QStringLiteral("1 건"));
        shoot(s, "수강신청현황");
        child<QTabBar>(&s, "SSTab")->setCurrentIndex(3);
        QVERIFY(s.waitForQuery());
        QCOMPARE(s.grid()->headerText(1), QStringLiteral("환불일"));
        QCOMPARE(s.grid()->rowCount(), 2);
        s.preparePrint();
        QVERIFY(s.grid()->printSettings().header.contains(QStringLiteral("수강취소현황 (2024-05)")));
    }

    // The members go to the SMS screen by name, with their end dates under
    // the heading 만기일.
    void validMembersHandedToSms()
    {
        struct Host : ScreenHost {
            QString name;
            ScreenArgs args;
            QWidget *openScreen(const QString &n, const ScreenArgs &a) override
            {
                name = n;
                args = a;
                return nullptr;
            }
        } host;
        UiContext ui{m_inst.ctx(), m_msg, &host};
        ValidMembersReport s(ui, nullptr, smsMemberHandover());
        QVERIFY(s.query());
        QVERIFY(s.waitForQuery());
        QCOMPARE(s.grid()->rowCount(), 4); // two lines, the program's subtotal, the total
        QCOMPARE(s.grid()->cell(2, 0), QStringLiteral("[소  계]"));
        QCOMPARE(s.grid()->cell(3, 13), QStringLiteral("140,000"));
        QCOMPARE(s.grid()->cell(0, 14), QStringLiteral("11 일"));
        click(&s, "Cmd문자전송");
        QCOMPARE(host.name, QStringLiteral("SMS"));
        const SmsHandover handed = smsHandoverOf(host.args);
        QCOMPARE(handed.caller, QStringLiteral("유효회원현황"));
        QCOMPARE(handed.dateHeading, QStringLiteral("만기일"));
        QCOMPARE(handed.members.size(), 2);
        QCOMPARE(handed.members[0].tel1, QString("010-1111-0001"));
        QCOMPARE(handed.members[0].listDate, QString("2024-05-31"));
        ValidMembersReport noTaker(m_ui);
        click(&noTaker, "Cmd문자전송");
        QCOMPARE(m_msg.last().text, QStringLiteral("준비중인 기능입니다"));
        shoot(s, "유효회원현황");
    }

    void otherLists()
    {
        ClassListReport classes(m_ui);
        QVERIFY(classes.query());
        QVERIFY(classes.waitForQuery());
        QCOMPARE(classes.grid()->cell(0, 0), QStringLiteral("수영 초급"));
        QCOMPARE(classes.grid()->cell(classes.grid()->rowCount() - 1, 1), QStringLiteral("2 명"));

        SettlementReport settlement(m_ui);
        QVERIFY(settlement.query());
        QVERIFY(settlement.waitForQuery());
        QCOMPARE(settlement.grid()->rowCount(), 3);
        QCOMPARE(settlement.grid()->cell(2, 0), QStringLiteral("[ 합 계 ]"));
        QCOMPARE(settlement.grid()->cell(2, 5), QStringLiteral("140,000"));
        shoot(settlement, "회원결산현황");

        DailyValidReport daily(m_ui);
        QVERIFY(daily.query());
        QVERIFY(daily.waitForQuery());
        QCOMPARE(daily.grid()->cell(0, 1), QString("2"));
        QCOMPARE(daily.grid()->cell(daily.grid()->rowCount() - 1, 0), QStringLiteral("[합계]"));
        shoot(daily, "일일유효회원현황");

        UnpaidReport unpaid(m_ui);
        QVERIFY(unpaid.waitForQuery());
        QCOMPARE(unpaid.grid()->objectName(), QStringLiteral("SpMisu"));
        QCOMPARE(unpaid.grid()->rowCount(), 2);
        QCOMPARE(unpaid.grid()->cell(0, 7), QStringLiteral("20,000"));
    }

    // March holds more lines than a page: each list shows its count and first
    // page at once, reads on as it scrolls, and after its last line come its
    // subtotal and total rows, sums of the lines listed.
    void longListsStreamWithTheirTotalsLast()
    {
        const int lines = 450;
        const qint64 second = db().insertId("INSERT INTO Program (PgGubun, Course, Sclass, PgCode, PgName, Time1, Time2, "
                                            "LtCode, LTName, PgUse) VALUES ('1', '1', '01', '1000002', '수영 중급', "
                                            "'08:00', '08:50', '0001', '박강사', '1')",
                                            {}, "Pgid");
        db().transaction([&] {
            for (int i = 0; i < lines; ++i) {
                Lect l;
                l.mbCode = i % 2 ? "00000001" : "00000002";
                l.pgid = i % 3 ? m_pgid : second;
                l.cashAmt = 1000 * (i % 7);
                l.cardAmt = 500 * (i % 5);
                l.tAmt = l.cashAmt + l.cardAmt;
                l.rqDate = QStringLiteral("2024-03-%1").arg(1 + i % 4, 2, 10, QLatin1Char('0'));
                l.sDate1 = l.dDate1 = "2024-03-01";
                l.sDate2 = l.dDate2 = "2024-03-31";
                l.ltyymm = "2024-03";
                l.monthCnt = 1;
                const qint64 id = addLecture(db(), l);
                db().exec("UPDATE Lecture SET Lectgubun = ?, LastUser = '0001' WHERE Ltid = ?", {i % 4 ? "1" : "2", id});
            }
        });
        // Sums of the lines of a column down to a row, from the row after the last total row above.
        const auto linesAbove = [](DataGrid *g, int row, int col) {
            qint64 sum = 0;
            for (int r = row - 1; r >= 0 && !g->isTotalRow(r); --r)
                sum += money(g->cell(r, col));
            return sum;
        };

        EnrollmentStatusReport status(m_ui);
        child<MonthEdit>(&status, "CobYYMM")->setMonthText("2024-03");
        QVERIFY(status.query());
        QVERIFY(status.waitForQuery());
        QCOMPARE(status.count(), qint64(lines));
        QCOMPARE(status.statusText(), QStringLiteral("450 건"));
        QCOMPARE(status.grid()->rowCount(), kGridPageRows);
        QVERIFY(!status.grid()->isTotalRow(kGridPageRows - 1));
        status.readAllLines();
        QCOMPARE(status.grid()->rowCount(), lines + 3);
        QCOMPARE(status.grid()->cell(lines, 0), QStringLiteral("[합    계]"));
        QCOMPARE(status.grid()->cell(lines, 1), QStringLiteral("450 건"));
        QCOMPARE(money(status.grid()->cell(lines, 13)), linesAbove(status.grid(), lines, 13));
        QCOMPARE(status.grid()->cell(lines + 2, 1), QStringLiteral("113 건")); // every fourth a renewal
        for (int r = 0; r < lines; ++r)
            QVERIFY(!status.grid()->isTotalRow(r));

        ValidMembersReport valid(m_ui);
        child<DateEdit>(&valid, "Dtp1")->setDateText("2024-03-15");
        QVERIFY(valid.query());
        QVERIFY(valid.waitForQuery());
        QCOMPARE(valid.count(), qint64(lines));
        QCOMPARE(valid.grid()->rowCount(), kGridPageRows);
        valid.readAllLines();
        DataGrid *g = valid.grid();
        QCOMPARE(g->rowCount(), lines + 2 + 1); // two programs' subtotals, the total
        qint64 subtotals = 0;
        for (int r = 0; r < g->rowCount() - 1; ++r)
            if (g->isTotalRow(r)) {
                QCOMPARE(g->cell(r, 0), QStringLiteral("[소  계]"));
                QCOMPARE(money(g->cell(r, 13)), linesAbove(g, r, 13));
                subtotals += money(g->cell(r, 13));
            }
        const int total = g->rowCount() - 1;
        QCOMPARE(g->cell(total, 0), QStringLiteral("[총  계]"));
        QCOMPARE(g->cell(total, 3), QStringLiteral("450 명"));
        QCOMPARE(money(g->cell(total, 13)), subtotals);
        g->scrollTo(g->model()->index(lines / 3 * 2, 0));
        shoot(valid, "유효회원현황-스트림");

        IncomeReport income(m_ui);
        child<DateEdit>(&income, "Dtp1")->setDateText("2024-03-01");
        child<DateEdit>(&income, "Dtp2")->setDateText("2024-03-31");
        child<QRadioButton>(&income, "Opt내역")->setChecked(true);
        QVERIFY(income.query());
        QVERIFY(income.waitForQuery());
        QCOMPARE(income.grid()->rowCount(), kGridPageRows);
        const qint64 shown = income.totals().total.sum();
        QCOMPARE(income.statusText(), QStringLiteral("수입총계 ") + wonText(shown) + QStringLiteral(" 원"));
        income.readAllLines();
        g = income.grid();
        QCOMPARE(g->rowCount(), lines + 3 + 1); // the lines, three section sums (goods and lockers empty), the total
        QCOMPARE(g->cell(lines, 0), QStringLiteral("[강좌 수입계]"));
        QCOMPARE(money(g->cell(lines, 10)), linesAbove(g, lines, 10));
        QCOMPARE(g->cell(lines + 1, 0), QStringLiteral("[상품 수입계]"));
        QCOMPARE(g->cell(lines + 2, 0), QStringLiteral("[사물함 수입계]"));
        QCOMPARE(g->cell(lines + 3, 0), QStringLiteral("[수 입 총 계]"));
        QCOMPARE(money(g->cell(lines + 3, 10)), shown);
        QCOMPARE(shown, linesAbove(g, lines, 10));
        g->scrollToBottom();
        shoot(income, "매출일보(내역별)");

        db().exec("DELETE FROM Lecture WHERE LTyymm = '2024-03'");
        db().exec("DELETE FROM Program WHERE Pgid = ?", {second});
    }

private:
    TestInstall m_inst;
    ScriptedMessages m_msg;
    UiContext m_ui{m_inst.ctx(), m_msg};
    qint64 m_pgid = 0;
};

QTEST_MAIN(TstClosingReportScreens)
#include "tst_closingreportscreens.moc"
