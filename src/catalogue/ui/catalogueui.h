#pragma once
// Small pieces the catalogue screens share: showing an action's message,
// selecting a combo item by its code.

#include "catalogue/catalogueresult.h"
#include "widgets/controls.h"
#include "widgets/messages.h"

#include <QString>

class QComboBox;
class QPushButton;
class QWidget;

namespace fitrova {

// Shows the message of an action (nothing when it has none).
void showMessage(Messages &msg, const CatalogueMessage &m);

// Selects the item whose code (the text before "-") equals the code;
// false when there is none (the selection stays).
bool selectComboCode(QComboBox *combo, const QString &code);

} // namespace fitrova
