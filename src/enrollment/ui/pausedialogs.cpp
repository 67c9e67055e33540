#include "enrollment/ui/pausedialogs.h"

#include "data/dates.h"
#include "data/ledger.h"
#include "data/lookups.h"
#include "enrollment/payment.h"
#include "enrollment/refund.h"
#include "enrollment/ui/enrollui.h"
#include "widgets/dateedit.h"
#include "widgets/widgetutil.h"
#include "widgets/unsavedchanges.h"

#include <QTimer>
#include <QCalendarWidget>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace fitrova {

namespace {

QHBoxLayout *pair(QWidget *a, QWidget *b, QWidget *parent, QWidget *c = nullptr)
{
    auto *h = new QHBoxLayout;
    h->addWidget(a);
    h->addWidget(new QLabel(QStringLiteral("~"), parent));
    h->addWidget(b);
    if (c)
        h->addWidget(c);
    return h;
}

} // namespace

// --- postponement ------------------------------------------------------------------------

PostponementDialog::PostponementDialog(UiContext &ui, const EnrollmentRequest &request, QWidget *parent)
    : QDialog(parent), JobGubun(request.jobGubun), MbCode(request.mbCode), Ltid(request.ltid), bLtid(request.bLtid),
      m_ui(ui)
{
    setObjectName(QStringLiteral("수강연기"));
    const bool modify = JobGubun == QLatin1String("C");
    setWindowTitle(modify ? QStringLiteral("수강연기 - 수정") : QStringLiteral("수강연기 - 신규"));
    m_current = comboField(this, QStringLiteral("Cobprog1"));
    m_current->setEnabled(false);
    m_pnlMonth = displayPanel(this, QStringLiteral("PnlMonthCnt"), 0);
    m_pnlPeriod = displayPanel(this, QStringLiteral("PnlPeriod"), 0);
    m_pnlYymm = displayPanel(this, QStringLiteral("PnlYymm"), 0);
    m_rqDate = dateField(this, QStringLiteral("Dtp연기신청일자"));
    m_from = dateField(this, QStringLiteral("Dtp연기기간1"));
    m_to = dateField(this, QStringLiteral("Dtp연기기간2"));
    m_addFrom = dateField(this, QStringLiteral("Dtp수강기간1"));
    m_addTo = dateField(this, QStringLiteral("Dtp수강기간2"));
    m_addFrom->setEnabled(false);
    m_addTo->setEnabled(false);
    m_days = displayPanel(this, QStringLiteral("Pnl연기일수"), 0, Qt::AlignRight);
    m_reason = new QLineEdit(this);
    m_reason->setObjectName(QStringLiteral("Txt연기사유"));

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("연기강좌"), m_current);
    auto *info = new QHBoxLayout;
    info->addWidget(m_pnlMonth);
    info->addWidget(m_pnlPeriod, 1);
    info->addWidget(m_pnlYymm);
    form->addRow(QStringLiteral("수강내역"), info);
    form->addRow(QStringLiteral("신청일자"), m_rqDate);
    form->addRow(QStringLiteral("연기기간"), pair(m_from, m_to, this, m_days));
    form->addRow(QStringLiteral("연장기간"), pair(m_addFrom, m_addTo, this));
    form->addRow(QStringLiteral("연기사유"), m_reason);
    QPushButton *cmdSave = nullptr;
    auto *outer = new QVBoxLayout(this);
    outer->addLayout(form);
    outer->addLayout(saveCloseRow(this, &TF, &cmdSave));
    resize(600, 280);
    installEnterAsTab(this);
    installSelectAllOnFocus(this);
    connect(cmdSave, &QPushButton::clicked, this, &PostponementDialog::save);

    connect(m_rqDate, &DateEdit::dateTextChanged, this, [this](const QString &d) {
        if (!m_setting)
            showDates(pauseForApplication(d));
    });
    connect(m_from, &DateEdit::dateTextChanged, this, [this](const QString &d) {
        if (!m_setting)
            showDates(pauseStartChanged(m_dates, d));
    });
    // The end is checked when it is complete: picked on the calendar, or
    // typed and left. While the clerk types it key by key the half-typed
    // dates are not refused.
    connect(m_to, &DateEdit::dateTextChanged, this, [this] {
        if (m_setting)
            return;
        m_endPending = true;
        const QCalendarWidget *calendar = m_to->calendarWidget();
        if (!m_to->hasFocus() || (calendar && calendar->isVisible()))
            QTimer::singleShot(0, this, &PostponementDialog::applyEnd);
    });
    connect(m_to, &QDateEdit::editingFinished, this, &PostponementDialog::applyEnd);

    const auto read = guard(m_ui, DbAction::Read, [&] {
        const auto row = loadLectureInfo(m_ui.app.main, Ltid);
        return std::pair(row, modify ? loadLectureInfo(m_ui.app.main, bLtid) : row);
    });
    if (!read)
        return;
    const auto &[row, base] = *read;
    if (!row || !base) {
        m_ui.msg.warn(lectureGoneText(), postponeTitle());
        return;
    }
    if (!modify && !showOutcome(m_ui, postponeEligible(*base)))
        return;
    m_current->addItem(lectureChoiceText(*base));
    m_pnlMonth->setText(QString(QString::number(base->monthCnt) + QStringLiteral(" 개월")));
    m_pnlPeriod->setText(QString(base->sDate1 + QStringLiteral(" ~ ") + base->sDate2));
    m_pnlYymm->setText(base->ltyymm);
    if (modify) {
        PauseDates d = pauseForApplication(row->rqDate);
        d = pauseStartChanged(d, row->sDate1);
        d = pauseEndChanged(d, row->sDate2);
        showDates(d);
        m_reason->setText(row->remark);
    } else {
        showDates(pauseForApplication(fmtDate(m_ui.app.clock().today())));
    }
    m_ready = true;
    new UnsavedChanges(this, m_ui.msg, [this] { return save(); });
}

PostponementDialog::~PostponementDialog()
{
    // The end field leaving the focus while the dialog goes away is no edit.
    disconnect(m_to, nullptr, this, nullptr);
}

void PostponementDialog::applyEnd()
{
    if (!m_endPending || m_setting)
        return;
    m_endPending = false;
    const PauseDates next = pauseEndChanged(m_dates, m_to->dateText());
    showDates(next);
    if (next.error)
        m_ui.msg.warn(pauseDateErrorText(), postponeTitle());
}

void PostponementDialog::showDates(const PauseDates &d)
{
    m_dates = d;
    m_setting = true;
    m_rqDate->setDateText(d.rqDate);
    m_from->setDateText(d.from);
    m_to->setDateText(d.to);
    m_addFrom->setDateText(d.addFrom);
    m_addTo->setDateText(d.addTo);
    m_days->setText(QString(QString::number(d.days) + QStringLiteral(" 일")));
    m_setting = false;
}

bool PostponementDialog::save()
{
    if (m_endPending) {
        applyEnd();
        if (m_dates.error)
            return false;
    }
    if (!m_ready)
        return false;
    PostponementInput in;
    in.jobGubun = JobGubun;
    in.ltid = Ltid;
    in.bLtid = bLtid;
    in.rqDate = m_dates.rqDate;
    in.from = m_dates.from;
    in.to = m_dates.to;
    in.reason = m_reason->text().trimmed();
    if (!runEnrollSave(m_ui, [&] { return savePostponement(m_ui.app, in); }))
        return false;
    TF = true;
    accept();
    return true;
}

// --- refund ---------------------------------------------------------------------------

RefundDialog::RefundDialog(UiContext &ui, const EnrollmentRequest &request, QWidget *parent)
    : QDialog(parent), JobGubun(request.jobGubun), MbCode(request.mbCode), Ltid(request.ltid), bLtid(request.bLtid),
      m_ui(ui)
{
    setObjectName(QStringLiteral("수강환불"));
    const bool modify = JobGubun == QLatin1String("C");
    setWindowTitle(modify ? QStringLiteral("수강환불 - 수정") : QStringLiteral("수강환불 - 신규"));
    m_current = comboField(this, QStringLiteral("Cobprog1"));
    m_current->setEnabled(false);
    m_period = displayPanel(this, QStringLiteral("PnlPeriod"), 0);
    m_cardName = displayPanel(this, QStringLiteral("PnlCardName"), 0);
    m_cash = amountField(this, QStringLiteral("TxtCashAmt"));
    m_card = amountField(this, QStringLiteral("TxtCardAmt"));
    m_cash->setReadOnly(true);
    m_card->setReadOnly(true);
    m_date = dateField(this, QStringLiteral("Dtp신청일자"));
    m_rday = displayPanel(this, QStringLiteral("PnlRday"), 0, Qt::AlignRight);
    m_payKind = comboField(this, QStringLiteral("Cob결재"));
    m_payKind->addItems({QStringLiteral("1.현금"), QStringLiteral("2.카드")});
    m_amount = amountField(this, QStringLiteral("TxtRamt"));

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("환불강좌"), m_current);
    form->addRow(QStringLiteral("수강기간"), m_period);
    form->addRow(QStringLiteral("카 드 사"), m_cardName);
    auto *paid = new QHBoxLayout;
    paid->addWidget(new QLabel(QStringLiteral("현금"), this));
    paid->addWidget(m_cash);
    paid->addWidget(new QLabel(QStringLiteral("카드"), this));
    paid->addWidget(m_card);
    form->addRow(QStringLiteral("입 금 액"), paid);
    auto *date = new QHBoxLayout;
    date->addWidget(m_date);
    date->addWidget(new QLabel(QStringLiteral("잔여일수"), this));
    date->addWidget(m_rday);
    form->addRow(QStringLiteral("환불일자"), date);
    form->addRow(QStringLiteral("환불구분"), m_payKind);
    form->addRow(QStringLiteral("환불금액"), m_amount);
    QPushButton *cmdSave = nullptr;
    auto *outer = new QVBoxLayout(this);
    outer->addLayout(form);
    outer->addLayout(saveCloseRow(this, &TF, &cmdSave));
    resize(520, 300);
    installEnterAsTab(this);
    installSelectAllOnFocus(this);
    connect(cmdSave, &QPushButton::clicked, this, &RefundDialog::save);

    struct Loaded {
        std::optional<LectureInfo> row, base;
        QString cardName;
    };
    const auto read = guard(m_ui, DbAction::Read, [&] {
        Loaded l;
        l.row = loadLectureInfo(m_ui.app.main, Ltid);
        l.base = modify ? loadLectureInfo(m_ui.app.main, bLtid) : l.row;
        if (l.base)
            l.cardName = getCardName(m_ui.app.main, l.base->card);
        return l;
    });
    if (!read)
        return;
    const auto &[row, base, cardName] = *read;
    m_base = base;
    if (!row || !m_base) {
        m_ui.msg.warn(lectureGoneText(), refundTitle());
        return;
    }
    if (!modify && !showOutcome(m_ui, refundEligible(*m_base)))
        return;
    m_current->addItem(lectureChoiceText(*m_base));
    m_period->setText(QString(m_base->sDate1 + QStringLiteral(" ~ ") + m_base->sDate2));
    m_cardName->setText(cardName);
    setAmount(m_cash, m_base->cashAmt);
    setAmount(m_card, m_base->cardAmt);
    if (modify) {
        m_date->setDateText(row->rqDate);
        m_rday->setText(QString::number(row->rday));
        setAmount(m_amount, row->tAmt);
        m_payKind->setCurrentIndex(row->cardAmt != 0 ? 1 : 0);
    } else {
        m_date->setDateText(fmtDate(m_ui.app.clock().today()));
        recompute();
    }
    connect(m_date, &DateEdit::dateTextChanged, this, &RefundDialog::recompute);
    m_ready = true;
    new UnsavedChanges(this, m_ui.msg, [this] { return save(); });
}

void RefundDialog::recompute()
{
    if (!m_base || JobGubun == QLatin1String("C"))
        return;
    const RefundFigures f = refundFigures(m_base->cashAmt, m_base->cardAmt, m_base->sDate1, m_base->sDate2,
                                          m_date->dateText(), m_ui.app.options.opt1_1, m_ui.app.options.opt1_2);
    m_rday->setText(QString::number(f.remainDays));
    setAmount(m_amount, f.amount);
}

bool RefundDialog::save()
{
    if (!m_ready)
        return false;
    RefundInput in;
    in.jobGubun = JobGubun;
    in.ltid = Ltid;
    in.bLtid = bLtid;
    in.refundDate = m_date->dateText();
    in.amount = amountOf(m_amount);
    in.payKind = m_payKind->currentText().left(1);
    if (!runEnrollSave(m_ui, [&] { return saveRefund(m_ui.app, in); }))
        return false;
    TF = true;
    accept();
    return true;
}

// --- payment of an outstanding amount ------------------------------------------------------

PaymentDialog::PaymentDialog(UiContext &ui, const EnrollmentRequest &request, QWidget *parent)
    : QDialog(parent), JobGubun(request.jobGubun), MbCode(request.mbCode), Ltid(request.ltid),
      MiSuAmt(request.misuAmt), m_ui(ui)
{
    setObjectName(QStringLiteral("미수입금"));
    const bool modify = JobGubun == QLatin1String("C");
    setWindowTitle(modify ? QStringLiteral("미납입금 - 수정") : QStringLiteral("미납입금 - 신규"));
    m_misu = amountField(this, QStringLiteral("TxtMisuAmt"));
    m_misu->setReadOnly(true);
    m_misu->setFocusPolicy(Qt::NoFocus);
    m_date = dateField(this, QStringLiteral("Dtp입금일자"));
    m_cash = amountField(this, QStringLiteral("TxtCashAmt"));
    m_card = amountField(this, QStringLiteral("TxtCardAmt"));
    m_company = comboField(this, QStringLiteral("CobCard"));
    m_company->addItems(readOr(m_ui, [&] { return cardItems(m_ui.app.main); }));
    m_company->setCurrentIndex(-1);
    QPushButton *pnlCash = commandButton(this, QStringLiteral("PnlCash1"), QStringLiteral("현  금"), 0);
    QPushButton *pnlCard = commandButton(this, QStringLiteral("PnlCard1"), QStringLiteral("카  드"), 0);
    m_pay = new PaySwitch(pnlCash, pnlCard, m_cash, m_card, m_company, this);
    m_total = displayPanel(this, QStringLiteral("PnlTamt"), 0, Qt::AlignRight);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("미 납 금"), m_misu);
    form->addRow(QStringLiteral("입금일자"), m_date);
    form->addRow(pnlCash, m_cash);
    form->addRow(pnlCard, m_card);
    form->addRow(QStringLiteral("카 드 사"), m_company);
    form->addRow(QStringLiteral("입금합계"), m_total);
    QPushButton *cmdSave = nullptr;
    auto *outer = new QVBoxLayout(this);
    outer->addLayout(form);
    outer->addLayout(saveCloseRow(this, &TF, &cmdSave));
    resize(380, 260);
    installEnterAsTab(this);
    installSelectAllOnFocus(this);
    connect(cmdSave, &QPushButton::clicked, this, &PaymentDialog::save);
    connect(m_cash, &QLineEdit::textChanged, this, &PaymentDialog::updateTotal);
    connect(m_card, &QLineEdit::textChanged, this, &PaymentDialog::updateTotal);

    if (modify || MiSuAmt == 0) {
        // The card does not hand over the amount when a payment is modified.
        MiSuAmt = readOr(m_ui, [&] { return getMemberUnpaid(m_ui.app.main, MbCode); }, MiSuAmt);
    }
    setAmount(m_misu, MiSuAmt);
    m_date->setDateText(fmtDate(m_ui.app.clock().today()));
    setAmount(m_cash, 0);
    setAmount(m_card, 0);
    const auto stored = modify ? guard(m_ui, DbAction::Read, [&] { return loadPayment(m_ui.app.main, Ltid); })
                               : std::optional<std::optional<PaymentInput>>();
    if (stored) {
        if (const auto &p = *stored) {
            m_date->setDateText(p->payDate);
            setAmount(m_cash, p->cashAmt);
            setAmount(m_card, p->cardAmt);
            for (int i = 0; i < m_company->count(); ++i)
                if (!p->card.isEmpty() && m_company->itemText(i).startsWith(p->card))
                    m_company->setCurrentIndex(i);
            m_pay->markCash(p->cardAmt == 0 || p->cashAmt > 0);
        } else {
            m_ui.msg.warn(QStringLiteral("해당자료를 찾을수 없읍니다"), paymentTitle());
        }
    }
    updateTotal();
    new UnsavedChanges(this, m_ui.msg, [this] { return save(); });
}

void PaymentDialog::updateTotal() { m_total->setText(wonText(amountOf(m_cash) + amountOf(m_card))); }

bool PaymentDialog::save()
{
    PaymentInput in;
    in.jobGubun = JobGubun;
    in.ltid = Ltid;
    in.mbCode = MbCode;
    in.payDate = m_date->dateText();
    in.cashAmt = amountOf(m_cash);
    in.cardAmt = amountOf(m_card);
    in.card = m_company->currentText().left(1);
    if (!runEnrollSave(m_ui, [&] { return savePayment(m_ui.app, in); }))
        return false;
    TF = true;
    accept();
    return true;
}

} // namespace fitrova
