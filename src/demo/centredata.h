#pragma once
// What generated centres are made of: the catalogues (courses, programs,
// instructors, goods) of the demo centre and of the large benchmark centre,
// and the names, places and code tables both draw from.

#include <vector>

namespace fitrova::demo {

struct CourseDef {
    const char *code, *name;
    bool m1, m3, m6, m12, cancel, delay, transfer;
    std::vector<const char *> sclasses; // "01", "02", … in this order
};

enum class Audience { Adult, Child, Toddler, Anyone };

struct ProgramDef {
    const char *course, *sclass, *name, *time1, *time2;
    const char *days; // Monday first, "1" = lesson day
    const char *lecturer;
    int maxNum;
    bool capacityChecked;
    int monthly;      // fee level 1 for one month
    bool onlyShort;   // sold for one and three months only
    bool inUse;
    Audience audience;
    int popularity;
};

// Time-based programs: hours bought, valid for `months`.
struct TimeProgramDef {
    const char *course, *name;
    int hours, months, price, popularity;
};

struct LecturerDef {
    const char *code, *name, *tel, *course;
    bool inService;
};

struct GoodDef {
    const char *sclass, *name;
    int price;
    bool ticket;
    int popularity;
};

struct ClassDef {
    const char *course, *lclass, *mclass, *name; // mclass nullptr for a large class
};

struct Catalogue {
    std::vector<CourseDef> courses;
    std::vector<ClassDef> classes;
    std::vector<ProgramDef> programs;
    std::vector<TimeProgramDef> timePrograms;
    std::vector<LecturerDef> lecturers;
    std::vector<const char *> goodsClasses; // goods small classes (group S, item "1"), in code order
    std::vector<GoodDef> goods;

    const CourseDef &course(const char *code) const;
};

// The demo centre: a pool, a fitness room, group exercise and culture classes.
const Catalogue &demoCatalogue();
// The benchmark centre: the same kinds of course with four times the programs.
const Catalogue &largeCatalogue();

struct PostDef {
    const char *num, *sido, *gugun, *dong, *bunji, *area;
    bool apartment;
};
const std::vector<PostDef> &postDefs();

// Surnames with their rough frequency and the spelling of made-up e-mail addresses.
struct Surname {
    const char *hangul, *latin;
    int weight;
};
const std::vector<Surname> &surnames();
const std::vector<const char *> &givenFirst(bool male);
const std::vector<const char *> &givenSecond(bool male);
const std::vector<const char *> &emailDomains();

struct RateDef {
    const char *code, *name;
    double rate;
};
const std::vector<RateDef> &memberKinds();
const std::vector<RateDef> &cardCompanies();

struct AgeBandDef {
    const char *code, *name;
    int from, to;
};
const std::vector<AgeBandDef> &ageBands();

} // namespace fitrova::demo
