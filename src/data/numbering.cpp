#include "data/numbering.h"

#include <stdexcept>

namespace fitrova {

namespace {

bool isPlainIdentifier(const QString &name)
{
    if (name.isEmpty() || !(name.at(0).isLetter() || name.at(0) == u'_'))
        return false;
    for (const QChar c : name)
        if (!(c.isLetterOrNumber() || c == u'_'))
            return false;
    return true;
}

void requireConstantSql(const QString &table, const QString &column, int width, const QString &whereSql)
{
    if (!isPlainIdentifier(table) || !isPlainIdentifier(column))
        throw std::invalid_argument("nextNumber: table and column must be plain identifiers");
    if (width < 1 || width > 18)
        throw std::invalid_argument("nextNumber: width must be 1 to 18 digits");
    for (const QChar c : whereSql)
        if (c == u'\'' || c == u'"' || c == u';' || c == u'\\')
            throw std::invalid_argument("nextNumber: the condition must bind its values");
}

} // namespace

QString nextNumber(const Db &db, const QString &table, const QString &column, int width, const QString &whereSql,
                   const Params &params)
{
    requireConstantSql(table, column, width, whereSql);
    // Only plain digit strings short enough for a 64-bit integer are cast; the
    // cast of anything else would fail on PostgreSQL. Both engines filter the
    // rows before the aggregate reads them.
    QString sql = QStringLiteral("SELECT MAX(CAST(%1 AS BIGINT)) FROM %2 "
                                 "WHERE length(%1) BETWEEN 1 AND 18 AND ltrim(%1, '0123456789') = ''")
                      .arg(column, table);
    if (!whereSql.trimmed().isEmpty())
        sql += QStringLiteral(" AND (") + whereSql + QLatin1Char(')');
    const QVariant highest = db.scalar(sql, params);
    const qint64 next = (highest.isNull() ? 0 : highest.toLongLong()) + 1;
    return QString::number(next).rightJustified(width, u'0');
}

QString getNewVoucherNo(const Db &db, const QString &today, const QString &psCode)
{
    return nextNumber(db, QStringLiteral("Sale"), QStringLiteral("SlNo"), 4,
                      QStringLiteral("SlDate = ? AND LastUser = ?"), {today, psCode});
}

} // namespace fitrova
