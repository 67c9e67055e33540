// FITROVA_DB_TEST
// Enrolling a member and selling goods on the enrollment screen's core:
// end dates, month and fee lists, the written row, the amount checks, the
// outstanding amount and points, a modification that keeps its links, the
// goods voucher, and the receipt of an enrollment.

#include <QtTest>

#include "enrollbuilders.h"
#include "data/ledger.h"
#include "enrollment/enrollment.h"
#include "enrollment/enrollmentreceipt.h"
#include "enrollment/postponement.h"
#include "members/lecturedelete.h"
#include "testinstall.h"

using namespace fitrova;
using namespace fitrova::test;

class TstEnrollment : public QObject {
    Q_OBJECT
private:
    TestInstall m_inst;
    const Db &db() { return m_inst.db(); }
    AppContext &ctx() { return m_inst.ctx(); }
    qint64 m_swim = 0, m_gym = 0;

    EnrollmentInput input(qint64 fee = 60000, qint64 cash = 60000, qint64 card = 0)
    {
        EnrollmentInput in;
        in.mbCode = QStringLiteral("00000001");
        in.pgid = m_swim;
        in.monthCnt = 1;
        in.fee = fee;
        in.rqDate = QStringLiteral("2024-05-10");
        in.sDate1 = QStringLiteral("2024-05-10");
        in.sDate2 = enrollmentEndDate(in.sDate1, 1, false);
        in.cashAmt = cash;
        in.cardAmt = card;
        return in;
    }

private slots:
    void initTestCase()
    {
        m_swim = addProgram(db(), QStringLiteral("새벽수영"));
        m_gym = addProgram(db(), QStringLiteral("헬스 자유이용"), QStringLiteral("2"), {{0, 50000}}, QStringLiteral("1"), 10);
    }

    void init()
    {
        for (const char *t : {"Member", "Lecture", "Sale", "UserPoint", "Item"})
            db().exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(t)));
        addEnrollMember(db(), QStringLiteral("00000001"), QStringLiteral("김민지"), 34, QStringLiteral("여"),
                        QStringLiteral("77001234"));
        ctx().options.opt7_1 = 0;
    }

    void endDates_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("months");
        QTest::addColumn<bool>("openEnd");
        QTest::addColumn<QString>("end");
        QTest::newRow("mid month") << "2024-03-15" << 1 << false << "2024-04-14";
        QTest::newRow("first of month") << "2024-03-01" << 1 << false << "2024-03-31";
        QTest::newRow("short target month") << "2024-01-31" << 1 << false << "2024-02-29";
        QTest::newRow("three months over year end") << "2024-11-10" << 3 << false << "2025-02-09";
        QTest::newRow("no period") << "2024-03-15" << 0 << true << "9999-12-31";
    }
    void endDates()
    {
        QFETCH(QString, start);
        QFETCH(int, months);
        QFETCH(bool, openEnd);
        QFETCH(QString, end);
        QCOMPARE(enrollmentEndDate(start, months, openEnd), end);
    }

    void monthAndFeeLists()
    {
        const auto period = monthChoices(db(), m_swim, ProgramKind::Period);
        QCOMPARE(period.size(), 2);
        QCOMPARE(period[0].text, QString("1 개월 "));
        QCOMPARE(period[1].monthCnt, 3);
        QVERIFY(!period[0].openEnd);
        const auto fees = feeChoices(db(), period[1].pgId1);
        QCOMPARE(fees.size(), 3);
        QCOMPARE(fees[1].text, QString("강습료2 160,000"));
        QCOMPARE(fees[2].amount, 150000);
        QCOMPARE(fees[2].level, QString("3"));

        const auto time = monthChoices(db(), m_gym, ProgramKind::TimeBased);
        QCOMPARE(time.size(), 1);
        QCOMPARE(time[0].text, QString("없음"));
        QVERIFY(time[0].openEnd);
        const auto timeFees = feeChoices(db(), time[0].pgId1);
        QCOMPARE(timeFees.size(), 1);
        QCOMPARE(timeFees[0].text, QString("10 시간 50,000"));

        const auto progs = enrollmentPrograms(db(), QStringLiteral("1-기본강좌"));
        QCOMPARE(progs.size(), 2);
        QCOMPARE(progs[0].text, QString("새벽수영 06:00~06:50 김강사 기간제"));
        QCOMPARE(progs[1].kind, ProgramKind::TimeBased);
        QCOMPARE(enrollmentPrograms(db(), QStringLiteral("0-모두보기")).size(), 2);
        QCOMPARE(enrollmentPrograms(db(), QStringLiteral("9")).size(), 0);
    }

    void newEnrollmentWritesTheRow()
    {
        EnrollmentInput in = input(60000, 20000, 40000);
        in.card = QStringLiteral("3");
        in.dcGubun = QStringLiteral("1");
        in.dcAmt = 0;
        in.lectGubun = QStringLiteral("2");
        in.remark = QStringLiteral("아침반   ");
        const EnrollResult r = saveEnrollment(ctx(), in);
        QVERIFY(r.saved);
        QCOMPARE(r.notices.size(), 1);
        QCOMPARE(r.last().text, QString("수강신청 자료를 저장했읍니다.."));
        const auto row = db().queryOne(QStringLiteral("SELECT * FROM Lecture WHERE Ltid = ?"), {r.id});
        QVERIFY(row);
        const QList<QPair<const char *, QVariant>> expect = {
            {"PgGubun", "1"}, {"LtGubun", "1"}, {"LTyymm", "2024-05"}, {"MbCode", "00000001"},
            {"MbName", "김민지"}, {"Sex", "여"}, {"MbGubun", "1"}, {"Age", 34}, {"Pgid", m_swim},
            {"Bpgid", m_swim}, {"BMbCode", "00000001"}, {"Course", "1"}, {"Time1", "06:00"}, {"LtCode", "0001"},
            {"RqDate", "2024-05-10"}, {"Lectgubun", "2"}, {"DcGubun", "1"}, {"TAmt", 60000}, {"CashAmt", 20000},
            {"CardAmt", 40000}, {"Card", "3"}, {"AmtGubun", "1"}, {"Sdate1", "2024-05-10"},
            {"Sdate2", "2024-06-09"}, {"ddate1", "2024-05-10"}, {"ddate2", "2024-06-09"}, {"uPgCnt", 0},
            {"MonthCnt", 1}, {"Remark", "아침반"}, {"Delay", 0}, {"Cancel", 0}, {"Transfer", 0}, {"Change", 0},
            {"LastUser", ctx().user.psCode}, {"LastDate", "2024-05-10"}, {"LastTime", "09:00:00"}};
        for (const auto &[col, v] : expect)
            QVERIFY2(row->str(QString::fromLatin1(col)) == v.toString(), col);
    }

    void amountChecks_data()
    {
        QTest::addColumn<qint64>("cash");
        QTest::addColumn<qint64>("card");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<qint64>("misu");
        const QString done = QStringLiteral("수강신청 자료를 저장했읍니다..");
        QTest::newRow("exact") << qint64(30000) << qint64(30000) << true << QStringList{done} << qint64(0);
        QTest::newRow("short") << qint64(40000) << qint64(0) << true
                               << QStringList{QStringLiteral("입금액이 결재할 금액보다 작읍니다..차액은 미납금으로 처리됩니다"), done}
                               << qint64(20000);
        QTest::newRow("over") << qint64(60000) << qint64(1) << false
                              << QStringList{QStringLiteral("입금액이 결재할 금액보다 많읍니다")} << qint64(0);
    }
    void amountChecks()
    {
        QFETCH(qint64, cash);
        QFETCH(qint64, card);
        QFETCH(bool, saved);
        QFETCH(QStringList, texts);
        QFETCH(qint64, misu);
        const EnrollResult r = saveEnrollment(ctx(), input(60000, cash, card));
        QCOMPARE(r.saved, saved);
        QStringList shown;
        for (const auto &m : r.notices) {
            shown << m.text;
            QCOMPARE(m.title, QString("수강저장"));
        }
        QCOMPARE(shown, texts);
        QCOMPARE(db().scalar(QStringLiteral("SELECT MisuAmt FROM Member WHERE MbCode = '00000001'")).toLongLong(),
                 misu);
        QCOMPARE(db().scalar(QStringLiteral("SELECT COUNT(*) FROM Lecture")).toInt(), r.saved ? 1 : 0);
    }

    void missingMemberOrProgram()
    {
        EnrollmentInput in = input();
        in.mbCode = QStringLiteral("00000999");
        QCOMPARE(saveEnrollment(ctx(), in).last().text, QString("회원인적 자료를 찾을수 없읍니다"));
        in = input();
        in.pgid = 999999;
        const EnrollResult r = saveEnrollment(ctx(), in);
        QCOMPARE(r.last().text, QString("강좌자료를 찾을수 없읍니다"));
        QCOMPARE(r.last().title, QString("강좌내역"));
        in = input();
        in.jobGubun = QStringLiteral("C");
        in.ltid = 424242;
        QCOMPARE(saveEnrollment(ctx(), in).last().text, QString("수강자료저장에 실패했읍니다"));
        QCOMPARE(db().scalar(QStringLiteral("SELECT COUNT(*) FROM Lecture")).toInt(), 0);
    }

    void timeProgramOpenEnd()
    {
        EnrollmentInput in = input(50000, 50000);
        in.pgid = m_gym;
        in.monthCnt = 0;
        in.sDate2 = enrollmentEndDate(in.sDate1, 0, true);
        const EnrollResult r = saveEnrollment(ctx(), in);
        QVERIFY(r.saved);
        const auto row = db().queryOne(QStringLiteral("SELECT * FROM Lecture WHERE Ltid = ?"), {r.id});
        QCOMPARE(row->str("Sdate2"), QString("9999-12-31"));
        QCOMPARE(row->str("PgGubun"), QString("2"));
        QCOMPARE(row->num("PgCnt"), 600);
        QCOMPARE(row->num("PgCnt1"), 10);
    }

    void mileageDiscountUsesPoints()
    {
        ctx().options.opt7_1 = 5;
        db().exec(QStringLiteral("INSERT INTO UserPoint (MbCode, MbName, pDate, PgGubun, JoinId, Amount, PointYul, "
                                 "uPoint, mPoint) VALUES ('00000001', '김민지', '2024-01-01', '4', 77, 100000, 5, "
                                 "5000, 0)"));
        recalcMemberPoint(db(), QStringLiteral("00000001"));
        EnrollmentInput in = input(60000, 57000);
        in.dcGubun = QStringLiteral("2");
        in.dcAmt = 3000;
        const EnrollResult r = saveEnrollment(ctx(), in);
        QVERIFY(r.saved);
        const auto p = db().queryOne(QStringLiteral("SELECT * FROM UserPoint WHERE PgGubun = '1' AND JoinId = ?"), {r.id});
        QVERIFY(p);
        QCOMPARE(p->num("mPoint"), 3000);
        QCOMPARE(p->num("uPoint"), 2850); // 5 % of the 57,000 paid
        QCOMPARE(p->num("Amount"), 57000);
        QCOMPARE(p->str("Remark"), QString("새벽수영"));
        QCOMPARE(r.point, 5000 - 3000 + 2850);

        // More points than the balance are not spent.
        in.dcAmt = 9000;
        in.cashAmt = 51000;
        const EnrollResult refused = saveEnrollment(ctx(), in);
        QVERIFY(!refused.saved);
        QVERIFY(refused.last().text.startsWith(QStringLiteral("사용할 포인트가 부족합니다")));
    }

    void modificationKeepsLinks()
    {
        allowCourseChanges(db());
        const EnrollResult r = saveEnrollment(ctx(), input(60000, 60000));
        PostponementInput p;
        p.ltid = r.id;
        p.rqDate = p.from = QStringLiteral("2024-05-20");
        p.to = QStringLiteral("2024-05-24");
        QVERIFY(savePostponement(ctx(), p).saved);
        const qint64 delay = db().scalar(QStringLiteral("SELECT Delay FROM Lecture WHERE Ltid = ?"), {r.id}).toLongLong();
        QVERIFY(delay > 0);

        auto stored = loadEnrollment(db(), r.id);
        QVERIFY(stored);
        QCOMPARE(stored->input.sDate2, QString("2024-06-09")); // the period as sold
        EnrollmentInput in = stored->input;
        in.cashAmt = 50000;
        in.remark = QStringLiteral("수정");
        const EnrollResult m = saveEnrollment(ctx(), in);
        QVERIFY(m.saved);
        const auto row = db().queryOne(QStringLiteral("SELECT * FROM Lecture WHERE Ltid = ?"), {r.id});
        QCOMPARE(row->num("Delay"), delay);
        QCOMPARE(row->str("Sdate2"), QString("2024-06-14")); // still five days later
        QCOMPARE(row->str("ddate2"), QString("2024-06-09"));
        QCOMPARE(m.misuAmt, 10000);
    }

    void goodsSale()
    {
        const qint64 item = addItem(db(), QStringLiteral("수경"), 15000);
        GoodsInput g;
        g.mbCode = QStringLiteral("00000001");
        g.itId = item;
        g.qty = 2;
        g.price = 15000;
        g.dcAmt = 1000;
        g.cashAmt = 9000;
        g.cardAmt = 20000;
        g.cardGubun = QStringLiteral("2");
        g.slDate = QStringLiteral("2024-05-10");
        const EnrollResult r = saveGoodsSale(ctx(), g);
        QVERIFY(r.saved);
        QCOMPARE(r.last().text, QString("상품판매 자료를 저장했읍니다.."));
        const auto s = db().queryOne(QStringLiteral("SELECT * FROM Sale WHERE SlId = ?"), {r.id});
        QCOMPARE(s->str("SlNo"), QString("0001"));
        QCOMPARE(s->num("SlAmt1"), 30000);
        QCOMPARE(s->num("SlAmt"), 29000);
        QCOMPARE(s->str("CardChk"), QString("3"));
        QCOMPARE(s->str("CardGubun"), QString("2"));
        QCOMPARE(s->str("Slyymm"), QString("2024-05"));
        QCOMPARE(s->str("ItCode"), QString("101-0001"));
        QCOMPARE(s->num("SEQ"), 1);

        // A second sale of the day takes the next voucher; paying short warns with 미수금.
        g.cashAmt = 0;
        g.cardAmt = 0;
        const EnrollResult r2 = saveGoodsSale(ctx(), g);
        QVERIFY(r2.saved);
        QCOMPARE(r2.notices.first().text, QString("입금액이 결재할 금액보다 작읍니다..차액은 미수금으로 처리됩니다"));
        QCOMPARE(db().scalar(QStringLiteral("SELECT SlNo FROM Sale WHERE SlId = ?"), {r2.id}).toString(), QString("0002"));
        QCOMPARE(r2.misuAmt, 29000);

        // Modified: same voucher number.
        auto stored = loadGoodsSale(db(), r2.id);
        QVERIFY(stored);
        stored->cashAmt = 29000;
        const EnrollResult m = saveGoodsSale(ctx(), *stored);
        QVERIFY(m.saved);
        QCOMPARE(m.misuAmt, 0);
        QCOMPARE(db().scalar(QStringLiteral("SELECT SlNo FROM Sale WHERE SlId = ?"), {r2.id}).toString(), QString("0002"));
        stored->slid = 999999;
        QCOMPARE(saveGoodsSale(ctx(), *stored).last().text, QString("상품판매 자료를 찾을수 없읍니다"));
        g.cashAmt = 30000;
        QCOMPARE(saveGoodsSale(ctx(), g).last().title, QString("상품저장"));
    }

    // Goods sold to the member earn points on the sale amount (kind "4", the
    // sale's id); a modified sale earns again on its new amount; deleting the
    // sale takes them back.
    void goodsEarnPoints()
    {
        ctx().options.opt7_1 = 5;
        const qint64 item = addItem(db(), QStringLiteral("수경"), 15000);
        GoodsInput g;
        g.mbCode = QStringLiteral("00000001");
        g.itId = item;
        g.qty = 2;
        g.price = 15000;
        g.dcAmt = 1000;
        g.cashAmt = 29000;
        g.slDate = QStringLiteral("2024-05-10");
        const EnrollResult r = saveGoodsSale(ctx(), g);
        QVERIFY(r.saved);
        auto p = db().queryOne(QStringLiteral("SELECT * FROM UserPoint WHERE PgGubun = '4' AND JoinId = ?"), {r.id});
        QVERIFY(p);
        QCOMPARE(p->num("Amount"), 29000);
        QCOMPARE(p->num("uPoint"), 1450);
        QCOMPARE(p->str("Remark"), QString("수경"));
        QCOMPARE(p->str("pDate"), QString("2024-05-10"));
        QCOMPARE(r.point, 1450);

        auto stored = loadGoodsSale(db(), r.id);
        stored->qty = 1;
        stored->dcAmt = 0;
        stored->cashAmt = 15000;
        QCOMPARE(saveGoodsSale(ctx(), *stored).point, 750);
        QCOMPARE(db().scalar(QStringLiteral("SELECT COUNT(*) FROM UserPoint")).toInt(), 1);

        const RowDeleteResult d = deleteSale(db(), r.id);
        QVERIFY(d.deleted);
        QCOMPARE(d.point, 0);
        QCOMPARE(db().scalar(QStringLiteral("SELECT COUNT(*) FROM UserPoint")).toInt(), 0);
    }

    void receiptContent()
    {
        ctx().options.opt7_1 = 10;
        ctx().business.name = QStringLiteral("브렌무어스포츠");
        ctx().business.tel = QStringLiteral("02-123-4567");
        ctx().user.userName = QStringLiteral("관리자");
        const EnrollResult r = saveEnrollment(ctx(), input(60000, 40000, 10000));
        const auto d = loadEnrollmentReceipt(ctx(), r.id);
        QVERIFY(d);
        const QStringList expected = {
            "       ***** 수강영수증 *****",
            "브렌무어스포츠 (02-123-4567)",
            "2024-05-10 09:00:00 담당자 : 관리자",
            QString(38, '-'),
            "회원번호 : 00000001",
            "회 원 명 : 김민지",
            "카드번호 : 77001234",
            "접수일자 : 2024-05-10",
            "강 좌 명 : 새벽수영",
            "수강개월 : 1",
            "수강기간 : 2024-05-10 ~ 2024-06-09",
            QString(38, '-'),
            "강 습 료 : 60,000",
            "결제금액 : 50,000",
            "미 납 금 : 10,000",
            "결제유형 : 현금+카드",
            QString(38, '-'),
            "금회포인트 : 5,000",
            "차감포인트 : 0",
            "누적포인트 : 5,000",
            QString(42, '-'),
            "브렌무어스포츠 ( Tel : 02-123-4567 )",
            "", "", "", ""};
        QCOMPARE(buildEnrollmentReceipt(*d).lines(), expected);
        QCOMPARE(paymentKindText(0, 100), QString("카드"));
        QCOMPARE(paymentKindText(0, 0), QString("현금"));
        // Without points the three point lines are left out.
        ctx().options.opt7_1 = 0;
        db().exec(QStringLiteral("DELETE FROM UserPoint"));
        QVERIFY(!buildEnrollmentReceipt(*loadEnrollmentReceipt(ctx(), r.id)).lines().contains("차감포인트 : 0"));
    }
};

QTEST_GUILESS_MAIN(TstEnrollment)
#include "tst_enrollment.moc"
