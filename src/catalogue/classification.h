#pragma once
// The two-level classification: items (Course rows) and the small classes
// under each item (Sclass rows), for the course group "P" and the goods
// group "S"; and the course items of the course group with the month counts
// that may be sold and the changes an enrollment allows.
//
// Items and classes that other rows use are kept: an item with small
// classes, and an item or class that a program (course group) or a goods
// item (goods group) refers to, cannot be deleted.

#include "foundation/outcome.h"
#include "data/db.h"

#include <QList>
#include <QString>
#include <array>
#include <optional>

namespace fitrova {

inline const QString &courseGroup()
{
    static const QString g = QStringLiteral("P");
    return g;
}
inline const QString &goodsGroup()
{
    static const QString g = QStringLiteral("S");
    return g;
}

struct CourseItem {
    QString psGroup = courseGroup();
    QString code, name;
    std::array<bool, 12> months{}; // months[0] = mon1 … months[11] = mon12
    bool useCancel = false, useDelay = false, useTransfer = false;
    qint64 posNo = 0;
    bool operator==(const CourseItem &) const = default;
};

struct SmallClass {
    QString psGroup, course, sclass, name;
};

// Items of a group by code.
QList<CourseItem> listCourseItems(const Db &db, const QString &psGroup);
std::optional<CourseItem> loadCourseItem(const Db &db, const QString &psGroup, const QString &code);
// Small classes of an item by code.
QList<SmallClass> listSmallClasses(const Db &db, const QString &psGroup, const QString &course);

// --- classification screen ------------------------------------------------------

// Adds an item under the next code ("9" → ":"), with the month counts 1, 3,
// 6 and 12 and refund, postponement and transfer allowed. result.code is the
// code given.
Outcome addClassificationItem(const Db &db, const QString &psGroup, const QString &name);
// Writes the name of an existing item; "수정할 항목이 없읍니다" when it is gone.
Outcome renameClassificationItem(const Db &db, const QString &psGroup, const QString &code,
                                 const QString &name);
// Whether the item may be deleted: not while it has small classes, nor while
// programs or goods use it.
Outcome checkClassificationItemDeletable(const Db &db, const QString &psGroup, const QString &code);
// Deletes the item after checking it again.
Outcome deleteClassificationItem(const Db &db, const QString &psGroup, const QString &code);

// Adds a small class under the next two-digit code of the item. Refused with
// "항목을 선택하여 주십시요." when no item is given or the item is gone.
Outcome addSmallClass(const Db &db, const QString &psGroup, const QString &course,
                      const QString &name);
Outcome renameSmallClass(const Db &db, const QString &psGroup, const QString &course,
                         const QString &sclass, const QString &name);
// Refused while a program (course group) or goods item (goods group) uses it.
Outcome checkSmallClassDeletable(const Db &db, const QString &psGroup, const QString &course,
                                 const QString &sclass);
Outcome deleteSmallClass(const Db &db, const QString &psGroup, const QString &course,
                         const QString &sclass);

// --- course-item screen -----------------------------------------------------------

// Next course item code ("9" → "A").
QString newCourseItemCode(const Db &db);
// The inputs of a fresh course item: code, empty name, the month counts 1, 3,
// 6 and 12 and all three changes allowed.
CourseItem defaultCourseItem(const QString &code);

// Saves a course item of the course group. isNew: the item was started with
// 신규 — when its code has been taken meanwhile by another workstation, the
// next free code is used (result.code). Otherwise the item is updated, or
// added again under its code when it is gone.
Outcome saveCourseItem(const Db &db, CourseItem item, bool isNew);
// Deletes a course item of the course group with its small classes; refused
// with "이미사용된 강좌항목은 삭제할수 없읍니다" while a program uses it.
Outcome deleteCourseItem(const Db &db, const QString &code);

} // namespace fitrova
