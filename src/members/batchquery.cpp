#include "members/batchquery.h"

namespace fitrova {

QStringList batchKindItems()
{
    return {QStringLiteral("1.유효회원"), QStringLiteral("2.만기회원"), QStringLiteral("3.도래회원"),
            QStringLiteral("4.수강신청회원"), QStringLiteral("5.연기회원"), QStringLiteral("6.환불회원"),
            QStringLiteral("7.미납회원")};
}

BatchKind batchKindOf(const QString &item)
{
    const int k = item.isEmpty() ? 0 : item.at(0).digitValue();
    return k >= 1 && k <= 7 ? BatchKind(k) : BatchKind::Valid;
}

ListItems batchProgramItems(const Db &db)
{
    ListItems items{{QStringLiteral("모두보기"), qint64(0)}};
    const Rows rows = db.query(QStringLiteral("SELECT Program.Pgid, Program.PgName, Program.Time1, Program.Time2, "
                                              "Program.LTName, Program.PgGubun FROM Program "
                                              "ORDER BY Program.Course, Program.Pgid"));
    for (const Row &r : rows) {
        const QString gubun = r.str(QStringLiteral("PgGubun"));
        QString text = r.str(QStringLiteral("PgName")) + QLatin1Char(' ') + r.str(QStringLiteral("Time1")) +
                       QLatin1Char('~') + r.str(QStringLiteral("Time2")) + QLatin1Char(' ') +
                       r.str(QStringLiteral("LTName"));
        if (gubun == QLatin1String("1"))
            text += QStringLiteral(" 기간");
        else if (gubun == QLatin1String("2"))
            text += QStringLiteral(" 횟수");
        items.append({text.simplified(), r.num(QStringLiteral("Pgid"))});
    }
    return items;
}

SqlCondition batchCondition(BatchKind kind, const QString &d1, const QString &d2, qint64 pgid)
{
    SqlCondition c;
    switch (kind) {
    case BatchKind::Valid:
        c = {QStringLiteral("Lecture.Sdate1 <= ? AND Lecture.Sdate2 >= ? AND Lecture.LtGubun < '3'"), {d1, d2}};
        break;
    case BatchKind::Expiring:
        c = {QStringLiteral("Lecture.Sdate2 >= ? AND Lecture.Sdate2 <= ? AND Lecture.LtGubun < '3'"), {d1, d2}};
        break;
    case BatchKind::Starting:
        c = {QStringLiteral("Lecture.Sdate1 >= ? AND Lecture.Sdate1 <= ? AND Lecture.LtGubun < '3'"), {d1, d2}};
        break;
    case BatchKind::Enrolled:
    case BatchKind::Postponed:
    case BatchKind::Refunded: {
        const QString g = kind == BatchKind::Enrolled ? QStringLiteral("1")
                          : kind == BatchKind::Postponed ? QStringLiteral("3")
                                                         : QStringLiteral("4");
        c = {QStringLiteral("Lecture.RqDate >= ? AND Lecture.RqDate <= ? AND Lecture.PgGubun <> '3' "
                            "AND Lecture.LtGubun = ?"),
             {d1, d2, g}};
        break;
    }
    case BatchKind::Unpaid:
        c = {QStringLiteral("Lecture.RqDate >= ? AND Lecture.RqDate <= ? "
                            "AND COALESCE(Lecture.TAmt, 0) <> COALESCE(Lecture.CashAmt, 0) + COALESCE(Lecture.CardAmt, 0) "
                            "AND COALESCE(Member.MisuAmt, 0) <> 0"),
             {d1, d2}};
        break;
    }
    if (pgid > 0) {
        c.sql += QStringLiteral(" AND Lecture.Pgid = ?");
        c.params << pgid;
    }
    return c;
}

QStringList batchHeaders()
{
    return {QStringLiteral("회원코드"), QStringLiteral("신청일자"), QStringLiteral("개월"), QStringLiteral("시작일"),
            QStringLiteral("만기일"),   QStringLiteral("강좌명"),   QStringLiteral("회원명"), QStringLiteral("핸드폰")};
}

QList<BatchLine> runBatchQuery(const Db &db, BatchKind kind, const QString &d1, const QString &d2, qint64 pgid)
{
    const SqlCondition c = batchCondition(kind, d1, d2, pgid);
    const Rows rows = db.query(
        QStringLiteral("SELECT Lecture.Ltid, Lecture.MbCode, Lecture.RqDate, Lecture.MonthCnt, Lecture.Sdate1, "
                       "Lecture.Sdate2, COALESCE(Program.PgName, Lecture.PgName) AS ShowName, "
                       "COALESCE(Member.MbName, Lecture.MbName) AS ShowMbName, Member.Tel1, Member.PostNo, "
                       "Member.Addr1, Member.Addr2 "
                       "FROM (Lecture LEFT JOIN Program ON Lecture.Pgid = Program.Pgid) "
                       "LEFT JOIN Member ON Lecture.MbCode = Member.MbCode WHERE ") +
            c.sql + QStringLiteral(" ORDER BY Lecture.MbName, Lecture.Pgid, Lecture.Ltid"),
        c.params);
    QList<BatchLine> out;
    out.reserve(rows.size());
    for (const Row &r : rows) {
        BatchLine l;
        l.ltid = r.num(QStringLiteral("Ltid"));
        l.mbCode = r.str(QStringLiteral("MbCode"));
        l.contact = {l.mbCode, r.str(QStringLiteral("ShowMbName")), r.str(QStringLiteral("Tel1")),
                     r.str(QStringLiteral("PostNo")), r.str(QStringLiteral("Addr1")), r.str(QStringLiteral("Addr2"))};
        l.contact.listDate = r.str(QStringLiteral("Sdate2"));
        l.cells = QStringList{l.mbCode,
                              r.str(QStringLiteral("RqDate")),
                              QString::number(r.num(QStringLiteral("MonthCnt"))) + QStringLiteral("개월"),
                              r.str(QStringLiteral("Sdate1")),
                              r.str(QStringLiteral("Sdate2")),
                              r.str(QStringLiteral("ShowName")),
                              l.contact.mbName,
                              l.contact.tel1};
        out.append(l);
    }
    return out;
}

} // namespace fitrova
