#include "maintenance/datadeletion.h"

#include "data/schema.h"
#include "data/schemamigrate.h"
#include "foundation/password.h"
#include "maintenance/sqlitefiles.h"

#include <QStringList>

namespace fitrova {

const char *const kDeletionTitle = "자료삭제";
const char *const kDeletionAsk = "선택한 자료를 모두삭제하시겠읍니까";
const char *const kDeletionDone = "삭제되었읍니다..";

namespace {

QString u(const char *s) { return QString::fromUtf8(s); }

// What a run removes: statements in order, and whether the members' derived
// amounts are to be computed again afterwards.
struct Plan {
    QStringList statements;
    bool recompute = false;
    void add(std::initializer_list<const char *> sql)
    {
        for (const char *s : sql)
            if (!statements.contains(QString::fromUtf8(s)))
                statements << QString::fromUtf8(s);
    }
};

// Every member's outstanding amount and point balance from the rows that
// remain: the same sums as the per-member routines of the ledger.
const char *const kRecomputeMembers =
    "UPDATE Member SET "
    "MisuAmt = CAST((SELECT COALESCE(SUM(COALESCE(l.TAmt, 0) - COALESCE(l.CardAmt, 0) - COALESCE(l.CashAmt, 0)), 0) "
    "  FROM Lecture l WHERE l.MbCode = Member.MbCode AND l.LtGubun = '1') + "
    " (SELECT COALESCE(SUM(COALESCE(s.SlAmt, 0) - COALESCE(s.CardAmt, 0) - COALESCE(s.CashAmt, 0)), 0) "
    "  FROM Sale s WHERE s.MbCode = Member.MbCode) AS BIGINT), "
    "Point = CAST((SELECT COALESCE(SUM(p.uPoint), 0) - COALESCE(SUM(p.mPoint), 0) "
    "  FROM UserPoint p WHERE p.MbCode = Member.MbCode) AS BIGINT)";

// Enrollments and sales take their point ledger rows along: "1" course and
// "3" payment rows belong to enrollments, "2" coupon and "4" goods rows to
// sale lines.
const char *const kEnrollmentPoints = "DELETE FROM UserPoint WHERE PgGubun IN ('1', '3')";
const char *const kSalePoints = "DELETE FROM UserPoint WHERE PgGubun IN ('2', '4')";

Outcome run(AppContext &ctx, const Plan &plan)
{
    if (plan.statements.isEmpty())
        return Outcome::refused(QStringLiteral("삭제할 자료를 선택하세요."), u(kDeletionTitle));
    const Db &db = ctx.main;
    db.transaction([&] {
        for (const QString &sql : plan.statements)
            db.exec(sql);
        if (plan.recompute)
            db.exec(QString::fromUtf8(kRecomputeMembers));
    });
    return Outcome::done().info(u(kDeletionDone), u(kDeletionTitle));
}

} // namespace

Outcome checkDeletionRights(AppContext &ctx, const QString &typedPassword)
{
    const auto row = ctx.main.queryOne(QStringLiteral("SELECT GrCode, UserPass FROM UserM WHERE UserID = ?"),
                                       {ctx.user.userId});
    if (!row || row->str(QStringLiteral("GrCode")).trimmed() != QLatin1String("1"))
        return Outcome::refused(QStringLiteral("관리자만 삭제할수 있읍니다"), u(kDeletionTitle));
    if (typedPassword.isEmpty() || !verifyPassword(row->str(QStringLiteral("UserPass")), typedPassword).ok)
        return Outcome::refused(QStringLiteral("삭제 비밀번호가 틀립니다."), u(kDeletionTitle));
    return Outcome::pass();
}

Outcome deleteEnteredData(AppContext &ctx, const QList<EnteredData> &groups)
{
    Plan plan;
    for (const EnteredData g : groups) {
        switch (g) {
        case EnteredData::Courses:
            plan.add({"DELETE FROM ProgAmt", "DELETE FROM Program", "DELETE FROM WaitList"});
            break;
        case EnteredData::Goods:
            plan.add({"DELETE FROM Item"});
            break;
        case EnteredData::Members:
            plan.add({"DELETE FROM Mday", "DELETE FROM Member", "DELETE FROM WaitList"});
            break;
        case EnteredData::EnrollmentsLockers:
            // The lockers themselves are set-up, not history: the rented ones
            // stay, freed; one the desk keeps in use with no renter stays so.
            plan.add({"DELETE FROM Lecture", "DELETE FROM ItemTrs", "DELETE FROM entrance",
                      "UPDATE PerBoxS SET UUse = '0', MbCode = '', StDate = '', EndDate = '', MonCnt = 0 "
                      "WHERE COALESCE(MbCode, '') <> ''",
                      "DELETE FROM RqPerBox", "DELETE FROM UserPoint"});
            plan.recompute = true;
            break;
        case EnteredData::Sales:
            plan.add({"DELETE FROM Sale", kSalePoints});
            plan.recompute = true;
            break;
        case EnteredData::CashBook:
            plan.add({"DELETE FROM 수입지출", "DELETE FROM 적요코드", "DELETE FROM 계정과목"});
            break;
        }
    }
    return run(ctx, plan);
}

Outcome deleteMaintenanceData(AppContext &ctx, const QList<MaintenanceData> &groups)
{
    Plan plan;
    for (const MaintenanceData g : groups) {
        switch (g) {
        case MaintenanceData::Members:
            plan.add({"DELETE FROM Mday", "DELETE FROM Member", "DELETE FROM WaitList"});
            break;
        case MaintenanceData::Enrollments:
            plan.add({"DELETE FROM Lecture", kEnrollmentPoints});
            plan.recompute = true;
            break;
        case MaintenanceData::Sales:
            plan.add({"DELETE FROM Sale", kSalePoints});
            plan.recompute = true;
            break;
        case MaintenanceData::Visits:
            plan.add({"DELETE FROM ItemTrs", "DELETE FROM entrance"});
            break;
        case MaintenanceData::Lockers:
            plan.add({"DELETE FROM PerBoxS", "DELETE FROM RqPerBox"});
            break;
        case MaintenanceData::Deposits:
            plan.add({"DELETE FROM Deposit"});
            break;
        case MaintenanceData::Courses:
            plan.add({"DELETE FROM ProgAmt", "DELETE FROM Program", "DELETE FROM WaitList"});
            break;
        case MaintenanceData::Goods:
            plan.add({"DELETE FROM Item"});
            break;
        case MaintenanceData::CashBook:
            plan.add({"DELETE FROM 수입지출", "DELETE FROM 적요코드", "DELETE FROM 계정과목"});
            break;
        case MaintenanceData::Users:
            // Nobody is locked out: the user "1" and the administrators stay
            // with their programs and the administrators' grade rights.
            plan.add({"DELETE FROM UserPG WHERE UserID NOT IN "
                      "(SELECT UserID FROM UserM WHERE UserID = '1' OR GrCode = '1')",
                      "DELETE FROM UserM WHERE UserID <> '1' AND GrCode <> '1'",
                      "DELETE FROM Grade WHERE GrCode <> '1'"});
            break;
        case MaintenanceData::Points:
            plan.add({"DELETE FROM UserPoint"});
            plan.recompute = true;
            break;
        case MaintenanceData::Business:
            plan.add({"DELETE FROM Place"});
            break;
        }
    }
    return run(ctx, plan);
}

StructureCheck repairDataStructure(AppContext &ctx)
{
    StructureCheck out;
    const int stored = storedSchemaVersion(ctx.main);
    if (stored > 0 && stored < schemaVersion())
        migrateSchema(ctx.main, stored);
    for (const Table &t : allTables()) {
        const Db *db = &ctx.main;
        QString ownFile; // a file attached to the main connection is changed through a connection of its own
        if (ctx.engine == Engine::SQLite) {
            if (t.file == DbFile::Post)
                db = &ctx.post;
            else if (t.file == DbFile::Print)
                db = &ctx.print;
            else if (t.file == DbFile::Entrance)
                ownFile = ctx.paths.entDb;
            else if (t.file == DbFile::Point)
                ownFile = ctx.paths.pointDb;
        }
        if (!db->isValid() || db->tableExists(t.name))
            continue;
        try {
            if (ownFile.isEmpty()) {
                db->transaction([&] {
                    for (const QString &sql : createTableStatements(t, ctx.engine))
                        db->exec(sql);
                });
            } else {
                sqlitefiles::Connection c(ownFile, false);
                c.exec(QStringLiteral("BEGIN IMMEDIATE"));
                for (const QString &sql : createTableStatements(t, ctx.engine))
                    c.exec(sql);
                c.exec(QStringLiteral("COMMIT"));
            }
            out.created << t.name;
        } catch (const DbError &e) {
            out.failed << t.name + QStringLiteral(": ") + e.message();
        } catch (const sqlitefiles::FileDbError &e) {
            out.failed << t.name + QStringLiteral(": ") + e.text();
        }
    }
    return out;
}

} // namespace fitrova
