#include "messaging/ui/smscalendardialog.h"

#include "messaging/smstext.h"
#include "widgets/controls.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextCharFormat>
#include <QVBoxLayout>

namespace fitrova {

QStringList reservationMinuteItems()
{
    QStringList items;
    for (int m = 0; m < 60; m += 5)
        items << QString::asprintf("%02d", m);
    return items;
}

SmsCalendarDialog::SmsCalendarDialog(const QDateTime &initial, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSmsCalendar"));
    setWindowTitle(QStringLiteral("예약일자 선택"));

    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("LblTitle"));
    m_title->setAlignment(Qt::AlignCenter);
    QFont f = m_title->font();
    f.setPointSize(f.pointSize() + 3);
    f.setBold(true);
    m_title->setFont(f);

    m_calendar = new QCalendarWidget(this);
    m_calendar->setObjectName(QStringLiteral("MonthView"));
    m_calendar->setLocale(QLocale(QLocale::Korean, QLocale::SouthKorea));
    m_calendar->setFirstDayOfWeek(Qt::Sunday);
    m_calendar->setNavigationBarVisible(false);
    m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    m_calendar->setHorizontalHeaderFormat(QCalendarWidget::SingleLetterDayNames);
    QTextCharFormat red;
    red.setForeground(Qt::red);
    m_calendar->setWeekdayTextFormat(Qt::Sunday, red);
    QTextCharFormat blue;
    blue.setForeground(Qt::blue);
    m_calendar->setWeekdayTextFormat(Qt::Saturday, blue);

    auto nav = [this](const char *name, const char *text, auto step) {
        QPushButton *b = commandButton(this, QString::fromLatin1(name), QString::fromLatin1(text), 64);
        connect(b, &QPushButton::clicked, this, step);
        return b;
    };
    auto *navRow = new QHBoxLayout;
    navRow->addWidget(nav("CmdYearDown", "Year-", [this] { stepYear(-1); }));
    navRow->addWidget(nav("CmdMonthDown", "Month-", [this] { stepMonth(-1); }));
    navRow->addWidget(m_title, 1);
    navRow->addWidget(nav("CmdMonthUp", "Month+", [this] { stepMonth(1); }));
    navRow->addWidget(nav("CmdYearUp", "Year+", [this] { stepYear(1); }));

    m_hour = new QComboBox(this);
    m_hour->setObjectName(QStringLiteral("CobHour"));
    m_hour->addItems(reservationHourItems());
    m_minute = new QComboBox(this);
    m_minute->setObjectName(QStringLiteral("CobMinute"));
    m_minute->addItems(reservationMinuteItems());
    auto *timeRow = new QHBoxLayout;
    timeRow->addWidget(caption(this, QStringLiteral("예약시간")));
    timeRow->addWidget(m_hour);
    timeRow->addWidget(new QLabel(QStringLiteral("시"), this));
    timeRow->addWidget(m_minute);
    timeRow->addWidget(new QLabel(QStringLiteral("분"), this));
    timeRow->addStretch();

    QPushButton *ok = commandButton(this, QStringLiteral("CmdOK"), QStringLiteral("확인"), 84, true);
    QPushButton *cancel = commandButton(this, QStringLiteral("CmdCancel"), QStringLiteral("취소"));
    auto *outer = new QVBoxLayout(this);
    outer->addLayout(navRow);
    outer->addWidget(m_calendar, 1);
    outer->addLayout(timeRow);
    outer->addLayout(buttonRow({ok, cancel}));
    resize(420, 380);

    connect(m_calendar, &QCalendarWidget::selectionChanged, this, &SmsCalendarDialog::showTitle);
    connect(m_calendar, &QCalendarWidget::activated, this, &QDialog::accept);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    selectDate(initial.date());
    m_hour->setCurrentIndex(initial.time().hour());
    m_minute->setCurrentIndex(initial.time().minute() / 5);
    showTitle();
}

void SmsCalendarDialog::selectDate(const QDate &date)
{
    m_calendar->setSelectedDate(date);
    m_calendar->setCurrentPage(date.year(), date.month());
    showTitle();
}

void SmsCalendarDialog::stepYear(int years)
{
    selectDate(m_calendar->selectedDate().addYears(years));
}

void SmsCalendarDialog::stepMonth(int months)
{
    selectDate(m_calendar->selectedDate().addMonths(months));
}

void SmsCalendarDialog::showTitle()
{
    const QDate d = m_calendar->selectedDate();
    m_title->setText(QStringLiteral("%1년 %2월 %3일").arg(d.year()).arg(d.month()).arg(d.day()));
}

QDateTime SmsCalendarDialog::chosen() const
{
    const int hour = hourOfItem(m_hour->currentText());
    const int minute = m_minute->currentText().toInt();
    return QDateTime(m_calendar->selectedDate(), QTime(hour < 0 ? 0 : hour, minute));
}

QString SmsCalendarDialog::reservation() const
{
    return reservationTime(chosen());
}

QString SmsCalendarDialog::dayText() const
{
    const QDate d = m_calendar->selectedDate();
    return QStringLiteral("%1-%2-%3").arg(d.year()).arg(d.month()).arg(d.day());
}

} // namespace fitrova
