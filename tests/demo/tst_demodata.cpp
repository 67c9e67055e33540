// The demo centre of `fitrova --init --demo`: its rows must hang together the
// way the desk's own screens would have left them, for any day it is loaded.
// FITROVA_DB_TEST

#include "demo/demodata.h"
#include "foundation/startup.h"
#include "data/dates.h"
#include "data/lunar.h"
#include "testinstall.h"

#include <QCryptographicHash>
#include <QRegularExpression>
#include <QtTest>

#include <map>

using namespace fitrova;
using namespace Qt::StringLiterals;
using fitrova::test::TestInstall;

namespace {

struct Scenario {
    std::unique_ptr<TestInstall> inst;
    QDate today;   // the day the demo was made for
    QTime now;     // its time of day; invalid for the installer's own demo
};

std::unique_ptr<TestInstall> seeded(const QDateTime &at, quint32 seed)
{
    auto inst = std::make_unique<TestInstall>(false);
    inst->clock().set(at);
    seedDemoCentre(inst->ctx(), seed);
    loadWorkstation(inst->ctx());
    loadBusinessInfo(inst->ctx());
    return inst;
}

QString digest(const Db &db)
{
    const QStringList queries{
        u"SELECT MbCode, MbName, Juno1, Juno2, Tel1, MbCard, Indate, MbGubun, MisuAmt, Point, LastDate, LastTime "
        "FROM Member ORDER BY MbCode"_s,
        u"SELECT Ltid, LtGubun, PgGubun, MbCode, Pgid, RqDate, Sdate1, Sdate2, TAmt, CashAmt, CardAmt, BLtid, "
        "Delay, Cancel, Transfer, Change, uPgCnt FROM Lecture ORDER BY Ltid"_s,
        u"SELECT Entid, InDate, InTime, OutTime, MbCode, Ltid, uTime FROM entrance ORDER BY Entid"_s,
        u"SELECT SlId, SlDate, SlNo, SEQ, ItId, Slqty, SlAmt, CashAmt, CardAmt FROM Sale ORDER BY SlId"_s,
        u"SELECT Rqid, RqDate, MbCode, BoxCode, RqBox, RqGubun, UseDate1, UseDate2 FROM RqPerBox ORDER BY Rqid"_s,
        u"SELECT Ptid, MbCode, PgGubun, JoinId, Amount, uPoint, mPoint FROM UserPoint ORDER BY Ptid"_s,
    };
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const QString &sql : queries)
        for (const Row &r : db.query(sql)) {
            for (int i = 0; i < r.columnCount(); ++i)
                hash.addData((r.at(i).toString() + u'|').toUtf8());
            hash.addData("\n");
        }
    return QString::fromLatin1(hash.result().toHex());
}

} // namespace

class TestDemoData : public QObject {
    Q_OBJECT
    std::map<QString, Scenario> m_scenarios;

    Scenario &scenario()
    {
        QFETCH_GLOBAL(QString, scenario);
        return m_scenarios.at(scenario);
    }
    const Db &db() { return scenario().inst->db(); }
    QString today() { return fmtDate(scenario().today); }

private Q_SLOTS:
    void initTestCase()
    {
        // The installer's own demo (made with the system clock), and the demo
        // made on days where period ends and weekdays are easy to get wrong.
        auto installer = std::make_unique<TestInstall>(true);
        m_scenarios[u"installer"_s] = {std::move(installer), QDate::currentDate(), QTime()};
        const QDateTime leap(QDate(2024, 2, 29), QTime(9, 0));
        m_scenarios[u"leap day morning"_s] = {seeded(leap, 7), leap.date(), leap.time()};
        const QDateTime yearEnd(QDate(2023, 12, 31), QTime(21, 30));
        m_scenarios[u"year end evening"_s] = {seeded(yearEnd, 20241), yearEnd.date(), yearEnd.time()};
    }

    void initTestCase_data()
    {
        QTest::addColumn<QString>("scenario");
        QTest::newRow("installer") << u"installer"_s;
        QTest::newRow("leap day morning") << u"leap day morning"_s;
        QTest::newRow("year end evening") << u"year end evening"_s;
    }

    void cleanupTestCase() { m_scenarios.clear(); }

    void siteAndCatalogue()
    {
        TestInstall &inst = *scenario().inst;
        QCOMPARE(db().scalar(u"SELECT COUNT(*) FROM Member"_s).toInt(), 300);
        QVERIFY(!inst.ctx().business.name.isEmpty());
        // The test workstation is a configured desk without a receipt printer.
        QVERIFY(inst.ctx().workstation.found);
        QCOMPARE(inst.ctx().workstation.posPrint, u"0"_s);
        QVERIFY(inst.ctx().post.scalar(u"SELECT COUNT(*) FROM Post WHERE PostNum LIKE '___-___'"_s).toInt() > 0);
        const int lecturers = db().scalar(u"SELECT COUNT(*) FROM Lecturer"_s).toInt();
        QVERIFY(lecturers >= 4 && lecturers <= 6);

        // Every program sold: grouping code, a fee row for each month count its
        // course item allows (period programs) or one row (time-based), no empty rows.
        const Rows programs = db().query(
            u"SELECT Program.*, Course.mon1, Course.mon3, Course.mon6, Course.mon12 FROM Program "
            "JOIN Course ON Course.PsGroup = 'P' AND Course.Code = Program.Course ORDER BY Pgid"_s);
        QVERIFY(programs.size() >= 12);
        for (const Row &p : programs) {
            const QString name = p.str(u"PgName"_s);
            QCOMPARE(p.str(u"PgCode"_s), p.str(u"Course"_s) + u"0000"_s + p.str(u"Sclass"_s));
            const Rows fees = db().query(u"SELECT MonthCnt, Amt1, Amt2, Amt3 FROM ProgAmt WHERE Pgid = ?"_s,
                                         {p.num(u"Pgid"_s)});
            QVERIFY2(!fees.isEmpty(), qPrintable(name));
            for (const Row &f : fees) {
                QVERIFY2(f.num(u"Amt1"_s) + f.num(u"Amt2"_s) + f.num(u"Amt3"_s) > 0, qPrintable(name));
                if (p.str(u"PgGubun"_s) == u"1"_s)
                    QVERIFY2(p.num(u"mon"_s + f.str(u"MonthCnt"_s)) == 1, qPrintable(name));
            }
            if (p.str(u"PgGubun"_s) == u"2"_s) {
                QCOMPARE(fees.size(), 1);
                QCOMPARE(p.num(u"PgCnt"_s), p.num(u"PgCnt1"_s) * 60);
            } else {
                QVERIFY2(QRegularExpression(u"^\\d\\d:\\d\\d$"_s).match(p.str(u"Time1"_s)).hasMatch(), qPrintable(name));
            }
        }
    }

    void membersAreWellFormed()
    {
        const Rows members = db().query(u"SELECT * FROM Member ORDER BY MbCode"_s);
        QSet<QString> cards, mobiles;
        int n = 0;
        for (const Row &m : members) {
            const QString code = m.str(u"MbCode"_s);
            QCOMPARE(code, u"%1"_s.arg(++n, 8, 10, QLatin1Char('0')));
            const QString card = m.str(u"MbCard"_s);
            QVERIFY2(QRegularExpression(u"^\\d{8}$"_s).match(card).hasMatch(), qPrintable(code));
            QVERIFY2(!cards.contains(card), qPrintable(code));
            cards.insert(card);
            QVERIFY2(QRegularExpression(u"^010-\\d{4}-\\d{4}$"_s).match(m.str(u"Tel1"_s)).hasMatch(), qPrintable(code));
            QVERIFY2(!mobiles.contains(m.str(u"Tel1"_s)), qPrintable(code));
            mobiles.insert(m.str(u"Tel1"_s));

            // The resident number tells the birth date, the century and the sex.
            const QString solar = m.str(u"Solor"_s) == u"2"_s ? lunarToSolar(m.str(u"BirthDay"_s))
                                                               : m.str(u"BirthDay"_s);
            const QDate birth = dateFromText(solar);
            QVERIFY2(birth.isValid(), qPrintable(code));
            QCOMPARE(m.str(u"Juno1"_s), birth.toString(u"yyMMdd"_s));
            const QString juno2 = m.str(u"Juno2"_s);
            QVERIFY2(QRegularExpression(u"^\\d{7}$"_s).match(juno2).hasMatch(), qPrintable(code));
            const bool male = m.str(u"Sex"_s) == u"남"_s;
            QVERIFY2(male || m.str(u"Sex"_s) == u"여"_s, qPrintable(code));
            const int digit = juno2.left(1).toInt();
            QCOMPARE(digit, birth.year() >= 2000 ? (male ? 3 : 4) : (male ? 1 : 2));
            if (scenario().now.isValid()) {
                const QDate t = scenario().today;
                const bool before = t.month() < birth.month() || (t.month() == birth.month() && t.day() < birth.day());
                const int years = t.year() - birth.year() - (before ? 1 : 0);
                QCOMPARE(m.num(u"Age"_s), qint64(years + 1));
            }
            QVERIFY2(m.str(u"Indate"_s) <= today(), qPrintable(code));
        }
        QCOMPARE(cards.size(), 300);
    }

    void dependentRowsLinkToTheirBase()
    {
        QHash<qint64, Row> byId, programs;
        for (const Row &p : db().query(u"SELECT * FROM Program"_s))
            programs.insert(p.num(u"Pgid"_s), p);
        const Rows rows = db().query(u"SELECT * FROM Lecture ORDER BY Ltid"_s);
        for (const Row &r : rows)
            byId.insert(r.num(u"Ltid"_s), r);
        const std::map<QString, QString> linkOf{{u"0"_s, u"Transfer"_s}, {u"2"_s, u"Change"_s},
                                                {u"3"_s, u"Delay"_s}, {u"4"_s, u"Cancel"_s}};
        std::map<QString, int> kinds;
        for (const Row &r : rows) {
            const qint64 ltid = r.num(u"Ltid"_s);
            const QString kind = r.str(u"LtGubun"_s), what = u"Ltid %1"_s.arg(ltid);
            ++kinds[kind];
            if (r.num(u"Pgid"_s) != 0) {
                // Every row carries copies of its program's data.
                QVERIFY2(programs.contains(r.num(u"Pgid"_s)), qPrintable(what));
                const Row &p = programs[r.num(u"Pgid"_s)];
                for (const QString &c : {u"PgName"_s, u"PgCode"_s, u"Course"_s, u"Sclass"_s, u"PgGubun"_s})
                    QCOMPARE(r.str(c), p.str(c));
            }
            if (kind == u"1"_s) {
                QCOMPARE(r.num(u"BLtid"_s), 0);
                if (r.str(u"PgGubun"_s) == u"4"_s) {
                    QCOMPARE(r.num(u"TAmt"_s), 0);
                    continue;
                }
                QCOMPARE(r.num(u"Bpgid"_s), r.num(u"Pgid"_s));
                QCOMPARE(r.str(u"BMbCode"_s), r.str(u"MbCode"_s));
                QCOMPARE(r.str(u"ddate1"_s), r.str(u"Sdate1"_s));
                QCOMPARE(r.str(u"LTyymm"_s), r.str(u"Sdate1"_s).left(7));
                // As sold: the day before the same day MonthCnt months later.
                QCOMPARE(r.str(u"ddate2"_s), endDateAfterMonths(r.str(u"ddate1"_s), int(r.num(u"MonthCnt"_s)) + 1));
                const bool linked = r.num(u"Delay"_s) + r.num(u"Cancel"_s) + r.num(u"Transfer"_s) + r.num(u"Change"_s) > 0;
                if (!linked)
                    QCOMPARE(r.str(u"Sdate2"_s), r.str(u"ddate2"_s));
                for (const auto &[dependentKind, column] : linkOf) {
                    const qint64 link = r.num(column);
                    if (link == 0)
                        continue;
                    QVERIFY2(byId.contains(link), qPrintable(what));
                    QCOMPARE(byId[link].num(u"BLtid"_s), ltid);
                    QCOMPARE(byId[link].str(u"LtGubun"_s), dependentKind);
                }
                continue;
            }
            QVERIFY2(linkOf.count(kind), qPrintable(what));
            const qint64 baseId = r.num(u"BLtid"_s);
            QVERIFY2(byId.contains(baseId), qPrintable(what));
            const Row &base = byId[baseId];
            QCOMPARE(base.str(u"LtGubun"_s), u"1"_s);
            QCOMPARE(base.num(linkOf.at(kind)), ltid);
            QCOMPARE(r.num(u"Bpgid"_s), base.num(u"Pgid"_s));
            QCOMPARE(r.str(u"BMbCode"_s), base.str(u"MbCode"_s));
            QVERIFY2(r.str(u"RqDate"_s) >= base.str(u"RqDate"_s) && r.str(u"RqDate"_s) <= today(), qPrintable(what));
            const QDate baseEnd = dateFromText(base.str(u"Sdate2"_s));
            if (kind == u"3"_s) {
                // The pause moves the end by its length.
                const qint64 days = dateFromText(r.str(u"Sdate1"_s)).daysTo(dateFromText(r.str(u"Sdate2"_s))) + 1;
                QCOMPARE(r.num(u"Rday"_s), days);
                QCOMPARE(baseEnd, dateFromText(base.str(u"ddate2"_s)).addDays(days));
            } else if (kind == u"4"_s) {
                QCOMPARE(base.str(u"Sdate2"_s), r.str(u"Sdate2"_s));
                QCOMPARE(r.str(u"RqDate"_s), r.str(u"Sdate2"_s));
                QVERIFY2(r.num(u"TAmt"_s) > 0 && r.num(u"TAmt"_s) % 10 == 0, qPrintable(what));
                QVERIFY2(r.num(u"TAmt"_s) <= base.num(u"CashAmt"_s) + base.num(u"CardAmt"_s), qPrintable(what));
                QCOMPARE(r.num(u"TAmt"_s), r.num(u"CashAmt"_s) + r.num(u"CardAmt"_s));
            } else if (kind == u"0"_s) {
                QCOMPARE(base.str(u"Sdate2"_s), r.str(u"RqDate"_s));
                QVERIFY2(r.str(u"MbCode"_s) != base.str(u"MbCode"_s), qPrintable(what));
                QCOMPARE(r.num(u"TAmt"_s) + r.num(u"CashAmt"_s) + r.num(u"CardAmt"_s), 0);
            } else if (kind == u"2"_s) {
                QCOMPARE(baseEnd.addDays(1), dateFromText(r.str(u"Sdate1"_s)));
                QCOMPARE(r.num(u"TAmt"_s), r.num(u"CashAmt"_s) + r.num(u"CardAmt"_s));
            }
        }
        for (const QString &k : {u"0"_s, u"1"_s, u"2"_s, u"3"_s, u"4"_s})
            QVERIFY2(kinds[k] > 0, qPrintable(u"no rows of kind "_s + k));
    }

    void outstandingAmountsAddUp()
    {
        QHash<QString, qint64> open;
        for (const Row &r : db().query(u"SELECT MbCode, TAmt, CashAmt, CardAmt FROM Lecture WHERE LtGubun = '1'"_s))
            open[r.str(u"MbCode"_s)] += r.num(u"TAmt"_s) - r.num(u"CashAmt"_s) - r.num(u"CardAmt"_s);
        for (const Row &r : db().query(u"SELECT MbCode, SlAmt, CashAmt, CardAmt FROM Sale"_s))
            open[r.str(u"MbCode"_s)] += r.num(u"SlAmt"_s) - r.num(u"CashAmt"_s) - r.num(u"CardAmt"_s);
        int owing = 0;
        for (const Row &m : db().query(u"SELECT MbCode, MisuAmt FROM Member"_s)) {
            QCOMPARE(m.num(u"MisuAmt"_s), open.value(m.str(u"MbCode"_s)));
            owing += m.num(u"MisuAmt"_s) > 0;
        }
        QVERIFY(owing > 0);
        // Counter sales are paid in full.
        QCOMPARE(open.value(u"00000000"_s), 0);
    }

    void pointBalancesAddUp()
    {
        QHash<qint64, QString> lectureOwner, saleOwner;
        for (const Row &r : db().query(u"SELECT Ltid, MbCode FROM Lecture"_s))
            lectureOwner.insert(r.num(u"Ltid"_s), r.str(u"MbCode"_s));
        for (const Row &r : db().query(u"SELECT SlId, MbCode FROM Sale"_s))
            saleOwner.insert(r.num(u"SlId"_s), r.str(u"MbCode"_s));
        QHash<QString, qint64> balance;
        const Rows ledger = db().query(u"SELECT * FROM UserPoint ORDER BY Ptid"_s);
        QVERIFY(!ledger.isEmpty());
        for (const Row &p : ledger) {
            const QString who = p.str(u"MbCode"_s), what = u"Ptid "_s + p.str(u"Ptid"_s);
            QCOMPARE(p.num(u"uPoint"_s), qint64(std::trunc(p.dbl(u"PointYul"_s) * double(p.num(u"Amount"_s)) / 100.0)));
            const QString kind = p.str(u"PgGubun"_s);
            const auto &owners = kind == u"4"_s ? saleOwner : lectureOwner;
            QVERIFY2(kind == u"1"_s || kind == u"3"_s || kind == u"4"_s, qPrintable(what));
            QCOMPARE(owners.value(p.num(u"JoinId"_s)), who);
            balance[who] += p.num(u"uPoint"_s) - p.num(u"mPoint"_s);
        }
        for (const Row &m : db().query(u"SELECT MbCode, Point FROM Member"_s)) {
            QCOMPARE(m.num(u"Point"_s), balance.value(m.str(u"MbCode"_s)));
            QVERIFY(m.num(u"Point"_s) >= 0);
        }
    }

    void visitsBelongToValidEnrollments()
    {
        QHash<qint64, Row> lectures, programs;
        for (const Row &r : db().query(u"SELECT * FROM Lecture"_s))
            lectures.insert(r.num(u"Ltid"_s), r);
        for (const Row &r : db().query(u"SELECT * FROM Program"_s))
            programs.insert(r.num(u"Pgid"_s), r);
        QHash<QString, Row> members;
        for (const Row &r : db().query(u"SELECT * FROM Member"_s))
            members.insert(r.str(u"MbCode"_s), r);
        static const char *const days[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};

        const Rows visits = db().query(u"SELECT * FROM entrance ORDER BY Entid"_s);
        QVERIFY2(visits.size() >= 1000 && visits.size() <= 20000, qPrintable(QString::number(visits.size())));
        QHash<qint64, qint64> minutesByLtid;
        QHash<QString, QString> lastVisit; // member -> "date time"
        QSet<QString> memberDays;
        QString lastDay;
        for (const Row &v : visits) {
            const QString what = u"Entid "_s + v.str(u"Entid"_s), day = v.str(u"InDate"_s);
            QVERIFY2(lectures.contains(v.num(u"Ltid"_s)), qPrintable(what));
            const Row &l = lectures[v.num(u"Ltid"_s)];
            QCOMPARE(v.str(u"MbCode"_s), l.str(u"MbCode"_s));
            QCOMPARE(v.num(u"Pgid"_s), l.num(u"Pgid"_s));
            QCOMPARE(v.str(u"PgGubun"_s), l.str(u"PgGubun"_s));
            QCOMPARE(v.str(u"MbCard"_s), members[v.str(u"MbCode"_s)].str(u"MbCard"_s));
            QVERIFY2(QStringList({u"0"_s, u"1"_s, u"2"_s}).contains(l.str(u"LtGubun"_s)), qPrintable(what));
            QVERIFY2(l.str(u"Sdate1"_s) <= day && day <= l.str(u"Sdate2"_s), qPrintable(what));
            QVERIFY2(day <= today(), qPrintable(what));
            const Row &p = programs[v.num(u"Pgid"_s)];
            QVERIFY2(p.num(QString::fromLatin1(days[dateFromText(day).dayOfWeek() - 1])) == 1, qPrintable(what));
            if (l.num(u"Delay"_s) > 0) {
                const Row &pause = lectures[l.num(u"Delay"_s)];
                QVERIFY2(day < pause.str(u"Sdate1"_s) || day > pause.str(u"Sdate2"_s), qPrintable(what));
            }
            // Once a day, and only today's visitors can still be inside.
            const QString key = v.str(u"MbCode"_s) + day;
            QVERIFY2(!memberDays.contains(key), qPrintable(what));
            memberDays.insert(key);
            if (v.isNull(u"OutTime"_s))
                QVERIFY2(day == today() || !scenario().now.isValid(), qPrintable(what));
            else
                QVERIFY2(v.str(u"OutTime"_s) > v.str(u"InTime"_s), qPrintable(what));
            if (scenario().now.isValid() && day == today())
                QVERIFY2(v.str(u"InTime"_s) < scenario().now.toString(u"HH:mm"_s), qPrintable(what));
            minutesByLtid[v.num(u"Ltid"_s)] += v.num(u"uTime"_s);
            const QString stamp = day + u' ' + v.str(u"InTime"_s);
            if (stamp > lastVisit.value(v.str(u"MbCode"_s)))
                lastVisit[v.str(u"MbCode"_s)] = stamp;
            lastDay = std::max(lastDay, day);
        }
        // Open visits all lie on the last day of the data.
        QCOMPARE(db().scalar(u"SELECT COUNT(*) FROM entrance WHERE OutTime IS NULL AND InDate <> ?"_s, {lastDay}).toInt(), 0);

        int timeBased = 0;
        for (const Row &l : lectures)
            if (l.str(u"PgGubun"_s) == u"2"_s && l.str(u"LtGubun"_s) == u"1"_s) {
                ++timeBased;
                QCOMPARE(l.num(u"uPgCnt"_s), minutesByLtid.value(l.num(u"Ltid"_s)));
            }
        QVERIFY(timeBased > 0);
        for (const Row &m : members) {
            const QString last = lastVisit.value(m.str(u"MbCode"_s));
            QCOMPARE(m.str(u"LastDate"_s), last.left(10));
            QCOMPARE(m.str(u"LastTime"_s).left(5), last.mid(11));
        }
    }

    void vouchersAreNumberedPerDayAndUser()
    {
        const Rows lines = db().query(u"SELECT * FROM Sale ORDER BY SlDate, LastUser, SlNo, SEQ"_s);
        QVERIFY(!lines.isEmpty());
        QString voucher, day;
        int expectedNo = 0, expectedSeq = 0;
        for (const Row &s : lines) {
            const QString dayUser = s.str(u"SlDate"_s) + s.str(u"LastUser"_s);
            const QString key = dayUser + s.str(u"SlNo"_s);
            if (dayUser != day) {
                day = dayUser;
                expectedNo = 0;
            }
            if (key != voucher) {
                voucher = key;
                expectedSeq = 0;
                QCOMPARE(s.str(u"SlNo"_s), u"%1"_s.arg(++expectedNo, 4, 10, QLatin1Char('0')));
            }
            QCOMPARE(s.num(u"SEQ"_s), qint64(++expectedSeq));
            const qint64 paid = s.num(u"CashAmt"_s) + s.num(u"CardAmt"_s);
            if (expectedSeq == 1)
                QCOMPARE(s.num(u"SLTAmt"_s), paid);
            else
                QCOMPARE(s.num(u"SLTAmt"_s) + paid, 0);
            QCOMPARE(s.num(u"SlAmt"_s), s.num(u"SlAmt1"_s) - s.num(u"DcAmt"_s));
            QCOMPARE(s.str(u"Slyymm"_s), s.str(u"SlDate"_s).left(7));
            QVERIFY(s.str(u"SlDate"_s) <= today());
        }
        // Item codes: goods item, small class, "-" and a running number.
        QSet<QString> barCodes;
        for (const Row &i : db().query(u"SELECT ItCode, Course, Sclass, BarCode FROM Item"_s)) {
            QVERIFY(QRegularExpression(u"^\\w\\d\\d-\\d{4}$"_s).match(i.str(u"ItCode"_s)).hasMatch());
            QCOMPARE(i.str(u"ItCode"_s).left(3), i.str(u"Course"_s) + i.str(u"Sclass"_s));
            QVERIFY(QRegularExpression(u"^\\d{13}$"_s).match(i.str(u"BarCode"_s)).hasMatch());
            QVERIFY(!barCodes.contains(i.str(u"BarCode"_s)));
            barCodes.insert(i.str(u"BarCode"_s));
        }
    }

    void rentedLockersHaveTheirRenter()
    {
        QSet<QString> members, renters;
        for (const Row &m : db().query(u"SELECT MbCode FROM Member"_s))
            members.insert(m.str(u"MbCode"_s));
        int rented = 0;
        for (const Row &b : db().query(u"SELECT * FROM PerBoxS ORDER BY BoxCode, BoxNum"_s)) {
            const QString what = b.str(u"BoxCode"_s) + u'-' + b.str(u"BoxNum"_s);
            const auto last = db().queryOne(u"SELECT * FROM RqPerBox WHERE BoxCode = ? AND RqBox = ? ORDER BY Rqid DESC"_s,
                                            {b.str(u"BoxCode"_s), b.num(u"BoxNum"_s)});
            if (b.str(u"UUse"_s) != u"1"_s) {
                QVERIFY2(b.str(u"MbCode"_s).isEmpty(), qPrintable(what));
                QVERIFY2(!last || last->str(u"RqGubun"_s) == u"4"_s, qPrintable(what));
                continue;
            }
            ++rented;
            const QString who = b.str(u"MbCode"_s);
            QVERIFY2(members.contains(who), qPrintable(what));
            QVERIFY2(!renters.contains(who), qPrintable(what));
            renters.insert(who);
            QVERIFY2(b.str(u"StDate"_s) <= b.str(u"EndDate"_s), qPrintable(what));
            QVERIFY2(last.has_value(), qPrintable(what));
            QCOMPARE(last->str(u"MbCode"_s), who);
            QCOMPARE(last->str(u"UseDate1"_s), b.str(u"StDate"_s));
            QCOMPARE(last->str(u"UseDate2"_s), b.str(u"EndDate"_s));
            QCOMPARE(last->str(u"UseDate2"_s), endDateAfterMonths(last->str(u"UseDate1"_s), int(last->num(u"MonCnt"_s)) + 1));
        }
        QVERIFY(rented > 0);
    }

    void refusesAnInstalledCentre()
    {
        TestInstall &inst = *scenario().inst;
        const QString before = digest(inst.db());
        QVERIFY_THROWS_EXCEPTION(DbError, seedDemoCentre(inst.ctx(), 99));
        QCOMPARE(digest(inst.db()), before);
    }

    void sameSeedSameCentre()
    {
        QFETCH_GLOBAL(QString, scenario);
        if (scenario != u"leap day morning"_s)
            QSKIP("one scenario is enough");
        const QDateTime at(QDate(2024, 2, 29), QTime(9, 0));
        const QString first = digest(db());
        QCOMPARE(digest(seeded(at, 7)->db()), first);
        QVERIFY(digest(seeded(at, 8)->db()) != first);
    }
};

QTEST_GUILESS_MAIN(TestDemoData)
#include "tst_demodata.moc"
