#include "messaging/ui/smsscreens.h"

#include "messaging/smsrecipients.h"
#include "messaging/ui/smslogindialog.h"
#include "messaging/ui/smsmainscreen.h"
#include "widgets/busynotice.h"
#include "widgets/screenregistry.h"

#include <QLoggingCategory>

namespace fitrova {

Q_LOGGING_CATEGORY(lcSms, "fitrova.sms")

void registerMessagingScreens(ScreenRegistry &registry)
{
    registerMessagingScreens(registry, std::make_shared<SmsDesk>());
}

void registerMessagingScreens(ScreenRegistry &registry, std::shared_ptr<SmsDesk> desk)
{
    registry.add(QStringLiteral("SMS"), [desk](UiContext &ui, QWidget *parent, const ScreenArgs &args) -> QWidget * {
        return openSmsMainScreen(ui, desk, args, parent);
    });
}

void handOverToSms(UiContext &ui, const MemberContacts &members, const QString &title, QWidget *caller,
                   const QString &dateHeading)
{
    if (members.isEmpty()) {
        ui.msg.info(QStringLiteral("전송할 회원이 없습니다"), QStringLiteral("문자전송"));
        return;
    }
    ui.openScreen(QStringLiteral("SMS"),
                  smsScreenArgs(members, caller ? caller->objectName() : QString(), title, dateHeading));
}

MemberHandover smsMemberHandover()
{
    return [](UiContext &ui, const MemberContacts &members, QWidget *parent) {
        handOverToSms(ui, members, QString(), parent);
    };
}

bool connectSmsDesk(UiContext &ui, SmsDesk &desk)
{
    if (desk.link.isOpen())
        return true;
    if (!SmsDesk::configured(ui.app)) {
        ui.msg.warn(QStringLiteral("SMS 사용설정이 되어있지 않습니다.\n"
                                   "설정파일(Pginfo.Ini)의 [SMS] 항목을 관리자에게 문의하여 주십시요."),
                    QStringLiteral("SMS"));
        return false;
    }
    std::optional<QString> why;
    {
        WaitCursor wait;
        why = desk.connect(ui.app);
    }
    if (why) {
        qCWarning(lcSms).noquote() << "SMS connection failed:" << *why;
        ui.msg.warn(smsServerProblemText() + QStringLiteral("\n\n") + *why, QStringLiteral("SMS"));
        return false;
    }
    return true;
}

QWidget *openSmsMainScreen(UiContext &ui, std::shared_ptr<SmsDesk> desk, const ScreenArgs &args, QWidget *parent)
{
    if (!connectSmsDesk(ui, *desk))
        return nullptr;
    if (!desk->login.loggedIn()) {
        SmsLoginDialog login(ui, *desk, parent ? parent->window() : nullptr);
        if (login.exec() != QDialog::Accepted)
            return nullptr;
    }
    if (!desk->link.providerLogin()) {
        // Reached afresh next time: the server may have been restarted meanwhile.
        desk->link.close();
        ui.msg.warn(smsServerProblemText(), QStringLiteral("SMS"));
        return nullptr;
    }
    return new SmsMainScreen(ui, std::move(desk), args, parent);
}

} // namespace fitrova
