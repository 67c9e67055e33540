#include "data/schemamigrate.h"

#include "data/membergrams.h"

namespace fitrova {

namespace {

// Creates one of the schema's lookup indexes on a database made before it.
// On the file databases a table may live in an attached file (the visits in
// the entrance file): the index goes into the file that holds the table.
void addIndex(const Db &db, const QString &table, const QStringList &columns)
{
    // (An installation may have been given it by hand already.)
    QString stmt = createIndexStatement(table, columns);
    stmt.replace(QStringLiteral("CREATE INDEX "), QStringLiteral("CREATE INDEX IF NOT EXISTS "));
    if (db.engine() == Engine::SQLite) {
        for (const Row &file : db.query(QStringLiteral("PRAGMA database_list"))) {
            const QString schema = file.str(QStringLiteral("name"));
            if (db.scalar(QStringLiteral("SELECT 1 FROM \"%1\".sqlite_master WHERE type = 'table' AND lower(name) = lower(?)").arg(schema),
                          {table})
                    .isValid()) {
                stmt.replace(QStringLiteral(" EXISTS "), QStringLiteral(" EXISTS \"%1\".").arg(schema));
                break;
            }
        }
    }
    db.exec(stmt);
}

} // namespace

void createTables(const Db &db, std::optional<DbFile> file, bool stampVersion)
{
    db.transaction([&] {
        for (const Table &t : allTables()) {
            if (file && t.file != *file)
                continue;
            for (const QString &stmt : createTableStatements(t, db.engine()))
                db.exec(stmt);
        }
        if (!file || *file == DbFile::Main) {
            for (const QString &stmt : memberGramTriggerStatements(db.engine()))
                db.exec(stmt);
            if (stampVersion)
                stampSchemaVersion(db);
        }
    });
}

void stampSchemaVersion(const Db &main)
{
    main.exec(QStringLiteral("INSERT INTO DbVersion (Version) VALUES (?)"), {schemaVersion()});
}

int storedSchemaVersion(const Db &main)
{
    if (!main.tableExists(QStringLiteral("DbVersion")))
        return 0;
    return main.scalar(QStringLiteral("SELECT MAX(Version) FROM DbVersion")).toInt();
}

void migrateSchema(const Db &main, int fromVersion, int toVersion)
{
    if (toVersion <= 0)
        toVersion = schemaVersion();
    // Each release that changes the schema adds its step here:
    //   case 1: ALTER TABLE …; UPDATE DbVersion SET Version = 2; [[fallthrough]];
    for (int v = fromVersion; v < toVersion; ++v) {
        main.transaction([&] {
            switch (v) {
            case 1:
                // Counters of the running numbers.
                if (const Table *t = findTable(QStringLiteral("NumberCounter")))
                    for (const QString &stmt : createTableStatements(*t, main.engine()))
                        main.exec(stmt);
                break;
            case 2:
                // Refund vouchers point at the voucher they refund; lookups of
                // sales by item and of goods by class.
                main.exec(addColumnStatement(QStringLiteral("Sale"), QStringLiteral("RfSlId"), main.engine()));
                main.exec(createIndexStatement(QStringLiteral("Sale"), {QStringLiteral("ItId")}));
                main.exec(createIndexStatement(QStringLiteral("Sale"), {QStringLiteral("RfSlId"), QStringLiteral("SEQ")}));
                main.exec(createIndexStatement(QStringLiteral("Item"),
                                               {QStringLiteral("Course"), QStringLiteral("Sclass"), QStringLiteral("ItName")}));
                break;
            case 3:
                // Shifts counted blind: the reason for a difference, the
                // difference allowed without one, the notes and coins counted;
                // the day's window read along the sale time.
                main.exec(addColumnStatement(QStringLiteral("Finish"), QStringLiteral("Remark"), main.engine()));
                main.exec(addColumnStatement(QStringLiteral("UserEnv"), QStringLiteral("fDiffAmt"), main.engine()));
                if (const Table *t = findTable(QStringLiteral("FinishCash")))
                    for (const QString &stmt : createTableStatements(*t, main.engine()))
                        main.exec(stmt);
                main.exec(createIndexStatement(QStringLiteral("Sale"), {QStringLiteral("SlDate"), QStringLiteral("LastTime")}));
                break;
            case 4:
                // The substring index of names and telephone numbers.
                if (const Table *t = findTable(QStringLiteral("MemberGram")); t && !main.tableExists(t->name))
                    for (const QString &stmt : createTableStatements(*t, main.engine()))
                        main.exec(stmt);
                for (const QString &stmt : memberGramTriggerStatements(main.engine()))
                    main.exec(stmt);
                rebuildMemberGrams(main);
                break;
            case 5:
                // The reports' covering indexes: visits counted per day,
                // member and course item, and what each member owes.
                addIndex(main, QStringLiteral("entrance"),
                         {QStringLiteral("InDate"), QStringLiteral("MbCode"), QStringLiteral("Course")});
                addIndex(main, QStringLiteral("Lecture"),
                         {QStringLiteral("MbCode"), QStringLiteral("TAmt"), QStringLiteral("CashAmt"),
                          QStringLiteral("CardAmt")});
                break;
            case 6:
                // The waiting lists of full programs.
                if (const Table *t = findTable(QStringLiteral("WaitList")); t && !main.tableExists(t->name))
                    for (const QString &stmt : createTableStatements(*t, main.engine()))
                        main.exec(stmt);
                break;
            case 7:
                // The member list in name order, read from the index alone.
                addIndex(main, QStringLiteral("Member"), {QStringLiteral("MbName"), QStringLiteral("MbCode")});
                break;
            default:
                break;
            }
            main.exec(QStringLiteral("UPDATE DbVersion SET Version = ?"), {v + 1});
        });
    }
}

} // namespace fitrova
