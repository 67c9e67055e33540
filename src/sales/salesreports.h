#pragma once
// The sales reports over the point of sale's vouchers, partly together with
// enrollment payments (Lecture) and locker transactions (RqPerBox):
//  - the cash-receipt flag of the sales inquiry (상품판매조회; its list of the
//    day's vouchers is the point of sale's own);
//  - sales status (상품판매현황): the lines of a time window, the sum per item
//    and the sum per day;
//  - detailed takings (상품판매현황1): goods, enrollments and lockers by sale
//    time or by closing date, with the correction and deletion of goods lines;
//  - card takings per card company and day of a month (카드사별매출집계);
//  - the sales analysis graph's figures (판매분석그래프);
//  - the card companies (카드사조회).
//
// Money is counted as the closing counts it (closing/closingwindow.h): refund
// vouchers, course refunds and locker deposits paid back are negative, so the
// totals of these reports agree with the shifts and days closed.
//
// Goods lines of a closed shift (Sale.FnChk "1") or of a closed day are what
// the closing counted: they are neither corrected nor deleted.

#include "closing/closingwindow.h"
#include "data/db.h"
#include "foundation/outcome.h"
#include "sales/poscatalogue.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace fitrova {

// --- sales inquiry ---------------------------------------------------------------

// Sets or clears the cash-receipt flag (CashChk) of a voucher, found by date,
// user, number and time. Refused when no row changed.
Outcome setCashReceipt(const Db &db, const QString &slDate, const QString &user, const QString &slNo,
                       const QString &time, bool issued);

// --- sales status ------------------------------------------------------------------

struct SalesStatusCriteria {
    TimeWindow window;
    QString user;   // "" for all users
    QString course; // goods class; "" for all
};

struct SaleLineRow {
    qint64 slId = 0;
    QString slDate, slNo, user, userName, time;
    int seq = 0;
    QString itCode, itName;
    qint64 qty = 0, cost = 0, amount = 0, discount = 0;
    // The voucher's payment, on its first line (0 on the others).
    qint64 cash = 0, card = 0, total = 0;
    QString cardChk, cardGubun, cardName;
    bool reprint = false;
    bool cashReceipt = false; // CashChk "1"
    int posNo = 0;
};
// Lines of the window ordered by date, user, voucher and line.
QList<SaleLineRow> salesLines(const Db &db, const SalesStatusCriteria &c);

// The sales inquiry's vouchers of one day: each with its lines, the latest
// voucher first.
struct DayVoucher {
    QString slDate, slNo, user, userName, time;
    int posNo = 0;
    qint64 cash = 0, card = 0;
    bool cashReceipt = false;
    QList<SaleLineRow> lines;
    QString number() const { return user + QLatin1Char('-') + slNo; }
};
QList<DayVoucher> dayVouchers(const Db &db, const QString &date, const QString &user, const QString &course);

// One item's sales: a voucher paid only in cash counts its line amounts as
// cash, one paid only by card as card, and a mixed voucher the cash and card
// payment recorded on its first line.
struct ItemSummaryRow {
    QString course, courseName, lclass, mclass, sclass, itCode, itName;
    qint64 qty = 0;
    qint64 cash1 = 0, card1 = 0; // vouchers paid only in cash, only by card
    qint64 cash2 = 0, card2 = 0; // mixed vouchers
    qint64 cash() const { return cash1 + cash2; }
    qint64 card() const { return card1 + card2; }
    qint64 total() const { return cash() + card(); }
};
QList<ItemSummaryRow> itemSummary(const Db &db, const SalesStatusCriteria &c);

// The summary as listed: items, a "[상품항목계]" row after each goods class
// (course) and "[총 합 계]" at the end.
struct SummaryLine {
    enum class Kind { Item, ClassTotal, Total };
    Kind kind = Kind::Item;
    ItemSummaryRow row;
};
QList<SummaryLine> summaryWithTotals(const QList<ItemSummaryRow> &rows);

// One day's sales (상품판매일보).
struct DailySalesRow {
    QString date;
    qint64 vouchers = 0, qty = 0, cash = 0, card = 0;
    qint64 total() const { return cash + card; }
};
QList<DailySalesRow> dailySales(const Db &db, const SalesStatusCriteria &c);

// --- detailed takings ----------------------------------------------------------------

enum class PayKind { All = 0, Cash = 1, Card = 2, Both = 3 };
enum class TakingsOrder { ItemThenTime = 1, UserThenTime = 2 };

struct DetailedTakingsCriteria {
    bool byClosingDate = false;
    TimeWindow window;         // sale dates and times
    QString fromDate, toDate;  // closing dates
    QString course;            // goods class; "" for all
    QString user;              // "" for all
    PayKind payKind = PayKind::All;
    TakingsOrder order = TakingsOrder::ItemThenTime;
    bool reprintOnly = false;     // goods reprinted
    bool cashReceiptOnly = false; // goods with a cash receipt
};

struct TakingsLine {
    TakingsKind kind = TakingsKind::Goods;
    qint64 id = 0; // SlId, Ltid or Rqid
    QString kindText;
    QString date, time, user, userName;
    QString voucher;               // goods: user "-" number
    QString slNo;                  // goods: the voucher's number
    QString mbCode, mbName;
    QString course, courseName;    // goods class or course item
    QString itemKey, name;         // item code / program / locker; what was sold
    qint64 qty = 0, amount = 0;    // goods: quantity and line amount
    qint64 cash = 0, card = 0;     // money taken (negative when paid back)
    QString cardCo, cardName;
    QString closingDate;           // the closing stamp, "" while open
    bool shiftClosed = false;      // goods: counted by a closed shift
    bool firstLine = true;         // goods: the voucher's first line (a voucher counts once)
    bool reprint = false, cashReceipt = false;
    qint64 total() const { return cash + card; }
};
// Every line of the detailed takings, in the order asked:
//  - item then time: goods by goods class and item code, then enrollments by
//    course item and program, then lockers by kind and locker group; each
//    by date, time and id;
//  - user then time: by user, date and time, goods before enrollments before
//    lockers at the same moment, then by id.
// Both orders end in the line's kind and id, which no two lines share.
QList<TakingsLine> detailedTakings(const Db &db, const DetailedTakingsCriteria &c);
// At most maxLines lines after the line `after` (nullptr: from the first) in
// the same order: the pages joined are detailedTakings. Each kind of takings
// is read a page at a time in that order (sorted by the database) and the
// three are merged.
QList<TakingsLine> detailedTakingsPage(const Db &db, const DetailedTakingsCriteria &c, const TakingsLine *after,
                                       int maxLines);
// The lines of a goods line's voucher (its date, user and number) as they
// stand now, as the detailed takings show them, in line order.
QList<TakingsLine> voucherTakingsLines(const Db &db, const TakingsLine &goodsLine);

// Cash and card of the lines; the count as the closing counts: vouchers,
// enrollment rows and locker rows.
Takings takingsTotal(const QList<TakingsLine> &lines);

// What heads the detailed takings, summed by the database over every line the
// criteria select (not only those read): their number, what they take in
// (as takingsTotal counts it) and the goods' quantity and line amounts.
struct TakingsHead {
    qint64 lines = 0;
    Takings total;
    qint64 goodsQty = 0, goodsAmount = 0;
    bool operator==(const TakingsHead &) const = default;
};
TakingsHead detailedTakingsHead(const Db &db, const DetailedTakingsCriteria &c);

inline QString paymentCorrectionTitle() { return QStringLiteral("금액수정"); }
inline QString cardCorrectionTitle() { return QStringLiteral("카드사수정"); }
inline QString saleDeleteTitle() { return QStringLiteral("상품자료삭제"); }

// Corrects the payment of a voucher on its payment line: cash and card must
// together make the voucher's amount; the voucher's payment kind (CardChk)
// follows. Refused for lines of a closed shift or day and for other lines.
Outcome correctSalePayment(const Db &db, qint64 slId, qint64 cash, qint64 card);
// Corrects the card company of the line's voucher. Refused for lines of a
// closed shift or day.
Outcome correctSaleCardCompany(const Db &db, qint64 slId, const QString &cardCode);

// Deletes one Sale row; true when a row was deleted.
bool DelSale(const Db &db, qint64 slId);
// Deletes a goods line as the detailed takings do: with the delete right,
// not of a closed shift or day, not of a refund or a refunded voucher. The
// voucher stays whole: its payment drops by the line's amount (cash first)
// and stays on its first line, which the remaining lines are numbered from.
Outcome deleteSaleLine(const Db &db, qint64 slId, bool mayDelete);

// --- card takings per company --------------------------------------------------------

enum class CardTakingsSource { Goods = 1, Members = 2, Both = 3 };

// CardCompany and cardCompanies() (the Card table by code): sales/poscatalogue.h.

struct CardTakings {
    QList<CardCompany> columns;   // "1".."9", "A", then "기타" (any other code)
    QStringList days;             // every day of the month, "YYYY-MM-DD"
    QList<QList<qint64>> amounts; // [day][column]
    QList<qint64> columnTotals;   // 합계 row
    qint64 dayTotal(int day) const;
    qint64 total() const;
};
// Goods: the card payment of each voucher (its first line); members: the card
// amounts of enrollments, class changes and payments, less card refunds.
CardTakings cardTakings(const Db &db, int year, int month, CardTakingsSource source);

// --- sales analysis graph -----------------------------------------------------------------

enum class GraphSource { Courses = 1, Goods = 2 };
enum class GraphValue { Amount = 1, Count = 2 };

struct GraphCriteria {
    GraphSource source = GraphSource::Courses;
    GraphValue value = GraphValue::Amount;
    bool perCourse = true; // 개별; else one 합계 series
    int year = 0;
    int month = 0;         // 0: the months of the year, else the days of that month
    QString course;        // "" for all
};
struct GraphSeries {
    QString course, name;
    QList<qint64> values; // one per period, in won or counts
};
struct SalesGraph {
    QStringList periods; // "1", "2", … days or months
    QList<GraphSeries> series;
};
// Enrollments: fees (TAmt) and their number of enrollments, class changes
// and transfers by request date; goods: voucher payments (SLTAmt) and lines
// by sale date (per month: quantities).
SalesGraph salesGraph(const Db &db, const GraphCriteria &c);

} // namespace fitrova
