#pragma once
// The reservation calendar (frmSmsCalendar): a month with the weekday
// headings 일 … 토, buttons for the previous and next year and month, the
// chosen day as its title ("2024년 5월 10일") and the hour and minute of the
// reservation. OK gives the chosen moment.

#include <QDateTime>
#include <QDialog>

class QCalendarWidget;
class QComboBox;
class QLabel;

namespace fitrova {

class SmsCalendarDialog : public QDialog {
    Q_OBJECT
public:
    SmsCalendarDialog(const QDateTime &initial, QWidget *parent = nullptr);

    QDateTime chosen() const;
    // "YYYYMMDDHHMM" of the chosen moment.
    QString reservation() const;
    // The chosen day as year + "-" + month + "-" + day ("2024-5-10").
    QString dayText() const;

    void stepYear(int years);
    void stepMonth(int months);
    void selectDate(const QDate &date);

private:
    void showTitle();

    QCalendarWidget *m_calendar;
    QLabel *m_title;
    QComboBox *m_hour, *m_minute;
};

// The minutes a reservation can take: "00", "05" … "55".
QStringList reservationMinuteItems();

} // namespace fitrova
