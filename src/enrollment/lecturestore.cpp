#include "enrollment/lecturestore.h"

#include <array>
#include <variant>

namespace fitrova {

namespace {

struct KindCode {
    LectureKind kind;
    const char *code;
};
constexpr std::array<KindCode, 5> kLectureKinds{{{LectureKind::TransferIn, "0"},
                                                 {LectureKind::Enrollment, "1"},
                                                 {LectureKind::ClassChange, "2"},
                                                 {LectureKind::Postponement, "3"},
                                                 {LectureKind::Refund, "4"}}};

struct ProgramCode {
    ProgramKind kind;
    const char *code;
};
constexpr std::array<ProgramCode, 4> kProgramKinds{{{ProgramKind::Period, "1"},
                                                    {ProgramKind::TimeBased, "2"},
                                                    {ProgramKind::Box, "3"},
                                                    {ProgramKind::Payment, "4"}}};

// One column: its name, the field it is kept in, and its LectureField.
using Member = std::variant<QString LectureRecord::*, qint64 LectureRecord::*, std::optional<qint64> LectureRecord::*,
                            std::optional<double> LectureRecord::*, LectureKind LectureRecord::*,
                            ProgramKind LectureRecord::*>;
struct StoreColumn {
    LectureField field;
    const char *name;
    Member member;
};

// Every column but the id, in the table's order.
const std::array<StoreColumn, 51> kColumns{{
    {LectureField::LtGubun, "LtGubun", &LectureRecord::kind},
    {LectureField::PgGubun, "PgGubun", &LectureRecord::programKind},
    {LectureField::MbCode, "MbCode", &LectureRecord::mbCode},
    {LectureField::MbName, "MbName", &LectureRecord::mbName},
    {LectureField::Sex, "Sex", &LectureRecord::sex},
    {LectureField::MbGubun, "MbGubun", &LectureRecord::mbGubun},
    {LectureField::Age, "Age", &LectureRecord::age},
    {LectureField::AgeGubun, "AgeGubun", &LectureRecord::ageGubun},
    {LectureField::Pgid, "Pgid", &LectureRecord::pgid},
    {LectureField::PgCode, "PgCode", &LectureRecord::pgCode},
    {LectureField::PgName, "PgName", &LectureRecord::pgName},
    {LectureField::Course, "Course", &LectureRecord::course},
    {LectureField::Lclass, "Lclass", &LectureRecord::lclass},
    {LectureField::Mclass, "Mclass", &LectureRecord::mclass},
    {LectureField::Sclass, "Sclass", &LectureRecord::sclass},
    {LectureField::Time1, "Time1", &LectureRecord::time1},
    {LectureField::Time2, "Time2", &LectureRecord::time2},
    {LectureField::LtCode, "LtCode", &LectureRecord::ltCode},
    {LectureField::Bpgid, "Bpgid", &LectureRecord::bpgid},
    {LectureField::BMbCode, "BMbCode", &LectureRecord::bMbCode},
    {LectureField::BLtid, "BLtid", &LectureRecord::bLtid},
    {LectureField::RqDate, "RqDate", &LectureRecord::rqDate},
    {LectureField::Sdate1, "Sdate1", &LectureRecord::sDate1},
    {LectureField::Sdate2, "Sdate2", &LectureRecord::sDate2},
    {LectureField::ddate1, "ddate1", &LectureRecord::dDate1},
    {LectureField::ddate2, "ddate2", &LectureRecord::dDate2},
    {LectureField::LTyymm, "LTyymm", &LectureRecord::ltyymm},
    {LectureField::MonthCnt, "MonthCnt", &LectureRecord::monthCnt},
    {LectureField::AmtGubun, "AmtGubun", &LectureRecord::amtGubun},
    {LectureField::Lectgubun, "Lectgubun", &LectureRecord::lectGubun},
    {LectureField::DcGubun, "DcGubun", &LectureRecord::dcGubun},
    {LectureField::DcAmt, "DcAmt", &LectureRecord::dcAmt},
    {LectureField::DcYul, "DcYul", &LectureRecord::dcYul},
    {LectureField::TAmt, "TAmt", &LectureRecord::tAmt},
    {LectureField::CashAmt, "CashAmt", &LectureRecord::cashAmt},
    {LectureField::CardAmt, "CardAmt", &LectureRecord::cardAmt},
    {LectureField::Card, "Card", &LectureRecord::card},
    {LectureField::MisuAmt, "MisuAmt", &LectureRecord::misuAmt},
    {LectureField::PgCnt, "PgCnt", &LectureRecord::pgCnt},
    {LectureField::PgCnt1, "PgCnt1", &LectureRecord::pgCnt1},
    {LectureField::uPgCnt, "uPgCnt", &LectureRecord::uPgCnt},
    {LectureField::Delay, "Delay", &LectureRecord::delay},
    {LectureField::Cancel, "Cancel", &LectureRecord::cancel},
    {LectureField::Transfer, "Transfer", &LectureRecord::transfer},
    {LectureField::Change, "Change", &LectureRecord::change},
    {LectureField::Rday, "Rday", &LectureRecord::rday},
    {LectureField::Remark, "Remark", &LectureRecord::remark},
    {LectureField::fDate, "fDate", &LectureRecord::fDate},
    {LectureField::LastUser, "LastUser", &LectureRecord::lastUser},
    {LectureField::LastDate, "LastDate", &LectureRecord::lastDate},
    {LectureField::LastTime, "LastTime", &LectureRecord::lastTime},
}};

const StoreColumn &columnOf(LectureField f)
{
    const StoreColumn &c = kColumns[size_t(f)];
    Q_ASSERT(c.field == f);
    return c;
}

QVariant nullOf(QMetaType type) { return QVariant(type); }

QVariant valueOf(const LectureRecord &row, const StoreColumn &c)
{
    return std::visit(
        [&](auto member) -> QVariant {
            const auto &v = row.*member;
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, QString>)
                return v; // a null QString binds as NULL
            else if constexpr (std::is_same_v<T, qint64>)
                return v;
            else if constexpr (std::is_same_v<T, std::optional<qint64>>)
                return v ? QVariant(*v) : nullOf(QMetaType::fromType<qint64>());
            else if constexpr (std::is_same_v<T, std::optional<double>>)
                return v ? QVariant(*v) : nullOf(QMetaType::fromType<double>());
            else if constexpr (std::is_same_v<T, LectureKind>)
                return lectureKindCode(v);
            else
                return programKindCode(v);
        },
        c.member);
}

void setFrom(LectureRecord &row, const StoreColumn &c, const Row &r)
{
    const QString name = QString::fromLatin1(c.name);
    std::visit(
        [&](auto member) {
            auto &v = row.*member;
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, QString>)
                v = r.str(name);
            else if constexpr (std::is_same_v<T, qint64>)
                v = r.num(name);
            else if constexpr (std::is_same_v<T, std::optional<qint64>>)
                v = r.isNull(name) ? std::nullopt : std::optional<qint64>(r.num(name));
            else if constexpr (std::is_same_v<T, std::optional<double>>)
                v = r.isNull(name) ? std::nullopt : std::optional<double>(r.dbl(name));
            else if constexpr (std::is_same_v<T, LectureKind>)
                v = lectureKindOf(r.str(name));
            else
                v = programKindOf(r.str(name));
        },
        c.member);
}

const QString &insertSql()
{
    static const QString sql = [] {
        QString cols, marks;
        for (const StoreColumn &c : kColumns) {
            if (!cols.isEmpty()) {
                cols += QStringLiteral(", ");
                marks += QStringLiteral(", ");
            }
            cols += QLatin1String(c.name);
            marks += QLatin1Char('?');
        }
        return QString(QStringLiteral("INSERT INTO Lecture (") + cols + QStringLiteral(") VALUES (") + marks +
                       QLatin1Char(')'));
    }();
    return sql;
}

} // namespace

QString lectureKindCode(LectureKind k)
{
    for (const KindCode &c : kLectureKinds)
        if (c.kind == k)
            return QString::fromLatin1(c.code);
    return {};
}

LectureKind lectureKindOf(const QString &ltGubun)
{
    const QString t = ltGubun.trimmed();
    for (const KindCode &c : kLectureKinds)
        if (t == QLatin1String(c.code))
            return c.kind;
    return LectureKind::Unknown;
}

QString programKindCode(ProgramKind k)
{
    for (const ProgramCode &c : kProgramKinds)
        if (c.kind == k)
            return QString::fromLatin1(c.code);
    return {};
}

ProgramKind programKindOf(const QString &pgGubun)
{
    const QString t = pgGubun.trimmed();
    for (const ProgramCode &c : kProgramKinds)
        if (t == QLatin1String(c.code))
            return c.kind;
    return ProgramKind::Unknown;
}

qint64 *LectureRecord::linkFor(LectureKind dependentKind)
{
    switch (dependentKind) {
    case LectureKind::TransferIn:
        return &transfer;
    case LectureKind::ClassChange:
        return &change;
    case LectureKind::Postponement:
        return &delay;
    case LectureKind::Refund:
        return &cancel;
    default:
        return nullptr;
    }
}

std::optional<LectureField> linkFieldOf(LectureKind k)
{
    switch (k) {
    case LectureKind::TransferIn:
        return LectureField::Transfer;
    case LectureKind::ClassChange:
        return LectureField::Change;
    case LectureKind::Postponement:
        return LectureField::Delay;
    case LectureKind::Refund:
        return LectureField::Cancel;
    default:
        return std::nullopt;
    }
}

LectureRecord lectureFromRow(const Row &r)
{
    LectureRecord row;
    row.ltid = r.num(QStringLiteral("Ltid"));
    for (const StoreColumn &c : kColumns)
        setFrom(row, c, r);
    return row;
}

std::optional<LectureRecord> loadLecture(const Db &db, qint64 ltid, RowLock lock)
{
    const QString sql = QStringLiteral("SELECT * FROM Lecture WHERE Ltid = ?") +
                        (lock == RowLock::ForUpdate ? db.forUpdate() : QString());
    const auto r = db.queryOne(sql, {ltid});
    if (!r)
        return std::nullopt;
    return lectureFromRow(*r);
}

bool lockLecture(const Db &db, qint64 ltid)
{
    return db.queryOne(QStringLiteral("SELECT Ltid FROM Lecture WHERE Ltid = ?") + db.forUpdate(), {ltid})
        .has_value();
}

qint64 insertLecture(const Db &db, const LectureRecord &row)
{
    return db.insertId(insertSql(), lectureValues(row).mid(1), QStringLiteral("Ltid"));
}

int updateLecture(const Db &db, const LectureRecord &row, LectureFields fields)
{
    if (fields.size() == 0)
        return 0;
    QString sets;
    Params params;
    for (LectureField f : fields) {
        const StoreColumn &c = columnOf(f);
        if (!sets.isEmpty())
            sets += QStringLiteral(", ");
        sets += QLatin1String(c.name) + QStringLiteral(" = ?");
        params << valueOf(row, c);
    }
    params << row.ltid;
    return db.exec(QStringLiteral("UPDATE Lecture SET ") + sets + QStringLiteral(" WHERE Ltid = ?"), params);
}

int deleteLectureRow(const Db &db, qint64 ltid)
{
    return db.exec(QStringLiteral("DELETE FROM Lecture WHERE Ltid = ?"), {ltid});
}

int deleteLecturesOfMember(const Db &db, const QString &mbCode)
{
    return db.exec(QStringLiteral("DELETE FROM Lecture WHERE MbCode = ?"), {mbCode});
}

QStringList lectureColumnNames()
{
    QStringList names{QStringLiteral("Ltid")};
    for (const StoreColumn &c : kColumns)
        names << QString::fromLatin1(c.name);
    return names;
}

QVariantList lectureValues(const LectureRecord &row)
{
    QVariantList v;
    v.reserve(qsizetype(kColumns.size()) + 1);
    v << row.ltid;
    for (const StoreColumn &c : kColumns)
        v << valueOf(row, c);
    return v;
}

LectureRecord derivedRow(const LectureRecord &base, LectureKind kind)
{
    LectureRecord r;
    r.kind = kind;
    r.programKind = kind == LectureKind::TransferIn ? base.programKind : ProgramKind::Period;
    r.bLtid = base.ltid;
    r.bpgid = base.pgid;
    r.bMbCode = base.mbCode;
    r.ltyymm = base.ltyymm;
    r.mbCode = base.mbCode;
    r.mbName = base.mbName;
    r.sex = base.sex;
    r.age = base.age.value_or(0);
    r.pgid = base.pgid;
    r.pgCode = base.pgCode;
    r.pgName = base.pgName;
    r.course = base.course;
    r.lclass = base.lclass;
    r.mclass = base.mclass;
    r.sclass = base.sclass;
    r.time1 = base.time1;
    r.time2 = base.time2;
    r.monthCnt = base.monthCnt;
    r.amtGubun = base.amtGubun;
    r.dDate1 = base.dDate1;
    r.dDate2 = base.dDate2;
    switch (kind) {
    case LectureKind::Refund:
        r.sDate1 = base.sDate1;
        r.lectGubun = base.lectGubun;
        r.dcYul = base.dcYul.value_or(0);
        break;
    case LectureKind::Postponement:
        r.dcYul = base.dcYul.value_or(0);
        break;
    case LectureKind::ClassChange:
        r.lectGubun = base.lectGubun;
        r.dcYul = base.dcYul.value_or(0);
        r.mbGubun = base.mbGubun;
        r.ageGubun = base.ageGubun;
        break;
    case LectureKind::TransferIn:
        r.lectGubun = base.lectGubun;
        r.ltCode = base.ltCode;
        r.pgCnt = base.pgCnt;
        r.pgCnt1 = base.pgCnt1;
        r.uPgCnt = base.uPgCnt;
        break;
    default:
        break;
    }
    return r;
}

} // namespace fitrova
