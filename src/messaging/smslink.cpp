#include "messaging/smslink.h"

#include "messaging/smsschema.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>

namespace fitrova {

namespace {
QAtomicInt linkCounter;
}

std::optional<QString> openSmsEndpoint(const SmsEndpoint &e, const QString &name, Db &out)
{
    closeSmsConnection(name);
    if (!e.isSet())
        return QStringLiteral("SMS 연결이 설정되지 않았습니다.");
    if (e.engine == Engine::SQLite) {
        if (!QFileInfo(e.database).isFile())
            return QStringLiteral("SMS 데이터베이스 파일이 없습니다: %1").arg(e.database);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(e.database);
            db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=15000"));
            if (!db.open()) {
                const QString why = db.lastError().text();
                db = QSqlDatabase();
                QSqlDatabase::removeDatabase(name);
                return why;
            }
        }
        out = Db(name, Engine::SQLite);
        try {
            out.scalar(QStringLiteral("PRAGMA schema_version")); // fails on a file that is no database
        } catch (const DbError &err) {
            out = Db();
            closeSmsConnection(name);
            return QStringLiteral("%1: %2").arg(e.database, err.message());
        }
        return std::nullopt;
    }
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(e.host.isEmpty() ? QStringLiteral("localhost") : e.host);
        db.setPort(e.port);
        db.setDatabaseName(e.database);
        db.setUserName(e.user);
        db.setPassword(e.password);
        db.setConnectOptions(QStringLiteral("connect_timeout=5;application_name=fitrova-sms"));
        if (!db.open()) {
            const QString why = db.lastError().text();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            return why;
        }
    }
    out = Db(name, Engine::PostgreSQL);
    try {
        out.exec(QStringLiteral("SET client_min_messages = warning"));
    } catch (const DbError &) {
        // Only the verbosity of notices; the connection works without it.
    }
    return std::nullopt;
}

void closeSmsConnection(const QString &name)
{
    if (!QSqlDatabase::contains(name))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

SmsLink::SmsLink()
    : m_prefix(QStringLiteral("fitrova_sms%1_").arg(linkCounter.fetchAndAddRelaxed(1)))
{
}

SmsLink::~SmsLink()
{
    close();
}

void SmsLink::close()
{
    m_primary = Db();
    m_secondary = Db();
    closeSmsConnection(m_prefix + QStringLiteral("primary"));
    closeSmsConnection(m_prefix + QStringLiteral("secondary"));
    m_open = m_secondaryOpen = false;
}

std::optional<QString> SmsLink::open(const SmsConfig &config)
{
    close();
    m_config = config;
    if (!config.inUse())
        return QStringLiteral("설정파일(Pginfo.Ini)에 [SMS] 연결이 없습니다.");
    if (auto why = openSmsEndpoint(config.primary, m_prefix + QStringLiteral("primary"), m_primary))
        return why;
    if (config.secondary) {
        if (auto why = openSmsEndpoint(*config.secondary, m_prefix + QStringLiteral("secondary"), m_secondary)) {
            close();
            return why;
        }
        m_secondaryOpen = true;
    }
    m_open = true;
    return std::nullopt;
}

bool SmsLink::providerLogin() const
{
    if (!m_open)
        return false;
    try {
        return hasSmsProviderTables(m_primary) && results().tableExists(QStringLiteral("result_zelmar"));
    } catch (const DbError &) {
        return false;
    }
}

} // namespace fitrova
