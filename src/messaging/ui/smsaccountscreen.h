#pragma once
// The SMS account administration (SMS사용처): every customer login of the
// provider's database with its balance, logins and last login; new, change
// and delete of a login, and the deposits of the chosen account. Opened by
// the SMS maintenance login of the login dialog.

#include "messaging/smsdesk.h"
#include "widgets/uicontext.h"

#include <QWidget>
#include <memory>

namespace fitrova {

class DataGrid;

class SmsAccountScreen : public QWidget {
    Q_OBJECT
public:
    SmsAccountScreen(UiContext &ui, std::shared_ptr<SmsDesk> desk, QWidget *parent = nullptr);

    // False when the provider could not be reached (the user has been told).
    bool isConnected() const { return m_connected; }
    void refresh();
    void addAccount();
    void editAccount();
    void deleteAccount();
    void openDeposits();
    DataGrid *grid() const { return m_grid; }

private:
    UiContext &m_ui;
    std::shared_ptr<SmsDesk> m_desk;
    QList<SmsAccount> m_rows;
    bool m_connected = false;
    DataGrid *m_grid;
};

} // namespace fitrova
