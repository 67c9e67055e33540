#include "sales/ui/salesreportsstatus.h"

#include "closing/closingsettings.h"
#include "data/listitems.h"
#include "data/text.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"
#include "widgets/dateedit.h"
#include "widgets/deskguard.h"
#include "widgets/widgetutil.h"

#include <QLabel>
#include <QComboBox>
#include <QGridLayout>
#include <QLineEdit>

namespace fitrova {

QLineEdit *reportTimeInput(QWidget *parent, const QString &objectName, const QString &text)
{
    auto *e = new QLineEdit(text, parent);
    e->setObjectName(objectName);
    e->setMaxLength(8);
    e->setFixedWidth(72);
    e->setAlignment(Qt::AlignCenter);
    QObject::connect(e, &QLineEdit::editingFinished, e, [e] {
        const QString t = normalizeTime(e->text());
        if (!t.isEmpty())
            e->setText(t);
    });
    return e;
}

bool selectCodeItem(QComboBox *combo, const QString &code)
{
    const QString prefix = code.trimmed() + QLatin1Char('-');
    for (int i = 0; i < combo->count(); ++i)
        if (combo->itemText(i).startsWith(prefix)) {
            combo->setCurrentIndex(i);
            return true;
        }
    return false;
}

namespace {

QString amountOrBlank(qint64 v) { return v == 0 ? QString() : wonText(v); }

struct StatusView {
    ReportTable table;
    QString status;
};

ReportTable linesTable(const QList<SaleLineRow> &lines)
{
    ReportTable t;
    qint64 qty = 0, amount = 0, discount = 0, cash = 0, card = 0;
    for (const SaleLineRow &l : lines) {
        const bool first = l.seq == 1 || l.cash != 0 || l.card != 0;
        t.add({l.slDate, l.user + QLatin1Char('-') + l.slNo, l.userName.isEmpty() ? l.user : l.userName, l.time,
               l.itName.isEmpty() ? l.itCode : l.itName, wonText(l.qty), wonText(l.cost), wonText(l.amount),
               amountOrBlank(l.discount), first ? wonText(l.cash) : QString(), first ? wonText(l.card) : QString(),
               first ? wonText(l.total) : QString(), first ? l.cardName : QString(),
               l.reprint ? QStringLiteral("재발행") : QString()},
              l.slId);
        qty += l.qty;
        amount += l.amount;
        discount += l.discount;
        cash += l.cash;
        card += l.card;
    }
    t.addTotal({QStringLiteral("[ 합  계 ]"), QString(), QString(), QString(), QString(), wonText(qty), QString(),
                wonText(amount), amountOrBlank(discount), wonText(cash), wonText(card), wonText(cash + card), QString(),
                QString()});
    return t;
}

ReportTable itemsTable(const QList<ItemSummaryRow> &rows)
{
    ReportTable t;
    for (const SummaryLine &s : summaryWithTotals(rows)) {
        const ItemSummaryRow &r = s.row;
        const QStringList amounts{wonText(r.qty),   wonText(r.cash1), wonText(r.card1), wonText(r.cash2),
                                  wonText(r.card2), wonText(r.cash()), wonText(r.card()), wonText(r.total())};
        switch (s.kind) {
        case SummaryLine::Kind::Item:
            t.add(QStringList{r.courseName.isEmpty() ? r.course : r.courseName, r.itCode, r.itName} + amounts);
            break;
        case SummaryLine::Kind::ClassTotal:
            t.addSubtotal(QStringList{r.courseName.isEmpty() ? r.course : r.courseName, QStringLiteral("[상품항목계]"),
                                      QString()}
                          + amounts);
            break;
        case SummaryLine::Kind::Total:
            t.addTotal(QStringList{QStringLiteral("[총 합 계]"), QString(), QString()} + amounts);
            break;
        }
    }
    return t;
}

ReportTable daysTable(const QList<DailySalesRow> &rows)
{
    ReportTable t;
    DailySalesRow sum;
    for (const DailySalesRow &d : rows) {
        t.add({d.date, wonText(d.vouchers), wonText(d.qty), wonText(d.cash), wonText(d.card), wonText(d.total())});
        sum.vouchers += d.vouchers;
        sum.qty += d.qty;
        sum.cash += d.cash;
        sum.card += d.card;
    }
    t.addTotal({QStringLiteral("[ 합  계 ]"), wonText(sum.vouchers), wonText(sum.qty), wonText(sum.cash),
                wonText(sum.card), wonText(sum.total())});
    return t;
}

} // namespace

SalesStatusReport::SalesStatusReport(UiContext &ui, QWidget *parent)
    : ReportScreen(ui, parent, QStringLiteral("상품판매현황"), QStringLiteral("상품판매현황"))
{
    const auto settings = guard(ui, DbAction::Read, [&] { return loadClosingSettings(ui.app.main); });
    const TimeWindow day = businessDayAt(settings.value_or(ClosingSettings{}), ui.app.clock().now());
    m_from = new DateEdit(QDate::fromString(day.fromDate, Qt::ISODate), this);
    m_from->setObjectName(QStringLiteral("TxtSdate1"));
    m_to = new DateEdit(QDate::fromString(day.toDate, Qt::ISODate), this);
    m_to->setObjectName(QStringLiteral("TxtSdate2"));
    m_time1 = reportTimeInput(this, QStringLiteral("TxtTime1"), day.fromTime);
    m_time2 = reportTimeInput(this, QStringLiteral("TxtTime2"), day.toTime);
    m_user = reportCombo(this, QStringLiteral("CobUser"), 130);
    if (const auto users = guard(ui, DbAction::Read, [&] { return userItems(ui.app.main); }))
        fillCombo(m_user, *users);
    m_view = reportCombo(this, QStringLiteral("Cob구분"), 130);
    m_view->addItems({QStringLiteral("1.판매내역"), QStringLiteral("2.상품별집계"), QStringLiteral("3.일자별(일보)")});

    QGridLayout *g = criteria();
    g->addWidget(caption(this, QStringLiteral("판매일자")), 0, 0);
    g->addLayout(reportRow({m_from, m_time1, caption(this, QStringLiteral("~")), m_to, m_time2}), 0, 1);
    g->addWidget(caption(this, QStringLiteral("담당자")), 0, 2);
    g->addWidget(m_user, 0, 3);
    g->addWidget(caption(this, QStringLiteral("구분")), 0, 4);
    g->addWidget(m_view, 0, 5);
    g->setColumnStretch(6, 1);
    connect(m_view, &QComboBox::currentIndexChanged, this, &SalesStatusReport::viewChanged);
    viewChanged();
}

void SalesStatusReport::setView(View v) { m_view->setCurrentIndex(int(v)); }

SalesStatusReport::View SalesStatusReport::view() const { return View(m_view->currentIndex()); }

void SalesStatusReport::viewChanged()
{
    grid()->clearRows();
    switch (view()) {
    case View::Lines:
        setColumns({QStringLiteral("판매일자"), QStringLiteral("전표번호"), QStringLiteral("담당자"), QStringLiteral("시간"),
                    QStringLiteral("품명"), QStringLiteral("수량"), QStringLiteral("단가"), QStringLiteral("금액"),
                    QStringLiteral("할인"), QStringLiteral("현금"), QStringLiteral("카드"), QStringLiteral("합계"),
                    QStringLiteral("카드사"), QStringLiteral("재발행")},
                   {78, 66, 60, 60, 150, 40, 64, 72, 56, 72, 72, 76, 70, 48}, {5, 6, 7, 8, 9, 10, 11}, {3, 13});
        break;
    case View::Items:
        setColumns({QStringLiteral("상품항목"), QStringLiteral("코드"), QStringLiteral("품명"), QStringLiteral("수량"),
                    QStringLiteral("현금"), QStringLiteral("카드"), QStringLiteral("혼합현금"), QStringLiteral("혼합카드"),
                    QStringLiteral("현금계"), QStringLiteral("카드계"), QStringLiteral("합계")},
                   {100, 70, 160, 50, 80, 80, 80, 80, 84, 84, 90}, {3, 4, 5, 6, 7, 8, 9, 10});
        break;
    case View::Days:
        setColumns({QStringLiteral("판매일자"), QStringLiteral("전표수"), QStringLiteral("수량"), QStringLiteral("현금"),
                    QStringLiteral("카드"), QStringLiteral("합계")},
                   {90, 70, 70, 100, 100, 110}, {1, 2, 3, 4, 5});
        break;
    }
    setSortable(false);
}

std::optional<TimeWindow> SalesStatusReport::window()
{
    const QString t1 = normalizeTime(m_time1->text()), t2 = normalizeTime(m_time2->text());
    if (t1.isEmpty() || t2.isEmpty()) {
        ui().msg.warn(QStringLiteral("시간을 확인하여 주십시요.(예: 06:00)"), windowTitle());
        (t1.isEmpty() ? m_time1 : m_time2)->setFocus();
        return std::nullopt;
    }
    m_time1->setText(t1);
    m_time2->setText(t2);
    const TimeWindow w{m_from->dateText(), t1, m_to->dateText(), t2};
    if (!checkPeriod(w.from(), w.to(), m_from))
        return std::nullopt;
    return w;
}

bool SalesStatusReport::startQuery()
{
    const auto w = window();
    if (!w)
        return false;
    SalesStatusCriteria c;
    c.window = *w;
    c.user = chosenCode(m_user);
    const View v = view();
    run<StatusView>(
        QStringLiteral("집계중입니다.."),
        [c, v](const Db &db) {
            StatusView out;
            switch (v) {
            case View::Lines: {
                const auto lines = salesLines(db, c);
                out.table = linesTable(lines);
                out.status = QStringLiteral("%1 건").arg(wonText(lines.size()));
                break;
            }
            case View::Items: {
                const auto rows = itemSummary(db, c);
                out.table = itemsTable(rows);
                out.status = QStringLiteral("%1 품목").arg(wonText(rows.size()));
                break;
            }
            case View::Days: {
                const auto rows = dailySales(db, c);
                out.table = daysTable(rows);
                out.status = QStringLiteral("%1 일").arg(wonText(rows.size()));
                break;
            }
            }
            return out;
        },
        [this](StatusView &v) {
            showTable(v.table);
            setStatus(v.status);
        });
    return true;
}

ReportPrint SalesStatusReport::printSpec() const
{
    ReportPrint p;
    switch (view()) {
    case View::Lines: p.title = QStringLiteral("상품판매현황"); break;
    case View::Items: p.title = QStringLiteral("상품판매현황(집계)"); break;
    case View::Days: p.title = QStringLiteral("상품판매일보"); break;
    }
    p.line2 = QStringLiteral("(%1 %2 ~ %3 %4)").arg(m_from->dateText(), m_time1->text(), m_to->dateText(), m_time2->text());
    p.line3 = QStringLiteral("담당자 : ") + chosenLabel(m_user);
    return p;
}

QString SalesStatusReport::exportName() const { return printSpec().title; }

} // namespace fitrova
