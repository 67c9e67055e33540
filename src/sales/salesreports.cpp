#include "sales/salesreports.h"

#include "data/dates.h"
#include "data/ledger.h"
#include "data/reportquery.h"
#include "data/text.h"

#include <QDate>
#include <QHash>
#include <QMap>
#include <algorithm>
#include <numeric>
#include <tuple>

namespace fitrova {

namespace {

QString cardChkOf(qint64 cash, qint64 card)
{
    if (cash != 0 && card != 0)
        return QStringLiteral("3");
    return card != 0 ? QStringLiteral("2") : QStringLiteral("1");
}

// The conditions of a sales status query on Sale s.
QString statusWhere(const SalesStatusCriteria &c, Params &params)
{
    QString where = QStringLiteral(" WHERE ") + c.window.condition(QStringLiteral("s.SlDate"), QStringLiteral("s.LastTime"));
    params += c.window.params();
    if (!c.user.isEmpty()) {
        where += QStringLiteral(" AND s.LastUser = ?");
        params << c.user;
    }
    if (!c.course.isEmpty()) {
        where += QStringLiteral(" AND s.Course = ?");
        params << c.course;
    }
    return where;
}

bool isCounterMember(const QString &mbCode)
{
    const QString m = mbCode.trimmed();
    return m.isEmpty() || m == QLatin1String("00000000");
}

struct SaleRow {
    qint64 slId = 0;
    QString slDate, user, slNo, mbCode;
    int seq = 0;
    qint64 amount = 0;
    bool closed = false;
};

std::optional<SaleRow> lockSaleRow(const Db &db, qint64 slId)
{
    const auto r = db.queryOne(QStringLiteral("SELECT SlId, SlDate, LastUser, SlNo, SEQ, SlAmt, MbCode, FnChk, SlfDate "
                                              "FROM Sale WHERE SlId = ?")
                                   + db.forUpdate(),
                               {slId});
    if (!r)
        return std::nullopt;
    SaleRow s;
    s.slId = slId;
    s.slDate = r->str(QStringLiteral("SlDate"));
    s.user = r->str(QStringLiteral("LastUser"));
    s.slNo = r->str(QStringLiteral("SlNo"));
    s.mbCode = r->str(QStringLiteral("MbCode"));
    s.seq = int(r->num(QStringLiteral("SEQ")));
    s.amount = r->num(QStringLiteral("SlAmt"));
    s.closed = r->str(QStringLiteral("FnChk")).trimmed() == QLatin1String("1")
        || !r->str(QStringLiteral("SlfDate")).trimmed().isEmpty();
    return s;
}

const QString kVoucherWhere = QStringLiteral(" WHERE SlDate = ? AND LastUser = ? AND SlNo = ?");
Params voucherParams(const SaleRow &s) { return {s.slDate, s.user, s.slNo}; }

QString closedShiftText() { return QStringLiteral("교대마감된 자료는 수정할수 없읍니다"); }

QString lectureKindText(const QString &ltGubun, const QString &pgGubun)
{
    if (ltGubun == QLatin1String("2"))
        return QStringLiteral("반변경");
    if (ltGubun == QLatin1String("4"))
        return QStringLiteral("강좌환불");
    return pgGubun == QLatin1String("4") ? QStringLiteral("미납입금") : QStringLiteral("강좌접수");
}

QString lockerKindText(const QString &rqGubun)
{
    if (rqGubun == QLatin1String("3"))
        return QStringLiteral("사물함재등록");
    if (rqGubun == QLatin1String("4"))
        return QStringLiteral("사물함취소");
    if (rqGubun == QLatin1String("5"))
        return QStringLiteral("사물함관취");
    return QStringLiteral("사물함신규");
}

// The rows of one kind of takings (its table under the alias) in the period
// asked, by closing date or in the time window, and of the chosen user.
SqlFilter takingsFilter(const DetailedTakingsCriteria &c, TakingsKind kind, const QString &alias)
{
    const TakingsSource &source = takingsSource(kind);
    const QString a = alias + QLatin1Char('.');
    SqlFilter f;
    if (c.byClosingDate)
        f.between(a + source.stampColumn, c.fromDate, c.toDate);
    else
        f.add(c.window.condition(a + source.dateColumn, a + source.timeColumn), c.window.params());
    f.equalIfSet(a + QStringLiteral("LastUser"), c.user);
    return f;
}

void goodsTakings(const Db &db, const DetailedTakingsCriteria &c, QList<TakingsLine> &out)
{
    const QString sql = QStringLiteral(
        "SELECT s.SlId, s.SlDate, s.LastTime, s.LastUser, u.UserName, s.SlNo, s.MbCode, s.Course, c.Name AS CourseName, "
        "s.ItCode, i.ItName, s.Slqty, s.SlAmt, s.CashAmt, s.CardAmt, s.CardGubun, k.Name AS CardName, s.SlfDate, s.FnChk, "
        "s.Reprint, s.CashChk, s.SEQ "
        "FROM Sale s LEFT JOIN Item i ON s.ItId = i.ItId "
        "LEFT JOIN Course c ON c.PsGroup = 'S' AND c.Code = s.Course "
        "LEFT JOIN UserM u ON s.LastUser = u.PsCode LEFT JOIN Card k ON s.CardGubun = k.Code");
    SqlFilter f = takingsFilter(c, TakingsKind::Goods, QStringLiteral("s"));
    f.equalIfSet(QStringLiteral("s.Course"), c.course);
    if (c.payKind != PayKind::All)
        f.add(QStringLiteral("s.CardChk = ?"), {QString::number(int(c.payKind))});
    if (c.reprintOnly)
        f.add(QStringLiteral("s.Reprint = '1'"));
    if (c.cashReceiptOnly)
        f.add(QStringLiteral("s.CashChk = '1'"));
    const Rows rows = db.query(sql + f.where(), f.params());
    out.reserve(out.size() + rows.size());
    for (const Row &r : rows) {
        TakingsLine &l = out.emplace_back();
        l.kind = TakingsKind::Goods;
        l.id = numAt(r, 0);
        l.kindText = QStringLiteral("상품판매");
        l.date = textAt(r, 1);
        l.time = textAt(r, 2);
        l.user = textAt(r, 3);
        l.userName = textAt(r, 4);
        l.voucher = l.user + QLatin1Char('-') + textAt(r, 5);
        l.mbCode = textAt(r, 6);
        l.course = textAt(r, 7);
        l.courseName = textAt(r, 8);
        l.itemKey = l.course + textAt(r, 9);
        l.name = textAt(r, 10);
        l.qty = numAt(r, 11);
        l.amount = numAt(r, 12);
        l.cash = numAt(r, 13);
        l.card = numAt(r, 14);
        l.cardCo = textAt(r, 15);
        l.cardName = textAt(r, 16);
        l.closingDate = textAt(r, 17);
        l.shiftClosed = textAt(r, 18).trimmed() == QLatin1String("1");
        l.firstLine = numAt(r, 21) == 1;
        l.reprint = textAt(r, 19).trimmed() == QLatin1String("1");
        l.cashReceipt = textAt(r, 20).trimmed() == QLatin1String("1");
    }
}

void courseTakings(const Db &db, const DetailedTakingsCriteria &c, QList<TakingsLine> &out)
{
    const QString sql = QStringLiteral(
        "SELECT l.Ltid, l.LtGubun, l.PgGubun, l.RqDate, l.LastTime, l.LastUser, u.UserName, l.MbCode, "
        "COALESCE(m.MbName, l.MbName) AS MbName, l.Course, c.Name AS CourseName, COALESCE(g.PgName, l.PgName) AS PgName, "
        "l.CashAmt, l.CardAmt, l.Card, k.Name AS CardName, l.fDate "
        "FROM Lecture l LEFT JOIN Program g ON l.Pgid = g.Pgid LEFT JOIN Member m ON l.MbCode = m.MbCode "
        "LEFT JOIN UserM u ON l.LastUser = u.PsCode LEFT JOIN Course c ON c.PsGroup = 'P' AND c.Code = l.Course "
        "LEFT JOIN Card k ON l.Card = k.Code");
    SqlFilter f = takingsFilter(c, TakingsKind::Courses, QStringLiteral("l"));
    f.add(QStringLiteral("l.LtGubun IN ('1', '2', '4')"));
    switch (c.payKind) {
    case PayKind::Cash: f.add(QStringLiteral("l.CashAmt <> 0 AND l.CardAmt = 0")); break;
    case PayKind::Card: f.add(QStringLiteral("l.CardAmt <> 0 AND l.CashAmt = 0")); break;
    case PayKind::Both: f.add(QStringLiteral("l.CardAmt <> 0 AND l.CashAmt <> 0")); break;
    case PayKind::All: break;
    }
    const Rows rows = db.query(sql + f.where(), f.params());
    out.reserve(out.size() + rows.size());
    for (const Row &r : rows) {
        TakingsLine &l = out.emplace_back();
        l.kind = TakingsKind::Courses;
        l.id = numAt(r, 0);
        const QString ltGubun = textAt(r, 1).trimmed();
        l.kindText = lectureKindText(ltGubun, textAt(r, 2).trimmed());
        l.date = textAt(r, 3);
        l.time = textAt(r, 4);
        l.user = textAt(r, 5);
        l.userName = textAt(r, 6);
        l.mbCode = textAt(r, 7);
        l.mbName = textAt(r, 8);
        l.course = textAt(r, 9);
        l.courseName = textAt(r, 10);
        l.name = textAt(r, 11);
        l.itemKey = l.course + l.name;
        const qint64 sign = ltGubun == QLatin1String("4") ? -1 : 1;
        l.cash = sign * numAt(r, 12);
        l.card = sign * numAt(r, 13);
        l.amount = l.cash + l.card;
        l.qty = 1;
        l.cardCo = textAt(r, 14);
        l.cardName = textAt(r, 15);
        l.closingDate = textAt(r, 16);
    }
}

void lockerTakings(const Db &db, const DetailedTakingsCriteria &c, QList<TakingsLine> &out)
{
    const QString sql = QStringLiteral(
        "SELECT r.Rqid, r.RqGubun, r.RqDate, r.LastTime, r.LastUser, u.UserName, r.MbCode, m.MbName, r.BoxCode, "
        "b.BoxName, r.BoxNum, r.Samt, r.Uamt, r.Ramt, r.fDate "
        "FROM RqPerBox r LEFT JOIN Member m ON r.MbCode = m.MbCode LEFT JOIN PerBox b ON r.BoxCode = b.BoxCode "
        "LEFT JOIN UserM u ON r.LastUser = u.PsCode");
    SqlFilter f = takingsFilter(c, TakingsKind::Lockers, QStringLiteral("r"));
    f.add(QStringLiteral("r.RqGubun IN ('1', '3', '4', '5') AND (r.Samt + r.Uamt + r.Ramt) <> 0"));
    const Rows rows = db.query(sql + f.where(), f.params());
    out.reserve(out.size() + rows.size());
    for (const Row &r : rows) {
        TakingsLine &l = out.emplace_back();
        l.kind = TakingsKind::Lockers;
        l.id = numAt(r, 0);
        const QString rqGubun = textAt(r, 1).trimmed();
        l.kindText = lockerKindText(rqGubun);
        l.date = textAt(r, 2);
        l.time = textAt(r, 3);
        l.user = textAt(r, 4);
        l.userName = textAt(r, 5);
        l.mbCode = textAt(r, 6);
        l.mbName = textAt(r, 7);
        const QString boxNum = textAt(r, 10).trimmed();
        l.name = QStringLiteral("사물함") + textAt(r, 9) + QLatin1Char(' ') + boxNum + QStringLiteral(" 번");
        l.itemKey = rqGubun + QLatin1Char('|') + textAt(r, 8).trimmed().rightJustified(4, QLatin1Char('0'));
        l.cash = numAt(r, 11) + numAt(r, 12) - numAt(r, 13);
        l.amount = l.cash;
        l.qty = 1;
        l.closingDate = textAt(r, 14);
    }
}

} // namespace

// --- sales inquiry ---------------------------------------------------------------

Outcome setCashReceipt(const Db &db, const QString &slDate, const QString &user, const QString &slNo,
                       const QString &time, bool issued)
{
    const int n = db.exec(QStringLiteral("UPDATE Sale SET CashChk = ? WHERE SlDate = ? AND SlNo = ? AND LastUser = ? "
                                         "AND LastTime = ?"),
                          {issued ? QStringLiteral("1") : QStringLiteral("0"), slDate, slNo, user, time});
    if (n == 0)
        return Outcome::refused(QStringLiteral("수정작업중 오류가 발생하였습니다.관리자에게 문의하여 주십시요."),
                                QStringLiteral("자료수정"));
    return Outcome::done();
}

// --- sales status ------------------------------------------------------------------

QList<SaleLineRow> salesLines(const Db &db, const SalesStatusCriteria &c)
{
    Params p;
    const QString sql =
        QStringLiteral("SELECT s.SlId, s.SlDate, s.SlNo, s.LastUser, u.UserName, s.LastTime, s.SEQ, s.ItCode, i.ItName, "
                       "s.Slqty, s.SlCost, s.SlAmt, s.DcAmt, s.CashAmt, s.CardAmt, s.CardChk, s.CardGubun, "
                       "k.Name AS CardName, s.Reprint, s.CashChk, s.PosNo "
                       "FROM Sale s LEFT JOIN Item i ON s.ItId = i.ItId LEFT JOIN UserM u ON s.LastUser = u.PsCode "
                       "LEFT JOIN Card k ON s.CardGubun = k.Code")
        + statusWhere(c, p) + QStringLiteral(" ORDER BY s.SlDate, s.LastUser, s.SlNo, s.SEQ");
    QList<SaleLineRow> out;
    for (const Row &r : db.query(sql, p)) {
        SaleLineRow l;
        l.slId = r.num(QStringLiteral("SlId"));
        l.slDate = r.str(QStringLiteral("SlDate"));
        l.slNo = r.str(QStringLiteral("SlNo"));
        l.user = r.str(QStringLiteral("LastUser"));
        l.userName = r.str(QStringLiteral("UserName"));
        l.time = r.str(QStringLiteral("LastTime"));
        l.seq = int(r.num(QStringLiteral("SEQ")));
        l.itCode = r.str(QStringLiteral("ItCode"));
        l.itName = r.str(QStringLiteral("ItName"));
        l.qty = r.num(QStringLiteral("Slqty"));
        l.cost = r.num(QStringLiteral("SlCost"));
        l.amount = r.num(QStringLiteral("SlAmt"));
        l.discount = r.num(QStringLiteral("DcAmt"));
        l.cash = r.num(QStringLiteral("CashAmt"));
        l.card = r.num(QStringLiteral("CardAmt"));
        l.total = l.cash + l.card;
        l.cardChk = r.str(QStringLiteral("CardChk")).trimmed();
        l.cardGubun = r.str(QStringLiteral("CardGubun"));
        l.cardName = r.str(QStringLiteral("CardName"));
        l.reprint = r.str(QStringLiteral("Reprint")).trimmed() == QLatin1String("1");
        l.cashReceipt = r.str(QStringLiteral("CashChk")).trimmed() == QLatin1String("1");
        l.posNo = int(r.num(QStringLiteral("PosNo")));
        out << l;
    }
    return out;
}

QList<DayVoucher> dayVouchers(const Db &db, const QString &date, const QString &user, const QString &course)
{
    SalesStatusCriteria c;
    c.window = TimeWindow{date, QStringLiteral("00:00:00"), date, QStringLiteral("23:59:59")};
    c.user = user;
    c.course = course;
    QList<DayVoucher> out;
    for (const SaleLineRow &l : salesLines(db, c)) {
        if (out.isEmpty() || out.last().slNo != l.slNo || out.last().user != l.user) {
            DayVoucher v;
            v.slDate = l.slDate;
            v.slNo = l.slNo;
            v.user = l.user;
            v.userName = l.userName;
            v.time = l.time;
            v.posNo = l.posNo;
            out << v;
        }
        DayVoucher &v = out.last();
        // The payment stands on the voucher's first line; the voucher's time
        // and flags are those of its latest line.
        v.cash += l.cash;
        v.card += l.card;
        v.time = std::max(v.time, l.time);
        v.cashReceipt = v.cashReceipt || l.cashReceipt;
        v.lines << l;
    }
    std::stable_sort(out.begin(), out.end(), [](const DayVoucher &a, const DayVoucher &b) {
        if (a.time != b.time)
            return a.time > b.time;
        if (a.slNo != b.slNo)
            return a.slNo < b.slNo;
        return a.user < b.user;
    });
    return out;
}

QList<ItemSummaryRow> itemSummary(const Db &db, const SalesStatusCriteria &c)
{
    Params p;
    // Goods of a course that is no goods class, or of none, are listed too:
    // the summary's total is the lines' total.
    const QString sql =
        QStringLiteral("SELECT s.Course, s.Lclass, s.Mclass, s.Sclass, s.ItCode, SUM(s.Slqty) AS SlQty, "
                       "SUM(CASE WHEN s.CardChk = '1' THEN s.SlAmt ELSE 0 END) AS Cash1, "
                       "SUM(CASE WHEN s.CardChk = '2' THEN s.SlAmt ELSE 0 END) AS Card1, "
                       "SUM(CASE WHEN s.CardChk = '3' THEN s.CashAmt ELSE 0 END) AS Cash2, "
                       "SUM(CASE WHEN s.CardChk = '3' THEN s.CardAmt ELSE 0 END) AS Card2, "
                       "MAX(i.ItName) AS ItName, MAX(c.Name) AS CourseName "
                       "FROM Sale s LEFT JOIN Item i ON s.ItId = i.ItId "
                       "LEFT JOIN Course c ON c.PsGroup = 'S' AND c.Code = s.Course")
        + statusWhere(c, p)
        + QStringLiteral(" GROUP BY s.Course, s.Lclass, s.Mclass, s.Sclass, s.ItCode "
                         "ORDER BY s.Course, s.Lclass, s.Mclass, s.Sclass, s.ItCode");
    QList<ItemSummaryRow> out;
    for (const Row &r : db.query(sql, p)) {
        ItemSummaryRow s;
        s.course = r.str(QStringLiteral("Course"));
        s.courseName = r.str(QStringLiteral("CourseName"));
        s.lclass = r.str(QStringLiteral("Lclass"));
        s.mclass = r.str(QStringLiteral("Mclass"));
        s.sclass = r.str(QStringLiteral("Sclass"));
        s.itCode = r.str(QStringLiteral("ItCode"));
        s.itName = r.str(QStringLiteral("ItName"));
        s.qty = r.num(QStringLiteral("SlQty"));
        s.cash1 = r.num(QStringLiteral("Cash1"));
        s.card1 = r.num(QStringLiteral("Card1"));
        s.cash2 = r.num(QStringLiteral("Cash2"));
        s.card2 = r.num(QStringLiteral("Card2"));
        out << s;
    }
    return out;
}

QList<SummaryLine> summaryWithTotals(const QList<ItemSummaryRow> &rows)
{
    QList<SummaryLine> out;
    ItemSummaryRow classTotal, total;
    auto add = [](ItemSummaryRow &to, const ItemSummaryRow &r) {
        to.qty += r.qty;
        to.cash1 += r.cash1;
        to.card1 += r.card1;
        to.cash2 += r.cash2;
        to.card2 += r.card2;
    };
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const ItemSummaryRow &r = rows[i];
        out << SummaryLine{SummaryLine::Kind::Item, r};
        add(classTotal, r);
        add(total, r);
        if (i + 1 == rows.size() || rows[i + 1].course != r.course) {
            classTotal.course = r.course;
            classTotal.courseName = r.courseName;
            classTotal.itName = QStringLiteral("[상품항목계]");
            out << SummaryLine{SummaryLine::Kind::ClassTotal, classTotal};
            classTotal = {};
        }
    }
    total.itName = QStringLiteral("[총 합 계]");
    out << SummaryLine{SummaryLine::Kind::Total, total};
    return out;
}

QList<DailySalesRow> dailySales(const Db &db, const SalesStatusCriteria &c)
{
    Params p;
    const QString sql = QStringLiteral("SELECT s.SlDate, SUM(CASE WHEN s.SEQ = 1 THEN 1 ELSE 0 END) AS Vouchers, "
                                       "SUM(s.Slqty) AS Qty, SUM(s.CashAmt) AS Cash, SUM(s.CardAmt) AS Card FROM Sale s")
        + statusWhere(c, p) + QStringLiteral(" GROUP BY s.SlDate ORDER BY s.SlDate");
    QList<DailySalesRow> out;
    for (const Row &r : db.query(sql, p))
        out << DailySalesRow{r.str(QStringLiteral("SlDate")), r.num(QStringLiteral("Vouchers")), r.num(QStringLiteral("Qty")),
                             r.num(QStringLiteral("Cash")), r.num(QStringLiteral("Card"))};
    return out;
}

// --- detailed takings ----------------------------------------------------------------

QList<TakingsLine> detailedTakings(const Db &db, const DetailedTakingsCriteria &c)
{
    QList<TakingsLine> lines;
    goodsTakings(db, c, lines);
    // Reprints and cash receipts are goods' only; a card payment is never a locker's.
    const bool goodsOnly = c.reprintOnly || c.cashReceiptOnly;
    if (!goodsOnly)
        courseTakings(db, c, lines);
    if (!goodsOnly && (c.payKind == PayKind::All || c.payKind == PayKind::Cash))
        lockerTakings(db, c, lines);
    // Both orders end in the row's kind and id, which no two lines share: the
    // order is total, and the lines are moved once, into their places.
    std::vector<int> order(size_t(lines.size()));
    std::iota(order.begin(), order.end(), 0);
    const auto byUser = [&](int i, int j) {
        const TakingsLine &a = lines[i], &b = lines[j];
        return std::tie(a.user, a.date, a.time, a.kind, a.id) < std::tie(b.user, b.date, b.time, b.kind, b.id);
    };
    const auto byItem = [&](int i, int j) {
        const TakingsLine &a = lines[i], &b = lines[j];
        return std::tie(a.kind, a.itemKey, a.date, a.time, a.id) < std::tie(b.kind, b.itemKey, b.date, b.time, b.id);
    };
    if (c.order == TakingsOrder::UserThenTime)
        std::sort(order.begin(), order.end(), byUser);
    else
        std::sort(order.begin(), order.end(), byItem);
    QList<TakingsLine> out;
    out.reserve(lines.size());
    for (const int i : order)
        out.append(std::move(lines[i]));
    return out;
}

Takings takingsTotal(const QList<TakingsLine> &lines)
{
    Takings t;
    for (const TakingsLine &l : lines) {
        t.cash += l.cash;
        t.card += l.card;
        if (l.firstLine)
            ++t.count;
    }
    return t;
}

Outcome correctSalePayment(const Db &db, qint64 slId, qint64 cash, qint64 card)
{
    const QString title = paymentCorrectionTitle();
    return db.transaction([&] {
        const auto s = lockSaleRow(db, slId);
        if (!s)
            return Outcome::refused(QStringLiteral("수정되지 않았읍니다...관리자에게 문의하여 주십시요."), title);
        if (s->closed)
            return Outcome::refused(closedShiftText(), title);
        if (s->seq != 1)
            return Outcome::refused(QStringLiteral("결재금액은 전표의 첫째 줄에서 수정할수 있읍니다"), title);
        const qint64 payable =
            db.scalar(QStringLiteral("SELECT COALESCE(SUM(SlAmt), 0) FROM Sale") + kVoucherWhere, voucherParams(*s))
                .toLongLong();
        const bool signOk = payable >= 0 ? cash >= 0 && card >= 0 : cash <= 0 && card <= 0;
        if (!signOk || cash + card != payable)
            return Outcome::refused(QStringLiteral("현금액과 카드금액의 합이 판매금액(%1원)과 같아야 합니다").arg(wonText(payable)),
                                    title);
        if (db.exec(QStringLiteral("UPDATE Sale SET CashAmt = ?, CardAmt = ?, SLTAmt = ? WHERE SlId = ?"),
                    {cash, card, cash + card, slId})
            == 0)
            return Outcome::refused(QStringLiteral("수정되지 않았읍니다...관리자에게 문의하여 주십시요."), title);
        db.exec(QStringLiteral("UPDATE Sale SET CardChk = ?") + kVoucherWhere,
                Params{cardChkOf(cash, card)} + voucherParams(*s));
        return Outcome::done(slId);
    });
}

Outcome correctSaleCardCompany(const Db &db, qint64 slId, const QString &cardCode)
{
    const QString title = cardCorrectionTitle();
    return db.transaction([&] {
        const auto s = lockSaleRow(db, slId);
        if (!s)
            return Outcome::refused(QStringLiteral("상품판매 자료만 수정할수 있읍니다"), title);
        if (s->closed)
            return Outcome::refused(closedShiftText(), title);
        db.exec(QStringLiteral("UPDATE Sale SET CardGubun = ?") + kVoucherWhere,
                Params{cardCode.trimmed()} + voucherParams(*s));
        return Outcome::done(slId);
    });
}

bool DelSale(const Db &db, qint64 slId)
{
    return db.exec(QStringLiteral("DELETE FROM Sale WHERE SlId = ?"), {slId}) > 0;
}

Outcome deleteSaleLine(const Db &db, qint64 slId, bool mayDelete)
{
    const QString title = saleDeleteTitle();
    if (!mayDelete)
        return Outcome::refused(QStringLiteral("삭제권한이 없읍니다"), title);
    return db.transaction([&] {
        const auto s = lockSaleRow(db, slId);
        if (!s)
            return Outcome::refused(QStringLiteral("해당자료를 찾을수 없읍니다"), title);
        if (s->closed)
            return Outcome::refused(QStringLiteral("교대마감된 자료는 삭제할수 없읍니다"), title);
        const Rows lines = db.query(QStringLiteral("SELECT SlId, SEQ, CashAmt, CardAmt FROM Sale") + kVoucherWhere
                                        + QStringLiteral(" ORDER BY SEQ") + db.forUpdate(),
                                    voucherParams(*s));
        qint64 cash = 0, card = 0;
        for (const Row &r : lines) {
            cash += r.num(QStringLiteral("CashAmt"));
            card += r.num(QStringLiteral("CardAmt"));
        }
        // The payment drops by the line's amount, the cash first.
        if (s->amount >= 0) {
            const qint64 fromCash = std::clamp<qint64>(s->amount, 0, std::max<qint64>(cash, 0));
            cash -= fromCash;
            card -= s->amount - fromCash;
        } else {
            cash -= s->amount;
        }
        if (!DelSale(db, slId))
            return Outcome::refused(QStringLiteral("자료삭제중 오류가 발생하였습니다."), QStringLiteral("삭제오류"));
        int seq = 0;
        for (const Row &r : lines) {
            const qint64 id = r.num(QStringLiteral("SlId"));
            if (id == slId)
                continue;
            ++seq;
            const bool first = seq == 1;
            db.exec(QStringLiteral("UPDATE Sale SET SEQ = ?, CashAmt = ?, CardAmt = ?, SLTAmt = ?, CardChk = ? WHERE SlId = ?"),
                    {seq, first ? cash : 0, first ? card : 0, first ? cash + card : 0, cardChkOf(cash, card), id});
        }
        // A member's sale: the line's points go, the outstanding amount follows.
        if (!isCounterMember(s->mbCode)) {
            const QString mb = s->mbCode.trimmed();
            db.exec(QStringLiteral("DELETE FROM UserPoint WHERE MbCode = ? AND PgGubun = '4' AND JoinId = ?"), {mb, slId});
            recalcMemberPoint(db, mb);
            updateMemberUnpaid(db, mb);
        }
        return Outcome::done(slId);
    });
}

// --- card takings per company --------------------------------------------------------

qint64 CardTakings::dayTotal(int day) const
{
    qint64 t = 0;
    for (qint64 v : amounts.value(day))
        t += v;
    return t;
}

qint64 CardTakings::total() const
{
    qint64 t = 0;
    for (qint64 v : columnTotals)
        t += v;
    return t;
}

CardTakings cardTakings(const Db &db, int year, int month, CardTakingsSource source)
{
    CardTakings t;
    QHash<QString, QString> names;
    for (const CardCompany &c : cardCompanies(db))
        names.insert(c.code, c.name);
    for (const char *code : {"1", "2", "3", "4", "5", "6", "7", "8", "9", "A"}) {
        const QString k = QLatin1String(code);
        t.columns << CardCompany{k, names.value(k, k)};
    }
    t.columns << CardCompany{QString(), QStringLiteral("기타")};
    t.columnTotals = QList<qint64>(t.columns.size(), 0);
    const QDate first(year, month, 1);
    if (!first.isValid())
        return t;
    QHash<QString, int> dayIndex;
    for (QDate d = first; d.month() == first.month(); d = d.addDays(1)) {
        dayIndex.insert(fmtDate(d), int(t.days.size()));
        t.days << fmtDate(d);
        t.amounts << QList<qint64>(t.columns.size(), 0);
    }
    const Params range{t.days.first(), t.days.last()};
    auto add = [&](const QString &day, const QString &code, qint64 amount) {
        const int d = dayIndex.value(day, -1);
        if (d < 0)
            return;
        int col = int(t.columns.size()) - 1;
        for (int i = 0; i + 1 < t.columns.size(); ++i)
            if (t.columns[i].code.compare(code.trimmed(), Qt::CaseInsensitive) == 0)
                col = i;
        t.amounts[d][col] += amount;
        t.columnTotals[col] += amount;
    };
    if (source != CardTakingsSource::Members) {
        for (const Row &r : db.query(QStringLiteral("SELECT SlDate, CardGubun, SUM(CardAmt) AS Amt FROM Sale "
                                                    "WHERE SlDate >= ? AND SlDate <= ? AND CardChk <> '1' AND SEQ = 1 "
                                                    "AND CardAmt <> 0 GROUP BY SlDate, CardGubun"),
                                     range))
            add(r.str(QStringLiteral("SlDate")), r.str(QStringLiteral("CardGubun")), r.num(QStringLiteral("Amt")));
    }
    if (source != CardTakingsSource::Goods) {
        for (const Row &r : db.query(QStringLiteral("SELECT RqDate, Card, "
                                                    "SUM(CASE WHEN LtGubun = '4' THEN -CardAmt ELSE CardAmt END) AS Amt "
                                                    "FROM Lecture WHERE RqDate >= ? AND RqDate <= ? "
                                                    "AND LtGubun IN ('1', '2', '4') AND CardAmt <> 0 GROUP BY RqDate, Card"),
                                     range))
            add(r.str(QStringLiteral("RqDate")), r.str(QStringLiteral("Card")), r.num(QStringLiteral("Amt")));
    }
    return t;
}

// --- sales analysis graph -----------------------------------------------------------------

SalesGraph salesGraph(const Db &db, const GraphCriteria &c)
{
    SalesGraph g;
    const bool perDay = c.month >= 1 && c.month <= 12;
    const QDate first = perDay ? QDate(c.year, c.month, 1) : QDate(c.year, 1, 1);
    if (!first.isValid())
        return g;
    const QDate last = perDay ? first.addMonths(1).addDays(-1) : QDate(c.year, 12, 31);
    const int periods = perDay ? first.daysInMonth() : 12;
    for (int i = 1; i <= periods; ++i)
        g.periods << QString::number(i);

    const bool goods = c.source == GraphSource::Goods;
    // The period column, grouped on as written (PostgreSQL groups by
    // expressions, not by output names).
    QString period, table, amount, count, dateColumn, kinds;
    if (goods) {
        table = QStringLiteral("Sale");
        dateColumn = QStringLiteral("SlDate");
        period = perDay ? QStringLiteral("SlDate") : QStringLiteral("Slyymm");
        amount = QStringLiteral("SUM(SLTAmt)");
        count = perDay ? QStringLiteral("COUNT(*)") : QStringLiteral("SUM(Slqty)");
    } else {
        table = QStringLiteral("Lecture");
        dateColumn = QStringLiteral("RqDate");
        period = perDay ? QStringLiteral("RqDate") : QStringLiteral("substr(RqDate, 1, 7)");
        amount = QStringLiteral("SUM(TAmt)");
        count = QStringLiteral("COUNT(*)");
        kinds = QStringLiteral(" AND LtGubun < '3'");
    }
    QString sql = QStringLiteral("SELECT Course, %1 AS P, %2 AS Amt, %3 AS Cnt FROM %4 WHERE %5 >= ? AND %5 <= ?%6")
                      .arg(period, amount, count, table, dateColumn, kinds);
    Params p{fmtDate(first), fmtDate(last)};
    if (!c.course.isEmpty()) {
        sql += QStringLiteral(" AND Course = ?");
        p << c.course;
    }
    sql += QStringLiteral(" GROUP BY Course, %1 ORDER BY Course").arg(period);

    QMap<QString, QString> names;
    for (const Row &r : db.query(QStringLiteral("SELECT Code, Name FROM Course WHERE PsGroup = ?"),
                                 {goods ? QStringLiteral("S") : QStringLiteral("P")}))
        names.insert(r.str(QStringLiteral("Code")).trimmed(), r.str(QStringLiteral("Name")));

    QMap<QString, GraphSeries> byCourse;
    GraphSeries total{QString(), QStringLiteral("합계"), QList<qint64>(periods, 0)};
    for (const Row &r : db.query(sql, p)) {
        const QString at = r.str(QStringLiteral("P"));
        const int index = (perDay ? at.mid(8, 2).toInt() : at.mid(5, 2).toInt()) - 1;
        if (index < 0 || index >= periods)
            continue;
        const qint64 v = c.value == GraphValue::Amount ? r.num(QStringLiteral("Amt")) : r.num(QStringLiteral("Cnt"));
        const QString course = r.str(QStringLiteral("Course")).trimmed();
        auto it = byCourse.find(course);
        if (it == byCourse.end())
            it = byCourse.insert(course, GraphSeries{course, names.value(course, course), QList<qint64>(periods, 0)});
        it->values[index] += v;
        total.values[index] += v;
    }
    if (c.perCourse)
        g.series = byCourse.values();
    else
        g.series << total;
    return g;
}

} // namespace fitrova
