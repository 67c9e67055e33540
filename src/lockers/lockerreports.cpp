#include "lockers/lockerreports.h"

#include "data/privacy.h"

#include <tuple>
#include "data/text.h"
#include "lockers/lockerrows.h"
#include "lockers/lockertexts.h"

namespace fitrova {

QString lockerReportTitle(LockerReportKind kind)
{
    switch (kind) {
    case LockerReportKind::Rentals: return QStringLiteral("사물함 신청현황");
    case LockerReportKind::Renewals: return QStringLiteral("사물함 재등록현황");
    case LockerReportKind::All: return QStringLiteral("사물함 전체현황");
    case LockerReportKind::Cancellations: return QStringLiteral("사물함 취소현황");
    }
    return {};
}

QList<LockerReportRow> loadLockerReport(const Db &db, LockerReportKind kind, const LockerReportCriteria &c)
{
    QString sql = QStringLiteral(
        "SELECT R.Rqid, R.RqDate, R.RqGubun, R.BoxCode, P.BoxName, R.RqBox, R.UseDate1, R.UseDate2, R.MonCnt, "
        "R.MbCode, M.MbName, M.Juno1, M.Juno2, M.Tel1, M.Tel2, R.Samt, R.Uamt, R.Ramt "
        "FROM RqPerBox R LEFT JOIN Member M ON M.MbCode = R.MbCode LEFT JOIN PerBox P ON P.BoxCode = R.BoxCode "
        "WHERE R.RqDate >= ? AND R.RqDate <= ?");
    Params params{c.from, c.to};
    if (!c.boxCode.trimmed().isEmpty()) {
        sql += QStringLiteral(" AND R.BoxCode = ?");
        params << c.boxCode.trimmed();
    }
    const QString byGroup = QStringLiteral("LENGTH(R.BoxCode), R.BoxCode");
    switch (kind) {
    case LockerReportKind::Rentals:
        sql += QStringLiteral(" AND R.RqGubun = '1' ORDER BY ") + byGroup + QStringLiteral(", R.RqDate, R.RqBox, R.Rqid");
        break;
    case LockerReportKind::Renewals:
        sql += QStringLiteral(" AND R.RqGubun = '3' ORDER BY R.RqDate, ") + byGroup + QStringLiteral(", R.RqBox, R.Rqid");
        break;
    case LockerReportKind::Cancellations:
        sql += QStringLiteral(" AND R.RqGubun = '4' ORDER BY R.RqDate, ") + byGroup + QStringLiteral(", R.RqBox, R.Rqid");
        break;
    case LockerReportKind::All:
        sql += QStringLiteral(" AND R.RqGubun <> '2' ORDER BY R.RqGubun, ") + byGroup
            + QStringLiteral(", R.RqDate, R.RqBox, R.Rqid");
        break;
    }
    // R.Rqid 0, RqDate 1, RqGubun 2, BoxCode 3, BoxName 4, RqBox 5, UseDate1 6, UseDate2 7, MonCnt 8,
    // MbCode 9, MbName 10, Juno1 11, Juno2 12, Tel1 13, Tel2 14, Samt 15, Uamt 16, Ramt 17.
    using namespace lockerrows;
    QList<LockerReportRow> out;
    for (const Row &r : db.query(sql, params)) {
        LockerReportRow x;
        x.rqid = number(r, 0);
        x.rqDate = text(r, 1);
        x.rqGubun = text(r, 2).trimmed();
        x.boxCode = text(r, 3).trimmed();
        x.boxName = text(r, 4);
        x.boxNum = number(r, 5);
        x.useDate1 = text(r, 6);
        x.useDate2 = text(r, 7);
        x.monCnt = number(r, 8);
        x.mbCode = text(r, 9);
        x.mbName = text(r, 10);
        std::tie(x.juno1, x.juno2) = maskedResidentParts(text(r, 11), text(r, 12));
        x.tel1 = text(r, 13);
        x.tel2 = text(r, 14);
        x.samt = number(r, 15);
        x.uamt = number(r, 16);
        x.ramt = number(r, 17);
        out << x;
    }
    return out;
}

namespace {

// The money columns each report shows, in order.
enum class Money { Deposit, Fee, Refund, Total };

QList<Money> moneyColumns(LockerReportKind kind)
{
    switch (kind) {
    case LockerReportKind::Rentals:
    case LockerReportKind::Renewals: return {Money::Deposit, Money::Fee, Money::Total};
    case LockerReportKind::Cancellations: return {Money::Refund};
    case LockerReportKind::All: return {Money::Deposit, Money::Fee, Money::Refund, Money::Total};
    }
    return {};
}

QString moneyHeader(Money m)
{
    switch (m) {
    case Money::Deposit: return QStringLiteral("보증금");
    case Money::Fee: return QStringLiteral("사용료");
    case Money::Refund: return QStringLiteral("환불금");
    case Money::Total: return QStringLiteral("합계");
    }
    return {};
}

constexpr int kLeadColumns = 7; // 사물함, 번호, 사용기간, 구분, 신청일자, 회원코드, 회원명
constexpr int kCountColumn = 2;

struct Sums {
    int count = 0;
    qint64 samt = 0, uamt = 0, ramt = 0;
    void add(const LockerReportRow &r)
    {
        ++count;
        samt += r.samt;
        uamt += r.uamt;
        ramt += r.ramt;
    }
};

qint64 moneyOf(Money m, LockerReportKind kind, qint64 samt, qint64 uamt, qint64 ramt)
{
    switch (m) {
    case Money::Deposit: return samt;
    case Money::Fee: return uamt;
    case Money::Refund: return ramt;
    case Money::Total: return kind == LockerReportKind::All ? samt + uamt + ramt : samt + uamt;
    }
    return 0;
}

ReportLine sumLine(LockerReportKind kind, const QString &label, const Sums &s, ReportLine::Level level, int columns)
{
    ReportLine l;
    l.level = level;
    l.cells = QStringList(columns);
    l.cells[0] = label;
    l.cells[kCountColumn] = QStringLiteral("%1 건").arg(s.count);
    int c = kLeadColumns;
    for (Money m : moneyColumns(kind))
        l.cells[c++] = wonText(moneyOf(m, kind, s.samt, s.uamt, s.ramt));
    return l;
}

QString subtotalLabel(const QString &rqGubun)
{
    if (rqGubun == rq::kNew)
        return QStringLiteral("[ 신규계 ]");
    if (rqGubun == rq::kMove)
        return QStringLiteral("[ 변경계 ]");
    if (rqGubun == rq::kRenew)
        return QStringLiteral("[재등록계]");
    if (rqGubun == rq::kRelease)
        return QStringLiteral("[ 관취계 ]");
    return QStringLiteral("[ 취소계 ]");
}

} // namespace

QStringList lockerReportHeaders(LockerReportKind kind)
{
    QStringList h{QStringLiteral("사물함"),   QStringLiteral("번호"),     QStringLiteral("사용기간"),
                  QStringLiteral("구분"),     QStringLiteral("신청일자"), QStringLiteral("회원코드"),
                  QStringLiteral("회원명")};
    for (Money m : moneyColumns(kind))
        h << moneyHeader(m);
    h << QStringLiteral("주민번호") << QStringLiteral("휴대폰") << QStringLiteral("자택전화");
    return h;
}

QList<ReportLine> buildLockerReport(LockerReportKind kind, const QList<LockerReportRow> &rows)
{
    const int columns = int(lockerReportHeaders(kind).size());
    QList<ReportLine> out;
    Sums total, part;
    QString partKind;
    for (const LockerReportRow &r : rows) {
        if (kind == LockerReportKind::All && part.count > 0 && r.rqGubun != partKind) {
            out << sumLine(kind, subtotalLabel(partKind), part, ReportLine::Subtotal, columns);
            part = {};
        }
        partKind = r.rqGubun;
        part.add(r);
        total.add(r);
        ReportLine l;
        l.rqid = r.rqid;
        l.cells << r.boxName << QString::number(r.boxNum) << periodText(r.useDate1, r.useDate2, r.monCnt)
                << rqKindName(r.rqGubun) << r.rqDate << r.mbCode << r.mbName;
        for (Money m : moneyColumns(kind))
            l.cells << wonText(moneyOf(m, kind, r.samt, r.uamt, r.ramt));
        l.cells << maskedResidentNumber(r.juno1, r.juno2) << formatPhone(r.tel1) << formatPhone(r.tel2);
        out << l;
    }
    if (kind == LockerReportKind::All) {
        if (part.count > 0)
            out << sumLine(kind, subtotalLabel(partKind), part, ReportLine::Subtotal, columns);
        out << sumLine(kind, QStringLiteral("[전체합계]"), total, ReportLine::Total, columns);
    } else {
        out << sumLine(kind, QStringLiteral("[합  계]"), total, ReportLine::Total, columns);
    }
    return out;
}

// --- rental status -----------------------------------------------------------------------

QStringList lockerUseItems()
{
    return {QStringLiteral("A-전체사물함"), QStringLiteral("1-빈사물함 "), QStringLiteral("2-대여사물함 ")};
}

LockerUse lockerUseOfItem(const QString &item)
{
    const QString code = item.left(1);
    if (code == QLatin1String("1"))
        return LockerUse::Free;
    if (code == QLatin1String("2"))
        return LockerUse::Rented;
    return LockerUse::All;
}

QList<RentalStatusLine> loadRentalStatus(const Db &db, const RentalStatusCriteria &c, const QDate &today)
{
    QString sql = QStringLiteral(
        "SELECT S.BoxCode, P.BoxName, S.BoxNum, S.UUse, S.MonCnt, S.StDate, S.EndDate, S.MbCode, M.MbName, "
        "M.Juno1, M.Juno2, M.Tel1, M.Tel2, M.MbCard, "
        "(SELECT MAX(L.LTyymm) FROM Lecture L WHERE L.MbCode = S.MbCode) AS LastYYmm "
        "FROM PerBoxS S LEFT JOIN PerBox P ON P.BoxCode = S.BoxCode LEFT JOIN Member M ON M.MbCode = S.MbCode "
        "WHERE 1 = 1");
    Params params;
    if (!c.boxCode.trimmed().isEmpty()) {
        sql += QStringLiteral(" AND S.BoxCode = ?");
        params << c.boxCode.trimmed();
    }
    if (c.use == LockerUse::Rented)
        sql += QStringLiteral(" AND S.UUse = '1'");
    else if (c.use == LockerUse::Free)
        sql += QStringLiteral(" AND S.UUse = '0'");
    if (!c.endedBefore.isEmpty()) {
        sql += QStringLiteral(" AND S.EndDate <> '' AND S.EndDate < ?");
        params << c.endedBefore;
    }
    if (c.overdueDays >= 0) {
        // More than N days back: today − end > N, that is end < today − N.
        sql += QStringLiteral(" AND S.EndDate <> '' AND S.EndDate < ?");
        params << today.addDays(-c.overdueDays).toString(Qt::ISODate);
    }
    sql += QStringLiteral(" ORDER BY LENGTH(S.BoxCode), S.BoxCode, S.BoxNum");
    // S.BoxCode 0, BoxName 1, BoxNum 2, UUse 3, MonCnt 4, StDate 5, EndDate 6, MbCode 7, MbName 8,
    // Juno1 9, Juno2 10, Tel1 11, Tel2 12, MbCard 13, LastYYmm 14.
    using namespace lockerrows;
    QList<RentalStatusLine> out;
    for (const Row &r : db.query(sql, params)) {
        RentalStatusLine l;
        l.boxCode = text(r, 0).trimmed();
        l.boxName = text(r, 1);
        l.boxNum = number(r, 2);
        l.uUse = text(r, 3);
        l.monCnt = number(r, 4);
        l.stDate = text(r, 5);
        l.endDate = text(r, 6);
        l.mbCode = text(r, 7).trimmed();
        l.mbName = text(r, 8);
        std::tie(l.juno1, l.juno2) = maskedResidentParts(text(r, 9), text(r, 10));
        l.tel1 = text(r, 11);
        l.tel2 = text(r, 12);
        l.mbCard = text(r, 13);
        l.lastMonth = text(r, 14);
        out << l;
    }
    return out;
}

QStringList rentalStatusHeaders()
{
    return {QStringLiteral("사물함"),   QStringLiteral("번호"),     QStringLiteral("사용"),     QStringLiteral("개월"),
            QStringLiteral("시작일"),   QStringLiteral("종료일"),   QStringLiteral("회원코드"), QStringLiteral("회원명"),
            QStringLiteral("주민번호"), QStringLiteral("휴대폰"),   QStringLiteral("자택전화"), QStringLiteral("카드번호"),
            QStringLiteral("최종수강월")};
}

QStringList rentalStatusCells(const RentalStatusLine &l)
{
    QStringList c(RsCount);
    const bool rented = isRentedFlag(l.uUse);
    c[RsGroup] = l.boxName;
    c[RsNum] = QString::number(l.boxNum);
    c[RsUse] = rented ? QStringLiteral("사용") : QString();
    c[RsMonths] = rented && l.monCnt > 0 ? QString::number(l.monCnt) : QString();
    c[RsStart] = l.stDate;
    c[RsEnd] = l.endDate;
    c[RsMbCode] = l.mbCode;
    c[RsMbName] = l.mbName;
    c[RsResident] = maskedResidentNumber(l.juno1, l.juno2);
    c[RsTel1] = formatPhone(l.tel1);
    c[RsTel2] = formatPhone(l.tel2);
    c[RsCard] = l.mbCard;
    c[RsLastMonth] = l.lastMonth;
    return c;
}

} // namespace fitrova
