#pragma once
// What the enrollment operations share: the enrollment row as the change,
// transfer, postponement and refund screens see it, the state word and
// program line of the list they show, the payment checks, and the end date
// of an enrollment recomputed from its dependent rows.

#include "data/db.h"
#include "data/text.h"
#include "enrollment/enrollresult.h"
#include "enrollment/lecturestore.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace fitrova {

class AppContext;

inline constexpr auto kOpenEndDate = "9999-12-31";

// An enrollment row as the change, transfer, postponement and refund
// screens see it: pgName is the program's current name (the row's own when
// the program is gone), with the program's instructor name and what the
// course item allows: refund, postponement, transfer.
struct LectureInfo : LectureRecord {
    QString ltName;
    bool useCancel = false, useDelay = false, useTransfer = false;
};

// ForUpdate locks the Lecture row until the caller's transaction ends.
std::optional<LectureInfo> loadLectureInfo(const Db &db, qint64 ltid, RowLock lock = RowLock::None);

// The line of the program list of the change, transfer, postponement and
// refund screens: state word, application date, program, time, instructor.
QString lectureChoiceText(const LectureInfo &l);

// Days from a to b ("YYYY-MM-DD"), b − a; 0 when either is no date.
qint64 daysBetween(const QString &a, const QString &b);
// The date moved by days, never past 9999-12-31; "" for no date.
QString addDaysText(const QString &date, qint64 days);

// The paid amount against the amount due.
enum class PaymentCheck { Exact, Less, More };
PaymentCheck checkPayment(qint64 due, qint64 cash, qint64 card);

// Common stamp of every written row.
struct Stamp {
    QString psCode, date, time;
};
Stamp stampOf(const AppContext &ctx);
// LastUser, LastDate, LastTime of the row.
void stampRow(LectureRecord &row, const Stamp &st);

// The refusal of a screen opened on a row that is gone.
inline QString lectureGoneText() { return QStringLiteral("강좌자료를 찾을수 없읍니다."); }

} // namespace fitrova

namespace fitrova {
// Card companies as "Code.Name", by code.
QStringList cardItems(const Db &db);
} // namespace fitrova
