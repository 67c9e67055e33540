#pragma once
// The period-program editor (강좌등록Sub): course item and small class,
// name, instructor, lesson time, weekdays, capacity, in use, and the fee
// table with one row per month count the item allows. Opened with JobGubun
// "N" (new) or "C" (change) and Pgid; TF tells the list that something was
// saved. After a new program is saved the editor holds it as a change, so a
// second 저장 does not add it twice.

#include "catalogue/programs.h"
#include "widgets/uicontext.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QTabWidget;

namespace fitrova {

class DataGrid;

class ProgramEditDialog : public QDialog {
    Q_OBJECT
public:
    ProgramEditDialog(UiContext &ui, const QString &jobGubun, qint64 pgId, QWidget *parent = nullptr,
                      const QString &listCaption = QStringLiteral("강좌등록"));

    QString JobGubun;
    qint64 Pgid = 0;
    bool TF = false;

    DataGrid *feeGrid() const { return m_fees; }
    DataGrid *waitGrid() const { return m_waits; }
    // True when saved (the close question's 예 stays open otherwise).
    bool save();
    // The program's waiting members, those a free place can take marked.
    void showWaits();

    // The inputs as a program (fees from the grid).
    Program inputs() const;

private:
    void loadProgram();
    void onCourseChanged();
    void fillClasses(const QString &course);
    void rebuildFees(const QList<FeeRow> &keep);
    QList<FeeRow> feesInGrid() const;
    void normalizeTime(QLineEdit *field);
    void pickLecturer();
    void focusField(int field);
    void updateCaption();
    void cancelSelectedWait();
    void openWaitingMember();

    UiContext &m_ui;
    QString m_listCaption;
    QList<FeeRow> m_storedFees;
    QComboBox *m_course, *m_class, *m_lecturer;
    QLineEdit *m_name, *m_time1, *m_time2, *m_maxNum;
    QCheckBox *m_maxNumChk, *m_use;
    std::array<QCheckBox *, 7> m_days{};
    DataGrid *m_fees;
    DataGrid *m_waits;
    QTabWidget *m_tabs;
    class UnsavedChanges *m_unsaved;
};

} // namespace fitrova
