#include "catalogue/ui/catalogueui.h"

#include "data/text.h"

#include <QComboBox>

namespace fitrova {

bool selectComboCode(QComboBox *combo, const QString &code)
{
    for (int i = 0; i < combo->count(); ++i)
        if (codeOf(combo->itemText(i)) == code) {
            combo->setCurrentIndex(i);
            return true;
        }
    return false;
}

} // namespace fitrova
