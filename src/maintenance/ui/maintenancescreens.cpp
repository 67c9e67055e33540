#include "maintenance/ui/maintenancescreens.h"

#include "maintenance/ui/backupscreens.h"
#include "maintenance/ui/deletionscreens.h"
#include "widgets/screenregistry.h"
#include <QWidget>

namespace fitrova {

void registerMaintenanceScreens(ScreenRegistry &r)
{
    r.add(QStringLiteral("Menu74"), [](UiContext &ui, QWidget *parent) -> QWidget * {
        if (ui.app.engine == Engine::PostgreSQL)
            return new ServerBackupScreen(ui, parent);
        return new BackupScreen(ui, parent);
    });
    r.add(QStringLiteral("Menu75"), [](UiContext &ui, QWidget *parent) -> QWidget * {
        return new EnteredDataDeletionScreen(ui, parent);
    });
    r.add(QStringLiteral("frm자료삭제"), [](UiContext &ui, QWidget *parent) -> QWidget * {
        return new MaintenanceDeletionScreen(ui, parent);
    });
}

QWidget *createMaintenanceDeletionScreen(UiContext &ui)
{
    return new MaintenanceDeletionScreen(ui);
}

} // namespace fitrova
