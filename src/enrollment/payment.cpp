#include "enrollment/payment.h"

#include "foundation/appcontext.h"
#include "data/dates.h"
#include "data/ledger.h"
#include "enrollment/enrollcommon.h"
#include "enrollment/lecturewrite.h"
#include "members/memberstore.h"

namespace fitrova {

EnrollResult savePayment(const AppContext &ctx, const PaymentInput &in)
{
    const Db &db = ctx.main;
    const QString title = paymentTitle();
    if (!isValidDateText(in.payDate))
        return EnrollResult::refuse(QStringLiteral("입금일자가 잘못되었읍니다"), title);
    if (in.cashAmt < 0 || in.cardAmt < 0)
        return EnrollResult::refuse(QStringLiteral("금액이 잘못되었읍니다"), title);
    if (in.cashAmt + in.cardAmt == 0)
        return EnrollResult::refuse(QStringLiteral("입금액을 입력하세요"), title);
    const bool modify = in.jobGubun == QLatin1String("C");

    return db.transaction([&]() -> EnrollResult {
        const auto member = loadMember(db, in.mbCode);
        if (!member)
            return EnrollResult::refuse(QStringLiteral("회원인적 자료를 찾을수 없읍니다"), QStringLiteral("회원인적"));
        const Stamp st = stampOf(ctx);
        ColumnValues cols = {
            {QStringLiteral("PgGubun"), QStringLiteral("4")},
            {QStringLiteral("LtGubun"), QStringLiteral("1")},
            {QStringLiteral("RqDate"), in.payDate},
            {QStringLiteral("LTyymm"), in.payDate.left(7)},
            {QStringLiteral("MbCode"), member->mbCode},
            {QStringLiteral("MbName"), member->mbName},
            {QStringLiteral("Pgid"), 0},
            {QStringLiteral("TAmt"), 0},
            {QStringLiteral("CashAmt"), in.cashAmt},
            {QStringLiteral("CardAmt"), in.cardAmt},
            {QStringLiteral("Card"), in.cardAmt >= 1 ? in.card.left(1) : QString()},
            {QStringLiteral("LastUser"), st.psCode},
            {QStringLiteral("LastDate"), st.date},
            {QStringLiteral("LastTime"), st.time},
        };
        qint64 rowId = in.ltid;
        if (modify) {
            if (!db.queryOne(QStringLiteral("SELECT Ltid FROM Lecture WHERE Ltid = ? AND PgGubun = '4' AND MbCode = ?"),
                             {rowId, member->mbCode}))
                return EnrollResult::refuse(QStringLiteral("해당자료를 찾을수 없읍니다"), title);
            updateColumns(db, QStringLiteral("Lecture"), cols, QStringLiteral("Ltid"), rowId);
        } else {
            cols += ColumnValues{{QStringLiteral("Delay"), 0},
                                 {QStringLiteral("Cancel"), 0},
                                 {QStringLiteral("Transfer"), 0},
                                 {QStringLiteral("Change"), 0}};
            rowId = insertColumns(db, QStringLiteral("Lecture"), cols, QStringLiteral("Ltid"));
        }
        EnrollResult r;
        r.point = savePointEntry(db, ctx.options.opt7_1, QStringLiteral("3"), member->mbCode, member->mbName,
                                 in.payDate, rowId, in.cashAmt + in.cardAmt, QStringLiteral("미납입금"), 0)
                      .value_or(member->point);
        r.misuAmt = updateMemberUnpaid(db, member->mbCode);
        r.saved = true;
        r.id = rowId;
        r.messages.append({QStringLiteral("미납금 자료를 저장했읍니다.."), title, false});
        return r;
    });
}

std::optional<PaymentInput> loadPayment(const Db &db, qint64 ltid)
{
    const auto r = db.queryOne(QStringLiteral("SELECT * FROM Lecture WHERE Ltid = ? AND PgGubun = '4'"), {ltid});
    if (!r)
        return std::nullopt;
    PaymentInput p;
    p.jobGubun = QStringLiteral("C");
    p.ltid = ltid;
    p.mbCode = r->str(QStringLiteral("MbCode"));
    p.payDate = r->str(QStringLiteral("RqDate"));
    p.cashAmt = r->num(QStringLiteral("CashAmt"));
    p.cardAmt = r->num(QStringLiteral("CardAmt"));
    p.card = r->str(QStringLiteral("Card"));
    return p;
}

} // namespace fitrova
