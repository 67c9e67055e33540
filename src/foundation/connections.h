#pragma once
// Reading the configuration and opening the connections.

#include "foundation/appcontext.h"
#include "foundation/inifile.h"

#include <optional>

namespace fitrova {

// A refusal or failure to show the user: a title and a Korean text, with the
// technical detail for the administrator.
struct Failure {
    QString title, text, detail;
};

// Engine for a configured Type: ACCESS/access are the file databases,
// SQL/sql/MSDE/msde the server database; anything else has none.
std::optional<Engine> engineForType(const QString &type);

// Reads section DATABASE into ctx.dbSettings and derives the paths. When NetWork
// is empty, writes "YES" for the next start (this run keeps it empty).
std::optional<Failure> readConfiguration(AppContext &ctx);

// The text that describes the connection a path would open (no secrets).
QString buildConnectionString(const AppContext &ctx, const QString &path);

// Opens one connection under the given name. SQLite: the file must exist and be
// a database; attach lists schema name → file to attach.
std::optional<Failure> openConnection(AppContext &ctx, Db &target, const QString &role, const QString &path,
                                      const QList<QPair<QString, QString>> &attach = {});

// A further connection to the main database, opened like ctx.main (the same
// files attached on the file databases) under its own role name; for work on
// another thread, which must open, use and close it there.
std::optional<Failure> openWorkerConnection(AppContext &ctx, Db &target, const QString &role);

// The start-up routine: reads the configuration, opens the connections (closing
// any open ones first), checks the schema version and loads the site options.
// Returns the failure to show, or nothing when all is open.
std::optional<Failure> connectDatabases(AppContext &ctx);
// Only the connections, without reading the configuration: opens the
// databases ctx.engine, ctx.dbSettings and ctx.paths name (the installer
// points them at the files it is building).
std::optional<Failure> openDatabases(AppContext &ctx);

// How a database file is journaled: the journal_mode and synchronous pragmas.
// commitsFirst: the main file of a connection with attached files.
struct SqliteJournal {
    QString mode, synchronous;
};
SqliteJournal sqliteJournalFor(const QString &file, bool commitsFirst);

// The cause of a database failure in words for the desk: a read-only data
// folder, a full disk, a damaged file; otherwise the driver's own text.
// `file` is the database file concerned ("" on the server engine).
QString databaseFailureText(const DbError &e, const QString &file);

// True when the folder lies on a network file system (NFS, SMB/CIFS, FUSE).
bool isNetworkFolder(const QString &path);

extern const char *const kConnectTitle;   // "연결오류"
extern const char *const kConnectMessage; // "DataBase에 연결할수 없읍니다.관리자에게 문의 하여주십시요"

} // namespace fitrova
