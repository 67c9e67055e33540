#pragma once
// Creating and upgrading the schema.

#include "data/db.h"
#include "data/schema.h"

#include <optional>

namespace fitrova {

// Creates the tables of one database file; with no file, every table (the
// server engine keeps them all in one database). One transaction. The main
// file's DbVersion gets its row unless stampVersion is false: the installer
// stamps it last, as the mark of an installation made to its end.
void createTables(const Db &db, std::optional<DbFile> file, bool stampVersion = true);
void stampSchemaVersion(const Db &main);

// Version recorded in DbVersion; 0 when the table is missing or empty.
int storedSchemaVersion(const Db &main);

// Brings a database of an older version up to schemaVersion(), one step at a
// time, each step in its own transaction.
// Upgrades step by step to toVersion (the current version when left out).
void migrateSchema(const Db &main, int fromVersion, int toVersion = 0);

} // namespace fitrova
