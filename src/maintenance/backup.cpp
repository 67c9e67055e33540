#include "maintenance/backup.h"

#include "data/schema.h"
#include "data/schemamigrate.h"
#include "foundation/connections.h"
#include "maintenance/pgtools.h"
#include "maintenance/sqlitefiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QSet>
#include <QSettings>
#include <QSqlDatabase>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>

namespace fitrova {

const char *const kBackupTitle = "자료백업";
const char *const kRestoreTitle = "자료복원";

namespace {

const QString kInfoName = QStringLiteral("BackupInfo.Txt");
const QString kServerFolder = QStringLiteral("SQLBACKUP");

QString u(const char *s) { return QString::fromUtf8(s); }

// The live database files of the installation; the first three are copied
// together at one moment (a user action may write to all three at once).
struct LiveFile {
    QString schema;
    QString path;
    bool required;
};
QList<LiveFile> linkedFiles(const Paths &p)
{
    return {{QStringLiteral("main"), p.mainDb, true},
            {QStringLiteral("ent"), p.entDb, true},
            {QStringLiteral("pnt"), p.pointDb, true}};
}
QList<LiveFile> standaloneFiles(const Paths &p)
{
    return {{QStringLiteral("main"), p.postDb, false}, {QStringLiteral("main"), p.printDb, false}};
}
QString copyName(const QString &live) { return QStringLiteral("BAK_") + QFileInfo(live).fileName(); }

BackupResult failed(const QString &text, const QString &detail = {})
{
    BackupResult r;
    r.text = text;
    r.title = u(kBackupTitle);
    r.detail = detail;
    return r;
}

RestoreResult restoreRefused(const QString &text, const QString &detail = {})
{
    RestoreResult r;
    r.text = text;
    r.title = u(kRestoreTitle);
    r.detail = detail;
    return r;
}

QString megabytes(qint64 bytes) { return QStringLiteral("%1MB").arg(double(bytes) / (1024.0 * 1024.0), 0, 'f', 1); }

qint64 fileBytes(const QString &path)
{
    QFileInfo db(path), wal(path + QStringLiteral("-wal"));
    return (db.isFile() ? db.size() : 0) + (wal.isFile() ? wal.size() : 0);
}

// The folder must exist and take files; nothing is left of the check.
std::optional<QString> folderProblem(const QString &folder)
{
    if (folder.trimmed().isEmpty())
        return QStringLiteral("데이터 베이스 백업경로가 설정 되어 있지 않습니다.");
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir())
        return QStringLiteral("백업 폴더를 만들 수 없습니다.\n%1").arg(folder);
    QFile probe(QDir(folder).filePath(QStringLiteral(".fitrova-write-check")));
    if (!probe.open(QIODevice::WriteOnly)) {
        return QStringLiteral("백업 폴더에 쓸 수 없습니다.\n%1").arg(folder);
    }
    probe.close();
    probe.remove();
    return std::nullopt;
}

std::optional<QString> spaceProblem(const QString &folder, qint64 needed)
{
    const QStorageInfo storage(folder);
    if (!storage.isValid())
        return std::nullopt;
    // A margin for the information file and the file system's own blocks.
    const qint64 want = needed + needed / 20 + 64 * 1024;
    if (storage.bytesAvailable() >= 0 && storage.bytesAvailable() < want)
        return QStringLiteral("백업 폴더의 남은 공간이 부족합니다.\n필요한 공간: 약 %1, 남은 공간: %2\n%3")
            .arg(megabytes(want), megabytes(storage.bytesAvailable()), folder);
    return std::nullopt;
}

// What a failure of the disk looks like to the desk.
QString copyFailureText(const QString &why)
{
    const QString w = why.toLower();
    if (w.contains(QLatin1String("full")) || w.contains(QLatin1String("no space")))
        return QStringLiteral("백업 폴더의 공간이 부족하여 백업하지 못하였습니다.");
    if (w.contains(QLatin1String("readonly")) || w.contains(QLatin1String("read-only"))
        || w.contains(QLatin1String("unable to open")) || w.contains(QLatin1String("permission")))
        return QStringLiteral("백업 폴더에 쓸 수 없어 백업하지 못하였습니다.");
    return QStringLiteral("데이터를 백업하지 못하였습니다.");
}

BackupCounts countOnFile(sqlitefiles::Connection &c, const QString &mainSchema, const QString &entSchema)
{
    BackupCounts n;
    n.members = c.number(QStringLiteral("SELECT COUNT(*) FROM %1.Member").arg(mainSchema));
    n.enrollments = c.number(QStringLiteral("SELECT COUNT(*) FROM %1.Lecture WHERE LtGubun = '1'").arg(mainSchema));
    n.visits = c.number(QStringLiteral("SELECT COUNT(*) FROM %1.entrance").arg(entSchema));
    n.sales = c.number(QStringLiteral("SELECT COUNT(*) FROM %1.Sale").arg(mainSchema));
    return n;
}

// A name in the folder no backup uses yet: the stamp, then stamp_2, stamp_3 …
QString freeName(const QDir &dir, const QString &stem, const QString &suffix)
{
    QString name = stem + suffix;
    for (int i = 2; dir.exists(name) || dir.exists(name + QStringLiteral(".part")); ++i)
        name = stem + QStringLiteral("_%1").arg(i) + suffix;
    return name;
}

bool writeText(const QString &path, const QString &text)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    f.write(text.toUtf8());
    return f.commit();
}

int storedVersionOnFile(const QString &mainCopy)
{
    try {
        sqlitefiles::Connection c(mainCopy, true);
        return int(c.number(QStringLiteral("SELECT MAX(Version) FROM DbVersion")));
    } catch (const sqlitefiles::FileDbError &) {
        return 0;
    }
}

// --- file databases ------------------------------------------------------------

BackupResult backupFiles(AppContext &ctx, const QString &folder, BackupReason reason, const BackupProgress &progress)
{
    const Paths &p = ctx.paths;
    QList<LiveFile> files = linkedFiles(p);
    for (const LiveFile &f : standaloneFiles(p))
        if (QFileInfo(f.path).isFile())
            files << f;
    qint64 needed = 0;
    for (const LiveFile &f : files) {
        if (f.required && !QFileInfo(f.path).isFile())
            return failed(QStringLiteral("데이터베이스 파일이 없습니다.\n%1").arg(f.path));
        needed += fileBytes(f.path);
    }
    if (auto problem = spaceProblem(folder, needed))
        return failed(*problem);

    const QDateTime when = ctx.clock().now();
    const QDir root(folder);
    const QString name = freeName(root, when.toString(QStringLiteral("yyyyMMdd_HHmmss")), QString());
    // Written under a hidden temporary name; removed with everything in it
    // unless the backup is finished and checked.
    QTemporaryDir work(root.filePath(QStringLiteral(".%1-XXXXXX.part").arg(name)));
    if (!work.isValid())
        return failed(QStringLiteral("백업 폴더에 쓸 수 없어 백업하지 못하였습니다.\n%1").arg(folder), work.errorString());
    const QDir out(work.path());
    const int total = files.size() * 2;
    int done = 0;
    const auto step = [&] { return !progress || progress(++done, total); };

    BackupSet set;
    set.engine = Engine::SQLite;
    set.when = when;
    set.reason = backupReasonText(reason);
    try {
        QList<sqlitefiles::SnapshotFile> linked;
        for (const LiveFile &f : linkedFiles(p))
            linked << sqlitefiles::SnapshotFile{f.schema, f.path, out.filePath(copyName(f.path))};
        sqlitefiles::snapshotCopy(linked, [&](sqlitefiles::Connection &c) {
            set.counts = countOnFile(c, QStringLiteral("main"), QStringLiteral("ent"));
            set.schemaVersion = int(c.number(QStringLiteral("SELECT MAX(Version) FROM main.DbVersion")));
        });
        done += linked.size() - 1;
        if (!step())
            return failed(QStringLiteral("백업을 중단하였습니다."));
        for (const LiveFile &f : files.mid(linked.size())) {
            sqlitefiles::snapshotCopy({{f.schema, f.path, out.filePath(copyName(f.path))}});
            if (!step())
                return failed(QStringLiteral("백업을 중단하였습니다."));
        }
        // Every copy is checked as it lies on the disk now.
        for (const LiveFile &f : files) {
            const QString copy = out.filePath(copyName(f.path));
            const QString problem = sqlitefiles::integrityProblem(copy);
            if (!problem.isEmpty())
                return failed(QStringLiteral("백업한 파일의 검사에서 오류가 발견되었습니다.\n%1").arg(copyName(f.path)),
                              problem);
            set.bytes += QFileInfo(copy).size();
            if (!step())
                return failed(QStringLiteral("백업을 중단하였습니다."));
        }
        sqlitefiles::Connection check(out.filePath(copyName(p.mainDb)), true);
        check.attach(out.filePath(copyName(p.entDb)), QStringLiteral("ent"));
        const BackupCounts copied = countOnFile(check, QStringLiteral("main"), QStringLiteral("ent"));
        if (!(copied == set.counts))
            return failed(QStringLiteral("백업한 자료의 건수가 원본과 다릅니다."));
    } catch (const sqlitefiles::FileDbError &e) {
        return failed(copyFailureText(e.text()) + QStringLiteral("\n") + folder, e.text());
    }

    set.infoFile = out.filePath(kInfoName);
    if (!writeText(set.infoFile, backupInfoText(set)))
        return failed(QStringLiteral("백업 폴더에 쓸 수 없어 백업하지 못하였습니다.\n%1").arg(folder));
    const QString finalPath = root.filePath(name);
    if (!QDir().rename(work.path(), finalPath))
        return failed(QStringLiteral("백업 폴더에 쓸 수 없어 백업하지 못하였습니다.\n%1").arg(finalPath));
    work.setAutoRemove(false);
    set.path = finalPath;
    set.infoFile = QDir(finalPath).filePath(kInfoName);
    BackupResult r;
    r.ok = true;
    r.set = set;
    return r;
}

// --- server database -----------------------------------------------------------

// A connection of its own, closed again when the scope ends.
class OwnConnection {
public:
    OwnConnection(AppContext &ctx, const QString &role) : m_name(ctx.connectionPrefix() + role)
    {
        m_failure = openConnection(ctx, m_db, role, {});
    }
    ~OwnConnection()
    {
        m_db = Db();
        if (QSqlDatabase::contains(m_name)) {
            {
                QSqlDatabase h = QSqlDatabase::database(m_name, false);
                h.close();
            }
            QSqlDatabase::removeDatabase(m_name);
        }
    }
    const Db &db() const { return m_db; }
    const std::optional<Failure> &failure() const { return m_failure; }

private:
    QString m_name;
    Db m_db;
    std::optional<Failure> m_failure;
};

BackupResult backupServer(AppContext &ctx, const QString &folder, BackupReason reason, const BackupProgress &progress)
{
    const QDir dir(QDir(folder).filePath(kServerFolder));
    if (!QDir().mkpath(dir.path()))
        return failed(QStringLiteral("백업 폴더를 만들 수 없습니다.\n%1").arg(dir.path()));
    const QString database = ctx.dbSettings.name;
    const QDateTime when = ctx.clock().now();
    const QString stem = database + QLatin1Char('_') + when.toString(QStringLiteral("yyyyMMddHHmmss"));
    const QString datName = freeName(dir, stem, QStringLiteral(".DAT"));
    const QString dat = dir.filePath(datName);
    const QString info = dat.left(dat.size() - 4) + QStringLiteral(".txt");
    const QString datPart = dat + QStringLiteral(".part"), infoPart = info + QStringLiteral(".part");
    const auto cleanup = [&] {
        QFile::remove(datPart);
        QFile::remove(infoPart);
    };

    BackupSet set;
    set.engine = Engine::PostgreSQL;
    set.when = when;
    set.reason = backupReasonText(reason);
    set.database = database;
    set.schemaVersion = storedSchemaVersion(ctx.main);

    OwnConnection own(ctx, QStringLiteral("backup"));
    if (own.failure())
        return failed(QStringLiteral("데이터베이스에 연결할 수 없어 백업하지 못하였습니다."), own.failure()->detail);
    pgtools::ToolRun dump;
    try {
        // The counts and the archive are of the same moment: the dump reads
        // the snapshot this transaction exports.
        own.db().transaction([&] {
            own.db().exec(QStringLiteral("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ, READ ONLY"));
            const QString snapshot = own.db().scalar(QStringLiteral("SELECT pg_export_snapshot()")).toString();
            set.counts = countData(own.db());
            dump = pgtools::run(ctx.dbSettings, QStringLiteral("pg_dump"),
                                {QStringLiteral("-d"), database, QStringLiteral("-Fc"), QStringLiteral("--snapshot=") + snapshot,
                                 QStringLiteral("-f"), datPart});
        });
    } catch (const DbError &e) {
        cleanup();
        return failed(QStringLiteral("데이터를 백업하지 못하였습니다."), e.message());
    }
    if (!dump.ok) {
        cleanup();
        return failed(copyFailureText(dump.errorText) + QStringLiteral("\n") + dir.path(), dump.errorText);
    }
    if (progress && !progress(1, 2)) {
        cleanup();
        return failed(QStringLiteral("백업을 중단하였습니다."));
    }
    // The archive is read through to its end: every block must come back.
    const pgtools::ToolRun check =
        pgtools::run(ctx.dbSettings, QStringLiteral("pg_restore"), {QStringLiteral("-f"), QStringLiteral("/dev/null"), datPart});
    if (!check.ok) {
        cleanup();
        return failed(QStringLiteral("백업한 파일의 검사에서 오류가 발견되었습니다.\n%1").arg(datName), check.errorText);
    }
    set.bytes = QFileInfo(datPart).size();
    set.path = dat;
    set.infoFile = info;
    if (!writeText(infoPart, backupInfoText(set)) || !QFile::rename(datPart, dat)) {
        cleanup();
        return failed(QStringLiteral("백업 폴더에 쓸 수 없어 백업하지 못하였습니다.\n%1").arg(dir.path()));
    }
    if (!QFile::rename(infoPart, info)) {
        QFile::remove(dat);
        cleanup();
        return failed(QStringLiteral("백업 폴더에 쓸 수 없어 백업하지 못하였습니다.\n%1").arg(dir.path()));
    }
    if (progress)
        progress(2, 2);
    BackupResult r;
    r.ok = true;
    r.set = set;
    return r;
}

// --- sessions ------------------------------------------------------------------

QStringList serverSessions(AppContext &ctx)
{
    QSet<qint64> own;
    for (const Db *db : {&ctx.main, &ctx.main2, &ctx.post, &ctx.print, &ctx.ent, &ctx.point})
        if (db->isValid())
            own.insert(db->scalar(QStringLiteral("SELECT pg_backend_pid()")).toLongLong());
    QStringList out;
    const Rows rows = ctx.main.query(QStringLiteral(
        "SELECT pid, COALESCE(host(client_addr), '') AS addr, to_char(backend_start, 'YYYY-MM-DD HH24:MI') AS since "
        "FROM pg_stat_activity WHERE datname = current_database() AND application_name = 'fitrova'"));
    for (const Row &r : rows) {
        if (own.contains(r.num(QStringLiteral("pid"))))
            continue;
        const QString addr = r.str(QStringLiteral("addr"));
        out << QStringLiteral("%1 (%2 접속)").arg(addr.isEmpty() ? QStringLiteral("서버 컴퓨터") : addr,
                                                 r.str(QStringLiteral("since")));
    }
    return out;
}

QStringList fileSessions(const Paths &p)
{
    QStringList out;
    for (const QString &f : {p.mainDb, p.entDb, p.pointDb, p.postDb})
        if (QFileInfo(f).isFile() && sqlitefiles::usedByOtherProcess(f))
            out << QFileInfo(f).fileName();
    return out;
}

QString sessionsRefusal(const QStringList &sessions)
{
    return QStringLiteral("다른 컴퓨터에서 프로그램을 사용중입니다. 모든 컴퓨터에서 프로그램을 종료한 후 복원하여 주십시요.\n")
        + sessions.join(QStringLiteral(", "));
}

RestoreResult reconnectAfter(AppContext &ctx, RestoreResult r)
{
    if (auto f = connectDatabases(ctx)) {
        r.ok = false;
        r.text = QStringLiteral("복원 후 데이터베이스에 다시 연결하지 못하였습니다. 프로그램을 다시 시작하여 주십시요.");
        r.title = u(kRestoreTitle);
        r.detail = f->detail;
    }
    return r;
}

RestoreResult restoreFiles(AppContext &ctx, const BackupSet &set, const QString &safetyFolder)
{
    const Paths p = ctx.paths;
    const QDir from(set.path);
    QList<QPair<QString, QString>> pairs; // copy → live
    for (const LiveFile &f : linkedFiles(p) + standaloneFiles(p)) {
        const QString copy = from.filePath(copyName(f.path));
        if (!QFileInfo(copy).isFile()) {
            if (f.required)
                return restoreRefused(QStringLiteral("백업에 %1 파일이 없어 복원할 수 없습니다.").arg(copyName(f.path)));
            continue;
        }
        if (!QFileInfo(f.path).isFile())
            continue;
        const QString problem = sqlitefiles::integrityProblem(copy);
        if (!problem.isEmpty())
            return restoreRefused(QStringLiteral("백업 파일이 손상되어 복원할 수 없습니다.\n%1").arg(copyName(f.path)), problem);
        pairs << qMakePair(copy, f.path);
    }
    if (storedVersionOnFile(from.filePath(copyName(p.mainDb))) > schemaVersion())
        return restoreRefused(QStringLiteral("새 버전의 프로그램에서 만든 백업이라 복원할 수 없습니다."));

    // Nothing of this process may hold the files while others are looked for
    // and while the files are replaced.
    ctx.closeConnections();
    const QStringList others = fileSessions(p);
    if (!others.isEmpty())
        return reconnectAfter(ctx, restoreRefused(sessionsRefusal(others)));

    const BackupResult safety = backupInstallation(ctx, safetyFolder, BackupReason::BeforeRestore);
    if (!safety.ok)
        return reconnectAfter(ctx, restoreRefused(QStringLiteral("복원하기 전에 현재 자료를 백업하지 못하여 복원을 중단하였습니다.\n")
                                                      + safety.text,
                                                  safety.detail));
    QStringList replaced;
    try {
        for (const auto &[copy, live] : pairs) {
            sqlitefiles::restoreFile(copy, live);
            replaced << live;
        }
    } catch (const sqlitefiles::FileDbError &e) {
        // Back to the state before: the files already replaced get the safety copy.
        QString still;
        for (const QString &live : replaced) {
            try {
                sqlitefiles::restoreFile(QDir(safety.set.path).filePath(copyName(live)), live);
            } catch (const sqlitefiles::FileDbError &e2) {
                still += QStringLiteral("\n") + e2.text();
            }
        }
        RestoreResult r = restoreRefused(
            still.isEmpty() ? QStringLiteral("복원중 오류가 발생하여 복원 전 상태로 되돌렸습니다.")
                            : QStringLiteral("복원중 오류가 발생하였습니다. 안전백업(%1)으로 다시 복원하여 주십시요.")
                                  .arg(safety.set.path),
            e.text() + still);
        r.safety = safety.set;
        return reconnectAfter(ctx, r);
    }
    RestoreResult r;
    r.ok = true;
    r.safety = safety.set;
    return reconnectAfter(ctx, r);
}

RestoreResult restoreServer(AppContext &ctx, const BackupSet &set, const QString &safetyFolder)
{
    if (set.schemaVersion > schemaVersion())
        return restoreRefused(QStringLiteral("새 버전의 프로그램에서 만든 백업이라 복원할 수 없습니다."));
    const QStringList others = serverSessions(ctx);
    if (!others.isEmpty())
        return restoreRefused(sessionsRefusal(others));
    const pgtools::ToolRun toc = pgtools::run(ctx.dbSettings, QStringLiteral("pg_restore"), {QStringLiteral("-l"), set.path});
    if (!toc.ok)
        return restoreRefused(QStringLiteral("백업 파일이 손상되어 복원할 수 없습니다.\n%1").arg(QFileInfo(set.path).fileName()),
                              toc.errorText);
    QTemporaryDir work;
    if (!work.isValid())
        return restoreRefused(QStringLiteral("작업 폴더를 만들 수 없어 복원하지 못하였습니다."), work.errorString());
    const QString script = work.filePath(QStringLiteral("restore.sql"));
    const pgtools::ToolRun sql = pgtools::run(
        ctx.dbSettings, QStringLiteral("pg_restore"),
        {QStringLiteral("--no-owner"), QStringLiteral("--no-privileges"), QStringLiteral("-f"), script, set.path});
    if (!sql.ok)
        return restoreRefused(QStringLiteral("백업 파일이 손상되어 복원할 수 없습니다.\n%1").arg(QFileInfo(set.path).fileName()),
                              sql.errorText);
    const QString begin = work.filePath(QStringLiteral("begin.sql"));
    const QString end = work.filePath(QStringLiteral("end.sql"));
    if (!writeText(begin, QStringLiteral("DROP SCHEMA public CASCADE;\nCREATE SCHEMA public;\n"))
        || !writeText(end, QStringLiteral("ANALYZE;\n")))
        return restoreRefused(QStringLiteral("작업 폴더에 쓸 수 없어 복원하지 못하였습니다."));

    const BackupResult safety = backupInstallation(ctx, safetyFolder, BackupReason::BeforeRestore);
    if (!safety.ok)
        return restoreRefused(QStringLiteral("복원하기 전에 현재 자료를 백업하지 못하여 복원을 중단하였습니다.\n") + safety.text,
                              safety.detail);
    ctx.closeConnections();
    // One transaction: the old tables go and the backup's come, or nothing changes.
    const pgtools::ToolRun load = pgtools::run(
        ctx.dbSettings, QStringLiteral("psql"),
        {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-1"), QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"),
         QStringLiteral("-d"), ctx.dbSettings.name, QStringLiteral("-f"), begin, QStringLiteral("-f"), script,
         QStringLiteral("-f"), end});
    RestoreResult r;
    r.safety = safety.set;
    if (!load.ok) {
        r = restoreRefused(QStringLiteral("복원중 오류가 발생하여 복원 전 상태로 되돌렸습니다."), load.errorText);
        r.safety = safety.set;
    } else {
        r.ok = true;
    }
    return reconnectAfter(ctx, r);
}

} // namespace

QString backupReasonText(BackupReason reason)
{
    switch (reason) {
    case BackupReason::Manual: return QStringLiteral("수동백업");
    case BackupReason::BeforeRestore: return QStringLiteral("복원전 자동백업");
    case BackupReason::BeforeDeletion: return QStringLiteral("삭제전 자동백업");
    }
    return {};
}

QString backupInfoLine(const QDateTime &when)
{
    return QStringLiteral("작업일자 : ") + when.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral("   ")
        + QStringLiteral(" 작업시간 : ") + when.toString(QStringLiteral("HH:mm:ss"));
}

QString backupInfoText(const BackupSet &set)
{
    QString t;
    QTextStream s(&t);
    s << backupInfoLine(set.when) << '\n';
    s << "구분 : " << set.reason << '\n';
    s << "형식 : " << (set.engine == Engine::PostgreSQL ? "PostgreSQL" : "SQLite") << '\n';
    if (!set.database.isEmpty())
        s << "데이터베이스 : " << set.database << '\n';
    s << "버전 : " << set.schemaVersion << '\n';
    s << "회원 : " << set.counts.members << '\n';
    s << "수강 : " << set.counts.enrollments << '\n';
    s << "입장 : " << set.counts.visits << '\n';
    s << "판매 : " << set.counts.sales << '\n';
    s << "크기 : " << set.bytes << '\n';
    return t;
}

BackupSet readBackupInfo(const QString &infoFile, Engine engine)
{
    BackupSet set;
    QFile f(infoFile);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return set;
    const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    QHash<QString, QString> v;
    for (const QString &line : lines) {
        const int colon = line.indexOf(QStringLiteral(" : "));
        if (colon > 0)
            v.insert(line.left(colon).trimmed(), line.mid(colon + 3).trimmed());
    }
    // The first line holds two fields: "작업일자 : d    작업시간 : t".
    const QString first = lines.value(0);
    const int t = first.indexOf(QStringLiteral("작업시간 : "));
    const QString date = first.mid(first.indexOf(QStringLiteral("작업일자 : ")) + 7, 10);
    const QString time = t >= 0 ? first.mid(t + 7, 8) : QString();
    set.when = QDateTime(QDate::fromString(date, QStringLiteral("yyyy-MM-dd")), QTime::fromString(time, QStringLiteral("HH:mm:ss")));
    const QString kind = v.value(QStringLiteral("형식"), QStringLiteral("SQLite"));
    set.engine = kind == QLatin1String("PostgreSQL") ? Engine::PostgreSQL : Engine::SQLite;
    if (set.engine != engine || !set.when.isValid())
        return BackupSet{};
    set.infoFile = infoFile;
    set.reason = v.value(QStringLiteral("구분"));
    set.database = v.value(QStringLiteral("데이터베이스"));
    set.schemaVersion = v.value(QStringLiteral("버전")).toInt();
    set.counts.members = v.value(QStringLiteral("회원")).toLongLong();
    set.counts.enrollments = v.value(QStringLiteral("수강")).toLongLong();
    set.counts.visits = v.value(QStringLiteral("입장")).toLongLong();
    set.counts.sales = v.value(QStringLiteral("판매")).toLongLong();
    set.bytes = v.value(QStringLiteral("크기")).toLongLong();
    return set;
}

BackupCounts countData(const Db &db)
{
    BackupCounts n;
    const auto row = db.queryOne(QStringLiteral(
        "SELECT (SELECT COUNT(*) FROM Member) AS m, (SELECT COUNT(*) FROM Lecture WHERE LtGubun = '1') AS l, "
        "(SELECT COUNT(*) FROM entrance) AS e, (SELECT COUNT(*) FROM Sale) AS s"));
    if (row) {
        n.members = row->num(QStringLiteral("m"));
        n.enrollments = row->num(QStringLiteral("l"));
        n.visits = row->num(QStringLiteral("e"));
        n.sales = row->num(QStringLiteral("s"));
    }
    return n;
}

BackupResult backupInstallation(AppContext &ctx, const QString &folder, BackupReason reason, const BackupProgress &progress)
{
    if (auto problem = folderProblem(folder))
        return failed(*problem);
    return ctx.engine == Engine::PostgreSQL ? backupServer(ctx, folder, reason, progress)
                                            : backupFiles(ctx, folder, reason, progress);
}

QList<BackupSet> listBackups(const QString &folder, Engine engine)
{
    QList<BackupSet> out;
    if (folder.trimmed().isEmpty())
        return out;
    if (engine == Engine::SQLite) {
        const QDir root(folder);
        for (const QString &sub : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            const QString info = QDir(root.filePath(sub)).filePath(kInfoName);
            BackupSet set = readBackupInfo(info, engine);
            if (!set.when.isValid())
                continue;
            set.path = root.filePath(sub);
            out << set;
        }
    } else {
        const QDir dir(QDir(folder).filePath(kServerFolder));
        for (const QString &name : dir.entryList({QStringLiteral("*.txt")}, QDir::Files)) {
            const QString info = dir.filePath(name);
            const QString dat = info.left(info.size() - 4) + QStringLiteral(".DAT");
            if (!QFileInfo(dat).isFile())
                continue;
            BackupSet set = readBackupInfo(info, engine);
            if (!set.when.isValid())
                continue;
            set.path = dat;
            out << set;
        }
    }
    std::sort(out.begin(), out.end(), [](const BackupSet &a, const BackupSet &b) {
        return a.when != b.when ? a.when > b.when : a.path > b.path;
    });
    return out;
}

bool removeBackup(const BackupSet &set)
{
    if (set.engine == Engine::SQLite)
        return QDir(set.path).removeRecursively();
    const bool dat = QFile::remove(set.path) || !QFileInfo::exists(set.path);
    const bool info = QFile::remove(set.infoFile) || !QFileInfo::exists(set.infoFile);
    return dat && info;
}

RestoreResult restoreInstallation(AppContext &ctx, const BackupSet &set, const QString &safetyFolder)
{
    if (set.engine != ctx.engine)
        return restoreRefused(QStringLiteral("다른 종류의 데이터베이스에서 만든 백업이라 복원할 수 없습니다."));
    return ctx.engine == Engine::PostgreSQL ? restoreServer(ctx, set, safetyFolder) : restoreFiles(ctx, set, safetyFolder);
}

QString savedFileBackupFolder(QSettings &store)
{
    return store.value(QStringLiteral("설정/BACKUP_KVA")).toString();
}

void saveFileBackupFolder(QSettings &store, const QString &folder)
{
    store.setValue(QStringLiteral("설정/BACKUP_KVA"), folder);
    store.sync();
}

QString defaultFileBackupFolder()
{
    return QDir::home().filePath(QStringLiteral("KVA_BACKUP"));
}

QString savedServerBackupFolder(QSettings &store)
{
    const QString v = store.value(QStringLiteral("BACKUP/DIRVE")).toString();
    return v.isEmpty() ? QDir::homePath() : v;
}

void saveServerBackupFolder(QSettings &store, const QString &folder)
{
    store.setValue(QStringLiteral("BACKUP/DIRVE"), folder);
    store.sync();
}

} // namespace fitrova
