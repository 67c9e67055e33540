#pragma once
// The lockers of a group (사물함번호생성): number, use and renter of every
// locker; more numbers through the number-range dialog, a locker taken out
// of service (or back) with its 사용 tick, a free locker deleted with Delete.

#include "lockers/lockergroups.h"
#include "widgets/uicontext.h"

#include <QWidget>

class QComboBox;
class QLabel;

namespace fitrova {

class DataGrid;

class LockerNumberScreen : public QWidget {
    Q_OBJECT
public:
    explicit LockerNumberScreen(UiContext &ui, QWidget *parent = nullptr);

    void reloadGroups();
    void reload();           // the chosen group's lockers
    void makeNumbers();      // 생성
    void deleteLocker(int row);
    void selectGroup(const QString &code);

    DataGrid *grid() const { return m_grid; }
    QSize sizeHint() const override { return QSize(720, 560); }

private:
    void useEdited(int row, int col);

    UiContext &m_ui;
    QComboBox *m_group;
    QLabel *m_count;
    DataGrid *m_grid;
    bool m_filling = false;
};

} // namespace fitrova
