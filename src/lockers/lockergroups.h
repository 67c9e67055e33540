#pragma once
// Locker groups (PerBox) and their numbered lockers (PerBoxS): the group
// list and editor, the locker list of a group and the number-range dialog.
//
// Group codes are numeric text handed out as the highest number plus one
// ("10" follows "9"); lists show the groups in that numeric order. A rented
// locker is never deleted: not with its group, not by deleting the number,
// not by making a group's numbers again.
//
//     LockerGroupInput in{QStringLiteral("N"), {code, name, course, 10000, 5000}, 1, 60};
//     LockerGroupSave s = saveLockerGroup(ctx, in, ExistingNumbers::Ask);
//     if (s.askReplace && msg.ask(replaceNumbersQuestion(), replaceNumbersTitle()))
//         s = saveLockerGroup(ctx, in, ExistingNumbers::Replace);

#include "data/db.h"
#include "foundation/outcome.h"

#include <QList>
#include <QString>
#include <optional>

namespace fitrova {

class AppContext;

struct LockerGroup {
    QString code, name;
    QString course;        // the course item (one character) the group belongs to
    qint64 deposit = 0;    // Samt
    qint64 fee = 0;        // Uamt, per rental
    int monCnt = 1;        // months a rental is offered for
};

// A line of the group list: the group with its lockers' numbers and use.
struct LockerGroupLine {
    LockerGroup group;
    QString courseName;
    int lockers = 0, rented = 0;
    qint64 minNum = 0, maxNum = 0;
};

// "1 - 60"; "-" for a group without lockers.
QString lockerRangeText(int lockers, qint64 minNum, qint64 maxNum);

// Every group in the order of their codes (numeric codes by their value).
QList<LockerGroup> lockerGroups(const Db &db);
QList<LockerGroupLine> lockerGroupLines(const Db &db);
std::optional<LockerGroup> findLockerGroup(const Db &db, const QString &code);
// The lowest and highest number of the group's lockers; nullopt without lockers.
std::optional<std::pair<qint64, qint64>> lockerNumberRange(const Db &db, const QString &code);

// The code of the next group: the highest numeric code plus one, "1" for the first.
QString nextLockerGroupCode(const Db &db);

// Numbers a locker may carry.
constexpr qint64 kMaxLockerNumber = 99999;
// Lockers made at one time.
constexpr qint64 kMaxLockersAtOnce = 5000;

// --- the group editor -------------------------------------------------------------

enum LockerGroupField { GroupFieldNone, GroupFieldCode, GroupFieldName, GroupFieldDeposit, GroupFieldFrom };

struct LockerGroupInput {
    QString jobGubun = QStringLiteral("N"); // "N" new group, "C" change of group.code
    LockerGroup group;                       // "N" with an empty code takes the next one
    qint64 numFrom = 0, numTo = 0;           // "N": the lockers to make; 0 and 0 makes none
};

// What a new group does with lockers it already has (left from an earlier
// group of that code) in the range.
enum class ExistingNumbers {
    Ask,     // nothing is written; askReplace tells the screen to ask
    Replace, // the group's lockers become the range (rented ones stay)
    Keep,    // the group is saved, its lockers are left as they are
};

struct LockerGroupSave {
    Outcome outcome;
    bool askReplace = false; // ask replaceNumbersQuestion(), then save again
};

inline QString replaceNumbersQuestion() { return QStringLiteral("이미 생성된 번호가 있습니다.다시생성할까요?"); }
inline QString replaceNumbersTitle() { return QStringLiteral("사물함번호확인"); }
inline QString lockerGroupTitle() { return QStringLiteral("사물함코드 등록"); }

// 저장 of the group editor. "N": a new group and its lockers from numFrom to
// numTo; "C": name, course, deposit and fee of an existing group (its lockers
// are not touched). One transaction. A range that would take away a rented
// locker is refused.
LockerGroupSave saveLockerGroup(const AppContext &ctx, const LockerGroupInput &in, ExistingNumbers existing);

// 삭제 of the group list: refused while any locker of the group is rented
// (checked before the question and again when deleting).
Outcome checkLockerGroupDelete(const Db &db, const QString &code);
// The group with all its lockers, one transaction. The history stays.
Outcome deleteLockerGroup(const AppContext &ctx, const QString &code);

// --- the locker list ------------------------------------------------------------------

struct LockerLine {
    QString boxCode;
    qint64 boxNum = 0;
    QString uUse, mbCode, mbName, stDate, endDate;
    bool rented() const { return uUse.trimmed() == QLatin1String("1"); }
};
// The group's lockers by number, with the renter's name.
QList<LockerLine> lockerLines(const Db &db, const QString &code);

// The number-range dialog: lockers from..to added to the group; refused when
// any number of the range exists already (the group's other numbers stay).
Outcome makeLockerNumbers(const AppContext &ctx, const QString &code, qint64 from, qint64 to);

// The 사용 cell of the locker list. Marking a free locker in use takes it out
// of service (rented to nobody); clearing the mark frees such a locker again.
// A locker rented to a member is freed only by its cancellation or the
// board's release, which keep its history: here that is refused.
Outcome setLockerInUse(const AppContext &ctx, const QString &code, qint64 num, bool inUse);

// The Delete key on a locker: refused while it is rented.
Outcome checkLockerDelete(const Db &db, const QString &code, qint64 num);
Outcome deleteLocker(const AppContext &ctx, const QString &code, qint64 num);

} // namespace fitrova
