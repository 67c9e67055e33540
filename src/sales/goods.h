#pragma once
// The goods catalogue: the items sold at the counter (Item), their small
// classes (Sclass rows of the goods group under course "1"), the list with
// its filters, the item code and the button colour of the point of sale.
//
// An item that sales or lent-out records refer to is never deleted: it is
// retired with "사용안함" (ItUse "0"), so that every report keeps its name.

#include "data/db.h"
#include "foundation/outcome.h"

#include <QList>
#include <QString>
#include <optional>

namespace fitrova {

struct GoodsItem {
    qint64 itId = 0;
    QString itCode, course, sclass, lclass, mclass, itName;
    qint64 itAmt = 0;
    QString barCode;
    bool inUse = true;
    qint64 color = 0; // button colour as stored (0x00BBGGRR); 0 = none
};

// One line of the goods list: the item with the names of its two classes.
struct GoodsListRow {
    GoodsItem item;
    QString courseName; // Course.Name of the goods group; "" when the course is unknown
    QString sclassName; // SclassN of the goods group; "" when unknown
};

struct GoodsFilter {
    QString course;   // goods course code; "" or "0" = every item
    QString sclass;   // small class code; "" = every class
    QString name;     // part of the name, or the whole bar code; "" = any
    bool onlyInUse = false;
};

// The goods list in the order Course, Lclass, Mclass, ItName. With no course
// filter every item is listed, also items whose course is not (or no longer)
// a goods course, so that nothing stored is hidden.
QList<GoodsListRow> listGoods(const Db &db, const GoodsFilter &filter);

std::optional<GoodsItem> loadGoodsItem(const Db &db, qint64 itId);

// The next item code of a prefix (course character + two-digit small class):
// prefix + "-" + the highest running number of that prefix plus one, as four
// digits ("101-0009" -> "101-0010"); prefix + "-0001" for a new prefix.
QString nextItemCode(const Db &db, const QString &prefix);

// The prefix of an item: the course character ("0" when none) and the small
// class as two digits ("00" when none).
QString itemCodePrefix(const QString &course, const QString &sclass);

struct GoodsItemInput {
    QString jobGubun = QStringLiteral("N"); // "N" add, "C" change
    qint64 itId = 0;                        // the item to change
    QString course, sclass, itName, barCode;
    qint64 itAmt = 0;
    bool inUse = true;
};

// Fields of the item editor a refusal points at.
enum class GoodsField { None = 0, Name, Amount };

// Saves an item. The code is given anew on every save, in change mode too:
// a changed item takes the next free number of its (possibly new) prefix.
// Outcome.id is the ItId, Outcome.code the item code.
Outcome saveGoodsItem(const Db &db, const GoodsItemInput &in);
inline QString goodsSavedText() { return QStringLiteral("상품정보를 저장했읍니다.."); }

// Deletes an item no sale and no lent-out record refers to; otherwise refused
// with the advice to retire it.
Outcome deleteGoodsItem(const Db &db, qint64 itId);

// Writes the colour of the item's button on the point of sale (0 = none).
void setGoodsItemColor(const Db &db, qint64 itId, qint64 color);

// --- small classes of the goods (PsGroup "S", Course "1") -----------------------

struct GoodsClass {
    QString code, name;
};
QList<GoodsClass> listGoodsClasses(const Db &db);
// Adds a class under the next code ("01" for the first). Outcome.code is the code.
Outcome addGoodsClass(const Db &db, const QString &name);
Outcome renameGoodsClass(const Db &db, const QString &code, const QString &name);
// Refused while an item of course "1" uses the class.
Outcome checkGoodsClassDeletable(const Db &db, const QString &code);
Outcome deleteGoodsClass(const Db &db, const QString &code);

} // namespace fitrova
