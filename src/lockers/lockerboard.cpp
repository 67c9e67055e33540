#include "lockers/lockerboard.h"

#include "data/dates.h"
#include "data/privacy.h"
#include "data/text.h"
#include "lockers/lockerrows.h"
#include "lockers/lockertexts.h"

namespace fitrova {

LockerTile lockerTile(bool rented, const QString &endDate, const QDate &today)
{
    if (!rented)
        return LockerTile::Free;
    const QDate end = dateFromText(endDate);
    if (!end.isValid())
        return LockerTile::Rented;
    if (end < today)
        return LockerTile::Expired;
    if (today.daysTo(end) < kEndingSoonDays)
        return LockerTile::EndingSoon;
    return LockerTile::Rented;
}

QList<BoardLocker> boardLockers(const Db &db, const QString &boxCode, LockerUse use, const QDate &today)
{
    QString sql = QStringLiteral("SELECT S.BoxNum, S.UUse, S.MbCode, M.MbName, S.StDate, S.EndDate, S.MonCnt, M.Tel1 "
                                 "FROM PerBoxS S LEFT JOIN Member M ON M.MbCode = S.MbCode WHERE S.BoxCode = ?");
    if (use == LockerUse::Rented)
        sql += QStringLiteral(" AND S.UUse = '1'");
    else if (use == LockerUse::Free)
        sql += QStringLiteral(" AND S.UUse = '0'");
    sql += QStringLiteral(" ORDER BY S.BoxNum");
    // S.BoxNum 0, UUse 1, MbCode 2, MbName 3, StDate 4, EndDate 5, MonCnt 6, Tel1 7.
    using namespace lockerrows;
    QList<BoardLocker> out;
    for (const Row &r : db.query(sql, {boxCode.trimmed()})) {
        BoardLocker l;
        l.boxNum = number(r, 0);
        l.uUse = text(r, 1);
        l.mbCode = text(r, 2).trimmed();
        l.mbName = text(r, 3);
        l.stDate = text(r, 4);
        l.endDate = text(r, 5);
        l.monCnt = int(number(r, 6));
        l.tel1 = text(r, 7);
        l.tile = lockerTile(l.rented(), l.endDate, today);
        out << l;
    }
    return out;
}

BoardCounts boardCounts(const QList<BoardLocker> &lockers)
{
    BoardCounts c;
    for (const BoardLocker &l : lockers) {
        switch (l.tile) {
        case LockerTile::Free: ++c.free; break;
        case LockerTile::Rented: ++c.rented; break;
        case LockerTile::EndingSoon: ++c.rented; ++c.endingSoon; break;
        case LockerTile::Expired: ++c.rented; ++c.expired; break;
        }
    }
    return c;
}

QStringList boardListHeaders()
{
    return {QStringLiteral("번호"),   QStringLiteral("사용"),   QStringLiteral("회원코드"), QStringLiteral("회원명"),
            QStringLiteral("개월"),   QStringLiteral("시작일"), QStringLiteral("종료일"),   QStringLiteral("휴대폰")};
}

QStringList boardListCells(const BoardLocker &l)
{
    return {QString::number(l.boxNum),
            l.rented() ? QStringLiteral("사용") : QString(),
            l.mbCode,
            l.mbName,
            l.rented() && l.monCnt > 0 ? QString::number(l.monCnt) : QString(),
            l.stDate,
            l.endDate,
            formatPhone(l.tel1)};
}

QStringList lockerHistoryHeaders()
{
    return {QStringLiteral("구분"),     QStringLiteral("신청일자"), QStringLiteral("회원코드"), QStringLiteral("회원명"),
            QStringLiteral("사용기간"), QStringLiteral("보증금"),   QStringLiteral("사용료"),   QStringLiteral("환불금"),
            QStringLiteral("휴대폰"),   QStringLiteral("자택전화"), QStringLiteral("주소"),     QStringLiteral("주민번호"),
            QStringLiteral("카드번호"), QStringLiteral("회원구분")};
}

namespace {

QString addressOf(const QString &a1, const QString &a2)
{
    return QString(a1.trimmed() + QLatin1Char(' ') + a2.trimmed()).trimmed();
}

} // namespace

QList<LockerHistoryLine> lockerHistory(const Db &db, const LockerKey &locker)
{
    const Rows rows = db.query(
        QStringLiteral("SELECT R.Rqid, R.RqGubun, R.RqDate, R.MbCode, R.UseDate1, R.UseDate2, R.Samt, R.Uamt, R.Ramt, "
                       "M.MbName, M.Tel1, M.Tel2, M.Addr1, M.Addr2, M.Juno1, M.Juno2, M.MbCard, G.Name AS GubunName "
                       "FROM RqPerBox R LEFT JOIN Member M ON M.MbCode = R.MbCode "
                       "LEFT JOIN MbGubun G ON G.Code = M.MbGubun "
                       "WHERE R.BoxCode = ? AND R.RqBox = ? ORDER BY R.RqDate DESC, R.Rqid DESC"),
        {locker.boxCode.trimmed(), locker.boxNum});
    QList<LockerHistoryLine> out;
    for (const Row &r : rows) {
        LockerHistoryLine l;
        l.rqid = r.num(QStringLiteral("Rqid"));
        l.rqGubun = r.str(QStringLiteral("RqGubun")).trimmed();
        l.mbCode = r.str(QStringLiteral("MbCode")).trimmed();
        const QString from = r.str(QStringLiteral("UseDate1")), to = r.str(QStringLiteral("UseDate2"));
        l.cells << rqKindName(l.rqGubun, true) << r.str(QStringLiteral("RqDate")) << l.mbCode
                << r.str(QStringLiteral("MbName"))
                << (from.isEmpty() && to.isEmpty() ? QString() : from + QLatin1Char('~') + to)
                << wonText(r.num(QStringLiteral("Samt"))) << wonText(r.num(QStringLiteral("Uamt")))
                << wonText(r.num(QStringLiteral("Ramt"))) << formatPhone(r.str(QStringLiteral("Tel1")))
                << formatPhone(r.str(QStringLiteral("Tel2")))
                << addressOf(r.str(QStringLiteral("Addr1")), r.str(QStringLiteral("Addr2")))
                << maskedResidentNumber(r.str(QStringLiteral("Juno1")), r.str(QStringLiteral("Juno2")))
                << r.str(QStringLiteral("MbCard")) << r.str(QStringLiteral("GubunName"));
        out << l;
    }
    return out;
}

std::optional<RenterCard> renterCard(const Db &db, const QString &mbCode)
{
    if (mbCode.trimmed().isEmpty())
        return std::nullopt;
    const auto r = db.queryOne(QStringLiteral("SELECT M.MbCode, M.MbName, M.Tel1, M.Tel2, M.Addr1, M.Addr2, M.Juno1, "
                                              "M.Juno2, M.MbCard, G.Name AS GubunName FROM Member M "
                                              "LEFT JOIN MbGubun G ON G.Code = M.MbGubun WHERE M.MbCode = ?"),
                               {mbCode.trimmed()});
    if (!r)
        return std::nullopt;
    return RenterCard{r->str(QStringLiteral("MbCode")),
                      r->str(QStringLiteral("MbName")),
                      formatPhone(r->str(QStringLiteral("Tel1"))),
                      formatPhone(r->str(QStringLiteral("Tel2"))),
                      addressOf(r->str(QStringLiteral("Addr1")), r->str(QStringLiteral("Addr2"))),
                      maskedResidentNumber(r->str(QStringLiteral("Juno1")), r->str(QStringLiteral("Juno2"))),
                      r->str(QStringLiteral("MbCard")),
                      r->str(QStringLiteral("GubunName"))};
}

} // namespace fitrova
