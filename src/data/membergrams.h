#pragma once
// The substring index of members' names and telephone numbers (table
// MemberGram): the two-character pieces of the name and the four-character
// pieces of each telephone number with its separators taken out, each row a
// piece (prefixed by its kind) and the member holding it. Triggers on Member
// keep the rows in step inside the transaction that writes the member,
// whoever writes it, so a search for "김하" or "5678" reads a few index pages
// instead of every member. A search still checks the found members against
// the text itself: a piece only narrows the candidates, so a stale piece can
// never make a member appear wrongly, and a typed text too short for a piece
// (one character of a name, three digits) is searched without the index.

#include "data/db.h"

#include <QString>
#include <QStringList>

namespace fitrova {

enum class MemberGramKind { Name, Mobile, HomeTel };

// Characters of a name piece and of a telephone piece.
inline constexpr int kNameGramLength = 2;
inline constexpr int kPhoneGramLength = 4;

// The DDL that keeps MemberGram in step with Member on this engine (the
// table itself is in the schema description): triggers, and on PostgreSQL
// the function they run.
QStringList memberGramTriggerStatements(Engine engine);

// Rebuilds every row of MemberGram from Member (after a schema upgrade, or
// after rows were written with the triggers absent).
void rebuildMemberGrams(const Db &db);

// The pieces a typed text is looked up by, as stored (kind prefix included),
// at most maxGrams of them spread over the text; empty when the text is too
// short for a piece or holds characters the pieces cannot represent.
QStringList memberSearchGrams(MemberGramKind kind, const QString &text, int maxGrams = 3);

} // namespace fitrova
