#pragma once
// Takings rows for the closing and sales report tests: users, vouchers as the
// point of sale stores them, enrollment payments and locker transactions,
// each at a given date, time and user.

#include "data/db.h"

#include <QList>
#include <QString>

namespace fitrova::test {

inline void addUser(const Db &db, const QString &psCode, const QString &name, const QString &grade = QStringLiteral("2"))
{
    db.exec(QStringLiteral("INSERT INTO UserM (PsCode, UserID, UserPass, UserName, GrCode, Uuse) VALUES (?, ?, 'x', ?, ?, '1')"),
            {psCode, QString(QStringLiteral("user") + psCode), name, grade});
}

struct Line {
    qint64 itId = 0;
    qint64 qty = 1, price = 0, discount = 0;
    QString course = QStringLiteral("A"), sclass = QStringLiteral("01"), itCode = QStringLiteral("A01-0001");
    Line(qint64 item, qint64 quantity, qint64 unitPrice, qint64 dc = 0)
        : itId(item), qty(quantity), price(unitPrice), discount(dc)
    {
    }
    qint64 amount() const { return qty * price - discount; }
};

struct VoucherSpec {
    QString date, time, user, slNo;
    QList<Line> lines;
    qint64 cash = -1, card = 0; // cash -1: the payable total in cash
    QString cardGubun;
    int posNo = 1;
    QString cashChk = QStringLiteral("0");

    VoucherSpec(QString d, QString t, QString u, QString no, QList<Line> l)
        : date(std::move(d)), time(std::move(t)), user(std::move(u)), slNo(std::move(no)), lines(std::move(l))
    {
    }
    VoucherSpec(QString d, QString t, QString u, QString no, QList<Line> l, qint64 cashPaid, qint64 cardPaid = 0,
                QString company = {})
        : VoucherSpec(std::move(d), std::move(t), std::move(u), std::move(no), std::move(l))
    {
        cash = cashPaid;
        card = cardPaid;
        cardGubun = std::move(company);
    }
};

// Writes the voucher's lines; returns the first line's SlId.
inline qint64 addVoucher(const Db &db, const VoucherSpec &v)
{
    qint64 payable = 0;
    for (const Line &l : v.lines)
        payable += l.amount();
    const qint64 cash = v.cash < 0 ? payable - v.card : v.cash;
    const QString cardChk = cash != 0 && v.card != 0 ? QStringLiteral("3") : v.card != 0 ? QStringLiteral("2") : QStringLiteral("1");
    qint64 first = 0;
    int seq = 0;
    for (const Line &l : v.lines) {
        ++seq;
        const qint64 id = db.insertId(
            QStringLiteral("INSERT INTO Sale (SlNo, SEQ, ItId, ItCode, Course, Lclass, Mclass, Sclass, SlDate, Slyymm, MbCode, "
                           "Slqty, SlCost, SlAmt1, DcYul, DcAmt, SlAmt, CashAmt, CardAmt, SLTAmt, CardChk, CardGubun, "
                           "CashChk, FnChk, PosNo, Reprint, LastUser, LastTime) "
                           "VALUES (?, ?, ?, ?, ?, '01', '01', ?, ?, ?, '00000000', ?, ?, ?, 0, ?, ?, ?, ?, ?, ?, ?, ?, '0', ?, "
                           "'0', ?, ?)"),
            {v.slNo, seq, l.itId, l.itCode, l.course, l.sclass, v.date, v.date.left(7), l.qty, l.price, l.qty * l.price,
             l.discount, l.amount(), seq == 1 ? cash : 0, seq == 1 ? v.card : 0, seq == 1 ? cash + v.card : 0, cardChk,
             v.card != 0 ? v.cardGubun : QString(), v.cashChk, v.posNo, v.user, v.time},
            QStringLiteral("SlId"));
        if (seq == 1)
            first = id;
    }
    return first;
}

// A one-line cash or card voucher of `amount`.
inline qint64 addSimpleVoucher(const Db &db, const QString &date, const QString &time, const QString &user,
                               const QString &slNo, qint64 amount, bool card = false, const QString &cardGubun = {})
{
    VoucherSpec v(date, time, user, slNo, {Line{0, 1, amount}});
    if (card) {
        v.cash = 0;
        v.card = amount;
        v.cardGubun = cardGubun;
    }
    return addVoucher(db, v);
}

struct LectureSpec {
    QString ltGubun = QStringLiteral("1"); // 1 enrollment or payment, 2 class change, 3 postponement, 4 refund
    QString rqDate, time, user;
    qint64 cash = 0, card = 0;
    QString cardCo;

    LectureSpec(QString kind, QString date, QString t, QString u, qint64 cashPaid = 0, qint64 cardPaid = 0,
                QString company = {})
        : ltGubun(std::move(kind)), rqDate(std::move(date)), time(std::move(t)), user(std::move(u)), cash(cashPaid),
          card(cardPaid), cardCo(std::move(company))
    {
    }
    QString mbCode = QStringLiteral("00000001");
    QString pgGubun = QStringLiteral("1");
    QString course = QStringLiteral("1");
    qint64 pgid = 0;
    QString pgName = QStringLiteral("새벽수영");
};

inline qint64 addLecture(const Db &db, const LectureSpec &l)
{
    return db.insertId(
        QStringLiteral("INSERT INTO Lecture (LtGubun, PgGubun, MbCode, MbName, Pgid, PgName, Course, RqDate, Sdate1, Sdate2, "
                       "LTyymm, TAmt, CashAmt, CardAmt, Card, LastUser, LastDate, LastTime) "
                       "VALUES (?, ?, ?, '김민지', ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        {l.ltGubun, l.pgGubun, l.mbCode, l.pgid, l.pgName, l.course, l.rqDate, l.rqDate, l.rqDate, l.rqDate.left(7),
         l.cash + l.card, l.cash, l.card, l.cardCo, l.user, l.rqDate, l.time},
        QStringLiteral("Ltid"));
}

struct LockerSpec {
    QString rqGubun = QStringLiteral("1"); // 1 new, 2 move, 3 renewal, 4 cancellation, 5 release
    QString rqDate, time, user;
    qint64 samt = 0, uamt = 0, ramt = 0;

    LockerSpec(QString kind, QString date, QString t, QString u, qint64 deposit = 0, qint64 fee = 0, qint64 refund = 0)
        : rqGubun(std::move(kind)), rqDate(std::move(date)), time(std::move(t)), user(std::move(u)), samt(deposit),
          uamt(fee), ramt(refund)
    {
    }
    QString boxCode = QStringLiteral("1");
    qint64 boxNum = 7;
    QString mbCode = QStringLiteral("00000001");
};

inline qint64 addLockerRow(const Db &db, const LockerSpec &l)
{
    return db.insertId(QStringLiteral("INSERT INTO RqPerBox (RqDate, MbCode, BoxCode, BoxNum, RqGubun, RqBox, UseDate1, "
                                      "UseDate2, MonCnt, Samt, Uamt, Ramt, LastUser, LastDate, LastTime) "
                                      "VALUES (?, ?, ?, ?, ?, ?, ?, ?, 1, ?, ?, ?, ?, ?, ?)"),
                       {l.rqDate, l.mbCode, l.boxCode, QString::number(l.boxNum), l.rqGubun, l.boxNum, l.rqDate,
                        l.rqDate, l.samt, l.uamt, l.ramt, l.user, l.rqDate, l.time},
                       QStringLiteral("Rqid"));
}

// A closed shift as a Finish row, for tests of what reads shifts.
inline qint64 addClosedShift(const Db &db, const QString &user, const QString &fnCnt, const QString &from,
                             const QString &to, qint64 cash1 = 0, qint64 card1 = 0, int posNo = 1,
                             const QString &fDate = QStringLiteral("0000-00-00"))
{
    return db.insertId(QStringLiteral("INSERT INTO Finish (fDate, FnCnt, FnChk, sDate1, Time1, sDate2, Time2, PsCode, PosNo, "
                                      "BefAmt, TotCnt, CashAmt1, CardAmt1, TotAmt1, CashAmt2, CardAmt2, TotAmt2, CashAmt3, "
                                      "CardAmt3, TotAmt3, CashAmt4, TotAmt4) "
                                      "VALUES (?, ?, '1', ?, ?, ?, ?, ?, ?, 0, 1, ?, ?, ?, ?, ?, ?, 0, 0, 0, ?, ?)"),
                       {fDate, fnCnt, from.left(10), from.mid(11), to.left(10), to.mid(11), user, posNo, cash1, card1,
                        cash1 + card1, cash1, card1, cash1 + card1, cash1, cash1 + card1},
                       QStringLiteral("Fnid"));
}

} // namespace fitrova::test
