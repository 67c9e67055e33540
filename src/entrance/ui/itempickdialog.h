#pragma once
// The item lookup of the gate: goods found by name or bar code; the picked
// row's ItId is kept (TF true).

#include "catalogue/ui/picklistdialog.h"
#include "widgets/uicontext.h"

class QLineEdit;

namespace fitrova {

class ItemPickDialog : public PickListDialog {
    Q_OBJECT
public:
    explicit ItemPickDialog(UiContext &ui, QWidget *parent = nullptr);
    qint64 ItId = 0;
    void search() override;
    QLineEdit *searchField() const { return m_text; }

private:
    UiContext &m_ui;
    QLineEdit *m_text;
};

} // namespace fitrova
