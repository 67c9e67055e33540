#include "data/privacy.h"

namespace fitrova {

namespace {

bool allDigits(const QString &s)
{
    for (const QChar c : s)
        if (!c.isDigit())
            return false;
    return !s.isEmpty();
}

QString maskAfter(const QString &text, int keep)
{
    QString out = text.left(keep);
    out.append(QString(std::max<qsizetype>(0, text.size() - keep), QLatin1Char('*')));
    return out;
}

} // namespace

QString maskedResidentNumber(const QString &firstPart, const QString &secondPart)
{
    const QString a = firstPart.trimmed(), b = secondPart.trimmed();
    if (b.isEmpty()) {
        if (a.size() == 13 && allDigits(a))
            return maskedResidentNumber(a.left(6), a.mid(6));
        return a.size() <= 6 ? a : maskAfter(a, 8);
    }
    if (a.size() == 6 && allDigits(a) && allDigits(b))
        return a + QLatin1Char('-') + b.left(1) + QString(b.size() - 1, QLatin1Char('*'));
    return maskAfter(a + QLatin1Char('-') + b, 8);
}

QString maskedResidentNumber(const QString &whole)
{
    const QString t = whole.trimmed();
    const qsizetype dash = t.indexOf(QLatin1Char('-'));
    if (dash == 6 && t.indexOf(QLatin1Char('-'), dash + 1) < 0)
        return maskedResidentNumber(t.left(6), t.mid(7));
    if (dash < 0)
        return maskedResidentNumber(t, QString());
    return maskAfter(t, 8);
}

bool isMaskedForm(QStringView t)
{
    if (t.isEmpty())
        return true;
    if (t.size() < 8 || t.at(6) != QLatin1Char('-') || !t.at(7).isDigit())
        return false;
    for (int i = 0; i < 6; ++i)
        if (!t.at(i).isDigit())
            return false;
    for (qsizetype i = 8; i < t.size(); ++i)
        if (t.at(i) != QLatin1Char('*'))
            return false;
    return true;
}

std::pair<QString, QString> maskedResidentParts(const QString &firstPart, const QString &secondPart)
{
    if (secondPart.trimmed().isEmpty())
        return {maskedResidentNumber(firstPart, QString()), QString()};
    const QString masked = maskedResidentNumber(firstPart, secondPart);
    const qsizetype dash = masked.indexOf(QLatin1Char('-'));
    QString first = dash < 0 ? masked : masked.left(dash);
    QString second = dash < 0 ? QString() : masked.mid(dash + 1);
    if (!second.contains(QLatin1Char('*')))
        second += QLatin1Char('*');
    return {first, second};
}

} // namespace fitrova
