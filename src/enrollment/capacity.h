#pragma once
// The capacity of a program. A program with MaxNumChk "1" and MaxNum above 0
// takes no more enrollments than MaxNum in any period: an enrollment or a
// change of class into it is refused when the enrollments valid in the
// requested period (not refunded, not transferred away, the period
// overlapping) already fill it. The check runs inside the saving transaction
// on the program row read with forUpdate(), so two desks cannot both take the
// last place.

#include "data/db.h"

#include <QString>

namespace fitrova {

struct CapacityCheck {
    bool checked = false; // the program checks its capacity
    bool full = false;
    qint64 capacity = 0, taken = 0;
    QString pgName;
};

// Locks the program row and counts its valid enrollments overlapping
// [from, to], leaving out exceptLtid (the enrollment being changed). A list
// that only shows the figures reads without the lock (lock false).
CapacityCheck checkCapacity(const Db &db, qint64 pgid, const QString &from, const QString &to, qint64 exceptLtid = 0,
                            bool lock = true);

// "[새벽수영] 정원(20명)이 찼습니다. (수강인원 20명)"
QString capacityRefusalText(const CapacityCheck &c);
inline QString capacityTitle() { return QStringLiteral("정원초과"); }

} // namespace fitrova
