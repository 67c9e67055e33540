#include "lockers/ui/rentalchangedialogs.h"

#include "lockers/lockertexts.h"
#include "lockers/ui/lockerpicker.h"
#include "lockers/ui/lockerui.h"
#include "lockers/ui/rentalpanel.h"
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

namespace {

// 저장 and 닫기 at the bottom right; 닫기 ends the dialog accepted when it saved.
void addSaveClose(QDialog *dlg, QVBoxLayout *lay, const bool *tf, const std::function<void()> &save)
{
    auto *cmdSave = commandButton(dlg, QStringLiteral("Cmd저장"), QStringLiteral("저장"), 84, true);
    auto *cmdClose = commandButton(dlg, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"));
    lay->addLayout(buttonRow({cmdSave, cmdClose}));
    QObject::connect(cmdSave, &QPushButton::clicked, dlg, save);
    QObject::connect(cmdClose, &QPushButton::clicked, dlg, [dlg, tf] {
        if (UnsavedChanges::mayClose(dlg))
            *tf ? dlg->accept() : dlg->reject();
    });
}

// Closing asks when something was typed; choosing which rental the dialog
// works on (the rental list, the row chooser) is no change of its own.
void watchChanges(QDialog *dlg, Messages &msg, std::function<bool()> save, const QList<QWidget *> &choosers)
{
    auto *u = new UnsavedChanges(dlg, msg, std::move(save));
    for (QWidget *w : choosers)
        u->ignore(w);
}

QHBoxLayout *periodRow(QWidget *parent, DateEdit *from, DateEdit *to)
{
    auto *row = new QHBoxLayout;
    row->addWidget(from);
    row->addWidget(new QLabel(QStringLiteral("~"), parent));
    row->addWidget(to);
    row->addStretch();
    return row;
}

} // namespace

// --- renewal --------------------------------------------------------------------------------

RenewalDialog::RenewalDialog(UiContext &ui, const QList<LockerRental> &rentals, const LockerKey &locker,
                             QWidget *parent)
    : QDialog(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("사물함재등록"));
    setWindowTitle(QStringLiteral("사물함 재등록"));
    const QDate today = ui.app.clock().today();
    m_rental = new RentalPanel(this);

    auto *box = new QGroupBox(QStringLiteral("연장내역"), this);
    m_rqDate = dayField(box, QStringLiteral("TxtRqDate"), today);
    m_months = monthCombo(box, QStringLiteral("Cob개월"));
    m_start = dayField(box, QStringLiteral("TxtDate1"), today);
    m_end = dayField(box, QStringLiteral("TxtDate2"), today);
    m_deposit = wonField(box, QStringLiteral("TxtSamt"), QStringLiteral("보증금"));
    m_fee = wonField(box, QStringLiteral("TxtUamt"), QStringLiteral("사용료"));
    auto *form = new QGridLayout(box);
    form->addWidget(caption(box, QStringLiteral("신청일자")), 0, 0);
    form->addWidget(m_rqDate, 0, 1, Qt::AlignLeft);
    form->addWidget(caption(box, QStringLiteral("사용개월")), 1, 0);
    form->addWidget(m_months, 1, 1, Qt::AlignLeft);
    form->addWidget(caption(box, QStringLiteral("사용기간")), 2, 0);
    form->addLayout(periodRow(box, m_start, m_end), 2, 1);
    form->addWidget(caption(box, QStringLiteral("보 증 금")), 3, 0);
    form->addWidget(m_deposit, 3, 1, Qt::AlignLeft);
    form->addWidget(caption(box, QStringLiteral("사 용 료")), 4, 0);
    form->addWidget(m_fee, 4, 1, Qt::AlignLeft);

    auto *lay = new QVBoxLayout(this);
    lay->addWidget(m_rental);
    lay->addWidget(box);
    addSaveClose(this, lay, &TF, [this] { save(); });

    connect(m_rental, &RentalPanel::changed, this, &RenewalDialog::rentalChanged);
    connect(m_months, &QComboBox::currentIndexChanged, this, &RenewalDialog::updateEnd);
    connect(m_start, &QDateEdit::dateChanged, this, &RenewalDialog::updateEnd);
    m_rental->setRentals(rentals, locker);
    installEnterAsTab(this);
    installSelectAllOnFocus(this);
    watchChanges(this, m_ui.msg, [this] { return save(); }, {m_rental});
}

void RenewalDialog::rentalChanged()
{
    const auto r = m_rental->current();
    if (!r)
        return;
    const auto d = guard(m_ui, DbAction::Read, [&] { return renewalDefaults(m_ui.app.main, *r, m_ui.app.clock().today()); });
    if (!d)
        return;
    m_rqDate->setDateText(d->rqDate);
    m_start->setDateText(d->startDate);
    selectMonths(m_months, d->months);
    m_deposit->setAmount(d->deposit);
    m_fee->setAmount(d->fee);
    updateEnd();
    UnsavedChanges::markCleanOf(this); // the inputs show the chosen rental
}

void RenewalDialog::updateEnd() { m_end->setDateText(rentalEndDate(m_start->dateText(), selectedMonths(m_months))); }

bool RenewalDialog::save()
{
    if (!checkNumberFields(this, m_ui.msg))
        return false;
    const auto r = m_rental->current();
    if (!r)
        return false;
    if (!m_ui.msg.ask(renewQuestion(r->boxName, r->locker.boxNum), renewTitle()))
        return false;
    RentalInput in;
    in.mbCode = r->mbCode;
    in.locker = r->locker;
    in.rqDate = m_rqDate->dateText();
    in.startDate = m_start->dateText();
    in.endDate = m_end->dateText();
    in.months = selectedMonths(m_months);
    in.deposit = m_deposit->amount();
    in.fee = m_fee->amount();
    const auto o = guard(m_ui, DbAction::Save, [&] { return renewLocker(m_ui.app, in); });
    if (!o || !showOutcome(m_ui, *o))
        return false;
    TF = true;
    accept();
    return true;
}

// --- move -------------------------------------------------------------------------------------

MoveDialog::MoveDialog(UiContext &ui, const QList<LockerRental> &rentals, const LockerKey &locker, QWidget *parent)
    : QDialog(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("사물함변경"));
    setWindowTitle(QStringLiteral("사물함 변경"));
    m_rental = new RentalPanel(this);
    m_picker = new LockerPicker(ui, this);

    auto *box = new QGroupBox(QStringLiteral("변경할 사물함"), this);
    m_newName = displayPanel(box, QStringLiteral("SPerName1"), 180);
    m_newNum = displayPanel(box, QStringLiteral("SPerNum1"), 60, Qt::AlignRight);
    m_rqDate = dayField(box, QStringLiteral("TxtRqDate"), ui.app.clock().today());
    auto *form = new QHBoxLayout(box);
    form->addWidget(caption(box, QStringLiteral("사 물 함")));
    form->addWidget(m_newName);
    form->addWidget(caption(box, QStringLiteral("번호")));
    form->addWidget(m_newNum);
    form->addSpacing(16);
    form->addWidget(caption(box, QStringLiteral("신청일자")));
    form->addWidget(m_rqDate);
    form->addStretch();

    auto *lay = new QVBoxLayout(this);
    lay->addWidget(m_rental);
    lay->addWidget(m_picker, 1);
    lay->addWidget(box);
    addSaveClose(this, lay, &TF, [this] { save(); });

    const auto showChoice = [this] {
        const auto g = m_picker->currentGroup();
        const auto l = m_picker->currentLine();
        m_newName->setText(g ? groupCaption(g->code, g->name) : QString());
        m_newNum->setText(l ? QString::number(l->boxNum) : QString());
    };
    connect(m_picker, &LockerPicker::groupChanged, this, showChoice);
    connect(m_picker, &LockerPicker::lockerChanged, this, showChoice);
    m_rental->setRentals(rentals, locker);
    m_picker->reload();
    if (const auto r = m_rental->current())
        m_picker->showGroup(r->locker.boxCode);
    installEnterAsTab(this);
    installSelectAllOnFocus(this);
    watchChanges(this, m_ui.msg, [this] { return save(); }, {m_rental});
}

bool MoveDialog::save()
{
    const auto r = m_rental->current();
    const auto g = m_picker->currentGroup();
    const auto l = m_picker->currentLine();
    if (!r)
        return false;
    if (!g || !l) {
        m_ui.msg.warn(QStringLiteral("변경할 사물함을 선택하여 주십시요."), QStringLiteral("사물함선택"));
        return false;
    }
    if (l->rented()) {
        m_ui.msg.warn(QStringLiteral("이미 사용중인 사물함입니다."), QStringLiteral("변경불가"));
        return false;
    }
    if (!m_ui.msg.ask(moveQuestion(r->boxName, r->locker.boxNum, g->name, l->boxNum), moveTitle()))
        return false;
    MoveInput in;
    in.mbCode = r->mbCode;
    in.from = r->locker;
    in.to = {g->code, l->boxNum};
    in.rqDate = m_rqDate->dateText();
    const auto o = guard(m_ui, DbAction::Save, [&] { return moveLocker(m_ui.app, in); });
    if (!o)
        return false;
    if (!showOutcome(m_ui, *o)) {
        m_picker->reloadLockers();
        return false;
    }
    TF = true;
    accept();
    return true;
}

// --- cancellation -------------------------------------------------------------------------------

CancelDialog::CancelDialog(UiContext &ui, const QList<LockerRental> &rentals, const LockerKey &locker,
                           QWidget *parent)
    : QDialog(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("사물함취소"));
    setWindowTitle(QStringLiteral("사물함 취소"));
    m_rental = new RentalPanel(this);
    auto *box = new QGroupBox(QStringLiteral("취소내역"), this);
    m_rqDate = dayField(box, QStringLiteral("TxtRqDate"), ui.app.clock().today());
    m_refund = wonField(box, QStringLiteral("TxtRamt"), QStringLiteral("환불금액"));
    auto *form = new QGridLayout(box);
    form->addWidget(caption(box, QStringLiteral("취소일자")), 0, 0);
    form->addWidget(m_rqDate, 0, 1, Qt::AlignLeft);
    form->addWidget(caption(box, QStringLiteral("보증금 환불")), 1, 0);
    form->addWidget(m_refund, 1, 1, Qt::AlignLeft);
    form->setColumnStretch(2, 1);

    auto *lay = new QVBoxLayout(this);
    lay->addWidget(m_rental);
    lay->addWidget(box);
    addSaveClose(this, lay, &TF, [this] { save(); });
    m_rental->setRentals(rentals, locker);
    if (const auto r = m_rental->current()) {
        const auto refund = guard(m_ui, DbAction::Read, [&] { return proposedRefund(m_ui.app.main, r->mbCode); });
        m_refund->setAmount(refund.value_or(0));
    }
    installEnterAsTab(this);
    installSelectAllOnFocus(this);
    watchChanges(this, m_ui.msg, [this] { return save(); }, {m_rental});
}

bool CancelDialog::save()
{
    if (!checkNumberFields(this, m_ui.msg))
        return false;
    const auto r = m_rental->current();
    if (!r)
        return false;
    if (!m_ui.msg.ask(cancelQuestion(r->boxName, r->locker.boxNum), cancelTitle()))
        return false;
    CancelInput in;
    in.mbCode = r->mbCode;
    in.locker = r->locker;
    in.rqDate = m_rqDate->dateText();
    in.refund = m_refund->amount();
    const auto o = guard(m_ui, DbAction::Save, [&] { return cancelLocker(m_ui.app, in); });
    if (!o || !showOutcome(m_ui, *o))
        return false;
    TF = true;
    accept();
    return true;
}

// --- correction ----------------------------------------------------------------------------------

CorrectionDialog::CorrectionDialog(UiContext &ui, qint64 rqid, const QList<LockerRental> &rentals, QWidget *parent)
    : QDialog(parent), m_ui(ui), m_rentals(rentals)
{
    setObjectName(QStringLiteral("사물함수정"));
    setWindowTitle(QStringLiteral("사물함 수정"));
    const QDate today = ui.app.clock().today();

    m_choice = new QComboBox(this);
    m_choice->setObjectName(QStringLiteral("Cob사물함"));
    for (const LockerRental &r : rentals)
        m_choice->addItem(QStringLiteral("%1 %2번 (%3 ~ %4)").arg(r.boxName).arg(r.locker.boxNum).arg(r.stDate, r.endDate),
                          r.rqid);
    m_choice->setVisible(rentals.size() > 1);
    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("LblTitle"));
    m_title->setStyleSheet(QStringLiteral("font-weight: bold; font-size: 11pt;"));
    auto *box = new QGroupBox(this);
    m_member = displayPanel(box, QStringLiteral("PnlMember"), 200);
    m_locker = displayPanel(box, QStringLiteral("SPerName"), 200);
    m_kind = displayPanel(box, QStringLiteral("PnlKind"), 70, Qt::AlignCenter);
    m_rqDate = dayField(box, QStringLiteral("TxtRqDate"), today);
    m_months = monthCombo(box, QStringLiteral("Cob개월"));
    m_start = dayField(box, QStringLiteral("TxtDate1"), today);
    m_end = dayField(box, QStringLiteral("TxtDate2"), today);
    m_deposit = wonField(box, QStringLiteral("TxtSamt"), QStringLiteral("보증금"));
    m_fee = wonField(box, QStringLiteral("TxtUamt"), QStringLiteral("사용료"));
    auto *form = new QGridLayout(box);
    form->addWidget(caption(box, QStringLiteral("회    원")), 0, 0);
    form->addWidget(m_member, 0, 1);
    form->addWidget(caption(box, QStringLiteral("구분")), 0, 2);
    form->addWidget(m_kind, 0, 3);
    form->addWidget(caption(box, QStringLiteral("사 물 함")), 1, 0);
    form->addWidget(m_locker, 1, 1, 1, 3);
    form->addWidget(caption(box, QStringLiteral("신청일자")), 2, 0);
    form->addWidget(m_rqDate, 2, 1, Qt::AlignLeft);
    form->addWidget(caption(box, QStringLiteral("사용개월")), 3, 0);
    form->addWidget(m_months, 3, 1, Qt::AlignLeft);
    form->addWidget(caption(box, QStringLiteral("사용기간")), 4, 0);
    form->addLayout(periodRow(box, m_start, m_end), 4, 1, 1, 3);
    form->addWidget(caption(box, QStringLiteral("보 증 금")), 5, 0);
    form->addWidget(m_deposit, 5, 1, Qt::AlignLeft);
    form->addWidget(caption(box, QStringLiteral("사 용 료")), 6, 0);
    form->addWidget(m_fee, 6, 1, Qt::AlignLeft);

    auto *lay = new QVBoxLayout(this);
    lay->addWidget(m_choice);
    lay->addWidget(m_title);
    lay->addWidget(box);
    addSaveClose(this, lay, &TF, [this] { save(); });

    connect(m_choice, &QComboBox::currentIndexChanged, this, [this] { loadRow(m_choice->currentData().toLongLong()); });
    connect(m_months, &QComboBox::currentIndexChanged, this, &CorrectionDialog::updateEnd);
    connect(m_start, &QDateEdit::dateChanged, this, &CorrectionDialog::updateEnd);
    loadRow(rqid > 0 ? rqid : (rentals.isEmpty() ? 0 : rentals.first().rqid));
    installEnterAsTab(this);
    installSelectAllOnFocus(this);
    watchChanges(this, m_ui.msg, [this] { return save(); }, {m_choice});
}

void CorrectionDialog::loadRow(qint64 rqid)
{
    m_rqid = 0;
    const auto row = guard(m_ui, DbAction::Read, [&] { return findLockerRequest(m_ui.app.main, rqid); });
    if (!row || !*row) {
        m_title->setText(QStringLiteral(" 수정할 내역이 없습니다 "));
        return;
    }
    const LockerRequest &q = **row;
    m_rqid = q.rqid;
    m_title->setText(correctionCaption(q.rqGubun));
    setWindowTitle(correctionCaption(q.rqGubun).trimmed());
    m_member->setText(q.mbCode + QStringLiteral("  ") + q.mbName);
    m_locker->setText(groupCaption(q.locker.boxCode, q.boxName) + QStringLiteral("  %1 번").arg(q.locker.boxNum));
    m_kind->setText(rqKindName(q.rqGubun));
    m_rqDate->setDateText(q.rqDate);
    {
        const QSignalBlocker b1(m_months), b2(m_start);
        selectMonths(m_months, q.monCnt);
        m_start->setDateText(q.useDate1);
    }
    m_end->setDateText(q.useDate2);
    m_deposit->setAmount(q.samt);
    m_fee->setAmount(q.uamt);
    UnsavedChanges::markCleanOf(this); // the inputs show the chosen rental
}

void CorrectionDialog::updateEnd() { m_end->setDateText(rentalEndDate(m_start->dateText(), selectedMonths(m_months))); }

bool CorrectionDialog::save()
{
    if (!checkNumberFields(this, m_ui.msg))
        return false;
    if (m_rqid <= 0) {
        m_ui.msg.warn(QStringLiteral("수정할 내역이 없습니다."), correctTitle());
        return false;
    }
    CorrectionInput in;
    in.rqid = m_rqid;
    in.rqDate = m_rqDate->dateText();
    in.startDate = m_start->dateText();
    in.endDate = m_end->dateText();
    in.months = selectedMonths(m_months);
    in.deposit = m_deposit->amount();
    in.fee = m_fee->amount();
    const auto o = guard(m_ui, DbAction::Update, [&] { return correctLockerRequest(m_ui.app, in); });
    if (!o || !showOutcome(m_ui, *o))
        return false;
    TF = true;
    accept();
    return true;
}

} // namespace fitrova
