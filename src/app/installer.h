#pragma once
// First start: creates the installation (folders, configuration, databases
// with the schema, program list, administrator) and optionally a demo centre.

#include "data/clock.h"

#include <QString>
#include <functional>
#include <memory>

namespace fitrova {

struct InstallOptions {
    QString installDir;
    QString adminId;
    QString adminPassword;
    QString adminName = QStringLiteral("관리자");
    bool demo = false;
    quint32 demoSeed = 20241;
    // The demo centre is laid out around this clock's today (the system clock when null).
    std::shared_ptr<Clock> clock;
};

struct InstallResult {
    int exitCode = 0;        // 0 done, 2 bad input, 3 already installed, 4 failure
    QString message;
};

InstallResult runInstall(const InstallOptions &opt, const std::function<void(const QString &)> &progress = {});

class AppContext;
// Writes the program list, the administrator grade holding every program and
// the administrator user. Used by the installer and by tests.
void seedSystemRows(const AppContext &ctx, const QString &adminId, const QString &adminPassword,
                    const QString &adminName);

} // namespace fitrova
