#pragma once
// The items of the program's drop-down lists (classes, instructors, programs,
// users, grades, courses, months), read from the main database. Screens put
// them into their combo boxes with fillCombo (widgets/widgetutil.h).
//
// An item that carries a code reads code, "-" and name ("01-수영"); lists that
// may be left unrestricted start with "0-모두보기" (code "0" = no filter).

#include <QList>
#include <QString>
#include <QVariant>

namespace fitrova {

class Db;

struct ListItem {
    QString text;
    QVariant data; // item data; invalid when the item has none
    bool operator==(const ListItem &o) const { return text == o.text && data == o.data; }
};
using ListItems = QList<ListItem>;

inline const QString &allItemText()
{
    static const QString t = QStringLiteral("0-모두보기");
    return t;
}

// Large, middle and small classes of a staff group:
//   l: Course Lclass "-" LclassN     (ordered by course, large class)
//   m: Course Lclass Mclass "-" MclassN
//   s: Course Sclass "-" SclassN
struct ClassLists {
    ListItems l, m, s;
};
ClassLists classLists(const Db &db, const QString &psGroup);

// Every instructor: text LTName, data LTCode.
ListItems lecturerItems(const Db &db);
// "0-모두보기", then the instructors in service (resign '1'): LTCode "-" LTName;
// only those of the course when one is given.
ListItems activeLecturerItems(const Db &db, const QString &course = {});

// "0-모두보기", then the programs in use: PgName " " Time1 "~" Time2 " " LTName;
// the data of each item is its PgID (0 for the first item). course is the
// course item (its first character is the course) or "" / "0-…" for all;
// lecturer the lecturer item (its first four characters) or "" / "0-…".
ListItems programItems(const Db &db, const QString &course, const QString &lecturer);

// "0-모두보기", then the users in use: PsCode "-" UserName.
ListItems userItems(const Db &db);

// Every grade: GrCode "-" GrName.
ListItems gradeItems(const Db &db);

// Member kinds: Code "." Name with the code as data; with withAll first
// "0.모두보기" (data "").
ListItems memberKindItems(const Db &db, bool withAll);

// "0-모두보기", then the areas: Area "-" AreaName with the area as data.
ListItems areaItems(const Db &db);

// The age bands members are counted in (Age rows by code).
struct AgeBand {
    QString code, name;
    qint64 from = 0, to = 0;
    bool operator==(const AgeBand &) const = default;
};
QList<AgeBand> ageBands(const Db &db);

// Optional "0-모두보기", then Code "-" Name of the staff group's courses.
ListItems courseItems(const Db &db, const QString &psGroup, bool withAll);

// The two styles of the class lists.
enum class ClassItemStyle {
    CodeAndName, // "0-모두보기", then code "." name
    NameWithData // "모두보기" with data 0, then the name with the code as data
};
ListItems lclassItems(const Db &db, const QString &psGroup, const QString &course, bool withAll,
                      ClassItemStyle style = ClassItemStyle::CodeAndName);
// Only middle classes in use (UUSE '1').
ListItems mclassItems(const Db &db, const QString &psGroup, const QString &course,
                      const QString &lclass, bool withAll,
                      ClassItemStyle style = ClassItemStyle::CodeAndName);
ListItems sclassItems(const Db &db, const QString &psGroup, const QString &course, bool withAll,
                      ClassItemStyle style = ClassItemStyle::CodeAndName);

// The twelve months "YYYY-01" … "YYYY-12" of the year of month ("YYYY-MM");
// data is the same text. *selected (when given) receives the index of month.
// An unreadable month gives no items and index -1.
ListItems monthItems(const QString &month, int *selected = nullptr);

} // namespace fitrova
