// FITROVA_DB_TEST
// The goods catalogue: item codes by prefix, saving (the code taken anew on
// every save), the list and its filters, deleting only what nothing refers
// to, and the goods small classes.

#include <QtTest>

#include "salesbuilders.h"
#include "sales/goods.h"
#include "testinstall.h"

using namespace fitrova;
using namespace fitrova::test;

class TstGoods : public QObject {
    Q_OBJECT
private:
    TestInstall m_inst;
    const Db &db() { return m_inst.db(); }

    QString codeOf(qint64 id) { return db().scalar("SELECT ItCode FROM Item WHERE ItId = ?", {id}).toString(); }

private slots:
    void initTestCase()
    {
        addGoodsCourse(db(), "1", "교구");
        addGoodsCourse(db(), "2", "매점");
        addGoodsClassRow(db(), "1", "01", "수영용품");
        addGoodsClassRow(db(), "1", "02", "입장권");
        addGoodsClassRow(db(), "2", "01", "음료");
    }
    void init() { clearSales(db()); }

    void nextCode_data()
    {
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("next");
        QTest::newRow("first of a prefix") << QStringList{"102-0003"} << "101" << "101-0001";
        QTest::newRow("after 0009") << QStringList{"101-0009", "101-0002"} << "101" << "101-0010";
        QTest::newRow("other prefixes ignored") << QStringList{"101-0004", "1010-999", "201-0100"} << "101" << "101-0005";
    }
    void nextCode()
    {
        QFETCH(QStringList, existing);
        QFETCH(QString, prefix);
        QFETCH(QString, next);
        for (const QString &c : existing)
            db().exec("INSERT INTO Item (ItCode, ItName, ItAmt, ItUse) VALUES (?, 'x', 0, '1')", {c});
        QCOMPARE(nextItemCode(db(), prefix), next);
    }

    void saveAddsAndChanges()
    {
        addGoods(db(), "101-0009", "수경", 12000);
        GoodsItemInput in;
        in.course = "1";
        in.sclass = "1";
        in.itName = "수모  ";
        in.barCode = "8801234 ";
        in.itAmt = 8000;
        const Outcome added = saveGoodsItem(db(), in);
        QVERIFY(added.saved);
        QCOMPARE(added.code, QString("101-0010"));
        const auto row = db().queryOne("SELECT * FROM Item WHERE ItId = ?", {added.id});
        QCOMPARE(row->str("ItName"), QString("수모"));
        QCOMPARE(row->str("BarCode"), QString("8801234"));
        QCOMPARE(row->str("Course"), QString("1"));
        QCOMPARE(row->str("Sclass"), QString("01"));
        QCOMPARE(row->num("ItAmt"), 8000);
        QCOMPARE(row->str("ItUse"), QString("1"));

        // Changed without a new class it still takes the next free number.
        in.jobGubun = "C";
        in.itId = added.id;
        in.inUse = false;
        const Outcome changed = saveGoodsItem(db(), in);
        QCOMPARE(changed.code, QString("101-0011"));
        QCOMPARE(codeOf(added.id), QString("101-0011"));
        QCOMPARE(db().scalar("SELECT ItUse FROM Item WHERE ItId = ?", {added.id}).toString(), QString("0"));

        // Moved to another course and class: the next number of the new prefix.
        in.course = "2";
        in.sclass = "01";
        QCOMPARE(saveGoodsItem(db(), in).code, QString("201-0001"));
        // No course chosen: prefix "0" and the class.
        in.jobGubun = "N";
        in.course.clear();
        in.sclass = "02";
        const Outcome none = saveGoodsItem(db(), in);
        QCOMPARE(none.code, QString("002-0001"));
        QCOMPARE(db().scalar("SELECT Course FROM Item WHERE ItId = ?", {none.id}).toString(), QString("0"));
    }

    void saveRefusals_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("amount");
        QTest::addColumn<QString>("job");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("field");
        QTest::newRow("no name") << "   " << qint64(1000) << "N" << "상품명을 입력하세요" << int(GoodsField::Name);
        QTest::newRow("negative price") << "수모" << qint64(-1) << "N" << "판매금액을 확인하세요" << int(GoodsField::Amount);
        QTest::newRow("changed item gone") << "수모" << qint64(1000) << "C" << "상품정보를 찾을수 없읍니다" << 0;
    }
    void saveRefusals()
    {
        QFETCH(QString, name);
        QFETCH(qint64, amount);
        QFETCH(QString, job);
        QFETCH(QString, text);
        QFETCH(int, field);
        GoodsItemInput in;
        in.jobGubun = job;
        in.itId = 999999;
        in.itName = name;
        in.itAmt = amount;
        const Outcome o = saveGoodsItem(db(), in);
        QVERIFY(!o.saved);
        QCOMPARE(o.last().text, text);
        QCOMPARE(o.field, field);
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM Item").toInt(), 0);
    }

    void listFilters()
    {
        addGoods(db(), "101-0001", "수경", 12000, "880001");
        addGoods(db(), "102-0001", "성인 입장권", 5000);
        addGoods(db(), "201-0001", "이온음료", 1500, "880002", false);
        addGoods(db(), "901-0001", "옛 상품", 100); // a course no longer in the goods group
        auto names = [&](const GoodsFilter &f) {
            QStringList l;
            for (const GoodsListRow &r : listGoods(db(), f))
                l << r.item.itName;
            return l;
        };
        QCOMPARE(names({}), (QStringList{"성인 입장권", "수경", "이온음료", "옛 상품"}));
        QCOMPARE(names({"0", "", "", false}).size(), 4);
        QCOMPARE(names({"1", "", "", false}), (QStringList{"성인 입장권", "수경"}));
        QCOMPARE(names({"1", "02", "", false}), QStringList{"성인 입장권"});
        QCOMPARE(names({"", "", "", true}), (QStringList{"성인 입장권", "수경", "옛 상품"}));
        QCOMPARE(names({"", "", "입장", false}), QStringList{"성인 입장권"});
        QCOMPARE(names({"", "", "880002", false}), QStringList{"이온음료"});
        QCOMPARE(names({"", "", "50%_", false}), QStringList{});
        const QList<GoodsListRow> rows = listGoods(db(), {"2", "", "", false});
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows.first().courseName, QString("매점"));
        QCOMPARE(rows.first().sclassName, QString("음료"));
        QCOMPARE(listGoods(db(), {"8", "", "", false}).size(), 0);
    }

    void deleteOnlyWhatNothingUses()
    {
        const qint64 sold = addGoods(db(), "101-0001", "수경", 12000);
        const qint64 lent = addGoods(db(), "101-0002", "킥판", 0);
        const qint64 free = addGoods(db(), "101-0003", "수모", 8000);
        db().exec("INSERT INTO Sale (SlNo, SEQ, ItId, SlDate, LastUser) VALUES ('0001', 1, ?, '2024-05-10', '0001')",
                  {sold});
        db().exec("INSERT INTO ItemTrs (Entid, ItId) VALUES (1, ?)", {lent});
        for (qint64 id : {sold, lent}) {
            const Outcome o = deleteGoodsItem(db(), id);
            QVERIFY(!o.saved);
            QVERIFY(o.last().text.startsWith("판매(사용)된 상품은 삭제할수 없읍니다"));
            QCOMPARE(o.last().title, QString("자료삭제"));
        }
        QVERIFY(deleteGoodsItem(db(), free).saved);
        const Outcome gone = deleteGoodsItem(db(), free);
        QCOMPARE(gone.last().text, QString("자료삭제중 오류가 발생하였습니다."));
        QCOMPARE(gone.last().title, QString("삭제오류"));
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM Item").toInt(), 2);
        db().exec("DELETE FROM ItemTrs");
    }

    void goodsClasses()
    {
        db().exec("DELETE FROM Sclass WHERE PsGroup = 'S' AND Course = '1'");
        const Outcome first = addGoodsClass(db(), "수영용품");
        QCOMPARE(first.code, QString("01"));
        QCOMPARE(addGoodsClass(db(), " 입장권 ").code, QString("02"));
        QVERIFY(renameGoodsClass(db(), "02", "입장권(성인)").saved);
        const Outcome missing = renameGoodsClass(db(), "77", "x");
        QCOMPARE(missing.last().text, QString("수정할 항목이 없읍니다"));
        QCOMPARE(missing.last().title, QString("자료수정"));
        const QList<GoodsClass> list = listGoodsClasses(db());
        QCOMPARE(list.size(), 2);
        QCOMPARE(list.at(1).name, QString("입장권(성인)"));

        addGoods(db(), "102-0001", "성인 입장권", 5000);
        addGoods(db(), "201-0001", "이온음료", 1500); // class 01 of another course
        for (const Outcome &o : {checkGoodsClassDeletable(db(), "02"), deleteGoodsClass(db(), "02")}) {
            QVERIFY(!o.saved);
            QCOMPARE(o.last().text, QString("강좌등록에 사용된 분류코드는 삭제할수 없읍니다"));
            QCOMPARE(o.last().title, QString("분류삭제"));
        }
        QVERIFY(checkGoodsClassDeletable(db(), "01").saved);
        QVERIFY(deleteGoodsClass(db(), "01").saved);
        QCOMPARE(listGoodsClasses(db()).size(), 1);
        QCOMPARE(addGoodsClass(db(), "새 분류").code, QString("03"));
        initTestCase();
    }
};

QTEST_GUILESS_MAIN(TstGoods)
#include "tst_goods.moc"
