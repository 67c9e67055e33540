// FITROVA_DB_TEST
// The point of sale driven offscreen as a desk uses it: class and item
// buttons with paging, keypad and discounts, card payment with its company,
// 완료 to the receipt on the parallel printer, the scan box (bar codes,
// member cards, a scan typed while the focus sits in an amount field), a
// voucher read back from the day's list for 재발행 and 환불, the drawer, two
// printers of which one is the system printer, keyboard-only use, item
// colours, and the screen refused on a workstation without its POS row.

#include <QtTest>

#include "../salesbuilders.h"
#include "foundation/inifile.h"
#include "sales/posreceipt.h"
#include "sales/ui/posscreen.h"
#include "sales/ui/salesscreens.h"
#include "sales/ui/scancatcher.h"
#include "sales/ui/systemreceiptprinter.h"
#include "sales/ui/voucherpicklist.h"
#include "testinstall.h"
#include "uitest.h"
#include "widgets/datagrid.h"
#include "widgets/moneyedit.h"
#include "widgets/screenregistry.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace fitrova;
using namespace fitrova::test;

namespace {

// Records the screens opened and hands voucher keys to the point of sale.
class TestHost : public ScreenHost {
public:
    QList<QPair<QString, ScreenArgs>> opened;
    PosScreen *pos = nullptr;
    QWidget *openScreen(const QString &name, const ScreenArgs &args) override
    {
        opened.append({name, args});
        if (name == QLatin1String("Menu26") && pos) {
            pos->applyScreenArgs(args);
            return pos;
        }
        return nullptr;
    }
};

void typeAmount(QLineEdit *e, const QString &text)
{
    e->setFocus();
    e->setText(text);
    emit e->editingFinished();
}

// A picture of the screen at the desk's size when POS_SHOTS names a folder.
void shot(QWidget *w, const char *name)
{
    const QString dir = qEnvironmentVariable("POS_SHOTS");
    if (dir.isEmpty())
        return;
    w->resize(1024, 768);
    QApplication::processEvents();
    w->grab().save(dir + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TstPosScreen : public QObject {
    Q_OBJECT
private:
    TestInstall m_inst;
    ScriptedMessages m_msg;
    TestHost m_host;
    UiContext m_ui{m_inst.ctx(), m_msg, &m_host};
    QTemporaryDir m_tmp;
    QString m_lp;
    qint64 m_pass = 0, m_cap = 0, m_cola = 0;

    const Db &db() { return m_inst.db(); }
    DataGrid *saleGrid(PosScreen &s) { return child<DataGrid>(&s, "SpSale"); }
    QString panel(PosScreen &s, const char *name) { return child<QLabel>(&s, name)->text(); }
    MoneyEdit *money(PosScreen &s, const char *name) { return child<MoneyEdit>(&s, name); }
    QPushButton *button(PosScreen &s, const char *name) { return child<QPushButton>(&s, name); }

    // The screen shown and active, with the keypad and drawer as a desk
    // leaves them and a clean printer.
    std::unique_ptr<PosScreen> openPos()
    {
        QFile::remove(m_lp);
        auto s = std::make_unique<PosScreen>(m_ui);
        m_host.pos = s.get();
        s->show();
        QApplication::setActiveWindow(s.get());
        if (!QTest::qWaitForWindowActive(s.get()))
            qFatal("the screen did not become active");
        child<QCheckBox>(s.get(), "Chk돈통사용")->setChecked(false);
        m_msg.clear();
        m_host.opened.clear();
        return s;
    }

    PosReceiptData storedReceipt(const VoucherKey &key, PrintKind kind)
    {
        return posReceiptData(*loadVoucher(db(), key), kind, m_inst.ctx().workstation, m_inst.ctx().business,
                              QStringLiteral("관리자"));
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        m_lp = m_tmp.filePath("lp0");
        IniFile(m_inst.ctx().paths.iniFile).setValue("PRINTER", "LptDevice", m_lp);
        setPosWorkstation(m_inst.ctx(), m_lp);
        m_inst.ctx().user.userName = "관리자";
        m_inst.ctx().business.name = "브렌무어스포츠";
        db().exec("DELETE FROM Sclass WHERE PsGroup = 'S'");
        addGoodsCourse(db(), "1", "교구");
        addGoodsCourse(db(), "2", "매점");
        addGoodsClassRow(db(), "1", "01", "수영용품");
        addGoodsClassRow(db(), "1", "02", "입장권");
        addGoodsClassRow(db(), "2", "01", "음료");
        addCardCompany(db(), "1", "비씨카드");
        addCardCompany(db(), "3", "국민카드");
        clearSales(db());
        m_pass = addGoods(db(), "102-0001", "자유수영", 1500);
        m_cap = addGoods(db(), "101-0001", "수모", 8000, "880001");
        addGoods(db(), "101-0002", "옛 수경", 9000, "880009", false);
        for (int i = 1; i <= 25; ++i) {
            const qint64 id = addGoods(db(), QString("201-%1").arg(i, 4, 10, QChar('0')),
                                       QString("음료%1").arg(i, 2, 10, QChar('0')), 1000 + i);
            if (i == 1)
                m_cola = id;
        }
        db().exec("INSERT INTO Member (MbCode, MbName, MbCard, MisuAmt, Point) VALUES ('00000042', '김민지', '77001234', 0, 0)");
        db().exec("INSERT INTO Finish (fDate, FnCnt, FnChk, PsCode) VALUES ('0000-00-00', '2', '0', '0001')");
    }
    void init() { db().exec("DELETE FROM Sale"); }

    void startPanels()
    {
        auto s = openPos();
        QCOMPARE(panel(*s, "PnlPos"), QString("POS 3"));
        QCOMPARE(panel(*s, "PnlUser"), QString("관리자"));
        QCOMPARE(panel(*s, "PnlDate"), QString("2024-05-10"));
        QCOMPARE(panel(*s, "PnlTime"), QString("09:00:00"));
        QCOMPARE(panel(*s, "Pnl차수"), QString("2 교대"));
        QVERIFY(!button(*s, "Cmd재발행")->isVisible());
        QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(s.get(), "TxtcardNo"));
        m_inst.clock().advanceSecs(5);
        QTRY_COMPARE_WITH_TIMEOUT(panel(*s, "PnlTime"), QString("09:00:05"), 3000);
        m_inst.clock().advanceSecs(-5);
    }

    // Three classes shown, one page of twenty items and a second of five;
    // retired items are not offered.
    void classAndItemButtons()
    {
        auto s = openPos();
        QCOMPARE(button(*s, "CmdClass1")->text(), QString("&1 수영용품"));
        QCOMPARE(button(*s, "CmdClass3")->text(), QString("&3 음료"));
        QVERIFY(!button(*s, "CmdClass4")->isVisible());
        QCOMPARE(s->items().size(), 27);
        click(s.get(), "CmdClass3");
        QCOMPARE(s->items().size(), 25);
        QCOMPARE(button(*s, "CmdItem1")->text(), QString("음료01\n1,001"));
        QVERIFY(button(*s, "CmdItem20")->isVisible());
        QCOMPARE(panel(*s, "PnlItemPage"), QString("1 / 2 쪽 (25개)"));
        shot(s.get(), "pos-items");
        click(s.get(), "CmdItemNext");
        QCOMPARE(button(*s, "CmdItem5")->text(), QString("음료25\n1,025"));
        QVERIFY(!button(*s, "CmdItem6")->isVisible());
        QVERIFY(!button(*s, "CmdItemNext")->isEnabled());
        click(s.get(), "CmdClass1");
        QCOMPARE(s->items().size(), 1); // the retired 옛 수경 is not there
        QCOMPARE(s->itemPage(), 0);
    }

    void moreClassesThanButtons()
    {
        for (int i = 3; i <= 12; ++i)
            addGoodsClassRow(db(), "1", QString("%1").arg(i, 2, 10, QChar('0')), QString("분류%1").arg(i));
        auto s = openPos();
        QCOMPARE(s->classes().size(), 13);
        QVERIFY(button(*s, "CmdClass10")->isVisible());
        QCOMPARE(button(*s, "CmdClass10")->text(), QString("&0 분류10"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(s->classPage(), 1);
        QCOMPARE(button(*s, "CmdClass3")->text(), QString("&3 음료"));
        QVERIFY(!button(*s, "CmdClass4")->isVisible());
        db().exec("DELETE FROM Sclass WHERE PsGroup = 'S' AND Course = '1' AND Sclass >= '03'");
    }

    // From the class button to the receipt on the printer.
    void saleToReceipt()
    {
        auto s = openPos();
        click(s.get(), "CmdClass2");
        click(s.get(), "CmdItem1");
        click(s.get(), "CmdNum3");
        click(s.get(), "Cmd수량");
        click(s.get(), "CmdNum1");
        click(s.get(), "CmdNum5");
        click(s.get(), "Cmd할인");
        DataGrid *g = saleGrid(*s);
        QCOMPARE(g->rowCells(0), (QStringList{"02", "자유수영", "3", "3,825", "15 %", "675", "1,500", "4,500"}));
        QLineEdit *scan = child<QLineEdit>(s.get(), "TxtcardNo");
        QTest::keyClicks(scan, "880001");
        QTest::keyClick(scan, Qt::Key_Return);
        QCOMPARE(g->rowCount(), 2);
        QCOMPARE(panel(*s, "PnlSumAmt"), QString("12,500"));
        QCOMPARE(panel(*s, "PnlDcAmt"), QString("675"));
        QCOMPARE(panel(*s, "PnlTotAmt"), QString("11,825"));
        QCOMPARE(money(*s, "PnlCashAmt")->amount(), 11825);

        click(s.get(), "PnlAmtGubun2");
        QFrame *cards = child<QFrame>(s.get(), "Fra카드");
        QVERIFY(cards->isVisible());
        DataGrid *cg = child<DataGrid>(s.get(), "Sp카드사");
        cg->setCurrentRow(1);
        QTest::keyClick(cg, Qt::Key_Return);
        QVERIFY(!cards->isVisible());
        QCOMPARE(panel(*s, "Pnl카드사"), QString("국민카드"));
        QCOMPARE(money(*s, "PnlCardAmt")->amount(), 11825);
        typeAmount(money(*s, "PnlCardAmt"), "8825");
        QCOMPARE(money(*s, "PnlCashAmt")->amount(), 3000);
        child<QCheckBox>(s.get(), "Chk현금영수증")->setChecked(true);
        shot(s.get(), "pos-sale");

        click(s.get(), "Cmd완료");
        QCOMPARE(m_msg.texts(), QStringList{"상품정보를 저장중입니다.."});
        QCOMPARE(s->lastVoucher(), (VoucherKey{"2024-05-10", "0001", "0001"}));
        const Rows rows = db().query("SELECT * FROM Sale ORDER BY SEQ");
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows.at(0).str("CardChk"), QString("3"));
        QCOMPARE(rows.at(0).str("CardGubun"), QString("3"));
        QCOMPARE(rows.at(0).str("CashChk"), QString("1"));
        QCOMPARE(rows.at(0).num("SLTAmt"), 11825);

        const QByteArray printed = readAll(m_lp);
        QCOMPARE(printed, buildPosReceipt(storedReceipt(s->lastVoucher(), PrintKind::Sale)).bytes(ReceiptLineEnd::Parallel));
        QVERIFY(printed.contains(toCp949("*** 영 수 증 ***")));
        QVERIFY(printed.contains(toCp949("자유수영" + QString(14, ' ') + "3" + QString(8, ' ') + "3,825원")));

        // The screen is ready for the next customer.
        QCOMPARE(g->rowCount(), 0);
        QCOMPARE(panel(*s, "PnlTotAmt"), QString("0"));
        QVERIFY(!child<QCheckBox>(s.get(), "Chk현금영수증")->isChecked());
        QCOMPARE(panel(*s, "Pnl카드사"), QString());
    }

    void refusedSaleKeepsTheGrid()
    {
        auto s = openPos();
        s->addItemById(m_cap);
        typeAmount(money(*s, "PnlCardAmt"), "0");
        typeAmount(money(*s, "PnlCashAmt"), "9000");
        click(s.get(), "Cmd완료");
        QCOMPARE(m_msg.last().text, QString("결재금액을 수정하세요"));
        QCOMPARE(m_msg.last().title, QString("판매저장"));
        QCOMPARE(saleGrid(*s)->rowCount(), 1);
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM Sale").toInt(), 0);

        // Keypad refusals leave the line as it was.
        m_msg.clear();
        click(s.get(), "Cmd수량");
        QCOMPARE(m_msg.last().text, QString("수량을 입력하세요"));
        s->reset();
        click(s.get(), "CmdNum2");
        click(s.get(), "Cmd금액");
        QCOMPARE(m_msg.last().text, QString("금액을 적용할 상품이 없읍니다"));
        QCOMPARE(m_msg.last().title, QString("금액입력"));
    }

    void discountButtonsAndLineRemoval()
    {
        auto s = openPos();
        s->addItemById(m_cap);
        s->addItemById(m_pass);
        s->addItemById(m_cap);
        QCOMPARE(saleGrid(*s)->rowCount(), 2);
        QCOMPARE(s->draft().line(0).qty, 2);
        saleGrid(*s)->setCurrentRow(0);
        click(s.get(), "CmdDcYul2"); // 10 %
        QCOMPARE(s->draft().line(0).dcAmt, 1600);
        click(s.get(), "CmdDcAmt2"); // 1000원
        QCOMPARE(s->draft().line(0).dcAmt, 1000);
        QCOMPARE(panel(*s, "PnlTotAmt"), QString("16,500"));
        s->removeLine(0);
        QCOMPARE(saleGrid(*s)->rowCount(), 1);
        QCOMPARE(panel(*s, "PnlTotAmt"), QString("1,500"));
        s->removeLine(0);
        QCOMPARE(panel(*s, "PnlTotAmt"), QString("0"));
    }

    void scanBox_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("opened");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("warning");
        QTest::newRow("member card") << "77001234" << "Menu21" << "MbCode" << "00000042" << "";
        QTest::newRow("member number without zeros") << "42" << "Menu21" << "MbCode" << "00000042" << "";
        QTest::newRow("retired item's bar code") << "880009" << "" << "" << "" << "등록되지않은 바코드(회원번호)입니다";
        QTest::newRow("unknown") << "X-1" << "" << "" << "" << "등록되지않은 바코드(회원번호)입니다";
    }
    void scanBox()
    {
        QFETCH(QString, code);
        QFETCH(QString, opened);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QString, warning);
        auto s = openPos();
        QLineEdit *scan = child<QLineEdit>(s.get(), "TxtcardNo");
        QTest::keyClicks(scan, code);
        QTest::keyClick(scan, Qt::Key_Return);
        QCOMPARE(saleGrid(*s)->rowCount(), 0);
        if (opened.isEmpty()) {
            QVERIFY(m_host.opened.isEmpty());
            QCOMPARE(m_msg.last().text, warning);
        } else {
            QCOMPARE(m_host.opened.size(), 1);
            QCOMPARE(m_host.opened.first().first, opened);
            QCOMPARE(m_host.opened.first().second.value(key).toString(), value);
        }
        QCOMPARE(scan->text(), QString());
    }

    // A reader's scan arriving while the focus sits in the cash field or on a
    // button still reaches the scan box; typing by hand stays in the field.
    void scanWithFocusElsewhere()
    {
        auto s = openPos();
        qint64 now = 0;
        int gap = 5;
        s->scanCatcher()->setClock([&] { return now += gap; });
        s->addItemById(m_pass);
        MoneyEdit *cash = money(*s, "PnlCashAmt");
        cash->setFocus();
        QTest::keyClicks(cash, "880001");
        QTest::keyClick(cash, Qt::Key_Return);
        QCOMPARE(s->draft().size(), 2);
        QCOMPARE(s->draft().line(1).itId, m_cap);
        QCOMPARE(cash->amount(), 9500);

        gap = 400; // a person typing
        cash->setFocus();
        cash->selectAll();
        QTest::keyClicks(cash, "5000");
        QTest::keyClick(cash, Qt::Key_Return);
        QCOMPARE(cash->amount(), 5000);
        QCOMPARE(s->draft().size(), 2);

        // Each key goes where the focus is at that moment, as a reader's do.
        button(*s, "CmdCLR")->setFocus();
        for (const QChar c : QString("880001"))
            QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
        QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(s.get(), "TxtcardNo"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(s->draft().line(1).qty, 2);
    }

    // Everything by keys: F11 to the items, arrows, Enter, the keyboard's
    // digits as keypad, F2, F6 and the card company, F12.
    void keyboardOnly()
    {
        auto s = openPos();
        auto key = [](int k, Qt::KeyboardModifiers m = Qt::NoModifier) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(k), m);
        };
        key(Qt::Key_3, Qt::AltModifier); // class 3: drinks (the button's mnemonic clicks it a moment later)
        QTRY_COMPARE(QApplication::focusWidget(), button(*s, "CmdItem1"));
        QCOMPARE(s->items().size(), 25);
        key(Qt::Key_Right);
        key(Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), button(*s, "CmdItem6"));
        key(Qt::Key_Return);
        key(Qt::Key_Return);
        QCOMPARE(s->draft().line(0).itName, QString("음료06"));
        QCOMPARE(s->draft().line(0).qty, 2);
        key(Qt::Key_Escape);
        QLineEdit *scan = child<QLineEdit>(s.get(), "TxtcardNo");
        QCOMPARE(QApplication::focusWidget(), scan);
        QTest::keyClicks(scan, "4");
        key(Qt::Key_F2);
        QCOMPARE(s->draft().line(0).qty, 4);
        QTest::keyClicks(scan, "10");
        key(Qt::Key_F4);
        QCOMPARE(s->draft().line(0).dcAmt, 402);
        key(Qt::Key_F6);
        QCOMPARE(QApplication::focusWidget(), child<DataGrid>(s.get(), "Sp카드사"));
        key(Qt::Key_Return);
        QCOMPARE(panel(*s, "Pnl카드사"), QString("비씨카드"));
        QCOMPARE(QApplication::focusWidget(), money(*s, "PnlCardAmt"));
        key(Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), scan);
        key(Qt::Key_F12);
        // The offscreen platform activates the printing notice and leaves no
        // window active when it closes; a desktop keeps the screen active.
        QApplication::setActiveWindow(s.get());
        QVERIFY(QTest::qWaitForWindowActive(s.get()));
        QCOMPARE(QApplication::focusWidget(), scan);
        const auto row = db().queryOne("SELECT * FROM Sale");
        QVERIFY(row);
        QCOMPARE(row->num("Slqty"), 4);
        QCOMPARE(row->num("CardAmt"), 3622);
        QCOMPARE(row->str("CardGubun"), QString("1"));
        QCOMPARE(row->str("CardChk"), QString("2"));

        // Delete in the empty scan box takes the current line away; Ctrl+Del all.
        s->addItemById(m_pass);
        s->addItemById(m_cap);
        key(Qt::Key_Up);
        QCOMPARE(s->currentRow(), 0);
        key(Qt::Key_Delete);
        QCOMPARE(s->draft().line(0).itId, m_cap);
        key(Qt::Key_Delete, Qt::ControlModifier);
        QVERIFY(s->draft().isEmpty());
    }

    // A voucher picked in the day's list comes back to the screen; 재발행
    // prints it again and marks it, 환불 writes the negative voucher.
    void reprintAndRefund()
    {
        auto s = openPos();
        s->addItemById(m_pass);
        s->addItemById(m_cap);
        click(s.get(), "Cmd완료");
        const VoucherKey sold = s->lastVoucher();
        QFile::remove(m_lp);

        VoucherPickList list(m_ui, {{"UserCode", "0001"}, {"Course", "0"}, {"sDate", "2024-05-10"}});
        QCOMPARE(list.grid()->rowCount(), 1);
        QCOMPARE(list.grid()->cell(0, 0), QString("0001-0001"));
        QVERIFY(list.pickCurrent());
        QCOMPARE(m_host.opened.last().first, QString("Menu26"));
        QVERIFY(s->isVoucherLoaded());
        QCOMPARE(saleGrid(*s)->rowCount(), 2);
        QVERIFY(button(*s, "Cmd재발행")->isVisible());
        QVERIFY(!button(*s, "Cmd완료")->isEnabled());

        click(s.get(), "Cmd재발행");
        QCOMPARE(readAll(m_lp), buildPosReceipt(storedReceipt(sold, PrintKind::Reprint)).bytes(ReceiptLineEnd::Parallel));
        QVERIFY(readAll(m_lp).contains(toCp949("***영수증(재발행)***")));
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM Sale WHERE Reprint = '1'").toInt(), 2);
        QVERIFY(!s->isVoucherLoaded());

        // Refund of the second line only.
        QFile::remove(m_lp);
        QVERIFY(s->loadVoucher(sold));
        s->removeLine(0);
        m_msg.clear();
        m_msg.answer(true);
        click(s.get(), "Cmd환불");
        QCOMPARE(m_msg.shown().first().text, QString("조회한 전표를 환불하시겠읍니까?"));
        const VoucherKey back = s->lastVoucher();
        QCOMPARE(back.slNo, QString("0002"));
        const auto refund = loadVoucher(db(), back);
        QCOMPARE(refund->lines.size(), 1);
        QCOMPARE(refund->lines.first().qty, -1);
        QCOMPARE(refund->cash, -8000);
        QVERIFY(readAll(m_lp).contains(toCp949("***영수증(환불)***")));
        QVERIFY(readAll(m_lp).contains(toCp949("수모" + QString(18, ' ') + "-1" + QString(7, ' ') + "-8,000원")));

        // Once only.
        QVERIFY(s->loadVoucher(sold));
        m_msg.answer(true);
        click(s.get(), "Cmd환불");
        QCOMPARE(m_msg.last().text, QString("이미 환불된 전표입니다"));
    }

    void drawer()
    {
        auto s = openPos();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F10);
        QCOMPARE(readAll(m_lp), QByteArray("\x1b\x70\x30\x5a\x5a", 5));
        QFile::remove(m_lp);
        child<QCheckBox>(s.get(), "Chk돈통사용")->setChecked(true);
        QVERIFY(drawerSettingOn());
        s->addItemById(m_pass);
        click(s.get(), "Cmd완료");
        QVERIFY(readAll(m_lp).startsWith(QByteArray("\x1b\x70\x30\x5a\x5a\x1b!\x08", 8)));
        child<QCheckBox>(s.get(), "Chk돈통사용")->setChecked(false);
        QVERIFY(!drawerSettingOn());
    }

    // The second printer is the system printer; a failing printer is told
    // about and the sale stays saved.
    void twoPrintersAndAFailure()
    {
        Workstation &ws = m_inst.ctx().workstation;
        ws.posPrint2 = "1";
        ws.printType2 = "3";
        QString systemTitle;
        int systemPages = 0;
        ReceiptOutput out;
        out.setSystemPrinter([&](const Receipt &r, const QString &title, int) {
            systemTitle = title;
            ++systemPages;
            return r.lines().contains("2024-05-10 (금)  09:00:00") ? QString() : QStringLiteral("wrong lines");
        });
        auto s = openPos();
        s->setPrinting(PosPrinting(out));
        s->addItemById(m_pass);
        click(s.get(), "Cmd완료");
        QCOMPARE(systemTitle, QString("*** 계 산 서 ***"));
        QCOMPARE(systemPages, 1);
        QVERIFY(readAll(m_lp).contains(toCp949("*** 영 수 증 ***")));

        IniFile(m_inst.ctx().paths.iniFile).setValue("PRINTER", "LptDevice", "/nonexistent/lp9");
        m_msg.clear();
        s->addItemById(m_pass);
        click(s.get(), "Cmd완료");
        QCOMPARE(m_msg.last().kind, QString("warn"));
        QVERIFY(m_msg.last().text.startsWith("영수증 프린터(/nonexistent/lp9)로 출력하지 못했읍니다."));
        QCOMPARE(db().scalar("SELECT COUNT(DISTINCT SlNo) FROM Sale").toInt(), 2);
        IniFile(m_inst.ctx().paths.iniFile).setValue("PRINTER", "LptDevice", m_lp);
        ws.posPrint2 = "0";
    }

    void systemPrinterThroughPdf()
    {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("pdftotext is not installed");
        PosReceiptData d;
        d.date = "2024-05-10";
        d.time = "09:00:00";
        d.posNo = 3;
        d.userName = "관리자";
        d.userCode = "0001";
        d.slNo = "0001";
        SaleLine l;
        l.itName = "자유수영";
        l.qty = 2;
        l.cost = 1500;
        d.lines = {l};
        d.cash = 3000;
        d.headTitle = "1";
        d.kind = PrintKind::Reprint;
        d.businessName = "브렌무어스포츠";
        const QString pdf = m_tmp.filePath("pos.pdf");
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        QCOMPARE(printReceiptOnPrinter(printer, posDocuments(d, true, false).first(),
                                       posReceiptTitle(d.headTitle, d.kind, true), 1),
                 QString());
        QProcess p;
        p.start("pdftotext", {"-layout", pdf, "-"});
        QVERIFY(p.waitForFinished());
        const QString text = QString::fromUtf8(p.readAllStandardOutput());
        QVERIFY2(text.contains("***입욕권(재발행)***"), qPrintable(text));
        // (pdftotext may not map the fixed-width font's blanks back to spaces.)
        QVERIFY2(text.contains("자유수영") && text.contains("명") && text.contains("3,000원"), qPrintable(text));
        QVERIFY2(text.contains("본권은") && text.contains("브렌무어스포츠"), qPrintable(text));
    }

    void itemColour()
    {
        auto s = openPos();
        click(s.get(), "CmdClass2");
        s->setItemColor(m_pass, QColor(0xFF, 0xCD, 0xD2));
        QCOMPARE(db().scalar("SELECT Color FROM Item WHERE ItId = ?", {m_pass}).toLongLong(), 0xD2CDFF);
        QVERIFY(button(*s, "CmdItem1")->styleSheet().contains("#ffcdd2"));
        s->setItemColor(m_pass, QColor());
        QCOMPARE(db().scalar("SELECT Color FROM Item WHERE ItId = ?", {m_pass}).toLongLong(), 0);
        QVERIFY(button(*s, "CmdItem1")->styleSheet().isEmpty());
    }

    void refusedWithoutPosRow()
    {
        ScreenRegistry r;
        registerSalesScreens(r);
        m_inst.ctx().workstation.found = false;
        QWidget *w = r.find("Menu26")->factory(m_ui, nullptr, {});
        m_inst.ctx().workstation.found = true;
        QVERIFY(!w);
        QCOMPARE(m_msg.last().text, QString("POS정보를 설정후 사용하세요"));
        QCOMPARE(m_msg.last().title, QString("상품판매"));
    }
};

QTEST_MAIN(TstPosScreen)
#include "tst_posscreen.moc"
