#pragma once
// The program list (강좌등록): every program with one row per month count of
// its fee table, optionally only those in use; new period or time-based
// programs, change, delete, print and export as "강좌시간표".

#include "widgets/uicontext.h"

#include <QWidget>

class QCheckBox;

namespace fitrova {

class DataGrid;

class ProgramListScreen : public QWidget {
    Q_OBJECT
public:
    explicit ProgramListScreen(UiContext &ui, QWidget *parent = nullptr);

    DataGrid *grid() const { return m_grid; }
    // DispSpProg1: fills the grid; keeps the program of selectPgid current.
    void refresh(qint64 selectPgid = 0);
    qint64 currentPgid() const;

    void newProgram();
    void newTimeProgram();
    void editCurrent();
    void deleteCurrent();
    void printList();
    void exportList();

private:
    void openCourseItems();

    UiContext &m_ui;
    DataGrid *m_grid;
    QCheckBox *m_onlyInUse;
};

} // namespace fitrova
