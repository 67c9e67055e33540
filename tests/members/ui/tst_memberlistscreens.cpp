// FITROVA_DB_TEST
// The member list (회원조회1) and the points status (포인트현황) screens,
// and the member screens in the main frame: registration, the card at
// 1024×768, and a double click on a list that shows the member on the card.

#include "uitest.h"
#include <QtTest>

#include "../memberbuilders.h"
#include "shell/ui/mainframe.h"
#include "widgets/screenregistry.h"
#include "members/ui/memberlistscreen.h"
#include "members/ui/memberscreen.h"
#include "members/ui/memberscreens.h"
#include "members/ui/pointstatusscreen.h"
#include "testinstall.h"
#include "widgets/datagrid.h"
#include "widgets/gridprint.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace fitrova;
using namespace fitrova::test;

class TstMemberListScreens : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_msg.clear();
        for (const char *t : {"Member", "Lecture", "UserPoint"})
            m_inst.db().exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(t)));
        addMember(m_inst.db(), "00000001", QStringLiteral("가나"), {}, "010-1111-0001");
        addMember(m_inst.db(), "00000002", QStringLiteral("나다"), {}, "010-1111-0002");
        addMember(m_inst.db(), "00000003", QStringLiteral("다라"), {}, "010-1111-0003");
        m_inst.db().exec("UPDATE Member SET BirthDay = '1990-12-28' WHERE MbCode = '00000001'");
        m_inst.db().exec("UPDATE Member SET BirthDay = '1991-01-03' WHERE MbCode = '00000003'");
        m_inst.db().exec("UPDATE Member SET BirthDay = '1991-06-03' WHERE MbCode = '00000002'");
        m_inst.db().exec("UPDATE Member SET Juno1 = '800408', Juno2 = '2564385' WHERE MbCode = '00000001'");
    }

    // The list's grid, its print and its spreadsheet never carry a full
    // resident number.
    void residentNumbersMaskedInListPrintAndExport()
    {
        MemberListScreen s(m_ui);
        QVERIFY(s.query());
        DataGrid *grid = s.grid();
        const int col = grid->headers().indexOf("주민번호");
        QVERIFY(col >= 0);
        const int row = grid->findRow(1, "00000001");
        QCOMPARE(grid->cell(row, col), QString("800408-2******"));

        if (QStandardPaths::findExecutable("unzip").isEmpty() || QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("unzip or pdftotext (poppler-utils) is not installed");
        QDir(m_inst.ctx().paths.excelDir).removeRecursively();
        click(&s, "Cmd엑셀변환");
        const QStringList books = QDir(m_inst.ctx().paths.excelDir).entryList({"회원조회*.xlsx"});
        QCOMPARE(books.size(), 1);
        const QString strings =
            toolOutput("unzip", {"-p", QDir(m_inst.ctx().paths.excelDir).filePath(books.first()), "xl/sharedStrings.xml"});
        QVERIFY(strings.contains("800408-2******"));
        QVERIFY(!strings.contains("2564385"));

        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        const QString pdf = dir.filePath("list.pdf");
        printer.setOutputFileName(pdf);
        setupReportPrint(*grid, "회원조회", "", "", "", true, 0, 1, 0, {});
        GridPrinter gp(*grid, grid->printSettings(), QDate(2024, 5, 10));
        gp.applyPageLayout(printer);
        QVERIFY(gp.print(printer) >= 1);
        const QString text = toolOutput("pdftotext", {"-layout", pdf, "-"});
        QVERIFY2(text.contains("800408-2"), qPrintable(text.left(600)));
        QVERIFY(!text.contains("2564385"));
        QVERIFY(!text.contains("564385"));
    }

    void memberList()
    {
        MemberListScreen s(m_ui);
        QVERIFY(s.query());
        QCOMPARE(s.grid()->rowCount(), 3);
        QCOMPARE(child<QLabel>(&s, "Pnl건수")->text(), QString("3 건"));

        // A birthday range over the year end; a bad day is refused and nothing runs.
        child<QLineEdit>(&s, "TxtBir1")->setText("1220");
        child<QLineEdit>(&s, "TxtBir2")->setText("0110");
        click(&s, "Cmd조회");
        QCOMPARE(child<QLineEdit>(&s, "TxtBir1")->text(), QString("12-20"));
        QCOMPARE(s.grid()->rowCount(), 2);
        child<QLineEdit>(&s, "TxtBir2")->setText("02-30");
        QVERIFY(!s.query());
        QCOMPARE(m_msg.last().text, QString("일자를 수정하세요"));
        QCOMPARE(m_msg.last().title, QString("일자ERROR"));
        QCOMPARE(s.grid()->rowCount(), 2);
        child<QLineEdit>(&s, "TxtBir2")->setText("01-10");

        // Hand-over to SMS and labels: a notice until the messaging screens exist.
        click(&s, "Cmd문자전송");
        QCOMPARE(m_msg.last().text, QString("준비중인 기능입니다"));
        MemberContacts sms, labels;
        MemberScreenHooks hooks;
        hooks.sendSms = [&](UiContext &, const MemberContacts &m, QWidget *) { sms = m; };
        hooks.printLabels = [&](UiContext &, const MemberContacts &m, QWidget *) { labels = m; };
        MemberListScreen withHooks(m_ui, nullptr, hooks);
        child<QComboBox>(&withHooks, "CobSex")->setCurrentIndex(0);
        withHooks.query();
        click(&withHooks, "Cmd문자전송");
        click(&withHooks, "CmdLbl");
        QCOMPARE(sms.size(), 3);
        QCOMPARE(sms.first().tel1, QString("010-1111-0001"));
        QCOMPARE(labels, sms);

        // Spreadsheet export into the EXCEL folder.
        click(&withHooks, "Cmd엑셀변환");
        QCOMPARE(QDir(m_inst.ctx().paths.excelDir).entryList({"회원조회*.xlsx"}).size(), 1);
    }

    // A long list: the grid holds the first page and reads on as it scrolls,
    // the count names every member found, and sorting, the hand-over and the
    // export take them all.
    void longListStreams()
    {
        const int n = 3 + 447;
        m_inst.db().transaction([&] {
            for (int i = 4; i <= n; ++i)
                addMember(m_inst.db(), QStringLiteral("%1").arg(i, 8, 10, QLatin1Char('0')),
                          QStringLiteral("회원%1").arg(i, 3, 10, QLatin1Char('0')));
        });
        MemberContacts sms;
        MemberScreenHooks hooks;
        hooks.sendSms = [&](UiContext &, const MemberContacts &m, QWidget *) { sms = m; };
        MemberListScreen s(m_ui, nullptr, hooks);
        s.resize(1024, 700);
        s.show();
        QVERIFY(s.query());
        QCOMPARE(s.foundCount(), qint64(n));
        QCOMPARE(child<QLabel>(&s, "Pnl건수")->text(), QString("450 건"));
        QVERIFY(s.grid()->rowCount() < n);

        // Sorted by member code, descending: the whole list, not the part read.
        s.grid()->sortRows({{1, Qt::DescendingOrder}});
        QCOMPARE(s.grid()->rowCount(), n);
        QCOMPARE(s.grid()->cell(0, 1), QString("00000450"));
        shoot(s, "memberlist-sorted");
        click(&s, "Cmd문자전송");
        QCOMPARE(sms.size(), n);
        QCOMPARE(sms.first().mbCode, QString("00000450"));
        QCOMPARE(sms.last().mbCode, QString("00000001"));
        QCOMPARE(sms.last().tel1, QString("010-1111-0001"));

        // A new query streams afresh; the export writes every member found.
        QVERIFY(s.query());
        QVERIFY(s.grid()->rowCount() < n);
        if (!QStandardPaths::findExecutable("unzip").isEmpty()) {
            QDir(m_inst.ctx().paths.excelDir).removeRecursively();
            click(&s, "Cmd엑셀변환");
            const QStringList files = QDir(m_inst.ctx().paths.excelDir).entryList({"회원조회*.xlsx"});
            QCOMPARE(files.size(), 1);
            const QString sheet = toolOutput(
                "unzip", {"-p", QDir(m_inst.ctx().paths.excelDir).filePath(files.first()), "xl/worksheets/sheet1.xml"});
            QVERIFY(sheet.contains(QString("<row r=\"%1\"").arg(n + 1)));
            QVERIFY(!sheet.contains(QString("<row r=\"%1\"").arg(n + 2)));
        }
        m_inst.db().exec("DELETE FROM Member WHERE MbCode > '00000003'");
    }

    // The instructor list follows the chosen course.
    void instructorsOfTheCourse()
    {
        const Db &db = m_inst.db();
        db.exec("DELETE FROM Lecturer");
        db.exec("DELETE FROM Course WHERE PsGroup = 'P' AND Code IN ('8', '9')");
        db.exec("INSERT INTO Course (PsGroup, Code, Name) VALUES ('P', '8', '수영'), ('P', '9', '헬스')");
        db.exec("INSERT INTO Lecturer (LTcode, LTName, Course, Resign) VALUES ('0001', '박강사', '8', '1'), "
                "('0002', '최강사', '9', '1'), ('0003', '퇴직', '8', '0')");
        MemberListScreen s(m_ui);
        auto *lect = child<QComboBox>(&s, "CobLect");
        QCOMPARE(lect->count(), 3);
        auto *cour = child<QComboBox>(&s, "CobCour");
        cour->setCurrentIndex(cour->findText("8-수영"));
        QCOMPARE(lect->count(), 2);
        QCOMPARE(lect->itemText(1), QString("0001-박강사"));
    }

    void pointStatus()
    {
        addPoint(m_inst.db(), "00000001", "1", 1, 1000, 200);
        addPoint(m_inst.db(), "00000002", "1", 2, 100, 400);
        m_inst.db().exec("UPDATE Member SET Point = 800 WHERE MbCode = '00000001'");
        m_inst.db().exec("UPDATE Member SET Point = -300 WHERE MbCode = '00000002'");
        QString opened;
        PointStatusScreen s(m_ui, nullptr, [&](const QString &code) { opened = code; });
        QVERIFY(s.query());
        QCOMPARE(s.grid()->rowCount(), 1);
        child<QLineEdit>(&s, "TxtPoint")->setText("-500");
        QVERIFY(s.query());
        QCOMPARE(s.grid()->rowCount(), 2);
        QCOMPARE(s.grid()->cell(1, 8), QString("-300"));
        child<QLineEdit>(&s, "TxtPoint")->setText("abc");
        QVERIFY(!s.query());
        QCOMPARE(m_msg.last().text, QString("숫자만 입력가능합니다"));
        emit s.grid()->rowActivated(0);
        QCOMPARE(opened, QString("00000001"));
        click(&s, "Cmd엑셀");
        QCOMPARE(QDir(m_inst.ctx().paths.excelDir).entryList({"회원별 포인트현황*.xlsx"}).size(), 1);
    }

    // Menu21, Menu23 and Menu24 open in the main frame; the card fits the
    // workspace of the 1024×768 frame; a double click on the points status
    // shows the member on the (opened) card.
    void inTheMainFrame()
    {
        addPoint(m_inst.db(), "00000002", "1", 2, 100);
        m_inst.db().exec("UPDATE Member SET Point = 100 WHERE MbCode = '00000002'");
        ScreenRegistry registry;
        registerMemberScreens(registry);
        for (const char *menu : {"Menu21", "Menu23", "Menu24"})
            QVERIFY(registry.contains(QString::fromLatin1(menu)));
        MainFrame frame(m_ui, registry);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));

        auto *points = qobject_cast<PointStatusScreen *>(frame.openScreen("Menu24"));
        QVERIFY(points);
        points->query();
        emit points->grid()->rowActivated(0);
        auto *card = qobject_cast<MemberScreen *>(frame.openedScreen("Menu21"));
        QVERIFY(card);
        QCOMPARE(card->memberCode(), QString("00000002"));

        auto *sub = qobject_cast<QMdiSubWindow *>(card->parentWidget());
        QVERIFY(sub);
        const QSize area = frame.workspace()->viewport()->size();
        QVERIFY2(sub->width() <= area.width() && sub->height() <= area.height(),
                 qPrintable(QStringLiteral("card %1x%2 in workspace %3x%4")
                                .arg(sub->width()).arg(sub->height()).arg(area.width()).arg(area.height())));
        QVERIFY(qobject_cast<MemberListScreen *>(frame.openScreen("Menu23")));
        const QByteArray dir = qgetenv("FITROVA_SHOT_DIR");
        if (!dir.isEmpty()) {
            frame.openScreen("Menu21");
            frame.grab().save(QString::fromLocal8Bit(dir) + "/mainframe-card.png");
            frame.openScreen("Menu23");
            frame.grab().save(QString::fromLocal8Bit(dir) + "/mainframe-list.png");
        }
    }

private:
    TestInstall m_inst;
    ScriptedMessages m_msg;
    UiContext m_ui{m_inst.ctx(), m_msg};
};

QTEST_MAIN(TstMemberListScreens)
#include "tst_memberlistscreens.moc"
