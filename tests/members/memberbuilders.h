#pragma once
// Small builders of member, enrollment, sale and ledger rows for the member
// tests.

#include "data/db.h"

#include <QString>

namespace fitrova::test {

inline void addMember(const Db &db, const QString &code, const QString &name, const QString &card = {},
                      const QString &tel1 = {})
{
    db.exec(QStringLiteral("INSERT INTO Member (MbCode, MbName, MbCard, Tel1, Solor, MisuAmt, Point) "
                           "VALUES (?, ?, ?, ?, '1', 0, 0)"),
            {code, name, card, tel1});
}

// One Lecture row; the fields a test does not set keep harmless values.
struct Lect {
    QString mbCode = QStringLiteral("00000001");
    QString mbName = QStringLiteral("홍길동");
    QString ltGubun = QStringLiteral("1");
    QString pgGubun = QStringLiteral("1");
    qint64 pgid = 0;
    QString pgName = QStringLiteral("수영 초급");
    QString course = QStringLiteral("1");
    QString rqDate = QStringLiteral("2024-05-01");
    QString sDate1 = QStringLiteral("2024-05-01");
    QString sDate2 = QStringLiteral("2024-07-31");
    QString dDate1 = QStringLiteral("2024-05-01");
    QString dDate2 = QStringLiteral("2024-07-31");
    QString ltyymm = QStringLiteral("2024-05");
    qint64 monthCnt = 3;
    qint64 tAmt = 0, cashAmt = 0, cardAmt = 0;
    qint64 bLtid = 0;
    qint64 rday = 0;
    qint64 pgCnt = 0, pgCnt1 = 0, uPgCnt = 0;
    QString remark;
    QString ltCode;
};

inline qint64 addLecture(const Db &db, const Lect &l)
{
    return db.insertId(
        QStringLiteral("INSERT INTO Lecture (MbCode, MbName, LtGubun, PgGubun, Pgid, PgName, Course, RqDate, "
                       "Sdate1, Sdate2, ddate1, ddate2, LTyymm, MonthCnt, TAmt, CashAmt, CardAmt, BLtid, Rday, "
                       "PgCnt, PgCnt1, uPgCnt, Remark, LtCode, Delay, Cancel, Transfer, Change) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 0, 0, 0, 0)"),
        {l.mbCode, l.mbName, l.ltGubun, l.pgGubun, l.pgid, l.pgName, l.course, l.rqDate, l.sDate1, l.sDate2,
         l.dDate1, l.dDate2, l.ltyymm, l.monthCnt, l.tAmt, l.cashAmt, l.cardAmt, l.bLtid, l.rday, l.pgCnt,
         l.pgCnt1, l.uPgCnt, l.remark, l.ltCode},
        QStringLiteral("Ltid"));
}

// A dependent row of a base: the base's link of the kind and end date are
// set as the enrollment screens set them.
inline qint64 addDependent(const Db &db, qint64 base, Lect l, const QString &link, const QString &baseEnd)
{
    l.bLtid = base;
    const qint64 id = addLecture(db, l);
    db.exec(QStringLiteral("UPDATE Lecture SET %1 = ?, Sdate2 = ? WHERE Ltid = ?").arg(link), {id, baseEnd, base});
    return id;
}

inline qint64 addPoint(const Db &db, const QString &mbCode, const QString &kind, qint64 joinId, qint64 earned,
                       qint64 used = 0, const QString &date = QStringLiteral("2024-05-01"))
{
    return db.insertId(QStringLiteral("INSERT INTO UserPoint (MbCode, MbName, pDate, PgGubun, JoinId, Remark, Amount, "
                                      "PointYul, uPoint, mPoint) VALUES (?, '홍길동', ?, ?, ?, '', 0, 5, ?, ?)"),
                       {mbCode, date, kind, joinId, earned, used}, QStringLiteral("Ptid"));
}

inline qint64 addSale(const Db &db, const QString &mbCode, qint64 amount, qint64 cash, const QString &date,
                      const QString &slNo = QStringLiteral("0001"))
{
    return db.insertId(QStringLiteral("INSERT INTO Sale (SlNo, SEQ, SlDate, LastUser, MbCode, SlAmt, CashAmt, CardAmt, "
                                      "Slqty) VALUES (?, 1, ?, '0001', ?, ?, ?, 0, 1)"),
                       {slNo, date, mbCode, amount, cash}, QStringLiteral("SlId"));
}

} // namespace fitrova::test
