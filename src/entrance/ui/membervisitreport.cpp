#include "entrance/ui/membervisitreport.h"

#include "data/dates.h"
#include "data/text.h"
#include "entrance/gatelists.h"
#include "members/memberstore.h"
#include "members/ui/memberpickdialog.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"
#include "widgets/dateedit.h"
#include "widgets/deskguard.h"
#include "widgets/widgetutil.h"

#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace fitrova {

namespace {

struct MemberVisitView {
    QList<MemberVisitLine> visits;
    QList<MemberEnrollmentLine> lectures;
    QList<AttendanceMark> marks;
    ReportTable table;
};

} // namespace

MemberVisitReport::MemberVisitReport(UiContext &ui, QWidget *parent)
    : ReportScreen(ui, parent, QStringLiteral("회원별입장현황"), QStringLiteral("회원별 입장현황"))
{
    const QDate today = ui.app.clock().today();
    m_kind = reportCombo(this, QStringLiteral("CobGubun"), 100);
    m_kind->addItems(memberSearchKindItems());
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("TxtSearch"));
    m_search->setMaxLength(20);
    m_search->setFixedWidth(130);
    QPushButton *find = commandButton(this, QStringLiteral("Cmd찾기"), QStringLiteral("찾기"), 60);
    m_name = displayPanel(this, QStringLiteral("PnlMbName"), 90);
    m_code = displayPanel(this, QStringLiteral("PnlMbCode"), 80);
    m_card = displayPanel(this, QStringLiteral("PnlMbCard"), 90);
    m_from = new DateEdit(today.addMonths(-1).addDays(1), this);
    m_from->setObjectName(QStringLiteral("Dtp1"));
    m_to = new DateEdit(today, this);
    m_to->setObjectName(QStringLiteral("Dtp2"));
    m_twice = new QCheckBox(QStringLiteral("1일 2회이상 입장내역만 출력"), this);
    m_twice->setObjectName(QStringLiteral("Chk2회이상"));

    QGridLayout *g = criteria();
    g->addWidget(caption(this, QStringLiteral("회원찾기")), 0, 0);
    g->addLayout(reportRow({m_kind, m_search, find}), 0, 1);
    g->addWidget(caption(this, QStringLiteral("회원")), 0, 2);
    g->addLayout(reportRow({m_name, m_code, new QLabel(QStringLiteral("카드"), this), m_card}), 0, 3);
    g->addWidget(caption(this, QStringLiteral("기간")), 1, 0);
    g->addLayout(reportRange(m_from, m_to), 1, 1);
    g->addWidget(m_twice, 1, 3);
    g->setColumnStretch(3, 1);

    setColumns({QStringLiteral("일자"), QStringLiteral("요일"), QStringLiteral("입장시간"), QStringLiteral("퇴장시간"),
                QStringLiteral("수강과목"), QStringLiteral("메모")},
               {86, 36, 64, 64, 190, 80}, {}, {1, 2, 3});
    setSortable(false);

    // The calendar of a month and the member's enrollments, beside the visits.
    auto *side = new QWidget(this);
    auto *sideLay = new QVBoxLayout(side);
    sideLay->setContentsMargins(0, 0, 0, 0);
    m_month = new MonthEdit(side);
    m_month->setObjectName(QStringLiteral("CobYYMM"));
    m_month->setMonthText(fmtDate(today).left(7));
    m_calendar = new DataGrid(side);
    m_calendar->setObjectName(QStringLiteral("SpCal"));
    m_calendar->setColumns({QStringLiteral("일"), QStringLiteral("월"), QStringLiteral("화"), QStringLiteral("수"),
                            QStringLiteral("목"), QStringLiteral("금"), QStringLiteral("토")},
                           {40, 40, 40, 40, 40, 40, 40});
    for (int c = 0; c < 7; ++c)
        m_calendar->setColumnAlignment(c, Qt::AlignCenter);
    m_calendar->setHeaderSorting(false);
    m_calendar->setFixedHeight(190);
    m_lectures = new DataGrid(side);
    m_lectures->setObjectName(QStringLiteral("SpLect"));
    m_lectures->setColumns({QStringLiteral("강좌"), QStringLiteral("프로그램"), QStringLiteral("시간"), QStringLiteral("기간"),
                            QStringLiteral("신청일"), QStringLiteral("개월"), QStringLiteral("금액"), QStringLiteral("비고")},
                           {56, 130, 86, 170, 84, 36, 70, 90});
    m_lectures->setColumnAlignment(5, Qt::AlignRight);
    m_lectures->setColumnAlignment(6, Qt::AlignRight);
    sideLay->addLayout(reportRow({new QLabel(QStringLiteral("입장월"), side), m_month}));
    sideLay->addWidget(m_calendar);
    sideLay->addWidget(new QLabel(QStringLiteral("수강내역"), side));
    sideLay->addWidget(m_lectures, 1);
    addPane(side, 1);
    setPaneSizes({540, 470});
    setNote(QStringLiteral("입장내역에서 Delete 키를 누르면 선택한 입장자료를 삭제할수 있읍니다."));

    excludeFromEnterAsTab(m_search);
    connect(m_search, &QLineEdit::returnPressed, this, [this] { searchMember(); });
    connect(find, &QPushButton::clicked, this, [this] { searchMember(); });
    connect(m_month, &MonthEdit::monthTextChanged, this, [this] {
        if (!m_mbCode.isEmpty())
            query();
    });
    connect(grid(), &DataGrid::deleteRequested, this, [this](int row) { deleteRow(row); });
}

void MemberVisitReport::takeMember(const QString &code, const QString &name, const QString &card)
{
    m_mbCode = code;
    m_mbName = name;
    m_mbCard = card;
    m_code->setText(code);
    m_name->setText(name);
    m_card->setText(card);
}

bool MemberVisitReport::searchMember()
{
    const QString text = m_search->text().trimmed();
    if (text.isEmpty()) {
        m_search->setFocus();
        return false;
    }
    const MemberSearchKind kind = memberSearchKindOf(m_kind->currentText());
    const auto found = guard(ui(), DbAction::Read, [&] { return searchMembers(ui().app.main, kind, text); });
    if (!found)
        return false;
    if (found->isEmpty()) {
        ui().msg.info(QStringLiteral("해당회원을 찾을수 없읍니다."), QStringLiteral("회원찾기"));
        m_search->setFocus();
        m_search->selectAll();
        return false;
    }
    const MemberRecord *m = &found->first();
    if (found->size() > 1) {
        MemberPickDialog dlg(ui(), *found, this);
        dlg.exec();
        if (!dlg.TF)
            return false;
        for (const MemberRecord &r : *found)
            if (r.mbCode == dlg.MbCode)
                m = &r;
    }
    takeMember(m->mbCode, m->mbName, m->mbCard);
    return query();
}

void MemberVisitReport::applyScreenArgs(const ScreenArgs &args)
{
    const QString code = args.value(QStringLiteral("MbCode")).toString();
    if (code.isEmpty())
        return;
    m_kind->setCurrentIndex(int(MemberSearchKind::Code) - 1);
    m_search->setText(code);
    searchMember();
}

bool MemberVisitReport::startQuery()
{
    if (m_mbCode.isEmpty()) {
        ui().msg.info(QStringLiteral("회원을 먼저 찾아 주십시요."), QStringLiteral("회원찾기"));
        m_search->setFocus();
        return false;
    }
    MemberVisitCriteria c;
    c.mbCode = m_mbCode;
    c.dateFrom = m_from->dateText();
    c.dateTo = m_to->dateText();
    if (!checkPeriod(c.dateFrom, c.dateTo, m_from))
        return false;
    c.twiceADayOnly = m_twice->isChecked();
    const QDate month = m_month->date();
    run<MemberVisitView>(
        QStringLiteral("자료를 조회중입니다."),
        [c, month](const Db &db) {
            MemberVisitView v;
            v.visits = memberVisits(db, c);
            v.lectures = memberEnrollments(db, c.mbCode);
            v.marks = markAttendanceCalendar(db, month.year(), month.month(), c.mbCode);
            for (const MemberVisitLine &l : v.visits)
                v.table.add({l.inDate, l.weekday, l.inTime, l.outTime, l.pgName, l.memo}, l.entid);
            v.table.addTotal({QStringLiteral("[ 합 계 ]"), QString(), QString(), QString(),
                              wonText(v.visits.size()) + QStringLiteral(" 회")});
            return v;
        },
        [this, month](MemberVisitView &v) {
            m_visits = std::move(v.visits);
            showTable(v.table);
            setStatus(wonText(m_visits.size()) + QStringLiteral(" 회"));
            m_calendar->clearRows();
            m_calendar->setRowCount(6);
            const int offset = month.dayOfWeek() % 7;
            for (int d = 1; d <= month.daysInMonth(); ++d) {
                const int cell = offset + d - 1;
                m_calendar->setCell(cell / 7, cell % 7, QString::number(d));
            }
            for (const AttendanceMark &m : v.marks) {
                m_calendar->setCell(m.row, m.column, QString::number(m.day) + QStringLiteral(" ●"));
                m_calendar->setCellBackground(m.row, m.column, QColor(0xFF, 0xE0, 0x8A));
            }
            QList<QStringList> rows;
            QVariantList keys;
            for (const MemberEnrollmentLine &l : v.lectures) {
                rows << QStringList{l.courseName, l.pgName, l.time, l.sDate1 + QLatin1Char('~') + l.sDate2, l.rqDate,
                                    QString::number(l.monthCnt), wonText(l.tAmt), l.remark};
                keys << l.ltid;
            }
            m_lectures->setRows(rows, keys);
        });
    return true;
}

bool MemberVisitReport::deleteRow(int row)
{
    const qint64 entid = grid()->rowKey(row).toLongLong();
    if (entid <= 0 || grid()->isTotalRow(row))
        return false;
    if (!ui().msg.ask(visitDeleteAskText(), visitDeleteAskTitle()))
        return false;
    const auto deleted = guard(ui(), DbAction::Delete, [&] { return deleteVisit(ui().app.main, entid); });
    if (!deleted)
        return false;
    // False: another desk deleted it meanwhile; the list shows what is left.
    query();
    return *deleted;
}

ReportPrint MemberVisitReport::printSpec() const
{
    ReportPrint p;
    p.title = QStringLiteral("회원별 입장현황");
    p.line2 = QStringLiteral("기간 : ") + periodText(m_from->dateText(), m_to->dateText());
    p.line3 = QStringLiteral("   카드번호: ") + m_mbCard + QStringLiteral("  회원명: ") + m_mbName
        + QStringLiteral("  회원번호: ") + m_mbCode;
    p.landscape = false;
    return p;
}

} // namespace fitrova
