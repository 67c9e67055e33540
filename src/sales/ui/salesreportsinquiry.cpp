#include "sales/ui/salesreportsinquiry.h"

#include "sales/ui/salesreportsstatus.h"

#include "data/listitems.h"
#include "data/text.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"
#include "widgets/dateedit.h"
#include "widgets/deskguard.h"
#include "widgets/reportscreen.h"
#include "widgets/widgetutil.h"

#include <QLabel>
#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace fitrova {

namespace {
QString receiptText(bool issued)
{
    return issued ? QStringLiteral("현금영수증 발행") : QStringLiteral("현금영수증 미발행");
}
} // namespace

SalesInquiryDialog::SalesInquiryDialog(UiContext &ui, const ScreenArgs &args, QWidget *parent)
    : QDialog(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("상품판매조회"));
    setWindowTitle(QStringLiteral("상품판매조회"));
    UserCode = args.value(QStringLiteral("UserCode")).toString();
    Course = args.value(QStringLiteral("Course")).toString();
    sDate = args.value(QStringLiteral("sDate")).toString();

    m_date = new DateEdit(ui.app.clock().today(), this);
    m_date->setObjectName(QStringLiteral("TxtSdate"));
    if (!sDate.isEmpty())
        m_date->setDateText(sDate);
    m_course = reportCombo(this, QStringLiteral("CobCourse"), 120);
    if (const auto items = guard(ui, DbAction::Read, [&] { return courseItems(ui.app.main, QStringLiteral("S"), true); }))
        fillCombo(m_course, *items);
    if (!Course.trimmed().isEmpty() && !selectCodeItem(m_course, Course.left(1)))
        m_course->setCurrentIndex(0);
    m_user = reportCombo(this, QStringLiteral("CobUser"), 120);
    if (const auto users = guard(ui, DbAction::Read, [&] { return userItems(ui.app.main); }))
        fillCombo(m_user, *users);
    if (!UserCode.isEmpty())
        selectCodeItem(m_user, UserCode);

    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("SpSale"));
    m_grid->setColumns({QStringLiteral("전표번호"), QStringLiteral("품명"), QStringLiteral("수량"), QStringLiteral("금액"),
                        QStringLiteral("현금"), QStringLiteral("카드"), QStringLiteral("담당자"), QStringLiteral("POS"),
                        QStringLiteral("시간"), QStringLiteral("현금영수증"), QStringLiteral("")},
                       {76, 150, 44, 72, 76, 76, 64, 36, 64, 70, 110});
    for (int c : {2, 3, 4, 5})
        m_grid->setColumnAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
    m_grid->setColumnAlignment(7, Qt::AlignCenter);
    m_grid->setColumnEditable(ColReceipt);
    m_grid->setHeaderSorting(false);

    auto *cmdQuery = commandButton(this, QStringLiteral("Cmd조회"), QStringLiteral("조회"), 64);
    auto *cmdReceipt = commandButton(this, QStringLiteral("Cmd현금영수증"), QStringLiteral("현금영수증"), 84);
    auto *cmdPick = commandButton(this, QStringLiteral("Cmd선택"), QStringLiteral("선택"), 64);
    auto *cmdQuit = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"), 64);
    auto *top = new QHBoxLayout;
    top->addWidget(caption(this, QStringLiteral("판매일자")));
    top->addWidget(m_date);
    top->addWidget(caption(this, QStringLiteral("상품항목")));
    top->addWidget(m_course);
    top->addWidget(caption(this, QStringLiteral("담당자")));
    top->addWidget(m_user);
    top->addStretch();
    auto *lay = new QVBoxLayout(this);
    lay->addLayout(top);
    lay->addWidget(m_grid, 1);
    lay->addLayout(buttonRow({cmdQuery, cmdReceipt, cmdPick, cmdQuit}));

    connect(cmdQuery, &QPushButton::clicked, this, &SalesInquiryDialog::search);
    connect(cmdReceipt, &QPushButton::clicked, this, [this] { setReceipt(m_grid->currentRow(), true); });
    connect(cmdPick, &QPushButton::clicked, this, [this] { pick(m_grid->currentRow()); });
    connect(cmdQuit, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_grid, &DataGrid::rowActivated, this, &SalesInquiryDialog::pick);
    connect(m_grid, &DataGrid::cellEdited, this, [this](int row, int col) {
        if (!m_filling && col == ColReceipt && voucherAt(row))
            setReceipt(row, m_grid->isChecked(row, col));
    });
    for (QComboBox *c : {m_course, m_user})
        connect(c, &QComboBox::currentIndexChanged, this, &SalesInquiryDialog::search);
    connect(m_date, &DateEdit::dateTextChanged, this, &SalesInquiryDialog::search);
    installEnterAsTab(this);
    resize(820, 560);
    search();
}

void SalesInquiryDialog::search()
{
    const QString date = m_date->dateText(), user = chosenCode(m_user), course = chosenCode(m_course);
    const auto v = guard(m_ui, DbAction::Read, [&] { return dayVouchers(m_ui.app.main, date, user, course); });
    if (!v)
        return;
    m_vouchers = *v;
    m_filling = true;
    m_grid->clearRows();
    for (int i = 0; i < m_vouchers.size(); ++i) {
        const DayVoucher &d = m_vouchers[i];
        const int row = m_grid->addRow({d.number(), QString(), QString(), QString(), wonText(d.cash), wonText(d.card),
                                        d.userName.isEmpty() ? d.user : d.userName, QString::number(d.posNo), d.time,
                                        d.cashReceipt ? QStringLiteral("1") : QStringLiteral("0"),
                                        receiptText(d.cashReceipt)},
                                       i);
        m_grid->setCheckCells(ColReceipt, row, ColReceipt, row);
        m_grid->colorRow(row, QColor(0xE8, 0xF0, 0xFA));
        m_grid->setRowBold(row, true);
        for (const SaleLineRow &l : d.lines)
            m_grid->addRow({QString(), l.itName.isEmpty() ? l.itCode : l.itName, wonText(l.qty), wonText(l.amount)}, i);
    }
    m_filling = false;
}

const DayVoucher *SalesInquiryDialog::voucherAt(int row) const
{
    if (row < 0 || row >= m_grid->rowCount())
        return nullptr;
    const QVariant key = m_grid->rowKey(row);
    const int i = key.isValid() ? key.toInt() : -1;
    return i >= 0 && i < m_vouchers.size() ? &m_vouchers[i] : nullptr;
}

bool SalesInquiryDialog::pick(int row)
{
    const DayVoucher *v = voucherAt(row);
    if (!v)
        return false;
    SlNo = v->slNo;
    SlDate = v->slDate;
    SlUser = v->user;
    accept();
    m_ui.openScreen(QStringLiteral("Menu26"), {{QStringLiteral("SlNo"), SlNo},
                                               {QStringLiteral("SlDate"), SlDate},
                                               {QStringLiteral("SlUser"), SlUser}});
    return true;
}

bool SalesInquiryDialog::setReceipt(int row, bool issued)
{
    const DayVoucher *v = voucherAt(row);
    if (!v)
        return false;
    const DayVoucher d = *v;
    const auto o = guard(m_ui, DbAction::Update,
                         [&] { return setCashReceipt(m_ui.app.main, d.slDate, d.user, d.slNo, d.time, issued); });
    const bool ok = o && showOutcome(m_ui, *o);
    search();
    const int again = m_grid->findRow(ColNumber, d.number());
    if (again >= 0)
        m_grid->setCurrentRow(again);
    return ok;
}

} // namespace fitrova
