#pragma once
// Builders and readers for the locker tests: groups with their lockers,
// members, a whole table read back as text, and a statement made to fail.

#include "data/db.h"
#include "lockers/lockergroups.h"
#include "lockers/lockerrental.h"

#include <QString>
#include <QStringList>

namespace fitrova::test {

inline void addLockerGroup(const Db &db, const QString &code, const QString &name, qint64 deposit, qint64 fee,
                           qint64 from, qint64 to)
{
    db.exec(QStringLiteral("INSERT INTO PerBox (BoxCode, BoxName, Course, Samt, Uamt, MonCnt) VALUES (?, ?, '1', ?, ?, 1)"),
            {code, name, deposit, fee});
    for (qint64 n = from; n <= to; ++n)
        db.exec(QStringLiteral("INSERT INTO PerBoxS (BoxCode, BoxNum, State, UUse) VALUES (?, ?, '0', '0')"), {code, n});
}

inline void addLockerMember(const Db &db, const QString &code, const QString &name, const QString &tel1 = {},
                            const QString &juno1 = {}, const QString &juno2 = {})
{
    db.exec(QStringLiteral("INSERT INTO Member (MbCode, MbName, Tel1, Juno1, Juno2, Solor, MisuAmt, Point) "
                           "VALUES (?, ?, ?, ?, ?, '1', 0, 0)"),
            {code, name, tel1, juno1, juno2});
}

inline void clearLockers(const Db &db)
{
    for (const char *t : {"RqPerBox", "PerBoxS", "PerBox", "Member", "Lecture"})
        db.exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(t)));
}

// Every row of a query as "a|b|c" lines, for comparing tables before and after.
inline QStringList dump(const Db &db, const QString &sql)
{
    QStringList out;
    for (const Row &r : db.query(sql)) {
        QStringList cells;
        for (int i = 0; i < r.columnCount(); ++i)
            cells << r.at(i).toString();
        out << cells.join(QLatin1Char('|'));
    }
    return out;
}

inline QStringList lockerTables(const Db &db)
{
    return dump(db, QStringLiteral("SELECT BoxCode, BoxNum, UUse, MbCode, StDate, EndDate, MonCnt FROM PerBoxS "
                                   "ORDER BY BoxCode, BoxNum"))
        + dump(db, QStringLiteral("SELECT Rqid, RqGubun, MbCode, BoxCode, RqBox, UseDate1, UseDate2, Samt, Uamt, Ramt "
                                  "FROM RqPerBox ORDER BY Rqid"));
}

// Makes every `event` ("INSERT", "UPDATE") on the table fail until
// stopFailing; the statement raises an error as a full disk or a lost
// connection would.
inline void failOn(const Db &db, const QString &event, const QString &table)
{
    if (db.isPostgres()) {
        db.exec(QStringLiteral("CREATE OR REPLACE FUNCTION injected_failure() RETURNS trigger LANGUAGE plpgsql AS "
                               "'BEGIN RAISE EXCEPTION ''injected failure''; END'"));
        db.exec(QStringLiteral("CREATE TRIGGER injected_failure BEFORE %1 ON %2 FOR EACH ROW "
                               "EXECUTE FUNCTION injected_failure()")
                    .arg(event, table));
    } else {
        db.exec(QStringLiteral("CREATE TRIGGER injected_failure BEFORE %1 ON %2 "
                               "BEGIN SELECT RAISE(ABORT, 'injected failure'); END")
                    .arg(event, table));
    }
}

inline void stopFailing(const Db &db, const QString &table)
{
    if (db.isPostgres())
        db.exec(QStringLiteral("DROP TRIGGER IF EXISTS injected_failure ON %1").arg(table));
    else
        db.exec(QStringLiteral("DROP TRIGGER IF EXISTS injected_failure"));
}

} // namespace fitrova::test
