#pragma once
// Business details (Place), the site options (UserOpt row "1"), this
// workstation's device row (Pos) and the network role of the workstation
// (ServerPath in the configuration file).
//
// Plain values in, plain values out; a refusal carries the Korean text and
// title the screen shows and the object name of the field to focus.

#include "foundation/appcontext.h"
#include "foundation/inifile.h"

#include <QString>
#include <optional>

namespace fitrova {

struct SettingsRefusal {
    QString text, title;
    QString field; // object name of the control to focus; empty when none
};

// --- business details ---------------------------------------------------------

struct BusinessDetails {
    QString name, bizNo, address, postCode, tel, fax, ceo;
};

// The first Place row; empty fields when there is none.
BusinessDetails loadBusinessDetails(const Db &db);

enum class SaveMode { Added, Updated };

// Adds the Place row when the table is empty, otherwise updates it (all rows:
// the table holds the one business). The business name and telephone in
// ctx.business follow at once; the caller refreshes the main window caption.
SaveMode saveBusinessDetails(AppContext &ctx, const BusinessDetails &details);

// --- site options ---------------------------------------------------------------

// The options page as typed. Numbers stay text until saved so that a wrong
// entry is refused with a message instead of being stored as it was typed.
struct OptionsForm {
    QString refundCash;   // UserOpt1_1, %
    QString refundCard;   // UserOpt1_2, %
    QString cardDigits;   // UserOpt2
    QString pointRate;    // UserOpt7_1, % of the sales amount
    QString receiptCode;  // UserOpt3: "0", "1", "2"
    QString checkinCode;  // UserOpt6: "1" … "4"
    QString weekdayCode;  // UserOpt7_5: "0", "1", "2"
    bool lockers = false; // UserOpt4
    bool transfer = false; // UserOpt5
};

// The stored options of row "1", or nothing when the row is missing.
std::optional<OptionsForm> loadOptionsForm(const Db &db);

// Refuses a number field that is not a number in its range (rates 0–100,
// card digits 1–20). The stored options would otherwise hold what the clerk
// mistyped and every later reader would take it as 0.
std::optional<SettingsRefusal> validateOptionsForm(const OptionsForm &form);

// Saves row "1" and sets ctx.options. Without the row: "저장할 자료를 찾을수
// 없읍니다" (title "자료저장"), nothing saved.
std::optional<SettingsRefusal> saveOptions(AppContext &ctx, const OptionsForm &form);

extern const char *const kSaveTitle;     // "자료저장"
extern const char *const kSavedText;     // "저장되었읍니다"
extern const char *const kNoRowText;     // "저장할 자료를 찾을수 없읍니다"

// --- workstation ------------------------------------------------------------------

struct WorkstationForm {
    QString pcName, posName;
    int posNo = 0;          // shown only; 0 for a workstation without a row
    bool cardReader = false;
    QString cardType = QStringLiteral("0"), cardPort = QStringLiteral("1");
    bool posPrint = false;
    QString printType = QStringLiteral("1"), printPort = QStringLiteral("1");
};

// The Pos row of that computer, or nothing.
std::optional<WorkstationForm> loadWorkstationForm(const Db &db, const QString &pcName);

// The next workstation number: the highest in use plus one, 1 for the first.
int getNewPosNo(const Db &db);

struct WorkstationSaveResult {
    std::optional<SettingsRefusal> refusal;
    bool created = false;
    int posNo = 0;
};

// Saves the Pos row of form.pcName: a new row takes the next number (a number
// taken meanwhile by another workstation is skipped) and the defaults of a new
// workstation. This workstation's settings in ctx are reloaded afterwards.
WorkstationSaveResult saveWorkstation(AppContext &ctx, const WorkstationForm &form);

extern const char *const kPosTitle;          // "POS 설정"
extern const char *const kPcNameRequired;    // "컴퓨터 이름은 필수 입력항목입니다.."
extern const char *const kPosNameRequired;   // "POS명칭은 필수 입력항목입니다.."

// --- network role -------------------------------------------------------------------

// The settings password of the network page is not part of the program: it is
// kept in the configuration (section MAINTENANCE, key SettingsPassword) as the
// Argon2id hash of the upper-cased secret. The typed text is upper-cased
// before it is checked, so the password is accepted in any letter case. A
// missing or plain-text value counts as not configured and the page is off.
extern const char *const kSettingsPasswordSection; // "MAINTENANCE"
extern const char *const kSettingsPasswordKey;     // "SettingsPassword"

bool settingsPasswordConfigured(const IniFile &ini);
bool checkSettingsPassword(const IniFile &ini, const QString &typed);
// Stores the hash of the upper-cased secret; an empty secret switches the
// page off. False when the file cannot be written.
bool setSettingsPassword(const IniFile &ini, const QString &secret);

enum class NetworkRole { Server, Client };

// The shared data folder the role writes: a server shares its own install
// folder; a client points at the folder typed or chosen (trailing slashes
// removed). Empty for a client without a folder.
QString networkFolderFor(const AppContext &ctx, NetworkRole role, const QString &typedFolder);

// A folder that does not exist is refused; on the file databases a folder
// without the main database file is refused too (the next start could not
// connect). Nothing when the folder can be used.
std::optional<SettingsRefusal> checkNetworkFolder(const AppContext &ctx, NetworkRole role, const QString &folder);

// Writes ServerPath. False when the configuration cannot be written.
bool writeServerPath(const AppContext &ctx, const QString &folder);

extern const char *const kNetworkTitle;        // "네트웍설정"
extern const char *const kSettingsPasswordWrongText; // "암호가 틀립니다"
extern const char *const kServerAskText;       // "이컴퓨터를 서버PC로 설정하시겠읍니까?"
extern const char *const kServerAskTitle;      // "서버설정"
extern const char *const kServerDoneText;      // "서버PC로 설정이 완료되었읍니다..프로그램을 다시시작해 주세요"
extern const char *const kClientAskText;       // "이컴퓨터를 클라이언트PC로 설정하시겠읍니까?"
extern const char *const kClientAskTitle;      // "클라이언트설정"
extern const char *const kClientDoneText;      // "클라이언트 PC로 설정이 완료되었읍니다..프로그램을 다시시작해 주세요"

} // namespace fitrova
