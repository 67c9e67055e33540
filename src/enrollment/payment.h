#pragma once
// Payment of an outstanding amount (미수입금): a later payment against the
// member's unpaid balance, stored as a Lecture row of its own kind (PgGubun
// "4", LtGubun "1", nothing due), so that the outstanding amount, the
// member's history and the daily takings all see it.

#include "data/db.h"
#include "enrollment/enrollresult.h"

#include <QString>
#include <optional>

namespace fitrova {

class AppContext;

inline QString paymentTitle() { return QStringLiteral("미수입금"); }

struct PaymentInput {
    QString jobGubun = QStringLiteral("N");
    qint64 ltid = 0;       // "C": the payment row
    QString mbCode;
    QString payDate;
    qint64 cashAmt = 0, cardAmt = 0;
    QString card;          // card company code; stored only with a card amount
};

// One transaction: the row, points (kind "3", remark "미납입금"), the
// outstanding amount. A payment above the outstanding amount is accepted.
EnrollResult savePayment(const AppContext &ctx, const PaymentInput &in);

std::optional<PaymentInput> loadPayment(const Db &db, qint64 ltid);

} // namespace fitrova
