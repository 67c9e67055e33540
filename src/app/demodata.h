#pragma once
// A believable demo centre for newcomers and screen tests.

#include <QtGlobal>

namespace fitrova {

class AppContext;

// Fills an installed, empty database with a demo centre: course items and
// classes, instructors, period and time-based programs with fee tables,
// members with their enrollments, visits, lockers, goods and sales.
// Deterministic for a given seed and clock.
void seedDemoCentre(const AppContext &ctx, quint32 seed);

} // namespace fitrova
