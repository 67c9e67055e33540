#pragma once
// A card reader on a serial port: it sends each card number as a line of
// text (ended by CR and/or LF). Every complete line is handed to the gate as
// if it had been typed into the search field.
//
// The port: the configuration key GATE/CardDevice (a device path such as
// /dev/ttyUSB0) when set, else the workstation's CardPort "1" … "8" as
// /dev/ttyS0 … /dev/ttyS7; 9600 baud, 8 data bits, no parity, 1 stop bit.

#include <QObject>
#include <QString>

class QSerialPort;

namespace fitrova {

class AppContext;

extern const char *const kCardDeviceKey; // "CardDevice" in section GATE

// The device the workstation's reader is on; "" when no reader is configured.
QString cardReaderDevice(const AppContext &ctx);

class SerialCardReader : public QObject {
    Q_OBJECT
public:
    explicit SerialCardReader(QObject *parent = nullptr);
    ~SerialCardReader() override;
    // Opens the device; false (with errorText) when it cannot be opened.
    bool open(const QString &device);
    void close();
    bool isOpen() const;
    QString errorText() const;

    // Splits received bytes into card numbers (used by the port, and by tests).
    void feed(const QByteArray &bytes);

signals:
    void cardRead(const QString &cardNo);

private:
    QSerialPort *m_port;
    QByteArray m_pending;
};

} // namespace fitrova
