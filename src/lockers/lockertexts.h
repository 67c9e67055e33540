#pragma once
// Words and small formats every locker screen and list shares: the kinds of
// a locker transaction, the month items, the locker caption and the stamp of
// a write. Renters' resident numbers are shown through data/privacy.h.

#include <QString>
#include <QStringList>

namespace fitrova {

class AppContext;

// RqPerBox.RqGubun: one row per transaction on a locker.
namespace rq {
inline const QString kNew = QStringLiteral("1");     // 신규: a rental
inline const QString kMove = QStringLiteral("2");    // 변경: the rental moved onto this locker
inline const QString kRenew = QStringLiteral("3");   // 재등록: a new period on the same locker
inline const QString kCancel = QStringLiteral("4");  // 취소: given back, the deposit refunded
inline const QString kRelease = QStringLiteral("5"); // 관취: taken back by the centre on the board
} // namespace rq

// "신규", "변경", "재등록", "취소", "관취"; "" for anything else. On the locker
// board a rental reads "신청".
QString rqKindName(const QString &rqGubun, bool onBoard = false);

// PerBoxS.UUse: "1" rented, "0" free.
inline bool isRentedFlag(const QString &uUse) { return uUse.trimmed() == QLatin1String("1"); }

// "1 개월" … "12 개월": the month counts a rental may run.
QStringList monthCountItems();
constexpr int kMaxRentalMonths = 12;

// "3.남자탈의실 사물함": the group as the rental screens show it.
QString groupCaption(const QString &code, const QString &name);

// "2024-03-15 ~ 2024-04-14(1)": a rental period with its months.
QString periodText(const QString &from, const QString &to, qint64 months);

// Who wrote a row, and when, as every locker write stamps it.
struct LockerStamp {
    QString user, date, time; // LastUser, LastDate "YYYY-MM-DD", LastTime "hh:mm:ss"
    int posNo = 0;            // the workstation, for the shift its takings open
};
LockerStamp lockerStamp(const AppContext &ctx);

} // namespace fitrova
