#pragma once
// The code tables of the code screen: member kinds (MbGubun, with their
// discount rate) and card companies (Card, with their rate). Codes are one
// character, "1" … "9", then "A" ….

#include "foundation/outcome.h"
#include "catalogue/codesequence.h"
#include "data/db.h"

#include <QList>
#include <QString>

namespace fitrova {

struct CodeRow {
    QString code, name;
    double rate = 0; // percent
};

QList<CodeRow> listCodeRows(const Db &db, CodeTable table);
// Adds a row under the next code; result.code is the code given.
Outcome addCodeRow(const Db &db, CodeTable table, const QString &name, double rate);
// Writes name and rate; "수정할 항목이 없읍니다" when the code is gone.
Outcome updateCodeRow(const Db &db, CodeTable table, const QString &code, const QString &name,
                      double rate);
void deleteCodeRow(const Db &db, CodeTable table, const QString &code);

} // namespace fitrova
