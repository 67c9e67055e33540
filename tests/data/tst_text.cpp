#include "data/text.h"

#include <QtTest>
#include <functional>

using namespace fitrova;
using namespace Qt::StringLiterals;

class TstText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void codePage_data();
    void codePage();
    void nullSafeValues();
    void textRoutines_data();
    void textRoutines();
};

void TstText::codePage_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("backslash stays 5C") << u"\\"_s << QByteArray("\x5c");
    QTest::newRow("ga") << u"가"_s << QByteArray::fromHex("b0a1");
    QTest::newRow("extended syllable") << u"똠"_s << QByteArray::fromHex("8c63");
    QTest::newRow("mixed") << u"a가\\1"_s << QByteArray::fromHex("61b0a15c31");
    QTest::newRow("emoji is one ?") << u"x😀y"_s << QByteArray("x?y");
    QTest::newRow("won sign is ?") << u"₩"_s << QByteArray("?");
}

void TstText::codePage()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(toCp949(text), bytes);
    QCOMPARE(ansiLen(text), bytes.size());
    if (!bytes.contains('?'))
        QCOMPARE(fromCp949(bytes), text);
}

void TstText::nullSafeValues()
{
    QCOMPARE(nzLong(QVariant()), 0);
    QCOMPARE(nzLong(QVariant(QMetaType::fromType<qlonglong>())), 0);   // SQL NULL
    QCOMPARE(nzLong(u"   "_s), 0);
    QCOMPARE(nzLong(u" 19,990 "_s), 19990);
    QCOMPARE(nzLong(u"12.5"_s), 13);
    QCOMPARE(nzLong(u"-12.5"_s), -13);
    QCOMPARE(nzLong(u"12a"_s), 0);
    QCOMPARE(nzLong(u"1e30"_s), 0);
    QCOMPARE(nzLong(qlonglong(5000000000LL)), 5000000000LL);
    QCOMPARE(nzLong(2.6), 3);
    QCOMPARE(nzDouble(u"1,000.5"_s), 1000.5);
    QCOMPARE(nzDouble(u"nan"_s), 0.0);
    QCOMPARE(nzDouble(QVariant()), 0.0);
    QCOMPARE(nzStr(QVariant(QMetaType::fromType<QString>())), QString());
    QCOMPARE(nzStr(QString(u"ab"_s + QChar(0) + QChar(0))), QString(u"ab"_s + QChar(0)));
    QCOMPARE(nzStr(12), u"12"_s);
}

// Text-to-text routines; `n` is the byte width where the routine takes one.
void TstText::textRoutines_data()
{
    QTest::addColumn<QString>("routine");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("expected");
    auto row = [](const char *name, const QString &routine, const QString &text, int n,
                  const QString &expected) {
        QTest::newRow(name) << routine << text << n << expected;
    };
    row("code", u"codeOf"_s, u" 12 -a-b"_s, 0, u"12"_s);
    row("name after first hyphen", u"nameOf"_s, u" 12 -a-b"_s, 0, u"a-b"_s);
    row("no code", u"codeOf"_s, u"홍길동"_s, 0, QString());
    row("all name", u"nameOf"_s, u"홍길동"_s, 0, u"홍길동"_s);
    row("right, cut in syllable", u"padRight"_s, u"가나다"_s, 5, u"가나 "_s);
    row("right, pads", u"padRight"_s, u"a가"_s, 6, u"a가   "_s);
    row("right, null", u"padRight"_s, QString(), 3, u"   "_s);
    row("right, unencodable", u"padRight"_s, u"é😀"_s, 3, u"é😀 "_s);
    row("left, amount", u"padLeft"_s, u"19,990"_s, 9, u"   19,990"_s);
    row("left, keeps the end", u"padLeft"_s, u"12345"_s, 3, u"345"_s);
    row("left, cut in syllable", u"padLeft"_s, u"가나다"_s, 5, u" 나다"_s);
    row("leftBytes, cut", u"leftBytes"_s, u"a가나"_s, 2, u"a "_s);
    row("leftBytes, fits", u"leftBytes"_s, u"a가나"_s, 3, u"a가"_s);
    row("spaceOut", u"spaceOut"_s, u"수😀1"_s, 0, u"수 😀 1 "_s);
    row("twoDigits", u"twoDigits"_s, u"5"_s, 0, u"05"_s);
    row("twoDigits, already two", u"twoDigits"_s, u"05"_s, 0, u"05"_s);
    row("twoDigits, negative", u"twoDigits"_s, u"-1"_s, 0, u"-1"_s);
    row("phone, seoul", u"formatPhone"_s, u"021234567"_s, 0, u"02-123-4567"_s);
    row("phone, mobile retyped", u"formatPhone"_s, u"010-1234 5678"_s, 0, u"010-1234-5678"_s);
    row("phone, province", u"formatPhone"_s, u"0311234567"_s, 0, u"031-123-4567"_s);
    row("phone, local", u"formatPhone"_s, u"1234567"_s, 0, u"123-4567"_s);
    row("phone, service", u"formatPhone"_s, u"15881234"_s, 0, u"1588-1234"_s);
    row("phone, letters", u"formatPhone"_s, u" 내선 12 "_s, 0, u"내선 12"_s);
    row("numeric, empty", u"isNumericText"_s, QString(), 0, u"1"_s);
    row("numeric, signed decimal", u"isNumericText"_s, u" -1.5 "_s, 0, u"1"_s);
    row("numeric, sign only", u"isNumericText"_s, u"-"_s, 0, u"0"_s);
    row("numeric, two points", u"isNumericText"_s, u"1.2.3"_s, 0, u"0"_s);
}

void TstText::textRoutines()
{
    QFETCH(QString, routine);
    QFETCH(QString, text);
    QFETCH(int, n);
    QFETCH(QString, expected);
    const QHash<QString, std::function<QString()>> run = {
        {u"codeOf"_s, [&] { return codeOf(text); }},
        {u"nameOf"_s, [&] { return nameOf(text); }},
        {u"padRight"_s, [&] { return padRight(text, n); }},
        {u"padLeft"_s, [&] { return padLeft(text, n); }},
        {u"leftBytes"_s, [&] { return leftBytes(text, n); }},
        {u"spaceOut"_s, [&] { return spaceOut(text); }},
        {u"twoDigits"_s, [&] { return twoDigits(text); }},
        {u"formatPhone"_s, [&] { return formatPhone(text); }},
        {u"isNumericText"_s, [&] { return isNumericText(text) ? u"1"_s : u"0"_s; }},
    };
    const QString got = run.value(routine)();
    QCOMPARE(got, expected);
    if (routine.startsWith(u"pad"))
        QCOMPARE(toCp949(got).size(), n);
}

QTEST_GUILESS_MAIN(TstText)
#include "tst_text.moc"
