// FITROVA_DB_TEST
// The upgrade of an installation made before the covering indexes of the
// reports and of the member list: each index is made on the file that holds
// its table (the visits live in the entrance file) and the version moves on.

#include <QtTest>

#include "data/schema.h"
#include "data/schemamigrate.h"
#include "testinstall.h"

using namespace fitrova;
using fitrova::test::TestInstall;

namespace {

// The name the schema gives an index of a table.
QString indexName(const QString &table, const QStringList &columns)
{
    const Table *t = findTable(table);
    for (qsizetype i = 0; t && i < qsizetype(t->indexes.size()); ++i)
        if (t->indexes.at(i).columns == columns)
            return QStringLiteral("ix_%1_%2").arg(t->name).arg(i + 1);
    return {};
}

// The table an index of that name is on; "" when there is none.
QString tableOfIndex(const Db &db, const QString &index)
{
    if (db.isPostgres())
        return db.scalar(QStringLiteral("SELECT tablename FROM pg_indexes WHERE schemaname = current_schema() "
                                        "AND indexname = lower(?)"),
                         {index})
            .toString();
    for (const Row &file : db.query(QStringLiteral("PRAGMA database_list"))) {
        const QVariant t = db.scalar(
            QStringLiteral("SELECT tbl_name FROM \"%1\".sqlite_master WHERE type = 'index' AND name = ?")
                .arg(file.str(QStringLiteral("name"))),
            {index});
        if (t.isValid())
            return t.toString();
    }
    return {};
}

} // namespace

class TstSchemaMigrate : public QObject {
    Q_OBJECT

    const Db &db() { return m_inst.db(); }

private slots:
    void reportIndexesAddedOnUpgrade_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QStringList>("columns");
        QTest::newRow("visits per day, member and course") << "entrance" << QStringList{"InDate", "MbCode", "Course"};
        QTest::newRow("what members owe") << "Lecture" << QStringList{"MbCode", "TAmt", "CashAmt", "CardAmt"};
        QTest::newRow("members in name order") << "Member" << QStringList{"MbName", "MbCode"};
    }

    void reportIndexesAddedOnUpgrade()
    {
        QFETCH(QString, table);
        QFETCH(QStringList, columns);
        const QString name = indexName(table, columns);
        QVERIFY(!name.isEmpty());
        QCOMPARE(tableOfIndex(db(), name).toLower(), table.toLower()); // a new installation has it

        db().exec(QStringLiteral("DROP INDEX ") + name);
        db().exec(QStringLiteral("UPDATE DbVersion SET Version = 5"));
        QVERIFY(tableOfIndex(db(), name).isEmpty());
        migrateSchema(db(), 5);
        QCOMPARE(storedSchemaVersion(db()), schemaVersion());
        QCOMPARE(tableOfIndex(db(), name).toLower(), table.toLower());
    }

private:
    TestInstall m_inst;
};

QTEST_GUILESS_MAIN(TstSchemaMigrate)
#include "tst_schemamigrate.moc"
