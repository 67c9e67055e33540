#pragma once
// Reading the long closing reports (a year of enrollments or takings, a day's
// valid members): their lines are made straight from the statement's current
// row (forEachRow), its values read by position, and a page of a list is read
// on after its last line with a condition on the list's ORDER BY.

#include "data/db.h"
#include "data/rowstream.h"

#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <cmath>
#include <utility>

namespace fitrova {

// The condition that reads a list on after a line: the rows that come after
// it in the list's ORDER BY. Every key is an expression that is never NULL
// (COALESCE the nullable ones, in the ORDER BY as here), and the last key is
// unique, so no row is skipped or read twice between two pages.

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
