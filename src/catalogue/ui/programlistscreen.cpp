#include "catalogue/ui/programlistscreen.h"

#include "catalogue/programs.h"
#include "widgets/deskguard.h"
#include "catalogue/ui/courseitemscreen.h"
#include "catalogue/ui/programeditdialog.h"
#include "catalogue/ui/timeprogramdialog.h"
#include "data/codetexts.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"
#include "widgets/gridexport.h"
#include "widgets/gridprint.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace fitrova {

namespace {

enum Col {
    ColKind, ColCourse, ColName, ColMonths, ColTime, ColLecturer, ColMon, ColSun = ColMon + 6,
    ColMaxNum, ColCount, ColAmt1, ColAmt2, ColAmt3, ColPgCode, ColUse, ColTotal
};

const QString kTitle = QStringLiteral("강좌시간표");

} // namespace

ProgramListScreen::ProgramListScreen(UiContext &ui, QWidget *parent) : QWidget(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("강좌등록"));
    setWindowTitle(QStringLiteral("강좌등록"));

    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("SpProg"));
    m_grid->setColumns({QStringLiteral("구분"), QStringLiteral("강좌항목"), QStringLiteral("강좌명"),
                        QStringLiteral("개월"), QStringLiteral("강습시간"), QStringLiteral("강사"),
                        QStringLiteral("월"), QStringLiteral("화"), QStringLiteral("수"), QStringLiteral("목"),
                        QStringLiteral("금"), QStringLiteral("토"), QStringLiteral("일"), QStringLiteral("정원"),
                        QStringLiteral("사용시간"), QStringLiteral("강습료1"), QStringLiteral("강습료2"),
                        QStringLiteral("강습료3"), QStringLiteral("강좌코드"), QStringLiteral("사용")},
                       {46, 62, 128, 34, 96, 54, 21, 21, 21, 21, 21, 21, 21, 34, 52, 64, 64, 64, 64, 32});
    for (int c : {int(ColKind), int(ColMonths), int(ColTime), int(ColPgCode), int(ColUse)})
        m_grid->setColumnAlignment(c, Qt::AlignCenter);
    for (int c = ColMon; c <= ColSun; ++c)
        m_grid->setColumnAlignment(c, Qt::AlignCenter);
    for (int c : {int(ColMaxNum), int(ColCount), int(ColAmt1), int(ColAmt2), int(ColAmt3)})
        m_grid->setColumnAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
    // Rows of one program belong together: sorting by a column would part them.
    m_grid->setHeaderSorting(false);

    m_onlyInUse = new QCheckBox(QStringLiteral("사용하는 강좌만보기"), this);
    m_onlyInUse->setObjectName(QStringLiteral("Chk강좌사용"));

    QPushButton *cmdNew = commandButton(this, QStringLiteral("Cmd신규"), QStringLiteral("신규"));
    QPushButton *cmdTime = commandButton(this, QStringLiteral("Cmd시간제"), QStringLiteral("시간제신규"));
    QPushButton *cmdEdit = commandButton(this, QStringLiteral("Cmd수정"), QStringLiteral("수정"));
    QPushButton *cmdDelete = commandButton(this, QStringLiteral("Cmd삭제"), QStringLiteral("삭제"));
    QPushButton *cmdPrint = commandButton(this, QStringLiteral("Cmd인쇄"), QStringLiteral("인쇄"));
    QPushButton *cmdExcel = commandButton(this, QStringLiteral("Cmd엑셀"), QStringLiteral("엑셀"));
    QPushButton *cmdCourse = commandButton(this, QStringLiteral("Cmd강좌항목"), QStringLiteral("강좌항목"));
    QPushButton *cmdClose = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_onlyInUse);
    buttons->addStretch();
    for (QPushButton *b : {cmdNew, cmdTime, cmdEdit, cmdDelete, cmdPrint, cmdExcel, cmdCourse, cmdClose})
        buttons->addWidget(b);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(10, 10, 10, 10);
    outer->addWidget(m_grid, 1);
    outer->addLayout(buttons);
    resize(1000, 600);
    m_grid->setToolTip(QStringLiteral("두 번 누르면 수정, Delete 키로 삭제합니다."));

    connect(m_onlyInUse, &QCheckBox::toggled, this, [this] { refresh(currentPgid()); });
    connect(cmdNew, &QPushButton::clicked, this, &ProgramListScreen::newProgram);
    connect(cmdTime, &QPushButton::clicked, this, &ProgramListScreen::newTimeProgram);
    connect(cmdEdit, &QPushButton::clicked, this, &ProgramListScreen::editCurrent);
    connect(cmdDelete, &QPushButton::clicked, this, &ProgramListScreen::deleteCurrent);
    connect(cmdPrint, &QPushButton::clicked, this, &ProgramListScreen::printList);
    connect(cmdExcel, &QPushButton::clicked, this, &ProgramListScreen::exportList);
    connect(cmdCourse, &QPushButton::clicked, this, &ProgramListScreen::openCourseItems);
    connect(cmdClose, &QPushButton::clicked, this, [this] { closeScreen(this); });
    connect(m_grid, &DataGrid::rowActivated, this, [this](int) { editCurrent(); });
    connect(m_grid, &DataGrid::deleteRequested, this, [this](int) { deleteCurrent(); });

    refresh();
}

void ProgramListScreen::refresh(qint64 selectPgid)
{
    const QList<ProgramListRow> programs =
        guard(m_ui, DbAction::Read, [&] { return listProgramRows(m_ui.app.main, m_onlyInUse->isChecked()); })
            .value_or(QList<ProgramListRow>());
    QList<QStringList> rows;
    QVariantList keys;
    qint64 previous = -1;
    for (const ProgramListRow &p : programs) {
        QStringList cells(ColTotal);
        // The program's own cells on its first row only; the further rows
        // carry the other month counts of its fee table.
        if (p.pgId != previous) {
            cells[ColKind] = periodKindName(p.pgGubun);
            cells[ColCourse] = p.courseName;
            cells[ColName] = p.pgName;
            if (!p.time1.isEmpty() || !p.time2.isEmpty())
                cells[ColTime] = p.time1 + QStringLiteral(" - ") + p.time2;
            cells[ColLecturer] = p.ltName;
            for (int d = 0; d < 7; ++d)
                cells[ColMon + d] = p.days[size_t(d)] ? QStringLiteral("○") : QString();
            cells[ColMaxNum] = p.maxNum ? QString::number(p.maxNum) : QString();
            cells[ColCount] = p.pgCnt1 ? QString::number(p.pgCnt1) : QString();
            cells[ColPgCode] = p.pgCode;
            cells[ColUse] = p.pgUse == QLatin1String("1") ? QStringLiteral("○") : QString();
        }
        if (p.hasFee) {
            cells[ColMonths] = QString::number(p.monthCnt);
            cells[ColAmt1] = listAmountText(p.amt1);
            cells[ColAmt2] = listAmountText(p.amt2);
            cells[ColAmt3] = listAmountText(p.amt3);
        }
        rows.append(cells);
        keys.append(p.pgId);
        previous = p.pgId;
    }
    m_grid->setRows(rows, keys);
    // Each program's first row in a shade, so programs stand apart.
    previous = -1;
    bool shade = false;
    for (int r = 0; r < m_grid->rowCount(); ++r) {
        const qint64 id = m_grid->rowKey(r).toLongLong();
        if (id != previous)
            shade = !shade;
        if (!shade)
            m_grid->colorRow(r, QColor(0xF2, 0xF6, 0xFB));
        previous = id;
    }
    int row = selectPgid > 0 ? m_grid->findKey(selectPgid) : -1;
    if (row < 0 && m_grid->rowCount() > 0)
        row = 0;
    if (row >= 0)
        m_grid->setCurrentRow(row);
}

qint64 ProgramListScreen::currentPgid() const
{
    const int row = m_grid->currentRow();
    return row < 0 ? 0 : m_grid->rowKey(row).toLongLong();
}

void ProgramListScreen::newProgram()
{
    ProgramEditDialog dlg(m_ui, QStringLiteral("N"), 0, this, windowTitle());
    dlg.exec();
    if (dlg.TF)
        refresh(dlg.Pgid);
}

void ProgramListScreen::newTimeProgram()
{
    TimeProgramDialog dlg(m_ui, QStringLiteral("N"), 0, this);
    dlg.exec();
    if (dlg.TF)
        refresh(dlg.Pgid);
}

void ProgramListScreen::editCurrent()
{
    const qint64 id = currentPgid();
    if (id <= 0)
        return;
    const auto found = guard(m_ui, DbAction::Read, [&] { return loadProgram(m_ui.app.main, id); });
    if (!found)
        return;
    const std::optional<Program> &p = *found;
    if (!p) {
        refresh();
        return;
    }
    bool saved = false;
    if (p->pgGubun == QLatin1String("2") || p->pgGubun == QLatin1String("3")) {
        TimeProgramDialog dlg(m_ui, QStringLiteral("C"), id, this);
        dlg.exec();
        saved = dlg.TF;
    } else {
        ProgramEditDialog dlg(m_ui, QStringLiteral("C"), id, this, windowTitle());
        dlg.exec();
        saved = dlg.TF;
    }
    if (saved)
        refresh(id);
}

void ProgramListScreen::deleteCurrent()
{
    const qint64 id = currentPgid();
    if (id <= 0)
        return;
    const auto found = guard(m_ui, DbAction::Delete, [&] { return loadProgram(m_ui.app.main, id); });
    if (!found)
        return;
    if (!*found) {
        refresh();
        return;
    }
    if (!m_ui.msg.ask(deleteProgramQuestion((*found)->pgName), QStringLiteral("자료삭제")))
        return;
    const auto r = guard(m_ui, DbAction::Delete, [&] { return deleteProgram(m_ui.app.main, id); });
    if (r && showOutcome(m_ui, *r))
        refresh();
}

void ProgramListScreen::printList()
{
    const QString line2 = m_onlyInUse->isChecked() ? QStringLiteral("사용하는 강좌") : QString();
    printGridPreview(*m_grid, kTitle, line2, QString(), QString(), true, 0, 1, 0, m_ui.app.business.name);
}

void ProgramListScreen::exportList()
{
    exportGridForUser(m_ui, kTitle, *m_grid);
}

void ProgramListScreen::openCourseItems()
{
    CourseItemScreen dlg(m_ui, this);
    dlg.exec();
    if (dlg.TF)
        refresh(currentPgid());
}

} // namespace fitrova
