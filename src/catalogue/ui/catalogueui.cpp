#include "catalogue/ui/catalogueui.h"

#include "data/text.h"

#include <QComboBox>
#include <QMdiSubWindow>
#include <QPushButton>

namespace fitrova {

void showMessage(Messages &msg, const CatalogueMessage &m)
{
    switch (m.kind) {
    case CatalogueMessage::Kind::Info:
        msg.info(m.text, m.title);
        break;
    case CatalogueMessage::Kind::Warn:
        msg.warn(m.text, m.title);
        break;
    case CatalogueMessage::Kind::None:
        break;
    }
}

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
