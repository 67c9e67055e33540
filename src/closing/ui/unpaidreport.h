#pragma once
// 미납회원현황 (menu "미납회원현황", title "수강료 미납자현황"): members whose
// enrollments are due more than was paid, with the amount due and the
// outstanding amount; a double click opens the member card. Listed on opening.

#include "closing/enrollmentreports.h"
#include "widgets/reportscreen.h"

namespace fitrova {

class UnpaidReport : public ReportScreen {
    Q_OBJECT
public:
    explicit UnpaidReport(UiContext &ui, QWidget *parent = nullptr);
    const Unpaid &result() const { return m_result; }

protected:
    bool startQuery() override;
    ReportPrint printSpec() const override;
    QString exportName() const override { return QStringLiteral("수강료미납자현황"); }

private:
    Unpaid m_result;
};

} // namespace fitrova
