#pragma once
// Small pieces the member screens share: command buttons, labelled display
// panels, a typed date field, and opening a member on the member card.

#include <QLabel>
#include <QString>
#include <functional>

class QLineEdit;
class QPushButton;
class QWidget;

namespace fitrova {

class Messages;

// A command button with its object name and caption.
QPushButton *memberButton(QWidget *parent, const QString &objectName, const QString &text, int minWidth = 72);

// A read-only display panel (sunken label) with its object name.
QLabel *memberPanel(QWidget *parent, const QString &objectName, int minWidth = 60);

// A caption label.
QLabel *caption(QWidget *parent, const QString &text);

// Normalises a typed date in the field to "YYYY-MM-DD". Empty stays empty.
// A text that is no date is refused with "일자를 수정하세요" (title
// "일자ERROR"), left in the field for correcting; returns false then.
bool normalizeDateField(QLineEdit *field, const QDate &today, Messages &msg);

// Closes the screen: its workspace window when it sits in one, else itself.
void closeMemberScreen(QWidget *screen);

} // namespace fitrova
