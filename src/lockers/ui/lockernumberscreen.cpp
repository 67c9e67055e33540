#include "lockers/ui/lockernumberscreen.h"

#include "data/text.h"
#include "lockers/ui/lockerrangedialog.h"
#include "lockers/ui/lockerui.h"
#include "widgets/datagrid.h"
#include "widgets/deskguard.h"
#include "widgets/gridexport.h"
#include "widgets/gridprint.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace fitrova {

namespace {
enum Col { CNum, CUse, CMbCode, CMbName, CFrom, CTo };
}

LockerNumberScreen::LockerNumberScreen(UiContext &ui, QWidget *parent) : QWidget(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("사물함번호생성"));
    setWindowTitle(QStringLiteral("사물함번호 생성"));

    m_group = new QComboBox(this);
    m_group->setObjectName(QStringLiteral("CobPerbox"));
    m_group->setMinimumWidth(240);
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("PnlCount"));

    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("SpPerBoxS"));
    m_grid->setColumns({QStringLiteral("번호"), QStringLiteral("사용"), QStringLiteral("회원코드"),
                        QStringLiteral("회원명"), QStringLiteral("기간1"), QStringLiteral("기간2")},
                       {70, 50, 90, 140, 100, 100});
    m_grid->setColumnAlignment(CNum, Qt::AlignRight | Qt::AlignVCenter);
    for (int c : {int(CMbCode), int(CFrom), int(CTo)})
        m_grid->setColumnAlignment(c, Qt::AlignCenter);
    m_grid->setCheckColumn(CUse);
    m_grid->setColumnEditable(CUse);

    auto *cmdMake = commandButton(this, QStringLiteral("Cmd생성"), QStringLiteral("번호생성"));
    auto *cmdPrint = commandButton(this, QStringLiteral("Cmd인쇄"), QStringLiteral("인쇄"));
    auto *cmdExcel = commandButton(this, QStringLiteral("Cmd엑셀"), QStringLiteral("엑셀"));
    auto *cmdClose = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"));

    auto *top = new QHBoxLayout;
    top->addWidget(caption(this, QStringLiteral("사물함구분 : ")));
    top->addWidget(m_group);
    top->addSpacing(12);
    top->addWidget(m_count, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdMake);
    buttons->addStretch();
    for (QPushButton *b : {cmdPrint, cmdExcel, cmdClose})
        buttons->addWidget(b);
    auto *lay = new QVBoxLayout(this);
    lay->setContentsMargins(8, 8, 8, 8);
    lay->addLayout(top);
    lay->addWidget(m_grid, 1);
    lay->addLayout(buttons);

    connect(m_group, &QComboBox::currentIndexChanged, this, [this] { reload(); });
    connect(cmdMake, &QPushButton::clicked, this, &LockerNumberScreen::makeNumbers);
    connect(cmdPrint, &QPushButton::clicked, this, [this] {
        printGridPreview(*m_grid, QStringLiteral("사물함번호 현황"), m_group->currentText(), QString(), QString(),
                         false, -1, 0, -1, m_ui.app.business.name);
    });
    connect(cmdExcel, &QPushButton::clicked, this,
            [this] { exportGridForUser(m_ui, QStringLiteral("사물함번호"), *m_grid); });
    connect(cmdClose, &QPushButton::clicked, this, [this] { closeScreen(this); });
    connect(m_grid, &DataGrid::cellEdited, this, &LockerNumberScreen::useEdited);
    connect(m_grid, &DataGrid::deleteRequested, this, &LockerNumberScreen::deleteLocker);

    reloadGroups();
}

void LockerNumberScreen::reloadGroups()
{
    const auto groups = guard(m_ui, DbAction::Read, [&] { return lockerGroups(m_ui.app.main); });
    if (groups)
        fillGroupCombo(m_group, *groups);
    reload();
}

void LockerNumberScreen::selectGroup(const QString &code)
{
    const int at = m_group->findData(code);
    if (at >= 0)
        m_group->setCurrentIndex(at);
}

void LockerNumberScreen::reload()
{
    const QString code = selectedGroupCode(m_group);
    const int keep = m_grid->currentRow();
    m_filling = true;
    m_grid->clearRows();
    m_count->clear();
    if (!code.isEmpty()) {
        const auto lines = guard(m_ui, DbAction::Read, [&] { return lockerLines(m_ui.app.main, code); });
        if (lines) {
            QList<QStringList> rows;
            QVariantList keys;
            int rented = 0;
            for (const LockerLine &l : *lines) {
                rows << QStringList{QString::number(l.boxNum), l.rented() ? QStringLiteral("1") : QStringLiteral("0"),
                                    l.mbCode, l.mbName, l.stDate, l.endDate};
                keys << l.boxNum;
                rented += l.rented() ? 1 : 0;
            }
            m_grid->setRows(rows, keys);
            m_count->setText(QStringLiteral("사물함 %1개, 사용중 %2개").arg(lines->size()).arg(rented));
        }
    }
    if (keep >= 0 && keep < m_grid->rowCount())
        m_grid->setCurrentRow(keep);
    m_filling = false;
}

void LockerNumberScreen::makeNumbers()
{
    const QString code = selectedGroupCode(m_group);
    if (code.isEmpty()) {
        m_ui.msg.warn(QStringLiteral("사물함코드를 먼저 만든후 번호를 생성하세요"), QStringLiteral("번호생성"));
        return;
    }
    LockerRangeDialog dlg(m_ui, code, nameOf(m_group->currentText()), this);
    dlg.exec();
    if (dlg.TF)
        reload();
}

void LockerNumberScreen::useEdited(int row, int col)
{
    if (m_filling || col != CUse)
        return;
    const QString code = selectedGroupCode(m_group);
    const qint64 num = m_grid->rowKey(row).toLongLong();
    const bool inUse = m_grid->isChecked(row, CUse);
    const auto o = guard(m_ui, DbAction::Update, [&] { return setLockerInUse(m_ui.app, code, num, inUse); });
    if (o)
        showOutcome(m_ui, *o);
    reload();
}

void LockerNumberScreen::deleteLocker(int row)
{
    if (row < 0)
        return;
    const QString code = selectedGroupCode(m_group);
    const qint64 num = m_grid->rowKey(row).toLongLong();
    const auto check = guard(m_ui, DbAction::Read, [&] { return checkLockerDelete(m_ui.app.main, code, num); });
    if (!check || !showOutcome(m_ui, *check))
        return;
    if (!m_ui.msg.ask(QStringLiteral("현제 선택한 자료를 삭제하시겠읍니까?"), QStringLiteral("자료삭제")))
        return;
    const auto o = guard(m_ui, DbAction::Delete, [&] { return fitrova::deleteLocker(m_ui.app, code, num); });
    if (o)
        showOutcome(m_ui, *o);
    reload();
}

} // namespace fitrova
