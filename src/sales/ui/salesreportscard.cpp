#include "sales/ui/salesreportscard.h"

#include "data/text.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"

#include <QLabel>
#include <QComboBox>
#include <QGridLayout>
#include <QSpinBox>

namespace fitrova {

namespace {

struct CardView {
    CardTakings takings;
    ReportTable table;
};

ReportTable cardTable(const CardTakings &c)
{
    ReportTable t;
    for (int d = 0; d < c.days.size(); ++d) {
        QStringList cells{c.days[d]};
        for (qint64 v : c.amounts[d])
            cells << (v == 0 ? QString() : wonText(v));
        cells << wonText(c.dayTotal(d));
        t.add(cells, c.days[d]);
    }
    QStringList total{QStringLiteral("합계")};
    for (qint64 v : c.columnTotals)
        total << wonText(v);
    total << wonText(c.total());
    t.addTotal(total);
    return t;
}

} // namespace

CardTakingsReport::CardTakingsReport(UiContext &ui, QWidget *parent)
    : ReportScreen(ui, parent, QStringLiteral("카드사별매출집계"), QStringLiteral("카드사별 매출집계"))
{
    const QDate today = ui.app.clock().today();
    m_year = new QSpinBox(this);
    m_year->setObjectName(QStringLiteral("TxtYear"));
    m_year->setRange(2000, 2099);
    m_year->setValue(today.year());
    m_month = reportCombo(this, QStringLiteral("CobMonth"), 60);
    for (int m = 1; m <= 12; ++m)
        m_month->addItem(QStringLiteral("%1").arg(m, 2, 10, QLatin1Char('0')));
    m_month->setCurrentIndex(today.month() - 1);
    m_source = reportCombo(this, QStringLiteral("Cob구분"), 110);
    m_source->addItems({QStringLiteral("1.상품"), QStringLiteral("2.회원"), QStringLiteral("3.상품+회원")});
    QGridLayout *g = criteria();
    g->addWidget(caption(this, QStringLiteral("년월")), 0, 0);
    g->addLayout(reportRow({m_year, m_month}), 0, 1);
    g->addWidget(caption(this, QStringLiteral("구분")), 0, 2);
    g->addWidget(m_source, 0, 3);
    g->setColumnStretch(4, 1);
    setColumns({QStringLiteral("일자"), QStringLiteral("합계")}, {80, 90}, {1});
    setSortable(false);
}

bool CardTakingsReport::startQuery()
{
    const int year = m_year->value(), month = m_month->currentIndex() + 1;
    const auto source = CardTakingsSource(m_source->currentIndex() + 1);
    run<CardView>(
        QStringLiteral("집계중입니다.."),
        [year, month, source](const Db &db) {
            CardView v;
            v.takings = cardTakings(db, year, month, source);
            v.table = cardTable(v.takings);
            return v;
        },
        [this](CardView &v) {
            m_shown = std::move(v.takings);
            QStringList headers{QStringLiteral("일자")};
            QList<int> widths{80}, right;
            for (const CardCompany &c : m_shown.columns) {
                right << int(headers.size());
                headers << (c.name.isEmpty() ? c.code : c.name);
                widths << 76;
            }
            right << int(headers.size());
            headers << QStringLiteral("합계");
            widths << 90;
            setColumns(headers, widths, right);
            setSortable(false);
            showTable(v.table);
            setStatus(QStringLiteral("카드 ") + wonText(m_shown.total()) + QStringLiteral(" 원"));
        });
    return true;
}

ReportPrint CardTakingsReport::printSpec() const
{
    static const QString sources[] = {QStringLiteral(" 상품 "), QStringLiteral(" 회원 "),
                                      QStringLiteral(" 상품 ") + QStringLiteral(" + 회원")};
    ReportPrint p;
    p.title = QStringLiteral("카드사별 매출집계");
    p.line2 = QString::number(m_year->value()) + QStringLiteral("년 ") + m_month->currentText() + QStringLiteral("월")
        + QStringLiteral("(") + sources[std::clamp(m_source->currentIndex(), 0, 2)] + QStringLiteral(")");
    return p;
}

} // namespace fitrova
