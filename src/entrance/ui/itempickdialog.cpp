#include "entrance/ui/itempickdialog.h"

#include "entrance/gatelists.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"
#include "widgets/deskguard.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace fitrova {

ItemPickDialog::ItemPickDialog(UiContext &ui, QWidget *parent) : PickListDialog(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("교구조회"));
    setWindowTitle(QStringLiteral("교구조회"));
    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("Txt찾기"));
    m_text->setMaxLength(60);
    searchLayout()->addWidget(caption(this, QStringLiteral("교구명/바코드")));
    searchLayout()->addWidget(m_text, 1);
    grid()->setColumns({QStringLiteral("분류1"), QStringLiteral("분류2"), QStringLiteral("교구명"),
                        QStringLiteral("바코드")},
                       {90, 90, 160, 110});
    connect(m_text, &QLineEdit::returnPressed, this, [this] { search(); });
    connect(this, &QDialog::accepted, this, [this] { ItId = pickedKey().toLongLong(); });
    search();
}

void ItemPickDialog::search()
{
    QList<QStringList> rows;
    QVariantList keys;
    const auto items = guard(m_ui, DbAction::Read, [&] { return searchItems(m_ui.app.main, m_text->text()); });
    for (const GateItem &item : items.value_or(QList<GateItem>())) {
        rows << QStringList{item.className, item.sclassName, item.name, item.barCode};
        keys << item.itId;
    }
    grid()->setRows(rows, keys);
}

} // namespace fitrova
