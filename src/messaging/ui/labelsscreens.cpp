#include "messaging/ui/labelsscreens.h"

#include "messaging/ui/labelsscreen.h"
#include "widgets/screenregistry.h"
#include <QWidget>

namespace fitrova {

void registerLabelScreens(ScreenRegistry &r)
{
    r.add(QStringLiteral("DM발송"), [](UiContext &ui, QWidget *parent) -> QWidget * {
        return new LabelsScreen(ui, parent);
    });
}

} // namespace fitrova
