#include "catalogue/ui/lecturerlistscreen.h"

#include "catalogue/classification.h"
#include "catalogue/lecturers.h"
#include "widgets/deskguard.h"
#include "catalogue/ui/lecturereditdialog.h"
#include "catalogue/ui/maintenancegrid.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHash>
#include <QPushButton>
#include <QVBoxLayout>

namespace fitrova {

namespace {
enum Col { ColCode, ColName, ColTel, ColUse, ColCourse };
}

LecturerListScreen::LecturerListScreen(UiContext &ui, QWidget *parent) : QWidget(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("강사등록"));
    setWindowTitle(QStringLiteral("강사등록"));

    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("SpLect"));
    m_grid->setColumns({QStringLiteral("코드"), QStringLiteral("강사명"), QStringLiteral("전화번호"),
                        QStringLiteral("사용"), QStringLiteral("강좌")},
                       {60, 140, 130, 50, 120});
    m_grid->setColumnAlignment(ColCode, Qt::AlignCenter);
    m_grid->setCheckColumn(ColUse);
    m_grid->horizontalHeader()->setStretchLastSection(true);

    m_onlyInUse = new QCheckBox(QStringLiteral("사용하는 강사만보기"), this);
    m_onlyInUse->setObjectName(QStringLiteral("Chk2"));

    QPushButton *cmdNew = commandButton(this, QStringLiteral("Cmd신규"), QStringLiteral("신규"));
    QPushButton *cmdEdit = commandButton(this, QStringLiteral("Cmd수정"), QStringLiteral("수정"));
    QPushButton *cmdClose = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_onlyInUse);
    buttons->addStretch();
    buttons->addWidget(cmdNew);
    buttons->addWidget(cmdEdit);
    buttons->addWidget(cmdClose);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(10, 10, 10, 10);
    outer->addWidget(m_grid, 1);
    outer->addLayout(buttons);
    resize(560, 460);

    connect(m_onlyInUse, &QCheckBox::toggled, this, [this] { refresh(currentCode()); });
    connect(cmdNew, &QPushButton::clicked, this, [this] { openEditor(true); });
    connect(cmdEdit, &QPushButton::clicked, this, [this] { openEditor(false); });
    connect(cmdClose, &QPushButton::clicked, this, [this] { closeScreen(this); });
    connect(m_grid, &DataGrid::rowActivated, this, [this](int) { openEditor(false); });
    connect(m_grid, &DataGrid::deleteRequested, this, [this](int) { deleteCurrent(); });

    refresh();
}

void LecturerListScreen::refresh(const QString &selectCode)
{
    QList<QStringList> rows;
    QVariantList keys;
    guard(m_ui, DbAction::Read, [&] {
        QHash<QString, QString> courseNames;
        for (const CourseItem &c : listCourseItems(m_ui.app.main, courseGroup()))
            courseNames.insert(c.code, c.name);
        for (const Lecturer &l : listLecturers(m_ui.app.main, m_onlyInUse->isChecked())) {
            rows.append({l.code, l.name, l.tel, l.inUse ? QStringLiteral("1") : QStringLiteral("0"),
                         courseNames.value(l.course)});
            keys.append(l.code);
        }
    });
    m_grid->setRows(rows, keys);
    const int row = selectCode.isEmpty() ? -1 : m_grid->findKey(selectCode);
    if (row >= 0)
        m_grid->setCurrentRow(row);
    else if (!rows.isEmpty())
        m_grid->setCurrentRow(0);
}

QString LecturerListScreen::currentCode() const
{
    const int row = m_grid->currentRow();
    return row < 0 ? QString() : m_grid->rowKey(row).toString();
}

void LecturerListScreen::openEditor(bool isNew)
{
    const QString code = isNew ? QString() : currentCode();
    if (!isNew && code.isEmpty())
        return;
    auto *dlg = new LecturerEditDialog(m_ui, isNew ? QStringLiteral("N") : QStringLiteral("C"), code, this);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    connect(dlg, &LecturerEditDialog::lecturerSaved, this, [this](const QString &saved) { refresh(saved); });
    dlg->open();
}

void LecturerListScreen::deleteCurrent()
{
    const QString code = currentCode();
    if (code.isEmpty())
        return;
    if (!m_ui.msg.ask(MaintenanceGrid::deleteQuestion(), MaintenanceGrid::deleteTitle()))
        return;
    const auto r = guard(m_ui, DbAction::Delete, [&] { return deleteLecturer(m_ui.app.main, code); });
    if (r && showOutcome(m_ui, *r))
        refresh();
}

} // namespace fitrova
