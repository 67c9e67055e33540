#pragma once
// The benchmark centre: a large, realistic installation generated once from a
// seed into a cache (a folder of file databases, or a database on the
// PostgreSQL server named in FITROVA_PG_HOST/PORT/USER) and reused by every
// benchmark run after that.
//
//   const BenchCentre c = BenchCentre::open(Engine::SQLite, CentreShape::fromEnvironment());
//   auto ctx = c.connect();          // logged in, clock on c.shape.today 10:00
//
// The centre follows the real schema, so the program's own queries run on it.
// Visits run up to the day before shape.today; today is left empty for the
// gate benchmarks, which write (and remove again) their own visits.

#include "demo/centregenerator.h"
#include "foundation/appcontext.h"
#include "data/clock.h"
#include "data/schema.h"

#include <QDate>
#include <QList>
#include <QPair>
#include <QTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <cstdio>
#include <exception>
#include <memory>
#include <optional>
#include <vector>

namespace fitrova::bench {

// Bumped whenever the generated data changes, so that old caches are not reused.
constexpr int kGeneratorVersion = 5;

struct CentreShape {
    quint32 seed = 20250602;
    int members = 100000;
    int enrollments = 300000;   // Lecture rows, dependent rows included
    qint64 visits = 5000000;
    qint64 saleLines = 1000000;
    int years = 3;              // visits and enrollments reach this far back
    QDate today = QDate(2025, 6, 2); // a Monday

    // The full-size centre, or a smaller one: FITROVA_BENCH_SCALE=0.01 gives
    // a hundredth of every size; FITROVA_BENCH_SEED picks another seed.
    static CentreShape fromEnvironment();
    CentreShape scaled(double factor) const;
    // Names the cache: generator and schema version, seed and sizes.
    QString key() const;
    // The centre generator's scale for this shape: three years of history,
    // the benchmark catalogue, loaded in bulk, today left to the benchmarks.
    demo::CentreScale scale() const;
};

using Progress = std::function<void(const QString &)>;

struct PhaseTime {
    QString phase;
    double seconds = 0;
};

class BenchCentre {
public:
    // Returns the cached centre for this engine, generating it first when the
    // cache has none (or only a half-finished one). Throws std::runtime_error
    // when the centre cannot be made.
    static BenchCentre open(Engine engine, const CentreShape &shape, const Progress &progress = {});

    // The engines to run on: SQLite always, PostgreSQL when FITROVA_PG_HOST,
    // FITROVA_PG_PORT and FITROVA_PG_USER are set.
    static QList<Engine> enginesFromEnvironment();
    // $FITROVA_BENCH_CACHE, else ~/.cache/fitrova-bench.
    static QString cacheRoot();

    // A context connected to the centre, logged in as the desk user, its clock
    // standing at shape.today and the given time.
    std::unique_ptr<AppContext> connect(QTime time = QTime(10, 0)) const;
    std::shared_ptr<FixedClock> clock() const { return m_clock; }

    Engine engine() const { return m_engine; }
    const CentreShape &shape() const { return m_shape; }
    QString installDir() const { return m_installDir; }
    QString serverDatabase() const { return m_pgDatabase; }
    bool generatedNow() const { return m_generatedNow; }
    // The phases of the generation that made this centre (also when it was
    // made by an earlier run: they are kept with the completion mark).
    const QList<PhaseTime> &generationTimes() const { return m_times; }
    QString describe() const;

private:
    // Brings a centre made under an older schema up to the program's own.
    void upgradeSchema(const Progress &say) const;
    Engine m_engine = Engine::SQLite;
    CentreShape m_shape;
    QString m_installDir, m_pgDatabase;
    bool m_generatedNow = false;
    QList<PhaseTime> m_times;
    std::shared_ptr<FixedClock> m_clock;
};

// Card numbers of members whom the gate admits on `day` (a valid period
// enrollment on a lesson day, no postponement), in a fixed shuffled order.
QStringList admittedCards(const Db &db, const QDate &day, int count, quint32 seed = 1);

// The day (before `before`) whose visit count is nearest to `visits`, and its count.
QPair<QDate, int> dayWithVisits(const Db &db, int visits, const QDate &before);

// The centre generator at this shape, for tests and the generator
// executable: fills an installed, connected, empty centre (its connections
// are closed while loading; connect again afterwards).
QList<PhaseTime> generateInto(AppContext &ctx, const CentreShape &shape, const Progress &progress = {});

// One benchmark fixture per engine the environment names, each made from its
// engine and then handed to `prepare`; nullopt, with the reason printed, when
// a centre could not be opened.
template <typename Fixture>
std::optional<std::vector<std::unique_ptr<Fixture>>> fixturesPerEngine(const std::function<void(Fixture &)> &prepare = {})
{
    std::vector<std::unique_ptr<Fixture>> out;
    try {
        for (Engine e : BenchCentre::enginesFromEnvironment()) {
            out.push_back(std::make_unique<Fixture>(e));
            if (prepare)
                prepare(*out.back());
        }
    } catch (const std::exception &ex) {
        std::fprintf(stderr, "%s\n", ex.what());
        return std::nullopt;
    }
    return out;
}

} // namespace fitrova::bench
