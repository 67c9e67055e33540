// FITROVA_DB_TEST
// The goods screens offscreen: the list with its filters, the editor adding
// several items in a row and changing one, deleting (refused for a sold
// item), the goods classes grid, and the pick list the gate uses.

#include <QtTest>

#include "../salesbuilders.h"
#include "catalogue/ui/maintenancegrid.h"
#include "sales/ui/goodsclassscreen.h"
#include "sales/ui/goodseditdialog.h"
#include "sales/ui/goodsfilter.h"
#include "sales/ui/goodslistscreen.h"
#include "sales/ui/itempicklist.h"
#include "testinstall.h"
#include "uitest.h"
#include "widgets/datagrid.h"
#include "widgets/moneyedit.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QInputMethodEvent>
#include <QPushButton>

using namespace fitrova;
using namespace fitrova::test;

class TstGoodsScreens : public QObject {
    Q_OBJECT
private:
    TestInstall m_inst;
    ScriptedMessages m_msg;
    UiContext m_ui{m_inst.ctx(), m_msg};
    qint64 m_sold = 0;

    const Db &db() { return m_inst.db(); }
    static void selectText(QComboBox *c, const QString &text) { c->setCurrentIndex(c->findText(text)); }

private slots:
    void initTestCase()
    {
        db().exec("DELETE FROM Sclass WHERE PsGroup = 'S'");
        addGoodsCourse(db(), "1", "교구");
        addGoodsCourse(db(), "2", "매점");
        addGoodsClassRow(db(), "1", "01", "수영용품");
        addGoodsClassRow(db(), "1", "02", "입장권");
        addGoodsClassRow(db(), "2", "01", "음료");
        clearSales(db());
        addGoods(db(), "101-0001", "수경", 12000, "880001");
        m_sold = addGoods(db(), "102-0001", "자유수영", 1500);
        addGoods(db(), "201-0001", "이온음료", 1500, "", false);
        db().exec("INSERT INTO Sale (SlNo, SEQ, ItId, SlDate, LastUser) VALUES ('0001', 1, ?, '2024-05-10', '0001')",
                  {m_sold});
    }

    void listAndFilters()
    {
        GoodsListScreen s(m_ui);
        DataGrid *g = child<DataGrid>(&s, "SpItem");
        QCOMPARE(g->rowCount(), 3);
        QCOMPARE(g->rowCells(0), (QStringList{"교구", "수영용품", "101-0001", "수경", "12,000", "880001", "1"}));
        QComboBox *course = child<QComboBox>(&s, "CobCour1");
        QCOMPARE(course->itemText(0), QString("0-모두보기"));
        selectText(course, "1-교구");
        QCOMPARE(g->rowCount(), 2);
        QComboBox *cls = child<QComboBox>(&s, "CobScl");
        QCOMPARE(cls->count(), 3);
        selectText(cls, "입장권");
        QCOMPARE(g->rowCount(), 1);
        QCOMPARE(g->cell(0, 3), QString("자유수영"));
        selectText(course, "0-모두보기");
        child<QCheckBox>(&s, "Chk사용")->setChecked(true);
        QCOMPARE(g->rowCount(), 2);
    }

    void editorAddsInARowAndChanges()
    {
        GoodsEditDialog add(m_ui, "N", 0);
        QCOMPARE(add.windowTitle(), QString("상품등록-(추가)"));
        selectText(child<QComboBox>(&add, "CobCour1"), "1-교구");
        selectText(child<QComboBox>(&add, "CobScl"), "수영용품");
        child<QLineEdit>(&add, "TxtItName")->setText("수모");
        child<MoneyEdit>(&add, "TxtItAmt")->setText("8,000");
        child<QLineEdit>(&add, "TxtBarCode")->setText("880002");
        m_msg.clear();
        click(&add, "Cmd저장");
        QCOMPARE(m_msg.texts(), QStringList{"상품정보를 저장했읍니다.."});
        QCOMPARE(db().scalar("SELECT ItCode FROM Item WHERE ItName = '수모'").toString(), QString("101-0002"));
        // Ready for the next: name and price cleared, course and bar code kept.
        QCOMPARE(child<QLineEdit>(&add, "TxtItName")->text(), QString());
        QCOMPARE(child<MoneyEdit>(&add, "TxtItAmt")->amount(), 0);
        QCOMPARE(child<QLineEdit>(&add, "TxtBarCode")->text(), QString("880002"));
        QCOMPARE(child<QComboBox>(&add, "CobCour1")->currentText(), QString("1-교구"));
        click(&add, "Cmd저장");
        QCOMPARE(m_msg.last().text, QString("상품명을 입력하세요"));
        QCOMPARE(m_msg.last().title, QString("자료저장"));

        const qint64 id = db().scalar("SELECT ItId FROM Item WHERE ItName = '수모'").toLongLong();
        GoodsEditDialog change(m_ui, "C", id);
        QCOMPARE(change.windowTitle(), QString("교구등록-(수정)"));
        QCOMPARE(child<QLineEdit>(&change, "TxtItName")->text(), QString("수모"));
        QCOMPARE(child<QComboBox>(&change, "CobScl")->currentText(), QString("수영용품"));
        child<QCheckBox>(&change, "Chk사용")->setChecked(false);
        QSignalSpy saved(&change, &GoodsEditDialog::itemSaved);
        QVERIFY(change.save());
        QCOMPARE(saved.count(), 1);
        QCOMPARE(change.result(), int(QDialog::Accepted));
        const auto row = db().queryOne("SELECT ItCode, ItUse FROM Item WHERE ItId = ?", {id});
        QCOMPARE(row->str("ItCode"), QString("101-0003"));
        QCOMPARE(row->str("ItUse"), QString("0"));
    }

    void deleteFromTheList()
    {
        GoodsListScreen s(m_ui);
        DataGrid *g = child<DataGrid>(&s, "SpItem");
        g->setCurrentRow(g->findKey(m_sold));
        m_msg.clear();
        m_msg.answer(true);
        QVERIFY(!s.deleteCurrent());
        QCOMPARE(m_msg.shown().first().text, QString("현제 선택한 자료를 삭제하시겠읍니까?"));
        QVERIFY(m_msg.last().text.startsWith("판매(사용)된 상품은 삭제할수 없읍니다"));
        const qint64 unsold = db().scalar("SELECT ItId FROM Item WHERE ItName = '수모'").toLongLong();
        g->setCurrentRow(g->findKey(unsold));
        m_msg.answer(true);
        QVERIFY(s.deleteCurrent());
        QCOMPARE(g->findKey(unsold), -1);
    }

    void classGrid()
    {
        GoodsClassScreen s(m_ui);
        s.show();
        QVERIFY(QTest::qWaitForWindowActive(&s));
        MaintenanceGrid *g = child<MaintenanceGrid>(&s, "SpScl");
        QCOMPARE(g->rowCount(), 3); // two classes and the empty row for a new one
        QCOMPARE(g->rowCells(1), (QStringList{"02", "입장권"}));
        // A name typed on the empty row (as the input method delivers Hangul).
        g->setFocus();
        g->setCurrentCell(2, 1);
        g->edit(g->model()->index(2, 1));
        auto *editor = g->viewport()->findChild<QLineEdit *>();
        QVERIFY(editor);
        QInputMethodEvent typed;
        typed.setCommitString("대여품");
        QApplication::sendEvent(editor, &typed);
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(g->cell(2, 0), QString("03"));
        QCOMPARE(db().scalar("SELECT SclassN FROM Sclass WHERE PsGroup = 'S' AND Course = '1' AND Sclass = '03'").toString(),
                 QString("대여품"));
        m_msg.clear();
        g->setCurrentCell(1, 1);
        emit g->deleteRequested(1);
        QCOMPARE(m_msg.last().text, QString("강좌등록에 사용된 분류코드는 삭제할수 없읍니다"));
    }

    void pickList()
    {
        ItemPickList p(m_ui);
        QCOMPARE(p.windowTitle(), QString("교구조회"));
        child<QLineEdit>(&p, "TxtItName")->setText("880001");
        QTest::keyClick(child<QLineEdit>(&p, "TxtItName"), Qt::Key_Return);
        QCOMPARE(p.grid()->rowCount(), 1);
        QVERIFY(p.pickCurrent());
        QVERIFY(p.TF);
        QCOMPARE(p.ItId, db().scalar("SELECT ItId FROM Item WHERE BarCode = '880001'").toLongLong());
    }
};

QTEST_MAIN(TstGoodsScreens)
#include "tst_goodsscreens.moc"
