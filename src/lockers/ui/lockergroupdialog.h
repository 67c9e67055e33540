#pragma once
// The group editor (사물함코드등록Sub): a new group with its lockers, or the
// name, course, deposit and fee of a group. Opened with JobGubun "N" or "C"
// and the group's code; TF is set when something was saved.

#include "lockers/lockergroups.h"
#include "widgets/uicontext.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace fitrova {

class MoneyEdit;

class LockerGroupDialog : public QDialog {
    Q_OBJECT
public:
    LockerGroupDialog(UiContext &ui, const QString &jobGubun, const QString &code, QWidget *parent = nullptr);

    bool TF = false;
    QString jobGubun() const { return m_job; }
    // 저장. True when the group was saved.
    bool save();

signals:
    // A group was saved: the list reads itself again.
    void saved(const QString &code);

private:
    void load();
    void resetForNext();
    void focusField(int field);

    UiContext &m_ui;
    QString m_job, m_code;
    QLineEdit *m_boxCode, *m_name, *m_num1, *m_num2;
    QComboBox *m_course;
    MoneyEdit *m_deposit, *m_fee;
};

} // namespace fitrova
