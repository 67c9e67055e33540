// FITROVA_DB_TEST
// The reports over enrollment rows: the five lists of the enrollment status
// with their totals and masked resident numbers, the class list by state,
// valid / expiring / starting members, the daily valid counts (checked
// against a count day by day) and the unpaid members.

#include <QtTest>

#include "../members/memberbuilders.h"
#include "closing/enrollmentreports.h"
#include "testinstall.h"

#include <random>

using namespace fitrova;
using namespace fitrova::test;

namespace {

qint64 program(const Db &db, const QString &name, const QString &course = QStringLiteral("1"),
               const QString &kind = QStringLiteral("1"), const QString &time1 = QStringLiteral("07:00"))
{
    return db.insertId(QStringLiteral("INSERT INTO Program (PgGubun, Course, Sclass, PgCode, PgName, Time1, Time2, LtCode, "
                                      "LTName, PgUse) VALUES (?, ?, '01', ?, ?, ?, '07:50', '0001', '박강사', '1')"),
                       {kind, course, QString(course + QStringLiteral("000001")), name, time1},
                       QStringLiteral("Pgid"));
}

struct E {
    QString mbCode{}, ltGubun = QStringLiteral("1");
    qint64 pgid = 0;
    QString from{}, to{}, rqDate{}, lectGubun = QStringLiteral("1");
    qint64 tAmt = 0, cash = 0, card = 0;
    QString course = QStringLiteral("1"), pgGubun = QStringLiteral("1");
    int months = 1;
};

qint64 enroll(const Db &db, const E &e)
{
    Lect l;
    l.mbCode = e.mbCode;
    l.ltGubun = e.ltGubun;
    l.pgid = e.pgid;
    l.pgGubun = e.pgGubun;
    l.course = e.course;
    l.sDate1 = l.dDate1 = e.from;
    l.sDate2 = l.dDate2 = e.to;
    l.rqDate = e.rqDate.isEmpty() ? e.from : e.rqDate;
    l.ltyymm = e.from.left(7);
    l.tAmt = e.tAmt;
    l.cashAmt = e.cash;
    l.cardAmt = e.card;
    l.monthCnt = e.months;
    l.ltCode = QStringLiteral("0001");
    const qint64 id = addLecture(db, l);
    db.exec(QStringLiteral("UPDATE Lecture SET Lectgubun = ?, LastUser = '0001', Sclass = '01' WHERE Ltid = ?"),
            {e.lectGubun, id});
    return id;
}

} // namespace

class TstEnrollmentReports : public QObject {
    Q_OBJECT

    const Db &db() { return m_inst.db(); }

private slots:
    void init()
    {
        for (const char *t : {"Lecture", "Member", "Program", "Lecturer"})
            db().exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(t)));
        db().exec(QStringLiteral("DELETE FROM Course WHERE PsGroup = 'P' AND Code <> '1'"));
        db().exec(QStringLiteral("INSERT INTO Course (PsGroup, Code, Name) VALUES ('P', '2', '헬스')"));
        db().exec(QStringLiteral("INSERT INTO Lecturer (LTcode, LTName, Course, Resign) VALUES ('0001', '박강사', '1', '1')"));
        addMember(db(), "00000001", QStringLiteral("김수영"), {}, "010-1111-0001");
        addMember(db(), "00000002", QStringLiteral("이헬스"), {}, "010-1111-0002");
        db().exec(QStringLiteral("UPDATE Member SET Juno1 = '800408', Juno2 = '2123456', Sex = '여', Age = 45, SMS = '1' "
                                 "WHERE MbCode = '00000001'"));
        m_swim = program(db(), QStringLiteral("수영 초급"));
        m_swim2 = program(db(), QStringLiteral("수영 중급"), "1", "1", "06:00");
        m_gym = program(db(), QStringLiteral("헬스"), "2");
    }

    void statusLists()
    {
        const qint64 base =
            enroll(db(), {"00000001", "1", m_swim, "2024-05-01", "2024-07-31", {}, "1", 150000, 150000, 0, "1", "1", 3});
        enroll(db(), {"00000002", "1", m_gym, "2024-05-10", "2024-06-09", {}, "2", 60000, 0, 60000, "2"});
        enroll(db(), {"00000002", "1", 0, "", "", "2024-05-11", "1", 0, 20000, 0, "", "4"}); // payment row
        enroll(db(), {"00000002", "1", m_gym, "2024-04-01", "2024-04-30", {}, "1", 60000, 60000, 0, "2"});
        const qint64 ch = enroll(db(), {"00000001", "2", m_swim2, "2024-05-15", "2024-07-31", {}, "1", 10000, 10000, 0});
        db().exec("UPDATE Lecture SET Bpgid = ?, BLtid = ? WHERE Ltid = ?", {m_swim, base, ch});
        const qint64 ps = enroll(db(), {"00000001", "3", m_swim, "2024-05-20", "2024-05-29", "2024-05-18"});
        db().exec("UPDATE Lecture SET BLtid = ?, Rday = 10 WHERE Ltid = ?", {base, ps});
        const qint64 rf = enroll(db(), {"00000001", "4", m_swim, "2024-05-01", "2024-05-25", "2024-05-25", "1", 70000, 70000, 0});
        db().exec("UPDATE Lecture SET BLtid = ?, Rday = 67 WHERE Ltid = ?", {base, rf});
        db().exec("UPDATE Lecture SET Cancel = ?, Delay = ? WHERE Ltid = ?", {rf, ps, base});
        const qint64 tr = enroll(db(), {"00000002", "0", m_swim, "2024-05-26", "2024-07-31"});
        db().exec("UPDATE Lecture SET BMbCode = '00000001', BLtid = ? WHERE Ltid = ?", {base, tr});

        EnrollmentStatusCriteria c;
        c.period = EnrollPeriod::Month;
        c.month = "2024-05";
        const EnrollmentStatus e = enrollmentStatus(db(), EnrollmentList::Enrollments, c);
        QCOMPARE(e.lines.size(), 2);
        QCOMPARE(e.lines[0].resident, QString("800408-2******"));
        QCOMPARE(e.lines[0].remark, QStringLiteral("연기.취소."));
        QCOMPARE(e.lines[0].lecturer, QStringLiteral("박강사"));
        QCOMPARE(e.all.count, qint64(2));
        QCOMPARE(e.all.amount, qint64(210000));
        QCOMPARE(e.newOnes.cash, qint64(150000));
        QCOMPARE(e.renewals.card, qint64(60000));

        c.period = EnrollPeriod::Dates;
        c.dateFrom = "2024-05-01";
        c.dateTo = "2024-05-31";
        QCOMPARE(enrollmentStatus(db(), EnrollmentList::Enrollments, c).lines.size(), 2); // not the payment row
        c.course = "2";
        QCOMPARE(enrollmentStatus(db(), EnrollmentList::Enrollments, c).lines.size(), 1);
        c.course.clear();
        c.monthCnt = 3;
        QCOMPARE(enrollmentStatus(db(), EnrollmentList::Enrollments, c).lines.size(), 1);
        c.monthCnt = 0;

        const EnrollmentStatus changes = enrollmentStatus(db(), EnrollmentList::ClassChanges, c);
        QCOMPARE(changes.lines.size(), 1);
        QCOMPARE(changes.lines[0].bPgName, QStringLiteral("수영 초급"));
        QCOMPARE(changes.lines[0].pgName, QStringLiteral("수영 중급"));
        const EnrollmentStatus pauses = enrollmentStatus(db(), EnrollmentList::Postponements, c);
        QCOMPARE(pauses.lines.size(), 1);
        QCOMPARE(pauses.lines[0].bLtid, base);
        QCOMPARE(pauses.lines[0].rDay, qint64(10));
        const EnrollmentStatus refunds = enrollmentStatus(db(), EnrollmentList::Refunds, c);
        QCOMPARE(refunds.lines.size(), 1);
        QCOMPARE(refunds.lines[0].baseTAmt, qint64(150000));
        QCOMPARE(refunds.all.amount, qint64(70000));
        const EnrollmentStatus transfers = enrollmentStatus(db(), EnrollmentList::Transfers, c);
        QCOMPARE(transfers.lines.size(), 1);
        QCOMPARE(transfers.lines[0].giverName, QStringLiteral("김수영"));
        QCOMPARE(transfers.lines[0].mbName, QStringLiteral("이헬스"));

        c.period = EnrollPeriod::Both;
        c.month = "2024-04";
        const EnrollmentStatus none = enrollmentStatus(db(), EnrollmentList::Enrollments, c);
        QVERIFY(none.lines.isEmpty());
        QCOMPARE(none.all.amount, qint64(0));
    }

    void classListByState()
    {
        enroll(db(), {"00000001", "1", m_swim, "2024-05-01", "2024-05-31", {}, "1", 60000, 60000});
        enroll(db(), {"00000002", "1", m_swim, "2024-05-02", "2024-05-31", {}, "2", 50000, 50000});
        enroll(db(), {"00000002", "1", m_swim2, "2024-05-03", "2024-05-31", {}, "1", 40000, 40000});
        const qint64 p = enroll(db(), {"00000001", "1", m_swim2, "2024-05-04", "2024-05-31", {}, "1", 45000, 45000});
        db().exec("UPDATE Lecture SET Delay = 77 WHERE Ltid = ?", {p});
        ClassListCriteria c;
        c.month = "2024-05";
        const ClassList enrolled = classList(db(), c);
        QCOMPARE(enrolled.groups.size(), 2);
        QCOMPARE(enrolled.groups[0].pgName, QStringLiteral("수영 중급")); // 06:00 before 07:00
        QCOMPARE(enrolled.groups[0].lines.size(), 1);
        QCOMPARE(enrolled.groups[1].lines.size(), 2);
        QCOMPARE(enrolled.groups[1].amount, qint64(110000));
        QCOMPARE(enrolled.groups[1].time, QString("07:00-07:50"));
        QCOMPARE(enrolled.groups[1].lecturer, QStringLiteral("박강사"));
        QCOMPARE(enrolled.count, qint64(3));
        QCOMPARE(enrolled.amount, qint64(150000));
        QVERIFY(enrolled.groups[1].lines[1].renewal);
        c.byTime = false;
        QCOMPARE(classList(db(), c).groups[0].pgName, QStringLiteral("수영 중급"));
        c.state = LectureStateChoice::Postponed;
        const ClassList postponed = classList(db(), c);
        QCOMPARE(postponed.count, qint64(1));
        QCOMPARE(postponed.groups[0].lines[0].ltid, p);
        c.state = LectureStateChoice::Cancelled;
        QCOMPARE(classList(db(), c).count, qint64(0));
    }

    // A postponed or refunded enrollment's own rows ("3", "4") are not valid;
    // its base row is. A member with two programs is listed once per program.
    void validMemberList()
    {
        const qint64 base = enroll(db(), {"00000001", "1", m_swim, "2024-05-01", "2024-05-31", {}, "1", 60000, 60000});
        db().exec("UPDATE Lecture SET Delay = 1 WHERE Ltid = ?", {base});
        enroll(db(), {"00000001", "3", m_swim, "2024-05-10", "2024-05-20"});
        enroll(db(), {"00000001", "4", m_swim, "2024-05-01", "2024-05-15"});
        enroll(db(), {"00000001", "1", m_gym, "2024-04-20", "2024-05-19", {}, "2", 50000, 0, 50000, "2"});
        enroll(db(), {"00000002", "1", m_gym, "2024-05-16", "2024-06-15", {}, "1", 50000, 50000, 0, "2"});
        const qint64 pass = program(db(), QStringLiteral("자유수영 10시간"), "1", "2", "");
        const qint64 timePass =
            enroll(db(), {"00000002", "1", pass, "2024-05-01", "2024-12-31", {}, "1", 90000, 90000, 0, "1", "2"});
        db().exec("UPDATE Lecture SET PgCnt = 600, uPgCnt = 510 WHERE Ltid = ?", {timePass});

        ValidMemberCriteria c;
        c.date = "2024-05-15";
        c.today = QDate(2024, 5, 15);
        const ValidMembers v = validMembers(db(), c);
        QCOMPARE(v.count, qint64(3));
        QCOMPARE(v.groups.size(), 3);
        QCOMPARE(v.groups[0].lines[0].ltid, base);
        QCOMPARE(v.groups[0].lines[0].remainder, QStringLiteral("16 일"));
        QCOMPARE(v.groups[0].lines[0].member.tel1, QString("010-1111-0001"));
        QCOMPARE(v.groups[0].lines[0].sms, QString("1"));
        QCOMPARE(v.groups[2].lines[0].remainder, QStringLiteral("1시간 30분"));
        QCOMPARE(v.amount, qint64(60000 + 50000 + 90000));
        const MemberContacts to = v.contacts(); // each member once, with the end date listed first
        QCOMPARE(to.size(), 2);
        QCOMPARE(to[0].mbCode, QString("00000001"));
        QCOMPARE(to[0].listDate, QString("2024-05-31"));
        QCOMPARE(to[1].listDate, QString("2024-12-31")); // the time pass

        c.kind = ValidKind::Expiring;
        c.dateFrom = "2024-05-15";
        c.dateTo = "2024-05-31";
        c.today = QDate(2024, 5, 25);
        const ValidMembers expiring = validMembers(db(), c);
        QCOMPARE(expiring.count, qint64(2));
        QCOMPARE(expiring.groups[1].lines[0].remainder, QStringLiteral("만기")); // ended 05-19
        c.kind = ValidKind::Starting;
        c.dateFrom = "2024-05-16";
        c.dateTo = "2024-05-16";
        QCOMPARE(validMembers(db(), c).count, qint64(1));
        c.kind = ValidKind::Valid;
        c.lectGubun = "2";
        QCOMPARE(validMembers(db(), c).count, qint64(1));
        c.lectGubun.clear();
        c.pgGubun = "2";
        QCOMPARE(validMembers(db(), c).count, qint64(1));
    }

    // One grouped statement for the month gives what counting each day would.
    void dailyValidMatchesDayByDay()
    {
        std::mt19937 rnd(11);
        std::uniform_int_distribution<int> day(-40, 70), len(0, 90), kind(0, 9);
        const QDate base(2024, 5, 1);
        struct Period {
            QDate from, to;
            QString course, lt;
        };
        QList<Period> rows;
        for (int i = 0; i < 120; ++i) {
            const QDate from = base.addDays(day(rnd));
            const QDate to = from.addDays(len(rnd));
            const QString course = i % 3 ? QStringLiteral("1") : QStringLiteral("2");
            const int k = kind(rnd);
            const QString lt = k == 0 ? QStringLiteral("3") : k == 1 ? QStringLiteral("4") : QStringLiteral("1");
            enroll(db(), {"00000001", lt, m_swim, from.toString(Qt::ISODate), to.toString(Qt::ISODate), {}, "1", 0, 0, 0,
                          course});
            rows.append({from, to, course, lt});
        }
        for (bool expiring : {false, true}) {
            const DailyValid d = dailyValid(db(), {2024, 5, expiring});
            QCOMPARE(d.daysInMonth, 31);
            QCOMPARE(d.rows.size(), 2);
            qint64 grand = 0;
            for (const DailyValidRow &r : d.rows)
                for (int i = 0; i < 31; ++i) {
                    const QDate on = base.addDays(i);
                    qint64 expected = 0;
                    for (const Period &p : rows)
                        if (p.course == r.course && p.lt < QLatin1String("3")
                            && (expiring ? p.to == on : p.from <= on && on <= p.to))
                            ++expected;
                    QCOMPARE(r.days[i], expected);
                    grand += expected;
                }
            QCOMPARE(d.total.total, grand);
        }
        QCOMPARE(dailyValid(db(), {2024, 2, false}).daysInMonth, 29);
    }

    void unpaid()
    {
        enroll(db(), {"00000001", "1", m_swim, "2024-05-01", "2024-05-31", {}, "1", 60000, 40000});
        enroll(db(), {"00000001", "1", m_gym, "2024-05-01", "2024-05-31", {}, "1", 50000, 0, 30000, "2"});
        enroll(db(), {"00000002", "1", m_gym, "2024-05-01", "2024-05-31", {}, "1", 50000, 20000, 30000, "2"});
        enroll(db(), {"00000002", "4", m_gym, "2024-05-01", "2024-05-10", {}, "1", 30000, 30000, 0, "2"});
        db().exec("UPDATE Member SET MisuAmt = 40000 WHERE MbCode = '00000001'");
        const Unpaid u = unpaidMembers(db());
        QCOMPARE(u.lines.size(), 1); // one line for two programs
        QCOMPARE(u.lines[0].mbCode, QString("00000001"));
        QCOMPARE(u.lines[0].tAmt, qint64(110000));
        QCOMPARE(u.lines[0].misuAmt, qint64(40000));
        QCOMPARE(u.misuAmt, qint64(40000));
        // The payment of the rest takes the member off the list.
        enroll(db(), {"00000001", "1", 0, "", "", "2024-05-20", "1", 0, 40000, 0, "", "4"});
        QVERIFY(unpaidMembers(db()).lines.isEmpty());
    }

private:
    TestInstall m_inst;
    qint64 m_swim = 0, m_swim2 = 0, m_gym = 0;
};

QTEST_GUILESS_MAIN(TstEnrollmentReports)
#include "tst_enrollmentreports.moc"
