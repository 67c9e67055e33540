#pragma once
// The goods small classes (상품분류, caption "상품분류 설정"): a code grid where
// a name typed on the empty bottom row adds a class under the next code, an
// edited name is saved when the cursor leaves the row, and Delete removes a
// class no item uses.

#include "widgets/uicontext.h"

#include <QWidget>

#include "foundation/outcome.h"

namespace fitrova {

class MaintenanceGrid;

class GoodsClassScreen : public QWidget {
    Q_OBJECT
public:
    explicit GoodsClassScreen(UiContext &ui, QWidget *parent = nullptr);
    QSize sizeHint() const override { return QSize(380, 440); }
    MaintenanceGrid *grid() const { return m_grid; }
    void reload();

private:
    Outcome saveRow(int row);

    UiContext &m_ui;
    MaintenanceGrid *m_grid;
};

} // namespace fitrova
