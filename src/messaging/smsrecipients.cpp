#include "messaging/smsrecipients.h"

#include "messaging/smstext.h"

#include <QSet>
#include <QVariantList>

namespace fitrova {

QList<SmsRecipient> smsRecipientsOf(const MemberContacts &members)
{
    QList<SmsRecipient> out;
    QSet<QString> seen;
    for (const MemberContact &m : members) {
        if (!hasMobilePrefix(m.tel1))
            continue;
        if (!m.mbCode.isEmpty()) {
            if (seen.contains(m.mbCode))
                continue;
            seen.insert(m.mbCode);
        }
        out << SmsRecipient{m.mbCode, m.mbName.trimmed(), m.tel1.trimmed(), m.listDate};
    }
    return out;
}

SmsListKind smsListKindOf(const QString &callerName)
{
    if (callerName == QStringLiteral("회원조회1"))
        return {smsDefaultTitle(), QStringLiteral("생일")};
    if (callerName == QStringLiteral("사물함대여현황"))
        return {QStringLiteral("사물함 미반납자회원 문자보내기"), QStringLiteral("만기일")};
    if (callerName == QStringLiteral("일괄조회") || callerName == QStringLiteral("유효회원현황"))
        return {smsDefaultTitle(), QStringLiteral("만기일")};
    return {smsDefaultTitle(), QStringLiteral("일자")};
}

QVariantMap smsScreenArgs(const MemberContacts &members, const QString &callerName, const QString &title,
                          const QString &dateHeading)
{
    const SmsListKind kind = smsListKindOf(callerName);
    QVariantList list;
    list.reserve(members.size());
    for (const MemberContact &m : members)
        list << QVariantMap{{QStringLiteral("MbCode"), m.mbCode},
                            {QStringLiteral("MbName"), m.mbName},
                            {QStringLiteral("Tel1"), m.tel1},
                            {QStringLiteral("Date"), m.listDate}};
    return {{QStringLiteral("Caller"), callerName},
            {QStringLiteral("Title"), title.isEmpty() ? kind.title : title},
            {QStringLiteral("DateHeading"), dateHeading.isEmpty() ? kind.dateHeading : dateHeading},
            {QStringLiteral("Members"), list}};
}

SmsHandover smsHandoverOf(const QVariantMap &args)
{
    SmsHandover h;
    h.caller = args.value(QStringLiteral("Caller")).toString();
    const SmsListKind kind = smsListKindOf(h.caller);
    h.title = args.value(QStringLiteral("Title")).toString();
    if (h.title.isEmpty())
        h.title = kind.title;
    h.dateHeading = args.value(QStringLiteral("DateHeading")).toString();
    if (h.dateHeading.isEmpty())
        h.dateHeading = kind.dateHeading;
    for (const QVariant &v : args.value(QStringLiteral("Members")).toList()) {
        const QVariantMap m = v.toMap();
        MemberContact c;
        c.mbCode = m.value(QStringLiteral("MbCode")).toString();
        c.mbName = m.value(QStringLiteral("MbName")).toString();
        c.tel1 = m.value(QStringLiteral("Tel1")).toString();
        c.listDate = m.value(QStringLiteral("Date")).toString();
        h.members << c;
    }
    return h;
}

} // namespace fitrova
