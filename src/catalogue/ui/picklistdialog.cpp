#include "catalogue/ui/picklistdialog.h"

#include "widgets/controls.h"
#include "widgets/datagrid.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace fitrova {

PickListDialog::PickListDialog(QWidget *parent) : QDialog(parent)
{
    m_search = new QHBoxLayout;
    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("SpList"));

    QPushButton *cmdPick = commandButton(this, QStringLiteral("Cmd선택"), QStringLiteral("선택"));
    QPushButton *cmdClose = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdPick);
    buttons->addWidget(cmdClose);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(10, 10, 10, 10);
    outer->addLayout(m_search);
    outer->addWidget(m_grid, 1);
    outer->addLayout(buttons);

    connect(m_grid, &DataGrid::rowActivated, this, [this](int) { pickCurrent(); });
    connect(cmdPick, &QPushButton::clicked, this, [this] { pickCurrent(); });
    connect(cmdClose, &QPushButton::clicked, this, [this] {
        TF = false;
        reject();
    });
}

bool PickListDialog::pickCurrent()
{
    const int row = m_grid->currentRow();
    if (row < 0 || row >= m_grid->rowCount())
        return false;
    m_row = row;
    m_key = m_grid->rowKey(row);
    TF = true;
    accept();
    return true;
}

} // namespace fitrova
