#pragma once
// What the point of sale prints for a voucher: the receipt (영수증) or the
// entrance tickets (입장권), by the workstation's title setting, as printer
// commands and Korean code-page text for the receipt printer, or as plain
// lines under a title for the system printer.

#include "sales/receipt.h"
#include "sales/saledraft.h"

#include <QList>
#include <QString>

namespace fitrova {

struct StoredVoucher;
struct Workstation;
struct Business;

// Why a voucher is printed; it selects the title.
enum class PrintKind { Sale = 1, Reprint = 2, Refund = 3 };

struct PosReceiptData {
    QString date;     // "YYYY-MM-DD"
    QString time;     // "hh:mm:ss"
    int posNo = 0;
    QString userName, userCode, slNo;
    QList<SaleLine> lines;
    qint64 cash = 0, card = 0;
    QString headTitle; // "1" entrance tickets, "2" receipt, other: no title
    QString printMsg;  // the workstation's message, printed when not empty
    QString businessName;
    PrintKind kind = PrintKind::Sale;

    qint64 discount() const { return totalsOf(lines).discount; }
    qint64 payable() const { return totalsOf(lines).payable; }
};

// The data of a stored voucher as the workstation prints it.
PosReceiptData posReceiptData(const StoredVoucher &v, PrintKind kind, const Workstation &ws,
                              const Business &business, const QString &userName);

// The title line on the receipt printer ("*** 영 수 증 ***", "***입장권(환불)***"
// …) or, with systemPrinter, on the system printer ("*** 계 산 서 ***",
// "***입욕권(재발행)***" …); "" when the title setting has none.
QString posReceiptTitle(const QString &headTitle, PrintKind kind, bool systemPrinter = false);

// "2024-05-10 (금)  09:00:00": the date, the first character of its weekday
// name and the time.
QString receiptDateLine(const QString &date, const QString &time);

// What goes to the printer for the voucher: one receipt, or with the title
// setting "1" entrance tickets — one per line showing its quantity when
// grouped (PrintGroup "1"), otherwise one per person. withTitle false leaves
// the title out (the system printer prints its own above the lines).
QList<Receipt> posDocuments(const PosReceiptData &d, bool grouped, bool withTitle = true);

Receipt buildPosReceipt(const PosReceiptData &d, bool withTitle = true);
QList<Receipt> buildEntranceTickets(const PosReceiptData &d, bool grouped, bool withTitle = true);

} // namespace fitrova
