#include "members/membervisits.h"

#include <QHash>
#include <QStringList>
#include <algorithm>

namespace fitrova {

namespace {

// The columns of a page: the visit with its program and enrollment.
// `visits` is the inner SELECT that picks the page's visits in order, with
// its LIMIT; the joins by key keep that order's cost to the page alone.
QString pageStatement(const QString &visits, const QString &order)
{
    return QStringLiteral("SELECT E.Entid, E.InDate, E.InTime, E.OutTime, E.PgGubun, E.uTime, P.PgName, "
                          "L.PgCnt, L.uPgCnt FROM (") + visits + QStringLiteral(") E "
                          "LEFT JOIN Program P ON P.Pgid = E.Pgid "
                          "LEFT JOIN Lecture L ON L.Ltid = E.Ltid "
                          "ORDER BY ") + order;
}

const QString kVisitColumns =
    QStringLiteral("SELECT Entid, InDate, InTime, OutTime, PgGubun, uTime, Pgid, Ltid FROM entrance ");

// Dated visits after the cursor. The range on InDate lets the index start at
// the cursor's date instead of the member's newest visit.
Rows datedRows(const Db &db, const QString &mbCode, const VisitCursor &after, int limit)
{
    QString where = QStringLiteral("WHERE MbCode = ? AND InDate IS NOT NULL ");
    Params params{mbCode};
    if (!after.atStart) {
        where += QStringLiteral("AND InDate <= ? AND (InDate < ? OR (InDate = ? AND "
                                "(COALESCE(InTime, '') < ? OR (COALESCE(InTime, '') = ? AND Entid < ?)))) ");
        const QString time = after.inTime.isNull() ? QStringLiteral("") : after.inTime;
        params << after.inDate << after.inDate << after.inDate << time << time << after.entid;
    }
    params << limit;
    return db.query(pageStatement(kVisitColumns + where
                                      + QStringLiteral("ORDER BY InDate DESC, COALESCE(InTime, '') DESC, "
                                                       "Entid DESC LIMIT ?"),
                                  QStringLiteral("E.InDate DESC, COALESCE(E.InTime, '') DESC, E.Entid DESC")),
                    params);
}

// Visits without a date, newest id first, after the cursor's id.
Rows undatedRows(const Db &db, const QString &mbCode, qint64 afterEntid, int limit)
{
    QString where = QStringLiteral("WHERE MbCode = ? AND InDate IS NULL ");
    Params params{mbCode};
    if (afterEntid > 0) {
        where += QStringLiteral("AND Entid < ? ");
        params << afterEntid;
    }
    params << limit;
    return db.query(pageStatement(kVisitColumns + where + QStringLiteral("ORDER BY Entid DESC LIMIT ?"),
                                  QStringLiteral("E.Entid DESC")),
                    params);
}

void appendVisits(const Rows &rows, QList<MemberVisit> &out)
{
    for (const Row &r : rows) {
        MemberVisit v;
        v.entid = r.num(QStringLiteral("Entid"));
        v.inDate = r.str(QStringLiteral("InDate"));
        v.inTime = r.str(QStringLiteral("InTime"));
        v.outTime = r.str(QStringLiteral("OutTime"));
        v.pgGubun = r.str(QStringLiteral("PgGubun"));
        v.uTime = r.num(QStringLiteral("uTime"));
        v.pgName = r.str(QStringLiteral("PgName"));
        v.pgCnt = r.num(QStringLiteral("PgCnt"));
        v.uPgCnt = r.num(QStringLiteral("uPgCnt"));
        out.append(v);
    }
}

// The items lent on the page's visits, by the visits' ids (the ItemTrs
// index on Entid; a join here let PostgreSQL hash the whole table).
void addLentItems(const Db &db, QList<MemberVisit> &visits)
{
    if (visits.isEmpty())
        return;
    QHash<qint64, int> at;
    Params ids;
    QStringList marks;
    for (int i = 0; i < visits.size(); ++i) {
        at.insert(visits[i].entid, i);
        ids << visits[i].entid;
        marks << QStringLiteral("?");
    }
    const Rows rows = db.query(QStringLiteral("SELECT T.Entid, I.Course, I.Sclass, I.BarCode, I.ItName "
                                              "FROM ItemTrs T LEFT JOIN Item I ON I.ItId = T.ItId "
                                              "WHERE T.Entid IN (%1) ORDER BY T.Entid, T.Id")
                                   .arg(marks.join(QStringLiteral(", "))),
                               ids);
    for (const Row &r : rows) {
        const auto i = at.constFind(r.num(QStringLiteral("Entid")));
        if (i != at.constEnd())
            visits[*i].items.append(LentItem{r.str(QStringLiteral("Course")), r.str(QStringLiteral("Sclass")),
                                             r.str(QStringLiteral("BarCode")), r.str(QStringLiteral("ItName"))});
    }
}

} // namespace

qint64 countMemberVisits(const Db &db, const QString &mbCode)
{
    return db.scalar(QStringLiteral("SELECT COUNT(*) FROM entrance WHERE MbCode = ?"), {mbCode}).toLongLong();
}

MemberVisitPage loadMemberVisitPage(const Db &db, const QString &mbCode, const VisitCursor &after, int size)
{
    MemberVisitPage page;
    size = std::max(1, size);
    // One visit beyond the page says whether there are more.
    const int want = size + 1;
    if (!after.undated)
        appendVisits(datedRows(db, mbCode, after, want), page.visits);
    const qsizetype dated = page.visits.size();
    if (page.visits.size() < want) {
        const qint64 from = after.undated ? after.entid : 0;
        appendVisits(undatedRows(db, mbCode, from, int(want - page.visits.size())), page.visits);
    }
    if (page.visits.size() > size) {
        page.more = true;
        page.visits.resize(size);
    }
    addLentItems(db, page.visits);
    page.next = after;
    if (!page.visits.isEmpty()) {
        const MemberVisit &last = page.visits.last();
        const bool lastUndated = page.visits.size() > dated;
        page.next.atStart = false;
        page.next.undated = lastUndated;
        page.next.entid = last.entid;
        page.next.inDate = lastUndated ? QString() : last.inDate;
        // A visit without a time sorts as '' (never as null, which would
        // compare false and skip the rest of its date).
        page.next.inTime = lastUndated || last.inTime.isNull() ? QStringLiteral("") : last.inTime;
    }
    return page;
}

QString shownOfTotalText(qint64 shown, qint64 total)
{
    return QStringLiteral("전체 %1건 중 %2건").arg(total).arg(shown);
}

} // namespace fitrova
