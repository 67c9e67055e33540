#include "lockers/ui/lockergroupscreen.h"

#include "data/text.h"
#include "lockers/ui/lockergroupdialog.h"
#include "lockers/ui/lockerrangedialog.h"
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
enum Col { CCode, CName, CCourse, CDeposit, CFee, CRange, CCount, CRented, CCols };
}

LockerGroupScreen::LockerGroupScreen(UiContext &ui, QWidget *parent) : QWidget(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("사물함코드등록"));
    setWindowTitle(QStringLiteral("사물함코드 등록"));

    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("SpPerBox"));
    m_grid->setColumns({QStringLiteral("코드"), QStringLiteral("사물함명칭"), QStringLiteral("강좌"),
                        QStringLiteral("보증금"), QStringLiteral("월사용료"), QStringLiteral("번호"),
                        QStringLiteral("수량"), QStringLiteral("사용중")},
                       {50, 200, 100, 90, 90, 100, 56, 56});
    for (int c : {int(CDeposit), int(CFee), int(CCount), int(CRented)})
        m_grid->setColumnAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
    for (int c : {int(CCode), int(CRange)})
        m_grid->setColumnAlignment(c, Qt::AlignCenter);

    auto *cmdNew = commandButton(this, QStringLiteral("Cmd신규"), QStringLiteral("신규"));
    auto *cmdChange = commandButton(this, QStringLiteral("Cmd수정"), QStringLiteral("수정"));
    auto *cmdDelete = commandButton(this, QStringLiteral("Cmd삭제"), QStringLiteral("삭제"));
    auto *cmdMake = commandButton(this, QStringLiteral("Cmd생성"), QStringLiteral("번호생성"));
    auto *cmdPrint = commandButton(this, QStringLiteral("Cmd인쇄"), QStringLiteral("인쇄"));
    auto *cmdExcel = commandButton(this, QStringLiteral("Cmd엑셀"), QStringLiteral("엑셀"));
    auto *cmdClose = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"));
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {cmdNew, cmdChange, cmdDelete, cmdMake})
        buttons->addWidget(b);
    buttons->addStretch();
    for (QPushButton *b : {cmdPrint, cmdExcel, cmdClose})
        buttons->addWidget(b);

    auto *lay = new QVBoxLayout(this);
    lay->setContentsMargins(8, 8, 8, 8);
    lay->addWidget(m_grid, 1);
    lay->addLayout(buttons);

    connect(cmdNew, &QPushButton::clicked, this, &LockerGroupScreen::newGroup);
    connect(cmdChange, &QPushButton::clicked, this, &LockerGroupScreen::changeGroup);
    connect(cmdDelete, &QPushButton::clicked, this, &LockerGroupScreen::deleteGroup);
    connect(cmdMake, &QPushButton::clicked, this, &LockerGroupScreen::makeNumbers);
    connect(cmdPrint, &QPushButton::clicked, this, &LockerGroupScreen::print);
    connect(cmdExcel, &QPushButton::clicked, this, &LockerGroupScreen::exportExcel);
    connect(cmdClose, &QPushButton::clicked, this, [this] { closeScreen(this); });
    connect(m_grid, &DataGrid::rowActivated, this, [this](int) { changeGroup(); });
    connect(m_grid, &DataGrid::deleteRequested, this, [this](int) { deleteGroup(); });

    reload();
}

void LockerGroupScreen::reload()
{
    const QString keep = selectedCode();
    const auto lines = guard(m_ui, DbAction::Read, [&] { return lockerGroupLines(m_ui.app.main); });
    if (!lines)
        return;
    m_lines = *lines;
    QList<QStringList> rows;
    QVariantList keys;
    for (const LockerGroupLine &l : m_lines) {
        rows << QStringList{l.group.code,
                            l.group.name,
                            l.group.course.isEmpty() ? QString() : l.group.course + QLatin1Char('-') + l.courseName,
                            wonText(l.group.deposit),
                            wonText(l.group.fee),
                            lockerRangeText(l.lockers, l.minNum, l.maxNum),
                            QString::number(l.lockers),
                            QString::number(l.rented)};
        keys << l.group.code;
    }
    m_grid->setRows(rows, keys);
    selectCode(keep);
}

QString LockerGroupScreen::selectedCode() const
{
    const int r = m_grid->currentRow();
    return r < 0 ? QString() : m_grid->rowKey(r).toString();
}

void LockerGroupScreen::selectCode(const QString &code)
{
    const int r = code.isEmpty() ? -1 : m_grid->findKey(code);
    if (r >= 0)
        m_grid->setCurrentRow(r);
    else if (m_grid->rowCount() > 0)
        m_grid->setCurrentRow(0);
}

void LockerGroupScreen::newGroup()
{
    LockerGroupDialog dlg(m_ui, QStringLiteral("N"), QString(), this);
    connect(&dlg, &LockerGroupDialog::saved, this, [this](const QString &code) {
        reload();
        selectCode(code);
    });
    dlg.exec();
}

void LockerGroupScreen::changeGroup()
{
    const QString code = selectedCode();
    if (code.isEmpty()) {
        m_ui.msg.info(QStringLiteral("수정할 사물함코드를 선택하세요"), QStringLiteral("수정"));
        return;
    }
    LockerGroupDialog dlg(m_ui, QStringLiteral("C"), code, this);
    connect(&dlg, &LockerGroupDialog::saved, this, [this] { reload(); });
    dlg.exec();
}

void LockerGroupScreen::deleteGroup()
{
    const QString code = selectedCode();
    if (code.isEmpty())
        return;
    const auto check = guard(m_ui, DbAction::Read, [&] { return checkLockerGroupDelete(m_ui.app.main, code); });
    if (!check || !showOutcome(m_ui, *check))
        return;
    if (!m_ui.msg.ask(QStringLiteral("현제 선택한 자료를 삭제하시겠읍니까?"), QStringLiteral("자료삭제")))
        return;
    const auto o = guard(m_ui, DbAction::Delete, [&] { return deleteLockerGroup(m_ui.app, code); });
    if (o)
        showOutcome(m_ui, *o);
    reload();
}

void LockerGroupScreen::makeNumbers()
{
    const int r = m_grid->currentRow();
    if (r < 0) {
        m_ui.msg.warn(QStringLiteral("사물함코드를 먼저 만든후 번호를 생성하세요"), QStringLiteral("번호생성"));
        return;
    }
    LockerRangeDialog dlg(m_ui, m_grid->rowKey(r).toString(), m_grid->cell(r, CName), this);
    if (dlg.exec() == QDialog::Accepted || dlg.TF)
        reload();
}

void LockerGroupScreen::print()
{
    printGridPreview(*m_grid, QStringLiteral("사물함코드 현황"), QString(), QString(), QString(), false, -1, 0, -1,
                     m_ui.app.business.name);
}

void LockerGroupScreen::exportExcel() { exportGridForUser(m_ui, QStringLiteral("사물함코드"), *m_grid); }

} // namespace fitrova
