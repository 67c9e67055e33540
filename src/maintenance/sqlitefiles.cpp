#include "maintenance/sqlitefiles.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

namespace fitrova::sqlitefiles {

namespace {

constexpr int kBusyTimeoutMs = 15000;

QString sqliteText(sqlite3 *db, int rc)
{
    if (db)
        return QString::fromUtf8(sqlite3_errmsg(db));
    return QString::fromUtf8(sqlite3_errstr(rc));
}

// Runs one online backup from src's schema into dst's main database.
void copyPages(sqlite3 *dst, sqlite3 *src, const QString &srcSchema, const QString &what)
{
    sqlite3_backup *b = sqlite3_backup_init(dst, "main", src, srcSchema.toUtf8().constData());
    if (!b)
        throw FileDbError(QStringLiteral("%1: %2").arg(what, sqliteText(dst, SQLITE_ERROR)));
    int rc = SQLITE_OK;
    // All pages in one step: the copy is of one moment. A busy destination
    // (another connection writing the live file) is waited for a while.
    for (int attempt = 0; attempt < 100; ++attempt) {
        rc = sqlite3_backup_step(b, -1);
        if (rc != SQLITE_BUSY && rc != SQLITE_LOCKED)
            break;
        QThread::msleep(100);
    }
    const int frc = sqlite3_backup_finish(b);
    if (rc != SQLITE_DONE)
        throw FileDbError(QStringLiteral("%1: %2").arg(what, QString::fromUtf8(sqlite3_errstr(rc))));
    if (frc != SQLITE_OK)
        throw FileDbError(QStringLiteral("%1: %2").arg(what, sqliteText(dst, frc)));
}

// True when a lock of another process covers the byte range of the file.
bool lockedByOther(const QString &file, off_t start, off_t len)
{
    const int fd = ::open(QFile::encodeName(file).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct flock fl {};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = start;
    fl.l_len = len;
    const bool held = ::fcntl(fd, F_GETLK, &fl) == 0 && fl.l_type != F_UNLCK;
    ::close(fd);
    return held;
}

} // namespace

Connection::Connection(const QString &path, bool readOnly, bool create) : m_path(path)
{
    int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    if (create && !readOnly)
        flags |= SQLITE_OPEN_CREATE;
    if (!create && !QFileInfo(path).isFile())
        throw FileDbError(QStringLiteral("파일이 없습니다: %1").arg(path));
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const QString why = sqliteText(m_db, rc);
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        throw FileDbError(QStringLiteral("%1: %2").arg(path, why));
    }
    sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
}

Connection::~Connection()
{
    if (m_db)
        sqlite3_close_v2(m_db);
}

QString Connection::lastError() const { return sqliteText(m_db, SQLITE_ERROR); }

void Connection::exec(const QString &sql)
{
    char *err = nullptr;
    const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        const QString why = err ? QString::fromUtf8(err) : sqliteText(m_db, rc);
        sqlite3_free(err);
        throw FileDbError(QStringLiteral("%1: %2").arg(QFileInfo(m_path).fileName(), why));
    }
}

void Connection::attach(const QString &path, const QString &schema)
{
    if (!QFileInfo(path).isFile())
        throw FileDbError(QStringLiteral("파일이 없습니다: %1").arg(path));
    sqlite3_stmt *st = nullptr;
    int rc = sqlite3_prepare_v2(m_db, QStringLiteral("ATTACH DATABASE ? AS %1").arg(schema).toUtf8().constData(), -1, &st,
                                nullptr);
    if (rc == SQLITE_OK) {
        const QByteArray p = path.toUtf8();
        sqlite3_bind_text(st, 1, p.constData(), int(p.size()), SQLITE_TRANSIENT);
        rc = sqlite3_step(st);
    }
    const QString why = rc == SQLITE_DONE ? QString() : sqliteText(m_db, rc);
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE)
        throw FileDbError(QStringLiteral("%1: %2").arg(path, why));
}

QString Connection::text(const QString &sql)
{
    sqlite3_stmt *st = nullptr;
    int rc = sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &st, nullptr);
    if (rc != SQLITE_OK)
        throw FileDbError(QStringLiteral("%1: %2").arg(QFileInfo(m_path).fileName(), sqliteText(m_db, rc)));
    QString out;
    rc = sqlite3_step(st);
    if (rc == SQLITE_ROW) {
        const auto *t = reinterpret_cast<const char *>(sqlite3_column_text(st, 0));
        out = t ? QString::fromUtf8(t) : QString();
    }
    const bool failed = rc != SQLITE_ROW && rc != SQLITE_DONE;
    const QString why = failed ? sqliteText(m_db, rc) : QString();
    sqlite3_finalize(st);
    if (failed)
        throw FileDbError(QStringLiteral("%1: %2").arg(QFileInfo(m_path).fileName(), why));
    return out;
}

void snapshotCopy(const QList<SnapshotFile> &files, const std::function<void(Connection &)> &inSnapshot)
{
    if (files.isEmpty())
        return;
    // Read-write, not read-only: a file in write-ahead-log mode may need its
    // log index rebuilt before it can be read.
    Connection src(files.first().source, false);
    for (int i = 1; i < files.size(); ++i)
        src.attach(files[i].source, files[i].schema);
    // One read transaction over every file: the first read of each schema
    // fixes what the copies will hold.
    src.exec(QStringLiteral("BEGIN"));
    try {
        for (const SnapshotFile &f : files)
            src.text(QStringLiteral("SELECT COUNT(*) FROM %1.sqlite_master").arg(f.schema));
        if (inSnapshot)
            inSnapshot(src);
        for (const SnapshotFile &f : files) {
            QFile::remove(f.target);
            {
                Connection dst(f.target, false, true);
                copyPages(dst.handle(), src.handle(), f.schema, QFileInfo(f.source).fileName());
                // The copy stands alone: no log beside it.
                dst.text(QStringLiteral("PRAGMA journal_mode = DELETE"));
            }
        }
        src.exec(QStringLiteral("COMMIT"));
    } catch (...) {
        sqlite3_exec(src.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

QString integrityProblem(const QString &file)
{
    try {
        Connection c(file, true);
        // Every page, every b-tree and the free list read back; the full
        // integrity check would also compare every index with its table,
        // which a page-exact copy of a sound file cannot get wrong and which
        // takes minutes on a large centre.
        const QString r = c.text(QStringLiteral("PRAGMA quick_check(1)"));
        return r == QLatin1String("ok") ? QString() : r;
    } catch (const FileDbError &e) {
        return e.text();
    }
}

void restoreFile(const QString &copy, const QString &live)
{
    Connection src(copy, true);
    Connection dst(live, false);
    copyPages(dst.handle(), src.handle(), QStringLiteral("main"), QFileInfo(live).fileName());
}

bool usedByOtherProcess(const QString &file)
{
    // SQLite's unix locks: every connection in write-ahead-log mode holds a
    // shared lock on byte 128 of the "-shm" file for as long as it is open;
    // a transaction in rollback-journal mode locks the 512 bytes from 2^30
    // of the database file.
    const QString shm = file + QStringLiteral("-shm");
    if (QFileInfo(shm).isFile() && lockedByOther(shm, 128, 1))
        return true;
    return lockedByOther(file, 0x40000000, 512);
}

} // namespace fitrova::sqlitefiles
