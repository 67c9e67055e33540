#pragma once
// Which screen each menu item opens. The main frame looks a menu item up by
// its object name ("Menu21") and either shows the screen as a child window
// of its workspace (Mdi) or runs it as a modal dialog (Modal). A menu item
// without a registered screen tells the user that the screen is not ready.
//
// A subsystem plugs its screens in with one registration function, called
// from registerAllScreens():
//
//     void registerMemberScreens(ScreenRegistry &r)
//     {
//         r.add(QStringLiteral("Menu21"), [](UiContext &ui, QWidget *parent) -> QWidget * {
//             return new MemberScreen(ui, parent);
//         });
//         r.add(QStringLiteral("Menu73"), [](UiContext &ui, QWidget *parent) -> QWidget * {
//             return new PasswordChangeDialog(ui, parent);
//         }, ScreenMode::Modal);
//     }
//
// The factory may return nullptr when it decides not to open anything (it
// has then told the user why).

#include "widgets/uicontext.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace fitrova {

using ScreenFactory = std::function<QWidget *(UiContext &ui, QWidget *parent)>;

enum class ScreenMode {
    Mdi,   // a child window of the main frame; opening it again raises it
    Modal, // a dialog run to its end (QDialog::exec) before the menu is usable again
};

struct ScreenEntry {
    ScreenFactory factory;
    ScreenMode mode = ScreenMode::Mdi;
};

class ScreenRegistry {
public:
    // Registers (or replaces) the screen of a menu item.
    void add(const QString &menuName, ScreenFactory factory, ScreenMode mode = ScreenMode::Mdi);
    void remove(const QString &menuName);
    bool contains(const QString &menuName) const { return m_entries.contains(menuName); }
    // nullptr when the menu item has no screen yet.
    const ScreenEntry *find(const QString &menuName) const;
    QStringList menuNames() const;

private:
    QHash<QString, ScreenEntry> m_entries;
};

// Every screen that exists, by subsystem.
void registerAllScreens(ScreenRegistry &registry);

// Business details (Menu11) and workstation settings (Menu12).
void registerSettingsScreens(ScreenRegistry &registry);
// User list (Menu71), grade rights (Menu72), password change (Menu73).
void registerUserScreens(ScreenRegistry &registry);

} // namespace fitrova
