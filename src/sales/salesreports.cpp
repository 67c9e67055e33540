#include "sales/salesreports.h"

#include "data/dates.h"
#include "data/ledger.h"
#include "data/reportquery.h"
#include "data/rowstream.h"
#include "data/text.h"

#include <QDate>
#include <QHash>
#include <QMap>
#include <algorithm>
#include <cmath>
#include <optional>

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

SqlFilter goodsFilter(const DetailedTakingsCriteria &c)
{
    SqlFilter f = takingsFilter(c, TakingsKind::Goods, QStringLiteral("s"));
    f.equalIfSet(QStringLiteral("s.Course"), c.course);
    if (c.payKind != PayKind::All)
        f.add(QStringLiteral("s.CardChk = ?"), {QString::number(int(c.payKind))});
    if (c.reprintOnly)
        f.add(QStringLiteral("s.Reprint = '1'"));
    if (c.cashReceiptOnly)
        f.add(QStringLiteral("s.CashChk = '1'"));
    return f;
}

SqlFilter courseFilter(const DetailedTakingsCriteria &c)
{
    SqlFilter f = takingsFilter(c, TakingsKind::Courses, QStringLiteral("l"));
    f.add(QStringLiteral("l.LtGubun IN ('1', '2', '4')"));
    switch (c.payKind) {
    case PayKind::Cash: f.add(QStringLiteral("l.CashAmt <> 0 AND l.CardAmt = 0")); break;
    case PayKind::Card: f.add(QStringLiteral("l.CardAmt <> 0 AND l.CashAmt = 0")); break;
    case PayKind::Both: f.add(QStringLiteral("l.CardAmt <> 0 AND l.CashAmt <> 0")); break;
    case PayKind::All: break;
    }
    return f;
}

SqlFilter lockerFilter(const DetailedTakingsCriteria &c)
{
    SqlFilter f = takingsFilter(c, TakingsKind::Lockers, QStringLiteral("r"));
    f.add(QStringLiteral("r.RqGubun IN ('1', '3', '4', '5') AND (r.Samt + r.Uamt + r.Ramt) <> 0"));
    return f;
}

// The kinds of takings the criteria list: reprints and cash receipts are
// goods' only; a card payment is never a locker's.
QList<TakingsKind> listedKinds(const DetailedTakingsCriteria &c)
{
    QList<TakingsKind> kinds{TakingsKind::Goods};
    const bool goodsOnly = c.reprintOnly || c.cashReceiptOnly;
    if (!goodsOnly)
        kinds << TakingsKind::Courses;
    if (!goodsOnly && (c.payKind == PayKind::All || c.payKind == PayKind::Cash))
        kinds << TakingsKind::Lockers;
    return kinds;
}

// One kind of takings as the detailed takings read it. Its statements start
// with the columns the lines are ordered by (the user, date, time and item
// key expressions, then the row's id) and go on with the kind's own columns
// from kOwnColumns on. The order keys need only the kind's table (and the
// joins in keyJoins), so a page is chosen before the names are looked up.
struct TakingsStatement {
    QString table, alias, id;
    QString user, date, time, item;
    QString keyJoins;
    QString columns, joins;

    QString keys() const
    {
        return user + QStringLiteral(" AS K0, ") + date + QStringLiteral(" AS K1, ") + time + QStringLiteral(" AS K2, ") + item
            + QStringLiteral(" AS K3, ") + id + QStringLiteral(" AS Id");
    }
    QString from() const { return table + QLatin1Char(' ') + alias + keyJoins; }
};
constexpr int kOwnColumns = 5;

const TakingsStatement &takingsStatement(TakingsKind kind)
{
    static const TakingsStatement goods{
        QStringLiteral("Sale"), QStringLiteral("s"), QStringLiteral("s.SlId"), QStringLiteral("COALESCE(s.LastUser, '')"),
        QStringLiteral("COALESCE(s.SlDate, '')"), QStringLiteral("COALESCE(s.LastTime, '')"),
        QStringLiteral("COALESCE(s.Course, '') || COALESCE(s.ItCode, '')"), QString(),
        QStringLiteral("s.SlNo, s.MbCode, s.Course, s.ItId, s.Slqty, s.SlAmt, s.CashAmt, s.CardAmt, s.CardGubun, s.SlfDate, "
                       "CASE WHEN trim(s.FnChk) = '1' THEN 1 ELSE 0 END + CASE WHEN trim(s.Reprint) = '1' THEN 2 ELSE 0 END "
                       "+ CASE WHEN trim(s.CashChk) = '1' THEN 4 ELSE 0 END, s.SEQ"),
        QString()};
    static const TakingsStatement courses{
        QStringLiteral("Lecture"), QStringLiteral("l"), QStringLiteral("l.Ltid"), QStringLiteral("COALESCE(l.LastUser, '')"),
        QStringLiteral("COALESCE(l.RqDate, '')"), QStringLiteral("COALESCE(l.LastTime, '')"),
        QStringLiteral("COALESCE(l.Course, '') || COALESCE(g.PgName, l.PgName, '')"),
        QStringLiteral(" LEFT JOIN Program g ON l.Pgid = g.Pgid"),
        QStringLiteral("CASE WHEN l.LtGubun = '2' THEN 2 WHEN l.LtGubun = '4' THEN 4 WHEN trim(l.PgGubun) = '4' THEN 1 "
                       "ELSE 0 END, l.MbCode, COALESCE(m.MbName, l.MbName), l.Course, COALESCE(g.PgName, l.PgName), "
                       "l.CashAmt, l.CardAmt, l.Card, l.fDate"),
        QStringLiteral(" LEFT JOIN Member m ON l.MbCode = m.MbCode")};
    // Lockers by kind and locker group, the group's code right-aligned in
    // four places ("7" before "12").
    static const TakingsStatement lockers{
        QStringLiteral("RqPerBox"), QStringLiteral("r"), QStringLiteral("r.Rqid"), QStringLiteral("COALESCE(r.LastUser, '')"),
        QStringLiteral("COALESCE(r.RqDate, '')"), QStringLiteral("COALESCE(r.LastTime, '')"),
        QStringLiteral("COALESCE(trim(r.RqGubun), '') || '|' || "
                       "substr('0000' || COALESCE(trim(r.BoxCode), ''), length(COALESCE(trim(r.BoxCode), '')) + 1)"),
        QString(),
        QStringLiteral("r.RqGubun, r.MbCode, m.MbName, b.BoxName, r.BoxNum, r.Samt, r.Uamt, r.Ramt, r.fDate"),
        QStringLiteral(" LEFT JOIN Member m ON r.MbCode = m.MbCode LEFT JOIN PerBox b ON r.BoxCode = b.BoxCode")};
    switch (kind) {
    case TakingsKind::Goods: return goods;
    case TakingsKind::Courses: return courses;
    case TakingsKind::Lockers: break;
    }
    return lockers;
}

SqlFilter criteriaFilter(const DetailedTakingsCriteria &c, TakingsKind kind)
{
    switch (kind) {
    case TakingsKind::Goods: return goodsFilter(c);
    case TakingsKind::Courses: return courseFilter(c);
    case TakingsKind::Lockers: break;
    }
    return lockerFilter(c);
}

// The names of the small code tables the lines show, read once per list
// instead of joined to every line.
struct TakingsNames {
    QHash<QString, QString> users, goodsClasses, courseItems, cards;
    QHash<qint64, QString> items;

    // One statement with values, so that the connection keeps it prepared
    // (preparing costs more than reading these few rows).
    explicit TakingsNames(const Db &db)
    {
        const Rows rows = db.query(QStringLiteral("SELECT 'U', PsCode, UserName, 0 FROM UserM "
                                                  "UNION ALL SELECT PsGroup, Code, Name, 0 FROM Course WHERE PsGroup IN (?, ?) "
                                                  "UNION ALL SELECT 'K', Code, Name, 0 FROM Card "
                                                  "UNION ALL SELECT 'I', '', ItName, ItId FROM Item"),
                                   {QStringLiteral("S"), QStringLiteral("P")});
        for (const Row &r : rows) {
            const QString table = textAt(r, 0);
            if (table == QLatin1String("I"))
                items.insert(numAt(r, 3), textAt(r, 2));
            else
                (table == QLatin1String("U")   ? users
                 : table == QLatin1String("S") ? goodsClasses
                 : table == QLatin1String("P") ? courseItems
                                               : cards)
                    .insert(textAt(r, 1), textAt(r, 2));
        }
    }
};

// The line of a row of a takings statement (its values by position), read
// as the statement hands it over.
TakingsLine takingsLine(TakingsKind kind, const StreamRow &q, const TakingsNames &names)
{
    const auto text = [&q](int i) { return textOf(q.value(i)); };
    const auto num = [&q](int i) { return numOf(q.value(i)); };
    TakingsLine l;
    l.kind = kind;
    l.user = text(0);
    l.date = text(1);
    l.time = text(2);
    l.itemKey = text(3);
    l.id = num(4);
    l.userName = names.users.value(l.user);
    constexpr int o = kOwnColumns;
    switch (kind) {
    case TakingsKind::Goods: {
        l.kindText = QStringLiteral("상품판매");
        l.slNo = text(o);
        l.voucher = l.user + QLatin1Char('-') + l.slNo;
        l.mbCode = text(o + 1);
        l.course = text(o + 2);
        l.courseName = names.goodsClasses.value(l.course);
        const QVariant itId = q.value(o + 3);
        if (!itId.isNull())
            l.name = names.items.value(numOf(itId));
        l.qty = num(o + 4);
        l.amount = num(o + 5);
        l.cash = num(o + 6);
        l.card = num(o + 7);
        l.cardCo = text(o + 8);
        l.cardName = names.cards.value(l.cardCo);
        l.closingDate = text(o + 9);
        const qint64 flags = num(o + 10);
        l.shiftClosed = flags & 1;
        l.reprint = flags & 2;
        l.cashReceipt = flags & 4;
        l.firstLine = num(o + 11) == 1;
        break;
    }
    case TakingsKind::Courses: {
        // 2 class change, 4 refund (money paid back), 1 payment of an
        // outstanding amount, 0 enrollment.
        const qint64 what = num(o);
        l.kindText = what == 2 ? QStringLiteral("반변경")
            : what == 4        ? QStringLiteral("강좌환불")
            : what == 1        ? QStringLiteral("미납입금")
                               : QStringLiteral("강좌접수");
        l.mbCode = text(o + 1);
        l.mbName = text(o + 2);
        l.course = text(o + 3);
        l.courseName = names.courseItems.value(l.course);
        l.name = text(o + 4);
        const qint64 sign = what == 4 ? -1 : 1;
        l.cash = sign * num(o + 5);
        l.card = sign * num(o + 6);
        l.amount = l.cash + l.card;
        l.qty = 1;
        l.cardCo = text(o + 7);
        l.cardName = names.cards.value(l.cardCo);
        l.closingDate = text(o + 8);
        break;
    }
    case TakingsKind::Lockers:
        l.kindText = lockerKindText(text(o).trimmed());
        l.mbCode = text(o + 1);
        l.mbName = text(o + 2);
        l.name = QStringLiteral("사물함") + text(o + 3) + QLatin1Char(' ') + text(o + 4).trimmed()
            + QStringLiteral(" 번");
        l.cash = num(o + 5) + num(o + 6) - num(o + 7);
        l.amount = l.cash;
        l.qty = 1;
        l.closingDate = text(o + 8);
        break;
    }
    return l;
}

// The place of a kind among the lines of the same moment (user order) and
// among the kinds (item order).
int kindRank(TakingsKind kind) { return int(kind); }

bool byUserThenTime(const TakingsLine &a, const TakingsLine &b)
{
    if (int c = a.user.compare(b.user))
        return c < 0;
    if (int c = a.date.compare(b.date))
        return c < 0;
    if (int c = a.time.compare(b.time))
        return c < 0;
    if (a.kind != b.kind)
        return kindRank(a.kind) < kindRank(b.kind);
    return a.id < b.id;
}

// At most `limit` lines of one kind after `after` in the order asked (no
// limit when limit < 0), or nothing when every line of the kind lies before it.
std::optional<QList<TakingsLine>> kindPage(const Db &db, const DetailedTakingsCriteria &c, TakingsKind kind,
                                           const TakingsLine *after, qint64 limit, const TakingsNames &names)
{
    const TakingsStatement &t = takingsStatement(kind);
    SqlFilter f = criteriaFilter(c, kind);
    const bool byUser = c.order == TakingsOrder::UserThenTime;
    if (after) {
        const int mine = kindRank(kind), theirs = kindRank(after->kind);
        if (byUser) {
            const QString moment = QLatin1Char('(') + t.user + QStringLiteral(", ") + t.date + QStringLiteral(", ") + t.time;
            if (mine == theirs)
                f.add(moment + QStringLiteral(", ") + t.id + QStringLiteral(") > (?, ?, ?, ?)"),
                      {after->user, after->date, after->time, after->id});
            else
                // Another kind at the same moment comes before this one's
                // lines when its rank is lower.
                f.add(moment + (mine > theirs ? QStringLiteral(") >= (?, ?, ?)") : QStringLiteral(") > (?, ?, ?)")),
                      {after->user, after->date, after->time});
        } else {
            if (mine < theirs)
                return std::nullopt;
            if (mine == theirs)
                f.add(QLatin1Char('(') + t.item + QStringLiteral(", ") + t.date + QStringLiteral(", ") + t.time
                          + QStringLiteral(", ") + t.id + QStringLiteral(") > (?, ?, ?, ?)"),
                      {after->itemKey, after->date, after->time, after->id});
        }
    }
    const QString order = byUser ? QStringLiteral("K0, K1, K2, Id") : QStringLiteral("K3, K1, K2, Id");
    Params params = f.params();
    QString sql;
    if (limit >= 0 && !t.joins.isEmpty()) {
        // The page is chosen on the kind's own table; the joined names are
        // looked up for its lines only.
        params << limit;
        sql = QStringLiteral("SELECT p.K0, p.K1, p.K2, p.K3, p.Id, ") + t.columns + QStringLiteral(" FROM (SELECT ") + t.keys()
            + QStringLiteral(" FROM ") + t.from() + f.where() + QStringLiteral(" ORDER BY ") + order
            + QStringLiteral(" LIMIT ?) p JOIN ") + t.table + QLatin1Char(' ') + t.alias + QStringLiteral(" ON ") + t.id
            + QStringLiteral(" = p.Id") + t.keyJoins + t.joins + QStringLiteral(" ORDER BY p.")
            + QString(order).replace(QStringLiteral(", "), QStringLiteral(", p."));
    } else {
        sql = QStringLiteral("SELECT ") + t.keys() + QStringLiteral(", ") + t.columns + QStringLiteral(" FROM ") + t.from()
            + t.joins + f.where() + QStringLiteral(" ORDER BY ") + order;
        if (limit >= 0) {
            sql += QStringLiteral(" LIMIT ?");
            params << limit;
        }
    }
    // Each row becomes its line as it is read: a month's rows are never
    // held twice.
    QList<TakingsLine> out;
    forEachRow(db, sql, params, [&](const StreamRow &q) { out.append(takingsLine(kind, q, names)); });
    return out;
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

namespace {

// The lines after `after` in the order asked, at most `limit` (all when
// limit < 0). In item order the kinds follow each other; in user order each
// kind's lines are read in that order and merged.
QList<TakingsLine> readTakings(const Db &db, const DetailedTakingsCriteria &c, const TakingsLine *after, qint64 limit)
{
    QList<TakingsLine> out;
    const QList<TakingsKind> kinds = listedKinds(c);
    const TakingsNames names(db);
    if (c.order == TakingsOrder::ItemThenTime) {
        for (const TakingsKind kind : kinds) {
            if (limit >= 0 && out.size() >= limit)
                break;
            if (auto page = kindPage(db, c, kind, after, limit < 0 ? -1 : limit - out.size(), names))
                out.append(std::move(*page));
        }
        return out;
    }
    QList<QList<TakingsLine>> pages;
    qsizetype total = 0;
    for (const TakingsKind kind : kinds)
        if (auto page = kindPage(db, c, kind, after, limit, names)) {
            total += page->size();
            pages.append(std::move(*page));
        }
    const qsizetype n = limit < 0 ? total : std::min<qsizetype>(total, limit);
    out.reserve(n);
    QList<qsizetype> at(pages.size(), 0);
    while (out.size() < n) {
        int next = -1;
        for (int k = 0; k < pages.size(); ++k)
            if (at[k] < pages[k].size() && (next < 0 || byUserThenTime(pages[k][at[k]], pages[next][at[next]])))
                next = k;
        out.append(std::move(pages[next][at[next]++]));
    }
    return out;
}

} // namespace

QList<TakingsLine> detailedTakings(const Db &db, const DetailedTakingsCriteria &c)
{
    return readTakings(db, c, nullptr, -1);
}

QList<TakingsLine> detailedTakingsPage(const Db &db, const DetailedTakingsCriteria &c, const TakingsLine *after,
                                       int maxLines)
{
    return readTakings(db, c, after, std::max(1, maxLines));
}

QList<TakingsLine> voucherTakingsLines(const Db &db, const TakingsLine &goodsLine)
{
    const TakingsStatement &t = takingsStatement(TakingsKind::Goods);
    const TakingsNames names(db);
    QList<TakingsLine> out;
    forEachRow(db,
               QStringLiteral("SELECT ") + t.keys() + QStringLiteral(", ") + t.columns + QStringLiteral(" FROM ") + t.from()
                   + t.joins + QStringLiteral(" WHERE s.SlDate = ? AND s.LastUser = ? AND s.SlNo = ? ORDER BY s.SEQ, s.SlId"),
               {goodsLine.date, goodsLine.user, goodsLine.slNo},
               [&](const StreamRow &q) { out.append(takingsLine(TakingsKind::Goods, q, names)); });
    return out;
}

TakingsHead detailedTakingsHead(const Db &db, const DetailedTakingsCriteria &c)
{
    TakingsHead h;
    for (const TakingsKind kind : listedKinds(c)) {
        const SqlFilter f = criteriaFilter(c, kind);
        switch (kind) {
        case TakingsKind::Goods: {
            const auto r = db.queryOne(QStringLiteral("SELECT COUNT(*), SUM(CASE WHEN s.SEQ = 1 THEN 1 ELSE 0 END), "
                                                      "SUM(s.Slqty), SUM(s.SlAmt), SUM(s.CashAmt), SUM(s.CardAmt) FROM Sale s")
                                           + f.where(),
                                       f.params());
            h.lines += numAt(*r, 0);
            h.total.count += numAt(*r, 1);
            h.goodsQty += numAt(*r, 2);
            h.goodsAmount += numAt(*r, 3);
            h.total.cash += numAt(*r, 4);
            h.total.card += numAt(*r, 5);
            break;
        }
        case TakingsKind::Courses: {
            // Refunds are money paid back.
            const auto r = db.queryOne(
                QStringLiteral("SELECT COUNT(*), SUM(CASE WHEN l.LtGubun = '4' THEN -l.CashAmt ELSE l.CashAmt END), "
                               "SUM(CASE WHEN l.LtGubun = '4' THEN -l.CardAmt ELSE l.CardAmt END) FROM Lecture l")
                    + f.where(),
                f.params());
            h.lines += numAt(*r, 0);
            h.total.count += numAt(*r, 0);
            h.total.cash += numAt(*r, 1);
            h.total.card += numAt(*r, 2);
            break;
        }
        case TakingsKind::Lockers: {
            const auto r = db.queryOne(QStringLiteral("SELECT COUNT(*), SUM(r.Samt + r.Uamt - r.Ramt) FROM RqPerBox r")
                                           + f.where(),
                                       f.params());
            h.lines += numAt(*r, 0);
            h.total.count += numAt(*r, 0);
            h.total.cash += numAt(*r, 1);
            break;
        }
        }
    }
    return h;
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
