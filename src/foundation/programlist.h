#pragma once
// The programs (screens) of the main menu that a grade can be given.

#include <QString>
#include <vector>

namespace fitrova {

struct ProgramEntry {
    const char *pgId;     // PgList.PgID
    const char *menu;     // menu item object name
    const char *caption;  // menu caption
    const char *bun;      // PgListM.PgBun: the menu group
    int toolbar;          // toolbar button index, 0 when none
};

struct ProgramGroup {
    const char *bun;
    const char *name;     // PgListM.BunName
};

const std::vector<ProgramEntry> &programEntries();
const std::vector<ProgramGroup> &programGroups();
const ProgramEntry *findProgram(const QString &pgId);

} // namespace fitrova
