// The back office on the large generated centre, on SQLite and (when
// FITROVA_PG_HOST/PORT/USER are set) on PostgreSQL:
//
//  - the backup of the whole centre (online copy of every database file and
//    its integrity check; pg_dump and the read-back of the archive), with its
//    size and the seconds of each phase, beside the bare copy of the same
//    bytes (a plain file copy; pg_dump alone to nowhere);
//  - a month of the staff diary and a month of the cash book, each with its
//    bare twin (the same statement prepared once through QSqlQuery). The
//    centre gets three years of diary entries (about 18 a day) and cash book
//    entries (about 40 a day) for the run; they are removed again after it.
//
//   bench_backoffice [--benchmark_filter=...]   FITROVA_BENCH_SCALE=0.01 for a small centre
//   FITROVA_BENCH_BACKUP=0 leaves the (slow) backup figures out.

#include "benchtiming.h"
#include "centregen.h"

#include "closing/cashbook.h"
#include "maintenance/backup.h"
#include "maintenance/pgtools.h"
#include "schedule/schedule.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QDate>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>

using namespace fitrova;
using namespace fitrova::bench;

namespace {

const QString kMarker = QStringLiteral("BNCH"); // the run's own rows

struct Office {
    BenchCentre centre;
    std::unique_ptr<AppContext> ctx;
    QString label;
    QDate month; // the month measured: the last whole month before today

    explicit Office(Engine engine)
        : centre(BenchCentre::open(engine, CentreShape::fromEnvironment(),
                                   [](const QString &s) { std::fprintf(stderr, "%s\n", qPrintable(s)); }))
    {
        ctx = centre.connect(QTime(10, 0));
        label = engine == Engine::PostgreSQL ? QStringLiteral("postgres") : QStringLiteral("sqlite");
        const QDate today = centre.shape().today;
        month = QDate(today.year(), today.month(), 1).addMonths(-1);
        std::fprintf(stderr, "%s\n", qPrintable(centre.describe()));
    }
    ~Office() { removeOwnRows(); }

    void removeOwnRows() const
    {
        ctx->main.exec(QStringLiteral("DELETE FROM Schedule WHERE ScUserCode = ?"), {kMarker});
        ctx->main.exec(QStringLiteral("DELETE FROM 수입지출 WHERE 적요 = ?"), {kMarker});
        ctx->main.exec(QStringLiteral("DELETE FROM 계정과목 WHERE 과목코드 IN ('198', '298')"));
    }

    // The indexes of the two tables as the program describes them now (a
    // cached centre may have been made with older ones).
    void currentIndexes() const
    {
        for (const char *name : {"Schedule", "수입지출"}) {
            const Table *t = findTable(QString::fromUtf8(name));
            for (int i = 1; i <= int(t->indexes.size()); ++i)
                ctx->main.exec(QStringLiteral("DROP INDEX IF EXISTS ix_%1_%2").arg(t->name).arg(i));
            const QStringList ddl = createTableStatements(*t, centre.engine());
            for (const QString &sql : ddl.mid(1))
                ctx->main.exec(sql);
        }
    }

    // Three years of a busy office's diary and cash book, one transaction.
    void addOwnRows() const
    {
        removeOwnRows();
        currentIndexes();
        const Db &db = ctx->main;
        const QDate today = centre.shape().today;
        const QStringList &slots_ = scheduleTimeSlots();
        db.transaction([&] {
            db.exec(QStringLiteral("INSERT INTO 계정과목 (과목코드, 과목명, 과목구분, 금액구분) VALUES ('198', '벤치수입', '1', '1')"));
            db.exec(QStringLiteral("INSERT INTO 계정과목 (과목코드, 과목명, 과목구분, 금액구분) VALUES ('298', '벤치지출', '2', '2')"));
            int n = 0;
            for (QDate d = today.addYears(-3); d < today; d = d.addDays(1)) {
                const QString day = d.toString(QStringLiteral("yyyy-MM-dd"));
                for (int i = 0; i < 18; ++i, ++n)
                    db.exec(QStringLiteral("INSERT INTO Schedule (ScGubun, ScUserCode, ScDate, ScTime1, ScTime2, ScTit, "
                                           "ScDetail) VALUES (?, ?, ?, ?, '', ?, ?)"),
                            {QString::number(i % 2), kMarker, day, slots_.at(14 + i), QStringLiteral("일정 %1").arg(n),
                             QStringLiteral("세부 내용")});
                for (int i = 0; i < 40; ++i)
                    db.exec(QStringLiteral("INSERT INTO 수입지출 (일자, 년월, 과목구분, 과목코드, 과목명, 금액구분, 적요, 수입, 지출) "
                                           "VALUES (?, ?, ?, ?, '', ?, ?, ?, ?)"),
                            {day, day.left(7), i % 3 ? QStringLiteral("1") : QStringLiteral("2"),
                             i % 3 ? QStringLiteral("198") : QStringLiteral("298"), i % 3 ? QStringLiteral("1") : QStringLiteral("2"),
                             kMarker, i % 3 ? 10000 + i : 0, i % 3 ? 0 : 5000 + i});
            }
        });
        // As the server's autovacuum would leave them after a day's work.
        if (centre.engine() == Engine::PostgreSQL)
            for (const char *t : {"Schedule", "수입지출", "계정과목"})
                db.exec(QStringLiteral("VACUUM ANALYZE %1").arg(QString::fromUtf8(t)));
    }
};

// --- diary and cash book months ---------------------------------------------------

void diaryMonth(benchmark::State &state, Office *o)
{
    timeEach(state, "DiaryMonth/" + o->label.toStdString(), [&](int) {
        const auto entries = monthSchedule(o->ctx->main, QStringLiteral("0"), kMarker, o->month.year(), o->month.month());
        QHash<QString, QList<ScheduleEntry>> byDay;
        for (const ScheduleEntry &e : entries)
            byDay[e.date] << e;
        int lines = 0;
        for (auto it = byDay.cbegin(); it != byDay.cend(); ++it)
            lines += int(scheduleDayLines(it.value(), true).size());
        benchmark::DoNotOptimize(lines);
    });
}

void diaryMonthBare(benchmark::State &state, Office *o)
{
    QSqlQuery q(o->ctx->main.handle());
    q.prepare(QStringLiteral("SELECT ScID, ScGubun, ScUserCode, ScDate, ScTime1, ScTime2, ScTit, ScDetail FROM Schedule "
                             "WHERE ScGubun = ? AND ScDate >= ? AND ScDate <= ? ORDER BY ScDate, ScID"));
    timeEach(state, "DiaryMonth-bare/" + o->label.toStdString(), [&](int) {
        q.addBindValue(QStringLiteral("0"));
        q.addBindValue(o->month.toString(QStringLiteral("yyyy-MM-dd")));
        q.addBindValue(o->month.addDays(o->month.daysInMonth() - 1).toString(QStringLiteral("yyyy-MM-dd")));
        q.exec();
        int n = 0;
        while (q.next())
            n += q.value(6).toString().size();
        benchmark::DoNotOptimize(n);
    });
}

void cashMonth(benchmark::State &state, Office *o)
{
    const QString from = o->month.toString(QStringLiteral("yyyy-MM-dd"));
    const QString to = o->month.addDays(o->month.daysInMonth() - 1).toString(QStringLiteral("yyyy-MM-dd"));
    timeEach(state, "CashBookMonth/" + o->label.toStdString(), [&](int) {
        const CashBook book = readCashBook(o->ctx->main, CashBookFilter{from, to});
        benchmark::DoNotOptimize(book.closingBalance());
    });
}

void cashMonthBare(benchmark::State &state, Office *o)
{
    const QString from = o->month.toString(QStringLiteral("yyyy-MM-dd"));
    const QString to = o->month.addDays(o->month.daysInMonth() - 1).toString(QStringLiteral("yyyy-MM-dd"));
    QSqlQuery before(o->ctx->main.handle()), rows(o->ctx->main.handle());
    before.prepare(QStringLiteral("SELECT CAST(COALESCE(SUM(수입), 0) - COALESCE(SUM(지출), 0) AS BIGINT) FROM 수입지출 WHERE 일자 < ?"));
    rows.prepare(QStringLiteral("SELECT e.일자, e.순번, e.과목구분, e.과목코드, COALESCE(a.과목명, e.과목명) AS 과목명, e.금액구분, "
                                "e.적요, e.수입, e.지출 FROM 수입지출 e LEFT JOIN 계정과목 a ON a.과목코드 = e.과목코드 "
                                "WHERE e.일자 >= ? AND e.일자 <= ? ORDER BY e.일자, e.순번"));
    timeEach(state, "CashBookMonth-bare/" + o->label.toStdString(), [&](int) {
        before.addBindValue(from);
        before.exec();
        qint64 balance = before.next() ? before.value(0).toLongLong() : 0;
        rows.addBindValue(from);
        rows.addBindValue(to);
        rows.exec();
        while (rows.next())
            balance += rows.value(7).toLongLong() - rows.value(8).toLongLong();
        benchmark::DoNotOptimize(balance);
    });
}

// --- backup ---------------------------------------------------------------------------

void backupCentre(benchmark::State &state, Office *o)
{
    std::vector<double> seconds, copySeconds;
    double bytes = 0;
    for (auto _ : state) {
        QTemporaryDir folder(QDir::temp().filePath(QStringLiteral("fitrova-bench-backup-XXXXXX")));
        QElapsedTimer t;
        t.start();
        double copied = 0;
        const BackupResult r = backupInstallation(*o->ctx, folder.path(), BackupReason::Manual, [&](int done, int total) {
            // The copies are made in the first half of the steps, checked in the second.
            if (copied == 0 && done * 2 >= total)
                copied = double(t.nsecsElapsed()) / 1e9;
            return true;
        });
        const double s = double(t.nsecsElapsed()) / 1e9;
        if (!r.ok) {
            state.SkipWithError(qPrintable(r.text + QStringLiteral(" ") + r.detail));
            return;
        }
        state.SetIterationTime(s);
        seconds.push_back(s);
        copySeconds.push_back(copied);
        bytes = double(r.set.bytes);
    }
    state.counters["size_MB"] = bytes / (1024.0 * 1024.0);
    state.counters["seconds"] = percentile(seconds, 50);
    state.counters["copy_s"] = percentile(copySeconds, 50);
    state.counters["check_s"] = percentile(seconds, 50) - percentile(copySeconds, 50);
}

// The bare twin: the same bytes copied as plain files, or pg_dump alone.
void backupBare(benchmark::State &state, Office *o)
{
    std::vector<double> seconds;
    for (auto _ : state) {
        QTemporaryDir folder(QDir::temp().filePath(QStringLiteral("fitrova-bench-bare-XXXXXX")));
        QElapsedTimer t;
        t.start();
        if (o->centre.engine() == Engine::SQLite) {
            const Paths &p = o->ctx->paths;
            for (const QString &f : {p.mainDb, p.entDb, p.pointDb, p.postDb})
                QFile::copy(f, QDir(folder.path()).filePath(QFileInfo(f).fileName()));
        } else {
            const pgtools::ToolRun r = pgtools::run(o->ctx->dbSettings, QStringLiteral("pg_dump"),
                                                    {QStringLiteral("-d"), o->ctx->dbSettings.name, QStringLiteral("-Fc"),
                                                     QStringLiteral("-f"), QDir(folder.path()).filePath("bare.dump")});
            if (!r.ok) {
                state.SkipWithError(qPrintable(r.errorText));
                return;
            }
        }
        const double s = double(t.nsecsElapsed()) / 1e9;
        state.SetIterationTime(s);
        seconds.push_back(s);
    }
    state.counters["seconds"] = percentile(seconds, 50);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    auto offices = fixturesPerEngine<Office>([](Office &o) { o.addOwnRows(); });
    if (!offices)
        return 1;
    const int reps = envInt("FITROVA_BENCH_REPETITIONS", 3);
    const bool backups = qEnvironmentVariable("FITROVA_BENCH_BACKUP") != QLatin1String("0");
    for (const auto &op : *offices) {
        Office *o = op.get();
        const std::string l = o->label.toStdString();
        benchmark::RegisterBenchmark(("Office/DiaryMonth/" + l).c_str(), diaryMonth, o)
            ->UseManualTime()->Iterations(50)->Repetitions(reps)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Office/DiaryMonthBareSql/" + l).c_str(), diaryMonthBare, o)
            ->UseManualTime()->Iterations(50)->Repetitions(reps)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Office/CashBookMonth/" + l).c_str(), cashMonth, o)
            ->UseManualTime()->Iterations(50)->Repetitions(reps)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Office/CashBookMonthBareSql/" + l).c_str(), cashMonthBare, o)
            ->UseManualTime()->Iterations(50)->Repetitions(reps)->Unit(benchmark::kMillisecond);
        if (backups) {
            benchmark::RegisterBenchmark(("Office/Backup/" + l).c_str(), backupCentre, o)
                ->UseManualTime()->Iterations(1)->Repetitions(1)->Unit(benchmark::kSecond);
            benchmark::RegisterBenchmark(("Office/BackupBare/" + l).c_str(), backupBare, o)
                ->UseManualTime()->Iterations(1)->Repetitions(1)->Unit(benchmark::kSecond);
        }
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    offices->clear();
    return 0;
}
