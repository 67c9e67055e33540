#pragma once
// The preview and bulk send (frmSmsPreview): every ticked recipient's number
// with the message made for them. The reservation tick enables a day and an
// hour and minute (or the calendar); 전송 writes the messages and shows the
// summary of what was sent and what failed.

#include "messaging/smsdesk.h"
#include "messaging/smsmessages.h"
#include "widgets/uicontext.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;

namespace fitrova {

class DataGrid;
class DateEdit;

class SmsPreviewDialog : public QDialog {
    Q_OBJECT
public:
    SmsPreviewDialog(UiContext &ui, SmsDesk &desk, const QList<SmsMessage> &messages, QWidget *parent = nullptr);

    // Sends the listed messages; true when they were written (the dialog is then accepted).
    bool send();
    // "" to send at once, else "YYYYMMDDHHMM".
    QString reservation() const;
    // Reserves the messages for that moment (ticks the reservation).
    void reserveAt(const QDateTime &at);
    const SmsSendReport &report() const { return m_report; }
    DataGrid *grid() const { return m_grid; }

private:
    void reservationToggled(bool on);
    void openCalendar();

    UiContext &m_ui;
    SmsDesk &m_desk;
    QList<SmsMessage> m_messages;
    SmsSendReport m_report;
    DataGrid *m_grid;
    QCheckBox *m_reserve;
    DateEdit *m_date;
    QComboBox *m_hour, *m_minute;
    QLabel *m_count;
};

} // namespace fitrova
