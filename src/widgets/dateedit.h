#pragma once
// Date inputs: a date field with a drop-down calendar that reads and writes
// "YYYY-MM-DD", and a month field that reads and writes "YYYY-MM".

#include <QDateEdit>
#include <QString>

namespace fitrova {

class DateEdit : public QDateEdit {
    Q_OBJECT
public:
    explicit DateEdit(QWidget *parent = nullptr);
    explicit DateEdit(const QDate &date, QWidget *parent = nullptr);

    // "YYYY-MM-DD".
    QString dateText() const;
    // Accepts "YYYY-MM-DD"; returns false (and keeps the date) for other text.
    bool setDateText(const QString &text);

signals:
    // The date as "YYYY-MM-DD" whenever it changes.
    void dateTextChanged(const QString &text);
};

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
