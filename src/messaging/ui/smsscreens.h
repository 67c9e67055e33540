#pragma once
// Plugs the SMS screens into the program and hands recipient lists over.
//
// The SMS screen is registered under the name "SMS". A list screen hands its
// members over with one call; the SMS screen then opens (the provider is
// reached and the centre's SMS login asked the first time) or, when it is
// open, takes the new list:
//
//     handOverToSms(m_ui, members, {}, this);   // title and date column from this screen's objectName
//     handOverToSms(m_ui, renters, QStringLiteral("사물함 미반납자회원 문자보내기"), this, QStringLiteral("만기일"));
//
// Screens that would rather not include this header open it by name with
// the keys of messaging/smsrecipients.h (smsScreenArgs).

#include "members/membercontact.h"
#include "members/ui/memberscreenhooks.h"
#include "messaging/smsdesk.h"
#include "widgets/uicontext.h"

#include <memory>

class QWidget;

namespace fitrova {

class ScreenRegistry;

// The SMS screen under "SMS", sharing one SMS desk (connections and login).
void registerMessagingScreens(ScreenRegistry &registry);
void registerMessagingScreens(ScreenRegistry &registry, std::shared_ptr<SmsDesk> desk);

// Hands the members over to the SMS screen. title: the SMS screen's title;
// dateHeading: the heading of the date column; either empty takes the one of
// the calling screen (its objectName, see smsListKindOf). Tells the user
// "전송할 회원이 없습니다" for an empty list.
void handOverToSms(UiContext &ui, const MemberContacts &members, const QString &title, QWidget *caller,
                   const QString &dateHeading = {});

// The member list's and the batch query's hand-over (MemberScreenHooks::sendSms).
MemberHandover smsMemberHandover();

// Reaches the provider when the desk is not connected yet; otherwise tells
// the user why SMS cannot be used and returns false.
bool connectSmsDesk(UiContext &ui, SmsDesk &desk);

// The SMS screen for the keys: reaches the provider, asks the SMS login when
// nobody is logged in, runs the provider's login; nullptr when any of that
// fails or is cancelled (the user has been told).
QWidget *openSmsMainScreen(UiContext &ui, std::shared_ptr<SmsDesk> desk, const ScreenArgs &args, QWidget *parent);

inline QString smsServerProblemText() { return QStringLiteral("SMS서버에 문제가 있습니다. 잠시후에 다시 시도해주세요"); }

} // namespace fitrova
