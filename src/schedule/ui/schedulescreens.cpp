#include "schedule/ui/schedulescreens.h"

#include "schedule/ui/schedulecalendarscreen.h"
#include "widgets/screenregistry.h"
#include <QWidget>

namespace fitrova {

void registerScheduleScreens(ScreenRegistry &r)
{
    r.add(QStringLiteral("Menu85"), [](UiContext &ui, QWidget *parent) -> QWidget * {
        return new ScheduleCalendarScreen(ui, parent);
    });
}

} // namespace fitrova
