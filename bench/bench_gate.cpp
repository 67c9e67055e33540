// The gate on the large generated centre (100,000 members, 300,000
// enrollments, 5,000,000 visits): a card presented → member found → admission
// decided → visit written, as the desk does it, on SQLite and (when
// FITROVA_PG_HOST/PORT/USER are set) on PostgreSQL over loopback. Every figure
// has a bare twin: the same statements through QSqlQuery prepared once, so the
// cost of the layers above the driver is visible. Also the day list of a busy
// day, and the one line the screen adds to it after a check-in.
//
// Each check-in is timed alone; the median and the 99th percentile of a run
// are reported as counters (median_ms, p99_ms), and a summary over all runs is
// printed at the end. The visits a run writes (all on the centre's "today",
// which the generator leaves empty) are removed before and after it.
//
//   bench_gate [--benchmark_filter=...]   FITROVA_BENCH_SCALE=0.01 for a small centre

#include "benchtiming.h"
#include "centregen.h"

#include "entrance/checkin.h"
#include "entrance/gatelists.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>

using namespace fitrova;
using namespace fitrova::bench;

namespace {

// One engine's centre, connected as a desk.
struct Gate {
    BenchCentre centre;
    std::unique_ptr<AppContext> ctx;
    QString label;
    QDate today;
    GateOptions options;
    QStringList cards;
    QPair<QDate, int> usualDay, busiestDay;

    explicit Gate(Engine engine)
        : centre(BenchCentre::open(engine, CentreShape::fromEnvironment(),
                                   [](const QString &s) { std::fprintf(stderr, "%s\n", qPrintable(s)); }))
    {
        ctx = centre.connect(QTime(10, 0));
        label = engine == Engine::PostgreSQL ? QStringLiteral("postgres") : QStringLiteral("sqlite");
        today = centre.shape().today;
        options = GateOptions::fromUserOptions(ctx->options);
        clearToday();
        cards = admittedCards(ctx->main, today, envInt("FITROVA_BENCH_GATE_MEMBERS", 4000));
        warmUp();
        usualDay = dayWithVisits(ctx->ent, 2000, today);
        busiestDay = dayWithVisits(ctx->ent, 1000000, today);
        std::fprintf(stderr, "%s\n  %lld members admitted today; day list of %s (%d visits) and %s (%d visits)\n",
                     qPrintable(centre.describe()), qint64(cards.size()),
                     qPrintable(usualDay.first.toString(Qt::ISODate)), usualDay.second,
                     qPrintable(busiestDay.first.toString(Qt::ISODate)), busiestDay.second);
    }

    // Reads what the check-ins will read once, untimed, so that every figure
    // (the program's and the bare one alike) meets the same warm caches.
    void warmUp() const
    {
        for (const QString &card : cards) {
            const auto m = ctx->ent.queryOne(QStringLiteral("SELECT MbCode FROM Member WHERE MbCard = ?"), {card});
            if (m)
                loadGateFacts(ctx->ent, GateMember{m->str(QStringLiteral("MbCode")), QString(), card}, today);
        }
    }

    // Removes the visits written on the centre's today (by this or an earlier run).
    void clearToday() const
    {
        const QString d = today.toString(Qt::ISODate);
        ctx->ent.transaction([&] {
            ctx->ent.exec(QStringLiteral("DELETE FROM ItemTrs WHERE Entid IN (SELECT Entid FROM entrance WHERE InDate = ?)"), {d});
            ctx->ent.exec(QStringLiteral("DELETE FROM entrance WHERE InDate = ?"), {d});
        });
    }

    QDateTime at(int i) const { return QDateTime(today, QTime(10, 0).addSecs(i % 36000)); }
    std::string name(const char *what) const { return std::string(what) + "/" + label.toStdString(); }
};

// Card → decision → visit written, through the check-in of the program.
void checkIn(benchmark::State &state, Gate *g)
{
    g->clearToday();
    qint64 written = 0, refused = 0;
    timeEach(state, g->name("checkin"), [&](int i) {
        const QString &card = g->cards.at(i % g->cards.size());
        const CheckInResult r = checkInByCard(g->ctx->ent, card, g->at(i), g->options);
        if (r.entid > 0)
            ++written;
        else
            ++refused;
    });
    state.counters["written"] = double(written);
    state.counters["not_written"] = double(refused);
    g->clearToday();
}

// The same statements, bare: member by card, today's visits, the newest valid
// enrollment with its program and postponement, the visit in a transaction.
void checkInBare(benchmark::State &state, Gate *g)
{
    g->clearToday();
    const QSqlDatabase h = g->ctx->ent.handle();
    const bool pg = g->ctx->ent.isPostgres();
    QSqlQuery member = prepared(h, QStringLiteral("SELECT MbCode, MbName, MbCard FROM Member WHERE MbCard = ? ORDER BY MbCode LIMIT 50"));
    QSqlQuery visits = prepared(h, QStringLiteral("SELECT Entid, PgGubun, Ltid, InTime, OutTime FROM entrance "
                                                  "WHERE MbCode = ? AND InDate = ? ORDER BY Entid DESC"));
    QSqlQuery lecture = prepared(
        h, QStringLiteral(
               "SELECT L.Ltid, L.Pgid, L.PgGubun, L.Course, L.RqDate, L.Sdate1, L.Sdate2, L.ddate2, L.PgCnt, "
               "L.uPgCnt, L.Delay, L.Cancel, L.PgName AS LtPgName, P.Pgid AS ProgId, P.PgName, "
               "P.Mon, P.Tue, P.Wed, P.Thu, P.Fri, P.Sat, P.Sun, "
               "D.Ltid AS DelayId, D.Sdate1 AS DelayFrom, D.Sdate2 AS DelayTo "
               "FROM Lecture L LEFT JOIN Program P ON P.Pgid = L.Pgid "
               "LEFT JOIN Lecture D ON D.Ltid = L.Delay AND L.Delay > 0 "
               "WHERE L.MbCode = ? AND L.LtGubun < '3' AND L.Sdate1 <= ? AND L.Sdate2 >= ? "
               "AND L.Transfer = 0 AND L.Cancel = 0 "
               "ORDER BY L.RqDate DESC, L.Ltid DESC LIMIT 1"));
    QSqlQuery insert = prepared(h, QStringLiteral("INSERT INTO entrance (InDate, InTime, PgGubun, MbCode, MbCard, Ltid, Pgid, "
                                                  "Course, uTime, Memo) VALUES (?, ?, ?, ?, ?, ?, ?, ?, 0, '') RETURNING Entid"));
    const QString begin = pg ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE");
    const QString day = g->today.toString(Qt::ISODate);
    timeEach(state, g->name("checkin-bare"), [&](int i) {
        run(member, {g->cards.at(i % g->cards.size())});
        if (!member.next())
            return;
        const QString code = member.value(0).toString(), card = member.value(2).toString();
        member.finish();
        run(visits, {code, day});
        while (visits.next()) {
        }
        visits.finish();
        run(lecture, {code, day, day});
        if (!lecture.next())
            return;
        const QVariant ltid = lecture.value(0), pgid = lecture.value(1), gubun = lecture.value(2), course = lecture.value(3);
        lecture.finish();
        runPlain(h, begin);
        run(insert, {day, g->at(i).time().toString(QStringLiteral("HH:mm")), gubun, code, card, ltid, pgid, course});
        insert.next();
        insert.finish();
        runPlain(h, QStringLiteral("COMMIT"));
    });
    g->clearToday();
}

// The facts and the decision alone (nothing written).
void decideOnly(benchmark::State &state, Gate *g)
{
    timeEach(state, g->name("decide"), [&](int i) {
        const auto m = g->ctx->ent.queryOne(QStringLiteral("SELECT MbCode, MbName, MbCard FROM Member WHERE MbCard = ? "
                                                           "ORDER BY MbCode LIMIT 50"),
                                            {g->cards.at(i % g->cards.size())});
        if (!m)
            return;
        const GateFacts f = loadGateFacts(g->ctx->ent,
                                          GateMember{m->str(QStringLiteral("MbCode")), m->str(QStringLiteral("MbName")),
                                                     m->str(QStringLiteral("MbCard"))},
                                          g->today);
        benchmark::DoNotOptimize(decideAdmission(f, g->at(i), g->options));
    });
}

void dayList(benchmark::State &state, Gate *g, bool busiest)
{
    const QPair<QDate, int> day = busiest ? g->busiestDay : g->usualDay;
    const QString d = day.first.toString(Qt::ISODate);
    qint64 lines = 0;
    timeEach(state, g->name(busiest ? "daylist-busiest" : "daylist"), [&](int) {
        lines = loadDayList(g->ctx->ent, d, false, g->today).size();
    });
    state.counters["visits"] = double(lines);
}

// What the screen reads after a check-in: the new visit's line alone (a
// visit of the busiest day), the same whatever the day holds.
void dayListLine(benchmark::State &state, Gate *g)
{
    const QString d = g->busiestDay.first.toString(Qt::ISODate);
    const Rows ids = g->ctx->ent.query(QStringLiteral("SELECT Entid FROM entrance WHERE InDate = ? ORDER BY Entid"), {d});
    qint64 found = 0;
    timeEach(state, g->name("daylist-line"), [&](int i) {
        found += loadDayListLine(g->ctx->ent, ids.at(i % ids.size()).num(QStringLiteral("Entid")), g->today) ? 1 : 0;
    });
    state.counters["found"] = double(found);
}

void dayListLineBare(benchmark::State &state, Gate *g)
{
    const QString d = g->busiestDay.first.toString(Qt::ISODate);
    const Rows ids = g->ctx->ent.query(QStringLiteral("SELECT Entid FROM entrance WHERE InDate = ? ORDER BY Entid"), {d});
    const QSqlDatabase h = g->ctx->ent.handle();
    QSqlQuery line = prepared(h, QStringLiteral("SELECT E.Entid, E.InDate, E.InTime, E.OutTime, E.MbCode, E.MbCard, E.PgGubun, E.uTime, "
                                                "E.Memo, M.MbName, M.Sex, M.Age, M.MbName1, M.Tel1, P.PgName, L.PgCnt, L.uPgCnt, "
                                                "L.Cancel, L.ddate2 "
                                                "FROM entrance E LEFT JOIN Member M ON M.MbCode = E.MbCode "
                                                "LEFT JOIN Program P ON P.Pgid = E.Pgid "
                                                "LEFT JOIN Lecture L ON L.Ltid = E.Ltid "
                                                "WHERE E.Entid = ? ORDER BY E.InDate, E.InTime DESC, E.Entid"));
    QSqlQuery lent = prepared(h, QStringLiteral("SELECT T.Entid, I.ItName FROM ItemTrs T "
                                                "JOIN entrance E ON E.Entid = T.Entid "
                                                "LEFT JOIN Item I ON I.ItId = T.ItId "
                                                "WHERE E.Entid = ? ORDER BY T.Entid, T.Id"));
    timeEach(state, g->name("daylist-line-bare"), [&](int i) {
        const QVariant id = ids.at(i % ids.size()).value(QStringLiteral("Entid"));
        for (QSqlQuery *q : {&line, &lent}) {
            run(*q, {id});
            while (q->next())
                benchmark::DoNotOptimize(q->record());
            q->finish();
        }
    });
}

void dayListBare(benchmark::State &state, Gate *g, bool busiest)
{
    const QPair<QDate, int> day = busiest ? g->busiestDay : g->usualDay;
    const QSqlDatabase h = g->ctx->ent.handle();
    QSqlQuery list = prepared(h, QStringLiteral("SELECT E.Entid, E.InDate, E.InTime, E.OutTime, E.MbCode, E.MbCard, E.PgGubun, E.uTime, "
                                                "E.Memo, M.MbName, M.Sex, M.Age, M.MbName1, M.Tel1, P.PgName, L.PgCnt, L.uPgCnt, "
                                                "L.Cancel, L.ddate2 "
                                                "FROM entrance E LEFT JOIN Member M ON M.MbCode = E.MbCode "
                                                "LEFT JOIN Program P ON P.Pgid = E.Pgid "
                                                "LEFT JOIN Lecture L ON L.Ltid = E.Ltid "
                                                "WHERE E.InDate = ? ORDER BY E.InDate, E.InTime DESC, E.Entid"));
    QSqlQuery lent = prepared(h, QStringLiteral("SELECT T.Entid, I.ItName FROM ItemTrs T "
                                                "JOIN entrance E ON E.Entid = T.Entid "
                                                "LEFT JOIN Item I ON I.ItId = T.ItId "
                                                "WHERE E.InDate = ? ORDER BY T.Entid, T.Id"));
    const QString d = day.first.toString(Qt::ISODate);
    timeEach(state, g->name(busiest ? "daylist-busiest-bare" : "daylist-bare"), [&](int) {
        for (QSqlQuery *q : {&list, &lent}) {
            run(*q, {d});
            while (q->next())
                benchmark::DoNotOptimize(q->record());
            q->finish();
        }
    });
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    auto gates = fixturesPerEngine<Gate>();
    if (!gates)
        return 1;
    const int checkIns = envInt("FITROVA_BENCH_GATE_ITERATIONS", 1000);
    const int reps = envInt("FITROVA_BENCH_REPETITIONS", 3);
    for (const auto &gp : *gates) {
        Gate *g = gp.get();
        const std::string l = g->label.toStdString();
        const int n = std::min<int>(checkIns, int(g->cards.size()));
        benchmark::RegisterBenchmark(("Gate/CheckIn/" + l).c_str(), checkIn, g)
            ->UseManualTime()->Iterations(n)->Repetitions(reps)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Gate/CheckInBareSql/" + l).c_str(), checkInBare, g)
            ->UseManualTime()->Iterations(n)->Repetitions(reps)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Gate/DecideOnly/" + l).c_str(), decideOnly, g)
            ->UseManualTime()->Iterations(n)->Repetitions(reps)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Gate/DayListLine/" + l).c_str(), dayListLine, g)
            ->UseManualTime()->Iterations(200)->Repetitions(reps)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Gate/DayListLineBareSql/" + l).c_str(), dayListLineBare, g)
            ->UseManualTime()->Iterations(200)->Repetitions(reps)->Unit(benchmark::kMillisecond);
        for (bool busiest : {false, true}) {
            const std::string suffix = busiest ? "Busiest/" : "/";
            benchmark::RegisterBenchmark(("Gate/DayList" + suffix + l).c_str(), dayList, g, busiest)
                ->UseManualTime()->Iterations(20)->Repetitions(reps)->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("Gate/DayListBareSql" + suffix + l).c_str(), dayListBare, g, busiest)
                ->UseManualTime()->Iterations(20)->Repetitions(reps)->Unit(benchmark::kMillisecond);
        }
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printSummary();
    return 0;
}
