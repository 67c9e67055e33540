#include "entrance/mastercard.h"

#include "members/memberstore.h"

namespace fitrova {

bool setMasterCard(const Db &db, const QString &mbCode, bool master)
{
    if (mbCode.trimmed().isEmpty())
        return false;
    return db.exec(QStringLiteral("UPDATE Member SET Area = ? WHERE MbCode = ?"),
                   {master ? QString::fromLatin1(kMasterCardArea) : QString(), mbCode})
        > 0;
}

bool isMasterCard(const Db &db, const QString &mbCode)
{
    const auto r = db.queryOne(QStringLiteral("SELECT Area FROM Member WHERE MbCode = ?"), {mbCode});
    return r && r->str(QStringLiteral("Area")) == QLatin1String(kMasterCardArea);
}

} // namespace fitrova
