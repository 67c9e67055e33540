#include "sales/ui/goodsclassscreen.h"

#include "catalogue/ui/maintenancegrid.h"
#include "sales/goods.h"
#include "widgets/controls.h"
#include "widgets/deskguard.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace fitrova {

namespace {
enum Col { ColCode, ColName };
}

GoodsClassScreen::GoodsClassScreen(UiContext &ui, QWidget *parent) : QWidget(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("상품분류"));
    setWindowTitle(QStringLiteral("상품분류 설정"));

    m_grid = new MaintenanceGrid(ui, this);
    m_grid->setObjectName(QStringLiteral("SpScl"));
    m_grid->setColumns({QStringLiteral("코드"), QStringLiteral("상품항목")}, {60, 220});
    m_grid->setCodeColumn(ColCode);
    m_grid->setColumnAlignment(ColCode, Qt::AlignCenter);
    m_grid->setColumnEditable(ColName);
    m_grid->horizontalHeader()->setStretchLastSection(true);

    auto *hint = new QLabel(QStringLiteral("맨 아래 빈 줄에 이름을 입력하면 코드가 붙어 추가되고, "
                                           "고친 줄은 다른 줄로 옮기면 저장됩니다. 삭제는 Delete 키."),
                            this);
    hint->setWordWrap(true);
    QPushButton *cmdClose = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"));

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(10, 10, 10, 10);
    outer->addWidget(m_grid, 1);
    outer->addWidget(hint);
    outer->addLayout(buttonRow({cmdClose}));
    resize(380, 420);

    m_grid->setSaveHandler([this](int row) { return saveRow(row); });
    m_grid->setReloader([this] { reload(); });
    m_grid->setDeleteGuard([this](int row) { return checkGoodsClassDeletable(m_ui.app.main, m_grid->rowCode(row)); });
    m_grid->setDeleteHandler([this](int row) { return deleteGoodsClass(m_ui.app.main, m_grid->rowCode(row)); });
    connect(cmdClose, &QPushButton::clicked, this, [this] {
        m_grid->commitEdits();
        closeScreen(this);
    });
    reload();
}

void GoodsClassScreen::reload()
{
    QList<QStringList> rows;
    if (const auto classes = guard(m_ui, DbAction::Read, [&] { return listGoodsClasses(m_ui.app.main); }))
        for (const GoodsClass &c : *classes)
            rows.append({c.code, c.name});
    m_grid->load(rows);
}

Outcome GoodsClassScreen::saveRow(int row)
{
    const QString code = m_grid->rowCode(row);
    const QString name = m_grid->cell(row, ColName);
    Outcome o = code.isEmpty() ? addGoodsClass(m_ui.app.main, name) : renameGoodsClass(m_ui.app.main, code, name);
    if (o.saved && code.isEmpty())
        m_grid->setCell(row, ColCode, o.code);
    return o;
}

} // namespace fitrova
