#include "enrollment/ui/changedialogs.h"

#include "data/dates.h"
#include "data/listitems.h"
#include "enrollment/classchange.h"
#include "enrollment/enrollment.h"
#include "enrollment/transfer.h"
#include "enrollment/ui/enrollui.h"
#include "members/ui/memberpickdialog.h"
#include "widgets/dateedit.h"
#include "widgets/widgetutil.h"
#include "widgets/unsavedchanges.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace fitrova {

// --- class change ---------------------------------------------------------------------

ClassChangeDialog::ClassChangeDialog(UiContext &ui, const EnrollmentRequest &request, QWidget *parent)
    : QDialog(parent), JobGubun(request.jobGubun), MbCode(request.mbCode), Ltid(request.ltid), Pgid(request.pgid),
      bLtid(request.bLtid), m_ui(ui)
{
    setObjectName(QStringLiteral("수강변경"));
    const bool modify = JobGubun == QLatin1String("C");
    setWindowTitle(modify ? QStringLiteral("수강변경 - 수정") : QStringLiteral("수강변경 - 신청"));

    m_current = comboField(this, QStringLiteral("Cobprog1"));
    m_current->setEnabled(false);
    m_prog = comboField(this, QStringLiteral("Cobprog2"));
    m_prog->setMinimumWidth(320);
    m_month = comboField(this, QStringLiteral("CobMonthCnt1"));
    m_rqDate = dateField(this, QStringLiteral("Dtp변경신청일자"));
    m_from = dateField(this, QStringLiteral("Dtp변경기간1"));
    m_to = dateField(this, QStringLiteral("Dtp변경기간2"));
    m_extra = amountField(this, QStringLiteral("Txt추가금액"));
    m_payKind = comboField(this, QStringLiteral("Cob결재"));
    m_payKind->addItems(payKindItems());
    m_pnlMonth = displayPanel(this, QStringLiteral("PnlMonthCnt"), 0);
    m_pnlPeriod = displayPanel(this, QStringLiteral("PnlPeriod"), 0);
    m_pnlAmt = displayPanel(this, QStringLiteral("PnlTamt"), 0, Qt::AlignRight);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("현재강좌"), m_current);
    auto *info = new QHBoxLayout;
    info->addWidget(m_pnlMonth);
    info->addWidget(m_pnlPeriod, 1);
    info->addWidget(m_pnlAmt);
    form->addRow(QStringLiteral("수강내역"), info);
    form->addRow(QStringLiteral("변경강좌"), m_prog);
    form->addRow(QStringLiteral("수강개월"), m_month);
    form->addRow(QStringLiteral("신청일자"), m_rqDate);
    auto *period = new QHBoxLayout;
    period->addWidget(m_from);
    period->addWidget(new QLabel(QStringLiteral("~"), this));
    period->addWidget(m_to);
    form->addRow(QStringLiteral("변경기간"), period);
    form->addRow(QStringLiteral("추가금액"), m_extra);
    form->addRow(QStringLiteral("결재구분"), m_payKind);

    QPushButton *cmdSave = nullptr;
    QHBoxLayout *buttons = saveCloseRow(this, &TF, &cmdSave);
    auto *outer = new QVBoxLayout(this);
    outer->addLayout(form);
    outer->addLayout(buttons);
    resize(560, 340);
    installEnterAsTab(this);
    installSelectAllOnFocus(this);
    connect(cmdSave, &QPushButton::clicked, this, &ClassChangeDialog::save);
    connect(m_rqDate, &DateEdit::dateTextChanged, this, [this](const QString &d) { m_from->setDateText(d); });

    for (const ChangeProgram &p : readOr(m_ui, [&] { return changePrograms(m_ui.app.main); }))
        m_prog->addItem(p.text, p.pgid);
    connect(m_prog, &QComboBox::currentIndexChanged, this, &ClassChangeDialog::programChosen);

    const auto read = guard(m_ui, DbAction::Read, [&] {
        return std::pair(loadLectureInfo(m_ui.app.main, modify ? bLtid : Ltid),
                         modify ? loadLectureInfo(m_ui.app.main, Ltid) : std::optional<LectureInfo>());
    });
    if (!read)
        return;
    m_base = read->first;
    const auto row = modify ? read->second : m_base;
    if (!m_base || !row) {
        m_ui.msg.warn(lectureGoneText(), classChangeTitle());
        return;
    }
    if (!modify && !showOutcome(m_ui, classChangeEligible(*m_base)))
        return;
    m_current->addItem(lectureChoiceText(*m_base));
    m_pnlMonth->setText(QString(QString::number(m_base->monthCnt) + QStringLiteral(" 개월")));
    m_pnlPeriod->setText(QString(m_base->sDate1 + QStringLiteral(" ~ ") + m_base->sDate2));
    m_pnlAmt->setText(wonText(m_base->tAmt));
    const QString today = fmtDate(m_ui.app.clock().today());
    if (!modify) {
        const ChangeDefaults d = classChangeDefaults(*m_base, today);
        m_rqDate->setDateText(d.rqDate);
        m_from->setDateText(d.sDate1);
        m_to->setDateText(d.sDate2);
        programChosen();
    } else {
        for (int i = 0; i < m_prog->count(); ++i)
            if (m_prog->itemData(i).toLongLong() == row->pgid)
                m_prog->setCurrentIndex(i);
        programChosen();
        for (int i = 0; i < m_month->count(); ++i)
            if (m_month->itemData(i).toList().value(1).toInt() == row->monthCnt)
                m_month->setCurrentIndex(i);
        m_rqDate->setDateText(row->rqDate);
        m_from->setDateText(row->sDate1);
        m_to->setDateText(row->sDate2);
        setAmount(m_extra, row->tAmt);
        m_payKind->setCurrentIndex(row->cardAmt != 0 ? 1 : 0);
    }
    m_ready = true;
    new UnsavedChanges(this, m_ui.msg, [this] { return save(); });
}

void ClassChangeDialog::programChosen()
{
    m_month->clear();
    const qint64 pgid = m_prog->currentData().toLongLong();
    if (pgid > 0)
        for (const MonthChoice &m : readOr(m_ui, [&] { return monthChoices(m_ui.app.main, pgid, ProgramKind::Period); }))
            m_month->addItem(m.text, QVariantList{m.pgId1, m.monthCnt});
}

bool ClassChangeDialog::save()
{
    if (!m_ready)
        return false;
    if (m_prog->currentIndex() < 0) {
        m_ui.msg.warn(QStringLiteral("변경할 강좌를 선택하세요"), classChangeTitle());
        return false;
    }
    ClassChangeInput in;
    in.jobGubun = JobGubun;
    in.ltid = Ltid;
    in.bLtid = bLtid;
    in.newPgid = m_prog->currentData().toLongLong();
    in.monthCnt = m_month->currentData().toList().value(1).toInt();
    in.rqDate = m_rqDate->dateText();
    in.sDate1 = m_from->dateText();
    in.sDate2 = m_to->dateText();
    in.extra = amountOf(m_extra);
    in.payKind = m_payKind->currentText().left(1);
    if (!runEnrollSave(m_ui, [&] { return saveClassChange(m_ui.app, in); }))
        return false;
    TF = true;
    accept();
    return true;
}

// --- transfer -------------------------------------------------------------------------

TransferDialog::TransferDialog(UiContext &ui, const EnrollmentRequest &request, QWidget *parent)
    : QDialog(parent), JobGubun(request.jobGubun), MbCode(request.mbCode), Ltid(request.ltid), m_ui(ui)
{
    setObjectName(QStringLiteral("양도신청"));
    const bool modify = JobGubun == QLatin1String("C");
    setWindowTitle(modify ? QStringLiteral("강좌양도 - 수정") : QStringLiteral("강좌양도 - 신청"));

    auto *given = new QGroupBox(QStringLiteral("양도강좌"), this);
    m_pgName = displayPanel(given, QStringLiteral("PnlPgName"), 0);
    m_time = displayPanel(given, QStringLiteral("PnlTime"), 0);
    m_yymm = displayPanel(given, QStringLiteral("Pnlyymm"), 0);
    m_period = displayPanel(given, QStringLiteral("PnlPeriod"), 0);
    m_rqDatePnl = displayPanel(given, QStringLiteral("PnlRqDate"), 0);
    m_remain = displayPanel(given, QStringLiteral("PnlmCnt"), 0, Qt::AlignRight);
    auto *gf = new QFormLayout(given);
    gf->addRow(QStringLiteral("강 좌 명"), m_pgName);
    gf->addRow(QStringLiteral("시    간"), m_time);
    gf->addRow(QStringLiteral("수강년월"), m_yymm);
    gf->addRow(QStringLiteral("수강기간"), m_period);
    gf->addRow(QStringLiteral("신청일자"), m_rqDatePnl);
    gf->addRow(QStringLiteral("잔여시간"), m_remain);

    auto *recv = new QGroupBox(QStringLiteral("양수회원"), this);
    m_kind = comboField(recv, QStringLiteral("Cob구분"));
    m_kind->addItems(memberSearchKindItems());
    m_find = new QLineEdit(recv);
    m_find->setObjectName(QStringLiteral("Txt찾기"));
    excludeFromEnterAsTab(m_find);
    QPushButton *cmdFind = commandButton(recv, QStringLiteral("Cmd찾기"), QStringLiteral("회원검색"), 0);
    m_rName = displayPanel(recv, QStringLiteral("PnlMbName"), 0);
    m_rJuno = displayPanel(recv, QStringLiteral("PnlJuno"), 0);
    m_rAge = displayPanel(recv, QStringLiteral("PnlAge"), 0);
    m_rSex = displayPanel(recv, QStringLiteral("PnlSex"), 0);
    m_rTel1 = displayPanel(recv, QStringLiteral("PnlTel1"), 0);
    m_rTel2 = displayPanel(recv, QStringLiteral("PnlTel2"), 0);
    m_rAddr = displayPanel(recv, QStringLiteral("PnlAddr"), 0);
    m_rCard = displayPanel(recv, QStringLiteral("PnlMbCard"), 0);
    m_receiverLects = new QListWidget(recv);
    m_receiverLects->setObjectName(QStringLiteral("SpLect"));
    m_receiverLects->setMaximumHeight(90);
    auto *rg = new QGridLayout(recv);
    auto *findRow = new QHBoxLayout;
    findRow->addWidget(m_kind);
    findRow->addWidget(m_find, 1);
    findRow->addWidget(cmdFind);
    rg->addLayout(findRow, 0, 0, 1, 4);
    rg->addWidget(new QLabel(QStringLiteral("회 원 명"), recv), 1, 0);
    rg->addWidget(m_rName, 1, 1);
    rg->addWidget(new QLabel(QStringLiteral("주민번호"), recv), 1, 2);
    rg->addWidget(m_rJuno, 1, 3);
    rg->addWidget(new QLabel(QStringLiteral("나    이"), recv), 2, 0);
    rg->addWidget(m_rAge, 2, 1);
    rg->addWidget(new QLabel(QStringLiteral("성    별"), recv), 2, 2);
    rg->addWidget(m_rSex, 2, 3);
    rg->addWidget(new QLabel(QStringLiteral("휴 대 폰"), recv), 3, 0);
    rg->addWidget(m_rTel1, 3, 1);
    rg->addWidget(new QLabel(QStringLiteral("전화번호"), recv), 3, 2);
    rg->addWidget(m_rTel2, 3, 3);
    rg->addWidget(new QLabel(QStringLiteral("주    소"), recv), 4, 0);
    rg->addWidget(m_rAddr, 4, 1, 1, 3);
    rg->addWidget(new QLabel(QStringLiteral("카드번호"), recv), 5, 0);
    rg->addWidget(m_rCard, 5, 1);
    rg->addWidget(m_receiverLects, 6, 0, 1, 4);

    m_rqDate = dateField(this, QStringLiteral("Dtp신청일자"));
    m_from = dateField(this, QStringLiteral("Dtp기간1"));
    m_to = dateField(this, QStringLiteral("Dtp기간2"));
    m_days = displayPanel(this, QStringLiteral("Pnl일수"), 0, Qt::AlignRight);
    auto *dates = new QHBoxLayout;
    dates->addWidget(new QLabel(QStringLiteral("신청일자"), this));
    dates->addWidget(m_rqDate);
    dates->addWidget(new QLabel(QStringLiteral("양수기간"), this));
    dates->addWidget(m_from);
    dates->addWidget(new QLabel(QStringLiteral("~"), this));
    dates->addWidget(m_to);
    dates->addWidget(m_days);

    QPushButton *cmdSave = nullptr;
    QHBoxLayout *buttons = saveCloseRow(this, &TF, &cmdSave);

    auto *top = new QHBoxLayout;
    top->addWidget(given, 2);
    top->addWidget(recv, 3);
    auto *outer = new QVBoxLayout(this);
    outer->addLayout(top);
    outer->addLayout(dates);
    outer->addLayout(buttons);
    resize(900, 420);
    installEnterAsTab(this);
    installSelectAllOnFocus(this);
    connect(cmdFind, &QPushButton::clicked, this, &TransferDialog::search);
    connect(m_find, &QLineEdit::returnPressed, this, &TransferDialog::search);
    connect(cmdSave, &QPushButton::clicked, this, &TransferDialog::save);
    connect(m_from, &DateEdit::dateTextChanged, this, &TransferDialog::updateDays);
    connect(m_to, &DateEdit::dateTextChanged, this, &TransferDialog::updateDays);

    const auto read = guard(m_ui, DbAction::Read, [&] {
        const auto row = loadLectureInfo(m_ui.app.main, Ltid);
        return std::pair(row, modify && row ? loadLectureInfo(m_ui.app.main, row->bLtid) : row);
    });
    if (!read)
        return;
    m_row = read->first;
    const std::optional<LectureInfo> base = read->second;
    if (!m_row || !base) {
        m_ui.msg.warn(lectureGoneText(), transferTitle());
        return;
    }
    if (!modify && !showOutcome(m_ui, transferEligible(*base, m_ui.app.options.opt5 != 0)))
        return;
    m_pgName->setText(base->pgName);
    m_time->setText(QString(base->time1 + QLatin1Char('~') + base->time2));
    m_yymm->setText(base->ltyymm);
    m_period->setText(QString(base->sDate1 + QStringLiteral(" ~ ") + base->sDate2));
    m_rqDatePnl->setText(base->rqDate);
    if (base->programKind == ProgramKind::TimeBased)
        m_remain->setText(QString(QString::number(remainingCount(*base)) + QStringLiteral(" 분")));
    if (!modify) {
        const QString today = fmtDate(m_ui.app.clock().today());
        m_rqDate->setDateText(today);
        m_from->setDateText(today);
        m_to->setDateText(base->sDate2);
    } else {
        m_rqDate->setDateText(m_row->rqDate);
        m_from->setDateText(m_row->sDate1);
        m_to->setDateText(m_row->sDate2);
        if (const auto m = readOr(m_ui, [&] { return loadMember(m_ui.app.main, m_row->mbCode); }))
            showReceiver(*m);
    }
    updateDays();
    m_ready = true;
    new UnsavedChanges(this, m_ui.msg, [this] { return save(); });
}

void TransferDialog::updateDays()
{
    m_days->setText(QString(QString::number(daysBetween(m_from->dateText(), m_to->dateText()) + 1) +
                            QStringLiteral(" 일")));
}

void TransferDialog::search()
{
    const auto found = guard(m_ui, DbAction::Read, [&] {
        return searchReceivers(m_ui.app.main, memberSearchKindOf(m_kind->currentText()), m_find->text());
    });
    if (!found || !showOutcome(m_ui, found->check))
        return;
    const ReceiverSearch &s = *found;
    if (s.members.size() == 1) {
        showReceiver(s.members.first());
        return;
    }
    MemberPickDialog pick(m_ui, s.members, this);
    if (pick.exec() == QDialog::Accepted)
        for (const MemberRecord &m : s.members)
            if (m.mbCode == pick.MbCode)
                showReceiver(m);
}

void TransferDialog::showReceiver(const MemberRecord &m)
{
    m_receiver = m.mbCode;
    m_rName->setText(QString(m.mbName + QStringLiteral(" (") + m.mbCode + QLatin1Char(')')));
    m_rJuno->setText(m.residentText());
    m_rAge->setText(QString::number(m.age));
    m_rSex->setText(m.sex == QStringLiteral("남") ? QStringLiteral("1.남")
                    : m.sex == QStringLiteral("여") ? QStringLiteral("2.여")
                                                   : QString());
    m_rTel1->setText(m.tel1);
    m_rTel2->setText(m.tel2);
    m_rAddr->setText(m.addressText());
    m_rCard->setText(m.mbCard);
    m_receiverLects->clear();
    m_receiverLects->addItems(readOr(m_ui, [&] { return receiverEnrollmentLines(m_ui.app.main, m.mbCode); }));
}

bool TransferDialog::save()
{
    if (!m_ready)
        return false;
    TransferInput in;
    in.jobGubun = JobGubun;
    in.ltid = Ltid;
    in.receiverMbCode = m_receiver;
    in.rqDate = m_rqDate->dateText();
    in.sDate1 = m_from->dateText();
    in.sDate2 = m_to->dateText();
    if (!runEnrollSave(m_ui, [&] { return saveTransfer(m_ui.app, in); }))
        return false;
    TF = true;
    accept();
    return true;
}

} // namespace fitrova
