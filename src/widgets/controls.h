#pragma once
// Small controls every screen builds the same way: command buttons, sunken
// display panels and right-aligned captions, each found by its object name.

#include <QString>
#include <Qt>
#include <initializer_list>

class QHBoxLayout;
class QLabel;
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

// A caption label, aligned to the field it names.
QLabel *caption(QWidget *parent, const QString &text);

// The bottom row of a dialog: the buttons pushed to the right.
QHBoxLayout *buttonRow(std::initializer_list<QPushButton *> buttons);

// Closes a screen: its workspace window when it sits in one, else itself.
void closeScreen(QWidget *screen);

} // namespace fitrova
