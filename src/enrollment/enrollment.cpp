#include "enrollment/enrollment.h"

#include "foundation/appcontext.h"
#include "data/dates.h"
#include "data/ledger.h"
#include "data/lookups.h"
#include "data/numbering.h"
#include "data/text.h"
#include "enrollment/enrollcommon.h"
#include "members/lecturedelete.h"
#include "enrollment/lecturewrite.h"
#include "members/memberstore.h"

namespace fitrova {

namespace {

QString rtrim(const QString &s)
{
    int n = s.size();
    while (n > 0 && s.at(n - 1).isSpace())
        --n;
    return s.left(n);
}

const QString kGoodsTitle = QStringLiteral("상품판매");

} // namespace

QString programKindText(const QString &pgGubun)
{
    if (pgGubun == QLatin1String("1"))
        return QStringLiteral("기간제");
    if (pgGubun == QLatin1String("2"))
        return QStringLiteral("시간제");
    if (pgGubun == QLatin1String("3"))
        return QStringLiteral("박스제");
    return {};
}

QString programKindOfText(const QString &text)
{
    if (text.contains(QStringLiteral("기간제")))
        return QStringLiteral("1");
    if (text.contains(QStringLiteral("시간제")))
        return QStringLiteral("2");
    if (text.contains(QStringLiteral("박스제")))
        return QStringLiteral("3");
    return {};
}

QList<ProgramChoice> enrollmentPrograms(const Db &db, const QString &course)
{
    const QString code = course.contains(QLatin1Char('-')) ? codeOf(course) : course.trimmed();
    QString sql = QStringLiteral("SELECT Program.Pgid, Program.PgGubun, Program.PgName, Program.Time1, Program.Time2, "
                                 "COALESCE(Lecturer.LTName, Program.LTName) AS LtName "
                                 "FROM Program LEFT JOIN Lecturer ON Program.LtCode = Lecturer.LTcode ");
    Params params;
    if (!code.isEmpty() && code != QLatin1String("0")) {
        sql += QStringLiteral("WHERE Program.Course = ? ");
        params << code;
    }
    sql += QStringLiteral("ORDER BY Program.Pgid");
    QList<ProgramChoice> out;
    for (const Row &r : db.query(sql, params)) {
        ProgramChoice c;
        c.pgid = r.num(QStringLiteral("Pgid"));
        c.pgGubun = r.str(QStringLiteral("PgGubun"));
        c.text = QString(r.str(QStringLiteral("PgName")) + QLatin1Char(' ') + r.str(QStringLiteral("Time1")) +
                         QLatin1Char('~') + r.str(QStringLiteral("Time2")) + QLatin1Char(' ') +
                         r.str(QStringLiteral("LtName")) + QLatin1Char(' ') + programKindText(c.pgGubun))
                     .simplified();
        out.append(c);
    }
    return out;
}

QList<MonthChoice> monthChoices(const Db &db, qint64 pgid, const QString &pgGubun)
{
    QList<MonthChoice> out;
    const bool timeOrBox = pgGubun == QLatin1String("2") || pgGubun == QLatin1String("3");
    for (const Row &r : db.query(QStringLiteral("SELECT PgId1, MonthCnt FROM ProgAmt WHERE Pgid = ? "
                                                "ORDER BY MonthCnt, PgId1"),
                                 {pgid})) {
        MonthChoice m;
        m.pgId1 = r.num(QStringLiteral("PgId1"));
        m.monthCnt = int(r.num(QStringLiteral("MonthCnt")));
        m.openEnd = timeOrBox && m.monthCnt == 0;
        m.text = m.openEnd ? QStringLiteral("없음") : QString(QString::number(m.monthCnt) + QStringLiteral(" 개월 "));
        out.append(m);
    }
    return out;
}

QList<FeeChoice> feeChoices(const Db &db, qint64 pgId1)
{
    const auto r = db.queryOne(QStringLiteral("SELECT Program.PgGubun, Program.PgCnt1, ProgAmt.Amt1, ProgAmt.Amt2, "
                                              "ProgAmt.Amt3 FROM Program LEFT JOIN ProgAmt "
                                              "ON Program.Pgid = ProgAmt.Pgid WHERE ProgAmt.PgId1 = ?"),
                               {pgId1});
    if (!r)
        return {};
    QList<FeeChoice> out;
    const qint64 a1 = r->num(QStringLiteral("Amt1"));
    if (r->str(QStringLiteral("PgGubun")) == QLatin1String("2")) {
        out.append({QStringLiteral("1"), a1,
                    QString(QString::number(r->num(QStringLiteral("PgCnt1"))) + QStringLiteral(" 시간 ") +
                            wonText(a1))});
        return out;
    }
    const qint64 amounts[] = {a1, r->num(QStringLiteral("Amt2")), r->num(QStringLiteral("Amt3"))};
    for (int i = 0; i < 3; ++i)
        out.append({QString::number(i + 1), amounts[i],
                    QString(QStringLiteral("강습료%1 ").arg(i + 1) + wonText(amounts[i]))});
    return out;
}

QString enrollmentEndDate(const QString &start, int monthCnt, bool openEnd)
{
    if (openEnd)
        return QString::fromLatin1(kOpenEndDate);
    return endDateAfterMonths(start, monthCnt + 1);
}

QStringList discountKindItems()
{
    return {QStringLiteral("0.할인없음"), QStringLiteral("1.현금할인"), QStringLiteral("2.마일리지"),
            QStringLiteral("3.쿠폰")};
}

QStringList lectGubunItems() { return {QStringLiteral("1.신규"), QStringLiteral("2.재등록")}; }

EnrollResult saveEnrollment(const AppContext &ctx, const EnrollmentInput &in)
{
    const Db &db = ctx.main;
    const QString title = enrollSaveTitle();
    const bool modify = in.jobGubun == QLatin1String("C");
    const qint64 due = in.amountDue();

    if (in.cashAmt < 0 || in.cardAmt < 0 || in.dcAmt < 0 || in.fee < 0)
        return EnrollResult::refuse(QStringLiteral("금액이 잘못되었읍니다"), title);
    if (due < 0)
        return EnrollResult::refuse(QStringLiteral("할인금액이 강습료보다 많읍니다"), title);
    EnrollResult result;
    switch (checkPayment(due, in.cashAmt, in.cardAmt)) {
    case PaymentCheck::More:
        return EnrollResult::refuse(QStringLiteral("입금액이 결재할 금액보다 많읍니다"), title);
    case PaymentCheck::Less:
        result.messages.append(
            {QStringLiteral("입금액이 결재할 금액보다 작읍니다..차액은 미납금으로 처리됩니다"), title, true});
        break;
    case PaymentCheck::Exact:
        break;
    }
    if (!isValidDateText(in.rqDate) || !isValidDateText(in.sDate1) || !isValidDateText(in.sDate2) ||
        in.sDate1 > in.sDate2) {
        result.messages.append({QStringLiteral("수강기간이 잘못되었읍니다"), title, true});
        return result;
    }

    return db.transaction([&]() -> EnrollResult {
        const auto member = loadMember(db, in.mbCode);
        if (!member) {
            result.messages.append({QStringLiteral("회원인적 자료를 찾을수 없읍니다"), QStringLiteral("회원인적"), true});
            return result;
        }
        const auto prog = db.queryOne(QStringLiteral("SELECT * FROM Program WHERE Pgid = ?"), {in.pgid});
        if (!prog) {
            result.messages.append({QStringLiteral("강좌자료를 찾을수 없읍니다"), QStringLiteral("강좌내역"), true});
            return result;
        }
        std::optional<LectureInfo> old;
        if (modify) {
            old = loadLectureInfo(db, in.ltid);
            if (!old || old->ltGubun != QLatin1String("1") || old->pgGubun == QLatin1String("4")) {
                result.messages.append({QStringLiteral("수강자료저장에 실패했읍니다"), title, true});
                return result;
            }
        }
        const bool mileage = in.dcGubun == QLatin1String("2") && in.dcAmt > 0;
        if (mileage && ctx.options.pointsInUse()) {
            qint64 available = member->point;
            if (modify)
                available += db.scalar(QStringLiteral("SELECT mPoint FROM UserPoint WHERE MbCode = ? AND "
                                                      "PgGubun = '1' AND JoinId = ?"),
                                       {in.mbCode, in.ltid})
                                 .toLongLong();
            if (in.dcAmt > available) {
                result.messages.append(
                    {QStringLiteral("사용할 포인트가 부족합니다 (잔여포인트 %1)").arg(wonText(available)), title, true});
                return result;
            }
        }

        const Stamp st = stampOf(ctx);
        const QString pgGubun = prog->str(QStringLiteral("PgGubun"));
        const QString pgName = prog->str(QStringLiteral("PgName"));
        ColumnValues cols = {
            {QStringLiteral("PgGubun"), pgGubun},
            {QStringLiteral("LtGubun"), QStringLiteral("1")},
            {QStringLiteral("LTyymm"), in.sDate1.left(7)},
            {QStringLiteral("MbCode"), member->mbCode},
            {QStringLiteral("MbName"), member->mbName},
            {QStringLiteral("Sex"), member->sex},
            {QStringLiteral("PgCode"), prog->str(QStringLiteral("PgCode"))},
            {QStringLiteral("Pgid"), in.pgid},
            {QStringLiteral("Course"), prog->str(QStringLiteral("Course"))},
            {QStringLiteral("Lclass"), prog->str(QStringLiteral("Lclass"))},
            {QStringLiteral("Mclass"), prog->str(QStringLiteral("Mclass"))},
            {QStringLiteral("Sclass"), prog->str(QStringLiteral("Sclass"))},
            {QStringLiteral("Time1"), prog->str(QStringLiteral("Time1"))},
            {QStringLiteral("Time2"), prog->str(QStringLiteral("Time2"))},
            {QStringLiteral("RqDate"), in.rqDate},
            {QStringLiteral("Lectgubun"), in.lectGubun.left(1)},
            {QStringLiteral("DcAmt"), in.dcAmt},
            {QStringLiteral("DcGubun"), in.dcGubun.left(1)},
            {QStringLiteral("TAmt"), due},
            {QStringLiteral("CashAmt"), in.cashAmt},
            {QStringLiteral("CardAmt"), in.cardAmt},
            {QStringLiteral("LtCode"), prog->str(QStringLiteral("LtCode"))},
            {QStringLiteral("MbGubun"), member->mbGubun},
            {QStringLiteral("Age"), member->age},
            {QStringLiteral("AgeGubun"), getAgeCode(db, member->age)},
            {QStringLiteral("Bpgid"), in.pgid},
            {QStringLiteral("BMbCode"), member->mbCode},
            {QStringLiteral("LastUser"), st.psCode},
            {QStringLiteral("LastDate"), st.date},
            {QStringLiteral("LastTime"), st.time},
            {QStringLiteral("AmtGubun"), in.amtGubun.left(1)},
            {QStringLiteral("Remark"), rtrim(in.remark)},
            {QStringLiteral("Sdate1"), in.sDate1},
            {QStringLiteral("Sdate2"), in.sDate2},
            {QStringLiteral("ddate1"), in.sDate1},
            {QStringLiteral("ddate2"), in.sDate2},
            {QStringLiteral("uPgCnt"), modify ? qMax<qint64>(0, in.uPgCnt) : 0},
            {QStringLiteral("PgCnt"), prog->num(QStringLiteral("PgCnt"))},
            {QStringLiteral("PgCnt1"), prog->num(QStringLiteral("PgCnt1"))},
            {QStringLiteral("MonthCnt"), in.monthCnt},
            {QStringLiteral("Card"), in.cardAmt > 0 ? in.card.left(1) : QString()},
            {QStringLiteral("PgName"), pgName},
        };
        qint64 ltid = in.ltid;
        if (!modify) {
            cols.append({QStringLiteral("Delay"), 0});
            cols.append({QStringLiteral("Cancel"), 0});
            cols.append({QStringLiteral("Transfer"), 0});
            cols.append({QStringLiteral("Change"), 0});
            ltid = insertColumns(db, QStringLiteral("Lecture"), cols, QStringLiteral("Ltid"));
        } else {
            // The links to the enrollment's dependent rows stay; its current
            // end follows from them and the period typed as sold.
            updateColumns(db, QStringLiteral("Lecture"), cols, QStringLiteral("Ltid"), ltid);
            repairBase(db, ltid);
        }

        result.misuAmt = updateMemberUnpaid(db, member->mbCode);
        const auto point = savePointEntry(db, ctx.options.opt7_1, QStringLiteral("1"), member->mbCode,
                                          member->mbName, in.rqDate, ltid, in.cashAmt + in.cardAmt, pgName,
                                          mileage ? in.dcAmt : 0);
        result.point = point.value_or(member->point);
        result.saved = true;
        result.id = ltid;
        result.messages.append({QStringLiteral("수강신청 자료를 저장했읍니다.."), title, false});
        return result;
    });
}

std::optional<StoredEnrollment> loadEnrollment(const Db &db, qint64 ltid)
{
    const auto l = loadLectureInfo(db, ltid);
    if (!l)
        return std::nullopt;
    StoredEnrollment s;
    s.course = l->course;
    s.pgGubun = l->pgGubun;
    EnrollmentInput &in = s.input;
    in.jobGubun = QStringLiteral("C");
    in.ltid = ltid;
    in.mbCode = l->mbCode;
    in.pgid = l->pgid;
    in.monthCnt = int(l->monthCnt);
    in.amtGubun = l->amtGubun.isEmpty() ? QStringLiteral("1") : l->amtGubun;
    in.fee = l->tAmt + l->dcAmt;
    in.rqDate = l->rqDate;
    in.sDate1 = l->sDate1;
    // The period as sold; the current end may have been moved by dependent rows.
    in.sDate2 = isValidDateText(l->dDate2) ? l->dDate2 : l->sDate2;
    in.lectGubun = l->lectGubun.isEmpty() ? QStringLiteral("1") : l->lectGubun;
    in.dcGubun = l->dcGubun.isEmpty() ? QStringLiteral("0") : l->dcGubun;
    in.dcAmt = l->dcAmt;
    in.cashAmt = l->cashAmt;
    in.cardAmt = l->cardAmt;
    in.card = l->card;
    in.uPgCnt = l->uPgCnt;
    in.remark = l->remark;
    return s;
}

// --- goods ------------------------------------------------------------------------

QList<ItemChoice> itemChoices(const Db &db)
{
    QList<ItemChoice> out;
    for (const Row &r : db.query(QStringLiteral("SELECT ItId, ItName, ItAmt FROM Item ORDER BY ItId")))
        out.append({r.num(QStringLiteral("ItId")),
                    QString(r.str(QStringLiteral("ItName")) + QLatin1Char(' ') + wonText(r.num(QStringLiteral("ItAmt")))),
                    r.num(QStringLiteral("ItAmt"))});
    return out;
}

QString cardChkOf(qint64 cash, qint64 card)
{
    if (cash > 0 && card > 0)
        return QStringLiteral("3");
    if (card > 0)
        return QStringLiteral("2");
    return QStringLiteral("1");
}

EnrollResult saveGoodsSale(const AppContext &ctx, const GoodsInput &in)
{
    const Db &db = ctx.main;
    const QString title = goodsSaveTitle();
    const bool modify = in.jobGubun == QLatin1String("C");
    if (in.qty <= 0)
        return EnrollResult::refuse(QStringLiteral("수량을 입력하세요"), title);
    if (in.cashAmt < 0 || in.cardAmt < 0 || in.dcAmt < 0 || in.price < 0)
        return EnrollResult::refuse(QStringLiteral("금액이 잘못되었읍니다"), title);
    const qint64 due = in.amountDue();
    if (due < 0)
        return EnrollResult::refuse(QStringLiteral("할인금액이 판매금액보다 많읍니다"), title);
    if (!isValidDateText(in.slDate))
        return EnrollResult::refuse(QStringLiteral("판매일자가 잘못되었읍니다"), title);
    EnrollResult result;
    switch (checkPayment(due, in.cashAmt, in.cardAmt)) {
    case PaymentCheck::More:
        return EnrollResult::refuse(QStringLiteral("입금액이 결재할 금액보다 많읍니다"), title);
    case PaymentCheck::Less:
        result.messages.append(
            {QStringLiteral("입금액이 결재할 금액보다 작읍니다..차액은 미수금으로 처리됩니다"), title, true});
        break;
    case PaymentCheck::Exact:
        break;
    }
    return db.transaction([&]() -> EnrollResult {
        const auto member = loadMember(db, in.mbCode);
        if (!member) {
            result.messages.append({QStringLiteral("회원인적 자료를 찾을수 없읍니다"), QStringLiteral("회원인적"), true});
            return result;
        }
        const auto item = db.queryOne(QStringLiteral("SELECT * FROM Item WHERE ItId = ?"), {in.itId});
        if (!item) {
            result.messages.append({QStringLiteral("상품자료를 찾을수 없읍니다"), title, true});
            return result;
        }
        std::optional<Row> old;
        if (modify) {
            old = db.queryOne(QStringLiteral("SELECT SlId, SlNo, SlDate FROM Sale WHERE SlId = ?"), {in.slid});
            if (!old) {
                result.messages.append({QStringLiteral("상품판매 자료를 찾을수 없읍니다"), kGoodsTitle, true});
                return result;
            }
        }
        const Stamp st = stampOf(ctx);
        auto columns = [&](const QString &slNo) {
            return ColumnValues{
                {QStringLiteral("SlNo"), slNo},
                {QStringLiteral("SEQ"), 1},
                {QStringLiteral("ItId"), in.itId},
                {QStringLiteral("ItCode"), item->str(QStringLiteral("ItCode"))},
                {QStringLiteral("Course"), item->str(QStringLiteral("Course"))},
                {QStringLiteral("Lclass"), item->str(QStringLiteral("Lclass"))},
                {QStringLiteral("Mclass"), item->str(QStringLiteral("Mclass"))},
                {QStringLiteral("Sclass"), item->str(QStringLiteral("Sclass"))},
                {QStringLiteral("SlDate"), in.slDate},
                {QStringLiteral("Slyymm"), in.slDate.left(7)},
                {QStringLiteral("Slqty"), in.qty},
                {QStringLiteral("SlCost"), in.price},
                {QStringLiteral("SlAmt1"), in.gross()},
                {QStringLiteral("CashAmt"), in.cashAmt},
                {QStringLiteral("CardAmt"), in.cardAmt},
                {QStringLiteral("CardChk"), cardChkOf(in.cashAmt, in.cardAmt)},
                {QStringLiteral("FnChk"), QStringLiteral("0")},
                {QStringLiteral("CashChk"), QStringLiteral("0")},
                {QStringLiteral("SlAmt"), due},
                {QStringLiteral("PosNo"), ctx.workstation.posNo},
                {QStringLiteral("CardGubun"), in.cardAmt > 0 ? in.cardGubun.left(1) : QString()},
                {QStringLiteral("DcAmt"), in.dcAmt},
                {QStringLiteral("DcGubun"), in.dcGubun.left(1)},
                {QStringLiteral("DcYul"), 0},
                {QStringLiteral("LastUser"), st.psCode},
                {QStringLiteral("LastTime"), st.time},
                {QStringLiteral("Reprint"), QStringLiteral("0")},
                {QStringLiteral("MbCode"), member->mbCode},
            };
        };
        qint64 slid = in.slid;
        const bool keepNumber = modify && old->str(QStringLiteral("SlDate")) == in.slDate;
        if (keepNumber) {
            updateColumns(db, QStringLiteral("Sale"), columns(old->str(QStringLiteral("SlNo"))), QStringLiteral("SlId"),
                          slid);
        } else {
            // A voucher number of the sale's own date, taken again on a clash
            // with another desk.
            retryOnUniqueViolation(db, [&] {
                const QString no = getNewVoucherNo(db, in.slDate, st.psCode);
                if (modify)
                    updateColumns(db, QStringLiteral("Sale"), columns(no), QStringLiteral("SlId"), slid);
                else
                    slid = insertColumns(db, QStringLiteral("Sale"), columns(no), QStringLiteral("SlId"));
            });
        }
        result.misuAmt = updateMemberUnpaid(db, member->mbCode);
        result.point = member->point;
        result.saved = true;
        result.id = slid;
        result.messages.append({QStringLiteral("상품판매 자료를 저장했읍니다.."), kGoodsTitle, false});
        return result;
    });
}

std::optional<GoodsInput> loadGoodsSale(const Db &db, qint64 slid)
{
    const auto r = db.queryOne(QStringLiteral("SELECT * FROM Sale WHERE SlId = ?"), {slid});
    if (!r)
        return std::nullopt;
    GoodsInput g;
    g.jobGubun = QStringLiteral("C");
    g.slid = slid;
    g.mbCode = r->str(QStringLiteral("MbCode"));
    g.itId = r->num(QStringLiteral("ItId"));
    g.qty = r->num(QStringLiteral("Slqty"));
    g.price = r->num(QStringLiteral("SlCost"));
    g.dcGubun = r->str(QStringLiteral("DcGubun")).isEmpty() ? QStringLiteral("0") : r->str(QStringLiteral("DcGubun"));
    g.dcAmt = r->num(QStringLiteral("DcAmt"));
    g.cashAmt = r->num(QStringLiteral("CashAmt"));
    g.cardAmt = r->num(QStringLiteral("CardAmt"));
    g.cardGubun = r->str(QStringLiteral("CardGubun"));
    g.slDate = r->str(QStringLiteral("SlDate"));
    return g;
}

} // namespace fitrova
