#pragma once
// The main frame (MDImenu1): the menu bar, the toolbar Tb1 with the most used
// screens, the workspace that holds the task screens and the status bar.
//
// Permissions are applied once when the frame is built: every program is
// disabled, then the programs the user's grade holds (table Grade) are
// enabled. "입력자료삭제" (Menu75) is for grade "1" only. "일일마감" (Menu56) and
// "상품판매현황" (Menu57), which the program list does not name, follow the
// rights of the point of sale and of the detailed takings. The web page and the
// end command are always available.

#include "widgets/screenregistry.h"
#include "widgets/uicontext.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <functional>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;

namespace fitrova {

class MainFrame : public QMainWindow, public ScreenHost {
    Q_OBJECT
public:
    // The frame keeps references to ui and registry; both outlive it.
    MainFrame(UiContext &ui, const ScreenRegistry &registry, QWidget *parent = nullptr);
    ~MainFrame() override;

    // Reads the grade's programs and sets every menu item and toolbar button.
    void applyPermissions();
    // Enables or disables the menu item of a program and its toolbar button.
    // An unknown program id is ignored.
    void setProgramEnabled(const QString &pgId, bool enabled);

    // Opens the screen of a menu item (object name "Menu21"). Returns the
    // screen widget (for an Mdi screen the widget inside its sub-window), or
    // nullptr when there is none (a message box then says so) or after a
    // modal screen has finished.
    QWidget *openScreen(const QString &menuName, const ScreenArgs &args = {}) override;
    // The open Mdi screen of a menu item, or nullptr.
    QWidget *openedScreen(const QString &menuName) const;

    // The menu or toolbar action of that object name ("Menu21", "Tb1_3").
    QAction *action(const QString &objectName) const;
    QMdiArea *workspace() const { return m_area; }

    // Sets the caption again (business name, workstation or user changed).
    void refreshCaption();

    // "작업종료": asks, and on Yes ends the program.
    void confirmEnd();

    // What ending the program does; by default the application quits. Tests
    // replace it.
    void setEndProgram(std::function<void()> fn) { m_endProgram = std::move(fn); }

    // The site class for which the workstation settings (program 05) stay
    // closed whatever the grade holds: Class=NOSET in section DATABASE of the
    // configuration (compared without regard to case).
    static const char *const kNoSettingsSiteClass;

    static const char *const kNotReadyText;   // "준비중인 화면입니다: "
    static const char *const kNotReadyTitle;  // "알림"
    static const char *const kEndAskText;     // "작업을 종료하시겠읍니까"
    static const char *const kEndAskTitle;    // "작업종료"

    // Where the frame goes on a screen whose free area (without task bars)
    // is `available`: a 1024×768 frame centred when it fits there with the
    // window manager's frame around it, else the whole free area, so that
    // the status bar and the lower edge of the screens stay visible.
    struct Placement {
        bool maximized = false;
        QRect geometry; // the frame's client area when not maximized
    };
    static Placement placementOn(const QRect &available, const QMargins &windowFrame);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenus();
    void buildToolBar();
    void buildStatusBar();
    void openHomePage();
    void loadBackground();
    void fitToScreen();

    UiContext &m_ui;
    const ScreenRegistry &m_registry;
    QMdiArea *m_area;
    QLabel *m_userLabel = nullptr;
    QHash<QString, QAction *> m_actions;          // object name -> action
    QHash<QString, QPointer<QMdiSubWindow>> m_open; // menu name -> open screen
    std::function<void()> m_endProgram;
    bool m_ending = false;
};

// The configuration key of the vendor's web page opened by "홈페이지":
// HomePage in section DATABASE (empty: the menu item says it is not set).
extern const char *const kHomePageKey;

} // namespace fitrova
