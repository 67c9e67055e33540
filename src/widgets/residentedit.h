#pragma once
// The resident number's second part on the member card. The field keeps the
// stored number and shows it masked ("2******"); only a user allowed to see
// it (grade 1) gets the full number, and only while the field has the focus.
// Others may type a number into an empty field (a new member) but cannot
// read or change a stored one.

#include <QLineEdit>

namespace fitrova {

class ResidentEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit ResidentEdit(QWidget *parent = nullptr, const QString &objectName = {});

    // Users of grade 1 see and edit the full number while editing.
    void setRevealAllowed(bool allowed);
    bool revealAllowed() const { return m_reveal; }

    // The stored number; shown masked unless the field is being edited.
    void setFullText(const QString &text);
    // What the field holds: the number being typed while it is edited.
    QString fullText() const;

protected:
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;

private:
    bool editing() const { return hasFocus() && !isReadOnly(); }
    void showMasked();

    QString m_full;
    bool m_reveal = false;
};

} // namespace fitrova
