// FITROVA_DB_TEST
// The entrance reports over visit rows: the visit list and its filters, the
// visit counts per member and per day, one member's visits, visitors per day,
// the chart's hours, the attendance sheet and the manual attendance it writes.

#include <QtTest>

#include "gatebuilders.h"
#include "entrance/reports.h"
#include "entrance/reportsattendance.h"
#include "testinstall.h"

Q_DECLARE_METATYPE(fitrova::VisitListCriteria)

using namespace fitrova;
using namespace fitrova::test;

namespace {

void addMemberFull(const Db &db, const QString &code, const QString &name, const QString &sex, int age,
                   const QString &tel1 = {})
{
    db.exec(QStringLiteral("INSERT INTO Member (MbCode, MbName, Sex, Age, Tel1, MbName1, Solor, MisuAmt, Point) "
                           "VALUES (?, ?, ?, ?, ?, '', '1', 0, 0)"),
            {code, name, sex, age, tel1});
}

qint64 addCourseProgram(const Db &db, const QString &name, const QString &course, const QString &ltCode,
                        const QString &time1 = QStringLiteral("06:00"), const QString &pgGubun = QStringLiteral("1"))
{
    const qint64 id = addProgram(db, name, pgGubun);
    db.exec(QStringLiteral("UPDATE Program SET Course = ?, LtCode = ?, Time1 = ? WHERE Pgid = ?"),
            {course, ltCode, time1, id});
    return id;
}

// A visit with its course set as the gate sets it.
qint64 visit(const Db &db, const QString &mbCode, qint64 ltid, const QString &date, const QString &in,
             const QString &course = QStringLiteral("1"))
{
    const qint64 id = addVisit(db, mbCode, ltid, date, in);
    db.exec(QStringLiteral("UPDATE entrance SET Course = ? WHERE Entid = ?"), {course, id});
    return id;
}

qint64 enroll(const Db &db, const QString &mbCode, qint64 pgid, const QString &from, const QString &to,
              const QString &course = QStringLiteral("1"), const QString &ltGubun = QStringLiteral("1"))
{
    Lect l;
    l.mbCode = mbCode;
    l.pgid = pgid;
    l.course = course;
    l.ltGubun = ltGubun;
    l.sDate1 = l.dDate1 = from;
    l.sDate2 = l.dDate2 = to;
    l.rqDate = from;
    return addLecture(db, l);
}

} // namespace

class TstEntranceReports : public QObject {
    Q_OBJECT

    const Db &db() { return m_inst.db(); }

private slots:
    void init()
    {
        for (const char *t : {"entrance", "ItemTrs", "Lecture", "Member", "Program", "Sale", "Item"})
            db().exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(t)));
        db().exec(QStringLiteral("DELETE FROM Course WHERE NOT (PsGroup = 'P' AND Code = '1')"));
        db().exec(QStringLiteral("UPDATE Course SET Name = '수영' WHERE PsGroup = 'P' AND Code = '1'"));
        db().exec(QStringLiteral("INSERT INTO Course (PsGroup, Code, Name) VALUES ('P', '2', '헬스')"));
        db().exec(QStringLiteral("INSERT INTO Course (PsGroup, Code, Name) VALUES ('S', '1', '입장권')"));
        addMemberFull(db(), "00000001", QStringLiteral("김수영"), QStringLiteral("여"), 31, "010-1111-0001");
        addMemberFull(db(), "00000002", QStringLiteral("이헬스"), QStringLiteral("남"), 44, "010-1111-0002");
        m_swim = addCourseProgram(db(), QStringLiteral("수영 초급"), "1", "0001", "07:00");
        m_gym = addCourseProgram(db(), QStringLiteral("헬스 종일"), "2", "0002", "06:00");
        m_l1 = enroll(db(), "00000001", m_swim, "2024-05-01", "2024-05-31");
        m_l2 = enroll(db(), "00000002", m_gym, "2024-04-15", "2024-07-14", "2");
        m_inst.clock().set(QDateTime(QDate(2024, 5, 20), QTime(10, 0)));
    }

    void visitListFilters_data()
    {
        QTest::addColumn<VisitListCriteria>("criteria");
        QTest::addColumn<QStringList>("entries"); // "date time member" in order
        VisitListCriteria all;
        all.dateFrom = "2024-05-01";
        all.dateTo = "2024-05-31";
        const QStringList every{"2024-05-01 06:50 00000002", "2024-05-01 07:00 00000001", "2024-05-02 21:30 00000001",
                                "2024-05-31 23:59 00000002"};
        QTest::newRow("the whole month, bounds included") << all << every;
        VisitListCriteria days = all;
        days.dateFrom = days.dateTo = "2024-05-01";
        QTest::newRow("one day") << days << every.mid(0, 2);
        VisitListCriteria hours = all;
        hours.timeFrom = "07:00";
        hours.timeTo = "21:30";
        QTest::newRow("entry times, both ends") << hours << every.mid(1, 2);
        VisitListCriteria course = all;
        course.course = "2";
        QTest::newRow("course item") << course << QStringList{every[0], every[3]};
        VisitListCriteria program = all;
        program.pgid = -1; // set in the test: the swimming program
        QTest::newRow("program") << program << every.mid(1, 2);
        VisitListCriteria lecturer = all;
        lecturer.ltCode = "0002";
        QTest::newRow("instructor of the visit's program") << lecturer << QStringList{every[0], every[3]};
        VisitListCriteria sex = all;
        sex.sex = QStringLiteral("여");
        QTest::newRow("sex of the member") << sex << every.mid(1, 2);
        VisitListCriteria member = all;
        member.mbCode = "00000002";
        QTest::newRow("one member") << member << QStringList{every[0], every[3]};
        VisitListCriteria none = all;
        none.dateFrom = none.dateTo = "2024-06-01";
        QTest::newRow("a period without visits") << none << QStringList{};
    }

    void visitListFilters()
    {
        QFETCH(VisitListCriteria, criteria);
        QFETCH(QStringList, entries);
        visit(db(), "00000002", m_l2, "2024-04-30", "23:59", "2");
        visit(db(), "00000001", m_l1, "2024-05-02", "21:30");
        visit(db(), "00000001", m_l1, "2024-05-01", "07:00");
        visit(db(), "00000002", m_l2, "2024-05-01", "06:50", "2");
        visit(db(), "00000002", m_l2, "2024-05-31", "23:59", "2");
        visit(db(), "00000002", m_l2, "2024-06-02", "00:00", "2");
        if (criteria.pgid == -1)
            criteria.pgid = m_swim;
        const VisitList list = visitList(db(), criteria);
        QStringList got;
        for (const VisitLine &l : list.lines)
            got << l.inDate + ' ' + l.inTime + ' ' + l.mbCode;
        QCOMPARE(got, entries);
        QCOMPARE(list.count, qint64(entries.size()));
        // Read a line at a time as a scrolling grid reads it, and counted
        // without reading: the same list.
        QCOMPARE(entids(pagedVisits(criteria, 1)), entids(list.lines));
        QCOMPARE(visitListCount(db(), criteria), qint64(entries.size()));
    }

    // Visits at the same minute follow each other by visit number, also
    // across the end of a page.
    void visitListPagesAcrossTheSameMinute_data()
    {
        QTest::addColumn<int>("pageLines");
        for (int n : {1, 2, 3, 100})
            QTest::addRow("%d a page", n) << n;
    }

    void visitListPagesAcrossTheSameMinute()
    {
        QFETCH(int, pageLines);
        visit(db(), "00000001", m_l1, "2024-05-02", "07:00");
        visit(db(), "00000002", m_l2, "2024-05-01", "07:00", "2");
        visit(db(), "00000001", m_l1, "2024-05-01", "07:00");
        visit(db(), "00000002", m_l2, "2024-05-01", "07:00", "2");
        visit(db(), "00000001", m_l1, "2024-05-01", "06:59");
        const VisitListCriteria all{"2024-05-01", "2024-05-31"};
        const QList<VisitLine> lines = visitList(db(), all).lines;
        QCOMPARE(lines.size(), 5);
        QCOMPARE(entids(pagedVisits(all, pageLines)), entids(lines));
    }

    void visitLineCarriesMemberAndMinutes()
    {
        const qint64 pass = addCourseProgram(db(), QStringLiteral("자유수영 10시간"), "1", "0001", "", "2");
        const qint64 l = addTimePass(db(), "00000001", pass, 600, 90);
        addVisit(db(), "00000001", l, "2024-05-03", "10:00", "11:30", 90, "2");
        const VisitList list = visitList(db(), {"2024-05-03", "2024-05-03"});
        QCOMPARE(list.lines.size(), 1);
        const VisitLine &v = list.lines.first();
        QCOMPARE(v.mbName, QStringLiteral("김수영"));
        QCOMPARE(v.sex, QStringLiteral("여"));
        QCOMPARE(v.age, qint64(31));
        QCOMPARE(v.pgName, QStringLiteral("자유수영 10시간"));
        QVERIFY(v.timeBased);
        QCOMPARE(v.usedMinutes, qint64(90));
        QCOMPARE(v.outTime, QString("11:30"));
        QVERIFY(!v.manual);
    }

    // N = 2 per day: a member who came twice on one day and once on another is
    // listed once, for the day with two visits; over the period every visit counts.
    void visitCountsPerDayAndPeriod()
    {
        visit(db(), "00000001", m_l1, "2024-05-02", "07:00");
        visit(db(), "00000001", m_l1, "2024-05-02", "19:00");
        visit(db(), "00000001", m_l1, "2024-05-03", "07:00");
        visit(db(), "00000002", m_l2, "2024-05-02", "06:00", "2");
        visit(db(), "00000002", m_l2, "2024-05-04", "06:00", "2");
        VisitCountCriteria c;
        c.dateFrom = "2024-05-01";
        c.dateTo = "2024-05-31";
        c.minCount = 2;
        VisitCounts perDay = visitCounts(db(), c);
        QCOMPARE(perDay.lines.size(), 1);
        QCOMPARE(perDay.lines[0].mbCode, QString("00000001"));
        QCOMPARE(perDay.lines[0].inDate, QString("2024-05-02"));
        QCOMPARE(perDay.lines[0].count, qint64(2));
        QCOMPARE(perDay.lines[0].tel, QString("010-1111-0001"));
        QCOMPARE(perDay.lines[0].pgName, QStringLiteral("수영 초급"));
        QCOMPARE(perDay.visits, qint64(2));

        c.perDay = false;
        const VisitCounts total = visitCounts(db(), c);
        QCOMPARE(total.lines.size(), 2);
        QCOMPARE(total.lines[0].count, qint64(3));
        QCOMPARE(total.lines[1].count, qint64(2));
        QVERIFY(total.lines[0].inDate.isEmpty());
        c.minCount = 3;
        QCOMPARE(visitCounts(db(), c).lines.size(), 1);
        c.minCount = 1;
        c.ltCode = "0002";
        const VisitCounts byLecturer = visitCounts(db(), c);
        QCOMPARE(byLecturer.lines.size(), 1);
        QCOMPARE(byLecturer.lines[0].mbCode, QString("00000002"));
    }

    // A member's card and program on a counted line come from the visits the
    // filter keeps, not from the member's other visits of that day.
    void visitCountsShowTheFilteredVisitsCardAndProgram_data()
    {
        QTest::addColumn<QString>("course");
        QTest::addColumn<bool>("perDay");
        QTest::addColumn<QString>("card");
        QTest::addColumn<QString>("pgName");
        QTest::newRow("swimming per day") << "1" << true << "C-SWIM" << QStringLiteral("수영 초급");
        QTest::newRow("gym per day") << "2" << true << "C-GYM" << QStringLiteral("헬스 종일");
        QTest::newRow("swimming over the period") << "1" << false << "C-SWIM" << QStringLiteral("수영 초급");
        QTest::newRow("gym over the period") << "2" << false << "C-GYM" << QStringLiteral("헬스 종일");
    }

    void visitCountsShowTheFilteredVisitsCardAndProgram()
    {
        QFETCH(QString, course);
        QFETCH(bool, perDay);
        QFETCH(QString, card);
        QFETCH(QString, pgName);
        const qint64 gym = enroll(db(), "00000001", m_gym, "2024-05-01", "2024-05-31", "2");
        const qint64 swimVisit = visit(db(), "00000001", m_l1, "2024-05-05", "07:00");
        const qint64 gymVisit = visit(db(), "00000001", gym, "2024-05-05", "18:00", "2");
        db().exec(QStringLiteral("UPDATE entrance SET MbCard = ? WHERE Entid = ?"), {QStringLiteral("C-SWIM"), swimVisit});
        db().exec(QStringLiteral("UPDATE entrance SET MbCard = ? WHERE Entid = ?"), {QStringLiteral("C-GYM"), gymVisit});
        VisitCountCriteria c;
        c.dateFrom = "2024-05-01";
        c.dateTo = "2024-05-31";
        c.course = course;
        c.perDay = perDay;
        const VisitCounts counts = visitCounts(db(), c);
        QCOMPARE(counts.lines.size(), 1);
        QCOMPARE(counts.lines[0].inDate, perDay ? QString("2024-05-05") : QString());
        QCOMPARE(counts.lines[0].count, qint64(1));
        QCOMPARE(counts.lines[0].card, card);
        QCOMPARE(counts.lines[0].pgName, pgName);
    }

    void memberVisitsTwiceADay()
    {
        visit(db(), "00000001", m_l1, "2024-05-02", "07:00");
        visit(db(), "00000001", m_l1, "2024-05-02", "19:00");
        visit(db(), "00000001", m_l1, "2024-05-06", "07:00");
        MemberVisitCriteria c{"00000001", "2024-05-01", "2024-05-31", false};
        const auto all = memberVisits(db(), c);
        QCOMPARE(all.size(), 3);
        QCOMPARE(all[0].weekday, QStringLiteral("목")); // 2024-05-02 was a Thursday
        QCOMPARE(all[2].weekday, QStringLiteral("월"));
        c.twiceADayOnly = true;
        const auto twice = memberVisits(db(), c);
        QCOMPARE(twice.size(), 2);
        QCOMPARE(twice[1].inTime, QString("19:00"));
        const auto lectures = memberEnrollments(db(), "00000001");
        QCOMPARE(lectures.size(), 1);
        QCOMPARE(lectures[0].pgName, QStringLiteral("수영 초급"));
    }

    void dailyVisitorsCountsMembersAndTickets()
    {
        visit(db(), "00000001", m_l1, "2024-05-02", "07:00");
        visit(db(), "00000002", m_l2, "2024-05-02", "06:00", "2");
        visit(db(), "00000002", m_l2, "2024-05-31", "06:00", "2");
        visit(db(), "00000002", m_l2, "2024-06-01", "06:00", "2");
        const qint64 ticket = db().insertId(QStringLiteral("INSERT INTO Item (ItCode, Course, Sclass, ItName, ItAmt, Inwon) "
                                                           "VALUES ('101-0001', '1', '01', '일일입장', 5000, '1')"),
                                            {}, "ItId");
        const qint64 cap = db().insertId(QStringLiteral("INSERT INTO Item (ItCode, Course, Sclass, ItName, ItAmt, Inwon) "
                                                        "VALUES ('101-0002', '1', '01', '수영모', 9000, '0')"),
                                         {}, "ItId");
        const auto sale = [&](const QString &date, qint64 item, int qty, const QString &no) {
            db().exec(QStringLiteral("INSERT INTO Sale (SlNo, SEQ, ItId, Course, SlDate, LastUser, MbCode, Slqty, SlAmt) "
                                     "VALUES (?, 1, ?, '1', ?, '0001', '00000000', ?, 0)"),
                      {no, item, date, qty});
        };
        sale("2024-05-02", ticket, 3, "0001");
        sale("2024-05-02", cap, 5, "0002");
        sale("2024-05-02", ticket, -1, "0003"); // a refunded ticket
        sale("2024-05-10", ticket, 2, "0001");
        const DailyVisitors d = dailyVisitors(db(), {2024, 5, true, true});
        QCOMPARE(d.days.size(), 31);
        QCOMPARE(d.columns.size(), 1);
        QCOMPARE(d.columns[0].name, QStringLiteral("입장권"));
        QCOMPARE(d.days[1].members, qint64(2));
        QCOMPARE(d.days[1].goods, QList<qint64>{2});
        QCOMPARE(d.days[1].total, qint64(4));
        QCOMPARE(d.days[30].members, qint64(1));
        QCOMPARE(d.total.members, qint64(3));
        QCOMPARE(d.total.goods, QList<qint64>{4});
        qint64 sum = 0;
        for (const DailyVisitorsLine &l : d.days)
            sum += l.total;
        QCOMPARE(d.total.total, sum);
        const DailyVisitors membersOnly = dailyVisitors(db(), {2024, 5, true, false});
        QVERIFY(membersOnly.columns.isEmpty());
        QCOMPARE(membersOnly.total.total, qint64(3));
    }

    void chartHours_data()
    {
        QTest::addColumn<QString>("time");
        QTest::addColumn<QString>("hour");
        QTest::newRow("09:30 in hour 10") << "09:30" << "10";
        QTest::newRow("09:00 in hour 10") << "09:00" << "10";
        QTest::newRow("09:59 in hour 10") << "09:59" << "10";
        QTest::newRow("midnight in hour 1") << "00:00" << "1";
        QTest::newRow("23:59 in hour 24") << "23:59" << "24";
    }

    void chartHours()
    {
        QFETCH(QString, time);
        QFETCH(QString, hour);
        visit(db(), "00000001", m_l1, "2024-05-02", time);
        VisitChartCriteria c;
        c.period = ChartPeriod::HoursOfDay;
        c.day = "2024-05-02";
        const VisitChart chart = visitChart(db(), c);
        QCOMPARE(chart.categories.size(), 24);
        const int at = int(chart.categories.indexOf(hour));
        QCOMPARE(chart.totals.value(at), qint64(1));
        QCOMPARE(chart.total, qint64(1));
        QCOMPARE(chart.series.size(), 1);
        QCOMPARE(chart.series[0].name, QStringLiteral("수영"));
    }

    void chartSeriesPerCourse()
    {
        visit(db(), "00000001", m_l1, "2024-05-02", "07:00");
        visit(db(), "00000001", m_l1, "2024-05-03", "07:00");
        visit(db(), "00000002", m_l2, "2024-05-03", "06:00", "2");
        visit(db(), "00000002", m_l2, "2024-07-03", "06:00", "2");
        VisitChartCriteria c;
        c.period = ChartPeriod::DaysOfMonth;
        c.year = 2024;
        c.month = 5;
        const VisitChart days = visitChart(db(), c);
        QCOMPARE(days.categories.size(), 31);
        QCOMPARE(days.series.size(), 2);
        QCOMPARE(days.series[1].name, QStringLiteral("헬스"));
        QCOMPARE(days.series[0].counts[1], qint64(1));
        QCOMPARE(days.totals[2], qint64(2));
        c.period = ChartPeriod::MonthsOfYear;
        const VisitChart months = visitChart(db(), c);
        QCOMPARE(months.totals[4], qint64(3));
        QCOMPARE(months.totals[6], qint64(1));
        QCOMPARE(months.series[0].counts[4], qint64(2)); // the days of May added into May
        QCOMPARE(months.series[1].counts[6], qint64(1));
        // Visits of a course item no longer listed, or of none, are drawn last as 기타.
        visit(db(), "00000002", m_l2, "2024-07-04", "06:00", "9");
        visit(db(), "00000002", m_l2, "2024-07-05", "06:00", "");
        const VisitChart withOthers = visitChart(db(), c);
        QCOMPARE(withOthers.series.size(), 3);
        QCOMPARE(withOthers.series[2].name, QStringLiteral("기타"));
        QCOMPARE(withOthers.series[2].counts[6], qint64(2));
        QCOMPARE(withOthers.series[2].total, qint64(2));
        QCOMPARE(withOthers.totals[6], qint64(3));
        QCOMPARE(withOthers.total, qint64(6));
        c.course = "2";
        QCOMPARE(visitChart(db(), c).total, qint64(2));
    }

    // The sheet lists the course's enrollments that touch the month, neither
    // refunded nor changed, and marks each day of a visit of that enrollment.
    void attendanceSheetLines()
    {
        const qint64 ended = enroll(db(), "00000002", m_swim, "2024-03-01", "2024-04-30");
        const qint64 later = enroll(db(), "00000002", m_swim, "2024-06-01", "2024-06-30");
        const qint64 refunded = enroll(db(), "00000002", m_swim, "2024-04-01", "2024-06-30");
        db().exec("UPDATE Lecture SET Cancel = 99 WHERE Ltid = ?", {refunded});
        const qint64 changed = enroll(db(), "00000002", m_swim, "2024-05-01", "2024-05-31");
        db().exec("UPDATE Lecture SET Change = 98 WHERE Ltid = ?", {changed});
        const qint64 refundRow = enroll(db(), "00000002", m_swim, "2024-05-01", "2024-05-20", "1", "4");
        const qint64 across = enroll(db(), "00000002", m_swim, "2024-04-20", "2024-05-05");
        visit(db(), "00000001", m_l1, "2024-05-02", "07:00");
        visit(db(), "00000001", m_l1, "2024-05-02", "19:00");
        visit(db(), "00000001", m_l1, "2024-05-31", "07:00");
        visit(db(), "00000001", m_l1, "2024-04-30", "07:00");
        visit(db(), "00000002", across, "2024-05-02", "07:00");
        visit(db(), "00000002", m_l2, "2024-05-03", "06:00", "2"); // another course's enrollment
        Q_UNUSED(ended);
        Q_UNUSED(later);
        Q_UNUSED(refundRow);

        const AttendanceSheet s = attendanceSheet(db(), {"2024-05", "1", {}, 0});
        QCOMPARE(s.daysInMonth, 31);
        QCOMPARE(s.lines.size(), 2);
        QCOMPARE(s.lines[0].member.mbName, QStringLiteral("김수영")); // by name
        QCOMPARE(s.lines[0].ltid, m_l1);
        QCOMPARE(s.lines[1].ltid, across);
        QCOMPARE(s.lines[0].days[1], DayMark::Gate);
        QCOMPARE(s.lines[0].days[30], DayMark::Gate);
        QCOMPARE(s.lines[0].visitDays, 2);
        QCOMPARE(s.lines[1].visitDays, 1);
        QCOMPARE(s.perDay[1], 2);
        QCOMPARE(s.perDay[2], 0);
        QCOMPARE(s.total, 3);
        QCOMPARE(s.lines[0].member.tel1, QString("010-1111-0001"));
        // The SMS recipients: each member once, with the last day marked.
        const MemberContacts to = s.contacts();
        QCOMPARE(to.size(), 2);
        QCOMPARE(to[0].mbCode, QString("00000001"));
        QCOMPARE(to[0].listDate, QString("2024-05-31"));
        QCOMPARE(to[1].listDate, QString("2024-05-02"));

        QCOMPARE(attendanceSheet(db(), {"2024-05", "1", "0009", 0}).lines.size(), 0);
        QCOMPARE(attendanceSheet(db(), {"2024-05", "2", {}, 0}).lines.size(), 1);
        QVERIFY(attendanceSheet(db(), {"2024-08", "1", {}, 0}).lines.isEmpty());
    }

    // A manual attendance is a visit row of its own kind: on the sheet, in the
    // visit list and in the counts; refused where it makes no sense.
    void manualAttendance()
    {
        const QDateTime now(QDate(2024, 5, 20), QTime(10, 0));
        const Outcome o = addManualAttendance(db(), m_l1, "2024-05-07", now);
        QVERIFY(o.saved);
        const auto row = db().queryOne("SELECT * FROM entrance WHERE Entid = ?", {o.id});
        QVERIFY(row);
        QCOMPARE(row->str("InDate"), QString("2024-05-07"));
        QCOMPARE(row->str("InTime"), QString("07:00")); // the lesson's start
        QCOMPARE(row->str("Memo"), manualAttendanceMemo());
        QCOMPARE(row->str("MbCard"), QString());
        QVERIFY(row->isNull("OutTime"));
        QCOMPARE(row->num("Pgid"), m_swim);
        QCOMPARE(row->str("Course"), QString("1"));

        const AttendanceSheet s = attendanceSheet(db(), {"2024-05", "1", {}, 0});
        QCOMPARE(s.lines[0].days[6], DayMark::Manual);
        const VisitList list = visitList(db(), {"2024-05-07", "2024-05-07"});
        QCOMPARE(list.count, qint64(1));
        QVERIFY(list.lines[0].manual);
        QCOMPARE(visitCounts(db(), {"2024-05-01", "2024-05-31"}).visits, qint64(1));

        const auto refused = [&](qint64 ltid, const QString &date, const QString &text) {
            const Outcome r = addManualAttendance(db(), ltid, date, now);
            QVERIFY2(!r.saved, qPrintable(date));
            QCOMPARE(r.last().text, text);
        };
        refused(m_l1, "2024-05-07", QStringLiteral("이미 출석한 일자입니다."));
        refused(m_l1, "2024-05-21", QStringLiteral("오늘 이후의 일자에는 출석을 등록할수 없읍니다."));
        refused(m_l2, "2024-04-14", QStringLiteral("수강기간이 아닌 일자입니다."));
        const qint64 pause = enroll(db(), "00000001", m_swim, "2024-05-10", "2024-05-15", "1", "3");
        refused(pause, "2024-05-11", QStringLiteral("연기 또는 환불된 수강입니다."));
        visit(db(), "00000001", m_l1, "2024-05-08", "07:10");
        refused(m_l1, "2024-05-08", QStringLiteral("이미 출석한 일자입니다."));

        // Taking it back removes only the manual mark.
        QVERIFY(removeManualAttendance(db(), m_l1, "2024-05-07").saved);
        QVERIFY(!removeManualAttendance(db(), m_l1, "2024-05-08").saved);
        QCOMPARE(countOf(db(), "SELECT COUNT(*) FROM entrance WHERE Ltid = ?", {m_l1}), qint64(1));
    }

    // A time pass marked by hand is written closed: never taken for a member inside.
    void manualAttendanceOfTimePassIsClosed()
    {
        const qint64 pass = addCourseProgram(db(), QStringLiteral("자유수영"), "1", "0001", "", "2");
        const qint64 l = addTimePass(db(), "00000001", pass, 600, 0);
        const Outcome o = addManualAttendance(db(), l, "2024-05-20", QDateTime(QDate(2024, 5, 20), QTime(14, 25)));
        QVERIFY(o.saved);
        const auto row = db().queryOne("SELECT InTime, OutTime, uTime FROM entrance WHERE Entid = ?", {o.id});
        QCOMPARE(row->str("InTime"), QString("14:25"));
        QCOMPARE(row->str("OutTime"), QString("14:25"));
        QCOMPARE(row->num("uTime"), qint64(0));
        QCOMPARE(countOf(db(), "SELECT uPgCnt FROM Lecture WHERE Ltid = ?", {l}), qint64(0));
    }

private:
    QList<VisitLine> pagedVisits(const VisitListCriteria &c, int pageLines)
    {
        QList<VisitLine> all;
        for (QList<VisitLine> page = visitListPage(db(), c, nullptr, pageLines); !page.isEmpty();
             page = visitListPage(db(), c, &all.last(), pageLines)) {
            if (page.size() > pageLines || all.size() > 1000) // a page too long, or pages that never end
                return {};
            all += page;
        }
        return all;
    }

    static QList<qint64> entids(const QList<VisitLine> &lines)
    {
        QList<qint64> out;
        for (const VisitLine &l : lines)
            out << l.entid;
        return out;
    }

    TestInstall m_inst;
    qint64 m_swim = 0, m_gym = 0, m_l1 = 0, m_l2 = 0;
};

QTEST_GUILESS_MAIN(TstEntranceReports)
#include "tst_entrancereports.moc"
