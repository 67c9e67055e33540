// FITROVA_DB_TEST
// Desks acting on the same rows at the same moment, each with its own
// connections: a refund, a transfer or a card number is given once, points are
// spent once, postponements add up, the stored totals equal the rows, and
// numbers never clash.

#include <QtTest>

#include "deskpool.h"
#include "enrollbuilders.h"
#include "data/ledger.h"
#include "enrollment/classchange.h"
#include "enrollment/enrollment.h"
#include "enrollment/payment.h"
#include "enrollment/postponement.h"
#include "enrollment/refund.h"
#include "enrollment/transfer.h"
#include "members/memberstore.h"
#include "testinstall.h"

#include <algorithm>
#include <set>

using namespace fitrova;
using namespace fitrova::test;

namespace {

const QString kMember = QStringLiteral("00000001");
constexpr int kRounds = 6;

// Desks in the races; a burst of new members uses more.
constexpr int kDesks = 2;
constexpr int kBurst = 16;

void usePoints(AppContext &ctx)
{
    ctx.options.opt7_1 = 10;
    ctx.options.opt5 = 1;
}

template <typename R>
int savedCount(const std::vector<DeskAnswer<R>> &answers)
{
    return int(std::count_if(answers.begin(), answers.end(), [](const auto &a) { return a.value && a.value->saved; }));
}

template <typename R>
QString errorsOf(const std::vector<DeskAnswer<R>> &answers)
{
    QStringList e;
    for (const auto &a : answers)
        if (!a.error.isEmpty())
            e << a.error;
    return e.join(QStringLiteral("; "));
}

// The refusals of the desks that did not save.
template <typename R>
QStringList refusals(const std::vector<DeskAnswer<R>> &answers)
{
    QStringList out;
    for (const auto &a : answers)
        if (a.value && !a.value->saved)
            out << a.value->last().text;
    return out;
}

} // namespace

class TstEnrollRace : public QObject {
    Q_OBJECT
    TestInstall m_inst;
    std::unique_ptr<DeskPool> m_desks;
    qint64 m_swim = 0, m_yoga = 0;
    const Db &db() { return m_inst.db(); }

    qint64 enroll(const QString &mbCode, qint64 cash, qint64 due, const QString &from = QStringLiteral("2024-05-01"),
                  const QString &to = QStringLiteral("2024-07-31"))
    {
        EnrollmentInput in;
        in.mbCode = mbCode;
        in.pgid = m_swim;
        in.monthCnt = 3;
        in.fee = due;
        in.rqDate = from;
        in.sDate1 = from;
        in.sDate2 = to;
        in.cashAmt = cash;
        const EnrollResult r = saveEnrollment(m_inst.ctx(), in);
        if (!r.saved)
            qFatal("enrollment not saved");
        return r.id;
    }
    qint64 count(const QString &sql, const Params &p = {}) { return db().scalar(sql, p).toLongLong(); }
    void checkTotals(const QString &mbCode)
    {
        const auto m = db().queryOne(QStringLiteral("SELECT MisuAmt, Point FROM Member WHERE MbCode = ?"), {mbCode});
        QCOMPARE(m->num("MisuAmt"), getMemberUnpaid(db(), mbCode));
        QCOMPARE(m->num("Point"), memberPointBalance(db(), mbCode));
    }

private slots:
    void initTestCase()
    {
        m_swim = addProgram(db(), QStringLiteral("새벽수영"));
        m_yoga = addProgram(db(), QStringLiteral("저녁요가"));
        allowCourseChanges(db());
        m_desks = std::make_unique<DeskPool>(m_inst, kBurst);
        QVERIFY2(m_desks->openError().isEmpty(), qPrintable(m_desks->openError()));
    }
    void cleanupTestCase() { m_desks.reset(); }

    void init()
    {
        for (const char *t : {"Member", "Lecture", "Sale", "UserPoint", "Item"})
            db().exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(t)));
        addEnrollMember(db(), kMember, QStringLiteral("김민지"));
        addEnrollMember(db(), QStringLiteral("00000002"), QStringLiteral("박서준"), 41, QStringLiteral("남"));
        addEnrollMember(db(), QStringLiteral("00000003"), QStringLiteral("이하늘"), 29);
        m_inst.ctx().options.opt7_1 = 10;
    }

    // Two desks refund the same enrollment: one refund row, the other desk told.
    void refundOnce()
    {
        for (int round = 0; round < kRounds; ++round) {
            const qint64 base = enroll(kMember, 90000, 90000);
            RefundInput in;
            in.ltid = base;
            in.refundDate = QStringLiteral("2024-06-15");
            in.amount = 30000;
            const auto answers = m_desks->race<EnrollResult>([&](AppContext &ctx, int desk) {
                usePoints(ctx);
                return desk < kDesks ? saveRefund(ctx, in) : EnrollResult();
            });
            QVERIFY2(errorsOf(answers).isEmpty(), qPrintable(errorsOf(answers)));
            QCOMPARE(savedCount(answers), 1);
            QCOMPARE(refusals(answers).mid(0, 1), QStringList{QStringLiteral("이미 환불된 강좌입니다")});
            QCOMPARE(count("SELECT COUNT(*) FROM Lecture WHERE BLtid = ? AND LtGubun = '4'", {base}), 1);
            QCOMPARE(count("SELECT Cancel FROM Lecture WHERE Ltid = ?", {base}),
                     count("SELECT Ltid FROM Lecture WHERE BLtid = ? AND LtGubun = '4'", {base}));
            // 9,000 earned, 3,000 taken back once.
            QCOMPARE(memberPointBalance(db(), kMember), (round + 1) * 6000);
            checkTotals(kMember);
        }
    }

    // Two desks spend the same points as a discount: spent once, never below zero.
    void mileageOnce()
    {
        for (int round = 0; round < kRounds; ++round) {
            db().exec("DELETE FROM UserPoint");
            addPointRow(5000);
            EnrollmentInput in;
            in.mbCode = kMember;
            in.pgid = m_swim;
            in.monthCnt = 1;
            in.fee = 10000; // earns 600 points: too few for a second discount
            in.dcGubun = QStringLiteral("2");
            in.dcAmt = 4000;
            in.cashAmt = 6000;
            in.rqDate = in.sDate1 = QStringLiteral("2024-05-10");
            in.sDate2 = QStringLiteral("2024-06-09");
            const auto answers = m_desks->race<EnrollResult>([&](AppContext &ctx, int desk) {
                usePoints(ctx);
                return desk < kDesks ? saveEnrollment(ctx, in) : EnrollResult();
            });
            QVERIFY2(errorsOf(answers).isEmpty(), qPrintable(errorsOf(answers)));
            QCOMPARE(savedCount(answers), 1);
            QVERIFY(refusals(answers).value(0).startsWith(QStringLiteral("사용할 포인트가 부족합니다")));
            QCOMPARE(count("SELECT COALESCE(SUM(mPoint), 0) FROM UserPoint"), 4000);
            QVERIFY(memberPointBalance(db(), kMember) >= 0);
            checkTotals(kMember);
        }
    }

    // Enrollments paid short, payments and goods of one member saved by many
    // desks at once: the stored outstanding amount and points equal the rows.
    void totalsFollowTheRows()
    {
        const qint64 item = addItem(db(), QStringLiteral("수경"), 15000);
        for (int round = 0; round < kRounds / 2; ++round) {
            const auto answers = m_desks->race<EnrollResult>([&](AppContext &ctx, int desk) {
                usePoints(ctx);
                switch (desk % 4) {
                case 0: {
                    EnrollmentInput in;
                    in.mbCode = kMember;
                    in.pgid = m_yoga;
                    in.monthCnt = 1;
                    in.fee = 60000;
                    in.cashAmt = 10000 + desk * 1000;
                    in.rqDate = in.sDate1 = QStringLiteral("2024-05-10");
                    in.sDate2 = QStringLiteral("2024-06-09");
                    return saveEnrollment(ctx, in);
                }
                case 1: {
                    PaymentInput p;
                    p.mbCode = kMember;
                    p.payDate = QStringLiteral("2024-05-10");
                    p.cashAmt = 5000 + desk;
                    return savePayment(ctx, p);
                }
                default: {
                    GoodsInput g;
                    g.mbCode = kMember;
                    g.itId = item;
                    g.qty = 1;
                    g.price = 15000;
                    g.cashAmt = desk % 4 == 2 ? 15000 : 0;
                    g.slDate = QStringLiteral("2024-05-10");
                    return saveGoodsSale(ctx, g);
                }
                }
            });
            QVERIFY2(errorsOf(answers).isEmpty(), qPrintable(errorsOf(answers)));
            QCOMPARE(savedCount(answers), kBurst);
            checkTotals(kMember);
        }
        // Every goods sale of the day and user has a number of its own.
        QCOMPARE(count("SELECT COUNT(DISTINCT SlNo) FROM Sale"), count("SELECT COUNT(*) FROM Sale"));
        QCOMPARE(db().scalar("SELECT MAX(SlNo) FROM Sale").toString(),
                 QString::number(count("SELECT COUNT(*) FROM Sale")).rightJustified(4, u'0'));
    }

    // Two desks give the same enrollment to two members: given once.
    void transferOnce()
    {
        m_inst.ctx().options.opt5 = 1;
        for (int round = 0; round < kRounds; ++round) {
            const qint64 base = enroll(kMember, 90000, 90000);
            const auto answers = m_desks->race<EnrollResult>([&](AppContext &ctx, int desk) {
                usePoints(ctx);
                TransferInput in;
                in.ltid = base;
                in.receiverMbCode = desk == 0 ? QStringLiteral("00000002") : QStringLiteral("00000003");
                in.rqDate = QStringLiteral("2024-06-01");
                in.sDate1 = QStringLiteral("2024-06-02");
                in.sDate2 = QStringLiteral("2024-07-31");
                return desk < kDesks ? saveTransfer(ctx, in) : EnrollResult();
            });
            QVERIFY2(errorsOf(answers).isEmpty(), qPrintable(errorsOf(answers)));
            QCOMPARE(savedCount(answers), 1);
            QCOMPARE(refusals(answers).mid(0, 1), QStringList{QStringLiteral("이미 양도된 강좌입니다")});
            QCOMPARE(count("SELECT COUNT(*) FROM Lecture WHERE BLtid = ? AND LtGubun = '0'", {base}), 1);
        }
    }

    // Two pauses saved at once both lengthen the enrollment, one after the other.
    void postponementsAddUp()
    {
        for (int round = 0; round < kRounds; ++round) {
            const qint64 base = enroll(kMember, 90000, 90000);
            const auto answers = m_desks->race<EnrollResult>([&](AppContext &ctx, int desk) {
                PostponementInput in;
                in.ltid = base;
                in.rqDate = in.from = desk == 0 ? QStringLiteral("2024-06-01") : QStringLiteral("2024-06-20");
                in.to = desk == 0 ? QStringLiteral("2024-06-05") : QStringLiteral("2024-06-26");
                return desk < kDesks ? savePostponement(ctx, in) : EnrollResult();
            });
            QVERIFY2(errorsOf(answers).isEmpty(), qPrintable(errorsOf(answers)));
            QCOMPARE(savedCount(answers), 2);
            const auto b = db().queryOne("SELECT Sdate2, Delay FROM Lecture WHERE Ltid = ?", {base});
            QCOMPARE(b->str("Sdate2"), QString("2024-08-12")); // 5 + 7 days after 2024-07-31
            QCOMPARE(b->num("Delay"), count("SELECT MAX(Ltid) FROM Lecture WHERE BLtid = ?", {base}));
        }
    }

    // Two class changes of one enrollment: the first ends the enrollment, the
    // second leaves it alone, whichever desk comes first.
    void classChangesInTurn()
    {
        for (int round = 0; round < kRounds; ++round) {
            const qint64 base = enroll(kMember, 90000, 90000);
            const auto answers = m_desks->race<EnrollResult>([&](AppContext &ctx, int desk) {
                ClassChangeInput in;
                in.ltid = base;
                in.newPgid = m_yoga;
                in.monthCnt = 3;
                in.rqDate = in.sDate1 = desk == 0 ? QStringLiteral("2024-06-01") : QStringLiteral("2024-06-10");
                in.sDate2 = QStringLiteral("2024-07-31");
                return desk < kDesks ? saveClassChange(ctx, in) : EnrollResult();
            });
            QVERIFY2(errorsOf(answers).isEmpty(), qPrintable(errorsOf(answers)));
            QCOMPARE(savedCount(answers), 2);
            const qint64 first = count("SELECT MIN(Ltid) FROM Lecture WHERE BLtid = ?", {base});
            const auto b = db().queryOne("SELECT Sdate2, Change FROM Lecture WHERE Ltid = ?", {base});
            QCOMPARE(b->num("Change"), first);
            const QString firstStart =
                db().scalar("SELECT Sdate1 FROM Lecture WHERE Ltid = ?", {first}).toString();
            QCOMPARE(b->str("Sdate2"), firstStart == "2024-06-01" ? QString("2024-05-31") : QString("2024-06-09"));
        }
    }

    // Two desks give one card number to two members: one of them gets it.
    void cardNumberOnce()
    {
        for (int round = 0; round < kRounds; ++round) {
            const QString card = QStringLiteral("7700%1").arg(round, 4, 10, QLatin1Char('0'));
            const auto answers = m_desks->race<MemberSaveResult>([&](AppContext &ctx, int desk) {
                if (desk >= kDesks)
                    return MemberSaveResult{};
                MemberRecord m = *loadMember(ctx.main, desk == 0 ? QStringLiteral("00000002") : QStringLiteral("00000003"));
                m.mbCard = card;
                return saveMember(ctx.main, m);
            });
            QVERIFY2(errorsOf(answers).isEmpty(), qPrintable(errorsOf(answers)));
            int saved = 0;
            for (const auto &a : answers) {
                if (a.value && a.value->saved)
                    ++saved;
                else if (a.value && !a.value->message.text.isEmpty())
                    QVERIFY(a.value->message.text.endsWith(QStringLiteral("회원님이 이미 사용중입니다...")));
            }
            QCOMPARE(saved, 1);
            QCOMPARE(count("SELECT COUNT(*) FROM Member WHERE MbCard = ?", {card}), 1);
        }
    }

    // Many desks register new members at once: every save succeeds, every
    // member gets a number of its own, the numbers run on without a gap.
    void memberNumbersInBursts()
    {
        for (int round = 0; round < 3; ++round) {
            const qint64 before = count("SELECT COUNT(*) FROM Member");
            const auto answers = m_desks->race<MemberSaveResult>([&](AppContext &ctx, int desk) {
                MemberRecord m;
                m.mbName = QStringLiteral("신규%1").arg(desk);
                m.indate = QStringLiteral("2024-05-10");
                return saveMember(ctx.main, m);
            });
            QVERIFY2(errorsOf(answers).isEmpty(), qPrintable(errorsOf(answers)));
            std::set<QString> codes;
            for (const auto &a : answers) {
                QVERIFY(a.value && a.value->saved);
                codes.insert(a.value->mbCode);
            }
            QCOMPARE(int(codes.size()), kBurst);
            QCOMPARE(count("SELECT COUNT(*) FROM Member"), before + kBurst);
            QCOMPARE(*codes.rbegin(), QString::number(before + kBurst).rightJustified(8, u'0'));
        }
    }

private:
    void addPointRow(qint64 points)
    {
        db().exec(QStringLiteral("INSERT INTO UserPoint (MbCode, MbName, pDate, PgGubun, JoinId, Amount, PointYul, "
                                 "uPoint, mPoint) VALUES (?, '김민지', '2024-01-01', '4', 9999, 0, 10, ?, 0)"),
                  {kMember, points});
        recalcMemberPoint(db(), kMember);
    }
};

QTEST_GUILESS_MAIN(TstEnrollRace)
#include "tst_enrollrace.moc"
