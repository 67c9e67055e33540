// FITROVA_DB_TEST
// Renting lockers on the core: end dates, the rows a rental writes, the
// refusals that write nothing, renewal from today, a move that carries the
// period and no money, cancellation and release with the deposit, the
// proposed refund over a member's history, the correction that follows a
// moved rental, a failure between the two writes leaving nothing, and two
// desks renting (or moving onto) the same locker at the same moment.

#include <QtTest>

#include "closing/shift.h"
#include "lockerbuilders.h"
#include "lockers/lockertexts.h"
#include "testinstall.h"

#include <QMutex>

#include <latch>
#include <thread>

using namespace fitrova;
using namespace fitrova::test;

namespace {
const QString A = QStringLiteral("00000001"), B = QStringLiteral("00000002"), C = QStringLiteral("00000003"),
              D = QStringLiteral("00000004");
}

class TstLockerRental : public QObject {
    Q_OBJECT
private:
    TestInstall m_inst;
    const Db &db() { return m_inst.db(); }
    AppContext &ctx() { return m_inst.ctx(); }

    RentalInput rental(const QString &mb, qint64 num, const QString &start = QStringLiteral("2024-05-10"),
                       int months = 1, const QString &code = QStringLiteral("1"))
    {
        return RentalInput{mb, {code, num}, QStringLiteral("2024-05-10"), start, rentalEndDate(start, months),
                           months, 10000, 5000};
    }
    qint64 rent(const QString &mb, qint64 num, const QString &start = QStringLiteral("2024-05-10"), int months = 1)
    {
        const Outcome o = rentLocker(ctx(), rental(mb, num, start, months));
        if (!o.saved)
            qFatal("rental refused: %s", qPrintable(o.last().text));
        return o.id;
    }
    Row lockerRow(qint64 num, const QString &code = QStringLiteral("1"))
    {
        return *db().queryOne(QStringLiteral("SELECT * FROM PerBoxS WHERE BoxCode = ? AND BoxNum = ?"), {code, num});
    }
    Row requestRow(qint64 rqid) { return *db().queryOne(QStringLiteral("SELECT * FROM RqPerBox WHERE Rqid = ?"), {rqid}); }
    static void expectRow(const Row &r, const QList<QPair<const char *, QVariant>> &expect)
    {
        for (const auto &[col, v] : expect)
            QVERIFY2(r.str(QString::fromLatin1(col)) == v.toString(),
                     qPrintable(QStringLiteral("%1: %2 != %3").arg(QLatin1String(col), r.str(QString::fromLatin1(col)), v.toString())));
    }

private slots:
    void init()
    {
        m_inst.clock().set(QDateTime(QDate(2024, 5, 10), QTime(9, 30, 15)));
        clearLockers(db());
        addLockerGroup(db(), QStringLiteral("1"), QStringLiteral("남자탈의실"), 10000, 5000, 1, 20);
        for (const auto &[code, name] : {std::pair{A, "김민지"}, {B, "이서준"}, {C, "박하은"}, {D, "최도윤"}})
            addLockerMember(db(), code, QString::fromUtf8(name));
    }

    // Money taken for a locker opens the clerk's shift when none is open; a
    // move, which takes none, opens nothing.
    void moneyOpensTheShift()
    {
        db().exec(QStringLiteral("DELETE FROM Finish"));
        const QString me = ctx().user.psCode;
        rent(A, 1);
        const auto shift = openShiftOf(db(), me);
        QVERIFY(shift);
        QCOMPARE(shift->sDate1, QString("2024-05-10"));
        QCOMPARE(shift->time1, QString("09:30:15"));
        db().exec(QStringLiteral("UPDATE Finish SET FnChk = '1'"));
        QVERIFY(moveLocker(ctx(), {A, {QStringLiteral("1"), 1}, {QStringLiteral("1"), 2}, QStringLiteral("2024-05-10")}).saved);
        QVERIFY(!openShiftOf(db(), me));
        QCOMPARE(db().scalar(QStringLiteral("SELECT COUNT(*) FROM Finish")).toInt(), 1);
    }

    void endDates_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("months");
        QTest::addColumn<QString>("end");
        QTest::newRow("one month") << "2024-03-15" << 1 << "2024-04-14";
        QTest::newRow("three months over the year end") << "2024-11-01" << 3 << "2025-01-31";
        QTest::newRow("into a shorter month") << "2024-01-31" << 1 << "2024-02-29";
        QTest::newRow("a year") << "2024-05-10" << 12 << "2025-05-09";
    }
    void endDates()
    {
        QFETCH(QString, start);
        QFETCH(int, months);
        QFETCH(QString, end);
        QCOMPARE(rentalEndDate(start, months), end);
    }

    void rentalWritesLockerAndHistory()
    {
        const Outcome o = rentLocker(ctx(), rental(A, 5, QStringLiteral("2024-05-10"), 3));
        QVERIFY(o.saved);
        QCOMPARE(o.last().text, QString("사물함 신청작업이 완료되었습니다."));
        expectRow(lockerRow(5), {{"UUse", "1"}, {"MbCode", A}, {"MonCnt", 3}, {"StDate", "2024-05-10"},
                                 {"EndDate", "2024-08-09"}, {"LastUser", "0001"}, {"LastDate", "2024-05-10"},
                                 {"LastTime", "09:30:15"}, {"State", "0"}});
        expectRow(requestRow(o.id), {{"RqDate", "2024-05-10"}, {"MbCode", A}, {"BoxCode", "1"}, {"BoxNum", "5"},
                                     {"RqBox", 5}, {"RqGubun", "1"}, {"UseDate1", "2024-05-10"},
                                     {"UseDate2", "2024-08-09"}, {"MonCnt", 3}, {"Samt", 10000}, {"Uamt", 5000},
                                     {"Ramt", 0}, {"LastUser", "0001"}, {"LastDate", "2024-05-10"},
                                     {"LastTime", "09:30:15"}});
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM RqPerBox").toInt(), 1);

        // The member card's follow-up screens find it with its row.
        const auto rentals = memberRentals(db(), A);
        QCOMPARE(rentals.size(), 1);
        QCOMPARE(rentals[0].locker, (LockerKey{"1", 5}));
        QCOMPARE(rentals[0].rqid, o.id);
        QCOMPARE(rentals[0].deposit, 10000);
        QCOMPARE(rentals[0].boxName, QString("남자탈의실"));
    }

    // A group whose code has two digits is recorded with its own code.
    void groupCodesPastNine()
    {
        addLockerGroup(db(), QStringLiteral("10"), QStringLiteral("헬스 개인사물함"), 20000, 10000, 1, 3);
        const Outcome o = rentLocker(ctx(), rental(A, 2, QStringLiteral("2024-05-10"), 1, QStringLiteral("10")));
        QVERIFY(o.saved);
        QCOMPARE(requestRow(o.id).str("BoxCode"), QString("10"));
        QCOMPARE(lockerRow(2, QStringLiteral("10")).str("MbCode"), A);
        QCOMPARE(lockerRow(2).str("UUse"), QString("0"));
    }

    void refusalsWriteNothing_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("mbCode");
        QTest::addColumn<qint64>("num");
        QTest::addColumn<QString>("rqDate");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        const QString ok = QStringLiteral("2024-05-10"), end = QStringLiteral("2024-06-09");
        QTest::newRow("rented to another") << "B has 3" << A << qint64(3) << ok << ok << end
                                           << "이미 사용중인 사물함입니다." << "사용불가";
        QTest::newRow("already the member's") << "A has 3" << A << qint64(3) << ok << ok << end
                                              << "00000001번 회원님은 이미 사물함을 사용 하고있습니다." << "사용불가";
        QTest::newRow("out of service") << "3 out of service" << A << qint64(3) << ok << ok << end
                                        << "이미 사용중인 사물함입니다." << "사용불가";
        QTest::newRow("no such locker") << "" << A << qint64(99) << ok << ok << end
                                        << "해당 사물함을 찾을수 없습니다." << "사용불가";
        QTest::newRow("unknown member") << "" << "00000099" << qint64(3) << ok << ok << end
                                        << "해당회원을 찾을수 없읍니다." << "회원찾기";
        QTest::newRow("no request date") << "" << A << qint64(3) << "" << ok << end
                                         << "신청일자를 확인하여 주십시요." << "신청일자";
        QTest::newRow("no start") << "" << A << qint64(3) << ok << "" << end
                                  << "사용일자를 확인하여 주십시요." << "사용일자";
        QTest::newRow("end before start") << "" << A << qint64(3) << ok << ok << "2024-05-09"
                                          << "사용일자를 확인하여 주십시요." << "사용일자";
        QTest::newRow("no locker chosen") << "" << A << qint64(0) << ok << ok << end
                                          << "사물함을 선택하여 주십시요." << "사물함선택";
    }
    void refusalsWriteNothing()
    {
        QFETCH(QString, setup);
        QFETCH(QString, mbCode);
        QFETCH(qint64, num);
        QFETCH(QString, rqDate);
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(QString, text);
        QFETCH(QString, title);
        if (setup == QLatin1String("B has 3"))
            rent(B, 3);
        else if (setup == QLatin1String("A has 3"))
            rent(A, 3);
        else if (setup == QLatin1String("3 out of service"))
            QVERIFY(setLockerInUse(ctx(), QStringLiteral("1"), 3, true).saved);
        const QStringList before = lockerTables(db());
        const Outcome o = rentLocker(ctx(), RentalInput{mbCode, {"1", num}, rqDate, start, end, 1, 10000, 5000});
        QVERIFY(!o.saved);
        QCOMPARE(o.last().text, text);
        QCOMPARE(o.last().title, title);
        QCOMPARE(lockerTables(db()), before);
    }

    void renewalStartsToday()
    {
        rent(A, 4, QStringLiteral("2024-03-01"));
        const auto rentals = memberRentals(db(), A);
        QCOMPARE(rentals.size(), 1);
        const RentalInput d = renewalDefaults(db(), rentals[0], QDate(2024, 5, 10));
        // Today, not the day after the old end (2024-03-31).
        QCOMPARE(d.startDate, QString("2024-05-10"));
        QCOMPARE(d.endDate, QString("2024-06-09"));
        QCOMPARE(d.months, 1);
        QCOMPARE(d.deposit, 0);
        QCOMPARE(d.fee, 5000);

        const Outcome o = renewLocker(ctx(), d);
        QVERIFY(o.saved);
        QCOMPARE(o.last().text, QString("사물함 사용기간 연장이 완료되었습니다."));
        expectRow(lockerRow(4), {{"UUse", "1"}, {"MbCode", A}, {"StDate", "2024-05-10"}, {"EndDate", "2024-06-09"},
                                 {"MonCnt", 1}});
        expectRow(requestRow(o.id), {{"RqGubun", "3"}, {"MbCode", A}, {"UseDate1", "2024-05-10"},
                                     {"UseDate2", "2024-06-09"}, {"Samt", 0}, {"Uamt", 5000}, {"Ramt", 0}});
        // The current rental is now the renewal's.
        QCOMPARE(memberRentals(db(), A)[0].rqid, o.id);

        // Another member's locker is not renewed.
        RentalInput other = d;
        other.mbCode = B;
        const QStringList before = lockerTables(db());
        const Outcome refused = renewLocker(ctx(), other);
        QCOMPARE(refused.last().text, QString("해당 회원이 사용중인 사물함이 아닙니다."));
        QCOMPARE(lockerTables(db()), before);
    }

    void moveCarriesThePeriodAndNoMoney()
    {
        rent(A, 1, QStringLiteral("2024-05-01"), 3);
        rent(B, 7);
        const Outcome o = moveLocker(ctx(), MoveInput{A, {"1", 1}, {"1", 2}, QStringLiteral("2024-05-10")});
        QVERIFY(o.saved);
        QCOMPARE(o.last().text, QString("사물함 변경작업이 완료되었습니다."));
        expectRow(lockerRow(1), {{"UUse", "0"}, {"MbCode", ""}, {"StDate", ""}, {"EndDate", ""}, {"MonCnt", 0}});
        expectRow(lockerRow(2), {{"UUse", "1"}, {"MbCode", A}, {"StDate", "2024-05-01"}, {"EndDate", "2024-07-31"},
                                 {"MonCnt", 3}});
        expectRow(requestRow(o.id), {{"RqGubun", "2"}, {"BoxNum", "2"}, {"RqBox", 2}, {"UseDate1", "2024-05-01"},
                                     {"UseDate2", "2024-07-31"}, {"MonCnt", 3}, {"Samt", 0}, {"Uamt", 0}, {"Ramt", 0}});
        // The deposit and fee shown are still those of the rental.
        const auto r = memberRentals(db(), A);
        QCOMPARE(r.size(), 1);
        QCOMPARE(r[0].locker.boxNum, 2);
        QCOMPARE(r[0].deposit, 10000);

        const QStringList before = lockerTables(db());
        const Outcome taken = moveLocker(ctx(), MoveInput{A, {"1", 2}, {"1", 7}, QStringLiteral("2024-05-10")});
        QCOMPARE(taken.last().text, QString("이미 사용중인 사물함입니다."));
        QCOMPARE(taken.last().title, QString("변경불가"));
        const Outcome same = moveLocker(ctx(), MoveInput{A, {"1", 2}, {"1", 2}, QStringLiteral("2024-05-10")});
        QVERIFY(!same.saved);
        const Outcome notHers = moveLocker(ctx(), MoveInput{A, {"1", 7}, {"1", 9}, QStringLiteral("2024-05-10")});
        QCOMPARE(notHers.last().text, QString("해당 회원이 사용중인 사물함이 아닙니다."));
        QCOMPARE(lockerTables(db()), before);
    }

    void cancellationRecordsTheRefund()
    {
        rent(A, 6, QStringLiteral("2024-05-01"));
        QCOMPARE(proposedRefund(db(), A), 10000);
        const Outcome o = cancelLocker(ctx(), CancelInput{A, {"1", 6}, QStringLiteral("2024-05-10"), 10000});
        QVERIFY(o.saved);
        QCOMPARE(o.last().text, QString("사물함 사용이 취소 되었습니다."));
        expectRow(requestRow(o.id), {{"RqGubun", "4"}, {"MbCode", A}, {"RqBox", 6}, {"UseDate1", "2024-05-01"},
                                     {"UseDate2", "2024-05-31"}, {"MonCnt", 1}, {"Samt", 0}, {"Uamt", 0},
                                     {"Ramt", 10000}});
        expectRow(lockerRow(6), {{"UUse", "0"}, {"MbCode", ""}, {"StDate", ""}, {"EndDate", ""}, {"MonCnt", 0}});
        QCOMPARE(proposedRefund(db(), A), 0);
        // "빈사물함 보기" lists it again.
        bool listed = false;
        for (const RentalGridLine &l : rentalGridLines(db(), QStringLiteral("1"), true))
            listed = listed || l.boxNum == 6;
        QVERIFY(listed);
        QVERIFY(memberRentals(db(), A).isEmpty());
    }

    void refundProposal_data()
    {
        QTest::addColumn<QList<qint64>>("deposits");
        QTest::addColumn<QList<qint64>>("refunds");
        QTest::addColumn<qint64>("offered");
        QTest::newRow("two deposits, one refunded") << QList<qint64>{10000, 10000} << QList<qint64>{10000} << qint64(10000);
        QTest::newRow("nothing") << QList<qint64>{} << QList<qint64>{} << qint64(0);
        QTest::newRow("refunded more than paid") << QList<qint64>{10000} << QList<qint64>{15000} << qint64(0);
        QTest::newRow("renewals without deposit") << QList<qint64>{20000, 0, 0} << QList<qint64>{} << qint64(20000);
    }
    void refundProposal()
    {
        QFETCH(QList<qint64>, deposits);
        QFETCH(QList<qint64>, refunds);
        QFETCH(qint64, offered);
        for (qint64 d : deposits)
            db().exec("INSERT INTO RqPerBox (RqDate, MbCode, BoxCode, RqGubun, Samt, Uamt, Ramt) "
                      "VALUES ('2024-01-01', ?, '1', '1', ?, 5000, 0)",
                      {A, d});
        for (qint64 r : refunds)
            db().exec("INSERT INTO RqPerBox (RqDate, MbCode, BoxCode, RqGubun, Samt, Uamt, Ramt) "
                      "VALUES ('2024-02-01', ?, '1', '4', 0, 0, ?)",
                      {A, r});
        // Another member's rows do not count.
        db().exec("INSERT INTO RqPerBox (RqDate, MbCode, BoxCode, RqGubun, Samt, Uamt, Ramt) "
                  "VALUES ('2024-01-01', ?, '1', '1', 30000, 0, 0)",
                  {B});
        QCOMPARE(proposedRefund(db(), A), offered);
    }

    void releaseOnTheBoard()
    {
        rent(A, 8, QStringLiteral("2024-03-01"));
        m_inst.clock().set(QDateTime(QDate(2024, 5, 20), QTime(18, 5, 0)));
        const Outcome o = releaseLocker(ctx(), {"1", 8}, 10000);
        QVERIFY(o.saved);
        expectRow(requestRow(o.id), {{"RqGubun", "5"}, {"RqDate", "2024-05-20"}, {"MbCode", A}, {"RqBox", 8},
                                     {"UseDate1", "2024-03-01"}, {"UseDate2", "2024-03-31"}, {"Samt", 0},
                                     {"Uamt", 0}, {"Ramt", 10000}, {"LastTime", "18:05:00"}});
        expectRow(lockerRow(8), {{"UUse", "0"}, {"MbCode", ""}, {"StDate", ""}, {"EndDate", ""}});
        const Outcome again = releaseLocker(ctx(), {"1", 8}, 0);
        QVERIFY(!again.saved);
        QCOMPARE(again.last().text, QString("사물함 사용이 이미 해지되었습니다."));
        QCOMPARE(again.last().title, QString("사물함해지"));
    }

    void correctionFollowsAMovedRental()
    {
        const qint64 rq = rent(A, 1, QStringLiteral("2024-05-01"), 1);
        QVERIFY(moveLocker(ctx(), MoveInput{A, {"1", 1}, {"1", 3}, QStringLiteral("2024-05-05")}).saved);
        rent(B, 1, QStringLiteral("2024-05-06")); // the old locker has a new renter
        const auto row = findLockerRequest(db(), rq);
        QVERIFY(row);
        QCOMPARE(correctionCaption(row->rqGubun), QString(" 사물함 신청(수정) "));

        const Outcome o = correctLockerRequest(
            ctx(), CorrectionInput{rq, QStringLiteral("2024-05-02"), QStringLiteral("2024-05-02"),
                                   QStringLiteral("2024-08-01"), 3, 12000, 15000});
        QVERIFY(o.saved);
        QCOMPARE(o.last().text, QString("사물함 자료를 수정하였읍니다.."));
        expectRow(requestRow(rq), {{"RqDate", "2024-05-02"}, {"UseDate1", "2024-05-02"}, {"UseDate2", "2024-08-01"},
                                   {"MonCnt", 3}, {"Samt", 12000}, {"Uamt", 15000}, {"RqGubun", "1"}});
        // The locker the rental moved to takes the new period; the old one,
        // rented to B now, is left alone.
        expectRow(lockerRow(3), {{"MbCode", A}, {"StDate", "2024-05-02"}, {"EndDate", "2024-08-01"}, {"MonCnt", 3}});
        expectRow(lockerRow(1), {{"MbCode", B}, {"StDate", "2024-05-06"}, {"EndDate", "2024-06-05"}});
        const auto r = memberRentals(db(), A);
        QCOMPARE(r[0].rqid, rq);
        QCOMPARE(r[0].deposit, 12000);

        // Only rentals and renewals are corrected.
        const Outcome cancel = cancelLocker(ctx(), CancelInput{B, {"1", 1}, QStringLiteral("2024-05-10"), 0});
        const Outcome refused = correctLockerRequest(
            ctx(), CorrectionInput{cancel.id, QStringLiteral("2024-05-10"), QStringLiteral("2024-05-06"),
                                   QStringLiteral("2024-06-05"), 1, 0, 0});
        QCOMPARE(refused.last().text, QString("신청 또는 재등록 내역만 수정할수 있습니다."));
    }

    // A failure of the second write undoes the first: no rented locker
    // without its history, no history without its locker.
    void failureBetweenTheWritesLeavesNothing_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("event");
        QTest::addColumn<QString>("table");
        QTest::newRow("rental") << "rent" << "INSERT" << "RqPerBox";
        QTest::newRow("renewal") << "renew" << "INSERT" << "RqPerBox";
        QTest::newRow("move") << "move" << "INSERT" << "RqPerBox";
        QTest::newRow("cancellation") << "cancel" << "INSERT" << "RqPerBox";
        QTest::newRow("release") << "release" << "INSERT" << "RqPerBox";
        QTest::newRow("correction") << "correct" << "UPDATE" << "PerBoxS";
    }
    void failureBetweenTheWritesLeavesNothing()
    {
        QFETCH(QString, action);
        QFETCH(QString, event);
        QFETCH(QString, table);
        const qint64 rq = rent(A, 1, QStringLiteral("2024-05-01"));
        const QStringList before = lockerTables(db());
        failOn(db(), event, table);
        const auto run = [&] {
            if (action == QLatin1String("rent"))
                return rentLocker(ctx(), rental(B, 2));
            if (action == QLatin1String("renew"))
                return renewLocker(ctx(), rental(A, 1, QStringLiteral("2024-05-10")));
            if (action == QLatin1String("move"))
                return moveLocker(ctx(), MoveInput{A, {"1", 1}, {"1", 2}, QStringLiteral("2024-05-10")});
            if (action == QLatin1String("cancel"))
                return cancelLocker(ctx(), CancelInput{A, {"1", 1}, QStringLiteral("2024-05-10"), 10000});
            if (action == QLatin1String("release"))
                return releaseLocker(ctx(), {"1", 1}, 0);
            return correctLockerRequest(ctx(), CorrectionInput{rq, QStringLiteral("2024-05-01"),
                                                               QStringLiteral("2024-05-01"),
                                                               QStringLiteral("2024-07-31"), 3, 10000, 5000});
        };
        bool failed = false;
        try {
            run();
        } catch (const DbError &) {
            failed = true;
        }
        stopFailing(db(), table);
        QVERIFY(failed);
        QCOMPARE(lockerTables(db()), before);
        QCOMPARE(db().transactionDepth(), 0);
    }

    // Several desks press 저장 on the same free locker at the same moment.
    void concurrentRentalHasOneWinner()
    {
        const QStringList members{A, B, C, D};
        for (qint64 locker : {11, 12, 13}) {
            std::latch ready(members.size());
            std::vector<Outcome> results(size_t(members.size()));
            QStringList errors;
            QMutex errorMutex;
            std::vector<std::thread> desks;
            for (int i = 0; i < members.size(); ++i) {
                desks.emplace_back([&, i] {
                    try {
                        auto desk = m_inst.openWorkstation(QStringLiteral("DESK%1").arg(i + 2));
                        RentalInput in = rental(members[i], locker);
                        ready.arrive_and_wait();
                        results[size_t(i)] = rentLocker(*desk, in);
                    } catch (const std::exception &e) {
                        QMutexLocker lock(&errorMutex);
                        errors << QString::fromUtf8(e.what());
                    }
                });
            }
            for (std::thread &t : desks)
                t.join();
            QVERIFY2(errors.isEmpty(), qPrintable(errors.join('\n')));
            int won = 0;
            QString winner;
            for (int i = 0; i < members.size(); ++i) {
                if (results[size_t(i)].saved) {
                    ++won;
                    winner = members[i];
                } else {
                    QCOMPARE(results[size_t(i)].last().text, QString("이미 사용중인 사물함입니다."));
                }
            }
            QCOMPARE(won, 1);
            QCOMPARE(lockerRow(locker).str("MbCode"), winner);
            QCOMPARE(db().scalar("SELECT COUNT(*) FROM RqPerBox WHERE RqBox = ?", {locker}).toInt(), 1);
            QCOMPARE(db().scalar("SELECT MbCode FROM RqPerBox WHERE RqBox = ?", {locker}).toString(), winner);
        }
    }

    // Two members move onto the same free locker at once: one moves, the
    // other keeps the locker they had.
    void concurrentMoveOntoOneLocker()
    {
        rent(A, 1);
        rent(B, 2);
        std::latch ready(2);
        Outcome results[2];
        std::vector<std::thread> desks;
        const QString who[2] = {A, B};
        const qint64 from[2] = {1, 2};
        for (int i = 0; i < 2; ++i) {
            desks.emplace_back([&, i] {
                auto desk = m_inst.openWorkstation(QStringLiteral("DESK%1").arg(i + 2));
                ready.arrive_and_wait();
                results[i] = moveLocker(*desk, MoveInput{who[i], {"1", from[i]}, {"1", 15}, QStringLiteral("2024-05-10")});
            });
        }
        for (std::thread &t : desks)
            t.join();
        QCOMPARE(int(results[0].saved) + int(results[1].saved), 1);
        const int loser = results[0].saved ? 1 : 0;
        QCOMPARE(results[loser].last().text, QString("이미 사용중인 사물함입니다."));
        QCOMPARE(lockerRow(15).str("MbCode"), who[1 - loser]);
        QCOMPARE(lockerRow(from[loser]).str("MbCode"), who[loser]);
        QCOMPARE(lockerRow(from[1 - loser]).str("UUse"), QString("0"));
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM RqPerBox WHERE RqGubun = '2'").toInt(), 1);
    }
};

QTEST_GUILESS_MAIN(TstLockerRental)
#include "tst_lockerrental.moc"
