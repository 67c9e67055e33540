#include "closing/ui/incomereport.h"

#include "data/listitems.h"
#include "data/text.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"
#include "widgets/dateedit.h"
#include "widgets/deskguard.h"
#include "widgets/widgetutil.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>

namespace fitrova {

namespace {

struct IncomeView {
    IncomeSummary summary;
    ReportTable table;
};

QStringList payCells(const Payment &p)
{
    return {wonText(p.cash), wonText(p.card), wonText(p.sum())};
}

ReportTable summaryTable(const IncomeSummary &s)
{
    ReportTable t;
    const auto section = [&t](const QList<IncomeSumLine> &lines, const QString &totalText, const Payment &total) {
        for (const IncomeSumLine &l : lines)
            t.add(QStringList{l.kind, l.name, l.months > 0 ? QString::number(l.months) : QString(), wonText(l.count)}
                  + payCells(l.pay));
        t.addSubtotal(QStringList{totalText, QString(), QString(), QString()} + payCells(total));
    };
    section(s.courses, QStringLiteral("[강좌 수입계]"), s.courseTotal);
    section(s.goods, QStringLiteral("[상품 수입계]"), s.goodsTotal);
    section(s.lockers, QStringLiteral("[사물함 수입계]"), s.lockerTotal);
    t.addTotal(QStringList{QStringLiteral("[수 입 총 계]"), QString(), QString(), QString()} + payCells(s.total));
    return t;
}

QStringList detailSumLine(const QString &title, const Payment &p)
{
    return QStringList{title, QString(), QString(), QString(), QString(), QString(), QString(), QString()} + payCells(p);
}

// The lines as they arrive, each section's sum after its last line (or in
// place of an empty section) and the total after the list: sums of the lines
// listed. The sections come one after the other: courses, goods, lockers.
std::shared_ptr<LineFormat<IncomeDetailLine>> detailFormat()
{
    struct State {
        int section = 0; // the section being listed
        Payment sums[3];
    };
    auto st = std::make_shared<State>();
    const auto closeBefore = [st](ReportTable &t, int section) {
        static const QString titles[] = {QStringLiteral("[강좌 수입계]"), QStringLiteral("[상품 수입계]"),
                                         QStringLiteral("[사물함 수입계]")};
        for (; st->section < section; ++st->section)
            t.addSubtotal(detailSumLine(titles[st->section], st->sums[st->section]));
    };
    auto f = std::make_shared<LineFormat<IncomeDetailLine>>();
    f->line = [st, closeBefore](ReportTable &t, const IncomeDetailLine &l) {
        closeBefore(t, int(l.section));
        const QString count = l.section == IncomeSection::Goods ? wonText(l.qty)
                              : l.months > 0                   ? QString::number(l.months)
                                                               : QString();
        t.add(QStringList{l.kind, l.date, l.mbCode, l.mbName, l.sex, l.name, count, l.period} + payCells(l.pay), l.ltid);
        st->sums[int(l.section)] += l.pay;
    };
    f->end = [st, closeBefore](ReportTable &t) {
        closeBefore(t, 3);
        Payment total = st->sums[0];
        total += st->sums[1];
        total += st->sums[2];
        t.addTotal(detailSumLine(QStringLiteral("[수 입 총 계]"), total));
    };
    return f;
}

} // namespace

QStringList IncomeReport::monthFilterItems()
{
    return {QStringLiteral("모두보기"), QStringLiteral("1 개월"), QStringLiteral("3 개월"), QStringLiteral("6 개월"),
            QStringLiteral("12개월")};
}

IncomeReport::IncomeReport(UiContext &ui, QWidget *parent)
    : ReportScreen(ui, parent, QStringLiteral("강좌수입현황"), QStringLiteral("매출일보/집계표"))
{
    const QDate today = ui.app.clock().today();
    m_from = new DateEdit(today, this);
    m_from->setObjectName(QStringLiteral("Dtp1"));
    m_to = new DateEdit(today, this);
    m_to->setObjectName(QStringLiteral("Dtp2"));
    m_user = reportCombo(this, QStringLiteral("CobUser"), 130);
    m_months = reportCombo(this, QStringLiteral("Cob개월"), 90);
    m_months->addItems(monthFilterItems());
    m_summed = new QRadioButton(QStringLiteral("집계"), this);
    m_summed->setObjectName(QStringLiteral("Opt집계"));
    m_summed->setChecked(true);
    m_lines = new QRadioButton(QStringLiteral("내역별"), this);
    m_lines->setObjectName(QStringLiteral("Opt내역"));
    QGridLayout *g = criteria();
    g->addWidget(caption(this, QStringLiteral("기간")), 0, 0);
    g->addLayout(reportRange(m_from, m_to), 0, 1);
    g->addWidget(caption(this, QStringLiteral("담당자")), 0, 2);
    g->addWidget(m_user, 0, 3);
    g->addWidget(caption(this, QStringLiteral("개월수")), 1, 0);
    g->addLayout(reportRow({m_months, m_summed, m_lines}), 1, 1);
    g->setColumnStretch(4, 1);
    setSortable(false);
    if (const auto items = guard(ui, DbAction::Read, [&] { return userItems(ui.app.main); }))
        fillCombo(m_user, *items);
    connect(grid(), &DataGrid::rowActivated, this, &IncomeReport::showFirstPeriod);
}

bool IncomeReport::itemised() const { return m_lines->isChecked(); }

QString IncomeReport::exportName() const
{
    return itemised() ? QStringLiteral("매출일보(내역별)") : QStringLiteral("매출일보(집계)");
}

bool IncomeReport::startQuery()
{
    IncomeCriteria c;
    c.dateFrom = m_from->dateText();
    c.dateTo = m_to->dateText();
    if (!checkPeriod(c.dateFrom, c.dateTo, m_from))
        return false;
    c.user = chosenCode(m_user);
    static const int months[] = {0, 1, 3, 6, 12};
    c.monthCnt = months[std::clamp(m_months->currentIndex(), 0, 4)];
    const bool lines = itemised();
    if (lines)
        setColumns({QStringLiteral("구분"), QStringLiteral("일자"), QStringLiteral("회원번호"), QStringLiteral("회원명"),
                    QStringLiteral("성별"), QStringLiteral("내역"), QStringLiteral("개월/수량"), QStringLiteral("기간"),
                    QStringLiteral("현금"), QStringLiteral("카드"), QStringLiteral("합계")},
                   {100, 84, 72, 70, 36, 150, 60, 160, 80, 80, 86}, {6, 8, 9, 10}, {4});
    else
        setColumns({QStringLiteral("구분"), QStringLiteral("내역"), QStringLiteral("개월"), QStringLiteral("건수"),
                    QStringLiteral("현금"), QStringLiteral("카드"), QStringLiteral("합계")},
                   {100, 240, 50, 60, 100, 100, 110}, {2, 3, 4, 5, 6});
    if (lines) {
        // A year holds hundreds of thousands of lines: the sums and the first
        // page come at once, the rest as the list scrolls.
        runStream<IncomeDetailLine, IncomeTotals>(
            QStringLiteral("집계중입니다.."), [c](const Db &db) { return incomeTotals(db, c); },
            [c](const Db &db, const IncomeDetailLine *after, int maxLines) {
                return incomeDetailPage(db, c, after, maxLines);
            },
            detailFormat(), [this](IncomeTotals &t) {
                m_totals = t;
                setStatus(QStringLiteral("수입총계 ") + wonText(t.total.sum()) + QStringLiteral(" 원"));
            });
        return true;
    }
    run<IncomeView>(
        QStringLiteral("집계중입니다.."),
        [c](const Db &db) {
            IncomeView v;
            v.summary = incomeSummary(db, c);
            v.table = summaryTable(v.summary);
            return v;
        },
        [this](IncomeView &v) {
            m_summary = std::move(v.summary);
            showTable(v.table);
            setStatus(QStringLiteral("수입총계 ") + wonText(m_summary.total.sum()) + QStringLiteral(" 원"));
        });
    return true;
}

void IncomeReport::showFirstPeriod(int row)
{
    const qint64 ltid = grid()->rowKey(row).toLongLong();
    if (!itemised() || ltid <= 0)
        return;
    if (const auto period = guard(ui(), DbAction::Read, [&] { return lectureFirstPeriod(ui().app.main, ltid); }))
        ui().msg.info(QStringLiteral("최초 수강기간 : ") + *period, QStringLiteral("수강기간"));
}

ReportPrint IncomeReport::printSpec() const
{
    ReportPrint p;
    p.title = exportName();
    p.line2 = QStringLiteral("( ") + m_from->dateText() + QStringLiteral(" ~ ") + m_to->dateText() + QStringLiteral(" )");
    p.line3 = QStringLiteral("담당자 : ") + chosenLabel(m_user);
    if (m_months->currentIndex() > 0)
        p.line3 += QStringLiteral("   개월수 : ") + m_months->currentText();
    p.landscape = itemised();
    return p;
}

} // namespace fitrova
