#pragma once
// Sale vouchers of the counter: one Sale row per line, sharing the sale date,
// the user and a four-digit number that runs per date and user. The payment
// of the whole voucher stands on its first line.
//
// A voucher is written whole or not at all, under a number no other desk
// holds (the unique key on date, user, number and line, with a fresh number
// on a clash). A refund is a further voucher of negated lines whose rows all
// carry RfSlId, the first line of the voucher refunded; a voucher is refunded
// once (the unique key on RfSlId and line keeps a second refund out even
// when two desks refund together). Older rows without RfSlId need nothing.

#include "data/db.h"
#include "foundation/outcome.h"
#include "sales/saledraft.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace fitrova {

class AppContext;

// Member code of counter sales: no member, no points.
inline QString counterMemberCode() { return QStringLiteral("00000000"); }

// Who sells where and when: the sale date and time, the user and the POS.
struct PosStamp {
    QString date;   // "YYYY-MM-DD"
    QString time;   // "hh:mm:ss"
    QString psCode;
    int posNo = 0;
};
PosStamp posStamp(const AppContext &ctx);

struct VoucherKey {
    QString slDate, user, slNo;
    bool isValid() const { return !slDate.isEmpty() && !user.isEmpty() && !slNo.isEmpty(); }
    bool operator==(const VoucherKey &) const = default;
};

struct SalePayment {
    qint64 cash = 0, card = 0;
    QString cardGubun;        // card company code; written only when the card pays
    bool cashReceipt = false; // 현금영수증
};

// "3" cash and card, "2" card only, "1" otherwise.
QString cardChkFor(qint64 cash, qint64 card);

inline QString saleSaveTitle() { return QStringLiteral("판매저장"); }

// Saves the lines as a new voucher of the stamp's user and date. Refused when
// there is nothing to sell, a line is not a sale (quantity below 1, a
// discount above its gross, a negative price), the payment is negative or
// does not equal the payable total, or an item is gone (nothing is written
// then). Outcome.code is the voucher number, Outcome.id the first line's SlId.
Outcome saveVoucher(const Db &db, const PosStamp &stamp, const QList<SaleLine> &lines, const SalePayment &pay);

// A voucher as stored, read back for a reprint or a refund.
struct StoredVoucher {
    VoucherKey key;
    qint64 firstSlId = 0;
    QList<SaleLine> lines; // in line order, seq set; names of items gone are empty
    qint64 cash = 0, card = 0;
    QString cardGubun, cardName;
    bool cashReceipt = false;
    int posNo = 0;
    QString time;          // LastTime of the voucher
    qint64 refundOf = 0;   // RfSlId: the voucher this one refunds
    bool refunded = false; // a refund points at this voucher
    // A refund: linked to what it refunds, or (older rows) negative quantities.
    bool isRefund() const;
    SaleTotals totals() const { return totalsOf(lines); }
};
std::optional<StoredVoucher> loadVoucher(const Db &db, const VoucherKey &key);

// Refunds the lines `seqs` (line numbers) of the voucher, or all of them when
// seqs is empty, as a new voucher of the stamp's user and date: quantities,
// gross, discount, rate and amounts negated, unit prices kept, every line
// pointing at the voucher refunded. The money goes back the way it came: up
// to the cash paid in cash, the rest to the card. Refused when the voucher is
// gone, is itself a refund, or has been refunded. Outcome.code is the new
// voucher number, Outcome.id its first line's SlId.
Outcome saveRefund(const Db &db, const PosStamp &stamp, const VoucherKey &original, const QList<int> &seqs);
inline QString refundTitle() { return QStringLiteral("환불"); }

// The payment a refund of these lines of the voucher gives back (negative amounts).
SalePayment refundPayment(const StoredVoucher &v, const QList<int> &seqs);

// Marks the voucher's lines as reprinted (Reprint "1"); returns the rows changed.
int markReprinted(const Db &db, const VoucherKey &key);

// --- the day's vouchers -------------------------------------------------------

struct VoucherSummary {
    VoucherKey key;
    QString userName;
    int posNo = 0;
    QString time;
    qint64 cash = 0, card = 0, total = 0;
    bool cashReceipt = false;
    bool refund = false;   // the voucher is a refund
    bool refunded = false; // a refund points at it
    QStringList lines;     // "name qty amount" of every line
};
// Vouchers of the date, newest first; user and course "" (or "0") for all.
QList<VoucherSummary> listVouchers(const Db &db, const QString &date, const QString &user, const QString &course);

} // namespace fitrova
