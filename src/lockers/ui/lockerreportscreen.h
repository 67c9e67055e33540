#pragma once
// The locker transaction reports (사물함신청현황): rentals, renewals,
// everything and cancellations of a request-date range and a group, each on
// its tab, printed with the criteria and exported. A double click on a
// rental or renewal opens its correction.

#include "lockers/lockerreports.h"
#include "widgets/uicontext.h"

#include <QWidget>

class QComboBox;
class QTabWidget;

namespace fitrova {

class DataGrid;
class DateEdit;

class LockerReportScreen : public QWidget {
    Q_OBJECT
public:
    explicit LockerReportScreen(UiContext &ui, QWidget *parent = nullptr);

    // 조회: every tab for the criteria.
    void query();
    void print();
    void exportExcel();
    void showTab(LockerReportKind kind);

    DataGrid *grid(LockerReportKind kind) const { return m_grids[int(kind)]; }
    DateEdit *fromField() const { return m_from; }
    DateEdit *toField() const { return m_to; }
    QComboBox *groupField() const { return m_group; }
    QSize sizeHint() const override { return QSize(1000, 600); }

private:
    LockerReportKind currentKind() const;
    LockerReportCriteria criteria() const;

    UiContext &m_ui;
    DateEdit *m_from, *m_to;
    QComboBox *m_group;
    QTabWidget *m_tabs;
    DataGrid *m_grids[4];
};

} // namespace fitrova
