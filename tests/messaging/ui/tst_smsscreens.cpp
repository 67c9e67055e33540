// FITROVA_DB_TEST
// The SMS screens driven as the desk uses them: from the member list's
// 문자전송 through the SMS login to the SMS screen, the preview and bulk send,
// the stand-in's delivery and the history; a second list handed over to the
// open screen; the message box's limit, the typed number, the templates,
// the reservation calendar; and the account administration with deposits.

#include "uitest.h"
#include <QtTest>

#include "../../members/memberbuilders.h"
#include "../smsfixture.h"
#include "data/text.h"
#include "members/ui/batchquerydialog.h"
#include "members/ui/memberlistscreen.h"
#include "messaging/smsstandin.h"
#include "messaging/ui/smsaccountdialogs.h"
#include "messaging/ui/smsaccountscreen.h"
#include "messaging/ui/smscalendardialog.h"
#include "messaging/ui/smsmainscreen.h"
#include "messaging/ui/smspreviewdialog.h"
#include "messaging/ui/smsscreens.h"
#include "messaging/ui/smstextedit.h"
#include "shell/ui/allscreens.h"
#include "shell/ui/mainframe.h"
#include "widgets/datagrid.h"
#include "widgets/dateedit.h"
#include "widgets/moneyedit.h"
#include "widgets/screenregistry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTabWidget>

using namespace fitrova;
using namespace fitrova::test;

namespace {

QString syllables(int n)
{
    QString s;
    for (int i = 0; i < n; ++i)
        s += QStringLiteral("가");
    return s;
}

void shoot(QWidget *w, const char *name)
{
    const QByteArray dir = qgetenv("FITROVA_SHOT_DIR");
    if (!dir.isEmpty())
        w->grab().save(QString::fromLocal8Bit(dir) + "/" + QString::fromLatin1(name) + ".png");
}

} // namespace

class TstSmsScreens : public QObject {
    Q_OBJECT
    TestInstall m_inst;
    ScriptedMessages m_msg;
    UiContext m_ui{m_inst.ctx(), m_msg};
    std::unique_ptr<SmsProviderFixture> m_sms;

    std::unique_ptr<SmsMainScreen> mainScreen()
    {
        auto desk = std::shared_ptr<SmsDesk>(std::move(m_sms->desk));
        m_sms->desk.reset();
        auto s = std::make_unique<SmsMainScreen>(m_ui, desk);
        s->resize(1000, 620);
        return s;
    }

private slots:
    void initTestCase()
    {
        m_inst.ctx().business.name = QStringLiteral("바다스포츠");
        m_sms = std::make_unique<SmsProviderFixture>(m_inst);
        const Db &db = m_inst.db();
        db.exec("DELETE FROM Member");
        addMember(db, "00000001", QStringLiteral("홍길동"), {}, "010-1111-0001");
        addMember(db, "00000002", QStringLiteral("김영희"), {}, "02-555-0002");
        addMember(db, "00000003", QStringLiteral("박철수"), {}, "016-222-0003");
        addMember(db, "00000004", QStringLiteral("이민수"), {}, "019-3333-0004");
        db.exec("UPDATE Member SET BirthDay = '1990-05-11' WHERE MbCode = '00000001'");
        db.exec("UPDATE Member SET BirthDay = '1985-05-20' WHERE MbCode = '00000003'");
    }
    void cleanupTestCase() { m_sms.reset(); }
    void init()
    {
        m_msg.clear();
        m_sms->reset(100);
    }

    // The member list's 문자전송 → SMS login → SMS screen with the mobile
    // numbers and their birthdays → preview → sent → delivered → history.
    void fromTheMemberListToTheHistory()
    {
        ScreenRegistry registry;
        registerAllScreens(registry);
        MainFrame frame(m_ui, registry);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        auto *list = qobject_cast<MemberListScreen *>(frame.openScreen("Menu23"));
        QVERIFY(list);
        QVERIFY(list->query());

        // A wrong password first, then the right one.
        bool loginShown = false;
        expectModal("frmSMSLogin", [&](QDialog *d) {
            loginShown = true;
            child<QLineEdit>(d, "TxtID")->setText("centre");
            child<QLineEdit>(d, "TxtPass")->setText("wrong");
            click(d, "Cmd확인");
            QCOMPARE(m_msg.last().text, QString("해당 아이디에 비밀번호가 맞지 않습니다."));
            QVERIFY(d->isVisible());
            child<QLineEdit>(d, "TxtPass")->setText("pw1234");
            shoot(d, "sms-login");
            click(d, "Cmd확인");
        });
        click(list, "Cmd문자전송");
        QVERIFY(loginShown);
        auto *sms = qobject_cast<SmsMainScreen *>(frame.openedScreen("SMS"));
        QVERIFY(sms);
        QCOMPARE(m_sms->primary().scalar("SELECT loginN FROM tblMember WHERE custom_id = 'centre'").toInt(), 1);

        // The landline is left out; the date column is the birthday.
        DataGrid *to = sms->recipientGrid();
        QCOMPARE(to->rowCount(), 3);
        QCOMPARE(to->headerText(3), QString("생일"));
        QCOMPARE(to->rowCells(0), (QStringList{"1", "박철수", "016-222-0003", "1985-05-20"}));
        QCOMPARE(child<QLabel>(sms, "PnlCount")->text(), QString("3 명"));
        QCOMPARE(sms->windowTitle(), QString("SMS 문자전송"));
        QCOMPARE(child<QLabel>(sms, "PnlBalance")->text(), QString("100 건"));

        to->setChecked(2, 0, false); // 홍길동 stays, 이민수 not
        to->setChecked(1, 0, false);
        to->setChecked(2, 0, true);
        child<SmsTextEdit>(sms, "TxtMsg")->setText(QStringLiteral("{{이름}}님 {{날짜}} 생일 축하 -{{사용처}}-"));
        QCOMPARE(child<QLabel>(sms, "LblByte")->text(),
                 QString::number(ansiLen(QStringLiteral("{{이름}}님 {{날짜}} 생일 축하 -{{사용처}}-"))) + "/80byte");
        shoot(&frame, "sms-main");

        bool previewShown = false;
        expectModal("frmSmsPreview", [&](QDialog *d) {
            previewShown = true;
            auto *p = static_cast<SmsPreviewDialog *>(d);
            QCOMPARE(p->grid()->rowCount(), 2);
            QCOMPARE(p->grid()->cell(0, 2), QString("박철수님 1985-05-20 생일 축하 -바다스포츠-"));
            QCOMPARE(p->grid()->cell(1, 2), QString("홍길동님 1990-05-11 생일 축하 -바다스포츠-"));
            shoot(d, "sms-preview");
            click(d, "Cmd전송");
        });
        click(sms, "Cmd전송");
        QVERIFY(previewShown);
        QCOMPARE(m_msg.last().text, QString("문자 발송을 완료하였습니다,\n성공:2건  실패:0건\n(09:00:00)"));
        auto *log = child<QListWidget>(sms, "LstLog");
        QCOMPARE(log->count(), 1);
        QVERIFY(log->item(0)->text().endsWith("SMS OK 즉시발송 성공:2건 실패:0건"));
        QCOMPARE(child<QLabel>(sms, "PnlBalance")->text(), QString("98 건"));
        QCOMPARE(m_sms->count("send_zelmar"), 2);

        // The stand-in delivers; the history shows both.
        QCOMPARE(deliverDueMessages(m_sms->primary(), m_sms->results(), m_inst.clock().now()).taken, 2);
        child<QTabWidget>(sms, "TabMain")->setCurrentIndex(1);
        click(sms, "Cmd조회");
        QCOMPARE(sms->historyGrid()->rowCount(), 2);
        QCOMPARE(child<QLabel>(sms, "PnlHistoryCount")->text(), QString("2 건 (성공 2, 실패 0)"));
        child<QComboBox>(sms, "CobSearch")->setCurrentIndex(1);
        child<QLineEdit>(sms, "TxtSearch")->setText("2220003");
        click(sms, "Cmd조회");
        QCOMPARE(sms->historyGrid()->rowCount(), 1);
        QCOMPARE(sms->historyGrid()->cell(0, 0), QString("박철수"));
        shoot(&frame, "sms-history");
        child<QTabWidget>(sms, "TabMain")->setCurrentIndex(2);
        QCOMPARE(sms->depositGrid()->rowCount(), 0);

        // Another list handed over to the open screen: new rows, its title and
        // date heading, no second login.
        QWidget lockers;
        lockers.setObjectName("사물함대여현황");
        MemberContacts renters{MemberContact{"00000009", "최사물", "010-9999-0009", {}, {}, {}, "2024-05-31"}};
        handOverToSms(m_ui, renters, {}, &lockers);
        QCOMPARE(frame.openedScreen("SMS"), sms);
        QCOMPARE(sms->recipientGrid()->rowCount(), 1);
        QCOMPARE(sms->recipientGrid()->headerText(3), QString("만기일"));
        QCOMPARE(sms->windowTitle(), QString("사물함 미반납자회원 문자보내기"));
        QCOMPARE(qobject_cast<QMdiSubWindow *>(sms->parentWidget())->windowTitle(),
                 QString("사물함 미반납자회원 문자보내기"));
        QCOMPARE(sms->checkedMessages().size(), 1);

        // The SMS screen fits the workspace of the 1024×768 frame.
        auto *sub = qobject_cast<QMdiSubWindow *>(sms->parentWidget());
        const QSize area = frame.workspace()->viewport()->size();
        QVERIFY2(sub->width() <= area.width() && sub->height() <= area.height(),
                 qPrintable(QString("%1x%2 in %3x%4").arg(sub->width()).arg(sub->height()).arg(area.width()).arg(area.height())));
    }

    // The batch query hands its members over with their expiry dates.
    void batchQueryHandsOverExpiry()
    {
        const Db &db = m_inst.db();
        db.exec("DELETE FROM Lecture");
        Lect l;
        l.mbCode = "00000003";
        l.mbName = QStringLiteral("박철수");
        l.sDate2 = "2024-06-30";
        addLecture(db, l);
        MemberContacts handed;
        QString caller;
        MemberScreenHooks hooks;
        hooks.sendSms = [&](UiContext &, const MemberContacts &m, QWidget *parent) {
            handed = m;
            caller = parent->objectName();
        };
        BatchQueryDialog dlg(m_ui, hooks);
        child<QComboBox>(&dlg, "CobGubun")->setCurrentIndex(3); // 수강신청회원
        child<DateEdit>(&dlg, "Dtp1")->setDateText("2024-05-01");
        child<DateEdit>(&dlg, "Dtp2")->setDateText("2024-05-31");
        click(&dlg, "Cmd조회");
        click(&dlg, "Cmd문자전송");
        QCOMPARE(handed.size(), 1);
        const SmsHandover h = smsHandoverOf(smsScreenArgs(handed, caller));
        QCOMPARE(h.dateHeading, QString("만기일"));
        QCOMPARE(smsRecipientsOf(h.members), (QList<SmsRecipient>{{"00000003", "박철수", "016-222-0003", "2024-06-30"}}));
        db.exec("DELETE FROM Lecture");
    }

    // Without an [SMS] connection, or with the login cancelled, nothing opens.
    void notConfiguredOrCancelled()
    {
        auto desk = std::make_shared<SmsDesk>();
        expectModal("frmSMSLogin", [&](QDialog *d) { click(d, "Cmd취소"); });
        QVERIFY(!openSmsMainScreen(m_ui, desk, {}, nullptr));
        QVERIFY(!desk->login.loggedIn());

        TestInstall bare;
        UiContext ui{bare.ctx(), m_msg};
        QVERIFY(!openSmsMainScreen(ui, std::make_shared<SmsDesk>(), {}, nullptr));
        QVERIFY(m_msg.last().text.startsWith("SMS 사용설정이 되어있지 않습니다."));

        // No screen host: the hand-over of an empty list says so.
        handOverToSms(m_ui, {}, {}, nullptr);
        QCOMPARE(m_msg.last().text, QString("전송할 회원이 없습니다"));
    }

    void messageBox()
    {
        auto s = mainScreen();
        auto *text = child<SmsTextEdit>(s.get(), "TxtMsg");
        text->setText(syllables(41));
        QCOMPARE(text->text(), syllables(40));
        QCOMPARE(child<QLabel>(s.get(), "LblByte")->text(), QString("80/80byte"));
        text->setText("a");
        click(s.get(), "CmdName");
        QCOMPARE(text->text(), QString("a{{이름}}"));
        // The placeholder that no longer fits is cut whole characters at a time.
        text->setText(QString(76, 'x'));
        click(s.get(), "CmdPlace");
        QCOMPARE(text->text(), QString(76, 'x') + "{{사");
    }

    void typedNumber()
    {
        auto s = mainScreen();
        child<QCheckBox>(s.get(), "ChkSingle")->setChecked(true);
        QVERIFY(child<QLineEdit>(s.get(), "TxtTel")->isEnabled());
        click(s.get(), "Cmd전송");
        QCOMPARE(m_msg.last().text, QString("메세지 내용을 적어주십시오"));
        child<SmsTextEdit>(s.get(), "TxtMsg")->setText(QStringLiteral("{{사용처}} 휴관 안내"));
        child<QLineEdit>(s.get(), "TxtTel")->setText("0212345678");
        click(s.get(), "Cmd전송");
        QCOMPARE(m_msg.last().text, QString("번호가 형식에 맞지 않습니다."));
        child<QLineEdit>(s.get(), "TxtTel")->setText("01012345678");
        click(s.get(), "Cmd전송");
        QVERIFY(child<QListWidget>(s.get(), "LstLog")->item(0)->text().endsWith("SMS OK 즉시발송 010-1234-5678"));
        QCOMPARE(s->balance(), 99);
        QCOMPARE(m_sms->primary().scalar("SELECT msg FROM send_zelmar").toString(), QString("바다스포츠 휴관 안내"));
    }

    // More ticked than the balance covers: refused before the preview.
    void shortfallBeforeThePreview()
    {
        m_sms->reset(1);
        auto s = mainScreen();
        MemberContacts m;
        for (int i = 0; i < 3; ++i)
            m << MemberContact{QString::number(i), "n", QStringLiteral("0101234567%1").arg(i), {}, {}, {}, {}};
        s->setRecipients(smsHandoverOf(smsScreenArgs(m, "출석현황")));
        QCOMPARE(s->recipientGrid()->headerText(3), QString("일자"));
        child<SmsTextEdit>(s.get(), "TxtMsg")->setText("x");
        click(s.get(), "Cmd전송"); // a preview would be a dialog nobody closes
        QCOMPARE(m_msg.last().text, QString("2만큼의 잔여 건수가 부족합니다."));
        child<QCheckBox>(s.get(), "ChkAll")->setChecked(false);
        click(s.get(), "Cmd전송");
        QCOMPARE(m_msg.last().text, QString("문자를 보낼 수신자를 선택해주세요."));
        QCOMPARE(m_sms->count("send_zelmar"), 0);
    }

    void templates()
    {
        auto s = mainScreen();
        click(s.get(), "Cmd수정");
        QCOMPARE(m_msg.last().text, QString("수정할 문자전송내용을 선택해주세요."));
        expectModal("frmSmstmForm", [&](QDialog *d) {
            click(d, "Cmd저장");
            QCOMPARE(m_msg.last().text, QString("제목을 넣어주세요"));
            child<QLineEdit>(d, "TxtTitle")->setText("생일");
            click(d, "CmdName");
            child<SmsTextEdit>(d, "TxtContext")->insertAtCaret("님 생일 축하합니다");
            QCOMPARE(child<QLabel>(d, "LblByte")->text(), QString("26/80bytes"));
            shoot(d, "sms-template");
            click(d, "Cmd저장");
        });
        click(s.get(), "Cmd신규");
        QCOMPARE(s->templateGrid()->rowCount(), 1);
        QCOMPARE(s->templateGrid()->cell(0, 1), QString("{{이름}}님 생일 축하합니다"));
        s->useTemplate(0);
        QCOMPARE(child<SmsTextEdit>(s.get(), "TxtMsg")->text(), QString("{{이름}}님 생일 축하합니다"));

        s->templateGrid()->setCurrentRow(0);
        expectModal("frmSmstmForm", [&](QDialog *d) {
            child<QLineEdit>(d, "TxtTitle")->setText("생일2");
            click(d, "Cmd저장");
        });
        click(s.get(), "Cmd수정");
        QCOMPARE(s->templateGrid()->cell(0, 0), QString("생일2"));

        m_msg.answer(false);
        click(s.get(), "Cmd삭제");
        QCOMPARE(m_msg.last().text, QString("삭제하시겠습니까?"));
        QCOMPARE(m_msg.last().title, QString("삭제여부"));
        QCOMPARE(s->templateGrid()->rowCount(), 1);
        m_msg.answer(true);
        click(s.get(), "Cmd삭제");
        QCOMPARE(s->templateGrid()->rowCount(), 0);
    }

    void calendar()
    {
        SmsCalendarDialog cal(QDateTime(QDate(2024, 5, 10), QTime(14, 35)));
        QCOMPARE(child<QLabel>(&cal, "LblTitle")->text(), QString("2024년 5월 10일"));
        click(&cal, "CmdYearUp");
        click(&cal, "CmdMonthDown");
        QCOMPARE(child<QLabel>(&cal, "LblTitle")->text(), QString("2025년 4월 10일"));
        QCOMPARE(child<QComboBox>(&cal, "CobHour")->currentText(), QString("오후 02"));
        QCOMPARE(cal.reservation(), QString("202504101435"));
        QCOMPARE(cal.dayText(), QString("2025-4-10"));
        cal.resize(420, 380);
        shoot(&cal, "sms-calendar");
    }

    // A reserved bulk send carries its time in the queue.
    void reservedFromThePreview()
    {
        SmsPreviewDialog p(m_ui, *m_sms->desk, {{"01012345678", "가", "예약 문자"}});
        QVERIFY(!child<QComboBox>(&p, "CobHour")->isEnabled());
        p.reserveAt(QDateTime(QDate(2024, 5, 11), QTime(13, 10)));
        QVERIFY(child<QComboBox>(&p, "CobHour")->isEnabled());
        QCOMPARE(p.reservation(), QString("202405111310"));
        QVERIFY(p.send());
        QCOMPARE(m_sms->primary().scalar("SELECT y_time FROM send_zelmar").toString(), QString("202405111310"));
    }

    // The administration: a new login, its deposits, a deposit changed from 100 to 150.
    void accountsAndDeposits()
    {
        SmsAccountScreen s(m_ui, std::make_shared<SmsDesk>());
        QVERIFY(s.isConnected());
        QCOMPARE(s.grid()->rowCount(), 1);
        QCOMPARE(s.grid()->cell(0, 1), QString("centre"));
        QCOMPARE(s.grid()->cell(0, 5), QString("100"));
        expectModal("SMS사용처Sub", [&](QDialog *d) {
            child<QLineEdit>(d, "TxtID")->setText("gym2");
            click(d, "Cmd저장");
            QCOMPARE(m_msg.last().text, QString("패스워드는 필수 입력항목 입니다"));
            child<QLineEdit>(d, "TxtPass")->setText("pw");
            child<QLineEdit>(d, "TxtName")->setText("제2센터");
            child<QLineEdit>(d, "TxtTel")->setText("031-111-2222");
            shoot(d, "sms-account-edit");
            click(d, "Cmd저장");
        });
        click(&s, "Cmd신규");
        QCOMPARE(s.grid()->rowCount(), 2);
        QCOMPARE(s.grid()->currentRow(), 1);
        shoot(&s, "sms-accounts");

        expectModal("sms입금1", [&](QDialog *list) {
            expectModal("SMS입금Sub", [&](QDialog *d) {
                child<MoneyEdit>(d, "TxtAmount")->setText("20,000");
                child<MoneyEdit>(d, "TxtCount")->setText("100");
                shoot(d, "sms-deposit-edit");
                click(d, "Cmd저장");
            });
            click(list, "Cmd신규");
            auto *deposits = static_cast<SmsDepositListDialog *>(list);
            QCOMPARE(deposits->grid()->rowCount(), 1);
            QCOMPARE(child<QLabel>(list, "PnlBalance")->text(), QString("100 건"));
            deposits->grid()->setCurrentRow(0);
            expectModal("SMS입금Sub", [&](QDialog *d) {
                QCOMPARE(child<MoneyEdit>(d, "TxtCount")->amount(), 100);
                child<MoneyEdit>(d, "TxtCount")->setText("150");
                click(d, "Cmd저장");
            });
            click(list, "Cmd수정");
            QCOMPARE(child<QLabel>(list, "PnlBalance")->text(), QString("150 건"));
            QCOMPARE(deposits->grid()->cell(0, 3), QString("150"));
            shoot(list, "sms-deposits");
            click(list, "Cmd닫기");
        });
        click(&s, "Cmd입금");
        QCOMPARE(s.grid()->cell(1, 5), QString("150"));
        QCOMPARE(smsBalance(m_sms->primary(), "gym2"), 150);
    }
};

QTEST_MAIN(TstSmsScreens)
#include "tst_smsscreens.moc"
