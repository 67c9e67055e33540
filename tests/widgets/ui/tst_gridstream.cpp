// Long lists streamed into the grid: pages read as the grid scrolls, the rest
// read whole for sorting, printing and the export; the compact rows keep every
// cell's text when one cell changes.

#include <QtTest>

#include "uitest.h"

#include "data/clock.h"
#include "widgets/datagrid.h"
#include "widgets/gridexport.h"
#include "widgets/gridprint.h"
#include "widgets/gridstream.h"

#include <QPdfWriter>
#include <QProcess>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <memory>

using namespace fitrova;
using namespace fitrova::test;

namespace {

QString code(int i)
{
    return QStringLiteral("%1").arg(i, 8, 10, QLatin1Char('0'));
}

// A list of `total` rows (code, name, amount); counts the pages asked for.
// failAt >= 0: a page that would reach that row fails (the source ends the list).
struct Source {
    int total = 0;
    int failAt = -1;
    int next = 0;
    int calls = 0;
    GridRowSource fn()
    {
        return [this](int maxRows) {
            ++calls;
            GridPage page;
            if (failAt >= 0 && qint64(next) + maxRows > failAt)
                return page;
            const int end = int(qMin<qint64>(total, qint64(next) + maxRows));
            for (; next < end; ++next) {
                page.rows.append({code(next), QStringLiteral("회원%1").arg(total - next, 4, 10, QLatin1Char('0')),
                                  QString::number(next * 10)});
                page.keys.append(code(next));
            }
            page.more = next < total;
            return page;
        };
    }
};

DataGrid *makeGrid()
{
    auto *grid = new DataGrid;
    grid->setColumns({"회원코드", "회원명", "금액"}, {90, 90, 90});
    return grid;
}


} // namespace

class TstGridStream : public QObject {
    Q_OBJECT
private slots:
    // What the grid holds after the first page and after reading the rest,
    // for lists shorter than, equal to and longer than a page.
    void pagesThenTheRest_data()
    {
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("pageRows");
        QTest::addColumn<int>("firstRows");
        QTest::newRow("empty list") << 0 << 200 << 0;
        QTest::newRow("shorter than a page") << 150 << 200 << 150;
        QTest::newRow("exactly a page") << 200 << 200 << 200;
        QTest::newRow("many pages") << 5001 << 200 << 200;
    }
    void pagesThenTheRest()
    {
        QFETCH(int, total);
        QFETCH(int, pageRows);
        QFETCH(int, firstRows);
        std::unique_ptr<DataGrid> grid(makeGrid());
        Source src{total};
        streamGridRows(*grid, src.fn(), pageRows);
        QCOMPARE(grid->rowCount(), firstRows);
        QCOMPARE(gridHasMoreRows(*grid), total > pageRows);
        fetchAllGridRows(*grid);
        QCOMPARE(grid->rowCount(), total);
        QVERIFY(!gridHasMoreRows(*grid));
        QVERIFY(src.calls <= 2); // the first page, then the rest in one read
        for (int r : {0, total / 2, total - 1})
            if (r >= 0 && r < total) {
                QCOMPARE(grid->cell(r, 0), code(r));
                QCOMPARE(grid->rowKey(r).toString(), code(r));
                QCOMPARE(grid->cell(r, 2), QString::number(r * 10));
            }
        fetchAllGridRows(*grid); // nothing left: no further call
        QCOMPARE(grid->rowCount(), total);
    }

    // Scrolling to the end of what the grid holds reads the next page, and
    // only then.
    void scrollingReadsTheNextPage()
    {
        std::unique_ptr<DataGrid> grid(makeGrid());
        grid->resize(400, 300);
        grid->show();
        QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
        Source src{1000};
        streamGridRows(*grid, src.fn(), 100);
        QCoreApplication::processEvents();
        QCOMPARE(grid->rowCount(), 100);
        QScrollBar *bar = grid->verticalScrollBar();
        for (int rows : {200, 300}) {
            const int end = bar->maximum();
            bar->setValue(end);
            QTRY_COMPARE(grid->rowCount(), rows);
            QTRY_VERIFY(bar->maximum() > end); // the scroll range takes the new rows
        }
        QVERIFY(gridHasMoreRows(*grid));
        // The list replaced: the old source is let go.
        grid->setRows({{"a", "b", "c"}});
        QVERIFY(!gridHasMoreRows(*grid));
        const int calls = src.calls;
        fetchAllGridRows(*grid);
        QCOMPARE(src.calls, calls);
        QCOMPARE(grid->rowCount(), 1);
    }

    // Sorting by a header works on the whole list, not the part read so far.
    void sortReadsEverything()
    {
        std::unique_ptr<DataGrid> grid(makeGrid());
        Source src{950};
        streamGridRows(*grid, src.fn(), 100);
        grid->sortRows({{1, Qt::AscendingOrder}}); // names run opposite to codes
        QCOMPARE(grid->rowCount(), 950);
        QCOMPARE(grid->cell(0, 1), QString("회원0001"));
        QCOMPARE(grid->rowKey(0).toString(), code(949));
        QCOMPARE(grid->cell(949, 1), QString("회원0950"));
        grid->sortRows({{2, Qt::DescendingOrder}}); // amounts compare as numbers
        QCOMPARE(grid->cell(0, 2), QString("9490"));
        QCOMPARE(grid->cell(949, 2), QString("0"));
    }

    // A total row that comes with the last page is drawn as a total and stays
    // below the rows when they are sorted; a subtotal keeps its own colour.
    void totalRowsComeWithTheLastPage()
    {
        std::unique_ptr<DataGrid> grid(makeGrid());
        Source src{250};
        int pages = 0;
        streamGridRows(
            *grid,
            [&](int maxRows) {
                GridPage page = src.fn()(maxRows);
                if (++pages == 1) {
                    page.rows.prepend({QString(), QStringLiteral("소계"), QStringLiteral("0")});
                    page.keys.prepend(QVariant());
                    page.totalRows.append({0, QColor(Qt::cyan)});
                }
                if (!page.more) {
                    page.rows.append({QString(), QStringLiteral("합계"), QStringLiteral("311250")});
                    page.keys.append(QVariant());
                    page.totalRows.append({int(page.rows.size()) - 1, QColor()});
                }
                return page;
            },
            100);
        QVERIFY(grid->isTotalRow(0));
        QCOMPARE(grid->effectiveBackground(0, 1), QColor(Qt::cyan));
        QVERIFY(!grid->isTotalRow(grid->rowCount() - 1));
        fetchAllGridRows(*grid);
        QCOMPARE(grid->rowCount(), 252);
        QVERIFY(grid->isTotalRow(251));
        QVERIFY(grid->isCellBold(251, 2));
        QCOMPARE(grid->effectiveBackground(251, 0), DataGrid::totalBackColor());
        grid->sortRows({{2, Qt::DescendingOrder}});
        QCOMPARE(grid->cell(251, 1), QStringLiteral("합계"));
        QCOMPARE(grid->cell(0, 2), QString("2490"));
    }

    // A source that hands a long read over in several pages: each lands in
    // order as it comes; the source is let go after its last row.
    void pagedSourceHandsOverAsItReads()
    {
        std::unique_ptr<DataGrid> grid(makeGrid());
        int calls = 0, next = 0;
        const int total = 1050;
        streamGridRows(
            *grid,
            GridPagedSource([&](int maxRows, const GridPageSink &deliver) {
                ++calls;
                const int end = int(qMin<qint64>(total, qint64(next) + maxRows));
                while (next < end) {
                    GridPage page;
                    for (int i = 0; i < 300 && next < end; ++i, ++next) {
                        page.rows.append({code(next), QStringLiteral("회원"), QString::number(next)});
                        page.keys.append(code(next));
                    }
                    const int before = grid->rowCount();
                    deliver(std::move(page));
                    if (grid->rowCount() <= before)
                        return false; // nothing landed: the test fails below
                }
                return next < total;
            }),
            100);
        QCOMPARE(grid->rowCount(), 100);
        QVERIFY(gridHasMoreRows(*grid));
        fetchAllGridRows(*grid);
        QCOMPARE(calls, 2);
        QCOMPARE(grid->rowCount(), total);
        QVERIFY(!gridHasMoreRows(*grid));
        for (int r = 0; r < total; ++r)
            QCOMPARE(grid->rowKey(r).toString(), code(r));
    }

    // The print and the export take every row of a streamed list.
    void printAndExportTakeEveryRow()
    {
        std::unique_ptr<DataGrid> grid(makeGrid());
        Source src{650};
        streamGridRows(*grid, src.fn(), 200);
        {
            GridPrinter printer(*grid, grid->printSettings(), QDate(2025, 6, 2));
            QTemporaryDir dir;
            QPdfWriter pdf(dir.filePath("x.pdf"));
            int printed = 0;
            for (const GridPrinter::PageRows &p : printer.layout(pdf))
                printed += p.count;
            QCOMPARE(printed, 650);
        }
        if (QStandardPaths::findExecutable("unzip").isEmpty())
            QSKIP("unzip is not installed");
        Source again{650};
        streamGridRows(*grid, again.fn(), 200);
        QCOMPARE(grid->rowCount(), 200);
        QTemporaryDir dir;
        const ExportResult r = exportGridToExcel("회원조회", *grid, dir.path(), FixedClock());
        QVERIFY(r.ok);
        const QString sheet = toolOutput("unzip", {"-p", r.path, "xl/worksheets/sheet1.xml"});
        QVERIFY(sheet.contains("<row r=\"651\"")); // the header row, then 650
        QVERIFY(!sheet.contains("<row r=\"652\""));
    }

    // A source that fails ends the list where it failed; the rows read stay.
    void failedPageEndsTheList()
    {
        std::unique_ptr<DataGrid> grid(makeGrid());
        Source src{1000, 300};
        streamGridRows(*grid, src.fn(), 100);
        QCOMPARE(grid->rowCount(), 100);
        fetchAllGridRows(*grid); // the rest in one read, which fails
        QCOMPARE(grid->rowCount(), 100);
        QVERIFY(!gridHasMoreRows(*grid));
    }

    // A row keeps its cells in one block: changing one cell to a longer or
    // shorter text (or clearing it) leaves the others as they were.
    void cellsKeepTheirNeighbours_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("text");
        QTest::newRow("first longer") << 0 << "00000001-가나다라마바사";
        QTest::newRow("middle shorter") << 1 << "홍";
        QTest::newRow("middle cleared") << 1 << "";
        QTest::newRow("last longer") << 3 << "12,345,678";
        QTest::newRow("first cleared") << 0 << "";
    }
    void cellsKeepTheirNeighbours()
    {
        QFETCH(int, col);
        QFETCH(QString, text);
        DataGrid grid;
        grid.setColumns({"a", "b", "c", "d"});
        QStringList cells{"00000001", "홍길동", "", "1,000"};
        grid.setRows({cells, {"x", "y", "z", "w"}});
        grid.setCell(0, col, text);
        cells[col] = text;
        QCOMPARE(grid.rowCells(0), cells);
        QCOMPARE(grid.rowCells(1), (QStringList{"x", "y", "z", "w"}));
        grid.setCellBackground(0, 2, Qt::red); // a style given later keeps the texts
        QCOMPARE(grid.rowCells(0), cells);
        QCOMPARE(grid.cellBackground(0, 2), QColor(Qt::red));
        QVERIFY(!grid.cellBackground(0, 1).isValid());
    }

    // A page of rows already joined shows as the same page in lists of
    // cells: cut or padded to the columns, resident numbers masked, check
    // cells made check boxes, keys kept.
    void joinedRowsReadAsListed_data()
    {
        QTest::addColumn<QStringList>("cells");
        QTest::newRow("as many cells as columns") << QStringList{"00000001", "800408-2564385", "1", "1,000"};
        QTest::newRow("already masked") << QStringList{"00000002", "800408-2******", "0", "0"};
        QTest::newRow("odd resident number") << QStringList{"00000003", "80-04-2564385", "", "홍길동"};
        QTest::newRow("fewer cells") << QStringList{"00000004", "8004082564385"};
        QTest::newRow("more cells") << QStringList{"00000005", "", "1", "5", "extra", "more"};
        QTest::newRow("no cells") << QStringList{};
    }
    void joinedRowsReadAsListed()
    {
        QFETCH(QStringList, cells);
        auto grid = [] {
            auto g = std::make_unique<DataGrid>();
            g->setColumns({"회원코드", "주민번호", "수신", "금액"});
            g->setCheckColumn(2);
            return g;
        };
        auto listed = grid(), joined = grid();
        GridPage a, b;
        for (int i = 0; i < 2; ++i) {
            a.rows << cells;
            b.joined << CellRow::fromList(cells);
            a.keys << i;
            b.keys << i;
        }
        streamGridRows(*listed, GridRowSource([&a](int) { return std::exchange(a, {}); }));
        streamGridRows(*joined, GridRowSource([&b](int) { return std::exchange(b, {}); }));
        QCOMPARE(joined->rowCount(), 2);
        for (int r = 0; r < 2; ++r) {
            QCOMPARE(joined->rowCells(r), listed->rowCells(r));
            QCOMPARE(joined->rowKey(r), QVariant(r));
            QCOMPARE(joined->isChecked(r, 2), listed->isChecked(r, 2));
        }
        QVERIFY(!joined->rowCells(0).at(1).contains(QStringLiteral("2564385")));
    }
};

QTEST_MAIN(TstGridStream)
#include "tst_gridstream.moc"
