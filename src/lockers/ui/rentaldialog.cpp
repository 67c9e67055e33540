#include "lockers/ui/rentaldialog.h"

#include "lockers/lockerboard.h"
#include "lockers/lockerrental.h"
#include "lockers/lockertexts.h"
#include "lockers/ui/lockerpicker.h"
#include "lockers/ui/lockerui.h"
#include "widgets/datagrid.h"
#include "widgets/dateedit.h"
#include "widgets/deskguard.h"
#include "widgets/moneyedit.h"
#include "widgets/widgetutil.h"
#include "widgets/unsavedchanges.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace fitrova {

RentalDialog::RentalDialog(UiContext &ui, const QString &mbCode, QWidget *parent)
    : QDialog(parent), m_ui(ui), m_mbCode(mbCode.trimmed())
{
    setObjectName(QStringLiteral("사물함신청"));
    setWindowTitle(QStringLiteral("사물함 신청"));
    const QDate today = ui.app.clock().today();

    m_member = displayPanel(this, QStringLiteral("PnlMember"), 220);
    m_picker = new LockerPicker(ui, this);

    auto *box = new QGroupBox(QStringLiteral("신청내역"), this);
    m_rqDate = dayField(box, QStringLiteral("TxtDate"), today);
    m_perName = displayPanel(box, QStringLiteral("SPerName"), 180);
    m_perNum = displayPanel(box, QStringLiteral("SPerNum"), 60, Qt::AlignRight);
    m_months = monthCombo(box, QStringLiteral("Cob개월"));
    m_start = dayField(box, QStringLiteral("TxtDate1"), today);
    m_end = dayField(box, QStringLiteral("TxtDate2"), today);
    m_deposit = wonField(box, QStringLiteral("TxtSamt"), QStringLiteral("보증금"));
    m_fee = wonField(box, QStringLiteral("TxtUamt"), QStringLiteral("사용료"));
    auto *form = new QGridLayout(box);
    form->addWidget(caption(box, QStringLiteral("신청일자")), 0, 0);
    form->addWidget(m_rqDate, 0, 1);
    form->addWidget(caption(box, QStringLiteral("사 물 함")), 0, 2);
    form->addWidget(m_perName, 0, 3);
    form->addWidget(caption(box, QStringLiteral("번호")), 0, 4);
    form->addWidget(m_perNum, 0, 5);
    form->addWidget(caption(box, QStringLiteral("사용개월")), 1, 0);
    form->addWidget(m_months, 1, 1);
    form->addWidget(caption(box, QStringLiteral("사용기간")), 1, 2);
    auto *period = new QHBoxLayout;
    period->addWidget(m_start);
    period->addWidget(new QLabel(QStringLiteral("~"), box));
    period->addWidget(m_end);
    period->addStretch();
    form->addLayout(period, 1, 3, 1, 3);
    form->addWidget(caption(box, QStringLiteral("보 증 금")), 2, 0);
    form->addWidget(m_deposit, 2, 1);
    form->addWidget(caption(box, QStringLiteral("사 용 료")), 2, 2);
    form->addWidget(m_fee, 2, 3, Qt::AlignLeft);
    form->setColumnStretch(6, 1);

    auto *cmdSave = commandButton(this, QStringLiteral("Cmd저장"), QStringLiteral("저장"), 84, true);
    auto *cmdClose = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"));
    auto *buttons = new QVBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdClose);

    auto *head = new QHBoxLayout;
    head->addWidget(caption(this, QStringLiteral("회원")));
    head->addWidget(m_member);
    head->addStretch();
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(box, 1);
    bottom->addLayout(buttons);
    auto *lay = new QVBoxLayout(this);
    lay->addLayout(head);
    lay->addWidget(m_picker, 1);
    lay->addLayout(bottom);

    connect(m_picker, &LockerPicker::groupChanged, this, &RentalDialog::groupChanged);
    connect(m_picker, &LockerPicker::lockerChanged, this, &RentalDialog::lockerChanged);
    connect(m_months, &QComboBox::currentIndexChanged, this, &RentalDialog::updateEnd);
    connect(m_start, &QDateEdit::dateChanged, this, &RentalDialog::updateEnd);
    connect(m_picker, &LockerPicker::lockerActivated, this, [this] { m_months->setFocus(); });
    connect(cmdSave, &QPushButton::clicked, this, [this] { save(); });
    connect(cmdClose, &QPushButton::clicked, this, [this] {
        if (UnsavedChanges::mayClose(this))
            TF ? accept() : reject();
    });

    const auto renter = guard(m_ui, DbAction::Read, [&] { return renterCard(m_ui.app.main, m_mbCode); });
    if (renter && *renter)
        m_member->setText((*renter)->mbCode + QStringLiteral("  ") + (*renter)->mbName);
    else
        m_member->setText(m_mbCode);
    m_picker->reload();
    updateEnd();
    installEnterAsTab(this);
    installSelectAllOnFocus(this);
    new UnsavedChanges(this, m_ui.msg, [this] { return save(); });
}

void RentalDialog::groupChanged()
{
    const auto g = m_picker->currentGroup();
    m_perName->setText(g ? groupCaption(g->code, g->name) : QString());
    m_perNum->clear();
    if (!g)
        return;
    selectMonths(m_months, g->monCnt > 0 ? g->monCnt : 1);
    m_deposit->setAmount(g->deposit);
    m_fee->setAmount(g->fee);
    updateEnd();
}

void RentalDialog::lockerChanged()
{
    const auto l = m_picker->currentLine();
    m_perNum->setText(l ? QString::number(l->boxNum) : QString());
}

void RentalDialog::updateEnd()
{
    m_end->setDateText(rentalEndDate(m_start->dateText(), selectedMonths(m_months)));
}

bool RentalDialog::save()
{
    if (!checkNumberFields(this, m_ui.msg))
        return false;
    const auto g = m_picker->currentGroup();
    const auto l = m_picker->currentLine();
    if (!g || !l) {
        m_ui.msg.warn(QStringLiteral("사물함을 선택하여 주십시요."), QStringLiteral("사물함선택"));
        m_picker->grid()->setFocus();
        return false;
    }
    if (l->rented()) {
        m_ui.msg.warn(QStringLiteral("이미 사용중인 사물함입니다."), QStringLiteral("사용불가"));
        return false;
    }
    if (!m_ui.msg.ask(rentQuestion(g->name, l->boxNum), rentTitle()))
        return false;
    RentalInput in;
    in.mbCode = m_mbCode;
    in.locker = {g->code, l->boxNum};
    in.rqDate = m_rqDate->dateText();
    in.startDate = m_start->dateText();
    in.endDate = m_end->dateText();
    in.months = selectedMonths(m_months);
    in.deposit = m_deposit->amount();
    in.fee = m_fee->amount();
    const auto o = guard(m_ui, DbAction::Save, [&] { return rentLocker(m_ui.app, in); });
    if (!o)
        return false;
    if (!showOutcome(m_ui, *o)) {
        if (o->field == RentalFieldLocker)
            m_picker->reloadLockers(); // taken meanwhile: show who has it now
        return false;
    }
    TF = true;
    m_picker->reloadLockers();
    accept();
    return true;
}

} // namespace fitrova
