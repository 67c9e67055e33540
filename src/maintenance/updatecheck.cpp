#include "maintenance/updatecheck.h"

#include "foundation/inifile.h"

#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

namespace fitrova {

const char *const kUpdaterName = "AutoUpdate";
const char *const kUpdateConfigText = "InitUpdate.ini화일이 없거나 설정이 잘못되었습니다.";
const char *const kUpdateTitle = "업데이트확인";

namespace {

const char *const kTimeFormat = "yyyy-MM-dd hh:mm:ss";

QString slashes(QString p)
{
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return p;
}

QString withoutTrailingSlash(QString p)
{
    while (p.size() > 1 && p.endsWith(QLatin1Char('/')))
        p.chop(1);
    return p;
}

QString tempFolder()
{
    for (const char *var : {"TEMP", "TMPDIR"}) {
        const QString v = qEnvironmentVariable(var);
        if (!v.isEmpty())
            return v;
    }
    return QStringLiteral("/tmp");
}

QString standardFolder(QStandardPaths::StandardLocation loc)
{
    return QStandardPaths::writableLocation(loc);
}

} // namespace

UpdateConfig readUpdateConfig(const QString &initUpdateIni)
{
    const IniFile ini(initUpdateIni);
    UpdateConfig c;
    if (!ini.exists())
        return c;
    const QString S = QStringLiteral("UPDATE");
    c.url = ini.value(S, QStringLiteral("URL")).trimmed();
    c.path = ini.value(S, QStringLiteral("PATH")).trimmed();
    bool ok = false;
    const int port = ini.value(S, QStringLiteral("PORT")).trimmed().toInt(&ok);
    c.port = ok && port > 0 && port < 65536 ? port : 0;
    return c;
}

QList<UpdateEntry> readUpdateList(const QString &updateIni)
{
    QList<UpdateEntry> entries;
    QFile f(updateIni);
    if (!f.open(QIODevice::ReadOnly))
        return entries;
    QString content = QString::fromUtf8(f.readAll());
    content.remove(QChar(0xFEFF));
    content.remove(QChar(0));
    bool inList = false;
    for (QString line : content.split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            inList = line.mid(1, line.size() - 2).trimmed().compare(QLatin1String("UpdateList"), Qt::CaseInsensitive) == 0;
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (!inList || eq <= 0)
            continue;
        const QStringList fields = line.mid(eq + 1).split(QLatin1Char(','));
        if (fields.size() < 5)
            continue;
        UpdateEntry e;
        e.fileName = fields[0].trimmed();
        e.serverLocation = fields[1].trimmed();
        e.targetFolder = fields[2].trimmed();
        bool ok = false;
        e.size = fields[3].trimmed().toLongLong(&ok);
        if (!ok)
            e.size = -1;
        e.modified = fields[4].trimmed();
        if (!e.fileName.isEmpty())
            entries << e;
    }
    return entries;
}

QString expandFolderMacros(const QString &folder, const MacroFolders &folders)
{
    struct Macro {
        const char *name;
        QString value;
    };
    const QString apps = standardFolder(QStandardPaths::ApplicationsLocation);
    const QList<Macro> macros = {
        {"<%APP_PATH%>", folders.appPath},
        {"<%USE_PATH%>", folders.usePath},
        {"<%TEMP%>", tempFolder()},
        {"<%SYSTEM_DRIVE%>", qEnvironmentVariable("SystemDrive")},
        {"<%WINDOWS%>", QStringLiteral("/usr")},
        {"<%SYSTEM%>", QStringLiteral("/usr/lib")},
        {"<%PROGRAM_FILES_COMMON%>", QStringLiteral("/usr/local/share")},
        {"<%PROGRAM_FILES%>", QStringLiteral("/opt")},
        {"<%DESKTOP%>", standardFolder(QStandardPaths::DesktopLocation)},
        {"<%START_MENU%>", apps},
        {"<%START_PROGRAMS%>", apps},
        {"<%START_STARTUP%>", standardFolder(QStandardPaths::GenericConfigLocation) + QStringLiteral("/autostart")},
        {"<%FONTS%>", standardFolder(QStandardPaths::FontsLocation)},
    };
    const QString f = folder.trimmed();
    for (const Macro &m : macros) {
        const QString name = QString::fromLatin1(m.name);
        if (f.startsWith(name, Qt::CaseInsensitive))
            return slashes(withoutTrailingSlash(slashes(m.value)) + f.mid(name.size()));
    }
    return slashes(f);
}

QString localPathOf(const UpdateEntry &entry, const MacroFolders &folders)
{
    QString dir = withoutTrailingSlash(expandFolderMacros(entry.targetFolder, folders));
    if (dir == QLatin1String("/"))
        dir.clear();
    return dir + QLatin1Char('/') + slashes(entry.fileName);
}

bool entryDiffers(const UpdateEntry &entry, const MacroFolders &folders)
{
    const QFileInfo fi(localPathOf(entry, folders));
    if (!fi.isFile())
        return true;
    if (fi.size() != entry.size)
        return true;
    return fi.lastModified().toString(QLatin1String(kTimeFormat)) != entry.modified;
}

bool downloadUpdateList(const UpdateConfig &config, const QString &target, int timeoutMs)
{
    QString host = config.url;
    QUrl url;
    if (host.contains(QLatin1String("://")))
        url = QUrl(host);
    else {
        url.setScheme(QStringLiteral("http"));
        url.setHost(host);
    }
    url.setPort(config.port);
    url.setPath(config.path.startsWith(QLatin1Char('/')) ? slashes(config.path)
                                                          : QLatin1Char('/') + slashes(config.path));
    if (!url.isValid() || url.host().isEmpty())
        return false;

    QNetworkAccessManager nam;
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(timeoutMs);
    QNetworkReply *reply = nam.get(request);
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(timeoutMs);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);

    bool ok = false;
    if (reply->isFinished() && reply->error() == QNetworkReply::NoError
        && reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() == 200) {
        const QByteArray body = reply->readAll();
        QDir().mkpath(QFileInfo(target).absolutePath());
        QSaveFile out(target);
        ok = out.open(QIODevice::WriteOnly) && out.write(body) == body.size() && out.commit();
    } else {
        reply->abort();
    }
    delete reply;
    return ok;
}

UpdateCheckResult runUpdateCheck(const UpdateCheckOptions &options)
{
    UpdateCheckResult r;
    const UpdateConfig config = readUpdateConfig(options.initUpdateIni);
    if (!config.isValid()) {
        r.status = UpdateCheckResult::Status::BadConfig;
        return r;
    }
    r.downloaded = downloadUpdateList(config, options.listFile, options.timeoutMs);
    if (!r.downloaded)
        return r;
    for (const UpdateEntry &e : readUpdateList(options.listFile))
        if (entryDiffers(e, options.folders))
            r.changedFiles << localPathOf(e, options.folders);
    if (!r.changedFiles.isEmpty())
        r.status = UpdateCheckResult::Status::UpdateWaiting;
    return r;
}

UpdateCheckOptions updateCheckOptionsFor(const Paths &paths, const QString &appDir)
{
    UpdateCheckOptions o;
    o.initUpdateIni = paths.updateIni;
    o.listFile = paths.installDir + QStringLiteral("/Bin/update.ini");
    o.folders.appPath = appDir;
    o.folders.usePath = paths.installDir;
    return o;
}

QString updaterPath(const QString &appDir)
{
    return withoutTrailingSlash(appDir) + QLatin1Char('/') + QLatin1String(kUpdaterName);
}

bool startUpdater(const QString &appDir, const QString &listFile, QString *error)
{
    const QString program = updaterPath(appDir);
    const QFileInfo fi(program);
    if (!fi.isFile() || !fi.isExecutable()) {
        if (error)
            *error = QStringLiteral("업데이트 프로그램을 찾을 수 없습니다.\n%1").arg(program);
        return false;
    }
    if (!QProcess::startDetached(program, {listFile}, fi.absolutePath())) {
        if (error)
            *error = QStringLiteral("업데이트 프로그램을 실행할 수 없습니다.\n%1").arg(program);
        return false;
    }
    return true;
}

} // namespace fitrova
