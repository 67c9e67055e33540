#include "lockers/ui/lockerui.h"

#include "lockers/lockertexts.h"
#include "widgets/dateedit.h"
#include "widgets/moneyedit.h"

#include <QComboBox>

namespace fitrova {

void fillGroupCombo(QComboBox *combo, const QList<LockerGroup> &groups, const QString &allText)
{
    const QString keep = selectedGroupCode(combo);
    const QSignalBlocker block(combo);
    combo->clear();
    if (!allText.isEmpty())
        combo->addItem(allText, QString());
    for (const LockerGroup &g : groups)
        combo->addItem(g.code + QLatin1Char('-') + g.name, g.code);
    const int at = combo->findData(keep);
    combo->setCurrentIndex(at >= 0 && !keep.isEmpty() ? at : (combo->count() > 0 ? 0 : -1));
}

QString selectedGroupCode(const QComboBox *combo)
{
    return combo->currentIndex() < 0 ? QString() : combo->currentData().toString();
}

QComboBox *monthCombo(QWidget *parent, const QString &objectName)
{
    auto *c = new QComboBox(parent);
    c->setObjectName(objectName);
    const QStringList items = monthCountItems();
    for (int i = 0; i < items.size(); ++i)
        c->addItem(items[i], i + 1);
    return c;
}

void selectMonths(QComboBox *combo, int months)
{
    const int at = combo->findData(months);
    combo->setCurrentIndex(at >= 0 ? at : 0);
}

int selectedMonths(const QComboBox *combo) { return combo->currentData().toInt(); }

MoneyEdit *wonField(QWidget *parent, const QString &objectName, const QString &fieldName)
{
    auto *e = new MoneyEdit(parent, objectName, fieldName);
    e->setMaximumWidth(120);
    return e;
}

DateEdit *dayField(QWidget *parent, const QString &objectName, const QDate &day)
{
    auto *e = new DateEdit(day, parent);
    e->setObjectName(objectName);
    e->setMinimumWidth(112);
    return e;
}

} // namespace fitrova
