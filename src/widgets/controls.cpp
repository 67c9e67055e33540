#include "widgets/controls.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>

namespace fitrova {

QPushButton *commandButton(QWidget *parent, const QString &objectName, const QString &text, int minWidth,
                           bool autoDefault)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(objectName);
    b->setMinimumSize(minWidth, 30);
    b->setAutoDefault(autoDefault);
    return b;
}

QLabel *displayPanel(QWidget *parent, const QString &objectName, int minWidth, Qt::Alignment align)
{
    auto *l = new QLabel(parent);
    l->setObjectName(objectName);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setAlignment(align | Qt::AlignVCenter);
    l->setMinimumWidth(minWidth);
    l->setMinimumHeight(24);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

QLineEdit *textField(QWidget *parent, const QString &objectName, int maxLength, int width, FieldWidth widthKind)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(objectName);
    if (maxLength > 0)
        e->setMaxLength(maxLength);
    if (width > 0) {
        if (widthKind == FieldWidth::Fixed)
            e->setFixedWidth(width);
        else
            e->setMinimumWidth(width);
    }
    return e;
}

QLabel *caption(QWidget *parent, const QString &text)
{
    auto *l = new QLabel(text, parent);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

QHBoxLayout *buttonRow(std::initializer_list<QPushButton *> buttons)
{
    auto *row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton *b : buttons)
        row->addWidget(b);
    return row;
}

void closeScreen(QWidget *screen)
{
    if (auto *sub = qobject_cast<QMdiSubWindow *>(screen->parentWidget()))
        sub->close();
    else
        screen->close();
}

} // namespace fitrova
