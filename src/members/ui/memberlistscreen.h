#pragma once
// The member list (회원조회1, menu "회원조회(DM/SMS)"): members chosen by
// their own data and their enrollments, printed with the criteria, exported,
// or handed to SMS and address labels.

#include "members/memberlist.h"
#include "members/ui/memberscreenhooks.h"
#include "widgets/uicontext.h"

#include <QHash>
#include <QPair>
#include <QWidget>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace fitrova {

class DataGrid;
class DateEdit;
class MonthEdit;
struct GridPage;

// The grid rows of member list lines (their cells, keyed by member number).
GridPage memberListGridPage(QList<CellRow> &&lines);

class MemberListScreen : public QWidget {
    Q_OBJECT
public:
    using OpenMember = std::function<void(const QString &mbCode)>;
    MemberListScreen(UiContext &ui, QWidget *parent = nullptr, MemberScreenHooks hooks = {}, OpenMember openMember = {});

    // The criteria as the inputs stand; nullopt (after the message) when a
    // birthday bound names no day.
    std::optional<MemberListCriteria> criteria();
    void setOpenMember(OpenMember fn) { m_openMember = std::move(fn); }
    QSize sizeHint() const override { return QSize(990, 600); }
    bool query();
    void print();
    void exportExcel();
    void sendSms();
    void printLabels();

    DataGrid *grid() const { return m_grid; }
    // Members the last query found (the grid reads their lines as it scrolls).
    qint64 foundCount() const { return m_found; }

private:
    void fillLists();
    void courseChanged();
    void lecturerChanged();
    void lclassChanged();
    void scopeChanged();
    MemberListLabels labels() const;
    MemberContacts contacts();

    UiContext &m_ui;
    MemberScreenHooks m_hooks;
    OpenMember m_openMember;
    QLineEdit *m_code1, *m_code2, *m_name1, *m_name2, *m_card1, *m_card2, *m_bir1, *m_bir2;
    QCheckBox *m_useInDate;
    DateEdit *m_in1, *m_in2, *m_rq1, *m_rq2;
    MonthEdit *m_ym1, *m_ym2;
    QComboBox *m_gubun, *m_area, *m_sex, *m_age, *m_cour, *m_lcl, *m_mcl, *m_scl, *m_lect, *m_lec, *m_scope;
    QHash<QString, QPair<qint64, qint64>> m_ageBands;
    DataGrid *m_grid;
    QLabel *m_count;
    qint64 m_found = 0;
};

} // namespace fitrova
