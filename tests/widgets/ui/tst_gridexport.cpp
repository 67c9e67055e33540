// The spreadsheet export of a grid, read back from the written workbook.

#include <QtTest>

#include "uitest.h"

#include "data/clock.h"
#include "widgets/datagrid.h"
#include "widgets/gridexport.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace fitrova;
using namespace fitrova::test;

class TstGridExport : public QObject {
    Q_OBJECT
private slots:
    void roundTrip()
    {
        if (QStandardPaths::findExecutable("unzip").isEmpty())
            QSKIP("unzip is not installed");
        DataGrid grid;
        grid.setColumns({"선택", "회원번호", "이름", "금액", "비율"});
        grid.setCheckColumn(0);
        grid.addRow({"1", "00000001", "홍길동 & <김>", "1,234,000", "12.5"});
        grid.addRow({"0", "00000002", "O'Neil", "-500", ""});
        QTemporaryDir dir;
        const QString excel = dir.filePath("EXCEL"); // created when missing
        const FixedClock clock(QDateTime(QDate(2024, 5, 10), QTime(14, 3, 9)));

        const ExportResult r = exportGridToExcel("회원현황", grid, excel, clock);
        QVERIFY(r.ok);
        QVERIFY(r.message.isEmpty());
        QCOMPARE(r.path, QDir(excel).filePath("회원현황20240510140309.xlsx"));
        QVERIFY(QFile::exists(r.path));

        const QString book = toolOutput("unzip", {"-p", r.path, "xl/workbook.xml"});
        QVERIFY(book.contains("name=\"Sheet1\""));
        const QString strings = toolOutput("unzip", {"-p", r.path, "xl/sharedStrings.xml"});
        const QString sheet = toolOutput("unzip", {"-p", r.path, "xl/worksheets/sheet1.xml"});
        for (const char *text : {"선택", "회원번호", "00000001", "홍길동 &amp; &lt;김&gt;", "O'Neil"})
            QVERIFY2(strings.contains(QString::fromUtf8(text)), text);
        // Amounts become numbers; codes with leading zeros and check cells stay text.
        QVERIFY(sheet.contains("<v>1234000</v>"));
        QVERIFY(sheet.contains("<v>-500</v>"));
        QVERIFY(sheet.contains("<v>12.5</v>"));
        QVERIFY(strings.contains("<t>1</t>") && strings.contains("<t>0</t>"));
        // Header row, then two rows.
        QVERIFY(sheet.contains("<row r=\"3\""));
        QVERIFY(!sheet.contains("<row r=\"4\""));
    }

    void nothingToExport()
    {
        DataGrid grid;
        grid.setColumns({"a"});
        QTemporaryDir dir;
        const ExportResult r = exportGridToExcel("x", grid, dir.path(), FixedClock());
        QVERIFY(!r.ok);
        QVERIFY(r.message.isEmpty());
        QVERIFY(QDir(dir.path()).isEmpty());
    }

    void failureMessage()
    {
        DataGrid grid;
        grid.setColumns({"a"});
        grid.addRow({"1"});
        QTemporaryDir dir;
        QFile blocker(dir.filePath("file"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        // The export folder cannot be made: a file stands in its way.
        const ExportResult r = exportGridToExcel("x", grid, dir.filePath("file/EXCEL"), FixedClock());
        QVERIFY(!r.ok);
        QCOMPARE(r.message, QString("엑셀파일로 저장하지 못하였습니다."));
        QCOMPARE(r.title, QString("확인"));
    }
};

QTEST_MAIN(TstGridExport)
#include "tst_gridexport.moc"
