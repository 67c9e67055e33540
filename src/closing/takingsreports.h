#pragma once
// The takings summaries: the monthly summary per day (월매출집계표), the
// income report of a period (강좌수입현황, summed or itemised) and the member
// settlement per program (회원결산현황).
//
// What counts as money taken, the same in all of them:
//  - courses: the cash and card amounts of the enrollment rows (enrollments,
//    class changes, transfers and payments of outstanding amounts); refund
//    rows (LtGubun "4") are money paid back and are summed apart;
//  - lockers: deposit and fee of new rentals (RqGubun "1") and renewals
//    ("3"), less the deposit refunded on cancellations ("4"); a change of
//    locker ("2") repeats the rental's amounts without money changing hands
//    and is not counted; lockers are paid in cash;
//  - goods: a voucher paid only in cash counts its line amounts as cash, one
//    paid only by card as card, and a mixed voucher the cash and card payment
//    recorded on its first line; refund vouchers carry negative amounts.
// Amounts are whole won.

#include "data/db.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace fitrova {

struct Payment {
    qint64 cash = 0, card = 0;
    qint64 sum() const { return cash + card; }
    Payment &operator+=(const Payment &o)
    {
        cash += o.cash;
        card += o.card;
        return *this;
    }
    Payment operator-() const { return {-cash, -card}; }
    bool operator==(const Payment &) const = default;
};

// --- monthly summary per day ----------------------------------------------------

enum class TakingsBasis {
    ClosingDate, // the day the daily closing stamped (마감일 기준)
    SaleDate     // the day of the sale (판매일 기준)
};

struct MonthlySalesCriteria {
    int year = 0, month = 0;
    TakingsBasis basis = TakingsBasis::ClosingDate;
};

// The goods columns: 상품1 is the goods course (group S) with the lowest code,
// 상품2 the next one, 기타상품 every other goods course and goods without one.
struct MonthlySalesLine {
    QDate day;
    Payment course, locker, goods1, goods2, goodsOther;
    Payment total() const;
};

struct MonthlySales {
    QString goods1Name{}, goods2Name{}; // names of the first two goods courses ("" when none)
    QList<MonthlySalesLine> days;   // every day of the month
    MonthlySalesLine total;         // 합계
};

// In won.
MonthlySales monthlySales(const Db &db, const MonthlySalesCriteria &c);

// Won brought to hundreds of won, to the nearest hundred (halves away from
// zero): 1,250 → 13, -1,250 → -13, 1,249 → 12.
qint64 toHundreds(qint64 won);

// The summary as shown, in hundreds of won: each day's cash and card of each
// column rounded on its own; every cash+card, 계 and the 합계 row are then
// sums of the rounded figures, so that a total always equals the sum of the
// figures it totals.
MonthlySales inHundreds(const MonthlySales &won);

// --- income report --------------------------------------------------------------

// The month filter of the income report narrows the enrollments to those of
// that many months (0: all); goods and lockers are not affected.
struct IncomeCriteria {
    QString dateFrom{}, dateTo{};
    QString user{};     // staff code of the desk user who took the money ("" all)
    int monthCnt = 0;
};

enum class IncomeSection { Course, Goods, Locker };

struct IncomeSumLine {
    IncomeSection section = IncomeSection::Course;
    QString kind{};     // 신청, 입금, 반변경, 환불 / 판매 / 신규, 재등록, 해지
    QString name{};     // program, item, "사물함"
    qint64 months = 0;
    qint64 count = 0; // rows (courses, lockers) or quantity (goods)
    Payment pay;      // refunds negative
};

struct IncomeSummary {
    QList<IncomeSumLine> courses, goods, lockers;
    Payment courseTotal, goodsTotal, lockerTotal, total;
};

IncomeSummary incomeSummary(const Db &db, const IncomeCriteria &c);

struct IncomeDetailLine {
    IncomeSection section = IncomeSection::Course;
    QString kind{};     // 신규, 재등록, 반변경, 입금, 환불 / 판매, 환불 / 사물함, 재등록, 해지
    QString date{}, mbCode{}, mbName{}, sex{};
    QString name{};     // program; item; "사물함" + box + " " + number + " 번"
    qint64 months = 0, qty = 0;
    QString period{};   // "from~to"
    Payment pay;      // refunds negative
    qint64 ltid = 0;  // enrollment rows: the row, for showing its first period
    // Where the line stands in its section's order, for reading on after it:
    // the row's id; a sale's voucher number, desk user and line; a locker
    // row's kind, group and box.
    qint64 rowId = 0;
    QString voucher{}, user{}, rqGubun{}, boxCode{};
    qint64 seq = 0, rqBox = 0;
};

struct IncomeDetail {
    QList<IncomeDetailLine> courses, goods, lockers;
    Payment courseTotal, goodsTotal, lockerTotal, total;
};

IncomeDetail incomeDetail(const Db &db, const IncomeCriteria &c);

// The lines of incomeDetail a page at a time, for a grid that reads as it
// scrolls: the courses, then the goods, then the lockers, each section in its
// order; at most maxLines lines after `after` (nullptr: from the first).
QList<IncomeDetailLine> incomeDetailPage(const Db &db, const IncomeCriteria &c, const IncomeDetailLine *after,
                                         int maxLines);

// What the itemised report adds up to, summed without reading its lines:
// each section's lines and money (refunds negative) and the whole.
struct IncomeTotals {
    qint64 courseLines = 0, goodsLines = 0, lockerLines = 0;
    Payment course, goods, locker, total;
    qint64 lines() const { return courseLines + goodsLines + lockerLines; }
};

IncomeTotals incomeTotals(const Db &db, const IncomeCriteria &c);

// The period the enrollment was first sold for ("dDate1~dDate2"); "" when
// the row does not exist.
QString lectureFirstPeriod(const Db &db, qint64 ltid);

// --- member settlement per program ------------------------------------------------

struct SettlementCriteria {
    QString monthFrom{}, monthTo{}; // "YYYY-MM"; one month: both the same
    bool byMonthCount = false;  // one line per program and month count
};

struct SettlementLine {
    QString course{}, courseName{};
    qint64 pgid = 0;
    QString pgName{};
    qint64 monthCnt = -1;                     // -1 when not split by month count
    qint64 newCount = 0, renewCount = 0;      // paid enrollments of new and returning members
    qint64 enrollCount = 0, enrollAmt = 0;    // paid enrollments and their amounts
    qint64 cashCount = 0, cashAmt = 0, cardCount = 0, cardAmt = 0;
    qint64 changeCount = 0, changeAmt = 0;    // class changes, cash and card received
    qint64 delayCash = 0, delayCard = 0;      // postponements
    qint64 refundCount = 0, refundAmt = 0;    // refunds (paid back)
    qint64 transferCount = 0;                 // transfers received
    SettlementLine &operator+=(const SettlementLine &o);
};

struct SettlementGroup {
    QString course{}, courseName{};
    QList<SettlementLine> lines;
    SettlementLine subtotal; // [ 소 계 ]
};

struct Settlement {
    QList<SettlementGroup> groups;
    SettlementLine total; // [ 합 계 ]
};

Settlement memberSettlement(const Db &db, const SettlementCriteria &c);

} // namespace fitrova
