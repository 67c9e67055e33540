#pragma once
// The grid of every list in the program: rows of text cells, a hidden key per
// row, per-cell colours, check cells, drop-down and editable cells, header
// sorting, alternating stripes, total rows, printing (gridprint.h) and the
// spreadsheet export (gridexport.h).
//
// A column headed "주민번호" (or any header naming the resident registration
// number) masks its cells as they are set: the screen, the print and the
// export show "800408-2******" whatever the list handed in.
//
// Rows and columns count from 0. A row keeps its key, colours and flags when
// the grid is sorted.

#include "widgets/gridprint.h"

#include <QColor>
#include <QHeaderView>
#include <QList>
#include <QStringList>
#include <QTableView>
#include <QVariant>

namespace fitrova {

class GridModel;

class DataGrid : public QTableView {
    Q_OBJECT
public:
    // Selection colour of every grid (light cyan, #BDF4FA).
    static QColor selectionBackColor() { return QColor(0xBD, 0xF4, 0xFA); }
    // Background of total and subtotal rows.
    static QColor totalBackColor() { return QColor(0xFF, 0xF2, 0xCC); }

    explicit DataGrid(QWidget *parent = nullptr);
    ~DataGrid() override;

    // --- set-up ---------------------------------------------------------------
    // Font, font size and row height (0: from the font) of the grid.
    void setup(const QString &fontName = QStringLiteral("NanumGothic"), double pointSize = 9.5,
               int rowHeight = 0);
    // Alternating row colours: rows 0, 2, 4 … take the first, rows 1, 3, 5 …
    // the second. Cells with a back colour of their own keep it.
    void setStripes(const QColor &first, const QColor &second = QColor(0xF2, 0xF6, 0xFB));
    void clearStripes();
    bool hasStripes() const;
    // The back colour a cell shows: its own, else the stripe, else invalid.
    QColor effectiveBackground(int row, int col) const;

    // --- columns ----------------------------------------------------------------
    // Replaces the columns (and drops every row). widths in pixels; a missing
    // or non-positive width leaves the default.
    void setColumns(const QStringList &headers, const QList<int> &widths = {});
    int columnCount() const;
    QStringList headers() const;
    QString headerText(int col) const;
    void setHeaderText(int col, const QString &text);
    void setColumnWidths(const QList<int> &widths);
    // Horizontal alignment of a column (vertical is always centred).
    void setColumnAlignment(int col, Qt::Alignment align);
    Qt::Alignment columnAlignment(int col) const;
    // Lets the user edit the column's cells (maintenance grids).
    void setColumnEditable(int col, bool editable = true);
    bool isColumnEditable(int col) const;
    // Makes the column's cells drop-downs with these choices (implies editable).
    void setColumnChoices(int col, const QStringList &choices);
    QStringList columnChoices(int col) const;
    // Makes the column's cells check boxes (centred). Their text is "1" when
    // checked and "0" when not; editable columns let the user toggle them.
    void setCheckColumn(int col, bool on = true);
    bool isCheckColumn(int col) const;
    // Makes a block of cells check boxes (existing rows only).
    void setCheckCells(int col1, int row1, int col2, int row2);

    // --- rows -----------------------------------------------------------------
    int rowCount() const;
    // Appends a row; returns its index. Missing cells are empty.
    int addRow(const QStringList &cells, const QVariant &key = {});
    // Inserts a row before `row` (appends when row is out of range).
    int insertRow(int row, const QStringList &cells, const QVariant &key = {});
    // Replaces every row at once (fast path for large lists).
    void setRows(const QList<QStringList> &rows, const QVariantList &keys = {});
    void removeRow(int row);
    // Removes every row; columns stay.
    void clearRows();
    // Sets the number of rows: new rows are empty, extra rows removed.
    void setRowCount(int rows);

    QString cell(int row, int col) const;
    void setCell(int row, int col, const QString &text);
    QStringList rowCells(int row) const;
    QVariant rowKey(int row) const;
    void setRowKey(int row, const QVariant &key);

    // First row whose text in the column equals the value; -1 when none.
    int findRow(int col, const QString &value) const;
    // First row whose key equals the key; -1 when none.
    int findKey(const QVariant &key) const;

    bool isChecked(int row, int col) const;
    void setChecked(int row, int col, bool checked);

    // --- colours and styles ---------------------------------------------------
    void setCellForeground(int row, int col, const QColor &color);
    void setCellBackground(int row, int col, const QColor &color);
    QColor cellForeground(int row, int col) const; // invalid when not set
    QColor cellBackground(int row, int col) const; // invalid when not set
    void setCellBold(int row, int col, bool bold);
    bool isCellBold(int row, int col) const;
    void setCellAlignment(int row, int col, Qt::Alignment align); // overrides the column
    // Back colour of every column of the row.
    void colorRow(int row, const QColor &back);
    void setRowForeground(int row, const QColor &fore);
    void colorBlock(int col1, int row1, int col2, int row2, const QColor &back);
    void setRowBold(int row, bool bold);
    // Marks a total or subtotal row: bold on a back colour. Sorting keeps
    // total rows below the others.
    void setTotalRow(int row, const QColor &back = totalBackColor());
    bool isTotalRow(int row) const;
    // Appends a total row.
    int addTotalRow(const QStringList &cells, const QColor &back = totalBackColor());

    // --- sorting ----------------------------------------------------------------
    // Header clicks sort by the clicked column (on by default).
    void setHeaderSorting(bool on);
    bool headerSorting() const { return m_headerSorting; }
    struct SortKey {
        int col;
        Qt::SortOrder order = Qt::AscendingOrder;
    };
    // Sorts all rows by up to three keys (numbers compare as numbers,
    // "1,234" included; other text as text). Stable; total rows stay last.
    void sortRows(const QList<SortKey> &keys);

    // --- current row and selection --------------------------------------------
    int currentRow() const;   // -1 when none
    int currentColumn() const;
    void setCurrentRow(int row, int col = -1);
    void setCurrentCell(int row, int col);
    // Text of a cell; -2 for row or col means the current one; "" when empty
    // or out of range.
    QString cellText(int row, int col) const;
    // Checked rows of a check column.
    QList<int> checkedRows(int col) const;

    // --- editing ----------------------------------------------------------------
    // True when the current row has edits not yet announced by rowEdited.
    bool isRowDirty() const { return m_dirtyRow >= 0; }
    int dirtyRow() const { return m_dirtyRow; }
    // Ends an open cell editor and emits rowEdited for the edited row now
    // (call before closing a maintenance screen or before a save button).
    void commitEdits();
    // Forgets the pending edited row without announcing it.
    void discardEditedRow() { m_dirtyRow = -1; }

    // --- printing ---------------------------------------------------------------
    GridPrintSettings &printSettings() { return m_print; }
    const GridPrintSettings &printSettings() const { return m_print; }

    // Column width in pixels as set (hidden columns report their width too).
    int columnWidthPx(int col) const { return columnWidth(col); }

signals:
    // Double click or Enter on a row.
    void rowActivated(int row);
    // The current row changed away from a row whose cells the user edited
    // (or commitEdits was called): save it now.
    void rowEdited(int row);
    // The user pressed Delete on a row (the screen asks and deletes).
    void deleteRequested(int row);
    // A cell's text was changed by the user (editor or check box).
    void cellEdited(int row, int col);
    void currentRowChanged(int row, int previous);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void onCurrentChanged(const QModelIndex &current, const QModelIndex &previous);
    void onHeaderClicked(int section);
    void onUserEdit(int row, int col);

    GridModel *m_model;
    GridPrintSettings m_print;
    bool m_headerSorting = true;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    int m_dirtyRow = -1;
};

} // namespace fitrova
