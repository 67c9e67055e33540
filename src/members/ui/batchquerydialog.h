#pragma once
// The batch enrollment query (일괄조회), opened from the member card: the
// enrollments of a kind (valid, expiring, starting, enrolled, postponed,
// refunded, unpaid) over a date range. A double click shows the row's member
// on the member card; 문자전송 hands the listed members to SMS.

#include "members/batchquery.h"
#include "members/ui/memberscreenhooks.h"
#include "widgets/uicontext.h"

#include <QDialog>

class QComboBox;
class QLabel;

namespace fitrova {

class DataGrid;
class DateEdit;

class BatchQueryDialog : public QDialog {
    Q_OBJECT
public:
    BatchQueryDialog(UiContext &ui, MemberScreenHooks hooks, QWidget *parent = nullptr);

    void query();
    DataGrid *grid() const { return m_grid; }
    const QList<BatchLine> &lines() const { return m_lines; }

signals:
    // The member of a double-clicked row.
    void memberChosen(const QString &mbCode);

private:
    UiContext &m_ui;
    MemberScreenHooks m_hooks;
    QComboBox *m_kind, *m_prog;
    DateEdit *m_from, *m_to;
    DataGrid *m_grid;
    QLabel *m_count;
    QList<BatchLine> m_lines;
};

} // namespace fitrova
