#pragma once
// Date inputs: a date field with a drop-down calendar that reads and writes
// "YYYY-MM-DD", and a month field that reads and writes "YYYY-MM".

#include <QDateEdit>
#include <QString>

namespace fitrova {

// The clerk types a date in any of the usual forms and it is read on Enter
// and on leaving the field (typedDate): "20241215", "2024-12-15", "241215",
// "12-15" or "1215" (this year), "15" (this month). Text that is no date
// brings the previous date back. Arrows and the calendar work as ever.
class DateEdit : public QDateEdit {
    Q_OBJECT
public:
    explicit DateEdit(QWidget *parent = nullptr);
    explicit DateEdit(const QDate &date, QWidget *parent = nullptr);

    // "YYYY-MM-DD".
    QString dateText() const;
    // Accepts "YYYY-MM-DD"; returns false (and keeps the date) for other text.
    bool setDateText(const QString &text);

    // The day typed forms count from; the system date unless set.
    void setToday(const QDate &today) { m_today = today; }
    QDate today() const;

signals:
    // The date as "YYYY-MM-DD" whenever it changes.
    void dateTextChanged(const QString &text);

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;

private:
    void commitTyped();

    QDate m_today;
    QString m_typed;
    bool m_typing = false;
};

// A typed date: one or two digits are a day of today's month, anything else
// is read as normalizeDate reads it. Invalid QDate when it is no date.
QDate typedDate(const QString &text, const QDate &today);

class MonthEdit : public QDateEdit {
    Q_OBJECT
public:
    explicit MonthEdit(QWidget *parent = nullptr);

    // "YYYY-MM".
    QString monthText() const;
    // Accepts "YYYY-MM" (or a full date, whose month is taken).
    bool setMonthText(const QString &text);
    // First and last day of the shown month, "YYYY-MM-DD".
    QString firstDayText() const;
    QString lastDayText() const;

signals:
    void monthTextChanged(const QString &text);
};

} // namespace fitrova
