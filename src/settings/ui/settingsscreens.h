#pragma once
// The settings screens on the main menu: business details (Menu11) and the
// workstation settings (Menu12).

namespace fitrova {

class ScreenRegistry;

void registerSettingsScreens(ScreenRegistry &registry);

} // namespace fitrova
