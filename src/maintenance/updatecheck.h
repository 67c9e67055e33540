#pragma once
// The update check at start-up: the list of current program files is fetched
// from the update server and compared with the files on disk; when anything
// differs, the external updater takes over and the program ends.
//
// InitUpdate.ini (install folder), section UPDATE:
//     URL=updates.example.com        host (a scheme such as http:// may be given)
//     PORT=80                        a value that is not a number counts as 0
//     PATH=/fitrova/update.ini       path of the list on the server
//
// The downloaded list is kept as Bin/update.ini under the install folder (the
// executable's own folder is usually not writable on this platform) and the
// updater is started with that file as its argument. Its section UpdateList
// holds one entry per file, under any key, fields separated by commas:
//
//     [UpdateList]
//     File1=fitrova,/fitrova/bin/fitrova,<%APP_PATH%>,1234567,2024-05-01 10:20:30
//
//     file name, location on the server, target folder (may start with a
//     folder macro), size in bytes, modification time "yyyy-MM-dd hh:mm:ss"
//     (local time). File names and folders cannot hold commas.
//
// Folder macros and what they stand for here:
//     <%APP_PATH%>             the executable's folder
//     <%USE_PATH%>             the install folder
//     <%TEMP%>                 the temporary folder ($TEMP, $TMPDIR or /tmp)
//     <%SYSTEM_DRIVE%>         $SystemDrive, else empty (the root: "<%SYSTEM_DRIVE%>/opt" is "/opt")
//     <%WINDOWS%>              /usr
//     <%SYSTEM%>               /usr/lib
//     <%PROGRAM_FILES%>        /opt
//     <%PROGRAM_FILES_COMMON%> /usr/local/share
//     <%DESKTOP%>              the user's desktop folder
//     <%START_MENU%>, <%START_PROGRAMS%>  the user's applications folder (menu entries)
//     <%START_STARTUP%>        the user's autostart folder
//     <%FONTS%>                the user's fonts folder
// Backslashes in a folder are taken as slashes.

#include "foundation/paths.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace fitrova {

struct UpdateConfig {
    QString url, path;
    int port = 0;
    bool isValid() const { return !url.isEmpty() && port != 0 && !path.isEmpty(); }
};

// Reads section UPDATE; a missing file gives an invalid configuration.
UpdateConfig readUpdateConfig(const QString &initUpdateIni);

struct UpdateEntry {
    QString fileName, serverLocation, targetFolder;
    qint64 size = -1;
    QString modified; // "yyyy-MM-dd hh:mm:ss"
};

// The entries of section UpdateList of a downloaded list, in file order.
// Entries with fewer than five fields are skipped.
QList<UpdateEntry> readUpdateList(const QString &updateIni);

struct MacroFolders {
    QString appPath;  // <%APP_PATH%>
    QString usePath;  // <%USE_PATH%>
};

// Replaces a leading folder macro (any letter case) and turns backslashes
// into slashes. A folder without a macro is returned with slashes only.
QString expandFolderMacros(const QString &folder, const MacroFolders &folders);

// The local file an entry describes.
QString localPathOf(const UpdateEntry &entry, const MacroFolders &folders);

// True when the local file is missing or its size or modification time
// differs from the entry.
bool entryDiffers(const UpdateEntry &entry, const MacroFolders &folders);

// Fetches http://URL:PORT/PATH into the target file. Blocks with a local
// event loop (the interface stays responsive) for at most timeoutMs.
// False on any network or file error; the target is then left as it was.
bool downloadUpdateList(const UpdateConfig &config, const QString &target, int timeoutMs = 8000);

struct UpdateCheckOptions {
    QString initUpdateIni;   // InitUpdate.ini
    QString listFile;        // where the downloaded list is kept (update.ini)
    MacroFolders folders;
    int timeoutMs = 8000;
};

struct UpdateCheckResult {
    enum class Status { NoUpdate, UpdateWaiting, BadConfig };
    Status status = Status::NoUpdate;
    QStringList changedFiles; // local paths of the entries that differ
    bool downloaded = false;
};

// The whole check: configuration, download, comparison. Network and file
// errors end it as NoUpdate; only a missing or incomplete configuration is
// BadConfig (the caller shows kUpdateConfigText).
UpdateCheckResult runUpdateCheck(const UpdateCheckOptions &options);

// Options for this installation: InitUpdate.ini and Bin/update.ini under the
// install folder, the executable's folder as <%APP_PATH%>.
UpdateCheckOptions updateCheckOptionsFor(const Paths &paths, const QString &appDir);

// The updater program in the executable's folder.
QString updaterPath(const QString &appDir);
extern const char *const kUpdaterName; // "AutoUpdate"

// Starts the updater (detached) with the list file as its argument. False
// with *error set when the program is missing or cannot be started.
bool startUpdater(const QString &appDir, const QString &listFile, QString *error);

extern const char *const kUpdateConfigText; // "InitUpdate.ini화일이 없거나 설정이 잘못되었습니다."
extern const char *const kUpdateTitle;      // "업데이트확인"

} // namespace fitrova
