#include "catalogue/ui/codetablescreen.h"

#include "catalogue/codetables.h"
#include "catalogue/ui/maintenancegrid.h"
#include "data/text.h"
#include "widgets/controls.h"
#include "widgets/deskguard.h"
#include "widgets/widgetutil.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace fitrova {

namespace {
enum Col { ColCode, ColName, ColRate };

QString rateText(double rate) { return QString::number(rate, 'g', 10); }
} // namespace

CodeTableScreen::CodeTableScreen(UiContext &ui, QWidget *parent) : QWidget(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("코드등록"));
    setWindowTitle(QStringLiteral("코드등록"));

    auto makeGrid = [this](CodeTable table, const char *name, const QString &nameHeader) {
        auto *g = new MaintenanceGrid(m_ui, this);
        g->setObjectName(QString::fromUtf8(name));
        g->setColumns({QStringLiteral("코드"), nameHeader, QStringLiteral("할인율")}, {60, 240, 80});
        g->setCodeColumn(ColCode);
        g->setColumnAlignment(ColCode, Qt::AlignCenter);
        g->setColumnAlignment(ColRate, Qt::AlignRight | Qt::AlignVCenter);
        g->setColumnEditable(ColName);
        g->setColumnEditable(ColRate);
        g->setSaveHandler([this, table](int row) { return saveRow(table, row); });
        g->setReloader([this, table] { reload(table); });
        g->setDeleteHandler([this, table, g](int row) {
            deleteCodeRow(m_ui.app.main, table, g->rowCode(row));
            return Outcome::done();
        });
        return g;
    };
    m_kinds = makeGrid(CodeTable::MemberKind, "SpMbgubun", QStringLiteral("내용"));
    m_cards = makeGrid(CodeTable::CardCompany, "SpCard", QStringLiteral("카드사"));

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("TabCode"));
    m_tabs->addTab(m_kinds, QStringLiteral("회원구분(&1)"));
    m_tabs->addTab(m_cards, QStringLiteral("카드회사(&2)"));

    QPushButton *cmdClose = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"));
    auto *hint = new QLabel(QStringLiteral("빈 줄에 입력하면 추가, Delete 키로 삭제합니다."), this);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(hint);
    bottom->addStretch();
    bottom->addWidget(cmdClose);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(10, 10, 10, 10);
    outer->addWidget(m_tabs, 1);
    outer->addLayout(bottom);
    resize(460, 440);

    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
        m_kinds->commitEdits();
        m_cards->commitEdits();
        reload(index == 1 ? CodeTable::CardCompany : CodeTable::MemberKind);
    });
    connect(cmdClose, &QPushButton::clicked, this, [this] { closeScreen(this); });

    reload(CodeTable::MemberKind);
}

MaintenanceGrid *CodeTableScreen::grid(CodeTable table) const
{
    return table == CodeTable::CardCompany ? m_cards : m_kinds;
}

void CodeTableScreen::reload(CodeTable table)
{
    QList<QStringList> rows;
    guard(m_ui, DbAction::Read, [&] {
        for (const CodeRow &r : listCodeRows(m_ui.app.main, table))
            rows.append({r.code, r.name, rateText(r.rate)});
    });
    grid(table)->load(rows);
}

Outcome CodeTableScreen::saveRow(CodeTable table, int row)
{
    MaintenanceGrid *g = grid(table);
    const QString rate = g->cell(row, ColRate);
    if (!isNumericInput(rate, m_ui.msg))
        return {}; // the field check has told why
    const QString code = g->rowCode(row);
    const QString name = g->cell(row, ColName);
    const double value = nzDouble(rate);
    Outcome r = code.isEmpty() ? addCodeRow(m_ui.app.main, table, name, value)
                               : updateCodeRow(m_ui.app.main, table, code, name, value);
    if (r.saved) {
        if (code.isEmpty())
            g->setCell(row, ColCode, r.code);
        g->setCell(row, ColRate, rateText(value));
    }
    return r;
}

void CodeTableScreen::closeEvent(QCloseEvent *event)
{
    m_kinds->commitEdits();
    m_cards->commitEdits();
    QWidget::closeEvent(event);
}

} // namespace fitrova
