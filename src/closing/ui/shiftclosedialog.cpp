#include "closing/ui/shiftclosedialog.h"

#include "closing/closing.h"
#include "data/text.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"
#include "widgets/deskguard.h"
#include "widgets/moneyedit.h"
#include "widgets/widgetutil.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

namespace fitrova {

namespace {

QLabel *amountPanel(QWidget *parent, const QString &name)
{
    return displayPanel(parent, name, 96, Qt::AlignRight | Qt::AlignVCenter);
}

void showAmount(QLabel *panel, qint64 amount, bool markDifference = false)
{
    panel->setText(wonText(amount));
    panel->setStyleSheet(markDifference && amount != 0 ? QStringLiteral("color: #C00000; font-weight: bold;") : QString());
}

QString dateTime(const QString &date, const QString &time)
{
    return date.isEmpty() ? QString() : date + QLatin1Char(' ') + time;
}

} // namespace

ShiftCloseDialog::ShiftCloseDialog(UiContext &ui, qint64 fnid, const std::optional<TimeWindow> &bounds, QWidget *parent)
    : QDialog(parent), m_ui(ui), m_fnid(fnid), m_bounds(bounds)
{
    setObjectName(QStringLiteral("교대마감입력"));
    setWindowTitle(QStringLiteral("교대마감"));
    paperPrinter = [this](const Receipt &r, const QString &title) -> QString {
        QPrinter printer;
        QPrintDialog dialog(&printer, this);
        if (dialog.exec() != QDialog::Accepted)
            return {};
        return printReceiptOnPrinter(printer, r, title, 1);
    };

    m_user = displayPanel(this, QStringLiteral("Pnl근무자"), 150);
    m_pos = displayPanel(this, QStringLiteral("PnlPOS"), 40);
    m_shift = displayPanel(this, QStringLiteral("Pnl교대"), 60);
    m_from = displayPanel(this, QStringLiteral("Pnl시작"), 140);
    m_to = displayPanel(this, QStringLiteral("Pnl종료"), 140);
    auto *head = new QGridLayout;
    head->addWidget(caption(this, QStringLiteral("근무자")), 0, 0);
    head->addWidget(m_user, 0, 1);
    head->addWidget(caption(this, QStringLiteral("POS")), 0, 2);
    head->addWidget(m_pos, 0, 3);
    head->addWidget(caption(this, QStringLiteral("교대")), 0, 4);
    head->addWidget(m_shift, 0, 5);
    head->addWidget(caption(this, QStringLiteral("시작")), 1, 0);
    head->addWidget(m_from, 1, 1);
    head->addWidget(caption(this, QStringLiteral("종료")), 1, 2);
    head->addWidget(m_to, 1, 3, 1, 3);

    // The count: float, notes and coins, card slips.
    m_countBox = new QGroupBox(QStringLiteral("현금시재 (먼저 세어서 입력하세요)"), this);
    auto *count = new QGridLayout(m_countBox);
    m_befAmt = new MoneyEdit(m_countBox, QStringLiteral("TxtBefAmt"), QStringLiteral("준비금"));
    count->addWidget(caption(m_countBox, QStringLiteral("준비금(전잔액)")), 0, 0);
    count->addWidget(m_befAmt, 0, 1);
    for (size_t i = 0; i < CashCount::kUnits.size(); ++i) {
        const qint64 unit = CashCount::kUnits[i];
        const int row = int(i % 4) + 1, col = int(i / 4) * 3;
        m_qty[i] = new MoneyEdit(m_countBox, QStringLiteral("Txt매수%1").arg(unit),
                                 QStringLiteral("%1원").arg(wonText(unit)), MoneyEdit::Kind::Count);
        m_qty[i]->setMaximumWidth(70);
        m_unitAmount[i] = amountPanel(m_countBox, QStringLiteral("Pnl금액%1").arg(unit));
        count->addWidget(caption(m_countBox, QStringLiteral("%1원 x").arg(wonText(unit))), row, col);
        count->addWidget(m_qty[i], row, col + 1);
        count->addWidget(m_unitAmount[i], row, col + 2);
        connect(m_qty[i], &MoneyEdit::textChanged, this, [this] {
            qint64 total = 0;
            for (size_t k = 0; k < CashCount::kUnits.size(); ++k) {
                const qint64 a = CashCount::kUnits[k] * m_qty[k]->amount();
                m_unitAmount[k]->setText(m_qty[k]->text().trimmed().isEmpty() ? QString() : wonText(a));
                total += a;
            }
            m_counted->setText(wonText(total));
        });
    }
    m_counted = amountPanel(m_countBox, QStringLiteral("Pnl현금시재"));
    m_cardSlips = new MoneyEdit(m_countBox, QStringLiteral("TxtCardAmt"), QStringLiteral("카드전표"));
    count->addWidget(caption(m_countBox, QStringLiteral("현금시재 합계")), 5, 0);
    count->addWidget(m_counted, 5, 1, 1, 2);
    count->addWidget(caption(m_countBox, QStringLiteral("카드전표 합계")), 5, 3);
    count->addWidget(m_cardSlips, 5, 4, 1, 2);
    m_cmdConfirm = commandButton(m_countBox, QStringLiteral("Cmd확인"), QStringLiteral("시재확인"), 96);
    count->addWidget(m_cmdConfirm, 6, 4, 1, 2);

    // What was recorded, and the balance: shown after the count.
    m_figureBox = new QGroupBox(QStringLiteral("마감내역"), this);
    auto *fig = new QGridLayout(m_figureBox);
    m_recorded = new DataGrid(m_figureBox);
    m_recorded->setObjectName(QStringLiteral("Sp매출내역"));
    m_recorded->setColumns({QStringLiteral("매출내역"), QStringLiteral("건수"), QStringLiteral("현금"), QStringLiteral("카드"),
                            QStringLiteral("합계")},
                           {90, 50, 100, 100, 100});
    for (int c = 1; c < 5; ++c)
        m_recorded->setColumnAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
    m_recorded->setHeaderSorting(false);
    m_recorded->setMinimumHeight(150);
    fig->addWidget(m_recorded, 0, 0, 1, 4);
    m_cash2 = amountPanel(m_figureBox, QStringLiteral("Pnl입금현금"));
    m_card2 = amountPanel(m_figureBox, QStringLiteral("Pnl입금카드"));
    m_tot2 = amountPanel(m_figureBox, QStringLiteral("Pnl입금합계"));
    m_cash3 = amountPanel(m_figureBox, QStringLiteral("Pnl오차현금"));
    m_card3 = amountPanel(m_figureBox, QStringLiteral("Pnl오차카드"));
    m_tot3 = amountPanel(m_figureBox, QStringLiteral("Pnl오차합계"));
    m_cash4 = amountPanel(m_figureBox, QStringLiteral("Pnl현금납입"));
    m_tot4 = amountPanel(m_figureBox, QStringLiteral("Pnl마감금액"));
    fig->addWidget(caption(m_figureBox, QStringLiteral("실입금 현금/카드/합계")), 1, 0);
    fig->addWidget(m_cash2, 1, 1);
    fig->addWidget(m_card2, 1, 2);
    fig->addWidget(m_tot2, 1, 3);
    fig->addWidget(caption(m_figureBox, QStringLiteral("오차 현금/카드/합계")), 2, 0);
    fig->addWidget(m_cash3, 2, 1);
    fig->addWidget(m_card3, 2, 2);
    fig->addWidget(m_tot3, 2, 3);
    m_reasonLabel = caption(m_figureBox, QStringLiteral("오차사유"));
    m_reason = new QLineEdit(m_figureBox);
    m_reason->setObjectName(QStringLiteral("Txt사유"));
    m_reason->setMaxLength(100);
    fig->addWidget(m_reasonLabel, 3, 0);
    fig->addWidget(m_reason, 3, 1, 1, 3);
    m_floatLeft = new MoneyEdit(m_figureBox, QStringLiteral("TxtFloatLeft"), QStringLiteral("남길 준비금"));
    fig->addWidget(caption(m_figureBox, QStringLiteral("남길 준비금")), 4, 0);
    fig->addWidget(m_floatLeft, 4, 1);
    fig->addWidget(caption(m_figureBox, QStringLiteral("현금납입")), 4, 2);
    fig->addWidget(m_cash4, 4, 3);
    fig->addWidget(caption(m_figureBox, QStringLiteral("마감금액")), 5, 2);
    fig->addWidget(m_tot4, 5, 3);
    connect(m_floatLeft, &MoneyEdit::textChanged, this, &ShiftCloseDialog::recompute);

    m_cmdClose = commandButton(this, QStringLiteral("Cmd마감"), QStringLiteral("교대마감"), 84);
    m_cmdX = commandButton(this, QStringLiteral("CmdX인쇄"), QStringLiteral("X 인쇄"), 72);
    m_cmdReceipt = commandButton(this, QStringLiteral("Cmd영수증"), QStringLiteral("영수증"), 72);
    m_cmdPaper = commandButton(this, QStringLiteral("Cmd인쇄"), QStringLiteral("인쇄"), 64);
    auto *quit = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"), 64);

    auto *lay = new QVBoxLayout(this);
    lay->addLayout(head);
    lay->addWidget(m_countBox);
    lay->addWidget(m_figureBox, 1);
    lay->addLayout(buttonRow({m_cmdX, m_cmdReceipt, m_cmdPaper, m_cmdClose, quit}));

    connect(m_cmdConfirm, &QPushButton::clicked, this, &ShiftCloseDialog::confirmCount);
    connect(m_cmdClose, &QPushButton::clicked, this, &ShiftCloseDialog::closeShift);
    connect(m_cmdX, &QPushButton::clicked, this, &ShiftCloseDialog::printX);
    connect(m_cmdReceipt, &QPushButton::clicked, this, [this] { printSlip(false); });
    connect(m_cmdPaper, &QPushButton::clicked, this, [this] { printSlip(true); });
    connect(quit, &QPushButton::clicked, this, [this] { TF ? accept() : reject(); });

    installEnterAsTab(this);
    installSelectAllOnFocus(this);
    resize(640, 680);
    load();
}

void ShiftCloseDialog::load()
{
    const ShiftStamp st = shiftStamp(m_ui.app);
    const auto settings = guard(m_ui, DbAction::Read, [&] { return loadClosingSettings(m_ui.app.main); });
    if (settings)
        m_settings = *settings;
    std::optional<ShiftReading> r;
    if (m_fnid > 0) {
        const auto f = guard(m_ui, DbAction::Read, [&] { return loadFinish(m_ui.app.main, m_fnid); });
        if (f && *f && (*f)->isDaily()) {
            m_mode = Mode::Daily;
            m_reading = ShiftReading{**f, (*f)->window(), {}};
        } else if (f && *f) {
            const auto read = guard(m_ui, DbAction::Read, [&] { return readShift(m_ui.app.main, m_fnid, st, m_bounds); });
            if (read && *read)
                r = **read;
        }
    } else {
        const auto read = guard(m_ui, DbAction::Read, [&] { return readShiftOf(m_ui.app.main, st, m_settings, m_bounds); });
        if (read)
            r = *read;
    }
    if (r) {
        m_reading = *r;
        m_mode = r->shift.isOpen() ? Mode::Count : Mode::Closed;
    }
    const FinishRow &f = m_reading.shift;
    m_user->setText(f.userName.isEmpty() ? (f.psCode == m_ui.app.user.psCode ? m_ui.app.user.userName : f.psCode)
                                         : f.userName);
    m_pos->setText(QString::number(f.posNo));
    m_shift->setText(m_mode == Mode::Daily ? QStringLiteral("일일마감") : shiftText(f));
    m_from->setText(dateTime(m_reading.window.fromDate, m_reading.window.fromTime));
    m_to->setText(m_mode == Mode::Count ? QStringLiteral("(마감전)")
                                        : dateTime(m_reading.window.toDate, m_reading.window.toTime));
    setWindowTitle(m_mode == Mode::Daily ? QStringLiteral("일일마감 ") + f.fDate : QStringLiteral("교대마감"));

    switch (m_mode) {
    case Mode::Count:
        m_befAmt->setAmount(f.befAmt);
        showCount(true);
        m_figureBox->setVisible(false);
        m_cmdClose->setEnabled(false);
        m_cmdReceipt->setEnabled(false);
        m_cmdPaper->setEnabled(false);
        m_cmdX->setEnabled(true);
        m_befAmt->setFocus();
        break;
    case Mode::Closed: {
        m_befAmt->setAmount(f.befAmt);
        const auto stored = guard(m_ui, DbAction::Read, [&] { return storedCashCount(m_ui.app.main, f.fnid); });
        const CashCount c = stored.value_or(CashCount{});
        for (size_t i = 0; i < c.qty.size(); ++i)
            m_qty[i]->setText(c.qty[i] ? QString::number(c.qty[i]) : QString());
        m_cardSlips->setAmount(f.cardAmt2);
        m_confirmed = true;
        showCount(false);
        showFigures();
        m_cmdClose->setEnabled(false);
        m_cmdX->setEnabled(false);
        break;
    }
    case Mode::Daily:
        m_countBox->setVisible(false);
        m_confirmed = true;
        showFigures();
        m_cmdClose->setEnabled(false);
        m_cmdX->setEnabled(false);
        m_cmdReceipt->setEnabled(false);
        m_cmdPaper->setEnabled(false);
        break;
    }
}

void ShiftCloseDialog::showCount(bool editable)
{
    m_befAmt->setReadOnly(!editable);
    for (MoneyEdit *q : m_qty)
        q->setReadOnly(!editable);
    m_cardSlips->setReadOnly(!editable);
    m_cmdConfirm->setVisible(editable);
}

ShiftCount ShiftCloseDialog::currentCount() const
{
    ShiftCount c;
    c.befAmt = m_befAmt->amount();
    for (size_t i = 0; i < m_qty.size(); ++i)
        c.cash.qty[i] = m_qty[i]->amount();
    c.cardSlips = m_cardSlips->amount();
    c.floatLeft = m_floatLeft->amount();
    c.reason = m_reason->text();
    return c;
}

bool ShiftCloseDialog::confirmCount()
{
    if (m_mode != Mode::Count || m_confirmed)
        return false;
    if (!checkNumberFields(m_countBox, m_ui.msg))
        return false;
    ShiftCount c = currentCount();
    c.floatLeft = 0;
    if (const Outcome ok = checkCount(c); !ok) {
        showOutcome(m_ui, ok);
        return false;
    }
    // The records are read now, after the count is fixed.
    const ShiftStamp st = shiftStamp(m_ui.app);
    std::optional<ShiftReading> r;
    if (m_reading.shift.fnid > 0) {
        const auto read = guard(m_ui, DbAction::Read, [&] { return readShift(m_ui.app.main, m_reading.shift.fnid, st, m_bounds); });
        if (read && *read)
            r = **read;
    } else {
        const auto read = guard(m_ui, DbAction::Read, [&] { return readShiftOf(m_ui.app.main, st, m_settings, m_bounds); });
        if (read)
            r = *read;
    }
    if (!r)
        return false;
    m_reading = *r;
    m_confirmed = true;
    showCount(false);
    m_floatLeft->setAmount(std::min(c.befAmt, c.cash.cash()));
    showFigures();
    m_cmdClose->setEnabled(true);
    m_floatLeft->setFocus();
    return true;
}

void ShiftCloseDialog::showFigures()
{
    m_figureBox->setVisible(true);
    const FinishRow &f = m_reading.shift;
    m_recorded->clearRows();
    if (m_mode == Mode::Daily) {
        m_recorded->addTotalRow({QStringLiteral("합계"), QString::number(f.totCnt), wonText(f.cashAmt1), wonText(f.cardAmt1),
                                 wonText(f.totAmt1)});
    } else {
        const ShiftFigures &fig = m_reading.figures;
        auto add = [&](const QString &label, const Takings &t) {
            m_recorded->addRow({label, QString::number(t.count), wonText(t.cash), wonText(t.card), wonText(t.total())});
        };
        add(QStringLiteral("상품"), fig.goods);
        add(QStringLiteral("강좌"), fig.courses);
        add(QStringLiteral("사물함"), fig.lockers);
        const Takings t = fig.total();
        m_recorded->addTotalRow({QStringLiteral("합계"), QString::number(t.count), wonText(t.cash), wonText(t.card),
                                 wonText(t.total())});
    }
    const bool stored = m_mode != Mode::Count;
    m_reason->setReadOnly(stored);
    m_floatLeft->setReadOnly(stored);
    if (stored) {
        m_reason->setText(f.remark);
        showAmount(m_cash2, f.cashAmt2);
        showAmount(m_card2, f.cardAmt2);
        showAmount(m_tot2, f.totAmt2);
        showAmount(m_cash3, f.cashAmt3, true);
        showAmount(m_card3, f.cardAmt3, true);
        showAmount(m_tot3, f.totAmt3, true);
        showAmount(m_cash4, f.cashAmt4);
        showAmount(m_tot4, f.totAmt4);
        m_floatLeft->setAmount(f.befAmt + f.cashAmt2 - f.cashAmt4);
        m_floatLeft->setVisible(m_mode == Mode::Closed);
        return;
    }
    recompute();
}

void ShiftCloseDialog::recompute()
{
    if (m_mode != Mode::Count || !m_confirmed)
        return;
    const ShiftBalance b = balanceOf(m_reading.figures, currentCount());
    showAmount(m_cash2, b.cashAmt2);
    showAmount(m_card2, b.cardAmt2);
    showAmount(m_tot2, b.totAmt2);
    showAmount(m_cash3, b.cashAmt3, true);
    showAmount(m_card3, b.cardAmt3, true);
    showAmount(m_tot3, b.totAmt3, true);
    showAmount(m_cash4, b.cashAmt4);
    showAmount(m_tot4, b.totAmt4);
    const bool needed = b.needsReason(m_settings.diffLimit);
    m_reasonLabel->setText(needed ? QStringLiteral("오차사유(필수)") : QStringLiteral("오차사유"));
    m_reasonLabel->setStyleSheet(needed ? QStringLiteral("color: #C00000; font-weight: bold;") : QString());
}

bool ShiftCloseDialog::closeShift()
{
    if (m_mode != Mode::Count || !m_confirmed)
        return false;
    if (!checkNumberFields(m_figureBox, m_ui.msg))
        return false;
    const ShiftCloseRequest req{m_reading.shift.fnid, currentCount(), m_bounds};
    const ShiftStamp st = shiftStamp(m_ui.app);
    const auto o = guard(m_ui, DbAction::Save, [&] { return fitrova::closeShift(m_ui.app.main, req, st, m_settings); });
    if (!o)
        return false;
    if (!showOutcome(m_ui, *o)) {
        if (o->field == int(CountField::Reason))
            m_reason->setFocus();
        else if (o->field == int(CountField::FloatLeft))
            m_floatLeft->setFocus();
        return false;
    }
    TF = true;
    m_fnid = o->id;
    load();
    if (m_ui.msg.ask(QStringLiteral("교대마감 영수증을 출력하시겠읍니까?"), shiftTitle()))
        printSlip(false);
    return true;
}

ShiftSlip ShiftCloseDialog::slip() const
{
    ShiftSlip s;
    s.reading = m_reading;
    if (m_mode == Mode::Closed)
        s.count = currentCount().cash;
    const QDateTime now = m_ui.app.clock().now();
    s.printedDate = now.date().toString(QStringLiteral("yyyy-MM-dd"));
    s.printedTime = now.time().toString(QStringLiteral("HH:mm:ss"));
    s.businessName = m_ui.app.business.name;
    return s;
}

void ShiftCloseDialog::sendToReceiptPrinter(const Receipt &r, const QString &title)
{
    const ReceiptPrintResult p = m_output.print(m_ui.app, r, title, 1);
    if (!p.ok)
        m_ui.msg.warn(p.text, p.title);
}

void ShiftCloseDialog::printX()
{
    const ShiftStamp st = shiftStamp(m_ui.app);
    std::optional<ShiftReading> r;
    if (m_reading.shift.fnid > 0) {
        const auto read = guard(m_ui, DbAction::Read, [&] { return readShift(m_ui.app.main, m_reading.shift.fnid, st, m_bounds); });
        if (read && *read)
            r = **read;
    } else {
        const auto read = guard(m_ui, DbAction::Read, [&] { return readShiftOf(m_ui.app.main, st, m_settings, m_bounds); });
        if (read)
            r = *read;
    }
    if (!r)
        return;
    ShiftSlip s = slip();
    s.reading = *r;
    s.count.reset();
    sendToReceiptPrinter(buildShiftSlip(s), shiftSlipTitle(s));
}

void ShiftCloseDialog::printSlip(bool onPaper)
{
    if (m_mode == Mode::Count)
        return;
    const ShiftSlip s = slip();
    const Receipt r = buildShiftSlip(s);
    if (!onPaper) {
        sendToReceiptPrinter(r, shiftSlipTitle(s));
        return;
    }
    const QString error = paperPrinter(r, QStringLiteral("교대마감"));
    if (!error.isEmpty())
        m_ui.msg.warn(QStringLiteral("인쇄하지 못하였습니다.\n(%1)").arg(error), QStringLiteral("인쇄"));
}

} // namespace fitrova
