#pragma once
// Running numbers kept as zero-padded text codes: the highest number in use
// plus one. Two workstations can compute the same number at the same moment;
// the column is covered by a unique key and the caller inserts inside
// retryOnUniqueViolation (data/db.h), taking a fresh number on each attempt:
//
//     const QString code = retryOnUniqueViolation(db, [&] {
//         const QString c = nextNumber(db, "Member", "MbCode", 8);
//         db.exec("INSERT INTO Member (MbCode, ...) VALUES (?, ...)", {c, ...});
//         return c;
//     });

#include "data/db.h"

#include <QString>

namespace fitrova {

// The highest numeric value of `column` in `table` (among the rows matching
// `whereSql` with its bound `params`, when given) plus one, padded with zeros
// to `width` digits; "1" padded when there is none. Values that are not plain
// digits are ignored; numbers of other widths count by their value, so a
// legacy "123" among "00000041" gives "00000124". A number that outgrows the
// width is returned in full.
//
// `table`, `column` and `whereSql` are constants of the calling code, never
// user input: names must be plain identifiers and the condition may not hold
// quotes or statement separators (values belong in `params`); anything else
// throws std::invalid_argument.
QString nextNumber(const Db &db, const QString &table, const QString &column, int width,
                   const QString &whereSql = {}, const Params &params = {});

// Next sale voucher number of the user on that day ("YYYY-MM-DD"): "0001",
// "0002", … restarting every day and separate for every user.
QString getNewVoucherNo(const Db &db, const QString &today, const QString &psCode);

} // namespace fitrova
