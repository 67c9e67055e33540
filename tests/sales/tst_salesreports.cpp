// FITROVA_DB_TEST
// The sales reports: lines, the item summary with its payment rule, the day
// list, the detailed takings of goods, enrollments and lockers with their
// filters, the corrections and the deletion of goods lines, card takings per
// company, the graph's figures and the cash-receipt flag.

#include <QtTest>

#include "../closing/takingsbuilders.h"
#include "sales/salesreports.h"
#include "testinstall.h"

using namespace fitrova;
using namespace fitrova::test;

namespace {

const QString kKim = QStringLiteral("0002");
const QString kPark = QStringLiteral("0003");
const QString kDay = QStringLiteral("2024-05-10");

TimeWindow window(const QString &from, const QString &to)
{
    return {from.left(10), from.mid(11), to.left(10), to.mid(11)};
}
const TimeWindow kWholeDay = window(QStringLiteral("2024-05-10 00:00:00"), QStringLiteral("2024-05-10 23:59:59"));

Line item(qint64 itId, qint64 qty, qint64 price, const char *course, const char *code)
{
    Line l(itId, qty, price);
    l.course = QLatin1String(course);
    l.itCode = QLatin1String(code);
    return l;
}

} // namespace

class TstSalesReports : public QObject {
    Q_OBJECT
private:
    TestInstall m_inst;
    const Db &db() { return m_inst.db(); }
    qint64 m_towel = 0, m_cap = 0, m_snack = 0;

    QString str(const QString &sql, const Params &p = {}) { return db().scalar(sql, p).toString(); }
    qint64 num(const QString &sql, const Params &p = {}) { return db().scalar(sql, p).toLongLong(); }

    // Cash 5,000 for two towels and a cap; card 1,000 for a towel; a mixed
    // voucher of a cap (first) and a snack without a goods class.
    void threeVouchers()
    {
        addVoucher(db(), {kDay, QStringLiteral("09:00:00"), kKim, QStringLiteral("0001"),
                          {item(m_towel, 2, 1000, "A", "A01-0001"), item(m_cap, 1, 3000, "A", "A01-0002")}});
        addVoucher(db(), {kDay, QStringLiteral("09:10:00"), kKim, QStringLiteral("0002"),
                          {item(m_towel, 1, 1000, "A", "A01-0001")}, 0, 1000, QStringLiteral("2")});
        addVoucher(db(), {kDay, QStringLiteral("10:00:00"), kPark, QStringLiteral("0001"),
                          {item(m_cap, 1, 4000, "A", "A01-0002"), item(m_snack, 1, 1000, "0", "001-0001")}, 3000, 2000,
                          QStringLiteral("3")});
    }

private slots:
    void initTestCase()
    {
        addUser(db(), kKim, QStringLiteral("김은정"));
        addUser(db(), kPark, QStringLiteral("박서준"));
        db().exec(QStringLiteral("DELETE FROM Card"));
        db().exec(QStringLiteral("DELETE FROM Course WHERE PsGroup = 'S'"));
        db().exec(QStringLiteral("INSERT INTO Course (PsGroup, Code, Name) VALUES ('S', 'A', '수영용품')"));
        const QList<QPair<QString, QString>> cards{{"1", "국민"}, {"2", "신한"}, {"3", "삼성"}, {"A", "농협"}};
        for (const auto &c : cards)
            db().exec(QStringLiteral("INSERT INTO Card (Code, Name) VALUES (?, ?)"), {c.first, c.second});
        auto addItem = [&](const QString &code, const QString &course, const QString &name, qint64 price) {
            return db().insertId(QStringLiteral("INSERT INTO Item (ItCode, Course, Sclass, Lclass, Mclass, ItName, ItAmt, "
                                                "ItUse) VALUES (?, ?, '01', '01', '01', ?, ?, '1')"),
                                 {code, course, name, price}, QStringLiteral("ItId"));
        };
        m_towel = addItem(QStringLiteral("A01-0001"), QStringLiteral("A"), QStringLiteral("수건"), 1000);
        m_cap = addItem(QStringLiteral("A01-0002"), QStringLiteral("A"), QStringLiteral("수모"), 3000);
        m_snack = addItem(QStringLiteral("001-0001"), QStringLiteral("0"), QStringLiteral("과자"), 1000);
    }

    void init()
    {
        for (const char *t : {"Sale", "Lecture", "RqPerBox", "Finish", "Member", "PerBox"})
            db().exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(t)));
        db().exec(QStringLiteral("INSERT INTO Member (MbCode, MbName, MisuAmt, Point) VALUES ('00000001', '김민지', 0, 0)"));
        db().exec(QStringLiteral("INSERT INTO PerBox (BoxCode, BoxName, Samt, Uamt, MonCnt) VALUES ('1', '남자', 10000, 5000, 1)"));
    }

    void linesCarryTheVoucherPaymentOnTheFirstLine()
    {
        threeVouchers();
        const QList<SaleLineRow> all = salesLines(db(), {kWholeDay, {}, {}});
        QCOMPARE(all.size(), 5);
        QCOMPARE(all[0].itName, QStringLiteral("수건"));
        QCOMPARE(all[0].userName, QStringLiteral("김은정"));
        QCOMPARE((QList<qint64>{all[0].cash, all[0].card, all[0].total}), (QList<qint64>{5000, 0, 5000}));
        QCOMPARE(all[1].total, 0);
        QCOMPARE(all[2].cardName, QStringLiteral("신한"));
        QCOMPARE(all[3].user, kPark);
        QCOMPARE((QList<qint64>{all[3].cash, all[3].card}), (QList<qint64>{3000, 2000}));
        QCOMPARE(salesLines(db(), {kWholeDay, kPark, {}}).size(), 2);
        QCOMPARE(salesLines(db(), {window(QStringLiteral("2024-05-10 09:05:00"), QStringLiteral("2024-05-10 09:59:59")), {}, {}}).size(), 1);

        const QList<DailySalesRow> days = dailySales(db(), {kWholeDay, {}, {}});
        QCOMPARE(days.size(), 1);
        QCOMPARE((QList<qint64>{days[0].vouchers, days[0].qty, days[0].cash, days[0].card}), (QList<qint64>{3, 6, 8000, 3000}));
    }

    // A mixed voucher counts its recorded payment (on its first line's item),
    // the others their line amounts; goods without a goods class are kept.
    void theItemSummary()
    {
        threeVouchers();
        const QList<ItemSummaryRow> rows = itemSummary(db(), {kWholeDay, {}, {}});
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[0].itName, QStringLiteral("과자"));
        QCOMPARE((QList<qint64>{rows[0].qty, rows[0].cash1, rows[0].card1, rows[0].cash2, rows[0].card2}),
                 (QList<qint64>{1, 0, 0, 0, 0}));
        QCOMPARE(rows[1].itName, QStringLiteral("수건"));
        QCOMPARE(rows[1].courseName, QStringLiteral("수영용품"));
        QCOMPARE((QList<qint64>{rows[1].qty, rows[1].cash1, rows[1].card1, rows[1].cash2, rows[1].card2}),
                 (QList<qint64>{3, 2000, 1000, 0, 0}));
        QCOMPARE((QList<qint64>{rows[2].qty, rows[2].cash1, rows[2].card1, rows[2].cash2, rows[2].card2}),
                 (QList<qint64>{2, 3000, 0, 3000, 2000}));

        const QList<SummaryLine> listed = summaryWithTotals(rows);
        QCOMPARE(listed.size(), 6);
        QCOMPARE(listed[1].kind, SummaryLine::Kind::ClassTotal);
        QCOMPARE(listed[1].row.itName, QStringLiteral("[상품항목계]"));
        QCOMPARE(listed[4].row.total(), 11000);
        QCOMPARE(listed[5].row.itName, QStringLiteral("[총 합 계]"));
        QCOMPARE((QList<qint64>{listed[5].row.qty, listed[5].row.cash(), listed[5].row.card()}), (QList<qint64>{6, 8000, 3000}));
    }

    // The three sources with the payment kind chosen.
    void detailedTakingsByPaymentKind_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<qint64>("cash");
        QTest::addColumn<qint64>("card");
        QTest::newRow("all") << 0
                             << QStringList{"상품판매", "상품판매", "상품판매", "상품판매", "상품판매", "강좌접수", "강좌환불",
                                            "미납입금", "사물함신규", "사물함취소"}
                             << 8000LL + 60000 - 20000 + 5000 + 15000 - 10000 << 3000LL + 30000;
        QTest::newRow("cash") << 1 << QStringList{"상품판매", "상품판매", "강좌환불", "미납입금", "사물함신규", "사물함취소"}
                              << 5000LL - 20000 + 5000 + 15000 - 10000 << 0LL;
        QTest::newRow("card") << 2 << QStringList{"상품판매"} << 0LL << 1000LL;
        QTest::newRow("cash and card: no lockers") << 3 << QStringList{"상품판매", "상품판매", "강좌접수"} << 63000LL << 32000LL;
    }
    void detailedTakingsByPaymentKind()
    {
        QFETCH(int, kind);
        QFETCH(QStringList, listed);
        QFETCH(qint64, cash);
        QFETCH(qint64, card);
        threeVouchers();
        addLecture(db(), {QStringLiteral("1"), kDay, QStringLiteral("11:00:00"), kKim, 60000, 30000, QStringLiteral("1")});
        addLecture(db(), {QStringLiteral("4"), kDay, QStringLiteral("11:30:00"), kKim, 20000});
        LectureSpec payment(QStringLiteral("1"), kDay, QStringLiteral("11:40:00"), kPark, 5000);
        payment.pgGubun = QStringLiteral("4");
        addLecture(db(), payment);
        addLecture(db(), {QStringLiteral("3"), kDay, QStringLiteral("11:50:00"), kPark});
        addLockerRow(db(), {QStringLiteral("1"), kDay, QStringLiteral("12:00:00"), kKim, 10000, 5000});
        addLockerRow(db(), {QStringLiteral("4"), kDay, QStringLiteral("12:30:00"), kKim, 0, 0, 10000});
        addLockerRow(db(), {QStringLiteral("2"), kDay, QStringLiteral("12:40:00"), kKim, 10000, 5000});
        DetailedTakingsCriteria c;
        c.window = kWholeDay;
        c.payKind = PayKind(kind);
        const QList<TakingsLine> lines = detailedTakings(db(), c);
        QStringList kinds;
        for (const TakingsLine &l : lines)
            kinds << l.kindText;
        QCOMPARE(kinds, listed);
        const Takings t = takingsTotal(lines);
        QCOMPARE(t.cash, cash);
        QCOMPARE(t.card, card);
        // The head sums what the lines take in, with the same filters.
        const TakingsHead head = detailedTakingsHead(db(), c);
        QCOMPARE(head.lines, qint64(lines.size()));
        QCOMPARE(head.total, t);
        if (kind == 0) {
            QCOMPARE(lines[8].name, QStringLiteral("사물함남자 7 번"));
            QCOMPARE(lines[8].mbName, QStringLiteral("김민지"));
            QCOMPARE(lines[5].cardName, QStringLiteral("국민"));
        }
    }

    void detailedTakingsFiltersAndOrder()
    {
        threeVouchers();
        addLecture(db(), {QStringLiteral("1"), kDay, QStringLiteral("08:00:00"), kPark, 60000});
        db().exec(QStringLiteral("UPDATE Sale SET Reprint = '1' WHERE LastUser = ? AND SlNo = '0002'"), {kKim});
        db().exec(QStringLiteral("UPDATE Sale SET CashChk = '1' WHERE LastUser = ?"), {kPark});
        db().exec(QStringLiteral("UPDATE Sale SET SlfDate = '2024-05-10' WHERE LastUser = ?"), {kKim});
        DetailedTakingsCriteria c;
        c.window = kWholeDay;
        c.order = TakingsOrder::UserThenTime;
        QStringList users;
        for (const TakingsLine &l : detailedTakings(db(), c))
            users << l.user + QLatin1Char(' ') + l.time;
        QCOMPARE(users, (QStringList{"0002 09:00:00", "0002 09:00:00", "0002 09:10:00", "0003 08:00:00", "0003 10:00:00",
                                     "0003 10:00:00"}));
        c.reprintOnly = true;
        QCOMPARE(detailedTakings(db(), c).size(), 1);
        c.reprintOnly = false;
        c.cashReceiptOnly = true;
        QCOMPARE(detailedTakings(db(), c).size(), 2);
        c.cashReceiptOnly = false;
        c.course = QStringLiteral("0");
        QCOMPARE(detailedTakings(db(), c).size(), 2); // the snack and the enrollment
        c.course.clear();
        c.user = kPark;
        QCOMPARE(detailedTakings(db(), c).size(), 3);
        c.user.clear();
        c.byClosingDate = true;
        c.fromDate = c.toDate = kDay;
        const QList<TakingsLine> closed = detailedTakings(db(), c);
        QCOMPARE(closed.size(), 3);
        QCOMPARE(takingsTotal(closed), (Takings{5000, 1000, 2})); // two vouchers
    }

    // Lines of every kind at the same moments, of two users, with item keys
    // shared by several lines: the pages, whatever their size, join into the
    // whole list, in its order, without a line twice or left out.
    void pagesJoinedAreTheWholeList_data()
    {
        QTest::addColumn<int>("order");
        QTest::addColumn<int>("pageSize");
        for (const int order : {1, 2})
            for (const int size : {1, 2, 3, 7, 40}) {
                const QByteArray name = (order == 1 ? "item order, " : "user order, ") + QByteArray::number(size);
                QTest::newRow(name.constData()) << order << size;
            }
    }
    void pagesJoinedAreTheWholeList()
    {
        QFETCH(int, order);
        QFETCH(int, pageSize);
        const QString nine = QStringLiteral("09:00:00");
        db().transaction([&] {
            for (int i = 0; i < 6; ++i) {
                const QString user = i % 2 ? kPark : kKim;
                const QString time = i < 4 ? nine : QStringLiteral("09:30:00");
                addVoucher(db(), {kDay, time, user, QStringLiteral("%1").arg(i + 1, 4, 10, QLatin1Char('0')),
                                  {item(m_towel, 1, 1000, "A", "A01-0001"), item(m_cap, 1, 3000, "A", "A01-0002"),
                                   item(m_towel, 2, 1000, "A", "A01-0001")}});
                addLecture(db(), {i == 3 ? QStringLiteral("4") : QStringLiteral("1"), kDay, time, user, 10000 + i});
                LockerSpec locker(QStringLiteral("1"), kDay, nine, user, 10000, 5000);
                locker.boxCode = i % 2 ? QStringLiteral("12") : QStringLiteral("7");
                addLockerRow(db(), locker);
            }
        });
        DetailedTakingsCriteria c;
        c.window = kWholeDay;
        c.order = TakingsOrder(order);
        const QList<TakingsLine> whole = detailedTakings(db(), c);
        QCOMPARE(whole.size(), 6 * 5);
        const auto key = [](const TakingsLine &l) { return QStringLiteral("%1/%2").arg(int(l.kind)).arg(l.id); };
        QStringList expected, joined;
        for (const TakingsLine &l : whole)
            expected << key(l);
        const TakingsLine *after = nullptr;
        QList<TakingsLine> page;
        for (int reads = 0; reads <= whole.size(); ++reads) {
            page = detailedTakingsPage(db(), c, after, pageSize);
            QVERIFY(page.size() <= pageSize);
            for (const TakingsLine &l : page)
                joined << key(l);
            if (page.size() < pageSize)
                break;
            after = &page.last();
        }
        QCOMPARE(joined, expected);

        // The order itself: kinds in turn (lockers of group 7 before 12), or
        // users, then moments with goods before enrollments before lockers.
        for (int i = 1; i < whole.size(); ++i) {
            const TakingsLine &a = whole[i - 1], &b = whole[i];
            if (order == 1) {
                QVERIFY(int(a.kind) <= int(b.kind));
            } else {
                const auto moment = [](const TakingsLine &l) -> QString { return l.user + l.date + l.time; };
                QVERIFY(moment(a) <= moment(b));
                if (moment(a) == moment(b))
                    QVERIFY(int(a.kind) < int(b.kind) || (a.kind == b.kind && a.id < b.id));
            }
        }
        if (order == 1) {
            QCOMPARE(whole[24].itemKey, QStringLiteral("1|0007"));
            QCOMPARE(whole.last().itemKey, QStringLiteral("1|0012"));
        }

        // The head counts every line, not only a page's.
        qint64 qty = 0, amount = 0;
        for (const TakingsLine &l : whole)
            if (l.kind == TakingsKind::Goods) {
                qty += l.qty;
                amount += l.amount;
            }
        QCOMPARE(detailedTakingsHead(db(), c), (TakingsHead{qint64(whole.size()), takingsTotal(whole), qty, amount}));
    }

    void aVoucherReadAgain()
    {
        threeVouchers();
        DetailedTakingsCriteria c;
        c.window = kWholeDay;
        const QList<TakingsLine> lines = detailedTakings(db(), c);
        const TakingsLine &mixed = *std::find_if(lines.begin(), lines.end(), [](const TakingsLine &l) { return l.user == kPark; });
        const QList<TakingsLine> again = voucherTakingsLines(db(), mixed);
        QCOMPARE(again.size(), 2);
        QVERIFY(again[0].firstLine && !again[1].firstLine);
        QCOMPARE((QList<qint64>{again[0].cash, again[0].card, again[1].cash}), (QList<qint64>{3000, 2000, 0}));
        QCOMPARE(again[0].voucher, kPark + QStringLiteral("-0001"));
        QCOMPARE(again[1].name, QStringLiteral("과자"));
    }

    void correctingAPayment_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<qint64>("cash");
        QTest::addColumn<qint64>("card");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("cardChk");
        const QString notTheAmount = QStringLiteral("현금액과 카드금액의 합이 판매금액(5,000원)과 같아야 합니다");
        QTest::newRow("to card and cash") << 1 << 2000LL << 3000LL << "" << "3";
        QTest::newRow("all by card") << 1 << 0LL << 5000LL << "" << "2";
        QTest::newRow("not the voucher's amount") << 1 << 2000LL << 2000LL << notTheAmount << "1";
        QTest::newRow("negative") << 1 << 6000LL << -1000LL << notTheAmount << "1";
        QTest::newRow("second line") << 2 << 0LL << 5000LL << "결재금액은 전표의 첫째 줄에서 수정할수 있읍니다" << "1";
        QTest::newRow("closed shift") << 3 << 0LL << 5000LL << "교대마감된 자료는 수정할수 없읍니다" << "1";
    }
    void correctingAPayment()
    {
        QFETCH(int, line);
        QFETCH(qint64, cash);
        QFETCH(qint64, card);
        QFETCH(QString, text);
        QFETCH(QString, cardChk);
        threeVouchers();
        const qint64 first = num(QStringLiteral("SELECT SlId FROM Sale WHERE LastUser = ? AND SlNo = '0001' AND SEQ = 1"), {kKim});
        const qint64 second = num(QStringLiteral("SELECT SlId FROM Sale WHERE LastUser = ? AND SlNo = '0001' AND SEQ = 2"), {kKim});
        if (line == 3)
            db().exec(QStringLiteral("UPDATE Sale SET FnChk = '1' WHERE LastUser = ?"), {kKim});
        const Outcome o = correctSalePayment(db(), line == 2 ? second : first, cash, card);
        QCOMPARE(bool(o), text.isEmpty());
        QCOMPARE(o.last().text, text);
        QCOMPARE(str(QStringLiteral("SELECT MAX(CardChk) FROM Sale WHERE LastUser = ? AND SlNo = '0001'"), {kKim}), cardChk);
        QCOMPARE(str(QStringLiteral("SELECT MIN(CardChk) FROM Sale WHERE LastUser = ? AND SlNo = '0001'"), {kKim}), cardChk);
        if (o) {
            QCOMPARE(num(QStringLiteral("SELECT CashAmt FROM Sale WHERE SlId = ?"), {first}), cash);
            QCOMPARE(num(QStringLiteral("SELECT SLTAmt FROM Sale WHERE SlId = ?"), {first}), 5000);
        }
    }

    // The card company of a line of a closed shift cannot be corrected.
    void correctingTheCardCompany()
    {
        threeVouchers();
        const qint64 card = num(QStringLiteral("SELECT SlId FROM Sale WHERE LastUser = ? AND SlNo = '0002'"), {kKim});
        QVERIFY(correctSaleCardCompany(db(), card, QStringLiteral("3")));
        QCOMPARE(str(QStringLiteral("SELECT CardGubun FROM Sale WHERE SlId = ?"), {card}), QStringLiteral("3"));
        db().exec(QStringLiteral("UPDATE Sale SET FnChk = '1' WHERE SlId = ?"), {card});
        const Outcome o = correctSaleCardCompany(db(), card, QStringLiteral("1"));
        QVERIFY(!o);
        QCOMPARE(o.last(), (Notice{Notice::Kind::Warn, QStringLiteral("교대마감된 자료는 수정할수 없읍니다"),
                                   QStringLiteral("카드사수정")}));
        QCOMPARE(str(QStringLiteral("SELECT CardGubun FROM Sale WHERE SlId = ?"), {card}), QStringLiteral("3"));
    }

    // Deleting a line keeps the voucher whole: its payment drops by the
    // line's amount, cash first, and stays on the new first line.
    void deletingAGoodsLine()
    {
        threeVouchers();
        const qint64 capFirst = num(QStringLiteral("SELECT SlId FROM Sale WHERE LastUser = ? AND SEQ = 1"), {kPark});
        QCOMPARE(deleteSaleLine(db(), capFirst, false).last(),
                 (Notice{Notice::Kind::Warn, QStringLiteral("삭제권한이 없읍니다"), QStringLiteral("상품자료삭제")}));
        QVERIFY(deleteSaleLine(db(), capFirst, true));
        QCOMPARE(num(QStringLiteral("SELECT COUNT(*) FROM Sale WHERE LastUser = ?"), {kPark}), 1);
        const auto left = db().queryOne(
            QStringLiteral("SELECT SEQ, CashAmt, CardAmt, SLTAmt, CardChk, SlAmt FROM Sale WHERE LastUser = ?"), {kPark});
        QCOMPARE((QList<qint64>{left->num("SEQ"), left->num("CashAmt"), left->num("CardAmt"), left->num("SLTAmt"),
                                left->num("SlAmt")}),
                 (QList<qint64>{1, 0, 1000, 1000, 1000}));
        QCOMPARE(left->str("CardChk"), QStringLiteral("2"));

        const qint64 towels = num(QStringLiteral("SELECT SlId FROM Sale WHERE LastUser = ? AND SlNo = '0001' AND SEQ = 1"), {kKim});
        db().exec(QStringLiteral("UPDATE Sale SET SlfDate = '2024-05-10' WHERE SlId = ?"), {towels});
        QCOMPARE(deleteSaleLine(db(), towels, true).last().text, QStringLiteral("교대마감된 자료는 삭제할수 없읍니다"));
        QCOMPARE(deleteSaleLine(db(), 999999, true).last().text, QStringLiteral("해당자료를 찾을수 없읍니다"));
        QVERIFY(!DelSale(db(), 999999));
    }

    // Each goods voucher once, by its first line; members' card refunds
    // taken off; codes without a column under 기타.
    void cardTakingsPerCompany()
    {
        threeVouchers();
        addSimpleVoucher(db(), QStringLiteral("2024-05-31"), QStringLiteral("09:00:00"), kKim, QStringLiteral("0001"), 7000,
                         true, QStringLiteral("Z"));
        addSimpleVoucher(db(), QStringLiteral("2024-06-01"), QStringLiteral("09:00:00"), kKim, QStringLiteral("0001"), 7000,
                         true, QStringLiteral("1"));
        addLecture(db(), {QStringLiteral("1"), kDay, QStringLiteral("11:00:00"), kKim, 0, 60000, QStringLiteral("1")});
        addLecture(db(), {QStringLiteral("4"), kDay, QStringLiteral("12:00:00"), kKim, 0, 20000, QStringLiteral("1")});
        addLecture(db(), {QStringLiteral("1"), QStringLiteral("2024-05-02"), QStringLiteral("11:00:00"), kKim, 0, 30000,
                          QStringLiteral("A")});

        const CardTakings both = cardTakings(db(), 2024, 5, CardTakingsSource::Both);
        QCOMPARE(both.days.size(), 31);
        QCOMPARE(both.columns.size(), 11);
        QCOMPARE(both.columns[1].name, QStringLiteral("신한"));
        QCOMPARE(both.columns[4].name, QStringLiteral("5"));
        QCOMPARE(both.columns[9].name, QStringLiteral("농협"));
        QCOMPARE(both.columns[10].name, QStringLiteral("기타"));
        QCOMPARE(both.amounts[9][0], 60000 - 20000);
        QCOMPARE(both.amounts[9][1], 1000);
        QCOMPARE(both.amounts[9][2], 2000);
        QCOMPARE(both.amounts[1][9], 30000);
        QCOMPARE(both.amounts[30][10], 7000);
        QCOMPARE(both.dayTotal(9), 43000);
        QCOMPARE(both.total(), 43000 + 30000 + 7000);
        QCOMPARE(cardTakings(db(), 2024, 5, CardTakingsSource::Goods).total(), 1000 + 2000 + 7000);
        QCOMPARE(cardTakings(db(), 2024, 5, CardTakingsSource::Members).total(), 40000 + 30000);
    }

    void graphFigures()
    {
        threeVouchers();
        addLecture(db(), {QStringLiteral("1"), kDay, QStringLiteral("11:00:00"), kKim, 60000});
        addLecture(db(), {QStringLiteral("2"), QStringLiteral("2024-05-11"), QStringLiteral("11:00:00"), kKim, 10000});
        LectureSpec other(QStringLiteral("1"), QStringLiteral("2024-07-01"), QStringLiteral("11:00:00"), kKim, 50000);
        other.course = QStringLiteral("2");
        addLecture(db(), other);
        addLecture(db(), {QStringLiteral("4"), kDay, QStringLiteral("12:00:00"), kKim, 60000});

        GraphCriteria days;
        days.year = 2024;
        days.month = 5;
        const SalesGraph g = salesGraph(db(), days);
        QCOMPARE(g.periods.size(), 31);
        QCOMPARE(g.series.size(), 1);
        QCOMPARE(g.series[0].values[9], 60000);
        QCOMPARE(g.series[0].values[10], 10000);
        days.value = GraphValue::Count;
        QCOMPARE(salesGraph(db(), days).series[0].values[9], 1);

        GraphCriteria months;
        months.year = 2024;
        months.perCourse = false;
        const SalesGraph y = salesGraph(db(), months);
        QCOMPARE(y.periods.size(), 12);
        QCOMPARE(y.series.size(), 1);
        QCOMPARE(y.series[0].name, QStringLiteral("합계"));
        QCOMPARE(y.series[0].values[4], 70000);
        QCOMPARE(y.series[0].values[6], 50000);
        months.perCourse = true;
        QCOMPARE(salesGraph(db(), months).series.size(), 2);

        GraphCriteria goods;
        goods.source = GraphSource::Goods;
        goods.year = 2024;
        goods.month = 5;
        const SalesGraph s = salesGraph(db(), goods);
        QCOMPARE(s.series.size(), 2);
        QCOMPARE(s.series[1].name, QStringLiteral("수영용품"));
        QCOMPARE(s.series[1].values[9], 11000); // vouchers' payments by their first line's class
        goods.month = 0;
        goods.value = GraphValue::Count;
        QCOMPARE(salesGraph(db(), goods).series[1].values[4], 5); // quantities of the lines
    }

    void theCashReceiptFlag()
    {
        threeVouchers();
        QVERIFY(setCashReceipt(db(), kDay, kKim, QStringLiteral("0001"), QStringLiteral("09:00:00"), true));
        QCOMPARE(num(QStringLiteral("SELECT COUNT(*) FROM Sale WHERE CashChk = '1'")), 2);
        QVERIFY(setCashReceipt(db(), kDay, kKim, QStringLiteral("0001"), QStringLiteral("09:00:00"), false));
        QCOMPARE(num(QStringLiteral("SELECT COUNT(*) FROM Sale WHERE CashChk = '1'")), 0);
        const Outcome o = setCashReceipt(db(), kDay, kKim, QStringLiteral("0001"), QStringLiteral("09:00:01"), true);
        QCOMPARE(o.last(), (Notice{Notice::Kind::Warn,
                                   QStringLiteral("수정작업중 오류가 발생하였습니다.관리자에게 문의하여 주십시요."),
                                   QStringLiteral("자료수정")}));
    }
};

QTEST_GUILESS_MAIN(TstSalesReports)
#include "tst_salesreports.moc"
