// Receipt bytes: printer commands, text in the Korean code page, line ends
// of the serial and the parallel printer, rules and amounts.

#include <QtTest>

#include "sales/receipt.h"

using namespace fitrova;

class TstReceipt : public QObject {
    Q_OBJECT
private slots:
    void commands()
    {
        QCOMPARE(escpos::bold(), QByteArray("\x1b\x21\x08", 3));
        QCOMPARE(escpos::doubleHeight(), QByteArray("\x1b\x21\x10", 3));
        QCOMPARE(escpos::doubleWidth(), QByteArray("\x1b\x21\x20", 3));
        QCOMPARE(escpos::normal(), QByteArray("\x1b\x21\x00", 3));
        QCOMPARE(escpos::align(1), QByteArray("\x1b\x61\x01", 3));
        QCOMPARE(escpos::partialCut(), QByteArray("\x1b\x69", 2));
        QCOMPARE(escpos::openDrawer(), QByteArray("\x1b\x70\x30\x5a\x5a", 5));
    }

    void bytes_data()
    {
        QTest::addColumn<int>("end");
        QTest::addColumn<QByteArray>("expected");
        // "수강" in windows-949 is BC F6 B0 AD.
        const QByteArray body = QByteArray("\x1b\x21\x08", 3) + "\xbc\xf6\xb0\xad";
        QTest::newRow("serial") << int(ReceiptLineEnd::Serial)
                                << QByteArray(body + "\n" + QByteArray("\x1b\x21\x00", 3) + "A-1\n\n" +
                                              QByteArray("\x1b\x61\x01", 3) + "---\n" + QByteArray("\x1b\x69", 2));
        QTest::newRow("parallel") << int(ReceiptLineEnd::Parallel)
                                  << QByteArray(body + "\r\n" + QByteArray("\x1b\x21\x00", 3) + "A-1\r\n \r\n" +
                                                QByteArray("\x1b\x61\x01", 3) + "---\r\n" + QByteArray("\x1b\x69", 2));
    }
    void bytes()
    {
        QFETCH(int, end);
        Receipt r;
        r.bold().line(QStringLiteral("수강")).normal().line("A-1").blank().align(1).rule(3).cut();
        QFETCH(QByteArray, expected);
        QCOMPARE(r.bytes(ReceiptLineEnd(end)), expected);
        QCOMPARE(r.lines(), QStringList({"수강", "A-1", "", "---"}));
        const auto plain = r.plainLines();
        QCOMPARE(plain[0].style, Receipt::Style::Bold);
        QCOMPARE(plain[3].align, 1);
    }

    void textOutsideTheCodePage()
    {
        Receipt r;
        r.line(QStringLiteral("₩😀"));
        QCOMPARE(r.bytes(), QByteArray("??\n"));
    }

    void money_data()
    {
        QTest::addColumn<qint64>("won");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << qint64(0) << "0";
        QTest::newRow("hundreds") << qint64(900) << "900";
        QTest::newRow("thousands") << qint64(36000) << "36,000";
        QTest::newRow("millions") << qint64(1234567) << "1,234,567";
        QTest::newRow("negative") << qint64(-12000) << "-12,000";
    }
    void money()
    {
        QFETCH(qint64, won);
        QFETCH(QString, text);
        QCOMPARE(wonText(won), text);
        QCOMPARE(receiptRule(38).size(), 38);
    }
};

QTEST_GUILESS_MAIN(TstReceipt)
#include "tst_receipt.moc"
