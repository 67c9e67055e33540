#include "foundation/paths.h"

#include <QDir>

namespace fitrova {

namespace {
QString stripSlash(QString p)
{
    while (p.size() > 1 && (p.endsWith(QLatin1Char('/')) || p.endsWith(QLatin1Char('\\'))))
        p.chop(1);
    return p;
}
} // namespace

QString Paths::defaultInstallDir()
{
    const QString env = qEnvironmentVariable("BRENMOOR_HOME");
    if (!env.trimmed().isEmpty())
        return stripSlash(QDir::cleanPath(env.trimmed()));
    return QDir::homePath() + QStringLiteral("/Brenmoor");
}

QString Paths::iniPathFor(const QString &installDir)
{
    return stripSlash(installDir) + QStringLiteral("/Bin/Pginfo.Ini");
}

Paths Paths::derive(const QString &installDir, const QString &serverPath)
{
    Paths p;
    p.installDir = stripSlash(installDir);
    p.serverPath = stripSlash(serverPath.isEmpty() ? installDir : serverPath);
    p.iniFile = iniPathFor(p.installDir);
    p.mainDb = p.serverPath + QStringLiteral("/Dbs/DbMain.db");
    p.entDb = p.serverPath + QStringLiteral("/Dbs/DbEnt.db");
    p.postDb = p.serverPath + QStringLiteral("/Dbs/DbPost.db");
    p.pointDb = p.serverPath + QStringLiteral("/Dbs/DbPoint.db");
    p.printDb = p.installDir + QStringLiteral("/dbs/db인쇄.db");
    p.memberPicDir = p.serverPath + QStringLiteral("/Pic/Member/");
    p.picMenuDir = p.installDir + QStringLiteral("/PIC/MENU/");
    p.picItemDir = p.installDir + QStringLiteral("/PIC/ITEM/");
    p.excelDir = p.installDir + QStringLiteral("/EXCEL/");
    p.localDbDir = p.installDir + QStringLiteral("/dbs/");
    p.loginPicture = p.picMenuDir + QStringLiteral("Login.JPG");
    p.mainBackground = p.picMenuDir + QStringLiteral("main.jpg");
    p.inOkWav = p.installDir + QStringLiteral("/Bin/InOk.Wav");
    p.errorWav = p.installDir + QStringLiteral("/Bin/Error.Wav");
    p.updateIni = p.installDir + QStringLiteral("/InitUpdate.ini");
    return p;
}

} // namespace fitrova
