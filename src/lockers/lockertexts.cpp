#include "lockers/lockertexts.h"

#include "data/dates.h"
#include "foundation/appcontext.h"

namespace fitrova {

QString rqKindName(const QString &rqGubun, bool onBoard)
{
    const QString k = rqGubun.trimmed();
    if (k == rq::kNew)
        return onBoard ? QStringLiteral("신청") : QStringLiteral("신규");
    if (k == rq::kMove)
        return QStringLiteral("변경");
    if (k == rq::kRenew)
        return QStringLiteral("재등록");
    if (k == rq::kCancel)
        return QStringLiteral("취소");
    if (k == rq::kRelease)
        return QStringLiteral("관취");
    return {};
}

QStringList monthCountItems()
{
    QStringList items;
    for (int m = 1; m <= kMaxRentalMonths; ++m)
        items << QStringLiteral("%1 개월").arg(m);
    return items;
}

QString groupCaption(const QString &code, const QString &name)
{
    return code + QLatin1Char('.') + name;
}

QString periodText(const QString &from, const QString &to, qint64 months)
{
    if (from.isEmpty() && to.isEmpty())
        return {};
    return from + QStringLiteral(" ~ ") + to + QStringLiteral("(%1)").arg(months);
}

LockerStamp lockerStamp(const AppContext &ctx)
{
    return {ctx.user.psCode, fmtDate(ctx.clock().today()), nowTime(ctx.clock()), ctx.workstation.posNo};
}

} // namespace fitrova
