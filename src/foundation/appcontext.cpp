#include "foundation/appcontext.h"

#include <QAtomicInt>
#include <QSqlDatabase>
#include <QSysInfo>

namespace fitrova {

namespace {
QAtomicInt contextCounter;
}

AppContext::AppContext(QString installDir)
    : m_clock(std::make_shared<SystemClock>()),
      m_prefix(QStringLiteral("fitrova%1_").arg(contextCounter.fetchAndAddRelaxed(1)))
{
    paths = Paths::derive(installDir, installDir);
}

AppContext::~AppContext() { closeConnections(); }

void AppContext::closeConnections()
{
    for (Db *db : {&main, &main2, &post, &ent, &print, &point}) {
        const QString name = db->connectionName();
        *db = Db();
        if (!name.isEmpty() && QSqlDatabase::contains(name)) {
            {
                QSqlDatabase h = QSqlDatabase::database(name, false);
                h.close();
            }
            QSqlDatabase::removeDatabase(name);
        }
    }
    connected = false;
}

QString getPcName()
{
    QString name = qEnvironmentVariable("FITROVA_PCNAME");
    if (name.trimmed().isEmpty())
        name = QSysInfo::machineHostName();
    name = name.left(30);
    while (name.endsWith(QLatin1Char(' ')))
        name.chop(1);
    return name;
}

QString mainCaption(const AppContext &ctx)
{
    const QString t = ctx.dbSettings.type;
    const bool files = t == QLatin1String("ACCESS") || t == QLatin1String("access");
    return (files ? QStringLiteral("BrenmoorA ") : QStringLiteral("BrenmoorS ")) + QStringLiteral("Ver ")
        + ctx.dbSettings.version + QLatin1Char(' ') + ctx.business.name + QLatin1Char(' ') + ctx.pcName
        + QLatin1Char('-') + ctx.user.userName;
}

} // namespace fitrova
