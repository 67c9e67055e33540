#pragma once
// 수강등록: enrolling the member in a program (course tab) or selling one
// goods item to the member (goods tab), "N" new or "C" modify, with the
// enrollment receipt.

#include "enrollment/enrollment.h"
#include "members/enrollmentrequest.h"
#include "sales/ui/systemreceiptprinter.h"
#include "widgets/uicontext.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace fitrova {

class DateEdit;
class PaySwitch;

class EnrollmentDialog : public QDialog {
    Q_OBJECT
public:
    EnrollmentDialog(UiContext &ui, const EnrollmentRequest &request, QWidget *parent = nullptr);

    // The opener's fields.
    QString JobGubun;
    int Gubun = 0;
    QString MbCode;
    qint64 Ltid = 0;
    bool TF = false;

    void setReceiptOutput(const ReceiptOutput &out) { m_output = out; }

    // The actions of the buttons.
    bool saveCourse();
    bool saveGoods();
    void printReceipt();   // 영수증 (the last enrollment saved or loaded)
    void previewReceipt(); // 미리보기: the same receipt on screen, printed from there on request
    qint64 lastSavedLtid() const { return m_receiptLtid; }

private:
    QWidget *buildCourseTab();
    QWidget *buildGoodsTab();
    void clearCourse();
    void clearGoods();
    void loadCourse(qint64 ltid);
    void loadGoods(qint64 slid);
    void courseChosen();
    void programChosen();
    void monthChosen();
    void feeChosen();
    void recomputeCourseAmounts();
    void recomputeEnd();
    void discountKindChosen();
    void recomputeGoods();
    bool printCourseReceipt(qint64 ltid, int copies);
    void updateCaption();

    UiContext &m_ui;
    ReceiptOutput m_output;
    qint64 m_receiptLtid = 0;
    ProgramKind m_kind = ProgramKind::Period;
    bool m_openEnd = false;
    bool m_loading = false;

    QTabWidget *m_tabs;
    // course tab
    QComboBox *m_course, *m_prog, *m_month, *m_fee, *m_lectGubun, *m_dcKind, *m_card;
    DateEdit *m_rqDate, *m_start, *m_end;
    QLineEdit *m_dcAmt, *m_tAmt, *m_cash, *m_cardAmt, *m_upgcnt, *m_remark;
    QPushButton *m_pnlCash, *m_pnlCard;
    PaySwitch *m_pay;
    QLabel *m_point, *m_member;
    QCheckBox *m_print, *m_closeAfter;
    class UnsavedChanges *m_unsaved = nullptr;
    // goods tab
    QComboBox *m_item, *m_dcKind2, *m_card2;
    QLineEdit *m_qty, *m_price, *m_itAmt, *m_dcAmt2, *m_tAmt2, *m_cash2, *m_cardAmt2;
    QPushButton *m_pnlCash2, *m_pnlCard2;
    PaySwitch *m_pay2;
    DateEdit *m_saleDate;
};

} // namespace fitrova
