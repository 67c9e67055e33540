#include "data/membergrams.h"

namespace fitrova {

namespace {

// Longest stored name (Member.MbName is 40 characters); positions 1..40.
constexpr int kGramPositions = 40;

QString positions()
{
    QString s = QStringLiteral("(SELECT 1 AS n");
    for (int i = 2; i <= kGramPositions; ++i)
        s += QStringLiteral(" UNION ALL SELECT %1").arg(i);
    return s + QStringLiteral(") P");
}

// The telephone separators a piece leaves out; the same set as phoneDigits.
QString strippedSql(const QString &column)
{
    return QStringLiteral("replace(replace(replace(replace(replace(lower(COALESCE(%1, '')), '-', ''), ' ', ''), "
                          "'.', ''), '(', ''), ')', '')")
        .arg(column);
}

QString phoneDigits(const QString &text)
{
    QString out;
    for (const QChar c : text)
        if (c != QLatin1Char('-') && c != QLatin1Char(' ') && c != QLatin1Char('.') && c != QLatin1Char('(') &&
            c != QLatin1Char(')'))
            out += c;
    return out;
}

QChar kindMark(MemberGramKind kind)
{
    switch (kind) {
    case MemberGramKind::Name:
        return QLatin1Char('n');
    case MemberGramKind::Mobile:
        return QLatin1Char('m');
    case MemberGramKind::HomeTel:
        break;
    }
    return QLatin1Char('h');
}

// SELECT of (Gram, MbCode) for the member whose columns are named
// row + "MbName" etc.; from is "" for a trigger's NEW/OLD row or
// "Member, " for every member.
QString gramsSelect(const QString &row, const QString &from)
{
    const QString p = positions();
    const QString name = QStringLiteral("lower(COALESCE(%1MbName, ''))").arg(row);
    QString s = QStringLiteral("SELECT 'n' || substr(%1, P.n, %2) AS Gram, %3MbCode AS MbCode FROM %4%5 "
                               "WHERE P.n + %6 <= length(%1)")
                    .arg(name)
                    .arg(kNameGramLength)
                    .arg(row, from, p)
                    .arg(kNameGramLength - 1);
    for (const auto &[mark, column] : {std::pair{"m", "Tel1"}, std::pair{"h", "Tel2"}}) {
        const QString digits = strippedSql(row + QLatin1String(column));
        s += QStringLiteral(" UNION SELECT '%1' || substr(%2, P.n, %3), %4MbCode FROM %5%6 WHERE P.n + %7 <= length(%2)")
                 .arg(QLatin1String(mark), digits)
                 .arg(kPhoneGramLength)
                 .arg(row, from, p)
                 .arg(kPhoneGramLength - 1);
    }
    return s;
}

} // namespace

QStringList memberGramTriggerStatements(Engine engine)
{
    const QString insertNew = QStringLiteral("INSERT INTO MemberGram (Gram, MbCode) ") +
                              gramsSelect(QStringLiteral("NEW."), {}) + QStringLiteral(" ON CONFLICT DO NOTHING");
    // The old pieces are found by their key; pieces written by an earlier
    // rule and left behind only widen a search's candidates.
    const QString deleteOld = QStringLiteral("DELETE FROM MemberGram WHERE MbCode = OLD.MbCode AND Gram IN (SELECT Gram FROM (") +
                              gramsSelect(QStringLiteral("OLD."), {}) + QStringLiteral(") G)");
    const QString watched = QStringLiteral("MbCode, MbName, Tel1, Tel2");
    // Made anew when they are there already (an upgrade run again).
    if (engine == Engine::SQLite) {
        return {
            QStringLiteral("DROP TRIGGER IF EXISTS MemberGramInsert"),
            QStringLiteral("DROP TRIGGER IF EXISTS MemberGramUpdate"),
            QStringLiteral("DROP TRIGGER IF EXISTS MemberGramDelete"),
            QStringLiteral("CREATE TRIGGER MemberGramInsert AFTER INSERT ON Member BEGIN %1; END").arg(insertNew),
            QStringLiteral("CREATE TRIGGER MemberGramUpdate AFTER UPDATE OF %1 ON Member BEGIN %2; %3; END")
                .arg(watched, deleteOld, insertNew),
            QStringLiteral("CREATE TRIGGER MemberGramDelete AFTER DELETE ON Member BEGIN %1; END").arg(deleteOld),
        };
    }
    return {
        QStringLiteral("CREATE OR REPLACE FUNCTION member_gram_sync() RETURNS trigger LANGUAGE plpgsql AS $body$ "
                       "BEGIN "
                       "IF TG_OP <> 'INSERT' THEN %1; END IF; "
                       "IF TG_OP <> 'DELETE' THEN %2; END IF; "
                       "RETURN NULL; "
                       "END $body$")
            .arg(deleteOld, insertNew),
        QStringLiteral("DROP TRIGGER IF EXISTS MemberGramSync ON Member"),
        QStringLiteral("CREATE TRIGGER MemberGramSync AFTER INSERT OR DELETE OR UPDATE OF %1 ON Member "
                       "FOR EACH ROW EXECUTE FUNCTION member_gram_sync()")
            .arg(watched),
    };
}

void rebuildMemberGrams(const Db &db)
{
    db.transaction([&] {
        db.exec(QStringLiteral("DELETE FROM MemberGram"));
        db.exec(QStringLiteral("INSERT INTO MemberGram (Gram, MbCode) ") +
                gramsSelect(QStringLiteral("Member."), QStringLiteral("Member, ")));
    });
    // The planner learns at once how many members a piece holds (a search
    // of a common piece otherwise looks cheaper than it is until autovacuum
    // comes by).
    if (db.isPostgres())
        db.exec(QStringLiteral("ANALYZE MemberGram"));
}

QStringList memberSearchGrams(MemberGramKind kind, const QString &text, int maxGrams)
{
    const bool name = kind == MemberGramKind::Name;
    const QString t = name ? text : phoneDigits(text);
    const int len = name ? kNameGramLength : kPhoneGramLength;
    // Pieces count characters; a text outside the basic plane would be cut
    // differently by the engines.
    for (const QChar c : t)
        if (c.isSurrogate())
            return {};
    const int count = int(t.size()) - len + 1;
    if (count <= 0 || maxGrams <= 0)
        return {};
    QStringList out;
    const int take = std::min(count, maxGrams);
    for (int i = 0; i < take; ++i) {
        // Spread over the text: the first piece, the last, and between.
        const int at = take == 1 ? 0 : int(qint64(i) * (count - 1) / (take - 1));
        const QString g = kindMark(kind) + t.mid(at, len);
        if (!out.contains(g))
            out << g;
    }
    return out;
}

} // namespace fitrova
