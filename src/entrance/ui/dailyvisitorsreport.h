#pragma once
// 일일입장객현황 (caption "월별 일일 입장객현황"): visitors on each day of a
// month — members' visits and entry tickets sold, one column per goods
// course — with a total column and a 합계 row.

#include "entrance/reports.h"
#include "widgets/reportscreen.h"

class QCheckBox;

namespace fitrova {

class MonthEdit;

class DailyVisitorsReport : public ReportScreen {
    Q_OBJECT
public:
    explicit DailyVisitorsReport(UiContext &ui, QWidget *parent = nullptr);
    const DailyVisitors &result() const { return m_result; }

protected:
    bool startQuery() override;
    ReportPrint printSpec() const override;
    QString exportName() const override { return QStringLiteral("월별일일입장객현황"); }

private:
    MonthEdit *m_month;
    QCheckBox *m_members, *m_goods;
    DailyVisitors m_result;
};

} // namespace fitrova
