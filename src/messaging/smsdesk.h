#pragma once
// The SMS state of one run of the program: the connections to the provider
// and the customer logged in to the centre's SMS account. One instance lives
// as long as the screens that share it (the screen registry holds it); the
// login is asked once and kept until the program ends.

#include "messaging/smsaccounts.h"
#include "messaging/smslink.h"

#include <optional>

namespace fitrova {

class AppContext;

struct SmsDesk {
    SmsLink link;
    SmsLogin login;

    // Opens the provider's connections from the installation's configuration
    // when they are not open yet. Returns the reason when SMS is not
    // configured or cannot be reached.
    std::optional<QString> connect(const AppContext &ctx);
    // True when the configuration names an SMS connection.
    static bool configured(const AppContext &ctx);
};

} // namespace fitrova
