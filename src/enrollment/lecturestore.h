#pragma once
// The enrollment row (table Lecture) and the one place that writes it.
//
// A Lecture row is an enrollment (LtGubun "1"), or a later event on one: a
// transfer received ("0"), a class change ("2"), a postponement ("3"), a
// refund ("4"). A dependent row points to its base through BLtid; the base
// points to its latest dependent row of each kind through Transfer, Change,
// Delay and Cancel. PgGubun says what was bought: "1" a period, "2" time,
// "3" a box, "4" a payment of an outstanding amount.
//
// The kinds are enums everywhere in the program; their stored codes appear
// only here. One column table drives loading, inserting and updating, so a
// column is named once. Every insert, update and delete of Lecture goes
// through this store.
//
//     const auto base = loadLecture(db, id, RowLock::ForUpdate);   // inside the action's transaction
//     LectureRecord r = derivedRow(*base, LectureKind::Refund);
//     r.rqDate = r.sDate2 = date;
//     const qint64 ltid = insertLecture(db, r);
//     base->cancel = ltid;
//     updateLecture(db, *base, {LectureField::Cancel, LectureField::Sdate2});

#include "data/db.h"

#include <QString>
#include <QStringList>
#include <initializer_list>
#include <optional>

namespace fitrova {

// LtGubun.
enum class LectureKind { TransferIn, Enrollment, ClassChange, Postponement, Refund, Unknown };
// PgGubun, of Lecture and of Program rows.
enum class ProgramKind { Period, TimeBased, Box, Payment, Unknown };

// The stored codes and back; Unknown for anything else (and stored as NULL).
QString lectureKindCode(LectureKind k);
LectureKind lectureKindOf(const QString &ltGubun);
QString programKindCode(ProgramKind k);
ProgramKind programKindOf(const QString &pgGubun);

// The kinds a base enrollment can be postponed, refunded, changed or given from.
inline bool isEnrollmentLike(LectureKind k)
{
    return k == LectureKind::TransferIn || k == LectureKind::Enrollment || k == LectureKind::ClassChange;
}

// One Lecture row. Text columns keep the difference between NULL (a null
// QString) and "" (an empty one); Age and DcYul may be NULL as well.
struct LectureRecord {
    qint64 ltid = 0;
    LectureKind kind = LectureKind::Enrollment;   // LtGubun
    ProgramKind programKind = ProgramKind::Period; // PgGubun
    QString mbCode, mbName, sex, mbGubun;
    std::optional<qint64> age;
    QString ageGubun;
    qint64 pgid = 0;
    QString pgCode, pgName, course, lclass, mclass, sclass, time1, time2, ltCode;
    qint64 bpgid = 0;
    QString bMbCode;
    qint64 bLtid = 0;
    QString rqDate, sDate1, sDate2, dDate1, dDate2, ltyymm;
    qint64 monthCnt = 0;
    QString amtGubun, lectGubun, dcGubun;
    qint64 dcAmt = 0;
    std::optional<double> dcYul;
    qint64 tAmt = 0, cashAmt = 0, cardAmt = 0;
    QString card;
    qint64 misuAmt = 0;
    qint64 pgCnt = 0, pgCnt1 = 0, uPgCnt = 0;
    qint64 delay = 0, cancel = 0, transfer = 0, change = 0;
    qint64 rday = 0;
    QString remark, fDate;
    QString lastUser, lastDate, lastTime;

    bool hasDependents() const { return delay > 0 || cancel > 0 || transfer > 0 || change > 0; }
    // The base's link to its latest dependent row of that kind (Transfer,
    // Change, Delay, Cancel); nullptr for the other kinds.
    qint64 *linkFor(LectureKind dependentKind);
};

// The columns, for partial updates.
enum class LectureField {
    LtGubun, PgGubun, MbCode, MbName, Sex, MbGubun, Age, AgeGubun, Pgid, PgCode, PgName, Course, Lclass, Mclass,
    Sclass, Time1, Time2, LtCode, Bpgid, BMbCode, BLtid, RqDate, Sdate1, Sdate2, ddate1, ddate2, LTyymm, MonthCnt,
    AmtGubun, Lectgubun, DcGubun, DcAmt, DcYul, TAmt, CashAmt, CardAmt, Card, MisuAmt, PgCnt, PgCnt1, uPgCnt, Delay,
    Cancel, Transfer, Change, Rday, Remark, fDate, LastUser, LastDate, LastTime
};
using LectureFields = std::initializer_list<LectureField>;

// The link column of a dependent kind (Transfer, Change, Delay, Cancel).
std::optional<LectureField> linkFieldOf(LectureKind k);

enum class RowLock { None, ForUpdate };

// The row as stored; nullopt when there is none. ForUpdate locks it until the
// caller's transaction ends (see Db::forUpdate).
std::optional<LectureRecord> loadLecture(const Db &db, qint64 ltid, RowLock lock = RowLock::None);
// Reads a Lecture row from a result that selected Lecture.* (any extra
// columns are ignored).
LectureRecord lectureFromRow(const Row &r);
// Locks the row without reading it; false when it does not exist.
bool lockLecture(const Db &db, qint64 ltid);

// Adds the row (its ltid is ignored) and returns the id given to it.
qint64 insertLecture(const Db &db, const LectureRecord &row);
// Writes the named columns of the row with row.ltid; the rows changed.
int updateLecture(const Db &db, const LectureRecord &row, LectureFields fields);
int deleteLectureRow(const Db &db, qint64 ltid);
// Every row of the member (used when the member is deleted).
int deleteLecturesOfMember(const Db &db, const QString &mbCode);

// For loading many rows at once with ids given beforehand (the benchmark
// centre): every column in the store's order, and one row's values.
QStringList lectureColumnNames();
QVariantList lectureValues(const LectureRecord &row);

// A dependent row of `kind` on `base`, as the desk writes it: the base link
// (BLtid), the base program and member (Bpgid, BMbCode), the member, program,
// class times, month count and fee level of the base, its period as first
// sold (ddate1, ddate2) and the kind's own copies — a refund keeps the base
// start (Sdate1) and registration kind, a class change the member kind, age
// class and discount rate, a transfer the program kind, instructor and time
// allowance, a postponement and a refund the discount rate. Amounts, dates
// of the event, links and the stamp are left for the caller.
LectureRecord derivedRow(const LectureRecord &base, LectureKind kind);

} // namespace fitrova
