#pragma once
// A new rental (사물함신청) for a member: the locker chosen in the group tabs,
// the months, the period and the deposit and fee offered by its group.

#include "widgets/uicontext.h"

#include <QDialog>

class QComboBox;
class QLabel;

namespace fitrova {

class DateEdit;
class LockerPicker;
class MoneyEdit;

class RentalDialog : public QDialog {
    Q_OBJECT
public:
    RentalDialog(UiContext &ui, const QString &mbCode, QWidget *parent = nullptr);

    bool TF = false;
    // 저장: asks, rents, and closes the window when the rental was written.
    bool save();
    LockerPicker *picker() const { return m_picker; }
    QSize sizeHint() const override { return QSize(980, 600); }

private:
    void groupChanged();
    void lockerChanged();
    void updateEnd();

    UiContext &m_ui;
    QString m_mbCode;
    LockerPicker *m_picker;
    QLabel *m_member, *m_perName, *m_perNum;
    DateEdit *m_rqDate, *m_start, *m_end;
    QComboBox *m_months;
    MoneyEdit *m_deposit, *m_fee;
};

} // namespace fitrova
