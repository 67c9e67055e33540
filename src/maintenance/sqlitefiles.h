#pragma once
// Copies of the file databases taken and put back through SQLite's online
// backup, never by copying files: a file copy of a database in use can catch
// a half-written page or leave its write-ahead log behind.
//
// These work on the files directly with connections of their own, outside
// the program's connections.

#include <QList>
#include <QString>
#include <functional>
#include <stdexcept>

struct sqlite3;

namespace fitrova::sqlitefiles {

// A failure of SQLite or of the file system, with the text to show.
class FileDbError : public std::runtime_error {
public:
    explicit FileDbError(const QString &text) : std::runtime_error(text.toStdString()), m_text(text) {}
    const QString &text() const { return m_text; }
private:
    QString m_text;
};

// One connection of our own to a database file.
class Connection {
public:
    // Opens an existing file (readOnly) or opens/creates one for writing.
    Connection(const QString &path, bool readOnly, bool create = false);
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    sqlite3 *handle() const { return m_db; }
    void exec(const QString &sql);
    // Attaches another database file under the schema name.
    void attach(const QString &path, const QString &schema);
    // First column of the first row as text ("" without a row).
    QString text(const QString &sql);
    qint64 number(const QString &sql) { return text(sql).toLongLong(); }
    QString lastError() const;

private:
    sqlite3 *m_db = nullptr;
    QString m_path;
};

// One file of a consistent copy: the schema it is attached under in the
// snapshot ("main" for the first) and the file it is copied to.
struct SnapshotFile {
    QString schema;
    QString source;
    QString target;
};

// Copies every file at one moment: the first file is opened, the others
// attached to it, one read transaction is held over all of them while
// `inSnapshot` runs (to count rows of that same moment) and each file is
// copied page by page. Other workstations keep working meanwhile (they wait
// only while a copy runs in rollback-journal mode). The copies are left in
// rollback-journal mode, self-contained. Throws FileDbError.
void snapshotCopy(const QList<SnapshotFile> &files, const std::function<void(Connection &)> &inSnapshot = {});

// "" when the file passes SQLite's check of its pages and b-trees (the quick
// integrity check), else what it reported.
QString integrityProblem(const QString &file);

// Writes the copy back into the live file through the online backup: the
// live file is replaced page by page in one write transaction of its own
// (all or nothing for that file), waiting a while for other connections.
void restoreFile(const QString &copy, const QString &live);

// True when another process holds the file open as a database connection
// that can be seen from here: a connection in write-ahead-log mode (every one
// keeps a lock on the shared-memory file) or a transaction in progress. Call it
// only while this process has no connection of its own to the file: asking
// the system about a file's locks may drop the locks this process holds on it.
bool usedByOtherProcess(const QString &file);

} // namespace fitrova::sqlitefiles
