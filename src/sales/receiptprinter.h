#pragma once
// Where receipt bytes go: the workstation's receipt printer on a serial port
// (9600 baud, no parity, 8 data bits, 1 stop bit) or on the parallel port,
// which is written as a device file. The system printer (print type "0" or
// "3") is a screen-side route (sales/ui/systemreceiptprinter.h).
//
// The workstation names its printer by print type and port number (Pos row).
// The device behind a number is configured in the install's Pginfo.Ini,
// section PRINTER:
//   Com1 … Com8   serial device of port n   (default /dev/ttyS0 … /dev/ttyS7)
//   LptDevice     the device "LPT1:" stands for (default /dev/lp0)

#include "sales/receipt.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>

namespace fitrova {

class IniFile;
struct Workstation;

enum class ReceiptRoute { Serial, Parallel, System };

struct ReceiptDestination {
    ReceiptRoute route = ReceiptRoute::System;
    QString device; // serial port name or parallel device path
    ReceiptLineEnd lineEnd() const
    {
        return route == ReceiptRoute::Parallel ? ReceiptLineEnd::Parallel : ReceiptLineEnd::Serial;
    }
};

// The workstation's first receipt printer: print type "1" serial on its
// port, "2" the parallel device, anything else the system printer.
ReceiptDestination receiptDestination(const Workstation &ws, const IniFile &ini);

// Printer 1 or 2 of the workstation's Pos row for the point of sale, when it
// is switched on (posprint / posprint2 "1"): print type "1" serial on its
// port, "2" the parallel device, "0" or "3" the system printer; nothing when
// it is switched off or its type is none of these.
std::optional<ReceiptDestination> posPrinterDestination(const Workstation &ws, const IniFile &ini, int printer);

// Where the cash drawer pulse goes, by the first printer's type: "1" the
// serial port of that printer, "0" and "2" the parallel device; nothing for
// other types (a drawer on a driver-only printer is not reachable).
std::optional<ReceiptDestination> drawerDestination(const Workstation &ws, const IniFile &ini);

// The drawer pulse alone (1B 70 30 5A 5A, nothing after it).
Receipt drawerPulse();

// Default serial device of port n ("1" … "8"; anything else counts as 1).
QString defaultSerialDevice(const QString &port);
QString defaultParallelDevice();

// Sends bytes somewhere. Returns "" when everything was written, else a
// description of what failed.
class ReceiptTransport {
public:
    virtual ~ReceiptTransport() = default;
    virtual QString send(const QByteArray &bytes) = 0;
};

// A serial port opened for each receipt at 9600 8N1 and closed again.
class SerialReceiptTransport final : public ReceiptTransport {
public:
    explicit SerialReceiptTransport(QString portName, int timeoutMs = 5000)
        : m_port(std::move(portName)), m_timeout(timeoutMs) {}
    QString send(const QByteArray &bytes) override;
private:
    QString m_port;
    int m_timeout;
};

// A device (or file) opened for writing for each receipt.
class DeviceReceiptTransport final : public ReceiptTransport {
public:
    explicit DeviceReceiptTransport(QString path) : m_path(std::move(path)) {}
    QString send(const QByteArray &bytes) override;
private:
    QString m_path;
};

// Transport of a serial or parallel destination; nullptr for the system printer.
std::unique_ptr<ReceiptTransport> makeReceiptTransport(const ReceiptDestination &dest);

struct ReceiptPrintResult {
    bool ok = true;
    QString text, title; // the message when not ok
};

inline QString receiptPrintTitle() { return QStringLiteral("영수증출력"); }

// Sends `copies` copies of the receipt (at least one) through the transport
// in one write. A failure gives the Korean message naming the device.
ReceiptPrintResult sendReceipt(ReceiptTransport &transport, const ReceiptDestination &dest,
                               const Receipt &receipt, int copies);
// Sends the receipts one after the other in one write.
ReceiptPrintResult sendReceipts(ReceiptTransport &transport, const ReceiptDestination &dest,
                                const QList<Receipt> &receipts);
// Sends the cash drawer pulse; a failure says the drawer did not open.
ReceiptPrintResult sendDrawerPulse(ReceiptTransport &transport, const ReceiptDestination &dest);
inline QString drawerTitle() { return QStringLiteral("돈통"); }

} // namespace fitrova
