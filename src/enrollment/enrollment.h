#pragma once
// Enrolling a member in a program (수강등록, course tab) and selling one
// goods item to a member (goods tab).
//
// An enrollment is one Lecture row (LtGubun "1"): the program, the period
// Sdate1..Sdate2 (also kept as first sold in ddate1..ddate2), the fee, the
// discount and the payment in cash and by card. Paying less than the
// amount due leaves the rest outstanding; paying more is refused. The
// member's outstanding amount and points are recomputed in the same
// transaction as the row.

#include "data/db.h"
#include "enrollment/enrollresult.h"
#include "enrollment/lecturestore.h"

#include <QList>
#include <QString>
#include <optional>

namespace fitrova {

class AppContext;

// --- choices of the course tab ------------------------------------------------

// Program kind text: 기간제, 시간제, 박스제; and back (Unknown for other text).
QString programKindText(ProgramKind kind);
ProgramKind programKindOfText(const QString &text);

struct ProgramChoice {
    qint64 pgid = 0;
    ProgramKind kind = ProgramKind::Period;
    QString text; // PgName, Time1 "~" Time2, instructor, kind text
};
// Programs of the course (its item "1-수영" or code "1"); every program for
// "", "0" or the "0-모두보기" item. Ordered by Pgid.
QList<ProgramChoice> enrollmentPrograms(const Db &db, const QString &course);

struct MonthChoice {
    qint64 pgId1 = 0;
    int monthCnt = 0;
    QString text;          // "3 개월 ", or "없음" for a time or box program without a period
    bool openEnd = false;  // the end date is "9999-12-31" and cannot be chosen
};
QList<MonthChoice> monthChoices(const Db &db, qint64 pgid, ProgramKind kind);

struct FeeChoice {
    QString level;  // AmtGubun "1", "2", "3"
    qint64 amount = 0;
    QString text;   // "강습료1 60,000", or for a time program "10 시간 60,000"
};
// The fee levels of one month row: three for a period program, one for the others.
QList<FeeChoice> feeChoices(const Db &db, qint64 pgId1);

// End of a period starting on `start` for monthCnt months: the day before
// the same day monthCnt months later ("2024-03-15", 1 → "2024-04-14");
// "9999-12-31" for an open end.
QString enrollmentEndDate(const QString &start, int monthCnt, bool openEnd);

// --- saving ---------------------------------------------------------------------

// Discount kinds: "0" 할인없음, "1" 현금할인, "2" 마일리지, "3" 쿠폰.
QStringList discountKindItems();
QStringList lectGubunItems();   // "1.신규", "2.재등록"

struct EnrollmentInput {
    QString jobGubun = QStringLiteral("N"); // "N" new, "C" modify the row ltid
    qint64 ltid = 0;
    QString mbCode;
    qint64 pgid = 0;
    int monthCnt = 0;
    QString amtGubun = QStringLiteral("1");
    qint64 fee = 0;                 // the chosen fee level's amount
    QString rqDate, sDate1, sDate2; // registration date, period
    QString lectGubun = QStringLiteral("1");
    QString dcGubun = QStringLiteral("0");
    qint64 dcAmt = 0;
    qint64 cashAmt = 0, cardAmt = 0;
    QString card;                   // card company code
    qint64 uPgCnt = 0;              // used amount (modification only)
    QString remark;

    qint64 amountDue() const { return fee - dcAmt; }
};

inline QString enrollSaveTitle() { return QStringLiteral("수강저장"); }

// Saves the enrollment in one transaction: the amount checks, the member and
// the program, the row, the outstanding amount, the points (used points for
// a mileage discount). A modification keeps the row's links to its
// postponement, refund, transfer and class-change rows; the typed period is
// the period as sold, and the current end follows from the dependent rows.
EnrollResult saveEnrollment(const AppContext &ctx, const EnrollmentInput &in);

// The inputs of a stored enrollment, for a modification; nullopt when gone.
struct StoredEnrollment {
    EnrollmentInput input;
    QString course;
    ProgramKind kind = ProgramKind::Period;
};
std::optional<StoredEnrollment> loadEnrollment(const Db &db, qint64 ltid);

// --- goods tab --------------------------------------------------------------------

struct ItemChoice {
    qint64 itId = 0;
    QString text; // ItName and price
    qint64 price = 0;
};
QList<ItemChoice> itemChoices(const Db &db);

struct GoodsInput {
    QString jobGubun = QStringLiteral("N");
    qint64 slid = 0;
    QString mbCode;
    qint64 itId = 0;
    qint64 qty = 1, price = 0;
    QString dcGubun = QStringLiteral("0");
    qint64 dcAmt = 0;
    qint64 cashAmt = 0, cardAmt = 0;
    QString cardGubun;
    QString slDate;

    qint64 gross() const { return qty * price; }
    qint64 amountDue() const { return gross() - dcAmt; }
};

inline QString goodsSaveTitle() { return QStringLiteral("상품저장"); }

// One Sale line (a voucher of its own, numbered for the sale date and user);
// then the outstanding amount. A modification keeps the voucher number.
EnrollResult saveGoodsSale(const AppContext &ctx, const GoodsInput &in);
std::optional<GoodsInput> loadGoodsSale(const Db &db, qint64 slid);

// "1" cash only, "2" card only, "3" both.
QString cardChkOf(qint64 cash, qint64 card);

} // namespace fitrova
