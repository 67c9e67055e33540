#pragma once
// The PostgreSQL client tools (pg_dump, pg_restore, psql) run for the centre's
// database with the connection of the configuration.

#include "foundation/appcontext.h"

#include <QString>
#include <QStringList>

namespace fitrova::pgtools {

struct ToolRun {
    bool ok = false;
    int exitCode = -1;
    QString errorText; // what the tool printed on failure (or why it did not start)
};

// The tool's executable: on the search path, else the newest server
// installation's; "" when none is installed.
QString findTool(const QString &name);

// Runs a tool against the configured server (host, port, user; the database
// name in `args`; the password through the environment). `args` come after
// the connection options. timeoutMs -1 waits as long as the tool runs.
ToolRun run(const DbSettings &s, const QString &tool, const QStringList &args, int timeoutMs = -1);

} // namespace fitrova::pgtools
