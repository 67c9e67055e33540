#include "closing/shift.h"

#include "data/dates.h"
#include "data/text.h"
#include "foundation/appcontext.h"

#include <algorithm>
#include <cstdlib>

namespace fitrova {

namespace {

const QString kDateTimeFormat = QStringLiteral("yyyy-MM-ddHH:mm:ss");

QDateTime moment(const QString &dateTime) { return QDateTime::fromString(dateTime, kDateTimeFormat); }

QString momentText(const QDateTime &t) { return t.toString(kDateTimeFormat); }

// The user's last closed shift's end, "" when the user has none.
QString lastShiftEnd(const Db &db, const QString &psCode)
{
    const auto r = db.queryOne(QStringLiteral("SELECT sDate2, Time2 FROM Finish WHERE PsCode = ? AND FnCnt <> '0' "
                                              "AND FnChk = '1' ORDER BY sDate2 DESC, Time2 DESC LIMIT 1"),
                               {psCode});
    return r ? r->str(QStringLiteral("sDate2")) + r->str(QStringLiteral("Time2")) : QString();
}

// Where a new shift of the user starts: the user's first takings row after
// the later of the last shift's end and `lowerBound`, or now.
QString shiftStart(const Db &db, const QString &psCode, const QString &lowerBound, const QDateTime &now)
{
    QString from = lowerBound;
    if (const QString lastEnd = lastShiftEnd(db, psCode); !lastEnd.isEmpty())
        from = std::max(from, momentText(moment(lastEnd).addSecs(1)));
    const QString nowText = momentText(now);
    if (from.isEmpty() || from > nowText)
        return nowText;
    const TimeWindow w{from.left(10), from.mid(10), nowText.left(10), nowText.mid(10)};
    QString earliest = nowText;
    for (TakingsKind k : kAllTakingsKinds) {
        const TakingsSource &s = takingsSource(k);
        const auto r = db.queryOne(QStringLiteral("SELECT %1 AS D, %2 AS T FROM %3 WHERE %4 AND %5 AND LastUser = ? "
                                                  "ORDER BY %1, %2 LIMIT 1")
                                       .arg(s.dateColumn, s.timeColumn, s.table, w.condition(s.dateColumn, s.timeColumn),
                                            s.kindCondition),
                                   w.params() + Params{psCode});
        if (r)
            earliest = std::min(earliest, QString(r->str(QStringLiteral("D")) + r->str(QStringLiteral("T"))));
    }
    return earliest;
}

// The next shift number of the workstation on that day.
QString nextShiftNumber(const Db &db, int posNo, const QString &date)
{
    qint64 high = 0;
    for (const Row &r : db.query(QStringLiteral("SELECT FnCnt FROM Finish WHERE PosNo = ? AND sDate1 = ? AND FnCnt <> '0'"),
                                 {posNo, date}))
        high = std::max(high, r.str(QStringLiteral("FnCnt")).trimmed().toLongLong());
    return QString::number(high + 1);
}

QString defaultLowerBound(const ClosingSettings &settings, const QDateTime &now)
{
    return businessDayAt(settings, now).from();
}

FinishRow newShiftRow(const Db &db, const ShiftStamp &st, const ClosingSettings &settings, const QString &lowerBound)
{
    const QString start = shiftStart(db, st.psCode, lowerBound.isEmpty() ? defaultLowerBound(settings, st.now) : lowerBound,
                                     st.now);
    FinishRow f;
    f.fDate = openShiftDate();
    f.sDate1 = start.left(10);
    f.time1 = start.mid(10);
    f.fnCnt = nextShiftNumber(db, st.posNo, f.sDate1);
    f.fnChk = QStringLiteral("0");
    f.psCode = st.psCode;
    f.posNo = st.posNo;
    f.befAmt = proposedFloat(db, st.posNo);
    return f;
}

qint64 insertShift(const Db &db, const FinishRow &f)
{
    return db.insertId(QStringLiteral("INSERT INTO Finish (fDate, FnCnt, FnChk, sDate1, Time1, sDate2, Time2, PsCode, PosNo, "
                                      "BefAmt, TotCnt, CashAmt1, CardAmt1, TotAmt1, CashAmt2, CardAmt2, TotAmt2, CashAmt3, "
                                      "CardAmt3, TotAmt3, CashAmt4, TotAmt4) "
                                      "VALUES (?, ?, '0', ?, ?, '', '', ?, ?, ?, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0)"),
                       {f.fDate, f.fnCnt, f.sDate1, f.time1, f.psCode, f.posNo, f.befAmt}, QStringLiteral("Fnid"));
}

// One open shift per user: decided under a lock on the user's row.
void lockUser(const Db &db, const QString &psCode)
{
    db.query(QStringLiteral("SELECT PsCode FROM UserM WHERE PsCode = ?") + db.forUpdate(), {psCode});
}

// The end of a reading or a close: now, or the end of the bounds when now is past it.
QString shiftEnd(const ShiftStamp &st, const std::optional<TimeWindow> &bounds)
{
    const QString nowText = momentText(st.now);
    return bounds && bounds->to() < nowText ? bounds->to() : nowText;
}

} // namespace

FinishRow finishRowFrom(const Row &r)
{
    FinishRow f;
    f.fnid = r.num(QStringLiteral("Fnid"));
    f.fDate = r.str(QStringLiteral("fDate"));
    f.fnCnt = r.str(QStringLiteral("FnCnt")).trimmed();
    f.fnChk = r.str(QStringLiteral("FnChk")).trimmed();
    f.sDate1 = r.str(QStringLiteral("sDate1"));
    f.time1 = r.str(QStringLiteral("Time1"));
    f.sDate2 = r.str(QStringLiteral("sDate2"));
    f.time2 = r.str(QStringLiteral("Time2"));
    f.psCode = r.str(QStringLiteral("PsCode"));
    f.userName = r.has(QStringLiteral("UserName")) ? r.str(QStringLiteral("UserName")) : QString();
    f.posNo = int(r.num(QStringLiteral("PosNo")));
    f.befAmt = r.num(QStringLiteral("BefAmt"));
    f.totCnt = r.num(QStringLiteral("TotCnt"));
    f.cashAmt1 = r.num(QStringLiteral("CashAmt1"));
    f.cardAmt1 = r.num(QStringLiteral("CardAmt1"));
    f.totAmt1 = r.num(QStringLiteral("TotAmt1"));
    f.cashAmt2 = r.num(QStringLiteral("CashAmt2"));
    f.cardAmt2 = r.num(QStringLiteral("CardAmt2"));
    f.totAmt2 = r.num(QStringLiteral("TotAmt2"));
    f.cashAmt3 = r.num(QStringLiteral("CashAmt3"));
    f.cardAmt3 = r.num(QStringLiteral("CardAmt3"));
    f.totAmt3 = r.num(QStringLiteral("TotAmt3"));
    f.cashAmt4 = r.num(QStringLiteral("CashAmt4"));
    f.totAmt4 = r.num(QStringLiteral("TotAmt4"));
    f.remark = r.str(QStringLiteral("Remark"));
    return f;
}

QString finishColumns()
{
    return QStringLiteral("f.Fnid, f.fDate, f.FnCnt, f.FnChk, f.sDate1, f.Time1, f.sDate2, f.Time2, f.PsCode, f.PosNo, "
                          "f.BefAmt, f.TotCnt, f.CashAmt1, f.CardAmt1, f.TotAmt1, f.CashAmt2, f.CardAmt2, f.TotAmt2, "
                          "f.CashAmt3, f.CardAmt3, f.TotAmt3, f.CashAmt4, f.TotAmt4, f.Remark, u.UserName");
}

std::optional<FinishRow> loadFinish(const Db &db, qint64 fnid)
{
    const auto r = db.queryOne(QStringLiteral("SELECT ") + finishColumns()
                                   + QStringLiteral(" FROM Finish f LEFT JOIN UserM u ON f.PsCode = u.PsCode WHERE f.Fnid = ?"),
                               {fnid});
    if (!r)
        return std::nullopt;
    return finishRowFrom(*r);
}

QString ShiftStamp::date() const { return fmtDate(now.date()); }
QString ShiftStamp::time() const { return now.time().toString(QStringLiteral("HH:mm:ss")); }

ShiftStamp shiftStamp(const AppContext &ctx)
{
    return {ctx.user.psCode, ctx.workstation.posNo, ctx.clock().now()};
}

std::optional<FinishRow> openShiftOf(const Db &db, const QString &psCode)
{
    const auto r = db.queryOne(QStringLiteral("SELECT ") + finishColumns()
                                   + QStringLiteral(" FROM Finish f LEFT JOIN UserM u ON f.PsCode = u.PsCode "
                                                    "WHERE f.PsCode = ? AND f.fDate = ? AND f.FnChk = '0' AND f.FnCnt <> '0' "
                                                    "ORDER BY f.sDate1, f.Time1, f.Fnid LIMIT 1"),
                               {psCode, openShiftDate()});
    if (!r)
        return std::nullopt;
    return finishRowFrom(*r);
}

QString shiftText(const std::optional<FinishRow> &shift)
{
    return (shift ? shift->fnCnt : QStringLiteral("0")) + QStringLiteral(" 교대");
}

qint64 proposedFloat(const Db &db, int posNo)
{
    const auto r = db.queryOne(QStringLiteral("SELECT BefAmt, CashAmt2, CashAmt4 FROM Finish WHERE PosNo = ? AND FnCnt <> '0' "
                                              "AND FnChk = '1' ORDER BY sDate2 DESC, Time2 DESC, Fnid DESC LIMIT 1"),
                               {posNo});
    if (!r)
        return 0;
    return std::max<qint64>(0, r->num(QStringLiteral("BefAmt")) + r->num(QStringLiteral("CashAmt2"))
                                   - r->num(QStringLiteral("CashAmt4")));
}

FinishRow ensureShift(const Db &db, const ShiftStamp &st, const ClosingSettings &settings, const QString &lowerBound)
{
    if (auto open = openShiftOf(db, st.psCode))
        return *open;
    lockUser(db, st.psCode);
    if (auto open = openShiftOf(db, st.psCode))
        return *open;
    FinishRow f = newShiftRow(db, st, settings, lowerBound);
    f.fnid = insertShift(db, f);
    return f;
}

void openShiftForTakings(const Db &db, const ShiftStamp &st, bool moneyMoved)
{
    if (!moneyMoved || st.psCode.trimmed().isEmpty())
        return;
    if (openShiftOf(db, st.psCode))
        return;
    ensureShift(db, st, loadClosingSettings(db));
}

ShiftStamp shiftStampAt(const QString &psCode, int posNo, const QString &date, const QString &time)
{
    return {psCode, posNo,
            QDateTime(QDate::fromString(date, Qt::ISODate), QTime::fromString(time, QStringLiteral("HH:mm:ss")))};
}

Outcome openShiftByHand(const Db &db, const ShiftStamp &st, const ClosingSettings &settings, qint64 befAmt)
{
    const QString title = QStringLiteral("교대개시");
    if (befAmt < 0)
        return Outcome::refused(QStringLiteral("준비금을 확인하여 주십시요."), title, int(CountField::Float));
    return db.transaction([&] {
        lockUser(db, st.psCode);
        if (const auto open = openShiftOf(db, st.psCode))
            return Outcome::refused(QStringLiteral("이미 개시된 교대가 있읍니다. (%1)").arg(shiftText(open)), title);
        FinishRow f = newShiftRow(db, st, settings, {});
        f.befAmt = befAmt;
        f.fnid = insertShift(db, f);
        return Outcome::done(f.fnid, f.fnCnt).info(QStringLiteral("%1가 개시되었읍니다.").arg(shiftText(f)), title);
    });
}

// --- recorded takings --------------------------------------------------------------------

ShiftFigures recordedTakings(const Db &db, const TimeWindow &w, const QString &psCode, bool openOnly)
{
    ShiftFigures f;
    for (TakingsKind k : kAllTakingsKinds) {
        const TakingsSource &s = takingsSource(k);
        Params params = w.params();
        QString sql = QStringLiteral("SELECT COALESCE(SUM(%1), 0) AS Cash, COALESCE(SUM(%2), 0) AS Card, "
                                     "COALESCE(SUM(%3), 0) AS Cnt FROM %4 WHERE %5 AND %6")
                          .arg(s.cashExpression, s.cardExpression, s.countExpression, s.table,
                               w.condition(s.dateColumn, s.timeColumn), s.kindCondition);
        if (!psCode.isEmpty()) {
            sql += QStringLiteral(" AND LastUser = ?");
            params << psCode;
        }
        if (openOnly)
            sql += QStringLiteral(" AND ") + unstampedCondition(s.stampColumn);
        const auto r = db.queryOne(sql, params);
        const Takings t{r->num(QStringLiteral("Cash")), r->num(QStringLiteral("Card")), r->num(QStringLiteral("Cnt"))};
        switch (k) {
        case TakingsKind::Goods:
            f.goods = t;
            break;
        case TakingsKind::Courses:
            f.courses = t;
            break;
        case TakingsKind::Lockers:
            f.lockers = t;
            break;
        }
    }
    return f;
}

ShiftReading readShiftOf(const Db &db, const ShiftStamp &st, const ClosingSettings &settings,
                         const std::optional<TimeWindow> &bounds)
{
    ShiftReading r;
    if (auto open = openShiftOf(db, st.psCode))
        r.shift = *open;
    else
        r.shift = newShiftRow(db, st, settings, bounds ? bounds->from() : QString());
    const QString end = shiftEnd(st, bounds);
    r.window = {r.shift.sDate1, r.shift.time1, end.left(10), end.mid(10)};
    r.figures = recordedTakings(db, r.window, r.shift.psCode, true);
    return r;
}

std::optional<ShiftReading> readShift(const Db &db, qint64 fnid, const ShiftStamp &st,
                                      const std::optional<TimeWindow> &bounds)
{
    const auto f = loadFinish(db, fnid);
    if (!f || f->isDaily())
        return std::nullopt;
    ShiftReading r;
    r.shift = *f;
    if (f->isOpen()) {
        const QString end = shiftEnd(st, bounds);
        r.window = {f->sDate1, f->time1, end.left(10), end.mid(10)};
    } else {
        r.window = f->window();
    }
    r.figures = recordedTakings(db, r.window, f->psCode, f->isOpen());
    return r;
}

// --- the blind count -------------------------------------------------------------------------

qint64 CashCount::cash() const
{
    qint64 sum = 0;
    for (size_t i = 0; i < kUnits.size(); ++i)
        sum += kUnits[i] * qty[i];
    return sum;
}

bool ShiftBalance::needsReason(qint64 limit) const
{
    return std::abs(cashAmt3) > limit || std::abs(cardAmt3) > limit;
}

ShiftBalance balanceOf(const ShiftFigures &recorded, const ShiftCount &count)
{
    const Takings rec = recorded.total();
    ShiftBalance b;
    b.counted = count.cash.cash();
    b.cashAmt2 = b.counted - count.befAmt;
    b.cardAmt2 = count.cardSlips;
    b.totAmt2 = b.cashAmt2 + b.cardAmt2;
    b.cashAmt3 = b.cashAmt2 - rec.cash;
    b.cardAmt3 = b.cardAmt2 - rec.card;
    b.totAmt3 = b.cashAmt3 + b.cardAmt3;
    b.cashAmt4 = b.counted - count.floatLeft;
    b.totAmt4 = b.cashAmt4 + b.cardAmt2;
    return b;
}

Outcome checkCount(const ShiftCount &c)
{
    const QString title = shiftTitle();
    if (c.befAmt < 0)
        return Outcome::refused(QStringLiteral("준비금을 확인하여 주십시요."), title, int(CountField::Float));
    if (std::any_of(c.cash.qty.begin(), c.cash.qty.end(), [](qint64 q) { return q < 0; }))
        return Outcome::refused(QStringLiteral("수량을 확인하여 주십시요."), title, int(CountField::Cash));
    if (c.cardSlips < 0)
        return Outcome::refused(QStringLiteral("카드전표 금액을 확인하여 주십시요."), title, int(CountField::Card));
    if (c.floatLeft < 0)
        return Outcome::refused(QStringLiteral("남길 준비금을 확인하여 주십시요."), title, int(CountField::FloatLeft));
    if (c.floatLeft > c.cash.cash())
        return Outcome::refused(QStringLiteral("남길 준비금이 현금시재보다 많습니다."), title, int(CountField::FloatLeft));
    return Outcome::pass();
}

Outcome closeShift(const Db &db, const ShiftCloseRequest &req, const ShiftStamp &st, const ClosingSettings &settings)
{
    const QString title = shiftTitle();
    if (Outcome ok = checkCount(req.count); !ok)
        return ok;
    return db.transaction([&] {
        lockTakingsTables(db);
        std::optional<FinishRow> shift;
        if (req.fnid > 0) {
            if (db.queryOne(QStringLiteral("SELECT Fnid FROM Finish WHERE Fnid = ?") + db.forUpdate(), {req.fnid}))
                shift = loadFinish(db, req.fnid);
        } else {
            shift = ensureShift(db, st, settings, req.bounds ? req.bounds->from() : QString());
        }
        if (!shift || shift->isDaily())
            return Outcome::refused(QStringLiteral("교대자료를 찾을수 없읍니다."), title);
        if (!shift->isOpen())
            return Outcome::refused(QStringLiteral("이미 마감된 교대입니다."), title);
        const QString end = shiftEnd(st, req.bounds);
        const TimeWindow w{shift->sDate1, shift->time1, end.left(10), end.mid(10)};
        if (w.from() > w.to())
            return Outcome::refused(QStringLiteral("교대 시작시각이 마감범위 뒤에 있읍니다."), title);

        const ShiftFigures figures = recordedTakings(db, w, shift->psCode, true);
        const Takings rec = figures.total();
        const ShiftBalance b = balanceOf(figures, req.count);
        const QString reason = req.count.reason.trimmed();
        if (b.needsReason(settings.diffLimit) && reason.isEmpty())
            return Outcome::refused(QStringLiteral("오차금액이 있읍니다 (현금 %1원, 카드 %2원).\n오차사유를 입력하여 주십시요.")
                                        .arg(wonText(b.cashAmt3), wonText(b.cardAmt3)),
                                    title, int(CountField::Reason));

        db.exec(QStringLiteral("UPDATE Finish SET sDate2 = ?, Time2 = ?, FnChk = '1', BefAmt = ?, TotCnt = ?, "
                               "CashAmt1 = ?, CardAmt1 = ?, TotAmt1 = ?, CashAmt2 = ?, CardAmt2 = ?, TotAmt2 = ?, "
                               "CashAmt3 = ?, CardAmt3 = ?, TotAmt3 = ?, CashAmt4 = ?, TotAmt4 = ?, Remark = ? "
                               "WHERE Fnid = ?"),
                {w.toDate, w.toTime, req.count.befAmt, rec.count, rec.cash, rec.card, rec.total(), b.cashAmt2,
                 b.cardAmt2, b.totAmt2, b.cashAmt3, b.cardAmt3, b.totAmt3, b.cashAmt4, b.totAmt4, reason,
                 shift->fnid});
        db.exec(QStringLiteral("DELETE FROM FinishCash WHERE Fnid = ?"), {shift->fnid});
        for (size_t i = 0; i < CashCount::kUnits.size(); ++i)
            if (req.count.cash.qty[i] != 0)
                db.exec(QStringLiteral("INSERT INTO FinishCash (Fnid, Unit, Qty) VALUES (?, ?, ?)"),
                        {shift->fnid, CashCount::kUnits[i], req.count.cash.qty[i]});
        const TakingsSource &goods = takingsSource(TakingsKind::Goods);
        db.exec(QStringLiteral("UPDATE Sale SET FnChk = '1' WHERE ") + w.condition(goods.dateColumn, goods.timeColumn)
                    + QStringLiteral(" AND LastUser = ?"),
                w.params() + Params{shift->psCode});
        return Outcome::done(shift->fnid, shift->fnCnt).info(QStringLiteral("교대마감 작업이 처리되었읍니다.."), title);
    });
}

CashCount storedCashCount(const Db &db, qint64 fnid)
{
    CashCount c;
    for (const Row &r : db.query(QStringLiteral("SELECT Unit, Qty FROM FinishCash WHERE Fnid = ?"), {fnid})) {
        const qint64 unit = r.num(QStringLiteral("Unit"));
        for (size_t i = 0; i < CashCount::kUnits.size(); ++i)
            if (CashCount::kUnits[i] == unit)
                c.qty[i] += r.num(QStringLiteral("Qty"));
    }
    return c;
}

} // namespace fitrova
