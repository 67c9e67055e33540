#include "sales/ui/salesreportsgraph.h"

#include "data/listitems.h"
#include "data/text.h"
#include "widgets/chartseries.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"
#include "widgets/deskguard.h"
#include "widgets/widgetutil.h"

#include <QLabel>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QGridLayout>
#include <QLineSeries>
#include <QRadioButton>
#include <QSpinBox>
#include <QValueAxis>

namespace fitrova {

namespace {

struct GraphView {
    SalesGraph graph;
    ReportTable table;
};

QList<qint64> totalsOf(const SalesGraph &g)
{
    QList<qint64> t(g.periods.size(), 0);
    for (const GraphSeries &s : g.series)
        for (int i = 0; i < s.values.size() && i < t.size(); ++i)
            t[i] += s.values[i];
    return t;
}

ReportTable graphTable(const SalesGraph &g)
{
    ReportTable t;
    const QList<qint64> totals = totalsOf(g);
    for (int i = 0; i < g.periods.size(); ++i) {
        QStringList cells{g.periods[i]};
        for (const GraphSeries &s : g.series)
            cells << wonText(s.values.value(i));
        cells << wonText(totals[i]);
        t.add(cells);
    }
    QStringList sum{QStringLiteral("합계")};
    qint64 all = 0;
    for (const GraphSeries &s : g.series) {
        qint64 v = 0;
        for (qint64 x : s.values)
            v += x;
        sum << wonText(v);
        all += v;
    }
    sum << wonText(all);
    t.addTotal(sum);
    return t;
}

} // namespace

SalesGraphReport::SalesGraphReport(UiContext &ui, QWidget *parent)
    : ReportScreen(ui, parent, QStringLiteral("판매분석그래프"), QStringLiteral("판매현황 그래프"))
{
    const QDate today = ui.app.clock().today();
    m_source = reportCombo(this, QStringLiteral("Cob자료"), 110);
    m_source->addItems({QStringLiteral("1-회원강좌"), QStringLiteral("2-상품판매")});
    m_value = reportCombo(this, QStringLiteral("Cob금액"), 80);
    m_value->addItems({QStringLiteral("1-금액"), QStringLiteral("2-건수")});
    m_period = reportCombo(this, QStringLiteral("CobGubun"), 110);
    m_period->addItems({QStringLiteral("1-일별 (월)"), QStringLiteral("2-월별 (년도)")});
    m_year = new QSpinBox(this);
    m_year->setObjectName(QStringLiteral("TxtYear"));
    m_year->setRange(2000, 2099);
    m_year->setValue(today.year());
    m_month = reportCombo(this, QStringLiteral("CobMonth"), 56);
    for (int m = 1; m <= 12; ++m)
        m_month->addItem(QStringLiteral("%1").arg(m, 2, 10, QLatin1Char('0')));
    m_month->setCurrentIndex(today.month() - 1);
    m_course = reportCombo(this, QStringLiteral("CobCour"), 120);
    m_style = reportCombo(this, QStringLiteral("CobStyle"), 100);
    m_style->addItems({QStringLiteral("1-2D Bar"), QStringLiteral("2-3D Bar"), QStringLiteral("3-2D Line"),
                       QStringLiteral("4-3D Line"), QStringLiteral("5-3D Step")});
    m_each = new QRadioButton(QStringLiteral("개별"), this);
    m_each->setObjectName(QStringLiteral("Opt개별"));
    m_each->setChecked(true);
    m_sum = new QRadioButton(QStringLiteral("합계"), this);
    m_sum->setObjectName(QStringLiteral("Opt합계"));

    QGridLayout *g = criteria();
    g->addWidget(caption(this, QStringLiteral("자료")), 0, 0);
    g->addLayout(reportRow({m_source, m_value, m_course}), 0, 1);
    g->addWidget(caption(this, QStringLiteral("기간")), 0, 2);
    g->addLayout(reportRow({m_period, m_year, m_month}), 0, 3);
    g->addWidget(caption(this, QStringLiteral("그래프")), 1, 0);
    g->addLayout(reportRow({m_style, m_each, m_sum, caption(this, QStringLiteral("단위:천원"))}), 1, 1);
    g->setColumnStretch(4, 1);

    enableChart(Qt::Horizontal);
    setSortable(false);
    setColumns({QStringLiteral("구분"), QStringLiteral("합계")}, {50, 90}, {1});
    sourceChanged();
    connect(m_source, &QComboBox::currentIndexChanged, this, &SalesGraphReport::sourceChanged);
    connect(m_period, &QComboBox::currentIndexChanged, this,
            [this] { m_month->setEnabled(m_period->currentIndex() == 0); });
    connect(m_style, &QComboBox::currentIndexChanged, this, &SalesGraphReport::draw);
    connect(m_each, &QRadioButton::toggled, this, &SalesGraphReport::draw);
}

void SalesGraphReport::sourceChanged()
{
    const QString group = m_source->currentIndex() == 0 ? QStringLiteral("P") : QStringLiteral("S");
    m_course->clear();
    if (const auto items = guard(ui(), DbAction::Read, [&] { return courseItems(ui().app.main, group, true); }))
        fillCombo(m_course, *items);
}

bool SalesGraphReport::startQuery()
{
    GraphCriteria c;
    c.source = m_source->currentIndex() == 0 ? GraphSource::Courses : GraphSource::Goods;
    c.value = m_value->currentIndex() == 0 ? GraphValue::Amount : GraphValue::Count;
    c.perCourse = true; // 합계 is drawn from the series
    c.year = m_year->value();
    c.month = m_period->currentIndex() == 0 ? m_month->currentIndex() + 1 : 0;
    c.course = chosenCode(m_course);
    run<GraphView>(
        QStringLiteral("집계중입니다.."),
        [c](const Db &db) {
            GraphView v;
            v.graph = salesGraph(db, c);
            v.table = graphTable(v.graph);
            return v;
        },
        [this, c](GraphView &v) {
            m_graph = std::move(v.graph);
            m_shownValue = c.value;
            QStringList headers{c.month ? QStringLiteral("일") : QStringLiteral("월")};
            QList<int> widths{44}, right;
            for (const GraphSeries &s : m_graph.series) {
                right << int(headers.size());
                headers << (s.name.isEmpty() ? s.course : s.name);
                widths << 84;
            }
            right << int(headers.size());
            headers << QStringLiteral("합계");
            widths << 96;
            setColumns(headers, widths, right, {0});
            setSortable(false);
            showTable(v.table);
            draw();
        });
    return true;
}

void SalesGraphReport::draw()
{
    QChart *chart = chartView()->chart();
    chart->removeAllSeries();
    for (QAbstractAxis *a : chart->axes())
        chart->removeAxis(a);
    chart->setTitle(printSpec().title + QLatin1Char(' ') + printSpec().line2);
    if (m_graph.periods.isEmpty())
        return;
    // Amounts are drawn in thousands of won.
    const double unit = m_shownValue == GraphValue::Amount ? 1000.0 : 1.0;
    QList<QPair<QString, QList<qint64>>> data;
    if (m_each->isChecked())
        for (const GraphSeries &s : std::as_const(m_graph.series))
            data.append({s.name.isEmpty() ? s.course : s.name, s.values});
    else
        data.append({QStringLiteral("합계"), totalsOf(m_graph)});
    double top = 1, bottom = 0;
    for (const auto &d : std::as_const(data))
        for (qint64 v : d.second) {
            top = std::max(top, double(v) / unit);
            bottom = std::min(bottom, double(v) / unit);
        }

    auto *x = new QBarCategoryAxis;
    x->append(m_graph.periods);
    if (m_graph.periods.size() > 12) {
        QFont f = x->labelsFont();
        f.setPointSizeF(std::max(6.0, f.pointSizeF() - 2));
        x->setLabelsFont(f);
        x->setLabelsAngle(-90);
    }
    auto *y = new QValueAxis;
    y->setLabelFormat(QStringLiteral("%.0f"));
    y->setRange(bottom, top);
    y->applyNiceNumbers();
    if (m_shownValue == GraphValue::Amount)
        y->setTitleText(QStringLiteral("단위:천원"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);

    addStyledSeries(chart, x, y, ChartStyle(m_style->currentIndex() + 1), data, unit);
}

ReportPrint SalesGraphReport::printSpec() const
{
    ReportPrint p;
    p.title = QStringLiteral("판매현황 그래프");
    p.line2 = m_period->currentIndex() == 0
        ? QString(QString::number(m_year->value()) + QStringLiteral("년 ") + m_month->currentText() + QStringLiteral("월 일별"))
        : QString(QString::number(m_year->value()) + QStringLiteral("년 월별"));
    p.line3 = m_source->currentText().mid(2) + QStringLiteral(" ") + m_value->currentText().mid(2)
        + QStringLiteral("  항목 : ") + chosenLabel(m_course);
    p.landscape = false;
    return p;
}

} // namespace fitrova
