#pragma once
// 수강신청현황1 (menu "강좌별 수강현황", printed "수강신청현황(강사용)"): the
// members of each program — enrolled, postponed or refunded — for a month or
// registration dates, grouped by program with its time and instructor.

#include "closing/enrollmentreports.h"
#include "widgets/reportscreen.h"

class QComboBox;
class QRadioButton;

namespace fitrova {

class DateEdit;
class MonthEdit;

class ClassListReport : public ReportScreen {
    Q_OBJECT
public:
    explicit ClassListReport(UiContext &ui, QWidget *parent = nullptr);
    const ClassList &result() const { return m_result; }

protected:
    bool startQuery() override;
    ReportPrint printSpec() const override;
    QString exportName() const override { return QStringLiteral("수강신청현황(강사용)"); }

private:
    void courseChanged();
    void lclassChanged();

    QRadioButton *m_byMonth, *m_byDates, *m_byBoth, *m_enrolled, *m_postponed, *m_cancelled, *m_byTime, *m_byName;
    MonthEdit *m_month;
    DateEdit *m_from, *m_to;
    QComboBox *m_course, *m_months, *m_lclass, *m_mclass, *m_sclass, *m_kind, *m_lecturer, *m_program;
    ClassList m_result;
};

} // namespace fitrova
