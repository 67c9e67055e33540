#include "sales/posreceipt.h"

#include "data/text.h"
#include "foundation/appcontext.h"
#include "sales/voucher.h"

#include <QDate>

namespace fitrova {

namespace {

constexpr int kRuleWidth = 41;

QString spaces(int n) { return QString(n, QLatin1Char(' ')); }

// The printer commands and lines every receipt and ticket starts with.
void header(Receipt &r, const PosReceiptData &d, bool withTitle)
{
    if (withTitle) {
        r.bold().doubleWidth().align(1);
        const QString title = posReceiptTitle(d.headTitle, d.kind);
        if (!title.isEmpty())
            r.line(title);
        if (d.headTitle == QLatin1String("2"))
            r.blank();
    }
    r.blank().normal().align(0);
    r.line(receiptDateLine(d.date, d.time));
    r.line(QStringLiteral("POS: ") + QString::number(d.posNo) + QStringLiteral("  접수자 : ") + d.userName
           + QStringLiteral("   No: ") + d.userCode + QLatin1Char('-') + d.slNo);
    r.rule(kRuleWidth);
}

QString moneyLine(const QString &label, qint64 amount)
{
    return label + spaces(17) + padLeft(wonText(amount), 10) + QStringLiteral(" 원");
}

// The payment, the validity note, the workstation's message and the business.
void footer(Receipt &r, const PosReceiptData &d)
{
    r.rule(kRuleWidth);
    const qint64 discount = d.discount();
    if (discount == 0)
        r.line(moneyLine(QStringLiteral(" 현금 : "), d.cash));
    else
        r.line(QStringLiteral(" 현금 : ") + padLeft(wonText(d.cash), 10) + QStringLiteral(" 원  할인 : ")
               + padLeft(wonText(discount), 10) + QStringLiteral(" 원"));
    r.line(moneyLine(QStringLiteral(" 카드 : "), d.card));
    r.line(moneyLine(QStringLiteral(" 합계 : "), d.payable()));
    r.rule(kRuleWidth);
    r.line(QStringLiteral(" 본권은 당일에 한합니다"));
    if (!d.printMsg.isEmpty())
        r.blank().line(d.printMsg).blank();
    r.blank().doubleWidth().align(1).line(d.businessName).normal();
}

void finish(Receipt &r) { r.blank(4).cut(); }

// Line amount per person, rounded half away from zero.
qint64 unitAmount(qint64 amount, qint64 persons)
{
    if (persons == 0)
        return amount;
    const qint64 twice = 2 * amount / persons;
    return twice >= 0 ? (twice + 1) / 2 : -((-twice + 1) / 2);
}

Receipt ticket(const PosReceiptData &d, const QString &name, const QString &persons, qint64 amount, bool withTitle)
{
    Receipt r;
    header(r, d, withTitle);
    r.doubleHeight();
    r.line(padRight(name, 20) + persons + spaces(3) + padLeft(wonText(amount), 9) + QStringLiteral("원"));
    r.normal();
    footer(r, d);
    finish(r);
    return r;
}

} // namespace

QString posReceiptTitle(const QString &headTitle, PrintKind kind, bool systemPrinter)
{
    QString word, spaced;
    if (headTitle == QLatin1String("1")) {
        word = systemPrinter ? QStringLiteral("입욕권") : QStringLiteral("입장권");
        spaced = systemPrinter ? QStringLiteral("입 욕 권") : QStringLiteral("입 장 권");
    } else if (headTitle == QLatin1String("2")) {
        word = systemPrinter ? QStringLiteral("계산서") : QStringLiteral("영수증");
        spaced = systemPrinter ? QStringLiteral("계 산 서") : QStringLiteral("영 수 증");
    } else {
        return {};
    }
    switch (kind) {
    case PrintKind::Reprint:
        return QStringLiteral("***") + word + QStringLiteral("(재발행)***");
    case PrintKind::Refund:
        return QStringLiteral("***") + word + QStringLiteral("(환불)***");
    case PrintKind::Sale:
        break;
    }
    return QStringLiteral("*** ") + spaced + QStringLiteral(" ***");
}

QString receiptDateLine(const QString &date, const QString &time)
{
    static const QString names[] = {QStringLiteral("월"), QStringLiteral("화"), QStringLiteral("수"),
                                    QStringLiteral("목"), QStringLiteral("금"), QStringLiteral("토"),
                                    QStringLiteral("일")};
    const QDate d = QDate::fromString(date, QStringLiteral("yyyy-MM-dd"));
    const QString day = d.isValid() ? names[d.dayOfWeek() - 1] : QString();
    return date + QStringLiteral(" (") + day + QStringLiteral(")") + QStringLiteral("  ") + time;
}

Receipt buildPosReceipt(const PosReceiptData &d, bool withTitle)
{
    Receipt r;
    header(r, d, withTitle);
    r.bold().line(QStringLiteral("품   명            수량           금액")).normal().rule(kRuleWidth);
    for (const SaleLine &l : d.lines) {
        r.doubleHeight();
        r.line(padRight(l.itName, 22) + QString::number(l.qty) + spaces(4) + padLeft(wonText(l.amount()), 9)
               + QStringLiteral("원"));
        r.normal();
    }
    footer(r, d);
    finish(r);
    return r;
}

QList<Receipt> buildEntranceTickets(const PosReceiptData &d, bool grouped, bool withTitle)
{
    QList<Receipt> out;
    for (const SaleLine &l : d.lines) {
        if (grouped) {
            out.append(ticket(d, l.itName, QString::number(l.qty) + QStringLiteral(" 명"), l.amount(), withTitle));
            continue;
        }
        const qint64 persons = qAbs(l.qty);
        const qint64 unit = unitAmount(l.amount(), persons);
        for (qint64 i = 0; i < persons; ++i)
            out.append(ticket(d, l.itName, QStringLiteral("1 명"), unit, withTitle));
    }
    return out;
}

QList<Receipt> posDocuments(const PosReceiptData &d, bool grouped, bool withTitle)
{
    if (d.headTitle == QLatin1String("1"))
        return buildEntranceTickets(d, grouped, withTitle);
    return {buildPosReceipt(d, withTitle)};
}

PosReceiptData posReceiptData(const StoredVoucher &v, PrintKind kind, const Workstation &ws,
                              const Business &business, const QString &userName)
{
    PosReceiptData d;
    d.date = v.key.slDate;
    d.time = v.time;
    d.posNo = v.posNo;
    d.userName = userName;
    d.userCode = v.key.user;
    d.slNo = v.key.slNo;
    d.lines = v.lines;
    d.cash = v.cash;
    d.card = v.card;
    d.headTitle = ws.headTitle.trimmed();
    d.printMsg = ws.printMsg;
    d.businessName = business.name;
    d.kind = kind;
    return d;
}

} // namespace fitrova
