#include "app/ui/screenregistry.h"

#include "app/ui/graderightsscreen.h"
#include "app/ui/passwordchangedialog.h"
#include "app/ui/userlistscreen.h"
#include "settings/ui/businessscreen.h"
#include "settings/ui/workstationscreen.h"
#include "catalogue/ui/cataloguescreens.h"
#include "members/ui/memberscreens.h"
#include "entrance/ui/entrancescreens.h"
#include "enrollment/ui/enrollmentscreens.h"

#include <algorithm>

namespace fitrova {

void ScreenRegistry::add(const QString &menuName, ScreenFactory factory, ScreenMode mode)
{
    m_entries.insert(menuName, ScreenEntry{std::move(factory), mode});
}

void ScreenRegistry::remove(const QString &menuName) { m_entries.remove(menuName); }

const ScreenEntry *ScreenRegistry::find(const QString &menuName) const
{
    const auto it = m_entries.constFind(menuName);
    return it == m_entries.constEnd() ? nullptr : &it.value();
}

QStringList ScreenRegistry::menuNames() const
{
    QStringList names = m_entries.keys();
    std::sort(names.begin(), names.end());
    return names;
}

void registerSettingsScreens(ScreenRegistry &r)
{
    r.add(QStringLiteral("Menu11"), [](UiContext &ui, QWidget *parent) -> QWidget * {
        return new BusinessScreen(ui, parent);
    });
    r.add(QStringLiteral("Menu12"), [](UiContext &ui, QWidget *parent) -> QWidget * {
        return new WorkstationScreen(ui, parent);
    });
}

void registerUserScreens(ScreenRegistry &r)
{
    r.add(QStringLiteral("Menu71"), [](UiContext &ui, QWidget *parent) -> QWidget * {
        return new UserListScreen(ui, parent);
    });
    r.add(QStringLiteral("Menu72"), [](UiContext &ui, QWidget *parent) -> QWidget * {
        return new GradeRightsScreen(ui, parent);
    });
    r.add(QStringLiteral("Menu73"), [](UiContext &ui, QWidget *parent) -> QWidget * {
        return new PasswordChangeDialog(ui, parent);
    }, ScreenMode::Modal);
}

void registerAllScreens(ScreenRegistry &r)
{
    registerSettingsScreens(r);
    registerUserScreens(r);
    registerCatalogueScreens(r);
    registerEntranceScreens(r);
    registerMemberScreens(r, MemberScreenHooks{openEnrollmentScreen, {}, {}});
}

} // namespace fitrova
