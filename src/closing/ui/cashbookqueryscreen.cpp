#include "closing/ui/cashbookqueryscreen.h"

#include "closing/ui/cashbookreport.h"
#include "widgets/busynotice.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"
#include "widgets/dateedit.h"
#include "widgets/deskguard.h"
#include "widgets/gridexport.h"
#include "widgets/gridprint.h"
#include "widgets/pagedpreview.h"
#include "widgets/widgetutil.h"

#include <QLabel>
#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <QDate>

namespace fitrova {

namespace {

const QString kAll = QStringLiteral("A-ALL");

} // namespace

CashQueryScreen::CashQueryScreen(UiContext &ui, QWidget *parent) : QWidget(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("회계_출납조회"));
    setWindowTitle(QStringLiteral("수입/지출 조회"));

    const QDate today = ui.app.clock().today();
    m_from = new DateEdit(QDate(today.year(), today.month(), 1), this);
    m_from->setObjectName(QStringLiteral("DtpFdate"));
    m_to = new DateEdit(today, this);
    m_to->setObjectName(QStringLiteral("DtpTdate"));
    m_kind = new QComboBox(this);
    m_kind->setObjectName(QStringLiteral("Cob과목구분"));
    m_kind->addItems({kAll, QStringLiteral("1-수입"), QStringLiteral("2-지출")});
    m_account = new QComboBox(this);
    m_account->setObjectName(QStringLiteral("Cob계정과목"));
    m_account->setMinimumWidth(150);
    m_pay = new QComboBox(this);
    m_pay->setObjectName(QStringLiteral("Cob금액구분"));
    m_pay->addItems({kAll, QStringLiteral("1-현금"), QStringLiteral("2-카드")});

    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("SpList"));
    m_grid->setColumns(CashBookReport::headers(), {85, 45, 45, 110, 65, 210, 95, 95, 105});
    m_grid->setHeaderSorting(false);
    for (int c : {1, 2, 4})
        m_grid->setColumnAlignment(c, Qt::AlignCenter);
    for (int c : {6, 7, 8})
        m_grid->setColumnAlignment(c, Qt::AlignRight);

    QPushButton *cmdFind = commandButton(this, QStringLiteral("Cmd조회"), QStringLiteral("조회"));
    QPushButton *cmdReport = commandButton(this, QStringLiteral("Cmd인쇄"), QStringLiteral("인쇄"));
    QPushButton *cmdList = commandButton(this, QStringLiteral("Cmd목록인쇄"), QStringLiteral("목록인쇄"));
    QPushButton *cmdExcel = commandButton(this, QStringLiteral("Cmd엑셀"), QStringLiteral("엑셀"));
    QPushButton *cmdClose = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"));

    auto *top = new QHBoxLayout;
    top->addWidget(caption(this, QStringLiteral("기간")));
    top->addWidget(m_from);
    top->addWidget(caption(this, QStringLiteral("~")));
    top->addWidget(m_to);
    top->addSpacing(10);
    top->addWidget(caption(this, QStringLiteral("구분")));
    top->addWidget(m_kind);
    top->addWidget(caption(this, QStringLiteral("계정과목")));
    top->addWidget(m_account);
    top->addWidget(caption(this, QStringLiteral("현금/카드")));
    top->addWidget(m_pay);
    top->addStretch();
    top->addWidget(cmdFind);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(10, 10, 10, 10);
    outer->addLayout(top);
    outer->addWidget(m_grid, 1);
    outer->addLayout(buttonRow({cmdReport, cmdList, cmdExcel, cmdClose}));
    resize(900, 560);
    installEnterAsTab(this);

    connect(m_kind, &QComboBox::currentIndexChanged, this, [this] { reloadAccounts(); });
    connect(cmdFind, &QPushButton::clicked, this, &CashQueryScreen::query);
    connect(cmdReport, &QPushButton::clicked, this, &CashQueryScreen::printReport);
    connect(cmdList, &QPushButton::clicked, this, [this] {
        printGridPreview(*m_grid, QStringLiteral("수입지출 현황"),
                         QStringLiteral("(") + cashBookPeriodText(m_shown.from, m_shown.to) + QStringLiteral(")"), {}, {},
                         true, 0, 1, 0, m_ui.app.business.name);
    });
    connect(cmdExcel, &QPushButton::clicked, this, [this] { exportGridForUser(m_ui, QStringLiteral("수입지출현황"), *m_grid); });
    connect(cmdClose, &QPushButton::clicked, this, [this] { closeScreen(this); });

    reloadAccounts();
}

void CashQueryScreen::reloadAccounts()
{
    const QString kind = m_kind->currentText().left(1);
    const auto rows = guard(m_ui, DbAction::Read, [&] { return listCashAccounts(m_ui.app.main, kind); });
    m_account->clear();
    m_account->addItem(kAll);
    if (rows)
        for (const CashAccount &a : *rows)
            m_account->addItem(a.code + QLatin1Char('-') + a.name);
}

CashBookFilter CashQueryScreen::filter() const
{
    CashBookFilter f;
    f.from = m_from->dateText();
    f.to = m_to->dateText();
    f.kind = m_kind->currentText().section(QLatin1Char('-'), 0, 0);
    f.account = m_account->currentText().section(QLatin1Char('-'), 0, 0);
    f.payKind = m_pay->currentText().section(QLatin1Char('-'), 0, 0);
    return f;
}

void CashQueryScreen::query()
{
    const CashBookFilter f = filter();
    if (f.from > f.to) {
        m_ui.msg.warn(QStringLiteral("조회기간이 잘못되었읍니다"), QStringLiteral("조회오류"));
        return;
    }
    BusyScope busy(QStringLiteral("자료를 조회중입니다."), this);
    const auto book = guard(m_ui, DbAction::Read, [&] { return readCashBook(m_ui.app.main, f); });
    m_book = book ? *book : CashBook{};
    m_shown = f;
    m_shown.kind = m_kind->currentText();
    m_shown.account = m_account->currentText();
    m_shown.payKind = m_pay->currentText();
    const CashBookReport report(reportData());
    m_grid->setRows(report.rows());
    m_grid->setTotalRow(0);
    m_grid->setTotalRow(m_grid->rowCount() - 1);
}

CashBookReportData CashQueryScreen::reportData() const
{
    CashBookReportData d;
    d.period = cashBookPeriodText(m_shown.from, m_shown.to);
    d.condition = cashBookConditionText(m_shown.kind, m_shown.account, m_shown.payKind);
    d.business = m_ui.app.business.name;
    d.printDate = m_ui.app.clock().today();
    d.book = m_book;
    return d;
}

void CashQueryScreen::printReport()
{
    if (m_shown.from.isEmpty())
        query();
    CashBookReport report(reportData());
    PagedPreviewDialog dlg(report, QStringLiteral("수입지출현황"), window());
    dlg.setPdfName(QDir(m_ui.app.paths.excelDir)
                       .filePath(QStringLiteral("수입지출현황_%1_%2.pdf").arg(m_shown.from, m_shown.to)));
    dlg.exec();
}

} // namespace fitrova
