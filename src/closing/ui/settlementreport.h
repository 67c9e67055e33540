#pragma once
// 회원결산현황 (menu "강습회원 결산현황"): per course item and program, for one
// month or a range of months of a year, the counts of new and returning
// members and the amounts by kind of enrollment row, optionally split by the
// number of months sold, with a subtotal per course item.

#include "closing/takingsreports.h"
#include "widgets/reportscreen.h"

class QCheckBox;
class QComboBox;
class QRadioButton;
class QSpinBox;

namespace fitrova {

class MonthEdit;

class SettlementReport : public ReportScreen {
    Q_OBJECT
public:
    explicit SettlementReport(UiContext &ui, QWidget *parent = nullptr);
    const Settlement &result() const { return m_result; }

protected:
    bool startQuery() override;
    ReportPrint printSpec() const override;
    QString exportName() const override { return QStringLiteral("회원결산현황"); }

private:
    SettlementCriteria readCriteria() const;

    QRadioButton *m_oneMonth, *m_range;
    MonthEdit *m_month;
    QSpinBox *m_year;
    QComboBox *m_from, *m_to;
    QCheckBox *m_byMonths;
    Settlement m_result;
};

} // namespace fitrova
