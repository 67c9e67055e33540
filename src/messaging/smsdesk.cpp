#include "messaging/smsdesk.h"

#include "foundation/appcontext.h"
#include "foundation/inifile.h"

namespace fitrova {

std::optional<QString> SmsDesk::connect(const AppContext &ctx)
{
    if (link.isOpen())
        return std::nullopt;
    QString problem;
    const SmsConfig config = readSmsConfig(IniFile(Paths::iniPathFor(ctx.paths.installDir)), &problem);
    if (!problem.isEmpty())
        return QStringLiteral("설정파일의 SMS 항목이 올바르지 않습니다: ") + problem;
    return link.open(config);
}

bool SmsDesk::configured(const AppContext &ctx)
{
    return readSmsConfig(IniFile(Paths::iniPathFor(ctx.paths.installDir))).inUse();
}

} // namespace fitrova
