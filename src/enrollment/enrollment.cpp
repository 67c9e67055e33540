#include "enrollment/enrollment.h"

#include "closing/shift.h"
#include "enrollment/capacity.h"

#include "foundation/appcontext.h"
#include "data/dates.h"
#include "data/ledger.h"
#include "data/lookups.h"
#include "data/numbering.h"
#include "data/text.h"
#include "enrollment/enrollcommon.h"
#include "enrollment/waitlist.h"
#include "members/lecturedelete.h"
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

// The columns of a Sale line, named by this file.
using ColumnValues = QList<QPair<QString, QVariant>>;

qint64 insertSale(const Db &db, const ColumnValues &values)
{
    QStringList cols, marks;
    Params params;
    for (const auto &[name, value] : values) {
        cols << name;
        marks << QStringLiteral("?");
        params << value;
    }
    return db.insertId(QStringLiteral("INSERT INTO Sale (%1) VALUES (%2)")
                           .arg(cols.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))),
                       params, QStringLiteral("SlId"));
}

void updateSale(const Db &db, const ColumnValues &values, qint64 slid)
{
    QStringList sets;
    Params params;
    for (const auto &[name, value] : values) {
        sets << QStringLiteral("%1 = ?").arg(name);
        params << value;
    }
    params << slid;
    db.exec(QStringLiteral("UPDATE Sale SET %1 WHERE SlId = ?").arg(sets.join(QStringLiteral(", "))), params);
}

} // namespace

QString programKindText(ProgramKind kind)
{
    switch (kind) {
    case ProgramKind::Period:
        return QStringLiteral("기간제");
    case ProgramKind::TimeBased:
        return QStringLiteral("시간제");
    case ProgramKind::Box:
        return QStringLiteral("박스제");
    default:
        return {};
    }
}

ProgramKind programKindOfText(const QString &text)
{
    for (ProgramKind k : {ProgramKind::Period, ProgramKind::TimeBased, ProgramKind::Box})
        if (text.contains(programKindText(k)))
            return k;
    return ProgramKind::Unknown;
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
        c.kind = programKindOf(r.str(QStringLiteral("PgGubun")));
        c.text = QString(r.str(QStringLiteral("PgName")) + QLatin1Char(' ') + r.str(QStringLiteral("Time1")) +
                         QLatin1Char('~') + r.str(QStringLiteral("Time2")) + QLatin1Char(' ') +
                         r.str(QStringLiteral("LtName")) + QLatin1Char(' ') + programKindText(c.kind))
                     .simplified();
        out.append(c);
    }
    return out;
}

QList<MonthChoice> monthChoices(const Db &db, qint64 pgid, ProgramKind kind)
{
    QList<MonthChoice> out;
    const bool timeOrBox = kind == ProgramKind::TimeBased || kind == ProgramKind::Box;
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
    if (programKindOf(r->str(QStringLiteral("PgGubun"))) == ProgramKind::TimeBased) {
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
        result.warn(QStringLiteral("입금액이 결재할 금액보다 작읍니다..차액은 미납금으로 처리됩니다"), title);
        break;
    case PaymentCheck::Exact:
        break;
    }
    if (!isValidDateText(in.rqDate) || !isValidDateText(in.sDate1) || !isValidDateText(in.sDate2) ||
        in.sDate1 > in.sDate2) {
        result.warn(QStringLiteral("수강기간이 잘못되었읍니다"), title);
        return result;
    }

    return db.transaction([&]() -> EnrollResult {
        // The enrollment modified, then the member, locked in this order by
        // every action: the points to spend are read only once no other desk
        // can spend them.
        std::optional<LectureRecord> old;
        if (modify) {
            old = loadLecture(db, in.ltid, RowLock::ForUpdate);
            if (!old || old->kind != LectureKind::Enrollment || old->programKind == ProgramKind::Payment) {
                result.warn(QStringLiteral("수강자료저장에 실패했읍니다"), title);
                return result;
            }
        }
        lockMember(db, in.mbCode);
        const auto member = loadMember(db, in.mbCode);
        if (!member) {
            result.warn(QStringLiteral("회원인적 자료를 찾을수 없읍니다"), QStringLiteral("회원인적"));
            return result;
        }
        const auto prog = db.queryOne(QStringLiteral("SELECT * FROM Program WHERE Pgid = ?"), {in.pgid});
        if (!prog) {
            result.warn(QStringLiteral("강좌자료를 찾을수 없읍니다"), QStringLiteral("강좌내역"));
            return result;
        }
        if (const CapacityCheck cap = checkCapacity(db, in.pgid, in.sDate1, in.sDate2, modify ? in.ltid : 0);
            cap.full) {
            EnrollResult full = EnrollResult::refuse(capacityRefusalText(cap), capacityTitle());
            full.waitOffer = EnrollResult::WaitOffer{in.pgid, member->mbCode, in.sDate1, in.sDate2};
            return full;
        }
        const bool mileage = in.dcGubun == QLatin1String("2") && in.dcAmt > 0;
        if (mileage && ctx.options.pointsInUse()) {
            // From the ledger itself, not from a balance read before the lock.
            qint64 available = memberPointBalance(db, in.mbCode);
            if (modify)
                available += db.scalar(QStringLiteral("SELECT mPoint FROM UserPoint WHERE MbCode = ? AND "
                                                      "PgGubun = '1' AND JoinId = ?"),
                                       {in.mbCode, in.ltid})
                                 .toLongLong();
            if (in.dcAmt > available) {
                result.warn(QStringLiteral("사용할 포인트가 부족합니다 (잔여포인트 %1)").arg(wonText(available)), title);
                return result;
            }
        }

        const QString pgName = prog->str(QStringLiteral("PgName"));
        LectureRecord row = old.value_or(LectureRecord{});
        row.programKind = programKindOf(prog->str(QStringLiteral("PgGubun")));
        row.kind = LectureKind::Enrollment;
        row.ltyymm = in.sDate1.left(7);
        row.mbCode = member->mbCode;
        row.mbName = member->mbName;
        row.sex = member->sex;
        row.pgCode = prog->str(QStringLiteral("PgCode"));
        row.pgid = in.pgid;
        row.pgName = pgName;
        row.course = prog->str(QStringLiteral("Course"));
        row.lclass = prog->str(QStringLiteral("Lclass"));
        row.mclass = prog->str(QStringLiteral("Mclass"));
        row.sclass = prog->str(QStringLiteral("Sclass"));
        row.time1 = prog->str(QStringLiteral("Time1"));
        row.time2 = prog->str(QStringLiteral("Time2"));
        row.ltCode = prog->str(QStringLiteral("LtCode"));
        row.rqDate = in.rqDate;
        row.lectGubun = in.lectGubun.left(1);
        row.dcAmt = in.dcAmt;
        row.dcGubun = in.dcGubun.left(1);
        row.tAmt = due;
        row.cashAmt = in.cashAmt;
        row.cardAmt = in.cardAmt;
        row.card = in.cardAmt > 0 ? in.card.left(1) : QString();
        row.mbGubun = member->mbGubun;
        row.age = member->age;
        row.ageGubun = getAgeCode(db, member->age);
        row.bpgid = in.pgid;
        row.bMbCode = member->mbCode;
        stampRow(row, stampOf(ctx));
        row.amtGubun = in.amtGubun.left(1);
        row.remark = rtrim(in.remark);
        row.sDate1 = row.dDate1 = in.sDate1;
        row.sDate2 = row.dDate2 = in.sDate2;
        row.uPgCnt = modify ? qMax<qint64>(0, in.uPgCnt) : 0;
        row.pgCnt = prog->num(QStringLiteral("PgCnt"));
        row.pgCnt1 = prog->num(QStringLiteral("PgCnt1"));
        row.monthCnt = in.monthCnt;
        qint64 ltid = in.ltid;
        if (!modify) {
            ltid = insertLecture(db, row);
        } else {
            // The links to the enrollment's dependent rows stay; its current
            // end follows from them and the period typed as sold.
            using F = LectureField;
            updateLecture(db, row,
                          {F::PgGubun, F::LtGubun, F::LTyymm, F::MbCode, F::MbName, F::Sex, F::PgCode, F::Pgid,
                           F::Course, F::Lclass, F::Mclass, F::Sclass, F::Time1, F::Time2, F::RqDate, F::Lectgubun,
                           F::DcAmt, F::DcGubun, F::TAmt, F::CashAmt, F::CardAmt, F::LtCode, F::MbGubun, F::Age,
                           F::AgeGubun, F::Bpgid, F::BMbCode, F::LastUser, F::LastDate, F::LastTime, F::AmtGubun,
                           F::Remark, F::Sdate1, F::Sdate2, F::ddate1, F::ddate2, F::uPgCnt, F::PgCnt, F::PgCnt1,
                           F::MonthCnt, F::Card, F::PgName});
            repairBase(db, ltid);
        }
        // Enrolled: the member no longer waits for the program.
        leaveWaitList(db, in.pgid, member->mbCode);

        result.misuAmt = updateMemberUnpaid(db, member->mbCode);
        const auto point = savePointEntry(db, ctx.options.opt7_1, QStringLiteral("1"), member->mbCode,
                                          member->mbName, in.rqDate, ltid, in.cashAmt + in.cardAmt, pgName,
                                          mileage ? in.dcAmt : 0);
        result.point = point.value_or(member->point);
        openShiftForTakings(db, shiftStamp(ctx), in.cashAmt != 0 || in.cardAmt != 0);
        result.saved = true;
        result.id = ltid;
        result.info(QStringLiteral("수강신청 자료를 저장했읍니다.."), title);
        // A modification that moved the enrollment to another program freed
        // a place in the old one.
        if (old && old->pgid != in.pgid)
            if (const Notice n = placeFreedNotice(db, old->pgid, stampOf(ctx).date); !n.isEmpty())
                result.notices.append(n);
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
    s.kind = l->programKind;
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
        result.warn(QStringLiteral("입금액이 결재할 금액보다 작읍니다..차액은 미수금으로 처리됩니다"), title);
        break;
    case PaymentCheck::Exact:
        break;
    }
    return db.transaction([&]() -> EnrollResult {
        const auto member = loadMember(db, in.mbCode);
        if (!member) {
            result.warn(QStringLiteral("회원인적 자료를 찾을수 없읍니다"), QStringLiteral("회원인적"));
            return result;
        }
        const auto item = db.queryOne(QStringLiteral("SELECT * FROM Item WHERE ItId = ?"), {in.itId});
        if (!item) {
            result.warn(QStringLiteral("상품자료를 찾을수 없읍니다"), title);
            return result;
        }
        std::optional<Row> old;
        if (modify) {
            old = db.queryOne(QStringLiteral("SELECT SlId, SlNo, SlDate FROM Sale WHERE SlId = ?") + db.forUpdate(),
                              {in.slid});
            if (!old) {
                result.warn(QStringLiteral("상품판매 자료를 찾을수 없읍니다"), kGoodsTitle);
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
            updateSale(db, columns(old->str(QStringLiteral("SlNo"))), slid);
        } else {
            // A voucher number of the sale's own date, taken again on a clash
            // with another desk.
            retryOnUniqueViolation(db, [&] {
                const QString no = getNewVoucherNo(db, in.slDate, st.psCode);
                if (modify)
                    updateSale(db, columns(no), slid);
                else
                    slid = insertSale(db, columns(no));
            });
        }
        result.misuAmt = updateMemberUnpaid(db, member->mbCode);
        // Goods bought by a member earn points on the sale amount.
        result.point = savePointEntry(db, ctx.options.opt7_1, QStringLiteral("4"), member->mbCode, member->mbName,
                                      in.slDate, slid, due, item->str(QStringLiteral("ItName")), 0)
                           .value_or(member->point);
        openShiftForTakings(db, shiftStamp(ctx), in.cashAmt != 0 || in.cardAmt != 0);
        result.saved = true;
        result.id = slid;
        result.info(QStringLiteral("상품판매 자료를 저장했읍니다.."), kGoodsTitle);
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
