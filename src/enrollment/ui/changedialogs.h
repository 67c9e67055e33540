#pragma once
// 수강변경 (class change) and 양도신청 (transfer) of one enrollment.

#include "enrollment/enrollcommon.h"
#include "members/enrollmentrequest.h"
#include "members/memberstore.h"
#include "widgets/uicontext.h"

#include <QDialog>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace fitrova {

class DateEdit;

class ClassChangeDialog : public QDialog {
    Q_OBJECT
public:
    ClassChangeDialog(UiContext &ui, const EnrollmentRequest &request, QWidget *parent = nullptr);

    QString JobGubun, MbCode;
    qint64 Ltid = 0, Pgid = 0, bLtid = 0;
    bool TF = false;

    // False when the enrollment cannot be changed (the refusal was shown).
    bool isReady() const { return m_ready; }
    bool save();

private:
    void programChosen();

    UiContext &m_ui;
    bool m_ready = false;
    std::optional<LectureInfo> m_base;
    QComboBox *m_current, *m_prog, *m_month, *m_payKind;
    DateEdit *m_rqDate, *m_from, *m_to;
    QLineEdit *m_extra;
    QLabel *m_pnlMonth, *m_pnlPeriod, *m_pnlAmt;
};

class TransferDialog : public QDialog {
    Q_OBJECT
public:
    TransferDialog(UiContext &ui, const EnrollmentRequest &request, QWidget *parent = nullptr);

    QString JobGubun, MbCode;
    qint64 Ltid = 0;
    bool TF = false;

    bool isReady() const { return m_ready; }
    void search();
    bool save();

private:
    void showReceiver(const MemberRecord &m);
    void updateDays();

    UiContext &m_ui;
    bool m_ready = false;
    std::optional<LectureInfo> m_row;   // the enrollment given ("N") or the transfer row ("C")
    QString m_receiver;
    QComboBox *m_kind;
    QLineEdit *m_find;
    QLabel *m_pgName, *m_time, *m_yymm, *m_period, *m_rqDatePnl, *m_remain;
    QLabel *m_rName, *m_rJuno, *m_rAge, *m_rSex, *m_rTel1, *m_rTel2, *m_rAddr, *m_rCard, *m_days;
    QListWidget *m_receiverLects;
    DateEdit *m_rqDate, *m_from, *m_to;
};

} // namespace fitrova
