#include "catalogue/ui/classificationscreen.h"

#include "catalogue/classification.h"
#include "catalogue/ui/courseitemscreen.h"
#include "catalogue/ui/maintenancegrid.h"
#include "widgets/controls.h"
#include "widgets/deskguard.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace fitrova {

namespace {
enum Col { ColCode, ColName };

MaintenanceGrid *makeGrid(UiContext &ui, QWidget *parent, const char *name, const QString &nameHeader)
{
    auto *g = new MaintenanceGrid(ui, parent);
    g->setObjectName(QString::fromUtf8(name));
    g->setColumns({QStringLiteral("코드"), nameHeader}, {60, 220});
    g->setCodeColumn(ColCode);
    g->setColumnAlignment(ColCode, Qt::AlignCenter);
    g->setColumnEditable(ColName);
    g->horizontalHeader()->setStretchLastSection(true);
    return g;
}
} // namespace

ClassificationScreen::ClassificationScreen(UiContext &ui, QWidget *parent) : QWidget(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("분류등록"));
    setWindowTitle(QStringLiteral("강좌/상품 분류설정"));

    auto *groupBox = new QGroupBox(this);
    groupBox->setObjectName(QStringLiteral("ChkGroup"));
    m_optCourse = new QRadioButton(QStringLiteral("강좌분류"), groupBox);
    m_optCourse->setObjectName(QStringLiteral("ChkGroup1"));
    m_optGoods = new QRadioButton(QStringLiteral("교구분류"), groupBox);
    m_optGoods->setObjectName(QStringLiteral("ChkGroup2"));
    auto *buttons = new QButtonGroup(this);
    buttons->addButton(m_optCourse, 1);
    buttons->addButton(m_optGoods, 2);
    m_optCourse->setChecked(true);
    auto *groupLayout = new QHBoxLayout(groupBox);
    groupLayout->addWidget(m_optCourse);
    groupLayout->addSpacing(20);
    groupLayout->addWidget(m_optGoods);
    groupLayout->addStretch();

    QPushButton *cmdCourse = commandButton(this, QStringLiteral("Cmd강좌항목"), QStringLiteral("강좌항목설정"));
    cmdCourse->setMinimumWidth(110);
    cmdCourse->setToolTip(QStringLiteral("강좌항목의 판매개월수와 환불/연기/양도 설정"));
    QPushButton *cmdClose = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"));

    m_items = makeGrid(ui, this, "SpCour", QStringLiteral("항목명"));
    m_classes = makeGrid(ui, this, "SpScl", QStringLiteral("분류명"));

    auto *itemFrame = new QGroupBox(QStringLiteral("항목"), this);
    (new QVBoxLayout(itemFrame))->addWidget(m_items);
    auto *classFrame = new QGroupBox(QStringLiteral("분류"), this);
    (new QVBoxLayout(classFrame))->addWidget(m_classes);

    auto *top = new QHBoxLayout;
    top->addWidget(groupBox, 1);
    top->addWidget(cmdCourse);
    top->addWidget(cmdClose);
    auto *grids = new QHBoxLayout;
    grids->addWidget(itemFrame, 1);
    grids->addWidget(classFrame, 1);
    auto *hint = new QLabel(QStringLiteral("맨 아래 빈 줄에 이름을 입력하면 코드가 붙어 추가되고, "
                                           "고친 줄은 다른 줄로 옮기면 저장됩니다. 삭제는 Delete 키."),
                            this);
    hint->setWordWrap(true);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(10, 10, 10, 10);
    outer->addLayout(top);
    outer->addLayout(grids, 1);
    outer->addWidget(hint);
    resize(680, 500);

    m_items->setSaveHandler([this](int row) { return saveItem(row); });
    m_items->setReloader([this] { reloadItems(); });
    m_items->setDeleteGuard([this](int row) {
        return checkClassificationItemDeletable(m_ui.app.main, m_group, m_items->rowCode(row));
    });
    m_items->setDeleteHandler([this](int row) {
        return deleteClassificationItem(m_ui.app.main, m_group, m_items->rowCode(row));
    });
    connect(m_items, &MaintenanceGrid::rowDeleted, this, [this] { reloadItems(); });
    connect(m_items, &DataGrid::currentRowChanged, this, [this](int row, int) { onItemRowChanged(row); });
    connect(m_items, &MaintenanceGrid::rowSaved, this, [this](int row) {
        if (row == m_items->currentRow())
            onItemRowChanged(row);
    });

    m_classes->setSaveHandler([this](int row) { return saveClass(row); });
    m_classes->setReloader([this] { reloadClasses(); });
    m_classes->setDeleteGuard([this](int row) {
        return checkSmallClassDeletable(m_ui.app.main, m_group, m_classesOf, m_classes->rowCode(row));
    });
    m_classes->setDeleteHandler([this](int row) {
        return deleteSmallClass(m_ui.app.main, m_group, m_classesOf, m_classes->rowCode(row));
    });

    connect(buttons, &QButtonGroup::idClicked, this, [this](int id) {
        setGroup(id == 2 ? goodsGroup() : courseGroup());
    });
    connect(cmdCourse, &QPushButton::clicked, this, &ClassificationScreen::openCourseItems);
    connect(cmdClose, &QPushButton::clicked, this, [this] { closeScreen(this); });

    reloadItems();
}

void ClassificationScreen::setGroup(const QString &group)
{
    m_items->commitEdits();
    m_classes->commitEdits();
    m_group = group == goodsGroup() ? goodsGroup() : courseGroup();
    (m_group == goodsGroup() ? m_optGoods : m_optCourse)->setChecked(true);
    m_items->setCurrentRow(-1);
    reloadItems();
}

void ClassificationScreen::reloadItems()
{
    QList<QStringList> rows;
    guard(m_ui, DbAction::Read, [&] {
        for (const CourseItem &c : listCourseItems(m_ui.app.main, m_group))
            rows.append({c.code, c.name});
    });
    m_items->load(rows);
    if (m_items->currentRow() < 0 && m_items->rowCount() > 0)
        m_items->setCurrentCell(0, ColName);
    onItemRowChanged(m_items->currentRow(), true);
}

void ClassificationScreen::onItemRowChanged(int row, bool force)
{
    const QString code = row >= 0 ? m_items->rowCode(row) : QString();
    if (!force && code == m_classesOf && m_classes->rowCount() > 0)
        return;
    m_classes->commitEdits();
    m_classesOf = code;
    m_classes->setCurrentRow(-1);
    reloadClasses();
}

void ClassificationScreen::reloadClasses()
{
    QList<QStringList> rows;
    if (!m_classesOf.isEmpty()) {
        guard(m_ui, DbAction::Read, [&] {
            for (const SmallClass &s : listSmallClasses(m_ui.app.main, m_group, m_classesOf))
                rows.append({s.sclass, s.name});
        });
    }
    m_classes->load(rows);
}

Outcome ClassificationScreen::saveItem(int row)
{
    const QString code = m_items->rowCode(row);
    const QString name = m_items->cell(row, ColName);
    Outcome r = code.isEmpty() ? addClassificationItem(m_ui.app.main, m_group, name)
                               : renameClassificationItem(m_ui.app.main, m_group, code, name);
    if (r.saved && code.isEmpty())
        m_items->setCell(row, ColCode, r.code);
    return r;
}

Outcome ClassificationScreen::saveClass(int row)
{
    if (m_classesOf.isEmpty())
        return Outcome::refusedPlain(QStringLiteral("항목을 선택하여 주십시요."), QStringLiteral("항목선택"));
    const QString code = m_classes->rowCode(row);
    const QString name = m_classes->cell(row, ColName);
    Outcome r = code.isEmpty() ? addSmallClass(m_ui.app.main, m_group, m_classesOf, name)
                               : renameSmallClass(m_ui.app.main, m_group, m_classesOf, code, name);
    if (r.saved && code.isEmpty())
        m_classes->setCell(row, ColCode, r.code);
    return r;
}

void ClassificationScreen::openCourseItems()
{
    m_items->commitEdits();
    m_classes->commitEdits();
    CourseItemScreen dlg(m_ui, this);
    dlg.exec();
    if (m_group == courseGroup())
        reloadItems();
}

void ClassificationScreen::closeEvent(QCloseEvent *event)
{
    m_items->commitEdits();
    m_classes->commitEdits();
    QWidget::closeEvent(event);
}

} // namespace fitrova
