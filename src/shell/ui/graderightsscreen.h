#pragma once
// Programs granted to a grade (등급별프로그램설정): the grantable programs
// with a tick for those the chosen grade holds. Ticking grants, clearing
// withdraws, the "all" box does either for every program; Delete takes a
// program off the list.

#include "widgets/uicontext.h"

#include <QWidget>

class QCheckBox;
class QComboBox;

namespace fitrova {

class DataGrid;

class GradeRightsScreen : public QWidget {
    Q_OBJECT
public:
    explicit GradeRightsScreen(UiContext &ui, QWidget *parent = nullptr);

    // The chosen grade: the first character of the selected item.
    QString grade() const;
    // Shows the programs for the chosen grade again (DispSpPgLST).
    void display();
    DataGrid *grid() const { return m_grid; }

    static constexpr int kCheckColumn = 3;

private:
    void fillGrades(const QString &select);
    void onCellEdited(int row, int col);
    void onAllClicked(bool checked);
    void deleteRow(int row);
    void openGrades();

    UiContext &m_ui;
    QComboBox *m_cobGrd;
    DataGrid *m_grid;
    QCheckBox *m_chkAll;
    bool m_filling = false;
};

} // namespace fitrova
