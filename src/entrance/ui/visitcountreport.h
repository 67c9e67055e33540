#pragma once
// 입장현황1 (caption "회원입장 상세조회"): members who came at least N times,
// counted per day (일일입장횟수) or over the period (총입장횟수).

#include "entrance/reports.h"
#include "widgets/reportscreen.h"

class QComboBox;
class QRadioButton;

namespace fitrova {

class DateEdit;
class MoneyEdit;

class VisitCountReport : public ReportScreen {
    Q_OBJECT
public:
    explicit VisitCountReport(UiContext &ui, QWidget *parent = nullptr);
    const VisitCounts &result() const { return m_counts; }

protected:
    bool startQuery() override;
    ReportPrint printSpec() const override;
    QString exportName() const override { return QStringLiteral("회원입장상세"); }

private:
    void setColumnsFor(bool perDay);

    DateEdit *m_from, *m_to;
    QComboBox *m_course, *m_lecturer, *m_program;
    MoneyEdit *m_count;
    QRadioButton *m_perDay, *m_total;
    VisitCounts m_counts;
    VisitCountCriteria m_shown;
};

} // namespace fitrova
