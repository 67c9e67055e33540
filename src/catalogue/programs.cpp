#include "catalogue/programs.h"

#include "data/dates.h"

#include <QLocale>
#include <algorithm>

namespace fitrova {

namespace {

const QString kSaveTitle = QStringLiteral("자료저장");
const char *const kDayColumns[7] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};

QString dayColumn(int i) { return QString::fromLatin1(kDayColumns[i]); }

bool allDigits(const QString &s)
{
    return !s.isEmpty() && std::all_of(s.begin(), s.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

QString hhmm(int hours, int minutes)
{
    return QStringLiteral("%1:%2").arg(hours, 2, 10, QLatin1Char('0')).arg(minutes, 2, 10, QLatin1Char('0'));
}

QString programColumns()
{
    return QStringLiteral("Pgid, PgGubun, Course, Sclass, PgCode, PgName, Time1, Time2, "
                          "Mon, Tue, Wed, Thu, Fri, Sat, Sun, LtCode, LTName, MaxNum, MaxNumChk, PgUse, "
                          "Sdate, yymm, PgCnt1, PgCnt");
}

QList<FeeRow> loadFees(const Db &db, qint64 pgId)
{
    QList<FeeRow> fees;
    for (const Row &r : db.query(QStringLiteral("SELECT MonthCnt, Amt1, Amt2, Amt3 FROM ProgAmt "
                                                "WHERE Pgid = ? ORDER BY MonthCnt, PgId1"),
                                 {pgId}))
        fees.append({int(r.num(QStringLiteral("MonthCnt"))), r.num(QStringLiteral("Amt1")),
                     r.num(QStringLiteral("Amt2")), r.num(QStringLiteral("Amt3"))});
    return fees;
}

void insertFees(const Db &db, qint64 pgId, const QList<FeeRow> &fees)
{
    for (const FeeRow &f : fees) {
        if (f.isZero() || f.monthCnt <= 0)
            continue;
        db.exec(QStringLiteral("INSERT INTO ProgAmt (Pgid, MonthCnt, Amt1, Amt2, Amt3) VALUES (?, ?, ?, ?, ?)"),
                {pgId, f.monthCnt, f.amt1, f.amt2, f.amt3});
    }
}

QString flagText(bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); }

} // namespace

QString feeRowLabel(int months) { return QStringLiteral("%1 개월").arg(months); }

int monthsOfLabel(const QString &label)
{
    const QString head = label.left(2).trimmed();
    return allDigits(head) ? head.toInt() : 0;
}

QString storedSclass(const QString &sclass)
{
    const QString s = sclass.trimmed();
    if (s.isEmpty() || !allDigits(s))
        return QStringLiteral("00");
    return QStringLiteral("%1").arg(s.toInt() % 100, 2, 10, QLatin1Char('0'));
}

QString programCode(const QString &course, const QString &sclass)
{
    return course.left(1) + QStringLiteral("0000") + storedSclass(sclass);
}

LessonTime normalizeLessonTime(const QString &typed)
{
    const QString t = typed.trimmed();
    if (t.isEmpty())
        return {QString(), true};
    const LessonTime bad{QStringLiteral("00:00"), false};
    int hours = 0, minutes = 0;
    if (!t.contains(u':')) {
        const QString digits = t.left(4);
        if (!allDigits(digits))
            return bad;
        const int n = digits.toInt();
        hours = n / 100;
        minutes = n % 100;
    } else {
        const QStringList parts = t.split(u':');
        if (parts.size() != 2 || parts[0].size() > 2 || parts[1].size() > 2 || !allDigits(parts[0])
            || !allDigits(parts[1]))
            return bad;
        hours = parts[0].toInt();
        minutes = parts[1].toInt();
    }
    if (minutes >= 60 || hours > 24 || (hours == 24 && minutes > 0))
        return bad;
    return {hhmm(hours, minutes), true};
}

QString lessonTimeErrorText() { return QStringLiteral("시간설정이 잘못되었읍니다"); }
QString lessonTimeErrorTitle() { return QStringLiteral("시간설정"); }

QList<FeeRow> feeRowsForCourse(const Db &db, const QString &course, const QList<FeeRow> &amounts)
{
    QList<int> months;
    if (const auto r = db.queryOne(QStringLiteral("SELECT mon1, mon2, mon3, mon4, mon5, mon6, mon7, mon8, mon9, "
                                                  "mon10, mon11, mon12 FROM Course WHERE Code = ? AND PsGroup = ?"),
                                   {course, QStringLiteral("P")})) {
        for (int m = 1; m <= 12; ++m)
            if (r->num(QStringLiteral("mon%1").arg(m)) != 0)
                months.append(m);
    }
    for (const FeeRow &a : amounts)
        if (!a.isZero() && a.monthCnt > 0 && !months.contains(a.monthCnt))
            months.append(a.monthCnt);
    std::sort(months.begin(), months.end());

    QList<FeeRow> rows;
    for (int m : months) {
        FeeRow row{m};
        for (const FeeRow &a : amounts)
            if (a.monthCnt == m) {
                row = a;
                break;
            }
        rows.append(row);
    }
    return rows;
}

Outcome checkProgram(const Program &p)
{
    if (p.pgName.trimmed().isEmpty())
        return Outcome::refusedPlain(QStringLiteral("강좌명을 입력하세요"), kSaveTitle, ProgramNameField);
    if (p.course.trimmed().isEmpty())
        return Outcome::refusedPlain(QStringLiteral("강좌항목을 선택하세요"), kSaveTitle, ProgramCourseField);
    if (p.ltCode.trimmed().isEmpty())
        return Outcome::refusedPlain(QStringLiteral("강사명을 선택하세요"), kSaveTitle, ProgramLecturerField);
    if (p.time1.trimmed().isEmpty())
        return Outcome::refusedPlain(QStringLiteral("강습시간을 입력하세요"), kSaveTitle, ProgramTime1Field);
    if (p.maxNumChk && p.maxNum == 0)
        return Outcome::refusedPlain(QStringLiteral("정원을 입력하세요"), kSaveTitle, ProgramMaxNumField);
    if (p.time2.trimmed().isEmpty())
        return Outcome::refusedPlain(QStringLiteral("강습시간을 입력하세요"), kSaveTitle, ProgramTime2Field);
    if (!normalizeLessonTime(p.time1).ok)
        return Outcome::refusedPlain(lessonTimeErrorText(), lessonTimeErrorTitle(), ProgramTime1Field);
    if (!normalizeLessonTime(p.time2).ok)
        return Outcome::refusedPlain(lessonTimeErrorText(), lessonTimeErrorTitle(), ProgramTime2Field);
    return Outcome::done();
}

std::optional<Program> loadProgram(const Db &db, qint64 pgId)
{
    const auto r = db.queryOne(QStringLiteral("SELECT %1 FROM Program WHERE Pgid = ?").arg(programColumns()), {pgId});
    if (!r)
        return std::nullopt;
    Program p;
    p.pgId = r->num(QStringLiteral("Pgid"));
    p.pgGubun = r->str(QStringLiteral("PgGubun"));
    p.course = r->str(QStringLiteral("Course"));
    p.sclass = r->str(QStringLiteral("Sclass"));
    p.pgCode = r->str(QStringLiteral("PgCode"));
    p.pgName = r->str(QStringLiteral("PgName"));
    p.time1 = r->str(QStringLiteral("Time1"));
    p.time2 = r->str(QStringLiteral("Time2"));
    for (int d = 0; d < 7; ++d)
        p.days[size_t(d)] = r->num(dayColumn(d)) != 0;
    p.ltCode = r->str(QStringLiteral("LtCode"));
    p.ltName = r->str(QStringLiteral("LTName"));
    p.maxNum = r->num(QStringLiteral("MaxNum"));
    p.maxNumChk = r->str(QStringLiteral("MaxNumChk")) == QLatin1String("1");
    p.pgUse = r->str(QStringLiteral("PgUse")) == QLatin1String("1");
    p.sdate = r->str(QStringLiteral("Sdate"));
    p.yymm = r->str(QStringLiteral("yymm"));
    p.pgCnt1 = r->num(QStringLiteral("PgCnt1"));
    p.pgCnt = r->num(QStringLiteral("PgCnt"));
    p.fees = loadFees(db, pgId);
    return p;
}

Outcome saveProgram(const Db &db, Program p, bool isNew, const QDate &today)
{
    Outcome check = checkProgram(p);
    if (!check.saved)
        return check;
    p.pgName = p.pgName.trimmed();
    p.course = p.course.trimmed().left(1);
    p.sclass = storedSclass(p.sclass);
    p.pgCode = programCode(p.course, p.sclass);
    p.time1 = normalizeLessonTime(p.time1).text;
    p.time2 = normalizeLessonTime(p.time2).text;
    p.ltCode = p.ltCode.trimmed();
    if (const QVariant name = db.scalar(QStringLiteral("SELECT LTName FROM Lecturer WHERE LTcode = ?"), {p.ltCode});
        name.isValid())
        p.ltName = name.toString();

    return db.transaction([&]() -> Outcome {
        Params common{p.course, p.sclass, p.pgCode, p.pgName, p.time1, p.time2};
        for (bool d : p.days)
            common.append(d ? 1 : 0);
        common << p.ltCode << p.ltName << p.maxNum << flagText(p.maxNumChk) << flagText(p.pgUse);
        qint64 id = p.pgId;
        if (isNew) {
            const QString sdate = fmtDate(today);
            Params params = common;
            params << QStringLiteral("1") << sdate << sdate.left(7);
            id = db.insertId(QStringLiteral("INSERT INTO Program (Course, Sclass, PgCode, PgName, Time1, Time2, "
                                            "Mon, Tue, Wed, Thu, Fri, Sat, Sun, LtCode, LTName, MaxNum, MaxNumChk, "
                                            "PgUse, PgGubun, Sdate, yymm) "
                                            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                             params, QStringLiteral("Pgid"));
        } else {
            Params params = common;
            params << p.pgId;
            const int n = db.exec(QStringLiteral("UPDATE Program SET Course = ?, Sclass = ?, PgCode = ?, PgName = ?, "
                                                 "Time1 = ?, Time2 = ?, Mon = ?, Tue = ?, Wed = ?, Thu = ?, Fri = ?, "
                                                 "Sat = ?, Sun = ?, LtCode = ?, LTName = ?, MaxNum = ?, "
                                                 "MaxNumChk = ?, PgUse = ? WHERE Pgid = ?"),
                                  params);
            if (n == 0)
                return Outcome::refusedPlain(QStringLiteral("수정할 항목이 없읍니다"), kSaveTitle);
            db.exec(QStringLiteral("DELETE FROM ProgAmt WHERE Pgid = ?"), {p.pgId});
        }
        insertFees(db, id, p.fees);
        Outcome r = Outcome::done(id, p.pgCode);
        r.info(savedText(), kSaveTitle);
        return r;
    });
}

QString deleteProgramQuestion(const QString &pgName) { return pgName + QStringLiteral(" 강좌를 삭제하시겠읍니까? "); }

Outcome deleteProgram(const Db &db, qint64 pgId)
{
    return db.transaction([&] {
        if (db.scalar(QStringLiteral("SELECT 1 FROM Lecture WHERE Pgid = ?"), {pgId}).isValid())
            return Outcome::refusedPlain(QStringLiteral("사용된 강좌는 삭제할수 없읍니다"), QStringLiteral("강좌삭제"));
        db.exec(QStringLiteral("DELETE FROM Program WHERE Pgid = ?"), {pgId});
        db.exec(QStringLiteral("DELETE FROM ProgAmt WHERE Pgid = ?"), {pgId});
        db.exec(QStringLiteral("DELETE FROM WaitList WHERE Pgid = ?"), {pgId});
        return Outcome::done(pgId);
    });
}

QList<ProgramListRow> listProgramRows(const Db &db, bool onlyInUse)
{
    QString sql = QStringLiteral(
        "SELECT Program.Pgid, Program.PgGubun, Program.Course, Program.Sclass, Program.PgCode, Program.PgName, "
        "Program.Time1, Program.Time2, Program.Mon, Program.Tue, Program.Wed, Program.Thu, Program.Fri, "
        "Program.Sat, Program.Sun, Program.LTName, Program.MaxNum, Program.PgCnt1, Program.PgUse, "
        "ProgAmt.PgId1, ProgAmt.MonthCnt, ProgAmt.Amt1, ProgAmt.Amt2, ProgAmt.Amt3, Course.Name AS CourseName "
        "FROM (Program LEFT JOIN ProgAmt ON Program.Pgid = ProgAmt.Pgid) "
        "LEFT JOIN Course ON Course.PsGroup = ? AND Program.Course = Course.Code");
    Params params{QStringLiteral("P")};
    if (onlyInUse) {
        sql += QStringLiteral(" WHERE Program.PgUse = ?");
        params.append(QStringLiteral("1"));
    }
    sql += QStringLiteral(" ORDER BY Program.PgGubun, Program.Course, Program.Sclass, Program.Pgid, "
                          "ProgAmt.MonthCnt");
    QList<ProgramListRow> rows;
    for (const Row &r : db.query(sql, params)) {
        ProgramListRow x;
        x.pgId = r.num(QStringLiteral("Pgid"));
        x.pgGubun = r.str(QStringLiteral("PgGubun"));
        x.course = r.str(QStringLiteral("Course"));
        x.sclass = r.str(QStringLiteral("Sclass"));
        x.courseName = r.str(QStringLiteral("CourseName"));
        x.pgName = r.str(QStringLiteral("PgName"));
        x.time1 = r.str(QStringLiteral("Time1"));
        x.time2 = r.str(QStringLiteral("Time2"));
        x.ltName = r.str(QStringLiteral("LTName"));
        x.pgCode = r.str(QStringLiteral("PgCode"));
        x.pgUse = r.str(QStringLiteral("PgUse"));
        for (int d = 0; d < 7; ++d)
            x.days[size_t(d)] = r.num(dayColumn(d)) != 0;
        x.maxNum = r.num(QStringLiteral("MaxNum"));
        x.pgCnt1 = r.num(QStringLiteral("PgCnt1"));
        x.hasFee = !r.isNull(QStringLiteral("PgId1"));
        x.monthCnt = int(r.num(QStringLiteral("MonthCnt")));
        x.amt1 = r.num(QStringLiteral("Amt1"));
        x.amt2 = r.num(QStringLiteral("Amt2"));
        x.amt3 = r.num(QStringLiteral("Amt3"));
        rows.append(x);
    }
    return rows;
}

QString listAmountText(qint64 amount)
{
    if (amount == 0)
        return {};
    return QLocale(QLocale::English).toString(amount);
}

} // namespace fitrova
