#pragma once
// The SMS screen (frmSmsmain): the recipients another screen handed over,
// the message with its 80-byte counter, the templates, the send to one typed
// number, the preview and bulk send, the send log and the balance; the
// history of results; the deposits of the account.
//
// Opened by name ("SMS") with the hand-over keys of smsScreenArgs; opened
// again with new keys it takes the new list.

#include "messaging/smsdesk.h"
#include "messaging/smsmessages.h"
#include "messaging/smsrecipients.h"
#include "widgets/uicontext.h"

#include <QWidget>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QTabWidget;

namespace fitrova {

class DataGrid;
class DateEdit;
class SmsTextEdit;

class SmsMainScreen : public QWidget, public ScreenArgsReceiver {
    Q_OBJECT
public:
    // The desk must be connected and logged in (smsscreens.h opens it so).
    SmsMainScreen(UiContext &ui, std::shared_ptr<SmsDesk> desk, const ScreenArgs &args = {},
                  QWidget *parent = nullptr);

    void applyScreenArgs(const ScreenArgs &args) override;
    void setRecipients(const SmsHandover &handover);

    // 전송: to the typed number (개별발송 ticked), else through the preview.
    void send();
    // The personal messages of the ticked recipients, in the listed order.
    QList<SmsMessage> checkedMessages() const;
    // 조회 of the history (the provider's fresh results are copied first).
    void queryHistory();
    void refreshBalance();
    void loadTemplates();
    void loadDeposits();
    // The template of the row goes into the message box.
    void useTemplate(int row);
    void newTemplate();
    void editTemplate();
    void deleteTemplate();

    qint64 balance() const { return m_balance; }
    DataGrid *recipientGrid() const { return m_recipients; }
    DataGrid *templateGrid() const { return m_templates; }
    DataGrid *historyGrid() const { return m_history; }
    DataGrid *depositGrid() const { return m_deposits; }

private:
    void buildComposeTab(QWidget *tab);
    void buildHistoryTab(QWidget *tab);
    void buildDepositTab(QWidget *tab);
    void tickAll(bool on);
    void showCount();
    void log(const QString &line);

    UiContext &m_ui;
    std::shared_ptr<SmsDesk> m_desk;
    SmsHandover m_handover;
    QList<SmsRecipient> m_list;
    QList<SmsTemplate> m_templateRows;
    qint64 m_balance = 0;

    QTabWidget *m_tabs;
    DataGrid *m_recipients, *m_templates, *m_history, *m_deposits;
    QCheckBox *m_all, *m_single;
    QLabel *m_count, *m_counter, *m_balanceLabel, *m_historyCount, *m_account;
    SmsTextEdit *m_text;
    QLineEdit *m_tel;
    QListWidget *m_log;
    QComboBox *m_kind, *m_searchBy;
    DateEdit *m_from, *m_to;
    QLineEdit *m_search;
};

} // namespace fitrova
