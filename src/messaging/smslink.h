#pragma once
// The connections to the SMS provider's database: the primary one, through
// which messages are written and accounts, templates and the history are
// read, and the secondary one from which fresh results are copied (the
// primary itself when none is configured). Opened from section [SMS] of the
// configuration when the SMS login or the account list opens, and kept until
// the program ends.

#include "data/db.h"
#include "messaging/smsconfig.h"

#include <optional>

namespace fitrova {

// Opens one endpoint under a connection name. A SQLite file must already
// exist (a mistyped path never turns into a new, empty provider). Returns the
// technical reason on failure, nothing when open.
std::optional<QString> openSmsEndpoint(const SmsEndpoint &endpoint, const QString &connectionName, Db &out);
// Closes and forgets a connection opened that way.
void closeSmsConnection(const QString &connectionName);

class SmsLink {
public:
    SmsLink();
    ~SmsLink();
    SmsLink(const SmsLink &) = delete;
    SmsLink &operator=(const SmsLink &) = delete;

    // Opens the configured connections, closing any open ones first. Returns
    // the reason when SMS is not configured or a connection cannot be opened.
    std::optional<QString> open(const SmsConfig &config);
    void close();
    bool isOpen() const { return m_open; }

    const SmsConfig &config() const { return m_config; }
    // Messages, accounts, templates, deposits and the copied history.
    const Db &primary() const { return m_primary; }
    // Where the provider's fresh results are read.
    const Db &results() const { return m_secondaryOpen ? m_secondary : m_primary; }
    bool hasSecondary() const { return m_secondaryOpen; }

    // The provider's login: true when both connections answer with the
    // provider's tables.
    bool providerLogin() const;

private:
    QString m_prefix;
    SmsConfig m_config;
    Db m_primary, m_secondary;
    bool m_open = false, m_secondaryOpen = false;
};

} // namespace fitrova
