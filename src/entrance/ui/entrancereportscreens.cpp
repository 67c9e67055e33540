#include "entrance/ui/entrancereportscreens.h"

#include "entrance/ui/attendancereport.h"
#include "entrance/ui/dailyvisitorsreport.h"
#include "entrance/ui/membervisitreport.h"
#include "entrance/ui/visitchartreport.h"
#include "entrance/ui/visitcountreport.h"
#include "entrance/ui/visitlistreport.h"
#include "widgets/screenregistry.h"

namespace fitrova {

void registerEntranceReportScreens(ScreenRegistry &r, MemberHandover sendSms)
{
    r.add(QStringLiteral("Menu43"), [](UiContext &ui, QWidget *parent) -> QWidget * {
        return new VisitListReport(ui, parent);
    });
    r.add(QStringLiteral("입장현황1"), [](UiContext &ui, QWidget *parent) -> QWidget * {
        return new VisitCountReport(ui, parent);
    });
    const ScreenFactoryWithArgs memberVisits = [](UiContext &ui, QWidget *parent, const ScreenArgs &args) -> QWidget * {
        auto *screen = new MemberVisitReport(ui, parent);
        if (!args.isEmpty())
            screen->applyScreenArgs(args);
        return screen;
    };
    r.add(QStringLiteral("Menu44"), memberVisits);
    r.add(QStringLiteral("회원별입장현황"), memberVisits);
    r.add(QStringLiteral("Menu45"), [sendSms](UiContext &ui, QWidget *parent) -> QWidget * {
        return new AttendanceReport(ui, parent, sendSms);
    });
    r.add(QStringLiteral("Menu61"), [](UiContext &ui, QWidget *parent) -> QWidget * {
        return new VisitChartReport(ui, parent);
    });
    r.add(QStringLiteral("Menu64"), [](UiContext &ui, QWidget *parent) -> QWidget * {
        return new DailyVisitorsReport(ui, parent);
    });
}

} // namespace fitrova
