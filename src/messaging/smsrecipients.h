#pragma once
// The recipients another screen hands over: its listed members with their
// mobile numbers and the date its list shows for each (birthday, expiry
// date, day of attendance), which a message quotes as {{날짜}}.
//
// The hand-over travels as screen keys, so that a screen can open the SMS
// screen by name without knowing it:
//
//     ui.openScreen(QStringLiteral("SMS"), smsScreenArgs(members, objectName()));
//
// (messaging/ui/smsscreens.h has handOverToSms, which does exactly that.)

#include "members/membercontact.h"

#include <QList>
#include <QString>
#include <QVariantMap>

namespace fitrova {

struct SmsRecipient {
    QString mbCode, name, tel, date;
    bool operator==(const SmsRecipient &) const = default;
};

// The members whose mobile number starts with 010, 011, 016, 017 or 019, in
// the order given; a member listed twice is taken once.
QList<SmsRecipient> smsRecipientsOf(const MemberContacts &members);

// What the SMS screen shows for a calling list: its title and the heading of
// the date column. From the name of the calling screen: the member list
// (회원조회1) "생일", the locker rental status (사물함대여현황) "만기일" with
// the title "사물함 미반납자회원 문자보내기", the attendance sheet (출석현황)
// "일자", the batch query (일괄조회) and the valid-member report
// (유효회원현황) "만기일"; any other "일자". The title is "SMS 문자전송"
// unless the caller has its own.
struct SmsListKind {
    QString title, dateHeading;
};
SmsListKind smsListKindOf(const QString &callerName);
inline QString smsDefaultTitle() { return QStringLiteral("SMS 문자전송"); }

// The keys of the SMS screen for a hand-over. An empty title or heading
// takes the caller's (smsListKindOf).
QVariantMap smsScreenArgs(const MemberContacts &members, const QString &callerName, const QString &title = {},
                          const QString &dateHeading = {});

struct SmsHandover {
    QString caller, title, dateHeading;
    MemberContacts members;
    bool isEmpty() const { return caller.isEmpty() && members.isEmpty(); }
};
// Reads the keys back; missing keys give the caller's defaults.
SmsHandover smsHandoverOf(const QVariantMap &args);

} // namespace fitrova
