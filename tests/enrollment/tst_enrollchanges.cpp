// FITROVA_DB_TEST
// The events on an enrollment: class change, transfer, postponement, refund
// and the payment of an outstanding amount, each with the rows it writes,
// the base enrollment's link and end date, points and refusals; and the
// chain enroll → postpone → refund → delete the refund → delete the
// postponement, which leaves the enrollment exactly as it was sold.

#include <QtTest>

#include "closing/shift.h"
#include "enrollbuilders.h"
#include "data/ledger.h"
#include "enrollment/classchange.h"
#include "enrollment/enrollment.h"
#include "enrollment/payment.h"
#include "enrollment/postponement.h"
#include "enrollment/refund.h"
#include "enrollment/transfer.h"
#include "members/lecturedelete.h"
#include "members/memberhistory.h"
#include "testinstall.h"

using namespace fitrova;
using namespace fitrova::test;

namespace {
const QString kMember = QStringLiteral("00000001");
}

class TstEnrollChanges : public QObject {
    Q_OBJECT
private:
    TestInstall m_inst;
    const Db &db() { return m_inst.db(); }
    AppContext &ctx() { return m_inst.ctx(); }
    qint64 m_swim = 0, m_yoga = 0;

    // An enrollment sold for the period, paid in cash.
    qint64 enroll(const QString &from, const QString &to, qint64 cash = 90000, qint64 card = 0, int months = 3)
    {
        EnrollmentInput in;
        in.mbCode = kMember;
        in.pgid = m_swim;
        in.monthCnt = months;
        in.fee = cash + card;
        in.rqDate = from;
        in.sDate1 = from;
        in.sDate2 = to;
        in.cashAmt = cash;
        in.cardAmt = card;
        const EnrollResult r = saveEnrollment(ctx(), in);
        if (!r.saved)
            qFatal("enrollment not saved");
        return r.id;
    }
    Row lect(qint64 id) { return *db().queryOne(QStringLiteral("SELECT * FROM Lecture WHERE Ltid = ?"), {id}); }

private slots:
    void initTestCase()
    {
        m_swim = addProgram(db(), QStringLiteral("새벽수영"));
        m_yoga = addProgram(db(), QStringLiteral("저녁요가"));
    }

    void init()
    {
        for (const char *t : {"Member", "Lecture", "Sale", "UserPoint"})
            db().exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(t)));
        addEnrollMember(db(), kMember, QStringLiteral("김민지"), 34, QStringLiteral("여"));
        addEnrollMember(db(), QStringLiteral("00000002"), QStringLiteral("박서준"), 41, QStringLiteral("남"));
        allowCourseChanges(db(), true);
        ctx().options.opt7_1 = 0;
        ctx().options.opt5 = 1;
        ctx().options.opt1_1 = 10;
        ctx().options.opt1_2 = 10;
    }

    // --- class change -----------------------------------------------------------

    void classChange()
    {
        const qint64 base = enroll("2024-05-01", "2024-07-31");
        const auto info = loadLectureInfo(db(), base);
        const ChangeDefaults d = classChangeDefaults(*info, QStringLiteral("2024-05-10"));
        QCOMPARE(d.sDate1, QString("2024-05-10"));
        QCOMPARE(d.sDate2, QString("2024-07-31"));
        ctx().options.opt7_1 = 10;
        ClassChangeInput in;
        in.ltid = base;
        in.newPgid = m_yoga;
        in.monthCnt = 3;
        in.rqDate = d.rqDate;
        in.sDate1 = d.sDate1;
        in.sDate2 = d.sDate2;
        in.extra = -12000;
        in.payKind = QStringLiteral("2");
        const EnrollResult r = saveClassChange(ctx(), in);
        QVERIFY(r.saved);
        QCOMPARE(r.last().text, QString("변경자료를 저장했읍니다.."));
        const Row c = lect(r.id);
        QCOMPARE(c.str("LtGubun"), QString("2"));
        QCOMPARE(c.num("Pgid"), m_yoga);
        QCOMPARE(c.num("Bpgid"), m_swim);
        QCOMPARE(c.num("BLtid"), base);
        QCOMPARE(c.str("Sdate1"), QString("2024-05-10"));
        QCOMPARE(c.str("Sdate2"), QString("2024-07-31"));
        QCOMPARE(c.num("TAmt"), -12000);
        QCOMPARE(c.num("CardAmt"), -12000);
        QCOMPARE(c.num("CashAmt"), 0);
        QCOMPARE(lect(base).str("Sdate2"), QString("2024-05-09"));
        QCOMPARE(lect(base).num("Change"), r.id);
        const auto p = db().queryOne(QStringLiteral("SELECT Amount, uPoint FROM UserPoint WHERE JoinId = ? AND PgGubun = '1'"),
                                     {r.id});
        QCOMPARE(p->num("Amount"), 12000);
        QCOMPARE(p->num("uPoint"), 1200);

        // A second change from the same enrollment leaves its end alone ("N" only when no change yet) …
        in.sDate1 = QStringLiteral("2024-06-01");
        const EnrollResult second = saveClassChange(ctx(), in);
        QVERIFY(second.saved);
        QCOMPARE(lect(base).str("Sdate2"), QString("2024-05-09"));
        QCOMPARE(lect(base).num("Change"), r.id);
        // … a modification resets it.
        ClassChangeInput mod = in;
        mod.jobGubun = QStringLiteral("C");
        mod.ltid = r.id;
        mod.bLtid = base;
        mod.sDate1 = QStringLiteral("2024-05-20");
        QVERIFY(saveClassChange(ctx(), mod).saved);
        QCOMPARE(lect(base).str("Sdate2"), QString("2024-05-19"));
        QCOMPARE(lect(r.id).str("Sdate1"), QString("2024-05-20"));
    }

    void classChangeEdges()
    {
        const qint64 base = enroll("2024-05-01", "2024-07-31");
        ClassChangeInput in;
        in.ltid = base;
        in.newPgid = m_yoga;
        in.rqDate = QStringLiteral("2024-05-01");
        in.sDate1 = QStringLiteral("2024-05-01");
        in.sDate2 = QStringLiteral("2024-04-30");
        const EnrollResult bad = saveClassChange(ctx(), in);
        QCOMPARE(bad.last().text, QString("수강기간이 잘못되었읍니다"));
        QCOMPARE(bad.last().title, QString("수강변경"));
        in.sDate2 = QStringLiteral("2024-07-31");
        QVERIFY(saveClassChange(ctx(), in).saved);
        QCOMPARE(lect(base).str("Sdate2"), QString("2024-05-01")); // one-day period

        LectureInfo refund;
        refund.kind = LectureKind::Refund;
        QCOMPARE(classChangeEligible(refund).last().text, QString("반변경할 강좌가 없읍니다"));
    }

    // --- transfer -------------------------------------------------------------------

    void transfer()
    {
        const qint64 base = enroll("2024-05-01", "2024-07-31");
        QCOMPARE(searchReceivers(db(), MemberSearchKind::Name, "").check.last().text, QString("검색어를 입력하세요"));
        QCOMPARE(searchReceivers(db(), MemberSearchKind::Name, QStringLiteral("없는사람")).check.last().title,
                 QString("회원찾기"));
        const ReceiverSearch found = searchReceivers(db(), MemberSearchKind::Name, QStringLiteral("박서"));
        QCOMPARE(found.members.size(), 1);

        TransferInput in;
        in.ltid = base;
        in.rqDate = QStringLiteral("2024-05-10");
        in.sDate1 = QStringLiteral("2024-05-11");
        in.sDate2 = QStringLiteral("2024-07-31");
        QCOMPARE(saveTransfer(ctx(), in).last().text, QString("양도할 회원을 선택하세요"));
        in.receiverMbCode = kMember;
        QCOMPARE(saveTransfer(ctx(), in).last().text, QString("본인에게는 양도할수 없읍니다"));
        in.receiverMbCode = found.members[0].mbCode;
        const EnrollResult r = saveTransfer(ctx(), in);
        QVERIFY(r.saved);
        QCOMPARE(r.last().text, QString("양도자료를 저장했읍니다.."));
        const Row t = lect(r.id);
        QCOMPARE(t.str("LtGubun"), QString("0"));
        QCOMPARE(t.str("MbCode"), QString("00000002"));
        QCOMPARE(t.str("MbName"), QString("박서준"));
        QCOMPARE(t.str("Sex"), QString("남"));
        QCOMPARE(t.num("Age"), 41);
        QCOMPARE(t.str("BMbCode"), kMember);
        QCOMPARE(t.num("BLtid"), base);
        QCOMPARE(t.str("ddate2"), QString("2024-07-31"));
        QCOMPARE(t.num("TAmt") + t.num("CashAmt") + t.num("CardAmt"), 0);
        QCOMPARE(lect(base).str("Sdate2"), QString("2024-05-10"));
        QCOMPARE(lect(base).num("Transfer"), r.id);
        QCOMPARE(receiverEnrollmentLines(db(), "00000002").size(), 1);

        // Given away once only.
        QCOMPARE(transferEligible(*loadLectureInfo(db(), base), true).last().text, QString("이미 양도된 강좌입니다"));
        // The modification moves the giver's end.
        in.jobGubun = QStringLiteral("C");
        in.ltid = r.id;
        in.rqDate = QStringLiteral("2024-05-15");
        QVERIFY(saveTransfer(ctx(), in).saved);
        QCOMPARE(lect(base).str("Sdate2"), QString("2024-05-15"));
    }

    void transferRefusals()
    {
        const qint64 base = enroll("2024-05-01", "2024-07-31");
        const auto info = loadLectureInfo(db(), base);
        QVERIFY(transferEligible(*info, true));
        QCOMPARE(transferEligible(*info, false).last().text, QString("강좌양도를 사용하지 않습니다"));
        allowCourseChanges(db(), false);
        QCOMPARE(transferEligible(*loadLectureInfo(db(), base), true).last().text, QString("양도할수 없는 강좌입니다"));
        TransferInput in;
        in.ltid = base;
        in.receiverMbCode = QStringLiteral("00000002");
        in.rqDate = in.sDate1 = QStringLiteral("2024-05-10");
        in.sDate2 = QStringLiteral("2024-07-31");
        QVERIFY(!saveTransfer(ctx(), in).saved);
        QCOMPARE(lect(base).num("Transfer"), 0);
    }

    // --- postponement --------------------------------------------------------------

    void pauseDates()
    {
        PauseDates d = pauseForApplication(QStringLiteral("2024-06-01"));
        QCOMPARE(d.to, QString("2024-06-01"));
        QCOMPARE(d.days, 1);
        d = pauseEndChanged(d, QStringLiteral("2024-06-10"));
        QVERIFY(!d.error);
        QCOMPARE(d.days, 10);
        QCOMPARE(d.addFrom, QString("2024-06-11"));
        QCOMPARE(d.addTo, QString("2024-06-20"));
        d = pauseEndChanged(d, QStringLiteral("2024-05-30"));
        QVERIFY(d.error);
        QCOMPARE(d.to, QString("2024-06-01"));
        QCOMPARE(d.days, 1);
        d = pauseStartChanged(d, QStringLiteral("2024-06-05"));
        QCOMPARE(d.to, QString("2024-06-05"));
    }

    void postponement()
    {
        const qint64 base = enroll("2024-04-01", "2024-06-30");
        PostponementInput in;
        in.ltid = base;
        in.rqDate = QStringLiteral("2024-05-31");
        in.from = QStringLiteral("2024-06-01");
        in.to = QStringLiteral("2024-06-10");
        in.reason = QStringLiteral("출장");
        const EnrollResult r = savePostponement(ctx(), in);
        QVERIFY(r.saved);
        QCOMPARE(r.last().text, QString("연기자료를 저장했읍니다.."));
        const Row p = lect(r.id);
        QCOMPARE(p.str("LtGubun"), QString("3"));
        QCOMPARE(p.num("Rday"), 10);
        QCOMPARE(p.str("Sdate1"), QString("2024-06-01"));
        QCOMPARE(p.str("Sdate2"), QString("2024-06-10"));
        QCOMPARE(p.str("ddate2"), QString("2024-06-30"));
        QCOMPARE(p.str("Remark"), QString("출장"));
        QCOMPARE(lect(base).str("Sdate2"), QString("2024-07-10"));
        QCOMPARE(lect(base).num("Delay"), r.id);

        // Edited to five days: the end follows from the period as sold.
        in.jobGubun = QStringLiteral("C");
        in.ltid = r.id;
        in.bLtid = base;
        in.to = QStringLiteral("2024-06-05");
        QVERIFY(savePostponement(ctx(), in).saved);
        QCOMPARE(lect(base).str("Sdate2"), QString("2024-07-05"));
        QCOMPARE(lect(r.id).num("Rday"), 5);

        in.to = QStringLiteral("2024-05-01");
        QCOMPARE(savePostponement(ctx(), in).last().text, QString("연기일자 ERROR"));
        allowCourseChanges(db(), false);
        QCOMPARE(postponeEligible(*loadLectureInfo(db(), base)).last().text, QString("연기할수 없는 강좌입니다"));
    }

    // --- refund --------------------------------------------------------------------

    void refundAmount_data()
    {
        QTest::addColumn<qint64>("cash");
        QTest::addColumn<qint64>("card");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<qint64>("remain");
        QTest::addColumn<int>("cashCut");
        QTest::addColumn<int>("cardCut");
        QTest::addColumn<qint64>("amount");
        QTest::newRow("half used, 10 % cash") << qint64(90000) << qint64(0) << qint64(90) << qint64(45) << 10 << 10 << qint64(36000);
        QTest::newRow("36,007 offered as 36,000") << qint64(90018) << qint64(0) << qint64(90) << qint64(45) << 10 << 10 << qint64(36000);
        QTest::newRow("card at its own rate") << qint64(0) << qint64(90000) << qint64(90) << qint64(45) << 10 << 20 << qint64(27000);
        QTest::newRow("cash and card") << qint64(30000) << qint64(60000) << qint64(90) << qint64(30) << 10 << 5 << qint64(24000);
        QTest::newRow("one-day period in full") << qint64(5000) << qint64(3000) << qint64(0) << qint64(0) << 10 << 10 << qint64(8000);
        QTest::newRow("deduction above the share") << qint64(90000) << qint64(0) << qint64(90) << qint64(5) << 10 << 10 << qint64(0);
        QTest::newRow("nothing paid") << qint64(0) << qint64(0) << qint64(90) << qint64(45) << 10 << 10 << qint64(0);
        QTest::newRow("before the start") << qint64(90000) << qint64(0) << qint64(90) << qint64(120) << 10 << 10 << qint64(81000);
    }
    void refundAmount()
    {
        QFETCH(qint64, cash);
        QFETCH(qint64, card);
        QFETCH(qint64, total);
        QFETCH(qint64, remain);
        QFETCH(int, cashCut);
        QFETCH(int, cardCut);
        QFETCH(qint64, amount);
        QCOMPARE(refundAmountForDays(cash, card, total, remain, cashCut, cardCut), amount);
    }

    void refund()
    {
        const qint64 base = enroll("2024-01-01", "2024-03-31");
        const auto info = loadLectureInfo(db(), base);
        const RefundFigures f = refundFigures(info->cashAmt, info->cardAmt, info->sDate1, info->sDate2,
                                              QStringLiteral("2024-02-15"), 10, 10);
        QCOMPARE(f.totalDays, 90);
        QCOMPARE(f.remainDays, 45);
        QCOMPARE(f.amount, 36000);

        ctx().options.opt7_1 = 10; // the enrollment earned nothing (saved before points were in use)
        RefundInput in;
        in.ltid = base;
        in.refundDate = QStringLiteral("2024-02-15");
        in.amount = 95000;
        QCOMPARE(saveRefund(ctx(), in).last().text, QString("환불금액이 입금액보다 많읍니다"));
        in.amount = 35000; // typed over the offer
        const EnrollResult r = saveRefund(ctx(), in);
        QVERIFY(r.saved);
        QCOMPARE(r.last().text, QString("환불자료를 저장했읍니다.."));
        const Row row = lect(r.id);
        QCOMPARE(row.str("LtGubun"), QString("4"));
        QCOMPARE(row.num("TAmt"), 35000);
        QCOMPARE(row.num("CashAmt"), 35000);
        QCOMPARE(row.num("CardAmt"), 0);
        QCOMPARE(row.num("Rday"), 45);
        QCOMPARE(row.str("Sdate1"), QString("2024-01-01"));
        QCOMPARE(row.str("Sdate2"), QString("2024-02-15"));
        QCOMPARE(row.str("RqDate"), QString("2024-02-15"));
        QCOMPARE(lect(base).str("Sdate2"), QString("2024-02-15"));
        QCOMPARE(lect(base).num("Cancel"), r.id);
        // Nothing earned, nothing taken back: the balance does not go below zero.
        QCOMPARE(db().scalar(QStringLiteral("SELECT uPoint FROM UserPoint WHERE JoinId = ?"), {r.id}).toLongLong(), 0);
        QCOMPARE(r.point, 0);
        // The refund row is no enrollment: the outstanding amount is untouched.
        QCOMPARE(r.misuAmt, 0);
        QCOMPARE(refundEligible(*loadLectureInfo(db(), base)).last().text, QString("이미 환불된 강좌입니다"));

        // Modified to a card refund five days later.
        in.jobGubun = QStringLiteral("C");
        in.ltid = r.id;
        in.bLtid = base;
        in.refundDate = QStringLiteral("2024-02-20");
        in.payKind = QStringLiteral("2.카드");
        QVERIFY(saveRefund(ctx(), in).saved);
        QCOMPARE(lect(r.id).num("CardAmt"), 35000);
        QCOMPARE(lect(r.id).num("CashAmt"), 0);
        QCOMPARE(lect(r.id).num("Rday"), 40);
        QCOMPARE(lect(base).str("Sdate2"), QString("2024-02-20"));
    }

    // A refund takes back the points of the amount refunded, never more than
    // its enrollment earned: nothing when it earned nothing.
    void refundPoints_data()
    {
        QTest::addColumn<double>("rateAtEnrollment");
        QTest::addColumn<double>("rateAtRefund");
        QTest::addColumn<qint64>("refund");
        QTest::addColumn<qint64>("takenBack");
        QTest::addColumn<qint64>("balance");
        QTest::newRow("earned nothing") << 0.0 << 10.0 << qint64(35000) << qint64(0) << qint64(0);
        QTest::newRow("its share of what was earned") << 10.0 << 10.0 << qint64(30000) << qint64(-3000) << qint64(6000);
        QTest::newRow("no more than was earned") << 1.0 << 10.0 << qint64(30000) << qint64(-900) << qint64(0);
        QTest::newRow("points off at the refund") << 10.0 << 0.0 << qint64(30000) << qint64(0) << qint64(9000);
    }
    void refundPoints()
    {
        QFETCH(double, rateAtEnrollment);
        QFETCH(double, rateAtRefund);
        QFETCH(qint64, refund);
        QFETCH(qint64, takenBack);
        QFETCH(qint64, balance);
        ctx().options.opt7_1 = rateAtEnrollment;
        const qint64 base = enroll("2024-01-01", "2024-03-31");
        ctx().options.opt7_1 = rateAtRefund;
        RefundInput in;
        in.ltid = base;
        in.refundDate = QStringLiteral("2024-02-15");
        in.amount = refund;
        const EnrollResult r = saveRefund(ctx(), in);
        QVERIFY(r.saved);
        QCOMPARE(db().scalar(QStringLiteral("SELECT COALESCE(SUM(uPoint), 0) FROM UserPoint WHERE JoinId = ?"), {r.id})
                     .toLongLong(),
                 takenBack);
        QCOMPARE(recalcMemberPoint(db(), kMember), balance);
        // Modified, the refund still takes back no more.
        in.jobGubun = QStringLiteral("C");
        in.ltid = r.id;
        in.bLtid = base;
        in.amount = refund + 10000;
        QVERIFY(saveRefund(ctx(), in).saved);
        QVERIFY(memberPointBalance(db(), kMember) >= 0);
    }

    void refundRefusals()
    {
        const qint64 base = enroll("2024-01-01", "2024-03-31");
        allowCourseChanges(db(), false);
        RefundInput in;
        in.ltid = base;
        in.refundDate = QStringLiteral("2024-02-15");
        in.amount = 1000;
        const EnrollResult r = saveRefund(ctx(), in);
        QVERIFY(!r.saved);
        QCOMPARE(r.last().text, QString("환불할수 없는 강좌입니다"));
        LectureInfo pause;
        pause.kind = LectureKind::Postponement;
        pause.useCancel = true;
        QCOMPARE(refundEligible(pause).last().text, QString("환불처리할 강좌가 없읍니다"));
        QCOMPARE(refundEligible(pause).last().title, QString("수강취소"));
    }

    // --- the chain --------------------------------------------------------------------

    void chainRestoresTheEnrollment()
    {
        ctx().options.opt7_1 = 5;
        const qint64 base = enroll("2024-04-01", "2024-06-30");
        const QSqlRecord before = lect(base).record();

        PostponementInput p;
        p.ltid = base;
        p.rqDate = QStringLiteral("2024-05-31");
        p.from = QStringLiteral("2024-06-01");
        p.to = QStringLiteral("2024-06-10");
        const qint64 pause = savePostponement(ctx(), p).id;
        QCOMPARE(lect(base).str("Sdate2"), QString("2024-07-10"));

        RefundInput r;
        r.ltid = base;
        r.refundDate = QStringLiteral("2024-06-20");
        r.amount = refundFigures(90000, 0, "2024-04-01", "2024-07-10", r.refundDate, 10, 10).amount;
        QCOMPARE(r.amount, 9000); // 90,000 ÷ 100 days × 20 left − 9,000
        const qint64 refund = saveRefund(ctx(), r).id;
        QCOMPARE(lect(base).str("Sdate2"), QString("2024-06-20"));
        QCOMPARE(lectureDeleteCheck(db(), base).last().text, QString("연기처리된 강좌입니다.\n 연기자료를 먼저 삭제하세요."));

        QVERIFY(deleteLecture(db(), refund).deleted);
        QCOMPARE(lect(base).str("Sdate2"), QString("2024-07-10"));
        QCOMPARE(lect(base).num("Cancel"), 0);
        QCOMPARE(lect(base).num("Delay"), pause);
        QVERIFY(deleteLecture(db(), pause).deleted);

        const QSqlRecord after = lect(base).record();
        for (int i = 0; i < before.count(); ++i)
            QVERIFY2(before.value(i).toString() == after.value(before.fieldName(i)).toString(),
                     qPrintable(before.fieldName(i)));
        QCOMPARE(db().scalar(QStringLiteral("SELECT COUNT(*) FROM UserPoint WHERE JoinId <> ?"), {base}).toInt(), 0);
        QCOMPARE(db().scalar(QStringLiteral("SELECT Point FROM Member WHERE MbCode = ?"), {kMember}).toLongLong(), 4500);
    }

    // --- outstanding payment ------------------------------------------------------

    void payment()
    {
        enroll("2024-05-01", "2024-05-31", 40000); // 40,000 of …
        db().exec(QStringLiteral("UPDATE Lecture SET TAmt = 90000"));
        updateMemberUnpaid(db(), kMember);
        QCOMPARE(getMemberUnpaid(db(), kMember), 50000);

        ctx().options.opt7_1 = 10;
        db().exec(QStringLiteral("DELETE FROM Finish"));
        PaymentInput in;
        in.mbCode = kMember;
        in.payDate = QStringLiteral("2024-05-10");
        in.cashAmt = 30000;
        in.card = QStringLiteral("2");
        const EnrollResult r = savePayment(ctx(), in);
        QVERIFY(r.saved);
        // The clerk had no shift open: the payment opened one.
        QCOMPARE(shiftText(openShiftOf(db(), ctx().user.psCode)), QString("1 교대"));
        QCOMPARE(r.last().text, QString("미납금 자료를 저장했읍니다.."));
        QCOMPARE(r.misuAmt, 20000);
        const Row row = lect(r.id);
        QCOMPARE(row.str("PgGubun"), QString("4"));
        QCOMPARE(row.str("LtGubun"), QString("1"));
        QCOMPARE(row.str("LTyymm"), QString("2024-05"));
        QCOMPARE(row.num("TAmt"), 0);
        QCOMPARE(row.str("Card"), QString()); // no card amount, no card company
        QCOMPARE(historyStateName(row.str("PgGubun"), row.str("LtGubun")), QString("미수입금"));
        QCOMPARE(historyKindName(row.str("PgGubun")), QString("입금"));
        const auto p = db().queryOne(QStringLiteral("SELECT * FROM UserPoint WHERE JoinId = ?"), {r.id});
        QCOMPARE(p->str("PgGubun"), QString("3"));
        QCOMPARE(p->str("Remark"), QString("미납입금"));
        QCOMPARE(p->num("Amount"), 30000);

        // Paying more than is owed leaves a negative outstanding amount; a card payment names its company.
        in.cashAmt = 0;
        in.cardAmt = 25000;
        const EnrollResult over = savePayment(ctx(), in);
        QCOMPARE(over.misuAmt, -5000);
        QCOMPARE(lect(over.id).str("Card"), QString("2"));

        // Modified.
        auto stored = loadPayment(db(), over.id);
        QVERIFY(stored);
        stored->cardAmt = 20000;
        QCOMPARE(savePayment(ctx(), *stored).misuAmt, 0);
        in.cardAmt = 0;
        QCOMPARE(savePayment(ctx(), in).last().text, QString("입금액을 입력하세요"));
    }
};

QTEST_GUILESS_MAIN(TstEnrollChanges)
#include "tst_enrollchanges.moc"
