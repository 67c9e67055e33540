#pragma once
// The instructor list (강사등록): every instructor or only those in use;
// 신규 and 수정 open the editor, Delete removes an instructor no program uses.

#include "widgets/uicontext.h"

#include <QWidget>

class QCheckBox;

namespace fitrova {

class DataGrid;

class LecturerListScreen : public QWidget {
    Q_OBJECT
public:
    explicit LecturerListScreen(UiContext &ui, QWidget *parent = nullptr);

    DataGrid *grid() const { return m_grid; }
    void refresh(const QString &selectCode = {});
    void openEditor(bool isNew);
    void deleteCurrent();

private:
    QString currentCode() const;

    UiContext &m_ui;
    DataGrid *m_grid;
    QCheckBox *m_onlyInUse;
};

} // namespace fitrova
