#include "messaging/ui/smstextedit.h"

#include "messaging/smstext.h"

#include <QLabel>
#include <QTextCursor>

namespace fitrova {

SmsTextEdit::SmsTextEdit(QWidget *parent, const QString &objectName, QLabel *counter,
                         std::function<QString(const QString &)> counterText)
    : QPlainTextEdit(parent), m_counter(counter), m_counterText(std::move(counterText))
{
    setObjectName(objectName);
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    connect(this, &QPlainTextEdit::textChanged, this, &SmsTextEdit::keepLimit);
    if (m_counter) {
        // Wide enough for the longest count, so that the number is never clipped.
        m_counter->setMinimumWidth(m_counter->fontMetrics().horizontalAdvance(m_counterText(QString(80, QLatin1Char('x'))))
                                   + 6);
        m_counter->setText(m_counterText(QString()));
    }
}

void SmsTextEdit::setText(const QString &text)
{
    setPlainText(text);
    moveCursor(QTextCursor::End);
}

void SmsTextEdit::insertAtCaret(const QString &text)
{
    insertPlainText(text);
    setFocus();
}

void SmsTextEdit::keepLimit()
{
    if (m_cutting)
        return;
    const QString t = toPlainText();
    if (smsBytes(t) > kSmsMaxBytes) {
        m_cutting = true;
        setPlainText(cutToSmsBytes(t));
        moveCursor(QTextCursor::End);
        m_cutting = false;
    }
    if (m_counter)
        m_counter->setText(m_counterText(toPlainText()));
}

} // namespace fitrova
