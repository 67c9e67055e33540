#include "widgets/deskguard.h"

#include "widgets/moneyedit.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QMdiSubWindow>
#include <QWidget>

namespace fitrova {

Q_LOGGING_CATEGORY(lcDesk, "fitrova.desk")

void logDbError(const DbError &e, const char *reason)
{
    qCWarning(lcDesk).noquote() << reason << "|" << e.message() << "| native" << e.nativeCode() << "|" << e.sql();
}

namespace {

// The screen the desk works in: the modal dialog on top, else the screen (the
// window, or the widget inside its frame in the main window's workspace) that
// holds the focus.
QWidget *workingScreen()
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    QWidget *w = QApplication::focusWidget();
    while (w && !w->isWindow() && w->parentWidget() && !qobject_cast<QMdiSubWindow *>(w->parentWidget()))
        w = w->parentWidget();
    return w;
}

} // namespace

bool numberFieldsReadable(UiContext &ui)
{
    return checkNumberFields(workingScreen(), ui.msg);
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
