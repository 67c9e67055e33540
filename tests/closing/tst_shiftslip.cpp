// The shift slip: the X reading and the closing slip line by line, its
// printer commands, and every line within the receipt's 41 bytes.

#include <QtTest>

#include "closing/shiftslip.h"
#include "data/text.h"

using namespace fitrova;

namespace {

ShiftSlip morning(bool closed)
{
    ShiftSlip s;
    FinishRow &f = s.reading.shift;
    f.fnid = 7;
    f.fnCnt = QStringLiteral("1");
    f.fnChk = closed ? QStringLiteral("1") : QStringLiteral("0");
    f.psCode = QStringLiteral("0002");
    f.userName = QStringLiteral("김은정");
    f.posNo = 1;
    f.befAmt = 50000;
    s.reading.window = {QStringLiteral("2024-05-10"), QStringLiteral("06:40:00"), QStringLiteral("2024-05-10"),
                        QStringLiteral("14:00:00")};
    s.reading.figures.goods = {8500, 16000, 4};
    s.reading.figures.courses = {55000, -2000, 4};
    s.reading.figures.lockers = {20000, 0, 2};
    s.printedDate = QStringLiteral("2024-05-10");
    s.printedTime = QStringLiteral("14:00:05");
    s.businessName = QStringLiteral("한빛스포츠센터");
    if (closed) {
        CashCount c;
        c.qty = {2, 3, 0, 2, 1, 0, 0, 0}; // 132,500
        s.count = c;
        f.cashAmt2 = 82500;
        f.cardAmt2 = 14000;
        f.cashAmt3 = -1000;
        f.cardAmt3 = 0;
        f.totAmt3 = -1000;
        f.cashAmt4 = 82500;
        f.totAmt4 = 96500;
        f.remark = QStringLiteral("거스름돈 착오");
    }
    return s;
}

const QStringList kHead{
    QStringLiteral("2024-05-10 (금)  14:00:05"),
    QStringLiteral("POS: 1  근무자 : 김은정(0002)"),
    QStringLiteral("교대 : 1 교대"),
    QStringLiteral("시작 : 2024-05-10 06:40:00"),
};
const QStringList kFigures{
    QStringLiteral("-----------------------------------------"),
    QStringLiteral("매출내역   건수         현금         카드"),
    QStringLiteral("상품          4        8,500       16,000"),
    QStringLiteral("강좌          4       55,000       -2,000"),
    QStringLiteral("사물함        2       20,000            0"),
    QStringLiteral("-----------------------------------------"),
    QStringLiteral("합계         10       83,500       14,000"),
    QStringLiteral("매출 합계                          97,500"),
};
const QStringList kFoot{
    QStringLiteral("-----------------------------------------"), QString(), QStringLiteral("한빛스포츠센터"),
    QString(), QString(), QString(), QString(),
};

} // namespace

class TstShiftSlip : public QObject {
    Q_OBJECT
private slots:
    void theXReading()
    {
        const Receipt r = buildShiftSlip(morning(false));
        QStringList expected{QStringLiteral("*** 중간점검(X) ***"), QString()};
        expected += kHead;
        expected << QStringLiteral("현재 : 2024-05-10 14:00:00");
        expected += kFigures;
        expected += kFoot;
        QCOMPARE(r.lines(), expected);
    }

    void theClosingSlip()
    {
        const Receipt r = buildShiftSlip(morning(true));
        QStringList expected{QStringLiteral("*** 교대마감 ***"), QString()};
        expected += kHead;
        expected << QStringLiteral("종료 : 2024-05-10 14:00:00");
        expected += kFigures;
        expected += QStringList{
            QStringLiteral("-----------------------------------------"),
            QStringLiteral("현금 시재"),
            QStringLiteral("  50,000원 x 2                    100,000"),
            QStringLiteral("  10,000원 x 3                     30,000"),
            QStringLiteral("  1,000원 x 2                       2,000"),
            QStringLiteral("  500원 x 1                           500"),
            QStringLiteral("현금 시재 합계                    132,500"),
            QStringLiteral("준비금(전잔액)                     50,000"),
            QStringLiteral("현금 입금                          82,500"),
            QStringLiteral("카드 전표                          14,000"),
            QStringLiteral("-----------------------------------------"),
            QStringLiteral("현금 오차                          -1,000"),
            QStringLiteral("카드 오차                               0"),
            QStringLiteral("오차 합계                          -1,000"),
            QStringLiteral("사유 : 거스름돈 착오"),
            QStringLiteral("-----------------------------------------"),
            QStringLiteral("현금 납입                          82,500"),
            QStringLiteral("남긴 준비금                        50,000"),
            QStringLiteral("마감금액                           96,500"),
        };
        expected += kFoot;
        QCOMPARE(r.lines(), expected);
        for (const QString &l : r.lines())
            QVERIFY2(ansiLen(l) <= 41, qPrintable(l));
    }

    void printerCommands()
    {
        const QByteArray b = buildShiftSlip(morning(false)).bytes();
        const QByteArray head = QByteArray(escpos::bold() + escpos::doubleWidth() + escpos::align(1))
            + toCp949(QStringLiteral("*** 중간점검(X) ***")) + '\n';
        QVERIFY(b.startsWith(head));
        QVERIFY(b.endsWith(QByteArray(QByteArray("\n\n\n\n") + escpos::partialCut())));
    }
};

QTEST_GUILESS_MAIN(TstShiftSlip)
#include "tst_shiftslip.moc"
