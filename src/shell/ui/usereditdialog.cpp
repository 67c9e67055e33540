#include "shell/ui/usereditdialog.h"

#include "shell/ui/gradelistscreen.h"
#include "widgets/deskguard.h"
#include "shell/users.h"
#include "data/listitems.h"
#include "widgets/controls.h"
#include "widgets/widgetutil.h"
#include "widgets/unsavedchanges.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace fitrova {

UserEditDialog::UserEditDialog(UiContext &ui, const QString &jobGubun, const QString &psCode, QWidget *parent)
    : QDialog(parent), m_ui(ui), m_jobGubun(jobGubun), m_psCode(psCode)
{
    setObjectName(QStringLiteral("사용자등록sub"));
    setWindowTitle(QStringLiteral("사용자등록"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto line = [this](const char *name, int maxLength) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QString::fromUtf8(name));
        e->setMaxLength(maxLength);
        return e;
    };
    m_txtPsCode = line("TxtPsCode", 4);
    m_txtPsCode->setReadOnly(true);
    m_txtPsCode->setFocusPolicy(Qt::NoFocus);
    m_txtPsCode->setFixedWidth(80);
    m_txtUserName = line("TxtUserName", 40);
    m_txtUserId = line("TxtUserID", 20);
    m_txtPass = line("TxtPass", 64);
    m_txtPass->setEchoMode(QLineEdit::Password);
    m_passHint = new QLabel(this);
    m_passHint->setObjectName(QStringLiteral("LblPassHint"));
    m_passHint->setStyleSheet(QStringLiteral("color: #606060;"));

    m_cobGrd = new QComboBox(this);
    m_cobGrd->setObjectName(QStringLiteral("CobGrd"));
    m_cobGrd->setMinimumWidth(160);
    auto *cmdGrade = new QPushButton(QStringLiteral("등급"), this);
    cmdGrade->setObjectName(QStringLiteral("Cmd등급"));
    cmdGrade->setAutoDefault(false);
    auto *gradeRow = new QHBoxLayout;
    gradeRow->addWidget(m_cobGrd, 1);
    gradeRow->addWidget(cmdGrade);

    m_chkUse = new QCheckBox(QStringLiteral("사용"), this);
    m_chkUse->setObjectName(QStringLiteral("ChkUse"));

    auto *form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setVerticalSpacing(8);
    form->addRow(QStringLiteral("사원번호"), m_txtPsCode);
    form->addRow(QStringLiteral("사용자명"), m_txtUserName);
    form->addRow(QStringLiteral("사용자ID"), m_txtUserId);
    form->addRow(QStringLiteral("비밀번호"), m_txtPass);
    form->addRow(QString(), m_passHint);
    form->addRow(QStringLiteral("권한등급"), gradeRow);
    form->addRow(QString(), m_chkUse);

    auto *cmdSave = commandButton(this, QStringLiteral("Cmd저장"), QStringLiteral("저장"), 88, true);
    auto *cmdClose = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"), 88, true);
    auto *buttons = buttonRow({cmdSave, cmdClose});

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(16, 16, 16, 12);
    outer->addLayout(form);
    outer->addSpacing(6);
    outer->addLayout(buttons);
    setMinimumWidth(420);

    setTabOrder(m_txtUserName, m_txtUserId);
    setTabOrder(m_txtUserId, m_txtPass);
    setTabOrder(m_txtPass, m_cobGrd);
    setTabOrder(m_cobGrd, m_chkUse);
    setTabOrder(m_chkUse, cmdSave);
    setTabOrder(cmdSave, cmdClose);
    installEnterAsTab(this);
    installSelectAllOnFocus(this);

    connect(cmdSave, &QPushButton::clicked, this, &UserEditDialog::save);
    connect(cmdClose, &QPushButton::clicked, this, [this] {
        if (UnsavedChanges::mayClose(this))
            reject();
    });
    connect(cmdGrade, &QPushButton::clicked, this, &UserEditDialog::openGrades);

    load();
    new UnsavedChanges(this, m_ui.msg, [this] { return save(); });
    m_txtUserName->setFocus(Qt::OtherFocusReason);
}

void UserEditDialog::updatePasswordHint()
{
    m_passHint->setText(jobModeOf(m_jobGubun) == JobMode::Change
                            ? QStringLiteral("비워 두면 기존 비밀번호가 그대로 유지됩니다.")
                            : QStringLiteral("새 사용자는 비밀번호를 입력하여야 합니다."));
}

void UserEditDialog::fillGrades(const QString &select)
{
    fillCombo(m_cobGrd, guard(m_ui, DbAction::Read, [&] { return gradeItems(m_ui.app.main); }).value_or(ListItems()));
    for (int i = 0; i < m_cobGrd->count(); ++i)
        if (!select.isEmpty() && m_cobGrd->itemText(i).startsWith(select + QLatin1Char('-'))) {
            m_cobGrd->setCurrentIndex(i);
            break;
        }
}

void UserEditDialog::load()
{
    const Db &db = m_ui.app.main;
    updatePasswordHint();
    guard(m_ui, DbAction::Read, [&] {
        switch (jobModeOf(m_jobGubun)) {
        case JobMode::New:
            fillGrades({});
            m_psCode = nextStaffCode(db);
            m_txtPsCode->setText(m_psCode);
            m_chkUse->setChecked(true);
            break;
        case JobMode::Change:
            if (const auto rec = loadUser(db, m_psCode)) {
                fillGrades(rec->grCode);
                m_txtPsCode->setText(rec->psCode);
                m_txtUserName->setText(rec->userName);
                m_txtUserId->setText(rec->userId);
                m_chkUse->setChecked(rec->active);
            } else {
                fillGrades({});
            }
            break;
        case JobMode::None:
            fillGrades({});
            break;
        }
    });
}

bool UserEditDialog::save()
{
    UserRecord rec;
    rec.psCode = m_psCode;
    rec.userName = m_txtUserName->text().trimmed();
    rec.userId = m_txtUserId->text().trimmed();
    rec.password = m_txtPass->text();
    rec.grCode = m_cobGrd->currentText().left(1);
    rec.active = m_chkUse->isChecked();
    const JobMode mode = jobModeOf(m_jobGubun);
    const auto r = guard(m_ui, mode == JobMode::Change ? DbAction::Update : DbAction::Save,
                         [&] { return saveUser(m_ui.app.main, mode, rec); });
    if (!r)
        return false;
    if (!showOutcome(m_ui, *r)) {
        QLineEdit *field = r->field == UserPasswordField ? m_txtPass
                         : r->field == UserIdField       ? m_txtUserId
                                                         : nullptr;
        if (field) {
            field->setFocus(Qt::OtherFocusReason);
            field->selectAll();
        }
        return false;
    }
    m_saved = true;
    m_psCode = r->code;
    m_txtPsCode->setText(r->code);
    m_txtPass->clear();
    emit userSaved(r->code);
    UnsavedChanges::markCleanOf(this);
    if (mode == JobMode::Change) {
        accept();
        return true;
    }
    // The new user now exists: further saves change it.
    m_jobGubun = QStringLiteral("C");
    updatePasswordHint();
    return true;
}

void UserEditDialog::openGrades()
{
    auto *dlg = new GradeListScreen(m_ui, this);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    connect(dlg, &QDialog::finished, this, [this] { fillGrades(m_cobGrd->currentText().left(1)); });
    dlg->open();
}

} // namespace fitrova
