#include "entrance/reportsattendance.h"

#include "data/dates.h"
#include "data/reportquery.h"
#include "entrance/checkout.h"
#include "entrance/reports.h"

#include <QHash>

namespace fitrova {

namespace {

// The enrollments of the sheet: course item, instructor and program as
// chosen, touching the month, neither refunded nor changed to another class.
SqlFilter sheetFilter(const AttendanceCriteria &c, const DateRange &month)
{
    SqlFilter f;
    f.add(QStringLiteral("l.Course = ?"), {c.course});
    f.add(QStringLiteral("l.Sdate1 <= ? AND l.Sdate2 >= ?"), {month.to, month.from});
    f.add(QStringLiteral("l.LtGubun < '4' AND l.Cancel = 0 AND l.Change = 0"));
    f.equalIfSet(QStringLiteral("l.Pgid"), c.pgid);
    f.equalIfSet(QStringLiteral("l.LtCode"), c.ltCode);
    return f;
}

} // namespace

AttendanceSheet attendanceSheet(const Db &db, const AttendanceCriteria &c)
{
    AttendanceSheet out;
    const QDate first = dateFromText(c.month + QStringLiteral("-01"));
    if (!first.isValid() || c.course.isEmpty())
        return out;
    out.month = c.month;
    out.daysInMonth = first.daysInMonth();
    out.perDay = QList<int>(out.daysInMonth, 0);
    const DateRange month = monthRange(first.year(), first.month());
    const SqlFilter f = sheetFilter(c, month);

    const Rows lectures = db.query(
        QStringLiteral("SELECT l.Ltid, l.LtGubun, l.MbCode, l.Sdate1, l.Sdate2, "
                       "COALESCE(m.MbName, l.MbName) AS MbName, m.Tel1, m.Tel2, m.PostNo, m.Addr1, m.Addr2 "
                       "FROM Lecture l LEFT JOIN Member m ON m.MbCode = l.MbCode")
            + f.where() + QStringLiteral(" ORDER BY COALESCE(m.MbName, l.MbName, ''), l.MbCode, l.Ltid"),
        f.params());
    QHash<qint64, int> lineOf;
    for (const Row &r : lectures) {
        AttendanceSheetLine l;
        l.ltid = r.num(QStringLiteral("Ltid"));
        l.ltGubun = r.str(QStringLiteral("LtGubun"));
        l.sDate1 = r.str(QStringLiteral("Sdate1"));
        l.sDate2 = r.str(QStringLiteral("Sdate2"));
        l.member = {r.str(QStringLiteral("MbCode")), r.str(QStringLiteral("MbName")), r.str(QStringLiteral("Tel1")),
                    r.str(QStringLiteral("PostNo")), r.str(QStringLiteral("Addr1")), r.str(QStringLiteral("Addr2"))};
        l.tel2 = r.str(QStringLiteral("Tel2"));
        l.days = QList<DayMark>(out.daysInMonth, DayMark::None);
        lineOf.insert(l.ltid, int(out.lines.size()));
        out.lines.append(l);
    }
    if (out.lines.isEmpty())
        return out;

    // Every visit of those enrollments in the month, in one grouped statement.
    Params params{manualAttendanceMemo()};
    params += f.params();
    params << month.from << month.to;
    const Rows visits = db.query(
        QStringLiteral("SELECT e.Ltid, e.InDate, COUNT(*) AS Visits, "
                       "SUM(CASE WHEN e.Memo = ? THEN 1 ELSE 0 END) AS Manual "
                       "FROM entrance e JOIN Lecture l ON l.Ltid = e.Ltid AND l.MbCode = e.MbCode")
            + f.where() + QStringLiteral(" AND e.InDate >= ? AND e.InDate <= ? GROUP BY e.Ltid, e.InDate"),
        params);
    for (const Row &r : visits) {
        const auto it = lineOf.constFind(r.num(QStringLiteral("Ltid")));
        if (it == lineOf.constEnd())
            continue;
        const int day = r.str(QStringLiteral("InDate")).mid(8, 2).toInt();
        if (day < 1 || day > out.daysInMonth)
            continue;
        AttendanceSheetLine &l = out.lines[it.value()];
        const bool gate = r.num(QStringLiteral("Visits")) > r.num(QStringLiteral("Manual"));
        if (l.days[day - 1] == DayMark::None) {
            ++l.visitDays;
            ++out.perDay[day - 1];
            ++out.total;
        }
        l.days[day - 1] = gate ? DayMark::Gate : DayMark::Manual;
    }
    return out;
}

MemberContacts AttendanceSheet::contacts() const
{
    MemberContacts out;
    QHash<QString, int> at;
    for (const AttendanceSheetLine &l : lines) {
        QString last;
        for (int d = int(l.days.size()); d >= 1 && last.isEmpty(); --d)
            if (l.days[d - 1] != DayMark::None)
                last = month + QStringLiteral("-%1").arg(d, 2, 10, QLatin1Char('0'));
        const auto it = at.constFind(l.member.mbCode);
        if (it == at.constEnd()) {
            at.insert(l.member.mbCode, int(out.size()));
            out.append(l.member);
            out.last().listDate = last;
        } else if (last > out[it.value()].listDate) {
            out[it.value()].listDate = last; // a second enrollment of the member
        }
    }
    return out;
}

Outcome addManualAttendance(const Db &db, qint64 ltid, const QString &date, const QDateTime &now)
{
    const QString title = manualAttendanceTitle();
    const QDate day = dateFromText(date);
    if (!day.isValid())
        return Outcome::refused(QStringLiteral("일자를 확인하여 주십시요."), title);
    if (day > now.date())
        return Outcome::refused(QStringLiteral("오늘 이후의 일자에는 출석을 등록할수 없읍니다."), title);
    return db.transaction([&] {
        const auto l = db.queryOne(QStringLiteral("SELECT l.MbCode, l.Pgid, l.Course, l.PgGubun, l.LtGubun, l.Sdate1, "
                                                  "l.Sdate2, l.Cancel, l.Time1 FROM Lecture l WHERE l.Ltid = ?")
                                       + db.forUpdate(),
                                   {ltid});
        if (!l)
            return Outcome::refused(QStringLiteral("수강자료를 찾을수 없읍니다."), title);
        if (l->str(QStringLiteral("LtGubun")) >= QLatin1String("3") || l->num(QStringLiteral("Cancel")) > 0)
            return Outcome::refused(QStringLiteral("연기 또는 환불된 수강입니다."), title);
        if (date < l->str(QStringLiteral("Sdate1")) || date > l->str(QStringLiteral("Sdate2")))
            return Outcome::refused(QStringLiteral("수강기간이 아닌 일자입니다."), title);
        const QString mbCode = l->str(QStringLiteral("MbCode"));
        if (db.scalar(QStringLiteral("SELECT COUNT(*) FROM entrance WHERE Ltid = ? AND MbCode = ? AND InDate = ?"),
                      {ltid, mbCode, date})
                .toLongLong()
            > 0)
            return Outcome::refused(QStringLiteral("이미 출석한 일자입니다."), title);
        const qint64 pgid = l->num(QStringLiteral("Pgid"));
        QString time = db.scalar(QStringLiteral("SELECT Time1 FROM Program WHERE Pgid = ?"), {pgid}).toString().trimmed();
        if (time.isEmpty())
            time = l->str(QStringLiteral("Time1")).trimmed();
        if (time.size() != 5)
            time = now.time().toString(QStringLiteral("HH:mm"));
        const bool timeBased = l->str(QStringLiteral("PgGubun")) == QLatin1String("2");
        const qint64 entid = db.insertId(
            QStringLiteral("INSERT INTO entrance (InDate, InTime, OutTime, PgGubun, MbCode, MbCard, Ltid, Pgid, Course, "
                           "uTime, Memo) VALUES (?, ?, ?, ?, ?, '', ?, ?, ?, 0, ?)"),
            {date, time, timeBased ? QVariant(time) : QVariant(), l->str(QStringLiteral("PgGubun")), mbCode, ltid, pgid,
             l->str(QStringLiteral("Course")), manualAttendanceMemo()},
            QStringLiteral("Entid"));
        recomputeVisitTotals(db, ltid, mbCode);
        return Outcome::done(entid);
    });
}

Outcome removeManualAttendance(const Db &db, qint64 ltid, const QString &date)
{
    return db.transaction([&] {
        const auto l = db.queryOne(QStringLiteral("SELECT MbCode FROM Lecture WHERE Ltid = ?") + db.forUpdate(), {ltid});
        const int n = l ? db.exec(QStringLiteral("DELETE FROM entrance WHERE Ltid = ? AND InDate = ? AND Memo = ?"),
                                  {ltid, date, manualAttendanceMemo()})
                        : 0;
        if (n == 0)
            return Outcome::refused(QStringLiteral("취소할 수동출석이 없습니다."), manualAttendanceTitle());
        recomputeVisitTotals(db, ltid, l->str(QStringLiteral("MbCode")));
        return Outcome::done();
    });
}

} // namespace fitrova
