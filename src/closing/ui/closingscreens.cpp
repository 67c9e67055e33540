#include "closing/ui/closingscreens.h"

#include "closing/ui/closingscreen.h"
#include "closing/ui/shiftclosedialog.h"
#include "sales/ui/salesreportscard.h"
#include "sales/ui/salesreportscardpick.h"
#include "sales/ui/salesreportsdetail.h"
#include "sales/ui/salesreportsgraph.h"
#include "sales/ui/salesreportsinquiry.h"
#include "sales/ui/salesreportsstatus.h"
#include "widgets/screenregistry.h"

namespace fitrova {

void registerClosingScreens(ScreenRegistry &r)
{
    const auto closing = [](UiContext &ui, QWidget *parent) -> QWidget * { return new ClosingScreen(ui, parent); };
    r.add(QStringLiteral("일일마감"), closing);
    r.add(QStringLiteral("Menu56"), closing);
    // The shift's closing entry: a given shift (Fnid), or the user's own.
    r.add(QStringLiteral("교대마감입력"),
          [](UiContext &ui, QWidget *parent, const ScreenArgs &args) -> QWidget * {
              return new ShiftCloseDialog(ui, args.value(QStringLiteral("Fnid")).toLongLong(), std::nullopt, parent);
          },
          ScreenMode::Modal);

    const auto status = [](UiContext &ui, QWidget *parent) -> QWidget * { return new SalesStatusReport(ui, parent); };
    r.add(QStringLiteral("상품판매현황"), status);
    r.add(QStringLiteral("Menu57"), status);
    const auto detailed = [](UiContext &ui, QWidget *parent, const ScreenArgs &args) -> QWidget * {
        auto *s = new DetailedTakingsReport(ui, parent);
        if (args.contains(QStringLiteral("uGubun")))
            s->applyScreenArgs(args);
        return s;
    };
    r.add(QStringLiteral("상품판매현황1"), detailed);
    r.add(QStringLiteral("Menu53"), detailed);
    const auto card = [](UiContext &ui, QWidget *parent) -> QWidget * { return new CardTakingsReport(ui, parent); };
    r.add(QStringLiteral("Menu54"), card);
    r.add(QStringLiteral("카드사별매출집계"), card);
    const auto graph = [](UiContext &ui, QWidget *parent) -> QWidget * { return new SalesGraphReport(ui, parent); };
    r.add(QStringLiteral("Menu62"), graph);
    r.add(QStringLiteral("판매분석그래프"), graph);
    r.add(QStringLiteral("카드사조회"), [](UiContext &ui, QWidget *parent) -> QWidget * {
        return new CardCompanyPick(ui, parent);
    }, ScreenMode::Modal);
    // The point of sale's 조회: a voucher of the day picked and handed back.
    r.add(QStringLiteral("상품판매조회"),
          [](UiContext &ui, QWidget *parent, const ScreenArgs &args) -> QWidget * {
              return new SalesInquiryDialog(ui, args, parent);
          },
          ScreenMode::Modal);
}

} // namespace fitrova
