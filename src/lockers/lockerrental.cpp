#include "lockers/lockerrental.h"

#include "closing/shift.h"
#include "data/dates.h"
#include "data/text.h"
#include "foundation/appcontext.h"
#include "lockers/lockergroups.h"
#include "lockers/lockerrows.h"
#include "lockers/lockertexts.h"

namespace fitrova {

namespace {

// The locker row an action decides on, read locked until the action ends.
struct LockedLocker {
    QString uUse, mbCode, stDate, endDate;
    int monCnt = 0;
    bool rented() const { return isRentedFlag(uUse); }
};

std::optional<LockedLocker> lockLocker(const Db &db, const LockerKey &k)
{
    const auto r = db.queryOne(QStringLiteral("SELECT UUse, MbCode, StDate, EndDate, MonCnt FROM PerBoxS "
                                              "WHERE BoxCode = ? AND BoxNum = ?")
                                   + db.forUpdate(),
                               {k.boxCode.trimmed(), k.boxNum});
    if (!r)
        return std::nullopt;
    return LockedLocker{r->str(QStringLiteral("UUse")), r->str(QStringLiteral("MbCode")).trimmed(),
                        r->str(QStringLiteral("StDate")), r->str(QStringLiteral("EndDate")),
                        int(r->num(QStringLiteral("MonCnt")))};
}

// Locks two lockers in one statement, in key order, so that two desks
// moving rentals between the same lockers cannot wait on each other.
void lockPair(const Db &db, const LockerKey &a, const LockerKey &b)
{
    if (!db.isPostgres())
        return; // the SQLite transaction holds the write lock already
    db.query(QStringLiteral("SELECT BoxNum FROM PerBoxS WHERE (BoxCode = ? AND BoxNum = ?) OR (BoxCode = ? AND BoxNum = ?) "
                            "ORDER BY BoxCode, BoxNum")
                 + db.forUpdate(),
             {a.boxCode.trimmed(), a.boxNum, b.boxCode.trimmed(), b.boxNum});
}

struct RequestRow {
    QString rqDate, mbCode;
    LockerKey locker;
    QString rqGubun, useDate1, useDate2;
    int monCnt = 0;
    qint64 samt = 0, uamt = 0, ramt = 0;
};

qint64 insertRequest(const Db &db, const RequestRow &r, const LockerStamp &st)
{
    const qint64 rqid = db.insertId(QStringLiteral("INSERT INTO RqPerBox (RqDate, MbCode, BoxCode, BoxNum, RqGubun, RqBox, UseDate1, "
                                      "UseDate2, MonCnt, Samt, Uamt, Ramt, LastUser, LastDate, LastTime) "
                                      "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                       {r.rqDate, r.mbCode, r.locker.boxCode.trimmed(), QString::number(r.locker.boxNum), r.rqGubun,
                        r.locker.boxNum, r.useDate1, r.useDate2, r.monCnt, r.samt, r.uamt, r.ramt, st.user, st.date,
                        st.time},
                       QStringLiteral("Rqid"));
    openShiftForTakings(db, shiftStampAt(st.user, st.posNo, st.date, st.time),
                        r.samt != 0 || r.uamt != 0 || r.ramt != 0);
    return rqid;
}

// The locker becomes the member's for the period; only a free locker
// (checked by the caller under the lock, and here once more) is taken.
bool takeLocker(const Db &db, const LockerKey &k, const QString &mbCode, const QString &from, const QString &to,
                int months, const LockerStamp &st)
{
    return db.exec(QStringLiteral("UPDATE PerBoxS SET UUse = '1', MbCode = ?, MonCnt = ?, StDate = ?, EndDate = ?, "
                                  "LastUser = ?, LastDate = ?, LastTime = ? "
                                  "WHERE BoxCode = ? AND BoxNum = ? AND UUse = '0'"),
                   {mbCode, months, from, to, st.user, st.date, st.time, k.boxCode.trimmed(), k.boxNum})
        == 1;
}

// The member's locker becomes free.
bool freeLocker(const Db &db, const LockerKey &k, const QString &mbCode, const LockerStamp &st)
{
    return db.exec(QStringLiteral("UPDATE PerBoxS SET UUse = '0', MbCode = '', MonCnt = 0, StDate = '', EndDate = '', "
                                  "LastUser = ?, LastDate = ?, LastTime = ? "
                                  "WHERE BoxCode = ? AND BoxNum = ? AND UUse = '1' AND COALESCE(MbCode, '') = ?"),
                   {st.user, st.date, st.time, k.boxCode.trimmed(), k.boxNum, mbCode})
        == 1;
}

Outcome lockerTaken(const QString &title) { return Outcome::refused(QStringLiteral("이미 사용중인 사물함입니다."), title, RentalFieldLocker); }

Outcome memberHasIt(const QString &mbCode)
{
    return Outcome::refused(mbCode + QStringLiteral("번 회원님은 이미 ") + QStringLiteral("사물함을 사용 하고있습니다."),
                            QStringLiteral("사용불가"), RentalFieldLocker);
}

Outcome noSuchLocker(const QString &title)
{
    return Outcome::refused(QStringLiteral("해당 사물함을 찾을수 없습니다."), title, RentalFieldLocker);
}

Outcome notMembersLocker(const QString &title)
{
    return Outcome::refused(QStringLiteral("해당 회원이 사용중인 사물함이 아닙니다."), title, RentalFieldLocker);
}

// The checks every rental period goes through; a refusal, or nothing.
std::optional<Outcome> checkPeriod(const QString &rqDate, const QString &start, const QString &end, int months,
                                   qint64 deposit, qint64 fee)
{
    if (!isValidDateText(rqDate))
        return Outcome::refused(QStringLiteral("신청일자를 확인하여 주십시요."), QStringLiteral("신청일자"),
                                RentalFieldRqDate);
    if (!isValidDateText(start))
        return Outcome::refused(QStringLiteral("사용일자를 확인하여 주십시요."), QStringLiteral("사용일자"),
                                RentalFieldStart);
    if (!isValidDateText(end) || end < start)
        return Outcome::refused(QStringLiteral("사용일자를 확인하여 주십시요."), QStringLiteral("사용일자"),
                                RentalFieldEnd);
    if (months < 1 || months > 999)
        return Outcome::refused(QStringLiteral("사용개월을 확인하여 주십시요."), QStringLiteral("사용일자"),
                                RentalFieldMonths);
    if (deposit < 0 || fee < 0)
        return Outcome::refused(QStringLiteral("금액을 확인하여 주십시요."), QStringLiteral("금액확인"),
                                RentalFieldAmount);
    return std::nullopt;
}

QString boxNumText(qint64 n) { return QString::number(n); }

} // namespace

QString rentalEndDate(const QString &start, int months) { return endDateAfterMonths(start, months + 1); }

// --- what the screens show ---------------------------------------------------------------

namespace {

LockerRental rentalOf(const Db &db, const Row &r)
{
    LockerRental l;
    l.locker = {r.str(QStringLiteral("BoxCode")).trimmed(), r.num(QStringLiteral("BoxNum"))};
    l.boxName = r.str(QStringLiteral("BoxName"));
    l.mbCode = r.str(QStringLiteral("MbCode")).trimmed();
    l.mbName = r.str(QStringLiteral("MbName"));
    l.stDate = r.str(QStringLiteral("StDate"));
    l.endDate = r.str(QStringLiteral("EndDate"));
    l.monCnt = int(r.num(QStringLiteral("MonCnt")));
    // The row that started this period: a rental or renewal of the member
    // with the same dates; the one of this very locker first (the rental may
    // have moved here from another locker since).
    const auto q = db.queryOne(
        QStringLiteral("SELECT Rqid, Samt, Uamt FROM RqPerBox WHERE MbCode = ? AND RqGubun IN ('1', '3') "
                       "AND UseDate1 = ? AND UseDate2 = ? "
                       "ORDER BY CASE WHEN BoxCode = ? AND RqBox = ? THEN 0 ELSE 1 END, Rqid DESC LIMIT 1"),
        {l.mbCode, l.stDate, l.endDate, l.locker.boxCode, l.locker.boxNum});
    if (q) {
        l.rqid = q->num(QStringLiteral("Rqid"));
        l.deposit = q->num(QStringLiteral("Samt"));
        l.fee = q->num(QStringLiteral("Uamt"));
    }
    return l;
}

const QString kRentalSelect = QStringLiteral(
    "SELECT S.BoxCode, S.BoxNum, S.MbCode, S.StDate, S.EndDate, S.MonCnt, P.BoxName, M.MbName "
    "FROM PerBoxS S LEFT JOIN PerBox P ON P.BoxCode = S.BoxCode LEFT JOIN Member M ON M.MbCode = S.MbCode ");

} // namespace

QList<LockerRental> memberRentals(const Db &db, const QString &mbCode)
{
    QList<LockerRental> out;
    if (mbCode.trimmed().isEmpty())
        return out;
    for (const Row &r : db.query(kRentalSelect + QStringLiteral("WHERE S.MbCode = ? AND S.UUse = '1' "
                                                                "ORDER BY LENGTH(S.BoxCode), S.BoxCode, S.BoxNum"),
                                 {mbCode.trimmed()}))
        out << rentalOf(db, r);
    return out;
}

std::optional<LockerRental> currentRental(const Db &db, const LockerKey &locker)
{
    const auto r = db.queryOne(kRentalSelect + QStringLiteral("WHERE S.BoxCode = ? AND S.BoxNum = ? AND S.UUse = '1' "
                                                              "AND COALESCE(S.MbCode, '') <> ''"),
                               {locker.boxCode.trimmed(), locker.boxNum});
    if (!r)
        return std::nullopt;
    return rentalOf(db, *r);
}

QStringList rentalGridHeaders()
{
    return {QStringLiteral("번호"),     QStringLiteral("사용"),     QStringLiteral("회원코드"), QStringLiteral("회원명"),
            QStringLiteral("시작일"),   QStringLiteral("종료일"),   QStringLiteral("원보증금"), QStringLiteral("원사용액"),
            QStringLiteral("신청일자"), QStringLiteral("구분"),     QStringLiteral("사용기간"), QStringLiteral("보증금"),
            QStringLiteral("사용액"),   QStringLiteral("환불금")};
}

QStringList rentalGridCells(const RentalGridLine &l)
{
    QStringList c(RgCount);
    c[RgNum] = QString::number(l.boxNum);
    c[RgUse] = l.rented() ? QStringLiteral("사용") : QString();
    c[RgMbCode] = l.mbCode;
    c[RgMbName] = l.mbName;
    c[RgStart] = l.stDate;
    c[RgEnd] = l.endDate;
    c[RgGroupDeposit] = wonText(l.groupDeposit);
    c[RgGroupFee] = wonText(l.groupFee);
    if (l.rqid > 0) {
        c[RgRqDate] = l.rqDate;
        c[RgKind] = rqKindName(l.rqGubun);
        c[RgPeriod] = periodText(l.useDate1, l.useDate2, l.monCnt);
        c[RgDeposit] = wonText(l.samt);
        c[RgFee] = wonText(l.uamt);
        c[RgRefund] = wonText(l.ramt);
    }
    return c;
}

QList<RentalGridLine> rentalGridLines(const Db &db, const QString &boxCode, bool freeOnly)
{
    QString sql = QStringLiteral(
        "SELECT S.BoxNum, S.UUse, S.MbCode, M.MbName, S.StDate, S.EndDate, P.Samt AS GSamt, P.Uamt AS GUamt, "
        "R.Rqid, R.RqDate, R.RqGubun, R.UseDate1, R.UseDate2, R.MonCnt AS RMonCnt, R.Samt, R.Uamt, R.Ramt "
        "FROM PerBoxS S LEFT JOIN PerBox P ON P.BoxCode = S.BoxCode "
        "LEFT JOIN Member M ON M.MbCode = S.MbCode "
        "LEFT JOIN RqPerBox R ON R.Rqid = (SELECT MAX(H.Rqid) FROM RqPerBox H WHERE H.BoxCode = S.BoxCode "
        "AND H.RqBox = S.BoxNum AND H.MbCode = S.MbCode AND H.UseDate1 = S.StDate AND H.UseDate2 = S.EndDate) "
        "WHERE S.BoxCode = ?");
    if (freeOnly)
        sql += QStringLiteral(" AND S.UUse = '0'");
    sql += QStringLiteral(" ORDER BY S.BoxNum");
    // S.BoxNum 0, UUse 1, MbCode 2, MbName 3, StDate 4, EndDate 5, GSamt 6, GUamt 7, R.Rqid 8, RqDate 9,
    // RqGubun 10, UseDate1 11, UseDate2 12, RMonCnt 13, Samt 14, Uamt 15, Ramt 16.
    using namespace lockerrows;
    QList<RentalGridLine> out;
    for (const Row &r : db.query(sql, {boxCode.trimmed()})) {
        RentalGridLine l;
        l.boxNum = number(r, 0);
        l.uUse = text(r, 1);
        l.mbCode = text(r, 2);
        l.mbName = text(r, 3);
        l.stDate = text(r, 4);
        l.endDate = text(r, 5);
        l.groupDeposit = number(r, 6);
        l.groupFee = number(r, 7);
        l.rqid = number(r, 8);
        l.rqDate = text(r, 9);
        l.rqGubun = text(r, 10);
        l.useDate1 = text(r, 11);
        l.useDate2 = text(r, 12);
        l.monCnt = number(r, 13);
        l.samt = number(r, 14);
        l.uamt = number(r, 15);
        l.ramt = number(r, 16);
        out << l;
    }
    return out;
}

qint64 proposedRefund(const Db &db, const QString &mbCode)
{
    const auto r = db.queryOne(QStringLiteral("SELECT SUM(Samt) AS Samt, SUM(Ramt) AS Ramt FROM RqPerBox WHERE MbCode = ?"),
                               {mbCode.trimmed()});
    if (!r)
        return 0;
    return std::max<qint64>(0, r->num(QStringLiteral("Samt")) - r->num(QStringLiteral("Ramt")));
}

// --- the transitions ----------------------------------------------------------------------

QString rentQuestion(const QString &groupName, qint64 boxNum)
{
    return groupName + QLatin1Char(' ') + boxNumText(boxNum) + QStringLiteral(" 번 개인사물함을 신청하시겠습니까?");
}

Outcome rentLocker(const AppContext &ctx, const RentalInput &in)
{
    const Db &db = ctx.main;
    const QString title = QStringLiteral("사용불가");
    if (!in.locker.isValid())
        return Outcome::refused(QStringLiteral("사물함을 선택하여 주십시요."), QStringLiteral("사물함선택"),
                                RentalFieldLocker);
    if (auto refusal = checkPeriod(in.rqDate, in.startDate, in.endDate, in.months, in.deposit, in.fee))
        return *refusal;
    const LockerStamp st = lockerStamp(ctx);
    return db.transaction([&] {
        if (!db.scalar(QStringLiteral("SELECT 1 FROM Member WHERE MbCode = ?"), {in.mbCode.trimmed()}).isValid())
            return Outcome::refused(QStringLiteral("해당회원을 찾을수 없읍니다."), QStringLiteral("회원찾기"));
        const auto locker = lockLocker(db, in.locker);
        if (!locker)
            return noSuchLocker(title);
        if (locker->uUse.trimmed() != QLatin1String("0"))
            return locker->mbCode == in.mbCode.trimmed() ? memberHasIt(in.mbCode.trimmed()) : lockerTaken(title);
        if (!takeLocker(db, in.locker, in.mbCode.trimmed(), in.startDate, in.endDate, in.months, st))
            return lockerTaken(title);
        const qint64 rqid = insertRequest(db,
                                          {in.rqDate, in.mbCode.trimmed(), in.locker, rq::kNew, in.startDate,
                                           in.endDate, in.months, in.deposit, in.fee, 0},
                                          st);
        return Outcome::done(rqid).info(QStringLiteral("사물함 신청작업이 완료되었습니다."), rentTitle());
    });
}

QString renewQuestion(const QString &groupName, qint64 boxNum)
{
    return groupName + QLatin1Char(' ') + boxNumText(boxNum)
        + QStringLiteral(" 번 개인사물함의 사용기간을 연장하시겠습니까?");
}

RentalInput renewalDefaults(const Db &db, const LockerRental &rental, const QDate &today)
{
    RentalInput in;
    in.mbCode = rental.mbCode;
    in.locker = rental.locker;
    in.rqDate = fmtDate(today);
    in.startDate = fmtDate(today);
    const auto group = findLockerGroup(db, rental.locker.boxCode);
    in.months = group && group->monCnt > 0 ? group->monCnt : 1;
    in.endDate = rentalEndDate(in.startDate, in.months);
    in.deposit = 0;
    in.fee = group ? group->fee : 0;
    return in;
}

Outcome renewLocker(const AppContext &ctx, const RentalInput &in)
{
    const Db &db = ctx.main;
    if (auto refusal = checkPeriod(in.rqDate, in.startDate, in.endDate, in.months, in.deposit, in.fee))
        return *refusal;
    const LockerStamp st = lockerStamp(ctx);
    return db.transaction([&] {
        const auto locker = lockLocker(db, in.locker);
        if (!locker)
            return noSuchLocker(renewTitle());
        if (!locker->rented() || locker->mbCode.isEmpty() || locker->mbCode != in.mbCode.trimmed())
            return notMembersLocker(renewTitle());
        db.exec(QStringLiteral("UPDATE PerBoxS SET StDate = ?, EndDate = ?, MonCnt = ?, LastUser = ?, LastDate = ?, "
                               "LastTime = ? WHERE BoxCode = ? AND BoxNum = ? AND MbCode = ?"),
                {in.startDate, in.endDate, in.months, st.user, st.date, st.time, in.locker.boxCode.trimmed(),
                 in.locker.boxNum, locker->mbCode});
        const qint64 rqid = insertRequest(db,
                                          {in.rqDate, locker->mbCode, in.locker, rq::kRenew, in.startDate, in.endDate,
                                           in.months, in.deposit, in.fee, 0},
                                          st);
        return Outcome::done(rqid).info(QStringLiteral("사물함 사용기간 연장이 완료되었습니다."), renewTitle());
    });
}

std::optional<LockerRequest> findLockerRequest(const Db &db, qint64 rqid)
{
    const auto r = db.queryOne(QStringLiteral("SELECT R.*, P.BoxName, M.MbName FROM RqPerBox R "
                                              "LEFT JOIN PerBox P ON P.BoxCode = R.BoxCode "
                                              "LEFT JOIN Member M ON M.MbCode = R.MbCode WHERE R.Rqid = ?"),
                               {rqid});
    if (!r)
        return std::nullopt;
    LockerRequest q;
    q.rqid = r->num(QStringLiteral("Rqid"));
    q.rqDate = r->str(QStringLiteral("RqDate"));
    q.mbCode = r->str(QStringLiteral("MbCode")).trimmed();
    q.mbName = r->str(QStringLiteral("MbName"));
    q.locker = {r->str(QStringLiteral("BoxCode")).trimmed(), r->num(QStringLiteral("RqBox"))};
    q.boxName = r->str(QStringLiteral("BoxName"));
    q.rqGubun = r->str(QStringLiteral("RqGubun")).trimmed();
    q.useDate1 = r->str(QStringLiteral("UseDate1"));
    q.useDate2 = r->str(QStringLiteral("UseDate2"));
    q.fDate = r->str(QStringLiteral("fDate"));
    q.monCnt = int(r->num(QStringLiteral("MonCnt")));
    q.samt = r->num(QStringLiteral("Samt"));
    q.uamt = r->num(QStringLiteral("Uamt"));
    q.ramt = r->num(QStringLiteral("Ramt"));
    return q;
}

QString correctionCaption(const QString &rqGubun)
{
    if (rqGubun.trimmed() == rq::kRenew)
        return QStringLiteral(" 사물함 재등록(수정) ");
    return QStringLiteral(" 사물함 신청(수정) ");
}

Outcome correctLockerRequest(const AppContext &ctx, const CorrectionInput &in)
{
    const Db &db = ctx.main;
    if (auto refusal = checkPeriod(in.rqDate, in.startDate, in.endDate, in.months, in.deposit, in.fee))
        return *refusal;
    const LockerStamp st = lockerStamp(ctx);
    return db.transaction([&] {
        const auto row = db.queryOne(QStringLiteral("SELECT MbCode, BoxCode, RqBox, RqGubun, UseDate1, UseDate2 "
                                                    "FROM RqPerBox WHERE Rqid = ?")
                                         + db.forUpdate(),
                                     {in.rqid});
        if (!row)
            return Outcome::refused(QStringLiteral("해당자료를 찾을수 없읍니다"), correctTitle());
        const QString kind = row->str(QStringLiteral("RqGubun")).trimmed();
        if (kind != rq::kNew && kind != rq::kRenew)
            return Outcome::refused(QStringLiteral("신청 또는 재등록 내역만 수정할수 있습니다."), correctTitle());
        const QString mbCode = row->str(QStringLiteral("MbCode")).trimmed();
        const QString old1 = row->str(QStringLiteral("UseDate1")), old2 = row->str(QStringLiteral("UseDate2"));

        // Where the period lives now: the row's locker, or the locker the
        // rental last moved to.
        LockerKey at{row->str(QStringLiteral("BoxCode")).trimmed(), row->num(QStringLiteral("RqBox"))};
        if (const auto moved = db.queryOne(QStringLiteral("SELECT BoxCode, RqBox FROM RqPerBox WHERE MbCode = ? "
                                                          "AND RqGubun = '2' AND UseDate1 = ? AND UseDate2 = ? "
                                                          "AND Rqid > ? ORDER BY Rqid DESC LIMIT 1"),
                                           {mbCode, old1, old2, in.rqid}))
            at = {moved->str(QStringLiteral("BoxCode")).trimmed(), moved->num(QStringLiteral("RqBox"))};

        db.exec(QStringLiteral("UPDATE RqPerBox SET RqDate = ?, MonCnt = ?, UseDate1 = ?, UseDate2 = ?, Samt = ?, "
                               "Uamt = ?, LastUser = ?, LastDate = ?, LastTime = ? WHERE Rqid = ?"),
                {in.rqDate, in.months, in.startDate, in.endDate, in.deposit, in.fee, st.user, st.date, st.time,
                 in.rqid});
        // The moves of this period carry its dates along.
        db.exec(QStringLiteral("UPDATE RqPerBox SET UseDate1 = ?, UseDate2 = ?, MonCnt = ? WHERE MbCode = ? "
                               "AND RqGubun = '2' AND UseDate1 = ? AND UseDate2 = ? AND Rqid > ?"),
                {in.startDate, in.endDate, in.months, mbCode, old1, old2, in.rqid});
        // The locker, when this is the period it is rented for.
        db.exec(QStringLiteral("UPDATE PerBoxS SET MonCnt = ?, StDate = ?, EndDate = ?, LastUser = ?, LastDate = ?, "
                               "LastTime = ? WHERE BoxCode = ? AND BoxNum = ? AND UUse = '1' AND MbCode = ? "
                               "AND StDate = ? AND EndDate = ?"),
                {in.months, in.startDate, in.endDate, st.user, st.date, st.time, at.boxCode, at.boxNum, mbCode, old1,
                 old2});
        return Outcome::done(in.rqid).info(QStringLiteral("사물함 자료를 수정하였읍니다.."), correctTitle());
    });
}

QString moveQuestion(const QString &fromGroup, qint64 fromNum, const QString &toGroup, qint64 toNum)
{
    return fromGroup + QLatin1Char(' ') + boxNumText(fromNum) + QStringLiteral(" 번 개인사물함을 ") + toGroup
        + QLatin1Char(' ') + boxNumText(toNum) + QStringLiteral(" 번 개인사물함으로 변경하시겠습니까?");
}

Outcome moveLocker(const AppContext &ctx, const MoveInput &in)
{
    const Db &db = ctx.main;
    const QString refuseTitle = QStringLiteral("변경불가");
    if (!isValidDateText(in.rqDate))
        return Outcome::refused(QStringLiteral("신청일자를 확인하여 주십시요."), QStringLiteral("신청일자"),
                                RentalFieldRqDate);
    if (!in.to.isValid())
        return Outcome::refused(QStringLiteral("변경할 사물함을 선택하여 주십시요."), QStringLiteral("사물함선택"),
                                RentalFieldLocker);
    if (in.to == in.from)
        return Outcome::refused(QStringLiteral("같은 사물함으로는 변경할수 없습니다."), refuseTitle, RentalFieldLocker);
    const LockerStamp st = lockerStamp(ctx);
    const QString mbCode = in.mbCode.trimmed();
    return db.transaction([&] {
        lockPair(db, in.from, in.to);
        const auto from = lockLocker(db, in.from);
        if (!from || !from->rented() || from->mbCode.isEmpty() || from->mbCode != mbCode)
            return notMembersLocker(moveTitle());
        const auto to = lockLocker(db, in.to);
        if (!to)
            return noSuchLocker(refuseTitle);
        if (to->uUse.trimmed() != QLatin1String("0"))
            return to->mbCode == mbCode ? memberHasIt(mbCode) : lockerTaken(refuseTitle);
        if (!freeLocker(db, in.from, mbCode, st) || !takeLocker(db, in.to, mbCode, from->stDate, from->endDate,
                                                                 from->monCnt, st))
            return lockerTaken(refuseTitle);
        const qint64 rqid = insertRequest(
            db, {in.rqDate, mbCode, in.to, rq::kMove, from->stDate, from->endDate, from->monCnt, 0, 0, 0}, st);
        return Outcome::done(rqid).info(QStringLiteral("사물함 변경작업이 완료되었습니다."), moveTitle());
    });
}

QString cancelQuestion(const QString &groupName, qint64 boxNum)
{
    return groupName + QLatin1Char(' ') + boxNumText(boxNum) + QStringLiteral(" 번 개인사물함을 취소하시겠습니까?");
}

Outcome cancelLocker(const AppContext &ctx, const CancelInput &in)
{
    const Db &db = ctx.main;
    if (!isValidDateText(in.rqDate))
        return Outcome::refused(QStringLiteral("신청일자를 확인하여 주십시요."), QStringLiteral("신청일자"),
                                RentalFieldRqDate);
    if (in.refund < 0)
        return Outcome::refused(QStringLiteral("환불금액을 확인하여 주십시요."), cancelTitle(), RentalFieldRefund);
    const LockerStamp st = lockerStamp(ctx);
    const QString mbCode = in.mbCode.trimmed();
    return db.transaction([&] {
        const auto locker = lockLocker(db, in.locker);
        if (!locker)
            return noSuchLocker(cancelTitle());
        if (!locker->rented() || locker->mbCode.isEmpty() || locker->mbCode != mbCode)
            return notMembersLocker(cancelTitle());
        freeLocker(db, in.locker, mbCode, st);
        const qint64 rqid = insertRequest(db,
                                          {in.rqDate, mbCode, in.locker, rq::kCancel, locker->stDate, locker->endDate,
                                           locker->monCnt, 0, 0, in.refund},
                                          st);
        return Outcome::done(rqid).info(QStringLiteral("사물함 사용이 취소 되었습니다."), cancelTitle());
    });
}

QString releaseRefundQuestion(qint64 refund)
{
    return QStringLiteral("보증금 %1원을 반환하시겠습니까?").arg(wonText(refund));
}

Outcome releaseLocker(const AppContext &ctx, const LockerKey &locker, qint64 refund)
{
    const Db &db = ctx.main;
    if (refund < 0)
        return Outcome::refused(QStringLiteral("환불금액을 확인하여 주십시요."), releaseTitle(), RentalFieldRefund);
    const LockerStamp st = lockerStamp(ctx);
    return db.transaction([&] {
        const auto l = lockLocker(db, locker);
        if (!l || !l->rented())
            return Outcome::refused(alreadyReleasedText(), releaseTitle());
        freeLocker(db, locker, l->mbCode, st);
        const qint64 rqid = insertRequest(
            db, {st.date, l->mbCode, locker, rq::kRelease, l->stDate, l->endDate, l->monCnt, 0, 0, refund}, st);
        return Outcome::done(rqid);
    });
}

} // namespace fitrova
