#include "shell/ui/mainframe.h"

#include "foundation/inifile.h"
#include "foundation/programlist.h"
#include "shell/users.h"
#include "widgets/deskguard.h"
#include "widgets/widgetutil.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QDesktopServices>
#include <QDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QUrl>

namespace fitrova {

const char *const MainFrame::kNoSettingsSiteClass = "NOSET";
const char *const MainFrame::kNotReadyText = "준비중인 화면입니다: ";
const char *const MainFrame::kNotReadyTitle = "알림";
const char *const MainFrame::kEndAskText = "작업을 종료하시겠읍니까";
const char *const MainFrame::kEndAskTitle = "작업종료";
const char *const kHomePageKey = "HomePage";

namespace {

// The workspace, with the centre's picture behind the screens when there is one.
class Workspace : public QMdiArea {
public:
    explicit Workspace(QWidget *parent) : QMdiArea(parent) {}
    void setPicture(const QPixmap &p)
    {
        m_picture = p;
        viewport()->update();
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QMdiArea::paintEvent(event);
        if (m_picture.isNull())
            return;
        QPainter p(viewport());
        const QSize area = viewport()->size();
        const QPixmap scaled = m_picture.scaled(area, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
        p.drawPixmap((area.width() - scaled.width()) / 2, (area.height() - scaled.height()) / 2, scaled);
    }

private:
    QPixmap m_picture;
};

struct Group {
    const char *bun;
    const char *caption;
};
// Top-level menus in their order; items come from the program list.
const Group kGroups[] = {
    {"1", "기초자료(&1)"}, {"2", "회원관리(&2)"},    {"4", "강습/출석관리(&4)"}, {"5", "영업관리(&5)"},
    {"6", "통계/그래프(&6)"}, {"7", "시스템관리(&7)"}, {"8", "보조관리(&8)"},
};

// A separator follows each of these items.
const char *const kSeparatorAfter[] = {"Menu13", "Menu15", "Menu22", "Menu25", "Menu42",
                                       "Menu53", "Menu55", "Menu62", "Menu73", "Menu74", "Menu83"};

// Screens the program list does not name, each opened under the rights of
// the program it belongs with: the closing with the point of sale whose
// shifts it counts, the sales status with the detailed takings.
struct ExtraItem {
    const char *bun;
    const char *menu;
    const char *caption;
    const char *followsPgId;
};
const ExtraItem kExtraItems[] = {
    {"5", "Menu56", "일일마감", "16"},
    {"5", "Menu57", "상품판매현황", "40"},
};

struct ToolButton {
    int index;
    const char *text;
    QStyle::StandardPixmap icon;
};
// Toolbar commands by their button index; the programs come from the program list.
const ToolButton kToolButtons[] = {
    {1, "교구등록", QStyle::SP_FileDialogListView},
    {3, "회원접수", QStyle::SP_FileDialogNewFolder},
    {5, "회원입장", QStyle::SP_DialogYesButton},
    {7, "입장현황", QStyle::SP_FileDialogDetailedView},
    {9, "수강현황", QStyle::SP_FileDialogInfoView},
    {11, "매출일보", QStyle::SP_FileDialogContentsView},
    {13, "회원현황", QStyle::SP_DirHomeIcon},
};
constexpr int kEndButton = 15;

// The frame's own size, and what a window manager usually draws around it
// (title bar and borders) before the frame has been shown once.
constexpr QSize kFrameSize(1024, 768);
constexpr QMargins kUsualWindowFrame(4, 30, 4, 4);

QString u(const char *s) { return QString::fromUtf8(s); }

QString toolActionName(int index) { return QStringLiteral("Tb1_%1").arg(index); }

} // namespace

MainFrame::MainFrame(UiContext &ui, const ScreenRegistry &registry, QWidget *parent)
    : QMainWindow(parent), m_ui(ui), m_registry(registry)
{
    setObjectName(QStringLiteral("MDImenu1"));
    setAttribute(Qt::WA_QuitOnClose, true);
    m_endProgram = [] { QCoreApplication::quit(); };
    m_ui.screens = this;

    auto *area = new Workspace(this);
    area->setObjectName(QStringLiteral("Workspace"));
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area->setBackground(QColor(0x6b, 0x7f, 0x96));
    m_area = area;
    setCentralWidget(m_area);
    connect(m_area, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow *) { refreshCaption(); });

    buildMenus();
    buildToolBar();
    buildStatusBar();
    loadBackground();

    fitToScreen();
    refreshCaption();
    applyPermissions();
}

MainFrame::~MainFrame()
{
    if (m_ui.screens == this)
        m_ui.screens = nullptr;
    // The screens go with the workspace after this object's members are gone.
    m_area->disconnect(this);
    for (QMdiSubWindow *sub : m_area->subWindowList())
        sub->disconnect(this);
}

MainFrame::Placement MainFrame::placementOn(const QRect &available, const QMargins &windowFrame)
{
    Placement p;
    const QSize outer = kFrameSize.grownBy(windowFrame);
    if (outer.width() > available.width() || outer.height() > available.height()) {
        p.maximized = true;
        p.geometry = available.marginsRemoved(windowFrame);
        return p;
    }
    const QPoint outerTopLeft = available.topLeft()
                                + QPoint((available.width() - outer.width()) / 2, (available.height() - outer.height()) / 2);
    p.geometry = QRect(outerTopLeft + QPoint(windowFrame.left(), windowFrame.top()), kFrameSize);
    return p;
}

void MainFrame::fitToScreen()
{
    const QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!s) {
        resize(kFrameSize);
        return;
    }
    const Placement p = placementOn(s->availableGeometry(), kUsualWindowFrame);
    setGeometry(p.geometry);
    if (p.maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void MainFrame::buildMenus()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MenuBar"));
    const auto addItem = [this](QMenu *menu, const QString &name, const QString &caption) {
        QAction *a = menu->addAction(caption);
        a->setObjectName(name);
        m_actions.insert(name, a);
        connect(a, &QAction::triggered, this, [this, name] { openScreen(name); });
        for (const char *after : kSeparatorAfter)
            if (name == QLatin1String(after))
                menu->addSeparator();
        return a;
    };

    for (const Group &g : kGroups) {
        QMenu *menu = bar->addMenu(u(g.caption));
        menu->setObjectName(QStringLiteral("Menu") + QLatin1String(g.bun));
        for (const ProgramEntry &e : programEntries())
            if (qstrcmp(e.bun, g.bun) == 0)
                addItem(menu, QLatin1String(e.menu), u(e.caption));
        for (const ExtraItem &x : kExtraItems)
            if (qstrcmp(x.bun, g.bun) == 0)
                addItem(menu, QLatin1String(x.menu), u(x.caption));
        if (qstrcmp(g.bun, "7") == 0)
            addItem(menu, QStringLiteral("Menu75"), QStringLiteral("입력자료삭제"));
    }

    QAction *home = bar->addAction(QStringLiteral("홈페이지(&9)"));
    home->setObjectName(QStringLiteral("Menu9"));
    m_actions.insert(home->objectName(), home);
    connect(home, &QAction::triggered, this, &MainFrame::openHomePage);

    QAction *end = bar->addAction(QStringLiteral("작업종료(&X)"));
    end->setObjectName(QStringLiteral("Menu10"));
    m_actions.insert(end->objectName(), end);
    connect(end, &QAction::triggered, this, &MainFrame::confirmEnd);
}

void MainFrame::buildToolBar()
{
    QToolBar *tb = addToolBar(QStringLiteral("Tb1"));
    tb->setObjectName(QStringLiteral("Tb1"));
    tb->setMovable(false);
    tb->setFloatable(false);
    tb->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    tb->setIconSize(QSize(32, 32));
    tb->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu);

    for (const ToolButton &b : kToolButtons) {
        const ProgramEntry *program = nullptr;
        for (const ProgramEntry &e : programEntries())
            if (e.toolbar == b.index)
                program = &e;
        if (!program)
            continue;
        QAction *a = tb->addAction(style()->standardIcon(b.icon), u(b.text));
        a->setObjectName(toolActionName(b.index));
        a->setToolTip(u(program->caption));
        m_actions.insert(a->objectName(), a);
        const QString menu = QLatin1String(program->menu);
        connect(a, &QAction::triggered, this, [this, menu] { openScreen(menu); });
        tb->addSeparator();
    }
    QAction *end = tb->addAction(style()->standardIcon(QStyle::SP_DialogCloseButton), QStringLiteral("작업종료"));
    end->setObjectName(toolActionName(kEndButton));
    m_actions.insert(end->objectName(), end);
    connect(end, &QAction::triggered, this, &MainFrame::confirmEnd);
}

void MainFrame::buildStatusBar()
{
    QStatusBar *sb = statusBar();
    sb->setObjectName(QStringLiteral("StatusBar"));
    const AppContext &ctx = m_ui.app;
    QString who = ctx.user.userName;
    if (!ctx.user.psCode.isEmpty())
        who += QStringLiteral(" (%1)").arg(ctx.user.psCode);
    QString where = ctx.pcName;
    if (ctx.workstation.found)
        where = QStringLiteral("POS %1 %2").arg(ctx.workstation.posNo).arg(ctx.workstation.posName);
    m_userLabel = new QLabel(QStringLiteral("사용자: %1   |   %2   |   %3")
                                 .arg(who, where, QLocale().toString(ctx.clock().today(), QStringLiteral("yyyy-MM-dd (ddd)"))),
                             this);
    m_userLabel->setObjectName(QStringLiteral("PnlUser"));
    sb->addPermanentWidget(m_userLabel);
}

void MainFrame::loadBackground()
{
    const QString path = m_ui.app.paths.mainBackground;
    QPixmap pic;
    if (!path.isEmpty() && QFileInfo(path).isFile() && pic.load(path))
        static_cast<Workspace *>(m_area)->setPicture(pic);
}

void MainFrame::refreshCaption() { setWindowTitle(mainCaption(m_ui.app)); }

QAction *MainFrame::action(const QString &objectName) const { return m_actions.value(objectName); }

void MainFrame::setProgramEnabled(const QString &pgId, bool enabled)
{
    const ProgramEntry *e = findProgram(pgId.trimmed());
    if (!e)
        return;
    if (QAction *a = m_actions.value(QLatin1String(e->menu)))
        a->setEnabled(enabled);
    if (e->toolbar > 0)
        if (QAction *a = m_actions.value(toolActionName(e->toolbar)))
            a->setEnabled(enabled);
    for (const ExtraItem &x : kExtraItems)
        if (pgId.trimmed() == QLatin1String(x.followsPgId))
            if (QAction *a = m_actions.value(QLatin1String(x.menu)))
                a->setEnabled(enabled);
}

void MainFrame::applyPermissions()
{
    const AppContext &ctx = m_ui.app;
    for (const ProgramEntry &e : programEntries())
        setProgramEnabled(QLatin1String(e.pgId), false);
    m_actions.value(QStringLiteral("Menu75"))->setEnabled(ctx.user.grCode == QLatin1String("1"));

    const bool settingsClosed =
        ctx.dbSettings.dbClass.trimmed().compare(QLatin1String(kNoSettingsSiteClass), Qt::CaseInsensitive) == 0;
    // When the rights cannot be read the programs stay closed.
    const auto granted = guard(m_ui, DbAction::Read, [&] { return grantedPrograms(ctx.main, ctx.user.grCode); });
    for (const QString &pgId : granted.value_or(QStringList())) {
        if (pgId == QLatin1String("05") && settingsClosed)
            continue;
        setProgramEnabled(pgId, true);
    }
}

QWidget *MainFrame::openedScreen(const QString &menuName) const
{
    const QPointer<QMdiSubWindow> sub = m_open.value(menuName);
    return sub ? sub->widget() : nullptr;
}

QWidget *MainFrame::openScreen(const QString &menuName, const ScreenArgs &args)
{
    if (QMdiSubWindow *sub = m_open.value(menuName)) {
        if (sub->isMinimized())
            sub->showNormal();
        m_area->setActiveSubWindow(sub);
        sub->raise();
        if (!args.isEmpty())
            if (auto *receiver = dynamic_cast<ScreenArgsReceiver *>(sub->widget()))
                receiver->applyScreenArgs(args);
        return sub->widget();
    }

    const ScreenEntry *entry = m_registry.find(menuName);
    if (!entry) {
        QString caption = menuName;
        if (const QAction *a = m_actions.value(menuName))
            caption = a->text().remove(QLatin1Char('&'));
        m_ui.msg.info(u(kNotReadyText) + caption, u(kNotReadyTitle));
        return nullptr;
    }

    if (entry->mode == ScreenMode::Modal) {
        QWidget *w = entry->factory(m_ui, this, args);
        if (!w)
            return nullptr;
        if (auto *dialog = qobject_cast<QDialog *>(w)) {
            dialog->exec();
            delete dialog;
        } else {
            w->setParent(this, Qt::Dialog);
            w->setAttribute(Qt::WA_DeleteOnClose);
            w->setWindowModality(Qt::ApplicationModal);
            w->show();
        }
        refreshCaption();
        return nullptr;
    }

    QWidget *w = entry->factory(m_ui, m_area, args);
    if (!w)
        return nullptr;
    w->setAttribute(Qt::WA_DeleteOnClose);
    QMdiSubWindow *sub = m_area->addSubWindow(w);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowTitle(w->windowTitle());
    if (windowIcon().isNull()) {
        QPixmap none(16, 16);
        none.fill(Qt::transparent);
        sub->setWindowIcon(QIcon(none));
    } else {
        sub->setWindowIcon(windowIcon());
    }
    m_open.insert(menuName, sub);
    // A screen that closes itself (its 닫기 button) takes its window along.
    connect(w, &QObject::destroyed, sub, &QMdiSubWindow::close, Qt::QueuedConnection);
    connect(sub, &QObject::destroyed, this, [this, menuName] {
        m_open.remove(menuName);
        refreshCaption();
    });
    sub->adjustSize();
    // A screen taller or wider than the workspace starts at the workspace's size.
    sub->resize(sub->size().boundedTo(m_area->viewport()->size()));
    sub->show();
    centerInMainFrame(sub, m_area);
    m_area->setActiveSubWindow(sub);
    return w;
}

void MainFrame::openHomePage()
{
    const QString address =
        IniFile(m_ui.app.paths.iniFile).value(QStringLiteral("DATABASE"), QLatin1String(kHomePageKey)).trimmed();
    if (address.isEmpty()) {
        m_ui.msg.warn(QStringLiteral("홈페이지 주소가 설정되어 있지 않습니다 (설정파일 [DATABASE] HomePage)."),
                      QStringLiteral("홈페이지"));
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromUserInput(address)))
        m_ui.msg.warn(QStringLiteral("홈페이지를 열 수 없습니다: %1").arg(address), QStringLiteral("홈페이지"));
}

void MainFrame::confirmEnd()
{
    if (!m_ui.msg.ask(u(kEndAskText), u(kEndAskTitle)))
        return;
    close();
}

void MainFrame::closeEvent(QCloseEvent *event)
{
    // Screens with unsaved input may refuse to close; the frame then stays.
    m_area->closeAllSubWindows();
    for (QMdiSubWindow *sub : m_area->subWindowList())
        if (sub->isVisible()) {
            event->ignore();
            return;
        }
    IniFile(m_ui.app.paths.iniFile).setValue(QStringLiteral("DATABASE"), QStringLiteral("UPDATECHECK"),
                                             QStringLiteral("NO"));
    event->accept();
    if (!m_ending) {
        m_ending = true;
        if (m_endProgram)
            m_endProgram();
    }
}

} // namespace fitrova
