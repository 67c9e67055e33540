#include "widgets/deskguard.h"

#include <QLoggingCategory>

namespace fitrova {

Q_LOGGING_CATEGORY(lcDesk, "fitrova.desk")

void logDbError(const DbError &e, const char *reason)
{
    qCWarning(lcDesk).noquote() << reason << "|" << e.message() << "| native" << e.nativeCode() << "|" << e.sql();
}

void reportDbError(UiContext &ui, DbAction action, const DbError &e)
{
    logDbError(e, "shown to the desk");
    const ErrorText t = dbErrorText(action);
    ui.msg.warn(t.text, t.title);
}

bool showOutcome(UiContext &ui, const Outcome &o)
{
    for (const Notice &n : o.notices) {
        if (n.kind == Notice::Kind::Warn)
            ui.msg.warn(n.text, n.title);
        else
            ui.msg.info(n.text, n.title);
    }
    return o.saved;
}

} // namespace fitrova
