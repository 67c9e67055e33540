#pragma once
// Loading the site options, the workstation, the business identity; the
// default catalogue rows; the schema check; the single-instance guard.

#include "foundation/appcontext.h"
#include "foundation/connections.h"

#include <QLockFile>
#include <memory>

namespace fitrova {

// Reads UserOpt into ctx.options; creates the row with its defaults when the
// table is empty, and copies UserTxt9/UserTxt10 into an empty UserTxt7/UserTxt8.
void loadUserOptions(AppContext &ctx);

// Reads this workstation's Pos row (by ctx.pcName). Without a row the card
// type is "0" and the workstation number 0; other values are kept.
void loadWorkstation(AppContext &ctx);

// Business name and telephone from Place ("" when there is no row).
QString loadBusinessInfo(AppContext &ctx);

// The default course and goods groups and their first small class, created at
// every login when missing.
void ensureDefaultCatalogue(const AppContext &ctx);

// A database without the schema, or of a newer release, is refused; an older
// one is brought up to date.
std::optional<Failure> checkSchemaVersion(AppContext &ctx);

// Refuses a second running copy of the program for the same install folder.
class SingleInstanceGuard {
public:
    explicit SingleInstanceGuard(const QString &installDir);
    // False when another copy holds the lock.
    bool acquire();
private:
    std::unique_ptr<QLockFile> m_lock;
};

// What a second start of the program is told (a warning).
extern const char *const kAlreadyRunningText;  // "현재 실행중입니다."
extern const char *const kAlreadyRunningTitle; // "경고"

} // namespace fitrova
