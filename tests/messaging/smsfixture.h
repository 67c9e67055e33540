#pragma once
// A provider database for the SMS tests, on the engine of the test run: a
// SQLite file in a temporary folder, or a PostgreSQL database of its own
// (dropped at the end). It holds the provider's tables and one account,
// "centre", whose login the desk is logged in with. With a secondary, the
// results the stand-in writes go to a second database, as at a provider that
// keeps them apart.

#include "data/db.h"
#include "foundation/inifile.h"
#include "foundation/password.h"
#include "messaging/smsconfig.h"
#include "messaging/smsdesk.h"
#include "messaging/smslink.h"
#include "messaging/smsschema.h"
#include "messaging/smsstandin.h"
#include "testinstall.h"

#include <QTemporaryDir>
#include <memory>

namespace fitrova::test {

inline SmsEndpoint newSmsEndpoint(const QTemporaryDir &dir, const QString &name, QString *pgDatabase)
{
    SmsEndpoint e;
    if (testEngine() == Engine::PostgreSQL) {
        *pgDatabase = TestInstall::createServerDatabase();
        e.engine = Engine::PostgreSQL;
        e.database = *pgDatabase;
        e.host = qEnvironmentVariable("FITROVA_PG_HOST", QStringLiteral("127.0.0.1"));
        e.port = qEnvironmentVariable("FITROVA_PG_PORT", QStringLiteral("5432")).toInt();
        e.user = qEnvironmentVariable("FITROVA_PG_USER", QStringLiteral("postgres"));
    } else {
        e.engine = Engine::SQLite;
        e.database = dir.filePath(name);
        QFile f(e.database);
        f.open(QIODevice::WriteOnly);
    }
    return e;
}

// The hash of the test account's password, made once per test program.
inline const QString &centrePasswordHash()
{
    static const QString h = hashPassword(QStringLiteral("pw1234"));
    return h;
}

class SmsProviderFixture {
public:
    // Creates the database(s) and writes their configuration into the installation.
    explicit SmsProviderFixture(TestInstall &inst, bool withSecondary = false)
        : m_inst(inst), m_name(QStringLiteral("fixture%1_").arg(counter()++))
    {
        config.primary = newSmsEndpoint(m_dir, QStringLiteral("primary.db"), &m_pg1);
        if (withSecondary)
            config.secondary = newSmsEndpoint(m_dir, QStringLiteral("secondary.db"), &m_pg2);
        if (auto why = openSmsEndpoint(config.primary, m_name + QStringLiteral("primary"), m_primary))
            qFatal("provider database: %s", qPrintable(*why));
        fast(m_primary);
        createSmsProviderTables(m_primary);
        if (withSecondary) {
            if (auto why = openSmsEndpoint(*config.secondary, m_name + QStringLiteral("secondary"), m_secondary))
                qFatal("provider database: %s", qPrintable(*why));
            fast(m_secondary);
            createSmsProviderTables(m_secondary);
        }
        reset(100);
    }
    ~SmsProviderFixture()
    {
        desk.reset();
        m_primary = Db();
        m_secondary = Db();
        closeSmsConnection(m_name + QStringLiteral("primary"));
        closeSmsConnection(m_name + QStringLiteral("secondary"));
        for (const QString &db : {m_pg1, m_pg2})
            if (!db.isEmpty())
                TestInstall::dropServerDatabase(db);
    }

    // Empties every provider table and adds the account "centre" with the
    // balance; the desk is connected and logged in as it.
    void reset(qint64 balance)
    {
        if (m_secondary.isValid())
            m_secondary.transaction([&] {
                for (const Table &t : smsProviderTables())
                    m_secondary.exec(QStringLiteral("DELETE FROM ") + t.name);
            });
        m_primary.transaction([&] {
            for (const Table &t : smsProviderTables())
                m_primary.exec(QStringLiteral("DELETE FROM ") + t.name);
            m_primary.exec(QStringLiteral("INSERT INTO tblMember (custom_id, custom_pwd, custom_nam, custom_Tel, "
                                          "custom_Hp, loginN, Sub_id) "
                                          "VALUES ('centre', ?, '바다스포츠', '02-555-0101', '', 0, 'centre')"),
                           {centrePasswordHash()});
            m_primary.exec(QStringLiteral("INSERT INTO tblAccount (Sub_Id, M_PastG) VALUES ('centre', ?)"), {balance});
        });
        writeSmsConfig(IniFile(Paths::iniPathFor(m_inst.installDir())), config);
        // The desk's connections are kept from test to test (a test that takes
        // the desk away gets a new one).
        if (!desk || !desk->link.isOpen() || !desk->link.config().primary.sameAs(config.primary)) {
            desk = std::make_unique<SmsDesk>();
            if (auto why = desk->connect(m_inst.ctx()))
                qFatal("desk: %s", qPrintable(*why));
        }
        desk->login = SmsLogin{QStringLiteral("centre"), QStringLiteral("바다스포츠"), QStringLiteral("02-555-0101"),
                               QStringLiteral("centre")};
    }

    const Db &primary() const { return m_primary; }
    // Where the stand-in writes results: the secondary, else the primary.
    const Db &results() const { return m_secondary.isValid() ? m_secondary : m_primary; }
    qint64 count(const QString &table, const Db *db = nullptr) const
    {
        return (db ? *db : m_primary).scalar(QStringLiteral("SELECT COUNT(*) FROM ") + table).toLongLong();
    }
    qint64 balance() const
    {
        return m_primary.scalar(QStringLiteral("SELECT M_PastG FROM tblAccount WHERE Sub_Id = 'centre'")).toLongLong();
    }

    SmsConfig config;
    std::unique_ptr<SmsDesk> desk;

private:
    // A test file needs no durability across power failures.
    static void fast(const Db &db)
    {
        if (db.engine() == Engine::SQLite) {
            db.scalar(QStringLiteral("PRAGMA journal_mode = WAL"));
            db.exec(QStringLiteral("PRAGMA synchronous = OFF"));
        }
    }

    static int &counter()
    {
        static int n = 0;
        return n;
    }

    TestInstall &m_inst;
    QString m_name;
    QTemporaryDir m_dir;
    QString m_pg1, m_pg2;
    Db m_primary, m_secondary;
};

} // namespace fitrova::test
