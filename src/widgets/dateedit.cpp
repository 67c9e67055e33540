#include "widgets/dateedit.h"

#include <QCalendarWidget>

namespace fitrova {

namespace {
const QString kDateFormat = QStringLiteral("yyyy-MM-dd");
const QString kMonthFormat = QStringLiteral("yyyy-MM");

void setupCalendar(QDateEdit *e)
{
    e->setCalendarPopup(true);
    e->setMinimumDate(QDate(1900, 1, 1));
    e->setMaximumDate(QDate(9999, 12, 31));
    if (QCalendarWidget *cal = e->calendarWidget()) {
        cal->setGridVisible(true);
        cal->setFirstDayOfWeek(Qt::Sunday);
        cal->setLocale(QLocale(QLocale::Korean, QLocale::SouthKorea));
    }
}
} // namespace

DateEdit::DateEdit(QWidget *parent) : DateEdit(QDate::currentDate(), parent) {}

DateEdit::DateEdit(const QDate &date, QWidget *parent) : QDateEdit(parent)
{
    setDisplayFormat(kDateFormat);
    setupCalendar(this);
    setDate(date);
    connect(this, &QDateEdit::dateChanged, this, [this](const QDate &d) {
        emit dateTextChanged(d.toString(kDateFormat));
    });
}

QString DateEdit::dateText() const
{
    return date().toString(kDateFormat);
}

bool DateEdit::setDateText(const QString &text)
{
    const QDate d = QDate::fromString(text.trimmed(), kDateFormat);
    if (!d.isValid())
        return false;
    setDate(d);
    return true;
}

MonthEdit::MonthEdit(QWidget *parent) : QDateEdit(parent)
{
    setDisplayFormat(kMonthFormat);
    setupCalendar(this);
    setDate(QDate::currentDate());
    connect(this, &QDateEdit::dateChanged, this, [this](const QDate &d) {
        emit monthTextChanged(d.toString(kMonthFormat));
    });
}

QString MonthEdit::monthText() const
{
    return date().toString(kMonthFormat);
}

bool MonthEdit::setMonthText(const QString &text)
{
    const QDate d = QDate::fromString(text.trimmed().left(7) + QStringLiteral("-01"), kDateFormat);
    if (!d.isValid())
        return false;
    setDate(d);
    return true;
}

QString MonthEdit::firstDayText() const
{
    const QDate d = date();
    return QDate(d.year(), d.month(), 1).toString(kDateFormat);
}

QString MonthEdit::lastDayText() const
{
    const QDate d = date();
    return QDate(d.year(), d.month(), d.daysInMonth()).toString(kDateFormat);
}

} // namespace fitrova
