#pragma once
// A fresh installation for one test: a temporary install folder with the
// schema and the system rows, on the engine this test run uses
// (FITROVA_TEST_ENGINE=sqlite|postgres; the server at FITROVA_PG_HOST,
// FITROVA_PG_PORT, FITROVA_PG_USER). Each installation on the server engine
// gets a database of its own, dropped again at the end.

#include "foundation/appcontext.h"
#include "data/clock.h"

#include <QTemporaryDir>
#include <memory>

namespace fitrova::test {

Engine testEngine();
QString engineName();

extern const char *const kAdminId;       // "admin"
extern const char *const kAdminPassword; // "admin1234"

class TestInstall {
public:
    // Creates the installation and connects a context to it, logged in as the administrator.
    explicit TestInstall(bool demo = false);
    ~TestInstall();

    AppContext &ctx() { return *m_ctx; }
    const Db &db() const { return m_ctx->main; }
    FixedClock &clock() { return *m_clock; }
    QString installDir() const { return m_dir.path(); }
    // A second context on the same databases, as another workstation would have.
    std::unique_ptr<AppContext> openWorkstation(const QString &pcName);
    // Writes the DATABASE section this engine needs into an install folder's configuration.
    static void writeConfig(const QString &installDir, const QString &pgDatabase);
    // Creates an empty server database (server engine only); returns its name.
    static QString createServerDatabase();
    static void dropServerDatabase(const QString &name);

private:
    QTemporaryDir m_dir;
    QString m_pgDatabase;
    std::shared_ptr<FixedClock> m_clock;
    std::unique_ptr<AppContext> m_ctx;
};

} // namespace fitrova::test
