#pragma once
// Programs (Program rows) with their fee tables (ProgAmt rows): the list of
// all programs, and the period programs (kind "1") with lesson time,
// weekdays, instructor, capacity and three fee levels per month count.
// Time-based programs are in timeprograms.h.
//
// A program is stored with its fee rows in one transaction; only month
// counts with a fee other than zero get a row. A program that an enrollment
// refers to is kept.

#include "foundation/outcome.h"
#include "data/db.h"

#include <QDate>
#include <QList>
#include <QString>
#include <array>
#include <optional>

namespace fitrova {

// One month count of a fee table and its three fee levels in won.
struct FeeRow {
    int monthCnt = 0;
    qint64 amt1 = 0, amt2 = 0, amt3 = 0;
    bool isZero() const { return amt1 == 0 && amt2 == 0 && amt3 == 0; }
    bool operator==(const FeeRow &) const = default;
};

// "1 개월" … "12 개월".
QString feeRowLabel(int months);
// The month count in front of a label ("12 개월" → 12, "1  개월" → 1); 0 when none.
int monthsOfLabel(const QString &label);

enum Weekday { Mon, Tue, Wed, Thu, Fri, Sat, Sun };

struct Program {
    qint64 pgId = 0;
    QString pgGubun = QStringLiteral("1");
    QString course;                        // one character
    QString sclass = QStringLiteral("00"); // two digits, "00" when none
    QString pgCode;
    QString pgName;
    QString time1 = QStringLiteral("00:00"), time2 = QStringLiteral("00:00");
    std::array<bool, 7> days{};           // Monday first
    QString ltCode, ltName;
    qint64 maxNum = 0;
    bool maxNumChk = false;
    bool pgUse = true;
    QString sdate, yymm;
    qint64 pgCnt1 = 0, pgCnt = 0;
    QList<FeeRow> fees;                    // by month count
};

// Course item + "0000" + small class: "1000001"; "00" stands for no class.
QString programCode(const QString &course, const QString &sclass);
// A small-class choice as stored: two digits, "00" when there is none.
QString storedSclass(const QString &sclass);

// --- lesson times ----------------------------------------------------------------

// A typed lesson time made "hh:mm": without ":" its first four characters
// are read as a number of the form hhmm ("930" and "0930" give "09:30",
// "2400" gives "24:00"); "h:mm" is padded. Valid are 00:00 … 24:00 with
// minutes below 60; anything else is not ok and reads "00:00". Blank input
// stays blank and is ok (the save check asks for it).
struct LessonTime {
    QString text;
    bool ok = true;
};
LessonTime normalizeLessonTime(const QString &typed);
QString lessonTimeErrorText();  // "시간설정이 잘못되었읍니다"
QString lessonTimeErrorTitle(); // "시간설정"

// --- fee table --------------------------------------------------------------------

// The fee rows of the editor: one for every month count the course item
// allows, in order, plus any month count that already holds fees (so a fee
// is never dropped unseen); amounts from `amounts` where given.
QList<FeeRow> feeRowsForCourse(const Db &db, const QString &course, const QList<FeeRow> &amounts);

// --- period programs ----------------------------------------------------------

enum ProgramField {
    ProgramNoField = 0,
    ProgramNameField,
    ProgramCourseField,
    ProgramLecturerField,
    ProgramTime1Field,
    ProgramMaxNumField,
    ProgramTime2Field
};

// The checks before saving, in order; the first failure (title "자료저장")
// names the field to focus. Lesson times that cannot be read are refused
// with the time message.
Outcome checkProgram(const Program &p);

std::optional<Program> loadProgram(const Db &db, qint64 pgId);

// Saves a period program and its fee rows in one transaction. New: kind
// "1", created today; result.id is the new Pgid. Change: kind and creation
// date stay, the fee rows are replaced. On success its notice is the
// confirmation "저장되었읍니다".
Outcome saveProgram(const Db &db, Program p, bool isNew, const QDate &today);

// The question asked before deleting: "{name} 강좌를 삭제하시겠읍니까? ".
QString deleteProgramQuestion(const QString &pgName);
// Refused with "사용된 강좌는 삭제할수 없읍니다" while an enrollment refers to
// the program; otherwise the program and its fee rows go together.
Outcome deleteProgram(const Db &db, qint64 pgId);

// --- program list -----------------------------------------------------------------

// One row per program and month count (one row for a program without fees).
struct ProgramListRow {
    qint64 pgId = 0;
    QString pgGubun, course, sclass, courseName, pgName, time1, time2, ltName, pgCode, pgUse;
    std::array<bool, 7> days{};
    qint64 maxNum = 0, pgCnt1 = 0;
    bool hasFee = false;
    int monthCnt = 0;
    qint64 amt1 = 0, amt2 = 0, amt3 = 0;
};
// All programs of both kinds, or only those in use, ordered by kind, item,
// class, program and month count.
QList<ProgramListRow> listProgramRows(const Db &db, bool onlyInUse);

// Amounts as the list shows them: "###,###" (0 shows as nothing).
QString listAmountText(qint64 amount);

} // namespace fitrova
