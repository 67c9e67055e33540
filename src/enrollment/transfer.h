#pragma once
// Transfer (양도신청): the rest of an enrollment is given to another member.
// The receiver gets a Lecture row of kind "0" (양수) without payment,
// pointing to the giver's enrollment (BLtid); the giver's enrollment ends
// on the application date.

#include "data/db.h"
#include "enrollment/enrollcommon.h"
#include "enrollment/enrollresult.h"
#include "members/memberstore.h"

#include <QList>
#include <QString>

namespace fitrova {

class AppContext;

inline QString transferTitle() { return QStringLiteral("양도신청"); }

// May this enrollment be given away? Kinds "0", "1", "2" only, not one that
// was given away already, the course item allows transfers and transfers
// are in use at the centre.
Outcome transferEligible(const LectureInfo &l, bool transferInUse);

// The receiver search of the screen: empty text "검색어를 입력하세요"
// (회원검색), nobody "해당회원을 찾을수 없읍니다" (회원찾기).
struct ReceiverSearch {
    Outcome check = Outcome::pass();
    QList<MemberRecord> members;
};
ReceiverSearch searchReceivers(const Db &db, MemberSearchKind kind, const QString &text);

// The receiver's enrollments of course items: state word, application date,
// program, period, newest first.
QStringList receiverEnrollmentLines(const Db &db, const QString &mbCode);

// The remaining count of a time program (PgCnt − uPgCnt), 0 for others.
qint64 remainingCount(const LectureInfo &l);

struct TransferInput {
    QString jobGubun = QStringLiteral("N");
    qint64 ltid = 0;          // "N": the enrollment given; "C": the transfer row
    QString receiverMbCode;
    QString rqDate;           // application date
    QString sDate1, sDate2;   // the receiver's period
};

EnrollResult saveTransfer(const AppContext &ctx, const TransferInput &in);

} // namespace fitrova
