#pragma once
// Small pieces the catalogue screens share: selecting a combo item by its code.

#include <QString>

class QComboBox;

namespace fitrova {

// Selects the item whose code (the text before "-") equals the code;
// false when there is none (the selection stays).
bool selectComboCode(QComboBox *combo, const QString &code);

} // namespace fitrova
