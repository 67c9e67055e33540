#include "shell/ui/allscreens.h"

#include "catalogue/ui/cataloguescreens.h"
#include "closing/ui/cashbookscreens.h"
#include "closing/ui/closingreportscreens.h"
#include "closing/ui/closingscreens.h"
#include "enrollment/ui/enrollmentscreens.h"
#include "entrance/ui/entrancereportscreens.h"
#include "entrance/ui/entrancescreens.h"
#include "lockers/ui/lockerscreens.h"
#include "maintenance/ui/maintenancescreens.h"
#include "members/ui/memberscreens.h"
#include "messaging/ui/labelsscreen.h"
#include "messaging/ui/labelsscreens.h"
#include "messaging/ui/smsscreens.h"
#include "sales/ui/salesscreens.h"
#include "schedule/ui/schedulescreens.h"
#include "settings/ui/settingsscreens.h"
#include "shell/ui/graderightsscreen.h"
#include "shell/ui/passwordchangedialog.h"
#include "shell/ui/userlistscreen.h"
#include "widgets/screenregistry.h"

namespace fitrova {

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
    registerCashBookScreens(r);
    registerScheduleScreens(r);
    registerLabelScreens(r);
    registerMaintenanceScreens(r);
    registerMemberScreens(r, MemberScreenHooks{openEnrollmentScreen, smsMemberHandover(), openLabelScreen});
    registerMessagingScreens(r);
    registerLockerScreens(r, smsMemberHandover());
    registerSalesScreens(r);
    registerEntranceReportScreens(r, smsMemberHandover());
    registerClosingReportScreens(r, smsMemberHandover());
    registerClosingScreens(r);
}

} // namespace fitrova
