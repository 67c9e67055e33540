#pragma once
// Null-tolerant value conversions, code-and-name list items, and text measured
// in bytes of the Korean code page.
//
// Byte widths (receipt columns, the SMS length limit) are counted in Microsoft's
// Korean code page, windows-949: ASCII is one byte, every Hangul syllable and
// other double-byte character two. A character the code page cannot hold (an
// emoji, most accented Latin letters, "₩") is written as one "?" by toCp949 and
// therefore counts one byte everywhere, so that widths measured here always
// match the bytes sent to the printer. A double-byte character is never cut in
// half: where a cut would fall inside one, a blank takes its place.

#include <QByteArray>
#include <QString>
#include <QVariant>

namespace fitrova {

// --- null-safe values -------------------------------------------------------

// 0 for null or blank text; otherwise the value as a whole number, rounded to
// the nearest (halves away from zero). Text may carry thousands separators
// ("19,990"); anything that is not a number, or out of range, gives 0.
qint64 nzLong(const QVariant &v);

// The same as a floating-point number.
double nzDouble(const QVariant &v);

// "" for null; otherwise the value as text with one trailing NUL removed.
QString nzStr(const QVariant &v);

// --- code-and-name items ("01-수영", "0-모두보기") --------------------------

// The text before the first "-", trimmed; "" when there is no "-".
QString codeOf(const QString &item);

// The text after the first "-"; an item without "-" is all name.
QString nameOf(const QString &item);

// --- text in code-page bytes ------------------------------------------------

// Encodes into windows-949; characters outside it become "?".
QByteArray toCp949(const QString &s);
// Decodes windows-949; malformed bytes become U+FFFD.
QString fromCp949(const QByteArray &bytes);

// Length in code-page bytes.
int ansiLen(const QString &s);
inline int lenBytes(const QString &s) { return ansiLen(s); }

// The first n bytes of s (all of s when it is shorter). A double-byte character
// straddling the cut is replaced by a blank, so the result is exactly
// min(n, ansiLen(s)) bytes.
QString leftBytes(const QString &s, int n);

// Exactly `width` bytes, left-aligned: s cut to its first width bytes or padded
// with blanks on the right. A null or empty s gives width blanks.
QString padRight(const QString &s, int width);

// Exactly `width` bytes, right-aligned: the last width bytes of s or s padded
// with blanks on the left. A double-byte character straddling the cut is
// replaced by a blank.
QString padLeft(const QString &s, int width);

// s with a blank after every character: "수영" -> "수 영 ".
QString spaceOut(const QString &s);

// --- small formats and checks -----------------------------------------------

// "05" for 5; values from 10 up (and negatives) as they are.
QString twoDigits(int value);
// Text form: a single-digit value 0..9 is written with two digits ("5" and
// "05" both give "05"); any other text is returned unchanged.
QString twoDigits(const QString &s);

// Telephone number with hyphens. Separators already typed (hyphens, blanks,
// dots, brackets) are dropped first. Numbers with an area code take a two-digit
// one for Seoul ("02") and a three-digit one otherwise; the last four digits
// are the line number and the digits between them the exchange:
//   "0212345678" -> "02-1234-5678", "0311234567" -> "031-123-4567",
//   "01012345678" -> "010-1234-5678".
// A number without a leading 0 and of at most 8 digits has no area code
// ("15881234" -> "1588-1234"). Up to four digits are returned bare; text with
// characters other than digits and separators is returned trimmed, unchanged.
QString formatPhone(const QString &text);

// Whole won with thousands separators: 1234567 -> "1,234,567", -1500 -> "-1,500".
QString wonText(qint64 amount);

// True when the text is empty (or blank) or a plain decimal number: optional
// sign, digits, at most one decimal point, surrounding blanks allowed.
bool isNumericText(const QString &text);

} // namespace fitrova
