#include "lockers/ui/lockerreportscreen.h"

#include "lockers/ui/lockerui.h"
#include "widgets/busynotice.h"
#include "widgets/datagrid.h"
#include "widgets/dateedit.h"
#include "widgets/deskguard.h"
#include "widgets/gridexport.h"
#include "widgets/gridprint.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace fitrova {

namespace {

const LockerReportKind kKinds[] = {LockerReportKind::Rentals, LockerReportKind::Renewals, LockerReportKind::All,
                                   LockerReportKind::Cancellations};
const char *const kGridNames[] = {"Sp신청현황", "Sp재등록현황", "Sp전체현황", "Sp취소현황"};

QList<int> widthsOf(LockerReportKind kind)
{
    QList<int> w{110, 44, 190, 50, 84, 70, 70};
    const int money = int(lockerReportHeaders(kind).size()) - 7 - 3;
    for (int i = 0; i < money; ++i)
        w << 76;
    w << 124 << 104 << 104;
    return w;
}

} // namespace

LockerReportScreen::LockerReportScreen(UiContext &ui, QWidget *parent) : QWidget(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("사물함신청현황"));
    setWindowTitle(QStringLiteral("사물함 신청현황"));
    const QDate today = ui.app.clock().today();

    m_from = dayField(this, QStringLiteral("TxtDate1"), QDate(today.year(), today.month(), 1));
    m_to = dayField(this, QStringLiteral("TxtDate2"), today);
    m_group = new QComboBox(this);
    m_group->setObjectName(QStringLiteral("Cob사물함"));
    m_group->setMinimumWidth(200);
    auto *cmdQuery = commandButton(this, QStringLiteral("Cmd조회"), QStringLiteral("조회"), 64);
    auto *cmdPrint = commandButton(this, QStringLiteral("Cmd인쇄"), QStringLiteral("인쇄"), 64);
    auto *cmdExcel = commandButton(this, QStringLiteral("Cmd엑셀"), QStringLiteral("엑셀"), 64);
    auto *cmdClose = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"), 64);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("Tab"));
    for (int i = 0; i < 4; ++i) {
        const LockerReportKind kind = kKinds[i];
        auto *g = new DataGrid(this);
        g->setObjectName(QString::fromUtf8(kGridNames[i]));
        const QStringList headers = lockerReportHeaders(kind);
        g->setColumns(headers, widthsOf(kind));
        for (int c = 7; c < headers.size() - 3; ++c)
            g->setColumnAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
        for (int c : {1, 3, 4, 5})
            g->setColumnAlignment(c, Qt::AlignCenter);
        g->setHeaderSorting(false);
        m_grids[i] = g;
        m_tabs->addTab(g, lockerReportTitle(kind));
        connect(g, &DataGrid::rowActivated, this, [this, g](int row) {
            const qint64 rqid = g->rowKey(row).toLongLong();
            if (rqid <= 0)
                return;
            m_ui.openScreen(QStringLiteral("사물함수정"), {{QStringLiteral("Rqid"), rqid}});
            query();
        });
    }

    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("신청일자 : "), this));
    top->addWidget(m_from);
    top->addWidget(new QLabel(QStringLiteral(" ~ "), this));
    top->addWidget(m_to);
    top->addSpacing(12);
    top->addWidget(new QLabel(QStringLiteral("사물함구분 : "), this));
    top->addWidget(m_group);
    top->addStretch();
    for (QPushButton *b : {cmdQuery, cmdPrint, cmdExcel, cmdClose})
        top->addWidget(b);
    auto *lay = new QVBoxLayout(this);
    lay->setContentsMargins(6, 6, 6, 6);
    lay->addLayout(top);
    lay->addWidget(m_tabs, 1);

    connect(cmdQuery, &QPushButton::clicked, this, &LockerReportScreen::query);
    connect(cmdPrint, &QPushButton::clicked, this, &LockerReportScreen::print);
    connect(cmdExcel, &QPushButton::clicked, this, &LockerReportScreen::exportExcel);
    connect(cmdClose, &QPushButton::clicked, this, [this] { closeScreen(this); });

    const auto groups = guard(m_ui, DbAction::Read, [&] { return lockerGroups(m_ui.app.main); });
    fillGroupCombo(m_group, groups.value_or(QList<LockerGroup>{}), QStringLiteral("A-ALL"));
}

LockerReportKind LockerReportScreen::currentKind() const { return kKinds[std::max(0, m_tabs->currentIndex())]; }

void LockerReportScreen::showTab(LockerReportKind kind)
{
    for (int i = 0; i < 4; ++i)
        if (kKinds[i] == kind)
            m_tabs->setCurrentIndex(i);
}

LockerReportCriteria LockerReportScreen::criteria() const
{
    return {m_from->dateText(), m_to->dateText(), selectedGroupCode(m_group)};
}

void LockerReportScreen::query()
{
    if (m_to->dateText() < m_from->dateText()) {
        m_ui.msg.warn(QStringLiteral("조회기간을 확인하여 주십시요."), QStringLiteral("조회"));
        m_from->setFocus();
        return;
    }
    BusyScope busy(QStringLiteral("자료를 준비중 입니다"), this);
    const LockerReportCriteria c = criteria();
    for (int i = 0; i < 4; ++i) {
        DataGrid *g = m_grids[i];
        g->clearRows();
        const auto rows = guard(m_ui, DbAction::Read, [&] { return loadLockerReport(m_ui.app.main, kKinds[i], c); });
        if (!rows)
            return;
        QList<QStringList> cells;
        QVariantList keys;
        const QList<ReportLine> lines = buildLockerReport(kKinds[i], *rows);
        for (const ReportLine &l : lines) {
            cells << l.cells;
            keys << l.rqid;
        }
        g->setRows(cells, keys);
        for (int r = 0; r < lines.size(); ++r)
            if (lines[r].level != ReportLine::Row)
                g->setTotalRow(r, lines[r].level == ReportLine::Total ? DataGrid::totalBackColor()
                                                                     : QColor(0xEE, 0xF4, 0xFB));
    }
}

void LockerReportScreen::print()
{
    DataGrid *g = grid(currentKind());
    printGridPreview(*g, lockerReportTitle(currentKind()),
                     QStringLiteral("신청일자 : ") + m_from->dateText() + QStringLiteral(" ~ ") + m_to->dateText(),
                     QStringLiteral("사물함구분 : ") + m_group->currentText(), QString(), true, -1, 0, -1,
                     m_ui.app.business.name);
}

void LockerReportScreen::exportExcel()
{
    exportGridForUser(m_ui, lockerReportTitle(currentKind()).remove(QLatin1Char(' ')), *grid(currentKind()));
}

} // namespace fitrova
