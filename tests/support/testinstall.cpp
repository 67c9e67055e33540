#include "testinstall.h"

#include "foundation/connections.h"
#include "foundation/inifile.h"
#include "demo/demodata.h"
#include "foundation/installer.h"
#include "foundation/startup.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <stdexcept>

namespace fitrova::test {

const char *const kAdminId = "admin";
const char *const kAdminPassword = "admin1234";

namespace {
QAtomicInt dbCounter;

QString pgHost() { return qEnvironmentVariable("FITROVA_PG_HOST", QStringLiteral("127.0.0.1")); }
QString pgPort() { return qEnvironmentVariable("FITROVA_PG_PORT", QStringLiteral("5432")); }
QString pgUser() { return qEnvironmentVariable("FITROVA_PG_USER", QStringLiteral("postgres")); }

void adminExec(const QString &sql)
{
    const QString name = QStringLiteral("fitrova_test_admin");
    {
        QSqlDatabase db = QSqlDatabase::contains(name) ? QSqlDatabase::database(name, false)
                                                       : QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(pgHost());
        db.setPort(pgPort().toInt());
        db.setUserName(pgUser());
        db.setDatabaseName(QStringLiteral("postgres"));
        if (!db.isOpen() && !db.open())
            throw std::runtime_error(QString("cannot reach the test server: " + db.lastError().text()).toStdString());
        QSqlQuery q(db);
        if (!q.exec(sql))
            throw std::runtime_error(QString(sql + ": " + q.lastError().text()).toStdString());
    }
}
} // namespace

Engine testEngine()
{
    return qEnvironmentVariable("FITROVA_TEST_ENGINE") == QLatin1String("postgres") ? Engine::PostgreSQL
                                                                                    : Engine::SQLite;
}

QString engineName() { return testEngine() == Engine::PostgreSQL ? QStringLiteral("postgres") : QStringLiteral("sqlite"); }

QString TestInstall::createServerDatabase()
{
    const QString name = QStringLiteral("fitrova_t%1_%2").arg(QCoreApplication::applicationPid()).arg(dbCounter.fetchAndAddRelaxed(1));
    adminExec(QStringLiteral("CREATE DATABASE %1 ENCODING 'UTF8' TEMPLATE template0").arg(name));
    return name;
}

void TestInstall::dropServerDatabase(const QString &name)
{
    try {
        adminExec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
    } catch (const std::exception &) {
    }
}

void TestInstall::writeConfig(const QString &installDir, const QString &pgDatabase)
{
    const IniFile ini(Paths::iniPathFor(installDir));
    const QString S = QStringLiteral("DATABASE");
    ini.setValue(S, QStringLiteral("Version"), QStringLiteral("1.0"));
    ini.setValue(S, QStringLiteral("NetWork"), QStringLiteral("NO"));
    ini.setValue(S, QStringLiteral("ServerPath"), installDir);
    if (testEngine() == Engine::PostgreSQL) {
        ini.setValue(S, QStringLiteral("Type"), QStringLiteral("SQL"));
        ini.setValue(S, QStringLiteral("Source"), pgHost() + QLatin1Char(':') + pgPort());
        ini.setValue(S, QStringLiteral("Name"), pgDatabase);
        ini.setValue(S, QStringLiteral("User"), pgUser());
        ini.setValue(S, QStringLiteral("Password"), QString());
    } else {
        ini.setValue(S, QStringLiteral("Type"), QStringLiteral("ACCESS"));
    }
}

TestInstall::TestInstall(bool demo) : m_clock(std::make_shared<FixedClock>())
{
    if (!m_dir.isValid())
        throw std::runtime_error("no temporary folder");
    if (testEngine() == Engine::PostgreSQL)
        m_pgDatabase = createServerDatabase();
    writeConfig(m_dir.path(), m_pgDatabase);
    InstallOptions opt;
    opt.installDir = m_dir.path();
    opt.adminId = QString::fromLatin1(kAdminId);
    opt.adminPassword = QString::fromLatin1(kAdminPassword);
    if (demo)
        opt.content = demoInstallContent();
    opt.clock = m_clock;
    const InstallResult r = runInstall(opt);
    if (r.exitCode != 0)
        throw std::runtime_error(QString("install failed: " + r.message).toStdString());
    m_ctx = std::make_unique<AppContext>(m_dir.path());
    m_ctx->setClock(m_clock);
    if (auto f = connectDatabases(*m_ctx))
        throw std::runtime_error(QString("connect failed: " + f->text + " " + f->detail).toStdString());
    m_ctx->pcName = QStringLiteral("DESK1");
    m_ctx->user = CurrentUser{QString::fromLatin1(kAdminId), QStringLiteral("관리자"), QStringLiteral("0001"),
                              QStringLiteral("1")};
    loadWorkstation(*m_ctx);
    loadBusinessInfo(*m_ctx);
}

std::unique_ptr<AppContext> TestInstall::openWorkstation(const QString &pcName)
{
    auto c = std::make_unique<AppContext>(m_dir.path());
    c->setClock(m_clock);
    if (auto f = connectDatabases(*c))
        throw std::runtime_error(QString("connect failed: " + f->text + " " + f->detail).toStdString());
    c->pcName = pcName;
    c->user = m_ctx->user;
    loadWorkstation(*c);
    return c;
}

TestInstall::~TestInstall()
{
    m_ctx.reset();
    if (!m_pgDatabase.isEmpty())
        dropServerDatabase(m_pgDatabase);
}

} // namespace fitrova::test
