// What the desk feels on the generated centre, through the real screens
// offscreen, each beside the bare statements it needs:
//
//   - a card swiped at the gate with all its screen work (check-in, the member
//     panel with enrollments and the first page of visits, the line added to
//     the day list, the window painted) on a day that already holds 0, 2,000
//     and 6,000 visits;
//   - the member card opened on a typical member and on the member with the
//     most visits;
//   - the gate's member panel (member, enrollments, visit count and first
//     page) for the same two members;
//   - the program's start to its login window, in a fresh process each time.
//
// The swipe and the card are also reported without the window's repaint
// ("-unpainted": the screen's work until its grids hold the new rows).
//
// Every figure is timed per call: median and 99th percentile of the wall
// time, and the median of this process's CPU time (on PostgreSQL the
// server's work is not in it), so a loaded machine shows as wall above CPU.
// The visits written or copied onto the centre's "today" are removed again.
//
//   bench_desk [--benchmark_filter=...]   FITROVA_BENCH_SCALE=0.1 for a smaller centre
//   FITROVA_BENCH_SWIPES (200), FITROVA_BENCH_OPENS (50), FITROVA_BENCH_STARTS (5),
//   FITROVA_BENCH_REPETITIONS (3)

#include "benchtiming.h"
#include "centregen.h"
#include "scriptedmessages.h"

#include "entrance/checkin.h"
#include "entrance/gatelists.h"
#include "entrance/ui/checkinscreen.h"
#include "foundation/connections.h"
#include "foundation/startup.h"
#include "members/memberhistory.h"
#include "members/membervisits.h"
#include "members/memberstore.h"
#include "members/ui/memberscreen.h"
#include "shell/ui/logindialog.h"
#include "shell/ui/lookandfeel.h"
#include "widgets/datagrid.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QProcess>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QTranslator>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <ctime>
#include <map>
#include <sys/resource.h>

using namespace fitrova;
using namespace fitrova::bench;

namespace {

void runAll(QList<QSqlQuery *> statements, const QList<QVariantList> &values)
{
    for (int i = 0; i < statements.size(); ++i) {
        run(*statements[i], values.at(i));
        drain(*statements[i]);
    }
}

// --- the statements the screens need, bare -------------------------------------

const QString kMemberRow = QStringLiteral("SELECT * FROM Member WHERE MbCode = ?");
const QString kUnpaid = QStringLiteral(
    "SELECT CAST((SELECT COALESCE(SUM(COALESCE(TAmt, 0) - COALESCE(CardAmt, 0) - COALESCE(CashAmt, 0)), 0) "
    "FROM Lecture WHERE MbCode = ? AND LtGubun = '1') + "
    "(SELECT COALESCE(SUM(COALESCE(SlAmt, 0) - COALESCE(CardAmt, 0) - COALESCE(CashAmt, 0)), 0) "
    "FROM Sale WHERE MbCode = ?) AS BIGINT)");
const QString kLastVisit = QStringLiteral("SELECT MAX(InDate) FROM entrance WHERE MbCode = ?");
const QString kLectures = QStringLiteral(
    "SELECT Lecture.*, COALESCE(Program.PgName, Lecture.PgName) AS ShowName "
    "FROM Lecture LEFT JOIN Program ON Lecture.Pgid = Program.Pgid "
    "WHERE Lecture.MbCode = ? ORDER BY Lecture.RqDate DESC, Lecture.Ltid DESC");
const QString kSales = QStringLiteral(
    "SELECT Sale.SlId, Sale.SlDate, Sale.Slqty, Sale.SlAmt, Sale.CashAmt, Sale.CardAmt, Item.ItName "
    "FROM Sale LEFT JOIN Item ON Sale.ItId = Item.ItId WHERE Sale.MbCode = ? ORDER BY Sale.SlDate DESC, Sale.SlId DESC");
const QString kPoints = QStringLiteral("SELECT Ptid, PgGubun, pDate, Remark, Amount, uPoint, mPoint "
                                       "FROM UserPoint WHERE MbCode = ? ORDER BY pDate, Ptid");
const QString kVisitCount = QStringLiteral("SELECT COUNT(*) FROM entrance WHERE MbCode = ?");
const QString kVisitPage = QStringLiteral(
    "SELECT E.Entid, E.InDate, E.InTime, E.OutTime, E.PgGubun, E.uTime, P.PgName, L.PgCnt, L.uPgCnt "
    "FROM (SELECT Entid, InDate, InTime, OutTime, PgGubun, uTime, Pgid, Ltid FROM entrance "
    "WHERE MbCode = ? AND InDate IS NOT NULL ORDER BY InDate DESC, COALESCE(InTime, '') DESC, Entid DESC LIMIT 51) E "
    "LEFT JOIN Program P ON P.Pgid = E.Pgid LEFT JOIN Lecture L ON L.Ltid = E.Ltid "
    "ORDER BY E.InDate DESC, COALESCE(E.InTime, '') DESC, E.Entid DESC");
const QString kPageItems = QStringLiteral(
    "SELECT T.Entid, I.Course, I.Sclass, I.BarCode, I.ItName FROM ItemTrs T LEFT JOIN Item I ON I.ItId = T.ItId "
    "WHERE T.Entid IN (%1) ORDER BY T.Entid, T.Id");

// The first page of a member's visits, bare: the page, then the items lent
// on its visits by their ids (one prepared statement per number of ids).
struct BarePage {
    QSqlDatabase h;
    QSqlQuery page;
    std::map<int, QSqlQuery> items;
    explicit BarePage(const QSqlDatabase &db) : h(db), page(prepared(db, kVisitPage)) {}
    void operator()(const QString &code)
    {
        fitrova::bench::run(page, {code});
        QVariantList ids;
        while (page.next())
            ids << page.value(0);
        page.finish();
        if (ids.size() > 50)
            ids.removeLast();
        if (ids.isEmpty())
            return;
        auto it = items.find(int(ids.size()));
        if (it == items.end()) {
            QStringList marks;
            for (int i = 0; i < ids.size(); ++i)
                marks << QStringLiteral("?");
            it = items.emplace(int(ids.size()), prepared(h, kPageItems.arg(marks.join(QStringLiteral(", "))))).first;
        }
        fitrova::bench::run(it->second, ids);
        drain(it->second);
    }
};
// What the member card read before its visits came in pages: all of them.
const QString kVisitsWhole = QStringLiteral(
    "SELECT entrance.Entid, entrance.InDate, entrance.InTime, entrance.OutTime, entrance.PgGubun, entrance.uTime, "
    "Program.PgName, Item.Course, Item.Sclass, Item.BarCode, Item.ItName "
    "FROM ((entrance LEFT JOIN ItemTrs ON entrance.Entid = ItemTrs.Entid) "
    "LEFT JOIN Item ON ItemTrs.ItId = Item.ItId) LEFT JOIN Program ON entrance.Pgid = Program.Pgid "
    "WHERE entrance.MbCode = ? ORDER BY entrance.Entid DESC, ItemTrs.Id");
const QString kCalendar = QStringLiteral(
    "SELECT DISTINCT InDate FROM entrance WHERE MbCode = ? AND InDate >= ? AND InDate < ? ORDER BY InDate");
const QString kGateLectures = QStringLiteral(
    "SELECT L.Ltid, L.LtGubun, L.PgGubun, L.RqDate, L.Sdate1, L.Sdate2, L.ddate2, L.MonthCnt, L.PgCnt, L.uPgCnt, "
    "L.Delay, L.Cancel, L.Transfer, L.Change, L.Remark, L.PgName AS LtPgName, P.Pgid AS ProgId, P.PgName, "
    "C.Name AS CourseName FROM Lecture L LEFT JOIN Program P ON P.Pgid = L.Pgid "
    "JOIN Course C ON C.Code = L.Course AND C.PsGroup = 'P' "
    "WHERE L.MbCode = ? AND L.Sdate1 <= ? AND L.Sdate2 >= ? AND L.PgGubun <> '3' AND L.LtGubun < '3' "
    "ORDER BY L.RqDate DESC, L.Ltid DESC");
const QString kCardMember =
    QStringLiteral("SELECT MbCode, MbName, MbCard FROM Member WHERE MbCard = ? ORDER BY MbCode LIMIT 50");
const QString kTodayVisits = QStringLiteral(
    "SELECT Entid, PgGubun, Ltid, InTime, OutTime FROM entrance WHERE MbCode = ? AND InDate = ? ORDER BY Entid DESC");
const QString kAdmitLecture = QStringLiteral(
    "SELECT L.Ltid, L.Pgid, L.PgGubun, L.Course, L.RqDate, L.Sdate1, L.Sdate2, L.ddate2, L.PgCnt, L.uPgCnt, "
    "L.Delay, L.Cancel, L.PgName AS LtPgName, P.Pgid AS ProgId, P.PgName, P.Mon, P.Tue, P.Wed, P.Thu, P.Fri, "
    "P.Sat, P.Sun, D.Ltid AS DelayId, D.Sdate1 AS DelayFrom, D.Sdate2 AS DelayTo "
    "FROM Lecture L LEFT JOIN Program P ON P.Pgid = L.Pgid LEFT JOIN Lecture D ON D.Ltid = L.Delay AND L.Delay > 0 "
    "WHERE L.MbCode = ? AND L.LtGubun < '3' AND L.Sdate1 <= ? AND L.Sdate2 >= ? AND L.Transfer = 0 AND L.Cancel = 0 "
    "ORDER BY L.RqDate DESC, L.Ltid DESC LIMIT 1");
const QString kInsertVisit = QStringLiteral(
    "INSERT INTO entrance (InDate, InTime, PgGubun, MbCode, MbCard, Ltid, Pgid, Course, uTime, Memo) "
    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, 0, '') RETURNING Entid");
const QString kDayLine = QStringLiteral(
    "SELECT E.Entid, E.InDate, E.InTime, E.OutTime, E.MbCode, E.MbCard, E.PgGubun, E.uTime, E.Memo, M.MbName, "
    "M.Sex, M.Age, M.MbName1, M.Tel1, P.PgName, L.PgCnt, L.uPgCnt, L.Cancel, L.ddate2 "
    "FROM entrance E LEFT JOIN Member M ON M.MbCode = E.MbCode LEFT JOIN Program P ON P.Pgid = E.Pgid "
    "LEFT JOIN Lecture L ON L.Ltid = E.Ltid WHERE E.Entid = ?");
const QString kDayLineItems = QStringLiteral(
    "SELECT T.Entid, I.ItName FROM ItemTrs T LEFT JOIN Item I ON I.ItId = T.ItId WHERE T.Entid = ? ORDER BY T.Id");

QString monthText(const QDate &d) { return d.toString(QStringLiteral("yyyy-MM")); }

// One engine's centre with the desk's two screens on it.
struct Desk {
    BenchCentre centre;
    std::unique_ptr<AppContext> ctx;
    ScriptedMessages msg;
    std::unique_ptr<UiContext> ui;
    QString label;
    QDate today;
    QString typical, heaviest;
    qint64 typicalVisits = 0, heaviestVisits = 0;
    QStringList cards;

    explicit Desk(Engine engine)
        : centre(BenchCentre::open(engine, CentreShape::fromEnvironment(),
                                   [](const QString &s) { std::fprintf(stderr, "%s\n", qPrintable(s)); }))
    {
        ctx = centre.connect(QTime(10, 0));
        ui = std::make_unique<UiContext>(UiContext{*ctx, msg});
        label = engine == Engine::PostgreSQL ? QStringLiteral("postgres") : QStringLiteral("sqlite");
        today = centre.shape().today;
        clearToday();
        cards = admittedCards(ctx->main, today, 3 * envInt("FITROVA_BENCH_SWIPES", 200) + 200);
        pickMembers();
        std::fprintf(stderr, "%s\n  typical member %s (%lld visits), heaviest %s (%lld visits), %lld cards\n",
                     qPrintable(centre.describe()), qPrintable(typical), typicalVisits, qPrintable(heaviest),
                     heaviestVisits, qint64(cards.size()));
    }

    // The typical member: the median visit count among 200 members admitted
    // today; the heaviest: the most visits of all.
    void pickMembers()
    {
        QList<QPair<qint64, QString>> counted;
        for (const QString &card : cards.mid(cards.size() - std::min<qsizetype>(200, cards.size()))) {
            const auto m = ctx->main.queryOne(QStringLiteral("SELECT MbCode FROM Member WHERE MbCard = ?"), {card});
            if (m)
                counted.append({countMemberVisits(ctx->main, m->str(QStringLiteral("MbCode"))),
                                m->str(QStringLiteral("MbCode"))});
        }
        std::sort(counted.begin(), counted.end());
        if (!counted.isEmpty()) {
            typicalVisits = counted.at(counted.size() / 2).first;
            typical = counted.at(counted.size() / 2).second;
        }
        const auto top = ctx->main.queryOne(QStringLiteral("SELECT MbCode, COUNT(*) AS N FROM entrance "
                                                           "GROUP BY MbCode ORDER BY COUNT(*) DESC, MbCode LIMIT 1"));
        if (top) {
            heaviest = top->str(QStringLiteral("MbCode"));
            heaviestVisits = top->num(QStringLiteral("N"));
        }
    }

    void clearToday() const
    {
        const QString d = today.toString(Qt::ISODate);
        ctx->ent.transaction([&] {
            ctx->ent.exec(QStringLiteral("DELETE FROM ItemTrs WHERE Entid IN (SELECT Entid FROM entrance WHERE InDate = ?)"), {d});
            ctx->ent.exec(QStringLiteral("DELETE FROM entrance WHERE InDate = ?"), {d});
        });
    }

    // Copies `count` visits of the days before onto today, none of members
    // in `keepOut` (the members about to swipe), so the day list holds them.
    void fillToday(int count, const QSet<QString> &keepOut) const
    {
        if (count <= 0)
            return;
        const QString d = today.toString(Qt::ISODate);
        const Rows rows = ctx->ent.query(
            QStringLiteral("SELECT InTime, OutTime, PgGubun, MbCode, MbCard, Ltid, Pgid, Course, uTime FROM entrance "
                           "WHERE InDate < ? ORDER BY InDate DESC, Entid DESC LIMIT ?"),
            {d, count + keepOut.size() * 3});
        ctx->ent.transaction([&] {
            int written = 0;
            for (const Row &r : rows) {
                if (written >= count)
                    break;
                if (keepOut.contains(r.str(QStringLiteral("MbCode"))))
                    continue;
                ctx->ent.exec(QStringLiteral("INSERT INTO entrance (InDate, InTime, OutTime, PgGubun, MbCode, MbCard, "
                                             "Ltid, Pgid, Course, uTime, Memo) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, '')"),
                              {d, r.value(QStringLiteral("InTime")), r.value(QStringLiteral("OutTime")),
                               r.value(QStringLiteral("PgGubun")), r.value(QStringLiteral("MbCode")),
                               r.value(QStringLiteral("MbCard")), r.value(QStringLiteral("Ltid")),
                               r.value(QStringLiteral("Pgid")), r.value(QStringLiteral("Course")),
                               r.value(QStringLiteral("uTime"))});
                ++written;
            }
        });
    }

    QSet<QString> membersOf(const QStringList &someCards) const
    {
        QSet<QString> out;
        for (const QString &card : someCards) {
            const auto m = ctx->main.queryOne(QStringLiteral("SELECT MbCode FROM Member WHERE MbCard = ?"), {card});
            if (m)
                out.insert(m->str(QStringLiteral("MbCode")));
        }
        return out;
    }

    std::string name(const std::string &what) const { return what + "/" + label.toStdString(); }
};

// --- the swipe ----------------------------------------------------------------------

// The cards of one level of the day: a slice of their own, so that nobody
// swipes twice in a day.
QStringList swipeCards(const Desk *d, int level, int n)
{
    return d->cards.mid(level * n, n);
}

void swipe(benchmark::State &state, Desk *d, int level, int dayVisits, int n)
{
    const QStringList cards = swipeCards(d, level, n);
    d->clearToday();
    d->fillToday(dayVisits, d->membersOf(cards));
    CheckInScreen s(*d->ui);
    s.resize(1024, 700);
    s.show();
    s.reloadDayList();
    QApplication::processEvents();
    qint64 admitted = 0;
    const int before = s.dayGrid()->rowCount();
    auto &unpainted = allSamples()[d->name("swipe-" + std::to_string(dayVisits) + "-unpainted")];
    timeEach(state, d->name("swipe-" + std::to_string(dayVisits)), [&](int i) {
        QElapsedTimer t;
        t.start();
        s.presentCard(cards.at(i % cards.size()));
        unpainted.push_back(double(t.nsecsElapsed()) / 1e6);
        QApplication::processEvents();
        if (s.lastDecision().verdict == GateVerdict::Admitted)
            ++admitted;
    });
    state.counters["admitted"] = double(admitted);
    state.counters["day_rows_before"] = double(before);
    state.counters["history_rows"] = double(s.historyGrid()->rowCount());
    s.close();
    d->clearToday();
}

// The same reads and the write, bare: the gate's decision statements, the
// visit in a transaction, the member panel and the day list's new line.
void swipeBare(benchmark::State &state, Desk *d, int level, int dayVisits, int n)
{
    const QStringList cards = swipeCards(d, level, n);
    d->clearToday();
    d->fillToday(dayVisits, d->membersOf(cards));
    const QSqlDatabase h = d->ctx->ent.handle();
    QSqlQuery member = prepared(h, kCardMember), visits = prepared(h, kTodayVisits),
              lecture = prepared(h, kAdmitLecture), insert = prepared(h, kInsertVisit),
              row = prepared(h, kMemberRow), gateLect = prepared(h, kGateLectures), count = prepared(h, kVisitCount),
              line = prepared(h, kDayLine), lineItems = prepared(h, kDayLineItems);
    BarePage page(h);
    const QString begin = d->ctx->ent.isPostgres() ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE");
    const QString day = d->today.toString(Qt::ISODate), tenDaysAgo = d->today.addDays(-10).toString(Qt::ISODate);
    timeEach(state, d->name("swipe-" + std::to_string(dayVisits) + "-bare"), [&](int i) {
        run(member, {cards.at(i % cards.size())});
        if (!member.next())
            return;
        const QString code = member.value(0).toString(), card = member.value(2).toString();
        member.finish();
        run(visits, {code, day});
        drain(visits);
        run(lecture, {code, day, day});
        if (!lecture.next())
            return;
        const QVariant ltid = lecture.value(0), pgid = lecture.value(1), gubun = lecture.value(2),
                       course = lecture.value(3);
        lecture.finish();
        runPlain(h, begin);
        run(insert, {day, QStringLiteral("10:00"), gubun, code, card, ltid, pgid, course});
        insert.next();
        const QVariant entid = insert.value(0);
        insert.finish();
        runPlain(h, QStringLiteral("COMMIT"));
        runAll({&row, &gateLect, &count}, {{code}, {code, day, tenDaysAgo}, {code}});
        page(code);
        runAll({&line, &lineItems}, {{entid}, {entid}});
    });
    d->clearToday();
}

// --- the member card -----------------------------------------------------------------

void memberCard(benchmark::State &state, Desk *d, bool heaviest)
{
    const QString code = heaviest ? d->heaviest : d->typical;
    MemberScreen s(*d->ui);
    s.resize(1000, 640);
    s.show();
    QApplication::processEvents();
    auto &unpainted = allSamples()[d->name(heaviest ? "card-heaviest-unpainted" : "card-typical-unpainted")];
    timeEach(state, d->name(heaviest ? "card-heaviest" : "card-typical"), [&](int) {
        QElapsedTimer t;
        t.start();
        s.showMember(code);
        unpainted.push_back(double(t.nsecsElapsed()) / 1e6);
        QApplication::processEvents();
    });
    state.counters["visits"] = double(heaviest ? d->heaviestVisits : d->typicalVisits);
    s.close();
}

void memberCardBare(benchmark::State &state, Desk *d, bool heaviest)
{
    const QString code = heaviest ? d->heaviest : d->typical;
    const QSqlDatabase h = d->ctx->main.handle();
    QSqlQuery row = prepared(h, kMemberRow), unpaid = prepared(h, kUnpaid), last = prepared(h, kLastVisit),
              lect = prepared(h, kLectures), sales = prepared(h, kSales), points = prepared(h, kPoints),
              count = prepared(h, kVisitCount), cal = prepared(h, kCalendar);
    BarePage page(h);
    const QString from = monthText(d->today), to = monthText(d->today.addMonths(1));
    timeEach(state, d->name(heaviest ? "card-heaviest-bare" : "card-typical-bare"), [&](int) {
        runAll({&row, &unpaid, &last, &lect, &sales, &points, &count}, {{code}, {code, code}, {code}, {code}, {code}, {code}, {code}});
        page(code);
        runAll({&cal}, {{code, from, to}});
    });
}

// What the card's visits cost before they came in pages: every visit read.
void visitsWholeBare(benchmark::State &state, Desk *d, bool heaviest)
{
    const QString code = heaviest ? d->heaviest : d->typical;
    QSqlQuery q = prepared(d->ctx->main.handle(), kVisitsWhole);
    qint64 rows = 0;
    timeEach(state, d->name(heaviest ? "visits-whole-heaviest-bare" : "visits-whole-typical-bare"), [&](int) {
        run(q, {code});
        rows = drain(q);
    });
    state.counters["rows"] = double(rows);
}

// --- the gate's member panel ---------------------------------------------------------

void gatePanel(benchmark::State &state, Desk *d, bool heaviest)
{
    const QString code = heaviest ? d->heaviest : d->typical;
    const Db &ent = d->ctx->ent;
    qint64 lines = 0;
    timeEach(state, d->name(heaviest ? "panel-heaviest" : "panel-typical"), [&](int) {
        const auto m = loadMember(d->ctx->main, code);
        const auto lectures = loadGateLectures(d->ctx->main, code, d->today);
        const qint64 total = countMemberVisits(ent, code);
        const auto history = visitHistoryLines(ent, loadMemberVisitPage(ent, code).visits);
        benchmark::DoNotOptimize(m);
        benchmark::DoNotOptimize(total);
        lines = lectures.size() + history.size();
    });
    state.counters["lines"] = double(lines);
}

void gatePanelBare(benchmark::State &state, Desk *d, bool heaviest)
{
    const QString code = heaviest ? d->heaviest : d->typical;
    const QSqlDatabase h = d->ctx->ent.handle();
    QSqlQuery row = prepared(h, kMemberRow), lect = prepared(h, kGateLectures), count = prepared(h, kVisitCount);
    BarePage page(h);
    const QString day = d->today.toString(Qt::ISODate), tenDaysAgo = d->today.addDays(-10).toString(Qt::ISODate);
    timeEach(state, d->name(heaviest ? "panel-heaviest-bare" : "panel-typical-bare"), [&](int) {
        runAll({&row, &lect, &count}, {{code}, {code, day, tenDaysAgo}, {code}});
        page(code);
    });
}

// --- start to the login window ----------------------------------------------------------

// The child: what the program does from its start to its login window on
// screen (the update check aside, which only a networked workstation makes),
// then the wall and CPU milliseconds it took, on one line.
int startToLoginChild(int argc, char **argv)
{
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Fitrova"));
    QCoreApplication::setOrganizationName(QStringLiteral("Fitrova"));
    setupLookAndFeel(app);
    ScriptedMessages msg;
    AppContext ctx;
    if (const auto failure = connectDatabases(ctx)) {
        std::fprintf(stderr, "%s\n", qPrintable(failure->text + QLatin1Char(' ') + failure->detail));
        return 1;
    }
    SingleInstanceGuard guard(ctx.paths.installDir);
    if (!guard.acquire())
        return 1;
    UiContext ui{ctx, msg};
    LoginDialog login(ui);
    login.show();
    QApplication::processEvents();
    std::printf("shown %.3f\n", processCpuMs());
    std::fflush(stdout);
    return 0;
}

void startToLogin(benchmark::State &state, Desk *d)
{
    const QString self = QCoreApplication::applicationFilePath();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("BRENMOOR_HOME"), d->centre.installDir());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    std::vector<double> cpu;
    std::vector<std::unique_ptr<QProcess>> started;
    const std::string figure = d->name("start-to-login");
    auto &figureCpu = allCpuSamples()[figure];
    const size_t before = figureCpu.size();
    timeEach(state, figure, [&](int) {
        auto &p = started.emplace_back(std::make_unique<QProcess>());
        p->setProcessEnvironment(env);
        p->start(self, {QStringLiteral("--start-to-login")});
        p->waitForReadyRead(30000);
        const QByteArray line = p->readLine();
        if (line.startsWith("shown "))
            cpu.push_back(line.mid(6).trimmed().toDouble());
        else
            state.SkipWithError("the login window did not come up");
    });
    // The figure ends at the line; each process then ends untimed.
    for (auto &p : started)
        p->waitForFinished(30000);
    // The CPU time is the started program's own, not this waiting process's.
    figureCpu.resize(before);
    figureCpu.insert(figureCpu.end(), cpu.begin(), cpu.end());
    state.counters["cpu_ms"] = percentile(cpu, 50);
}

} // namespace

int main(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i)
        if (qstrcmp(argv[i], "--start-to-login") == 0)
            return startToLoginChild(argc, argv);
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("NanumGothic"), 10));
    benchmark::Initialize(&argc, argv);
    auto desks = fixturesPerEngine<Desk>();
    if (!desks)
        return 1;
    const int reps = envInt("FITROVA_BENCH_REPETITIONS", 3);
    const int swipes = envInt("FITROVA_BENCH_SWIPES", 200);
    const int opens = envInt("FITROVA_BENCH_OPENS", 50);
    const int starts = envInt("FITROVA_BENCH_STARTS", 5);
    for (const auto &dp : *desks) {
        Desk *d = dp.get();
        const std::string l = d->label.toStdString();
        // Each level takes its own third of the cards (program and bare run
        // on the same cards: the day is cleared between them).
        const int n = std::max(1, std::min<int>(swipes, int(d->cards.size()) / 3));
        const int levels[] = {0, 2000, 6000};
        for (int level = 0; level < 3; ++level) {
            const std::string v = std::to_string(levels[level]);
            benchmark::RegisterBenchmark(("Desk/Swipe" + v + "/" + l).c_str(), swipe, d, level, levels[level], n)
                ->UseManualTime()->Iterations(n)->Repetitions(reps)->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("Desk/Swipe" + v + "BareSql/" + l).c_str(), swipeBare, d, level,
                                         levels[level], n)
                ->UseManualTime()->Iterations(n)->Repetitions(reps)->Unit(benchmark::kMillisecond);
        }
        for (bool heaviest : {false, true}) {
            const std::string who = heaviest ? "Heaviest" : "Typical";
            benchmark::RegisterBenchmark(("Desk/MemberCard" + who + "/" + l).c_str(), memberCard, d, heaviest)
                ->UseManualTime()->Iterations(opens)->Repetitions(reps)->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("Desk/MemberCard" + who + "BareSql/" + l).c_str(), memberCardBare, d, heaviest)
                ->UseManualTime()->Iterations(opens)->Repetitions(reps)->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("Desk/VisitsWhole" + who + "BareSql/" + l).c_str(), visitsWholeBare, d,
                                         heaviest)
                ->UseManualTime()->Iterations(std::max(1, opens / 5))->Repetitions(reps)->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("Desk/GatePanel" + who + "/" + l).c_str(), gatePanel, d, heaviest)
                ->UseManualTime()->Iterations(opens)->Repetitions(reps)->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("Desk/GatePanel" + who + "BareSql/" + l).c_str(), gatePanelBare, d, heaviest)
                ->UseManualTime()->Iterations(opens)->Repetitions(reps)->Unit(benchmark::kMillisecond);
        }
        benchmark::RegisterBenchmark(("Desk/StartToLogin/" + l).c_str(), startToLogin, d)
            ->UseManualTime()->Iterations(starts)->Repetitions(1)->Unit(benchmark::kMillisecond);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printSummary();
    return 0;
}
