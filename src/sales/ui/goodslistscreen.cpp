#include "sales/ui/goodslistscreen.h"

#include "catalogue/ui/maintenancegrid.h"
#include "data/text.h"
#include "sales/goods.h"
#include "sales/ui/goodseditdialog.h"
#include "sales/ui/goodsfilter.h"
#include "widgets/busynotice.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"
#include "widgets/deskguard.h"
#include "widgets/gridexport.h"
#include "widgets/gridprint.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace fitrova {

namespace {
enum Col { ColCourse, ColClass, ColCode, ColName, ColAmt, ColBar, ColUse };
}

GoodsListScreen::GoodsListScreen(UiContext &ui, QWidget *parent) : QWidget(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("상품등록"));
    setWindowTitle(QStringLiteral("교구등록"));

    m_filter = new GoodsFilterBar(ui, this);
    m_filter->row()->addStretch();

    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("SpItem"));
    m_grid->setColumns({QStringLiteral("분류1"), QStringLiteral("분류2"), QStringLiteral("교구코드"),
                        QStringLiteral("교구명"), QStringLiteral("금액"), QStringLiteral("바코드"),
                        QStringLiteral("사용")},
                       {100, 110, 80, 200, 80, 120, 44});
    m_grid->setColumnAlignment(ColCode, Qt::AlignCenter);
    m_grid->setColumnAlignment(ColAmt, Qt::AlignRight);
    m_grid->setCheckColumn(ColUse);

    QPushButton *cmdNew = commandButton(this, QStringLiteral("Cmd신규"), QStringLiteral("신규"));
    QPushButton *cmdEdit = commandButton(this, QStringLiteral("Cmd수정"), QStringLiteral("수정"));
    QPushButton *cmdDel = commandButton(this, QStringLiteral("Cmd삭제"), QStringLiteral("삭제"));
    QPushButton *cmdClass = commandButton(this, QStringLiteral("Cmd분류"), QStringLiteral("분류설정"));
    QPushButton *cmdPrint = commandButton(this, QStringLiteral("Cmd인쇄"), QStringLiteral("인쇄"));
    QPushButton *cmdExcel = commandButton(this, QStringLiteral("Cmd엑셀"), QStringLiteral("엑셀"));
    QPushButton *cmdClose = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdClass);
    buttons->addStretch();
    for (QPushButton *b : {cmdNew, cmdEdit, cmdDel, cmdPrint, cmdExcel, cmdClose})
        buttons->addWidget(b);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(10, 10, 10, 10);
    outer->addWidget(m_filter);
    outer->addWidget(m_grid, 1);
    outer->addLayout(buttons);
    resize(820, 520);

    connect(m_filter, &GoodsFilterBar::changed, this, [this] { dispSpItem(currentId()); });
    connect(cmdNew, &QPushButton::clicked, this, [this] { openEditor(true); });
    connect(cmdEdit, &QPushButton::clicked, this, [this] { openEditor(false); });
    connect(cmdDel, &QPushButton::clicked, this, [this] { deleteCurrent(); });
    connect(cmdClass, &QPushButton::clicked, this, [this] { m_ui.openScreen(QStringLiteral("상품분류")); });
    connect(cmdPrint, &QPushButton::clicked, this, &GoodsListScreen::printList);
    connect(cmdExcel, &QPushButton::clicked, this, &GoodsListScreen::exportList);
    connect(cmdClose, &QPushButton::clicked, this, [this] { closeScreen(this); });
    connect(m_grid, &DataGrid::rowActivated, this, [this](int) { openEditor(false); });
    connect(m_grid, &DataGrid::deleteRequested, this, [this](int) { deleteCurrent(); });

    dispSpItem();
}

void GoodsListScreen::dispSpItem(qint64 selectId)
{
    std::optional<QList<GoodsListRow>> found;
    {
        WaitCursor wait;
        found = guard(m_ui, DbAction::Read, [&] { return listGoods(m_ui.app.main, m_filter->filter()); });
    }
    QList<QStringList> rows;
    QVariantList keys;
    if (found) {
        for (const GoodsListRow &r : *found) {
            const GoodsItem &it = r.item;
            rows << QStringList{r.courseName, r.sclassName, it.itCode, it.itName, wonText(it.itAmt), it.barCode,
                                it.inUse ? QStringLiteral("1") : QStringLiteral("0")};
            keys << it.itId;
        }
    }
    m_grid->setRows(rows, keys);
    const int row = selectId > 0 ? m_grid->findKey(selectId) : -1;
    if (row >= 0)
        m_grid->setCurrentRow(row);
    else if (!rows.isEmpty())
        m_grid->setCurrentRow(0);
}

qint64 GoodsListScreen::currentId() const
{
    const int row = m_grid->currentRow();
    return row < 0 ? 0 : m_grid->rowKey(row).toLongLong();
}

void GoodsListScreen::openEditor(bool isNew)
{
    const qint64 id = isNew ? 0 : currentId();
    if (!isNew && id <= 0)
        return;
    GoodsEditDialog dlg(m_ui, isNew ? QStringLiteral("N") : QStringLiteral("C"), id, this);
    if (isNew) {
        // The editor starts on the course and class the list shows.
        const GoodsFilter f = m_filter->filter();
        dlg.preset(f.course, f.sclass);
    }
    connect(&dlg, &GoodsEditDialog::itemSaved, this, [this](qint64 saved) { dispSpItem(saved); });
    dlg.exec();
}

bool GoodsListScreen::deleteCurrent()
{
    const qint64 id = currentId();
    if (id <= 0)
        return false;
    if (!m_ui.msg.ask(MaintenanceGrid::deleteQuestion(), MaintenanceGrid::deleteTitle()))
        return false;
    const int row = m_grid->currentRow();
    const auto o = guard(m_ui, DbAction::Delete, [&] { return deleteGoodsItem(m_ui.app.main, id); });
    if (!o || !showOutcome(m_ui, *o))
        return false;
    dispSpItem();
    if (m_grid->rowCount() > 0)
        m_grid->setCurrentRow(qMin(row, m_grid->rowCount() - 1));
    return true;
}

void GoodsListScreen::printList()
{
    printGridPreview(*m_grid, QStringLiteral("교구LIST"), QString(), QString(), QString(), false, 0, 1, 0,
                     m_ui.app.business.name);
}

void GoodsListScreen::exportList() { exportGridForUser(m_ui, QStringLiteral("상품LIST"), *m_grid); }

} // namespace fitrova
