#include "entrance/ui/visitchartreport.h"

#include "data/dates.h"
#include "data/text.h"
#include "widgets/chartseries.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"
#include "widgets/dateedit.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QColor>
#include <QComboBox>
#include <QFont>
#include <QGridLayout>
#include <QLabel>
#include <QLineSeries>
#include <QPen>
#include <QRadioButton>
#include <QSpinBox>
#include <QValueAxis>

namespace fitrova {

namespace {

struct ChartView {
    VisitChart chart;
    ReportTable table;
};

ReportTable chartTable(const VisitChart &c)
{
    ReportTable t;
    for (int i = 0; i < c.categories.size(); ++i) {
        QStringList cells{c.categories.at(i)};
        for (const VisitSeries &s : c.series)
            cells << wonText(s.counts.value(i));
        cells << wonText(c.totals.value(i));
        t.add(cells);
    }
    QStringList total{QStringLiteral("합계")};
    for (const VisitSeries &s : c.series)
        total << wonText(s.total);
    total << wonText(c.total);
    t.addTotal(total);
    return t;
}

} // namespace

VisitChartReport::VisitChartReport(UiContext &ui, QWidget *parent)
    : ReportScreen(ui, parent, QStringLiteral("회원입장그래프"), QStringLiteral("입장현황 그래프"))
{
    const QDate today = ui.app.clock().today();
    m_period = reportCombo(this, QStringLiteral("CobGubun"), 130);
    m_period->addItems({QStringLiteral("1-월별 (년도)"), QStringLiteral("2-일별 (월)"), QStringLiteral("3-시간대별 (일)")});
    m_period->setCurrentIndex(1);
    m_year = new QSpinBox(this);
    m_year->setObjectName(QStringLiteral("TxtYear"));
    m_year->setRange(2000, 2099);
    m_year->setValue(today.year());
    m_month = new MonthEdit(this);
    m_month->setObjectName(QStringLiteral("CobYYMM"));
    m_month->setMonthText(fmtDate(today).left(7));
    m_day = new DateEdit(today, this);
    m_day->setObjectName(QStringLiteral("Dtp1"));
    m_course = reportCombo(this, QStringLiteral("CobCour"));
    m_style = reportCombo(this, QStringLiteral("CobStyle"), 110);
    m_style->addItems({QStringLiteral("1-2D Bar"), QStringLiteral("2-3D Bar"), QStringLiteral("3-2D Line"),
                       QStringLiteral("4-3D Line"), QStringLiteral("5-3D Step")});
    m_each = new QRadioButton(QStringLiteral("개별"), this);
    m_each->setObjectName(QStringLiteral("Opt개별"));
    m_each->setChecked(true);
    m_sum = new QRadioButton(QStringLiteral("합계"), this);
    m_sum->setObjectName(QStringLiteral("Opt합계"));

    QGridLayout *g = criteria();
    g->addWidget(caption(this, QStringLiteral("구분")), 0, 0);
    g->addLayout(reportRow({m_period, m_year, m_month, m_day}), 0, 1);
    g->addWidget(caption(this, QStringLiteral("강좌항목")), 0, 2);
    g->addWidget(m_course, 0, 3);
    g->addWidget(caption(this, QStringLiteral("그래프")), 1, 0);
    g->addLayout(reportRow({m_style, m_each, m_sum}), 1, 1);
    g->setColumnStretch(4, 1);

    enableChart(Qt::Horizontal);
    setPaneSizes({760, 240}); // 31 days side by side on the axis
    setSortable(false);
    setColumns({QStringLiteral("구분"), QStringLiteral("합계")}, {60, 70}, {1});
    linkProgramLists(ui, m_course, nullptr, nullptr);
    periodChanged();
    connect(m_period, &QComboBox::currentIndexChanged, this, &VisitChartReport::periodChanged);
    connect(m_style, &QComboBox::currentIndexChanged, this, &VisitChartReport::draw);
    connect(m_each, &QRadioButton::toggled, this, &VisitChartReport::draw);
}

void VisitChartReport::periodChanged()
{
    const int p = m_period->currentIndex();
    m_year->setVisible(p == 0);
    m_month->setVisible(p == 1);
    m_day->setVisible(p == 2);
}

bool VisitChartReport::startQuery()
{
    VisitChartCriteria c;
    c.period = ChartPeriod(m_period->currentIndex());
    c.year = c.period == ChartPeriod::MonthsOfYear ? m_year->value() : m_month->date().year();
    c.month = m_month->date().month();
    c.day = m_day->dateText();
    c.course = chosenCode(m_course);
    run<ChartView>(
        QStringLiteral("집계중입니다.."),
        [c](const Db &db) {
            ChartView v;
            v.chart = visitChart(db, c);
            v.table = chartTable(v.chart);
            return v;
        },
        [this, c](ChartView &v) {
            m_chart = std::move(v.chart);
            m_shown = c;
            QStringList headers{QStringLiteral("구분")};
            QList<int> widths{60}, right;
            for (const VisitSeries &s : m_chart.series) {
                right << int(headers.size());
                headers << s.name;
                widths << 70;
            }
            right << int(headers.size());
            headers << QStringLiteral("합계");
            widths << 70;
            setColumns(headers, widths, right, {0});
            showTable(v.table);
            setStatus(QStringLiteral("입장 ") + wonText(m_chart.total) + QStringLiteral(" 명"));
            draw();
        });
    return true;
}

void VisitChartReport::draw()
{
    QChart *chart = chartView()->chart();
    chart->removeAllSeries();
    for (QAbstractAxis *a : chart->axes())
        chart->removeAxis(a);
    chart->setTitle(printSpec().title + QLatin1Char(' ') + printSpec().line2);
    if (m_chart.categories.isEmpty())
        return;

    // The series drawn: one per course item, or the one total.
    QList<QPair<QString, QList<qint64>>> data;
    if (m_each->isChecked())
        for (const VisitSeries &s : std::as_const(m_chart.series))
            data.append({s.name, s.counts});
    else
        data.append({QStringLiteral("합계"), m_chart.totals});
    qint64 top = 1;
    for (const auto &d : std::as_const(data))
        for (qint64 v : d.second)
            top = std::max(top, v);

    auto *x = new QBarCategoryAxis;
    x->append(m_chart.categories);
    // The days of a month and the hours of a day are two characters wide:
    // a smaller font keeps them upright (turned labels get elided).
    if (m_chart.categories.size() > 12) {
        QFont f = x->labelsFont();
        f.setPointSizeF(std::max(6.0, f.pointSizeF() - 2));
        x->setLabelsFont(f);
    }
    // Whole numbers on the count axis: one tick per visit for small counts.
    auto *y = new QValueAxis;
    y->setLabelFormat(QStringLiteral("%d"));
    if (top < 10) {
        y->setRange(0, double(top + 1));
        y->setTickCount(int(top) + 2);
    } else {
        y->setRange(0, double(top));
        y->applyNiceNumbers();
    }
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);

    addStyledSeries(chart, x, y, ChartStyle(m_style->currentIndex() + 1), data);
}

ReportPrint VisitChartReport::printSpec() const
{
    ReportPrint p;
    p.title = QStringLiteral("입장현황 그래프");
    switch (ChartPeriod(m_period->currentIndex())) {
    case ChartPeriod::MonthsOfYear: p.line2 = QString::number(m_year->value()) + QStringLiteral("년 월별"); break;
    case ChartPeriod::DaysOfMonth:
        p.line2 = QString::number(m_month->date().year()) + QStringLiteral("년 ")
            + QStringLiteral("%1").arg(m_month->date().month(), 2, 10, QLatin1Char('0')) + QStringLiteral("월 일별");
        break;
    case ChartPeriod::HoursOfDay: p.line2 = m_day->dateText() + QStringLiteral(" 시간대별"); break;
    }
    p.line3 = QStringLiteral("강좌항목 : ") + chosenLabel(m_course);
    p.landscape = false;
    return p;
}

} // namespace fitrova
