#pragma once
// The login to the centre's SMS account (frmSMSLogin): the customer id and
// password the provider gave the centre. On success the login is kept in
// the SMS desk for the rest of the run.

#include "messaging/smsdesk.h"
#include "widgets/uicontext.h"

#include <QDialog>

class QLineEdit;

namespace fitrova {

class SmsLoginDialog : public QDialog {
    Q_OBJECT
public:
    SmsLoginDialog(UiContext &ui, SmsDesk &desk, QWidget *parent = nullptr);

    // Checks the typed id and password; true (and the dialog accepted) when they match.
    bool login();

private:
    UiContext &m_ui;
    SmsDesk &m_desk;
    QLineEdit *m_id, *m_password;
};

} // namespace fitrova
