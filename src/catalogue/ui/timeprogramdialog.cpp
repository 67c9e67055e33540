#include "catalogue/ui/timeprogramdialog.h"
#include "widgets/moneyedit.h"

#include "catalogue/classification.h"
#include "catalogue/programs.h"
#include "catalogue/timeprograms.h"
#include "catalogue/ui/catalogueui.h"
#include "widgets/deskguard.h"
#include "data/listitems.h"
#include "data/text.h"
#include "widgets/controls.h"
#include "widgets/widgetutil.h"
#include "widgets/unsavedchanges.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace fitrova {

TimeProgramDialog::TimeProgramDialog(UiContext &ui, const QString &jobGubun, qint64 pgId, QWidget *parent)
    : QDialog(parent), JobGubun(jobGubun), Pgid(pgId), m_ui(ui)
{
    setObjectName(QStringLiteral("쿠폰등록"));

    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("TxtPgname"));
    m_name->setMaxLength(60);
    m_course = new QComboBox(this);
    m_course->setObjectName(QStringLiteral("CobCour"));
    m_month = new QComboBox(this);
    m_month->setObjectName(QStringLiteral("CobMonth"));
    m_month->addItems(validityItems());
    m_month->setCurrentIndex(-1);
    m_hours = new MoneyEdit(this, QStringLiteral("TxtCnt"), QStringLiteral("시간"), MoneyEdit::Kind::Count);
    m_hours->setMaxLength(6);
    m_hours->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_hours->setMaximumWidth(80);
    m_minutes = new QLabel(this);
    m_minutes->setObjectName(QStringLiteral("LblMinutes"));
    m_price = new MoneyEdit(this, QStringLiteral("TxtAmt"), QStringLiteral("금액"));
    m_price->setText(QStringLiteral("0"));
    m_price->setMaxLength(13);
    m_price->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_price->setMaximumWidth(120);
    m_use = new QCheckBox(QStringLiteral("사용함"), this);
    m_use->setObjectName(QStringLiteral("ChkUse"));
    m_use->setChecked(true);

    auto *form = new QGridLayout;
    form->addWidget(new QLabel(QStringLiteral("프로그램명"), this), 0, 0);
    form->addWidget(m_name, 0, 1, 1, 3);
    form->addWidget(new QLabel(QStringLiteral("항    목"), this), 1, 0);
    form->addWidget(m_course, 1, 1, 1, 3);
    form->addWidget(new QLabel(QStringLiteral("유효개월"), this), 2, 0);
    form->addWidget(m_month, 2, 1);
    form->addWidget(new QLabel(QStringLiteral("사용시간"), this), 3, 0);
    auto *hoursLayout = new QHBoxLayout;
    hoursLayout->addWidget(m_hours);
    hoursLayout->addWidget(new QLabel(QStringLiteral("시간"), this));
    hoursLayout->addSpacing(12);
    hoursLayout->addWidget(m_minutes);
    hoursLayout->addStretch();
    form->addLayout(hoursLayout, 3, 1, 1, 3);
    form->addWidget(new QLabel(QStringLiteral("금    액"), this), 4, 0);
    auto *priceLayout = new QHBoxLayout;
    priceLayout->addWidget(m_price);
    priceLayout->addWidget(new QLabel(QStringLiteral("원"), this));
    priceLayout->addStretch();
    form->addLayout(priceLayout, 4, 1, 1, 3);
    form->addWidget(m_use, 5, 1);
    form->setColumnStretch(1, 1);

    QPushButton *cmdSave = commandButton(this, QStringLiteral("Cmd저장"), QStringLiteral("저장"));
    QPushButton *cmdClose = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdClose);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(14, 14, 14, 10);
    outer->addLayout(form);
    outer->addSpacing(8);
    outer->addLayout(buttons);
    resize(420, 270);

    guard(m_ui, DbAction::Read, [&] { fillCombo(m_course, courseItems(m_ui.app.main, courseGroup(), false)); });

    installEnterAsTab(this);
    installSelectAllOnFocus(this);
    connect(m_hours, &QLineEdit::textChanged, this, &TimeProgramDialog::updateMinutes);
    connect(m_price, &QLineEdit::editingFinished, this, &TimeProgramDialog::formatPrice);
    connect(cmdSave, &QPushButton::clicked, this, &TimeProgramDialog::save);
    connect(cmdClose, &QPushButton::clicked, this, [this] {
        if (UnsavedChanges::mayClose(this))
            TF ? accept() : reject();
    });

    if (JobGubun == QLatin1String("C"))
        loadProgram();
    else
        m_course->setCurrentIndex(-1);
    updateMinutes();
    updateCaption();
    new UnsavedChanges(this, m_ui.msg, [this] { return save(); });
    m_name->setFocus();
}

void TimeProgramDialog::updateCaption()
{
    setWindowTitle(JobGubun == QLatin1String("C") ? QStringLiteral("시간제 프로그램-수정")
                                                  : QStringLiteral("시간제 프로그램-신규"));
}

void TimeProgramDialog::updateMinutes() { m_minutes->setText(minutesLabel(nzLong(m_hours->text()))); }

void TimeProgramDialog::formatPrice() { m_price->setText(priceText(nzLong(m_price->text()))); }

void TimeProgramDialog::loadProgram()
{
    const std::optional<TimeProgram> p =
        guard(m_ui, DbAction::Read, [&] { return loadTimeProgram(m_ui.app.main, Pgid); }).value_or(std::nullopt);
    if (!p)
        return;
    m_pgGubun = p->pgGubun;
    m_name->setText(p->pgName);
    if (!selectComboCode(m_course, p->course))
        m_course->setCurrentIndex(-1);
    m_month->setCurrentIndex(m_month->findText(validityItem(p->validityMonths)));
    m_hours->setText(QString::number(p->hours));
    m_price->setText(priceText(p->price));
    m_use->setChecked(p->pgUse);
}

TimeProgram TimeProgramDialog::inputs() const
{
    TimeProgram p;
    p.pgId = Pgid;
    p.pgGubun = m_pgGubun;
    p.pgName = m_name->text();
    p.course = m_course->currentIndex() >= 0 ? codeOf(m_course->currentText()) : QString();
    p.validityMonths = m_month->currentIndex() >= 0 ? monthsOfLabel(m_month->currentText()) : 0;
    p.hours = nzLong(m_hours->text());
    p.price = nzLong(m_price->text());
    p.pgUse = m_use->isChecked();
    return p;
}

bool TimeProgramDialog::save()
{
    formatPrice();
    const bool isNew = JobGubun != QLatin1String("C");
    const auto r = guard(m_ui, DbAction::Save,
                         [&] { return saveTimeProgram(m_ui.app.main, inputs(), isNew, m_ui.app.clock().today()); });
    if (!r)
        return false;
    if (!showOutcome(m_ui, *r)) {
        switch (r->field) {
        case TimeNameField: m_name->setFocus(); break;
        case TimeValidityField: m_month->setFocus(); break;
        case TimeCourseField: m_course->setFocus(); break;
        case TimeHoursField: m_hours->setFocus(); break;
        default: break;
        }
        return false;
    }
    TF = true;
    if (isNew) {
        Pgid = r->id;
        JobGubun = QStringLiteral("C");
        updateCaption();
    }
    UnsavedChanges::markCleanOf(this);
    return true;
}

} // namespace fitrova
