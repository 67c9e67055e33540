#include "entrance/ui/dailyvisitorsreport.h"

#include "data/codetexts.h"
#include "data/dates.h"
#include "data/text.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"
#include "widgets/dateedit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>

namespace fitrova {

namespace {

struct DailyVisitorsView {
    DailyVisitors result;
    ReportTable table;
};

ReportTable visitorsTable(const DailyVisitors &r)
{
    ReportTable t;
    const auto cells = [](const DailyVisitorsLine &l, const QString &first, const QString &second) {
        QStringList c{first, second, wonText(l.members)};
        for (qint64 g : l.goods)
            c << wonText(g);
        c << wonText(l.total);
        return c;
    };
    for (const DailyVisitorsLine &l : r.days)
        t.add(cells(l, fmtDate(l.day), weekdayShortName(l.day.dayOfWeek() % 7 + 1)));
    t.addTotal(cells(r.total, QStringLiteral("합계"), QString()));
    return t;
}

} // namespace

DailyVisitorsReport::DailyVisitorsReport(UiContext &ui, QWidget *parent)
    : ReportScreen(ui, parent, QStringLiteral("일일입장객현황"), QStringLiteral("월별 일일 입장객현황"))
{
    m_month = new MonthEdit(this);
    m_month->setObjectName(QStringLiteral("CobYYMM"));
    m_month->setMonthText(fmtDate(ui.app.clock().today()).left(7));
    m_members = new QCheckBox(QStringLiteral("회원"), this);
    m_members->setObjectName(QStringLiteral("Chk회원"));
    m_members->setChecked(true);
    m_goods = new QCheckBox(QStringLiteral("상품"), this);
    m_goods->setObjectName(QStringLiteral("Chk상품"));
    m_goods->setChecked(true);
    QGridLayout *g = criteria();
    g->addWidget(caption(this, QStringLiteral("조회월")), 0, 0);
    g->addLayout(reportRow({m_month, m_members, m_goods}), 0, 1);
    g->setColumnStretch(1, 1);
    setColumns({QStringLiteral("일자"), QStringLiteral("요일"), QStringLiteral("회원"), QStringLiteral("합계")},
               {90, 40, 80, 80}, {2, 3}, {1});
    setSortable(false);
}

bool DailyVisitorsReport::startQuery()
{
    DailyVisitorsCriteria c;
    c.year = m_month->date().year();
    c.month = m_month->date().month();
    c.members = m_members->isChecked();
    c.goods = m_goods->isChecked();
    run<DailyVisitorsView>(
        QStringLiteral("집계중입니다.."),
        [c](const Db &db) {
            DailyVisitorsView v;
            v.result = dailyVisitors(db, c);
            v.table = visitorsTable(v.result);
            return v;
        },
        [this](DailyVisitorsView &v) {
            m_result = std::move(v.result);
            QStringList headers{QStringLiteral("일자"), QStringLiteral("요일"), QStringLiteral("회원")};
            QList<int> widths{90, 40, 80}, right{2};
            for (const GoodsColumn &g : m_result.columns) {
                right << int(headers.size());
                headers << g.name;
                widths << 80;
            }
            right << int(headers.size());
            headers << QStringLiteral("합계");
            widths << 80;
            setColumns(headers, widths, right, {1});
            showTable(v.table);
            setStatus(QStringLiteral("합계 ") + wonText(m_result.total.total) + QStringLiteral(" 명"));
        });
    return true;
}

ReportPrint DailyVisitorsReport::printSpec() const
{
    ReportPrint p;
    p.title = QStringLiteral("월별 일일 입장객현황");
    const QDate d = m_month->date();
    p.line2 = QString::number(d.year()) + QStringLiteral("년 (") + QStringLiteral("%1").arg(d.month(), 2, 10, QLatin1Char('0'))
        + QStringLiteral("월)");
    p.landscape = false;
    return p;
}

} // namespace fitrova
