#pragma once
// The member card: reading, searching, checking, saving and numbering
// members (table Member).
//
// Member numbers are eight digits, the highest in use plus one, taken at the
// moment of saving from the member number's counter (data/numbering.h), so
// desks saving new members at once take turns and never meet the key. MbCode
// is the table's key all the same: an insert that meets it is retried with a
// fresh number.

#include "data/db.h"
#include "foundation/outcome.h"
#include "members/searchtext.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace fitrova {

inline constexpr int kMemberCodeWidth = 8;
inline constexpr auto kMasterCardArea = "999";

struct MemberRecord {
    QString mbCode;     // "" for a member not saved yet
    QString mbName, mbName1;
    QString juno1, juno2;
    qint64 age = 0;
    QString tel1, tel2, tel3;
    QString indate;     // "YYYY-MM-DD"
    QString email1;
    QString postNo, addr1, addr2;
    QString birthDay;   // "YYYY-MM-DD" or ""
    QString solor;      // "1" solar, "2" lunar
    QString sex;        // "남", "여" or " "
    QString mbGubun;    // member kind code
    QString mbCard;
    QString ext;
    QString dm, sms;    // "1" / "0"
    qint64 misuAmt = 0; // stored outstanding amount (recomputed on every save)
    qint64 point = 0;
    QString lastDate, lastTime;
    QString area;

    bool isMaster() const { return area == QLatin1String(kMasterCardArea); }
    // The resident number masked ("800408-2******"), or "" when both parts are empty.
    QString residentText() const;
    // True when juno2 holds the masked form (every read but the member card's).
    bool residentMasked() const;
    // "Addr1 Addr2" trimmed.
    QString addressText() const;
};

// Members read for lists, dialogs and every other screen carry the resident
// number masked (juno2 "2******"); only the member card reads the stored
// number, through loadMemberForCard. saveMember keeps the stored number when
// it is handed a masked one.
MemberRecord memberFromRow(const Row &r);
MemberRecord memberFromRowUnmasked(const Row &r);

std::optional<MemberRecord> loadMember(const Db &db, const QString &mbCode);
std::optional<MemberRecord> loadMemberForCard(const Db &db, const QString &mbCode);

// --- search -------------------------------------------------------------------

enum class MemberSearchKind { Name = 1, Mobile = 2, HomeTel = 3, Code = 4, Card = 5, Resident = 6 };

// "1.회원명", "2.핸드폰", "3.자택전화", "4.회원번호", "5.카드번호", "6.주민번호".
QStringList memberSearchKindItems();
// The kind of an item of that list (its leading digit); Name when unreadable.
MemberSearchKind memberSearchKindOf(const QString &item);

// Longest search text: the card number's digits for a card search (8 when
// the option is not set), 14 for every other kind.
int memberSearchTextLimit(MemberSearchKind kind, int cardDigits);

// The condition on Member of one search. The text is trimmed; names,
// telephones and resident numbers match anywhere in the column (literally,
// Latin letters without regard to case), member and card numbers exactly. A
// member number typed without its leading zeros ("123") is padded to eight
// digits. Empty text gives an empty condition.
SqlCondition memberSearchCondition(MemberSearchKind kind, const QString &text);

// Most members a search shows; the count of all it found is told beside them.
inline constexpr int kMemberSearchLimit = 200;

struct MemberSearchResult {
    QList<MemberRecord> members; // the first ones by member number
    qint64 total = 0;            // how many the search found in all
    bool isPartial() const { return total > members.size(); }
};

// The statement of a search: the member columns, ordered by member number,
// the row limit bound last.
QString memberSearchStatement(const SqlCondition &c);

// The first `limit` members found by one search, ordered by member number,
// and how many it found. Names and telephone numbers are looked up through
// their substring index (data/membergrams.h). Empty text finds nobody.
MemberSearchResult findMembers(const Db &db, MemberSearchKind kind, const QString &text,
                               int limit = kMemberSearchLimit);

// The members of findMembers with its limit.
QList<MemberRecord> searchMembers(const Db &db, MemberSearchKind kind, const QString &text);

// --- checks, numbering, saving ------------------------------------------------------

// The next member number: the highest in use plus one, eight digits.
QString nextMemberCode(const Db &db);

// The checks before every save: the name is mandatory and a card number may
// belong to one member only (the holder's name is in the refusal).
Outcome checkMember(const Db &db, const MemberRecord &m);

struct MemberSaveResult {
    bool saved = false;
    bool created = false;  // a new member was added
    QString mbCode;        // the member's number (the new one when created)
    qint64 misuAmt = 0;    // outstanding amount recomputed from the member's rows
    Notice message;        // the refusal, or the confirmation
};

// Takes a number; the default takes nextMemberCode. Tests replace it.
using MemberNumberSource = std::function<QString(const Db &)>;

// Saves the member in one transaction: checkMember first (inside the
// transaction, with the card numbers' lock held, so a card given meanwhile by
// another desk is seen and no two desks give the same card at once), then a
// new row under a new number when m.mbCode is empty, else an update of that
// row.
// The outstanding amount is recomputed from the enrollments and sales, never
// taken from the screen; the point balance is left to its ledger. A member
// that was deleted meanwhile is refused, not recreated.
// Database failures throw DbError.
MemberSaveResult saveMember(const Db &db, const MemberRecord &m, const MemberNumberSource &numbers = {});

inline QString memberSavedText() { return QStringLiteral("회원정보를 저장했읍니다.."); }
inline QString memberSaveTitle() { return QStringLiteral("회원저장"); }

// --- member deletion ---------------------------------------------------------

// Deletes the member with the enrollments, visits (and the equipment lent on
// them), sales and locker requests, in one transaction. The point ledger and
// the locker slots are left as they are. Enrollments of other members that
// this member's rows depended on (a transfer received from another member)
// are repaired as deleting those rows one by one would repair them.
// Database failures throw DbError (nothing is deleted then).
void deleteMember(const Db &db, const QString &mbCode);

// --- other reads -----------------------------------------------------------------

// The date of the member's last visit (entrance rows); "" when none.
QString lastVisitDate(const Db &db, const QString &mbCode);

// The member's photo file: picDir (ending with "/") + member number + ".BMP".
QString memberPhotoFile(const QString &picDir, const QString &mbCode);

} // namespace fitrova
