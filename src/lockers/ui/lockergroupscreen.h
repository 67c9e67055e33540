#pragma once
// The locker groups (사물함코드등록): code, name, course, deposit and fee of
// every group with its locker numbers; a new group or a change in the group
// editor, the deletion of a group without rented lockers, and more numbers
// for a group in the number-range dialog.

#include "lockers/lockergroups.h"
#include "widgets/uicontext.h"

#include <QList>
#include <QWidget>

namespace fitrova {

class DataGrid;

class LockerGroupScreen : public QWidget {
    Q_OBJECT
public:
    explicit LockerGroupScreen(UiContext &ui, QWidget *parent = nullptr);

    // SpPerBox_Set: the list read again; the selected group stays selected.
    void reload();
    // The code of the selected group; "" when none.
    QString selectedCode() const;
    void selectCode(const QString &code);

    void newGroup();    // 신규
    void changeGroup(); // 수정
    void deleteGroup(); // 삭제
    void makeNumbers(); // 생성
    void print();
    void exportExcel();

    DataGrid *grid() const { return m_grid; }
    QSize sizeHint() const override { return QSize(760, 480); }

private:
    UiContext &m_ui;
    DataGrid *m_grid;
    QList<LockerGroupLine> m_lines;
};

} // namespace fitrova
