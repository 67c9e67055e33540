#include "entrance/gatesettings.h"

#include "foundation/appcontext.h"
#include "foundation/inifile.h"

namespace fitrova {

const char *const kGateSection = "GATE";
const char *const kGateSoundsKey = "Sounds";

bool gateSoundsOn(const AppContext &ctx)
{
    const IniFile ini(ctx.paths.iniFile);
    return ini.value(QLatin1String(kGateSection), QLatin1String(kGateSoundsKey)).trimmed() == QLatin1String("1");
}

bool setGateSounds(const AppContext &ctx, bool on)
{
    const IniFile ini(ctx.paths.iniFile);
    return ini.setValue(QLatin1String(kGateSection), QLatin1String(kGateSoundsKey),
                        on ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace fitrova
