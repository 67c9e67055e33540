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
    IncomeDetail detail;
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

ReportTable detailTable(const IncomeDetail &d)
{
    ReportTable t;
    const auto section = [&t](const QList<IncomeDetailLine> &lines, const QString &totalText, const Payment &total) {
        for (const IncomeDetailLine &l : lines) {
            const QString count = l.section == IncomeSection::Goods ? wonText(l.qty)
                                  : l.months > 0                   ? QString::number(l.months)
                                                                   : QString();
            t.add(QStringList{l.kind, l.date, l.mbCode, l.mbName, l.sex, l.name, count, l.period} + payCells(l.pay),
                  l.ltid);
        }
        t.addSubtotal(QStringList{totalText, QString(), QString(), QString(), QString(), QString(), QString(), QString()}
                      + payCells(total));
    };
    section(d.courses, QStringLiteral("[강좌 수입계]"), d.courseTotal);
    section(d.goods, QStringLiteral("[상품 수입계]"), d.goodsTotal);
    section(d.lockers, QStringLiteral("[사물함 수입계]"), d.lockerTotal);
    t.addTotal(QStringList{QStringLiteral("[수 입 총 계]"), QString(), QString(), QString(), QString(), QString(), QString(),
                           QString()}
               + payCells(d.total));
    return t;
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
                   {60, 84, 72, 70, 36, 190, 60, 160, 80, 80, 86}, {6, 8, 9, 10}, {4});
    else
        setColumns({QStringLiteral("구분"), QStringLiteral("내역"), QStringLiteral("개월"), QStringLiteral("건수"),
                    QStringLiteral("현금"), QStringLiteral("카드"), QStringLiteral("합계")},
                   {100, 240, 50, 60, 100, 100, 110}, {2, 3, 4, 5, 6});
    run<IncomeView>(
        QStringLiteral("집계중입니다.."),
        [c, lines](const Db &db) {
            IncomeView v;
            if (lines) {
                v.detail = incomeDetail(db, c);
                v.table = detailTable(v.detail);
            } else {
                v.summary = incomeSummary(db, c);
                v.table = summaryTable(v.summary);
            }
            return v;
        },
        [this](IncomeView &v) {
            m_summary = std::move(v.summary);
            m_detail = std::move(v.detail);
            showTable(v.table);
            const Payment total = itemised() ? m_detail.total : m_summary.total;
            setStatus(QStringLiteral("수입총계 ") + wonText(total.sum()) + QStringLiteral(" 원"));
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
