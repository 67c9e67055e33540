#pragma once
// Plugs the entrance reports into the main frame: Menu43 the visit list
// (입장현황, toolbar 입장현황), Menu44 one member's visits (회원별입장현황),
// Menu45 the attendance sheet (출석현황), Menu61 the visit chart
// (회원입장그래프), Menu64 visitors per day (일일입장객현황); the visit counts
// (입장현황1) and the member's visits are also registered under their own
// names. sendSms takes the members the attendance sheet hands over.

#include "members/ui/memberscreenhooks.h"

namespace fitrova {

class ScreenRegistry;

void registerEntranceReportScreens(ScreenRegistry &registry, MemberHandover sendSms = {});

} // namespace fitrova
