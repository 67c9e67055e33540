#include "demo/lockergen.h"

#include "data/dates.h"
#include "foundation/dice.h"

#include <QStringList>

#include <random>
#include <vector>

namespace fitrova {

namespace {

struct GroupDef {
    const char *code, *name, *course;
    int lockers;
    qint64 deposit, fee;
};

// 2,000 lockers; the first group is the large locker room of the pool.
const GroupDef kGroups[] = {
    {"1", "수영장 남자탈의실", "1", 500, 10000, 5000},  {"2", "수영장 여자탈의실", "1", 300, 10000, 5000},
    {"3", "헬스 남자 개인사물함", "2", 200, 20000, 10000}, {"4", "헬스 여자 개인사물함", "2", 200, 20000, 10000},
    {"5", "GX 사물함", "3", 200, 10000, 5000},          {"6", "골프 보관함", "4", 150, 30000, 15000},
    {"7", "아동 사물함", "1", 150, 5000, 3000},         {"8", "가족 사물함", "1", 100, 20000, 8000},
    {"9", "장기 보관함", "2", 100, 30000, 20000},       {"10", "직원 사물함", "1", 100, 0, 0},
};

struct Request {
    QDate day;
    int secs;
    QString kind, mbCode, code;
    int num, months;
    QDate from, to;
    qint64 samt, uamt, ramt;
};

struct State {
    QString mbCode;
    QDate from, to, last;
    int months = 0, secs = 0;
};

QString hhmmss(int secs)
{
    return QStringLiteral("%1:%2:%3")
        .arg(secs / 3600, 2, 10, QLatin1Char('0'))
        .arg(secs / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(secs % 60, 2, 10, QLatin1Char('0'));
}

QDate periodEnd(const QDate &start, int months) { return start.addMonths(months).addDays(-1); }

// Writes rows a hundred to a statement: a server a network away answers
// each statement once, not each row.
void insertRows(const Db &db, const QString &head, const QList<QVariantList> &rows)
{
    constexpr int kBatch = 100;
    if (rows.isEmpty())
        return;
    const int columns = int(rows.first().size());
    const QString one = QLatin1Char('(') + QStringLiteral("?, ").repeated(columns - 1) + QStringLiteral("?)");
    for (int i = 0; i < rows.size(); i += kBatch) {
        const int n = std::min<int>(kBatch, int(rows.size()) - i);
        QStringList values;
        Params params;
        for (int k = 0; k < n; ++k) {
            values << one;
            params += rows[i + k];
        }
        db.exec(head + QStringLiteral(" VALUES ") + values.join(QStringLiteral(", ")), params);
    }
}

} // namespace

LockerGenStats generateBenchLockers(const Db &db, const QDate &today, int members, int years, quint32 seed)
{
    Dice<std::mt19937> dice(seed ^ 0x10CC5u);
    const int people = std::max(1, members);
    const QDate first = today.addYears(-std::max(1, years));
    const auto memberCode = [&] { return QStringLiteral("%1").arg(dice.between(1, people), 8, 10, QLatin1Char('0')); };
    const auto officeSecs = [&] { return dice.between(6 * 3600, 21 * 3600); };
    const auto monthsOf = [&] { return std::vector<int>{1, 3, 6, 12}[size_t(dice.weighted({50, 30, 15, 5}))]; };

    LockerGenStats stats;
    std::vector<Request> requests;
    std::vector<std::pair<QString, std::vector<State>>> lockers;
    for (const GroupDef &g : kGroups) {
        const QString code = QString::fromUtf8(g.code);
        std::vector<State> states(size_t(g.lockers));
        for (int n = 1; n <= g.lockers; ++n) {
            State &now = states[size_t(n - 1)];
            QDate day = first.addDays(dice.between(0, 90));
            while (day <= today) {
                if (dice.chance(30)) { // stands free a while
                    day = day.addDays(dice.between(7, 90));
                    continue;
                }
                State s{memberCode(), day, {}, day, monthsOf(), officeSecs()};
                s.to = periodEnd(s.from, s.months);
                requests.push_back({day, s.secs, QStringLiteral("1"), s.mbCode, code, n, s.months, s.from, s.to,
                                    g.deposit, g.fee * s.months, 0});
                bool held = true;
                while (held) {
                    if (s.to >= today)
                        break; // still running today
                    const int r = dice.between(0, 99);
                    if (r < 55) { // renewed around the end
                        const QDate on = dice.dayBetween(s.to.addDays(-3), std::min(s.to.addDays(5), today));
                        s.months = monthsOf();
                        s.from = on;
                        s.to = periodEnd(on, s.months);
                        s.last = on;
                        s.secs = officeSecs();
                        requests.push_back({on, s.secs, QStringLiteral("3"), s.mbCode, code, n, s.months, s.from,
                                            s.to, 0, g.fee * s.months, 0});
                    } else if (r < 85) { // given back, the deposit refunded
                        const QDate on = dice.dayBetween(std::max(s.from, s.to.addDays(-10)),
                                                         std::min(s.to.addDays(3), today));
                        requests.push_back({on, officeSecs(), QStringLiteral("4"), s.mbCode, code, n, s.months,
                                            s.from, s.to, 0, 0, g.deposit});
                        day = on.addDays(dice.between(3, 60));
                        held = false;
                    } else if (s.to.addDays(60) < today) { // not given back: the centre takes it back
                        const QDate on = dice.dayBetween(s.to.addDays(20), s.to.addDays(60));
                        requests.push_back({on, officeSecs(), QStringLiteral("5"), s.mbCode, code, n, s.months,
                                            s.from, s.to, 0, 0, 0});
                        day = on.addDays(dice.between(1, 20));
                        held = false;
                    } else {
                        break; // expired, not given back yet
                    }
                }
                if (held) {
                    now = s;
                    break;
                }
            }
        }
        lockers.emplace_back(code, std::move(states));
    }
    std::stable_sort(requests.begin(), requests.end(), [](const Request &a, const Request &b) {
        return a.day != b.day ? a.day < b.day : a.secs < b.secs;
    });

    db.transaction([&] {
        for (const char *t : {"RqPerBox", "PerBoxS", "PerBox"})
            db.exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(t)));
        for (const GroupDef &g : kGroups)
            db.exec(QStringLiteral("INSERT INTO PerBox (BoxCode, BoxName, Course, Samt, Uamt, MonCnt) "
                                   "VALUES (?, ?, ?, ?, ?, 1)"),
                    {QString::fromUtf8(g.code), QString::fromUtf8(g.name), QString::fromUtf8(g.course), g.deposit,
                     g.fee});
        QList<QVariantList> lockerRows, requestRows;
        for (const auto &[code, states] : lockers) {
            for (size_t i = 0; i < states.size(); ++i) {
                const State &s = states[i];
                const bool rented = !s.mbCode.isEmpty();
                lockerRows << QVariantList{code,
                                           qint64(i + 1),
                                           QStringLiteral("0"),
                                           rented ? QStringLiteral("1") : QStringLiteral("0"),
                                           s.mbCode,
                                           rented ? fmtDate(s.from) : QString(),
                                           rented ? fmtDate(s.to) : QString(),
                                           s.months,
                                           rented ? QStringLiteral("0002") : QString(),
                                           rented ? fmtDate(s.last) : QString(),
                                           rented ? hhmmss(s.secs) : QString()};
                stats.rented += rented ? 1 : 0;
                ++stats.lockers;
            }
        }
        insertRows(db, QStringLiteral("INSERT INTO PerBoxS (BoxCode, BoxNum, State, UUse, MbCode, StDate, EndDate, MonCnt, "
                                      "LastUser, LastDate, LastTime)"),
                   lockerRows);
        for (const Request &r : requests)
            requestRows << QVariantList{fmtDate(r.day), r.mbCode,        r.code,  QString::number(r.num), r.kind,
                                        r.num,          fmtDate(r.from), fmtDate(r.to), r.months,   r.samt,
                                        r.uamt,         r.ramt,          QStringLiteral("0002"), fmtDate(r.day),
                                        hhmmss(r.secs)};
        insertRows(db, QStringLiteral("INSERT INTO RqPerBox (RqDate, MbCode, BoxCode, BoxNum, RqGubun, RqBox, UseDate1, "
                                      "UseDate2, MonCnt, Samt, Uamt, Ramt, LastUser, LastDate, LastTime)"),
                   requestRows);
    });
    stats.groups = int(std::size(kGroups));
    stats.requests = int(requests.size());
    return stats;
}

} // namespace fitrova
