#pragma once
// 일일유효회원현황 (menu "유효/만기회원 변동현황"): for each day of a month and
// each course item, the enrollments valid that day (or ending that day).

#include "closing/enrollmentreports.h"
#include "widgets/reportscreen.h"

class QRadioButton;
class QSpinBox;

namespace fitrova {

class DailyValidReport : public ReportScreen {
    Q_OBJECT
public:
    explicit DailyValidReport(UiContext &ui, QWidget *parent = nullptr);
    const DailyValid &result() const { return m_result; }

protected:
    bool startQuery() override;
    ReportPrint printSpec() const override;
    QString exportName() const override;

private:
    QSpinBox *m_year, *m_month;
    QRadioButton *m_valid, *m_expiring;
    DailyValid m_result;
};

} // namespace fitrova
