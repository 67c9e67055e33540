#include "enrollment/ui/enrollmentdialog.h"
#include "widgets/moneyedit.h"
#include "widgets/unsavedchanges.h"

#include "data/dates.h"
#include "data/listitems.h"
#include "data/text.h"
#include "enrollment/enrollcommon.h"
#include "enrollment/enrollmentreceipt.h"
#include "enrollment/ui/enrollui.h"
#include "members/memberstore.h"
#include "sales/ui/receiptpreview.h"
#include "widgets/deskguard.h"
#include "widgets/busynotice.h"
#include "widgets/dateedit.h"
#include "widgets/widgetutil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSettings>
#include <QTabWidget>
#include <QVBoxLayout>

namespace fitrova {

namespace {

const QString kSettingsSection = QStringLiteral("수강등록");
const QString kAutoClose = QStringLiteral("자동창닫기");

QSettings userSettings() { return QSettings(QStringLiteral("Fitrova"), QStringLiteral("Fitrova")); }

int indexOfCode(const QComboBox *c, const QString &code)
{
    for (int i = 0; i < c->count(); ++i)
        if (c->itemText(i).left(code.size()) == code && !code.isEmpty())
            return i;
    return -1;
}

} // namespace

EnrollmentDialog::EnrollmentDialog(UiContext &ui, const EnrollmentRequest &request, QWidget *parent)
    : QDialog(parent), JobGubun(request.jobGubun), Gubun(request.tab), MbCode(request.mbCode), Ltid(request.ltid),
      m_ui(ui)
{
    setObjectName(QStringLiteral("수강등록"));
    m_member = displayPanel(this, QStringLiteral("PnlMember"), 0);
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("TabMain"));
    m_tabs->addTab(buildCourseTab(), QStringLiteral("강좌등록"));
    m_tabs->addTab(buildGoodsTab(), QStringLiteral("상품판매"));

    m_print = new QCheckBox(QStringLiteral("영수증인쇄"), this);
    m_print->setObjectName(QStringLiteral("Chk인쇄"));
    m_closeAfter = new QCheckBox(QStringLiteral("저장후 창닫기"), this);
    m_closeAfter->setObjectName(QStringLiteral("Chk닫기"));
    QPushButton *cmdReceipt = commandButton(this, QStringLiteral("Cmd영수증"), QStringLiteral("영수증"), 0);
    QPushButton *cmdPreview = commandButton(this, QStringLiteral("Cmd미리보기"), QStringLiteral("미리보기"), 0);
    QPushButton *cmdSave = commandButton(this, QStringLiteral("Cmd저장"), QStringLiteral("저장"), 0);
    QPushButton *cmdClose = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"), 0);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_print);
    buttons->addWidget(m_closeAfter);
    buttons->addStretch();
    buttons->addWidget(cmdPreview);
    buttons->addWidget(cmdReceipt);
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdClose);

    auto *outer = new QVBoxLayout(this);
    outer->addWidget(m_member);
    outer->addWidget(m_tabs);
    outer->addLayout(buttons);
    resize(640, 520);

    // Preferences: close after saving (per user), print as the workstation is set up.
    m_closeAfter->setChecked(userSettings().value(kSettingsSection + QLatin1Char('/') + kAutoClose, QStringLiteral("1"))
                                 .toString() == QLatin1String("1"));
    connect(m_closeAfter, &QCheckBox::toggled, this, [](bool on) {
        userSettings().setValue(kSettingsSection + QLatin1Char('/') + kAutoClose,
                                on ? QStringLiteral("1") : QStringLiteral("0"));
    });
    m_print->setChecked(m_ui.app.workstation.posPrint == QLatin1String("1") && m_ui.app.options.opt3 > 0);

    auto saveTab = [this] {
        const bool saved = m_tabs->currentIndex() == 0 ? saveCourse() : saveGoods();
        if (saved)
            m_unsaved->markClean();
        return saved;
    };
    connect(cmdSave, &QPushButton::clicked, this, saveTab);
    connect(cmdReceipt, &QPushButton::clicked, this, &EnrollmentDialog::printReceipt);
    connect(cmdPreview, &QPushButton::clicked, this, &EnrollmentDialog::previewReceipt);
    connect(cmdClose, &QPushButton::clicked, this, [this] {
        if (UnsavedChanges::mayClose(this))
            TF ? accept() : reject();
    });
    m_unsaved = new UnsavedChanges(this, m_ui.msg, saveTab);
    m_unsaved->ignore(m_print);
    m_unsaved->ignore(m_closeAfter);

    installEnterAsTab(this);
    installSelectAllOnFocus(this);

    const auto member = readOr(m_ui, [&] { return loadMember(m_ui.app.main, MbCode); });
    m_member->setText(member ? QString(member->mbCode + QStringLiteral("  ") + member->mbName) : MbCode);

    clearCourse();
    clearGoods();
    if (JobGubun == QLatin1String("C")) {
        if (Gubun == 1)
            loadGoods(Ltid);
        else
            loadCourse(Ltid);
        m_tabs->setCurrentIndex(Gubun == 1 ? 1 : 0);
        m_tabs->setTabEnabled(Gubun == 1 ? 0 : 1, false);
    }
    updateCaption();
    m_unsaved->markClean();
}

void EnrollmentDialog::updateCaption()
{
    setWindowTitle(JobGubun == QLatin1String("C") ? QStringLiteral("강좌/상품등록 - 수정")
                                                  : QStringLiteral("강좌/상품등록 - 신규"));
}

QWidget *EnrollmentDialog::buildCourseTab()
{
    auto *w = new QWidget(this);
    m_course = comboField(w, QStringLiteral("CobCour1"));
    m_prog = comboField(w, QStringLiteral("Cobprog1"));
    m_prog->setMinimumWidth(320);
    m_month = comboField(w, QStringLiteral("CobMonthCnt1"));
    m_fee = comboField(w, QStringLiteral("CobLtAmt1"));
    m_rqDate = dateField(w, QStringLiteral("DtpSdate1"));
    m_start = dateField(w, QStringLiteral("DtpFdate1"));
    m_end = dateField(w, QStringLiteral("DtpEdate1"));
    m_lectGubun = comboField(w, QStringLiteral("Cob재신"));
    m_lectGubun->addItems(lectGubunItems());
    m_dcKind = comboField(w, QStringLiteral("Cob할인구분"));
    m_dcKind->addItems(discountKindItems());
    m_dcAmt = amountField(w, QStringLiteral("TxtDcAmt1"));
    m_tAmt = amountField(w, QStringLiteral("TxtTamt1"));
    m_tAmt->setReadOnly(true);
    m_tAmt->setFocusPolicy(Qt::NoFocus);
    m_cash = amountField(w, QStringLiteral("TxtCashAmt1"));
    m_cardAmt = amountField(w, QStringLiteral("TxtCardAmt1"));
    m_card = comboField(w, QStringLiteral("CobCard1"));
    m_card->addItems(readOr(m_ui, [&] { return cardItems(m_ui.app.main); }));
    m_pnlCash = commandButton(w, QStringLiteral("PnlCash1"), QStringLiteral("현  금"), 0);
    m_pnlCard = commandButton(w, QStringLiteral("PnlCard1"), QStringLiteral("카  드"), 0);
    m_pay = new PaySwitch(m_pnlCash, m_pnlCard, m_cash, m_cardAmt, m_card, this);
    m_pay->setDue(m_tAmt);
    m_upgcnt = amountField(w, QStringLiteral("TxtUpgcnt"));
    m_remark = new QLineEdit(w);
    m_remark->setObjectName(QStringLiteral("TxtRemark1"));
    m_point = displayPanel(w, QStringLiteral("PnlPoint"), 0, Qt::AlignRight);
    m_point->setMinimumWidth(100);

    auto *g = new QGridLayout(w);
    int row = 0;
    g->addWidget(caption(w, QStringLiteral("강좌분류")), row, 0);
    g->addWidget(m_course, row, 1);
    g->addWidget(caption(w, QStringLiteral("재 / 신")), row, 2);
    g->addWidget(m_lectGubun, row++, 3);
    g->addWidget(caption(w, QStringLiteral("강 좌 명")), row, 0);
    g->addWidget(m_prog, row++, 1, 1, 3);
    g->addWidget(caption(w, QStringLiteral("수강개월")), row, 0);
    g->addWidget(m_month, row, 1);
    g->addWidget(caption(w, QStringLiteral("강 습 료")), row, 2);
    g->addWidget(m_fee, row++, 3);
    g->addWidget(caption(w, QStringLiteral("접수일자")), row, 0);
    g->addWidget(m_rqDate, row++, 1);
    g->addWidget(caption(w, QStringLiteral("수강기간")), row, 0);
    g->addWidget(m_start, row, 1);
    g->addWidget(caption(w, QStringLiteral("~")), row, 2);
    g->addWidget(m_end, row++, 3);
    g->addWidget(caption(w, QStringLiteral("할인구분")), row, 0);
    g->addWidget(m_dcKind, row, 1);
    g->addWidget(caption(w, QStringLiteral("할인금액")), row, 2);
    g->addWidget(m_dcAmt, row++, 3);
    g->addWidget(caption(w, QStringLiteral("포 인 트")), row, 0);
    g->addWidget(m_point, row, 1);
    g->addWidget(caption(w, QStringLiteral("결재금액")), row, 2);
    g->addWidget(m_tAmt, row++, 3);
    g->addWidget(m_pnlCash, row, 0);
    g->addWidget(m_cash, row, 1);
    g->addWidget(m_pnlCard, row, 2);
    g->addWidget(m_cardAmt, row++, 3);
    g->addWidget(caption(w, QStringLiteral("카 드 사")), row, 2);
    g->addWidget(m_card, row++, 3);
    g->addWidget(caption(w, QStringLiteral("사용시간")), row, 0);
    g->addWidget(m_upgcnt, row++, 1);
    g->addWidget(caption(w, QStringLiteral("비    고")), row, 0);
    g->addWidget(m_remark, row++, 1, 1, 3);
    g->setRowStretch(row, 1);

    fillCombo(m_course, readOr(m_ui, [&] { return courseItems(m_ui.app.main, QStringLiteral("P"), true); }));
    connect(m_course, &QComboBox::currentIndexChanged, this, &EnrollmentDialog::courseChosen);
    connect(m_prog, &QComboBox::currentIndexChanged, this, &EnrollmentDialog::programChosen);
    connect(m_month, &QComboBox::currentIndexChanged, this, &EnrollmentDialog::monthChosen);
    connect(m_fee, &QComboBox::currentIndexChanged, this, &EnrollmentDialog::feeChosen);
    connect(m_rqDate, &DateEdit::dateTextChanged, this, [this](const QString &d) {
        if (!m_loading)
            m_start->setDateText(d);
    });
    connect(m_start, &DateEdit::dateTextChanged, this, [this] {
        if (!m_loading)
            recomputeEnd();
    });
    connect(m_dcAmt, &QLineEdit::editingFinished, this, &EnrollmentDialog::recomputeCourseAmounts);
    connect(m_dcKind, &QComboBox::currentIndexChanged, this, &EnrollmentDialog::discountKindChosen);
    return w;
}

QWidget *EnrollmentDialog::buildGoodsTab()
{
    auto *w = new QWidget(this);
    m_item = comboField(w, QStringLiteral("CobItem"));
    m_item->setMinimumWidth(260);
    m_qty = amountField(w, QStringLiteral("TxtQty2"));
    m_price = amountField(w, QStringLiteral("TxtPrice2"));
    m_itAmt = amountField(w, QStringLiteral("TxtItAmt2"));
    m_itAmt->setReadOnly(true);
    m_itAmt->setFocusPolicy(Qt::NoFocus);
    m_dcKind2 = comboField(w, QStringLiteral("Cob할인구분2"));
    m_dcKind2->addItems(discountKindItems());
    m_dcAmt2 = amountField(w, QStringLiteral("TxtDcAmt2"));
    m_tAmt2 = amountField(w, QStringLiteral("TxtTamt2"));
    m_tAmt2->setReadOnly(true);
    m_tAmt2->setFocusPolicy(Qt::NoFocus);
    m_cash2 = amountField(w, QStringLiteral("TxtCashAmt2"));
    m_cardAmt2 = amountField(w, QStringLiteral("TxtCardAmt2"));
    m_card2 = comboField(w, QStringLiteral("CobCard2"));
    m_card2->addItems(readOr(m_ui, [&] { return cardItems(m_ui.app.main); }));
    m_pnlCash2 = commandButton(w, QStringLiteral("PnlCash2"), QStringLiteral("현  금"), 0);
    m_pnlCard2 = commandButton(w, QStringLiteral("PnlCard2"), QStringLiteral("카  드"), 0);
    m_pay2 = new PaySwitch(m_pnlCash2, m_pnlCard2, m_cash2, m_cardAmt2, m_card2, this);
    m_pay2->setDue(m_tAmt2);
    m_saleDate = dateField(w, QStringLiteral("DtpSdate2"));

    auto *g = new QGridLayout(w);
    int row = 0;
    g->addWidget(caption(w, QStringLiteral("상 품 명")), row, 0);
    g->addWidget(m_item, row++, 1, 1, 3);
    g->addWidget(caption(w, QStringLiteral("수    량")), row, 0);
    g->addWidget(m_qty, row, 1);
    g->addWidget(caption(w, QStringLiteral("단    가")), row, 2);
    g->addWidget(m_price, row++, 3);
    g->addWidget(caption(w, QStringLiteral("판매금액")), row, 0);
    g->addWidget(m_itAmt, row, 1);
    g->addWidget(caption(w, QStringLiteral("판매일자")), row, 2);
    g->addWidget(m_saleDate, row++, 3);
    g->addWidget(caption(w, QStringLiteral("할인구분")), row, 0);
    g->addWidget(m_dcKind2, row, 1);
    g->addWidget(caption(w, QStringLiteral("할인금액")), row, 2);
    g->addWidget(m_dcAmt2, row++, 3);
    g->addWidget(caption(w, QStringLiteral("결재금액")), row, 2);
    g->addWidget(m_tAmt2, row++, 3);
    g->addWidget(m_pnlCash2, row, 0);
    g->addWidget(m_cash2, row, 1);
    g->addWidget(m_pnlCard2, row, 2);
    g->addWidget(m_cardAmt2, row++, 3);
    g->addWidget(caption(w, QStringLiteral("카 드 사")), row, 2);
    g->addWidget(m_card2, row++, 3);
    g->setRowStretch(row, 1);

    for (const ItemChoice &i : readOr(m_ui, [&] { return itemChoices(m_ui.app.main); }))
        m_item->addItem(i.text, QVariantList{i.itId, i.price});
    connect(m_item, &QComboBox::currentIndexChanged, this, [this] {
        if (m_loading || m_item->currentIndex() < 0)
            return;
        setAmount(m_price, m_item->currentData().toList().value(1).toLongLong());
        recomputeGoods();
    });
    connect(m_qty, &QLineEdit::editingFinished, this, &EnrollmentDialog::recomputeGoods);
    connect(m_price, &QLineEdit::editingFinished, this, &EnrollmentDialog::recomputeGoods);
    connect(m_dcAmt2, &QLineEdit::editingFinished, this, &EnrollmentDialog::recomputeGoods);
    return w;
}

// --- course tab ----------------------------------------------------------------------

void EnrollmentDialog::clearCourse()
{
    const QString today = fmtDate(m_ui.app.clock().today());
    m_loading = true;
    m_rqDate->setDateText(today);
    m_start->setDateText(today);
    m_lectGubun->setCurrentIndex(0);
    m_dcKind->setCurrentIndex(0);
    setAmount(m_dcAmt, 0);
    m_upgcnt->clear();
    m_remark->clear();
    m_card->setCurrentIndex(-1);
    m_pay->markCash(true);
    m_loading = false;
    discountKindChosen();
    courseChosen();
}

void EnrollmentDialog::courseChosen()
{
    const QString course = m_course->currentText();
    const QList<ProgramChoice> progs = readOr(m_ui, [&] { return enrollmentPrograms(m_ui.app.main, course); });
    QList<ListItem> items;
    for (const ProgramChoice &p : progs)
        items.append({p.text, QVariantList{p.pgid, int(p.kind)}});
    fillCombo(m_prog, items);
    if (items.isEmpty())
        programChosen();
}

void EnrollmentDialog::programChosen()
{
    const QVariantList d = m_prog->currentData().toList();
    const qint64 pgid = d.value(0).toLongLong();
    m_kind = ProgramKind(d.value(1).toInt());
    QList<ListItem> items;
    if (pgid > 0)
        for (const MonthChoice &m : readOr(m_ui, [&] { return monthChoices(m_ui.app.main, pgid, m_kind); }))
            items.append({m.text, QVariantList{m.pgId1, m.monthCnt, m.openEnd}});
    fillCombo(m_month, items);
    if (items.isEmpty())
        monthChosen();
}

void EnrollmentDialog::monthChosen()
{
    const QVariantList d = m_month->currentData().toList();
    m_openEnd = d.value(2).toBool();
    m_end->setEnabled(!m_openEnd);
    if (!m_loading)
        recomputeEnd();
    QList<ListItem> items;
    if (!d.isEmpty())
        for (const FeeChoice &f : readOr(m_ui, [&] { return feeChoices(m_ui.app.main, d.value(0).toLongLong()); }))
            items.append({f.text, QVariantList{f.level, f.amount}});
    fillCombo(m_fee, items);
    if (items.isEmpty())
        feeChosen();
}

void EnrollmentDialog::recomputeEnd()
{
    const int months = m_month->currentData().toList().value(1).toInt();
    const QString end = enrollmentEndDate(m_start->dateText(), months, m_openEnd);
    if (end == QLatin1String(kOpenEndDate)) {
        m_end->setDateText(end);
    } else if (!end.isEmpty()) {
        m_end->setDateText(end);
    }
}

void EnrollmentDialog::feeChosen()
{
    if (!m_loading)
        recomputeCourseAmounts();
}

void EnrollmentDialog::recomputeCourseAmounts()
{
    const qint64 fee = m_fee->currentData().toList().value(1).toLongLong();
    setAmount(m_dcAmt, amountOf(m_dcAmt));
    setAmount(m_tAmt, fee - amountOf(m_dcAmt));
    setAmount(m_cash, fee - amountOf(m_dcAmt));
    setAmount(m_cardAmt, 0);
    m_card->setCurrentIndex(-1);
    m_pay->markCash(true);
}

void EnrollmentDialog::discountKindChosen()
{
    const bool mileage = m_dcKind->currentText().startsWith(QLatin1Char('2'));
    m_point->setEnabled(mileage);
    if (mileage) {
        const auto m = readOr(m_ui, [&] { return loadMember(m_ui.app.main, MbCode); });
        m_point->setText(wonText(m ? m->point : 0));
    } else {
        m_point->clear();
    }
}

void EnrollmentDialog::loadCourse(qint64 ltid)
{
    const auto read = guard(m_ui, DbAction::Read, [&] { return loadEnrollment(m_ui.app.main, ltid); });
    if (!read)
        return;
    const auto &s = *read;
    if (!s) {
        m_ui.msg.warn(QStringLiteral("해당자료를 찾을수 없읍니다"), QStringLiteral("수강수정"));
        return;
    }
    const EnrollmentInput &in = s->input;
    m_loading = true;
    int i = indexOfCode(m_course, s->course + QLatin1Char('-'));
    m_course->setCurrentIndex(i >= 0 ? i : 0);
    m_loading = false;
    courseChosen();
    m_loading = true;
    for (int k = 0; k < m_prog->count(); ++k)
        if (m_prog->itemData(k).toList().value(0).toLongLong() == in.pgid)
            m_prog->setCurrentIndex(k);
    for (int k = 0; k < m_month->count(); ++k)
        if (m_month->itemData(k).toList().value(1).toInt() == in.monthCnt)
            m_month->setCurrentIndex(k);
    monthChosen();
    for (int k = 0; k < m_fee->count(); ++k)
        if (m_fee->itemData(k).toList().value(0).toString() == in.amtGubun)
            m_fee->setCurrentIndex(k);
    m_lectGubun->setCurrentIndex(qMax(0, indexOfCode(m_lectGubun, in.lectGubun)));
    m_dcKind->setCurrentIndex(qMax(0, indexOfCode(m_dcKind, in.dcGubun)));
    m_card->setCurrentIndex(indexOfCode(m_card, in.card));
    m_rqDate->setDateText(in.rqDate);
    m_start->setDateText(in.sDate1);
    m_end->setDateText(in.sDate2);
    setAmount(m_dcAmt, in.dcAmt);
    setAmount(m_tAmt, in.amountDue());
    setAmount(m_cash, in.cashAmt);
    setAmount(m_cardAmt, in.cardAmt);
    m_pay->markCash(in.cardAmt == 0 || in.cashAmt > 0);
    setAmount(m_upgcnt, in.uPgCnt);
    m_remark->setText(in.remark);
    m_loading = false;
    discountKindChosen();
    m_receiptLtid = ltid;
}

bool EnrollmentDialog::saveCourse()
{
    if (!checkNumberFields(this, m_ui.msg))
        return false;
    const QVariantList prog = m_prog->currentData().toList();
    const QVariantList month = m_month->currentData().toList();
    const QVariantList fee = m_fee->currentData().toList();
    if (prog.isEmpty() || month.isEmpty() || fee.isEmpty()) {
        m_ui.msg.warn(QStringLiteral("강좌와 수강개월을 선택하세요"), enrollSaveTitle());
        return false;
    }
    EnrollmentInput in;
    in.jobGubun = JobGubun;
    in.ltid = Ltid;
    in.mbCode = MbCode;
    in.pgid = prog.value(0).toLongLong();
    in.monthCnt = month.value(1).toInt();
    in.amtGubun = fee.value(0).toString();
    in.fee = fee.value(1).toLongLong();
    in.rqDate = m_rqDate->dateText();
    in.sDate1 = m_start->dateText();
    in.sDate2 = m_openEnd ? QString::fromLatin1(kOpenEndDate) : m_end->dateText();
    in.lectGubun = m_lectGubun->currentText().left(1);
    in.dcGubun = m_dcKind->currentText().left(1);
    in.dcAmt = amountOf(m_dcAmt);
    in.cashAmt = amountOf(m_cash);
    in.cardAmt = amountOf(m_cardAmt);
    in.card = m_card->currentText().left(1);
    in.uPgCnt = amountOf(m_upgcnt);
    in.remark = m_remark->text();

    EnrollResult r;
    if (!runEnrollSave(m_ui, [&] { return saveEnrollment(m_ui.app, in); }, &r))
        return false;
    TF = true;
    m_receiptLtid = r.id;
    if (m_print->isChecked())
        printCourseReceipt(r.id, qMax(1, m_ui.app.options.opt3));
    if (JobGubun == QLatin1String("N"))
        clearCourse();
    if (m_closeAfter->isChecked())
        accept();
    return true;
}

bool EnrollmentDialog::printCourseReceipt(qint64 ltid, int copies)
{
    const auto read = guard(m_ui, DbAction::Read, [&] { return loadEnrollmentReceipt(m_ui.app, ltid); });
    if (!read)
        return false;
    const std::optional<EnrollmentReceiptData> &d = *read;
    if (!d) {
        m_ui.msg.warn(QStringLiteral("출력할 자료가 없읍니다"), receiptPrintTitle());
        return false;
    }
    ReceiptPrintResult r;
    {
        BusyScope busy(QStringLiteral("영수증을 출력중입니다"), this);
        r = m_output.print(m_ui.app, buildEnrollmentReceipt(*d), enrollmentReceiptPrinterTitle(), copies);
    }
    if (!r.ok)
        m_ui.msg.warn(r.text, r.title);
    return r.ok;
}

void EnrollmentDialog::previewReceipt()
{
    std::optional<std::optional<EnrollmentReceiptData>> d;
    if (m_receiptLtid > 0) {
        d = guard(m_ui, DbAction::Read, [&] { return loadEnrollmentReceipt(m_ui.app, m_receiptLtid); });
        if (!d)
            return; // the desk has been told
    }
    if (!d || !*d) {
        m_ui.msg.warn(QStringLiteral("출력할 자료가 없읍니다"), receiptPrintTitle());
        return;
    }
    ReceiptPreviewDialog dlg(buildEnrollmentReceipt(**d), enrollmentReceiptPrinterTitle(), this);
    if (dlg.exec() == QDialog::Accepted && dlg.printRequested())
        printCourseReceipt(m_receiptLtid, qMax(1, m_ui.app.options.opt3));
}

void EnrollmentDialog::printReceipt()
{
    if (m_receiptLtid <= 0) {
        m_ui.msg.warn(QStringLiteral("출력할 자료가 없읍니다"), receiptPrintTitle());
        return;
    }
    printCourseReceipt(m_receiptLtid, qMax(1, m_ui.app.options.opt3));
}

// --- goods tab -----------------------------------------------------------------------

void EnrollmentDialog::clearGoods()
{
    m_loading = true;
    m_saleDate->setDateText(fmtDate(m_ui.app.clock().today()));
    m_item->setCurrentIndex(m_item->count() > 0 ? 0 : -1);
    setAmount(m_qty, 1);
    setAmount(m_price, m_item->currentData().toList().value(1).toLongLong());
    m_dcKind2->setCurrentIndex(0);
    setAmount(m_dcAmt2, 0);
    m_card2->setCurrentIndex(-1);
    m_loading = false;
    recomputeGoods();
}

void EnrollmentDialog::recomputeGoods()
{
    const qint64 gross = amountOf(m_qty) * amountOf(m_price);
    setAmount(m_itAmt, gross);
    setAmount(m_tAmt2, gross - amountOf(m_dcAmt2));
    setAmount(m_cash2, gross - amountOf(m_dcAmt2));
    setAmount(m_cardAmt2, 0);
    m_card2->setCurrentIndex(-1);
    m_pay2->markCash(true);
}

void EnrollmentDialog::loadGoods(qint64 slid)
{
    const auto read = guard(m_ui, DbAction::Read, [&] { return loadGoodsSale(m_ui.app.main, slid); });
    if (!read)
        return;
    const auto &g = *read;
    if (!g) {
        m_ui.msg.warn(QStringLiteral("상품판매 자료를 찾을수 없읍니다"), QStringLiteral("상품판매"));
        return;
    }
    m_loading = true;
    for (int k = 0; k < m_item->count(); ++k)
        if (m_item->itemData(k).toList().value(0).toLongLong() == g->itId)
            m_item->setCurrentIndex(k);
    setAmount(m_qty, g->qty);
    setAmount(m_price, g->price);
    setAmount(m_itAmt, g->gross());
    m_dcKind2->setCurrentIndex(qMax(0, indexOfCode(m_dcKind2, g->dcGubun)));
    setAmount(m_dcAmt2, g->dcAmt);
    setAmount(m_tAmt2, g->amountDue());
    setAmount(m_cash2, g->cashAmt);
    setAmount(m_cardAmt2, g->cardAmt);
    m_card2->setCurrentIndex(indexOfCode(m_card2, g->cardGubun));
    m_pay2->markCash(g->cardAmt == 0 || g->cashAmt > 0);
    m_saleDate->setDateText(g->slDate);
    m_loading = false;
}

bool EnrollmentDialog::saveGoods()
{
    if (!checkNumberFields(this, m_ui.msg))
        return false;
    if (m_item->currentIndex() < 0) {
        m_ui.msg.warn(QStringLiteral("상품을 선택하세요"), goodsSaveTitle());
        return false;
    }
    GoodsInput g;
    g.jobGubun = JobGubun;
    g.slid = Ltid;
    g.mbCode = MbCode;
    g.itId = m_item->currentData().toList().value(0).toLongLong();
    g.qty = amountOf(m_qty);
    g.price = amountOf(m_price);
    g.dcGubun = m_dcKind2->currentText().left(1);
    g.dcAmt = amountOf(m_dcAmt2);
    g.cashAmt = amountOf(m_cash2);
    g.cardAmt = amountOf(m_cardAmt2);
    g.cardGubun = m_card2->currentText().left(1);
    g.slDate = m_saleDate->dateText();
    if (!runEnrollSave(m_ui, [&] { return saveGoodsSale(m_ui.app, g); }))
        return false;
    TF = true;
    if (JobGubun == QLatin1String("N"))
        clearGoods();
    if (m_closeAfter->isChecked())
        accept();
    return true;
}

} // namespace fitrova
