// FITROVA_DB_TEST
// The locker screens driven offscreen as a clerk would: a group made in the
// group editor with its lockers, a locker taken out of service on the
// number list; a rental from the member card through to the board and its
// release there; renewal, move and cancellation from the member card; the
// reports and the rental status handing its renters to SMS; every screen
// fitting the workspace of a 1024×768 main frame.

#include "uitest.h"
#include <QtTest>

#include "../lockerbuilders.h"
#include "demo/lockergen.h"
#include "lockers/ui/lockerboardscreen.h"
#include "lockers/ui/lockergroupdialog.h"
#include "lockers/ui/lockergroupscreen.h"
#include "lockers/ui/lockermap.h"
#include "lockers/ui/lockernumberscreen.h"
#include "lockers/ui/lockerpicker.h"
#include "lockers/ui/lockerreportscreen.h"
#include "lockers/ui/lockerscreens.h"
#include "lockers/ui/rentalchangedialogs.h"
#include "lockers/ui/rentaldialog.h"
#include "lockers/ui/rentalstatusscreen.h"
#include "members/ui/memberscreen.h"
#include "messaging/smsrecipients.h"
#include "messaging/ui/smsscreens.h"
#include "testinstall.h"
#include "widgets/datagrid.h"
#include "widgets/dateedit.h"
#include "widgets/moneyedit.h"
#include "widgets/screenregistry.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabBar>
#include <functional>

using namespace fitrova;
using namespace fitrova::test;

namespace {

const QString A = QStringLiteral("00000001"), B = QStringLiteral("00000002");

// Types text as the input method delivers Hangul.
void typeInto(QWidget *w, const QString &text)
{
    w->setFocus();
    if (auto *e = qobject_cast<QLineEdit *>(w))
        e->selectAll();
    QInputMethodEvent ev;
    ev.setCommitString(text);
    QApplication::sendEvent(w, &ev);
}

// Opens registered screens as the main frame does; a dialog is handed to
// `drive` (the clerk at the modal window) and then closed.
class TestHost : public ScreenHost {
public:
    ScreenRegistry registry;
    UiContext *ui = nullptr;
    std::function<void(QWidget *)> drive;
    QStringList modalsOpened;
    QList<QPointer<QWidget>> opened;

    QWidget *openScreen(const QString &name, const ScreenArgs &args) override
    {
        const ScreenEntry *e = registry.find(name);
        if (!e)
            return nullptr;
        QWidget *w = e->factory(*ui, nullptr, args);
        if (!w)
            return nullptr;
        if (e->mode == ScreenMode::Modal) {
            modalsOpened << name;
            w->show();
            if (drive)
                drive(w);
            delete w;
            return nullptr;
        }
        w->setAttribute(Qt::WA_DeleteOnClose);
        w->resize(1000, 620);
        w->show();
        opened << w;
        return w;
    }
};

void saveShot(QWidget *w, const char *name)
{
    const QString dir = qEnvironmentVariable("LOCKER_SHOTS");
    if (dir.isEmpty())
        return;
    w->resize(1000, 620);
    QApplication::processEvents();
    w->grab().save(dir + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
}

int rowWithKey(DataGrid *g, qint64 key) { return g->findKey(key); }

} // namespace

class TstLockerScreens : public QObject {
    Q_OBJECT
private:
    TestInstall m_inst;
    ScriptedMessages m_msg;
    TestHost m_host;
    UiContext m_ui{m_inst.ctx(), m_msg, &m_host};
    const Db &db() { return m_inst.db(); }

private slots:
    void initTestCase()
    {
        m_host.ui = &m_ui;
        registerLockerScreens(m_host.registry);
        m_inst.ctx().options.opt4 = 1;
    }
    void init()
    {
        m_msg.clear();
        m_msg.setDefaultAnswer(true);
        m_host.drive = nullptr;
        m_host.modalsOpened.clear();
        clearLockers(db());
        addLockerMember(db(), A, "김민지", "01012345678", "850315", "2234567");
        addLockerMember(db(), B, "이서준", "01098765432");
    }
    void cleanup()
    {
        for (const QPointer<QWidget> &w : m_host.opened)
            delete w.data();
        m_host.opened.clear();
    }

    void everyScreenIsRegistered()
    {
        for (const QString &name : lockerRentalScreenNames() + lockerManagementScreenNames())
            QVERIFY2(m_host.registry.contains(name), qPrintable(name));
    }

    // A new group with 30 lockers in the editor; the list shows its range.
    void groupEditorMakesLockers()
    {
        LockerGroupScreen list(m_ui);
        list.show();
        LockerGroupDialog dlg(m_ui, QStringLiteral("N"), QString());
        dlg.show();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        QCOMPARE(dlg.windowTitle(), QString("사물함코드 등록 - 신규"));
        QCOMPARE(child<QLineEdit>(&dlg, "TxtBoxCode")->text(), QString("1"));
        connect(&dlg, &LockerGroupDialog::saved, &list, &LockerGroupScreen::reload);

        // Without a name: the message, and the cursor in the name.
        click(&dlg, "Cmd저장");
        QCOMPARE(m_msg.last().title, QString("사물함명을 입력하세요.."));
        QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(&dlg, "TxtBoxName"));

        typeInto(child<QLineEdit>(&dlg, "TxtBoxName"), QStringLiteral("남자탈의실"));
        child<MoneyEdit>(&dlg, "TxtSamt")->setText("10,000");
        child<MoneyEdit>(&dlg, "TxtUamt")->setText("5000");
        child<QLineEdit>(&dlg, "TxtNum1")->setText("1");
        child<QLineEdit>(&dlg, "TxtNum2")->setText("30");
        m_msg.clear();
        click(&dlg, "Cmd저장");
        QCOMPARE(m_msg.texts(), QStringList{"저장되었읍니다"});
        QVERIFY(dlg.TF);
        // Ready for the next group.
        QCOMPARE(child<QLineEdit>(&dlg, "TxtBoxCode")->text(), QString("2"));
        QVERIFY(child<QLineEdit>(&dlg, "TxtBoxName")->text().isEmpty());

        DataGrid *grid = child<DataGrid>(&list, "SpPerBox");
        QCOMPARE(grid->rowCount(), 1);
        QCOMPARE(grid->rowCells(0).mid(0, 2), QStringList({"1", "남자탈의실"}));
        QCOMPARE(grid->cell(0, 3), QString("10,000"));
        QCOMPARE(grid->cell(0, 5), QString("1 - 30"));
        saveShot(&list, "group-list");

        // The change editor shows the group and leaves the numbers alone.
        LockerGroupDialog change(m_ui, QStringLiteral("C"), QStringLiteral("1"));
        QCOMPARE(change.windowTitle(), QString("사물함코드 등록 - 수정"));
        QCOMPARE(child<QLineEdit>(&change, "TxtBoxName")->text(), QString("남자탈의실"));
        QCOMPARE(child<QLineEdit>(&change, "TxtNum2")->text(), QString("30"));
        QVERIFY(!child<QLineEdit>(&change, "TxtNum1")->isEnabled());
    }

    void numberListMarksAndDeletes()
    {
        addLockerGroup(db(), "1", "남자탈의실", 10000, 5000, 1, 10);
        QVERIFY(rentLocker(m_inst.ctx(), RentalInput{A, {"1", 4}, "2024-05-10", "2024-05-10", "2024-06-09", 1, 10000, 5000}).saved);
        LockerNumberScreen screen(m_ui);
        screen.show();
        DataGrid *grid = child<DataGrid>(&screen, "SpPerBoxS");
        QCOMPARE(child<QComboBox>(&screen, "CobPerbox")->currentText(), QString("1-남자탈의실"));
        QCOMPARE(grid->rowCount(), 10);
        QCOMPARE(grid->rowCells(3), QStringList({"4", "1", A, "김민지", "2024-05-10", "2024-06-09"}));

        // Out of service by its tick.
        grid->setChecked(rowWithKey(grid, 2), 1, true);
        emit grid->cellEdited(rowWithKey(grid, 2), 1);
        QCOMPARE(db().scalar("SELECT UUse FROM PerBoxS WHERE BoxNum = 2").toString(), QString("1"));
        // A renter's locker is not freed by the tick.
        m_msg.clear();
        grid->setChecked(rowWithKey(grid, 4), 1, false);
        emit grid->cellEdited(rowWithKey(grid, 4), 1);
        QCOMPARE(m_msg.last().title, QString("수정불가"));
        QCOMPARE(db().scalar("SELECT UUse FROM PerBoxS WHERE BoxNum = 4").toString(), QString("1"));
        QVERIFY(grid->isChecked(rowWithKey(grid, 4), 1));

        // Delete on a rented locker is refused; on a free one it asks and deletes.
        m_msg.clear();
        screen.deleteLocker(rowWithKey(grid, 4));
        QCOMPARE(m_msg.texts(), QStringList{"사용중인 사물함번호는 삭제할수 없습니다."});
        m_msg.clear();
        grid->setFocus();
        grid->setCurrentRow(rowWithKey(grid, 10));
        QTest::keyClick(grid, Qt::Key_Delete);
        QCOMPARE(m_msg.texts(), QStringList{"현제 선택한 자료를 삭제하시겠읍니까?"});
        QCOMPARE(grid->rowCount(), 9);
        saveShot(&screen, "number-list");
    }

    // The member card opens the rental for its member; the board shows it
    // and takes it back.
    void rentalFromTheMemberCardToTheBoard()
    {
        addLockerGroup(db(), "1", "남자탈의실", 10000, 5000, 1, 30);
        addLockerGroup(db(), "10", "헬스 개인사물함", 20000, 10000, 1, 300);
        MemberScreen card(m_ui);
        card.show();
        QVERIFY(card.showMember(A));
        saveShot(&card, "member-card");

        m_host.drive = [&](QWidget *w) {
            auto *dlg = qobject_cast<RentalDialog *>(w);
            QVERIFY(dlg);
            saveShot(dlg, "rental");
            // The second group: its prices are offered.
            auto *tabs = child<QTabBar>(dlg, "STab");
            QCOMPARE(tabs->count(), 2);
            tabs->setCurrentIndex(1);
            QCOMPARE(child<QLabel>(dlg, "SPerName")->text(), QString("10.헬스 개인사물함"));
            QCOMPARE(child<MoneyEdit>(dlg, "TxtSamt")->amount(), 20000);
            QCOMPARE(child<MoneyEdit>(dlg, "TxtUamt")->amount(), 10000);
            DataGrid *grid = child<DataGrid>(dlg, "SpPerBox");
            QCOMPARE(grid->rowCount(), 300);
            // Chosen on the map of the group.
            click(dlg, "Cmd배치도");
            QApplication::processEvents();
            LockerMap *map = dlg->picker()->map();
            QVERIFY(map->isVisible());
            QTest::mouseClick(map->widget(), Qt::LeftButton, {}, map->tileRect(7).center());
            QCOMPARE(child<QLabel>(dlg, "SPerNum")->text(), QString("7"));
            QCOMPARE(grid->rowKey(grid->currentRow()).toLongLong(), 7);
            saveShot(dlg, "rental-map");
            auto *months = child<QComboBox>(dlg, "Cob개월");
            months->setCurrentIndex(2);
            QCOMPARE(child<DateEdit>(dlg, "TxtDate2")->dateText(), QString("2024-08-09"));
            click(dlg, "Cmd저장");
            QVERIFY(dlg->TF);
        };
        QAction *rent = card.findChild<QAction *>(QStringLiteral("사물함신청"));
        QVERIFY(rent);
        rent->trigger();
        QCOMPARE(m_host.modalsOpened, QStringList{"사물함신청"});
        QCOMPARE(m_msg.texts(), QStringList({"헬스 개인사물함 7 번 개인사물함을 신청하시겠습니까?",
                                             "사물함 신청작업이 완료되었습니다."}));
        const auto row = db().queryOne("SELECT * FROM RqPerBox");
        QCOMPARE(row->str("BoxCode"), QString("10"));
        QCOMPARE(row->str("UseDate2"), QString("2024-08-09"));
        QCOMPARE(row->num("Samt"), 20000);

        // The board, opened at the locker.
        auto *board = qobject_cast<LockerBoardScreen *>(
            m_host.openScreen(QStringLiteral("사물함현황"), {{"BoxCode", "10"}, {"BoxNum", 7}}));
        QVERIFY(board);
        QCOMPARE(board->currentGroupCode(), QString("10"));
        QCOMPARE(board->currentNumber(), 7);
        LockerMap *map = board->map();
        QCOMPARE(map->lockers().size(), 300);
        QCOMPARE(map->lockers()[6].tile, LockerTile::Rented);
        QCOMPARE(map->lockers()[6].mbName, QString("김민지"));
        QCOMPARE(board->counts(), (BoardCounts{299, 1, 0, 0}));
        QCOMPARE(board->history()->rowCount(), 1);
        QCOMPARE(board->history()->cell(0, 0), QString("신청"));
        QCOMPARE(child<QLabel>(board, "PnlMbName")->text(), QString("김민지"));
        QCOMPARE(child<QLabel>(board, "PnlJuno")->text(), QString("850315-2******"));
        // 300 lockers are readable at 1024×768: tiles keep their size and the map scrolls.
        QVERIFY(map->columns() >= 6);
        QVERIFY(map->tileRect(7).width() >= 70);
        QVERIFY(map->tileRect(7).height() >= 48);
        saveShot(board, "board");

        // A click on another tile shows it.
        const QRect tile = map->tileRect(8);
        QTest::mouseClick(map->widget(), Qt::LeftButton, {}, tile.center());
        QCOMPARE(board->currentNumber(), 8);
        QCOMPARE(board->history()->rowCount(), 0);
        QVERIFY(!child<QPushButton>(board, "Cmd해지")->isEnabled());

        // Delete on the rented tile: the release, and the deposit handed back.
        QVERIFY(board->chooseLocker(7));
        m_msg.clear();
        map->widget()->setFocus();
        QTest::keyClick(map->widget(), Qt::Key_Delete);
        QCOMPARE(m_msg.texts(), QStringList({"사물함 사용을 해지 하시겠습니까?", "보증금 20,000원을 반환하시겠습니까?"}));
        QCOMPARE(map->lockers()[6].tile, LockerTile::Free);
        const auto release = db().queryOne("SELECT * FROM RqPerBox WHERE RqGubun = '5'");
        QVERIFY(release);
        QCOMPARE(release->num("Ramt"), 20000);
        QCOMPARE(board->history()->cell(0, 0), QString("관취"));
        m_msg.clear();
        QTest::keyClick(map->widget(), Qt::Key_Delete);
        QCOMPARE(m_msg.texts(), QStringList{"사물함 사용이 이미 해지되었습니다."});
    }

    void renewalMoveAndCancellationFromTheCard()
    {
        addLockerGroup(db(), "1", "남자탈의실", 10000, 5000, 1, 20);
        QVERIFY(rentLocker(m_inst.ctx(), RentalInput{A, {"1", 3}, "2024-04-01", "2024-04-01", "2024-04-30", 1, 10000, 5000}).saved);
        MemberScreen card(m_ui);
        card.show();
        QVERIFY(card.showMember(A));

        // Renewal: from today.
        m_host.drive = [&](QWidget *w) {
            auto *dlg = qobject_cast<RenewalDialog *>(w);
            QVERIFY(dlg);
            QCOMPARE(child<QLabel>(dlg, "SPerNum")->text(), QString("3"));
            QCOMPARE(child<QLabel>(dlg, "PnlPeriod")->text(), QString("2024-04-01 ~ 2024-04-30"));
            QCOMPARE(child<DateEdit>(dlg, "TxtDate1")->dateText(), QString("2024-05-10"));
            QCOMPARE(child<DateEdit>(dlg, "TxtDate2")->dateText(), QString("2024-06-09"));
            QCOMPARE(child<MoneyEdit>(dlg, "TxtSamt")->amount(), 0);
            QCOMPARE(child<MoneyEdit>(dlg, "TxtUamt")->amount(), 5000);
            click(dlg, "Cmd저장");
            QVERIFY(dlg->TF);
        };
        card.findChild<QAction *>(QStringLiteral("사물함재등록"))->trigger();
        QCOMPARE(m_msg.texts().first(), QString("남자탈의실 3 번 개인사물함의 사용기간을 연장하시겠습니까?"));
        QCOMPARE(db().scalar("SELECT EndDate FROM PerBoxS WHERE BoxNum = 3").toString(), QString("2024-06-09"));

        // Move to locker 9.
        m_msg.clear();
        m_host.drive = [&](QWidget *w) {
            auto *dlg = qobject_cast<MoveDialog *>(w);
            QVERIFY(dlg);
            saveShot(dlg, "move");
            DataGrid *grid = child<DataGrid>(dlg, "SpPerBox");
            grid->setCurrentRow(grid->findKey(9));
            QCOMPARE(child<QLabel>(dlg, "SPerNum1")->text(), QString("9"));
            click(dlg, "Cmd저장");
            QVERIFY(dlg->TF);
        };
        card.findChild<QAction *>(QStringLiteral("사물함변경"))->trigger();
        QCOMPARE(m_msg.texts().first(),
                 QString("남자탈의실 3 번 개인사물함을 남자탈의실 9 번 개인사물함으로 변경하시겠습니까?"));
        QCOMPARE(db().scalar("SELECT MbCode FROM PerBoxS WHERE BoxNum = 9").toString(), A);

        // Cancellation with the proposed refund.
        m_msg.clear();
        m_host.drive = [&](QWidget *w) {
            auto *dlg = qobject_cast<CancelDialog *>(w);
            QVERIFY(dlg);
            saveShot(dlg, "cancel");
            QCOMPARE(child<QLabel>(dlg, "SPerNum")->text(), QString("9"));
            QCOMPARE(child<MoneyEdit>(dlg, "TxtRamt")->amount(), 10000);
            click(dlg, "Cmd저장");
            QVERIFY(dlg->TF);
        };
        card.findChild<QAction *>(QStringLiteral("사물함취소"))->trigger();
        QCOMPARE(m_msg.texts(), QStringList({"남자탈의실 9 번 개인사물함을 취소하시겠습니까?", "사물함 사용이 취소 되었습니다."}));
        QCOMPARE(db().scalar("SELECT UUse FROM PerBoxS WHERE BoxNum = 9").toString(), QString("0"));

        // Nothing left to renew.
        m_msg.clear();
        card.findChild<QAction *>(QStringLiteral("사물함재등록"))->trigger();
        QCOMPARE(m_msg.texts(), QStringList{"사용중인 사물함이 없습니다."});
    }

    void reportsAndStatus()
    {
        addLockerGroup(db(), "1", "남자탈의실", 10000, 5000, 1, 10);
        AppContext &ctx = m_inst.ctx();
        QVERIFY(rentLocker(ctx, RentalInput{A, {"1", 1}, "2024-05-02", "2024-03-02", "2024-04-01", 1, 10000, 5000}).saved);
        QVERIFY(rentLocker(ctx, RentalInput{B, {"1", 2}, "2024-05-03", "2024-05-03", "2024-06-02", 1, 10000, 5000}).saved);

        LockerReportScreen report(m_ui);
        report.show();
        click(&report, "Cmd조회");
        DataGrid *rentals = report.grid(LockerReportKind::Rentals);
        QCOMPARE(rentals->rowCount(), 3);
        QVERIFY(rentals->isTotalRow(2));
        QCOMPARE(rentals->cell(2, 0), QString("[합  계]"));
        QCOMPARE(rentals->cell(0, 10), QString("850315-2******"));
        report.showTab(LockerReportKind::All);
        saveShot(&report, "reports");

        QList<MemberContacts> handed;
        RentalStatusScreen status(m_ui, nullptr, [&](UiContext &, const MemberContacts &m, QWidget *) { handed << m; });
        status.show();
        child<QComboBox>(&status, "Cob사용")->setCurrentIndex(2);
        child<QCheckBox>(&status, "Chk만기일")->setChecked(true);
        click(&status, "Cmd조회");
        QCOMPARE(status.grid()->rowCount(), 1);
        QCOMPARE(status.grid()->cell(0, RsMbName), QString("김민지"));
        click(&status, "Cmd문자전송");
        QCOMPARE(handed.size(), 1);
        QCOMPARE(handed[0], (MemberContacts{{A, "김민지", "01012345678", {}, {}, {}, "2024-04-01"}}));
        child<QCheckBox>(&status, "Chk만기일")->setChecked(false);
        click(&status, "Cmd조회");
        QCOMPARE(status.grid()->rowCount(), 2);
        saveShot(&status, "status");

        // Through the SMS screen's own hand-over: its title and the 만기일 column.
        QVariantMap smsArgs;
        m_host.registry.add(QStringLiteral("SMS"), [&](UiContext &, QWidget *, const ScreenArgs &args) -> QWidget * {
            smsArgs = args;
            return nullptr;
        });
        RentalStatusScreen toSms(m_ui, nullptr, smsMemberHandover());
        click(&toSms, "Cmd조회");
        click(&toSms, "Cmd문자전송");
        m_host.registry.remove(QStringLiteral("SMS"));
        const SmsHandover h = smsHandoverOf(smsArgs);
        QCOMPARE(h.title, QString("사물함 미반납자회원 문자보내기"));
        QCOMPARE(h.dateHeading, QString("만기일"));
        QCOMPARE(h.members.size(), 2);
        QCOMPARE(h.members[1].listDate, QString("2024-06-02"));

        // Without an SMS screen the desk is told so.
        RentalStatusScreen alone(m_ui);
        m_msg.clear();
        click(&alone, "Cmd문자전송");
        QCOMPARE(m_msg.texts().size(), 1);
    }

    void screensFitTheWorkspace()
    {
        addLockerGroup(db(), "1", "남자탈의실", 10000, 5000, 1, 10);
        QVERIFY(rentLocker(m_inst.ctx(), RentalInput{A, {"1", 1}, "2024-05-02", "2024-05-02", "2024-06-01", 1, 10000, 5000}).saved);
        std::vector<std::unique_ptr<QWidget>> screens;
        screens.emplace_back(new LockerGroupScreen(m_ui));
        screens.emplace_back(new LockerNumberScreen(m_ui));
        screens.emplace_back(new LockerReportScreen(m_ui));
        screens.emplace_back(new RentalStatusScreen(m_ui));
        screens.emplace_back(new LockerBoardScreen(m_ui));
        screens.emplace_back(new RentalDialog(m_ui, A));
        screens.emplace_back(new MoveDialog(m_ui, memberRentals(db(), A)));
        screens.emplace_back(new RenewalDialog(m_ui, memberRentals(db(), A)));
        screens.emplace_back(new CancelDialog(m_ui, memberRentals(db(), A)));
        screens.emplace_back(new CorrectionDialog(m_ui, 0, memberRentals(db(), A)));
        screens.emplace_back(new LockerGroupDialog(m_ui, QStringLiteral("N"), QString()));
        for (const auto &w : screens) {
            const QSize min = w->minimumSizeHint();
            QVERIFY2(min.width() <= 1010 && min.height() <= 640,
                     qPrintable(QStringLiteral("%1 %2x%3").arg(w->objectName()).arg(min.width()).arg(min.height())));
            QVERIFY2(w->sizeHint().width() <= 1010, qPrintable(w->objectName()));
        }
        if (!qEnvironmentVariableIsEmpty("LOCKER_SHOTS")) {
            // A board with three years behind it, for the eye.
            generateBenchLockers(db(), QDate(2024, 5, 10), 2, 3, 11);
            screens.emplace_back(new LockerBoardScreen(m_ui));
            screens.back()->setObjectName(QStringLiteral("board-generated"));
            for (const auto &w : screens) {
                w->resize(w->sizeHint().boundedTo(QSize(1000, 620)));
                w->show();
                QApplication::processEvents();
                w->grab().save(qEnvironmentVariable("LOCKER_SHOTS") + "/" + w->objectName() + ".png");
            }
        }
    }
};

QTEST_MAIN(TstLockerScreens)
#include "tst_lockerscreens.moc"
