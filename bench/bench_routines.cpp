// Speed of the shared routines that screens call per row while filling lists
// and printing receipts.

#include "data/dates.h"
#include "data/lunar.h"
#include "data/text.h"

#include <benchmark/benchmark.h>

using namespace fitrova;

static void BM_PadRightHangul(benchmark::State &state)
{
    const QString s = QStringLiteral("자유수영 월수금 06:00~07:00");
    for (auto _ : state)
        benchmark::DoNotOptimize(padRight(s, 20));
}
BENCHMARK(BM_PadRightHangul);

static void BM_AnsiLen(benchmark::State &state)
{
    const QString s = QStringLiteral("피트로바 스포츠센터 영수증 합계 금액");
    for (auto _ : state)
        benchmark::DoNotOptimize(ansiLen(s));
}
BENCHMARK(BM_AnsiLen);

static void BM_EndDateAfterMonths(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(endDateAfterMonths(QStringLiteral("2024-01-31"), 4));
}
BENCHMARK(BM_EndDateAfterMonths);

static void BM_SolarToLunar(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(solarToLunar(QStringLiteral("2024-09-17")));
}
BENCHMARK(BM_SolarToLunar);

static void BM_NormalizeDate(benchmark::State &state)
{
    const QDate today(2024, 5, 10);
    for (auto _ : state)
        benchmark::DoNotOptimize(normalizeDate(QStringLiteral("240105"), today));
}
BENCHMARK(BM_NormalizeDate);

BENCHMARK_MAIN();
