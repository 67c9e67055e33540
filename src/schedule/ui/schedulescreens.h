#pragma once
// Plugs the staff diary into the main frame: Menu85 the month calendar
// (일정표), from which each day opens the entry screen.

namespace fitrova {

class ScreenRegistry;

void registerScheduleScreens(ScreenRegistry &registry);

} // namespace fitrova
