#pragma once
// Deleting rows from a member's history: an enrollment row (with the repair
// of the enrollment it depended on), a goods sale, one row of the point
// ledger. Each is one transaction that also removes the row's points and
// recomputes the member's outstanding amount and point balance.
//
// An enrollment (LtGubun "1") points to its latest dependent row of each kind
// through a link column: Transfer for transfers ("0"), Change for class
// changes ("2"), Delay for postponements ("3"), Cancel for refunds ("4").
// While a link is set the enrollment cannot be deleted. Deleting a dependent
// row moves the link to the latest remaining row of its kind (0 when none is
// left) and recomputes the enrollment's end date from what remains.

#include "data/db.h"
#include "enrollment/lecturestore.h"
#include "foundation/outcome.h"

#include <QDate>
#include <QList>
#include <QString>

namespace fitrova {

// The refusal of deleting an enrollment row that still has dependent rows,
// checked in the order postponement, refund, transfer, class change (title
// "삭제불가"); passes when all four links are 0.
Outcome lectureDeleteCheck(qint64 delay, qint64 cancel, qint64 transfer, qint64 change);

// A dependent row as the repair sees it.
struct DependentRow {
    qint64 ltid = 0;
    LectureKind kind = LectureKind::Unknown;
    QString rqDate, sDate1, sDate2, dDate2;
    qint64 rday = 0;
};

// The enrollment a dependent row belonged to.
struct BaseState {
    qint64 ltid = 0;
    QString sDate1, sDate2, dDate2;
    qint64 delay = 0, cancel = 0, transfer = 0, change = 0;
};

struct BaseRepair {
    qint64 delay = 0, cancel = 0, transfer = 0, change = 0;
    QString sDate2;
    bool operator==(const BaseRepair &) const = default;
};

// The base enrollment after a dependent row of kind deletedKind was deleted
// (or, without a kind, after one was written or edited: the links stay);
// `remaining` are its dependent rows still present (any kind, any order).
//  - The link of the deleted kind takes the latest (highest Ltid) remaining
//    row of that kind, 0 when none is left; the other links stay.
//  - The end date follows what still stands, the strongest event first: a
//    refund ends the enrollment on the refund date; a transfer on the
//    transfer's application date; a class change on the day before the new
//    class starts (on the start itself when that is the enrollment's own
//    start); otherwise the period as first sold (dDate2) lengthened by the
//    days of every remaining postponement.
// An enrollment without a readable dDate2 keeps its end date in the last case;
// end dates never pass 9999-12-31.
BaseRepair repairedBase(const BaseState &base, std::optional<LectureKind> deletedKind,
                        const QList<DependentRow> &remaining);

// Reads the base and its dependent rows and writes the repair: after a
// dependent row of kind deletedKind was deleted, or without a kind after one
// was written or edited (the links stay, the end date follows the rows).
// Nothing happens when the base is gone or the kind has no link. Runs in the
// caller's transaction (or its own).
void repairBase(const Db &db, qint64 baseLtid, std::optional<LectureKind> deletedKind = std::nullopt);

// The ledger kind of the points a Lecture row earned: "3" for a payment of
// an outstanding amount, "1" for every other row.
QString pointKindOfLecture(ProgramKind kind);

struct RowDeleteResult {
    bool deleted = false;
    Notice message;        // the refusal when not deleted
    QString mbCode;
    qint64 misuAmt = 0;    // the member's outstanding amount afterwards
    qint64 point = 0;      // the member's point balance afterwards
    qint64 freedPgid = 0;  // the program an enrollment deleted freed a place in
};

// The check before the question, on the row as it is stored now. A row that
// no longer exists is refused as well.
Outcome lectureDeleteCheck(const Db &db, qint64 ltid);

// Deletes an enrollment row: the check again (another desk may have added a
// dependent row since), the row, the repair of its base, its points, and the
// member's outstanding amount. One transaction; DbError on failure.
RowDeleteResult deleteLecture(const Db &db, qint64 ltid);

// Deletes a goods sale row with its points; recomputes the outstanding amount.
RowDeleteResult deleteSale(const Db &db, qint64 slid);

// Deletes one row of the point ledger and recomputes the balance.
RowDeleteResult deletePointRow(const Db &db, qint64 ptid);

} // namespace fitrova
