#include "catalogue/ui/courseitemscreen.h"

#include "catalogue/classification.h"
#include "catalogue/ui/maintenancegrid.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"
#include "widgets/deskguard.h"
#include "widgets/widgetutil.h"
#include "widgets/unsavedchanges.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace fitrova {

namespace {
// Grid columns: code, name, twelve months, postponement, refund, transfer, workstation.
enum Col { ColCode, ColName, ColMon1, ColDelay = ColMon1 + 12, ColCancel, ColTransfer, ColPosNo, ColCount };

QString flagCell(bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); }
} // namespace

CourseItemScreen::CourseItemScreen(UiContext &ui, QWidget *parent) : QDialog(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("강좌항목"));
    setWindowTitle(QStringLiteral("강좌항목"));

    m_code = new QLineEdit(this);
    m_code->setObjectName(QStringLiteral("TxtCode"));
    m_code->setReadOnly(true);
    m_code->setFocusPolicy(Qt::NoFocus);
    m_code->setMaximumWidth(60);
    m_code->setAlignment(Qt::AlignCenter);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("TxtName"));
    m_name->setMaxLength(40);

    auto *monthBox = new QGroupBox(QStringLiteral("판매 개월수"), this);
    auto *monthLayout = new QGridLayout(monthBox);
    for (int m = 0; m < 12; ++m) {
        auto *c = new QCheckBox(QStringLiteral("%1개월").arg(m + 1), monthBox);
        c->setObjectName(QStringLiteral("Chkm%1").arg(m + 1));
        monthLayout->addWidget(c, m / 6, m % 6);
        m_months[size_t(m)] = c;
    }
    auto *changeBox = new QGroupBox(QStringLiteral("수강변경 허용"), this);
    m_delay = new QCheckBox(QStringLiteral("연기"), changeBox);
    m_delay->setObjectName(QStringLiteral("ChkDeley"));
    m_cancel = new QCheckBox(QStringLiteral("환불"), changeBox);
    m_cancel->setObjectName(QStringLiteral("ChkCancel"));
    m_transfer = new QCheckBox(QStringLiteral("양도"), changeBox);
    m_transfer->setObjectName(QStringLiteral("ChkTransfer"));
    m_change = new QCheckBox(QStringLiteral("반변경"), changeBox);
    m_change->setObjectName(QStringLiteral("ChkChange"));
    m_change->setChecked(true);
    m_change->setEnabled(false); // class changes are always allowed
    auto *changeLayout = new QHBoxLayout(changeBox);
    for (QCheckBox *c : {m_delay, m_cancel, m_transfer, m_change})
        changeLayout->addWidget(c);
    changeLayout->addStretch();

    auto *inputs = new QGridLayout;
    inputs->addWidget(new QLabel(QStringLiteral("코드"), this), 0, 0);
    inputs->addWidget(m_code, 0, 1);
    inputs->addWidget(new QLabel(QStringLiteral("강좌항목"), this), 0, 2);
    inputs->addWidget(m_name, 0, 3);
    inputs->setColumnStretch(3, 1);

    QPushButton *cmdNew = commandButton(this, QStringLiteral("Cmd신규"), QStringLiteral("신규"));
    QPushButton *cmdSave = commandButton(this, QStringLiteral("Cmd저장"), QStringLiteral("저장"));
    QPushButton *cmdClose = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"));
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(cmdNew);
    buttons->addWidget(cmdSave);
    buttons->addStretch();
    buttons->addWidget(cmdClose);

    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("SpCour"));
    QStringList headers{QStringLiteral("코드"), QStringLiteral("강좌항목")};
    QList<int> widths{44, 170};
    for (int m = 1; m <= 12; ++m) {
        headers << QString::number(m);
        widths << 30;
    }
    headers << QStringLiteral("연기") << QStringLiteral("환불") << QStringLiteral("양도") << QStringLiteral("POS");
    widths << 40 << 40 << 40 << 40;
    m_grid->setColumns(headers, widths);
    for (int c = ColMon1; c <= ColTransfer; ++c)
        m_grid->setCheckColumn(c);
    m_grid->setColumnAlignment(ColCode, Qt::AlignCenter);
    m_grid->setColumnAlignment(ColPosNo, Qt::AlignCenter);
    m_grid->setHeaderSorting(false);
    m_grid->setToolTip(QStringLiteral("숫자 칸은 판매 개월수입니다. Delete 키로 삭제합니다."));

    auto *top = new QHBoxLayout;
    auto *left = new QVBoxLayout;
    left->addLayout(inputs);
    left->addWidget(monthBox);
    left->addWidget(changeBox);
    top->addLayout(left, 1);
    top->addLayout(buttons);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(10, 10, 10, 10);
    outer->addLayout(top);
    outer->addWidget(m_grid, 1);
    resize(780, 560);

    installEnterAsTab(this);
    installSelectAllOnFocus(this);

    connect(cmdNew, &QPushButton::clicked, this, &CourseItemScreen::newItem);
    connect(cmdSave, &QPushButton::clicked, this, &CourseItemScreen::save);
    connect(cmdClose, &QPushButton::clicked, this, [this] {
        if (UnsavedChanges::mayClose(this))
            reject();
    });
    connect(m_grid, &DataGrid::currentRowChanged, this, [this](int row, int) { onRowChanged(row); });
    connect(m_grid, &QAbstractItemView::clicked, this, [this](const QModelIndex &idx) { onRowChanged(idx.row()); });
    connect(m_grid, &DataGrid::deleteRequested, this, &CourseItemScreen::deleteRow);

    reload();
    newItem();
    new UnsavedChanges(this, m_ui.msg, [this] { return save(); });
}

void CourseItemScreen::reload(const QString &selectCode)
{
    QList<QStringList> rows;
    QVariantList keys;
    guard(m_ui, DbAction::Read, [&] {
        for (const CourseItem &c : listCourseItems(m_ui.app.main, courseGroup())) {
            QStringList cells{c.code, c.name};
            for (bool m : c.months)
                cells << flagCell(m);
            cells << flagCell(c.useDelay) << flagCell(c.useCancel) << flagCell(c.useTransfer)
                  << (c.posNo ? QString::number(c.posNo) : QString());
            rows.append(cells);
            keys.append(c.code);
        }
    });
    const QSignalBlocker block(m_grid);
    m_grid->setRows(rows, keys);
    const int row = selectCode.isEmpty() ? -1 : m_grid->findKey(selectCode);
    if (row >= 0)
        m_grid->setCurrentRow(row);
}

void CourseItemScreen::newItem()
{
    const auto code = guard(m_ui, DbAction::Read, [&] { return newCourseItemCode(m_ui.app.main); });
    m_isNew = true;
    showItem(defaultCourseItem(code.value_or(QString())));
    m_name->setFocus();
}

void CourseItemScreen::showItem(const CourseItem &c)
{
    m_code->setText(c.code);
    m_name->setText(c.name);
    for (int m = 0; m < 12; ++m)
        m_months[size_t(m)]->setChecked(c.months[size_t(m)]);
    m_delay->setChecked(c.useDelay);
    m_cancel->setChecked(c.useCancel);
    m_transfer->setChecked(c.useTransfer);
    UnsavedChanges::markCleanOf(this);
}

CourseItem CourseItemScreen::inputs() const
{
    CourseItem c;
    c.code = m_code->text().trimmed();
    c.name = m_name->text();
    for (int m = 0; m < 12; ++m)
        c.months[size_t(m)] = m_months[size_t(m)]->isChecked();
    c.useDelay = m_delay->isChecked();
    c.useCancel = m_cancel->isChecked();
    c.useTransfer = m_transfer->isChecked();
    return c;
}

void CourseItemScreen::onRowChanged(int row)
{
    if (row < 0)
        return;
    CourseItem c;
    c.code = m_grid->cell(row, ColCode);
    c.name = m_grid->cell(row, ColName);
    for (int m = 0; m < 12; ++m)
        c.months[size_t(m)] = m_grid->isChecked(row, ColMon1 + m);
    c.useDelay = m_grid->isChecked(row, ColDelay);
    c.useCancel = m_grid->isChecked(row, ColCancel);
    c.useTransfer = m_grid->isChecked(row, ColTransfer);
    m_isNew = false;
    showItem(c);
}

bool CourseItemScreen::save()
{
    const auto r = guard(m_ui, DbAction::Save, [&] { return saveCourseItem(m_ui.app.main, inputs(), m_isNew); });
    if (!r || !showOutcome(m_ui, *r))
        return false;
    TF = true;
    m_isNew = false;
    m_code->setText(r->code);
    reload(r->code);
    UnsavedChanges::markCleanOf(this);
    return true;
}

void CourseItemScreen::deleteRow(int row)
{
    const QString code = m_grid->cell(row, ColCode);
    if (code.isEmpty())
        return;
    if (!m_ui.msg.ask(MaintenanceGrid::deleteQuestion(), MaintenanceGrid::deleteTitle()))
        return;
    const auto r = guard(m_ui, DbAction::Delete, [&] { return deleteCourseItem(m_ui.app.main, code); });
    if (!r || !showOutcome(m_ui, *r))
        return;
    TF = true;
    reload();
    if (m_code->text() == code)
        newItem();
}

} // namespace fitrova
