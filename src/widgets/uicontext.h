#pragma once
// What every screen is given: the application context and the message interface.

#include "app/appcontext.h"
#include "widgets/messages.h"

namespace fitrova {

struct UiContext {
    AppContext &app;
    Messages &msg;
};

} // namespace fitrova
