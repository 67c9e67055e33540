#pragma once
// Backups of the centre's data and their restore.
//
// File databases: every database file of the installation (main, entrance,
// points, postal codes and the workstation's print file) is copied at one
// moment through SQLite's online backup into a dated folder under the chosen
// backup folder:
//
//     {folder}/20240510_090000/BAK_DbMain.db, BAK_DbEnt.db, BAK_DbPoint.db,
//                              BAK_DbPost.db, BAK_db인쇄.db, BackupInfo.Txt
//
// Server database: a pg_dump archive (custom format) of the centre's database,
// taken in the same snapshot as its counts:
//
//     {folder}/SQLBACKUP/{database}_20240510090000.DAT and .txt beside it
//
// The information file starts with "작업일자 : … 작업시간 : …" and lists the
// kind of backup, the schema version and the counts of members, enrollments,
// visits and sale lines. A backup is written under a temporary name, checked
// (every page and b-tree of every copy read back by SQLite's quick integrity
// check and the counts compared; the archive read through to its end) and
// only then given its name: a failed backup leaves nothing behind.
// Older backups stay until the user removes them.

#include "foundation/appcontext.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class QSettings;

namespace fitrova {

struct BackupCounts {
    qint64 members = 0, enrollments = 0, visits = 0, sales = 0;
    bool operator==(const BackupCounts &) const = default;
};

enum class BackupReason { Manual, BeforeRestore, BeforeDeletion };
QString backupReasonText(BackupReason reason); // "수동백업", "복원전 자동백업", "삭제전 자동백업"

struct BackupSet {
    QString path;     // the dated folder (file databases) or the archive (server)
    QString infoFile; // its information file
    Engine engine = Engine::SQLite;
    QDateTime when;
    QString reason;
    int schemaVersion = 0;
    QString database; // server database name
    BackupCounts counts;
    qint64 bytes = 0;
    bool isValid() const { return !path.isEmpty() && when.isValid(); }
};

struct BackupResult {
    bool ok = false;
    BackupSet set;
    QString text, title; // the refusal or failure to show
    QString detail;      // technical detail for the administrator
};

// The first line of the information file.
QString backupInfoLine(const QDateTime &when);
// The information file's text for a set.
QString backupInfoText(const BackupSet &set);
// Reads an information file; an invalid set when it is not one.
BackupSet readBackupInfo(const QString &infoFile, Engine engine);

// The counts shown for a backup, read from the live database.
BackupCounts countData(const Db &db);

// Backs the installation up into the folder (created when missing).
// `progress` (optional) hears of every file copied and checked (done of
// total); returning false stops the backup, which then leaves nothing.
using BackupProgress = std::function<bool(int done, int total)>;
BackupResult backupInstallation(AppContext &ctx, const QString &folder, BackupReason reason = BackupReason::Manual,
                                const BackupProgress &progress = {});

// The backups of the engine in the folder, newest first.
QList<BackupSet> listBackups(const QString &folder, Engine engine);
// Removes one backup from disk.
bool removeBackup(const BackupSet &set);

struct RestoreResult {
    bool ok = false;
    QString text, title, detail;
    BackupSet safety; // the copy of the state before the restore
};

// Puts the backup back. Refused over a session of another workstation that
// can be seen from here (on the server every connection of the program but
// this context's; on the file databases every other process with a database
// file open in write-ahead-log mode or inside a transaction — idle
// workstations over a network folder cannot be seen), for a backup of the
// other engine or of a newer program, and when the backup fails its check.
// First a safety backup of the current state is written into `safetyFolder`;
// when the restore fails part-way, the safety copy is put back. The
// context's connections are opened again afterwards.
RestoreResult restoreInstallation(AppContext &ctx, const BackupSet &set, const QString &safetyFolder);

// --- the folders the backup screens remember --------------------------------

// The file backup's folder (section "설정", key "BACKUP_KVA"); empty when
// none was chosen yet.
QString savedFileBackupFolder(QSettings &store);
void saveFileBackupFolder(QSettings &store, const QString &folder);
// The folder offered before the first choice: KVA_BACKUP in the home folder.
QString defaultFileBackupFolder();
// The server backup's folder (section "BACKUP", key "DIRVE"); the home folder
// when none was chosen yet.
QString savedServerBackupFolder(QSettings &store);
void saveServerBackupFolder(QSettings &store, const QString &folder);

extern const char *const kBackupTitle; // "자료백업"
extern const char *const kRestoreTitle; // "자료복원"

} // namespace fitrova
