#pragma once
// The check-out of a visit (퇴장확인): the exit time, the minutes used and a
// memo are written on the entrance row; for a time-based enrollment the used
// minutes of the enrollment and the member's last visit are recomputed from
// the remaining visits, in the same transaction.

#include "data/db.h"
#include "enrollment/lecturestore.h"

#include <QDateTime>
#include <QString>
#include <optional>

namespace fitrova {

struct CheckOutInfo {
    bool found = false;        // the visit id names exactly one visit
    qint64 entid = 0, ltid = 0, pgid = 0;
    QString mbCode, memberName, programName;
    QString inDate, inTime;    // "YYYY-MM-DD", "hh:mm"
    QString outTime;           // the exit time shown: now, or the stored one of a closed visit
    bool alreadyOut = false;   // the visit was checked out before
    QString pgGubun, memo;
    qint64 usedMinutes = 0;    // proposed: from entry to exit, or the stored one of a closed visit
    bool lectureFound = false;
    ProgramKind lectureKind = ProgramKind::Unknown;
    qint64 pgCnt = 0;          // minutes bought
    qint64 otherUsed = 0;      // minutes used by the enrollment's other visits
};

// Reads the visit and its enrollment for the check-out window.
CheckOutInfo loadCheckOut(const Db &db, qint64 entid, const QDateTime &now);

// Minutes from entry to exit; a visit that began on an earlier day counts the
// whole days in between (never negative).
qint64 minutesBetween(const QString &inDate, const QString &inTime, const QDate &outDate, const QString &outTime);

struct CheckOutFigures {
    qint64 used = 0, remain = 0, extra = 0;
    bool hasLecture = false, hasExtra = false;
    QString usedText, remainText, extraText; // hours-and-minutes texts; "" when not shown
};

// Remaining R = bought − used before − U, never below 0; extra E = used
// before + U − bought when that is positive (the overrun the desk confirms).
CheckOutFigures checkOutFigures(const CheckOutInfo &info, qint64 used);

// The typed minutes: digits only; nullopt for anything else.
std::optional<qint64> parseMinutes(const QString &typed);

// Saves the check-out (exit time, minutes, memo) and, for a time-based
// enrollment, its totals. False (nothing written) when the visit does not
// exist. One transaction.
bool saveCheckOut(const Db &db, qint64 entid, const QString &outTime, qint64 usedMinutes, const QString &memo);

// The enrollment's used minutes (time-based enrollments: the sum over its
// visits) and the member's last visit (the newest remaining visit; empty when
// none remains).
void recomputeVisitTotals(const Db &db, qint64 ltid, const QString &mbCode);

inline QString checkOutSavedText() { return QStringLiteral("자료를 저장하였읍니다."); }
inline QString minutesOnlyText() { return QStringLiteral("숫자만 입력가능합니다"); }
inline QString minutesOnlyTitle() { return QStringLiteral("확인"); }
// The question before an overrun is written.
QString overrunQuestion(const CheckOutFigures &f);

} // namespace fitrova
