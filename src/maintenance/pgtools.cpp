#include "maintenance/pgtools.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace fitrova::pgtools {

QString findTool(const QString &name)
{
    const QString onPath = QStandardPaths::findExecutable(name);
    if (!onPath.isEmpty())
        return onPath;
    QDir lib(QStringLiteral("/usr/lib/postgresql"));
    QStringList versions = lib.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCollator numeric;
    numeric.setNumericMode(true);
    std::sort(versions.begin(), versions.end(), [&](const QString &a, const QString &b) { return numeric.compare(a, b) > 0; });
    for (const QString &v : versions) {
        const QString p = lib.filePath(v + QStringLiteral("/bin/") + name);
        if (QFileInfo(p).isExecutable())
            return p;
    }
    return {};
}

ToolRun run(const DbSettings &s, const QString &tool, const QStringList &args, int timeoutMs)
{
    ToolRun r;
    const QString exe = findTool(tool);
    if (exe.isEmpty()) {
        r.errorText = QStringLiteral("%1 프로그램을 찾을 수 없습니다 (postgresql-client 설치 필요).").arg(tool);
        return r;
    }
    QString host = s.source.trimmed();
    QString port = QStringLiteral("5432");
    const int colon = host.lastIndexOf(QLatin1Char(':'));
    if (colon > 0) {
        port = host.mid(colon + 1);
        host.truncate(colon);
    }
    if (host.isEmpty())
        host = QStringLiteral("localhost");

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("PGPASSWORD"));
    if (!s.password.isEmpty())
        env.insert(QStringLiteral("PGPASSWORD"), s.password);
    env.insert(QStringLiteral("PGCONNECT_TIMEOUT"), QStringLiteral("10"));
    env.insert(QStringLiteral("PGAPPNAME"), QStringLiteral("fitrova-backup"));

    QStringList full{QStringLiteral("-h"), host, QStringLiteral("-p"), port, QStringLiteral("-U"), s.user,
                     QStringLiteral("-w")};
    full << args;

    QProcess p;
    p.setProcessEnvironment(env);
    p.start(exe, full);
    if (!p.waitForStarted(10000)) {
        r.errorText = QStringLiteral("%1 을(를) 시작할 수 없습니다: %2").arg(tool, p.errorString());
        return r;
    }
    p.closeWriteChannel();
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(5000);
        r.errorText = QStringLiteral("%1 이(가) 끝나지 않았습니다.").arg(tool);
        return r;
    }
    r.exitCode = p.exitCode();
    r.ok = p.exitStatus() == QProcess::NormalExit && r.exitCode == 0;
    if (!r.ok)
        r.errorText = QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
    return r;
}

} // namespace fitrova::pgtools
