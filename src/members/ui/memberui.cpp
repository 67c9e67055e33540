#include "members/ui/memberui.h"

#include "data/dates.h"
#include "widgets/messages.h"

#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>

namespace fitrova {

QPushButton *memberButton(QWidget *parent, const QString &objectName, const QString &text, int minWidth)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(objectName);
    b->setMinimumWidth(minWidth);
    b->setMinimumHeight(28);
    b->setAutoDefault(false);
    return b;
}

QLabel *memberPanel(QWidget *parent, const QString &objectName, int minWidth)
{
    auto *l = new QLabel(parent);
    l->setObjectName(objectName);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setMinimumWidth(minWidth);
    l->setMinimumHeight(24);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

QLabel *caption(QWidget *parent, const QString &text)
{
    auto *l = new QLabel(text, parent);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

bool normalizeDateField(QLineEdit *field, const QDate &today, Messages &msg)
{
    const QString typed = field->text().trimmed();
    if (typed.isEmpty())
        return true;
    const QString d = normalizeDate(typed, today);
    if (d.isEmpty()) {
        msg.warn(QStringLiteral("일자를 수정하세요"), QStringLiteral("일자ERROR"));
        return false;
    }
    if (d != field->text())
        field->setText(d);
    return true;
}

void closeMemberScreen(QWidget *screen)
{
    if (auto *sub = qobject_cast<QMdiSubWindow *>(screen->parentWidget()))
        sub->close();
    else
        screen->close();
}

} // namespace fitrova
