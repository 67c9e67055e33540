// fitrova-sms-standin: the SMS provider stand-in.
//
//   fitrova-sms-standin --create [--account ID --password PW --name NAME --tel TEL --balance N]
//       creates the provider's tables and an account with a first deposit
//   fitrova-sms-standin [--interval SECONDS] [--once]
//       the delivery loop: every interval (1 s) the messages whose time has
//       come are delivered; SIGINT or SIGTERM end it after the round at hand
//
// Where: by default section [SMS] of the installation's Pginfo.Ini
// ($BRENMOOR_HOME, else ~/Brenmoor): messages are taken from the primary
// connection and results written to the secondary one (the primary when
// there is none). --ini FILE names another configuration; --sqlite FILE, or
// --postgres DATABASE with --host, --port, --user (password in
// FITROVA_SMS_PASSWORD), name one database directly.

#include "foundation/inifile.h"
#include "foundation/paths.h"
#include "messaging/smsconfig.h"
#include "messaging/smslink.h"
#include "messaging/smsschema.h"
#include "messaging/smsstandin.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QTextStream>
#include <QThread>

#include <csignal>

using namespace fitrova;

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void onSignal(int)
{
    stopRequested = 1;
}

QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}

QTextStream &err()
{
    static QTextStream s(stderr);
    return s;
}

// The queue and the results endpoints the options name.
bool endpointsFrom(const QCommandLineParser &args, SmsEndpoint *queue, SmsEndpoint *results)
{
    if (args.isSet(QStringLiteral("sqlite"))) {
        queue->engine = Engine::SQLite;
        queue->database = QFileInfo(args.value(QStringLiteral("sqlite"))).absoluteFilePath();
        *results = *queue;
        return true;
    }
    if (args.isSet(QStringLiteral("postgres"))) {
        queue->engine = Engine::PostgreSQL;
        queue->database = args.value(QStringLiteral("postgres"));
        queue->host = args.value(QStringLiteral("host"));
        if (args.isSet(QStringLiteral("port")))
            queue->port = args.value(QStringLiteral("port")).toInt();
        queue->user = args.value(QStringLiteral("user"));
        queue->password = qEnvironmentVariable("FITROVA_SMS_PASSWORD");
        *results = *queue;
        return true;
    }
    const QString iniPath = args.isSet(QStringLiteral("ini")) ? args.value(QStringLiteral("ini"))
                                                              : Paths::iniPathFor(Paths::defaultInstallDir());
    const IniFile ini(iniPath);
    if (!ini.exists()) {
        err() << "설정파일이 없습니다: " << iniPath << Qt::endl;
        return false;
    }
    QString problem;
    const SmsConfig c = readSmsConfig(ini, &problem);
    if (!problem.isEmpty() || !c.inUse()) {
        err() << "설정파일의 [SMS] 연결이 올바르지 않습니다: " << (problem.isEmpty() ? iniPath : problem) << Qt::endl;
        return false;
    }
    *queue = c.primary;
    *results = c.results();
    return true;
}

int create(const QCommandLineParser &args, const SmsEndpoint &queue, const SmsEndpoint &results)
{
    StandInAccount a;
    if (args.isSet(QStringLiteral("account")))
        a.id = args.value(QStringLiteral("account"));
    if (args.isSet(QStringLiteral("password")))
        a.password = args.value(QStringLiteral("password"));
    if (args.isSet(QStringLiteral("name")))
        a.name = args.value(QStringLiteral("name"));
    if (args.isSet(QStringLiteral("tel")))
        a.tel = args.value(QStringLiteral("tel"));
    if (args.isSet(QStringLiteral("balance")))
        a.balance = args.value(QStringLiteral("balance")).toLongLong();
    for (const SmsEndpoint *e : {&queue, &results}) {
        if (e->engine == Engine::SQLite && !QFileInfo::exists(e->database)) {
            // A new file: created empty here, the tables follow.
            QFile f(e->database);
            if (!f.open(QIODevice::WriteOnly)) {
                err() << "파일을 만들 수 없습니다: " << e->database << Qt::endl;
                return 4;
            }
        }
    }
    Db db;
    if (auto why = openSmsEndpoint(queue, QStringLiteral("standin_queue"), db)) {
        err() << "연결할 수 없습니다: " << queue.describe() << "\n" << *why << Qt::endl;
        return 4;
    }
    try {
        if (hasSmsProviderTables(db)) {
            err() << "이미 SMS 테이블이 있습니다: " << queue.describe() << Qt::endl;
            return 3;
        }
        createSmsStandIn(db, a, QDate::currentDate());
        if (!results.sameAs(queue)) {
            Db rdb;
            if (auto why = openSmsEndpoint(results, QStringLiteral("standin_results"), rdb)) {
                err() << "연결할 수 없습니다: " << results.describe() << "\n" << *why << Qt::endl;
                return 4;
            }
            if (!hasSmsProviderTables(rdb))
                createSmsProviderTables(rdb);
        }
    } catch (const DbError &e) {
        err() << "SMS 테이블을 만들지 못했습니다: " << e.message() << Qt::endl;
        return 4;
    }
    out() << "SMS 테이블과 사용처(" << a.id << ", 잔여 " << a.balance << "건)를 만들었습니다: " << queue.describe()
          << Qt::endl;
    return 0;
}

int run(const QCommandLineParser &args, const SmsEndpoint &queue, const SmsEndpoint &results)
{
    Db qdb, rdb;
    if (auto why = openSmsEndpoint(queue, QStringLiteral("standin_queue"), qdb)) {
        err() << "연결할 수 없습니다: " << queue.describe() << "\n" << *why << Qt::endl;
        return 4;
    }
    if (results.sameAs(queue)) {
        rdb = qdb;
    } else if (auto why = openSmsEndpoint(results, QStringLiteral("standin_results"), rdb)) {
        err() << "연결할 수 없습니다: " << results.describe() << "\n" << *why << Qt::endl;
        return 4;
    }
    const bool once = args.isSet(QStringLiteral("once"));
    bool ok = false;
    const double seconds = args.value(QStringLiteral("interval")).toDouble(&ok);
    const int intervalMs = ok && seconds > 0 ? int(seconds * 1000) : 1000;

    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    out() << "SMS 대행 발송을 시작합니다: " << queue.describe()
          << (results.sameAs(queue) ? QString() : QStringLiteral(" → ") + results.describe()) << Qt::endl;
    qint64 total = 0;
    while (!stopRequested) {
        try {
            // Rounds follow one another at once while the queue holds due messages.
            DeliveryRound r;
            do {
                r = deliverDueMessages(qdb, rdb, QDateTime::currentDateTime());
                total += r.taken;
                if (r.taken > 0)
                    out() << QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                          << " 발송 " << r.taken << "건 (성공 " << r.succeeded << ", 실패 " << r.failed << ")"
                          << Qt::endl;
            } while (r.taken > 0 && !stopRequested);
        } catch (const DbError &e) {
            // A busy or unreachable database: the next round tries again.
            err() << "발송중 오류: " << e.message() << Qt::endl;
        }
        if (once)
            break;
        for (int waited = 0; waited < intervalMs && !stopRequested; waited += 50)
            QThread::msleep(50);
    }
    out() << "SMS 대행 발송을 마칩니다 (" << total << "건)." << Qt::endl;
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("fitrova-sms-standin"));
    QCommandLineParser args;
    args.setApplicationDescription(QStringLiteral("SMS 대행 발송 (문자 발송 업체의 데이터베이스를 대신합니다)"));
    args.addHelpOption();
    args.addOption({QStringLiteral("create"), QStringLiteral("SMS 테이블과 사용처를 만듭니다.")});
    args.addOption({QStringLiteral("account"), QStringLiteral("사용처 아이디 (demo)"), QStringLiteral("id")});
    args.addOption({QStringLiteral("password"), QStringLiteral("사용처 비밀번호 (demo1234)"), QStringLiteral("password")});
    args.addOption({QStringLiteral("name"), QStringLiteral("사용처명"), QStringLiteral("name")});
    args.addOption({QStringLiteral("tel"), QStringLiteral("회신번호"), QStringLiteral("tel")});
    args.addOption({QStringLiteral("balance"), QStringLiteral("처음 충전건수 (1000)"), QStringLiteral("n")});
    args.addOption({QStringLiteral("interval"), QStringLiteral("발송 간격, 초 (1)"), QStringLiteral("seconds")});
    args.addOption({QStringLiteral("once"), QStringLiteral("한 번만 발송하고 마칩니다.")});
    args.addOption({QStringLiteral("ini"), QStringLiteral("설정파일 (Bin/Pginfo.Ini)"), QStringLiteral("file")});
    args.addOption({QStringLiteral("sqlite"), QStringLiteral("SQLite 파일"), QStringLiteral("file")});
    args.addOption({QStringLiteral("postgres"), QStringLiteral("PostgreSQL 데이터베이스"), QStringLiteral("database")});
    args.addOption({QStringLiteral("host"), QStringLiteral("PostgreSQL 호스트"), QStringLiteral("host")});
    args.addOption({QStringLiteral("port"), QStringLiteral("PostgreSQL 포트"), QStringLiteral("port")});
    args.addOption({QStringLiteral("user"), QStringLiteral("PostgreSQL 사용자"), QStringLiteral("user")});
    args.process(app);

    SmsEndpoint queue, results;
    if (!endpointsFrom(args, &queue, &results))
        return 2;
    if (args.isSet(QStringLiteral("create")))
        return create(args, queue, results);
    return run(args, queue, results);
}
