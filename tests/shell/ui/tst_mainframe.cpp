// The main frame: menus and toolbar, permissions by grade, opening screens
// through the registry, ending the program; business details saved through
// the frame.
// FITROVA_DB_TEST
// FITROVA_TEST_TIMEOUT 120: its cases build installations of their own, on PostgreSQL each a
// database created and dropped.

#include "foundation/inifile.h"
#include "foundation/programlist.h"
#include "shell/ui/mainframe.h"
#include "widgets/screenregistry.h"
#include "shell/ui/allscreens.h"
#include "settings/ui/settingsscreens.h"
#include "testinstall.h"
#include "uitest.h"

#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

using namespace fitrova;
using fitrova::test::TestInstall;
using namespace fitrova::test;

namespace {

QString describe(const QList<QAction *> &actions)
{
    QStringList parts;
    for (const QAction *a : actions)
        parts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return parts.join(QLatin1Char('|'));
}

QStringList enabledCommands(const MainFrame &frame)
{
    QStringList names;
    for (const QAction *a : frame.findChildren<QAction *>())
        if (a->isEnabled() && !a->objectName().isEmpty()
            && (a->objectName().startsWith(QLatin1String("Menu")) || a->objectName().startsWith(QLatin1String("Tb1_"))))
            names << a->objectName();
    names.sort();
    names.removeDuplicates();
    return names;
}

QStringList allCommands()
{
    QStringList names{QStringLiteral("Menu75"), QStringLiteral("Menu9"),  QStringLiteral("Menu10"),
                      QStringLiteral("Tb1_15"), QStringLiteral("Menu56"), QStringLiteral("Menu57")};
    for (const ProgramEntry &e : programEntries()) {
        names << QLatin1String(e.menu);
        if (e.toolbar)
            names << QStringLiteral("Tb1_%1").arg(e.toolbar);
    }
    names.sort();
    return names;
}

} // namespace

class TestMainFrame : public QObject {
    Q_OBJECT

    struct Fixture {
        TestInstall inst;
        ScriptedMessages msg;
        UiContext ui{inst.ctx(), msg};
        ScreenRegistry registry;
        bool ended = false;
        std::unique_ptr<MainFrame> frame;
        void build()
        {
            frame = std::make_unique<MainFrame>(ui, registry);
            frame->setEndProgram([this] { ended = true; });
            frame->show();
        }
    };

    static void grant(const Db &db, const QString &grade, const QStringList &programs)
    {
        db.exec(QStringLiteral("DELETE FROM Grade WHERE GrCode = ?"), {grade});
        for (const QString &pg : programs)
            db.exec(QStringLiteral("INSERT INTO Grade (GrCode, PgID, UUse) VALUES (?, ?, '1')"), {grade, pg});
    }

private Q_SLOTS:
    void menusAndToolbar()
    {
        Fixture f;
        f.build();
        QStringList top;
        for (const QAction *a : f.frame->menuBar()->actions())
            top << a->text();
        QCOMPARE(top, QStringList({"기초자료(&1)", "회원관리(&2)", "강습/출석관리(&4)", "영업관리(&5)", "통계/그래프(&6)",
                                   "시스템관리(&7)", "보조관리(&8)", "홈페이지(&9)", "작업종료(&X)"}));
        const QStringList items = {
            "사용처등록|사용자환경등록|코드등록|-|분류설정|강사등록|-|프로그램등록|교구등록",
            "회원접수|회원입장|-|회원조회(DM/SMS)|포인트현황|미납회원현황|-|상품판매(일일입장)",
            "유효/만기/도래회원 조회|강좌별 수강현황|-|일자별 입장현황|회원별 입장현황|회원출석부",
            "매출일보/집계표|수강현황(연기/취소/양도)|판매현황(상세)|-|카드사별 매출집계|강습회원 결산현황|-|일일마감|상품판매현황",
            "입장현황 그래프|판매현황 그래프|-|월별 일일 매출집계표|월별 일일 입장객 현황|유효/만기회원 변동현황",
            "사용자등록|사용프로그램 설정|비밀번호변경|-|자료백업|-|입력자료삭제",
            "계정/적요 등록|수입/지출 등록|수입/지출 조회|-|스케쥴 관리",
        };
        for (int i = 0; i < items.size(); ++i)
            QCOMPARE(describe(f.frame->menuBar()->actions().at(i)->menu()->actions()), items.at(i));
        auto *tb = f.frame->findChild<QToolBar *>(QStringLiteral("Tb1"));
        QVERIFY(tb);
        QCOMPARE(describe(tb->actions()),
                 QStringLiteral("교구등록|-|회원접수|-|회원입장|-|입장현황|-|수강현황|-|매출일보|-|회원현황|-|작업종료"));
        // The whole frame, its status bar included, lies on the screen's free area.
        const QRect available = f.frame->screen()->availableGeometry();
        QVERIFY(available.contains(f.frame->geometry()));
        QVERIFY(f.frame->statusBar()->isVisible());
        QVERIFY(f.frame->windowTitle().startsWith(f.inst.ctx().engine == Engine::SQLite ? "BrenmoorA Ver " : "BrenmoorS Ver "));
        QVERIFY(f.frame->windowTitle().endsWith(QStringLiteral("DESK1-관리자")));
    }

    void permissions_data()
    {
        QTest::addColumn<QString>("grade");
        QTest::addColumn<QStringList>("programs"); // "*" every program
        QTest::addColumn<QString>("siteClass");
        QTest::addColumn<QStringList>("expected"); // "*" every command; "-X" every command but X
        const QStringList always{"Menu10", "Menu9", "Tb1_15"};
        QTest::newRow("grade without programs") << "2" << QStringList{} << "" << always;
        QTest::newRow("grade 1 with every program") << "1" << QStringList{"*"} << "" << QStringList{"*"};
        QTest::newRow("other grade with every program") << "3" << QStringList{"*"} << "" << QStringList{"-Menu75"};
        QTest::newRow("some programs, toolbar follows") << "2" << QStringList{"12", "13", "28", "99"} << ""
                                                        << always + QStringList{"Menu17", "Tb1_1", "Menu21", "Tb1_3", "Menu71"};
        QTest::newRow("closing and sales status follow the sale and the detailed takings")
            << "2" << QStringList{"16", "40"} << "" << always + QStringList{"Menu26", "Menu56", "Menu53", "Menu57"};
        QTest::newRow("site class closes the workstation settings") << "1" << QStringList{"*"} << "noset"
                                                                    << QStringList{"-Menu12"};
        QTest::newRow("another site class does not") << "1" << QStringList{"05"} << "CENTER"
                                                      << always + QStringList{"Menu12", "Menu75"};
    }
    void permissions()
    {
        QFETCH(QString, grade);
        QFETCH(QStringList, programs);
        QFETCH(QString, siteClass);
        QFETCH(QStringList, expected);
        Fixture f;
        if (programs == QStringList{"*"}) {
            programs.clear();
            for (const ProgramEntry &e : programEntries())
                programs << QLatin1String(e.pgId);
        }
        grant(f.inst.db(), grade, programs);
        f.inst.ctx().user.grCode = grade;
        f.inst.ctx().dbSettings.dbClass = siteClass;
        f.build();
        if (expected == QStringList{"*"})
            expected = allCommands();
        else if (expected.size() == 1 && expected.first().startsWith(QLatin1Char('-'))) {
            const QString except = expected.first().mid(1);
            expected = allCommands();
            expected.removeAll(except);
        }
        expected.sort();
        QCOMPARE(enabledCommands(*f.frame), expected);
    }

    void unbuiltScreen_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("caption");
        QTest::newRow("menu item") << "Menu45" << "회원출석부";
        QTest::newRow("toolbar button") << "Tb1_3" << "회원접수";
    }
    void unbuiltScreen()
    {
        QFETCH(QString, command);
        QFETCH(QString, caption);
        Fixture f;
        f.build();
        f.frame->action(command)->trigger();
        QCOMPARE(f.msg.shown().size(), 1);
        QCOMPARE(f.msg.last().kind, QStringLiteral("info"));
        QCOMPARE(f.msg.last().text, QStringLiteral("준비중인 화면입니다: ") + caption);
        QCOMPARE(f.msg.last().title, QStringLiteral("알림"));
        QVERIFY(f.frame->workspace()->subWindowList().isEmpty());
    }

    // 1024×768 with its window frame where that fits on the free area, else
    // the whole free area: the status bar never lies below the screen.
    void placement_data()
    {
        QTest::addColumn<QRect>("available");
        QTest::addColumn<bool>("maximized");
        QTest::addColumn<QRect>("geometry");
        const QMargins frame(4, 30, 4, 4);
        QTest::newRow("1024x768 with a task bar") << QRect(0, 0, 1024, 728) << true << QRect(4, 30, 1016, 694);
        QTest::newRow("exactly 1024x768") << QRect(0, 0, 1024, 768) << true << QRect(4, 30, 1016, 734);
        QTest::newRow("one pixel short") << QRect(0, 0, 1031, 802) << true << QRect(4, 30, 1023, 768);
        QTest::newRow("just fits") << QRect(0, 0, 1032, 802) << false << QRect(4, 30, 1024, 768);
        QTest::newRow("1280x1024") << QRect(0, 0, 1280, 984) << false << QRect(128, 121, 1024, 768);
        QTest::newRow("second screen") << QRect(1920, 0, 1920, 1040) << false << QRect(2368, 149, 1024, 768);
    }
    void placement()
    {
        QFETCH(QRect, available);
        QFETCH(bool, maximized);
        QFETCH(QRect, geometry);
        const MainFrame::Placement p = MainFrame::placementOn(available, QMargins(4, 30, 4, 4));
        QCOMPARE(p.maximized, maximized);
        QCOMPARE(p.geometry, geometry);
        QVERIFY(available.contains(p.geometry.marginsAdded(QMargins(4, 30, 4, 4))));
    }

    void openingTwiceRaisesTheSameWindow()
    {
        Fixture f;
        registerSettingsScreens(f.registry);
        f.build();
        QWidget *business = f.frame->openScreen(QStringLiteral("Menu11"));
        QVERIFY(business);
        QCOMPARE(business->objectName(), QStringLiteral("사업장등록"));
        QWidget *settings = f.frame->openScreen(QStringLiteral("Menu12"));
        QCOMPARE(f.frame->workspace()->activeSubWindow()->widget(), settings);

        f.frame->action(QStringLiteral("Menu11"))->trigger();
        QCOMPARE(f.frame->workspace()->subWindowList().size(), 2);
        QCOMPARE(f.frame->workspace()->activeSubWindow()->widget(), business);

        // Closing the screen with its own button closes its window; the next
        // opening builds it anew.
        QPointer<QWidget> old = business;
        business->findChild<QPushButton *>(QStringLiteral("Cmd닫기"))->click();
        QTRY_VERIFY(old.isNull());
        QTRY_COMPARE(f.frame->workspace()->subWindowList().size(), 1);
        QVERIFY(!f.frame->openedScreen(QStringLiteral("Menu11")));
        QWidget *again = f.frame->openScreen(QStringLiteral("Menu11"));
        QVERIFY(again);
        QCOMPARE(f.frame->workspace()->subWindowList().size(), 2);
    }

    void modalScreen()
    {
        Fixture f;
        QPointer<QDialog> shown;
        f.registry.add(QStringLiteral("Menu73"), [&](UiContext &, QWidget *parent) -> QWidget * {
            auto *d = new QDialog(parent);
            d->setObjectName(QStringLiteral("비밀번호변경"));
            shown = d;
            return d;
        }, ScreenMode::Modal);
        f.build();
        expectModal([](QDialog *d) {
            QCOMPARE(d->objectName(), QStringLiteral("비밀번호변경"));
            QVERIFY(d->isModal());
            d->accept();
        });
        QCOMPARE(f.frame->openScreen(QStringLiteral("Menu73")), nullptr);
        QVERIFY(shown.isNull()); // run to its end and gone
        QCOMPARE(pendingModals(), 0);
        QVERIFY(f.frame->workspace()->subWindowList().isEmpty());
    }

    void endCommand_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("yes");
        QTest::newRow("menu, no") << "Menu10" << false;
        QTest::newRow("menu, yes") << "Menu10" << true;
        QTest::newRow("toolbar, yes") << "Tb1_15" << true;
    }
    void endCommand()
    {
        QFETCH(QString, command);
        QFETCH(bool, yes);
        Fixture f;
        f.build();
        const IniFile ini(f.inst.ctx().paths.iniFile);
        f.msg.answer(yes);
        f.frame->action(command)->trigger();
        QCOMPARE(f.msg.last().text, QStringLiteral("작업을 종료하시겠읍니까"));
        QCOMPARE(f.msg.last().title, QStringLiteral("작업종료"));
        QCOMPARE(f.ended, yes);
        QCOMPARE(f.frame->isVisible(), !yes);
        QCOMPARE(ini.value(QStringLiteral("DATABASE"), QStringLiteral("UPDATECHECK")), yes ? QStringLiteral("NO") : QString());
    }

    void homePageNotConfigured()
    {
        Fixture f;
        f.build();
        QVERIFY(QTest::qWaitForWindowActive(f.frame.get()));
        // Alt+9 does what the click does; the answer is a message box, not the status bar.
        QTest::keyClick(f.frame.get(), Qt::Key_9, Qt::AltModifier);
        QVERIFY(f.msg.lastText().contains(QStringLiteral("HomePage")));
        QCOMPARE(f.msg.last().title, QStringLiteral("홈페이지"));
        f.msg.clear();
        f.frame->action(QStringLiteral("Menu9"))->trigger();
        QVERIFY(f.msg.lastText().contains(QStringLiteral("HomePage")));
    }

    void businessSavedThroughTheFrame()
    {
        Fixture f;
        registerAllScreens(f.registry);
        f.build();
        QWidget *screen = f.frame->openScreen(QStringLiteral("Menu11"));
        QVERIFY(screen);
        QPointer<QWidget> guard = screen;
        const auto set = [&](const char *name, const QString &text) {
            auto *e = screen->findChild<QLineEdit *>(QString::fromUtf8(name));
            QVERIFY2(e, name);
            e->setText(text);
        };
        set("Txt사용처", QStringLiteral("새봄 스포츠센터"));
        set("txt사업자번호", QStringLiteral("211-88-12345"));
        set("Txt주소", QStringLiteral("경기도 성남시 분당구"));
        set("Txt우편번호", QStringLiteral("463010"));
        set("Txt전화번호", QStringLiteral("031-700-1234"));
        set("Txt팩스번호", QString());
        set("txtCeo", QStringLiteral("박대표"));
        screen->findChild<QPushButton *>(QStringLiteral("Cmd저장"))->click();

        QCOMPARE(f.msg.last().text, QStringLiteral("저장되었읍니다"));
        QTRY_VERIFY(guard.isNull());
        const Row r = *f.inst.db().queryOne(QStringLiteral("SELECT * FROM Place"));
        QCOMPARE(r.str(QStringLiteral("사용처명")), QStringLiteral("새봄 스포츠센터"));
        QCOMPARE(r.str(QStringLiteral("우편번호")), QStringLiteral("463-010"));
        QCOMPARE(r.str(QStringLiteral("팩스번호")), QString());
        QTRY_VERIFY(f.frame->windowTitle().contains(QStringLiteral(" 새봄 스포츠센터 ")));

        // Opened again, the screen shows what was stored; an empty postal code stays empty.
        screen = f.frame->openScreen(QStringLiteral("Menu11"));
        QCOMPARE(screen->findChild<QLineEdit *>(QStringLiteral("txtCeo"))->text(), QStringLiteral("박대표"));
        screen->findChild<QLineEdit *>(QStringLiteral("Txt우편번호"))->clear();
        screen->findChild<QPushButton *>(QStringLiteral("Cmd저장"))->click();
        QCOMPARE(f.inst.db().scalar(QStringLiteral("SELECT 우편번호 FROM Place")).toString(), QString());
    }
};

QTEST_MAIN(TestMainFrame)
#include "tst_mainframe.moc"
