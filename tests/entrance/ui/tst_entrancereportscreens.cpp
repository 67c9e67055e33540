// FITROVA_DB_TEST
// The entrance report screens driven offscreen: the query off the screen's
// thread, the grid with its total line, the print heading, the spreadsheet,
// the member search of the visit list, the chart in every style with its
// picture and page, the attendance sheet's manual attendance and hand-over,
// and one member's visits with the calendar and a deletion.

#include "uitest.h"
#include <QtTest>

#include "../gatebuilders.h"
#include "entrance/ui/attendancereport.h"
#include "entrance/ui/dailyvisitorsreport.h"
#include "entrance/ui/entrancereportscreens.h"
#include "entrance/ui/membervisitreport.h"
#include "entrance/ui/visitchartreport.h"
#include "entrance/ui/visitcountreport.h"
#include "entrance/ui/visitlistreport.h"
#include "testinstall.h"
#include "widgets/datagrid.h"
#include "widgets/gridstream.h"
#include "widgets/dateedit.h"
#include "widgets/screenregistry.h"

#include <QAbstractSeries>
#include <QBarSeries>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

using namespace fitrova;
using namespace fitrova::test;

namespace {

void selectCourse(QWidget &screen, const QString &code)
{
    auto *c = child<QComboBox>(&screen, "CobCour");
    for (int i = 0; i < c->count(); ++i)
        if (c->itemText(i).startsWith(code + QLatin1Char('-')))
            c->setCurrentIndex(i);
}

} // namespace

class TstEntranceReportScreens : public QObject {
    Q_OBJECT

    const Db &db() { return m_inst.db(); }

private slots:
    void initTestCase()
    {
        m_inst.clock().set(QDateTime(QDate(2024, 5, 20), QTime(10, 0)));
        db().exec("UPDATE Course SET Name = '수영' WHERE PsGroup = 'P' AND Code = '1'");
        addMember(db(), "00000001", QStringLiteral("김수영"), "C-0001", "010-1111-0001");
        addMember(db(), "00000002", QStringLiteral("이헬스"), "C-0002", "010-1111-0002");
        m_pgid = addProgram(db(), QStringLiteral("수영 초급"));
        db().exec("UPDATE Program SET Time1 = '07:00', LtCode = '0001', PgUse = '1' WHERE Pgid = ?", {m_pgid});
        m_l1 = addPeriod(db(), "00000001", m_pgid, "2024-05-01", "2024-05-31");
        m_l2 = addPeriod(db(), "00000002", m_pgid, "2024-05-01", "2024-05-31");
        db().exec("UPDATE Lecture SET Course = '1'");
        for (const char *day : {"2024-05-02", "2024-05-03", "2024-05-09"})
            addVisit(db(), "00000001", m_l1, QString::fromLatin1(day), "07:05");
        addVisit(db(), "00000002", m_l2, "2024-05-03", "09:30");
    }

    void init() { m_msg.clear(); }

    void visitList()
    {
        VisitListReport s(m_ui);
        child<DateEdit>(&s, "Dtp1")->setDateText("2024-05-01");
        child<DateEdit>(&s, "Dtp2")->setDateText("2024-05-31");
        click(&s, "Cmd조회");
        QVERIFY(s.waitForQuery());
        QCOMPARE(s.grid()->rowCount(), 5);
        QVERIFY(s.grid()->isTotalRow(4));
        QCOMPARE(s.grid()->cell(4, 0), QStringLiteral("[ 총인원 ]"));
        QCOMPARE(s.grid()->cell(4, 4), QStringLiteral("4 명"));
        QCOMPARE(child<QLabel>(&s, "Pnl건수")->text(), QStringLiteral("4 명"));
        shoot(s, "입장현황");

        // The member found by name narrows the list; a name nobody has is told.
        child<QLineEdit>(&s, "TxtMbName")->setText(QStringLiteral("이헬"));
        QVERIFY(s.findMember());
        QCOMPARE(child<QLabel>(&s, "PnlMbCode")->text(), QString("00000002"));
        QVERIFY(s.query());
        QVERIFY(s.waitForQuery());
        QCOMPARE(s.grid()->rowCount(), 2);
        QCOMPARE(s.grid()->cell(0, 1), QString("09:30"));
        child<QLineEdit>(&s, "TxtMbName")->setText(QStringLiteral("없는회원"));
        QVERIFY(!s.findMember());
        QCOMPARE(m_msg.last().text, QStringLiteral("해당회원을 찾을수 없읍니다."));
        QCOMPARE(m_msg.last().title, QStringLiteral("회원찾기"));

        // The print heading repeats the title and the criteria.
        child<QLineEdit>(&s, "TxtMbName")->clear();
        s.findMember();
        s.preparePrint();
        const QString header = s.grid()->printSettings().header;
        QVERIFY(header.contains(QStringLiteral("회원입장현황")));
        QVERIFY(header.contains(QStringLiteral("기간 : (2024-05-01~2024-05-31)")));
        QVERIFY(header.contains(QStringLiteral("회 원 명 : 모두보기  성별 : 모두보기")));

        // A period that ends before it starts is refused and nothing runs.
        child<DateEdit>(&s, "Dtp1")->setDateText("2024-06-01");
        QVERIFY(!s.query());
        QCOMPARE(m_msg.last().text, QStringLiteral("조회기간을 확인하여 주십시요."));
        QVERIFY(!s.isBusy());

        // The spreadsheet lands in the EXCEL folder.
        click(&s, "Cmd엑셀");
        QCOMPARE(QDir(m_inst.ctx().paths.excelDir).entryList({QStringLiteral("입장현황*.xlsx")}).size(), 1);
    }

    void longVisitListReadsAsItScrolls()
    {
        // 450 visits of April, many in the same minute: more than a page.
        const int visits = 450;
        db().transaction([&] {
            for (int i = 0; i < visits; ++i)
                addVisit(db(), i % 2 ? "00000001" : "00000002", i % 2 ? m_l1 : m_l2,
                         QStringLiteral("2024-04-%1").arg(1 + i / 20, 2, 10, QLatin1Char('0')),
                         QStringLiteral("08:%1").arg(i % 20 / 4, 2, 10, QLatin1Char('0')));
        });
        VisitListReport s(m_ui);
        child<DateEdit>(&s, "Dtp1")->setDateText("2024-04-01");
        child<DateEdit>(&s, "Dtp2")->setDateText("2024-04-30");
        QVERIFY(s.query());
        QVERIFY(s.waitForQuery());
        QCOMPARE(s.count(), qint64(visits));
        QCOMPARE(child<QLabel>(&s, "Pnl건수")->text(), QStringLiteral("450 명"));
        QCOMPARE(s.grid()->rowCount(), kGridPageRows);
        QVERIFY(!s.grid()->isTotalRow(kGridPageRows - 1));
        s.grid()->model()->fetchMore({});
        QCOMPARE(s.grid()->rowCount(), 2 * kGridPageRows);

        // The spreadsheet takes every visit, and the total line comes last.
        click(&s, "Cmd엑셀");
        QCOMPARE(s.grid()->rowCount(), visits + 1);
        QVERIFY(s.grid()->isTotalRow(visits));
        QCOMPARE(s.grid()->cell(visits, 4), QStringLiteral("450 명"));
        for (int r = 1; r < visits; ++r) {
            const QString prev = s.grid()->cell(r - 1, 0) + s.grid()->cell(r - 1, 1);
            QVERIFY2(prev <= s.grid()->cell(r, 0) + s.grid()->cell(r, 1), qPrintable(QString::number(r)));
        }
        db().exec("DELETE FROM entrance WHERE InDate < '2024-05-01'");
    }

    void visitCountsAndVisitors()
    {
        VisitCountReport counts(m_ui);
        child<DateEdit>(&counts, "Dtp1")->setDateText("2024-05-01");
        child<QLineEdit>(&counts, "TxtCnt")->setText("1");
        child<QAbstractButton>(&counts, "Opt총")->click();
        QVERIFY(counts.query());
        QVERIFY(counts.waitForQuery());
        QCOMPARE(counts.grid()->rowCount(), 3);
        QCOMPARE(counts.grid()->cell(0, 8), QString("3"));
        QCOMPARE(counts.grid()->cell(2, 8), QStringLiteral("2 건"));
        counts.preparePrint();
        QVERIFY(counts.grid()->printSettings().header.contains(QStringLiteral("회원입장현황 (총 1회 이상 입장)")));
        child<QLineEdit>(&counts, "TxtCnt")->setText("abc");
        QVERIFY(!counts.query());

        DailyVisitorsReport visitors(m_ui);
        child<MonthEdit>(&visitors, "CobYYMM")->setMonthText("2024-05");
        QVERIFY(visitors.query());
        QVERIFY(visitors.waitForQuery());
        QCOMPARE(visitors.grid()->rowCount(), 32);
        QCOMPARE(visitors.grid()->cell(2, 2), QString("2"));
        QCOMPARE(visitors.grid()->cell(31, 0), QStringLiteral("합계"));
        QCOMPARE(visitors.grid()->cell(31, 2), QString("4"));
        shoot(visitors, "일일입장객현황");
    }

    void chartInEveryStyle()
    {
        VisitChartReport s(m_ui);
        child<MonthEdit>(&s, "CobYYMM")->setMonthText("2024-05");
        QVERIFY(s.query());
        QVERIFY(s.waitForQuery());
        QCOMPARE(s.result().total, qint64(4));
        QChart *chart = s.chartView()->chart();
        QCOMPARE(chart->series().size(), 1);
        QCOMPARE(chart->series().first()->type(), QAbstractSeries::SeriesTypeBar);
        auto *style = child<QComboBox>(&s, "CobStyle");
        for (int i = 1; i < style->count(); ++i) {
            style->setCurrentIndex(i);
            QCOMPARE(chart->series().size(), 1);
            QCOMPARE(chart->series().first()->type(),
                     i == 1 ? QAbstractSeries::SeriesTypeBar : QAbstractSeries::SeriesTypeLine);
        }
        child<QAbstractButton>(&s, "Opt합계")->click();
        QCOMPARE(chart->series().first()->name(), QStringLiteral("합계"));
        QCOMPARE(s.grid()->cell(2, 1), QString("2"));
        shoot(s, "회원입장그래프");

        QTemporaryDir dir;
        const QString png = dir.filePath("chart.png"), pdf = dir.filePath("chart.pdf");
        QVERIFY(s.exportChart(png));
        QVERIFY(s.exportChart(pdf));
        QVERIFY(QFileInfo(png).size() > 1000);
        QVERIFY(QFileInfo(pdf).size() > 1000);
        QImage img(png);
        QVERIFY(!img.isNull());

        // Hour of the day: the visit at 09:30 stands in hour 10.
        child<QComboBox>(&s, "CobGubun")->setCurrentIndex(2);
        child<DateEdit>(&s, "Dtp1")->setDateText("2024-05-03");
        QVERIFY(s.query());
        QVERIFY(s.waitForQuery());
        QCOMPARE(s.grid()->cell(9, 0), QString("10"));
        QCOMPARE(s.grid()->cell(9, s.grid()->columnCount() - 1), QString("1"));
    }

    void attendanceSheet()
    {
        MemberContacts handed;
        AttendanceReport s(m_ui, nullptr, [&](UiContext &, const MemberContacts &m, QWidget *) { handed = m; });
        child<MonthEdit>(&s, "CobYYMM")->setMonthText("2024-05");
        selectCourse(s, "1");
        QVERIFY(s.query());
        QVERIFY(s.waitForQuery());
        QCOMPARE(s.grid()->rowCount(), 3);
        QCOMPARE(s.grid()->cell(0, 0), QStringLiteral("김수영"));
        QCOMPARE(s.grid()->cell(0, AttendanceReport::dayColumn(2)), QStringLiteral("○"));
        QCOMPARE(s.grid()->cell(2, AttendanceReport::dayColumn(3)), QString("2"));
        shoot(s, "출석현황");

        // A double click on an empty day marks it by hand after asking.
        m_msg.answer(true);
        QVERIFY(s.dayActivated(1, AttendanceReport::dayColumn(7)));
        QCOMPARE(m_msg.last().kind, QStringLiteral("ask"));
        QVERIFY(s.waitForQuery());
        QCOMPARE(s.grid()->cell(1, AttendanceReport::dayColumn(7)), QStringLiteral("◎"));
        QCOMPARE(countOf(db(), "SELECT COUNT(*) FROM entrance WHERE Memo = '수동출석'"), qint64(1));
        // A gate visit is not marked again; a day after today is refused.
        QVERIFY(!s.dayActivated(0, AttendanceReport::dayColumn(2)));
        QCOMPARE(m_msg.last().text, QStringLiteral("이미 입장한 일자입니다."));
        m_msg.answer(true);
        QVERIFY(!s.dayActivated(0, AttendanceReport::dayColumn(25)));
        QCOMPARE(m_msg.last().text, QStringLiteral("오늘 이후의 일자에는 출석을 등록할수 없읍니다."));
        // The manual mark is taken back the same way.
        m_msg.answer(true);
        QVERIFY(s.dayActivated(1, AttendanceReport::dayColumn(7)));
        QVERIFY(s.waitForQuery());
        QCOMPARE(s.grid()->cell(1, AttendanceReport::dayColumn(7)), QString());

        click(&s, "Cmd문자전송");
        QCOMPARE(handed.size(), 2);
        QCOMPARE(handed.first().tel1, QString("010-1111-0001"));
        QCOMPARE(handed.first().listDate, QString("2024-05-09")); // the last day marked
    }

    void memberVisits()
    {
        MemberVisitReport s(m_ui);
        child<DateEdit>(&s, "Dtp1")->setDateText("2024-05-01");
        child<MonthEdit>(&s, "CobYYMM")->setMonthText("2024-05");
        s.applyScreenArgs({{"MbCode", "00000001"}});
        QVERIFY(s.waitForQuery());
        QCOMPARE(s.memberCode(), QString("00000001"));
        QCOMPARE(child<QLabel>(&s, "PnlMbName")->text(), QStringLiteral("김수영"));
        QCOMPARE(s.grid()->rowCount(), 4);
        QCOMPARE(s.enrollments()->rowCount(), 1);
        // May 2024 begins on a Wednesday: the 2nd is row 0, column 4.
        QCOMPARE(s.calendar()->cell(0, 4), QStringLiteral("2 ●"));
        QCOMPARE(s.calendar()->cell(0, 5), QStringLiteral("3 ●"));
        QCOMPARE(s.calendar()->cell(0, 6), QString("4"));
        shoot(s, "회원별입장현황");

        m_msg.answer(true);
        QVERIFY(s.deleteRow(2));
        QVERIFY(s.waitForQuery());
        QCOMPARE(s.grid()->rowCount(), 3);
        QCOMPARE(countOf(db(), "SELECT COUNT(*) FROM entrance WHERE MbCode = '00000001' AND InDate = '2024-05-09'"), qint64(0));
        s.preparePrint();
        QVERIFY(s.grid()->printSettings().header.contains(QStringLiteral("  회원명: 김수영  회원번호: 00000001")));
    }

    // Every menu item of these reports opens its screen.
    void registered()
    {
        ScreenRegistry r;
        registerEntranceReportScreens(r);
        for (const char *name : {"Menu43", "Menu44", "Menu45", "Menu61", "Menu64", "입장현황1", "회원별입장현황"}) {
            const ScreenEntry *e = r.find(QString::fromUtf8(name));
            QVERIFY2(e, name);
            std::unique_ptr<QWidget> w(e->factory(m_ui, nullptr, {}));
            QVERIFY(qobject_cast<ReportScreen *>(w.get()));
        }
    }

private:
    TestInstall m_inst;
    ScriptedMessages m_msg;
    UiContext m_ui{m_inst.ctx(), m_msg};
    qint64 m_pgid = 0, m_l1 = 0, m_l2 = 0;
};

QTEST_MAIN(TstEntranceReportScreens)
#include "tst_entrancereportscreens.moc"
