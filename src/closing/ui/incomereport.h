#pragma once
// 강좌수입현황 (menu "매출일보/집계표", toolbar 매출일보): the takings of a
// period and desk user — enrollments, goods and lockers — summed per kind
// and program or item ("매출일보(집계)"), or line by line ("매출일보(내역별)").
// A double click on an enrollment line shows the period it was first sold for.

#include "closing/takingsreports.h"
#include "widgets/reportscreen.h"

class QComboBox;
class QRadioButton;

namespace fitrova {

class DateEdit;

class IncomeReport : public ReportScreen {
    Q_OBJECT
public:
    explicit IncomeReport(UiContext &ui, QWidget *parent = nullptr);

    bool itemised() const;
    const IncomeSummary &summary() const { return m_summary; }
    // The sums of the itemised list shown.
    const IncomeTotals &totals() const { return m_totals; }
    // The month filter's items: "모두보기", "1 개월", "3 개월", "6 개월", "12개월".
    static QStringList monthFilterItems();

protected:
    bool startQuery() override;
    ReportPrint printSpec() const override;
    QString exportName() const override;

private:
    void showFirstPeriod(int row);

    DateEdit *m_from, *m_to;
    QComboBox *m_user, *m_months;
    QRadioButton *m_summed, *m_lines;
    IncomeSummary m_summary;
    IncomeTotals m_totals;
};

} // namespace fitrova
