#include "sales/ui/goodsfilter.h"

#include "data/listitems.h"
#include "widgets/controls.h"
#include "widgets/deskguard.h"
#include "widgets/widgetutil.h"

#include <QLabel>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>

namespace fitrova {

void fillGoodsClassCombo(UiContext &ui, QComboBox *combo, const QString &course, bool withAll)
{
    ListItems items;
    if (!course.isEmpty() && course != QLatin1String("0")) {
        if (const auto found = guard(ui, DbAction::Read, [&] {
                return sclassItems(ui.app.main, QStringLiteral("S"), course, withAll, ClassItemStyle::NameWithData);
            }))
            items = *found;
    } else if (withAll) {
        items.append({QStringLiteral("모두보기"), 0});
    }
    fillCombo(combo, items);
}

GoodsFilterBar::GoodsFilterBar(UiContext &ui, QWidget *parent) : QWidget(parent), m_ui(ui)
{
    m_layout = new QHBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_course = new QComboBox(this);
    m_course->setObjectName(QStringLiteral("CobCour1"));
    m_course->setMinimumWidth(130);
    m_class = new QComboBox(this);
    m_class->setObjectName(QStringLiteral("CobScl"));
    m_class->setMinimumWidth(130);
    m_inUse = new QCheckBox(QStringLiteral("사용교구만보기"), this);
    m_inUse->setObjectName(QStringLiteral("Chk사용"));
    m_layout->addWidget(caption(this, QStringLiteral("분류1")));
    m_layout->addWidget(m_course);
    m_layout->addWidget(caption(this, QStringLiteral("분류2")));
    m_layout->addWidget(m_class);
    m_layout->addWidget(m_inUse);

    if (const auto courses = guard(ui, DbAction::Read, [&] { return courseItems(ui.app.main, QStringLiteral("S"), true); }))
        fillCombo(m_course, *courses);
    fillClasses();
    connect(m_course, &QComboBox::currentIndexChanged, this, [this] {
        fillClasses();
        emit changed();
    });
    connect(m_class, &QComboBox::currentIndexChanged, this, [this] { emit changed(); });
    connect(m_inUse, &QCheckBox::toggled, this, [this] { emit changed(); });
}

void GoodsFilterBar::fillClasses()
{
    const QSignalBlocker block(m_class);
    fillGoodsClassCombo(m_ui, m_class, comboCode(m_course), true);
}

GoodsFilter GoodsFilterBar::filter() const
{
    GoodsFilter f;
    f.course = comboCode(m_course);
    const QVariant cls = m_class->currentData();
    if (cls.isValid() && cls.toString() != QLatin1String("0"))
        f.sclass = cls.toString();
    f.onlyInUse = m_inUse->isChecked();
    return f;
}

} // namespace fitrova
