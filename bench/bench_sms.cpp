// SMS on the provider's database, on SQLite and (when FITROVA_PG_HOST/PORT/USER
// are set) on PostgreSQL over loopback:
//
//   Sms/BulkSend10000   a bulk send of 10,000 personal messages: the balance
//                       read locked, 10,000 queue rows written, the balance
//                       reduced, one transaction (target: under 2 s)
//   Sms/HistoryMonth    the history of a month holding 100,000 results of the
//                       centre (among 150,000 of other months and customers),
//                       every row read (target: under 300 ms)
//
// Each beside its bare twin: the same statements through QSqlQuery, so that
// the cost of the layers above the driver shows.
//
//   bench_sms [--benchmark_filter=...]

#include "messaging/smsmessages.h"
#include "messaging/smslink.h"
#include "messaging/smsschema.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>

using namespace fitrova;

namespace {

constexpr int kBulk = 10000;
constexpr int kMonthResults = 100000;
constexpr int kOtherResults = 150000;

[[noreturn]] void fail(const QString &why)
{
    std::fprintf(stderr, "%s\n", qPrintable(why));
    std::exit(1);
}

void adminExec(const QString &sql)
{
    const QString name = QStringLiteral("bench_sms_admin");
    {
        QSqlDatabase db = QSqlDatabase::contains(name) ? QSqlDatabase::database(name, false)
                                                       : QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(qEnvironmentVariable("FITROVA_PG_HOST"));
        db.setPort(qEnvironmentVariableIntValue("FITROVA_PG_PORT"));
        db.setUserName(qEnvironmentVariable("FITROVA_PG_USER"));
        db.setDatabaseName(QStringLiteral("postgres"));
        if (!db.isOpen() && !db.open())
            fail(QStringLiteral("cannot reach the PostgreSQL server: ") + db.lastError().text());
        QSqlQuery q(db);
        if (!q.exec(sql))
            fail(sql + QStringLiteral(": ") + q.lastError().text());
    }
}

// One provider database with its tables, the account, and the month of results.
struct Provider {
    QString label;
    QTemporaryDir dir;
    SmsEndpoint endpoint;
    Db db;
    SmsLogin login{QStringLiteral("centre"), QStringLiteral("바다스포츠"), QStringLiteral("02-555-0101"),
                   QStringLiteral("centre")};
    QList<SmsMessage> messages;

    explicit Provider(Engine engine)
    {
        if (engine == Engine::SQLite) {
            label = QStringLiteral("sqlite");
            endpoint.database = dir.filePath(QStringLiteral("provider.db"));
            QFile f(endpoint.database);
            f.open(QIODevice::WriteOnly);
        } else {
            label = QStringLiteral("postgres");
            adminExec(QStringLiteral("DROP DATABASE IF EXISTS fitrova_bench_sms WITH (FORCE)"));
            adminExec(QStringLiteral("CREATE DATABASE fitrova_bench_sms ENCODING 'UTF8' TEMPLATE template0"));
            endpoint.engine = Engine::PostgreSQL;
            endpoint.database = QStringLiteral("fitrova_bench_sms");
            endpoint.host = qEnvironmentVariable("FITROVA_PG_HOST");
            endpoint.port = qEnvironmentVariableIntValue("FITROVA_PG_PORT");
            endpoint.user = qEnvironmentVariable("FITROVA_PG_USER");
        }
        if (auto why = openSmsEndpoint(endpoint, QStringLiteral("bench_sms_") + label, db))
            fail(*why);
        if (engine == Engine::SQLite) {
            // As the stand-in leaves its file: write-ahead log, normal syncing.
            db.scalar(QStringLiteral("PRAGMA journal_mode = WAL"));
            db.exec(QStringLiteral("PRAGMA synchronous = NORMAL"));
        }
        createSmsProviderTables(db);
        db.exec(QStringLiteral("INSERT INTO tblAccount (Sub_Id, M_PastG) VALUES ('centre', 0)"));
        fillResults();
        for (int i = 0; i < kBulk; ++i)
            messages << SmsMessage{QStringLiteral("010-%1-%2").arg(1000 + i % 9000).arg(1000 + i % 9000),
                                   QStringLiteral("회원%1").arg(i),
                                   QStringLiteral("회원%1님 2024-05-31 만기입니다. 재등록 부탁드립니다. -바다스포츠-").arg(i)};
    }
    ~Provider()
    {
        db = Db();
        closeSmsConnection(QStringLiteral("bench_sms_") + label);
        if (label == QLatin1String("postgres"))
            adminExec(QStringLiteral("DROP DATABASE IF EXISTS fitrova_bench_sms WITH (FORCE)"));
    }

    // 100,000 results of the centre in May 2024; the rest in other months or of other customers.
    void fillResults()
    {
        const QDateTime may(QDate(2024, 5, 1), QTime(0, 0));
        const int total = kMonthResults + kOtherResults;
        db.transaction([&] {
            constexpr int perInsert = 200;
            QString sql = QStringLiteral("INSERT INTO result_zelmar (custom_id, user_tel, custom_nam, msg, custom_tel, "
                                         "result_msg, fee2, i_time, s_time) VALUES ");
            for (int i = 0; i < perInsert; ++i)
                sql += (i ? QStringLiteral(",") : QString()) + QStringLiteral("(?, ?, ?, ?, ?, ?, ?, ?, ?)");
            for (int from = 0; from < total; from += perInsert) {
                Params p;
                for (int i = from; i < from + perInsert; ++i) {
                    const bool ours = i < kMonthResults || i % 3 == 0;
                    // Ours: May spread over the month; the others: April and June, or another customer in May.
                    const QDateTime at = i < kMonthResults ? may.addSecs(qint64(i) * 26)
                                         : ours            ? may.addDays(i % 2 ? -10 : 40).addSecs(i)
                                                           : may.addSecs(qint64(i % kMonthResults) * 26);
                    const QString t = at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
                    p << (ours ? QStringLiteral("centre") : QStringLiteral("other%1").arg(i % 7))
                      << QStringLiteral("02-555-0101") << QStringLiteral("회원%1").arg(i)
                      << QStringLiteral("회원%1님 2024-05-31 만기입니다. 재등록 부탁드립니다.").arg(i)
                      << QStringLiteral("010-%1-%2").arg(1000 + i % 9000).arg(2000 + i % 7000)
                      << (i % 50 ? QStringLiteral("성공") : QStringLiteral("번호오류")) << 1 << t << t;
                }
                db.exec(sql, p);
            }
        });
        if (db.isPostgres())
            db.exec(QStringLiteral("ANALYZE result_zelmar"));
    }

    void resetQueue()
    {
        db.transaction([&] {
            db.exec(QStringLiteral("DELETE FROM send_zelmar"));
            db.exec(QStringLiteral("UPDATE tblAccount SET M_PastG = ? WHERE Sub_Id = 'centre'"), {kBulk});
        });
    }
};

void bulkSend(benchmark::State &state, Provider *p)
{
    const QDateTime now(QDate(2024, 5, 10), QTime(9, 0));
    for (auto _ : state) {
        state.PauseTiming();
        p->resetQueue();
        state.ResumeTiming();
        const SmsSendReport r = sendSmsMessages(p->db, QStringLiteral("zelmar"), p->login, p->messages, {}, now);
        if (r.sent != kBulk)
            state.SkipWithError("not all sent");
    }
    state.counters["rows"] = kBulk;
}

// The same rows and balance through QSqlQuery: one transaction, the balance
// read, multi-row INSERTs of 100 rows, the balance reduced.
void bulkSendBare(benchmark::State &state, Provider *p)
{
    QSqlDatabase h = p->db.handle();
    const bool pg = p->db.isPostgres();
    QString insert = QStringLiteral("INSERT INTO send_zelmar (user_id, sub_id, user_tel, custom_id, custom_nam, "
                                    "custom_tel, msg, typ, y_time) VALUES ");
    for (int i = 0; i < 100; ++i)
        insert += (i ? QStringLiteral(",") : QString()) + QStringLiteral("(?, ?, ?, ?, ?, ?, ?, ?, ?)");
    for (auto _ : state) {
        state.PauseTiming();
        p->resetQueue();
        state.ResumeTiming();
        QSqlQuery q(h);
        q.exec(pg ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE"));
        q.prepare(QStringLiteral("SELECT M_PastG FROM tblAccount WHERE Sub_Id = ?") + p->db.forUpdate());
        q.addBindValue(QStringLiteral("centre"));
        q.exec();
        q.next();
        QSqlQuery ins(h);
        ins.prepare(insert);
        for (int from = 0; from < kBulk; from += 100) {
            int k = 0;
            for (int i = from; i < from + 100; ++i) {
                const SmsMessage &m = p->messages.at(i);
                for (const QString &v : {QStringLiteral("zelmar"), p->login.subId, p->login.customTel, p->login.customId,
                                         m.name, m.tel, m.text, QStringLiteral("1"), QString()})
                    ins.bindValue(k++, v);
            }
            if (!ins.exec())
                state.SkipWithError(qPrintable(ins.lastError().text()));
        }
        QSqlQuery up(h);
        up.prepare(QStringLiteral("UPDATE tblAccount SET M_PastG = M_PastG - ? WHERE Sub_Id = ?"));
        up.addBindValue(kBulk);
        up.addBindValue(QStringLiteral("centre"));
        up.exec();
        q.exec(QStringLiteral("COMMIT"));
    }
    state.counters["rows"] = kBulk;
}

SmsHistoryQuery mayQuery()
{
    SmsHistoryQuery q;
    q.customId = QStringLiteral("centre");
    q.from = QStringLiteral("2024-05-01");
    q.to = QStringLiteral("2024-05-31");
    return q;
}

void historyMonth(benchmark::State &state, Provider *p)
{
    qsizetype rows = 0;
    for (auto _ : state)
        rows = smsHistory(p->db, mayQuery()).size();
    if (rows != kMonthResults)
        state.SkipWithError("wrong number of rows");
    state.counters["rows"] = double(rows);
}

void historyMonthBare(benchmark::State &state, Provider *p)
{
    QSqlDatabase h = p->db.handle();
    qsizetype rows = 0;
    for (auto _ : state) {
        QSqlQuery q(h);
        q.setForwardOnly(true);
        q.prepare(QStringLiteral("SELECT custom_id, user_tel, custom_nam, msg, custom_tel, result_msg, fee2, i_time, s_time "
                                 "FROM result_zelmar WHERE custom_id = ? AND s_time >= ? AND s_time < ? "
                                 "ORDER BY s_time DESC, id DESC"));
        q.addBindValue(QStringLiteral("centre"));
        q.addBindValue(QStringLiteral("2024-05-01"));
        q.addBindValue(QStringLiteral("2024-06-01"));
        q.exec();
        rows = 0;
        while (q.next()) {
            for (int c = 0; c < 9; ++c)
                benchmark::DoNotOptimize(q.value(c));
            ++rows;
        }
    }
    state.counters["rows"] = double(rows);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    std::vector<std::unique_ptr<Provider>> providers;
    providers.push_back(std::make_unique<Provider>(Engine::SQLite));
    if (!qEnvironmentVariable("FITROVA_PG_HOST").isEmpty() && qEnvironmentVariableIntValue("FITROVA_PG_PORT") > 0
        && !qEnvironmentVariable("FITROVA_PG_USER").isEmpty())
        providers.push_back(std::make_unique<Provider>(Engine::PostgreSQL));
    for (const auto &pp : providers) {
        Provider *p = pp.get();
        const std::string l = p->label.toStdString();
        benchmark::RegisterBenchmark(("Sms/BulkSend10000/" + l).c_str(), bulkSend, p)
            ->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();
        benchmark::RegisterBenchmark(("Sms/BulkSend10000BareSql/" + l).c_str(), bulkSendBare, p)
            ->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();
        benchmark::RegisterBenchmark(("Sms/HistoryMonth/" + l).c_str(), historyMonth, p)
            ->Iterations(10)->Unit(benchmark::kMillisecond)->UseRealTime();
        benchmark::RegisterBenchmark(("Sms/HistoryMonthBareSql/" + l).c_str(), historyMonthBare, p)
            ->Iterations(10)->Unit(benchmark::kMillisecond)->UseRealTime();
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
