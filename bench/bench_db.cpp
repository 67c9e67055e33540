// The cost of the connection wrapper over the bare driver: a member found by
// card number among 100,000 and a visit written in its own transaction, on a
// file database. Each figure has its bare-statement twin so the overhead
// ratio is visible.

#include "data/db.h"
#include "data/schema.h"
#include "data/schemamigrate.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <random>

using namespace fitrova;

namespace {

struct Centre {
    QTemporaryDir dir;
    Db db;
    Centre()
    {
        QSqlDatabase h = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench"));
        h.setDatabaseName(dir.filePath(QStringLiteral("bench.db")));
        h.open();
        db = Db(QStringLiteral("bench"), Engine::SQLite);
        db.scalar(QStringLiteral("PRAGMA journal_mode = WAL"));
        db.exec(QStringLiteral("PRAGMA synchronous = NORMAL"));
        createTables(db, DbFile::Main);
        createTables(db, DbFile::Entrance);
        db.transaction([&] {
            QSqlQuery q(h);
            q.prepare(QStringLiteral("INSERT INTO Member (MbCode, MbName, MbCard) VALUES (?, ?, ?)"));
            for (int i = 1; i <= 100000; ++i) {
                q.bindValue(0, QStringLiteral("%1").arg(i, 8, 10, QLatin1Char('0')));
                q.bindValue(1, QStringLiteral("회원%1").arg(i));
                q.bindValue(2, QStringLiteral("%1").arg(i * 7919 % 100000000, 8, 10, QLatin1Char('0')));
                q.exec();
            }
        });
    }
};

Centre &centre()
{
    static Centre c;
    return c;
}

QString randomCard(std::mt19937 &rng)
{
    const int i = int(rng() % 100000) + 1;
    return QStringLiteral("%1").arg(i * 7919 % 100000000, 8, 10, QLatin1Char('0'));
}

} // namespace

static void BM_FindMemberByCard_Db(benchmark::State &state)
{
    const Db &db = centre().db;
    std::mt19937 rng(1);
    for (auto _ : state)
        benchmark::DoNotOptimize(db.queryOne(QStringLiteral("SELECT * FROM Member WHERE MbCard = ?"), {randomCard(rng)}));
}
BENCHMARK(BM_FindMemberByCard_Db);

static void BM_FindMemberByCard_Bare(benchmark::State &state)
{
    QSqlDatabase h = centre().db.handle();
    QSqlQuery q(h);
    q.setForwardOnly(true); // as Db reads
    q.prepare(QStringLiteral("SELECT * FROM Member WHERE MbCard = ?"));
    std::mt19937 rng(1);
    for (auto _ : state) {
        q.bindValue(0, randomCard(rng));
        q.exec();
        benchmark::DoNotOptimize(q.next());
        benchmark::DoNotOptimize(q.record());
        q.finish();
    }
}
BENCHMARK(BM_FindMemberByCard_Bare);

static void BM_WriteVisit_Db(benchmark::State &state)
{
    const Db &db = centre().db;
    for (auto _ : state)
        db.transaction([&] {
            db.insertId(QStringLiteral("INSERT INTO entrance (InDate, InTime, MbCode, PgGubun) VALUES (?, ?, ?, '1')"),
                        {QStringLiteral("2024-05-10"), QStringLiteral("09:00"), QStringLiteral("00000001")},
                        QStringLiteral("Entid"));
        });
}
BENCHMARK(BM_WriteVisit_Db);

static void BM_WriteVisit_Bare(benchmark::State &state)
{
    QSqlDatabase h = centre().db.handle();
    QSqlQuery q(h);
    q.prepare(QStringLiteral("INSERT INTO entrance (InDate, InTime, MbCode, PgGubun) VALUES (?, ?, ?, '1')"));
    for (auto _ : state) {
        h.transaction();
        q.bindValue(0, QStringLiteral("2024-05-10"));
        q.bindValue(1, QStringLiteral("09:00"));
        q.bindValue(2, QStringLiteral("00000001"));
        q.exec();
        h.commit();
    }
}
BENCHMARK(BM_WriteVisit_Bare);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    centre();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
