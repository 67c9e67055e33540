// Checks of the table description that need no database: names that both
// engines accept unquoted, keys that name real columns, the fixed code and
// date widths, the unique numbers and the lookup indexes.

#include <QRegularExpression>
#include <QSet>
#include <QtTest>

#include "data/schema.h"

using namespace fitrova;

namespace {

const Table *tableNamed(const QString &name)
{
    for (const Table &t : allTables())
        if (t.name.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

const Column *columnNamed(const Table &t, const QString &name)
{
    for (const Column &c : t.columns)
        if (c.name.compare(name, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

bool sameColumns(const QStringList &a, const QStringList &b, qsizetype n)
{
    if (a.size() < n || b.size() < n)
        return false;
    for (qsizetype i = 0; i < n; ++i)
        if (a.at(i).compare(b.at(i), Qt::CaseInsensitive) != 0)
            return false;
    return true;
}

// Every column list that the engine keeps ordered: the key and the indexes.
std::vector<Index> orderedKeys(const Table &t)
{
    std::vector<Index> keys = t.indexes;
    if (!t.primaryKey.isEmpty())
        keys.push_back(Index{t.primaryKey, true});
    for (const Column &c : t.columns)
        if (c.type == ColType::Id)
            keys.push_back(Index{{c.name}, true});
    return keys;
}

// Words that PostgreSQL 15 reserves (also as column names) and SQLite keywords.
const QSet<QString> &reservedWords()
{
    static const QSet<QString> words = [] {
        const QString list = QStringLiteral(
            "all analyse analyze and any array as asc asymmetric both case cast check collate "
            "column constraint create current_catalog current_date current_role current_time "
            "current_timestamp current_user default deferrable desc distinct do else end except "
            "false fetch for foreign from grant group having in initially intersect into lateral "
            "leading limit localtime localtimestamp not null offset on only or order placing "
            "primary references returning select session_user some symmetric table then to "
            "trailing true union unique user using variadic when where window with "
            "authorization binary collation concurrently cross current_schema freeze full ilike "
            "inner is isnull join left like natural notnull outer overlaps right similar "
            "tablesample verbose "
            "abort action add after alter always attach autoincrement before begin between by "
            "cascade commit conflict current database deferred delete detach drop each escape "
            "exclude exclusive exists explain fail filter first following generated glob groups "
            "if ignore immediate index indexed insert instead key last match materialized no "
            "nothing nulls of others over partition plan pragma preceding query raise range "
            "recursive regexp reindex release rename replace restrict rollback row rows "
            "savepoint set temp temporary ties transaction trigger unbounded update vacuum "
            "values view virtual without");
        const QStringList parts = list.split(u' ', Qt::SkipEmptyParts);
        return QSet<QString>(parts.begin(), parts.end());
    }();
    return words;
}

} // namespace

class TestSchemaTables : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tableNamesAreUnique()
    {
        QSet<QString> seen;
        for (const Table &t : allTables()) {
            QVERIFY2(!seen.contains(t.name.toLower()), qPrintable(t.name));
            seen.insert(t.name.toLower());
        }
    }

    // PostgreSQL folds unquoted names, so columns differing only in case collide.
    void columnNamesAreUniqueWithinTable()
    {
        for (const Table &t : allTables()) {
            QVERIFY2(!t.columns.empty(), qPrintable(t.name));
            QSet<QString> seen;
            for (const Column &c : t.columns) {
                const QString key = c.name.toLower();
                QVERIFY2(!seen.contains(key), qPrintable(t.name + u'.' + c.name));
                seen.insert(key);
            }
        }
    }

    // Names are never quoted in statements: they must be plain identifiers,
    // not keywords of either engine, and fit PostgreSQL's 63-byte limit.
    void identifiersNeedNoQuoting()
    {
        static const QRegularExpression plain(
            QStringLiteral("^[A-Za-z_\\x{AC00}-\\x{D7A3}][A-Za-z0-9_\\x{AC00}-\\x{D7A3}]*$"));
        auto check = [](const QString &name, const QString &where) {
            QVERIFY2(plain.match(name).hasMatch(), qPrintable(where));
            QVERIFY2(!reservedWords().contains(name.toLower()), qPrintable(where));
            QVERIFY2(name.toUtf8().size() <= 63, qPrintable(where));
        };
        for (const Table &t : allTables()) {
            check(t.name, t.name);
            for (const Column &c : t.columns)
                check(c.name, t.name + u'.' + c.name);
        }
    }

    void keysNameExistingColumns()
    {
        for (const Table &t : allTables()) {
            for (const QString &k : t.primaryKey)
                QVERIFY2(columnNamed(t, k), qPrintable(t.name + u'.' + k));
            for (const Index &i : t.indexes) {
                QVERIFY2(!i.columns.isEmpty(), qPrintable(t.name));
                for (const QString &k : i.columns)
                    QVERIFY2(columnNamed(t, k), qPrintable(t.name + u'.' + k));
            }
        }
    }

    // A table keyed by a database id has exactly one, and no second key.
    void identityColumnIsTheOnlyKey()
    {
        for (const Table &t : allTables()) {
            int ids = 0;
            for (const Column &c : t.columns)
                ids += c.type == ColType::Id ? 1 : 0;
            QVERIFY2(ids <= 1, qPrintable(t.name));
            if (ids == 1)
                QVERIFY2(t.primaryKey.isEmpty(), qPrintable(t.name));
        }
    }

    void requiredColumns_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QStringList>("columns");
        QTest::newRow("Lecture links") << "Lecture"
            << QStringList{"Delay", "Cancel", "Transfer", "Change", "BLtid", "Bpgid", "BMbCode"};
        QTest::newRow("Lecture periods") << "Lecture"
            << QStringList{"Sdate1", "Sdate2", "ddate1", "ddate2", "fDate", "LTyymm", "Rday"};
        QTest::newRow("Lecture payment") << "Lecture"
            << QStringList{"TAmt", "CashAmt", "CardAmt", "Card", "DcGubun", "DcAmt", "DcYul",
                           "MisuAmt", "AgeGubun", "PgCnt", "PgCnt1", "uPgCnt"};
        QTest::newRow("Member") << "Member"
            << QStringList{"MbCard", "MisuAmt", "Point", "Area", "LastDate", "LastTime", "Solor"};
        QTest::newRow("Sale") << "Sale"
            << QStringList{"SlfDate", "Reprint", "SLTAmt", "CardChk", "CashChk", "FnChk", "PosNo"};
        QTest::newRow("entrance") << "entrance" << QStringList{"OutTime", "uTime", "Memo", "MbCard"};
        QTest::newRow("Item") << "Item" << QStringList{"Inwon", "Color", "BarCode", "ItUse"};
        QTest::newRow("Program") << "Program"
            << QStringList{"PgTag", "PgCnt", "PgCnt1", "Mon", "Sun", "MaxNumChk", "yymm"};
        QTest::newRow("Pos") << "Pos"
            << QStringList{"posprint2", "PrintType2", "PrintPort2", "PrintGroup", "chkprint",
                           "BarPrintPort", "Cam", "PrintMsg"};
        QTest::newRow("UserOpt") << "UserOpt"
            << QStringList{"UserOpt1_1", "UserOpt1_2", "UserOpt7_1", "UserOpt7_5", "UserOpt8_1",
                           "UserOpt8_7", "UserTxt7", "UserTxt10"};
        QTest::newRow("RqPerBox") << "RqPerBox" << QStringList{"RqBox", "LUseDate1", "fDate", "Ramt"};
        QTest::newRow("Finish") << "Finish" << QStringList{"BefAmt", "CashAmt4", "TotAmt4"};
        QTest::newRow("수입지출") << "수입지출" << QStringList{"순번", "년월", "수입", "지출", "잔액"};
        QTest::newRow("DbVersion") << "DbVersion" << QStringList{"Version"};
    }

    void requiredColumns()
    {
        QFETCH(QString, table);
        QFETCH(QStringList, columns);
        const Table *t = tableNamed(table);
        QVERIFY2(t, qPrintable(table));
        for (const QString &c : columns)
            QVERIFY2(columnNamed(*t, c), qPrintable(table + u'.' + c));
    }

    // Columns that keep one meaning wherever they appear keep one shape.
    void columnConventions_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("width");         // -1: any
        QTest::addColumn<QString>("defaultValue");  // null: any
        const int text = int(ColType::Text), num = int(ColType::Int);
        QTest::newRow("dates") << "^(?!inupdate$).*date\\d?$" << text << 10 << QString();
        QTest::newRow("member codes") << "^b?mbcode$" << text << 8 << QString();
        QTest::newRow("staff codes") << "^(lastuser|pscode|ltcode|scusercode)$" << text << 4 << QString();
        QTest::newRow("writer time") << "^lasttime$" << text << 8 << QString();
        QTest::newRow("months") << "^(ltyymm|slyymm|yymm|년월)$" << text << 7 << QString();
        QTest::newRow("amounts") << "amt\\d?$" << num << -1 << "0";
    }

    void columnConventions()
    {
        QFETCH(QString, pattern);
        QFETCH(int, type);
        QFETCH(int, width);
        QFETCH(QString, defaultValue);
        const QRegularExpression re(pattern, QRegularExpression::CaseInsensitiveOption);
        int matched = 0;
        for (const Table &t : allTables()) {
            for (const Column &c : t.columns) {
                if (c.type == ColType::Id || !re.match(c.name).hasMatch())
                    continue;
                ++matched;
                const QString where = t.name + u'.' + c.name;
                QVERIFY2(int(c.type) == type, qPrintable(where));
                if (width >= 0)
                    QVERIFY2(c.width == width, qPrintable(where));
                if (!defaultValue.isNull())
                    QVERIFY2(c.defaultValue == defaultValue, qPrintable(where));
            }
        }
        QVERIFY(matched > 0);
    }

    void columnKinds_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("column");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("defaultValue");
        const int id = int(ColType::Id), text = int(ColType::Text), num = int(ColType::Int),
                  rate = int(ColType::Real), yesNo = int(ColType::Flag);
        QTest::newRow("course code") << "Course" << "Code" << text << 1 << QString();
        QTest::newRow("program code") << "Program" << "PgCode" << text << 7 << QString();
        QTest::newRow("entry time") << "entrance" << "InTime" << text << 5 << QString();
        QTest::newRow("voucher no") << "Sale" << "SlNo" << text << 4 << QString();
        QTest::newRow("item code") << "Item" << "ItCode" << text << 8 << QString();
        QTest::newRow("account code") << "계정과목" << "과목코드" << text << 3 << QString();
        QTest::newRow("text flag") << "Program" << "MaxNumChk" << text << 1 << QString();
        QTest::newRow("enrollment id") << "Lecture" << "Ltid" << id << -1 << QString();
        QTest::newRow("cash book entry") << "수입지출" << "순번" << id << -1 << QString();
        QTest::newRow("delay link") << "Lecture" << "Delay" << num << -1 << "0";
        QTest::newRow("base link") << "Lecture" << "BLtid" << num << -1 << "0";
        QTest::newRow("minutes used") << "entrance" << "uTime" << num << -1 << "0";
        QTest::newRow("locker number") << "PerBoxS" << "BoxNum" << num << -1 << QString();
        QTest::newRow("description no") << "적요코드" << "적요코드" << num << -1 << QString();
        QTest::newRow("discount rate") << "Lecture" << "DcYul" << rate << -1 << QString();
        QTest::newRow("point rate") << "UserPoint" << "PointYul" << rate << -1 << QString();
        QTest::newRow("month flag") << "Course" << "mon12" << yesNo << -1 << "0";
        QTest::newRow("weekday") << "Program" << "Sun" << yesNo << -1 << "0";
    }

    void columnKinds()
    {
        QFETCH(QString, table);
        QFETCH(QString, column);
        QFETCH(int, type);
        QFETCH(int, width);
        QFETCH(QString, defaultValue);
        const Table *t = tableNamed(table);
        QVERIFY(t);
        const Column *c = columnNamed(*t, column);
        QVERIFY(c);
        QCOMPARE(int(c->type), type);
        if (width >= 0)
            QCOMPARE(c->width, width);
        if (!defaultValue.isNull())
            QCOMPARE(c->defaultValue, defaultValue);
    }

    void databaseFiles()
    {
        const QHash<QString, DbFile> elsewhere{
            {"entrance", DbFile::Entrance}, {"itemtrs", DbFile::Entrance},
            {"userpoint", DbFile::Point},   {"post", DbFile::Post},
            {"dm인쇄", DbFile::Print}};
        for (const QString &name : elsewhere.keys())
            QVERIFY2(tableNamed(name), qPrintable(name));
        for (const Table &t : allTables()) {
            const DbFile expected = elsewhere.value(t.name.toLower(), DbFile::Main);
            QVERIFY2(t.file == expected, qPrintable(t.name));
        }
    }

    void lookupIndexes_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QStringList>("columns");
        const QList<std::pair<const char *, QStringList>> rows{
            {"Member", {"MbCard"}},        {"Member", {"MbName"}},
            {"Member", {"Tel1"}},          {"Member", {"Tel2"}},
            {"Member", {"Tel3"}},          {"Lecture", {"MbCode"}},
            {"Lecture", {"Pgid"}},         {"Lecture", {"BLtid"}},
            {"Lecture", {"Sdate1"}},       {"Lecture", {"RqDate"}},
            {"entrance", {"InDate"}},      {"entrance", {"MbCode", "InDate"}},
            {"entrance", {"Ltid"}},        {"Sale", {"SlDate", "LastUser", "SlNo"}},
            {"Sale", {"MbCode"}},          {"UserPoint", {"MbCode"}},
            {"UserPoint", {"MbCode", "PgGubun", "JoinId"}},
            {"RqPerBox", {"MbCode"}},      {"RqPerBox", {"RqDate"}},
            {"Program", {"Course"}},       {"Post", {"Dong"}},
            {"ItemTrs", {"Entid"}},        {"Item", {"BarCode"}},
            {"ProgAmt", {"Pgid"}},         {"Finish", {"fDate"}}};
        for (const auto &[table, columns] : rows)
            QTest::newRow(qPrintable(QString::fromUtf8(table) + u' ' + columns.join(u',')))
                << QString::fromUtf8(table) << columns;
    }

    // A lookup is served when some ordered key starts with its columns.
    void lookupIndexes()
    {
        QFETCH(QString, table);
        QFETCH(QStringList, columns);
        const Table *t = tableNamed(table);
        QVERIFY(t);
        bool served = false;
        for (const Index &i : orderedKeys(*t))
            served = served || sameColumns(i.columns, columns, columns.size());
        QVERIFY(served);
    }

    void uniqueNumbers_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QStringList>("columns");
        QTest::newRow("member number") << "Member" << QStringList{"MbCode"};
        QTest::newRow("staff code") << "UserM" << QStringList{"PsCode"};
        QTest::newRow("login") << "UserM" << QStringList{"UserID"};
        QTest::newRow("instructor") << "Lecturer" << QStringList{"LTcode"};
        QTest::newRow("account") << "계정과목" << QStringList{"과목코드"};
        QTest::newRow("locker") << "PerBoxS" << QStringList{"BoxCode", "BoxNum"};
        QTest::newRow("voucher line") << "Sale" << QStringList{"SlDate", "LastUser", "SlNo", "SEQ"};
    }

    void uniqueNumbers()
    {
        QFETCH(QString, table);
        QFETCH(QStringList, columns);
        const Table *t = tableNamed(table);
        QVERIFY(t);
        bool unique = false;
        for (const Index &i : orderedKeys(*t))
            unique = unique
                     || (i.unique && i.columns.size() == columns.size()
                         && sameColumns(i.columns, columns, columns.size()));
        QVERIFY(unique);
    }

    // The cash-book report builds its scratch table itself.
    void scratchTableIsNotDeclared()
    {
        QVERIFY(!tableNamed(QStringLiteral("TMP현금출납")));
    }
};

QTEST_GUILESS_MAIN(TestSchemaTables)
#include "tst_schematables.moc"
