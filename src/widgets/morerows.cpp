#include "widgets/morerows.h"

#include "widgets/controls.h"
#include "widgets/datagrid.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

namespace fitrova {

MoreRowsBar::MoreRowsBar(DataGrid *grid, const QString &name, QWidget *parent) : QWidget(parent), m_grid(grid)
{
    m_count = new QLabel(this);
    m_count->setObjectName(name + QStringLiteral("건수"));
    // A count that grows does not lay the window out again: the label keeps
    // the width of a large count and paints over its own background.
    m_count->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_count->setMinimumWidth(m_count->fontMetrics().horizontalAdvance(QStringLiteral("전체 999,999건 중 999,999건")) + 8);
    m_count->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    m_count->setAutoFillBackground(true);
    m_button = commandButton(this, name + QStringLiteral("더보기"), QStringLiteral("더보기"), 64);
    m_button->setEnabled(false);
    auto *lay = new QHBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->addStretch();
    lay->addWidget(m_count);
    lay->addWidget(m_button);
    connect(m_button, &QPushButton::clicked, this, &MoreRowsBar::moreRequested);
    connect(m_grid->verticalScrollBar(), &QScrollBar::valueChanged, this, &MoreRowsBar::onScrolled);
}

void MoreRowsBar::setState(const QString &countText, bool more)
{
    m_count->setText(countText);
    m_more = more;
    m_button->setEnabled(more);
}

void MoreRowsBar::onScrolled(int value)
{
    const QScrollBar *bar = m_grid->verticalScrollBar();
    if (m_more && value > 0 && value == bar->maximum())
        emit moreRequested();
}

} // namespace fitrova
