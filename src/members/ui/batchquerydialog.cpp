#include "members/ui/batchquerydialog.h"

#include "data/dates.h"
#include "widgets/deskguard.h"
#include "members/ui/memberui.h"
#include "widgets/busynotice.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"
#include "widgets/dateedit.h"
#include "widgets/widgetutil.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace fitrova {

BatchQueryDialog::BatchQueryDialog(UiContext &ui, MemberScreenHooks hooks, QWidget *parent)
    : QDialog(parent), m_ui(ui), m_hooks(std::move(hooks))
{
    setObjectName(QStringLiteral("일괄조회"));
    setWindowTitle(QStringLiteral("일괄조회"));

    m_kind = new QComboBox(this);
    m_kind->setObjectName(QStringLiteral("CobGubun"));
    m_kind->addItems(batchKindItems());
    const QDate today = ui.app.clock().today();
    m_from = new DateEdit(today, this);
    m_from->setObjectName(QStringLiteral("Dtp1"));
    m_to = new DateEdit(today, this);
    m_to->setObjectName(QStringLiteral("Dtp2"));
    m_prog = new QComboBox(this);
    m_prog->setObjectName(QStringLiteral("CobProg"));
    m_prog->setMinimumWidth(220);
    fillCombo(m_prog, guard(m_ui, DbAction::Read, [&] { return batchProgramItems(ui.app.main); })
                          .value_or(ListItems{{QStringLiteral("모두보기"), qint64(0)}}));

    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("SpLect"));
    m_grid->setColumns(batchHeaders(), {70, 80, 50, 80, 80, 200, 80, 110});
    m_count = new QLabel(QStringLiteral("0 건"), this);
    m_count->setObjectName(QStringLiteral("Pnl건수"));
    m_count->setMinimumWidth(80);

    QPushButton *find = commandButton(this, QStringLiteral("Cmd조회"), QStringLiteral("조회"), 72);
    QPushButton *sms = commandButton(this, QStringLiteral("Cmd문자전송"), QStringLiteral("문자전송"), 72);
    QPushButton *labels = commandButton(this, QStringLiteral("Cmd주소라벨"), QStringLiteral("주소라벨"), 72);
    QPushButton *close = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"), 72);

    auto *top = new QHBoxLayout;
    top->addWidget(m_kind);
    top->addWidget(m_from);
    top->addWidget(new QLabel(QStringLiteral("~"), this));
    top->addWidget(m_to);
    top->addWidget(m_prog, 1);
    top->addWidget(find);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_count);
    bottom->addStretch();
    bottom->addWidget(sms);
    bottom->addWidget(labels);
    bottom->addWidget(close);
    auto *outer = new QVBoxLayout(this);
    outer->addLayout(top);
    outer->addWidget(m_grid, 1);
    outer->addLayout(bottom);
    resize(860, 480);

    connect(find, &QPushButton::clicked, this, &BatchQueryDialog::query);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    // Each member once, in the order of the list.
    const auto contacts = [this] {
        MemberContacts out;
        QSet<QString> seen;
        for (const BatchLine &l : m_lines)
            if (!seen.contains(l.mbCode)) {
                seen.insert(l.mbCode);
                out << l.contact;
            }
        return out;
    };
    connect(sms, &QPushButton::clicked, this, [this, contacts] {
        runHandover(m_ui, m_hooks.sendSms, contacts(), QStringLiteral("문자전송"), this);
    });
    connect(labels, &QPushButton::clicked, this, [this, contacts] {
        runHandover(m_ui, m_hooks.printLabels, contacts(), QStringLiteral("주소라벨"), this);
    });
    connect(m_grid, &DataGrid::rowActivated, this, [this](int row) {
        const QString code = m_grid->cell(row, 0);
        if (!code.isEmpty())
            emit memberChosen(code);
    });
}

void BatchQueryDialog::query()
{
    const QString d1 = m_from->dateText(), d2 = m_to->dateText();
    if (d1 > d2) {
        m_ui.msg.warn(QStringLiteral("조회기간이 잘못되었읍니다"), QStringLiteral("일괄조회"));
        return;
    }
    BusyScope busy(QStringLiteral("자료를 조회중입니다."), this);
    m_lines = guard(m_ui, DbAction::Read, [&] {
                  return runBatchQuery(m_ui.app.main, batchKindOf(m_kind->currentText()), d1, d2,
                                       m_prog->currentData().toLongLong());
              }).value_or(QList<BatchLine>());
    QList<QStringList> rows;
    QVariantList keys;
    for (const BatchLine &l : m_lines) {
        rows << l.cells;
        keys << l.ltid;
    }
    m_grid->setRows(rows, keys);
    m_count->setText(QString::number(m_lines.size()) + QStringLiteral(" 건"));
}

} // namespace fitrova
