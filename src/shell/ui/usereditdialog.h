#pragma once
// The user editor (사용자등록sub), opened by the user list with the job
// ("N" new, "C" change) and, for a change, the staff number.
//
// On a change an empty password field keeps the stored password; on a new
// user the password is required. After saving a new user the editor stays
// open on that user (further saves change it); after saving a change it closes.

#include "widgets/uicontext.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace fitrova {

class UserEditDialog : public QDialog {
    Q_OBJECT
public:
    UserEditDialog(UiContext &ui, const QString &jobGubun, const QString &psCode = {}, QWidget *parent = nullptr);

    QString jobGubun() const { return m_jobGubun; }
    QString psCode() const { return m_psCode; }
    // True when something was saved (the opener refreshes its list).
    bool saved() const { return m_saved; }

signals:
    // A user was stored under this staff number.
    void userSaved(const QString &psCode);

private:
    void load();
    void fillGrades(const QString &select);
    bool save();
    void openGrades();
    void updatePasswordHint();

    UiContext &m_ui;
    QString m_jobGubun, m_psCode;
    bool m_saved = false;
    QLineEdit *m_txtPsCode, *m_txtUserName, *m_txtUserId, *m_txtPass;
    QLabel *m_passHint;
    QComboBox *m_cobGrd;
    QCheckBox *m_chkUse;
};

} // namespace fitrova
