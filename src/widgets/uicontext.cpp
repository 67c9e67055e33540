#include "widgets/uicontext.h"

namespace fitrova {

QWidget *UiContext::openScreen(const QString &name, const ScreenArgs &args) const
{
    if (!screens) {
        msg.info(QStringLiteral("준비중인 화면입니다: ") + name, QStringLiteral("알림"));
        return nullptr;
    }
    return screens->openScreen(name, args);
}

} // namespace fitrova
