#include "sales/poscatalogue.h"

#include "data/text.h"

namespace fitrova {

namespace {

const QString kItemColumns =
    QStringLiteral("ItId, Course, Sclass, ItName, BarCode, ItAmt, Color");

// Column positions of the item columns in a result, found once per query
// rather than by name on every row (a class may hold thousands of items).
struct ItemColumns {
    int id, course, sclass, name, barCode, amount, color;
    explicit ItemColumns(const QSqlRecord &r)
        : id(r.indexOf(QStringLiteral("ItId"))), course(r.indexOf(QStringLiteral("Course"))),
          sclass(r.indexOf(QStringLiteral("Sclass"))), name(r.indexOf(QStringLiteral("ItName"))),
          barCode(r.indexOf(QStringLiteral("BarCode"))), amount(r.indexOf(QStringLiteral("ItAmt"))),
          color(r.indexOf(QStringLiteral("Color")))
    {
    }
    PosItem item(const QSqlRecord &r) const
    {
        PosItem it;
        it.itId = r.value(id).toLongLong();
        it.course = r.value(course).toString();
        it.sclass = r.value(sclass).toString();
        it.itName = r.value(name).toString();
        it.barCode = r.value(barCode).toString();
        it.itAmt = r.value(amount).toLongLong();
        it.color = r.value(color).toLongLong();
        return it;
    }
};

PosItem posItemOf(const Row &r)
{
    PosItem it;
    it.itId = r.num(QStringLiteral("ItId"));
    it.course = r.str(QStringLiteral("Course"));
    it.sclass = r.str(QStringLiteral("Sclass"));
    it.itName = r.str(QStringLiteral("ItName"));
    it.barCode = r.str(QStringLiteral("BarCode"));
    it.itAmt = r.num(QStringLiteral("ItAmt"));
    it.color = r.num(QStringLiteral("Color"));
    return it;
}

// Width of one character in code-page bytes: ASCII 1, a Hangul syllable 2,
// anything else as the code page writes it.
int charBytes(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80)
        return 1;
    if (u >= 0xAC00 && u <= 0xD7A3)
        return 2;
    return ansiLen(QString(c));
}

// Splits text into pieces of at most `bytes` code-page bytes, preferring to
// break after a blank; a double-byte character is never split.
QStringList breakIntoLines(const QString &text, int bytes)
{
    QStringList lines;
    QString rest = text.trimmed();
    while (!rest.isEmpty()) {
        int all = 0;
        for (const QChar c : rest)
            all += charBytes(c);
        if (all <= bytes) {
            lines << rest;
            break;
        }
        int used = 0, cut = 0, lastBlank = -1;
        while (cut < rest.size()) {
            const int w = charBytes(rest.at(cut));
            if (used + w > bytes)
                break;
            if (rest.at(cut).isSpace())
                lastBlank = cut;
            used += w;
            ++cut;
        }
        if (cut == 0)
            cut = 1;
        if (lastBlank > 0 && cut < rest.size() && !rest.at(cut).isSpace())
            cut = lastBlank;
        lines << rest.left(cut).trimmed();
        rest = rest.mid(cut).trimmed();
    }
    return lines;
}

} // namespace

QList<PosClass> posClasses(const Db &db)
{
    QList<PosClass> out;
    for (const Row &r : db.query(QStringLiteral("SELECT Course, Sclass, SclassN FROM Sclass WHERE PsGroup = 'S' "
                                                "ORDER BY Course, Sclass")))
        out.append({r.str(QStringLiteral("Course")), r.str(QStringLiteral("Sclass")), r.str(QStringLiteral("SclassN"))});
    return out;
}

QList<PosItem> posItems(const Db &db, const std::optional<PosClass> &cls)
{
    QString sql = QStringLiteral("SELECT ") + kItemColumns + QStringLiteral(" FROM Item WHERE ItUse = '1'");
    Params p;
    if (cls) {
        sql += QStringLiteral(" AND Course = ? AND Sclass = ?");
        p << cls->course << cls->sclass;
    }
    sql += QStringLiteral(" ORDER BY Course, Sclass, ItName, ItId");
    const Rows rows = db.query(sql, p);
    QList<PosItem> out;
    if (rows.isEmpty())
        return out;
    out.reserve(rows.size());
    const ItemColumns cols(rows.first().record());
    for (const Row &r : rows)
        out.append(cols.item(r.record()));
    return out;
}

std::optional<PosItem> posItem(const Db &db, qint64 itId)
{
    const auto r = db.queryOne(QStringLiteral("SELECT ") + kItemColumns + QStringLiteral(" FROM Item WHERE ItId = ?"),
                               {itId});
    if (!r)
        return std::nullopt;
    return posItemOf(*r);
}

QString itemButtonCaption(const QString &name, qint64 price, int lineBytes)
{
    QStringList lines = breakIntoLines(name, qMax(2, lineBytes));
    if (lines.size() > 2)
        lines = lines.mid(0, 2);
    lines << wonText(price);
    return lines.join(QLatin1Char('\n'));
}

QList<CardCompany> cardCompanies(const Db &db)
{
    QList<CardCompany> out;
    for (const Row &r : db.query(QStringLiteral("SELECT Code, Name FROM Card ORDER BY Code")))
        out.append({r.str(QStringLiteral("Code")).trimmed(), r.str(QStringLiteral("Name")).trimmed()});
    return out;
}

ScanResult resolveScan(const Db &db, const QString &text)
{
    ScanResult res;
    const QString code = text.trimmed();
    if (code.isEmpty())
        return res;
    if (const auto item = db.queryOne(QStringLiteral("SELECT ") + kItemColumns
                                          + QStringLiteral(" FROM Item WHERE BarCode = ? AND ItUse = '1' "
                                                           "ORDER BY ItId LIMIT 1"),
                                      {code})) {
        res.kind = ScanResult::Kind::Item;
        res.item = posItemOf(*item);
        return res;
    }
    const Rows holders =
        db.query(QStringLiteral("SELECT MbCode FROM Member WHERE MbCard = ? ORDER BY MbCode LIMIT 2"), {code});
    if (holders.size() == 1) {
        res.kind = ScanResult::Kind::Member;
        res.mbCode = holders.first().str(QStringLiteral("MbCode"));
        return res;
    }
    if (holders.size() > 1) {
        res.kind = ScanResult::Kind::SeveralMembers;
        res.card = code;
        return res;
    }
    bool digits = code.size() <= 8;
    for (const QChar c : code)
        digits = digits && c.isDigit();
    if (digits) {
        const QString mbCode = code.rightJustified(8, QLatin1Char('0'));
        if (db.scalar(QStringLiteral("SELECT 1 FROM Member WHERE MbCode = ?"), {mbCode}).isValid()) {
            res.kind = ScanResult::Kind::Member;
            res.mbCode = mbCode;
        }
    }
    return res;
}

} // namespace fitrova
