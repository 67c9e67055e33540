#pragma once
// Small pieces the catalogue screens share: buttons, showing an action's
// message, closing a screen that may sit in a workspace window.

#include "catalogue/catalogueresult.h"
#include "widgets/messages.h"

#include <QString>

class QComboBox;
class QPushButton;
class QWidget;

namespace fitrova {

// A command button with its object name and caption, of the screens' size.
QPushButton *makeButton(QWidget *parent, const QString &objectName, const QString &text);

// Shows the message of an action (nothing when it has none).
void showMessage(Messages &msg, const CatalogueMessage &m);

// Selects the item whose code (the text before "-") equals the code;
// false when there is none (the selection stays).
bool selectComboCode(QComboBox *combo, const QString &code);

// Closes the screen: its workspace window when it sits in one, else itself.
void closeScreen(QWidget *screen);

} // namespace fitrova
