#include "catalogue/ui/catalogueui.h"

#include "data/text.h"

#include <QComboBox>
#include <QMdiSubWindow>
#include <QPushButton>

namespace fitrova {

QPushButton *makeButton(QWidget *parent, const QString &objectName, const QString &text)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(objectName);
    b->setMinimumSize(84, 32);
    b->setAutoDefault(false);
    return b;
}

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

void closeScreen(QWidget *screen)
{
    if (auto *sub = qobject_cast<QMdiSubWindow *>(screen->parentWidget()))
        sub->close();
    else
        screen->close();
}

} // namespace fitrova
