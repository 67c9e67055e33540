#pragma once
// The takings screens: the closing screen, the shift's closing entry, and
// the sales reports.

namespace fitrova {

class ScreenRegistry;

void registerClosingScreens(ScreenRegistry &r);

} // namespace fitrova
