// FITROVA_DB_TEST
// Check-out (minutes, remaining and extra time, the totals it recomputes),
// deleting a visit, the check-in screen's lists (enrollment window, visit
// history, day list with its equipment), equipment look-ups, master cards and
// the serial card reader's line splitting.

#include <QtTest>

#include "data/dates.h"
#include "entrance/cardreader.h"
#include "entrance/checkout.h"
#include "entrance/gatelists.h"
#include "entrance/mastercard.h"
#include "gatebuilders.h"
#include "testinstall.h"

#include <QSignalSpy>

using namespace fitrova;
using namespace fitrova::test;

class TstGateLists : public QObject {
    Q_OBJECT
private slots:
    void minutes_data()
    {
        QTest::addColumn<QString>("inDate");
        QTest::addColumn<QString>("in");
        QTest::addColumn<QString>("out");
        QTest::addColumn<qint64>("minutes");
        QTest::addColumn<QString>("text");
        QTest::newRow("ninety") << "2024-05-10" << "10:00" << "11:30" << qint64(90) << "1시간 30분";
        QTest::newRow("under an hour") << "2024-05-10" << "10:50" << "11:35" << qint64(45) << "45 분";
        QTest::newRow("same minute") << "2024-05-10" << "10:00" << "10:00" << qint64(0) << "0 분";
        QTest::newRow("past midnight") << "2024-05-09" << "23:30" << "00:15" << qint64(45) << "45 분";
        QTest::newRow("unreadable entry") << "2024-05-10" << "" << "11:00" << qint64(0) << "0 분";
    }
    void minutes()
    {
        QFETCH(QString, inDate);
        QFETCH(QString, in);
        QFETCH(QString, out);
        QFETCH(qint64, minutes);
        QFETCH(QString, text);
        const qint64 m = minutesBetween(inDate, in, QDate(2024, 5, 10), out);
        QCOMPARE(m, minutes);
        CheckOutInfo info;
        QCOMPARE(checkOutFigures(info, m).usedText, text);
    }

    void figures_data()
    {
        QTest::addColumn<qint64>("bought");
        QTest::addColumn<qint64>("before");
        QTest::addColumn<qint64>("used");
        QTest::addColumn<qint64>("remain");
        QTest::addColumn<QString>("extraText");
        QTest::newRow("overdrawn") << qint64(600) << qint64(580) << qint64(30) << qint64(0) << "10 분";
        QTest::newRow("exactly used up") << qint64(600) << qint64(570) << qint64(30) << qint64(0) << "";
        QTest::newRow("time left") << qint64(600) << qint64(0) << qint64(90) << qint64(510) << "";
        QTest::newRow("long over") << qint64(60) << qint64(60) << qint64(125) << qint64(0) << "2시간 5분";
        QTest::newRow("12 h 55 min on 600") << qint64(600) << qint64(575) << qint64(775) << qint64(0) << "12시간 30분";
    }
    void figures()
    {
        QFETCH(qint64, bought);
        QFETCH(qint64, before);
        QFETCH(qint64, used);
        QFETCH(qint64, remain);
        QFETCH(QString, extraText);
        CheckOutInfo info;
        info.lectureFound = true;
        info.pgCnt = bought;
        info.otherUsed = before;
        const CheckOutFigures f = checkOutFigures(info, used);
        QCOMPARE(f.remain, remain);
        QCOMPARE(f.hasExtra, !extraText.isEmpty());
        QCOMPARE(f.extraText, extraText);
        QCOMPARE(f.remainText, minutesText(int(remain)));
    }

    void typedMinutes()
    {
        QCOMPARE(parseMinutes(" 75 "), std::optional<qint64>(75));
        QCOMPARE(parseMinutes("0"), std::optional<qint64>(0));
        QVERIFY(!parseMinutes(""));
        QVERIFY(!parseMinutes("-5"));
        QVERIFY(!parseMinutes("1.5"));
        QVERIFY(!parseMinutes("abc"));
    }

    void checkOutOfATimePass()
    {
        TestInstall inst;
        const Db &db = inst.ctx().ent;
        addMember(db, "00000001", "홍길동", "11112222");
        const qint64 pgid = addProgram(db, "수영 자유", "2");
        const qint64 ltid = addTimePass(db, "00000001", pgid, 600, 580);
        addVisit(db, "00000001", ltid, "2024-05-08", "09:00", "11:00", 120, "2");
        addVisit(db, "00000001", ltid, "2024-05-09", "09:00", "16:40", 460, "2");
        const qint64 entid = addVisit(db, "00000001", ltid, "2024-05-10", "10:00", {}, 0, "2");

        const CheckOutInfo info = loadCheckOut(db, entid, QDateTime(QDate(2024, 5, 10), QTime(10, 30, 40)));
        QVERIFY(info.found);
        QVERIFY(!info.alreadyOut);
        QCOMPARE(info.memberName, QStringLiteral("홍길동"));
        QCOMPARE(info.programName, QStringLiteral("수영 자유"));
        QCOMPARE(info.outTime, QStringLiteral("10:30"));
        QCOMPARE(info.usedMinutes, 30);
        const CheckOutFigures f = checkOutFigures(info, info.usedMinutes);
        QCOMPARE(f.remain, 0);
        QCOMPARE(f.extra, 10);

        QVERIFY(saveCheckOut(db, entid, info.outTime, 35, "수경 대여"));
        const auto v = db.queryOne("SELECT OutTime, uTime, Memo FROM entrance WHERE Entid = ?", {entid});
        QCOMPARE(v->str("OutTime"), QStringLiteral("10:30"));
        QCOMPARE(v->num("uTime"), 35);
        QCOMPARE(v->str("Memo"), QStringLiteral("수경 대여"));
        // The used minutes are the sum over the visits, not the old total plus this one.
        QCOMPARE(db.scalar("SELECT uPgCnt FROM Lecture WHERE Ltid = ?", {ltid}).toLongLong(), 120 + 460 + 35);
        const auto m = db.queryOne("SELECT LastDate, LastTime FROM Member WHERE MbCode = '00000001'");
        QCOMPARE(m->str("LastDate"), QStringLiteral("2024-05-10"));
        QCOMPARE(m->str("LastTime"), QStringLiteral("10:00"));

        // Opened again later, the visit keeps its exit and minutes and counts once.
        const CheckOutInfo again = loadCheckOut(db, entid, QDateTime(QDate(2024, 5, 10), QTime(18, 0)));
        QVERIFY(again.alreadyOut);
        QCOMPARE(again.outTime, QStringLiteral("10:30"));
        QCOMPARE(again.usedMinutes, 35);
        QCOMPARE(checkOutFigures(again, 35).remain, 0);

        QVERIFY(!saveCheckOut(db, 999999, "10:00", 5, ""));
        QVERIFY(!loadCheckOut(db, 999999, QDateTime(QDate(2024, 5, 10), QTime(9, 0))).found);
    }

    void checkOutOfAPeriodVisitChangesNoTotals()
    {
        TestInstall inst;
        const Db &db = inst.ctx().ent;
        addMember(db, "00000001", "홍길동", "11112222");
        const qint64 ltid = addPeriod(db, "00000001", addProgram(db, "헬스"), "2024-05-01", "2024-07-31");
        db.exec("UPDATE Lecture SET uPgCnt = 7 WHERE Ltid = ?", {ltid});
        db.exec("UPDATE Member SET LastDate = '2024-05-01', LastTime = '08:00:00' WHERE MbCode = '00000001'");
        const qint64 entid = addVisit(db, "00000001", ltid, "2024-05-10", "09:00");
        QVERIFY(saveCheckOut(db, entid, "10:10", 70, "메모"));
        QCOMPARE(db.scalar("SELECT uTime FROM entrance WHERE Entid = ?", {entid}).toLongLong(), 70);
        QCOMPARE(db.scalar("SELECT uPgCnt FROM Lecture WHERE Ltid = ?", {ltid}).toLongLong(), 7);
        QCOMPARE(db.scalar("SELECT LastDate FROM Member WHERE MbCode = '00000001'").toString(),
                 QStringLiteral("2024-05-01"));
    }

    void deletingAVisit()
    {
        TestInstall inst;
        const Db &db = inst.ctx().ent;
        addMember(db, "00000001", "홍길동", "11112222");
        const qint64 ltid = addTimePass(db, "00000001", addProgram(db, "수영 자유", "2"), 600, 0);
        const qint64 first = addVisit(db, "00000001", ltid, "2024-05-08", "09:00", "10:00", 60, "2");
        const qint64 second = addVisit(db, "00000001", ltid, "2024-05-09", "13:00", "13:45", 45, "2");
        db.exec("INSERT INTO ItemTrs (Entid, ItId) VALUES (?, 1), (?, 2)", {second, second});
        db.exec("UPDATE Lecture SET uPgCnt = 105 WHERE Ltid = ?", {ltid});

        QVERIFY(deleteVisit(db, second));
        QCOMPARE(countOf(db, "SELECT COUNT(*) FROM entrance WHERE Entid = ?", {second}), 0);
        QCOMPARE(countOf(db, "SELECT COUNT(*) FROM ItemTrs WHERE Entid = ?", {second}), 0);
        QCOMPARE(db.scalar("SELECT uPgCnt FROM Lecture WHERE Ltid = ?", {ltid}).toLongLong(), 60);
        QCOMPARE(db.scalar("SELECT LastDate FROM Member WHERE MbCode = '00000001'").toString(),
                 QStringLiteral("2024-05-08"));

        QVERIFY(deleteVisit(db, first));
        QCOMPARE(db.scalar("SELECT uPgCnt FROM Lecture WHERE Ltid = ?", {ltid}).toLongLong(), 0);
        QCOMPARE(db.scalar("SELECT LastDate FROM Member WHERE MbCode = '00000001'").toString(), QString());
        QVERIFY(!deleteVisit(db, first));
    }

    void enrollmentWindow_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<bool>("listed");
        QTest::newRow("running") << "2024-05-01" << "2024-05-31" << true;
        QTest::newRow("ended 10 days ago") << "2024-04-01" << "2024-04-30" << true;
        QTest::newRow("ended 11 days ago") << "2024-04-01" << "2024-04-29" << false;
        QTest::newRow("starts tomorrow") << "2024-05-11" << "2024-06-10" << false;
    }
    void enrollmentWindow()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(bool, listed);
        TestInstall inst;
        const Db &db = inst.db();
        ensureDefaultCatalogue(inst.ctx());
        addMember(db, "00000001", "홍길동", "11112222");
        addPeriod(db, "00000001", addProgram(db, "헬스"), from, to);
        const auto lines = loadGateLectures(db, "00000001", QDate(2024, 5, 10));
        QCOMPARE(lines.size(), listed ? 1 : 0);
    }

    void enrollmentLines()
    {
        TestInstall inst;
        const Db &db = inst.db();
        ensureDefaultCatalogue(inst.ctx());
        addMember(db, "00000001", "홍길동", "11112222");
        const qint64 period = addPeriod(db, "00000001", addProgram(db, "헬스"), "2024-05-01", "2024-05-20",
                                        "2024-04-30");
        addTimePass(db, "00000001", addProgram(db, "수영 자유", "2"), 600, 75, "2024-05-02");
        Lect pause;
        pause.ltGubun = "3";
        pause.remark = "출장";
        addDependent(db, period, pause, "Delay", "2024-05-30");
        Lect box;
        box.pgGubun = "3";
        addLecture(db, box);

        const auto lines = loadGateLectures(db, "00000001", QDate(2024, 5, 10));
        QCOMPARE(lines.size(), 2); // no postponement row, no box
        QCOMPARE(lines.at(0).cells,
                 QStringList({"기본강좌", "2024-05-02", "수영 자유", "3", "2024-05-02", "2024-12-31", "8시간 45분", ""}));
        QCOMPARE(lines.at(1).cells.at(2), QStringLiteral("헬스"));
        QCOMPARE(lines.at(1).cells.at(5), QStringLiteral("2024-05-30"));
        QCOMPARE(lines.at(1).cells.at(6), QStringLiteral("10일"));
        QCOMPARE(lines.at(1).cells.at(7), QStringLiteral("연기."));
    }

    void historyAndDayList()
    {
        TestInstall inst;
        const Db &db = inst.ctx().ent;
        ensureDefaultCatalogue(inst.ctx());
        addMember(db, "00000001", "홍길동", "11112222", "02-555-1234");
        db.exec("UPDATE Member SET Sex = '남', Age = 34, MbName1 = '홍판서' WHERE MbCode = '00000001'");
        addMember(db, "00000002", "김영희", "33334444");
        const qint64 gym = addPeriod(db, "00000001", addProgram(db, "헬스"), "2024-05-01", "2024-05-20");
        const qint64 swim = addTimePass(db, "00000002", addProgram(db, "수영 자유", "2"), 600, 90);
        const qint64 towel = addItem(db, "T1", "수건", "880001");
        const qint64 key = addItem(db, "K1", "락커키", "880002");
        addVisit(db, "00000001", gym, "2024-05-09", "07:00");
        const qint64 a = addVisit(db, "00000001", gym, "2024-05-10", "07:10");
        db.exec("INSERT INTO ItemTrs (Entid, ItId) VALUES (?, ?), (?, ?)", {a, towel, a, key});
        const qint64 b = addVisit(db, "00000002", swim, "2024-05-10", "08:00", "09:30", 90, "2");
        const qint64 c = addVisit(db, "00000002", swim, "2024-05-10", "10:00", {}, 0, "2");

        const auto history = visitHistoryLines(db, loadMemberVisitPage(db, "00000001").visits);
        QCOMPARE(history.size(), 3); // two lines for the visit with two items
        QCOMPARE(history.at(0).entid, a);
        QCOMPARE(history.at(0).cells,
                 QStringList({"2024-05-10", "헬스", "07:10", "", "", "880001", "교구", "기본분류", "수건", ""}));
        QCOMPARE(history.at(1).cells.at(8), QStringLiteral("락커키"));
        const auto swimHistory = visitHistoryLines(db, loadMemberVisitPage(db, "00000002").visits);
        QCOMPARE(swimHistory.at(1).cells.at(4), QStringLiteral("1시간 30분"));
        QCOMPARE(swimHistory.at(1).cells.at(9), QStringLiteral("8시간 30분"));

        const auto day = loadDayList(db, "2024-05-10", false, QDate(2024, 5, 10));
        QCOMPARE(day.size(), 3);
        QCOMPARE(day.at(0).entid, c); // latest entry first
        QCOMPARE(day.at(2).entid, a);
        QCOMPARE(day.at(2).cells,
                 QStringList({"2024-05-10", "07:10", "", "00000001", "홍길동", "남", "34", "홍판서", "02-555-1234",
                              "헬스", "수건,락커키", "", "10일", "", ""}));
        QCOMPARE(day.at(1).cells.at(DlUsed), QStringLiteral("1시간 30분"));
        QCOMPARE(day.at(1).cells.at(DlRemain), QStringLiteral("8시간 30분"));
        const auto open = loadDayList(db, "2024-05-10", true, QDate(2024, 5, 10));
        QCOMPARE(open.size(), 2);
        QVERIFY(std::none_of(open.begin(), open.end(), [b](const DayListLine &l) { return l.entid == b; }));

        // The line the screen adds after a check-in is the line a reload
        // shows, in the place a reload puts it.
        const qint64 d = addVisit(db, "00000001", gym, "2024-05-10", "10:00");
        const auto reloaded = loadDayList(db, "2024-05-10", false, QDate(2024, 5, 10));
        QCOMPARE(reloaded.size(), 4);
        for (qsizetype i = 0; i < reloaded.size(); ++i) {
            const auto one = loadDayListLine(db, reloaded.at(i).entid, QDate(2024, 5, 10));
            QVERIFY(one);
            QCOMPARE(one->cells, reloaded.at(i).cells);
            QCOMPARE(one->open, reloaded.at(i).open);
            if (i + 1 < reloaded.size())
                QVERIFY(dayListBefore(reloaded.at(i).cells.at(DlIn), reloaded.at(i).entid,
                                      reloaded.at(i + 1).cells.at(DlIn), reloaded.at(i + 1).entid));
        }
        QCOMPARE(reloaded.at(1).entid, d); // same entry time as c, written after it
        QVERIFY(!dayListBefore("10:00", d, "10:00", c));
        QVERIFY(!loadDayListLine(db, d + 1000, QDate(2024, 5, 10)));
    }

    void busyDayList()
    {
        TestInstall inst;
        const Db &db = inst.ctx().ent;
        const qint64 pgid = addProgram(db, "헬스");
        ensureDefaultCatalogue(inst.ctx());
        const qint64 towel = addItem(inst.db(), "T1", "수건", "880001");
        db.transaction([&] {
            for (int i = 0; i < 2000; ++i) {
                const QString code = QStringLiteral("%1").arg(i + 1, 8, 10, QLatin1Char('0'));
                addMember(db, code, QStringLiteral("회원%1").arg(i), code);
                const qint64 ltid = addPeriod(db, code, pgid, "2024-05-01", "2024-07-31");
                const qint64 e = addVisit(db, code, ltid, "2024-05-10",
                                          QTime(6, 0).addSecs(i * 25).toString("hh:mm"));
                if (i % 4 == 0)
                    db.exec("INSERT INTO ItemTrs (Entid, ItId) VALUES (?, ?)", {e, towel});
            }
        });
        const auto day = loadDayList(db, "2024-05-10", false, QDate(2024, 5, 10));
        QCOMPARE(day.size(), 2000);
        // Every fourth visit lent a towel; each line carries its own items.
        const auto lent = std::count_if(day.begin(), day.end(),
                                        [](const DayListLine &l) { return !l.cells.at(DlItems).isEmpty(); });
        QCOMPARE(lent, 500);
    }

    void equipmentLookups()
    {
        TestInstall inst;
        const Db &db = inst.db();
        ensureDefaultCatalogue(inst.ctx());
        const qint64 towel = addItem(db, "T1", "수건", "880001");
        const auto byCode = findItemByBarcode(db, " 880001 ");
        QVERIFY(byCode);
        QCOMPARE(*byCode, (GateItem{towel, "교구", "기본분류", "수건", "880001"}));
        QCOMPARE(findItemById(db, towel), byCode);
        QVERIFY(!findItemByBarcode(db, "999"));
        QVERIFY(!findItemByBarcode(db, ""));
        QVERIFY(!findItemById(db, towel + 100));

        // The pick list: name contains the text (typed literally), or the bar code is it.
        addItem(db, "K1", "락커키", "880002");
        addItem(db, "T2", "수건 100%", "880003");
        auto names = [&](const QString &text) {
            QStringList l;
            for (const GateItem &i : searchItems(db, text))
                l << i.name;
            return l;
        };
        QCOMPARE(names(""), QStringList({"락커키", "수건", "수건 100%"}));
        QCOMPARE(names(" 수건 "), QStringList({"수건", "수건 100%"}));
        QCOMPARE(names("100%"), QStringList({"수건 100%"}));
        QCOMPARE(names("880002"), QStringList({"락커키"}));
        QCOMPARE(names("8800"), QStringList());
        QCOMPARE(names("' OR ''='"), QStringList());
        QCOMPARE(searchItems(db, "락커").first().className, QStringLiteral("교구"));
    }

    void masterCard()
    {
        TestInstall inst;
        const Db &db = inst.db();
        addMember(db, "00000001", "홍길동", "11112222");
        db.exec("UPDATE Member SET Area = '0101' WHERE MbCode = '00000001'");
        QVERIFY(!isMasterCard(db, "00000001"));
        QVERIFY(setMasterCard(db, "00000001", true));
        QCOMPARE(db.scalar("SELECT Area FROM Member WHERE MbCode = '00000001'").toString(), QStringLiteral("999"));
        QVERIFY(isMasterCard(db, "00000001"));
        QVERIFY(setMasterCard(db, "00000001", false));
        QCOMPARE(db.scalar("SELECT Area FROM Member WHERE MbCode = '00000001'").toString(), QString());
        QVERIFY(!setMasterCard(db, "00000009", true));
        QVERIFY(!setMasterCard(db, "", true));
    }

    void cardReaderLines()
    {
        SerialCardReader reader;
        QSignalSpy spy(&reader, &SerialCardReader::cardRead);
        reader.feed("1234");
        QCOMPARE(spy.size(), 0);
        reader.feed("5678\r\n87654321\r");
        reader.feed("\n\n 555 \n");
        QCOMPARE(spy.size(), 3);
        QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("12345678"));
        QCOMPARE(spy.at(1).at(0).toString(), QStringLiteral("87654321"));
        QCOMPARE(spy.at(2).at(0).toString(), QStringLiteral("555"));
    }
};

#include "tst_gatelists.moc"
QTEST_GUILESS_MAIN(TstGateLists)
