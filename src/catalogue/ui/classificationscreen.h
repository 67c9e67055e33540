#pragma once
// The classification screen (분류등록, "강좌/상품 분류설정"): items and their
// small classes of the course group (강좌분류) or the goods group (교구분류),
// both edited in place in two grids.

#include "foundation/outcome.h"
#include "widgets/uicontext.h"

#include <QWidget>

class QRadioButton;

namespace fitrova {

class MaintenanceGrid;

class ClassificationScreen : public QWidget {
    Q_OBJECT
public:
    explicit ClassificationScreen(UiContext &ui, QWidget *parent = nullptr);

    // "P" or "S".
    QString group() const { return m_group; }
    void setGroup(const QString &group);
    // The item whose classes the class grid shows ("" for none).
    QString shownItem() const { return m_classesOf; }

    MaintenanceGrid *itemGrid() const { return m_items; }
    MaintenanceGrid *classGrid() const { return m_classes; }

    void reloadItems();
    void reloadClasses();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    Outcome saveItem(int row);
    Outcome saveClass(int row);
    void openCourseItems();
    void onItemRowChanged(int row, bool force = false);

    UiContext &m_ui;
    QString m_group = QStringLiteral("P");
    QString m_classesOf;
    QRadioButton *m_optCourse, *m_optGoods;
    MaintenanceGrid *m_items, *m_classes;
};

} // namespace fitrova
