#include "closing/ui/settlementreport.h"

#include "data/dates.h"
#include "data/text.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"
#include "widgets/dateedit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>

namespace fitrova {

namespace {

struct SettlementView {
    Settlement result;
    ReportTable table;
};

QStringList figures(const SettlementLine &l)
{
    return {wonText(l.newCount),    wonText(l.renewCount),  wonText(l.enrollCount),  wonText(l.enrollAmt),
            wonText(l.cashCount),   wonText(l.cashAmt),     wonText(l.cardCount),    wonText(l.cardAmt),
            wonText(l.changeCount), wonText(l.changeAmt),   wonText(l.delayCash),    wonText(l.delayCard),
            wonText(l.refundCount), wonText(l.refundAmt),   wonText(l.transferCount)};
}

ReportTable settlementTable(const Settlement &s, bool byMonths)
{
    ReportTable t;
    const auto lead = [byMonths](const QString &a, const QString &b, const QString &months) {
        QStringList c{a, b};
        if (byMonths)
            c << months;
        return c;
    };
    for (const SettlementGroup &g : s.groups) {
        for (const SettlementLine &l : g.lines)
            t.add(lead(g.courseName, l.pgName, QString::number(l.monthCnt)) + figures(l), l.pgid);
        t.addSubtotal(lead(QStringLiteral("[ 소 계 ]"), g.courseName, QString()) + figures(g.subtotal));
    }
    t.addTotal(lead(QStringLiteral("[ 합 계 ]"), QString(), QString()) + figures(s.total));
    return t;
}

} // namespace

SettlementReport::SettlementReport(UiContext &ui, QWidget *parent)
    : ReportScreen(ui, parent, QStringLiteral("회원결산현황"), QStringLiteral("강습회원 결산현황"))
{
    const QDate today = ui.app.clock().today();
    m_oneMonth = new QRadioButton(QStringLiteral("수강월"), this);
    m_oneMonth->setObjectName(QStringLiteral("Opt수강월"));
    m_oneMonth->setChecked(true);
    m_month = new MonthEdit(this);
    m_month->setObjectName(QStringLiteral("CobYYMM"));
    m_month->setMonthText(fmtDate(today).left(7));
    m_range = new QRadioButton(QStringLiteral("수강년도"), this);
    m_range->setObjectName(QStringLiteral("Opt수강년도"));
    m_year = new QSpinBox(this);
    m_year->setObjectName(QStringLiteral("TxtYear"));
    m_year->setRange(2000, 2099);
    m_year->setValue(today.year());
    m_from = reportCombo(this, QStringLiteral("CobMonth1"), 56);
    m_to = reportCombo(this, QStringLiteral("CobMonth2"), 56);
    for (int m = 1; m <= 12; ++m) {
        m_from->addItem(QStringLiteral("%1").arg(m, 2, 10, QLatin1Char('0')));
        m_to->addItem(QStringLiteral("%1").arg(m, 2, 10, QLatin1Char('0')));
    }
    m_to->setCurrentIndex(11);
    m_byMonths = new QCheckBox(QStringLiteral("개월수별"), this);
    m_byMonths->setObjectName(QStringLiteral("Chk개월"));
    QGridLayout *g = criteria();
    g->addLayout(reportRow({m_oneMonth, m_month}), 0, 0);
    g->addLayout(reportRow({m_range, m_year, new QLabel(QStringLiteral("년"), this), m_from,
                            new QLabel(QStringLiteral("~"), this), m_to, new QLabel(QStringLiteral("월"), this)}),
                 0, 1);
    g->addWidget(m_byMonths, 0, 2);
    g->setColumnStretch(3, 1);
    setSortable(false);
}

SettlementCriteria SettlementReport::readCriteria() const
{
    SettlementCriteria c;
    if (m_oneMonth->isChecked()) {
        c.monthFrom = c.monthTo = m_month->monthText();
    } else {
        const QString y = QString::number(m_year->value());
        c.monthFrom = y + QLatin1Char('-') + m_from->currentText();
        c.monthTo = y + QLatin1Char('-') + m_to->currentText();
    }
    c.byMonthCount = m_byMonths->isChecked();
    return c;
}

bool SettlementReport::startQuery()
{
    const SettlementCriteria c = readCriteria();
    if (!checkPeriod(c.monthFrom, c.monthTo, m_from))
        return false;
    QStringList headers{QStringLiteral("강좌항목"), QStringLiteral("프로그램")};
    QList<int> widths{70, 150};
    if (c.byMonthCount) {
        headers << QStringLiteral("개월");
        widths << 40;
    }
    const int first = int(headers.size());
    headers << QStringLiteral("신규") << QStringLiteral("재등록") << QStringLiteral("신청\n건수") << QStringLiteral("신청\n금액")
            << QStringLiteral("현금\n건수") << QStringLiteral("현금") << QStringLiteral("카드\n건수") << QStringLiteral("카드")
            << QStringLiteral("반변경\n건수") << QStringLiteral("반변경\n금액") << QStringLiteral("연기\n현금")
            << QStringLiteral("연기\n카드") << QStringLiteral("환불\n건수") << QStringLiteral("환불\n금액")
            << QStringLiteral("양수\n건수");
    QList<int> right;
    for (int i = first; i < headers.size(); ++i) {
        right << i;
        // Counts are narrow, amounts wide.
        const bool count = headers[i].contains(QStringLiteral("건수")) || i < first + 2;
        widths << (count ? 46 : 72);
    }
    if (c.byMonthCount)
        right << 2;
    setColumns(headers, widths, right);
    run<SettlementView>(
        QStringLiteral("집계중입니다.."),
        [c](const Db &db) {
            SettlementView v;
            v.result = memberSettlement(db, c);
            v.table = settlementTable(v.result, c.byMonthCount);
            return v;
        },
        [this](SettlementView &v) {
            m_result = std::move(v.result);
            showTable(v.table);
            setStatus(QStringLiteral("신청 ") + wonText(m_result.total.enrollCount) + QStringLiteral(" 건"));
        });
    return true;
}

ReportPrint SettlementReport::printSpec() const
{
    ReportPrint p;
    p.title = QStringLiteral("회원결산현황");
    const SettlementCriteria c = readCriteria();
    const QString y = c.monthFrom.left(4) + QStringLiteral("년");
    p.line2 = QLatin1Char('(') + y + QLatin1Char(' ') + c.monthFrom.mid(5) + QStringLiteral("월");
    if (c.monthFrom != c.monthTo)
        p.line2 += QLatin1Char('~') + c.monthTo.mid(5) + QStringLiteral("월");
    p.line2 += QLatin1Char(')');
    return p;
}

} // namespace fitrova
