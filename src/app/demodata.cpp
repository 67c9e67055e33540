#include "app/demodata.h"
#include "app/appcontext.h"

namespace fitrova {

void seedDemoCentre(const AppContext &ctx, quint32 seed)
{
    Q_UNUSED(ctx);
    Q_UNUSED(seed);
}

} // namespace fitrova
