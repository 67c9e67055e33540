#pragma once
// 월매출집계표 (menu "월별 일일 매출집계표", title "월별 일일 매출집계표"):
// one row per day of a month with course, locker and goods takings in cash,
// card and both, on the closing date or the sale date, in hundreds of won.

#include "closing/takingsreports.h"
#include "widgets/reportscreen.h"

class QComboBox;
class QRadioButton;
class QSpinBox;

namespace fitrova {

class MonthlySalesReport : public ReportScreen {
    Q_OBJECT
public:
    explicit MonthlySalesReport(UiContext &ui, QWidget *parent = nullptr);
    // The figures as shown (hundreds of won).
    const MonthlySales &shown() const { return m_shown; }

protected:
    bool startQuery() override;
    ReportPrint printSpec() const override;
    QString exportName() const override { return QStringLiteral("월별일일매출집계표"); }

private:
    QString basisText() const;

    QSpinBox *m_year;
    QComboBox *m_month;
    QRadioButton *m_closing, *m_sale;
    MonthlySales m_shown;
};

} // namespace fitrova
