#pragma once
// The screens that act on a member's current rental: renewal (사물함재등록),
// move to another locker (사물함변경), cancellation with the deposit refund
// (사물함취소), and the correction of a rental row (사물함수정). Each is
// opened for a member (and, where known, the locker or the row) and sets TF
// when it wrote something.

#include "lockers/lockerrental.h"
#include "widgets/uicontext.h"

#include <QDialog>
#include <QList>

class QComboBox;
class QLabel;

namespace fitrova {

class DateEdit;
class LockerPicker;
class MoneyEdit;
class RentalPanel;

// The member's rentals; the one of `locker` is shown first when given.
class RenewalDialog : public QDialog {
    Q_OBJECT
public:
    RenewalDialog(UiContext &ui, const QList<LockerRental> &rentals, const LockerKey &locker = {},
                  QWidget *parent = nullptr);
    bool TF = false;
    bool save();

private:
    void rentalChanged();
    void updateEnd();

    UiContext &m_ui;
    RentalPanel *m_rental;
    DateEdit *m_rqDate, *m_start, *m_end;
    QComboBox *m_months;
    MoneyEdit *m_deposit, *m_fee;
};

class MoveDialog : public QDialog {
    Q_OBJECT
public:
    MoveDialog(UiContext &ui, const QList<LockerRental> &rentals, const LockerKey &locker = {},
               QWidget *parent = nullptr);
    bool TF = false;
    bool save();
    LockerPicker *picker() const { return m_picker; }
    QSize sizeHint() const override { return QSize(980, 620); }

private:
    UiContext &m_ui;
    RentalPanel *m_rental;
    LockerPicker *m_picker;
    QLabel *m_newName, *m_newNum;
    DateEdit *m_rqDate;
};

class CancelDialog : public QDialog {
    Q_OBJECT
public:
    CancelDialog(UiContext &ui, const QList<LockerRental> &rentals, const LockerKey &locker = {},
                 QWidget *parent = nullptr);
    bool TF = false;
    bool save();

private:
    UiContext &m_ui;
    RentalPanel *m_rental;
    DateEdit *m_rqDate;
    MoneyEdit *m_refund;
};

// The correction of one rental or renewal row (rqid > 0), or of the row of a
// current rental of the member.
class CorrectionDialog : public QDialog {
    Q_OBJECT
public:
    CorrectionDialog(UiContext &ui, qint64 rqid, const QList<LockerRental> &rentals = {}, QWidget *parent = nullptr);
    bool TF = false;
    bool save();
    // The row shown; 0 when none.
    qint64 rqid() const { return m_rqid; }

private:
    void loadRow(qint64 rqid);
    void updateEnd();

    UiContext &m_ui;
    QList<LockerRental> m_rentals;
    qint64 m_rqid = 0;
    QComboBox *m_choice;
    QLabel *m_title, *m_member, *m_locker, *m_kind;
    DateEdit *m_rqDate, *m_start, *m_end;
    QComboBox *m_months;
    MoneyEdit *m_deposit, *m_fee;
};

} // namespace fitrova
