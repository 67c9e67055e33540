#include "closing/ui/monthlysalesreport.h"

#include "data/codetexts.h"
#include "data/dates.h"
#include "data/text.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>

namespace fitrova {

namespace {

struct MonthlyView {
    MonthlySales shown;
    ReportTable table;
};

QStringList cellsOf(const MonthlySalesLine &l)
{
    QStringList c;
    for (const Payment &p : {l.course, l.locker, l.goods1, l.goods2, l.goodsOther, l.total()})
        c << wonText(p.cash) << wonText(p.card) << wonText(p.sum());
    return c;
}

ReportTable monthlyTable(const MonthlySales &m)
{
    ReportTable t;
    for (const MonthlySalesLine &l : m.days)
        t.add(QStringList{fmtDate(l.day), weekdayShortName(l.day.dayOfWeek() % 7 + 1)} + cellsOf(l));
    t.addTotal(QStringList{QStringLiteral("합계"), QString()} + cellsOf(m.total));
    return t;
}

} // namespace

MonthlySalesReport::MonthlySalesReport(UiContext &ui, QWidget *parent)
    : ReportScreen(ui, parent, QStringLiteral("월매출집계표"), QStringLiteral("월별 일일 매출집계표"))
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
    m_closing = new QRadioButton(QStringLiteral("마감일 기준 (단위 : 백원)"), this);
    m_closing->setObjectName(QStringLiteral("Opt마감일"));
    m_closing->setChecked(true);
    m_sale = new QRadioButton(QStringLiteral("판매일 기준 (단위 : 백원)"), this);
    m_sale->setObjectName(QStringLiteral("Opt판매일"));
    QGridLayout *g = criteria();
    g->addWidget(caption(this, QStringLiteral("년월")), 0, 0);
    g->addLayout(reportRow({m_year, m_month}), 0, 1);
    g->addLayout(reportRow({m_closing, m_sale}), 0, 2);
    g->setColumnStretch(2, 1);

    QStringList headers{QStringLiteral("일자"), QStringLiteral("요일")};
    QList<int> widths{80, 32}, right;
    for (const QString &group : {QStringLiteral("강좌수입"), QStringLiteral("사물함수입"), QStringLiteral("상품1"),
                                 QStringLiteral("상품2"), QStringLiteral("기타상품"), QStringLiteral("계")})
        for (const QString &kind : {QStringLiteral("현금"), QStringLiteral("카드"), QStringLiteral("현금+카드")}) {
            right << int(headers.size());
            headers << group + QLatin1Char('\n') + kind;
            widths << 60;
        }
    setColumns(headers, widths, right, {1});
    setSortable(false);
}

QString MonthlySalesReport::basisText() const
{
    return m_closing->isChecked() ? m_closing->text() : m_sale->text();
}

bool MonthlySalesReport::startQuery()
{
    MonthlySalesCriteria c;
    c.year = m_year->value();
    c.month = m_month->currentIndex() + 1;
    c.basis = m_closing->isChecked() ? TakingsBasis::ClosingDate : TakingsBasis::SaleDate;
    run<MonthlyView>(
        QStringLiteral("집계중입니다.."),
        [c](const Db &db) {
            MonthlyView v;
            v.shown = inHundreds(monthlySales(db, c));
            v.table = monthlyTable(v.shown);
            return v;
        },
        [this](MonthlyView &v) {
            m_shown = std::move(v.shown);
            // The goods columns carry the names of the goods courses they hold.
            const QString g1 = QString(QStringLiteral("상품1 ") + m_shown.goods1Name).trimmed();
            const QString g2 = QString(QStringLiteral("상품2 ") + m_shown.goods2Name).trimmed();
            const QStringList kinds{QStringLiteral("현금"), QStringLiteral("카드"), QStringLiteral("현금+카드")};
            for (int k = 0; k < 3; ++k) {
                grid()->setHeaderText(8 + k, g1 + QLatin1Char('\n') + kinds[k]);
                grid()->setHeaderText(11 + k, g2 + QLatin1Char('\n') + kinds[k]);
            }
            showTable(v.table);
            setStatus(basisText());
        });
    return true;
}

ReportPrint MonthlySalesReport::printSpec() const
{
    ReportPrint p;
    p.title = QStringLiteral("월별 일일 매출집계표");
    p.line2 = QString::number(m_year->value()) + QStringLiteral("년 ") + m_month->currentText() + QStringLiteral("월");
    p.line3 = basisText();
    p.line4 = QStringLiteral("상품1 : ") + (m_shown.goods1Name.isEmpty() ? QStringLiteral("-") : m_shown.goods1Name)
        + QStringLiteral("   상품2 : ") + (m_shown.goods2Name.isEmpty() ? QStringLiteral("-") : m_shown.goods2Name)
        + QStringLiteral("   기타상품 : 그 밖의 상품");
    return p;
}

} // namespace fitrova
