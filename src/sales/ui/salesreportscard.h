#pragma once
// 카드사별매출집계 ("카드사별 매출집계"): the card takings of a month, one
// row per day and one column per card company, with the day's total and a
// 합계 row; of goods, of members (enrollments and payments less card
// refunds) or of both.

#include "sales/salesreports.h"
#include "widgets/reportscreen.h"

class QComboBox;
class QSpinBox;

namespace fitrova {

class CardTakingsReport : public ReportScreen {
    Q_OBJECT
public:
    explicit CardTakingsReport(UiContext &ui, QWidget *parent = nullptr);
    const CardTakings &shown() const { return m_shown; }

protected:
    bool startQuery() override;
    ReportPrint printSpec() const override;
    QString exportName() const override { return QStringLiteral("카드사별매출집계"); }

private:
    QSpinBox *m_year;
    QComboBox *m_month, *m_source;
    CardTakings m_shown;
};

} // namespace fitrova
