#pragma once
// The locker board (사물함현황): one tab per group (STab) with its lockers as
// a map of tiles or as a list (SpPerBoxS), filtered by use (CobChk); the
// chosen locker's history (SpRqPerBox) and its renter's card and enrollments
// (SpLect). Delete (or 해지) releases a rented locker; the renter's rental
// can be renewed, moved or cancelled from here.

#include "lockers/lockerboard.h"
#include "widgets/uicontext.h"

#include <QList>
#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;
class QStackedWidget;
class QTabBar;
class QTabWidget;

namespace fitrova {

class DataGrid;
class LockerMap;

class LockerBoardScreen : public QWidget, public ScreenArgsReceiver {
    Q_OBJECT
public:
    explicit LockerBoardScreen(UiContext &ui, QWidget *parent = nullptr);

    // BoxCode (and BoxNum): shows that group (and chooses that locker).
    void applyScreenArgs(const ScreenArgs &args) override;

    void reload();            // groups and the shown group's lockers
    void reloadLockers();
    bool showGroup(const QString &code);
    bool chooseLocker(qint64 boxNum);
    // The chosen locker; 0 when none.
    qint64 currentNumber() const { return m_current; }
    QString currentGroupCode() const;
    // 해지 / Delete: releases the chosen locker after the questions.
    void releaseCurrent();
    // Opens a rental screen (사물함재등록, 사물함변경, 사물함취소) for the chosen locker's renter.
    void openRentalScreen(const QString &name);
    void showMapView(bool map);

    LockerMap *map() const { return m_map; }
    DataGrid *list() const { return m_list; }
    DataGrid *history() const { return m_history; }
    BoardCounts counts() const { return boardCounts(m_lockers); }
    QSize sizeHint() const override { return QSize(1000, 610); }

private:
    void lockerChosen(qint64 boxNum);
    void showRenter(const BoardLocker *l);
    const BoardLocker *lockerOf(qint64 boxNum) const;
    void updateLegend();

    UiContext &m_ui;
    QTabBar *m_tabs;
    QComboBox *m_filter;
    QLabel *m_legend;
    QStackedWidget *m_views;
    LockerMap *m_map;
    DataGrid *m_list, *m_history, *m_lect;
    QLabel *m_photo, *m_mbCode, *m_mbName, *m_tel1, *m_tel2, *m_addr, *m_juno, *m_card, *m_kind, *m_period;
    QPushButton *m_cmdRenew, *m_cmdMove, *m_cmdCancel, *m_cmdRelease, *m_cmdMap, *m_cmdList;
    QList<BoardLocker> m_lockers;
    qint64 m_current = 0;
    bool m_syncing = false;
};

} // namespace fitrova
