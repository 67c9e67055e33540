#pragma once
// Plugs the takings and enrollment reports into the main frame: Menu25
// unpaid members (미납회원현황), Menu41 valid members (유효회원현황, toolbar
// 회원현황), Menu42 enrollments per class (수강신청현황1), Menu51 the income
// report (강좌수입현황, toolbar 매출일보), Menu52 the enrollment status
// (수강신청현황, toolbar 수강현황), Menu55 the member settlement
// (회원결산현황), Menu63 the monthly summary (월매출집계표), Menu65 daily valid
// members (일일유효회원현황). sendSms takes the members the valid-member report
// hands over.

#include "members/ui/memberscreenhooks.h"

namespace fitrova {

class ScreenRegistry;

void registerClosingReportScreens(ScreenRegistry &registry, MemberHandover sendSms = {});

} // namespace fitrova
