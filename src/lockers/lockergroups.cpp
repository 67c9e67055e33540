#include "lockers/lockergroups.h"

#include "data/numbering.h"
#include "foundation/appcontext.h"
#include "lockers/lockertexts.h"

#include <QStringList>

namespace fitrova {

namespace {

// Numeric codes in the order of their value ("9" before "10"); other codes
// by their text among codes of the same length.
const QString kGroupOrder = QStringLiteral(" ORDER BY LENGTH(BoxCode), BoxCode");

LockerGroup groupOf(const Row &r)
{
    LockerGroup g;
    g.code = r.str(QStringLiteral("BoxCode")).trimmed();
    g.name = r.str(QStringLiteral("BoxName"));
    g.course = r.str(QStringLiteral("Course")).trimmed();
    g.deposit = r.num(QStringLiteral("Samt"));
    g.fee = r.num(QStringLiteral("Uamt"));
    g.monCnt = int(r.num(QStringLiteral("MonCnt")));
    return g;
}

Outcome numbersRefused()
{
    return Outcome::refused(QStringLiteral("사물함 번호를 확인하여 주십시요."), QStringLiteral("번호확인"),
                            GroupFieldFrom);
}

// A range of locker numbers as typed: both 0 is no range.
bool validRange(qint64 from, qint64 to)
{
    return from >= 1 && to >= from && to <= kMaxLockerNumber && to - from + 1 <= kMaxLockersAtOnce;
}

// "12번, 40번 외 3개" for the numbers of rented lockers in a refusal.
QString numbersText(const Rows &rows)
{
    QStringList shown;
    for (int i = 0; i < rows.size() && i < 5; ++i)
        shown << QString::number(rows[i].num(QStringLiteral("BoxNum"))) + QStringLiteral("번");
    QString t = shown.join(QStringLiteral(", "));
    if (rows.size() > 5)
        t += QStringLiteral(" 외 %1개").arg(rows.size() - 5);
    return t;
}

void insertLockers(const Db &db, const QString &code, qint64 from, qint64 to, const QList<qint64> &existing = {})
{
    const QString sql = QStringLiteral("INSERT INTO PerBoxS (BoxCode, BoxNum, State, UUse) VALUES (?, ?, '0', '0')");
    for (qint64 n = from; n <= to; ++n)
        if (!existing.contains(n))
            db.exec(sql, {code, n});
}

// The refusal of a range that would take away rented lockers of the group
// (those outside it); the lockers are read locked.
std::optional<Outcome> rentedOutsideRange(const Db &db, const QString &code, qint64 from, qint64 to)
{
    const Rows rentedOutside = db.query(QStringLiteral("SELECT BoxNum FROM PerBoxS WHERE BoxCode = ? AND UUse = '1' "
                                                       "AND (BoxNum < ? OR BoxNum > ?) ORDER BY BoxNum")
                                            + db.forUpdate(),
                                        {code, from, to});
    if (rentedOutside.isEmpty())
        return std::nullopt;
    return Outcome::refused(QStringLiteral("사용중인 사물함(%1)이 있어 번호를 다시 생성할수 없습니다.\n"
                                           "사용중인 번호가 들어가도록 범위를 정하여 주십시요.")
                                .arg(numbersText(rentedOutside)),
                            replaceNumbersTitle(), GroupFieldFrom);
}

// Makes the group's lockers exactly the numbers from..to: free lockers
// outside the range go, missing numbers are added, lockers in the range stay
// as they are. Check rentedOutsideRange first.
void applyRange(const Db &db, const QString &code, qint64 from, qint64 to)
{
    db.exec(QStringLiteral("DELETE FROM PerBoxS WHERE BoxCode = ? AND COALESCE(UUse, '0') <> '1' "
                           "AND (BoxNum < ? OR BoxNum > ?)"),
            {code, from, to});
    QList<qint64> kept;
    for (const Row &r : db.query(QStringLiteral("SELECT BoxNum FROM PerBoxS WHERE BoxCode = ?"), {code}))
        kept << r.num(QStringLiteral("BoxNum"));
    insertLockers(db, code, from, to, kept);
}

bool lockerRowsInRange(const Db &db, const QString &code, qint64 from, qint64 to)
{
    return db.scalar(QStringLiteral("SELECT 1 FROM PerBoxS WHERE BoxCode = ? AND BoxNum >= ? AND BoxNum <= ? LIMIT 1"),
                     {code, from, to})
        .isValid();
}

Outcome duplicateCode()
{
    return Outcome::refused(QStringLiteral("이미 등록된 자료입니다."), QStringLiteral("BoxCode"), GroupFieldCode);
}

} // namespace

QString lockerRangeText(int lockers, qint64 minNum, qint64 maxNum)
{
    if (lockers <= 0)
        return QStringLiteral("-");
    return QString::number(minNum) + QStringLiteral(" - ") + QString::number(maxNum);
}

QList<LockerGroup> lockerGroups(const Db &db)
{
    QList<LockerGroup> out;
    for (const Row &r : db.query(QStringLiteral("SELECT BoxCode, BoxName, Course, Samt, Uamt, MonCnt FROM PerBox")
                                 + kGroupOrder))
        out << groupOf(r);
    return out;
}

QList<LockerGroupLine> lockerGroupLines(const Db &db)
{
    QList<LockerGroupLine> out;
    const Rows rows = db.query(
        QStringLiteral("SELECT P.BoxCode, P.BoxName, P.Course, P.Samt, P.Uamt, P.MonCnt, C.Name AS CourseName, "
                       "S.Cnt, S.Rented, S.MinNum, S.MaxNum FROM PerBox P "
                       "LEFT JOIN Course C ON C.PsGroup = 'P' AND C.Code = P.Course LEFT JOIN "
                       "(SELECT BoxCode, COUNT(*) AS Cnt, SUM(CASE WHEN UUse = '1' THEN 1 ELSE 0 END) AS Rented, "
                       "MIN(BoxNum) AS MinNum, MAX(BoxNum) AS MaxNum FROM PerBoxS GROUP BY BoxCode) S "
                       "ON S.BoxCode = P.BoxCode ORDER BY LENGTH(P.BoxCode), P.BoxCode"));
    for (const Row &r : rows) {
        LockerGroupLine l;
        l.group = groupOf(r);
        l.courseName = r.str(QStringLiteral("CourseName"));
        l.lockers = int(r.num(QStringLiteral("Cnt")));
        l.rented = int(r.num(QStringLiteral("Rented")));
        l.minNum = r.num(QStringLiteral("MinNum"));
        l.maxNum = r.num(QStringLiteral("MaxNum"));
        out << l;
    }
    return out;
}

std::optional<LockerGroup> findLockerGroup(const Db &db, const QString &code)
{
    const auto r = db.queryOne(
        QStringLiteral("SELECT BoxCode, BoxName, Course, Samt, Uamt, MonCnt FROM PerBox WHERE BoxCode = ?"),
        {code.trimmed()});
    if (!r)
        return std::nullopt;
    return groupOf(*r);
}

std::optional<std::pair<qint64, qint64>> lockerNumberRange(const Db &db, const QString &code)
{
    const auto r = db.queryOne(QStringLiteral("SELECT COUNT(*) AS Cnt, MIN(BoxNum) AS MinNum, MAX(BoxNum) AS MaxNum "
                                              "FROM PerBoxS WHERE BoxCode = ?"),
                               {code.trimmed()});
    if (!r || r->num(QStringLiteral("Cnt")) == 0)
        return std::nullopt;
    return std::make_pair(r->num(QStringLiteral("MinNum")), r->num(QStringLiteral("MaxNum")));
}

QString nextLockerGroupCode(const Db &db)
{
    return nextNumber(db, QStringLiteral("PerBox"), QStringLiteral("BoxCode"), 1);
}

LockerGroupSave saveLockerGroup(const AppContext &ctx, const LockerGroupInput &in, ExistingNumbers existing)
{
    const Db &db = ctx.main;
    LockerGroupSave result;
    LockerGroup g = in.group;
    g.code = g.code.trimmed();
    g.name = g.name.trimmed();
    g.course = g.course.trimmed().left(1);
    if (g.name.isEmpty()) {
        result.outcome = Outcome::refused(QStringLiteral("자료저장중 오류가 발생하였습니다."),
                                          QStringLiteral("사물함명을 입력하세요.."), GroupFieldName);
        return result;
    }
    if (g.deposit < 0 || g.fee < 0) {
        result.outcome =
            Outcome::refused(QStringLiteral("금액을 확인하여 주십시요."), QStringLiteral("금액확인"), GroupFieldDeposit);
        return result;
    }

    if (in.jobGubun == QLatin1String("C")) {
        const int n = db.transaction([&] {
            return db.exec(QStringLiteral("UPDATE PerBox SET BoxName = ?, Course = ?, MonCnt = 1, Samt = ?, Uamt = ? "
                                          "WHERE BoxCode = ?"),
                           {g.name, g.course, g.deposit, g.fee, g.code});
        });
        result.outcome = n > 0 ? Outcome::done(0, g.code).info(QStringLiteral("수정되었읍니다"), lockerGroupTitle())
                               : Outcome::refused(QStringLiteral("수정할 사물함코드가 없습니다."),
                                                  QStringLiteral("수정오류"), GroupFieldCode);
        return result;
    }

    const bool withNumbers = in.numFrom != 0 || in.numTo != 0;
    if (withNumbers && !validRange(in.numFrom, in.numTo)) {
        result.outcome = numbersRefused();
        return result;
    }
    if (g.code.size() > 4) {
        result.outcome = duplicateCode();
        return result;
    }

    try {
        result = db.transaction([&]() -> LockerGroupSave {
            LockerGroupSave r;
            if (g.code.isEmpty())
                g.code = nextLockerGroupCode(db);
            else if (db.scalar(QStringLiteral("SELECT 1 FROM PerBox WHERE BoxCode = ?") + db.forUpdate(), {g.code})
                         .isValid()) {
                r.outcome = duplicateCode();
                return r;
            }
            if (withNumbers && existing == ExistingNumbers::Ask && lockerRowsInRange(db, g.code, in.numFrom, in.numTo)) {
                r.askReplace = true;
                return r;
            }
            const bool numbers = withNumbers && existing != ExistingNumbers::Keep;
            if (numbers) {
                if (auto refusal = rentedOutsideRange(db, g.code, in.numFrom, in.numTo)) {
                    r.outcome = *refusal;
                    return r;
                }
            }
            db.exec(QStringLiteral("INSERT INTO PerBox (BoxCode, BoxName, Course, Samt, Uamt, MonCnt) "
                                   "VALUES (?, ?, ?, ?, ?, 1)"),
                    {g.code, g.name, g.course, g.deposit, g.fee});
            if (numbers)
                applyRange(db, g.code, in.numFrom, in.numTo);
            r.outcome = Outcome::done(0, g.code).info(savedText(), lockerGroupTitle());
            return r;
        });
    } catch (const DbError &e) {
        // Another desk stored a group under this code a moment ago.
        if (!e.isUniqueViolation())
            throw;
        result = LockerGroupSave{duplicateCode(), false};
    }
    return result;
}

Outcome checkLockerGroupDelete(const Db &db, const QString &code)
{
    if (db.scalar(QStringLiteral("SELECT 1 FROM PerBoxS WHERE BoxCode = ? AND UUse = '1' LIMIT 1"), {code.trimmed()})
            .isValid())
        return Outcome::refused(QStringLiteral("사용중인 사물함은 삭제할수 없읍니다."), QStringLiteral("삭제오류"));
    return Outcome::pass();
}

Outcome deleteLockerGroup(const AppContext &ctx, const QString &code)
{
    const Db &db = ctx.main;
    return db.transaction([&] {
        // The group's lockers are read locked, so that no rental slips in
        // between the check and the deletion.
        db.query(QStringLiteral("SELECT BoxNum FROM PerBoxS WHERE BoxCode = ?") + db.forUpdate(), {code.trimmed()});
        const Outcome check = checkLockerGroupDelete(db, code);
        if (!check)
            return check;
        db.exec(QStringLiteral("DELETE FROM PerBoxS WHERE BoxCode = ?"), {code.trimmed()});
        db.exec(QStringLiteral("DELETE FROM PerBox WHERE BoxCode = ?"), {code.trimmed()});
        return Outcome::done(0, code.trimmed());
    });
}

QList<LockerLine> lockerLines(const Db &db, const QString &code)
{
    QList<LockerLine> out;
    const Rows rows = db.query(QStringLiteral("SELECT S.BoxCode, S.BoxNum, S.UUse, S.MbCode, M.MbName, S.StDate, "
                                              "S.EndDate FROM PerBoxS S LEFT JOIN Member M ON M.MbCode = S.MbCode "
                                              "WHERE S.BoxCode = ? ORDER BY S.BoxNum"),
                               {code.trimmed()});
    for (const Row &r : rows)
        out << LockerLine{r.str(QStringLiteral("BoxCode")), r.num(QStringLiteral("BoxNum")),
                          r.str(QStringLiteral("UUse")),    r.str(QStringLiteral("MbCode")),
                          r.str(QStringLiteral("MbName")),  r.str(QStringLiteral("StDate")),
                          r.str(QStringLiteral("EndDate"))};
    return out;
}

Outcome makeLockerNumbers(const AppContext &ctx, const QString &code, qint64 from, qint64 to)
{
    const Db &db = ctx.main;
    if (!validRange(from, to))
        return numbersRefused();
    const Outcome taken = Outcome::refused(QStringLiteral("이미 생성된 번호가 있습니다.다시 한번 번호를 확인하십시요."),
                                           QStringLiteral("번호확인"), GroupFieldFrom);
    try {
        return db.transaction([&] {
            if (!db.scalar(QStringLiteral("SELECT 1 FROM PerBox WHERE BoxCode = ?") + db.forUpdate(), {code.trimmed()})
                     .isValid())
                return Outcome::refused(QStringLiteral("사물함코드를 먼저 만든후 번호를 생성하세요"),
                                        QStringLiteral("번호생성"));
            if (lockerRowsInRange(db, code.trimmed(), from, to))
                return taken;
            insertLockers(db, code.trimmed(), from, to);
            return Outcome::done(0, code.trimmed()).info(QStringLiteral("번호가 생성되었습니다."),
                                                          QStringLiteral("번호생성"));
        });
    } catch (const DbError &e) {
        // Another desk made some of these numbers a moment ago.
        if (!e.isUniqueViolation())
            throw;
        return taken;
    }
}

Outcome setLockerInUse(const AppContext &ctx, const QString &code, qint64 num, bool inUse)
{
    const Db &db = ctx.main;
    const LockerStamp st = lockerStamp(ctx);
    return db.transaction([&] {
        const auto r = db.queryOne(QStringLiteral("SELECT UUse, MbCode FROM PerBoxS WHERE BoxCode = ? AND BoxNum = ?")
                                       + db.forUpdate(),
                                   {code.trimmed(), num});
        if (!r)
            return Outcome::refused(QStringLiteral("해당 사물함을 찾을수 없습니다."), QStringLiteral("수정오류"));
        const bool rented = isRentedFlag(r->str(QStringLiteral("UUse")));
        if (rented == inUse)
            return Outcome::done();
        if (!inUse && !r->str(QStringLiteral("MbCode")).trimmed().isEmpty())
            return Outcome::refused(QStringLiteral("회원이 사용중인 사물함입니다.\n"
                                                   "사물함취소 또는 사물함현황의 해지로 사용을 끝내십시요."),
                                    QStringLiteral("수정불가"));
        db.exec(QStringLiteral("UPDATE PerBoxS SET UUse = ?, MbCode = '', StDate = '', EndDate = '', MonCnt = 0, "
                               "LastUser = ?, LastDate = ?, LastTime = ? WHERE BoxCode = ? AND BoxNum = ?"),
                {inUse ? QStringLiteral("1") : QStringLiteral("0"), st.user, st.date, st.time, code.trimmed(), num});
        return Outcome::done();
    });
}

Outcome checkLockerDelete(const Db &db, const QString &code, qint64 num)
{
    const QVariant use =
        db.scalar(QStringLiteral("SELECT UUse FROM PerBoxS WHERE BoxCode = ? AND BoxNum = ?"), {code.trimmed(), num});
    if (use.isValid() && isRentedFlag(use.toString()))
        return Outcome::refused(QStringLiteral("사용중인 사물함번호는 삭제할수 없습니다."), QStringLiteral("삭제불가"));
    return Outcome::pass();
}

Outcome deleteLocker(const AppContext &ctx, const QString &code, qint64 num)
{
    const Db &db = ctx.main;
    return db.transaction([&] {
        // Only a free locker goes; one rented meanwhile stays.
        if (db.exec(QStringLiteral("DELETE FROM PerBoxS WHERE BoxCode = ? AND BoxNum = ? AND COALESCE(UUse, '0') <> '1'"),
                    {code.trimmed(), num})
            > 0)
            return Outcome::done();
        return checkLockerDelete(db, code, num);
    });
}

} // namespace fitrova
