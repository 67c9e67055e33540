#pragma once
// Where the SMS provider's database is: section [SMS] of Pginfo.Ini names a
// primary connection (messages, accounts, templates, the copied results) and
// optionally a secondary one (the provider's fresh results). Nothing of it is
// compiled into the program; without a primary connection SMS is not in use.
//
//     [SMS]
//     PrimaryEngine=sqlite            ; sqlite (a file) or postgres
//     PrimaryDatabase=/home/desk/Brenmoor/dbs/SmsStandIn.db
//     PrimaryHost=                    ; postgres: host, port, user, password
//     PrimaryPort=
//     PrimaryUser=
//     PrimaryPassword=
//     SecondaryEngine=                ; empty: results are read from the primary
//     SecondaryDatabase=
//     ...
//     SendAs=zelmar                   ; the sender id written into every message

#include "data/schema.h"

#include <QString>
#include <optional>

namespace fitrova {

class IniFile;

struct SmsEndpoint {
    Engine engine = Engine::SQLite;
    QString database; // the file (SQLite) or the database name (PostgreSQL)
    QString host;
    int port = 5432;
    QString user, password;

    bool isSet() const { return !database.isEmpty(); }
    // The same database (the secondary may simply be the primary).
    bool sameAs(const SmsEndpoint &o) const
    {
        return engine == o.engine && database == o.database && host == o.host && port == o.port;
    }
    // For messages and logs: engine and place, no secret.
    QString describe() const;
};

struct SmsConfig {
    SmsEndpoint primary;
    std::optional<SmsEndpoint> secondary; // nullopt: the primary
    QString sendAs = QStringLiteral("zelmar");

    bool inUse() const { return primary.isSet(); }
    const SmsEndpoint &results() const { return secondary ? *secondary : primary; }
};

inline constexpr char kSmsSection[] = "SMS";

// Reads section [SMS]. An unknown engine name leaves the endpoint unset, so
// that SMS stays off rather than reaching somewhere unintended; *problem
// (when given) then says which key is wrong.
SmsConfig readSmsConfig(const IniFile &ini, QString *problem = nullptr);

// Writes section [SMS] (every key, the secondary's empty when there is none).
bool writeSmsConfig(const IniFile &ini, const SmsConfig &config);

// "sqlite" / "postgres"; nullopt for other names (case is ignored;
// "postgresql" and "pgsql" are taken as well).
std::optional<Engine> smsEngineOf(const QString &name);
QString smsEngineName(Engine engine);

} // namespace fitrova
