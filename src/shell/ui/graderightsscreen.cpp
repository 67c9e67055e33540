#include "shell/ui/graderightsscreen.h"

#include "shell/ui/gradelistscreen.h"
#include "shell/users.h"
#include "data/listitems.h"
#include "widgets/datagrid.h"
#include "widgets/deskguard.h"
#include "widgets/widgetutil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QVBoxLayout>

namespace fitrova {

namespace {
enum Col { ColId, ColBun, ColName };
}

GradeRightsScreen::GradeRightsScreen(UiContext &ui, QWidget *parent) : QWidget(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("등급별프로그램설정"));
    setWindowTitle(QStringLiteral("사용프로그램 설정"));

    m_cobGrd = new QComboBox(this);
    m_cobGrd->setObjectName(QStringLiteral("CobGrd"));
    m_cobGrd->setMinimumWidth(180);
    auto *cmdGrade = new QPushButton(QStringLiteral("등급"), this);
    cmdGrade->setObjectName(QStringLiteral("Cmd등급"));
    m_chkAll = new QCheckBox(QStringLiteral("전체선택"), this);
    m_chkAll->setObjectName(QStringLiteral("Chk1"));

    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("권한등급"), this));
    top->addWidget(m_cobGrd);
    top->addWidget(cmdGrade);
    top->addStretch();
    top->addWidget(m_chkAll);

    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("SpPGLST"));
    m_grid->setup();
    m_grid->setHeaderSorting(false);
    m_grid->setColumns({QStringLiteral("코드"), QStringLiteral("분류"), QStringLiteral("프로그램명"),
                        QStringLiteral("사용")},
                       {50, 130, 290, 50});
    m_grid->setColumnAlignment(ColId, Qt::AlignCenter);
    m_grid->setCheckColumn(kCheckColumn);
    m_grid->setColumnEditable(kCheckColumn);
    m_grid->setMinimumSize(560, 420);

    auto *cmdClose = new QPushButton(QStringLiteral("닫기"), this);
    cmdClose->setObjectName(QStringLiteral("Cmd닫기"));
    cmdClose->setMinimumSize(88, 32);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(cmdClose);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(10, 10, 10, 10);
    outer->addLayout(top);
    outer->addWidget(m_grid, 1);
    outer->addLayout(bottom);
    resize(600, 560);

    connect(m_cobGrd, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling)
            display();
    });
    connect(m_chkAll, &QCheckBox::clicked, this, &GradeRightsScreen::onAllClicked);
    connect(m_grid, &DataGrid::cellEdited, this, &GradeRightsScreen::onCellEdited);
    connect(m_grid, &DataGrid::deleteRequested, this, &GradeRightsScreen::deleteRow);
    connect(cmdGrade, &QPushButton::clicked, this, &GradeRightsScreen::openGrades);
    connect(cmdClose, &QPushButton::clicked, this, [this] {
        if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
            sub->close();
        else
            close();
    });

    fillGrades({});
    display();
}

QString GradeRightsScreen::grade() const { return m_cobGrd->currentText().left(1); }

void GradeRightsScreen::fillGrades(const QString &select)
{
    m_filling = true;
    fillCombo(m_cobGrd, guard(m_ui, DbAction::Read, [&] { return gradeItems(m_ui.app.main); }).value_or(ListItems()));
    for (int i = 0; i < m_cobGrd->count(); ++i)
        if (!select.isEmpty() && m_cobGrd->itemText(i).startsWith(select + QLatin1Char('-'))) {
            m_cobGrd->setCurrentIndex(i);
            break;
        }
    m_filling = false;
}

void GradeRightsScreen::display()
{
    m_filling = true;
    const Db &db = m_ui.app.main2.isValid() ? m_ui.app.main2 : m_ui.app.main;
    const QList<ProgramRight> programs =
        guard(m_ui, DbAction::Read, [&] { return gradePrograms(db, grade()); }).value_or(QList<ProgramRight>());
    QList<QStringList> rows;
    QVariantList keys;
    bool all = !programs.isEmpty();
    for (const ProgramRight &p : programs) {
        rows.append({p.pgId, p.bunName, p.pgName, p.granted ? QStringLiteral("1") : QStringLiteral("0")});
        keys.append(p.pgId);
        all = all && p.granted;
    }
    const int keep = m_grid->currentRow();
    m_grid->setRows(rows, keys);
    if (keep >= 0 && keep < m_grid->rowCount())
        m_grid->setCurrentRow(keep);
    m_chkAll->setChecked(all);
    m_filling = false;
}

void GradeRightsScreen::onCellEdited(int row, int col)
{
    if (m_filling || col != kCheckColumn || row < 0)
        return;
    const bool saved = guard(m_ui, DbAction::Save, [&] {
        setGradeProgram(m_ui.app.main, grade(), m_grid->rowKey(row).toString(), m_grid->isChecked(row, col));
    });
    if (!saved)
        display();
}

void GradeRightsScreen::onAllClicked(bool checked)
{
    if (m_filling)
        return;
    guard(m_ui, DbAction::Save, [&] { setAllGradePrograms(m_ui.app.main, grade(), checked); });
    display();
}

void GradeRightsScreen::deleteRow(int row)
{
    if (row < 0 || row >= m_grid->rowCount())
        return;
    if (!m_ui.msg.ask(QString::fromUtf8(kDeleteAskText), QStringLiteral("자료삭제")))
        return;
    guard(m_ui, DbAction::Delete, [&] { return removeProgramFromList(m_ui.app.main, m_grid->rowKey(row).toString()); });
    display();
}

void GradeRightsScreen::openGrades()
{
    auto *dlg = new GradeListScreen(m_ui, this);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    connect(dlg, &QDialog::finished, this, [this] {
        fillGrades(grade());
        display();
    });
    dlg->open();
}

} // namespace fitrova
