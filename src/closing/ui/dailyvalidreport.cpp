#include "closing/ui/dailyvalidreport.h"

#include "data/codetexts.h"
#include "data/text.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"

#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>

namespace fitrova {

namespace {

struct DailyValidView {
    DailyValid result;
    ReportTable table;
};

ReportTable dailyTable(const DailyValid &d)
{
    ReportTable t;
    const auto cells = [](const DailyValidRow &r, const QString &name) {
        QStringList c{name};
        for (qint64 n : r.days)
            c << wonText(n);
        c << wonText(r.total);
        return c;
    };
    for (const DailyValidRow &r : d.rows)
        t.add(cells(r, r.name), r.course);
    t.addTotal(cells(d.total, QStringLiteral("[합계]")));
    return t;
}

} // namespace

DailyValidReport::DailyValidReport(UiContext &ui, QWidget *parent)
    : ReportScreen(ui, parent, QStringLiteral("일일유효회원현황"), QStringLiteral("유효/만기회원 변동현황"))
{
    const QDate today = ui.app.clock().today();
    m_year = new QSpinBox(this);
    m_year->setObjectName(QStringLiteral("UpDown1"));
    m_year->setRange(2000, 2099);
    m_year->setValue(today.year());
    m_month = new QSpinBox(this);
    m_month->setObjectName(QStringLiteral("UpDown2"));
    m_month->setRange(1, 12);
    m_month->setValue(today.month());
    m_valid = new QRadioButton(QStringLiteral("유효회원"), this);
    m_valid->setObjectName(QStringLiteral("Opt유효"));
    m_valid->setChecked(true);
    m_expiring = new QRadioButton(QStringLiteral("만기회원"), this);
    m_expiring->setObjectName(QStringLiteral("Opt만기"));
    QGridLayout *g = criteria();
    g->addWidget(caption(this, QStringLiteral("년월")), 0, 0);
    g->addLayout(reportRow({m_year, new QLabel(QStringLiteral("년"), this), m_month, new QLabel(QStringLiteral("월"), this),
                            m_valid, m_expiring}),
                 0, 1);
    g->setColumnStretch(1, 1);
    setSortable(false);
    setColumns({QStringLiteral("강좌항목"), QStringLiteral("합계")}, {90, 60}, {1});
}

QString DailyValidReport::exportName() const
{
    return m_expiring->isChecked() ? QStringLiteral("월별일일만기회원현황") : QStringLiteral("월별일일유효회원현황");
}

bool DailyValidReport::startQuery()
{
    DailyValidCriteria c;
    c.year = m_year->value();
    c.month = m_month->value();
    c.expiring = m_expiring->isChecked();
    run<DailyValidView>(
        QStringLiteral("집계중입니다.."),
        [c](const Db &db) {
            DailyValidView v;
            v.result = dailyValid(db, c);
            v.table = dailyTable(v.result);
            return v;
        },
        [this, c](DailyValidView &v) {
            m_result = std::move(v.result);
            QStringList headers{QStringLiteral("강좌항목")};
            QList<int> widths{90}, right;
            for (int d = 1; d <= m_result.daysInMonth; ++d) {
                right << int(headers.size());
                headers << QStringLiteral("%1\n%2").arg(d, 2, 10, QLatin1Char('0'))
                               .arg(weekdayShortName(QDate(c.year, c.month, d).dayOfWeek() % 7 + 1));
                widths << 34;
            }
            right << int(headers.size());
            headers << QStringLiteral("합계");
            widths << 60;
            setColumns(headers, widths, right);
            showTable(v.table);
            setStatus(QStringLiteral("합계 ") + wonText(m_result.total.total));
        });
    return true;
}

ReportPrint DailyValidReport::printSpec() const
{
    ReportPrint p;
    p.title = m_expiring->isChecked() ? QStringLiteral("월별 일일 만기회원 현황") : QStringLiteral("월별 일일 유효회원 현황");
    p.line2 = QString::number(m_year->value()) + QStringLiteral("년 (") + QStringLiteral("%1").arg(m_month->value(), 2, 10, QLatin1Char('0'))
        + QStringLiteral("월)");
    return p;
}

} // namespace fitrova
