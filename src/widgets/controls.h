#pragma once
// Small controls every screen builds the same way: command buttons, sunken
// display panels and right-aligned captions, each found by its object name.

#include <QString>
#include <Qt>
#include <initializer_list>

class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace fitrova {

// A command button with its object name and caption. Enter on a focused
// button presses it only when autoDefault is on (dialog OK buttons).
QPushButton *commandButton(QWidget *parent, const QString &objectName, const QString &text, int minWidth = 84,
                           bool autoDefault = false);

// A read-only display panel (sunken label) with its object name; its text can
// be selected and copied.
QLabel *displayPanel(QWidget *parent, const QString &objectName, int minWidth = 60,
                     Qt::Alignment align = Qt::AlignLeft);

// A text input with its object name, the longest text it takes (0: no
// limit) and its width: fixed, or the least it shrinks to (0: the layout's).
enum class FieldWidth { Minimum, Fixed };
QLineEdit *textField(QWidget *parent, const QString &objectName, int maxLength = 0, int width = 0,
                     FieldWidth widthKind = FieldWidth::Minimum);

// A caption label, aligned to the field it names.
QLabel *caption(QWidget *parent, const QString &text);

// The bottom row of a dialog: the buttons pushed to the right.
QHBoxLayout *buttonRow(std::initializer_list<QPushButton *> buttons);

// Closes a screen: its workspace window when it sits in one, else itself.
void closeScreen(QWidget *screen);

} // namespace fitrova
