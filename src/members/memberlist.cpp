#include "members/memberlist.h"

#include "data/privacy.h"
#include "data/reportquery.h"
#include "data/rowstream.h"

#include "data/dates.h"
#include "data/lunar.h"

#include <QHash>
#include <algorithm>
#include <charconv>
#include <optional>

namespace fitrova {

QStringList enrollmentScopeItems()
{
    return {QStringLiteral("1-조건없음"), QStringLiteral("2-수강년월"), QStringLiteral("3-신청일자"),
            QStringLiteral("4-만기회원"), QStringLiteral("5-유효회원")};
}

// --- birthdays ---------------------------------------------------------------------

std::optional<QString> normalizeMonthDay(const QString &typed)
{
    const QString t = typed.trimmed();
    if (t.isEmpty())
        return QString();
    int month = 0, day = 0;
    bool okM = false, okD = false;
    const int dash = t.indexOf(QLatin1Char('-'));
    if (dash >= 0) {
        month = t.left(dash).toInt(&okM);
        day = t.mid(dash + 1).toInt(&okD);
        okM = okM && dash >= 1 && dash <= 2;
        okD = okD && t.size() - dash - 1 >= 1 && t.size() - dash - 1 <= 2;
    } else if (t.size() == 4 || t.size() == 3) {
        month = t.left(t.size() - 2).toInt(&okM);
        day = t.right(2).toInt(&okD);
    }
    for (const QChar c : t)
        if (!(c.isDigit() && c.unicode() < 128) && c != QLatin1Char('-'))
            return std::nullopt;
    if (!okM || !okD || !QDate(2000, month, day).isValid())
        return std::nullopt;
    return QStringLiteral("%1-%2").arg(month, 2, 10, QLatin1Char('0')).arg(day, 2, 10, QLatin1Char('0'));
}

QList<MonthDayRange> splitAtYearEnd(const QString &from, const QString &to)
{
    if (from <= to)
        return {{from, to}};
    return {{from, QStringLiteral("12-31")}, {QStringLiteral("01-01"), to}};
}

namespace {

QDate solarDay(int year, const QString &md, bool isEnd)
{
    const int m = md.left(2).toInt();
    const int d = md.mid(3, 2).toInt();
    const QDate date(year, m, d);
    if (date.isValid())
        return date;
    // 02-29 in a common year.
    return isEnd ? QDate(year, 2, 28) : QDate(year, 3, 1);
}

QString mdText(int m, int d)
{
    return QStringLiteral("%1-%2").arg(m, 2, 10, QLatin1Char('0')).arg(d, 2, 10, QLatin1Char('0'));
}

SqlCondition rangesCondition(const QList<MonthDayRange> &ranges)
{
    SqlCondition c;
    for (const MonthDayRange &r : ranges) {
        if (!c.sql.isEmpty())
            c.sql += QStringLiteral(" OR ");
        c.sql += QStringLiteral("(substr(Member.BirthDay, 6, 5) >= ? AND substr(Member.BirthDay, 6, 5) <= ?)");
        c.params << r.from << r.to;
    }
    if (c.sql.isEmpty())
        c.sql = QStringLiteral("1 = 0");
    return c;
}

} // namespace

QList<MonthDayRange> lunarBirthdayRanges(const QString &from, const QString &to, int year)
{
    const QDate start = solarDay(year, from, false);
    const QDate end = to < from ? solarDay(year + 1, to, true) : solarDay(year, to, true);
    QList<MonthDayRange> runs;
    if (!start.isValid() || !end.isValid() || end < start)
        return runs;
    QString prev;
    int prevMonth = 0;
    int steps = 0;
    for (QDate d = start; d <= end && steps < 400; d = d.addDays(1), ++steps) {
        const LunarDate l = solarToLunar(d);
        if (l.isNull())
            continue;
        const QString md = mdText(l.month, l.day);
        if (prev.isEmpty()) {
            runs.append({md, md});
        } else if (md > prev) {
            runs.last().to = md;
        } else if (prevMonth == 12 && l.month == 1) {
            runs.last().to = QStringLiteral("12-31");
            runs.append({QStringLiteral("01-01"), md});
        } else {
            runs.append({md, md}); // a leap month repeats the month's days
        }
        prev = md;
        prevMonth = l.month;
    }
    return runs;
}

SqlCondition birthdayCondition(const QString &from, const QString &to, int year)
{
    const SqlCondition solar = rangesCondition(splitAtYearEnd(from, to));
    const SqlCondition lunar = rangesCondition(lunarBirthdayRanges(from, to, year));
    SqlCondition c;
    c.sql = QStringLiteral("(COALESCE(Member.Solor, '1') <> '2' AND (") + solar.sql +
            QStringLiteral(")) OR (Member.Solor = '2' AND (") + lunar.sql + QStringLiteral("))");
    c.params = solar.params + lunar.params;
    return c;
}

// --- the query ----------------------------------------------------------------------

QString ageClassName(qint64 age)
{
    if (age >= 0 && age <= 7)
        return QStringLiteral("유아");
    if (age >= 8 && age <= 12)
        return QStringLiteral("어린이");
    if (age >= 13 && age <= 18)
        return QStringLiteral("청소년");
    if (age >= 19 && age <= 100)
        return QStringLiteral("성인");
    return {};
}

namespace {

void addRange(QList<SqlCondition> &parts, const QString &column, const QString &from, const QString &to)
{
    if (!from.trimmed().isEmpty())
        parts.append({column + QStringLiteral(" >= ?"), {from.trimmed()}});
    if (!to.trimmed().isEmpty())
        parts.append({column + QStringLiteral(" <= ?"), {to.trimmed()}});
}

void addEqual(QList<SqlCondition> &parts, const QString &column, const QString &value)
{
    if (!value.trimmed().isEmpty())
        parts.append({column + QStringLiteral(" = ?"), {value.trimmed()}});
}

// "WHERE …" for a condition, "" for none.
QString whereOf(const SqlCondition &c)
{
    return c.isEmpty() ? QString() : QStringLiteral("WHERE ") + c.sql;
}

} // namespace

SqlCondition memberListCondition(const MemberListCriteria &c, int year)
{
    QList<SqlCondition> parts;
    addRange(parts, QStringLiteral("Member.MbCode"), c.codeFrom, c.codeTo);
    addRange(parts, QStringLiteral("Member.MbName"), c.nameFrom, c.nameTo);
    addRange(parts, QStringLiteral("Member.MbCard"), c.cardFrom, c.cardTo);
    addRange(parts, QStringLiteral("Member.Indate"), c.inDateFrom, c.inDateTo);
    if (!c.birthFrom.isEmpty() || !c.birthTo.isEmpty()) {
        const QString from = c.birthFrom.isEmpty() ? c.birthTo : c.birthFrom;
        const QString to = c.birthTo.isEmpty() ? c.birthFrom : c.birthTo;
        parts.append(birthdayCondition(from, to, year));
    }
    addEqual(parts, QStringLiteral("Member.MbGubun"), c.mbGubun);
    addEqual(parts, QStringLiteral("Member.Area"), c.area);
    addEqual(parts, QStringLiteral("Member.Sex"), c.sex);
    if (c.ageFrom >= 0)
        parts.append({QStringLiteral("Member.Age >= ?"), {c.ageFrom}});
    if (c.ageTo >= 0)
        parts.append({QStringLiteral("Member.Age <= ?"), {c.ageTo}});

    QList<SqlCondition> lect;
    addEqual(lect, QStringLiteral("Lecture.Course"), c.course);
    addEqual(lect, QStringLiteral("Lecture.Lclass"), c.lclass);
    addEqual(lect, QStringLiteral("Lecture.Mclass"), c.mclass);
    addEqual(lect, QStringLiteral("Lecture.Sclass"), c.sclass);
    switch (c.scope) {
    case EnrollmentScope::Any:
        break;
    case EnrollmentScope::Month:
        addRange(lect, QStringLiteral("Lecture.LTyymm"), c.monthFrom, c.monthTo);
        break;
    case EnrollmentScope::Applied:
        addRange(lect, QStringLiteral("Lecture.RqDate"), c.dateFrom, c.dateTo);
        break;
    case EnrollmentScope::Expiring:
        addRange(lect, QStringLiteral("Lecture.Sdate2"), c.dateFrom, c.dateTo);
        break;
    case EnrollmentScope::Valid:
        if (!c.validOn.isEmpty())
            lect.append({QStringLiteral("Lecture.Sdate1 <= ? AND Lecture.Sdate2 >= ?"), {c.validOn, c.validOn}});
        break;
    }
    addEqual(lect, QStringLiteral("Lecture.LtCode"), c.ltCode);
    if (c.pgid > 0)
        lect.append({QStringLiteral("Lecture.Pgid = ?"), {c.pgid}});
    // A scope on its own still asks for members with enrollments. The
    // enrollments are chosen once, as a set, rather than looked for member by
    // member (SQLite runs a correlated EXISTS once per member).
    if (!lect.isEmpty() || c.scope != EnrollmentScope::Any) {
        const SqlCondition l = andConditions(lect);
        parts.append({QStringLiteral("Member.MbCode IN (SELECT Lecture.MbCode FROM Lecture ") + whereOf(l) + QLatin1Char(')'),
                      l.params});
    }
    return andConditions(parts);
}

QStringList memberListHeaders()
{
    return {QStringLiteral("회원구분"), QStringLiteral("회원코드"), QStringLiteral("회원명"), QStringLiteral("나이"),
            QStringLiteral("성별"),     QStringLiteral("주민번호"), QStringLiteral("양/음"), QStringLiteral("생일"),
            QStringLiteral("핸드폰"),   QStringLiteral("전화번호"), QStringLiteral("주소"),  QStringLiteral("우편번호"),
            QStringLiteral("가입일자"), QStringLiteral("DM"),       QStringLiteral("SMS"),   QStringLiteral("연령구분")};
}

namespace {

// The columns of a line, by position (memberLine reads them so).
const QString kLineSelect = QStringLiteral(
    "SELECT Member.MbCode, Member.MbName, Member.BirthDay, Member.Solor, Member.Juno1, "
    "Member.Juno2, Member.Indate, Member.Tel1, Member.Tel2, Member.Tel3, Member.Addr1, "
    "Member.Addr2, Member.PostNo, Member.MbCard, Member.Sex, Member.Age, Member.Area, "
    "MbGubun.Name AS MbGubunName, Member.Dm, Member.SMS "
    "FROM Member LEFT JOIN MbGubun ON Member.MbGubun = MbGubun.Code ");
enum LineColumn {
    cMbCode, cMbName, cBirthDay, cSolor, cJuno1, cJuno2, cIndate, cTel1, cTel2, cTel3, cAddr1,
    cAddr2, cPostNo, cMbCard, cSex, cAge, cArea, cMbGubunName, cDm, cSMS
};

QVariant valueAt(const Row &r, int column) { return r.at(column); }
QVariant valueAt(const StreamRow &r, int column) { return r.value(column); }
void appendAt(const Row &r, int column, QString &out) { out += textAt(r, column); }
void appendAt(const StreamRow &r, int column, QString &out) { r.appendText(column, out); }

// Trims what was appended to text from position from on, as trimmed() would.
void trimFrom(QString &text, qsizetype from)
{
    qsizetype end = text.size();
    while (end > from && text.at(end - 1).isSpace())
        --end;
    text.truncate(end);
    qsizetype begin = from;
    while (begin < end && text.at(begin).isSpace())
        ++begin;
    text.remove(from, begin - from);
}

// The cells of a line from a row of kLineSelect (a kept Row or the
// statement's current row), joined. They are made in scratch, kept from line
// to line, so a line costs one text of its own size and its ends.
template <typename Source>
CellRow memberCells(const Source &r, QString &scratch)
{
    scratch.resize(0);
    CellRow out;
    out.ends.reserve(16);
    auto end = [&] { out.ends.append(int(scratch.size())); };
    auto put = [&](int column) {
        appendAt(r, column, scratch);
        end();
    };
    const QVariant ageValue = valueAt(r, cAge);
    const bool noAge = ageValue.isNull();
    const qint64 age = ageValue.toLongLong(); // 0 for a value that is not a number

    put(cMbGubunName);
    put(cMbCode);
    put(cMbName);
    if (!noAge) {
        char digits[24];
        const auto written = std::to_chars(digits, digits + sizeof digits, age).ptr;
        scratch += QLatin1String(digits, written - digits);
    }
    end();
    qsizetype from = scratch.size();
    appendAt(r, cSex, scratch);
    trimFrom(scratch, from);
    end();
    {
        const QString juno1 = textAt(r, cJuno1), juno2 = textAt(r, cJuno2);
        if (!juno1.isEmpty() || !juno2.isEmpty())
            scratch += maskedResidentNumber(juno1, juno2);
        end();
    }
    from = scratch.size();
    appendAt(r, cSolor, scratch);
    {
        const QStringView solor = QStringView(scratch).mid(from);
        const QStringView shown = solor == u"1" ? QStringView(u"양") : solor == u"2" ? QStringView(u"음") : QStringView();
        scratch.truncate(from);
        scratch += shown;
    }
    end();
    put(cBirthDay);
    put(cTel1);
    put(cTel2);
    from = scratch.size();
    appendAt(r, cAddr1, scratch);
    scratch += QLatin1Char(' ');
    appendAt(r, cAddr2, scratch);
    trimFrom(scratch, from);
    end();
    put(cPostNo);
    put(cIndate);
    put(cDm);
    put(cSMS);
    if (!noAge)
        scratch += ageClassName(age);
    end();
    out.text = QString(scratch.constData(), scratch.size());
    return out;
}

// A line with its contact, from a row of kLineSelect.
template <typename Source>
MemberListLine memberLine(const Source &r)
{
    MemberListLine l;
    QString scratch;
    l.cells = memberCells(r, scratch).toList();
    l.contact = {textAt(r, cMbCode), textAt(r, cMbName), textAt(r, cTel1),
                 textAt(r, cPostNo), textAt(r, cAddr1), textAt(r, cAddr2)};
    l.contact.listDate = textAt(r, cBirthDay);
    return l;
}

// Codes asked for in one statement. Every statement carries exactly this many
// placeholders (a short batch repeats its last code), so the driver prepares
// one statement text, kept in the statement cache.
constexpr int kCodesPerRead = 1000;
// Rows read beyond a chunk for members added since the list was found.
constexpr int kAddedSlack = 64;

} // namespace

QList<MemberListLine> runMemberList(const Db &db, const MemberListCriteria &c, int year)
{
    const SqlCondition where = memberListCondition(c, year);
    QList<MemberListLine> out;
    forEachRow(db,
               kLineSelect + whereOf(where) + QStringLiteral(" ORDER BY Member.MbName, Member.MbCode"),
               where.params, [&](const StreamRow &q) { out.append(memberLine(q)); });
    return out;
}

namespace {

// The lines (made by make from each kept row) of the members with these
// codes, in the order given; read in batches of codes.
template <typename Line, typename Make>
QList<Line> linesByCodes(const Db &db, const QStringList &codes, Make make)
{
    static const QString sql = []() -> QString {
        QString marks;
        marks.reserve(kCodesPerRead * 2);
        for (int i = 0; i < kCodesPerRead; ++i)
            marks += i == 0 ? QStringLiteral("?") : QStringLiteral(",?");
        return kLineSelect + QStringLiteral("WHERE Member.MbCode IN (") + marks + QLatin1Char(')');
    }();
    QList<Line> out;
    out.reserve(codes.size());
    for (qsizetype from = 0; from < codes.size(); from += kCodesPerRead) {
        const qsizetype n = qMin<qsizetype>(kCodesPerRead, codes.size() - from);
        Params params;
        params.reserve(kCodesPerRead);
        for (qsizetype i = 0; i < kCodesPerRead; ++i)
            params.append(codes.at(from + qMin(i, n - 1)));
        const Rows rows = db.query(sql, params);
        QHash<QString, qsizetype> at;
        at.reserve(rows.size());
        for (qsizetype i = 0; i < rows.size(); ++i)
            at.insert(textAt(rows.at(i), cMbCode), i);
        for (qsizetype i = 0; i < n; ++i) {
            const auto it = at.constFind(codes.at(from + i));
            if (it != at.constEnd())
                out.append(make(rows.at(it.value())));
        }
    }
    return out;
}

QList<CellRow> memberListRows(const Db &db, const QStringList &codes)
{
    QString scratch;
    return linesByCodes<CellRow>(db, codes, [&](const Row &r) { return memberCells(r, scratch); });
}

} // namespace

QList<MemberListLine> memberListLines(const Db &db, const QStringList &codes)
{
    return linesByCodes<MemberListLine>(db, codes, [](const Row &r) { return memberLine(r); });
}

MemberListReader::MemberListReader(Db db, const MemberListCriteria &c, int year, int wholeReadFrom, int linesPerRead)
    : m_db(std::move(db)), m_where(memberListCondition(c, year)), m_wholeReadFrom(wholeReadFrom),
      m_linesPerRead(qMax(1, linesPerRead))
{
    forEachRow(m_db,
               QStringLiteral("SELECT Member.MbCode, Member.MbName FROM Member ") + whereOf(m_where)
                   + QStringLiteral(" ORDER BY Member.MbName, Member.MbCode"),
               m_where.params, [&](const StreamRow &q) {
                   m_codes.append(textAt(q, 0));
                   m_names.append(textAt(q, 1));
               });
}

QList<CellRow> MemberListReader::next(int n)
{
    QList<CellRow> out;
    next(n, [&out](QList<CellRow> &&lines) { out += std::move(lines); });
    return out;
}

void MemberListReader::next(int n, const std::function<void(QList<CellRow> &&lines)> &deliver)
{
    const qsizetype count = std::min(qsizetype(qMax(0, n)), m_codes.size() - m_next);
    if (count <= 0)
        return;
    const qsizetype start = m_next, end = start + count;
    m_next = end;
    const QString &firstName = m_names.at(start);
    if (count < m_wholeReadFrom || firstName.isNull()) {
        for (qsizetype from = start; from < end; from += m_linesPerRead)
            deliver(memberListRows(m_db, m_codes.mid(from, qMin<qsizetype>(m_linesPerRead, end - from))));
        return;
    }

    // Many lines at once (the rest of a long list, for sorting, printing or
    // the export): the finding statement once more with the lines' columns,
    // from this read's first member on in the list's order, instead of a
    // statement per thousand codes. Each row becomes its line as it is read
    // and the lines go out a chunk at a time, so the list is never held
    // twice over (as lines and as the grid's rows).
    //
    // The rows come in the codes' order and each is matched with the code
    // expected next. A member skipped (deleted, or changed since so that it
    // no longer matches or sorts elsewhere) is read by code in its place;
    // when the order has moved further than that, the rest is placed by code.
    // (The first term lets the name index seek to the start.)
    const SqlCondition fromStart = andConditions(
        {m_where,
         {QStringLiteral("Member.MbName >= ? AND (Member.MbName > ? OR Member.MbCode >= ?)"),
          {firstName, firstName, m_codes.at(start)}}});

    QList<CellRow> chunk;
    auto add = [&](CellRow &&l) {
        // A chunk takes its full size at once: growing it would move (and
        // free) ever larger blocks among the many small ones of its lines.
        if (chunk.isEmpty())
            chunk.reserve(m_linesPerRead);
        chunk.append(std::move(l));
        if (chunk.size() >= m_linesPerRead) {
            deliver(std::move(chunk));
            chunk = {};
        }
    };
    auto addByCode = [&](qsizetype at) {
        for (CellRow &l : memberListRows(m_db, {m_codes.at(at)}))
            add(std::move(l));
    };
    qsizetype expected = start; // the next member to make a line of
    QHash<QString, qsizetype> wanted; // the rest by code, once the order has moved
    QList<std::optional<CellRow>> rest;
    QString scratch;
    forEachRow(m_db, kLineSelect + whereOf(fromStart) + QStringLiteral(" ORDER BY Member.MbName, Member.MbCode LIMIT ?"),
               fromStart.params + Params{qint64(count + kAddedSlack)}, [&](const StreamRow &q) {
                   if (wanted.isEmpty() && expected == end)
                       return; // every line of this read is made; a member added since
                   CellRow line = memberCells(q, scratch);
                   const QStringView code = line.view(kMemberCodeCell);
                   if (wanted.isEmpty()) {
                       // The code expected next, or one a few members on (those
                       // skipped are read by code in their places).
                       constexpr qsizetype kLookAhead = 16;
                       for (qsizetype k = expected; k < end && k <= expected + kLookAhead; ++k) {
                           if (m_codes.at(k) != code)
                               continue;
                           while (expected < k)
                               addByCode(expected++);
                           ++expected;
                           add(std::move(line));
                           return;
                       }
                       if (expected == start)
                           return; // a member added since, before this read's first
                       wanted.reserve(end - expected);
                       for (qsizetype i = expected; i < end; ++i)
                           wanted.insert(m_codes.at(i), i - expected);
                       rest.resize(end - expected);
                   }
                   if (const auto it = wanted.constFind(code.toString()); it != wanted.constEnd() && !rest.at(it.value()))
                       rest[it.value()] = std::move(line);
               });
    if (wanted.isEmpty()) {
        // Not met: deleted, or pushed out by members added.
        for (CellRow &l : memberListRows(m_db, m_codes.mid(expected, end - expected)))
            add(std::move(l));
    } else {
        QStringList missing;
        for (qsizetype i = 0; i < rest.size(); ++i)
            if (!rest.at(i))
                missing << m_codes.at(expected + i);
        QHash<QString, CellRow> byCode;
        for (CellRow &l : memberListRows(m_db, missing))
            byCode.insert(l.cell(kMemberCodeCell), std::move(l));
        for (qsizetype i = 0; i < rest.size(); ++i) {
            if (rest[i])
                add(std::move(*rest[i]));
            else if (const auto it = byCode.constFind(m_codes.at(expected + i)); it != byCode.constEnd())
                add(CellRow(it.value()));
        }
    }
    if (!chunk.isEmpty())
        deliver(std::move(chunk));
}

QStringList memberListPrintLines(const MemberListCriteria &c, const MemberListLabels &labels)
{
    auto range = [](const QString &a, const QString &b) -> QString {
        if (a.isEmpty() && b.isEmpty())
            return {};
        return a + QStringLiteral(" ~ ") + b;
    };
    auto chosen = [](const QString &label) {
        const QString t = label.trimmed();
        return t.isEmpty() || t.contains(QStringLiteral("모두보기")) || t.endsWith(QStringLiteral("-ALL"))
                   ? QString()
                   : t;
    };
    QString first;
    auto add = [](QString &line, const QString &label, const QString &value) {
        if (!value.isEmpty())
            line += label + value;
    };
    add(first, QStringLiteral(" 회원구분 : "), chosen(labels.mbGubun));
    add(first, QStringLiteral(" 회원코드 : "), range(c.codeFrom, c.codeTo));
    add(first, QStringLiteral(" 회원명 : "), range(c.nameFrom, c.nameTo));
    add(first, QStringLiteral(" 생일 : "), range(c.birthFrom, c.birthTo));
    add(first, QStringLiteral(" 성별 : "), chosen(labels.sex));
    add(first, QStringLiteral(" 연령 : "), chosen(labels.age));
    add(first, QStringLiteral(" 카드번호 : "), range(c.cardFrom, c.cardTo));
    add(first, QStringLiteral(" 가입일자 : "), range(c.inDateFrom, c.inDateTo));

    QString second;
    switch (c.scope) {
    case EnrollmentScope::Any:
        break;
    case EnrollmentScope::Month:
        second = QStringLiteral("(수강신청자) 수강신청월 : ") + range(c.monthFrom, c.monthTo);
        break;
    case EnrollmentScope::Applied:
        second = QStringLiteral("(수강신청자) 신청일자 : ") + range(c.dateFrom, c.dateTo);
        break;
    case EnrollmentScope::Valid:
        second = QStringLiteral("(유효회원) 적용일자 : ") + c.validOn;
        break;
    case EnrollmentScope::Expiring:
        second = QStringLiteral("(만기회원) 만기일 : ") + range(c.dateFrom, c.dateTo);
        break;
    }
    QString third;
    add(third, QStringLiteral("강좌항목 : "), chosen(labels.course));
    add(third, QStringLiteral(" 대분류 : "), chosen(labels.lclass));
    add(third, QStringLiteral(" 중분류 : "), chosen(labels.mclass));
    add(third, QStringLiteral(" 소분류 : "), chosen(labels.sclass));
    add(third, QStringLiteral(" 강사 : "), chosen(labels.lecturer));
    add(third, QStringLiteral(" 수강과목 : "), chosen(labels.program));
    return {first.trimmed(), second.trimmed(), third.trimmed()};
}

} // namespace fitrova
