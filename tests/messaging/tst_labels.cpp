// FITROVA_DB_TEST
// Address labels: the positions of a run (skipped positions first), where a
// position falls on the sheets, the run in DM인쇄, and the fitting of a long
// address that never cuts a character in half.

#include <QtTest>

#include "messaging/labels.h"
#include "testinstall.h"

#include <QTextBoundaryFinder>

using namespace fitrova;
using namespace fitrova::test;

Q_DECLARE_METATYPE(fitrova::LabelPlace)

namespace {

MemberContacts members(int n)
{
    MemberContacts out;
    for (int i = 1; i <= n; ++i)
        out << MemberContact{QStringLiteral("%1").arg(i, 8, 10, QLatin1Char('0')), QStringLiteral("회원%1").arg(i), {},
                             QStringLiteral("06236"), QStringLiteral("서울특별시 강남구 테헤란로 %1").arg(i),
                             QStringLiteral("%1층").arg(i)};
    return out;
}

// Widths as a fixed-pitch printer counts them: a Hangul syllable (or any wide
// character) two units, anything else one; a size scales them.
double fakeWidth(const QString &text, double size)
{
    double w = 0;
    QTextBoundaryFinder f(QTextBoundaryFinder::Grapheme, text);
    int prev = 0;
    for (int p = f.toNextBoundary(); p > 0; p = f.toNextBoundary()) {
        const QChar c = text.at(prev);
        w += (c.unicode() >= 0x1100 || c.isSurrogate()) ? 2 : 1;
        prev = p;
    }
    return w * size / 10.0;
}

// True when every piece ends on a character boundary of the whole text.
bool cutsOnBoundaries(const QStringList &lines, const QString &text)
{
    QString rebuilt;
    for (const QString &l : lines) {
        if (l.isEmpty())
            return false;
        QTextBoundaryFinder f(QTextBoundaryFinder::Grapheme, l);
        f.toEnd();
        if (!f.isAtBoundary())
            return false;
        if (l.front().isLowSurrogate() || l.back().isHighSurrogate() || l.front().category() == QChar::Mark_NonSpacing)
            return false;
        rebuilt += l;
    }
    QString plain = text;
    plain.remove(QLatin1Char(' '));
    rebuilt.remove(QLatin1Char(' '));
    return rebuilt == plain;
}

} // namespace

class TstLabels : public QObject {
    Q_OBJECT
private slots:
    // With three positions skipped the first member goes to position 4; the
    // blanks carry " " in every text; an empty list gives only the blanks.
    void runPositions()
    {
        const QList<LabelRow> rows = labelRows(members(2), 3, QStringLiteral("님 貴下"));
        QCOMPARE(rows.size(), 5);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(rows[i].position, i + 1);
            QCOMPARE(rows[i].name, QString(" "));
            QCOMPARE(rows[i].address, QString(" "));
            QCOMPARE(rows[i].honorific, QString(" "));
            QVERIFY(rows[i].isBlank());
        }
        QCOMPARE(rows[3], (LabelRow{"회원1", "서울특별시 강남구 테헤란로 1", "1층", "0 6 2 3 6 ", 4, "님 貴下"}));
        QCOMPARE(rows[4].position, 5);

        const QList<LabelRow> blanks = labelRows({}, 2, defaultHonorific());
        QCOMPARE(blanks.size(), 2);
        QVERIFY(blanks[0].isBlank() && blanks[1].isBlank());
        QCOMPARE(labelRows(members(1), 0, defaultHonorific()).first().position, 1);
        QCOMPARE(defaultHonorific(), QString("님 貴下"));
    }

    void places_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<int>("position");
        QTest::addColumn<LabelPlace>("place");
        QTest::newRow("2x8 first") << "2x8" << 1 << LabelPlace{0, 0, 0};
        QTest::newRow("2x8 second is beside it") << "2x8" << 2 << LabelPlace{0, 0, 1};
        QTest::newRow("2x8 third starts row two") << "2x8" << 3 << LabelPlace{0, 1, 0};
        QTest::newRow("2x8 last of the sheet") << "2x8" << 16 << LabelPlace{0, 7, 1};
        QTest::newRow("2x8 next sheet") << "2x8" << 17 << LabelPlace{1, 0, 0};
        QTest::newRow("3x7 last of the sheet") << "3x7" << 21 << LabelPlace{0, 6, 2};
        QTest::newRow("3x7 fourth") << "3x7" << 4 << LabelPlace{0, 1, 0};
        QTest::newRow("3x8 twenty-fifth") << "3x8" << 25 << LabelPlace{1, 0, 0};
        QTest::newRow("2x7 fourteenth") << "2x7" << 14 << LabelPlace{0, 6, 1};
    }
    void places()
    {
        QFETCH(QString, sheet);
        QFETCH(int, position);
        QFETCH(LabelPlace, place);
        QCOMPARE(labelPlace(labelSheet(sheet), position), place);
    }

    // Every sheet's labels lie on A4, inside the paper, without overlapping.
    void sheetsFitA4()
    {
        QStringList ids;
        for (const LabelSheet &s : labelSheets()) {
            ids << s.id;
            const QRectF first = labelRect(s, 0, 0), last = labelRect(s, s.rows - 1, s.columns - 1);
            QVERIFY(first.left() > 0 && first.top() > 0);
            QVERIFY(last.right() < s.pageWidth && last.bottom() <= s.pageHeight);
            QVERIFY(s.hPitch >= s.labelWidth && s.vPitch >= s.labelHeight);
            QCOMPARE(labelSheetCount(s, 0), 1);
            QCOMPARE(labelSheetCount(s, s.perSheet()), 1);
            QCOMPARE(labelSheetCount(s, s.perSheet() + 1), 2);
            // The user's adjustment moves every label alike.
            QCOMPARE(labelRect(s, 1, 1, 1.5, -2).topLeft(), labelRect(s, 1, 1).topLeft() + QPointF(1.5, -2));
        }
        QVERIFY(ids.contains("2x8") && ids.contains("3x7") && ids.contains("3x8"));
        QCOMPARE(labelSheet("nonsense").id, labelSheets().first().id);
    }

    // Long addresses wrap at blanks where they can and inside a word only
    // between whole characters: Hangul syllables, decomposed jamo, a base
    // letter with its mark, surrogate pairs.
    void wrapping_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("width");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("fits") << "서울 강남구" << 20.0 << QStringList{"서울 강남구"};
        QTest::newRow("breaks at blanks") << "서울특별시 강남구 테헤란로 152" << 12.0
                                          << QStringList{"서울특별시", "강남구", "테헤란로 152"};
        QTest::newRow("a word longer than the line") << "경기도성남시분당구정자일로" << 8.0
                                                     << QStringList{"경기도성", "남시분당", "구정자일", "로"};
        QTest::newRow("odd width never halves a syllable") << "가나다라" << 5.0 << QStringList{"가나", "다라"};
        QTest::newRow("decomposed jamo stay one syllable")
            << QString::fromUtf8("\u1100\u1161\u1102\u1161\u1103\u1161") << 4.0
            << QStringList{QString::fromUtf8("\u1100\u1161\u1102\u1161"), QString::fromUtf8("\u1103\u1161")};
        QTest::newRow("letter with its mark") << QString::fromUtf8("ae\u0301ioue\u0301") << 3.0
                                              << QStringList{QString::fromUtf8("ae\u0301i"), QString::fromUtf8("oue\u0301")};
        QTest::newRow("surrogate pairs") << QString::fromUtf8("\U0002000B\U0002000B\U0002000B") << 4.0
                                         << QStringList{QString::fromUtf8("\U0002000B\U0002000B"),
                                                        QString::fromUtf8("\U0002000B")};
        QTest::newRow("a character wider than the line") << "가가" << 1.0 << QStringList{"가", "가"};
        QTest::newRow("blank only") << "   " << 10.0 << QStringList{};
    }
    void wrapping()
    {
        QFETCH(QString, text);
        QFETCH(double, width);
        QFETCH(QStringList, lines);
        const QStringList got = wrapLabelText(text, width, 10, fakeWidth);
        QCOMPARE(got, lines);
        if (!got.isEmpty())
            QVERIFY(cutsOnBoundaries(got, text));
    }

    // The largest size that holds the address in the lines there are; at the
    // smallest the text is cut at a character and marked.
    void fitting()
    {
        const QString address = QStringLiteral("서울특별시 강남구 테헤란로 152 강남파이낸스센터 21층");
        // At size 10 a syllable is 2 wide: the address needs 4 lines of 20.
        const FittedText roomy = fitLabelText(address, 20, 4, 10, 6, fakeWidth);
        QCOMPARE(roomy.pointSize, 10.0);
        QVERIFY(!roomy.shortened);
        QVERIFY(roomy.lines.size() <= 4);
        const FittedText smaller = fitLabelText(address, 20, 2, 10, 6, fakeWidth);
        QVERIFY(smaller.pointSize < 10.0);
        QVERIFY(smaller.lines.size() <= 2);
        QVERIFY(!smaller.shortened);
        QVERIFY(cutsOnBoundaries(smaller.lines, address));
        const FittedText cut = fitLabelText(address, 10, 1, 10, 8, fakeWidth);
        QVERIFY(cut.shortened);
        QCOMPARE(cut.lines.size(), 1);
        QVERIFY(cut.lines.first().endsWith(QStringLiteral("…")));
        QVERIFY(fakeWidth(cut.lines.first(), cut.pointSize) <= 10);
        QVERIFY(address.startsWith(cut.lines.first().chopped(1)));
    }

    void postalCodeAndName()
    {
        QCOMPARE(printedPostNo("0 6 2 3 6 "), QString("06236"));
        QCOMPARE(printedPostNo("1 3 5 - 0 8 0 "), QString("135-080"));
        QCOMPARE(labelNameLine(LabelRow{"홍길동", {}, {}, {}, 1, "님 貴下"}), QString("홍길동 님 貴下"));
        QCOMPARE(labelNameLine(LabelRow{"홍길동", {}, {}, {}, 1, ""}), QString("홍길동"));
        QCOMPARE(labelNameLine(LabelRow{" ", " ", " ", " ", 1, " "}), QString());
    }

    // The run replaces whatever the print table held, in position order.
    void printTable()
    {
        TestInstall install;
        const Db &print = install.ctx().print;
        writeLabelRows(print, labelRows(members(5), 0, defaultHonorific()));
        const QList<LabelRow> run = labelRows(members(2), 3, QStringLiteral("귀하"));
        writeLabelRows(print, run);
        QCOMPARE(readLabelRows(print), run);
        QCOMPARE(print.scalar("SELECT COUNT(*) FROM DM인쇄").toInt(), 5);
        QCOMPARE(print.scalar("SELECT 우편번호 FROM DM인쇄 WHERE 순서 = 4").toString(), QString("0 6 2 3 6 "));
    }
};

QTEST_GUILESS_MAIN(TstLabels)
#include "tst_labels.moc"
