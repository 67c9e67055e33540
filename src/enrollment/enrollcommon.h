#pragma once
// What the enrollment operations share: the enrollment row as the change,
// transfer, postponement and refund screens see it, the state word and
// program line of the list they show, the payment checks, and the end date
// of an enrollment recomputed from its dependent rows.

#include "data/db.h"
#include "data/text.h"
#include "enrollment/enrollresult.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace fitrova {

class AppContext;

inline constexpr auto kOpenEndDate = "9999-12-31";

// An enrollment row with its program, course item and instructor.
struct LectureInfo {
    qint64 ltid = 0;
    QString ltGubun, pgGubun;
    QString mbCode, mbName, sex, mbGubun, ageGubun;
    qint64 age = 0;
    qint64 pgid = 0, bpgid = 0, bLtid = 0;
    QString pgCode, pgName, course, lclass, mclass, sclass, time1, time2, ltCode, ltName;
    QString bMbCode;
    QString rqDate, sDate1, sDate2, dDate1, dDate2, ltyymm;
    qint64 monthCnt = 0;
    QString amtGubun, lectGubun, dcGubun, card;
    double dcYul = 0;
    qint64 dcAmt = 0, tAmt = 0, cashAmt = 0, cardAmt = 0;
    qint64 pgCnt = 0, pgCnt1 = 0, uPgCnt = 0;
    qint64 delay = 0, cancel = 0, transfer = 0, change = 0;
    qint64 rday = 0;
    QString remark;
    // Course item flags: refund, postponement, transfer allowed.
    bool useCancel = false, useDelay = false, useTransfer = false;
};

std::optional<LectureInfo> loadLectureInfo(const Db &db, qint64 ltid);

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

} // namespace fitrova

namespace fitrova {
// Card companies as "Code.Name", by code.
QStringList cardItems(const Db &db);
} // namespace fitrova
