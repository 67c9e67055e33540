#include "shell/ui/passwordchangedialog.h"

#include "shell/users.h"
#include "widgets/deskguard.h"
#include "widgets/controls.h"
#include "widgets/widgetutil.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace fitrova {

PasswordChangeDialog::PasswordChangeDialog(UiContext &ui, QWidget *parent) : QDialog(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("비밀번호변경"));
    setWindowTitle(QStringLiteral("비밀번호변경"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto line = [this](const char *name, bool secret) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QString::fromUtf8(name));
        if (secret)
            e->setEchoMode(QLineEdit::Password);
        e->setMinimumWidth(200);
        return e;
    };
    m_userId = line("Txt사용자", false);
    m_userId->setMaxLength(20);
    m_userId->setText(m_ui.app.user.userId);
    m_current = line("TxtC비번", true);
    m_new1 = line("TxtP비번1", true);
    m_new2 = line("TxtP비번2", true);

    auto *form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setVerticalSpacing(8);
    form->addRow(QStringLiteral("사용자 ID"), m_userId);
    form->addRow(QStringLiteral("현재 비밀번호"), m_current);
    form->addRow(QStringLiteral("새 비밀번호"), m_new1);
    form->addRow(QStringLiteral("새 비밀번호 확인"), m_new2);

    auto *cmdOk = commandButton(this, QStringLiteral("Cmd확인"), QStringLiteral("확인"), 88, true);
    auto *cmdClose = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"), 88, true);
    auto *buttons = buttonRow({cmdOk, cmdClose});

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(16, 16, 16, 12);
    outer->addLayout(form);
    outer->addSpacing(6);
    outer->addLayout(buttons);

    setTabOrder(m_userId, m_current);
    setTabOrder(m_current, m_new1);
    setTabOrder(m_new1, m_new2);
    setTabOrder(m_new2, cmdOk);
    setTabOrder(cmdOk, cmdClose);
    installEnterAsTab(this);
    installSelectAllOnFocus(this);

    connect(cmdOk, &QPushButton::clicked, this, &PasswordChangeDialog::onOk);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
}

void PasswordChangeDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    centerForm(this);
    (m_userId->text().isEmpty() ? m_userId : m_current)->setFocus(Qt::OtherFocusReason);
}

void PasswordChangeDialog::onOk()
{
    const auto r = guard(m_ui, DbAction::Update, [&] {
        return changePassword(m_ui.app.main, m_userId->text().trimmed(), m_current->text(), m_new1->text(),
                              m_new2->text());
    });
    if (!r)
        return;
    if (showOutcome(m_ui, *r)) {
        accept();
        return;
    }
    QLineEdit *field = nullptr;
    switch (r->field) {
    case PasswordUserIdField: field = m_userId; break;
    case PasswordCurrentField: field = m_current; break;
    case PasswordNew1Field: field = m_new1; break;
    case PasswordNew2Field: field = m_new2; break;
    default: break;
    }
    if (field) {
        field->setFocus(Qt::OtherFocusReason);
        field->selectAll();
    }
}

} // namespace fitrova
