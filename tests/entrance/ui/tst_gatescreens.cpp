// FITROVA_DB_TEST
// FITROVA_TEST_TIMEOUT 120: its cases build installations of their own, on PostgreSQL each a
// database created and dropped.
// A morning at the gate, offscreen: five members with different situations
// present their cards at the check-in screen; the visits stored, the message
// panel's texts and colours, the check-out of a time pass, the day list and
// its count, deleting a visit, the clock rolling over midnight; the
// check-out window on its own; the master-card screen.

#include "uitest.h"
#include <QtTest>

#include "../gatebuilders.h"
#include "foundation/inifile.h"
#include "entrance/gatesettings.h"
#include "entrance/ui/checkinscreen.h"
#include "entrance/ui/checkoutdialog.h"
#include "entrance/ui/entrancescreens.h"
#include "widgets/screenregistry.h"
#include "shell/ui/allscreens.h"
#include "entrance/ui/gatesounds.h"
#include "entrance/ui/mastercardscreen.h"
#include "members/memberstore.h"
#include "testinstall.h"
#include "widgets/datagrid.h"
#include "widgets/dateedit.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <pty.h>
#include <unistd.h>

using namespace fitrova;
using namespace fitrova::test;

namespace {

const QColor kBlue(0x00, 0x33, 0xCC);
const QColor kRed(0xD0, 0x10, 0x10);

void present(CheckInScreen &s, const QString &card)
{
    auto *search = child<QLineEdit>(&s, "Txt찾기");
    search->setFocus();
    search->selectAll();
    QTest::keyClicks(search, card);
    QTest::keyClick(search, Qt::Key_Return);
}

QColor panelColour(CheckInScreen &s)
{
    return child<QLabel>(&s, "PnlMsg")->palette().color(QPalette::Window);
}

} // namespace

class TstGateScreens : public QObject {
    Q_OBJECT
private slots:
    void init() { m_msg = ScriptedMessages(); }

    void aMorningAtTheGate()
    {
        TestInstall inst;
        AppContext &ctx = inst.ctx();
        ctx.options.opt6 = 1;   // once a day
        ctx.options.opt7_5 = 0; // program days only
        const Db &db = ctx.ent;
        ensureDefaultCatalogue(ctx);
        setGateSounds(ctx, true);
        inst.clock().set(QDateTime(QDate(2024, 5, 10), QTime(7, 5))); // a Friday

        const qint64 gym = addProgram(db, "헬스");
        const qint64 swim = addProgram(db, "수영 자유", "2");
        addMember(db, "00000001", "김민수", "10000001");
        addMember(db, "00000002", "이영희", "10000002");
        addMember(db, "00000003", "박철수", "10000003");
        addMember(db, "00000004", "최지우", "10000004");
        addMember(db, "00000005", "정수민", "10000005");
        const qint64 minsu = addPeriod(db, "00000001", gym, "2024-05-01", "2024-07-31");
        const qint64 younghee = addPeriod(db, "00000002", gym, "2024-04-15", "2024-05-15");
        addPeriod(db, "00000003", gym, "2024-03-01", "2024-03-31"); // expired
        const qint64 jiwoo = addTimePass(db, "00000004", swim, 600, 100);
        const qint64 sumin = addPeriod(db, "00000005", gym, "2024-05-01", "2024-07-31");
        Lect pause;
        pause.mbCode = "00000005";
        pause.ltGubun = "3";
        pause.sDate1 = "2024-05-06";
        pause.sDate2 = "2024-05-19";
        addDependent(db, sumin, pause, "Delay", "2024-08-13");
        const qint64 towel = addItem(db, "T1", "수건", "880001");
        // The member card stores the mobile in Tel1 and the home number in Tel2.
        {
            MemberRecord m = *loadMemberForCard(ctx.main, "00000001");
            m.tel1 = "010-2222-3333";
            m.tel2 = "02-555-6666";
            QVERIFY(saveMember(ctx.main, m).saved);
        }

        UiContext ui{ctx, m_msg};
        CheckInScreen s(ui);
        QList<qint64> checkOuts;
        s.runCheckOut = [&](qint64 entid) {
            checkOuts << entid;
            CheckOutDialog dlg(ui, entid);
            auto *used = child<QLineEdit>(&dlg, "TxtUtime");
            used->setText("95"); // corrected by hand
            child<QLineEdit>(&dlg, "TxtMemo")->setText("수경 반납");
            click(&dlg, "Cmd퇴장");
            return dlg.JobGubun;
        };
        s.resize(1000, 640);
        s.show();
        QVERIFY(QTest::qWaitForWindowActive(&s));
        QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(&s, "Txt찾기"));
        QCOMPARE(child<QComboBox>(&s, "Cob구분")->currentText(), QStringLiteral("1.카드번호"));
        QCOMPARE(child<QLabel>(&s, "Pnl총인원")->text(), QStringLiteral("0"));
        auto *sounds = s.findChild<GateSounds *>();
        QVERIFY(sounds && sounds->enabled());

        // 1. 김민수 takes a towel and presents the card: admitted, visit written with the towel.
        auto *barcode = child<QLineEdit>(&s, "TxtItcode");
        barcode->setFocus();
        QTest::keyClicks(barcode, "880001");
        QTest::keyClick(barcode, Qt::Key_Return);
        QCOMPARE(child<DataGrid>(&s, "SpItem")->rowCount(), 1);
        QCOMPARE(child<DataGrid>(&s, "SpItem")->rowCells(0), QStringList({"교구", "기본분류", "수건", "880001"}));
        present(s, "10000001");
        QCOMPARE(s.message(), QStringLiteral("정상입장..( 1 회)"));
        QCOMPARE(panelColour(s), kBlue);
        QCOMPARE(child<QLabel>(&s, "Pnl회원명")->text(), QStringLiteral("김민수"));
        QCOMPARE(child<QLabel>(&s, "Pnl휴대폰")->text(), QStringLiteral("010-2222-3333"));
        QCOMPARE(child<QLabel>(&s, "Pnl일반전화")->text(), QStringLiteral("02-555-6666"));
        QCOMPARE(child<DataGrid>(&s, "SpLect")->rowCount(), 1);
        QCOMPARE(child<DataGrid>(&s, "SpHistory")->rowCount(), 1);
        QCOMPARE(child<DataGrid>(&s, "SpHistory")->cell(0, 8), QStringLiteral("수건"));
        QCOMPARE(child<DataGrid>(&s, "SpItem")->rowCount(), 0);
        const auto v1 = db.queryOne("SELECT Entid, InTime, Ltid FROM entrance WHERE MbCode = '00000001'");
        QVERIFY(v1);
        QCOMPARE(v1->str("InTime"), QStringLiteral("07:05"));
        QCOMPARE(v1->num("Ltid"), minsu);
        QCOMPARE(db.scalar("SELECT ItId FROM ItemTrs WHERE Entid = ?", {v1->num("Entid")}).toLongLong(), towel);
        QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(&s, "Txt찾기"));
        QCOMPARE(sounds->admittedPlays(), 1);

        // 2. 이영희: five days left.
        inst.clock().advanceSecs(120);
        present(s, "10000002");
        QCOMPARE(s.message(), QStringLiteral("정상입장.. [ 만기 5 일전 ]"));
        QCOMPARE(panelColour(s), kBlue);
        QCOMPARE(countOf(db, "SELECT COUNT(*) FROM entrance WHERE Ltid = ?", {younghee}), 1);

        // 3. 박철수: expired.
        present(s, "10000003");
        QCOMPARE(s.message(), QStringLiteral("박철수 님은 입장가능한 유효강좌가 없읍니다."));
        QCOMPARE(panelColour(s), kRed);
        QCOMPARE(countOf(db, "SELECT COUNT(*) FROM entrance WHERE MbCode = '00000003'"), 0);
        QCOMPARE(sounds->refusedPlays(), 1);

        // 4. 정수민: postponed.
        present(s, "10000005");
        QCOMPARE(s.message(), QStringLiteral("(2024-05-06~2024-05-19)강좌 연기기간 중에는 입장하실수 없습니다."));
        QCOMPARE(panelColour(s), kRed);
        QCOMPARE(countOf(db, "SELECT COUNT(*) FROM entrance WHERE MbCode = '00000005'"), 0);

        // 5. 최지우, time pass: may enter; the desk presses F10.
        present(s, "10000004");
        QCOMPARE(s.message(), QStringLiteral("입장가능한 회원입니다.."));
        QCOMPARE(panelColour(s), kBlue);
        QCOMPARE(countOf(db, "SELECT COUNT(*) FROM entrance WHERE MbCode = '00000004'"), 0);
        QTest::keyClick(child<QLineEdit>(&s, "Txt찾기"), Qt::Key_F10);
        QCOMPARE(countOf(db, "SELECT COUNT(*) FROM entrance WHERE MbCode = '00000004'"), 1);
        QVERIFY(m_msg.texts().contains(QStringLiteral("정상입장 처리되었읍니다")));
        QVERIFY(s.displayedMember().isEmpty());
        QCOMPARE(child<QLabel>(&s, "Pnl총인원")->text(), QStringLiteral("3"));

        // 김민수 again: once a day.
        present(s, "10000001");
        QCOMPARE(s.message(), QStringLiteral("일일 입장횟수를 초과했읍니다.."));
        QCOMPARE(panelColour(s), kRed);
        QCOMPARE(countOf(db, "SELECT COUNT(*) FROM entrance WHERE MbCode = '00000001'"), 1);

        // An unknown card.
        present(s, "55555555");
        QCOMPARE(m_msg.shown().last().text, QStringLiteral("해당회원을 찾을수 없읍니다."));
        QCOMPARE(m_msg.shown().last().title, QStringLiteral("회원찾기"));

        // 최지우 leaves after 95 minutes: the card again opens the check-out.
        inst.clock().advanceSecs(95 * 60);
        present(s, "10000004");
        QCOMPARE(checkOuts.size(), 1);
        const auto out = db.queryOne("SELECT OutTime, uTime, Memo FROM entrance WHERE Entid = ?", {checkOuts.first()});
        QCOMPARE(out->str("OutTime"), QStringLiteral("08:42"));
        QCOMPARE(out->num("uTime"), 95);
        QCOMPARE(out->str("Memo"), QStringLiteral("수경 반납"));
        QCOMPARE(db.scalar("SELECT uPgCnt FROM Lecture WHERE Ltid = ?", {jiwoo}).toLongLong(), 95);
        QVERIFY(s.displayedMember().isEmpty());

        // The day list: three visits, one of them closed.
        auto *day = child<DataGrid>(&s, "SpDay");
        QCOMPARE(day->rowCount(), 3);
        child<QCheckBox>(&s, "Chk퇴장")->setChecked(true);
        QCOMPARE(day->rowCount(), 2);
        QCOMPARE(child<QLabel>(&s, "Pnl총인원")->text(), QStringLiteral("2"));
        child<QCheckBox>(&s, "Chk퇴장")->setChecked(false);

        // Deleting 이영희's visit from her history.
        m_msg.answer(true);
        present(s, "10000002"); // refused now (already in today), but shown
        auto *history = child<DataGrid>(&s, "SpHistory");
        QCOMPARE(history->rowCount(), 1);
        history->setFocus();
        history->setCurrentRow(0);
        QTest::keyClick(history, Qt::Key_Delete);
        QCOMPARE(m_msg.shown().last().text, QStringLiteral("현제 선택한 자료를 삭제하시겠읍니까?"));
        QCOMPARE(countOf(db, "SELECT COUNT(*) FROM entrance WHERE Ltid = ?", {younghee}), 0);
        QCOMPARE(history->rowCount(), 0);
        QCOMPARE(day->rowCount(), 2);

        // Midnight: a new working day with an empty list.
        inst.clock().set(QDateTime(QDate(2024, 5, 11), QTime(0, 0, 1)));
        s.tick();
        QCOMPARE(s.workingDate(), QStringLiteral("2024-05-11"));
        QCOMPARE(child<QLabel>(&s, "PnlDate")->text(), QStringLiteral("2024-05-11"));
        QCOMPARE(child<DateEdit>(&s, "Dtp적용일자")->dateText(), QStringLiteral("2024-05-11"));
        QCOMPARE(day->rowCount(), 0);
        QCOMPARE(child<QLabel>(&s, "Pnl총인원")->text(), QStringLiteral("0"));
        // Saturday: 김민수 may come again.
        inst.clock().set(QDateTime(QDate(2024, 5, 11), QTime(6, 30)));
        present(s, "10000001");
        QCOMPARE(s.message(), QStringLiteral("정상입장..( 1 회)"));
        QCOMPARE(day->rowCount(), 1);

        if (qEnvironmentVariableIsSet("GATE_SHOT"))
            s.grab().save(qEnvironmentVariable("GATE_SHOT"));
    }

    void searchKindsAndThePickList()
    {
        TestInstall inst;
        AppContext &ctx = inst.ctx();
        ctx.options.opt6 = 3;
        const Db &db = ctx.ent;
        const qint64 gym = addProgram(db, "헬스");
        addMember(db, "00000001", "김민수", "10000001");
        addMember(db, "00000002", "김민지", "10000002");
        addPeriod(db, "00000002", gym, "2024-05-01", "2024-07-31");
        UiContext ui{ctx, m_msg};
        CheckInScreen s(ui);
        int offered = 0;
        s.pickMember = [&](const QList<MemberRecord> &members) {
            offered = members.size();
            return QStringLiteral("00000002");
        };
        s.show();
        auto *kind = child<QComboBox>(&s, "Cob구분");
        kind->setCurrentIndex(4); // 5.회원번호
        present(s, "00000002");
        QCOMPARE(s.message(), QStringLiteral("정상입장..( 1 회)"));
        kind->setCurrentIndex(1); // 2.회원명
        auto *search = child<QLineEdit>(&s, "Txt찾기");
        search->setText(QStringLiteral("김민"));
        click(&s, "Cmd찾기");
        QCOMPARE(offered, 2);
        QCOMPARE(s.displayedMember(), QStringLiteral("00000002"));
        QCOMPARE(s.message(), QStringLiteral("정상입장..( 2 회)"));
        // An empty search does nothing.
        search->clear();
        click(&s, "Cmd찾기");
        QCOMPARE(s.displayedMember(), QStringLiteral("00000002"));
        // An unknown bar code.
        auto *barcode = child<QLineEdit>(&s, "TxtItcode");
        barcode->setFocus();
        QTest::keyClicks(barcode, "000");
        QTest::keyClick(barcode, Qt::Key_Return);
        QCOMPARE(m_msg.shown().last().text, QStringLiteral("등록되지않은 교구상품입니다"));
        QCOMPARE(m_msg.shown().last().title, QStringLiteral("교구등록"));
    }

    void weekdayQuestion()
    {
        TestInstall inst;
        AppContext &ctx = inst.ctx();
        ctx.options.opt6 = 3;
        ctx.options.opt7_5 = 2; // ask
        inst.clock().set(QDateTime(QDate(2024, 5, 12), QTime(9, 0))); // Sunday
        const Db &db = ctx.ent;
        addMember(db, "00000001", "김민수", "10000001");
        addPeriod(db, "00000001", addProgram(db, "평일반", "1", "1111100"), "2024-05-01", "2024-07-31");
        UiContext ui{ctx, m_msg};
        CheckInScreen s(ui);
        s.show();
        m_msg.answer(false);
        present(s, "10000001");
        QCOMPARE(m_msg.shown().last().kind, QStringLiteral("ask"));
        QCOMPARE(panelColour(s), kRed);
        QCOMPARE(countOf(db, "SELECT COUNT(*) FROM entrance"), 0);
        m_msg.answer(true);
        present(s, "10000001");
        QCOMPARE(s.message(), QStringLiteral("정상입장..( 1 회)"));
        QCOMPARE(countOf(db, "SELECT COUNT(*) FROM entrance"), 1);
    }

    // The member panel shows the newest visits (the one just written first)
    // with the count of all; 더보기 brings the rest.
    void memberVisitsInPages()
    {
        TestInstall inst;
        AppContext &ctx = inst.ctx();
        inst.clock().set(QDateTime(QDate(2024, 5, 10), QTime(9, 0)));
        const Db &db = ctx.ent;
        addMember(db, "00000001", "김민수", "10000001");
        const qint64 ltid = addPeriod(db, "00000001", addProgram(db, "헬스"), "2024-01-01", "2024-07-31");
        const int earlier = kVisitPageSize + 10;
        db.transaction([&] {
            for (int i = 0; i < earlier; ++i)
                addVisit(db, "00000001", ltid, QDate(2024, 1, 1).addDays(i).toString(Qt::ISODate), "07:00", "08:00");
        });
        UiContext ui{ctx, m_msg};
        CheckInScreen s(ui);
        s.resize(1000, 640);
        s.show();
        present(s, "10000001");
        QCOMPARE(s.message(), QStringLiteral("정상입장..( 1 회)"));
        DataGrid *history = s.historyGrid();
        QCOMPARE(history->rowCount(), kVisitPageSize);
        QCOMPARE(history->cell(0, 0), QStringLiteral("2024-05-10"));
        QCOMPARE(child<QLabel>(&s, "History건수")->text(),
                 QStringLiteral("전체 %1건 중 %2건").arg(earlier + 1).arg(kVisitPageSize));
        if (qEnvironmentVariableIsSet("GATE_SHOT")) {
            s.resize(1024, 768);
            s.grab().save(qEnvironmentVariable("GATE_SHOT") + ".history.png");
        }
        click(&s, "History더보기");
        QCOMPARE(history->rowCount(), earlier + 1);
        QCOMPARE(history->cell(earlier, 0), QStringLiteral("2024-01-01"));
        QVERIFY(!child<QPushButton>(&s, "History더보기")->isEnabled());
        s.clearMember();
        QCOMPARE(history->rowCount(), 0);
    }

    void busyDayStaysResponsive()
    {
        TestInstall inst;
        AppContext &ctx = inst.ctx();
        const Db &db = ctx.ent;
        const qint64 pgid = addProgram(db, "헬스");
        db.transaction([&] {
            for (int i = 0; i < 2000; ++i) {
                const QString code = QStringLiteral("%1").arg(i + 1, 8, 10, QLatin1Char('0'));
                addMember(db, code, QStringLiteral("회원%1").arg(i), code);
                const qint64 ltid = addPeriod(db, code, pgid, "2024-05-01", "2024-07-31");
                addVisit(db, code, ltid, "2024-05-10", QTime(6, 0).addSecs(i * 25).toString("hh:mm"));
            }
        });
        UiContext ui{ctx, m_msg};
        CheckInScreen s(ui);
        s.resize(1000, 640);
        s.show();
        QVERIFY(QTest::qWaitForWindowExposed(&s));
        QCOMPARE(child<QLabel>(&s, "Pnl총인원")->text(), QStringLiteral("2,000"));
        s.reloadDayList();
        QApplication::processEvents();
        QCOMPARE(s.dayGrid()->rowCount(), 2000);
        QCOMPARE(child<QLabel>(&s, "Pnl총인원")->text(), QStringLiteral("2,000"));

        // Cards at the first, a middle and the last minute of the day, and in
        // a minute already listed: each new line lands where a reload puts it.
        int n = 0;
        for (const QTime at : {QTime(6, 0), QTime(12, 0, 30), QTime(19, 52), QTime(23, 10), QTime(6, 0, 40)}) {
            const QString code = QStringLiteral("9%1").arg(++n, 7, 10, QLatin1Char('0'));
            addMember(db, code, QStringLiteral("늦은회원%1").arg(n), code);
            addPeriod(db, code, pgid, "2024-05-01", "2024-07-31");
            inst.clock().set(QDateTime(QDate(2024, 5, 10), at));
            present(s, code);
            QCOMPARE(s.lastDecision().verdict, GateVerdict::Admitted);
        }
        QVariantList shown;
        for (int r = 0; r < s.dayGrid()->rowCount(); ++r)
            shown << s.dayGrid()->rowKey(r);
        s.reloadDayList();
        QVariantList reloaded;
        for (int r = 0; r < s.dayGrid()->rowCount(); ++r)
            reloaded << s.dayGrid()->rowKey(r);
        QCOMPARE(reloaded.size(), 2005);
        QCOMPARE(shown, reloaded);
    }

    void serialCardReader()
    {
        int master = -1, slave = -1;
        char name[256] = {};
        QVERIFY(openpty(&master, &slave, name, nullptr, nullptr) == 0);
        TestInstall inst;
        AppContext &ctx = inst.ctx();
        ctx.workstation.cardReader = QStringLiteral("1");
        QVERIFY(IniFile(ctx.paths.iniFile).setValue("GATE", "CardDevice", QString::fromLocal8Bit(name)));
        const Db &db = ctx.ent;
        addMember(db, "00000001", "김민수", "10000001");
        addPeriod(db, "00000001", addProgram(db, "헬스"), "2024-05-01", "2024-07-31");
        {
            UiContext ui{ctx, m_msg};
            CheckInScreen s(ui);
            s.show();
            QVERIFY(m_msg.shown().isEmpty()); // the port opened
            const QByteArray line("10000001\r");
            QCOMPARE(::write(master, line.constData(), size_t(line.size())), ssize_t(line.size()));
            QTRY_COMPARE(s.message(), QStringLiteral("정상입장..( 1 회)"));
            QCOMPARE(child<QLineEdit>(&s, "Txt찾기")->text(), QStringLiteral("10000001"));
            QCOMPARE(countOf(db, "SELECT COUNT(*) FROM entrance"), 1);
        }
        ::close(master);
        ::close(slave);
    }

    void menuOpensTheGate()
    {
        TestInstall inst;
        UiContext ui{inst.ctx(), m_msg};
        ScreenRegistry r;
        registerAllScreens(r);
        const ScreenEntry *e = r.find(QStringLiteral("Menu22"));
        QVERIFY(e);
        QCOMPARE(e->mode, ScreenMode::Mdi);
        std::unique_ptr<QWidget> w(e->factory(ui, nullptr, {}));
        QVERIFY(qobject_cast<CheckInScreen *>(w.get()));
        QCOMPARE(w->objectName(), QStringLiteral("회원확인"));
    }

    void checkOutWindow()
    {
        TestInstall inst;
        AppContext &ctx = inst.ctx();
        const Db &db = ctx.ent;
        addMember(db, "00000001", "최지우", "10000004");
        const qint64 ltid = addTimePass(db, "00000001", addProgram(db, "수영 자유", "2"), 600, 580);
        const qint64 entid = addVisit(db, "00000001", ltid, "2024-05-10", "08:30", {}, 0, "2");
        inst.clock().set(QDateTime(QDate(2024, 5, 10), QTime(9, 0)));
        UiContext ui{ctx, m_msg};
        CheckOutDialog dlg(ui, entid);
        QCOMPARE(child<QLabel>(&dlg, "Pnl회원명")->text(), QStringLiteral("최지우"));
        QCOMPARE(child<QLabel>(&dlg, "Pnl입장시간")->text(), QStringLiteral("08:30"));
        QCOMPARE(child<QLabel>(&dlg, "Pnl퇴장시간")->text(), QStringLiteral("09:00"));
        QCOMPARE(child<QLineEdit>(&dlg, "TxtUtime")->text(), QStringLiteral("30"));
        QCOMPARE(child<QLabel>(&dlg, "Pnl잔여시간")->text(), QStringLiteral("0"));
        QCOMPARE(child<QLabel>(&dlg, "Pnl추가시간")->text(), QStringLiteral("10"));
        QCOMPARE(child<QLabel>(&dlg, "Pnl추가시간2")->text(), QStringLiteral("10 분"));
        QVERIFY(child<QLabel>(&dlg, "Pnl추가시간")->styleSheet().contains("#d01010"));
        // The overrun is asked before it is written; 아니오 writes nothing.
        m_msg.answer(false);
        QVERIFY(!dlg.save());
        QVERIFY(m_msg.last().text.startsWith(QStringLiteral("사용시간이 잔여시간을 10 분 초과합니다.")));
        QVERIFY(db.scalar("SELECT OutTime FROM entrance WHERE Entid = ?", {entid}).isNull());
        child<QLineEdit>(&dlg, "TxtUtime")->setText("15");
        QCOMPARE(child<QLabel>(&dlg, "Pnl잔여시간")->text(), QStringLiteral("5"));
        QCOMPARE(child<QLabel>(&dlg, "Pnl추가시간")->text(), QString());
        QVERIFY(child<QLabel>(&dlg, "Pnl추가시간")->styleSheet().isEmpty());
        QCOMPARE(child<QLabel>(&dlg, "PnlUtime")->text(), QStringLiteral("15 분"));
        if (qEnvironmentVariableIsSet("GATE_SHOT"))
            dlg.grab().save(qEnvironmentVariable("GATE_SHOT") + ".checkout.png");
        click(&dlg, "Cmd닫기");
        QCOMPARE(dlg.JobGubun, QStringLiteral("X"));
        QVERIFY(db.scalar("SELECT OutTime FROM entrance WHERE Entid = ?", {entid}).isNull());

        CheckOutDialog missing(ui, entid + 50);
        QVERIFY(!child<QPushButton>(&missing, "Cmd퇴장")->isEnabled());
        QVERIFY(!missing.save());
    }

    void masterCardScreen()
    {
        TestInstall inst;
        AppContext &ctx = inst.ctx();
        const Db &db = ctx.main;
        addMember(db, "00000001", "김민수", "10000001");
        addMember(db, "00000002", "김민지", "10000002");
        UiContext ui{ctx, m_msg};
        MasterCardScreen s(ui);
        s.pickMember = [](const QList<MemberRecord> &) { return QStringLiteral("00000002"); };
        s.show();
        auto *search = child<QLineEdit>(&s, "Txt찾기");
        search->setText(QStringLiteral("김민"));
        click(&s, "Cmd찾기");
        QCOMPARE(s.displayedMember(), QStringLiteral("00000002"));
        QCOMPARE(child<QLabel>(&s, "PnlMast")->text(), QString());
        click(&s, "Cmd등록");
        QCOMPARE(m_msg.shown().last().text, QStringLiteral("마스터 카드회원으로 등록되었읍니다.."));
        QCOMPARE(db.scalar("SELECT Area FROM Member WHERE MbCode = '00000002'").toString(), QStringLiteral("999"));
        QCOMPARE(child<QLabel>(&s, "PnlMast")->text(), QStringLiteral("마스터카드"));
        if (qEnvironmentVariableIsSet("GATE_SHOT"))
            s.grab().save(qEnvironmentVariable("GATE_SHOT") + ".master.png");
        click(&s, "Cmd해제");
        QCOMPARE(m_msg.shown().last().text, QStringLiteral("마스터카드 회원에서 해제되었읍니다.."));
        QCOMPARE(db.scalar("SELECT Area FROM Member WHERE MbCode = '00000002'").toString(), QString());
        QCOMPARE(child<QLabel>(&s, "PnlMast")->text(), QString());
        child<QComboBox>(&s, "Cob구분")->setCurrentIndex(4); // 5.카드번호
        search->setText(QStringLiteral("77777777"));
        click(&s, "Cmd찾기");
        QCOMPARE(m_msg.shown().last().text, QStringLiteral("해당회원을 찾을수 없읍니다"));
        QCOMPARE(m_msg.shown().last().title, QStringLiteral("회원검색"));
        QVERIFY(s.displayedMember().isEmpty());
        click(&s, "Cmd등록"); // nothing displayed: nothing happens
        QCOMPARE(countOf(db, "SELECT COUNT(*) FROM Member WHERE Area = '999'"), 0);
    }

private:
    ScriptedMessages m_msg;
};

#include "tst_gatescreens.moc"
QTEST_MAIN(TstGateScreens)
