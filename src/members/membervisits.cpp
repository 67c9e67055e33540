#include "members/membervisits.h"

#include <algorithm>

namespace fitrova {

namespace {

// The columns of a page: the visit, its program and enrollment, and one row
// per lent item (none when nothing was lent). `visits` is the inner SELECT
// that picks the page's visits in order, with its LIMIT.
QString pageStatement(const QString &visits, const QString &order)
{
    return QStringLiteral("SELECT E.Entid, E.InDate, E.InTime, E.OutTime, E.PgGubun, E.uTime, P.PgName, "
                          "L.PgCnt, L.uPgCnt, T.Id AS TrsId, I.Course AS ItCourse, I.Sclass AS ItSclass, "
                          "I.BarCode, I.ItName "
                          "FROM (") + visits + QStringLiteral(") E "
                          "LEFT JOIN ItemTrs T ON T.Entid = E.Entid "
                          "LEFT JOIN Item I ON I.ItId = T.ItId "
                          "LEFT JOIN Program P ON P.Pgid = E.Pgid "
                          "LEFT JOIN Lecture L ON L.Ltid = E.Ltid "
                          "ORDER BY ") + order + QStringLiteral(", T.Id");
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
        params << after.inDate << after.inDate << after.inDate << after.inTime << after.inTime << after.entid;
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

// Folds the rows (one per visit and lent item, in page order) into visits.
void appendVisits(const Rows &rows, QList<MemberVisit> &out)
{
    for (const Row &r : rows) {
        const qint64 entid = r.num(QStringLiteral("Entid"));
        if (out.isEmpty() || out.last().entid != entid) {
            MemberVisit v;
            v.entid = entid;
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
        if (!r.isNull(QStringLiteral("TrsId")))
            out.last().items.append(LentItem{r.str(QStringLiteral("ItCourse")), r.str(QStringLiteral("ItSclass")),
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
    page.next = after;
    if (!page.visits.isEmpty()) {
        const MemberVisit &last = page.visits.last();
        const bool lastUndated = page.visits.size() > dated;
        page.next.atStart = false;
        page.next.undated = lastUndated;
        page.next.entid = last.entid;
        page.next.inDate = lastUndated ? QString() : last.inDate;
        page.next.inTime = lastUndated ? QString() : last.inTime;
    }
    return page;
}

QString shownOfTotalText(qint64 shown, qint64 total)
{
    return QStringLiteral("전체 %1건 중 %2건").arg(total).arg(shown);
}

} // namespace fitrova
