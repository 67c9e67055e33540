#include "enrollment/ui/enrollui.h"

#include "data/text.h"
#include "enrollment/enrollcommon.h"
#include "widgets/dateedit.h"

#include <QHBoxLayout>
#include <QDialog>
#include <QComboBox>

namespace fitrova {

QLineEdit *amountField(QWidget *parent, const QString &name)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    e->setMaxLength(14);
    e->setText(QStringLiteral("0"));
    QObject::connect(e, &QLineEdit::editingFinished, e, [e] { setAmount(e, amountOf(e)); });
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
    markCash(true);
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
    return showOutcome(ui, *r);
}

QHBoxLayout *saveCloseRow(QDialog *dialog, const bool *tf, QPushButton **save)
{
    *save = commandButton(dialog, QStringLiteral("Cmd저장"), QStringLiteral("저장"), 0);
    QPushButton *close = commandButton(dialog, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"), 0);
    QObject::connect(close, &QPushButton::clicked, dialog, [dialog, tf] { *tf ? dialog->accept() : dialog->reject(); });
    return buttonRow({*save, close});
}

} // namespace fitrova
