#pragma once
// A listed member as the messaging screens take it over (SMS recipients,
// address labels).

#include <QList>
#include <QString>

namespace fitrova {

struct MemberContact {
    QString mbCode, mbName, tel1, postNo, addr1, addr2;
    bool operator==(const MemberContact &) const = default;
};
using MemberContacts = QList<MemberContact>;

} // namespace fitrova
