#pragma once
// The catalogue's screens on the main menu: code tables (Menu13),
// classification (Menu14), instructors (Menu15) and programs (Menu16).

namespace fitrova {

class ScreenRegistry;

void registerCatalogueScreens(ScreenRegistry &registry);

} // namespace fitrova
