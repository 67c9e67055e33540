// FITROVA_DB_TEST
// The enrollment screens driven from the member card, offscreen: one
// enrollment with its receipt on the parallel printer, one refund of it;
// the amount switch panels and checks of the course tab; the system
// printer route of the receipt; the payment screen; refusals that keep a
// screen from opening.

#include <QtTest>

#include "../enrollbuilders.h"
#include "foundation/inifile.h"
#include "enrollment/enrollmentreceipt.h"
#include "enrollment/enrollment.h"
#include "enrollment/ui/changedialogs.h"
#include "enrollment/ui/enrollmentdialog.h"
#include "enrollment/ui/enrollmentscreens.h"
#include "enrollment/ui/pausedialogs.h"
#include "catalogue/ui/programeditdialog.h"
#include "members/memberhistory.h"
#include "members/ui/memberscreen.h"
#include "sales/ui/systemreceiptprinter.h"
#include "sales/ui/receiptpreview.h"
#include "testinstall.h"
#include "uitest.h"
#include "widgets/datagrid.h"
#include "widgets/dateedit.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

using namespace fitrova;
using namespace fitrova::test;

namespace {

QLineEdit *field(QObject *root, const char *name) { return child<QLineEdit>(root, name); }
void typeAmount(QLineEdit *e, const QString &text)
{
    e->setFocus();
    e->setText(text);
    emit e->editingFinished();
}

} // namespace

class TstEnrollmentScreens : public QObject {
    Q_OBJECT
private:
    TestInstall m_inst;
    ScriptedMessages m_msg;
    UiContext m_ui{m_inst.ctx(), m_msg};
    QTemporaryDir m_tmp;
    qint64 m_swim = 0;

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        m_swim = addProgram(m_inst.db(), QStringLiteral("새벽수영"), "1", {{1, 60000, 55000, 50000}, {3, 170000, 160000, 150000}});
        addProgram(m_inst.db(), QStringLiteral("헬스 자유이용"), "2", {{0, 50000}}, "1", 10);
        m_inst.db().exec("INSERT INTO Card (Code, Name) VALUES ('1', '국민'), ('2', '신한')");
        allowCourseChanges(m_inst.db());
        // Receipts go to the parallel printer, a file here.
        IniFile(m_inst.ctx().paths.iniFile).setValue("PRINTER", "LptDevice", m_tmp.filePath("lp0"));
        m_inst.ctx().workstation.printType = "2";
        m_inst.ctx().workstation.posPrint = "1";
        m_inst.ctx().options.opt3 = 1;
        m_inst.ctx().business = {QStringLiteral("브렌무어스포츠"), QStringLiteral("02-123-4567")};
    }

    void init()
    {
        m_msg.clear();
        for (const char *t : {"Member", "Lecture", "Sale", "UserPoint", "WaitList"})
            m_inst.db().exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(t)));
        QFile::remove(m_tmp.filePath("lp0"));
        addEnrollMember(m_inst.db(), "00000001", QStringLiteral("김민지"), 34, QStringLiteral("여"), "77001234");
    }

    void enrollAndRefundFromTheMemberCard()
    {
        MemberScreen s(m_ui, nullptr, MemberScreenHooks{openEnrollmentScreen, {}, {}});
        s.show();
        QVERIFY(s.showMember("00000001"));

        bool seen = false;
        expectModal([&](QDialog *d) {
            seen = true;
            QCOMPARE(d->objectName(), QString("수강등록"));
            QCOMPARE(d->windowTitle(), QString("강좌/상품등록 - 신규"));
            QVERIFY(child<QCheckBox>(d, "Chk인쇄")->isChecked());
            child<QCheckBox>(d, "Chk닫기")->setChecked(true);
            auto *prog = child<QComboBox>(d, "Cobprog1");
            QCOMPARE(prog->currentText(), QString("새벽수영 06:00~06:50 김강사 기간제"));
            child<QComboBox>(d, "CobMonthCnt1")->setCurrentIndex(1); // 3 개월
            QCOMPARE(child<DateEdit>(d, "DtpEdate1")->dateText(), QString("2024-08-09"));
            child<QComboBox>(d, "CobLtAmt1")->setCurrentIndex(1); // 강습료2 160,000
            QCOMPARE(field(d, "TxtTamt1")->text(), QString("160,000"));
            QCOMPARE(field(d, "TxtCashAmt1")->text(), QString("160,000"));
            typeAmount(field(d, "TxtDcAmt1"), "10000");
            QCOMPARE(field(d, "TxtTamt1")->text(), QString("150,000"));
            // All by card, then split: 50,000 cash and 100,000 card.
            click(d, "PnlCard1");
            QCOMPARE(field(d, "TxtCardAmt1")->text(), QString("150,000"));
            QCOMPARE(field(d, "TxtCashAmt1")->text(), QString("0"));
            typeAmount(field(d, "TxtCashAmt1"), "50,000");
            typeAmount(field(d, "TxtCardAmt1"), "100000");
            child<QComboBox>(d, "CobCard1")->setCurrentIndex(1);
            click(d, "Cmd저장");
        });
        click(&s, "Cmd수강등록");
        QVERIFY(seen);
        QCOMPARE(m_msg.last().text, QString("수강신청 자료를 저장했읍니다.."));

        const auto row = m_inst.db().queryOne("SELECT * FROM Lecture WHERE LtGubun = '1'");
        QVERIFY(row);
        QCOMPARE(row->num("TAmt"), 150000);
        QCOMPARE(row->num("CashAmt"), 50000);
        QCOMPARE(row->num("CardAmt"), 100000);
        QCOMPARE(row->str("Card"), QString("2"));
        QCOMPARE(row->str("AmtGubun"), QString("2"));
        QCOMPARE(row->str("Sdate2"), QString("2024-08-09"));
        const qint64 ltid = row->num("Ltid");

        // The receipt went to the printer as bytes.
        QFile lp(m_tmp.filePath("lp0"));
        QVERIFY(lp.open(QIODevice::ReadOnly));
        QCOMPARE(lp.readAll(),
                 buildEnrollmentReceipt(*loadEnrollmentReceipt(m_inst.ctx(), ltid)).bytes(ReceiptLineEnd::Parallel));

        // The card shows it; refund it on 2024-06-10.
        auto *grid = child<DataGrid>(&s, "SpLect");
        QCOMPARE(grid->rowCount(), 1);
        grid->setCurrentRow(0);
        m_inst.clock().setDate(QDate(2024, 6, 10));
        seen = false;
        expectModal([&](QDialog *d) {
            seen = true;
            QCOMPARE(d->windowTitle(), QString("수강환불 - 신규"));
            // T = 91, R = 60: 50,000 ÷ 91 × 60 − 5,000 + 100,000 ÷ 91 × 60 − 10,000 = 83,901 → 83,900.
            QCOMPARE(child<QLabel>(d, "PnlRday")->text(), QString("60"));
            QCOMPARE(field(d, "TxtRamt")->text(), QString("83,900"));
            QCOMPARE(child<QLabel>(d, "PnlCardName")->text(), QString("신한"));
            typeAmount(field(d, "TxtRamt"), "80000");
            child<QComboBox>(d, "Cob결재")->setCurrentIndex(1);
            click(d, "Cmd저장");
        });
        click(&s, "Cmd수강환불");
        m_inst.clock().setDate(QDate(2024, 5, 10));
        QVERIFY(seen);
        QCOMPARE(m_msg.last().text, QString("환불자료를 저장했읍니다.."));
        const auto refund = m_inst.db().queryOne("SELECT * FROM Lecture WHERE LtGubun = '4'");
        QVERIFY(refund);
        QCOMPARE(refund->num("CardAmt"), 80000);
        QCOMPARE(refund->num("BLtid"), ltid);
        QCOMPARE(m_inst.db().scalar("SELECT Sdate2 FROM Lecture WHERE Ltid = ?", {ltid}).toString(), QString("2024-06-10"));
        QCOMPARE(grid->rowCount(), 2); // the card was shown again
    }

    void courseTabChecks()
    {
        EnrollmentRequest req;
        req.mbCode = "00000001";
        EnrollmentDialog d(m_ui, req);
        child<QCheckBox>(&d, "Chk닫기")->setChecked(false);
        child<QCheckBox>(&d, "Chk인쇄")->setChecked(false);
        // A time program without a period ends open.
        child<QComboBox>(&d, "Cobprog1")->setCurrentIndex(1);
        QCOMPARE(child<QComboBox>(&d, "CobMonthCnt1")->currentText(), QString("없음"));
        QVERIFY(!child<DateEdit>(&d, "DtpEdate1")->isEnabled());
        QCOMPARE(child<DateEdit>(&d, "DtpEdate1")->dateText(), QString("9999-12-31"));
        QCOMPARE(child<QComboBox>(&d, "CobLtAmt1")->currentText(), QString("10 시간 50,000"));
        // An amount that cannot be read is named, never saved as 0.
        for (const auto &[name, text, said] :
             {std::tuple{"TxtCashAmt1", "1O0,000", "현금 금액을 숫자로 입력하십시요."},
              std::tuple{"TxtDcAmt1", "5천", "할인금액 금액을 숫자로 입력하십시요."}}) {
            const QString kept = field(&d, name)->text();
            field(&d, name)->setText(QString::fromUtf8(text));
            QVERIFY(!d.saveCourse());
            QCOMPARE(m_msg.last().text, QString::fromUtf8(said));
            QCOMPARE(m_inst.db().scalar("SELECT COUNT(*) FROM Lecture").toInt(), 0);
            field(&d, name)->setText(kept);
        }
        // Entering the card field after a part paid in cash proposes the rest.
        d.show();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        typeAmount(field(&d, "TxtCashAmt1"), "30000");
        field(&d, "TxtCardAmt1")->setFocus();
        QCOMPARE(field(&d, "TxtCardAmt1")->text(), QString("20,000"));
        typeAmount(field(&d, "TxtCardAmt1"), "0");
        // A database failure while saving is told in the system's own words.
        m_inst.db().exec("ALTER TABLE Lecture RENAME TO LectureAway");
        typeAmount(field(&d, "TxtCashAmt1"), "20000");
        QVERIFY(!d.saveCourse());
        m_inst.db().exec("ALTER TABLE LectureAway RENAME TO Lecture");
        QCOMPARE(m_msg.last().text, QString("자료저장중 오류가 발생하였습니다."));
        QCOMPARE(m_inst.db().scalar("SELECT COUNT(*) FROM Lecture").toInt(), 0);
        // Paying more is refused and nothing is saved; the inputs stay.
        typeAmount(field(&d, "TxtCashAmt1"), "60000");
        QVERIFY(!d.saveCourse());
        QCOMPARE(m_msg.last().text, QString("입금액이 결재할 금액보다 많읍니다"));
        QCOMPARE(field(&d, "TxtCashAmt1")->text(), QString("60,000"));
        // Paying less warns, saves and clears the tab for the next enrollment.
        typeAmount(field(&d, "TxtCashAmt1"), "20000");
        QVERIFY(d.saveCourse());
        QCOMPARE(m_msg.texts().mid(m_msg.texts().size() - 2),
                 QStringList({"입금액이 결재할 금액보다 작읍니다..차액은 미납금으로 처리됩니다", "수강신청 자료를 저장했읍니다.."}));
        QVERIFY(d.TF);
        QCOMPARE(m_inst.db().scalar("SELECT MisuAmt FROM Member WHERE MbCode = '00000001'").toLongLong(), 30000);
        QCOMPARE(child<QComboBox>(&d, "Cob할인구분")->currentText(), QString("0.할인없음"));
        // Mileage shows the balance.
        child<QComboBox>(&d, "Cob할인구분")->setCurrentIndex(2);
        QVERIFY(child<QLabel>(&d, "PnlPoint")->isEnabled());
        QCOMPARE(child<QLabel>(&d, "PnlPoint")->text(), QString("0"));

        // The receipt shows on screen as it will print.
        bool previewed = false;
        expectModal([&](QDialog *dlg) {
            previewed = true;
            QCOMPARE(dlg->objectName(), QString("영수증미리보기"));
            auto *preview = qobject_cast<ReceiptPreviewDialog *>(dlg);
            QVERIFY(preview);
            QVERIFY(preview->lines().join("\n").contains("20,000"));
            QVERIFY(!child<QLabel>(dlg, "PicReceipt")->pixmap().isNull());
            click(dlg, "Cmd닫기");
        });
        click(&d, "Cmd미리보기");
        QVERIFY(previewed);
        // A reprint with no printer at the far end says so; the enrollment stays.
        IniFile(m_inst.ctx().paths.iniFile).setValue("PRINTER", "LptDevice", "/nonexistent/lp9");
        click(&d, "Cmd영수증");
        QVERIFY(m_msg.last().text.startsWith(QStringLiteral("영수증 프린터(/nonexistent/lp9)로 출력하지 못했읍니다.")));
        QCOMPARE(m_msg.last().title, QString("영수증출력"));
        IniFile(m_inst.ctx().paths.iniFile).setValue("PRINTER", "LptDevice", m_tmp.filePath("lp0"));
        QCOMPARE(m_inst.db().scalar("SELECT COUNT(*) FROM Lecture").toInt(), 1);

        d.resize(d.sizeHint());
        QVERIFY(d.width() <= 1024 && d.height() <= 768);
        if (const QByteArray dir = qgetenv("FITROVA_SHOT_DIR"); !dir.isEmpty()) {
            d.show();
            d.grab().save(QString::fromLocal8Bit(dir) + "/enrollment.png");
        }
    }

    // Esc or 닫기 on a changed enrollment asks before anything is lost.
    void closingWithChanges_data()
    {
        QTest::addColumn<bool>("byEsc");
        QTest::addColumn<int>("choice");
        QTest::addColumn<bool>("closes");
        QTest::newRow("Esc, 취소") << true << int(Messages::Choice::Cancel) << false;
        QTest::newRow("Esc, 아니오") << true << int(Messages::Choice::No) << true;
        QTest::newRow("닫기, 취소") << false << int(Messages::Choice::Cancel) << false;
        QTest::newRow("닫기, 아니오") << false << int(Messages::Choice::No) << true;
    }
    void closingWithChanges()
    {
        QFETCH(bool, byEsc);
        QFETCH(int, choice);
        QFETCH(bool, closes);
        EnrollmentRequest req;
        req.mbCode = "00000001";
        EnrollmentDialog d(m_ui, req);
        d.show();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        // Unchanged: closes without a word.
        {
            EnrollmentDialog quiet(m_ui, req);
            quiet.show();
            QVERIFY(QTest::qWaitForWindowActive(&quiet));
            m_msg.clear();
            QTest::keyClick(&quiet, Qt::Key_Escape);
            QVERIFY(!quiet.isVisible());
            QVERIFY(m_msg.texts().isEmpty());
        }
        d.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        field(&d, "TxtRemark1")->setText(QStringLiteral("오전반 희망"));
        field(&d, "TxtRemark1")->setFocus();
        m_msg.clear();
        m_msg.answer(Messages::Choice(choice));
        if (byEsc)
            QTest::keyClick(field(&d, "TxtRemark1"), Qt::Key_Escape);
        else
            click(&d, "Cmd닫기");
        QCOMPARE(m_msg.texts(), QStringList{QStringLiteral("변경된 내용을 저장하시겠습니까?")});
        QCOMPARE(d.isVisible(), !closes);
        QCOMPARE(m_inst.db().scalar("SELECT COUNT(*) FROM Lecture").toInt(), 0);
    }

    void modifyAnEnrollment()
    {
        EnrollmentInput in;
        in.mbCode = "00000001";
        in.pgid = m_swim;
        in.monthCnt = 3;
        in.amtGubun = "3";
        in.fee = 150000;
        in.dcGubun = "1";
        in.dcAmt = 10000;
        in.cashAmt = 40000;
        in.cardAmt = 100000;
        in.card = "1";
        in.rqDate = in.sDate1 = "2024-04-01";
        in.sDate2 = "2024-06-30";
        in.remark = QStringLiteral("오전반");
        const qint64 id = saveEnrollment(m_inst.ctx(), in).id;
        m_inst.db().exec("UPDATE Lecture SET Delay = 777, Sdate2 = '2024-07-05' WHERE Ltid = ?", {id});

        EnrollmentRequest req;
        req.jobGubun = "C";
        req.mbCode = "00000001";
        req.ltid = id;
        EnrollmentDialog d(m_ui, req);
        child<QCheckBox>(&d, "Chk닫기")->setChecked(false);
        child<QCheckBox>(&d, "Chk인쇄")->setChecked(false);
        QCOMPARE(d.windowTitle(), QString("강좌/상품등록 - 수정"));
        QCOMPARE(child<QComboBox>(&d, "Cobprog1")->currentData().toList().value(0).toLongLong(), m_swim);
        QCOMPARE(child<QComboBox>(&d, "CobMonthCnt1")->currentText(), QString("3 개월 "));
        QCOMPARE(child<QComboBox>(&d, "CobLtAmt1")->currentText(), QString("강습료3 150,000"));
        QCOMPARE(child<QComboBox>(&d, "Cob할인구분")->currentText(), QString("1.현금할인"));
        QCOMPARE(child<DateEdit>(&d, "DtpFdate1")->dateText(), QString("2024-04-01"));
        QCOMPARE(child<DateEdit>(&d, "DtpEdate1")->dateText(), QString("2024-06-30"));
        QCOMPARE(field(&d, "TxtTamt1")->text(), QString("140,000"));
        QCOMPARE(field(&d, "TxtCashAmt1")->text(), QString("40,000"));
        QCOMPARE(field(&d, "TxtCardAmt1")->text(), QString("100,000"));
        QCOMPARE(child<QComboBox>(&d, "CobCard1")->currentText(), QString("1.국민"));
        QCOMPARE(field(&d, "TxtRemark1")->text(), QString("오전반"));
        typeAmount(field(&d, "TxtCashAmt1"), "30000");
        QVERIFY(d.saveCourse());
        const auto row = m_inst.db().queryOne("SELECT * FROM Lecture WHERE Ltid = ?", {id});
        QCOMPARE(row->num("CashAmt"), 30000);
        QCOMPARE(row->num("Delay"), 777);
        QCOMPARE(m_inst.db().scalar("SELECT MisuAmt FROM Member WHERE MbCode = '00000001'").toLongLong(), 10000);
    }

    void goodsTab()
    {
        const qint64 item = addItem(m_inst.db(), QStringLiteral("수경"), 15000);
        EnrollmentRequest req;
        req.mbCode = "00000001";
        EnrollmentDialog d(m_ui, req);
        child<QCheckBox>(&d, "Chk닫기")->setChecked(false);
        QCOMPARE(field(&d, "TxtPrice2")->text(), QString("15,000"));
        typeAmount(field(&d, "TxtQty2"), "2");
        QCOMPARE(field(&d, "TxtTamt2")->text(), QString("30,000"));
        QVERIFY(d.saveGoods());
        QCOMPARE(m_msg.last().text, QString("상품판매 자료를 저장했읍니다.."));
        const auto s = m_inst.db().queryOne("SELECT * FROM Sale");
        QCOMPARE(s->num("ItId"), item);
        QCOMPARE(s->num("SlAmt"), 30000);
        QCOMPARE(s->str("SlNo"), QString("0001"));
        m_inst.db().exec("DELETE FROM Item");
    }

    void systemPrinterRoute()
    {
        // The receipt through the system printer: its title and lines on the page.
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("pdftotext is not installed");
        const QString pdf = m_tmp.filePath("receipt.pdf");
        Receipt r;
        r.line(QStringLiteral("회원번호 : 00000001")).rule(38);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        QCOMPARE(printReceiptOnPrinter(printer, r, enrollmentReceiptPrinterTitle(), 1), QString());
        QProcess p;
        p.start("pdftotext", {pdf, "-"});
        QVERIFY(p.waitForFinished());
        const QString text = QString::fromUtf8(p.readAllStandardOutput());
        QVERIFY2(text.contains("*****수강영수증*****"), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("회원번호")) && text.contains(QStringLiteral("00000001")), qPrintable(text));

        // Print type "3" goes to the system printer, failures become a message.
        ReceiptOutput out;
        QString titleSeen;
        out.setSystemPrinter([&](const Receipt &, const QString &title, int) {
            titleSeen = title;
            return QStringLiteral("no paper");
        });
        m_inst.ctx().workstation.printType = "3";
        const ReceiptPrintResult res = out.print(m_inst.ctx(), r, enrollmentReceiptPrinterTitle(), 1);
        m_inst.ctx().workstation.printType = "2";
        QVERIFY(!res.ok);
        QCOMPARE(titleSeen, QString("*****수강영수증*****"));
        QVERIFY(res.text.contains("no paper"));
    }

    void paymentScreen()
    {
        m_inst.db().exec("INSERT INTO Lecture (MbCode, LtGubun, PgGubun, TAmt, CashAmt, CardAmt) "
                         "VALUES ('00000001', '1', '1', 50000, 0, 0)");
        EnrollmentRequest req;
        req.screen = EnrollmentScreen::Payment;
        req.mbCode = "00000001";
        req.misuAmt = 50000;
        PaymentDialog d(m_ui, req);
        QCOMPARE(field(&d, "TxtMisuAmt")->text(), QString("50,000"));
        typeAmount(field(&d, "TxtCashAmt"), "30000");
        QCOMPARE(child<QLabel>(&d, "PnlTamt")->text(), QString("30,000"));
        QVERIFY(d.save());
        QCOMPARE(m_msg.last().text, QString("미납금 자료를 저장했읍니다.."));
        QCOMPARE(m_inst.db().scalar("SELECT MisuAmt FROM Member WHERE MbCode = '00000001'").toLongLong(), 20000);
    }

    void changeTransferAndPostponementScreens()
    {
        addEnrollMember(m_inst.db(), "00000002", QStringLiteral("박서준"), 41, QStringLiteral("남"));
        EnrollmentInput in;
        in.mbCode = "00000001";
        in.pgid = m_swim;
        in.monthCnt = 3;
        in.fee = in.cashAmt = 170000;
        in.rqDate = in.sDate1 = "2024-05-01";
        in.sDate2 = "2024-07-31";
        const qint64 base = saveEnrollment(m_inst.ctx(), in).id;
        EnrollmentRequest req;
        req.mbCode = "00000001";
        req.ltid = base;

        // Postponement: an end before the start is refused and set back.
        req.screen = EnrollmentScreen::Postponement;
        PostponementDialog pause(m_ui, req);
        QVERIFY(pause.isReady());
        child<DateEdit>(&pause, "Dtp연기기간1")->setDateText("2024-06-01");
        auto *pauseEnd = child<DateEdit>(&pause, "Dtp연기기간2");
        pauseEnd->setDateText("2024-06-10");
        QTRY_COMPARE(child<QLabel>(&pause, "Pnl연기일수")->text(), QString("10 일"));
        QCOMPARE(child<DateEdit>(&pause, "Dtp수강기간2")->dateText(), QString("2024-06-20"));
        pauseEnd->setDateText("2024-05-20");
        QTRY_COMPARE(m_msg.last().text, QString("연기일자 ERROR"));
        QCOMPARE(pauseEnd->dateText(), QString("2024-06-01"));

        // Typed key by key, a half-typed end before the start is not refused
        // until the clerk leaves the field.
        const int shown = m_msg.shown().size();
        pause.show();
        QVERIFY(QTest::qWaitForWindowActive(&pause));
        pauseEnd->setFocus();
        QTRY_VERIFY(pauseEnd->hasFocus());
        pauseEnd->setDateText("2024-05-15");
        QTest::qWait(20);
        QCOMPARE(m_msg.shown().size(), shown);
        pauseEnd->setDateText("2024-06-15");
        child<DateEdit>(&pause, "Dtp연기기간1")->setFocus(); // the clerk moves on
        QTRY_COMPARE(child<QLabel>(&pause, "Pnl연기일수")->text(), QString("15 일"));
        QCOMPARE(m_msg.shown().size(), shown);
        pause.hide();

        // Class change with the defaults of today.
        req.screen = EnrollmentScreen::ClassChange;
        ClassChangeDialog change(m_ui, req);
        QVERIFY(change.isReady());
        QCOMPARE(child<DateEdit>(&change, "Dtp변경기간1")->dateText(), QString("2024-05-10"));
        QCOMPARE(child<DateEdit>(&change, "Dtp변경기간2")->dateText(), QString("2024-07-31"));
        QCOMPARE(child<QLabel>(&change, "PnlTamt")->text(), QString("170,000"));
        typeAmount(field(&change, "Txt추가금액"), "-5000");
        QVERIFY(change.save());
        QCOMPARE(m_msg.last().text, QString("변경자료를 저장했읍니다.."));
        QCOMPARE(m_inst.db().scalar("SELECT Sdate2 FROM Lecture WHERE Ltid = ?", {base}).toString(), QString("2024-05-09"));
        const qint64 changed = m_inst.db().scalar("SELECT Ltid FROM Lecture WHERE LtGubun = '2'").toLongLong();

        // Transfer of the change row to another member, found by name.
        req.screen = EnrollmentScreen::Transfer;
        req.ltid = changed;
        TransferDialog give(m_ui, req);
        QVERIFY(give.isReady());
        QVERIFY(!give.save());
        QCOMPARE(m_msg.last().text, QString("양도할 회원을 선택하세요"));
        give.search();
        QCOMPARE(m_msg.last().text, QString("검색어를 입력하세요"));
        field(&give, "Txt찾기")->setText(QStringLiteral("박서준"));
        give.search();
        QCOMPARE(child<QLabel>(&give, "PnlSex")->text(), QString("1.남"));
        QVERIFY(give.save());
        QCOMPARE(m_msg.last().text, QString("양도자료를 저장했읍니다.."));
        QCOMPARE(m_inst.db().scalar("SELECT MbCode FROM Lecture WHERE LtGubun = '0'").toString(), QString("00000002"));
        give.resize(give.sizeHint());
        QVERIFY(give.width() <= 1024 && give.height() <= 768);
    }

    void refusedScreensDoNotOpen()
    {
        m_inst.db().exec("INSERT INTO Lecture (MbCode, LtGubun, PgGubun, Course, Sdate1, Sdate2) "
                         "VALUES ('00000001', '4', '1', '1', '2024-05-01', '2024-05-31')");
        const qint64 id = m_inst.db().scalar("SELECT MAX(Ltid) FROM Lecture").toLongLong();
        EnrollmentRequest req;
        req.screen = EnrollmentScreen::Refund;
        req.mbCode = "00000001";
        req.ltid = id;
        QCOMPARE(createEnrollmentScreen(m_ui, req, nullptr), nullptr);
        QCOMPARE(m_msg.last().text, QString("환불처리할 강좌가 없읍니다"));
        req.screen = EnrollmentScreen::ClassChange;
        QCOMPARE(openEnrollmentScreen(m_ui, req, nullptr), std::optional<bool>(false));
        QCOMPARE(m_msg.last().text, QString("반변경할 강좌가 없읍니다"));
    }

    // A full program: the refusal offers the waiting list; the member then
    // waits on the member card and on the program, and a freed place marks
    // the member there.
    void fullProgramOffersTheWaitingList()
    {
        m_inst.db().exec("UPDATE Program SET MaxNum = 1, MaxNumChk = '1' WHERE Pgid = ?", {m_swim});
        addEnrollMember(m_inst.db(), "00000002", QStringLiteral("이수진"));
        m_inst.db().exec("UPDATE Member SET Tel1 = '010-2222-3333' WHERE MbCode = '00000001'");
        EnrollmentInput other;
        other.mbCode = "00000002";
        other.pgid = m_swim;
        other.monthCnt = 1;
        other.fee = other.cashAmt = 60000;
        other.rqDate = other.sDate1 = "2024-05-01";
        other.sDate2 = "2024-05-31";
        QVERIFY(saveEnrollment(m_inst.ctx(), other).saved);

        EnrollmentRequest req;
        req.mbCode = "00000001";
        {
            EnrollmentDialog d(m_ui, req);
            d.show();
            m_msg.clear();
            m_msg.answer(true); // 대기자로 등록하시겠습니까?
            click(&d, "Cmd저장");
            QCOMPARE(m_msg.texts(), (QStringList{"[새벽수영] 정원(1명)이 찼습니다. (수강인원 1명)",
                                                 "대기자로 등록하시겠습니까?",
                                                 "[새벽수영]의 대기자로 등록했습니다. (대기순번 1번)"}));
        }
        QCOMPARE(m_inst.db().scalar("SELECT COUNT(*) FROM Lecture WHERE MbCode = '00000001'").toInt(), 0);

        MemberScreen s(m_ui, nullptr, MemberScreenHooks{openEnrollmentScreen, {}, {}});
        s.show();
        QVERIFY(s.showMember("00000001"));
        auto *waits = child<DataGrid>(&s, "SpWait");
        QCOMPARE(waits->rowCount(), 1);
        QCOMPARE(waits->cell(0, 0), QString("1"));
        QCOMPARE(waits->cell(0, 1), QString("새벽수영"));

        // The place frees: the program's list marks the first waiting member.
        m_inst.db().exec("UPDATE Lecture SET Cancel = 1 WHERE MbCode = '00000002'");
        ProgramEditDialog p(m_ui, "C", m_swim);
        p.show();
        DataGrid *list = p.waitGrid();
        QCOMPARE(list->rowCount(), 1);
        QCOMPARE((QStringList{list->cell(0, 1), list->cell(0, 2), list->cell(0, 3), list->cell(0, 5)}),
                 (QStringList{"00000001", "김민지", "010-2222-3333", "등록가능"}));
        QVERIFY(list->isCellBold(0, 2));
        m_inst.db().exec("UPDATE Program SET MaxNum = 0, MaxNumChk = '0' WHERE Pgid = ?", {m_swim});
    }
};

QTEST_MAIN(TstEnrollmentScreens)
#include "tst_enrollmentscreens.moc"
