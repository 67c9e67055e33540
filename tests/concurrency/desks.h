#pragma once
// What the race and crash tests share: desks as worker processes
// (fitrova_deskworker), the installation they work on, and the invariants
// every stored state must keep whatever the desks did at once or wherever a
// desk died.

#include "data/db.h"
#include "data/ledger.h"
#include "foundation/appcontext.h"

#include <QDate>
#include <QProcess>
#include <QStringList>
#include <QtTest>
#include <memory>

#include <csignal>

#ifndef FITROVA_DESKWORKER
#error "FITROVA_DESKWORKER names the worker executable (tests/CMakeLists.txt)"
#endif

namespace fitrova::test {

// Longer runs: FITROVA_SOAK=1 (or a number, the factor).
inline int soakFactor()
{
    bool ok = false;
    const int f = qEnvironmentVariable("FITROVA_SOAK").toInt(&ok);
    return ok && f > 1 ? f : (ok && f == 1 ? 5 : 1);
}

// One desk: a worker process connected to the installation.
class DeskProcess {
public:
    DeskProcess(const QString &installDir, const QString &name, const QDate &today, const QStringList &extra = {})
    {
        m_process.setProgram(QStringLiteral(FITROVA_DESKWORKER));
        m_process.setArguments(QStringList{installDir, name, today.toString(Qt::ISODate)} + extra);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start();
    }
    ~DeskProcess() { kill(); }
    DeskProcess(const DeskProcess &) = delete;
    DeskProcess &operator=(const DeskProcess &) = delete;

    // Waits for "ready"; false when the desk could not connect.
    bool waitReady()
    {
        const QString first = reply();
        if (first != QLatin1String("ready"))
            qWarning("desk did not start: %s", qPrintable(first));
        return first == QLatin1String("ready");
    }
    void send(const QString &command)
    {
        // Written at once, not when the event loop next runs.
        m_process.write((command + QLatin1Char('\n')).toUtf8());
        m_process.waitForBytesWritten(10000);
    }
    void send(const QStringList &fields) { send(fields.join(QLatin1Char('\t'))); }
    // The next answer; "" when the desk died or said nothing for a minute.
    QString reply()
    {
        while (!m_process.canReadLine()) {
            if (m_process.state() == QProcess::NotRunning || !m_process.waitForReadyRead(60000))
                return m_process.canReadLine() ? readLine() : QString();
        }
        return readLine();
    }
    // Waits (a minute at most) until the desk has said something.
    void waitForOutput()
    {
        if (!m_process.canReadLine() && m_process.state() != QProcess::NotRunning)
            m_process.waitForReadyRead(60000);
    }
    // Every answer that has arrived so far.
    QStringList replies()
    {
        QStringList out;
        while (m_process.canReadLine())
            out << readLine();
        return out;
    }
    // kill -9: the desk dies where it stands.
    void kill()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        ::kill(pid_t(m_process.processId()), SIGKILL);
        m_process.waitForFinished(30000);
    }
    bool running() const { return m_process.state() != QProcess::NotRunning; }
    qint64 pid() const { return m_process.processId(); }

private:
    QString readLine() { return QString::fromUtf8(m_process.readLine()).trimmed(); }
    QProcess m_process;
};

inline bool saved(const QString &answer) { return answer.startsWith(QLatin1String("saved ")); }
inline QString savedId(const QString &answer) { return saved(answer) ? answer.mid(6) : QString(); }

// --- invariants ------------------------------------------------------------------

inline QString fault(const char *what, const Row &r, const QStringList &columns)
{
    QStringList parts;
    for (const QString &c : columns)
        parts << c + QLatin1Char('=') + r.str(c);
    return QString::fromUtf8(what) + QStringLiteral(": ") + parts.join(QLatin1Char(' '));
}

inline QStringList faultsOf(const Db &db, const char *what, const QString &sql, const QStringList &columns,
                            const Params &params = {})
{
    QStringList out;
    for (const Row &r : db.query(sql, params))
        out << fault(what, r, columns);
    return out;
}

// Every paid enrollment row (an enrollment, a class change, a refund, a
// payment) has its ledger row, and every ledger row its paid row.
inline QStringList ledgerFaults(const Db &db)
{
    const QStringList c{QStringLiteral("Ltid"), QStringLiteral("MbCode"), QStringLiteral("LtGubun")};
    return faultsOf(db, "enrollment row without its ledger row",
                    QStringLiteral("SELECT L.Ltid, L.MbCode, L.LtGubun FROM Lecture L WHERE L.LtGubun IN ('1', '2', '4') "
                                   "AND NOT EXISTS (SELECT 1 FROM UserPoint P WHERE P.MbCode = L.MbCode "
                                   "AND P.JoinId = L.Ltid AND P.PgGubun = CASE WHEN L.PgGubun = '4' THEN '3' ELSE '1' END) "
                                   "ORDER BY L.Ltid"),
                    c)
        + faultsOf(db, "ledger row without its enrollment row",
                   QStringLiteral("SELECT P.Ptid, P.MbCode, P.JoinId, P.PgGubun FROM UserPoint P WHERE P.PgGubun IN ('1', '3') "
                                  "AND NOT EXISTS (SELECT 1 FROM Lecture L WHERE L.Ltid = P.JoinId AND L.MbCode = P.MbCode) "
                                  "ORDER BY P.Ptid"),
                   {QStringLiteral("Ptid"), QStringLiteral("MbCode"), QStringLiteral("JoinId"), QStringLiteral("PgGubun")});
}

// Each member's point balance is its ledger's, never below zero; each
// member's outstanding amount is what its rows leave unpaid.
inline QStringList balanceFaults(const Db &db)
{
    QStringList out = faultsOf(
        db, "point balance differs from the ledger",
        QStringLiteral("SELECT M.MbCode, M.Point, CAST(COALESCE((SELECT SUM(P.uPoint - P.mPoint) FROM UserPoint P "
                       "WHERE P.MbCode = M.MbCode), 0) AS BIGINT) AS Ledger FROM Member M "
                       "WHERE COALESCE(M.Point, 0) <> COALESCE((SELECT SUM(P.uPoint - P.mPoint) FROM UserPoint P "
                       "WHERE P.MbCode = M.MbCode), 0) ORDER BY M.MbCode"),
        {QStringLiteral("MbCode"), QStringLiteral("Point"), QStringLiteral("Ledger")});
    out += faultsOf(db, "points spent beyond the balance",
                    QStringLiteral("SELECT MbCode, Point FROM Member WHERE Point < 0 ORDER BY MbCode"),
                    {QStringLiteral("MbCode"), QStringLiteral("Point")});
    for (const Row &m : db.query(QStringLiteral("SELECT MbCode, MisuAmt FROM Member ORDER BY MbCode"))) {
        const qint64 unpaid = getMemberUnpaid(db, m.str(QStringLiteral("MbCode")));
        if (unpaid != m.num(QStringLiteral("MisuAmt")))
            out << QStringLiteral("outstanding amount differs from the rows: MbCode=%1 MisuAmt=%2 rows=%3")
                       .arg(m.str(QStringLiteral("MbCode")))
                       .arg(m.num(QStringLiteral("MisuAmt")))
                       .arg(unpaid);
    }
    return out;
}

// An enrollment is refunded and given away at most once, and its links name
// the rows that did it; its first class change is the one it links to; a
// postponed enrollment ends as many days later as it was paused.
inline QStringList linkFaults(const Db &db)
{
    QStringList out;
    for (const auto &[kind, link, what] :
         {std::tuple{"4", "Cancel", "refunded"}, std::tuple{"0", "Transfer", "given away"}}) {
        out += faultsOf(db, (std::string("enrollment ") + what + " more than once").c_str(),
                        QStringLiteral("SELECT BLtid, COUNT(*) AS Times FROM Lecture WHERE LtGubun = ? "
                                       "GROUP BY BLtid HAVING COUNT(*) > 1 ORDER BY BLtid"),
                        {QStringLiteral("BLtid"), QStringLiteral("Times")}, {QString::fromLatin1(kind)});
        out += faultsOf(db, (std::string("enrollment ") + what + " without its link").c_str(),
                        QStringLiteral("SELECT B.Ltid, B.%1 AS Link, D.Ltid AS Row FROM Lecture B JOIN Lecture D "
                                       "ON D.BLtid = B.Ltid AND D.LtGubun = ? WHERE B.%1 <> D.Ltid ORDER BY B.Ltid")
                            .arg(QLatin1String(link)),
                        {QStringLiteral("Ltid"), QStringLiteral("Link"), QStringLiteral("Row")},
                        {QString::fromLatin1(kind)});
    }
    out += faultsOf(db, "enrollment not linked to its first class change",
                    QStringLiteral("SELECT B.Ltid, B.Change AS Link, MIN(D.Ltid) AS First FROM Lecture B JOIN Lecture D "
                                   "ON D.BLtid = B.Ltid AND D.LtGubun = '2' GROUP BY B.Ltid, B.Change "
                                   "HAVING B.Change <> MIN(D.Ltid) ORDER BY B.Ltid"),
                    {QStringLiteral("Ltid"), QStringLiteral("Link"), QStringLiteral("First")});
    const Rows paused = db.query(QStringLiteral(
        "SELECT B.Ltid, B.Sdate2, B.ddate2, CAST(SUM(D.Rday) AS BIGINT) AS Days FROM Lecture B "
        "JOIN Lecture D ON D.BLtid = B.Ltid AND D.LtGubun = '3' "
        "WHERE B.Cancel = 0 AND B.Transfer = 0 AND B.Change = 0 AND B.Sdate2 <> '9999-12-31' "
        "GROUP BY B.Ltid, B.Sdate2, B.ddate2 ORDER BY B.Ltid"));
    for (const Row &r : paused) {
        const QDate sold = QDate::fromString(r.str(QStringLiteral("ddate2")), Qt::ISODate);
        const QString expected = sold.addDays(r.num(QStringLiteral("Days"))).toString(Qt::ISODate);
        if (r.str(QStringLiteral("Sdate2")) != expected)
            out << QStringLiteral("postponed enrollment ends on the wrong day: Ltid=%1 Sdate2=%2 expected=%3")
                       .arg(r.str(QStringLiteral("Ltid")), r.str(QStringLiteral("Sdate2")), expected);
    }
    return out;
}

// No enrollment has more visits on one day than the daily limit allows.
inline QStringList visitFaults(const Db &db, int dailyLimit)
{
    return faultsOf(db, "visits beyond the daily limit",
                    QStringLiteral("SELECT Ltid, InDate, COUNT(*) AS Visits FROM entrance GROUP BY Ltid, InDate "
                                   "HAVING COUNT(*) > ? ORDER BY Ltid, InDate"),
                    {QStringLiteral("Ltid"), QStringLiteral("InDate"), QStringLiteral("Visits")}, {dailyLimit});
}

// Card numbers and voucher numbers are each held once.
inline QStringList numberFaults(const Db &db)
{
    return faultsOf(db, "card number held by several members",
                    QStringLiteral("SELECT MbCard, COUNT(*) AS Members FROM Member WHERE MbCard <> '' "
                                   "GROUP BY MbCard HAVING COUNT(*) > 1 ORDER BY MbCard"),
                    {QStringLiteral("MbCard"), QStringLiteral("Members")})
        + faultsOf(db, "voucher number given twice",
                   QStringLiteral("SELECT SlDate, LastUser, SlNo, SEQ, COUNT(*) AS Lines FROM Sale "
                                  "GROUP BY SlDate, LastUser, SlNo, SEQ HAVING COUNT(*) > 1 ORDER BY SlDate, SlNo"),
                   {QStringLiteral("SlDate"), QStringLiteral("LastUser"), QStringLiteral("SlNo")});
}

inline QStringList allFaults(const Db &db, int dailyLimit)
{
    return ledgerFaults(db) + balanceFaults(db) + linkFaults(db) + visitFaults(db, dailyLimit) + numberFaults(db);
}

// The site options the desks work under: points at 5 %, one visit a day,
// transfers in use, no weekday check; refunds, postponements and transfers
// allowed on every course item.
inline void setDeskOptions(AppContext &ctx)
{
    const Db &db = ctx.main;
    db.exec(QStringLiteral("UPDATE UserOpt SET UserOpt7_1 = 5, UserOpt6 = 1, UserOpt5 = 1, UserOpt7_5 = 1"));
    db.exec(QStringLiteral("UPDATE Course SET UseCancel = 1, UseDelay = 1, UseTransfer = 1"));
    ctx.options.opt7_1 = 5;
    ctx.options.opt6 = 1;
    ctx.options.opt5 = 1;
    ctx.options.opt7_5 = 1;
}

} // namespace fitrova::test
