// Makes the benchmark centre in the cache (when it is not there yet) and
// prints where it is and how long its generation took.
//
//   fitrova_benchgen [--engine sqlite|postgres|all] [--scale F] [--seed N]

#include "centregen.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

using namespace fitrova;
using namespace fitrova::bench;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral("Generates the cached benchmark centre."));
    p.addHelpOption();
    p.addOption({QStringLiteral("engine"), QStringLiteral("sqlite, postgres or all (default: all available)"),
                 QStringLiteral("engine"), QStringLiteral("all")});
    p.addOption({QStringLiteral("scale"), QStringLiteral("size factor (default FITROVA_BENCH_SCALE or 1)"),
                 QStringLiteral("factor")});
    p.addOption({QStringLiteral("seed"), QStringLiteral("seed (default FITROVA_BENCH_SEED or the built-in one)"),
                 QStringLiteral("n")});
    p.process(app);

    CentreShape shape = CentreShape::fromEnvironment();
    if (p.isSet(QStringLiteral("seed")))
        shape.seed = p.value(QStringLiteral("seed")).toUInt();
    if (p.isSet(QStringLiteral("scale")))
        shape = shape.scaled(p.value(QStringLiteral("scale")).toDouble());

    QList<Engine> engines = BenchCentre::enginesFromEnvironment();
    const QString e = p.value(QStringLiteral("engine"));
    if (e == QLatin1String("sqlite"))
        engines = {Engine::SQLite};
    else if (e == QLatin1String("postgres")) {
        if (!engines.contains(Engine::PostgreSQL)) {
            std::fprintf(stderr, "FITROVA_PG_HOST, FITROVA_PG_PORT and FITROVA_PG_USER must be set\n");
            return 2;
        }
        engines = {Engine::PostgreSQL};
    }
    QTextStream out(stdout);
    try {
        for (Engine engine : engines) {
            const BenchCentre c = BenchCentre::open(engine, shape, [&](const QString &s) {
                out << s << Qt::endl;
            });
            out << c.describe() << Qt::endl;
        }
    } catch (const std::exception &ex) {
        std::fprintf(stderr, "%s\n", ex.what());
        return 1;
    }
    return 0;
}
