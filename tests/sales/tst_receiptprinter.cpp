// The receipt transports: the workstation's destination from its print
// type and the configuration, an enrollment receipt through a serial port
// (a pseudo-terminal stands in for the printer's port) and through the
// parallel device file, and the messages when the printer is not there.

#include <QtTest>

#include "foundation/appcontext.h"
#include "foundation/inifile.h"
#include "enrollment/enrollmentreceipt.h"
#include "sales/receiptprinter.h"

#include <QTemporaryDir>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

using namespace fitrova;

namespace {

EnrollmentReceiptData sample()
{
    EnrollmentReceiptData d;
    d.businessName = QStringLiteral("브렌무어스포츠");
    d.businessTel = QStringLiteral("02-123-4567");
    d.dateTime = QStringLiteral("2024-05-10 09:00:00");
    d.userName = QStringLiteral("관리자");
    d.mbCode = QStringLiteral("00000001");
    d.mbName = QStringLiteral("김민지");
    d.rqDate = d.sDate1 = QStringLiteral("2024-05-10");
    d.sDate2 = QStringLiteral("2024-06-09");
    d.pgName = QStringLiteral("새벽수영");
    d.monthCnt = 1;
    d.tAmt = 60000;
    d.cashAmt = 60000;
    return d;
}

// Everything the master side receives until `size` bytes came or time ran out.
QByteArray readMaster(int fd, int size)
{
    QByteArray got;
    QElapsedTimer t;
    t.start();
    while (got.size() < size && t.elapsed() < 5000) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 100) > 0 && (p.revents & POLLIN)) {
            char buf[4096];
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n > 0)
                got.append(buf, int(n));
        }
    }
    return got;
}

} // namespace

class TstReceiptPrinter : public QObject {
    Q_OBJECT
private slots:
    void destination_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("ini");
        QTest::addColumn<int>("route");
        QTest::addColumn<QString>("device");
        QTest::newRow("serial default") << "1" << "2" << "" << int(ReceiptRoute::Serial) << "/dev/ttyS1";
        QTest::newRow("serial configured") << "1" << "3" << "Com3=/dev/ttyUSB0" << int(ReceiptRoute::Serial) << "/dev/ttyUSB0";
        QTest::newRow("parallel default") << "2" << "1" << "" << int(ReceiptRoute::Parallel) << "/dev/lp0";
        QTest::newRow("parallel configured") << "2" << "1" << "LptDevice=/dev/usb/lp1" << int(ReceiptRoute::Parallel) << "/dev/usb/lp1";
        QTest::newRow("driver") << "3" << "1" << "" << int(ReceiptRoute::System) << "";
        QTest::newRow("not set") << "0" << "" << "" << int(ReceiptRoute::System) << "";
    }
    void destination()
    {
        QFETCH(QString, type);
        QFETCH(QString, port);
        QFETCH(QString, ini);
        QFETCH(int, route);
        QFETCH(QString, device);
        QTemporaryDir dir;
        const QString path = dir.filePath("Pginfo.Ini");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("[DATABASE]\nType=ACCESS\n[printer]\n") + ini.toUtf8() + "\n");
        f.close();
        Workstation ws;
        ws.printType = type;
        ws.printPort = port;
        const ReceiptDestination d = receiptDestination(ws, IniFile(path));
        QCOMPARE(int(d.route), route);
        QCOMPARE(d.device, device);
    }

    void serialThroughPseudoTerminal()
    {
        int master = -1, slave = -1;
        char name[256] = {};
        QVERIFY(::openpty(&master, &slave, name, nullptr, nullptr) == 0);
        termios tio{};
        ::tcgetattr(slave, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(slave, TCSANOW, &tio);

        const Receipt receipt = buildEnrollmentReceipt(sample());
        const ReceiptDestination dest{ReceiptRoute::Serial, QString::fromLocal8Bit(name)};
        auto transport = makeReceiptTransport(dest);
        QVERIFY(transport);
        const ReceiptPrintResult r = sendReceipt(*transport, dest, receipt, 2);
        QVERIFY2(r.ok, qPrintable(r.text));

        const QByteArray one = receipt.bytes(ReceiptLineEnd::Serial);
        QVERIFY(one.startsWith(QByteArray(QByteArray("\x1b\x21\x00\x1b\x61\x00\x1b\x21\x08", 9) + "       ***** ")));
        QVERIFY(one.contains("\n\xb0\xad \xbd\xc0 \xb7\xe1 : 60,000\n")); // "강 습 료 : 60,000"
        QVERIFY(one.endsWith(QByteArray("\n\n\n\n\x1b\x69", 6)));
        QCOMPARE(readMaster(master, one.size() * 2), one + one);
        ::close(slave);
        ::close(master);
    }

    void parallelDeviceFile()
    {
        QTemporaryDir dir;
        const ReceiptDestination dest{ReceiptRoute::Parallel, dir.filePath("lp0")};
        const Receipt receipt = buildEnrollmentReceipt(sample());
        DeviceReceiptTransport t(dest.device);
        QVERIFY(sendReceipt(t, dest, receipt, 1).ok);
        QFile f(dest.device);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray got = f.readAll();
        QCOMPARE(got, receipt.bytes(ReceiptLineEnd::Parallel));
        QVERIFY(got.contains(" \r\n \r\n \r\n \r\n\x1b\x69"));
    }

    void absentPrinter_data()
    {
        QTest::addColumn<int>("route");
        QTest::newRow("serial") << int(ReceiptRoute::Serial);
        QTest::newRow("parallel") << int(ReceiptRoute::Parallel);
    }
    void absentPrinter()
    {
        QFETCH(int, route);
        const ReceiptDestination dest{ReceiptRoute(route), QStringLiteral("/nonexistent/printer0")};
        auto t = makeReceiptTransport(dest);
        const ReceiptPrintResult r = sendReceipt(*t, dest, buildEnrollmentReceipt(sample()), 1);
        QVERIFY(!r.ok);
        QVERIFY(r.text.startsWith(QStringLiteral("영수증 프린터(/nonexistent/printer0)로 출력하지 못했읍니다.")));
        QCOMPARE(r.title, QString("영수증출력"));
    }
};

QTEST_GUILESS_MAIN(TstReceiptPrinter)
#include "tst_receiptprinter.moc"
