#pragma once
// Choosing a locker on the rental screens: one tab per group (STab), the
// group's lockers (SpPerBox) with their renters and the history row of each
// rental, or the same lockers as a map of tiles (배치도), and "빈사물함 보기"
// (ChkAll) to list only the free ones.

#include "lockers/lockergroups.h"
#include "lockers/lockerrental.h"
#include "widgets/uicontext.h"

#include <QList>
#include <QWidget>
#include <optional>

class QCheckBox;
class QPushButton;
class QStackedWidget;
class QTabBar;

namespace fitrova {

class DataGrid;
class LockerMap;

class LockerPicker : public QWidget {
    Q_OBJECT
public:
    explicit LockerPicker(UiContext &ui, QWidget *parent = nullptr);

    // Reads the groups (tabs) and the shown group's lockers again.
    void reload();
    void reloadLockers();
    // Shows the group's tab; false when there is no such group.
    bool showGroup(const QString &code);
    // Puts the cursor on the locker of the shown group; false when it is not listed.
    bool selectLocker(qint64 boxNum);

    std::optional<LockerGroup> currentGroup() const;
    // The locker under the cursor; nullopt when none.
    std::optional<RentalGridLine> currentLine() const;

    DataGrid *grid() const { return m_grid; }
    LockerMap *map() const { return m_map; }
    // Shows the lockers as tiles (or as the list).
    void showMap(bool map);
    QTabBar *tabs() const { return m_tabs; }
    QCheckBox *freeOnly() const { return m_free; }

signals:
    // The shown group changed (its prices are offered).
    void groupChanged();
    // The cursor moved to a locker.
    void lockerChanged();
    // Double click or Enter on a locker.
    void lockerActivated();

private:
    UiContext &m_ui;
    QTabBar *m_tabs;
    QCheckBox *m_free;
    DataGrid *m_grid;
    LockerMap *m_map;
    QStackedWidget *m_views;
    QPushButton *m_mapButton;
    QList<LockerGroup> m_groups;
    QList<RentalGridLine> m_lines;
};

} // namespace fitrova
