#pragma once
// What screen tests share: finding and pressing controls by their object
// name, the scripted message interface, and the watch on modal dialogs.
//
// Every screen test runs with the watch on. A dialog or message box that
// runs its own event loop (QDialog::exec, QMessageBox::exec) while the test
// expects none fails the test at once, naming its title and text, and is
// closed, so the test ends with a failure instead of waiting for a click
// that never comes. A dialog the test means to open is expected first:
//
//     expectModal<ProgramEditDialog>([&](ProgramEditDialog *dlg) {
//         QCOMPARE(dlg->windowTitle(), QString("강좌등록-신규"));
//         click(dlg, "Cmd저장");
//     });
//     click(&list, "Cmd신규");   // returns once the dialog is closed
//     QCOMPARE(pendingModals(), 0);
//
// The handler runs once the dialog's own event loop runs; the dialog is
// closed afterwards whatever the handler did or failed. Expected dialogs are
// handled in the order they appear, nested ones included.

#include "scriptedmessages.h"

#include <QAbstractButton>
#include <QObject>
#include <QTest>
#include <QWidget>

#include <functional>
#include <source_location>
#include <type_traits>

namespace fitrova::test {

// The named control of the given type below root; the test stops when the
// screen has no such control.
template <typename T>
T *child(QObject *root, const char *name)
{
    T *w = root->findChild<T *>(QString::fromUtf8(name));
    if (!w)
        qFatal("no control %s", name);
    return w;
}

// A mouse click on the named button.
inline void click(QObject *root, const char *name)
{
    QTest::mouseClick(child<QAbstractButton>(root, name), Qt::LeftButton);
}

namespace detail {
struct ModalExpectation {
    const QMetaObject *type = nullptr;
    QString objectName; // empty: any
    std::function<void(QWidget *)> handler;
    std::source_location where;
};
void expectModal(ModalExpectation e);
} // namespace detail

// Expects the next modal dialog, of class T (or derived), and runs handler on it.
template <typename T = QDialog>
void expectModal(std::type_identity_t<std::function<void(T *)>> handler,
                 std::source_location where = std::source_location::current())
{
    detail::expectModal({&T::staticMetaObject, QString(),
                         [handler = std::move(handler)](QWidget *w) { handler(static_cast<T *>(w)); }, where});
}

// The same for a dialog that must also carry that object name ("frmSMSLogin").
template <typename T = QDialog>
void expectModal(const QString &objectName, std::type_identity_t<std::function<void(T *)>> handler,
                 std::source_location where = std::source_location::current())
{
    detail::expectModal({&T::staticMetaObject, objectName,
                         [handler = std::move(handler)](QWidget *w) { handler(static_cast<T *>(w)); }, where});
}

// Expected dialogs that have not appeared (yet).
int pendingModals();

// The title and text of a dialog or message box, as a failure names it.
QString describeWindow(const QWidget *w);

// What a command-line tool prints ("" when it does not finish in 20 s):
// toolOutput("unzip", {"-p", book, "xl/sharedStrings.xml"}).
QString toolOutput(const QString &tool, const QStringList &args);

// With FITROVA_SCREENSHOT_DIR set, the screen as a picture at the desk's size
// (1024×768), NAME.png in that folder, for a person to look at; nothing
// otherwise.
void shoot(QWidget &w, const QString &name);

} // namespace fitrova::test
