#include "members/searchtext.h"

namespace fitrova {

QString escapeLike(const QString &text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('%') || c == QLatin1Char('_'))
            out += QLatin1Char('\\');
        out += c;
    }
    return out;
}

QString containsPattern(const QString &text)
{
    return QLatin1Char('%') + escapeLike(text) + QLatin1Char('%');
}

SqlCondition containsCondition(const QString &column, const QString &text)
{
    return {QStringLiteral("lower(%1) LIKE lower(?) ESCAPE '\\'").arg(column), {containsPattern(text)}};
}

SqlCondition andConditions(const QList<SqlCondition> &parts)
{
    SqlCondition all;
    for (const SqlCondition &p : parts) {
        if (p.isEmpty())
            continue;
        if (!all.sql.isEmpty())
            all.sql += QStringLiteral(" AND ");
        all.sql += QLatin1Char('(') + p.sql + QLatin1Char(')');
        all.params += p.params;
    }
    return all;
}

} // namespace fitrova
