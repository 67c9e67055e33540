#include "demo/demodata.h"

#include "demo/centregenerator.h"

namespace fitrova {

void seedDemoCentre(const AppContext &ctx, quint32 seed)
{
    demo::generateCentre(ctx, seed, demo::CentreScale::demo());
}

std::function<void(const AppContext &)> demoInstallContent(quint32 seed)
{
    return [seed](const AppContext &ctx) { seedDemoCentre(ctx, seed); };
}

} // namespace fitrova
