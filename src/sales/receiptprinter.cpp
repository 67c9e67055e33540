#include "sales/receiptprinter.h"

#include "foundation/appcontext.h"
#include "foundation/inifile.h"

#include <QFile>
#include <QSerialPort>

namespace fitrova {

namespace {
const QString kSection = QStringLiteral("PRINTER");

int portNumber(const QString &port)
{
    bool ok = false;
    const int n = port.trimmed().toInt(&ok);
    return ok && n >= 1 && n <= 8 ? n : 1;
}
} // namespace

QString defaultSerialDevice(const QString &port)
{
    return QStringLiteral("/dev/ttyS%1").arg(portNumber(port) - 1);
}

QString defaultParallelDevice() { return QStringLiteral("/dev/lp0"); }

namespace {

ReceiptDestination serialDestination(const QString &port, const IniFile &ini)
{
    ReceiptDestination d;
    d.route = ReceiptRoute::Serial;
    d.device = ini.value(kSection, QStringLiteral("Com%1").arg(portNumber(port))).trimmed();
    if (d.device.isEmpty())
        d.device = defaultSerialDevice(port);
    return d;
}

ReceiptDestination parallelDestination(const IniFile &ini)
{
    ReceiptDestination d;
    d.route = ReceiptRoute::Parallel;
    d.device = ini.value(kSection, QStringLiteral("LptDevice")).trimmed();
    if (d.device.isEmpty())
        d.device = defaultParallelDevice();
    return d;
}

} // namespace

ReceiptDestination receiptDestination(const Workstation &ws, const IniFile &ini)
{
    const QString type = ws.printType.trimmed();
    if (type == QLatin1String("1"))
        return serialDestination(ws.printPort, ini);
    if (type == QLatin1String("2"))
        return parallelDestination(ini);
    return ReceiptDestination{};
}

std::optional<ReceiptDestination> posPrinterDestination(const Workstation &ws, const IniFile &ini, int printer)
{
    const bool second = printer == 2;
    if ((second ? ws.posPrint2 : ws.posPrint).trimmed() != QLatin1String("1"))
        return std::nullopt;
    const QString type = (second ? ws.printType2 : ws.printType).trimmed();
    if (type == QLatin1String("1"))
        return serialDestination(second ? ws.printPort2 : ws.printPort, ini);
    if (type == QLatin1String("2"))
        return parallelDestination(ini);
    if (type == QLatin1String("0") || type == QLatin1String("3"))
        return ReceiptDestination{};
    return std::nullopt;
}

std::optional<ReceiptDestination> drawerDestination(const Workstation &ws, const IniFile &ini)
{
    const QString type = ws.printType.trimmed();
    if (type == QLatin1String("1"))
        return serialDestination(ws.printPort, ini);
    if (type == QLatin1String("0") || type == QLatin1String("2"))
        return parallelDestination(ini);
    return std::nullopt;
}

Receipt drawerPulse()
{
    Receipt r;
    r.drawer();
    return r;
}

QString SerialReceiptTransport::send(const QByteArray &bytes)
{
    QSerialPort port;
    port.setPortName(m_port);
    if (!port.open(QIODevice::ReadWrite) && !port.open(QIODevice::WriteOnly))
        return port.errorString();
    port.setBaudRate(QSerialPort::Baud9600);
    port.setParity(QSerialPort::NoParity);
    port.setDataBits(QSerialPort::Data8);
    port.setStopBits(QSerialPort::OneStop);
    port.setFlowControl(QSerialPort::NoFlowControl);
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 n = port.write(bytes.constData() + written, bytes.size() - written);
        if (n < 0)
            return port.errorString();
        written += n;
        if (!port.waitForBytesWritten(m_timeout) && port.bytesToWrite() > 0)
            return port.errorString().isEmpty() ? QStringLiteral("timeout") : port.errorString();
    }
    while (port.bytesToWrite() > 0)
        if (!port.waitForBytesWritten(m_timeout))
            return QStringLiteral("timeout");
    port.close();
    return {};
}

QString DeviceReceiptTransport::send(const QByteArray &bytes)
{
    QFile f(m_path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return f.errorString();
    if (f.write(bytes) != bytes.size())
        return f.errorString();
    f.close();
    return {};
}

std::unique_ptr<ReceiptTransport> makeReceiptTransport(const ReceiptDestination &dest)
{
    if (dest.route == ReceiptRoute::Serial)
        return std::make_unique<SerialReceiptTransport>(dest.device);
    if (dest.route == ReceiptRoute::Parallel)
        return std::make_unique<DeviceReceiptTransport>(dest.device);
    return nullptr;
}

ReceiptPrintResult sendReceipt(ReceiptTransport &transport, const ReceiptDestination &dest, const Receipt &receipt,
                               int copies)
{
    QList<Receipt> all;
    for (int i = 0; i < qMax(1, copies); ++i)
        all.append(receipt);
    return sendReceipts(transport, dest, all);
}

ReceiptPrintResult sendReceipts(ReceiptTransport &transport, const ReceiptDestination &dest,
                                const QList<Receipt> &receipts)
{
    QByteArray all;
    for (const Receipt &r : receipts)
        all += r.bytes(dest.lineEnd());
    const QString error = transport.send(all);
    if (error.isEmpty())
        return {};
    return {false,
            QStringLiteral("영수증 프린터(%1)로 출력하지 못했읍니다.\n프린터의 전원과 연결을 확인하세요.\n(%2)")
                .arg(dest.device, error),
            receiptPrintTitle()};
}

ReceiptPrintResult sendDrawerPulse(ReceiptTransport &transport, const ReceiptDestination &dest)
{
    const QString error = transport.send(drawerPulse().bytes(dest.lineEnd()));
    if (error.isEmpty())
        return {};
    return {false, QStringLiteral("돈통을 열지 못했읍니다.\n프린터(%1)의 전원과 연결을 확인하세요.\n(%2)").arg(dest.device, error),
            drawerTitle()};
}

} // namespace fitrova
