#pragma once
// The lists of the check-in screen: the member's enrollments around today,
// the member's visits with the equipment lent on them, the visits of one day,
// and the equipment looked up at the desk. Deleting a visit lives here too.

#include "data/db.h"
#include "members/membervisits.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace fitrova {

// --- the member's enrollments -------------------------------------------------------

// 분류, 신청일자, 내역, 개월, 시작일, 만기일, 잔여시간(일수), 비고.
QStringList gateLectureHeaders();
struct GateLectureLine {
    qint64 ltid = 0;
    QString pgGubun;
    QStringList cells;
};
// Period and time-based enrollments (not boxes, not postponement or refund
// rows) of course items that have started and ended at most 10 days ago,
// newest application first.
QList<GateLectureLine> loadGateLectures(const Db &db, const QString &mbCode, const QDate &today);

// --- the member's visits ------------------------------------------------------------

// 일자, 프로그램, 입장, 퇴장, 사용시간, 바코드, 분류1, 분류2, 교구명, 잔여시간.
QStringList visitHistoryHeaders();
struct VisitHistoryLine {
    qint64 entid = 0;
    QStringList cells;
};
// The lines of visits in the order given (a page of loadMemberVisitPage); a
// visit with several lent items gives one line per item.
QList<VisitHistoryLine> visitHistoryLines(const Db &db, const QList<MemberVisit> &visits);

// --- the day list -----------------------------------------------------------------

// 일자, 입장, 퇴장, 회원코드, 회원명, 성별, 나이, 보호자, 연락처, 프로그램,
// 사용교구, 사용시간, 잔여일(시간), 참조사항, 회원카드.
QStringList dayListHeaders();
enum DayListColumn {
    DlDate, DlIn, DlOut, DlCode, DlName, DlSex, DlAge, DlGuardian, DlTel, DlProgram, DlItems, DlUsed, DlRemain,
    DlMemo, DlCard, DlCount
};
struct DayListLine {
    qint64 entid = 0;
    bool open = false;  // no exit time yet
    QStringList cells;
};
// The visits of one day (date "YYYY-MM-DD"), the latest entry first; with
// openOnly only those without an exit time. Two statements, whatever the
// number of visits.
QList<DayListLine> loadDayList(const Db &db, const QString &date, bool openOnly, const QDate &today);

// The line of one visit, as loadDayList makes it: what the screen adds to
// the list it shows after a check-in instead of reading the day again.
std::optional<DayListLine> loadDayListLine(const Db &db, qint64 entid, const QDate &today);

// True when the visit (entry time, id) A comes before B in the day list:
// the later entry first, then the lower id.
bool dayListBefore(const QString &inTimeA, qint64 entidA, const QString &inTimeB, qint64 entidB);


// --- deleting a visit ---------------------------------------------------------------

// Deletes the visit with the equipment rows lent on it and recomputes the
// enrollment's used minutes and the member's last visit, in one transaction.
// False when there is no such visit.
bool deleteVisit(const Db &db, qint64 entid);

inline QString visitDeleteAskText() { return QStringLiteral("현제 선택한 자료를 삭제하시겠읍니까?"); }
inline QString visitDeleteAskTitle() { return QStringLiteral("자료삭제"); }

// --- equipment ----------------------------------------------------------------------

struct GateItem {
    qint64 itId = 0;
    QString className, sclassName, name, barCode;
    bool operator==(const GateItem &) const = default;
};
std::optional<GateItem> findItemByBarcode(const Db &db, const QString &barCode);
std::optional<GateItem> findItemById(const Db &db, qint64 itId);
// The equipment of the pick list: every item, or those whose name contains
// the text or whose bar code is the text; by name, at most 500.
QList<GateItem> searchItems(const Db &db, const QString &text);

inline QString itemUnknownText() { return QStringLiteral("등록되지않은 교구상품입니다"); }
inline QString itemUnknownTitle() { return QStringLiteral("교구등록"); }

} // namespace fitrova
