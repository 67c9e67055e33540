#pragma once
// The locker board (사물함현황): one group's lockers as a map of tiles and as
// a list, the history of a chosen locker and its renter's card. A tile's
// colour says free, rented, ending within a week or expired.

#include "data/db.h"
#include "lockers/lockerreports.h"
#include "lockers/lockerrental.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace fitrova {

enum class LockerTile {
    Free,
    Rented,
    EndingSoon, // rented, the end date within the next 7 days (today included)
    Expired,    // rented, the end date passed
};
constexpr int kEndingSoonDays = 7;

// The tile of a locker on `today`. A rented locker without an end date (taken
// out of service) is Rented.
LockerTile lockerTile(bool rented, const QString &endDate, const QDate &today);

struct BoardLocker {
    qint64 boxNum = 0;
    QString uUse, mbCode, mbName, stDate, endDate, tel1;
    int monCnt = 0;
    LockerTile tile = LockerTile::Free;
    bool rented() const { return uUse.trimmed() == QLatin1String("1"); }
};

// The group's lockers by number, with the filter of the board (all, free,
// rented).
QList<BoardLocker> boardLockers(const Db &db, const QString &boxCode, LockerUse use, const QDate &today);

struct BoardCounts {
    int free = 0, rented = 0, endingSoon = 0, expired = 0;
    bool operator==(const BoardCounts &) const = default;
};
// Rented counts every rented locker; endingSoon and expired are part of it.
BoardCounts boardCounts(const QList<BoardLocker> &lockers);

// The list of the board: 번호, 사용, 회원코드, 회원명, 개월, 시작일, 종료일, 휴대폰.
QStringList boardListHeaders();
QStringList boardListCells(const BoardLocker &l);

// --- the chosen locker ------------------------------------------------------------------

struct LockerHistoryLine {
    qint64 rqid = 0;
    QString rqGubun, mbCode;
    QStringList cells;
};
// 구분, 신청일자, 회원코드, 회원명, 사용기간, 보증금, 사용료, 환불금, 휴대폰,
// 자택전화, 주소, 주민번호, 카드번호, 회원구분.
QStringList lockerHistoryHeaders();
// Every transaction on the locker, newest first.
QList<LockerHistoryLine> lockerHistory(const Db &db, const LockerKey &locker);

// The renter as the board shows them beside the history.
struct RenterCard {
    QString mbCode, mbName, tel1, tel2, address, resident, mbCard, kindName;
};
std::optional<RenterCard> renterCard(const Db &db, const QString &mbCode);

} // namespace fitrova
