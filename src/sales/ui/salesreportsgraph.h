#pragma once
// 판매분석그래프 ("판매현황 그래프"): takings of enrollments or of goods per
// day of a month or per month of a year, as amounts (the chart in thousands
// of won) or counts, one series per course (개별) or one total (합계); the
// figures are listed beside the chart. The "3D" styles are drawn flat:
// 2-3D Bar as bars with a raised, darker outline, 4-3D Line as a thick line
// with its points marked, 5-3D Step as a step line.

#include "sales/salesreports.h"
#include "widgets/reportscreen.h"

class QComboBox;
class QRadioButton;
class QSpinBox;

namespace fitrova {

class SalesGraphReport : public ReportScreen {
    Q_OBJECT
public:
    explicit SalesGraphReport(UiContext &ui, QWidget *parent = nullptr);
    const SalesGraph &result() const { return m_graph; }
    void draw();

protected:
    bool startQuery() override;
    ReportPrint printSpec() const override;
    QString exportName() const override { return QStringLiteral("판매분석그래프"); }

private:
    void sourceChanged();

    QComboBox *m_source, *m_value, *m_period, *m_month, *m_course, *m_style;
    QSpinBox *m_year;
    QRadioButton *m_each, *m_sum;
    SalesGraph m_graph;
    GraphValue m_shownValue = GraphValue::Amount;
};

} // namespace fitrova
