#include "widgets/deskguard.h"

#include <QLoggingCategory>

namespace fitrova {

Q_LOGGING_CATEGORY(lcDesk, "fitrova.desk")

void logDbError(const DbError &e, const char *reason)
{
    qCWarning(lcDesk).noquote() << reason << "|" << e.message() << "| native" << e.nativeCode() << "|" << e.sql();
}

void reportDbError(UiContext &ui, const ErrorText &shown, const DbError &e)
{
    logDbError(e, "shown to the desk");
    ui.msg.warn(shown.text, shown.title);
}

void showNotice(UiContext &ui, const Notice &n)
{
    if (n.text.isEmpty())
        return;
    switch (n.kind) {
    case Notice::Kind::Warn:
        ui.msg.warn(n.text, n.title);
        break;
    case Notice::Kind::Brief:
        ui.msg.notice(n.text);
        break;
    case Notice::Kind::Info:
        ui.msg.info(n.text, n.title);
        break;
    }
}

bool showOutcome(UiContext &ui, const Outcome &o)
{
    for (const Notice &n : o.notices)
        showNotice(ui, n);
    return o.saved;
}

} // namespace fitrova
