#pragma once
// New codes of the catalogue tables.
//
// One-character codes (course items, member kinds, card companies) follow the
// highest code in use by one character code: "1" → "2", "A" → "B". The
// course-item and code screens jump from "9" to "A"; the classification
// screen does not, so there "9" is followed by ":" and ";". Codes stay within
// printable ASCII: past "~" there is no further code.
//
// Small-class codes are two digits "01" … "99" per group and item; instructor
// codes four digits "0001" … "9999".
//
// Two workstations may compute the same code at once; every table concerned
// has the code in its primary key, and the adding functions take a fresh
// code when the insert meets a unique violation.

#include "data/db.h"

#include <QString>
#include <QStringList>

namespace fitrova {

enum class NineRule {
    ToLetterA,     // "9" → "A"
    NextCharacter  // "9" → ":"
};

// The code that follows `last` ("" when there is none yet: "1"); "" when
// the codes have run out.
QString nextCharCode(const QString &last, NineRule rule);

// The highest one-character code of the list by character code ("" when
// the list holds none). Longer or empty values are ignored.
QString highestCharCode(const QStringList &codes);

// Next code of a course item of the group.
QString nextCourseCode(const Db &db, const QString &psGroup, NineRule rule);

// The one-character code tables of the code screen.
enum class CodeTable { MemberKind, CardCompany };
QString codeTableName(CodeTable table);    // "MbGubun", "Card"
QString codeTableRateColumn(CodeTable table); // "Rate", "yul"
// Next code of a member kind or card company ("9" → "A").
QString nextCodeTableCode(const Db &db, CodeTable table);

// Next small-class code of the item: "01" for the first, the highest plus one
// otherwise; "" past "99".
QString nextSclassCode(const Db &db, const QString &psGroup, const QString &course);

// Next instructor code: "0001" for the first, the highest plus one otherwise;
// "" past "9999".
QString nextLecturerCode(const Db &db);

} // namespace fitrova
