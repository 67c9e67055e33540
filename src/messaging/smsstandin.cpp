#include "messaging/smsstandin.h"

#include "foundation/appcontext.h"
#include "foundation/inifile.h"
#include "foundation/password.h"
#include "messaging/smsconfig.h"
#include "messaging/smslink.h"
#include "messaging/smsschema.h"
#include "messaging/smstext.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>

namespace fitrova {

namespace {

QString timeText(const QDateTime &t)
{
    return t.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

} // namespace

void createSmsStandIn(const Db &db, const StandInAccount &a, const QDate &today)
{
    const QString hash = hashPassword(a.password);
    if (db.engine() == Engine::SQLite)
        db.scalar(QStringLiteral("PRAGMA journal_mode = WAL")); // the stand-in and the desks read and write at once
    db.transaction([&] {
        createSmsProviderTables(db);
        db.exec(QStringLiteral("INSERT INTO tblMember (custom_id, custom_pwd, custom_nam, custom_Tel, custom_Hp, loginN, "
                               "Sub_id) VALUES (?, ?, ?, ?, ?, 0, ?)"),
                {a.id, hash, a.name, a.tel, a.hp, a.id});
        db.exec(QStringLiteral("INSERT INTO tblAccount (Sub_Id, M_PastG) VALUES (?, ?)"), {a.id, a.balance});
        db.exec(QStringLiteral("INSERT INTO tblReceipt (Sub_Id, ReceiD, ReceiM, ReceiG, pastG) VALUES (?, ?, ?, ?, ?)"),
                {a.id, today.toString(QStringLiteral("yyyy-MM-dd")), a.amount, a.balance, a.balance});
    });
}

QString standInResultFor(const QString &tel, const QString &text)
{
    if (text.trimmed().isEmpty())
        return QStringLiteral("내용없음");
    switch (checkMobileNumber(tel)) {
    case NumberCheck::Ok:
        return QStringLiteral("성공");
    case NumberCheck::Empty:
        return QStringLiteral("번호없음");
    case NumberCheck::TooShort:
    case NumberCheck::BadForm:
        break;
    }
    return QStringLiteral("번호오류");
}

DeliveryRound deliverDueMessages(const Db &queue, const Db &results, const QDateTime &now, int batch)
{
    DeliveryRound round;
    const QString due = reservationTime(now);
    const QString stamp = timeText(now);
    const bool oneDatabase = queue.connectionName() == results.connectionName();

    auto take = [&] {
        return queue.query(QStringLiteral("SELECT seq, custom_id, user_tel, custom_nam, custom_tel, msg, y_time "
                                          "FROM send_zelmar WHERE COALESCE(y_time, '') = '' OR y_time <= ? "
                                          "ORDER BY seq LIMIT ?")
                               + queue.forUpdate(),
                           {due, batch});
    };
    auto writeResults = [&](const Rows &rows) {
        for (const Row &r : rows) {
            const QString tel = r.str(QStringLiteral("custom_tel"));
            const QString msg = r.str(QStringLiteral("msg"));
            const QString result = standInResultFor(tel, msg);
            const bool ok = result == QStringLiteral("성공");
            const QDateTime reserved = parseReservationTime(r.str(QStringLiteral("y_time")));
            results.exec(QStringLiteral("INSERT INTO result_zelmar (custom_id, user_tel, custom_nam, msg, custom_tel, "
                                        "result_msg, fee2, i_time, s_time) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                         {r.value(QStringLiteral("custom_id")), r.value(QStringLiteral("user_tel")),
                          r.value(QStringLiteral("custom_nam")), msg, tel, result, ok ? 1 : 0,
                          reserved.isValid() ? timeText(reserved) : stamp, stamp});
            ++round.taken;
            ++(ok ? round.succeeded : round.failed);
        }
    };
    auto dequeue = [&](const Rows &rows) {
        for (const Row &r : rows)
            queue.exec(QStringLiteral("DELETE FROM send_zelmar WHERE seq = ?"), {r.num(QStringLiteral("seq"))});
    };

    if (oneDatabase) {
        queue.transaction([&] {
            const Rows rows = take();
            writeResults(rows);
            dequeue(rows);
        });
        return round;
    }
    const Rows rows = queue.transaction([&] { return take(); });
    results.transaction([&] { writeResults(rows); });
    queue.transaction([&] { dequeue(rows); });
    return round;
}

QString demoSmsStandInFile(const AppContext &ctx)
{
    return QDir::cleanPath(ctx.paths.localDbDir + QStringLiteral("/SmsStandIn.db"));
}

void setUpDemoSmsStandIn(const AppContext &ctx)
{
    const QString file = demoSmsStandInFile(ctx);
    if (QFileInfo::exists(file))
        return;
    QDir().mkpath(QFileInfo(file).absolutePath());
    const QString name = QStringLiteral("fitrova_demo_sms_standin");
    {
        QSqlDatabase h = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        h.setDatabaseName(file);
        if (!h.open()) {
            const QString why = h.lastError().text();
            h = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            throw DbError(DbError::Kind::Connection, why, file);
        }
    }
    try {
        const Db db(name, Engine::SQLite);
        StandInAccount a;
        // The centre's own name and telephone, as the demo content wrote them.
        if (const auto place = ctx.main.queryOne(QStringLiteral("SELECT * FROM Place"))) {
            if (!place->str(QStringLiteral("사용처명")).trimmed().isEmpty())
                a.name = place->str(QStringLiteral("사용처명")).trimmed();
            if (!place->str(QStringLiteral("전화번호")).trimmed().isEmpty())
                a.tel = place->str(QStringLiteral("전화번호")).trimmed();
        }
        createSmsStandIn(db, a, ctx.clock().today());
        db.exec(QStringLiteral("INSERT INTO tblContent (custom_id, title, context) VALUES (?, ?, ?)"),
                {a.id, QStringLiteral("생일축하"), QStringLiteral("{{이름}}님 생일을 축하드립니다. -{{사용처}}-")});
        db.exec(QStringLiteral("INSERT INTO tblContent (custom_id, title, context) VALUES (?, ?, ?)"),
                {a.id, QStringLiteral("만기안내"),
                 QStringLiteral("{{이름}}님 {{날짜}} 만기입니다. 재등록 부탁드립니다. -{{사용처}}-")});
    } catch (...) {
        closeSmsConnection(name);
        QFile::remove(file);
        throw;
    }
    closeSmsConnection(name);

    SmsConfig c;
    c.primary.engine = Engine::SQLite;
    c.primary.database = file;
    writeSmsConfig(IniFile(Paths::iniPathFor(ctx.paths.installDir)), c);
}

} // namespace fitrova
