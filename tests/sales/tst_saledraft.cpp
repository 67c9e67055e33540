// The voucher being put together at the counter: lines merged by item, the
// keypad's quantity and the two kinds of discount, the totals, the
// refusals of the keypad keys, and the captions of the item buttons.

#include <QtTest>

#include "sales/poscatalogue.h"
#include "sales/saledraft.h"

using namespace fitrova;

class TstSaleDraft : public QObject {
    Q_OBJECT
private slots:
    void rateDiscount_data()
    {
        QTest::addColumn<qint64>("gross");
        QTest::addColumn<double>("rate");
        QTest::addColumn<qint64>("discount");
        QTest::newRow("15 % of 4,500") << qint64(4500) << 15.0 << qint64(675);
        QTest::newRow("truncated, not rounded") << qint64(999) << 10.0 << qint64(99);
        QTest::newRow("half a percent step") << qint64(10000) << 12.5 << qint64(1250);
        QTest::newRow("29 % of 100 stays 29") << qint64(100) << 29.0 << qint64(29);
        QTest::newRow("whole") << qint64(3000) << 100.0 << qint64(3000);
        QTest::newRow("refund line truncates toward zero") << qint64(-999) << 10.0 << qint64(-99);
        QTest::newRow("no rate") << qint64(3000) << 0.0 << qint64(0);
    }
    void rateDiscount()
    {
        QFETCH(qint64, gross);
        QFETCH(double, rate);
        QFETCH(qint64, discount);
        QCOMPARE(fitrova::rateDiscount(gross, rate), discount);
    }

    void rateOnThreeItems()
    {
        SaleDraft d;
        QCOMPARE(d.addItem(7, "01", "자유수영", 1500), 0);
        QVERIFY(!d.setQuantity(0, 3));
        QVERIFY(!d.setDiscountRate(0, 15));
        const SaleLine &l = d.line(0);
        QCOMPARE(l.gross(), 4500);
        QCOMPARE(l.dcAmt, 675);
        QCOMPARE(l.amount(), 3825);
        QCOMPARE(rateText(l.dcYul), QString("15 %"));
        QCOMPARE(d.totals(), (SaleTotals{4500, 675, 3825}));
    }

    void sameItemTwiceIsOneLine()
    {
        SaleDraft d;
        d.addItem(7, "01", "자유수영", 1500);
        d.addItem(8, "02", "수모", 8000);
        QCOMPARE(d.addItem(7, "01", "자유수영", 1500), 0);
        QCOMPARE(d.size(), 2);
        QCOMPARE(d.line(0).qty, 2);
        QCOMPARE(d.line(0).amount(), 3000);
        QCOMPARE(d.totals().payable, 11000);
    }

    // A quantity change takes a rate discount from the new gross; an amount
    // discount stays and is still subtracted.
    void quantityKeepsTheDiscountTrue()
    {
        SaleDraft d;
        d.addItem(1, "01", "A", 1000);
        d.addItem(2, "01", "B", 1000);
        QVERIFY(!d.setDiscountRate(0, 10));
        QVERIFY(!d.setDiscountAmount(1, 300));
        QVERIFY(!d.setQuantity(0, 4));
        QVERIFY(!d.setQuantity(1, 4));
        QCOMPARE(d.line(0).dcAmt, 400);
        QCOMPARE(d.line(0).amount(), 3600);
        QCOMPARE(d.line(1).dcAmt, 300);
        QCOMPARE(d.line(1).amount(), 3700);
        d.addItem(1, "01", "A", 1000);
        QCOMPARE(d.line(0).dcAmt, 500);
        // An amount discount replaces the rate, and the other way round.
        QVERIFY(!d.setDiscountAmount(0, 100));
        QCOMPARE(d.line(0).dcYul, 0.0);
        QVERIFY(!d.setDiscountRate(1, 50));
        QCOMPARE(d.line(1).dcAmt, 2000);
    }

    void refusals_data()
    {
        QTest::addColumn<int>("action"); // 0 quantity, 1 amount, 2 rate
        QTest::addColumn<bool>("withLine");
        QTest::addColumn<qint64>("value");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::newRow("quantity, no line") << 0 << false << qint64(2) << "수량을 적용할 상품이 없읍니다" << "수량입력";
        QTest::newRow("amount, no line") << 1 << false << qint64(100) << "금액을 적용할 상품이 없읍니다" << "금액입력";
        QTest::newRow("rate, no line") << 2 << false << qint64(10) << "할인을 적용할 상품이 없읍니다" << "할인입력";
        QTest::newRow("quantity 0") << 0 << true << qint64(0) << "수량은 1 이상 입력하세요" << "수량입력";
        QTest::newRow("discount above gross") << 1 << true << qint64(2001) << "할인금액이 판매금액보다 많읍니다" << "금액입력";
        QTest::newRow("rate above 100") << 2 << true << qint64(101) << "할인율은 0에서 100 사이로 입력하세요" << "할인입력";
    }
    void refusals()
    {
        QFETCH(int, action);
        QFETCH(bool, withLine);
        QFETCH(qint64, value);
        QFETCH(QString, text);
        QFETCH(QString, title);
        SaleDraft d;
        if (withLine)
            d.addItem(1, "01", "A", 2000);
        const SaleLine before = withLine ? d.line(0) : SaleLine{};
        const int row = withLine ? 0 : -1;
        const DraftResult r = action == 0   ? d.setQuantity(row, value)
                              : action == 1 ? d.setDiscountAmount(row, value)
                                            : d.setDiscountRate(row, double(value));
        QVERIFY(r);
        QCOMPARE(r->text, text);
        QCOMPARE(r->title, title);
        if (withLine)
            QCOMPARE(d.line(0), before);
    }

    // Lowering the quantity under an amount discount is refused rather than
    // leaving a negative line.
    void quantityUnderAmountDiscount()
    {
        SaleDraft d;
        d.addItem(1, "01", "A", 1000);
        QVERIFY(!d.setQuantity(0, 3));
        QVERIFY(!d.setDiscountAmount(0, 2500));
        QVERIFY(d.setQuantity(0, 2));
        QCOMPARE(d.line(0).qty, 3);
    }

    // Names are broken by code-page bytes (a Hangul syllable counts two),
    // after a blank where one falls in the line, never inside a syllable.
    void itemButtonCaptions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::newRow("short") << "생수" << "생수\n1,500";
        QTest::newRow("exactly 16 bytes") << "자유수영 성인권A" << "자유수영 성인권A\n1,500";
        QTest::newRow("broken at the blank") << "자유수영 청소년 주말권" << "자유수영 청소년\n주말권\n1,500";
        QTest::newRow("no blank: cut between syllables") << "아쿠아에어로빅월회원권" << "아쿠아에어로빅월\n회원권\n1,500";
        QTest::newRow("third line dropped") << "aaaaaaaaaaaaaaaa bbbbbbbbbbbbbbbb cccc" << "aaaaaaaaaaaaaaaa\nbbbbbbbbbbbbbbbb\n1,500";
    }
    void itemButtonCaptions()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QCOMPARE(itemButtonCaption(name, 1500), caption);
    }
};

QTEST_APPLESS_MAIN(TstSaleDraft)
#include "tst_saledraft.moc"
