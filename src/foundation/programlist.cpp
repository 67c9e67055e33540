#include "foundation/programlist.h"

namespace fitrova {

const std::vector<ProgramEntry> &programEntries()
{
    static const std::vector<ProgramEntry> list = {
        {"01", "Menu11", "사용처등록", "1", 0},
        {"05", "Menu12", "사용자환경등록", "1", 0},
        {"02", "Menu13", "코드등록", "1", 0},
        {"07", "Menu14", "분류설정", "1", 0},
        {"10", "Menu15", "강사등록", "1", 0},
        {"11", "Menu16", "프로그램등록", "1", 0},
        {"12", "Menu17", "교구등록", "1", 1},
        {"13", "Menu21", "회원접수", "2", 3},
        {"15", "Menu22", "회원입장", "2", 5},
        {"14", "Menu23", "회원조회(DM/SMS)", "2", 0},
        {"47", "Menu24", "포인트현황", "2", 0},
        {"48", "Menu25", "미납회원현황", "2", 0},
        {"16", "Menu26", "상품판매(일일입장)", "2", 0},
        {"23", "Menu41", "유효/만기/도래회원 조회", "4", 13},
        {"21", "Menu42", "강좌별 수강현황", "4", 0},
        {"22", "Menu43", "일자별 입장현황", "4", 7},
        {"45", "Menu44", "회원별 입장현황", "4", 0},
        {"24", "Menu45", "회원출석부", "4", 0},
        {"31", "Menu51", "매출일보/집계표", "5", 11},
        {"20", "Menu52", "수강현황(연기/취소/양도)", "5", 9},
        {"40", "Menu53", "판매현황(상세)", "5", 0},
        {"33", "Menu54", "카드사별 매출집계", "5", 0},
        {"32", "Menu55", "강습회원 결산현황", "5", 0},
        {"41", "Menu61", "입장현황 그래프", "6", 0},
        {"34", "Menu62", "판매현황 그래프", "6", 0},
        {"44", "Menu63", "월별 일일 매출집계표", "6", 0},
        {"46", "Menu64", "월별 일일 입장객 현황", "6", 0},
        {"49", "Menu65", "유효/만기회원 변동현황", "6", 0},
        {"28", "Menu71", "사용자등록", "7", 0},
        {"29", "Menu72", "사용프로그램 설정", "7", 0},
        {"27", "Menu73", "비밀번호변경", "7", 0},
        {"35", "Menu74", "자료백업", "7", 0},
        {"36", "Menu81", "계정/적요 등록", "8", 0},
        {"37", "Menu82", "수입/지출 등록", "8", 0},
        {"38", "Menu83", "수입/지출 조회", "8", 0},
        {"39", "Menu85", "스케쥴 관리", "8", 0},
    };
    return list;
}

const std::vector<ProgramGroup> &programGroups()
{
    static const std::vector<ProgramGroup> groups = {
        {"1", "기초자료"}, {"2", "회원관리"}, {"4", "강습/출석관리"}, {"5", "영업관리"},
        {"6", "통계/그래프"}, {"7", "시스템관리"}, {"8", "보조관리"},
    };
    return groups;
}

const ProgramEntry *findProgram(const QString &pgId)
{
    for (const ProgramEntry &e : programEntries())
        if (pgId == QLatin1String(e.pgId))
            return &e;
    return nullptr;
}

} // namespace fitrova
