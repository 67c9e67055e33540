#include "messaging/ui/smsaccountscreen.h"

#include "data/text.h"
#include "messaging/ui/smsaccountdialogs.h"
#include "messaging/ui/smsscreens.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"
#include "widgets/deskguard.h"
#include "widgets/gridexport.h"
#include "widgets/gridprint.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace fitrova {

SmsAccountScreen::SmsAccountScreen(UiContext &ui, std::shared_ptr<SmsDesk> desk, QWidget *parent)
    : QWidget(parent), m_ui(ui), m_desk(std::move(desk))
{
    setObjectName(QStringLiteral("SMS사용처"));
    setWindowTitle(QStringLiteral("SMS 사용처관리"));

    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("SpList"));
    m_grid->setColumns({QStringLiteral("번호"), QStringLiteral("아이디"), QStringLiteral("사용처명"),
                        QStringLiteral("전화번호"), QStringLiteral("핸드폰"), QStringLiteral("잔여건수"),
                        QStringLiteral("접속횟수"), QStringLiteral("최근접속")},
                       {50, 90, 160, 110, 110, 80, 70, 140});
    for (int c : {0, 5, 6})
        m_grid->setColumnAlignment(c, Qt::AlignRight);
    QPushButton *add = commandButton(this, QStringLiteral("Cmd신규"), QStringLiteral("신규"), 64);
    QPushButton *edit = commandButton(this, QStringLiteral("Cmd수정"), QStringLiteral("수정"), 64);
    QPushButton *remove = commandButton(this, QStringLiteral("Cmd삭제"), QStringLiteral("삭제"), 64);
    QPushButton *deposits = commandButton(this, QStringLiteral("Cmd입금"), QStringLiteral("입금관리"), 72);
    QPushButton *print = commandButton(this, QStringLiteral("Cmd인쇄"), QStringLiteral("인쇄"), 64);
    QPushButton *excel = commandButton(this, QStringLiteral("Cmd엑셀"), QStringLiteral("엑셀"), 64);
    QPushButton *close = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"), 64);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    for (QPushButton *b : {add, edit, remove, deposits, print, excel, close})
        bottom->addWidget(b);
    auto *outer = new QVBoxLayout(this);
    outer->addWidget(m_grid, 1);
    outer->addLayout(bottom);
    resize(900, 520);

    connect(add, &QPushButton::clicked, this, &SmsAccountScreen::addAccount);
    connect(edit, &QPushButton::clicked, this, &SmsAccountScreen::editAccount);
    connect(remove, &QPushButton::clicked, this, &SmsAccountScreen::deleteAccount);
    connect(deposits, &QPushButton::clicked, this, &SmsAccountScreen::openDeposits);
    connect(print, &QPushButton::clicked, this, [this] {
        printGridPreview(*m_grid, QStringLiteral("SMS 사용처 현황"), QString(), QString(), QString(), true, 0, 1, 0,
                         m_ui.app.business.name);
    });
    connect(excel, &QPushButton::clicked, this, [this] { exportGridForUser(m_ui, QStringLiteral("SMS사용처"), *m_grid); });
    connect(close, &QPushButton::clicked, this, [this] { closeScreen(this); });
    connect(m_grid, &DataGrid::rowActivated, this, &SmsAccountScreen::editAccount);

    m_connected = connectSmsDesk(m_ui, *m_desk);
    for (QPushButton *b : {add, edit, remove, deposits})
        b->setEnabled(m_connected);
    if (m_connected)
        refresh();
}

void SmsAccountScreen::refresh()
{
    const auto rows = guard(m_ui, DbAction::Read, [&] { return smsAccounts(m_desk->link.primary()); });
    if (!rows)
        return;
    m_rows = *rows;
    QList<QStringList> cells;
    QVariantList keys;
    for (const SmsAccount &a : m_rows) {
        cells << QStringList{QString::number(a.idx), a.customId, a.name, a.tel, a.hp, wonText(a.balance),
                             QString::number(a.logins), a.lastLogin};
        keys << a.idx;
    }
    m_grid->setRows(cells, keys);
}

void SmsAccountScreen::addAccount()
{
    SmsAccountDialog dlg(m_ui, *m_desk, QStringLiteral("N"), 0, this);
    if (dlg.exec() == QDialog::Accepted) {
        refresh();
        m_grid->setCurrentRow(m_grid->findKey(dlg.savedIdx()));
    }
}

void SmsAccountScreen::editAccount()
{
    const int row = m_grid->currentRow();
    if (row < 0) {
        m_ui.msg.warn(QStringLiteral("수정할 사용처를 선택해주세요."), smsAccountTitle());
        return;
    }
    const qint64 idx = m_grid->rowKey(row).toLongLong();
    SmsAccountDialog dlg(m_ui, *m_desk, QStringLiteral("C"), idx, this);
    if (dlg.exec() == QDialog::Accepted) {
        refresh();
        m_grid->setCurrentRow(m_grid->findKey(idx));
    }
}

void SmsAccountScreen::deleteAccount()
{
    const int row = m_grid->currentRow();
    if (row < 0) {
        m_ui.msg.warn(QStringLiteral("삭제할 사용처를 선택해주세요."), smsAccountTitle());
        return;
    }
    if (!m_ui.msg.ask(QStringLiteral("삭제하시겠습니까?"), QStringLiteral("삭제여부")))
        return;
    const qint64 idx = m_grid->rowKey(row).toLongLong();
    const auto r = guard(m_ui, DbAction::Delete, [&] { return deleteSmsAccount(m_desk->link.primary(), idx); });
    if (r && showOutcome(m_ui, *r))
        refresh();
}

void SmsAccountScreen::openDeposits()
{
    const int row = m_grid->currentRow();
    if (row < 0) {
        m_ui.msg.warn(QStringLiteral("입금관리할 사용처를 선택해주세요."), smsAccountTitle());
        return;
    }
    const qint64 idx = m_grid->rowKey(row).toLongLong();
    for (const SmsAccount &a : m_rows) {
        if (a.idx != idx)
            continue;
        SmsDepositListDialog dlg(m_ui, *m_desk, a, this);
        dlg.exec();
        if (dlg.tf()) {
            refresh();
            m_grid->setCurrentRow(m_grid->findKey(idx));
        }
        return;
    }
}

} // namespace fitrova
