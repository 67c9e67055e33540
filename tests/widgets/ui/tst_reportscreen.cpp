// FITROVA_DB_TEST
// The report shape: the query runs on a thread of its own while the window
// keeps working, a query that would never end is interrupted by 취소 (on
// either engine), a failing query tells the desk the standard read error,
// and subtotal and total rows keep their colours.

#include "uitest.h"
#include <QtTest>

#include "foundation/outcome.h"
#include "testinstall.h"
#include "widgets/datagrid.h"
#include "widgets/reportscreen.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QThread>

using namespace fitrova;
using namespace fitrova::test;

namespace {

// A report whose query is chosen by the test.
class ProbeReport : public ReportScreen {
public:
    explicit ProbeReport(UiContext &ui) : ReportScreen(ui, nullptr, QStringLiteral("Probe"), QStringLiteral("시험"))
    {
        setColumns({QStringLiteral("구분"), QStringLiteral("값")}, {80, 80}, {1});
    }
    QString sql;
    Qt::HANDLE workThread = nullptr;
    int shown = 0;

protected:
    bool startQuery() override
    {
        run<qint64>(
            QStringLiteral("집계중입니다.."),
            [this, sql = sql](const Db &db) {
                workThread = QThread::currentThreadId();
                return db.scalar(sql).toLongLong();
            },
            [this](qint64 &v) {
                ++shown;
                ReportTable t;
                t.add({QStringLiteral("값"), QString::number(v)});
                t.addSubtotal({QStringLiteral("[소 계]"), QString::number(v)});
                t.addTotal({QStringLiteral("[합 계]"), QString::number(v)});
                showTable(t);
            });
        return true;
    }
    ReportPrint printSpec() const override
    {
        ReportPrint p;
        p.title = QStringLiteral("시험");
        return p;
    }
    QString exportName() const override { return QStringLiteral("시험"); }
};

// Counts for ever: only an interrupt ends it.
const char *const kEndless = "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n) SELECT COUNT(*) FROM n";

} // namespace

class TstReportScreen : public QObject {
    Q_OBJECT
private slots:
    void init() { m_msg.clear(); }

    void queryRunsOffTheScreensThread()
    {
        ProbeReport r(m_ui);
        r.sql = QStringLiteral("SELECT COUNT(*) FROM UserM");
        QVERIFY(r.query());
        QVERIFY(r.isBusy());
        QVERIFY(!child<QPushButton>(&r, "Cmd조회")->isEnabled());
        QVERIFY(r.waitForQuery());
        QCOMPARE(r.shown, 1);
        QVERIFY(r.workThread != QThread::currentThreadId());
        QVERIFY(child<QPushButton>(&r, "Cmd조회")->isEnabled());
        QCOMPARE(r.grid()->rowCount(), 3);
        QCOMPARE(r.grid()->cell(0, 1), QString("1"));
        QVERIFY(r.grid()->isTotalRow(1));
        QCOMPARE(r.grid()->cellBackground(1, 0), ReportScreen::subtotalBackColor());
        QCOMPARE(r.grid()->cellBackground(2, 0), DataGrid::totalBackColor());
    }

    // 취소 interrupts the statement the database is running: the thread ends,
    // nothing is shown and the grid keeps what it had.
    void cancelInterruptsTheDatabase()
    {
        ProbeReport r(m_ui);
        r.sql = QStringLiteral("SELECT 7");
        QVERIFY(r.query());
        QVERIFY(r.waitForQuery());
        r.sql = QString::fromLatin1(kEndless);
        QVERIFY(r.query());
        QTRY_VERIFY(!r.busyPanel()->isHidden());
        QCOMPARE(child<QLabel>(&r, "LblBusy")->text(), QStringLiteral("집계중입니다.."));
        QTest::mouseClick(child<QPushButton>(&r, "Cmd취소"), Qt::LeftButton);
        QVERIFY(!r.isBusy());
        QVERIFY(r.busyPanel()->isHidden());
        QCOMPARE(r.statusText(), QStringLiteral("조회를 취소하였습니다."));
        QCOMPARE(r.shown, 1);
        QCOMPARE(r.grid()->cell(0, 1), QString("7"));
        QVERIFY(m_msg.shown().isEmpty());
        // The screen is ready for the next query at once.
        r.sql = QStringLiteral("SELECT 8");
        QVERIFY(r.query());
        QVERIFY(r.waitForQuery());
        QCOMPARE(r.grid()->cell(0, 1), QString("8"));
    }

    // Esc cancels too; closing the screen in the middle of a query is safe.
    void escapeAndCloseWhileRunning()
    {
        {
            ProbeReport r(m_ui);
            r.sql = QString::fromLatin1(kEndless);
            QVERIFY(r.query());
            QTest::keyClick(&r, Qt::Key_Escape);
            QVERIFY(!r.isBusy());
            QVERIFY(r.query());
        } // destroyed while its query runs: interrupted and waited for
        QVERIFY(m_msg.shown().isEmpty());
    }

    void failureIsTheStandardReadError()
    {
        ProbeReport r(m_ui);
        r.sql = QStringLiteral("SELECT NoSuchColumn FROM NoSuchTable");
        QVERIFY(r.query());
        QVERIFY(r.waitForQuery());
        QCOMPARE(r.shown, 0);
        QCOMPARE(m_msg.shown().size(), 1);
        QCOMPARE(m_msg.last().kind, QStringLiteral("warn"));
        QCOMPARE(m_msg.last().text, dbErrorText(DbAction::Read).text);
    }

private:
    TestInstall m_inst;
    ScriptedMessages m_msg;
    UiContext m_ui{m_inst.ctx(), m_msg};
};

QTEST_MAIN(TstReportScreen)
#include "tst_reportscreen.moc"
