#pragma once
// Where a generated centre's rows go. A small centre (the demo) is written row
// by row through the context's own connection, inside the caller's
// transaction. A large one is loaded in bulk over connections of its own:
// multi-row prepared INSERTs, the lookup indexes of the big tables dropped
// while loading and built afterwards, everything in one transaction per file.
// Rows carry their ids where other rows refer to them, so both ways give the
// same rows.

#include "foundation/appcontext.h"

#include <QString>
#include <QVariant>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace fitrova::demo {

struct Field {
    QString column;
    QVariant value;
};
using Fields = std::vector<Field>;

class CentreSink {
public:
    virtual ~CentreSink() = default;
    virtual void add(const QString &table, const Fields &fields) = 0;
    // Adds a row and returns the id the database gave it (small tables the
    // planning refers to: programs, items).
    virtual qint64 addReturningId(const QString &table, const Fields &fields, const char *idColumn) = 0;
    // Runs a statement of the generator's own (the small tables it adjusts).
    virtual void exec(const QString &sql, const QVariantList &params) = 0;
    // Everything written and committed; identity columns continue after the ids given.
    virtual void finish() = 0;
};

// Row by row on the context's main connection (statements prepared once).
std::unique_ptr<CentreSink> rowSink(const AppContext &ctx);

// Reports a phase of the work and the seconds it took.
using PhaseReport = std::function<void(const QString &phase, double seconds)>;

// In bulk over connections of its own; the context's connections must be
// closed meanwhile (the loader takes the files for itself).
std::unique_ptr<CentreSink> bulkSink(const AppContext &ctx, const PhaseReport &report);

// Sets the identity columns of the tables given ids by hand to continue after
// the highest id (PostgreSQL; SQLite's AUTOINCREMENT follows by itself).
void continueIdentities(const Db &db, const std::vector<QString> &tables);

} // namespace fitrova::demo
