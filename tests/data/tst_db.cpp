// The connection wrapper on both engines: bound values, transactions with
// savepoints, unique-key errors, column lookups.
// FITROVA_DB_TEST

#include "data/db.h"
#include "data/schema.h"
#include "testinstall.h"

#include <QtTest>

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

private Q_SLOTS:
    void init() { inst = std::make_unique<TestInstall>(); }
    void cleanup() { inst.reset(); }

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
