#include "closing/closing.h"

#include "data/dates.h"
#include "data/text.h"

#include <QMap>

namespace fitrova {

namespace {

// "(start >= from)" and "(end <= to)" of a Finish row's window, on its date
// and time columns.
QString startsFrom(const QString &date, const QString &time)
{
    return QStringLiteral("(%1 > ? OR (%1 = ? AND %2 >= ?))").arg(date, time);
}
QString endsBy(const QString &date, const QString &time)
{
    return QStringLiteral("(%1 <> '' AND (%1 < ? OR (%1 = ? AND %2 <= ?)))").arg(date, time);
}

QList<FinishRow> finishRows(const Db &db, const QString &where, const Params &params)
{
    QList<FinishRow> out;
    for (const Row &r : db.query(QStringLiteral("SELECT ") + finishColumns()
                                     + QStringLiteral(" FROM Finish f LEFT JOIN UserM u ON f.PsCode = u.PsCode ") + where,
                                 params))
        out << finishRowFrom(r);
    return out;
}

QMap<QString, QString> userNames(const Db &db)
{
    QMap<QString, QString> names;
    for (const Row &r : db.query(QStringLiteral("SELECT PsCode, UserName FROM UserM")))
        names.insert(r.str(QStringLiteral("PsCode")), r.str(QStringLiteral("UserName")));
    return names;
}

QString who(const QString &name, const QString &psCode)
{
    return (name.isEmpty() ? psCode : name) + QStringLiteral("(") + psCode + QStringLiteral(")");
}

} // namespace

QString dayClosingQuestion(const DayClosingInput &in)
{
    const TimeWindow &w = in.window;
    return w.fromDate + QStringLiteral("일 ") + w.fromTime + QStringLiteral("시 부터") + QLatin1Char('\n') + w.toDate
        + QStringLiteral("일 ") + w.toTime + QStringLiteral("시 까지의") + QLatin1Char('\n') + QStringLiteral("판매자료를 ")
        + in.closingDate + QStringLiteral(" 일자로 마감처리 하시겠읍니까? ");
}

QList<ClosingProblem> dayClosingProblems(const Db &db, const DayClosingInput &in)
{
    const TimeWindow &w = in.window;
    QList<ClosingProblem> out;

    // Shifts still open that began before the window's end.
    for (const FinishRow &f : finishRows(db,
                                         QStringLiteral("WHERE f.fDate = ? AND f.FnChk <> '1' AND f.FnCnt <> '0' "
                                                        "ORDER BY f.sDate1, f.Time1, f.Fnid"),
                                         {openShiftDate()})) {
        if (f.sDate1 + f.time1 < w.to())
            out << ClosingProblem{ClosingProblem::Kind::OpenShift, f.psCode, f.userName, f, {}};
    }

    // Closed shifts not yet counted (or counted by this date) that reach over
    // an end of the window.
    for (const FinishRow &f : finishRows(db,
                                         QStringLiteral("WHERE (f.fDate = ? OR f.fDate = ?) AND f.FnChk = '1' "
                                                        "AND f.FnCnt <> '0' AND f.sDate1 <= ? AND f.sDate2 >= ? "
                                                        "ORDER BY f.sDate1, f.Time1, f.Fnid"),
                                         {openShiftDate(), in.closingDate, w.toDate, w.fromDate})) {
        const TimeWindow fw = f.window();
        const bool overlaps = fw.from() < w.to() && fw.to() > w.from();
        if (overlaps && !w.contains(fw))
            out << ClosingProblem{ClosingProblem::Kind::PartlyOutside, f.psCode, f.userName, f, {}};
    }

    // Takings of the window that no closed shift within it holds.
    QMap<QString, Takings> uncounted;
    for (TakingsKind k : kAllTakingsKinds) {
        const TakingsSource &s = takingsSource(k);
        const QString at = QStringLiteral("(%1.%2 || %1.%3)").arg(s.table, s.dateColumn, s.timeColumn);
        const QString sql =
            QStringLiteral("SELECT %1.LastUser AS PsCode, COALESCE(SUM(%2), 0) AS Cash, COALESCE(SUM(%3), 0) AS Card, "
                           "COALESCE(SUM(%4), 0) AS Cnt FROM %1 WHERE %5 AND %6 AND (%7 OR %8 = ?) "
                           "AND NOT EXISTS (SELECT 1 FROM Finish f WHERE f.PsCode = %1.LastUser AND f.FnCnt <> '0' "
                           "AND f.FnChk = '1' AND (f.fDate = ? OR f.fDate = ?) "
                           "AND (f.sDate1 || f.Time1) >= ? AND f.sDate2 <> '' AND (f.sDate2 || f.Time2) <= ? "
                           "AND %9 >= (f.sDate1 || f.Time1) AND %9 <= (f.sDate2 || f.Time2)) "
                           "GROUP BY %1.LastUser")
                .arg(s.table, s.cashExpression, s.cardExpression, s.countExpression,
                     w.condition(s.dateColumn, s.timeColumn), s.kindCondition, unstampedCondition(s.stampColumn),
                     s.stampColumn, at);
        const Params params =
            w.params() + Params{in.closingDate, openShiftDate(), in.closingDate, w.from(), w.to()};
        for (const Row &r : db.query(sql, params)) {
            const Takings t{r.num(QStringLiteral("Cash")), r.num(QStringLiteral("Card")), r.num(QStringLiteral("Cnt"))};
            if (t.count == 0 && t.total() == 0)
                continue;
            uncounted[r.str(QStringLiteral("PsCode"))] += t;
        }
    }
    // A user whose shift is still open is named once, for that shift.
    for (const ClosingProblem &p : std::as_const(out))
        if (p.kind == ClosingProblem::Kind::OpenShift)
            uncounted.remove(p.psCode);
    if (!uncounted.isEmpty()) {
        const QMap<QString, QString> names = userNames(db);
        for (auto it = uncounted.cbegin(); it != uncounted.cend(); ++it)
            out << ClosingProblem{ClosingProblem::Kind::NotCounted, it.key(), names.value(it.key()), {}, it.value()};
    }
    return out;
}

QString problemsText(const QList<ClosingProblem> &problems)
{
    QStringList lines{QStringLiteral("교대마감이 끝나지 않아 일일마감을 할수 없읍니다.")};
    for (const ClosingProblem &p : problems) {
        const QString user = who(p.userName, p.psCode);
        switch (p.kind) {
        case ClosingProblem::Kind::OpenShift:
            lines << QStringLiteral(" - %1 %2: 교대마감 전 (%3 %4 부터)")
                         .arg(user, shiftText(p.shift), p.shift.sDate1, p.shift.time1);
            break;
        case ClosingProblem::Kind::PartlyOutside:
            lines << QStringLiteral(" - %1 %2: 마감범위를 벗어남 (%3 %4 ~ %5 %6)")
                         .arg(user, shiftText(p.shift), p.shift.sDate1, p.shift.time1, p.shift.sDate2, p.shift.time2);
            break;
        case ClosingProblem::Kind::NotCounted:
            lines << QStringLiteral(" - %1: 교대마감 안된 자료 %2건 %3원")
                         .arg(user, QString::number(p.takings.count), wonText(p.takings.total()));
            break;
        }
    }
    return lines.join(QLatin1Char('\n'));
}

Outcome closeDay(const Db &db, const DayClosingInput &in, const ShiftStamp &st)
{
    const QString title = dayClosingTitle();
    const TimeWindow &w = in.window;
    if (!w.isValid())
        return Outcome::refused(QStringLiteral("마감범위를 확인하여 주십시요."), title);
    if (!isValidDateText(in.closingDate))
        return Outcome::refused(QStringLiteral("마감일자를 확인하여 주십시요."), title);
    const QString date = in.closingDate;

    return db.transaction([&] {
        lockTakingsTables(db);
        if (const auto problems = dayClosingProblems(db, in); !problems.isEmpty())
            return Outcome::refused(problemsText(problems), title);

        // A second closing of the date replaces the first: its stamps on rows
        // outside this window go; rows it stamped inside keep theirs (writing
        // every row of the day twice cost PostgreSQL a new row version and
        // index entries each time).
        for (TakingsKind k : kAllTakingsKinds) {
            const TakingsSource &s = takingsSource(k);
            db.exec(QStringLiteral("UPDATE %1 SET %2 = NULL WHERE %2 = ? AND NOT COALESCE((%3 AND %4), FALSE)")
                        .arg(s.table, s.stampColumn, w.condition(s.dateColumn, s.timeColumn), s.kindCondition),
                    Params{date} + w.params());
        }
        db.exec(QStringLiteral("UPDATE Finish SET fDate = ? WHERE fDate = ? AND FnCnt <> '0'"), {openShiftDate(), date});

        for (TakingsKind k : kAllTakingsKinds) {
            const TakingsSource &s = takingsSource(k);
            db.exec(QStringLiteral("UPDATE %1 SET %2 = ? WHERE %3 AND %4 AND %5")
                        .arg(s.table, s.stampColumn, w.condition(s.dateColumn, s.timeColumn), s.kindCondition,
                             unstampedCondition(s.stampColumn)),
                    Params{date} + w.params());
        }
        db.exec(QStringLiteral("UPDATE Finish SET fDate = ? WHERE FnCnt <> '0' AND FnChk = '1' AND fDate = ? AND ")
                    + startsFrom(QStringLiteral("sDate1"), QStringLiteral("Time1")) + QStringLiteral(" AND ")
                    + endsBy(QStringLiteral("sDate2"), QStringLiteral("Time2")),
                {date, openShiftDate(), w.fromDate, w.fromDate, w.fromTime, w.toDate, w.toDate, w.toTime});

        const auto sum = db.queryOne(
            QStringLiteral("SELECT COALESCE(SUM(TotCnt), 0) AS TotCnt, COALESCE(SUM(CashAmt1), 0) AS CashAmt1, "
                           "COALESCE(SUM(CardAmt1), 0) AS CardAmt1, COALESCE(SUM(TotAmt1), 0) AS TotAmt1, "
                           "COALESCE(SUM(CashAmt2), 0) AS CashAmt2, COALESCE(SUM(CardAmt2), 0) AS CardAmt2, "
                           "COALESCE(SUM(TotAmt2), 0) AS TotAmt2, COALESCE(SUM(CashAmt3), 0) AS CashAmt3, "
                           "COALESCE(SUM(CardAmt3), 0) AS CardAmt3, COALESCE(SUM(TotAmt3), 0) AS TotAmt3, "
                           "COALESCE(SUM(CashAmt4), 0) AS CashAmt4, COALESCE(SUM(TotAmt4), 0) AS TotAmt4 "
                           "FROM Finish WHERE fDate = ? AND FnCnt <> '0'"),
            {date});
        const Params values{w.fromDate, w.fromTime, w.toDate, w.toTime, st.psCode, st.posNo,
                            sum->num(QStringLiteral("TotCnt")), sum->num(QStringLiteral("CashAmt1")),
                            sum->num(QStringLiteral("CardAmt1")), sum->num(QStringLiteral("TotAmt1")),
                            sum->num(QStringLiteral("CashAmt2")), sum->num(QStringLiteral("CardAmt2")),
                            sum->num(QStringLiteral("TotAmt2")), sum->num(QStringLiteral("CashAmt3")),
                            sum->num(QStringLiteral("CardAmt3")), sum->num(QStringLiteral("TotAmt3")),
                            sum->num(QStringLiteral("CashAmt4")), sum->num(QStringLiteral("TotAmt4"))};

        // One row per date: an older database may hold several; the first stays.
        const Rows existing = db.query(
            QStringLiteral("SELECT Fnid FROM Finish WHERE fDate = ? AND FnCnt = '0' ORDER BY Fnid") + db.forUpdate(), {date});
        qint64 fnid = 0;
        if (existing.isEmpty()) {
            fnid = db.insertId(QStringLiteral("INSERT INTO Finish (fDate, FnCnt, FnChk, sDate1, Time1, sDate2, Time2, PsCode, "
                                              "PosNo, TotCnt, CashAmt1, CardAmt1, TotAmt1, CashAmt2, CardAmt2, TotAmt2, "
                                              "CashAmt3, CardAmt3, TotAmt3, CashAmt4, TotAmt4, BefAmt) "
                                              "VALUES (?, '0', '0', ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 0)"),
                               Params{date} + values, QStringLiteral("Fnid"));
        } else {
            fnid = existing.first().num(QStringLiteral("Fnid"));
            for (qsizetype i = 1; i < existing.size(); ++i)
                db.exec(QStringLiteral("DELETE FROM Finish WHERE Fnid = ?"), {existing[i].num(QStringLiteral("Fnid"))});
            db.exec(QStringLiteral("UPDATE Finish SET FnChk = '0', sDate1 = ?, Time1 = ?, sDate2 = ?, Time2 = ?, PsCode = ?, "
                                   "PosNo = ?, TotCnt = ?, CashAmt1 = ?, CardAmt1 = ?, TotAmt1 = ?, CashAmt2 = ?, "
                                   "CardAmt2 = ?, TotAmt2 = ?, CashAmt3 = ?, CardAmt3 = ?, TotAmt3 = ?, CashAmt4 = ?, "
                                   "TotAmt4 = ? WHERE Fnid = ?"),
                    values + Params{fnid});
        }
        return Outcome::done(fnid).info(QStringLiteral("일일마감 작업이 처리되었읍니다.."), title);
    });
}

QList<FinishRow> listClosings(const Db &db, const ClosingListCriteria &c)
{
    QString where;
    Params params;
    if (c.byClosingDate) {
        where = QStringLiteral("WHERE ((f.fDate >= ? AND f.fDate <= ?)");
        params << c.fromDate << c.toDate;
        if (c.shifts && c.includeNotClosed) {
            where += QStringLiteral(" OR (f.fDate = ? AND f.sDate1 >= ? AND f.sDate1 <= ?)");
            params << openShiftDate() << c.fromDate << c.toDate;
        }
        where += QLatin1Char(')');
    } else {
        const TimeWindow &w = c.window;
        where = QStringLiteral("WHERE ") + startsFrom(QStringLiteral("f.sDate1"), QStringLiteral("f.Time1"));
        params << w.fromDate << w.fromDate << w.fromTime;
        // An open shift has no end yet: it is within the window while it began in it.
        where += QStringLiteral(" AND (f.sDate2 = '' OR ") + endsBy(QStringLiteral("f.sDate2"), QStringLiteral("f.Time2"))
            + QStringLiteral(") AND (f.sDate1 < ? OR (f.sDate1 = ? AND f.Time1 <= ?))");
        params << w.toDate << w.toDate << w.toTime << w.toDate << w.toDate << w.toTime;
        if (c.shifts && !c.includeNotClosed)
            where += QStringLiteral(" AND f.FnChk = '1'");
    }
    if (c.shifts)
        where += QStringLiteral(" AND f.FnCnt <> '0' ORDER BY f.sDate1, f.Time1, f.Fnid");
    else
        where += QStringLiteral(" AND f.FnCnt = '0' ORDER BY f.fDate, f.Fnid");
    return finishRows(db, where, params);
}

Outcome deleteClosing(const Db &db, qint64 fnid, bool mayDelete)
{
    const QString title = closingDeleteTitle();
    if (!mayDelete)
        return Outcome::refused(QStringLiteral("삭제권한이 없읍니다"), title);
    return db.transaction([&] {
        lockTakingsTables(db);
        if (!db.queryOne(QStringLiteral("SELECT Fnid FROM Finish WHERE Fnid = ?") + db.forUpdate(), {fnid}))
            return Outcome::refused(QStringLiteral("해당자료를 찾을수 없읍니다"), title);
        const FinishRow f = *loadFinish(db, fnid);
        if (f.isDaily()) {
            // The stamps of the date are this closing's own: a closing of a
            // date first clears what an earlier one of the date wrote.
            if (!f.fDate.isEmpty()) {
                for (TakingsKind k : kAllTakingsKinds) {
                    const TakingsSource &s = takingsSource(k);
                    db.exec(QStringLiteral("UPDATE %1 SET %2 = NULL WHERE %2 = ?").arg(s.table, s.stampColumn), {f.fDate});
                }
                db.exec(QStringLiteral("UPDATE Finish SET fDate = ? WHERE fDate = ? AND FnCnt <> '0'"),
                        {openShiftDate(), f.fDate});
            }
        } else {
            if (f.isDayClosed())
                return Outcome::refused(QStringLiteral("일일마감에 포함된 교대마감입니다.\n일일마감을 먼저 삭제하여 주십시요."),
                                        title);
            if (!f.isOpen() && !f.sDate2.isEmpty()) {
                const TimeWindow w = f.window();
                const TakingsSource &goods = takingsSource(TakingsKind::Goods);
                db.exec(QStringLiteral("UPDATE Sale SET FnChk = '0' WHERE ") + w.condition(goods.dateColumn, goods.timeColumn)
                            + QStringLiteral(" AND LastUser = ?"),
                        w.params() + Params{f.psCode});
            }
            db.exec(QStringLiteral("DELETE FROM FinishCash WHERE Fnid = ?"), {fnid});
        }
        db.exec(QStringLiteral("DELETE FROM Finish WHERE Fnid = ?"), {fnid});
        return Outcome::done(fnid);
    });
}

} // namespace fitrova
