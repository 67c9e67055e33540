#include "closing/ui/enrollmentstatusreport.h"

#include "data/dates.h"
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
#include <QTabBar>

namespace fitrova {

namespace {

// A column of a list: its header, width, alignment and the text of a line.
struct ListColumn {
    QString header;
    int width;
    Qt::Alignment align;
    std::function<QString(const EnrollmentStatusLine &)> text;
};

QString ageText(qint64 age) { return age < 0 ? QString() : QString::number(age); }
QString range(const QString &a, const QString &b) { return a.isEmpty() && b.isEmpty() ? QString() : a + QLatin1Char('~') + b; }

QList<ListColumn> columnsOf(EnrollmentList list)
{
    using L = EnrollmentStatusLine;
    const Qt::Alignment left = Qt::AlignLeft, right = Qt::AlignRight, centre = Qt::AlignCenter;
    const ListColumn code{QStringLiteral("회원번호"), 72, left, [](const L &l) { return l.mbCode; }};
    const ListColumn date{QStringLiteral("신청일"), 84, left, [](const L &l) { return l.rqDate; }};
    const ListColumn program{QStringLiteral("프로그램"), 160, left, [](const L &l) { return l.pgName; }};
    const ListColumn time{QStringLiteral("시간"), 96, centre, [](const L &l) { return range(l.time1, l.time2); }};
    const ListColumn period{QStringLiteral("기간"), 172, left, [](const L &l) { return range(l.sDate1, l.sDate2); }};
    const ListColumn months{QStringLiteral("개월"), 36, right, [](const L &l) { return QString::number(l.monthCnt); }};
    const ListColumn name{QStringLiteral("회원명"), 70, left, [](const L &l) { return l.mbName; }};
    const ListColumn sex{QStringLiteral("성별"), 34, centre, [](const L &l) { return l.sex; }};
    const ListColumn age{QStringLiteral("나이"), 34, right, [](const L &l) { return ageText(l.age); }};
    const ListColumn resident{QStringLiteral("주민번호"), 116, left, [](const L &l) { return l.resident; }};
    const ListColumn mobile{QStringLiteral("핸드폰"), 104, left, [](const L &l) { return l.tel1; }};
    const ListColumn card{QStringLiteral("카드"), 76, right, [](const L &l) { return wonText(l.cardAmt); }};
    const ListColumn cash{QStringLiteral("현금"), 76, right, [](const L &l) { return wonText(l.cashAmt); }};
    const ListColumn amount{QStringLiteral("금액"), 80, right, [](const L &l) { return wonText(l.tAmt); }};
    const ListColumn lecturer{QStringLiteral("강사"), 70, left, [](const L &l) { return l.lecturer; }};
    const ListColumn remark{QStringLiteral("비고"), 110, left, [](const L &l) { return l.remark; }};
    switch (list) {
    case EnrollmentList::Enrollments:
        return {code, date, program, time, period, months, name, sex, age, resident, mobile, card, cash, amount,
                ListColumn{QStringLiteral("카드번호"), 90, left, [](const L &l) { return l.mbCard; }},
                ListColumn{QStringLiteral("담당자"), 70, left, [](const L &l) { return l.userName.isEmpty() ? l.user : l.userName; }},
                ListColumn{QStringLiteral("구분"), 50, centre,
                       [](const L &l) { return l.renewal ? QStringLiteral("재등록") : QStringLiteral("신규"); }},
                remark};
    case EnrollmentList::ClassChanges:
        return {code, date, name,
                ListColumn{QStringLiteral("이전프로그램"), 150, left, [](const L &l) { return l.bPgName; }},
                ListColumn{QStringLiteral("이전시간"), 96, centre, [](const L &l) { return range(l.bTime1, l.bTime2); }},
                ListColumn{QStringLiteral("기간"), 190, left,
                       [](const L &l) {
                           return range(l.sDate1, l.sDate2) + QStringLiteral(" (") + QString::number(l.monthCnt)
                               + QLatin1Char(')');
                       }},
                ListColumn{QStringLiteral("변경프로그램"), 150, left, [](const L &l) { return l.pgName; }},
                ListColumn{QStringLiteral("변경시간"), 96, centre, [](const L &l) { return range(l.time1, l.time2); }},
                amount, cash, card, remark};
    case EnrollmentList::Postponements:
        return {code, date, program, lecturer, time,
                ListColumn{QStringLiteral("원수강번호"), 70, right, [](const L &l) { return QString::number(l.bLtid); }},
                months, name, sex, age, resident, mobile,
                ListColumn{QStringLiteral("연기기간"), 172, left, [](const L &l) { return range(l.sDate1, l.sDate2); }},
                ListColumn{QStringLiteral("일수"), 40, right, [](const L &l) { return QString::number(l.rDay); }}, remark};
    case EnrollmentList::Refunds:
        return {code,
                ListColumn{QStringLiteral("환불일"), 84, left, [](const L &l) { return l.rqDate; }},
                program, lecturer, time, period, months, name, sex, age, resident, mobile,
                ListColumn{QStringLiteral("잔여일수"), 56, right, [](const L &l) { return QString::number(l.rDay); }},
                ListColumn{QStringLiteral("환불금액"), 80, right, [](const L &l) { return wonText(l.tAmt); }},
                ListColumn{QStringLiteral("수강금액"), 80, right, [](const L &l) { return wonText(l.baseTAmt); }}, remark};
    case EnrollmentList::Transfers:
        return {ListColumn{QStringLiteral("양수회원"), 72, left, [](const L &l) { return l.mbCode; }}, date,
                ListColumn{QStringLiteral("양도회원"), 72, left, [](const L &l) { return l.giverCode; }},
                ListColumn{QStringLiteral("양도자명"), 70, left, [](const L &l) { return l.giverName; }},
                ListColumn{QStringLiteral("성별/나이"), 66, centre,
                       [](const L &l) {
                           return l.giverSex + (l.giverAge < 0 ? QString() : QLatin1Char('/') + QString::number(l.giverAge));
                       }},
                ListColumn{QStringLiteral("수강월"), 64, centre, [](const L &l) { return l.ltyymm; }}, program, period, time,
                ListColumn{QStringLiteral("양수자명"), 70, left, [](const L &l) { return l.mbName; }}, sex, age, resident};
    }
    return {};
}

// A total line: its title, the count in the second column and the sums under
// the amount, cash and card columns of the list.
QStringList totalLine(const QList<ListColumn> &cols, const QString &title, const EnrollmentSums &s)
{
    QStringList cells(cols.size());
    cells[0] = title;
    cells[1] = wonText(s.count) + QStringLiteral(" 건");
    for (int i = 0; i < cols.size(); ++i) {
        const QString &h = cols[i].header;
        if (h == QStringLiteral("금액") || h == QStringLiteral("환불금액"))
            cells[i] = wonText(s.amount);
        else if (h == QStringLiteral("현금"))
            cells[i] = wonText(s.cash);
        else if (h == QStringLiteral("카드"))
            cells[i] = wonText(s.card);
    }
    return cells;
}

// The lines as they arrive and, after the last, the total lines: sums of
// the lines listed.
std::shared_ptr<LineFormat<EnrollmentStatusLine>> statusFormat(EnrollmentList list)
{
    struct State {
        QList<ListColumn> cols;
        EnrollmentSums all, newOnes, renewals;
    };
    auto st = std::make_shared<State>();
    st->cols = columnsOf(list);
    auto f = std::make_shared<LineFormat<EnrollmentStatusLine>>();
    f->line = [st](ReportTable &t, const EnrollmentStatusLine &l) {
        QStringList cells;
        cells.reserve(st->cols.size());
        for (const ListColumn &c : std::as_const(st->cols))
            cells << c.text(l);
        t.add(cells, l.ltid);
        st->all.add(l);
        (l.renewal ? st->renewals : st->newOnes).add(l);
    };
    f->end = [st, list](ReportTable &t) {
        t.addTotal(totalLine(st->cols, QStringLiteral("[합    계]"), st->all));
        if (list == EnrollmentList::Enrollments) {
            t.addTotal(totalLine(st->cols, QStringLiteral("[신    규]"), st->newOnes));
            t.addTotal(totalLine(st->cols, QStringLiteral("[재 등 록]"), st->renewals));
        }
    };
    return f;
}

} // namespace

QStringList EnrollmentStatusReport::tabNames()
{
    return {QStringLiteral("수강신청현황"), QStringLiteral("반변경신청현황"), QStringLiteral("연기신청현황"),
            QStringLiteral("수강취소현황"), QStringLiteral("양도양수현황")};
}

EnrollmentStatusReport::EnrollmentStatusReport(UiContext &ui, QWidget *parent)
    : ReportScreen(ui, parent, QStringLiteral("수강신청현황"), QStringLiteral("수강현황(연기/취소/양도)"))
{
    const QDate today = ui.app.clock().today();
    m_byMonth = new QRadioButton(QStringLiteral("수강월"), this);
    m_byMonth->setObjectName(QStringLiteral("Opt1"));
    m_byMonth->setChecked(true);
    m_byDates = new QRadioButton(QStringLiteral("신청일자"), this);
    m_byDates->setObjectName(QStringLiteral("Opt2"));
    m_byBoth = new QRadioButton(QStringLiteral("수강월+신청일자"), this);
    m_byBoth->setObjectName(QStringLiteral("Opt3"));
    m_month = new MonthEdit(this);
    m_month->setObjectName(QStringLiteral("CobYYMM"));
    m_month->setMonthText(fmtDate(today).left(7));
    m_from = new DateEdit(today.addDays(1 - today.day()), this);
    m_from->setObjectName(QStringLiteral("Dtp1"));
    m_to = new DateEdit(today, this);
    m_to->setObjectName(QStringLiteral("Dtp2"));
    m_course = reportCombo(this, QStringLiteral("CobCour"));
    m_sclass = reportCombo(this, QStringLiteral("CobScl"));
    m_months = reportCombo(this, QStringLiteral("Cob개월"), 96);
    m_months->addItems({QStringLiteral("0-모두보기"), QStringLiteral("1 개월"), QStringLiteral("3 개월"), QStringLiteral("6 개월"),
                        QStringLiteral("12개월")});
    m_user = reportCombo(this, QStringLiteral("CobUser"), 120);
    m_user->addItem(QStringLiteral("A-ALL"));
    if (const auto staff = guard(ui, DbAction::Read, [&] { return enrollmentStaffItems(ui.app.main); }))
        m_user->addItems(*staff);
    m_tabs = new QTabBar(this);
    m_tabs->setObjectName(QStringLiteral("SSTab"));
    for (const QString &t : tabNames())
        m_tabs->addTab(t);

    QGridLayout *g = criteria();
    g->addWidget(caption(this, QStringLiteral("조회기간")), 0, 0);
    g->addLayout(reportRow({m_byMonth, m_month, m_byDates, m_from, new QLabel(QStringLiteral("~"), this), m_to, m_byBoth}),
                 0, 1, 1, 3);
    g->addWidget(caption(this, QStringLiteral("강좌항목")), 1, 0);
    g->addLayout(reportRow({m_course, m_sclass}), 1, 1);
    g->addWidget(caption(this, QStringLiteral("개월수")), 1, 2);
    g->addLayout(reportRow({m_months, new QLabel(QStringLiteral("담당자"), this), m_user}), 1, 3);
    g->addWidget(m_tabs, 2, 0, 1, 4);
    g->setColumnStretch(3, 1);
    setSortable(false);

    if (const auto items = guard(ui, DbAction::Read, [&] { return courseItems(ui.app.main, QStringLiteral("P"), true); })) {
        const QSignalBlocker b(m_course);
        fillCombo(m_course, *items);
    }
    courseChanged();
    connect(m_course, &QComboBox::currentIndexChanged, this, &EnrollmentStatusReport::courseChanged);
    connect(m_tabs, &QTabBar::currentChanged, this, [this] {
        grid()->clearRows();
        query();
    });
    setCurrentList(EnrollmentList::Enrollments);
}

void EnrollmentStatusReport::courseChanged()
{
    const QString course = chosenCode(m_course);
    if (course.isEmpty()) {
        fillCombo(m_sclass, {{allItemText(), {}}});
        return;
    }
    if (const auto items = guard(ui(), DbAction::Read,
                                 [&] { return sclassItems(ui().app.main, QStringLiteral("P"), course, true); }))
        fillCombo(m_sclass, *items);
}

EnrollmentList EnrollmentStatusReport::currentList() const { return EnrollmentList(m_tabs->currentIndex()); }

void EnrollmentStatusReport::setCurrentList(EnrollmentList list)
{
    const QSignalBlocker b(m_tabs);
    m_tabs->setCurrentIndex(int(list));
    const QList<ListColumn> cols = columnsOf(list);
    QStringList headers;
    QList<int> widths, right, centred;
    for (int i = 0; i < cols.size(); ++i) {
        headers << cols[i].header;
        widths << cols[i].width;
        if (cols[i].align == Qt::AlignRight)
            right << i;
        else if (cols[i].align == Qt::AlignCenter)
            centred << i;
    }
    setColumns(headers, widths, right, centred);
}

QString EnrollmentStatusReport::exportName() const { return tabNames().value(m_tabs->currentIndex()); }

EnrollmentStatusCriteria EnrollmentStatusReport::readCriteria() const
{
    EnrollmentStatusCriteria c;
    c.period = m_byMonth->isChecked() ? EnrollPeriod::Month : m_byDates->isChecked() ? EnrollPeriod::Dates : EnrollPeriod::Both;
    c.month = m_month->monthText();
    c.dateFrom = m_from->dateText();
    c.dateTo = m_to->dateText();
    c.course = chosenCode(m_course);
    c.sclass = chosenCode(m_sclass);
    static const int months[] = {0, 1, 3, 6, 12};
    c.monthCnt = months[std::clamp(m_months->currentIndex(), 0, 4)];
    c.user = chosenCode(m_user);
    return c;
}

bool EnrollmentStatusReport::startQuery()
{
    const EnrollmentStatusCriteria c = readCriteria();
    if (c.period != EnrollPeriod::Month && !checkPeriod(c.dateFrom, c.dateTo, m_from))
        return false;
    const EnrollmentList list = currentList();
    setCurrentList(list);
    // A year holds a hundred thousand enrollments: the count and the first
    // page come at once, the rest as the list scrolls.
    runStream<EnrollmentStatusLine, qint64>(
        QStringLiteral("자료를 조회중입니다."), [c, list](const Db &db) { return enrollmentStatusCount(db, list, c); },
        [c, list](const Db &db, const EnrollmentStatusLine *after, int maxLines) {
            return enrollmentStatusPage(db, list, c, after, maxLines);
        },
        statusFormat(list), [this](qint64 &count) {
            m_count = count;
            setStatus(wonText(count) + QStringLiteral(" 건"));
        });
    return true;
}

ReportPrint EnrollmentStatusReport::printSpec() const
{
    const EnrollmentStatusCriteria c = readCriteria();
    ReportPrint p;
    const QString dates = c.dateFrom + QLatin1Char('~') + c.dateTo;
    const QString period = c.period == EnrollPeriod::Month   ? c.month
                           : c.period == EnrollPeriod::Dates ? dates
                                                             : QString(c.month + QStringLiteral(", ") + dates);
    p.title = exportName() + QStringLiteral(" (") + period + QLatin1Char(')');
    QStringList l2;
    if (c.period != EnrollPeriod::Dates)
        l2 << QStringLiteral("수강월 : ") + c.month;
    if (c.period != EnrollPeriod::Month)
        l2 << QStringLiteral("수강신청일 : ") + dates;
    p.line2 = l2.join(QStringLiteral("   "));
    p.line3 = QStringLiteral("강좌항목 : ") + chosenLabel(m_course) + QStringLiteral("  강좌구분 :") + chosenLabel(m_sclass);
    if (m_months->currentIndex() > 0)
        p.line3 += QStringLiteral("   개월수 : ") + m_months->currentText();
    if (!c.user.isEmpty())
        p.line3 += QStringLiteral("   담당자 : ") + m_user->currentText();
    return p;
}

} // namespace fitrova
