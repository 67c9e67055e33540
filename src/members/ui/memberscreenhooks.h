#pragma once
// Where the member screens hand work to other subsystems: the enrollment
// screens (수강등록, 수강변경, 양도신청, 수강연기, 수강환불, 미수입금) and the
// messaging screens (SMS, address labels). Until a subsystem plugs its screen
// in, the command tells the user that it is not available yet.

#include "members/enrollmentrequest.h"
#include "members/membercontact.h"
#include "widgets/uicontext.h"

#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace fitrova {

// Opens the enrollment screen the request names, modally, with the request's
// keys (JobGubun, MbCode, Ltid, bLtid, Pgid …). Returns the screen's TF (true
// when it saved or deleted something), or nullopt when there is no screen for
// the request.
using EnrollmentOpener =
    std::function<std::optional<bool>(UiContext &ui, const EnrollmentRequest &request, QWidget *parent)>;

// Takes over the listed members (SMS recipients, address labels).
using MemberHandover = std::function<void(UiContext &ui, const MemberContacts &members, QWidget *parent)>;

struct MemberScreenHooks {
    EnrollmentOpener openEnrollment;
    MemberHandover sendSms;
    MemberHandover printLabels;
};

// The caption an enrollment screen carries (the title of the not-ready notice).
QString enrollmentScreenName(EnrollmentScreen screen);

// Runs the opener; without one (or when it has no screen for the request)
// tells the user "준비중인 기능입니다" and returns false. Otherwise returns TF.
bool runEnrollmentScreen(UiContext &ui, const MemberScreenHooks &hooks, const EnrollmentRequest &request,
                         QWidget *parent);

// Hands the members over; "준비중인 기능입니다" without a taker, "전송할
// 회원이 없습니다" when the list is empty.
void runHandover(UiContext &ui, const MemberHandover &handover, const MemberContacts &members, const QString &title,
                 QWidget *parent);

} // namespace fitrova
