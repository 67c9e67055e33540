#pragma once
// The diary's entry screen (일정등록): one entry's day, optional start and end
// slots, title and details; below, the user's own entries of the kind over a
// period, to pick one for changing or to delete with the Delete key.
//
// The opener sets uGubun, uUserCode and uDate before exec(); TF is true
// afterwards when something was saved or deleted.

#include "schedule/schedule.h"
#include "widgets/uicontext.h"

#include <QDialog>
#include <memory>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QSettings;

namespace fitrova {

class DataGrid;
class DateEdit;

class ScheduleEntryDialog : public QDialog {
    Q_OBJECT
public:
    ScheduleEntryDialog(UiContext &ui, const QString &gubun, const QString &userCode, const QDate &date,
                        QWidget *parent = nullptr);
    ~ScheduleEntryDialog() override;

    QString uGubun, uUserCode;
    QDate uDate;
    bool TF = false;

    // Writes the entry being edited (or a new one); true when stored.
    bool SaveProc();
    void newEntry();
    void refill();
    void deleteSelected();
    DataGrid *list() const { return m_list; }
    qint64 editingId() const { return m_id; }

private:
    void timeBoxToggled(QComboBox *slot, const QString &key, bool on);
    void applyStoredSwitches();
    void setDefaultTimes();
    void showRow(int row);

    UiContext &m_ui;
    std::unique_ptr<QSettings> m_store;
    DateEdit *m_date, *m_from, *m_to;
    QCheckBox *m_useStart, *m_useEnd;
    QComboBox *m_start, *m_end;
    QLineEdit *m_title;
    QPlainTextEdit *m_detail;
    DataGrid *m_list;
    QList<ScheduleEntry> m_entries;
    qint64 m_id = 0;
};

// The per-user settings of the diary: application name the user's code
// followed by "Fitrova".
std::unique_ptr<QSettings> scheduleSettings(const QString &userCode);

} // namespace fitrova
