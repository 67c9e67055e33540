#include "members/ui/memberscreens.h"

#include "widgets/screenregistry.h"
#include "members/ui/memberlistscreen.h"
#include "members/ui/memberscreen.h"
#include "members/ui/pointstatusscreen.h"

#include <QPointer>

namespace fitrova {

void openMemberCard(UiContext &ui, QWidget *from, const QString &mbCode, const MemberScreenHooks &hooks)
{
    auto *card = ui.screens ? qobject_cast<MemberScreen *>(ui.screens->openScreen(QStringLiteral("Menu21"), {}))
                            : nullptr;
    if (!card) {
        card = new MemberScreen(ui, nullptr, hooks);
        card->setAttribute(Qt::WA_DeleteOnClose);
        card->show();
    }
    card->searchFor(MemberSearchKind::Code, mbCode);
}

void registerMemberScreens(ScreenRegistry &r, MemberScreenHooks hooks)
{
    r.add(QStringLiteral("Menu21"), [hooks](UiContext &ui, QWidget *parent, const ScreenArgs &args) -> QWidget * {
        auto *card = new MemberScreen(ui, parent, hooks);
        if (!args.isEmpty())
            card->applyScreenArgs(args);
        return card;
    });
    r.add(QStringLiteral("Menu23"), [hooks](UiContext &ui, QWidget *parent) -> QWidget * {
        auto *screen = new MemberListScreen(ui, parent, hooks);
        QPointer<MemberListScreen> self(screen);
        screen->setOpenMember([&ui, self, hooks](const QString &code) {
            if (self)
                openMemberCard(ui, self, code, hooks);
        });
        return screen;
    });
    r.add(QStringLiteral("Menu24"), [hooks](UiContext &ui, QWidget *parent) -> QWidget * {
        auto *screen = new PointStatusScreen(ui, parent);
        QPointer<PointStatusScreen> self(screen);
        screen->setOpenMember([&ui, self, hooks](const QString &code) {
            if (self)
                openMemberCard(ui, self, code, hooks);
        });
        return screen;
    });
}

} // namespace fitrova
