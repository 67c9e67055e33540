// The one generator of a sports centre (centregenerator.h): a swimming pool,
// a fitness room, group exercise and culture classes, with members'
// enrollments, their later changes, visits, lockers, goods, sales and the
// office tables, at the size a scale asks for.
//
// Rows are planned in the order the desk would have written them
// (enrollments by date, a dependent row after its base), so that ids grow
// with time as in a real database; a base row is written with the links to
// its dependent rows and the end they left it. The derived figures (a
// member's outstanding amount, points and last visit, the minutes used of a
// time-based enrollment) follow from the planned rows as the program itself
// computes them.

#include "demo/centregenerator.h"

#include "data/dates.h"
#include "data/lunar.h"
#include "demo/centredata.h"
#include "enrollment/lecturestore.h"
#include "enrollment/refund.h"
#include "foundation/dice.h"
#include "foundation/password.h"

#include <QElapsedTimer>
#include <QSet>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <random>
#include <vector>

namespace fitrova::demo {

namespace {

using namespace Qt::StringLiterals;

// Every generated row is written by the administrator created at installation.
const QString kStaff = u"0001"_s;
constexpr double kPointRate = 1.0;

QString u8(const char *s) { return QString::fromUtf8(s); }

// Text as an input box leaves it: "" when nothing was typed (never NULL).
QString typed(const QString &s) { return s.isNull() ? u""_s : s; }

QString hhmm(int minutes)
{
    return u"%1:%2"_s.arg(minutes / 60, 2, 10, QLatin1Char('0')).arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QString hhmmss(int seconds)
{
    return hhmm(seconds / 60) + u":%1"_s.arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

int minutesOf(const QString &hm) { return hm.left(2).toInt() * 60 + hm.mid(3, 2).toInt(); }

// Last day of a period of `months` months starting on `start`: the day before
// the same day that many months later, or the target month's last day.
QDate periodEnd(const QDate &start, int months)
{
    return dateFromText(endDateAfterMonths(fmtDate(start), months + 1));
}

int fullYears(const QDate &birth, const QDate &day)
{
    int y = day.year() - birth.year();
    if (day.month() < birth.month() || (day.month() == birth.month() && day.day() < birth.day()))
        --y;
    return y;
}

qint64 round1000(double v) { return qint64(std::llround(v / 1000.0)) * 1000; }

qint64 pointsFor(qint64 amount) { return qint64(std::trunc(kPointRate * double(amount) / 100.0)); }
using Dice = fitrova::Dice<std::mt19937>;

// ---------------------------------------------------------------------------
// The model being built.
// ---------------------------------------------------------------------------
struct Prog {
    qint64 pgid = 0;
    QString gubun, course, sclass, pgCode, name, time1, time2, ltCode, ltName;
    std::array<bool, 7> days{}; // Monday first
    int pgCnt1 = 0, pgCnt = 0;
    bool inUse = true;
    Audience audience = Audience::Adult;
    int popularity = 0;
    std::map<int, std::array<qint64, 3>> fees; // months -> fee levels 1..3

    bool allDay() const { return minutesOf(time2) - minutesOf(time1) > 6 * 60; }
    bool admitsOn(const QDate &d) const { return days[size_t(d.dayOfWeek() - 1)]; }
    std::vector<int> monthCounts() const
    {
        std::vector<int> m;
        for (const auto &f : fees)
            m.push_back(f.first);
        return m;
    }
};

struct Person {
    QString code, name, guardian, sex, juno1, juno2, tel1, tel2, tel3, email, postNo, addr1, addr2;
    QString birthDay, solor, gubun, card, ext, dm, sms, area, ageCode, latin;
    QDate birth, indate;
    int years = 0; // full years today
    int age = 0;   // as the member card shows it: full years plus one
    int attendance = 50;
    bool enrolled = false;
    bool oldMember = false;
};

enum class Kind { Enrollment, Transfer, Change, Postponement, Refund, Payment };

// One Lecture row.
struct Lect {
    Kind kind = Kind::Enrollment;
    int person = -1;
    int prog = -1; // -1 for a payment row
    int base = -1; // dependent rows: the row they refer to
    QDate rq, s1, s2;      // application date and the period as written
    QDate d1, d2;          // ddate1/ddate2 as written
    int monthCnt = 0;
    int level = 1;         // fee level 1..3
    QString lectGubun = u"1"_s, dcGubun = u"0"_s, cardCode, remark;
    double dcYul = 0;
    qint64 fee = 0, dcAmt = 0, tAmt = 0, cash = 0, card = 0;
    int rday = 0;
    int secs = 0;          // time of writing, seconds after midnight
    bool lastOfChain = false;
    // Filled by the events and the gate simulation.
    int dependent = -1;    // the one later row on this enrollment
    QDate finalS2;         // Sdate2 after that row
    QDate admitTo;         // last day the gate let the member in on this row
    QDate pauseFrom, pauseTo;
    int used = 0;          // minutes used (time-based)
    int order = 0;         // position in the writing order
    qint64 ltid = 0;

    bool admits() const { return kind == Kind::Enrollment || kind == Kind::Transfer || kind == Kind::Change; }
    bool unpaid() const { return tAmt > cash + card; }
};

struct Visit {
    int person, lect;
    QDate day;
    int in;       // minutes
    int out = -1; // minutes; -1 while inside
    int towelItem = -1;
};

struct Good {
    qint64 itId = 0;
    QString itCode, sclass, name;
    qint64 price = 0;
    bool ticket = false;
    int popularity = 0;
};

struct SaleLine {
    int good;
    int qty;
    double dcYul = 0;
    qint64 dcAmt = 0;
};

struct Voucher {
    QDate day;
    int secs = 0;
    int posNo = 1;
    QString mbCode = u"00000000"_s;
    int person = -1;            // a member's purchase on the member screen
    std::vector<SaleLine> lines;
    qint64 cash = 0, card = 0;
    QString cardCode;
    bool cashReceipt = false;
    bool refund = false;        // a refund of an earlier voucher of the day
};

class CentreGenerator {
public:
    // `closable` is the context itself when the scale loads in bulk: its
    // connections are closed while loading.
    CentreGenerator(const AppContext &ctx, AppContext *closable, quint32 seed, const CentreScale &scale,
                    const PhaseReport &report)
        : CentreGenerator(ctx, closable, seed, scale, report, scale.at.isValid() ? scale.at : ctx.clock().now())
    {
    }

    void build()
    {
        const Db &db = m_ctx.main;
        if (db.scalar(u"SELECT COUNT(*) FROM Member"_s).toLongLong() > 0
            || db.scalar(u"SELECT COUNT(*) FROM Program"_s).toLongLong() > 0)
            throw DbError(DbError::Kind::Statement, u"체험용 자료는 새로 설치한 빈 데이터베이스에만 넣을 수 있습니다."_s);
        auto site = [&] {
            writeSettings();
            writeCodeTables();
            writeCatalogue();
            writePrograms();
            writeGoods();
            writeDeskUsers();
        };
        auto plan = [&] {
            phase(u"plan members"_s, [&] { makePeople(); });
            phase(u"plan enrollments"_s, [&] {
                planEnrollments();
                planMileage();
                planEvents();
                planPayments();
                orderLectures();
            });
            phase(u"plan visits"_s, [&] { simulateGate(); });
            assignMemberCodes();
        };
        auto rows = [&] {
            writeLectures();
            writeVisits();
            writeSales();
            writePoints();
            if (m_scale.lockers)
                writeLockers();
            writeSchedule();
            writeCashBook();
            writeMembers();
        };
        if (!m_scale.bulk || !m_closable) {
            // A small centre is one transaction on the context's own connection.
            db.transaction([&] {
                const auto sink = rowSink(m_ctx);
                m_sink = sink.get();
                site();
                plan();
                rows();
                sink->finish();
                m_sink = nullptr;
            });
            writePostalCodes();
            return;
        }
        phase(u"catalogue"_s, [&] {
            db.transaction([&] {
                const auto sink = rowSink(m_ctx);
                m_sink = sink.get();
                site();
                sink->finish();
                m_sink = nullptr;
            });
            writePostalCodes();
        });
        plan();
        // The big tables are loaded over connections of their own.
        m_closable->closeConnections();
        const auto sink = bulkSink(m_ctx, m_report);
        m_sink = sink.get();
        rows();
        sink->finish();
        m_sink = nullptr;
    }

private:
    // The moment is read once, so that "today" and "now" always agree.
    CentreGenerator(const AppContext &ctx, AppContext *closable, quint32 seed, const CentreScale &scale,
                    const PhaseReport &report, const QDateTime &at)
        : m_ctx(ctx), m_closable(closable), m_scale(scale), m_report(report),
          m_cat(scale.largeCatalogue ? largeCatalogue() : demoCatalogue()), m_dice(seed), m_today(at.date()),
          m_nowMinutes(at.time().hour() * 60 + at.time().minute()), m_size(double(scale.members) / 300.0)
    {
    }

    template <typename Fn>
    void phase(const QString &name, Fn &&fn)
    {
        QElapsedTimer t;
        t.start();
        fn();
        if (m_report)
            m_report(name, double(t.nsecsElapsed()) / 1e9);
    }

    // Writes through the sink of the moment.
    struct Writer {
        CentreSink *sink;
        void insert(const char *table, const Fields &fields) { sink->add(QString::fromUtf8(table), fields); }
        qint64 insertId(const char *table, const Fields &fields, const char *idColumn)
        {
            return sink->addReturningId(QString::fromUtf8(table), fields, idColumn);
        }
        void exec(const QString &sql, const QVariantList &params) { sink->exec(sql, params); }
    };
    Writer w() { return Writer{m_sink}; }
    // A count of the demo centre, grown with the scale.
    int scaled(int demoCount) const { return m_size == 1.0 ? demoCount : int(std::lround(demoCount * m_size)); }
    // The last day with visits and sales.
    QDate lastDay() const { return m_scale.visitsToday ? m_today : m_today.addDays(-1); }

    int officeSecs() { return m_dice.between(6 * 3600, 21 * 3600 + 59 * 60); }
    QString randomTel(const QString &prefix, int firstDigits)
    {
        const int a = m_dice.between(int(std::pow(10, firstDigits - 1)), int(std::pow(10, firstDigits)) - 1);
        return prefix + QString::number(a) + u"-"_s + u"%1"_s.arg(m_dice.between(0, 9999), 4, 10, QLatin1Char('0'));
    }

    // ---------------------------------------------------------------- site
    void writePostalCodes()
    {
        const Db &post = m_ctx.post;
        post.transaction([&] {
            for (const PostDef &p : postDefs())
                post.exec(u"INSERT INTO Post (PostNum, SiDo, GuGun, Dong, RI, Bunji, Area, Tflag) "
                          "VALUES (?, ?, ?, ?, ?, ?, ?, '0')"_s,
                          {u8(p.num), u8(p.sido), u8(p.gugun), u8(p.dong), u""_s, u8(p.bunji), u8(p.area)});
        });
    }

    void writeSettings()
    {
        w().insert("Place", {{"사용처명", u"피트로바 스포츠센터"_s},
                             {"사업자번호", u"214-86-50713"_s},
                             {"주소", u"서울특별시 송파구 오금로 111 피트로바빌딩"_s},
                             {"우편번호", u"138-130"_s},
                             {"전화번호", u"02-412-7700"_s},
                             {"팩스번호", u"02-412-7701"_s},
                             {"대표자명", u"김도윤"_s}});
        // This workstation and the front desk; no receipt printer is attached,
        // the card reader types into the search field like a keyboard.
        QStringList names;
        const QString here = getPcName();
        if (!here.isEmpty())
            names << here;
        if (!names.contains(u"DESK1"_s))
            names << u"DESK1"_s;
        int posNo = 0;
        for (const QString &name : names) {
            ++posNo;
            m_posNos.push_back(posNo);
            w().insert("Pos", {{"PcName", name},
                               {"PosNo", posNo},
                               {"PosName", posNo == 1 ? u"안내데스크"_s : u"매점카운터"_s},
                               {"PosCour", u"1"_s},
                               {"HeadTitle", u"2"_s},
                               {"PrintMsg", u"이용해 주셔서 감사합니다."_s},
                               {"Cardreader", u"1"_s},
                               {"CardType", u"1"_s},
                               {"CardPort", u"1"_s},
                               {"posprint", u"0"_s},
                               {"PrintType", u"0"_s},
                               {"PrintPort", u"1"_s},
                               {"posprint2", u"0"_s},
                               {"PrintType2", u"0"_s},
                               {"PrintPort2", u"1"_s},
                               {"PrintGroup", u"0"_s},
                               {"InPrint", u"0"_s},
                               {"chkprint", u"0"_s},
                               {"InUpdate", u"0"_s},
                               {"BarPrint", u"0"_s},
                               {"BarPrintType", u"0"_s},
                               {"BarPrintPort", u"1"_s},
                               {"Cam", u"0"_s}});
        }
        w().insert("UserEnv", {{"fTime1", u"06:00"_s}, {"fTime2", u"22:00"_s}});
        // Points at 1 % of what is paid; the gate admits on course days only.
        const int changed = m_ctx.main.exec(u"UPDATE UserOpt SET UserOpt7_1 = ?, UserOpt7_5 = ? WHERE Gubun = '1'"_s,
                                            {kPointRate, 0});
        if (changed == 0)
            w().insert("UserOpt", {{"Gubun", u"1"_s}, {"UserOpt1_1", 10}, {"UserOpt1_2", 10}, {"UserOpt2", 8},
                                   {"UserOpt3", 0}, {"UserOpt4", 1}, {"UserOpt5", 1}, {"UserOpt6", 1},
                                   {"UserOpt7", 0}, {"UserOpt7_1", kPointRate}, {"UserOpt7_5", 0},
                                   {"UserOpt8_1", 0}, {"UserOpt8_2", 0}, {"UserOpt8_3", 0}, {"UserOpt8_4", 0}});
        const auto opt = m_ctx.main.queryOne(u"SELECT UserOpt1_1, UserOpt1_2 FROM UserOpt WHERE Gubun = '1'"_s);
        m_refundCut1 = opt ? int(opt->num(u"UserOpt1_1"_s)) : 10;
        m_refundCut2 = opt ? int(opt->num(u"UserOpt1_2"_s)) : 10;
    }

    void writeCodeTables()
    {
        for (const RateDef &r : memberKinds())
            w().insert("MbGubun", {{"Code", u8(r.code)}, {"Name", u8(r.name)}, {"Rate", r.rate}});
        for (const RateDef &r : cardCompanies())
            w().insert("Card", {{"Code", u8(r.code)}, {"Name", u8(r.name)}, {"yul", r.rate}});
        for (const AgeBandDef &b : ageBands()) {
            m_ageBands.push_back({u8(b.code), b.from, b.to});
            w().insert("Age", {{"Code", u8(b.code)}, {"Name", u8(b.name)}, {"age1", b.from}, {"age2", b.to}});
        }
        int n = 0;
        for (const char *dong : {"오금동", "방이동", "가락동", "문정동", "둔촌동", "기타지역"})
            w().insert("Area", {{"Area", u"%1"_s.arg(++n, 4, 10, QLatin1Char('0'))}, {"AreaName", u8(dong)}});
        n = 0;
        for (const char *d : {"가족할인", "장기등록할인", "직원할인", "경로할인", "이벤트할인"})
            w().insert("DisCount", {{"Code", u"%1"_s.arg(++n, 2, 10, QLatin1Char('0'))}, {"Name", u8(d)}});
        n = 0;
        for (const char *d : emailDomains())
            w().insert("Email", {{"Code", u"%1"_s.arg(++n, 2, 10, QLatin1Char('0'))}, {"Name", u8(d)}});
        n = 0;
        for (const char *r : {"수영장", "헬스장", "GX룸", "요가실", "문화강좌실1", "문화강좌실2"})
            w().insert("Room", {{"RCode", u"%1"_s.arg(++n, 4, 10, QLatin1Char('0'))}, {"RName", u8(r)}});
    }

    // Desk users besides the administrator, for a centre that benchmarks log in to.
    void writeDeskUsers()
    {
        if (!m_scale.deskUsers)
            return;
        struct Desk {
            const char *code, *id, *name;
        };
        for (const Desk &d : std::vector<Desk>{{"0002", "desk1", "김안내"}, {"0003", "desk2", "이접수"}}) {
            w().insert("UserM", {{"PsCode", u8(d.code)}, {"UserID", u8(d.id)}, {"UserPass", hashPassword(u"desk1234"_s)},
                                 {"UserName", u8(d.name)}, {"GrCode", u"1"_s}, {"Uuse", u"1"_s}});
            w().insert("Person", {{"Pscode", u8(d.code)}, {"Psname", u8(d.name)}, {"resign", u"1"_s}});
        }
    }

    QString ageCode(int age) const
    {
        for (const auto &b : m_ageBands)
            if (b.from <= age && age <= b.to)
                return b.code;
        return {};
    }

    void writeCatalogue()
    {
        const Db &db = m_ctx.main;
        for (const CourseDef &c : m_cat.courses) {
            const QString code = u8(c.code);
            const QVariantList flags{c.m1 ? 1 : 0, c.m3 ? 1 : 0, c.m6 ? 1 : 0, c.m12 ? 1 : 0,
                                     c.cancel ? 1 : 0, c.delay ? 1 : 0, c.transfer ? 1 : 0};
            // The installation made item "1" with a placeholder name; it becomes the pool.
            if (db.scalar(u"SELECT 1 FROM Course WHERE PsGroup = 'P' AND Code = ?"_s, {code}).isValid())
                w().exec(u"UPDATE Course SET Name = ?, mon1 = ?, mon3 = ?, mon6 = ?, mon12 = ?, UseCancel = ?, "
                         "UseDelay = ?, UseTransfer = ? WHERE PsGroup = 'P' AND Code = ?"_s,
                         QVariantList{u8(c.name)} + flags + QVariantList{code});
            else
                w().exec(u"INSERT INTO Course (PsGroup, Code, Name, mon1, mon3, mon6, mon12, UseCancel, UseDelay, "
                         "UseTransfer, PosNo) VALUES ('P', ?, ?, ?, ?, ?, ?, ?, ?, ?, 0)"_s,
                         QVariantList{code, u8(c.name)} + flags);
            // The small classes replace the placeholder class of the installation.
            w().exec(u"DELETE FROM Sclass WHERE PsGroup = 'P' AND Course = ?"_s, {code});
            int n = 0;
            for (const char *s : c.sclasses)
                w().insert("Sclass", {{"PsGroup", u"P"_s}, {"Course", code},
                                      {"Sclass", u"%1"_s.arg(++n, 2, 10, QLatin1Char('0'))}, {"SclassN", u8(s)}});
        }
        for (const ClassDef &l : m_cat.classes)
            if (!l.mclass)
                w().insert("Lclass", {{"PSGroup", u"P"_s}, {"Course", u8(l.course)}, {"Lclass", u8(l.lclass)},
                                      {"LclassN", u8(l.name)}});
        for (const ClassDef &m : m_cat.classes)
            if (m.mclass)
                w().insert("Mclass", {{"PSGroup", u"P"_s}, {"Course", u8(m.course)}, {"Lclass", u8(m.lclass)},
                                      {"Mclass", u8(m.mclass)}, {"MclassN", u8(m.name)}, {"UUSE", u"1"_s}});

        // Goods: the installation's goods item keeps its name; its classes are
        // renumbered in order so that the point-of-sale class buttons follow them.
        if (!db.scalar(u"SELECT 1 FROM Course WHERE PsGroup = 'S' AND Code = '1'"_s).isValid())
            w().exec(u"INSERT INTO Course (PsGroup, Code, Name) VALUES ('S', '1', ?)"_s, {u"교구"_s});
        w().exec(u"DELETE FROM Sclass WHERE PsGroup = 'S' AND Course = '1'"_s, {});
        int n = 0;
        for (const char *s : m_cat.goodsClasses)
            w().insert("Sclass", {{"PsGroup", u"S"_s}, {"Course", u"1"_s},
                                  {"Sclass", u"%1"_s.arg(++n, 2, 10, QLatin1Char('0'))}, {"SclassN", u8(s)}});

        for (const LecturerDef &l : m_cat.lecturers)
            w().insert("Lecturer", {{"LTcode", u8(l.code)}, {"LTName", u8(l.name)}, {"Tel", u8(l.tel)},
                                    {"Course", u8(l.course)}, {"Resign", l.inService ? u"1"_s : u"0"_s}});
    }

    void writePrograms()
    {
        const QDate created = m_today.addDays(-400);
        auto lecturerName = [this](const char *code) {
            for (const LecturerDef &l : m_cat.lecturers)
                if (qstrcmp(l.code, code) == 0)
                    return u8(l.name);
            return QString();
        };
        for (const ProgramDef &s : m_cat.programs) {
            Prog p;
            p.gubun = u"1"_s;
            p.course = u8(s.course);
            p.sclass = u8(s.sclass);
            p.pgCode = p.course + u"0000"_s + p.sclass;
            p.name = u8(s.name);
            p.time1 = u8(s.time1);
            p.time2 = u8(s.time2);
            p.ltCode = u8(s.lecturer);
            p.ltName = lecturerName(s.lecturer);
            for (size_t i = 0; i < 7; ++i)
                p.days[i] = s.days[i] == '1';
            p.inUse = s.inUse;
            p.audience = s.audience;
            p.popularity = s.popularity;
            const CourseDef &c = m_cat.course(s.course);
            const std::array<std::pair<int, bool>, 4> offered{{{1, c.m1}, {3, c.m3}, {6, c.m6 && !s.onlyShort},
                                                               {12, c.m12 && !s.onlyShort}}};
            for (const auto &[months, on] : offered) {
                if (!on)
                    continue;
                const double factor = months == 1 ? 1.0 : months == 3 ? 0.95 : months == 6 ? 0.9 : 0.85;
                const qint64 a1 = round1000(s.monthly * months * factor);
                p.fees[months] = {a1, round1000(a1 * 0.9), round1000(a1 * 0.8)};
            }
            const QDate sdate = created.addDays(m_dice.between(0, 40));
            p.pgid = w().insertId("Program",
                                  {{"PgGubun", p.gubun}, {"Course", p.course}, {"Sclass", p.sclass},
                                   {"PgCode", p.pgCode}, {"PgName", p.name}, {"Time1", p.time1}, {"Time2", p.time2},
                                   {"Mon", int(p.days[0])}, {"Tue", int(p.days[1])}, {"Wed", int(p.days[2])},
                                   {"Thu", int(p.days[3])}, {"Fri", int(p.days[4])}, {"Sat", int(p.days[5])},
                                   {"Sun", int(p.days[6])}, {"LtCode", p.ltCode}, {"LTName", p.ltName},
                                   {"MaxNum", s.maxNum}, {"MaxNumChk", s.capacityChecked ? u"1"_s : u"0"_s},
                                   {"PgUse", p.inUse ? u"1"_s : u"0"_s}, {"Sdate", fmtDate(sdate)},
                                   {"yymm", fmtDate(sdate).left(7)}},
                                  "Pgid");
            for (const auto &[months, amt] : p.fees)
                w().insert("ProgAmt", {{"Pgid", p.pgid}, {"MonthCnt", months}, {"Amt1", amt[0]}, {"Amt2", amt[1]},
                                       {"Amt3", amt[2]}});
            m_progs.push_back(std::move(p));
        }
        for (const TimeProgramDef &s : m_cat.timePrograms) {
            Prog p;
            p.gubun = u"2"_s;
            p.course = u8(s.course);
            p.sclass = u"00"_s;
            p.pgCode = p.course + u"000000"_s;
            p.name = u8(s.name);
            p.days.fill(true);
            p.pgCnt1 = s.hours;
            p.pgCnt = s.hours * 60;
            p.audience = Audience::Adult;
            p.popularity = s.popularity;
            p.fees[s.months] = {s.price, 0, 0};
            const QDate sdate = created.addDays(m_dice.between(60, 120));
            p.pgid = w().insertId("Program",
                                  {{"PgGubun", p.gubun}, {"Course", p.course}, {"Sclass", p.sclass},
                                   {"PgCode", p.pgCode}, {"PgName", p.name}, {"Mon", 1}, {"Tue", 1}, {"Wed", 1},
                                   {"Thu", 1}, {"Fri", 1}, {"Sat", 1}, {"Sun", 1}, {"PgUse", u"1"_s},
                                   {"Sdate", fmtDate(sdate)}, {"yymm", fmtDate(sdate).left(7)},
                                   {"PgCnt1", p.pgCnt1}, {"PgCnt", p.pgCnt}},
                                  "Pgid");
            w().insert("ProgAmt", {{"Pgid", p.pgid}, {"MonthCnt", s.months}, {"Amt1", qint64(s.price)}, {"Amt2", 0},
                                   {"Amt3", 0}});
            m_progs.push_back(std::move(p));
        }
    }

    // EAN-13 style bar code with the Korean prefix and a correct check digit.
    QString barCode(int serial)
    {
        QString code = u"880%1%2"_s.arg(m_dice.between(1000, 9999)).arg(serial, 5, 10, QLatin1Char('0'));
        int sum = 0;
        for (int i = 0; i < 12; ++i)
            sum += (code.at(i).unicode() - '0') * (i % 2 ? 3 : 1);
        return code + QString::number((10 - sum % 10) % 10);
    }

    void writeGoods()
    {
        std::map<QString, int> running;
        int serial = 0;
        for (const GoodDef &s : m_cat.goods) {
            Good g;
            g.sclass = u8(s.sclass);
            g.name = u8(s.name);
            g.price = s.price;
            g.ticket = s.ticket;
            g.popularity = s.popularity;
            const QString prefix = u"1"_s + g.sclass;
            g.itCode = prefix + u"-%1"_s.arg(++running[prefix], 4, 10, QLatin1Char('0'));
            g.itId = w().insertId("Item",
                                  {{"ItCode", g.itCode}, {"Course", u"1"_s}, {"Sclass", g.sclass}, {"ItName", g.name},
                                   {"ItAmt", g.price}, {"BarCode", barCode(++serial)}, {"ItUse", u"1"_s},
                                   {"Inwon", g.ticket ? u"1"_s : u"0"_s}},
                                  "ItId");
            if (g.name == u"수건(대여)"_s)
                m_towel = int(m_goods.size());
            m_goods.push_back(g);
        }
    }

    // ---------------------------------------------------------------- members
    QString givenName(bool male)
    {
        const auto &first = givenFirst(male);
        const auto &second = givenSecond(male);
        for (;;) {
            const QString a = u8(m_dice.pick(first)), b = u8(m_dice.pick(second));
            if (a != b)
                return a + b;
        }
    }

    // The second part of a resident registration number: the sex and century
    // digit, five made-up digits and a check digit that is deliberately wrong,
    // so that no demo number is a valid number of a real person.
    QString residentSecondPart(const QString &first, bool male, bool born2000s)
    {
        QString s = QString::number(born2000s ? (male ? 3 : 4) : (male ? 1 : 2));
        for (int i = 0; i < 5; ++i)
            s += QString::number(m_dice.between(0, 9));
        static const int weights[12] = {2, 3, 4, 5, 6, 7, 8, 9, 2, 3, 4, 5};
        const QString digits = first + s;
        int sum = 0;
        for (int i = 0; i < 12; ++i)
            sum += (digits.at(i).unicode() - '0') * weights[i];
        const int valid = (11 - sum % 11) % 10;
        return s + QString::number((valid + 1 + m_dice.between(0, 8)) % 10);
    }

    void makePeople()
    {
        std::vector<int> surnameWeights;
        for (const Surname &s : surnames())
            surnameWeights.push_back(s.weight);
        QSet<QString> cards, mobiles;
        int staff = 0;
        for (int i = 0; i < m_scale.members; ++i) {
            Person p;
            const bool male = m_dice.chance(45);
            p.sex = male ? u"남"_s : u"여"_s;
            const Surname &sur = surnames()[size_t(m_dice.weighted(surnameWeights))];
            p.name = u8(sur.hangul) + givenName(male);
            p.latin = QString::fromLatin1(sur.latin);
            const int r = m_dice.between(0, 99);
            p.years = r < 4    ? m_dice.between(4, 6)
                      : r < 13 ? m_dice.between(7, 12)
                      : r < 20 ? m_dice.between(13, 19)
                               : 20 + (m_dice.between(0, 58) + m_dice.between(0, 58)) / 2;
            p.birth = m_today.addYears(-p.years).addDays(-m_dice.between(0, 364));
            p.years = fullYears(p.birth, m_today);
            p.age = p.years + 1;
            p.ageCode = ageCode(p.age);
            p.juno1 = p.birth.toString(u"yyMMdd"_s);
            p.juno2 = residentSecondPart(p.juno1, male, p.birth.year() >= 2000);
            p.solor = u"1"_s;
            p.birthDay = fmtDate(p.birth);
            if (m_dice.chance(10)) {
                // The member card keeps no leap-month mark, so a birthday in a
                // leap month stays solar.
                bool leap = false;
                const QString lunar = solarToLunar(fmtDate(p.birth), &leap);
                if (!lunar.isEmpty() && !leap) {
                    p.solor = u"2"_s;
                    p.birthDay = lunar;
                }
            }
            if (p.years < 14)
                p.guardian = u8(sur.hangul) + givenName(m_dice.chance(40));
            do
                p.tel1 = randomTel(u"010-"_s, 4);
            while (mobiles.contains(p.tel1));
            mobiles.insert(p.tel1);
            if (m_dice.chance(30))
                p.tel2 = randomTel(u"02-4"_s, 2);
            if (p.years >= 20 && p.years < 65 && m_dice.chance(10))
                p.tel3 = randomTel(u"02-"_s, 4);
            if (p.years >= 16 && m_dice.chance(45)) {
                const int digits = m_dice.chance(50) ? p.birth.year() : m_dice.between(10, 999);
                const QString domain = u8(m_dice.pick(emailDomains()));
                p.email = p.latin + QString::number(digits) + u"@"_s + domain;
            }
            const PostDef &post = m_dice.pick(postDefs());
            p.postNo = u8(post.num);
            p.addr1 = u8(post.sido) + u" "_s + u8(post.gugun) + u" "_s + u8(post.dong);
            p.addr2 = post.apartment ? u8(post.bunji) + u" %1동 %2호"_s.arg(m_dice.between(101, 128))
                                                           .arg(m_dice.between(1, 15) * 100 + m_dice.between(1, 6))
                                     : u"%1-%2"_s.arg(m_dice.between(1, 200)).arg(m_dice.between(1, 40));
            p.gubun = u"1"_s;
            if (p.years >= 65 && m_dice.chance(50))
                p.gubun = u"4"_s;
            else if (p.years >= 22 && p.years <= 50 && staff < scaled(9) && m_dice.chance(5)) {
                p.gubun = u"3"_s;
                // Two of the staff carry master cards.
                if (++staff <= 2)
                    p.area = u"999"_s;
            } else if (m_dice.chance(2))
                p.gubun = u"5"_s;
            else if (m_dice.chance(6))
                p.gubun = u"2"_s;
            do
                p.card = QString::number(m_dice.between(10000000, 99999999));
            while (cards.contains(p.card));
            cards.insert(p.card);
            static const std::vector<const char *> remarks{"주차 등록 차량 있음", "VIP 회원", "지인 소개로 가입",
                                                          "초급반 희망", "장기 등록 회원", "오전 시간대만 가능"};
            if (m_dice.chance(8))
                p.ext = u8(m_dice.pick(remarks));
            p.dm = m_dice.chance(75) ? u"1"_s : u"0"_s;
            p.sms = m_dice.chance(85) ? u"1"_s : u"0"_s;
            p.attendance = m_dice.between(35, 90);
            p.enrolled = m_dice.chance(88);
            p.oldMember = p.enrolled && m_dice.chance(35);
            if (!p.enrolled)
                p.indate = m_today.addDays(-m_dice.between(0, 700));
            m_people.push_back(std::move(p));
        }
    }

    // ---------------------------------------------------------------- enrollments
    bool suits(const Prog &p, const Person &who) const
    {
        if (!p.inUse)
            return false;
        switch (p.audience) {
        case Audience::Toddler: return who.years >= 4 && who.years <= 6;
        case Audience::Child: return who.years >= 7 && who.years <= 12;
        case Audience::Adult: return who.years >= 14;
        case Audience::Anyone: return who.years >= 7;
        }
        return false;
    }

    int chooseProgram(const Person &who, const QString &avoidCourse)
    {
        std::vector<int> candidates, weights;
        for (size_t i = 0; i < m_progs.size(); ++i) {
            const Prog &p = m_progs[i];
            if (!suits(p, who) || p.course == avoidCourse || p.popularity == 0)
                continue;
            int weight = p.popularity * 2;
            if (p.course == u"3"_s && who.sex == u"여"_s)
                weight *= 2;
            if (p.course == u"3"_s && who.sex == u"남"_s)
                weight /= 2;
            if (who.years < 13 && p.audience != Audience::Anyone)
                weight *= 4;
            candidates.push_back(int(i));
            weights.push_back(std::max(weight, 1));
        }
        if (candidates.empty())
            return -1;
        return candidates[size_t(m_dice.weighted(weights))];
    }

    int chooseMonths(const Prog &p)
    {
        const std::vector<int> offered = p.monthCounts();
        std::vector<int> weights;
        for (int m : offered)
            weights.push_back(m == 1 ? 55 : m == 3 ? 28 : m == 6 ? 11 : 6);
        return offered[size_t(m_dice.weighted(weights))];
    }

    // Amounts of a new enrollment: fee level by member kind, a discount now
    // and then, cash or card or both, and a few paid short.
    void price(Lect &l, const Person &who)
    {
        const Prog &p = m_progs[size_t(l.prog)];
        l.level = p.gubun == u"2"_s ? 1 : who.gubun == u"3"_s ? 3 : (who.gubun == u"1"_s ? 1 : 2);
        l.fee = p.fees.at(l.monthCnt)[size_t(l.level - 1)];
        if (m_dice.chance(8)) {
            l.dcGubun = u"1"_s;
            l.dcYul = 10;
            l.dcAmt = round1000(l.fee * 0.1);
        }
        l.tAmt = l.fee - l.dcAmt;
        pay(l, l.tAmt, m_dice.chance(4));
    }

    void pay(Lect &l, qint64 due, bool shortPaid)
    {
        qint64 paid = due;
        if (shortPaid && due >= 20000) {
            paid = due - std::max<qint64>(10000, round1000(due * m_dice.between(20, 60) / 100.0));
            l.remark = u"잔금 추후 납부"_s;
        }
        const int how = m_dice.weighted({45, 45, 10});
        l.cash = l.card = 0;
        l.cardCode.clear();
        if (how == 0)
            l.cash = paid;
        else if (how == 1)
            l.card = paid;
        else {
            l.card = round1000(paid / 2.0);
            l.cash = paid - l.card;
        }
        if (l.card > 0)
            l.cardCode = QString::number(m_dice.between(1, 8));
    }

    void planChain(int person, int prog, QDate rq, bool renewal)
    {
        const Person &who = m_people[size_t(person)];
        const Prog &p = m_progs[size_t(prog)];
        int last = -1;
        for (;;) {
            Lect l;
            l.kind = Kind::Enrollment;
            l.person = person;
            l.prog = prog;
            l.rq = rq;
            l.monthCnt = chooseMonths(p);
            l.lectGubun = renewal ? u"2"_s : u"1"_s;
            if (last < 0)
                l.s1 = rq.addDays(m_dice.weighted({60, 20, 20}));
            else
                l.s1 = m_lects[size_t(last)].s2.addDays(1);
            l.s2 = periodEnd(l.s1, l.monthCnt);
            l.d1 = l.s1;
            l.d2 = l.s2;
            l.secs = officeSecs();
            price(l, who);
            l.finalS2 = l.admitTo = l.s2;
            m_lects.push_back(l);
            last = int(m_lects.size()) - 1;
            // Renewed a few days before the period ends, while still coming.
            if (!m_dice.chance(p.gubun == u"2"_s ? 35 : 68))
                break;
            const QDate next = m_lects[size_t(last)].s2.addDays(-m_dice.between(0, 6));
            if (next > m_today)
                break;
            rq = std::max(next, m_lects[size_t(last)].rq);
            renewal = true;
        }
        m_lects[size_t(last)].lastOfChain = true;
    }

    void planEnrollments()
    {
        const QDate earliest = m_today.addDays(-m_scale.historyDays);
        for (size_t i = 0; i < m_people.size(); ++i) {
            Person &who = m_people[i];
            if (!who.enrolled)
                continue;
            const int prog = chooseProgram(who, {});
            if (prog < 0) {
                who.enrolled = false;
                who.indate = m_today.addDays(-m_dice.between(0, 700));
                continue;
            }
            // New members register more recently than regulars re-enroll.
            const QDate first = who.oldMember ? m_dice.dayBetween(earliest, m_today.addDays(-3))
                                              : m_dice.dayBetween(earliest.addDays(30), m_today.addDays(-1));
            const size_t from = m_lects.size();
            planChain(int(i), prog, first, who.oldMember);
            if (who.years >= 14 && m_dice.chance(18)) {
                const int second = chooseProgram(who, m_progs[size_t(prog)].course);
                if (second >= 0)
                    planChain(int(i), second, m_dice.dayBetween(first, m_today.addDays(-1)), who.oldMember);
            }
            QDate firstRq = m_lects[from].rq;
            for (size_t k = from; k < m_lects.size(); ++k)
                firstRq = std::min(firstRq, m_lects[k].rq);
            who.indate = who.oldMember ? firstRq.addDays(-m_dice.between(30, 900)) : firstRq;
        }
        if (m_scale.lectures <= 0)
            return;
        // A large centre asks for more rows than one course a member gives:
        // members take up other programs later on, until the enrollments
        // and the later changes planned after them come to the count asked.
        std::vector<int> enrolled;
        for (size_t i = 0; i < m_people.size(); ++i)
            if (m_people[i].enrolled)
                enrolled.push_back(int(i));
        const size_t wanted = size_t(std::max<qint64>(0, qint64(m_scale.lectures * 0.975) - scaled(25)));
        while (!enrolled.empty() && m_lects.size() < wanted) {
            const int person = m_dice.pick(enrolled);
            const Person &who = m_people[size_t(person)];
            const int prog = chooseProgram(who, {});
            if (prog < 0)
                continue;
            const QDate from = std::max(earliest, who.indate);
            planChain(person, prog, m_dice.dayBetween(from, m_today.addDays(-1)), true);
        }
    }

    // Members with points from earlier enrollments spend some of them as a
    // discount on a later one ("2.마일리지"), never more than they hold.
    void planMileage()
    {
        const QDate pointsFrom = m_today.addDays(-m_scale.pointDays);
        std::vector<int> rows(m_lects.size());
        for (size_t i = 0; i < rows.size(); ++i)
            rows[i] = int(i);
        std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
            const Lect &x = m_lects[size_t(a)], &y = m_lects[size_t(b)];
            return x.person != y.person ? x.person < y.person : x.rq != y.rq ? x.rq < y.rq : x.secs < y.secs;
        });
        int person = -1;
        qint64 balance = 0;
        for (int i : rows) {
            Lect &l = m_lects[size_t(i)];
            if (l.person != person) {
                person = l.person;
                balance = 0;
            }
            if (l.rq < pointsFrom)
                continue;
            if (balance >= 1000 && l.dcGubun == u"0"_s && !l.unpaid() && m_dice.chance(40)) {
                const qint64 use = std::min<qint64>(balance / 100 * 100, 5000);
                l.dcGubun = u"2"_s;
                l.dcAmt = use;
                l.tAmt = l.fee - use;
                if (l.cash >= use)
                    l.cash -= use;
                else
                    l.card -= use;
                if (l.card == 0)
                    l.cardCode.clear();
                balance -= use;
            }
            balance += pointsFor(l.cash + l.card);
        }
    }

    // ---------------------------------------------------------------- later events
    void planEvents()
    {
        std::vector<int> candidates;
        for (size_t i = 0; i < m_lects.size(); ++i) {
            const Lect &l = m_lects[i];
            if (l.lastOfChain && m_progs[size_t(l.prog)].gubun == u"1"_s && !l.unpaid() && l.s1 <= m_today.addDays(-5)
                && l.s2 >= l.s1.addDays(20))
                candidates.push_back(int(i));
        }
        m_dice.shuffle(candidates);
        int postponements = scaled(8), refunds = scaled(6), transfers = scaled(5), changes = scaled(6);
        for (int base : candidates) {
            std::vector<int> order{0, 1, 2, 3};
            m_dice.shuffle(order);
            for (int kind : order) {
                bool done = false;
                if (kind == 0 && postponements > 0 && (done = postpone(base)))
                    --postponements;
                else if (kind == 1 && refunds > 0 && (done = refund(base)))
                    --refunds;
                else if (kind == 2 && transfers > 0 && (done = transfer(base)))
                    --transfers;
                else if (kind == 3 && changes > 0 && (done = changeClass(base)))
                    --changes;
                if (done)
                    break;
            }
            if (postponements + refunds + transfers + changes == 0)
                break;
        }
    }

    Lect dependentOf(int base, Kind kind, const QDate &rq)
    {
        const Lect &b = m_lects[size_t(base)];
        Lect l;
        l.kind = kind;
        l.person = b.person;
        l.prog = b.prog;
        l.base = base;
        l.rq = rq;
        l.monthCnt = b.monthCnt;
        l.level = b.level;
        l.lectGubun = b.lectGubun;
        l.dcYul = b.dcYul;
        l.dcGubun.clear();
        l.secs = rq == b.rq ? std::min(b.secs + m_dice.between(600, 3600), 22 * 3600) : officeSecs();
        return l;
    }

    int add(Lect l, int base)
    {
        m_lects.push_back(std::move(l));
        const int i = int(m_lects.size()) - 1;
        m_lects[size_t(base)].dependent = i;
        return i;
    }

    bool postpone(int base)
    {
        Lect &b = m_lects[size_t(base)];
        if (!m_cat.course(qPrintable(m_progs[size_t(b.prog)].course)).delay)
            return false;
        const QDate latest = std::min(b.s2.addDays(-3), m_today.addDays(5));
        if (latest < b.s1.addDays(5))
            return false;
        const QDate from = m_dice.dayBetween(b.s1.addDays(5), latest);
        const int days = m_dice.between(7, 21);
        const QDate rq = std::max(b.rq, std::min(from, m_today).addDays(-m_dice.between(0, 2)));
        Lect l = dependentOf(base, Kind::Postponement, rq);
        l.s1 = from;
        l.s2 = from.addDays(days - 1);
        l.d1 = b.d1;
        l.d2 = b.d2;
        l.rday = days;
        static const std::vector<const char *> reasons{"해외출장", "부상 치료", "개인 사정", "입원", "가족 여행"};
        l.remark = u8(m_dice.pick(reasons));
        b.pauseFrom = l.s1;
        b.pauseTo = l.s2;
        b.finalS2 = b.s2.addDays(days);
        b.admitTo = b.finalS2;
        add(std::move(l), base);
        return true;
    }

    bool refund(int base)
    {
        Lect &b = m_lects[size_t(base)];
        if (!m_cat.course(qPrintable(m_progs[size_t(b.prog)].course)).cancel)
            return false;
        const QDate latest = std::min(b.s2.addDays(-5), m_today);
        if (latest < b.s1.addDays(3))
            return false;
        const QDate on = m_dice.dayBetween(b.s1.addDays(3), latest);
        // What the refund screen offers: the unused share of each payment
        // less the deduction, cut down to whole tens of won.
        const qint64 total = b.s1.daysTo(b.s2), remaining = on.daysTo(b.s2);
        const qint64 amount = refundAmountForDays(b.cash, b.card, total, remaining, m_refundCut1, m_refundCut2);
        if (amount <= 0)
            return false;
        Lect l = dependentOf(base, Kind::Refund, on);
        l.s1 = b.s1;
        l.s2 = on;
        l.tAmt = amount;
        if (b.cash >= b.card)
            l.cash = amount;
        else
            l.card = amount;
        l.rday = int(remaining);
        b.finalS2 = on;
        b.admitTo = on.addDays(-1);
        add(std::move(l), base);
        return true;
    }

    bool transfer(int base)
    {
        Lect &b = m_lects[size_t(base)];
        if (!m_cat.course(qPrintable(m_progs[size_t(b.prog)].course)).transfer)
            return false;
        const QDate latest = std::min(b.s2.addDays(-10), m_today);
        if (latest < b.s1.addDays(5))
            return false;
        // The receiver is another grown-up member who joined before the transfer.
        const QDate on = m_dice.dayBetween(b.s1.addDays(5), latest);
        std::vector<int> receivers;
        for (size_t i = 0; i < m_people.size(); ++i) {
            const Person &p = m_people[i];
            if (int(i) != b.person && p.years >= 14 && !m_receivers.contains(int(i)) && suits(m_progs[size_t(b.prog)], p)
                && p.indate <= on)
                receivers.push_back(int(i));
        }
        if (receivers.empty())
            return false;
        const int to = m_dice.pick(receivers);
        m_receivers.insert(to);
        Lect l = dependentOf(base, Kind::Transfer, on);
        l.person = to;
        l.s1 = on.addDays(1);
        l.s2 = b.s2;
        l.d1 = b.s1;
        l.d2 = b.s2;
        l.finalS2 = l.admitTo = l.s2;
        b.finalS2 = on;
        b.admitTo = on.addDays(-1);
        add(std::move(l), base);
        return true;
    }

    bool changeClass(int base)
    {
        Lect &b = m_lects[size_t(base)];
        const Prog &from = m_progs[size_t(b.prog)];
        std::vector<int> targets;
        for (size_t i = 0; i < m_progs.size(); ++i) {
            const Prog &p = m_progs[i];
            if (int(i) != b.prog && p.gubun == u"1"_s && p.inUse && p.course == from.course
                && suits(p, m_people[size_t(b.person)]))
                targets.push_back(int(i));
        }
        const QDate latest = std::min(b.s2.addDays(-5), m_today);
        if (targets.empty() || latest < b.s1.addDays(3))
            return false;
        const QDate on = m_dice.dayBetween(b.s1.addDays(3), latest);
        const int prog = m_dice.pick(targets);
        const Prog &to = m_progs[size_t(prog)];
        Lect l = dependentOf(base, Kind::Change, on);
        l.prog = prog;
        if (!to.fees.count(l.monthCnt))
            l.monthCnt = to.fees.begin()->first;
        l.s1 = on;
        l.s2 = b.s2;
        l.d1 = l.s1;
        l.d2 = l.s2;
        // The price difference for the rest of the period, per month of 30 days.
        const double perMonthOld = double(from.fees.at(b.monthCnt)[size_t(b.level - 1)]) / b.monthCnt;
        const double perMonthNew = double(to.fees.at(l.monthCnt)[size_t(b.level - 1)]) / l.monthCnt;
        const double days = double(on.daysTo(b.s2) + 1);
        l.tAmt = qint64(std::trunc((perMonthNew - perMonthOld) * days / 30.0 / 100.0)) * 100;
        if (m_dice.chance(60))
            l.cash = l.tAmt;
        else
            l.card = l.tAmt;
        l.finalS2 = l.admitTo = l.s2;
        b.finalS2 = on.addDays(-1);
        b.admitTo = b.finalS2;
        add(std::move(l), base);
        return true;
    }

    // Later payments of part of the outstanding amounts (PgGubun "4").
    void planPayments()
    {
        const size_t n = m_lects.size();
        for (size_t i = 0; i < n; ++i) {
            const Lect b = m_lects[i];
            if (b.kind != Kind::Enrollment || !b.unpaid() || b.rq > m_today.addDays(-3) || !m_dice.chance(45))
                continue;
            const QDate on = m_dice.dayBetween(b.rq.addDays(2), std::min(b.rq.addDays(25), m_today));
            Lect l;
            l.kind = Kind::Payment;
            l.person = b.person;
            l.rq = on;
            l.secs = officeSecs();
            const qint64 open = b.tAmt - b.cash - b.card;
            const qint64 amount = m_dice.chance(65) ? open : std::max<qint64>(1000, round1000(open / 2.0));
            if (m_dice.chance(60))
                l.cash = amount;
            else {
                l.card = amount;
                l.cardCode = QString::number(m_dice.between(1, 8));
            }
            m_lects.push_back(l);
        }
    }

    // Writing order: by date and time, a dependent row after its base.
    void orderLectures()
    {
        m_order.resize(m_lects.size());
        for (size_t i = 0; i < m_order.size(); ++i)
            m_order[i] = int(i);
        auto stage = [](const Lect &l) { return l.kind == Kind::Enrollment ? 0 : l.kind == Kind::Payment ? 2 : 1; };
        std::stable_sort(m_order.begin(), m_order.end(), [&](int a, int b) {
            const Lect &x = m_lects[size_t(a)], &y = m_lects[size_t(b)];
            if (x.rq != y.rq)
                return x.rq < y.rq;
            if (stage(x) != stage(y))
                return stage(x) < stage(y);
            return x.secs < y.secs;
        });
        // Ids are given in the writing order, as the database would give them.
        for (size_t k = 0; k < m_order.size(); ++k) {
            m_lects[size_t(m_order[k])].order = int(k);
            m_lects[size_t(m_order[k])].ltid = qint64(k) + 1;
        }
    }

    // ---------------------------------------------------------------- visits
    // Replays the gate day by day: the member's newest valid enrollment is the
    // one examined; a paused, used-up or off-day enrollment lets nobody in.
    void simulateGate()
    {
        std::vector<std::vector<int>> byPerson(m_people.size());
        for (size_t i = 0; i < m_lects.size(); ++i)
            if (m_lects[i].admits())
                byPerson[size_t(m_lects[i].person)].push_back(int(i));
        const QDate first = m_today.addDays(-m_scale.visitDays);
        // The enrollment the gate examines for a member on a day, and the
        // chance in percent that the member comes; -1 when the gate lets
        // nobody in on it.
        auto examined = [&](size_t person, const QDate &day, bool timeLeftCounts) -> std::pair<int, int> {
            int newest = -1;
            for (int i : byPerson[person]) {
                const Lect &l = m_lects[size_t(i)];
                if (l.s1 <= day && day <= l.admitTo
                    && (newest < 0 || l.rq > m_lects[size_t(newest)].rq
                        || (l.rq == m_lects[size_t(newest)].rq && l.order > m_lects[size_t(newest)].order)))
                    newest = i;
            }
            if (newest < 0)
                return {-1, 0};
            const Lect &l = m_lects[size_t(newest)];
            const Prog &p = m_progs[size_t(l.prog)];
            if (l.pauseFrom.isValid() && l.pauseFrom <= day && day <= l.pauseTo)
                return {-1, 0};
            if (!p.admitsOn(day))
                return {-1, 0};
            const bool timeBased = p.gubun == u"2"_s;
            if (timeLeftCounts && timeBased && p.pgCnt - l.used <= 0)
                return {-1, 0};
            int chance = m_people[person].attendance;
            if (timeBased)
                chance = chance / 3;
            else if (p.allDay())
                chance = chance / 2;
            return {newest, chance};
        };
        // A large centre asks for a number of visits: every member's chance
        // is scaled by one factor, found from the visits expected without it.
        double factor = 1;
        if (m_scale.visits > 0) {
            double expected = 0;
            for (QDate day = first; day <= lastDay(); day = day.addDays(1))
                for (size_t person = 0; person < m_people.size(); ++person)
                    expected += examined(person, day, false).second / 100.0;
            factor = expected > 0 ? double(m_scale.visits) / expected : 1;
        }
        for (QDate day = first; day <= lastDay(); day = day.addDays(1)) {
            for (size_t person = 0; person < m_people.size(); ++person) {
                const auto [newest, chance] = examined(person, day, true);
                if (newest < 0)
                    continue;
                if (m_scale.visits > 0 ? m_dice.between(0, 999999) >= chance * factor * 10000
                                       : !m_dice.chance(chance))
                    continue;
                Lect &l = m_lects[size_t(newest)];
                const Prog &p = m_progs[size_t(l.prog)];
                const bool timeBased = p.gubun == u"2"_s;
                Visit v{int(person), newest, day, 0};
                int length;
                if (timeBased || p.allDay()) {
                    v.in = m_dice.between(6 * 60 + 5, 20 * 60 + 30);
                    length = m_dice.between(40, 120);
                } else {
                    v.in = minutesOf(p.time1) - m_dice.between(3, 20);
                    length = minutesOf(p.time2) + m_dice.between(10, 30) - v.in;
                }
                v.out = std::min(v.in + length, 22 * 60);
                if (day == m_today) {
                    if (v.in >= m_nowMinutes)
                        continue;
                    // Some time-based members are still inside; others left already.
                    if (v.out > m_nowMinutes || (timeBased && m_dice.chance(50)))
                        v.out = -1;
                }
                if (v.out >= 0 && timeBased)
                    l.used += v.out - v.in;
                if (p.course == u"1"_s && m_towel >= 0 && m_dice.chance(4))
                    v.towelItem = m_towel;
                m_visits.push_back(v);
            }
        }
    }

    // Member numbers follow the registration dates.
    void assignMemberCodes()
    {
        std::vector<int> idx(m_people.size());
        for (size_t i = 0; i < idx.size(); ++i)
            idx[i] = int(i);
        std::stable_sort(idx.begin(), idx.end(),
                         [&](int a, int b) { return m_people[size_t(a)].indate < m_people[size_t(b)].indate; });
        for (size_t k = 0; k < idx.size(); ++k)
            m_people[size_t(idx[k])].code = u"%1"_s.arg(int(k) + 1, 8, 10, QLatin1Char('0'));
        m_memberOrder = idx;
    }

    // ---------------------------------------------------------------- writing
    // Members are written last, with the totals the program keeps on the
    // member card: the outstanding amount of their enrollments, payments and
    // goods, the point balance of their ledger, their last visit.
    void writeMembers()
    {
        struct Totals {
            qint64 misu = 0, point = 0;
            QDate lastDay;
            int lastIn = -1;
        };
        std::vector<Totals> totals(m_people.size());
        for (const Lect &l : m_lects)
            if (l.kind == Kind::Enrollment || l.kind == Kind::Payment)
                totals[size_t(l.person)].misu += l.tAmt - l.cash - l.card;
        for (const Voucher &v : m_vouchers) {
            if (v.person < 0)
                continue;
            qint64 due = 0;
            for (const SaleLine &line : v.lines)
                due += lineAmount(m_goods[size_t(line.good)], line);
            totals[size_t(v.person)].misu += due - v.cash - v.card;
        }
        for (const Entry &e : m_ledger)
            totals[size_t(e.person)].point += pointsFor(e.amount) - e.used;
        for (const Visit &v : m_visits) {
            Totals &t = totals[size_t(v.person)];
            if (!t.lastDay.isValid() || v.day > t.lastDay || (v.day == t.lastDay && v.in > t.lastIn)) {
                t.lastDay = v.day;
                t.lastIn = v.in;
            }
        }
        for (int i : m_memberOrder) {
            const Person &p = m_people[size_t(i)];
            const Totals &t = totals[size_t(i)];
            w().insert("Member", {{"MbCode", p.code}, {"MbName", p.name},
                                  {"MbName1", typed(p.guardian)},
                                  {"Juno1", p.juno1}, {"Juno2", p.juno2}, {"Age", p.age}, {"Sex", p.sex},
                                  {"Tel1", p.tel1}, {"Tel2", typed(p.tel2)}, {"Tel3", typed(p.tel3)},
                                  {"Indate", fmtDate(p.indate)}, {"Email1", typed(p.email)}, {"PostNo", p.postNo}, {"Addr1", p.addr1}, {"Addr2", p.addr2},
                                  {"BirthDay", p.birthDay}, {"Solor", p.solor}, {"MbGubun", p.gubun},
                                  {"MbCard", p.card}, {"Ext", typed(p.ext)}, {"Dm", p.dm}, {"SMS", p.sms},
                                  {"MisuAmt", t.misu}, {"Point", t.point},
                                  {"LastDate", t.lastDay.isValid() ? QVariant(fmtDate(t.lastDay)) : QVariant(QMetaType::fromType<QString>())},
                                  {"LastTime", t.lastIn >= 0 ? QVariant(hhmm(t.lastIn) + u":00"_s) : QVariant(QMetaType::fromType<QString>())},
                                  {"Area", p.area.isEmpty() ? QVariant() : QVariant(p.area)}});
        }
    }

    // A Lecture row as it stands once its later rows are written: the base of
    // a dependent row links to it and ends where it left the base; a
    // time-based enrollment holds the minutes of its visits.
    void putLecture(const Lect &l, LectureRecord r)
    {
        r.ltid = l.ltid;
        if (l.dependent >= 0) {
            const Lect &d = m_lects[size_t(l.dependent)];
            const LectureKind kind = d.kind == Kind::Postponement ? LectureKind::Postponement
                                     : d.kind == Kind::Refund     ? LectureKind::Refund
                                     : d.kind == Kind::Transfer   ? LectureKind::TransferIn
                                                                  : LectureKind::ClassChange;
            *r.linkFor(kind) = d.ltid;
            r.sDate2 = fmtDate(l.finalS2);
        }
        if (r.programKind == ProgramKind::TimeBased)
            r.uPgCnt = l.used;
        if (m_scale.closedBeforeToday && l.rq < m_today)
            r.fDate = fmtDate(l.rq);
        const QStringList names = lectureColumnNames();
        const QVariantList values = lectureValues(r);
        Fields f;
        f.reserve(size_t(names.size()));
        for (qsizetype i = 0; i < names.size(); ++i)
            f.push_back({names[i], values[i]});
        m_sink->add(u"Lecture"_s, f);
    }

    void writeLectures()
    {
        for (int i : m_order) {
            Lect &l = m_lects[size_t(i)];
            const Person &who = m_people[size_t(l.person)];
            switch (l.kind) {
            case Kind::Enrollment: writeEnrollment(l, who); break;
            case Kind::Postponement: writePostponement(l); break;
            case Kind::Refund: writeRefund(l); break;
            case Kind::Transfer: writeTransfer(l, who); break;
            case Kind::Change: writeChange(l); break;
            case Kind::Payment: writePayment(l, who); break;
            }
        }
    }

    // The Lecture columns every demo row fills from its program.
    static void programColumns(LectureRecord &r, const Prog &p)
    {
        r.pgCode = p.pgCode;
        r.pgName = p.name;
        r.pgid = p.pgid;
        r.course = p.course;
        r.sclass = p.sclass;
        r.time1 = p.time1;
        r.time2 = p.time2;
    }

    void stamp(LectureRecord &r, const Lect &l) const
    {
        r.lastUser = kStaff;
        r.lastDate = fmtDate(l.rq);
        r.lastTime = hhmmss(l.secs);
    }

    void writeEnrollment(Lect &l, const Person &who)
    {
        const Prog &p = m_progs[size_t(l.prog)];
        const bool timeBased = p.gubun == u"2"_s;
        LectureRecord r;
        r.programKind = programKindOf(p.gubun);
        r.kind = LectureKind::Enrollment;
        r.ltyymm = fmtDate(l.s1).left(7);
        r.mbCode = who.code;
        r.mbName = who.name;
        r.sex = who.sex;
        programColumns(r, p);
        if (timeBased)
            r.time1 = r.time2 = QString();
        r.rqDate = fmtDate(l.rq);
        r.lectGubun = l.lectGubun;
        r.dcAmt = l.dcAmt;
        r.dcGubun = l.dcGubun;
        r.dcYul = l.dcYul;
        r.tAmt = l.tAmt;
        r.cashAmt = l.cash;
        r.cardAmt = l.card;
        r.ltCode = timeBased ? QString() : p.ltCode;
        r.mbGubun = who.gubun;
        r.age = who.age;
        r.ageGubun = who.ageCode;
        r.bpgid = p.pgid;
        r.bMbCode = who.code;
        stamp(r, l);
        r.amtGubun = QString::number(l.level);
        r.remark = typed(l.remark);
        r.sDate1 = fmtDate(l.s1);
        r.sDate2 = fmtDate(l.s2);
        r.dDate1 = fmtDate(l.d1);
        r.dDate2 = fmtDate(l.d2);
        r.pgCnt = p.pgCnt;
        r.pgCnt1 = p.pgCnt1;
        r.monthCnt = l.monthCnt;
        r.card = typed(l.cardCode);
        r.misuAmt = l.tAmt - l.cash - l.card;
        putLecture(l, r);
    }


    // The columns a dependent row takes from its base.
    LectureRecord dependentRecord(const Lect &l, LectureKind kind) const
    {
        const Lect &b = m_lects[size_t(l.base)];
        LectureRecord r;
        r.kind = kind;
        r.ltyymm = fmtDate(b.s1).left(7);
        r.rqDate = fmtDate(l.rq);
        r.amtGubun = QString::number(b.level);
        r.bLtid = b.ltid;
        r.sDate1 = fmtDate(l.s1);
        r.sDate2 = fmtDate(l.s2);
        stamp(r, l);
        return r;
    }

    void writePostponement(Lect &l)
    {
        const Lect &b = m_lects[size_t(l.base)];
        const Prog &p = m_progs[size_t(b.prog)];
        const Person &who = m_people[size_t(b.person)];
        LectureRecord r = dependentRecord(l, LectureKind::Postponement);
        r.mbCode = who.code;
        programColumns(r, p);
        r.age = who.age;
        r.sex = who.sex;
        r.monthCnt = b.monthCnt;
        r.bpgid = p.pgid;
        r.dcYul = b.dcYul;
        r.bMbCode = who.code;
        r.dDate1 = fmtDate(l.d1);
        r.dDate2 = fmtDate(l.d2);
        r.remark = l.remark;
        r.rday = l.rday;
        putLecture(l, r);
    }

    void writeRefund(Lect &l)
    {
        const Lect &b = m_lects[size_t(l.base)];
        const Prog &p = m_progs[size_t(b.prog)];
        const Person &who = m_people[size_t(b.person)];
        LectureRecord r = dependentRecord(l, LectureKind::Refund);
        r.mbCode = who.code;
        programColumns(r, p);
        r.age = who.age;
        r.mbName = who.name;
        r.sex = who.sex;
        r.monthCnt = b.monthCnt;
        r.lectGubun = b.lectGubun;
        r.bpgid = p.pgid;
        r.dcYul = b.dcYul;
        r.bMbCode = who.code;
        r.cashAmt = l.cash;
        r.cardAmt = l.card;
        r.tAmt = l.tAmt;
        r.rday = l.rday;
        putLecture(l, r);
    }

    void writeTransfer(Lect &l, const Person &to)
    {
        const Lect &b = m_lects[size_t(l.base)];
        const Prog &p = m_progs[size_t(b.prog)];
        const Person &giver = m_people[size_t(b.person)];
        LectureRecord r = dependentRecord(l, LectureKind::TransferIn);
        r.programKind = programKindOf(p.gubun);
        r.ltyymm = fmtDate(l.s1).left(7);
        r.mbCode = to.code;
        r.mbName = to.name;
        r.age = to.age;
        r.sex = to.sex;
        r.ageGubun = to.ageCode;
        programColumns(r, p);
        r.monthCnt = b.monthCnt;
        r.lectGubun = b.lectGubun;
        r.pgCnt = p.pgCnt;
        r.bpgid = p.pgid;
        r.bMbCode = giver.code;
        r.dDate1 = fmtDate(l.d1);
        r.dDate2 = fmtDate(l.d2);
        putLecture(l, r);
    }

    void writeChange(Lect &l)
    {
        const Lect &b = m_lects[size_t(l.base)];
        const Prog &was = m_progs[size_t(b.prog)];
        const Prog &p = m_progs[size_t(l.prog)];
        const Person &who = m_people[size_t(b.person)];
        LectureRecord r = dependentRecord(l, LectureKind::ClassChange);
        r.mbCode = who.code;
        r.mbGubun = who.gubun;
        r.ageGubun = who.ageCode;
        r.age = who.age;
        r.sex = who.sex;
        r.mbName = who.name;
        r.lectGubun = b.lectGubun;
        r.dcYul = b.dcYul;
        programColumns(r, p);
        r.ltCode = p.ltCode;
        r.tAmt = l.tAmt;
        r.cashAmt = l.cash;
        r.cardAmt = l.card;
        r.bpgid = was.pgid;
        r.bMbCode = who.code;
        r.monthCnt = l.monthCnt;
        r.dDate1 = fmtDate(l.d1);
        r.dDate2 = fmtDate(l.d2);
        putLecture(l, r);
    }

    void writePayment(Lect &l, const Person &who)
    {
        LectureRecord r;
        r.programKind = ProgramKind::Payment;
        r.kind = LectureKind::Enrollment;
        r.rqDate = fmtDate(l.rq);
        r.ltyymm = fmtDate(l.rq).left(7);
        r.mbCode = who.code;
        r.mbName = who.name;
        r.cashAmt = l.cash;
        r.cardAmt = l.card;
        r.card = l.card >= 1 ? l.cardCode : QString();
        stamp(r, l);
        putLecture(l, r);
    }

    void writeVisits()
    {
        std::stable_sort(m_visits.begin(), m_visits.end(), [](const Visit &a, const Visit &b) {
            return a.day != b.day ? a.day < b.day : a.in < b.in;
        });
        qint64 entid = 0, itemId = 0;
        QDate day;
        QString dayText;
        for (const Visit &v : m_visits) {
            const Lect &l = m_lects[size_t(v.lect)];
            const Prog &p = m_progs[size_t(l.prog)];
            const Person &who = m_people[size_t(v.person)];
            const bool out = v.out >= 0;
            if (v.day != day) {
                day = v.day;
                dayText = fmtDate(day);
            }
            m_sink->add(u"entrance"_s,
                        {{u"Entid"_s, ++entid}, {u"InDate"_s, dayText}, {u"InTime"_s, hhmm(v.in)},
                         {u"OutTime"_s, out ? QVariant(hhmm(v.out)) : QVariant()}, {u"PgGubun"_s, p.gubun},
                         {u"MbCode"_s, who.code}, {u"MbCard"_s, who.card}, {u"Ltid"_s, l.ltid}, {u"Pgid"_s, p.pgid},
                         {u"Course"_s, p.course}, {u"uTime"_s, out ? v.out - v.in : 0}});
            if (v.towelItem >= 0)
                m_sink->add(u"ItemTrs"_s,
                            {{u"Id"_s, ++itemId}, {u"Entid"_s, entid}, {u"ItId"_s, m_goods[size_t(v.towelItem)].itId}});
        }
    }

    // ---------------------------------------------------------------- sales
    int pickGood(bool ticketsOnly = false)
    {
        std::vector<int> idx, weights;
        for (size_t i = 0; i < m_goods.size(); ++i) {
            const Good &g = m_goods[i];
            if (g.name.contains(u"(대여)"_s) || (ticketsOnly && !g.ticket))
                continue;
            idx.push_back(int(i));
            weights.push_back(g.popularity);
        }
        return idx[size_t(m_dice.weighted(weights))];
    }

    void settle(Voucher &v, qint64 due)
    {
        const int how = m_dice.weighted({60, 35, 5});
        if (how == 0)
            v.cash = due;
        else if (how == 1)
            v.card = due;
        else {
            v.card = round1000(due / 2.0);
            v.cash = due - v.card;
        }
        if (v.card != 0)
            v.cardCode = QString::number(m_dice.between(1, 8));
        v.cashReceipt = v.card == 0 && m_dice.chance(10);
    }

    static qint64 lineAmount(const Good &g, const SaleLine &s) { return s.qty * g.price - s.dcAmt; }

    void writeSales()
    {
        std::vector<Voucher> &vouchers = m_vouchers;
        // A large centre asks for a number of sale lines: about 9.4 lines a
        // day at the demo's pace, a tenth more to be sure of the count.
        const double factor = m_scale.saleLines > 0
            ? std::max(1.0, 1.1 * double(m_scale.saleLines) / (9.4 * (m_scale.saleDays + 1))) : 1.0;
        // Counter sales of the last weeks, more on weekends.
        for (QDate day = m_today.addDays(-m_scale.saleDays); day <= lastDay(); day = day.addDays(1)) {
            const bool weekend = day.dayOfWeek() >= 6;
            int count = m_dice.between(weekend ? 6 : 3, weekend ? 12 : 8);
            if (factor != 1.0)
                count = int(std::lround(count * factor));
            std::vector<size_t> today;
            for (int n = 0; n < count; ++n) {
                Voucher v;
                v.day = day;
                v.secs = m_dice.between(6 * 3600 + 600, 21 * 3600 + 1800);
                if (day == m_today && v.secs >= m_nowMinutes * 60)
                    continue;
                v.posNo = m_posNos[size_t(m_dice.between(0, int(m_posNos.size()) - 1))];
                const int lines = m_dice.weighted({60, 30, 10}) + 1;
                for (int k = 0; k < lines; ++k) {
                    const int g = pickGood(k == 0 && m_dice.chance(30));
                    if (std::any_of(v.lines.begin(), v.lines.end(), [&](const SaleLine &s) { return s.good == g; }))
                        continue;
                    SaleLine s{g, m_goods[size_t(g)].ticket ? m_dice.between(1, 4) : m_dice.weighted({70, 25, 5}) + 1};
                    if (m_dice.chance(8)) {
                        s.dcYul = 10;
                        s.dcAmt = qint64(std::trunc(double(s.qty * m_goods[size_t(g)].price) * 10 / 100.0));
                    }
                    v.lines.push_back(s);
                }
                qint64 due = 0;
                for (const SaleLine &s : v.lines)
                    due += lineAmount(m_goods[size_t(s.good)], s);
                settle(v, due);
                vouchers.push_back(v);
            }
        }
        // Two sales taken back later the same day: a further voucher with
        // negative quantities and amounts.
        const int takenBack = factor == 1.0 ? 2 : int(std::lround(2 * factor));
        for (int n = 0; n < takenBack && !vouchers.empty(); ++n) {
            const Voucher &orig = vouchers[size_t(m_dice.between(0, int(vouchers.size()) - 1))];
            if (orig.refund || orig.lines.size() != 1 || orig.lines[0].dcAmt != 0 || orig.secs > 20 * 3600
                || (orig.day == m_today && orig.secs + 1800 >= m_nowMinutes * 60))
                continue;
            Voucher r = orig;
            r.refund = true;
            r.secs = orig.secs + m_dice.between(300, 1800);
            r.lines[0].qty = -orig.lines[0].qty;
            r.cash = -orig.cash;
            r.card = -orig.card;
            r.cashReceipt = false;
            vouchers.push_back(r);
        }
        // Goods sold to members on the member screen, a few paid short.
        std::vector<int> buyers;
        for (size_t i = 0; i < m_people.size(); ++i)
            if (m_people[i].enrolled)
                buyers.push_back(int(i));
        for (int n = 0; n < scaled(15) && !buyers.empty(); ++n) {
            Voucher v;
            v.person = m_dice.pick(buyers);
            v.mbCode = m_people[size_t(v.person)].code;
            v.day = m_dice.dayBetween(std::max(m_today.addDays(-m_scale.visitDays), m_people[size_t(v.person)].indate),
                                      lastDay());
            v.secs = officeSecs();
            if (v.day == m_today && v.secs >= m_nowMinutes * 60)
                v.secs = std::max(0, m_nowMinutes * 60 - 60);
            v.posNo = m_posNos.front();
            std::vector<int> swimGoods;
            for (size_t g = 0; g < m_goods.size(); ++g)
                if (m_goods[g].sclass == u"01"_s || m_goods[g].name == u"요가매트"_s || m_goods[g].name == u"헬스장갑"_s)
                    swimGoods.push_back(int(g));
            v.lines.push_back(SaleLine{m_dice.pick(swimGoods), 1});
            const qint64 due = m_goods[size_t(v.lines[0].good)].price;
            settle(v, m_dice.chance(20) ? due - std::min<qint64>(due, 5000) : due);
            v.cashReceipt = false;
            vouchers.push_back(v);
        }
        // Voucher numbers run per day (one user) in the order of the time of sale.
        std::stable_sort(vouchers.begin(), vouchers.end(), [](const Voucher &a, const Voucher &b) {
            return a.day != b.day ? a.day < b.day : a.secs < b.secs;
        });
        QDate day;
        QString dayText;
        int number = 0;
        qint64 slid = 0;
        for (const Voucher &v : vouchers) {
            if (v.day != day) {
                day = v.day;
                dayText = fmtDate(day);
                number = 0;
            }
            const QString slNo = u"%1"_s.arg(++number, 4, 10, QLatin1Char('0'));
            const QString cardChk = v.cash != 0 && v.card != 0 ? u"3"_s : v.card != 0 ? u"2"_s : u"1"_s;
            const bool closed = m_scale.closedBeforeToday && v.day < m_today;
            int seq = 0;
            for (const SaleLine &s : v.lines) {
                const Good &g = m_goods[size_t(s.good)];
                const bool first = seq == 0;
                ++seq;
                const qint64 gross = s.qty * g.price;
                const qint64 amount = gross - s.dcAmt;
                Fields f{{u"SlId"_s, ++slid}, {u"SlNo"_s, slNo}, {u"SEQ"_s, seq}, {u"ItId"_s, g.itId},
                         {u"ItCode"_s, g.itCode}, {u"Course"_s, u"1"_s}, {u"Lclass"_s, QVariant()},
                         {u"Mclass"_s, QVariant()}, {u"Sclass"_s, g.sclass}, {u"SlDate"_s, dayText},
                         {u"Slyymm"_s, dayText.left(7)}, {u"MbCode"_s, v.mbCode}, {u"Slqty"_s, s.qty},
                         {u"SlCost"_s, g.price}, {u"SlAmt1"_s, gross}, {u"CashAmt"_s, first ? v.cash : 0},
                         {u"CardAmt"_s, first ? v.card : 0}, {u"SLTAmt"_s, first ? v.cash + v.card : 0},
                         {u"CardChk"_s, cardChk}, {u"FnChk"_s, closed ? u"1"_s : u"0"_s},
                         {u"CashChk"_s, v.cashReceipt ? u"1"_s : u"0"_s}, {u"SlAmt"_s, amount}, {u"DcYul"_s, s.dcYul},
                         {u"DcAmt"_s, s.dcAmt}, {u"PosNo"_s, v.posNo},
                         {u"CardGubun"_s, v.card != 0 ? QVariant(v.cardCode) : QVariant(u""_s)},
                         {u"LastUser"_s, kStaff}, {u"LastTime"_s, hhmmss(v.secs)}, {u"Reprint"_s, u"0"_s}};
                if (v.person >= 0)
                    f.push_back({u"DcGubun"_s, u"0"_s});
                if (closed)
                    f.push_back({u"SlfDate"_s, dayText});
                m_sink->add(u"Sale"_s, f);
                if (v.person >= 0 && v.day >= m_today.addDays(-m_scale.pointDays))
                    m_ledger.push_back({v.person, v.day, u"4"_s, slid, g.name, amount, 0});
            }
        }
    }

    // ---------------------------------------------------------------- points
    struct Entry {
        int person;
        QDate day;
        QString kind;
        qint64 joinId;
        QString remark;
        qint64 amount, used;
    };

    void writePoints()
    {
        const QDate pointsFrom = m_today.addDays(-m_scale.pointDays);
        for (int i : m_order) {
            const Lect &l = m_lects[size_t(i)];
            if (l.rq < pointsFrom)
                continue;
            switch (l.kind) {
            case Kind::Enrollment:
                m_ledger.push_back({l.person, l.rq, u"1"_s, l.ltid, m_progs[size_t(l.prog)].name, l.cash + l.card,
                                    l.dcGubun == u"2"_s ? l.dcAmt : 0});
                break;
            case Kind::Change:
                m_ledger.push_back({l.person, l.rq, u"1"_s, l.ltid, m_progs[size_t(l.prog)].name, std::abs(l.tAmt), 0});
                break;
            case Kind::Refund:
                m_ledger.push_back({l.person, l.rq, u"1"_s, l.ltid, m_progs[size_t(l.prog)].name, l.tAmt, 0});
                break;
            case Kind::Payment:
                m_ledger.push_back({l.person, l.rq, u"3"_s, l.ltid, u"미납입금"_s, l.cash + l.card, 0});
                break;
            case Kind::Transfer:
            case Kind::Postponement:
                break;
            }
        }
        std::stable_sort(m_ledger.begin(), m_ledger.end(), [](const Entry &a, const Entry &b) { return a.day < b.day; });
        for (const Entry &e : m_ledger) {
            const Person &who = m_people[size_t(e.person)];
            w().insert("UserPoint", {{"MbCode", who.code}, {"MbName", who.name}, {"pDate", fmtDate(e.day)},
                                     {"PgGubun", e.kind}, {"JoinId", e.joinId}, {"Remark", e.remark},
                                     {"Amount", e.amount}, {"PointYul", kPointRate}, {"uPoint", pointsFor(e.amount)},
                                     {"mPoint", e.used}});
        }
    }

    // ---------------------------------------------------------------- lockers
    void writeLockers()
    {
        struct Group {
            const char *code, *name, *course;
            int deposit, fee, count;
        };
        const std::vector<Group> groups{{"1", "남자탈의실 사물함", "1", 10000, 5000, 60},
                                        {"2", "여자탈의실 사물함", "1", 10000, 5000, 60},
                                        {"3", "헬스 개인사물함", "2", 20000, 10000, 40}};
        for (const Group &g : groups)
            w().insert("PerBox", {{"BoxCode", u8(g.code)}, {"BoxName", u8(g.name)}, {"Course", u8(g.course)},
                                  {"Samt", g.deposit}, {"Uamt", g.fee}, {"MonCnt", 1}});

        struct Locker {
            int person = -1;       // current renter
            bool released = false; // given back; stays free in the demo
            int months = 0;
            QDate from, to, last;
            int secs = 0;
        };
        std::vector<std::vector<Locker>> lockers;
        for (const Group &g : groups)
            lockers.emplace_back(size_t(g.count));

        struct Request {
            QDate day;
            int secs;
            int person, group, number;
            QString kind;
            QDate from, to;
            int months;
            qint64 deposit, fee, refund;
        };
        std::vector<Request> requests;

        // Renters: swimmers and fitness members of the last three months.
        std::vector<std::pair<int, int>> renters; // person, group
        QSet<int> seen;
        for (int i : m_order) {
            const Lect &l = m_lects[size_t(i)];
            if (l.kind != Kind::Enrollment || l.admitTo < m_today.addDays(-90) || seen.contains(l.person))
                continue;
            const Person &who = m_people[size_t(l.person)];
            const QString course = m_progs[size_t(l.prog)].course;
            if (who.years < 14 || (course != u"1"_s && course != u"2"_s))
                continue;
            seen.insert(l.person);
            renters.push_back({l.person, course == u"2"_s ? 2 : (who.sex == u"남"_s ? 0 : 1)});
        }
        m_dice.shuffle(renters);
        int cancellations = 0;
        for (size_t k = 0; k < renters.size() && k < 45; ++k) {
            const auto [person, group] = renters[k];
            std::vector<int> free;
            for (size_t n = 0; n < lockers[size_t(group)].size(); ++n)
                if (lockers[size_t(group)][n].person < 0 && !lockers[size_t(group)][n].released)
                    free.push_back(int(n));
            if (free.empty())
                continue;
            const int number = m_dice.pick(free);
            Locker &lk = lockers[size_t(group)][size_t(number)];
            const Group &g = groups[size_t(group)];
            const QDate start = m_dice.dayBetween(std::max(m_today.addDays(-100), m_people[size_t(person)].indate),
                                                  m_today);
            const int months = std::vector<int>{1, 3, 6}[size_t(m_dice.weighted({50, 35, 15}))];
            lk = Locker{person, false, months, start, periodEnd(start, months), start, officeSecs()};
            requests.push_back({start, lk.secs, person, group, number, u"1"_s, lk.from, lk.to, months, g.deposit,
                                qint64(g.fee) * months, 0});
            if (lk.to < m_today && m_dice.chance(50)) {
                // Renewed: the new period starts on the day of the renewal.
                const QDate on = m_dice.dayBetween(std::max(lk.to.addDays(-3), start.addDays(1)),
                                                   std::min(lk.to.addDays(5), m_today));
                const int more = std::vector<int>{1, 3}[size_t(m_dice.weighted({60, 40}))];
                lk.months = more;
                lk.from = on;
                lk.to = periodEnd(on, more);
                lk.last = on;
                lk.secs = officeSecs();
                requests.push_back({on, lk.secs, person, group, number, u"3"_s, lk.from, lk.to, more, 0,
                                    qint64(g.fee) * more, 0});
            } else if (cancellations < 4 && start.addDays(5) <= std::min(lk.to, m_today) && m_dice.chance(15)) {
                // Given back: the deposit is refunded and the locker is free again.
                ++cancellations;
                const QDate on = m_dice.dayBetween(start.addDays(5), std::min(lk.to, m_today));
                lk.released = true;
                lk.last = on;
                lk.secs = officeSecs();
                requests.push_back({on, lk.secs, person, group, number, u"4"_s, lk.from, lk.to, lk.months, 0, 0,
                                    g.deposit});
            }
        }
        for (size_t gi = 0; gi < groups.size(); ++gi) {
            for (size_t n = 0; n < lockers[gi].size(); ++n) {
                const Locker &lk = lockers[gi][n];
                Fields f{{"BoxCode", u8(groups[gi].code)}, {"BoxNum", int(n) + 1}, {"State", u"0"_s}};
                if (lk.released)
                    f.insert(f.end(), {{"UUse", u"0"_s}, {"MbCode", u""_s}, {"StDate", u""_s}, {"EndDate", u""_s},
                                       {"MonCnt", 0}, {"LastUser", kStaff}, {"LastDate", fmtDate(lk.last)},
                                       {"LastTime", hhmmss(lk.secs)}});
                else if (lk.person >= 0 && !lk.released)
                    f.insert(f.end(), {{"UUse", u"1"_s}, {"MbCode", m_people[size_t(lk.person)].code},
                                       {"StDate", fmtDate(lk.from)}, {"EndDate", fmtDate(lk.to)}, {"MonCnt", lk.months},
                                       {"LastUser", kStaff}, {"LastDate", fmtDate(lk.last)},
                                       {"LastTime", hhmmss(lk.secs)}});
                else
                    f.push_back({"UUse", u"0"_s});
                w().insert("PerBoxS", f);
            }
        }
        std::stable_sort(requests.begin(), requests.end(), [](const Request &a, const Request &b) {
            return a.day != b.day ? a.day < b.day : a.secs < b.secs;
        });
        for (const Request &r : requests)
            w().insert("RqPerBox", {{"RqDate", fmtDate(r.day)}, {"MbCode", m_people[size_t(r.person)].code},
                                    {"BoxNum", QString::number(r.number + 1)}, {"BoxCode", u8(groups[size_t(r.group)].code)},
                                    {"RqGubun", r.kind}, {"RqBox", r.number + 1}, {"UseDate1", fmtDate(r.from)},
                                    {"UseDate2", fmtDate(r.to)}, {"Samt", r.deposit}, {"Uamt", r.fee},
                                    {"Ramt", r.refund}, {"MonCnt", r.months}, {"LastUser", kStaff},
                                    {"LastDate", fmtDate(r.day)}, {"LastTime", hhmmss(r.secs)}});
    }

    // ---------------------------------------------------------------- office
    static QString slot(int halfHours)
    {
        // "오전 12:00" … "오후 11:30" in half-hour steps from midnight.
        const int h = halfHours / 2 % 24, m = halfHours % 2 * 30;
        const int shown = h % 12 == 0 ? 12 : h % 12;
        return (h < 12 ? u"오전 "_s : u"오후 "_s) + u"%1:%2"_s.arg(shown, 2, 10, QLatin1Char('0')).arg(m, 2, 10, QLatin1Char('0'));
    }

    void writeSchedule()
    {
        struct Entry {
            int day;
            bool personal;
            int from, to; // half hours, -1 none
            const char *title, *detail;
        };
        const std::vector<Entry> entries{
            {-12, false, 18, 20, "월례 직원회의", "3층 회의실. 지난달 회원 현황 보고"},
            {-6, false, 14, 16, "수질 검사", "구청 위생과 방문. 수영장 수질 시료 채취"},
            {-2, true, 27, 28, "카드 단말기 점검", "매점 카운터 단말기 교체 문의"},
            {0, false, 20, 21, "신규 강사 면접", "요가 강사 지원자 2명"},
            {1, true, -1, -1, "회원 미납금 안내 전화", "미납 회원 명단 출력 후 연락"},
            {3, false, 12, 13, "소방 안전 점검", "소화기·비상구 점검. 점검표 비치"},
            {7, false, 36, 40, "강사 회의", "다음달 강좌 시간표 확정"},
            {10, false, -1, -1, "정기 휴관일", "시설 정비로 하루 휴관. 사전 문자 발송"},
            {14, true, 30, 31, "사물함 만기 회원 안내", "만기 예정 사물함 회원 문자 안내"},
            {21, false, 18, 22, "여름 특강 접수 시작", "어린이 수영 특강 선착순 접수"},
        };
        for (const Entry &e : entries)
            w().insert("Schedule", {{"ScDate", fmtDate(m_today.addDays(e.day))},
                                    {"ScTime1", e.from >= 0 ? slot(e.from) : u""_s},
                                    {"ScTime2", e.to >= 0 ? slot(e.to) : u""_s},
                                    {"ScGubun", e.personal ? u"1"_s : u"0"_s}, {"ScUserCode", kStaff},
                                    {"ScTit", u8(e.title)}, {"ScDetail", u8(e.detail)}});
    }

    void writeCashBook()
    {
        struct Account {
            const char *code, *name, *kind, *payment;
            std::vector<const char *> notes;
        };
        const std::vector<Account> accounts{
            {"100", "매점임대수입", "1", "1", {"매점 임대료", "자판기 수수료"}},
            {"101", "기타수입", "1", "1", {"분실물 보관료", "주차권 판매"}},
            {"200", "소모품비", "2", "1", {"청소용품 구입", "사무용품 구입", "화장지 구입"}},
            {"201", "수도광열비", "2", "1", {"전기요금", "수도요금", "가스요금"}},
            {"202", "수선유지비", "2", "2", {"보일러 수리", "샤워기 교체"}},
            {"203", "복리후생비", "2", "1", {"직원 식대", "직원 간식"}},
        };
        for (const Account &a : accounts) {
            w().insert("계정과목", {{"과목코드", u8(a.code)}, {"과목명", u8(a.name)}, {"과목구분", u8(a.kind)},
                                   {"금액구분", u8(a.payment)}});
            int n = 0;
            for (const char *note : a.notes)
                w().insert("적요코드", {{"과목코드", u8(a.code)}, {"적요코드", ++n}, {"적요", u8(note)}});
        }
        for (int back = 30; back >= 0; --back) {
            if (!m_dice.chance(45))
                continue;
            const QDate day = m_today.addDays(-back);
            const int entries = m_dice.between(1, 2);
            for (int k = 0; k < entries; ++k) {
                const Account &a = accounts[size_t(m_dice.weighted({1, 1, 4, 3, 1, 3}))];
                const bool income = qstrcmp(a.kind, "1") == 0;
                const qint64 amount = qint64(m_dice.between(1, 60)) * 5000;
                w().insert("수입지출", {{"일자", fmtDate(day)}, {"년월", fmtDate(day).left(7)},
                                       {"과목코드", u8(a.code)}, {"과목구분", u8(a.kind)}, {"과목명", u8(a.name)},
                                       {"금액구분", u8(a.payment)}, {"적요", u8(m_dice.pick(a.notes))},
                                       {"수입", income ? amount : 0}, {"지출", income ? 0 : amount}});
            }
        }
    }


    struct AgeBand {
        QString code;
        int from, to;
    };

    const AppContext &m_ctx;
    AppContext *m_closable;
    const CentreScale m_scale;
    const PhaseReport m_report;
    const Catalogue &m_cat;
    Dice m_dice;
    const QDate m_today;
    const int m_nowMinutes;
    const double m_size; // members against the demo's 300
    CentreSink *m_sink = nullptr;
    std::vector<int> m_posNos;
    std::vector<AgeBand> m_ageBands;
    std::vector<Prog> m_progs;
    std::vector<Good> m_goods;
    int m_towel = -1;
    std::vector<Person> m_people;
    std::vector<int> m_memberOrder;
    std::vector<Lect> m_lects;
    std::vector<int> m_order;
    std::vector<Visit> m_visits;
    std::vector<Entry> m_ledger;
    std::vector<Voucher> m_vouchers;
    QSet<int> m_receivers;
    int m_refundCut1 = 10, m_refundCut2 = 10;
};

} // namespace

void generateCentre(AppContext &ctx, quint32 seed, const CentreScale &scale, const PhaseReport &report)
{
    CentreGenerator(ctx, &ctx, seed, scale, report).build();
}

void generateCentre(const AppContext &ctx, quint32 seed, const CentreScale &scale)
{
    CentreScale rows = scale;
    rows.bulk = false;
    CentreGenerator(ctx, nullptr, seed, rows, {}).build();
}

} // namespace fitrova::demo
