// The resident number formatter: what stays and what is masked.

#include "data/privacy.h"

#include <QTest>

using namespace fitrova;

class TestPrivacy : public QObject {
    Q_OBJECT
private slots:
    void parts_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("shown");
        QTest::newRow("empty") << "" << "" << "";
        QTest::newRow("birth part only") << "800408" << "" << "800408";
        QTest::newRow("resident") << "800408" << "2564385" << "800408-2******";
        QTest::newRow("foreign resident") << "850101" << "5123456" << "850101-5******";
        QTest::newRow("without dash in one part") << "8004082564385" << "" << "800408-2******";
        QTest::newRow("short second part") << "800408" << "25" << "800408-2*";
        QTest::newRow("malformed first part") << "80-04" << "2564385" << "80-04-25*****";
        QTest::newRow("letters") << "ABCDEFGHIJ" << "" << "ABCDEFGH**";
        QTest::newRow("blanks around") << " 800408 " << " 2564385 " << "800408-2******";
    }
    void parts()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, shown);
        QCOMPARE(maskedResidentNumber(first, second), shown);
    }

    void whole_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("with dash") << "800408-2564385" << "800408-2******";
        QTest::newRow("dash only") << "800408-" << "800408";
        QTest::newRow("two dashes") << "12-34567-89012" << "12-34567******";
        QTest::newRow("no dash") << "8004082564385" << "800408-2******";
    }
    void whole()
    {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        QCOMPARE(maskedResidentNumber(stored), shown);
    }

    // Rows that keep the two parts apart get both masked the same way.
    void separateParts_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("first2");
        QTest::addColumn<QString>("second2");
        QTest::newRow("empty") << "" << "" << "" << "";
        QTest::newRow("birth part only") << "800408" << "" << "800408" << "";
        QTest::newRow("resident") << "800408" << "2564385" << "800408" << "2******";
        QTest::newRow("one digit") << "800408" << "2" << "800408" << "2*";
        QTest::newRow("malformed") << "80-04" << "2564385" << "80" << "04-25*****";
    }
    void separateParts()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, first2);
        QFETCH(QString, second2);
        const auto [a, b] = maskedResidentParts(first, second);
        QCOMPARE(a, first2);
        QCOMPARE(b, second2);
        QVERIFY(!b.contains(second.mid(1)) || second.size() <= 1);
    }

    // What is already in the masked form is left as it is (masking it again
    // gives it back); anything else is not taken for masked.
    void maskedForm_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("masked");
        QTest::newRow("empty") << "" << true;
        QTest::newRow("masked") << "800408-2******" << true;
        QTest::newRow("masked, short") << "800408-2*" << true;
        QTest::newRow("first digit only") << "800408-2" << true;
        QTest::newRow("whole number") << "800408-2564385" << false;
        QTest::newRow("digit among the stars") << "800408-2**3***" << false;
        QTest::newRow("blank before") << " 800408-2******" << false;
        QTest::newRow("blank after") << "800408-2****** " << false;
        QTest::newRow("letter in the birth part") << "80040A-2******" << false;
        QTest::newRow("birth part only") << "800408" << false;
        QTest::newRow("no dash") << "8004082******" << false;
    }
    void maskedForm()
    {
        QFETCH(QString, text);
        QFETCH(bool, masked);
        QCOMPARE(isMaskedForm(text), masked);
        if (masked)
            QCOMPARE(maskedResidentNumber(text), text);
    }
};

QTEST_GUILESS_MAIN(TestPrivacy)
#include "tst_privacy.moc"
