#pragma once
// Master cards: a member whose area code is "999" carries a master card
// (the member card then shows "마스터"). Marking writes "999", clearing
// writes empty text.

#include "data/db.h"

#include <QString>

namespace fitrova {

// Marks or clears the member's master card; false when there is no such member.
bool setMasterCard(const Db &db, const QString &mbCode, bool master);

// Whether the member is marked.
bool isMasterCard(const Db &db, const QString &mbCode);

inline QString masterCardPanelText() { return QStringLiteral("마스터카드"); }
inline QString masterCardSetText() { return QStringLiteral("마스터 카드회원으로 등록되었읍니다.."); }
inline QString masterCardClearedText() { return QStringLiteral("마스터카드 회원에서 해제되었읍니다.."); }
inline QString masterCardNotFoundText() { return QStringLiteral("해당회원을 찾을수 없읍니다"); }
inline QString masterCardNotFoundTitle() { return QStringLiteral("회원검색"); }

} // namespace fitrova
