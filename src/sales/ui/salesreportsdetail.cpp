#include "sales/ui/salesreportsdetail.h"

#include "closing/closing.h"
#include "closing/closingsettings.h"
#include "data/listitems.h"
#include "data/text.h"
#include "sales/ui/salesreportscardpick.h"
#include "sales/ui/salesreportsstatus.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"
#include "widgets/dateedit.h"
#include "widgets/deskguard.h"
#include "widgets/moneyedit.h"
#include "widgets/widgetutil.h"

#include <QLabel>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace fitrova {

namespace {

QStringList detailCells(const TakingsLine &l)
{
    const bool goods = l.kind == TakingsKind::Goods;
    // A voucher's payment stands on its first line.
    const bool pay = !goods || l.firstLine;
    QString marks;
    if (l.reprint)
        marks += QStringLiteral("재발행 ");
    if (l.cashReceipt)
        marks += QStringLiteral("현금영수증");
    return {l.kindText, l.date, l.time, l.userName.isEmpty() ? l.user : l.userName,
            goods ? l.voucher : l.mbCode, l.mbName, l.courseName.isEmpty() ? l.course : l.courseName, l.name,
            goods ? wonText(l.qty) : QString(), goods ? wonText(l.amount) : QString(), pay ? wonText(l.cash) : QString(),
            pay ? wonText(l.card) : QString(), pay ? wonText(l.total()) : QString(),
            pay ? (l.cardName.isEmpty() ? l.cardCo : l.cardName) : QString(), l.closingDate, marks.trimmed()};
}

QStringList totalCells(const TakingsHead &h)
{
    return {QStringLiteral("[ 합  계 ]"), QString(), QString(), QString(), QStringLiteral("%1 건").arg(wonText(h.total.count)),
            QString(), QString(), QString(), wonText(h.goodsQty), wonText(h.goodsAmount), wonText(h.total.cash),
            wonText(h.total.card), wonText(h.total.total()), QString(), QString(), QString()};
}

} // namespace

DetailedTakingsReport::DetailedTakingsReport(UiContext &ui, QWidget *parent)
    : ReportScreen(ui, parent, QStringLiteral("상품판매현황1"), QStringLiteral("상품판매현황(상세)"))
{
    const QDate today = ui.app.clock().today();
    m_bySale = new QRadioButton(QStringLiteral("판매일자"), this);
    m_bySale->setObjectName(QStringLiteral("Opt일자0"));
    m_byClosing = new QRadioButton(QStringLiteral("마감일자"), this);
    m_byClosing->setObjectName(QStringLiteral("Opt일자1"));
    auto *opt = new QButtonGroup(this);
    opt->addButton(m_bySale);
    opt->addButton(m_byClosing);
    m_bySale->setChecked(true);
    m_from = new DateEdit(today, this);
    m_from->setObjectName(QStringLiteral("TxtSdate1"));
    m_to = new DateEdit(today, this);
    m_to->setObjectName(QStringLiteral("TxtSdate2"));
    m_time1 = reportTimeInput(this, QStringLiteral("TxtTime1"), QStringLiteral("00:00:00"));
    m_time2 = reportTimeInput(this, QStringLiteral("TxtTime2"), QStringLiteral("23:59:59"));
    m_fFrom = new DateEdit(today, this);
    m_fFrom->setObjectName(QStringLiteral("TxtFdate1"));
    m_fTo = new DateEdit(today, this);
    m_fTo->setObjectName(QStringLiteral("TxtFdate2"));
    m_course = reportCombo(this, QStringLiteral("CobCourse"), 120);
    if (const auto items = guard(ui, DbAction::Read, [&] { return courseItems(ui.app.main, QStringLiteral("S"), true); }))
        fillCombo(m_course, *items);
    m_user = reportCombo(this, QStringLiteral("CobUser"), 120);
    if (const auto users = guard(ui, DbAction::Read, [&] { return userItems(ui.app.main); }))
        fillCombo(m_user, *users);
    m_kind = reportCombo(this, QStringLiteral("Cob결재"), 100);
    m_kind->addItems({QStringLiteral("0.모두보기"), QStringLiteral("1.현금"), QStringLiteral("2.카드"), QStringLiteral("3.현금+카드")});
    m_order = reportCombo(this, QStringLiteral("Cob정렬"), 120);
    m_order->addItems({QStringLiteral("1.항목+발생순"), QStringLiteral("2.담당자+발생순")});
    m_reprint = new QCheckBox(QStringLiteral("재발행만"), this);
    m_reprint->setObjectName(QStringLiteral("Chk재발행"));
    m_cashReceipt = new QCheckBox(QStringLiteral("현금영수증만"), this);
    m_cashReceipt->setObjectName(QStringLiteral("Chk현금영수증"));

    QGridLayout *g = criteria();
    g->addWidget(m_bySale, 0, 0);
    g->addLayout(reportRow({m_from, m_time1, caption(this, QStringLiteral("~")), m_to, m_time2}), 0, 1);
    g->addWidget(caption(this, QStringLiteral("상품항목")), 0, 2);
    g->addWidget(m_course, 0, 3);
    g->addWidget(caption(this, QStringLiteral("담당자")), 0, 4);
    g->addWidget(m_user, 0, 5);
    g->addWidget(m_byClosing, 1, 0);
    g->addLayout(reportRow({m_fFrom, caption(this, QStringLiteral("~")), m_fTo}), 1, 1);
    g->addWidget(caption(this, QStringLiteral("결재구분")), 1, 2);
    g->addWidget(m_kind, 1, 3);
    g->addWidget(caption(this, QStringLiteral("정렬")), 1, 4);
    g->addWidget(m_order, 1, 5);
    g->addLayout(reportRow({m_reprint, m_cashReceipt}), 1, 6);
    g->setColumnStretch(7, 1);

    setColumns({QStringLiteral("구분"), QStringLiteral("일자"), QStringLiteral("시간"), QStringLiteral("담당자"),
                QStringLiteral("전표/회원"), QStringLiteral("회원명"), QStringLiteral("항목"), QStringLiteral("품명"),
                QStringLiteral("수량"), QStringLiteral("금액"), QStringLiteral("현금"), QStringLiteral("카드"),
                QStringLiteral("합계"), QStringLiteral("카드사"), QStringLiteral("마감일자"), QStringLiteral("비고")},
               {70, 84, 64, 60, 84, 60, 70, 150, 40, 70, 72, 72, 78, 60, 84, 80}, {8, 9, 10, 11, 12}, {0, 2, 14});
    setSortable(false);
    setNote(QStringLiteral("상품 자료의 현금/카드를 더블클릭하면 결재금액을, 카드사를 더블클릭하면 카드사를 수정합니다. "
                           "Delete 키는 상품 자료를 삭제합니다."));

    askPayment = [this](qint64 &cash, qint64 &card) {
        QDialog d(this);
        d.setObjectName(QStringLiteral("결재금액수정"));
        d.setWindowTitle(QStringLiteral("결재금액 수정"));
        auto *c1 = new MoneyEdit(&d, QStringLiteral("TxtCashAmt"), QStringLiteral("현금"));
        auto *c2 = new MoneyEdit(&d, QStringLiteral("TxtCardAmt"), QStringLiteral("카드"));
        c1->setAmount(cash);
        c2->setAmount(card);
        auto *form = new QFormLayout(&d);
        form->addRow(QStringLiteral("현금"), c1);
        form->addRow(QStringLiteral("카드"), c2);
        auto *box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &d);
        box->button(QDialogButtonBox::Ok)->setText(QStringLiteral("확인"));
        box->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("취소"));
        form->addRow(box);
        connect(box, &QDialogButtonBox::accepted, &d, [&] {
            if (checkNumberFields(&d, this->ui().msg))
                d.accept();
        });
        connect(box, &QDialogButtonBox::rejected, &d, &QDialog::reject);
        installEnterAsTab(&d);
        if (d.exec() != QDialog::Accepted)
            return false;
        cash = c1->amount();
        card = c2->amount();
        return true;
    };
    askCardCompany = [this]() -> QString {
        CardCompanyPick pick(this->ui(), this);
        pick.exec();
        return pick.code;
    };

    connect(m_bySale, &QRadioButton::toggled, this, &DetailedTakingsReport::modeChanged);
    connect(grid(), &DataGrid::rowActivated, this, [this](int row) {
        const int col = grid()->currentColumn();
        if (col == ColCardCo)
            correctCardCompany(row);
        else if (col == ColCash || col == ColCard)
            correctPayment(row);
    });
    connect(grid(), &DataGrid::deleteRequested, this, &DetailedTakingsReport::deleteLine);
    modeChanged();
}

void DetailedTakingsReport::modeChanged()
{
    const bool bySale = m_bySale->isChecked();
    for (QWidget *w : std::initializer_list<QWidget *>{m_from, m_to, m_time1, m_time2})
        w->setEnabled(bySale);
    m_fFrom->setEnabled(!bySale);
    m_fTo->setEnabled(!bySale);
}

void DetailedTakingsReport::applyScreenArgs(const ScreenArgs &args)
{
    const QString fDate = args.value(QStringLiteral("uFdate")).toString();
    const QString user = args.value(QStringLiteral("uUserCode")).toString();
    const bool daily = args.value(QStringLiteral("uGubun")).toString() == QLatin1String("일일마감");
    if (!user.isEmpty())
        selectCodeItem(m_user, user);
    else
        m_user->setCurrentIndex(0);
    // A day closed is shown by its closing date; a shift by its window.
    if (daily && !fDate.isEmpty()) {
        m_byClosing->setChecked(true);
        m_fFrom->setDateText(fDate);
        m_fTo->setDateText(fDate);
    } else {
        m_bySale->setChecked(true);
        m_from->setDateText(args.value(QStringLiteral("uSdate1")).toString());
        m_time1->setText(args.value(QStringLiteral("uTime1")).toString());
        m_to->setDateText(args.value(QStringLiteral("uSdate2")).toString());
        m_time2->setText(args.value(QStringLiteral("uTime2")).toString());
    }
    query();
}

std::optional<DetailedTakingsCriteria> DetailedTakingsReport::readCriteria()
{
    DetailedTakingsCriteria c;
    c.byClosingDate = m_byClosing->isChecked();
    if (c.byClosingDate) {
        c.fromDate = m_fFrom->dateText();
        c.toDate = m_fTo->dateText();
        if (!checkPeriod(c.fromDate, c.toDate, m_fFrom))
            return std::nullopt;
    } else {
        const QString t1 = normalizeTime(m_time1->text()), t2 = normalizeTime(m_time2->text());
        if (t1.isEmpty() || t2.isEmpty()) {
            ui().msg.warn(QStringLiteral("시간을 확인하여 주십시요.(예: 06:00)"), windowTitle());
            (t1.isEmpty() ? m_time1 : m_time2)->setFocus();
            return std::nullopt;
        }
        m_time1->setText(t1);
        m_time2->setText(t2);
        c.window = TimeWindow{m_from->dateText(), t1, m_to->dateText(), t2};
        if (!checkPeriod(c.window.from(), c.window.to(), m_from))
            return std::nullopt;
    }
    c.course = chosenCode(m_course);
    c.user = chosenCode(m_user);
    c.payKind = PayKind(m_kind->currentIndex());
    c.order = m_order->currentIndex() == 1 ? TakingsOrder::UserThenTime : TakingsOrder::ItemThenTime;
    c.reprintOnly = m_reprint->isChecked();
    c.cashReceiptOnly = m_cashReceipt->isChecked();
    return c;
}

bool DetailedTakingsReport::startQuery()
{
    const auto c = readCriteria();
    if (!c)
        return false;
    // A month holds tens of thousands of lines: the count, the totals and the
    // first page come at once, the rest as the list scrolls. The totals are
    // the database's sums over every line, whether read yet or not.
    auto lines = std::make_shared<QList<TakingsLine>>();
    auto head = std::make_shared<TakingsHead>();
    auto format = std::make_shared<LineFormat<TakingsLine>>();
    format->line = [lines](ReportTable &t, const TakingsLine &l) {
        t.add(detailCells(l), int(lines->size()));
        lines->append(l);
    };
    format->end = [head](ReportTable &t) { t.addTotal(totalCells(*head)); };
    runStream<TakingsLine, TakingsHead>(
        QStringLiteral("자료를 준비중입니다.."),
        [c = *c, head](const Db &db) {
            *head = detailedTakingsHead(db, c);
            return *head;
        },
        [c = *c](const Db &db, const TakingsLine *after, int maxLines) { return detailedTakingsPage(db, c, after, maxLines); },
        format,
        [this, c = *c, lines, head](TakingsHead &h) {
            m_lines = lines;
            m_head = head;
            m_shown = c;
            setStatus(QStringLiteral("%1 건").arg(wonText(h.total.count)));
        });
    return true;
}

const QList<TakingsLine> &DetailedTakingsReport::lines() const
{
    static const QList<TakingsLine> none;
    return m_lines ? *m_lines : none;
}

const TakingsLine *DetailedTakingsReport::lineAt(int row) const
{
    if (row < 0 || row >= grid()->rowCount() || !m_lines)
        return nullptr;
    const QVariant key = grid()->rowKey(row);
    if (!key.isValid() || key.isNull())
        return nullptr;
    const int i = key.toInt();
    return i >= 0 && i < m_lines->size() ? &m_lines->at(i) : nullptr;
}

void DetailedTakingsReport::refreshVoucher(const TakingsLine &changed, qint64 removedId)
{
    if (!m_shown || !m_lines || !m_head || m_shown->payKind != PayKind::All) {
        query();
        return;
    }
    const auto fresh = guard(ui(), DbAction::Read, [&] { return voucherTakingsLines(ui().app.main, changed); });
    if (!fresh)
        return;
    const auto head = guard(ui(), DbAction::Read, [&] { return detailedTakingsHead(ui().app.main, *m_shown); });
    if (!head)
        return;
    DataGrid *g = grid();
    const auto setCells = [g](int row, const QStringList &cells) {
        for (int col = 0; col < cells.size(); ++col)
            g->setCell(row, col, cells[col]);
    };
    for (int row = g->rowCount() - 1; row >= 0; --row) {
        const TakingsLine *l = lineAt(row);
        if (!l || l->kind != TakingsKind::Goods || l->date != changed.date || l->user != changed.user
            || l->slNo != changed.slNo)
            continue;
        const qint64 id = l->id;
        const auto now = std::find_if(fresh->begin(), fresh->end(), [id](const TakingsLine &f) { return f.id == id; });
        if (id == removedId || now == fresh->end()) {
            // The rows after it move up one place in the lines read (before
            // the row goes: the grid may read further lines as it does).
            const int index = g->rowKey(row).toInt();
            for (int r = row + 1; r < g->rowCount(); ++r) {
                const QVariant key = g->rowKey(r);
                if (key.isValid() && !key.isNull())
                    g->setRowKey(r, key.toInt() - 1);
            }
            m_lines->removeAt(index);
            g->removeRow(row);
            continue;
        }
        (*m_lines)[grid()->rowKey(row).toInt()] = *now;
        setCells(row, detailCells(*now));
    }
    *m_head = *head;
    const int last = g->rowCount() - 1;
    if (last >= 0 && g->isTotalRow(last))
        setCells(last, totalCells(*head));
    setStatus(QStringLiteral("%1 건").arg(wonText(head->total.count)));
}

bool DetailedTakingsReport::goodsLineOnly(const TakingsLine *l, const QString &text, const QString &title)
{
    if (!l)
        return false;
    if (l->kind != TakingsKind::Goods) {
        ui().msg.warn(text, title);
        return false;
    }
    return true;
}

bool DetailedTakingsReport::correctPayment(int row)
{
    const TakingsLine *l = lineAt(row);
    if (!goodsLineOnly(l, QStringLiteral("상품판매 자료만 수정할수 있읍니다"), paymentCorrectionTitle()))
        return false;
    const TakingsLine line = *l;
    // The payment stands on the voucher's first line, which the grid may not
    // have read yet: the voucher is read as it stands now.
    const auto voucher = guard(ui(), DbAction::Read, [&] { return voucherTakingsLines(ui().app.main, line); });
    if (!voucher)
        return false;
    const auto pay = std::find_if(voucher->begin(), voucher->end(), [](const TakingsLine &o) { return o.firstLine; });
    const TakingsLine &payLine = pay != voucher->end() ? *pay : line;
    const qint64 slId = payLine.id;
    qint64 cash = payLine.cash, card = payLine.card;
    if (!askPayment(cash, card))
        return false;
    if (!ui().msg.ask(QStringLiteral("현금액과 카드금액을 수정하시겠읍니까?"), QStringLiteral("결재금액 수정")))
        return false;
    const auto o = guard(ui(), DbAction::Update, [&] { return correctSalePayment(ui().app.main, slId, cash, card); });
    if (!o || !showOutcome(ui(), *o))
        return false;
    refreshVoucher(line);
    return true;
}

bool DetailedTakingsReport::correctCardCompany(int row)
{
    const TakingsLine *l = lineAt(row);
    if (!goodsLineOnly(l, QStringLiteral("상품판매 자료만 수정할수 있읍니다"), cardCorrectionTitle()))
        return false;
    if (l->shiftClosed) {
        ui().msg.warn(QStringLiteral("교대마감된 자료는 수정할수 없읍니다"), cardCorrectionTitle());
        return false;
    }
    const TakingsLine line = *l;
    const QString code = askCardCompany();
    if (code.isEmpty())
        return false;
    const auto o = guard(ui(), DbAction::Update, [&] { return correctSaleCardCompany(ui().app.main, line.id, code); });
    if (!o || !showOutcome(ui(), *o))
        return false;
    refreshVoucher(line);
    return true;
}

bool DetailedTakingsReport::deleteLine(int row)
{
    const TakingsLine *l = lineAt(row);
    if (!l)
        return false;
    const bool may = mayDeleteTakings(ui().app.user.grCode);
    if (!may) {
        ui().msg.warn(QStringLiteral("삭제권한이 없읍니다"), saleDeleteTitle());
        return false;
    }
    if (!goodsLineOnly(l, QStringLiteral("상품판매 자료만 삭제할수 있읍니다"), saleDeleteTitle()))
        return false;
    const TakingsLine line = *l;
    grid()->setCurrentRow(row);
    if (!ui().msg.ask(QStringLiteral("현제 선택한 자료를 삭제하시겠읍니까?"), QStringLiteral("자료삭제")))
        return false;
    const auto o = guard(ui(), DbAction::Delete, [&] { return deleteSaleLine(ui().app.main, line.id, may); });
    if (!o || !showOutcome(ui(), *o))
        return false;
    refreshVoucher(line, line.id);
    return true;
}

ReportPrint DetailedTakingsReport::printSpec() const
{
    ReportPrint p;
    p.title = QStringLiteral("상품판매현황(상세)");
    p.line2 = m_byClosing->isChecked()
        ? QStringLiteral("마감일자 : (%1 ~ %2)").arg(m_fFrom->dateText(), m_fTo->dateText())
        : QStringLiteral("판매일자 : (%1 %2 ~ %3 %4)").arg(m_from->dateText(), m_time1->text(), m_to->dateText(), m_time2->text());
    p.line3 = QStringLiteral("상품항목 : ") + chosenLabel(m_course) + QStringLiteral("  담당자 : ") + chosenLabel(m_user);
    if (m_kind->currentIndex() > 0)
        p.line3 += QStringLiteral("  결재구분 : ") + m_kind->currentText();
    return p;
}

} // namespace fitrova
