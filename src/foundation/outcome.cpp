#include "foundation/outcome.h"

namespace fitrova {

ErrorText dbErrorText(DbAction action)
{
    switch (action) {
    case DbAction::Read:
        return {QStringLiteral("자료조회중 오류가 발생하였습니다."), QStringLiteral("조회오류")};
    case DbAction::Save:
        return {QStringLiteral("자료저장중 오류가 발생하였습니다."), QStringLiteral("저장오류")};
    case DbAction::Update:
        return {QStringLiteral("자료수정중 오류가 발생하였습니다."), QStringLiteral("수정오류")};
    case DbAction::Delete:
        return {QStringLiteral("자료삭제중 오류가 발생하였습니다."), QStringLiteral("삭제오류")};
    }
    return {};
}

} // namespace fitrova
