#include "enrollment/enrollmentreceipt.h"

#include "foundation/appcontext.h"
#include "data/dates.h"
#include "data/lookups.h"

namespace fitrova {

QString paymentKindText(qint64 cash, qint64 card)
{
    if (cash > 0 && card > 0)
        return QStringLiteral("현금+카드");
    if (card > 0)
        return QStringLiteral("카드");
    return QStringLiteral("현금");
}

std::optional<EnrollmentReceiptData> loadEnrollmentReceipt(const AppContext &ctx, qint64 ltid)
{
    const Db &db = ctx.main;
    const auto l = db.queryOne(
        QStringLiteral("SELECT Lecture.*, Program.PgName AS ProgName, Member.MbCard AS MemberCard, "
                       "Member.MbName AS MemberName, Member.Point AS MemberPoint "
                       "FROM (Lecture LEFT JOIN Program ON Lecture.Pgid = Program.Pgid) "
                       "LEFT JOIN Member ON Lecture.MbCode = Member.MbCode WHERE Lecture.Ltid = ?"),
        {ltid});
    if (!l)
        return std::nullopt;
    EnrollmentReceiptData d;
    d.businessName = ctx.business.name;
    d.businessTel = ctx.business.tel;
    d.dateTime = QString(fmtDate(ctx.clock().today()) + QLatin1Char(' ') + nowTime(ctx.clock()));
    d.userName = ctx.user.userName;
    d.mbCode = l->str(QStringLiteral("MbCode"));
    d.mbName = l->str(QStringLiteral("MemberName"));
    if (d.mbName.isEmpty())
        d.mbName = l->str(QStringLiteral("MbName"));
    d.mbCard = l->str(QStringLiteral("MemberCard"));
    d.rqDate = l->str(QStringLiteral("RqDate"));
    d.pgName = l->str(QStringLiteral("ProgName"));
    if (d.pgName.isEmpty())
        d.pgName = l->str(QStringLiteral("PgName"));
    d.monthCnt = l->num(QStringLiteral("MonthCnt"));
    d.sDate1 = l->str(QStringLiteral("Sdate1"));
    d.sDate2 = l->str(QStringLiteral("Sdate2"));
    d.tAmt = l->num(QStringLiteral("TAmt"));
    d.cashAmt = l->num(QStringLiteral("CashAmt"));
    d.cardAmt = l->num(QStringLiteral("CardAmt"));
    d.point = l->num(QStringLiteral("MemberPoint"));
    if (const auto p = db.queryOne(QStringLiteral("SELECT uPoint, mPoint FROM UserPoint WHERE JoinId = ? AND "
                                                  "PgGubun = '1' AND MbCode = ?"),
                                   {ltid, d.mbCode})) {
        d.hasPoints = true;
        d.uPoint = p->num(QStringLiteral("uPoint"));
        d.mPoint = p->num(QStringLiteral("mPoint"));
    }
    return d;
}

Receipt buildEnrollmentReceipt(const EnrollmentReceiptData &d)
{
    Receipt r;
    r.normal().align(0);
    r.bold().line(QStringLiteral("       ***** 수강영수증 *****")).normal();
    r.line(QString(d.businessName + QStringLiteral(" (") + d.businessTel + QLatin1Char(')')));
    r.line(QString(d.dateTime + QStringLiteral(" 담당자 : ") + d.userName));
    r.rule(38);
    r.line(QString(QStringLiteral("회원번호 : ") + d.mbCode));
    r.line(QString(QStringLiteral("회 원 명 : ") + d.mbName));
    r.line(QString(QStringLiteral("카드번호 : ") + d.mbCard));
    r.line(QString(QStringLiteral("접수일자 : ") + d.rqDate));
    r.line(QString(QStringLiteral("강 좌 명 : ") + d.pgName));
    r.line(QString(QStringLiteral("수강개월 : ") + QString::number(d.monthCnt)));
    r.line(QString(QStringLiteral("수강기간 : ") + d.sDate1 + QStringLiteral(" ~ ") + d.sDate2));
    r.rule(38);
    r.line(QString(QStringLiteral("강 습 료 : ") + wonText(d.tAmt)));
    r.line(QString(QStringLiteral("결제금액 : ") + wonText(d.paid())));
    r.line(QString(QStringLiteral("미 납 금 : ") + wonText(d.unpaid())));
    r.line(QString(QStringLiteral("결제유형 : ") + paymentKindText(d.cashAmt, d.cardAmt)));
    r.rule(38);
    if (d.hasPoints) {
        r.line(QString(QStringLiteral("금회포인트 : ") + wonText(d.uPoint)));
        r.line(QString(QStringLiteral("차감포인트 : ") + wonText(d.mPoint)));
        r.line(QString(QStringLiteral("누적포인트 : ") + wonText(d.point)));
    }
    r.rule(42);
    r.line(QString(d.businessName + QStringLiteral(" ( Tel : ") + d.businessTel + QStringLiteral(" )")));
    r.blank(4).cut();
    return r;
}

} // namespace fitrova
