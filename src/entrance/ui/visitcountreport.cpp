#include "entrance/ui/visitcountreport.h"

#include "data/text.h"
#include "members/ui/memberscreens.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"
#include "widgets/dateedit.h"
#include "widgets/moneyedit.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>

namespace fitrova {

namespace {

struct VisitCountView {
    VisitCounts counts;
    ReportTable table;
};

ReportTable countTable(const VisitCounts &counts, bool perDay)
{
    ReportTable t;
    for (const VisitCountLine &l : counts.lines) {
        QStringList cells;
        if (perDay)
            cells << l.inDate;
        const QString time = l.time1.isEmpty() && l.time2.isEmpty() ? QString() : l.time1 + QLatin1Char('~') + l.time2;
        cells << l.mbCode << l.mbName << l.sex << (l.age < 0 ? QString() : QString::number(l.age)) << l.tel << l.pgName
              << time << l.card << wonText(l.count);
        t.add(cells, l.mbCode);
    }
    QStringList total{QStringLiteral("[ 총건수 ]")};
    while (total.size() < (perDay ? 9 : 8))
        total << QString();
    total << wonText(counts.lines.size()) + QStringLiteral(" 건");
    t.addTotal(total);
    return t;
}

} // namespace

VisitCountReport::VisitCountReport(UiContext &ui, QWidget *parent)
    : ReportScreen(ui, parent, QStringLiteral("입장현황1"), QStringLiteral("회원입장 상세조회"))
{
    const QDate today = ui.app.clock().today();
    m_from = new DateEdit(today.addDays(1 - today.day()), this);
    m_from->setObjectName(QStringLiteral("Dtp1"));
    m_to = new DateEdit(today, this);
    m_to->setObjectName(QStringLiteral("Dtp2"));
    m_course = reportCombo(this, QStringLiteral("CobCour"));
    m_lecturer = reportCombo(this, QStringLiteral("CobLect"));
    m_program = reportCombo(this, QStringLiteral("CobLec"), 220);
    m_count = new MoneyEdit(this, QStringLiteral("TxtCnt"), QStringLiteral("입장횟수"), MoneyEdit::Kind::Count);
    m_count->setAmount(2);
    m_count->setFixedWidth(50);
    m_perDay = new QRadioButton(QStringLiteral("일일입장횟수"), this);
    m_perDay->setObjectName(QStringLiteral("Opt일일"));
    m_perDay->setChecked(true);
    m_total = new QRadioButton(QStringLiteral("총입장횟수"), this);
    m_total->setObjectName(QStringLiteral("Opt총"));

    QGridLayout *g = criteria();
    g->addWidget(caption(this, QStringLiteral("기간")), 0, 0);
    g->addLayout(reportRange(m_from, m_to), 0, 1);
    g->addWidget(caption(this, QStringLiteral("입장횟수")), 0, 2);
    g->addLayout(reportRow({m_count, new QLabel(QStringLiteral("회 이상"), this), m_perDay, m_total}), 0, 3);
    g->addWidget(caption(this, QStringLiteral("강좌항목")), 1, 0);
    g->addWidget(m_course, 1, 1);
    g->addWidget(caption(this, QStringLiteral("강사")), 1, 2);
    g->addLayout(reportRow({m_lecturer, new QLabel(QStringLiteral("과목"), this), m_program}), 1, 3);
    g->setColumnStretch(3, 1);

    setColumnsFor(true);
    linkProgramLists(ui, m_course, m_lecturer, m_program);
    connect(m_perDay, &QRadioButton::toggled, this, [this](bool on) { setColumnsFor(on); });
    connect(grid(), &DataGrid::rowActivated, this, [this](int row) {
        const QString code = grid()->rowKey(row).toString();
        if (!code.isEmpty())
            openMemberCard(this->ui(), this, code, {});
    });
}

void VisitCountReport::setColumnsFor(bool perDay)
{
    QStringList headers{QStringLiteral("회원번호"), QStringLiteral("회원명"), QStringLiteral("성별"), QStringLiteral("나이"),
                        QStringLiteral("전화번호"), QStringLiteral("프로그램"), QStringLiteral("시간"), QStringLiteral("카드번호"),
                        QStringLiteral("횟수")};
    QList<int> widths{74, 80, 36, 36, 104, 200, 90, 90, 60};
    QList<int> right{3, 8}, centre{2};
    if (perDay) {
        headers.prepend(QStringLiteral("일자"));
        widths.prepend(86);
        for (int &c : right)
            ++c;
        for (int &c : centre)
            ++c;
    }
    setColumns(headers, widths, right, centre);
}

bool VisitCountReport::startQuery()
{
    if (!checkNumberFields(this, ui().msg))
        return false;
    VisitCountCriteria c;
    c.dateFrom = m_from->dateText();
    c.dateTo = m_to->dateText();
    if (!checkPeriod(c.dateFrom, c.dateTo, m_from))
        return false;
    c.course = chosenCode(m_course);
    c.ltCode = chosenCode(m_lecturer);
    c.pgid = m_program->currentData().toLongLong();
    c.minCount = int(std::clamp<qint64>(m_count->amount(), 1, 1000000));
    c.perDay = m_perDay->isChecked();
    setColumnsFor(c.perDay);
    run<VisitCountView>(
        QStringLiteral("자료를 조회중입니다."),
        [c](const Db &db) {
            VisitCountView v;
            v.counts = visitCounts(db, c);
            v.table = countTable(v.counts, c.perDay);
            return v;
        },
        [this, c](VisitCountView &v) {
            m_counts = std::move(v.counts);
            m_shown = c;
            showTable(v.table);
            setStatus(wonText(m_counts.lines.size()) + QStringLiteral(" 건"));
        });
    return true;
}

ReportPrint VisitCountReport::printSpec() const
{
    ReportPrint p;
    p.title = QStringLiteral("회원입장현황") + (m_perDay->isChecked() ? QStringLiteral(" (일일 ") : QStringLiteral(" (총 "))
        + QString::number(std::max<qint64>(1, m_count->amount())) + QStringLiteral("회 이상 입장)");
    p.line2 = QStringLiteral("기간 : ") + periodText(m_from->dateText(), m_to->dateText());
    p.line3 = QStringLiteral("강좌항목 : ") + chosenLabel(m_course) + QStringLiteral("   강사 : ") + chosenLabel(m_lecturer)
        + QStringLiteral("   과목 : ") + chosenLabel(m_program);
    return p;
}

} // namespace fitrova
