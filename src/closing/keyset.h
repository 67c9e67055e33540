#pragma once
// The condition that reads a long list on after a line: the rows that come
// after it in the list's ORDER BY. Every key is an expression that is never
// NULL (COALESCE the nullable ones, in the ORDER BY as here), and the last
// key is unique, so no row is skipped or read twice between two pages.

#include "data/db.h"

#include <QString>
#include <QStringList>
#include <utility>

namespace fitrova {

// "(k1 > ? OR (k1 = ? AND (k2 > ? OR (k2 = ? AND … kn > ?))))" and its
// values: keys are the ORDER BY's expressions, values theirs on the last line
// read.
inline std::pair<QString, Params> afterKeys(const QStringList &keys, const Params &values)
{
    QString sql;
    Params params;
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const QString &k = keys.at(i);
        QVariant v = values.value(i);
        // A line's text read from NULL is a null string, which would bind as
        // NULL; its key expression gives "" there.
        if (v.typeId() == QMetaType::QString && v.toString().isNull())
            v = QString(QLatin1String(""));
        if (i + 1 == keys.size()) {
            sql += k + QStringLiteral(" > ?");
            params << v;
        } else {
            sql += QLatin1Char('(') + k + QStringLiteral(" > ? OR (") + k + QStringLiteral(" = ? AND ");
            params << v << v;
        }
    }
    for (qsizetype i = 0; i + 1 < keys.size(); ++i)
        sql += QStringLiteral("))");
    return {QLatin1Char('(') + sql + QLatin1Char(')'), params};
}

} // namespace fitrova
