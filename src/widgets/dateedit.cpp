#include "widgets/dateedit.h"

#include "data/dates.h"

#include <QCalendarWidget>
#include <QKeyEvent>
#include <QLineEdit>

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
    // The typed text is read as a whole, not section by section.
    setKeyboardTracking(false);
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

QDate typedDate(const QString &text, const QDate &today)
{
    const QString t = text.trimmed();
    bool digits = !t.isEmpty() && t.size() <= 2;
    for (const QChar c : t)
        digits = digits && c.isDigit() && c.unicode() < 128;
    if (digits) {
        if (!today.isValid())
            return {};
        return QDate(today.year(), today.month(), t.toInt());
    }
    return QDate::fromString(normalizeDate(t, today), kDateFormat);
}

QDate DateEdit::today() const
{
    return m_today.isValid() ? m_today : QDate::currentDate();
}

void DateEdit::keyPressEvent(QKeyEvent *e)
{
    const QString t = e->text();
    const bool typing = t.size() == 1 && (t.at(0).isDigit() || t.at(0) == QLatin1Char('-')) &&
                        !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (typing) {
        if (!m_typing) {
            m_typing = true;
            m_typed.clear();
        }
        m_typed += t;
        lineEdit()->setText(m_typed);
        lineEdit()->setCursorPosition(int(m_typed.size()));
        e->accept();
        return;
    }
    if (m_typing) {
        switch (e->key()) {
        case Qt::Key_Backspace:
            m_typed.chop(1);
            lineEdit()->setText(m_typed);
            e->accept();
            return;
        case Qt::Key_Escape:
            m_typing = false;
            lineEdit()->setText(textFromDateTime(dateTime()));
            e->accept();
            return;
        default:
            commitTyped();
            break;
        }
    }
    QDateEdit::keyPressEvent(e);
}

void DateEdit::focusOutEvent(QFocusEvent *e)
{
    if (m_typing)
        commitTyped();
    QDateEdit::focusOutEvent(e);
}

void DateEdit::commitTyped()
{
    m_typing = false;
    const QDate d = typedDate(m_typed, today());
    m_typed.clear();
    if (d.isValid() && d >= minimumDate() && d <= maximumDate() && d != date())
        setDate(d);
    // Shows the date read (or the previous one when nothing could be read).
    lineEdit()->setText(textFromDateTime(dateTime()));
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
