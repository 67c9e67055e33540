#include "data/listitems.h"

#include "data/db.h"

#include <QDate>

namespace fitrova {

namespace {

// A list item "0-…" or an empty text means "no filter".
bool isAll(const QString &item)
{
    return item.isEmpty() || item.startsWith(QLatin1String("0-"));
}

ListItem allItem(ClassItemStyle style)
{
    if (style == ClassItemStyle::NameWithData)
        return {QStringLiteral("모두보기"), 0};
    return {allItemText(), {}};
}

ListItems classItems(const Db &db, const QString &sql, const Params &params, const QString &codeCol,
                     const QString &nameCol, bool withAll, ClassItemStyle style)
{
    ListItems items;
    if (withAll)
        items.append(allItem(style));
    for (const Row &r : db.query(sql, params)) {
        if (style == ClassItemStyle::NameWithData)
            items.append({r.str(nameCol), r.str(codeCol)});
        else
            items.append({r.str(codeCol) + QLatin1Char('.') + r.str(nameCol), {}});
    }
    return items;
}

} // namespace

ClassLists classLists(const Db &db, const QString &psGroup)
{
    ClassLists lists;
    for (const Row &r : db.query(QStringLiteral("SELECT Course, Lclass, LclassN FROM Lclass "
                                                "WHERE PSGroup = ? ORDER BY Course, Lclass"),
                                 {psGroup}))
        lists.l.append({r.str("Course") + r.str("Lclass") + QLatin1Char('-') + r.str("LclassN"), {}});
    for (const Row &r :
         db.query(QStringLiteral("SELECT Course, Lclass, Mclass, MclassN FROM Mclass "
                                 "WHERE PSGroup = ? ORDER BY Course, Lclass, Mclass"),
                  {psGroup}))
        lists.m.append({r.str("Course") + r.str("Lclass") + r.str("Mclass") + QLatin1Char('-')
                            + r.str("MclassN"),
                        {}});
    for (const Row &r : db.query(QStringLiteral("SELECT Course, Sclass, SclassN FROM Sclass "
                                                "WHERE PsGroup = ? ORDER BY Course, Sclass"),
                                 {psGroup}))
        lists.s.append({r.str("Course") + r.str("Sclass") + QLatin1Char('-') + r.str("SclassN"), {}});
    return lists;
}

ListItems lecturerItems(const Db &db)
{
    ListItems items;
    for (const Row &r :
         db.query(QStringLiteral("SELECT LTcode, LTName FROM Lecturer ORDER BY LTcode, Course")))
        items.append({r.str("LTName"), r.str("LTcode")});
    return items;
}

ListItems activeLecturerItems(const Db &db, const QString &course)
{
    QString sql = QStringLiteral("SELECT LTcode, LTName FROM Lecturer WHERE Resign = ?");
    Params params{QStringLiteral("1")};
    if (!course.isEmpty()) {
        sql += QStringLiteral(" AND Course = ?");
        params << course;
    }
    sql += QStringLiteral(" ORDER BY LTcode, Course");
    ListItems items{{allItemText(), {}}};
    for (const Row &r : db.query(sql, params))
        items.append({r.str("LTcode") + QLatin1Char('-') + r.str("LTName"), {}});
    return items;
}

ListItems programItems(const Db &db, const QString &course, const QString &lecturer)
{
    QString sql = QStringLiteral("SELECT Pgid, PgName, Time1, Time2, LTName FROM Program "
                                 "WHERE PgUse = ?");
    Params params{QStringLiteral("1")};
    if (!isAll(course)) {
        sql += QStringLiteral(" AND Course = ?");
        params << course.left(1);
    }
    if (!isAll(lecturer)) {
        sql += QStringLiteral(" AND LtCode = ?");
        params << lecturer.left(4);
    }
    sql += QStringLiteral(" ORDER BY PgCode, PgName, Time1");

    ListItems items{{allItemText(), qint64(0)}};
    for (const Row &r : db.query(sql, params))
        items.append({r.str("PgName") + QLatin1Char(' ') + r.str("Time1") + QLatin1Char('~')
                          + r.str("Time2") + QLatin1Char(' ') + r.str("LTName"),
                      r.num("Pgid")});
    return items;
}

ListItems userItems(const Db &db)
{
    ListItems items{{allItemText(), {}}};
    for (const Row &r : db.query(QStringLiteral("SELECT PsCode, UserName FROM UserM "
                                                "WHERE Uuse = ? ORDER BY PsCode"),
                                 {QStringLiteral("1")}))
        items.append({r.str("PsCode") + QLatin1Char('-') + r.str("UserName"), {}});
    return items;
}

ListItems gradeItems(const Db &db)
{
    ListItems items;
    for (const Row &r : db.query(QStringLiteral("SELECT GrCode, GrName FROM GradeM ORDER BY GrCode")))
        items.append({r.str("GrCode") + QLatin1Char('-') + r.str("GrName"), {}});
    return items;
}

ListItems memberKindItems(const Db &db, bool withAll)
{
    ListItems items;
    if (withAll)
        items.append({QStringLiteral("0.모두보기"), QString()});
    for (const Row &r : db.query(QStringLiteral("SELECT Code, Name FROM MbGubun ORDER BY Code")))
        items.append({r.str("Code") + QLatin1Char('.') + r.str("Name"), r.str("Code")});
    return items;
}

ListItems areaItems(const Db &db)
{
    ListItems items{{allItemText(), {}}};
    for (const Row &r : db.query(QStringLiteral("SELECT Area, AreaName FROM Area ORDER BY Area")))
        items.append({r.str("Area") + QLatin1Char('-') + r.str("AreaName"), r.str("Area")});
    return items;
}

QList<AgeBand> ageBands(const Db &db)
{
    QList<AgeBand> bands;
    for (const Row &r : db.query(QStringLiteral("SELECT Code, Name, age1, age2 FROM Age ORDER BY Code")))
        bands.append({r.str("Code"), r.str("Name"), r.num("age1"), r.num("age2")});
    return bands;
}

ListItems courseItems(const Db &db, const QString &psGroup, bool withAll)
{
    ListItems items;
    if (withAll)
        items.append({allItemText(), {}});
    for (const Row &r : db.query(QStringLiteral("SELECT Code, Name FROM Course "
                                                "WHERE PsGroup = ? ORDER BY Code"),
                                 {psGroup}))
        items.append({r.str("Code") + QLatin1Char('-') + r.str("Name"), {}});
    return items;
}

ListItems lclassItems(const Db &db, const QString &psGroup, const QString &course, bool withAll,
                      ClassItemStyle style)
{
    return classItems(db,
                      QStringLiteral("SELECT Lclass, LclassN FROM Lclass "
                                     "WHERE PSGroup = ? AND Course = ? ORDER BY Lclass"),
                      {psGroup, course}, QStringLiteral("Lclass"), QStringLiteral("LclassN"), withAll,
                      style);
}

ListItems mclassItems(const Db &db, const QString &psGroup, const QString &course,
                      const QString &lclass, bool withAll, ClassItemStyle style)
{
    return classItems(db,
                      QStringLiteral("SELECT Mclass, MclassN FROM Mclass "
                                     "WHERE PSGroup = ? AND Course = ? AND Lclass = ? AND UUSE = ? "
                                     "ORDER BY Course, Lclass, Mclass"),
                      {psGroup, course, lclass, QStringLiteral("1")}, QStringLiteral("Mclass"),
                      QStringLiteral("MclassN"), withAll, style);
}

ListItems sclassItems(const Db &db, const QString &psGroup, const QString &course, bool withAll,
                      ClassItemStyle style)
{
    return classItems(db,
                      QStringLiteral("SELECT Sclass, SclassN FROM Sclass "
                                     "WHERE PsGroup = ? AND Course = ? ORDER BY Course, Sclass"),
                      {psGroup, course}, QStringLiteral("Sclass"), QStringLiteral("SclassN"), withAll,
                      style);
}

ListItems monthItems(const QString &month, int *selected)
{
    if (selected)
        *selected = -1;
    const QDate d = QDate::fromString(month.left(7) + QStringLiteral("-01"), QStringLiteral("yyyy-MM-dd"));
    if (!d.isValid())
        return {};
    ListItems items;
    for (int m = 1; m <= 12; ++m) {
        const QString t = QStringLiteral("%1-%2").arg(d.year(), 4, 10, QLatin1Char('0')).arg(m, 2, 10, QLatin1Char('0'));
        items.append({t, t});
    }
    if (selected)
        *selected = d.month() - 1;
    return items;
}

} // namespace fitrova
