// FITROVA_DB_TEST
// The waiting list of a full program: who may go on it, its order, the
// member taken off it when enrolled, the clerk told when a place frees, the
// members a free place can take marked, and two desks adding at once.

#include <QtTest>

#include "data/schema.h"
#include "data/schemamigrate.h"
#include "deskpool.h"
#include "enrollbuilders.h"
#include "enrollment/classchange.h"
#include "enrollment/enrollment.h"
#include "enrollment/refund.h"
#include "enrollment/transfer.h"
#include "enrollment/waitlist.h"
#include "catalogue/programs.h"
#include "members/lecturedelete.h"
#include "members/memberstore.h"
#include "testinstall.h"

using namespace fitrova;
using namespace fitrova::test;

namespace {
const QString kFrom = QStringLiteral("2024-05-10"), kTo = QStringLiteral("2024-06-09");
const QString kToday = QStringLiteral("2024-05-10"); // the test installation's clock
} // namespace

class TstWaitList : public QObject {
    Q_OBJECT
private:
    TestInstall m_inst;
    const Db &db() { return m_inst.db(); }
    AppContext &ctx() { return m_inst.ctx(); }
    qint64 m_swim = 0, m_yoga = 0;

    EnrollResult enroll(const QString &member, qint64 pgid, const QString &from = kFrom, const QString &to = kTo)
    {
        EnrollmentInput in;
        in.mbCode = member;
        in.pgid = pgid;
        in.monthCnt = 1;
        in.fee = 60000;
        in.rqDate = from;
        in.sDate1 = from;
        in.sDate2 = to;
        in.cashAmt = 60000;
        return saveEnrollment(ctx(), in);
    }
    Outcome wait(const QString &member, qint64 pgid) { return addToWaitList(ctx(), pgid, member, kFrom, kTo); }
    static QString code(int i) { return QStringLiteral("0000000%1").arg(i); }
    QStringList waiting(qint64 pgid)
    {
        QStringList out;
        for (const WaitEntry &w : programWaitList(db(), pgid, kToday))
            out << w.mbCode + (w.canEnroll ? QStringLiteral("*") : QString());
        return out;
    }
    // Swimming full with members 1 and 2; 3 and 4 waiting in that order.
    qint64 fillSwimWithTwoWaiting()
    {
        const qint64 first = enroll(code(1), m_swim).id;
        enroll(code(2), m_swim);
        wait(code(3), m_swim);
        wait(code(4), m_swim);
        return first;
    }

private slots:
    void initTestCase()
    {
        m_swim = addProgram(db(), QStringLiteral("새벽수영"));
        m_yoga = addProgram(db(), QStringLiteral("요가"));
        for (int i = 1; i <= 6; ++i)
            addEnrollMember(db(), code(i), QStringLiteral("회원%1").arg(i));
        db().exec("UPDATE Member SET Tel1 = '010-1234-5678', Tel2 = '02-555-0000' WHERE MbCode = ?", {code(3)});
        allowCourseChanges(db(), true);
        ctx().options.opt5 = 1; // transfers in use
    }

    void init()
    {
        db().exec("DELETE FROM Lecture");
        db().exec("DELETE FROM WaitList");
        db().exec("UPDATE Program SET MaxNum = 2, MaxNumChk = '1'");
    }

    // A member goes on the list only while the program is full for the
    // period, once per program; the answer gives the place in the queue.
    void adding_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("member");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("rows");
        QTest::newRow("full") << "" << code(3) << "[새벽수영]의 대기자로 등록했습니다. (대기순번 1번)" << 1;
        QTest::newRow("second in line") << "INSERT INTO WaitList (Pgid, MbCode, WaitSeq) SELECT Pgid, '00000005', 7 "
                                           "FROM Program WHERE PgName = '새벽수영'"
                                        << code(3) << "[새벽수영]의 대기자로 등록했습니다. (대기순번 2번)" << 2;
        QTest::newRow("already waiting") << "INSERT INTO WaitList (Pgid, MbCode, WaitSeq) SELECT Pgid, '00000003', 1 "
                                            "FROM Program WHERE PgName = '새벽수영'"
                                         << code(3) << "이미 [새벽수영]의 대기자로 등록되어 있습니다." << 1;
        QTest::newRow("a place free") << "UPDATE Program SET MaxNum = 3" << code(3)
                                      << "[새벽수영]에 빈 자리가 있습니다. 대기하지 않고 수강등록할 수 있습니다." << 0;
        QTest::newRow("capacity not checked") << "UPDATE Program SET MaxNumChk = '0'" << code(3)
                                              << "[새벽수영]에 빈 자리가 있습니다. 대기하지 않고 수강등록할 수 있습니다."
                                              << 0;
        QTest::newRow("no such member") << "" << "99999999" << "회원인적 자료를 찾을수 없습니다." << 0;
    }
    void adding()
    {
        QFETCH(QString, setup);
        QFETCH(QString, member);
        QFETCH(QString, text);
        QFETCH(int, rows);
        enroll(code(1), m_swim);
        enroll(code(2), m_swim);
        if (!setup.isEmpty())
            db().exec(setup);
        const Outcome o = wait(member, m_swim);
        QCOMPARE(o.last().text, text);
        QCOMPARE(o.last().title, QString("대기자"));
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM WaitList").toInt(), rows);
        if (o.saved) {
            const auto row = db().queryOne("SELECT * FROM WaitList WHERE WlId = ?", {o.id});
            QVERIFY(row);
            QCOMPARE(row->str("MbCode"), member);
            QCOMPARE(row->num("Pgid"), m_swim);
            QCOMPARE(row->str("WaitDate"), kToday);
            QCOMPARE(row->str("LastUser"), ctx().user.psCode);
        }
    }

    // The refusal of a full program carries what the desk needs to offer the list.
    void refusalOffersTheList()
    {
        enroll(code(1), m_swim);
        enroll(code(2), m_swim);
        const EnrollResult r = enroll(code(3), m_swim);
        QVERIFY(!r.saved);
        QVERIFY(r.waitOffer);
        QCOMPARE(r.waitOffer->pgid, m_swim);
        QCOMPARE(r.waitOffer->mbCode, code(3));
        QCOMPARE(r.waitOffer->from, kFrom);
        QCOMPARE(r.waitOffer->to, kTo);

        ClassChangeInput change;
        change.ltid = enroll(code(3), m_yoga).id;
        change.newPgid = m_swim;
        change.monthCnt = 1;
        change.rqDate = change.sDate1 = QStringLiteral("2024-05-15");
        change.sDate2 = kTo;
        const EnrollResult c = saveClassChange(ctx(), change);
        QVERIFY(!c.saved);
        QVERIFY(c.waitOffer);
        QCOMPARE(c.waitOffer->pgid, m_swim);
        QCOMPARE(c.waitOffer->from, QString("2024-05-15"));
        QVERIFY(!enroll(code(4), m_yoga).waitOffer);
    }

    // Whatever frees a place tells the clerk, naming the first waiting
    // member; a transfer hands the place on and frees none.
    void placeFreed_data()
    {
        QTest::addColumn<QString>("event");
        QTest::addColumn<bool>("told");
        QTest::newRow("refund") << "refund" << true;
        QTest::newRow("class change out") << "change" << true;
        QTest::newRow("enrollment deleted") << "delete" << true;
        QTest::newRow("transfer") << "transfer" << false;
    }
    void placeFreed()
    {
        QFETCH(QString, event);
        QFETCH(bool, told);
        const qint64 first = fillSwimWithTwoWaiting();
        QCOMPARE(waiting(m_swim), QStringList({code(3), code(4)}));

        Notice notice;
        if (event == "refund") {
            RefundInput in;
            in.ltid = first;
            in.refundDate = kToday;
            in.amount = 50000;
            const EnrollResult r = saveRefund(ctx(), in);
            QVERIFY(r.saved);
            notice = r.last();
        } else if (event == "change") {
            ClassChangeInput in;
            in.ltid = first;
            in.newPgid = m_yoga;
            in.monthCnt = 1;
            // The old class runs until the day before the new one starts.
            in.rqDate = in.sDate1 = QStringLiteral("2024-05-20");
            in.sDate2 = kTo;
            const EnrollResult r = saveClassChange(ctx(), in);
            QVERIFY(r.saved);
            notice = r.last();
        } else if (event == "delete") {
            const RowDeleteResult r = deleteLecture(db(), first);
            QVERIFY(r.deleted);
            QCOMPARE(r.freedPgid, m_swim);
            notice = placeFreedNotice(db(), r.freedPgid, kToday);
        } else {
            TransferInput in;
            in.ltid = first;
            in.receiverMbCode = code(5);
            in.rqDate = in.sDate1 = kToday;
            in.sDate2 = kTo;
            const EnrollResult r = saveTransfer(ctx(), in);
            QVERIFY2(r.saved, qPrintable(r.last().text));
            notice = r.last();
        }
        if (told) {
            QCOMPARE(notice.text, QString("[새벽수영]의 대기자가 있습니다. (대기 2명)\n1번 대기자: 회원3 (00000003) "
                                          "010-1234-5678"));
            QCOMPARE(notice.title, QString("대기자"));
            if (event != "change") // the place is free from today
                QCOMPARE(waiting(m_swim), QStringList({code(3) + "*", code(4)}));
        } else {
            QVERIFY(notice.title != QString("대기자"));
            QCOMPARE(waiting(m_swim), QStringList({code(3), code(4)}));
        }
    }

    // Enrolling a waiting member takes them off that program's list only;
    // a class change into the program does the same.
    void enrolledLeaveTheList()
    {
        const qint64 first = fillSwimWithTwoWaiting();
        QVERIFY(wait(code(3), m_swim).saved == false); // already waiting
        db().exec("UPDATE Program SET MaxNum = 1 WHERE Pgid = ?", {m_yoga});
        enroll(code(6), m_yoga);
        QVERIFY(wait(code(4), m_yoga).saved);
        QCOMPARE(memberWaitList(db(), code(4)).size(), 2);
        QCOMPARE(memberWaitList(db(), code(4)).first().order, 2); // second for swimming

        db().exec("UPDATE Lecture SET Cancel = 1 WHERE Ltid = ?", {first});
        QVERIFY(enroll(code(4), m_swim).saved); // the desk may take anybody from the list
        QCOMPARE(waiting(m_swim), QStringList({code(3)}));
        QCOMPARE(memberWaitList(db(), code(4)).size(), 1);
        QCOMPARE(memberWaitList(db(), code(4)).first().pgName, QString("요가"));
        QCOMPARE(memberWaitList(db(), code(3)).first().order, 1);

        db().exec("UPDATE Program SET MaxNum = 2 WHERE Pgid = ?", {m_yoga});
        ClassChangeInput in;
        in.ltid = enroll(code(5), m_swim, "2024-07-01", "2024-07-31").id;
        in.newPgid = m_yoga;
        in.monthCnt = 1;
        in.rqDate = in.sDate1 = "2024-07-01";
        in.sDate2 = "2024-07-31";
        db().exec("INSERT INTO WaitList (Pgid, MbCode, WaitSeq) VALUES (?, ?, 9)", {m_yoga, code(5)});
        QVERIFY(saveClassChange(ctx(), in).saved);
        QCOMPARE(waiting(m_yoga), QStringList({code(4) + "*"})); // one of two places taken today
    }

    // The members a free place can take are marked, in order.
    void marks_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QStringList>("list");
        QTest::newRow("full") << "" << QStringList{code(3), code(4)};
        QTest::newRow("one place") << "UPDATE Program SET MaxNum = 3" << QStringList{code(3) + "*", code(4)};
        QTest::newRow("two places") << "UPDATE Program SET MaxNum = 4" << QStringList{code(3) + "*", code(4) + "*"};
        QTest::newRow("capacity no longer checked")
            << "UPDATE Program SET MaxNumChk = '0'" << QStringList{code(3) + "*", code(4) + "*"};
        QTest::newRow("places taken after today only")
            << "UPDATE Lecture SET Sdate1 = '2024-07-01', Sdate2 = '2024-07-31'" << QStringList{code(3) + "*", code(4) + "*"};
        QTest::newRow("removed first") << "DELETE FROM WaitList WHERE MbCode = '00000003'" << QStringList{code(4)};
    }
    void marks()
    {
        QFETCH(QString, setup);
        QFETCH(QStringList, list);
        fillSwimWithTwoWaiting();
        if (!setup.isEmpty())
            db().exec(setup);
        QCOMPARE(waiting(m_swim), list);
        const QList<WaitEntry> entries = programWaitList(db(), m_swim, kToday);
        for (int i = 0; i < entries.size(); ++i)
            QCOMPARE(entries.at(i).order, i + 1);
    }

    void removing()
    {
        fillSwimWithTwoWaiting();
        const qint64 wlId = programWaitList(db(), m_swim, kToday).first().wlId;
        QVERIFY(removeFromWaitList(db(), wlId).saved);
        QCOMPARE(removeFromWaitList(db(), wlId).last().text, QString("대기자 자료를 찾을수 없습니다."));
        QCOMPARE(waiting(m_swim), QStringList({code(4)}));
        QCOMPARE(programWaitList(db(), m_swim, kToday).first().order, 1);
        // A deleted member or program leaves no waiting row behind.
        deleteMember(db(), code(4));
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM WaitList").toInt(), 0);
        addEnrollMember(db(), code(4), QStringLiteral("회원4"));
        const qint64 spare = addProgram(db(), QStringLiteral("빈강좌"));
        db().exec("INSERT INTO WaitList (Pgid, MbCode, WaitSeq) VALUES (?, ?, 1)", {spare, code(4)});
        QVERIFY(deleteProgram(db(), spare).saved);
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM WaitList").toInt(), 0);
    }

    // Two desks adding at the same moment: distinct places in the queue; the
    // same member twice goes on once and the other desk is told so.
    void twoDesksAtOnce()
    {
        enroll(code(1), m_swim);
        enroll(code(2), m_swim);
        DeskPool desks(m_inst, 2);
        QVERIFY2(desks.openError().isEmpty(), qPrintable(desks.openError()));
        const auto apart = desks.race<Outcome>([&](AppContext &c, int desk) {
            return addToWaitList(c, m_swim, code(3 + desk), kFrom, kTo);
        });
        for (const auto &a : apart)
            QVERIFY2(a.value && a.value->saved, qPrintable(a.error));
        QCOMPARE(db().scalar("SELECT COUNT(DISTINCT WaitSeq) FROM WaitList WHERE Pgid = ?", {m_swim}).toInt(), 2);

        const auto same = desks.race<Outcome>(
            [&](AppContext &c, int) { return addToWaitList(c, m_swim, code(5), kFrom, kTo); });
        int saved = 0;
        for (const auto &a : same) {
            QVERIFY2(a.value, qPrintable(a.error));
            saved += a.value->saved ? 1 : 0;
        }
        QCOMPARE(saved, 1);
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM WaitList WHERE MbCode = ?", {code(5)}).toInt(), 1);
    }

    // A database of the version before the waiting list gains it. Runs last.
    void zzUpgrade()
    {
        db().exec("DROP TABLE WaitList");
        db().exec("UPDATE DbVersion SET Version = 6");
        migrateSchema(db(), 6);
        QCOMPARE(storedSchemaVersion(db()), schemaVersion());
        enroll(code(1), m_swim);
        enroll(code(2), m_swim);
        QVERIFY(wait(code(3), m_swim).saved);
        // The key that keeps a member once per program is there too.
        QVERIFY_THROWS_EXCEPTION(DbError,
                                 db().exec("INSERT INTO WaitList (Pgid, MbCode, WaitSeq) VALUES (?, ?, 2)",
                                           {m_swim, code(3)}));
    }
};

QTEST_GUILESS_MAIN(TstWaitList)
#include "tst_waitlist.moc"
