#include "shell/users.h"

#include "foundation/password.h"
#include "foundation/startup.h"
#include "data/numbering.h"
#include "data/text.h"

namespace fitrova {

const char *const kLoginTitle = "로그인";
const char *const kEnterUserIdText = "사용자ID를 입력하여 주십시요";
const char *const kUnknownUserText = "사용자 ID를 다시 확인하여 주십시요.";
const char *const kWrongPasswordText = "비밀번호를 다시 확인하여 주십시요.";
const char *const kMaintenanceSection = "MAINTENANCE";
const char *const kUserDeleteTitle = "사용자삭제";
const char *const kDeleteAskText = "현제 선택한 자료를 삭제하시겠읍니까?";
const char *const kGradeChangeAskText = "현재자료를 수정하시겠습니까?";
const char *const kGradeChangeAskTitle = "자료수정";

namespace {

QString u(const char *s) { return QString::fromUtf8(s); }

Notice warn(const char *text, const char *title) { return {Notice::Kind::Warn, u(text), u(title)}; }
Outcome refused(const char *text, const char *title, int field = 0) { return Outcome::refused(u(text), u(title), field); }

const MaintenanceTarget kMaintenanceTargets[] = {MaintenanceTarget::Settings, MaintenanceTarget::DataDeletion,
                                                 MaintenanceTarget::SmsUsage};

bool allUpperLetters(const QString &s)
{
    for (const QChar c : s)
        if (c < QLatin1Char('A') || c > QLatin1Char('Z'))
            return false;
    return true;
}

bool oneDigit(const QString &s) { return s.size() == 1 && s.at(0) >= QLatin1Char('0') && s.at(0) <= QLatin1Char('9'); }

} // namespace

// --- login -------------------------------------------------------------------

MaintenanceKeys maintenanceKeys(MaintenanceTarget target)
{
    switch (target) {
    case MaintenanceTarget::Settings:
        return {"SettingsId", "SettingsPassword"};
    case MaintenanceTarget::DataDeletion:
        return {"DeleteId", "DeletePassword"};
    case MaintenanceTarget::SmsUsage:
        return {"SmsId", "SmsPassword"};
    case MaintenanceTarget::None:
        break;
    }
    return {nullptr, nullptr};
}

bool maintenanceFormOk(MaintenanceTarget target, const QString &id, const QString &password)
{
    const QString uid = id.toUpper();
    switch (target) {
    case MaintenanceTarget::Settings:
        return uid.size() == 6 && allUpperLetters(uid) && password.size() == 12;
    case MaintenanceTarget::DataDeletion:
        return uid.size() == 6 && allUpperLetters(uid) && password.size() == 6;
    case MaintenanceTarget::SmsUsage:
        return oneDigit(uid) && oneDigit(password);
    case MaintenanceTarget::None:
        break;
    }
    return false;
}

MaintenanceTarget checkMaintenanceLogin(const IniFile &ini, const QString &id, const QString &password)
{
    const QString section = u(kMaintenanceSection);
    const QString uid = id.toUpper();
    for (const MaintenanceTarget t : kMaintenanceTargets) {
        const MaintenanceKeys k = maintenanceKeys(t);
        const QString cfgId = ini.value(section, u(k.idKey)).trimmed().toUpper();
        const QString cfgHash = ini.value(section, u(k.passwordKey)).trimmed();
        // Cheap tests first: an ordinary login costs no hash verification.
        if (cfgId.isEmpty() || !isPasswordHash(cfgHash) || uid != cfgId || !maintenanceFormOk(t, uid, password))
            continue;
        if (verifyPassword(cfgHash, password.toUpper()).ok)
            return t;
    }
    return MaintenanceTarget::None;
}

bool setMaintenanceLogin(const IniFile &ini, MaintenanceTarget target, const QString &id, const QString &password)
{
    const MaintenanceKeys k = maintenanceKeys(target);
    if (!k.idKey)
        return false;
    const QString section = u(kMaintenanceSection);
    if (password.isEmpty())
        return ini.setValue(section, u(k.idKey), id.toUpper()) && ini.setValue(section, u(k.passwordKey), QString());
    if (!maintenanceFormOk(target, id, password))
        return false;
    return ini.setValue(section, u(k.idKey), id.toUpper())
        && ini.setValue(section, u(k.passwordKey), hashPassword(password.toUpper()));
}

LoginResult userChk1(AppContext &ctx, const QString &userId, const QString &password)
{
    LoginResult r;
    const Db &db = ctx.main;
    const auto row = db.queryOne(QStringLiteral("SELECT UserID, UserPass, UserName, GrCode, PsCode FROM UserM "
                                                "WHERE UserID = ? AND Uuse = '1'"),
                                 {userId});
    if (!row) {
        r.message = warn(kUnknownUserText, kLoginTitle);
        r.focus = LoginField::UserId;
        return r;
    }
    const QString stored = row->str(QStringLiteral("UserPass"));
    const PasswordCheck check = verifyPassword(stored, password);
    if (!check.ok) {
        r.message = warn(kWrongPasswordText, kLoginTitle);
        r.focus = LoginField::Password;
        return r;
    }
    const QString psCode = row->str(QStringLiteral("PsCode"));
    if (check.needsRehash) {
        // Only the plain value just checked is replaced, so a password changed
        // meanwhile at another workstation is not overwritten.
        db.exec(QStringLiteral("UPDATE UserM SET UserPass = ? WHERE PsCode = ? AND UserPass = ?"),
                {hashPassword(password), psCode, stored});
        r.rehashed = true;
    }
    ctx.user = CurrentUser{row->str(QStringLiteral("UserID")), row->str(QStringLiteral("UserName")), psCode,
                           row->str(QStringLiteral("GrCode"))};
    r.ok = true;
    return r;
}

LoginResult login(AppContext &ctx, const QString &userId, const QString &password)
{
    LoginResult r;
    r.maintenance = checkMaintenanceLogin(IniFile(ctx.paths.iniFile), userId, password);
    if (r.maintenance != MaintenanceTarget::None)
        return r;
    if (userId.trimmed().isEmpty()) {
        r.message = warn(kEnterUserIdText, kLoginTitle);
        r.focus = LoginField::UserId;
        return r;
    }
    ctx.pcName = getPcName();
    loadWorkstation(ctx);
    return userChk1(ctx, userId, password);
}

// --- users -------------------------------------------------------------------

JobMode jobModeOf(const QString &jobGubun)
{
    if (jobGubun == QLatin1String("N"))
        return JobMode::New;
    if (jobGubun == QLatin1String("C"))
        return JobMode::Change;
    return JobMode::None;
}

QList<UserListRow> listUsers(const Db &db)
{
    QList<UserListRow> out;
    const Rows rows = db.query(QStringLiteral("SELECT UserM.PsCode, UserM.UserName, UserM.UserID, UserM.GrCode, "
                                              "UserM.Uuse, GradeM.GrName FROM UserM "
                                              "LEFT JOIN GradeM ON GradeM.GrCode = UserM.GrCode "
                                              "ORDER BY UserM.GrCode, UserM.PsCode"));
    for (const Row &r : rows)
        out.append({r.str(QStringLiteral("PsCode")), r.str(QStringLiteral("UserName")), r.str(QStringLiteral("UserID")),
                    r.str(QStringLiteral("GrCode")), r.str(QStringLiteral("GrName")), r.str(QStringLiteral("Uuse"))});
    return out;
}

std::optional<UserRecord> loadUser(const Db &db, const QString &psCode)
{
    const auto row = db.queryOne(QStringLiteral("SELECT PsCode, UserName, UserID, GrCode, Uuse FROM UserM "
                                                "WHERE PsCode = ?"),
                                 {psCode});
    if (!row)
        return std::nullopt;
    UserRecord rec;
    rec.psCode = row->str(QStringLiteral("PsCode"));
    rec.userName = row->str(QStringLiteral("UserName"));
    rec.userId = row->str(QStringLiteral("UserID"));
    rec.grCode = row->str(QStringLiteral("GrCode"));
    rec.active = row->str(QStringLiteral("Uuse")) == QLatin1String("1");
    return rec;
}

QString nextStaffCode(const Db &db) { return nextNumber(db, QStringLiteral("UserM"), QStringLiteral("PsCode"), 4); }

namespace {

// True when a user other than the one of `psCode` (any user, when empty) has the ID.
bool userIdTaken(const Db &db, const QString &userId, const QString &psCode)
{
    const QVariant owner = db.scalar(QStringLiteral("SELECT PsCode FROM UserM WHERE UserID = ?"), {userId});
    return owner.isValid() && (psCode.isEmpty() || owner.toString() != psCode);
}

void copyGradeProgramsToUser(const Db &db, const QString &userId, const QString &grCode)
{
    if (db.scalar(QStringLiteral("SELECT UserID FROM UserPG WHERE UserID = ?"), {userId}).isValid())
        return;
    db.exec(QStringLiteral("INSERT INTO UserPG (UserID, PgID, UUse) "
                           "SELECT ?, PgID, COALESCE(UUse, '1') FROM Grade WHERE GrCode = ? ORDER BY PgID"),
            {userId, grCode});
}

} // namespace

Outcome saveUser(const Db &db, JobMode mode, const UserRecord &rec)
{
    const char *title = "사용자등록";
    if (mode == JobMode::None)
        return refused("신규버튼을 누른후 입력하여 주십시요.", title);
    if (rec.userId.trimmed().isEmpty())
        return refused("UserID를 입력하여 주십시요.", title, UserIdField);
    if (mode == JobMode::New && rec.password.isEmpty())
        return refused("Password를 입력하여 주십시요.", title, UserPasswordField);
    const Outcome taken = refused("이미 사용된 사용자ID 입니다.", "UserID", UserIdField);
    const QString uuse = rec.active ? QStringLiteral("1") : QStringLiteral("0");
    const QString hash = rec.password.isEmpty() ? QString() : hashPassword(rec.password);

    if (mode == JobMode::New) {
        // The staff number is the highest plus one; when another workstation
        // stores the same number first, the unique key refuses ours and a
        // fresh number is taken. A user ID stored meanwhile elsewhere is
        // caught the same way and refused by the check on the next round.
        const std::optional<QString> code = retryOnUniqueViolation(db, [&]() -> std::optional<QString> {
            if (userIdTaken(db, rec.userId, QString()))
                return std::nullopt;
            const QString c = nextStaffCode(db);
            db.exec(QStringLiteral("INSERT INTO UserM (PsCode, UserID, UserPass, UserName, GrCode, Uuse) "
                                   "VALUES (?, ?, ?, ?, ?, ?)"),
                    {c, rec.userId, hash, rec.userName, rec.grCode, uuse});
            copyGradeProgramsToUser(db, rec.userId, rec.grCode);
            return c;
        });
        if (!code)
            return taken;
        return Outcome::done(0, *code).brief(u("저장되었읍니다.."));
    }

    try {
        const bool refusedId = db.transaction([&] {
            if (userIdTaken(db, rec.userId, rec.psCode))
                return true;
            const auto old = db.queryOne(QStringLiteral("SELECT UserID FROM UserM WHERE PsCode = ?"), {rec.psCode});
            if (!old)
                throw DbError(DbError::Kind::Statement, QStringLiteral("user %1 no longer exists").arg(rec.psCode));
            if (hash.isEmpty())
                db.exec(QStringLiteral("UPDATE UserM SET UserID = ?, UserName = ?, Uuse = ?, GrCode = ? "
                                       "WHERE PsCode = ?"),
                        {rec.userId, rec.userName, uuse, rec.grCode, rec.psCode});
            else
                db.exec(QStringLiteral("UPDATE UserM SET UserID = ?, UserPass = ?, UserName = ?, Uuse = ?, GrCode = ? "
                                       "WHERE PsCode = ?"),
                        {rec.userId, hash, rec.userName, uuse, rec.grCode, rec.psCode});
            // The user's program rows follow a changed ID.
            const QString oldId = old->str(QStringLiteral("UserID"));
            if (oldId != rec.userId)
                db.exec(QStringLiteral("UPDATE UserPG SET UserID = ? WHERE UserID = ?"), {rec.userId, oldId});
            return false;
        });
        if (refusedId)
            return taken;
    } catch (const DbError &e) {
        // Another workstation gave the ID to someone else meanwhile.
        if (e.isUniqueViolation())
            return taken;
        throw;
    }
    return Outcome::done(0, rec.psCode).brief(u("수정되었읍니다.."));
}

Outcome userDeleteRefusal(const Db &db, const QString &psCode)
{
    if (db.scalar(QStringLiteral("SELECT 1 FROM Sale WHERE LastUser = ?"), {psCode}).isValid())
        return Outcome::refusedPlain(u("이미 사용자 아이디로 발생한 판매자료가 있어 삭제가 불가능합니다"),
                                     u(kUserDeleteTitle));
    if (db.scalar(QStringLiteral("SELECT 1 FROM Lecture WHERE LastUser = ?"), {psCode}).isValid())
        return Outcome::refusedPlain(u("이미 사용자 아이디로 발생한 강좌접수자료가 있어 삭제가 불가능합니다"),
                                     u(kUserDeleteTitle));
    return Outcome::pass();
}

Outcome deleteUser(const Db &db, const QString &psCode)
{
    return db.transaction([&] {
        Outcome r = userDeleteRefusal(db, psCode);
        if (!r.saved)
            return r;
        const auto row = db.queryOne(QStringLiteral("SELECT UserID FROM UserM WHERE PsCode = ?"), {psCode});
        if (!row)
            return r;
        const QString userId = row->str(QStringLiteral("UserID"));
        db.exec(QStringLiteral("DELETE FROM UserPG WHERE UserID = ?"), {userId});
        db.exec(QStringLiteral("DELETE FROM UserM WHERE PsCode = ?"), {psCode});
        return r;
    });
}

// --- grades ------------------------------------------------------------------

QList<GradeRow> listGrades(const Db &db)
{
    QList<GradeRow> out;
    for (const Row &r : db.query(QStringLiteral("SELECT GrCode, GrName FROM GradeM ORDER BY GrCode")))
        out.append({r.str(QStringLiteral("GrCode")), r.str(QStringLiteral("GrName"))});
    return out;
}

Outcome saveGradeRow(const Db &db, const QString &oldCode, const QString &codeIn, const QString &name,
                     const std::function<bool()> &confirmChange)
{
    const QString code = codeIn.trimmed();
    if (!isNumericText(code))
        return refused("숫자만 입력가능합니다", "확인");
    if (code.isEmpty())
        return {}; // a row without a code is not a grade yet
    if (!oneDigit(code)) {
        // The grade lists carry the grade as the first character of an item.
        return refused("등급코드는 숫자 한 자리로 입력하여 주십시요.", "확인");
    }
    const Outcome duplicate = refused("이미 등록된 자료입니다.", "코드중복");
    auto exists = [&](const QString &c) {
        return db.scalar(QStringLiteral("SELECT GrCode FROM GradeM WHERE GrCode = ?"), {c}).isValid();
    };
    try {
        if (oldCode.isEmpty()) {
            if (exists(code))
                return duplicate;
            db.exec(QStringLiteral("INSERT INTO GradeM (GrCode, GrName) VALUES (?, ?)"), {code, name});
            return Outcome::done(0, code);
        }
        if (code != oldCode && exists(code))
            return duplicate;
        if (confirmChange && !confirmChange())
            return {};
        db.exec(QStringLiteral("UPDATE GradeM SET GrCode = ?, GrName = ? WHERE GrCode = ?"), {code, name, oldCode});
        return Outcome::done(0, code);
    } catch (const DbError &e) {
        // Another workstation stored the code meanwhile.
        if (e.isUniqueViolation())
            return duplicate;
        throw;
    }
}

Outcome deleteGrade(const Db &db, const QString &grCode)
{
    db.exec(QStringLiteral("DELETE FROM GradeM WHERE GrCode = ?"), {grCode});
    return Outcome::done(0, grCode);
}

// --- programs granted to a grade --------------------------------------------

QList<ProgramRight> gradePrograms(const Db &db, const QString &grCode)
{
    QList<ProgramRight> out;
    const Rows rows = db.query(
        QStringLiteral("SELECT PgList.PgID, PgList.PgBun, PgList.PgName, PgListM.BunName, Grade.GrCode AS Granted "
                       "FROM PgList LEFT JOIN PgListM ON PgList.PgBun = PgListM.PgBun "
                       "LEFT JOIN Grade ON Grade.PgID = PgList.PgID AND Grade.GrCode = ? "
                       "WHERE PgList.UUSE = '1' ORDER BY PgList.PgBun, PgList.PgID"),
        {grCode});
    for (const Row &r : rows)
        out.append({r.str(QStringLiteral("PgID")), r.str(QStringLiteral("PgBun")), r.str(QStringLiteral("BunName")),
                    r.str(QStringLiteral("PgName")), !r.isNull(QStringLiteral("Granted"))});
    return out;
}

namespace {
bool realGrade(const QString &grCode) { return !grCode.isEmpty() && grCode != QLatin1String("*"); }

void grantOne(const Db &db, const QString &grCode, const QString &pgId)
{
    db.exec(QStringLiteral("INSERT INTO Grade (GrCode, PgID, PgBun, PgName, UUse) "
                           "SELECT ?, PgID, PgBun, PgName, '1' FROM PgList WHERE PgID = ? "
                           "AND NOT EXISTS (SELECT 1 FROM Grade WHERE GrCode = ? AND PgID = ?)"),
            {grCode, pgId, grCode, pgId});
}
} // namespace

void setGradeProgram(const Db &db, const QString &grCode, const QString &pgId, bool granted)
{
    if (!realGrade(grCode))
        return;
    if (granted)
        retryOnUniqueViolation(db, [&] { grantOne(db, grCode, pgId); });
    else
        db.exec(QStringLiteral("DELETE FROM Grade WHERE GrCode = ? AND PgID = ?"), {grCode, pgId});
}

void setAllGradePrograms(const Db &db, const QString &grCode, bool granted)
{
    if (!realGrade(grCode))
        return;
    if (!granted) {
        db.exec(QStringLiteral("DELETE FROM Grade WHERE GrCode = ?"), {grCode});
        return;
    }
    retryOnUniqueViolation(db, [&] {
        db.exec(QStringLiteral("INSERT INTO Grade (GrCode, PgID, PgBun, PgName, UUse) "
                               "SELECT ?, PgList.PgID, PgList.PgBun, PgList.PgName, '1' FROM PgList "
                               "WHERE PgList.UUSE = '1' AND NOT EXISTS "
                               "(SELECT 1 FROM Grade WHERE Grade.GrCode = ? AND Grade.PgID = PgList.PgID)"),
                {grCode, grCode});
    });
}

QStringList grantedPrograms(const Db &db, const QString &grCode)
{
    QStringList ids;
    for (const Row &r : db.query(QStringLiteral("SELECT PgID FROM Grade WHERE GrCode = ?"), {grCode}))
        ids << r.str(QStringLiteral("PgID")).trimmed();
    return ids;
}

Outcome removeProgramFromList(const Db &db, const QString &pgId)
{
    db.exec(QStringLiteral("DELETE FROM PgList WHERE PgID = ?"), {pgId});
    return Outcome::done();
}

// --- password change ---------------------------------------------------------

Outcome changePassword(const Db &db, const QString &userId, const QString &current, const QString &new1,
                       const QString &new2)
{
    const auto row = db.queryOne(QStringLiteral("SELECT PsCode, UserPass FROM UserM WHERE UserID = ?"), {userId});
    if (!row)
        return refused(kUnknownUserText, kLoginTitle, PasswordUserIdField);
    const QString stored = row->str(QStringLiteral("UserPass"));
    if (!verifyPassword(stored, current).ok)
        return refused(kWrongPasswordText, kLoginTitle, PasswordCurrentField);
    if (new1 != new2) {
        Outcome r;
        r.field = PasswordNew2Field;
        r.brief(u("비밀번호를 확인하십시요"));
        return r;
    }
    if (new1.isEmpty()) {
        // An empty password would leave the account open to anyone.
        return refused("Password를 입력하여 주십시요.", "비밀번호변경", PasswordNew1Field);
    }
    db.exec(QStringLiteral("UPDATE UserM SET UserPass = ? WHERE PsCode = ?"),
            {hashPassword(new1), row->str(QStringLiteral("PsCode"))});
    return Outcome::done().brief(u("비밀번호가 변경 되었습니다."));
}

} // namespace fitrova
