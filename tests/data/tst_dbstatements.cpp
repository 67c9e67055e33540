// Statements kept prepared per connection: they run again with new values,
// outlive rolled-back and aborted transactions, never outlive their
// connection, and a failing statement is not kept in a broken state.
// FITROVA_DB_TEST

#include "foundation/connections.h"
#include "data/db.h"
#include "testinstall.h"

#include <QtTest>

using namespace fitrova;
using fitrova::test::TestInstall;

class TestDbStatements : public QObject {
    Q_OBJECT
    std::unique_ptr<TestInstall> inst;
    const Db &db() { return inst->db(); }

    void addMember(const QString &code, const QString &name)
    {
        db().exec(QStringLiteral("INSERT INTO Member (MbCode, MbName, MbCard) VALUES (?, ?, ?)"),
                  {code, name, QString(QStringLiteral("C") + code)});
    }
    QString nameOf(const QString &code)
    {
        return db().scalar(QStringLiteral("SELECT MbName FROM Member WHERE MbCode = ?"), {code}).toString();
    }

private Q_SLOTS:
    void init() { inst = std::make_unique<TestInstall>(); }
    void cleanup() { inst.reset(); }

    void sameTextRunsWithNewValuesThroughEveryCall()
    {
        for (int i = 1; i <= 5; ++i)
            addMember(QStringLiteral("0000000%1").arg(i), QStringLiteral("회원%1").arg(i));
        for (int round = 0; round < 3; ++round) {
            for (int i = 1; i <= 5; ++i) {
                const QString code = QStringLiteral("0000000%1").arg(i);
                QCOMPARE(nameOf(code), QStringLiteral("회원%1").arg(i));
                const auto row = db().queryOne(QStringLiteral("SELECT MbCode, MbName FROM Member WHERE MbCard = ?"),
                                               {QString(QStringLiteral("C") + code)});
                QVERIFY(row);
                QCOMPARE(row->str(QStringLiteral("MbCode")), code);
                QCOMPARE(db().query(QStringLiteral("SELECT MbCode FROM Member WHERE MbCode <= ? ORDER BY MbCode"), {code}).size(), i);
            }
        }
        // A query whose rows were not all read leaves nothing open: the same
        // text runs again at once, and a write goes through.
        QVERIFY(db().queryOne(QStringLiteral("SELECT MbCode FROM Member WHERE MbCode > ? ORDER BY MbCode"), {QStringLiteral("0")}));
        QCOMPARE(db().exec(QStringLiteral("UPDATE Member SET MbName = ? WHERE MbCode > ?"), {QStringLiteral("새이름"), QStringLiteral("0")}), 5);
        QCOMPARE(db().queryOne(QStringLiteral("SELECT MbCode FROM Member WHERE MbCode > ? ORDER BY MbCode"), {QStringLiteral("0")})
                     ->str(QStringLiteral("MbCode")),
                 QStringLiteral("00000001"));
        const qint64 a = db().insertId(QStringLiteral("INSERT INTO entrance (InDate, MbCode) VALUES (?, ?)"),
                                       {QStringLiteral("2024-05-10"), QStringLiteral("00000001")}, QStringLiteral("Entid"));
        const qint64 b = db().insertId(QStringLiteral("INSERT INTO entrance (InDate, MbCode) VALUES (?, ?)"),
                                       {QStringLiteral("2024-05-10"), QStringLiteral("00000002")}, QStringLiteral("Entid"));
        QVERIFY(b > a);
    }

    // Statements first prepared inside a transaction that is then undone, or
    // that a failed statement aborted, still run afterwards.
    void statementsOutliveUndoneTransactions_data()
    {
        QTest::addColumn<bool>("nested");
        QTest::addColumn<bool>("failingStatement");
        QTest::newRow("rolled back") << false << false;
        QTest::newRow("aborted by a failed statement") << false << true;
        QTest::newRow("savepoint rolled back") << true << false;
        QTest::newRow("savepoint aborted by a failed statement") << true << true;
    }
    void statementsOutliveUndoneTransactions()
    {
        QFETCH(bool, nested);
        QFETCH(bool, failingStatement);
        addMember(QStringLiteral("00000001"), QStringLiteral("홍길동"));
        auto body = [&] {
            QCOMPARE(nameOf(QStringLiteral("00000001")), QStringLiteral("홍길동"));
            db().exec(QStringLiteral("UPDATE Member SET MbName = ? WHERE MbCode = ?"), {QStringLiteral("바뀜"), QStringLiteral("00000001")});
            if (failingStatement) {
                try {
                    addMember(QStringLiteral("00000001"), QStringLiteral("중복")); // same key
                    QFAIL("a duplicate key was accepted");
                } catch (const DbError &e) {
                    QVERIFY(e.isUniqueViolation());
                }
                // On PostgreSQL the transaction is aborted now: a kept
                // statement fails, and must not be dropped or broken by it.
                if (db().isPostgres())
                    QVERIFY_THROWS_EXCEPTION(DbError, nameOf(QStringLiteral("00000001")));
            }
            throw std::runtime_error("undo");
        };
        try {
            if (nested)
                db().transaction([&] {
                    addMember(QStringLiteral("00000002"), QStringLiteral("바깥"));
                    try {
                        db().transaction(body);
                    } catch (const std::runtime_error &) {
                    }
                    // The outer transaction goes on with the same statements.
                    QCOMPARE(nameOf(QStringLiteral("00000001")), QStringLiteral("홍길동"));
                    QCOMPARE(nameOf(QStringLiteral("00000002")), QStringLiteral("바깥"));
                });
            else
                db().transaction(body);
        } catch (const std::runtime_error &) {
        }
        QCOMPARE(db().transactionDepth(), 0);
        QCOMPARE(nameOf(QStringLiteral("00000001")), QStringLiteral("홍길동"));
        QCOMPARE(nameOf(QStringLiteral("00000002")), nested ? QStringLiteral("바깥") : QString());
        db().exec(QStringLiteral("UPDATE Member SET MbName = ? WHERE MbCode = ?"), {QStringLiteral("다시"), QStringLiteral("00000001")});
        QCOMPARE(nameOf(QStringLiteral("00000001")), QStringLiteral("다시"));
    }

    // Reconnecting under the same connection names (a new driver, maybe at
    // the same address) never reuses a statement of the old connection.
    void reconnectingStartsAfresh()
    {
        addMember(QStringLiteral("00000001"), QStringLiteral("홍길동"));
        for (int round = 0; round < 3; ++round) {
            QCOMPARE(nameOf(QStringLiteral("00000001")), QStringLiteral("홍길동"));
            inst->ctx().closeConnections();
            const auto failure = connectDatabases(inst->ctx());
            QVERIFY(!failure);
        }
        QCOMPARE(nameOf(QStringLiteral("00000001")), QStringLiteral("홍길동"));
        // Closed and opened again without being removed: the same driver with
        // a new connection below it.
        QSqlDatabase h = db().handle();
        h.close();
        QVERIFY(h.open());
        if (!db().isPostgres())
            db().exec(QStringLiteral("ATTACH DATABASE ? AS ent"), {inst->ctx().paths.entDb});
        QCOMPARE(nameOf(QStringLiteral("00000001")), QStringLiteral("홍길동"));
    }

    // More texts than are kept: the oldest are dropped and prepared again.
    void manyTextsStayCorrect()
    {
        addMember(QStringLiteral("00000001"), QStringLiteral("홍길동"));
        for (int round = 0; round < 2; ++round)
            for (int i = 0; i < 300; ++i)
                QCOMPARE(db().scalar(QStringLiteral("SELECT MbName || '%1' FROM Member WHERE MbCode = ?").arg(i),
                                     {QStringLiteral("00000001")})
                             .toString(),
                         QString(QStringLiteral("홍길동") + QString::number(i)));
    }

    // A statement that fails keeps failing with its own error, and a good one
    // of the same shape is not affected.
    void failingStatementReportsEveryTime()
    {
        for (int i = 0; i < 3; ++i) {
            try {
                db().scalar(QStringLiteral("SELECT MbName FROM NoSuchTable WHERE MbCode = ?"), {QStringLiteral("1")});
                QFAIL("no error");
            } catch (const DbError &e) {
                QVERIFY(e.sql().contains(QStringLiteral("NoSuchTable")));
            }
        }
        // A schema change under a kept statement.
        db().exec(QStringLiteral("CREATE TABLE Scratch (Code TEXT, Name TEXT)"));
        db().exec(QStringLiteral("INSERT INTO Scratch (Code, Name) VALUES (?, ?)"), {QStringLiteral("a"), QStringLiteral("가")});
        QCOMPARE(db().queryOne(QStringLiteral("SELECT * FROM Scratch WHERE Code = ?"), {QStringLiteral("a")})->record().count(), 2);
        db().exec(QStringLiteral("ALTER TABLE Scratch ADD COLUMN Extra TEXT"));
        const auto r = db().queryOne(QStringLiteral("SELECT * FROM Scratch WHERE Code = ?"), {QStringLiteral("a")});
        QVERIFY(r);
        QCOMPARE(r->record().count(), 3);
        QCOMPARE(r->str(QStringLiteral("Name")), QStringLiteral("가"));
    }
};

QTEST_GUILESS_MAIN(TestDbStatements)
#include "tst_dbstatements.moc"
