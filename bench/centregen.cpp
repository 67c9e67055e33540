#include "centregen.h"

#include "foundation/connections.h"
#include "foundation/dice.h"
#include "foundation/inifile.h"
#include "foundation/installer.h"
#include "foundation/password.h"
#include "foundation/startup.h"
#include "data/db.h"
#include "demo/lockergen.h"
#include "enrollment/lecturestore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTextStream>
#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <optional>
#include <random>
#include <stdexcept>
#include <vector>

namespace fitrova::bench {

namespace {

using namespace Qt::StringLiterals;

QString u8(const char *s) { return QString::fromUtf8(s); }

[[noreturn]] void fail(const QString &what) { throw std::runtime_error(what.toStdString()); }

// The shared random source, with the finer chances and the bell-shaped
// spreads the large centre's distributions use.
class Dice : public fitrova::Dice<std::mt19937_64> {
public:
    using fitrova::Dice<std::mt19937_64>::Dice;
    bool chance(double percent) { return double(m_gen() % 1000000) < percent * 10000.0; }
    double unit() { return double(m_gen() % 1000000007) / 1000000007.0; }
    // Roughly normal (sum of four uniforms), clipped to [lo, hi].
    int around(int mean, int spread, int lo, int hi)
    {
        double s = 0;
        for (int i = 0; i < 4; ++i)
            s += unit();
        const int v = mean + int(std::lround((s - 2.0) * spread * 1.7));
        return std::clamp(v, lo, hi);
    }
};

// Days are handled as Julian day numbers while generating.
using Day = qint64;
QString fmt(Day d) { return QDate::fromJulianDay(d).toString(Qt::ISODate); }
QString hhmm(int minutes) { return u"%1:%2"_s.arg(minutes / 60, 2, 10, QLatin1Char('0')).arg(minutes % 60, 2, 10, QLatin1Char('0')); }
QString hhmmss(int seconds)
{
    return u"%1:%2:%3"_s.arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}
int minutesOf(const char *hm) { return (hm[0] - '0') * 600 + (hm[1] - '0') * 60 + (hm[3] - '0') * 10 + (hm[4] - '0'); }
Day endAfterMonths(Day start, int months) { return QDate::fromJulianDay(start).addMonths(months).toJulianDay() - 1; }
qint64 round100(double v) { return qint64(std::llround(v / 100.0)) * 100; }
qint64 round1000(double v) { return qint64(std::llround(v / 1000.0)) * 1000; }

// ---------------------------------------------------------------------------
// Catalogue
// ---------------------------------------------------------------------------
enum class Audience { Adult, Child, Toddler, Anyone };

struct CourseDef {
    const char *code, *name;
    bool m1, m3, m6, m12, cancel, delay, transfer;
    std::vector<const char *> sclasses;
};

const std::vector<CourseDef> kCourses{
    {"1", "수영", true, true, true, true, true, true, true, {"성인반", "어린이반", "유아반", "자유수영", "아쿠아로빅"}},
    {"2", "헬스", true, true, true, true, true, true, true, {"일반", "PT", "새벽반", "저녁반"}},
    {"3", "GX", true, true, true, false, true, true, false, {"에어로빅", "요가", "필라테스", "스피닝", "줌바"}},
    {"4", "문화강좌", true, true, false, false, true, false, false, {"미술", "음악", "어학", "댄스", "서예"}},
};

const CourseDef &course(const QString &code)
{
    for (const CourseDef &c : kCourses)
        if (u8(c.code) == code)
            return c;
    return kCourses.front();
}

struct ProgramDef {
    const char *course, *sclass, *name, *time1, *time2;
    const char *days; // Monday first
    const char *lecturer;
    int maxNum, monthly;
    Audience audience;
    int popularity;
    int hours = 0;    // time-based programs: hours bought (valid three months)
};

// Period programs (PgGubun "1") and, with hours, time-based ones ("2").
const std::vector<ProgramDef> kPrograms{
    {"1", "01", "새벽 성인수영 초급", "06:00", "06:50", "1111100", "0001", 35, 80000, Audience::Adult, 9},
    {"1", "01", "새벽 성인수영 중급", "07:00", "07:50", "1111100", "0001", 30, 80000, Audience::Adult, 8},
    {"1", "01", "아침 성인수영 상급", "08:00", "08:50", "1111100", "0002", 25, 80000, Audience::Adult, 5},
    {"1", "01", "오전 성인수영 초급", "10:00", "10:50", "1010100", "0002", 30, 70000, Audience::Adult, 6},
    {"1", "01", "오전 성인수영 중급", "11:00", "11:50", "0101000", "0002", 25, 65000, Audience::Adult, 4},
    {"1", "01", "저녁 성인수영 초급", "19:00", "19:50", "1111100", "0003", 35, 80000, Audience::Adult, 9},
    {"1", "01", "저녁 성인수영 연수", "20:00", "20:50", "1111100", "0003", 30, 80000, Audience::Adult, 7},
    {"1", "01", "야간 성인수영", "21:00", "21:50", "1010100", "0003", 30, 70000, Audience::Adult, 4},
    {"1", "02", "어린이수영 A", "15:00", "15:50", "1010100", "0004", 20, 75000, Audience::Child, 6},
    {"1", "02", "어린이수영 B", "16:00", "16:50", "1010100", "0004", 20, 75000, Audience::Child, 7},
    {"1", "02", "어린이수영 C", "17:00", "17:50", "0101000", "0004", 20, 65000, Audience::Child, 5},
    {"1", "02", "주말 어린이수영", "10:00", "10:50", "0000011", "0005", 25, 60000, Audience::Child, 4},
    {"1", "03", "유아수영", "14:00", "14:40", "0101000", "0005", 12, 70000, Audience::Toddler, 2},
    {"1", "04", "자유수영", "06:00", "21:50", "1111111", "0001", 150, 55000, Audience::Anyone, 9},
    {"1", "05", "아쿠아로빅", "13:00", "13:50", "1010100", "0005", 25, 60000, Audience::Adult, 2},
    {"2", "01", "헬스 종일반", "06:00", "22:00", "1111110", "0006", 120, 50000, Audience::Adult, 14},
    {"2", "03", "헬스 새벽반", "06:00", "09:00", "1111100", "0006", 60, 40000, Audience::Adult, 4},
    {"2", "04", "헬스 저녁반", "18:00", "22:00", "1111100", "0007", 80, 40000, Audience::Adult, 5},
    {"2", "02", "PT 주2회", "20:00", "20:50", "0101000", "0007", 8, 300000, Audience::Adult, 1},
    {"2", "02", "PT 주3회", "19:00", "19:50", "1010100", "0006", 8, 420000, Audience::Adult, 1},
    {"3", "01", "오전 에어로빅", "10:00", "10:50", "1010100", "0008", 35, 50000, Audience::Adult, 5},
    {"3", "01", "저녁 에어로빅", "19:00", "19:50", "1010100", "0008", 35, 50000, Audience::Adult, 4},
    {"3", "02", "아침 요가", "07:00", "07:50", "0101000", "0009", 25, 60000, Audience::Adult, 3},
    {"3", "02", "저녁 요가", "20:00", "20:50", "1010100", "0009", 25, 60000, Audience::Adult, 6},
    {"3", "03", "필라테스 기초", "19:00", "19:50", "0101000", "0009", 15, 90000, Audience::Adult, 4},
    {"3", "03", "필라테스 중급", "11:00", "11:50", "1010000", "0010", 15, 90000, Audience::Adult, 2},
    {"3", "04", "스피닝", "20:00", "20:50", "0101000", "0008", 30, 55000, Audience::Adult, 3},
    {"3", "05", "줌바댄스", "21:00", "21:50", "1010100", "0010", 30, 50000, Audience::Adult, 3},
    {"4", "01", "수채화교실", "14:00", "15:50", "0010000", "0011", 15, 40000, Audience::Anyone, 2},
    {"4", "01", "어린이 미술", "16:00", "16:50", "0101000", "0011", 15, 45000, Audience::Child, 2},
    {"4", "02", "통기타교실", "19:30", "21:00", "0000100", "0012", 12, 40000, Audience::Adult, 1},
    {"4", "02", "우쿨렐레", "11:00", "11:50", "0001000", "0012", 12, 40000, Audience::Anyone, 1},
    {"4", "03", "생활영어회화", "10:00", "11:20", "0101000", "0012", 20, 45000, Audience::Adult, 2},
    {"4", "03", "생활중국어", "19:00", "20:20", "1010000", "0012", 20, 45000, Audience::Adult, 1},
    {"4", "04", "라인댄스", "14:00", "14:50", "1010000", "0010", 25, 40000, Audience::Adult, 2},
    {"4", "04", "방송댄스", "17:00", "17:50", "0101000", "0010", 20, 45000, Audience::Child, 1},
    {"4", "05", "서예교실", "10:00", "11:50", "0000100", "0011", 15, 35000, Audience::Adult, 1},
    {"1", "04", "자유수영 10시간권", nullptr, nullptr, "1111111", nullptr, 0, 50000, Audience::Adult, 3, 10},
    {"1", "04", "자유수영 20시간권", nullptr, nullptr, "1111111", nullptr, 0, 90000, Audience::Adult, 2, 20},
    {"2", "01", "헬스 20시간권", nullptr, nullptr, "1111111", nullptr, 0, 90000, Audience::Adult, 3, 20},
    {"2", "01", "헬스 40시간권", nullptr, nullptr, "1111111", nullptr, 0, 160000, Audience::Adult, 1, 40},
};

struct LecturerDef {
    const char *code, *name, *tel, *course;
};
const std::vector<LecturerDef> kLecturers{
    {"0001", "박지훈", "010-3281-4417", "1"}, {"0002", "이수진", "010-7714-2093", "1"},
    {"0003", "김태윤", "010-6620-1138", "1"}, {"0004", "장하늘", "010-2209-7741", "1"},
    {"0005", "윤서아", "010-8830-2215", "1"}, {"0006", "최민호", "010-5530-8126", "2"},
    {"0007", "강동원", "010-4471-9902", "2"}, {"0008", "정예린", "010-9042-3375", "3"},
    {"0009", "송지아", "010-3317-6654", "3"}, {"0010", "임채원", "010-7788-1020", "3"},
    {"0011", "한서연", "010-2267-5901", "4"}, {"0012", "오준영", "010-4418-6620", "4"},
};

struct GoodDef {
    const char *sclass, *name;
    int price;
    bool ticket, rental;
    int popularity;
};
const std::vector<const char *> kGoodsClasses{"수영용품", "운동용품", "음료/간식", "입장권", "대여품"};
const std::vector<GoodDef> kGoods{
    {"01", "수영모(실리콘)", 12000, false, false, 4}, {"01", "수영모(메쉬)", 8000, false, false, 3},
    {"01", "수경(성인용)", 25000, false, false, 3},   {"01", "수경(어린이용)", 18000, false, false, 2},
    {"01", "귀마개", 3000, false, false, 2},          {"01", "수영가방", 20000, false, false, 1},
    {"02", "헬스장갑", 15000, false, false, 2},       {"02", "요가매트", 30000, false, false, 1},
    {"02", "스포츠타월", 5000, false, false, 2},      {"02", "물병", 7000, false, false, 1},
    {"03", "생수", 1000, false, false, 10},           {"03", "이온음료", 2000, false, false, 9},
    {"03", "단백질음료", 3500, false, false, 4},      {"03", "커피", 2500, false, false, 6},
    {"03", "에너지바", 2000, false, false, 4},        {"04", "일일입장권(성인)", 6000, true, false, 9},
    {"04", "일일입장권(청소년)", 4500, true, false, 4}, {"04", "일일입장권(어린이)", 3500, true, false, 4},
    {"04", "헬스 일일권", 10000, true, false, 4},     {"05", "수건(대여)", 1000, false, true, 3},
    {"05", "운동복(대여)", 2000, false, true, 3},     {"05", "개인락커키(대여)", 1000, false, true, 1},
};

// ---------------------------------------------------------------------------
// Names and places
// ---------------------------------------------------------------------------
struct Surname {
    const char *hangul;
    int weight; // per mille, roughly the census shares
};
const std::vector<Surname> kSurnames{
    {"김", 215}, {"이", 147}, {"박", 84}, {"최", 47}, {"정", 43}, {"강", 23}, {"조", 21}, {"윤", 21},
    {"장", 20}, {"임", 17}, {"한", 15}, {"오", 15}, {"서", 15}, {"신", 14}, {"권", 14}, {"황", 14},
    {"안", 13}, {"송", 13}, {"전", 11}, {"홍", 11}, {"유", 10}, {"고", 9}, {"문", 9}, {"양", 8},
    {"손", 8}, {"배", 8}, {"백", 7}, {"허", 6}, {"남", 6}, {"심", 5}, {"노", 5}, {"하", 5},
    {"곽", 4}, {"성", 4}, {"차", 4}, {"주", 4}, {"우", 4}, {"구", 4}, {"민", 3}, {"류", 3},
    {"나", 3}, {"진", 3}, {"지", 3}, {"엄", 3}, {"채", 2}, {"원", 2}, {"천", 2}, {"방", 2},
    {"공", 2}, {"현", 2}, {"함", 2}, {"변", 2}, {"염", 2}, {"여", 2}, {"추", 2}, {"도", 2},
    {"소", 1}, {"석", 1}, {"선", 1}, {"설", 1}, {"마", 1}, {"길", 1}, {"연", 1}, {"위", 1},
    {"표", 1}, {"명", 1}, {"기", 1}, {"반", 1}, {"왕", 1}, {"금", 1}, {"옥", 1}, {"육", 1},
    {"인", 1}, {"맹", 1}, {"제", 1}, {"모", 1}, {"남궁", 1}, {"탁", 1}, {"국", 1}, {"황보", 1},
};
const std::vector<const char *> kMaleFirst{"민", "서", "도", "예", "시", "주", "하", "지", "준", "현",
                                           "성", "동", "재", "승", "영", "상", "정", "태", "우", "건",
                                           "종", "진", "경", "광", "병", "용", "석", "윤", "유", "은"};
const std::vector<const char *> kMaleSecond{"준", "윤", "우", "호", "민", "훈", "현", "철", "원", "진",
                                            "수", "석", "혁", "규", "빈", "성", "환", "영", "기", "희",
                                            "욱", "찬", "범", "모", "섭", "식", "태", "율", "후", "한"};
const std::vector<const char *> kFemaleFirst{"서", "지", "하", "민", "수", "예", "윤", "채", "미", "은",
                                             "혜", "유", "다", "소", "나", "가", "연", "주", "현", "보",
                                             "선", "정", "희", "경", "영", "아", "진", "세", "효", "승"};
const std::vector<const char *> kFemaleSecond{"연", "윤", "은", "우", "서", "민", "빈", "원", "경", "진",
                                              "희", "영", "아", "현", "린", "숙", "정", "주", "지", "나",
                                              "미", "인", "혜", "선", "수", "람", "별", "솔", "예", "율"};

struct Place {
    const char *post, *addr, *area;
};
const std::vector<Place> kPlaces{
    {"05505", "서울 송파구 오금로", "0001"}, {"05510", "서울 송파구 방이동", "0002"},
    {"05718", "서울 송파구 가락로", "0003"}, {"05836", "서울 송파구 문정동", "0004"},
    {"05319", "서울 강동구 둔촌동", "0005"}, {"05404", "서울 강동구 성내동", "0006"},
    {"05547", "서울 송파구 잠실동", "0007"}, {"05771", "서울 송파구 거여동", "0008"},
    {"13498", "경기 성남시 분당구", "0009"}, {"12919", "경기 하남시 망월동", "0010"},
};
const std::vector<const char *> kAreaNames{"오금동", "방이동", "가락동", "문정동", "둔촌동",
                                           "성내동", "잠실동", "거여동", "분당", "하남"};
const std::vector<const char *> kApartments{"현대아파트", "올림픽선수촌아파트", "훼밀리아파트", "헬리오시티",
                                            "파크리오", "레이크팰리스", "삼익아파트", "우성아파트"};
const std::vector<const char *> kMailDomains{"naver.com", "daum.net", "gmail.com", "hanmail.net", "nate.com"};

// ---------------------------------------------------------------------------
// The centre in memory
// ---------------------------------------------------------------------------
struct Prog {
    qint64 pgid = 0;
    QString gubun, course, sclass, pgCode, name, time1, time2, ltCode, ltName;
    std::array<bool, 7> days{};
    int t1 = 0, t2 = 0;       // minutes
    bool allDay = false;
    int pgCnt = 0, pgCnt1 = 0; // time-based: minutes and hours
    std::map<int, std::array<qint64, 3>> fees;
    Audience audience = Audience::Adult;
    int popularity = 0;
    bool timeBased() const { return gubun == u"2"_s; }
    bool admitsOn(Day d) const { return days[size_t(QDate::fromJulianDay(d).dayOfWeek() - 1)]; }
};

struct Good {
    qint64 itId = 0;
    QString itCode, sclass, name, barCode;
    int price = 0, popularity = 0;
    bool ticket = false, rental = false;
};

struct Person {
    QString code, name, guardian, sex, juno1, juno2, tel1, tel2, card, email, post, addr1, addr2, birthDay, area;
    QString gubun, ageGubun;
    Day indate = 0;
    int age = 0, years = 0;
    int weight = 1;        // how often this member enrolls
    int attendance = 100;  // percent of the average visiting rate
    bool dm = true, sms = true, solar = true;
    qint64 misu = 0;
    Day lastVisit = 0;
    int lastIn = -1;
};

enum class Kind : quint8 { Enrollment, Postponement, Refund, Transfer, Change, Payment };

struct Lect {
    Kind kind = Kind::Enrollment;
    int person = 0, prog = 0, base = -1;
    Day rq = 0, s1 = 0, s2 = 0, d1 = 0, d2 = 0;
    Day admitFrom = 0, admitTo = 0;    // the days the gate let it in
    Day pauseFrom = 0, pauseTo = -1;
    int months = 1, level = 1, rday = 0, used = 0, secs = 36000;
    qint64 tAmt = 0, cash = 0, card = 0, dcAmt = 0;
    double dcYul = 0;
    QString cardCode, lectGubun = u"1"_s, remark;
    int delay = -1, cancel = -1, transfer = -1, change = -1;
    qint64 ltid = 0;
    bool admits() const { return kind == Kind::Enrollment || kind == Kind::Transfer || kind == Kind::Change; }
};

struct Visit {
    Day day;
    qint16 in, out;  // minutes; out -1 while inside / never checked out
    int lect;
    qint8 item;      // index into the rental goods, -1 none
};

// ---------------------------------------------------------------------------
// Bulk loading: one prepared multi-row INSERT reused for every full batch.
// ---------------------------------------------------------------------------
class BulkInserter {
public:
    BulkInserter(const QSqlDatabase &db, QString table, QStringList columns, int rowsPerStatement)
        : m_db(db), m_table(std::move(table)), m_columns(std::move(columns)), m_rows(rowsPerStatement)
    {
        m_values.reserve(m_rows * m_columns.size());
    }
    ~BulkInserter() = default;

    void add(std::initializer_list<QVariant> row) { add(QVariantList(row)); }
    void add(const QVariantList &row)
    {
        Q_ASSERT(row.size() == m_columns.size());
        m_values.append(row);
        ++m_count;
        if (m_values.size() == m_rows * m_columns.size())
            flush();
    }
    void flush()
    {
        if (m_values.isEmpty())
            return;
        const int rows = int(m_values.size() / m_columns.size());
        QSqlQuery *q;
        QSqlQuery once(m_db);
        if (rows == m_rows) {
            if (!m_full) {
                m_full = std::make_unique<QSqlQuery>(m_db);
                prepare(*m_full, rows);
            }
            q = m_full.get();
        } else {
            prepare(once, rows);
            q = &once;
        }
        for (int i = 0; i < m_values.size(); ++i)
            q->bindValue(i, m_values.at(i));
        if (!q->exec())
            fail(u"bulk insert into %1: %2"_s.arg(m_table, q->lastError().text()));
        q->finish();
        m_values.clear();
    }
    qint64 count() const { return m_count; }

private:
    void prepare(QSqlQuery &q, int rows) const
    {
        QString one = u"("_s;
        for (int c = 0; c < m_columns.size(); ++c)
            one += c ? u", ?"_s : u"?"_s;
        one += u")"_s;
        QStringList all;
        for (int r = 0; r < rows; ++r)
            all << one;
        const QString sql = u"INSERT INTO "_s + m_table + u" ("_s + m_columns.join(u", "_s) + u") VALUES "_s
            + all.join(u", "_s);
        if (!q.prepare(sql))
            fail(u"prepare %1: %2"_s.arg(m_table, q.lastError().text()));
    }

    QSqlDatabase m_db;
    QString m_table;
    QStringList m_columns;
    qsizetype m_rows;
    QVariantList m_values;
    std::unique_ptr<QSqlQuery> m_full;
    qint64 m_count = 0;
};

QVariant nullText() { return QVariant(QMetaType::fromType<QString>()); }
QVariant textOrNull(const QString &s) { return s.isEmpty() ? nullText() : QVariant(s); }

// ---------------------------------------------------------------------------
// The generator
// ---------------------------------------------------------------------------
class Generator {
public:
    Generator(AppContext &ctx, const CentreShape &shape, const Progress &progress)
        : m_ctx(ctx), m_shape(shape), m_progress(progress), m_dice(shape.seed),
          m_today(shape.today.toJulianDay()), m_from(shape.today.addYears(-shape.years).toJulianDay())
    {
    }

    QList<PhaseTime> run()
    {
        phase(u"catalogue"_s, [&] { writeCatalogue(); });
        phase(u"plan members"_s, [&] { makePeople(); });
        phase(u"plan enrollments"_s, [&] {
            makeEnrollments();
            makeEvents();
        });
        phase(u"plan visits"_s, [&] { makeVisits(); });
        phase(u"plan sales"_s, [&] { makeSales(); });
        phase(u"lockers"_s, [&] { generateBenchLockers(m_ctx.main, m_shape.today, m_shape.members, m_shape.years, m_shape.seed); });
        // The big tables are loaded over connections of their own, with the
        // lookup indexes dropped while loading and built afterwards.
        const QString bulkName = m_ctx.connectionPrefix() + u"bulk"_s;
        m_ctx.closeConnections();
        try {
            load(bulkName);
        } catch (...) {
            closeBulk(bulkName);
            throw;
        }
        closeBulk(bulkName);
        return m_times;
    }

private:
    template <typename Fn>
    void phase(const QString &name, Fn &&fn)
    {
        say(name + u" ..."_s);
        QElapsedTimer t;
        t.start();
        fn();
        const double s = double(t.nsecsElapsed()) / 1e9;
        m_times.append({name, s});
        say(u"%1: %2 s"_s.arg(name).arg(s, 0, 'f', 1));
    }
    void say(const QString &s) const
    {
        if (m_progress)
            m_progress(s);
    }

    // ------------------------------------------------------------ catalogue
    void writeCatalogue()
    {
        const Db &db = m_ctx.main;
        db.transaction([&] {
            db.exec(u"DELETE FROM Course WHERE PsGroup = 'P'"_s);
            db.exec(u"DELETE FROM Sclass"_s);
            for (const CourseDef &c : kCourses) {
                db.exec(u"INSERT INTO Course (PsGroup, Code, Name, mon1, mon3, mon6, mon12, UseCancel, UseDelay, "
                        "UseTransfer) VALUES ('P', ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s,
                        {u8(c.code), u8(c.name), int(c.m1), int(c.m3), int(c.m6), int(c.m12), int(c.cancel),
                         int(c.delay), int(c.transfer)});
                int n = 0;
                for (const char *s : c.sclasses)
                    db.exec(u"INSERT INTO Sclass (PsGroup, Course, Sclass, SclassN) VALUES ('P', ?, ?, ?)"_s,
                            {u8(c.code), u"%1"_s.arg(++n, 2, 10, QLatin1Char('0')), u8(s)});
            }
            int n = 0;
            for (const char *s : kGoodsClasses)
                db.exec(u"INSERT INTO Sclass (PsGroup, Course, Sclass, SclassN) VALUES ('S', '1', ?, ?)"_s,
                        {u"%1"_s.arg(++n, 2, 10, QLatin1Char('0')), u8(s)});

            struct Rate {
                const char *code, *name;
                double rate;
            };
            db.exec(u"DELETE FROM MbGubun"_s);
            for (const Rate &r : std::vector<Rate>{{"1", "일반회원", 0}, {"2", "특별회원", 10}, {"3", "직원", 50},
                                                   {"4", "경로우대", 30}, {"5", "장애인", 30}, {"6", "지역주민", 5}})
                db.exec(u"INSERT INTO MbGubun (Code, Name, Rate) VALUES (?, ?, ?)"_s, {u8(r.code), u8(r.name), r.rate});
            db.exec(u"DELETE FROM Card"_s);
            for (const Rate &r : std::vector<Rate>{{"1", "신한카드", 2.3}, {"2", "KB국민카드", 2.3}, {"3", "삼성카드", 2.4},
                                                   {"4", "현대카드", 2.4}, {"5", "롯데카드", 2.5}, {"6", "BC카드", 2.2},
                                                   {"7", "하나카드", 2.3}, {"8", "NH농협카드", 2.2}})
                db.exec(u"INSERT INTO Card (Code, Name, yul) VALUES (?, ?, ?)"_s, {u8(r.code), u8(r.name), r.rate});
            struct Band {
                const char *code, *name;
                int from, to;
            };
            db.exec(u"DELETE FROM Age"_s);
            for (const Band &b : std::vector<Band>{{"01", "유아", 0, 7}, {"02", "어린이", 8, 13}, {"03", "청소년", 14, 19},
                                                   {"04", "20대", 20, 29}, {"05", "30대", 30, 39}, {"06", "40대", 40, 49},
                                                   {"07", "50대", 50, 59}, {"08", "60대", 60, 69}, {"09", "70세이상", 70, 150}}) {
                m_ageBands.push_back({u8(b.code), b.from, b.to});
                db.exec(u"INSERT INTO Age (Code, Name, age1, age2) VALUES (?, ?, ?, ?)"_s,
                        {u8(b.code), u8(b.name), b.from, b.to});
            }
            db.exec(u"DELETE FROM Area"_s);
            for (size_t i = 0; i < kAreaNames.size(); ++i)
                db.exec(u"INSERT INTO Area (Area, AreaName) VALUES (?, ?)"_s,
                        {u"%1"_s.arg(int(i) + 1, 4, 10, QLatin1Char('0')), u8(kAreaNames[i])});

            db.exec(u"DELETE FROM UserOpt"_s);
            db.exec(u"INSERT INTO UserOpt (Gubun, UserOpt1_1, UserOpt1_2, UserOpt2, UserOpt3, UserOpt4, UserOpt5, "
                    "UserOpt6, UserOpt7, UserOpt7_1, UserOpt7_5) VALUES ('1', 10, 10, 8, 0, 1, 1, 1, 0, 0, 0)"_s);

            // Two desk users besides the administrator; their staff codes sign the generated rows.
            for (const auto &[code, id, name] : std::vector<std::array<const char *, 3>>{
                     {"0002", "desk1", "김안내"}, {"0003", "desk2", "이접수"}}) {
                db.exec(u"INSERT INTO UserM (PsCode, UserID, UserPass, UserName, GrCode, Uuse) VALUES (?, ?, ?, ?, '1', '1')"_s,
                        {u8(code), u8(id), hashPassword(u"desk1234"_s), u8(name)});
                db.exec(u"INSERT INTO Person (Pscode, Psname, resign) VALUES (?, ?, '1')"_s, {u8(code), u8(name)});
            }

            for (const LecturerDef &l : kLecturers)
                db.exec(u"INSERT INTO Lecturer (LTcode, LTName, Tel, Course, Resign) VALUES (?, ?, ?, ?, '0')"_s,
                        {u8(l.code), u8(l.name), u8(l.tel), u8(l.course)});

            const QDate created = m_shape.today.addYears(-m_shape.years - 2);
            for (const ProgramDef &s : kPrograms) {
                Prog p;
                p.course = u8(s.course);
                p.sclass = u8(s.sclass);
                p.name = u8(s.name);
                p.audience = s.audience;
                p.popularity = s.popularity;
                for (size_t i = 0; i < 7; ++i)
                    p.days[i] = s.days[i] == '1';
                const CourseDef &c = course(p.course);
                if (s.hours > 0) {
                    p.gubun = u"2"_s;
                    p.pgCode = p.course + u"000000"_s;
                    p.pgCnt1 = s.hours;
                    p.pgCnt = s.hours * 60;
                    p.allDay = true;
                    p.t1 = 6 * 60;
                    p.t2 = 22 * 60;
                    p.fees[3] = {s.monthly, 0, 0};
                } else {
                    p.gubun = u"1"_s;
                    p.pgCode = p.course + u"0000"_s + p.sclass;
                    p.time1 = u8(s.time1);
                    p.time2 = u8(s.time2);
                    p.t1 = minutesOf(s.time1);
                    p.t2 = minutesOf(s.time2);
                    p.allDay = p.t2 - p.t1 > 120;
                    p.ltCode = u8(s.lecturer);
                    for (const LecturerDef &l : kLecturers)
                        if (qstrcmp(l.code, s.lecturer) == 0)
                            p.ltName = u8(l.name);
                    const bool pt = p.course == u"2"_s && p.sclass == u"02"_s;
                    const std::array<std::pair<int, bool>, 4> offered{
                        {{1, c.m1}, {3, c.m3}, {6, c.m6 && !pt}, {12, c.m12 && !pt}}};
                    for (const auto &[months, on] : offered) {
                        if (!on)
                            continue;
                        const double factor = months == 1 ? 1.0 : months == 3 ? 0.95 : months == 6 ? 0.9 : 0.85;
                        const qint64 a1 = round1000(s.monthly * months * factor);
                        p.fees[months] = {a1, round1000(a1 * 0.9), round1000(a1 * 0.8)};
                    }
                }
                p.pgid = db.insertId(
                    u"INSERT INTO Program (PgGubun, Course, Sclass, PgCode, PgName, Time1, Time2, Mon, Tue, Wed, Thu, "
                    "Fri, Sat, Sun, LtCode, LTName, MaxNum, MaxNumChk, PgUse, Sdate, yymm, PgCnt1, PgCnt) "
                    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, '1', ?, ?, ?, ?)"_s,
                    {p.gubun, p.course, p.sclass, p.pgCode, p.name, textOrNull(p.time1), textOrNull(p.time2),
                     int(p.days[0]), int(p.days[1]), int(p.days[2]), int(p.days[3]), int(p.days[4]), int(p.days[5]),
                     int(p.days[6]), textOrNull(p.ltCode), textOrNull(p.ltName), s.maxNum,
                     s.maxNum > 0 && s.maxNum <= 15 ? u"1"_s : u"0"_s, created.toString(Qt::ISODate),
                     created.toString(u"yyyy-MM"_s), p.pgCnt1, p.pgCnt},
                    u"Pgid"_s);
                for (const auto &[months, amt] : p.fees)
                    db.exec(u"INSERT INTO ProgAmt (Pgid, MonthCnt, Amt1, Amt2, Amt3) VALUES (?, ?, ?, ?, ?)"_s,
                            {p.pgid, months, amt[0], amt[1], amt[2]});
                m_progs.push_back(std::move(p));
            }

            std::map<QString, int> running;
            int serial = 0;
            for (const GoodDef &s : kGoods) {
                Good g;
                g.sclass = u8(s.sclass);
                g.name = u8(s.name);
                g.price = s.price;
                g.ticket = s.ticket;
                g.rental = s.rental;
                g.popularity = s.popularity;
                const QString prefix = u"1"_s + g.sclass;
                g.itCode = prefix + u"-%1"_s.arg(++running[prefix], 4, 10, QLatin1Char('0'));
                g.barCode = u"880%1"_s.arg(1000000 + ++serial * 7, 10, 10, QLatin1Char('0'));
                g.itId = db.insertId(u"INSERT INTO Item (ItCode, Course, Sclass, ItName, ItAmt, BarCode, ItUse, Inwon) "
                                     "VALUES (?, '1', ?, ?, ?, ?, '1', ?)"_s,
                                     {g.itCode, g.sclass, g.name, g.price, g.barCode, g.ticket ? u"1"_s : u"0"_s},
                                     u"ItId"_s);
                if (g.rental)
                    m_rentals.push_back(int(m_goods.size()));
                m_goods.push_back(g);
            }
        });
    }

    QString ageCode(int age) const
    {
        for (const auto &b : m_ageBands)
            if (b.from <= age && age <= b.to)
                return b.code;
        return {};
    }

    // ------------------------------------------------------------ members
    QString givenName(bool male)
    {
        const auto &a = male ? kMaleFirst : kFemaleFirst;
        const auto &b = male ? kMaleSecond : kFemaleSecond;
        for (;;) {
            const char *x = m_dice.pick(a), *y = m_dice.pick(b);
            if (qstrcmp(x, y) != 0)
                return u8(x) + u8(y);
        }
    }

    // The second part of a resident number: sex and century digit, five digits
    // and a check digit that is deliberately wrong (no real person's number).
    QString residentSecond(const QString &first, bool male, bool born2000s)
    {
        QString s = QString::number(born2000s ? (male ? 3 : 4) : (male ? 1 : 2));
        for (int i = 0; i < 5; ++i)
            s += QChar(u'0' + m_dice.between(0, 9));
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
        const int n = m_shape.members;
        std::vector<int> surnameWeights;
        for (const Surname &s : kSurnames)
            surnameWeights.push_back(s.weight);
        // Registration days: the centre opened years before the visit window;
        // most members joined within it.
        const Day opened = m_shape.today.addYears(-m_shape.years - 4).toJulianDay();
        std::vector<Day> indates(static_cast<size_t>(n));
        for (Day &d : indates)
            d = m_dice.chance(35) ? opened + m_dice.between(0, int(m_from - opened))
                                  : m_from + m_dice.between(0, int(m_today - m_from));
        std::sort(indates.begin(), indates.end());
        const QDate today = m_shape.today;
        m_people.resize(size_t(n));
        for (int i = 0; i < n; ++i) {
            Person &p = m_people[size_t(i)];
            p.code = u"%1"_s.arg(i + 1, 8, 10, QLatin1Char('0'));
            p.indate = indates[size_t(i)];
            const bool male = m_dice.chance(44);
            p.sex = male ? u"남"_s : u"여"_s;
            p.name = u8(kSurnames[size_t(m_dice.weighted(surnameWeights))].hangul) + givenName(male);
            const int r = m_dice.between(0, 99);
            const int years = r < 3 ? m_dice.between(4, 6)
                              : r < 14 ? m_dice.between(7, 12)
                              : r < 20 ? m_dice.between(13, 19)
                                       : 20 + (m_dice.between(0, 58) + m_dice.between(0, 58)) / 2;
            const QDate birth = today.addYears(-years).addDays(-m_dice.between(0, 364));
            p.years = years;
            p.age = years + 1;
            p.ageGubun = ageCode(p.age);
            p.juno1 = birth.toString(u"yyMMdd"_s);
            p.juno2 = residentSecond(p.juno1, male, birth.year() >= 2000);
            p.birthDay = birth.toString(Qt::ISODate);
            p.solar = !m_dice.chance(8);
            // Distinct numbers from distinct indexes: multiplication by a number
            // prime to the range is a permutation of it.
            const qint64 mob = (qint64(i) * 7919 + 12345 + m_shape.seed % 1000) % 90000000;
            p.tel2 = u"010-%1-%2"_s.arg(1000 + mob / 10000 % 9000, 4, 10, QLatin1Char('0')).arg(mob % 10000, 4, 10, QLatin1Char('0'));
            if (p.years < 14) {
                p.guardian = p.name.left(1) + givenName(m_dice.chance(40)) ;
                p.tel2 = m_dice.chance(50) ? p.tel2 : QString();
            }
            if (m_dice.chance(45))
                p.tel1 = u"02-%1-%2"_s.arg(m_dice.between(400, 499)).arg(m_dice.between(0, 9999), 4, 10, QLatin1Char('0'));
            const qint64 card = 10000000 + (qint64(i) * 48271 + m_shape.seed) % 90000000;
            p.card = QString::number(card);
            const Place &pl = m_dice.pick(kPlaces);
            p.post = u8(pl.post);
            p.area = u8(pl.area);
            p.addr1 = u8(pl.addr);
            p.addr2 = m_dice.chance(60) ? u"%1 %2동 %3호"_s.arg(u8(m_dice.pick(kApartments))).arg(m_dice.between(101, 125))
                                              .arg(m_dice.between(1, 25) * 100 + m_dice.between(1, 8))
                                        : u"%1-%2"_s.arg(m_dice.between(1, 700)).arg(m_dice.between(1, 40));
            if (p.years >= 16 && m_dice.chance(30))
                p.email = u"user%1@%2"_s.arg(i + 1).arg(u8(m_dice.pick(kMailDomains)));
            p.gubun = p.age >= 66 && m_dice.chance(70) ? u"4"_s
                      : m_dice.chance(2)               ? u"5"_s
                      : m_dice.chance(4)               ? u"2"_s
                      : m_dice.chance(5)               ? u"6"_s
                      : i % 997 == 0                   ? u"3"_s
                                                       : u"1"_s;
            p.dm = m_dice.chance(70);
            p.sms = m_dice.chance(85);
            const int k = m_dice.between(0, 99);
            p.weight = k < 25 ? 6 : k < 70 ? 2 : 1;
            p.attendance = m_dice.around(100, 40, 25, 190);
        }
    }

    // ------------------------------------------------------------ enrollments
    bool suits(const Prog &p, const Person &who) const
    {
        switch (p.audience) {
        case Audience::Adult: return who.years >= 14;
        case Audience::Child: return who.years >= 7 && who.years <= 13;
        case Audience::Toddler: return who.years <= 6;
        case Audience::Anyone: return who.years >= 7;
        }
        return true;
    }

    void priceOf(Lect &l, const Person &who)
    {
        const Prog &p = m_progs[size_t(l.prog)];
        auto it = p.fees.find(l.months);
        if (it == p.fees.end())
            it = p.fees.begin();
        l.months = it->first;
        l.level = p.timeBased() ? 1 : (m_dice.chance(82) ? 1 : m_dice.chance(70) ? 2 : 3);
        const qint64 fee = it->second[size_t(l.level - 1)];
        static const std::map<QString, double> rates{{u"1"_s, 0}, {u"2"_s, 10}, {u"3"_s, 50},
                                                      {u"4"_s, 30}, {u"5"_s, 30}, {u"6"_s, 5}};
        l.dcYul = rates.at(who.gubun);
        l.dcAmt = round100(double(fee) * l.dcYul / 100.0);
        l.tAmt = fee - l.dcAmt;
        qint64 paid = l.tAmt;
        if (m_dice.chance(3))
            paid = round1000(double(l.tAmt) * m_dice.between(0, 70) / 100.0); // left partly unpaid
        const int how = m_dice.between(0, 99);
        if (how < 40)
            l.cash = paid;
        else if (how < 95)
            l.card = paid;
        else {
            l.cash = round1000(double(paid) / 2.0);
            l.card = paid - l.cash;
        }
        if (l.card > 0)
            l.cardCode = QString::number(m_dice.between(1, 8));
    }

    void makeEnrollments()
    {
        // Dependent rows (postponement, refund, transfer, class change, later
        // payments) come to about 9.5 % of the enrollments.
        const int target = int(std::lround(m_shape.enrollments / 1.095));
        // Members are in the order they joined, so the members who had joined
        // by a day are a prefix of the list, and their cumulative weights a
        // prefix of `cumulative`.
        std::vector<qint64> cumulative(m_people.size());
        qint64 total = 0;
        for (size_t i = 0; i < m_people.size(); ++i)
            cumulative[i] = total += m_people[i].weight;
        std::vector<int> progWeights(m_progs.size());
        std::map<std::pair<int, int>, int> seen; // (person, prog) → enrollments so far
        // Chains start a year before the window too, so that the window opens
        // on a centre already in its usual state.
        const Day first = m_from - 400;
        while (int(m_lects.size()) < target) {
            // The first day of a chain, evenly over the window, then a member
            // who had joined by then: the centre is about as busy every month.
            const Day day0 = first + m_dice.between(0, int(m_today + 25 - first));
            const Day joinedBy = std::min(day0, m_today);
            const auto joined = std::upper_bound(m_people.begin(), m_people.end(), joinedBy,
                                                 [](Day d, const Person &p) { return d < p.indate; });
            const int members = int(joined - m_people.begin());
            if (members == 0)
                continue;
            const qint64 r = qint64(m_dice.unit() * double(cumulative[size_t(members - 1)]));
            const int person = std::min(int(std::upper_bound(cumulative.begin(), cumulative.begin() + members, r) - cumulative.begin()),
                                        members - 1);
            const Person &who = m_people[size_t(person)];
            for (size_t i = 0; i < m_progs.size(); ++i)
                progWeights[i] = suits(m_progs[i], who) ? m_progs[i].popularity : 0;
            const int prog = m_dice.weighted(progWeights);
            const Prog &p = m_progs[size_t(prog)];
            Day start = std::max(day0, who.indate);
            // A chain of consecutive renewals of the same program.
            for (;;) {
                Lect l;
                l.person = person;
                l.prog = prog;
                const int m = m_dice.between(0, 99);
                l.months = p.timeBased() ? 3 : m < 55 ? 1 : m < 83 ? 3 : m < 93 ? 6 : 12;
                priceOf(l, who);
                l.s1 = start;
                l.s2 = endAfterMonths(start, l.months);
                l.rq = std::min(m_today, start - m_dice.between(0, 9));
                l.rq = std::max(l.rq, who.indate);
                l.d1 = l.s1;
                l.d2 = l.s2;
                l.admitFrom = l.s1;
                l.admitTo = l.s2;
                l.secs = m_dice.between(6 * 3600, 21 * 3600);
                const int times = seen[{person, prog}]++;
                l.lectGubun = times == 0 ? u"1"_s : u"2"_s;
                if (l.tAmt > l.cash + l.card)
                    m_people[size_t(person)].misu += l.tAmt - l.cash - l.card;
                m_lects.push_back(std::move(l));
                if (int(m_lects.size()) >= target)
                    break;
                const Day next = m_lects.back().s2 + 1 + (m_dice.chance(80) ? 0 : m_dice.between(1, 40));
                if (next > m_today || !m_dice.chance(p.timeBased() ? 30 : 62))
                    break;
                start = next;
            }
        }
    }

    Lect dependentOf(int base, Kind kind, Day on)
    {
        const Lect &b = m_lects[size_t(base)];
        Lect l;
        l.kind = kind;
        l.base = base;
        l.person = b.person;
        l.prog = b.prog;
        l.months = b.months;
        l.level = b.level;
        l.dcYul = b.dcYul;
        l.lectGubun = b.lectGubun;
        l.rq = on;
        l.secs = m_dice.between(6 * 3600, 21 * 3600);
        return l;
    }

    void makeEvents()
    {
        const int bases = int(m_lects.size());
        // At most one dependent row per enrollment: no reallocation below, so
        // references to the base rows stay valid while rows are added.
        m_lects.reserve(size_t(bases) * 2 + 16);
        for (int i = 0; i < bases; ++i) {
            Lect &b = m_lects[size_t(i)];
            const Prog &p = m_progs[size_t(b.prog)];
            const CourseDef &c = course(p.course);
            const Day latest = std::min(b.s2 - 5, m_today);
            if (latest < b.s1 + 5)
                continue;
            const int r = m_dice.between(0, 999);
            const Day on = b.s1 + 5 + m_dice.between(0, int(latest - b.s1 - 5));
            if (r < 30 && !p.timeBased() && c.delay) {
                Lect l = dependentOf(i, Kind::Postponement, on);
                l.rday = m_dice.between(7, 30);
                l.s1 = on;
                l.s2 = on + l.rday - 1;
                l.d1 = b.s1;
                l.d2 = b.s2;
                l.remark = m_dice.pick(std::vector<QString>{u"출장"_s, u"부상"_s, u"개인사정"_s, u"여행"_s});
                b.pauseFrom = l.s1;
                b.pauseTo = l.s2;
                b.s2 += l.rday;
                b.admitTo = b.s2;
                b.delay = add(std::move(l));
            } else if (r < 50 && c.cancel) {
                Lect l = dependentOf(i, Kind::Refund, on);
                const qint64 paid = b.cash + b.card;
                const double left = double(on <= b.s2 ? b.s2 - on : 0) / double(b.s2 - b.s1 + 1);
                qint64 amount = qint64(double(paid) * left * 0.9);
                amount -= amount % 10;
                l.s1 = b.s1;
                l.s2 = on;
                l.tAmt = amount;
                (b.cash >= b.card ? l.cash : l.card) = amount;
                l.rday = int(b.s2 - on);
                b.s2 = on;
                b.admitTo = on - 1;
                b.cancel = add(std::move(l));
            } else if (r < 60 && c.transfer && !p.timeBased()) {
                // To another grown-up member who joined before the day.
                int to = -1;
                for (int tries = 0; tries < 20 && to < 0; ++tries) {
                    const int k = m_dice.between(0, int(m_people.size()) - 1);
                    if (k != b.person && m_people[size_t(k)].years >= 14 && m_people[size_t(k)].indate <= on
                        && suits(p, m_people[size_t(k)]))
                        to = k;
                }
                if (to < 0)
                    continue;
                Lect l = dependentOf(i, Kind::Transfer, on);
                l.person = to;
                l.s1 = on + 1;
                l.s2 = b.s2;
                l.d1 = b.s1;
                l.d2 = b.s2;
                l.admitFrom = l.s1;
                l.admitTo = l.s2;
                b.s2 = on;
                b.admitTo = on - 1;
                b.transfer = add(std::move(l));
            } else if (r < 80 && !p.timeBased()) {
                std::vector<int> targets;
                for (size_t k = 0; k < m_progs.size(); ++k)
                    if (int(k) != b.prog && !m_progs[k].timeBased() && m_progs[k].course == p.course
                        && suits(m_progs[k], m_people[size_t(b.person)]))
                        targets.push_back(int(k));
                if (targets.empty())
                    continue;
                Lect l = dependentOf(i, Kind::Change, on);
                l.prog = m_dice.pick(targets);
                const Prog &np = m_progs[size_t(l.prog)];
                if (!np.fees.count(l.months))
                    l.months = np.fees.begin()->first;
                l.s1 = on;
                l.s2 = b.s2;
                l.d1 = l.s1;
                l.d2 = l.s2;
                const double perOld = double(p.fees.at(b.months)[size_t(b.level - 1)]) / b.months;
                const double perNew = double(np.fees.at(l.months)[size_t(b.level - 1)]) / l.months;
                l.tAmt = qint64(std::trunc((perNew - perOld) * double(b.s2 - on + 1) / 30.0 / 100.0)) * 100;
                (m_dice.chance(60) ? l.cash : l.card) = l.tAmt;
                l.admitFrom = l.s1;
                l.admitTo = l.s2;
                b.s2 = on - 1;
                b.admitTo = b.s2;
                b.change = add(std::move(l));
            } else if (r < 95 && b.tAmt > b.cash + b.card) {
                // A later payment of the outstanding amount.
                Lect l = dependentOf(i, Kind::Payment, on);
                const qint64 owed = b.tAmt - b.cash - b.card;
                (m_dice.chance(50) ? l.cash : l.card) = owed;
                if (l.card > 0)
                    l.cardCode = QString::number(m_dice.between(1, 8));
                m_people[size_t(b.person)].misu -= owed;
                add(std::move(l));
            }
        }
        // Rows are numbered in the order they were registered.
        std::vector<int> order(m_lects.size());
        for (size_t i = 0; i < order.size(); ++i)
            order[i] = int(i);
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            const Lect &x = m_lects[size_t(a)], &y = m_lects[size_t(b)];
            return x.rq != y.rq ? x.rq < y.rq : x.secs < y.secs;
        });
        for (size_t k = 0; k < order.size(); ++k)
            m_lects[size_t(order[k])].ltid = qint64(k) + 1;
        m_lectOrder = std::move(order);
    }

    int add(Lect &&l)
    {
        m_lects.push_back(std::move(l));
        return int(m_lects.size()) - 1;
    }

    // ------------------------------------------------------------ visits
    int visitTime(const Prog &p)
    {
        if (!p.allDay)
            return p.t1 - m_dice.between(3, 20);
        // Busy early mornings and evenings, quieter in the day.
        const int r = m_dice.between(0, 99);
        if (r < 42)
            return m_dice.around(7 * 60, 50, 6 * 60 + 2, 11 * 60 + 30);
        if (r < 85)
            return m_dice.around(19 * 60 + 15, 70, 17 * 60, 21 * 60 + 20);
        return m_dice.between(11 * 60 + 30, 17 * 60);
    }

    void makeVisits()
    {
        const Day last = m_today - 1; // today is left to the benchmarks
        auto eligible = [&](const Lect &l, Day d) {
            return d >= m_from && d >= l.admitFrom && d <= l.admitTo && d <= last
                && !(l.pauseFrom <= d && d <= l.pauseTo) && m_progs[size_t(l.prog)].admitsOn(d);
        };
        double weighted = 0;
        for (const Lect &l : m_lects) {
            if (!l.admits())
                continue;
            const Person &who = m_people[size_t(l.person)];
            const Prog &p = m_progs[size_t(l.prog)];
            double factor = who.attendance / 100.0 * (p.timeBased() ? 0.35 : p.allDay ? 0.8 : 1.0);
            for (Day d = std::max(l.admitFrom, m_from); d <= std::min(l.admitTo, last); ++d)
                if (eligible(l, d))
                    weighted += factor;
        }
        const double rate = weighted > 0 ? std::min(0.97, double(m_shape.visits) / weighted) : 0;
        m_visits.reserve(size_t(m_shape.visits * 1.02));
        for (int li = 0; li < int(m_lects.size()); ++li) {
            Lect &l = m_lects[size_t(li)];
            if (!l.admits())
                continue;
            const Person &who = m_people[size_t(l.person)];
            const Prog &p = m_progs[size_t(l.prog)];
            const double chance = rate * who.attendance / 100.0 * (p.timeBased() ? 0.35 : p.allDay ? 0.8 : 1.0) * 100.0;
            for (Day d = std::max(l.admitFrom, m_from); d <= std::min(l.admitTo, last); ++d) {
                if (!eligible(l, d) || !m_dice.chance(chance))
                    continue;
                if (p.timeBased() && l.used >= p.pgCnt)
                    break;
                Visit v{d, 0, -1, li, -1};
                const int in = p.allDay ? std::clamp(visitTime(p), p.t1 + 2, p.t2 - 30) : visitTime(p);
                int out;
                if (p.allDay)
                    out = std::min(in + m_dice.between(40, 130), 22 * 60);
                else
                    out = p.t2 + m_dice.between(5, 25);
                v.in = qint16(std::max(in, 5 * 60 + 50));
                if (p.timeBased() || m_dice.chance(65))
                    v.out = qint16(std::min(out, 23 * 60 + 50));
                if (p.timeBased())
                    l.used += v.out - v.in;
                if ((p.course == u"1"_s || p.course == u"2"_s) && !m_rentals.empty() && m_dice.chance(5))
                    v.item = qint8(m_dice.pick(m_rentals));
                m_visits.push_back(v);
            }
        }
        std::stable_sort(m_visits.begin(), m_visits.end(),
                         [](const Visit &a, const Visit &b) { return a.day != b.day ? a.day < b.day : a.in < b.in; });
        for (const Visit &v : m_visits) {
            Person &who = m_people[size_t(m_lects[size_t(v.lect)].person)];
            if (v.day > who.lastVisit || (v.day == who.lastVisit && v.in > who.lastIn)) {
                who.lastVisit = v.day;
                who.lastIn = v.in;
            }
        }
    }

    // ------------------------------------------------------------ sales
    struct SaleLine {
        Day day;
        int secs;
        int user;     // 0..2
        int slNo, seq, good, qty, person; // person -1: counter sale
        qint64 cash, card, total;
        QString cardCode;
    };

    void makeSales()
    {
        if (m_shape.saleLines <= 0)
            return;
        std::vector<int> weights;
        for (const Good &g : m_goods)
            weights.push_back(g.rental ? 0 : g.popularity);
        const qint64 days = m_today - m_from;
        const double perDay = double(m_shape.saleLines) / double(days);
        m_sales.reserve(size_t(m_shape.saleLines + 16));
        for (Day d = m_from; d < m_today && qint64(m_sales.size()) < m_shape.saleLines; ++d) {
            const int lines = std::max(1, int(std::lround(perDay * (0.7 + 0.6 * m_dice.unit()))));
            std::array<int, 3> slNo{};
            int made = 0;
            std::vector<int> secsOfDay;
            while (made < lines) {
                const int n = std::min(lines - made, m_dice.chance(70) ? 1 : m_dice.between(2, 4));
                const int user = m_dice.between(0, 2);
                const int no = ++slNo[size_t(user)];
                const int secs = m_dice.between(6 * 3600, 22 * 3600 - 1);
                const int person = m_dice.chance(70) ? -1 : m_dice.between(0, int(m_people.size()) - 1);
                qint64 total = 0;
                const size_t first = m_sales.size();
                for (int k = 0; k < n; ++k) {
                    SaleLine s{d, secs, user, no, k + 1, m_dice.weighted(weights), m_dice.chance(85) ? 1 : m_dice.between(2, 3),
                               person, 0, 0, 0, {}};
                    total += qint64(s.qty) * m_goods[size_t(s.good)].price;
                    m_sales.push_back(s);
                }
                SaleLine &head = m_sales[first];
                head.total = total;
                if (m_dice.chance(55))
                    head.cash = total;
                else {
                    head.card = total;
                    head.cardCode = QString::number(m_dice.between(1, 8));
                }
                made += n;
            }
        }
    }

    // ------------------------------------------------------------ loading
    struct IndexDdl {
        QString table, name, create;
    };

    static std::vector<IndexDdl> indexesOf(const QString &table, Engine engine)
    {
        std::vector<IndexDdl> out;
        const Table *t = findTable(table);
        if (!t)
            fail(u"unknown table "_s + table);
        for (const QString &s : createTableStatements(*t, engine)) {
            if (!s.startsWith(u"CREATE INDEX"_s) && !s.startsWith(u"CREATE UNIQUE INDEX"_s))
                continue;
            const QString name = s.section(u' ', s.startsWith(u"CREATE UNIQUE"_s) ? 3 : 2, s.startsWith(u"CREATE UNIQUE"_s) ? 3 : 2);
            out.push_back({table, name, s});
        }
        return out;
    }

    QSqlDatabase openBulk(const QString &name, const QString &file)
    {
        QSqlDatabase db;
        if (m_ctx.engine == Engine::SQLite) {
            db = QSqlDatabase::addDatabase(u"QSQLITE"_s, name);
            db.setDatabaseName(file);
        } else {
            const QString source = m_ctx.dbSettings.source;
            db = QSqlDatabase::addDatabase(u"QPSQL"_s, name);
            db.setHostName(source.section(u':', 0, 0));
            db.setPort(source.contains(u':') ? source.section(u':', 1, 1).toInt() : 5432);
            db.setDatabaseName(m_ctx.dbSettings.name);
            db.setUserName(m_ctx.dbSettings.user);
            db.setPassword(m_ctx.dbSettings.password);
        }
        if (!db.open())
            fail(u"cannot open %1: %2"_s.arg(file, db.lastError().text()));
        auto run = [&](const QString &sql) {
            QSqlQuery q(db);
            if (!q.exec(sql))
                fail(sql + u": "_s + q.lastError().text());
        };
        if (m_ctx.engine == Engine::SQLite) {
            // A half-made centre is never used, so the load need not survive a crash.
            run(u"PRAGMA journal_mode = OFF"_s);
            run(u"PRAGMA synchronous = OFF"_s);
            run(u"PRAGMA cache_size = -400000"_s);
            run(u"PRAGMA temp_store = MEMORY"_s);
        } else {
            run(u"SET synchronous_commit = off"_s);
            run(u"SET maintenance_work_mem = '512MB'"_s);
            run(u"SET client_min_messages = warning"_s);
        }
        return db;
    }

    static void exec(const QSqlDatabase &db, const QString &sql)
    {
        QSqlQuery q(db);
        if (!q.exec(sql))
            fail(sql + u": "_s + q.lastError().text());
    }

    void closeBulk(const QString &base)
    {
        for (const QString &n : {QString(base + u"_main"_s), QString(base + u"_ent"_s)}) {
            if (QSqlDatabase::contains(n)) {
                QSqlDatabase::database(n, false).close();
                QSqlDatabase::removeDatabase(n);
            }
        }
    }

    void load(const QString &bulkName)
    {
        const bool pg = m_ctx.engine == Engine::PostgreSQL;
        QSqlDatabase mainDb = openBulk(bulkName + u"_main"_s, m_ctx.paths.mainDb);
        QSqlDatabase entDb = pg ? mainDb : openBulk(bulkName + u"_ent"_s, m_ctx.paths.entDb);
        const int batch = pg ? 1000 : 200;
        const QStringList mainTables{u"Member"_s, u"Lecture"_s, u"Sale"_s};
        const QStringList entTables{u"entrance"_s, u"ItemTrs"_s};
        std::vector<IndexDdl> dropped;
        auto begin = [&](QSqlDatabase &db) { exec(db, pg ? u"BEGIN"_s : u"BEGIN IMMEDIATE"_s); };
        phase(u"drop indexes"_s, [&] {
            for (const QString &t : mainTables + entTables) {
                QSqlDatabase &db = mainTables.contains(t) ? mainDb : entDb;
                for (const IndexDdl &ix : indexesOf(t, m_ctx.engine)) {
                    exec(db, u"DROP INDEX IF EXISTS "_s + ix.name);
                    dropped.push_back(ix);
                }
            }
        });
        begin(mainDb);
        if (!pg)
            begin(entDb);
        phase(u"load members"_s, [&] { loadMembers(mainDb, batch); });
        phase(u"load enrollments"_s, [&] { loadLectures(mainDb, batch); });
        phase(u"load visits"_s, [&] { loadVisits(entDb, batch); });
        phase(u"load sales"_s, [&] { loadSales(mainDb, batch); });
        phase(u"build indexes"_s, [&] {
            for (const IndexDdl &ix : dropped)
                exec(entTables.contains(ix.table) ? entDb : mainDb, ix.create);
        });
        phase(u"commit"_s, [&] {
            if (pg) {
                // The ids were given here; the identity columns continue after them.
                for (const auto &[table, column] : std::vector<std::pair<QString, QString>>{
                         {u"lecture"_s, u"ltid"_s}, {u"entrance"_s, u"entid"_s}, {u"itemtrs"_s, u"id"_s}, {u"sale"_s, u"slid"_s}})
                    exec(mainDb, u"SELECT setval(pg_get_serial_sequence('%1', '%2'), GREATEST(1, (SELECT COALESCE(MAX(%2), 0) FROM %1)))"_s
                                     .arg(table, column));
            }
            exec(mainDb, u"COMMIT"_s);
            if (!pg) {
                exec(entDb, u"COMMIT"_s);
                exec(mainDb, u"PRAGMA journal_mode = WAL"_s);
                exec(entDb, u"PRAGMA journal_mode = WAL"_s);
            }
        });
        if (pg)
            phase(u"analyze"_s, [&] { exec(mainDb, u"ANALYZE"_s); });
    }

    void loadMembers(QSqlDatabase &db, int batch)
    {
        BulkInserter ins(db, u"Member"_s,
                         {u"MbCode"_s, u"MbName"_s, u"MbName1"_s, u"Juno1"_s, u"Juno2"_s, u"Age"_s, u"Sex"_s, u"Tel1"_s,
                          u"Tel2"_s, u"Tel3"_s, u"Indate"_s, u"Email1"_s, u"PostNo"_s, u"Addr1"_s, u"Addr2"_s,
                          u"BirthDay"_s, u"Solor"_s, u"MbGubun"_s, u"MbCard"_s, u"Ext"_s, u"Dm"_s, u"SMS"_s,
                          u"MisuAmt"_s, u"Point"_s, u"LastDate"_s, u"LastTime"_s, u"Area"_s},
                         batch / 2);
        for (const Person &p : m_people) {
            const bool visited = p.lastIn >= 0;
            ins.add({p.code, p.name, textOrNull(p.guardian), p.juno1, p.juno2, p.age, p.sex, textOrNull(p.tel1),
                     textOrNull(p.tel2), nullText(), fmt(p.indate), textOrNull(p.email), p.post, p.addr1, p.addr2,
                     p.birthDay, p.solar ? u"1"_s : u"0"_s, p.gubun, p.card, nullText(), p.dm ? u"1"_s : u"0"_s,
                     p.sms ? u"1"_s : u"0"_s, std::max<qint64>(0, p.misu), 0,
                     visited ? QVariant(fmt(p.lastVisit)) : nullText(),
                     visited ? QVariant(hhmmss(p.lastIn * 60)) : nullText(), p.area});
        }
        ins.flush();
    }

    void loadLectures(QSqlDatabase &db, int batch)
    {
        BulkInserter ins(db, u"Lecture"_s, lectureColumnNames(), batch / 4);
        static const LectureKind kindOf[] = {LectureKind::Enrollment, LectureKind::Postponement, LectureKind::Refund,
                                             LectureKind::TransferIn, LectureKind::ClassChange,
                                             LectureKind::Enrollment};
        auto idOf = [&](int i) { return i < 0 ? qint64(0) : m_lects[size_t(i)].ltid; };
        for (int i : m_lectOrder) {
            const Lect &l = m_lects[size_t(i)];
            const Person &who = m_people[size_t(l.person)];
            const Lect &b = l.base >= 0 ? m_lects[size_t(l.base)] : l;
            const Person &baseWho = m_people[size_t(b.person)];
            const Prog &p = m_progs[size_t(l.prog)];
            const Prog &bp = m_progs[size_t(b.prog)];
            const bool payment = l.kind == Kind::Payment;
            const bool timed = !p.timeBased() && !payment;
            LectureRecord r;
            r.ltid = l.ltid;
            r.kind = kindOf[int(l.kind)];
            r.programKind = payment ? ProgramKind::Payment : programKindOf(p.gubun);
            r.mbCode = who.code;
            r.mbName = who.name;
            r.sex = who.sex;
            r.mbGubun = who.gubun;
            r.age = who.age;
            r.ageGubun = who.ageGubun;
            r.bMbCode = baseWho.code;
            if (!payment) {
                r.pgid = p.pgid;
                r.pgCode = p.pgCode;
                r.pgName = p.name;
                r.course = p.course;
                r.sclass = p.sclass;
                r.bpgid = bp.pgid;
                r.bLtid = idOf(l.base);
                r.sDate1 = fmt(l.s1);
                r.sDate2 = fmt(l.s2);
                r.dDate1 = fmt(l.d1);
                r.dDate2 = fmt(l.d2);
                r.monthCnt = l.months;
            }
            if (timed) {
                r.time1 = p.time1;
                r.time2 = p.time2;
                if (!p.ltCode.isEmpty())
                    r.ltCode = p.ltCode;
            }
            r.rqDate = fmt(l.rq);
            r.ltyymm = fmt(payment ? l.rq : b.s1).left(7);
            r.amtGubun = QString::number(l.level);
            r.lectGubun = l.lectGubun;
            r.dcGubun = l.dcAmt > 0 ? u"1"_s : u"0"_s;
            r.dcAmt = l.dcAmt;
            r.dcYul = l.dcYul;
            r.tAmt = l.tAmt;
            r.cashAmt = l.cash;
            r.cardAmt = l.card;
            if (!l.cardCode.isEmpty())
                r.card = l.cardCode;
            r.misuAmt = l.kind == Kind::Enrollment ? l.tAmt - l.cash - l.card : 0;
            r.pgCnt = p.timeBased() && !payment ? p.pgCnt : 0;
            r.pgCnt1 = p.timeBased() && !payment ? p.pgCnt1 : 0;
            r.uPgCnt = l.used;
            r.delay = idOf(l.delay);
            r.cancel = idOf(l.cancel);
            r.transfer = idOf(l.transfer);
            r.change = idOf(l.change);
            r.rday = l.rday;
            if (!l.remark.isEmpty())
                r.remark = l.remark;
            if (l.rq < m_today)
                r.fDate = fmt(l.rq);
            r.lastUser = u"%1"_s.arg(1 + i % 3, 4, 10, QLatin1Char('0'));
            r.lastDate = fmt(l.rq);
            r.lastTime = hhmmss(l.secs);
            ins.add(lectureValues(r));
        }
        ins.flush();
    }

    void loadVisits(QSqlDatabase &db, int batch)
    {
        BulkInserter ins(db, u"entrance"_s,
                         {u"Entid"_s, u"InDate"_s, u"InTime"_s, u"OutTime"_s, u"PgGubun"_s, u"MbCode"_s, u"MbCard"_s,
                          u"Ltid"_s, u"Pgid"_s, u"Course"_s, u"uTime"_s},
                         batch);
        BulkInserter items(db, u"ItemTrs"_s, {u"Id"_s, u"Entid"_s, u"ItId"_s}, batch);
        qint64 entid = 0, itemId = 0;
        QString dayText;
        Day day = -1;
        for (const Visit &v : m_visits) {
            const Lect &l = m_lects[size_t(v.lect)];
            const Person &who = m_people[size_t(l.person)];
            const Prog &p = m_progs[size_t(l.prog)];
            if (v.day != day) {
                day = v.day;
                dayText = fmt(day);
            }
            const bool out = v.out >= 0;
            ins.add({++entid, dayText, hhmm(v.in), out ? QVariant(hhmm(v.out)) : nullText(), p.gubun, who.code, who.card,
                     l.ltid, p.pgid, p.course, out ? v.out - v.in : 0});
            if (v.item >= 0)
                items.add({++itemId, entid, m_goods[size_t(v.item)].itId});
        }
        ins.flush();
        items.flush();
    }

    void loadSales(QSqlDatabase &db, int batch)
    {
        if (m_sales.empty())
            return;
        BulkInserter ins(db, u"Sale"_s,
                         {u"SlId"_s, u"SlNo"_s, u"SEQ"_s, u"ItId"_s, u"ItCode"_s, u"Course"_s, u"Sclass"_s, u"SlDate"_s,
                          u"Slyymm"_s, u"MbCode"_s, u"Slqty"_s, u"SlCost"_s, u"SlAmt1"_s, u"DcYul"_s, u"DcAmt"_s,
                          u"DcGubun"_s, u"SlAmt"_s, u"CashAmt"_s, u"CardAmt"_s, u"SLTAmt"_s, u"CardChk"_s,
                          u"CardGubun"_s, u"CashChk"_s, u"MisuAmt"_s, u"FnChk"_s, u"SlfDate"_s, u"PosNo"_s,
                          u"Reprint"_s, u"LastUser"_s, u"LastTime"_s},
                         batch / 2);
        qint64 slid = 0;
        for (const SaleLine &s : m_sales) {
            const Good &g = m_goods[size_t(s.good)];
            const qint64 amount = qint64(s.qty) * g.price;
            const bool head = s.seq == 1;
            const QString day = fmt(s.day);
            ins.add({++slid, u"%1"_s.arg(s.slNo, 4, 10, QLatin1Char('0')), s.seq, g.itId, g.itCode, u"1"_s, g.sclass,
                     day, day.left(7), s.person < 0 ? u"00000000"_s : m_people[size_t(s.person)].code, s.qty,
                     g.price, amount, 0.0, 0, u"0"_s, amount, head ? s.cash : 0, head ? s.card : 0,
                     head ? s.total : 0, head && s.card > 0 ? u"1"_s : u"0"_s, textOrNull(head ? s.cardCode : QString()),
                     head && s.cash > 0 ? u"1"_s : u"0"_s, 0, u"1"_s, day, s.user + 1, u"0"_s,
                     u"%1"_s.arg(s.user + 1, 4, 10, QLatin1Char('0')), hhmmss(s.secs)});
        }
        ins.flush();
    }

    struct AgeBand {
        QString code;
        int from, to;
    };

    AppContext &m_ctx;
    CentreShape m_shape;
    Progress m_progress;
    Dice m_dice;
    Day m_today, m_from;
    QList<PhaseTime> m_times;
    std::vector<AgeBand> m_ageBands;
    std::vector<Prog> m_progs;
    std::vector<Good> m_goods;
    std::vector<int> m_rentals;
    std::vector<Person> m_people;
    std::vector<Lect> m_lects;
    std::vector<int> m_lectOrder;
    std::vector<Visit> m_visits;
    std::vector<SaleLine> m_sales;
};

// ---------------------------------------------------------------------------
// Cache
// ---------------------------------------------------------------------------
const char *const kMarkerFile = "centre.complete";

QString pgHost() { return qEnvironmentVariable("FITROVA_PG_HOST"); }
int pgPort() { return qEnvironmentVariableIntValue("FITROVA_PG_PORT"); }
QString pgUser() { return qEnvironmentVariable("FITROVA_PG_USER"); }

// Runs one statement on the server's maintenance database.
void adminExec(const QString &sql)
{
    const QString name = u"fitrova_bench_admin"_s;
    {
        QSqlDatabase db = QSqlDatabase::contains(name) ? QSqlDatabase::database(name, false)
                                                       : QSqlDatabase::addDatabase(u"QPSQL"_s, name);
        db.setHostName(pgHost());
        db.setPort(pgPort());
        db.setUserName(pgUser());
        db.setDatabaseName(u"postgres"_s);
        if (!db.isOpen() && !db.open())
            fail(u"cannot reach the PostgreSQL server: "_s + db.lastError().text());
        QSqlQuery q(db);
        if (!q.exec(sql))
            fail(sql + u": "_s + q.lastError().text());
    }
}

bool serverDatabaseExists(const QString &name)
{
    const QString conn = u"fitrova_bench_admin"_s;
    adminExec(u"SELECT 1"_s);
    QSqlQuery q(QSqlDatabase::database(conn, false));
    q.prepare(u"SELECT 1 FROM pg_database WHERE datname = ?"_s);
    q.addBindValue(name);
    return q.exec() && q.next();
}

// The completion mark of a server centre: a row in its own database, written
// after everything else was committed.
QSqlDatabase markerConnection(const QString &database)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(u"QPSQL"_s, u"fitrova_bench_marker"_s);
    db.setHostName(pgHost());
    db.setPort(pgPort());
    db.setUserName(pgUser());
    db.setDatabaseName(database);
    return db;
}

std::optional<QString> readServerMarker(const QString &database, const QString &key)
{
    std::optional<QString> out;
    {
        QSqlDatabase db = markerConnection(database);
        if (db.open()) {
            QSqlQuery q(db);
            q.prepare(u"SELECT v FROM bench_centre WHERE k = ?"_s);
            q.addBindValue(key);
            if (q.exec() && q.next())
                out = q.value(0).toString();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(u"fitrova_bench_marker"_s);
    return out;
}

void writeServerMarker(const QString &database, const QString &key, const QString &text)
{
    QString error;
    {
        QSqlDatabase db = markerConnection(database);
        if (!db.open()) {
            error = db.lastError().text();
        } else {
            QSqlQuery q(db);
            if (!q.exec(u"CREATE TABLE bench_centre (k TEXT PRIMARY KEY, v TEXT)"_s))
                error = q.lastError().text();
            q.prepare(u"INSERT INTO bench_centre (k, v) VALUES (?, ?)"_s);
            q.addBindValue(key);
            q.addBindValue(text);
            if (error.isEmpty() && !q.exec())
                error = q.lastError().text();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(u"fitrova_bench_marker"_s);
    if (!error.isEmpty())
        fail(u"cannot mark the centre complete: "_s + error);
}

void writeConfig(const QString &dir, Engine engine, const QString &pgDatabase)
{
    QDir().mkpath(dir);
    const IniFile ini(Paths::iniPathFor(dir));
    const QString S = u"DATABASE"_s;
    ini.setValue(S, u"Version"_s, u"1.0"_s);
    ini.setValue(S, u"NetWork"_s, u"NO"_s);
    ini.setValue(S, u"ServerPath"_s, dir);
    if (engine == Engine::PostgreSQL) {
        ini.setValue(S, u"Type"_s, u"SQL"_s);
        ini.setValue(S, u"Source"_s, pgHost() + u":"_s + QString::number(pgPort()));
        ini.setValue(S, u"Name"_s, pgDatabase);
        ini.setValue(S, u"User"_s, pgUser());
        ini.setValue(S, u"Password"_s, QString());
    } else {
        ini.setValue(S, u"Type"_s, u"ACCESS"_s);
    }
}

QString timesText(const QList<PhaseTime> &times)
{
    QString s;
    for (const PhaseTime &t : times)
        s += u"%1\t%2\n"_s.arg(t.phase).arg(t.seconds, 0, 'f', 2);
    return s;
}

QList<PhaseTime> parseTimes(const QString &text)
{
    QList<PhaseTime> out;
    for (const QString &line : text.split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList f = line.split(u'\t');
        if (f.size() == 2 && !f[0].startsWith(u"key"_s))
            out.append({f[0], f[1].toDouble()});
    }
    return out;
}

} // namespace

// ---------------------------------------------------------------------------

CentreShape CentreShape::fromEnvironment()
{
    CentreShape s;
    bool ok = false;
    const quint32 seed = qEnvironmentVariable("FITROVA_BENCH_SEED").toUInt(&ok);
    if (ok)
        s.seed = seed;
    const double scale = qEnvironmentVariable("FITROVA_BENCH_SCALE").toDouble(&ok);
    if (ok && scale > 0 && scale != 1.0)
        s = s.scaled(scale);
    return s;
}

CentreShape CentreShape::scaled(double f) const
{
    CentreShape s = *this;
    s.members = std::max(50, int(std::lround(members * f)));
    s.enrollments = std::max(100, int(std::lround(enrollments * f)));
    s.visits = std::max<qint64>(500, qint64(std::llround(double(visits) * f)));
    s.saleLines = saleLines > 0 ? std::max<qint64>(100, qint64(std::llround(double(saleLines) * f))) : 0;
    return s;
}

QString CentreShape::key() const
{
    QString k = u"g%1s%2-%3"_s.arg(kGeneratorVersion).arg(schemaVersion()).arg(seed);
    const CentreShape full;
    if (members != full.members || enrollments != full.enrollments || visits != full.visits
        || saleLines != full.saleLines || years != full.years || today != full.today)
        k += u"-m%1e%2v%3s%4y%5d%6"_s.arg(members).arg(enrollments).arg(visits).arg(saleLines).arg(years)
                 .arg(today.toString(u"yyyyMMdd"_s));
    return k;
}

QList<PhaseTime> generateInto(AppContext &ctx, const CentreShape &shape, const Progress &progress)
{
    Generator g(ctx, shape, progress);
    return g.run();
}

QList<Engine> BenchCentre::enginesFromEnvironment()
{
    QList<Engine> e{Engine::SQLite};
    if (!pgHost().isEmpty() && pgPort() > 0 && !pgUser().isEmpty())
        e << Engine::PostgreSQL;
    return e;
}

QString BenchCentre::cacheRoot()
{
    const QString env = qEnvironmentVariable("FITROVA_BENCH_CACHE");
    if (!env.isEmpty())
        return QDir::cleanPath(env);
    return QDir::homePath() + u"/.cache/fitrova-bench"_s;
}

BenchCentre BenchCentre::open(Engine engine, const CentreShape &shape, const Progress &progress)
{
    BenchCentre c;
    c.m_engine = engine;
    c.m_shape = shape;
    c.m_clock = std::make_shared<FixedClock>(QDateTime(shape.today, QTime(10, 0)));
    const QString root = cacheRoot();
    QDir().mkpath(root);
    const bool pg = engine == Engine::PostgreSQL;
    const QString key = shape.key();
    c.m_installDir = root + u"/"_s + key + (pg ? u"-pg"_s : QString());
    if (pg)
        c.m_pgDatabase = u"fitrova_bench_"_s + key.toLower().replace(u'-', u'_');

    // One generation at a time per centre, also across processes.
    QLockFile lock(c.m_installDir + u".lock"_s);
    lock.setStaleLockTime(0);
    if (!lock.lock())
        fail(u"cannot lock "_s + lock.fileName());

    auto say = [&](const QString &s) {
        if (progress)
            progress(s);
    };
    const QString marker = c.m_installDir + u"/"_s + QString::fromLatin1(kMarkerFile);
    // The marker is written last, after the data is committed; without it the
    // folder (and the server database) is a half-made centre and is made anew.
    if (pg) {
        if (serverDatabaseExists(c.m_pgDatabase)) {
            if (const auto text = readServerMarker(c.m_pgDatabase, key)) {
                writeConfig(c.m_installDir, engine, c.m_pgDatabase);
                c.m_times = parseTimes(*text);
                return c;
            }
        }
    } else if (QFileInfo::exists(marker)) {
        QFile f(marker);
        if (f.open(QIODevice::ReadOnly))
            c.m_times = parseTimes(QString::fromUtf8(f.readAll()));
        return c;
    }

    say(u"generating the benchmark centre %1 (%2) into %3"_s.arg(key, pg ? u"PostgreSQL"_s : u"SQLite"_s,
                                                                  pg ? c.m_pgDatabase : c.m_installDir));
    QDir(c.m_installDir).removeRecursively();
    if (pg) {
        adminExec(u"DROP DATABASE IF EXISTS %1 WITH (FORCE)"_s.arg(c.m_pgDatabase));
        adminExec(u"CREATE DATABASE %1 ENCODING 'UTF8' TEMPLATE template0"_s.arg(c.m_pgDatabase));
        writeConfig(c.m_installDir, engine, c.m_pgDatabase);
    }
    QElapsedTimer total;
    total.start();
    InstallOptions opt;
    opt.installDir = c.m_installDir;
    opt.adminId = u"admin"_s;
    opt.adminPassword = u"admin1234"_s;
    opt.clock = c.m_clock;
    QElapsedTimer t;
    t.start();
    const InstallResult r = runInstall(opt);
    if (r.exitCode != 0)
        fail(u"install failed: "_s + r.message);
    c.m_times.append({u"install"_s, double(t.nsecsElapsed()) / 1e9});
    {
        AppContext ctx(c.m_installDir);
        ctx.setClock(c.m_clock);
        if (auto f = connectDatabases(ctx))
            fail(u"connect failed: "_s + f->text + u" "_s + f->detail);
        c.m_times += generateInto(ctx, shape, progress);
    }
    c.m_times.append({u"total"_s, double(total.nsecsElapsed()) / 1e9});
    if (pg) {
        writeServerMarker(c.m_pgDatabase, key, timesText(c.m_times));
    } else {
        QFile f(marker);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            fail(u"cannot write "_s + marker);
        f.write(QString(u"key\t"_s + key + u"\n"_s + timesText(c.m_times)).toUtf8());
        f.close();
    }
    c.m_generatedNow = true;
    say(u"benchmark centre ready in %1 s"_s.arg(c.m_times.last().seconds, 0, 'f', 1));
    return c;
}

std::unique_ptr<AppContext> BenchCentre::connect(QTime time) const
{
    m_clock->set(QDateTime(m_shape.today, time));
    auto ctx = std::make_unique<AppContext>(m_installDir);
    ctx->setClock(m_clock);
    if (auto f = connectDatabases(*ctx))
        fail(u"connect failed: "_s + f->text + u" "_s + f->detail);
    ctx->pcName = u"DESK1"_s;
    ctx->user = CurrentUser{u"desk1"_s, u"김안내"_s, u"0002"_s, u"1"_s};
    loadWorkstation(*ctx);
    loadBusinessInfo(*ctx);
    return ctx;
}

QString BenchCentre::describe() const
{
    QString s = u"%1 centre %2: %3 members, %4 enrollments, %5 visits, %6 sale lines, today %7"_s
                    .arg(m_engine == Engine::PostgreSQL ? u"PostgreSQL"_s : u"SQLite"_s, m_shape.key())
                    .arg(m_shape.members)
                    .arg(m_shape.enrollments)
                    .arg(m_shape.visits)
                    .arg(m_shape.saleLines)
                    .arg(m_shape.today.toString(Qt::ISODate));
    s += m_generatedNow ? u" (generated now)"_s : u" (from the cache)"_s;
    for (const PhaseTime &t : m_times)
        s += u"\n  generation %1: %2 s"_s.arg(t.phase).arg(t.seconds, 0, 'f', 1);
    return s;
}

QStringList admittedCards(const Db &db, const QDate &day, int count, quint32 seed)
{
    const QString d = day.toString(Qt::ISODate);
    static const char *const dayColumn[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    const QString col = QString::fromLatin1(dayColumn[day.dayOfWeek() - 1]);
    // Members whose newest valid enrollment is a period one held on that weekday
    // and not postponed over the day.
    const Rows rows = db.query(
        u"SELECT m.MbCard, l.Ltid, l.PgGubun, l.Delay, p."_s + col
            + u" AS onDay FROM Lecture l JOIN Member m ON m.MbCode = l.MbCode "
              "LEFT JOIN Program p ON p.Pgid = l.Pgid "
              "WHERE l.LtGubun < '3' AND l.Sdate1 <= ? AND l.Sdate2 >= ? AND l.Transfer = 0 AND l.Cancel = 0 "
              "ORDER BY l.MbCode, l.RqDate DESC, l.Ltid DESC"_s,
        {d, d});
    QStringList cards;
    QString last;
    QSet<QString> seen;
    for (const Row &r : rows) {
        const QString card = r.str(u"MbCard"_s);
        if (seen.contains(card))
            continue;
        seen.insert(card);
        if (r.str(u"PgGubun"_s) != u"1"_s || r.num(u"onDay"_s) != 1 || r.num(u"Delay"_s) != 0)
            continue;
        cards << card;
    }
    std::mt19937 gen(seed);
    for (qsizetype i = cards.size(); i > 1; --i)
        cards.swapItemsAt(i - 1, qsizetype(gen() % quint32(i)));
    if (count > 0 && cards.size() > count)
        cards.resize(count);
    return cards;
}

QPair<QDate, int> dayWithVisits(const Db &db, int visits, const QDate &before)
{
    const Rows rows = db.query(u"SELECT InDate, COUNT(*) AS n FROM entrance WHERE InDate < ? GROUP BY InDate"_s,
                               {before.toString(Qt::ISODate)});
    QPair<QDate, int> best{QDate(), -1};
    for (const Row &r : rows) {
        const int n = int(r.num(u"n"_s));
        if (best.second < 0 || std::abs(n - visits) < std::abs(best.second - visits))
            best = {QDate::fromString(r.str(u"InDate"_s), Qt::ISODate), n};
    }
    return best;
}

} // namespace fitrova::bench
