#pragma once
// Reading the rows of the long locker lists by column position, in the order
// of their SELECT: a list of 2,000 lockers reads some 30,000 values, and
// finding each by its name would cost as much as the statement itself.

#include "data/db.h"

namespace fitrova::lockerrows {

// Text of the column; "" for null.
inline QString text(const Row &r, int column)
{
    const QVariant v = r.at(column);
    return v.isNull() ? QString() : v.toString();
}

// Whole number of the column; 0 for null.
inline qint64 number(const Row &r, int column) { return r.at(column).toLongLong(); }

} // namespace fitrova::lockerrows
