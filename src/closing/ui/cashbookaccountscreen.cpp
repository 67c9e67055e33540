#include "closing/ui/cashbookaccountscreen.h"

#include "data/listitems.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"
#include "widgets/deskguard.h"
#include "widgets/gridexport.h"
#include "widgets/gridprint.h"
#include "widgets/widgetutil.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace fitrova {

namespace {

const QString kDeleteAsk = QStringLiteral("현제 선택한 자료를 삭제하시겠읍니까?");
const QString kDeleteTitle = QStringLiteral("자료삭제");

enum AccountCol { ColCode, ColName, ColKind, ColPay };

QComboBox *combo(QWidget *parent, const QString &name, const QStringList &items)
{
    auto *c = new QComboBox(parent);
    c->setObjectName(name);
    c->addItems(items);
    return c;
}

} // namespace

// --- accounts ---------------------------------------------------------------------

CashAccountScreen::CashAccountScreen(UiContext &ui, QWidget *parent) : QWidget(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("회계_계정과목"));
    setWindowTitle(QStringLiteral("계정과목등록"));

    m_filter = combo(this, QStringLiteral("Cob조회구분"),
                     {allItemText(), QStringLiteral("1-수입"), QStringLiteral("2-지출")});
    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("SpList"));
    m_grid->setColumns({QStringLiteral("과목코드"), QStringLiteral("과목명"), QStringLiteral("구분"), QStringLiteral("금액구분")},
                       {70, 150, 60, 70});
    m_grid->setColumnAlignment(ColCode, Qt::AlignCenter);
    m_grid->setColumnAlignment(ColKind, Qt::AlignCenter);
    m_grid->setColumnAlignment(ColPay, Qt::AlignCenter);

    m_kind = combo(this, QStringLiteral("Cob과목구분"), {QStringLiteral("1-수입"), QStringLiteral("2-지출")});
    m_pay = combo(this, QStringLiteral("Cob금액구분"), {QStringLiteral("1-현금"), QStringLiteral("2-카드")});
    m_code = new QLineEdit(this);
    m_code->setObjectName(QStringLiteral("Txt과목코드"));
    m_code->setMaximumWidth(80);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("Txt과목명"));

    auto *box = new QGroupBox(QStringLiteral("계정과목"), this);
    auto *form = new QGridLayout(box);
    form->addWidget(caption(box, QStringLiteral("과목구분")), 0, 0);
    form->addWidget(m_kind, 0, 1);
    form->addWidget(caption(box, QStringLiteral("금액구분")), 1, 0);
    form->addWidget(m_pay, 1, 1);
    form->addWidget(caption(box, QStringLiteral("과목코드")), 2, 0);
    form->addWidget(m_code, 2, 1);
    form->addWidget(caption(box, QStringLiteral("과목명")), 3, 0);
    form->addWidget(m_name, 3, 1);
    form->setRowStretch(4, 1);
    auto *hint = new QLabel(QStringLiteral("과목코드는 구분을 고르면 정해집니다.\n"
                                           "수입 100번대, 지출 200번대."),
                            box);
    hint->setWordWrap(true);
    form->addWidget(hint, 5, 0, 1, 2);

    QPushButton *cmdNew = commandButton(this, QStringLiteral("Cmd신규"), QStringLiteral("신규"));
    QPushButton *cmdSave = commandButton(this, QStringLiteral("Cmd저장"), QStringLiteral("저장"));
    QPushButton *cmdDelete = commandButton(this, QStringLiteral("Cmd삭제"), QStringLiteral("삭제"));
    QPushButton *cmdDesc = commandButton(this, QStringLiteral("Cmd적요"), QStringLiteral("적요등록"));
    QPushButton *cmdPrint = commandButton(this, QStringLiteral("Cmd인쇄"), QStringLiteral("인쇄"));
    QPushButton *cmdExcel = commandButton(this, QStringLiteral("Cmd엑셀"), QStringLiteral("엑셀"));
    QPushButton *cmdClose = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"));

    auto *top = new QHBoxLayout;
    top->addWidget(caption(this, QStringLiteral("구분")));
    top->addWidget(m_filter);
    top->addStretch();
    auto *middle = new QHBoxLayout;
    middle->addWidget(m_grid, 3);
    middle->addWidget(box, 2);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(10, 10, 10, 10);
    outer->addLayout(top);
    outer->addLayout(middle, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(cmdDesc);
    bottom->addStretch();
    for (QPushButton *b : {cmdNew, cmdSave, cmdDelete, cmdPrint, cmdExcel, cmdClose})
        bottom->addWidget(b);
    outer->addLayout(bottom);
    resize(720, 460);
    installEnterAsTab(this);
    installSelectAllOnFocus(this);

    connect(m_filter, &QComboBox::currentIndexChanged, this, [this] { reload(); });
    connect(m_kind, &QComboBox::currentIndexChanged, this, [this] { kindChosen(); });
    connect(m_grid, &DataGrid::currentRowChanged, this, [this](int row, int) { showRow(row); });
    connect(m_grid, &DataGrid::deleteRequested, this, [this](int) { deleteSelected(); });
    connect(cmdNew, &QPushButton::clicked, this, &CashAccountScreen::newAccount);
    connect(cmdSave, &QPushButton::clicked, this, &CashAccountScreen::save);
    connect(cmdDelete, &QPushButton::clicked, this, &CashAccountScreen::deleteSelected);
    connect(cmdDesc, &QPushButton::clicked, this, [this] { m_ui.openScreen(QStringLiteral("회계_적요코드")); });
    connect(cmdPrint, &QPushButton::clicked, this, [this] {
        printGridPreview(*m_grid, QStringLiteral("계정과목"), QStringLiteral("구분 : ") + m_filter->currentText(), {}, {},
                         false, 0, 1, 0, m_ui.app.business.name);
    });
    connect(cmdExcel, &QPushButton::clicked, this, [this] { exportGridForUser(m_ui, QStringLiteral("계정과목"), *m_grid); });
    connect(cmdClose, &QPushButton::clicked, this, [this] { closeScreen(this); });

    reload();
    newAccount();
}

void CashAccountScreen::reload()
{
    const auto rows = guard(m_ui, DbAction::Read, [&] { return listCashAccounts(m_ui.app.main, comboCode(m_filter)); });
    QList<QStringList> cells;
    QVariantList keys;
    if (rows)
        for (const CashAccount &a : *rows) {
            cells << QStringList{a.code, a.name, cashKindText(a.kind), cashPayText(a.payKind)};
            keys << a.kind;
        }
    const QSignalBlocker block(m_grid);
    m_grid->setRows(cells, keys);
    m_grid->setCurrentRow(-1);
}

void CashAccountScreen::kindChosen()
{
    if (m_editing)
        return;
    const auto code = guard(m_ui, DbAction::Read, [&] { return nextCashAccountCode(m_ui.app.main, comboCode(m_kind)); });
    if (code)
        m_code->setText(*code);
}

void CashAccountScreen::newAccount()
{
    m_editing = false;
    m_code->setReadOnly(false);
    m_name->clear();
    kindChosen();
    m_name->setFocus();
}

void CashAccountScreen::showRow(int row)
{
    if (row < 0 || row >= m_grid->rowCount())
        return;
    m_editing = true;
    m_kind->setCurrentIndex(m_grid->rowKey(row).toString() == QLatin1String("2") ? 1 : 0);
    m_pay->setCurrentIndex(m_grid->cell(row, ColPay) == QStringLiteral("카드") ? 1 : 0);
    m_code->setText(m_grid->cell(row, ColCode));
    m_code->setReadOnly(true);
    m_name->setText(m_grid->cell(row, ColName));
}

void CashAccountScreen::save()
{
    const CashAccount a{comboCode(m_kind), m_code->text(), m_name->text(), comboCode(m_pay)};
    const auto o = guard(m_ui, DbAction::Save, [&] { return saveCashAccount(m_ui.app.main, a); });
    if (!o)
        return;
    if (!showOutcome(m_ui, *o)) {
        if (o->field == int(CashAccountField::Name))
            m_name->setFocus();
        else if (o->field == int(CashAccountField::Code))
            m_code->setFocus();
        return;
    }
    reload();
    const int row = m_grid->findRow(ColCode, o->code);
    if (row >= 0)
        m_grid->setCurrentRow(row);
    else
        newAccount();
}

void CashAccountScreen::deleteSelected()
{
    const int row = m_grid->currentRow();
    if (row < 0 || !m_editing)
        return;
    if (!m_ui.msg.ask(kDeleteAsk, kDeleteTitle))
        return;
    const QString kind = m_grid->rowKey(row).toString(), code = m_grid->cell(row, ColCode);
    const auto o = guard(m_ui, DbAction::Delete, [&] { return deleteCashAccount(m_ui.app.main, kind, code); });
    if (!o || !showOutcome(m_ui, *o))
        return;
    reload();
    newAccount();
}

// --- descriptions ------------------------------------------------------------------

CashDescriptionScreen::CashDescriptionScreen(UiContext &ui, QWidget *parent) : QWidget(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("회계_적요코드"));
    setWindowTitle(QStringLiteral("적요등록"));

    m_kind = combo(this, QStringLiteral("Cob과목구분"), {QStringLiteral("1-수입"), QStringLiteral("2-지출")});
    m_accounts = new DataGrid(this);
    m_accounts->setObjectName(QStringLiteral("SpAccount"));
    m_accounts->setColumns({QStringLiteral("과목코드"), QStringLiteral("과목명")}, {70, 150});
    m_accounts->setColumnAlignment(0, Qt::AlignCenter);
    m_list = new DataGrid(this);
    m_list->setObjectName(QStringLiteral("SpList"));
    m_list->setColumns({QStringLiteral("적요코드"), QStringLiteral("적요")}, {70, 260});
    m_list->setColumnAlignment(0, Qt::AlignCenter);
    m_no = new QLineEdit(this);
    m_no->setObjectName(QStringLiteral("Txt적요코드"));
    m_no->setReadOnly(true);
    m_no->setMaximumWidth(70);
    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("Txt적요"));

    QPushButton *cmdNew = commandButton(this, QStringLiteral("Cmd신규"), QStringLiteral("신규"));
    QPushButton *cmdSave = commandButton(this, QStringLiteral("Cmd저장"), QStringLiteral("저장"));
    QPushButton *cmdDelete = commandButton(this, QStringLiteral("Cmd삭제"), QStringLiteral("삭제"));
    QPushButton *cmdClose = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"));

    auto *top = new QHBoxLayout;
    top->addWidget(caption(this, QStringLiteral("과목구분")));
    top->addWidget(m_kind);
    top->addStretch();
    auto *right = new QVBoxLayout;
    right->addWidget(m_list, 1);
    auto *edit = new QHBoxLayout;
    edit->addWidget(caption(this, QStringLiteral("적요")));
    edit->addWidget(m_no);
    edit->addWidget(m_text, 1);
    right->addLayout(edit);
    auto *middle = new QHBoxLayout;
    middle->addWidget(m_accounts, 2);
    middle->addLayout(right, 3);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(10, 10, 10, 10);
    outer->addLayout(top);
    outer->addLayout(middle, 1);
    outer->addLayout(buttonRow({cmdNew, cmdSave, cmdDelete, cmdClose}));
    resize(680, 440);
    installEnterAsTab(this);
    installSelectAllOnFocus(this);

    connect(m_kind, &QComboBox::currentIndexChanged, this, [this] { reloadAccounts(); });
    connect(m_accounts, &DataGrid::currentRowChanged, this, [this](int, int) {
        reloadDescriptions();
        newDescription();
    });
    connect(m_list, &DataGrid::currentRowChanged, this, [this](int row, int) {
        if (row < 0 || row >= m_list->rowCount())
            return;
        m_no->setText(m_list->cell(row, 0));
        m_text->setText(m_list->cell(row, 1));
    });
    connect(m_list, &DataGrid::deleteRequested, this, [this](int) { deleteSelected(); });
    connect(cmdNew, &QPushButton::clicked, this, &CashDescriptionScreen::newDescription);
    connect(cmdSave, &QPushButton::clicked, this, &CashDescriptionScreen::save);
    connect(cmdDelete, &QPushButton::clicked, this, &CashDescriptionScreen::deleteSelected);
    connect(cmdClose, &QPushButton::clicked, this, [this] { closeScreen(this); });

    reloadAccounts();
}

QString CashDescriptionScreen::accountCode() const
{
    const int row = m_accounts->currentRow();
    return row >= 0 && row < m_accounts->rowCount() ? m_accounts->cell(row, 0) : QString();
}

void CashDescriptionScreen::reloadAccounts()
{
    const auto rows = guard(m_ui, DbAction::Read, [&] { return listCashAccounts(m_ui.app.main, comboCode(m_kind)); });
    QList<QStringList> cells;
    if (rows)
        for (const CashAccount &a : *rows)
            cells << QStringList{a.code, a.name};
    {
        const QSignalBlocker block(m_accounts);
        m_accounts->setRows(cells);
    }
    if (!cells.isEmpty())
        m_accounts->setCurrentRow(0);
    else {
        m_list->clearRows();
        newDescription();
    }
}

void CashDescriptionScreen::reloadDescriptions()
{
    const QString code = accountCode();
    const auto rows = guard(m_ui, DbAction::Read, [&] { return listCashDescriptions(m_ui.app.main, code); });
    QList<QStringList> cells;
    if (rows)
        for (const CashDescription &d : *rows)
            cells << QStringList{QString::number(d.no), d.text};
    const QSignalBlocker block(m_list);
    m_list->setRows(cells);
    m_list->setCurrentRow(-1);
}

void CashDescriptionScreen::newDescription()
{
    m_no->clear();
    m_text->clear();
    m_text->setFocus();
}

void CashDescriptionScreen::save()
{
    const QString code = accountCode();
    const int no = m_no->text().toInt();
    const QString text = m_text->text();
    const auto o = guard(m_ui, DbAction::Save, [&] { return saveCashDescription(m_ui.app.main, code, no, text); });
    if (!o || !showOutcome(m_ui, *o))
        return;
    reloadDescriptions();
    newDescription();
}

void CashDescriptionScreen::deleteSelected()
{
    const int row = m_list->currentRow();
    if (row < 0 || row >= m_list->rowCount())
        return;
    if (!m_ui.msg.ask(kDeleteAsk, kDeleteTitle))
        return;
    const QString code = accountCode();
    const int no = m_list->cell(row, 0).toInt();
    const auto o = guard(m_ui, DbAction::Delete, [&] { return deleteCashDescription(m_ui.app.main, code, no); });
    if (!o || !showOutcome(m_ui, *o))
        return;
    reloadDescriptions();
    newDescription();
}

// --- pick lists ----------------------------------------------------------------------

CashPickDialog::CashPickDialog(UiContext &ui, Kind kind, const QString &key, QWidget *parent)
    : QDialog(parent), m_kind(kind)
{
    const bool accounts = kind == Kind::Accounts;
    setObjectName(accounts ? QStringLiteral("회계_과목조회") : QStringLiteral("회계_적요조회"));
    setWindowTitle(accounts ? QStringLiteral("계정과목 조회") : QStringLiteral("적요 조회"));
    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("SpList"));
    if (accounts)
        m_grid->setColumns({QStringLiteral("과목코드"), QStringLiteral("과목명"), QStringLiteral("금액구분")}, {70, 150, 70});
    else
        m_grid->setColumns({QStringLiteral("적요코드"), QStringLiteral("적요")}, {70, 280});
    m_grid->setColumnAlignment(0, Qt::AlignCenter);

    QList<QStringList> cells;
    if (accounts) {
        if (const auto rows = guard(ui, DbAction::Read, [&] { return listCashAccounts(ui.app.main, key); }))
            for (const CashAccount &a : *rows)
                cells << QStringList{a.code, a.name, cashPayText(a.payKind)};
    } else {
        if (const auto rows = guard(ui, DbAction::Read, [&] { return listCashDescriptions(ui.app.main, key); }))
            for (const CashDescription &d : *rows)
                cells << QStringList{QString::number(d.no), d.text};
    }
    m_grid->setRows(cells);
    if (!cells.isEmpty())
        m_grid->setCurrentRow(0);

    QPushButton *cmdPick = commandButton(this, QStringLiteral("Cmd선택"), QStringLiteral("선택"));
    QPushButton *cmdClose = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"));
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(10, 10, 10, 10);
    outer->addWidget(m_grid, 1);
    outer->addLayout(buttonRow({cmdPick, cmdClose}));
    resize(accounts ? 360 : 420, 380);

    connect(m_grid, &DataGrid::rowActivated, this, [this](int) { pick(); });
    connect(cmdPick, &QPushButton::clicked, this, &CashPickDialog::pick);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
}

void CashPickDialog::pick()
{
    const int row = m_grid->currentRow();
    if (row < 0 || row >= m_grid->rowCount())
        return;
    m_picked = m_grid->cell(row, m_kind == Kind::Accounts ? 0 : 1);
    TF = true;
    accept();
}

} // namespace fitrova
