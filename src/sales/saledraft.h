#pragma once
// The voucher being put together at the counter: its lines with quantity,
// unit price and discount, the changes the keypad and the discount buttons
// make, and the totals. Pure arithmetic in whole won; nothing is stored here.
//
// A line's amount is always its gross (quantity × unit price) less its
// discount: a rate discount is taken again from the new gross when the
// quantity changes, an amount discount stays as it was given.

#include <QList>
#include <QString>
#include <optional>

namespace fitrova {

struct SaleLine {
    qint64 itId = 0;
    QString sclass, itName;
    qint64 qty = 0;
    qint64 cost = 0;    // unit price (SlCost)
    double dcYul = 0;   // discount rate in percent; 0 = none
    qint64 dcAmt = 0;   // discount amount
    int seq = 0;        // line number of a voucher read back; 0 for a new line

    qint64 gross() const { return qty * cost; }
    qint64 amount() const { return gross() - dcAmt; }
    bool operator==(const SaleLine &) const = default;
};

// The whole part of gross × rate / 100 (truncated toward zero), exact for
// rates with up to two decimals.
qint64 rateDiscount(qint64 gross, double rate);

// "15 %" for a rate, "" for none; "12.5 %" keeps its decimals.
QString rateText(double rate);

struct SaleTotals {
    qint64 gross = 0, discount = 0, payable = 0;
    bool operator==(const SaleTotals &) const = default;
};
SaleTotals totalsOf(const QList<SaleLine> &lines);

// A refusal of a keypad or discount action: the message and its title.
struct DraftRefusal {
    QString text, title;
};
using DraftResult = std::optional<DraftRefusal>; // nullopt: applied

class SaleDraft {
public:
    const QList<SaleLine> &lines() const { return m_lines; }
    bool isEmpty() const { return m_lines.isEmpty(); }
    int size() const { return int(m_lines.size()); }
    const SaleLine &line(int row) const { return m_lines.at(row); }
    SaleTotals totals() const { return totalsOf(m_lines); }

    // Adds one of the item: a line already holding the item gets one more,
    // otherwise a new line with quantity 1 is appended. Returns the line's row.
    int addItem(qint64 itId, const QString &sclass, const QString &itName, qint64 price);
    // Appends a line as it is (a voucher read back).
    void appendLine(const SaleLine &line) { m_lines.append(line); }

    // 수량: the quantity of the line (at least 1).
    DraftResult setQuantity(int row, qint64 qty);
    // 금액: the discount amount of the line (not above its gross).
    DraftResult setDiscountAmount(int row, qint64 amount);
    // 할인 and the rate buttons: the discount rate of the line (0 to 100).
    DraftResult setDiscountRate(int row, double rate);

    void removeLine(int row);
    void clear() { m_lines.clear(); }

    static QString quantityTitle() { return QStringLiteral("수량입력"); }
    static QString amountTitle() { return QStringLiteral("금액입력"); }
    static QString rateTitle() { return QStringLiteral("할인입력"); }

private:
    bool valid(int row) const { return row >= 0 && row < m_lines.size(); }
    QList<SaleLine> m_lines;
};

// The value at the start of a discount button's caption: the rate of "10 %"
// or the amount of "1000원". 0 when it starts with no digits.
qint64 leadingNumber(const QString &caption);

} // namespace fitrova
