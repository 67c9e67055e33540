// FITROVA_DB_TEST
// A member's visits read a page at a time: walking every page of a member
// whose visits share dates and times (and some have no time or no date)
// gives each visit exactly once, in the order of the whole list; the lent
// items stay with their visit; a visit written between two fetches moves
// nothing; the count is of all visits.

#include <QtTest>

#include "data/db.h"
#include "members/membervisits.h"
#include "testinstall.h"

#include <algorithm>

using namespace fitrova;
using namespace fitrova::test;

namespace {

struct VisitSpec {
    QVariant date, time; // null for a visit without one
    int items = 0;
};

// The member's visits: ties on date and time, a time missing, two undated
// (imported) rows, and two visits with lent items.
const QList<VisitSpec> kVisits = {
    {"2024-05-01", "10:00"}, {"2024-05-03", "09:00", 2}, {"2024-05-03", "09:00"}, {"2024-05-03", "09:00", 1},
    {"2024-05-02", "18:30"}, {"2024-05-03", "07:15"},    {"2024-05-03", QVariant()}, {QVariant(), "08:00"},
    {"2024-04-30", "23:59"}, {"2024-05-03", "09:00"},    {QVariant(), QVariant()},   {"2024-05-02", "18:30"},
};

qint64 insertVisit(const Db &db, const QString &mbCode, const QVariant &date, const QVariant &time)
{
    return db.insertId(QStringLiteral("INSERT INTO entrance (InDate, InTime, PgGubun, MbCode, MbCard, Ltid, Pgid, "
                                      "Course, uTime, Memo) VALUES (?, ?, '1', ?, '', 0, 0, '1', 0, '')"),
                       {date, time, mbCode}, QStringLiteral("Entid"));
}

struct Stored {
    qint64 entid;
    VisitSpec spec;
};

// The whole list's order, worked out here: dated visits by date, time and
// id, all descending (no time sorts below any time); then undated ones by id.
QList<qint64> expectedOrder(QList<Stored> all)
{
    std::sort(all.begin(), all.end(), [](const Stored &a, const Stored &b) {
        const bool ua = a.spec.date.isNull(), ub = b.spec.date.isNull();
        if (ua != ub)
            return !ua;
        if (!ua) {
            const QString da = a.spec.date.toString(), db = b.spec.date.toString();
            if (da != db)
                return da > db;
            const QString ta = a.spec.time.toString(), tb = b.spec.time.toString();
            if (ta != tb)
                return ta > tb;
        }
        return a.entid > b.entid;
    });
    QList<qint64> ids;
    for (const Stored &s : all)
        ids << s.entid;
    return ids;
}

} // namespace

class TstMemberVisits : public QObject {
    Q_OBJECT
    std::unique_ptr<TestInstall> m_inst;
    QList<Stored> m_stored;
    QHash<qint64, int> m_items; // lent items per visit

    const Db &db() const { return m_inst->ctx().ent; }

    // Every page from the start; the visits in the order read.
    QList<MemberVisit> walk(const QString &mbCode, int size, int *pages = nullptr)
    {
        QList<MemberVisit> out;
        VisitCursor cursor;
        for (int n = 1;; ++n) {
            const MemberVisitPage page = loadMemberVisitPage(db(), mbCode, cursor, size);
            [&] { QVERIFY(page.visits.size() <= size); }();
            out += page.visits;
            cursor = page.next;
            if (!page.more) {
                if (pages)
                    *pages = n;
                return out;
            }
            if (n > 100) {
                [] { QFAIL("the pages never end"); }();
                return out;
            }
        }
    }

private slots:
    void initTestCase()
    {
        m_inst = std::make_unique<TestInstall>();
        const Db &d = db();
        d.exec("INSERT INTO Item (ItCode, Course, Sclass, ItName, BarCode) VALUES ('T1', 'A', '02', '수건', 'B1'), "
               "('K1', 'A', '02', '락카키', 'B2')");
        for (int i = 0; i < kVisits.size(); ++i) {
            const VisitSpec &v = kVisits[i];
            const qint64 id = insertVisit(d, "00000001", v.date, v.time);
            m_stored << Stored{id, v};
            for (int k = 0; k < v.items; ++k)
                d.exec("INSERT INTO ItemTrs (Entid, ItId) SELECT ?, ItId FROM Item WHERE ItCode = ?",
                       {id, k == 0 ? "T1" : "K1"});
            m_items.insert(id, v.items);
            // Another member's visit between each, on the same dates.
            insertVisit(d, "00000002", v.date, v.time);
        }
    }

    void pagesGiveEveryVisitOnceInOrder_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("pages");
        for (int size : {1, 2, 3, 5, 11, 12, 13, 50}) {
            const int n = int(kVisits.size());
            QTest::addRow("page of %d", size) << size << std::max(1, (n + size - 1) / size);
        }
    }
    void pagesGiveEveryVisitOnceInOrder()
    {
        QFETCH(int, size);
        QFETCH(int, pages);
        int read = 0;
        const QList<MemberVisit> visits = walk("00000001", size, &read);
        QList<qint64> ids;
        for (const MemberVisit &v : visits) {
            ids << v.entid;
            QCOMPARE(v.items.size(), m_items.value(v.entid));
        }
        QCOMPARE(ids, expectedOrder(m_stored));
        QCOMPARE(read, pages);
    }

    void visitTextsAndItems()
    {
        const MemberVisitPage page = loadMemberVisitPage(db(), "00000001", {}, 3);
        QVERIFY(page.more);
        QCOMPARE(page.visits.size(), 3);
        // Three of the four 2024-05-03 09:00 visits, the highest ids first.
        for (const MemberVisit &v : page.visits) {
            QCOMPARE(v.inDate, QString("2024-05-03"));
            QCOMPARE(v.inTime, QString("09:00"));
        }
        const auto withTwo = std::find_if(m_stored.begin(), m_stored.end(), [](const Stored &s) { return s.spec.items == 2; });
        const QList<MemberVisit> all = walk("00000001", 50);
        const auto v = std::find_if(all.begin(), all.end(), [&](const MemberVisit &m) { return m.entid == withTwo->entid; });
        QVERIFY(v != all.end());
        QCOMPARE(v->items, (QList<LentItem>{{"A", "02", "B1", "수건"}, {"A", "02", "B2", "락카키"}}));
    }

    void writtenBetweenFetchesMovesNothing()
    {
        const QList<qint64> before = expectedOrder(m_stored);
        const MemberVisitPage first = loadMemberVisitPage(db(), "00000001", {}, 4);
        // A new visit today, and one with the first page's last date and
        // time but a higher id: both belong before the cursor.
        const qint64 today = insertVisit(db(), "00000001", "2024-05-10", "10:00");
        const qint64 tie = insertVisit(db(), "00000001", first.visits.last().inDate, first.visits.last().inTime);
        QList<qint64> rest;
        VisitCursor cursor = first.next;
        for (;;) {
            const MemberVisitPage p = loadMemberVisitPage(db(), "00000001", cursor, 4);
            for (const MemberVisit &v : p.visits)
                rest << v.entid;
            cursor = p.next;
            if (!p.more)
                break;
        }
        QCOMPARE(rest, before.mid(4));
        QCOMPARE(countMemberVisits(db(), "00000001"), qint64(kVisits.size() + 2));
        db().exec("DELETE FROM entrance WHERE Entid IN (?, ?)", {today, tie});
    }

    void countsAndEmpty()
    {
        QCOMPARE(countMemberVisits(db(), "00000001"), qint64(kVisits.size()));
        QCOMPARE(countMemberVisits(m_inst->db(), "00000002"), qint64(kVisits.size()));
        QCOMPARE(countMemberVisits(db(), "00000009"), qint64(0));
        const MemberVisitPage none = loadMemberVisitPage(db(), "00000009");
        QVERIFY(none.visits.isEmpty());
        QVERIFY(!none.more);
        QCOMPARE(shownOfTotalText(50, 1680), QString("전체 1680건 중 50건"));
    }
};

QTEST_GUILESS_MAIN(TstMemberVisits)
#include "tst_membervisits.moc"
