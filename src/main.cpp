// Fitrova Lite: the desktop program and its headless commands.

#include "app/appcontext.h"
#include "app/connections.h"
#include "app/installer.h"
#include "app/startup.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFont>
#include <QLabel>
#include <QLocale>
#include <QMainWindow>
#include <QMessageBox>
#include <QTextStream>

#include <cstdio>
#include <termios.h>
#include <unistd.h>

using namespace fitrova;

namespace {

QString prompt(const QString &text, bool secret)
{
    QTextStream out(stdout);
    out << text << Qt::flush;
    termios old {};
    const bool hide = secret && tcgetattr(STDIN_FILENO, &old) == 0;
    if (hide) {
        termios t = old;
        t.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSANOW, &t);
    }
    QTextStream in(stdin);
    const QString line = in.readLine();
    if (hide) {
        tcsetattr(STDIN_FILENO, TCSANOW, &old);
        out << Qt::endl;
    }
    return line;
}

int runInit(const QCommandLineParser &args)
{
    QTextStream err(stderr);
    InstallOptions opt;
    opt.installDir = Paths::defaultInstallDir();
    opt.demo = args.isSet(QStringLiteral("demo"));
    opt.adminId = args.value(QStringLiteral("admin-id"));
    opt.adminPassword = args.value(QStringLiteral("admin-password"));
    if (opt.adminId.isEmpty() || opt.adminPassword.isEmpty()) {
        if (!isatty(STDIN_FILENO)) {
            err << "관리자 ID와 비밀번호를 --admin-id, --admin-password로 지정하여 주십시요 "
                   "(터미널이 없어 물어볼 수 없습니다)."
                << Qt::endl;
            return 2;
        }
        if (opt.adminId.isEmpty())
            opt.adminId = prompt(QStringLiteral("관리자 ID: "), false).trimmed();
        if (opt.adminPassword.isEmpty()) {
            opt.adminPassword = prompt(QStringLiteral("관리자 비밀번호: "), true);
            if (prompt(QStringLiteral("비밀번호 확인: "), true) != opt.adminPassword) {
                err << "비밀번호가 일치하지 않습니다." << Qt::endl;
                return 2;
            }
        }
    }
    QTextStream out(stdout);
    const InstallResult r = runInstall(opt, [&](const QString &s) { out << s << Qt::endl; });
    (r.exitCode == 0 ? out : err) << r.message << Qt::endl;
    return r.exitCode;
}

void setupLookAndFeel()
{
    QLocale::setDefault(QLocale(QLocale::Korean, QLocale::SouthKorea));
    QFont f(QStringLiteral("NanumGothic"));
    f.setPointSize(10);
    QApplication::setFont(f);
}

} // namespace

int main(int argc, char *argv[])
{
    // Headless commands run without a display.
    bool headless = false;
    for (int i = 1; i < argc; ++i)
        if (qstrcmp(argv[i], "--init") == 0)
            headless = true;
    if (headless) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("Fitrova"));
        QCommandLineParser args;
        args.addHelpOption();
        args.addOption({QStringLiteral("init"), QStringLiteral("설치를 만듭니다.")});
        args.addOption({QStringLiteral("demo"), QStringLiteral("체험용 센터 자료를 넣습니다.")});
        args.addOption({QStringLiteral("admin-id"), QStringLiteral("관리자 ID"), QStringLiteral("id")});
        args.addOption({QStringLiteral("admin-password"), QStringLiteral("관리자 비밀번호"), QStringLiteral("password")});
        args.process(app);
        return runInit(args);
    }

    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Fitrova"));
    QCoreApplication::setOrganizationName(QStringLiteral("Fitrova"));
    setupLookAndFeel();

    AppContext ctx;
    if (auto f = connectDatabases(ctx)) {
        QApplication::beep();
        QMessageBox::warning(nullptr, f->title, f->text + QStringLiteral("\n\n") + f->detail);
        return 1;
    }
    SingleInstanceGuard guard(ctx.paths.installDir);
    if (!guard.acquire()) {
        QApplication::beep();
        QMessageBox::information(nullptr, QString::fromUtf8(kAlreadyRunningTitle), QString::fromUtf8(kAlreadyRunningText));
        return 1;
    }
    ctx.pcName = getPcName();
    loadWorkstation(ctx);
    loadBusinessInfo(ctx);

    QMainWindow w;
    w.setObjectName(QStringLiteral("MDImenu1"));
    w.setWindowTitle(mainCaption(ctx));
    auto *label = new QLabel(QStringLiteral("%1\n데이터베이스에 연결되었습니다.").arg(ctx.business.name));
    label->setAlignment(Qt::AlignCenter);
    w.setCentralWidget(label);
    w.resize(1024, 768);
    w.show();
    return app.exec();
}
