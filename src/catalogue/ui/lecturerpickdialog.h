#pragma once
// The instructor pick list (강사조회): instructors in use, narrowed to one
// course item or all of them; returns the picked code and name.

#include "catalogue/ui/picklistdialog.h"
#include "widgets/uicontext.h"

class QComboBox;

namespace fitrova {

class LecturerPickDialog : public PickListDialog {
    Q_OBJECT
public:
    explicit LecturerPickDialog(UiContext &ui, QWidget *parent = nullptr);

    QString LtCode, LtName;

    QComboBox *courseCombo() const { return m_course; }
    void search() override;

private:
    UiContext &m_ui;
    QComboBox *m_course;
};

} // namespace fitrova
