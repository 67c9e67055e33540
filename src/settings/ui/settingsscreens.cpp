#include "settings/ui/settingsscreens.h"

#include "settings/ui/businessscreen.h"
#include "settings/ui/workstationscreen.h"
#include "widgets/screenregistry.h"

namespace fitrova {

void registerSettingsScreens(ScreenRegistry &r)
{
    r.add(QStringLiteral("Menu11"), [](UiContext &ui, QWidget *parent) -> QWidget * {
        return new BusinessScreen(ui, parent);
    });
    r.add(QStringLiteral("Menu12"), [](UiContext &ui, QWidget *parent) -> QWidget * {
        return new WorkstationScreen(ui, parent);
    });
}

} // namespace fitrova
