#pragma once
// Renting lockers: a new rental, a renewal, the correction of a rental row,
// a move to another locker, a cancellation with the deposit refunded, and
// the release of a locker by the centre (on the locker board).
//
// Every transition writes the locker's state (PerBoxS) and its history row
// (RqPerBox) in one transaction, deciding on the locker rows it reads locked:
// two desks renting the same free locker at the same moment get one rental
// and one "이미 사용중인 사물함입니다.", never two renters or a locker
// without its history.
//
//     RentalInput in{mbCode, {code, 12}, today, today, rentalEndDate(today, 1), 1, 10000, 5000};
//     if (ui.msg.ask(rentQuestion(groupName, 12), rentTitle())) {
//         const Outcome o = rentLocker(ctx, in);   // o.id: the Rqid written
//         showOutcome(ui, o);
//     }
//
// Money rows are the rental (신규, deposit and fee), the renewal (재등록, its
// fee and any further deposit) and the cancellation or release (취소, 관취,
// the deposit refunded). A move (변경) records where the rental went and
// carries no money, so that summaries adding up the rows count every won once.

#include "data/db.h"
#include "foundation/outcome.h"

#include <QDate>
#include <QList>
#include <QString>
#include <optional>

namespace fitrova {

class AppContext;

struct LockerKey {
    QString boxCode;
    qint64 boxNum = 0;
    bool isValid() const { return !boxCode.trimmed().isEmpty() && boxNum > 0; }
    bool operator==(const LockerKey &o) const { return boxCode.trimmed() == o.boxCode.trimmed() && boxNum == o.boxNum; }
};

// End of a rental of `months` months from `start`: the day before the same
// day that many months later (2024-03-15 for one month ends 2024-04-14).
QString rentalEndDate(const QString &start, int months);

// --- what the screens show ------------------------------------------------------------

// A locker rented to a member, as the follow-up screens show it.
struct LockerRental {
    LockerKey locker;
    QString boxName;
    QString mbCode, mbName;
    QString stDate, endDate;
    int monCnt = 0;
    qint64 deposit = 0, fee = 0; // of the row that started this period (신규 or 재등록)
    qint64 rqid = 0;             // that row; 0 when the history has none
};
// The lockers the member rents, in group and number order.
QList<LockerRental> memberRentals(const Db &db, const QString &mbCode);
// The rental of a locker; nullopt when it is not rented to a member.
std::optional<LockerRental> currentRental(const Db &db, const LockerKey &locker);

// A line of the rental screens' locker grid: the locker, its renter, the
// group's prices and the history row of the current rental.
struct RentalGridLine {
    qint64 boxNum = 0;
    QString uUse, mbCode, mbName, stDate, endDate;
    qint64 groupDeposit = 0, groupFee = 0;
    qint64 rqid = 0; // 0: no history row matches the rental
    QString rqDate, rqGubun, useDate1, useDate2;
    qint64 monCnt = 0, samt = 0, uamt = 0, ramt = 0;
    bool rented() const { return uUse.trimmed() == QLatin1String("1"); }
};
enum RentalGridColumn {
    RgNum, RgUse, RgMbCode, RgMbName, RgStart, RgEnd, RgGroupDeposit, RgGroupFee, RgRqDate, RgKind, RgPeriod,
    RgDeposit, RgFee, RgRefund, RgCount
};
// 번호, 사용, 회원코드, 회원명, 시작일, 종료일, 원보증금, 원사용액, 신청일자, 구분,
// 사용기간, 보증금, 사용액, 환불금.
QStringList rentalGridHeaders();
QStringList rentalGridCells(const RentalGridLine &l);
// The group's lockers by number; only the free ones with freeOnly.
QList<RentalGridLine> rentalGridLines(const Db &db, const QString &boxCode, bool freeOnly);

// The deposit a cancellation proposes to give back: every deposit the member
// paid on lockers less every deposit refunded, never below 0.
qint64 proposedRefund(const Db &db, const QString &mbCode);

// --- the transitions --------------------------------------------------------------------

// The field a refusal concerns.
enum RentalField {
    RentalFieldNone, RentalFieldRqDate, RentalFieldStart, RentalFieldEnd, RentalFieldMonths, RentalFieldAmount,
    RentalFieldLocker, RentalFieldRefund
};

struct RentalInput {
    QString mbCode;
    LockerKey locker;
    QString rqDate, startDate, endDate;
    int months = 1;
    qint64 deposit = 0, fee = 0;
};

inline QString rentTitle() { return QStringLiteral("사물함 신청"); }
QString rentQuestion(const QString &groupName, qint64 boxNum);
// A new rental of a free locker.
Outcome rentLocker(const AppContext &ctx, const RentalInput &in);

inline QString renewTitle() { return QStringLiteral("사용기간연장"); }
QString renewQuestion(const QString &groupName, qint64 boxNum);
// What the renewal screen proposes: the new period starts today, one month
// (the group's count) long, no further deposit, the group's fee.
RentalInput renewalDefaults(const Db &db, const LockerRental &rental, const QDate &today);
// A new period on the member's locker.
Outcome renewLocker(const AppContext &ctx, const RentalInput &in);

// A row of the history.
struct LockerRequest {
    qint64 rqid = 0;
    QString rqDate, mbCode, mbName;
    LockerKey locker;
    QString boxName, rqGubun, useDate1, useDate2, fDate;
    int monCnt = 0;
    qint64 samt = 0, uamt = 0, ramt = 0;
};
std::optional<LockerRequest> findLockerRequest(const Db &db, qint64 rqid);
// " 사물함 신청(수정) ", " 사물함 재등록(수정) ".
QString correctionCaption(const QString &rqGubun);
inline QString correctTitle() { return QStringLiteral("사물함수정"); }

struct CorrectionInput {
    qint64 rqid = 0;
    QString rqDate, startDate, endDate;
    int months = 1;
    qint64 deposit = 0, fee = 0;
};
// Rewrites a rental or renewal row; when it is the member's current period,
// the locker holding it (the row's own, or the one the rental moved to) takes
// the new period as well.
Outcome correctLockerRequest(const AppContext &ctx, const CorrectionInput &in);

struct MoveInput {
    QString mbCode;
    LockerKey from, to;
    QString rqDate;
};
inline QString moveTitle() { return QStringLiteral("사물함 변경"); }
QString moveQuestion(const QString &fromGroup, qint64 fromNum, const QString &toGroup, qint64 toNum);
// The member's rental moves, period and months unchanged, onto a free locker.
Outcome moveLocker(const AppContext &ctx, const MoveInput &in);

struct CancelInput {
    QString mbCode;
    LockerKey locker;
    QString rqDate;
    qint64 refund = 0;
};
inline QString cancelTitle() { return QStringLiteral("사물함취소"); }
QString cancelQuestion(const QString &groupName, qint64 boxNum);
// The member gives the locker back; the refund is recorded.
Outcome cancelLocker(const AppContext &ctx, const CancelInput &in);

inline QString releaseTitle() { return QStringLiteral("사물함해지"); }
inline QString releaseQuestion() { return QStringLiteral("사물함 사용을 해지 하시겠습니까?"); }
inline QString alreadyReleasedText() { return QStringLiteral("사물함 사용이 이미 해지되었습니다."); }
// The deposit question that follows the release question when the renter
// has deposit left: "보증금 10,000원을 반환하시겠습니까?" (no: the centre keeps it).
QString releaseRefundQuestion(qint64 refund);
// The centre takes a rented locker back on the board, dated today; the
// deposit handed back (0 when it is kept) is recorded on the release row.
Outcome releaseLocker(const AppContext &ctx, const LockerKey &locker, qint64 refund);

} // namespace fitrova
