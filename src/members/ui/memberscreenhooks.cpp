#include "members/ui/memberscreenhooks.h"

namespace fitrova {

namespace {
const QString kNotReadyText = QStringLiteral("준비중인 기능입니다");
} // namespace

QString enrollmentScreenName(EnrollmentScreen screen)
{
    switch (screen) {
    case EnrollmentScreen::Enrollment: return QStringLiteral("수강등록");
    case EnrollmentScreen::ClassChange: return QStringLiteral("수강변경");
    case EnrollmentScreen::Transfer: return QStringLiteral("양도신청");
    case EnrollmentScreen::Postponement: return QStringLiteral("수강연기");
    case EnrollmentScreen::Refund: return QStringLiteral("수강환불");
    case EnrollmentScreen::Payment: return QStringLiteral("미수입금");
    }
    return {};
}

bool runEnrollmentScreen(UiContext &ui, const MemberScreenHooks &hooks, const EnrollmentRequest &request,
                         QWidget *parent)
{
    std::optional<bool> tf;
    if (hooks.openEnrollment)
        tf = hooks.openEnrollment(ui, request, parent);
    if (!tf) {
        ui.msg.info(kNotReadyText, enrollmentScreenName(request.screen));
        return false;
    }
    return *tf;
}

void runHandover(UiContext &ui, const MemberHandover &handover, const MemberContacts &members, const QString &title,
                 QWidget *parent)
{
    if (!handover) {
        ui.msg.info(kNotReadyText, title);
        return;
    }
    if (members.isEmpty()) {
        ui.msg.info(QStringLiteral("전송할 회원이 없습니다"), title);
        return;
    }
    handover(ui, members, parent);
}

} // namespace fitrova
