#include "widgets/residentedit.h"

#include "data/privacy.h"

#include <QFocusEvent>

namespace fitrova {

ResidentEdit::ResidentEdit(QWidget *parent, const QString &objectName) : QLineEdit(parent)
{
    setObjectName(objectName);
}

void ResidentEdit::setRevealAllowed(bool allowed)
{
    m_reveal = allowed;
}

void ResidentEdit::setFullText(const QString &text)
{
    m_full = text.trimmed();
    if (hasFocus() && (m_reveal || m_full.isEmpty())) {
        setReadOnly(false);
        setText(m_full);
    } else {
        showMasked();
    }
}

QString ResidentEdit::fullText() const
{
    return editing() ? text().trimmed() : m_full;
}

void ResidentEdit::showMasked()
{
    // The second part alone: its first digit stays, the rest is masked.
    setText(m_full.isEmpty() ? QString() : maskedResidentParts(QStringLiteral("000000"), m_full).second);
    setModified(false);
}

void ResidentEdit::focusInEvent(QFocusEvent *e)
{
    const bool editable = m_reveal || m_full.isEmpty();
    setReadOnly(!editable);
    if (editable)
        setText(m_full);
    QLineEdit::focusInEvent(e);
}

void ResidentEdit::focusOutEvent(QFocusEvent *e)
{
    if (!isReadOnly())
        m_full = text().trimmed();
    // The base class ends the editing (editingFinished) on the full number.
    QLineEdit::focusOutEvent(e);
    // A message box shown while the editing ended may already have moved on.
    if (!hasFocus())
        showMasked();
}

} // namespace fitrova
