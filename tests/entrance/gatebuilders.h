#pragma once
// Rows the gate tests build on: programs with their weekdays, members with
// cards, enrollments (through the member builders), visits and goods.

#include "foundation/startup.h"
#include "../members/memberbuilders.h"
#include "data/db.h"

#include <QString>

namespace fitrova::test {

// Weekday flags as "1111100": Monday first.
inline qint64 addProgram(const Db &db, const QString &name, const QString &pgGubun = QStringLiteral("1"),
                         const QString &days = QStringLiteral("1111111"))
{
    QVariantList flags;
    for (int i = 0; i < 7; ++i)
        flags << (days.at(i) == QLatin1Char('1') ? 1 : 0);
    return db.insertId(QStringLiteral("INSERT INTO Program (PgGubun, Course, PgName, Time1, Time2, Mon, Tue, Wed, Thu, "
                                      "Fri, Sat, Sun) VALUES (?, '1', ?, '06:00', '22:00', ?, ?, ?, ?, ?, ?, ?)"),
                       QVariantList{pgGubun, name} + flags, QStringLiteral("Pgid"));
}

// A period enrollment of `pgid` valid from..to (dDate2 = to).
inline qint64 addPeriod(const Db &db, const QString &mbCode, qint64 pgid, const QString &from, const QString &to,
                        const QString &rqDate = {})
{
    Lect l;
    l.mbCode = mbCode;
    l.pgid = pgid;
    l.sDate1 = l.dDate1 = from;
    l.sDate2 = l.dDate2 = to;
    l.rqDate = rqDate.isEmpty() ? from : rqDate;
    return addLecture(db, l);
}

// A time-based enrollment with `bought` minutes of which `used` are used.
inline qint64 addTimePass(const Db &db, const QString &mbCode, qint64 pgid, qint64 bought, qint64 used,
                          const QString &rqDate = QStringLiteral("2024-05-01"))
{
    Lect l;
    l.mbCode = mbCode;
    l.pgid = pgid;
    l.pgGubun = QStringLiteral("2");
    l.pgCnt = bought;
    l.uPgCnt = used;
    l.rqDate = rqDate;
    l.sDate1 = l.dDate1 = rqDate;
    l.sDate2 = l.dDate2 = QStringLiteral("2024-12-31");
    return addLecture(db, l);
}

inline qint64 addVisit(const Db &db, const QString &mbCode, qint64 ltid, const QString &date, const QString &in,
                       const QString &out = {}, qint64 uTime = 0, const QString &pgGubun = QStringLiteral("1"))
{
    return db.insertId(QStringLiteral("INSERT INTO entrance (InDate, InTime, OutTime, PgGubun, MbCode, MbCard, Ltid, "
                                      "Pgid, Course, uTime, Memo) VALUES (?, ?, ?, ?, ?, '', ?, "
                                      "COALESCE((SELECT Pgid FROM Lecture WHERE Ltid = ?), 0), '1', ?, '')"),
                       {date, in, out.isEmpty() ? QVariant() : QVariant(out), pgGubun, mbCode, ltid, ltid, uTime},
                       QStringLiteral("Entid"));
}

inline qint64 addItem(const Db &db, const QString &code, const QString &name, const QString &barCode)
{
    return db.insertId(QStringLiteral("INSERT INTO Item (ItCode, Course, Sclass, ItName, BarCode, ItAmt) "
                                      "VALUES (?, '1', '02', ?, ?, 0)"),
                       {code, name, barCode}, QStringLiteral("ItId"));
}

inline qint64 countOf(const Db &db, const QString &sql, const Params &params = {})
{
    return db.scalar(sql, params).toLongLong();
}

} // namespace fitrova::test
