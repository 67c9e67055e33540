#pragma once
// Small pieces the enrollment screens share: amount fields, the payment
// switch panels, and showing what a core action answered.

#include "enrollment/enrollresult.h"
#include "widgets/deskguard.h"
#include "widgets/controls.h"
#include "widgets/uicontext.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

class QComboBox;
class QDialog;
class QHBoxLayout;

namespace fitrova {

class DateEdit;

// An amount field: right-aligned, "#,###,##0" when left.
QLineEdit *amountField(QWidget *parent, const QString &name);
DateEdit *dateField(QWidget *parent, const QString &name);
QComboBox *comboField(QWidget *parent, const QString &name);

// Whole won of an amount field ("12,000" → 12000; blank → 0).
qint64 amountOf(const QLineEdit *e);
void setAmount(QLineEdit *e, qint64 won);

// The cash/card switch: clicking the inactive panel moves the whole amount
// onto its kind; the active panel's caption is red.
class PaySwitch : public QObject {
    Q_OBJECT
public:
    PaySwitch(QPushButton *cashPanel, QPushButton *cardPanel, QLineEdit *cash, QLineEdit *card, QComboBox *company,
              QObject *parent);
    void toCash();
    void toCard();
    void markCash(bool cashActive);
    bool cashActive() const { return m_cashActive; }
    // The amount due: entering an empty card field after a part paid in cash
    // proposes the rest on the card.
    void setDue(QLineEdit *due) { m_due = due; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPushButton *m_cashPanel, *m_cardPanel;
    QLineEdit *m_cash, *m_card, *m_due = nullptr;
    QComboBox *m_company;
    bool m_cashActive = true;
};

// A read of the core in the desk guard: its answer, or `fallback` after a
// database failure that the desk has been told of.
template <typename Fn>
auto readOr(UiContext &ui, Fn &&fn, std::invoke_result_t<Fn> fallback = {})
{
    auto r = guard(ui, DbAction::Read, std::forward<Fn>(fn));
    return r ? std::move(*r) : std::move(fallback);
}

// Runs a save of the core in the desk guard and shows what it answered (or
// the database failure). True when it saved; the answer goes to *result.
bool runEnrollSave(UiContext &ui, const std::function<EnrollResult()> &save, EnrollResult *result = nullptr);

// The 저장/닫기 row of an enrollment dialog. 닫기 ends the dialog accepted
// when *tf says something was saved, else rejected; a dialog with an
// UnsavedChanges asks first.
QHBoxLayout *saveCloseRow(QDialog *dialog, const bool *tf, QPushButton **save);

} // namespace fitrova
