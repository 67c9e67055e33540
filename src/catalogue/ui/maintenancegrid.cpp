#include "catalogue/ui/maintenancegrid.h"

#include "widgets/deskguard.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>

namespace fitrova {

MaintenanceGrid::MaintenanceGrid(UiContext &ui, QWidget *parent) : DataGrid(parent), m_ui(ui)
{
    setHeaderSorting(false);
    connect(this, &DataGrid::rowEdited, this, &MaintenanceGrid::onRowEdited);
    connect(this, &DataGrid::deleteRequested, this, &MaintenanceGrid::onDeleteRequested);
    connect(qApp, &QApplication::focusChanged, this, &MaintenanceGrid::onFocusChanged);
}

QString MaintenanceGrid::deleteQuestion() { return QStringLiteral("현제 선택한 자료를 삭제하시겠읍니까?"); }
QString MaintenanceGrid::deleteTitle() { return QStringLiteral("자료삭제"); }

void MaintenanceGrid::setCodeColumn(int col)
{
    m_codeColumn = col;
    setColumnEditable(col, false);
}

void MaintenanceGrid::setBlankRowForNew(bool on)
{
    m_blankRow = on;
    if (on)
        ensureBlankRow();
}

bool MaintenanceGrid::isBlankRow(int row) const
{
    for (int c = 0; c < columnCount(); ++c) {
        const QString t = cell(row, c);
        if (isCheckColumn(c) ? t == QLatin1String("1") : !t.trimmed().isEmpty())
            return false;
    }
    return true;
}

void MaintenanceGrid::ensureBlankRow()
{
    if (!m_blankRow)
        return;
    const int n = rowCount();
    if (n == 0 || !isBlankRow(n - 1) || !rowCode(n - 1).isEmpty())
        addRow({});
}

void MaintenanceGrid::load(const QList<QStringList> &rows, const QVariantList &keys)
{
    const int current = currentRow();
    const int column = qMax(0, currentColumn());
    discardEditedRow();
    setRows(rows, keys);
    ensureBlankRow();
    if (current >= 0 && rowCount() > 0)
        setCurrentCell(qMin(current, rowCount() - 1), column);
}

void MaintenanceGrid::onRowEdited(int row)
{
    if (!m_save || row < 0 || row >= rowCount() || m_saving)
        return;
    // A new row left empty is not a new entry.
    if (rowCode(row).isEmpty() && isBlankRow(row))
        return;
    m_saving = true;
    const std::optional<Outcome> r = guard(m_ui, DbAction::Save, [&] { return m_save(row); });
    const bool ok = r && showOutcome(m_ui, *r);
    m_saving = false;
    if (ok) {
        ensureBlankRow();
        emit rowSaved(row);
    } else {
        reloadLater();
    }
}

void MaintenanceGrid::onDeleteRequested(int row)
{
    commitEdits();
    if (row < 0 || row >= rowCount() || rowCode(row).isEmpty())
        return;
    if (m_guard) {
        const std::optional<Outcome> check = guard(m_ui, DbAction::Delete, [&] { return m_guard(row); });
        if (!check || !showOutcome(m_ui, *check))
            return;
    }
    if (!m_ui.msg.ask(deleteQuestion(), deleteTitle()) || !m_delete)
        return;
    const std::optional<Outcome> r = guard(m_ui, DbAction::Delete, [&] { return m_delete(row); });
    if (!r) {
        reloadLater();
        return;
    }
    if (!showOutcome(m_ui, *r))
        return;
    removeRow(row);
    ensureBlankRow();
    if (rowCount() > 0)
        setCurrentCell(qMin(row, rowCount() - 1), qMax(0, currentColumn()));
    emit rowDeleted();
}

void MaintenanceGrid::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    DataGrid::closeEditor(editor, hint);
    // Enter in a cell editor ends the edit: the row is saved and the cursor
    // goes on to the next row (the empty row after the last one).
    if (hint == QAbstractItemDelegate::SubmitModelCache && isRowDirty()) {
        const int row = dirtyRow();
        const int col = currentColumn();
        commitEdits();
        if (row + 1 < rowCount())
            setCurrentCell(row + 1, col);
    }
}

bool MaintenanceGrid::ownsWidget(const QWidget *w) const
{
    return w && (w == this || isAncestorOf(w));
}

void MaintenanceGrid::onFocusChanged(QWidget *old, QWidget *now)
{
    // Leaving the grid for another field, button or tab ends the edit.
    if (now && ownsWidget(old) && !ownsWidget(now) && isRowDirty())
        commitEdits();
}

void MaintenanceGrid::reloadLater()
{
    if (!m_reload)
        return;
    QPointer<MaintenanceGrid> self(this);
    QTimer::singleShot(0, this, [self] {
        if (self && self->m_reload)
            self->m_reload();
    });
}

} // namespace fitrova
