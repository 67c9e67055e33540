#include "foundation/startup.h"
#include "data/schemamigrate.h"

#include <QDir>
#include <QStandardPaths>

namespace fitrova {

const char *const kAlreadyRunningText = "현재 실행중입니다.";
const char *const kAlreadyRunningTitle = "경고";

void loadUserOptions(AppContext &ctx)
{
    const Db &db = ctx.main;
    db.transaction([&] {
        auto row = db.queryOne(QStringLiteral("SELECT * FROM UserOpt ORDER BY Gubun"));
        if (!row) {
            db.exec(QStringLiteral("INSERT INTO UserOpt (Gubun, UserOpt1_1, UserOpt1_2, UserOpt2, UserOpt3, UserOpt4, "
                                   "UserOpt5, UserOpt6, UserOpt7, UserOpt8_1, UserOpt8_2, UserOpt8_3, UserOpt8_4) "
                                   "VALUES ('1', 10, 10, 8, 0, 1, 1, 1, 0, 0, 0, 0, 0)"));
            row = db.queryOne(QStringLiteral("SELECT * FROM UserOpt ORDER BY Gubun"));
        }
        const QString gubun = row->str(QStringLiteral("Gubun"));
        // Older installations kept these texts under other keys.
        if (row->str(QStringLiteral("UserTxt7")).isEmpty() && !row->str(QStringLiteral("UserTxt9")).isEmpty())
            db.exec(QStringLiteral("UPDATE UserOpt SET UserTxt7 = UserTxt9 WHERE Gubun = ?"), {gubun});
        if (row->str(QStringLiteral("UserTxt8")).isEmpty() && !row->str(QStringLiteral("UserTxt10")).isEmpty())
            db.exec(QStringLiteral("UPDATE UserOpt SET UserTxt8 = UserTxt10 WHERE Gubun = ?"), {gubun});
    });
    const Row r = *db.queryOne(QStringLiteral("SELECT * FROM UserOpt ORDER BY Gubun"));
    UserOptions &o = ctx.options;
    o.opt7_1 = r.dbl(QStringLiteral("UserOpt7_1"));
    o.opt2 = int(r.num(QStringLiteral("UserOpt2")));
    o.opt1_1 = int(r.num(QStringLiteral("UserOpt1_1")));
    o.opt1_2 = int(r.num(QStringLiteral("UserOpt1_2")));
    o.opt3 = int(r.num(QStringLiteral("UserOpt3")));
    o.opt4 = int(r.num(QStringLiteral("UserOpt4")));
    o.opt5 = int(r.num(QStringLiteral("UserOpt5")));
    o.opt6 = int(r.num(QStringLiteral("UserOpt6")));
    o.opt7 = int(r.num(QStringLiteral("UserOpt7")));
    o.opt7_5 = int(r.num(QStringLiteral("UserOpt7_5")));
    for (int i = 1; i <= 7; ++i)
        o.opt8[i] = int(r.num(QStringLiteral("UserOpt8_%1").arg(i)));
    o.txt9 = r.str(QStringLiteral("UserTxt9"));
    o.txt10 = r.str(QStringLiteral("UserTxt10"));
    o.txt7 = r.str(QStringLiteral("UserTxt7"));
    o.txt8 = r.str(QStringLiteral("UserTxt8"));
}

void loadWorkstation(AppContext &ctx)
{
    Workstation &w = ctx.workstation;
    w.posPrint = QStringLiteral("0");
    const auto row = ctx.main.queryOne(QStringLiteral("SELECT * FROM Pos WHERE PcName = ?"), {ctx.pcName});
    if (!row) {
        w.found = false;
        w.cardType = QStringLiteral("0");
        w.posNo = 0;
        return;
    }
    const Row &r = *row;
    w.found = true;
    w.posNo = int(r.num(QStringLiteral("PosNo")));
    w.posName = r.str(QStringLiteral("PosName"));
    w.posCour = r.str(QStringLiteral("PosCour"));
    w.headTitle = r.str(QStringLiteral("HeadTitle"));
    w.printMsg = r.str(QStringLiteral("PrintMsg"));
    w.cardReader = r.str(QStringLiteral("Cardreader"));
    w.cardType = r.str(QStringLiteral("CardType"));
    w.cardPort = r.str(QStringLiteral("CardPort"));
    w.posPrint = r.str(QStringLiteral("posprint"));
    w.printType = r.str(QStringLiteral("printtype"));
    w.printPort = r.str(QStringLiteral("printport"));
    w.posPrint2 = r.str(QStringLiteral("posprint2"));
    w.printType2 = r.str(QStringLiteral("PrintType2"));
    w.printPort2 = r.str(QStringLiteral("printport2"));
    w.inPrint = r.str(QStringLiteral("InPrint"));
    w.printGroup = r.str(QStringLiteral("PrintGroup"));
    w.receiptPrinterState = 0;
}

QString loadBusinessInfo(AppContext &ctx)
{
    const auto row = ctx.main.queryOne(QStringLiteral("SELECT * FROM Place"));
    ctx.business.name = row ? row->str(QStringLiteral("사용처명")) : QString();
    ctx.business.tel = row ? row->str(QStringLiteral("전화번호")) : QString();
    return ctx.business.name;
}

void ensureDefaultCatalogue(const AppContext &ctx)
{
    const Db &db = ctx.main;
    struct Group {
        const char *group, *courseName, *sclass;
        bool months;
    };
    const Group groups[] = {{"P", "기본강좌", "01", true}, {"S", "교구", "02", false}};
    db.transaction([&] {
        for (const Group &g : groups) {
            const QString grp = QString::fromUtf8(g.group);
            if (!db.scalar(QStringLiteral("SELECT 1 FROM Course WHERE PsGroup = ?"), {grp}).isValid()) {
                if (g.months)
                    db.exec(QStringLiteral("INSERT INTO Course (PsGroup, Code, Name, mon1, mon3, mon6, mon12) "
                                           "VALUES (?, '1', ?, 1, 1, 1, 1)"),
                            {grp, QString::fromUtf8(g.courseName)});
                else
                    db.exec(QStringLiteral("INSERT INTO Course (PsGroup, Code, Name) VALUES (?, '1', ?)"),
                            {grp, QString::fromUtf8(g.courseName)});
            }
            if (!db.scalar(QStringLiteral("SELECT 1 FROM Sclass WHERE PsGroup = ?"), {grp}).isValid())
                db.exec(QStringLiteral("INSERT INTO Sclass (PsGroup, Course, Sclass, SclassN) VALUES (?, '1', ?, ?)"),
                        {grp, QString::fromUtf8(g.sclass), QStringLiteral("기본분류")});
        }
    });
}

std::optional<Failure> checkSchemaVersion(AppContext &ctx)
{
    const int v = storedSchemaVersion(ctx.main);
    if (v == 0)
        return Failure{QStringLiteral("연결오류"),
                       QStringLiteral("데이터베이스가 설치되지 않았습니다. 'fitrova --init'으로 설치하여 주십시요."),
                       QStringLiteral("no schema")};
    if (v > schemaVersion())
        return Failure{QStringLiteral("연결오류"),
                       QStringLiteral("데이터베이스가 이 프로그램보다 새 버전입니다. 프로그램을 업데이트하여 주십시요."),
                       QStringLiteral("schema %1 > %2").arg(v).arg(schemaVersion())};
    if (v < schemaVersion())
        migrateSchema(ctx.main, v);
    return std::nullopt;
}

SingleInstanceGuard::SingleInstanceGuard(const QString &installDir)
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    // One lock per install folder and user.
    const QString key = QString::number(qHash(QDir::cleanPath(installDir)), 16);
    m_lock = std::make_unique<QLockFile>(dir + QStringLiteral("/fitrova-%1.lock").arg(key));
    m_lock->setStaleLockTime(0);
}

bool SingleInstanceGuard::acquire()
{
    return m_lock->tryLock(0);
}

} // namespace fitrova
