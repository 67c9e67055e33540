#include "closing/ui/cashbookentryscreen.h"

#include "closing/ui/cashbookaccountscreen.h"
#include "data/text.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"
#include "widgets/dateedit.h"
#include "widgets/deskguard.h"
#include "widgets/gridprint.h"
#include "widgets/moneyedit.h"
#include "widgets/widgetutil.h"
#include "widgets/unsavedchanges.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace fitrova {

namespace {

enum Col { ColCode, ColName, ColIncome, ColExpense, ColPay, ColText, ColBalance };

QString amount(qint64 v) { return v == 0 ? QString() : wonText(v); }

} // namespace

CashEntryScreen::CashEntryScreen(UiContext &ui, QWidget *parent) : QWidget(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("회계_수입지출"));
    setWindowTitle(QStringLiteral("수입/지출 등록"));

    m_date = new DateEdit(ui.app.clock().today(), this);
    m_date->setObjectName(QStringLiteral("Dtp일자"));
    auto *prevDay = new QToolButton(this);
    prevDay->setObjectName(QStringLiteral("CmdPrevDay"));
    prevDay->setArrowType(Qt::LeftArrow);
    auto *nextDay = new QToolButton(this);
    nextDay->setObjectName(QStringLiteral("CmdNextDay"));
    nextDay->setArrowType(Qt::RightArrow);

    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("SpList"));
    m_grid->setColumns({QStringLiteral("코드"), QStringLiteral("계정과목"), QStringLiteral("수입"), QStringLiteral("지출"),
                        QStringLiteral("구분"), QStringLiteral("적요"), QStringLiteral("잔액")},
                       {50, 120, 95, 95, 50, 230, 105});
    m_grid->setHeaderSorting(false);
    m_grid->setColumnAlignment(ColCode, Qt::AlignCenter);
    m_grid->setColumnAlignment(ColPay, Qt::AlignCenter);
    for (int c : {ColIncome, ColExpense, ColBalance})
        m_grid->setColumnAlignment(c, Qt::AlignRight);

    m_code = new QLineEdit(this);
    m_code->setObjectName(QStringLiteral("Txt과목코드"));
    m_code->setMaximumWidth(70);
    auto *pickCode = new QToolButton(this);
    pickCode->setObjectName(QStringLiteral("Cmd과목조회"));
    pickCode->setText(QStringLiteral("…"));
    m_name = displayPanel(this, QStringLiteral("Pnl과목명"), 130);
    m_kind = displayPanel(this, QStringLiteral("Pnl과목구분"), 70, Qt::AlignCenter);
    m_pay = displayPanel(this, QStringLiteral("Pnl금액구분"), 70, Qt::AlignCenter);
    m_amount = new MoneyEdit(this, QStringLiteral("Txt금액"), QStringLiteral("금액"));
    m_amount->setMaximumWidth(140);
    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("Txt적요"));
    auto *pickText = new QToolButton(this);
    pickText->setObjectName(QStringLiteral("Cmd적요조회"));
    pickText->setText(QStringLiteral("…"));
    m_totals = displayPanel(this, QStringLiteral("Pnl합계"), 400, Qt::AlignRight);

    auto *box = new QGroupBox(QStringLiteral("입력"), this);
    auto *form = new QGridLayout(box);
    form->addWidget(caption(box, QStringLiteral("과목코드")), 0, 0);
    auto *codeRow = new QHBoxLayout;
    codeRow->addWidget(m_code);
    codeRow->addWidget(pickCode);
    codeRow->addWidget(m_name, 1);
    codeRow->addWidget(m_kind);
    codeRow->addWidget(m_pay);
    form->addLayout(codeRow, 0, 1);
    form->addWidget(caption(box, QStringLiteral("금액")), 1, 0);
    auto *amountRow = new QHBoxLayout;
    amountRow->addWidget(m_amount);
    amountRow->addStretch();
    form->addLayout(amountRow, 1, 1);
    form->addWidget(caption(box, QStringLiteral("적요")), 2, 0);
    auto *textRow = new QHBoxLayout;
    textRow->addWidget(m_text, 1);
    textRow->addWidget(pickText);
    form->addLayout(textRow, 2, 1);

    QPushButton *cmdNew = commandButton(this, QStringLiteral("Cmd신규"), QStringLiteral("신규"));
    QPushButton *cmdSave = commandButton(this, QStringLiteral("Cmd저장"), QStringLiteral("저장"));
    QPushButton *cmdDelete = commandButton(this, QStringLiteral("Cmd삭제"), QStringLiteral("삭제"));
    QPushButton *cmdPrint = commandButton(this, QStringLiteral("Cmd인쇄"), QStringLiteral("인쇄"));
    QPushButton *cmdClose = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"));

    auto *top = new QHBoxLayout;
    top->addWidget(caption(this, QStringLiteral("일자")));
    top->addWidget(prevDay);
    top->addWidget(m_date);
    top->addWidget(nextDay);
    top->addStretch();
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(10, 10, 10, 10);
    outer->addLayout(top);
    outer->addWidget(m_grid, 1);
    auto *sums = new QHBoxLayout;
    sums->addStretch();
    sums->addWidget(m_totals);
    outer->addLayout(sums);
    outer->addWidget(box);
    outer->addLayout(buttonRow({cmdNew, cmdSave, cmdDelete, cmdPrint, cmdClose}));
    resize(820, 600);
    installEnterAsTab(this);
    installSelectAllOnFocus(this);

    connect(m_date, &DateEdit::dateTextChanged, this, [this] {
        reload();
        newEntry();
    });
    connect(prevDay, &QToolButton::clicked, this, [this] { m_date->setDate(m_date->date().addDays(-1)); });
    connect(nextDay, &QToolButton::clicked, this, [this] { m_date->setDate(m_date->date().addDays(1)); });
    connect(m_code, &QLineEdit::editingFinished, this, [this] {
        if (m_code->isModified()) {
            m_code->setModified(false);
            lookupAccount();
        }
    });
    connect(pickCode, &QToolButton::clicked, this, &CashEntryScreen::pickAccount);
    connect(pickText, &QToolButton::clicked, this, &CashEntryScreen::pickDescription);
    connect(m_grid, &DataGrid::currentRowChanged, this, [this](int row, int) { showRow(row); });
    connect(m_grid, &DataGrid::deleteRequested, this, [this](int) { deleteSelected(); });
    connect(cmdNew, &QPushButton::clicked, this, &CashEntryScreen::newEntry);
    connect(cmdSave, &QPushButton::clicked, this, &CashEntryScreen::save);
    connect(cmdDelete, &QPushButton::clicked, this, &CashEntryScreen::deleteSelected);
    connect(cmdPrint, &QPushButton::clicked, this, [this] {
        printGridPreview(*m_grid, QStringLiteral("수입지출 현황"), QStringLiteral("(") + m_date->dateText() + QStringLiteral(")"),
                         {}, {}, true, 0, 1, 0, m_ui.app.business.name);
    });
    connect(cmdClose, &QPushButton::clicked, this, [this] { closeScreen(this); });

    reload();
    newEntry();
    // The day shown is where the book is read, not part of an entry.
    auto *changes = new UnsavedChanges(this, m_ui.msg, [this] { return save(); });
    changes->ignore(m_date);
}

void CashEntryScreen::reload()
{
    const QString day = m_date->dateText();
    const auto book = guard(m_ui, DbAction::Read, [&] { return readCashBook(m_ui.app.main, CashBookFilter{day, day}); });
    m_book = book ? *book : CashBook{};
    QList<QStringList> rows;
    QVariantList keys;
    rows << QStringList{QString(), QStringLiteral("[전기이월]"), {}, {}, {}, {}, wonText(m_book.broughtForward)};
    keys << qint64(0);
    for (const CashEntry &e : m_book.entries) {
        rows << QStringList{e.accountCode, e.accountName, amount(e.income), amount(e.expense), cashPayText(e.payKind), e.text,
                            wonText(e.balance)};
        keys << e.seq;
    }
    {
        const QSignalBlocker block(m_grid);
        m_grid->setRows(rows, keys);
        m_grid->setTotalRow(0);
        m_grid->setCurrentRow(-1);
    }
    m_totals->setText(QStringLiteral("수입 %1   지출 %2   잔액 %3")
                          .arg(wonText(m_book.totalIncome), wonText(m_book.totalExpense), wonText(m_book.closingBalance())));
}

void CashEntryScreen::newEntry()
{
    m_seq = 0;
    m_carried = false;
    m_code->clear();
    showAccount(std::nullopt);
    m_amount->setAmount(0);
    m_amount->clear();
    m_text->clear();
    UnsavedChanges::markCleanOf(this);
    m_code->setFocus();
}

void CashEntryScreen::showAccount(const std::optional<CashAccount> &a)
{
    m_name->setText(a ? a->name : QString());
    m_kind->setText(a ? (a->kind == QLatin1String("1") ? QStringLiteral("1.수입") : QStringLiteral("2.지출")) : QString());
    m_pay->setText(a ? (a->payKind == QLatin1String("2") ? QStringLiteral("2.카드") : QStringLiteral("1.현금")) : QString());
}

bool CashEntryScreen::lookupAccount()
{
    const QString code = m_code->text().trimmed();
    if (code.isEmpty()) {
        showAccount(std::nullopt);
        return false;
    }
    if (code.size() > 3) {
        m_ui.msg.warn(QStringLiteral("3자리를 넘을수 없습니다."), QStringLiteral("입력확인"));
        m_code->setFocus();
        m_code->selectAll();
        return false;
    }
    const auto a = guard(m_ui, DbAction::Read, [&] { return findCashAccount(m_ui.app.main, code); });
    if (!a)
        return false;
    if (!*a) {
        showAccount(std::nullopt);
        m_ui.msg.warn(QStringLiteral("등록되지 않은 과목코드 입니다."), QStringLiteral("입력확인"));
        m_code->setFocus();
        m_code->selectAll();
        return false;
    }
    showAccount(*a);
    return true;
}

void CashEntryScreen::pickAccount()
{
    CashPickDialog dlg(m_ui, CashPickDialog::Kind::Accounts, QString(), this);
    if (dlg.exec() != QDialog::Accepted || !dlg.TF)
        return;
    m_code->setText(dlg.picked());
    if (lookupAccount())
        m_amount->setFocus();
}

void CashEntryScreen::pickDescription()
{
    const QString code = m_code->text().trimmed();
    if (code.isEmpty()) {
        m_ui.msg.warn(QStringLiteral("계정과목을 입력하세요."), QStringLiteral("입력확인"));
        m_code->setFocus();
        return;
    }
    CashPickDialog dlg(m_ui, CashPickDialog::Kind::Descriptions, code, this);
    if (dlg.exec() != QDialog::Accepted || !dlg.TF)
        return;
    m_text->setText(dlg.picked());
    m_text->setFocus();
}

void CashEntryScreen::showRow(int row)
{
    if (row < 0 || row >= m_grid->rowCount())
        return;
    if (row == 0) {
        // The balance brought forward is not an entry.
        m_seq = 0;
        m_carried = true;
        return;
    }
    m_carried = false;
    const CashEntry &e = m_book.entries.at(row - 1);
    m_seq = e.seq;
    m_code->setText(e.accountCode);
    showAccount(CashAccount{e.kind, e.accountCode, e.accountName, e.payKind});
    m_amount->setAmount(e.income + e.expense);
    m_text->setText(e.text);
    UnsavedChanges::markCleanOf(this);
}

bool CashEntryScreen::save()
{
    if (m_carried) {
        m_ui.msg.warn(QStringLiteral("이월자료는 수정할수 없읍니다."), QStringLiteral("수정오류"));
        return false;
    }
    if (!checkNumberFields(this, m_ui.msg))
        return false;
    CashEntryInput in;
    in.seq = m_seq;
    in.date = m_date->dateText();
    in.accountCode = m_code->text();
    in.amount = m_amount->amount();
    in.text = m_text->text();
    const auto o = guard(m_ui, m_seq > 0 ? DbAction::Update : DbAction::Save,
                         [&] { return saveCashEntry(m_ui.app.main, in); });
    if (!o)
        return false;
    if (!showOutcome(m_ui, *o)) {
        if (o->field == int(CashEntryField::Amount))
            m_amount->setFocus();
        else if (o->field == int(CashEntryField::Text))
            m_text->setFocus();
        else
            m_code->setFocus();
        // An entry another workstation deleted meanwhile: show what is stored.
        if (m_seq > 0 && o->field == int(CashEntryField::None)) {
            reload();
            newEntry();
        }
        return false;
    }
    reload();
    newEntry();
    return true;
}

void CashEntryScreen::deleteSelected()
{
    const int row = m_grid->currentRow();
    if (row <= 0 || row >= m_grid->rowCount())
        return;
    if (!m_ui.msg.ask(QStringLiteral("현제 선택한 자료를 삭제하시겠읍니까?"), QStringLiteral("자료삭제")))
        return;
    const qint64 seq = m_grid->rowKey(row).toLongLong();
    const QString day = m_date->dateText();
    const auto o = guard(m_ui, DbAction::Delete, [&] { return deleteCashEntry(m_ui.app.main, day, seq); });
    if (o)
        showOutcome(m_ui, *o);
    reload();
    newEntry();
}

} // namespace fitrova
