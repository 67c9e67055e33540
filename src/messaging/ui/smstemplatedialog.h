#pragma once
// The template editor (frmSmstmForm), opened "NEW" for a new template or
// "EDIT" for the chosen one: a title and a text of at most 80 bytes, with
// buttons that put the placeholders {{이름}}, {{날짜}} and {{사용처}} at the
// caret.

#include "messaging/smsdesk.h"
#include "messaging/smsmessages.h"
#include "widgets/uicontext.h"

#include <QDialog>

class QLabel;
class QLineEdit;

namespace fitrova {

class SmsTextEdit;

class SmsTemplateDialog : public QDialog {
    Q_OBJECT
public:
    // A new template when t.idx is 0, else that template.
    SmsTemplateDialog(UiContext &ui, SmsDesk &desk, const SmsTemplate &t, QWidget *parent = nullptr);

    // Saves; true when saved (the dialog is then accepted).
    bool save();
    // The template as saved (its idx set).
    const SmsTemplate &saved() const { return m_template; }

private:
    UiContext &m_ui;
    SmsDesk &m_desk;
    SmsTemplate m_template;
    QLineEdit *m_title;
    SmsTextEdit *m_text;
    QLabel *m_counter;
};

} // namespace fitrova
