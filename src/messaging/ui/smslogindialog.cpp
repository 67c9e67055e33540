#include "messaging/ui/smslogindialog.h"

#include "widgets/controls.h"
#include "widgets/deskguard.h"
#include "widgets/widgetutil.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace fitrova {

SmsLoginDialog::SmsLoginDialog(UiContext &ui, SmsDesk &desk, QWidget *parent)
    : QDialog(parent), m_ui(ui), m_desk(desk)
{
    setObjectName(QStringLiteral("frmSMSLogin"));
    setWindowTitle(QStringLiteral("SMS 로그인"));

    m_id = new QLineEdit(this);
    m_id->setObjectName(QStringLiteral("TxtID"));
    m_id->setMaxLength(20);
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("TxtPass"));
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setMaxLength(40);

    auto *note = new QLabel(QStringLiteral("문자 발송 업체에서 받은 아이디와 비밀번호를 입력하세요."), this);
    note->setWordWrap(true);
    auto *grid = new QGridLayout;
    grid->addWidget(caption(this, QStringLiteral("아이디")), 0, 0);
    grid->addWidget(m_id, 0, 1);
    grid->addWidget(caption(this, QStringLiteral("비밀번호")), 1, 0);
    grid->addWidget(m_password, 1, 1);

    QPushButton *ok = commandButton(this, QStringLiteral("Cmd확인"), QStringLiteral("확인"), 84, true);
    QPushButton *cancel = commandButton(this, QStringLiteral("Cmd취소"), QStringLiteral("취소"));
    auto *outer = new QVBoxLayout(this);
    outer->addWidget(note);
    outer->addLayout(grid);
    outer->addLayout(buttonRow({ok, cancel}));
    setMinimumWidth(340);

    installEnterAsTab(this);
    installSelectAllOnFocus(this);
    excludeFromEnterAsTab(m_password);
    setHangulMode(m_id, false);
    connect(m_password, &QLineEdit::returnPressed, this, &SmsLoginDialog::login);
    connect(ok, &QPushButton::clicked, this, &SmsLoginDialog::login);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_id->setFocus();
}

bool SmsLoginDialog::login()
{
    const auto r = guard(m_ui, DbAction::Read, [&] {
        return smsCustomerLogin(m_desk.link.primary(), m_id->text(), m_password->text());
    });
    if (!r)
        return false;
    if (!showOutcome(m_ui, r->outcome)) {
        QLineEdit *field = r->outcome.field == kSmsLoginPasswordField ? m_password : m_id;
        field->setFocus();
        field->selectAll();
        return false;
    }
    m_desk.login = r->login;
    accept();
    return true;
}

} // namespace fitrova
