#pragma once
// The points status report (포인트현황, menu "포인트현황"): members whose
// balance reaches a minimum, with the ledger's sums; print, export, and a
// double click that opens the member on the member card.

#include "members/pointstatus.h"
#include "widgets/uicontext.h"

#include <QWidget>
#include <functional>

class QLabel;
class QLineEdit;

namespace fitrova {

class DataGrid;

class PointStatusScreen : public QWidget {
    Q_OBJECT
public:
    using OpenMember = std::function<void(const QString &mbCode)>;
    PointStatusScreen(UiContext &ui, QWidget *parent = nullptr, OpenMember openMember = {});

    void setOpenMember(OpenMember fn) { m_openMember = std::move(fn); }
    QSize sizeHint() const override { return QSize(860, 560); }
    bool query();
    void print();
    void exportExcel();
    DataGrid *grid() const { return m_grid; }

private:
    UiContext &m_ui;
    OpenMember m_openMember;
    QLineEdit *m_min;
    DataGrid *m_grid;
    QLabel *m_count;
};

} // namespace fitrova
