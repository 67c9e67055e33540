#include "messaging/smstext.h"

#include "data/text.h"

namespace fitrova {

int smsBytes(const QString &text)
{
    return ansiLen(text.normalized(QString::NormalizationForm_C));
}

QString cutToSmsBytes(const QString &text, int maxBytes)
{
    const QString s = text.normalized(QString::NormalizationForm_C);
    if (ansiLen(s) <= maxBytes)
        return s;
    QString out;
    int used = 0;
    for (qsizetype i = 0; i < s.size();) {
        qsizetype len = 1;
        if (s.at(i).isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate())
            len = 2;
        const QString ch = s.mid(i, len);
        const int bytes = ansiLen(ch);
        if (used + bytes > maxBytes)
            break;
        out += ch;
        used += bytes;
        i += len;
    }
    return out;
}

QString smsByteCounter(const QString &text)
{
    return QString::number(smsBytes(text)) + QStringLiteral("/80byte");
}

QString smsTemplateByteCounter(const QString &text)
{
    return QString::number(smsBytes(text)) + QStringLiteral("/80bytes");
}

QString fillPlaceholders(const QString &text, const QString &name, const QString &date, const QString &business)
{
    // One pass over the template: a value that itself reads like a
    // placeholder (a name typed as "{{사용처}}") stays as it is.
    const std::pair<QString, const QString *> places[] = {{QString::fromUtf8(kPlaceName), &name},
                                                          {QString::fromUtf8(kPlaceDate), &date},
                                                          {QString::fromUtf8(kPlaceBusiness), &business}};
    QString out;
    out.reserve(text.size() + 16);
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype open = text.indexOf(QStringLiteral("{{"), i);
        if (open < 0)
            break;
        out += QStringView(text).mid(i, open - i);
        bool replaced = false;
        for (const auto &[place, value] : places) {
            if (QStringView(text).mid(open).startsWith(place)) {
                out += *value;
                i = open + place.size();
                replaced = true;
                break;
            }
        }
        if (!replaced) {
            out += QStringLiteral("{{");
            i = open + 2;
        }
    }
    out += QStringView(text).mid(i);
    return out;
}

QString mobileDigits(const QString &typed)
{
    QString digits;
    const QString t = typed.trimmed();
    for (const QChar c : t) {
        if (c.isDigit() && c.unicode() < 0x80)
            digits += c;
        else if (c == QLatin1Char('-') || c == QLatin1Char(' ') || c == QLatin1Char('.') || c == QLatin1Char('(')
                 || c == QLatin1Char(')'))
            continue;
        else
            return t;
    }
    return digits;
}

bool hasMobilePrefix(const QString &number)
{
    const QString d = mobileDigits(number);
    if (d.size() < 3)
        return false;
    const QStringView p = QStringView(d).left(3);
    for (const char *prefix : {"010", "011", "016", "017", "019"})
        if (p == QLatin1String(prefix))
            return true;
    return false;
}

NumberCheck checkMobileNumber(const QString &typed)
{
    const QString d = mobileDigits(typed);
    if (d.isEmpty())
        return NumberCheck::Empty;
    if (d.size() < 10)
        return NumberCheck::TooShort;
    bool digitsOnly = true;
    for (const QChar c : d)
        digitsOnly = digitsOnly && c.isDigit() && c.unicode() < 0x80;
    if (!digitsOnly || d.size() > 11 || !hasMobilePrefix(d))
        return NumberCheck::BadForm;
    return NumberCheck::Ok;
}

QString numberCheckText(NumberCheck check)
{
    switch (check) {
    case NumberCheck::Ok: return {};
    case NumberCheck::Empty: return QStringLiteral("보내실 연락처를 입력해주세요.");
    case NumberCheck::TooShort: return QStringLiteral("보내실 휴대폰번호가 잘못되었습니다. 확인해주세요");
    case NumberCheck::BadForm: return QStringLiteral("번호가 형식에 맞지 않습니다.");
    }
    return {};
}

QString formatMobileNumber(const QString &typed)
{
    if (checkMobileNumber(typed) != NumberCheck::Ok)
        return {};
    const QString d = mobileDigits(typed);
    const int middle = d.size() == 10 ? 3 : 4;
    return d.left(3) + QLatin1Char('-') + d.mid(3, middle) + QLatin1Char('-') + d.right(4);
}

QString reservationTime(const QDateTime &at)
{
    return at.toString(QStringLiteral("yyyyMMddHHmm"));
}

QDateTime parseReservationTime(const QString &text)
{
    if (text.size() != 12)
        return {};
    for (const QChar c : text)
        if (!c.isDigit() || c.unicode() >= 0x80)
            return {};
    return QDateTime::fromString(text, QStringLiteral("yyyyMMddHHmm"));
}

QStringList reservationHourItems()
{
    QStringList items;
    for (int h = 0; h < 24; ++h)
        items << itemOfHour(h);
    return items;
}

QString itemOfHour(int hour)
{
    if (hour < 0 || hour > 23)
        return {};
    const int shown = hour % 12 == 0 ? 12 : hour % 12;
    return (hour < 12 ? QStringLiteral("오전 ") : QStringLiteral("오후 ")) + QString::asprintf("%02d", shown);
}

int hourOfItem(const QString &item)
{
    const QString t = item.trimmed();
    const bool am = t.startsWith(QStringLiteral("오전"));
    const bool pm = t.startsWith(QStringLiteral("오후"));
    if (!am && !pm)
        return -1;
    bool ok = false;
    const int h = t.mid(2).trimmed().toInt(&ok);
    if (!ok || h < 0 || h > 12)
        return -1;
    const int base = h == 12 ? 0 : h;
    return pm ? base + 12 : base;
}

} // namespace fitrova
