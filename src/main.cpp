// Fitrova Lite: the desktop program and its headless commands.

#include "foundation/appcontext.h"
#include "foundation/connections.h"
#include "foundation/fileaccess.h"
#include "demo/demodata.h"
#include "foundation/installer.h"
#include "foundation/startup.h"
#include "shell/users.h"
#include "shell/ui/logindialog.h"
#include "shell/ui/lookandfeel.h"
#include "shell/ui/mainframe.h"
#include "widgets/screenregistry.h"
#include "shell/ui/allscreens.h"
#include "maintenance/backup.h"
#include "maintenance/ui/maintenancescreens.h"
#include "maintenance/updatecheck.h"
#include "messaging/smsstandin.h"
#include "messaging/ui/smsaccountscreen.h"
#include "settings/settings.h"
#include "settings/ui/workstationscreen.h"
#include "widgets/messages.h"
#include "widgets/widgetutil.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTextStream>
#include <QTranslator>

#include <cstdio>
#include <optional>
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

// The first line of a file, or of standard input for "-"; nullopt when it
// cannot be read.
std::optional<QString> firstLineOf(const QString &path)
{
    if (path == QLatin1String("-"))
        return QTextStream(stdin).readLine();
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    return QString::fromUtf8(f.readLine()).remove(QLatin1Char('\n')).remove(QLatin1Char('\r'));
}

int runInit(const QCommandLineParser &args)
{
    QTextStream err(stderr);
    if (args.isSet(QStringLiteral("admin-password"))) {
        err << "비밀번호를 명령줄에 쓰면 실행되는 동안 다른 사용자에게 보입니다. "
               "--admin-password-file FILE (표준입력은 -)을 쓰거나 터미널에서 입력하여 주십시요."
            << Qt::endl;
        return 2;
    }
    InstallOptions opt;
    opt.installDir = Paths::defaultInstallDir();
    // The configuration written beforehand (a server installation) may share
    // the data folder with the group.
    applyFileCreationMask(fileAccessFromSetting(
        IniFile(Paths::iniPathFor(opt.installDir)).value(QStringLiteral("DATABASE"), QStringLiteral("GroupAccess"))));
    if (args.isSet(QStringLiteral("demo"))) {
        // The demo centre, and an SMS provider stand-in that the demo sends to.
        opt.content = [demo = demoInstallContent()](const AppContext &c) {
            demo(c);
            setUpDemoSmsStandIn(c);
        };
    }
    opt.adminId = args.value(QStringLiteral("admin-id")).trimmed();
    const bool terminal = isatty(STDIN_FILENO);
    if (opt.adminId.isEmpty()) {
        if (!terminal) {
            err << "관리자 ID를 --admin-id로 지정하여 주십시요 (터미널이 없어 물어볼 수 없습니다)." << Qt::endl;
            return 2;
        }
        opt.adminId = prompt(QStringLiteral("관리자 ID: "), false).trimmed();
    }
    if (args.isSet(QStringLiteral("admin-password-file"))) {
        const QString file = args.value(QStringLiteral("admin-password-file"));
        const auto line = firstLineOf(file);
        if (!line) {
            err << "비밀번호 파일을 읽을 수 없습니다: " << file << Qt::endl;
            return 2;
        }
        opt.adminPassword = *line;
    } else if (terminal) {
        opt.adminPassword = prompt(QStringLiteral("관리자 비밀번호: "), true);
        if (prompt(QStringLiteral("비밀번호 확인: "), true) != opt.adminPassword) {
            err << "비밀번호가 일치하지 않습니다." << Qt::endl;
            return 2;
        }
    } else {
        opt.adminPassword = QTextStream(stdin).readLine(); // one line from a pipe
    }
    QTextStream out(stdout);
    const InstallResult r = runInstall(opt, [&](const QString &s) { out << s << Qt::endl; });
    (r.exitCode == 0 ? out : err) << r.message << Qt::endl;
    return r.exitCode;
}

// Stores the network-settings password of the workstation settings screen:
// read from the terminal (twice), or one line from standard input.
int runSettingsPassword()
{
    QTextStream err(stderr);
    const IniFile ini(Paths::iniPathFor(Paths::defaultInstallDir()));
    if (!ini.exists()) {
        err << "설정파일이 없습니다: " << ini.path() << Qt::endl;
        return 2;
    }
    QString secret;
    if (isatty(STDIN_FILENO)) {
        secret = prompt(QStringLiteral("네트웍 설정비밀번호 (비우면 사용안함): "), true);
        if (prompt(QStringLiteral("비밀번호 확인: "), true) != secret) {
            err << "비밀번호가 일치하지 않습니다." << Qt::endl;
            return 2;
        }
    } else {
        secret = QTextStream(stdin).readLine();
    }
    if (!setSettingsPassword(ini, secret)) {
        err << "설정파일에 쓸 수 없습니다: " << ini.path() << Qt::endl;
        return 4;
    }
    QTextStream(stdout) << (secret.isEmpty() ? "네트웍 설정비밀번호를 지웠습니다." : "네트웍 설정비밀번호를 저장하였습니다.")
                        << Qt::endl;
    return 0;
}

// Stores one of the maintenance logins of the login dialog (settings, data
// deletion, SMS usage): ID and password from the terminal, or two lines from
// standard input. An empty password disables that login.
int runMaintenanceLogin(const QString &kind)
{
    QTextStream err(stderr);
    MaintenanceTarget target = MaintenanceTarget::None;
    QString form;
    if (kind == QLatin1String("settings")) {
        target = MaintenanceTarget::Settings;
        form = QStringLiteral("ID 영문 6자, 비밀번호 12자");
    } else if (kind == QLatin1String("delete")) {
        target = MaintenanceTarget::DataDeletion;
        form = QStringLiteral("ID 영문 6자, 비밀번호 6자");
    } else if (kind == QLatin1String("sms")) {
        target = MaintenanceTarget::SmsUsage;
        form = QStringLiteral("ID 숫자 1자, 비밀번호 숫자 1자");
    } else {
        err << "--maintenance-login 에는 settings, delete, sms 중 하나를 지정하여 주십시요." << Qt::endl;
        return 2;
    }
    const IniFile ini(Paths::iniPathFor(Paths::defaultInstallDir()));
    if (!ini.exists()) {
        err << "설정파일이 없습니다: " << ini.path() << Qt::endl;
        return 2;
    }
    QString id, secret;
    if (isatty(STDIN_FILENO)) {
        id = prompt(QStringLiteral("관리용 ID (%1): ").arg(form), false).trimmed();
        secret = prompt(QStringLiteral("비밀번호 (비우면 사용안함): "), true);
        if (prompt(QStringLiteral("비밀번호 확인: "), true) != secret) {
            err << "비밀번호가 일치하지 않습니다." << Qt::endl;
            return 2;
        }
    } else {
        QTextStream in(stdin);
        id = in.readLine().trimmed();
        secret = in.readLine();
    }
    if (!secret.isEmpty() && !maintenanceFormOk(target, id, secret)) {
        err << "ID와 비밀번호의 형식이 맞지 않습니다 (" << form << ")." << Qt::endl;
        return 2;
    }
    if (!setMaintenanceLogin(ini, target, id, secret)) {
        err << "설정파일에 쓸 수 없습니다: " << ini.path() << Qt::endl;
        return 4;
    }
    QTextStream(stdout) << (secret.isEmpty() ? "관리용 로그인을 사용하지 않도록 하였습니다." : "관리용 로그인을 저장하였습니다.")
                        << Qt::endl;
    return 0;
}

// Backs the installation up into the folder, as the backup screen does:
// every database file (or the server database) copied at one moment and
// checked. Exit code 0 when the backup is complete.
int runBackupCommand(const QString &folder)
{
    QTextStream out(stdout), err(stderr);
    AppContext ctx;
    if (auto f = connectDatabases(ctx)) {
        err << f->text << "\n" << f->detail << Qt::endl;
        return 1;
    }
    const BackupResult r = backupInstallation(ctx, folder, BackupReason::Manual);
    if (!r.ok) {
        err << r.text << Qt::endl;
        if (!r.detail.isEmpty())
            err << r.detail << Qt::endl;
        return 4;
    }
    out << "데이터를 BACKUP 완료하였습니다: " << r.set.path << Qt::endl
        << backupInfoText(r.set);
    return 0;
}

// Puts a backup back (a dated backup folder, or a server backup's .DAT file).
// Without --yes it only shows what the backup holds. A safety backup of the
// current state goes beside the backups first.
int runRestoreCommand(const QString &path, bool confirmed)
{
    QTextStream out(stdout), err(stderr);
    AppContext ctx;
    if (auto f = connectDatabases(ctx)) {
        err << f->text << "\n" << f->detail << Qt::endl;
        return 1;
    }
    const QFileInfo target(path);
    const bool server = ctx.engine == Engine::PostgreSQL;
    const QString info = server ? QString(target.absolutePath() + QLatin1Char('/') + target.completeBaseName() + QStringLiteral(".txt"))
                                : QString(target.absoluteFilePath() + QStringLiteral("/BackupInfo.Txt"));
    BackupSet set = readBackupInfo(info, ctx.engine);
    if (!set.when.isValid()) {
        err << "백업을 찾을 수 없습니다: " << path << Qt::endl;
        return 2;
    }
    set.path = target.absoluteFilePath();
    out << backupInfoText(set);
    if (!confirmed) {
        out << "복원하려면 --yes 를 함께 지정하여 주십시요." << Qt::endl;
        return 3;
    }
    // The safety copy goes where the backups are kept.
    QDir folder = target.absoluteDir();
    if (server)
        folder.cdUp();
    const RestoreResult r = restoreInstallation(ctx, set, folder.absolutePath());
    if (!r.ok) {
        err << r.text << Qt::endl;
        if (!r.detail.isEmpty())
            err << r.detail << Qt::endl;
        return 4;
    }
    out << "복원이 완료되었습니다. 복원 전 자료: " << r.safety.path << Qt::endl;
    return 0;
}

// The maintenance deletion on its own, without the main frame; closing it
// ends the program.
int runMaintenanceDeletion(QApplication &app, UiContext &ui)
{
    QWidget *screen = createMaintenanceDeletionScreen(ui);
    screen->setAttribute(Qt::WA_DeleteOnClose);
    screen->adjustSize();
    centerForm(screen);
    screen->show();
    return app.exec();
}

// The update check of a workstation configured for it. True when the updater
// has taken over and the program is to end.
bool updaterTakesOver(const AppContext &ctx, Messages &msg)
{
    if (ctx.dbSettings.network.trimmed().toUpper() != QLatin1String("YES"))
        return false;
    const QString appDir = QCoreApplication::applicationDirPath();
    const UpdateCheckResult r = runUpdateCheck(updateCheckOptionsFor(ctx.paths, appDir));
    switch (r.status) {
    case UpdateCheckResult::Status::BadConfig:
        msg.warn(QString::fromUtf8(kUpdateConfigText), QString::fromUtf8(kUpdateTitle));
        return false;
    case UpdateCheckResult::Status::NoUpdate:
        return false;
    case UpdateCheckResult::Status::UpdateWaiting:
        break;
    }
    QString error;
    if (startUpdater(appDir, updateCheckOptionsFor(ctx.paths, appDir).listFile, &error))
        return true;
    msg.warn(error + QStringLiteral("\n업데이트 없이 프로그램을 시작합니다."), QString::fromUtf8(kUpdateTitle));
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    // Everything the program creates is its user's alone until the
    // configuration says the data folder is shared with the group.
    applyFileCreationMask(FileAccess::Owner);

    // Headless commands run without a display.
    bool headless = false;
    for (int i = 1; i < argc; ++i)
        if (qstrcmp(argv[i], "--init") == 0 || qstrcmp(argv[i], "--settings-password") == 0
            || qstrncmp(argv[i], "--maintenance-login", 19) == 0 || qstrncmp(argv[i], "--backup", 8) == 0
            || qstrncmp(argv[i], "--restore", 9) == 0)
            headless = true;
    if (headless) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("Fitrova"));
        QCommandLineParser args;
        args.addHelpOption();
        args.addOption({QStringLiteral("init"), QStringLiteral("설치를 만듭니다.")});
        args.addOption({QStringLiteral("demo"), QStringLiteral("체험용 센터 자료를 넣습니다.")});
        args.addOption({QStringLiteral("admin-id"), QStringLiteral("관리자 ID"), QStringLiteral("id")});
        args.addOption({QStringLiteral("admin-password-file"),
                        QStringLiteral("관리자 비밀번호가 첫 줄에 있는 파일 (- 는 표준입력). 없으면 터미널에서 묻거나 "
                                       "표준입력의 첫 줄을 읽습니다."),
                        QStringLiteral("file")});
        QCommandLineOption onCommandLine(QStringLiteral("admin-password"), QString(), QStringLiteral("password"));
        onCommandLine.setFlags(QCommandLineOption::HiddenFromHelp);
        args.addOption(onCommandLine);
        args.addOption({QStringLiteral("settings-password"),
                        QStringLiteral("사용자환경 화면의 네트웍 설정비밀번호를 등록합니다.")});
        args.addOption({QStringLiteral("maintenance-login"),
                        QStringLiteral("로그인 화면의 관리용 로그인을 등록합니다 (settings, delete, sms)."),
                        QStringLiteral("kind")});
        args.addOption({QStringLiteral("backup"), QStringLiteral("자료를 폴더에 백업합니다."), QStringLiteral("folder")});
        args.addOption({QStringLiteral("restore"), QStringLiteral("백업(날짜 폴더 또는 .DAT 파일)에서 자료를 복원합니다."),
                        QStringLiteral("backup")});
        args.addOption({QStringLiteral("yes"), QStringLiteral("복원을 묻지 않고 진행합니다.")});
        args.process(app);
        if (args.isSet(QStringLiteral("backup")))
            return runBackupCommand(args.value(QStringLiteral("backup")));
        if (args.isSet(QStringLiteral("restore")))
            return runRestoreCommand(args.value(QStringLiteral("restore")), args.isSet(QStringLiteral("yes")));
        if (args.isSet(QStringLiteral("maintenance-login")))
            return runMaintenanceLogin(args.value(QStringLiteral("maintenance-login")));
        if (args.isSet(QStringLiteral("settings-password")))
            return runSettingsPassword();
        return runInit(args);
    }

    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Fitrova"));
    QCoreApplication::setOrganizationName(QStringLiteral("Fitrova"));
    setupLookAndFeel(app);
    DesktopMessages msg;

    AppContext ctx;
    const auto failure = connectDatabases(ctx);
    applyFileCreationMask(ctx.dbSettings.groupAccess ? FileAccess::Group : FileAccess::Owner);
    if (const auto &f = failure) {
        msg.warn(f->text + QStringLiteral("\n\n") + f->detail + QStringLiteral("\n\n프로그램을 종료합니다."), f->title);
        return 1;
    }
    SingleInstanceGuard guard(ctx.paths.installDir);
    if (!guard.acquire()) {
        msg.warn(QString::fromUtf8(kAlreadyRunningText), QString::fromUtf8(kAlreadyRunningTitle));
        return 1;
    }
    if (updaterTakesOver(ctx, msg))
        return 0;

    UiContext ui{ctx, msg};
    MaintenanceTarget target = MaintenanceTarget::None;
    {
        LoginDialog login(ui);
        if (login.exec() != QDialog::Accepted)
            return 0;
        target = login.maintenanceTarget();
    }

    switch (target) {
    case MaintenanceTarget::Settings: {
        // Opened on its own, without the main frame; closing it ends the program.
        auto *screen = new WorkstationScreen(ui);
        screen->setAttribute(Qt::WA_DeleteOnClose);
        screen->adjustSize();
        centerForm(screen);
        screen->show();
        return app.exec();
    }
    case MaintenanceTarget::DataDeletion:
        return runMaintenanceDeletion(app, ui);
    case MaintenanceTarget::SmsUsage: {
        // The SMS account administration, on its own like the settings.
        auto *screen = new SmsAccountScreen(ui, std::make_shared<SmsDesk>());
        screen->setAttribute(Qt::WA_DeleteOnClose);
        centerForm(screen);
        screen->show();
        return app.exec();
    }
    case MaintenanceTarget::None:
        break;
    }

    // The site options and the business may have changed since start-up.
    try {
        loadUserOptions(ctx);
        loadBusinessInfo(ctx);
    } catch (const DbError &e) {
        msg.warn(QStringLiteral("자료를 읽는중 오류가 발생하였습니다.\n%1").arg(e.message()), QString::fromUtf8(kConnectTitle));
        return 1;
    }

    ScreenRegistry registry;
    registerAllScreens(registry);
    MainFrame frame(ui, registry);
    msg.setParent(&frame);
    frame.show();
    const int rc = app.exec();
    msg.setParent(nullptr);
    return rc;
}
