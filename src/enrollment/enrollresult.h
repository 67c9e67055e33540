#pragma once
// What an enrollment action tells its screen: the shared Outcome (the notices
// to show in order, whether something was saved, the row written) with the
// member's figures that the member card shows again. A check before a screen
// opens or saves is an Outcome too: passed, or refused with its notice.
// Database failures arrive as DbError exceptions.

#include "foundation/outcome.h"

#include <optional>

namespace fitrova {

struct EnrollResult : Outcome {
    qint64 misuAmt = 0; // the member's outstanding amount afterwards
    qint64 point = 0;   // the member's point balance afterwards

    // Refused because the program is full: the member may wait for it.
    struct WaitOffer {
        qint64 pgid = 0;
        QString mbCode, from, to;
    };
    std::optional<WaitOffer> waitOffer;

    EnrollResult() = default;
    EnrollResult(const Outcome &o) : Outcome(o) {}

    static EnrollResult refuse(const QString &text, const QString &title) { return Outcome::refused(text, title); }
};

} // namespace fitrova
