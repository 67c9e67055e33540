#include "sales/ui/salesreportscardpick.h"

#include "sales/salesreports.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"
#include "widgets/deskguard.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace fitrova {

CardCompanyPick::CardCompanyPick(UiContext &ui, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("카드사조회"));
    setWindowTitle(QStringLiteral("카드사조회"));
    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("SpCard"));
    m_grid->setColumns({QStringLiteral("코드"), QStringLiteral("카드사")}, {50, 160});
    m_grid->setColumnAlignment(0, Qt::AlignCenter);
    m_grid->setHeaderSorting(false);
    if (const auto cards = guard(ui, DbAction::Read, [&] { return cardCompanies(ui.app.main); }))
        for (const CardCompany &c : *cards)
            m_grid->addRow({c.code, c.name}, c.code);
    auto *ok = commandButton(this, QStringLiteral("Cmd선택"), QStringLiteral("선택"), 64);
    auto *quit = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"), 64);
    auto *lay = new QVBoxLayout(this);
    lay->addWidget(m_grid, 1);
    lay->addLayout(buttonRow({ok, quit}));
    connect(m_grid, &DataGrid::rowActivated, this, &CardCompanyPick::pick);
    connect(ok, &QPushButton::clicked, this, [this] { pick(m_grid->currentRow()); });
    connect(quit, &QPushButton::clicked, this, &QDialog::reject);
    if (m_grid->rowCount() > 0)
        m_grid->setCurrentRow(0);
    resize(260, 340);
}

bool CardCompanyPick::pick(int row)
{
    if (row < 0 || row >= m_grid->rowCount())
        return false;
    code = m_grid->cell(row, 0);
    name = m_grid->cell(row, 1);
    accept();
    return true;
}

} // namespace fitrova
