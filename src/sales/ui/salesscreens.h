#pragma once
// The goods and point-of-sale screens in the screen registry.

namespace fitrova {

class ScreenRegistry;

void registerSalesScreens(ScreenRegistry &r);

} // namespace fitrova
