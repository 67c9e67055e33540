#pragma once
// 유효회원현황 (menu "유효/만기/도래회원 조회", toolbar 회원현황, title
// "유효-만기-도래 회원현황"): members valid on a day, or whose enrollments end
// or start between two days, per program with subtotals; 문자전송 hands the
// listed members to SMS; a double click opens the member card.

#include "closing/enrollmentreports.h"
#include "members/ui/memberscreenhooks.h"
#include "widgets/reportscreen.h"

#include <optional>

class QComboBox;

namespace fitrova {

class DateEdit;

class ValidMembersReport : public ReportScreen {
    Q_OBJECT
public:
    ValidMembersReport(UiContext &ui, QWidget *parent = nullptr, MemberHandover sendSms = {});
    // The number of lines of the list shown.
    qint64 count() const { return m_count; }
    void sendSms();

protected:
    bool startQuery() override;
    ReportPrint printSpec() const override;
    QString exportName() const override { return QStringLiteral("유효-만기-도래회원현황"); }

private:
    void kindChanged();

    MemberHandover m_sendSms;
    QComboBox *m_kind, *m_course, *m_months, *m_pgGubun, *m_lectGubun, *m_lecturer, *m_program;
    DateEdit *m_from, *m_to;
    QWidget *m_tilde;
    std::optional<ValidMemberCriteria> m_shown; // the criteria of the list shown
    qint64 m_count = 0;
};

} // namespace fitrova
