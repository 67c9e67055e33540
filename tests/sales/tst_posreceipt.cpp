// What the point of sale prints: the receipt and the entrance tickets byte by
// byte for the serial and the parallel printer, the titles of every kind, the
// drawer pulse, and the bytes read back on the far side of a serial port (a
// pseudo-terminal stands in for the printer).

#include <QtTest>

#include "data/text.h"
#include "foundation/appcontext.h"
#include "foundation/inifile.h"
#include "sales/posreceipt.h"
#include "sales/receiptprinter.h"

#include <QTemporaryDir>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

using namespace fitrova;

namespace {

PosReceiptData sample()
{
    PosReceiptData d;
    d.date = "2024-05-10";
    d.time = "09:00:00";
    d.posNo = 3;
    d.userName = "관리자";
    d.userCode = "0001";
    d.slNo = "0007";
    SaleLine pass;
    pass.itName = "자유수영";
    pass.qty = 3;
    pass.cost = 1500;
    pass.dcYul = 15;
    pass.dcAmt = 675;
    SaleLine cap;
    cap.itName = "수모";
    cap.qty = 1;
    cap.cost = 8000;
    d.lines = {pass, cap};
    d.cash = 3000;
    d.card = 8825;
    d.headTitle = "2";
    d.businessName = "브렌무어스포츠";
    return d;
}

const QByteArray ESC = "\x1b";
QByteArray bold() { return ESC + "!\x08"; }
QByteArray dwidth() { return ESC + "! "; }
QByteArray dheight() { return ESC + "!\x10"; }
QByteArray normal() { return QByteArray("\x1b!\x00", 3); }
QByteArray align(char n) { return ESC + "a" + QByteArray(1, n); }
QByteArray cut() { return ESC + "i"; }
QByteArray ko(const char *s) { return toCp949(QString::fromUtf8(s)); }
QByteArray rule() { return QByteArray(41, '-'); }

// The receipt of sample() as the printer gets it, written out by hand: the
// serial printer ends lines with LF and feeds a blank line with a bare LF,
// the parallel device file ends lines with CR LF and writes a blank line as
// one space.
QByteArray expectedReceipt(bool parallel)
{
    const QByteArray E = parallel ? "\r\n" : "\n";
    const QByteArray B = parallel ? " \r\n" : "\n";
    QByteArray b;
    b += bold() + dwidth() + align(1) + ko("*** 영 수 증 ***") + E + B;
    b += B + normal() + align(0);
    b += ko("2024-05-10 (금)  09:00:00") + E;
    b += ko("POS: 3  접수자 : 관리자   No: 0001-0007") + E;
    b += rule() + E;
    b += bold() + ko("품   명            수량           금액") + E + normal() + rule() + E;
    b += dheight() + ko("자유수영") + QByteArray(14, ' ') + "3" + "    " + "    3,825" + ko("원") + E + normal();
    b += dheight() + ko("수모") + QByteArray(18, ' ') + "1" + "    " + "    8,000" + ko("원") + E + normal();
    b += rule() + E;
    b += ko(" 현금 : ") + "     3,000" + ko(" 원  할인 : ") + "       675" + ko(" 원") + E;
    b += ko(" 카드 : ") + QByteArray(17, ' ') + "     8,825" + ko(" 원") + E;
    b += ko(" 합계 : ") + QByteArray(17, ' ') + "    11,825" + ko(" 원") + E;
    b += rule() + E;
    b += ko(" 본권은 당일에 한합니다") + E;
    b += B + dwidth() + align(1) + ko("브렌무어스포츠") + E + normal();
    b += B + B + B + B + cut();
    return b;
}

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

class TstPosReceipt : public QObject {
    Q_OBJECT
private slots:
    void receiptBytes()
    {
        const Receipt r = buildPosReceipt(sample());
        QCOMPARE(r.bytes(ReceiptLineEnd::Serial), expectedReceipt(false));
        QCOMPARE(r.bytes(ReceiptLineEnd::Parallel), expectedReceipt(true));
        // "원" and "금" in the Korean code page, as the printer decodes them.
        QVERIFY(expectedReceipt(false).contains("\xbf\xf8\n"));
        QVERIFY(expectedReceipt(false).contains("(\xb1\xdd)"));
    }

    // Without a discount the cash line lines up with the card and total lines;
    // the workstation's message stands between blank lines.
    void receiptWithoutDiscountAndWithMessage()
    {
        PosReceiptData d = sample();
        d.lines[0].dcYul = 0;
        d.lines[0].dcAmt = 0;
        d.cash = 3675;
        d.printMsg = "즐거운 하루 되세요";
        const QStringList lines = buildPosReceipt(d).lines();
        const int at = lines.indexOf(QString(" 현금 : ") + QString(17, ' ') + "     3,675 원");
        QVERIFY(at > 0);
        QCOMPARE(lines.at(at + 1).size(), lines.at(at).size());
        const int msg = lines.indexOf("즐거운 하루 되세요");
        QCOMPARE(lines.at(msg - 1), QString());
        QCOMPARE(lines.at(msg + 1), QString());
        QCOMPARE(lines.at(msg - 2), QString(" 본권은 당일에 한합니다"));
    }

    void titles_data()
    {
        QTest::addColumn<QString>("head");
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("system");
        QTest::addColumn<QString>("title");
        QTest::newRow("ticket") << "1" << 1 << false << "*** 입 장 권 ***";
        QTest::newRow("ticket reprint") << "1" << 2 << false << "***입장권(재발행)***";
        QTest::newRow("ticket refund") << "1" << 3 << false << "***입장권(환불)***";
        QTest::newRow("receipt") << "2" << 1 << false << "*** 영 수 증 ***";
        QTest::newRow("receipt reprint") << "2" << 2 << false << "***영수증(재발행)***";
        QTest::newRow("receipt refund") << "2" << 3 << false << "***영수증(환불)***";
        QTest::newRow("system ticket") << "1" << 1 << true << "*** 입 욕 권 ***";
        QTest::newRow("system ticket refund") << "1" << 3 << true << "***입욕권(환불)***";
        QTest::newRow("system receipt") << "2" << 1 << true << "*** 계 산 서 ***";
        QTest::newRow("system receipt reprint") << "2" << 2 << true << "***계산서(재발행)***";
        QTest::newRow("no title") << "0" << 1 << false << "";
    }
    void titles()
    {
        QFETCH(QString, head);
        QFETCH(int, kind);
        QFETCH(bool, system);
        QFETCH(QString, title);
        QCOMPARE(posReceiptTitle(head, PrintKind(kind), system), title);
    }

    void noTitleSetting()
    {
        PosReceiptData d = sample();
        d.headTitle = "0";
        const QByteArray b = buildPosReceipt(d).bytes();
        QVERIFY(b.startsWith(QByteArray(bold() + dwidth() + align(1) + "\n" + normal() + align(0) + ko("2024-05-10"))));
    }

    void entranceTickets_data()
    {
        QTest::addColumn<bool>("grouped");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("one per person") << false
                                        << QStringList{"자유수영" + QString(12, ' ') + "1 명   " + "    1,275원",
                                                       "자유수영" + QString(12, ' ') + "1 명   " + "    1,275원",
                                                       "자유수영" + QString(12, ' ') + "1 명   " + "    1,275원",
                                                       "수모" + QString(16, ' ') + "1 명   " + "    8,000원"};
        QTest::newRow("one per line") << true
                                      << QStringList{"자유수영" + QString(12, ' ') + "3 명   " + "    3,825원",
                                                     "수모" + QString(16, ' ') + "1 명   " + "    8,000원"};
    }
    void entranceTickets()
    {
        QFETCH(bool, grouped);
        QFETCH(QStringList, lines);
        PosReceiptData d = sample();
        d.headTitle = "1";
        d.kind = PrintKind::Refund;
        const QList<Receipt> tickets = posDocuments(d, grouped);
        QCOMPARE(tickets.size(), lines.size());
        for (int i = 0; i < tickets.size(); ++i) {
            const QByteArray b = tickets.at(i).bytes();
            QVERIFY(b.startsWith(QByteArray(bold() + dwidth() + align(1) + ko("***입장권(환불)***") + "\n\n" + normal())));
            QVERIFY2(b.contains(QByteArray(dheight() + toCp949(lines.at(i)) + "\n" + normal() + rule())),
                     qPrintable(tickets.at(i).lines().join("|")));
            QVERIFY(b.contains(QByteArray(ko(" 합계 : ") + QByteArray(17, ' ') + "    11,825")));
            QVERIFY(b.endsWith(QByteArray("\n\n\n\n" + cut())));
        }
    }

    // For the system printer the title is left to the page header.
    void systemPrinterLines()
    {
        const Receipt r = buildPosReceipt(sample(), false);
        QCOMPARE(r.lines().first(), QString());
        QCOMPARE(r.lines().at(1), QString("2024-05-10 (금)  09:00:00"));
        QVERIFY(!r.lines().join("\n").contains("영 수 증"));
    }

    void dateLines_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("line");
        QTest::newRow("Sunday") << "2024-05-12" << "2024-05-12 (일)  10:00:00";
        QTest::newRow("Monday") << "2024-05-13" << "2024-05-13 (월)  10:00:00";
    }
    void dateLines()
    {
        QFETCH(QString, date);
        QFETCH(QString, line);
        QCOMPARE(receiptDateLine(date, "10:00:00"), line);
    }

    void drawerPulseBytes()
    {
        const QByteArray pulse("\x1b\x70\x30\x5a\x5a", 5);
        QCOMPARE(drawerPulse().bytes(ReceiptLineEnd::Serial), pulse);
        QCOMPARE(drawerPulse().bytes(ReceiptLineEnd::Parallel), pulse);
    }

    void destinations_data()
    {
        QTest::addColumn<QString>("on");
        QTest::addColumn<QString>("type");
        QTest::addColumn<int>("route"); // -1 none
        QTest::addColumn<int>("drawer"); // -1 none
        QTest::newRow("serial") << "1" << "1" << int(ReceiptRoute::Serial) << int(ReceiptRoute::Serial);
        QTest::newRow("parallel") << "1" << "2" << int(ReceiptRoute::Parallel) << int(ReceiptRoute::Parallel);
        QTest::newRow("system, drawer on LPT1") << "1" << "0" << int(ReceiptRoute::System) << int(ReceiptRoute::Parallel);
        QTest::newRow("driver, no drawer") << "1" << "3" << int(ReceiptRoute::System) << -1;
        QTest::newRow("switched off") << "0" << "1" << -1 << int(ReceiptRoute::Serial);
        QTest::newRow("unknown type") << "1" << "9" << -1 << -1;
    }
    void destinations()
    {
        QFETCH(QString, on);
        QFETCH(QString, type);
        QFETCH(int, route);
        QFETCH(int, drawer);
        QTemporaryDir dir;
        const IniFile ini(dir.filePath("Pginfo.Ini"));
        Workstation ws;
        ws.posPrint = on;
        ws.printType = type;
        ws.printPort = "2";
        ws.posPrint2 = "1";
        ws.printType2 = "1";
        ws.printPort2 = "4";
        const auto first = posPrinterDestination(ws, ini, 1);
        QCOMPARE(first ? int(first->route) : -1, route);
        if (first && first->route == ReceiptRoute::Serial)
            QCOMPARE(first->device, QString("/dev/ttyS1"));
        const auto second = posPrinterDestination(ws, ini, 2);
        QVERIFY(second);
        QCOMPARE(second->device, QString("/dev/ttyS3"));
        const auto d = drawerDestination(ws, ini);
        QCOMPARE(d ? int(d->route) : -1, drawer);
    }

    void throughSerialPort()
    {
        int master = -1, slave = -1;
        char name[256] = {};
        QVERIFY(::openpty(&master, &slave, name, nullptr, nullptr) == 0);
        termios tio{};
        ::tcgetattr(slave, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(slave, TCSANOW, &tio);
        const ReceiptDestination dest{ReceiptRoute::Serial, QString::fromLocal8Bit(name)};
        PosReceiptData d = sample();
        d.headTitle = "1";
        const QList<Receipt> tickets = posDocuments(d, true);
        SerialReceiptTransport port(dest.device);
        QVERIFY(sendDrawerPulse(port, dest).ok);
        QVERIFY(sendReceipts(port, dest, tickets).ok);
        const QByteArray want = QByteArray("\x1b\x70\x30\x5a\x5a", 5) + tickets.at(0).bytes() + tickets.at(1).bytes();
        QCOMPARE(readMaster(master, want.size()), want);
        ::close(slave);
        ::close(master);
    }

    void absentDrawer()
    {
        const ReceiptDestination dest{ReceiptRoute::Parallel, "/nonexistent/lp9"};
        DeviceReceiptTransport t(dest.device);
        const ReceiptPrintResult r = sendDrawerPulse(t, dest);
        QVERIFY(!r.ok);
        QVERIFY(r.text.startsWith("돈통을 열지 못했읍니다."));
        QVERIFY(r.text.contains("/nonexistent/lp9"));
        QCOMPARE(r.title, QString("돈통"));
    }
};

QTEST_GUILESS_MAIN(TstPosReceipt)
#include "tst_posreceipt.moc"
