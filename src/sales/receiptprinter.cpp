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

ReceiptDestination receiptDestination(const Workstation &ws, const IniFile &ini)
{
    ReceiptDestination d;
    const QString type = ws.printType.trimmed();
    if (type == QLatin1String("1")) {
        d.route = ReceiptRoute::Serial;
        const QString key = QStringLiteral("Com%1").arg(portNumber(ws.printPort));
        d.device = ini.value(kSection, key).trimmed();
        if (d.device.isEmpty())
            d.device = defaultSerialDevice(ws.printPort);
    } else if (type == QLatin1String("2")) {
        d.route = ReceiptRoute::Parallel;
        d.device = ini.value(kSection, QStringLiteral("LptDevice")).trimmed();
        if (d.device.isEmpty())
            d.device = defaultParallelDevice();
    } else {
        d.route = ReceiptRoute::System;
    }
    return d;
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
    const QByteArray one = receipt.bytes(dest.lineEnd());
    QByteArray all;
    for (int i = 0; i < qMax(1, copies); ++i)
        all += one;
    const QString error = transport.send(all);
    if (error.isEmpty())
        return {};
    return {false,
            QStringLiteral("영수증 프린터(%1)로 출력하지 못했읍니다.\n프린터의 전원과 연결을 확인하세요.\n(%2)")
                .arg(dest.device, error),
            receiptPrintTitle()};
}

} // namespace fitrova
