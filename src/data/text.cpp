#include "data/text.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <cmath>

namespace fitrova {

namespace {

// The text of a value for number parsing: trimmed, thousands separators gone.
QString numberText(const QVariant &v)
{
    QString s = v.toString().trimmed();
    s.remove(QLatin1Char(','));
    return s;
}

bool isIntegral(const QVariant &v)
{
    switch (v.metaType().id()) {
    case QMetaType::Int: case QMetaType::UInt:
    case QMetaType::Long: case QMetaType::ULong:
    case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Short: case QMetaType::UShort:
    case QMetaType::Char: case QMetaType::SChar: case QMetaType::UChar:
    case QMetaType::Bool:
        return true;
    default:
        return false;
    }
}

qint64 roundToLong(double d)
{
    // 2^63 is exactly representable; anything at or beyond it does not fit.
    constexpr double limit = 9223372036854775808.0;
    if (!std::isfinite(d))
        return 0;
    const double r = std::round(d);
    if (r >= limit || r < -limit)
        return 0;
    return static_cast<qint64>(r);
}

// One character (code point) of a text and its width in code-page bytes.
struct Glyph {
    qsizetype pos;   // index in the QString
    qsizetype len;   // UTF-16 units (2 for a surrogate pair)
    int bytes;       // 1 or 2
};

QStringEncoder &cp949Encoder()
{
    thread_local QStringEncoder enc("windows-949");
    return enc;
}

int glyphBytes(QStringView ch)
{
    if (ch.size() == 1 && ch.front().unicode() < 0x80)
        return 1;
    QStringEncoder &enc = cp949Encoder();
    enc.resetState();
    const QByteArray b = enc.encode(ch);
    enc.resetState();
    // Unencodable characters come out as a single "?".
    return b.isEmpty() ? 1 : int(b.size());
}

QList<Glyph> glyphs(const QString &s)
{
    QList<Glyph> out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size();) {
        qsizetype len = 1;
        if (s.at(i).isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate())
            len = 2;
        out.append({i, len, glyphBytes(QStringView(s).mid(i, len))});
        i += len;
    }
    return out;
}

} // namespace

qint64 nzLong(const QVariant &v)
{
    if (v.isNull() || !v.isValid())
        return 0;
    if (isIntegral(v))
        return v.toLongLong();
    if (v.metaType().id() == QMetaType::Double || v.metaType().id() == QMetaType::Float)
        return roundToLong(v.toDouble());
    const QString s = numberText(v);
    if (s.isEmpty())
        return 0;
    bool ok = false;
    const qint64 n = s.toLongLong(&ok);
    if (ok)
        return n;
    const double d = s.toDouble(&ok);
    return ok ? roundToLong(d) : 0;
}

double nzDouble(const QVariant &v)
{
    if (v.isNull() || !v.isValid())
        return 0.0;
    if (isIntegral(v))
        return double(v.toLongLong());
    if (v.metaType().id() == QMetaType::Double || v.metaType().id() == QMetaType::Float) {
        const double d = v.toDouble();
        return std::isfinite(d) ? d : 0.0;
    }
    const QString s = numberText(v);
    if (s.isEmpty())
        return 0.0;
    bool ok = false;
    const double d = s.toDouble(&ok);
    return ok && std::isfinite(d) ? d : 0.0;
}

QString nzStr(const QVariant &v)
{
    if (v.isNull() || !v.isValid())
        return QString();
    QString s = v.toString();
    if (s.endsWith(QChar(u'\0')))
        s.chop(1);
    return s;
}

QString codeOf(const QString &item)
{
    const qsizetype i = item.indexOf(QLatin1Char('-'));
    return i < 0 ? QString() : item.left(i).trimmed();
}

QString nameOf(const QString &item)
{
    const qsizetype i = item.indexOf(QLatin1Char('-'));
    return i < 0 ? item : item.mid(i + 1);
}

QByteArray toCp949(const QString &s)
{
    QStringEncoder &enc = cp949Encoder();
    enc.resetState();
    QByteArray b = enc.encode(s);
    enc.resetState();
    return b;
}

QString fromCp949(const QByteArray &bytes)
{
    QStringDecoder dec("windows-949");
    return dec.decode(bytes);
}

int ansiLen(const QString &s)
{
    int n = 0;
    for (const Glyph &g : glyphs(s))
        n += g.bytes;
    return n;
}

QString leftBytes(const QString &s, int n)
{
    if (n <= 0)
        return QString();
    QString out;
    int used = 0;
    for (const Glyph &g : glyphs(s)) {
        if (used + g.bytes > n) {
            if (used < n)
                out += QLatin1Char(' ');
            return out;
        }
        out += QStringView(s).mid(g.pos, g.len);
        used += g.bytes;
    }
    return out;
}

QString padRight(const QString &s, int width)
{
    if (width <= 0)
        return QString();
    QString out = leftBytes(s, width);
    const int used = ansiLen(out);
    return out + QString(width - used, QLatin1Char(' '));
}

QString padLeft(const QString &s, int width)
{
    if (width <= 0)
        return QString();
    const QList<Glyph> gs = glyphs(s);
    int used = 0;
    qsizetype from = s.size();
    for (auto it = gs.crbegin(); it != gs.crend() && used + it->bytes <= width; ++it) {
        used += it->bytes;
        from = it->pos;
    }
    // The blanks also fill the place of a double-byte character cut in half.
    return QString(width - used, QLatin1Char(' ')) + s.mid(from);
}

QString spaceOut(const QString &s)
{
    QString out;
    out.reserve(s.size() * 2);
    for (const Glyph &g : glyphs(s)) {
        out += QStringView(s).mid(g.pos, g.len);
        out += QLatin1Char(' ');
    }
    return out;
}

QString twoDigits(int value)
{
    if (value >= 0 && value < 10)
        return QLatin1Char('0') + QString::number(value);
    return QString::number(value);
}

QString twoDigits(const QString &s)
{
    const QString t = s.trimmed();
    if (!t.isEmpty() && t.size() <= 2) {
        bool ok = false;
        const int v = t.toInt(&ok);
        if (ok && v >= 0 && v < 10 && t.front().isDigit())
            return twoDigits(v);
    }
    return s;
}

QString formatPhone(const QString &text)
{
    QString digits;
    for (QChar c : text) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits += c;
        else if (c == QLatin1Char('-') || c == QLatin1Char('.') || c == QLatin1Char('(')
                 || c == QLatin1Char(')') || c.isSpace())
            continue;
        else
            return text.trimmed();
    }
    if (digits.size() <= 4)
        return digits;

    qsizetype area = 0;
    if (digits.startsWith(QLatin1String("02")))
        area = 2;
    else if (digits.startsWith(QLatin1Char('0')) || digits.size() > 8)
        area = 3;

    QStringList parts;
    if (area > 0)
        parts << digits.left(area);
    const QString rest = digits.mid(area);
    if (rest.size() > 4)
        parts << rest.left(rest.size() - 4) << rest.right(4);
    else if (!rest.isEmpty())
        parts << rest;
    return parts.join(QLatin1Char('-'));
}

bool isNumericText(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return true;
    qsizetype i = 0;
    if (t.at(0) == QLatin1Char('+') || t.at(0) == QLatin1Char('-'))
        ++i;
    int digits = 0;
    bool point = false;
    for (; i < t.size(); ++i) {
        const QChar c = t.at(i);
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            ++digits;
        else if (c == QLatin1Char('.') && !point)
            point = true;
        else
            return false;
    }
    return digits > 0;
}

QString wonText(qint64 amount)
{
    const bool negative = amount < 0;
    QString digits = QString::number(negative ? -amount : amount);
    for (int i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, QLatin1Char(','));
    return negative ? QString(QLatin1Char('-') + digits) : digits;
}

} // namespace fitrova
