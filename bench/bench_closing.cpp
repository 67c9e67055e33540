// Takings on the large generated centre (1,000,000 sale lines over three
// years, 300,000 enrollment rows, 2,000 lockers with their history): closing
// a business day (the checks, the stamps of goods, enrollments and lockers,
// the shifts and the day's row, in one transaction), the detailed takings of
// a month and the card takings per company of a month. Every figure has a
// bare twin: the same statements through QSqlQuery prepared once.
//
// The detailed takings three ways: the whole month in item order (what
// printing and the export read), what the screen shows at once (the head's
// count and sums and the first page of 200 lines, in item order and in user
// order), and, for comparison, the month's three statements as they were
// before the list came in pages (every name joined to every line).
//
// The centre's sales carry no shifts; the benchmark adds one closed shift per
// user covering the business day it closes, and takes everything back after
// (the closing deleted, the generated stamps restored, its shifts removed),
// so the cached centre stays as generated.
//
//   bench_closing [--benchmark_filter=...]   FITROVA_BENCH_SCALE=0.01 for a small centre

#include "benchtiming.h"
#include "centregen.h"

#include "closing/closing.h"
#include "data/schema.h"
#include "sales/salesreports.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <tuple>
#include <QSqlRecord>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <map>

using namespace fitrova;
using namespace fitrova::bench;

namespace {

// A centre cached before this tree's takings tables gains them (the shift's
// reason, the notes and coins counted, the difference limit, the index on the
// sale time); each statement is one that may already have run.
void bringTablesUp(const Db &db)
{
    const Engine engine = db.isPostgres() ? Engine::PostgreSQL : Engine::SQLite;
    for (const char *name : {"Sale", "Finish", "FinishCash", "UserEnv"}) {
        const Table *t = findTable(QLatin1String(name));
        for (QString sql : createTableStatements(*t, engine)) {
            sql.replace(QStringLiteral("CREATE TABLE "), QStringLiteral("CREATE TABLE IF NOT EXISTS "));
            sql.replace(QStringLiteral("CREATE INDEX "), QStringLiteral("CREATE INDEX IF NOT EXISTS "));
            sql.replace(QStringLiteral("CREATE UNIQUE INDEX "), QStringLiteral("CREATE UNIQUE INDEX IF NOT EXISTS "));
            db.exec(sql);
        }
    }
    const auto hasColumn = [&](const QString &table, const QString &column) {
        return db.handle().record(table).contains(column) || db.handle().record(table.toLower()).contains(column.toLower());
    };
    if (!hasColumn(QStringLiteral("Finish"), QStringLiteral("Remark")))
        db.exec(QStringLiteral("ALTER TABLE Finish ADD COLUMN Remark TEXT"));
    if (!hasColumn(QStringLiteral("UserEnv"), QStringLiteral("fDiffAmt")))
        db.exec(QStringLiteral("ALTER TABLE UserEnv ADD COLUMN fDiffAmt BIGINT"));
    if (db.isPostgres())
        db.exec(QStringLiteral("ANALYZE Sale"));
    else
        db.exec(QStringLiteral("ANALYZE"));
}

struct Desk {
    BenchCentre centre;
    std::unique_ptr<AppContext> ctx;
    QString label;
    QDate today;
    TimeWindow day;   // the business day closed
    QString closingDate;
    int month = 0, year = 0;
    QStringList users;
    qint64 firstFnid = 0;

    explicit Desk(Engine engine)
        : centre(BenchCentre::open(engine, CentreShape::fromEnvironment(),
                                   [](const QString &s) { std::fprintf(stderr, "%s\n", qPrintable(s)); }))
    {
        ctx = centre.connect(QTime(10, 0));
        label = engine == Engine::PostgreSQL ? QStringLiteral("postgres") : QStringLiteral("sqlite");
        today = centre.shape().today;
        bringTablesUp(ctx->main);
        // The last day of the centre with sales, and the month before it.
        const QDate d = QDate::fromString(ctx->main.scalar(QStringLiteral("SELECT MAX(SlDate) FROM Sale WHERE SlDate < ?"),
                                                           {today.toString(Qt::ISODate)})
                                              .toString(),
                                          Qt::ISODate);
        day = businessDay(ClosingSettings{}, d.addDays(-1));
        closingDate = day.fromDate;
        const QDate m = d.addMonths(-1);
        year = m.year();
        month = m.month();
        for (const char *table : {"Sale", "Lecture", "RqPerBox"}) {
            const QString date = QLatin1String(table) == QLatin1String("Sale") ? QStringLiteral("SlDate") : QStringLiteral("RqDate");
            for (const Row &r : ctx->main.query(QStringLiteral("SELECT DISTINCT LastUser FROM %1 WHERE %2 >= ? AND %2 <= ?")
                                                    .arg(QLatin1String(table), date),
                                                {day.fromDate, day.toDate}))
                if (!users.contains(r.str(QStringLiteral("LastUser"))) && !r.str(QStringLiteral("LastUser")).isEmpty())
                    users << r.str(QStringLiteral("LastUser"));
        }
        firstFnid = ctx->main.scalar(QStringLiteral("SELECT COALESCE(MAX(Fnid), 0) + 1 FROM Finish")).toLongLong();
        // One closed shift per user over the whole business day.
        ctx->main.transaction([&] {
            for (const QString &u : users)
                ctx->main.exec(QStringLiteral("INSERT INTO Finish (fDate, FnCnt, FnChk, sDate1, Time1, sDate2, Time2, PsCode, "
                                              "PosNo, BefAmt, TotCnt, CashAmt1, CardAmt1, TotAmt1, CashAmt2, CardAmt2, "
                                              "TotAmt2, CashAmt3, CardAmt3, TotAmt3, CashAmt4, TotAmt4) "
                                              "VALUES (?, '1', '1', ?, ?, ?, ?, ?, 1, 0, 1, 1000, 1000, 2000, 1000, 1000, "
                                              "2000, 0, 0, 0, 1000, 2000)"),
                               {openShiftDate(), day.fromDate, day.fromTime, day.toDate, day.toTime, u});
        });
        const qint64 sales = ctx->main.scalar(QStringLiteral("SELECT COUNT(*) FROM Sale")).toLongLong();
        const qint64 daySales = ctx->main.scalar(QStringLiteral("SELECT COUNT(*) FROM Sale WHERE SlDate >= ? AND SlDate <= ?"),
                                                 {day.fromDate, day.toDate}).toLongLong();
        std::fprintf(stderr, "%s\n  %lld sale lines, %lld on %s..%s; %lld users with takings that day\n",
                     qPrintable(centre.describe()), sales, daySales, qPrintable(day.fromDate), qPrintable(day.toDate),
                     qint64(users.size()));
    }
    ~Desk()
    {
        try {
            // The closings of the run go, their stamps with them; the stamps
            // the generator wrote come back; the shifts added go.
            ctx->main.transaction([&] {
                const auto daily = ctx->main.scalar(QStringLiteral("SELECT Fnid FROM Finish WHERE fDate = ? AND FnCnt = '0'"),
                                                    {closingDate});
                if (daily.isValid() && !daily.isNull())
                    deleteClosing(ctx->main, daily.toLongLong(), true);
            });
            ctx->main.transaction([&] {
                ctx->main.exec(QStringLiteral("UPDATE Sale SET SlfDate = SlDate WHERE SlDate >= ? AND SlDate <= ? "
                                              "AND SlfDate IS NULL"),
                               {day.fromDate, day.toDate});
                ctx->main.exec(QStringLiteral("UPDATE Sale SET FnChk = '1' WHERE SlDate >= ? AND SlDate <= ?"),
                               {day.fromDate, day.toDate});
                ctx->main.exec(QStringLiteral("UPDATE Lecture SET fDate = RqDate WHERE RqDate >= ? AND RqDate <= ? "
                                              "AND RqDate < ? AND fDate IS NULL"),
                               {day.fromDate, day.toDate, today.toString(Qt::ISODate)});
                ctx->main.exec(QStringLiteral("UPDATE RqPerBox SET fDate = NULL WHERE fDate = ?"), {closingDate});
                ctx->main.exec(QStringLiteral("DELETE FROM Finish WHERE Fnid >= ?"), {firstFnid});
            });
        } catch (const std::exception &e) {
            std::fprintf(stderr, "could not restore the centre: %s\n", e.what());
        }
    }
    std::string name(const char *what) const { return std::string(what) + "/" + label.toStdString(); }
};

// Closing the business day, as the closing screen does it.
void closeTheDay(benchmark::State &state, Desk *d)
{
    qint64 refused = 0;
    const ShiftStamp st{QStringLiteral("0001"), 1, QDateTime(d->today, QTime(10, 0))};
    timeEach(state, d->name("close-day"), [&](int) {
        if (!closeDay(d->ctx->main, DayClosingInput{d->day, d->closingDate}, st))
            ++refused;
    });
    state.counters["refused"] = double(refused);
}

// The same writes bare: the earlier closing's stamps outside the window cleared, the window's
// unstamped takings of each table stamped, the shifts stamped, summed and the
// day's row written, in one transaction (without the checks of what stands
// in the way).
void closeTheDayBare(benchmark::State &state, Desk *d)
{
    const QSqlDatabase h = d->ctx->main.handle();
    const bool pg = d->ctx->main.isPostgres();
    const TimeWindow &w = d->day;
    const QString window = QStringLiteral("%1 >= ? AND %1 <= ? AND (%1 > ? OR %2 >= ?) AND (%1 < ? OR %2 <= ?)");
    const QVariantList wp{w.fromDate, w.toDate, w.fromDate, w.fromTime, w.toDate, w.toTime};
    std::vector<QSqlQuery> clear, stamp;
    // The earlier closing's stamps outside the window (rows inside keep theirs).
    for (const auto &[table, column, day, kinds] :
         {std::tuple{"Sale", "SlfDate", "SlDate", "1 = 1"}, {"Lecture", "fDate", "RqDate", "LtGubun IN ('1', '2', '4')"},
          {"RqPerBox", "fDate", "RqDate", "RqGubun IN ('1', '3', '4', '5')"}})
        clear.push_back(prepared(h, QStringLiteral("UPDATE %1 SET %2 = NULL WHERE %2 = ? AND NOT COALESCE((%3 AND %4), FALSE)")
                                        .arg(QLatin1String(table), QLatin1String(column),
                                             window.arg(QLatin1String(day), QStringLiteral("LastTime")), QLatin1String(kinds))));
    stamp.push_back(prepared(h, QStringLiteral("UPDATE Sale SET SlfDate = ? WHERE ") + window.arg(QStringLiteral("SlDate"), QStringLiteral("LastTime"))
                                    + QStringLiteral(" AND (SlfDate IS NULL OR SlfDate = '')")));
    stamp.push_back(prepared(h, QStringLiteral("UPDATE Lecture SET fDate = ? WHERE ") + window.arg(QStringLiteral("RqDate"), QStringLiteral("LastTime"))
                                    + QStringLiteral(" AND LtGubun IN ('1', '2', '4') AND (fDate IS NULL OR fDate = '')")));
    stamp.push_back(prepared(h, QStringLiteral("UPDATE RqPerBox SET fDate = ? WHERE ") + window.arg(QStringLiteral("RqDate"), QStringLiteral("LastTime"))
                                    + QStringLiteral(" AND RqGubun IN ('1', '3', '4', '5') AND (fDate IS NULL OR fDate = '')")));
    QSqlQuery unshift = prepared(h, QStringLiteral("UPDATE Finish SET fDate = '0000-00-00' WHERE fDate = ? AND FnCnt <> '0'"));
    QSqlQuery shifts = prepared(h, QStringLiteral("UPDATE Finish SET fDate = ? WHERE FnCnt <> '0' AND FnChk = '1' "
                                                  "AND fDate = '0000-00-00' AND sDate1 >= ? AND sDate2 <= ?"));
    QSqlQuery sum = prepared(h, QStringLiteral("SELECT SUM(TotCnt), SUM(CashAmt1), SUM(CardAmt1), SUM(TotAmt1), SUM(CashAmt2), "
                                               "SUM(CardAmt2), SUM(TotAmt2), SUM(CashAmt3), SUM(CardAmt3), SUM(TotAmt3), "
                                               "SUM(CashAmt4), SUM(TotAmt4) FROM Finish WHERE fDate = ? AND FnCnt <> '0'"));
    QSqlQuery write = prepared(h, QStringLiteral("UPDATE Finish SET sDate1 = ?, Time1 = ?, sDate2 = ?, Time2 = ?, TotCnt = ?, "
                                                 "CashAmt1 = ?, CardAmt1 = ?, TotAmt1 = ? WHERE fDate = ? AND FnCnt = '0'"));
    const QString begin = pg ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE");
    timeEach(state, d->name("close-day-bare"), [&](int) {
        runPlain(h, begin);
        for (QSqlQuery &q : clear)
            run(q, QVariantList{d->closingDate} + wp);
        run(unshift, {d->closingDate});
        for (QSqlQuery &q : stamp)
            run(q, QVariantList{d->closingDate} + wp);
        run(shifts, {d->closingDate, w.fromDate, w.toDate});
        run(sum, {d->closingDate});
        sum.next();
        const QSqlRecord r = sum.record();
        sum.finish();
        run(write, {w.fromDate, w.fromTime, w.toDate, w.toTime, r.value(0), r.value(1), r.value(2), r.value(3), d->closingDate});
        runPlain(h, QStringLiteral("COMMIT"));
    });
}

DetailedTakingsCriteria monthCriteria(const Desk *d)
{
    DetailedTakingsCriteria c;
    const QDate first(d->year, d->month, 1);
    c.window = TimeWindow{first.toString(Qt::ISODate), QStringLiteral("00:00:00"),
                          first.addMonths(1).addDays(-1).toString(Qt::ISODate), QStringLiteral("23:59:59")};
    return c;
}

// The whole month in item order, as printing and the export read it.
void monthTakings(benchmark::State &state, Desk *d)
{
    const DetailedTakingsCriteria c = monthCriteria(d);
    qint64 n = 0;
    timeEach(state, d->name("month-takings"), [&](int) {
        const auto lines = detailedTakings(d->ctx->main, c);
        benchmark::DoNotOptimize(takingsTotal(lines));
        n = lines.size();
    });
    state.counters["lines"] = double(n);
}

// What the screen shows at once: the head (count and totals) and the first
// page of lines, in either order.
constexpr int kScreenPage = 200;

void monthTakingsFirstPage(benchmark::State &state, Desk *d, TakingsOrder order, const char *figure)
{
    DetailedTakingsCriteria c = monthCriteria(d);
    c.order = order;
    qint64 n = 0;
    timeEach(state, d->name(figure), [&](int) {
        benchmark::DoNotOptimize(detailedTakingsHead(d->ctx->main, c));
        n = detailedTakingsPage(d->ctx->main, c, nullptr, kScreenPage).size();
    });
    state.counters["lines"] = double(n);
}
void monthTakingsFirstPageByItem(benchmark::State &state, Desk *d)
{
    monthTakingsFirstPage(state, d, TakingsOrder::ItemThenTime, "month-takings-first");
}
void monthTakingsFirstPageByUser(benchmark::State &state, Desk *d)
{
    monthTakingsFirstPage(state, d, TakingsOrder::UserThenTime, "month-takings-first-byuser");
}

// The statements of the detailed takings, bare: the names of the small code
// tables, each kind's lines in the order asked, and the head's sums.
struct TakingsBare {
    std::vector<QSqlQuery> names;
    QSqlQuery goods, courses, lockers;            // the whole month in item order
    QSqlQuery goodsFirst;                         // item order: the first page is goods
    QSqlQuery goodsByUser, coursesByUser, lockersByUser; // user order: each kind's first page
    std::vector<QSqlQuery> head;
    QVariantList wp;

    explicit TakingsBare(const Desk *d)
    {
        const QSqlDatabase h = d->ctx->main.handle();
        const TimeWindow w = monthCriteria(d).window;
        wp = {w.fromDate, w.toDate, w.fromDate, w.fromTime, w.toDate, w.toTime};
        const QString window = QStringLiteral("%1 >= ? AND %1 <= ? AND (%1 > ? OR %2 >= ?) AND (%1 < ? OR %2 <= ?)");
        for (const char *sql : {"SELECT PsCode, UserName FROM UserM",
                                "SELECT PsGroup, Code, Name FROM Course WHERE PsGroup IN ('S', 'P')",
                                "SELECT Code, Name FROM Card", "SELECT ItId, ItName FROM Item"})
            names.push_back(prepared(h, QLatin1String(sql)));
        const QString goodsSql = QStringLiteral(
            "SELECT COALESCE(s.LastUser, '') AS K0, COALESCE(s.SlDate, '') AS K1, COALESCE(s.LastTime, '') AS K2, "
            "COALESCE(s.Course, '') || COALESCE(s.ItCode, '') AS K3, s.SlId AS Id, s.SlNo, s.MbCode, s.Course, s.ItId, "
            "s.Slqty, s.SlAmt, s.CashAmt, s.CardAmt, s.CardGubun, s.SlfDate, CASE WHEN trim(s.FnChk) = '1' THEN 1 ELSE 0 END "
            "+ CASE WHEN trim(s.Reprint) = '1' THEN 2 ELSE 0 END + CASE WHEN trim(s.CashChk) = '1' THEN 4 ELSE 0 END, s.SEQ "
            "FROM Sale s WHERE ") + window.arg(QStringLiteral("s.SlDate"), QStringLiteral("s.LastTime"));
        const QString courseKeys = QStringLiteral(
            "COALESCE(l.LastUser, '') AS K0, COALESCE(l.RqDate, '') AS K1, COALESCE(l.LastTime, '') AS K2, "
            "COALESCE(l.Course, '') || COALESCE(g.PgName, l.PgName, '') AS K3, l.Ltid AS Id");
        const QString courseColumns = QStringLiteral(
            "CASE WHEN l.LtGubun = '2' THEN 2 WHEN l.LtGubun = '4' THEN 4 WHEN trim(l.PgGubun) = '4' THEN 1 ELSE 0 END, "
            "l.MbCode, COALESCE(m.MbName, l.MbName), l.Course, COALESCE(g.PgName, l.PgName), l.CashAmt, l.CardAmt, l.Card, "
            "l.fDate");
        const QString courseWhere = QStringLiteral(" WHERE ") + window.arg(QStringLiteral("l.RqDate"), QStringLiteral("l.LastTime"))
            + QStringLiteral(" AND l.LtGubun IN ('1', '2', '4')");
        const QString lockerSql = QStringLiteral(
            "SELECT COALESCE(r.LastUser, '') AS K0, COALESCE(r.RqDate, '') AS K1, COALESCE(r.LastTime, '') AS K2, "
            "COALESCE(trim(r.RqGubun), '') || '|' || substr('0000' || COALESCE(trim(r.BoxCode), ''), "
            "length(COALESCE(trim(r.BoxCode), '')) + 1) AS K3, r.Rqid AS Id, r.RqGubun, r.MbCode, m.MbName, b.BoxName, "
            "r.BoxNum, r.Samt, r.Uamt, r.Ramt, r.fDate FROM RqPerBox r LEFT JOIN Member m ON r.MbCode = m.MbCode "
            "LEFT JOIN PerBox b ON r.BoxCode = b.BoxCode WHERE ")
            + window.arg(QStringLiteral("r.RqDate"), QStringLiteral("r.LastTime"))
            + QStringLiteral(" AND r.RqGubun IN ('1', '3', '4', '5') AND (r.Samt + r.Uamt + r.Ramt) <> 0");
        goods = prepared(h, goodsSql + QStringLiteral(" ORDER BY K3, K1, K2, Id"));
        courses = prepared(h, QStringLiteral("SELECT ") + courseKeys + QStringLiteral(", ") + courseColumns
                                  + QStringLiteral(" FROM Lecture l LEFT JOIN Program g ON l.Pgid = g.Pgid "
                                                   "LEFT JOIN Member m ON l.MbCode = m.MbCode")
                                  + courseWhere + QStringLiteral(" ORDER BY K3, K1, K2, Id"));
        lockers = prepared(h, lockerSql + QStringLiteral(" ORDER BY K3, K1, K2, Id"));
        goodsFirst = prepared(h, goodsSql + QStringLiteral(" ORDER BY K3, K1, K2, Id LIMIT ?"));
        goodsByUser = prepared(h, goodsSql + QStringLiteral(" ORDER BY K0, K1, K2, Id LIMIT ?"));
        coursesByUser = prepared(h, QStringLiteral("SELECT p.K0, p.K1, p.K2, p.K3, p.Id, ") + courseColumns
                                        + QStringLiteral(" FROM (SELECT ") + courseKeys
                                        + QStringLiteral(" FROM Lecture l LEFT JOIN Program g ON l.Pgid = g.Pgid")
                                        + courseWhere
                                        + QStringLiteral(" ORDER BY K0, K1, K2, Id LIMIT ?) p JOIN Lecture l ON l.Ltid = p.Id "
                                                         "LEFT JOIN Program g ON l.Pgid = g.Pgid "
                                                         "LEFT JOIN Member m ON l.MbCode = m.MbCode "
                                                         "ORDER BY p.K0, p.K1, p.K2, p.Id"));
        lockersByUser = prepared(h, lockerSql + QStringLiteral(" ORDER BY K0, K1, K2, Id LIMIT ?"));
        head.push_back(prepared(h, QStringLiteral("SELECT COUNT(*), SUM(CASE WHEN s.SEQ = 1 THEN 1 ELSE 0 END), SUM(s.Slqty), "
                                                  "SUM(s.SlAmt), SUM(s.CashAmt), SUM(s.CardAmt) FROM Sale s WHERE ")
                                       + window.arg(QStringLiteral("s.SlDate"), QStringLiteral("s.LastTime"))));
        head.push_back(prepared(h, QStringLiteral("SELECT COUNT(*), SUM(CASE WHEN l.LtGubun = '4' THEN -l.CashAmt ELSE l.CashAmt END), "
                                                  "SUM(CASE WHEN l.LtGubun = '4' THEN -l.CardAmt ELSE l.CardAmt END) FROM Lecture l")
                                       + courseWhere));
        head.push_back(prepared(h, QStringLiteral("SELECT COUNT(*), SUM(r.Samt + r.Uamt - r.Ramt) FROM RqPerBox r WHERE ")
                                       + window.arg(QStringLiteral("r.RqDate"), QStringLiteral("r.LastTime"))
                                       + QStringLiteral(" AND r.RqGubun IN ('1', '3', '4', '5') AND (r.Samt + r.Uamt + r.Ramt) <> 0")));
    }
    void readNames()
    {
        for (QSqlQuery &q : names) {
            run(q, {});
            drain(q);
        }
    }
    void readHead()
    {
        for (QSqlQuery &q : head) {
            run(q, wp);
            drain(q);
        }
    }
};

void monthTakingsBare(benchmark::State &state, Desk *d)
{
    TakingsBare b(d);
    timeEach(state, d->name("month-takings-bare"), [&](int) {
        b.readNames();
        for (QSqlQuery *q : {&b.goods, &b.courses, &b.lockers}) {
            run(*q, b.wp);
            drain(*q);
        }
    });
}

void monthTakingsFirstPageBare(benchmark::State &state, Desk *d)
{
    TakingsBare b(d);
    timeEach(state, d->name("month-takings-first-bare"), [&](int) {
        b.readHead();
        b.readNames();
        run(b.goodsFirst, b.wp + QVariantList{kScreenPage});
        drain(b.goodsFirst);
    });
}

void monthTakingsFirstPageByUserBare(benchmark::State &state, Desk *d)
{
    TakingsBare b(d);
    timeEach(state, d->name("month-takings-first-byuser-bare"), [&](int) {
        b.readHead();
        b.readNames();
        for (QSqlQuery *q : {&b.goodsByUser, &b.coursesByUser, &b.lockersByUser}) {
            run(*q, b.wp + QVariantList{kScreenPage});
            drain(*q);
        }
    });
}

// The month's three statements as the detailed takings read them before they
// came in pages: every name joined to every line, unordered.
void monthTakingsJoinedBare(benchmark::State &state, Desk *d)
{
    const QSqlDatabase h = d->ctx->main.handle();
    const TimeWindow w = monthCriteria(d).window;
    const QString window = QStringLiteral("%1 >= ? AND %1 <= ? AND (%1 > ? OR %2 >= ?) AND (%1 < ? OR %2 <= ?)");
    const QVariantList wp{w.fromDate, w.toDate, w.fromDate, w.fromTime, w.toDate, w.toTime};
    QSqlQuery goods = prepared(h, QStringLiteral(
        "SELECT s.SlId, s.SlDate, s.LastTime, s.LastUser, u.UserName, s.SlNo, s.MbCode, s.Course, c.Name AS CourseName, "
        "s.ItCode, i.ItName, s.Slqty, s.SlAmt, s.CashAmt, s.CardAmt, s.CardGubun, k.Name AS CardName, s.SlfDate, s.FnChk, "
        "s.Reprint, s.CashChk, s.SEQ FROM Sale s LEFT JOIN Item i ON s.ItId = i.ItId "
        "LEFT JOIN Course c ON c.PsGroup = 'S' AND c.Code = s.Course "
        "LEFT JOIN UserM u ON s.LastUser = u.PsCode LEFT JOIN Card k ON s.CardGubun = k.Code WHERE ")
        + window.arg(QStringLiteral("s.SlDate"), QStringLiteral("s.LastTime")));
    QSqlQuery courses = prepared(h, QStringLiteral(
        "SELECT l.Ltid, l.LtGubun, l.PgGubun, l.RqDate, l.LastTime, l.LastUser, u.UserName, l.MbCode, "
        "COALESCE(m.MbName, l.MbName) AS MbName, l.Course, c.Name AS CourseName, COALESCE(g.PgName, l.PgName) AS PgName, "
        "l.CashAmt, l.CardAmt, l.Card, k.Name AS CardName, l.fDate "
        "FROM Lecture l LEFT JOIN Program g ON l.Pgid = g.Pgid LEFT JOIN Member m ON l.MbCode = m.MbCode "
        "LEFT JOIN UserM u ON l.LastUser = u.PsCode LEFT JOIN Course c ON c.PsGroup = 'P' AND c.Code = l.Course "
        "LEFT JOIN Card k ON l.Card = k.Code WHERE ")
        + window.arg(QStringLiteral("l.RqDate"), QStringLiteral("l.LastTime")) + QStringLiteral(" AND l.LtGubun IN ('1', '2', '4')"));
    QSqlQuery lockers = prepared(h, QStringLiteral(
        "SELECT r.Rqid, r.RqGubun, r.RqDate, r.LastTime, r.LastUser, u.UserName, r.MbCode, m.MbName, r.BoxCode, "
        "b.BoxName, r.BoxNum, r.Samt, r.Uamt, r.Ramt, r.fDate "
        "FROM RqPerBox r LEFT JOIN Member m ON r.MbCode = m.MbCode LEFT JOIN PerBox b ON r.BoxCode = b.BoxCode "
        "LEFT JOIN UserM u ON r.LastUser = u.PsCode "
        "WHERE r.RqGubun IN ('1', '3', '4', '5') AND (r.Samt + r.Uamt + r.Ramt) <> 0 AND ")
        + window.arg(QStringLiteral("r.RqDate"), QStringLiteral("r.LastTime")));
    timeEach(state, d->name("month-takings-joined-bare"), [&](int) {
        for (QSqlQuery *q : {&goods, &courses, &lockers}) {
            run(*q, wp);
            drain(*q);
        }
    });
}

void monthCards(benchmark::State &state, Desk *d)
{
    timeEach(state, d->name("month-cards"), [&](int) {
        benchmark::DoNotOptimize(cardTakings(d->ctx->main, d->year, d->month, CardTakingsSource::Both).total());
    });
}

void monthCardsBare(benchmark::State &state, Desk *d)
{
    const QSqlDatabase h = d->ctx->main.handle();
    const QDate first(d->year, d->month, 1);
    const QVariantList range{first.toString(Qt::ISODate), first.addMonths(1).addDays(-1).toString(Qt::ISODate)};
    QSqlQuery goods = prepared(h, QStringLiteral("SELECT SlDate, CardGubun, SUM(CardAmt) AS Amt FROM Sale "
                                                 "WHERE SlDate >= ? AND SlDate <= ? AND CardChk <> '1' AND SEQ = 1 "
                                                 "AND CardAmt <> 0 GROUP BY SlDate, CardGubun"));
    QSqlQuery members = prepared(h, QStringLiteral("SELECT RqDate, Card, "
                                                   "SUM(CASE WHEN LtGubun = '4' THEN -CardAmt ELSE CardAmt END) AS Amt "
                                                   "FROM Lecture WHERE RqDate >= ? AND RqDate <= ? "
                                                   "AND LtGubun IN ('1', '2', '4') AND CardAmt <> 0 GROUP BY RqDate, Card"));
    QSqlQuery cards = prepared(h, QStringLiteral("SELECT Code, Name FROM Card ORDER BY Code"));
    timeEach(state, d->name("month-cards-bare"), [&](int) {
        run(cards, {});
        drain(cards);
        run(goods, range);
        drain(goods);
        run(members, range);
        drain(members);
    });
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    auto desks = fixturesPerEngine<Desk>();
    if (!desks)
        return 1;
    const int reps = envInt("FITROVA_BENCH_REPETITIONS", 3);
    for (const auto &dp : *desks) {
        Desk *d = dp.get();
        const std::string l = d->label.toStdString();
        const auto reg = [&](const std::string &name, void (*fn)(benchmark::State &, Desk *), int iterations) {
            benchmark::RegisterBenchmark(("Closing/" + name + "/" + l).c_str(), fn, d)
                ->UseManualTime()->Iterations(iterations)->Repetitions(reps)->Unit(benchmark::kMillisecond);
        };
        reg("CloseDay", closeTheDay, 10);
        reg("CloseDayBareSql", closeTheDayBare, 10);
        reg("MonthTakings", monthTakings, 5);
        reg("MonthTakingsBareSql", monthTakingsBare, 5);
        reg("MonthTakingsJoinedBareSql", monthTakingsJoinedBare, 5);
        reg("MonthTakingsFirstPage", monthTakingsFirstPageByItem, 10);
        reg("MonthTakingsFirstPageBareSql", monthTakingsFirstPageBare, 10);
        reg("MonthTakingsFirstPageByUser", monthTakingsFirstPageByUser, 10);
        reg("MonthTakingsFirstPageByUserBareSql", monthTakingsFirstPageByUserBare, 10);
        reg("MonthCardTakings", monthCards, 10);
        reg("MonthCardTakingsBareSql", monthCardsBare, 10);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printSummary();
    desks->clear();
    return 0;
}
