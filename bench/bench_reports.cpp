// The reports on the large generated centre (100,000 members, 300,000
// enrollments, 5,000,000 visits, 1,000,000 sale lines): each report over one
// month and, where a year makes sense, over one year, on SQLite and (when
// FITROVA_PG_HOST/PORT/USER are set) on PostgreSQL. Each figure is printed
// beside its bare twin: the report's main statement prepared once through
// QSqlQuery and read row by row, so the cost of building typed rows shows.
// The attendance sheet is measured for a program of about 200 members. The
// long lists a screen streams (visit list, enrollment status, income detail,
// valid members) are also measured as the screen shows them at once: the head
// (a count, or the sums) and the first page of 200 lines (…FirstPage), and
// the head alone (…Head).
//
//   bench_reports [--benchmark_filter=...]   FITROVA_BENCH_SCALE=0.01 for a small centre
//   FITROVA_BENCH_REPORT_ITERATIONS (5), FITROVA_BENCH_REPETITIONS (3)
//   FITROVA_BENCH_EXPLAIN=1 prints the query plan of every bare statement.

#include "benchtiming.h"
#include "centregen.h"

#include "closing/enrollmentreports.h"
#include "closing/takingsreports.h"
#include "data/reportquery.h"
#include "entrance/reports.h"
#include "entrance/reportsattendance.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <functional>
#include <map>

using namespace fitrova;
using namespace fitrova::bench;

namespace {

// One figure: the program's report and its main statement bare.
struct Figure {
    std::string name;
    std::function<qint64(const Db &)> report; // returns the lines listed
    QString sql;
    Params params;
};

struct Centre {
    BenchCentre centre;
    std::unique_ptr<AppContext> ctx;
    QString label;
    std::vector<Figure> figures;

    explicit Centre(Engine engine)
        : centre(BenchCentre::open(engine, CentreShape::fromEnvironment(),
                                   [](const QString &s) { std::fprintf(stderr, "%s\n", qPrintable(s)); }))
    {
        ctx = centre.connect(QTime(10, 0));
        label = engine == Engine::PostgreSQL ? QStringLiteral("postgres") : QStringLiteral("sqlite");
        // Statistics for the planner, as a centre that has been running has them.
        db().exec(QStringLiteral("ANALYZE"));
        std::fprintf(stderr, "%s\n", qPrintable(centre.describe()));
    }

    const Db &db() const { return ctx->main; }

    std::string name(const std::string &what) const { return what + "/" + label.toStdString(); }
};

void measure(benchmark::State &state, const std::string &figure, const std::function<qint64()> &fn)
{
    qint64 lines = fn(); // warm the caches once, untimed
    timeEach(state, figure, [&](int) { lines = fn(); });
    state.counters["lines"] = double(lines);
}

void runReport(benchmark::State &state, Centre *c, const Figure *f)
{
    measure(state, c->name(f->name), [&] { return f->report(c->db()); });
}

void runBare(benchmark::State &state, Centre *c, const Figure *f)
{
    QSqlQuery q = prepared(c->db().handle(), f->sql);
    measure(state, c->name(f->name + "-bare"), [&] {
        for (int i = 0; i < f->params.size(); ++i)
            q.bindValue(i, f->params.at(i));
        if (!q.exec())
            throw std::runtime_error(q.lastError().text().toStdString());
        qint64 n = 0;
        while (q.next()) {
            benchmark::DoNotOptimize(q.record());
            ++n;
        }
        q.finish();
        return n;
    });
}

void explain(const Centre &c, const Figure &f)
{
    QSqlQuery q(c.db().handle());
    q.prepare((c.db().isPostgres() ? QStringLiteral("EXPLAIN ") : QStringLiteral("EXPLAIN QUERY PLAN ")) + f.sql);
    for (int i = 0; i < f.params.size(); ++i)
        q.bindValue(i, f.params.at(i));
    if (!q.exec())
        return;
    std::printf("\n-- %s/%s\n", f.name.c_str(), qPrintable(c.label));
    while (q.next())
        std::printf("   %s\n", qPrintable(q.value(q.record().count() - 1).toString()));
}

// The program of the month whose enrollments come nearest to 200 members.
qint64 programOf200(const Db &db, const DateRange &m, QString *course)
{
    qint64 best = 0, bestGap = 1 << 30;
    for (const Row &r : db.query(QStringLiteral("SELECT Pgid, MAX(Course) AS Course, COUNT(*) AS n FROM Lecture "
                                                "WHERE Sdate1 <= ? AND Sdate2 >= ? AND LtGubun < '4' AND Cancel = 0 "
                                                "AND Change = 0 GROUP BY Pgid"),
                                 {m.to, m.from})) {
        const qint64 gap = qAbs(r.num(QStringLiteral("n")) - 200);
        if (gap < bestGap) {
            bestGap = gap;
            best = r.num(QStringLiteral("Pgid"));
            *course = r.str(QStringLiteral("Course"));
        }
    }
    return best;
}

void addFigures(Centre &c)
{
    const QDate today = c.centre.shape().today;
    const QDate lastMonth = today.addMonths(-1);
    const DateRange month = monthRange(lastMonth.year(), lastMonth.month());
    const DateRange year{fmtDate(today.addYears(-1)), fmtDate(today.addDays(-1))};
    const QString ym = month.from.left(7);
    auto &f = c.figures;

    for (const auto &[span, r] : {std::pair("Month", month), std::pair("Year", year)}) {
        const std::string s = span;
        const DateRange range = r;
        f.push_back({"VisitList" + s, [range](const Db &db) { return visitList(db, {range.from, range.to}).count; },
                     QStringLiteral("SELECT e.Entid, e.InDate, e.InTime, e.OutTime, e.PgGubun, e.MbCode, e.MbCard, e.uTime, "
                                    "e.Memo, m.MbName, m.Sex, m.Age, m.MbName1, p.PgName FROM entrance e "
                                    "LEFT JOIN Member m ON m.MbCode = e.MbCode LEFT JOIN Program p ON p.Pgid = e.Pgid "
                                    "WHERE e.InDate >= ? AND e.InDate <= ? ORDER BY e.InDate, e.InTime, e.Entid"),
                     {range.from, range.to}});
        // What a grid that reads as it scrolls shows at once: the count and the first page.
        f.push_back({"VisitListFirstPage" + s,
                     [range](const Db &db) {
                         const VisitListCriteria c{range.from, range.to};
                         return visitListCount(db, c) > 0 ? qint64(visitListPage(db, c, nullptr, 200).size()) : 0;
                     },
                     QStringLiteral("SELECT e.Entid, e.InDate, e.InTime, e.OutTime, e.PgGubun, e.MbCode, e.MbCard, e.uTime, "
                                    "e.Memo, m.MbName, m.Sex, m.Age, m.MbName1, p.PgName FROM entrance e "
                                    "LEFT JOIN Member m ON m.MbCode = e.MbCode LEFT JOIN Program p ON p.Pgid = e.Pgid "
                                    "WHERE e.InDate >= ? AND e.InDate <= ? ORDER BY e.InDate, e.InTime, e.Entid LIMIT 200"),
                     {range.from, range.to}});
        f.push_back({"VisitCountsPerDay" + s,
                     [range](const Db &db) {
                         VisitCountCriteria c{range.from, range.to};
                         c.minCount = 2;
                         return qint64(visitCounts(db, c).lines.size());
                     },
                     QStringLiteral("SELECT g.MbCode, g.InCount, g.MbCard, g.Pgid, g.InDate, m.MbName, m.Sex, m.Age, m.Tel1, "
                                    "m.Tel2, p.PgName, p.Time1, p.Time2 FROM (SELECT n.MbCode, n.InDate, n.InCount, "
                                    "(SELECT MAX(x.MbCard) FROM entrance x WHERE x.MbCode = n.MbCode AND x.InDate = n.InDate "
                                    "AND x.InDate >= ? AND x.InDate <= ?) AS MbCard, (SELECT MAX(x.Pgid) FROM entrance x "
                                    "WHERE x.MbCode = n.MbCode AND x.InDate = n.InDate AND x.InDate >= ? AND x.InDate <= ?) "
                                    "AS Pgid FROM (SELECT e.InDate, e.MbCode, COUNT(*) AS InCount FROM entrance e "
                                    "WHERE e.InDate >= ? AND e.InDate <= ? GROUP BY e.InDate, e.MbCode HAVING COUNT(*) >= ?) n) g "
                                    "LEFT JOIN Member m ON m.MbCode = g.MbCode LEFT JOIN Program p ON p.Pgid = g.Pgid "
                                    "ORDER BY g.MbCode, g.InDate"),
                     {range.from, range.to, range.from, range.to, range.from, range.to, 2}});
        f.push_back({"IncomeSummary" + s,
                     [range](const Db &db) {
                         const IncomeSummary x = incomeSummary(db, {range.from, range.to});
                         return qint64(x.courses.size() + x.goods.size() + x.lockers.size());
                     },
                     QStringLiteral("SELECT s.ItId, MAX(COALESCE(i.ItName, '')) AS ItName, SUM(s.Slqty) AS Qty, "
                                    "SUM(CASE WHEN s.CardChk = '1' THEN s.SlAmt WHEN s.CardChk = '3' THEN s.CashAmt ELSE 0 END) "
                                    "AS Cash, SUM(CASE WHEN s.CardChk = '2' THEN s.SlAmt WHEN s.CardChk = '3' THEN s.CardAmt "
                                    "ELSE 0 END) AS Card FROM Sale s LEFT JOIN Item i ON i.ItId = s.ItId "
                                    "WHERE s.SlDate >= ? AND s.SlDate <= ? GROUP BY s.ItId"),
                     {range.from, range.to}});
        f.push_back({"IncomeDetail" + s,
                     [range](const Db &db) {
                         const IncomeDetail x = incomeDetail(db, {range.from, range.to});
                         return qint64(x.courses.size() + x.goods.size() + x.lockers.size());
                     },
                     QStringLiteral("SELECT s.SlDate, s.SlNo, s.MbCode, s.Slqty, s.CardChk, s.SlAmt, s.CashAmt, s.CardAmt, "
                                    "i.ItName, m.MbName, m.Sex FROM Sale s LEFT JOIN Item i ON i.ItId = s.ItId "
                                    "LEFT JOIN Member m ON m.MbCode = s.MbCode WHERE s.SlDate >= ? AND s.SlDate <= ? "
                                    "ORDER BY s.SlDate, s.SlNo, s.LastUser, s.SEQ, s.SlId"),
                     {range.from, range.to}});
        f.push_back({"Settlement" + s,
                     [range](const Db &db) {
                         return memberSettlement(db, {range.from.left(7), range.to.left(7)}).total.enrollCount;
                     },
                     QStringLiteral("SELECT l.Course, l.Pgid, SUM(CASE WHEN l.LtGubun = '1' THEN l.TAmt ELSE 0 END) AS Amt, "
                                    "COUNT(*) AS n FROM Lecture l JOIN Course c ON c.Code = l.Course AND c.PsGroup = 'P' "
                                    "WHERE l.RqDate >= ? AND l.RqDate <= ? AND l.PgGubun <> '3' GROUP BY l.Course, l.Pgid"),
                     {QString(range.from.left(7) + "-01"), range.to}});
        f.push_back({"EnrollmentStatus" + s,
                     [range](const Db &db) {
                         EnrollmentStatusCriteria c;
                         c.period = EnrollPeriod::Dates;
                         c.dateFrom = range.from;
                         c.dateTo = range.to;
                         return enrollmentStatus(db, EnrollmentList::Enrollments, c).all.count;
                     },
                     QStringLiteral("SELECT l.Ltid, l.MbCode, l.RqDate, l.Sdate1, l.Sdate2, l.TAmt, l.CashAmt, l.CardAmt, "
                                    "p.PgName, m.MbName, m.Juno1, m.Juno2, m.Tel1 FROM Lecture l "
                                    "LEFT JOIN Program p ON p.Pgid = l.Pgid LEFT JOIN Member m ON m.MbCode = l.MbCode "
                                    "WHERE l.LtGubun = '1' AND l.PgGubun IN ('1', '2') AND l.RqDate >= ? AND l.RqDate <= ? "
                                    "ORDER BY l.RqDate, l.Pgid, l.Ltid"),
                     {range.from, range.to}});
        // The streamed screens: what they show at once (the head and the first
        // page of 200 lines), beside the page's statement bare, and the head alone.
        f.push_back({"EnrollmentStatusFirstPage" + s,
                     [range](const Db &db) {
                         EnrollmentStatusCriteria c;
                         c.period = EnrollPeriod::Dates;
                         c.dateFrom = range.from;
                         c.dateTo = range.to;
                         const qint64 n = enrollmentStatusCount(db, EnrollmentList::Enrollments, c);
                         return n > 0 ? qint64(enrollmentStatusPage(db, EnrollmentList::Enrollments, c, nullptr, 200).size())
                                      : 0;
                     },
                     QStringLiteral("SELECT l.Ltid, l.BLtid, l.Pgid, l.LtGubun, l.MbCode, l.RqDate, l.Sdate1, l.Sdate2, "
                                    "l.LTyymm, l.MonthCnt, l.TAmt, l.CashAmt, l.CardAmt, l.Rday, l.Lectgubun, l.LastUser, "
                                    "l.Delay, l.Cancel, l.Transfer, l.Change, l.Remark, l.BMbCode, "
                                    "COALESCE(p.PgName, l.PgName), COALESCE(p.Time1, l.Time1), COALESCE(p.Time2, l.Time2), "
                                    "COALESCE(lt.LTName, p.LTName), COALESCE(m.MbName, l.MbName), COALESCE(m.Sex, l.Sex), "
                                    "COALESCE(m.Age, l.Age), m.Juno1, m.Juno2, m.Tel1, m.MbCard, u.UserName "
                                    "FROM (SELECT l.Ltid FROM Lecture l WHERE l.LtGubun = '1' AND l.PgGubun IN ('1', '2') "
                                    "AND l.RqDate >= ? AND l.RqDate <= ? ORDER BY l.RqDate, COALESCE(l.Pgid, 0), l.Ltid "
                                    "LIMIT 200) k JOIN Lecture l ON l.Ltid = k.Ltid LEFT JOIN Program p ON p.Pgid = l.Pgid "
                                    "LEFT JOIN Lecturer lt ON lt.LTcode = l.LtCode LEFT JOIN Member m ON m.MbCode = l.MbCode "
                                    "LEFT JOIN UserM u ON u.PsCode = l.LastUser "
                                    "ORDER BY l.RqDate, COALESCE(l.Pgid, 0), l.Ltid"),
                     {range.from, range.to}});
        f.push_back({"EnrollmentStatusHead" + s,
                     [range](const Db &db) {
                         EnrollmentStatusCriteria c;
                         c.period = EnrollPeriod::Dates;
                         c.dateFrom = range.from;
                         c.dateTo = range.to;
                         return enrollmentStatusCount(db, EnrollmentList::Enrollments, c);
                     },
                     QStringLiteral("SELECT COUNT(*) FROM Lecture l WHERE l.LtGubun = '1' AND l.PgGubun IN ('1', '2') "
                                    "AND l.RqDate >= ? AND l.RqDate <= ?"),
                     {range.from, range.to}});
        f.push_back({"IncomeDetailFirstPage" + s,
                     [range](const Db &db) {
                         const IncomeCriteria c{range.from, range.to};
                         const IncomeTotals t = incomeTotals(db, c);
                         return t.lines() > 0 ? qint64(incomeDetailPage(db, c, nullptr, 200).size()) : 0;
                     },
                     QStringLiteral("SELECT l.Ltid, l.RqDate, l.LtGubun, l.PgGubun, l.Lectgubun, l.MbCode, "
                                    "COALESCE(m.MbName, l.MbName), COALESCE(m.Sex, l.Sex), COALESCE(p.PgName, l.PgName), "
                                    "l.MonthCnt, l.Sdate1, l.Sdate2, l.CashAmt, l.CardAmt "
                                    "FROM (SELECT l.Ltid AS Id FROM Lecture l WHERE l.RqDate >= ? AND l.RqDate <= ? "
                                    "AND l.LtGubun IN ('1', '2', '4') ORDER BY l.RqDate, l.Ltid LIMIT 200) k "
                                    "JOIN Lecture l ON l.Ltid = k.Id LEFT JOIN Program p ON p.Pgid = l.Pgid "
                                    "LEFT JOIN Member m ON m.MbCode = l.MbCode ORDER BY l.RqDate, l.Ltid"),
                     {range.from, range.to}});
        f.push_back({"IncomeDetailHead" + s,
                     [range](const Db &db) { return incomeTotals(db, {range.from, range.to}).lines(); },
                     QStringLiteral("SELECT COUNT(*), SUM(CASE WHEN s.CardChk = '1' THEN s.SlAmt WHEN s.CardChk = '3' "
                                    "THEN s.CashAmt ELSE 0 END), SUM(CASE WHEN s.CardChk = '2' THEN s.SlAmt "
                                    "WHEN s.CardChk = '3' THEN s.CardAmt ELSE 0 END) FROM Sale s "
                                    "WHERE s.SlDate >= ? AND s.SlDate <= ?"),
                     {range.from, range.to}});
    }

    const int y = lastMonth.year(), mo = lastMonth.month();
    // The chart's statement: visits per date with a count per course item.
    QString chartSql = QStringLiteral("SELECT e.InDate AS Slot, COUNT(*) AS nCount");
    Params chartParams;
    for (const Row &r : c.db().query(QStringLiteral("SELECT Code FROM Course WHERE PsGroup = 'P' ORDER BY Code"))) {
        chartSql += QStringLiteral(", SUM(CASE WHEN e.Course = ? THEN 1 ELSE 0 END)");
        chartParams << r.str(QStringLiteral("Code"));
    }
    chartSql += QStringLiteral(" FROM entrance e WHERE e.InDate >= ? AND e.InDate <= ? GROUP BY e.InDate");
    f.push_back({"VisitorsPerDayMonth",
                 [y, mo](const Db &db) { return dailyVisitors(db, {y, mo, true, true}).total.total; },
                 QStringLiteral("SELECT InDate, COUNT(*) AS DayCnt FROM entrance WHERE InDate >= ? AND InDate <= ? GROUP BY InDate"),
                 {month.from, month.to}});
    f.push_back({"VisitChartDaysOfMonth",
                 [y, mo](const Db &db) {
                     VisitChartCriteria c;
                     c.year = y;
                     c.month = mo;
                     return visitChart(db, c).total;
                 },
                 chartSql, chartParams + Params{month.from, month.to}});
    // The last whole calendar year of visits.
    f.push_back({"VisitChartMonthsOfYear",
                 [y](const Db &db) {
                     VisitChartCriteria c;
                     c.period = ChartPeriod::MonthsOfYear;
                     c.year = y - 1;
                     return visitChart(db, c).total;
                 },
                 chartSql, chartParams + Params{yearRange(y - 1).from, yearRange(y - 1).to}});
    for (const auto &[label, basis] : {std::pair("Closing", TakingsBasis::ClosingDate), std::pair("Sale", TakingsBasis::SaleDate)}) {
        const TakingsBasis b = basis;
        const QString day = b == TakingsBasis::ClosingDate ? QStringLiteral("s.SlfDate") : QStringLiteral("s.SlDate");
        f.push_back({std::string("MonthlySummary") + label + "Month",
                     [y, mo, b](const Db &db) { return monthlySales(db, {y, mo, b}).total.total().sum(); },
                     QStringLiteral("SELECT ") + day + QStringLiteral(" AS Day, s.Course, SUM(CASE WHEN s.CardChk = '1' THEN "
                                                                      "s.SlAmt WHEN s.CardChk = '3' THEN s.CashAmt ELSE 0 END) AS Cash "
                                                                      "FROM Sale s WHERE ")
                         + day + QStringLiteral(" >= ? AND ") + day + QStringLiteral(" <= ? GROUP BY ") + day
                         + QStringLiteral(", s.Course"),
                     {month.from, month.to}});
    }
    f.push_back({"ClassListMonth",
                 [ym](const Db &db) {
                     ClassListCriteria c;
                     c.month = ym;
                     return classList(db, c).count;
                 },
                 QStringLiteral("SELECT Lecture.Ltid, Lecture.Pgid, Lecture.MbCode, Lecture.TAmt, Program.PgName FROM Lecture "
                                "LEFT JOIN Program ON Program.Pgid = Lecture.Pgid LEFT JOIN Member ON Member.MbCode = "
                                "Lecture.MbCode WHERE Lecture.LTyymm = ? AND (Lecture.LtGubun < '3' AND (Lecture.Delay + "
                                "Cancel) = 0) ORDER BY COALESCE(Program.Time1, ''), Lecture.Pgid, Lecture.RqDate"),
                 {ym}});
    const QString validDay = fmtDate(today.addDays(-1));
    f.push_back({"ValidMembersDay",
                 [validDay](const Db &db) {
                     ValidMemberCriteria c;
                     c.date = validDay;
                     return validMembers(db, c).count;
                 },
                 QStringLiteral("SELECT l.Ltid, l.Pgid, l.MbCode, l.Sdate1, l.Sdate2, p.PgName, m.MbName, m.Tel1 FROM Lecture l "
                                "LEFT JOIN Program p ON p.Pgid = l.Pgid LEFT JOIN Member m ON m.MbCode = l.MbCode "
                                "WHERE l.Sdate1 <= ? AND l.Sdate2 >= ? AND l.LtGubun < '3' ORDER BY l.Pgid, l.Sdate2, l.MbCode, l.Ltid"),
                 {validDay, validDay}});
    f.push_back({"ValidMembersDayFirstPage",
                 [validDay](const Db &db) {
                     ValidMemberCriteria c;
                     c.date = validDay;
                     return validMembersCount(db, c) > 0 ? qint64(validMembersPage(db, c, nullptr, 200).size()) : 0;
                 },
                 QStringLiteral("SELECT l.Ltid, l.Pgid, l.PgGubun, l.MbCode, l.RqDate, l.Sdate1, l.Sdate2, l.MonthCnt, "
                                "l.CardAmt, l.CashAmt, l.TAmt, l.PgCnt, l.uPgCnt, COALESCE(p.PgName, l.PgName), "
                                "COALESCE(p.Time1, l.Time1), COALESCE(p.Time2, l.Time2), COALESCE(lt.LTName, p.LTName), "
                                "COALESCE(m.MbName, l.MbName), COALESCE(m.Sex, l.Sex), COALESCE(m.Age, l.Age), m.Tel1, "
                                "m.SMS, m.PostNo, m.Addr1, m.Addr2 FROM (SELECT l.Ltid FROM Lecture l "
                                "WHERE l.Sdate1 <= ? AND l.Sdate2 >= ? AND l.LtGubun < '3' ORDER BY COALESCE(l.Pgid, 0), "
                                "COALESCE(l.Sdate2, ''), COALESCE(l.MbCode, ''), l.Ltid LIMIT 200) k "
                                "JOIN Lecture l ON l.Ltid = k.Ltid LEFT JOIN Program p ON p.Pgid = l.Pgid "
                                "LEFT JOIN Lecturer lt ON lt.LTcode = l.LtCode LEFT JOIN Member m ON m.MbCode = l.MbCode "
                                "ORDER BY COALESCE(l.Pgid, 0), COALESCE(l.Sdate2, ''), COALESCE(l.MbCode, ''), l.Ltid"),
                 {validDay, validDay}});
    f.push_back({"ValidMembersDayHead",
                 [validDay](const Db &db) {
                     ValidMemberCriteria c;
                     c.date = validDay;
                     return validMembersCount(db, c);
                 },
                 QStringLiteral("SELECT COUNT(*) FROM Lecture l WHERE l.Sdate1 <= ? AND l.Sdate2 >= ? AND l.LtGubun < '3'"),
                 {validDay, validDay}});
    f.push_back({"ExpiringMembersMonth",
                 [month](const Db &db) {
                     ValidMemberCriteria c;
                     c.kind = ValidKind::Expiring;
                     c.dateFrom = month.from;
                     c.dateTo = month.to;
                     return validMembers(db, c).count;
                 },
                 QStringLiteral("SELECT l.Ltid, l.Pgid, l.MbCode, l.Sdate2 FROM Lecture l WHERE l.Sdate2 >= ? AND l.Sdate2 <= ? "
                                "AND l.LtGubun < '3' ORDER BY l.Pgid, l.Sdate2, l.MbCode, l.Ltid"),
                 {month.from, month.to}});
    f.push_back({"DailyValidMonth", [y, mo](const Db &db) { return dailyValid(db, {y, mo, false}).total.total; },
                 QStringLiteral("SELECT Course, Sdate1, Sdate2, COUNT(MbCode) AS Cnt FROM Lecture WHERE Sdate1 <= ? AND "
                                "Sdate2 >= ? AND LtGubun < '3' GROUP BY Course, Sdate1, Sdate2"),
                 {month.to, month.from}});
    f.push_back({"UnpaidMembers", [](const Db &db) { return qint64(unpaidMembers(db).lines.size()); },
                 QStringLiteral("SELECT u.MbCode, m.MbName, m.Age, m.Tel1, m.Tel2, m.Sex, m.MisuAmt, u.TAmt "
                                "FROM (SELECT MbCode, SUM(TAmt) AS TAmt FROM Lecture GROUP BY MbCode "
                                "HAVING SUM(TAmt) <> SUM(CashAmt) + SUM(CardAmt)) u "
                                "LEFT JOIN Member m ON m.MbCode = u.MbCode ORDER BY u.MbCode"),
                 {}});
    QString course;
    const qint64 pgid = programOf200(c.db(), month, &course);
    std::fprintf(stderr, "  attendance sheet: program %lld of course %s in %s\n", pgid, qPrintable(course), qPrintable(ym));
    f.push_back({"AttendanceSheet200",
                 [ym, course, pgid](const Db &db) { return qint64(attendanceSheet(db, {ym, course, {}, pgid}).lines.size()); },
                 QStringLiteral("SELECT e.Ltid, e.InDate, COUNT(*) AS Visits, SUM(CASE WHEN e.Memo = ? THEN 1 ELSE 0 END) AS "
                                "Manual FROM entrance e JOIN Lecture l ON l.Ltid = e.Ltid AND l.MbCode = e.MbCode "
                                "WHERE l.Course = ? AND l.Sdate1 <= ? AND l.Sdate2 >= ? AND l.LtGubun < '4' AND "
                                "l.Cancel = 0 AND l.Change = 0 AND l.Pgid = ? AND e.InDate >= ? AND e.InDate <= ? "
                                "GROUP BY e.Ltid, e.InDate"),
                 {manualAttendanceMemo(), course, month.to, month.from, pgid, month.from, month.to}});
    const QString someone = c.db().scalar(QStringLiteral("SELECT MbCode FROM entrance WHERE InDate >= ? ORDER BY Entid LIMIT 1"),
                                          {month.from}).toString();
    f.push_back({"MemberVisitsYear",
                 [someone, year](const Db &db) {
                     return qint64(memberVisits(db, {someone, year.from, year.to, false}).size());
                 },
                 QStringLiteral("SELECT e.Entid, e.InDate, e.InTime, e.OutTime, e.Memo, p.PgName FROM entrance e "
                                "LEFT JOIN Program p ON p.Pgid = e.Pgid WHERE e.MbCode = ? AND e.InDate >= ? AND e.InDate <= ? "
                                "ORDER BY e.InDate, e.Entid"),
                 {someone, year.from, year.to}});
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    auto centres = fixturesPerEngine<Centre>([](Centre &c) { addFigures(c); });
    if (!centres)
        return 1;
    const int iterations = envInt("FITROVA_BENCH_REPORT_ITERATIONS", 5);
    const int reps = envInt("FITROVA_BENCH_REPETITIONS", 3);
    const bool plans = !qEnvironmentVariable("FITROVA_BENCH_EXPLAIN").isEmpty();
    for (const auto &cp : *centres) {
        Centre *c = cp.get();
        const std::string l = c->label.toStdString();
        for (const Figure &f : c->figures) {
            if (plans)
                explain(*c, f);
            benchmark::RegisterBenchmark(("Reports/" + f.name + "/" + l).c_str(), runReport, c, &f)
                ->UseManualTime()->Iterations(iterations)->Repetitions(reps)->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("Reports/" + f.name + "BareSql/" + l).c_str(), runBare, c, &f)
                ->UseManualTime()->Iterations(iterations)->Repetitions(reps)->Unit(benchmark::kMillisecond);
        }
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printSummary();
    return 0;
}
