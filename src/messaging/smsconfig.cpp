#include "messaging/smsconfig.h"

#include "foundation/inifile.h"

namespace fitrova {

namespace {

const QString S = QString::fromLatin1(kSmsSection);

std::optional<SmsEndpoint> readEndpoint(const IniFile &ini, const QString &prefix, QString *problem)
{
    const QString engineText = ini.value(S, prefix + QStringLiteral("Engine")).trimmed();
    const QString database = ini.value(S, prefix + QStringLiteral("Database")).trimmed();
    if (engineText.isEmpty() && database.isEmpty())
        return std::nullopt;
    const auto engine = smsEngineOf(engineText.isEmpty() ? QStringLiteral("sqlite") : engineText);
    if (!engine) {
        if (problem)
            *problem = QStringLiteral("[SMS] %1Engine=%2 (sqlite 또는 postgres)").arg(prefix, engineText);
        return std::nullopt;
    }
    if (database.isEmpty()) {
        if (problem)
            *problem = QStringLiteral("[SMS] %1Database").arg(prefix);
        return std::nullopt;
    }
    SmsEndpoint e;
    e.engine = *engine;
    e.database = database;
    e.host = ini.value(S, prefix + QStringLiteral("Host")).trimmed();
    bool ok = false;
    const int port = ini.value(S, prefix + QStringLiteral("Port")).trimmed().toInt(&ok);
    if (ok && port > 0)
        e.port = port;
    e.user = ini.value(S, prefix + QStringLiteral("User")).trimmed();
    e.password = ini.value(S, prefix + QStringLiteral("Password"));
    return e;
}

bool writeEndpoint(const IniFile &ini, const QString &prefix, const SmsEndpoint *e)
{
    bool ok = ini.setValue(S, prefix + QStringLiteral("Engine"), e ? smsEngineName(e->engine) : QString());
    ok = ok && ini.setValue(S, prefix + QStringLiteral("Database"), e ? e->database : QString());
    ok = ok && ini.setValue(S, prefix + QStringLiteral("Host"), e ? e->host : QString());
    ok = ok
        && ini.setValue(S, prefix + QStringLiteral("Port"),
                        e && e->engine == Engine::PostgreSQL ? QString::number(e->port) : QString());
    ok = ok && ini.setValue(S, prefix + QStringLiteral("User"), e ? e->user : QString());
    ok = ok && ini.setValue(S, prefix + QStringLiteral("Password"), e ? e->password : QString());
    return ok;
}

} // namespace

QString SmsEndpoint::describe() const
{
    if (engine == Engine::SQLite)
        return QStringLiteral("sqlite:%1").arg(database);
    return QStringLiteral("postgresql://%1@%2:%3/%4")
        .arg(user, host.isEmpty() ? QStringLiteral("localhost") : host, QString::number(port), database);
}

std::optional<Engine> smsEngineOf(const QString &name)
{
    const QString n = name.trimmed().toLower();
    if (n == QLatin1String("sqlite"))
        return Engine::SQLite;
    if (n == QLatin1String("postgres") || n == QLatin1String("postgresql") || n == QLatin1String("pgsql"))
        return Engine::PostgreSQL;
    return std::nullopt;
}

QString smsEngineName(Engine engine)
{
    return engine == Engine::SQLite ? QStringLiteral("sqlite") : QStringLiteral("postgres");
}

SmsConfig readSmsConfig(const IniFile &ini, QString *problem)
{
    SmsConfig c;
    if (const auto p = readEndpoint(ini, QStringLiteral("Primary"), problem))
        c.primary = *p;
    c.secondary = readEndpoint(ini, QStringLiteral("Secondary"), problem);
    if (c.secondary && c.secondary->sameAs(c.primary))
        c.secondary.reset();
    const QString sendAs = ini.value(S, QStringLiteral("SendAs")).trimmed();
    if (!sendAs.isEmpty())
        c.sendAs = sendAs;
    return c;
}

bool writeSmsConfig(const IniFile &ini, const SmsConfig &config)
{
    bool ok = writeEndpoint(ini, QStringLiteral("Primary"), &config.primary);
    ok = ok && writeEndpoint(ini, QStringLiteral("Secondary"), config.secondary ? &*config.secondary : nullptr);
    ok = ok && ini.setValue(S, QStringLiteral("SendAs"), config.sendAs);
    return ok;
}

} // namespace fitrova
