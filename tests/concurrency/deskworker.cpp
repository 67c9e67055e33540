// A desk in a process of its own, for the race and crash tests.
//
//   fitrova_deskworker INSTALL_DIR DESK_NAME TODAY             commands from standard input
//   fitrova_deskworker INSTALL_DIR DESK_NAME TODAY --mix SEED  a mixture of desk work until killed
//
// TODAY ("YYYY-MM-DD") is the desk clock's day.
//
// It connects to the installation as a workstation does (Bin/Pginfo.Ini,
// logged in as the administrator) and drives the core services the way the
// screens call them. It prints "ready" once connected. Each command is one
// line of tab-separated fields, its answer one line:
//
//   saved ID          the action was stored (ID: the row's id or number)
//   refused TEXT      the action was refused with that message
//   error KIND TEXT   the action failed on the database
//
// Commands: see actions() below; "quit" ends the worker. A command may be
// preceded by "at MS": it starts at that moment (milliseconds since the epoch). With --mix it picks
// actions and rows at random from the rows it finds and answers each one the
// same way, until it is killed. A new kind of desk action is one more entry
// of actions().

#include "foundation/appcontext.h"
#include "foundation/connections.h"
#include "foundation/startup.h"
#include "data/clock.h"
#include "enrollment/classchange.h"
#include "enrollment/enrollment.h"
#include "enrollment/payment.h"
#include "enrollment/postponement.h"
#include "enrollment/refund.h"
#include "enrollment/transfer.h"
#include "entrance/checkin.h"
#include "members/memberstore.h"

#include <QCoreApplication>
#include <QHash>
#include <QRandomGenerator>
#include <QTextStream>
#include <QThread>
#include <cstdio>
#include <functional>

using namespace fitrova;

namespace {

struct Desk {
    AppContext ctx;
    std::shared_ptr<FixedClock> clock = std::make_shared<FixedClock>();
    explicit Desk(const QString &dir) : ctx(dir) { ctx.setClock(clock); }
};

using Args = QStringList;
using Action = std::function<QString(Desk &, const Args &)>;

QString oneLine(QString s)
{
    return s.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
}

// An action's result: saved with the row's id, or refused with its last message.
template <typename Result>
QString answer(const Result &r)
{
    return r.saved ? QStringLiteral("saved %1").arg(r.id) : QStringLiteral("refused ") + oneLine(r.last().text);
}

QString answer(const MemberSaveResult &r)
{
    return r.saved ? QStringLiteral("saved ") + r.mbCode : QStringLiteral("refused ") + oneLine(r.message.text);
}

qint64 num(const Args &a, int i) { return a.value(i).toLongLong(); }

// The actions of the desk, by command name; arguments follow the name.
const QHash<QString, Action> &actions()
{
    static const QHash<QString, Action> all{
        // refund LTID DATE AMOUNT
        {QStringLiteral("refund"),
         [](Desk &d, const Args &a) {
             RefundInput in;
             in.ltid = num(a, 0);
             in.refundDate = a.value(1);
             in.amount = num(a, 2);
             return answer(saveRefund(d.ctx, in));
         }},
        // transfer LTID RECEIVER DATE FROM TO
        {QStringLiteral("transfer"),
         [](Desk &d, const Args &a) {
             TransferInput in;
             in.ltid = num(a, 0);
             in.receiverMbCode = a.value(1);
             in.rqDate = a.value(2);
             in.sDate1 = a.value(3);
             in.sDate2 = a.value(4);
             return answer(saveTransfer(d.ctx, in));
         }},
        // change LTID PGID MONTHS DATE FROM TO EXTRA
        {QStringLiteral("change"),
         [](Desk &d, const Args &a) {
             ClassChangeInput in;
             in.ltid = num(a, 0);
             in.newPgid = num(a, 1);
             in.monthCnt = int(num(a, 2));
             in.rqDate = a.value(3);
             in.sDate1 = a.value(4);
             in.sDate2 = a.value(5);
             in.extra = num(a, 6);
             return answer(saveClassChange(d.ctx, in));
         }},
        // postpone LTID DATE FROM TO
        {QStringLiteral("postpone"),
         [](Desk &d, const Args &a) {
             PostponementInput in;
             in.ltid = num(a, 0);
             in.rqDate = a.value(1);
             in.from = a.value(2);
             in.to = a.value(3);
             in.reason = QStringLiteral("개인사정");
             return answer(savePostponement(d.ctx, in));
         }},
        // pay MBCODE DATE CASH
        {QStringLiteral("pay"),
         [](Desk &d, const Args &a) {
             PaymentInput in;
             in.mbCode = a.value(0);
             in.payDate = a.value(1);
             in.cashAmt = num(a, 2);
             return answer(savePayment(d.ctx, in));
         }},
        // enroll MBCODE PGID MONTHS FEE DATE FROM TO CASH [POINTS]
        // (POINTS spent as a mileage discount)
        {QStringLiteral("enroll"),
         [](Desk &d, const Args &a) {
             EnrollmentInput in;
             in.mbCode = a.value(0);
             in.pgid = num(a, 1);
             in.monthCnt = int(num(a, 2));
             in.fee = num(a, 3);
             in.rqDate = a.value(4);
             in.sDate1 = a.value(5);
             in.sDate2 = a.value(6);
             in.cashAmt = num(a, 7);
             if (num(a, 8) > 0) {
                 in.dcGubun = QStringLiteral("2");
                 in.dcAmt = num(a, 8);
             }
             return answer(saveEnrollment(d.ctx, in));
         }},
        // goods MBCODE ITID PRICE DATE
        {QStringLiteral("goods"),
         [](Desk &d, const Args &a) {
             GoodsInput in;
             in.mbCode = a.value(0);
             in.itId = num(a, 1);
             in.price = num(a, 2);
             in.cashAmt = in.price;
             in.slDate = a.value(3);
             return answer(saveGoodsSale(d.ctx, in));
         }},
        // card MBCODE CARD: the member card saved with that card number
        {QStringLiteral("card"),
         [](Desk &d, const Args &a) -> QString {
             auto m = loadMember(d.ctx.main, a.value(0));
             if (!m)
                 return QStringLiteral("refused no member");
             m->mbCard = a.value(1);
             return answer(saveMember(d.ctx.main, *m));
         }},
        // member NAME: a new member under a new number
        {QStringLiteral("member"),
         [](Desk &d, const Args &a) {
             MemberRecord m;
             m.mbName = a.value(0);
             m.indate = d.ctx.clock().today().toString(Qt::ISODate);
             return answer(saveMember(d.ctx.main, m));
         }},
        // checkin CARD DATETIME: the card presented at the gate
        {QStringLiteral("checkin"),
         [](Desk &d, const Args &a) -> QString {
             const QDateTime at = QDateTime::fromString(a.value(1), Qt::ISODate);
             const CheckInResult r =
                 checkInByCard(d.ctx.ent, a.value(0), at, GateOptions::fromUserOptions(d.ctx.options));
             if (r.entid > 0)
                 return QStringLiteral("saved %1").arg(r.entid);
             return QStringLiteral("refused ") + oneLine(r.decision.message);
         }},
    };
    return all;
}

// "at MS" before a command: waits until that moment (milliseconds since the
// epoch), so that every desk of a race starts its action together.
void waitUntil(qint64 ms)
{
    for (qint64 left = ms - QDateTime::currentMSecsSinceEpoch(); left > 0;
         left = ms - QDateTime::currentMSecsSinceEpoch()) {
        if (left > 2)
            QThread::msleep(left - 2);
    }
}

QString run(Desk &d, const QString &line)
{
    QStringList f = line.split(QLatin1Char('\t'));
    if (f.size() > 2 && f.first() == QLatin1String("at")) {
        f.removeFirst();
        waitUntil(f.takeFirst().toLongLong());
    }
    const QString name = f.takeFirst();
    const auto it = actions().constFind(name);
    if (it == actions().constEnd())
        return QStringLiteral("error usage unknown command ") + name;
    try {
        const qint64 t0 = QDateTime::currentMSecsSinceEpoch();
        QString r = (*it)(d, f);
        if (qEnvironmentVariableIsSet("FITROVA_RACE_VERBOSE"))
            r += QStringLiteral(" [%1 +%2]").arg(t0 % 100000).arg(QDateTime::currentMSecsSinceEpoch() - t0);
        return r;
    } catch (const DbError &e) {
        static const char *const kinds[] = {"statement", "connection", "unique", "conflict", "diskfull", "readonly"};
        return QStringLiteral("error %1 %2").arg(QLatin1String(kinds[int(e.kind())]), oneLine(e.message()));
    } catch (const std::exception &e) {
        return QStringLiteral("error other ") + oneLine(QString::fromUtf8(e.what()));
    }
}

// --- the mixture of the crash test ---------------------------------------------

QString pick(QRandomGenerator &rng, const Rows &rows, const QString &column)
{
    return rows.isEmpty() ? QString() : rows.at(int(rng.bounded(quint32(rows.size())))).str(column);
}

// One action of a busy day on rows chosen at random, as the command it is.
QString mixedCommand(Desk &d, QRandomGenerator &rng)
{
    const Db &db = d.ctx.main;
    const QDate day = d.ctx.clock().today();
    const QString today = day.toString(Qt::ISODate);
    const Rows members = db.query(QStringLiteral("SELECT MbCode, MbCard FROM Member WHERE MbCard <> '' ORDER BY MbCode"));
    const Rows programs = db.query(QStringLiteral("SELECT Pgid FROM Program WHERE PgGubun = '1' ORDER BY Pgid"));
    const Rows open = db.query(QStringLiteral("SELECT Ltid FROM Lecture WHERE LtGubun = '1' AND PgGubun = '1' "
                                              "AND Cancel = 0 AND Transfer = 0 ORDER BY Ltid"));
    const Rows items = db.query(QStringLiteral("SELECT ItId FROM Item ORDER BY ItId"));
    const QString mb = pick(rng, members, QStringLiteral("MbCode"));
    const QString lt = pick(rng, open, QStringLiteral("Ltid"));
    const QString pg = pick(rng, programs, QStringLiteral("Pgid"));
    const QString end = day.addMonths(1).addDays(-1).toString(Qt::ISODate);
    auto command = [](const QStringList &fields) { return fields.join(QLatin1Char('\t')); };
    switch (rng.bounded(10)) {
    case 0:
    case 1: {
        const qint64 points = db.scalar(QStringLiteral("SELECT Point FROM Member WHERE MbCode = ?"), {mb}).toLongLong();
        const qint64 spend = rng.bounded(3) == 0 ? std::clamp<qint64>(points, 0, 30000) : 0;
        const qint64 paid = rng.bounded(2) ? 60000 - spend : 30000;
        return command({QStringLiteral("enroll"), mb, pg, QStringLiteral("1"), QStringLiteral("60000"), today, today,
                        end, QString::number(paid), QString::number(spend)});
    }
    case 2:
        return command({QStringLiteral("refund"), lt, today, QStringLiteral("10000")});
    case 3:
        return command({QStringLiteral("pay"), mb, today, QStringLiteral("5000")});
    case 4:
        return command({QStringLiteral("postpone"), lt, today, day.addDays(1).toString(Qt::ISODate),
                        day.addDays(3).toString(Qt::ISODate)});
    case 5:
        return command({QStringLiteral("change"), lt, pg, QStringLiteral("1"), today, today, end, QStringLiteral("5000")});
    case 6:
        return command({QStringLiteral("transfer"), lt, pick(rng, members, QStringLiteral("MbCode")), today, today, end});
    case 7:
        return command({QStringLiteral("goods"), mb, pick(rng, items, QStringLiteral("ItId")), QStringLiteral("3000"), today});
    case 8:
        return command({QStringLiteral("member"), QStringLiteral("신규회원")});
    default:
        return command({QStringLiteral("checkin"), pick(rng, members, QStringLiteral("MbCard")),
                        d.ctx.clock().now().toString(Qt::ISODate)});
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: fitrova_deskworker INSTALL_DIR DESK_NAME TODAY [--mix SEED]\n");
        return 2;
    }
    Desk d(args.at(1));
    QTextStream out(stdout);
    if (auto f = connectDatabases(d.ctx)) {
        out << "error connection " << oneLine(f->text + QLatin1Char(' ') + f->detail) << Qt::endl;
        return 1;
    }
    d.ctx.pcName = args.at(2);
    d.ctx.user = CurrentUser{QStringLiteral("admin"), QStringLiteral("관리자"), QStringLiteral("0001"),
                             QStringLiteral("1")};
    loadWorkstation(d.ctx);
    d.clock->set(QDateTime(QDate::fromString(args.at(3), Qt::ISODate), QTime(10, 0)));
    out << "ready" << Qt::endl;
    for (int i = 0; i < Db::completedCrossFileTransactions(); ++i)
        out << "completed" << Qt::endl; // on connecting

    if (args.size() >= 6 && args.at(4) == QLatin1String("--mix")) {
        QRandomGenerator rng(args.at(5).toUInt());
        for (;;) {
            d.clock->advanceSecs(1);
            QString command;
            try {
                command = mixedCommand(d, rng);
            } catch (const DbError &e) {
                out << "error " << oneLine(e.message()) << Qt::endl;
                continue;
            }
            const int completed = Db::completedCrossFileTransactions();
            out << run(d, command) << Qt::endl;
            // A transaction another desk left half-committed when it died, completed here.
            for (int i = completed; i < Db::completedCrossFileTransactions(); ++i)
                out << "completed" << Qt::endl;
        }
    }

    QTextStream in(stdin);
    for (QString line; in.readLineInto(&line);) {
        if (line == QLatin1String("quit"))
            break;
        out << run(d, line) << Qt::endl;
    }
    return 0;
}
