#include "sales/ui/itempicklist.h"

#include "data/text.h"
#include "sales/goods.h"
#include "sales/ui/goodsfilter.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"
#include "widgets/deskguard.h"

#include <QLabel>
#include <QHBoxLayout>
#include <QLineEdit>

namespace fitrova {

ItemPickList::ItemPickList(UiContext &ui, QWidget *parent) : PickListDialog(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("상품조회"));
    setWindowTitle(QStringLiteral("교구조회"));
    m_filter = new GoodsFilterBar(ui, this);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("TxtItName"));
    m_name->setMaxLength(60);
    m_name->setPlaceholderText(QStringLiteral("교구명 또는 바코드 (Enter)"));
    searchLayout()->addWidget(m_filter);
    searchLayout()->addWidget(caption(this, QStringLiteral("교구명")));
    searchLayout()->addWidget(m_name, 1);
    grid()->setColumns({QStringLiteral("분류1"), QStringLiteral("분류2"), QStringLiteral("교구코드"),
                        QStringLiteral("교구명"), QStringLiteral("금액"), QStringLiteral("바코드"),
                        QStringLiteral("사용")},
                       {90, 100, 76, 170, 70, 110, 40});
    grid()->setColumnAlignment(4, Qt::AlignRight);
    grid()->setCheckColumn(6);
    resize(820, 460);
    connect(m_name, &QLineEdit::returnPressed, this, [this] { search(); });
    connect(m_filter, &GoodsFilterBar::changed, this, [this] { search(); });
    connect(this, &QDialog::accepted, this, [this] { ItId = pickedKey().toLongLong(); });
    search();
}

void ItemPickList::search()
{
    GoodsFilter f = m_filter->filter();
    f.name = m_name->text();
    QList<QStringList> rows;
    QVariantList keys;
    if (const auto found = guard(m_ui, DbAction::Read, [&] { return listGoods(m_ui.app.main, f); })) {
        for (const GoodsListRow &r : *found) {
            rows << QStringList{r.courseName, r.sclassName, r.item.itCode, r.item.itName, wonText(r.item.itAmt),
                                r.item.barCode, r.item.inUse ? QStringLiteral("1") : QStringLiteral("0")};
            keys << r.item.itId;
        }
    }
    grid()->setRows(rows, keys);
    if (!rows.isEmpty())
        grid()->setCurrentRow(0);
}

} // namespace fitrova
