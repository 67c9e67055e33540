// FITROVA_DB_TEST
// The long closing reports read a page at a time (enrollment status, valid
// members, income detail): the pages joined, whatever their size, are the
// whole list line for line, across rows that tie on every key but the last,
// rows without a program, a member row or a registration date; and the head a
// screen shows first (a count, the sums) agrees with the whole list.

#include <QtTest>

#include "../members/memberbuilders.h"
#include "closing/enrollmentreports.h"
#include "closing/takingsreports.h"
#include "takingsbuilders.h"
#include "testinstall.h"

#include <functional>
#include <random>

using namespace fitrova;
using namespace fitrova::test;

namespace {

QString sig(const EnrollmentStatusLine &l)
{
    return QStringList{QString::number(l.ltid), l.rqDate, QString::number(l.pgid), l.pgName, l.mbName, l.resident,
                       l.remark, QString::number(l.tAmt), l.userName, l.bPgName, QString::number(l.baseTAmt),
                       l.giverName, l.renewal ? QStringLiteral("R") : QStringLiteral("N")}
        .join(QLatin1Char('|'));
}

QString sig(const ValidMemberLine &l)
{
    return QStringList{QString::number(l.ltid), QString::number(l.pgid), l.pgName, l.member.mbCode, l.member.mbName,
                       l.member.tel1, l.sDate2, l.remainder, QString::number(l.tAmt), l.lecturer}
        .join(QLatin1Char('|'));
}

QString sig(const IncomeDetailLine &l)
{
    return QStringList{QString::number(int(l.section)), l.kind, l.date, l.mbCode, l.mbName, l.name, l.period,
                       QString::number(l.qty), QString::number(l.pay.cash), QString::number(l.pay.card)}
        .join(QLatin1Char('|'));
}

// Every page of `pageSize` lines until a short one, each line's signature.
template <typename Line>
QStringList readPages(const std::function<QList<Line>(const Line *, int)> &page, int pageSize)
{
    QStringList out;
    std::optional<Line> last;
    for (int guard = 0; guard < 10000; ++guard) {
        const QList<Line> lines = page(last ? &*last : nullptr, pageSize);
        if (lines.size() > pageSize)
            return {QStringLiteral("page longer than asked")};
        for (const Line &l : lines)
            out << sig(l);
        if (lines.size() < pageSize)
            return out;
        last = lines.last();
    }
    return {QStringLiteral("pages never end")};
}

} // namespace

class TstReportPages : public QObject {
    Q_OBJECT

    const Db &db() { return m_inst.db(); }

private slots:
    void initTestCase()
    {
        std::mt19937 rnd(18);
        const auto pick = [&rnd](int n) { return int(rnd() % unsigned(n)); };
        db().transaction([&] {
            for (int i = 1; i <= 6; ++i)
                addMember(db(), QStringLiteral("0000000%1").arg(i), QStringLiteral("회원%1").arg(i), {},
                          QStringLiteral("010-2222-000%1").arg(i));
            db().exec("UPDATE Member SET Juno1 = '800408', Juno2 = '2123456' WHERE MbCode = '00000001'");
            addUser(db(), "0101", QStringLiteral("김데스크"));
            QList<qint64> programs;
            for (const char *name : {"수영 초급", "수영 중급", "헬스"})
                programs << db().insertId("INSERT INTO Program (PgGubun, Course, Sclass, PgCode, PgName, Time1, Time2, "
                                          "LtCode, LTName, PgUse) VALUES ('1', '1', '01', '1000001', ?, '07:00', "
                                          "'07:50', '0001', '박강사', '1')",
                                          {QString::fromUtf8(name)}, "Pgid");
            // Few dates, programs and members: many rows tie on all but their id.
            const QStringList kinds{"1", "1", "1", "1", "2", "3", "4", "0"};
            for (int i = 0; i < 420; ++i) {
                Lect l;
                l.mbCode = QStringLiteral("0000000%1").arg(1 + pick(7)); // 00000007 has no member row
                l.mbName = QStringLiteral("명부%1").arg(i % 5);
                l.ltGubun = kinds.at(pick(kinds.size()));
                l.pgid = programs.at(pick(3));
                l.rqDate = QStringLiteral("2024-05-0%1").arg(1 + pick(3));
                l.sDate1 = QStringLiteral("2024-05-0%1").arg(1 + pick(2));
                l.sDate2 = pick(2) ? QStringLiteral("2024-05-31") : QStringLiteral("2024-06-30");
                l.ltyymm = QStringLiteral("2024-05");
                l.monthCnt = 1 + pick(2);
                l.cashAmt = 1000 * pick(50);
                l.cardAmt = 1000 * pick(50);
                l.tAmt = l.cashAmt + l.cardAmt + 1000 * pick(3);
                l.remark = pick(4) ? QString() : QStringLiteral("메모");
                const qint64 id = addLecture(db(), l);
                db().exec("UPDATE Lecture SET Lectgubun = ?, LastUser = '0101', Sclass = '01' WHERE Ltid = ?",
                          {pick(2) ? "2" : "1", id});
            }
            // Payments without a program, rows without a registration date.
            db().exec("UPDATE Lecture SET Pgid = NULL WHERE Ltid % 17 = 0");
            db().exec("UPDATE Lecture SET RqDate = NULL WHERE Ltid % 53 = 0");

            for (int v = 0; v < 60; ++v) {
                QList<Line> lines;
                for (int k = 0; k <= pick(3); ++k)
                    lines << Line{0, v % 9 == 0 ? -1 : 1 + pick(3), 500 * (1 + pick(20))};
                VoucherSpec spec(QStringLiteral("2024-05-0%1").arg(1 + pick(3)), "10:00", v % 2 ? "0101" : "0102",
                                 QStringLiteral("%1").arg(1 + v / 2, 4, 10, QLatin1Char('0')), lines);
                if (v % 3 == 1) {
                    spec.cash = 0;
                    qint64 sum = 0;
                    for (const Line &l : lines)
                        sum += l.amount();
                    spec.card = sum;
                } else if (v % 3 == 2) {
                    qint64 sum = 0;
                    for (const Line &l : lines)
                        sum += l.amount();
                    spec.cash = sum / 2;
                    spec.card = sum - sum / 2;
                }
                addVoucher(db(), spec);
            }
            const QStringList lockerKinds{"1", "2", "3", "4"};
            for (int i = 0; i < 40; ++i) {
                LockerSpec l(lockerKinds.at(pick(4)), QStringLiteral("2024-05-0%1").arg(1 + pick(2)), "11:00", "0101",
                             10000, 5000 * pick(3), pick(2) ? 10000 : 0);
                l.boxCode = pick(2) ? "1" : "2";
                l.boxNum = 1 + pick(3);
                addLockerRow(db(), l);
            }
        });
    }

    void pagesJoinedAreTheWholeList_data()
    {
        QTest::addColumn<QString>("report");
        QTest::addColumn<int>("pageSize");
        for (const char *report : {"enrollments-month", "enrollments-dates", "enrollments-filtered", "changes", "refunds",
                                   "transfers", "valid", "expiring", "starting", "income", "income-filtered"})
            for (const int size : {1, 7, 200, 6000})
                QTest::addRow("%s/%d", report, size) << QString::fromUtf8(report) << size;
    }

    void pagesJoinedAreTheWholeList()
    {
        QFETCH(QString, report);
        QFETCH(int, pageSize);
        QStringList whole, paged;
        qint64 head = -1;
        if (report.startsWith(QLatin1String("enrollments")) || report == QLatin1String("changes")
            || report == QLatin1String("refunds") || report == QLatin1String("transfers")) {
            EnrollmentStatusCriteria c;
            c.month = QStringLiteral("2024-05");
            if (report == QLatin1String("enrollments-dates")) {
                c.period = EnrollPeriod::Dates;
                c.dateFrom = QStringLiteral("2024-05-02");
                c.dateTo = QStringLiteral("2024-05-31");
            } else if (report == QLatin1String("enrollments-filtered")) {
                c.period = EnrollPeriod::Both;
                c.dateFrom = QStringLiteral("2024-05-01");
                c.dateTo = QStringLiteral("2024-05-31");
                c.sclass = QStringLiteral("01");
                c.user = QStringLiteral("0101");
                c.monthCnt = 1;
            }
            const EnrollmentList list = report == QLatin1String("changes")     ? EnrollmentList::ClassChanges
                                        : report == QLatin1String("refunds")   ? EnrollmentList::Refunds
                                        : report == QLatin1String("transfers") ? EnrollmentList::Transfers
                                                                               : EnrollmentList::Enrollments;
            for (const EnrollmentStatusLine &l : enrollmentStatus(db(), list, c).lines)
                whole << sig(l);
            paged = readPages<EnrollmentStatusLine>(
                [&](const EnrollmentStatusLine *after, int n) { return enrollmentStatusPage(db(), list, c, after, n); },
                pageSize);
            head = enrollmentStatusCount(db(), list, c);
        } else if (report.startsWith(QLatin1String("income"))) {
            IncomeCriteria c{QStringLiteral("2024-05-01"), QStringLiteral("2024-05-31")};
            if (report == QLatin1String("income-filtered")) {
                c.user = QStringLiteral("0101");
                c.monthCnt = 2;
            }
            const IncomeDetail d = incomeDetail(db(), c);
            for (const auto *lines : {&d.courses, &d.goods, &d.lockers})
                for (const IncomeDetailLine &l : *lines)
                    whole << sig(l);
            paged = readPages<IncomeDetailLine>(
                [&](const IncomeDetailLine *after, int n) { return incomeDetailPage(db(), c, after, n); }, pageSize);
            const IncomeTotals t = incomeTotals(db(), c);
            head = t.lines();
            QCOMPARE(t.courseLines, qint64(d.courses.size()));
            QCOMPARE(t.goodsLines, qint64(d.goods.size()));
            QCOMPARE(t.lockerLines, qint64(d.lockers.size()));
            QCOMPARE(t.course, d.courseTotal);
            QCOMPARE(t.goods, d.goodsTotal);
            QCOMPARE(t.locker, d.lockerTotal);
            QCOMPARE(t.total, d.total);
        } else {
            ValidMemberCriteria c;
            c.kind = report == QLatin1String("valid")      ? ValidKind::Valid
                     : report == QLatin1String("expiring") ? ValidKind::Expiring
                                                           : ValidKind::Starting;
            c.date = QStringLiteral("2024-05-20");
            c.dateFrom = QStringLiteral("2024-05-01");
            c.dateTo = QStringLiteral("2024-06-30");
            c.today = QDate(2024, 5, 20);
            for (const ValidMemberGroup &g : validMembers(db(), c).groups)
                for (const ValidMemberLine &l : g.lines)
                    whole << sig(l);
            paged = readPages<ValidMemberLine>(
                [&](const ValidMemberLine *after, int n) { return validMembersPage(db(), c, after, n); }, pageSize);
            head = validMembersCount(db(), c);
        }
        QVERIFY2(whole.size() > 20, qPrintable(QString::number(whole.size())));
        QCOMPARE(head, qint64(whole.size()));
        QCOMPARE(paged.size(), whole.size());
        for (int i = 0; i < whole.size(); ++i)
            QCOMPARE(paged.at(i), whole.at(i));
    }

    // The month's list takes the rows without a registration date too, and
    // each member's resident number leaves the list masked.
    void monthListKeepsUndatedRows()
    {
        EnrollmentStatusCriteria c;
        c.month = QStringLiteral("2024-05");
        const QList<EnrollmentStatusLine> first = enrollmentStatusPage(db(), EnrollmentList::Enrollments, c, nullptr, 500);
        const auto undated = std::count_if(first.begin(), first.end(), [](const auto &l) { return l.rqDate.isEmpty(); });
        QVERIFY(undated > 0);
        for (const EnrollmentStatusLine &l : first)
            QVERIFY(l.resident.isEmpty() || l.resident == QStringLiteral("800408-2******"));
    }

private:
    TestInstall m_inst;
};

QTEST_MAIN(TstReportPages)
#include "tst_reportpages.moc"
