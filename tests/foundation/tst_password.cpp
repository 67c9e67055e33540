// Password hashing, its cost, and the acceptance of plain text left by older databases.

#include "foundation/password.h"

#include <QtTest>

using namespace fitrova;

class TestPassword : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void verify_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<bool>("rehash");
        const QString h = hashPassword(QStringLiteral("Desk#1234"));
        QTest::newRow("hash, right") << h << "Desk#1234" << true << false;
        QTest::newRow("hash, other case") << h << "desk#1234" << false << false;
        QTest::newRow("hash, empty") << h << "" << false << false;
        const QString k = hashPassword(QStringLiteral("비밀번호"));
        QTest::newRow("hash, Korean") << k << "비밀번호" << true << false;
        QTest::newRow("plain, right") << "abc123" << "abc123" << true << true;
        QTest::newRow("plain, other case") << "abc123" << "ABC123" << false << false;
        QTest::newRow("plain, prefix") << "abc123" << "abc12" << false << false;
        QTest::newRow("plain empty never matches") << "" << "" << false << false;
    }
    void verify()
    {
        QFETCH(QString, stored);
        QFETCH(QString, typed);
        QFETCH(bool, ok);
        QFETCH(bool, rehash);
        const PasswordCheck c = verifyPassword(stored, typed);
        QCOMPARE(c.ok, ok);
        QCOMPARE(c.needsRehash, rehash);
    }
    // The program hashes with libsodium's interactive cost; the test programs
    // switch to the lowest one. A hash of either cost verifies whatever the
    // current setting, since the stored hash carries its parameters.
    void costOfNewHashes()
    {
        const HashCost testCost = passwordHashCost();
        QCOMPARE(testCost, HashCost::Minimal);
        setPasswordHashCost(HashCost::Interactive);
        const QString production = hashPassword(QStringLiteral("Desk#1234"));
        setPasswordHashCost(testCost);
        const QString cheap = hashPassword(QStringLiteral("Desk#1234"));
        QVERIFY2(production.startsWith(QLatin1String("$argon2id$v=19$m=65536,t=2,p=1$")), qPrintable(production));
        QVERIFY2(cheap.startsWith(QLatin1String("$argon2id$v=19$m=8,t=1,p=1$")), qPrintable(cheap));
        for (const QString &h : {production, cheap}) {
            QVERIFY(verifyPassword(h, QStringLiteral("Desk#1234")).ok);
            QVERIFY(!verifyPassword(h, QStringLiteral("desk#1234")).ok);
            QVERIFY(!verifyPassword(h, QStringLiteral("Desk#1234")).needsRehash);
        }
    }

    void hashesAreSalted()
    {
        const QString a = hashPassword(QStringLiteral("same")), b = hashPassword(QStringLiteral("same"));
        QVERIFY(isPasswordHash(a));
        QVERIFY(a != b);
        QVERIFY(!a.contains(QStringLiteral("same")));
    }
};

QTEST_GUILESS_MAIN(TestPassword)
#include "tst_password.moc"
