#pragma once
// The shape of every report screen: the criteria on top, the commands
// 조회/인쇄/엑셀/닫기 (and the report's own ones), the shared grid with its
// subtotal and total rows, an optional chart pane beside the grid, and a
// status line. 조회 runs the report's query on a thread of its own
// (reportrunner.h): the window stays responsive, the busy notice with its
// 취소 button shows over the grid while it runs, and Esc or 취소 cancels.
//
// A report derives from ReportScreen, lays its inputs into criteria(), and
// implements three things:
//
//     bool startQuery() override
//     {
//         const auto c = readCriteria();   // refuses bad input with a message
//         if (!c)
//             return false;
//         run<VisitListView>(QStringLiteral("집계중입니다.."),
//             [c = *c](const Db &db) { return visitListView(db, c); },  // off the screen's thread
//             [this](VisitListView &v) { m_list = v.list; showTable(v.table); });
//         return true;
//     }
//     ReportPrint printSpec() const override { return {title, period line, filter line, ...}; }
//     QString exportName() const override { return QStringLiteral("입장현황"); }
//
// The work function gets a connection of its own and must touch nothing of
// the screen; it is the place to build the grid's rows (ReportTable) too, so
// that large lists are formatted away from the window.

#include "data/db.h"
#include "widgets/deskguard.h"
#include "widgets/gridstream.h"
#include "widgets/uicontext.h"

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class QChartView;
class QComboBox;
class QFrame;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QSplitter;
class QTimer;

namespace fitrova {

class DataGrid;
class ReportRunner;

// The rows of a report as the grid shows them. Subtotal and total rows are
// drawn bold on a coloured background and stay where they are put.
struct ReportTable {
    QList<QStringList> rows;
    QVariantList keys;
    QList<int> subtotalRows, totalRows;

    int add(const QStringList &cells, const QVariant &key = {})
    {
        rows.append(cells);
        keys.append(key);
        return int(rows.size()) - 1;
    }
    int addSubtotal(const QStringList &cells)
    {
        subtotalRows.append(add(cells));
        return subtotalRows.last();
    }
    int addTotal(const QStringList &cells)
    {
        totalRows.append(add(cells));
        return totalRows.last();
    }
};

// A long report read a page at a time, in the report's order: at most
// maxLines lines after the line `after` (nullptr: from the first).
template <typename Line>
using LinePager = std::function<QList<Line>(const Db &db, const Line *after, int maxLines)>;

// Turns the lines of a streamed report into grid rows as they arrive: line()
// for each, end() once after the last (the total rows). The two are called
// one after the other, first on the query's thread, then on the screen's, so
// they may keep running sums in what they capture.
template <typename Line>
struct LineFormat {
    std::function<void(ReportTable &, const Line &)> line;
    std::function<void(ReportTable &)> end;
};

// --- inputs the reports share ----------------------------------------------------

// A drop-down list of the criteria panel.
QComboBox *reportCombo(QWidget *parent, const QString &objectName, int minWidth = 110);
// Two inputs of a range with "~" between them.
QHBoxLayout *reportRange(QWidget *from, QWidget *to);
// Several inputs in one cell of the criteria grid.
QHBoxLayout *reportRow(std::initializer_list<QWidget *> widgets, bool stretch = true);
// The code in front of the chosen "code-name" or "code.name" item; "" for the
// all item ("0-모두보기", "A-ALL", "모두보기").
QString chosenCode(const QComboBox *combo);
// The chosen item's text; "" for the all item.
QString chosenText(const QComboBox *combo);
// The text of the chosen item for a print line: the item, or "모두보기".
QString chosenLabel(const QComboBox *combo);
// Fills the course-item (group P), instructor and program lists of a report
// and keeps the program list following the course and the instructor (the
// program's PgID is the item data). Any list may be nullptr.
void linkProgramLists(UiContext &ui, QComboBox *course, QComboBox *lecturer, QComboBox *program,
                      bool courseWithAll = true);
// "(from~to)".
QString periodText(const QString &from, const QString &to);

// What the printed page repeats above the grid: the title and up to three
// lines of criteria (the first centred, the others left).
struct ReportPrint {
    QString title{}, line2{}, line3{}, line4{};
    bool landscape = true;
};

class ReportScreen : public QWidget {
    Q_OBJECT
public:
    // Background of subtotal rows (totals take the grid's total colour).
    static QColor subtotalBackColor() { return QColor(0xE8, 0xF0, 0xFA); }

    ReportScreen(UiContext &ui, QWidget *parent, const QString &objectName, const QString &caption);
    ~ReportScreen() override;

    QSize sizeHint() const override { return QSize(1000, 640); }
    DataGrid *grid() const { return m_grid; }

    // 조회: reads the criteria and starts the query. False when the criteria
    // were refused (the user has been told).
    bool query();
    // 인쇄: the grid through the print preview, headed by the report's title
    // and criteria.
    void print();
    // Dresses the grid for printing as print() does, without the preview.
    void preparePrint();
    // 엑셀: the grid into the EXCEL folder.
    void exportExcel();
    // Reads the lines of a streamed report the grid has not read yet.
    void readAllLines();

    bool isBusy() const;
    // 취소 (or Esc): the running query is interrupted and its result dropped;
    // the grid keeps what it showed before.
    void cancelQuery();
    // Runs the event loop until the running query has been shown; false when
    // it is still running after msecs. For tests and scripted use.
    bool waitForQuery(int msecs = 30000);
    // The busy notice over the grid (visible only while a query runs longer
    // than a moment).
    QFrame *busyPanel() const { return m_busy; }

    // The chart pane (nullptr when the report has none).
    QChartView *chartView() const { return m_chart; }
    // Saves the chart as a picture (.png) or a page (.pdf) by the file's
    // suffix; false when it could not be written.
    bool exportChart(const QString &path);

    // Text of the status line beside the commands (counts).
    QString statusText() const;

protected:
    // Reads the inputs and calls run(); false after refusing them.
    virtual bool startQuery() = 0;
    virtual ReportPrint printSpec() const = 0;
    // Name of the spreadsheet file ("입장현황" gives 입장현황20240510093000.xlsx).
    virtual QString exportName() const = 0;

    UiContext &ui() const { return m_ui; }
    // The grid layout of the criteria panel, for the report's inputs.
    QGridLayout *criteria() const { return m_criteria; }
    // A command of the report, placed before 닫기.
    QPushButton *addCommand(const QString &objectName, const QString &text);
    // Columns of the grid: headers, widths (pixels), and the columns drawn
    // right-aligned (amounts, counts) and centred.
    void setColumns(const QStringList &headers, const QList<int> &widths, const QList<int> &rightAligned = {},
                    const QList<int> &centred = {});
    // Sorting by header clicks; off for reports with subtotal rows.
    void setSortable(bool on);
    // Adds the chart pane beside (Horizontal) or below (Vertical) the grid,
    // with the command 그래프저장.
    QChartView *enableChart(Qt::Orientation orientation = Qt::Horizontal);
    // Another pane beside the grid (after it).
    void addPane(QWidget *pane, int stretch = 1);
    // Widths (or heights) of the grid and the panes beside it.
    void setPaneSizes(const QList<int> &sizes);
    // A note under the grid (the report's help line).
    void setNote(const QString &text);
    void setStatus(const QString &text);

    void showTable(const ReportTable &table);
    // A period whose start lies after its end is refused ("조회기간을 확인하여
    // 주십시요.") and the cursor put on focus.
    bool checkPeriod(const QString &from, const QString &to, QWidget *focus);

    // Runs work(db) off the screen's thread and hands its value to show() on
    // the screen's thread; a database failure is shown with the standard read
    // error instead. busyText is the notice shown while it runs.
    template <typename R>
    void run(const QString &busyText, std::function<R(const Db &)> work, std::function<void(R &)> show)
    {
        auto result = std::make_shared<std::optional<R>>();
        startJob(
            busyText, [work = std::move(work), result](const Db &db) { result->emplace(work(db)); },
            [show = std::move(show), result] {
                if (*result)
                    show(**result);
            });
    }

    // A report of more lines than a screen shows at once (a month of visits):
    // off the screen's thread, head(db) reads what heads the list (a count)
    // and the first page of lines is read and formatted; the grid then reads
    // the following pages on the screen's connection as it scrolls, and
    // sorting, printing and the export read the rest first. shown() gets
    // the head when the first page is shown.
    template <typename Line, typename Head>
    void runStream(const QString &busyText, std::function<Head(const Db &)> head, LinePager<Line> pager,
                   std::shared_ptr<LineFormat<Line>> format, std::function<void(Head &)> shown)
    {
        struct First {
            Head head;
            ReportTable table;
            std::optional<Line> last; // set when more lines may follow
        };
        run<First>(
            busyText,
            [head = std::move(head), pager, format](const Db &db) {
                First f{head(db), {}, {}};
                const QList<Line> lines = pager(db, nullptr, kGridPageRows);
                for (const Line &l : lines)
                    format->line(f.table, l);
                if (lines.size() < kGridPageRows)
                    format->end(f.table);
                else
                    f.last = lines.last();
                return f;
            },
            [this, pager, format, shown = std::move(shown)](First &f) {
                shown(f.head);
                if (!f.last) {
                    showStream(f.table, {});
                    return;
                }
                auto last = std::make_shared<Line>(std::move(*f.last));
                showStream(f.table, [this, pager, format, last](int maxRows) {
                    ReportTable t;
                    const auto lines =
                        guard(ui(), DbAction::Read, [&] { return pager(ui().app.main, last.get(), maxRows); });
                    const bool more = lines && lines->size() >= maxRows;
                    if (lines) {
                        for (const Line &l : *lines)
                            format->line(t, l);
                        if (!lines->isEmpty())
                            *last = lines->last();
                    }
                    if (!more)
                        format->end(t); // a failed read (told) ends the list with what it has
                    return pageOf(t, more);
                });
            });
    }

    // Shows the first rows and lets the grid read the others from rest as it
    // scrolls (no rest: the first are all).
    void showStream(const ReportTable &first, GridRowSource rest);
    // The table as a page of the grid, its total and subtotal rows marked.
    static GridPage pageOf(const ReportTable &table, bool more);

    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void startJob(const QString &busyText, std::function<void(const Db &)> work, std::function<void()> shown);
    void endJob();
    void placeBusy();
    void saveChart();

    UiContext &m_ui;
    ReportRunner *m_runner;
    QGridLayout *m_criteria;
    QHBoxLayout *m_commands;
    QPushButton *m_query, *m_print, *m_excel, *m_close, *m_cancel;
    QPushButton *m_chartSave = nullptr;
    DataGrid *m_grid;
    QSplitter *m_split;
    QChartView *m_chart = nullptr;
    QLabel *m_status, *m_note;
    QFrame *m_busy;
    QLabel *m_busyText;
    QTimer *m_busyDelay;
};

} // namespace fitrova
