#include "closing/ui/closingreportscreens.h"

#include "closing/ui/classlistreport.h"
#include "closing/ui/dailyvalidreport.h"
#include "closing/ui/enrollmentstatusreport.h"
#include "closing/ui/incomereport.h"
#include "closing/ui/monthlysalesreport.h"
#include "closing/ui/settlementreport.h"
#include "closing/ui/unpaidreport.h"
#include "closing/ui/validmembersreport.h"
#include "widgets/screenregistry.h"

namespace fitrova {

void registerClosingReportScreens(ScreenRegistry &r, MemberHandover sendSms)
{
    r.add(QStringLiteral("Menu25"), [](UiContext &ui, QWidget *parent) -> QWidget * {
        return new UnpaidReport(ui, parent);
    });
    r.add(QStringLiteral("Menu41"), [sendSms](UiContext &ui, QWidget *parent) -> QWidget * {
        return new ValidMembersReport(ui, parent, sendSms);
    });
    r.add(QStringLiteral("Menu42"), [](UiContext &ui, QWidget *parent) -> QWidget * {
        return new ClassListReport(ui, parent);
    });
    r.add(QStringLiteral("Menu51"), [](UiContext &ui, QWidget *parent) -> QWidget * {
        return new IncomeReport(ui, parent);
    });
    r.add(QStringLiteral("Menu52"), [](UiContext &ui, QWidget *parent) -> QWidget * {
        return new EnrollmentStatusReport(ui, parent);
    });
    r.add(QStringLiteral("Menu55"), [](UiContext &ui, QWidget *parent) -> QWidget * {
        return new SettlementReport(ui, parent);
    });
    r.add(QStringLiteral("Menu63"), [](UiContext &ui, QWidget *parent) -> QWidget * {
        return new MonthlySalesReport(ui, parent);
    });
    r.add(QStringLiteral("Menu65"), [](UiContext &ui, QWidget *parent) -> QWidget * {
        return new DailyValidReport(ui, parent);
    });
}

} // namespace fitrova
