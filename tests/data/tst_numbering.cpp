// FITROVA_DB_TEST
// Running numbers: sale vouchers per user and day, padded codes, and two
// workstations taking the same member number at once.

#include <QtTest>

#include "data/numbering.h"
#include "testinstall.h"

using namespace fitrova;
using fitrova::test::TestInstall;

namespace {

const QString kDay = QStringLiteral("2024-05-10");

void addSale(const Db &db, const QString &day, const QString &user, const QString &slNo, int seq = 1)
{
    db.exec(QStringLiteral("INSERT INTO Sale (SlDate, LastUser, SlNo, SEQ) VALUES (?, ?, ?, ?)"),
            {day, user, slNo, seq});
}

void addMember(const Db &db, const QString &code)
{
    db.exec(QStringLiteral("INSERT INTO Member (MbCode, MbName) VALUES (?, '회원')"), {code});
}

QString nextMemberNo(const Db &db)
{
    return nextNumber(db, QStringLiteral("Member"), QStringLiteral("MbCode"), 8);
}

} // namespace

class TstNumbering : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        for (const char *table : {"Sale", "Member", "Lecturer"})
            m_inst.db().exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
    }

    void voucherNo_data()
    {
        QTest::addColumn<QStringList>("sales"); // "day|user|SlNo[|line]"
        QTest::addColumn<QString>("expected");
        QTest::newRow("first of the day") << QStringList{} << "0001";
        QTest::newRow("after 0009") << QStringList{"2024-05-10|0001|0009", "2024-05-10|0001|0009|2",
                                                               "2024-05-10|0001|0002"} << "0010";
        QTest::newRow("other users keep their own")
            << QStringList{"2024-05-10|0002|0005", "2024-05-10|0001|0003"} << "0004";
        QTest::newRow("restarts each day") << QStringList{"2024-05-09|0001|0007"} << "0001";
        QTest::newRow("odd width counts by value") << QStringList{"2024-05-10|0001|12", "2024-05-10|0001|0009"}
                                                   << "0013";
        QTest::newRow("non-numeric ignored") << QStringList{"2024-05-10|0001|A999", "2024-05-10|0001|0003"}
                                             << "0004";
        QTest::newRow("outgrows width") << QStringList{"2024-05-10|0001|9999"} << "10000";
    }
    void voucherNo()
    {
        QFETCH(QStringList, sales);
        QFETCH(QString, expected);
        for (const QString &s : sales) {
            const QStringList f = s.split(u'|');
            addSale(m_inst.db(), f[0], f[1], f[2], f.value(3, "1").toInt());
        }
        QCOMPARE(getNewVoucherNo(m_inst.db(), kDay, "0001"), expected);
    }

    void nextNumber_paddedCodes()
    {
        const Db &db = m_inst.db();
        QCOMPARE(nextMemberNo(db), QString("00000001"));
        addMember(db, "00000041");
        addMember(db, "123");
        addMember(db, "");
        QCOMPARE(nextMemberNo(db), QString("00000124"));
        // The installation's administrator holds staff code 0001.
        QCOMPARE(nextNumber(db, "UserM", "PsCode", 4), QString("0002"));
        db.exec("INSERT INTO Lecturer (LTcode, LTName, Course) VALUES ('0004', '강사', '1'), ('0009', '강사', '2')");
        QCOMPARE(nextNumber(db, "Lecturer", "LTcode", 4, "Course = ?", {"1"}), QString("0005"));
    }

    void nextNumber_refusesNonConstantSql_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("where");
        QTest::newRow("table") << "Member; DROP TABLE Member" << "MbCode" << "";
        QTest::newRow("column") << "Member" << "MbCode)" << "";
        QTest::newRow("value in condition") << "Member" << "MbCode" << "MbName = 'x'";
    }
    void nextNumber_refusesNonConstantSql()
    {
        QFETCH(QString, table);
        QFETCH(QString, column);
        QFETCH(QString, where);
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, nextNumber(m_inst.db(), table, column, 8, where));
    }

    // Numbers taken inside transactions, between rows stored by other means
    // (an import), deleted, or past the width. Steps: "+code" stores a code
    // without the counter, "-code" deletes it, "=code" takes the next number
    // inside a transaction, expects it and stores it.
    void takenThroughTheCounter_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<QStringList>("steps");
        QTest::newRow("first numbers") << 8 << QStringList{"=00000001", "=00000002"};
        QTest::newRow("stored by other means above the counter")
            << 8 << QStringList{"=00000001", "+00000050", "=00000051"};
        QTest::newRow("freed at the top is taken again")
            << 8 << QStringList{"=00000001", "=00000002", "-00000002", "=00000002"};
        QTest::newRow("legacy width counts by value")
            << 8 << QStringList{"+123", "+00000041", "=00000124", "=00000125"};
        QTest::newRow("past the width, remembered")
            << 2 << QStringList{"+98", "=99", "=100", "=101", "-101", "=102"};
        QTest::newRow("past the width, stored by other means")
            << 2 << QStringList{"=01", "+99", "+100", "=101"};
    }
    void takenThroughTheCounter()
    {
        QFETCH(int, width);
        QFETCH(QStringList, steps);
        const Db &db = m_inst.db();
        db.exec("DELETE FROM NumberCounter");
        for (const QString &step : steps) {
            const QString code = step.mid(1);
            if (step.startsWith(u'+')) {
                addMember(db, code);
            } else if (step.startsWith(u'-')) {
                db.exec("DELETE FROM Member WHERE MbCode = ?", {code});
            } else {
                const QString taken = db.transaction([&] {
                    const QString c = nextNumber(db, "Member", "MbCode", width);
                    addMember(db, c);
                    return c;
                });
                QCOMPARE(taken, code);
            }
        }
    }

    // Telling the next number writes nothing; a named lock needs the action's transaction.
    void tellingAndLocking()
    {
        const Db &db = m_inst.db();
        db.exec("DELETE FROM NumberCounter");
        addMember(db, "00000007");
        QCOMPARE(nextMemberNo(db), QString("00000008"));
        QCOMPARE(db.scalar("SELECT COUNT(*) FROM NumberCounter").toInt(), 0);
        db.transaction([&] { nextMemberNo(db); });
        QCOMPARE(db.scalar("SELECT COUNT(*) FROM NumberCounter").toInt(), 1);
        QVERIFY_THROWS_EXCEPTION(std::logic_error, lockNamed(db, "Member.MbCard"));
        db.transaction([&] { lockNamed(db, "Member.MbCard"); });
        QCOMPARE(db.scalar("SELECT COUNT(*) FROM NumberCounter").toInt(), 2);
    }

    // Two desks take the next member number at the same moment. The second
    // insert meets the key and the retry takes the number after it.
    void memberNumber_twoWorkstationsRace()
    {
        const Db &desk1 = m_inst.db();
        const auto desk2 = m_inst.openWorkstation("DESK2");
        const QString seenByDesk2 = nextMemberNo(desk2->main);
        QCOMPARE(nextMemberNo(desk1), seenByDesk2);

        addMember(desk1, nextMemberNo(desk1));
        int attempts = 0;
        const QString taken = retryOnUniqueViolation(desk2->main, [&] {
            const QString code = ++attempts == 1 ? seenByDesk2 : nextMemberNo(desk2->main);
            addMember(desk2->main, code);
            return code;
        });
        QCOMPARE(attempts, 2);
        QCOMPARE(taken, QString("00000002"));
        QCOMPARE(desk1.scalar("SELECT COUNT(*) FROM Member").toInt(), 2);
    }

private:
    TestInstall m_inst;
};

QTEST_GUILESS_MAIN(TstNumbering)
#include "tst_numbering.moc"
