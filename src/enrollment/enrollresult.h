#pragma once
// What an enrollment action tells its screen: the messages to show in order
// (a warning before the save went on, then the confirmation, or a refusal),
// whether something was saved, and the figures the member card shows again.
// Database failures arrive as DbError exceptions.

#include <QList>
#include <QString>

namespace fitrova {

struct EnrollMessage {
    QString text, title;
    bool warning = false; // shown with the exclamation icon
    bool operator==(const EnrollMessage &) const = default;
};

struct EnrollResult {
    bool saved = false;
    qint64 id = 0;                 // the row written (Ltid, or SlId of a sale)
    QList<EnrollMessage> messages; // in the order they are shown
    qint64 misuAmt = 0;            // the member's outstanding amount afterwards
    qint64 point = 0;              // the member's point balance afterwards

    // The last message: the confirmation, or the refusal.
    EnrollMessage last() const { return messages.isEmpty() ? EnrollMessage{} : messages.last(); }

    static EnrollResult refuse(const QString &text, const QString &title)
    {
        EnrollResult r;
        r.messages.append({text, title, true});
        return r;
    }
};

// A check before a screen opens or saves: passes, or refuses with a message.
struct EnrollCheck {
    bool ok = true;
    EnrollMessage message;
    static EnrollCheck pass() { return {}; }
    static EnrollCheck refuse(const QString &text, const QString &title) { return {false, {text, title, true}}; }
};

inline QString enrollDbErrorText() { return QStringLiteral("자료저장중 오류가 발생하였읍니다."); }

} // namespace fitrova
