// FITROVA_DB_TEST
// A program's capacity: enrollments and changes of class into a full
// program are refused, counting only the enrollments valid in the requested
// period; a program that does not check its capacity takes everybody.

#include <QtTest>

#include "enrollbuilders.h"
#include "enrollment/capacity.h"
#include "enrollment/classchange.h"
#include "enrollment/enrollment.h"
#include "testinstall.h"

using namespace fitrova;
using namespace fitrova::test;

class TstCapacity : public QObject {
    Q_OBJECT
private:
    TestInstall m_inst;
    const Db &db() { return m_inst.db(); }
    AppContext &ctx() { return m_inst.ctx(); }
    qint64 m_swim = 0, m_yoga = 0;

    EnrollResult enroll(const QString &member, qint64 pgid, const QString &from, const QString &to)
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

private slots:
    void initTestCase()
    {
        m_swim = addProgram(db(), QStringLiteral("새벽수영"));
        m_yoga = addProgram(db(), QStringLiteral("요가"));
        for (int i = 1; i <= 4; ++i)
            addEnrollMember(db(), QStringLiteral("0000000%1").arg(i), QStringLiteral("회원%1").arg(i));
        allowCourseChanges(db(), true);
    }

    void init()
    {
        db().exec("DELETE FROM Lecture");
        db().exec("UPDATE Program SET MaxNum = 2, MaxNumChk = '1'");
    }

    // Two places in May; what else is in the program decides the third.
    void enrollment_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<bool>("saved");
        QTest::newRow("full") << "" << "2024-05-10" << "2024-06-09" << false;
        QTest::newRow("after both end") << "" << "2024-06-01" << "2024-06-30" << true;
        QTest::newRow("one refunded") << "UPDATE Lecture SET Cancel = 1 WHERE MbCode = '00000001'"
                                      << "2024-05-10" << "2024-06-09" << true;
        QTest::newRow("one transferred away") << "UPDATE Lecture SET Transfer = 1 WHERE MbCode = '00000002'"
                                              << "2024-05-10" << "2024-06-09" << true;
        QTest::newRow("capacity not checked") << "UPDATE Program SET MaxNumChk = '0'" << "2024-05-10"
                                              << "2024-06-09" << true;
        QTest::newRow("no capacity set") << "UPDATE Program SET MaxNum = 0" << "2024-05-10" << "2024-06-09" << true;
    }
    void enrollment()
    {
        QFETCH(QString, setup);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(bool, saved);
        QVERIFY(enroll("00000001", m_swim, "2024-05-01", "2024-05-31").saved);
        QVERIFY(enroll("00000002", m_swim, "2024-05-05", "2024-05-31").saved);
        if (!setup.isEmpty())
            db().exec(setup);
        const EnrollResult r = enroll("00000003", m_swim, from, to);
        QCOMPARE(r.saved, saved);
        if (!saved) {
            QCOMPARE(r.last().text, QString("[새벽수영] 정원(2명)이 찼습니다. (수강인원 2명)"));
            QCOMPARE(r.last().title, QString("정원초과"));
        }
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM Lecture WHERE MbCode = '00000003'").toInt(), saved ? 1 : 0);
    }

    // Changing one's own enrollment in a full program is no new place;
    // changing class into a full program is refused.
    void modificationAndClassChange()
    {
        QVERIFY(enroll("00000001", m_swim, "2024-05-01", "2024-05-31").saved);
        const EnrollResult second = enroll("00000002", m_swim, "2024-05-01", "2024-05-31");
        QVERIFY(second.saved);
        const auto stored = loadEnrollment(db(), second.id);
        QVERIFY(stored);
        EnrollmentInput again = stored->input;
        again.jobGubun = QStringLiteral("C");
        again.ltid = second.id;
        again.remark = QStringLiteral("오전반");
        QVERIFY(saveEnrollment(ctx(), again).saved);

        const EnrollResult yoga = enroll("00000003", m_yoga, "2024-05-01", "2024-05-31");
        QVERIFY(yoga.saved);
        ClassChangeInput change;
        change.ltid = yoga.id;
        change.newPgid = m_swim;
        change.monthCnt = 1;
        change.rqDate = QStringLiteral("2024-05-15");
        change.sDate1 = QStringLiteral("2024-05-15");
        change.sDate2 = QStringLiteral("2024-05-31");
        const EnrollResult refused = saveClassChange(ctx(), change);
        QVERIFY(!refused.saved);
        QCOMPARE(refused.last().text, QString("[새벽수영] 정원(2명)이 찼습니다. (수강인원 2명)"));
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM Lecture WHERE LtGubun = '2'").toInt(), 0);
        db().exec("UPDATE Program SET MaxNum = 3 WHERE Pgid = ?", {m_swim});
        QVERIFY(saveClassChange(ctx(), change).saved);
    }
};

QTEST_GUILESS_MAIN(TstCapacity)
#include "tst_capacity.moc"
