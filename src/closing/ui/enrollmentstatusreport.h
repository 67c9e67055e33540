#pragma once
// 수강신청현황 (menu "수강현황(연기/취소/양도)", toolbar 수강현황): the
// enrollments of a month or of registration dates in five lists — 수강신청현황,
// 반변경신청현황, 연기신청현황, 수강취소현황, 양도양수현황 — each with its
// columns and total lines.

#include "closing/enrollmentreports.h"
#include "widgets/reportscreen.h"

class QComboBox;
class QRadioButton;
class QTabBar;

namespace fitrova {

class DateEdit;
class MonthEdit;

class EnrollmentStatusReport : public ReportScreen {
    Q_OBJECT
public:
    explicit EnrollmentStatusReport(UiContext &ui, QWidget *parent = nullptr);

    static QStringList tabNames();
    EnrollmentList currentList() const;
    void setCurrentList(EnrollmentList list);
    // The number of lines of the list shown.
    qint64 count() const { return m_count; }

protected:
    bool startQuery() override;
    ReportPrint printSpec() const override;
    QString exportName() const override;

private:
    EnrollmentStatusCriteria readCriteria() const;
    void courseChanged();

    QRadioButton *m_byMonth, *m_byDates, *m_byBoth;
    MonthEdit *m_month;
    DateEdit *m_from, *m_to;
    QComboBox *m_course, *m_sclass, *m_months, *m_user;
    QTabBar *m_tabs;
    qint64 m_count = 0;
};

} // namespace fitrova
