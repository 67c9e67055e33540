#pragma once
// The enrollment receipt (수강영수증): what it shows of one enrollment and
// how its lines are laid out for the receipt printer.

#include "sales/receipt.h"

#include <QString>
#include <optional>

namespace fitrova {

class AppContext;

struct EnrollmentReceiptData {
    QString businessName, businessTel;
    QString dateTime;   // "YYYY-MM-DD hh:mm:ss"
    QString userName;
    QString mbCode, mbName, mbCard;
    QString rqDate, pgName;
    qint64 monthCnt = 0;
    QString sDate1, sDate2;
    qint64 tAmt = 0, cashAmt = 0, cardAmt = 0;
    bool hasPoints = false;
    qint64 uPoint = 0, mPoint = 0, point = 0;

    qint64 paid() const { return cashAmt + cardAmt; }
    qint64 unpaid() const { return tAmt - paid(); }
};

// "현금+카드" when both were paid, "카드" when only by card, else "현금".
QString paymentKindText(qint64 cash, qint64 card);

// The figures of the enrollment ltid as printed now; nullopt when it is gone.
std::optional<EnrollmentReceiptData> loadEnrollmentReceipt(const AppContext &ctx, qint64 ltid);

// The receipt's lines and printer commands.
Receipt buildEnrollmentReceipt(const EnrollmentReceiptData &d);

// Title of the receipt on the system printer.
inline QString enrollmentReceiptPrinterTitle() { return QStringLiteral("*****수강영수증*****"); }

} // namespace fitrova
