#pragma once
// What every screen is given: the application context, the message interface
// and the host that opens other screens.
//
// A screen opens another screen by name, never by looking for the main frame:
//
//     ui.openScreen(QStringLiteral("Menu21"));                        // a menu item's screen
//     ui.openScreen(QStringLiteral("사물함신청"), {{"MbCode", code}}); // a screen with its keys
//
// The names are those the subsystems enter into the screen registry.

#include "foundation/appcontext.h"
#include "widgets/messages.h"

#include <QString>
#include <QVariantMap>

class QWidget;

namespace fitrova {

// Keys handed to a screen that is opened (MbCode, Ltid, Rqid, JobGubun …).
using ScreenArgs = QVariantMap;

// Opens registered screens: the main frame in the program, a small host in tests.
class ScreenHost {
public:
    virtual ~ScreenHost() = default;
    // Opens (or raises) the screen registered under name and hands it args.
    // Returns the screen widget; nullptr when there is no such screen (the
    // user has been told) or when a modal screen has already finished.
    virtual QWidget *openScreen(const QString &name, const ScreenArgs &args) = 0;
};

// A screen that takes keys when it is opened (or raised again) implements this.
class ScreenArgsReceiver {
public:
    virtual ~ScreenArgsReceiver() = default;
    virtual void applyScreenArgs(const ScreenArgs &args) = 0;
};

struct UiContext {
    AppContext &app;
    Messages &msg;
    ScreenHost *screens = nullptr;

    // Opens a registered screen; without a host (a screen tested alone) it
    // tells the user the screen is not available and returns nullptr.
    QWidget *openScreen(const QString &name, const ScreenArgs &args = {}) const;
};

} // namespace fitrova
