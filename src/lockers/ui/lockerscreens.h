#pragma once
// The locker screens, entered into the screen registry under their own names:
//   사물함코드등록, 사물함번호생성, 사물함신청현황, 사물함대여현황, 사물함현황 (workspace screens);
//   사물함신청 (MbCode), 사물함재등록, 사물함변경, 사물함취소 (MbCode, optionally
//   BoxCode and BoxNum), 사물함수정 (Rqid, or MbCode) — dialogs run to their end.
// The rental status hands its renters to `sendSms` (the SMS screen).

#include "members/ui/memberscreenhooks.h"

#include <QStringList>

namespace fitrova {

class ScreenRegistry;

// The names of the rental screens and of the locker management screens, in
// the order the member card offers them.
QStringList lockerRentalScreenNames();
QStringList lockerManagementScreenNames();

void registerLockerScreens(ScreenRegistry &r, MemberHandover sendSms = {});

} // namespace fitrova
