#pragma once
// The instructor editor (강사등록sub): code given by the system, name,
// telephone and whether the instructor is in use. Opened with JobGubun "N"
// (new) or "C" (change) and the code; after a new instructor is saved the
// editor is ready for the next one.

#include "widgets/uicontext.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;

namespace fitrova {

class LecturerEditDialog : public QDialog {
    Q_OBJECT
public:
    LecturerEditDialog(UiContext &ui, const QString &jobGubun, const QString &ltCode, QWidget *parent = nullptr);

    QString JobGubun;
    bool TF = false;

    void newLecturer(); // 신규
    bool save();        // 저장

signals:
    void lecturerSaved(const QString &code);

private:
    void load(const QString &code);
    void updateCaption();

    UiContext &m_ui;
    QLineEdit *m_code, *m_name, *m_tel;
    QCheckBox *m_use;
};

} // namespace fitrova
