// Members on the large generated centre (100,000 members, 300,000 enrollments):
// the desk's search by a name fragment and by the tail of a telephone number,
// the member list with the common criteria (everyone, valid today, expiring
// this month, one course), and a new member saved.
//
// The member list is measured three ways: in one statement (runMemberList,
// what the list screen read before it streamed), as the screen shows its first
// screenful (the members found, then the first page of lines into the grid),
// and as the screen reads the whole list into the grid (for sorting, printing
// and the export). The grid figures also report CPU time and the growth of the
// process's peak resident memory over the run (peak_mb). Every figure has a bare
// twin: the same statement through QSqlQuery prepared once, every column of
// every row read, so the cost of the layers above the driver is visible.
//
// The members a run saves are deleted after it, so the cached centre stays as
// generated.
//
//   bench_members [--benchmark_filter=...]   FITROVA_BENCH_SCALE=0.01 for a small centre

#include "benchtiming.h"
#include "centregen.h"

#include "members/memberlist.h"
#include "members/memberstore.h"
#include "members/ui/memberlistscreen.h"
#include "widgets/datagrid.h"
#include "widgets/gridstream.h"

#include <QApplication>
#include <QFile>
#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <map>

using namespace fitrova;
using namespace fitrova::bench;

namespace {

// Runs the statement and reads every column of every row; the row count.
qint64 readAll(QSqlQuery &q, const QVariantList &values)
{
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, values.at(i));
    if (!q.exec())
        throw std::runtime_error(QString(q.lastQuery() + QStringLiteral(": ") + q.lastError().text()).toStdString());
    qint64 n = 0;
    const int columns = q.record().count();
    while (q.next()) {
        for (int c = 0; c < columns; ++c)
            benchmark::DoNotOptimize(q.value(c));
        ++n;
    }
    q.finish();
    return n;
}

const QString kListColumns = QStringLiteral(
    "Member.MbCode, Member.MbName, Member.BirthDay, Member.Solor, Member.Juno1, Member.Juno2, Member.Indate, "
    "Member.Tel1, Member.Tel2, Member.Tel3, Member.Addr1, Member.Addr2, Member.PostNo, Member.MbCard, Member.Sex, "
    "Member.Age, Member.Area, MbGubun.Name AS MbGubunName, Member.Dm, Member.SMS");

struct Search {
    const char *name;
    MemberSearchKind kind;
    QString text;
};

struct ListCase {
    const char *name;
    MemberListCriteria criteria;
};

// One engine's centre, connected as a desk.
struct Desk {
    BenchCentre centre;
    std::unique_ptr<AppContext> ctx;
    QString label;
    QDate today;
    QStringList made; // members saved by the runs, deleted afterwards

    explicit Desk(Engine engine)
        : centre(BenchCentre::open(engine, CentreShape::fromEnvironment(),
                                   [](const QString &s) { std::fprintf(stderr, "%s\n", qPrintable(s)); }))
    {
        ctx = centre.connect(QTime(10, 0));
        label = engine == Engine::PostgreSQL ? QStringLiteral("postgres") : QStringLiteral("sqlite");
        today = centre.shape().today;
        std::fprintf(stderr, "%s\n", qPrintable(centre.describe()));
    }

    std::string name(const std::string &what) const { return what + "/" + label.toStdString(); }

    void removeMade()
    {
        for (const QString &code : made)
            deleteMember(ctx->main, code);
        made.clear();
    }
};

QList<Search> searches()
{
    return {{"NameFragment", MemberSearchKind::Name, QStringLiteral("김하")},
            {"NameFragment3", MemberSearchKind::Name, QStringLiteral("김하늘")},
            {"MobileTail", MemberSearchKind::Mobile, QStringLiteral("5678")},
            {"HomeTelTail", MemberSearchKind::HomeTel, QStringLiteral("5678")}};
}

QList<ListCase> listCases(const QDate &today)
{
    QList<ListCase> out;
    out.append({"All", MemberListCriteria{}});
    MemberListCriteria valid;
    valid.scope = EnrollmentScope::Valid;
    valid.validOn = today.toString(Qt::ISODate);
    out.append({"ValidToday", valid});
    MemberListCriteria expiring;
    expiring.scope = EnrollmentScope::Expiring;
    expiring.dateFrom = QDate(today.year(), today.month(), 1).toString(Qt::ISODate);
    expiring.dateTo = QDate(today.year(), today.month(), today.daysInMonth()).toString(Qt::ISODate);
    out.append({"ExpiringThisMonth", expiring});
    MemberListCriteria month;
    month.scope = EnrollmentScope::Month;
    month.monthFrom = month.monthTo = today.toString(QStringLiteral("yyyy-MM"));
    out.append({"EnrolledThisMonth", month});
    return out;
}

void search(benchmark::State &state, Desk *d, Search s)
{
    qint64 found = 0, total = 0;
    timeEach(state, d->name(std::string("search-") + s.name), [&](int) {
        const MemberSearchResult r = findMembers(d->ctx->main, s.kind, s.text);
        found = r.members.size();
        total = r.total;
    });
    state.counters["rows"] = double(found);
    state.counters["found"] = double(total);
}

void searchBare(benchmark::State &state, Desk *d, Search s)
{
    const SqlCondition c = memberSearchCondition(s.kind, s.text);
    QSqlQuery q = prepared(d->ctx->main.handle(), memberSearchStatement(c));
    qint64 found = 0;
    timeEach(state, d->name(std::string("search-") + s.name + "-bare"),
             [&](int) { found = readAll(q, c.params + QVariantList{kMemberSearchLimit}); });
    state.counters["rows"] = double(found);
}

void memberList(benchmark::State &state, Desk *d, ListCase lc)
{
    const int year = d->today.year();
    qint64 rows = 0;
    timeEach(state, d->name(std::string("list-") + lc.name), [&](int) {
        rows = runMemberList(d->ctx->main, lc.criteria, year).size();
    });
    state.counters["rows"] = double(rows);
}

void memberListBare(benchmark::State &state, Desk *d, ListCase lc)
{
    const SqlCondition where = memberListCondition(lc.criteria, d->today.year());
    QSqlQuery q = prepared(d->ctx->main.handle(),
                           QStringLiteral("SELECT %1 FROM Member LEFT JOIN MbGubun ON Member.MbGubun = MbGubun.Code %2 "
                                          "ORDER BY Member.MbName, Member.MbCode")
                               .arg(kListColumns, where.isEmpty() ? QString() : QStringLiteral("WHERE ") + where.sql));
    qint64 rows = 0;
    timeEach(state, d->name(std::string("list-") + lc.name + "-bare"), [&](int) { rows = readAll(q, where.params); });
    state.counters["rows"] = double(rows);
    // The same statement is the bare twin of every way of reading the whole list.
    for (auto *samples : {&allSamples(), &allCpuSamples()}) {
        const auto &ms = (*samples)[d->name(std::string("list-") + lc.name + "-bare")];
        for (const char *figure : {"listwhole-", "listatonce-"})
            (*samples)[d->name(std::string(figure) + lc.name + "-bare")] = ms;
    }
}

// Resident memory of the process in MB: now (VmRSS) or its peak (VmHWM).
double residentMb(const char *field)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field)) + 1).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

// Resets the peak to the present (Linux: "5" into clear_refs).
void resetPeak()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// The grid a run fills, as the member list screen sets it up.
std::unique_ptr<DataGrid> listGrid()
{
    auto grid = std::make_unique<DataGrid>();
    grid->setColumns(memberListHeaders());
    return grid;
}

// As the list screen reads: a long read hands its lines over a chunk at a time.
GridPagedSource readerSource(const std::shared_ptr<MemberListReader> &reader)
{
    return [reader](int maxRows, const GridPageSink &deliver) {
        reader->next(maxRows, [&](QList<CellRow> &&lines) { deliver(memberListGridPage(std::move(lines))); });
        return !reader->atEnd();
    };
}

// The list screen's query: the members found, the first page into the grid;
// with whole, the rest of the list too. Reports rows, CPU time and the peak
// memory the run added.
void screenList(benchmark::State &state, Desk *d, ListCase lc, bool whole)
{
    const int year = d->today.year();
    qint64 rows = 0, found = 0;
    double cpu = 0, peak = 0;
    int runs = 0;
    std::unique_ptr<DataGrid> grid = listGrid();
    timeEach(state, d->name(std::string(whole ? "listwhole-" : "listfirst-") + lc.name), [&](int) {
        // The previous run's rows go as the screen's next query clears the grid.
        grid->clearRows();
        const double before = residentMb("VmRSS:");
        resetPeak();
        const double c0 = cpuMs();
        auto reader = std::make_shared<MemberListReader>(d->ctx->main, lc.criteria, year);
        streamGridRows(*grid, readerSource(reader));
        if (whole)
            fetchAllGridRows(*grid);
        cpu += cpuMs() - c0;
        peak = std::max(peak, residentMb("VmHWM:") - before);
        rows = grid->rowCount();
        found = reader->count();
        ++runs;
    });
    state.counters["rows"] = double(rows);
    state.counters["found"] = double(found);
    state.counters["cpu_ms"] = cpu / std::max(1, runs);
    state.counters["peak_mb"] = peak;
}

// The list as the screen read it before it streamed: every line in one
// statement, then every row into the grid.
void screenListAtOnce(benchmark::State &state, Desk *d, ListCase lc)
{
    const int year = d->today.year();
    qint64 rows = 0;
    double cpu = 0, peak = 0;
    int runs = 0;
    std::unique_ptr<DataGrid> grid = listGrid();
    timeEach(state, d->name(std::string("listatonce-") + lc.name), [&](int) {
        grid->clearRows();
        const double before = residentMb("VmRSS:");
        resetPeak();
        const double c0 = cpuMs();
        {
            // (The lines are let go inside the timing, as the streamed read lets its chunks go.)
            const QList<MemberListLine> lines = runMemberList(d->ctx->main, lc.criteria, year);
            QList<QStringList> cells;
            QVariantList keys;
            cells.reserve(lines.size());
            for (const MemberListLine &l : lines) {
                cells << l.cells;
                keys << l.contact.mbCode;
            }
            grid->setRows(cells, keys);
        }
        cpu += cpuMs() - c0;
        peak = std::max(peak, residentMb("VmHWM:") - before);
        rows = grid->rowCount();
        ++runs;
    });
    state.counters["rows"] = double(rows);
    state.counters["cpu_ms"] = cpu / std::max(1, runs);
    state.counters["peak_mb"] = peak;
}

// The first screenful's statements bare: the codes found, then the lines of
// the first page's codes (the reader's batch statement).
void screenListFirstBare(benchmark::State &state, Desk *d, ListCase lc)
{
    const SqlCondition where = memberListCondition(lc.criteria, d->today.year());
    QSqlQuery codes = prepared(d->ctx->main.handle(),
                               QStringLiteral("SELECT Member.MbCode FROM Member %1 ORDER BY Member.MbName, Member.MbCode")
                                   .arg(where.isEmpty() ? QString() : QStringLiteral("WHERE ") + where.sql));
    QString marks;
    for (int i = 0; i < 1000; ++i)
        marks += i == 0 ? QStringLiteral("?") : QStringLiteral(",?");
    QSqlQuery lines = prepared(d->ctx->main.handle(),
                               QStringLiteral("SELECT %1 FROM Member LEFT JOIN MbGubun ON Member.MbGubun = MbGubun.Code "
                                              "WHERE Member.MbCode IN (%2)")
                                   .arg(kListColumns, marks));
    qint64 rows = 0;
    timeEach(state, d->name(std::string("listfirst-") + lc.name + "-bare"), [&](int) {
        for (int i = 0; i < where.params.size(); ++i)
            codes.bindValue(i, where.params.at(i));
        if (!codes.exec())
            throw std::runtime_error(codes.lastError().text().toStdString());
        QVariantList page;
        while (codes.next())
            if (page.size() < kGridPageRows)
                page << codes.value(0);
        codes.finish();
        while (!page.isEmpty() && page.size() < 1000)
            page << page.last();
        rows = page.isEmpty() ? 0 : readAll(lines, page);
    });
    state.counters["rows"] = double(rows);
}

void newMember(benchmark::State &state, Desk *d)
{
    d->removeMade();
    timeEach(state, d->name("newmember"), [&](int i) {
        MemberRecord m;
        m.mbName = QStringLiteral("벤치%1").arg(i);
        m.tel1 = QStringLiteral("010-9%1").arg(i, 3, 10, QLatin1Char('0'));
        m.indate = d->today.toString(Qt::ISODate);
        m.sex = QStringLiteral("여");
        const MemberSaveResult r = saveMember(d->ctx->main, m);
        if (r.saved)
            d->made << r.mbCode;
    });
    d->removeMade();
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    auto desks = fixturesPerEngine<Desk>();
    if (!desks)
        return 1;
    const int reps = envInt("FITROVA_BENCH_REPETITIONS", 3);
    const int searchRuns = envInt("FITROVA_BENCH_SEARCHES", 30);
    const int listRuns = envInt("FITROVA_BENCH_LISTS", 3);
    const int saves = envInt("FITROVA_BENCH_SAVES", 100);
    for (const auto &dp : *desks) {
        Desk *d = dp.get();
        const std::string l = d->label.toStdString();
        for (const Search &s : searches()) {
            benchmark::RegisterBenchmark(("Members/Search" + std::string(s.name) + "/" + l).c_str(), search, d, s)
                ->UseManualTime()->Iterations(searchRuns)->Repetitions(reps)->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("Members/Search" + std::string(s.name) + "BareSql/" + l).c_str(), searchBare,
                                         d, s)
                ->UseManualTime()->Iterations(searchRuns)->Repetitions(reps)->Unit(benchmark::kMillisecond);
        }
        for (const ListCase &lc : listCases(d->today)) {
            benchmark::RegisterBenchmark(("Members/List" + std::string(lc.name) + "/" + l).c_str(), memberList, d, lc)
                ->UseManualTime()->Iterations(listRuns)->Repetitions(reps)->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("Members/List" + std::string(lc.name) + "BareSql/" + l).c_str(),
                                         memberListBare, d, lc)
                ->UseManualTime()->Iterations(listRuns)->Repetitions(reps)->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("Members/ListFirstScreen" + std::string(lc.name) + "/" + l).c_str(),
                                         screenList, d, lc, false)
                ->UseManualTime()->Iterations(listRuns)->Repetitions(reps)->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("Members/ListFirstScreen" + std::string(lc.name) + "BareSql/" + l).c_str(),
                                         screenListFirstBare, d, lc)
                ->UseManualTime()->Iterations(listRuns)->Repetitions(reps)->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("Members/ListWholeScreen" + std::string(lc.name) + "/" + l).c_str(),
                                         screenList, d, lc, true)
                ->UseManualTime()->Iterations(listRuns)->Repetitions(reps)->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("Members/ListAtOnceScreen" + std::string(lc.name) + "/" + l).c_str(),
                                         screenListAtOnce, d, lc)
                ->UseManualTime()->Iterations(listRuns)->Repetitions(reps)->Unit(benchmark::kMillisecond);
        }
        benchmark::RegisterBenchmark(("Members/NewMember/" + l).c_str(), newMember, d)
            ->UseManualTime()->Iterations(saves)->Repetitions(reps)->Unit(benchmark::kMillisecond);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printSummary();
    return 0;
}
