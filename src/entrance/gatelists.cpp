#include "entrance/gatelists.h"

#include "data/codetexts.h"
#include "data/dates.h"
#include "data/lookups.h"
#include "entrance/checkout.h"
#include "members/searchtext.h"

#include <QHash>

namespace fitrova {

namespace {

const QString kPeriod = QStringLiteral("1");
const QString kTime = QStringLiteral("2");

// Names of goods classes and small classes (group "S"), looked up once per list.
class ItemClassNames {
public:
    explicit ItemClassNames(const Db &db) : m_db(db) {}
    QString course(const QString &code)
    {
        if (code.isEmpty())
            return {};
        auto it = m_course.find(code);
        if (it == m_course.end())
            it = m_course.insert(code, getCourseName(m_db, code, QStringLiteral("S")));
        return *it;
    }
    QString sclass(const QString &course, const QString &sclass)
    {
        if (course.isEmpty())
            return {};
        const QString key = course + QLatin1Char('|') + sclass;
        auto it = m_sclass.find(key);
        if (it == m_sclass.end())
            it = m_sclass.insert(key, getSclassName(m_db, QStringLiteral("S"), course, sclass));
        return *it;
    }

private:
    const Db &m_db;
    QHash<QString, QString> m_course, m_sclass;
};

QString remainText(const QString &pgGubun, qint64 pgCnt, qint64 uPgCnt, qint64 cancel, const QString &dDate2,
                   const QDate &today)
{
    if (pgGubun == kTime)
        return minutesText(int(pgCnt - uPgCnt));
    return QString::number(lectureRemainDays(cancel, dDate2, today)) + QStringLiteral("일");
}

GateItem itemOf(const Row &r, ItemClassNames &names)
{
    const QString course = r.str(QStringLiteral("Course"));
    return GateItem{r.num(QStringLiteral("ItId")), names.course(course),
                    names.sclass(course, r.str(QStringLiteral("Sclass"))), r.str(QStringLiteral("ItName")),
                    r.str(QStringLiteral("BarCode"))};
}

std::optional<GateItem> itemWhere(const Db &db, const QString &where, const Params &params)
{
    const auto r = db.queryOne(
        QStringLiteral("SELECT ItId, Course, Sclass, ItName, BarCode FROM Item WHERE ") + where
            + QStringLiteral(" ORDER BY ItId LIMIT 1"),
        params);
    if (!r)
        return std::nullopt;
    ItemClassNames names(db);
    return itemOf(*r, names);
}

} // namespace

QStringList gateLectureHeaders()
{
    return {QStringLiteral("분류"), QStringLiteral("신청일자"), QStringLiteral("내역"), QStringLiteral("개월"),
            QStringLiteral("시작일"), QStringLiteral("만기일"), QStringLiteral("잔여시간(일수)"),
            QStringLiteral("비고")};
}

QList<GateLectureLine> loadGateLectures(const Db &db, const QString &mbCode, const QDate &today)
{
    const Rows rows = db.query(
        QStringLiteral("SELECT L.Ltid, L.LtGubun, L.PgGubun, L.RqDate, L.Sdate1, L.Sdate2, L.ddate2, L.MonthCnt, "
                       "L.PgCnt, L.uPgCnt, L.Delay, L.Cancel, L.Transfer, L.Change, L.Remark, "
                       "L.PgName AS LtPgName, P.Pgid AS ProgId, P.PgName, C.Name AS CourseName "
                       "FROM Lecture L LEFT JOIN Program P ON P.Pgid = L.Pgid "
                       "JOIN Course C ON C.Code = L.Course AND C.PsGroup = 'P' "
                       "WHERE L.MbCode = ? AND L.Sdate1 <= ? AND L.Sdate2 >= ? AND L.PgGubun <> '3' "
                       "AND L.LtGubun < '3' ORDER BY L.RqDate DESC, L.Ltid DESC"),
        {mbCode, fmtDate(today), fmtDate(today.addDays(-10))});
    QList<GateLectureLine> out;
    out.reserve(rows.size());
    for (const Row &r : rows) {
        const QString pgGubun = r.str(QStringLiteral("PgGubun"));
        const QString ltGubun = r.str(QStringLiteral("LtGubun"));
        const QString remark = ltGubun == QLatin1String("1")
                                   ? lectureStateRemark(r.num(QStringLiteral("Delay")), r.num(QStringLiteral("Cancel")),
                                                        r.num(QStringLiteral("Transfer")),
                                                        r.num(QStringLiteral("Change")), ltGubun)
                                   : r.str(QStringLiteral("Remark"));
        const qint64 months = r.num(QStringLiteral("MonthCnt"));
        out.append({r.num(QStringLiteral("Ltid")), pgGubun,
                    {r.str(QStringLiteral("CourseName")), r.str(QStringLiteral("RqDate")),
                     r.isNull(QStringLiteral("ProgId")) ? r.str(QStringLiteral("LtPgName"))
                                                        : r.str(QStringLiteral("PgName")),
                     months > 0 ? QString::number(months) : QString(), r.str(QStringLiteral("Sdate1")),
                     r.str(QStringLiteral("Sdate2")),
                     remainText(pgGubun, r.num(QStringLiteral("PgCnt")), r.num(QStringLiteral("uPgCnt")),
                                r.num(QStringLiteral("Cancel")), r.str(QStringLiteral("ddate2")), today),
                     remark}});
    }
    return out;
}

QStringList visitHistoryHeaders()
{
    return {QStringLiteral("일자"), QStringLiteral("프로그램"), QStringLiteral("입장"), QStringLiteral("퇴장"),
            QStringLiteral("사용시간"), QStringLiteral("바코드"), QStringLiteral("분류1"), QStringLiteral("분류2"),
            QStringLiteral("교구명"), QStringLiteral("잔여시간")};
}

QList<VisitHistoryLine> visitHistoryLines(const Db &db, const QList<MemberVisit> &visits)
{
    ItemClassNames names(db);
    QList<VisitHistoryLine> out;
    out.reserve(visits.size());
    for (const MemberVisit &v : visits) {
        const bool timed = v.pgGubun == kTime;
        const bool closed = !v.outTime.trimmed().isEmpty();
        const QString used = timed && closed ? minutesText(int(v.uTime)) : QString();
        const QString remain = timed ? minutesText(int(v.pgCnt - v.uPgCnt)) : QString();
        const QList<LentItem> items = v.items.isEmpty() ? QList<LentItem>{LentItem{}} : v.items;
        for (const LentItem &item : items)
            out.append({v.entid,
                        {v.inDate, v.pgName, v.inTime, v.outTime, used, item.barCode, names.course(item.course),
                         names.sclass(item.course, item.sclass), item.itName, remain}});
    }
    return out;
}

QStringList dayListHeaders()
{
    return {QStringLiteral("일자"),     QStringLiteral("입장"),     QStringLiteral("퇴장"),
            QStringLiteral("회원코드"), QStringLiteral("회원명"),   QStringLiteral("성별"),
            QStringLiteral("나이"),     QStringLiteral("보호자"),   QStringLiteral("연락처"),
            QStringLiteral("프로그램"), QStringLiteral("사용교구"), QStringLiteral("사용시간"),
            QStringLiteral("잔여일(시간)"), QStringLiteral("참조사항"), QStringLiteral("회원카드")};
}

namespace {

// The lines of the visits chosen by `where` (on entrance E, one bound value).
QList<DayListLine> dayListLines(const Db &db, const QString &where, const QVariant &value, const QDate &today)
{
    const Rows rows = db.query(
        QStringLiteral("SELECT E.Entid, E.InDate, E.InTime, E.OutTime, E.MbCode, E.MbCard, E.PgGubun, E.uTime, "
                       "E.Memo, M.MbName, M.Sex, M.Age, M.MbName1, M.Tel1, P.PgName, L.PgCnt, L.uPgCnt, "
                       "L.Cancel, L.ddate2 "
                       "FROM entrance E LEFT JOIN Member M ON M.MbCode = E.MbCode "
                       "LEFT JOIN Program P ON P.Pgid = E.Pgid "
                       "LEFT JOIN Lecture L ON L.Ltid = E.Ltid "
                       "WHERE ")
            + where + QStringLiteral(" ORDER BY E.InDate, E.InTime DESC, E.Entid"),
        {value});

    // The equipment of those visits, in one statement.
    QHash<qint64, QString> items;
    const Rows lent = db.query(QStringLiteral("SELECT T.Entid, I.ItName FROM ItemTrs T "
                                              "JOIN entrance E ON E.Entid = T.Entid "
                                              "LEFT JOIN Item I ON I.ItId = T.ItId "
                                              "WHERE ") +
                                   where + QStringLiteral(" ORDER BY T.Entid, T.Id"),
                               {value});
    for (const Row &r : lent) {
        QString &names = items[r.num(QStringLiteral("Entid"))];
        if (!names.isEmpty())
            names += QLatin1Char(',');
        names += r.str(QStringLiteral("ItName"));
    }

    QList<DayListLine> out;
    out.reserve(rows.size());
    for (const Row &r : rows) {
        const qint64 entid = r.num(QStringLiteral("Entid"));
        const QString pgGubun = r.str(QStringLiteral("PgGubun"));
        const bool timed = pgGubun == kTime;
        const QString outTime = r.str(QStringLiteral("OutTime")).trimmed();
        QString remain;
        if (!r.isNull(QStringLiteral("PgCnt")))
            remain = remainText(pgGubun, r.num(QStringLiteral("PgCnt")), r.num(QStringLiteral("uPgCnt")),
                                r.num(QStringLiteral("Cancel")), r.str(QStringLiteral("ddate2")), today);
        const QString age = r.isNull(QStringLiteral("Age")) ? QString() : QString::number(r.num(QStringLiteral("Age")));
        DayListLine line;
        line.entid = entid;
        line.open = outTime.isEmpty();
        line.cells = QStringList{r.str(QStringLiteral("InDate")),
                                 r.str(QStringLiteral("InTime")),
                                 outTime,
                                 r.str(QStringLiteral("MbCode")),
                                 r.str(QStringLiteral("MbName")),
                                 r.str(QStringLiteral("Sex")),
                                 age,
                                 r.str(QStringLiteral("MbName1")),
                                 r.str(QStringLiteral("Tel1")),
                                 r.str(QStringLiteral("PgName")),
                                 items.value(entid),
                                 timed && !outTime.isEmpty() ? minutesText(int(r.num(QStringLiteral("uTime"))))
                                                             : QString(),
                                 remain,
                                 r.str(QStringLiteral("Memo")),
                                 r.str(QStringLiteral("MbCard"))};
        out.append(std::move(line));
    }
    return out;
}

} // namespace

QList<DayListLine> loadDayList(const Db &db, const QString &date, bool openOnly, const QDate &today)
{
    return dayListLines(db,
                        openOnly ? QStringLiteral("E.InDate = ? AND (E.OutTime IS NULL OR E.OutTime = '')")
                                 : QStringLiteral("E.InDate = ?"),
                        date, today);
}

std::optional<DayListLine> loadDayListLine(const Db &db, qint64 entid, const QDate &today)
{
    const QList<DayListLine> lines = dayListLines(db, QStringLiteral("E.Entid = ?"), entid, today);
    if (lines.isEmpty())
        return std::nullopt;
    return lines.first();
}

bool dayListBefore(const QString &inTimeA, qint64 entidA, const QString &inTimeB, qint64 entidB)
{
    return inTimeA != inTimeB ? inTimeA > inTimeB : entidA < entidB;
}

bool deleteVisit(const Db &db, qint64 entid)
{
    return db.transaction([&] {
        const auto v = db.queryOne(QStringLiteral("SELECT MbCode, Ltid FROM entrance WHERE Entid = ?"), {entid});
        if (!v)
            return false;
        db.exec(QStringLiteral("DELETE FROM ItemTrs WHERE Entid = ?"), {entid});
        db.exec(QStringLiteral("DELETE FROM entrance WHERE Entid = ?"), {entid});
        recomputeVisitTotals(db, v->num(QStringLiteral("Ltid")), v->str(QStringLiteral("MbCode")));
        return true;
    });
}

std::optional<GateItem> findItemByBarcode(const Db &db, const QString &barCode)
{
    const QString code = barCode.trimmed();
    if (code.isEmpty())
        return std::nullopt;
    return itemWhere(db, QStringLiteral("BarCode = ?"), {code});
}

std::optional<GateItem> findItemById(const Db &db, qint64 itId)
{
    return itemWhere(db, QStringLiteral("ItId = ?"), {itId});
}

QList<GateItem> searchItems(const Db &db, const QString &text)
{
    const QString t = text.trimmed();
    QString sql = QStringLiteral("SELECT ItId, Course, Sclass, ItName, BarCode FROM Item");
    Params params;
    if (!t.isEmpty()) {
        const SqlCondition name = containsCondition(QStringLiteral("ItName"), t);
        sql += QStringLiteral(" WHERE ") + name.sql + QStringLiteral(" OR BarCode = ?");
        params = name.params;
        params << t;
    }
    sql += QStringLiteral(" ORDER BY ItName, ItId LIMIT 500");
    ItemClassNames names(db);
    QList<GateItem> items;
    for (const Row &r : db.query(sql, params))
        items.append(itemOf(r, names));
    return items;
}

} // namespace fitrova
