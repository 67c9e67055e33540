#pragma once
// What the member card shows of a member's history: everything bought
// (enrollments, their changes, payments of outstanding amounts and goods),
// the course running today, the point ledger and the visits. Loading reads
// the rows; building the display lines is a pure function of them, so the
// texts can be tested without a screen.

#include "data/db.h"
#include "data/text.h"
#include "members/enrollmentrequest.h"
#include "members/membervisits.h"
#include "foundation/outcome.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace fitrova {

// --- rows as read ---------------------------------------------------------------

struct LectureRow {
    qint64 ltid = 0;
    QString ltGubun, pgGubun;
    QString mbCode;
    qint64 pgid = 0;
    QString pgName;   // the program's current name, else the row's own copy
    QString rqDate, sDate1, sDate2, dDate2;
    qint64 monthCnt = 0, pgCnt1 = 0, pgCnt = 0, uPgCnt = 0;
    qint64 tAmt = 0, cashAmt = 0, cardAmt = 0;
    qint64 delay = 0, cancel = 0, transfer = 0, change = 0;
    qint64 bLtid = 0;
    qint64 rday = 0;
    QString remark;
};

struct SaleRow {
    qint64 slid = 0;
    QString slDate;
    QString itName;
    qint64 qty = 0, slAmt = 0, cashAmt = 0, cardAmt = 0;
};

struct MemberHistory {
    QList<LectureRow> lectures; // newest application first
    QList<SaleRow> sales;       // newest sale first
    // "name(member code)" of the other party of a transfer, by Ltid.
    QHash<qint64, QString> owners;
};

MemberHistory loadMemberHistory(const Db &db, const QString &mbCode);

// --- the enrollment grid -----------------------------------------------------------

enum HistoryColumn {
    HcCategory, HcState, HcRqDate, HcDetail, HcHours, HcMonths, HcStart, HcEnd, HcAmount, HcCash, HcCard,
    HcRemain, HcRemark, HcCount
};
// 분류, 구분, 신청일자, 내역, 시간, 개월, 시작일, 만기일, 금액, 현금, 카드, 잔여, 비고.
QStringList historyHeaders();

enum class HistoryKind { Course, Coupon, Box, Payment, Goods, Other };

// How a line is coloured on screen.
enum class HistoryTone { Enrolled, Received, Changed, Postponed, Refunded, Payment, Goods };

struct HistoryLine {
    HistoryKind kind = HistoryKind::Other;
    bool isSale = false;
    qint64 id = 0;      // Ltid, or SlId of a sale
    qint64 baseId = 0;  // BLtid
    qint64 pgid = 0;
    QString ltGubun, pgGubun;
    qint64 delay = 0, cancel = 0, transfer = 0, change = 0;
    QStringList cells;  // HcCount texts
    HistoryTone tone = HistoryTone::Enrolled;
    bool ended = false; // a dated period that ended before today
};

// 분류 of a Lecture.PgGubun: "1" 강좌, "2" 쿠폰, "3" 박스, "4" 입금; "" otherwise.
QString historyKindName(const QString &pgGubun);
// 구분 of a Lecture.LtGubun: "0" 양수, "1" 신청, "2" 변경, "3" 연기, "4" 환불;
// a payment row (PgGubun "4") is "미수입금".
QString historyStateName(const QString &pgGubun, const QString &ltGubun);

// Days from today to the end date, 0 when negative or when there is no end date.
int remainDays(const QString &endDate, const QDate &today);

// The enrollment lines first (as given), then the sales lines.
QList<HistoryLine> buildHistoryLines(const MemberHistory &h, const QDate &today);

// --- the course running today ----------------------------------------------------

struct CurrentCourse {
    bool found = false;
    QString name;
    QString remain; // "N 일" for a period program, "N 분" for a time program
};
// The newest enrollment, class change or received transfer whose period
// holds today.
CurrentCourse currentCourse(const QList<LectureRow> &lectures, const QDate &today);

// --- which commands a selected line allows ------------------------------------------

struct HistoryButtons {
    bool enroll = false, modify = false, classChange = false, transfer = false, postpone = false,
         refund = false, payment = false, deleteRow = false;
    bool operator==(const HistoryButtons &) const = default;
};
// Nothing without a loaded member. With a member: a new enrollment and a
// payment always; with a line selected, what its kind and state allow:
// enrollments (신청, 양수) and class changes (변경) may be modified, deleted,
// postponed, refunded, class-changed (period programs) and transferred (when
// transfers are in use) — unless they were refunded or transferred away;
// postponement and refund rows may be modified and deleted; payment and
// goods lines may be modified and deleted.
HistoryButtons historyButtons(bool memberLoaded, const HistoryLine *selected, bool transferInUse);

// What 수강수정 opens for a line, or its refusal.
struct ModifyDecision {
    bool refused = false;
    Notice message;
    EnrollmentRequest request;
};
ModifyDecision modifyDispatch(const HistoryLine &line, const QString &mbCode);

// The request of a command that starts something new on the selected line
// (class change, transfer, postponement, refund) or for the member (new
// enrollment, payment).
EnrollmentRequest newEnrollmentRequest(EnrollmentScreen screen, const QString &mbCode, const HistoryLine *selected,
                                       qint64 misuAmt);

// --- the point ledger ------------------------------------------------------------

// 구분, 적용일자, 내역, 매출금액, 적립포인트, 사용포인트, 누적포인트.
QStringList pointHeaders();
// "1" 강좌, "2" 쿠폰, "3" 입금, "4" 상품; "" otherwise.
QString pointKindName(const QString &pgGubun);

struct PointRow {
    qint64 ptid = 0;
    QString pgGubun, pDate, remark;
    qint64 amount = 0, uPoint = 0, mPoint = 0;
};
struct PointLine {
    qint64 ptid = 0;
    QStringList cells;
    qint64 balance = 0; // running total after this row
};
// In ledger order (date, then id); the running total adds earned minus used.
QList<PointRow> loadPointRows(const Db &db, const QString &mbCode);
QList<PointLine> buildPointLines(const QList<PointRow> &rows);

// --- visits -----------------------------------------------------------------------

// 일자, 프로그램, 입장시간, 퇴장시간, 사용시간, 교구분류1, 교구분류2, 바코드, 교구명.
QStringList attendanceHeaders();
struct AttendanceLine {
    qint64 entid = 0;
    QStringList cells;
};
// The lines of visits in the order given (a page of loadMemberVisitPage); a
// visit with several lent items gives one line per item.
QList<AttendanceLine> attendanceLines(const Db &db, const QList<MemberVisit> &visits);

} // namespace fitrova
