#include "closing/enrollmentreports.h"

#include "data/codetexts.h"
#include "data/dates.h"
#include "data/reportquery.h"
#include "data/privacy.h"

#include <QHash>
#include <QSet>

namespace fitrova {

namespace {

qint64 ageOf(const Row &r, const QString &column = QStringLiteral("Age"))
{
    return r.isNull(column) ? -1 : r.num(column);
}

void addPeriod(SqlFilter &f, EnrollPeriod period, const QString &month, const QString &from, const QString &to,
               const QString &table)
{
    if (period != EnrollPeriod::Dates)
        f.add(table + QStringLiteral(".LTyymm = ?"), {month});
    if (period != EnrollPeriod::Month)
        f.between(table + QStringLiteral(".RqDate"), from, to);
}

QString listCondition(EnrollmentList list)
{
    switch (list) {
    case EnrollmentList::Enrollments:
        // Box programs are not enrollments of this list; a payment of an
        // outstanding amount is an enrollment row without a program.
        return QStringLiteral("l.LtGubun = '1' AND l.PgGubun IN ('1', '2')");
    case EnrollmentList::ClassChanges: return QStringLiteral("l.LtGubun = '2'");
    case EnrollmentList::Postponements: return QStringLiteral("l.LtGubun = '3'");
    case EnrollmentList::Refunds: return QStringLiteral("l.LtGubun = '4'");
    case EnrollmentList::Transfers: return QStringLiteral("l.LtGubun = '0'");
    }
    return {};
}

QString remarkOf(const Row &r)
{
    const QString words = lectureStateRemark(r.num(QStringLiteral("Delay")), r.num(QStringLiteral("Cancel")),
                                             r.num(QStringLiteral("Transfer")), r.num(QStringLiteral("Change")),
                                             r.str(QStringLiteral("LtGubun")));
    const QString remark = r.str(QStringLiteral("Remark")).trimmed();
    return words.isEmpty() ? remark : remark.isEmpty() ? words : words + QLatin1Char(' ') + remark;
}

} // namespace

// --- enrollment status ------------------------------------------------------------

EnrollmentStatus enrollmentStatus(const Db &db, EnrollmentList list, const EnrollmentStatusCriteria &c)
{
    SqlFilter f;
    f.add(listCondition(list));
    addPeriod(f, c.period, c.month, c.dateFrom, c.dateTo, QStringLiteral("l"));
    f.equalIfSet(QStringLiteral("l.Course"), c.course);
    f.equalIfSet(QStringLiteral("p.Sclass"), c.sclass);
    if (c.monthCnt > 0)
        f.add(QStringLiteral("l.MonthCnt = ?"), {c.monthCnt});
    f.equalIfSet(QStringLiteral("l.LastUser"), c.user);
    const Rows rows = db.query(
        QStringLiteral(
            "SELECT l.Ltid, l.BLtid, l.LtGubun, l.MbCode, l.RqDate, l.Sdate1, l.Sdate2, l.LTyymm, l.MonthCnt, "
            "l.TAmt, l.CashAmt, l.CardAmt, l.Rday, l.Lectgubun, l.LastUser, l.Delay, l.Cancel, l.Transfer, "
            "l.Change, l.Remark, l.BMbCode, "
            "COALESCE(p.PgName, l.PgName) AS PgName, COALESCE(p.Time1, l.Time1) AS Time1, "
            "COALESCE(p.Time2, l.Time2) AS Time2, COALESCE(lt.LTName, p.LTName) AS LTName, "
            "COALESCE(m.MbName, l.MbName) AS MbName, COALESCE(m.Sex, l.Sex) AS Sex, "
            "COALESCE(m.Age, l.Age) AS Age, m.Juno1, m.Juno2, m.Tel1, m.MbCard, u.UserName, "
            "bp.PgName AS BPgName, bp.Time1 AS BTime1, bp.Time2 AS BTime2, b.TAmt AS BTAmt, "
            "g.MbName AS GName, g.Sex AS GSex, g.Age AS GAge "
            "FROM Lecture l "
            "LEFT JOIN Program p ON p.Pgid = l.Pgid "
            "LEFT JOIN Lecturer lt ON lt.LTcode = l.LtCode "
            "LEFT JOIN Member m ON m.MbCode = l.MbCode "
            "LEFT JOIN UserM u ON u.PsCode = l.LastUser "
            "LEFT JOIN Program bp ON bp.Pgid = l.Bpgid "
            "LEFT JOIN Lecture b ON b.Ltid = l.BLtid "
            "LEFT JOIN Member g ON g.MbCode = l.BMbCode")
            + f.where() + QStringLiteral(" ORDER BY l.RqDate, l.Pgid, l.Ltid"),
        f.params());
    EnrollmentStatus out;
    out.lines.reserve(rows.size());
    for (const Row &r : rows) {
        EnrollmentStatusLine l;
        l.ltid = r.num(QStringLiteral("Ltid"));
        l.bLtid = r.num(QStringLiteral("BLtid"));
        l.mbCode = r.str(QStringLiteral("MbCode"));
        l.mbName = r.str(QStringLiteral("MbName"));
        l.sex = r.str(QStringLiteral("Sex")).trimmed();
        l.age = ageOf(r);
        l.resident = maskedResidentNumber(r.str(QStringLiteral("Juno1")), r.str(QStringLiteral("Juno2")));
        l.tel1 = r.str(QStringLiteral("Tel1"));
        l.mbCard = r.str(QStringLiteral("MbCard"));
        l.rqDate = r.str(QStringLiteral("RqDate"));
        l.pgName = r.str(QStringLiteral("PgName"));
        l.time1 = r.str(QStringLiteral("Time1"));
        l.time2 = r.str(QStringLiteral("Time2"));
        l.lecturer = r.str(QStringLiteral("LTName"));
        l.sDate1 = r.str(QStringLiteral("Sdate1"));
        l.sDate2 = r.str(QStringLiteral("Sdate2"));
        l.ltyymm = r.str(QStringLiteral("LTyymm"));
        l.monthCnt = r.num(QStringLiteral("MonthCnt"));
        l.tAmt = r.num(QStringLiteral("TAmt"));
        l.cashAmt = r.num(QStringLiteral("CashAmt"));
        l.cardAmt = r.num(QStringLiteral("CardAmt"));
        l.rDay = r.num(QStringLiteral("Rday"));
        l.user = r.str(QStringLiteral("LastUser"));
        l.userName = r.str(QStringLiteral("UserName"));
        l.renewal = r.str(QStringLiteral("Lectgubun")) == QLatin1String("2");
        l.remark = remarkOf(r);
        l.bPgName = r.str(QStringLiteral("BPgName"));
        l.bTime1 = r.str(QStringLiteral("BTime1"));
        l.bTime2 = r.str(QStringLiteral("BTime2"));
        l.baseTAmt = r.num(QStringLiteral("BTAmt"));
        l.giverCode = r.str(QStringLiteral("BMbCode"));
        l.giverName = r.str(QStringLiteral("GName"));
        l.giverSex = r.str(QStringLiteral("GSex")).trimmed();
        l.giverAge = ageOf(r, QStringLiteral("GAge"));
        out.all.add(l);
        (l.renewal ? out.renewals : out.newOnes).add(l);
        out.lines.append(l);
    }
    return out;
}

QStringList enrollmentStaffItems(const Db &db)
{
    QStringList items;
    for (const Row &r : db.query(QStringLiteral("SELECT PsCode, UserName FROM UserM "
                                                "WHERE (GrCode = '1' AND Uuse = '1') OR GrCode = '2' ORDER BY PsCode")))
        items << r.str(QStringLiteral("PsCode")) + QLatin1Char('-') + r.str(QStringLiteral("UserName"));
    return items;
}

QStringList memberKindItems(const Db &db)
{
    QStringList items;
    for (const Row &r : db.query(QStringLiteral("SELECT Code, Name FROM MbGubun ORDER BY Code")))
        items << r.str(QStringLiteral("Code")) + QLatin1Char('-') + r.str(QStringLiteral("Name"));
    return items;
}

// --- enrollments per class -----------------------------------------------------------

ClassList classList(const Db &db, const ClassListCriteria &c)
{
    SqlFilter f;
    addPeriod(f, c.period, c.month, c.dateFrom, c.dateTo, QStringLiteral("Lecture"));
    f.equalIfSet(QStringLiteral("Lecture.Course"), c.course);
    if (c.monthCnt > 0)
        f.add(QStringLiteral("Lecture.MonthCnt = ?"), {c.monthCnt});
    f.equalIfSet(QStringLiteral("Lecture.Lclass"), c.lclass);
    f.equalIfSet(QStringLiteral("Lecture.Mclass"), c.mclass);
    f.equalIfSet(QStringLiteral("Lecture.Sclass"), c.sclass);
    f.equalIfSet(QStringLiteral("Member.MbGubun"), c.mbGubun);
    f.equalIfSet(QStringLiteral("Lecture.Pgid"), c.pgid);
    f.equalIfSet(QStringLiteral("Lecture.LtCode"), c.ltCode);
    f.add(lectureStateFilter(c.state == LectureStateChoice::Enrolled, c.state == LectureStateChoice::Postponed,
                             c.state == LectureStateChoice::Cancelled));
    const QString name = QStringLiteral("COALESCE(Member.MbName, Lecture.MbName, '')");
    const QString order =
        c.byTime ? QStringLiteral(" ORDER BY COALESCE(Program.Time1, ''), COALESCE(Program.Time2, ''), "
                                  "COALESCE(Program.PgCode, ''), COALESCE(Program.PgName, Lecture.PgName, ''), "
                                  "Lecture.Pgid, Lecture.RqDate, ")
                 : QStringLiteral(" ORDER BY COALESCE(Program.PgName, Lecture.PgName, ''), COALESCE(Program.Time1, ''), "
                                  "COALESCE(Program.Time2, ''), Lecture.Pgid, Lecture.RqDate, ");
    const Rows rows = db.query(
        QStringLiteral("SELECT Lecture.Ltid, Lecture.Pgid, Lecture.MbCode, Lecture.RqDate, Lecture.Sdate1, "
                       "Lecture.Sdate2, Lecture.MonthCnt, Lecture.TAmt, Lecture.Lectgubun, ")
            + name
            + QStringLiteral(" AS MbName, Member.Tel1, COALESCE(Program.PgName, Lecture.PgName) AS PgName, "
                             "COALESCE(Program.Time1, Lecture.Time1) AS Time1, "
                             "COALESCE(Program.Time2, Lecture.Time2) AS Time2, "
                             "COALESCE(Lecturer.LTName, Program.LTName) AS LTName "
                             "FROM Lecture LEFT JOIN Program ON Program.Pgid = Lecture.Pgid "
                             "LEFT JOIN Member ON Member.MbCode = Lecture.MbCode "
                             "LEFT JOIN Lecturer ON Lecturer.LTcode = Program.LtCode")
            + f.where() + order + name + QStringLiteral(", Lecture.Ltid"),
        f.params());
    ClassList out;
    for (const Row &r : rows) {
        const qint64 pgid = r.num(QStringLiteral("Pgid"));
        if (out.groups.isEmpty() || out.groups.last().pgid != pgid) {
            ClassGroup g;
            g.pgid = pgid;
            g.pgName = r.str(QStringLiteral("PgName"));
            const QString t1 = r.str(QStringLiteral("Time1")), t2 = r.str(QStringLiteral("Time2"));
            g.time = t1.isEmpty() && t2.isEmpty() ? QString() : t1 + QLatin1Char('-') + t2;
            g.lecturer = r.str(QStringLiteral("LTName"));
            out.groups.append(g);
        }
        ClassListLine l;
        l.ltid = r.num(QStringLiteral("Ltid"));
        l.mbCode = r.str(QStringLiteral("MbCode"));
        l.mbName = r.str(QStringLiteral("MbName"));
        l.rqDate = r.str(QStringLiteral("RqDate"));
        l.sDate1 = r.str(QStringLiteral("Sdate1"));
        l.sDate2 = r.str(QStringLiteral("Sdate2"));
        l.tel1 = r.str(QStringLiteral("Tel1"));
        l.monthCnt = r.num(QStringLiteral("MonthCnt"));
        l.tAmt = r.num(QStringLiteral("TAmt"));
        l.renewal = r.str(QStringLiteral("Lectgubun")) == QLatin1String("2");
        out.groups.last().lines.append(l);
        out.groups.last().amount += l.tAmt;
        ++out.count;
        out.amount += l.tAmt;
    }
    return out;
}

// --- valid members ------------------------------------------------------------------

MemberContacts ValidMembers::contacts() const
{
    MemberContacts out;
    QSet<QString> seen;
    for (const ValidMemberGroup &g : groups)
        for (const ValidMemberLine &l : g.lines)
            if (!seen.contains(l.member.mbCode)) {
                seen.insert(l.member.mbCode);
                out.append(l.member);
                out.last().listDate = l.sDate2;
            }
    return out;
}

ValidMembers validMembers(const Db &db, const ValidMemberCriteria &c)
{
    SqlFilter f;
    switch (c.kind) {
    case ValidKind::Valid: f.add(QStringLiteral("l.Sdate1 <= ? AND l.Sdate2 >= ?"), {c.date, c.date}); break;
    case ValidKind::Expiring: f.between(QStringLiteral("l.Sdate2"), c.dateFrom, c.dateTo); break;
    case ValidKind::Starting: f.between(QStringLiteral("l.Sdate1"), c.dateFrom, c.dateTo); break;
    }
    f.add(QStringLiteral("l.LtGubun < '3'"));
    f.equalIfSet(QStringLiteral("l.Course"), c.course);
    if (c.monthCnt > 0)
        f.add(QStringLiteral("l.MonthCnt = ?"), {c.monthCnt});
    f.equalIfSet(QStringLiteral("l.PgGubun"), c.pgGubun);
    f.equalIfSet(QStringLiteral("l.Lectgubun"), c.lectGubun);
    f.equalIfSet(QStringLiteral("l.Pgid"), c.pgid);
    f.equalIfSet(QStringLiteral("l.LtCode"), c.ltCode);
    const Rows rows = db.query(
        QStringLiteral("SELECT l.Ltid, l.Pgid, l.PgGubun, l.MbCode, l.RqDate, l.Sdate1, l.Sdate2, l.MonthCnt, "
                       "l.CardAmt, l.CashAmt, l.TAmt, l.PgCnt, l.uPgCnt, "
                       "COALESCE(p.PgName, l.PgName) AS PgName, COALESCE(p.Time1, l.Time1) AS Time1, "
                       "COALESCE(p.Time2, l.Time2) AS Time2, COALESCE(lt.LTName, p.LTName) AS LTName, "
                       "COALESCE(m.MbName, l.MbName) AS MbName, COALESCE(m.Sex, l.Sex) AS Sex, "
                       "COALESCE(m.Age, l.Age) AS Age, m.Tel1, m.SMS, m.PostNo, m.Addr1, m.Addr2 "
                       "FROM Lecture l LEFT JOIN Program p ON p.Pgid = l.Pgid "
                       "LEFT JOIN Lecturer lt ON lt.LTcode = l.LtCode "
                       "LEFT JOIN Member m ON m.MbCode = l.MbCode")
            + f.where() + QStringLiteral(" ORDER BY l.Pgid, l.Sdate2, l.MbCode, l.Ltid"),
        f.params());
    const QDate base = c.kind == ValidKind::Valid ? dateFromText(c.date) : c.today;
    ValidMembers out;
    for (const Row &r : rows) {
        ValidMemberLine l;
        l.ltid = r.num(QStringLiteral("Ltid"));
        l.pgid = r.num(QStringLiteral("Pgid"));
        l.pgName = r.str(QStringLiteral("PgName"));
        l.time1 = r.str(QStringLiteral("Time1"));
        l.time2 = r.str(QStringLiteral("Time2"));
        l.lecturer = r.str(QStringLiteral("LTName"));
        l.member = {r.str(QStringLiteral("MbCode")), r.str(QStringLiteral("MbName")), r.str(QStringLiteral("Tel1")),
                    r.str(QStringLiteral("PostNo")), r.str(QStringLiteral("Addr1")), r.str(QStringLiteral("Addr2"))};
        l.sex = r.str(QStringLiteral("Sex")).trimmed();
        l.age = ageOf(r);
        l.rqDate = r.str(QStringLiteral("RqDate"));
        l.sDate1 = r.str(QStringLiteral("Sdate1"));
        l.sDate2 = r.str(QStringLiteral("Sdate2"));
        l.sms = r.str(QStringLiteral("SMS"));
        l.monthCnt = r.num(QStringLiteral("MonthCnt"));
        l.cardAmt = r.num(QStringLiteral("CardAmt"));
        l.cashAmt = r.num(QStringLiteral("CashAmt"));
        l.tAmt = r.num(QStringLiteral("TAmt"));
        if (r.str(QStringLiteral("PgGubun")) == QLatin1String("2")) {
            // A time pass: the minutes left of what was bought.
            const qint64 left = r.num(QStringLiteral("PgCnt")) - r.num(QStringLiteral("uPgCnt"));
            l.remainder = left <= 0 ? QStringLiteral("만기") : minutesText(int(left));
        } else {
            const QDate end = dateFromText(l.sDate2);
            const qint64 days = end.isValid() && base.isValid() ? base.daysTo(end) : 0;
            l.remainder = days < 0 ? QStringLiteral("만기") : QString::number(days) + QStringLiteral(" 일");
        }
        if (out.groups.isEmpty() || out.groups.last().pgid != l.pgid) {
            ValidMemberGroup g;
            g.pgid = l.pgid;
            g.pgName = l.pgName;
            out.groups.append(g);
        }
        ValidMemberGroup &g = out.groups.last();
        g.card += l.cardAmt;
        g.cash += l.cashAmt;
        g.amount += l.tAmt;
        g.lines.append(l);
        ++out.count;
        out.card += l.cardAmt;
        out.cash += l.cashAmt;
        out.amount += l.tAmt;
    }
    return out;
}

// --- daily valid members -----------------------------------------------------------------

DailyValid dailyValid(const Db &db, const DailyValidCriteria &c)
{
    DailyValid out;
    const DateRange range = monthRange(c.year, c.month);
    if (!range.isValid())
        return out;
    const QDate first = dateFromText(range.from);
    const int days = first.daysInMonth();
    out.daysInMonth = days;
    QHash<QString, int> rowOf;
    for (const Row &r : db.query(QStringLiteral("SELECT Code, Name FROM Course WHERE PsGroup = 'P' ORDER BY Code"))) {
        DailyValidRow row;
        row.course = r.str(QStringLiteral("Code"));
        row.name = r.str(QStringLiteral("Name"));
        row.days = QList<qint64>(days, 0);
        rowOf.insert(row.course, int(out.rows.size()));
        out.rows.append(row);
    }
    out.total.days = QList<qint64>(days, 0);

    if (c.expiring) {
        for (const Row &r : db.query(QStringLiteral("SELECT Course, Sdate2, COUNT(MbCode) AS Cnt FROM Lecture "
                                                    "WHERE Sdate2 >= ? AND Sdate2 <= ? AND LtGubun < '3' "
                                                    "GROUP BY Course, Sdate2"),
                                     {range.from, range.to})) {
            const auto it = rowOf.constFind(r.str(QStringLiteral("Course")));
            const int d = r.str(QStringLiteral("Sdate2")).mid(8, 2).toInt();
            if (it != rowOf.constEnd() && d >= 1 && d <= days)
                out.rows[it.value()].days[d - 1] += r.num(QStringLiteral("Cnt"));
        }
    } else {
        // Each group of enrollments with the same period adds its count to
        // every day of the month it covers: +n on its first day, −n after its
        // last, summed along the month.
        QHash<QString, QList<qint64>> steps;
        for (const Row &r : db.query(QStringLiteral("SELECT Course, Sdate1, Sdate2, COUNT(MbCode) AS Cnt FROM Lecture "
                                                    "WHERE Sdate1 <= ? AND Sdate2 >= ? AND LtGubun < '3' "
                                                    "GROUP BY Course, Sdate1, Sdate2"),
                                     {range.to, range.from})) {
            const QString course = r.str(QStringLiteral("Course"));
            if (!rowOf.contains(course))
                continue;
            const QString s1 = r.str(QStringLiteral("Sdate1")), s2 = r.str(QStringLiteral("Sdate2"));
            const int a = s1 < range.from ? 1 : s1.mid(8, 2).toInt();
            const int b = s2 > range.to ? days : s2.mid(8, 2).toInt();
            if (a < 1 || b > days || a > b)
                continue;
            QList<qint64> &s = steps[course];
            if (s.isEmpty())
                s = QList<qint64>(days + 1, 0);
            const qint64 n = r.num(QStringLiteral("Cnt"));
            s[a - 1] += n;
            s[b] -= n;
        }
        for (auto it = steps.cbegin(); it != steps.cend(); ++it) {
            DailyValidRow &row = out.rows[rowOf.value(it.key())];
            qint64 running = 0;
            for (int d = 0; d < days; ++d) {
                running += it.value()[d];
                row.days[d] = running;
            }
        }
    }
    for (DailyValidRow &row : out.rows) {
        for (int d = 0; d < days; ++d) {
            row.total += row.days[d];
            out.total.days[d] += row.days[d];
        }
        out.total.total += row.total;
    }
    return out;
}

// --- unpaid members ------------------------------------------------------------------------

Unpaid unpaidMembers(const Db &db)
{
    // Summed per member from the index on member and amounts alone; only the
    // members who owe are then looked up.
    const Rows rows = db.query(QStringLiteral(
        "SELECT u.MbCode, m.MbName, m.Age, m.Tel1, m.Tel2, m.Sex, m.MisuAmt, u.TAmt "
        "FROM (SELECT MbCode, SUM(TAmt) AS TAmt FROM Lecture GROUP BY MbCode "
        "HAVING SUM(TAmt) <> SUM(CashAmt) + SUM(CardAmt)) u "
        "LEFT JOIN Member m ON m.MbCode = u.MbCode "
        "ORDER BY u.MbCode"));
    Unpaid out;
    for (const Row &r : rows) {
        UnpaidLine l;
        l.mbCode = r.str(QStringLiteral("MbCode"));
        l.mbName = r.str(QStringLiteral("MbName"));
        l.tel1 = r.str(QStringLiteral("Tel1"));
        l.tel2 = r.str(QStringLiteral("Tel2"));
        l.sex = r.str(QStringLiteral("Sex")).trimmed();
        l.age = ageOf(r);
        l.tAmt = r.num(QStringLiteral("TAmt"));
        l.misuAmt = r.num(QStringLiteral("MisuAmt"));
        out.tAmt += l.tAmt;
        out.misuAmt += l.misuAmt;
        out.lines.append(l);
    }
    return out;
}

} // namespace fitrova
