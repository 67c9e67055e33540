#pragma once
// Plugs the cash book into the main frame: Menu81 the accounts (with the
// descriptions screen 회계_적요코드 opened from it), Menu82 the daily entries,
// Menu83 the cash book over a period.

namespace fitrova {

class ScreenRegistry;

void registerCashBookScreens(ScreenRegistry &registry);

} // namespace fitrova
