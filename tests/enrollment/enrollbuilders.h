#pragma once
// Programs with fee rows, members and items for the enrollment tests.

#include "data/db.h"

#include <QList>
#include <QString>

namespace fitrova::test {

struct Fee {
    int months;
    qint64 amt1, amt2 = 0, amt3 = 0;
};

inline qint64 addProgram(const Db &db, const QString &name, const QString &pgGubun = QStringLiteral("1"),
                         const QList<Fee> &fees = {{1, 60000, 55000, 50000}, {3, 170000, 160000, 150000}},
                         const QString &course = QStringLiteral("1"), qint64 pgCnt1 = 0)
{
    const qint64 id = db.insertId(
        QStringLiteral("INSERT INTO Program (PgGubun, Course, Lclass, Mclass, Sclass, PgCode, PgName, Time1, Time2, "
                       "LtCode, LTName, PgCnt1, PgCnt, PgUse) VALUES (?, ?, '01', '01', '01', ?, ?, '06:00', "
                       "'06:50', '0001', '김강사', ?, ?, '1')"),
        {pgGubun, course, QString(course + QStringLiteral("000001")), name, pgCnt1, pgCnt1 * 60},
        QStringLiteral("Pgid"));
    for (const Fee &f : fees)
        db.exec(QStringLiteral("INSERT INTO ProgAmt (Pgid, MonthCnt, Amt1, Amt2, Amt3) VALUES (?, ?, ?, ?, ?)"),
                {id, f.months, f.amt1, f.amt2, f.amt3});
    return id;
}

inline qint64 pgId1Of(const Db &db, qint64 pgid, int months)
{
    return db.scalar(QStringLiteral("SELECT PgId1 FROM ProgAmt WHERE Pgid = ? AND MonthCnt = ?"), {pgid, months})
        .toLongLong();
}

inline void addEnrollMember(const Db &db, const QString &code, const QString &name, qint64 age = 30,
                            const QString &sex = QStringLiteral("여"), const QString &card = {})
{
    db.exec(QStringLiteral("INSERT INTO Member (MbCode, MbName, Age, Sex, MbGubun, MbCard, Solor, MisuAmt, Point) "
                           "VALUES (?, ?, ?, ?, '1', ?, '1', 0, 0)"),
            {code, name, age, sex, card});
}

inline void allowCourseChanges(const Db &db, bool allow = true)
{
    db.exec(QStringLiteral("UPDATE Course SET UseCancel = ?, UseDelay = ?, UseTransfer = ? WHERE PsGroup = 'P'"),
            {int(allow), int(allow), int(allow)});
}

inline qint64 addItem(const Db &db, const QString &name, qint64 price, const QString &code = QStringLiteral("101-0001"))
{
    return db.insertId(QStringLiteral("INSERT INTO Item (ItCode, Course, Sclass, Lclass, Mclass, ItName, ItAmt, ItUse) "
                                      "VALUES (?, '1', '01', '01', '01', ?, ?, '1')"),
                       {code, name, price}, QStringLiteral("ItId"));
}

} // namespace fitrova::test
