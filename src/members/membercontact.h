#pragma once
// A listed member as the messaging screens take it over (SMS recipients,
// address labels).

#include <QList>
#include <QString>

namespace fitrova {

struct MemberContact {
    QString mbCode, mbName, tel1, postNo, addr1, addr2;
    // The date the handing list shows for the member, which a message can
    // quote: the birthday on the member list, the expiry date on the batch
    // query and the locker list, the day on the attendance sheet.
    QString listDate = {};
    bool operator==(const MemberContact &) const = default;
};
using MemberContacts = QList<MemberContact>;

} // namespace fitrova
