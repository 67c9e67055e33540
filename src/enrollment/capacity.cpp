#include "enrollment/capacity.h"

namespace fitrova {

CapacityCheck checkCapacity(const Db &db, qint64 pgid, const QString &from, const QString &to, qint64 exceptLtid,
                            bool lock)
{
    CapacityCheck c;
    const auto prog = db.queryOne(
        QStringLiteral("SELECT PgName, MaxNum, MaxNumChk FROM Program WHERE Pgid = ?") + (lock ? db.forUpdate() : QString()), {pgid});
    if (!prog)
        return c;
    c.pgName = prog->str(QStringLiteral("PgName"));
    c.capacity = prog->num(QStringLiteral("MaxNum"));
    c.checked = prog->str(QStringLiteral("MaxNumChk")).trimmed() == QLatin1String("1") && c.capacity > 0;
    if (!c.checked)
        return c;
    c.taken = db.scalar(QStringLiteral("SELECT COUNT(*) FROM Lecture WHERE Pgid = ? AND LtGubun < '3' "
                                       "AND Transfer = 0 AND Cancel = 0 AND Sdate1 <= ? AND Sdate2 >= ? "
                                       "AND Ltid <> ?"),
                        {pgid, to, from, exceptLtid})
                  .toLongLong();
    c.full = c.taken >= c.capacity;
    return c;
}

QString capacityRefusalText(const CapacityCheck &c)
{
    return QStringLiteral("[%1] 정원(%2명)이 찼습니다. (수강인원 %3명)").arg(c.pgName).arg(c.capacity).arg(c.taken);
}

} // namespace fitrova
