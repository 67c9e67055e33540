// FITROVA_DB_TEST
// The gate's admission decision over its edge cases, and the card → decision
// → visit path on the database: only the newest enrollment counts, daily
// limits, postponement, weekdays, time passes inside, visits written with
// their equipment in one transaction.

#include <QtTest>

#include "entrance/checkin.h"
#include "gatebuilders.h"
#include "testinstall.h"

using namespace fitrova;
using namespace fitrova::test;

namespace {

const QDateTime kFriday(QDate(2024, 5, 10), QTime(9, 0));   // the test clock's day
const QDateTime kSunday(QDate(2024, 5, 12), QTime(10, 30));

GateFacts facts(const QString &pgGubun = QStringLiteral("1"))
{
    GateFacts f;
    f.member = GateMember{QStringLiteral("00000001"), QStringLiteral("홍길동"), QStringLiteral("11112222")};
    GateLecture l;
    l.ltid = 41;
    l.pgid = 5;
    l.pgGubun = pgGubun;
    l.course = QStringLiteral("1");
    l.sDate1 = QStringLiteral("2024-05-01");
    l.sDate2 = l.dDate2 = QStringLiteral("2024-07-31");
    l.pgCnt = 600;
    l.uPgCnt = 0;
    l.days.fill(true);
    f.lecture = l;
    return f;
}

} // namespace

Q_DECLARE_METATYPE(fitrova::GateFacts)

class TstCheckIn : public QObject {
    Q_OBJECT
    std::unique_ptr<TestInstall> m_inst;
    // The one installation of this program, emptied of what the last test made.
    TestInstall &fresh()
    {
        if (!m_inst)
            m_inst = std::make_unique<TestInstall>();
        const Db &db = m_inst->db();
        for (const char *t : {"Member", "Lecture", "Program", "entrance", "ItemTrs", "Item"})
            db.exec(QStringLiteral("DELETE FROM ") + QLatin1String(t));
        m_inst->clock().set(QDateTime(QDate(2024, 5, 10), QTime(9, 0)));
        loadUserOptions(m_inst->ctx());
        return *m_inst;
    }

private slots:
    void cleanupTestCase() { m_inst.reset(); }

    // --- the pure decision ---------------------------------------------------------
    void decision_data()
    {
        QTest::addColumn<GateFacts>("f");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<int>("limit");
        QTest::addColumn<int>("weekdayCheck");
        QTest::addColumn<int>("verdict");
        QTest::addColumn<QString>("message");

        const int admitted = int(GateVerdict::Admitted), pending = int(GateVerdict::AdmitPending),
                  refused = int(GateVerdict::Refused), ask = int(GateVerdict::AskWeekday),
                  checkout = int(GateVerdict::CheckOut);

        GateFacts none = facts();
        none.lecture.reset();
        QTest::newRow("no valid enrollment") << none << kFriday << 1 << 0 << refused
                                             << "홍길동 님은 입장가능한 유효강좌가 없읍니다.";
        QTest::newRow("period, first visit") << facts() << kFriday << 1 << 0 << admitted << "정상입장..( 1 회)";

        GateFacts used = facts("2");
        used.lecture->uPgCnt = 600;
        QTest::newRow("time used up") << used << kFriday << 3 << 0 << refused << "사용시간이 다 소진되었읍니다.";
        GateFacts over = facts("2");
        over.lecture->uPgCnt = 610;
        QTest::newRow("time overdrawn") << over << kFriday << 3 << 0 << refused << "사용시간이 다 소진되었읍니다.";
        GateFacts left = facts("2");
        left.lecture->uPgCnt = 599;
        QTest::newRow("one minute left") << left << kFriday << 3 << 0 << pending << "입장가능한 회원입니다..";

        GateFacts paused = facts();
        paused.lecture->delay = 77;
        paused.lecture->delayFound = true;
        paused.lecture->delayFrom = QStringLiteral("2024-05-10");
        paused.lecture->delayTo = QStringLiteral("2024-05-20");
        QTest::newRow("postponed, first day") << paused << kFriday << 1 << 0 << refused
                                              << "(2024-05-10~2024-05-20)강좌 연기기간 중에는 입장하실수 없습니다.";
        GateFacts lastPauseDay = paused;
        lastPauseDay.lecture->delayFrom = QStringLiteral("2024-05-01");
        lastPauseDay.lecture->delayTo = QStringLiteral("2024-05-10");
        QTest::newRow("postponed, last day") << lastPauseDay << kFriday << 1 << 0 << refused
                                             << "(2024-05-01~2024-05-10)강좌 연기기간 중에는 입장하실수 없습니다.";
        GateFacts resumed = paused;
        resumed.lecture->delayTo = QStringLiteral("2024-05-09");
        resumed.lecture->delayFrom = QStringLiteral("2024-05-01");
        QTest::newRow("postponement over") << resumed << kFriday << 1 << 0 << admitted << "정상입장..( 1 회)";
        GateFacts notYet = paused;
        notYet.lecture->delayFrom = QStringLiteral("2024-05-11");
        notYet.lecture->delayTo = QStringLiteral("2024-05-20");
        QTest::newRow("postponement from tomorrow") << notYet << kFriday << 1 << 0 << admitted << "정상입장..( 1 회)";
        GateFacts lost = paused;
        lost.lecture->delayFound = false;
        QTest::newRow("postponement row gone") << lost << kFriday << 1 << 0 << admitted << "정상입장..( 1 회)";

        auto visited = [](int n) {
            GateFacts f = facts();
            f.todayCount = n;
            return f;
        };
        const QString tooMany = QStringLiteral("일일 입장횟수를 초과했읍니다..");
        QTest::newRow("limit 1, second") << visited(1) << kFriday << 1 << 0 << refused << tooMany;
        QTest::newRow("limit 1, past it by hand") << visited(2) << kFriday << 1 << 0 << refused << tooMany;
        QTest::newRow("limit 2, second") << visited(1) << kFriday << 2 << 0 << admitted << "정상입장..( 2 회)";
        QTest::newRow("limit 2, third") << visited(2) << kFriday << 2 << 0 << refused << tooMany;
        QTest::newRow("limit 3, sixth") << visited(5) << kFriday << 3 << 0 << admitted << "정상입장..( 6 회)";
        QTest::newRow("check-out required, first") << visited(0) << kFriday << 4 << 0 << admitted
                                                   << "정상입장..( 1 회)";
        QTest::newRow("check-out required, second") << visited(1) << kFriday << 4 << 0 << refused << tooMany;
        GateFacts stillInside = visited(1);
        stillInside.openVisits = {OpenVisit{92, QStringLiteral("1"), QStringLiteral("07:10")}};
        QTest::newRow("check-out required, not checked out") << stillInside << kFriday << 4 << 0 << refused
                                                             << "퇴실처리되지 않은 입장이 있읍니다.. (입장 07:10)";
        QTest::newRow("limit 0 never refuses") << visited(4) << kFriday << 0 << 0 << admitted << "정상입장..( 5 회)";

        GateFacts weekdays = facts();
        weekdays.lecture->days = {false, true, true, true, true, true, false, false};
        QTest::newRow("sunday refused") << weekdays << kSunday << 1 << 0 << refused << "[일] 요일은 입장하실수 없습니다. ";
        QTest::newRow("friday admitted") << weekdays << kFriday << 1 << 0 << admitted << "정상입장..( 1 회)";
        QTest::newRow("sunday, no weekday check") << weekdays << kSunday << 1 << 1 << admitted << "정상입장..( 1 회)";
        QTest::newRow("sunday, ask") << weekdays << kSunday << 1 << 2 << ask
                                     << "[일] 요일은 입장가능한 요일이 아닙니다. 입장하시겠습니까?";
        GateFacts saturdayOnly = facts();
        saturdayOnly.lecture->days = {false, false, false, false, false, false, true, false};
        QTest::newRow("friday on a saturday class") << saturdayOnly << kFriday << 1 << 0 << refused
                                                    << "[금] 요일은 입장하실수 없습니다. ";
        GateFacts noProgram = facts();
        noProgram.lecture->days.fill(false);
        QTest::newRow("program gone") << noProgram << kFriday << 1 << 0 << refused << "[금] 요일은 입장하실수 없습니다. ";

        GateFacts seven = facts();
        seven.lecture->dDate2 = QStringLiteral("2024-05-17");
        QTest::newRow("7 days left") << seven << kFriday << 1 << 0 << admitted << "정상입장.. [ 만기 7 일전 ]";
        GateFacts eight = facts();
        eight.lecture->dDate2 = QStringLiteral("2024-05-18");
        QTest::newRow("8 days left") << eight << kFriday << 1 << 0 << admitted << "정상입장..( 1 회)";
        GateFacts lastDay = facts();
        lastDay.lecture->dDate2 = QStringLiteral("2024-05-10");
        QTest::newRow("last day") << lastDay << kFriday << 1 << 0 << admitted << "정상입장.. [ 만기 0 일전 ]";

        GateFacts inside = facts("2");
        inside.openVisits = {OpenVisit{90, QStringLiteral("2"), QStringLiteral("08:00")}};
        inside.todayCount = 1;
        QTest::newRow("time pass inside leaves") << inside << kFriday << 1 << 0 << checkout << "";
        GateFacts periodOpen = facts();
        periodOpen.openVisits = {OpenVisit{91, QStringLiteral("1"), QStringLiteral("07:00")}};
        periodOpen.todayCount = 1;
        QTest::newRow("open period visit is no check-out") << periodOpen << kFriday << 2 << 0 << admitted
                                                           << "정상입장..( 2 회)";
        GateFacts insideUsedUp = used;
        insideUsedUp.openVisits = inside.openVisits;
        QTest::newRow("check-out before the time rule") << insideUsedUp << kFriday << 1 << 0 << checkout << "";
    }
    void decision()
    {
        QFETCH(GateFacts, f);
        QFETCH(QDateTime, now);
        QFETCH(int, limit);
        QFETCH(int, weekdayCheck);
        QFETCH(int, verdict);
        QFETCH(QString, message);
        const GateDecision d = decideAdmission(f, now, GateOptions{limit, weekdayCheck});
        QCOMPARE(int(d.verdict), verdict);
        QCOMPARE(d.message, message);
        QCOMPARE(d.tone, d.admitted() ? GateTone::Blue : GateTone::Red);
        QCOMPARE(d.writeVisit, verdict == int(GateVerdict::Admitted));
        QCOMPARE(d.messageBox, message == QStringLiteral("사용시간이 다 소진되었읍니다."));
        if (d.writeVisit) {
            QCOMPARE(d.visit.ltid, 41);
            QCOMPARE(d.visit.inDate, now.date().toString(Qt::ISODate));
            QCOMPARE(d.visit.inTime, now.time().toString(QStringLiteral("hh:mm")));
            QCOMPARE(d.visit.mbCard, QStringLiteral("11112222"));
        }
        if (verdict == int(GateVerdict::CheckOut))
            QVERIFY(d.checkOutEntid >= 90);
    }

    void weekdayConfirmedAdmits()
    {
        GateFacts f = facts();
        f.lecture->days.fill(false);
        QCOMPARE(decideAdmission(f, kSunday, GateOptions{1, 2}, true).verdict, GateVerdict::Admitted);
        // Confirming the weekday lifts no other rule.
        f.todayCount = 1;
        QCOMPARE(decideAdmission(f, kSunday, GateOptions{1, 2}, true).verdict, GateVerdict::Refused);
    }

    void manualAdmissionSkipsTheRules()
    {
        GateFacts f = facts("2");
        f.lecture->uPgCnt = 600;
        f.lecture->days.fill(false);
        f.todayCount = 3;
        const GateDecision d = decideManualAdmission(f, kFriday);
        QCOMPARE(d.verdict, GateVerdict::Admitted);
        QVERIFY(d.writeVisit);
        QCOMPARE(d.visit.pgGubun, QStringLiteral("2"));
        f.lecture.reset();
        QCOMPARE(decideManualAdmission(f, kFriday).message, QStringLiteral("홍길동 님은 입장가능한 유효강좌가 없읍니다."));
    }

    // --- card → decision → visit on the database ------------------------------------------
    void newestEnrollmentDecides()
    {
        TestInstall &inst = fresh();
        const Db &db = inst.ctx().ent;
        addMember(db, "00000001", "홍길동", "11112222");
        const qint64 gym = addProgram(db, "헬스");
        const qint64 pass = addProgram(db, "수영 자유", "2");
        addPeriod(db, "00000001", gym, "2024-05-01", "2024-07-31", "2024-04-28");
        addTimePass(db, "00000001", pass, 300, 300, "2024-05-05"); // newer, used up

        const CheckInResult r = checkInByCard(db, "11112222", kFriday, GateOptions{3, 0});
        QCOMPARE(r.status, CheckInStatus::Decided);
        QCOMPARE(r.decision.verdict, GateVerdict::Refused);
        QCOMPARE(r.decision.message, QStringLiteral("사용시간이 다 소진되었읍니다."));
        QCOMPARE(r.entid, 0);
        QCOMPARE(countOf(db, "SELECT COUNT(*) FROM entrance"), 0);
    }

    void validityFilters_data()
    {
        QTest::addColumn<QString>("change"); // an UPDATE of Lecture row :id
        QTest::addColumn<bool>("valid");
        QTest::newRow("plain") << "UPDATE Lecture SET Remark = '' WHERE Ltid = ?" << true;
        QTest::newRow("transferred away") << "UPDATE Lecture SET Transfer = 9 WHERE Ltid = ?" << false;
        QTest::newRow("refunded") << "UPDATE Lecture SET Cancel = 9 WHERE Ltid = ?" << false;
        QTest::newRow("postponement row") << "UPDATE Lecture SET LtGubun = '3' WHERE Ltid = ?" << false;
        QTest::newRow("received transfer") << "UPDATE Lecture SET LtGubun = '0' WHERE Ltid = ?" << true;
        QTest::newRow("class change") << "UPDATE Lecture SET LtGubun = '2' WHERE Ltid = ?" << true;
        QTest::newRow("starts today") << "UPDATE Lecture SET Sdate1 = '2024-05-10' WHERE Ltid = ?" << true;
        QTest::newRow("starts tomorrow") << "UPDATE Lecture SET Sdate1 = '2024-05-11' WHERE Ltid = ?" << false;
        QTest::newRow("ended yesterday") << "UPDATE Lecture SET Sdate2 = '2024-05-09' WHERE Ltid = ?" << false;
        QTest::newRow("ends today") << "UPDATE Lecture SET Sdate2 = '2024-05-10' WHERE Ltid = ?" << true;
    }
    void validityFilters()
    {
        QFETCH(QString, change);
        QFETCH(bool, valid);
        TestInstall &inst = fresh();
        const Db &db = inst.ctx().ent;
        addMember(db, "00000001", "홍길동", "11112222");
        const qint64 id = addPeriod(db, "00000001", addProgram(db, "헬스"), "2024-05-01", "2024-07-31");
        db.exec(change, {id});
        const CheckInResult r = checkInByCard(db, "11112222", kFriday, GateOptions{3, 0});
        QCOMPARE(r.decision.verdict, valid ? GateVerdict::Admitted : GateVerdict::Refused);
        QCOMPARE(countOf(db, "SELECT COUNT(*) FROM entrance WHERE Ltid = ?", {id}), valid ? 1 : 0);
    }

    void dailyLimitOnTheDatabase_data()
    {
        QTest::addColumn<int>("limit");
        QTest::addColumn<QStringList>("messages");
        const QString refused = QStringLiteral("일일 입장횟수를 초과했읍니다..");
        QTest::newRow("1") << 1 << QStringList{"정상입장..( 1 회)", refused, refused};
        QTest::newRow("2") << 2 << QStringList{"정상입장..( 1 회)", "정상입장..( 2 회)", refused};
        QTest::newRow("3") << 3 << QStringList{"정상입장..( 1 회)", "정상입장..( 2 회)", "정상입장..( 3 회)"};
        QTest::newRow("4") << 4 << QStringList{"정상입장..( 1 회)", "퇴실처리되지 않은 입장이 있읍니다.. (입장 09:10)",
                                               "퇴실처리되지 않은 입장이 있읍니다.. (입장 09:10)"};
    }
    void dailyLimitOnTheDatabase()
    {
        QFETCH(int, limit);
        QFETCH(QStringList, messages);
        TestInstall &inst = fresh();
        inst.ctx().options.opt6 = limit;
        const Db &db = inst.ctx().ent;
        addMember(db, "00000001", "홍길동", "11112222");
        const qint64 gym = addProgram(db, "헬스");
        const qint64 id = addPeriod(db, "00000001", gym, "2024-05-01", "2024-07-31");
        // A visit yesterday and one of another member today do not count.
        addVisit(db, "00000001", id, "2024-05-09", "10:00");
        addVisit(db, "00000002", id, "2024-05-10", "08:00");
        QStringList got;
        for (int i = 0; i < messages.size(); ++i) {
            inst.clock().advanceSecs(600);
            got << checkInByCard(inst.ctx(), "11112222").decision.message;
        }
        QCOMPARE(got, messages);
        qint64 refusals = 0;
        for (const QString &m : messages)
            refusals += m.startsWith(QStringLiteral("정상입장")) ? 0 : 1;
        QCOMPARE(countOf(db, "SELECT COUNT(*) FROM entrance WHERE MbCode = '00000001' AND InDate = '2024-05-10'"),
                 messages.size() - refusals);
        const auto row = db.queryOne("SELECT InTime, MbCard, Pgid, Course, PgGubun, OutTime FROM entrance "
                                     "WHERE MbCode = '00000001' AND InDate = '2024-05-10' ORDER BY Entid LIMIT 1");
        QCOMPARE(row->str("InTime"), QStringLiteral("09:10"));
        QCOMPARE(row->str("MbCard"), QStringLiteral("11112222"));
        QCOMPARE(row->num("Pgid"), gym);
        QCOMPARE(row->str("PgGubun"), QStringLiteral("1"));
        QVERIFY(row->str("OutTime").isEmpty());
    }

    void postponementFromItsRow()
    {
        TestInstall &inst = fresh();
        const Db &db = inst.ctx().ent;
        addMember(db, "00000001", "홍길동", "11112222");
        const qint64 base = addPeriod(db, "00000001", addProgram(db, "헬스"), "2024-05-01", "2024-07-31");
        Lect pause;
        pause.ltGubun = "3";
        pause.sDate1 = "2024-05-08";
        pause.sDate2 = "2024-05-21";
        addDependent(db, base, pause, "Delay", "2024-08-14");
        const CheckInResult r = checkInByCard(db, "11112222", kFriday, GateOptions{1, 0});
        QCOMPARE(r.decision.message, QStringLiteral("(2024-05-08~2024-05-21)강좌 연기기간 중에는 입장하실수 없습니다."));
        QCOMPARE(r.decision.tone, GateTone::Red);
        const CheckInResult lastDay = checkInByCard(db, "11112222", QDateTime(QDate(2024, 5, 21), QTime(21, 0)),
                                                    GateOptions{1, 0});
        QCOMPARE(lastDay.decision.verdict, GateVerdict::Refused);
        const CheckInResult after = checkInByCard(db, "11112222", QDateTime(QDate(2024, 5, 22), QTime(7, 0)),
                                                  GateOptions{1, 0});
        QCOMPARE(after.decision.verdict, GateVerdict::Admitted);
    }

    void sundayOnTheDatabase()
    {
        TestInstall &inst = fresh();
        const Db &db = inst.ctx().ent;
        addMember(db, "00000001", "홍길동", "11112222");
        addPeriod(db, "00000001", addProgram(db, "평일반", "1", "1111100"), "2024-05-01", "2024-07-31");
        QCOMPARE(checkInByCard(db, "11112222", kSunday, GateOptions{1, 0}).decision.message,
                 QStringLiteral("[일] 요일은 입장하실수 없습니다. "));
        QCOMPARE(checkInByCard(db, "11112222", kSunday, GateOptions{1, 2}).decision.verdict, GateVerdict::AskWeekday);
        CheckInRequest yes;
        yes.weekdayConfirmed = true;
        QVERIFY(checkInByCard(db, "11112222", kSunday, GateOptions{1, 2}, yes).entid > 0);
    }

    void timePassInsideGetsTheCheckOut()
    {
        TestInstall &inst = fresh();
        const Db &db = inst.ctx().ent;
        addMember(db, "00000001", "홍길동", "11112222");
        const qint64 ltid = addTimePass(db, "00000001", addProgram(db, "수영 자유", "2"), 600, 0);
        CheckInResult r = checkInByCard(db, "11112222", kFriday, GateOptions{1, 0});
        QCOMPARE(r.decision.verdict, GateVerdict::AdmitPending);
        QCOMPARE(r.entid, 0); // written when the desk presses 입장
        const qint64 entid = writeVisit(db, r.decision.visit);
        r = checkInByCard(db, "11112222", kFriday.addSecs(3600), GateOptions{1, 0});
        QCOMPARE(r.decision.verdict, GateVerdict::CheckOut);
        QCOMPARE(r.decision.checkOutEntid, entid);
        QCOMPARE(countOf(db, "SELECT COUNT(*) FROM entrance WHERE Ltid = ?", {ltid}), 1);
    }

    void cardLookups()
    {
        TestInstall &inst = fresh();
        const Db &db = inst.ctx().ent;
        addMember(db, "00000001", "홍길동", "11112222");
        addMember(db, "00000002", "김영희", "33334444");
        addMember(db, "00000003", "김철수", "33334444");
        QCOMPARE(checkInByCard(db, "99999999", kFriday, {}).status, CheckInStatus::NotFound);
        QCOMPARE(checkInByCard(db, "  ", kFriday, {}).status, CheckInStatus::NotFound);
        QCOMPARE(checkInByCard(db, "1111222", kFriday, {}).status, CheckInStatus::NotFound);
        const CheckInResult several = checkInByCard(db, "33334444", kFriday, {});
        QCOMPARE(several.status, CheckInStatus::Several);
        QCOMPARE(several.candidates.size(), 2);
        const CheckInResult one = checkInByCard(db, " 11112222 ", kFriday, {});
        QCOMPARE(one.status, CheckInStatus::Decided);
        QCOMPARE(one.member.mbName, QStringLiteral("홍길동"));
        QCOMPARE(one.decision.message, QStringLiteral("홍길동 님은 입장가능한 유효강좌가 없읍니다."));
        QCOMPARE(checkInMember(db, "00000003", kFriday, {}).member.mbName, QStringLiteral("김철수"));
        // Typed text is a value, never SQL.
        QCOMPARE(checkInByCard(db, "' OR ''='", kFriday, {}).status, CheckInStatus::NotFound);
    }

    void handAdmissionIgnoresTheLimitButNotTheEnrollment()
    {
        TestInstall &inst = fresh();
        const Db &db = inst.ctx().ent;
        addMember(db, "00000001", "홍길동", "11112222");
        addMember(db, "00000002", "김영희", "33334444");
        const qint64 id = addPeriod(db, "00000001", addProgram(db, "헬스"), "2024-05-01", "2024-07-31");
        QVERIFY(checkInByCard(db, "11112222", kFriday, GateOptions{1, 0}).entid > 0);
        QCOMPARE(checkInByCard(db, "11112222", kFriday, GateOptions{1, 0}).decision.message,
                 QStringLiteral("일일 입장횟수를 초과했읍니다.."));
        // 입장 at the desk: past the daily limit, with a towel.
        const qint64 towel = addItem(db, "T1", "수건", "880001");
        const CheckInResult byHand = admitByHand(db, "00000001", kFriday.addSecs(600), {towel});
        QVERIFY(byHand.entid > 0);
        QCOMPARE(byHand.decision.message, QStringLiteral("정상입장 처리되었읍니다"));
        QCOMPARE(countOf(db, "SELECT COUNT(*) FROM entrance WHERE Ltid = ?", {id}), 2);
        QCOMPARE(countOf(db, "SELECT COUNT(*) FROM ItemTrs WHERE Entid = ?", {byHand.entid}), 1);
        // Without a valid enrollment, nothing is written; an unknown member is not found.
        const CheckInResult none = admitByHand(db, "00000002", kFriday);
        QCOMPARE(none.entid, 0);
        QCOMPARE(none.decision.message, QStringLiteral("김영희 님은 입장가능한 유효강좌가 없읍니다."));
        QCOMPARE(admitByHand(db, "00000099", kFriday).status, CheckInStatus::NotFound);
        QCOMPARE(countOf(db, "SELECT COUNT(*) FROM entrance"), 2);
    }

    void visitAndEquipmentTogether()
    {
        TestInstall inst;
        const Db &db = inst.ctx().ent;
        addMember(db, "00000001", "홍길동", "11112222");
        addPeriod(db, "00000001", addProgram(db, "헬스"), "2024-05-01", "2024-07-31");
        const qint64 towel = addItem(db, "T1", "수건", "880001");
        const qint64 locker = addItem(db, "K1", "락커키", "880002");
        CheckInRequest req;
        req.itemIds = {towel, locker};
        const CheckInResult r = checkInByCard(db, "11112222", kFriday, GateOptions{1, 0}, req);
        QVERIFY(r.entid > 0);
        const Rows items = db.query("SELECT ItId FROM ItemTrs WHERE Entid = ? ORDER BY Id", {r.entid});
        QCOMPARE(items.size(), 2);
        QCOMPARE(items.at(1).num("ItId"), locker);

        // When the equipment cannot be written, the visit is not written either.
        db.exec("DROP TABLE ItemTrs");
        VisitToWrite v = r.decision.visit;
        QVERIFY_THROWS_EXCEPTION(DbError, writeVisit(db, v, {towel}));
        QCOMPARE(countOf(db, "SELECT COUNT(*) FROM entrance"), 1);
    }
};

#include "tst_checkin.moc"
QTEST_GUILESS_MAIN(TstCheckIn)
