// FITROVA_DB_TEST
// Sale vouchers: the rows of one voucher, the number per user and day, the
// payment checks, a voucher saved whole or not at all, two workstations
// saving at once, refunds (negative, linked, once), reprint marks, the
// day's list, the user's shift, and the upgrade of an older database.

#include <QtTest>

#include "salesbuilders.h"
#include "data/schema.h"
#include "data/schemamigrate.h"
#include "foundation/connections.h"
#include "closing/shift.h"
#include "sales/voucher.h"
#include "testinstall.h"

#include <QThread>
#include <atomic>
#include <thread>

using namespace fitrova;
using namespace fitrova::test;

namespace {

PosStamp stamp(const QString &user = QStringLiteral("0001"), const QString &date = QStringLiteral("2024-05-10"),
               const QString &time = QStringLiteral("09:00:00"))
{
    return {date, time, user, 3};
}

SaleLine line(qint64 itId, qint64 qty, qint64 cost, qint64 dc = 0, double rate = 0)
{
    SaleLine l;
    l.itId = itId;
    l.qty = qty;
    l.cost = cost;
    l.dcAmt = dc;
    l.dcYul = rate;
    return l;
}

SalePayment paid(qint64 cash, qint64 card = 0, const QString &company = {})
{
    SalePayment p;
    p.cash = cash;
    p.card = card;
    p.cardGubun = company;
    return p;
}

} // namespace

class TstVoucher : public QObject {
    Q_OBJECT
private:
    TestInstall m_inst;
    const Db &db() { return m_inst.db(); }
    qint64 m_pass = 0, m_cap = 0;

    Rows voucherRows(const QString &slNo, const QString &user = "0001", const QString &date = "2024-05-10")
    {
        return db().query("SELECT * FROM Sale WHERE SlDate = ? AND LastUser = ? AND SlNo = ? ORDER BY SEQ",
                          {date, user, slNo});
    }

private slots:
    void initTestCase()
    {
        addGoodsCourse(db(), "1", "교구");
        addCardCompany(db(), "3", "국민카드");
    }
    void init()
    {
        clearSales(db());
        m_pass = addGoods(db(), "102-0001", "자유수영", 1500);
        m_cap = addGoods(db(), "101-0001", "수모", 8000);
    }

    void voucherRowsAsStored()
    {
        const QList<SaleLine> lines{line(m_pass, 3, 1500, 675, 15), line(m_cap, 1, 8000)};
        SalePayment pay = paid(3000, 8825, "3");
        pay.cashReceipt = true;
        const Outcome o = saveVoucher(db(), stamp(), lines, pay);
        QVERIFY(o.saved);
        QCOMPARE(o.code, QString("0001"));
        const Rows rows = voucherRows("0001");
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows.first().num("SlId"), o.id);
        const QList<QList<QPair<const char *, QString>>> expect = {
            {{"SlNo", "0001"}, {"SEQ", "1"}, {"ItCode", "102-0001"}, {"Course", "1"}, {"Sclass", "02"},
             {"SlDate", "2024-05-10"}, {"Slyymm", "2024-05"}, {"MbCode", "00000000"}, {"Slqty", "3"},
             {"SlCost", "1500"}, {"SlAmt1", "4500"}, {"DcYul", "15"}, {"DcAmt", "675"}, {"SlAmt", "3825"},
             {"CashAmt", "3000"}, {"CardAmt", "8825"}, {"SLTAmt", "11825"}, {"CardChk", "3"}, {"CardGubun", "3"},
             {"CashChk", "1"}, {"FnChk", "0"}, {"PosNo", "3"}, {"Reprint", "0"}, {"LastUser", "0001"},
             {"LastTime", "09:00:00"}, {"RfSlId", ""}, {"SlfDate", ""}},
            {{"SEQ", "2"}, {"ItCode", "101-0001"}, {"Sclass", "01"}, {"Slqty", "1"}, {"SlCost", "8000"},
             {"SlAmt1", "8000"}, {"DcYul", "0"}, {"DcAmt", "0"}, {"SlAmt", "8000"}, {"CashAmt", "0"},
             {"CardAmt", "0"}, {"SLTAmt", "0"}, {"CardChk", "3"}, {"CardGubun", "3"}, {"CashChk", "1"},
             {"MbCode", "00000000"}, {"LastTime", "09:00:00"}},
        };
        for (int i = 0; i < 2; ++i)
            for (const auto &[col, v] : expect.at(i))
                QVERIFY2(rows.at(i).str(QString::fromLatin1(col)) == v,
                         qPrintable(QString("row %1 %2: %3").arg(i).arg(col, rows.at(i).str(col))));
    }

    void cardChk_data()
    {
        QTest::addColumn<qint64>("cash");
        QTest::addColumn<qint64>("card");
        QTest::addColumn<QString>("chk");
        QTest::addColumn<QString>("company");
        QTest::newRow("cash and card") << qint64(3000) << qint64(2000) << "3" << "3";
        QTest::newRow("card only") << qint64(0) << qint64(5000) << "2" << "3";
        QTest::newRow("cash only: no card company kept") << qint64(5000) << qint64(0) << "1" << "";
    }
    void cardChk()
    {
        QFETCH(qint64, cash);
        QFETCH(qint64, card);
        QFETCH(QString, chk);
        QFETCH(QString, company);
        const Outcome o = saveVoucher(db(), stamp(), {line(m_pass, 2, 1500), line(m_cap, 1, 2000)}, paid(cash, card, "3"));
        QVERIFY(o.saved);
        const Rows rows = voucherRows(o.code);
        QCOMPARE(rows.size(), 2);
        for (const Row &r : rows) {
            QCOMPARE(r.str("CardChk"), chk);
            QCOMPARE(r.str("CardGubun"), company);
        }
        QCOMPARE(rows.at(0).num("CashAmt"), cash);
        QCOMPARE(rows.at(0).num("CardAmt"), card);
        QCOMPARE(rows.at(0).num("SLTAmt"), cash + card);
        QCOMPARE(rows.at(1).num("CashAmt") + rows.at(1).num("CardAmt") + rows.at(1).num("SLTAmt"), 0);
    }

    void numbersPerUserAndDay()
    {
        const QList<SaleLine> one{line(m_pass, 1, 1500)};
        auto no = [&](const PosStamp &st) { return saveVoucher(db(), st, one, paid(1500)).code; };
        QCOMPARE(no(stamp("0001")), QString("0001"));
        QCOMPARE(no(stamp("0001")), QString("0002"));
        QCOMPARE(no(stamp("0002")), QString("0001"));
        QCOMPARE(no(stamp("0001", "2024-05-11")), QString("0001"));
        db().exec("UPDATE Sale SET SlNo = '0009' WHERE SlNo = '0002'");
        QCOMPARE(no(stamp("0001")), QString("0010"));
    }

    void refusals_data()
    {
        QTest::addColumn<int>("qty");
        QTest::addColumn<qint64>("dc");
        QTest::addColumn<qint64>("cash");
        QTest::addColumn<qint64>("card");
        QTest::addColumn<QString>("text");
        QTest::newRow("paid short") << 2 << qint64(0) << qint64(2000) << qint64(0) << "결재금액을 수정하세요";
        QTest::newRow("paid over") << 2 << qint64(0) << qint64(2000) << qint64(2000) << "결재금액을 수정하세요";
        QTest::newRow("negative card evening out")
            << 2 << qint64(0) << qint64(4000) << qint64(-1000) << "결재금액은 0보다 작을수 없읍니다";
        QTest::newRow("negative quantity")
            << -2 << qint64(0) << qint64(-3000) << qint64(0) << "판매자료를 확인하세요..수량과 금액은 0보다 작을수 없읍니다";
        QTest::newRow("discount above gross")
            << 2 << qint64(3001) << qint64(0) << qint64(0) << "판매자료를 확인하세요..수량과 금액은 0보다 작을수 없읍니다";
    }
    void refusals()
    {
        QFETCH(int, qty);
        QFETCH(qint64, dc);
        QFETCH(qint64, cash);
        QFETCH(qint64, card);
        QFETCH(QString, text);
        const Outcome o = saveVoucher(db(), stamp(), {line(m_pass, qty, 1500, dc)}, paid(cash, card));
        QVERIFY(!o.saved);
        QCOMPARE(o.last().text, text);
        QCOMPARE(o.last().title, QString("판매저장"));
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM Sale").toInt(), 0);
    }

    // An item gone from the catalogue stops the whole voucher: not a row of it
    // is stored, and its number is still free.
    void wholeOrNothing()
    {
        const QList<SaleLine> lines{line(m_pass, 1, 1500), line(m_cap, 1, 8000), line(424242, 1, 100)};
        const Outcome o = saveVoucher(db(), stamp(), lines, paid(9600));
        QVERIFY(!o.saved);
        QCOMPARE(o.last().text, QString("상품정보를 찾을수 없읍니다"));
        QCOMPARE(o.last().title, QString("저장실패"));
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM Sale").toInt(), 0);
        QCOMPARE(saveVoucher(db(), stamp(), lines.mid(0, 2), paid(9500)).code, QString("0001"));
    }

    void refundOnceAndLinked()
    {
        const Outcome sale = saveVoucher(db(), stamp(), {line(m_pass, 3, 1500, 675, 15), line(m_cap, 1, 8000)},
                                         paid(3000, 8825, "3"));
        const VoucherKey key{"2024-05-10", "0001", sale.code};
        const Outcome back = saveRefund(db(), stamp("0001", "2024-05-10", "10:30:00"), key, {});
        QVERIFY(back.saved);
        QCOMPARE(back.code, QString("0002"));
        const Rows rows = voucherRows("0002");
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows.at(0).num("Slqty"), -3);
        QCOMPARE(rows.at(0).num("SlCost"), 1500);
        QCOMPARE(rows.at(0).num("SlAmt1"), -4500);
        QCOMPARE(rows.at(0).num("DcAmt"), -675);
        QCOMPARE(rows.at(0).dbl("DcYul"), -15.0);
        QCOMPARE(rows.at(0).num("SlAmt"), -3825);
        QCOMPARE(rows.at(0).num("CashAmt"), -3000);
        QCOMPARE(rows.at(0).num("CardAmt"), -8825);
        QCOMPARE(rows.at(0).num("SLTAmt"), -11825);
        QCOMPARE(rows.at(0).str("CardChk"), QString("3"));
        QCOMPARE(rows.at(0).str("CardGubun"), QString("3"));
        QCOMPARE(rows.at(0).str("LastTime"), QString("10:30:00"));
        QCOMPARE(rows.at(1).num("Slqty"), -1);
        QCOMPARE(rows.at(1).num("SlAmt"), -8000);
        for (const Row &r : rows)
            QCOMPARE(r.num("RfSlId"), sale.id);
        // The day nets to nothing.
        QCOMPARE(db().scalar("SELECT SUM(SlAmt) + SUM(SLTAmt) + SUM(SlAmt1) + SUM(DcAmt) FROM Sale").toLongLong(), 0);

        const auto loaded = loadVoucher(db(), key);
        QVERIFY(loaded->refunded);
        QVERIFY(!loaded->isRefund());
        QVERIFY(loadVoucher(db(), {"2024-05-10", "0001", "0002"})->isRefund());
        QCOMPARE(loadVoucher(db(), key)->cardName, QString("국민카드"));

        const Outcome again = saveRefund(db(), stamp(), key, {});
        QCOMPARE(again.last().text, QString("이미 환불된 전표입니다"));
        QCOMPARE(again.last().title, QString("환불"));
        const Outcome ofRefund = saveRefund(db(), stamp(), {"2024-05-10", "0001", "0002"}, {});
        QCOMPARE(ofRefund.last().text, QString("환불전표는 다시 환불할수 없읍니다"));
        const Outcome missing = saveRefund(db(), stamp(), {"2024-05-10", "0001", "0099"}, {});
        QCOMPARE(missing.last().text, QString("환불할 자료를 찾을수 없읍니다"));
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM Sale").toInt(), 4);

        // Older rows written before the link: a refund is recognised by its quantities.
        db().exec("UPDATE Sale SET RfSlId = NULL");
        QVERIFY(loadVoucher(db(), {"2024-05-10", "0001", "0002"})->isRefund());
    }

    void partialRefundGivesCashBackFirst_data()
    {
        QTest::addColumn<qint64>("cash");
        QTest::addColumn<qint64>("card");
        QTest::addColumn<qint64>("cashBack");
        QTest::addColumn<qint64>("cardBack");
        QTest::newRow("cash covers the line") << qint64(9000) << qint64(500) << qint64(-8000) << qint64(0);
        QTest::newRow("mixed") << qint64(3000) << qint64(6500) << qint64(-3000) << qint64(-5000);
        QTest::newRow("card only") << qint64(0) << qint64(9500) << qint64(0) << qint64(-8000);
    }
    void partialRefundGivesCashBackFirst()
    {
        QFETCH(qint64, cash);
        QFETCH(qint64, card);
        QFETCH(qint64, cashBack);
        QFETCH(qint64, cardBack);
        const Outcome sale = saveVoucher(db(), stamp(), {line(m_pass, 1, 1500), line(m_cap, 1, 8000)},
                                         paid(cash, card, "3"));
        const VoucherKey key{"2024-05-10", "0001", sale.code};
        const Outcome back = saveRefund(db(), stamp(), key, {2});
        QVERIFY(back.saved);
        const Rows rows = voucherRows(back.code);
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows.at(0).num("ItId"), m_cap);
        QCOMPARE(rows.at(0).num("CashAmt"), cashBack);
        QCOMPARE(rows.at(0).num("CardAmt"), cardBack);
        QCOMPARE(rows.at(0).str("CardGubun"), cardBack != 0 ? QString("3") : QString());
        // The rest of the voucher is not refunded a second time.
        QCOMPARE(saveRefund(db(), stamp(), key, {1}).last().text, QString("이미 환불된 전표입니다"));
    }

    void dayList()
    {
        saveVoucher(db(), stamp("0001", "2024-05-10", "09:00:00"), {line(m_pass, 2, 1500)}, paid(3000));
        const Outcome second = saveVoucher(db(), stamp("0001", "2024-05-10", "09:10:00"),
                                           {line(m_pass, 1, 1500), line(m_cap, 1, 8000)}, paid(0, 9500, "3"));
        saveVoucher(db(), stamp("0002", "2024-05-10", "09:20:00"), {line(m_cap, 1, 8000)}, paid(8000));
        saveVoucher(db(), stamp("0001", "2024-05-09", "09:20:00"), {line(m_cap, 1, 8000)}, paid(8000));
        saveRefund(db(), stamp("0001", "2024-05-10", "09:30:00"), {"2024-05-10", "0001", second.code}, {});

        const QList<VoucherSummary> mine = listVouchers(db(), "2024-05-10", "0001", "0");
        QCOMPARE(mine.size(), 3);
        QCOMPARE(mine.at(0).key.slNo, QString("0003"));
        QVERIFY(mine.at(0).refund);
        QCOMPARE(mine.at(0).total, -9500);
        QCOMPARE(mine.at(1).key.slNo, QString("0002"));
        QVERIFY(mine.at(1).refunded);
        QCOMPARE(mine.at(1).card, 9500);
        QCOMPARE(mine.at(1).lines, (QStringList{"자유수영 1 1,500", "수모 1 8,000"}));
        QCOMPARE(mine.at(1).userName, QString("관리자"));
        QCOMPARE(mine.at(2).total, 3000);
        QCOMPARE(listVouchers(db(), "2024-05-10", "", "").size(), 4);
        QCOMPARE(listVouchers(db(), "2024-05-10", "0002", "").size(), 1);
    }

    // The first sale of a user without an open shift opens one in the same
    // transaction; later sales stay in it until it is counted.
    void firstSaleOpensShift()
    {
        db().exec("DELETE FROM Finish");
        QCOMPARE(shiftText(openShiftOf(db(), "0001")), QString("0 교대"));
        const QList<SaleLine> one{line(m_pass, 1, 1500)};
        QVERIFY(saveVoucher(db(), stamp("0001", "2024-05-10", "09:00:00"), one, paid(1500)).saved);
        const auto first = openShiftOf(db(), "0001");
        QVERIFY(first);
        QCOMPARE(shiftText(first), QString("1 교대"));
        QCOMPARE(first->posNo, 3);
        QVERIFY(saveVoucher(db(), stamp("0001", "2024-05-10", "09:10:00"), one, paid(0, 1500, "1")).saved);
        QCOMPARE(openShiftOf(db(), "0001")->fnid, first->fnid);
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM Finish").toInt(), 1);

        db().exec("UPDATE Finish SET FnChk = '1', sDate2 = '2024-05-10', Time2 = '09:30:00'");
        QVERIFY(saveVoucher(db(), stamp("0001", "2024-05-10", "10:00:00"), one, paid(1500)).saved);
        QCOMPARE(shiftText(openShiftOf(db(), "0001")), QString("2 교대"));
        // A sale refused writes no shift either.
        QVERIFY(!saveVoucher(db(), stamp("0002", "2024-05-10", "10:00:00"), one, paid(1000)).saved);
        QVERIFY(!openShiftOf(db(), "0002"));
    }

    // Two workstations with the same user saving at the same moment never
    // share a number, and every voucher keeps all its lines.
    void twoWorkstationsAtOnce()
    {
        const QString dir = m_inst.installDir();
        constexpr int perDesk = 12;
        std::atomic<int> ready{0};
        QStringList failures[2];
        auto desk = [&](int n) {
            AppContext c(dir);
            if (const auto f = connectDatabases(c)) {
                failures[n] << f->text;
                ++ready;
                return;
            }
            ++ready;
            while (ready < 2)
                QThread::yieldCurrentThread();
            for (int i = 0; i < perDesk; ++i) {
                try {
                    const Outcome o = saveVoucher(c.main, stamp(), {line(m_pass, 1, 1500), line(m_cap, 2, 8000)},
                                                  paid(17500));
                    if (!o.saved)
                        failures[n] << o.last().text;
                } catch (const DbError &e) {
                    failures[n] << e.message();
                }
            }
        };
        std::thread a(desk, 0), b(desk, 1);
        a.join();
        b.join();
        QVERIFY2(failures[0].isEmpty() && failures[1].isEmpty(), qPrintable((failures[0] + failures[1]).join("; ")));
        QCOMPARE(db().scalar("SELECT COUNT(DISTINCT SlNo) FROM Sale").toInt(), 2 * perDesk);
        QCOMPARE(db().scalar("SELECT MAX(SlNo) FROM Sale").toString(), QString("%1").arg(2 * perDesk, 4, 10, QChar('0')));
        const Rows per = db().query("SELECT SlNo, COUNT(*) AS N, SUM(SLTAmt) AS Paid, SUM(SlAmt) AS Due FROM Sale "
                                    "GROUP BY SlNo");
        for (const Row &r : per) {
            QCOMPARE(r.num("N"), 2);
            QCOMPARE(r.num("Paid"), r.num("Due"));
        }
    }

    void twoRefundsAtOnce()
    {
        const Outcome sale = saveVoucher(db(), stamp(), {line(m_pass, 1, 1500)}, paid(1500));
        const VoucherKey key{"2024-05-10", "0001", sale.code};
        const QString dir = m_inst.installDir();
        std::atomic<int> ready{0};
        QString results[2];
        auto desk = [&](int n) {
            AppContext c(dir);
            const auto f = connectDatabases(c);
            ++ready;
            while (ready < 2)
                QThread::yieldCurrentThread();
            if (f)
                return;
            try {
                const Outcome o = saveRefund(c.main, stamp(n ? "0002" : "0003"), key, {});
                results[n] = o.saved ? QStringLiteral("saved") : o.last().text;
            } catch (const DbError &e) {
                results[n] = e.message();
            }
        };
        std::thread a(desk, 0), b(desk, 1);
        a.join();
        b.join();
        QStringList got{results[0], results[1]};
        got.sort();
        QCOMPARE(got, (QStringList{"saved", "이미 환불된 전표입니다"}));
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM Sale WHERE RfSlId = ?", {sale.id}).toInt(), 1);
    }

    // A database of the version before refund links gains them.
    void upgradeFromSchemaWithoutRefundLinks()
    {
        for (const char *ix : {"ix_Sale_5", "ix_Sale_4", "ix_Item_3"})
            db().exec(QStringLiteral("DROP INDEX %1").arg(QLatin1String(ix)));
        db().exec("ALTER TABLE Sale DROP COLUMN RfSlId");
        db().exec("UPDATE DbVersion SET Version = 2");
        migrateSchema(db(), 2, 3);
        QCOMPARE(storedSchemaVersion(db()), 3);
        const Outcome sale = saveVoucher(db(), stamp(), {line(m_pass, 1, 1500)}, paid(1500));
        QVERIFY(saveRefund(db(), stamp(), {"2024-05-10", "0001", sale.code}, {}).saved);
        bool refused = false;
        try {
            db().exec("INSERT INTO Sale (SlNo, SEQ, SlDate, LastUser, RfSlId) VALUES ('0099', 1, '2024-05-10', '0001', ?)",
                      {sale.id});
        } catch (const DbError &e) {
            refused = e.isUniqueViolation();
        }
        QVERIFY(refused);
    }
};

QTEST_GUILESS_MAIN(TstVoucher)
#include "tst_voucher.moc"
