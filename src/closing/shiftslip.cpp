#include "closing/shiftslip.h"

#include "data/dates.h"
#include "data/text.h"

namespace fitrova {

namespace {

constexpr int kWidth = 41;

QString row(const QString &label, qint64 count, qint64 cash, qint64 card)
{
    return receiptColumns({label, QString::number(count), wonText(cash), wonText(card)}, {10, 5, 13, 13},
                          {false, true, true, true});
}

QString who(const FinishRow &f)
{
    return (f.userName.isEmpty() ? f.psCode : f.userName) + QStringLiteral("(") + f.psCode + QStringLiteral(")");
}

} // namespace

QString shiftSlipTitle(const ShiftSlip &s)
{
    return s.closed() ? QStringLiteral("*** 교대마감 ***") : QStringLiteral("*** 중간점검(X) ***");
}

Receipt buildShiftSlip(const ShiftSlip &s)
{
    const FinishRow &f = s.reading.shift;
    const TimeWindow &w = s.reading.window;
    const ShiftFigures &fig = s.reading.figures;
    Receipt r;
    r.bold().doubleWidth().align(1).line(shiftSlipTitle(s));
    r.blank().normal().align(0);
    const QDate printed = dateFromText(s.printedDate);
    r.line(s.printedDate + QStringLiteral(" (") + weekdayName(printed).left(1) + QStringLiteral(")  ") + s.printedTime);
    r.line(QStringLiteral("POS: ") + QString::number(f.posNo) + QStringLiteral("  근무자 : ") + who(f));
    r.line(QStringLiteral("교대 : ") + shiftText(f));
    r.line(QStringLiteral("시작 : ") + w.fromDate + QLatin1Char(' ') + w.fromTime);
    r.line((s.closed() ? QStringLiteral("종료 : ") : QStringLiteral("현재 : ")) + w.toDate + QLatin1Char(' ') + w.toTime);
    r.rule(kWidth);
    r.bold().line(receiptColumns({QStringLiteral("매출내역"), QStringLiteral("건수"), QStringLiteral("현금"),
                                  QStringLiteral("카드")},
                                 {10, 5, 13, 13}, {false, true, true, true}));
    r.normal();
    r.line(row(QStringLiteral("상품"), fig.goods.count, fig.goods.cash, fig.goods.card));
    r.line(row(QStringLiteral("강좌"), fig.courses.count, fig.courses.cash, fig.courses.card));
    r.line(row(QStringLiteral("사물함"), fig.lockers.count, fig.lockers.cash, fig.lockers.card));
    r.rule(kWidth);
    const Takings total = fig.total();
    r.line(row(QStringLiteral("합계"), total.count, total.cash, total.card));
    r.line(receiptAmountLine(QStringLiteral("매출 합계"), total.total(), kWidth));

    if (s.closed()) {
        r.rule(kWidth);
        r.bold().line(QStringLiteral("현금 시재")).normal();
        qint64 counted = 0;
        if (s.count) {
            for (size_t i = 0; i < CashCount::kUnits.size(); ++i) {
                const qint64 q = s.count->qty[i];
                if (q == 0)
                    continue;
                const qint64 unit = CashCount::kUnits[i];
                r.line(receiptAmountLine(QStringLiteral("  %1원 x %2").arg(wonText(unit)).arg(q), unit * q, kWidth));
            }
            counted = s.count->cash();
        }
        r.line(receiptAmountLine(QStringLiteral("현금 시재 합계"), counted, kWidth));
        r.line(receiptAmountLine(QStringLiteral("준비금(전잔액)"), f.befAmt, kWidth));
        r.line(receiptAmountLine(QStringLiteral("현금 입금"), f.cashAmt2, kWidth));
        r.line(receiptAmountLine(QStringLiteral("카드 전표"), f.cardAmt2, kWidth));
        r.rule(kWidth);
        r.line(receiptAmountLine(QStringLiteral("현금 오차"), f.cashAmt3, kWidth));
        r.line(receiptAmountLine(QStringLiteral("카드 오차"), f.cardAmt3, kWidth));
        r.line(receiptAmountLine(QStringLiteral("오차 합계"), f.totAmt3, kWidth));
        if (!f.remark.trimmed().isEmpty())
            r.line(QStringLiteral("사유 : ") + f.remark.trimmed());
        r.rule(kWidth);
        r.line(receiptAmountLine(QStringLiteral("현금 납입"), f.cashAmt4, kWidth));
        r.line(receiptAmountLine(QStringLiteral("남긴 준비금"), counted - f.cashAmt4, kWidth));
        r.bold().line(receiptAmountLine(QStringLiteral("마감금액"), f.totAmt4, kWidth)).normal();
    }
    r.rule(kWidth);
    r.blank().doubleWidth().align(1).line(s.businessName).normal().align(0);
    r.blank(4).cut();
    return r;
}

} // namespace fitrova
