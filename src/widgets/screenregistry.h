#pragma once
// The screens the program can open, by name. A name is a menu item's object
// name ("Menu21") or, for a screen that other screens open with keys, the
// screen's own name ("사물함신청"). The main frame shows a Mdi screen as a
// child window of its workspace (opening it again raises it) or runs a Modal
// screen to its end.
//
// Each subsystem enters its screens with one registration function, which the
// shell calls:
//
//     void registerLockerScreens(ScreenRegistry &r)
//     {
//         r.add(QStringLiteral("Menu61"), [](UiContext &ui, QWidget *parent) -> QWidget * {
//             return new LockerGroupScreen(ui, parent);
//         });
//         r.add(QStringLiteral("사물함신청"),
//               [](UiContext &ui, QWidget *parent, const ScreenArgs &args) -> QWidget * {
//                   return new LockerRentalDialog(ui, parent, args.value("MbCode").toString());
//               }, ScreenMode::Modal);
//     }
//
// The factory may return nullptr when it decides not to open anything (it
// has then told the user why). A screen that is raised again receives its new
// keys through ScreenArgsReceiver.

#include "widgets/uicontext.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace fitrova {

using ScreenFactory = std::function<QWidget *(UiContext &ui, QWidget *parent)>;
using ScreenFactoryWithArgs = std::function<QWidget *(UiContext &ui, QWidget *parent, const ScreenArgs &args)>;

enum class ScreenMode {
    Mdi,   // a child window of the main frame; opening it again raises it
    Modal, // a dialog run to its end (QDialog::exec) before the menu is usable again
};

struct ScreenEntry {
    ScreenFactoryWithArgs factory;
    ScreenMode mode = ScreenMode::Mdi;
};

class ScreenRegistry {
public:
    // Registers (or replaces) the screen of a name.
    void add(const QString &name, ScreenFactory factory, ScreenMode mode = ScreenMode::Mdi);
    void add(const QString &name, ScreenFactoryWithArgs factory, ScreenMode mode = ScreenMode::Mdi);
    void remove(const QString &name);
    bool contains(const QString &name) const { return m_entries.contains(name); }
    // nullptr when the name has no screen yet.
    const ScreenEntry *find(const QString &name) const;
    QStringList menuNames() const;

private:
    QHash<QString, ScreenEntry> m_entries;
};

} // namespace fitrova
