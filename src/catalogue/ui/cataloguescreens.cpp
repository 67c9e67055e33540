#include "catalogue/ui/cataloguescreens.h"

#include "widgets/screenregistry.h"
#include "catalogue/ui/classificationscreen.h"
#include "catalogue/ui/codetablescreen.h"
#include "catalogue/ui/lecturerlistscreen.h"
#include "catalogue/ui/programlistscreen.h"

namespace fitrova {

void registerCatalogueScreens(ScreenRegistry &r)
{
    r.add(QStringLiteral("Menu13"), [](UiContext &ui, QWidget *parent) -> QWidget * {
        return new CodeTableScreen(ui, parent);
    });
    r.add(QStringLiteral("Menu14"), [](UiContext &ui, QWidget *parent) -> QWidget * {
        return new ClassificationScreen(ui, parent);
    });
    r.add(QStringLiteral("Menu15"), [](UiContext &ui, QWidget *parent) -> QWidget * {
        return new LecturerListScreen(ui, parent);
    });
    r.add(QStringLiteral("Menu16"), [](UiContext &ui, QWidget *parent) -> QWidget * {
        return new ProgramListScreen(ui, parent);
    });
}

} // namespace fitrova
