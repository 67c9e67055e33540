#pragma once
// A member's visits in pages, newest first: the member card and the gate's
// member panel show the first page at once and fetch the rest on demand, so
// opening a member who has come ten years long costs the same as opening a
// new one. A page is read through the (MbCode, InDate) index and holds whole
// visits with the equipment lent on them.
//
// Order: date, entry time and visit id, all descending. The cursor is the
// last visit shown (not an offset), so a visit written between two fetches
// does not shift the next page, and two visits of the same date and time
// are told apart by their id: none is repeated or skipped. Visits without a
// date (imported rows) come last, by id.

#include "data/db.h"

#include <QList>
#include <QString>

namespace fitrova {

// Visits of the first page and of every further fetch.
constexpr int kVisitPageSize = 50;

// Where the next page starts: after the visit last shown.
struct VisitCursor {
    bool atStart = true;   // nothing shown yet
    bool undated = false;  // the dated visits are all shown; undated ones follow by id
    QString inDate, inTime;
    qint64 entid = 0;
    bool operator==(const VisitCursor &) const = default;
};

struct LentItem {
    QString course, sclass, barCode, itName;
    bool operator==(const LentItem &) const = default;
};

struct MemberVisit {
    qint64 entid = 0;
    QString inDate, inTime, outTime, pgGubun;
    qint64 uTime = 0;
    QString pgName;               // the program's name
    qint64 pgCnt = 0, uPgCnt = 0; // of the enrollment the visit used (time programs)
    QList<LentItem> items;        // in the order they were lent
};

struct MemberVisitPage {
    QList<MemberVisit> visits; // newest first
    VisitCursor next;          // after the last visit of this page
    bool more = false;         // further visits exist after this page
};

// All visits of the member (the count shown beside the list).
qint64 countMemberVisits(const Db &db, const QString &mbCode);

// Up to `size` visits after the cursor (from the newest with a fresh cursor).
MemberVisitPage loadMemberVisitPage(const Db &db, const QString &mbCode, const VisitCursor &after = {},
                                    int size = kVisitPageSize);

// "전체 N건 중 M건" beside a paged list.
QString shownOfTotalText(qint64 shown, qint64 total);

} // namespace fitrova
