#include "members/memberhistory.h"

#include "data/codetexts.h"
#include "data/dates.h"
#include "data/lookups.h"

#include <QPair>
#include <algorithm>

namespace fitrova {

namespace {

QString numOrBlank(qint64 v) { return v == 0 ? QString() : QString::number(v); }
QString wonOrBlank(qint64 v) { return v == 0 ? QString() : wonText(v); }

bool isCourseKind(HistoryKind k)
{
    return k == HistoryKind::Course || k == HistoryKind::Coupon || k == HistoryKind::Box;
}

HistoryKind kindOf(const QString &pgGubun)
{
    if (pgGubun == QLatin1String("1"))
        return HistoryKind::Course;
    if (pgGubun == QLatin1String("2"))
        return HistoryKind::Coupon;
    if (pgGubun == QLatin1String("3"))
        return HistoryKind::Box;
    if (pgGubun == QLatin1String("4"))
        return HistoryKind::Payment;
    return HistoryKind::Other;
}

} // namespace

// --- loading ----------------------------------------------------------------------

MemberHistory loadMemberHistory(const Db &db, const QString &mbCode)
{
    MemberHistory h;
    const Rows lect = db.query(
        QStringLiteral("SELECT Lecture.Ltid, Lecture.LtGubun, Lecture.PgGubun, Lecture.MbCode, Lecture.Pgid, "
                       "COALESCE(Program.PgName, Lecture.PgName) AS ShowName, Lecture.RqDate, Lecture.Sdate1, "
                       "Lecture.Sdate2, Lecture.ddate2, Lecture.MonthCnt, Lecture.PgCnt1, Lecture.PgCnt, "
                       "Lecture.uPgCnt, Lecture.TAmt, Lecture.CashAmt, Lecture.CardAmt, Lecture.Delay, "
                       "Lecture.Cancel, Lecture.Transfer, Lecture.Change, Lecture.BLtid, Lecture.Rday, "
                       "Lecture.Remark "
                       "FROM Lecture LEFT JOIN Program ON Lecture.Pgid = Program.Pgid "
                       "WHERE Lecture.MbCode = ? ORDER BY Lecture.RqDate DESC, Lecture.Ltid DESC"),
        {mbCode});
    for (const Row &r : lect) {
        LectureRow l;
        l.ltid = r.num(QStringLiteral("Ltid"));
        l.ltGubun = r.str(QStringLiteral("LtGubun"));
        l.pgGubun = r.str(QStringLiteral("PgGubun"));
        l.mbCode = r.str(QStringLiteral("MbCode"));
        l.pgid = r.num(QStringLiteral("Pgid"));
        l.pgName = r.str(QStringLiteral("ShowName"));
        l.rqDate = r.str(QStringLiteral("RqDate"));
        l.sDate1 = r.str(QStringLiteral("Sdate1"));
        l.sDate2 = r.str(QStringLiteral("Sdate2"));
        l.dDate2 = r.str(QStringLiteral("ddate2"));
        l.monthCnt = r.num(QStringLiteral("MonthCnt"));
        l.pgCnt1 = r.num(QStringLiteral("PgCnt1"));
        l.pgCnt = r.num(QStringLiteral("PgCnt"));
        l.uPgCnt = r.num(QStringLiteral("uPgCnt"));
        l.tAmt = r.num(QStringLiteral("TAmt"));
        l.cashAmt = r.num(QStringLiteral("CashAmt"));
        l.cardAmt = r.num(QStringLiteral("CardAmt"));
        l.delay = r.num(QStringLiteral("Delay"));
        l.cancel = r.num(QStringLiteral("Cancel"));
        l.transfer = r.num(QStringLiteral("Transfer"));
        l.change = r.num(QStringLiteral("Change"));
        l.bLtid = r.num(QStringLiteral("BLtid"));
        l.rday = r.num(QStringLiteral("Rday"));
        l.remark = r.str(QStringLiteral("Remark"));
        if (l.ltGubun == QLatin1String("0") && l.bLtid > 0 && !h.owners.contains(l.bLtid))
            h.owners.insert(l.bLtid, getLectureOwnerText(db, l.bLtid));
        if (l.transfer > 0 && !h.owners.contains(l.transfer))
            h.owners.insert(l.transfer, getLectureOwnerText(db, l.transfer));
        h.lectures.append(l);
    }
    const Rows sales = db.query(QStringLiteral("SELECT Sale.SlId, Sale.SlDate, Sale.Slqty, Sale.SlAmt, Sale.CashAmt, "
                                               "Sale.CardAmt, Item.ItName "
                                               "FROM Sale LEFT JOIN Item ON Sale.ItId = Item.ItId "
                                               "WHERE Sale.MbCode = ? ORDER BY Sale.SlDate DESC, Sale.SlId DESC"),
                                {mbCode});
    for (const Row &r : sales) {
        SaleRow s;
        s.slid = r.num(QStringLiteral("SlId"));
        s.slDate = r.str(QStringLiteral("SlDate"));
        s.itName = r.str(QStringLiteral("ItName"));
        s.qty = r.num(QStringLiteral("Slqty"));
        s.slAmt = r.num(QStringLiteral("SlAmt"));
        s.cashAmt = r.num(QStringLiteral("CashAmt"));
        s.cardAmt = r.num(QStringLiteral("CardAmt"));
        h.sales.append(s);
    }
    return h;
}

// --- texts ------------------------------------------------------------------------

QStringList historyHeaders()
{
    return {QStringLiteral("분류"), QStringLiteral("구분"), QStringLiteral("신청일자"), QStringLiteral("내역"),
            QStringLiteral("시간"), QStringLiteral("개월"), QStringLiteral("시작일"), QStringLiteral("만기일"),
            QStringLiteral("금액"), QStringLiteral("현금"), QStringLiteral("카드"), QStringLiteral("잔여"),
            QStringLiteral("비고")};
}

QString historyKindName(const QString &pgGubun)
{
    switch (kindOf(pgGubun)) {
    case HistoryKind::Course: return QStringLiteral("강좌");
    case HistoryKind::Coupon: return QStringLiteral("쿠폰");
    case HistoryKind::Box: return QStringLiteral("박스");
    case HistoryKind::Payment: return QStringLiteral("입금");
    default: return {};
    }
}

QString historyStateName(const QString &pgGubun, const QString &ltGubun)
{
    if (pgGubun == QLatin1String("4"))
        return QStringLiteral("미수입금");
    if (ltGubun == QLatin1String("0"))
        return QStringLiteral("양수");
    if (ltGubun == QLatin1String("1"))
        return QStringLiteral("신청");
    if (ltGubun == QLatin1String("2"))
        return QStringLiteral("변경");
    if (ltGubun == QLatin1String("3"))
        return QStringLiteral("연기");
    if (ltGubun == QLatin1String("4"))
        return QStringLiteral("환불");
    return {};
}

int remainDays(const QString &endDate, const QDate &today)
{
    const QDate end = dateFromText(endDate.trimmed());
    if (!end.isValid())
        return 0;
    const qint64 days = today.daysTo(end);
    return days > 0 ? int(std::min<qint64>(days, 9999999)) : 0;
}

namespace {

QString remainText(const LectureRow &l, const QDate &today)
{
    if (l.pgGubun == QLatin1String("1"))
        return QString::number(remainDays(l.sDate2, today)) + QStringLiteral(" 일");
    if (l.pgGubun == QLatin1String("2"))
        return QString::number(l.pgCnt - l.uPgCnt) + QStringLiteral(" 분");
    return {};
}

HistoryTone toneOf(const LectureRow &l)
{
    if (l.pgGubun == QLatin1String("4"))
        return HistoryTone::Payment;
    if (l.ltGubun == QLatin1String("0"))
        return HistoryTone::Received;
    if (l.ltGubun == QLatin1String("2"))
        return HistoryTone::Changed;
    if (l.ltGubun == QLatin1String("3"))
        return HistoryTone::Postponed;
    if (l.ltGubun == QLatin1String("4"))
        return HistoryTone::Refunded;
    return HistoryTone::Enrolled;
}

} // namespace

QList<HistoryLine> buildHistoryLines(const MemberHistory &h, const QDate &today)
{
    QList<HistoryLine> out;
    out.reserve(h.lectures.size() + h.sales.size());
    for (const LectureRow &l : h.lectures) {
        HistoryLine line;
        line.kind = kindOf(l.pgGubun);
        line.id = l.ltid;
        line.baseId = l.bLtid;
        line.pgid = l.pgid;
        line.ltGubun = l.ltGubun;
        line.pgGubun = l.pgGubun;
        line.delay = l.delay;
        line.cancel = l.cancel;
        line.transfer = l.transfer;
        line.change = l.change;
        line.tone = toneOf(l);

        QString detail = l.pgName;
        if (line.kind == HistoryKind::Payment && detail.isEmpty())
            detail = QStringLiteral("미납입금");
        if (l.ltGubun == QLatin1String("0") && line.kind != HistoryKind::Payment)
            detail += QStringLiteral(" 양도자:") + h.owners.value(l.bLtid);
        if (l.transfer > 0)
            detail += QStringLiteral(" 양수자:") + h.owners.value(l.transfer);
        if (l.ltGubun == QLatin1String("3") && line.kind != HistoryKind::Payment)
            detail += QLatin1Char(' ') + QString::number(l.rday) + QStringLiteral("일 - ") + l.remark;

        const QString words = lectureStateRemark(l.delay, l.cancel, l.transfer, l.change, l.ltGubun);
        const QString remark = QString(l.remark + QLatin1Char(' ') + words).trimmed();

        line.cells = QStringList{historyKindName(l.pgGubun),
                                 historyStateName(l.pgGubun, l.ltGubun),
                                 l.rqDate,
                                 detail.trimmed(),
                                 numOrBlank(l.pgCnt1),
                                 numOrBlank(l.monthCnt),
                                 l.sDate1,
                                 l.sDate2,
                                 wonText(l.tAmt),
                                 wonText(l.cashAmt),
                                 wonText(l.cardAmt),
                                 remainText(l, today),
                                 remark};
        const QDate end = dateFromText(l.sDate2);
        line.ended = end.isValid() && end < today;
        out.append(line);
    }
    for (const SaleRow &s : h.sales) {
        HistoryLine line;
        line.kind = HistoryKind::Goods;
        line.isSale = true;
        line.id = s.slid;
        line.tone = HistoryTone::Goods;
        QString detail = s.itName;
        if (s.qty != 0)
            detail += QStringLiteral(" (%1개)").arg(s.qty);
        line.cells = QStringList{QStringLiteral("상품"), QStringLiteral("판매"), s.slDate, detail.trimmed(),
                                 QString(), QString(), QString(), QString(), wonText(s.slAmt), wonText(s.cashAmt),
                                 wonText(s.cardAmt), QString(), QString()};
        out.append(line);
    }
    return out;
}

// --- the course running today ----------------------------------------------------

CurrentCourse currentCourse(const QList<LectureRow> &lectures, const QDate &today)
{
    const QString t = fmtDate(today);
    for (const LectureRow &l : lectures) {
        if (l.pgGubun == QLatin1String("4"))
            continue;
        if (!(l.ltGubun == QLatin1String("0") || l.ltGubun == QLatin1String("1") || l.ltGubun == QLatin1String("2")))
            continue;
        if (l.sDate1.isEmpty() || l.sDate2.isEmpty() || !(l.sDate1 <= t && t <= l.sDate2))
            continue;
        CurrentCourse c;
        c.found = true;
        c.name = l.pgName;
        if (l.pgGubun == QLatin1String("1"))
            c.remain = QString::number(remainDays(l.sDate2, today)) + QStringLiteral(" 일");
        else if (l.pgGubun == QLatin1String("2"))
            c.remain = QString::number(l.pgCnt - l.uPgCnt) + QStringLiteral(" 분");
        return c;
    }
    return {};
}

// --- commands -------------------------------------------------------------------

HistoryButtons historyButtons(bool memberLoaded, const HistoryLine *selected, bool transferInUse)
{
    HistoryButtons b;
    if (!memberLoaded)
        return b;
    b.enroll = true;
    b.payment = true;
    if (!selected)
        return b;
    if (selected->isSale || selected->kind == HistoryKind::Payment) {
        b.modify = true;
        b.deleteRow = true;
        return b;
    }
    if (!isCourseKind(selected->kind))
        return b;
    const QString &g = selected->ltGubun;
    b.modify = true;
    b.deleteRow = true;
    if (g == QLatin1String("0") || g == QLatin1String("1") || g == QLatin1String("2")) {
        const bool live = selected->cancel <= 0 && selected->transfer <= 0;
        b.postpone = live;
        b.refund = live;
        b.classChange = live && selected->pgGubun == QLatin1String("1");
        b.transfer = live && transferInUse;
    }
    return b;
}

ModifyDecision modifyDispatch(const HistoryLine &line, const QString &mbCode)
{
    ModifyDecision d;
    EnrollmentRequest &r = d.request;
    r.jobGubun = QStringLiteral("C");
    r.mbCode = mbCode;
    r.ltid = line.id;
    r.pgid = line.pgid;
    if (line.isSale) {
        r.screen = EnrollmentScreen::Enrollment;
        r.tab = 1;
        return d;
    }
    if (line.kind == HistoryKind::Payment) {
        r.screen = EnrollmentScreen::Payment;
        return d;
    }
    if (line.transfer > 0) {
        d.refused = true;
        d.message = {Notice::Kind::Warn, QStringLiteral("양도된 강좌는 수정할수 없읍니다"), QStringLiteral("강좌수정")};
        return d;
    }
    const QString &g = line.ltGubun;
    if (g == QLatin1String("3")) {
        r.screen = EnrollmentScreen::Postponement;
        r.bLtid = line.baseId;
    } else if (g == QLatin1String("4")) {
        r.screen = EnrollmentScreen::Refund;
        r.bLtid = line.baseId;
    } else if (g == QLatin1String("2")) {
        r.screen = EnrollmentScreen::ClassChange;
        r.bLtid = line.baseId;
    } else if (g == QLatin1String("0")) {
        r.screen = EnrollmentScreen::Transfer;
    } else {
        r.screen = EnrollmentScreen::Enrollment;
    }
    return d;
}

EnrollmentRequest newEnrollmentRequest(EnrollmentScreen screen, const QString &mbCode, const HistoryLine *selected,
                                       qint64 misuAmt)
{
    EnrollmentRequest r;
    r.screen = screen;
    r.jobGubun = QStringLiteral("N");
    r.mbCode = mbCode;
    if (screen == EnrollmentScreen::Payment)
        r.misuAmt = misuAmt;
    if (selected && !selected->isSale &&
        (screen == EnrollmentScreen::ClassChange || screen == EnrollmentScreen::Transfer ||
         screen == EnrollmentScreen::Postponement || screen == EnrollmentScreen::Refund)) {
        r.ltid = selected->id;
        r.pgid = selected->pgid;
    }
    return r;
}

// --- the point ledger ------------------------------------------------------------

QStringList pointHeaders()
{
    return {QStringLiteral("구분"), QStringLiteral("적용일자"), QStringLiteral("내역"), QStringLiteral("매출금액"),
            QStringLiteral("적립포인트"), QStringLiteral("사용포인트"), QStringLiteral("누적포인트")};
}

QString pointKindName(const QString &pgGubun)
{
    if (pgGubun == QLatin1String("1"))
        return QStringLiteral("강좌");
    if (pgGubun == QLatin1String("2"))
        return QStringLiteral("쿠폰");
    if (pgGubun == QLatin1String("3"))
        return QStringLiteral("입금");
    if (pgGubun == QLatin1String("4"))
        return QStringLiteral("상품");
    return {};
}

QList<PointRow> loadPointRows(const Db &db, const QString &mbCode)
{
    QList<PointRow> out;
    const Rows rows = db.query(QStringLiteral("SELECT Ptid, PgGubun, pDate, Remark, Amount, uPoint, mPoint "
                                              "FROM UserPoint WHERE MbCode = ? ORDER BY pDate, Ptid"),
                               {mbCode});
    for (const Row &r : rows)
        out.append({r.num(QStringLiteral("Ptid")), r.str(QStringLiteral("PgGubun")), r.str(QStringLiteral("pDate")),
                    r.str(QStringLiteral("Remark")), r.num(QStringLiteral("Amount")),
                    r.num(QStringLiteral("uPoint")), r.num(QStringLiteral("mPoint"))});
    return out;
}

QList<PointLine> buildPointLines(const QList<PointRow> &rows)
{
    QList<PointLine> out;
    qint64 balance = 0;
    for (const PointRow &p : rows) {
        balance += p.uPoint - p.mPoint;
        out.append({p.ptid,
                    {pointKindName(p.pgGubun), p.pDate, p.remark, wonOrBlank(p.amount), wonOrBlank(p.uPoint),
                     wonOrBlank(p.mPoint), wonText(balance)},
                    balance});
    }
    return out;
}

// --- visits -----------------------------------------------------------------------

QStringList attendanceHeaders()
{
    return {QStringLiteral("일자"), QStringLiteral("프로그램"), QStringLiteral("입장시간"), QStringLiteral("퇴장시간"),
            QStringLiteral("사용시간"), QStringLiteral("교구분류1"), QStringLiteral("교구분류2"),
            QStringLiteral("바코드"), QStringLiteral("교구명")};
}

QList<AttendanceLine> attendanceLines(const Db &db, const QList<MemberVisit> &visits)
{
    QHash<QString, QString> courseNames, sclassNames;
    auto classNames = [&](const LentItem &item) -> QPair<QString, QString> {
        if (item.course.isEmpty())
            return {};
        auto c = courseNames.find(item.course);
        if (c == courseNames.end())
            c = courseNames.insert(item.course, getCourseName(db, item.course, QStringLiteral("S")));
        const QString key = item.course + QLatin1Char('|') + item.sclass;
        auto s = sclassNames.find(key);
        if (s == sclassNames.end())
            s = sclassNames.insert(key, getSclassName(db, QStringLiteral("S"), item.course, item.sclass));
        return {*c, *s};
    };
    QList<AttendanceLine> out;
    out.reserve(visits.size());
    for (const MemberVisit &v : visits) {
        const QString used = v.pgGubun == QLatin1String("2") ? QString::number(v.uTime) + QStringLiteral(" 분")
                                                              : QString();
        const QStringList head{v.inDate, v.pgName, v.inTime, v.outTime, used};
        if (v.items.isEmpty()) {
            out.append({v.entid, head + QStringList{QString(), QString(), QString(), QString()}});
            continue;
        }
        for (const LentItem &item : v.items) {
            const auto names = classNames(item);
            out.append({v.entid, head + QStringList{names.first, names.second, item.barCode, item.itName}});
        }
    }
    return out;
}

} // namespace fitrova
