#include "entrance/reports.h"

#include "data/codetexts.h"
#include "data/dates.h"
#include "data/reportquery.h"
#include "data/rowstream.h"

#include <QHash>
#include <QMap>

namespace fitrova {

namespace {

qint64 ageOf(const Row &r)
{
    return r.isNull(QStringLiteral("Age")) ? -1 : r.num(QStringLiteral("Age"));
}

// The visits of a report on the visit table under the alias: the period,
// and the course item, program and instructor when chosen. The visit row
// carries no instructor: it is the one of the visit's program.
SqlFilter visitFilter(const QString &alias, const QString &from, const QString &to, const QString &course = {},
                      qint64 pgid = 0, const QString &ltCode = {})
{
    SqlFilter f;
    f.between(alias + QStringLiteral(".InDate"), from, to);
    f.equalIfSet(alias + QStringLiteral(".Course"), course);
    f.equalIfSet(alias + QStringLiteral(".Pgid"), pgid);
    if (!ltCode.isEmpty())
        f.add(alias + QStringLiteral(".Pgid IN (SELECT Pgid FROM Program WHERE LtCode = ?)"), {ltCode});
    return f;
}

} // namespace

// --- visit list -------------------------------------------------------------------

namespace {

SqlFilter visitListFilter(const VisitListCriteria &c)
{
    SqlFilter f = visitFilter(QStringLiteral("e"), c.dateFrom, c.dateTo, c.course, c.pgid, c.ltCode);
    f.equalIfSet(QStringLiteral("e.MbCode"), c.mbCode);
    f.equalIfSet(QStringLiteral("m.Sex"), c.sex);
    if (!c.timeFrom.isEmpty() && c.timeFrom > QLatin1String("00:00"))
        f.add(QStringLiteral("e.InTime >= ?"), {c.timeFrom});
    if (!c.timeTo.isEmpty() && c.timeTo < QLatin1String("24:00"))
        f.add(QStringLiteral("e.InTime <= ?"), {c.timeTo});
    return f;
}

QList<VisitLine> visitLines(const Db &db, const SqlFilter &f, const QString &tail = {}, const Params &tailParams = {})
{
    QList<VisitLine> out;
    const QString manual = manualAttendanceMemo();
    // A month holds a hundred thousand visits and more: each row becomes its
    // line as it is read, by position.
    forEachRow(
        db,
        QStringLiteral("SELECT e.Entid, e.InDate, e.InTime, e.OutTime, e.PgGubun, e.MbCode, e.MbCard, e.uTime, e.Memo, "
                       "m.MbName, m.Sex, m.Age, m.MbName1, p.PgName "
                       "FROM entrance e LEFT JOIN Member m ON m.MbCode = e.MbCode "
                       "LEFT JOIN Program p ON p.Pgid = e.Pgid")
            + f.where() + QStringLiteral(" ORDER BY e.InDate, e.InTime, e.Entid") + tail,
        f.params() + tailParams, [&](const StreamRow &r) {
            VisitLine &l = out.emplace_back();
            l.entid = numAt(r, 0);
            l.inDate = textAt(r, 1);
            l.inTime = textAt(r, 2);
            l.outTime = textAt(r, 3);
            l.timeBased = textAt(r, 4) == QLatin1String("2");
            l.mbCode = textAt(r, 5);
            l.card = textAt(r, 6);
            l.usedMinutes = numAt(r, 7);
            l.memo = textAt(r, 8);
            l.manual = l.memo == manual;
            l.mbName = textAt(r, 9);
            l.sex = textAt(r, 10).trimmed();
            l.age = r.isNull(11) ? -1 : numAt(r, 11);
            l.guardian = textAt(r, 12);
            l.pgName = textAt(r, 13);
        });
    return out;
}

} // namespace

VisitList visitList(const Db &db, const VisitListCriteria &c)
{
    VisitList out;
    out.lines = visitLines(db, visitListFilter(c));
    out.count = out.lines.size();
    return out;
}

QList<VisitLine> visitListPage(const Db &db, const VisitListCriteria &c, const VisitLine *after, int maxLines)
{
    SqlFilter f = visitListFilter(c);
    if (after) {
        // After the last line in the list's order: later day, later time
        // that day, or the same time and a later visit.
        const auto [cond, values] = afterKeys({QStringLiteral("e.InDate"), QStringLiteral("e.InTime"), QStringLiteral("e.Entid")},
                                              {after->inDate, after->inTime, after->entid});
        f.add(cond, values);
    }
    return visitLines(db, f, QStringLiteral(" LIMIT ?"), {std::max(1, maxLines)});
}

qint64 visitListCount(const Db &db, const VisitListCriteria &c)
{
    const SqlFilter f = visitListFilter(c);
    return db
        .scalar(QStringLiteral("SELECT COUNT(*) FROM entrance e")
                    + (c.sex.isEmpty() ? QString() : QStringLiteral(" LEFT JOIN Member m ON m.MbCode = e.MbCode"))
                    + f.where(),
                f.params())
        .toLongLong();
}

// --- visit counts -----------------------------------------------------------------

VisitCounts visitCounts(const Db &db, const VisitCountCriteria &c)
{
    // The visits are counted from the index on date and member alone; the
    // card and program of each group counted are then read for the groups
    // that reach the least count only (few where two visits a day are asked).
    const SqlFilter f = visitFilter(QStringLiteral("e"), c.dateFrom, c.dateTo, c.course, c.pgid, c.ltCode);
    const SqlFilter x = visitFilter(QStringLiteral("x"), c.dateFrom, c.dateTo, c.course, c.pgid, c.ltCode);
    const QString group = c.perDay ? QStringLiteral("e.InDate, e.MbCode") : QStringLiteral("e.MbCode");
    const QString day = c.perDay ? QStringLiteral("n.InDate, ") : QString();
    const QString sameGroup = QStringLiteral("x.MbCode = n.MbCode")
        + (c.perDay ? QStringLiteral(" AND x.InDate = n.InDate") : QString()) + x.andClause();
    Params params;
    params += x.params();
    params += x.params();
    params += f.params();
    params << std::max(1, c.minCount);
    const Rows rows = db.query(
        QStringLiteral("SELECT g.MbCode, g.InCount, g.MbCard, g.Pgid, ")
            + (c.perDay ? QStringLiteral("g.InDate, ") : QString())
            + QStringLiteral("m.MbName, m.Sex, m.Age, m.Tel1, m.Tel2, p.PgName, p.Time1, p.Time2 FROM (SELECT n.MbCode, ")
            + day + QStringLiteral("n.InCount, (SELECT MAX(x.MbCard) FROM entrance x WHERE ") + sameGroup
            + QStringLiteral(") AS MbCard, (SELECT MAX(x.Pgid) FROM entrance x WHERE ") + sameGroup
            + QStringLiteral(") AS Pgid FROM (SELECT ") + group + QStringLiteral(", COUNT(*) AS InCount FROM entrance e")
            + f.where() + QStringLiteral(" GROUP BY ") + group
            + QStringLiteral(" HAVING COUNT(*) >= ?) n) g "
                             "LEFT JOIN Member m ON m.MbCode = g.MbCode "
                             "LEFT JOIN Program p ON p.Pgid = g.Pgid "
                             "ORDER BY g.MbCode")
            + (c.perDay ? QStringLiteral(", g.InDate") : QString()),
        params);
    VisitCounts out;
    out.lines.reserve(rows.size());
    for (const Row &r : rows) {
        VisitCountLine l;
        l.inDate = c.perDay ? r.str(QStringLiteral("InDate")) : QString();
        l.mbCode = r.str(QStringLiteral("MbCode"));
        l.mbName = r.str(QStringLiteral("MbName"));
        l.sex = r.str(QStringLiteral("Sex")).trimmed();
        l.age = ageOf(r);
        l.tel = r.str(QStringLiteral("Tel1"));
        if (l.tel.isEmpty())
            l.tel = r.str(QStringLiteral("Tel2"));
        l.pgName = r.str(QStringLiteral("PgName"));
        l.time1 = r.str(QStringLiteral("Time1"));
        l.time2 = r.str(QStringLiteral("Time2"));
        l.card = r.str(QStringLiteral("MbCard"));
        l.count = r.num(QStringLiteral("InCount"));
        out.visits += l.count;
        out.lines.append(l);
    }
    return out;
}

// --- one member -------------------------------------------------------------------

QList<MemberVisitLine> memberVisits(const Db &db, const MemberVisitCriteria &c)
{
    const Rows rows = db.query(
        QStringLiteral("SELECT e.Entid, e.InDate, e.InTime, e.OutTime, e.Memo, p.PgName "
                       "FROM entrance e LEFT JOIN Program p ON p.Pgid = e.Pgid "
                       "WHERE e.MbCode = ? AND e.InDate >= ? AND e.InDate <= ? ORDER BY e.InDate, e.Entid"),
        {c.mbCode, c.dateFrom, c.dateTo});
    QHash<QString, int> perDay;
    if (c.twiceADayOnly)
        for (const Row &r : rows)
            ++perDay[r.str(QStringLiteral("InDate"))];
    QList<MemberVisitLine> out;
    for (const Row &r : rows) {
        MemberVisitLine l;
        l.inDate = r.str(QStringLiteral("InDate"));
        if (c.twiceADayOnly && perDay.value(l.inDate) < 2)
            continue;
        l.entid = r.num(QStringLiteral("Entid"));
        const QDate d = dateFromText(l.inDate);
        l.weekday = d.isValid() ? weekdayShortName(d.dayOfWeek() % 7 + 1) : QString();
        l.inTime = r.str(QStringLiteral("InTime"));
        l.outTime = r.str(QStringLiteral("OutTime"));
        l.pgName = r.str(QStringLiteral("PgName"));
        l.memo = r.str(QStringLiteral("Memo"));
        l.manual = l.memo == manualAttendanceMemo();
        out.append(l);
    }
    return out;
}

QList<MemberEnrollmentLine> memberEnrollments(const Db &db, const QString &mbCode)
{
    const Rows rows = db.query(
        QStringLiteral("SELECT l.Ltid, l.LtGubun, c.Name AS CourseName, COALESCE(p.PgName, l.PgName) AS PgName, "
                       "COALESCE(p.Time1, l.Time1) AS Time1, COALESCE(p.Time2, l.Time2) AS Time2, l.Sdate1, l.Sdate2, "
                       "l.RqDate, l.MonthCnt, l.TAmt, l.Delay, l.Cancel, l.Transfer, l.Change, l.Remark "
                       "FROM Lecture l LEFT JOIN Program p ON p.Pgid = l.Pgid "
                       "JOIN Course c ON c.Code = l.Course AND c.PsGroup = 'P' "
                       "WHERE l.MbCode = ? ORDER BY l.Ltid DESC"),
        {mbCode});
    QList<MemberEnrollmentLine> out;
    for (const Row &r : rows) {
        MemberEnrollmentLine l;
        l.ltid = r.num(QStringLiteral("Ltid"));
        l.courseName = r.str(QStringLiteral("CourseName"));
        l.pgName = r.str(QStringLiteral("PgName"));
        const QString t1 = r.str(QStringLiteral("Time1")), t2 = r.str(QStringLiteral("Time2"));
        l.time = t1.isEmpty() && t2.isEmpty() ? QString() : t1 + QLatin1Char('~') + t2;
        l.sDate1 = r.str(QStringLiteral("Sdate1"));
        l.sDate2 = r.str(QStringLiteral("Sdate2"));
        l.rqDate = r.str(QStringLiteral("RqDate"));
        l.monthCnt = r.num(QStringLiteral("MonthCnt"));
        l.tAmt = r.num(QStringLiteral("TAmt"));
        l.remark = lectureStateRemark(r.num(QStringLiteral("Delay")), r.num(QStringLiteral("Cancel")),
                                      r.num(QStringLiteral("Transfer")), r.num(QStringLiteral("Change")),
                                      r.str(QStringLiteral("LtGubun")))
            + r.str(QStringLiteral("Remark"));
        out.append(l);
    }
    return out;
}

// --- visitors per day -------------------------------------------------------------

DailyVisitors dailyVisitors(const Db &db, const DailyVisitorsCriteria &c)
{
    DailyVisitors out;
    const DateRange range = monthRange(c.year, c.month);
    if (range.from.isEmpty())
        return out;
    const QDate first = dateFromText(range.from);
    const int days = first.daysInMonth();
    QHash<QString, qint64> members;
    if (c.members)
        for (const Row &r : db.query(QStringLiteral("SELECT InDate, COUNT(*) AS DayCnt FROM entrance "
                                                    "WHERE InDate >= ? AND InDate <= ? GROUP BY InDate"),
                                     {range.from, range.to}))
            members.insert(r.str(QStringLiteral("InDate")), r.num(QStringLiteral("DayCnt")));

    // Entry tickets: goods flagged as visitors, one column per goods course
    // that has such goods (or sold some this month).
    QHash<QString, QHash<QString, qint64>> sold; // course -> day -> quantity
    if (c.goods) {
        for (const Row &r : db.query(QStringLiteral("SELECT DISTINCT c.Code, c.Name FROM Course c "
                                                    "JOIN Item i ON i.Course = c.Code "
                                                    "WHERE c.PsGroup = 'S' AND i.Inwon = '1' ORDER BY c.Code")))
            out.columns.append({r.str(QStringLiteral("Code")), r.str(QStringLiteral("Name"))});
        const Rows rows = db.query(QStringLiteral("SELECT s.Course, s.SlDate, MAX(c.Name) AS Name, SUM(s.Slqty) AS SlQty "
                                                  "FROM Sale s JOIN Item i ON i.ItId = s.ItId "
                                                  "JOIN Course c ON c.PsGroup = 'S' AND c.Code = s.Course "
                                                  "WHERE s.SlDate >= ? AND s.SlDate <= ? AND i.Inwon = '1' "
                                                  "GROUP BY s.Course, s.SlDate"),
                                   {range.from, range.to});
        for (const Row &r : rows) {
            const QString code = r.str(QStringLiteral("Course"));
            sold[code][r.str(QStringLiteral("SlDate"))] += r.num(QStringLiteral("SlQty"));
            if (std::none_of(out.columns.begin(), out.columns.end(), [&](const GoodsColumn &g) { return g.code == code; }))
                out.columns.append({code, r.str(QStringLiteral("Name"))});
        }
        std::sort(out.columns.begin(), out.columns.end(),
                  [](const GoodsColumn &a, const GoodsColumn &b) { return a.code < b.code; });
    }

    out.total.goods = QList<qint64>(out.columns.size(), 0);
    for (int d = 0; d < days; ++d) {
        DailyVisitorsLine l;
        l.day = first.addDays(d);
        const QString key = fmtDate(l.day);
        l.members = members.value(key);
        l.total = l.members;
        for (const GoodsColumn &g : out.columns) {
            const qint64 q = sold.value(g.code).value(key);
            l.goods.append(q);
            l.total += q;
        }
        out.total.members += l.members;
        for (int i = 0; i < l.goods.size(); ++i)
            out.total.goods[i] += l.goods[i];
        out.total.total += l.total;
        out.days.append(l);
    }
    return out;
}

// --- visit chart --------------------------------------------------------------------

VisitChart visitChart(const Db &db, const VisitChartCriteria &c)
{
    VisitChart out;
    QString period, from, to;
    int slotCount = 0;
    switch (c.period) {
    case ChartPeriod::MonthsOfYear: {
        const DateRange r = yearRange(c.year);
        period = QStringLiteral("e.InDate");
        from = r.from;
        to = r.to;
        slotCount = 12;
        for (int m = 1; m <= 12; ++m)
            out.categories << QStringLiteral("%1").arg(m, 2, 10, QLatin1Char('0'));
        break;
    }
    case ChartPeriod::DaysOfMonth: {
        const DateRange r = monthRange(c.year, c.month);
        if (r.from.isEmpty())
            return out;
        period = QStringLiteral("e.InDate");
        from = r.from;
        to = r.to;
        slotCount = dateFromText(r.from).daysInMonth();
        for (int d = 1; d <= slotCount; ++d)
            out.categories << QString::number(d);
        break;
    }
    case ChartPeriod::HoursOfDay:
        if (!isValidDateText(c.day))
            return out;
        period = QStringLiteral("substr(e.InTime, 1, 2)");
        from = to = c.day;
        slotCount = 24;
        for (int h = 1; h <= 24; ++h)
            out.categories << QString::number(h);
        break;
    }
    QMap<QString, QString> names; // course code -> name, ordered by code
    for (const Row &r : db.query(QStringLiteral("SELECT Code, Name FROM Course WHERE PsGroup = 'P' ORDER BY Code")))
        names.insert(r.str(QStringLiteral("Code")), r.str(QStringLiteral("Name")));

    // One row per date (or hour) with a count per course item beside the
    // whole count: grouped by the date alone, the visits are counted along
    // the date index as they come, without sorting a year of visits by
    // course; the days are then added into their months here.
    const SqlFilter f = visitFilter(QStringLiteral("e"), from, to, c.course);
    QString sql = QStringLiteral("SELECT ") + period + QStringLiteral(" AS Slot, COUNT(*) AS nCount");
    Params params;
    for (auto it = names.cbegin(); it != names.cend(); ++it) {
        sql += QStringLiteral(", SUM(CASE WHEN e.Course = ? THEN 1 ELSE 0 END)");
        params << it.key();
    }
    params += f.params();
    const Rows rows = db.query(sql + QStringLiteral(" FROM entrance e") + f.where() + QStringLiteral(" GROUP BY ") + period,
                               params);

    QMap<QString, VisitSeries> series;
    const auto add = [&](const QString &course, int slot, qint64 n) {
        if (n == 0)
            return;
        VisitSeries &s = series[course];
        if (s.counts.isEmpty()) {
            s.course = course;
            s.name = course.isEmpty() ? QStringLiteral("기타") : names.value(course);
            s.counts = QList<qint64>(slotCount, 0);
        }
        s.counts[slot] += n;
        s.total += n;
    };
    out.totals = QList<qint64>(slotCount, 0);
    for (const Row &r : rows) {
        const QString slotText = textAt(r, 0);
        int slot = -1;
        switch (c.period) {
        case ChartPeriod::MonthsOfYear: slot = slotText.mid(5, 2).toInt() - 1; break;
        case ChartPeriod::DaysOfMonth: slot = slotText.mid(8, 2).toInt() - 1; break;
        case ChartPeriod::HoursOfDay: {
            bool ok = false;
            const int h = slotText.toInt(&ok);
            slot = ok ? h : -1; // the entries of h:00–h:59 are hour h + 1
            break;
        }
        }
        if (slot < 0 || slot >= slotCount)
            continue;
        const qint64 all = numAt(r, 1);
        qint64 known = 0;
        int column = 2;
        for (auto it = names.cbegin(); it != names.cend(); ++it, ++column) {
            const qint64 n = numAt(r, column);
            add(it.key(), slot, n);
            known += n;
        }
        add(QString(), slot, all - known); // without a course item, or one no longer listed
        out.totals[slot] += all;
        out.total += all;
    }
    // Course items in code order, visits without one last.
    for (auto it = series.cbegin(); it != series.cend(); ++it)
        if (!it.key().isEmpty())
            out.series.append(it.value());
    if (series.contains(QString()))
        out.series.append(series.value(QString()));
    return out;
}

} // namespace fitrova
