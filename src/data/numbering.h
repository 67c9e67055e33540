#pragma once
// Running numbers kept as zero-padded text codes (member numbers, voucher
// numbers, staff and class codes): the highest number in use plus one.
//
// Two desks must never hand out the same number. Each kind of number has a
// counter row (table NumberCounter, one row per table, column and condition);
// an action takes its number inside its own transaction, which locks that row
// until the action commits or rolls back, so the next desk waits and then
// sees the number already stored. The unique key of the column stays the last
// guard, so callers keep inserting inside retryOnUniqueViolation:
//
//     const QString code = retryOnUniqueViolation(db, [&] {
//         const QString c = nextNumber(db, "Member", "MbCode", 8);
//         db.exec("INSERT INTO Member (MbCode, ...) VALUES (?, ...)", {c, ...});
//         return c;
//     });
//
// Outside a transaction nextNumber only tells the number the next save would
// take (a screen showing the code it proposes); it writes and locks nothing.
//
// The highest number is found through the column's index (the highest code
// of the standard width), never by reading every row. Codes of other widths
// count by their value, so a legacy "123" among "00000041" gives "00000124";
// the counter remembers the highest of them, found once when it is first
// used, and numbers that outgrow the width. A number of the standard width
// freed at the top by a deletion is handed out again, as before.

#include "data/db.h"

#include <QString>

namespace fitrova {

// The highest numeric value of `column` in `table` (among the rows matching
// `whereSql` with its bound `params`, when given) plus one, padded with zeros
// to `width` digits; "1" padded when there is none. Values that are not plain
// digits are ignored. A number that outgrows the width is returned in full.
//
// `table`, `column` and `whereSql` are constants of the calling code, never
// user input: names must be plain identifiers and the condition may not hold
// quotes or statement separators (values belong in `params`); anything else
// throws std::invalid_argument. The condition's columns should lead an index
// together with `column`.
QString nextNumber(const Db &db, const QString &table, const QString &column, int width,
                   const QString &whereSql = {}, const Params &params = {});

// Next sale voucher number of the user on that day ("YYYY-MM-DD"): "0001",
// "0002", … restarting every day and separate for every user.
QString getNewVoucherNo(const Db &db, const QString &today, const QString &psCode);

// Serialises the actions that decide on something no row holds yet (a card
// number given to a member must not be given to another at the same moment):
// locks the named counter row until the caller's transaction ends. Must be
// called inside a transaction. `name` is a constant of the calling code.
void lockNamed(const Db &db, const QString &name);

} // namespace fitrova
