#pragma once
// What a member action tells the screen: done, or refused with the message to
// show (text and title). Database failures arrive as DbError exceptions; the
// screens show them with the texts below.

#include <QString>

namespace fitrova {

struct MemberMessage {
    QString text, title;
    bool isEmpty() const { return text.isEmpty(); }
    bool operator==(const MemberMessage &) const = default;
};

// A check that passes (empty message) or refuses with a message.
struct MemberCheck {
    bool ok = true;
    MemberMessage message;

    static MemberCheck pass() { return {}; }
    static MemberCheck refuse(const QString &text, const QString &title) { return {false, {text, title}}; }
};

inline QString memberSaveErrorText() { return QStringLiteral("회원정보를 저장하지 못했읍니다."); }
inline QString memberSaveTitle() { return QStringLiteral("회원저장"); }
inline QString lectureDeleteErrorText() { return QStringLiteral("자료삭제중 오류가 발생하였습니다."); }
inline QString lectureDeleteErrorTitle() { return QStringLiteral("삭제오류"); }
inline QString memberQueryErrorText() { return QStringLiteral("자료조회중 오류가 발생하였습니다."); }
inline QString memberQueryErrorTitle() { return QStringLiteral("조회오류"); }
inline QString memberNotReadyText() { return QStringLiteral("준비중인 기능입니다"); }

} // namespace fitrova
