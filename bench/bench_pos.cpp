// The point of sale on the large generated centre (1,000,000 sale lines), on
// SQLite and (when FITROVA_PG_HOST/PORT/USER are set) on PostgreSQL over
// loopback:
//
//   - a voucher of ten lines saved with its number, as 완료 does it (the items
//     read, the next number of the day and user, ten rows in one transaction),
//     beside the same statements bare;
//   - the item buttons of a class of 2,000 items filled on the sale screen
//     (the items read and the first page of buttons set), beside the bare
//     query of those items.
//
// Each call is timed alone; median and 99th percentile are reported per run
// and in a summary at the end. The vouchers a run writes (on the centre's
// today, under a user of the benchmark's own) and the class it adds are
// removed before and after.
//
//   bench_pos [--benchmark_filter=...]   FITROVA_BENCH_SCALE=0.01 for a small centre

#include "benchtiming.h"
#include "centregen.h"
#include "scriptedmessages.h"

#include "sales/poscatalogue.h"
#include "sales/ui/posscreen.h"
#include "sales/voucher.h"
#include "widgets/messages.h"

#include <QApplication>
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

const QString kUser = QStringLiteral("0099"); // the benchmark's own desk user
const QString kCourse = QStringLiteral("1");
const QString kClass = QStringLiteral("97"); // the class of 2,000 items
constexpr int kClassItems = 2000;
constexpr int kLines = 10;

struct Counter {
    BenchCentre centre;
    std::unique_ptr<AppContext> ctx;
    QString label, today;
    QList<SaleLine> lines;
    qint64 total = 0;
    qint64 saleRows = 0;
    ScriptedMessages msg;
    std::unique_ptr<UiContext> ui;

    explicit Counter(Engine engine)
        : centre(BenchCentre::open(engine, CentreShape::fromEnvironment(),
                                   [](const QString &s) { std::fprintf(stderr, "%s\n", qPrintable(s)); }))
    {
        ctx = centre.connect(QTime(10, 0));
        ctx->user.psCode = kUser;
        ctx->workstation.found = true;
        ctx->workstation.posNo = 9;
        label = engine == Engine::PostgreSQL ? QStringLiteral("postgres") : QStringLiteral("sqlite");
        today = centre.shape().today.toString(Qt::ISODate);
        clear();
        const Rows items = ctx->main.query(QStringLiteral("SELECT ItId, Sclass, ItName, ItAmt FROM Item WHERE ItUse = '1' "
                                                          "ORDER BY ItId LIMIT ?"),
                                           {kLines});
        for (const Row &r : items) {
            SaleLine l;
            l.itId = r.num(QStringLiteral("ItId"));
            l.sclass = r.str(QStringLiteral("Sclass"));
            l.itName = r.str(QStringLiteral("ItName"));
            l.qty = 1 + int(l.itId % 3);
            l.cost = r.num(QStringLiteral("ItAmt"));
            lines << l;
        }
        total = totalsOf(lines).payable;
        addClass();
        saleRows = ctx->main.scalar(QStringLiteral("SELECT COUNT(*) FROM Sale")).toLongLong();
        ui = std::make_unique<UiContext>(UiContext{*ctx, msg});
        std::fprintf(stderr, "%s\n  %lld sale lines; voucher of %lld lines; class of %d items\n",
                     qPrintable(centre.describe()), saleRows, qint64(lines.size()), kClassItems);
    }
    ~Counter()
    {
        clear();
        removeClass();
    }

    void clear() const
    {
        ctx->main.exec(QStringLiteral("DELETE FROM Sale WHERE SlDate = ? AND LastUser = ?"), {today, kUser});
    }

    void addClass() const
    {
        removeClass();
        ctx->main.transaction([&] {
            ctx->main.exec(QStringLiteral("INSERT INTO Sclass (PsGroup, Course, Sclass, SclassN) VALUES ('S', ?, ?, ?)"),
                           {kCourse, kClass, QStringLiteral("벤치분류")});
            for (int i = 1; i <= kClassItems; ++i)
                ctx->main.exec(QStringLiteral("INSERT INTO Item (ItCode, Course, Sclass, ItName, ItAmt, BarCode, ItUse, "
                                              "Color) VALUES (?, ?, ?, ?, ?, ?, '1', 0)"),
                               {QStringLiteral("197-%1").arg(i, 4, 10, QLatin1Char('0')), kCourse, kClass,
                                QStringLiteral("벤치상품 %1").arg(i, 4, 10, QLatin1Char('0')), 1000 + i,
                                QStringLiteral("BENCH%1").arg(i)});
        });
    }
    void removeClass() const
    {
        ctx->main.exec(QStringLiteral("DELETE FROM Item WHERE Course = ? AND Sclass = ?"), {kCourse, kClass});
        ctx->main.exec(QStringLiteral("DELETE FROM Sclass WHERE PsGroup = 'S' AND Course = ? AND Sclass = ?"),
                       {kCourse, kClass});
    }

    PosStamp stamp(int i) const
    {
        return {today, QTime(10, 0).addSecs(i % 36000).toString(QStringLiteral("HH:mm:ss")), kUser, 9};
    }
    std::string name(const char *what) const { return std::string(what) + "/" + label.toStdString(); }
};

// 완료: a voucher of ten lines with its number, through the program.
void saveTenLines(benchmark::State &state, Counter *c)
{
    c->clear();
    SalePayment pay;
    pay.cash = c->total;
    qint64 refused = 0;
    timeEach(state, c->name("voucher10"), [&](int i) {
        if (!saveVoucher(c->ctx->main, c->stamp(i), c->lines, pay).saved)
            ++refused;
    });
    state.counters["refused"] = double(refused);
    c->clear();
}

// The same statements bare: the items read, the highest number of the day
// and user, ten rows inserted, in one transaction.
void saveTenLinesBare(benchmark::State &state, Counter *c)
{
    c->clear();
    const QSqlDatabase h = c->ctx->main.handle();
    const bool pg = c->ctx->main.isPostgres();
    QString in;
    for (int i = 0; i < c->lines.size(); ++i)
        in += i ? QStringLiteral(", ?") : QStringLiteral("?");
    QSqlQuery items = prepared(h, QStringLiteral("SELECT ItId, ItCode, Course, Lclass, Mclass, Sclass FROM Item WHERE ItId IN (")
                                      + in + QLatin1Char(')') + (pg ? QStringLiteral(" FOR SHARE") : QString()));
    QSqlQuery number = prepared(h, QStringLiteral("SELECT MAX(CAST(SlNo AS BIGINT)) FROM Sale WHERE length(SlNo) BETWEEN 1 AND 18 "
                                                  "AND ltrim(SlNo, '0123456789') = '' AND (SlDate = ? AND LastUser = ?)"));
    const QString cols = QStringLiteral(
        "SlNo, SEQ, ItId, ItCode, Course, Lclass, Mclass, Sclass, SlDate, Slyymm, MbCode, Slqty, SlCost, CardAmt, "
        "CashAmt, SLTAmt, CardChk, FnChk, CashChk, SlAmt, SlAmt1, DcYul, PosNo, CardGubun, DcAmt, LastUser, LastTime, "
        "Reprint");
    QString values;
    for (int i = 0; i < 28; ++i)
        values += i ? QStringLiteral(", ?") : QStringLiteral("?");
    QSqlQuery first = prepared(h, QStringLiteral("INSERT INTO Sale (") + cols + QStringLiteral(") VALUES (") + values
                                      + QStringLiteral(") RETURNING SlId"));
    QSqlQuery next = prepared(h, QStringLiteral("INSERT INTO Sale (") + cols + QStringLiteral(") VALUES (") + values + QLatin1Char(')'));
    const QString begin = pg ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE");
    QVariantList ids;
    for (const SaleLine &l : c->lines)
        ids << l.itId;
    timeEach(state, c->name("voucher10-bare"), [&](int i) {
        const PosStamp st = c->stamp(i);
        runPlain(h, begin);
        run(items, ids);
        std::map<qint64, QSqlRecord> codes;
        while (items.next())
            codes[items.value(0).toLongLong()] = items.record();
        items.finish();
        run(number, {st.date, st.psCode});
        number.next();
        const QString no = QString::number(number.value(0).toLongLong() + 1).rightJustified(4, QLatin1Char('0'));
        number.finish();
        for (int k = 0; k < c->lines.size(); ++k) {
            const SaleLine &l = c->lines.at(k);
            const QSqlRecord &r = codes[l.itId];
            QSqlQuery &q = k == 0 ? first : next;
            run(q, {no, k + 1, l.itId, r.value(1), r.value(2), r.value(3), r.value(4), r.value(5), st.date,
                    st.date.left(7), QStringLiteral("00000000"), l.qty, l.cost, 0, k == 0 ? c->total : 0,
                    k == 0 ? c->total : 0, QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("0"), l.amount(),
                    l.gross(), 0.0, 9, QString(), 0, st.psCode, st.time, QStringLiteral("0")});
            if (k == 0)
                q.next();
            q.finish();
        }
        runPlain(h, QStringLiteral("COMMIT"));
    });
    c->clear();
}

// The item buttons of the class of 2,000 items, filled on the sale screen.
void fillItemButtons(benchmark::State &state, Counter *c)
{
    PosScreen screen(*c->ui);
    int at = -1;
    for (int k = 0; k < screen.classes().size(); ++k)
        if (screen.classes().at(k).course == kCourse && screen.classes().at(k).sclass == kClass)
            at = k;
    if (at < 0) {
        state.SkipWithError("class not shown");
        return;
    }
    screen.showClassPage(at / PosScreen::kClassButtons);
    const int button = at % PosScreen::kClassButtons + 1;
    const int other = button == 1 ? 2 : 1; // a class of the centre's few goods
    // Each time the desk comes from another class, so every button changes.
    std::vector<double> ms;
    for (auto _ : state) {
        screen.selectClass(other);
        QElapsedTimer t;
        t.start();
        screen.selectClass(button);
        const qint64 ns = t.nsecsElapsed();
        state.SetIterationTime(double(ns) / 1e9);
        ms.push_back(double(ns) / 1e6);
    }
    state.counters["median_ms"] = percentile(ms, 50);
    state.counters["p99_ms"] = percentile(ms, 99);
    auto &all = allSamples()[c->name("itembuttons2000")];
    all.insert(all.end(), ms.begin(), ms.end());
    state.counters["items"] = double(screen.items().size());
}

void fillItemButtonsBare(benchmark::State &state, Counter *c)
{
    QSqlQuery q = prepared(c->ctx->main.handle(),
                           QStringLiteral("SELECT ItId, Course, Sclass, ItName, BarCode, ItAmt, Color FROM Item "
                                          "WHERE ItUse = '1' AND Course = ? AND Sclass = ? "
                                          "ORDER BY Course, Sclass, ItName, ItId"));
    qint64 rows = 0;
    timeEach(state, c->name("itembuttons2000-bare"), [&](int) {
        run(q, {kCourse, kClass});
        rows = 0;
        while (q.next()) {
            benchmark::DoNotOptimize(q.record());
            ++rows;
        }
        q.finish();
    });
    state.counters["items"] = double(rows);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    auto counters = fixturesPerEngine<Counter>();
    if (!counters)
        return 1;
    const int vouchers = envInt("FITROVA_BENCH_POS_ITERATIONS", 500);
    const int reps = envInt("FITROVA_BENCH_REPETITIONS", 3);
    for (const auto &cp : *counters) {
        Counter *c = cp.get();
        const std::string l = c->label.toStdString();
        benchmark::RegisterBenchmark(("Pos/SaveVoucher10/" + l).c_str(), saveTenLines, c)
            ->UseManualTime()->Iterations(vouchers)->Repetitions(reps)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Pos/SaveVoucher10BareSql/" + l).c_str(), saveTenLinesBare, c)
            ->UseManualTime()->Iterations(vouchers)->Repetitions(reps)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Pos/ItemButtons2000/" + l).c_str(), fillItemButtons, c)
            ->UseManualTime()->Iterations(50)->Repetitions(reps)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Pos/ItemButtons2000BareSql/" + l).c_str(), fillItemButtonsBare, c)
            ->UseManualTime()->Iterations(50)->Repetitions(reps)->Unit(benchmark::kMillisecond);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printSummary();
    return 0;
}
