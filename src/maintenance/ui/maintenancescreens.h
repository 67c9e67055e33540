#pragma once
// Plugs backup and deletion into the main frame: Menu74 the backup of the
// engine in use (the file backup on the file databases, the server backup on
// PostgreSQL), Menu75 the administrator's deletion; the maintenance deletion
// frm자료삭제 is opened by name after a maintenance login.

class QWidget;

namespace fitrova {

class ScreenRegistry;
struct UiContext;

void registerMaintenanceScreens(ScreenRegistry &registry);

// The maintenance deletion as a window of its own (the maintenance login
// opens it without the main frame).
QWidget *createMaintenanceDeletionScreen(UiContext &ui);

} // namespace fitrova
