#pragma once
// Receipt output as bytes for ESC/POS receipt printers: text in the Korean
// code page (windows-949), printer commands, blank lines and the cut. The
// same receipt also yields its plain lines for the system printer, which
// has no printer commands.
//
// A receipt is built as a list of steps; bytes() renders them for the
// transport: a serial printer ends every line with LF and feeds a blank
// line with a bare LF; a parallel printer written as a device file ends
// lines with CR LF and writes a blank line as one space.

#include "data/text.h"
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace fitrova {

// How lines end on the wire.
enum class ReceiptLineEnd { Serial, Parallel };

namespace escpos {
QByteArray bold();          // 1B 21 08
QByteArray doubleHeight();  // 1B 21 10
QByteArray doubleWidth();   // 1B 21 20
QByteArray normal();        // 1B 21 00
QByteArray align(int n);    // 1B 61 n: 0 left, 1 centre, 2 right
QByteArray partialCut();    // 1B 69
QByteArray openDrawer();    // 1B 70 30 5A 5A
} // namespace escpos

// Amounts print as "#,###,##0" through wonText (data/text.h).

// A rule of n "-".
QString receiptRule(int n);

// A line of `width` bytes: the label on the left, the amount ("#,###,##0",
// wonText) on the right; a label too long for both is cut.
QString receiptAmountLine(const QString &label, qint64 amount, int width);

// Cells side by side, each cut or padded to its width in bytes: left-aligned
// where `rightAligned` is false, right-aligned where it is true.
QString receiptColumns(const QStringList &cells, const QList<int> &widths, const QList<bool> &rightAligned);

class Receipt {
public:
    enum class Style { Normal, Bold, DoubleHeight, DoubleWidth };

    // One line of text.
    Receipt &line(const QString &text);
    // A blank line (PrintBlankLine).
    Receipt &blank(int count = 1);
    Receipt &style(Style s);
    Receipt &bold() { return style(Style::Bold); }
    Receipt &doubleHeight() { return style(Style::DoubleHeight); }
    Receipt &doubleWidth() { return style(Style::DoubleWidth); }
    Receipt &normal() { return style(Style::Normal); }
    // 0 left, 1 centre, 2 right.
    Receipt &align(int n);
    Receipt &cut();
    Receipt &drawer();
    // A rule of n "-" as a line.
    Receipt &rule(int n) { return line(receiptRule(n)); }

    bool isEmpty() const { return m_steps.isEmpty(); }

    // The printer's byte stream.
    QByteArray bytes(ReceiptLineEnd end = ReceiptLineEnd::Serial) const;
    // Every printed line in order (a blank line as ""), without commands.
    QStringList lines() const;

    // A line as the system printer prints it: its text and the style and
    // alignment in force.
    struct PlainLine {
        QString text;
        Style style = Style::Normal;
        int align = 0;
    };
    QList<PlainLine> plainLines() const;

private:
    enum class Kind { Text, Blank, Style, Align, Cut, Drawer };
    struct Step {
        Kind kind;
        QString text;
        int value = 0;
    };
    QList<Step> m_steps;
};

} // namespace fitrova
