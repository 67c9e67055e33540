#include "sales/receipt.h"

#include "data/text.h"

namespace fitrova {

namespace escpos {
namespace {
QByteArray cmd(std::initializer_list<unsigned char> b)
{
    QByteArray a;
    for (unsigned char c : b)
        a.append(char(c));
    return a;
}
} // namespace
QByteArray bold() { return cmd({0x1B, 0x21, 0x08}); }
QByteArray doubleHeight() { return cmd({0x1B, 0x21, 0x10}); }
QByteArray doubleWidth() { return cmd({0x1B, 0x21, 0x20}); }
QByteArray normal() { return cmd({0x1B, 0x21, 0x00}); }
QByteArray align(int n) { return cmd({0x1B, 0x61, static_cast<unsigned char>(n < 0 || n > 2 ? 0 : n)}); }
QByteArray partialCut() { return cmd({0x1B, 0x69}); }
QByteArray openDrawer() { return cmd({0x1B, 0x70, 0x30, 0x5A, 0x5A}); }
} // namespace escpos

QString receiptRule(int n) { return QString(qMax(0, n), QLatin1Char('-')); }

QString receiptAmountLine(const QString &label, qint64 amount, int width)
{
    const QString value = wonText(amount);
    const int valueWidth = ansiLen(value);
    return padRight(label, qMax(0, width - valueWidth - 1)) + QLatin1Char(' ') + value;
}

QString receiptColumns(const QStringList &cells, const QList<int> &widths, const QList<bool> &rightAligned)
{
    QString out;
    for (qsizetype i = 0; i < cells.size() && i < widths.size(); ++i)
        out += rightAligned.value(i) ? padLeft(cells[i], widths[i]) : padRight(cells[i], widths[i]);
    return out;
}

Receipt &Receipt::line(const QString &text)
{
    m_steps.append({Kind::Text, text, 0});
    return *this;
}

Receipt &Receipt::blank(int count)
{
    for (int i = 0; i < count; ++i)
        m_steps.append({Kind::Blank, {}, 0});
    return *this;
}

Receipt &Receipt::style(Style s)
{
    m_steps.append({Kind::Style, {}, int(s)});
    return *this;
}

Receipt &Receipt::align(int n)
{
    m_steps.append({Kind::Align, {}, n});
    return *this;
}

Receipt &Receipt::cut()
{
    m_steps.append({Kind::Cut, {}, 0});
    return *this;
}

Receipt &Receipt::drawer()
{
    m_steps.append({Kind::Drawer, {}, 0});
    return *this;
}

QByteArray Receipt::bytes(ReceiptLineEnd end) const
{
    const QByteArray eol = end == ReceiptLineEnd::Serial ? QByteArray("\n") : QByteArray("\r\n");
    QByteArray out;
    for (const Step &s : m_steps) {
        switch (s.kind) {
        case Kind::Text:
            out += toCp949(s.text) + eol;
            break;
        case Kind::Blank:
            out += end == ReceiptLineEnd::Serial ? eol : QByteArray(" ") + eol;
            break;
        case Kind::Style:
            switch (Style(s.value)) {
            case Style::Bold: out += escpos::bold(); break;
            case Style::DoubleHeight: out += escpos::doubleHeight(); break;
            case Style::DoubleWidth: out += escpos::doubleWidth(); break;
            case Style::Normal: out += escpos::normal(); break;
            }
            break;
        case Kind::Align:
            out += escpos::align(s.value);
            break;
        case Kind::Cut:
            out += escpos::partialCut();
            break;
        case Kind::Drawer:
            out += escpos::openDrawer();
            break;
        }
    }
    return out;
}

QStringList Receipt::lines() const
{
    QStringList l;
    for (const PlainLine &p : plainLines())
        l << p.text;
    return l;
}

QList<Receipt::PlainLine> Receipt::plainLines() const
{
    QList<PlainLine> out;
    Style style = Style::Normal;
    int alignment = 0;
    for (const Step &s : m_steps) {
        if (s.kind == Kind::Text)
            out.append({s.text, style, alignment});
        else if (s.kind == Kind::Blank)
            out.append({QString(), style, alignment});
        else if (s.kind == Kind::Style)
            style = Style(s.value);
        else if (s.kind == Kind::Align)
            alignment = s.value;
    }
    return out;
}

} // namespace fitrova
