#pragma once
// 수강연기 (postponement), 수강환불 (refund) and 미수입금 (payment of an
// outstanding amount).

#include "enrollment/enrollcommon.h"
#include "enrollment/postponement.h"
#include "members/enrollmentrequest.h"
#include "widgets/uicontext.h"

#include <QDialog>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace fitrova {

class DateEdit;
class PaySwitch;

class PostponementDialog : public QDialog {
    Q_OBJECT
public:
    PostponementDialog(UiContext &ui, const EnrollmentRequest &request, QWidget *parent = nullptr);
    ~PostponementDialog() override;

    QString JobGubun, MbCode;
    qint64 Ltid = 0, bLtid = 0;
    bool TF = false;

    bool isReady() const { return m_ready; }
    bool save();

private:
    void showDates(const PauseDates &d);
    void applyEnd();

    UiContext &m_ui;
    bool m_ready = false;
    bool m_setting = false;
    bool m_endPending = false;
    PauseDates m_dates;
    QComboBox *m_current;
    QLabel *m_pnlMonth, *m_pnlPeriod, *m_pnlYymm, *m_days;
    DateEdit *m_rqDate, *m_from, *m_to, *m_addFrom, *m_addTo;
    QLineEdit *m_reason;
};

class RefundDialog : public QDialog {
    Q_OBJECT
public:
    RefundDialog(UiContext &ui, const EnrollmentRequest &request, QWidget *parent = nullptr);

    QString JobGubun, MbCode;
    qint64 Ltid = 0, bLtid = 0;
    bool TF = false;

    bool isReady() const { return m_ready; }
    bool save();

private:
    void recompute();

    UiContext &m_ui;
    bool m_ready = false;
    std::optional<LectureInfo> m_base;
    QComboBox *m_current, *m_payKind;
    QLabel *m_period, *m_cardName, *m_rday;
    QLineEdit *m_cash, *m_card, *m_amount;
    DateEdit *m_date;
};

class PaymentDialog : public QDialog {
    Q_OBJECT
public:
    PaymentDialog(UiContext &ui, const EnrollmentRequest &request, QWidget *parent = nullptr);

    QString JobGubun, MbCode;
    qint64 Ltid = 0, MiSuAmt = 0;
    bool TF = false;

    bool save();

private:
    void updateTotal();

    UiContext &m_ui;
    QLineEdit *m_misu, *m_cash, *m_card;
    QComboBox *m_company;
    QLabel *m_total;
    DateEdit *m_date;
    PaySwitch *m_pay;
};

} // namespace fitrova
