#include "sales/goods.h"

#include "data/numbering.h"
#include "members/searchtext.h"

namespace fitrova {

namespace {

const QString kGoodsGroup = QStringLiteral("S");
const QString kGoodsCourse = QStringLiteral("1");

GoodsItem itemOf(const Row &r)
{
    GoodsItem it;
    it.itId = r.num(QStringLiteral("ItId"));
    it.itCode = r.str(QStringLiteral("ItCode"));
    it.course = r.str(QStringLiteral("Course"));
    it.sclass = r.str(QStringLiteral("Sclass"));
    it.lclass = r.str(QStringLiteral("Lclass"));
    it.mclass = r.str(QStringLiteral("Mclass"));
    it.itName = r.str(QStringLiteral("ItName"));
    it.itAmt = r.num(QStringLiteral("ItAmt"));
    it.barCode = r.str(QStringLiteral("BarCode"));
    it.inUse = r.str(QStringLiteral("ItUse")) == QLatin1String("1");
    it.color = r.num(QStringLiteral("Color"));
    return it;
}

const QString kItemColumns = QStringLiteral(
    "Item.ItId, Item.ItCode, Item.Course, Item.Sclass, Item.Lclass, Item.Mclass, Item.ItName, Item.ItAmt, "
    "Item.BarCode, Item.ItUse, Item.Color");

QString rtrim(const QString &s)
{
    qsizetype n = s.size();
    while (n > 0 && s.at(n - 1).isSpace())
        --n;
    return s.left(n);
}

} // namespace

QList<GoodsListRow> listGoods(const Db &db, const GoodsFilter &f)
{
    QString sql = QStringLiteral("SELECT ") + kItemColumns
                  + QStringLiteral(", Course.Name AS CourseName, Sclass.SclassN AS SclassName FROM Item "
                                   "LEFT JOIN Course ON Course.PsGroup = 'S' AND Course.Code = Item.Course "
                                   "LEFT JOIN Sclass ON Sclass.PsGroup = 'S' AND Sclass.Course = Item.Course "
                                   "AND Sclass.Sclass = Item.Sclass WHERE 1 = 1");
    Params p;
    const QString course = f.course.trimmed();
    if (!course.isEmpty() && course != QLatin1String("0")) {
        sql += QStringLiteral(" AND Item.Course = ?");
        p << course;
    }
    if (!f.sclass.trimmed().isEmpty()) {
        sql += QStringLiteral(" AND Item.Sclass = ?");
        p << f.sclass.trimmed();
    }
    const QString name = f.name.trimmed();
    if (!name.isEmpty()) {
        // A part of the name (taken literally), or the whole bar code.
        const SqlCondition part = containsCondition(QStringLiteral("Item.ItName"), name);
        sql += QStringLiteral(" AND (") + part.sql + QStringLiteral(" OR Item.BarCode = ?)");
        p << part.params << name;
    }
    if (f.onlyInUse)
        sql += QStringLiteral(" AND Item.ItUse = '1'");
    // Classes left empty sort first on both engines.
    sql += QStringLiteral(" ORDER BY Item.Course, COALESCE(Item.Lclass, ''), COALESCE(Item.Mclass, ''), Item.ItName, "
                          "Item.ItId");

    QList<GoodsListRow> out;
    for (const Row &r : db.query(sql, p))
        out.append({itemOf(r), r.str(QStringLiteral("CourseName")), r.str(QStringLiteral("SclassName"))});
    return out;
}

std::optional<GoodsItem> loadGoodsItem(const Db &db, qint64 itId)
{
    const auto r = db.queryOne(QStringLiteral("SELECT ") + kItemColumns + QStringLiteral(" FROM Item WHERE ItId = ?"),
                               {itId});
    if (!r)
        return std::nullopt;
    return itemOf(*r);
}

QString itemCodePrefix(const QString &course, const QString &sclass)
{
    const QString c = course.trimmed().isEmpty() ? QStringLiteral("0") : course.trimmed().left(1);
    bool ok = false;
    const int n = sclass.trimmed().toInt(&ok);
    const QString s = ok && n >= 0 && n <= 99 ? QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'))
                                              : QStringLiteral("00");
    return c + s;
}

QString nextItemCode(const Db &db, const QString &prefix)
{
    // Compared as a plain prefix: equality does not depend on the collation.
    const QString head = prefix + QLatin1Char('-');
    const QVariant max = db.scalar(QStringLiteral("SELECT MAX(ItCode) FROM Item WHERE substr(ItCode, 1, ?) = ?"),
                                   {int(head.size()), head});
    qint64 next = 1;
    if (max.isValid() && !max.isNull()) {
        bool ok = false;
        const qint64 n = max.toString().mid(prefix.size() + 1).trimmed().toLongLong(&ok);
        next = ok ? n + 1 : 1;
    }
    return prefix + QLatin1Char('-') + QStringLiteral("%1").arg(next, 4, 10, QLatin1Char('0'));
}

Outcome saveGoodsItem(const Db &db, const GoodsItemInput &in)
{
    const QString title = QStringLiteral("자료저장");
    const QString name = rtrim(in.itName);
    if (name.trimmed().isEmpty())
        return Outcome::refused(QStringLiteral("상품명을 입력하세요"), title, int(GoodsField::Name));
    if (in.itAmt < 0)
        return Outcome::refused(QStringLiteral("판매금액을 확인하세요"), title, int(GoodsField::Amount));
    const bool change = in.jobGubun == QLatin1String("C");
    const QString course = in.course.trimmed().isEmpty() ? QStringLiteral("0") : in.course.trimmed().left(1);
    const QString prefix = itemCodePrefix(course, in.sclass);
    const QString sclass = prefix.mid(1);

    return retryOnUniqueViolation(db, [&]() -> Outcome {
        if (change && !db.queryOne(QStringLiteral("SELECT ItId FROM Item WHERE ItId = ?") + db.forUpdate(), {in.itId}))
            return Outcome::refused(QStringLiteral("상품정보를 찾을수 없읍니다"), title);
        const QString code = nextItemCode(db, prefix);
        const Params values{in.inUse ? QStringLiteral("1") : QStringLiteral("0"), course, sclass, name,
                            rtrim(in.barCode), in.itAmt, code};
        qint64 id = in.itId;
        if (change) {
            db.exec(QStringLiteral("UPDATE Item SET ItUse = ?, Course = ?, Sclass = ?, ItName = ?, BarCode = ?, "
                                   "ItAmt = ?, ItCode = ? WHERE ItId = ?"),
                    Params(values) << in.itId);
        } else {
            id = db.insertId(QStringLiteral("INSERT INTO Item (ItUse, Course, Sclass, ItName, BarCode, ItAmt, ItCode, "
                                            "Color) VALUES (?, ?, ?, ?, ?, ?, ?, 0)"),
                             values, QStringLiteral("ItId"));
        }
        return Outcome::done(id, code);
    });
}

Outcome deleteGoodsItem(const Db &db, qint64 itId)
{
    const QString title = QStringLiteral("삭제오류");
    return db.transaction([&]() -> Outcome {
        if (!db.queryOne(QStringLiteral("SELECT ItId FROM Item WHERE ItId = ?") + db.forUpdate(), {itId}))
            return Outcome::refused(QStringLiteral("자료삭제중 오류가 발생하였습니다."), title);
        const bool sold = db.scalar(QStringLiteral("SELECT 1 FROM Sale WHERE ItId = ? LIMIT 1"), {itId}).isValid();
        const bool lent = !sold && db.scalar(QStringLiteral("SELECT 1 FROM ItemTrs WHERE ItId = ? LIMIT 1"), {itId}).isValid();
        if (sold || lent)
            return Outcome::refused(QStringLiteral("판매(사용)된 상품은 삭제할수 없읍니다..\n"
                                                   "사용하지 않는 상품은 '사용함'을 해제하세요"),
                                    QStringLiteral("자료삭제"));
        if (db.exec(QStringLiteral("DELETE FROM Item WHERE ItId = ?"), {itId}) == 0)
            return Outcome::refused(QStringLiteral("자료삭제중 오류가 발생하였습니다."), title);
        return Outcome::done(itId);
    });
}

void setGoodsItemColor(const Db &db, qint64 itId, qint64 color)
{
    db.exec(QStringLiteral("UPDATE Item SET Color = ? WHERE ItId = ?"), {color, itId});
}

QList<GoodsClass> listGoodsClasses(const Db &db)
{
    QList<GoodsClass> out;
    for (const Row &r : db.query(QStringLiteral("SELECT Sclass, SclassN FROM Sclass WHERE PsGroup = ? AND Course = ? "
                                                "ORDER BY Sclass"),
                                 {kGoodsGroup, kGoodsCourse}))
        out.append({r.str(QStringLiteral("Sclass")), r.str(QStringLiteral("SclassN"))});
    return out;
}

Outcome addGoodsClass(const Db &db, const QString &name)
{
    return retryOnUniqueViolation(db, [&]() -> Outcome {
        const QString code = nextNumber(db, QStringLiteral("Sclass"), QStringLiteral("Sclass"), 2,
                                        QStringLiteral("PsGroup = ? AND Course = ?"), {kGoodsGroup, kGoodsCourse});
        if (code.size() > 2)
            return Outcome::refused(QStringLiteral("더이상 분류코드를 추가할수 없읍니다"), QStringLiteral("자료저장"));
        db.exec(QStringLiteral("INSERT INTO Sclass (PsGroup, Course, Sclass, SclassN) VALUES (?, ?, ?, ?)"),
                {kGoodsGroup, kGoodsCourse, code, name.trimmed()});
        return Outcome::done(0, code);
    });
}

Outcome renameGoodsClass(const Db &db, const QString &code, const QString &name)
{
    const int n = db.exec(QStringLiteral("UPDATE Sclass SET SclassN = ? WHERE PsGroup = ? AND Course = ? AND Sclass = ?"),
                          {name.trimmed(), kGoodsGroup, kGoodsCourse, code});
    if (n == 0)
        return Outcome::refused(QStringLiteral("수정할 항목이 없읍니다"), QStringLiteral("자료수정"));
    return Outcome::done(0, code);
}

namespace {
bool goodsClassInUse(const Db &db, const QString &code)
{
    return db.scalar(QStringLiteral("SELECT 1 FROM Item WHERE Course = ? AND Sclass = ? LIMIT 1"), {kGoodsCourse, code})
        .isValid();
}
Outcome classInUse()
{
    return Outcome::refused(QStringLiteral("강좌등록에 사용된 분류코드는 삭제할수 없읍니다"), QStringLiteral("분류삭제"));
}
} // namespace

Outcome checkGoodsClassDeletable(const Db &db, const QString &code)
{
    return goodsClassInUse(db, code) ? classInUse() : Outcome::pass();
}

Outcome deleteGoodsClass(const Db &db, const QString &code)
{
    return db.transaction([&]() -> Outcome {
        if (goodsClassInUse(db, code))
            return classInUse();
        db.exec(QStringLiteral("DELETE FROM Sclass WHERE PsGroup = ? AND Course = ? AND Sclass = ?"),
                {kGoodsGroup, kGoodsCourse, code});
        return Outcome::done(0, code);
    });
}

} // namespace fitrova
