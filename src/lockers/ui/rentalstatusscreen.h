#pragma once
// The rental status of the lockers (사물함대여현황): every locker of a group (or
// of all groups), free or rented, with the renter and the last enrollment
// month; the expiry filters (ended before a date, or more than N days ago);
// printed, exported, and the listed renters handed to the SMS screen.

#include "lockers/lockerreports.h"
#include "members/ui/memberscreenhooks.h"
#include "widgets/uicontext.h"

#include <QList>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace fitrova {

class DataGrid;
class DateEdit;

class RentalStatusScreen : public QWidget {
    Q_OBJECT
public:
    RentalStatusScreen(UiContext &ui, QWidget *parent = nullptr, MemberHandover sendSms = {});

    // The criteria as the inputs stand; nullopt (after the message) when the
    // number of days is not a number.
    std::optional<RentalStatusCriteria> criteria();
    void query();
    void print();
    void exportExcel();
    void sendSms();
    // The renters listed, once each, with their end dates, as the SMS screen
    // takes them.
    MemberContacts renters() const;

    DataGrid *grid() const { return m_grid; }
    QSize sizeHint() const override { return QSize(1000, 600); }

private:
    UiContext &m_ui;
    MemberHandover m_sendSms;
    QComboBox *m_group, *m_use;
    QCheckBox *m_expiry;
    DateEdit *m_expiryDate;
    QLineEdit *m_days;
    QLabel *m_count;
    DataGrid *m_grid;
    QList<RentalStatusLine> m_lines;
};

} // namespace fitrova
