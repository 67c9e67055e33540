#pragma once
// Removing entered data before the system goes into use: the administrator's
// deletion (ticked groups of data, the administrator's own password asked
// again) and the fuller maintenance deletion reached through the maintenance
// login.
//
// A run removes every ticked group with the rows that depend on it in one
// transaction: all of it or nothing. Where enrollments, sales or points go,
// every member's outstanding amount and point balance are computed again from
// what remains (0 when nothing remains).

#include "foundation/appcontext.h"
#include "foundation/outcome.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace fitrova {

// The groups of the administrator's deletion, as its check boxes name them.
enum class EnteredData {
    Courses,             // 강좌: programs and their fee tables
    Goods,               // 상품: goods
    Members,             // 회원인적: members and their member days
    EnrollmentsLockers,  // 수강/사물함 내역: enrollments, visits and their equipment, locker
                         // rentals (the lockers are freed, not removed) and the point ledger
    Sales,               // 상품판매 내역: sale lines and their points
    CashBook,            // 수입/지출내역: accounts, descriptions, entries
};

// The groups of the maintenance deletion.
enum class MaintenanceData {
    Members,     // 인적
    Enrollments, // 수강
    Sales,       // 판매
    Visits,      // 입장
    Lockers,     // 사물함: lockers and their rentals
    Deposits,    // 보증금
    Courses,     // 강좌
    Goods,       // 상품
    CashBook,    // 수입지출
    Users,       // 사용자: users, their programs and the grades' rights; the user "1" and
                 // every administrator (grade "1") with the administrators' rights stay
    Points,      // Point
    Business,    // 사용처
};

// The administrator's deletion may go on: the logged-in user is of grade "1"
// (as stored now) and the typed password is the user's own.
Outcome checkDeletionRights(AppContext &ctx, const QString &typedPassword);

// Removes the ticked groups in one transaction. Nothing ticked: refused.
Outcome deleteEnteredData(AppContext &ctx, const QList<EnteredData> &groups);
Outcome deleteMaintenanceData(AppContext &ctx, const QList<MaintenanceData> &groups);

// The maintenance screen's structure check: brings the schema up to this
// program's version and creates every table missing from its database file.
struct StructureCheck {
    QStringList created; // tables created now
    QStringList failed;  // tables that could not be created, with the reason
};
StructureCheck repairDataStructure(AppContext &ctx);

extern const char *const kDeletionTitle;  // "자료삭제"
extern const char *const kDeletionAsk;    // "선택한 자료를 모두삭제하시겠읍니까"
extern const char *const kDeletionDone;   // "삭제되었읍니다.."

} // namespace fitrova
