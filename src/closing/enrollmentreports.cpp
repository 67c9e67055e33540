#include "closing/enrollmentreports.h"

#include "data/codetexts.h"
#include "data/dates.h"
#include "data/reportquery.h"
#include "data/rowstream.h"
#include "data/privacy.h"

#include <QHash>
#include <QSet>
#include <algorithm>

namespace fitrova {

namespace {

// Pages up to this many lines find their rows first and join only those.
constexpr int kJoinAfterLimit = 5000;

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

} // namespace

// --- enrollment status ------------------------------------------------------------

namespace {

// The list's order: registration date, program, row. In a month the
// registration date may be missing; a period of dates reads it from its index.
QStringList statusOrder(const EnrollmentStatusCriteria &c)
{
    return {c.period == EnrollPeriod::Month ? QStringLiteral("COALESCE(l.RqDate, '')") : QStringLiteral("l.RqDate"),
            QStringLiteral("COALESCE(l.Pgid, 0)"), QStringLiteral("l.Ltid")};
}

SqlFilter statusFilter(EnrollmentList list, const EnrollmentStatusCriteria &c)
{
    SqlFilter f;
    f.add(listCondition(list));
    addPeriod(f, c.period, c.month, c.dateFrom, c.dateTo, QStringLiteral("l"));
    f.equalIfSet(QStringLiteral("l.Course"), c.course);
    f.equalIfSet(QStringLiteral("p.Sclass"), c.sclass);
    if (c.monthCnt > 0)
        f.add(QStringLiteral("l.MonthCnt = ?"), {c.monthCnt});
    f.equalIfSet(QStringLiteral("l.LastUser"), c.user);
    return f;
}

// The filter reads p.Sclass only when a small class is chosen.
QString statusFilterJoins(const EnrollmentStatusCriteria &c)
{
    return c.sclass.isEmpty() ? QString() : QStringLiteral(" LEFT JOIN Program p ON p.Pgid = l.Pgid");
}

// The columns of a line, read by position (statusLine), and the tables they
// come from; the rows a list refers to are joined for that list only.
QString statusSelect(EnrollmentList list)
{
    const bool change = list == EnrollmentList::ClassChanges, refund = list == EnrollmentList::Refunds,
               transfer = list == EnrollmentList::Transfers;
    return QStringLiteral(
               "SELECT l.Ltid, l.BLtid, l.Pgid, l.LtGubun, l.MbCode, l.RqDate, l.Sdate1, l.Sdate2, l.LTyymm, "
               "l.MonthCnt, l.TAmt, l.CashAmt, l.CardAmt, l.Rday, l.Lectgubun, l.LastUser, l.Delay, l.Cancel, "
               "l.Transfer, l.Change, l.Remark, l.BMbCode, "
               "COALESCE(p.PgName, l.PgName), COALESCE(p.Time1, l.Time1), COALESCE(p.Time2, l.Time2), "
               "COALESCE(lt.LTName, p.LTName), COALESCE(m.MbName, l.MbName), COALESCE(m.Sex, l.Sex), "
               "COALESCE(m.Age, l.Age), m.Juno1, m.Juno2, m.Tel1, m.MbCard, u.UserName, ")
        + (change ? QStringLiteral("bp.PgName, bp.Time1, bp.Time2, ") : QStringLiteral("NULL, NULL, NULL, "))
        + (refund ? QStringLiteral("b.TAmt, ") : QStringLiteral("NULL, "))
        + (transfer ? QStringLiteral("g.MbName, g.Sex, g.Age") : QStringLiteral("NULL, NULL, NULL"));
}

QString statusJoins(EnrollmentList list)
{
    QString joins = QStringLiteral(" LEFT JOIN Program p ON p.Pgid = l.Pgid "
                                   "LEFT JOIN Lecturer lt ON lt.LTcode = l.LtCode "
                                   "LEFT JOIN Member m ON m.MbCode = l.MbCode "
                                   "LEFT JOIN UserM u ON u.PsCode = l.LastUser");
    if (list == EnrollmentList::ClassChanges)
        joins += QStringLiteral(" LEFT JOIN Program bp ON bp.Pgid = l.Bpgid");
    if (list == EnrollmentList::Refunds)
        joins += QStringLiteral(" LEFT JOIN Lecture b ON b.Ltid = l.BLtid");
    if (list == EnrollmentList::Transfers)
        joins += QStringLiteral(" LEFT JOIN Member g ON g.MbCode = l.BMbCode");
    return joins;
}

qint64 ageAt(const StreamRow &r, int column) { return r.isNull(column) ? -1 : numAt(r, column); }

EnrollmentStatusLine statusLine(const StreamRow &r)
{
    EnrollmentStatusLine l;
    l.ltid = numAt(r, 0);
    l.bLtid = numAt(r, 1);
    l.pgid = numAt(r, 2);
    const QString ltGubun = textAt(r, 3);
    l.mbCode = textAt(r, 4);
    l.rqDate = textAt(r, 5);
    l.sDate1 = textAt(r, 6);
    l.sDate2 = textAt(r, 7);
    l.ltyymm = textAt(r, 8);
    l.monthCnt = numAt(r, 9);
    l.tAmt = numAt(r, 10);
    l.cashAmt = numAt(r, 11);
    l.cardAmt = numAt(r, 12);
    l.rDay = numAt(r, 13);
    l.renewal = textAt(r, 14) == QLatin1String("2");
    l.user = textAt(r, 15);
    const QString words = lectureStateRemark(numAt(r, 16), numAt(r, 17), numAt(r, 18), numAt(r, 19), ltGubun);
    const QString remark = textAt(r, 20).trimmed();
    l.remark = words.isEmpty() ? remark : remark.isEmpty() ? words : words + QLatin1Char(' ') + remark;
    l.giverCode = textAt(r, 21);
    l.pgName = textAt(r, 22);
    l.time1 = textAt(r, 23);
    l.time2 = textAt(r, 24);
    l.lecturer = textAt(r, 25);
    l.mbName = textAt(r, 26);
    l.sex = textAt(r, 27).trimmed();
    l.age = ageAt(r, 28);
    l.resident = maskedResidentNumber(textAt(r, 29), textAt(r, 30));
    l.tel1 = textAt(r, 31);
    l.mbCard = textAt(r, 32);
    l.userName = textAt(r, 33);
    l.bPgName = textAt(r, 34);
    l.bTime1 = textAt(r, 35);
    l.bTime2 = textAt(r, 36);
    l.baseTAmt = numAt(r, 37);
    l.giverName = textAt(r, 38);
    l.giverSex = textAt(r, 39).trimmed();
    l.giverAge = ageAt(r, 40);
    return l;
}

} // namespace

EnrollmentStatus enrollmentStatus(const Db &db, EnrollmentList list, const EnrollmentStatusCriteria &c)
{
    const SqlFilter f = statusFilter(list, c);
    EnrollmentStatus out;
    forEachRow(db,
               statusSelect(list) + QStringLiteral(" FROM Lecture l") + statusJoins(list) + f.where()
                   + QStringLiteral(" ORDER BY ") + statusOrder(c).join(QStringLiteral(", ")),
               f.params(), [&](const StreamRow &r) {
                   const EnrollmentStatusLine &l = out.lines.emplace_back(statusLine(r));
                   out.all.add(l);
                   (l.renewal ? out.renewals : out.newOnes).add(l);
               });
    return out;
}

QList<EnrollmentStatusLine> enrollmentStatusPage(const Db &db, EnrollmentList list, const EnrollmentStatusCriteria &c,
                                                 const EnrollmentStatusLine *after, int maxLines)
{
    EnrollmentStatusCriteria from = c;
    // A period of dates starts its index range at the last date read.
    if (after && c.period != EnrollPeriod::Month && after->rqDate > from.dateFrom)
        from.dateFrom = after->rqDate;
    SqlFilter f = statusFilter(list, from);
    const QStringList order = statusOrder(c);
    if (after) {
        const auto [cond, values] = afterKeys(order, {after->rqDate, after->pgid, after->ltid});
        f.add(cond, values);
    }
    Params params = f.params();
    params << std::max(1, maxLines);
    const QString orderBy = QStringLiteral(" ORDER BY ") + order.join(QStringLiteral(", "));
    // The rows of a screenful are found on Lecture alone and only they are
    // joined; reading the rest at once (for printing) joins as it goes.
    QList<EnrollmentStatusLine> out;
    forEachRow(
        db,
        maxLines <= kJoinAfterLimit
            ? QString(statusSelect(list) + QStringLiteral(" FROM (SELECT l.Ltid FROM Lecture l") + statusFilterJoins(c)
                      + f.where() + orderBy + QStringLiteral(" LIMIT ?) k JOIN Lecture l ON l.Ltid = k.Ltid")
                      + statusJoins(list) + orderBy)
            : QString(statusSelect(list) + QStringLiteral(" FROM Lecture l") + statusJoins(list) + f.where() + orderBy
                      + QStringLiteral(" LIMIT ?")),
        params, [&](const StreamRow &r) { out.append(statusLine(r)); });
    return out;
}

qint64 enrollmentStatusCount(const Db &db, EnrollmentList list, const EnrollmentStatusCriteria &c)
{
    const SqlFilter f = statusFilter(list, c);
    return db.scalar(QStringLiteral("SELECT COUNT(*) FROM Lecture l") + statusFilterJoins(c) + f.where(), f.params())
        .toLongLong();
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

namespace {

SqlFilter validFilter(const ValidMemberCriteria &c)
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
    return f;
}

// Program, end date, member, row.
const QStringList kValidOrder{QStringLiteral("COALESCE(l.Pgid, 0)"), QStringLiteral("COALESCE(l.Sdate2, '')"),
                              QStringLiteral("COALESCE(l.MbCode, '')"), QStringLiteral("l.Ltid")};

// The columns of a line, read by position (validLine).
const QString kValidSelect = QStringLiteral(
    "SELECT l.Ltid, l.Pgid, l.PgGubun, l.MbCode, l.RqDate, l.Sdate1, l.Sdate2, l.MonthCnt, "
    "l.CardAmt, l.CashAmt, l.TAmt, l.PgCnt, l.uPgCnt, "
    "COALESCE(p.PgName, l.PgName), COALESCE(p.Time1, l.Time1), COALESCE(p.Time2, l.Time2), "
    "COALESCE(lt.LTName, p.LTName), COALESCE(m.MbName, l.MbName), COALESCE(m.Sex, l.Sex), "
    "COALESCE(m.Age, l.Age), m.Tel1, m.SMS, m.PostNo, m.Addr1, m.Addr2");
const QString kValidJoins = QStringLiteral(" LEFT JOIN Program p ON p.Pgid = l.Pgid "
                                           "LEFT JOIN Lecturer lt ON lt.LTcode = l.LtCode "
                                           "LEFT JOIN Member m ON m.MbCode = l.MbCode");

// The days left of a line count from the day asked for (valid members) or
// from today (expiring and starting ones).
QDate validBase(const ValidMemberCriteria &c) { return c.kind == ValidKind::Valid ? dateFromText(c.date) : c.today; }

ValidMemberLine validLine(const StreamRow &r, const QDate &base)
{
    ValidMemberLine l;
    l.ltid = numAt(r, 0);
    l.pgid = numAt(r, 1);
    const bool timePass = textAt(r, 2) == QLatin1String("2");
    l.member.mbCode = textAt(r, 3);
    l.rqDate = textAt(r, 4);
    l.sDate1 = textAt(r, 5);
    l.sDate2 = textAt(r, 6);
    l.monthCnt = numAt(r, 7);
    l.cardAmt = numAt(r, 8);
    l.cashAmt = numAt(r, 9);
    l.tAmt = numAt(r, 10);
    if (timePass) {
        // A time pass: the minutes left of what was bought.
        const qint64 left = numAt(r, 11) - numAt(r, 12);
        l.remainder = left <= 0 ? QStringLiteral("만기") : minutesText(int(left));
    } else {
        const QDate end = dateFromText(l.sDate2);
        const qint64 days = end.isValid() && base.isValid() ? base.daysTo(end) : 0;
        l.remainder = days < 0 ? QStringLiteral("만기") : QString::number(days) + QStringLiteral(" 일");
    }
    l.pgName = textAt(r, 13);
    l.time1 = textAt(r, 14);
    l.time2 = textAt(r, 15);
    l.lecturer = textAt(r, 16);
    l.member.mbName = textAt(r, 17);
    l.sex = textAt(r, 18).trimmed();
    l.age = ageAt(r, 19);
    l.member.tel1 = textAt(r, 20);
    l.sms = textAt(r, 21);
    l.member.postNo = textAt(r, 22);
    l.member.addr1 = textAt(r, 23);
    l.member.addr2 = textAt(r, 24);
    return l;
}

} // namespace

ValidMembers validMembers(const Db &db, const ValidMemberCriteria &c)
{
    const SqlFilter f = validFilter(c);
    const QDate base = validBase(c);
    ValidMembers out;
    forEachRow(db,
               kValidSelect + QStringLiteral(" FROM Lecture l") + kValidJoins + f.where() + QStringLiteral(" ORDER BY ")
                   + kValidOrder.join(QStringLiteral(", ")),
               f.params(), [&](const StreamRow &r) {
        ValidMemberLine l = validLine(r, base);
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
        ++out.count;
        out.card += l.cardAmt;
        out.cash += l.cashAmt;
        out.amount += l.tAmt;
        g.lines.append(std::move(l));
    });
    return out;
}

QList<ValidMemberLine> validMembersPage(const Db &db, const ValidMemberCriteria &c, const ValidMemberLine *after,
                                        int maxLines)
{
    SqlFilter f = validFilter(c);
    if (after) {
        const auto [cond, values] = afterKeys(kValidOrder, {after->pgid, after->sDate2, after->member.mbCode, after->ltid});
        f.add(cond, values);
    }
    Params params = f.params();
    params << std::max(1, maxLines);
    const QString orderBy = QStringLiteral(" ORDER BY ") + kValidOrder.join(QStringLiteral(", "));
    // The rows of a screenful are found on Lecture alone and only they are
    // joined; reading the rest at once (for printing) joins as it goes.
    const QDate base = validBase(c);
    QList<ValidMemberLine> out;
    forEachRow(
        db,
        maxLines <= kJoinAfterLimit
            ? QString(kValidSelect + QStringLiteral(" FROM (SELECT l.Ltid FROM Lecture l") + f.where() + orderBy
                      + QStringLiteral(" LIMIT ?) k JOIN Lecture l ON l.Ltid = k.Ltid") + kValidJoins + orderBy)
            : QString(kValidSelect + QStringLiteral(" FROM Lecture l") + kValidJoins + f.where() + orderBy
                      + QStringLiteral(" LIMIT ?")),
        params, [&](const StreamRow &r) { out.append(validLine(r, base)); });
    return out;
}

qint64 validMembersCount(const Db &db, const ValidMemberCriteria &c)
{
    const SqlFilter f = validFilter(c);
    return db.scalar(QStringLiteral("SELECT COUNT(*) FROM Lecture l") + f.where(), f.params()).toLongLong();
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
