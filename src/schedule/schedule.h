#pragma once
// The staff diary: entries common to every user of the centre (ScGubun "0")
// or personal to the user who made them ("1"), each on one day with optional
// start and end time slots ("오전 09:30"), a title and free details.
//
// The month calendar shows the common entries of everybody, or the personal
// entries of the logged-in user only. The entry list of the entry screen
// always keeps to the user's own entries, of either kind.

#include "data/db.h"
#include "foundation/outcome.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>

namespace fitrova {

struct ScheduleEntry {
    qint64 id = 0;
    QString gubun;    // "0" common, "1" personal
    QString userCode; // staff code of the maker
    QString date;     // "YYYY-MM-DD"
    QString time1;    // slot text or ""
    QString time2;
    QString title;
    QString detail;
    bool operator==(const ScheduleEntry &) const = default;
};

// The 48 half-hour slots of a day, in order: "오전 12:00", "오전 12:30",
// "오전 01:00" … "오전 11:30", "오후 12:00" … "오후 11:30".
const QStringList &scheduleTimeSlots();
// The slot a new entry starts in at this time: the first slot at or after it
// (seconds ignored); the last slot after 23:30.
int defaultStartSlot(const QTime &now);
// The slot after the start slot, or the start slot itself when it is the last.
int defaultEndSlot(int startSlot);

// The kinds' texts, as the calendar's selector shows them.
QString scheduleKindItem(const QString &gubun); // "0.공용일정" / "1.개인일정"

// Entries of one month as the calendar shows them (by day, then by key):
// common entries of everybody, or the user's own personal entries.
QList<ScheduleEntry> monthSchedule(const Db &db, const QString &gubun, const QString &userCode, int year, int month);
// The same for one day ("YYYY-MM-DD").
QList<ScheduleEntry> daySchedule(const Db &db, const QString &gubun, const QString &userCode, const QString &date);

// One line of a day cell: "AM " or "PM ", the time "hh:mm", a blank and the
// title; without a start time only the title.
QString scheduleLine(const ScheduleEntry &e);
// The lines of a day cell, in the order given; with details, each entry's
// details follow its line (a blank detail adds no line).
QStringList scheduleDayLines(const QList<ScheduleEntry> &entries, bool withDetails);

// The user's own entries of the kind in the period, by key.
QList<ScheduleEntry> ownSchedule(const Db &db, const QString &gubun, const QString &userCode, const QString &from,
                                 const QString &to);

struct ScheduleInput {
    qint64 id = 0; // 0: a new entry
    QString gubun, userCode, date, time1, time2, title, detail;
};
// Adds the entry (Outcome::id the new key) or rewrites the edited one. An
// empty title writes nothing; an entry deleted meanwhile by another
// workstation is not brought back.
Outcome saveSchedule(const Db &db, const ScheduleInput &in);
// Deletes one of the user's own entries.
Outcome deleteSchedule(const Db &db, qint64 id, const QString &userCode);

// The days a month calendar shows, week by week from Sunday: an invalid date
// stands for a cell outside the month. Always whole weeks (4 to 6).
QList<QDate> monthCalendarCells(int year, int month);

} // namespace fitrova
