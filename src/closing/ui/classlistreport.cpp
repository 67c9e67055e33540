#include "closing/ui/classlistreport.h"

#include "data/dates.h"
#include "data/listitems.h"
#include "data/text.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"
#include "widgets/dateedit.h"
#include "widgets/deskguard.h"
#include "widgets/widgetutil.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>

namespace fitrova {

namespace {

struct ClassView {
    ClassList result;
    ReportTable table;
};

ReportTable classTable(const ClassList &list)
{
    ReportTable t;
    for (const ClassGroup &g : list.groups) {
        t.addSubtotal({g.pgName, g.time, g.lecturer});
        for (const ClassListLine &l : g.lines)
            t.add({l.mbCode, l.mbName, l.rqDate, l.sDate1 + QLatin1Char('~') + l.sDate2, QString::number(l.monthCnt),
                   l.tel1, wonText(l.tAmt), l.renewal ? QStringLiteral("재") : QStringLiteral("신규")},
                  l.ltid);
        t.addSubtotal({QStringLiteral("[소  계]"), wonText(g.lines.size()) + QStringLiteral(" 명"), QString(), QString(),
                       QString(), QString(), wonText(g.amount)});
    }
    t.addTotal({QStringLiteral("[총  계]"), wonText(list.count) + QStringLiteral(" 명"), QString(), QString(), QString(),
                QString(), wonText(list.amount)});
    return t;
}

QRadioButton *radio(QWidget *parent, const QString &name, const QString &text, bool checked = false)
{
    auto *r = new QRadioButton(text, parent);
    r->setObjectName(name);
    r->setChecked(checked);
    return r;
}

} // namespace

ClassListReport::ClassListReport(UiContext &ui, QWidget *parent)
    : ReportScreen(ui, parent, QStringLiteral("수강신청현황1"), QStringLiteral("강좌별 수강현황"))
{
    const QDate today = ui.app.clock().today();
    auto *period = new QButtonGroup(this);
    m_byMonth = radio(this, QStringLiteral("Opt1"), QStringLiteral("수강월"), true);
    m_byDates = radio(this, QStringLiteral("Opt2"), QStringLiteral("신청일자"));
    m_byBoth = radio(this, QStringLiteral("Opt3"), QStringLiteral("둘다"));
    for (QRadioButton *r : {m_byMonth, m_byDates, m_byBoth})
        period->addButton(r);
    auto *state = new QButtonGroup(this);
    m_enrolled = radio(this, QStringLiteral("Opt수강"), QStringLiteral("수강"), true);
    m_postponed = radio(this, QStringLiteral("Opt연기"), QStringLiteral("연기"));
    m_cancelled = radio(this, QStringLiteral("Opt취소"), QStringLiteral("취소"));
    for (QRadioButton *r : {m_enrolled, m_postponed, m_cancelled})
        state->addButton(r);
    auto *order = new QButtonGroup(this);
    m_byTime = radio(this, QStringLiteral("Opt시간순"), QStringLiteral("시간순"), true);
    m_byName = radio(this, QStringLiteral("Opt이름순"), QStringLiteral("과목순"));
    order->addButton(m_byTime);
    order->addButton(m_byName);
    m_month = new MonthEdit(this);
    m_month->setObjectName(QStringLiteral("CobYYMM"));
    m_month->setMonthText(fmtDate(today).left(7));
    m_from = new DateEdit(today.addDays(1 - today.day()), this);
    m_from->setObjectName(QStringLiteral("Dtp1"));
    m_to = new DateEdit(today, this);
    m_to->setObjectName(QStringLiteral("Dtp2"));
    m_course = reportCombo(this, QStringLiteral("CobCour"));
    m_months = reportCombo(this, QStringLiteral("Cob개월"), 80);
    m_months->addItems({QStringLiteral("0-모두보기"), QStringLiteral("1 개월"), QStringLiteral("3 개월"), QStringLiteral("6 개월"),
                        QStringLiteral("12개월")});
    m_lclass = reportCombo(this, QStringLiteral("CobLcl"), 90);
    m_mclass = reportCombo(this, QStringLiteral("CobMcl"), 90);
    m_sclass = reportCombo(this, QStringLiteral("CobScl"), 90);
    m_kind = reportCombo(this, QStringLiteral("Cob회원구분"), 90);
    m_kind->addItem(allItemText());
    if (const auto kinds = guard(ui, DbAction::Read, [&] { return memberKindItems(ui.app.main); }))
        m_kind->addItems(*kinds);
    m_lecturer = reportCombo(this, QStringLiteral("CobLect"));
    m_program = reportCombo(this, QStringLiteral("CobLec"), 220);

    QGridLayout *g = criteria();
    g->addWidget(caption(this, QStringLiteral("조회기간")), 0, 0);
    g->addLayout(reportRow({m_byMonth, m_month, m_byDates, m_from, new QLabel(QStringLiteral("~"), this), m_to, m_byBoth}),
                 0, 1, 1, 3);
    g->addWidget(caption(this, QStringLiteral("강좌항목")), 1, 0);
    g->addLayout(reportRow({m_course, m_lclass, m_mclass, m_sclass}), 1, 1);
    g->addWidget(caption(this, QStringLiteral("개월수")), 1, 2);
    g->addLayout(reportRow({m_months, new QLabel(QStringLiteral("회원구분"), this), m_kind}), 1, 3);
    g->addWidget(caption(this, QStringLiteral("강사")), 2, 0);
    g->addLayout(reportRow({m_lecturer, new QLabel(QStringLiteral("과목"), this), m_program}), 2, 1);
    g->addWidget(caption(this, QStringLiteral("구분")), 2, 2);
    g->addLayout(reportRow({m_enrolled, m_postponed, m_cancelled, new QLabel(QStringLiteral("  정렬"), this), m_byTime,
                            m_byName}),
                 2, 3);
    g->setColumnStretch(3, 1);

    setColumns({QStringLiteral("회원번호"), QStringLiteral("회원명"), QStringLiteral("신청일"), QStringLiteral("기간"),
                QStringLiteral("개월"), QStringLiteral("핸드폰"), QStringLiteral("금액"), QStringLiteral("구분")},
               {150, 110, 90, 170, 40, 110, 90, 50}, {4, 6}, {7});
    setSortable(false);
    linkProgramLists(ui, m_course, m_lecturer, m_program);
    courseChanged();
    connect(m_course, &QComboBox::currentIndexChanged, this, &ClassListReport::courseChanged);
    connect(m_lclass, &QComboBox::currentIndexChanged, this, &ClassListReport::lclassChanged);
}

void ClassListReport::courseChanged()
{
    const QString course = chosenCode(m_course);
    const ListItems all{{QStringLiteral("모두보기"), 0}};
    const Db &db = ui().app.main;
    const auto lists = guard(ui(), DbAction::Read, [&] {
        return std::pair(course.isEmpty() ? all : lclassItems(db, QStringLiteral("P"), course, true, ClassItemStyle::NameWithData),
                         course.isEmpty() ? all : sclassItems(db, QStringLiteral("P"), course, true, ClassItemStyle::NameWithData));
    });
    {
        const QSignalBlocker b(m_lclass);
        fillCombo(m_lclass, lists ? lists->first : all);
    }
    fillCombo(m_sclass, lists ? lists->second : all);
    lclassChanged();
}

void ClassListReport::lclassChanged()
{
    const QString course = chosenCode(m_course);
    const QVariant l = m_lclass->currentData();
    const QString lclass = l.toString() == QLatin1String("0") ? QString() : l.toString();
    const ListItems all{{QStringLiteral("모두보기"), 0}};
    if (course.isEmpty() || lclass.isEmpty()) {
        fillCombo(m_mclass, all);
        return;
    }
    if (const auto items = guard(ui(), DbAction::Read, [&] {
            return mclassItems(ui().app.main, QStringLiteral("P"), course, lclass, true, ClassItemStyle::NameWithData);
        }))
        fillCombo(m_mclass, *items);
}

bool ClassListReport::startQuery()
{
    ClassListCriteria c;
    c.period = m_byMonth->isChecked() ? EnrollPeriod::Month : m_byDates->isChecked() ? EnrollPeriod::Dates : EnrollPeriod::Both;
    c.month = m_month->monthText();
    c.dateFrom = m_from->dateText();
    c.dateTo = m_to->dateText();
    if (c.period != EnrollPeriod::Month && !checkPeriod(c.dateFrom, c.dateTo, m_from))
        return false;
    c.course = chosenCode(m_course);
    static const int months[] = {0, 1, 3, 6, 12};
    c.monthCnt = months[std::clamp(m_months->currentIndex(), 0, 4)];
    const auto dataCode = [](const QComboBox *cb) {
        const QString s = cb->currentData().toString();
        return s == QLatin1String("0") ? QString() : s;
    };
    c.lclass = dataCode(m_lclass);
    c.mclass = dataCode(m_mclass);
    c.sclass = dataCode(m_sclass);
    c.mbGubun = chosenCode(m_kind);
    c.ltCode = chosenCode(m_lecturer);
    c.pgid = m_program->currentData().toLongLong();
    c.state = m_enrolled->isChecked()    ? LectureStateChoice::Enrolled
              : m_postponed->isChecked() ? LectureStateChoice::Postponed
                                         : LectureStateChoice::Cancelled;
    c.byTime = m_byTime->isChecked();
    run<ClassView>(
        QStringLiteral("자료를 조회중입니다."),
        [c](const Db &db) {
            ClassView v;
            v.result = classList(db, c);
            v.table = classTable(v.result);
            return v;
        },
        [this](ClassView &v) {
            m_result = std::move(v.result);
            showTable(v.table);
            setStatus(wonText(m_result.count) + QStringLiteral(" 명"));
        });
    return true;
}

ReportPrint ClassListReport::printSpec() const
{
    ReportPrint p;
    p.title = QStringLiteral("수강신청현황(강사용)");
    const QString dates = m_from->dateText() + QLatin1Char('~') + m_to->dateText();
    if (!m_byDates->isChecked())
        p.line2 = QStringLiteral("수강월 : ") + m_month->monthText();
    if (!m_byMonth->isChecked())
        p.line2 += (p.line2.isEmpty() ? QString() : QStringLiteral("   ")) + QStringLiteral("수강신청일 : ") + dates;
    p.line3 = QStringLiteral("강좌항목 : ") + chosenLabel(m_course) + QStringLiteral("   강사 : ") + chosenLabel(m_lecturer)
        + QStringLiteral("   과목 : ") + chosenLabel(m_program);
    p.line4 = QStringLiteral("구분 : ")
        + (m_enrolled->isChecked() ? QStringLiteral("수강") : m_postponed->isChecked() ? QStringLiteral("연기") : QStringLiteral("취소"));
    p.landscape = false;
    return p;
}

} // namespace fitrova
