#pragma once
// Receipts on paper: the system printer route (print type "0" or "3") with
// a fixed-width Korean font, and the one call every screen uses to print a
// receipt on this workstation's receipt printer, whatever its kind.

#include "sales/receipt.h"
#include "sales/receiptprinter.h"

#include <QString>
#include <functional>
#include <memory>

class QPrinter;

namespace fitrova {

class AppContext;

// Prints the receipt's lines under the title on the printer, one page per
// copy, in "NanumGothicCoding" (the fixed-width stand-in of 굴림체). Returns
// "" when printed, else what failed.
QString printReceiptOnPrinter(QPrinter &printer, const Receipt &receipt, const QString &title, int copies);

class ReceiptOutput {
public:
    // Makes the transport of a serial or parallel destination.
    using TransportFactory = std::function<std::unique_ptr<ReceiptTransport>(const ReceiptDestination &)>;
    // Prints through the system printer; "" when printed, else what failed.
    using SystemPrinter = std::function<QString(const Receipt &, const QString &title, int copies)>;

    ReceiptOutput(); // the real transports and the default system printer
    void setTransportFactory(TransportFactory f) { m_factory = std::move(f); }
    void setSystemPrinter(SystemPrinter p) { m_system = std::move(p); }

    // Prints `copies` copies on the workstation's receipt printer
    // (destination from its Pos row and the install's configuration).
    ReceiptPrintResult print(const AppContext &ctx, const Receipt &receipt, const QString &systemTitle,
                             int copies) const;
    // Prints the receipts on one destination: one write on a serial or
    // parallel printer, one page each under the title on the system printer.
    ReceiptPrintResult print(const ReceiptDestination &dest, const QList<Receipt> &receipts,
                             const QString &systemTitle) const;
    // Sends the cash drawer pulse to a serial or parallel destination.
    ReceiptPrintResult openDrawer(const ReceiptDestination &dest) const;

private:
    ReceiptPrintResult printOnSystem(const Receipt &receipt, const QString &title, int copies) const;

    TransportFactory m_factory;
    SystemPrinter m_system;
};

// The system printer with no printer installed gives this text.
inline QString noSystemPrinterText() { return QStringLiteral("설치된 프린터가 없읍니다"); }

} // namespace fitrova
