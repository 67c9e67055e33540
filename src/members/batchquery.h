#pragma once
// The batch enrollment query (일괄조회): enrollments by state over a date
// range, optionally of one program.

#include "data/db.h"
#include "data/listitems.h"
#include "members/membercontact.h"
#include "members/searchtext.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace fitrova {

enum class BatchKind {
    Valid = 1,     // valid over the whole range
    Expiring = 2,  // ending within the range
    Starting = 3,  // starting within the range
    Enrolled = 4,  // applied within the range
    Postponed = 5, // postponements applied within the range
    Refunded = 6,  // refunds applied within the range
    Unpaid = 7     // applied within the range, not fully paid, member owing
};
// "1.유효회원" … "7.미납회원".
QStringList batchKindItems();
BatchKind batchKindOf(const QString &item);

// "모두보기" (data 0), then every program: PgName, Time1 "~" Time2, the
// instructor and "기간" (period) or "횟수" (time-based); data is the Pgid.
ListItems batchProgramItems(const Db &db);

// The condition of a kind over d1..d2 ("YYYY-MM-DD") and a program (0 all).
SqlCondition batchCondition(BatchKind kind, const QString &d1, const QString &d2, qint64 pgid);

// 회원코드, 신청일자, 개월, 시작일, 만기일, 강좌명, 회원명, 핸드폰.
QStringList batchHeaders();

struct BatchLine {
    qint64 ltid = 0;
    QString mbCode;
    QStringList cells;
    MemberContact contact;
};
// Ordered by member name, then program.
QList<BatchLine> runBatchQuery(const Db &db, BatchKind kind, const QString &d1, const QString &d2, qint64 pgid);

} // namespace fitrova
