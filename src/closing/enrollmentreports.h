#pragma once
// The reports over the enrollment rows (Lecture): the enrollment status with
// its five lists (수강신청현황), the enrollments per class for instructors
// (수강신청현황1), valid, expiring and starting members (유효회원현황), the
// daily counts of valid or expiring members per course (일일유효회원현황) and
// the members with unpaid fees (미납회원현황). Resident registration numbers
// leave these functions masked.

#include "data/db.h"
#include "members/membercontact.h"

#include <QDate>
#include <QList>
#include <QString>

namespace fitrova {

// The period of the enrollment lists: the enrollment month (LTyymm), the
// registration dates, or both.
enum class EnrollPeriod { Month, Dates, Both };

// --- enrollment status (수강신청현황) ----------------------------------------------

enum class EnrollmentList {
    Enrollments,   // 수강신청현황: enrollments (not box programs, not payments of outstanding amounts)
    ClassChanges,  // 반변경신청현황
    Postponements, // 연기신청현황
    Refunds,       // 수강취소현황
    Transfers      // 양도양수현황
};

struct EnrollmentStatusCriteria {
    EnrollPeriod period = EnrollPeriod::Month;
    QString month{};             // "YYYY-MM"
    QString dateFrom{}, dateTo{};  // registration dates
    QString course{};            // "" all
    QString sclass{};            // small class of the program ("" all)
    int monthCnt = 0;          // 0 all
    QString user{};              // desk user who registered (LastUser; "" all)
};

struct EnrollmentStatusLine {
    qint64 ltid = 0, bLtid = 0, pgid = 0;
    QString mbCode{}, mbName{}, sex{}, resident{}, tel1{}, mbCard{};
    qint64 age = -1;
    QString rqDate{}, pgName{}, time1{}, time2{}, lecturer{}, sDate1{}, sDate2{}, ltyymm{};
    qint64 monthCnt = 0, tAmt = 0, cashAmt = 0, cardAmt = 0, rDay = 0;
    QString user{}, userName{};
    bool renewal = false;      // 재등록 (Lectgubun "2"), else 신규
    QString remark{};            // state words, then the row's remark
    // Class changes: the program before the change.
    QString bPgName{}, bTime1{}, bTime2{};
    // Refunds: the amount of the refunded enrollment.
    qint64 baseTAmt = 0;
    // Transfers: the member who gave the enrollment.
    QString giverCode{}, giverName{}, giverSex{};
    qint64 giverAge = -1;
};

struct EnrollmentSums {
    qint64 count = 0, amount = 0, card = 0, cash = 0;
    void add(const EnrollmentStatusLine &l)
    {
        ++count;
        amount += l.tAmt;
        card += l.cardAmt;
        cash += l.cashAmt;
    }
};

struct EnrollmentStatus {
    QList<EnrollmentStatusLine> lines; // by registration date, program, row
    EnrollmentSums all, newOnes, renewals;
};

EnrollmentStatus enrollmentStatus(const Db &db, EnrollmentList list, const EnrollmentStatusCriteria &c);

// The same lines a page at a time, for a grid that reads as it scrolls: at
// most maxLines lines after `after` (nullptr: from the first). The pages
// joined are the lines of enrollmentStatus.
QList<EnrollmentStatusLine> enrollmentStatusPage(const Db &db, EnrollmentList list, const EnrollmentStatusCriteria &c,
                                                 const EnrollmentStatusLine *after, int maxLines);
// The number of lines of the list, counted without reading them.
qint64 enrollmentStatusCount(const Db &db, EnrollmentList list, const EnrollmentStatusCriteria &c);

// The desk users offered by the staff list: grade "1" users in service and
// grade "2" users, as "PsCode-UserName".
QStringList enrollmentStaffItems(const Db &db);

// The member kinds as "Code-Name" (the member-kind filter of the class list).
QStringList memberKindItems(const Db &db);

// --- enrollments per class (수강신청현황1) ------------------------------------------

enum class LectureStateChoice { Enrolled, Postponed, Cancelled };

struct ClassListCriteria {
    EnrollPeriod period = EnrollPeriod::Month;
    QString month{}, dateFrom{}, dateTo{};
    QString course{}, lclass{}, mclass{}, sclass{}, mbGubun{}, ltCode{};
    int monthCnt = 0;
    qint64 pgid = 0;
    LectureStateChoice state = LectureStateChoice::Enrolled;
    bool byTime = true; // programs by lesson time, else by name
};

struct ClassListLine {
    qint64 ltid = 0;
    QString mbCode{}, mbName{}, rqDate{}, sDate1{}, sDate2{}, tel1{};
    qint64 monthCnt = 0, tAmt = 0;
    bool renewal = false;
};

struct ClassGroup {
    qint64 pgid = 0;
    QString pgName{}, time{}, lecturer{};
    QList<ClassListLine> lines;
    qint64 amount = 0; // [소  계]
};

struct ClassList {
    QList<ClassGroup> groups;
    qint64 count = 0, amount = 0; // [총  계]
};

ClassList classList(const Db &db, const ClassListCriteria &c);

// --- valid, expiring and starting members (유효회원현황) ------------------------------

enum class ValidKind {
    Valid,    // valid on a date
    Expiring, // ending between two dates
    Starting  // starting between two dates
};

struct ValidMemberCriteria {
    ValidKind kind = ValidKind::Valid;
    QString date{};              // Valid: the day
    QString dateFrom{}, dateTo{};  // Expiring, Starting
    QString course{}, pgGubun{}, lectGubun{}, ltCode{};
    int monthCnt = 0;
    qint64 pgid = 0;
    QDate today;               // the days left of Expiring and Starting lists count from today
};

struct ValidMemberLine {
    qint64 ltid = 0, pgid = 0;
    QString pgName{}, time1{}, time2{}, lecturer{};
    MemberContact member;
    QString sex{}, rqDate{}, sDate1{}, sDate2{}, sms{};
    qint64 age = -1, monthCnt = 0, cardAmt = 0, cashAmt = 0, tAmt = 0;
    QString remainder{}; // "12 일"; time passes the time left; "만기" once ended or used up
};

struct ValidMemberGroup {
    qint64 pgid = 0;
    QString pgName{};
    QList<ValidMemberLine> lines;
    qint64 card = 0, cash = 0, amount = 0; // [소  계]
};

struct ValidMembers {
    QList<ValidMemberGroup> groups;      // one per program
    qint64 count = 0, card = 0, cash = 0, amount = 0; // [총  계]
    // Each member once, in the order listed, with the end date of the line
    // listed first (SMS recipients: the message may quote it).
    MemberContacts contacts() const;
};

ValidMembers validMembers(const Db &db, const ValidMemberCriteria &c);

// The lines of validMembers a page at a time, in the same order (program, end
// date, member, row): at most maxLines lines after `after` (nullptr: from the
// first).
QList<ValidMemberLine> validMembersPage(const Db &db, const ValidMemberCriteria &c, const ValidMemberLine *after,
                                        int maxLines);
// The number of lines, counted without reading them.
qint64 validMembersCount(const Db &db, const ValidMemberCriteria &c);

// --- daily valid or expiring members per course (일일유효회원현황) ---------------------

struct DailyValidCriteria {
    int year = 0, month = 0;
    bool expiring = false; // enrollments ending on each day instead of valid on it
};

struct DailyValidRow {
    QString course{}, name{};
    QList<qint64> days; // one per day of the month
    qint64 total = 0;
};

struct DailyValid {
    int daysInMonth = 0;
    QList<DailyValidRow> rows; // every course item (group P)
    DailyValidRow total;       // [합계]
};

// One grouped statement for the whole month.
DailyValid dailyValid(const Db &db, const DailyValidCriteria &c);

// --- unpaid members (미납회원현황) ---------------------------------------------------

struct UnpaidLine {
    QString mbCode{}, mbName{}, tel1{}, tel2{}, sex{};
    qint64 age = -1, tAmt = 0, misuAmt = 0;
};

struct Unpaid {
    QList<UnpaidLine> lines; // one per member, by member code
    qint64 tAmt = 0, misuAmt = 0;
};

// Members whose enrollment rows are due more than was paid on them.
Unpaid unpaidMembers(const Db &db);

} // namespace fitrova
