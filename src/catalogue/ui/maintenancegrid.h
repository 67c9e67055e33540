#pragma once
// The shape of every code-table grid: rows edited in place, a row saved as
// soon as the cursor leaves it after a change (or Enter ends the edit, or
// the focus leaves the grid), one empty row at the bottom for typing a new
// entry, and the Delete key asking "현제 선택한 자료를 삭제하시겠읍니까?"
// (title "자료삭제") before the screen deletes.
//
// The screen supplies what is particular: how a row is saved, what keeps a
// row from being deleted (checked before the question), how it is deleted,
// and how the list is read again. Each answers with the core's outcome, which
// the grid shows; database failures of these handlers reach the desk through
// the guard with the standard texts.

#include "foundation/outcome.h"
#include "widgets/datagrid.h"

#include <functional>

namespace fitrova {

struct UiContext;

class MaintenanceGrid : public DataGrid {
    Q_OBJECT
public:
    explicit MaintenanceGrid(UiContext &ui, QWidget *parent = nullptr);

    // The column holding the row's code, given by the system: never edited;
    // a row whose code is empty is a new one.
    void setCodeColumn(int col);
    int codeColumn() const { return m_codeColumn; }
    QString rowCode(int row) const { return cell(row, m_codeColumn); }

    // Keeps one empty row at the bottom (on by default).
    void setBlankRowForNew(bool on);
    void ensureBlankRow();
    // True when every cell of the row is empty (check cells count as empty
    // when unchecked).
    bool isBlankRow(int row) const;

    // Replaces the rows, keeps the current row where it can and adds the
    // empty row.
    void load(const QList<QStringList> &rows, const QVariantList &keys = {});

    // Writes the row; a refusal keeps it as it was stored. A new row the
    // handler saved gets its code written into the code column by the handler.
    using SaveHandler = std::function<Outcome(int row)>;
    void setSaveHandler(SaveHandler handler) { m_save = std::move(handler); }
    // Runs before the question; a refusal keeps the row.
    using DeleteGuard = std::function<Outcome(int row)>;
    void setDeleteGuard(DeleteGuard guard) { m_guard = std::move(guard); }
    // Runs after the user agreed; done when the row is gone.
    using DeleteHandler = std::function<Outcome(int row)>;
    void setDeleteHandler(DeleteHandler handler) { m_delete = std::move(handler); }
    // Reads the list again; called (after the event) when a save was refused
    // or failed, so the grid shows what is stored.
    void setReloader(std::function<void()> reload) { m_reload = std::move(reload); }

    // The question and title of the Delete key.
    static QString deleteQuestion();
    static QString deleteTitle();

signals:
    void rowSaved(int row);
    void rowDeleted();

protected:
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    void onRowEdited(int row);
    void onDeleteRequested(int row);
    void onFocusChanged(QWidget *old, QWidget *now);
    void reloadLater();
    bool ownsWidget(const QWidget *w) const;

    UiContext &m_ui;
    int m_codeColumn = 0;
    bool m_blankRow = true;
    bool m_saving = false;
    SaveHandler m_save;
    DeleteGuard m_guard;
    DeleteHandler m_delete;
    std::function<void()> m_reload;
};

} // namespace fitrova
