#include "catalogue/classification.h"

#include "catalogue/codesequence.h"

namespace fitrova {

namespace {

const QString kNoRowText = QStringLiteral("수정할 항목이 없읍니다");
const QString kNoRowTitle = QStringLiteral("자료수정");
const QString kSelectItemText = QStringLiteral("항목을 선택하여 주십시요.");
const QString kSelectItemTitle = QStringLiteral("항목선택");
const QString kCannotDeleteTitle = QStringLiteral("삭제불가");
const QString kCodeUsedText = QStringLiteral("이미사용된 분류코드는 삭제할수 없읍니다");
const QString kCourseUsedText = QStringLiteral("이미사용된 강좌항목은 삭제할수 없읍니다");
const QString kCourseUsedTitle = QStringLiteral("강좌항목삭제");
const QString kNoMoreCodesText = QStringLiteral("더 이상 만들 수 있는 코드가 없읍니다");
const QString kNoMoreCodesTitle = QStringLiteral("코드생성");

const QString kCourseColumns = QStringLiteral(
    "PsGroup, Code, Name, mon1, mon2, mon3, mon4, mon5, mon6, mon7, mon8, mon9, mon10, mon11, mon12, "
    "UseCancel, UseDelay, UseTransfer, PosNo");

CourseItem courseFromRow(const Row &r)
{
    CourseItem c;
    c.psGroup = r.str(QStringLiteral("PsGroup"));
    c.code = r.str(QStringLiteral("Code"));
    c.name = r.str(QStringLiteral("Name"));
    for (int m = 0; m < 12; ++m)
        c.months[size_t(m)] = r.num(QStringLiteral("mon%1").arg(m + 1)) != 0;
    c.useCancel = r.num(QStringLiteral("UseCancel")) != 0;
    c.useDelay = r.num(QStringLiteral("UseDelay")) != 0;
    c.useTransfer = r.num(QStringLiteral("UseTransfer")) != 0;
    c.posNo = r.num(QStringLiteral("PosNo"));
    return c;
}

int flag(bool on) { return on ? 1 : 0; }

bool exists(const Db &db, const QString &sql, const Params &params) { return db.scalar(sql, params).isValid(); }

bool courseExists(const Db &db, const QString &psGroup, const QString &code)
{
    return exists(db, QStringLiteral("SELECT 1 FROM Course WHERE PsGroup = ? AND Code = ?"), {psGroup, code});
}

// Rows of other tables that refer to an item (class "" = any class of it).
bool classificationInUse(const Db &db, const QString &psGroup, const QString &course, const QString &sclass)
{
    const QString table = psGroup == goodsGroup() ? QStringLiteral("Item") : QStringLiteral("Program");
    if (sclass.isEmpty())
        return exists(db, QStringLiteral("SELECT 1 FROM %1 WHERE Course = ?").arg(table), {course});
    return exists(db, QStringLiteral("SELECT 1 FROM %1 WHERE Course = ? AND Sclass = ?").arg(table),
                  {course, sclass});
}

void insertCourse(const Db &db, const CourseItem &c)
{
    Params p{c.psGroup, c.code, c.name};
    for (bool m : c.months)
        p.append(flag(m));
    p << flag(c.useCancel) << flag(c.useDelay) << flag(c.useTransfer) << c.posNo;
    db.exec(QStringLiteral("INSERT INTO Course (%1) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                .arg(kCourseColumns),
            p);
}

// Inserts the item under the first free code from `code` on, following the
// rule; returns the code used, "" when the codes ran out.
QString insertCourseWithFreeCode(const Db &db, CourseItem c, NineRule rule, bool keepGivenCode)
{
    return retryOnUniqueViolation(db, [&]() -> QString {
        if (!keepGivenCode || c.code.isEmpty() || courseExists(db, c.psGroup, c.code))
            c.code = nextCourseCode(db, c.psGroup, rule);
        keepGivenCode = false; // a retry always takes a fresh code
        if (c.code.isEmpty())
            return {};
        insertCourse(db, c);
        return c.code;
    });
}

} // namespace

QList<CourseItem> listCourseItems(const Db &db, const QString &psGroup)
{
    QList<CourseItem> items;
    for (const Row &r : db.query(QStringLiteral("SELECT %1 FROM Course WHERE PsGroup = ? ORDER BY Code").arg(kCourseColumns),
                                 {psGroup}))
        items.append(courseFromRow(r));
    return items;
}

std::optional<CourseItem> loadCourseItem(const Db &db, const QString &psGroup, const QString &code)
{
    const auto r = db.queryOne(QStringLiteral("SELECT %1 FROM Course WHERE PsGroup = ? AND Code = ?").arg(kCourseColumns),
                               {psGroup, code});
    if (!r)
        return std::nullopt;
    return courseFromRow(*r);
}

QList<SmallClass> listSmallClasses(const Db &db, const QString &psGroup, const QString &course)
{
    QList<SmallClass> list;
    for (const Row &r : db.query(QStringLiteral("SELECT PsGroup, Course, Sclass, SclassN FROM Sclass "
                                                "WHERE PsGroup = ? AND Course = ? ORDER BY Sclass"),
                                 {psGroup, course}))
        list.append({r.str(QStringLiteral("PsGroup")), r.str(QStringLiteral("Course")),
                     r.str(QStringLiteral("Sclass")), r.str(QStringLiteral("SclassN"))});
    return list;
}

// --- classification screen ------------------------------------------------------

Outcome addClassificationItem(const Db &db, const QString &psGroup, const QString &name)
{
    CourseItem c;
    c.psGroup = psGroup;
    c.name = name.trimmed();
    for (int m : {1, 3, 6, 12})
        c.months[size_t(m - 1)] = true;
    c.useCancel = c.useDelay = c.useTransfer = true;
    const QString code = insertCourseWithFreeCode(db, c, NineRule::NextCharacter, false);
    if (code.isEmpty())
        return Outcome::refusedPlain(kNoMoreCodesText, kNoMoreCodesTitle);
    return Outcome::done(0, code);
}

Outcome renameClassificationItem(const Db &db, const QString &psGroup, const QString &code,
                                 const QString &name)
{
    const int n = db.exec(QStringLiteral("UPDATE Course SET Name = ? WHERE PsGroup = ? AND Code = ?"),
                          {name.trimmed(), psGroup, code});
    if (n == 0)
        return Outcome::refusedPlain(kNoRowText, kNoRowTitle);
    return Outcome::done(0, code);
}

Outcome checkClassificationItemDeletable(const Db &db, const QString &psGroup, const QString &code)
{
    if (exists(db, QStringLiteral("SELECT 1 FROM Sclass WHERE PsGroup = ? AND Course = ?"), {psGroup, code}))
        return Outcome::refusedPlain(QStringLiteral("소분류코드 삭제후 항목을 삭제하십시요."), kCannotDeleteTitle);
    if (classificationInUse(db, psGroup, code, {})) {
        if (psGroup == goodsGroup())
            return Outcome::refusedPlain(kCodeUsedText, kCannotDeleteTitle);
        return Outcome::refusedPlain(kCourseUsedText, kCourseUsedTitle);
    }
    return Outcome::done(0, code);
}

Outcome deleteClassificationItem(const Db &db, const QString &psGroup, const QString &code)
{
    return db.transaction([&] {
        Outcome r = checkClassificationItemDeletable(db, psGroup, code);
        if (!r.saved)
            return r;
        db.exec(QStringLiteral("DELETE FROM Course WHERE PsGroup = ? AND Code = ?"), {psGroup, code});
        return r;
    });
}

Outcome addSmallClass(const Db &db, const QString &psGroup, const QString &course, const QString &name)
{
    if (course.trimmed().isEmpty() || !courseExists(db, psGroup, course))
        return Outcome::refusedPlain(kSelectItemText, kSelectItemTitle);
    const QString code = retryOnUniqueViolation(db, [&]() -> QString {
        const QString c = nextSclassCode(db, psGroup, course);
        if (c.isEmpty())
            return {};
        db.exec(QStringLiteral("INSERT INTO Sclass (PsGroup, Course, Sclass, SclassN) VALUES (?, ?, ?, ?)"),
                {psGroup, course, c, name.trimmed()});
        return c;
    });
    if (code.isEmpty())
        return Outcome::refusedPlain(kNoMoreCodesText, kNoMoreCodesTitle);
    return Outcome::done(0, code);
}

Outcome renameSmallClass(const Db &db, const QString &psGroup, const QString &course,
                         const QString &sclass, const QString &name)
{
    if (course.trimmed().isEmpty())
        return Outcome::refusedPlain(kSelectItemText, kSelectItemTitle);
    const int n = db.exec(QStringLiteral("UPDATE Sclass SET SclassN = ? WHERE PsGroup = ? AND Course = ? AND Sclass = ?"),
                          {name.trimmed(), psGroup, course, sclass});
    if (n == 0)
        return Outcome::refusedPlain(kNoRowText, kNoRowTitle);
    return Outcome::done(0, sclass);
}

Outcome checkSmallClassDeletable(const Db &db, const QString &psGroup, const QString &course,
                                 const QString &sclass)
{
    if (classificationInUse(db, psGroup, course, sclass))
        return Outcome::refusedPlain(kCodeUsedText, kCannotDeleteTitle);
    return Outcome::done(0, sclass);
}

Outcome deleteSmallClass(const Db &db, const QString &psGroup, const QString &course,
                         const QString &sclass)
{
    return db.transaction([&] {
        Outcome r = checkSmallClassDeletable(db, psGroup, course, sclass);
        if (!r.saved)
            return r;
        db.exec(QStringLiteral("DELETE FROM Sclass WHERE PsGroup = ? AND Course = ? AND Sclass = ?"),
                {psGroup, course, sclass});
        return r;
    });
}

// --- course-item screen -----------------------------------------------------------

QString newCourseItemCode(const Db &db) { return nextCourseCode(db, courseGroup(), NineRule::ToLetterA); }

CourseItem defaultCourseItem(const QString &code)
{
    CourseItem c;
    c.code = code;
    for (int m : {1, 3, 6, 12})
        c.months[size_t(m - 1)] = true;
    c.useCancel = c.useDelay = c.useTransfer = true;
    return c;
}

Outcome saveCourseItem(const Db &db, CourseItem item, bool isNew)
{
    item.psGroup = courseGroup();
    item.name = item.name.trimmed();
    if (isNew || item.code.isEmpty()) {
        const QString code = insertCourseWithFreeCode(db, item, NineRule::ToLetterA, true);
        if (code.isEmpty())
            return Outcome::refusedPlain(kNoMoreCodesText, kNoMoreCodesTitle);
        return Outcome::done(0, code);
    }
    return db.transaction([&] {
        Params p{item.name};
        for (bool m : item.months)
            p.append(flag(m));
        p << flag(item.useCancel) << flag(item.useDelay) << flag(item.useTransfer) << item.psGroup << item.code;
        const int n = db.exec(QStringLiteral("UPDATE Course SET Name = ?, mon1 = ?, mon2 = ?, mon3 = ?, mon4 = ?, "
                                             "mon5 = ?, mon6 = ?, mon7 = ?, mon8 = ?, mon9 = ?, mon10 = ?, "
                                             "mon11 = ?, mon12 = ?, UseCancel = ?, UseDelay = ?, UseTransfer = ? "
                                             "WHERE PsGroup = ? AND Code = ?"),
                              p);
        if (n == 0)
            insertCourse(db, item); // deleted meanwhile: stored again under its code
        return Outcome::done(0, item.code);
    });
}

Outcome deleteCourseItem(const Db &db, const QString &code)
{
    return db.transaction([&] {
        if (classificationInUse(db, courseGroup(), code, {}))
            return Outcome::refusedPlain(kCourseUsedText, kCourseUsedTitle);
        db.exec(QStringLiteral("DELETE FROM Sclass WHERE PsGroup = ? AND Course = ?"), {courseGroup(), code});
        db.exec(QStringLiteral("DELETE FROM Course WHERE PsGroup = ? AND Code = ?"), {courseGroup(), code});
        return Outcome::done(0, code);
    });
}

} // namespace fitrova
