#include "catalogue/codesequence.h"

#include "data/numbering.h"

namespace fitrova {

namespace {
constexpr char16_t kFirstPrintable = u'!';
constexpr char16_t kLastPrintable = u'~';

bool isCodeCharacter(QChar c) { return c.unicode() >= kFirstPrintable && c.unicode() <= kLastPrintable; }

QString fitWidth(const QString &code, int width) { return code.size() > width ? QString() : code; }
} // namespace

QString nextCharCode(const QString &last, NineRule rule)
{
    if (last.isEmpty())
        return QStringLiteral("1");
    const QChar c = last.at(0);
    if (c == u'9' && rule == NineRule::ToLetterA)
        return QStringLiteral("A");
    const char16_t next = char16_t(c.unicode() + 1);
    if (next < kFirstPrintable || next > kLastPrintable)
        return {};
    return QString(QChar(next));
}

QString highestCharCode(const QStringList &codes)
{
    QString best;
    for (const QString &c : codes) {
        // Codes are stored as text(1); a blank-padded value from an older
        // database counts by its character.
        const QString code = c.trimmed();
        if (code.size() != 1 || !isCodeCharacter(code.at(0)))
            continue;
        if (best.isEmpty() || code.at(0).unicode() > best.at(0).unicode())
            best = code;
    }
    return best;
}

namespace {
QStringList codesOf(const Rows &rows)
{
    QStringList codes;
    for (const Row &r : rows)
        codes.append(r.str(QStringLiteral("Code")));
    return codes;
}
} // namespace

QString nextCourseCode(const Db &db, const QString &psGroup, NineRule rule)
{
    // The highest code is chosen here rather than by ORDER BY: the engines
    // sort punctuation and letters differently under most collations.
    const Rows rows = db.query(QStringLiteral("SELECT Code FROM Course WHERE PsGroup = ?"), {psGroup});
    return nextCharCode(highestCharCode(codesOf(rows)), rule);
}

QString codeTableName(CodeTable table)
{
    return table == CodeTable::MemberKind ? QStringLiteral("MbGubun") : QStringLiteral("Card");
}

QString codeTableRateColumn(CodeTable table)
{
    return table == CodeTable::MemberKind ? QStringLiteral("Rate") : QStringLiteral("yul");
}

QString nextCodeTableCode(const Db &db, CodeTable table)
{
    const Rows rows = db.query(QStringLiteral("SELECT Code FROM %1").arg(codeTableName(table)));
    return nextCharCode(highestCharCode(codesOf(rows)), NineRule::ToLetterA);
}

QString nextSclassCode(const Db &db, const QString &psGroup, const QString &course)
{
    return fitWidth(nextNumber(db, QStringLiteral("Sclass"), QStringLiteral("Sclass"), 2,
                               QStringLiteral("PsGroup = ? AND Course = ?"), {psGroup, course}),
                    2);
}

QString nextLecturerCode(const Db &db)
{
    return fitWidth(nextNumber(db, QStringLiteral("Lecturer"), QStringLiteral("LTcode"), 4), 4);
}

} // namespace fitrova
