#pragma once
// Display texts of the enrollment and program codes, the state filter of
// enrollment lists, and the weekday columns of Program.

#include <QDate>
#include <QString>

namespace fitrova {

// Lecture.LtGubun: "0" 양수, "1" 신청, "2" 변경, "3" 연청, "4" 취소; "" otherwise.
QString ltGubunName(const QString &ltGubun);

// Kind of income of a Lecture row. Period and time programs (PgGubun "1", "2"):
// LtGubun "0" 양수, "1" 신청, "2" 변경, "3" 연청, "4" 환불, "5" 양도, else "****".
// Box (PgGubun "3"): LtGubun "1" 입금, else "****". Any other PgGubun: "".
QString incomeKindName(const QString &pgGubun, const QString &ltGubun);

// PgGubun "1" 기간제, "2" 시간제; "" otherwise.
QString periodKindName(const QString &pgGubun);

// State words of an enrollment row, in this order: "연기." (Delay > 0),
// "취소." (Cancel > 0), "양도." (Transfer > 0), "반변경." (Change > 0),
// "양수." (LtGubun "0").
QString lectureStateRemark(qint64 delay, qint64 cancel, qint64 transfer, qint64 change,
                           const QString &ltGubun);

// SQL condition on Lecture selecting normal, postponed and/or cancelled
// enrollments; the switches are OR-ed and the whole wrapped in brackets.
// "" when all three are off. Fixed text only, valid on both engines.
QString lectureStateFilter(bool normal, bool postponed, bool cancelled);

// Days left of an enrollment ending on dDate2 ("YYYY-MM-DD"): dDate2 − today,
// 0 when that is not positive, when the enrollment was refunded (cancel > 0)
// or when dDate2 is no date.
int lectureRemainDays(qint64 cancel, const QString &dDate2, const QDate &today);

// The program's days: "월", ",화", ",수", ",목", ",금", ",토", ",일" for each day
// set, run together ("월,수,금"; without Monday the text starts with a comma).
QString programDaysText(bool mon, bool tue, bool wed, bool thu, bool fri, bool sat, bool sun);

// Program's flag column of a weekday numbered Sunday = 1 … Saturday = 7:
// "Sun", "Mon", … "Sat"; "" for any other number.
QString weekdayColumn(int weekday);

// Program's flag column of a day named "월" … "일" (also "월요일" …) or
// "Mon" … "Sun" (any case); "" for anything else.
QString weekdayColumn(const QString &day);

// One-syllable Korean day name, Sunday = 1: "일", "월", … "토"; "" otherwise.
QString weekdayShortName(int weekday);

} // namespace fitrova
