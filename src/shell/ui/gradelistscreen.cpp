#include "shell/ui/gradelistscreen.h"

#include "shell/users.h"
#include "widgets/datagrid.h"
#include "widgets/deskguard.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace fitrova {

namespace {
enum Col { ColCode, ColName };
}

GradeListScreen::GradeListScreen(UiContext &ui, QWidget *parent) : QDialog(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("권한등급"));
    setWindowTitle(QStringLiteral("권한등급"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("SpGrd"));
    m_grid->setup();
    m_grid->setHeaderSorting(false);
    m_grid->setColumns({QStringLiteral("코드"), QStringLiteral("등급명")}, {60, 240});
    m_grid->setColumnAlignment(ColCode, Qt::AlignCenter);
    m_grid->setColumnEditable(ColCode);
    m_grid->setColumnEditable(ColName);
    m_grid->setMinimumSize(310, 260);

    auto *cmdClose = new QPushButton(QStringLiteral("닫기"), this);
    cmdClose->setObjectName(QStringLiteral("Cmd닫기"));
    cmdClose->setMinimumSize(88, 32);
    cmdClose->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdClose);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(10, 10, 10, 10);
    outer->addWidget(m_grid, 1);
    outer->addLayout(buttons);
    resize(340, 360);

    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_grid, &DataGrid::rowEdited, this, &GradeListScreen::saveRow);
    connect(m_grid, &DataGrid::deleteRequested, this, &GradeListScreen::deleteRow);

    reload();
}

void GradeListScreen::reload(const QString &selectCode)
{
    m_reloading = true;
    const int keepRow = m_grid->currentRow();
    const QList<GradeRow> grades =
        guard(m_ui, DbAction::Read, [&] { return listGrades(m_ui.app.main); }).value_or(QList<GradeRow>());
    QList<QStringList> rows;
    QVariantList keys;
    for (const GradeRow &g : grades) {
        rows.append({g.grCode, g.grName});
        keys.append(g.grCode);
    }
    rows.append({QString(), QString()}); // the row that takes a new grade
    keys.append(QString());
    m_grid->setRows(rows, keys);
    m_grid->discardEditedRow();
    int row = selectCode.isEmpty() ? keepRow : m_grid->findKey(selectCode);
    if (row >= m_grid->rowCount())
        row = m_grid->rowCount() - 1;
    if (row >= 0)
        m_grid->setCurrentRow(row, ColCode);
    m_reloading = false;
}

void GradeListScreen::saveRow(int row)
{
    if (m_reloading || row < 0 || row >= m_grid->rowCount())
        return;
    const QString oldCode = m_grid->rowKey(row).toString();
    const QString code = m_grid->cell(row, ColCode).trimmed();
    const QString name = m_grid->cell(row, ColName).trimmed();
    if (oldCode.isEmpty() && code.isEmpty())
        return;
    const auto r = guard(m_ui, oldCode.isEmpty() ? DbAction::Save : DbAction::Update, [&] {
        return saveGradeRow(m_ui.app.main, oldCode, code, name, [this] {
            return m_ui.msg.ask(QString::fromUtf8(kGradeChangeAskText), QString::fromUtf8(kGradeChangeAskTitle));
        });
    });
    const bool saved = r && showOutcome(m_ui, *r);
    if (saved)
        m_changed = true;
    // A saved, declined, emptied or failed row shows the stored values again;
    // a refused one keeps what was typed so it can be corrected.
    if (!r || saved || r->notices.isEmpty())
        QTimer::singleShot(0, this, [this] { reload(); });
}

void GradeListScreen::deleteRow(int row)
{
    if (row < 0 || row >= m_grid->rowCount())
        return;
    const QString code = m_grid->rowKey(row).toString();
    if (code.isEmpty())
        return;
    if (!m_ui.msg.ask(QString::fromUtf8(kDeleteAskText), QStringLiteral("자료삭제")))
        return;
    if (guard(m_ui, DbAction::Delete, [&] { return deleteGrade(m_ui.app.main, code); }))
        m_changed = true;
    reload();
}

void GradeListScreen::done(int result)
{
    m_grid->commitEdits();
    QDialog::done(result);
}

} // namespace fitrova
