#pragma once
// Writing Lecture (and Sale) rows column by column. The column names are
// constants of the calling code; every value is bound.

#include "data/db.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

namespace fitrova {

using ColumnValues = QList<QPair<QString, QVariant>>;

// INSERT of the columns in the given order; returns the new row's id.
qint64 insertColumns(const Db &db, const QString &table, const ColumnValues &values, const QString &idColumn);
// UPDATE of the columns of the row whose idColumn equals id; returns the rows changed.
int updateColumns(const Db &db, const QString &table, const ColumnValues &values, const QString &idColumn,
                  qint64 id);

} // namespace fitrova
