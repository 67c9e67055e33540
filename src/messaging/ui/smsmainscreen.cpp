#include "messaging/ui/smsmainscreen.h"

#include "data/text.h"
#include "messaging/smstext.h"
#include "messaging/ui/smspreviewdialog.h"
#include "messaging/ui/smstemplatedialog.h"
#include "messaging/ui/smstextedit.h"
#include "widgets/busynotice.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"
#include "widgets/dateedit.h"
#include "widgets/deskguard.h"
#include "widgets/gridexport.h"
#include "widgets/gridprint.h"
#include "widgets/widgetutil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace fitrova {

namespace {

constexpr int kTickCol = 0, kNameCol = 1, kTelCol = 2, kDateCol = 3;

} // namespace

SmsMainScreen::SmsMainScreen(UiContext &ui, std::shared_ptr<SmsDesk> desk, const ScreenArgs &args, QWidget *parent)
    : QWidget(parent), m_ui(ui), m_desk(std::move(desk))
{
    setObjectName(QStringLiteral("frmSmsmain"));
    setWindowTitle(smsDefaultTitle());

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("TabMain"));
    auto *compose = new QWidget;
    auto *history = new QWidget;
    auto *deposits = new QWidget;
    buildComposeTab(compose);
    buildHistoryTab(history);
    buildDepositTab(deposits);
    m_tabs->addTab(compose, QStringLiteral("문자보내기"));
    m_tabs->addTab(history, QStringLiteral("전송내역"));
    m_tabs->addTab(deposits, QStringLiteral("충전내역"));

    m_account = new QLabel(this);
    m_account->setObjectName(QStringLiteral("PnlAccount"));
    m_account->setText(QStringLiteral("사용처: %1 (%2)   회신번호: %3")
                           .arg(m_desk->login.customName, m_desk->login.customId, m_desk->login.customTel));
    m_balanceLabel = displayPanel(this, QStringLiteral("PnlBalance"), 150, Qt::AlignRight);
    QPushButton *close = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"), 72);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_account);
    bottom->addStretch();
    bottom->addWidget(new QLabel(QStringLiteral("잔여건수"), this));
    bottom->addWidget(m_balanceLabel);
    bottom->addWidget(close);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(8, 6, 8, 6);
    outer->addWidget(m_tabs, 1);
    outer->addLayout(bottom);
    resize(960, 600);
    connect(close, &QPushButton::clicked, this, [this] { closeScreen(this); });
    installEnterAsTab(this);
    installSelectAllOnFocus(m_tel);

    // Opening: the login is counted, the provider's fresh results copied,
    // the balance, templates and deposits shown.
    guard(m_ui, DbAction::Update, [&] {
        countSmsLogin(m_desk->link.primary(), m_desk->login.customId, m_ui.app.clock().now());
    });
    guard(m_ui, DbAction::Read, [&] { copyNewSmsResults(m_desk->link.primary(), m_desk->link.results()); });
    refreshBalance();
    loadTemplates();
    loadDeposits();
    applyScreenArgs(args);
}

void SmsMainScreen::buildComposeTab(QWidget *tab)
{
    // Recipients.
    m_recipients = new DataGrid(tab);
    m_recipients->setObjectName(QStringLiteral("SpList"));
    m_recipients->setColumns({QStringLiteral("선택"), QStringLiteral("수신자명"), QStringLiteral("휴대폰"),
                              QStringLiteral("일자")},
                             {36, 80, 110, 86});
    m_recipients->setCheckColumn(kTickCol);
    m_recipients->setColumnEditable(kTickCol);
    m_recipients->setColumnAlignment(kDateCol, Qt::AlignCenter);
    m_recipients->horizontalHeader()->setStretchLastSection(true);
    m_all = new QCheckBox(QStringLiteral("전체선택"), tab);
    m_all->setObjectName(QStringLiteral("ChkAll"));
    m_count = new QLabel(QStringLiteral("0 명"), tab);
    m_count->setObjectName(QStringLiteral("PnlCount"));
    auto *listHead = new QHBoxLayout;
    listHead->addWidget(m_all);
    listHead->addStretch();
    listHead->addWidget(m_count);
    auto *listBox = new QGroupBox(QStringLiteral("수신자"), tab);
    auto *listLay = new QVBoxLayout(listBox);
    listLay->addLayout(listHead);
    listLay->addWidget(m_recipients, 1);

    // Message.
    m_counter = new QLabel(tab);
    m_counter->setObjectName(QStringLiteral("LblByte"));
    m_counter->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_text = new SmsTextEdit(tab, QStringLiteral("TxtMsg"), m_counter, smsByteCounter);
    m_text->setFixedSize(220, 150);
    auto *places = new QHBoxLayout;
    places->setSpacing(2);
    for (const auto &[name, text] : {std::pair{"CmdName", kPlaceName}, std::pair{"CmdDate", kPlaceDate},
                                     std::pair{"CmdPlace", kPlaceBusiness}}) {
        const QString place = QString::fromUtf8(text);
        QPushButton *b = commandButton(tab, QString::fromLatin1(name), place.mid(2, place.size() - 4), 48);
        b->setToolTip(place);
        connect(b, &QPushButton::clicked, this, [this, place] { m_text->insertAtCaret(place); });
        places->addWidget(b);
    }
    places->addStretch();
    places->addWidget(m_counter);
    m_single = new QCheckBox(QStringLiteral("개별발송"), tab);
    m_single->setObjectName(QStringLiteral("ChkSingle"));
    m_tel = new QLineEdit(tab);
    m_tel->setObjectName(QStringLiteral("TxtTel"));
    m_tel->setMaxLength(13);
    m_tel->setPlaceholderText(QStringLiteral("01012345678"));
    m_tel->setEnabled(false);
    QPushButton *sendButton = commandButton(tab, QStringLiteral("Cmd전송"), QStringLiteral("전송"), 72);
    auto *singleRow = new QHBoxLayout;
    singleRow->addWidget(m_single);
    singleRow->addWidget(m_tel, 1);
    m_log = new QListWidget(tab);
    m_log->setObjectName(QStringLiteral("LstLog"));
    m_log->setMinimumHeight(80);
    auto *msgBox = new QGroupBox(QStringLiteral("메세지"), tab);
    auto *msgLay = new QVBoxLayout(msgBox);
    msgLay->addWidget(m_text, 0, Qt::AlignHCenter);
    msgLay->addLayout(places);
    msgLay->addLayout(singleRow);
    msgLay->addWidget(sendButton);
    msgLay->addWidget(new QLabel(QStringLiteral("전송기록"), tab));
    msgLay->addWidget(m_log, 1);

    // Templates.
    m_templates = new DataGrid(tab);
    m_templates->setObjectName(QStringLiteral("SpContent"));
    m_templates->setColumns({QStringLiteral("제목"), QStringLiteral("내용")}, {70, 160});
    m_templates->setWordWrap(true);
    m_templates->horizontalHeader()->setStretchLastSection(true);
    QPushButton *add = commandButton(tab, QStringLiteral("Cmd신규"), QStringLiteral("신규"), 60);
    QPushButton *edit = commandButton(tab, QStringLiteral("Cmd수정"), QStringLiteral("수정"), 60);
    QPushButton *remove = commandButton(tab, QStringLiteral("Cmd삭제"), QStringLiteral("삭제"), 60);
    auto *tplBox = new QGroupBox(QStringLiteral("문자전송내용"), tab);
    auto *tplLay = new QVBoxLayout(tplBox);
    tplLay->addWidget(m_templates, 1);
    tplLay->addLayout(buttonRow({add, edit, remove}));

    auto *lay = new QHBoxLayout(tab);
    listBox->setMinimumWidth(360);
    lay->addWidget(listBox, 5);
    lay->addWidget(msgBox, 0);
    lay->addWidget(tplBox, 3);

    connect(m_all, &QCheckBox::toggled, this, &SmsMainScreen::tickAll);
    connect(m_single, &QCheckBox::toggled, m_tel, &QWidget::setEnabled);
    connect(sendButton, &QPushButton::clicked, this, &SmsMainScreen::send);
    connect(m_templates, &DataGrid::rowActivated, this, &SmsMainScreen::useTemplate);
    connect(m_templates, &QAbstractItemView::clicked, this, [this](const QModelIndex &i) { useTemplate(i.row()); });
    connect(add, &QPushButton::clicked, this, &SmsMainScreen::newTemplate);
    connect(edit, &QPushButton::clicked, this, &SmsMainScreen::editTemplate);
    connect(remove, &QPushButton::clicked, this, &SmsMainScreen::deleteTemplate);
}

void SmsMainScreen::buildHistoryTab(QWidget *tab)
{
    const QDate today = m_ui.app.clock().today();
    m_kind = new QComboBox(tab);
    m_kind->setObjectName(QStringLiteral("CobKind"));
    m_kind->addItems(smsHistoryKindItems());
    m_from = new DateEdit(today, tab);
    m_from->setObjectName(QStringLiteral("Dtp1"));
    m_to = new DateEdit(today, tab);
    m_to->setObjectName(QStringLiteral("Dtp2"));
    m_searchBy = new QComboBox(tab);
    m_searchBy->setObjectName(QStringLiteral("CobSearch"));
    m_searchBy->addItems(smsSearchByItems());
    m_search = new QLineEdit(tab);
    m_search->setObjectName(QStringLiteral("TxtSearch"));
    m_search->setMaxLength(40);
    QPushButton *find = commandButton(tab, QStringLiteral("Cmd조회"), QStringLiteral("조회"), 64);
    QPushButton *print = commandButton(tab, QStringLiteral("Cmd인쇄"), QStringLiteral("인쇄"), 64);
    QPushButton *excel = commandButton(tab, QStringLiteral("Cmd엑셀"), QStringLiteral("엑셀"), 64);
    m_historyCount = new QLabel(QStringLiteral("0 건"), tab);
    m_historyCount->setObjectName(QStringLiteral("PnlHistoryCount"));

    auto *crit = new QHBoxLayout;
    crit->addWidget(m_kind);
    crit->addWidget(m_from);
    crit->addWidget(new QLabel(QStringLiteral("~"), tab));
    crit->addWidget(m_to);
    crit->addSpacing(12);
    crit->addWidget(m_searchBy);
    crit->addWidget(m_search, 1);
    crit->addWidget(find);
    crit->addWidget(print);
    crit->addWidget(excel);

    m_history = new DataGrid(tab);
    m_history->setObjectName(QStringLiteral("SpHistory"));
    m_history->setColumns(smsHistoryHeaders(), {80, 110, 330, 60, 130, 130, 100});
    m_history->setColumnAlignment(3, Qt::AlignCenter);
    auto *lay = new QVBoxLayout(tab);
    lay->addLayout(crit);
    lay->addWidget(m_history, 1);
    lay->addWidget(m_historyCount, 0, Qt::AlignRight);

    excludeFromEnterAsTab(m_search);
    connect(m_search, &QLineEdit::returnPressed, this, &SmsMainScreen::queryHistory);
    connect(find, &QPushButton::clicked, this, &SmsMainScreen::queryHistory);
    connect(print, &QPushButton::clicked, this, [this] {
        printGridPreview(*m_history, QStringLiteral("SMS 전송내역"),
                         QStringLiteral("기간: %1 ~ %2   %3").arg(m_from->dateText(), m_to->dateText(), m_kind->currentText()),
                         QStringLiteral("사용처: %1").arg(m_desk->login.customName), QString(), true, 0, 1, 0,
                         m_ui.app.business.name);
    });
    connect(excel, &QPushButton::clicked, this,
            [this] { exportGridForUser(m_ui, QStringLiteral("SMS전송내역"), *m_history); });
}

void SmsMainScreen::buildDepositTab(QWidget *tab)
{
    m_deposits = new DataGrid(tab);
    m_deposits->setObjectName(QStringLiteral("SpDeposit"));
    m_deposits->setColumns({QStringLiteral("입금일자"), QStringLiteral("입금액"), QStringLiteral("충전건수"),
                            QStringLiteral("잔여건수")},
                           {100, 110, 90, 90});
    for (int c : {1, 2, 3})
        m_deposits->setColumnAlignment(c, Qt::AlignRight);
    auto *lay = new QVBoxLayout(tab);
    lay->addWidget(m_deposits, 1);
}

void SmsMainScreen::applyScreenArgs(const ScreenArgs &args)
{
    setRecipients(smsHandoverOf(args));
}

void SmsMainScreen::setRecipients(const SmsHandover &handover)
{
    m_handover = handover;
    m_list = smsRecipientsOf(handover.members);
    setWindowTitle(handover.title.isEmpty() ? smsDefaultTitle() : handover.title);
    m_recipients->setHeaderText(kDateCol, handover.dateHeading.isEmpty() ? QStringLiteral("일자") : handover.dateHeading);
    QList<QStringList> rows;
    QVariantList keys;
    rows.reserve(m_list.size());
    for (int i = 0; i < m_list.size(); ++i) {
        const SmsRecipient &r = m_list.at(i);
        rows << QStringList{QStringLiteral("1"), r.name, r.tel, r.date};
        keys << i;
    }
    m_recipients->setRows(rows, keys);
    {
        const QSignalBlocker b(m_all);
        m_all->setChecked(!m_list.isEmpty());
    }
    showCount();
    m_tabs->setCurrentIndex(0);
}

void SmsMainScreen::tickAll(bool on)
{
    for (int row = 0; row < m_recipients->rowCount(); ++row)
        m_recipients->setChecked(row, kTickCol, on);
}

void SmsMainScreen::showCount()
{
    m_count->setText(QString::number(m_list.size()) + QStringLiteral(" 명"));
}

void SmsMainScreen::log(const QString &line)
{
    m_log->addItem(m_ui.app.clock().now().toString(QStringLiteral("HH:mm:ss ")) + line);
    m_log->scrollToBottom();
}

QList<SmsMessage> SmsMainScreen::checkedMessages() const
{
    QList<SmsRecipient> ticked;
    for (int row = 0; row < m_recipients->rowCount(); ++row)
        if (m_recipients->isChecked(row, kTickCol))
            ticked << m_list.at(m_recipients->rowKey(row).toInt());
    return personalMessages(ticked, m_text->text(), m_ui.app.business.name);
}

void SmsMainScreen::send()
{
    const QString title = smsSendTitle();
    if (!m_desk->login.loggedIn()) {
        m_ui.msg.warn(QStringLiteral("로그인이 필요합니다."), title);
        return;
    }
    if (m_text->text().trimmed().isEmpty()) {
        m_ui.msg.warn(QStringLiteral("메세지 내용을 적어주십시오"), title);
        m_text->setFocus();
        return;
    }
    if (m_single->isChecked()) {
        const QString text = fillPlaceholders(m_text->text(), QString(), QString(), m_ui.app.business.name);
        const auto r = guard(m_ui, DbAction::Save, [&] {
            return sendSingleSms(m_desk->link.primary(), m_desk->link.config().sendAs, m_desk->login, m_tel->text(),
                                 text);
        });
        if (!r) {
            log(QStringLiteral("SMS Error : ") + dbErrorText(DbAction::Save).text);
            return;
        }
        if (!showOutcome(m_ui, r->outcome)) {
            m_tel->setFocus();
            m_tel->selectAll();
            return;
        }
        log(r->logLine + QStringLiteral(" ") + formatMobileNumber(m_tel->text()));
        m_balance = r->balance;
        m_balanceLabel->setText(wonText(m_balance) + QStringLiteral(" 건"));
        return;
    }
    const QList<SmsMessage> messages = checkedMessages();
    if (messages.isEmpty()) {
        m_ui.msg.warn(QStringLiteral("문자를 보낼 수신자를 선택해주세요."), title);
        return;
    }
    const auto shortfall = guard(m_ui, DbAction::Read, [&] {
        return smsShortfall(m_desk->link.primary(), m_desk->login.subId, messages.size());
    });
    if (!shortfall)
        return;
    if (*shortfall > 0) {
        m_ui.msg.warn(composeShortfallText(*shortfall), title);
        refreshBalance();
        return;
    }
    SmsPreviewDialog preview(m_ui, *m_desk, messages, this);
    if (preview.exec() == QDialog::Accepted) {
        const SmsSendReport &r = preview.report();
        const QString at = preview.reservation();
        log(QStringLiteral("SMS OK %1 성공:%2건 실패:%3건")
                .arg(at.isEmpty() ? QStringLiteral("즉시발송")
                                  : QStringLiteral("예약발송(%1)")
                                        .arg(parseReservationTime(at).toString(QStringLiteral("yyyy-MM-dd HH:mm"))))
                .arg(r.sent)
                .arg(r.failed));
    }
    refreshBalance();
}

void SmsMainScreen::refreshBalance()
{
    const auto b = guard(m_ui, DbAction::Read, [&] { return smsBalance(m_desk->link.primary(), m_desk->login.subId); });
    if (b)
        m_balance = *b;
    m_balanceLabel->setText(wonText(m_balance) + QStringLiteral(" 건"));
}

void SmsMainScreen::loadTemplates()
{
    const auto rows = guard(m_ui, DbAction::Read,
                            [&] { return smsTemplates(m_desk->link.primary(), m_desk->login.customId); });
    if (!rows)
        return;
    m_templateRows = *rows;
    QList<QStringList> cells;
    QVariantList keys;
    for (const SmsTemplate &t : m_templateRows) {
        cells << QStringList{t.title, t.text};
        keys << t.idx;
    }
    m_templates->setRows(cells, keys);
    m_templates->resizeRowsToContents();
}

void SmsMainScreen::loadDeposits()
{
    const auto rows = guard(m_ui, DbAction::Read,
                            [&] { return smsDeposits(m_desk->link.primary(), m_desk->login.subId); });
    if (!rows)
        return;
    QList<QStringList> cells;
    for (const SmsDeposit &d : *rows)
        cells << QStringList{d.date, wonText(d.amount), wonText(d.messages), wonText(d.balanceAfter)};
    m_deposits->setRows(cells);
}

void SmsMainScreen::useTemplate(int row)
{
    if (row < 0 || row >= m_templates->rowCount())
        return;
    const qint64 idx = m_templates->rowKey(row).toLongLong();
    for (const SmsTemplate &t : m_templateRows)
        if (t.idx == idx)
            m_text->setText(t.text);
}

void SmsMainScreen::newTemplate()
{
    SmsTemplateDialog dlg(m_ui, *m_desk, SmsTemplate{}, this);
    if (dlg.exec() == QDialog::Accepted) {
        loadTemplates();
        m_templates->setCurrentRow(m_templates->findKey(dlg.saved().idx));
    }
}

void SmsMainScreen::editTemplate()
{
    const int row = m_templates->currentRow();
    if (row < 0) {
        m_ui.msg.warn(QStringLiteral("수정할 문자전송내용을 선택해주세요."), smsTemplateTitle());
        return;
    }
    const qint64 idx = m_templates->rowKey(row).toLongLong();
    for (const SmsTemplate &t : m_templateRows) {
        if (t.idx != idx)
            continue;
        SmsTemplateDialog dlg(m_ui, *m_desk, t, this);
        if (dlg.exec() == QDialog::Accepted) {
            loadTemplates();
            m_templates->setCurrentRow(m_templates->findKey(idx));
        }
        return;
    }
}

void SmsMainScreen::deleteTemplate()
{
    const int row = m_templates->currentRow();
    if (row < 0) {
        m_ui.msg.warn(QStringLiteral("삭제할 문자전송내용을 선택해주세요."), smsTemplateTitle());
        return;
    }
    if (!m_ui.msg.ask(QStringLiteral("삭제하시겠습니까?"), QStringLiteral("삭제여부")))
        return;
    const qint64 idx = m_templates->rowKey(row).toLongLong();
    if (guard(m_ui, DbAction::Delete,
              [&] { deleteSmsTemplate(m_desk->link.primary(), m_desk->login.customId, idx); }))
        loadTemplates();
}

void SmsMainScreen::queryHistory()
{
    if (m_from->dateText() > m_to->dateText()) {
        m_ui.msg.warn(QStringLiteral("조회기간이 잘못되었습니다."), QStringLiteral("전송내역"));
        return;
    }
    BusyScope busy(QStringLiteral("자료를 조회중입니다."), this);
    guard(m_ui, DbAction::Read, [&] { copyNewSmsResults(m_desk->link.primary(), m_desk->link.results()); });
    SmsHistoryQuery q;
    q.customId = m_desk->login.customId;
    q.kind = SmsHistoryKind(m_kind->currentIndex());
    q.from = m_from->dateText();
    q.to = m_to->dateText();
    q.by = SmsSearchBy(m_searchBy->currentIndex());
    q.text = m_search->text();
    const auto lines = guard(m_ui, DbAction::Read, [&] { return smsHistory(m_desk->link.primary(), q); });
    QList<QStringList> rows;
    int failed = 0;
    if (lines) {
        rows.reserve(lines->size());
        for (const SmsHistoryLine &l : *lines) {
            rows << smsHistoryCells(l);
            failed += l.result != QStringLiteral("성공");
        }
    }
    m_history->setRows(rows);
    for (int row = 0; row < m_history->rowCount(); ++row)
        if (m_history->cell(row, 3) != QStringLiteral("성공"))
            m_history->setCellForeground(row, 3, Qt::red);
    m_historyCount->setText(QStringLiteral("%1 건 (성공 %2, 실패 %3)")
                                .arg(rows.size())
                                .arg(rows.size() - failed)
                                .arg(failed));
}

} // namespace fitrova
