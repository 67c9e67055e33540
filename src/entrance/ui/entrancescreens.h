#pragma once
// The gate's screens in the main frame: 회원입장 (Menu22, toolbar 5).

namespace fitrova {

class ScreenRegistry;

void registerEntranceScreens(ScreenRegistry &registry);

} // namespace fitrova
