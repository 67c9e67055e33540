#pragma once
// The provider stand-in: for a centre without a provider contract, for the
// demo and for the tests. It holds the provider's tables in a SQLite file or
// a PostgreSQL database, and its delivery loop does what the provider's
// service does: it takes the queued messages whose time has come and writes
// their results ("성공" for a well-formed mobile number, an error text
// otherwise) with the times of taking and of sending.
//
// The program fitrova-sms-standin (messaging/standin/main.cpp) runs it.

#include "data/db.h"

#include <QDate>
#include <QDateTime>
#include <QString>

namespace fitrova {

class AppContext;

struct StandInAccount {
    QString id = QStringLiteral("demo");
    QString password = QStringLiteral("demo1234");
    QString name = QStringLiteral("체험센터");
    QString tel = QStringLiteral("02-123-4567"); // the sender number
    QString hp;
    qint64 balance = 1000;                        // messages, bought by a first deposit
    qint64 amount = 20000;                        // won paid for them
};

// Creates the provider's tables in an empty database and the account with
// its first deposit, in one transaction.
void createSmsStandIn(const Db &db, const StandInAccount &account, const QDate &today);

// The result text of a delivery to a number: "성공", or why it failed.
QString standInResultFor(const QString &tel, const QString &text);

struct DeliveryRound {
    int taken = 0, succeeded = 0, failed = 0;
};

// Takes at most `batch` queued messages whose reservation time has come
// (y_time empty or not after now), in queue order, writes their results
// into `results` and takes them off the queue. When the queue and the
// results are one database this is one transaction; otherwise the results
// are written first, so that a crash between the two repeats a delivery
// rather than losing one.
DeliveryRound deliverDueMessages(const Db &queue, const Db &results, const QDateTime &now, int batch = 500);

// The stand-in of a demo installation: the file SmsStandIn.db in the install
// folder's local database folder with the demo account (the business name,
// 1,000 messages) and two templates, and section [SMS] of the configuration
// pointing at it. Does nothing when the file already exists.
void setUpDemoSmsStandIn(const AppContext &ctx);

// Where setUpDemoSmsStandIn puts the file.
QString demoSmsStandInFile(const AppContext &ctx);

} // namespace fitrova
