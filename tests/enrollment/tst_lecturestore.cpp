// FITROVA_DB_TEST
// The Lecture store: every column of the table is in its column table, a row
// comes back as it was written (NULL and "" kept apart), a partial update
// touches only its columns, the kinds keep their stored codes, and a derived
// row takes from its base what the desk's screens take.

#include <QtTest>

#include "data/schema.h"
#include "enrollment/lecturestore.h"
#include "testinstall.h"

using namespace fitrova;
using namespace fitrova::test;

Q_DECLARE_METATYPE(LectureKind)

namespace {

LectureRecord fullRecord()
{
    LectureRecord r;
    r.kind = LectureKind::ClassChange;
    r.programKind = ProgramKind::TimeBased;
    r.mbCode = "00000007";
    r.mbName = QStringLiteral("김민지");
    r.sex = QStringLiteral("여");
    r.mbGubun = "2";
    r.age = 34;
    r.ageGubun = "05";
    r.pgid = 11;
    r.pgCode = "1000001";
    r.pgName = QStringLiteral("새벽수영");
    r.course = "1";
    r.lclass = "01";
    r.mclass = "02";
    r.sclass = "03";
    r.time1 = "06:00";
    r.time2 = "06:50";
    r.ltCode = "0001";
    r.bpgid = 12;
    r.bMbCode = "00000008";
    r.bLtid = 13;
    r.rqDate = "2024-05-01";
    r.sDate1 = "2024-05-02";
    r.sDate2 = "2024-05-03";
    r.dDate1 = "2024-05-04";
    r.dDate2 = "2024-05-05";
    r.ltyymm = "2024-05";
    r.monthCnt = 3;
    r.amtGubun = "2";
    r.lectGubun = "1";
    r.dcGubun = "1";
    r.dcAmt = 1000;
    r.dcYul = 10.5;
    r.tAmt = 89000;
    r.cashAmt = 9000;
    r.cardAmt = 80000;
    r.card = "3";
    r.misuAmt = 7;
    r.pgCnt = 600;
    r.pgCnt1 = 10;
    r.uPgCnt = 90;
    r.delay = 21;
    r.cancel = 22;
    r.transfer = 23;
    r.change = 24;
    r.rday = 5;
    r.remark = QStringLiteral("비고");
    r.fDate = "2024-05-31";
    r.lastUser = "0001";
    r.lastDate = "2024-05-01";
    r.lastTime = "09:00:00";
    return r;
}

// Every column's stored value, NULL shown as such.
QStringList stored(const Db &db, qint64 ltid)
{
    const auto r = db.queryOne(QStringLiteral("SELECT * FROM Lecture WHERE Ltid = ?"), {ltid});
    QStringList out;
    for (int i = 0; i < r->record().count(); ++i) {
        const QVariant v = r->record().value(i);
        out << r->record().fieldName(i).toLower() + QLatin1Char('=') + (v.isNull() ? QStringLiteral("NULL") : v.toString());
    }
    return out;
}

} // namespace

class TstLectureStore : public QObject {
    Q_OBJECT
    TestInstall m_inst;
    const Db &db() { return m_inst.db(); }

private slots:
    void init() { db().exec(QStringLiteral("DELETE FROM Lecture")); }

    // A column added to the table must be added to the store as well.
    void everyColumnOfTheTable()
    {
        QStringList schema;
        for (const Column &c : findTable(QStringLiteral("Lecture"))->columns)
            schema << c.name;
        QCOMPARE(lectureColumnNames(), schema);
        QCOMPARE(lectureValues(LectureRecord{}).size(), schema.size());
    }

    void roundTrip()
    {
        const LectureRecord r = fullRecord();
        const qint64 id = insertLecture(db(), r);
        const auto back = loadLecture(db(), id);
        QVERIFY(back);
        LectureRecord expected = r;
        expected.ltid = id;
        QCOMPARE(lectureValues(*back), lectureValues(expected));

        // Unset text and the nullable numbers are stored as NULL, "" as "".
        LectureRecord sparse;
        sparse.remark = QStringLiteral("");
        const qint64 id2 = insertLecture(db(), sparse);
        const QStringList cols = stored(db(), id2);
        QVERIFY(cols.contains("remark="));
        QVERIFY(cols.contains("mbname=NULL"));
        QVERIFY(cols.contains("age=NULL"));
        QVERIFY(cols.contains("dcyul=NULL"));
        QVERIFY(cols.contains("delay=0"));
        const auto sparseBack = loadLecture(db(), id2);
        QVERIFY(sparseBack->mbName.isNull());
        QVERIFY(!sparseBack->remark.isNull());
        QVERIFY(!sparseBack->age && !sparseBack->dcYul);
    }

    void partialUpdate()
    {
        const qint64 id = insertLecture(db(), fullRecord());
        const QStringList before = stored(db(), id);
        LectureRecord other; // every field different from the stored row
        other.ltid = id;
        other.sDate2 = "2024-12-31";
        other.cancel = 99;
        QCOMPARE(updateLecture(db(), other, {LectureField::Sdate2, LectureField::Cancel}), 1);
        QStringList after = stored(db(), id);
        for (int i = 0; i < after.size(); ++i) {
            if (after[i].startsWith("sdate2=") || after[i].startsWith("cancel="))
                continue;
            QCOMPARE(after[i], before[i]);
        }
        QVERIFY(after.contains("sdate2=2024-12-31"));
        QVERIFY(after.contains("cancel=99"));
        QCOMPARE(deleteLectureRow(db(), id), 1);
        QVERIFY(!loadLecture(db(), id));
    }

    void kinds_data()
    {
        QTest::addColumn<LectureKind>("kind");
        QTest::addColumn<QString>("code");
        QTest::newRow("transfer received") << LectureKind::TransferIn << "0";
        QTest::newRow("enrollment") << LectureKind::Enrollment << "1";
        QTest::newRow("class change") << LectureKind::ClassChange << "2";
        QTest::newRow("postponement") << LectureKind::Postponement << "3";
        QTest::newRow("refund") << LectureKind::Refund << "4";
    }
    void kinds()
    {
        QFETCH(LectureKind, kind);
        QFETCH(QString, code);
        LectureRecord r;
        r.kind = kind;
        const qint64 id = insertLecture(db(), r);
        QCOMPARE(db().scalar(QStringLiteral("SELECT LtGubun FROM Lecture WHERE Ltid = ?"), {id}).toString(), code);
        QCOMPARE(loadLecture(db(), id)->kind, kind);
    }

    // Stored codes the program does not know stay readable as Unknown.
    void unknownCodes()
    {
        db().exec(QStringLiteral("INSERT INTO Lecture (LtGubun, PgGubun) VALUES ('5', 'x')"));
        const qint64 id = db().scalar(QStringLiteral("SELECT MAX(Ltid) FROM Lecture")).toLongLong();
        const auto r = loadLecture(db(), id);
        QCOMPARE(r->kind, LectureKind::Unknown);
        QCOMPARE(r->programKind, ProgramKind::Unknown);
        QCOMPARE(programKindOf(" 2"), ProgramKind::TimeBased);
        QCOMPARE(programKindCode(ProgramKind::Payment), QString("4"));
    }

    // What each kind of dependent row takes from its base.
    void derived_data()
    {
        QTest::addColumn<LectureKind>("kind");
        QTest::addColumn<QString>("pgGubun");
        QTest::addColumn<bool>("dcYul");
        QTest::addColumn<bool>("lectGubun");
        QTest::addColumn<bool>("memberKind");
        QTest::addColumn<bool>("allowance");
        QTest::addColumn<bool>("start");
        QTest::newRow("postponement") << LectureKind::Postponement << "1" << true << false << false << false << false;
        QTest::newRow("refund") << LectureKind::Refund << "1" << true << true << false << false << true;
        QTest::newRow("class change") << LectureKind::ClassChange << "1" << true << true << true << false << false;
        QTest::newRow("transfer") << LectureKind::TransferIn << "2" << false << true << false << true << false;
    }
    void derived()
    {
        QFETCH(LectureKind, kind);
        QFETCH(QString, pgGubun);
        QFETCH(bool, dcYul);
        QFETCH(bool, lectGubun);
        QFETCH(bool, memberKind);
        QFETCH(bool, allowance);
        QFETCH(bool, start);
        LectureRecord base = fullRecord();
        base.ltid = 40;
        const LectureRecord d = derivedRow(base, kind);
        QCOMPARE(d.kind, kind);
        QCOMPARE(programKindCode(d.programKind), pgGubun);
        QCOMPARE(d.bLtid, 40);
        QCOMPARE(d.bpgid, base.pgid);
        QCOMPARE(d.bMbCode, base.mbCode);
        QCOMPARE(d.mbCode, base.mbCode);
        QCOMPARE(d.pgName, base.pgName);
        QCOMPARE(d.dDate2, base.dDate2);
        QCOMPARE(d.delay + d.cancel + d.transfer + d.change + d.tAmt + d.cashAmt + d.cardAmt, 0);
        QVERIFY(d.rqDate.isNull() && d.sDate2.isNull() && d.lastUser.isNull());
        QCOMPARE(d.dcYul.has_value(), dcYul);
        QCOMPARE(!d.lectGubun.isNull(), lectGubun);
        QCOMPARE(!d.mbGubun.isNull() && !d.ageGubun.isNull(), memberKind);
        QCOMPARE(d.pgCnt == base.pgCnt && !d.ltCode.isNull(), allowance);
        QCOMPARE(d.sDate1 == base.sDate1, start);
        // A base without an age or discount rate gives 0, as the screens read them.
        base.age.reset();
        base.dcYul.reset();
        QCOMPARE(derivedRow(base, kind).age, std::optional<qint64>(0));
    }
};

QTEST_GUILESS_MAIN(TstLectureStore)
#include "tst_lecturestore.moc"
