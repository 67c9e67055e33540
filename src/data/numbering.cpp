#include "data/numbering.h"

#include <algorithm>
#include <functional>
#include <optional>
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

struct Sequence {
    const Db &db;
    QString table, column;
    int width;
    QString where; // " AND (…)" or ""
    Params params;

    QString key() const
    {
        QString k = table + QLatin1Char('.') + column;
        if (!where.isEmpty()) {
            k += QLatin1Char('|') + where.trimmed();
            for (const QVariant &p : params)
                k += QLatin1Char('|') + p.toString();
        }
        return k;
    }

    // The highest code of the standard width, read backwards along the index.
    qint64 highestOfWidth() const
    {
        const QString sql = QStringLiteral("SELECT %1 FROM %2 WHERE %1 >= ? AND %1 <= ? AND length(%1) = ? "
                                           "AND ltrim(%1, '0123456789') = ''%3 ORDER BY %1 DESC LIMIT 1")
                                .arg(column, table, where);
        const QVariant v = db.scalar(sql, Params{QString(width, u'0'), QString(width, u'9'), width} + params);
        return v.isValid() && !v.isNull() ? v.toString().toLongLong() : 0;
    }

    // The highest value among codes of any other width: every row is read, so
    // this runs once per counter (and again only when something unexpected
    // turns up).
    qint64 highestOfOtherWidths() const
    {
        // Only plain digit strings short enough for a 64-bit integer are cast;
        // the cast of anything else would fail on PostgreSQL.
        const QString sql = QStringLiteral("SELECT MAX(CAST(%1 AS BIGINT)) FROM %2 "
                                           "WHERE length(%1) BETWEEN 1 AND 18 AND length(%1) <> ? "
                                           "AND ltrim(%1, '0123456789') = ''%3")
                                .arg(column, table, where);
        const QVariant v = db.scalar(sql, Params{width} + params);
        return v.isValid() && !v.isNull() ? v.toLongLong() : 0;
    }

    bool taken(const QString &code) const
    {
        return db.scalar(QStringLiteral("SELECT 1 FROM %1 WHERE %2 = ?%3").arg(table, column, where),
                         Params{code} + params)
            .isValid();
    }

    QString text(qint64 n) const { return QString::number(n).rightJustified(width, u'0'); }
};

std::optional<qint64> counterValue(const Db &db, const QString &key, bool lock)
{
    const auto r = db.queryOne(QStringLiteral("SELECT LastNo FROM NumberCounter WHERE CounterKey = ?") +
                                   (lock ? db.forUpdate() : QString()),
                               {key});
    if (!r)
        return std::nullopt;
    return r->num(QStringLiteral("LastNo"));
}

// The counter row of `key`, locked; made (with `seed`'s value) when missing.
qint64 lockedCounter(const Db &db, const QString &key, const std::function<qint64()> &seed)
{
    if (const auto v = counterValue(db, key, true))
        return *v;
    // Two desks may make the row at once: the second waits for the first and
    // then finds the row made.
    db.exec(QStringLiteral("INSERT INTO NumberCounter (CounterKey, LastNo) VALUES (?, ?) "
                           "ON CONFLICT (CounterKey) DO NOTHING"),
            {key, seed ? seed() : 0});
    return counterValue(db, key, true).value_or(0);
}

} // namespace

QString nextNumber(const Db &db, const QString &table, const QString &column, int width, const QString &whereSql,
                   const Params &params)
{
    requireConstantSql(table, column, width, whereSql);
    const QString where = whereSql.trimmed().isEmpty() ? QString()
                                                       : QString(QStringLiteral(" AND (") + whereSql + QLatin1Char(')'));
    const Sequence s{db, table, column, width, where, params};
    const QString key = s.key();

    if (db.transactionDepth() == 0) {
        // Only telling: nothing is locked or written.
        const std::optional<qint64> kept = counterValue(db, key, false);
        const qint64 other = kept ? *kept : s.highestOfOtherWidths();
        return s.text(std::max(s.highestOfWidth(), other) + 1);
    }

    const qint64 kept = lockedCounter(db, key, [&] { return s.highestOfOtherWidths(); });
    qint64 other = kept;
    qint64 next = std::max(s.highestOfWidth(), other) + 1;
    QString code = s.text(next);
    if (code.size() != width && s.taken(code)) {
        // A number past the width stored without the counter (an import):
        // look at every row once more.
        other = std::max(other, s.highestOfOtherWidths());
        next = std::max(s.highestOfWidth(), other) + 1;
        code = s.text(next);
    }
    if (code.size() != width && next > other) {
        // Past the width the index cannot see the number: the counter keeps it.
        other = next;
    }
    if (other != kept)
        db.exec(QStringLiteral("UPDATE NumberCounter SET LastNo = ? WHERE CounterKey = ?"), {other, key});
    return code;
}

QString getNewVoucherNo(const Db &db, const QString &today, const QString &psCode)
{
    return nextNumber(db, QStringLiteral("Sale"), QStringLiteral("SlNo"), 4,
                      QStringLiteral("SlDate = ? AND LastUser = ?"), {today, psCode});
}

void lockNamed(const Db &db, const QString &name)
{
    if (db.transactionDepth() == 0)
        throw std::logic_error("lockNamed: outside a transaction");
    lockedCounter(db, QStringLiteral("lock:") + name, {});
}

} // namespace fitrova
