#pragma once
// 회원별입장현황 (menu "회원별 입장현황"): one member, found as at the gate,
// with the visits of a period (optionally only days with two visits or more),
// the visited days of a month on a calendar and the member's enrollments. A
// visit can be deleted with the Delete key.

#include "entrance/reports.h"
#include "data/attendance.h"
#include "widgets/reportscreen.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace fitrova {

class DateEdit;
class MonthEdit;

class MemberVisitReport : public ReportScreen, public ScreenArgsReceiver {
    Q_OBJECT
public:
    explicit MemberVisitReport(UiContext &ui, QWidget *parent = nullptr);

    // Finds the member by the chosen kind and typed text and lists the visits.
    bool searchMember();
    // Shows the member (MbCode) at once.
    void applyScreenArgs(const ScreenArgs &args) override;
    // Deletes the visit of a row after asking.
    bool deleteRow(int row);

    QString memberCode() const { return m_mbCode; }
    const QList<MemberVisitLine> &visits() const { return m_visits; }
    DataGrid *calendar() const { return m_calendar; }
    DataGrid *enrollments() const { return m_lectures; }

protected:
    bool startQuery() override;
    ReportPrint printSpec() const override;
    QString exportName() const override { return QStringLiteral("회원별입장현황"); }

private:
    void takeMember(const QString &code, const QString &name, const QString &card);

    QComboBox *m_kind;
    QLineEdit *m_search;
    QLabel *m_name, *m_code, *m_card;
    DateEdit *m_from, *m_to;
    QCheckBox *m_twice;
    MonthEdit *m_month;
    DataGrid *m_calendar, *m_lectures;
    QString m_mbCode, m_mbName, m_mbCard;
    QList<MemberVisitLine> m_visits;
};

} // namespace fitrova
