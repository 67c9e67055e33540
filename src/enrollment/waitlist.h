#pragma once
// The waiting list of a full program. When an enrollment or a change of class
// into a program is refused because its places are taken, the desk may put
// the member on the program's waiting list (WaitList): one row per program
// and member, in the order they asked (WaitSeq).
//
//  - Adding decides inside one transaction on the program row locked, the
//    same lock the enrollment takes for the capacity check: a member goes on
//    the list only while the program is really full, so the last place and
//    the waiting list never race between two desks.
//  - Enrolling a waiting member (or changing their class into the program)
//    takes them off the list in the enrollment's own transaction.
//  - Whatever frees a place (a refund, a transfer, a change of class out of
//    the program, an enrollment deleted) tells the clerk doing it when the
//    program has waiting members and a place is now free, naming the first;
//    the list itself marks the members a free place can take.

#include "data/db.h"
#include "foundation/outcome.h"

#include <QList>
#include <QString>

namespace fitrova {

class AppContext;

inline QString waitListTitle() { return QStringLiteral("대기자"); }
// Asked after an enrollment or a change of class was refused as full.
inline QString waitOfferQuestion() { return QStringLiteral("대기자로 등록하시겠습니까?"); }

struct WaitEntry {
    qint64 wlId = 0;
    int order = 0;        // 1 for the first waiting member
    qint64 pgid = 0;
    QString pgName;
    QString mbCode, mbName, tel1, tel2;
    QString waitDate, remark;
    bool canEnroll = false; // a free place can take this member now
};

// Puts the member on the program's waiting list for a period starting on
// `from` and ending on `to` (the period the enrollment asked for). Refused
// when the program is not full for that period (the desk enrolls instead),
// when the member already waits for it, or when member or program are gone.
Outcome addToWaitList(const AppContext &ctx, qint64 pgid, const QString &mbCode, const QString &from,
                      const QString &to, const QString &remark = {});

// Removes one waiting member (the desk's 대기취소).
Outcome removeFromWaitList(const Db &db, qint64 wlId);

// Takes the member off the program's list; runs in the caller's transaction.
void leaveWaitList(const Db &db, qint64 pgid, const QString &mbCode);

// The places of the program free for a one-month enrollment starting on
// `from`; -1 when the program takes any number.
qint64 freePlaces(const Db &db, qint64 pgid, const QString &from);

// The program's waiting members in order, the first `freePlaces` of them
// marked as the ones who can be enrolled now.
QList<WaitEntry> programWaitList(const Db &db, qint64 pgid, const QString &today);

// The programs the member waits for, with their place in each list.
QList<WaitEntry> memberWaitList(const Db &db, const QString &mbCode);

// After a place of the program freed: "[새벽수영]의 대기자가 있습니다. ..."
// naming the first waiting member, when the program has waiting members and
// a place is free for a month from `from`; an empty notice otherwise.
Notice placeFreedNotice(const Db &db, qint64 pgid, const QString &from);

} // namespace fitrova
