#include "members/pointstatus.h"

#include "members/memberhistory.h"

namespace fitrova {

QStringList pointStatusHeaders()
{
    return {QStringLiteral("회원코드"), QStringLiteral("회원명"),     QStringLiteral("핸드폰"),
            QStringLiteral("전화번호"), QStringLiteral("성별"),       QStringLiteral("나이"),
            QStringLiteral("누적포인트"), QStringLiteral("사용포인트"), QStringLiteral("잔여포인트")};
}

QList<PointStatusLine> runPointStatus(const Db &db, qint64 minBalance)
{
    const Rows rows = db.query(
        QStringLiteral("SELECT UserPoint.MbCode AS MbCode, Member.MbName AS MbName, Member.Age AS Age, "
                       "Member.Tel1 AS Tel1, Member.Tel2 AS Tel2, Member.Sex AS Sex, Member.MisuAmt AS MisuAmt, "
                       "SUM(COALESCE(UserPoint.uPoint, 0)) AS uPoint, SUM(COALESCE(UserPoint.mPoint, 0)) AS mPoint "
                       "FROM UserPoint LEFT JOIN Member ON UserPoint.MbCode = Member.MbCode "
                       "WHERE Member.Point >= ? "
                       "GROUP BY UserPoint.MbCode, Member.MbName, Member.Age, Member.Tel1, Member.Tel2, Member.Sex, "
                       "Member.MisuAmt ORDER BY UserPoint.MbCode"),
        {minBalance});
    QList<PointStatusLine> out;
    out.reserve(rows.size());
    for (const Row &r : rows) {
        PointStatusLine l;
        l.mbCode = r.str(QStringLiteral("MbCode"));
        l.earned = r.num(QStringLiteral("uPoint"));
        l.used = r.num(QStringLiteral("mPoint"));
        l.cells = QStringList{l.mbCode,
                              r.str(QStringLiteral("MbName")),
                              r.str(QStringLiteral("Tel1")),
                              r.str(QStringLiteral("Tel2")),
                              r.str(QStringLiteral("Sex")).trimmed(),
                              QString::number(r.num(QStringLiteral("Age"))),
                              wonText(l.earned),
                              wonText(l.used),
                              wonText(l.remaining())};
        out.append(l);
    }
    return out;
}

} // namespace fitrova
