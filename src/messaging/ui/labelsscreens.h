#pragma once
// Plugs the address labels into the main frame: the screen DM발송, opened
// by the member list and the batch query with the members they hand over.

namespace fitrova {

class ScreenRegistry;

void registerLabelScreens(ScreenRegistry &registry);

} // namespace fitrova
