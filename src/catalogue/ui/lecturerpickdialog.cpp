#include "catalogue/ui/lecturerpickdialog.h"

#include "widgets/deskguard.h"
#include "catalogue/classification.h"
#include "catalogue/lecturers.h"
#include "data/listitems.h"
#include "widgets/datagrid.h"
#include "widgets/widgetutil.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>

namespace fitrova {

LecturerPickDialog::LecturerPickDialog(UiContext &ui, QWidget *parent) : PickListDialog(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("강사조회"));
    setWindowTitle(QStringLiteral("강사조회"));
    grid()->setObjectName(QStringLiteral("SpLect"));
    grid()->setColumns({QStringLiteral("코드"), QStringLiteral("강사명")}, {70, 180});
    grid()->setColumnAlignment(0, Qt::AlignCenter);
    grid()->horizontalHeader()->setStretchLastSection(true);

    m_course = new QComboBox(this);
    m_course->setObjectName(QStringLiteral("CobCour"));
    m_course->setMinimumWidth(180);
    searchLayout()->addWidget(new QLabel(QStringLiteral("강좌항목"), this));
    searchLayout()->addWidget(m_course, 1);
    guard(m_ui, DbAction::Read, [&] { fillCombo(m_course, courseItems(m_ui.app.main, courseGroup(), true)); });
    connect(m_course, &QComboBox::currentIndexChanged, this, [this] { search(); });
    connect(this, &QDialog::accepted, this, [this] {
        LtCode = grid()->cell(pickedRow(), 0);
        LtName = grid()->cell(pickedRow(), 1);
    });
    resize(340, 420);
    search();
}

void LecturerPickDialog::search()
{
    QList<QStringList> rows;
    QVariantList keys;
    guard(m_ui, DbAction::Read, [&] {
        for (const Lecturer &l : pickableLecturers(m_ui.app.main, comboCode(m_course))) {
            rows.append({l.code, l.name});
            keys.append(l.code);
        }
    });
    grid()->setRows(rows, keys);
    if (!rows.isEmpty())
        grid()->setCurrentRow(0);
}

} // namespace fitrova
