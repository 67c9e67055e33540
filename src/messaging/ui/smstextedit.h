#pragma once
// The message box of the SMS screens: plain text kept to 80 code-page bytes.
// When the text grows past the limit it is cut back to its first 80 bytes
// (between whole characters) with the caret at the end; the counter label
// follows every change.

#include <QPlainTextEdit>
#include <functional>

class QLabel;

namespace fitrova {

class SmsTextEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    // counterText makes the counter's text from the message ("37/80byte").
    SmsTextEdit(QWidget *parent, const QString &objectName, QLabel *counter,
                std::function<QString(const QString &)> counterText);

    QString text() const { return toPlainText(); }
    void setText(const QString &text);
    // Inserts at the caret (a placeholder), then keeps the limit.
    void insertAtCaret(const QString &text);

private:
    void keepLimit();

    QLabel *m_counter;
    std::function<QString(const QString &)> m_counterText;
    bool m_cutting = false;
};

} // namespace fitrova
