#pragma once
// Class change (수강변경): a member moves from one period program to
// another for the rest of the paid period, paying the difference (or
// getting it back when the new class is cheaper). The change is a Lecture
// row of kind "2" pointing to the enrollment it changes (BLtid); the
// enrollment ends the day before the change starts.

#include "data/db.h"
#include "enrollment/enrollcommon.h"
#include "enrollment/enrollresult.h"

#include <QList>
#include <QString>

namespace fitrova {

class AppContext;

inline QString classChangeTitle() { return QStringLiteral("수강변경"); }

// Enrollments ("0" 양수, "1" 신청, "2" 변경) may be changed; anything else is
// refused with "반변경할 강좌가 없읍니다".
Outcome classChangeEligible(const LectureInfo &l);

struct ChangeProgram {
    qint64 pgid = 0;
    QString text;
};
// The period programs, by course item and Pgid.
QList<ChangeProgram> changePrograms(const Db &db);

// The screen's defaults for a new change of `base` on `today`: the
// application date and the new start today, the new end the base's end.
struct ChangeDefaults {
    QString rqDate, sDate1, sDate2;
};
ChangeDefaults classChangeDefaults(const LectureInfo &base, const QString &today);

// "1.현금", "2.카드".
QStringList payKindItems();

struct ClassChangeInput {
    QString jobGubun = QStringLiteral("N");
    qint64 ltid = 0;   // "N": the enrollment to change; "C": the change row
    qint64 bLtid = 0;  // "C": the enrollment it changed
    qint64 newPgid = 0;
    int monthCnt = 0;
    QString rqDate, sDate1, sDate2;
    qint64 extra = 0;  // additional amount, negative when the new class is cheaper
    QString payKind = QStringLiteral("1"); // "1" cash, "2" card
};

// "N": the change row, and the base's end and Change link when it has no
// change yet. "C": the change row rewritten, the base's end reset. Points
// on the absolute amount. One transaction.
EnrollResult saveClassChange(const AppContext &ctx, const ClassChangeInput &in);

} // namespace fitrova
