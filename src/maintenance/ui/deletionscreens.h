#pragma once
// The two deletion screens: the administrator's entered-data deletion
// (입력자료삭제, menu) and the maintenance deletion (frm자료삭제, reached
// through the maintenance login). Both offer a backup of the current state
// before anything is removed.

#include "maintenance/datadeletion.h"
#include "widgets/uicontext.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace fitrova {

class EnteredDataDeletionScreen : public QWidget {
    Q_OBJECT
public:
    explicit EnteredDataDeletionScreen(UiContext &ui, QWidget *parent = nullptr);
    // Runs the deletion of the ticked groups with every question; true when removed.
    bool deleteTicked();

private:
    UiContext &m_ui;
    QList<QPair<QCheckBox *, EnteredData>> m_boxes;
    QLineEdit *m_password;
    QLabel *m_msg;
};

class MaintenanceDeletionScreen : public QWidget {
    Q_OBJECT
public:
    explicit MaintenanceDeletionScreen(UiContext &ui, QWidget *parent = nullptr);
    bool deleteTicked();
    // Brings the tables up to this program's version and reports what is missing.
    void checkStructure();

private:
    UiContext &m_ui;
    QList<QPair<QCheckBox *, MaintenanceData>> m_boxes;
    QLabel *m_msg;
};

// Asks whether to back the data up before deleting and does it; false when the
// user wanted a backup that could not be written (nothing is to be deleted then).
bool offerBackupBeforeDeleting(UiContext &ui, QWidget *parent);

} // namespace fitrova
