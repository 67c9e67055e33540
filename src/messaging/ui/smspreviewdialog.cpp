#include "messaging/ui/smspreviewdialog.h"

#include "messaging/smstext.h"
#include "messaging/ui/smscalendardialog.h"
#include "widgets/busynotice.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"
#include "widgets/dateedit.h"
#include "widgets/deskguard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace fitrova {

SmsPreviewDialog::SmsPreviewDialog(UiContext &ui, SmsDesk &desk, const QList<SmsMessage> &messages, QWidget *parent)
    : QDialog(parent), m_ui(ui), m_desk(desk), m_messages(messages)
{
    setObjectName(QStringLiteral("frmSmsPreview"));
    setWindowTitle(QStringLiteral("문자 미리보기"));

    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("SpPreview"));
    m_grid->setColumns({QStringLiteral("수신자명"), QStringLiteral("수신번호"), QStringLiteral("메세지"),
                        QStringLiteral("byte")},
                       {80, 110, 420, 44});
    m_grid->setColumnAlignment(3, Qt::AlignRight);
    QList<QStringList> rows;
    rows.reserve(messages.size());
    for (const SmsMessage &m : messages) {
        const QString text = cutToSmsBytes(m.text);
        rows << QStringList{m.name, m.tel, text, QString::number(smsBytes(text))};
    }
    m_grid->setRows(rows);
    m_count = new QLabel(QString::number(messages.size()) + QStringLiteral(" 명"), this);
    m_count->setObjectName(QStringLiteral("PnlCount"));

    const QDateTime now = ui.app.clock().now();
    m_reserve = new QCheckBox(QStringLiteral("예약발송"), this);
    m_reserve->setObjectName(QStringLiteral("ChkReserve"));
    m_date = new DateEdit(now.date(), this);
    m_date->setObjectName(QStringLiteral("DtpReserve"));
    m_hour = new QComboBox(this);
    m_hour->setObjectName(QStringLiteral("CobHour"));
    m_hour->addItems(reservationHourItems());
    m_hour->setCurrentIndex(std::min(23, now.time().hour() + 1));
    m_minute = new QComboBox(this);
    m_minute->setObjectName(QStringLiteral("CobMinute"));
    m_minute->addItems(reservationMinuteItems());
    QPushButton *calendar = commandButton(this, QStringLiteral("Cmd달력"), QStringLiteral("달력"), 60);

    auto *reserveRow = new QHBoxLayout;
    reserveRow->addWidget(m_reserve);
    reserveRow->addWidget(m_date);
    reserveRow->addWidget(calendar);
    reserveRow->addWidget(m_hour);
    reserveRow->addWidget(new QLabel(QStringLiteral("시"), this));
    reserveRow->addWidget(m_minute);
    reserveRow->addWidget(new QLabel(QStringLiteral("분"), this));
    reserveRow->addStretch();
    reserveRow->addWidget(m_count);

    QPushButton *sendButton = commandButton(this, QStringLiteral("Cmd전송"), QStringLiteral("전송"));
    QPushButton *close = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"));
    auto *outer = new QVBoxLayout(this);
    outer->addWidget(m_grid, 1);
    outer->addLayout(reserveRow);
    outer->addLayout(buttonRow({sendButton, close}));
    resize(760, 480);

    reservationToggled(false);
    connect(m_reserve, &QCheckBox::toggled, this, &SmsPreviewDialog::reservationToggled);
    connect(calendar, &QPushButton::clicked, this, &SmsPreviewDialog::openCalendar);
    connect(sendButton, &QPushButton::clicked, this, &SmsPreviewDialog::send);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

void SmsPreviewDialog::reservationToggled(bool on)
{
    for (QWidget *w : std::initializer_list<QWidget *>{m_date, m_hour, m_minute, findChild<QPushButton *>(QStringLiteral("Cmd달력"))})
        w->setEnabled(on);
}

void SmsPreviewDialog::openCalendar()
{
    const int hour = std::max(0, hourOfItem(m_hour->currentText()));
    SmsCalendarDialog cal(QDateTime(m_date->date(), QTime(hour, m_minute->currentText().toInt())), this);
    if (cal.exec() == QDialog::Accepted)
        reserveAt(cal.chosen());
}

void SmsPreviewDialog::reserveAt(const QDateTime &at)
{
    m_reserve->setChecked(true);
    m_date->setDate(at.date());
    m_hour->setCurrentText(itemOfHour(at.time().hour()));
    m_minute->setCurrentIndex(at.time().minute() / 5);
}

QString SmsPreviewDialog::reservation() const
{
    if (!m_reserve->isChecked())
        return {};
    const int hour = hourOfItem(m_hour->currentText());
    return reservationTime(QDateTime(m_date->date(), QTime(std::max(0, hour), m_minute->currentText().toInt())));
}

bool SmsPreviewDialog::send()
{
    const QString at = reservation();
    std::optional<SmsSendReport> r;
    {
        BusyScope busy(QStringLiteral("문자를 전송중입니다."), this);
        r = guard(m_ui, DbAction::Save, [&] {
            return sendSmsMessages(m_desk.link.primary(), m_desk.link.config().sendAs, m_desk.login, m_messages, at,
                                   m_ui.app.clock().now());
        });
    }
    if (!r)
        return false;
    m_report = *r;
    if (!showOutcome(m_ui, r->outcome))
        return false;
    accept();
    return true;
}

} // namespace fitrova
