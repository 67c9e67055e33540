#pragma once
// Timing and bare-statement helpers shared by the benchmark programs: one
// call timed per iteration (median, 99th percentile and maximum), the samples
// of every figure kept for a closing summary, and statements run through
// QSqlQuery directly for the bare figures beside the program's own.

#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariantList>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace fitrova::bench {

inline int envInt(const char *name, int fallback)
{
    bool ok = false;
    const int v = qEnvironmentVariable(name).toInt(&ok);
    return ok && v > 0 ? v : fallback;
}

// Samples of one figure across all the runs of this process, for the summary.
inline std::map<std::string, std::vector<double>> &allSamples()
{
    static std::map<std::string, std::vector<double>> s;
    return s;
}

// CPU time of samples of one figure (this process: the server's own work on
// PostgreSQL is not in it), kept beside allSamples: on a loaded machine the
// wall time waits for the cores, the CPU time does not.
inline std::map<std::string, std::vector<double>> &allCpuSamples()
{
    static std::map<std::string, std::vector<double>> s;
    return s;
}

// CPU milliseconds this process has used so far.
inline double processCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

inline double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t rank = size_t(std::ceil(p / 100.0 * double(v.size())));
    return v[std::min(v.size() - 1, rank == 0 ? 0 : rank - 1)];
}

// Times one call per iteration; reports median, 99th percentile and maximum,
// and the median CPU time.
template <typename Fn>
void timeEach(benchmark::State &state, const std::string &figure, Fn &&fn)
{
    std::vector<double> ms, cpu;
    ms.reserve(size_t(state.max_iterations));
    cpu.reserve(size_t(state.max_iterations));
    int i = 0;
    for (auto _ : state) {
        QElapsedTimer t;
        const double c0 = processCpuMs();
        t.start();
        fn(i++);
        const qint64 ns = t.nsecsElapsed();
        cpu.push_back(processCpuMs() - c0);
        state.SetIterationTime(double(ns) / 1e9);
        ms.push_back(double(ns) / 1e6);
    }
    state.counters["median_ms"] = percentile(ms, 50);
    state.counters["p99_ms"] = percentile(ms, 99);
    state.counters["max_ms"] = percentile(ms, 100);
    state.counters["cpu_ms"] = percentile(cpu, 50);
    auto &all = allSamples()[figure];
    all.insert(all.end(), ms.begin(), ms.end());
    auto &allCpu = allCpuSamples()[figure];
    allCpu.insert(allCpu.end(), cpu.begin(), cpu.end());
}

// The closing table of a benchmark program: each figure ("name/engine") with
// its samples, median, 99th percentile and median CPU time ("-" where none was
// taken), its ratio to its bare twin ("name-bare/engine") and that twin on the
// next line. A bare figure without a twin stands alone at the end.
inline void printSummary()
{
    const auto &s = allSamples();
    const auto &cpu = allCpuSamples();
    const auto bareOf = [](std::string figure) {
        const size_t slash = figure.find('/');
        return figure.insert(slash == std::string::npos ? figure.size() : slash, "-bare");
    };
    int width = 28;
    for (const auto &entry : s)
        width = std::max(width, int(entry.first.size()));
    const auto line = [&](const std::string &figure, const std::vector<double> &ms) {
        std::printf("%-*s %8zu %10.3f %10.3f", width, figure.c_str(), ms.size(), percentile(ms, 50), percentile(ms, 99));
        const auto c = cpu.find(figure);
        if (c == cpu.end() || c->second.empty())
            std::printf(" %10s", "-");
        else
            std::printf(" %10.3f", percentile(c->second, 50));
    };
    std::printf("\n%-*s %8s %10s %10s %10s %9s\n", width, "figure", "samples", "median ms", "p99 ms", "cpu ms",
                "vs bare");
    for (const auto &[figure, ms] : s) {
        if (figure.find("-bare") != std::string::npos)
            continue;
        const auto b = s.find(bareOf(figure));
        line(figure, ms);
        if (b != s.end())
            std::printf(" %8.2fx", percentile(ms, 50) / std::max(1e-9, percentile(b->second, 50)));
        std::printf("\n");
        if (b != s.end()) {
            line(b->first, b->second);
            std::printf("\n");
        }
    }
    for (const auto &[figure, ms] : s) {
        if (figure.find("-bare") == std::string::npos)
            continue;
        std::string twin = figure;
        twin.erase(twin.find("-bare"), 5);
        if (s.count(twin) == 0) {
            line(figure, ms);
            std::printf("\n");
        }
    }
}

inline QSqlQuery prepared(const QSqlDatabase &db, const QString &sql)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        throw std::runtime_error(QString(sql + QStringLiteral(": ") + q.lastError().text()).toStdString());
    return q;
}

inline void run(QSqlQuery &q, const QVariantList &values)
{
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, values.at(i));
    if (!q.exec())
        throw std::runtime_error(QString(q.lastQuery() + QStringLiteral(": ") + q.lastError().text()).toStdString());
}

inline void runPlain(const QSqlDatabase &db, const QString &sql)
{
    QSqlQuery q(db);
    if (!q.exec(sql))
        throw std::runtime_error(QString(sql + QStringLiteral(": ") + q.lastError().text()).toStdString());
}

// Reads every row of a run query.
inline qint64 drain(QSqlQuery &q)
{
    qint64 n = 0;
    while (q.next()) {
        benchmark::DoNotOptimize(q.record());
        ++n;
    }
    q.finish();
    return n;
}

} // namespace fitrova::bench
