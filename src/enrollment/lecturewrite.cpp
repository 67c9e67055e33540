#include "enrollment/lecturewrite.h"

#include <QRegularExpression>
#include <QStringList>
#include <stdexcept>

namespace fitrova {

namespace {
void checkName(const QString &name)
{
    static const QRegularExpression ident(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    if (!ident.match(name).hasMatch())
        throw std::invalid_argument("not a column name");
}
} // namespace

qint64 insertColumns(const Db &db, const QString &table, const ColumnValues &values, const QString &idColumn)
{
    checkName(table);
    checkName(idColumn);
    QStringList cols, marks;
    Params params;
    for (const auto &[name, value] : values) {
        checkName(name);
        cols << name;
        marks << QStringLiteral("?");
        params << value;
    }
    return db.insertId(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                           .arg(table, cols.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))),
                       params, idColumn);
}

int updateColumns(const Db &db, const QString &table, const ColumnValues &values, const QString &idColumn, qint64 id)
{
    checkName(table);
    checkName(idColumn);
    QStringList sets;
    Params params;
    for (const auto &[name, value] : values) {
        checkName(name);
        sets << QStringLiteral("%1 = ?").arg(name);
        params << value;
    }
    params << id;
    return db.exec(QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?").arg(table, sets.join(QStringLiteral(", ")), idColumn),
                   params);
}

} // namespace fitrova
