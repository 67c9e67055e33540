#pragma once
// Lockers for the benchmark centre: ten groups of 2,000 lockers in all (the
// largest of 500), each with a few years of rentals, renewals, cancellations
// and releases ending in today's state: most lockers rented, some ending
// within the week, some expired and not given back, the rest free.

#include "data/db.h"

#include <QDate>

namespace fitrova {

struct LockerGenStats {
    int groups = 0, lockers = 0, rented = 0, requests = 0;
};

// Writes PerBox, PerBoxS and RqPerBox (emptied first) in one transaction.
// Renters are members "00000001" … `members` (at least one); the history
// reaches `years` back from `today`.
LockerGenStats generateBenchLockers(const Db &db, const QDate &today, int members, int years, quint32 seed);

} // namespace fitrova
