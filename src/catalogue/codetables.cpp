#include "catalogue/codetables.h"

namespace fitrova {

QList<CodeRow> listCodeRows(const Db &db, CodeTable table)
{
    QList<CodeRow> rows;
    const QString rate = codeTableRateColumn(table);
    for (const Row &r : db.query(QStringLiteral("SELECT Code, Name, %1 FROM %2 ORDER BY Code").arg(rate, codeTableName(table))))
        rows.append({r.str(QStringLiteral("Code")), r.str(QStringLiteral("Name")), r.dbl(rate)});
    return rows;
}

Outcome addCodeRow(const Db &db, CodeTable table, const QString &name, double rate)
{
    const QString code = retryOnUniqueViolation(db, [&]() -> QString {
        const QString c = nextCodeTableCode(db, table);
        if (c.isEmpty())
            return {};
        db.exec(QStringLiteral("INSERT INTO %1 (Code, Name, %2) VALUES (?, ?, ?)")
                    .arg(codeTableName(table), codeTableRateColumn(table)),
                {c, name.trimmed(), rate});
        return c;
    });
    if (code.isEmpty())
        return Outcome::refusedPlain(QStringLiteral("더 이상 만들 수 있는 코드가 없읍니다"), QStringLiteral("코드생성"));
    return Outcome::done(0, code);
}

Outcome updateCodeRow(const Db &db, CodeTable table, const QString &code, const QString &name, double rate)
{
    const int n = db.exec(QStringLiteral("UPDATE %1 SET Name = ?, %2 = ? WHERE Code = ?")
                              .arg(codeTableName(table), codeTableRateColumn(table)),
                          {name.trimmed(), rate, code});
    if (n == 0)
        return Outcome::refusedPlain(QStringLiteral("수정할 항목이 없읍니다"), QStringLiteral("자료수정"));
    return Outcome::done(0, code);
}

void deleteCodeRow(const Db &db, CodeTable table, const QString &code)
{
    db.exec(QStringLiteral("DELETE FROM %1 WHERE Code = ?").arg(codeTableName(table)), {code});
}

} // namespace fitrova
