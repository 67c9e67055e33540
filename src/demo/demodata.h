#pragma once
// A believable demo centre for newcomers and screen tests.

#include <QtGlobal>

#include <functional>

namespace fitrova {

class AppContext;

// Fills an installed, empty database with a demo centre: course items and
// classes, instructors, period and time-based programs with fee tables,
// members with their enrollments, visits, lockers, goods and sales. The centre
// generator (demo/centregenerator.h) at the demo's scale. Deterministic for a
// given seed and clock.
void seedDemoCentre(const AppContext &ctx, quint32 seed);

inline constexpr quint32 kDemoSeed = 20241;

// The demo centre as the installer's content (InstallOptions::content).
std::function<void(const AppContext &)> demoInstallContent(quint32 seed = kDemoSeed);

} // namespace fitrova
