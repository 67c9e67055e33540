#pragma once
// The grade list (권한등급): codes and names edited in place. A row is saved
// when the cursor leaves it; the empty last row takes a new grade; Delete
// removes the focused grade after a question.

#include "widgets/uicontext.h"

#include <QDialog>

namespace fitrova {

class DataGrid;

class GradeListScreen : public QDialog {
    Q_OBJECT
public:
    explicit GradeListScreen(UiContext &ui, QWidget *parent = nullptr);

    // Reads the grades again; the cursor goes to the grade of that code when given.
    void reload(const QString &selectCode = {});
    DataGrid *grid() const { return m_grid; }
    // True when a grade was added, changed or deleted.
    bool changed() const { return m_changed; }

    void done(int result) override;

private:
    void saveRow(int row);
    void deleteRow(int row);

    UiContext &m_ui;
    DataGrid *m_grid;
    bool m_changed = false;
    bool m_reloading = false;
};

} // namespace fitrova
