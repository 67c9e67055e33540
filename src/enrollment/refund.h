#pragma once
// Refund (수강환불): an enrollment ends early and the unused share of what
// was paid goes back, less a deduction in percent of the cash and of the
// card payment (site options). The refund is a Lecture row of kind "4"
// pointing to the enrollment (BLtid); the enrollment ends on the refund date.

#include "data/db.h"
#include "enrollment/enrollcommon.h"
#include "enrollment/enrollresult.h"

#include <QString>

namespace fitrova {

class AppContext;

inline QString refundTitle() { return QStringLiteral("수강환불"); }

// Kinds "0", "1", "2" may be refunded when the course item allows it, once.
Outcome refundEligible(const LectureInfo &l);

struct RefundFigures {
    qint64 totalDays = 0;   // T = end − start
    qint64 remainDays = 0;  // R = end − refund date, within 0 … T
    qint64 amount = 0;
};

// The amount offered for a refund:
//  - T = 0 (start and end the same day): everything paid, cash + card;
//  - otherwise cash ÷ T × R − cash × cashCut ÷ 100 plus the same for the
//    card (a part is 0 when nothing was paid that way), its whole part cut
//    down to whole tens of won. Computed exactly in integers.
// Remaining days are counted within the period (a refund before the start
// gives back the whole period, one after the end nothing), and a deduction
// larger than the unused share offers 0, never a negative refund.
qint64 refundAmountForDays(qint64 cash, qint64 card, qint64 totalDays, qint64 remainDays, int cashCutPercent,
                           int cardCutPercent);
RefundFigures refundFigures(qint64 cash, qint64 card, const QString &sDate1, const QString &sDate2,
                            const QString &refundDate, int cashCutPercent, int cardCutPercent);

struct RefundInput {
    QString jobGubun = QStringLiteral("N");
    qint64 ltid = 0;    // "N": the enrollment; "C": the refund row
    qint64 bLtid = 0;   // "C": its enrollment
    QString refundDate;
    qint64 amount = 0;  // as offered or typed over
    QString payKind = QStringLiteral("1"); // "1" cash, "2" card
};

// "N": the refund row, its points (taken back: the refunded amount earns
// negative points, no more than the enrollment itself earned), the
// enrollment's Cancel link and its end on the refund date. "C": the row rewritten, points again, the enrollment's end moved to
// the new refund date. The amount may not be negative, nor more than an
// enrollment (LtGubun "1") was paid.
EnrollResult saveRefund(const AppContext &ctx, const RefundInput &in);

} // namespace fitrova
