#include "closing/takingsreports.h"

#include "data/reportquery.h"
#include "data/rowstream.h"

#include <QHash>
#include <QMap>
#include <algorithm>

namespace fitrova {

namespace {

// The cash and card of goods lines: line amounts for vouchers of one kind of
// payment, the recorded payment (first line) for mixed ones.
const QString kGoodsCash = QStringLiteral(
    "SUM(CASE WHEN s.CardChk = '1' THEN s.SlAmt WHEN s.CardChk = '3' THEN s.CashAmt ELSE 0 END)");
const QString kGoodsCard = QStringLiteral(
    "SUM(CASE WHEN s.CardChk = '2' THEN s.SlAmt WHEN s.CardChk = '3' THEN s.CardAmt ELSE 0 END)");
// A locker row's money: deposit and fee taken, deposit paid back.
const QString kLockerCash = QStringLiteral("COALESCE(r.Samt, 0) + COALESCE(r.Uamt, 0) - COALESCE(r.Ramt, 0)");
const QString kLockerKinds = QStringLiteral("r.RqGubun IN ('1', '3', '4')");

QString courseKind(const QString &ltGubun, const QString &pgGubun)
{
    if (ltGubun == QLatin1String("1"))
        return pgGubun == QLatin1String("4") ? QStringLiteral("입금") : QStringLiteral("신청");
    if (ltGubun == QLatin1String("2"))
        return QStringLiteral("반변경");
    if (ltGubun == QLatin1String("4"))
        return QStringLiteral("환불");
    return QStringLiteral("양수");
}

QString lockerKind(const QString &rqGubun)
{
    if (rqGubun == QLatin1String("1"))
        return QStringLiteral("신규");
    if (rqGubun == QLatin1String("3"))
        return QStringLiteral("재등록");
    return QStringLiteral("해지");
}

int courseKindOrder(const QString &kind)
{
    static const QStringList order{QStringLiteral("신청"), QStringLiteral("입금"), QStringLiteral("반변경"),
                                   QStringLiteral("환불")};
    const int i = int(order.indexOf(kind));
    return i < 0 ? int(order.size()) : i;
}

SqlFilter courseFilter(const IncomeCriteria &c)
{
    SqlFilter f;
    f.between(QStringLiteral("l.RqDate"), c.dateFrom, c.dateTo);
    f.add(QStringLiteral("l.LtGubun IN ('1', '2', '4')"));
    f.equalIfSet(QStringLiteral("l.LastUser"), c.user);
    if (c.monthCnt > 0)
        f.add(QStringLiteral("l.MonthCnt = ?"), {c.monthCnt});
    return f;
}

SqlFilter goodsFilter(const IncomeCriteria &c)
{
    SqlFilter f;
    f.between(QStringLiteral("s.SlDate"), c.dateFrom, c.dateTo);
    f.equalIfSet(QStringLiteral("s.LastUser"), c.user);
    return f;
}

SqlFilter lockerFilter(const IncomeCriteria &c)
{
    SqlFilter f;
    f.between(QStringLiteral("r.RqDate"), c.dateFrom, c.dateTo);
    f.add(kLockerKinds);
    f.equalIfSet(QStringLiteral("r.LastUser"), c.user);
    return f;
}

Payment coursePay(const Row &r, const QString &ltGubun)
{
    const Payment p{r.num(QStringLiteral("Cash")), r.num(QStringLiteral("Card"))};
    return ltGubun == QLatin1String("4") ? -p : p;
}

} // namespace

// --- monthly summary --------------------------------------------------------------

Payment MonthlySalesLine::total() const
{
    Payment t = course;
    t += locker;
    t += goods1;
    t += goods2;
    t += goodsOther;
    return t;
}

qint64 toHundreds(qint64 won)
{
    const qint64 whole = won / 100, rest = won % 100;
    if (rest >= 50)
        return whole + 1;
    if (rest <= -50)
        return whole - 1;
    return whole;
}

MonthlySales monthlySales(const Db &db, const MonthlySalesCriteria &c)
{
    MonthlySales out;
    const DateRange range = monthRange(c.year, c.month);
    if (!range.isValid())
        return out;
    const bool closing = c.basis == TakingsBasis::ClosingDate;
    const QString lDay = closing ? QStringLiteral("l.fDate") : QStringLiteral("l.RqDate");
    const QString rDay = closing ? QStringLiteral("r.fDate") : QStringLiteral("r.RqDate");
    const QString sDay = closing ? QStringLiteral("s.SlfDate") : QStringLiteral("s.SlDate");
    const Params period{range.from, range.to};

    QHash<QString, MonthlySalesLine> byDay;
    for (const Row &r : db.query(QStringLiteral("SELECT ") + lDay + QStringLiteral(
                                     " AS Day, "
                                     "SUM(CASE WHEN l.LtGubun < '3' THEN l.CashAmt ELSE 0 END) AS Cash, "
                                     "SUM(CASE WHEN l.LtGubun < '3' THEN l.CardAmt ELSE 0 END) AS Card, "
                                     "SUM(CASE WHEN l.LtGubun = '4' THEN l.CashAmt ELSE 0 END) AS RefundCash, "
                                     "SUM(CASE WHEN l.LtGubun = '4' THEN l.CardAmt ELSE 0 END) AS RefundCard "
                                     "FROM Lecture l WHERE ")
                                     + lDay + QStringLiteral(" >= ? AND ") + lDay + QStringLiteral(" <= ? GROUP BY ")
                                     + lDay,
                                 period)) {
        MonthlySalesLine &l = byDay[r.str(QStringLiteral("Day"))];
        l.course += Payment{r.num(QStringLiteral("Cash")) - r.num(QStringLiteral("RefundCash")),
                            r.num(QStringLiteral("Card")) - r.num(QStringLiteral("RefundCard"))};
    }
    for (const Row &r : db.query(QStringLiteral("SELECT ") + rDay + QStringLiteral(" AS Day, SUM(") + kLockerCash
                                     + QStringLiteral(") AS Cash FROM RqPerBox r WHERE ") + rDay
                                     + QStringLiteral(" >= ? AND ") + rDay + QStringLiteral(" <= ? AND ") + kLockerKinds
                                     + QStringLiteral(" GROUP BY ") + rDay,
                                 period))
        byDay[r.str(QStringLiteral("Day"))].locker += Payment{r.num(QStringLiteral("Cash")), 0};

    QStringList goodsCourses;
    for (const Row &r : db.query(QStringLiteral("SELECT Code, Name FROM Course WHERE PsGroup = 'S' ORDER BY Code"))) {
        goodsCourses << r.str(QStringLiteral("Code"));
        if (goodsCourses.size() == 1)
            out.goods1Name = r.str(QStringLiteral("Name"));
        else if (goodsCourses.size() == 2)
            out.goods2Name = r.str(QStringLiteral("Name"));
    }
    for (const Row &r : db.query(QStringLiteral("SELECT ") + sDay + QStringLiteral(" AS Day, s.Course, ") + kGoodsCash
                                     + QStringLiteral(" AS Cash, ") + kGoodsCard + QStringLiteral(" AS Card FROM Sale s WHERE ")
                                     + sDay + QStringLiteral(" >= ? AND ") + sDay + QStringLiteral(" <= ? GROUP BY ") + sDay
                                     + QStringLiteral(", s.Course"),
                                 period)) {
        MonthlySalesLine &l = byDay[r.str(QStringLiteral("Day"))];
        const Payment p{r.num(QStringLiteral("Cash")), r.num(QStringLiteral("Card"))};
        const int i = int(goodsCourses.indexOf(r.str(QStringLiteral("Course"))));
        (i == 0 ? l.goods1 : i == 1 ? l.goods2 : l.goodsOther) += p;
    }

    const QDate first = dateFromText(range.from);
    for (int d = 0; d < first.daysInMonth(); ++d) {
        const QDate day = first.addDays(d);
        MonthlySalesLine l = byDay.value(fmtDate(day));
        l.day = day;
        out.total.course += l.course;
        out.total.locker += l.locker;
        out.total.goods1 += l.goods1;
        out.total.goods2 += l.goods2;
        out.total.goodsOther += l.goodsOther;
        out.days.append(l);
    }
    return out;
}

MonthlySales inHundreds(const MonthlySales &won)
{
    const auto round = [](const Payment &p) { return Payment{toHundreds(p.cash), toHundreds(p.card)}; };
    MonthlySales out;
    out.goods1Name = won.goods1Name;
    out.goods2Name = won.goods2Name;
    for (const MonthlySalesLine &w : won.days) {
        MonthlySalesLine l;
        l.day = w.day;
        l.course = round(w.course);
        l.locker = round(w.locker);
        l.goods1 = round(w.goods1);
        l.goods2 = round(w.goods2);
        l.goodsOther = round(w.goodsOther);
        out.total.course += l.course;
        out.total.locker += l.locker;
        out.total.goods1 += l.goods1;
        out.total.goods2 += l.goods2;
        out.total.goodsOther += l.goodsOther;
        out.days.append(l);
    }
    return out;
}

// --- income report ------------------------------------------------------------------

IncomeSummary incomeSummary(const Db &db, const IncomeCriteria &c)
{
    IncomeSummary out;
    const SqlFilter cf = courseFilter(c);
    for (const Row &r : db.query(
             QStringLiteral("SELECT l.Pgid, l.LtGubun, l.PgGubun, COUNT(*) AS Cnt, SUM(l.CashAmt) AS Cash, "
                            "SUM(l.CardAmt) AS Card, MAX(COALESCE(p.PgName, l.PgName, '')) AS PgName, "
                            "MAX(l.MonthCnt) AS MonthCnt FROM Lecture l LEFT JOIN Program p ON p.Pgid = l.Pgid")
                 + cf.where() + QStringLiteral(" GROUP BY l.Pgid, l.LtGubun, l.PgGubun"),
             cf.params())) {
        IncomeSumLine l;
        l.section = IncomeSection::Course;
        const QString ltGubun = r.str(QStringLiteral("LtGubun"));
        l.kind = courseKind(ltGubun, r.str(QStringLiteral("PgGubun")));
        l.name = r.str(QStringLiteral("PgName"));
        if (l.name.isEmpty() && l.kind == QStringLiteral("입금"))
            l.name = QStringLiteral("미수금 입금");
        l.months = r.num(QStringLiteral("MonthCnt"));
        l.count = r.num(QStringLiteral("Cnt"));
        l.pay = coursePay(r, ltGubun);
        out.courses.append(l);
    }
    std::stable_sort(out.courses.begin(), out.courses.end(), [](const IncomeSumLine &a, const IncomeSumLine &b) {
        const int ka = courseKindOrder(a.kind), kb = courseKindOrder(b.kind);
        return ka != kb ? ka < kb : a.name < b.name;
    });

    const SqlFilter gf = goodsFilter(c);
    for (const Row &r : db.query(QStringLiteral("SELECT s.ItId, MAX(COALESCE(i.ItName, '')) AS ItName, "
                                                "SUM(s.Slqty) AS Qty, ")
                                     + kGoodsCash + QStringLiteral(" AS Cash, ") + kGoodsCard
                                     + QStringLiteral(" AS Card FROM Sale s LEFT JOIN Item i ON i.ItId = s.ItId")
                                     + gf.where() + QStringLiteral(" GROUP BY s.ItId"),
                                 gf.params())) {
        IncomeSumLine l;
        l.section = IncomeSection::Goods;
        l.kind = QStringLiteral("판매");
        l.name = r.str(QStringLiteral("ItName"));
        l.count = r.num(QStringLiteral("Qty"));
        l.pay = {r.num(QStringLiteral("Cash")), r.num(QStringLiteral("Card"))};
        out.goods.append(l);
    }
    std::stable_sort(out.goods.begin(), out.goods.end(),
                     [](const IncomeSumLine &a, const IncomeSumLine &b) { return a.name < b.name; });

    const SqlFilter lf = lockerFilter(c);
    for (const Row &r : db.query(QStringLiteral("SELECT r.RqGubun, COUNT(*) AS Cnt, SUM(") + kLockerCash
                                     + QStringLiteral(") AS Cash FROM RqPerBox r") + lf.where()
                                     + QStringLiteral(" GROUP BY r.RqGubun ORDER BY r.RqGubun"),
                                 lf.params())) {
        IncomeSumLine l;
        l.section = IncomeSection::Locker;
        l.kind = lockerKind(r.str(QStringLiteral("RqGubun")));
        l.name = QStringLiteral("사물함");
        l.count = r.num(QStringLiteral("Cnt"));
        l.pay = {r.num(QStringLiteral("Cash")), 0};
        out.lockers.append(l);
    }

    for (const IncomeSumLine &l : std::as_const(out.courses))
        out.courseTotal += l.pay;
    for (const IncomeSumLine &l : std::as_const(out.goods))
        out.goodsTotal += l.pay;
    for (const IncomeSumLine &l : std::as_const(out.lockers))
        out.lockerTotal += l.pay;
    out.total = out.courseTotal;
    out.total += out.goodsTotal;
    out.total += out.lockerTotal;
    return out;
}

namespace {

// Pages up to this many lines find their rows first and join only those.
constexpr int kJoinAfterLimit = 5000;

// The three sections of the itemised report, each with its statement, its
// order and its line read by position. Every order ends on the row's id.

const QStringList kCourseOrder{QStringLiteral("l.RqDate"), QStringLiteral("l.Ltid")};
const QString kCourseLines = QStringLiteral(
    "SELECT l.Ltid, l.RqDate, l.LtGubun, l.PgGubun, l.Lectgubun, l.MbCode, "
    "COALESCE(m.MbName, l.MbName), COALESCE(m.Sex, l.Sex), COALESCE(p.PgName, l.PgName), l.MonthCnt, "
    "l.Sdate1, l.Sdate2, l.CashAmt, l.CardAmt");
const QString kCourseJoins = QStringLiteral(" LEFT JOIN Program p ON p.Pgid = l.Pgid "
                                            "LEFT JOIN Member m ON m.MbCode = l.MbCode");

IncomeDetailLine courseLine(const StreamRow &r)
{
    IncomeDetailLine l;
    l.section = IncomeSection::Course;
    const QString ltGubun = textAt(r, 2);
    l.kind = courseKind(ltGubun, textAt(r, 3));
    if (l.kind == QStringLiteral("신청"))
        l.kind = textAt(r, 4) == QLatin1String("2") ? QStringLiteral("재등록") : QStringLiteral("신규");
    l.ltid = l.rowId = numAt(r, 0);
    l.date = textAt(r, 1);
    l.mbCode = textAt(r, 5);
    l.mbName = textAt(r, 6);
    l.sex = textAt(r, 7).trimmed();
    l.name = textAt(r, 8);
    if (l.name.isEmpty() && l.kind == QStringLiteral("입금"))
        l.name = QStringLiteral("미수금 입금");
    l.months = numAt(r, 9);
    const QString s1 = textAt(r, 10), s2 = textAt(r, 11);
    l.period = s1.isEmpty() && s2.isEmpty() ? QString() : s1 + QLatin1Char('~') + s2;
    const Payment p{numAt(r, 12), numAt(r, 13)};
    l.pay = ltGubun == QLatin1String("4") ? -p : p;
    return l;
}

// By day, voucher number, desk user and line of the voucher.
const QStringList kGoodsOrder{QStringLiteral("s.SlDate"), QStringLiteral("COALESCE(s.SlNo, '')"),
                              QStringLiteral("COALESCE(s.LastUser, '')"), QStringLiteral("COALESCE(s.SEQ, 0)"),
                              QStringLiteral("s.SlId")};
const QString kGoodsLines = QStringLiteral("SELECT s.SlDate, s.SlNo, s.MbCode, s.Slqty, s.CardChk, s.SlAmt, "
                                           "s.CashAmt, s.CardAmt, i.ItName, m.MbName, m.Sex, s.LastUser, s.SEQ, s.SlId");
const QString kGoodsJoins = QStringLiteral(" LEFT JOIN Item i ON i.ItId = s.ItId "
                                           "LEFT JOIN Member m ON m.MbCode = s.MbCode");

IncomeDetailLine goodsLine(const StreamRow &r)
{
    IncomeDetailLine l;
    l.section = IncomeSection::Goods;
    l.qty = numAt(r, 3);
    l.kind = l.qty < 0 ? QStringLiteral("환불") : QStringLiteral("판매");
    l.date = textAt(r, 0);
    l.voucher = textAt(r, 1);
    l.mbCode = textAt(r, 2);
    l.mbName = textAt(r, 9);
    l.sex = textAt(r, 10).trimmed();
    l.name = textAt(r, 8);
    const QString kind = textAt(r, 4);
    if (kind == QLatin1String("1"))
        l.pay = {numAt(r, 5), 0};
    else if (kind == QLatin1String("2"))
        l.pay = {0, numAt(r, 5)};
    else if (kind == QLatin1String("3"))
        l.pay = {numAt(r, 6), numAt(r, 7)};
    l.user = textAt(r, 11);
    l.seq = numAt(r, 12);
    l.rowId = numAt(r, 13);
    return l;
}

// New rentals, renewals, cancellations; by locker group, day, box and row.
const QStringList kLockerOrder{QStringLiteral("r.RqGubun"), QStringLiteral("COALESCE(r.BoxCode, '')"),
                               QStringLiteral("r.RqDate"), QStringLiteral("COALESCE(r.RqBox, 0)"),
                               QStringLiteral("r.Rqid")};
const QString kLockerLines = QStringLiteral("SELECT r.RqDate, r.RqGubun, r.MbCode, r.BoxNum, r.UseDate1, r.UseDate2, "
                                            "r.MonCnt, ")
    + kLockerCash + QStringLiteral(", m.MbName, m.Sex, b.BoxName, r.BoxCode, r.RqBox, r.Rqid");
const QString kLockerJoins = QStringLiteral(" LEFT JOIN Member m ON m.MbCode = r.MbCode "
                                            "LEFT JOIN PerBox b ON b.BoxCode = r.BoxCode");

IncomeDetailLine lockerLine(const StreamRow &r)
{
    IncomeDetailLine l;
    l.section = IncomeSection::Locker;
    l.rqGubun = textAt(r, 1);
    l.kind = l.rqGubun == QLatin1String("1") ? QStringLiteral("사물함") : lockerKind(l.rqGubun);
    l.date = textAt(r, 0);
    l.mbCode = textAt(r, 2);
    l.mbName = textAt(r, 8);
    l.sex = textAt(r, 9).trimmed();
    l.name = QStringLiteral("사물함") + textAt(r, 10) + QLatin1Char(' ') + textAt(r, 3) + QStringLiteral(" 번");
    l.months = numAt(r, 6);
    l.period = textAt(r, 4) + QLatin1Char('~') + textAt(r, 5);
    l.pay = {numAt(r, 7), 0};
    l.boxCode = textAt(r, 11);
    l.rqBox = numAt(r, 12);
    l.rowId = numAt(r, 13);
    return l;
}

struct DetailSection {
    IncomeSection section;
    const QString &select, &table, &joins;
    const QStringList &order;
    IncomeDetailLine (*line)(const StreamRow &);
    SqlFilter (*filter)(const IncomeCriteria &);
    // The order's values on a line of the section.
    Params (*keys)(const IncomeDetailLine &);
};

const QString kCourseTable = QStringLiteral(" FROM Lecture l"), kGoodsTable = QStringLiteral(" FROM Sale s"),
              kLockerTable = QStringLiteral(" FROM RqPerBox r");

const DetailSection kSections[] = {
    {IncomeSection::Course, kCourseLines, kCourseTable, kCourseJoins, kCourseOrder, courseLine,
     courseFilter, [](const IncomeDetailLine &l) { return Params{l.date, l.rowId}; }},
    {IncomeSection::Goods, kGoodsLines, kGoodsTable, kGoodsJoins, kGoodsOrder, goodsLine, goodsFilter,
     [](const IncomeDetailLine &l) { return Params{l.date, l.voucher, l.user, l.seq, l.rowId}; }},
    {IncomeSection::Locker, kLockerLines, kLockerTable, kLockerJoins, kLockerOrder, lockerLine,
     lockerFilter, [](const IncomeDetailLine &l) { return Params{l.rqGubun, l.boxCode, l.date, l.rqBox, l.rowId}; }},
};

// The lines of one section: all of them (maxLines 0), or a page after a line.
QList<IncomeDetailLine> sectionLines(const Db &db, const DetailSection &s, const IncomeCriteria &c,
                                     const IncomeDetailLine *after, int maxLines)
{
    const QString order = QStringLiteral(" ORDER BY ") + s.order.join(QStringLiteral(", "));
    IncomeCriteria from = c;
    // Courses and goods are in date order: their index range starts at the last date read.
    if (after && s.section != IncomeSection::Locker && after->date > from.dateFrom)
        from.dateFrom = after->date;
    SqlFilter f = s.filter(from);
    if (after) {
        const auto [cond, values] = afterKeys(s.order, s.keys(*after));
        f.add(cond, values);
    }
    QString sql;
    Params params = f.params();
    if (maxLines <= 0) {
        sql = s.select + s.table + s.joins + f.where() + order;
    } else if (maxLines > kJoinAfterLimit) {
        // Reading the rest at once (for printing) joins as it goes.
        sql = s.select + s.table + s.joins + f.where() + order + QStringLiteral(" LIMIT ?");
        params << maxLines;
    } else {
        // The rows of a screenful are found on their table alone; only they are joined.
        const QString &id = s.order.last();
        sql = s.select + QStringLiteral(" FROM (SELECT ") + id + QStringLiteral(" AS Id") + s.table + f.where() + order
            + QStringLiteral(" LIMIT ?) k JOIN") + s.table.mid(5) + QStringLiteral(" ON ") + id + QStringLiteral(" = k.Id")
            + s.joins + order;
        params << maxLines;
    }
    QList<IncomeDetailLine> out;
    forEachRow(db, sql, params, [&](const StreamRow &r) { out.append(s.line(r)); });
    return out;
}

} // namespace

IncomeDetail incomeDetail(const Db &db, const IncomeCriteria &c)
{
    IncomeDetail out;
    QList<IncomeDetailLine> *lists[] = {&out.courses, &out.goods, &out.lockers};
    Payment *totals[] = {&out.courseTotal, &out.goodsTotal, &out.lockerTotal};
    for (int i = 0; i < 3; ++i) {
        *lists[i] = sectionLines(db, kSections[i], c, nullptr, 0);
        for (const IncomeDetailLine &l : std::as_const(*lists[i]))
            *totals[i] += l.pay;
    }
    out.total = out.courseTotal;
    out.total += out.goodsTotal;
    out.total += out.lockerTotal;
    return out;
}

QList<IncomeDetailLine> incomeDetailPage(const Db &db, const IncomeCriteria &c, const IncomeDetailLine *after,
                                         int maxLines)
{
    maxLines = std::max(1, maxLines);
    QList<IncomeDetailLine> out;
    for (const DetailSection &s : kSections) {
        if (after && int(s.section) < int(after->section))
            continue;
        const IncomeDetailLine *from = after && after->section == s.section ? after : nullptr;
        out += sectionLines(db, s, c, from, maxLines - int(out.size()));
        if (out.size() >= maxLines)
            break;
    }
    return out;
}

IncomeTotals incomeTotals(const Db &db, const IncomeCriteria &c)
{
    IncomeTotals out;
    const SqlFilter cf = courseFilter(c);
    if (const auto r = db.queryOne(
            QStringLiteral("SELECT COUNT(*), "
                           "SUM(CASE WHEN l.LtGubun = '4' THEN -l.CashAmt ELSE l.CashAmt END), "
                           "SUM(CASE WHEN l.LtGubun = '4' THEN -l.CardAmt ELSE l.CardAmt END) FROM Lecture l")
                + cf.where(),
            cf.params())) {
        out.courseLines = numAt(*r, 0);
        out.course = {numAt(*r, 1), numAt(*r, 2)};
    }
    const SqlFilter gf = goodsFilter(c);
    if (const auto r = db.queryOne(QStringLiteral("SELECT COUNT(*), ") + kGoodsCash + QStringLiteral(", ") + kGoodsCard
                                       + QStringLiteral(" FROM Sale s") + gf.where(),
                                   gf.params())) {
        out.goodsLines = numAt(*r, 0);
        out.goods = {numAt(*r, 1), numAt(*r, 2)};
    }
    const SqlFilter lf = lockerFilter(c);
    if (const auto r = db.queryOne(QStringLiteral("SELECT COUNT(*), SUM(") + kLockerCash
                                       + QStringLiteral(") FROM RqPerBox r") + lf.where(),
                                   lf.params())) {
        out.lockerLines = numAt(*r, 0);
        out.locker = {numAt(*r, 1), 0};
    }
    out.total = out.course;
    out.total += out.goods;
    out.total += out.locker;
    return out;
}

QString lectureFirstPeriod(const Db &db, qint64 ltid)
{
    const auto r = db.queryOne(QStringLiteral("SELECT ddate1, ddate2 FROM Lecture WHERE Ltid = ?"), {ltid});
    return r ? r->str(QStringLiteral("ddate1")) + QLatin1Char('~') + r->str(QStringLiteral("ddate2")) : QString();
}

// --- member settlement ----------------------------------------------------------------

SettlementLine &SettlementLine::operator+=(const SettlementLine &o)
{
    newCount += o.newCount;
    renewCount += o.renewCount;
    enrollCount += o.enrollCount;
    enrollAmt += o.enrollAmt;
    cashCount += o.cashCount;
    cashAmt += o.cashAmt;
    cardCount += o.cardCount;
    cardAmt += o.cardAmt;
    changeCount += o.changeCount;
    changeAmt += o.changeAmt;
    delayCash += o.delayCash;
    delayCard += o.delayCard;
    refundCount += o.refundCount;
    refundAmt += o.refundAmt;
    transferCount += o.transferCount;
    return *this;
}

Settlement memberSettlement(const Db &db, const SettlementCriteria &c)
{
    Settlement out;
    const DateRange from = monthRange(c.monthFrom), to = monthRange(c.monthTo);
    if (!from.isValid() || !to.isValid())
        return out;
    const QString months = c.byMonthCount ? QStringLiteral(", l.MonthCnt") : QString();
    const Rows rows = db.query(
        QStringLiteral(
            "SELECT l.Course, l.Pgid") + months + QStringLiteral(", "
            "SUM(CASE WHEN l.LtGubun = '1' AND l.Lectgubun = '1' AND l.TAmt > 0 THEN 1 ELSE 0 END) AS CntNew, "
            "SUM(CASE WHEN l.LtGubun = '1' AND l.Lectgubun = '2' AND l.TAmt > 0 THEN 1 ELSE 0 END) AS CntRenew, "
            "SUM(CASE WHEN l.LtGubun = '1' AND l.TAmt > 0 THEN 1 ELSE 0 END) AS CntEnroll, "
            "SUM(CASE WHEN l.LtGubun = '1' THEN l.TAmt ELSE 0 END) AS AmtEnroll, "
            "SUM(CASE WHEN l.LtGubun = '1' AND l.CashAmt > 0 THEN 1 ELSE 0 END) AS CntCash, "
            "SUM(CASE WHEN l.LtGubun = '1' THEN l.CashAmt ELSE 0 END) AS AmtCash, "
            "SUM(CASE WHEN l.LtGubun = '1' AND l.CardAmt > 0 THEN 1 ELSE 0 END) AS CntCard, "
            "SUM(CASE WHEN l.LtGubun = '1' THEN l.CardAmt ELSE 0 END) AS AmtCard, "
            "SUM(CASE WHEN l.LtGubun = '2' THEN 1 ELSE 0 END) AS CntChange, "
            "SUM(CASE WHEN l.LtGubun = '2' THEN l.CashAmt + l.CardAmt ELSE 0 END) AS AmtChange, "
            "SUM(CASE WHEN l.LtGubun = '3' THEN l.CashAmt ELSE 0 END) AS DelayCash, "
            "SUM(CASE WHEN l.LtGubun = '3' THEN l.CardAmt ELSE 0 END) AS DelayCard, "
            "SUM(CASE WHEN l.LtGubun = '4' AND l.TAmt > 0 THEN 1 ELSE 0 END) AS CntRefund, "
            "SUM(CASE WHEN l.LtGubun = '4' THEN l.TAmt ELSE 0 END) AS AmtRefund, "
            "SUM(CASE WHEN l.LtGubun = '0' THEN 1 ELSE 0 END) AS CntTransfer, "
            "MAX(COALESCE(p.PgName, l.PgName, '')) AS PgName, MAX(c.Name) AS CourseName, "
            "MAX(COALESCE(l.Lclass, '')) AS Lclass, MAX(COALESCE(l.Mclass, '')) AS Mclass, "
            "MAX(COALESCE(l.Sclass, '')) AS Sclass, MAX(COALESCE(l.PgCode, '')) AS PgCode "
            "FROM Lecture l LEFT JOIN Program p ON p.Pgid = l.Pgid "
            "JOIN Course c ON c.Code = l.Course AND c.PsGroup = 'P' "
            "WHERE l.RqDate >= ? AND l.RqDate <= ? AND l.PgGubun <> '3' "
            "GROUP BY l.Course, l.Pgid") + months,
        {from.from, to.to});

    struct Keyed {
        QString sortKey;
        SettlementLine line;
    };
    QList<Keyed> lines;
    for (const Row &r : rows) {
        SettlementLine l;
        l.course = r.str(QStringLiteral("Course"));
        l.courseName = r.str(QStringLiteral("CourseName"));
        l.pgid = r.num(QStringLiteral("Pgid"));
        l.pgName = r.str(QStringLiteral("PgName"));
        l.monthCnt = c.byMonthCount ? r.num(QStringLiteral("MonthCnt")) : -1;
        l.newCount = r.num(QStringLiteral("CntNew"));
        l.renewCount = r.num(QStringLiteral("CntRenew"));
        l.enrollCount = r.num(QStringLiteral("CntEnroll"));
        l.enrollAmt = r.num(QStringLiteral("AmtEnroll"));
        l.cashCount = r.num(QStringLiteral("CntCash"));
        l.cashAmt = r.num(QStringLiteral("AmtCash"));
        l.cardCount = r.num(QStringLiteral("CntCard"));
        l.cardAmt = r.num(QStringLiteral("AmtCard"));
        l.changeCount = r.num(QStringLiteral("CntChange"));
        l.changeAmt = r.num(QStringLiteral("AmtChange"));
        l.delayCash = r.num(QStringLiteral("DelayCash"));
        l.delayCard = r.num(QStringLiteral("DelayCard"));
        l.refundCount = r.num(QStringLiteral("CntRefund"));
        l.refundAmt = r.num(QStringLiteral("AmtRefund"));
        l.transferCount = r.num(QStringLiteral("CntTransfer"));
        // Course, classes and program code, then the program and the months.
        const QString key = l.course + QLatin1Char('\x1f') + r.str(QStringLiteral("Lclass")) + QLatin1Char('\x1f')
            + r.str(QStringLiteral("Mclass")) + QLatin1Char('\x1f') + r.str(QStringLiteral("Sclass"))
            + QLatin1Char('\x1f') + r.str(QStringLiteral("PgCode")) + QLatin1Char('\x1f')
            + QStringLiteral("%1").arg(l.pgid, 12, 10, QLatin1Char('0')) + QLatin1Char('\x1f')
            + QStringLiteral("%1").arg(std::max<qint64>(l.monthCnt, 0), 4, 10, QLatin1Char('0'));
        lines.append({key, l});
    }
    std::sort(lines.begin(), lines.end(), [](const Keyed &a, const Keyed &b) { return a.sortKey < b.sortKey; });
    for (const Keyed &k : std::as_const(lines)) {
        if (out.groups.isEmpty() || out.groups.last().course != k.line.course) {
            SettlementGroup g;
            g.course = k.line.course;
            g.courseName = k.line.courseName;
            out.groups.append(g);
        }
        out.groups.last().lines.append(k.line);
        out.groups.last().subtotal += k.line;
        out.total += k.line;
    }
    return out;
}

} // namespace fitrova
