#include "members/ui/pointstatusscreen.h"

#include "data/text.h"
#include "widgets/deskguard.h"
#include "members/ui/memberui.h"
#include "widgets/busynotice.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"
#include "widgets/gridexport.h"
#include "widgets/gridprint.h"
#include "widgets/widgetutil.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace fitrova {

PointStatusScreen::PointStatusScreen(UiContext &ui, QWidget *parent, OpenMember openMember)
    : QWidget(parent), m_ui(ui), m_openMember(std::move(openMember))
{
    setObjectName(QStringLiteral("포인트현황"));
    setWindowTitle(QStringLiteral("포인트현황"));

    m_min = new QLineEdit(QStringLiteral("0"), this);
    m_min->setObjectName(QStringLiteral("TxtPoint"));
    m_min->setMaxLength(12);
    m_min->setFixedWidth(100);
    m_min->setAlignment(Qt::AlignRight);
    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("SpPoint"));
    m_grid->setColumns(pointStatusHeaders(), {70, 80, 110, 110, 40, 40, 90, 90, 90});
    for (int c = 6; c <= 8; ++c)
        m_grid->setColumnAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
    m_count = new QLabel(QStringLiteral("0 건"), this);
    m_count->setObjectName(QStringLiteral("Pnl건수"));

    QPushButton *cmdQuery = commandButton(this, QStringLiteral("Cmd조회"), QStringLiteral("조회"), 72);
    QPushButton *cmdPrint = commandButton(this, QStringLiteral("Cmd인쇄"), QStringLiteral("인쇄"), 72);
    QPushButton *cmdExcel = commandButton(this, QStringLiteral("Cmd엑셀"), QStringLiteral("엑셀"), 72);
    QPushButton *cmdClose = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"), 72);
    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("잔여포인트"), this));
    top->addWidget(m_min);
    top->addWidget(new QLabel(QStringLiteral("점 이상"), this));
    top->addStretch();
    for (QPushButton *b : {cmdQuery, cmdPrint, cmdExcel, cmdClose})
        top->addWidget(b);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_count);
    bottom->addStretch();
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(8, 6, 8, 6);
    outer->addLayout(top);
    outer->addWidget(m_grid, 1);
    outer->addLayout(bottom);
    resize(840, 560);

    excludeFromEnterAsTab(m_min);
    installSelectAllOnFocus(this);
    connect(m_min, &QLineEdit::returnPressed, this, [this] { query(); });
    connect(cmdQuery, &QPushButton::clicked, this, [this] { query(); });
    connect(cmdPrint, &QPushButton::clicked, this, &PointStatusScreen::print);
    connect(cmdExcel, &QPushButton::clicked, this, &PointStatusScreen::exportExcel);
    connect(cmdClose, &QPushButton::clicked, this, [this] { closeScreen(this); });
    connect(m_grid, &DataGrid::rowActivated, this, [this](int row) {
        const QString code = m_grid->cell(row, 0);
        if (m_openMember && !code.isEmpty())
            m_openMember(code);
    });
}

bool PointStatusScreen::query()
{
    if (!isNumericInput(m_min->text(), m_ui.msg)) {
        m_min->setFocus();
        m_min->selectAll();
        return false;
    }
    const qint64 minimum = nzLong(m_min->text());
    QList<PointStatusLine> lines;
    {
        BusyScope busy(QStringLiteral("자료를 조회중입니다."), this);
        lines = guard(m_ui, DbAction::Read, [&] { return runPointStatus(m_ui.app.main, minimum); })
                    .value_or(QList<PointStatusLine>());
        QList<QStringList> rows;
        QVariantList keys;
        for (const PointStatusLine &l : lines) {
            rows << l.cells;
            keys << l.mbCode;
        }
        m_grid->setRows(rows, keys);
        for (int i = 0; i < lines.size(); ++i)
            if (lines[i].remaining() < 0)
                m_grid->setCellForeground(i, 8, QColor(0xC0, 0x00, 0x00));
    }
    m_count->setText(QString::number(lines.size()) + QStringLiteral(" 건"));
    return true;
}

void PointStatusScreen::print()
{
    printGridPreview(*m_grid, QStringLiteral("회원별 포인트 현황"),
                     QStringLiteral("잔여포인트 : ") + m_min->text().trimmed() + QStringLiteral(" 이상"), QString(),
                     QString(), false, 0, 1, 0, m_ui.app.business.name);
}

void PointStatusScreen::exportExcel()
{
    exportGridForUser(m_ui, QStringLiteral("회원별 포인트현황"), *m_grid);
}

} // namespace fitrova
