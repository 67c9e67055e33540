#pragma once
// 회원입장그래프 (menu "입장현황 그래프"): visit counts per course item per
// month of a year, per day of a month or per hour of a day, drawn as bars,
// lines or steps, one series per course item (개별) or one total (합계), and
// listed beside the chart. The "3D" styles are drawn flat: 2-3D Bar as bars
// with a raised outline, 4-3D Line as a thick line with its points marked,
// 5-3D Step as a step line.

#include "entrance/reports.h"
#include "widgets/reportscreen.h"

class QComboBox;
class QRadioButton;
class QSpinBox;

namespace fitrova {

class DateEdit;
class MonthEdit;

class VisitChartReport : public ReportScreen {
    Q_OBJECT
public:
    explicit VisitChartReport(UiContext &ui, QWidget *parent = nullptr);

    const VisitChart &result() const { return m_chart; }
    // Redraws the chart of the last result in the chosen style and grouping.
    void draw();

protected:
    bool startQuery() override;
    ReportPrint printSpec() const override;
    QString exportName() const override { return QStringLiteral("입장현황그래프"); }

private:
    void periodChanged();

    QComboBox *m_period, *m_course, *m_style;
    QSpinBox *m_year;
    MonthEdit *m_month;
    DateEdit *m_day;
    QRadioButton *m_each, *m_sum;
    VisitChart m_chart;
    VisitChartCriteria m_shown;
};

} // namespace fitrova
