#include "enrollment/ui/enrollui.h"

#include "enrollment/waitlist.h"

#include "data/text.h"
#include "enrollment/enrollcommon.h"
#include "widgets/dateedit.h"
#include "widgets/deskguard.h"
#include "widgets/moneyedit.h"
#include "widgets/unsavedchanges.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QDialog>
#include <QComboBox>

namespace fitrova {

namespace {

// The caption a refusal names, from the field's name without its digits.
struct AmountCaption {
    const char *name;
    const char *caption;
    MoneyEdit::Kind kind;
};
const AmountCaption kAmountCaptions[] = {
    {"TxtCashAmt", "현금", MoneyEdit::Kind::Won},       {"TxtCardAmt", "카드", MoneyEdit::Kind::Won},
    {"TxtDcAmt", "할인금액", MoneyEdit::Kind::Won},     {"TxtTamt", "받을금액", MoneyEdit::Kind::Won},
    {"TxtItAmt", "금액", MoneyEdit::Kind::Won},         {"TxtPrice", "단가", MoneyEdit::Kind::Won},
    {"TxtQty", "수량", MoneyEdit::Kind::Count},         {"TxtUpgcnt", "횟수", MoneyEdit::Kind::Count},
    {"TxtMisuAmt", "미수금액", MoneyEdit::Kind::Won},   {"TxtRamt", "환불금액", MoneyEdit::Kind::Won},
    {"Txt추가금액", "추가금액", MoneyEdit::Kind::Won},
};

} // namespace

QLineEdit *amountField(QWidget *parent, const QString &name)
{
    QString base = name;
    while (!base.isEmpty() && base.back().isDigit())
        base.chop(1);
    QString caption = QStringLiteral("금액");
    MoneyEdit::Kind kind = MoneyEdit::Kind::Won;
    for (const AmountCaption &c : kAmountCaptions)
        if (base == QString::fromUtf8(c.name)) {
            caption = QString::fromUtf8(c.caption);
            kind = c.kind;
        }
    auto *e = new MoneyEdit(parent, name, caption, kind);
    e->setAllowNegative(true);
    e->setMaxLength(14);
    e->setText(QStringLiteral("0"));
    return e;
}

DateEdit *dateField(QWidget *parent, const QString &name)
{
    auto *d = new DateEdit(parent);
    d->setObjectName(name);
    return d;
}

QComboBox *comboField(QWidget *parent, const QString &name)
{
    auto *c = new QComboBox(parent);
    c->setObjectName(name);
    return c;
}

qint64 amountOf(const QLineEdit *e) { return nzLong(e->text()); }

void setAmount(QLineEdit *e, qint64 won) { e->setText(wonText(won)); }

PaySwitch::PaySwitch(QPushButton *cashPanel, QPushButton *cardPanel, QLineEdit *cash, QLineEdit *card,
                     QComboBox *company, QObject *parent)
    : QObject(parent), m_cashPanel(cashPanel), m_cardPanel(cardPanel), m_cash(cash), m_card(card), m_company(company)
{
    connect(cashPanel, &QPushButton::clicked, this, &PaySwitch::toCash);
    connect(cardPanel, &QPushButton::clicked, this, &PaySwitch::toCard);
    card->installEventFilter(this);
    markCash(true);
}

bool PaySwitch::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_card && event->type() == QEvent::FocusIn && m_due) {
        auto *cash = qobject_cast<MoneyEdit *>(m_cash);
        const qint64 rest = amountOf(m_due) - amountOf(m_cash);
        if (amountOf(m_card) == 0 && (!cash || cash->isReadable()) && amountOf(m_cash) > 0 && rest > 0) {
            setAmount(m_card, rest);
            if (m_company && m_company->currentIndex() < 0 && m_company->count() > 0)
                m_company->setCurrentIndex(0);
        }
    }
    return QObject::eventFilter(watched, event);
}

void PaySwitch::toCash()
{
    if (m_cashActive)
        return;
    setAmount(m_cash, amountOf(m_cash) + amountOf(m_card));
    setAmount(m_card, 0);
    if (m_company)
        m_company->setCurrentIndex(-1);
    markCash(true);
}

void PaySwitch::toCard()
{
    if (!m_cashActive)
        return;
    setAmount(m_card, amountOf(m_card) + amountOf(m_cash));
    setAmount(m_cash, 0);
    if (m_company && m_company->currentIndex() < 0 && m_company->count() > 0)
        m_company->setCurrentIndex(0);
    markCash(false);
}

void PaySwitch::markCash(bool cashActive)
{
    m_cashActive = cashActive;
    const QString red = QStringLiteral("color: #d00000; font-weight: bold;");
    m_cashPanel->setStyleSheet(cashActive ? red : QString());
    m_cardPanel->setStyleSheet(cashActive ? QString() : red);
}

bool runEnrollSave(UiContext &ui, const std::function<EnrollResult()> &save, EnrollResult *result)
{
    const std::optional<EnrollResult> r = guard(ui, DbAction::Save, save);
    if (!r)
        return false;
    if (result)
        *result = *r;
    const bool saved = showOutcome(ui, *r);
    // A full program: the member may wait for a place.
    if (!saved && r->waitOffer && ui.msg.ask(waitOfferQuestion(), waitListTitle())) {
        const EnrollResult::WaitOffer &w = *r->waitOffer;
        if (const auto added = guard(ui, DbAction::Save, [&] {
                return addToWaitList(ui.app, w.pgid, w.mbCode, w.from, w.to);
            }))
            showOutcome(ui, *added);
    }
    return saved;
}

QHBoxLayout *saveCloseRow(QDialog *dialog, const bool *tf, QPushButton **save)
{
    *save = commandButton(dialog, QStringLiteral("Cmd저장"), QStringLiteral("저장"), 0);
    QPushButton *close = commandButton(dialog, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"), 0);
    QObject::connect(close, &QPushButton::clicked, dialog, [dialog, tf] {
        if (UnsavedChanges::mayClose(dialog))
            *tf ? dialog->accept() : dialog->reject();
    });
    return buttonRow({*save, close});
}

} // namespace fitrova
