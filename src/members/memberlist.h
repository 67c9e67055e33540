#pragma once
// The member list (회원조회1): members chosen by their own data and by their
// enrollments, one line per member however many enrollments match, for
// printing, the spreadsheet export and the hand-over to SMS and labels.

#include "data/cellrow.h"
#include "data/db.h"
#include "members/membercontact.h"
#include "members/searchtext.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace fitrova {

// Which enrollments count (CobScr).
enum class EnrollmentScope {
    Any = 1,      // 1-조건없음
    Month = 2,    // 2-수강년월: LTyymm in monthFrom..monthTo
    Applied = 3,  // 3-신청일자: RqDate in dateFrom..dateTo
    Expiring = 4, // 4-만기회원: Sdate2 in dateFrom..dateTo
    Valid = 5     // 5-유효회원: Sdate1 <= validOn <= Sdate2
};
QStringList enrollmentScopeItems();

// Every field empty (or 0) means no condition on it. Ranges with one side
// empty are open on that side.
struct MemberListCriteria {
    QString codeFrom, codeTo;
    QString nameFrom, nameTo;
    QString cardFrom, cardTo;
    QString inDateFrom, inDateTo; // registration date "YYYY-MM-DD"
    QString birthFrom, birthTo;   // birthday "MM-DD"; both or none
    QString mbGubun;              // member kind code
    QString area;                 // area code
    QString sex;                  // "남" or "여"
    qint64 ageFrom = -1, ageTo = -1; // age band (from the Age table), -1 none
    // Conditions on the member's enrollments (all on the same enrollment).
    QString course, lclass, mclass, sclass, ltCode;
    qint64 pgid = 0;
    EnrollmentScope scope = EnrollmentScope::Any;
    QString monthFrom, monthTo;   // "YYYY-MM"
    QString dateFrom, dateTo;     // "YYYY-MM-DD"
    QString validOn;              // "YYYY-MM-DD"
};

// --- birthdays ---------------------------------------------------------------------

// A typed birthday bound as "MM-DD" ("0315", "3-15", "03-15" all give
// "03-15"); "" for empty input; nullopt for a day that does not exist
// (02-29 exists).
std::optional<QString> normalizeMonthDay(const QString &typed);

struct MonthDayRange {
    QString from, to; // "MM-DD"
    bool operator==(const MonthDayRange &) const = default;
};

// The range itself, or when it passes the year end (from after to) the two
// parts from–"12-31" and "01-01"–to.
QList<MonthDayRange> splitAtYearEnd(const QString &from, const QString &to);

// The lunar month-days of the solar days from..to of the given year (to in
// the next year when it comes before from), as ranges of lunar "MM-DD". A
// range that passes the lunar year end is split into from–"12-31" and
// "01-01"–to; a leap month starts a range of its own. Empty when the days
// lie outside the lunar calendar's years.
QList<MonthDayRange> lunarBirthdayRanges(const QString &from, const QString &to, int year);

// Solar members (Solor not "2") with a birthday in the range, or lunar members
// with a lunar birthday that falls in it this year.
SqlCondition birthdayCondition(const QString &from, const QString &to, int year);

// --- the query ----------------------------------------------------------------------

// 0–7 "유아", 8–12 "어린이", 13–18 "청소년", 19–100 "성인", otherwise "".
QString ageClassName(qint64 age);

// The WHERE condition of the list (without "WHERE"); year is this year, for
// the lunar birthdays.
SqlCondition memberListCondition(const MemberListCriteria &c, int year);

// 회원구분, 회원코드, 회원명, 나이, 성별, 주민번호, 양/음, 생일, 핸드폰,
// 전화번호, 주소, 우편번호, 가입일자, DM, SMS, 연령구분.
QStringList memberListHeaders();
// The cell of the member's code.
inline constexpr int kMemberCodeCell = 1;

struct MemberListLine {
    QStringList cells;
    MemberContact contact;
};

// Ordered by name (then member number), read in one statement: for lists of
// modest size. The screen reads through MemberListReader.
QList<MemberListLine> runMemberList(const Db &db, const MemberListCriteria &c, int year);

// The member list read as the screen scrolls. Opening it reads which members
// are found, in the list's order (name, then member number): their codes only,
// so the count is known at once and the list stays the one found even when
// members change while it is read. Their lines are read a page at a time.
class MemberListReader {
public:
    // Runs the finding statement (a DbError when it fails). A read of at
    // least wholeReadFrom lines goes through the list's own statement
    // instead of reading by codes; its lines are handed over linesPerRead at
    // a time.
    MemberListReader(Db db, const MemberListCriteria &c, int year, int wholeReadFrom = 5000,
                     int linesPerRead = 10000);

    // Members found.
    qint64 count() const { return m_codes.size(); }
    // Members whose lines have been read.
    qint64 position() const { return m_next; }
    bool atEnd() const { return m_next >= m_codes.size(); }
    // The codes of all members found, in the list's order.
    const QStringList &codes() const { return m_codes; }

    // The lines of the next (at most) n members, in order, as the grid shows
    // them (the cells of memberListHeaders, joined). A member deleted since
    // the list was opened is left out, so a page may come short of n before
    // the end; an empty page only at the end.
    QList<CellRow> next(int n);
    // The same handed over as they are made, at most linesPerRead at a time,
    // so a long read is never held whole.
    void next(int n, const std::function<void(QList<CellRow> &&lines)> &deliver);

private:
    Db m_db;
    SqlCondition m_where;
    int m_wholeReadFrom, m_linesPerRead;
    QStringList m_codes, m_names; // the list's members, in its order
    qint64 m_next = 0;
};

// The lines of the members with these codes, in the order given (codes of
// members that no longer exist are left out); read in batches of codes.
QList<MemberListLine> memberListLines(const Db &db, const QStringList &codes);

// What the printed list repeats of the criteria: the display texts of the
// chosen items (empty or "0…" items are left out).
struct MemberListLabels {
    QString mbGubun, sex, age, course, lclass, mclass, sclass, lecturer, program;
};
// Lines of the print header, for example " 회원구분 : 일반회원  회원코드 : 00000001 ~ 00000100".
QStringList memberListPrintLines(const MemberListCriteria &c, const MemberListLabels &labels);

} // namespace fitrova
