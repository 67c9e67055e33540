#pragma once
// The entrance reports over the visit rows the gate writes (entrance): the
// visit list, the visit counts per member, one member's visits, visitors per
// day of a month and the visit chart. Each takes its criteria and returns
// typed lines with their totals; every filter is a bound value and each is
// one query on either engine. Dates are "YYYY-MM-DD", times "hh:mm".

#include "data/db.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace fitrova {

// The memo of a visit written by hand on the attendance sheet (a manual
// attendance), which tells it apart from a visit the gate wrote.
inline QString manualAttendanceMemo() { return QStringLiteral("수동출석"); }

// --- the visit list (입장현황) --------------------------------------------------

struct VisitListCriteria {
    QString dateFrom{}, dateTo{};
    QString timeFrom = QStringLiteral("00:00"), timeTo = QStringLiteral("24:00");
    QString course{};   // course item of the visit ("" all)
    qint64 pgid = 0;  // program (0 all)
    QString ltCode{};   // instructor of the visit's program ("" all)
    QString sex{};      // the member's sex, "남" or "여" ("" all)
    QString mbCode{};   // one member ("" all)
};

struct VisitLine {
    qint64 entid = 0;
    QString inDate{}, inTime{}, outTime{}, mbCode{}, mbName{}, sex{};
    qint64 age = -1; // -1: not recorded
    QString guardian{}, pgName{}, card{}, memo{};
    bool timeBased = false;   // a visit of a time-based enrollment: its minutes are shown
    qint64 usedMinutes = 0;
    bool manual = false;      // a manual attendance, not a gate visit
};

struct VisitList {
    QList<VisitLine> lines;
    qint64 count = 0; // [ 총인원 ]
};

// Ordered by date, time of entry and visit.
VisitList visitList(const Db &db, const VisitListCriteria &c);

// The same list a page at a time, for a grid that reads on as it scrolls (a
// month holds a hundred thousand visits and more): the lines after `after`,
// the last line of the page before (none: the first page), at most maxLines.
QList<VisitLine> visitListPage(const Db &db, const VisitListCriteria &c, const VisitLine *after, int maxLines);
// How many visits the list holds, without reading them.
qint64 visitListCount(const Db &db, const VisitListCriteria &c);

// --- visit counts per member (입장현황1) --------------------------------------

struct VisitCountCriteria {
    QString dateFrom{}, dateTo{};
    QString course{};
    qint64 pgid = 0;
    QString ltCode{};
    int minCount = 1;    // at least this many visits
    bool perDay = true;  // counted per day (일일입장횟수) or over the period (총입장횟수)
};

struct VisitCountLine {
    QString inDate{};  // per-day counting only
    QString mbCode{}, mbName{}, sex{};
    qint64 age = -1;
    QString tel{}, pgName{}, time1{}, time2{}, card{};
    qint64 count = 0;
};

struct VisitCounts {
    QList<VisitCountLine> lines;
    qint64 visits = 0; // sum of the counts listed
};

// Ordered by member (and date).
VisitCounts visitCounts(const Db &db, const VisitCountCriteria &c);

// --- one member's visits (회원별입장현황) -------------------------------------

struct MemberVisitCriteria {
    QString mbCode{}, dateFrom{}, dateTo{};
    bool twiceADayOnly = false; // only days with two visits or more
};

struct MemberVisitLine {
    qint64 entid = 0;
    QString inDate{}, weekday{}, inTime{}, outTime{}, pgName{}, memo{};
    bool manual = false;
};

QList<MemberVisitLine> memberVisits(const Db &db, const MemberVisitCriteria &c);

// The member's enrollments of course items (group P), newest first.
struct MemberEnrollmentLine {
    qint64 ltid = 0;
    QString courseName{}, pgName{}, time{}, sDate1{}, sDate2{}, rqDate{};
    qint64 monthCnt = 0, tAmt = 0;
    QString remark{}; // state words and the row's remark
};
QList<MemberEnrollmentLine> memberEnrollments(const Db &db, const QString &mbCode);

// --- visitors per day of a month (일일입장객현황) -------------------------------

struct DailyVisitorsCriteria {
    int year = 0, month = 0;
    bool members = true; // count the visits of members
    bool goods = true;   // count entry tickets sold (goods flagged as visitors)
};

struct GoodsColumn {
    QString code{}, name{}; // goods course (group S)
};

struct DailyVisitorsLine {
    QDate day;
    qint64 members = 0;
    QList<qint64> goods; // one per column
    qint64 total = 0;
};

struct DailyVisitors {
    QList<GoodsColumn> columns;
    QList<DailyVisitorsLine> days; // every day of the month
    DailyVisitorsLine total;       // 합계
};

DailyVisitors dailyVisitors(const Db &db, const DailyVisitorsCriteria &c);

// --- the visit chart (회원입장그래프) ------------------------------------------

enum class ChartPeriod {
    MonthsOfYear, // one point per month of the year
    DaysOfMonth,  // one point per day of the month
    HoursOfDay    // one point per hour: hour h counts the entries from h-1:00 to h-1:59
};

struct VisitChartCriteria {
    ChartPeriod period = ChartPeriod::DaysOfMonth;
    int year = 0, month = 0; // the year, and the month of DaysOfMonth
    QString day{};             // HoursOfDay: "YYYY-MM-DD"
    QString course{};          // one course item ("" all)
};

struct VisitSeries {
    QString course{}, name{};  // course item code and name ("" and "기타" for visits without one)
    QList<qint64> counts;  // one per category
    qint64 total = 0;
};

struct VisitChart {
    QStringList categories; // "01".."12", "1".."31", "1".."24"
    QList<VisitSeries> series;
    QList<qint64> totals;   // per category over every series
    qint64 total = 0;
};

VisitChart visitChart(const Db &db, const VisitChartCriteria &c);

} // namespace fitrova
