// Printing a grid: header and footer codes, margins, page layout, the PDF
// output, the preview window and its dialogs, label printer settings.

#include <QtTest>

#include "widgets/datagrid.h"
#include "widgets/gridprint.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPdfWriter>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace fitrova;

Q_DECLARE_METATYPE(QList<fitrova::PrintRun>)

namespace {

const QString kBiz = QStringLiteral("브렌무어스포츠");

void fillGrid(DataGrid &grid, int rows)
{
    grid.setColumns({"회원번호", "이름", "프로그램", "금액"}, {90, 80, 200, 90});
    grid.setColumnAlignment(3, Qt::AlignRight);
    for (int i = 0; i < rows; ++i)
        grid.addRow({QString::number(i + 1).rightJustified(8, '0'), "회원" + QString::number(i + 1),
                     "아침수영 06:00~07:00", QString::number((i + 1) * 1000)});
}

// Text of a PDF page by pdftotext; empty when the tool is missing.
QString pdfText(const QString &pdf, int page)
{
    QProcess p;
    p.start("pdftotext", {"-f", QString::number(page), "-l", QString::number(page), "-layout", pdf, "-"});
    if (!p.waitForFinished(20000))
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

int pdfPages(const QString &pdf)
{
    QProcess p;
    p.start("pdfinfo", {pdf});
    if (!p.waitForFinished(20000))
        return -1;
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    const QRegularExpressionMatch m = QRegularExpression("Pages:\\s+(\\d+)").match(out);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

} // namespace

class TstGridPrint : public QObject {
    Q_OBJECT
private slots:
    void headerAndFooterCodes_data()
    {
        const QString t = QStringLiteral("/fn\"굴림체\"/fz\"15\"/fb1/fi0/fu1/fk0");
        const QString b = QStringLiteral("/fn\"굴림체\"/fz\"9.75\"/fb0/fi0/fu0/fk0");
        QTest::addColumn<QString>("line2");
        QTest::addColumn<QString>("header");
        QTest::newRow("with period") << "기간 : 2024-05-01 ~ 2024-05-31"
                                     << t + "/c회원현황/n" + b + "/c기간 : 2024-05-01 ~ 2024-05-31/n/n" + b
                + "/l과목 : 수영/n" + b + "/l강사 : 전체" + b + "/r 출력일 : /date/n";
        QTest::newRow("no period") << "" << t + "/c회원현황/n" + b + "/c/n" + b + "/l과목 : 수영/n" + b
                + "/l강사 : 전체" + b + "/r 출력일 : /date/n";
    }
    void headerAndFooterCodes()
    {
        QFETCH(QString, line2);
        QFETCH(QString, header);
        const PrintCodes c = reportPrintCodes("회원현황", line2, "과목 : 수영", "강사 : 전체", kBiz);
        QCOMPARE(c.header, header);
        QCOMPARE(c.footer, QStringLiteral("/n/n/fn\"굴림체\"/fz\"9.75\"/fb0/fi0/fu0/fk0/c 페이지: /p"
                                          "/fn\"굴림체\"/fz\"9.75\"/fb0/fi0/fu0/fk0/r브렌무어스포츠/n"));
    }

    void margins_data()
    {
        QTest::addColumn<double>("cm");
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("bottom");
        QTest::newRow("-1") << -1.0 << 300 << 0 << -567;
        QTest::newRow("0") << 0.0 << 567 << 567 << 0;
        QTest::newRow("2") << 2.0 << 1134 << 1134 << 1134;
        QTest::newRow("1.5") << 1.5 << 851 << 851 << 851;
    }
    void margins()
    {
        QFETCH(double, cm);
        QFETCH(int, top);
        QFETCH(int, left);
        QFETCH(int, bottom);
        QCOMPARE(topMarginTwips(cm), top);
        QCOMPARE(leftMarginTwips(cm), left);
        QCOMPARE(bottomMarginTwips(cm), bottom);
    }

    void setupDressesTheGrid()
    {
        DataGrid grid;
        setupReportPrint(grid, "제목", "", "", "", true, -1, 1, -1, kBiz);
        const GridPrintSettings &s = grid.printSettings();
        QCOMPARE(s.orientation, QPageLayout::Landscape);
        QCOMPARE(s.marginTop, 300);
        QCOMPARE(s.marginLeft, 0);
        QCOMPARE(s.marginBottom, 567);
        QCOMPARE(s.marginRight, 0);
        QVERIFY(s.color);
        QVERIFY(!s.useDataMax);
        QVERIFY(s.footer.contains(kBiz));
        setupReportPrint(grid, "제목", "", "", "", false, 0, 0, 0, kBiz);
        QCOMPARE(grid.printSettings().orientation, QPageLayout::Portrait);
    }

    void parseCodes()
    {
        const PrintCodes c = reportPrintCodes("회원현황", "기간", "과목", "강사", kBiz);
        const QDate day(2024, 5, 10);
        const QList<PrintLine> head = parsePrintCodes(c.header, day, 3);
        QCOMPARE(head.size(), 5);
        const PrintRun title = head.at(0).runs.value(0);
        QCOMPARE(title.text, QString("회원현황"));
        QCOMPARE(title.pointSize, 15.0);
        QVERIFY(title.bold && title.underline && !title.italic && !title.strike);
        QCOMPARE(title.align, Qt::Alignment(Qt::AlignHCenter));
        QCOMPARE(title.fontName, QString("굴림체"));
        QVERIFY(head.at(2).runs.isEmpty()); // the blank line after the period
        QCOMPARE(head.at(2).pointSize, 9.75);
        QCOMPARE(head.at(3).runs.value(0).align, Qt::Alignment(Qt::AlignLeft));
        QCOMPARE(head.at(4).runs.size(), 2);
        QCOMPARE(head.at(4).runs.at(0).text, QString("강사"));
        QCOMPARE(head.at(4).runs.at(1).text, QString(" 출력일 : 2024-05-10"));
        QCOMPARE(head.at(4).runs.at(1).align, Qt::Alignment(Qt::AlignRight));
        QVERIFY(!head.at(4).runs.at(1).bold);

        const QList<PrintLine> foot = parsePrintCodes(c.footer, day, 3);
        QCOMPARE(foot.size(), 3);
        QCOMPARE(foot.at(2).runs.value(0).text, QString(" 페이지: 3"));
        QCOMPARE(foot.at(2).runs.value(1).text, kBiz);

        // Slashes that are no code stay text; a last line needs no /n.
        const QList<PrintLine> plain = parsePrintCodes("1/2 /x/fi1기울임", day, 1);
        QCOMPARE(plain.size(), 1);
        QCOMPARE(plain.at(0).runs.size(), 2);
        QCOMPARE(plain.at(0).runs.at(0).text, QString("1/2 /x"));
        QVERIFY(plain.at(0).runs.at(1).italic);
        QCOMPARE(printFontFamily("굴림체"), QString("NanumGothicCoding"));
    }

    void printsToPdfWithPageCount()
    {
        if (QStandardPaths::findExecutable("pdfinfo").isEmpty())
            QSKIP("pdfinfo (poppler-utils) is not installed");
        DataGrid grid;
        fillGrid(grid, 200);
        setupReportPrint(grid, "회원현황", "기간 : 2024-05-01 ~ 2024-05-31", "과목 : 수영", "", false, -1, 0, -1,
                         kBiz);
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(QPageSize::A4));
        const QString pdf = dir.filePath("grid.pdf");
        printer.setOutputFileName(pdf);

        GridPrinter gp(grid, grid.printSettings(), QDate(2024, 5, 10));
        gp.applyPageLayout(printer);
        const QList<GridPrinter::PageRows> pages = gp.layout(printer);
        QVERIFY(pages.size() > 2);
        int covered = 0;
        for (const auto &p : pages) {
            QCOMPARE(p.first, covered);
            covered += p.count;
        }
        QCOMPARE(covered, 200);
        QCOMPARE(gp.print(printer), int(pages.size()));
        QCOMPARE(pdfPages(pdf), int(pages.size()));

        const QString page2 = pdfText(pdf, 2);
        QVERIFY2(page2.contains("회원현황"), qPrintable(page2.left(400)));
        QVERIFY2(page2.contains("출력일 : 2024-05-10"), qPrintable(page2.left(600)));
        QVERIFY(page2.contains("페이지: 2"));
        QVERIFY(page2.contains(kBiz));
        QVERIFY(page2.contains("회원번호")); // column headers repeat
        const QString firstOnPage2 = QString::number(pages.at(1).first + 1).rightJustified(8, '0');
        QVERIFY(page2.contains(firstOnPage2));

        // Landscape pages hold fewer rows.
        GridPrintSettings wide = grid.printSettings();
        wide.orientation = QPageLayout::Landscape;
        GridPrinter landscape(grid, wide);
        QPrinter printer2(QPrinter::HighResolution);
        printer2.setOutputFormat(QPrinter::PdfFormat);
        printer2.setPageSize(QPageSize(QPageSize::A4));
        landscape.applyPageLayout(printer2);
        QVERIFY(landscape.pageCount(printer2) > pages.size());

        // A page range prints only those pages.
        GridPrintSettings range = grid.printSettings();
        range.pageStart = 2;
        range.pageEnd = 3;
        const QString pdf2 = dir.filePath("range.pdf");
        printer.setOutputFileName(pdf2);
        QCOMPARE(GridPrinter(grid, range, QDate(2024, 5, 10)).print(printer), 2);
        QCOMPARE(pdfPages(pdf2), 2);
        QVERIFY(pdfText(pdf2, 1).contains("페이지: 2"));
    }

    void emptyGridPrintsOnePage()
    {
        DataGrid grid;
        grid.setColumns({"a"});
        QPdfWriter writer(QDir::temp().filePath("fitrova_empty.pdf"));
        GridPrinter gp(grid, grid.printSettings());
        gp.applyPageLayout(writer);
        QCOMPARE(gp.pageCount(writer), 1);
    }

    void previewNavigatesPages()
    {
        DataGrid grid;
        fillGrid(grid, 200);
        setupReportPrint(grid, "회원현황", "기간 : 2024-05-01 ~ 2024-05-31", "과목 : 수영", "강사 : 전체", false, -1,
                         0, -1, kBiz);
        GridPreviewDialog dlg(grid);
        for (const char *name : {"btnPrevious", "btnNext", "btnZoom", "btnOption", "btnPrint", "btnClose"})
            QVERIFY2(dlg.findChild<QPushButton *>(name), name);
        QCOMPARE(dlg.objectName(), QString("spreadpreview"));

        GridPrinter gp(grid, grid.printSettings());
        gp.applyPageLayout(*dlg.printer());
        const int count = gp.pageCount(*dlg.printer());
        QCOMPARE(dlg.pageCount(), count);
        QCOMPARE(dlg.pageLabelText(), QString("페이지 1 / %1").arg(count));
        auto *next = dlg.findChild<QPushButton *>("btnNext");
        auto *prev = dlg.findChild<QPushButton *>("btnPrevious");
        QVERIFY(!prev->isEnabled());
        next->click();
        QCOMPARE(dlg.pageLabelText(), QString("페이지 2 / %1").arg(count));
        dlg.goToPage(count + 5);
        QCOMPARE(dlg.currentPage(), count);
        QVERIFY(!next->isEnabled());
        prev->click();
        QCOMPARE(dlg.currentPage(), count - 1);

        // Printing from the preview lays out the same pages.
        QTemporaryDir dir;
        dlg.printer()->setOutputFileName(dir.filePath("preview.pdf"));
        QCOMPARE(dlg.printNow(), count);

        dlg.resize(1000, 720);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        dlg.applyZoom(7);
        QCoreApplication::processEvents();
        dlg.goToPage(3);
        QCoreApplication::processEvents();
        QCOMPARE(dlg.pageLabelText(), QString("페이지 3 / %1").arg(count));
        dlg.grab().save(QDir::temp().filePath("fitrova_preview.png"));
    }

    void pageSetupAppliesMargins()
    {
        QCOMPARE(PageSetupDialog::zoomItems(),
                 QStringList({"200%", "150%", "100%", "75%", "50%", "25%", "10%", "Page Width", "Page Height",
                              "Whole Page", "Two Pages", "Three Pages", "Four Pages", "Six Pages"}));
        GridPrintSettings s;
        s.marginTop = 567;
        PageSetupDialog dlg(2, s);
        QCOMPARE(dlg.objectName(), QString("pagesetup"));
        QVERIFY(dlg.findChild<QPushButton *>("Command2"));
        const QList<QLineEdit *> fields = dlg.findChildren<QLineEdit *>("pagemargin");
        QCOMPARE(fields.size(), 4);
        for (QLineEdit *e : fields)
            if (e->property("margin").toString() == "left")
                e->setText("2");
        QCOMPARE(dlg.marginTop(), 567);
        QCOMPARE(dlg.marginLeft(), 1134);
        QCOMPARE(dlg.zoomIndex(), 2);
        dlg.grab().save(QDir::temp().filePath("fitrova_pagesetup.png"));
    }

    void printDialogRange()
    {
        GridPrintSettings s;
        GridPrintDialog dlg(s, 7);
        QCOMPARE(dlg.objectName(), QString("PrintDlg"));
        const QList<QLineEdit *> pages = dlg.findChildren<QLineEdit *>("Text1");
        QCOMPARE(pages.size(), 2);
        QVERIFY(!pages.at(0)->isEnabled() && !pages.at(1)->isEnabled());
        QCOMPARE(dlg.settings().pageEnd, 0);

        dlg.findChild<QRadioButton *>("OptRange")->setChecked(true);
        QVERIFY(pages.at(0)->isEnabled() && pages.at(1)->isEnabled());
        QCOMPARE(pages.at(1)->text(), QString("7"));
        pages.at(0)->setText("3");
        pages.at(1)->clear();
        QCOMPARE(pages.at(1)->text(), QString("1")); // an emptied field becomes 1
        pages.at(1)->setText("5");
        dlg.findChild<QCheckBox *>("ChkBorder")->setChecked(false);
        dlg.findChild<QCheckBox *>("ChkRowHeaders")->setChecked(true);
        const GridPrintSettings out = dlg.settings();
        QCOMPARE(out.pageStart, 3);
        QCOMPARE(out.pageEnd, 5);
        QVERIFY(!out.border);
        QVERIFY(out.rowHeaders);
        QVERIFY(out.colHeaders);

        dlg.grab().save(QDir::temp().filePath("fitrova_printdlg.png"));
        dlg.findChild<QRadioButton *>("OptAll")->setChecked(true);
        QVERIFY(!pages.at(0)->isEnabled());
        QCOMPARE(dlg.settings().pageStart, 1);
        QCOMPARE(dlg.settings().pageEnd, 0);
    }

    void labelPrinterSettings()
    {
        QTemporaryDir dir;
        QSettings store(dir.filePath("s.ini"), QSettings::IniFormat);
        LabelPrintSettings s = loadLabelPrintSettings("DM_SM", store);
        QCOMPARE(s.left, QString("0"));
        QCOMPARE(s.top, QString("0"));
        QVERIFY(store.contains("여백설정/DM_SM_Left"));
        QVERIFY(store.contains("여백설정/DM_SM_TOP"));
        QVERIFY(store.contains("프린트설정/DM_SM_Print"));

        store.setValue("여백설정/DM_BG_Left", "5");
        store.setValue("프린트설정/DM_BG_Print", "라벨프린터");
        s = loadLabelPrintSettings("DM_BG", store);
        QCOMPARE(s.left, QString("5"));
        QCOMPARE(s.top, QString()); // one of the two set: left as stored
        QCOMPARE(s.printerName, QString("라벨프린터"));
        QCOMPARE(printerFont(10).family(), QString("NanumGothicCoding"));
    }
};

QTEST_MAIN(TstGridPrint)
#include "tst_gridprint.moc"
