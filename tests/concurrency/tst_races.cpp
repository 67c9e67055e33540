// FITROVA_DB_TEST
// Several desks (worker processes, each with its own connections) do the
// same read-then-write action on the same rows at the same moment: a refund,
// a transfer, a class change, a postponement, a payment, points spent, a card
// number, a card at the gate, new member numbers, voucher numbers. Each
// round prepares fresh rows, sends every desk its command at once and checks
// that exactly one desk won where only one may, and that the stored sums
// agree with the rows. FITROVA_SOAK=1 runs more desks and rounds.
//
// A new race is one function returning a Race (prepare the rows of a round,
// give each desk its command; check the round) and one line in races().

#include "desks.h"
#include "testinstall.h"
#include "../enrollment/enrollbuilders.h"

#include "enrollment/enrollment.h"
#include "members/memberstore.h"

#include <QtTest>
#include <functional>

using namespace fitrova;
using namespace fitrova::test;

namespace {

const QDate kToday(2024, 5, 10);
QString day(int offset = 0) { return kToday.addDays(offset).toString(Qt::ISODate); }
QString monthEnd() { return kToday.addMonths(1).addDays(-1).toString(Qt::ISODate); }

// The test's own desk, which prepares the rows and reads the outcome.
struct Centre {
    std::unique_ptr<TestInstall> inst;
    qint64 program = 0, program2 = 0, item = 0;
    int members = 0;
    int cards = 0;

    AppContext &ctx() { return inst->ctx(); }
    const Db &db() { return inst->db(); }

    QString newMember(const QString &card = {})
    {
        const QString code = QStringLiteral("T%1").arg(++members, 7, 10, QLatin1Char('0'));
        addEnrollMember(db(), code, QStringLiteral("경주%1").arg(members), 30, QStringLiteral("여"), card);
        return code;
    }
    QString newCard() { return QStringLiteral("7%1").arg(++cards, 7, 10, QLatin1Char('0')); }

    // A month of the program, paid `paid` of 60,000 won.
    qint64 enroll(const QString &mbCode, qint64 paid = 60000)
    {
        EnrollmentInput in;
        in.mbCode = mbCode;
        in.pgid = program;
        in.monthCnt = 1;
        in.fee = 60000;
        in.rqDate = in.sDate1 = day();
        in.sDate2 = monthEnd();
        in.cashAmt = paid;
        const EnrollResult r = saveEnrollment(ctx(), in);
        if (!r.saved)
            qFatal("enrollment refused: %s", qPrintable(r.last().text));
        return r.id;
    }
    qint64 count(const QString &sql, const Params &params = {}) { return db().scalar(sql, params).toLongLong(); }
};

// One kind of race: the commands of a round (one per desk) and its check.
struct Race {
    std::function<QStringList(Centre &, int desks)> round;
    std::function<QStringList(Centre &, const QStringList &commands, const QStringList &answers)> check;
};

QStringList same(int desks, const QStringList &fields) { return QStringList(desks, fields.join(QLatin1Char('\t'))); }
int winners(const QStringList &answers) { return int(std::count_if(answers.begin(), answers.end(), saved)); }
QString arg(const QString &command, int i) { return command.split(QLatin1Char('\t')).value(i); }

QStringList exactlyOne(const QStringList &answers)
{
    const int n = winners(answers);
    return n == 1 ? QStringList() : QStringList{QStringLiteral("%1 desks won: %2").arg(n).arg(answers.join(QStringLiteral(" | ")))};
}

QStringList everyone(const QStringList &answers)
{
    QStringList out;
    for (const QString &a : answers)
        if (!saved(a))
            out << QStringLiteral("a desk failed: ") + a;
    return out;
}

Race refund()
{
    return {[](Centre &c, int desks) {
                const qint64 e = c.enroll(c.newMember());
                return same(desks, {QStringLiteral("refund"), QString::number(e), day(), QStringLiteral("30000")});
            },
            [](Centre &c, const QStringList &, const QStringList &answers) { return exactlyOne(answers); }};
}

Race transfer()
{
    return {[](Centre &c, int desks) {
                const qint64 e = c.enroll(c.newMember());
                QStringList commands;
                for (int i = 0; i < desks; ++i)
                    commands << QStringList{QStringLiteral("transfer"), QString::number(e), c.newMember(), day(), day(),
                                            monthEnd()}
                                    .join(QLatin1Char('\t'));
                return commands;
            },
            [](Centre &c, const QStringList &, const QStringList &answers) { return exactlyOne(answers); }};
}

Race classChange()
{
    return {[](Centre &c, int desks) {
                const qint64 e = c.enroll(c.newMember());
                return same(desks, {QStringLiteral("change"), QString::number(e), QString::number(c.program2),
                                    QStringLiteral("1"), day(), day(), monthEnd(), QStringLiteral("5000")});
            },
            [](Centre &, const QStringList &, const QStringList &answers) {
                return winners(answers) >= 1 ? QStringList() : QStringList{QStringLiteral("no desk changed the class")};
            }};
}

Race postponement()
{
    return {[](Centre &c, int desks) {
                const qint64 e = c.enroll(c.newMember());
                return same(desks, {QStringLiteral("postpone"), QString::number(e), day(), day(1), day(3)});
            },
            [](Centre &, const QStringList &, const QStringList &answers) {
                return winners(answers) >= 1 ? QStringList() : QStringList{QStringLiteral("no desk postponed")};
            }};
}

Race payment()
{
    return {[](Centre &c, int desks) {
                const QString m = c.newMember();
                c.enroll(m, 0);
                return same(desks, {QStringLiteral("pay"), m, day(), QStringLiteral("10000")});
            },
            [](Centre &c, const QStringList &commands, const QStringList &answers) {
                const QString m = arg(commands.first(), 1);
                const qint64 left = c.count(QStringLiteral("SELECT MisuAmt FROM Member WHERE MbCode = ?"), {m});
                const qint64 expected = 60000 - 10000 * winners(answers);
                return left == expected ? QStringList()
                                        : QStringList{QStringLiteral("%1 owes %2, the payments leave %3").arg(m).arg(left).arg(expected)};
            }};
}

Race pointsSpent()
{
    return {[](Centre &c, int desks) {
                const QString m = c.newMember();
                c.enroll(m); // earns 3,000 points
                const qint64 points = c.count(QStringLiteral("SELECT Point FROM Member WHERE MbCode = ?"), {m});
                return same(desks, {QStringLiteral("enroll"), m, QString::number(c.program), QStringLiteral("1"),
                                    QStringLiteral("60000"), day(), day(), monthEnd(), QString::number(60000 - points),
                                    QString::number(points)});
            },
            [](Centre &, const QStringList &, const QStringList &answers) { return exactlyOne(answers); }};
}

Race cardNumber()
{
    return {[](Centre &c, int desks) {
                const QString card = c.newCard();
                QStringList commands;
                for (int i = 0; i < desks; ++i)
                    commands << QStringList{QStringLiteral("card"), c.newMember(), card}.join(QLatin1Char('\t'));
                return commands;
            },
            [](Centre &c, const QStringList &commands, const QStringList &answers) {
                QStringList out = exactlyOne(answers);
                const qint64 holders =
                    c.count(QStringLiteral("SELECT COUNT(*) FROM Member WHERE MbCard = ?"), {arg(commands.first(), 2)});
                if (holders != 1)
                    out << QStringLiteral("%1 members hold card %2").arg(holders).arg(arg(commands.first(), 2));
                return out;
            }};
}

Race gate()
{
    return {[](Centre &c, int desks) {
                const QString card = c.newCard();
                c.enroll(c.newMember(card));
                return same(desks, {QStringLiteral("checkin"), card, QDateTime(kToday, QTime(10, 0)).toString(Qt::ISODate)});
            },
            [](Centre &, const QStringList &, const QStringList &answers) { return exactlyOne(answers); }};
}

Race memberNumbers()
{
    return {[](Centre &, int desks) { return same(desks, {QStringLiteral("member"), QStringLiteral("새회원")}); },
            [](Centre &, const QStringList &, const QStringList &answers) { return everyone(answers); }};
}

Race voucherNumbers()
{
    return {[](Centre &c, int desks) {
                return same(desks, {QStringLiteral("goods"), c.newMember(), QString::number(c.item), QStringLiteral("3000"),
                                    day()});
            },
            [](Centre &, const QStringList &, const QStringList &answers) { return everyone(answers); }};
}

const QList<QPair<const char *, Race (*)()>> &races()
{
    static const QList<QPair<const char *, Race (*)()>> all{
        {"refund", refund},
        {"transfer", transfer},
        {"class change", classChange},
        {"postponement", postponement},
        {"payment", payment},
        {"points spent", pointsSpent},
        {"card number", cardNumber},
        {"gate", gate},
        {"member numbers", memberNumbers},
        {"voucher numbers", voucherNumbers},
    };
    return all;
}

} // namespace

class TestRaces : public QObject {
    Q_OBJECT
    Centre centre;
    std::vector<std::unique_ptr<DeskProcess>> desks;
    int rounds = 0;
    QStringList summary;

private Q_SLOTS:
    void initTestCase()
    {
        centre.inst = std::make_unique<TestInstall>();
        centre.inst->clock().set(QDateTime(kToday, QTime(9, 0)));
        setDeskOptions(centre.ctx());
        centre.program = addProgram(centre.db(), QStringLiteral("아침수영"));
        centre.program2 = addProgram(centre.db(), QStringLiteral("저녁수영"));
        centre.item = addItem(centre.db(), QStringLiteral("수경"), 3000);
        const int n = soakFactor() > 1 ? 10 : 4;
        rounds = 6 * soakFactor();
        for (int i = 0; i < n; ++i)
            desks.push_back(std::make_unique<DeskProcess>(centre.inst->installDir(), QStringLiteral("DESK%1").arg(i + 1),
                                                          kToday));
        for (auto &d : desks)
            QVERIFY(d->waitReady());
    }

    void race_data()
    {
        QTest::addColumn<int>("which");
        for (int i = 0; i < races().size(); ++i)
            QTest::newRow(races().at(i).first) << i;
    }

    void race()
    {
        QFETCH(int, which);
        const Race r = races().at(which).second();
        const QStringList before = allFaults(centre.db(), 1);
        QStringList faults;
        int failedRounds = 0;
        for (int round = 0; round < rounds; ++round) {
            const QStringList commands = r.round(centre, int(desks.size()));
            // Every desk starts at the same moment, a little ahead.
            const QString at = QStringLiteral("at\t%1\t").arg(QDateTime::currentMSecsSinceEpoch() + 30);
            for (size_t i = 0; i < desks.size(); ++i)
                desks[i]->send(at + commands.at(int(i)));
            QStringList answers;
            for (auto &d : desks)
                answers << d->reply();
            if (qEnvironmentVariableIsSet("FITROVA_RACE_VERBOSE"))
                qInfo("%s", qPrintable(answers.join(QStringLiteral(" | "))));
            const QStringList f = r.check(centre, commands, answers);
            failedRounds += f.isEmpty() ? 0 : 1;
            faults += f;
        }
        for (const QString &f : allFaults(centre.db(), 1))
            if (!before.contains(f))
                faults << f;
        summary << QStringLiteral("%1 (%2 desks, %3 rounds): %4 rounds failed, %5 faults")
                       .arg(QLatin1String(races().at(which).first))
                       .arg(desks.size())
                       .arg(rounds)
                       .arg(failedRounds)
                       .arg(faults.size());
        for (const QString &f : faults.mid(0, 10))
            qWarning("%s", qPrintable(f));
        QVERIFY2(faults.isEmpty(), qPrintable(faults.value(0)));
    }

    void cleanupTestCase()
    {
        for (auto &d : desks)
            d->send(QStringLiteral("quit"));
        desks.clear();
        for (const QString &s : summary)
            qInfo("%s: %s", qPrintable(engineName()), qPrintable(s));
    }
};

QTEST_GUILESS_MAIN(TestRaces)
#include "tst_races.moc"
