#pragma once
// Goods courses, classes, items, card companies and workstation settings for
// the sales tests.

#include "data/db.h"
#include "foundation/appcontext.h"

#include <QString>

namespace fitrova::test {

inline void addGoodsCourse(const Db &db, const QString &code, const QString &name)
{
    db.exec(QStringLiteral("DELETE FROM Course WHERE PsGroup = 'S' AND Code = ?"), {code});
    db.exec(QStringLiteral("INSERT INTO Course (PsGroup, Code, Name) VALUES ('S', ?, ?)"), {code, name});
}

inline void addGoodsClassRow(const Db &db, const QString &course, const QString &sclass, const QString &name)
{
    db.exec(QStringLiteral("DELETE FROM Sclass WHERE PsGroup = 'S' AND Course = ? AND Sclass = ?"), {course, sclass});
    db.exec(QStringLiteral("INSERT INTO Sclass (PsGroup, Course, Sclass, SclassN) VALUES ('S', ?, ?, ?)"),
            {course, sclass, name});
}

inline qint64 addGoods(const Db &db, const QString &code, const QString &name, qint64 price,
                       const QString &barCode = {}, bool inUse = true)
{
    return db.insertId(QStringLiteral("INSERT INTO Item (ItCode, Course, Sclass, ItName, ItAmt, BarCode, ItUse, Color) "
                                      "VALUES (?, ?, ?, ?, ?, ?, ?, 0)"),
                       {code, code.left(1), code.mid(1, 2), name, price, barCode,
                        inUse ? QStringLiteral("1") : QStringLiteral("0")},
                       QStringLiteral("ItId"));
}

inline void addCardCompany(const Db &db, const QString &code, const QString &name)
{
    db.exec(QStringLiteral("DELETE FROM Card WHERE Code = ?"), {code});
    db.exec(QStringLiteral("INSERT INTO Card (Code, Name, yul) VALUES (?, ?, 0)"), {code, name});
}

inline void clearSales(const Db &db)
{
    for (const char *t : {"Sale", "Item", "Finish"})
        db.exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(t)));
}

// A workstation with POS number 3 whose first printer is the parallel device
// at lpPath (second printer off), receipts titled "2".
inline void setPosWorkstation(AppContext &ctx, const QString &lpPath = {})
{
    Workstation &w = ctx.workstation;
    w.found = true;
    w.posNo = 3;
    w.posName = QStringLiteral("프론트");
    w.posCour = QStringLiteral("1");
    w.headTitle = QStringLiteral("2");
    w.printMsg.clear();
    w.posPrint = lpPath.isEmpty() ? QStringLiteral("0") : QStringLiteral("1");
    w.printType = QStringLiteral("2");
    w.printPort = QStringLiteral("1");
    w.posPrint2 = QStringLiteral("0");
    w.printGroup = QStringLiteral("1");
}

} // namespace fitrova::test
