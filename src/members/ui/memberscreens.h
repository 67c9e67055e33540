#pragma once
// Plugs the member screens into the main frame: Menu21 the member card
// (회원접수, toolbar button 3), Menu23 the member list (회원조회1), Menu24 the
// points status (포인트현황). The hooks carry the enrollment screens and the
// SMS and label screens of other subsystems once they exist.

#include "members/ui/memberscreenhooks.h"

class QWidget;

namespace fitrova {

class ScreenRegistry;

void registerMemberScreens(ScreenRegistry &registry, MemberScreenHooks hooks = {});

// Shows the member on the member card: the main frame's card when the screen
// sits in the main frame (opening the card when it is closed), otherwise a
// card window of its own.
void openMemberCard(UiContext &ui, QWidget *from, const QString &mbCode, const MemberScreenHooks &hooks);

} // namespace fitrova
