#include "closing/ui/cashbookscreens.h"

#include "closing/ui/cashbookaccountscreen.h"
#include "closing/ui/cashbookentryscreen.h"
#include "closing/ui/cashbookqueryscreen.h"
#include "widgets/screenregistry.h"
#include <QWidget>

namespace fitrova {

void registerCashBookScreens(ScreenRegistry &r)
{
    r.add(QStringLiteral("Menu81"), [](UiContext &ui, QWidget *parent) -> QWidget * {
        return new CashAccountScreen(ui, parent);
    });
    r.add(QStringLiteral("회계_적요코드"), [](UiContext &ui, QWidget *parent) -> QWidget * {
        return new CashDescriptionScreen(ui, parent);
    });
    r.add(QStringLiteral("Menu82"), [](UiContext &ui, QWidget *parent) -> QWidget * {
        return new CashEntryScreen(ui, parent);
    });
    r.add(QStringLiteral("Menu83"), [](UiContext &ui, QWidget *parent) -> QWidget * {
        return new CashQueryScreen(ui, parent);
    });
}

} // namespace fitrova
