#pragma once
// Address labels for direct mail (DM발송): the members handed over by the
// member list or the batch query fill the search list; the ticked ones are
// moved to the print list ("선택"), whose rows Delete removes; "인쇄" writes
// the run (skipped positions first) into the print database and shows the
// label sheets to print or save as PDF. The sheet kind and the margin
// adjustment of each kind are remembered.

#include "members/membercontact.h"
#include "messaging/labels.h"
#include "messaging/ui/labelsprint.h"
#include "widgets/uicontext.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;

namespace fitrova {

class DataGrid;
class MoneyEdit;

class LabelsScreen : public QWidget {
    Q_OBJECT
public:
    explicit LabelsScreen(UiContext &ui, QWidget *parent = nullptr);

    // Replaces the search list with these members (all ticked).
    void setSearchList(const MemberContacts &members);
    // Copies the ticked rows of the search list to the print list.
    void moveTicked();
    void removePrintRow(int row);
    // Writes the run into the print database and returns the rows to print;
    // nothing when it was refused (the user was told).
    std::optional<QList<LabelRow>> prepareRun();
    void print();

    LabelPrintOptions printOptions() const;
    MemberContacts printList() const { return m_print; }
    DataGrid *searchGrid() const { return m_search; }
    DataGrid *printGrid() const { return m_printGrid; }

private:
    void fillPrintGrid();
    void loadMargins();
    void saveMargins();

    UiContext &m_ui;
    DataGrid *m_search, *m_printGrid;
    QCheckBox *m_all, *m_outlines;
    QComboBox *m_sheet;
    MoneyEdit *m_skip;
    QLineEdit *m_honorific;
    QDoubleSpinBox *m_left, *m_top;
    QLabel *m_counts;
    MemberContacts m_found, m_print;
};

// The hand-over of the member screens: opens the label screen (or raises it)
// with the members in its search list.
void openLabelScreen(UiContext &ui, const MemberContacts &members, QWidget *parent);

} // namespace fitrova
