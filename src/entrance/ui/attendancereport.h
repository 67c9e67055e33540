#pragma once
// 출석현황 (menu "회원출석부", caption "회원출석현황 조회"): the attendance
// sheet of a course item for a month. A double click on a day marks the
// member present by hand (or takes a manual mark back); 문자전송 hands the
// listed members to SMS.

#include "entrance/reportsattendance.h"
#include "members/ui/memberscreenhooks.h"
#include "widgets/reportscreen.h"

class QComboBox;

namespace fitrova {

class MonthEdit;

class AttendanceReport : public ReportScreen {
    Q_OBJECT
public:
    AttendanceReport(UiContext &ui, QWidget *parent = nullptr, MemberHandover sendSms = {});

    const AttendanceSheet &sheet() const { return m_sheet; }
    // The grid column of a day of the month (1-based day).
    static int dayColumn(int day) { return 2 + day; }
    // A double click on a cell: on a day, the manual attendance is registered
    // or taken back after asking. True when something was written.
    bool dayActivated(int row, int column);
    void sendSms();

protected:
    bool startQuery() override;
    ReportPrint printSpec() const override;
    QString exportName() const override { return QStringLiteral("회원출석현황"); }

private:
    MemberHandover m_sendSms;
    MonthEdit *m_month;
    QComboBox *m_course, *m_lecturer, *m_program;
    AttendanceSheet m_sheet;
    AttendanceCriteria m_shown;
};

} // namespace fitrova
