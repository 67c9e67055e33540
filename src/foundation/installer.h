#pragma once
// First start: creates the installation (folders, configuration, databases
// with the schema, program list, administrator) and optionally fills it with
// content of a caller's (the demo centre: see demo/demodata.h).

#include "data/clock.h"

#include <QString>
#include <functional>
#include <memory>

namespace fitrova {

class AppContext;

struct InstallOptions {
    QString installDir;
    QString adminId;
    QString adminPassword;
    QString adminName = QStringLiteral("관리자");
    // Fills the new installation after the system rows (nothing when empty);
    // it runs with the installation's clock.
    std::function<void(const AppContext &)> content;
    // Content is laid out around this clock's today (the system clock when null).
    std::shared_ptr<Clock> clock;
};

struct InstallResult {
    int exitCode = 0;        // 0 done, 2 bad input, 3 already installed, 4 failure
    QString message;
};

InstallResult runInstall(const InstallOptions &opt, const std::function<void(const QString &)> &progress = {});

// Writes the program list, the administrator grade holding every program and
// the administrator user. Used by the installer and by tests.
void seedSystemRows(const AppContext &ctx, const QString &adminId, const QString &adminPassword,
                    const QString &adminName);

} // namespace fitrova
