#pragma once
// The shell's screen list: every subsystem's registration function, and the
// user screens the shell owns. This is the one place that names every
// subsystem's screens.

namespace fitrova {

class ScreenRegistry;

// User list (Menu71), grade rights (Menu72), password change (Menu73).
void registerUserScreens(ScreenRegistry &registry);

// Every screen that exists, by subsystem.
void registerAllScreens(ScreenRegistry &registry);

} // namespace fitrova
