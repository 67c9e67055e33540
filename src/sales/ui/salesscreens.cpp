#include "sales/ui/salesscreens.h"

#include "sales/ui/goodsclassscreen.h"
#include "sales/ui/goodslistscreen.h"
#include "sales/ui/posscreen.h"
#include "sales/ui/voucherpicklist.h"
#include "widgets/screenregistry.h"

namespace fitrova {

void registerSalesScreens(ScreenRegistry &r)
{
    r.add(QStringLiteral("Menu17"), [](UiContext &ui, QWidget *parent) -> QWidget * {
        return new GoodsListScreen(ui, parent);
    });
    r.add(QStringLiteral("상품분류"), [](UiContext &ui, QWidget *parent) -> QWidget * {
        return new GoodsClassScreen(ui, parent);
    });
    r.add(QStringLiteral("Menu26"), [](UiContext &ui, QWidget *parent, const ScreenArgs &args) -> QWidget * {
        if (!ui.app.workstation.found) {
            ui.msg.info(QStringLiteral("POS정보를 설정후 사용하세요"), QStringLiteral("상품판매"));
            return nullptr;
        }
        auto *screen = new PosScreen(ui, parent);
        if (!args.isEmpty())
            screen->applyScreenArgs(args);
        return screen;
    });
    // Until the takings' sales inquiry takes this name: the day's vouchers of
    // the user, a picked one handed back to the point of sale.
    r.add(QStringLiteral("상품판매조회"),
          [](UiContext &ui, QWidget *parent, const ScreenArgs &args) -> QWidget * {
              return new VoucherPickList(ui, args, parent);
          },
          ScreenMode::Modal);
}

} // namespace fitrova
