// FITROVA_DB_TEST
// The member card's history: the enrollment grid texts, the course running
// today, which commands a selected line allows and what 수강수정 opens, the
// point ledger with its running total, and the visits.

#include <QtTest>

#include "memberbuilders.h"
#include "members/memberhistory.h"
#include "testinstall.h"

using namespace fitrova;
using namespace fitrova::test;

namespace {

const QDate kToday(2024, 5, 10);

LectureRow lecture(const QString &ltGubun, const QString &pgGubun = QStringLiteral("1"))
{
    LectureRow l;
    l.ltid = 7;
    l.ltGubun = ltGubun;
    l.pgGubun = pgGubun;
    l.pgName = QStringLiteral("수영 초급");
    l.rqDate = "2024-05-01";
    l.sDate1 = "2024-05-01";
    l.sDate2 = "2024-05-31";
    l.monthCnt = 1;
    l.tAmt = 90000;
    l.cashAmt = 50000;
    l.cardAmt = 40000;
    return l;
}

HistoryLine lineOf(const LectureRow &l)
{
    MemberHistory h;
    h.lectures = {l};
    return buildHistoryLines(h, kToday).first();
}

} // namespace

class TstMemberHistory : public QObject {
    Q_OBJECT
private slots:
    void lineTexts_data()
    {
        QTest::addColumn<QString>("ltGubun");
        QTest::addColumn<QString>("pgGubun");
        QTest::addColumn<QList<qint64>>("links"); // delay, cancel, transfer, change
        QTest::addColumn<QStringList>("expect");  // 분류, 구분, 내역, 잔여, 비고
        QTest::newRow("enrollment") << "1" << "1" << QList<qint64>{0, 0, 0, 0}
                                    << QStringList{"강좌", "신청", "수영 초급", "21 일", ""};
        QTest::newRow("postponed and refunded") << "1" << "1" << QList<qint64>{3, 4, 0, 0}
                                                << QStringList{"강좌", "신청", "수영 초급", "21 일", "연기.취소."};
        QTest::newRow("given away") << "1" << "1" << QList<qint64>{0, 0, 9, 0}
                                    << QStringList{"강좌", "신청", "수영 초급 양수자:이순신(00000002)", "21 일", "양도."};
        QTest::newRow("received") << "0" << "1" << QList<qint64>{0, 0, 0, 0}
                                  << QStringList{"강좌", "양수", "수영 초급 양도자:김철수(00000003)", "21 일", "양수."};
        QTest::newRow("postponement row") << "3" << "1" << QList<qint64>{0, 0, 0, 0}
                                          << QStringList{"강좌", "연기", "수영 초급 10일 - 출장", "21 일", "출장"};
        QTest::newRow("refund row") << "4" << "1" << QList<qint64>{0, 0, 0, 0}
                                    << QStringList{"강좌", "환불", "수영 초급", "21 일", ""};
        QTest::newRow("class change row") << "2" << "1" << QList<qint64>{0, 0, 0, 0}
                                          << QStringList{"강좌", "변경", "수영 초급", "21 일", ""};
        QTest::newRow("time program") << "1" << "2" << QList<qint64>{0, 0, 0, 0}
                                      << QStringList{"쿠폰", "신청", "수영 초급", "420 분", ""};
        QTest::newRow("box") << "1" << "3" << QList<qint64>{0, 0, 0, 0}
                             << QStringList{"박스", "신청", "수영 초급", "", ""};
        QTest::newRow("payment") << "1" << "4" << QList<qint64>{0, 0, 0, 0}
                                 << QStringList{"입금", "미수입금", "수영 초급", "", ""};
    }
    void lineTexts()
    {
        QFETCH(QString, ltGubun);
        QFETCH(QString, pgGubun);
        QFETCH(QList<qint64>, links);
        QFETCH(QStringList, expect);
        LectureRow l = lecture(ltGubun, pgGubun);
        l.delay = links[0];
        l.cancel = links[1];
        l.transfer = links[2];
        l.change = links[3];
        l.bLtid = ltGubun == "1" ? 0 : 5;
        l.pgCnt = 600;
        l.uPgCnt = 180;
        if (ltGubun == "3") {
            l.rday = 10;
            l.remark = QStringLiteral("출장");
        }
        MemberHistory h;
        h.lectures = {l};
        h.owners.insert(9, QStringLiteral("이순신(00000002)"));
        h.owners.insert(5, QStringLiteral("김철수(00000003)"));
        const HistoryLine line = buildHistoryLines(h, kToday).first();
        QCOMPARE(line.cells.size(), int(HcCount));
        QCOMPARE(line.cells[HcCategory], expect[0]);
        QCOMPARE(line.cells[HcState], expect[1]);
        QCOMPARE(line.cells[HcDetail], expect[2]);
        QCOMPARE(line.cells[HcRemain], expect[3]);
        QCOMPARE(line.cells[HcRemark], expect[4]);
        QCOMPARE(line.cells[HcAmount], QString("90,000"));
    }

    void remainDaysNeverNegative_data()
    {
        QTest::addColumn<QString>("end");
        QTest::addColumn<int>("days");
        QTest::newRow("ahead") << "2024-05-31" << 21;
        QTest::newRow("today") << "2024-05-10" << 0;
        QTest::newRow("past") << "2024-04-01" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("no date") << "2024-13-01" << 0;
    }
    void remainDaysNeverNegative()
    {
        QFETCH(QString, end);
        QFETCH(int, days);
        QCOMPARE(remainDays(end, kToday), days);
    }

    void salesLinesFollowEnrollments()
    {
        MemberHistory h;
        h.lectures = {lecture("1")};
        h.sales = {SaleRow{11, "2024-05-03", QStringLiteral("수경"), 2, 30000, 30000, 0}};
        const QList<HistoryLine> lines = buildHistoryLines(h, kToday);
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines[1].isSale);
        QCOMPARE(lines[1].id, 11);
        QCOMPARE(lines[1].cells[HcCategory], QString("상품"));
        QCOMPARE(lines[1].cells[HcState], QString("판매"));
        QCOMPARE(lines[1].cells[HcDetail], QString("수경 (2개)"));
        QCOMPARE(lines[1].cells[HcAmount], QString("30,000"));
        QCOMPARE(lines[1].tone, HistoryTone::Goods);
    }

    void currentCourse_data()
    {
        QTest::addColumn<QStringList>("rows"); // ltGubun:pgGubun:sDate1:sDate2:name, newest first
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("remain");
        QTest::newRow("newest valid") << QStringList{"1:1:2024-06-01:2024-06-30:미래", "1:1:2024-05-01:2024-05-20:현재",
                                                     "1:1:2024-04-01:2024-05-31:이전"}
                                      << "현재" << "10 일";
        QTest::newRow("postponement rows do not count")
            << QStringList{"3:1:2024-05-05:2024-05-15:연기", "2:1:2024-05-01:2024-05-31:변경"} << "변경" << "21 일";
        QTest::newRow("time program minutes") << QStringList{"0:2:2024-05-01:9999-12-31:헬스"} << "헬스" << "420 분";
        QTest::newRow("nothing today") << QStringList{"1:1:2024-01-01:2024-01-31:지난"} << "" << "";
        QTest::newRow("last day") << QStringList{"1:1:2024-04-11:2024-05-10:마지막날"} << "마지막날" << "0 일";
        QTest::newRow("first day") << QStringList{"1:1:2024-05-10:2024-06-09:첫날"} << "첫날" << "30 일";
        QTest::newRow("ended yesterday") << QStringList{"1:1:2024-04-10:2024-05-09:어제"} << "" << "";
    }

    // A line is greyed once its last day has passed, not on it.
    void endedLines_data()
    {
        QTest::addColumn<QString>("end");
        QTest::addColumn<bool>("ended");
        QTest::newRow("ends tomorrow") << "2024-05-11" << false;
        QTest::newRow("ends today") << "2024-05-10" << false;
        QTest::newRow("ended yesterday") << "2024-05-09" << true;
        QTest::newRow("open end") << "9999-12-31" << false;
    }
    void endedLines()
    {
        QFETCH(QString, end);
        QFETCH(bool, ended);
        MemberHistory h;
        LectureRow l = lecture("1");
        l.sDate2 = end;
        h.lectures = {l};
        QCOMPARE(buildHistoryLines(h, kToday).first().ended, ended);
    }
    void currentCourse()
    {
        QFETCH(QStringList, rows);
        QFETCH(QString, name);
        QFETCH(QString, remain);
        QList<LectureRow> ls;
        for (const QString &s : rows) {
            const QStringList f = s.split(u':');
            LectureRow l = lecture(f[0], f[1]);
            l.sDate1 = f[2];
            l.sDate2 = f[3];
            l.pgName = f[4];
            l.pgCnt = 600;
            l.uPgCnt = 180;
            ls << l;
        }
        const CurrentCourse c = fitrova::currentCourse(ls, kToday);
        QCOMPARE(c.found, !name.isEmpty());
        QCOMPARE(c.name, name);
        QCOMPARE(c.remain, remain);
    }

    void buttons_data()
    {
        QTest::addColumn<int>("line"); // -1 none
        QTest::addColumn<QString>("ltGubun");
        QTest::addColumn<QString>("pgGubun");
        QTest::addColumn<qint64>("cancel");
        QTest::addColumn<bool>("transferInUse");
        QTest::addColumn<QString>("enabled"); // letters: E enroll, M modify, C change, T transfer, P postpone, R refund, $ payment, D delete
        QTest::newRow("no line") << -1 << "" << "" << qint64(0) << true << "E$";
        QTest::newRow("enrollment") << 0 << "1" << "1" << qint64(0) << true << "EMCTPR$D";
        QTest::newRow("enrollment, transfers not used") << 0 << "1" << "1" << qint64(0) << false << "EMCPR$D";
        QTest::newRow("received") << 0 << "0" << "1" << qint64(0) << true << "EMCTPR$D";
        QTest::newRow("time program: no class change") << 0 << "1" << "2" << qint64(0) << true << "EMTPR$D";
        QTest::newRow("refunded enrollment") << 0 << "1" << "1" << qint64(9) << true << "EM$D";
        QTest::newRow("postponement row") << 0 << "3" << "1" << qint64(0) << true << "EM$D";
        QTest::newRow("refund row") << 0 << "4" << "1" << qint64(0) << true << "EM$D";
        QTest::newRow("payment row") << 0 << "1" << "4" << qint64(0) << true << "EM$D";
        QTest::newRow("sale") << 1 << "" << "" << qint64(0) << true << "EM$D";
    }
    void buttons()
    {
        QFETCH(int, line);
        QFETCH(QString, ltGubun);
        QFETCH(QString, pgGubun);
        QFETCH(qint64, cancel);
        QFETCH(bool, transferInUse);
        QFETCH(QString, enabled);
        HistoryLine l;
        if (line == 0) {
            LectureRow r = lecture(ltGubun, pgGubun);
            r.cancel = cancel;
            l = lineOf(r);
        } else if (line == 1) {
            l.isSale = true;
            l.kind = HistoryKind::Goods;
        }
        const HistoryButtons b = historyButtons(true, line < 0 ? nullptr : &l, transferInUse);
        QString got;
        for (auto [on, c] : {std::pair{b.enroll, 'E'}, {b.modify, 'M'}, {b.classChange, 'C'}, {b.transfer, 'T'},
                             {b.postpone, 'P'}, {b.refund, 'R'}, {b.payment, '$'}, {b.deleteRow, 'D'}})
            if (on)
                got += QLatin1Char(c);
        QCOMPARE(got, enabled);
        QCOMPARE(historyButtons(false, &l, true), HistoryButtons{});
    }

    void modifyDispatch_data()
    {
        QTest::addColumn<QString>("ltGubun");
        QTest::addColumn<QString>("pgGubun");
        QTest::addColumn<qint64>("transfer");
        QTest::addColumn<int>("screen"); // -1 refused
        QTest::addColumn<qint64>("bLtid");
        QTest::newRow("enrollment") << "1" << "1" << qint64(0) << int(EnrollmentScreen::Enrollment) << qint64(0);
        QTest::newRow("given away") << "1" << "1" << qint64(9) << -1 << qint64(0);
        QTest::newRow("postponement") << "3" << "1" << qint64(0) << int(EnrollmentScreen::Postponement) << qint64(5);
        QTest::newRow("refund") << "4" << "1" << qint64(0) << int(EnrollmentScreen::Refund) << qint64(5);
        QTest::newRow("class change") << "2" << "1" << qint64(0) << int(EnrollmentScreen::ClassChange) << qint64(5);
        QTest::newRow("received") << "0" << "1" << qint64(0) << int(EnrollmentScreen::Transfer) << qint64(0);
        QTest::newRow("payment") << "1" << "4" << qint64(0) << int(EnrollmentScreen::Payment) << qint64(0);
    }
    void modifyDispatch()
    {
        QFETCH(QString, ltGubun);
        QFETCH(QString, pgGubun);
        QFETCH(qint64, transfer);
        QFETCH(int, screen);
        QFETCH(qint64, bLtid);
        LectureRow r = lecture(ltGubun, pgGubun);
        r.transfer = transfer;
        r.bLtid = ltGubun == "1" ? 0 : 5;
        const ModifyDecision d = fitrova::modifyDispatch(lineOf(r), "00000001");
        if (screen < 0) {
            QVERIFY(d.refused);
            QCOMPARE(d.message.text, QString("양도된 강좌는 수정할수 없읍니다"));
            QCOMPARE(d.message.title, QString("강좌수정"));
            return;
        }
        QVERIFY(!d.refused);
        QCOMPARE(int(d.request.screen), screen);
        QCOMPARE(d.request.jobGubun, QString("C"));
        QCOMPARE(d.request.ltid, 7);
        QCOMPARE(d.request.bLtid, bLtid);
        QCOMPARE(d.request.mbCode, QString("00000001"));
    }

    void modifyDispatch_sale()
    {
        HistoryLine l;
        l.isSale = true;
        l.kind = HistoryKind::Goods;
        l.id = 33;
        const ModifyDecision d = fitrova::modifyDispatch(l, "00000001");
        QCOMPARE(d.request.screen, EnrollmentScreen::Enrollment);
        QCOMPARE(d.request.tab, 1);
        QCOMPARE(d.request.ltid, 33);
    }

    void pointLinesRunningTotal()
    {
        const QList<PointLine> lines = buildPointLines(
            {PointRow{1, "1", "2024-05-01", QStringLiteral("수영"), 100000, 5000, 0},
             PointRow{2, "4", "2024-05-02", QStringLiteral("수경"), 20000, 1000, 3000},
             PointRow{3, "3", "2024-05-03", QStringLiteral("미납입금"), 0, 0, 4000}});
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0].cells, (QStringList{"강좌", "2024-05-01", "수영", "100,000", "5,000", "", "5,000"}));
        QCOMPARE(lines[1].cells[0], QString("상품"));
        QCOMPARE(lines[1].cells[6], QString("3,000"));
        QCOMPARE(lines[2].balance, -1000);
        QCOMPARE(lines[2].cells[6], QString("-1,000"));
    }

    // Loading from the database: enrollment rows newest first with the other
    // party of a transfer, then sales; the ledger in date order; visits with
    // one line per lent item.
    void loadFromDatabase()
    {
        TestInstall inst;
        const Db &db = inst.db();
        addMember(db, "00000001", QStringLiteral("홍길동"));
        addMember(db, "00000002", QStringLiteral("이순신"));
        Lect a;
        a.rqDate = "2024-04-01";
        const qint64 base = addLecture(db, a);
        Lect t;
        t.mbCode = "00000002";
        t.ltGubun = "0";
        t.rqDate = "2024-05-05";
        addDependent(db, base, t, "Transfer", "2024-05-05");
        Lect b;
        b.rqDate = "2024-05-02";
        addLecture(db, b);
        addSale(db, "00000001", 5000, 5000, "2024-05-03");

        const MemberHistory h = loadMemberHistory(db, "00000001");
        QCOMPARE(h.lectures.size(), 2);
        QCOMPARE(h.lectures[0].rqDate, QString("2024-05-02"));
        QCOMPARE(h.sales.size(), 1);
        const QList<HistoryLine> lines = buildHistoryLines(h, kToday);
        QCOMPARE(lines[1].cells[HcDetail], QString("수영 초급 양수자:이순신(00000002)"));
        const MemberHistory h2 = loadMemberHistory(db, "00000002");
        QCOMPARE(buildHistoryLines(h2, kToday)[0].cells[HcDetail], QString("수영 초급 양도자:홍길동(00000001)"));

        addPoint(db, "00000001", "1", 2, 300, 0, "2024-05-02");
        addPoint(db, "00000001", "1", 1, 500, 0, "2024-04-01");
        const QList<PointLine> pl = buildPointLines(loadPointRows(db, "00000001"));
        QCOMPARE(pl.size(), 2);
        QCOMPARE(pl[0].cells[1], QString("2024-04-01"));
        QCOMPARE(pl[1].balance, 800);

        db.exec("INSERT INTO Item (ItCode, Course, Sclass, ItName, BarCode) VALUES ('A01-1', 'A', '02', '수건', 'B1'), "
                "('A01-2', 'A', '02', '락카키', 'B2')");
        const qint64 e1 = db.insertId("INSERT INTO entrance (InDate, InTime, OutTime, PgGubun, MbCode, uTime) "
                                      "VALUES ('2024-05-08', '10:00', '11:30', '2', '00000001', 90)", {}, "Entid");
        db.insertId("INSERT INTO entrance (InDate, InTime, PgGubun, MbCode) VALUES ('2024-05-09', '09:00', '1', "
                    "'00000001')", {}, "Entid");
        for (const char *code : {"A01-1", "A01-2"})
            db.exec("INSERT INTO ItemTrs (Entid, ItId) SELECT ?, ItId FROM Item WHERE ItCode = ?", {e1, code});
        const QList<AttendanceLine> al = attendanceLines(db, loadMemberVisitPage(db, "00000001").visits);
        QCOMPARE(al.size(), 3);
        QCOMPARE(al[0].cells[0], QString("2024-05-09"));
        QCOMPARE(al[1].cells[4], QString("90 분"));
        QCOMPARE(al[1].cells[8], QString("수건"));
        QCOMPARE(al[2].cells[8], QString("락카키"));
    }
};

QTEST_GUILESS_MAIN(TstMemberHistory)
#include "tst_memberhistory.moc"
