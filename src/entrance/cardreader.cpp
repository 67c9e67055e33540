#include "entrance/cardreader.h"

#include "foundation/appcontext.h"
#include "foundation/inifile.h"
#include "entrance/gatesettings.h"

#include <QSerialPort>

namespace fitrova {

const char *const kCardDeviceKey = "CardDevice";

QString cardReaderDevice(const AppContext &ctx)
{
    if (ctx.workstation.cardReader.trimmed() != QLatin1String("1"))
        return {};
    const QString configured =
        IniFile(ctx.paths.iniFile).value(QLatin1String(kGateSection), QLatin1String(kCardDeviceKey)).trimmed();
    if (!configured.isEmpty())
        return configured;
    bool ok = false;
    const int port = ctx.workstation.cardPort.trimmed().toInt(&ok);
    if (!ok || port < 1 || port > 8)
        return {};
    return QStringLiteral("/dev/ttyS") + QString::number(port - 1);
}

SerialCardReader::SerialCardReader(QObject *parent) : QObject(parent), m_port(new QSerialPort(this))
{
    connect(m_port, &QSerialPort::readyRead, this, [this] { feed(m_port->readAll()); });
}

SerialCardReader::~SerialCardReader() = default;

bool SerialCardReader::open(const QString &device)
{
    close();
    m_port->setPortName(device);
    if (!m_port->open(QIODevice::ReadOnly))
        return false;
    m_port->setBaudRate(QSerialPort::Baud9600);
    m_port->setDataBits(QSerialPort::Data8);
    m_port->setParity(QSerialPort::NoParity);
    m_port->setStopBits(QSerialPort::OneStop);
    m_port->setFlowControl(QSerialPort::NoFlowControl);
    return true;
}

void SerialCardReader::close()
{
    if (m_port->isOpen())
        m_port->close();
    m_pending.clear();
}

bool SerialCardReader::isOpen() const { return m_port->isOpen(); }

QString SerialCardReader::errorText() const { return m_port->errorString(); }

void SerialCardReader::feed(const QByteArray &bytes)
{
    m_pending += bytes;
    for (;;) {
        qsizetype end = -1;
        for (qsizetype i = 0; i < m_pending.size(); ++i) {
            if (m_pending.at(i) == '\r' || m_pending.at(i) == '\n') {
                end = i;
                break;
            }
        }
        if (end < 0)
            break;
        const QString card = QString::fromLatin1(m_pending.left(end)).trimmed();
        m_pending.remove(0, end + 1);
        if (!card.isEmpty())
            emit cardRead(card);
    }
    if (m_pending.size() > 256) // a reader that never ends a line
        m_pending.clear();
}

} // namespace fitrova
