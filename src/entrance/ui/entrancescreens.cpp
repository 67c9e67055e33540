#include "entrance/ui/entrancescreens.h"

#include "widgets/screenregistry.h"
#include "entrance/ui/checkinscreen.h"
#include "entrance/ui/mastercardscreen.h"

#include <QPointer>

namespace fitrova {

void registerEntranceScreens(ScreenRegistry &r)
{
    r.add(QStringLiteral("Menu22"), [](UiContext &ui, QWidget *parent) -> QWidget * {
        auto *screen = new CheckInScreen(ui, parent);
        QPointer<CheckInScreen> self(screen);
        // The master-card screen opens beside the gate, as a window of its own.
        screen->openMasterCard = [&ui, self] {
            if (!self)
                return;
            auto *master = new MasterCardScreen(ui, nullptr);
            master->setAttribute(Qt::WA_DeleteOnClose);
            master->setWindowModality(Qt::ApplicationModal);
            master->show();
        };
        return screen;
    });
}

} // namespace fitrova
