#pragma once
// The login dialog (로그인), the program's first screen.
//
// Accepted: either a user is logged in (ctx.user is set, the workstation row
// and the default catalogue rows are loaded) or a maintenance login matched,
// in which case maintenanceTarget() names the screen to open instead of the
// main frame and no user is logged in. Rejected: the user cancelled the login
// (UPDATECHECK=NO has been written to the configuration).

#include "shell/users.h"
#include "widgets/uicontext.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace fitrova {

class LoginDialog : public QDialog {
    Q_OBJECT
public:
    explicit LoginDialog(UiContext &ui, QWidget *parent = nullptr);

    // The maintenance screen to open after an accepted dialog; None after a
    // user login.
    MaintenanceTarget maintenanceTarget() const { return m_target; }

    // Cancel: asks, then writes UPDATECHECK=NO and rejects the dialog.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void onOk();
    void focusField(QLineEdit *field);

    UiContext &m_ui;
    MaintenanceTarget m_target = MaintenanceTarget::None;
    QLabel *m_picture;
    QLineEdit *m_userId;
    QLineEdit *m_password;
    QLineEdit *m_pcName;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};

} // namespace fitrova
