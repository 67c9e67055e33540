#pragma once
// The code screen (코드등록): member kinds with their discount rate and card
// companies with their rate, one tab each, edited in place.

#include "catalogue/codesequence.h"
#include "foundation/outcome.h"
#include "widgets/uicontext.h"

#include <QWidget>

class QTabWidget;

namespace fitrova {

class MaintenanceGrid;

class CodeTableScreen : public QWidget {
    Q_OBJECT
public:
    explicit CodeTableScreen(UiContext &ui, QWidget *parent = nullptr);

    MaintenanceGrid *grid(CodeTable table) const;
    QTabWidget *tabs() const { return m_tabs; }
    void reload(CodeTable table);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    Outcome saveRow(CodeTable table, int row);

    UiContext &m_ui;
    QTabWidget *m_tabs;
    MaintenanceGrid *m_kinds, *m_cards;
};

} // namespace fitrova
