// The connection wrapper on both engines: bound values, control characters
// dropped at the binding, transactions with savepoints, unique-key errors,
// column lookups, and on the file databases the commit log that keeps one
// transaction over several files whole when a desk dies between their
// commits.
// FITROVA_DB_TEST

#include "data/db.h"
#include "data/rowstream.h"
#include "data/schema.h"
#include "testinstall.h"

#include <QSemaphore>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>
#include <thread>

using namespace fitrova;
using fitrova::test::TestInstall;

class TestDb : public QObject {
    Q_OBJECT
    std::unique_ptr<TestInstall> inst;
    const Db &db() { return inst->db(); }
    qint64 count(const QString &table)
    {
        return db().scalar(QStringLiteral("SELECT COUNT(*) FROM ") + table).toLongLong();
    }
    bool files() const { return fitrova::test::testEngine() == Engine::SQLite; }
    // A member (main file) and a ledger row (point file) in one transaction.
    void memberWithPoints(const QString &code, qint64 points)
    {
        db().transaction([&] {
            db().exec(QStringLiteral("INSERT INTO Member (MbCode, MbName, Point) VALUES (?, '가', ?)"), {code, points});
            db().exec(QStringLiteral("INSERT INTO UserPoint (MbCode, PgGubun, JoinId, uPoint, mPoint) VALUES (?, '1', 7, ?, 0)"),
                      {code, points});
        });
    }

private Q_SLOTS:
    void initTestCase() { inst = std::make_unique<TestInstall>(); }
    void cleanupTestCase() { inst.reset(); }
    void cleanup()
    {
        QCOMPARE(db().transactionDepth(), 0);
        for (const char *t : {"Member", "Lecture", "entrance", "ItemTrs", "UserPoint"})
            db().exec(QStringLiteral("DELETE FROM ") + QLatin1String(t));
        if (files()) {
            db().transaction([] {}); // lets the commit log settle
            for (const char *t : {"main.DbCommitLog", "ent.DbCommitDone", "pnt.DbCommitDone"})
                db().exec(QStringLiteral("DELETE FROM ") + QLatin1String(t));
        }
    }

    void everyTableIsReachableOnTheMainConnection()
    {
        for (const Table &t : allTables()) {
            QVERIFY2(db().tableExists(t.name) || t.file == DbFile::Post || t.file == DbFile::Print, qPrintable(t.name));
            const Db &where = t.file == DbFile::Post ? inst->ctx().post
                : t.file == DbFile::Print            ? inst->ctx().print
                                                     : db();
            QVERIFY2(where.scalar(QStringLiteral("SELECT COUNT(*) FROM ") + t.name).isValid(), qPrintable(t.name));
        }
    }

    void hostileTextIsStoredAsIs_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("apostrophe") << "O'Neil 김";
        QTest::newRow("injection") << "x'); DELETE FROM Member; --";
        QTest::newRow("percent and underscore") << "100%_done";
        QTest::newRow("long") << QString(200, QChar(0xAC00));
    }
    void hostileTextIsStoredAsIs()
    {
        QFETCH(QString, name);
        db().exec(QStringLiteral("INSERT INTO Member (MbCode, MbName) VALUES (?, ?)"), {QStringLiteral("00000001"), name});
        db().exec(QStringLiteral("INSERT INTO Member (MbCode, MbName) VALUES (?, ?)"), {QStringLiteral("00000002"), QStringLiteral("other")});
        QCOMPARE(db().scalar(QStringLiteral("SELECT MbName FROM Member WHERE MbCode = ?"), {QStringLiteral("00000001")}).toString(), name);
        QCOMPARE(db().scalar(QStringLiteral("SELECT COUNT(*) FROM Member WHERE MbName LIKE '%' || ? || '%'"), {name}).toInt(), 1);
    }

    void rowLookupIgnoresCaseAndReadsNulls()
    {
        db().exec(QStringLiteral("INSERT INTO Member (MbCode, MbName, MisuAmt) VALUES ('00000009', '홍길동', 1500)"));
        const auto r = db().queryOne(QStringLiteral("SELECT MbCode, MbName, MisuAmt, Tel1 FROM Member"));
        QVERIFY(r.has_value());
        QCOMPARE(r->str(QStringLiteral("MBNAME")), QStringLiteral("홍길동"));
        QCOMPARE(r->num(QStringLiteral("misuamt")), 1500);
        QCOMPARE(r->str(QStringLiteral("Tel1")), QString());
        QVERIFY(r->isNull(QStringLiteral("Tel1")));
        QCOMPARE(r->num(QStringLiteral("Tel1")), 0);
    }

    // Rows of a list share their column names; every row answers by name
    // (in any case) and by position with its own values.
    void listRowsByNameAndPosition_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QStringList>("values"); // of the two rows; "<null>" for none
        QTest::newRow("as written") << "MbName" << QStringList{"홍길동", "이순신"};
        QTest::newRow("upper case") << "MBNAME" << QStringList{"홍길동", "이순신"};
        QTest::newRow("lower case") << "misuamt" << QStringList{"1500", "0"};
        QTest::newRow("table and column") << "Member.MbCode" << QStringList{"00000001", "00000002"};
        QTest::newRow("alias") << "Code2" << QStringList{"00000001", "00000002"};
        QTest::newRow("twice: the first") << "dup" << QStringList{"홍길동", "이순신"};
        QTest::newRow("null") << "Tel1" << QStringList{"<null>", "010"};
        QTest::newRow("unknown") << "Nothing" << QStringList{"<null>", "<null>"};
    }
    void listRowsByNameAndPosition()
    {
        QFETCH(QString, column);
        QFETCH(QStringList, values);
        db().exec(QStringLiteral("INSERT INTO Member (MbCode, MbName, MisuAmt) VALUES ('00000001', '홍길동', 1500)"));
        db().exec(QStringLiteral("INSERT INTO Member (MbCode, MbName, MisuAmt, Tel1) VALUES ('00000002', '이순신', 0, '010')"));
        const Rows rows = db().query(QStringLiteral("SELECT MbCode, MbName, MisuAmt, Tel1, MbCode AS Code2, "
                                                    "MbName AS dup, MbCode AS DUP FROM Member ORDER BY MbCode"));
        QCOMPARE(rows.size(), 2);
        for (int i = 0; i < 2; ++i) {
            const Row &r = rows.at(i);
            const bool null = values.at(i) == QLatin1String("<null>");
            QCOMPARE(r.isNull(column), null);
            QCOMPARE(r.str(column), null ? QString() : values.at(i));
            QCOMPARE(r.columnCount(), 7);
            QCOMPARE(r.at(0).toString(), QStringLiteral("0000000%1").arg(i + 1));
            QVERIFY(!r.at(7).isValid());
            const QSqlRecord rec = r.record();
            QCOMPARE(rec.count(), 7);
            QCOMPARE(rec.value(1).toString(), r.str(QStringLiteral("MbName")));
        }
    }

    // A row read as it streams gives what the same row kept gives: the same
    // value, text and number (on SQLite it is read straight from the engine).
    void streamedRowsReadAsKeptRows_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QVariantList>("params");
        QTest::newRow("bound text") << "SELECT ?" << QVariantList{QStringLiteral("홍길동 O'Neil")};
        QTest::newRow("bound empty text") << "SELECT ?" << QVariantList{QStringLiteral("")};
        QTest::newRow("bound null text") << "SELECT ?" << QVariantList{QString()};
        QTest::newRow("bound control characters") << "SELECT ?" << QVariantList{QVariant(QStringLiteral("a") + QChar(7) + QStringLiteral("b"))};
        QTest::newRow("bound whole number") << "SELECT ? + 0" << QVariantList{qint64(1500)};
        QTest::newRow("bound int") << "SELECT ? + 1" << QVariantList{7};
        QTest::newRow("bound yes") << "SELECT ?" << QVariantList{true};
        QTest::newRow("bound fraction") << "SELECT ? * 2" << QVariantList{2.25};
        QTest::newRow("whole number") << "SELECT -9000000000" << QVariantList{};
        QTest::newRow("fraction") << "SELECT 2.5" << QVariantList{};
        QTest::newRow("number as text") << "SELECT ' 42 '" << QVariantList{};
        QTest::newRow("fraction as text") << "SELECT '12.7'" << QVariantList{};
        QTest::newRow("null") << "SELECT NULL" << QVariantList{};
        QTest::newRow("empty text") << "SELECT ''" << QVariantList{};
    }
    void streamedRowsReadAsKeptRows()
    {
        QFETCH(QString, sql);
        QFETCH(QVariantList, params);
        const Rows kept = db().query(sql, params);
        QCOMPARE(kept.size(), 1);
        const QVariant v = kept.at(0).at(0);
        int rows = 0;
        forEachRow(db(), sql, params, [&](const StreamRow &r) {
            ++rows;
            QCOMPARE(r.value(0).typeId(), v.typeId());
            QCOMPARE(r.value(0), v);
            QCOMPARE(r.isNull(0), v.isNull());
            QCOMPARE(r.text(0), textOf(v));
            QCOMPARE(r.text(0).isNull(), textOf(v).isNull());
            QCOMPARE(r.num(0), numOf(v));
            QString joined = QStringLiteral("앞");
            r.appendText(0, joined);
            QCOMPARE(joined, QStringLiteral("앞") + textOf(v));
        });
        QCOMPARE(rows, 1);
    }

    // A failing statement reports itself; a read left by an exception lets go
    // of its table.
    void streamedReadsFailAndStopCleanly()
    {
        try {
            forEachRow(db(), QStringLiteral("SELECT NoSuchColumn FROM Member WHERE MbCode = ?"), {QStringLiteral("1")},
                       [](const StreamRow &) {});
            QFAIL("bad statement accepted");
        } catch (const DbError &e) {
            QVERIFY(e.sql().contains(QStringLiteral("NoSuchColumn")));
        }
        db().exec(QStringLiteral("CREATE TABLE StreamProbe (x INTEGER)"));
        for (int i = 0; i < 3; ++i)
            db().exec(QStringLiteral("INSERT INTO StreamProbe (x) VALUES (?)"), {i});
        int seen = 0;
        QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                 forEachRow(db(), QStringLiteral("SELECT x FROM StreamProbe ORDER BY x"), {},
                                            [&](const StreamRow &r) {
                                                if (++seen == 2)
                                                    throw std::runtime_error("stop");
                                                QCOMPARE(r.num(0), 0);
                                            }));
        QCOMPARE(seen, 2);
        db().exec(QStringLiteral("DROP TABLE StreamProbe")); // refused while a read still holds it
    }

    void failedActionLeavesNothing()
    {
        QVERIFY_THROWS_EXCEPTION(DbError, db().transaction([&] {
            db().exec(QStringLiteral("INSERT INTO Member (MbCode, MbName) VALUES ('00000001', 'A')"));
            db().exec(QStringLiteral("INSERT INTO Member (MbCode, MbName) VALUES ('00000001', 'B')"));
        }));
        QCOMPARE(count(QStringLiteral("Member")), 0);
        QCOMPARE(db().transactionDepth(), 0);
    }

    void exceptionOfTheCallerRollsBack()
    {
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, db().transaction([&] {
            db().exec(QStringLiteral("INSERT INTO Member (MbCode, MbName) VALUES ('00000001', 'A')"));
            throw std::runtime_error("refused");
        }));
        QCOMPARE(count(QStringLiteral("Member")), 0);
    }

    void innerFailureIsRecoveredBySavepoint()
    {
        // A failed statement aborts a whole PostgreSQL transaction unless it ran inside a savepoint.
        db().transaction([&] {
            db().exec(QStringLiteral("INSERT INTO Member (MbCode, MbName) VALUES ('00000001', 'A')"));
            bool caught = false;
            try {
                db().transaction([&] {
                    db().exec(QStringLiteral("INSERT INTO Member (MbCode, MbName) VALUES ('00000002', 'B')"));
                    db().exec(QStringLiteral("INSERT INTO Member (MbCode, MbName) VALUES ('00000001', 'dup')"));
                });
            } catch (const DbError &e) {
                caught = e.isUniqueViolation();
            }
            QVERIFY(caught);
            db().exec(QStringLiteral("INSERT INTO Member (MbCode, MbName) VALUES ('00000003', 'C')"));
        });
        QCOMPARE(db().scalar(QStringLiteral("SELECT COUNT(*) FROM Member WHERE MbCode IN ('00000001', '00000003')")).toInt(), 2);
        QCOMPARE(count(QStringLiteral("Member")), 2);
    }

    void errorsAreClassified()
    {
        db().exec(QStringLiteral("INSERT INTO Member (MbCode) VALUES ('00000001')"));
        try {
            db().exec(QStringLiteral("INSERT INTO Member (MbCode) VALUES ('00000001')"));
            QFAIL("duplicate accepted");
        } catch (const DbError &e) {
            QVERIFY(e.isUniqueViolation());
        }
        try {
            db().exec(QStringLiteral("SELECT NoSuchColumn FROM Member"));
            QFAIL("bad statement accepted");
        } catch (const DbError &e) {
            QVERIFY(!e.isUniqueViolation());
            QVERIFY(e.sql().contains(QStringLiteral("NoSuchColumn")));
        }
    }

    void retryTakesTheNextNumber()
    {
        db().exec(QStringLiteral("INSERT INTO Member (MbCode) VALUES ('00000001')"));
        int attempts = 0;
        const QString code = retryOnUniqueViolation(db(), [&] {
            ++attempts;
            // The first attempt uses a stale number, as a second workstation would.
            const QString c = attempts == 1 ? QStringLiteral("00000001") : QStringLiteral("00000002");
            db().exec(QStringLiteral("INSERT INTO Member (MbCode) VALUES (?)"), {c});
            return c;
        });
        QCOMPARE(code, QStringLiteral("00000002"));
        QCOMPARE(attempts, 2);
    }

    void insertReturnsTheNewId()
    {
        const qint64 a = db().insertId(QStringLiteral("INSERT INTO Lecture (MbCode, LtGubun) VALUES (?, '1')"),
                                       {QStringLiteral("00000001")}, QStringLiteral("Ltid"));
        const qint64 b = db().insertId(QStringLiteral("INSERT INTO Lecture (MbCode, LtGubun) VALUES (?, '1')"),
                                       {QStringLiteral("00000001")}, QStringLiteral("Ltid"));
        QVERIFY(a > 0);
        QCOMPARE(b, a + 1);
        // Ids are not handed out again after the newest row is deleted.
        db().exec(QStringLiteral("DELETE FROM Lecture WHERE Ltid = ?"), {b});
        const qint64 c = db().insertId(QStringLiteral("INSERT INTO Lecture (MbCode, LtGubun) VALUES (?, '1')"),
                                       {QStringLiteral("00000001")}, QStringLiteral("Ltid"));
        QVERIFY(c > b);
    }

    void controlCharactersAreDropped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("NUL inside a name") << QStringLiteral("김%1철수").arg(QChar(0)) << QStringLiteral("김철수");
        QTest::newRow("NUL at the end") << QStringLiteral("12345678%1").arg(QChar(0)) << QStringLiteral("12345678");
        QTest::newRow("card reader escape and bell") << QStringLiteral("%1[0m7001%2").arg(QChar(0x1b)).arg(QChar(7))
                                                     << QStringLiteral("[0m7001");
        QTest::newRow("backspace and DEL") << QStringLiteral("ab%1c%2").arg(QChar(8)).arg(QChar(0x7f))
                                           << QStringLiteral("abc");
        QTest::newRow("tab and line ends kept") << QStringLiteral("메모\t첫줄\r\n둘째줄") << QStringLiteral("메모\t첫줄\r\n둘째줄");
        QTest::newRow("nothing to drop") << QStringLiteral("홍길동 O'Neil") << QStringLiteral("홍길동 O'Neil");
    }
    void controlCharactersAreDropped()
    {
        // PostgreSQL refuses a NUL in text; the binding drops it on both engines.
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QCOMPARE(withoutControlCharacters(typed), stored);
        db().exec(QStringLiteral("INSERT INTO Member (MbCode, MbName, Ext) VALUES ('00000001', ?, ?)"), {typed, typed});
        const auto r = db().queryOne(QStringLiteral("SELECT MbName, Ext FROM Member WHERE MbName = ?"), {typed});
        QVERIFY(r.has_value());
        QCOMPARE(r->str(QStringLiteral("MbName")), stored);
        QCOMPARE(r->str(QStringLiteral("Ext")), stored);
    }

    void deadlockedActionIsTriedAgain()
    {
        // Two desks lock the same two members in the opposite order. The
        // server ends the transaction that waited first (this one); the
        // action then runs again and succeeds once the other has committed.
        if (files())
            QSKIP("a SQLite transaction holds the write lock from its start and cannot deadlock");
        db().exec(QStringLiteral("INSERT INTO Member (MbCode, MbName) VALUES ('0000000A', 'a'), ('0000000B', 'b')"));
        QSemaphore otherHoldsB, thisHoldsA;
        QString otherError;
        std::thread other([&] {
            const QString name = QStringLiteral("tst_db_other");
            {
                QSqlDatabase h = QSqlDatabase::cloneDatabase(db().connectionName(), name);
                if (!h.open()) {
                    otherError = h.lastError().text();
                    otherHoldsB.release();
                    return;
                }
                QSqlQuery q(h);
                // The server looks for the deadlock first in this test's own
                // transaction, which is thus the one it ends, however the
                // two threads are scheduled.
                q.exec(QStringLiteral("SET deadlock_timeout = '20s'"));
                q.exec(QStringLiteral("BEGIN"));
                q.exec(QStringLiteral("UPDATE Member SET MbName = 'other' WHERE MbCode = '0000000B'"));
                otherHoldsB.release();
                thisHoldsA.acquire();
                if (!q.exec(QStringLiteral("UPDATE Member SET MbName = 'other' WHERE MbCode = '0000000A'")))
                    otherError = q.lastError().nativeErrorCode();
                q.exec(QStringLiteral("COMMIT"));
            }
            QSqlDatabase::removeDatabase(name);
        });
        int calls = 0;
        db().transaction([&] {
            ++calls;
            db().exec(QStringLiteral("UPDATE Member SET MbName = 'this' WHERE MbCode = '0000000A'"));
            if (calls == 1) {
                otherHoldsB.acquire();
                thisHoldsA.release();
            }
            db().exec(QStringLiteral("UPDATE Member SET MbName = 'this' WHERE MbCode = '0000000B'"));
        });
        other.join();
        QCOMPARE(otherError, QString());
        QCOMPARE(calls, 2);
        QCOMPARE(db().scalar(QStringLiteral("SELECT COUNT(*) FROM Member WHERE MbName = 'this'")).toInt(), 2);
    }

    // --- one transaction over several files ---------------------------------------------

    void aTransactionOverSeveralFilesIsLoggedUntilTheNext()
    {
        if (!files())
            QSKIP("the server keeps every table in one database");
        memberWithPoints(QStringLiteral("00000001"), 500);
        // Committed: the log names the point file's part, which is marked done there.
        QCOMPARE(db().scalar(QStringLiteral("SELECT COUNT(*) FROM main.DbCommitLog WHERE Part = 'pnt'")).toInt(), 1);
        QCOMPARE(db().scalar(QStringLiteral("SELECT COUNT(*) FROM pnt.DbCommitDone")).toInt(), 1);
        // The next transaction finds it done everywhere and clears it.
        db().transaction([] {});
        QCOMPARE(count(QStringLiteral("main.DbCommitLog")), 0);
        QCOMPARE(count(QStringLiteral("pnt.DbCommitDone")), 0);
        // A transaction over one file needs no log.
        db().transaction([&] {
            db().exec(QStringLiteral("INSERT INTO entrance (InDate, InTime, MbCode) VALUES ('2024-05-10', '09:00', '00000001')"));
        });
        QCOMPARE(count(QStringLiteral("main.DbCommitLog")), 0);
    }

    void aFilePartLostInACrashIsWrittenAgain()
    {
        if (!files())
            QSKIP("the server keeps every table in one database");
        // A visit whose lent item refers to its id, and a ledger row, with the member.
        qint64 entid = 0;
        db().transaction([&] {
            db().exec(QStringLiteral("INSERT INTO Member (MbCode, MbName, Point) VALUES ('00000002', '나', 300)"));
            db().exec(QStringLiteral("INSERT INTO UserPoint (MbCode, PgGubun, JoinId, uPoint, mPoint) VALUES ('00000002', '1', 8, 300, 0)"));
            entid = db().insertId(QStringLiteral("INSERT INTO entrance (InDate, InTime, MbCode) VALUES ('2024-05-10', '10:00', '00000002')"),
                                  {}, QStringLiteral("Entid"));
            db().exec(QStringLiteral("INSERT INTO ItemTrs (Entid, ItId) VALUES (?, 3)"), {entid});
        });
        // As if the desk died after the main file committed: the attached
        // files' parts (and their done marks) never reached the disk.
        db().exec(QStringLiteral("DELETE FROM pnt.UserPoint"));
        db().exec(QStringLiteral("DELETE FROM pnt.DbCommitDone"));
        db().exec(QStringLiteral("DELETE FROM ent.ItemTrs"));
        db().exec(QStringLiteral("DELETE FROM ent.entrance"));
        db().exec(QStringLiteral("DELETE FROM ent.DbCommitDone"));
        // The next transaction, on any connection, writes them again first.
        const Db &other = inst->ctx().main2;
        other.transaction([&] {
            QCOMPARE(other.scalar(QStringLiteral("SELECT uPoint FROM UserPoint WHERE MbCode = '00000002'")).toInt(), 300);
            QCOMPARE(other.scalar(QStringLiteral("SELECT Entid FROM entrance WHERE MbCode = '00000002'")).toLongLong(), entid);
            QCOMPARE(other.scalar(QStringLiteral("SELECT Entid FROM ItemTrs WHERE ItId = 3")).toLongLong(), entid);
        });
        db().transaction([] {});
        QCOMPARE(count(QStringLiteral("main.DbCommitLog")), 0);
        QCOMPARE(count(QStringLiteral("UserPoint")), 1);
        QCOMPARE(count(QStringLiteral("entrance")), 1);
    }

    void undoneSavepointLeavesNoLog()
    {
        if (!files())
            QSKIP("the server keeps every table in one database");
        db().transaction([&] {
            db().exec(QStringLiteral("INSERT INTO Member (MbCode, MbName) VALUES ('00000003', '다')"));
            try {
                db().transaction([&] {
                    db().exec(QStringLiteral("INSERT INTO UserPoint (MbCode, PgGubun, JoinId, uPoint) VALUES ('00000003', '1', 9, 10)"));
                    throw std::runtime_error("refused");
                });
            } catch (const std::runtime_error &) {
            }
        });
        QCOMPARE(count(QStringLiteral("main.DbCommitLog")), 0);
        QCOMPARE(count(QStringLiteral("UserPoint")), 0);
        QCOMPARE(count(QStringLiteral("Member")), 1);
    }

    void crossFileJoinRunsInOneTransaction()
    {
        // A visit (entrance file) and the member's last visit (main file) in one action.
        const Db &ent = inst->ctx().ent;
        db().exec(QStringLiteral("INSERT INTO Member (MbCode, MbName) VALUES ('00000001', '김하나')"));
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, ent.transaction([&] {
            ent.exec(QStringLiteral("INSERT INTO entrance (InDate, InTime, MbCode) VALUES ('2024-05-10', '09:00', '00000001')"));
            db().exec(QStringLiteral("UPDATE Member SET LastDate = '2024-05-10' WHERE MbCode = '00000001'"));
            throw std::runtime_error("power cut");
        }));
        QCOMPARE(count(QStringLiteral("entrance")), 0);
        QVERIFY(db().queryOne(QStringLiteral("SELECT LastDate FROM Member"))->isNull(QStringLiteral("LastDate")));
        ent.exec(QStringLiteral("INSERT INTO entrance (InDate, InTime, MbCode) VALUES ('2024-05-10', '09:00', '00000001')"));
        const auto r = ent.queryOne(QStringLiteral("SELECT Member.MbName FROM entrance INNER JOIN Member ON entrance.MbCode = Member.MbCode"));
        QVERIFY(r.has_value());
        QCOMPARE(r->str(QStringLiteral("MbName")), QStringLiteral("김하나"));
    }
};

QTEST_GUILESS_MAIN(TestDb)
#include "tst_db.moc"
