#pragma once
// The state that start-up and login establish and every screen reads:
// paths, configuration, the connections, the site options, this
// workstation's devices, the business identity and the logged-in user.
// One instance is created by the program and passed to the screens.

#include "foundation/paths.h"
#include "data/clock.h"
#include "data/db.h"

#include <QString>
#include <array>
#include <memory>

namespace fitrova {

// Section DATABASE of the configuration file.
struct DbSettings {
    QString type, dbClass, version, network, source, name, user, password, serverPath;
    // GroupAccess=YES: the files the program creates may be read and written
    // by the members of its user's group (a data folder shared by several
    // system users); otherwise by its user only.
    bool groupAccess = false;
};

// Site-wide options (table UserOpt, row Gubun "1").
struct UserOptions {
    int opt1_1 = 10;       // refund deduction %, cash
    int opt1_2 = 10;       // refund deduction %, card
    int opt2 = 8;          // digits of a member card number
    int opt3 = 0;          // course receipt copies (0, 1, 2)
    int opt4 = 1;          // lockers in use
    int opt5 = 1;          // transfer between members in use
    int opt6 = 1;          // check-ins per day: 1 once, 2 twice, 3 no limit, 4 once with check-out
    int opt7 = 0;
    double opt7_1 = 0;     // point rate % of the sales amount; 0 = points not used
    int opt7_5 = 0;        // weekday check: 0 course days only, 1 none, 2 ask
    std::array<int, 8> opt8{}; // opt8[1] … opt8[7]: member registration switches
    QString txt7, txt8, txt9, txt10;
    bool pointsInUse() const { return opt7_1 > 0; }
};

// This workstation's row of Pos.
struct Workstation {
    bool found = false;
    int posNo = 0;
    QString posName, posCour, headTitle, printMsg;
    QString cardReader, cardType = QStringLiteral("0"), cardPort;
    QString posPrint = QStringLiteral("0"), printType, printPort;
    QString posPrint2, printType2, printPort2;
    QString inPrint, printGroup;
    int receiptPrinterState = 0;
};

struct Business {
    QString name, tel;
};

struct CurrentUser {
    QString userId, userName, psCode, grCode;
    bool loggedIn() const { return !userId.isEmpty(); }
};

class AppContext {
public:
    explicit AppContext(QString installDir = Paths::defaultInstallDir());
    ~AppContext();
    AppContext(const AppContext &) = delete;
    AppContext &operator=(const AppContext &) = delete;

    Paths paths;
    DbSettings dbSettings;
    Engine engine = Engine::SQLite;
    bool connected = false;

    // The six connections. On the file databases the entrance and point
    // connections are the main connection, which attaches the entrance and
    // point files: the joins across files run unchanged, and one user action
    // that writes to several files is one transaction. On the server engine
    // every role opens the one database.
    Db main, main2, post, ent, print, point;

    UserOptions options;
    Workstation workstation;
    Business business;
    CurrentUser user;
    QString pcName;

    const Clock &clock() const { return *m_clock; }
    void setClock(std::shared_ptr<Clock> c) { m_clock = std::move(c); }

    // Unique prefix of this context's connection names.
    const QString &connectionPrefix() const { return m_prefix; }
    void closeConnections();

private:
    std::shared_ptr<Clock> m_clock;
    QString m_prefix;
};

// The workstation's computer name: at most 30 characters, trailing blanks
// removed. FITROVA_PCNAME overrides it (several workstations on one machine).
QString getPcName();

// "BrenmoorS " or "BrenmoorA ", "Ver ", version, business, workstation, "-", user name.
QString mainCaption(const AppContext &ctx);

} // namespace fitrova
