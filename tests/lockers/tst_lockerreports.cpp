// FITROVA_DB_TEST
// The locker lists on the core: which transactions each report lists, the
// totals and subtotals of 전체현황, groups with two-digit codes, the rental
// status filters (expired before a date, more than N days ago), the board's
// tiles and counts, and a locker's history with its renter.

#include <QtTest>

#include "lockerbuilders.h"
#include "lockers/lockerboard.h"
#include "lockers/lockerreports.h"
#include "lockers/lockertexts.h"
#include "demo/lockergen.h"
#include "testinstall.h"

using namespace fitrova;
using namespace fitrova::test;

namespace {
const QString A = QStringLiteral("00000001"), B = QStringLiteral("00000002"), C = QStringLiteral("00000003");

QStringList column(const QList<ReportLine> &lines, int col, bool rowsOnly = true)
{
    QStringList out;
    for (const ReportLine &l : lines)
        if (!rowsOnly || l.level == ReportLine::Row)
            out << l.cells.value(col);
    return out;
}
} // namespace

class TstLockerReports : public QObject {
    Q_OBJECT
private:
    TestInstall m_inst;
    const Db &db() { return m_inst.db(); }
    AppContext &ctx() { return m_inst.ctx(); }

    void on(const QDate &d) { m_inst.clock().set(QDateTime(d, QTime(10, 0))); }
    void ok(const Outcome &o)
    {
        if (!o.saved)
            qFatal("refused: %s", qPrintable(o.last().text));
    }
    RentalInput rental(const QString &mb, const QString &code, qint64 num, const QString &day, int months = 1)
    {
        return RentalInput{mb, {code, num}, day, day, rentalEndDate(day, months), months, 10000, 5000};
    }
    QList<ReportLine> report(LockerReportKind kind, const QString &code = {})
    {
        return buildLockerReport(kind, loadLockerReport(db(), kind, {"2024-05-01", "2024-05-31", code}));
    }

    // A month of one desk: A rents, renews, moves and cancels; B rents and
    // is released by the centre; C rents in the group "10".
    void history()
    {
        on(QDate(2024, 5, 2));
        ok(rentLocker(ctx(), rental(A, "2", 1, "2024-05-02")));
        on(QDate(2024, 5, 3));
        ok(rentLocker(ctx(), rental(C, "10", 4, "2024-05-03")));
        ok(rentLocker(ctx(), rental(B, "2", 3, "2024-05-03")));
        on(QDate(2024, 5, 10));
        RentalInput renew = rental(A, "2", 1, "2024-05-10");
        renew.deposit = 0;
        ok(renewLocker(ctx(), renew));
        ok(moveLocker(ctx(), MoveInput{A, {"2", 1}, {"2", 2}, "2024-05-11"}));
        on(QDate(2024, 5, 20));
        ok(cancelLocker(ctx(), CancelInput{A, {"2", 2}, "2024-05-20", 10000}));
        ok(releaseLocker(ctx(), {"2", 3}, 0));
        // Outside the range.
        on(QDate(2024, 6, 2));
        ok(rentLocker(ctx(), rental(B, "2", 5, "2024-06-02")));
    }

private slots:
    void init()
    {
        clearLockers(db());
        addLockerGroup(db(), "2", "여자탈의실", 10000, 5000, 1, 10);
        addLockerGroup(db(), "10", "헬스 개인사물함", 20000, 10000, 1, 10);
        addLockerMember(db(), A, "김민지", "01012345678", "850315", "2234567");
        addLockerMember(db(), B, "이서준", "0212345678");
        addLockerMember(db(), C, "박하은");
    }

    void whichReportListsWhat_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("kinds");
        QTest::addColumn<QStringList>("members");
        // Rentals by group (2 before 10), date, number.
        QTest::newRow("신청현황") << int(LockerReportKind::Rentals) << QStringList{"신규", "신규", "신규"}
                                << QStringList{A, B, C};
        QTest::newRow("재등록현황") << int(LockerReportKind::Renewals) << QStringList{"재등록"} << QStringList{A};
        QTest::newRow("취소현황") << int(LockerReportKind::Cancellations) << QStringList{"취소"} << QStringList{A};
        // Every kind but the move, kind by kind.
        QTest::newRow("전체현황") << int(LockerReportKind::All)
                              << QStringList{"신규", "신규", "신규", "재등록", "취소", "관취"}
                              << QStringList{A, B, C, A, A, B};
    }
    void whichReportListsWhat()
    {
        QFETCH(int, kind);
        QFETCH(QStringList, kinds);
        QFETCH(QStringList, members);
        history();
        const QList<ReportLine> lines = report(LockerReportKind(kind));
        QCOMPARE(column(lines, 3), kinds);
        QCOMPARE(column(lines, 5), members);
    }

    void totalsOfEverything()
    {
        history();
        const QList<ReportLine> lines = report(LockerReportKind::All);
        // 사물함, 번호, 사용기간, 구분, 신청일자, 회원코드, 회원명, 보증금, 사용료, 환불금, 합계, …
        QCOMPARE(lockerReportHeaders(LockerReportKind::All).mid(7, 4),
                 QStringList({"보증금", "사용료", "환불금", "합계"}));
        QStringList labels;
        for (const ReportLine &l : lines)
            if (l.level != ReportLine::Row)
                labels << l.cells[0] + "/" + l.cells[2] + "/" + l.cells[7] + "/" + l.cells[8] + "/" + l.cells[9] + "/"
                        + l.cells[10];
        QCOMPARE(labels, QStringList({"[ 신규계 ]/3 건/30,000/15,000/0/45,000",
                                      "[재등록계]/1 건/0/5,000/0/5,000",
                                      "[ 취소계 ]/1 건/0/0/10,000/10,000",
                                      "[ 관취계 ]/1 건/0/0/0/0",
                                      "[전체합계]/6 건/30,000/20,000/10,000/60,000"}));
        // A cancellation's total is its refund.
        for (const ReportLine &l : lines)
            if (l.level == ReportLine::Row && l.cells[3] == QLatin1String("취소"))
                QCOMPARE(l.cells[10], l.cells[9]);
        QCOMPARE(lines.last().level, ReportLine::Total);
    }

    void rentalReportLine()
    {
        history();
        const QList<ReportLine> lines = report(LockerReportKind::Rentals);
        QCOMPARE(lines[0].cells, QStringList({"여자탈의실", "1", "2024-05-02 ~ 2024-06-01(1)", "신규", "2024-05-02", A,
                                              "김민지", "10,000", "5,000", "15,000", "850315-2******", "010-1234-5678",
                                              ""}));
        QCOMPARE(lines.last().cells.mid(0, 3), QStringList({"[합  계]", "", "3 건"}));
        QCOMPARE(lines.last().cells.mid(7, 3), QStringList({"30,000", "15,000", "45,000"}));
        // One group only.
        QCOMPARE(column(report(LockerReportKind::Rentals, "10"), 5), QStringList{C});
    }

    void rentalStatusFilters_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("use");
        QTest::addColumn<QString>("endedBefore");
        QTest::addColumn<int>("days");
        QTest::addColumn<QStringList>("lockers");
        QTest::newRow("rented, every group") << "" << int(LockerUse::Rented) << "" << -1
                                             << QStringList{"2/1", "2/2", "2/3", "2/4", "10/1"};
        QTest::newRow("free in one group") << "10" << int(LockerUse::Free) << "" << -1
                                           << QStringList{"10/2", "10/3"};
        QTest::newRow("more than 30 days back") << "" << int(LockerUse::All) << "" << 30 << QStringList{"2/1"};
        QTest::newRow("more than 0 days back") << "" << int(LockerUse::All) << "" << 0
                                               << QStringList{"2/1", "2/2", "2/3"};
        QTest::newRow("ended before a date") << "" << int(LockerUse::All) << "2024-05-01" << -1
                                             << QStringList{"2/1", "2/2"};
    }
    void rentalStatusFilters()
    {
        QFETCH(QString, code);
        QFETCH(int, use);
        QFETCH(QString, endedBefore);
        QFETCH(int, days);
        QFETCH(QStringList, lockers);
        db().exec("DELETE FROM PerBoxS");
        const auto put = [&](const QString &c, qint64 n, const QString &mb, const QString &end) {
            db().exec("INSERT INTO PerBoxS (BoxCode, BoxNum, State, UUse, MbCode, StDate, EndDate, MonCnt) "
                      "VALUES (?, ?, '0', ?, ?, ?, ?, 1)",
                      {c, n, mb.isEmpty() ? "0" : "1", mb, end.isEmpty() ? "" : "2024-01-01", end});
        };
        // Today is 2024-05-10: 31, 30 and 1 day(s) back, and to come.
        put("2", 1, A, "2024-04-09");
        put("2", 2, B, "2024-04-10");
        put("2", 3, C, "2024-05-09");
        put("2", 4, A, "2024-06-01");
        put("2", 5, "", "");
        put("10", 1, B, "2024-05-10");
        put("10", 2, "", "");
        put("10", 3, "", "");
        RentalStatusCriteria c;
        c.boxCode = code;
        c.use = LockerUse(use);
        c.endedBefore = endedBefore;
        c.overdueDays = days;
        QStringList got;
        for (const RentalStatusLine &l : loadRentalStatus(db(), c, QDate(2024, 5, 10)))
            got << l.boxCode + "/" + QString::number(l.boxNum);
        QCOMPARE(got, lockers);
    }

    void rentalStatusLine()
    {
        db().exec("INSERT INTO Lecture (MbCode, LTyymm, LtGubun) VALUES (?, '2024-03', '1'), (?, '2024-05', '1')", {A, A});
        ok(rentLocker(ctx(), rental(A, "10", 2, "2024-05-03", 3)));
        RentalStatusCriteria c;
        c.use = LockerUse::Rented;
        const auto lines = loadRentalStatus(db(), c, QDate(2024, 5, 10));
        QCOMPARE(lines.size(), 1);
        QCOMPARE(rentalStatusCells(lines[0]),
                 QStringList({"헬스 개인사물함", "2", "사용", "3", "2024-05-03", "2024-08-02", A, "김민지", "850315-2******",
                              "010-1234-5678", "", "", "2024-05"}));
        QCOMPARE(lockerUseOfItem("2-대여사물함 "), LockerUse::Rented);
        QCOMPARE(lockerUseOfItem("1-빈사물함 "), LockerUse::Free);
        QCOMPARE(lockerUseOfItem("A-전체사물함"), LockerUse::All);
    }

    void tiles_data()
    {
        QTest::addColumn<bool>("rented");
        QTest::addColumn<QString>("end");
        QTest::addColumn<int>("tile");
        QTest::newRow("free") << false << "2024-05-01" << int(LockerTile::Free);
        QTest::newRow("out of service, no end") << true << "" << int(LockerTile::Rented);
        QTest::newRow("ended yesterday") << true << "2024-05-09" << int(LockerTile::Expired);
        QTest::newRow("ends today") << true << "2024-05-10" << int(LockerTile::EndingSoon);
        QTest::newRow("ends in six days") << true << "2024-05-16" << int(LockerTile::EndingSoon);
        QTest::newRow("ends in a week") << true << "2024-05-17" << int(LockerTile::Rented);
    }
    void tiles()
    {
        QFETCH(bool, rented);
        QFETCH(QString, end);
        QFETCH(int, tile);
        QCOMPARE(int(lockerTile(rented, end, QDate(2024, 5, 10))), tile);
    }

    void boardAndHistory()
    {
        history();
        on(QDate(2024, 6, 5));
        const auto all = boardLockers(db(), "2", LockerUse::All, QDate(2024, 6, 5));
        QCOMPARE(all.size(), 10);
        // Locker 5 was rented on 2024-06-02 for a month.
        QCOMPARE(all[4].mbName, QString("이서준"));
        QCOMPARE(all[4].tile, LockerTile::Rented);
        QCOMPARE(boardCounts(all), (BoardCounts{9, 1, 0, 0}));
        QCOMPARE(boardLockers(db(), "2", LockerUse::Free, QDate(2024, 6, 5)).size(), 9);
        QCOMPARE(boardLockers(db(), "2", LockerUse::Rented, QDate(2024, 6, 5)).size(), 1);

        // Locker 2/1: the rental, the renewal (newest first); the move left.
        const auto lines = lockerHistory(db(), {"2", 1});
        QStringList kinds;
        for (const LockerHistoryLine &l : lines)
            kinds << l.cells[0] + " " + l.cells[1];
        QCOMPARE(kinds, QStringList({"재등록 2024-05-10", "신청 2024-05-02"}));
        QCOMPARE(lines[1].cells[4], QString("2024-05-02~2024-06-01"));
        QCOMPARE(lines[1].cells[11], QString("850315-2******"));
        const auto moved = lockerHistory(db(), {"2", 2});
        QCOMPARE(moved.size(), 2);
        QCOMPARE(moved[0].cells[0], QString("취소"));
        QCOMPARE(moved[1].cells[0], QString("변경"));

        const auto card = renterCard(db(), A);
        QVERIFY(card);
        QCOMPARE(card->resident, QString("850315-2******"));
        QCOMPARE(card->tel1, QString("010-1234-5678"));
    }

    // The benchmark centre's lockers hang together as the desk's would: every
    // rented locker has the row that started its period, every locker's last
    // row is the state it is in.
    void benchCentreLockers()
    {
        const QDate today(2025, 6, 2);
        const LockerGenStats st = generateBenchLockers(db(), today, 400, 1, 7);
        QCOMPARE(st.groups, 10);
        QCOMPARE(st.lockers, 2000);
        QCOMPARE(lockerGroups(db()).size(), 10);
        QCOMPARE(lockerGroups(db()).last().code, QString("10"));
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM PerBoxS WHERE BoxCode = '1'").toInt(), 500);
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM PerBoxS WHERE UUse = '1'").toInt(), st.rented);
        QVERIFY(st.rented > 1000 && st.rented < 2000);
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM RqPerBox").toInt(), st.requests);
        for (const char *kind : {"1", "3", "4", "5"})
            QVERIFY2(db().scalar("SELECT COUNT(*) FROM RqPerBox WHERE RqGubun = ?", {QString::fromLatin1(kind)}).toInt() > 0,
                     kind);
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM PerBoxS S WHERE S.UUse = '1' AND NOT EXISTS (SELECT 1 FROM RqPerBox R "
                             "WHERE R.BoxCode = S.BoxCode AND R.RqBox = S.BoxNum AND R.MbCode = S.MbCode "
                             "AND R.UseDate1 = S.StDate AND R.UseDate2 = S.EndDate AND R.RqGubun IN ('1', '3'))")
                     .toInt(),
                 0);
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM PerBoxS S JOIN RqPerBox R ON R.Rqid = (SELECT MAX(H.Rqid) FROM RqPerBox H "
                             "WHERE H.BoxCode = S.BoxCode AND H.RqBox = S.BoxNum) "
                             "WHERE (S.UUse = '1') <> (R.RqGubun IN ('1', '3'))")
                     .toInt(),
                 0);
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM PerBoxS WHERE UUse = '0' AND MbCode <> ''").toInt(), 0);
        const BoardCounts c = boardCounts(boardLockers(db(), "1", LockerUse::All, today));
        QVERIFY(c.endingSoon > 0);
        QVERIFY(c.expired > 0);
    }
};

QTEST_GUILESS_MAIN(TstLockerReports)
#include "tst_lockerreports.moc"
