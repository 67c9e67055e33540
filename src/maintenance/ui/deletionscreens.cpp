#include "maintenance/ui/deletionscreens.h"

#include "maintenance/backup.h"
#include "maintenance/ui/backupscreens.h"
#include "widgets/busynotice.h"
#include "widgets/controls.h"
#include "widgets/deskguard.h"
#include "widgets/widgetutil.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace fitrova {

namespace {

QString u(const char *s) { return QString::fromUtf8(s); }

template <typename Group>
QList<Group> ticked(const QList<QPair<QCheckBox *, Group>> &boxes)
{
    QList<Group> out;
    for (const auto &[box, group] : boxes)
        if (box->isChecked())
            out << group;
    return out;
}

QLabel *messagePanel(QWidget *parent)
{
    QLabel *l = displayPanel(parent, QStringLiteral("PnlMsg"), 300, Qt::AlignCenter);
    l->setMinimumHeight(30);
    return l;
}

} // namespace

bool offerBackupBeforeDeleting(UiContext &ui, QWidget *parent)
{
    if (!ui.msg.ask(QStringLiteral("삭제하기 전에 현재 자료를 백업하시겠습니까?\n(삭제한 자료는 백업에서만 되살릴 수 있습니다.)"),
                    u(kBackupTitle)))
        return true;
    return runBackupForUser(ui, backupFolderFor(ui.app), BackupReason::BeforeDeletion, parent);
}

// --- the administrator's deletion -----------------------------------------------------

EnteredDataDeletionScreen::EnteredDataDeletionScreen(UiContext &ui, QWidget *parent) : QWidget(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("입력자료삭제"));
    setWindowTitle(QStringLiteral("입력자료삭제"));

    auto *box = new QGroupBox(QStringLiteral("삭제할 자료"), this);
    auto *grid = new QGridLayout(box);
    const struct {
        const char *name, *text;
        EnteredData group;
    } items[] = {
        {"Chk1", "강좌", EnteredData::Courses},
        {"Chk2", "상품", EnteredData::Goods},
        {"Chk3", "회원인적", EnteredData::Members},
        {"Chk4", "수강/사물함 내역", EnteredData::EnrollmentsLockers},
        {"Chk5", "상품판매 내역", EnteredData::Sales},
        {"Chk6", "수입/지출내역", EnteredData::CashBook},
    };
    int i = 0;
    for (const auto &it : items) {
        auto *c = new QCheckBox(u(it.text), box);
        c->setObjectName(u(it.name));
        grid->addWidget(c, i / 2, i % 2);
        m_boxes << qMakePair(c, it.group);
        ++i;
    }
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("TxtPwd"));
    m_password->setEchoMode(QLineEdit::Password);
    m_msg = messagePanel(this);
    QPushButton *cmdDelete = commandButton(this, QStringLiteral("Cmd삭제"), QStringLiteral("삭제"));
    QPushButton *cmdClose = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"));

    auto *pwd = new QHBoxLayout;
    pwd->addWidget(caption(this, QStringLiteral("삭제 비밀번호")));
    pwd->addWidget(m_password, 1);
    auto *note = new QLabel(QStringLiteral("로그인한 관리자의 비밀번호를 다시 입력하십시요.\n"
                                           "선택한 자료는 한꺼번에 지워지며 되돌릴 수 없습니다."),
                            this);
    note->setWordWrap(true);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(12, 12, 12, 12);
    outer->addWidget(box);
    outer->addLayout(pwd);
    outer->addWidget(note);
    outer->addWidget(m_msg);
    outer->addLayout(buttonRow({cmdDelete, cmdClose}));
    resize(420, 330);
    installEnterAsTab(this);

    connect(cmdDelete, &QPushButton::clicked, this, &EnteredDataDeletionScreen::deleteTicked);
    connect(cmdClose, &QPushButton::clicked, this, [this] { closeScreen(this); });
}

bool EnteredDataDeletionScreen::deleteTicked()
{
    m_msg->clear();
    const QList<EnteredData> groups = ticked(m_boxes);
    if (groups.isEmpty()) {
        m_ui.msg.info(QStringLiteral("삭제할 자료를 선택하세요."), u(kDeletionTitle));
        return false;
    }
    const QString typed = m_password->text();
    const auto rights = guard(m_ui, DbAction::Read, [&] { return checkDeletionRights(m_ui.app, typed); });
    if (!rights || !showOutcome(m_ui, *rights)) {
        m_password->setFocus();
        m_password->selectAll();
        return false;
    }
    if (!m_ui.msg.ask(u(kDeletionAsk), u(kDeletionTitle)))
        return false;
    if (!offerBackupBeforeDeleting(m_ui, this))
        return false;
    std::optional<Outcome> o;
    {
        BusyScope busy(QStringLiteral("자료를 삭제중입니다"), this);
        o = guard(m_ui, DbAction::Delete, [&] { return deleteEnteredData(m_ui.app, groups); });
    }
    if (!o || !showOutcome(m_ui, *o))
        return false;
    m_msg->setText(u(kDeletionDone));
    m_password->clear();
    for (const auto &[box, group] : m_boxes)
        box->setChecked(false);
    return true;
}

// --- the maintenance deletion ------------------------------------------------------------

MaintenanceDeletionScreen::MaintenanceDeletionScreen(UiContext &ui, QWidget *parent) : QWidget(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("frm자료삭제"));
    setWindowTitle(QStringLiteral("자료삭제 (관리용)"));

    auto *box = new QGroupBox(QStringLiteral("삭제할 자료"), this);
    auto *grid = new QGridLayout(box);
    const struct {
        const char *name, *text;
        MaintenanceData group;
    } items[] = {
        {"Chk인적", "회원인적", MaintenanceData::Members},   {"Chk수강", "수강", MaintenanceData::Enrollments},
        {"Chk판매", "판매", MaintenanceData::Sales},         {"Chk입장", "입장", MaintenanceData::Visits},
        {"Chk사물함", "사물함", MaintenanceData::Lockers},   {"Chk보증금", "보증금", MaintenanceData::Deposits},
        {"Chk강좌", "강좌", MaintenanceData::Courses},       {"Chk상품", "상품", MaintenanceData::Goods},
        {"Chk수입지출", "수입지출", MaintenanceData::CashBook}, {"Chk사용자", "사용자", MaintenanceData::Users},
        {"ChkPoint", "포인트", MaintenanceData::Points},     {"Chk사용처", "사용처", MaintenanceData::Business},
    };
    int i = 0;
    for (const auto &it : items) {
        auto *c = new QCheckBox(u(it.text), box);
        c->setObjectName(u(it.name));
        grid->addWidget(c, i / 3, i % 3);
        m_boxes << qMakePair(c, it.group);
        ++i;
    }
    m_msg = messagePanel(this);
    QPushButton *cmdDelete = commandButton(this, QStringLiteral("Command1"), QStringLiteral("선택자료 삭제"), 110);
    QPushButton *cmdField = commandButton(this, QStringLiteral("btnField"), QStringLiteral("자료구조 점검"), 110);
    QPushButton *cmdClose = commandButton(this, QStringLiteral("Command2"), QStringLiteral("닫기"));
    auto *note = new QLabel(QStringLiteral("사용자를 지우면 ID \"1\"과 관리자(등급 1)는 남습니다."), this);
    note->setWordWrap(true);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(12, 12, 12, 12);
    outer->addWidget(box);
    outer->addWidget(note);
    outer->addWidget(m_msg);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdField);
    buttons->addStretch();
    buttons->addWidget(cmdDelete);
    buttons->addWidget(cmdClose);
    outer->addLayout(buttons);
    resize(460, 330);

    connect(cmdDelete, &QPushButton::clicked, this, &MaintenanceDeletionScreen::deleteTicked);
    connect(cmdField, &QPushButton::clicked, this, &MaintenanceDeletionScreen::checkStructure);
    connect(cmdClose, &QPushButton::clicked, this, [this] { closeScreen(this); });
}

bool MaintenanceDeletionScreen::deleteTicked()
{
    m_msg->clear();
    const QList<MaintenanceData> groups = ticked(m_boxes);
    if (groups.isEmpty()) {
        m_ui.msg.info(QStringLiteral("삭제할 자료를 선택하세요."), u(kDeletionTitle));
        return false;
    }
    if (!m_ui.msg.ask(u(kDeletionAsk), u(kDeletionTitle)))
        return false;
    if (!offerBackupBeforeDeleting(m_ui, this))
        return false;
    std::optional<Outcome> o;
    {
        BusyScope busy(QStringLiteral("자료를 삭제중입니다"), this);
        o = guard(m_ui, DbAction::Delete, [&] { return deleteMaintenanceData(m_ui.app, groups); });
    }
    if (!o || !o->saved) {
        if (o)
            showOutcome(m_ui, *o);
        return false;
    }
    m_msg->setText(QStringLiteral("작업완료"));
    m_ui.msg.info(QStringLiteral("작업완료"), u(kDeletionTitle));
    for (const auto &[box, group] : m_boxes)
        box->setChecked(false);
    return true;
}

void MaintenanceDeletionScreen::checkStructure()
{
    std::optional<StructureCheck> r;
    {
        WaitCursor wait;
        r = guard(m_ui, DbAction::Update, [&] { return repairDataStructure(m_ui.app); });
    }
    if (!r)
        return;
    if (!r->failed.isEmpty()) {
        m_ui.msg.warn(QStringLiteral("만들지 못한 자료가 있습니다.\n") + r->failed.join(QLatin1Char('\n')), QStringLiteral("자료구조"));
        return;
    }
    m_msg->setText(r->created.isEmpty() ? QStringLiteral("생성완료됨")
                                        : QStringLiteral("생성완료됨 (%1)").arg(r->created.join(QStringLiteral(", "))));
    m_ui.msg.info(QStringLiteral("생성완료됨"), QStringLiteral("자료구조"));
}

} // namespace fitrova
