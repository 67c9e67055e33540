#pragma once
// 입장현황 (menu "일자별 입장현황", toolbar 입장현황): the visits of a period,
// filtered by entry time, course item, program, instructor, sex and member;
// a double click opens the member card; 상세조회 opens the visit counts.

#include "entrance/reports.h"
#include "widgets/reportscreen.h"

class QComboBox;
class QLineEdit;
class QLabel;

namespace fitrova {

class DateEdit;

class VisitListReport : public ReportScreen {
    Q_OBJECT
public:
    explicit VisitListReport(UiContext &ui, QWidget *parent = nullptr);

    // The visits the last query found.
    qint64 count() const { return m_count; }
    // The member the list is narrowed to ("" none), found by 회원찾기.
    QString memberCode() const { return m_mbCode; }
    // Looks the typed name up: one member is taken, several are offered in
    // the pick list, none is told.
    bool findMember();

protected:
    bool startQuery() override;
    ReportPrint printSpec() const override;
    QString exportName() const override { return QStringLiteral("입장현황"); }

private:
    std::optional<VisitListCriteria> readCriteria();

    DateEdit *m_from, *m_to;
    QLineEdit *m_time1, *m_time2, *m_name;
    QComboBox *m_course, *m_lecturer, *m_program, *m_sex;
    QLabel *m_member;
    QString m_mbCode, m_mbName;
    qint64 m_count = 0;
};

} // namespace fitrova
