#pragma once
// The locker lists: the transaction reports of a date range (rentals,
// renewals, everything, cancellations) and the rental status of the lockers
// with its expiry filters. Reading the rows and building the lines are
// apart, so that the lines (totals and subtotals) are tested without a screen.

#include "data/db.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace fitrova {

// --- transaction reports --------------------------------------------------------------

// The tabs of 사물함신청현황, in their order.
enum class LockerReportKind { Rentals, Renewals, All, Cancellations };
// "사물함 신청현황", "사물함 재등록현황", "사물함 전체현황", "사물함 취소현황".
QString lockerReportTitle(LockerReportKind kind);

struct LockerReportCriteria {
    QString from, to; // request dates "YYYY-MM-DD", both included
    QString boxCode;  // "" every group
};

struct LockerReportRow {
    qint64 rqid = 0;
    QString rqDate, rqGubun, boxCode, boxName;
    qint64 boxNum = 0;
    QString useDate1, useDate2;
    qint64 monCnt = 0;
    QString mbCode, mbName, juno1, juno2, tel1, tel2;
    qint64 samt = 0, uamt = 0, ramt = 0;
};

// 신청현황: rentals by group, date and number; 재등록현황 and 취소현황: renewals
// or cancellations by date, group and number; 전체현황: every kind but moves,
// by kind, group, date and number.
QList<LockerReportRow> loadLockerReport(const Db &db, LockerReportKind kind, const LockerReportCriteria &c);

struct ReportLine {
    QStringList cells;
    qint64 rqid = 0;
    enum Level { Row, Subtotal, Total } level = Row;
};

QStringList lockerReportHeaders(LockerReportKind kind);
// One line per row, then "[합  계]" with the count ("12 건") and the sums;
// 전체현황 closes every kind with its subtotal ("[ 신규계 ]", "[재등록계]",
// "[ 취소계 ]", "[ 관취계 ]") and ends with "[전체합계]". There the total of a
// line adds deposit, fee and refund.
QList<ReportLine> buildLockerReport(LockerReportKind kind, const QList<LockerReportRow> &rows);

// --- rental status ------------------------------------------------------------------------

enum class LockerUse { All, Free, Rented };
// "A-전체사물함", "1-빈사물함 ", "2-대여사물함 ".
QStringList lockerUseItems();
LockerUse lockerUseOfItem(const QString &item);

struct RentalStatusCriteria {
    QString boxCode;       // "" every group
    LockerUse use = LockerUse::All;
    QString endedBefore;   // "YYYY-MM-DD": lockers whose end date lies before it; "" no filter
    int overdueDays = -1;  // lockers whose end date lies more than this many days back; < 0 no filter
};

struct RentalStatusLine {
    QString boxCode, boxName;
    qint64 boxNum = 0;
    QString uUse;
    qint64 monCnt = 0;
    QString stDate, endDate, mbCode, mbName, juno1, juno2, tel1, tel2, mbCard;
    QString lastMonth; // the member's last enrollment month "YYYY-MM"
};

QList<RentalStatusLine> loadRentalStatus(const Db &db, const RentalStatusCriteria &c, const QDate &today);
// 사물함, 번호, 사용, 개월, 시작일, 종료일, 회원코드, 회원명, 주민번호, 휴대폰,
// 자택전화, 카드번호, 최종수강월.
QStringList rentalStatusHeaders();
QStringList rentalStatusCells(const RentalStatusLine &l);
enum RentalStatusColumn { RsGroup, RsNum, RsUse, RsMonths, RsStart, RsEnd, RsMbCode, RsMbName, RsResident, RsTel1, RsTel2,
                          RsCard, RsLastMonth, RsCount };

} // namespace fitrova
