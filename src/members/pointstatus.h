#pragma once
// The points status report (포인트현황): every member with point ledger rows
// whose balance reaches a minimum, with the sums of the ledger.

#include "data/db.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace fitrova {

// 회원코드, 회원명, 핸드폰, 전화번호, 성별, 나이, 누적포인트, 사용포인트, 잔여포인트.
QStringList pointStatusHeaders();

struct PointStatusLine {
    QString mbCode;
    qint64 earned = 0, used = 0;
    qint64 remaining() const { return earned - used; }
    QStringList cells;
};

// One line per member with ledger rows whose stored balance (Member.Point) is
// at least minBalance; the sums come from the ledger itself. Ordered by
// member number.
QList<PointStatusLine> runPointStatus(const Db &db, qint64 minBalance);

} // namespace fitrova
