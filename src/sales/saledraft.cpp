#include "sales/saledraft.h"

#include <QtMath>

namespace fitrova {

qint64 rateDiscount(qint64 gross, double rate)
{
    // The rate in hundredths of a percent keeps 12.5 % exact; the product is
    // then divided once, truncating as the whole part of the amount does.
    const qint64 hundredths = qRound64(rate * 100.0);
    return gross * hundredths / 10000;
}

QString rateText(double rate)
{
    if (rate == 0)
        return {};
    return QString::number(rate, 'g', 12) + QStringLiteral(" %");
}

SaleTotals totalsOf(const QList<SaleLine> &lines)
{
    SaleTotals t;
    for (const SaleLine &l : lines) {
        t.gross += l.gross();
        t.discount += l.dcAmt;
        t.payable += l.amount();
    }
    return t;
}

int SaleDraft::addItem(qint64 itId, const QString &sclass, const QString &itName, qint64 price)
{
    for (int row = 0; row < m_lines.size(); ++row) {
        if (m_lines.at(row).itId != itId)
            continue;
        SaleLine &l = m_lines[row];
        l.qty += 1;
        if (l.dcYul != 0)
            l.dcAmt = rateDiscount(l.gross(), l.dcYul);
        return row;
    }
    SaleLine l;
    l.itId = itId;
    l.sclass = sclass;
    l.itName = itName;
    l.qty = 1;
    l.cost = price;
    m_lines.append(l);
    return int(m_lines.size()) - 1;
}

DraftResult SaleDraft::setQuantity(int row, qint64 qty)
{
    if (!valid(row))
        return DraftRefusal{QStringLiteral("수량을 적용할 상품이 없읍니다"), quantityTitle()};
    if (qty <= 0)
        return DraftRefusal{QStringLiteral("수량은 1 이상 입력하세요"), quantityTitle()};
    SaleLine l = m_lines.at(row);
    l.qty = qty;
    if (l.dcYul != 0)
        l.dcAmt = rateDiscount(l.gross(), l.dcYul);
    else if (l.dcAmt > l.gross())
        return DraftRefusal{QStringLiteral("할인금액이 판매금액보다 많읍니다"), quantityTitle()};
    m_lines[row] = l;
    return std::nullopt;
}

DraftResult SaleDraft::setDiscountAmount(int row, qint64 amount)
{
    if (!valid(row))
        return DraftRefusal{QStringLiteral("금액을 적용할 상품이 없읍니다"), amountTitle()};
    SaleLine &l = m_lines[row];
    if (amount < 0 || amount > l.gross())
        return DraftRefusal{QStringLiteral("할인금액이 판매금액보다 많읍니다"), amountTitle()};
    l.dcYul = 0;
    l.dcAmt = amount;
    return std::nullopt;
}

DraftResult SaleDraft::setDiscountRate(int row, double rate)
{
    if (!valid(row))
        return DraftRefusal{QStringLiteral("할인을 적용할 상품이 없읍니다"), rateTitle()};
    if (rate < 0 || rate > 100)
        return DraftRefusal{QStringLiteral("할인율은 0에서 100 사이로 입력하세요"), rateTitle()};
    SaleLine &l = m_lines[row];
    l.dcYul = rate;
    l.dcAmt = rateDiscount(l.gross(), rate);
    return std::nullopt;
}

void SaleDraft::removeLine(int row)
{
    if (valid(row))
        m_lines.removeAt(row);
}

qint64 leadingNumber(const QString &caption)
{
    qint64 n = 0;
    for (const QChar c : caption.trimmed()) {
        if (!c.isDigit())
            break;
        n = n * 10 + c.digitValue();
    }
    return n;
}

} // namespace fitrova
