#pragma once
// Long lists that the grid reads as it scrolls.
//
// A list of tens of thousands of rows is handed to the grid as a source of
// pages instead of all at once: the grid reads the first page at once and the
// next whenever the user scrolls near the end of what it holds (Qt's
// canFetchMore/fetchMore). Everything that needs the whole list first reads
// the rest: sorting by a header, printing, the spreadsheet export
// (fetchAllGridRows), so they keep working on all rows.
//
// The rows the grid holds are stored compactly (one text block per row, the
// styles only where a cell has one), so a whole list of 100,000 members stays
// well within the memory of a desk workstation.

#include "data/cellrow.h"

#include <QColor>
#include <QList>
#include <QStringList>
#include <QVariant>
#include <functional>

namespace fitrova {

class DataGrid;

// One page of a list: its rows' cells and their keys (the row keys of the grid).
struct GridPage {
    QList<QStringList> rows;
    // Or the rows already joined (long reads, which save a string per cell);
    // a page carries one or the other.
    QList<CellRow> joined;
    QVariantList keys;
    // Rows of the page drawn as totals (bold on the given colour, the grid's
    // total colour when invalid), by their index in the page: the total
    // line a report puts under its last row.
    QList<std::pair<int, QColor>> totalRows;
    // False once the source has handed over its last row.
    bool more = false;
};

// Reads the next page of at most maxRows rows. A source that fails (a database
// error) tells the user itself and returns a page without more.
using GridRowSource = std::function<GridPage(int maxRows)>;

// Hands one page of a long read to the grid (called once a page, in order).
using GridPageSink = std::function<void(GridPage &&page)>;

// A source that hands a long read over a page at a time as it reads, so that
// what it has handed over can be let go before it reads on (a whole list of
// 100,000 members for the print): reads at most maxRows rows into deliver
// and returns false once it has handed over its last row.
using GridPagedSource = std::function<bool(int maxRows, const GridPageSink &deliver)>;

// Rows the grid asks for at a time while the user scrolls.
inline constexpr int kGridPageRows = 200;

// Replaces the grid's rows with the list the source delivers: reads the first
// page now, the others as the grid scrolls. Columns stay.
void streamGridRows(DataGrid &grid, GridRowSource source, int pageRows = kGridPageRows);
void streamGridRows(DataGrid &grid, GridPagedSource source, int pageRows = kGridPageRows);

// True while the source has rows the grid has not read yet.
bool gridHasMoreRows(const DataGrid &grid);

// Reads every row still in the source into the grid (one large read instead of
// page after page). Nothing to do for a grid filled by setRows/addRow.
void fetchAllGridRows(const DataGrid &grid);

} // namespace fitrova
