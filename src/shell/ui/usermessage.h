#pragma once
// Shows a message of the user and grade services through the screen's
// message interface.

#include "shell/users.h"
#include "widgets/messages.h"

namespace fitrova {

inline void showUserMessage(Messages &msg, const UserMessage &m)
{
    switch (m.kind) {
    case UserMessage::Kind::Info:
        msg.info(m.text, m.title);
        break;
    case UserMessage::Kind::Warn:
        msg.warn(m.text, m.title);
        break;
    case UserMessage::Kind::Notice:
        msg.notice(m.text);
        break;
    case UserMessage::Kind::None:
        break;
    }
}

} // namespace fitrova
