// Lockers on the large generated centre (2,000 lockers in ten groups, the
// largest of 500, three years of history; 100,000 members and 300,000
// enrollments beside them): the locker board of the 500-locker group, the
// rental screens' grid of that group, the rental status list over every
// group, and a rental written (locker and history in one transaction). Every
// figure has a bare twin: the same statements through QSqlQuery prepared
// once, so the cost of the layers above the driver is visible.
//
// The rentals a run writes are taken back after it (the lockers freed, the
// rows deleted), so the cached centre stays as generated.
//
//   bench_lockers [--benchmark_filter=...]   FITROVA_BENCH_SCALE=0.01 for a small centre

#include "benchtiming.h"
#include "centregen.h"

#include "lockers/lockerboard.h"
#include "lockers/lockerrental.h"
#include "lockers/lockerreports.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <map>

using namespace fitrova;
using namespace fitrova::bench;

namespace {

struct Desk {
    BenchCentre centre;
    std::unique_ptr<AppContext> ctx;
    QString label;
    QDate today;
    QString bigGroup;  // the group with the most lockers
    int bigCount = 0;
    QList<qint64> free; // free lockers of the big group, for the rentals
    QStringList members;

    explicit Desk(Engine engine)
        : centre(BenchCentre::open(engine, CentreShape::fromEnvironment(),
                                   [](const QString &s) { std::fprintf(stderr, "%s\n", qPrintable(s)); }))
    {
        ctx = centre.connect(QTime(10, 0));
        label = engine == Engine::PostgreSQL ? QStringLiteral("postgres") : QStringLiteral("sqlite");
        today = centre.shape().today;
        const auto big = ctx->main.queryOne(QStringLiteral("SELECT BoxCode, COUNT(*) AS Cnt FROM PerBoxS GROUP BY BoxCode "
                                                           "ORDER BY COUNT(*) DESC LIMIT 1"));
        if (!big)
            throw std::runtime_error("the benchmark centre has no lockers");
        bigGroup = big->str(QStringLiteral("BoxCode"));
        bigCount = int(big->num(QStringLiteral("Cnt")));
        for (const Row &r : ctx->main.query(QStringLiteral("SELECT BoxNum FROM PerBoxS WHERE BoxCode = ? AND UUse = '0' "
                                                           "ORDER BY BoxNum"),
                                            {bigGroup}))
            free << r.num(QStringLiteral("BoxNum"));
        for (const Row &r : ctx->main.query(QStringLiteral("SELECT MbCode FROM Member ORDER BY MbCode LIMIT 500")))
            members << r.str(QStringLiteral("MbCode"));
        const qint64 lockers = ctx->main.scalar(QStringLiteral("SELECT COUNT(*) FROM PerBoxS")).toLongLong();
        const qint64 rows = ctx->main.scalar(QStringLiteral("SELECT COUNT(*) FROM RqPerBox")).toLongLong();
        std::fprintf(stderr, "%s\n  %lld lockers, %lld locker transactions; group %s has %d lockers, %lld free\n",
                     qPrintable(centre.describe()), lockers, rows, qPrintable(bigGroup), bigCount,
                     qint64(free.size()));
    }
    std::string name(const char *what) const { return std::string(what) + "/" + label.toStdString(); }

    // Frees the lockers the rentals took and drops their rows.
    void undoRentals(qint64 firstRqid) const
    {
        ctx->main.transaction([&] {
            for (qint64 n : free)
                ctx->main.exec(QStringLiteral("UPDATE PerBoxS SET UUse = '0', MbCode = NULL, StDate = NULL, "
                                              "EndDate = NULL, MonCnt = 0, LastUser = NULL, LastDate = NULL, "
                                              "LastTime = NULL WHERE BoxCode = ? AND BoxNum = ?"),
                               {bigGroup, n});
            ctx->main.exec(QStringLiteral("DELETE FROM RqPerBox WHERE Rqid >= ?"), {firstRqid});
        });
    }
    qint64 nextRqid() const
    {
        return ctx->main.scalar(QStringLiteral("SELECT COALESCE(MAX(Rqid), 0) + 1 FROM RqPerBox")).toLongLong();
    }
};

const QString kBoardSql = QStringLiteral(
    "SELECT S.BoxNum, S.UUse, S.MbCode, M.MbName, S.StDate, S.EndDate, S.MonCnt, M.Tel1 "
    "FROM PerBoxS S LEFT JOIN Member M ON M.MbCode = S.MbCode WHERE S.BoxCode = ? ORDER BY S.BoxNum");

void board(benchmark::State &state, Desk *d)
{
    qint64 n = 0;
    timeEach(state, d->name("board"), [&](int) {
        const auto lockers = boardLockers(d->ctx->main, d->bigGroup, LockerUse::All, d->today);
        benchmark::DoNotOptimize(boardCounts(lockers));
        n = lockers.size();
    });
    state.counters["lockers"] = double(n);
}

void boardBare(benchmark::State &state, Desk *d)
{
    QSqlQuery q = prepared(d->ctx->main.handle(), kBoardSql);
    timeEach(state, d->name("board-bare"), [&](int) {
        run(q, {d->bigGroup});
        drain(q);
    });
}

const QString kGridSql = QStringLiteral(
    "SELECT S.BoxNum, S.UUse, S.MbCode, M.MbName, S.StDate, S.EndDate, P.Samt AS GSamt, P.Uamt AS GUamt, "
    "R.Rqid, R.RqDate, R.RqGubun, R.UseDate1, R.UseDate2, R.MonCnt AS RMonCnt, R.Samt, R.Uamt, R.Ramt "
    "FROM PerBoxS S LEFT JOIN PerBox P ON P.BoxCode = S.BoxCode "
    "LEFT JOIN Member M ON M.MbCode = S.MbCode "
    "LEFT JOIN RqPerBox R ON R.Rqid = (SELECT MAX(H.Rqid) FROM RqPerBox H WHERE H.BoxCode = S.BoxCode "
    "AND H.RqBox = S.BoxNum AND H.MbCode = S.MbCode AND H.UseDate1 = S.StDate AND H.UseDate2 = S.EndDate) "
    "WHERE S.BoxCode = ? ORDER BY S.BoxNum");

void rentalGrid(benchmark::State &state, Desk *d)
{
    timeEach(state, d->name("rental-grid"), [&](int) {
        benchmark::DoNotOptimize(rentalGridLines(d->ctx->main, d->bigGroup, false));
    });
}

void rentalGridBare(benchmark::State &state, Desk *d)
{
    QSqlQuery q = prepared(d->ctx->main.handle(), kGridSql);
    timeEach(state, d->name("rental-grid-bare"), [&](int) {
        run(q, {d->bigGroup});
        drain(q);
    });
}

const QString kStatusSql = QStringLiteral(
    "SELECT S.BoxCode, P.BoxName, S.BoxNum, S.UUse, S.MonCnt, S.StDate, S.EndDate, S.MbCode, M.MbName, "
    "M.Juno1, M.Juno2, M.Tel1, M.Tel2, M.MbCard, "
    "(SELECT MAX(L.LTyymm) FROM Lecture L WHERE L.MbCode = S.MbCode) AS LastYYmm "
    "FROM PerBoxS S LEFT JOIN PerBox P ON P.BoxCode = S.BoxCode LEFT JOIN Member M ON M.MbCode = S.MbCode "
    "WHERE 1 = 1 ORDER BY LENGTH(S.BoxCode), S.BoxCode, S.BoxNum");

void rentalStatus(benchmark::State &state, Desk *d)
{
    qint64 n = 0;
    timeEach(state, d->name("rental-status"), [&](int) {
        const auto lines = loadRentalStatus(d->ctx->main, RentalStatusCriteria{}, d->today);
        for (const RentalStatusLine &l : lines)
            benchmark::DoNotOptimize(rentalStatusCells(l));
        n = lines.size();
    });
    state.counters["lockers"] = double(n);
}

void rentalStatusBare(benchmark::State &state, Desk *d)
{
    QSqlQuery q = prepared(d->ctx->main.handle(), kStatusSql);
    timeEach(state, d->name("rental-status-bare"), [&](int) {
        run(q, {});
        drain(q);
    });
}

// A rental of a free locker, written as the desk writes it.
void rent(benchmark::State &state, Desk *d)
{
    const qint64 first = d->nextRqid();
    const QString day = d->today.toString(Qt::ISODate);
    const QString end = rentalEndDate(day, 1);
    qint64 refused = 0;
    timeEach(state, d->name("rent"), [&](int i) {
        const RentalInput in{d->members.at(i % d->members.size()), {d->bigGroup, d->free.at(i % d->free.size())},
                             day, day, end, 1, 10000, 5000};
        if (!rentLocker(*d->ctx, in).saved)
            ++refused;
    });
    state.counters["refused"] = double(refused);
    d->undoRentals(first);
}

// The same writes bare: the locker read locked, taken, the history row added.
void rentBare(benchmark::State &state, Desk *d)
{
    const qint64 first = d->nextRqid();
    const QSqlDatabase h = d->ctx->main.handle();
    const bool pg = d->ctx->main.isPostgres();
    QSqlQuery read = prepared(h, QStringLiteral("SELECT UUse, MbCode, StDate, EndDate, MonCnt FROM PerBoxS "
                                                "WHERE BoxCode = ? AND BoxNum = ?")
                                     + (pg ? QStringLiteral(" FOR UPDATE") : QString()));
    QSqlQuery take = prepared(h, QStringLiteral("UPDATE PerBoxS SET UUse = '1', MbCode = ?, MonCnt = ?, StDate = ?, "
                                                "EndDate = ?, LastUser = ?, LastDate = ?, LastTime = ? "
                                                "WHERE BoxCode = ? AND BoxNum = ? AND UUse = '0'"));
    QSqlQuery insert = prepared(h, QStringLiteral("INSERT INTO RqPerBox (RqDate, MbCode, BoxCode, BoxNum, RqGubun, RqBox, "
                                                  "UseDate1, UseDate2, MonCnt, Samt, Uamt, Ramt, LastUser, LastDate, "
                                                  "LastTime) VALUES (?, ?, ?, ?, '1', ?, ?, ?, 1, 10000, 5000, 0, "
                                                  "'0002', ?, '10:00:00') RETURNING Rqid"));
    const QString begin = pg ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE");
    const QString day = d->today.toString(Qt::ISODate);
    const QString end = rentalEndDate(day, 1);
    timeEach(state, d->name("rent-bare"), [&](int i) {
        const QString mb = d->members.at(i % d->members.size());
        const qint64 num = d->free.at(i % d->free.size());
        runPlain(h, begin);
        run(read, {d->bigGroup, num});
        drain(read);
        run(take, {mb, 1, day, end, QStringLiteral("0002"), day, QStringLiteral("10:00:00"), d->bigGroup, num});
        run(insert, {day, mb, d->bigGroup, QString::number(num), num, day, end, day});
        drain(insert);
        runPlain(h, QStringLiteral("COMMIT"));
    });
    d->undoRentals(first);
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
            benchmark::RegisterBenchmark(("Lockers/" + name + "/" + l).c_str(), fn, d)
                ->UseManualTime()->Iterations(iterations)->Repetitions(reps)->Unit(benchmark::kMillisecond);
        };
        reg("Board", board, 50);
        reg("BoardBareSql", boardBare, 50);
        reg("RentalGrid", rentalGrid, 30);
        reg("RentalGridBareSql", rentalGridBare, 30);
        reg("RentalStatus", rentalStatus, 20);
        reg("RentalStatusBareSql", rentalStatusBare, 20);
        const int rentals = std::min<int>(envInt("FITROVA_BENCH_RENTALS", 100), int(d->free.size()));
        if (rentals > 0) {
            reg("Rent", rent, rentals);
            reg("RentBareSql", rentBare, rentals);
        }
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printSummary();
    return 0;
}
