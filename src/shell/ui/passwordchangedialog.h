#pragma once
// Password change (비밀번호변경): the user ID (the logged-in user's), the
// current password and the new one twice.

#include "widgets/uicontext.h"

#include <QDialog>

class QLineEdit;

namespace fitrova {

class PasswordChangeDialog : public QDialog {
    Q_OBJECT
public:
    explicit PasswordChangeDialog(UiContext &ui, QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void onOk();

    UiContext &m_ui;
    QLineEdit *m_userId, *m_current, *m_new1, *m_new2;
};

} // namespace fitrova
