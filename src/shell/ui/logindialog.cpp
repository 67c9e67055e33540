#include "shell/ui/logindialog.h"

#include "foundation/connections.h"
#include "foundation/inifile.h"
#include "foundation/startup.h"
#include "widgets/deskguard.h"
#include "widgets/controls.h"
#include "widgets/widgetutil.h"

#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace fitrova {

namespace {
constexpr int kPictureWidth = 240;
constexpr int kPictureHeight = 200;
} // namespace

LoginDialog::LoginDialog(UiContext &ui, QWidget *parent) : QDialog(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("로그인"));
    setWindowTitle(QStringLiteral("로그인"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("PiC"));
    m_picture->setFixedSize(kPictureWidth, kPictureHeight);
    m_picture->setAlignment(Qt::AlignCenter);
    const QString picPath = m_ui.app.paths.loginPicture;
    QPixmap pic;
    if (!picPath.isEmpty() && QFileInfo(picPath).isFile() && pic.load(picPath)) {
        m_picture->setPixmap(pic.scaled(m_picture->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    } else {
        // Without the centre's own picture the program's name stands in.
        m_picture->setText(QStringLiteral("Fitrova Lite"));
        m_picture->setStyleSheet(QStringLiteral("QLabel#PiC { background: #2f6f9f; color: white;"
                                                " font-size: 20pt; font-weight: bold; }"));
    }

    auto *title = new QLabel(QStringLiteral("사용자 로그인"), this);
    QFont tf = title->font();
    tf.setPointSizeF(tf.pointSizeF() * 1.3);
    tf.setBold(true);
    title->setFont(tf);

    m_userId = new QLineEdit(this);
    m_userId->setObjectName(QStringLiteral("Txt사용자"));
    m_userId->setMaxLength(20);
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("Txt비번"));
    m_password->setEchoMode(QLineEdit::Password);
    m_pcName = new QLineEdit(this);
    m_pcName->setObjectName(QStringLiteral("TxtPcname"));
    m_pcName->setReadOnly(true);
    m_pcName->setFocusPolicy(Qt::NoFocus);
    m_pcName->setText(getPcName());

    auto *form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setHorizontalSpacing(10);
    form->setVerticalSpacing(10);
    form->addRow(QStringLiteral("사용자 ID"), m_userId);
    form->addRow(QStringLiteral("비밀번호"), m_password);
    form->addRow(QStringLiteral("컴퓨터명"), m_pcName);

    m_ok = commandButton(this, QStringLiteral("Cmd확인"), QStringLiteral("확인"), 88, true);
    m_cancel = commandButton(this, QStringLiteral("Cmd취소"), QStringLiteral("취소"), 88, true);
    auto *buttons = buttonRow({m_ok, m_cancel});

    auto *right = new QVBoxLayout;
    right->addWidget(title);
    right->addSpacing(8);
    right->addLayout(form);
    right->addStretch();
    right->addLayout(buttons);

    auto *outer = new QHBoxLayout(this);
    outer->setContentsMargins(14, 14, 14, 14);
    outer->setSpacing(16);
    outer->addWidget(m_picture, 0, Qt::AlignTop);
    outer->addLayout(right, 1);
    setFixedSize(QSize(560, kPictureHeight + 28));

    // Enter in the password logs in.
    m_ok->setDefault(true);
    setTabOrder(m_userId, m_password);
    setTabOrder(m_password, m_ok);
    setTabOrder(m_ok, m_cancel);
    installEnterAsTab(this);
    installSelectAllOnFocus(this);

    connect(m_ok, &QPushButton::clicked, this, &LoginDialog::onOk);
    connect(m_cancel, &QPushButton::clicked, this, &LoginDialog::reject);
}

void LoginDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    centerForm(this);
    m_userId->setFocus(Qt::OtherFocusReason);
}

void LoginDialog::focusField(QLineEdit *field)
{
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
}

void LoginDialog::onOk()
{
    AppContext &ctx = m_ui.app;
    const ErrorText cannotConnect{QString::fromUtf8(kConnectMessage), QString::fromUtf8(kConnectTitle)};
    const auto result = guard(m_ui, cannotConnect, [&] { return login(ctx, m_userId->text(), m_password->text()); });
    if (!result)
        return;
    const LoginResult &r = *result;
    if (!ctx.pcName.isEmpty())
        m_pcName->setText(ctx.pcName);
    if (r.maintenance != MaintenanceTarget::None) {
        m_target = r.maintenance;
        QDialog::accept();
        return;
    }
    if (!r.ok) {
        showNotice(m_ui, r.message);
        focusField(r.focus == LoginField::Password ? m_password : m_userId);
        return;
    }
    m_target = MaintenanceTarget::None;
    m_ui.msg.notice(QStringLiteral("자료를 준비중 입니다"));
    guardQuietly("not a reason to keep the user out: the rows are tried again at the next login",
                 [&] { ensureDefaultCatalogue(ctx); });
    QDialog::accept();
}

void LoginDialog::reject()
{
    if (!m_ui.msg.ask(QStringLiteral("로그인을 취소하시겠습니까?"), QStringLiteral("로그인")))
        return;
    IniFile(m_ui.app.paths.iniFile).setValue(QStringLiteral("DATABASE"), QStringLiteral("UPDATECHECK"),
                                              QStringLiteral("NO"));
    QDialog::reject();
}

} // namespace fitrova
