#include "settings/settings.h"

#include "foundation/password.h"
#include "foundation/startup.h"

#include <QDir>
#include <QFileInfo>
#include <cmath>

namespace fitrova {

const char *const kSaveTitle = "자료저장";
const char *const kSavedText = "저장되었읍니다";
const char *const kNoRowText = "저장할 자료를 찾을수 없읍니다";
const char *const kPosTitle = "POS 설정";
const char *const kPcNameRequired = "컴퓨터 이름은 필수 입력항목입니다..";
const char *const kPosNameRequired = "POS명칭은 필수 입력항목입니다..";
const char *const kSettingsPasswordSection = "MAINTENANCE";
const char *const kSettingsPasswordKey = "SettingsPassword";
const char *const kNetworkTitle = "네트웍설정";
const char *const kSettingsPasswordWrongText = "암호가 틀립니다";
const char *const kServerAskText = "이컴퓨터를 서버PC로 설정하시겠읍니까?";
const char *const kServerAskTitle = "서버설정";
const char *const kServerDoneText = "서버PC로 설정이 완료되었읍니다..프로그램을 다시시작해 주세요";
const char *const kClientAskText = "이컴퓨터를 클라이언트PC로 설정하시겠읍니까?";
const char *const kClientAskTitle = "클라이언트설정";
const char *const kClientDoneText = "클라이언트 PC로 설정이 완료되었읍니다..프로그램을 다시시작해 주세요";

namespace {

QString u(const char *s) { return QString::fromUtf8(s); }

QString flag(bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); }

// A number typed by the clerk, in [lo, hi]; whole numbers only unless
// decimals are allowed. Thousands separators are not accepted here: none of
// these fields can reach a thousand.
std::optional<double> parseNumber(const QString &typed, double lo, double hi, bool decimals)
{
    const QString t = typed.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v) || v < lo || v > hi)
        return std::nullopt;
    if (!decimals && v != std::floor(v))
        return std::nullopt;
    return v;
}

} // namespace

// --- business details ---------------------------------------------------------

BusinessDetails loadBusinessDetails(const Db &db)
{
    BusinessDetails d;
    if (const auto r = db.queryOne(QStringLiteral("SELECT * FROM Place"))) {
        d.name = r->str(QStringLiteral("사용처명"));
        d.bizNo = r->str(QStringLiteral("사업자번호"));
        d.address = r->str(QStringLiteral("주소"));
        d.postCode = r->str(QStringLiteral("우편번호"));
        d.tel = r->str(QStringLiteral("전화번호"));
        d.fax = r->str(QStringLiteral("팩스번호"));
        d.ceo = r->str(QStringLiteral("대표자명"));
    }
    return d;
}

SaveMode saveBusinessDetails(AppContext &ctx, const BusinessDetails &d)
{
    const Db &db = ctx.main;
    const Params values{d.name, d.bizNo, d.address, d.postCode, d.tel, d.fax, d.ceo};
    const SaveMode mode = db.transaction([&] {
        if (!db.scalar(QStringLiteral("SELECT 1 FROM Place")).isValid()) {
            db.exec(QStringLiteral("INSERT INTO Place (사용처명, 사업자번호, 주소, 우편번호, 전화번호, 팩스번호, 대표자명) "
                                   "VALUES (?, ?, ?, ?, ?, ?, ?)"),
                    values);
            return SaveMode::Added;
        }
        db.exec(QStringLiteral("UPDATE Place SET 사용처명 = ?, 사업자번호 = ?, 주소 = ?, 우편번호 = ?, 전화번호 = ?, "
                               "팩스번호 = ?, 대표자명 = ?"),
                values);
        return SaveMode::Updated;
    });
    ctx.business.name = d.name;
    ctx.business.tel = d.tel;
    return mode;
}

// --- site options ---------------------------------------------------------------

std::optional<OptionsForm> loadOptionsForm(const Db &db)
{
    const auto r = db.queryOne(QStringLiteral("SELECT * FROM UserOpt WHERE Gubun = '1'"));
    if (!r)
        return std::nullopt;
    // Rates are kept as numbers; a whole rate shows without decimals.
    const auto num = [&](const char *col) { return QString::number(r->dbl(QString::fromLatin1(col)), 'g', 12); };
    OptionsForm f;
    f.refundCash = num("UserOpt1_1");
    f.refundCard = num("UserOpt1_2");
    f.cardDigits = QString::number(r->num(QStringLiteral("UserOpt2")));
    f.pointRate = num("UserOpt7_1");
    f.receiptCode = QString::number(r->num(QStringLiteral("UserOpt3")));
    f.checkinCode = QString::number(r->num(QStringLiteral("UserOpt6")));
    f.weekdayCode = QString::number(r->num(QStringLiteral("UserOpt7_5")));
    f.lockers = r->num(QStringLiteral("UserOpt4")) == 1;
    f.transfer = r->num(QStringLiteral("UserOpt5")) == 1;
    return f;
}

std::optional<SettingsRefusal> validateOptionsForm(const OptionsForm &f)
{
    const QString title = u(kSaveTitle);
    if (!parseNumber(f.refundCash, 0, 100, false))
        return SettingsRefusal{QStringLiteral("수강료환불시 차감요율(현금)은 0에서 100 사이의 숫자로 입력하여 주십시요."),
                               title, QStringLiteral("Txt11")};
    if (!parseNumber(f.refundCard, 0, 100, false))
        return SettingsRefusal{QStringLiteral("수강료환불시 차감요율(신용카드)은 0에서 100 사이의 숫자로 입력하여 주십시요."),
                               title, QStringLiteral("Txt12")};
    if (!parseNumber(f.cardDigits, 1, 20, false))
        return SettingsRefusal{QStringLiteral("회원카드 자리수는 1에서 20 사이의 숫자로 입력하여 주십시요."), title,
                               QStringLiteral("Txt2")};
    if (!parseNumber(f.pointRate, 0, 100, true))
        return SettingsRefusal{QStringLiteral("포인트적립율은 0에서 100 사이의 숫자로 입력하여 주십시요."), title,
                               QStringLiteral("Txt71")};
    const auto oneOf = [](const QString &code, const char *codes) {
        return code.size() == 1 && QString::fromLatin1(codes).contains(code);
    };
    if (!oneOf(f.receiptCode, "012"))
        return SettingsRefusal{QStringLiteral("수강영수증 발행유형을 선택하여 주십시요."), title, QStringLiteral("Cob3")};
    if (!oneOf(f.checkinCode, "1234"))
        return SettingsRefusal{QStringLiteral("입장횟수를 선택하여 주십시요."), title, QStringLiteral("Cob6")};
    if (!oneOf(f.weekdayCode, "012"))
        return SettingsRefusal{QStringLiteral("입장요일체크를 선택하여 주십시요."), title, QStringLiteral("Cob8")};
    return std::nullopt;
}

std::optional<SettingsRefusal> saveOptions(AppContext &ctx, const OptionsForm &f)
{
    const Db &db = ctx.main;
    if (!db.scalar(QStringLiteral("SELECT 1 FROM UserOpt WHERE Gubun = '1'")).isValid())
        return SettingsRefusal{u(kNoRowText), u(kSaveTitle), {}};
    if (auto refusal = validateOptionsForm(f))
        return refusal;

    const int cash = int(*parseNumber(f.refundCash, 0, 100, false));
    const int card = int(*parseNumber(f.refundCard, 0, 100, false));
    const int digits = int(*parseNumber(f.cardDigits, 1, 20, false));
    const double points = *parseNumber(f.pointRate, 0, 100, true);
    const int receipt = f.receiptCode.toInt();
    const int checkins = f.checkinCode.toInt();
    const int weekday = f.weekdayCode.toInt();

    db.exec(QStringLiteral("UPDATE UserOpt SET UserOpt1_1 = ?, UserOpt1_2 = ?, UserOpt2 = ?, UserOpt3 = ?, "
                           "UserOpt4 = ?, UserOpt5 = ?, UserOpt6 = ?, UserOpt7_1 = ?, UserOpt7_5 = ? "
                           "WHERE Gubun = '1'"),
            {cash, card, digits, receipt, f.lockers ? 1 : 0, f.transfer ? 1 : 0, checkins, points, weekday});

    UserOptions &o = ctx.options;
    o.opt1_1 = cash;
    o.opt1_2 = card;
    o.opt2 = digits;
    o.opt3 = receipt;
    o.opt4 = f.lockers ? 1 : 0;
    o.opt5 = f.transfer ? 1 : 0;
    o.opt6 = checkins;
    o.opt7_1 = points;
    o.opt7_5 = weekday;
    return std::nullopt;
}

// --- workstation ------------------------------------------------------------------

std::optional<WorkstationForm> loadWorkstationForm(const Db &db, const QString &pcName)
{
    const auto r = db.queryOne(QStringLiteral("SELECT * FROM Pos WHERE PcName = ?"), {pcName});
    if (!r)
        return std::nullopt;
    WorkstationForm f;
    f.posNo = int(r->num(QStringLiteral("PosNo")));
    f.posName = r->str(QStringLiteral("PosName"));
    f.pcName = r->str(QStringLiteral("PcName"));
    f.cardReader = r->str(QStringLiteral("Cardreader")) == QLatin1String("1");
    f.cardType = r->str(QStringLiteral("CardType"));
    f.cardPort = r->str(QStringLiteral("CardPort"));
    f.posPrint = r->str(QStringLiteral("posprint")) == QLatin1String("1");
    f.printType = r->str(QStringLiteral("PrintType"));
    f.printPort = r->str(QStringLiteral("PrintPort"));
    return f;
}

int getNewPosNo(const Db &db)
{
    const QVariant top = db.scalar(QStringLiteral("SELECT MAX(PosNo) FROM Pos"));
    return (top.isNull() ? 0 : int(top.toLongLong())) + 1;
}

WorkstationSaveResult saveWorkstation(AppContext &ctx, const WorkstationForm &in)
{
    WorkstationSaveResult res;
    WorkstationForm f = in;
    f.pcName = f.pcName.trimmed();
    f.posName = f.posName.trimmed();
    if (f.pcName.isEmpty()) {
        res.refusal = SettingsRefusal{u(kPcNameRequired), u(kPosTitle), QStringLiteral("TxtPcname")};
        return res;
    }
    if (f.posName.isEmpty()) {
        res.refusal = SettingsRefusal{u(kPosNameRequired), u(kPosTitle), QStringLiteral("TxtPosName")};
        return res;
    }

    const Db &db = ctx.main;
    retryOnUniqueViolation(db, [&] {
        const auto existing = db.queryOne(QStringLiteral("SELECT PosNo FROM Pos WHERE PcName = ?"), {f.pcName});
        res.created = !existing;
        if (existing) {
            res.posNo = int(existing->num(QStringLiteral("PosNo")));
        } else {
            res.posNo = getNewPosNo(db);
            db.exec(QStringLiteral("INSERT INTO Pos (PcName, PosNo, chkprint, PosCour, InUpdate, InPrint, HeadTitle, "
                                   "PrintGroup, posprint2, PrintType2, PrintPort2, BarPrint, BarPrintType, "
                                   "BarPrintPort, PrintMsg, Cam) "
                                   "VALUES (?, ?, '0', '1', '1', '1', '2', '1', '0', '0', '0', '0', '0', '0', '', '0')"),
                    {f.pcName, res.posNo});
        }
        db.exec(QStringLiteral("UPDATE Pos SET PosName = ?, Cardreader = ?, CardType = ?, CardPort = ?, posprint = ?, "
                               "PrintType = ?, PrintPort = ? WHERE PcName = ?"),
                {f.posName, flag(f.cardReader), f.cardType, f.cardPort, flag(f.posPrint), f.printType, f.printPort,
                 f.pcName});
    });
    loadWorkstation(ctx);
    return res;
}

// --- network role -------------------------------------------------------------------

bool settingsPasswordConfigured(const IniFile &ini)
{
    return isPasswordHash(ini.value(u(kSettingsPasswordSection), u(kSettingsPasswordKey)));
}

bool checkSettingsPassword(const IniFile &ini, const QString &typed)
{
    const QString stored = ini.value(u(kSettingsPasswordSection), u(kSettingsPasswordKey));
    if (!isPasswordHash(stored) || typed.isEmpty())
        return false;
    return verifyPassword(stored, typed.toUpper()).ok;
}

bool setSettingsPassword(const IniFile &ini, const QString &secret)
{
    const QString value = secret.isEmpty() ? QString() : hashPassword(secret.toUpper());
    return ini.setValue(u(kSettingsPasswordSection), u(kSettingsPasswordKey), value);
}

QString networkFolderFor(const AppContext &ctx, NetworkRole role, const QString &typedFolder)
{
    QString folder = role == NetworkRole::Server ? ctx.paths.installDir : typedFolder.trimmed();
    while (folder.size() > 1 && (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\'))))
        folder.chop(1);
    return folder;
}

std::optional<SettingsRefusal> checkNetworkFolder(const AppContext &ctx, NetworkRole role, const QString &folder)
{
    const QString title = u(role == NetworkRole::Server ? kServerAskTitle : kClientAskTitle);
    if (!QFileInfo(folder).isDir())
        return SettingsRefusal{QStringLiteral("폴더를 찾을 수 없습니다.\n%1").arg(folder), title,
                               QStringLiteral("TxtServerPath")};
    if (ctx.engine == Engine::SQLite) {
        const QString mainDb = Paths::derive(ctx.paths.installDir, folder).mainDb;
        if (!QFileInfo(mainDb).isFile())
            return SettingsRefusal{QStringLiteral("이 폴더에는 데이터베이스 파일이 없습니다.\n%1").arg(QDir::toNativeSeparators(mainDb)),
                                   title, QStringLiteral("TxtServerPath")};
    }
    return std::nullopt;
}

bool writeServerPath(const AppContext &ctx, const QString &folder)
{
    return IniFile(ctx.paths.iniFile).setValue(QStringLiteral("DATABASE"), QStringLiteral("ServerPath"), folder);
}

} // namespace fitrova
