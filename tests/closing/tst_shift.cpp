// FITROVA_DB_TEST
// Shifts: the closing window's conditions, the business day, where a shift
// starts and its number, the float brought forward, what a shift recorded,
// and the blind count that closes it.

#include <QtTest>

#include "closing/closingsettings.h"
#include "closing/closingwindow.h"
#include "closing/shift.h"
#include "takingsbuilders.h"
#include "testinstall.h"

#include <QSet>

using namespace fitrova;
using namespace fitrova::test;

namespace {

const QString kKim = QStringLiteral("0002");
const QString kPark = QStringLiteral("0003");

ShiftStamp at(const QString &user, const QString &dateTime, int posNo = 1)
{
    return {user, posNo, QDateTime::fromString(dateTime, QStringLiteral("yyyy-MM-dd HH:mm:ss"))};
}

TimeWindow window(const QString &from, const QString &to)
{
    return {from.left(10), from.mid(11), to.left(10), to.mid(11)};
}

ShiftCount countOf(qint64 befAmt, std::array<qint64, 8> qty, qint64 card, qint64 floatLeft, const QString &reason = {})
{
    ShiftCount c;
    c.befAmt = befAmt;
    c.cash.qty = qty;
    c.cardSlips = card;
    c.floatLeft = floatLeft;
    c.reason = reason;
    return c;
}

} // namespace

class TstShift : public QObject {
    Q_OBJECT
private:
    TestInstall m_inst;
    const Db &db() { return m_inst.db(); }
    ClosingSettings m_settings;

    QSet<qint64> ids(const QString &sql, const Params &p)
    {
        QSet<qint64> out;
        for (const Row &r : db().query(sql, p))
            out.insert(r.num(QStringLiteral("SlId")));
        return out;
    }

private slots:
    void initTestCase()
    {
        addUser(db(), kKim, QStringLiteral("김은정"));
        addUser(db(), kPark, QStringLiteral("박서준"));
    }

    void init()
    {
        for (const char *t : {"Sale", "Lecture", "RqPerBox", "Finish", "FinishCash", "UserEnv"})
            db().exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(t)));
    }

    // The indexed window condition selects exactly what the comparison of
    // date and time as one text selects.
    void windowConditionMeansTheJoinedText_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::newRow("a day from six to six") << "2024-05-10 06:00:00" << "2024-05-11 06:00:00";
        QTest::newRow("one second") << "2024-05-10 06:00:00" << "2024-05-10 06:00:00";
        QTest::newRow("around six") << "2024-05-10 05:59:59" << "2024-05-10 06:00:01";
        QTest::newRow("over two midnights") << "2024-05-09 23:59:59" << "2024-05-11 00:00:00";
        QTest::newRow("within one day") << "2024-05-10 00:00:00" << "2024-05-10 23:59:59";
        QTest::newRow("empty (end before start)") << "2024-05-11 00:00:00" << "2024-05-10 00:00:00";
    }
    void windowConditionMeansTheJoinedText()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        int n = 0;
        for (const char *d : {"2024-05-09", "2024-05-10", "2024-05-11", "2024-05-12"})
            for (const char *t : {"00:00:00", "05:59:59", "06:00:00", "06:00:01", "12:00:00", "23:59:59"})
                addSimpleVoucher(db(), QLatin1String(d), QLatin1String(t), kKim,
                                 QStringLiteral("%1").arg(++n, 4, 10, QLatin1Char('0')), 1000);
        const TimeWindow w = window(from, to);
        const QSet<qint64> indexed =
            ids(QStringLiteral("SELECT SlId FROM Sale WHERE ") + w.condition(QStringLiteral("SlDate"), QStringLiteral("LastTime")),
                w.params());
        const QSet<qint64> joined = ids(QStringLiteral("SELECT SlId FROM Sale WHERE (SlDate || LastTime) >= ? "
                                                       "AND (SlDate || LastTime) <= ?"),
                                        {w.from(), w.to()});
        QCOMPARE(indexed, joined);
        for (const Row &r : db().query(QStringLiteral("SELECT SlId, SlDate, LastTime FROM Sale")))
            QCOMPARE(w.contains(r.str(QStringLiteral("SlDate")), r.str(QStringLiteral("LastTime"))),
                     joined.contains(r.num(QStringLiteral("SlId"))));
    }

    void typedTimes_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("time");
        QTest::newRow("hour") << "6" << "06:00:00";
        QTest::newRow("hhmm") << "0630" << "06:30:00";
        QTest::newRow("hmm") << "630" << "06:30:00";
        QTest::newRow("hhmmss") << "063015" << "06:30:15";
        QTest::newRow("with colons") << "6:5" << "06:05:00";
        QTest::newRow("full") << "22:00:00" << "22:00:00";
        QTest::newRow("end of day") << "24:00" << "23:59:59";
        QTest::newRow("past midnight") << "25:00" << "";
        QTest::newRow("minutes too many") << "06:60" << "";
        QTest::newRow("letters") << "6시" << "";
        QTest::newRow("empty") << "" << "";
    }
    void typedTimes()
    {
        QFETCH(QString, typed);
        QFETCH(QString, time);
        QCOMPARE(normalizeTime(typed), time);
    }

    void businessDays_data()
    {
        QTest::addColumn<QString>("time1");
        QTest::addColumn<QString>("time2");
        QTest::addColumn<QString>("now");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::newRow("six to six, morning") << "06:00:00" << "06:00:00" << "2024-05-10 09:00:00"
                                             << "2024-05-10 06:00:00" << "2024-05-11 06:00:00";
        QTest::newRow("six to six, before six") << "06:00:00" << "06:00:00" << "2024-05-10 05:59:59"
                                                << "2024-05-09 06:00:00" << "2024-05-10 06:00:00";
        QTest::newRow("six to ten at night") << "06:00:00" << "22:00:00" << "2024-05-10 23:00:00"
                                             << "2024-05-10 06:00:00" << "2024-05-10 22:00:00";
        QTest::newRow("over the new year") << "06:00:00" << "02:00:00" << "2024-01-01 01:00:00"
                                           << "2023-12-31 06:00:00" << "2024-01-01 02:00:00";
    }
    void businessDays()
    {
        QFETCH(QString, time1);
        QFETCH(QString, time2);
        QFETCH(QString, now);
        QFETCH(QString, from);
        QFETCH(QString, to);
        ClosingSettings s;
        s.time1 = time1;
        s.time2 = time2;
        QCOMPARE(businessDayAt(s, at(kKim, now).now), window(from, to));
    }

    void settingsAreStoredAsHourAndMinute()
    {
        QCOMPARE(loadClosingSettings(db()), ClosingSettings{});
        ClosingSettings s{QStringLiteral("0700"), QStringLiteral("23:30"), 2000};
        QVERIFY(saveClosingSettings(db(), s));
        QVERIFY(saveClosingSettings(db(), s)); // the one row is updated
        QCOMPARE(db().scalar(QStringLiteral("SELECT COUNT(*) FROM UserEnv")).toInt(), 1);
        QCOMPARE(db().scalar(QStringLiteral("SELECT fTime1 FROM UserEnv")).toString(), QStringLiteral("07:00"));
        QCOMPARE(loadClosingSettings(db()), (ClosingSettings{QStringLiteral("07:00:00"), QStringLiteral("23:30:00"), 2000}));
        const Outcome bad = saveClosingSettings(db(), {QStringLiteral("7시"), QStringLiteral("23:30"), 0});
        QVERIFY(!bad);
        QCOMPARE(bad.last().text, QStringLiteral("마감 시작시간을 확인하여 주십시요."));
        QVERIFY(!saveClosingSettings(db(), {QStringLiteral("07:00"), QStringLiteral("23:30"), -1}));
    }

    // A shift opened at the first sale takes in the user's earlier payments
    // of the business day, and nobody else's.
    void aShiftStartsAtTheUsersFirstTakings()
    {
        addLecture(db(), {QStringLiteral("1"), QStringLiteral("2024-05-10"), QStringLiteral("07:10:00"), kKim, 60000});
        addLecture(db(), {QStringLiteral("1"), QStringLiteral("2024-05-10"), QStringLiteral("06:30:00"), kPark, 60000});
        addLecture(db(), {QStringLiteral("1"), QStringLiteral("2024-05-10"), QStringLiteral("05:59:59"), kKim, 60000});
        addSimpleVoucher(db(), QStringLiteral("2024-05-10"), QStringLiteral("09:00:00"), kKim, QStringLiteral("0001"), 3000);
        const FinishRow f = db().transaction(
            [&] { return ensureShift(db(), at(kKim, QStringLiteral("2024-05-10 09:00:00")), m_settings); });
        QVERIFY(f.fnid > 0);
        QCOMPARE(f.sDate1 + ' ' + f.time1, QStringLiteral("2024-05-10 07:10:00"));
        QCOMPARE(f.fnCnt, QStringLiteral("1"));
        const auto stored = loadFinish(db(), f.fnid);
        QCOMPARE(stored->fDate, QStringLiteral("0000-00-00"));
        QCOMPARE(stored->fnChk, QStringLiteral("0"));
        QVERIFY(stored->sDate2.isEmpty());
        QCOMPARE(shiftText(openShiftOf(db(), kKim)), QStringLiteral("1 교대"));
        QCOMPARE(shiftText(openShiftOf(db(), kPark)), QStringLiteral("0 교대"));
        // The next sale finds it open.
        QCOMPARE(ensureShift(db(), at(kKim, QStringLiteral("2024-05-10 09:30:00")), m_settings).fnid, f.fnid);
        QCOMPARE(db().scalar(QStringLiteral("SELECT COUNT(*) FROM Finish")).toInt(), 1);
        // Opening by hand is refused while it is open.
        const Outcome again = openShiftByHand(db(), at(kKim, QStringLiteral("2024-05-10 09:40:00")), m_settings, 0);
        QVERIFY(!again);
        QCOMPARE(again.last().text, QStringLiteral("이미 개시된 교대가 있읍니다. (1 교대)"));
    }

    // After a closed shift the next one starts with the user's first takings
    // after its end; numbers run per workstation and day; the float left in
    // the drawer is brought forward.
    void theNextShiftFollowsTheLast()
    {
        const qint64 first = addClosedShift(db(), kKim, QStringLiteral("1"), QStringLiteral("2024-05-10 06:00:00"),
                                            QStringLiteral("2024-05-10 14:00:00"));
        db().exec(QStringLiteral("UPDATE Finish SET BefAmt = 100000, CashAmt2 = 50000, CashAmt4 = 70000 WHERE Fnid = ?"),
                  {first});
        QCOMPARE(proposedFloat(db(), 1), 80000);
        QCOMPARE(proposedFloat(db(), 2), 0);
        addSimpleVoucher(db(), QStringLiteral("2024-05-10"), QStringLiteral("13:59:00"), kKim, QStringLiteral("0001"), 1000);
        addSimpleVoucher(db(), QStringLiteral("2024-05-10"), QStringLiteral("14:00:30"), kKim, QStringLiteral("0002"), 1000);
        const FinishRow second = db().transaction(
            [&] { return ensureShift(db(), at(kKim, QStringLiteral("2024-05-10 15:00:00")), m_settings); });
        QCOMPARE(second.sDate1 + ' ' + second.time1, QStringLiteral("2024-05-10 14:00:30"));
        QCOMPARE(second.fnCnt, QStringLiteral("2"));
        QCOMPARE(second.befAmt, 80000);

        const Outcome other = openShiftByHand(db(), at(kPark, QStringLiteral("2024-05-10 15:10:00"), 2), m_settings, 20000);
        QVERIFY(other);
        QCOMPARE(other.code, QStringLiteral("1")); // workstation 2's first shift of the day
        QCOMPARE(other.last().text, QStringLiteral("1 교대가 개시되었읍니다."));
        QCOMPARE(loadFinish(db(), other.id)->befAmt, 20000);
        // Without takings, a shift opened by hand starts when it opens.
        QCOMPARE(loadFinish(db(), other.id)->time1, QStringLiteral("15:10:00"));
    }

    // What a shift recorded, by kind of takings row.
    void recordedTakingsByKind_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("kind");
        QTest::addColumn<qint64>("cash");
        QTest::addColumn<qint64>("card");
        QTest::addColumn<qint64>("count");
        const int G = int(TakingsKind::Goods), C = int(TakingsKind::Courses), L = int(TakingsKind::Lockers);
        QTest::newRow("cash voucher of two lines") << 0 << G << 5000LL << 0LL << 1LL;
        QTest::newRow("card voucher") << 1 << G << 0LL << 8000LL << 1LL;
        QTest::newRow("mixed voucher") << 2 << G << 3000LL << 2000LL << 1LL;
        QTest::newRow("refund voucher") << 3 << G << -5000LL << 0LL << 1LL;
        QTest::newRow("enrollment cash and card") << 4 << C << 40000LL << 20000LL << 1LL;
        QTest::newRow("outstanding payment") << 5 << C << 15000LL << 0LL << 1LL;
        QTest::newRow("class change paid back") << 6 << C << -10000LL << 0LL << 1LL;
        QTest::newRow("refund by card") << 7 << C << 0LL << -30000LL << 1LL;
        QTest::newRow("postponement") << 8 << C << 0LL << 0LL << 0LL;
        QTest::newRow("locker rental") << 9 << L << 15000LL << 0LL << 1LL;
        QTest::newRow("locker renewal") << 10 << L << 5000LL << 0LL << 1LL;
        QTest::newRow("locker cancellation") << 11 << L << -10000LL << 0LL << 1LL;
        QTest::newRow("locker released on the board") << 12 << L << -10000LL << 0LL << 1LL;
        QTest::newRow("locker moved") << 13 << L << 0LL << 0LL << 0LL;
        QTest::newRow("another user's sale") << 14 << G << 0LL << 0LL << 0LL;
        QTest::newRow("a sale after the window") << 15 << G << 0LL << 0LL << 0LL;
    }
    void recordedTakingsByKind()
    {
        QFETCH(int, row);
        QFETCH(int, kind);
        QFETCH(qint64, cash);
        QFETCH(qint64, card);
        QFETCH(qint64, count);
        const QString d = QStringLiteral("2024-05-10"), t = QStringLiteral("10:00:00");
        switch (row) {
        case 0:
            addVoucher(db(), {d, t, kKim, QStringLiteral("0001"), {Line{0, 1, 3000}, Line{0, 2, 1000}}});
            break;
        case 1:
            addSimpleVoucher(db(), d, t, kKim, QStringLiteral("0001"), 8000, true, QStringLiteral("1"));
            break;
        case 2:
            addVoucher(db(), {d, t, kKim, QStringLiteral("0001"), {Line{0, 1, 4000}, Line{0, 1, 1000}}, 3000, 2000,
                              QStringLiteral("2")});
            break;
        case 3:
            addVoucher(db(), {d, t, kKim, QStringLiteral("0001"), {Line{0, -1, 5000}}, -5000});
            break;
        case 4:
            addLecture(db(), {QStringLiteral("1"), d, t, kKim, 40000, 20000, QStringLiteral("3")});
            break;
        case 5: {
            LectureSpec l{QStringLiteral("1"), d, t, kKim, 15000};
            l.pgGubun = QStringLiteral("4");
            addLecture(db(), l);
            break;
        }
        case 6:
            addLecture(db(), {QStringLiteral("2"), d, t, kKim, -10000});
            break;
        case 7:
            addLecture(db(), {QStringLiteral("4"), d, t, kKim, 0, 30000});
            break;
        case 8:
            addLecture(db(), {QStringLiteral("3"), d, t, kKim});
            break;
        case 9:
            addLockerRow(db(), {QStringLiteral("1"), d, t, kKim, 10000, 5000});
            break;
        case 10:
            addLockerRow(db(), {QStringLiteral("3"), d, t, kKim, 0, 5000});
            break;
        case 11:
            addLockerRow(db(), {QStringLiteral("4"), d, t, kKim, 0, 0, 10000});
            break;
        case 12:
            addLockerRow(db(), {QStringLiteral("5"), d, t, kKim, 0, 0, 10000});
            break;
        case 13:
            addLockerRow(db(), {QStringLiteral("2"), d, t, kKim, 10000, 5000});
            break;
        case 14:
            addSimpleVoucher(db(), d, t, kPark, QStringLiteral("0001"), 3000);
            break;
        case 15:
            addSimpleVoucher(db(), d, QStringLiteral("18:00:01"), kKim, QStringLiteral("0001"), 3000);
            break;
        }
        const ShiftFigures f =
            recordedTakings(db(), window(QStringLiteral("2024-05-10 06:00:00"), QStringLiteral("2024-05-10 18:00:00")), kKim);
        const Takings expected{cash, card, count};
        const Takings got = kind == int(TakingsKind::Goods) ? f.goods : kind == int(TakingsKind::Courses) ? f.courses : f.lockers;
        QCOMPARE(got, expected);
        QCOMPARE(f.total(), expected);
    }

    void countsAreChecked_data()
    {
        QTest::addColumn<qint64>("befAmt");
        QTest::addColumn<qint64>("qty");
        QTest::addColumn<qint64>("card");
        QTest::addColumn<qint64>("floatLeft");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("field");
        QTest::newRow("fine") << 0LL << 3LL << 0LL << 150000LL << "" << int(CountField::None);
        QTest::newRow("negative float") << -1LL << 3LL << 0LL << 0LL << "준비금을 확인하여 주십시요." << int(CountField::Float);
        QTest::newRow("negative notes") << 0LL << -1LL << 0LL << 0LL << "수량을 확인하여 주십시요." << int(CountField::Cash);
        QTest::newRow("negative card slips") << 0LL << 3LL << -5LL << 0LL << "카드전표 금액을 확인하여 주십시요."
                                             << int(CountField::Card);
        QTest::newRow("leaving more than counted") << 0LL << 3LL << 0LL << 150001LL << "남길 준비금이 현금시재보다 많습니다."
                                                   << int(CountField::FloatLeft);
    }
    void countsAreChecked()
    {
        QFETCH(qint64, befAmt);
        QFETCH(qint64, qty);
        QFETCH(qint64, card);
        QFETCH(qint64, floatLeft);
        QFETCH(QString, text);
        QFETCH(int, field);
        const Outcome o = checkCount(countOf(befAmt, {qty}, card, floatLeft));
        QCOMPARE(bool(o), text.isEmpty());
        QCOMPARE(o.last().text, text);
        QCOMPARE(o.field, field);
    }

    void balanceOfACount_data()
    {
        QTest::addColumn<qint64>("cash1");
        QTest::addColumn<qint64>("card1");
        QTest::addColumn<qint64>("limit");
        QTest::addColumn<qint64>("cash3");
        QTest::addColumn<qint64>("card3");
        QTest::addColumn<bool>("reason");
        // Counted: float 100,000 + 2 × 50,000 + 3 × 10,000 + 5 × 1,000 + 2 × 500 = 136,000 in the drawer;
        // card slips 20,000; 100,000 left for the next shift.
        QTest::newRow("exact") << 36000LL << 20000LL << 0LL << 0LL << 0LL << false;
        QTest::newRow("cash short by 1,000") << 37000LL << 20000LL << 0LL << -1000LL << 0LL << true;
        QTest::newRow("within the limit") << 37000LL << 20000LL << 1000LL << -1000LL << 0LL << false;
        QTest::newRow("card over the limit") << 36000LL << 18990LL << 1000LL << 0LL << 1010LL << true;
        QTest::newRow("cash over, card short") << 35000LL << 21000LL << 0LL << 1000LL << -1000LL << true;
    }
    void balanceOfACount()
    {
        QFETCH(qint64, cash1);
        QFETCH(qint64, card1);
        QFETCH(qint64, limit);
        QFETCH(qint64, cash3);
        QFETCH(qint64, card3);
        QFETCH(bool, reason);
        ShiftFigures rec;
        rec.goods = {cash1, card1, 3};
        const ShiftBalance b = balanceOf(rec, countOf(100000, {2, 3, 0, 5, 2}, 20000, 100000));
        QCOMPARE(b.counted, 136000);
        QCOMPARE(b.cashAmt2, 36000);
        QCOMPARE(b.cardAmt2, 20000);
        QCOMPARE(b.totAmt2, 56000);
        QCOMPARE(b.cashAmt3, cash3);
        QCOMPARE(b.cardAmt3, card3);
        QCOMPARE(b.totAmt3, cash3 + card3);
        QCOMPARE(b.cashAmt4, 36000);
        QCOMPARE(b.totAmt4, 56000);
        QCOMPARE(b.needsReason(limit), reason);
    }

    // The blind count closes the shift: a difference needs a reason, then the
    // whole row is written, the denominations kept and the sale lines closed.
    void closingAShift()
    {
        const QString d = QStringLiteral("2024-05-10");
        addVoucher(db(), {d, QStringLiteral("09:00:00"), kKim, QStringLiteral("0001"), {Line{0, 1, 4000}, Line{0, 1, 1000}},
                          3000, 2000, QStringLiteral("2")});
        addSimpleVoucher(db(), d, QStringLiteral("09:30:00"), kKim, QStringLiteral("0002"), 18000, true, QStringLiteral("1"));
        addLecture(db(), {QStringLiteral("1"), d, QStringLiteral("10:00:00"), kKim, 40000});
        addLecture(db(), {QStringLiteral("4"), d, QStringLiteral("10:30:00"), kKim, 10000});
        addLockerRow(db(), {QStringLiteral("1"), d, QStringLiteral("11:00:00"), kKim, 3000, 2000});
        const qint64 others = addSimpleVoucher(db(), d, QStringLiteral("10:00:00"), kPark, QStringLiteral("0001"), 7000);
        const qint64 later = addSimpleVoucher(db(), d, QStringLiteral("14:00:01"), kKim, QStringLiteral("0003"), 9000);
        const Outcome opened = openShiftByHand(db(), at(kKim, QStringLiteral("2024-05-10 08:00:00")), m_settings, 100000);
        QVERIFY(opened);
        QCOMPARE(loadFinish(db(), opened.id)->time1, QStringLiteral("08:00:00"));

        // Recorded: cash 3,000 + 40,000 - 10,000 + 5,000 = 38,000; card 2,000 + 18,000 = 20,000.
        const auto reading = readShift(db(), opened.id, at(kKim, QStringLiteral("2024-05-10 14:00:00")));
        QCOMPARE(reading->figures.total(), (Takings{38000, 20000, 5}));
        // The drawer holds 137,000: 1,000 short.
        ShiftCloseRequest req{opened.id, countOf(100000, {2, 3, 0, 6, 2}, 20000, 100000), std::nullopt};
        const ShiftStamp st = at(kKim, QStringLiteral("2024-05-10 14:00:00"));
        const Outcome refused = closeShift(db(), req, st, m_settings);
        QVERIFY(!refused);
        QCOMPARE(refused.field, int(CountField::Reason));
        QCOMPARE(refused.last().text, QStringLiteral("오차금액이 있읍니다 (현금 -1,000원, 카드 0원).\n오차사유를 입력하여 주십시요."));
        QVERIFY(loadFinish(db(), opened.id)->isOpen());

        req.count.reason = QStringLiteral("거스름돈 착오");
        const Outcome closed = closeShift(db(), req, st, m_settings);
        QVERIFY(closed);
        QCOMPARE(closed.last().text, QStringLiteral("교대마감 작업이 처리되었읍니다.."));
        const FinishRow f = *loadFinish(db(), opened.id);
        QCOMPARE(f.fDate, QStringLiteral("0000-00-00"));
        QCOMPARE(f.fnChk, QStringLiteral("1"));
        QCOMPARE(f.window(), window(QStringLiteral("2024-05-10 08:00:00"), QStringLiteral("2024-05-10 14:00:00")));
        const QList<qint64> amounts{f.befAmt,   f.totCnt,   f.cashAmt1, f.cardAmt1, f.totAmt1, f.cashAmt2, f.cardAmt2,
                                    f.totAmt2,  f.cashAmt3, f.cardAmt3, f.totAmt3,  f.cashAmt4, f.totAmt4};
        QCOMPARE(amounts, (QList<qint64>{100000, 5, 38000, 20000, 58000, 37000, 20000, 57000, -1000, 0, -1000, 37000, 57000}));
        QCOMPARE(f.remark, QStringLiteral("거스름돈 착오"));
        QCOMPARE(storedCashCount(db(), f.fnid), req.count.cash);
        QCOMPARE(db().scalar(QStringLiteral("SELECT COUNT(*) FROM FinishCash WHERE Fnid = ?"), {f.fnid}).toInt(), 4);
        // The user's lines of the window are closed, the others not.
        QCOMPARE(db().scalar(QStringLiteral("SELECT COUNT(*) FROM Sale WHERE FnChk = '1'")).toInt(), 3);
        QCOMPARE(db().scalar(QStringLiteral("SELECT FnChk FROM Sale WHERE SlId = ?"), {others}).toString(), QStringLiteral("0"));
        QCOMPARE(db().scalar(QStringLiteral("SELECT FnChk FROM Sale WHERE SlId = ?"), {later}).toString(), QStringLiteral("0"));
        // Closing again is refused; the next float is what was left.
        QCOMPARE(closeShift(db(), req, st, m_settings).last().text, QStringLiteral("이미 마감된 교대입니다."));
        QCOMPARE(proposedFloat(db(), 1), 100000);
    }

    // Closed for a closing window that has ended: the shift ends with it.
    void aShiftClosedForAnEndedWindowEndsWithIt()
    {
        addSimpleVoucher(db(), QStringLiteral("2024-05-10"), QStringLiteral("21:00:00"), kKim, QStringLiteral("0001"), 5000);
        addSimpleVoucher(db(), QStringLiteral("2024-05-11"), QStringLiteral("06:10:00"), kKim, QStringLiteral("0001"), 7000);
        const TimeWindow day = window(QStringLiteral("2024-05-10 06:00:00"), QStringLiteral("2024-05-11 06:00:00"));
        ShiftCloseRequest req{0, countOf(0, {0, 0, 1}, 0, 0), day};
        const Outcome o = closeShift(db(), req, at(kKim, QStringLiteral("2024-05-11 06:30:00")), m_settings);
        QVERIFY2(o, qPrintable(o.last().text));
        const FinishRow f = *loadFinish(db(), o.id);
        QCOMPARE(f.window(), window(QStringLiteral("2024-05-10 21:00:00"), QStringLiteral("2024-05-11 06:00:00")));
        QCOMPARE(f.cashAmt1, 5000);
        QCOMPARE(f.cashAmt3, 0);
        QCOMPARE(db().scalar(QStringLiteral("SELECT COUNT(*) FROM Sale WHERE FnChk = '1'")).toInt(), 1);
        // The morning's sale opens the next shift.
        const auto next = readShiftOf(db(), at(kKim, QStringLiteral("2024-05-11 06:30:00")), m_settings);
        QCOMPARE(next.window.from(), QStringLiteral("2024-05-1106:10:00"));
        QCOMPARE(next.figures.goods, (Takings{7000, 0, 1}));
        QCOMPARE(next.shift.fnCnt, QStringLiteral("1"));
    }
};

QTEST_GUILESS_MAIN(TstShift)
#include "tst_shift.moc"
