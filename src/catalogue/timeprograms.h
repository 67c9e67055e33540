#pragma once
// Time-based programs (kind "2"; kind "3" is edited the same way): hours
// bought, kept in minutes as well, admitted on every weekday, sold for one
// price valid for a number of months. The price is one fee row (month count
// = validity, first fee level = price), stored only for a price of at least
// one won.

#include "foundation/outcome.h"
#include "data/db.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

namespace fitrova {

struct TimeProgram {
    qint64 pgId = 0;
    QString pgGubun = QStringLiteral("2");
    QString course;
    QString pgName;
    int validityMonths = 0; // 0: not chosen
    qint64 hours = 0;
    qint64 price = 0;
    bool pgUse = true;
    qint64 minutes() const { return hours * 60; }
};

// The validity choices "1  개월" … "9  개월", "10 개월", "11 개월", "12 개월".
QStringList validityItems();
QString validityItem(int months); // "" outside 1 … 12

// Price as the editor shows it: "#,###,##0".
QString priceText(qint64 price);
// Minutes shown beside the hours: "600 분".
QString minutesLabel(qint64 hours);

enum TimeProgramField { TimeNoField = 0, TimeNameField, TimeValidityField, TimeCourseField, TimeHoursField };

// The checks before saving, in order (title "자료저장").
Outcome checkTimeProgram(const TimeProgram &p);

// The program with its price row (the first fee row by month count).
std::optional<TimeProgram> loadTimeProgram(const Db &db, qint64 pgId);

// Saves in one transaction. New: kind "2", class "00", every weekday,
// created today; result.id is the new Pgid. Change: the kind, weekdays and
// creation date stay; the price row is written, added or (price below one)
// removed. On success its notice is "저장되었읍니다".
Outcome saveTimeProgram(const Db &db, TimeProgram p, bool isNew, const QDate &today);

} // namespace fitrova
