#include "shell/ui/userlistscreen.h"

#include "shell/ui/usereditdialog.h"
#include "widgets/deskguard.h"
#include "shell/users.h"
#include "widgets/datagrid.h"

#include <QHBoxLayout>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QVBoxLayout>

namespace fitrova {

namespace {
enum Col { ColPsCode, ColName, ColUserId, ColGrCode, ColGrName, ColUse };
}

UserListScreen::UserListScreen(UiContext &ui, QWidget *parent) : QWidget(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("사용자등록"));
    setWindowTitle(QStringLiteral("사용자등록"));

    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("SpUser"));
    m_grid->setup();
    m_grid->setColumns({QStringLiteral("사원번호"), QStringLiteral("사용자명"), QStringLiteral("사용자ID"),
                        QStringLiteral("등급"), QStringLiteral("등급명"), QStringLiteral("사용")},
                       {80, 160, 160, 50, 150, 50});
    for (int c : {ColPsCode, ColGrCode})
        m_grid->setColumnAlignment(c, Qt::AlignCenter);
    m_grid->setCheckColumn(ColUse);
    m_grid->setMinimumSize(630, 360);

    auto button = [this](const char *name, const QString &text) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QString::fromUtf8(name));
        b->setMinimumSize(90, 34);
        return b;
    };
    QPushButton *cmdNew = button("Cmd신규", QStringLiteral("신규"));
    QPushButton *cmdEdit = button("Cmd수정", QStringLiteral("수정"));
    QPushButton *cmdDelete = button("Cmd삭제", QStringLiteral("삭제"));
    QPushButton *cmdClose = button("Cmd닫기", QStringLiteral("닫기"));

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(cmdNew);
    buttons->addWidget(cmdEdit);
    buttons->addWidget(cmdDelete);
    buttons->addStretch();
    buttons->addWidget(cmdClose);

    auto *outer = new QHBoxLayout(this);
    outer->setContentsMargins(10, 10, 10, 10);
    outer->addWidget(m_grid, 1);
    outer->addLayout(buttons);
    resize(780, 440);

    connect(cmdNew, &QPushButton::clicked, this, [this] { openEditor(true); });
    connect(cmdEdit, &QPushButton::clicked, this, [this] { openEditor(false); });
    connect(cmdDelete, &QPushButton::clicked, this, &UserListScreen::deleteCurrent);
    connect(cmdClose, &QPushButton::clicked, this, [this] {
        if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
            sub->close();
        else
            close();
    });
    connect(m_grid, &DataGrid::rowActivated, this, [this](int) { openEditor(false); });
    connect(m_grid, &DataGrid::deleteRequested, this, [this](int) { deleteCurrent(); });

    refresh();
}

void UserListScreen::refresh(const QString &selectPsCode)
{
    const QList<UserListRow> users =
        guard(m_ui, DbAction::Read, [&] { return listUsers(m_ui.app.main); }).value_or(QList<UserListRow>());
    QList<QStringList> rows;
    QVariantList keys;
    for (const UserListRow &u : users) {
        rows.append({u.psCode, u.userName, u.userId, u.grCode, u.grName,
                     u.uuse == QLatin1String("1") ? QStringLiteral("1") : QStringLiteral("0")});
        keys.append(u.psCode);
    }
    m_grid->setRows(rows, keys);
    if (!selectPsCode.isEmpty()) {
        const int row = m_grid->findKey(selectPsCode);
        if (row >= 0)
            m_grid->setCurrentRow(row);
    }
}

QString UserListScreen::currentPsCode() const
{
    const int row = m_grid->currentRow();
    return row < 0 ? QString() : m_grid->rowKey(row).toString();
}

void UserListScreen::openEditor(bool isNew)
{
    const QString psCode = isNew ? QString() : currentPsCode();
    if (!isNew && psCode.isEmpty())
        return;
    auto *dlg = new UserEditDialog(m_ui, isNew ? QStringLiteral("N") : QStringLiteral("C"), psCode, this);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    connect(dlg, &UserEditDialog::userSaved, this, [this](const QString &code) { refresh(code); });
    dlg->open();
}

void UserListScreen::deleteCurrent()
{
    const QString psCode = currentPsCode();
    if (psCode.isEmpty())
        return;
    if (!m_ui.msg.ask(QString::fromUtf8(kDeleteAskText), QString::fromUtf8(kUserDeleteTitle)))
        return;
    const auto r = guard(m_ui, DbAction::Delete, [&] { return deleteUser(m_ui.app.main, psCode); });
    if (r && showOutcome(m_ui, *r))
        refresh();
}

} // namespace fitrova
