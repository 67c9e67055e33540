#include "messaging/ui/smsaccountdialogs.h"

#include "data/text.h"
#include "widgets/busynotice.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"
#include "widgets/dateedit.h"
#include "widgets/deskguard.h"
#include "widgets/moneyedit.h"
#include "widgets/widgetutil.h"
#include "widgets/unsavedchanges.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace fitrova {

// --- customer login ---------------------------------------------------------------------

SmsAccountDialog::SmsAccountDialog(UiContext &ui, SmsDesk &desk, const QString &jobGubun, qint64 idx, QWidget *parent)
    : QDialog(parent), m_ui(ui), m_desk(desk), m_isNew(jobGubun != QLatin1String("C")), m_idx(idx)
{
    setObjectName(QStringLiteral("SMS사용처Sub"));
    setWindowTitle(m_isNew ? QStringLiteral("SMS사용처 등록") : QStringLiteral("SMS사용처 등록(수정)"));
    m_id = textField(this, QStringLiteral("TxtID"), 20);
    m_password = textField(this, QStringLiteral("TxtPass"), 40);
    m_password->setEchoMode(QLineEdit::Password);
    m_name = textField(this, QStringLiteral("TxtName"), 40);
    m_tel = textField(this, QStringLiteral("TxtTel"), 20);
    m_hp = textField(this, QStringLiteral("TxtHp"), 20);
    setHangulMode(m_id, false);
    setHangulMode(m_name, true);

    if (!m_isNew) {
        const auto a = guard(ui, DbAction::Read, [&] { return smsAccount(desk.link.primary(), idx); });
        if (a) {
            m_id->setText(a->customId);
            m_name->setText(a->name);
            m_tel->setText(a->tel);
            m_hp->setText(a->hp);
        }
        m_id->setReadOnly(true);
        m_password->setPlaceholderText(QStringLiteral("바꿀 때만 입력"));
    }

    auto *grid = new QGridLayout;
    int row = 0;
    for (const auto &[text, w] : {std::pair{"아이디", m_id}, std::pair{"비밀번호", m_password},
                                  std::pair{"사용처명", m_name}, std::pair{"전화번호(회신)", m_tel},
                                  std::pair{"핸드폰", m_hp}}) {
        grid->addWidget(caption(this, QString::fromUtf8(text)), row, 0);
        grid->addWidget(w, row++, 1);
    }
    QPushButton *saveButton = commandButton(this, QStringLiteral("Cmd저장"), QStringLiteral("저장"));
    QPushButton *close = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"));
    auto *outer = new QVBoxLayout(this);
    outer->addLayout(grid);
    outer->addLayout(buttonRow({saveButton, close}));
    setMinimumWidth(360);

    installEnterAsTab(this);
    installSelectAllOnFocus(this);
    connect(saveButton, &QPushButton::clicked, this, &SmsAccountDialog::save);
    connect(close, &QPushButton::clicked, this, [this] {
        if (UnsavedChanges::mayClose(this))
            reject();
    });
    new UnsavedChanges(this, m_ui.msg, [this] { return save(); });
}

bool SmsAccountDialog::save()
{
    SmsAccount a;
    a.idx = m_idx;
    a.customId = m_id->text();
    a.name = m_name->text();
    a.tel = m_tel->text();
    a.hp = m_hp->text();
    std::optional<Outcome> r;
    {
        WaitCursor wait;
        r = guard(m_ui, m_isNew ? DbAction::Save : DbAction::Update,
                  [&] { return saveSmsAccount(m_desk.link.primary(), a, m_password->text(), m_isNew); });
    }
    if (!r)
        return false;
    if (!showOutcome(m_ui, *r)) {
        QLineEdit *f = r->field == 2 ? m_password : r->field == 3 ? m_tel : m_id;
        f->setFocus();
        f->selectAll();
        return false;
    }
    m_idx = r->id;
    m_tf = true;
    accept();
    return true;
}

// --- one deposit -------------------------------------------------------------------------

SmsDepositDialog::SmsDepositDialog(UiContext &ui, SmsDesk &desk, const SmsDeposit &deposit, QWidget *parent)
    : QDialog(parent), m_ui(ui), m_desk(desk), m_deposit(deposit)
{
    setObjectName(QStringLiteral("SMS입금Sub"));
    setWindowTitle(deposit.idx == 0 ? QStringLiteral("SMS 입금등록") : QStringLiteral("SMS 입금등록(수정)"));
    m_date = new DateEdit(ui.app.clock().today(), this);
    m_date->setObjectName(QStringLiteral("DtpDate"));
    if (deposit.idx != 0)
        m_date->setDateText(deposit.date);
    m_amount = new MoneyEdit(this, QStringLiteral("TxtAmount"), QStringLiteral("충전금액"));
    m_messages = new MoneyEdit(this, QStringLiteral("TxtCount"), QStringLiteral("충전건수"), MoneyEdit::Kind::Count);
    if (deposit.idx != 0) {
        m_amount->setAmount(deposit.amount);
        m_messages->setAmount(deposit.messages);
    }
    auto *grid = new QGridLayout;
    grid->addWidget(caption(this, QStringLiteral("입금일자")), 0, 0);
    grid->addWidget(m_date, 0, 1);
    grid->addWidget(caption(this, QStringLiteral("충전금액")), 1, 0);
    grid->addWidget(m_amount, 1, 1);
    grid->addWidget(caption(this, QStringLiteral("충전건수")), 2, 0);
    grid->addWidget(m_messages, 2, 1);
    QPushButton *saveButton = commandButton(this, QStringLiteral("Cmd저장"), QStringLiteral("저장"));
    QPushButton *close = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"));
    auto *outer = new QVBoxLayout(this);
    outer->addLayout(grid);
    outer->addLayout(buttonRow({saveButton, close}));
    setMinimumWidth(300);

    installEnterAsTab(this);
    installSelectAllOnFocus(this);
    connect(saveButton, &QPushButton::clicked, this, &SmsDepositDialog::save);
    connect(close, &QPushButton::clicked, this, [this] {
        if (UnsavedChanges::mayClose(this))
            reject();
    });
    new UnsavedChanges(this, m_ui.msg, [this] { return save(); });
}

bool SmsDepositDialog::save()
{
    const QString title = smsDepositTitle();
    if (m_amount->text().trimmed().isEmpty()) {
        m_ui.msg.warn(QStringLiteral("충전금액을 입력하세요"), title);
        m_amount->setFocus();
        return false;
    }
    if (m_messages->text().trimmed().isEmpty()) {
        m_ui.msg.warn(QStringLiteral("충전건수를 입력하세요"), title);
        m_messages->setFocus();
        return false;
    }
    if (!checkNumberFields(this, m_ui.msg))
        return false;
    SmsDeposit d = m_deposit;
    d.date = m_date->dateText();
    d.amount = m_amount->amount();
    d.messages = m_messages->amount();
    const auto r = guard(m_ui, d.idx == 0 ? DbAction::Save : DbAction::Update,
                         [&] { return saveSmsDeposit(m_desk.link.primary(), d); });
    if (!r)
        return false;
    if (!showOutcome(m_ui, *r)) {
        (r->field == 2 ? m_messages : m_amount)->setFocus();
        return false;
    }
    accept();
    return true;
}

// --- deposits of an account ------------------------------------------------------------------

SmsDepositListDialog::SmsDepositListDialog(UiContext &ui, SmsDesk &desk, const SmsAccount &account, QWidget *parent)
    : QDialog(parent), m_ui(ui), m_desk(desk), m_account(account)
{
    setObjectName(QStringLiteral("sms입금1"));
    setWindowTitle(QStringLiteral("SMS 입금관리 - %1 (%2)").arg(account.name, account.customId));
    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("SpList"));
    m_grid->setColumns({QStringLiteral("입금일자"), QStringLiteral("충전금액"), QStringLiteral("충전건수"),
                        QStringLiteral("잔여건수")},
                       {100, 110, 90, 90});
    for (int c : {1, 2, 3})
        m_grid->setColumnAlignment(c, Qt::AlignRight);
    m_balance = displayPanel(this, QStringLiteral("PnlBalance"), 120, Qt::AlignRight);
    QPushButton *add = commandButton(this, QStringLiteral("Cmd신규"), QStringLiteral("신규"), 64);
    QPushButton *edit = commandButton(this, QStringLiteral("Cmd수정"), QStringLiteral("수정"), 64);
    QPushButton *remove = commandButton(this, QStringLiteral("Cmd삭제"), QStringLiteral("삭제"), 64);
    QPushButton *close = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"), 64);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(QStringLiteral("잔여건수"), this));
    bottom->addWidget(m_balance);
    bottom->addStretch();
    for (QPushButton *b : {add, edit, remove, close})
        bottom->addWidget(b);
    auto *outer = new QVBoxLayout(this);
    outer->addWidget(m_grid, 1);
    outer->addLayout(bottom);
    resize(560, 400);

    connect(add, &QPushButton::clicked, this, &SmsDepositListDialog::addDeposit);
    connect(edit, &QPushButton::clicked, this, &SmsDepositListDialog::editDeposit);
    connect(remove, &QPushButton::clicked, this, &SmsDepositListDialog::deleteDeposit);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_grid, &DataGrid::rowActivated, this, &SmsDepositListDialog::editDeposit);
    refresh();
}

void SmsDepositListDialog::refresh()
{
    const auto rows = guard(m_ui, DbAction::Read, [&] { return smsDeposits(m_desk.link.primary(), m_account.subId); });
    const auto balance = guard(m_ui, DbAction::Read, [&] { return smsBalance(m_desk.link.primary(), m_account.subId); });
    if (rows)
        m_rows = *rows;
    QList<QStringList> cells;
    QVariantList keys;
    for (const SmsDeposit &d : m_rows) {
        cells << QStringList{d.date, wonText(d.amount), wonText(d.messages), wonText(d.balanceAfter)};
        keys << d.idx;
    }
    m_grid->setRows(cells, keys);
    m_balance->setText(wonText(balance.value_or(0)) + QStringLiteral(" 건"));
}

void SmsDepositListDialog::addDeposit()
{
    SmsDeposit d;
    d.subId = m_account.subId;
    SmsDepositDialog dlg(m_ui, m_desk, d, this);
    if (dlg.exec() == QDialog::Accepted) {
        m_tf = true;
        refresh();
    }
}

void SmsDepositListDialog::editDeposit()
{
    const int row = m_grid->currentRow();
    if (row < 0) {
        m_ui.msg.warn(QStringLiteral("수정할 입금자료를 선택해주세요."), smsDepositTitle());
        return;
    }
    const qint64 idx = m_grid->rowKey(row).toLongLong();
    for (const SmsDeposit &d : m_rows) {
        if (d.idx != idx)
            continue;
        SmsDepositDialog dlg(m_ui, m_desk, d, this);
        if (dlg.exec() == QDialog::Accepted) {
            m_tf = true;
            refresh();
        }
        return;
    }
}

void SmsDepositListDialog::deleteDeposit()
{
    const int row = m_grid->currentRow();
    if (row < 0) {
        m_ui.msg.warn(QStringLiteral("삭제할 입금자료를 선택해주세요."), smsDepositTitle());
        return;
    }
    if (!m_ui.msg.ask(QStringLiteral("삭제하시겠습니까?"), QStringLiteral("삭제여부")))
        return;
    const qint64 idx = m_grid->rowKey(row).toLongLong();
    const auto r = guard(m_ui, DbAction::Delete, [&] { return deleteSmsDeposit(m_desk.link.primary(), idx); });
    if (r && showOutcome(m_ui, *r)) {
        m_tf = true;
        refresh();
    }
}

} // namespace fitrova
