#pragma once
// Users, grades and the programs granted to each grade; the login check.
//
// Everything here works on plain values and the main connections; refusals
// come back as outcomes carrying the Korean text and title the screen shows,
// and the field that should get the focus. Database failures are DbError
// exceptions (a key taken meanwhile is a refusal). Passwords are kept as Argon2id
// hashes; a password still stored in plain text by an older database is
// accepted once at login and replaced by its hash in the same action.
//
// The maintenance logins (workstation settings, data deletion, SMS usage) are
// not part of the program: each is configured in section MAINTENANCE of the
// configuration file as an ID and the hash of its password. A login whose
// password is not configured is switched off.

#include "foundation/appcontext.h"
#include "foundation/inifile.h"
#include "foundation/outcome.h"

#include <QList>
#include <QString>
#include <functional>
#include <optional>

namespace fitrova {

// --- login -------------------------------------------------------------------

enum class MaintenanceTarget { None, Settings, DataDeletion, SmsUsage };

enum class LoginField { None, UserId, Password };

struct LoginResult {
    bool ok = false;                                  // a user is logged in (ctx.user is set)
    MaintenanceTarget maintenance = MaintenanceTarget::None; // a maintenance login matched instead
    Notice message;                                   // the refusal, when any
    LoginField focus = LoginField::None;              // the field to focus (text selected)
    bool rehashed = false;                            // a plain-text password was replaced by its hash
};

// Section and keys of the maintenance logins in the configuration file.
struct MaintenanceKeys {
    const char *idKey;
    const char *passwordKey;
};
extern const char *const kMaintenanceSection; // "MAINTENANCE"
MaintenanceKeys maintenanceKeys(MaintenanceTarget target);

// Which maintenance screen the ID and password open, or None. The inputs are
// compared upper-cased: the ID with the configured ID, the password with the
// configured hash. A target without a configured ID or password hash (a plain
// value does not count) never matches.
MaintenanceTarget checkMaintenanceLogin(const IniFile &ini, const QString &id, const QString &password);

// The form an ID and password of each maintenance login must have: settings
// six upper-case letters and twelve characters, data deletion six letters and
// six characters, SMS usage one digit and one digit.
bool maintenanceFormOk(MaintenanceTarget target, const QString &id, const QString &password);

// Writes a maintenance login into the configuration: the ID upper-cased and
// the hash of the upper-cased password. An empty password removes the login
// (the key is written empty). Refused (false) when the form does not fit.
bool setMaintenanceLogin(const IniFile &ini, MaintenanceTarget target, const QString &id, const QString &password);

// The user/password check alone (active users only). On a match ctx.user is
// set; a plain-text password is rehashed.
LoginResult userChk1(AppContext &ctx, const QString &userId, const QString &password);

// The whole OK action up to the point where the main frame would open:
// maintenance logins, the empty-ID check, the computer name and the
// workstation row, then the user check.
LoginResult login(AppContext &ctx, const QString &userId, const QString &password);

extern const char *const kLoginTitle;        // "로그인"
extern const char *const kEnterUserIdText;   // "사용자ID를 입력하여 주십시요"
extern const char *const kUnknownUserText;   // "사용자 ID를 다시 확인하여 주십시요."
extern const char *const kWrongPasswordText; // "비밀번호를 다시 확인하여 주십시요."

// --- users -------------------------------------------------------------------

// Job of the user editor: "N" new, "C" change, anything else none.
enum class JobMode { None, New, Change };
JobMode jobModeOf(const QString &jobGubun);

struct UserListRow {
    QString psCode, userName, userId, grCode, grName, uuse;
};

// Users ordered by grade and staff number, with the grade name.
QList<UserListRow> listUsers(const Db &db);

struct UserRecord {
    QString psCode, userName, userId;
    QString password;   // typed; on a change, empty keeps the stored hash
    QString grCode;
    bool active = true;
};

// The user of that staff number (password left empty), or nothing.
std::optional<UserRecord> loadUser(const Db &db, const QString &psCode);

// Next free staff number: the highest plus one, "0001" for the first.
QString nextStaffCode(const Db &db);

enum UserField { UserNoField = 0, UserIdField, UserPasswordField };

// Saves the editor's data. New: takes the next staff number (a number taken
// meanwhile by another workstation is skipped), adds the user and, when the
// user ID has no program rows yet, copies the grade's programs into UserPG.
// Change: updates the row of record.psCode; the password only when one was
// typed. Done: the code is the staff number, the notice the brief
// confirmation; refused: the field is a UserField.
Outcome saveUser(const Db &db, JobMode mode, const UserRecord &record);

// The check before deleting that user: refused while a sale or an enrollment
// carries the staff number.
Outcome userDeleteRefusal(const Db &db, const QString &psCode);

// Deletes the user and the user's program rows in one transaction, after the
// refusal checks.
Outcome deleteUser(const Db &db, const QString &psCode);

extern const char *const kUserDeleteTitle;  // "사용자삭제"
extern const char *const kDeleteAskText;    // "현제 선택한 자료를 삭제하시겠읍니까?"

// --- grades ------------------------------------------------------------------

struct GradeRow {
    QString grCode, grName;
};
QList<GradeRow> listGrades(const Db &db);

// Saves one edited row of the grade list. oldCode empty: a new row. The code
// must be one digit; a new code or a changed code must not be in use. A
// changed row is written only when confirm() agrees; a rename changes GradeM
// alone (users and granted programs keep the old code). A row without a code
// is not saved and shows nothing.
Outcome saveGradeRow(const Db &db, const QString &oldCode, const QString &code, const QString &name,
                     const std::function<bool()> &confirmChange = {});
Outcome deleteGrade(const Db &db, const QString &grCode);

extern const char *const kGradeChangeAskText;  // "현재자료를 수정하시겠습니까?"
extern const char *const kGradeChangeAskTitle; // "자료수정"

// --- programs granted to a grade --------------------------------------------

struct ProgramRight {
    QString pgId, pgBun, bunName, pgName;
    bool granted = false;
};

// The listed programs (UUSE "1") by group and id, ticked when the grade holds them.
QList<ProgramRight> gradePrograms(const Db &db, const QString &grCode);
// Grants or withdraws one program.
void setGradeProgram(const Db &db, const QString &grCode, const QString &pgId, bool granted);
// Grants every listed program the grade lacks, or withdraws all. Grade "*"
// (or none) is left alone.
void setAllGradePrograms(const Db &db, const QString &grCode, bool granted);
// The programs the grade holds (PgID, trimmed), as the menus are opened for them.
QStringList grantedPrograms(const Db &db, const QString &grCode);
// Takes a program off the list of grantable programs.
Outcome removeProgramFromList(const Db &db, const QString &pgId);

// --- password change ---------------------------------------------------------

enum PasswordField { PasswordNoField = 0, PasswordUserIdField, PasswordCurrentField, PasswordNew1Field,
                     PasswordNew2Field };

// Refused with the field (a PasswordField) to focus; done with the brief confirmation.
Outcome changePassword(const Db &db, const QString &userId, const QString &current, const QString &new1,
                       const QString &new2);

} // namespace fitrova
