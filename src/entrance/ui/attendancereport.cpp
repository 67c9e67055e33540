#include "entrance/ui/attendancereport.h"

#include "data/dates.h"
#include "data/text.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"
#include "widgets/dateedit.h"
#include "widgets/deskguard.h"

#include <QColor>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace fitrova {

namespace {

const QString kGateMark = QStringLiteral("○");
const QString kManualMark = QStringLiteral("◎");

struct SheetView {
    AttendanceSheet sheet;
    ReportTable table;
};

ReportTable sheetTable(const AttendanceSheet &s)
{
    ReportTable t;
    for (const AttendanceSheetLine &l : s.lines) {
        QStringList cells{l.member.mbName, l.member.tel1.isEmpty() ? l.tel2 : l.member.tel1,
                          l.ltGubun == QLatin1String("3") ? QStringLiteral("연기 ") + l.sDate2 : l.sDate2};
        for (DayMark m : l.days)
            cells << (m == DayMark::Gate ? kGateMark : m == DayMark::Manual ? kManualMark : QString());
        cells << QString::number(l.visitDays);
        t.add(cells, l.ltid);
    }
    QStringList total{QStringLiteral("합계"), wonText(s.lines.size()) + QStringLiteral(" 명"), QString()};
    for (int n : s.perDay)
        total << (n ? QString::number(n) : QString());
    total << QString::number(s.total);
    t.addTotal(total);
    return t;
}

} // namespace

AttendanceReport::AttendanceReport(UiContext &ui, QWidget *parent, MemberHandover sendSms)
    : ReportScreen(ui, parent, QStringLiteral("출석현황"), QStringLiteral("회원출석현황 조회")), m_sendSms(std::move(sendSms))
{
    m_month = new MonthEdit(this);
    m_month->setObjectName(QStringLiteral("CobYYMM"));
    m_month->setMonthText(fmtDate(ui.app.clock().today()).left(7));
    m_course = reportCombo(this, QStringLiteral("CobCour"));
    m_lecturer = reportCombo(this, QStringLiteral("CobLect"));
    m_program = reportCombo(this, QStringLiteral("CobLec"), 220);
    QGridLayout *g = criteria();
    g->addWidget(caption(this, QStringLiteral("수강년월")), 0, 0);
    g->addWidget(m_month, 0, 1);
    g->addWidget(caption(this, QStringLiteral("강좌항목")), 0, 2);
    g->addWidget(m_course, 0, 3);
    g->addWidget(caption(this, QStringLiteral("강사")), 1, 0);
    g->addWidget(m_lecturer, 1, 1);
    g->addWidget(caption(this, QStringLiteral("과목")), 1, 2);
    g->addWidget(m_program, 1, 3);
    g->setColumnStretch(4, 1);

    QPushButton *sms = addCommand(QStringLiteral("Cmd문자전송"), QStringLiteral("문자전송"));
    connect(sms, &QPushButton::clicked, this, &AttendanceReport::sendSms);
    setSortable(false);
    setNote(QStringLiteral(";해당일자에서 더블클릭을 하면 수동출석 등록을 할수 있읍니다.   ") + kGateMark
            + QStringLiteral(" 입장  ") + kManualMark + QStringLiteral(" 수동출석"));
    QStringList headers{QStringLiteral("회원명"), QStringLiteral("전화번호"), QStringLiteral("종료일")};
    QList<int> widths{62, 106, 80}, centred;
    for (int d = 1; d <= 31; ++d) {
        centred << int(headers.size());
        headers << QStringLiteral("%1").arg(d, 2, 10, QLatin1Char('0'));
        widths << 22;
    }
    headers << QStringLiteral("출석");
    widths << 36;
    setColumns(headers, widths, {int(headers.size()) - 1}, centred);

    linkProgramLists(ui, m_course, m_lecturer, m_program, false);
    connect(grid(), &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex &index) { dayActivated(index.row(), index.column()); });
}

bool AttendanceReport::startQuery()
{
    AttendanceCriteria c;
    c.month = m_month->monthText();
    c.course = chosenCode(m_course);
    if (c.course.isEmpty()) {
        ui().msg.info(QStringLiteral("강좌항목을 선택하여 주십시요."), QStringLiteral("강좌항목"));
        m_course->setFocus();
        return false;
    }
    c.ltCode = chosenCode(m_lecturer);
    c.pgid = m_program->currentData().toLongLong();
    run<SheetView>(
        QStringLiteral("자료를 정렬중 입니다."),
        [c](const Db &db) {
            SheetView v;
            v.sheet = attendanceSheet(db, c);
            v.table = sheetTable(v.sheet);
            return v;
        },
        [this, c](SheetView &v) {
            m_sheet = std::move(v.sheet);
            m_shown = c;
            for (int d = 1; d <= 31; ++d)
                grid()->setColumnHidden(dayColumn(d), d > m_sheet.daysInMonth);
            showTable(v.table);
            for (int r = 0; r < m_sheet.lines.size(); ++r)
                for (int d = 1; d <= m_sheet.daysInMonth; ++d)
                    if (m_sheet.lines[r].days[d - 1] == DayMark::Manual)
                        grid()->setCellForeground(r, dayColumn(d), QColor(0x1F, 0x4E, 0xD8));
            setStatus(wonText(m_sheet.lines.size()) + QStringLiteral(" 명"));
        });
    return true;
}

bool AttendanceReport::dayActivated(int row, int column)
{
    const int day = column - dayColumn(1) + 1;
    if (row < 0 || row >= m_sheet.lines.size() || day < 1 || day > m_sheet.daysInMonth || isBusy())
        return false;
    const AttendanceSheetLine &line = m_sheet.lines.at(row);
    const QString date = m_shown.month + QStringLiteral("-%1").arg(day, 2, 10, QLatin1Char('0'));
    const QString title = manualAttendanceTitle();
    std::optional<Outcome> o;
    switch (line.days.at(day - 1)) {
    case DayMark::Gate:
        ui().msg.info(QStringLiteral("이미 입장한 일자입니다."), title);
        return false;
    case DayMark::Manual:
        if (!ui().msg.ask(date + QStringLiteral(" ") + line.member.mbName + QStringLiteral(" 회원의 수동출석을 취소하시겠읍니까?"),
                          title))
            return false;
        o = guard(ui(), DbAction::Delete, [&] { return removeManualAttendance(ui().app.main, line.ltid, date); });
        break;
    case DayMark::None:
        if (!ui().msg.ask(date + QStringLiteral(" ") + line.member.mbName + QStringLiteral(" 회원을 수동출석 처리하시겠읍니까?"),
                          title))
            return false;
        o = guard(ui(), DbAction::Save,
                  [&] { return addManualAttendance(ui().app.main, line.ltid, date, ui().app.clock().now()); });
        break;
    }
    if (!o || !showOutcome(ui(), *o))
        return false;
    query();
    return true;
}

void AttendanceReport::sendSms()
{
    runHandover(ui(), m_sendSms, m_sheet.contacts(), QStringLiteral("문자전송"), this);
}

ReportPrint AttendanceReport::printSpec() const
{
    ReportPrint p;
    p.title = QStringLiteral("회원출석현황");
    p.line2 = QStringLiteral("수강년월 : ") + m_month->monthText();
    p.line3 = QStringLiteral("강좌항목 : ") + chosenLabel(m_course) + QStringLiteral("   강사 : ") + chosenLabel(m_lecturer)
        + QStringLiteral("   과목 : ") + chosenLabel(m_program);
    return p;
}

} // namespace fitrova
